// The plan's painter: one small picture per drawing rule against a committed reference
// (tests/fixtures/draw, rewritten on purpose by update_references.sh), with pixel probes
// for what each rule must give exactly.
#include "DrawTestSupport.h"

#include "engine/draw/MapPainter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

constexpr std::int32_t Ink = 0x00C08040;   // 0x00BBGGRR: red 0x40, green 0x80, blue 0xC0

// A picture with four upright stripes of ground: white, red, green, grey.
QImage StripedGround(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    const QRgb stripes[] = {qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(128, 128, 128)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, stripes[x * 4 / w]);
    return img;
}

QRgb PixelRgb(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }

}  // namespace

TEST(DrawPainter, PenModesAreRasterOperationsOverTheGround)
{
    QImage img = StripedGround(64, 66);
    TMapPainter p;
    p.Begin(img);
    for (int mode = 0; mode < 16; ++mode) {
        p.SetPen(Ink, std::uint8_t(mode), psSolid, 3);
        p.Line(QPointF(2, 2 + mode * 4), QPointF(61, 2 + mode * 4));
    }
    p.End();
    ExpectLikeReference(img, "pen-modes.png");

    // The middle row of each line over each stripe, against the operation worked by hand.
    const QRgb s = Rgb(Ink);
    struct Case { std::uint8_t mode; std::function<QRgb(QRgb)> result; };
    const Case cases[] = {
        {pmBlack, [](QRgb) { return 0u; }},
        {pmWhite, [](QRgb) { return 0xFFFFFFu; }},
        {pmNop, [](QRgb d) { return d; }},
        {pmNot, [](QRgb d) { return ~d & 0xFFFFFF; }},
        {pmCopy, [s](QRgb) { return s; }},
        {pmNotCopy, [s](QRgb) { return ~s & 0xFFFFFF; }},
        {pmMergePenNot, [s](QRgb d) { return (s | ~d) & 0xFFFFFF; }},
        {pmMaskPenNot, [s](QRgb d) { return s & ~d & 0xFFFFFF; }},
        {pmMergeNotPen, [s](QRgb d) { return (~s | d) & 0xFFFFFF; }},
        {pmMaskNotPen, [s](QRgb d) { return ~s & d & 0xFFFFFF; }},
        {pmMerge, [s](QRgb d) { return s | d; }},
        {pmNotMerge, [s](QRgb d) { return ~(s | d) & 0xFFFFFF; }},
        {pmMask, [s](QRgb d) { return s & d; }},
        {pmNotMask, [s](QRgb d) { return ~(s & d) & 0xFFFFFF; }},
        {pmXor, [s](QRgb d) { return s ^ d; }},
        {pmNotXor, [s](QRgb d) { return ~(s ^ d) & 0xFFFFFF; }},
    };
    const QImage ground = StripedGround(64, 66);
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.mode));
        for (int x : {8, 24, 40, 56})
            EXPECT_EQ(PixelRgb(img, x, 2 + c.mode * 4), c.result(PixelRgb(ground, x, 0))) << x;
    }
}

TEST(DrawPainter, DashesAtWidthOneAndSolidWhenWider)
{
    QImage img(80, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    TMapPainter p;
    p.Begin(img);
    for (int style = psDash; style <= psDashDotDot; ++style) {
        p.SetPen(0, pmCopy, std::uint8_t(style), 1);
        p.Line(QPointF(2, 2 + (style - 1) * 4), QPointF(77, 2 + (style - 1) * 4));
        p.SetPen(0, pmCopy, std::uint8_t(style), 3);
        p.Line(QPointF(2, 22 + (style - 1) * 4), QPointF(77, 22 + (style - 1) * 4));
    }
    p.End();
    ExpectLikeReference(img, "dashes.png");
    for (int style = psDash; style <= psDashDotDot; ++style) {
        SCOPED_TRACE(style);
        int gaps1 = 0, gaps3 = 0;
        for (int x = 4; x < 75; ++x) {
            gaps1 += PixelRgb(img, x, 2 + (style - 1) * 4) == 0xFFFFFF;
            gaps3 += PixelRgb(img, x, 22 + (style - 1) * 4) == 0xFFFFFF;
        }
        EXPECT_GT(gaps1, 0);
        EXPECT_EQ(gaps3, 0);   // a pen wider than one pixel is drawn solid
    }
}

TEST(DrawPainter, DashRestartsAtEverySegment)
{
    QImage img(80, 12, QImage::Format_RGB32);
    img.fill(Qt::white);
    TMapPainter p;
    p.Begin(img);
    p.SetPen(0, pmCopy, psDash, 0);
    // Segments of 12 pixels, each shorter than a dash: every one starts a dash anew.
    std::vector<QPointF> run;
    for (int x = 2; x <= 74; x += 12)
        run.push_back(QPointF(x, 3));
    p.Polyline(run, true);
    p.Line(QPointF(2, 8), QPointF(74, 8));
    p.End();
    ExpectLikeReference(img, "dash-restart.png");
    int gapsSegments = 0, gapsLine = 0;
    for (int x = 2; x < 74; ++x) {
        gapsSegments += PixelRgb(img, x, 3) == 0xFFFFFF;
        gapsLine += PixelRgb(img, x, 8) == 0xFFFFFF;
    }
    EXPECT_EQ(gapsSegments, 0);
    EXPECT_GT(gapsLine, 0);
}

TEST(DrawPainter, FillKindsAndARingWithAHole)
{
    QImage img = StripedGround(96, 48);
    TMapPainter p;
    p.Begin(img);
    // Solid in a colour, solid in another, clear; each square crosses two stripes.
    const auto square = [&](qreal x) {
        p.BeginPolygon();
        p.Point(QPointF(x, 4));
        p.Point(QPointF(x + 20, 4));
        p.Point(QPointF(x + 20, 20));
        p.Point(QPointF(x, 20));
        p.DrawPolygon();
    };
    p.SetPen(0, pmCopy, psSolid, 1);
    p.SetBrush(0xF0F0F0);
    square(14);
    p.SetBrush(0x00FFFF);
    square(38);
    p.SetBrushClear();
    square(62);
    // Outer ring and a hole: the hole shows the ground.
    p.SetBrush(0xFF0000);
    p.BeginPolygon();
    p.NewRing();
    for (QPointF q : {QPointF(4, 26), QPointF(92, 26), QPointF(92, 46), QPointF(4, 46)})
        p.Point(q);
    p.NewRing();
    for (QPointF q : {QPointF(40, 30), QPointF(56, 30), QPointF(56, 42), QPointF(40, 42)})
        p.Point(q);
    p.DrawPolygon();
    p.End();
    ExpectLikeReference(img, "fills.png");

    const QImage ground = StripedGround(96, 48);
    EXPECT_EQ(PixelRgb(img, 24, 12), Rgb(0xF0F0F0));
    EXPECT_EQ(PixelRgb(img, 48, 12), Rgb(0x00FFFF));
    EXPECT_EQ(PixelRgb(img, 72, 12), PixelRgb(ground, 72, 12));   // clear: the ground
    EXPECT_EQ(PixelRgb(img, 72, 4), 0u);                             // with its outline
    EXPECT_EQ(PixelRgb(img, 20, 36), Rgb(0xFF0000));
    EXPECT_EQ(PixelRgb(img, 48, 36), PixelRgb(ground, 48, 36));     // the hole
}

TEST(DrawPainter, TextAnchoredAtItsTopLeftAndTurnedAboutIt)
{
    QImage img(120, 90, QImage::Format_RGB32);
    img.fill(Qt::white);
    TMapPainter p;
    p.Begin(img);
    TLogFont lf;
    lf.FaceName = QStringLiteral("Liberation Sans");
    lf.Height = 14;
    p.Text(QPointF(4, 4), QStringLiteral("План 1"), lf, 0x000000);
    lf.Escapement = 900;   // reads upwards
    p.Text(QPointF(20, 86), QStringLiteral("Вверх"), lf, 0x0000FF);
    lf.Escapement = 450;
    p.Text(QPointF(50, 80), QStringLiteral("Угол"), lf, 0xFF0000);
    p.End();
    ExpectLikeReference(img, "texts.png", 0.03);

    // The upright text lies right of and below its anchor, within its cell of 14 pixels.
    const QRect upright = InkBounds(img, QRect(0, 0, 120, 20));
    EXPECT_GE(upright.left(), 4);
    EXPECT_GE(upright.top(), 4);
    EXPECT_LE(upright.bottom(), 4 + 14);
    // Turned by 90 degrees it rises from its anchor, to the right of it by at most its cell.
    const QRect turned = InkBounds(img, QRect(0, 20, 40, 70));
    EXPECT_GE(turned.left(), 20);
    EXPECT_LE(turned.right(), 20 + 14);
    EXPECT_LE(turned.bottom(), 86);
    EXPECT_LT(turned.top(), 60);
}

TEST(DrawPainter, WidthZeroAndOneAreOnePixel)
{
    for (int width : {0, 1}) {
        SCOPED_TRACE(width);
        QImage img(20, 20, QImage::Format_RGB32);
        img.fill(Qt::white);
        TMapPainter p;
        p.Begin(img);
        p.SetPen(0, pmCopy, psSolid, width);
        p.Line(QPointF(2, 10), QPointF(18, 10));
        p.End();
        int inked = 0;
        for (int y = 0; y < 20; ++y)
            inked += PixelRgb(img, 9, y) != 0xFFFFFF;
        EXPECT_EQ(inked, 1);
    }
}

// A node a thousand million pixels away must neither overflow nor lose the part of the
// line that crosses the picture.
TEST(DrawPainter, FarPointsAreClippedNotOverflowed)
{
    QImage img(40, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    TMapPainter p;
    p.Begin(img);
    p.SetPen(0, pmCopy, psSolid, 1);
    p.SetBrush(0x00FFFF);
    p.Ellipse(QPointF(-1e10, -1e10), QPointF(1e10, 1e10));   // a circle around the picture
    p.Line(QPointF(10, 10), QPointF(1e12, 10));
    p.Line(QPointF(-1e15, 30), QPointF(1e15, 30));
    p.Line(QPointF(std::nan(""), 5), QPointF(20, 5));   // no position: nothing
    p.SetBrush(0x00FF00);
    p.BeginPolygon();
    for (QPointF q : {QPointF(20, 15), QPointF(1e13, 15), QPointF(1e13, 25), QPointF(20, 25)})
        p.Point(q);
    p.DrawPolygon();
    p.End();
    for (int x : {12, 25, 39})
        EXPECT_EQ(PixelRgb(img, x, 10), 0u) << x;
    for (int x : {0, 20, 39})
        EXPECT_EQ(PixelRgb(img, x, 30), 0u) << x;
    EXPECT_EQ(PixelRgb(img, 30, 20), Rgb(0x00FF00));
    EXPECT_EQ(PixelRgb(img, 15, 5), Rgb(0x00FFFF));   // the circle's fill
}

// The dots of a dotted boundary (circles of a pixel or so) came and went with the
// rounding of their boxes: a box one pixel across must leave its dot, an empty one none.
TEST(DrawPainter, CircleOfOnePixelLeavesItsDot)
{
    struct Case {
        double x1, y1, x2, y2;   // the box
        int inked;
    };
    const Case cases[] = {
        {9.6, 9.6, 10.4, 10.4, 0},   // rounds to an empty box
        {9.5, 9.5, 10.6, 10.6, 1},   // one pixel
        {10.2, 10.2, 11.4, 11.4, 1},
        {9.6, 9.0, 10.4, 12.0, 0},   // no width
        {9.6, 9.0, 10.6, 12.0, 3},   // one pixel wide: a bar
        {9.0, 9.0, 11.0, 11.0, 4},   // two pixels: QPainter's own small ellipse
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x1 << " " << c.x2);
        QImage img(20, 20, QImage::Format_RGB32);
        img.fill(Qt::white);
        TMapPainter p;
        p.Begin(img);
        p.SetPen(Ink, pmCopy, psSolid, 1);
        p.SetBrush(Ink);
        p.Ellipse(QPointF(c.x1, c.y1), QPointF(c.x2, c.y2));
        p.End();
        int inked = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                inked += PixelRgb(img, x, y) != 0xFFFFFF;
        EXPECT_EQ(inked, c.inked);
        if (c.inked == 1)
            EXPECT_EQ(PixelRgb(img, 10, 10), Rgb(Ink));
    }
}
