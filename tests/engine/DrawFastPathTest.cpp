// The tiled drawing against the plain one: the same plan drawn both ways must give the
// same picture, pixel for pixel, for the fixture plans (the sign gallery, the areas, the
// slopes, the benchmarks' small plan) at three scales and four draw modes, under every
// display switch and destination, and after the everyday edits. Any differing pixel
// fails and leaves both pictures (see ExpectSamePixels) for a look.
#include "DrawTestSupport.h"
#include "PlanFileTest.h"
#include "PlanGenerator.h"

#include "engine/draw/GlyphCache.h"
#include "engine/draw/MapPainter.h"
#include "engine/draw/TileDrawer.h"
#include "platform/ProgramFolder.h"
#include "semantics/signs/Symbols.h"

#include <QRandomGenerator>
#include <functional>

namespace {

constexpr int W = 360, H = 280;

struct RView {
    const char* Name;
    const char* Plan;   // a fixture plan, or "small": the benchmarks' generated plan
    TGeoPoint Centre;   // for the small plan: found in it
};

class DrawFastPath : public PlanFileFixture {
protected:
    void SetUp() override
    {
        PlanFileFixture::SetUp();
        for (const char* part : {"Условные знаки", "Шрифты", "Семантика"})
            CopyDataFolder(QString::fromUtf8(part), Folder());
    }

    void TearDown() override
    {
        SetDrawPath(TDrawPath::Tiled);
        PlanFileFixture::TearDown();
    }

    // Opens a fixture plan, or writes and opens the small synthetic plan; returns the
    // centre of the view to draw (the small plan's: its dense spot).
    TGeoPoint Open(const RView& v)
    {
        QString file = QString::fromUtf8(v.Plan);
        if (file == QLatin1String("small")) {
            file = QStringLiteral("small.500");
            TPlanGenerator(PlanShapeByName(QStringLiteral("small")), LoadSemanticsPool(GetProgramFolder()))
                .WriteFile(PlanPath(file));
        }
        M().StrToComm(QStringLiteral("mcOpenMap=<") + file + QStringLiteral("><New><True><>"));
        MainMap = &M();
        M().ShowSymbols = 1;
        M().Draw(W, H, 0, ddScreen);
        if (file != QLatin1String("small.500"))
            return v.Centre;
        const TGPoints& points = M().Pages.At(0)->Layers.At(0)->Points;
        return points.At(points.GetCount() / 2)->Position;
    }

    // The view at 1:scale about centre, as the scale box and the centring put it.
    void View(const TGeoPoint& centre, int scale, int w = W, int h = H)
    {
        M().DisplayScale = scale;
        M().CentreTarget = centre;
        M().Draw(w, h, 8, ddScreen);
    }

    // draw run once the plain way and once tiled, from the same plan; the pictures must
    // be the same.
    void ExpectSameBothWays(const QString& name, const std::function<void()>& draw)
    {
        SetDrawPath(TDrawPath::Plain);
        draw();
        const QImage plain = M().Bitmap.copy();
        SetDrawPath(TDrawPath::Tiled);
        draw();
        ExpectSamePixels(plain, M().Bitmap, name);
    }

    // The first object of a kind with a node in the drawing area: page, layer, index.
    template <class Pick>
    bool FindSeen(Pick pick, int& page, int& layer, int& index)
    {
        for (page = 0; page < M().Pages.GetCount(); ++page)
            for (layer = 0; layer < M().Pages.At(page)->Layers.GetCount(); ++layer)
                if ((index = pick(*M().Pages.At(page)->Layers.At(layer))) >= 0)
                    return true;
        return false;
    }
    bool Seen(const TGeoPoint& p) { return M().PointInDrawArea(p); }
};

// The extent of a sign picture, metres across its larger side; 0 for none.
Extended PictureSize(const TVpLayers& picture)
{
    Extended x1 = 1e30L, y1 = 1e30L, x2 = -1e30L, y2 = -1e30L;
    const auto add = [&](const TGeoPoint& p) {
        x1 = std::min(x1, p.X);
        y1 = std::min(y1, p.Y);
        x2 = std::max(x2, p.X);
        y2 = std::max(y2, p.Y);
    };
    for (const auto& e : picture) {
        for (const auto& g : e->Polygons)
            for (const auto& q : g->Points)
                add(*q);
        for (const auto& c : e->Circles) {
            add(GeoPoint(c->Center.X - c->Radius, c->Center.Y - c->Radius));
            add(GeoPoint(c->Center.X + c->Radius, c->Center.Y + c->Radius));
        }
        for (const auto& l : e->Lines) {
            add(l->P1);
            add(l->P2);
        }
        for (const auto& l : e->Polylines)
            for (const auto& q : l->Points)
                add(*q);
    }
    return x2 < x1 ? 0 : std::max(x2 - x1, y2 - y1);
}

const RView Views[] = {
    {"gallery", "signs.500", GeoPoint(1030, 2020)},
    {"areas", "signs.500", GeoPoint(1628, 2238)},
    {"slopes", "signs.500", GeoPoint(1528, 2056)},
    {"small", "small", GeoPoint(0, 0)},
};

}  // namespace

TEST_F(DrawFastPath, ModesAndScalesOfTheFixturePlansPaintThePlainPixels)
{
    // The tiled drawing's captions come from the glyph cache: the comparison covers it.
    TGlyphCache::Shared().Clear();
    ASSERT_TRUE(TGlyphCache::Shared().Enabled());
    for (const RView& v : Views) {
        const TGeoPoint centre = Open(v);
        for (const int scale : {500, 2000, 10000})
            for (const TDrawMode mode : {2, 3, 5, 7}) {
                const QString name = QStringLiteral("%1-%2-mode%3").arg(QLatin1String(v.Name)).arg(scale).arg(mode);
                SCOPED_TRACE(name.toStdString());
                ExpectSameBothWays(name, [&] {
                    // Mode 5 zooms in from twice the scale; mode 7 after a change of the
                    // last line of the first layer.
                    View(centre, mode == 5 ? 2 * scale : scale);
                    M().DisplayScale = scale;
                    M().EditedPage = 0;
                    M().EditedLayer = 0;
                    M().EditedKind = 1;
                    M().EditedObject = -1;
                    M().Draw(W, H, mode, ddScreen);
                });
                if (mode == 5)
                    EXPECT_EQ(M().OutputScale, scale);
            }
        MainMap = nullptr;
    }
    EXPECT_GT(TGlyphCache::Shared().Glyphs(), 100u);
}

// Each display switch and destination changes what the walk hands the painter: the
// outlines, the snapping nodes, the grid, the frames with their labels, the rasters (the
// full fixture plan has one), the node marks, one colour for every pen, and the black
// and white, the colour and the printed pages.
TEST_F(DrawFastPath, DisplaySwitchesAndDestinationsPaintThePlainPixels)
{
    struct RSwitch {
        const char* Name;
        std::function<void(TGeoMap&)> Set;
        TDrawDest Dest = ddScreen;
    };
    const RSwitch switches[] = {
        {"signs-off", [](TGeoMap& m) { m.ShowSymbols = 0; }},
        {"link-to-nodes", [](TGeoMap& m) { m.LinkToNodes = 1; }},
        {"grid", [](TGeoMap& m) { m.ShowCoordCross = 1; }},
        {"frames", [](TGeoMap& m) { m.ShowPlansBorders = m.ShowPlanNom = 1; }},
        {"rasters", [](TGeoMap& m) { m.ShowRastrs = 1; }},
        {"node-marks", [](TGeoMap& m) { m.ShowNodes = 1; }},
        {"one-colour", [](TGeoMap& m) { m.UserVectorColourOn = 1; }},
        {"raster-1bit", [](TGeoMap& m) { m.RasterBits = 1; m.ShowCoordCross = 1; }, ddRaster},
        {"raster-24bit", [](TGeoMap& m) { m.RasterBits = 24; }, ddRaster},
        {"printer", [](TGeoMap& m) { m.PrintBits = 3; m.ShowCoordCross = 1; }, ddPrinter},
    };
    const RView plans[] = {{"areas", "signs.500", GeoPoint(1628, 2238)},
                           {"full", "full.500", GeoPoint(250, 300)}};
    for (const RView& v : plans) {
        const TGeoPoint centre = Open(v);
        DrawAt500OnWhite(M());
        M().BackColor = clBtnFace;
        M().PrintOrigin = GeoPoint(centre.X + 20, centre.Y - 20);
        M().PageWidthMm = 80;
        M().PageHeightMm = 60;
        for (const int scale : {500, 2000})
            for (const RSwitch& s : switches) {
                const QString name = QStringLiteral("%1-%2-%3").arg(QLatin1String(v.Name)).arg(scale).arg(QLatin1String(s.Name));
                SCOPED_TRACE(name.toStdString());
                ExpectSameBothWays(name, [&] {
                    View(centre, scale);
                    M().ShowSymbols = 1;
                    s.Set(M());
                    M().Draw(W, H, s.Dest == ddScreen ? 3 : 2, s.Dest);
                });
                M().ShowSymbols = 1;
                M().LinkToNodes = M().ShowCoordCross = M().ShowPlansBorders = M().ShowPlanNom = 0;
                M().ShowRastrs = M().ShowNodes = M().UserVectorColourOn = 0;
                M().RasterBits = 24;
            }
        MainMap = nullptr;
    }
}

// After the edits of a working day the window redraws the one object changed (mode 7)
// or refreshes (mode 3): a point added, a line's node moved, a polygon deleted, a point
// given the semantics of a larger sign, a text turned.
TEST_F(DrawFastPath, EditsRedrawToThePlainPixels)
{
    const RView plans[] = {{"gallery", "signs.500", GeoPoint(1030, 2020)},
                           {"areas", "signs.500", GeoPoint(1628, 2238)}};
    for (const RView& v : plans) {
        const TGeoPoint centre = Open(v);
        for (const int scale : {500, 2000}) {
            View(centre, scale);
            const auto redraw = [&](const char* edit, TDrawMode mode, int page, int layer, std::uint8_t kind,
                                    int index) {
                const QString name =
                    QStringLiteral("%1-%2-%3").arg(QLatin1String(v.Name)).arg(scale).arg(QLatin1String(edit));
                SCOPED_TRACE(name.toStdString());
                ExpectSameBothWays(name, [&] {
                    M().EditedPage = page;
                    M().EditedLayer = layer;
                    M().EditedKind = kind;
                    M().EditedObject = index;
                    M().Draw(W, H, mode, ddScreen);
                });
            };
            int page = 0, layer = 0, index = 0;

            // A point beside the centre, with the semantics of the plan's first point.
            ASSERT_TRUE(FindSeen([&](RGLayer& l) { return l.Points.GetCount() > 0 ? 0 : -1; }, page, layer, index));
            const QString semantics = M().Pages.At(page)->Layers.At(layer)->Points.At(index)->Semantics;
            M().StrToComm(QStringLiteral("mcNewPoint=<%1><%2><%3><%4><%5><2><0><><0><0>")
                              .arg(page)
                              .arg(layer)
                              .arg(semantics, QString::number(double(centre.X + 3), 'f', 1).replace(u'.', u','),
                                   QString::number(double(centre.Y + 4), 'f', 1).replace(u'.', u',')));
            redraw("new-point", 7, page, layer, 0, -1);

            // A node of the first line seen moved by a few metres.
            if (FindSeen([&](RGLayer& l) {
                    for (int i = 0; i < l.Lines.GetCount(); ++i)
                        if (l.Lines.At(i)->Nodes.GetCount() > 1 && Seen(l.Lines.At(i)->Nodes.At(0)->Position))
                            return i;
                    return -1;
                }, page, layer, index)) {
                RGLine& line = *M().Pages.At(page)->Layers.At(layer)->Lines.At(index);
                TGeoPoint& at = line.Nodes.At(1)->Position;
                at = GeoPoint(at.X + 2, at.Y - 3);
                TGeoMap::ForgetSign(line.SignName, line.Picture);
                redraw("moved-node", 7, page, layer, 1, index);
            }

            // The first polygon seen deleted.
            if (FindSeen([&](RGLayer& l) {
                    for (int i = 0; i < l.Polygons.GetCount(); ++i)
                        if (l.Polygons.At(i)->Nodes.GetCount() > 0 && Seen(l.Polygons.At(i)->Nodes.At(0)->Position))
                            return i;
                    return -1;
                }, page, layer, index)) {
                M().StrToComm(QStringLiteral("mcDelPolygon=<%1><%2><%3>").arg(page).arg(layer).arg(index));
                redraw("deleted-polygon", 3, page, layer, 2, index);
            }

            // The smallest point sign seen takes the semantics of the largest.
            RGPoint* small = nullptr;
            const RGPoint* large = nullptr;
            int smallPage = 0, smallLayer = 0, smallIndex = 0;
            for (int p = 0; p < M().Pages.GetCount(); ++p)
                for (int l = 0; l < M().Pages.At(p)->Layers.GetCount(); ++l)
                    for (int i = 0; i < M().Pages.At(p)->Layers.At(l)->Points.GetCount(); ++i) {
                        RGPoint* o = M().Pages.At(p)->Layers.At(l)->Points.At(i);
                        if (!Seen(o->Position))
                            continue;
                        if (!small || PictureSize(o->Picture) < PictureSize(small->Picture)) {
                            small = o;
                            smallPage = p;
                            smallLayer = l;
                            smallIndex = i;
                        }
                        if (!large || PictureSize(o->Picture) > PictureSize(large->Picture))
                            large = o;
                    }
            if (small && large && PictureSize(large->Picture) > PictureSize(small->Picture)) {
                small->Semantics = large->Semantics;
                TGeoMap::ForgetSign(small->SignName, small->Picture);
                redraw("larger-sign", 7, smallPage, smallLayer, 0, smallIndex);
            }

            // Every text of the plan turned by 45 degrees.
            for (const auto& pg : M().Pages)
                for (const auto& l : pg->Layers)
                    for (const auto& t : l->Texts) {
                        t->Angle = (t->Angle + 450) % 3600;
                        t->FrameValid = 0;
                    }
            redraw("turned-texts", 3, 0, 0, 0, 0);
        }
        MainMap = nullptr;
    }
}

// The painter's every primitive, at random across the tiles' edges: one-pixel, dashed and
// wide pens in every pen mode, polylines, polygons with holes, dashed polygons, ellipses
// from a dot to larger than the picture, pixels, turned texts (underlined and struck out
// among them), fills and stretched images. Then the same painted over a part of the
// picture alone: nothing outside it moves. (Guards the clip's own roundings: a stretched
// image and an underline cut by a tile's edge came out a shade off.)
// A stretched image among the objects that a tile's edge cuts makes the whole list paint
// on one thread; the test keeps the images where the drawing has them, first.
TEST(DrawTiles, EveryPrimitivePaintsThePlainPixels)
{
    const QSize size(900, 700);
    QImage under(size, QImage::Format_RGB32);
    under.fill(QColor(250, 240, 230));
    QImage stretched(16, 12, QImage::Format_RGB32);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            stretched.setPixel(x, y, qRgb(x * 16, y * 20, 128));
    TLogFont sans;
    sans.FaceName = QStringLiteral("DejaVu Sans");
    sans.Height = 14;
    TLogFont serif;
    serif.FaceName = QStringLiteral("Liberation Serif");
    serif.Height = 23;
    serif.Weight = 700;
    serif.Italic = 1;

    const auto paint = [&](TMapPainter& p) {
        QRandomGenerator random(72);
        const auto point = [&](int margin) {
            return QPointF(random.bounded(-margin, size.width() + margin) + random.bounded(100) / 100.0,
                           random.bounded(-margin, size.height() + margin) + random.bounded(100) / 100.0);
        };
        const auto colour = [&] { return std::int32_t(random.bounded(0x1000000)); };
        // The ground and the rasters under everything, as a drawing begins.
        p.FillRect(QRect(QPoint(0, 0), size), 0xE0E0E0);
        for (int i = 0; i < 6; ++i) {
            const QPointF a = point(100);
            p.StretchImage(QRectF(a, a + QPointF(random.bounded(10, 400), random.bounded(10, 300))), stretched);
        }
        for (int i = 0; i < 1500; ++i) {
            p.SetPen(colour(), std::uint8_t(random.bounded(16)), std::uint8_t(random.bounded(6)),
                     random.bounded(4) == 0 ? random.bounded(2, 9) : random.bounded(2));
            if (random.bounded(3) == 0)
                p.SetBrushClear();
            else
                p.SetBrush(colour());
            switch (random.bounded(7)) {
            case 0: p.Line(point(200), point(200)); break;
            case 1: {
                std::vector<QPointF> run;
                const QPointF from = point(100);
                for (int k = random.bounded(2, 8); k > 0; --k)
                    run.push_back(from + QPointF(random.bounded(-150, 150), random.bounded(-150, 150)));
                p.Polyline(run, random.bounded(2) == 0);
                break;
            }
            case 2: {
                p.BeginPolygon();
                const QPointF c = point(50);
                for (int k = random.bounded(3, 9); k > 0; --k)
                    p.Point(c + QPointF(random.bounded(-200, 200), random.bounded(-200, 200)));
                if (random.bounded(2) == 0) {
                    p.NewRing();
                    for (int k = 0; k < 4; ++k)
                        p.Point(c + QPointF(k < 2 ? -20 : 20, k % 3 == 0 ? -15 : 15));
                }
                p.DrawPolygon();
                break;
            }
            case 3: {
                const QPointF c = point(30);
                const qreal r = random.bounded(4) == 0 ? 0.6 : random.bounded(1, 60);
                p.Ellipse(c - QPointF(r, r * 0.7), c + QPointF(r, r * 0.7));
                break;
            }
            case 4: p.Pixel(point(0), colour()); break;
            case 5: {
                TLogFont lf = random.bounded(2) == 0 ? sans : serif;
                lf.Escapement = lf.Orientation = random.bounded(3600);
                lf.Underline = std::uint8_t(random.bounded(3) == 0);
                lf.StrikeOut = std::uint8_t(random.bounded(5) == 0);
                p.Text(point(60), QStringLiteral("Улица Садовая 17"), lf, colour());
                break;
            }
            default: {
                const QPointF a = point(20);
                p.FillRect(QRectF(a, a + QPointF(random.bounded(90), random.bounded(70))).toRect(), colour());
                break;
            }
            }
        }
        // An image among the objects, small enough for one tile.
        p.StretchImage(QRectF(20.5, 30.25, 37, 21), stretched);
        // A circle far larger than the picture: its outline as a polygon.
        p.SetPen(0x0000FF, pmCopy, psSolid, 3);
        p.SetBrushClear();
        p.Ellipse(QPointF(-3e7, -3e7), QPointF(3e7 + 500, 3e7 + 400));
    };

    QImage plain = under.copy();
    QImage tiled = under.copy();
    {
        TMapPainter p;
        p.Begin(plain);
        paint(p);
        p.End();
    }
    {
        TMapPainter p;
        p.Begin(tiled, true);
        ASSERT_TRUE(p.Tiled());
        paint(p);
        p.End();
    }
    ExpectSamePixels(plain, tiled, QStringLiteral("primitives"));

    // A part alone, as a redraw of what one edit touched paints it.
    const QRect part(133, 71, 420, 377);
    QImage partly = under.copy();
    {
        TMapPainter p;
        p.Begin(partly, true, part);
        paint(p);
        p.End();
    }
    QImage expected = under.copy();
    {
        QPainter copy(&expected);
        copy.drawImage(part.topLeft(), plain, part);
    }
    ExpectSamePixels(expected, partly, QStringLiteral("primitives-part"));
}

// A tiled painter counts as open while it records (the drawing's routines paint only on
// an open painter) and as closed after its End, even with nothing recorded.
TEST(DrawTiles, PainterIsOpenWhileItRecords)
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::white);
    TMapPainter p;
    p.Begin(picture, true);
    EXPECT_TRUE(p.Active());
    p.End();
    EXPECT_FALSE(p.Active());
    EXPECT_EQ(picture.pixel(5, 5) & 0xFFFFFF, 0xFFFFFFu);
}
