// The open filter as the plan reader meets it: kinds left out, semantics replaced, and a
// reset filter that reads the file whole.
#include "MainWindowFixture.h"

#include "dialogs/file/UnitOpenFilter.h"
#include "platform/CodePage.h"
#include "support/TestHelpers.h"

#include <gtest/gtest.h>

namespace {

// A sheet with one point and one line.
const QStringList TwoObjectPlan = {
    QStringLiteral("FREE VELMORANT"), QStringLiteral("|ВЕР|6.07.11.08"),
    QStringLiteral("{ЛСТ"),           QStringLiteral("|имя|Лист 1"),
    QStringLiteral("{СЛО"),           QStringLiteral("|имя|Слой A"),
    QStringLiteral("{ТОЧ"),           QStringLiteral("@ТОЧ/Ф001"),
    QStringLiteral("$10,00 20,00"),   QStringLiteral("#"),
    QStringLiteral("}ТОЧ"),           QStringLiteral("{ЛИН"),
    QStringLiteral("@ЛИН/Ф010"),      QStringLiteral("$10,0 20,0"),
    QStringLiteral("$11,0 21,0"),     QStringLiteral("#"),
    QStringLiteral("}ЛИН"),           QStringLiteral("}СЛО"),
    QStringLiteral("}ЛСТ")};

struct TReadResult {
    int Points = 0;
    QStringList LineSemantics;
};

TReadResult ReadWith(const QString& file, const std::function<void(TOpenFilter&)>& set)
{
    ResetOpenFilter();
    set(MainMap->OpenFilter);
    EXPECT_TRUE(MainMap->ReadDataFromFile(file, true));
    TReadResult result;
    EXPECT_TRUE(MainMap->Pages.GoFirstItem());
    RGPage& page = *MainMap->Pages.Item;
    EXPECT_TRUE(page.Layers.GoFirstItem());
    RGLayer& layer = *page.Layers.Item;
    result.Points = layer.Points.GetCount();
    for (bool on = layer.Lines.GoFirstItem(); on; on = layer.Lines.GoNextItem())
        result.LineSemantics << layer.Lines.Item->Semantics;
    return result;
}

}  // namespace

TEST(OpenFilterRead, PointsLeftOutAndLineSemanticsReplaced)
{
    TMainWindowRun run;
    run.Start();
    const QString file = run.Folder() + QStringLiteral("два объекта.500");
    WriteBytes(file, EncodeCodePage(JoinLinesCrLf(TwoObjectPlan)));

    const TReadResult filtered = ReadWith(file, [](TOpenFilter& f) {
        f.LoadPoints = 0;
        f.ReplaceLine = 1;
        f.LineSemantics = QStringLiteral("ЛИН/Ф011");
    });
    EXPECT_EQ(filtered.Points, 0);
    EXPECT_EQ(filtered.LineSemantics, QStringList{QStringLiteral("ЛИН/Ф011")});

    // A replacement text without its flag changes nothing; a reset reads the file whole.
    const TReadResult whole = ReadWith(file, [](TOpenFilter& f) { f.LineSemantics = QStringLiteral("ЛИН/Ф011"); });
    EXPECT_EQ(whole.Points, 1);
    EXPECT_EQ(whole.LineSemantics, QStringList{QStringLiteral("ЛИН/Ф010")});
}
