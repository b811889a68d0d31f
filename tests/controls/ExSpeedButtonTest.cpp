// The tool button: groups, clicks, glyph images and the glyph-and-caption layout.
#include "controls/ExSpeedButton.h"

#include "foundation/ErrorTrail.h"
#include "support/WidgetEvents.h"

#include <QApplication>
#include <QDialog>
#include <QEnterEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

void ClickAt(QWidget* w, QPoint pos = QPoint(5, 5))
{
    SendMouse(w, QEvent::MouseButtonPress, pos);
    SendMouse(w, QEvent::MouseButtonRelease, pos);
}

// Three buttons of one group on one panel, one of the same number on another.
struct Panels {
    QWidget Window;
    QWidget* Left = new QWidget(&Window);
    QWidget* Right = new QWidget(&Window);
    TExSpeedButton* B[3];
    TExSpeedButton* Other = new TExSpeedButton(Right);
    int Clicks[4] = {0, 0, 0, 0};

    explicit Panels(bool allowAllUp)
    {
        for (int i = 0; i < 3; ++i) {
            B[i] = new TExSpeedButton(Left);
            B[i]->SetAllowAllUp(allowAllUp);
            B[i]->SetGroupIndex(2);
            B[i]->OnClick = [this, i] { ++Clicks[i]; };
        }
        Other->SetGroupIndex(2);
        Other->OnClick = [this] { ++Clicks[3]; };
        Other->SetDown(true);
    }
};

}  // namespace

TEST(ExSpeedButton, DownFromCodeFollowsGroupRules)
{
    struct Case {
        const char* name;
        int group;
        bool allowAllUp;
        bool startDown;
        bool write;
        bool expected;
    };
    const Case cases[] = {
        {"ungrouped stays up", 0, true, false, true, false},
        {"grouped goes down", 3, false, false, true, true},
        {"down without AllowAllUp cannot be raised", 3, false, true, false, true},
        {"down with AllowAllUp goes up", 3, true, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget parent;
        TExSpeedButton b(&parent);
        b.SetGroupIndex(c.group);
        b.SetAllowAllUp(true);
        b.SetDown(c.startDown);
        b.SetAllowAllUp(c.allowAllUp);
        int clicks = 0;
        b.OnClick = [&] { ++clicks; };
        b.SetDown(c.write);
        EXPECT_EQ(b.Down(), c.expected);
        EXPECT_EQ(clicks, 0);
    }
}

TEST(ExSpeedButton, GoingDownRaisesTheGroupOfItsParentOnly)
{
    Panels p(false);
    p.B[0]->SetDown(true);
    p.B[2]->SetDown(true);
    EXPECT_FALSE(p.B[0]->Down());
    EXPECT_FALSE(p.B[1]->Down());
    EXPECT_TRUE(p.B[2]->Down());
    EXPECT_EQ(p.B[0]->DrawState(), bdsUp);
    EXPECT_TRUE(p.Other->Down()) << "a button of the same number in another panel";
    for (int n : p.Clicks)
        EXPECT_EQ(n, 0) << "Down from code fires no click";
}

TEST(ExSpeedButton, AllowAllUpIsSharedByTheGroup)
{
    Panels p(false);
    p.B[1]->SetDown(true);
    p.B[0]->SetAllowAllUp(true);
    EXPECT_TRUE(p.B[1]->AllowAllUp());
    p.B[1]->SetDown(false);
    EXPECT_FALSE(p.B[1]->Down());
    EXPECT_FALSE(p.Other->AllowAllUp());
}

TEST(ExSpeedButton, ClicksOnGroupedButtons)
{
    {
        SCOPED_TRACE("without AllowAllUp the down button stays down and still clicks");
        Panels p(false);
        ClickAt(p.B[1]);
        EXPECT_TRUE(p.B[1]->Down());
        ClickAt(p.B[1]);
        EXPECT_TRUE(p.B[1]->Down());
        EXPECT_EQ(p.Clicks[1], 2);
        ClickAt(p.B[0]);
        EXPECT_TRUE(p.B[0]->Down());
        EXPECT_FALSE(p.B[1]->Down());
        EXPECT_EQ(p.B[1]->DrawState(), bdsUp);
    }
    {
        SCOPED_TRACE("a toggle button with AllowAllUp");
        Panels p(true);
        ClickAt(p.B[2]);
        EXPECT_TRUE(p.B[2]->Down());
        EXPECT_EQ(p.B[2]->DrawState(), bdsLatched);
        ClickAt(p.B[2]);
        EXPECT_FALSE(p.B[2]->Down());
        EXPECT_EQ(p.Clicks[2], 2);
    }
}

TEST(ExSpeedButton, ReleaseOutsideFiresNoClick)
{
    QWidget parent;
    TExSpeedButton b(&parent);
    int clicks = 0;
    int ups = 0;
    b.OnClick = [&] { ++clicks; };
    b.OnMouseUp = [&](Qt::MouseButton, Qt::KeyboardModifiers, QPoint) {
        ++ups;
        EXPECT_EQ(clicks, 0) << "the mouse-up event comes before the click";
    };
    SendMouse(&b, QEvent::MouseButtonPress, QPoint(5, 5));
    EXPECT_EQ(b.DrawState(), bdsPressed);
    SendMouse(&b, QEvent::MouseMove, QPoint(40, 5));
    EXPECT_EQ(b.DrawState(), bdsUp);
    SendMouse(&b, QEvent::MouseMove, QPoint(6, 6));
    EXPECT_EQ(b.DrawState(), bdsPressed);
    SendMouse(&b, QEvent::MouseMove, QPoint(40, 5));
    SendMouse(&b, QEvent::MouseButtonRelease, QPoint(40, 5));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(b.DrawState(), bdsUp);
    EXPECT_FALSE(b.Down());

    ClickAt(&b);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(ups, 2);
}

TEST(ExSpeedButton, RightButtonAndDisabledButtonDoNotClick)
{
    QWidget parent;
    TExSpeedButton b(&parent);
    int clicks = 0;
    b.OnClick = [&] { ++clicks; };
    SendMouse(&b, QEvent::MouseButtonPress, QPoint(5, 5), Qt::RightButton);
    SendMouse(&b, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::RightButton);
    b.setEnabled(false);
    ClickAt(&b);
    EXPECT_EQ(clicks, 0);
}

TEST(ExSpeedButton, GlyphImageCountFollowsTheShape)
{
    struct Case {
        int w, h, before, after;
    };
    const Case cases[] = {
        {44, 22, 1, 2}, {37, 16, 3, 3}, {132, 22, 2, 1}, {16, 16, 4, 1}, {110, 22, 1, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        TExSpeedButton b;
        b.SetNumGlyphs(c.before);
        QImage glyph(c.w, c.h, QImage::Format_RGB32);
        glyph.fill(Qt::white);
        b.SetGlyph(glyph);
        EXPECT_EQ(b.NumGlyphs(), c.after);
    }
}

TEST(ExSpeedButton, NumGlyphsIgnoresZeroAndStoresAtMostFive)
{
    TExSpeedButton b;
    b.SetNumGlyphs(3);
    b.SetNumGlyphs(0);
    EXPECT_EQ(b.NumGlyphs(), 3);
    b.SetNumGlyphs(9);
    EXPECT_EQ(b.NumGlyphs(), 5);
}

TEST(ExSpeedButton, MarginBelowMinusOneIsIgnored)
{
    TExSpeedButton b;
    b.SetMargin(4);
    b.SetMargin(-2);
    EXPECT_EQ(b.Margin(), 4);
}

TEST(ExSpeedButton, LayoutOfTheToolButtonExample)
{
    // 25 × 25 up button, new style: the paint rectangle is (3, 3)–(22, 22).
    const QRect c(3, 3, 19, 19);
    const RGlyphCaptionPlace up =
        PlaceGlyphAndCaption(c, QSize(16, 16), QSize(0, 0), blGlyphTop, -1, 1, false);
    EXPECT_EQ(up.GlyphPos, QPoint(4, 4));
    const RGlyphCaptionPlace pressed = PlaceGlyphAndCaption(
        c.translated(1, 1), QSize(16, 16), QSize(0, 0), blGlyphTop, -1, 1, false);
    EXPECT_EQ(pressed.GlyphPos, QPoint(5, 5));
}

TEST(ExSpeedButton, LayoutOfGlyphAndCaption)
{
    struct Case {
        const char* name;
        TButtonLayout layout;
        int margin, spacing;
        QSize text;
        bool mark;
        QPoint glyph;
        QRect textRect;
    };
    const QRect c(0, 0, 60, 20);
    const Case cases[] = {
        // centred: margin = 30 - (16 + 2 + 20) / 2 = 11
        {"left centred", blGlyphLeft, -1, 2, QSize(20, 10), false, QPoint(11, 2),
         QRect(29, 5, 20, 10)},
        // glyph at 60 - 4 - 16 = 40, text at 40 - 2 - 20 = 18
        {"right with margin", blGlyphRight, 4, 2, QSize(20, 10), false, QPoint(40, 2),
         QRect(18, 5, 20, 10)},
        // both automatic: margin = spacing = (60 - 16 - 20) / 3 = 8
        {"left spread", blGlyphLeft, -1, -1, QSize(20, 10), false, QPoint(8, 2),
         QRect(32, 5, 20, 10)},
        // only spacing automatic: (60 - 3 - 16) / 2 - 10 = 10
        {"left auto spacing", blGlyphLeft, 3, -1, QSize(20, 10), false, QPoint(3, 2),
         QRect(29, 5, 20, 10)},
        // the mark widens the text by 9: margin = 30 - (16 + 2 + 29) / 2 = 7
        {"left with mark", blGlyphLeft, -1, 2, QSize(20, 10), true, QPoint(7, 2),
         QRect(25, 5, 20, 10)},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const RGlyphCaptionPlace place =
            PlaceGlyphAndCaption(c, QSize(16, 16), k.text, k.layout, k.margin, k.spacing, k.mark);
        EXPECT_EQ(place.GlyphPos, k.glyph);
        EXPECT_EQ(place.TextRect, k.textRect);
    }
}

TEST(ExSpeedButton, MaxCaptionSize)
{
    EXPECT_EQ(MaxCaptionSize(QSize(60, 20), QSize(16, 16), blGlyphLeft, -1, 2, true),
              QSize(60 - 16 - 2 - 9, 20));
    EXPECT_EQ(MaxCaptionSize(QSize(19, 19), QSize(16, 16), blGlyphTop, 1, 1, false),
              QSize(19, 1));
    EXPECT_EQ(MaxCaptionSize(QSize(10, 10), QSize(16, 16), blGlyphLeft, 2, 2, false),
              QSize(0, 10));
}

TEST(ExSpeedButton, StateImagesOfATwoImageGlyph)
{
    // Left half red on a magenta key, right half blue: disabled shows the right half.
    QImage glyph(44, 22, QImage::Format_RGB32);
    glyph.fill(qRgb(255, 0, 255));
    for (int y = 5; y < 15; ++y)
        for (int x = 5; x < 15; ++x) {
            glyph.setPixel(x, y, qRgb(255, 0, 0));
            glyph.setPixel(x + 22, y, qRgb(0, 0, 255));
        }
    QWidget parent;
    parent.resize(60, 60);
    TExSpeedButton b(&parent);
    b.SetGlyph(glyph);
    b.SetLayout(blGlyphTop);
    b.resize(30, 30);
    const QPoint inside(3 + (24 - 22) / 2 + 10, 3 + 1 + 10);
    QImage shot = b.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(inside)), QColor(255, 0, 0));
    b.setEnabled(false);
    shot = b.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(inside)), QColor(0, 0, 255));
}

TEST(ExSpeedButton, SingleImageGlyphGetsAGeneratedDisabledPicture)
{
    QImage glyph(16, 16, QImage::Format_RGB32);
    glyph.fill(qRgb(0, 128, 128));
    for (int x = 2; x < 14; ++x)
        glyph.setPixel(x, 8, qRgb(0, 0, 0));  // a black stroke
    TExButtonGlyph g;
    g.SetBitmap(glyph);
    EXPECT_EQ(g.TransparentColor(), qRgb(0, 128, 128));
    QPalette pal;
    QRgb mask = 0;
    const QImage disabled = g.StateImage(bdsDisabled, pal, mask);
    const QRgb face = pal.color(QPalette::Button).rgb();
    EXPECT_EQ(mask, face);
    EXPECT_EQ(disabled.pixel(5, 8), pal.color(QPalette::Dark).rgb());
    EXPECT_EQ(disabled.pixel(6, 9), pal.color(QPalette::Light).rgb());
    EXPECT_EQ(disabled.pixel(5, 2), face);
}

TEST(ExSpeedButton, InactiveImageIsGrayExceptKeyAndFace)
{
    QImage glyph(2, 2, QImage::Format_RGB32);
    glyph.fill(qRgb(255, 0, 255));  // the bottom-left pixel makes magenta the key
    glyph.setPixel(0, 0, qRgb(200, 100, 50));
    TExButtonGlyph g;
    g.SetBitmap(glyph);
    QPalette pal;
    QRgb mask = 0;
    const QImage gray = g.StateImage(bdsInactive, pal, mask);
    const int level = 124;   // (77 × 200 + 150 × 100 + 29 × 50) / 256 = 31850 / 256
    EXPECT_EQ(gray.pixel(0, 0), qRgb(level, level, level));
    EXPECT_EQ(gray.pixel(1, 0), qRgb(255, 0, 255));
    EXPECT_EQ(mask, qRgb(255, 0, 255));
}

namespace {

QTimer* RepeatTimerOf(TExSpeedButton& b)
{
    return b.findChild<QTimer*>();
}

void Tick(QTimer* timer)
{
    QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
}

}  // namespace

TEST(ExSpeedButton, RepeatClicksWhileHeldAndPausesOffTheButton)
{
    QWidget parent;
    TExSpeedButton b(&parent);
    b.SetAllowTimer(true);
    int clicks = 0;
    b.OnClick = [&] { ++clicks; };
    SendMouse(&b, QEvent::MouseButtonPress, QPoint(5, 5));
    QTimer* timer = RepeatTimerOf(b);
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 500);
    Tick(timer);
    EXPECT_EQ(timer->interval(), 100) << "after the first pause, the repeat interval";
    Tick(timer);
    EXPECT_EQ(clicks, 2);
    SendMouse(&b, QEvent::MouseMove, QPoint(60, 5));
    Tick(timer);
    EXPECT_EQ(clicks, 2) << "no repeats while the pointer is off the button";
    SendMouse(&b, QEvent::MouseMove, QPoint(5, 5));
    Tick(timer);
    SendMouse(&b, QEvent::MouseButtonRelease, QPoint(5, 5));
    EXPECT_EQ(clicks, 4) << "the release inside adds the final click";
    EXPECT_FALSE(timer->isActive());
}

// Guards a button disabled while held (by its own click handler): it never sees the
// release, and its repeat timer went on ticking for the rest of the run.
TEST(ExSpeedButton, DisablingAHeldButtonStopsItsRepeats)
{
    QWidget parent;
    TExSpeedButton b(&parent);
    b.SetAllowTimer(true);
    int clicks = 0;
    b.OnClick = [&] {
        if (++clicks == 2)
            b.setEnabled(false);
    };
    SendMouse(&b, QEvent::MouseButtonPress, QPoint(5, 5));
    QTimer* timer = RepeatTimerOf(b);
    ASSERT_NE(timer, nullptr);
    Tick(timer);
    Tick(timer);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(timer->isActive());
}

TEST(ExSpeedButton, ExceptionFromARepeatedClickStopsTheTimer)
{
    QWidget parent;
    TExSpeedButton b(&parent);
    b.SetAllowTimer(true);
    b.OnClick = [] { throw Exception(QStringLiteral("failed")); };
    SendMouse(&b, QEvent::MouseButtonPress, QPoint(5, 5));
    QTimer* timer = RepeatTimerOf(b);
    ASSERT_NE(timer, nullptr);
    EXPECT_THROW(Tick(timer), Exception);
    EXPECT_FALSE(timer->isActive());
}

TEST(ExSpeedButton, ClickGivesTheDialogItsModalResult)
{
    QDialog dialog;
    TExSpeedButton b(&dialog);
    b.SetModalResult(6);
    int clicks = 0;
    b.OnClick = [&] { ++clicks; };
    ClickAt(&b);
    EXPECT_EQ(dialog.result(), 6);
    EXPECT_EQ(clicks, 1);
}

TEST(ExSpeedButton, MenuOpensBelowOrRight)
{
    TExSpeedButton b;
    b.resize(40, 25);
    EXPECT_EQ(b.MenuPoint(), QPoint(-1, 25));
    b.SetMenuPosition(dmpRight);
    EXPECT_EQ(b.MenuPoint(), QPoint(40, -1));
    {
        QMenu menu;
        b.SetDropDownMenu(&menu);
        EXPECT_EQ(b.DropDownMenu(), &menu);
    }
    EXPECT_EQ(b.DropDownMenu(), nullptr) << "a destroyed menu is forgotten";
}

TEST(ExSpeedButton, FlatButtonShowsItsFrameOnlyUnderThePointer)
{
    QWidget parent;
    parent.resize(60, 60);
    TExSpeedButton b(&parent);
    b.SetFlat(true);
    QImage glyph(16, 16, QImage::Format_RGB32);
    glyph.fill(qRgb(255, 0, 255));
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            glyph.setPixel(x, y, qRgb(255, 0, 0));
    b.SetGlyph(glyph);
    parent.show();
    parent.activateWindow();
    for (int i = 0; i < 100 && !QGuiApplication::focusWindow(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_NE(QGuiApplication::focusWindow(), nullptr) << "the window never became active";
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&b, &leave);
    ASSERT_FALSE(b.Hover());
    const QColor face = b.palette().color(QPalette::Button);
    const QPoint glyphPixel(2 + 2 + 8, 2 + 2 + 8);  // no frame: the rectangle shrinks by 2

    QImage shot = b.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(0, 0)), face) << "no frame";
    const QColor gray = QColor(shot.pixel(glyphPixel));
    EXPECT_EQ(gray.red(), gray.green()) << "gray glyph while inactive";

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), b.mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(&b, &enter);
    ASSERT_TRUE(b.Hover());
    shot = b.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(0, 0)), b.palette().color(QPalette::Light)) << "frame shown";
    EXPECT_EQ(QColor(shot.pixel(glyphPixel)), QColor(255, 0, 0));
}
