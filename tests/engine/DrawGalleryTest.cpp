// The sign gallery: the fixture plan of every shipped sign of 1:500 drawn by the plan
// drawing as the screen shows it, against a committed reference (look at it when it is
// rewritten: it is the look of the signs), and the sizes of sign texts across a drawing
// for a 300 dpi image.
#include "DrawTestSupport.h"
#include "PlanFileTest.h"

#include "engine/draw/MapPainter.h"
#include "semantics/signs/Symbols.h"

#include <QPolygonF>
#include <cmath>
#include <vector>

namespace {

class DrawGallery : public PlanFileFixture {
protected:
    void SetUp() override
    {
        PlanFileFixture::SetUp();
        OpenSignsPlan();
        MainMap = &M();
        M().ShowSymbols = 1;
        M().BackColor = 0xFFFFFF;
    }

    // Every text of the sign pictures of the plan's points, with the size of its font.
    // (Lines are all rendered for an image, seen or not, and are rendered again for the
    // screen only once they are seen.)
    QStringList SignTexts()
    {
        QStringList out;
        const auto picture = [&](const TVpLayers& pic) {
            for (const auto& e : pic)
                for (const auto& t : e->Texts)
                    out << t->Text + u' ' + QString::number(double(t->OwnStyle ? t->OwnStyle->Size : -1));
        };
        for (const auto& page : M().Pages)
            for (const auto& layer : page->Layers) {
                for (const auto& p : layer->Points)
                    picture(p->Picture);
            }
        return out;
    }
};

}  // namespace

TEST_F(DrawGallery, SignsAtTheirScaleLookAsTheReference)
{
    // The twelve point signs of the plan's corner, 20 m apart.
    constexpr int W = 560, H = 640;
    M().Draw(W, H, 0, ddScreen);
    M().DisplayScale = 500;
    M().CentreTarget = GeoPoint(1030, 2020);
    M().Draw(W, H, 8, ddScreen);
    ASSERT_EQ(M().OutputScale, 500);
    const QImage window = M().Bitmap.copy(M().ScrollX, M().ScrollY, W, H);
    ExpectLikeReference(window, "signs-500.png", 0.03);
}

// The everyday redraws paint the pictures the signs were rendered into: none renders a
// sign anew, and the refresh paints the same picture; only mode 2 renders again.
TEST_F(DrawGallery, RedrawsReuseTheRenderedSigns)
{
    constexpr int W = 560, H = 640;
    M().Draw(W, H, 0, ddScreen);
    M().DisplayScale = 500;
    M().CentreTarget = GeoPoint(1030, 2020);
    M().Draw(W, H, 8, ddScreen);
    // Zoomed out, the objects seen for the first time are rendered once.
    const std::int64_t at500 = M().Symbols->RenderedObjects;
    M().DisplayScale = 1000;
    M().Draw(W, H, 5, ddScreen);
    const std::int64_t rendered = M().Symbols->RenderedObjects;
    ASSERT_GT(at500, 0);
    ASSERT_GT(rendered, at500);
    const QImage seen = M().Bitmap.copy();

    M().Draw(W, H, 3, ddScreen);
    EXPECT_EQ(M().Symbols->RenderedObjects, rendered);
    EXPECT_TRUE(M().Bitmap == seen);
    M().LinkToNodes = 1;
    M().Draw(W, H, 3, ddScreen);
    M().LinkToNodes = 0;
    EXPECT_EQ(M().Symbols->RenderedObjects, rendered);
    M().DisplayScale = 500;
    M().Draw(W, H, 5, ddScreen);
    EXPECT_EQ(M().Symbols->RenderedObjects, rendered);
    // Mode 2 renders every seen sign again, into the same picture.
    M().Draw(W, H, 3, ddScreen);
    const QImage reused = M().Bitmap.copy();
    M().Draw(W, H, 2, ddScreen);
    EXPECT_GT(M().Symbols->RenderedObjects, rendered);
    EXPECT_TRUE(M().Bitmap == reused);
}

// The area signs at 1:500 in two windows: the lake with its island, its fill grid and
// its caption beside the dotted forests with their trees and height captions; and the
// slopes hatched between, across and from their marked sides.
TEST_F(DrawGallery, AreaSignsAtTheirScaleLookAsTheReference)
{
    const struct {
        TGeoPoint centre;
        int W, H;
        const char* reference;
    } views[] = {{GeoPoint(1628, 2238), 640, 580, "areas-500.png"},
                 {GeoPoint(1528, 2056), 840, 180, "slopes-500.png"}};
    for (const auto& v : views) {
        SCOPED_TRACE(v.reference);
        M().Draw(v.W, v.H, 0, ddScreen);
        M().DisplayScale = 500;
        M().CentreTarget = v.centre;
        M().Draw(v.W, v.H, 8, ddScreen);
        ASSERT_EQ(M().OutputScale, 500);
        const QImage window = M().Bitmap.copy(M().ScrollX, M().ScrollY, v.W, v.H);
        // The views are mostly ground: a share of the whole window would pass a sign
        // gone missing.
        ExpectLikeReference(window, v.reference, 0.004);
    }
}

// A sign rendered for a 300 dpi image holds its texts in dots of 300 dpi; shown on the
// screen unrendered they came out three times too large.
TEST_F(DrawGallery, ScreenAfterA300DpiImageShowsSignTextsAtScreenSize)
{
    constexpr int W = 640, H = 420;
    // Every point sign gets a text in its picture, as the fall-back sign has.
    for (const auto& sign : M().Symbols->VpGPoints) {
        sign->Picture.AddItem(std::make_unique<RVpLayer>());
        RVpLayer& e = *sign->Picture.At(sign->Picture.GetCount() - 1);
        e.Texts.AddItem(std::make_unique<RVpText>());
        RVpText& t = *e.Texts.At(0);
        t.Text = QStringLiteral("?");
        t.Angle = 90;
        t.OwnStyle = std::make_unique<TUserStyle>();
        t.OwnStyle->FontName = QStringLiteral("Liberation Sans");
        t.OwnStyle->Size = 1.5L;
    }
    M().Draw(W, H, 0, ddScreen);   // the whole plan: too small for signs
    M().DisplayScale = 500;
    M().CentreTarget = GeoPoint(1030, 2020);
    M().Draw(W, H, 8, ddScreen);
    const QStringList screen = SignTexts();
    ASSERT_FALSE(screen.isEmpty());
    M().RasterDpi = 300;
    M().RasterScale = 500;
    M().Draw(W, H, 2, ddRaster);
    ASSERT_NE(SignTexts(), screen);
    M().Draw(W, H, 3, ddScreen);
    EXPECT_EQ(SignTexts(), screen);
}

// The lake's fill leaves its island empty: the fill is one picture polygon with the
// island as a ring, painted odd-even, so the ground shows through it.
TEST_F(DrawGallery, LakeIslandStaysUnpainted)
{
    constexpr int W = 400, H = 400;
    M().Draw(W, H, 0, ddScreen);
    M().DisplayScale = 500;
    M().CentreTarget = GeoPoint(1612, 2240);
    M().Draw(W, H, 8, ddScreen);
    ASSERT_EQ(M().OutputScale, 500);
    const QImage& img = M().Bitmap;
    const QRgb water = TColorToQColor(16770760).rgb() & 0xFFFFFF;
    // Pixels of the water colour inside a ring of plan points, shrunk towards its middle
    // by a metre so that the outline stays out.
    const auto waterInside = [&](std::vector<TGeoPoint> ring) {
        TGeoPoint mid{0, 0};
        for (const TGeoPoint& p : ring)
            mid = GeoPoint(mid.X + p.X / ring.size(), mid.Y + p.Y / ring.size());
        QPolygonF area;
        for (const TGeoPoint& p : ring) {
            const Extended d = std::hypot(p.X - mid.X, p.Y - mid.Y);
            const TGeoPoint q = GeoPoint(p.X + (mid.X - p.X) / d, p.Y + (mid.Y - p.Y) / d);
            Extended xs = 0, ys = 0;
            M().GeoToScrF(M().DrawH, q.X, q.Y, xs, ys);
            area << QPointF(double(xs + M().ScrollX), double(ys + M().ScrollY));
        }
        int n = 0;
        const QRect box = area.boundingRect().toAlignedRect();
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (area.containsPoint(QPointF(x, y), Qt::OddEvenFill) && (img.pixel(x, y) & 0xFFFFFF) == water)
                    ++n;
        return n;
    };
    const std::vector<TGeoPoint> island = {GeoPoint(1618, 2232), GeoPoint(1620, 2242), GeoPoint(1612, 2244),
                                           GeoPoint(1609, 2235)};
    EXPECT_EQ(waterInside(island), 0);
    // A stretch of open water between the island and the north shore is painted.
    EXPECT_GT(waterInside({GeoPoint(1628, 2236), GeoPoint(1628, 2246), GeoPoint(1622, 2246),
                           GeoPoint(1622, 2236)}),
              100);
}
