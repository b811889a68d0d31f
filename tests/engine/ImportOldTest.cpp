// The older plan format through the open and add commands: every record kind and
// block of the fixture, the numbered-line rules at their edges, the layers, the
// segment-type pass, the information text, and bad values that leave the plan as it was.
#include "ImportTest.h"

#include "foundation/GeoDataObjectsPicture.h"
#include "semantics/signs/Symbols.h"

#include <QFileInfo>

namespace {

class ImportOld : public ImportFixture {
protected:
    // The fixture plan (the native one) opened with some information of its own.
    void OpenPlan()
    {
        Run(QStringLiteral("mcOpenMap=<full.500><New><True><>"));
        Run(QStringLiteral("mcSetMapInf=<описание плана>"));
    }
    RGPage& Imported() { return Sheet(QStringLiteral("old.500")); }
};

TEST_F(ImportOld, TheFixtureOpensWithEveryRecordAndBlock)
{
    Run(QStringLiteral("mcOpenMap=<old.500><Old><TRUE><>"));
    EXPECT_EQ(LayerQuestions(), 0);
    // The reading bar as the native reader drives it, back at 0 at the end.
    ASSERT_EQ(Files.Setups.size(), 1u);
    EXPECT_EQ(Files.Setups[0].Maximum, QFileInfo(PlanPath(QStringLiteral("old.500"))).size());
    EXPECT_EQ(Files.Setups[0].Step, 20);
    ASSERT_FALSE(Files.Positions.empty());
    EXPECT_EQ(Files.Positions.back(), 0);
    ASSERT_EQ(M().Pages.GetCount(), 1);
    EXPECT_EQ(M().MapProp.Scale, 500);
    EXPECT_EQ(DataFileState, 1);
    EXPECT_TRUE(CommandLog->isEmpty());
    // Lines 1 to 4 of the performer section, the empty one left out.
    EXPECT_EQ(M().MapProp.Info, QStringLiteral("ООО \"Геодезист\"\rИсполнитель: Петров П.П.\r"
                                               "Проверил: Сидоров С.С.\r"));

    RGPage& sheet = Imported();
    EXPECT_EQ(sheet.Visible, 1);
    ASSERT_EQ(sheet.Rastrs.GetCount(), 2);
    const RGRastr& raster = *sheet.Rastrs.At(0);
    EXPECT_EQ(raster.FileName, QStringLiteral("raster.bmp"));
    EXPECT_POINT(raster.TopRight, 5100, 2100);
    EXPECT_POINT(raster.BottomLeft, 5000, 2000);
    EXPECT_EQ(raster.Loaded, 1);
    EXPECT_FALSE(raster.Picture->Image.isNull());
    EXPECT_EQ(sheet.Rastrs.At(1)->Loaded, 0);   // its file is missing

    EXPECT_EQ(LayerNamesOf(QStringLiteral("old.500")),
              (QStringList{QStringLiteral("Надписи"), QStringLiteral("Пикеты"), QStringLiteral("Коммуникации"),
                           QStringLiteral("Геодезия"), QStringLiteral("Ограждения"), QStringLiteral("Здания"),
                           QStringLiteral("Растительность")}));

    const TGTexts& texts = Layer(QStringLiteral("old.500"), QStringLiteral("Надписи"))->Texts;
    ASSERT_EQ(texts.GetCount(), 2);
    const RGText& own = *texts.At(0);
    EXPECT_EQ(own.Text, QStringLiteral("ул. Садовая"));
    EXPECT_POINT(own.Position, 5050, 2050);
    EXPECT_EQ(own.Angle, 2700);   // -900 turned into the circle
    ASSERT_TRUE(own.OwnStyle);
    EXPECT_EQ(own.OwnStyle->FontName, QStringLiteral("Times New Roman"));
    EXPECT_EQ(own.OwnStyle->Size, 2.5L);
    EXPECT_EQ(own.OwnStyle->Color, 255);
    EXPECT_EQ(own.OwnStyle->FontStyle, fsBold | fsUnderline);
    const RGText& named = *texts.At(1);
    EXPECT_FALSE(named.OwnStyle);
    EXPECT_EQ(named.StyleName, QStringLiteral(">МЕЛКИЙ"));   // the whole line, ">" included
    EXPECT_EQ(named.Angle, 450);

    const TGPoints& pickets = Layer(QStringLiteral("old.500"), QStringLiteral("Пикеты"))->Points;
    ASSERT_EQ(pickets.GetCount(), 1);
    EXPECT_EQ(pickets.At(0)->Semantics, QStringLiteral("ПКТ/ИН12;ИВ101.25"));
    EXPECT_EQ(pickets.At(0)->UserTexts.GetCount(), 0);
    const RGPoint& well = *Layer(QStringLiteral("old.500"), QStringLiteral("Коммуникации"))->Points.At(0);
    EXPECT_POINT(well.Position, 5020, 2020);
    EXPECT_EQ(well.SignAngle, 45.5L);
    EXPECT_EQ(well.LeaderLine, 2);
    EXPECT_EQ(well.AllUserTextsFromFirst, 1);
    ASSERT_EQ(well.UserTexts.GetCount(), 1);
    const RUserText& wellCaption = *well.UserTexts.At(0);
    EXPECT_EQ(wellCaption.Dx, 3);    // 1.5 m at 1:500
    EXPECT_EQ(wellCaption.Dy, -4);
    EXPECT_EQ(wellCaption.Angle, 3300);
    EXPECT_EQ(wellCaption.SizeFactor, 1);
    EXPECT_EQ(wellCaption.Show, 2);
    // An extended record with nothing to adjust adds no caption.
    const RGPoint& station = *Layer(QStringLiteral("old.500"), QStringLiteral("Геодезия"))->Points.At(0);
    EXPECT_EQ(station.UserTexts.GetCount(), 0);
    EXPECT_EQ(station.AllUserTextsFromFirst, 0);
    EXPECT_EQ(station.LeaderLine, 1);

    const RGLine& fence = *Layer(QStringLiteral("old.500"), QStringLiteral("Ограждения"))->Lines.At(0);
    ASSERT_EQ(fence.Nodes.GetCount(), 4);
    EXPECT_POINT(fence.Nodes.At(2)->Position, 5010, 2010);
    const RGLineNode& marked = *fence.Nodes.At(1);
    EXPECT_EQ(marked.TextCounter, 3);
    EXPECT_EQ(marked.SegmentType, 2);
    EXPECT_EQ(marked.SignShift, 12 * (25.4L / M().ScreenDpi));   // dots at the library's resolution
    for (int i : {0, 2, 3}) {
        EXPECT_EQ(fence.Nodes.At(i)->SegmentType, 0) << i;
        EXPECT_EQ(fence.Nodes.At(i)->SignShift, -1) << i;
        EXPECT_EQ(fence.Nodes.At(i)->TextCounter, -1) << i;
    }
    ASSERT_EQ(fence.UserTexts.GetCount(), 1);
    EXPECT_EQ(fence.UserTexts.At(0)->Dx, 1);
    EXPECT_EQ(fence.UserTexts.At(0)->Show, 2);
    EXPECT_EQ(Layer(QStringLiteral("old.500"), QStringLiteral("Коммуникации"))->Lines.At(0)->Nodes.GetCount(), 2);

    const RGPolygon& house = *Layer(QStringLiteral("old.500"), QStringLiteral("Здания"))->Polygons.At(0);
    ASSERT_EQ(house.UserTexts.GetCount(), 1);
    const RUserText& title = *house.UserTexts.At(0);
    EXPECT_EQ(title.Show, 2);
    EXPECT_EQ(title.Angle, 3150);
    EXPECT_EQ(title.Dx, 4);
    EXPECT_EQ(title.Dy, 2);
    EXPECT_EQ(title.SizeFactor, 1.5L);
    EXPECT_POINT(house.CaptionShift, 1, -1);
    ASSERT_EQ(house.Nodes.GetCount(), 4);
    const RGPolygonNode& flagged = *house.Nodes.At(1);
    EXPECT_EQ(flagged.SegmentStyle, 2);
    EXPECT_EQ(flagged.CornerLine, 1);
    EXPECT_EQ(flagged.CornerPicture, 0);
    const RGPolygonNode& shortFlags = *house.Nodes.At(2);   // "1" and "0": b and d missing
    EXPECT_EQ(shortFlags.SegmentStyle, 0);
    EXPECT_EQ(shortFlags.CornerLine, 0);
    EXPECT_EQ(shortFlags.CornerPicture, 0);
    // Node 1 special; the pass gives the main run after it 2 inside: 3 is inside it.
    std::vector<int> types;
    for (const auto& node : house.Nodes)
        types.push_back(node->SegmentType);
    EXPECT_EQ(types, (std::vector<int>{0, 1, 0, 2}));
    // The wood's closing node went with the closing check of the open.
    const RGPolygon& wood = *Layer(QStringLiteral("old.500"), QStringLiteral("Растительность"))->Polygons.At(0);
    ASSERT_EQ(wood.Nodes.GetCount(), 3);
    EXPECT_EQ(wood.Nodes.At(0)->SegmentType, 1);   // a "2" flag with an empty second line
    EXPECT_EQ(wood.Nodes.At(0)->SegmentStyle, 0);

    // The extents take in every coordinate read.
    EXPECT_EQ(M().ViewXMax, 5200);
    EXPECT_EQ(M().ViewYMin, 2000);
}

TEST_F(ImportOld, TheFixtureSavedAndReopenedIsTheSamePlan)
{
    ExpectSameAfterSaveAndReopen(QStringLiteral("mcOpenMap=<old.500><Old><TRUE><>"));
}

// The numbered lines at their edges, one small file each.
TEST_F(ImportOld, RecordsAtTheirEdges)
{
    struct Case {
        const char* Why;
        QStringList Lines;
        int Rastrs, Texts, Points;
        QString Check;   // the first text's style name, or the first point's semantics
    };
    const Case cases[] = {
        {"a raster record of two lines creates nothing",
         {"[Растры]", "a.bmp", "1 1", "[Точки]", "ТОЧ", "1 1"}, 0, 0, 1, "ТОЧ"},
        {"a point given by a pair ignores its further lines",
         {"[Точки]", "ТОЧ", "1 1", "2 2", ">", "ПКТ", "*", "ОТА", "3 3"}, 0, 0, 2, "ТОЧ"},
        {"a point whose pair does not read is left out",
         {"[Точки]", "ТОЧ", "x 1", "*", "ОТА", "3 3"}, 0, 0, 1, "ОТА"},
        {"a style line beginning with \">\" is the style's name whole",
         {"[Надписи]", "т", "1 1", "20", ">НАЗВАНИЯ", "0", "000", "0"}, 0, 1, 0, ">НАЗВАНИЯ"},
        {"lines outside every section count for nothing",
         {"ТОЧ", "1 1", "*", "[Точки]", "ТОЧ", "1 1"}, 0, 0, 1, "ТОЧ"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Why);
        const QString name = QStringLiteral("edge%1.500").arg(++n);
        WriteLines(name, c.Lines);
        Run(QStringLiteral("mcOpenMap=<%1><Old><False><Слой>").arg(name));
        const RGPage& sheet = Sheet(name);
        EXPECT_EQ(sheet.Rastrs.GetCount(), c.Rastrs);
        const RGLayer* layer = Layer(name, QStringLiteral("Слой"));
        ASSERT_TRUE(layer);
        EXPECT_EQ(layer->Texts.GetCount(), c.Texts);
        EXPECT_EQ(layer->Points.GetCount(), c.Points);
        if (c.Texts > 0)
            EXPECT_EQ(layer->Texts.At(0)->StyleName, c.Check);
        else if (c.Points > 0)
            EXPECT_EQ(layer->Points.At(0)->Semantics, c.Check);
    }
}

TEST_F(ImportOld, ASectionSwitchedOffIsSkippedWholly)
{
    WriteLines(QStringLiteral("filter.500"),
               {"[Надписи]", "т", "1 1", "20", "Arial", "0", "000", "0", "*", "у", "2 2", "20", "Arial", "0",
                "000", "0", "[Точки]", "ТОЧ", "1 1", "[Линии]", "ЛИН", "1 1", "2 2"});
    M().OpenFilter.LoadTexts = 0;
    M().OpenFilter.ReplaceLine = 1;
    M().OpenFilter.LineSemantics = QStringLiteral("ОГР/Ф002");
    Run(QStringLiteral("mcOpenMap=<filter.500><Old><False><Слой>"));
    const RGLayer& layer = *Layer(QStringLiteral("filter.500"), QStringLiteral("Слой"));
    EXPECT_EQ(layer.Texts.GetCount(), 0);
    ASSERT_EQ(layer.Points.GetCount(), 1);
    ASSERT_EQ(layer.Lines.GetCount(), 1);
    EXPECT_EQ(layer.Lines.At(0)->Semantics, QStringLiteral("ОГР/Ф002"));
    EXPECT_EQ(layer.Lines.At(0)->Nodes.GetCount(), 2);
}

TEST(SegmentTypePass, ChangesOnlyTheMainRunAfterTheFirstSpecialRun)
{
    struct Case {
        const char* Why;
        std::vector<int> In, Out;
    };
    const Case cases[] = {
        {"no special node", {0, 0, 0, 0}, {0, 0, 0, 0}},
        {"all special: the first becomes main", {1, 1, 1, 1}, {0, 1, 1, 1}},
        {"one run", {1, 1, 0, 0, 0, 0}, {1, 1, 0, 2, 2, 0}},
        {"two separate runs: the second run's main nodes keep 0",
         {0, 1, 0, 0, 0, 1, 1, 0, 0, 0}, {0, 1, 0, 2, 0, 1, 1, 0, 0, 0}},
        {"a run wrapping round the ring's end", {1, 0, 0, 0, 1}, {1, 0, 2, 0, 1}},
        {"special II counts as special", {2, 1, 0, 0, 0}, {2, 1, 0, 2, 0}},
        {"no node", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Why);
        TGPolygonNodes nodes;
        for (int t : c.In) {
            nodes.AddItem();
            nodes.Item->SegmentType = static_cast<std::uint8_t>(t);
        }
        TGeoMap::AutoDetectSL2(nodes);
        std::vector<int> out;
        for (const auto& node : nodes)
            out.push_back(node->SegmentType);
        EXPECT_EQ(out, c.Out);
    }
}

// A merge reads into a sheet of its own: the plan's polygons keep their segment types
// however the pass would change them.
TEST_F(ImportOld, AMergeLeavesThePlansPolygonsAlone)
{
    Run(QStringLiteral("mcOpenMap=<full.500><New><True><>"));
    RGLayer& layer = *M().Pages.At(0)->Layers.At(0);
    layer.Polygons.AddItem();
    for (const TGeoPoint& p : {GeoPoint(0, 0), GeoPoint(0, 1), GeoPoint(1, 1), GeoPoint(1, 0)}) {
        layer.Polygons.Item->Nodes.AddItem();
        layer.Polygons.Item->Nodes.Item->Position = p;
    }
    layer.Polygons.Item->Nodes.At(0)->SegmentType = 1;
    Run(QStringLiteral("mcAddMap=<old.500><Old><TRUE><>"));
    std::vector<int> types;
    for (const auto& node : M().Pages.At(0)->Layers.At(0)->Polygons.At(
             M().Pages.At(0)->Layers.At(0)->Polygons.GetCount() - 1)->Nodes)
        types.push_back(node->SegmentType);
    EXPECT_EQ(types, (std::vector<int>{1, 0, 0, 0}));
    EXPECT_EQ(M().Pages.GetCount(), 3);
}

// The fixed layer is made without a command: the merge is the one journal line and the
// one undo step.
TEST_F(ImportOld, AFixedLayerAddsNoJournalLineAndNoSnapshot)
{
    Run(QStringLiteral("mcOpenMap=<full.500><New><True><>"));
    M().UndoOn = 1;
    Run(QStringLiteral("mcAddMap=<old.500><Old><False><Съемка 2024>"));
    EXPECT_EQ(*CommandLog, QStringList{QStringLiteral("mcAddMap=<old.500><Old><False><Съемка 2024>")});
    EXPECT_EQ(UndoStep, 1);
    EXPECT_EQ(LayerNamesOf(QStringLiteral("old.500")), QStringList{QStringLiteral("Съемка 2024")});
    EXPECT_EQ(LayerQuestions(), 0);
}

// A cancelled layer question puts the object into "Общий" and is not asked again for
// its semantics: a large file must not ask once per object.
TEST_F(ImportOld, ACancelledLayerQuestionIsAskedOncePerSemantics)
{
    WriteLines(QStringLiteral("unknown.500"),
               {"[Точки]", "ЩЩЩ", "1 1", "*", "ЩЩЩ", "2 2", "*", "ЮЮЮ", "3 3", "*", "ЩЩЩ", "4 4", "*", "ТОЧ", "5 5"});
    Run(QStringLiteral("mcOpenMap=<unknown.500><Old><TRUE><>"));
    EXPECT_EQ(LayerQuestions(), 2);
    EXPECT_EQ(LayerNamesOf(QStringLiteral("unknown.500")),
              (QStringList{QStringLiteral("Общий"), QStringLiteral("Точки")}));
    EXPECT_EQ(Layer(QStringLiteral("unknown.500"), QStringLiteral("Общий"))->Points.GetCount(), 4);
}

// Guards against an opened older plan carrying the previous plan's description, and a
// merge gluing the first performer line to the plan's last line.
TEST_F(ImportOld, InformationOfAnOpenIsTheFilesAndOfAMergeIsAdded)
{
    OpenPlan();
    Run(QStringLiteral("mcOpenMap=<old.500><Old><TRUE><>"));
    const QString performer = QStringLiteral("ООО \"Геодезист\"\rИсполнитель: Петров П.П.\rПроверил: Сидоров С.С.\r");
    EXPECT_EQ(M().MapProp.Info, performer);

    OpenPlan();
    Run(QStringLiteral("mcAddMap=<old.500><Old><TRUE><>"));
    EXPECT_EQ(M().MapProp.Info, QStringLiteral("описание плана\r") + performer);
}

TEST_F(ImportOld, ABadValueEndsTheImportNamingItsLineAndChangesNothing)
{
    QStringList lines = {"[Исполнитель]", "кто-то", "[Точки]", "ТОЧ", "1 1", "[Надписи]", "т", "1 1", "2x"};
    WriteLines(QStringLiteral("bad.500"), lines);
    OpenPlan();
    const QByteArray before = Native();
    const QString info = M().MapProp.Info;
    const std::int32_t scale = M().MapProp.Scale;
    M().MapProp.Scale = 1000;
    for (const QString& line : {QStringLiteral("mcOpenMap=<bad.500><Old><False><Слой>"),
                                QStringLiteral("mcAddMap=<bad.500><Old><False><Слой>")}) {
        SCOPED_TRACE(line.toStdString());
        const QString message = Fails(line);
        EXPECT_TRUE(message.contains(QStringLiteral("'2x' is not a valid integer value")))
            << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("сбой в строке 9 файла \"bad.500\""))) << message.toStdString();
        EXPECT_EQ(Native(), before);
        EXPECT_EQ(M().MapProp.Info, info);
        EXPECT_EQ(M().MapProp.Scale, 1000);
        EXPECT_EQ(CommandLog->size(), 1);
    }
    M().MapProp.Scale = scale;
}

TEST_F(ImportOld, AFileWithoutSectionsIsRefused)
{
    OpenPlan();
    const QByteArray before = Native();
    EXPECT_TRUE(Fails(QStringLiteral("mcOpenMap=<full.500><Old><TRUE><>")).contains(
        QStringLiteral("не является планом старого формата")));
    EXPECT_EQ(Native(), before);
}

}  // namespace
