// Drawing a plan: pixel probes of sign pictures, texts and outlines, and which objects
// each draw mode and destination renders, on small plans built in the tree. The plans'
// objects carry a sign name and a hand-made picture; the library is empty, so an object
// that is rendered is seen by its sign name becoming "#".
#include "DrawTestSupport.h"
#include "EngineFixture.h"

#include "engine/draw/MapPainter.h"
#include "foundation/GeoDataObjectsPicture.h"
#include "semantics/signs/Symbols.h"

#include <cmath>

namespace {

constexpr int W = 200, H = 150;
constexpr std::int32_t Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000;

// Counts what reaches the surface.
class TSurfaceWindow : public TFakeEngineServices {
public:
    int Copies = 0;
    void PaintOnSurface(const QImage&, QPoint) override { ++Copies; }
};

class DrawPlan : public EngineFixture {
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        TGeoMap& m = Plan();
        m.Services = &Surface;
        Surface.Surface = QSize(W, H);
        DrawAt500OnWhite(m);
    }

    TGeoMap& M() { return *Map; }

    RGLayer& Layer(int page = 0, int layer = 0) { return GrownLayer(M(), page, layer); }

    // The current view: south-west corner (0, 0) at 1:denominator on the screen. For the
    // printer the factor is pixels per metre, a hundred times the screen's.
    void View(Extended denominator, Extended factorTimes = 1)
    {
        auto v = std::make_unique<RMapView>();
        v->ViewXMin = v->ViewYMin = 0;
        v->ViewXMax = v->ViewYMax = 20;
        v->FactorX = v->FactorY = M().ScreenFactorAtOne() / denominator * factorTimes;
        M().MapViews.AddItem(std::move(v));
    }

    RGPoint& AddPoint(RGLayer& layer, Extended x, Extended y, const QString& signName = QStringLiteral("знак"))
    {
        layer.Points.AddItem(std::make_unique<RGPoint>());
        RGPoint& p = *layer.Points.At(layer.Points.GetCount() - 1);
        p.Position = GeoPoint(x, y);
        p.SignName = signName;
        return p;
    }

    static RVpLayer& Element(TVpLayers& picture)
    {
        picture.AddItem(std::make_unique<RVpLayer>());
        return *picture.At(picture.GetCount() - 1);
    }

    // A square of side metres around c, filled with fill, outlined with pen.
    static void Square(TVpLayers& picture, TGeoPoint c, Extended side, std::int32_t pen, Extended widthMM,
                       std::int32_t fill, std::uint8_t fillStyle = vfColor)
    {
        RVpLayer& e = Element(picture);
        e.Polygons.AddItem(std::make_unique<RVpPolygon>());
        RVpPolygon& g = *e.Polygons.At(0);
        g.PenColor = pen;
        g.PenWidth = widthMM;
        g.FillColor = fill;
        g.FillStyle = fillStyle;
        const Extended h = side / 2;
        const std::pair<Extended, Extended> corners[] = {{-h, -h}, {h, -h}, {h, h}, {-h, h}};
        for (const auto& [dx, dy] : corners) {
            g.Points.AddItem(std::make_unique<RGeoPoint>());
            *g.Points.At(g.Points.GetCount() - 1) = GeoPoint(c.X + dx, c.Y + dy);
        }
    }

    static void Line(TVpLayers& picture, TGeoPoint a, TGeoPoint b, Extended widthMM, std::int32_t pen = 0)
    {
        RVpLayer& e = Element(picture);
        e.Lines.AddItem(std::make_unique<RVpLine>());
        RVpLine& l = *e.Lines.At(0);
        l.P1 = a;
        l.P2 = b;
        l.PenWidth = widthMM;
        l.PenColor = pen;
    }

    RGText& AddText(RGLayer& layer, Extended x, Extended y, const QString& text, Extended sizeMM)
    {
        layer.Texts.AddItem(std::make_unique<RGText>());
        RGText& t = *layer.Texts.At(layer.Texts.GetCount() - 1);
        t.Position = GeoPoint(x, y);
        t.Text = text;
        t.OwnStyle = std::make_unique<TUserStyle>();
        t.OwnStyle->FontName = QStringLiteral("Liberation Sans");
        t.OwnStyle->Size = sizeMM;
        return t;
    }

    void Draw(TDrawMode mode, TDrawDest dest = ddScreen) { M().Draw(W, H, mode, dest); }

    // The pixel of a plan point in the picture of the last drawing.
    QRgb At(Extended x, Extended y) const
    {
        int xs = 0, ys = 0;
        Map->GeoToScr(Map->DrawH, x, y, xs, ys);
        return Map->Bitmap.pixel(xs + Map->ScrollX, ys + Map->ScrollY) & 0xFFFFFF;
    }
    QPoint PixelAt(Extended x, Extended y) const
    {
        int xs = 0, ys = 0;
        Map->GeoToScr(Map->DrawH, x, y, xs, ys);
        return QPoint(xs + Map->ScrollX, ys + Map->ScrollY);
    }
    // Whether any pixel of the picture has the colour.
    bool Shows(std::int32_t color) const
    {
        const QRgb want = Rgb(color);
        for (int y = 0; y < Map->Bitmap.height(); ++y)
            for (int x = 0; x < Map->Bitmap.width(); ++x)
                if ((Map->Bitmap.pixel(x, y) & 0xFFFFFF) == want)
                    return true;
        return false;
    }

    TSurfaceWindow Surface;
};

}  // namespace

TEST_F(DrawPlan, PenWidthFollowsTheOutputScaleAndZeroIsOnePixel)
{
    // 3.657 dots a millimetre on the 92.89 dpi screen: a 0.2 mm line of a 1:500 sign
    // seen at 1:1000 rounds to width 0, drawn one pixel wide.
    struct Case { Extended widthMM, denominator; int pixels; };
    const Case cases[] = {{0.2L, 1000, 1}, {0.2L, 500, 1}, {1, 500, 4}, {1, 1000, 2}};
    RGPoint& p = AddPoint(Layer(), 10, 10);
    Line(p.Picture, GeoPoint(10, 2), GeoPoint(10, 30), 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(double(c.widthMM));
        SCOPED_TRACE(double(c.denominator));
        p.Picture.At(0)->Lines.At(0)->PenWidth = c.widthMM;
        View(c.denominator);
        Draw(3);
        EXPECT_EQ(M().OutputScale, c.denominator);
        const QPoint at = PixelAt(10, 15);
        int inked = 0;
        for (int y = at.y() - 10; y <= at.y() + 10; ++y)
            inked += (M().Bitmap.pixel(at.x(), y) & 0xFFFFFF) != 0xFFFFFF;
        EXPECT_EQ(inked, c.pixels);
    }
}

TEST_F(DrawPlan, TextTooSmallToPaintIsStillMeasured)
{
    RGText& t = AddText(Layer(), 10, 10, QStringLiteral("Мелко"), 0.1L);   // 0.37 dots
    View(500);
    Draw(3);
    EXPECT_EQ(t.FrameValid, 1);
    EXPECT_NE(t.Frame[0].Y, t.Frame[1].Y);   // a frame with a width
    EXPECT_FALSE(Shows(0));
    // Large enough, it is painted.
    t.OwnStyle->Size = 4;
    Draw(3);
    EXPECT_TRUE(Shows(0));
}

TEST_F(DrawPlan, NamedTextsShowTheirValue)
{
    struct Case { const char* text; const char* shown; };
    const Case cases[] = {
        {"^директор%Иванов И.И.", "Иванов И.И."},
        {"^директор%", "^директор%"},   // nothing after "%": the whole string
        {"^директор", "^директор"},     // no "%": the whole string
    };
    RGText& t = AddText(Layer(), 10, 5, QString(), 4);
    View(500);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        t.Text = QString::fromUtf8(c.shown);
        t.FrameValid = 0;
        Draw(3);
        const QImage expected = M().Bitmap.copy();
        ASSERT_TRUE(Shows(0));
        t.Text = QString::fromUtf8(c.text);
        t.FrameValid = 0;
        Draw(3);
        EXPECT_TRUE(M().Bitmap == expected);
    }
}

TEST_F(DrawPlan, UserVectorColourTakesPensAndTextsButLeavesFills)
{
    RGLayer& layer = Layer();
    RGPoint& p = AddPoint(layer, 10, 10);
    Square(p.Picture, p.Position, 6, Blue, 1, Green);
    M().UserVectorColourOn = 1;
    M().UserVectorColour = Red;
    View(500);
    Draw(3);
    EXPECT_EQ(At(10, 10), Rgb(Green));
    EXPECT_EQ(At(13, 10), Rgb(Red));   // the square's side
    EXPECT_FALSE(Shows(Blue));
}

TEST_F(DrawPlan, FillKindsOfSignPictures)
{
    struct Case { const char* what; std::uint8_t kind; TDrawDest dest; std::int32_t inside; };
    const std::int32_t ground = 0x00FFFF;   // the screen's ground: yellow
    const Case cases[] = {
        {"backdrop on the screen", vfBackdrop, ddScreen, ground},
        {"backdrop in an image", vfBackdrop, ddRaster, 0xFFFFFF},
        {"fill colour", vfColor, ddScreen, Green},
        {"none: the raster below shows", vfNone, ddScreen, Blue},
    };
    RGLayer& layer = Layer();
    M().BackColor = ground;
    M().ShowRastrs = 1;
    RGPage& page = *M().Pages.At(0);
    page.Rastrs.AddItem(std::make_unique<RGRastr>());
    RGRastr& r = *page.Rastrs.At(0);
    r.BottomLeft = GeoPoint(8, 8);
    r.TopRight = GeoPoint(12, 12);
    r.Loaded = 1;
    r.Picture->Image = QImage(2, 2, QImage::Format_RGB32);
    r.Picture->Image.fill(QColor(0, 0, 255));
    RGPoint& p = AddPoint(layer, 10, 10);
    View(500);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        p.Picture.DeleteAll();
        Square(p.Picture, p.Position, 6, 0, 0.2L, Green, c.kind);
        p.SignName = QStringLiteral("знак");
        M().ForeignSigns.clear();
        Draw(3, c.dest);
        if (c.dest != ddScreen) {   // the empty library took the picture: drawn by hand
            p.Picture.DeleteAll();
            Square(p.Picture, p.Position, 6, 0, 0.2L, Green, c.kind);
            M().DrawCashe(&p.Picture);
        }
        EXPECT_EQ(At(10, 10), Rgb(c.inside));
    }
}

TEST_F(DrawPlan, BlackAndWhitePagesDrawOutlinesBlackAndFillsWhite)
{
    struct Case { const char* what; TDrawDest dest; int printBits, rasterBits; bool mono; };
    const Case cases[] = {
        {"printer 1 bit", ddPrinter, 1, 24, true},
        {"printer 8 bits", ddPrinter, 3, 1, false},
        {"raster 1 bit", ddRaster, 3, 1, true},
        {"raster 24 bits", ddRaster, 1, 24, false},
        {"screen", ddScreen, 1, 1, false},
    };
    RGPoint& p = AddPoint(Layer(), 10, 10);
    Square(p.Picture, p.Position, 6, Blue, 1, Green);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        M().PrintBits = std::uint8_t(c.printBits);
        M().RasterBits = std::uint8_t(c.rasterBits);
        M().MapViews.DeleteAll();
        View(500, c.dest == ddPrinter ? 100 : 1);
        p.SignName = QStringLiteral("знак");   // kept: other destinations render again
        Draw(3, c.dest);
        // The empty library renders nothing in place of the picture: draw it again
        // by hand through the picture drawing.
        p.Picture.DeleteAll();
        Square(p.Picture, p.Position, 6, Blue, 1, Green);
        M().Painter.reset();
        M().DrawCashe(&p.Picture);
        EXPECT_EQ(At(10, 10), Rgb(c.mono ? 0xFFFFFF : Green));
        EXPECT_EQ(At(13, 10), Rgb(c.mono ? 0 : Blue));
    }
}

// A fill kind the drawing does not know keeps the brush of the primitive before: its
// colour on a coloured page, white on a black and white one.
TEST_F(DrawPlan, UnknownFillKindKeepsTheBrushButBlackAndWhiteFillsWhite)
{
    RGPoint& p = AddPoint(Layer(), 10, 10);
    for (const bool mono : {false, true}) {
        SCOPED_TRACE(mono ? "raster 1 bit" : "raster 24 bits");
        M().RasterBits = std::uint8_t(mono ? 1 : 24);
        M().MapViews.DeleteAll();
        View(500, 1);
        p.SignName = QStringLiteral("знак");
        Draw(3, ddRaster);
        p.Picture.DeleteAll();
        Square(p.Picture, p.Position, 6, Blue, 0.2L, Red, std::uint8_t(7));
        // A green brush left on the painter by whatever was painted before.
        M().Painter->Begin(M().Bitmap);
        M().Painter->SetBrush(Green);
        M().DrawCashe(&p.Picture);
        M().Painter->End();
        EXPECT_EQ(At(10, 10), Rgb(mono ? 0xFFFFFF : Green));
    }
}

TEST_F(DrawPlan, SignsUpToFourTimesThePlanScaleOutlinesBeyond)
{
    RGPoint& p = AddPoint(Layer(), 10, 10);
    Square(p.Picture, p.Position, 8, Blue, 0.5L, Red);
    View(2000);
    Draw(3);
    EXPECT_EQ(M().OutputScale, 2000);
    EXPECT_TRUE(Shows(Red));
    View(2001);
    Draw(3);
    EXPECT_EQ(M().OutputScale, 2001);
    EXPECT_FALSE(Shows(Red));
    EXPECT_EQ(At(10, 10), 0u);   // the point as one black pixel
}

TEST_F(DrawPlan, HiddenSheetsAndLayersAreRenderedButNotDrawn)
{
    RGLayer& hiddenSheet = Layer(0, 0);
    M().Pages.At(0)->Visible = 0;
    RGLayer& hiddenLayer = Layer(1, 0);
    hiddenLayer.Visible = 0;
    RGPoint& a = AddPoint(hiddenSheet, 10, 10, QString());
    RGPoint& b = AddPoint(hiddenLayer, 12, 12, QString());
    Square(a.Picture, a.Position, 4, Red, 1, Red);
    Square(b.Picture, b.Position, 4, Red, 1, Red);
    AddText(hiddenSheet, 8, 8, QStringLiteral("скрыт"), 4);
    View(500);
    for (std::uint8_t symbols : {1, 0}) {
        SCOPED_TRACE(int(symbols));
        M().ShowSymbols = symbols;
        Draw(3);
        EXPECT_FALSE(Shows(Red));
        EXPECT_FALSE(Shows(0));
    }
    EXPECT_EQ(a.SignName, QStringLiteral("#"));
    EXPECT_EQ(b.SignName, QStringLiteral("#"));
}

TEST_F(DrawPlan, RastersDrawnWhenTheyMeetTheDrawingArea)
{
    struct Case { const char* what; Extended x0, y0, x1, y1; std::uint8_t visible, loaded; bool drawn; };
    const Case cases[] = {
        {"covers the window, no corner inside", -1000, -1000, 1000, 1000, 1, 1, true},
        {"inside", 5, 5, 15, 15, 1, 1, true},
        {"hidden", -1000, -1000, 1000, 1000, 0, 1, false},
        {"not loaded", -1000, -1000, 1000, 1000, 1, 0, false},
        {"far outside", 5000, 5000, 5100, 5100, 1, 1, false},
    };
    Layer();
    M().ShowRastrs = 1;
    View(500);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RGPage& page = *M().Pages.At(0);
        page.Rastrs.DeleteAll();
        page.Rastrs.AddItem(std::make_unique<RGRastr>());
        RGRastr& r = *page.Rastrs.At(0);
        r.BottomLeft = GeoPoint(c.x0, c.y0);
        r.TopRight = GeoPoint(c.x1, c.y1);
        r.Visible = c.visible;
        r.Loaded = c.loaded;
        r.Picture->Image = QImage(4, 4, QImage::Format_RGB32);
        r.Picture->Image.fill(QColor(0, 0, 255));
        Draw(3);
        EXPECT_EQ(At(10, 10) == Rgb(Blue), c.drawn);
    }
}

TEST_F(DrawPlan, ModesRenderWhatTheyPromise)
{
    RGLayer& layer = Layer();
    RGPoint& a = AddPoint(layer, 10, 10);
    RGPoint& b = AddPoint(layer, 11, 11);
    RGPoint& c = AddPoint(layer, 12, 12);
    const auto names = [&] { return QStringList{a.SignName, b.SignName, c.SignName}.join(u','); };
    View(500);
    // Mode 3 after one semantics change: that object alone.
    b.SignName.clear();
    Draw(3);
    EXPECT_EQ(names(), QStringLiteral("знак,#,знак"));
    // Mode 7: the marked object, here the last point of the layer, alone.
    M().EditedPage = 0;
    M().EditedLayer = 0;
    M().EditedKind = 0;
    M().EditedObject = -1;
    Draw(7);
    EXPECT_EQ(names(), QStringLiteral("знак,#,#"));
    // A marker naming no object renders nothing and, in the whole redraw, draws the rest
    // (the redraw of only what an edit touched is checked against it in DrawDirtyTest).
    M().DirtyRedrawOn = 0;
    M().EditedObject = 9;
    a.SignName = QStringLiteral("знак");
    Square(a.Picture, a.Position, 2, Red, 1, Red);
    Draw(7);
    EXPECT_EQ(a.SignName, QStringLiteral("знак"));
    EXPECT_TRUE(Shows(Red));
    // Mode 2: every visible object.
    Draw(2);
    EXPECT_EQ(names(), QStringLiteral("#,#,#"));
}

TEST_F(DrawPlan, PagesAndImagesRenderEverythingAndNeverTouchTheSurface)
{
    RGLayer& layer = Layer();
    RGPoint& a = AddPoint(layer, 10, 10);
    RGPoint& b = AddPoint(layer, 11, 11);
    for (TDrawDest dest : {ddPrinter, ddRaster, ddDxf}) {
        SCOPED_TRACE(int(dest));
        M().MapViews.DeleteAll();
        View(500, dest == ddPrinter ? 100 : 1);
        a.SignName = b.SignName = QStringLiteral("знак");
        Draw(3, dest);
        EXPECT_EQ(a.SignName, QStringLiteral("#"));
        EXPECT_EQ(b.SignName, QStringLiteral("#"));
        EXPECT_EQ(M().Bitmap.size(), QSize(W, H));
        EXPECT_EQ(Surface.Copies, 0);
        EXPECT_EQ(Surface.Pauses, 0);
    }
    View(500);
    Draw(3);
    EXPECT_EQ(M().Bitmap.size(), QSize(3 * W, 3 * H));
    EXPECT_EQ(Surface.Copies, 1);
    EXPECT_EQ(Surface.Pauses, 1);
    EXPECT_EQ(Surface.Resumes, 1);
    EXPECT_EQ(M().DrawBusy, 0);
    EXPECT_EQ(Surface.WaitDepth, 0);
}

// A sign rendered for a 300 dpi image holds texts sized in dots of 300 dpi: the next
// screen drawing must render it again, even in a mode that keeps named signs.
TEST_F(DrawPlan, SignsRenderedForAnotherResolutionAreRenderedAgainOnTheScreen)
{
    RGPoint& a = AddPoint(Layer(), 10, 10);
    M().RasterDpi = 300;
    View(500);
    Draw(3, ddRaster);
    EXPECT_EQ(a.SignName, QStringLiteral("#"));
    a.SignName = QStringLiteral("знак");
    Draw(3);
    EXPECT_EQ(a.SignName, QStringLiteral("#"));
    a.SignName = QStringLiteral("знак");
    Draw(3);
    EXPECT_EQ(a.SignName, QStringLiteral("знак"));   // once only
}

// A node 10^9 m away must neither fail the drawing nor lose the part of its line that
// crosses the window.
TEST_F(DrawPlan, FarNodeDrawsTheVisiblePartOfItsLine)
{
    RGLayer& layer = Layer();
    layer.Lines.AddItem(std::make_unique<RGLine>());
    RGLine& l = *layer.Lines.At(0);
    l.SignName = QStringLiteral("знак");
    for (TGeoPoint g : {GeoPoint(2, 2), GeoPoint(2, 1e9L)}) {
        l.Nodes.AddItem(std::make_unique<RGLineNode>());
        l.Nodes.At(l.Nodes.GetCount() - 1)->Position = g;
    }
    Line(l.Picture, GeoPoint(3, 2), GeoPoint(3, 1e9L), 0.5L);
    View(100);   // close: 36.6 pixels a metre, the window 5 m across
    for (std::uint8_t symbols : {0, 1}) {
        SCOPED_TRACE(int(symbols));
        M().ShowSymbols = symbols;
        Draw(3);
        const Extended x = symbols ? 3 : 2;
        for (Extended y : {2.5L, 4.0L, 5.0L})
            EXPECT_EQ(At(x, y), 0u) << double(y);
    }
}

TEST_F(DrawPlan, NodeMarksInTheMainPlansColour)
{
    RGLayer& layer = Layer();
    AddPoint(layer, 10, 10);
    M().ShowNodes = 1;
    M().NodeColor = Green;
    View(500);
    Draw(3);
    EXPECT_EQ(At(10, 10), Rgb(Green));
    // Another plan drawing takes the main plan's colour.
    TGeoMap main;
    main.NodeColor = Red;
    MainMap = &main;
    Draw(3);
    MainMap = nullptr;
    EXPECT_EQ(At(10, 10), Rgb(Red));
}

TEST_F(DrawPlan, TimingsAndCountsOnThePanels)
{
    RGLayer& layer = Layer();
    AddPoint(layer, 10, 10);
    AddPoint(layer, 5000, 5000);
    View(500);
    Draw(3);
    EXPECT_TRUE(Surface.Panels[TEnginePanel::Timings].startsWith(QStringLiteral("вывод изображения: [")));
    EXPECT_TRUE(Surface.Panels[TEnginePanel::Timings].endsWith(QStringLiteral("сек.")));
    EXPECT_EQ(Surface.Panels[TEnginePanel::Counts],
              QString::number(M().DrawnCount) + u'/' + QString::number(M().SkippedCount));
    EXPECT_GT(M().SkippedCount, 0);
    EXPECT_EQ(Surface.Panels[TEnginePanel::Scale], QStringLiteral("масштаб 1:500"));
}

// A redraw before any view was set (the rasters loaded into a new plan) failed for want
// of a scale.
TEST_F(DrawPlan, RedrawBeforeAnyViewFitsThePlan)
{
    RGPoint& p = AddPoint(Layer(), 10, 10);
    Square(p.Picture, p.Position, 2, Red, 1, Red);
    Draw(3);
    EXPECT_GT(M().FactorX, 0);
    EXPECT_TRUE(Shows(Red));
    EXPECT_EQ(M().MapViews.GetCount(), 0);
    M().Draw(0, 0, 3, ddScreen);   // no surface at all
    EXPECT_EQ(M().DrawBusy, 0);
}

// The objects a polygon holds and the points of line nodes had their signs rendered and
// never drawn: with signs on they vanished, while the outline drawing showed them.
TEST_F(DrawPlan, ObjectsHeldByPolygonsAndLineNodesAreDrawnOverTheirOwner)
{
    RGLayer& layer = Layer();
    layer.Polygons.AddItem(std::make_unique<RGPolygon>());
    RGPolygon& area = *layer.Polygons.At(0);
    area.SignName = QStringLiteral("знак");
    for (const auto& [x, y] : {std::pair{4, 4}, {4, 16}, {16, 16}, {16, 4}}) {
        area.Nodes.AddItem(std::make_unique<RGPolygonNode>());
        area.Nodes.At(area.Nodes.GetCount() - 1)->Position = GeoPoint(x, y);
    }
    Square(area.Picture, GeoPoint(10, 10), 12, 0, 0.1L, Green);
    // Its point, and its line with a point on its first node.
    area.InnerPoints.AddItem(std::make_unique<RGPoint>());
    RGPoint& inner = *area.InnerPoints.At(0);
    inner.Position = GeoPoint(7, 7);
    inner.SignName = QStringLiteral("знак");
    Square(inner.Picture, inner.Position, 2, Red, 0.1L, Red);
    area.InnerLines.AddItem(std::make_unique<RGLine>());
    RGLine& innerLine = *area.InnerLines.At(0);
    innerLine.SignName = QStringLiteral("знак");
    for (const auto& g : {GeoPoint(13, 13), GeoPoint(14, 14)}) {
        innerLine.Nodes.AddItem(std::make_unique<RGLineNode>());
        innerLine.Nodes.At(innerLine.Nodes.GetCount() - 1)->Position = g;
    }
    innerLine.Nodes.At(0)->NodePoints.AddItem(std::make_unique<RGPoint>());
    RGPoint& onNode = *innerLine.Nodes.At(0)->NodePoints.At(0);
    onNode.SignName = QStringLiteral("знак");
    Square(onNode.Picture, GeoPoint(13, 13), 2, Blue, 0.1L, Blue);
    // A line of the layer with a point on its last node, outside the area.
    layer.Lines.AddItem(std::make_unique<RGLine>());
    RGLine& line = *layer.Lines.At(0);
    line.SignName = QStringLiteral("знак");
    for (const auto& g : {GeoPoint(1, 1), GeoPoint(1, 18)}) {
        line.Nodes.AddItem(std::make_unique<RGLineNode>());
        line.Nodes.At(line.Nodes.GetCount() - 1)->Position = g;
    }
    line.Nodes.At(1)->NodePoints.AddItem(std::make_unique<RGPoint>());
    RGPoint& end = *line.Nodes.At(1)->NodePoints.At(0);
    end.SignName = QStringLiteral("знак");
    Square(end.Picture, GeoPoint(1, 18), 1.5L, Red, 0.1L, Red);
    View(500);
    Draw(3);
    EXPECT_EQ(At(10, 10), Rgb(Green));
    EXPECT_EQ(At(7, 7), Rgb(Red));
    EXPECT_EQ(At(13, 13), Rgb(Blue));
    EXPECT_EQ(At(1, 18), Rgb(Red));
    // Hidden layers hide what their objects hold.
    layer.Visible = 0;
    Draw(3);
    EXPECT_FALSE(Shows(Red));
}
