// The hit test through the grid of object extents against the plain test of every
// object, on a random plan and many random clicks.
#include "PlanBuilders.h"

#include <random>
#include <tuple>

namespace {

using namespace testplan;

using THit = std::tuple<int, int, int, int>;

std::vector<THit> Hits(const TFindedObjects& found)
{
    std::vector<THit> hits;
    for (const auto& r : found)
        hits.emplace_back(r->PageIndex, r->LayerIndex, r->ObjectIndex, r->Kind);
    return hits;
}

TGeoRect Square(Extended x, Extended y, Extended r)
{
    return {GeoPoint(x + r, y - r), GeoPoint(x + r, y + r), GeoPoint(x - r, y + r), GeoPoint(x - r, y - r)};
}

class HitTestExtents : public ClassifierFixture {};

}  // namespace

// Guards the grid as the hit test's first filter: whatever the click, the objects found
// through it are those the plain test of every object finds, in the same order. The
// plan holds what puts the filter to the test: texts turned, points, long and short
// lines (some with a track), large polygons whose contour test reaches beyond their
// box, hidden layers, objects whose kept extent lies elsewhere (moved by a command since
// their rendering) and objects with no coordinate at all.
TEST_F(HitTestExtents, TheGridFindsWhatThePlainTestsFind)
{
    TGeoMap& m = Plan();
    std::mt19937 random(20261211);
    std::uniform_real_distribution<double> coord(0, 300);
    std::uniform_real_distribution<double> step(-4, 4);
    for (const char* sheet : {"Первый", "Второй"}) {
        RGPage& page = AddPage(m, QString::fromUtf8(sheet));
        for (int l = 0; l < 3; ++l) {
            RGLayer& layer = AddLayer(page, QStringLiteral("Слой %1").arg(l), l == 2 ? 0 : 1);
            for (int i = 0; i < 400; ++i) {
                layer.Points.AddItem();
                RGPoint& p = *layer.Points.Item;
                p.Semantics = QStringLiteral("ТОЧ");
                p.Position = GeoPoint(coord(random), coord(random));
                if (i % 7 == 0)
                    p.Extent.Add(p.Position.X + 40, p.Position.Y - 40, 1);   // rendered elsewhere

                const Extended x = coord(random), y = coord(random), a = step(random), b = step(random);
                layer.Texts.AddItem();
                RGText& t = *layer.Texts.Item;
                t.Text = QStringLiteral("т");
                t.Position = GeoPoint(x, y);
                if (i % 9 != 0) {   // the others never measured
                    t.Frame = {GeoPoint(x, y), GeoPoint(x + a, y + 3 * b), GeoPoint(x + a - 2 * b, y + 3 * b + a),
                               GeoPoint(x - 2 * b, y + a)};
                    t.FrameValid = 1;
                }
            }
            for (int i = 0; i < 500; ++i) {
                layer.Lines.AddItem();
                RGLine& line = *layer.Lines.Item;
                line.Semantics = QStringLiteral("ГОР/Ф011");
                const int nodes = i % 3 == 0 ? 2 : 20;
                const Extended scale = i % 3 == 0 ? 0.5L : 1;
                Extended x = coord(random), y = coord(random);
                for (int k = 0; k < nodes; ++k) {
                    if (i % 4 == 0) {
                        line.Track.AddItem();
                        line.Track.Item->Point = GeoPoint(x + 0.3L, y);
                    }
                    line.Nodes.AddItem();
                    line.Nodes.Item->Position = GeoPoint(x, y);
                    x += scale * step(random);
                    y += scale * step(random);
                }
                if (i % 11 == 0)
                    line.Extent.Add(x + 60, y, 2);
            }
            for (int i = 0; i < 60; ++i) {
                layer.Polygons.AddItem();
                RGPolygon& polygon = *layer.Polygons.Item;
                polygon.Semantics = QStringLiteral("ПОЛ");
                const Extended cx = coord(random), cy = coord(random);
                const Extended r = i % 10 == 0 ? 150 : 3 + std::abs(step(random));
                for (int k = 0; k < 9; ++k) {
                    const Extended angle = k * 3.14159265358979L / 4.5L;
                    polygon.Nodes.AddItem();
                    polygon.Nodes.Item->Position = GeoPoint(cx + r * std::cos(angle), cy + r * std::sin(angle));
                }
            }
            layer.Polygons.AddItem();   // no node at all
            layer.Lines.AddItem();
        }
    }
    m.SelectPagesMode = 0;
    m.SelectLayersMode = 0;

    std::uniform_real_distribution<double> radius(0.05, 5);
    int found = 0;
    for (int c = 0; c < 600; ++c) {
        Extended x = coord(random), y = coord(random);
        // Every fourth click right on a node, every eighth on a polygon's corner: the
        // square's edges and corners meet the contours exactly.
        RGLayer& layer = *m.Pages.At(c % 2)->Layers.At(c % 3);
        if (c % 4 == 1) {
            const TGeoPoint& p = layer.Lines.At(c % 500)->Nodes.At(1)->Position;
            x = p.X;
            y = p.Y;
        } else if (c % 8 == 3) {
            const TGeoPoint& p = layer.Polygons.At(c % 60)->Nodes.At(c % 9)->Position;
            x = p.X;
            y = p.Y;
        }
        const TGeoRect rect = Square(x, y, c % 5 == 0 ? 1 : radius(random));
        m.SelectObjectKind = std::uint8_t(c % 7 == 6 ? 1 + c % 5 : 0);
        SCOPED_TRACE(testing::Message() << "click " << c << " at " << double(x) << ", " << double(y));
        m.FindByExtents = 0;
        m.FindObjects(x, y, rect);
        const std::vector<THit> plain = Hits(m.FoundObjects);
        m.FindByExtents = 1;
        m.FindObjects(x, y, rect);
        EXPECT_EQ(Hits(m.FoundObjects), plain);
        found += int(plain.size());
    }
    EXPECT_GT(found, 600);
    // One grid served every click: the plan did not change.
    ASSERT_NE(m.Extents, nullptr);
    EXPECT_EQ(m.Extents->Key(), m.ExtentKeyNow());
}

// Guards a grid kept past a change: a command changes the key, and the next search
// finds the object where it now stands.
TEST_F(HitTestExtents, ACommandMakesTheNextSearchBuildTheGridAgain)
{
    TGeoMap& m = Plan();
    RGLayer& layer = AddLayer(AddPage(m, QStringLiteral("Лист")), QStringLiteral("Слой"));
    layer.Points.AddItem();
    layer.Points.Item->Semantics = QStringLiteral("ТОЧ");
    layer.Points.Item->Position = GeoPoint(10, 10);
    m.FindObjects(10, 10, Square(10, 10, 1));
    ASSERT_EQ(m.FoundObjects.GetCount(), 1);
    const RExtentKey before = m.Extents->Key();
    m.StrToComm(QStringLiteral("mcNewPoint=<0><0><ТОЧ><50><60><2><0><><0><0>"));
    EXPECT_FALSE(m.ExtentKeyNow() == before);
    m.FindObjects(50, 60, Square(50, 60, 1));
    EXPECT_EQ(Hits(m.FoundObjects), (std::vector<THit>{{0, 0, 1, fkPoint}}));
}
