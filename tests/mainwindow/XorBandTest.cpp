#include "mainwindow/VclTimer.h"
#include "mainwindow/modes/XorBand.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

// A canvas with something on it, so that restoring means more than white.
QImage Patterned()
{
    QImage image(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 4, y * 5, (x * y) & 0xFF));
    return image;
}

}  // namespace

TEST(XorBand, DrawnTwiceRestoresEveryPixel)
{
    for (const QColor& color : {QColor(Qt::black), QColor(0x00, 0x80, 0x00), QColor(0xFF, 0x00, 0xFF)}) {
        SCOPED_TRACE(color.name().toStdString());
        const QImage before = Patterned();
        QImage canvas = before;
        TXorBand band;
        band.Color = color;
        band.Width = 2;
        band.Show(canvas, QPolygon({QPoint(3, 3), QPoint(60, 40), QPoint(10, 44)}));
        EXPECT_NE(canvas, before);
        band.Show(canvas, QPolygon({QPoint(0, 47), QPoint(63, 0)}));   // moves: erase, draw
        band.Hide(canvas);
        EXPECT_FALSE(band.Drawn);
        EXPECT_EQ(canvas, before);
    }
}

TEST(XorBand, AnUndrawnBandIsNotErasedAgain)
{
    // After the picture is copied over the canvas the band is gone; erasing it again
    // would draw it back.
    const QImage before = Patterned();
    QImage canvas = before;
    TXorBand band;
    band.Show(canvas, QPolygon({QPoint(5, 5), QPoint(50, 30)}));
    canvas = before;   // the picture copied over it
    band.MarkUndrawn();
    band.Hide(canvas);
    EXPECT_EQ(canvas, before);
}

TEST(VclTimer, EnablingARunningTimerDoesNotRestartItAndZeroIntervalIsOff)
{
    int ticks = 0;
    TVclTimer timer(1000, true, [&] { ++ticks; });
    EXPECT_TRUE(timer.Running());
    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Running());
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Running());
    EXPECT_TRUE(timer.Enabled());
    timer.SetInterval(500);
    EXPECT_TRUE(timer.Running());
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Running());
    timer.Fire();
    EXPECT_EQ(ticks, 1);
}
