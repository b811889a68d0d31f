// The windows that work on the main plan: a plan of the run's program folder (its layer
// rules and classifier) as MainMap,
// linked to a scripted window whose drawing surface is 600 by 400 pixels, with the real
// find, nomenclature, sheet, delete and transformation windows behind their hooks.
#pragma once

#include "DialogsTestSupport.h"

#include "dialogs/find/InstallFindDialogs.h"
#include "engine/FakeEngineServices.h"
#include "engine/GeoMap.h"
#include "foundation/AppGlobalVar.h"
#include "platform/CodePage.h"
#include "support/TestHelpers.h"
#include "support/TestRun.h"

#include <memory>
#include <optional>

class MainPlanWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallFindDialogWindows();
        Run.emplace(QStringList{QStringLiteral("Слои"), QStringLiteral("Семантика")});
        Map = std::make_unique<TGeoMap>();
        Window.Surface = QSize(600, 400);
        Map->Services = &Window;
        MainMap = Map.get();
    }

    void TearDown() override
    {
        MainMap = nullptr;
        Map.reset();
        Run.reset();
    }

    // The plan's nomenclature from lines (the kind, then name and "X Y" pairs).
    void LoadNomenclature(const QStringList& lines)
    {
        const QString file = Run->Folder() + QStringLiteral("номенклатура.wri");
        WriteBytes(file, EncodeCodePage(JoinLinesCrLf(lines)));
        Map->LoadNomenclatures(file);
    }

    // Runs the journal lines on the plan.
    void Commands(std::initializer_list<const char*> lines)
    {
        for (const char* line : lines)
            Map->StrToComm(QString::fromUtf8(line));
    }

    TScopedProgramDialogHooks Scope;
    std::optional<TTestRun> Run;
    TFakeEngineServices Window;
    std::unique_ptr<TGeoMap> Map;
};
