// The drawing surface: mouse events as one record, event points in plan coordinates, and
// the picture copied onto the retained canvas.
#include "MainWindowFixture.h"

#include <QMouseEvent>
#include <gtest/gtest.h>

TEST(Surface, MouseEventsBecomeOneRecord)
{
    struct Case {
        QEvent::Type Type;
        Qt::MouseButton Button;
        Qt::MouseButtons Held;
        Qt::KeyboardModifiers Mods;
        int ExpectButton, ExpectShift;
        bool ExpectHeld;
    };
    const Case cases[] = {
        {QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, 0, 0, false},
        {QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, Qt::ShiftModifier, 1, 1, false},
        {QEvent::MouseButtonRelease, Qt::MiddleButton, Qt::NoButton, Qt::ControlModifier, 2, 4, false},
        {QEvent::MouseMove, Qt::NoButton, Qt::NoButton, Qt::AltModifier, 0, 2, false},
        {QEvent::MouseMove, Qt::NoButton, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, 1, 5, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ExpectShift);
        const QMouseEvent e(c.Type, QPointF(12, 34), QPointF(12, 34), c.Button, c.Held, c.Mods);
        const TSurfaceMouse m = TSurfaceMouse::From(e);
        EXPECT_EQ(m.Button, c.ExpectButton);
        EXPECT_EQ(m.Shift, c.ExpectShift);
        EXPECT_EQ(m.Held, c.ExpectHeld);
        EXPECT_EQ(m.X, 12);
        EXPECT_EQ(m.Y, 34);
    }
}

TEST(Surface, ClicksTakeTheirPlanPoints)
{
    TMainWindowRun run;
    TFormMap& form = run.Form();
    TSurfaceDriver driver(form);
    run.Start();
    MainMap->DrawMode = 0;
    MainMap->ViewStep(form.DisplaySurf->width(), form.DisplaySurf->height());
    ASSERT_NE(MainMap->FactorX, 0);
    const Extended x = (MainMap->ViewXMin + MainMap->ViewXMax) / 2;
    const Extended y = (MainMap->ViewYMin + MainMap->ViewYMax) / 2;
    driver.Press(x, y);
    const Extended pixel = 1 / (MainMap->FactorX * 100);   // metres per pixel
    EXPECT_NEAR(double(form.Points.Down.Plan.X), double(x), double(pixel));
    EXPECT_NEAR(double(form.Points.Down.Plan.Y), double(y), double(pixel));
    EXPECT_TRUE(form.ButtonHeld);
    driver.Move(x + 10 * pixel, y, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(form.Points.Move.Screen, driver.At(x + 10 * pixel, y));
    driver.Release(x, y);
    EXPECT_FALSE(form.ButtonHeld);
    EXPECT_EQ(form.Points.PrevDown.Screen, QPoint());   // one press so far
}

TEST(Surface, PictureIsCopiedAtMinusTheScrollOffset)
{
    TMainWindowRun run;
    TFormMap& form = run.Form();
    run.Start();
    const QSize size = form.DisplaySurf->size();
    QImage picture(size.width() * 3, size.height() * 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.setPixel(size.width(), size.height(), qRgb(0, 0, 255));
    form.PaintOnSurface(picture, QPoint(-size.width(), -size.height()));
    EXPECT_EQ(form.DisplaySurf->Canvas.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(form.DisplaySurf->Canvas.pixel(1, 1), qRgb(255, 0, 0));
    // A picture smaller than the surface leaves the rest white, not last time's ink.
    form.PaintOnSurface(picture.copy(0, 0, 5, 5), QPoint(0, 0));
    EXPECT_EQ(form.DisplaySurf->Canvas.pixel(size.width() - 1, size.height() - 1), qRgb(255, 255, 255));
}
