// The check list box: check states, radio and grey rules, toggling by mouse and keys.
#include "controls/ExCheckListBox.h"

#include "foundation/ErrorTrail.h"
#include "support/TestHelpers.h"
#include "support/WidgetEvents.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

// A key typed: its press and its release, with its text.
void TypeKey(QWidget* w, int key, const QString& text)
{
    SendKey(w, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(w, &release);
}

struct Fixture {
    TExCheckListBox Box;
    std::vector<QString> Events;

    explicit Fixture(int lines = 3)
    {
        Box.resize(200, 120);
        for (int i = 0; i < lines; ++i)
            Box.addItem(QStringLiteral("line %1").arg(i));
        Box.show();
        Box.doItemsLayout();
        Box.OnClick = [this] {
            QString states;
            for (int i = 0; i < Box.count(); ++i)
                states += QString::number(int(Box.State(i)));
            Events.push_back(QStringLiteral("click ") + states);
        };
        Box.OnClickCheck = [this] { Events.push_back(QStringLiteral("check")); };
        Box.OnStateChange = [this](int i) { Events.push_back(QStringLiteral("state %1").arg(i)); };
    }

    void ClickLine(int line, int x)
    {
        const QRect r = Box.visualRect(Box.model()->index(line, 0));
        const QPoint at(r.left() + x, r.center().y());
        SendMouse(Box.viewport(), QEvent::MouseButtonPress, at);
        SendMouse(Box.viewport(), QEvent::MouseButtonRelease, at);
    }
};

}  // namespace

TEST(ExCheckListBox, PressInTheFirst18PixelsToggles)
{
    Fixture f;
    f.ClickLine(1, 10);
    EXPECT_TRUE(f.Box.IsItemChecked(1));
    EXPECT_EQ(f.Box.currentRow(), 1);
    // The click is reported after the toggle, so its handler sees the new state.
    EXPECT_EQ(f.Events, (std::vector<QString>{"state 1", "check", "click 010"}));

    f.Events.clear();
    f.ClickLine(2, 20);
    EXPECT_FALSE(f.Box.IsItemChecked(2));
    EXPECT_EQ(f.Box.currentRow(), 2);
    EXPECT_EQ(f.Events, (std::vector<QString>{"click 010"}));

    f.ClickLine(1, 10);
    EXPECT_FALSE(f.Box.IsItemChecked(1));
}

// Guards against a quick second click on a check being lost: the toolkit turns it into
// a double click, which toggled nothing, so two clicks checked the line only once.
TEST(ExCheckListBox, DoubleClickOnACheckTogglesTwice)
{
    struct Case {
        int firstLine, secondLine, x;
        const char* checked;  // lines 0..2 after both clicks
        std::vector<QString> events;
    };
    const Case cases[] = {
        {1, 1, 10, "000",
         {"state 1", "check", "click 010", "dbl", "state 1", "check", "click 000"}},
        {1, 1, 20, "000", {"click 000", "dbl"}},
        // A second press on another line is a plain press there.
        {1, 2, 10, "011",
         {"state 1", "check", "click 010", "state 2", "check", "click 011"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.checked);
        Fixture f;
        f.Box.OnDblClick = [&f] { f.Events.push_back(QStringLiteral("dbl")); };
        f.ClickLine(c.firstLine, c.x);
        const QRect r = f.Box.visualRect(f.Box.model()->index(c.secondLine, 0));
        const QPoint at(r.left() + c.x, r.center().y());
        SendMouse(f.Box.viewport(), QEvent::MouseButtonDblClick, at);
        SendMouse(f.Box.viewport(), QEvent::MouseButtonRelease, at);
        QString checked;
        for (int i = 0; i < 3; ++i)
            checked += f.Box.IsItemChecked(i) ? QLatin1Char('1') : QLatin1Char('0');
        EXPECT_EQ(checked, QLatin1String(c.checked));
        EXPECT_EQ(f.Events, c.events);
    }
}

TEST(ExCheckListBox, GrayedCycleOnlyForCheckBoxesAndMarks)
{
    struct Case {
        TCheckKind kind;
        std::vector<TCheckBoxState> cycle;
    };
    const Case cases[] = {
        {ckCheckBoxes, {cbGrayed, cbChecked, cbUnchecked}},
        {ckCheckMarks, {cbGrayed, cbChecked, cbUnchecked}},
        // A radio line cannot be unchecked by itself.
        {ckRadioButtons, {cbChecked, cbChecked, cbChecked}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.kind));
        Fixture f;
        f.Box.SetCheckKind(c.kind);
        f.Box.SetItemChecked(0, false);
        f.Box.SetAllowGrayed(true);
        EXPECT_EQ(f.Box.AllowGrayed(), c.kind != ckRadioButtons);
        for (TCheckBoxState expected : c.cycle) {
            f.ClickLine(2, 5);
            EXPECT_EQ(f.Box.State(2), expected);
        }
    }
}

TEST(ExCheckListBox, RadioButtonsKeepExactlyOneLine)
{
    Fixture f(4);
    f.Box.SetItemChecked(0, true);
    f.Box.SetItemChecked(3, true);
    f.Box.SetCheckKind(ckRadioButtons);
    EXPECT_EQ(f.Box.CheckedIndex(), 0) << "switching the kind keeps the first checked line";
    EXPECT_FALSE(f.Box.IsItemChecked(3));

    f.Events.clear();
    f.Box.SetItemChecked(2, true);
    EXPECT_FALSE(f.Box.IsItemChecked(0));
    EXPECT_EQ(f.Box.CheckedIndex(), 2);
    EXPECT_EQ(f.Events, (std::vector<QString>{"state 2"})) << "no event for the line unchecked";

    f.Box.SetItemChecked(2, false);
    EXPECT_EQ(f.Box.CheckedIndex(), 2) << "unchecking the checked line does nothing";

    f.Box.SetCheckedIndex(-5);
    EXPECT_EQ(f.Box.CheckedIndex(), 0);
    f.Box.SetState(1, cbGrayed);
    EXPECT_EQ(f.Box.State(1), cbUnchecked) << "a radio line reads checked or unchecked only";
}

TEST(ExCheckListBox, SwitchingToRadioWithNothingCheckedChecksTheFirstLine)
{
    Fixture f;
    f.Box.SetCheckKind(ckRadioButtons);
    EXPECT_EQ(f.Box.CheckedIndex(), 0);
    EXPECT_EQ(f.Events, (std::vector<QString>{"state 0"}));
}

TEST(ExCheckListBox, GrayedAndUntouchedLinesAreNotChecked)
{
    Fixture f;
    f.Box.SetState(1, cbGrayed);
    EXPECT_FALSE(f.Box.IsItemChecked(1));
    EXPECT_FALSE(f.Box.IsItemChecked(0));
    EXPECT_EQ(f.Box.CheckedIndex(), -1) << "only radio buttons have a checked index";
}

TEST(ExCheckListBox, PlusAndMinusSkipDisabledLines)
{
    Fixture f;
    f.Box.SetItemEnabled(1, false);
    f.Box.setFocus();
    TypeKey(&f.Box, Qt::Key_Plus, QStringLiteral("+"));
    EXPECT_TRUE(f.Box.IsItemChecked(0));
    EXPECT_FALSE(f.Box.IsItemChecked(1));
    EXPECT_TRUE(f.Box.IsItemChecked(2));
    // The keys reach the click handler too (a window rebuilds itself there).
    EXPECT_EQ(f.Events.back(), QStringLiteral("click 101"));

    f.ClickLine(1, 5);
    EXPECT_FALSE(f.Box.IsItemChecked(1)) << "a disabled line does not toggle";

    TypeKey(&f.Box, Qt::Key_Minus, QStringLiteral("-"));
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(f.Box.IsItemChecked(i));
}

TEST(ExCheckListBox, SpaceTogglesTheCurrentLineAndReportsAClick)
{
    Fixture f;
    f.Box.setCurrentRow(2);
    f.Events.clear();
    TypeKey(&f.Box, Qt::Key_Space, QStringLiteral(" "));
    EXPECT_TRUE(f.Box.IsItemChecked(2));
    EXPECT_EQ(f.Events, (std::vector<QString>{"state 2", "check", "click 001"}));
}

TEST(ExCheckListBox, SortingKeepsEveryState)
{
    TExCheckListBox box;
    box.AssignItems(QStringList{"c", "a", "b"});
    box.SetItemChecked(0, true);   // "c"
    box.SetItemEnabled(2, false);  // "b"
    box.SetSorted(true);
    EXPECT_EQ(box.ItemText(0), "a");
    EXPECT_TRUE(box.IsItemChecked(2));
    EXPECT_FALSE(box.ItemEnabled(1));
    box.addItem("aa");
    EXPECT_EQ(box.ItemText(1), "aa");
    EXPECT_TRUE(box.IsItemChecked(3));
}

TEST(ExCheckListBox, AssignFromAnotherBoxCarriesStates)
{
    TExCheckListBox a;
    a.AssignItems(QStringList{"x", "y"});
    a.SetItemChecked(1, true);
    a.SetItemEnabled(0, false);
    TExCheckListBox b;
    b.AssignItems(a);
    EXPECT_EQ(b.count(), 2);
    EXPECT_TRUE(b.IsItemChecked(1));
    EXPECT_FALSE(b.ItemEnabled(0));
    b.ClearItems();
    EXPECT_EQ(b.count(), 0);
    EXPECT_EQ(b.HorizontalExtent(), 0);
}

TEST(ExCheckListBox, InvalidIndexRaises)
{
    TExCheckListBox box;
    box.addItem("only");
    EXPECT_EQ(RaisedBy([&] { box.SetItemChecked(1, true); }),
              QStringLiteral("List index out of bounds (1)"));
    EXPECT_EQ(RaisedBy([&] { box.IsItemChecked(-1); }),
              QStringLiteral("List index out of bounds (-1)"));
    EXPECT_EQ(RaisedBy([&] { box.ItemText(5); }), QStringLiteral("List index out of bounds (5)"));
}

TEST(ExCheckListBox, ExtentAndHeightLeaveRoomForTheCheck)
{
    TExCheckListBox box;
    box.addItem("a line");
    EXPECT_EQ(box.HorizontalExtent(),
              box.fontMetrics().horizontalAdvance(QStringLiteral("a linex")) + 18);
    EXPECT_EQ(box.ItemHeight(), std::max(box.fontMetrics().height(), 13));
    box.SetStyle(lbOwnerDrawFixed);
    box.SetItemHeight(40);
    EXPECT_EQ(box.ItemHeight(), 40);
}

TEST(ExCheckListBox, CheckCellIsDrawnInTheControlColour)
{
    Fixture f;
    f.Box.SetItemChecked(0, true);
    f.Box.setCurrentRow(0);
    QPalette pal = f.Box.palette();
    pal.setColor(QPalette::Base, QColor(10, 20, 30));
    pal.setColor(QPalette::Highlight, QColor(200, 0, 0));
    f.Box.setPalette(pal);
    const QImage shot = f.Box.viewport()->grab().toImage();
    const QRect r = f.Box.visualRect(f.Box.model()->index(0, 0));
    // The check area keeps the control colour; the text part shows the selection.
    EXPECT_EQ(QColor(shot.pixel(r.left() + 17, r.top())), QColor(10, 20, 30));
    EXPECT_EQ(QColor(shot.pixel(r.left() + 19, r.top() + 1)), QColor(200, 0, 0));
}

TEST(ExCustomListBox, OwnerDrawHandlersServeOnlyOwnerDrawnStyles)
{
    TExCustomListBox box;
    box.resize(150, 100);
    int drawn = 0;
    box.OnDrawItem = [&](QPainter&, int, const QRect&, QStyle::State) { ++drawn; };
    box.OnGetItemWidth = [](int index, int& width) { width = 500 + index; };
    box.addItems({"a", "b"});
    EXPECT_EQ(box.HorizontalExtent(),
              std::max(box.fontMetrics().horizontalAdvance(QStringLiteral("ax")),
                       box.fontMetrics().horizontalAdvance(QStringLiteral("bx"))))
        << "a standard box measures its text";
    box.show();
    (void)box.viewport()->grab();
    EXPECT_EQ(drawn, 0);

    box.SetStyle(lbOwnerDrawFixed);
    EXPECT_EQ(box.HorizontalExtent(), 501);
    (void)box.viewport()->grab();
    EXPECT_GT(drawn, 0);

    box.SetAutoScroll(false);
    EXPECT_EQ(box.HorizontalExtent(), 0);
}

TEST(ExCustomListBox, VariableHeightsComeFromTheMeasureHandler)
{
    TExCustomListBox box;
    box.resize(150, 200);
    box.SetStyle(lbOwnerDrawVariable);
    box.OnMeasureItem = [](int index, int& height) { height = 10 + 10 * index; };
    box.addItems({"a", "b", "c"});
    box.show();
    box.doItemsLayout();
    EXPECT_EQ(box.visualRect(box.model()->index(0, 0)).height(), 10);
    EXPECT_EQ(box.visualRect(box.model()->index(2, 0)).height(), 30);
}
