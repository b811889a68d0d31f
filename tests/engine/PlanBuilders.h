// Small plans built record by record for the query tests, and a fixture with the
// classifier open, which the readable semantics of fillers, labels and questions need.
#pragma once

#include "EngineFixture.h"

#include "platform/CodePage.h"
#include "semantics/codec/SemServices.h"

#include <optional>

namespace testplan {

inline RGPage& AddPage(TGeoMap& map, const QString& name, std::uint8_t visible = 1)
{
    map.Pages.AddItem();
    map.Pages.Item->Name = name;
    map.Pages.Item->Visible = visible;
    return *map.Pages.Item;
}

inline RGLayer& AddLayer(RGPage& page, const QString& name, std::uint8_t visible = 1)
{
    page.Layers.AddItem();
    page.Layers.Item->Name = name;
    page.Layers.Item->Visible = visible;
    return *page.Layers.Item;
}

// The bytes of a reference file holding lines.
inline QByteArray Cp1251Lines(const QStringList& lines)
{
    return EncodeCodePage(JoinLinesCrLf(lines));
}

}  // namespace testplan

class ClassifierFixture : public EngineFixture {
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        CopyDataFolder(QStringLiteral("Семантика"), Folder());
        Semantics.emplace();
        Semantics->Open();
    }
    void TearDown() override
    {
        EngineFixture::TearDown();
        Semantics.reset();
    }

    std::optional<TSemServices> Semantics;
};
