// A run of the program in a temporary program folder holding a copy of the reference
// data the engine reads, with a plan linked to a scripted window.
#pragma once

#include "FakeEngineServices.h"
#include "engine/GeoMap.h"
#include "foundation/AppGlobalVar.h"
#include "support/TestHelpers.h"
#include "support/TestRun.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

// Copies the reference folder name of the source tree's data into the program folder,
// replacing what is there.
inline void CopyDataFolder(const QString& name, const QString& programFolder)
{
    const QString to = programFolder + name;
    QDir(to).removeRecursively();
    ASSERT_TRUE(CopyTree(QStringLiteral(VELMORA_SOURCE_DATA "/") + name, to)) << name.toStdString();
}

// Layer layer of sheet page of m, the sheets and layers before it added empty first.
inline RGLayer& GrownLayer(TGeoMap& m, int page, int layer)
{
    while (m.Pages.GetCount() <= page)
        m.Pages.AddItem(std::make_unique<RGPage>());
    RGPage& p = *m.Pages.At(page);
    while (p.Layers.GetCount() <= layer)
        p.Layers.AddItem(std::make_unique<RGLayer>());
    return *p.Layers.At(layer);
}

class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.emplace(QStringList{QStringLiteral("Слои")});
        DocStartTime = QStringLiteral("10.20.30");
        DataFileName.clear();
        DataFileState = 0;
        UndoStep = 0;
        SavedCommandCount = 0;
    }

    void TearDown() override
    {
        Map.reset();
        MainMap = nullptr;
        Run.reset();
    }

    // The plan, created on first use and linked to the fake window.
    TGeoMap& Plan()
    {
        if (!Map) {
            Map = std::make_unique<TGeoMap>();
            Map->Services = &Window;
        }
        return *Map;
    }

    QString Folder() const { return Run->Folder(); }
    QString Path(const QString& relative) const { return Run->Folder() + relative; }

    std::optional<TTestRun> Run;
    TFakeEngineServices Window;
    std::unique_ptr<TGeoMap> Map;
};
