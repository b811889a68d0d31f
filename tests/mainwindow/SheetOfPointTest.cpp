// New points land on the sheet they lie on: interpolated height marks each on the sheet
// of their own place, and a point computed onto a sheet line on the side its stored
// coordinates give.
#include "FixtureSetup.h"
#include "MainWindowFixture.h"
#include "SurfaceTestSupport.h"

#include "support/TestHelpers.h"

#include <gtest/gtest.h>

namespace {

class SheetOfPoint : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.Start();
        TFormMap& form = Run.Form();
        // One base square of 2 km at the origin: its 1000 m lines cut it into the
        // quarters А (north-west), Б, В (south-west) and Г.
        MainMap->Nomenclatures.DeleteAll();
        MainMap->Nomenclatures.Mode = 2;
        MainMap->Nomenclatures.AddItem(std::make_unique<TNomenclature>(
            TNomenclature{QStringLiteral("101"), TGeoPoint(0, 0)}));
        form.DestAutoPage = 1;
        form.DestAutoLayer = 0;
        form.DestLayerName = QStringLiteral("Рельеф");
        form.CreatePrecision = 2;
        form.ScatterInPlan = 0;
        form.ScatterInHeight = 0;
        form.ScatterRandom = [](int) { return 0; };
    }

    // The sheet of every point made since the last call, in order.
    QStringList SheetsMade()
    {
        QStringList sheets;
        for (qsizetype i = Before; i < CommandLog->size(); ++i) {
            const QString& line = CommandLog->at(i);
            if (!line.startsWith(QStringLiteral("mcNewPoint=<")))
                continue;
            const int page = line.section(u'<', 1, 1).section(u'>', 0, 0).toInt();
            sheets << MainMap->Pages.At(page)->Name;
        }
        Before = CommandLog->size();
        return sheets;
    }

    TMainWindowRun Run;
    TSeparatorScope Separator{u'.'};
    qsizetype Before = 0;
};

// Guards against interpolated marks taking the sheet of the last mouse-up (the second
// mark clicked) instead of their own, and against a mark computed onto a 1000 m line a
// hair to its south (cos 270 degrees is not exactly 0) falling into the southern sheet.
TEST_F(SheetOfPoint, InterpolatedMarksTakeTheSheetOfTheirOwnPlace)
{
    TFormMap& form = Run.Form();
    struct Case {
        TGeoPoint From, To;   // the two marks clicked, heights 1 and 5
        int Count;
        QStringList Sheets;
    };
    const Case cases[] = {
        // Across the line X = 1000: the first mark south of it, the others on and north.
        {{900, 500}, {1100, 500}, 3, {"101-В-3", "101-А-15", "101-А-15"}},
        // Along the line westward (270 degrees): on the line, so in the north quarter.
        {{1000, 900}, {1000, 100}, 1, {"101-А-15"}},
        // Along it eastward (90 degrees).
        {{1000, 100}, {1000, 900}, 1, {"101-А-15"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Sheets.join(u' ').toStdString());
        RunCommands({});
        MainMap->DoCommand(mcNewPage, TCommandParams().Text(QStringLiteral("марки")));
        MainMap->DoCommand(mcNewLayer, TCommandParams().Int(MainMap->GetPagesCount() - 1)
                                           .Text(QStringLiteral("Рельеф")));
        const int page = MainMap->GetPagesCount() - 1;
        for (const auto& [p, h] : {std::pair{c.From, 1}, std::pair{c.To, 5}})
            MainMap->DoCommand(mcNewPoint, TCommandParams()
                                               .Int(page)
                                               .Int(0)
                                               .Text(QStringLiteral("ОТА/ИВ%1;").arg(h))
                                               .Fixed(p.X)
                                               .Fixed(p.Y)
                                               .Int(2)
                                               .Fixed(0)
                                               .Text(QString())
                                               .Int(0)
                                               .Int(0));
        ExactView(form, 2);
        // The marks are picked by snapping to them, as the palette's snap button sets it.
        MainMap->LinkToNodes = 1;
        MainMap->FindScreenNodes();
        form.InterpolationCount = c.Count;
        form.SetMouseMode(mmInterpolateHeights, 0, true);
        Before = CommandLog->size();
        const TSurfaceDriver at(form);
        const TPixelMouse mouse{form};
        mouse.Click(at.At(c.From.X, c.From.Y));
        mouse.Click(at.At(c.To.X, c.To.Y));
        EXPECT_EQ(SheetsMade(), c.Sheets);
        // Both marks picked are off the plan again for the next case.
        MainMap->DoCommand(mcDelPage, TCommandParams().Int(page));
    }
}

TEST_F(SheetOfPoint, AMarkOnASheetLineLandsByItsWrittenCoordinates)
{
    TFormMap& form = Run.Form();
    struct Case {
        Extended X, Y;
        const char* Sheet;
    };
    const Case cases[] = {
        {1000, 1000, "101-Б-13"},                    // exactly on both lines: north and east
        {1000 - 1e-12L, 1000 - 1e-12L, "101-Б-13"},  // computed a hair short of them
        {999.994L, 500, "101-В-3"},                  // written 999.99: south of the line
        {999.996L, 500, "101-А-15"},                 // written 1000.00
    };
    form.SetMouseMode(mmInterpolateHeights, 0, true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Sheet);
        Before = CommandLog->size();
        form.Points.Up.Plan = TGeoPoint(1500, 1500);   // a mouse-up elsewhere says nothing
        form.OtmPoint = TGeoPoint(c.X, c.Y);
        form.OtmHeight = 5;
        form.CreatePointObject();
        EXPECT_EQ(SheetsMade(), QStringList{QString::fromUtf8(c.Sheet)});
    }
}

}  // namespace
