// The dialog base keeps every window inside the work area of its screen: the corner rule,
// and the shrinking of a window taller than the work area, whose controls then scroll
// while the buttons along its bottom edge stay in view.
#include "foundation/ui/DialogBase.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A 1366 × 768 screen whose task bar takes the bottom 40 pixels, for a test's span.
class TLaptopScreen {
public:
    TLaptopScreen() { SetTestScreen(QRect(0, 0, 1366, 768), Work); }
    ~TLaptopScreen() { SetTestScreen(QRect(), QRect()); }
    const QRect Work{0, 0, 1366, 728};
};

QRect Framed(const QWidget& w)
{
    const QMargins frame = WindowFrame(w);
    return QRect(w.pos(), w.size()).adjusted(0, 0, frame.left() + frame.right(), frame.top() + frame.bottom());
}

}  // namespace

TEST(DialogFit, CornerKeepsTheFramedWindowInsideTheArea)
{
    struct Case {
        const char* name;
        QPoint in, out;
    };
    const QRect area(100, 0, 1000, 700);
    const QSize size(200, 100);
    const QMargins frame(4, 30, 4, 4);   // framed: 208 × 134
    const Case cases[] = {
        {"inside", {300, 200}, {300, 200}},
        {"past the right edge", {1000, 200}, {892, 200}},
        {"past the bottom edge", {300, 650}, {300, 566}},
        {"left of the area", {20, 200}, {100, 200}},
        {"above the area", {300, -50}, {300, 0}},
        {"on the last pixel", {892, 566}, {892, 566}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(KeptInside(c.in, size, frame, area), c.out);
    }
    // Wider and taller than the area: it starts at the left and top edges.
    EXPECT_EQ(KeptInside(QPoint(500, 500), QSize(1200, 900), frame, area), QPoint(100, 0));
}

// Guards the line window (700 × 724) centred on the whole screen: on a 1366 × 768 screen
// its "Готово" lay under the task bar.
TEST(DialogFit, TallWindowScrollsItsControlsAndKeepsItsBottomButtons)
{
    const TLaptopScreen screen;
    TDialogBase form;
    form.SetClientSize(700, 724);
    auto* list = new QListWidget(&form);
    form.Place(list, QRect(8, 8, 684, 600));
    auto* lowest = new QLabel(QStringLiteral("Длина контура"), &form);
    form.Place(lowest, QRect(8, 660, 300, 16));
    QPushButton* done = form.AddButton(QStringLiteral("Готово"), QRect(617, 690, 75, 25), mrOk);
    form.PlaceScreenCentre();
    form.show();

    EXPECT_TRUE(screen.Work.contains(Framed(form)));
    ASSERT_NE(form.FitScroll(), nullptr);
    EXPECT_EQ(done->parentWidget(), &form);                     // not scrolled away
    EXPECT_TRUE(form.rect().contains(done->geometry()));
    EXPECT_EQ(done->geometry().bottom(), form.height() - 10);   // as far from the bottom as laid out
    EXPECT_TRUE(form.FitScroll()->widget()->isAncestorOf(lowest));
    EXPECT_LE(form.FitScroll()->geometry().bottom(), done->geometry().top());
    // The scrolled controls keep their places: the lowest is reached by scrolling.
    EXPECT_EQ(lowest->geometry(), QRect(8, 660, 300, 16));
    EXPECT_TRUE(lowest->isVisibleTo(&form));
    form.FitScroll()->ensureWidgetVisible(lowest);
    EXPECT_GT(form.FitScroll()->verticalScrollBar()->value(), 0);
    form.hide();
}

TEST(DialogFit, WindowThatFitsKeepsItsSizeAndItsControls)
{
    const TLaptopScreen screen;
    TDialogBase form;
    form.SetClientSize(400, 300);
    QPushButton* done = form.AddButton(QStringLiteral("Готово"), QRect(317, 270, 75, 25), mrOk);
    form.move(1300, 700);   // as a window placed on the pointer near the corner
    form.show();
    EXPECT_EQ(form.size(), QSize(400, 300));
    EXPECT_EQ(form.FitScroll(), nullptr);
    EXPECT_EQ(done->parentWidget(), &form);
    EXPECT_TRUE(screen.Work.contains(Framed(form)));
    form.hide();
}

// A window laid out by a layout keeps its controls in the scrolled part.
TEST(DialogFit, LaidOutWindowScrollsWithItsLayout)
{
    const TLaptopScreen screen;
    TDialogBase form;
    form.Sizeable = true;
    auto* layout = new QVBoxLayout(&form);
    auto* tall = new QListWidget(&form);
    tall->setMinimumHeight(900);
    layout->addWidget(tall);
    auto* button = new QPushButton(QStringLiteral("Расчет"), &form);
    layout->addWidget(button);
    form.show();
    EXPECT_TRUE(screen.Work.contains(Framed(form)));
    ASSERT_NE(form.FitScroll(), nullptr);
    EXPECT_TRUE(form.FitScroll()->widget()->isAncestorOf(button));
    EXPECT_TRUE(button->isVisibleTo(&form));
    EXPECT_GE(form.FitScroll()->widget()->height(), 900);
    form.hide();
}
