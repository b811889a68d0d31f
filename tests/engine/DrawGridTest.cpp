// The coordinate grid and the sheet frames: the grid's numbers as tables, then pixel
// probes of plans drawn in the tree (crosses, arms and colours per destination, frame
// levels and their labels by output scale, the printed area), and one reference picture
// of a frame corner with its label.
#include "DrawTestSupport.h"
#include "EngineFixture.h"

#include "engine/draw/CoordGrid.h"
#include "engine/draw/MapPainter.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoDataObjectsPicture.h"
#include "semantics/signs/Symbols.h"

#include <QFontInfo>

#include <cmath>

#include <vector>

TEST(CoordGrid, DigitRuleAndItsDepartures)
{
    struct Case { std::int64_t v, s, start; };
    const Case cases[] = {
        {345, 50, 350},       // the last two digits become the step's
        {399, 50, 350},       // whatever they were
        {40, 50, 50},         // no more digits than the step: the step
        {99, 50, 50},
        {0, 50, 50},
        {410037, 50, 410050},
        {1319876, 250, 1319250},
        {7, 1, 1},
        {345, 30, 330},       // 1:300: 30 does not divide 100; the multiple below
        {20, 30, 0},
        {-3760, 250, -4000},  // south or west of the origin: the multiple below
        {-345, 50, -350},
        {123, 0, 123},        // no step: unchanged
    };
    for (const Case& c : cases)
        EXPECT_EQ(AlignGridStart(c.v, c.s), c.start) << c.v << " " << c.s;
    EXPECT_EQ(GridStep(500), 50);
    EXPECT_EQ(GridStep(2000), 200);
    EXPECT_EQ(GridStep(300), 30);
    EXPECT_EQ(GridStep(5), 0);   // half to even: no grid
    EXPECT_EQ(GridStep(15), 2);
}

TEST(CoordGrid, CountsAndNodesEndFarFromTheOrigin)
{
    EXPECT_EQ(GridCount(1050, 1100, 50, false), 2);
    EXPECT_EQ(GridCount(1050, 1040, 50, false), 0);
    EXPECT_EQ(GridCount(1050, 1040, 50, true), 1);   // the first even past the end
    EXPECT_EQ(GridCount(1050, 1099, 50, true), 1);
    EXPECT_EQ(GridCount(-1000000000000000LL, 1000000000000000LL, 1, false), 2000000000000001LL);

    // Far out, whole metres still hold and the walk stays small.
    std::vector<std::pair<std::int64_t, std::int64_t>> nodes;
    const Extended far = 4e12L;
    ForEachGridNode(far + 10, far + 10, far + 120, far + 60, 50, false,
                    [&](std::int64_t x, std::int64_t y) { nodes.emplace_back(x, y); });
    const std::int64_t f = 4000000000000LL;
    const std::vector<std::pair<std::int64_t, std::int64_t>> want = {
        {f + 50, f + 50}, {f + 100, f + 50}};
    EXPECT_EQ(nodes, want);

    // Beyond what whole metres can hold: a clear error, not an overflow or an endless loop.
    for (const Extended bad : {1e300L, -1e16L, Extended(NAN)}) {
        try {
            ForEachGridNode(bad, 0, 100, 100, 50, true, [](std::int64_t, std::int64_t) {});
            ADD_FAILURE() << double(bad);
        } catch (const Exception& e) {
            EXPECT_TRUE(e.Message.startsWith(QStringLiteral("Переполнение"))) << e.Message.toStdString();
        }
    }
    // A page absurdly large for its scale is refused before it is walked.
    EXPECT_THROW(ForEachGridNode(0, 0, 1e9L, 1e9L, 50, false, [](std::int64_t, std::int64_t) {}), Exception);
}

TEST(CoordGrid, CanvasFontSizesArePointsAtNinetySixPixelsAnInch)
{
    EXPECT_EQ(CanvasFontHeight(62), -83);   // 62 x 96 / 72 = 82.7: an em of 83 pixels
    EXPECT_EQ(CanvasFontHeight(15), -20);
    EXPECT_EQ(CanvasFontHeight(3), -4);
    EXPECT_EQ(CanvasFontHeight(0), 0);
    // The labels' face resolves to its metric twin, bold.
    TLogFont lf;
    lf.FaceName = QStringLiteral("Arial");
    lf.Weight = 700;
    lf.Height = CanvasFontHeight(25);
    const QFontInfo info(LogFontToQFont(lf, 96));
    EXPECT_EQ(info.family(), QStringLiteral("Liberation Sans"));
    EXPECT_TRUE(info.bold());
}

namespace {

constexpr int W = 200, H = 150;
constexpr std::int32_t Green = 0x008000, Blue = 0xFF0000, Red = 0x0000FF;

class DrawGrid : public EngineFixture {
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        TGeoMap& m = Plan();
        Window.Surface = QSize(W, H);
        DrawAt500OnWhite(m);
        m.NomColor = Red;
        // One base square of 2 km at the origin.
        m.Nomenclatures.Mode = 2;
        Base(QStringLiteral("101"), 0, 0);
        Layer();
    }

    TGeoMap& M() { return *Map; }

    void Base(const QString& name, Extended x, Extended y)
    {
        auto n = std::make_unique<TNomenclature>();
        n->SheetName = name;
        n->Origin = GeoPoint(x, y);
        M().Nomenclatures.AddItem(std::move(n));
    }

    RGLayer& Layer(int page = 0) { return GrownLayer(M(), page, 0); }

    // The view: the window's south-west corner at (x, y), one pixel per metre times
    // pixelsPerMetre. The screen, DXF and a raster image take the factor in pixels per
    // centimetre, the printer in pixels per metre.
    void ViewAt(Extended x, Extended y, Extended pixelsPerMetre, TDrawDest dest = ddScreen)
    {
        auto v = std::make_unique<RMapView>();
        v->ViewXMin = x;
        v->ViewYMin = y;
        v->ViewXMax = x + 10;
        v->ViewYMax = y + 10;
        v->FactorX = v->FactorY = dest == ddPrinter ? pixelsPerMetre : pixelsPerMetre / 100;
        M().MapViews.AddItem(std::move(v));
    }
    // The screen at 1:denominator with the window's centre on (x, y).
    void ScreenAt(Extended denominator, Extended x, Extended y)
    {
        const Extended ppm = M().ScreenFactorAtOne() * 100 / denominator;
        ViewAt(x - (H / 2 - 10) / ppm, y - (W / 2 - 10) / ppm, ppm);
    }

    void Draw(TDrawDest dest = ddScreen) { M().Draw(W, H, 3, dest); }

    QPoint PixelAt(Extended x, Extended y) const
    {
        int xs = 0, ys = 0;
        Map->GeoToScr(Map->DrawH, x, y, xs, ys);
        return QPoint(xs + Map->ScrollX, ys + Map->ScrollY);
    }
    QRgb At(const QPoint& p) const { return Map->Bitmap.pixel(p) & 0xFFFFFF; }
    bool Shows(std::int32_t color) const
    {
        const QRgb want = Rgb(color);
        for (int y = 0; y < Map->Bitmap.height(); ++y)
            for (int x = 0; x < Map->Bitmap.width(); ++x)
                if ((Map->Bitmap.pixel(x, y) & 0xFFFFFF) == want)
                    return true;
        return false;
    }
    // How far the cross at c reaches each way in colour, along the row and the column.
    void ExpectArms(const QPoint& c, int arm, std::int32_t color)
    {
        const QRgb ink = Rgb(color);
        for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            SCOPED_TRACE(testing::Message() << d.x() << "," << d.y());
            EXPECT_EQ(At(c), ink);
            EXPECT_EQ(At(c + d * (arm - 1)), ink);
            EXPECT_EQ(At(c + d * (arm + 1)), 0xFFFFFFu);
        }
    }

    // A filled square of side metres around (x, y), as a point's sign picture.
    void SquareSign(RGLayer& layer, Extended x, Extended y, Extended side, std::int32_t fill)
    {
        layer.Points.AddItem(std::make_unique<RGPoint>());
        RGPoint& p = *layer.Points.At(layer.Points.GetCount() - 1);
        p.Position = GeoPoint(x, y);
        p.SignName = QStringLiteral("знак");
        p.Picture.AddItem(std::make_unique<RVpLayer>());
        RVpLayer& e = *p.Picture.At(0);
        e.Polygons.AddItem(std::make_unique<RVpPolygon>());
        RVpPolygon& g = *e.Polygons.At(0);
        g.PenColor = fill;
        g.FillColor = fill;
        g.FillStyle = vfColor;
        const Extended h = side / 2;
        for (const auto& [dx, dy] : {std::pair{-h, -h}, {h, -h}, {h, h}, {-h, h}}) {
            g.Points.AddItem(std::make_unique<RGeoPoint>());
            *g.Points.At(g.Points.GetCount() - 1) = GeoPoint(x + dx, y + dy);
        }
    }
};

}  // namespace

TEST_F(DrawGrid, CrossesEveryFiftyMetresAtOneToFiveHundred)
{
    M().ShowCoordCross = 1;
    ScreenAt(500, 1025, 1025);   // 50 m: 366 pixels
    Draw();
    for (const auto& [x, y] : {std::pair{1000, 1000}, {1050, 1000}, {1000, 1050}, {1050, 1050}})
        EXPECT_EQ(At(PixelAt(x, y)), Rgb(Green)) << x << " " << y;
    EXPECT_EQ(At(PixelAt(1025, 1025)), 0xFFFFFFu);
    EXPECT_EQ(At(PixelAt(1025, 1000)), 0xFFFFFFu);   // between crosses: no line
    // Switched off: none.
    M().ShowCoordCross = 0;
    Draw();
    EXPECT_FALSE(Shows(Green));
}

TEST_F(DrawGrid, DrawnUpToEightTimesThePlanScale)
{
    M().ShowCoordCross = 1;
    for (const int denominator : {4000, 4001}) {
        SCOPED_TRACE(denominator);
        ScreenAt(denominator, 1000, 1000);
        Draw();
        ASSERT_EQ(M().OutputScale, denominator);
        EXPECT_EQ(Shows(Green), denominator == 4000);
    }
}

TEST_F(DrawGrid, ArmsAndColoursPerDestination)
{
    M().ShowCoordCross = 1;
    // The screen: 5 pixels whatever the scale, dark green.
    for (const int denominator : {500, 4000}) {
        SCOPED_TRACE(denominator);
        ScreenAt(denominator, 1000, 1000);
        Draw();
        ExpectArms(PixelAt(1000, 1000), 5, Green);
    }
    // A raster image of 300 dpi: Round(3 x 11.81) = 35 pixels, dark green; black when the
    // image has one bit a pixel. The cross of (1000, 1000) mid-picture.
    M().RasterDpi = 300;
    const Extended ppm = 300 / 0.0254L / 500;   // pixels per metre at 1:500
    for (const std::uint8_t bits : {std::uint8_t(24), std::uint8_t(1)}) {
        SCOPED_TRACE(int(bits));
        M().RasterBits = bits;
        ViewAt(1000 - 75 / ppm, 1000 - 100 / ppm, ppm, ddRaster);
        Draw(ddRaster);
        ASSERT_EQ(PixelAt(1000, 1000), QPoint(100, 75));
        ExpectArms(QPoint(100, 75), 35, bits == 1 ? 0 : Green);
    }
    // The printer: black, 3 mm at its resolution.
    M().PrinterDpi = 300;
    M().PrinterScale = 500;
    M().PrintOrigin = GeoPoint(1010, 990);
    M().PageWidthMm = M().PageHeightMm = 100;   // 50 m square: the one cross of (1000, 1000)
    ViewAt(1000 - 65 / ppm, 1000 - 90 / ppm, ppm, ddPrinter);
    Draw(ddPrinter);
    ASSERT_EQ(PixelAt(1000, 1000), QPoint(100, 75));
    ExpectArms(QPoint(100, 75), 35, 0);
    EXPECT_FALSE(Shows(Green));
}

TEST_F(DrawGrid, UnderASheetMarkedWithACaretOrOverEverything)
{
    M().ShowCoordCross = 1;
    SquareSign(Layer(0), 1000, 1000, 10, Blue);
    ScreenAt(500, 1000, 1000);
    struct Case { const char* name; std::int32_t shown; };
    for (const Case c : {Case{"план", Green}, Case{"^план", Blue}, Case{"^", Green}}) {
        SCOPED_TRACE(c.name);
        M().Pages.At(0)->Name = QString::fromUtf8(c.name);
        Draw();
        EXPECT_EQ(At(PixelAt(1000, 1000)), Rgb(c.shown));
    }
}

TEST_F(DrawGrid, FrameLevelsByOutputScale)
{
    M().ShowPlansBorders = 1;
    M().ShowPlanNom = 1;
    struct Case { int denominator; bool sheets250, labels, sheets2km; };
    const Case cases[] = {
        {500, true, false, true},
        {1999, true, false, true},
        {2000, true, true, true},
        {25000, true, true, true},
        {25001, false, true, true},       // the labels now of the 2 km sheets
        {500000, false, true, true},
        {500001, false, false, true},
        {1000000, false, false, true},
        {1000001, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.denominator);
        ScreenAt(c.denominator, 2000, 2000);
        Draw();
        ASSERT_EQ(M().OutputScale, c.denominator);
        EXPECT_EQ(Shows(M().FrameColor500), c.sheets250);
        EXPECT_EQ(Shows(M().FrameColor5000), c.sheets2km);
        EXPECT_EQ(Shows(Red), c.labels);
    }
    // Labels switched off; frames switched off; a plan of 1:10 has none.
    ScreenAt(5000, 1100, 900);
    M().ShowPlanNom = 0;
    Draw();
    EXPECT_TRUE(Shows(M().FrameColor500));
    EXPECT_FALSE(Shows(Red));
    M().ShowPlanNom = 1;
    M().ShowPlansBorders = 0;
    Draw();
    EXPECT_FALSE(Shows(M().FrameColor500) || Shows(M().FrameColor5000) || Shows(Red));
    M().ShowPlansBorders = 1;
    M().MapProp.Scale = 10;
    ScreenAt(20, 1000, 1000);
    Draw();
    EXPECT_FALSE(Shows(M().FrameColor500) || Shows(M().FrameColor5000) || Shows(Red));
    // Kind 3 divides into 3 km sheets, kind 2 frames gone.
    M().MapProp.Scale = 500;
    M().Nomenclatures.Mode = 3;
    M().FrameColor5000 = 0x00AA00;
    ScreenAt(100000, 1100, 900);
    Draw();
    EXPECT_TRUE(Shows(0x00AA00));
    const QPoint on3km = PixelAt(3000 - 7000 + 3000, 1500);   // south bound -7000, cells of 3 km
    EXPECT_EQ(At(on3km), Rgb(0x00AA00));
}

TEST_F(DrawGrid, FramesUnderTheObjectsUpToOneToThousand)
{
    M().ShowPlansBorders = 1;
    SquareSign(Layer(0), 1000, 1100, 40, Blue);
    for (const int denominator : {1000, 1001}) {
        SCOPED_TRACE(denominator);
        ScreenAt(denominator, 1000, 1100);
        Draw();
        EXPECT_EQ(At(PixelAt(1000, 1100)), Rgb(denominator == 1000 ? Blue : M().FrameColor500));
    }
}

// Each label as the drawing with labels switched off, with the expected text painted
// by hand at the label point: "Arial" bold, em of points x 96 / 72 pixels, top-left
// there, in NomColor.
TEST_F(DrawGrid, LabelsNameTheirCells)
{
    M().ShowPlansBorders = 1;
    struct Case {
        int denominator;
        Extended x, y;      // the label point
        const char* text;
        int points;
        QRect around;       // compared part, from the label's pixel
    };
    const Case cases[] = {
        // The 2 km sheet of the base square at the origin: its base name only (the cell's
        // nomenclature is 101-А-9); the cells around it have none, so nothing is painted.
        {100000, 1400, 800, "101", 15, QRect(-40, -40, 200, 140)},
        // A 250 m cell inside the base square: its whole nomenclature.
        {5000, 1250 + 150, 750 + 60, "101-А-12", 25, QRect(-10, -10, 130, 60)},
        // One outside every base square: "?".
        {5000, -250 + 150, -500 + 60, "?", 25, QRect(-10, -10, 60, 60)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ScreenAt(c.denominator, c.x, c.y);
        M().ShowPlanNom = 1;
        Draw();
        const QImage labelled = M().Bitmap.copy();
        M().ShowPlanNom = 0;
        Draw();
        TLogFont lf;
        lf.FaceName = QStringLiteral("Arial");
        lf.Weight = 700;
        lf.Height = CanvasFontHeight(c.points);
        TMapPainter p;
        p.Begin(M().Bitmap);
        const QPoint at = PixelAt(c.x, c.y);
        p.Text(at, QString::fromUtf8(c.text), lf, Red);
        p.End();
        const QRect part = c.around.translated(at);
        EXPECT_TRUE(labelled.copy(part) == M().Bitmap.copy(part));
        if (c.denominator == 100000) {
            EXPECT_TRUE(labelled == M().Bitmap);   // and no other label anywhere
        }
        int red = 0;
        for (int y = part.top(); y <= part.bottom(); ++y)
            for (int x = part.left(); x <= part.right(); ++x)
                red += (labelled.pixel(x, y) & 0xFFFFFF) == Rgb(Red);
        EXPECT_GT(red, 20);
    }
}

TEST_F(DrawGrid, PrintedAreaWidenedByFrameMargins)
{
    // 100 mm at 1:2000: the printed area X 1100..1300, Y 500..700. Its frames cover it
    // widened by 750 m: bounds X -750..2750, Y -750..1750 in cells of 250 m.
    M().ShowPlansBorders = 1;
    M().PrinterDpi = 300;
    M().PrinterScale = 2000;
    M().PrintOrigin = GeoPoint(1300, 500);
    M().PageWidthMm = M().PageHeightMm = 100;
    ViewAt(0, 0, 0.04L, ddPrinter);   // 25 m a pixel; margins of 10 pixels
    Draw(ddPrinter);
    const QRgb frame = Rgb(M().FrameColor500);
    EXPECT_EQ(At(PixelAt(2500, 600)), frame);   // north of what the page shows
    EXPECT_EQ(At(PixelAt(2750, 600)), frame);   // the north bound
    EXPECT_EQ(At(PixelAt(3000, 600)), 0xFFFFFFu);
    EXPECT_EQ(At(PixelAt(1000, 1750)), frame);  // the east bound
    EXPECT_NE(At(PixelAt(1100, 2000)), frame);  // (a 2 km line passes there)
}

TEST_F(DrawGrid, FarFromTheOriginTheGridStillEnds)
{
    M().ShowCoordCross = 1;
    M().ShowPlansBorders = 1;
    M().ShowPlanNom = 1;
    ScreenAt(2000, 4e12L, 4e12L);
    Draw();
    EXPECT_EQ(At(PixelAt(4e12L, 4e12L)), Rgb(Green));
    // Beyond whole metres: the drawing fails with a clear message.
    ScreenAt(2000, 1e300L, 1e300L);
    ErrorInfo->clear();
    try {
        Draw();
        ADD_FAILURE() << "drawn";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message.startsWith(QStringLiteral("Переполнение"))) << e.Message.toStdString();
    }
    EXPECT_EQ(M().DrawBusy, 0);
    // The frames, drawn first at this scale, head the trail.
    ASSERT_GE(ErrorInfo->size(), 2);
    EXPECT_EQ(ErrorInfo->mid(0, 2), (QStringList{"Module name: GeoMap",
                                                  "procedure TGeoMap.PaintPlanCross(const dest:TDrawDest);"}));
}

// A corner of the 250 m sheets at 1:5000 with the nomenclature of the cell north-east of
// it, against the committed reference.
TEST_F(DrawGrid, FrameCornerWithItsLabel)
{
    M().ShowPlansBorders = 1;
    M().ShowPlanNom = 1;
    M().ShowCoordCross = 1;
    M().NomColor = 0;
    M().Nomenclatures.Mode = 2;
    ScreenAt(5000, 1300, 800);
    Draw();
    const QPoint corner = PixelAt(1250, 750);
    const QImage part = M().Bitmap.copy(QRect(corner.x() - 20, corner.y() - 130, 220, 150));
    ExpectLikeReference(part, "frame-corner.png");
    EXPECT_EQ(At(corner), Rgb(M().FrameColor500));
}
