// What the tests of the object windows share: a run with the layers and text styles of
// the reference data, a main plan of scale 1:500 built through command lines as the
// journal reads, the real object windows behind their hooks, messages collected, and
// the plan's native text for comparisons.
#pragma once

#include "DialogsTestSupport.h"

#include "dialogs/objects/ObjectWindows.h"
#include "engine/GeoMap.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ServDialogs.h"
#include "semantics/signs/Symbols.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"
#include "support/TestRun.h"

#include <memory>
#include <optional>

class ObjectWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.emplace(QStringList{QStringLiteral("Слои"), QStringLiteral("Шрифты")});
        Map = std::make_unique<TGeoMap>();
        MainMap = Map.get();
        Map->DoCommand(mcNewMap, TCommandParams().Int(500).Text(QString()));
        InstallProgramDialogWindows();
        InstallObjectWindows();
        TDialogHooks dialogs;
        dialogs.ShowMsg = [this](const QString& caption, const QString& text) {
            Messages << caption + QStringLiteral(": ") + text;
            return MessageAnswer;
        };
        Dialogs = std::make_unique<TScopedDialogHooks>(dialogs);
    }

    void TearDown() override
    {
        Dialogs.reset();
        MainMap = nullptr;
        Map.reset();
        Run.reset();
    }

    void Cmd(const char* line) { Map->StrToComm(QString::fromUtf8(line)); }
    void Cmd(std::initializer_list<const char*> lines)
    {
        for (const char* line : lines)
            Cmd(line);
    }

    // The journal lines since the mark.
    QStringList JournalSince(int mark) const { return CommandLog->mid(mark); }
    int JournalMark() const { return static_cast<int>(CommandLog->size()); }

    // The whole plan as its native file would hold it.
    QString NativeText()
    {
        Map->DataLines.clear();
        Map->WriteDataToFile(QString());
        return Map->DataLines.join(QLatin1Char('\n'));
    }

    TSeparatorScope Separators{u','};
    std::optional<TTestRun> Run;
    std::unique_ptr<TGeoMap> Map;
    TScopedProgramDialogHooks Scope;
    std::unique_ptr<TScopedDialogHooks> Dialogs;
    QStringList Messages;
    TModalResult MessageAnswer = mrOk;
};
