// The slider: range and step rules, value mapping, keys and dragging.
#include "controls/ExSlider.h"

#include "foundation/ErrorTrail.h"
#include "support/WidgetEvents.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

struct Counted {
    TExSlider Slider;
    int Changes = 0;
    int Ended = 0;
    Counted()
    {
        Slider.OnChange = [this] { ++Changes; };
        Slider.OnChanged = [this] { ++Ended; };
    }
};

}  // namespace

TEST(ExSlider, ValueIsClampedAndChangesFireOnce)
{
    Counted c;
    c.Slider.SetValue(150);
    EXPECT_EQ(c.Slider.Value(), 100);
    EXPECT_EQ(c.Changes, 1);
    c.Slider.SetValue(100);
    EXPECT_EQ(c.Changes, 1);
    c.Slider.SetValue(-5);
    EXPECT_EQ(c.Slider.Value(), 0);
    EXPECT_EQ(c.Ended, 0) << "a value from the program ends no user interaction";
}

TEST(ExSlider, RangeRules)
{
    Counted c;
    c.Slider.SetValue(80);
    c.Slider.SetMaxValue(5);
    EXPECT_EQ(c.Slider.Increment(), 5);
    EXPECT_EQ(c.Slider.Value(), 5);

    TExSlider s;
    s.SetMinValue(100);
    EXPECT_EQ(s.MinValue(), 0);
    EXPECT_EQ(s.MaxValue(), 100);
    s.SetMaxValue(-1);
    EXPECT_EQ(s.MaxValue(), 100);
}

TEST(ExSlider, IncrementOutsideTheRangeRaises)
{
    TExSlider s;
    for (int bad : {0, -3, 101}) {
        SCOPED_TRACE(bad);
        try {
            s.SetIncrement(bad);
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message, QStringLiteral("Value must be between 1 and 100"));
        }
        EXPECT_EQ(s.Increment(), 10);
    }
    s.SetIncrement(100);
    EXPECT_EQ(s.Increment(), 100);
}

TEST(ExSlider, StepsGoFromTheNearestMultiple)
{
    struct Case {
        int value;
        TExCustomSlider::TSliderStep step;
        int expected;
    };
    const Case cases[] = {
        {15, TExCustomSlider::ssUp, 30},    // 15 rounds to 20 (half to even), then +10
        {15, TExCustomSlider::ssDown, 10},
        {25, TExCustomSlider::ssUp, 30},    // 25 rounds to 20
        {95, TExCustomSlider::ssUp, 100},   // limited to the range
        {3, TExCustomSlider::ssDown, 0},
        {50, TExCustomSlider::ssMin, 0},
        {50, TExCustomSlider::ssMax, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        TExSlider s;
        s.SetValue(c.value);
        s.Step(c.step);
        EXPECT_EQ(s.Value(), c.expected);
    }
}

TEST(ExSlider, KeysOfAFullCircleSlider)
{
    Counted c;
    c.Slider.SetMinValue(-360);
    c.Slider.SetMaxValue(360);
    c.Slider.SetIncrement(1);
    SendKey(&c.Slider, Qt::Key_Home);
    EXPECT_EQ(c.Slider.Value(), -360);
    SendKey(&c.Slider, Qt::Key_End);
    EXPECT_EQ(c.Slider.Value(), 360);
    c.Slider.SetValue(359);
    SendKey(&c.Slider, Qt::Key_Right);
    EXPECT_EQ(c.Slider.Value(), 360);
    const int changes = c.Changes;
    SendKey(&c.Slider, Qt::Key_Right);
    EXPECT_EQ(c.Slider.Value(), 360);
    EXPECT_EQ(c.Changes, changes);
    EXPECT_EQ(c.Ended, 4) << "every key step ends an interaction";
    SendKey(&c.Slider, Qt::Key_Up);
    EXPECT_EQ(c.Ended, 4) << "a horizontal slider ignores Up";

    c.Slider.SetOrientation(soVertical);
    SendKey(&c.Slider, Qt::Key_Down);
    EXPECT_EQ(c.Slider.Value(), 359);
}

TEST(ExSlider, ValueAndPositionMapBothWays)
{
    TExSlider s;
    s.resize(150, 40);
    const int travel = s.TravelLength();
    ASSERT_EQ(travel, 150 - 12 - 9) << "the ruler less the margins and the thumb";
    EXPECT_EQ(s.ValueToOffset(0), 0);
    EXPECT_EQ(s.ValueToOffset(100), travel);
    EXPECT_EQ(s.ValueToOffset(50), 64);  // 64.5 rounds to the even 64
    EXPECT_EQ(s.OffsetToValue(travel), 100);
    EXPECT_EQ(s.OffsetToValue(-20), 0);
    EXPECT_EQ(s.OffsetToValue(travel + 50), 100);
    s.SetOptions(s.Options() & ~soSmooth);
    EXPECT_EQ(s.OffsetToValue(32), 20);  // 24.8 is 25, snapped to the even multiple 20
    s.SetValue(100);
    EXPECT_EQ(s.ThumbRect().left(), 6 + travel);

    s.SetOrientation(soVertical);
    s.resize(40, 150);
    s.SetValue(100);
    EXPECT_EQ(s.ThumbRect().top(), 6) << "the maximum is at the top";
    s.SetValue(0);
    EXPECT_EQ(s.ThumbRect().top(), 6 + s.TravelLength());
}

TEST(ExSlider, NarrowerThanItsThumbDoesNotDivideByZero)
{
    // Guards a slider laid out too small: no travel must not mean a division by zero.
    TExSlider s;
    s.resize(10, 40);
    EXPECT_EQ(s.TravelLength(), 0);
    EXPECT_EQ(s.OffsetToValue(5), 0);
    s.SetValue(70);
    EXPECT_EQ(s.ValueToOffset(70), 0);
    SendMouse(&s, QEvent::MouseButtonPress, s.ThumbRect().center());
    SendMouse(&s, QEvent::MouseMove, QPoint(9, 20));
    SendMouse(&s, QEvent::MouseButtonRelease, QPoint(9, 20));
    EXPECT_EQ(s.Value(), 0);
    (void)s.grab();  // painting with no ruler
}

TEST(ExSlider, DraggingWithoutSmoothYieldsMultiplesOfIncrement)
{
    Counted c;
    TExSlider& s = c.Slider;
    s.resize(150, 40);
    s.SetOptions(s.Options() & ~soSmooth);
    const QPoint start = s.ThumbRect().center();
    SendMouse(&s, QEvent::MouseButtonPress, start);
    std::vector<int> seen;
    for (int dx = 1; dx <= s.TravelLength(); ++dx) {
        SendMouse(&s, QEvent::MouseMove, start + QPoint(dx, 0));
        seen.push_back(s.Value());
    }
    SendMouse(&s, QEvent::MouseButtonRelease, start + QPoint(s.TravelLength(), 0));
    for (int v : seen)
        EXPECT_EQ(v % 10, 0) << v;
    EXPECT_EQ(s.Value(), 100);
    EXPECT_EQ(c.Changes, 10);
    EXPECT_EQ(c.Ended, 1);
}

TEST(ExSlider, PressOnTheRulerStepsTowardsThePress)
{
    Counted c;
    TExSlider& s = c.Slider;
    s.resize(150, 40);
    s.SetValue(50);
    const QRect ruler = s.RulerRect();
    SendMouse(&s, QEvent::MouseButtonPress, QPoint(ruler.right() - 2, ruler.center().y()));
    EXPECT_EQ(s.Value(), 60);
    SendMouse(&s, QEvent::MouseButtonRelease, QPoint(ruler.right() - 2, ruler.center().y()));
    SendMouse(&s, QEvent::MouseButtonPress, QPoint(ruler.left() + 1, ruler.center().y()));
    EXPECT_EQ(s.Value(), 50);
    SendMouse(&s, QEvent::MouseButtonRelease, QPoint(ruler.left() + 1, ruler.center().y()));
    EXPECT_EQ(c.Ended, 2);
}

TEST(ExSlider, NullPictureRestoresTheOwnOneAndItsTransparency)
{
    TExSlider s;
    QImage mine(30, 20, QImage::Format_RGB32);
    mine.fill(Qt::red);
    s.SetOptions(s.Options() | soThumbOpaque | soRulerOpaque);
    s.SetImageHThumb(mine);
    EXPECT_EQ(s.ThumbRect().size(), QSize(15, 20));
    s.SetImageHThumb(QImage());
    EXPECT_EQ(s.ImageHThumb().size(), QSize(18, 17));
    EXPECT_FALSE(s.Options() & soThumbOpaque);
    EXPECT_TRUE(s.Options() & soRulerOpaque);
}

TEST(ExSlider, TickSpacingWidensUntilFourPixelsApart)
{
    struct Case {
        int minValue, maxValue, increment;
        int ticks;  // marks drawn, the two ends included
    };
    const Case cases[] = {
        {0, 100, 10, 11},     // 12.9 pixels apart: every Increment
        {0, 3, 1, 4},
        {0, 704, 1, 33},      // one value is 0.18 pixels: every 22nd value, then the end
        {-360, 360, 90, 9},
        {0, 2000000000, 1, 33},  // spacing found at once, not by counting up to it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.maxValue);
        TExSlider s;
        s.resize(150, 40);
        s.SetMaxValue(c.maxValue);
        s.SetMinValue(c.minValue);
        s.SetIncrement(c.increment);
        QImage image(s.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            s.DrawPoints(p, c.increment, 3, 5);
        }
        // The first row below the thumb that holds marks: count its runs of ink.
        int ticks = 0;
        for (int y = s.ThumbRect().bottom() + 1; y < image.height() && ticks == 0; ++y) {
            bool ink = false;
            for (int x = 0; x < image.width(); ++x) {
                const bool here = image.pixel(x, y) != qRgb(255, 255, 255);
                ticks += here && !ink;
                ink = here;
            }
        }
        EXPECT_EQ(ticks, c.ticks);
    }
}
