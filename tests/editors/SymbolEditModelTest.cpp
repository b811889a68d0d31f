// The sign picture editor without its window: the view, the grid and the primitives as
// rendered, hit tests, hover, drags, the regular polygon and the whole-element edits.
#include "editors/signs/SymbolEditModel.h"

#include "engine/draw/MapPainter.h"
#include "semantics/signs/Symbols.h"

#include <gtest/gtest.h>

namespace {

TSymbolEditView View(int w = 400, int h = 300, Extended k0 = 92.89L / 25.4L)
{
    TSymbolEditView v;
    v.W = w;
    v.H = h;
    v.K0 = k0;
    v.K = k0;
    return v;
}

RVpLayer& AddLayer(TVpLayers& pict)
{
    pict.AddItem();
    return *pict.Item;
}

void Square(TGeoPoints& points, Extended x0, Extended y0, Extended side)
{
    points.AddPoint(x0, y0);
    points.AddPoint(x0 + side, y0);
    points.AddPoint(x0 + side, y0 + side);
    points.AddPoint(x0, y0 + side);
}

QRgb GridRgb()
{
    return qRgb(146, 158, 192);
}

}  // namespace

TEST(SymbolEditView, MappingRoundTrips)
{
    struct Case { Extended k, minX, minY, x, y; QPointF pixel; };
    const Case cases[] = {
        {1, -10, -10, -10, -10, {10, 290}},
        {1, -10, -10, 0, 0, {20, 280}},
        {4, 0, 0, 2.5L, 1.25L, {15, 280}},
        {10, -3, 5, 7, 15, {110, 190}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(double(c.k));
        TSymbolEditView v = View();
        v.K = c.k;
        v.MinX = c.minX;
        v.MinY = c.minY;
        EXPECT_EQ(v.ToScreen(c.x, c.y), c.pixel);
        const TGeoPoint back = v.ToMM(c.pixel);
        EXPECT_NEAR(double(back.X), double(c.x), 1e-12);
        EXPECT_NEAR(double(back.Y), double(c.y), 1e-12);
    }
}

TEST(SymbolEditView, ExtentsTakeEveryPrimitiveKind)
{
    struct Case { const char* name; std::function<void(RVpLayer&)> fill; Extended minX, minY, maxX, maxY; };
    const Case cases[] = {
        {"polygon", [](RVpLayer& l) { l.Polygons.AddItem(); Square(l.Polygons.Item->Points, 1, 2, 3); }, 1, 2, 4, 5},
        {"circle", [](RVpLayer& l) { l.Circles.AddItem(); l.Circles.Item->Center = GeoPoint(1, 1); l.Circles.Item->Radius = 2; }, -1, -1, 3, 3},
        {"line", [](RVpLayer& l) { l.Lines.AddItem(); l.Lines.Item->P1 = GeoPoint(5, -1); l.Lines.Item->P2 = GeoPoint(-2, 7); }, -2, -1, 5, 7},
        {"polyline", [](RVpLayer& l) { l.Polylines.AddItem(); Square(l.Polylines.Item->Points, -3, -4, 1); }, -3, -4, -2, -3},
        // the position only, not the frame
        {"text", [](RVpLayer& l) { l.Texts.AddItem(); l.Texts.Item->Position = GeoPoint(2, 3);
                                  l.Texts.Item->Frame = {GeoPoint(0, 0), GeoPoint(9, 9), GeoPoint(9, 9), GeoPoint(0, 0)}; }, 2, 3, 2, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TVpLayers pict;
        c.fill(AddLayer(pict));
        TSymbolEditView v = View();
        v.SetExtentsOf(pict);
        EXPECT_EQ(v.MinX, c.minX);
        EXPECT_EQ(v.MinY, c.minY);
        EXPECT_EQ(v.MaxX, c.maxX);
        EXPECT_EQ(v.MaxY, c.maxY);
    }
    TVpLayers empty;
    TSymbolEditView v = View();
    v.MinX = 3;
    v.SetExtentsOf(empty);
    EXPECT_EQ(v.MinX, -10);
    EXPECT_EQ(v.MaxY, 10);
}

TEST(SymbolEditView, FitTakesTheNarrowerRatioOrTheUnitScale)
{
    TSymbolEditView v = View(420, 220);
    // An empty picture (-10..10 both ways) fits: min(400 / 20, 200 / 20) = 10.
    TVpLayers pict;
    v.SetExtentsOf(pict);
    v.Fit();
    EXPECT_EQ(v.K, 10);
    // One horizontal line: an empty X extent forbids fitting.
    RVpLayer& l = AddLayer(pict);
    l.Lines.AddItem();
    l.Lines.Item->P1 = GeoPoint(1, 0);
    l.Lines.Item->P2 = GeoPoint(1, 5);
    v.SetExtentsOf(pict);
    v.Fit();
    EXPECT_EQ(v.K, v.K0);
    // A huge picture would fit below 0.1 pixel a millimetre: the unit scale.
    v.SetExtents(GeoPoint(0, 0), GeoPoint(1e6L, 1e6L));
    v.Fit();
    EXPECT_EQ(v.K, v.K0);
    // A tiny one is held at 100 times the unit scale.
    v.SetExtents(GeoPoint(0, 0), GeoPoint(1e-6L, 1e-6L));
    v.Fit();
    EXPECT_EQ(v.K, v.K0 * 100);
}

TEST(SymbolEditView, ZoomKeepsTheMiddleAndStaysWithinItsBounds)
{
    struct Case { Extended factor, k; };
    TSymbolEditView probe = View();
    const Extended k0 = probe.K0;
    const Case cases[] = {{1.2L, k0 * 1.2L}, {1 / 1.2L, k0 / 1.2L}, {1e6L, k0 * 100}, {1e-9L, k0 / 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(double(c.factor));
        TSymbolEditView v = View();
        v.SetExtents(GeoPoint(-3, 2), GeoPoint(17, 40));
        const TGeoPoint before = v.ToMM(QPointF(200, 150));
        v.ZoomTo(c.factor);
        EXPECT_NEAR(double(v.K), double(c.k), 1e-12);
        const TGeoPoint after = v.ToMM(QPointF(200, 150));
        EXPECT_NEAR(double(after.X), double(before.X), 1e-9);
        EXPECT_NEAR(double(after.Y), double(before.Y), 1e-9);
        // All four extents moved alike.
        EXPECT_NEAR(double(v.MaxX - v.MinX), 20, 1e-9);
    }
}

TEST(SymbolEditView, PanMovesTheExtentsAgainstTheDrag)
{
    TSymbolEditView v = View();
    v.SetExtents(GeoPoint(0, 0), GeoPoint(10, 10));
    v.Pan(GeoPoint(1, 1), GeoPoint(3, -2));
    EXPECT_EQ(v.MinX, -2);
    EXPECT_EQ(v.MaxX, 8);
    EXPECT_EQ(v.MinY, 3);
    EXPECT_EQ(v.MaxY, 13);
}

TEST(SymbolEditView, StatusTexts)
{
    EXPECT_EQ(ZoomText(2, 2), QStringLiteral("1:1"));
    EXPECT_EQ(ZoomText(1, 2), QStringLiteral("1:2"));
    EXPECT_EQ(ZoomText(6, 2), QStringLiteral("3:1"));
    EXPECT_EQ(ZoomText(2.4L, 2), QStringLiteral("1:1"));   // 1.2 written without decimals
    EXPECT_EQ(ZoomText(0, 2), QStringLiteral("ошибка"));
    EXPECT_EQ(ZoomText(1, 0), QStringLiteral("ошибка"));
}

TEST(SymbolEditRender, GridLinesAreWidestAtZeroAndAtTens)
{
    TVpLayers pict;
    TSymbols symbols;
    TSymbolEditView v = View(200, 200, 5);
    v.K = 5;
    v.MinX = v.MinY = -20;
    QImage picture(600, 600, QImage::Format_RGB32);
    ASSERT_TRUE(RenderSymbolPicture(picture, QPoint(200, 200), pict, v, symbols));
    // Columns across one row away from any horizontal line: count the grid pixels of
    // the vertical line at Y = y by its width.
    const int row = int(v.ToScreen(-17.5L, 0).y()) + 200;
    const auto widthAt = [&](Extended y) {
        const int c = int(v.ToScreen(0, y).x()) + 200;
        int w = 0;
        for (int x = c - 4; x <= c + 4; ++x)
            w += picture.pixel(x, row) == GridRgb();
        return w;
    };
    EXPECT_EQ(widthAt(0), 4);
    EXPECT_EQ(widthAt(10), 2);
    EXPECT_EQ(widthAt(-10), 2);
    EXPECT_EQ(widthAt(3), 1);
}

TEST(SymbolEditRender, MillimetreLinesGiveWayWhenTooDense)
{
    // A hang guard: at a tiny scale only the 0 line (and the tens while 2 pixels apart)
    // are drawn, never a line per pixel.
    TVpLayers pict;
    TSymbols symbols;
    TSymbolEditView v = View(100, 100, 1);
    v.K = 0.01L;
    v.MinX = v.MinY = -1000;
    QImage picture(300, 300, QImage::Format_RGB32);
    ASSERT_TRUE(RenderSymbolPicture(picture, QPoint(100, 100), pict, v, symbols));
    int gridColumns = 0;
    for (int x = 0; x < 300; ++x)
        gridColumns += picture.pixel(x, 5) == GridRgb();
    EXPECT_EQ(gridColumns, 4);   // the 0 line alone: 10 mm is 0.1 pixel here
}

TEST(SymbolEditRender, ViewFarFromTheOriginRendersWithoutStalling)
{
    // A hang guard: at 1e20 millimetres a step of 1 no longer moves a real counter.
    TVpLayers pict;
    AddLayer(pict).Lines.AddItem();
    TSymbols symbols;
    TSymbolEditView v = View(100, 100, 4);
    v.MinX = v.MinY = 1e20L;
    QImage picture(300, 300, QImage::Format_RGB32);
    EXPECT_TRUE(RenderSymbolPicture(picture, QPoint(100, 100), pict, v, symbols));
    EXPECT_EQ(picture.pixel(150, 150), qRgb(255, 255, 255));
}

TEST(SymbolEditRender, FillKinds)
{
    struct Case { std::uint8_t kind; QRgb inside; };
    const Case cases[] = {{vfBackdrop, qRgb(255, 255, 255)}, {vfColor, qRgb(0, 0, 255)}, {vfNone, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.kind));
        TVpLayers pict;
        RVpLayer& l = AddLayer(pict);
        l.Polygons.AddItem();
        RVpPolygon& g = *l.Polygons.Item;
        Square(g.Points, 0.5L, 0.5L, 8);   // off the grid lines inside
        g.FillColor = 0xFF0000;            // blue, 0x00BBGGRR
        g.FillStyle = c.kind;
        g.PenColor = 0x0000FF;
        g.PenWidth = 0.1L;
        TSymbols symbols;
        TSymbolEditView v = View(200, 200, 10);
        v.K = 10;
        QImage picture(600, 600, QImage::Format_RGB32);
        RenderSymbolPicture(picture, QPoint(200, 200), pict, v, symbols);
        const QPointF inside = v.ToScreen(4.75L, 4.75L) + QPointF(200, 200);
        const QPointF onGrid = v.ToScreen(4.75L, 5) + QPointF(200, 200);
        const QRgb got = picture.pixel(inside.toPoint());
        if (c.kind == vfNone) {
            EXPECT_EQ(got, qRgb(255, 255, 255));
            EXPECT_EQ(picture.pixel(onGrid.toPoint()), GridRgb());   // the grid shows through
        } else {
            EXPECT_EQ(got, c.inside);
            EXPECT_EQ(picture.pixel(onGrid.toPoint()), c.inside);
        }
    }
}

TEST(SymbolEditRender, TextTooSmallIsNotDrawnAndKeepsItsFrame)
{
    TSymbols symbols;
    symbols.SetMeasurer(std::make_unique<TFixedTextMeasurer>(0.5));
    TVpLayers pict;
    RVpLayer& l = AddLayer(pict);
    l.Texts.AddItem();
    RVpText& t = *l.Texts.Item;
    t.Text = QStringLiteral("Аб");
    t.Angle = 90;
    t.Position = GeoPoint(4, 1);
    t.OwnStyle = std::make_unique<TUserStyle>();
    t.OwnStyle->FontName = QStringLiteral("Liberation Sans");
    t.OwnStyle->Size = 2;
    symbols.SetScaleFactor(0.25L);
    TSymbolEditView v = View(200, 200, 10);
    v.K = 10;
    QImage picture(600, 600, QImage::Format_RGB32);
    RenderSymbolPicture(picture, QPoint(200, 200), pict, v, symbols);
    EXPECT_EQ(symbols.MetresPerDot, 0.25L);   // restored
    // 20 pixels high, two characters of 10 pixels: 2 mm by 2 mm from the anchor down.
    EXPECT_NEAR(double(t.Frame[0].X), 4, 1e-9);
    EXPECT_NEAR(double(t.Frame[1].Y), 3, 1e-9);
    EXPECT_NEAR(double(t.Frame[2].X), 2, 1e-9);
    const TGeoRect kept = t.Frame;
    v.K = 0.2L;   // 2 mm * 0.2 = 0.4 pixel: rounds to 0
    RenderSymbolPicture(picture, QPoint(200, 200), pict, v, symbols);
    EXPECT_EQ(t.Frame[2].X, kept[2].X);
    EXPECT_EQ(t.Frame[1].Y, kept[1].Y);
}

TEST(SymbolEditTools, FindElementsAtHitsEachKindInElementOrder)
{
    TVpLayers pict;
    {
        RVpLayer& l = AddLayer(pict);
        l.Polygons.AddItem();
        Square(l.Polygons.Item->Points, 0, 0, 4);
    }
    {
        RVpLayer& l = AddLayer(pict);
        l.Circles.AddItem();
        l.Circles.Item->Center = GeoPoint(2, 2);
        l.Circles.Item->Radius = 1;
    }
    {
        RVpLayer& l = AddLayer(pict);
        l.Lines.AddItem();
        l.Lines.Item->P1 = GeoPoint(10, 0);
        l.Lines.Item->P2 = GeoPoint(10, 10);
    }
    {
        RVpLayer& l = AddLayer(pict);
        l.Polylines.AddItem();
        l.Polylines.Item->Points.AddPoint(20, 0);
        l.Polylines.Item->Points.AddPoint(20, 5);
        l.Polylines.Item->Points.AddPoint(25, 5);
    }
    {
        RVpLayer& l = AddLayer(pict);
        l.Texts.AddItem();
        l.Texts.Item->Frame = {GeoPoint(32, 0), GeoPoint(32, 6), GeoPoint(30, 6), GeoPoint(30, 0)};
    }
    struct Case { TGeoPoint at; std::vector<int> indexes; QStringList names; };
    const Case cases[] = {
        {GeoPoint(2, 2), {0, 1}, {QStringLiteral("Полигон"), QStringLiteral("Окружность")}},
        {GeoPoint(0.5L, 0.5L), {0}, {QStringLiteral("Полигон")}},
        {GeoPoint(4.01L, 2), {0}, {QStringLiteral("Полигон")}},   // the ends' distances exceed the edge by 0.00005
        {GeoPoint(4.1L, 2), {}, {}},   // the ends' distances exceed the edge by 0.005
        {GeoPoint(10.1L, 5), {2}, {QStringLiteral("Линия")}},
        {GeoPoint(10.3L, 5), {}, {}},
        {GeoPoint(22, 5.1L), {3}, {QStringLiteral("Полилиния")}},
        {GeoPoint(31, 3), {4}, {QStringLiteral("Текст")}},
        {GeoPoint(50, 50), {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(double(c.at.X));
        const auto found = FindElementsAt(pict, c.at, 0.25L);
        ASSERT_EQ(found.size(), c.indexes.size());
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(found[i].Index, c.indexes[i]);
            EXPECT_EQ(found[i].Name, c.names[int(i)]);
        }
    }
    EXPECT_EQ(ElementRows(pict), (QStringList{QStringLiteral("Полигон"), QStringLiteral("Окружность"),
                                             QStringLiteral("Линия"), QStringLiteral("Полининия"),
                                             QStringLiteral("Текст")}));
}

TEST(SymbolEditTools, HoverFindsNodeBodyAndRim)
{
    TSymbolEditView v = View(200, 200, 10);
    v.K = 10;
    v.MinX = v.MinY = 0;
    TVpLayers pict;
    RVpLayer& square = AddLayer(pict);
    square.Polygons.AddItem();
    Square(square.Polygons.Item->Points, 2, 2, 10);
    RVpLayer& circle = AddLayer(pict);
    circle.Circles.AddItem();
    circle.Circles.Item->Center = GeoPoint(8, 8);
    circle.Circles.Item->Radius = 5;
    RVpLayer& line = AddLayer(pict);
    line.Lines.AddItem();
    line.Lines.Item->P1 = GeoPoint(1, 1);
    line.Lines.Item->P2 = GeoPoint(1, 15);
    const auto px = [&](Extended x, Extended y) { return v.ToScreenInt(GeoPoint(x, y)); };
    struct Case { const RVpLayer* layer; QPoint mouse; THoverState state; int node; };
    const Case cases[] = {
        {&square, px(12, 2) + QPoint(4, -3), hsNode, 1},
        {&square, px(7, 7), hsBody, 0},
        {&square, px(20, 20), hsNothing, 0},
        {&circle, px(8, 8), hsBody, 0},
        {&circle, px(8, 13) + QPoint(3, 0), hsRim, 0},
        {&circle, px(8, 13) + QPoint(-4, 0), hsRim, 0},
        {&circle, px(8, 13) + QPoint(5, 0), hsNothing, 0},
        {&line, px(1, 15), hsNode, 1},
        {&line, px(1, 8) + QPoint(0, 3), hsBody, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mouse.x());
        const THover h = HoverAt(*c.layer, v, c.mouse, 5);
        EXPECT_EQ(h.State, c.state);
        if (c.state == hsNode)
            EXPECT_EQ(h.Node, c.node);
    }
}

TEST(SymbolEditTools, DragsMoveNodesBodiesAndRims)
{
    TVpLayers pict;
    RVpLayer& g = AddLayer(pict);
    g.Polygons.AddItem();
    Square(g.Polygons.Item->Points, 0, 0, 2);
    ApplyDrag(g, {hsNode, 2}, GeoPoint(1, -1), {});
    EXPECT_EQ(g.Polygons.Item->Points.At(2)->X, 3);
    EXPECT_EQ(g.Polygons.Item->Points.At(2)->Y, 1);
    EXPECT_EQ(g.Polygons.Item->Points.At(1)->X, 2);
    ApplyDrag(g, {hsBody, 0}, GeoPoint(1, 1), {});
    EXPECT_EQ(g.Polygons.Item->Points.At(0)->X, 1);
    EXPECT_EQ(g.Polygons.Item->Points.At(2)->Y, 2);

    RVpLayer& c = AddLayer(pict);
    c.Circles.AddItem();
    c.Circles.Item->Center = GeoPoint(5, 5);
    c.Circles.Item->Radius = 1;
    ApplyDrag(c, {hsRim, 0}, GeoPoint(9, 9), GeoPoint(8, 9));
    EXPECT_EQ(c.Circles.Item->Radius, 5);
    EXPECT_EQ(c.Circles.Item->Center.X, 5);

    RVpLayer& l = AddLayer(pict);
    l.Lines.AddItem();
    ApplyDrag(l, {hsNode, 1}, GeoPoint(2, 3), {});
    EXPECT_EQ(l.Lines.Item->P1.X, 0);
    EXPECT_EQ(l.Lines.Item->P2.Y, 3);
}

TEST(SymbolEditTools, DraggedFirstNodePreviewsEdgesToSecondAndLast)
{
    TSymbolEditView v = View(200, 200, 10);
    v.K = 10;
    v.MinX = v.MinY = 0;
    RVpLayer layer;
    layer.Polygons.AddItem();
    Square(layer.Polygons.Item->Points, 0, 0, 4);
    const TDragPreview p = DragPreview(layer, {hsNode, 0}, GeoPoint(1, 1), {}, v);
    ASSERT_EQ(p.Lines.size(), 1u);
    const QPolygonF expected = QPolygonF() << v.ToScreen(0, 4) << v.ToScreen(1, 1) << v.ToScreen(4, 0);
    EXPECT_EQ(p.Lines[0], expected);
}

TEST(SymbolEditTools, RegularPolygonCorners)
{
    const TGeoPoint centre = GeoPoint(1, 2);
    const auto eight = RegularPolygonCorners(centre, 3, 8);
    ASSERT_EQ(eight.size(), 9u);
    EXPECT_NEAR(double(eight[8].X), double(eight[0].X), 1e-12);
    EXPECT_NEAR(double(eight[8].Y), double(eight[0].Y), 1e-12);
    const auto six = RegularPolygonCorners(centre, 3, 6);
    ASSERT_GE(six.size(), 6u);
    EXPECT_NEAR(double(six[0].X), 4, 1e-12);   // due north
    EXPECT_NEAR(double(six[0].Y), 2, 1e-12);
    EXPECT_NEAR(double(six[1].Y), 2 + 3 * std::sin(M_PI / 3), 1e-9);   // clockwise: east next
    EXPECT_TRUE(RegularPolygonCorners(centre, 3, 2).empty());
    EXPECT_TRUE(RegularPolygonCorners(centre, 3, 0).empty());
    EXPECT_TRUE(RegularPolygonCorners(centre, 3, -4).empty());
}

TEST(SymbolEditTools, WholeElementEdits)
{
    TVpLayers pict;
    TNewPrimStyle s;
    s.PenColor = 0x0000FF;
    s.FillColor = 0x00FF00;
    s.FillKind = vfColor;
    s.Width = 0.3L;
    AddLine(pict, s, GeoPoint(0, 0), GeoPoint(1, 1));
    AddPolygon(pict, s, {GeoPoint(0, 0), GeoPoint(0, 4), GeoPoint(2, 6)});
    RVpText& t = AddText(pict, QStringLiteral("Т1"), GeoPoint(3, 3));
    EXPECT_EQ(t.Angle, 90);
    EXPECT_EQ(pict.GetIndex(), 2);
    const RVpPolygon& g = *pict.At(1)->Polygons.At(0);
    EXPECT_EQ(g.PenMode, pmCopy);
    EXPECT_EQ(g.FillStyle, vfColor);
    EXPECT_EQ(g.PenWidth, 0.3L);

    ApplyColours(*pict.At(1), 1, 2, vfNone);
    EXPECT_EQ(g.PenColor, 1);
    EXPECT_EQ(g.FillColor, 2);
    EXPECT_EQ(g.FillStyle, vfNone);
    ApplyColours(*pict.At(0), 7, 8, vfNone);
    EXPECT_EQ(pict.At(0)->Lines.At(0)->PenColor, 7);
    ApplyWidth(*pict.At(0), 0.5L);
    EXPECT_EQ(pict.At(0)->Lines.At(0)->PenWidth, 0.5L);

    EXPECT_FALSE(MoveElement(pict, 0, true));
    EXPECT_FALSE(MoveElement(pict, 2, false));
    EXPECT_TRUE(MoveElement(pict, 2, true));
    EXPECT_EQ(ElementRows(pict), (QStringList{QStringLiteral("Линия"), QStringLiteral("Текст"),
                                             QStringLiteral("Полигон")}));

    // Every polygon and polyline gets its reference point, not only the current one.
    AddPolyline(pict, s, {GeoPoint(0, -2), GeoPoint(0, 8)});
    SetReferencePoints(pict);
    EXPECT_EQ(pict.At(2)->Polygons.At(0)->RefPoint.Y, 3);
    EXPECT_EQ(pict.At(3)->Polylines.At(0)->RefPoint.Y, 3);
}
