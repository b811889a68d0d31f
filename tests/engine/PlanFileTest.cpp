// The native plan file: the writer's text, the reader's tree, and the gate between them
// (write, read, write gives the same bytes), the structural faults and the merge.
#include "PlanFileTest.h"

#include "foundation/GeoDataObjectsPicture.h"
#include "foundation/ServDialogs.h"

#include <QFile>
#include <QFileInfo>

namespace {

class PlanFile : public PlanFileFixture {};

RGLayer& Layer(TGeoMap& m, int sheet, int layer) { return *m.Pages.At(sheet)->Layers.At(layer); }

// The fixture holds every line kind, block and node kind; reading it and writing the
// plan again must give it back byte for byte.
TEST_F(PlanFile, FixtureRoundTripsByteForByte)
{
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("full.500"), true));
    EXPECT_TRUE(Files.Messages().isEmpty()) << Files.Messages().join(QLatin1Char('\n')).toStdString();
    M().WriteDataToFile(QStringLiteral("again.500"));
    const QByteArray again = FileBytes(PlanPath(QStringLiteral("again.500")));
    EXPECT_EQ(DecodeCodePage(again).toStdString(), DecodeCodePage(Fixture()).toStdString());
    EXPECT_EQ(again, Fixture());
}

TEST_F(PlanFile, RoundTripHoldsUnderThePointSeparator)
{
    DecimalSeparator = QLatin1Char('.');
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("full.500"), true));
    M().WriteDataToFile(QStringLiteral("first.500"));
    const QByteArray first = FileBytes(PlanPath(QStringLiteral("first.500")));
    // The fixture has no comma outside its numbers.
    QByteArray expected = Fixture();
    expected.replace(',', '.');
    EXPECT_EQ(first, expected);

    TGeoMap second;
    second.Services = &Files;
    LoadEverything(second);
    ASSERT_TRUE(second.ReadDataFromFile(QStringLiteral("first.500"), true));
    EXPECT_EQ(Native(second), first);
}

TEST_F(PlanFile, ReadPutsNestedInnerObjectsWhereTheWriterPutThem)
{
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("full.500"), true));
    ASSERT_EQ(M().Pages.GetCount(), 2);
    const RGPage& sheet = *M().Pages.At(0);
    EXPECT_EQ(sheet.Name, QStringLiteral("Лист 1"));
    EXPECT_EQ(M().Pages.At(1)->Visible, 0);
    EXPECT_EQ(M().MapProp.Info, QStringLiteral("Заказчик: ООО «Геодезия»\r{не структура}\r\r"
                                               "Дата 12.03.2024\r~\r~x\r"));

    ASSERT_EQ(sheet.Rastrs.GetCount(), 3);
    const RGRastr& loaded = *sheet.Rastrs.At(0);
    EXPECT_EQ(loaded.Loaded, 1);
    EXPECT_EQ(M().RastrWidth, 2);
    EXPECT_EQ(M().RastrHeight, 1);
    EXPECT_EQ(loaded.BottomLeft.X, 100);
    EXPECT_EQ(loaded.TopRight.Y, 400.25L);
    EXPECT_EQ(loaded.FilterOn, 1);
    EXPECT_EQ(loaded.Brightness, 200);
    EXPECT_EQ(loaded.Blue, 255);
    // Its colour filter is applied as it loads: brightness 200 turns every pixel black,
    // then red 0 raises the red channel to 255 and blue 255 takes blue to 0.
    EXPECT_EQ(loaded.FilterApplied, 1);
    ASSERT_EQ(loaded.Picture->Image.width(), 2);
    EXPECT_EQ(loaded.Picture->Image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(loaded.Picture->Image.pixel(1, 0), qRgb(255, 0, 0));
    // A missing file: not loaded, its filter kept.
    const RGRastr& missing = *sheet.Rastrs.At(1);
    EXPECT_EQ(missing.Loaded, 0);
    EXPECT_EQ(missing.Visible, 0);
    EXPECT_EQ(missing.FilterName, QStringLiteral("Профиль 1"));

    const RGLayer& layer = *sheet.Layers.At(0);
    EXPECT_EQ(Layer(M(), 0, 1).Visible, 0);
    ASSERT_EQ(layer.Texts.GetCount(), 4);
    ASSERT_TRUE(layer.Texts.At(1)->OwnStyle);
    EXPECT_EQ(layer.Texts.At(1)->OwnStyle->FontStyle, fsBold | fsUnderline);
    EXPECT_EQ(layer.Texts.At(0)->Angle, 450);

    const RGPoint& point = *layer.Points.At(1);
    EXPECT_EQ(point.Precision, 0);
    EXPECT_EQ(point.AllUserTextsFromFirst, 1);
    ASSERT_EQ(point.UserTexts.GetCount(), 2);
    EXPECT_EQ(point.UserTexts.At(0)->Dy, -2);
    EXPECT_EQ(point.UserTexts.At(0)->Show, 2);
    ASSERT_EQ(point.InnerTexts.GetCount(), 1);

    // A line's node points, with their captions and inner texts, on the node they follow.
    const RGLine& line = *layer.Lines.At(0);
    ASSERT_EQ(line.Nodes.GetCount(), 5);
    EXPECT_EQ(line.OverLines, QStringList({QStringLiteral("ЛИН/Ф011"), QString()}));
    EXPECT_EQ(line.Nodes.At(0)->NodePoints.GetCount(), 0);
    const RGLineNode& second = *line.Nodes.At(1);
    EXPECT_EQ(second.TextCounter, 0);
    EXPECT_EQ(second.InvertText, 1);
    ASSERT_EQ(second.NodePoints.GetCount(), 2);
    EXPECT_EQ(second.NodePoints.At(0)->UserTexts.GetCount(), 1);
    ASSERT_EQ(second.NodePoints.At(0)->InnerTexts.GetCount(), 1);
    EXPECT_EQ(second.NodePoints.At(0)->InnerTexts.At(0)->Text, QStringLiteral("на узле"));
    EXPECT_TRUE(second.NodePoints.At(0)->InnerTexts.At(0)->OwnStyle);
    EXPECT_EQ(line.UserTexts.GetCount(), 1);
    EXPECT_EQ(line.InnerTexts.GetCount(), 1);

    // A polygon's inner line keeps its node point, and that point its inner text.
    const RGPolygon& polygon = *layer.Polygons.At(0);
    EXPECT_EQ(polygon.Nodes.GetCount(), 4);
    ASSERT_EQ(polygon.Holes.GetCount(), 2);
    EXPECT_EQ(polygon.Holes.At(0)->Nodes.At(1)->CornerPicture, 1);
    EXPECT_EQ(polygon.CaptionAngle, 900);
    ASSERT_EQ(polygon.InnerPoints.GetCount(), 1);
    EXPECT_EQ(polygon.InnerPoints.At(0)->UserTexts.GetCount(), 1);
    EXPECT_EQ(polygon.InnerPoints.At(0)->InnerTexts.GetCount(), 1);
    ASSERT_EQ(polygon.InnerLines.GetCount(), 1);
    const RGLine& inner = *polygon.InnerLines.At(0);
    EXPECT_EQ(inner.Nodes.At(0)->NodeType, 1);
    ASSERT_EQ(inner.Nodes.At(0)->NodePoints.GetCount(), 1);
    EXPECT_EQ(inner.Nodes.At(0)->NodePoints.At(0)->InnerTexts.GetCount(), 1);
    EXPECT_EQ(inner.UserTexts.GetCount(), 1);
    EXPECT_EQ(inner.InnerTexts.GetCount(), 1);
    EXPECT_EQ(polygon.UserTexts.GetCount(), 1);
    EXPECT_EQ(polygon.UserTexts.At(0)->SizeFactor, 0.5L);
    EXPECT_EQ(polygon.InnerTexts.GetCount(), 1);
}

// Guards against a broken raster picture failing the whole read: the plan opens with
// that raster unloaded, as with a missing file.
TEST_F(PlanFile, ARasterThatCannotBeReadStaysUnloaded)
{
    WriteBytes(PlanPath(QStringLiteral("broken.bmp")), "BM not a picture");
    WritePlanFile(QStringLiteral("broken.500"),
                  {QStringLiteral("FREE VELMORANT"), QStringLiteral("|ВЕР|"), QStringLiteral("{ЛСТ"),
                   QStringLiteral("|имя|А"), QStringLiteral("{РАС"), QStringLiteral("@broken.bmp"),
                   QStringLiteral("$0 0"), QStringLiteral("$1 1"), QStringLiteral("#"), QStringLiteral("@raster.bmp"),
                   QStringLiteral("$0 0"), QStringLiteral("$1 1"), QStringLiteral("#"), QStringLiteral("}РАС"),
                   QStringLiteral("}ЛСТ")});
    const qsizetype trail = ErrorInfo->size();
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("broken.500"), true));
    const TGRastrs& rastrs = M().Pages.At(0)->Rastrs;
    ASSERT_EQ(rastrs.GetCount(), 2);
    EXPECT_EQ(rastrs.At(0)->Loaded, 0);
    EXPECT_TRUE(rastrs.At(0)->Picture->Image.isNull());
    EXPECT_EQ(rastrs.At(1)->Loaded, 1);
    EXPECT_EQ(rastrs.At(1)->FilterApplied, 0);
    EXPECT_EQ(ErrorInfo->size(), trail);
    EXPECT_TRUE(Files.Asked.empty());
}

TEST_F(PlanFile, GoldenTextsOfSmallPlans)
{
    const QStringList head = {QStringLiteral("FREE VELMORANT"), QStringLiteral("|ВЕР|6.07.11.08")};
    struct Case {
        const char* name;
        std::function<void(TGeoMap&)> build;
        QStringList body;
    };
    const Case cases[] = {
        {"empty plan: two lines", [](TGeoMap&) {}, {}},
        {"information",
         [](TGeoMap& m) { m.MapProp.Info = QStringLiteral("строка"); },
         {QStringLiteral("{ИНФ"), QStringLiteral("строка"), QStringLiteral("}ИНФ")}},
        {"hidden empty layer: four lines",
         [](TGeoMap& m) {
             m.Pages.AddItem();
             m.Pages.Item->Name = QStringLiteral("Л");
             m.Pages.Item->Layers.AddItem();
             m.Pages.Item->Layers.Item->Name = QStringLiteral("скрытый");
             m.Pages.Item->Layers.Item->Visible = 0;
         },
         {QStringLiteral("{ЛСТ"), QStringLiteral("|имя|Л"), QStringLiteral("{СЛО"),
          QStringLiteral("|имя|скрытый"), QStringLiteral("|вид|0"), QStringLiteral("}СЛО"),
          QStringLiteral("}ЛСТ")}},
        {"precision 0 rounds, 3 pads, above 3 keeps millimetres",
         [](TGeoMap& m) {
             m.Pages.AddItem();
             m.Pages.Item->Layers.AddItem();
             TGPoints& points = m.Pages.Item->Layers.Item->Points;
             const TPrecision precisions[] = {0, 3, 7};
             for (const TPrecision p : precisions) {
                 points.AddItem();
                 points.Item->Semantics = QStringLiteral("Т");
                 points.Item->Position = GeoPoint(1.5L, 2.4L);
                 points.Item->Precision = p;
             }
         },
         {QStringLiteral("{ЛСТ"), QStringLiteral("|имя|"), QStringLiteral("{СЛО"),
          QStringLiteral("|имя|"), QStringLiteral("{ТОЧ"), QStringLiteral("@Т"),
          QStringLiteral("$2 2"), QStringLiteral("|кач|0"), QStringLiteral("#"),
          QStringLiteral("@Т"), QStringLiteral("$1,500 2,400"), QStringLiteral("|кач|3"),
          QStringLiteral("#"), QStringLiteral("@Т"), QStringLiteral("$1,500 2,400"),
          QStringLiteral("|кач|7"), QStringLiteral("#"), QStringLiteral("}ТОЧ"),
          QStringLiteral("}СЛО"), QStringLiteral("}ЛСТ")}},
        {"lines and polygons without nodes are left out, their sections too",
         [](TGeoMap& m) {
             m.Pages.AddItem();
             m.Pages.Item->Layers.AddItem();
             RGLayer& l = *m.Pages.Item->Layers.Item;
             l.Lines.AddItem();
             l.Polygons.AddItem();
             l.Polygons.Item->Holes.AddItem();
             l.Polygons.Item->Holes.Item->Nodes.AddItem();
             l.Polygons.Item->InnerPoints.AddItem();
             l.Polygons.Item->UserTexts.AddItem();
         },
         {QStringLiteral("{ЛСТ"), QStringLiteral("|имя|"), QStringLiteral("{СЛО"),
          QStringLiteral("|имя|"), QStringLiteral("}СЛО"), QStringLiteral("}ЛСТ")}},
        {"a factor that rounds to its default is left out",
         [](TGeoMap& m) {
             m.Pages.AddItem();
             m.Pages.Item->Layers.AddItem();
             TGTexts& texts = m.Pages.Item->Layers.Item->Texts;
             texts.AddItem();
             texts.Item->SizeFactor = 1.001L;
         },
         {QStringLiteral("{ЛСТ"), QStringLiteral("|имя|"), QStringLiteral("{СЛО"),
          QStringLiteral("|имя|"), QStringLiteral("{ТЕК"), QStringLiteral("@"),
          QStringLiteral("$0,000 0,000"), QStringLiteral("|сти|"), QStringLiteral("#"),
          QStringLiteral("}ТЕК"), QStringLiteral("}СЛО"), QStringLiteral("}ЛСТ")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TGeoMap m;
        c.build(m);
        EXPECT_EQ(DecodeCodePage(Native(m)).toStdString(),
                  JoinLinesCrLf(head + c.body).toStdString());
    }
}

TEST_F(PlanFile, MemoryAndSnapshotHoldTheFileTextAndOneEmptyLine)
{
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("full.500"), true));
    M().DataLines = QStringList{QStringLiteral("раньше")};
    M().WriteDataToFile(QString());
    ASSERT_GE(M().DataLines.size(), 3);
    EXPECT_EQ(M().DataLines.first(), QStringLiteral("раньше"));
    EXPECT_EQ(M().DataLines.last(), QString());
    EXPECT_EQ(EncodeCodePage(JoinLinesCrLf(M().DataLines.mid(1, M().DataLines.size() - 2))), Fixture());

    QBuffer snapshot;
    snapshot.open(QIODevice::WriteOnly);
    WritePlanSnapshot(M(), snapshot);
    EXPECT_EQ(snapshot.data(), Fixture() + "\r\n");
}

// The sheet, raster, layer and object stay current through a save or a snapshot; the
// lists inside the objects end on their last item, as after reading the plan again.
TEST_F(PlanFile, WriterKeepsTheSelectionAndLeavesInnerListsOnTheirLast)
{
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("full.500"), true));
    M().Pages.GoItem(0);
    RGPage& sheet = *M().Pages.Item;
    sheet.Rastrs.GoItem(1);
    sheet.Layers.GoItem(0);
    RGLayer& layer = *sheet.Layers.Item;
    layer.Points.GoItem(2);
    layer.Lines.GoItem(0);
    layer.Lines.Item->Nodes.GoItem(1);
    RGPolygon& polygon = *layer.Polygons.At(0);
    for (const bool toFile : {true, false}) {
        SCOPED_TRACE(toFile);
        layer.Lines.Item->Nodes.GoItem(1);
        layer.Lines.Item->Nodes.Item->NodePoints.GoItem(0);
        layer.Lines.Item->UserTexts.GoFirstItem();
        polygon.Holes.GoItem(0);
        polygon.Holes.Item->Nodes.GoItem(0);
        polygon.InnerLines.Item->Nodes.GoItem(0);
        polygon.InnerPoints.Item->UserTexts.GoFirstItem();
        M().WriteDataToFile(toFile ? QStringLiteral("x.500") : QString());
        EXPECT_EQ(M().Pages.GetIndex(), 0);
        EXPECT_EQ(sheet.Rastrs.GetIndex(), 1);
        EXPECT_EQ(sheet.Layers.GetIndex(), 0);
        EXPECT_EQ(layer.Points.GetIndex(), 2);
        EXPECT_EQ(layer.Lines.GetIndex(), 0);
        const RGLine& line = *layer.Lines.Item;
        EXPECT_EQ(line.Nodes.GetIndex(), line.Nodes.GetCount() - 1);
        EXPECT_EQ(line.Nodes.At(1)->NodePoints.GetIndex(), 1);
        EXPECT_EQ(line.UserTexts.GetIndex(), line.UserTexts.GetCount() - 1);
        EXPECT_EQ(polygon.Holes.GetIndex(), 1);
        EXPECT_EQ(polygon.Holes.At(0)->Nodes.GetIndex(), polygon.Holes.At(0)->Nodes.GetCount() - 1);
        const RGLine& inner = *polygon.InnerLines.Item;
        EXPECT_EQ(inner.Nodes.GetIndex(), inner.Nodes.GetCount() - 1);
        EXPECT_EQ(polygon.InnerPoints.Item->UserTexts.GetIndex(),
                  polygon.InnerPoints.Item->UserTexts.GetCount() - 1);
    }
}

TEST_F(PlanFile, ChosenSheetsInTheOrderGivenAndABadIndexWritesNothing)
{
    for (const char* name : {"0", "1", "2"}) {
        M().Pages.AddItem();
        M().Pages.Item->Name = QString::fromLatin1(name);
    }
    M().WriteDataToFile(QStringLiteral("two.500"), {2, 0});
    const QString text = DecodeCodePage(FileBytes(PlanPath(QStringLiteral("two.500"))));
    EXPECT_EQ(text, JoinLinesCrLf({QStringLiteral("FREE VELMORANT"), QStringLiteral("|ВЕР|6.07.11.08"),
                                   QStringLiteral("{ЛСТ"), QStringLiteral("|имя|2"), QStringLiteral("}ЛСТ"),
                                   QStringLiteral("{ЛСТ"), QStringLiteral("|имя|0"), QStringLiteral("}ЛСТ")}));

    const QByteArray before = FileBytes(PlanPath(QStringLiteral("two.500")));
    EXPECT_FALSE(RaisedBy([&] { M().WriteDataToFile(QStringLiteral("two.500"), {0, 3}); }).isEmpty());
    EXPECT_EQ(FileBytes(PlanPath(QStringLiteral("two.500"))), before);
    const QStringList lines = M().DataLines;
    EXPECT_FALSE(RaisedBy([&] { M().WriteDataToFile(QString(), {-1}); }).isEmpty());
    EXPECT_EQ(M().DataLines, lines);
}

// Guards against a value with a line break splitting its record: the rest of the
// value would have been read as structure.
TEST_F(PlanFile, LineBreaksCannotSplitARecord)
{
    M().MapProp.Info = QStringLiteral("|вид|0\r}ИНФ\r{ЛСТ\r\r~\r#");
    M().Pages.AddItem();
    M().Pages.Item->Name = QStringLiteral("лист\r\n{СЛО");
    M().Pages.Item->Layers.AddItem();
    RGLayer& layer = *M().Pages.Item->Layers.Item;
    layer.Name = QStringLiteral("слой\n|вид|0");
    layer.Texts.AddItem();
    layer.Texts.Item->Text = QStringLiteral("две\rстроки");
    layer.Texts.Item->StyleName = QStringLiteral("стиль\n}ТЕК");
    layer.Points.AddItem();
    layer.Points.Item->Semantics = QStringLiteral("ТОЧ\r\n@ЛИН");
    M().WriteDataToFile(QStringLiteral("breaks.500"));

    TGeoMap back;
    back.Services = &Files;
    LoadEverything(back);
    ASSERT_TRUE(back.ReadDataFromFile(QStringLiteral("breaks.500"), true));
    EXPECT_TRUE(Files.Messages().isEmpty());
    // Information keeps its lines as they were, structural beginnings included.
    EXPECT_EQ(back.MapProp.Info, M().MapProp.Info);
    ASSERT_EQ(back.Pages.GetCount(), 1);
    EXPECT_EQ(back.Pages.At(0)->Name, QStringLiteral("лист {СЛО"));
    EXPECT_EQ(back.Pages.At(0)->Visible, 1);
    ASSERT_EQ(back.Pages.At(0)->Layers.GetCount(), 1);
    const RGLayer& read = *back.Pages.At(0)->Layers.At(0);
    EXPECT_EQ(read.Name, QStringLiteral("слой |вид|0"));
    EXPECT_EQ(read.Visible, 1);
    ASSERT_EQ(read.Texts.GetCount(), 1);
    EXPECT_EQ(read.Texts.At(0)->Text, QStringLiteral("две строки"));
    EXPECT_EQ(read.Texts.At(0)->StyleName, QStringLiteral("стиль }ТЕК"));
    ASSERT_EQ(read.Points.GetCount(), 1);
    EXPECT_EQ(read.Points.At(0)->Semantics, QStringLiteral("ТОЧ @ЛИН"));
    EXPECT_EQ(read.Lines.GetCount(), 0);
    // And what was read writes and reads back unchanged.
    back.WriteDataToFile(QStringLiteral("breaks2.500"));
    TGeoMap again;
    LoadEverything(again);
    ASSERT_TRUE(again.ReadDataFromFile(QStringLiteral("breaks2.500"), true));
    EXPECT_EQ(Native(again), Native(back));
}

TEST_F(PlanFile, InformationTextReadsBackAsItWas)
{
    const QString texts[] = {
        QStringLiteral("одна строка"), QStringLiteral("строка\r"), QStringLiteral("\r"),
        QStringLiteral("а\r\rб"), QStringLiteral("а\r\r"), QStringLiteral("~"), QStringLiteral("~~x"),
        QStringLiteral("~x\r"), QStringLiteral("{ЛСТ"), QStringLiteral("а\r}ИНФ\r@б\r$1 2\r|имя|в\r#")};
    for (const QString& info : texts) {
        SCOPED_TRACE(info.toStdString());
        M().MapProp.Info = info;
        M().WriteDataToFile(QStringLiteral("info.500"));
        TGeoMap back;
        LoadEverything(back);
        ASSERT_TRUE(back.ReadDataFromFile(QStringLiteral("info.500"), true));
        EXPECT_EQ(back.MapProp.Info, info);
        EXPECT_EQ(back.Pages.GetCount(), 0);
    }
    // A line feed counts as a line break and reads back as CR.
    M().MapProp.Info = QStringLiteral("а\nб\r\n");
    M().WriteDataToFile(QStringLiteral("info.500"));
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("info.500"), true));
    EXPECT_EQ(M().MapProp.Info, QStringLiteral("а\rб\r"));
}

TEST_F(PlanFile, ACharacterWithoutPlaceInTheCodePageRaisesAndKeepsTheOldFile)
{
    WriteBytes(PlanPath(QStringLiteral("old.500")), "old");
    M().Pages.AddItem();
    M().Pages.Item->Name = QStringLiteral("≈ лист");
    EXPECT_TRUE(RaisedBy([&] { M().WriteDataToFile(QStringLiteral("old.500")); })
                    .contains(QStringLiteral("≈")));
    EXPECT_EQ(FileBytes(PlanPath(QStringLiteral("old.500"))), QByteArray("old"));
}

TEST_F(PlanFile, EachStructuralFaultIsShownWithItsLineNumber)
{
    const QString cr = QStringLiteral("\r");
    const QString ignored = cr + QStringLiteral("текущая строка=%1") + cr +
                            QStringLiteral("Текущая строка будет игнорирована");
    struct Case {
        const char* name;
        QStringList lines;   // after the header and version lines
        QStringList messages;
    };
    const Case cases[] = {
        {"section line of three characters",
         {QStringLiteral("{ЛС")},
         {QStringLiteral("строка метки раздела (группы) должна иметь 4 символа!\rсбой в строке 3") +
          ignored.arg(QStringLiteral("{ЛС"))}},
        {"field line of four characters",
         {QStringLiteral("{ЛСТ"), QStringLiteral("|имя"), QStringLiteral("}ЛСТ")},
         {QStringLiteral("строка метки одиночного элемента должна иметь не менее 5 символов!\r"
                         "сбой в строке 4") +
          ignored.arg(QStringLiteral("|имя"))}},
        {"end with no open section",
         {QStringLiteral("}ЛСТ")},
         {QStringLiteral("количество меток начала раздела меньше чем количесво меток конца раздела!\r"
                         "сбой в строке 3")}},
        {"end of another section",
         {QStringLiteral("{ЛСТ"), QStringLiteral("}СЛО"), QStringLiteral("}ЛСТ")},
         {QStringLiteral("метка начала раздела ЛСТ не соответствует метке конца раздела СЛО !\r"
                         "сбой в строке 4")}},
        {"rasters before any sheet",
         {QStringLiteral("{РАС"), QStringLiteral("@a.bmp"), QStringLiteral("}РАС")},
         {QStringLiteral("перед разделом растров не создано ни одного листа!\rсбой в строке 3")}},
        {"points before any layer",
         {QStringLiteral("{ЛСТ"), QStringLiteral("|имя|Л"), QStringLiteral(""), QStringLiteral("{ТОЧ"),
          QStringLiteral("@ТОЧ"), QStringLiteral("$1 2"), QStringLiteral("#"), QStringLiteral("}ТОЧ"),
          QStringLiteral("}ЛСТ")},
         {QStringLiteral("перед разделом точечных объектов не создано ни одного слоя!\r"
                         "сбой в строке 6")}},
        {"texts, lines and polygons before any layer",
         {QStringLiteral("{ТЕК"), QStringLiteral("}ТЕК"), QStringLiteral("{ЛИН"),
          QStringLiteral("}ЛИН"), QStringLiteral("{ПОЛ"), QStringLiteral("}ПОЛ")},
         {QStringLiteral("перед разделом текстовых объектов не создано ни одного слоя!\rсбой в строке 3"),
          QStringLiteral("перед разделом линейных объектов не создано ни одного слоя!\rсбой в строке 5"),
          QStringLiteral("перед разделом площадных объектов не создано ни одного слоя!\rсбой в строке 7")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Files.Asked.clear();
        WritePlanFile(QStringLiteral("fault.500"),
                      QStringList{QStringLiteral("FREE VELMORANT"), QStringLiteral("|ВЕР|")} + c.lines);
        TGeoMap m;
        m.Services = &Files;
        LoadEverything(m);
        ASSERT_TRUE(m.ReadDataFromFile(QStringLiteral("fault.500"), true));
        EXPECT_EQ(Files.Messages(), c.messages);
        for (const auto& a : Files.Asked)
            EXPECT_EQ(a.Caption, QStringLiteral("Нарушение в структуре файла данных"));
        // The points of a section that found no layer are dropped, the sheet is read.
        if (m.Pages.GetCount() > 0) {
            EXPECT_EQ(m.Pages.At(0)->Layers.GetCount(), 0);
        }
    }
}

TEST_F(PlanFile, TwentyOpenSectionsAndNoMore)
{
    QStringList lines = {QStringLiteral("FREE VELMORANT"), QStringLiteral("|ВЕР|")};
    for (int i = 0; i < 21; ++i)
        lines.append(QStringLiteral("{ааа"));
    // Lines 24 to 43 close the twenty open ones; line 44 finds none open.
    for (int i = 0; i < 21; ++i)
        lines.append(QStringLiteral("}ааа"));
    WritePlanFile(QStringLiteral("deep.500"), lines);
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("deep.500"), true));
    EXPECT_EQ(Files.Messages(),
              QStringList({QStringLiteral("путь по разделам файла превышает 20 элементов!\rсбой в строке 23"),
                           QStringLiteral("количество меток начала раздела меньше чем количесво меток конца "
                                          "раздела!\rсбой в строке 44")}));
}

// Guards against a badly damaged file holding the user in an endless row of message
// boxes: twenty faults are shown, the rest counted in one more message.
TEST_F(PlanFile, FaultsBeyondTwentyAreCountedInOneMessage)
{
    QStringList lines = {QStringLiteral("FREE VELMORANT"), QStringLiteral("|ВЕР|")};
    for (int i = 0; i < 25; ++i)
        lines.append(QStringLiteral("{Л"));
    lines.append(QStringLiteral("{ЛСТ"));
    lines.append(QStringLiteral("|имя|А"));
    lines.append(QStringLiteral("}ЛСТ"));
    WritePlanFile(QStringLiteral("faults.500"), lines);
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("faults.500"), true));
    const QStringList messages = Files.Messages();
    ASSERT_EQ(messages.size(), 21);
    EXPECT_TRUE(messages[19].contains(QStringLiteral("сбой в строке 22\r")));
    EXPECT_EQ(messages[20], QStringLiteral("Еще не показанных нарушений в структуре файла: 5 (последнее в строке 27)"));
    EXPECT_EQ(M().Pages.GetCount(), 1);
}

TEST_F(PlanFile, ReadingGoesOnAfterAFaultAndALoneCrEndsALine)
{
    const QString text = QStringLiteral("FREE VELMORANT\r|ВЕР|\r{ЛС\r{ЛСТ\r|имя|А\r{СЛО\r|имя|Б\r"
                                        "{ТОЧ\r@ТОЧ\r$1,5 2.5\r#\r}ТОЧ\r}СЛО\r}ЛСТ\r");
    WriteBytes(PlanPath(QStringLiteral("cr.500")), EncodeCodePage(text));
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("cr.500"), true));
    EXPECT_EQ(Files.Messages().size(), 1);
    ASSERT_EQ(M().Pages.GetCount(), 1);
    const RGPoint& point = *Layer(M(), 0, 0).Points.At(0);
    EXPECT_EQ(point.Position.X, 1.5L);
    EXPECT_EQ(point.Position.Y, 2.5L);
}

TEST_F(PlanFile, FieldQuirksOfTheFormat)
{
    WritePlanFile(QStringLiteral("quirks.500"),
                  {QStringLiteral("FREE VELMORANT"), QStringLiteral("|ВЕР|"), QStringLiteral("{ЛСТ"),
                   QStringLiteral("|имя|А"), QStringLiteral("{СЛО"), QStringLiteral("|имя|Б"),
                   QStringLiteral("{ТЕК"), QStringLiteral("@т"), QStringLiteral("$0 0"),
                   QStringLiteral("{сти"), QStringLiteral("|стш|0100"), QStringLiteral("|стш|111"),
                   QStringLiteral("}сти"), QStringLiteral("#"), QStringLiteral("}ТЕК"),
                   QStringLiteral("{ТОЧ"), QStringLiteral("@т"), QStringLiteral("$0 0"),
                   QStringLiteral("|онн|любое"), QStringLiteral("#"), QStringLiteral("}ТОЧ"),
                   QStringLiteral("{ЛИН"), QStringLiteral("@л"), QStringLiteral("$0 0"),
                   QStringLiteral("|тиу|1"), QStringLiteral("{нау"), QStringLiteral("|кри|0"),
                   QStringLiteral("}нау"), QStringLiteral("#"), QStringLiteral("@л2"),
                   QStringLiteral("$0 0"), QStringLiteral("|кри|1"), QStringLiteral("#"),
                   QStringLiteral("}ЛИН"), QStringLiteral("{ПОЛ"), QStringLiteral("@п"),
                   QStringLiteral("$0 0"), QStringLiteral("[ЛИН"), QStringLiteral("@в"),
                   QStringLiteral("$1 1"), QStringLiteral("|кри|x"), QStringLiteral("|тиу|1"),
                   QStringLiteral("#"), QStringLiteral("]ЛИН"),
                   QStringLiteral("#"), QStringLiteral("}ПОЛ"), QStringLiteral("}СЛО"),
                   QStringLiteral("}ЛСТ")});
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("quirks.500"), true));
    EXPECT_TRUE(Files.Messages().isEmpty());
    const RGLayer& layer = Layer(M(), 0, 0);
    // Three style characters leave the flags as they were.
    EXPECT_EQ(layer.Texts.At(0)->OwnStyle->FontStyle, fsItalic);
    EXPECT_EQ(layer.Points.At(0)->AllUserTextsFromFirst, 1);
    EXPECT_EQ(layer.Lines.At(0)->Nodes.At(0)->NodeType, 1);
    EXPECT_EQ(layer.Lines.At(0)->Nodes.At(0)->Curve, 1);
    EXPECT_EQ(layer.Polygons.At(0)->InnerLines.At(0)->Nodes.At(0)->Curve, 1);
    // Outside a node block the curve flag counts only in a polygon's inner line and the
    // node type only in a line of the layer.
    EXPECT_EQ(layer.Lines.At(1)->Nodes.At(0)->Curve, 0);
    EXPECT_EQ(layer.Polygons.At(0)->InnerLines.At(0)->Nodes.At(0)->NodeType, 0);
}

TEST_F(PlanFile, ABadValueRaisesWithItsLineAndChangesNothing)
{
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("full.500"), true));
    M().MapProp.Scale = 500;
    const QByteArray before = Native();
    struct Case {
        const char* name;
        QString line;
        QString message;
    };
    const Case cases[] = {
        {"integer", QStringLiteral("|кач|x"), QStringLiteral("'x' is not a valid integer value")},
        {"real", QStringLiteral("|угз|1e5"),
         QStringLiteral("Некорректный вид вещественного числа в строковом формате")},
        {"first number of a pair", QStringLiteral("$x 1"),
         QStringLiteral("Не получается преобразовать строку в два вещественных числа")},
        {"pair without a blank", QStringLiteral("$12"),
         QStringLiteral("Не найден пробел-разделитель чисел в строке")},
        {"second number of a pair", QStringLiteral("$1,5 2x"),
         QStringLiteral("Не получается преобразовать строку в два вещественных числа")},
        {"empty integer", QStringLiteral("|лип|"), QStringLiteral("'' is not a valid integer value")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WritePlanFile(QStringLiteral("bad.500"),
                      {QStringLiteral("FREE VELMORANT"), QStringLiteral("|ВЕР|"), QStringLiteral("{ЛСТ"),
                       QStringLiteral("|имя|Новый"), QStringLiteral("{СЛО"), QStringLiteral("|имя|С"),
                       QStringLiteral("{ТОЧ"), QStringLiteral("@т"), QStringLiteral("$0 0"), c.line});
        for (const bool replace : {true, false}) {
            const QString raised =
                RaisedBy([&] { M().ReadDataFromFile(QStringLiteral("bad.500"), replace); });
            EXPECT_TRUE(raised.startsWith(c.message)) << raised.toStdString();
            EXPECT_TRUE(raised.contains(QStringLiteral("сбой в строке 10"))) << raised.toStdString();
            EXPECT_EQ(Native(), before);
            EXPECT_TRUE(ErrorInfo->contains(QStringLiteral(
                "function TGeoMap.ReadDataFromFile(const FileName:String; const "
                "LayerAutoDetect:boolean; const LayerName:string):boolean;")));
        }
    }
}

TEST_F(PlanFile, WhatIsNotAPlanFileIsRefusedWhole)
{
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("full.500"), true));
    const QByteArray before = Native();
    WriteBytes(PlanPath(QStringLiteral("picture.500")), FileBytes(PlanPath(QStringLiteral("raster.bmp"))));
    EXPECT_FALSE(RaisedBy([&] { M().ReadDataFromFile(QStringLiteral("picture.500"), true); }).isEmpty());
    EXPECT_FALSE(RaisedBy([&] { M().ReadDataFromFile(QStringLiteral("none.500"), true); }).isEmpty());
    EXPECT_TRUE(Files.Asked.empty());
    EXPECT_EQ(Native(), before);
}

// Damaged files: each is refused with a message and the plan stays as it was, for an
// open and for a merge alike.
TEST_F(PlanFile, DamagedFilesAreRefusedWithThePlanAsItWas)
{
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("full.500"), true));
    M().Pages.GoItem(0);
    const QByteArray before = Native();
    const QStringList head = {QStringLiteral("FREE VELMORANT"), QStringLiteral("|ВЕР|6.07.11.08")};
    const QByteArray fixture = Fixture();
    QByteArray noise;
    quint32 seed = 12345;
    for (int i = 0; i < 4096; ++i) {
        seed = seed * 1103515245u + 12345u;
        noise += static_cast<char>(seed >> 23);
    }
    struct Case {
        const char* name;
        QByteArray bytes;
        QString message;   // what the refusal begins with
    };
    const Case cases[] = {
        {"empty file", QByteArray(), QStringLiteral("Файл \"bad.500\" не является файлом плана")},
        {"random bytes", noise, QStringLiteral("Файл \"bad.500\" не является файлом плана")},
        {"cut inside a line record", fixture.left(fixture.indexOf("$11,0 21,0") + 4),
         QStringLiteral("Не найден пробел-разделитель чисел в строке")},
        {"cut after a whole line", fixture.left(fixture.indexOf(EncodeCodePage(QStringLiteral("}ТОЧ")))),
         QStringLiteral("Файл плана \"bad.500\" оборван: после последней строки (105) остались "
                        "незакрытыми разделы ЛСТ, СЛО, ТОЧ")},
        {"information never closed", PlanBytes(head + QStringList{QStringLiteral("{ИНФ"), QStringLiteral("текст")}),
         QStringLiteral("Файл плана \"bad.500\" оборван: после последней строки (4) остались "
                        "незакрытыми разделы ИНФ")},
        {"end tag of another section",
         PlanBytes(head + QStringList{QStringLiteral("{ЛСТ"), QStringLiteral("|имя|Лист 1"),
                                      QStringLiteral("}СЛО")}),
         // Guards against a complete file with a wrong end tag being called cut short.
         QStringLiteral("Файл плана \"bad.500\" поврежден: метка конца раздела СЛО в строке 5 не "
                        "соответствует открытому разделу ЛСТ, и разделы ЛСТ остались незакрытыми")},
        {"garbage in a number",
         PlanBytes(head + QStringList{QStringLiteral("{ЛСТ"), QStringLiteral("|имя|Лист 1"),
                                      QStringLiteral("{СЛО"), QStringLiteral("|имя|Слой A"),
                                      QStringLiteral("{ТЕК"), QStringLiteral("@т"),
                                      QStringLiteral("$1 2"), QStringLiteral("|пов|90°")}),
         QStringLiteral("'90°' is not a valid integer value")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(PlanPath(QStringLiteral("bad.500")), c.bytes);
        for (const bool replace : {true, false}) {
            Files.Answers = {7, 7, 7, 7};
            const QString raised = RaisedBy([&] { M().ReadDataFromFile(QStringLiteral("bad.500"), replace); });
            EXPECT_TRUE(raised.startsWith(c.message)) << raised.toStdString();
            EXPECT_EQ(Native(), before);
            EXPECT_EQ(M().Pages.GetIndex(), 0);
        }
    }
}

// Guards against a file cut short being read as a smaller plan without a word: cut
// anywhere, it is refused with the plan as it was, or read with a fault shown, unless
// the cut falls where a whole sheet or the head ends.
TEST_F(PlanFile, AFileCutAnywhereIsNeverReadSilently)
{
    M().Pages.AddItem();
    M().Pages.Item->Name = QStringLiteral("свой");
    const QByteArray before = Native();
    const QByteArray fixture = Fixture();
    const qsizetype headEnd = fixture.indexOf(EncodeCodePage(QStringLiteral("{ИНФ")));
    ASSERT_GT(headEnd, 0);
    for (qsizetype cut = 0; cut < fixture.size(); ++cut) {
        const QByteArray bytes = fixture.left(cut);
        WriteBytes(PlanPath(QStringLiteral("cut.500")), bytes);
        Files.Asked.clear();
        TGeoMap m;
        m.Services = &Files;
        LoadEverything(m);
        m.Pages.AddItem();
        m.Pages.Item->Name = QStringLiteral("свой");
        const QString raised = RaisedBy([&] { m.ReadDataFromFile(QStringLiteral("cut.500"), true); });
        if (!raised.isEmpty()) {
            ASSERT_EQ(Native(m), before) << cut;
            continue;
        }
        QByteArray trimmed = bytes;
        while (trimmed.endsWith('\r') || trimmed.endsWith('\n'))
            trimmed.chop(1);
        const bool clean = cut <= headEnd || trimmed.endsWith(EncodeCodePage(QStringLiteral("}ЛСТ"))) ||
                           trimmed.endsWith(EncodeCodePage(QStringLiteral("}ИНФ")));
        ASSERT_TRUE(clean || !Files.Messages().isEmpty()) << cut;
    }
}

// The fixture with a few lines dropped, repeated, moved, cut or put in from elsewhere:
// what is refused leaves the plan as it was, and what is read writes and reads back
// byte for byte, so no damaged file leaves a tree the writer cannot reproduce.
TEST_F(PlanFile, AMangledFileIsRefusedWholeOrReadConsistently)
{
    const QStringList fixture = DecodeCodePage(Fixture()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    const QStringList pool = {QStringLiteral("{нау"), QStringLiteral("}нау"), QStringLiteral("[ТОЧ"),
                              QStringLiteral("]ТОЧ"), QStringLiteral("[ЛИН"), QStringLiteral("]ЛИН"),
                              QStringLiteral("{ВПО"), QStringLiteral("}ВПО"), QStringLiteral("{нап"),
                              QStringLiteral("}нап"), QStringLiteral("{сти"), QStringLiteral("|тиу|1"),
                              QStringLiteral("|кри|1"), QStringLiteral("$1 2"), QStringLiteral("@x"),
                              QStringLiteral("#"), QStringLiteral("|имя|Лист 1"), QStringLiteral("")};
    quint32 seed = 2024;
    const auto next = [&seed](qsizetype n) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<quint32>(n));
    };
    for (int round = 0; round < 300; ++round) {
        QStringList lines = fixture;
        for (int k = 1 + next(4); k > 0; --k) {
            const int at = 1 + next(lines.size() - 1);
            switch (next(5)) {
            case 0:
                lines.removeAt(at);
                break;
            case 1:
                lines.insert(at, lines[next(lines.size())]);
                break;
            case 2:
                lines.insert(at, pool[next(pool.size())]);
                break;
            case 3:
                lines.swapItemsAt(at, 1 + next(lines.size() - 1));
                break;
            default:
                if (lines[at].size() > 1)
                    lines[at].remove(1 + next(lines[at].size() - 1), 1);
            }
        }
        WritePlanFile(QStringLiteral("mangled.500"), lines);
        TGeoMap m;
        m.Services = &Files;
        LoadEverything(m);
        m.Pages.AddItem();
        m.Pages.Item->Name = QStringLiteral("Лист 1");
        const QByteArray before = Native(m);
        Files.Answers = std::deque<int>(100, 7);
        bool read = false;
        const QString raised =
            RaisedBy([&] { read = m.ReadDataFromFile(QStringLiteral("mangled.500"), round % 2 == 0); });
        if (!raised.isEmpty() || !read) {
            ASSERT_EQ(Native(m), before) << round;
            continue;
        }
        const QByteArray once = Native(m);
        WriteBytes(PlanPath(QStringLiteral("again.500")), once);
        TGeoMap back;
        back.Services = &Files;
        LoadEverything(back);
        Files.Answers.clear();
        ASSERT_TRUE(back.ReadDataFromFile(QStringLiteral("again.500"), true)) << round;
        ASSERT_EQ(Native(back), once) << round;
    }
}

// Guards against a damaged line of megabytes being quoted whole in a message box,
// which could not lay it out.
TEST_F(PlanFile, AHugeDamagedLineIsQuotedShort)
{
    const QString huge = QLatin1Char('{') + QString(4 << 20, QChar(u'ж'));
    WritePlanFile(QStringLiteral("huge.500"), {QStringLiteral("FREE VELMORANT"), QStringLiteral("|ВЕР|"), huge,
                                               QStringLiteral("{ЛСТ"), QStringLiteral("|имя|А"),
                                               QStringLiteral("}ЛСТ")});
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("huge.500"), true));
    ASSERT_EQ(Files.Messages().size(), 1);
    const QString message = Files.Messages().first();
    EXPECT_TRUE(message.contains(QStringLiteral("текущая строка=") + huge.left(200) + QStringLiteral("…\r")));
    EXPECT_LT(message.size(), 500);
    ASSERT_EQ(M().Pages.GetCount(), 1);
}

TEST_F(PlanFile, AFileOfTheHeadAloneReadsAsAnEmptyPlan)
{
    M().MapProp.Info = QStringLiteral("прежнее");
    WritePlanFile(QStringLiteral("head.500"), {QStringLiteral("FREE VELMORANT"), QStringLiteral("|ВЕР|6.07.11.08")});
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("head.500"), true));
    EXPECT_EQ(M().Pages.GetCount(), 0);
    EXPECT_EQ(M().MapProp.Info, QString());
    EXPECT_TRUE(Files.Asked.empty());
}

TEST_F(PlanFile, ProgressRunsOverTheFileAndEndsAtZero)
{
    // The step: the size in fiftieths rounded to tens, halves to even at both roundings,
    // at least 1.
    struct Case {
        int size, step;
    };
    const Case cases[] = {
        {100, 1},       // 2, 0.2: at least 1
        {1225, 20},     // 24.5 → 24, 2.4 → 2
        {1250, 20},     // 25, 2.5 → 2
        {1275, 30},     // 25.5 → 26, 2.6 → 3
        {12345, 250},   // 246.9 → 247, 24.7 → 25
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        QStringList lines{QStringLiteral("FREE VELMORANT"), QStringLiteral("|ВЕР|"),
                          QStringLiteral("{ИНФ"), QString(), QStringLiteral("}ИНФ")};
        lines[3] = QString(c.size - PlanBytes(lines).size(), u'x');
        WritePlanFile(QStringLiteral("sized.500"), lines);
        ASSERT_EQ(QFileInfo(PlanPath(QStringLiteral("sized.500"))).size(), c.size);
        Files.Setups.clear();
        Files.Positions.clear();
        ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("sized.500"), true));
        ASSERT_EQ(Files.Setups.size(), 1u);
        EXPECT_EQ(Files.Setups[0].Maximum, c.size);
        EXPECT_EQ(Files.Setups[0].Step, c.step);
        EXPECT_EQ(Files.Setups[0].Height, 8);
        ASSERT_FALSE(Files.Positions.empty());
        EXPECT_EQ(Files.Positions.back(), 0);
    }
}

// The plan of the merge tests: sheet "А" with layer "Л" holding point "старая".
class PlanMerge : public PlanFileFixture {
protected:
    void SetUp() override
    {
        PlanFileFixture::SetUp();
        M().Pages.AddItem();
        M().Pages.Item->Name = QStringLiteral("А");
        M().Pages.Item->Layers.AddItem();
        M().Pages.Item->Layers.Item->Name = QStringLiteral("Л");
        AddPoint(*M().Pages.Item->Layers.Item, QStringLiteral("старая"));
        M().MapProp.Info = QStringLiteral("свой план\r");
        // Two sheets "А" (the second has layers "Л" and "М"), then sheet "Б".
        WritePlanFile(QStringLiteral("add.500"),
                      {QStringLiteral("FREE VELMORANT"), QStringLiteral("|ВЕР|"),
                       QStringLiteral("{ИНФ"), QStringLiteral("чужой"), QStringLiteral("}ИНФ"),
                       QStringLiteral("{ЛСТ"), QStringLiteral("|имя|А"), QStringLiteral("{СЛО"),
                       QStringLiteral("|имя|Л"), QStringLiteral("{ТОЧ"), QStringLiteral("@новая"),
                       QStringLiteral("$1 1"), QStringLiteral("#"), QStringLiteral("}ТОЧ"),
                       QStringLiteral("}СЛО"), QStringLiteral("{СЛО"), QStringLiteral("|имя|М"),
                       QStringLiteral("}СЛО"), QStringLiteral("}ЛСТ"), QStringLiteral("{ЛСТ"),
                       QStringLiteral("|имя|А"), QStringLiteral("}ЛСТ"), QStringLiteral("{ЛСТ"),
                       QStringLiteral("|имя|Б"), QStringLiteral("}ЛСТ")});
    }

    static void AddPoint(RGLayer& layer, const QString& semantics)
    {
        layer.Points.AddItem();
        layer.Points.Item->Semantics = semantics;
    }

    QStringList Sheets()
    {
        QStringList names;
        for (const auto& page : M().Pages)
            names.append(page->Name);
        return names;
    }
    QStringList Points(int sheet, int layer)
    {
        QStringList names;
        for (const auto& point : Layer(M(), sheet, layer).Points)
            names.append(point->Semantics);
        return names;
    }
    QStringList AskedKinds()
    {
        QStringList kinds;
        for (const auto& a : Files.Asked)
            kinds.append(a.Caption);
        return kinds;
    }
};

TEST_F(PlanMerge, AddToTheExistingSheetAndLayer)
{
    Files.Answers = {7, 7, 7};
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("add.500")));
    EXPECT_EQ(AskedKinds(), QStringList({QStringLiteral("Лист уже существует!"),
                                         QStringLiteral("Слой уже существует!"),
                                         QStringLiteral("Лист уже существует!")}));
    EXPECT_EQ(Files.Asked[0].Text,
              QStringLiteral("Названия листов не должны повторяться. выберете новое название:"));
    EXPECT_EQ(Files.Asked[1].Text, QStringLiteral("Названия слоев в одном листе не должны "
                                                  "повторяться. выберете новое название:"));
    EXPECT_EQ(Sheets(), QStringList({QStringLiteral("А"), QStringLiteral("Б")}));
    ASSERT_EQ(M().Pages.At(0)->Layers.GetCount(), 2);
    EXPECT_EQ(Points(0, 0), QStringList({QStringLiteral("старая"), QStringLiteral("новая")}));
    EXPECT_EQ(M().Pages.At(0)->Layers.At(1)->Name, QStringLiteral("М"));
    // The plan's own description stays.
    EXPECT_EQ(M().MapProp.Info, QStringLiteral("свой план\r"));
    EXPECT_EQ(M().Pages.GetIndex(), 1);
}

TEST_F(PlanMerge, RenameAndAnEmptyNameAskedAgain)
{
    Files.Answers = {6, 6, 6};
    Files.Texts = {QString(), QStringLiteral("А2"), QStringLiteral("А3")};
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("add.500")));
    EXPECT_EQ(Files.Asked.size(), 3u);
    EXPECT_EQ(Sheets(), QStringList({QStringLiteral("А"), QStringLiteral("А2"), QStringLiteral("А3"),
                                     QStringLiteral("Б")}));
    EXPECT_EQ(Points(0, 0), QStringList{QStringLiteral("старая")});
    EXPECT_EQ(Points(1, 0), QStringList{QStringLiteral("новая")});
}

TEST_F(PlanMerge, AddForAllAsksOnceForSheets)
{
    Files.Answers = {9, 7};
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("add.500")));
    EXPECT_EQ(AskedKinds(), QStringList({QStringLiteral("Лист уже существует!"),
                                         QStringLiteral("Слой уже существует!")}));
    EXPECT_EQ(Sheets(), QStringList({QStringLiteral("А"), QStringLiteral("Б")}));
}

TEST_F(PlanMerge, EscapeGivesTheMergeUpWithThePlanAsItWas)
{
    const QByteArray before = Native();
    for (const std::deque<int>& answers : {std::deque<int>{2}, std::deque<int>{7, 2}, std::deque<int>{0}}) {
        Files.Asked.clear();
        Files.Answers = answers;
        EXPECT_FALSE(M().ReadDataFromFile(QStringLiteral("add.500")));
        EXPECT_EQ(Native(), before);
    }
    // Without any window the question is not asked for ever either.
    TGeoMap m;
    LoadEverything(m);
    m.Pages.AddItem();
    m.Pages.Item->Name = QStringLiteral("А");
    const TScopedDialogHooks none;
    EXPECT_FALSE(m.ReadDataFromFile(QStringLiteral("add.500")));
}

// Names repeated inside one file are asked about as well, also when it replaces the plan.
TEST_F(PlanMerge, NamesRepeatedInsideTheFileMergeOnTheUsersWord)
{
    const auto sheet = [](const QString& layer, const QString& point) {
        return QStringList{QStringLiteral("{ЛСТ"), QStringLiteral("|имя|А"), QStringLiteral("{СЛО"),
                           QStringLiteral("|имя|") + layer, QStringLiteral("{ТОЧ"), QLatin1Char('@') + point,
                           QStringLiteral("$1 1"), QStringLiteral("#"), QStringLiteral("}ТОЧ"),
                           QStringLiteral("}СЛО"), QStringLiteral("}ЛСТ")};
    };
    WritePlanFile(QStringLiteral("twice.500"), QStringList{QStringLiteral("FREE VELMORANT")} +
                                                   sheet(QStringLiteral("Л"), QStringLiteral("п1")) +
                                                   sheet(QStringLiteral("М"), QStringLiteral("п2")) +
                                                   sheet(QStringLiteral("Л"), QStringLiteral("п3")));
    Files.Answers = {7, 7, 6};
    Files.Texts = {QString(), QString(), QStringLiteral("Л2")};
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("twice.500"), true));
    EXPECT_EQ(AskedKinds(), QStringList({QStringLiteral("Лист уже существует!"), QStringLiteral("Лист уже существует!"),
                                         QStringLiteral("Слой уже существует!")}));
    EXPECT_EQ(Sheets(), QStringList{QStringLiteral("А")});
    QStringList layers;
    for (const auto& layer : M().Pages.At(0)->Layers)
        layers.append(layer->Name);
    EXPECT_EQ(layers, QStringList({QStringLiteral("Л"), QStringLiteral("М"), QStringLiteral("Л2")}));
    EXPECT_EQ(Points(0, 2), QStringList{QStringLiteral("п3")});
    EXPECT_EQ(M().Pages.At(0)->Layers.GetIndex(), 2);
}

TEST_F(PlanMerge, OpenFilterRemovesOnlyWhatTheMergeRead)
{
    M().OpenFilter.LoadPoints = 0;
    M().OpenFilter.ReplaceLine = 1;
    M().OpenFilter.LineSemantics = QStringLiteral("ЗАМЕНА");
    Files.Answers = {7, 7, 7};
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("add.500")));
    EXPECT_EQ(Points(0, 0), QStringList{QStringLiteral("старая")});

    // Replacement semantics reach inner objects too.
    TGeoMap m;
    m.Services = &Files;
    LoadEverything(m);
    m.OpenFilter.ReplaceLine = 1;
    m.OpenFilter.LineSemantics = QStringLiteral("ЗАМЕНА");
    ASSERT_TRUE(m.ReadDataFromFile(QStringLiteral("full.500"), true));
    EXPECT_EQ(Layer(m, 0, 0).Lines.At(0)->Semantics, QStringLiteral("ЗАМЕНА"));
    EXPECT_EQ(Layer(m, 0, 0).Polygons.At(0)->InnerLines.At(0)->Semantics, QStringLiteral("ЗАМЕНА"));
    EXPECT_EQ(Layer(m, 0, 0).Polygons.At(0)->Semantics, QStringLiteral("ПОЛ/Ф030"));
}

}  // namespace
