// The DXF export: the entity writers line for line, and whole exports of the sign plan of
// the fixtures with the shipped sign library (the header's values, objects never drawn,
// the elevations, what is hidden, and the refusals that must leave everything as it was).
#include "PlanBuilders.h"
#include "PlanFileTest.h"

#include "engine/export/DxfWriter.h"
#include "foundation/StringNum.h"
#include "platform/TextFiles.h"
#include "semantics/codec/SemServices.h"
#include "semantics/signs/Symbols.h"

#include <QFile>
#include <QMap>
#include <optional>

namespace {

// One entity of a file: its type and its pairs (the last value of each code).
struct REntity {
    QString Type;
    QMap<int, QString> Values;
};

// The entities of the ENTITIES section of lines (pairs of a code and a value).
std::vector<REntity> Entities(const QStringList& lines)
{
    std::vector<REntity> out;
    bool inside = false;
    for (int i = 0; i + 1 < lines.size(); i += 2) {
        const int code = lines[i].trimmed().toInt();
        const QString& value = lines[i + 1];
        if (code == 2 && value == QLatin1String("ENTITIES")) {
            inside = true;
            continue;
        }
        if (!inside)
            continue;
        if (code == 0) {
            if (value == QLatin1String("ENDSEC"))
                break;
            out.push_back({value, {}});
        } else if (!out.empty()) {
            out.back().Values[code] = value;
        }
    }
    return out;
}

// The writer's lines from the first line of the section on: a writer without a device
// keeps the pairs the tests look at.
std::vector<REntity> EntitiesOf(const TDxfWriter& w)
{
    return Entities(QStringList{QStringLiteral("  2"), QStringLiteral("ENTITIES")} + w.Lines());
}

int Count(const std::vector<REntity>& es, const char* type)
{
    return int(std::count_if(es.begin(), es.end(), [&](const REntity& e) { return e.Type == QLatin1String(type); }));
}

class DxfWriters : public EngineFixture {
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        Plan().MapProp.Scale = 500;
        Plan().Symbols->SetScale(500, 300);
    }

    static void Points(TGeoPoints& list, std::initializer_list<std::pair<Extended, Extended>> xy)
    {
        for (const auto& [x, y] : xy) {
            list.AddItem(std::make_unique<RGeoPoint>());
            *list.At(list.GetCount() - 1) = GeoPoint(x, y);
        }
    }
};

}  // namespace

TEST_F(DxfWriters, PicturePrimitivesBecomeLinesAndCircles)
{
    TVpLayers picture;
    picture.AddItem(std::make_unique<RVpLayer>());
    RVpLayer& e = *picture.At(0);
    e.Polygons.AddItem(std::make_unique<RVpPolygon>());
    RVpPolygon& square = *e.Polygons.At(0);
    Points(square.Points, {{0, 0}, {0, 10}, {10, 10}, {10, 0}});
    // An area's inner contour is a closed run of its own.
    square.Holes.AddItem(std::make_unique<RListGeoPoint>());
    Points(square.Holes.At(0)->Points, {{2, 2}, {2, 4}, {4, 2}});
    e.Polylines.AddItem(std::make_unique<RVpPolyline>());
    Points(e.Polylines.At(0)->Points, {{0, 0}, {1, 1}, {2, 0}, {3, 1}});
    e.Lines.AddItem(std::make_unique<RVpLine>());
    e.Lines.At(0)->P1 = GeoPoint(5, 6);
    e.Lines.At(0)->P2 = GeoPoint(7, 8);
    e.Circles.AddItem(std::make_unique<RVpCircle>());
    e.Circles.At(0)->Center = GeoPoint(100.5L, 200.25L);
    e.Circles.At(0)->Radius = 0.4L;

    TDxfWriter w(nullptr);
    Plan().AcadZ = 12.5L;
    Plan().DrawCasheToAcad(picture, w);
    const std::vector<REntity> es = EntitiesOf(w);
    ASSERT_EQ(es.size(), size_t(4 + 3 + 1 + 3 + 1));
    // The square closes from its last point back to the first; DXF x is east.
    const auto line = [](const REntity& e) {
        return QStringList{e.Values[10], e.Values[20], e.Values[11], e.Values[21]}.join(u' ');
    };
    EXPECT_EQ(line(es[0]), QStringLiteral("0.000 0.000 10.000 0.000"));
    EXPECT_EQ(line(es[1]), QStringLiteral("10.000 0.000 10.000 10.000"));
    EXPECT_EQ(line(es[3]), QStringLiteral("0.000 10.000 0.000 0.000"));
    EXPECT_EQ(line(es[4]), QStringLiteral("2.000 2.000 4.000 2.000"));
    EXPECT_EQ(line(es[6]), QStringLiteral("2.000 4.000 2.000 2.000"));
    // Circles come before lines and polylines within an element.
    EXPECT_EQ(es[7].Type, QStringLiteral("CIRCLE"));
    EXPECT_EQ(line(es[8]), QStringLiteral("6.000 5.000 8.000 7.000"));
    EXPECT_EQ(line(es[9]), QStringLiteral("0.000 0.000 1.000 1.000"));
    EXPECT_EQ(line(es[11]), QStringLiteral("0.000 2.000 1.000 3.000"));
    for (const REntity& x : es)
        EXPECT_EQ(x.Values[30], QStringLiteral("12.500"));
    // The writers' exact lines.
    const QStringList lines = w.Lines();
    EXPECT_EQ(lines.mid(0, 16),
              (QStringList{"  0", "LINE", "  8", "0", " 10", "0.000", " 20", "0.000", " 30", "12.500", " 11",
                           "10.000", " 21", "0.000", " 31", "12.500"}));
    const qsizetype circle = lines.indexOf(QStringLiteral("CIRCLE"));
    ASSERT_GT(circle, 0);
    EXPECT_EQ(lines.mid(circle - 1, 12),
              (QStringList{"  0", "CIRCLE", "  8", "0", " 10", "200.250", " 20", "100.500", " 30", "12.500",
                           " 40", "0.400"}));
}

TEST_F(DxfWriters, TextGoesFromItsTopLeftCornerToItsBaseLine)
{
    struct Case {
        QString text;
        TGeoAngle a;
        QStringList lines;
    };
    const Case cases[] = {
        // Horizontal, size 100 at (1000, 2000): 3 m down, 0.4 m along, 2.3 m high.
        {QStringLiteral("Дом"), 90,
         {"  0", "TEXT", "  8", "0", " 10", "2000.400", " 20", "997.000", " 30", "0.000", " 40", "2.3", "  1",
          "Дом", " 50", "360.000"}},
        // Running north: the base line lies to the east of the anchor.
        {QStringLiteral("р. Исеть"), 0,
         {"  0", "TEXT", "  8", "0", " 10", "2003.000", " 20", "1000.400", " 30", "0.000", " 40", "2.3", "  1",
          "р. Исеть", " 50", "450.000"}},
        // A named text reads in CAD as on the plan: its caret is the caret itself.
        {QStringLiteral("^директор%Иванов ^2"), 90,
         {"  0", "TEXT", "  8", "0", " 10", "2000.400", " 20", "997.000", " 30", "0.000", " 40", "2.3", "  1",
          "^ директор%Иванов ^ 2", " 50", "360.000"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        TDxfWriter w(nullptr);
        Plan().TextToAcad(w, c.text, 1000, 2000, c.a, 100);
        EXPECT_EQ(w.Lines(), c.lines);
    }
}

TEST_F(DxfWriters, PlanTextSizedByItsStyleAtTheLibrarysResolution)
{
    RGText t;
    t.Text = QStringLiteral("Сад");
    t.Position = GeoPoint(10, 20);
    t.Angle = 0;   // east: direction 90
    t.OwnStyle = std::make_unique<TUserStyle>();
    t.OwnStyle->Size = 2.54L;   // 30 dots at 300 dpi
    t.SizeFactor = 3;           // not applied
    TDxfWriter w(nullptr);
    Plan().DrawTextToAcad(t, w);
    const std::vector<REntity> es = EntitiesOf(w);
    ASSERT_EQ(es.size(), size_t(1));
    EXPECT_EQ(es[0].Values[40], FltToStr(30 * 0.023L));
    EXPECT_EQ(es[0].Values[20], FltToStr3(10 - 30 * 0.03L));
    // An empty text writes nothing.
    t.Text.clear();
    TDxfWriter none(nullptr);
    Plan().DrawTextToAcad(t, none);
    EXPECT_TRUE(none.Lines().isEmpty());
}

TEST_F(DxfWriters, GridCrossesOnTheGridOfThePlanScale)
{
    TGeoMap& m = Plan();
    TDxfWriter off(nullptr);
    m.CoordCrossToAcad(10, 10, 160, 60, off);
    EXPECT_TRUE(off.Lines().isEmpty());   // the grid is off
    m.ShowCoordCross = 1;
    TDxfWriter w(nullptr);
    m.CoordCrossToAcad(10, 10, 160, 60, w);
    const std::vector<REntity> es = EntitiesOf(w);
    // Rows 50, 100, 150 north by one column 50 east: two lines of 6 m each.
    ASSERT_EQ(es.size(), size_t(6));
    EXPECT_EQ((QStringList{es[0].Values[10], es[0].Values[20], es[0].Values[11], es[0].Values[21]}),
              (QStringList{"50.000", "47.000", "50.000", "53.000"}));
    EXPECT_EQ((QStringList{es[1].Values[10], es[1].Values[20], es[1].Values[11], es[1].Values[21]}),
              (QStringList{"47.000", "50.000", "53.000", "50.000"}));
    EXPECT_EQ(es[5].Values[20], QStringLiteral("150.000"));
    m.MapProp.Scale = 0;
    TDxfWriter noScale(nullptr);
    m.CoordCrossToAcad(10, 10, 160, 60, noScale);
    EXPECT_TRUE(noScale.Lines().isEmpty());
}

// Two sheets 300 km apart at 1:500: the rectangle between them would take 36 million
// crosses; the crosses about each sheet are written instead, none over the gap.
TEST_F(DxfWriters, GridOfSheetsFarApartOnlyAboutTheSheets)
{
    TGeoMap& m = Plan();
    m.ShowCoordCross = 1;
    const auto sheet = [&](const char* name, Extended x, Extended y) {
        RGLayer& layer = testplan::AddLayer(testplan::AddPage(m, QString::fromLatin1(name)), QStringLiteral("слой"));
        for (const Extended d : {Extended(0), Extended(120)}) {
            layer.Points.AddItem(std::make_unique<RGPoint>());
            layer.Points.At(layer.Points.GetCount() - 1)->Position = GeoPoint(x + d, y + d);
        }
    };
    sheet("A", 1050, 2050);
    sheet("B", 301050, 302050);
    TDxfWriter w(nullptr);
    m.CoordCrossToAcad(1050, 2050, 301170, 302170, w);
    const std::vector<REntity> es = EntitiesOf(w);
    // Each sheet's extent (120 m square) widened by a step (50 m): the grid's rows
    // 1050..1200 by columns 2050..2200 about A, rows 301000..301150 by columns
    // 302000..302150 about B (the plan's rectangle ends there), two lines a cross.
    ASSERT_EQ(es.size(), size_t(2 * (16 + 16)));
    // The first cross at (1050, 2050), its north-south arm first; the last at
    // (301150, 302150), its east-west arm last.
    EXPECT_EQ(es.front().Values[20], QStringLiteral("1047.000"));
    EXPECT_EQ(es.front().Values[10], QStringLiteral("2050.000"));
    EXPECT_EQ(es.back().Values[21], QStringLiteral("301150.000"));
    EXPECT_EQ(es.back().Values[11], QStringLiteral("302153.000"));
    for (const REntity& e : es) {
        const double north = e.Values[20].toDouble();
        EXPECT_TRUE(north <= 1203 || north >= 300997) << north;
    }
    // A plan whose rectangle fits keeps every cross of it.
    TDxfWriter near(nullptr);
    m.CoordCrossToAcad(1050, 2050, 1150, 2150, near);
    EXPECT_EQ(EntitiesOf(near).size(), size_t(2 * 3 * 3));
}

// Guards one text refusing the whole export: a character the file's code page cannot
// hold becomes "?", a line break (which would cut the pairs apart) a blank, and the
// texts so changed are counted for the export's message. Percent signs in a row are
// written with the code of one percent sign each, so that CAD programs do not read them
// as the start of a special character; they change nothing of the text and are not
// counted.
TEST_F(DxfWriters, TextsTheFileCannotHoldAreWrittenWithStandIns)
{
    struct Case {
        QString text;
        const char* written;
        int changed;
    };
    const Case cases[] = {
        {QStringLiteral("Дом"), "Дом", 0},
        {QStringLiteral("угол α"), "угол ?", 1},
        {QStringLiteral("α и β"), "? и ?", 1},
        {QStringLiteral("две\r\nстроки"), "две строки", 1},
        {QStringLiteral("a\rb\nc\n\rd"), "a b c  d", 1},
        {QString::fromUtf8("\xF0\x9F\x8C\xB2 парк"), "? парк", 1},   // one character of two code units
        {QStringLiteral("на 100%"), "на 100%", 0},
        {QStringLiteral("50%%"), "50%%%%%%", 0},
        {QStringLiteral("%%c 10 и %%d"), "%%%%%%c 10 и %%%%%%d", 0},
        {QStringLiteral("%%%"), "%%%%%%%%%", 0},
        {QStringLiteral("5% и 7%"), "5% и 7%", 0},
        {QStringLiteral("%%α\n"), "%%%%%%? ", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        TDxfWriter w(nullptr);
        Plan().TextToAcad(w, c.text, 0, 0, 90, 100);
        const std::vector<REntity> es = EntitiesOf(w);
        ASSERT_EQ(es.size(), 1u);
        EXPECT_EQ(es[0].Values[1], QString::fromUtf8(c.written));
        EXPECT_EQ(w.ChangedTexts(), c.changed);
    }
    TDxfWriter w(nullptr);
    for (const char* text : {"α", "Дом", "две\nстроки", "β"})
        Plan().TextToAcad(w, QString::fromUtf8(text), 0, 0, 90, 100);
    EXPECT_EQ(w.ChangedTexts(), 3);
    EXPECT_THROW(w.Pair(1, u"α"), Exception) << "only texts are given stand-ins";
}

// Guards a grid counted only by its rows: sheets far apart whose own crosses are more
// than any file could hold are refused before a single cross is written.
TEST_F(DxfWriters, GridTooLargeAboutItsSheetsIsRefusedBeforeWriting)
{
    TGeoMap& m = Plan();
    m.ShowCoordCross = 1;
    const auto sheet = [&](const char* name, std::initializer_list<std::pair<Extended, Extended>> xy) {
        RGLayer& layer = testplan::AddLayer(testplan::AddPage(m, QString::fromLatin1(name)), QStringLiteral("слой"));
        for (const auto& [x, y] : xy) {
            layer.Points.AddItem(std::make_unique<RGPoint>());
            layer.Points.At(layer.Points.GetCount() - 1)->Position = GeoPoint(x, y);
        }
    };
    // 4200 by 4200 crosses about A alone, beyond the 2^24 any grid may have.
    sheet("A", {{0, 0}, {210000, 210000}});
    sheet("B", {{9000000, 9000000}});
    TDxfWriter w(nullptr);
    try {
        m.CoordCrossToAcad(0, 0, 9000000, 9000000, w);
        ADD_FAILURE() << "no refusal";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message.contains(QStringLiteral("Слишком много элементов сетки"))) << e.Message.toStdString();
    }
    EXPECT_TRUE(w.Lines().isEmpty());
}

namespace {

class DxfExport : public PlanFileFixture {
protected:
    void SetUp() override
    {
        PlanFileFixture::SetUp();
        for (const char* part : {"Условные знаки", "Шрифты", "Семантика"})
            CopyDataFolder(QString::fromUtf8(part), Folder());
        ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_SOURCE_DATA "/VIEWPORT.WRI"), Folder() + "VIEWPORT.WRI"));
        Semantics.emplace();
        Semantics->Open();
        Files.Surface = QSize(300, 200);
        M().ShowSymbols = 1;
        M().StrToComm(QStringLiteral("mcOpenMap=<signs.500><New><True><>"));
    }
    void TearDown() override
    {
        PlanFileFixture::TearDown();
        Semantics.reset();
    }

    TGeoMap& M() { return *Map; }

    // Exports to name in the plans folder and reads the file's lines back.
    QStringList Export(const QString& name = QStringLiteral("plan.dxf"))
    {
        M().ExportToDxf(Plans + name);
        QFile f(Plans + name);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        EXPECT_TRUE(bytes.endsWith("  0\r\nEOF\r\n"));
        EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n'));
        return DecodeCodePage(bytes).split(QStringLiteral("\r\n"));
    }

    static QStringList TextValues(const std::vector<REntity>& es)
    {
        QStringList texts;
        for (const REntity& e : es)
            if (e.Type == QLatin1String("TEXT"))
                texts.append(e.Values[1]);
        return texts;
    }

    RGLayer& Layer(const char* name)
    {
        for (const auto& page : M().Pages)
            for (const auto& layer : page->Layers)
                if (layer->Name == QString::fromUtf8(name))
                    return *layer;
        throw Exception(QStringLiteral("no layer"));
    }

    std::optional<TSemServices> Semantics;
};

}  // namespace

TEST_F(DxfExport, HeaderCentreInDxfAxesAndEveryObjectEvenNeverDrawn)
{
    // The plan was opened and never drawn: no object has a picture yet.
    for (const auto& p : Layer("Точки").Points)
        ASSERT_EQ(p->Picture.GetCount(), 0);
    const QStringList lines = Export();
    M().MaxMinCoord();
    EXPECT_EQ(lines[25], FltToStr3((M().ViewYMin + M().ViewYMax) / 2));   // east
    EXPECT_EQ(lines[27], FltToStr3((M().ViewXMin + M().ViewXMax) / 2));   // north
    EXPECT_EQ(lines[53], FltToStr3(M().ViewYMax - M().ViewYMin));
    EXPECT_NE(lines[25], lines[27]);
    const std::vector<REntity> fresh = Entities(lines);
    EXPECT_GT(Count(fresh, "LINE"), 100);
    EXPECT_GT(Count(fresh, "CIRCLE"), 10);
    EXPECT_GT(Count(fresh, "TEXT"), 10);
    for (const REntity& e : fresh)
        EXPECT_EQ(e.Values[8], QStringLiteral("0"));
    // Drawn on a screen whose window shows only a corner, the plan exports alike.
    M().Draw(300, 200, 0, ddScreen);
    M().DisplayScale = 50;
    M().CentreTarget = GeoPoint(1000, 2000);
    M().Draw(300, 200, 8, ddScreen);
    EXPECT_EQ(Export(QStringLiteral("again.dxf")), lines);
}

// Signs rendered for the file hold sizes in dots of 300 dpi: the screen renders them again
// when they come into its window, even in a mode that keeps the signs it has.
TEST_F(DxfExport, SignsRenderedForTheFileAreRenderedAgainForTheScreen)
{
    RGLayer& layer = Layer("Точки");
    // A sign name no sign has: an object rendered again gets its own back.
    const auto mark = [&] {
        for (const auto& p : layer.Points)
            p->SignName = QStringLiteral("метка");
    };
    const auto marked = [&] {
        int n = 0;
        for (const auto& p : layer.Points)
            n += p->SignName == QStringLiteral("метка");
        return n;
    };
    // A window where the whole plan shows its signs (at most four times the plan's scale):
    // a coarse screen.
    Files.Surface = QSize(1200, 900);
    M().ScreenDpi = 40;
    M().Draw(1200, 900, 0, ddScreen);
    ASSERT_LE(M().OutputScale, 2000);
    const int whole = M().MapViews.GetIndex();
    mark();
    M().Draw(1200, 900, 3, ddScreen);
    EXPECT_EQ(marked(), layer.Points.GetCount());   // kept: mode 3 renders nothing new
    // Export while the window is far off the plan: the screen's own drawing after it
    // leaves the signs as rendered for the file.
    M().DisplayScale = 500;
    M().CentreTarget = GeoPoint(-50000, -50000);
    M().Draw(1200, 900, 8, ddScreen);
    Export();
    EXPECT_GE(M().ForeignSigns.size(), layer.Points.GetCount());
    mark();
    ASSERT_TRUE(M().MapViews.GoItem(whole));   // back to the whole plan
    M().Draw(1200, 900, 3, ddScreen);
    EXPECT_EQ(marked(), 0);
    EXPECT_TRUE(M().ForeignSigns.isEmpty());
}

TEST_F(DxfExport, HeightsAsElevationOfContoursAndSpotHeights)
{
    // One contour loses its height mark.
    for (const auto& l : Layer("Точки").Lines)
        if (l->Semantics == QStringLiteral("ГОР/Ф031;ИВ152.50")) {
            l->Semantics = QStringLiteral("ГОР/Ф031");
            l->SignName.clear();
        }
    struct Case {
        std::uint8_t useH, inText;
        bool contourZ, spotPictureZ, spotCaptionZ;
    };
    const Case cases[] = {
        {0, 0, false, false, false},
        {0, 1, false, false, false},
        {1, 0, true, true, false},
        {1, 1, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.useH) * 10 + c.inText);
        M().UseHCAD = c.useH;
        M().UseHCADinText = c.inText;
        const std::vector<REntity> es = Entities(Export());
        QSet<QString> shapeZ, textZ;
        for (const REntity& e : es)
            (e.Type == QLatin1String("TEXT") ? textZ : shapeZ).insert(e.Values[30]);
        EXPECT_EQ(shapeZ.contains(QStringLiteral("150.000")), c.contourZ);
        EXPECT_EQ(shapeZ.contains(QStringLiteral("155.000")), c.contourZ);
        EXPECT_EQ(shapeZ.contains(QStringLiteral("152.340")), c.spotPictureZ);
        EXPECT_EQ(textZ.contains(QStringLiteral("152.340")), c.spotCaptionZ);
        // The contour without a height, and every other object, at 0.
        EXPECT_FALSE(shapeZ.contains(QStringLiteral("152.500")));
        EXPECT_TRUE(shapeZ.contains(QStringLiteral("0.000")));
        for (const QString& z : textZ)
            EXPECT_TRUE(z == QLatin1String("0.000") || c.contourZ || c.spotCaptionZ) << z.toStdString();
    }
}

TEST_F(DxfExport, HiddenSheetsLayersAndCaptionsStayOut)
{
    const std::vector<REntity> all = Entities(Export());
    // A point's caption hidden by its user placement (Show 2) is measured, not written;
    // shown (1) or as the sign says (0), it is written.
    RGPoint& point = *Layer("Точки").Points.At(0);
    ASSERT_GE(point.UserTexts.GetCount(), 2);
    ASSERT_EQ(point.UserTexts.At(1)->Show, 2);
    ASSERT_GE(point.AutoTexts.GetCount(), 2);
    ASSERT_EQ(point.AutoTexts.At(1)->Hidden, 1);
    const QString caption = point.AutoTexts.At(1)->Text;
    const auto occurrences = [&](const std::vector<REntity>& es) { return TextValues(es).count(caption); };
    for (std::uint8_t show : {1, 0}) {
        SCOPED_TRACE(int(show));
        point.UserTexts.At(1)->Show = show;
        point.SignName.clear();
        const std::vector<REntity> shown = Entities(Export());
        EXPECT_EQ(occurrences(shown), occurrences(all) + 1);
        EXPECT_EQ(point.AutoTexts.At(1)->Hidden, 0);
    }
    // The plan's one layer hidden, then its one sheet: nothing of theirs.
    Layer("Точки").Visible = 0;
    EXPECT_TRUE(Entities(Export()).empty());
    Layer("Точки").Visible = 1;
    for (const auto& page : M().Pages)
        page->Visible = 0;
    EXPECT_TRUE(Entities(Export()).empty());
}

// A bad template or a target that cannot be written is refused before anything is made
// or changed; an existing file stays whole.
TEST_F(DxfExport, RefusalsLeaveNoFileAndNoChange)
{
    M().Draw(300, 200, 0, ddScreen);   // the view the refusals must leave as it is
    const QString target = Plans + QStringLiteral("kept.dxf");
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    const QString templ = Folder() + QStringLiteral("VIEWPORT.WRI");
    const QStringList good = ReadTextFileLines(templ);
    struct Case {
        const char* what;
        std::function<void()> spoil;
        QString file;
        const char* message;
    };
    const Case cases[] = {
        {"no template", [&] { QFile::remove(templ); }, target, "Не найден шаблон"},
        {"53 lines", [&] { WriteTextFileLines(templ, good.mid(0, 53)); }, target, "53 строк"},
        {"a word for a number", [&] {
             QStringList l = good;
             l[27] = QStringLiteral("центр");
             WriteTextFileLines(templ, l);
         }, target, "в строке 27"},
        {"entities already", [&] { WriteTextFileLines(templ, good + QStringList{"  2", "ENTITIES"}); }, target,
         "ENTITIES"},
        {"no such folder", [] {}, Plans + QStringLiteral("нет/plan.dxf"), "Не удается создать файл DXF"},
        // Found only once the file is open: the file begun is dropped, the view put back.
        {"a grid no file could hold", [&] {
             M().ShowCoordCross = 1;
             RGLayer& layer = Layer("Точки");
             for (const Extended d : {Extended(-3000000), Extended(3000000)}) {
                 layer.Points.AddItem(std::make_unique<RGPoint>());
                 layer.Points.At(layer.Points.GetCount() - 1)->Position = GeoPoint(d, d);
             }
         }, target, "Слишком много элементов сетки"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteTextFileLines(templ, good);
        M().ShowCoordCross = 0;
        c.spoil();
        const Extended view[] = {M().ViewXMin, M().ViewYMin, M().ViewXMax, M().ViewYMax};
        try {
            M().ExportToDxf(c.file);
            ADD_FAILURE() << "no refusal";
        } catch (const Exception& e) {
            EXPECT_TRUE(e.Message.contains(QString::fromUtf8(c.message))) << e.Message.toStdString();
        }
        EXPECT_EQ(view[0], M().ViewXMin);
        EXPECT_EQ(view[3], M().ViewYMax);
        EXPECT_FALSE(QFile::exists(Plans + QStringLiteral("нет")));
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), QByteArray("old"));
        EXPECT_EQ(QDir(Plans).entryList({"*.dxf*"}, QDir::Files), QStringList{"kept.dxf"});
    }
}

// Guards one text refusing the whole export: the texts are written with their stand-ins,
// every other object with them, and the message of the export says how many changed.
TEST_F(DxfExport, TextsWithStandInsAreWrittenAndCountedInTheMessage)
{
    RGLayer& layer = Layer("Точки");
    for (const QString& text : {QStringLiteral("угол α"), QStringLiteral("две\r\nстроки"), QStringLiteral("50%%")}) {
        layer.Texts.AddItem(std::make_unique<RGText>());
        layer.Texts.At(layer.Texts.GetCount() - 1)->Text = text;
    }
    const QStringList texts = TextValues(Entities(Export()));
    EXPECT_TRUE(texts.contains(QStringLiteral("угол ?"))) << texts.join(u'|').toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("две строки")));
    EXPECT_TRUE(texts.contains(QStringLiteral("50%%%%%%")));
    ASSERT_EQ(Files.Asked.size(), 1u);
    EXPECT_EQ(Files.Asked[0].Kind, QStringLiteral("ShowMsg"));
    EXPECT_TRUE(Files.Asked[0].Text.contains(QStringLiteral("Изменено текстов: 2"))) << Files.Asked[0].Text.toStdString();

    // A plan whose texts the file holds as they are says nothing.
    layer.Texts.DeleteAll();
    Files.Asked.clear();
    Export();
    EXPECT_TRUE(Files.Asked.empty());
}

// Guards the export of the fixtures' full plan with the grid on, which wrote gigabytes
// of crosses before it found the grid too large: it is refused before the first cross,
// and neither the target nor a temporary file is left.
TEST_F(DxfExport, TheFullPlansGridIsRefusedBeforeAnythingIsWritten)
{
    M().StrToComm(QStringLiteral("mcOpenMap=<full.500><New><True><>"));
    ASSERT_GT(M().GetPagesCount(), 0);
    M().ShowCoordCross = 1;
    try {
        M().ExportToDxf(Plans + QStringLiteral("full.dxf"));
        ADD_FAILURE() << "no refusal";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message.contains(QStringLiteral("Слишком много элементов сетки"))) << e.Message.toStdString();
    }
    EXPECT_TRUE(QDir(Plans).entryList({"*.dxf*", "*.tmp"}, QDir::Files | QDir::Hidden).isEmpty());
}
