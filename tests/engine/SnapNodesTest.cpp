// The snapping candidates: which nodes of a small plan are offered, in which order and
// with which identities, the grid nodes after them, and the list a screen drawing leaves.
#include "EngineFixture.h"

#include <QString>
#include <vector>

namespace {

constexpr int W = 200, H = 150;
const QString GridName = QStringLiteral("Координатная сетка");

struct TNode {
    QString Semantics;
    Extended X, Y;
    int Page, Layer, Object, Kind;

    bool operator==(const TNode&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TNode& n)
{
    return os << n.Semantics.toStdString() << " (" << double(n.X) << ", " << double(n.Y) << ") " << n.Page << "/"
              << n.Layer << "/" << n.Object << " kind " << n.Kind;
}

template <class L>
auto& Add(L& list)
{
    list.AddItem(std::make_unique<std::remove_reference_t<decltype(*list.At(0))>>());
    return *list.At(list.GetCount() - 1);
}

template <class N>
void Nodes(N& nodes, std::initializer_list<std::pair<Extended, Extended>> at)
{
    for (const auto& [x, y] : at)
        Add(nodes).Position = GeoPoint(x, y);
}

class SnapNodes : public EngineFixture {
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        TGeoMap& m = Plan();
        Window.Surface = QSize(W, H);
        m.MapProp.Scale = 500;
        m.BackColor = 0xFFFFFF;
        // The window of the last drawing: X and Y from 1000 to 1100 at 1:500, 150 pixels
        // high.
        m.DrawDest = ddScreen;
        m.DrawH = H;
        m.OutputScale = 500;
        m.ViewXMin = m.ViewYMin = 1000;
        m.FactorX = m.FactorY = m.ScreenFactorAtOne() / 500;
        m.WindowMin = GeoPoint(1000, 1000);
        m.WindowMax = GeoPoint(1100, 1100);
    }

    TGeoMap& M() { return *Map; }

    RGLayer& Layer(int page, int layer) { return GrownLayer(M(), page, layer); }

    std::vector<TNode> Found(bool withGrid = true) const
    {
        std::vector<TNode> out;
        for (const auto& n : M().ScreenNodes) {
            if (!withGrid && n->Semantics == GridName)
                continue;
            out.push_back({n->Semantics, n->PlanPoint.X, n->PlanPoint.Y, n->PageIndex, n->LayerIndex,
                           n->ObjectIndex, n->PageIndex < 0 ? -1 : n->ObjectKind});
        }
        return out;
    }
    TGeoMap& M() const { return *Map; }
};

}  // namespace

TEST_F(SnapNodes, ObjectNodesInTheWindowInOrderThenTheGrid)
{
    // Sheet 0: a hidden layer, then a visible one; sheet 1 hidden.
    RGLayer& hiddenLayer = Layer(0, 0);
    hiddenLayer.Visible = 0;
    Add(hiddenLayer.Points).Position = GeoPoint(1010, 1010);
    RGLayer& layer = Layer(0, 1);
    RGLayer& hiddenSheet = Layer(1, 0);
    M().Pages.At(1)->Visible = 0;
    Add(hiddenSheet.Points).Position = GeoPoint(1020, 1020);

    // A point first in the list but last in the order; a text, never a candidate.
    RGPoint& point = Add(layer.Points);
    point.Semantics = QStringLiteral("ОТА");
    point.Position = GeoPoint(1030, 1030);
    Add(layer.Texts).Position = GeoPoint(1040, 1040);
    // Polygon 0 wholly outside; polygon 1 with its parts half in.
    Nodes(Add(layer.Polygons).Nodes, {{900, 900}, {900, 950}, {950, 950}});
    RGPolygon& g = Add(layer.Polygons);
    g.Semantics = QStringLiteral("ЗДН");
    Nodes(g.Nodes, {{1001, 1001}, {1200, 1001}, {1001, 1099}});
    Nodes(Add(g.Holes).Nodes, {{1011, 1011}, {1011, 1111}, {1012, 1012}});   // two of three in
    Nodes(Add(g.InnerLines).Nodes, {{1021, 1021}, {999.99L, 1021}});
    Nodes(g.InnerPoints, {{1031, 1031}});
    Add(g.InnerTexts).Position = GeoPoint(1041, 1041);
    // A line whose node carries a point of its own, which is no candidate.
    RGLine& l = Add(layer.Lines);
    l.Semantics = QStringLiteral("ДОР");
    Nodes(l.Nodes, {{1050, 1050}, {1100, 1100}, {1100.01L, 1050}});
    Add(l.Nodes.At(0)->NodePoints).Position = GeoPoint(1051, 1051);

    M().FindScreenNodes();
    const QString z = QStringLiteral("ЗДН"), d = QStringLiteral("ДОР");
    const std::vector<TNode> want = {
        {z, 1001, 1001, 0, 1, 1, 2}, {z, 1001, 1099, 0, 1, 1, 2},                 // outer contour
        {z, 1011, 1011, 0, 1, 1, 2}, {z, 1012, 1012, 0, 1, 1, 2},                 // inner contour
        {z, 1021, 1021, 0, 1, 1, 2},                                              // inner line
        {z, 1031, 1031, 0, 1, 1, 2},                                              // inner point
        {d, 1050, 1050, 0, 1, 0, 1}, {d, 1100, 1100, 0, 1, 0, 1},                 // the line, ends included
        {QStringLiteral("ОТА"), 1030, 1030, 0, 1, 0, 0},                         // the point
        // The grid from 1050 (the digit rule on 1000), row by row.
        {GridName, 1050, 1050, -1, -1, -1, -1}, {GridName, 1050, 1100, -1, -1, -1, -1},
        {GridName, 1100, 1050, -1, -1, -1, -1}, {GridName, 1100, 1100, -1, -1, -1, -1},
    };
    EXPECT_EQ(Found(), want);

    // Window pixels, without the scroll offset of the picture.
    const RFAPoint& first = *M().ScreenNodes.At(0);
    int xs = 0, ys = 0;
    M().GeoToScr(H, 1001, 1001, xs, ys);
    EXPECT_EQ(QPoint(first.ScreenX, first.ScreenY), QPoint(xs, ys));
    EXPECT_EQ(QPoint(xs, ys), QPoint(17, 133));   // 7.3 pixels a metre, margins of 10

    // Filled afresh each time.
    M().FindScreenNodes();
    EXPECT_EQ(Found().size(), want.size());
}

TEST_F(SnapNodes, GridNodesOnlyUpToEightTimesThePlanScale)
{
    Add(Layer(0, 0).Points).Position = GeoPoint(1050, 1050);
    struct Case { int outputScale; size_t count; };
    for (const Case c : {Case{500, 5}, Case{4000, 5}, Case{4001, 1}}) {
        SCOPED_TRACE(c.outputScale);
        M().OutputScale = c.outputScale;
        M().FindScreenNodes();
        EXPECT_EQ(Found().size(), c.count);
        EXPECT_EQ(Found(false).size(), 1u);
    }
    // No output scale or no plan scale yet: no grid either.
    M().OutputScale = 0;
    M().FindScreenNodes();
    EXPECT_EQ(Found().size(), 1u);
}

TEST_F(SnapNodes, FirstGridNodeOfEveryRowEvenPastTheEnd)
{
    // A window narrower than a step: 1010 starts at 1050, past the end 1040.
    M().WindowMin = GeoPoint(1010, 1010);
    M().WindowMax = GeoPoint(1040, 1140);
    M().FindScreenNodes();
    const std::vector<TNode> want = {
        {GridName, 1050, 1050, -1, -1, -1, -1}, {GridName, 1050, 1100, -1, -1, -1, -1}};
    EXPECT_EQ(Found(), want);
    // 1:300: steps of 30 from the multiple below the window's corner.
    M().MapProp.Scale = 300;
    M().OutputScale = 300;
    M().WindowMin = GeoPoint(1010, 1010);
    M().WindowMax = GeoPoint(1030, 1030);
    M().FindScreenNodes();
    const std::vector<TNode> want300 = {
        {GridName, 990, 990, -1, -1, -1, -1}, {GridName, 990, 1020, -1, -1, -1, -1},
        {GridName, 1020, 990, -1, -1, -1, -1}, {GridName, 1020, 1020, -1, -1, -1, -1}};
    EXPECT_EQ(Found(), want300);
}

// Through a screen drawing: the window is what the surface shows, not the picture three
// times its size; a drawing elsewhere leaves the list empty.
TEST_F(SnapNodes, ScreenDrawingCollectsWhileSnappingIsOn)
{
    auto v = std::make_unique<RMapView>();
    v->ViewXMin = v->ViewYMin = 1000;
    v->ViewXMax = v->ViewYMax = 1010;
    v->FactorX = v->FactorY = M().ScreenFactorAtOne() / 500;
    M().MapViews.AddItem(std::move(v));
    RGLayer& layer = Layer(0, 0);
    Add(layer.Points).Position = GeoPoint(1010, 1010);   // in the window
    Add(layer.Points).Position = GeoPoint(1010, 985);    // left of it, on the picture
    Add(layer.Points).Position = GeoPoint(1030, 1010);   // above it, on the picture
    M().LinkToNodes = 1;
    M().Draw(W, H, 3, ddScreen);
    ASSERT_TRUE(M().PointInDrawArea(GeoPoint(1010, 985)) && M().PointInDrawArea(GeoPoint(1030, 1010)));
    const std::vector<TNode> want = {{QString(), 1010, 1010, 0, 0, 0, 0}};
    EXPECT_EQ(Found(false), want);
    EXPECT_GT(Found().size(), 1u);

    M().LinkToNodes = 0;
    M().Draw(W, H, 3, ddScreen);
    EXPECT_EQ(M().ScreenNodes.GetCount(), 0);
    M().LinkToNodes = 1;
    M().Draw(W, H, 3, ddScreen);
    M().RasterDpi = M().ScreenDpi;
    M().RasterScale = 500;
    M().Draw(W, H, 3, ddRaster);
    EXPECT_EQ(M().ScreenNodes.GetCount(), 0);
}
