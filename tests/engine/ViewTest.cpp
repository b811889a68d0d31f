// The plan-screen transforms of each destination, the fit of a view into a window, the
// view steps of the drawing modes on the view history, the output scale, the picture
// corners, the plan's extents and the visibility tests of the drawing pass.
#include "EngineFixture.h"

#include "engine/EngineServices.h"
#include "support/TestHelpers.h"

#include <initializer_list>
#include <memory>
#include <utility>

namespace {


inline RGPage& AddPage(TGeoMap& m, const QString& name, std::uint8_t visible = 1)
{
    auto page = std::make_unique<RGPage>();
    page->Name = name;
    page->Visible = visible;
    m.Pages.AddItem(std::move(page));
    return *m.Pages.Item;
}

inline RGLayer& AddLayer(RGPage& page)
{
    page.Layers.AddItem();
    return *page.Layers.Item;
}

inline RGPoint& AddPoint(RGLayer& layer, Extended x, Extended y)
{
    layer.Points.AddItem();
    layer.Points.Item->Position = GeoPoint(x, y);
    return *layer.Points.Item;
}

inline void AddText(TGTexts& texts, Extended x, Extended y)
{
    texts.AddItem();
    texts.Item->Position = GeoPoint(x, y);
}

inline RGLine& AddLine(RGLayer& layer, std::initializer_list<std::pair<Extended, Extended>> nodes)
{
    layer.Lines.AddItem();
    RGLine& line = *layer.Lines.Item;
    for (const auto& [x, y] : nodes) {
        line.Nodes.AddItem();
        line.Nodes.Item->Position = GeoPoint(x, y);
    }
    return line;
}

inline void AddNodes(TGPolygonNodes& nodes, std::initializer_list<std::pair<Extended, Extended>> points)
{
    for (const auto& [x, y] : points) {
        nodes.AddItem();
        nodes.Item->Position = GeoPoint(x, y);
    }
}

inline RGPolygon& AddPolygon(RGLayer& layer, std::initializer_list<std::pair<Extended, Extended>> nodes)
{
    layer.Polygons.AddItem();
    AddNodes(layer.Polygons.Item->Nodes, nodes);
    return *layer.Polygons.Item;
}

inline RGRastr& AddRastr(RGPage& page, Extended x1, Extended y1, Extended x2, Extended y2)
{
    page.Rastrs.AddItem();
    page.Rastrs.Item->BottomLeft = GeoPoint(x1, y1);
    page.Rastrs.Item->TopRight = GeoPoint(x2, y2);
    return *page.Rastrs.Item;
}


// Screen pixels per centimetre of ground at 1:1 with the default resolution.
const Extended S = 92.89L / 2.54L;

void SetView(TGeoMap& m, Extended x0, Extended y0, Extended x1, Extended y1, Extended k)
{
    m.ViewXMin = x0;
    m.ViewYMin = y0;
    m.ViewXMax = x1;
    m.ViewYMax = y1;
    m.FactorX = m.FactorY = k;
}

// A window that also shows its scale box.
class TScaleWindow : public TFakeEngineServices {
public:
    void SetScaleBox(const QString& text) override { ScaleBox = text; }
    QString ScaleBox;
};

}  // namespace

class ViewTest : public EngineFixture {
protected:
    // A plan 100 m north-south (X 0..100) by 50 m east-west (Y 0..50) on one sheet.
    TGeoMap& PlanOf100By50()
    {
        TGeoMap& m = Plan();
        RGLayer& layer = AddLayer(AddPage(m, QStringLiteral("A")));
        AddPoint(layer, 0, 0);
        AddPoint(layer, 100, 50);
        return m;
    }

    void Step(TDrawMode mode, int W = 1020, int H = 520)
    {
        Plan().DrawMode = mode;
        Plan().ViewStep(W, H);
    }
};

TEST_F(ViewTest, GeoToScrPerDestinationWithMarginsAndHalvesToEven)
{
    struct Case { TDrawDest dest; Extended k, xg, yg; int xs, ys; };
    const Case cases[] = {
        // The view's south-west corner: the margins of 10 pixels but for a raster image.
        {ddScreen, 0.25L, 1000, 2000, 10, 590},
        {ddDxf, 0.25L, 1000, 2000, 10, 590},
        {ddPrinter, 1, 1000, 2000, 10, 590},
        {ddRaster, 0.25L, 1000, 2000, 0, 600},
        // 25 pixels per metre on the screen, 1 per metre on the printer.
        {ddScreen, 0.25L, 1004, 2002, 60, 490},
        {ddRaster, 0.25L, 1004, 2002, 50, 500},
        {ddPrinter, 1, 1004, 2002, 12, 586},
        {ddScreen, 0.25L, 990, 1996, -90, 840},
        // Halves to even, each product on its own.
        {ddPrinter, 1, 1000.5L, 2000.5L, 10, 590},
        {ddPrinter, 1, 1001.5L, 2001.5L, 12, 588},
        {ddPrinter, 1, 1002.5L, 2002.5L, 12, 588},
        {ddPrinter, 1, 999.5L, 1999.5L, 10, 590},
        {ddPrinter, 1, 998.5L, 1998.5L, 8, 592},
    };
    TGeoMap& m = Plan();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.dest) << " " << double(c.xg) << " " << double(c.yg));
        SetView(m, 1000, 2000, 0, 0, c.k);
        m.DrawDest = c.dest;
        int xs = -7, ys = -7;
        m.GeoToScr(600, c.xg, c.yg, xs, ys);
        EXPECT_EQ(xs, c.xs);
        EXPECT_EQ(ys, c.ys);
    }
}

TEST_F(ViewTest, ScrToGeoInvertsEachDestination)
{
    TGeoMap& m = Plan();
    for (TDrawDest dest : {ddScreen, ddPrinter, ddRaster, ddDxf}) {
        SetView(m, 1000, 2000, 0, 0, dest == ddPrinter ? 2 : 0.25L);
        m.DrawDest = dest;
        for (const auto& [px, py] : {std::pair{0, 600}, {10, 590}, {137, 42}, {-300, 900}}) {
            SCOPED_TRACE(testing::Message() << int(dest) << " " << px << " " << py);
            Extended xg = 0, yg = 0;
            m.ScrToGeo(600, px, py, xg, yg);
            int xs = 0, ys = 0;
            m.GeoToScr(600, xg, yg, xs, ys);
            EXPECT_EQ(xs, px);
            EXPECT_EQ(ys, py);
            Extended fx = 0, fy = 0;
            m.GeoToScrF(600, xg, yg, fx, fy);
            EXPECT_NEAR(double(fx), px, 1e-9);
            EXPECT_NEAR(double(fy), py, 1e-9);
        }
    }
    Extended xg = 0, yg = 0;
    m.DrawDest = ddScreen;
    m.ScrToGeo(600, 10, 590, xg, yg);
    EXPECT_EQ(xg, 1000);
    EXPECT_EQ(yg, 2000);
    m.DrawDest = ddRaster;
    m.ScrToGeo(600, 0, 600, xg, yg);
    EXPECT_EQ(xg, 1000);
    EXPECT_EQ(yg, 2000);
}

TEST_F(ViewTest, UnknownDestinationWritesNothing)
{
    TGeoMap& m = Plan();
    SetView(m, 1000, 2000, 0, 0, 0.25L);
    m.DrawDest = 4;
    int xs = -7, ys = -7;
    m.GeoToScr(600, 1004, 2002, xs, ys);
    Extended xg = -7, yg = -7;
    m.ScrToGeo(600, 10, 10, xg, yg);
    EXPECT_EQ(xs, -7);
    EXPECT_EQ(ys, -7);
    EXPECT_EQ(xg, -7);
    EXPECT_EQ(yg, -7);
}

// A stray node far from the view must never make a drawing fail: it maps to the edge of
// the pixel range instead of overflowing.
TEST_F(ViewTest, FarNodeAtOneToOneSaturatesInsteadOfRaising)
{
    TGeoMap& m = Plan();
    SetView(m, 0, 0, 0, 0, S);
    const int limit = 1 << 30;
    struct Case { Extended xg, yg; int xs, ys; };
    const Case cases[] = {
        {1e9L, 1e9L, limit, -limit},
        {-1e9L, -1e9L, -limit, limit},
        {0, 1e300L, limit, 590},
    };
    for (TDrawDest dest : {ddScreen, ddPrinter, ddRaster, ddDxf}) {
        m.DrawDest = dest;
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << int(dest) << " " << double(c.xg) << " " << double(c.yg));
            int xs = 0, ys = 0;
            EXPECT_NO_THROW(m.GeoToScr(600, c.xg, c.yg, xs, ys));
            EXPECT_EQ(xs, c.xs);
            if (c.ys != 590 || dest != ddRaster)
                EXPECT_EQ(ys, c.ys);
        }
    }
}

TEST_F(ViewTest, ScrToGeoWithoutAScaleRaisesThroughTheTrail)
{
    TGeoMap& m = Plan();
    ErrorInfo->clear();
    Extended xg = 3, yg = 4;
    EXPECT_EQ(RaisedBy([&] { m.ScrToGeo(600, 1, 2, xg, yg); }),
              QStringLiteral("Масштаб изображения плана не задан"));
    EXPECT_EQ(xg, 3);
    EXPECT_EQ(yg, 4);
    ASSERT_GE(ErrorInfo->size(), 2);
    EXPECT_EQ((*ErrorInfo)[0], QStringLiteral("Module name: GeoMap"));
    EXPECT_TRUE((*ErrorInfo)[1].startsWith(QStringLiteral("procedure TGeoMap.ScrToGeo(")));
}

TEST_F(ViewTest, FitToWindowPerDestinationAndExtent)
{
    struct Case { const char* what; TDrawDest dest; int W, H; Extended x0, y0, x1, y1, factor; };
    const Case cases[] = {
        {"margins on the screen", ddScreen, 1020, 520, 0, 0, 100, 50, 0.05L},
        {"and on the printer", ddPrinter, 1020, 520, 0, 0, 100, 50, 0.05L},
        {"none for a raster", ddRaster, 1020, 520, 0, 0, 100, 50, 0.052L},
        {"the narrower way wins", ddScreen, 1020, 5020, 0, 0, 100, 50, 0.2L},
        {"one coordinate: 1:100", ddScreen, 1020, 520, 5, 5, 5, 5, S / 100},
        {"one coordinate in a tiny window", ddScreen, 10, 10, 5, 5, 5, 5, S / 100},
        {"never closer than 1:1", ddScreen, 5000, 5000, 0, 0, 1, 1, S},
        {"no north-south extent", ddScreen, 1020, 520, 5, 0, 5, 50, 0.2L},
        {"no east-west extent", ddScreen, 1020, 520, 0, 7, 100, 7, 0.05L},
        {"a minimised window keeps the view", ddScreen, 20, 520, 0, 0, 100, 50, 0.7L},
        {"either way", ddScreen, 1020, 15, 0, 0, 100, 50, 0.7L},
    };
    TGeoMap& m = Plan();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetView(m, c.x0, c.y0, c.x1, c.y1, 0.7L);
        m.DrawDest = c.dest;
        m.FitToWindow(c.W, c.H);
        EXPECT_NEAR(double(m.FactorX), double(c.factor), 1e-15);
        EXPECT_EQ(m.FactorY, m.FactorX);
        EXPECT_EQ(m.ViewXMin, c.x0);
        EXPECT_EQ(m.ViewYMax, c.y1);
    }
}

TEST_F(ViewTest, FitWholePlanAddsAViewAndSetsTheScale)
{
    TScaleWindow window;
    TGeoMap& m = PlanOf100By50();
    m.Services = &window;
    Step(0);
    EXPECT_EQ(m.ViewXMin, 0);
    EXPECT_EQ(m.ViewYMax, 50);
    EXPECT_NEAR(double(m.FactorX), 0.05, 1e-15);
    ASSERT_EQ(m.MapViews.GetCount(), 1);
    const RMapView& v = *m.MapViews.Item;
    EXPECT_EQ(v.ViewXMax, 100);
    EXPECT_EQ(v.FactorX, m.FactorX);
    EXPECT_EQ(v.FactorY, m.FactorY);
    m.SetOutputScale();
    EXPECT_EQ(m.OutputScale, 731);   // 36.57… / 0.05
    EXPECT_EQ(window.Panels[TEnginePanel::Scale], QStringLiteral("масштаб 1:731"));
    EXPECT_EQ(window.ScaleBox, QStringLiteral("731"));
}

TEST_F(ViewTest, OneCoordinateOrOneNomenclatureSheetFitsAt100)
{
    for (bool fromNomenclature : {false, true}) {
        SCOPED_TRACE(fromNomenclature);
        Map.reset();
        TGeoMap& m = Plan();
        if (fromNomenclature) {
            m.Nomenclatures.AddItem();
            m.Nomenclatures.Item->Origin = GeoPoint(410000, 1320000);
        } else {
            AddPoint(AddLayer(AddPage(m, QStringLiteral("A"))), 410000, 1320000);
        }
        Step(0);
        EXPECT_EQ(m.ViewXMin, 410000);
        EXPECT_EQ(m.ViewYMax, 1320000);
        EXPECT_EQ(m.FactorX, S / 100);
        m.SetOutputScale();
        EXPECT_EQ(m.OutputScale, 100);
    }
}

TEST_F(ViewTest, OneMetrePlanFitsAtOneToOneAtMost)
{
    TGeoMap& m = Plan();
    RGLayer& layer = AddLayer(AddPage(m, QStringLiteral("A")));
    AddPoint(layer, 0, 0);
    AddPoint(layer, 1, 1);
    Step(0, 5000, 5000);
    EXPECT_EQ(m.FactorX, S);
    m.SetOutputScale();
    EXPECT_EQ(m.OutputScale, 1);
}

TEST_F(ViewTest, ZoomKeepsThePlanPointUnderTheAnchor)
{
    struct Case { int x, y; std::int32_t scale; };
    const Case cases[] = {
        {300, 200, 200},    // in
        {300, 200, 5000},   // out
        {900, 40, 100},
        {15, 500, 20000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << " " << c.y << " 1:" << c.scale);
        Map.reset();
        TGeoMap& m = PlanOf100By50();
        Step(0);
        Extended ax = 0, ay = 0;
        m.ScrToGeo(520, c.x, c.y, ax, ay);
        m.ZoomAnchorOn = 1;
        m.ZoomAnchor = QPoint(c.x, c.y);
        m.DisplayScale = c.scale;
        Step(5);
        EXPECT_EQ(m.FactorX, S / c.scale);
        Extended bx = 0, by = 0;
        m.ScrToGeo(520, c.x, c.y, bx, by);
        EXPECT_NEAR(double(bx), double(ax), 1e-9);
        EXPECT_NEAR(double(by), double(ay), 1e-9);
        EXPECT_EQ(m.MapViews.GetCount(), 2);
        EXPECT_EQ(m.MapViews.Item->FactorX, m.FactorX);
        EXPECT_EQ(m.MapViews.Item->ViewXMin, m.ViewXMin);
    }
}

TEST_F(ViewTest, ZoomWithoutAnchorKeepsTheWindowCentre)
{
    TGeoMap& m = PlanOf100By50();
    Step(0);
    Extended ax = 0, ay = 0;
    m.ScrToGeo(520, 510, 260, ax, ay);
    m.DisplayScale = 0;   // raised to 1:1
    Step(5);
    EXPECT_EQ(m.DisplayScale, 1);
    EXPECT_EQ(m.FactorX, S);
    Extended bx = 0, by = 0;
    m.ScrToGeo(520, 510, 260, bx, by);
    EXPECT_NEAR(double(bx), double(ax), 1e-9);
    EXPECT_NEAR(double(by), double(ay), 1e-9);
}

// With no view record the zoom compares with the factor in use, and with no factor at
// all (no drawing yet) it only sets the scale.
TEST_F(ViewTest, ZoomWithAnEmptyHistory)
{
    for (std::int32_t scale : {200, 5000}) {
        SCOPED_TRACE(scale);
        Map.reset();
        TGeoMap& m = Plan();
        SetView(m, 0, 0, 100, 50, 0.5L);
        Extended ax = 0, ay = 0;
        m.ScrToGeo(520, 300, 200, ax, ay);
        m.ZoomAnchorOn = 1;
        m.ZoomAnchor = QPoint(300, 200);
        m.DisplayScale = scale;
        Step(5);
        Extended bx = 0, by = 0;
        m.ScrToGeo(520, 300, 200, bx, by);
        EXPECT_NEAR(double(bx), double(ax), 1e-9);
        EXPECT_NEAR(double(by), double(ay), 1e-9);
        EXPECT_EQ(m.MapViews.GetCount(), 1);
    }
    Map.reset();
    TGeoMap& m = Plan();
    m.DisplayScale = 500;
    EXPECT_NO_THROW(Step(5));
    EXPECT_EQ(m.FactorX, S / 500);
    EXPECT_EQ(m.ViewXMin, 0);
}

TEST_F(ViewTest, ZoomAboutTheCentreBringsTheTargetToTheMiddle)
{
    TGeoMap& m = PlanOf100By50();
    Step(0);
    m.CentreTarget = GeoPoint(5000, -3000);
    m.DisplayScale = 1000;
    m.ZoomAnchorOn = 1;   // the centre step never looks at the anchor
    m.ZoomAnchor = QPoint(3, 4);
    Step(8);
    EXPECT_EQ(m.FactorX, S / 1000);
    Extended cx = 0, cy = 0;
    m.ScrToGeo(520, 510, 260, cx, cy);
    EXPECT_NEAR(double(cx), 5000, 1e-9);
    EXPECT_NEAR(double(cy), -3000, 1e-9);
    EXPECT_EQ(m.MapViews.GetCount(), 2);
    EXPECT_EQ(m.MapViews.Item->ViewYMin, m.ViewYMin);
}

TEST_F(ViewTest, HistoryGrowsOnlyForModes0158)
{
    TGeoMap& m = PlanOf100By50();
    Step(0);
    m.DisplayScale = 500;
    for (int mode = 0; mode <= 10; ++mode) {
        SCOPED_TRACE(mode);
        const int before = m.MapViews.GetCount();
        Step(static_cast<TDrawMode>(mode));
        const bool grows = mode == 0 || mode == 1 || mode == 5 || mode == 8;
        EXPECT_EQ(m.MapViews.GetCount(), before + (grows ? 1 : 0));
        EXPECT_EQ(m.MapViews.GetIndex(), m.MapViews.GetCount() - 1);
    }
}

TEST_F(ViewTest, RestoreAndRefitTheCurrentView)
{
    TGeoMap& m = PlanOf100By50();
    Step(0);
    RMapView& v = *m.MapViews.Item;
    v.ViewXMin = -10;
    v.ViewYMin = -20;
    v.ViewXMax = 90;
    v.ViewYMax = 30;
    v.FactorX = 0.3L;
    v.FactorY = 0.9L;
    for (TDrawMode mode : {2, 3, 7}) {
        SCOPED_TRACE(int(mode));
        SetView(m, 1, 2, 3, 4, 5);
        Step(mode);
        EXPECT_EQ(m.ViewXMin, -10);
        EXPECT_EQ(m.ViewYMax, 30);
        EXPECT_EQ(m.FactorX, 0.3L);
        EXPECT_EQ(m.FactorY, 0.3L);
    }
    Step(4);
    EXPECT_EQ(m.ViewYMin, -20);
    EXPECT_NEAR(double(m.FactorX), 0.05, 1e-15);   // 100 m north-south into 500 pixels
    EXPECT_EQ(v.FactorX, m.FactorX);
    EXPECT_EQ(v.FactorY, m.FactorX);
    EXPECT_EQ(m.MapViews.GetCount(), 1);

    m.MapViews.DeleteAll();
    SetView(m, 1, 2, 3, 4, 5);
    Step(2);
    EXPECT_EQ(m.FactorX, 5);
    Step(4);
    EXPECT_EQ(m.FactorX, S / 100);
    EXPECT_EQ(m.ViewXMax, 3);
}

TEST_F(ViewTest, OutputScalePerDestination)
{
    TGeoMap& m = Plan();
    m.PrinterScale = 1000;
    m.RasterScale = 2000;
    m.MapProp.Scale = 500;
    SetView(m, 0, 0, 1, 1, S / 250);
    struct Case { TDrawDest dest; std::int32_t scale; };
    for (const Case& c : {Case{ddPrinter, 1000}, {ddRaster, 2000}, {ddDxf, 500}, {ddScreen, 250},
                          {4, 250}}) {
        SCOPED_TRACE(int(c.dest));
        m.DrawDest = c.dest;
        m.SetOutputScale();
        EXPECT_EQ(m.OutputScale, c.scale);
    }
}

TEST_F(ViewTest, PictureCornersOfTheScreen)
{
    TGeoMap& m = Plan();
    SetView(m, 1000, 2000, 0, 0, 0.25L);
    m.ScrollX = 400;
    m.ScrollY = 300;
    m.SetPictureCorners(1200, 900, 400, 300);
    EXPECT_EQ(m.PictureRect.left(), -400);
    EXPECT_EQ(m.PictureRect.top(), -300);
    EXPECT_EQ(m.PictureRect.right(), 1200);
    EXPECT_EQ(m.PictureRect.bottom(), 900);
    struct Case { const char* what; TGeoPoint got, want; };
    const Case cases[] = {
        {"draw area min", m.DrawAreaMin, GeoPoint(975.6L, 1983.6L)},
        {"draw area max", m.DrawAreaMax, GeoPoint(1023.6L, 2047.6L)},
        {"window min", m.WindowMin, GeoPoint(999.6L, 1999.6L)},
        {"window max", m.WindowMax, GeoPoint(1011.6L, 2015.6L)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_NEAR(double(c.got.X), double(c.want.X), 1e-9);
        EXPECT_NEAR(double(c.got.Y), double(c.want.Y), 1e-9);
    }
}

TEST_F(ViewTest, ExtentsCountHiddenSheetsButNotInnerContoursNorCaptions)
{
    TGeoMap& m = Plan();
    RGPage& a = AddPage(m, QStringLiteral("A"));
    RGLayer& layer = AddLayer(a);
    RGPoint& point = AddPoint(layer, 10, 10);
    AddText(point.InnerTexts, -5, 12);
    point.AutoTexts.AddItem();
    point.AutoTexts.Item->Position = GeoPoint(-900, 0);
    RGLine& line = AddLine(layer, {{20, 20}, {30, 25}});
    AddText(line.InnerTexts, 40, 8);
    line.AutoTexts.AddItem();
    line.AutoTexts.Item->Position = GeoPoint(0, 900);
    line.Nodes.Item->NodePoints.AddItem();
    line.Nodes.Item->NodePoints.Item->Position = GeoPoint(1000, 1000);
    RGPolygon& polygon = AddPolygon(layer, {{15, 15}, {16, 15}, {16, 16}});
    polygon.Holes.AddItem();
    AddNodes(polygon.Holes.Item->Nodes, {{-500, -500}, {-501, -500}, {-501, -501}});
    AddText(polygon.InnerTexts, 900, 900);
    polygon.InnerPoints.AddItem();
    polygon.InnerPoints.Item->Position = GeoPoint(800, 800);
    polygon.InnerLines.AddItem();
    polygon.InnerLines.Item->Nodes.AddItem();
    polygon.InnerLines.Item->Nodes.Item->Position = GeoPoint(-800, -800);
    AddText(layer.Texts, 12, 50);
    RGPage& b = AddPage(m, QStringLiteral("B"), 0);
    AddRastr(b, -7, 3, 0, 4);
    RGLayer& hidden = AddLayer(b);
    hidden.Visible = 0;
    AddPoint(hidden, 60, 45);
    AddPage(m, QStringLiteral("E"));
    m.Pages.GoFirstItem();

    m.MaxMinCoord();
    EXPECT_EQ(m.ViewXMin, -7);
    EXPECT_EQ(m.ViewYMin, 3);
    EXPECT_EQ(m.ViewXMax, 60);
    EXPECT_EQ(m.ViewYMax, 50);
    EXPECT_EQ(m.GetCurrentPage(), 0);   // the whole plan is measured without moving

    struct Case { const char* page; TGeoPoint min, max; int current; };
    const TGeoPoint untouched = GeoPoint(-1, -1);
    const Case cases[] = {
        {"A", GeoPoint(-5, 8), GeoPoint(40, 50), 0},
        {"B", GeoPoint(-7, 3), GeoPoint(60, 45), 1},
        {"E", untouched, untouched, 2},   // a sheet without coordinates
        {"a", untouched, untouched, 2},   // names are compared exactly
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        TGeoPoint pmin = untouched, pmax = untouched;
        m.MaxMinCoord(QString::fromUtf8(c.page), pmin, pmax);
        EXPECT_EQ(pmin.X, c.min.X);
        EXPECT_EQ(pmin.Y, c.min.Y);
        EXPECT_EQ(pmax.X, c.max.X);
        EXPECT_EQ(pmax.Y, c.max.Y);
        EXPECT_EQ(m.GetCurrentPage(), c.current);
    }
}

TEST_F(ViewTest, EmptyPlanTakesTheNomenclatureOrigins)
{
    TGeoMap& m = Plan();
    AddLayer(AddPage(m, QStringLiteral("A")));   // sheets and layers, no coordinate
    SetView(m, 1, 2, 3, 4, 5);
    m.MaxMinCoord();
    EXPECT_EQ(m.ViewXMin, 1);   // nothing to measure: the bounds stay
    EXPECT_EQ(m.ViewYMax, 4);
    for (const auto& [x, y] : {std::pair<Extended, Extended>{100, 200}, {300, -50}}) {
        m.Nomenclatures.AddItem();
        m.Nomenclatures.Item->Origin = GeoPoint(x, y);
    }
    m.MaxMinCoord();
    EXPECT_EQ(m.ViewXMin, 100);
    EXPECT_EQ(m.ViewYMin, -50);
    EXPECT_EQ(m.ViewXMax, 300);
    EXPECT_EQ(m.ViewYMax, 200);
    AddPoint(*m.Pages.Item->Layers.Item, 7, 8);
    m.MaxMinCoord();
    EXPECT_EQ(m.ViewXMin, 7);
    EXPECT_EQ(m.ViewYMax, 8);
}

TEST_F(ViewTest, GetExtentsReadsTheMainPlanOrItsOwn)
{
    TGeoMap& m = Plan();
    SetView(m, 1, 2, 3, 4, 5);
    Extended x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    m.GetExtents(x0, y0, x1, y1);
    EXPECT_EQ(x0, 1);
    EXPECT_EQ(y1, 4);
    TGeoMap main;
    SetView(main, 10, 20, 30, 40, 5);
    MainMap = &main;
    m.GetExtents(x0, y0, x1, y1);
    EXPECT_EQ(x0, 10);
    EXPECT_EQ(y0, 20);
    EXPECT_EQ(x1, 30);
    EXPECT_EQ(y1, 40);
    MainMap = nullptr;
}

// ---- Visibility -------------------------------------------------------------------------

class VisibilityTest : public ViewTest {
protected:
    // The drawing area X 0..100, Y 0..100 on the screen; one sheet with one layer.
    RGLayer& Area()
    {
        TGeoMap& m = Plan();
        m.DrawAreaMin = GeoPoint(0, 0);
        m.DrawAreaMax = GeoPoint(100, 100);
        m.DrawDest = ddScreen;
        return AddLayer(AddPage(m, QStringLiteral("A")));
    }

    using TNodes = std::initializer_list<std::pair<Extended, Extended>>;
};

TEST_F(VisibilityTest, LinesAndPolygonsAgainstTheDrawingArea)
{
    struct Case { const char* what; TNodes nodes; bool line, polygon; };
    const Case cases[] = {
        {"a node inside", {{-10, -10}, {50, 50}}, true, true},
        {"a node on the edge", {{-10, -10}, {100, 30}}, true, true},
        {"crossing with no node inside", {{-10, 50}, {110, 50}}, true, true},
        {"through a corner", {{-10, 10}, {10, -10}}, true, true},
        {"beside the area", {{-10, -10}, {-10, 200}, {-20, 50}}, false, false},
        // Only the closing segment, last node to first, crosses the area.
        {"closing segment", {{-10, 50}, {-20, 120}, {110, 130}}, false, true},
        // A contour around the whole area: its fill covers the picture.
        {"enclosing", {{-50, -50}, {150, -50}, {150, 150}, {-50, 150}}, false, true},
        {"far away", {{1e9L, 1e9L}, {1e9L + 1, 1e9L}, {1e9L, 1e9L + 1}}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Map.reset();
        RGLayer& layer = Area();
        AddLine(layer, c.nodes);
        AddPolygon(layer, c.nodes);
        EXPECT_EQ(Plan().LineVisible(), c.line);
        EXPECT_EQ(Plan().PolygonVisible(), c.polygon);
    }
}

TEST_F(VisibilityTest, LinesAreAlwaysVisibleOnPrinterAndRaster)
{
    RGLayer& layer = Area();
    AddLine(layer, {{500, 500}, {600, 600}});
    TGeoMap& m = Plan();
    for (TDrawDest dest : {ddScreen, ddPrinter, ddRaster, ddDxf}) {
        m.DrawDest = dest;
        EXPECT_EQ(m.LineVisible(), dest == ddPrinter || dest == ddRaster) << int(dest);
    }
    m.DrawDest = ddScreen;
    AddLine(layer, {});
    EXPECT_FALSE(m.LineVisible());
    AddPolygon(layer, {});
    EXPECT_FALSE(m.PolygonVisible());
}

TEST_F(VisibilityTest, CountersOfDrawnAndSkipped)
{
    struct Case { const char* what; TNodes nodes; int drawn, skipped; };
    const Case cases[] = {
        {"two nodes outside, the third inside", {{-10, -10}, {-20, -20}, {50, 50}, {-30, 0}}, 1, 2},
        {"every node outside, far away", {{500, 500}, {600, 500}, {600, 600}, {500, 600}}, 0, 5},
        {"enclosing", {{-50, -50}, {150, -50}, {150, 150}, {-50, 150}}, 1, 4},
        {"no node", {}, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Map.reset();
        AddPolygon(Area(), c.nodes);
        Plan().PolygonVisible();
        EXPECT_EQ(Plan().DrawnCount, c.drawn);
        EXPECT_EQ(Plan().SkippedCount, c.skipped);
    }
    Map.reset();
    RGLayer& layer = Area();
    TGeoMap& m = Plan();
    AddPoint(layer, 100, 0);
    EXPECT_TRUE(m.PointVisible());
    AddPoint(layer, 100.001L, 0);
    EXPECT_FALSE(m.PointVisible());
    AddText(layer.Texts, 0, 100);
    EXPECT_TRUE(m.TextVisible());
    AddLine(layer, {{-10, 50}, {110, 50}});
    EXPECT_TRUE(m.LineVisible());
    AddLine(layer, {{-10, 50}, {-10, 60}});
    EXPECT_FALSE(m.LineVisible());
    EXPECT_EQ(m.DrawnCount, 3);
    EXPECT_EQ(m.SkippedCount, 2);
}

TEST_F(VisibilityTest, WithoutACurrentObjectNothingIsVisible)
{
    RGLayer& layer = Area();
    (void)layer;
    TGeoMap& m = Plan();
    EXPECT_FALSE(m.PointVisible());
    EXPECT_FALSE(m.TextVisible());
    EXPECT_FALSE(m.LineVisible());
    EXPECT_FALSE(m.PolygonVisible());
    EXPECT_FALSE(m.RastrVisible());
    EXPECT_EQ(m.DrawnCount, 0);
    EXPECT_EQ(m.SkippedCount, 5);
}

TEST_F(VisibilityTest, Rasters)
{
    struct Case { const char* what; Extended x1, y1, x2, y2; bool visible; };
    const Case cases[] = {
        {"a corner inside", 50, 50, 150, 150, true},
        {"covering the whole area", -10, -10, 110, 110, true},
        {"crossing without corners inside", -10, 40, 110, 60, true},
        {"apart", 200, 200, 300, 300, false},
        // An edge on the line of an area edge counts, however far along it.
        {"on the line of an edge", -50, -20, -10, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Map.reset();
        Area();
        TGeoMap& m = Plan();
        AddRastr(*m.Pages.Item, c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(m.RastrVisible(), c.visible);
        EXPECT_EQ(m.DrawnCount + m.SkippedCount, 1);
    }
}

TEST_F(VisibilityTest, PointInWindowIncludesItsEdges)
{
    TGeoMap& m = Plan();
    m.WindowMin = GeoPoint(10, 20);
    m.WindowMax = GeoPoint(30, 40);
    EXPECT_TRUE(m.PointInWindow(GeoPoint(10, 40)));
    EXPECT_TRUE(m.PointInWindow(GeoPoint(30, 20)));
    EXPECT_FALSE(m.PointInWindow(GeoPoint(9.999L, 30)));
    EXPECT_FALSE(m.PointInWindow(GeoPoint(20, 40.001L)));
    EXPECT_EQ(m.DrawnCount + m.SkippedCount, 0);
}
