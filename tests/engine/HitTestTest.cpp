// Hit testing at a click under the selection filter, the records it builds, their
// rebuilding after the plan changed, and the highlight colour's swing.
#include "PlanBuilders.h"

#include "foundation/GeoDataObjectsPolygons.h"
#include "foundation/GeoServ.h"
#include "platform/CodePage.h"
#include "semantics/codec/SemServices.h"

#include <random>
#include <tuple>

namespace {

using namespace testplan;

void AddPoint(RGLayer& layer, Extended x, Extended y, const char* sem = "ТОЧ")
{
    layer.Points.AddItem();
    layer.Points.Item->Semantics = QString::fromUtf8(sem);
    layer.Points.Item->Position = GeoPoint(x, y);
}

template <class L>
void AddNodes(L& nodes, std::initializer_list<TGeoPoint> points)
{
    for (const TGeoPoint& p : points) {
        nodes.AddItem();
        nodes.Item->Position = p;
    }
}

TGeoRect RectOf(Extended x1, Extended y1, Extended x2, Extended y2)
{
    return {GeoPoint(x2, y1), GeoPoint(x2, y2), GeoPoint(x1, y2), GeoPoint(x1, y1)};
}

// The pick rectangle the main window builds: a square of half-side r about the click.
TGeoRect PickRect(Extended x, Extended y, Extended r)
{
    return RectOf(x - r, y - r, x + r, y + r);
}

void AddAutoText(TAutoTexts& captions, int number, const TGeoRect& frame)
{
    captions.AddItem();
    captions.Item->CaptionNumber = number;
    captions.Item->Frame = frame;
    captions.Item->FrameValid = 1;
}

// sheet, layer, object, kind
using THit = std::tuple<int, int, int, int>;

std::vector<THit> Hits(const TFindedObjects& found)
{
    std::vector<THit> hits;
    for (const auto& r : found)
        hits.emplace_back(r->PageIndex, r->LayerIndex, r->ObjectIndex, r->Kind);
    return hits;
}

using TXY = std::pair<Extended, Extended>;

std::vector<TXY> Outline(const RFindedObjRegion& region)
{
    std::vector<TXY> points;
    for (const auto& p : region.Outline)
        points.emplace_back(p->X, p->Y);
    return points;
}

class HitTestTest : public ClassifierFixture {
protected:
    // Sheet 0 "Лист": raster 0 over (0,0)-(100,100); layer 0 "Здания" with a text framed
    // (8,20)-(10,30), a text never measured, points at (50,50) and (60,60), a line along
    // X = 40, a short line (70,70)-(70.5,70.5), a square (80,80)-(95,95) with the hole
    // (85,85)-(90,90); layer 1 "Скрытый", hidden, with a point at (50,50).
    // Sheet 1 "Архив", hidden, and sheet 2 "Двор": layer "Здания" with a point at (50,50).
    void BuildPlan()
    {
        TGeoMap& m = Plan();
        RGPage& sheet = AddPage(m, QStringLiteral("Лист"));
        sheet.Rastrs.AddItem();
        sheet.Rastrs.Item->FileName = QStringLiteral("/скан.bmp");
        sheet.Rastrs.Item->BottomLeft = GeoPoint(0, 0);
        sheet.Rastrs.Item->TopRight = GeoPoint(100, 100);
        RGLayer& houses = AddLayer(sheet, QStringLiteral("Здания"));
        houses.Texts.AddItem();
        houses.Texts.Item->Text = QStringLiteral("Склад");
        houses.Texts.Item->Frame = RectOf(8, 20, 10, 30);
        houses.Texts.Item->FrameValid = 1;
        houses.Texts.AddItem();
        houses.Texts.Item->Text = QStringLiteral("не нарисован");
        AddPoint(houses, 50, 50);
        AddPoint(houses, 60, 60, "ТОЧ/Ф010");
        houses.Lines.AddItem();
        houses.Lines.Item->Semantics = QStringLiteral("ГОР/Ф011");
        AddNodes(houses.Lines.Item->Nodes, {GeoPoint(40, 0), GeoPoint(40, 100)});
        houses.Lines.AddItem();
        houses.Lines.Item->Semantics = QStringLiteral("ГОР/Ф011");
        AddNodes(houses.Lines.Item->Nodes, {GeoPoint(70, 70), GeoPoint(70.5L, 70.5L)});
        houses.Polygons.AddItem();
        RGPolygon& square = *houses.Polygons.Item;
        square.Semantics = QStringLiteral("ЗДН/Ф001;К012;Н003");
        AddNodes(square.Nodes, {GeoPoint(80, 80), GeoPoint(80, 95), GeoPoint(95, 95), GeoPoint(95, 80)});
        square.Holes.AddItem();
        AddNodes(square.Holes.Item->Nodes,
                 {GeoPoint(85, 85), GeoPoint(85, 90), GeoPoint(90, 90), GeoPoint(90, 85)});
        AddPoint(AddLayer(sheet, QStringLiteral("Скрытый"), 0), 50, 50);
        AddPoint(AddLayer(AddPage(m, QStringLiteral("Архив"), 0), QStringLiteral("Здания")), 50, 50);
        AddPoint(AddLayer(AddPage(m, QStringLiteral("Двор")), QStringLiteral("Здания")), 50, 50);
    }

    void SetFilter(std::uint8_t pages, QStringList pageList, std::uint8_t layers,
                   QStringList layerList, std::uint8_t kind)
    {
        TGeoMap& m = Plan();
        m.SelectPagesMode = pages;
        m.SelectPagesList = pageList;
        m.SelectLayersMode = layers;
        m.SelectLayersList = layerList;
        m.SelectObjectKind = kind;
    }

    // A kind-2 nomenclature of one 2 km square at the origin, in a file of the run.
    QString NomenclatureFile()
    {
        const QString path = Path(QStringLiteral("один квадрат.wri"));
        WriteBytes(path, EncodeCodePage(JoinLinesCrLf({QStringLiteral("2"), QStringLiteral("Т"),
                                                       QStringLiteral("0 0")})));
        return path;
    }

    QString Readable(int lm, const QString& sem) const
    {
        QString text;
        SemServices()->decode2(lm, sem, text);
        return text;
    }

};

}  // namespace

TEST_F(HitTestTest, FilterAndHitTests)
{
    TGeoMap& m = Plan();
    BuildPlan();
    const QStringList none;
    const QString houses = QStringLiteral("Здания");
    struct Case {
        const char* Name;
        std::uint8_t Pages;
        QStringList PageList;
        std::uint8_t Layers;
        QStringList LayerList;
        std::uint8_t Kind;
        Extended X, Y, R;
        std::vector<THit> Expected;
    };
    const Case cases[] = {
        {"kind 0 never gives rasters", 0, none, 0, none, 0, 50, 50, 1,
         {{0, 0, 0, fkPoint}, {2, 0, 0, fkPoint}}},
        {"kind 1 gives only rasters", 0, none, 0, none, 1, 50, 50, 1, {{0, -1, 0, fkRastr}}},
        {"a raster is hit strictly inside", 0, none, 0, none, 1, 100, 50, 1, {}},
        {"kind 3 points only", 0, none, 0, none, 3, 60, 60, 0.5L, {{0, 0, 1, fkPoint}}},
        {"a point on the rectangle's edge is inside", 0, none, 0, none, 3, 49, 50, 1,
         {{0, 0, 0, fkPoint}, {2, 0, 0, fkPoint}}},
        {"a point 0.1 m outside is not", 0, none, 0, none, 3, 48.9L, 50, 1, {}},
        {"a text by its frame", 0, none, 0, none, 0, 9, 25, 0.1L, {{0, 0, 0, fkText}}},
        {"a text frame's edge counts", 0, none, 0, none, 2, 10, 30, 0.1L, {{0, 0, 0, fkText}}},
        {"a text never measured is not hit at the origin", 0, none, 0, none, 2, 0, 0, 0.1L, {}},
        {"a click in a hole finds the polygon", 0, none, 0, none, 0, 87, 87, 0.5L,
         {{0, 0, 0, fkPolygon}}},
        {"kind 5 polygons only", 0, none, 0, none, 5, 87, 87, 0.5L, {{0, 0, 0, fkPolygon}}},
        {"kind 3 gives no polygon", 0, none, 0, none, 3, 87, 87, 0.5L, {}},
        // The contour tests' edge tolerance grows with the edge: 5 cm beside the middle
        // of a 15 m side is still on it, which the box rejection must not lose.
        {"5 cm off a polygon's long side is on it", 0, none, 0, none, 5, 79.95L, 87.5L, 0.01L,
         {{0, 0, 0, fkPolygon}}},
        {"10 cm off it is outside", 0, none, 0, none, 5, 79.9L, 87.5L, 0.01L, {}},
        {"5 cm off a text frame's long side is on it", 0, none, 0, none, 2, 10.05L, 25, 0.01L,
         {{0, 0, 0, fkText}}},
        {"10 cm off it is outside the frame", 0, none, 0, none, 2, 10.1L, 25, 0.01L, {}},
        {"a line crossing the rectangle", 0, none, 0, none, 4, 40, 50, 1, {{0, 0, 0, fkLine}}},
        {"a short line wholly inside is found", 0, none, 0, none, 4, 70.2L, 70.2L, 1, {{0, 0, 1, fkLine}}},
        {"a short line crossing an edge", 0, none, 0, none, 4, 70, 71, 0.75L, {{0, 0, 1, fkLine}}},
        {"a hidden layer in the list is never searched", 0, none, 1,
         {QStringLiteral("Скрытый"), houses}, 3, 50, 50, 1, {{0, 0, 0, fkPoint}, {2, 0, 0, fkPoint}}},
        {"a layer listed twice gives its hits twice", 0, none, 1, {houses, houses}, 3, 50, 50, 1,
         {{0, 0, 0, fkPoint}, {0, 0, 0, fkPoint}, {2, 0, 0, fkPoint}, {2, 0, 0, fkPoint}}},
        {"a layer not listed", 0, none, 1, {QStringLiteral("Рельеф")}, 3, 50, 50, 1, {}},
        {"another layer scope finds nothing", 0, none, 2, none, 3, 50, 50, 1, {}},
        {"listed sheets in list order, hidden ones never", 1,
         {QStringLiteral("Двор"), QStringLiteral("Архив"), QStringLiteral("Лист")}, 0, none, 3, 50, 50, 1,
         {{2, 0, 0, fkPoint}, {0, 0, 0, fkPoint}}},
        {"kind 1 on listed sheets", 1, {QStringLiteral("Двор")}, 0, none, 1, 50, 50, 1, {}},
        {"scope 2 with no such cell searches every visible sheet", 2, none, 0, none, 3, 50, 50, 1,
         {{0, 0, 0, fkPoint}, {2, 0, 0, fkPoint}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        SetFilter(c.Pages, c.PageList, c.Layers, c.LayerList, c.Kind);
        m.FindObjects(c.X, c.Y, PickRect(c.X, c.Y, c.R));
        EXPECT_EQ(Hits(m.FoundObjects), c.Expected);
    }
}

TEST_F(HitTestTest, Scope2SearchesTheSheetOfTheClickedCellByTheMainPlansNomenclature)
{
    TGeoMap& m = Plan();
    BuildPlan();
    TGeoMap main;
    main.LoadNomenclatures(NomenclatureFile());
    const QString cell = main.CoordToNomenclature(50, 50);
    ASSERT_NE(cell, QStringLiteral("?"));
    m.Pages.GoItem(2);
    m.Pages.Item->Name = cell;
    SetFilter(2, {}, 0, {}, 3);

    // Without a main plan the plan searched names the cell: it has no table, so "?".
    m.FindObjects(50, 50, PickRect(50, 50, 1));
    EXPECT_EQ(Hits(m.FoundObjects), (std::vector<THit>{{0, 0, 0, fkPoint}, {2, 0, 0, fkPoint}}));
    MainMap = &main;
    m.FindObjects(50, 50, PickRect(50, 50, 1));
    EXPECT_EQ(Hits(m.FoundObjects), (std::vector<THit>{{2, 0, 0, fkPoint}}));
    // The cell's sheet hidden: searched nowhere else.
    m.Pages.At(2)->Visible = 0;
    m.FindObjects(50, 50, PickRect(50, 50, 1));
    EXPECT_TRUE(Hits(m.FoundObjects).empty());
    MainMap = nullptr;
}

TEST_F(HitTestTest, RecordsCarryLabelsAndRegionsInOrder)
{
    TGeoMap& m = Plan();
    BuildPlan();
    RGLayer& houses = *m.Pages.At(0)->Layers.At(0);
    AddAutoText(houses.Points.At(0)->AutoTexts, 3, RectOf(51, 51, 52, 55));
    RGPolygon& square = *houses.Polygons.At(0);
    AddAutoText(square.AutoTexts, 0, RectOf(86, 86, 87, 89));
    RGLine& line = *houses.Lines.At(0);
    for (const TGeoPoint& p : {GeoPoint(40, 0), GeoPoint(40.5L, 50), GeoPoint(40, 100)}) {
        line.Track.AddItem();
        line.Track.Item->Point = p;
    }

    SetFilter(0, {}, 0, {}, 0);
    m.FindObjects(50, 50, PickRect(50, 50, 1));
    ASSERT_EQ(m.FoundObjects.GetCount(), 2);
    const RFindedObject& point = *m.FoundObjects.At(0);
    EXPECT_EQ(point.Description, QStringLiteral("(точ) ") + Readable(0, QStringLiteral("ТОЧ")));
    EXPECT_EQ(point.Semantics, QStringLiteral("ТОЧ"));
    ASSERT_EQ(point.Regions.GetCount(), 2);
    EXPECT_EQ(point.Regions.At(0)->IsCaption, 0);
    EXPECT_EQ(Outline(*point.Regions.At(0)), std::vector<TXY>{TXY(50, 50)});
    EXPECT_EQ(point.Regions.At(1)->IsCaption, 1);
    EXPECT_EQ(point.Regions.At(1)->Number, 3);
    EXPECT_EQ(Outline(*point.Regions.At(1)).size(), 4u);

    m.FindObjects(40.5L, 50, PickRect(40.5L, 50, 0.2L));   // on the track, off the nodes
    ASSERT_EQ(m.FoundObjects.GetCount(), 1);
    const RFindedObject& l = *m.FoundObjects.At(0);
    EXPECT_EQ(l.Description, QStringLiteral("(лин) ") + Readable(1, QStringLiteral("ГОР/Ф011")));
    EXPECT_TRUE(l.Semantics.isEmpty());
    EXPECT_EQ(l.Track.GetCount(), 3);
    ASSERT_EQ(l.Regions.GetCount(), 1);
    EXPECT_EQ(Outline(*l.Regions.At(0)), (std::vector<TXY>{TXY(40, 0), TXY(40, 100)}));

    m.FindObjects(87, 87, PickRect(87, 87, 0.1L));
    ASSERT_EQ(m.FoundObjects.GetCount(), 1);
    const RFindedObject& p = *m.FoundObjects.At(0);
    EXPECT_EQ(p.Description,
              QStringLiteral("(пол) ") + Readable(2, QStringLiteral("ЗДН/Ф001;К012;Н003")));
    ASSERT_EQ(p.Regions.GetCount(), 3);
    EXPECT_EQ(std::make_tuple(p.Regions.At(0)->IsCaption, p.Regions.At(0)->Number), std::make_tuple(0, 0));
    EXPECT_EQ(std::make_tuple(p.Regions.At(1)->IsCaption, p.Regions.At(1)->Number), std::make_tuple(0, 1));
    EXPECT_EQ(Outline(*p.Regions.At(1)).front(), TXY(85, 85));
    EXPECT_EQ(std::make_tuple(p.Regions.At(2)->IsCaption, p.Regions.At(2)->Number), std::make_tuple(1, 0));

    m.FindObjects(9, 25, PickRect(9, 25, 0.1L));
    ASSERT_GE(m.FoundObjects.GetCount(), 1);
    const RFindedObject& t = *m.FoundObjects.At(0);
    EXPECT_EQ(t.Description, QStringLiteral("(тек) Склад"));
    ASSERT_EQ(t.Regions.GetCount(), 1);
    EXPECT_EQ(std::make_tuple(t.Regions.At(0)->IsCaption, t.Regions.At(0)->Number), std::make_tuple(1, 0));
    EXPECT_EQ(Outline(*t.Regions.At(0)), (std::vector<TXY>{TXY(10, 20), TXY(10, 30),
                                                        TXY(8, 30), TXY(8, 20)}));

    m.SelectObjectKind = 1;
    m.FindObjects(9, 25, PickRect(9, 25, 0.1L));
    ASSERT_EQ(m.FoundObjects.GetCount(), 1);
    const RFindedObject& r = *m.FoundObjects.At(0);
    EXPECT_EQ(r.Description, QStringLiteral("(рас)/скан.bmp"));
    EXPECT_EQ(Outline(*r.Regions.At(0)), (std::vector<TXY>{TXY(100, 0), TXY(100, 100),
                                                        TXY(0, 100), TXY(0, 0)}));
}

TEST_F(HitTestTest, ReFindRebuildsFromThePlanOrDropsARecordWhoseObjectIsGone)
{
    TGeoMap& m = Plan();
    BuildPlan();
    SetFilter(0, {}, 0, {}, 0);
    m.FindObjects(50, 50, PickRect(50, 50, 1));
    ASSERT_EQ(m.FoundObjects.GetCount(), 2);

    RGPoint& point = *m.Pages.At(0)->Layers.At(0)->Points.At(0);
    point.Semantics = QStringLiteral("ТОЧ/Ф010");
    point.Position = GeoPoint(51, 52);
    AddAutoText(point.AutoTexts, 0, RectOf(1, 1, 2, 2));
    m.ReFind(0);
    ASSERT_EQ(m.FoundObjects.GetCount(), 2);
    const RFindedObject& r = *m.FoundObjects.At(0);
    EXPECT_EQ(r.Description, QStringLiteral("(точ) ") + Readable(0, QStringLiteral("ТОЧ/Ф010")));
    EXPECT_EQ(r.Semantics, QStringLiteral("ТОЧ/Ф010"));
    ASSERT_EQ(r.Regions.GetCount(), 2);
    EXPECT_EQ(Outline(*r.Regions.At(0)), std::vector<TXY>{TXY(51, 52)});
    EXPECT_EQ(m.GetCurrentPage(), 0);
    EXPECT_EQ(m.Pages.Item->Layers.Item->Points.GetIndex(), 0);

    m.ReFind(2);
    m.ReFind(-1);
    EXPECT_EQ(m.FoundObjects.GetCount(), 2);

    // Deleted, and the sheet's layer emptied: the record goes, whatever is current.
    m.Pages.At(2)->Layers.At(0)->Points.GoFirstItem();
    m.Pages.At(2)->Layers.At(0)->Points.DeleteItem();
    m.Pages.GoItem(0);
    m.ReFind(1);
    ASSERT_EQ(m.FoundObjects.GetCount(), 1);
    EXPECT_EQ(m.FoundObjects.At(0)->PageIndex, 0);
    m.Pages.DeleteAll();
    m.ReFind(0);
    EXPECT_EQ(m.FoundObjects.GetCount(), 0);
}

// Guards the shortcuts of the search (box rejections, the tests spread over threads on
// a large plan): on a plan big enough to use threads, every click finds exactly what
// the plain tests of every object find, in the same order.
TEST_F(HitTestTest, ALargePlanGivesWhatThePlainTestsGive)
{
    TGeoMap& m = Plan();
    std::mt19937 random(20261210);
    std::uniform_real_distribution<double> coord(0, 200);
    std::uniform_real_distribution<double> step(-3, 3);
    RGPage& sheet = AddPage(m, QStringLiteral("Лист"));
    int nodes = 0;
    for (const char* name : {"Первый", "Второй"}) {
        RGLayer& layer = AddLayer(sheet, QString::fromUtf8(name));
        for (int i = 0; i < 300; ++i) {
            AddPoint(layer, coord(random), coord(random));
            const Extended x = coord(random), y = coord(random);
            layer.Texts.AddItem();
            layer.Texts.Item->Text = QStringLiteral("т");
            layer.Texts.Item->Frame = RectOf(x, y, x + 1.5L, y + 4);
        }
        for (int i = 0; i < 1600; ++i) {
            layer.Lines.AddItem();
            layer.Lines.Item->Semantics = QStringLiteral("ГОР/Ф011");
            // Some lines hold a track, which is tested in place of their nodes.
            const bool track = i % 5 == 0;
            Extended x = coord(random), y = coord(random);
            for (int k = 0; k < 50; ++k, ++nodes) {
                if (track) {
                    layer.Lines.Item->Track.AddItem();
                    layer.Lines.Item->Track.Item->Point = GeoPoint(x, y);
                }
                layer.Lines.Item->Nodes.AddItem();
                layer.Lines.Item->Nodes.Item->Position = GeoPoint(x + (track ? 50 : 0), y);
                x += step(random);
                y += step(random);
            }
        }
        for (int i = 0; i < 400; ++i) {
            layer.Polygons.AddItem();
            layer.Polygons.Item->Semantics = QStringLiteral("ПОЛ");
            const Extended cx = coord(random), cy = coord(random);
            for (int k = 0; k < 12; ++k, ++nodes) {
                const Extended a = k * 3.14159265358979L / 6, r = 2 + std::abs(step(random));
                layer.Polygons.Item->Nodes.AddItem();
                layer.Polygons.Item->Nodes.Item->Position = GeoPoint(cx + r * std::cos(a), cy + r * std::sin(a));
            }
        }
    }
    ASSERT_GT(nodes, 150000);

    // The plain tests, object by object.
    const auto expected = [&](Extended x, Extended y, const TGeoRect& rect) {
        std::vector<THit> hits;
        for (int l = 0; l < sheet.Layers.GetCount(); ++l) {
            const RGLayer& layer = *sheet.Layers.At(l);
            for (int i = 0; i < layer.Texts.GetCount(); ++i)
                if (PointInGeoRect(layer.Texts.At(i)->Frame, x, y))
                    hits.emplace_back(0, l, i, fkText);
            for (int i = 0; i < layer.Points.GetCount(); ++i) {
                const TGeoPoint& p = layer.Points.At(i)->Position;
                if (PointInGeoRect(rect, p.X, p.Y))
                    hits.emplace_back(0, l, i, fkPoint);
            }
            for (int i = 0; i < layer.Lines.GetCount(); ++i) {
                const RGLine& line = *layer.Lines.At(i);
                std::vector<TGeoPoint> points;
                if (line.Track.GetCount() > 0)
                    for (const auto& p : line.Track)
                        points.push_back(p->Point);
                else
                    for (const auto& n : line.Nodes)
                        points.push_back(n->Position);
                if (!points.empty() && PointInGeoRect(rect, points[0].X, points[0].Y)) {
                    hits.emplace_back(0, l, i, fkLine);
                    continue;
                }
                for (std::size_t k = 1; k < points.size(); ++k)
                    if (SegmentCrossesGeoRect(points[k - 1], points[k], rect)) {
                        hits.emplace_back(0, l, i, fkLine);
                        break;
                    }
            }
            for (int i = 0; i < layer.Polygons.GetCount(); ++i)
                if (PointInGPolygon(layer.Polygons.At(i)->Nodes, x, y))
                    hits.emplace_back(0, l, i, fkPolygon);
        }
        return hits;
    };

    SetFilter(0, {}, 0, {}, 0);
    std::uniform_real_distribution<double> radius(0.2, 4);
    int found = 0;
    for (int c = 0; c < 40; ++c) {
        // Half of the clicks on a node, so that rectangle edges meet nodes exactly.
        Extended x = coord(random), y = coord(random);
        if (c % 2 == 1) {
            const TGeoPoint& p = sheet.Layers.At(c % 4 / 2)->Lines.At(c * 37)->Nodes.At(c)->Position;
            x = p.X;
            y = p.Y;
        }
        const Extended r = c % 4 == 1 ? 1 : radius(random);
        const TGeoRect rect = PickRect(x, y, r);
        SCOPED_TRACE(c);
        m.FindObjects(x, y, rect);
        const std::vector<THit> hits = Hits(m.FoundObjects);
        EXPECT_EQ(hits, expected(x, y, rect));
        found += static_cast<int>(hits.size());
    }
    EXPECT_GT(found, 40);
}

// Guards picking at the window's true scale: at 1 m per pixel the default pick radius of
// 10 pixels gives a square of 5 m each way about the click, so a 5 m line under the
// click lies wholly inside it and was never found; nor was a line through two of its
// corners, which meets every edge only at an end.
TEST_F(HitTestTest, LinesUnderAClickAtOneMetrePerPixel)
{
    TGeoMap& m = Plan();
    RGLayer& layer = AddLayer(AddPage(m, QStringLiteral("Лист")), QStringLiteral("Сети"));
    struct Case {
        const char* Name;
        std::vector<TGeoPoint> Nodes;
        bool Found;
    };
    // The click at (100, 100); the square from (95, 95) to (105, 105).
    const Case cases[] = {
        {"a 5 m line clicked in its middle", {GeoPoint(98.5L, 98), GeoPoint(101.5L, 102)}, true},
        {"a 5 m line clicked on its first node", {GeoPoint(100, 100), GeoPoint(103, 104)}, true},
        {"a 5 m line clicked on its last node", {GeoPoint(97, 96), GeoPoint(100, 100)}, true},
        {"through two opposite corners", {GeoPoint(90, 90), GeoPoint(110, 110)}, true},
        {"through the two other corners", {GeoPoint(110, 90), GeoPoint(90, 110)}, true},
        {"along the north edge", {GeoPoint(105, 80), GeoPoint(105, 120)}, true},
        {"ending on the west edge", {GeoPoint(100, 80), GeoPoint(100, 95)}, true},
        {"a long line across", {GeoPoint(0, 100), GeoPoint(200, 100)}, true},
        {"half a metre beside the square", {GeoPoint(105.5L, 80), GeoPoint(105.5L, 120)}, false},
        {"a 5 m line 6 m away", {GeoPoint(106, 100), GeoPoint(111, 100)}, false},
    };
    SetFilter(0, {}, 0, {}, 4);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        layer.Lines.DeleteAll();
        layer.Lines.AddItem();
        layer.Lines.Item->Semantics = QStringLiteral("ГОР/Ф011");
        for (const TGeoPoint& p : c.Nodes) {
            layer.Lines.Item->Nodes.AddItem();
            layer.Lines.Item->Nodes.Item->Position = p;
        }
        m.FindObjects(100, 100, PickRect(100, 100, 5));
        EXPECT_EQ(m.FoundObjects.GetCount(), c.Found ? 1 : 0);
    }
}

TEST_F(HitTestTest, NextColorSwingsInTenStepsEachWay)
{
    TGeoMap& m = Plan();
    EXPECT_EQ(m.HighlightColor, m.HighlightColor1);
    m.HighlightColor1 = 0x0021C80A;   // red 10, green 200, blue 33
    m.HighlightColor2 = 0x00300FFA;   // red 250, green 15, blue 48
    m.HighlightColor = m.HighlightColor1;
    m.NextColor();
    // Steps of 24, -18 (-18.5 to the even) and 2 (1.5 to the even).
    EXPECT_EQ(m.HighlightColor, 0x0023B622);
    for (int i = 1; i < 10; ++i)
        m.NextColor();
    EXPECT_EQ(m.HighlightColor, m.HighlightColor2);
    EXPECT_EQ(m.HighlightRising, 0);
    EXPECT_EQ(m.HighlightStep, 9);
    for (int i = 0; i < 10; ++i)
        m.NextColor();
    EXPECT_EQ(m.HighlightColor, m.HighlightColor1);
    EXPECT_EQ(m.HighlightRising, 1);
    EXPECT_EQ(m.HighlightStep, 0);
}

// Guards a channel carrying into its neighbour: ten rounded steps of 2 overshoot a
// difference of 15, which must stop at 255, not spill into green.
TEST_F(HitTestTest, NextColorKeepsEachChannelInItsByte)
{
    TGeoMap& m = Plan();
    m.HighlightColor1 = 0x000000F0;
    m.HighlightColor2 = 0x000000FF;
    m.HighlightColor = m.HighlightColor1;
    for (int i = 0; i < 9; ++i) {
        m.NextColor();
        EXPECT_EQ(m.HighlightColor & ~0xFF, 0);
    }
    EXPECT_EQ(m.HighlightColor, 0xFF);
}
