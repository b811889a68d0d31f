// The text list box keeps its horizontal range as wide as its widest line.
#include "controls/TextListBox.h"

#include "support/WidgetEvents.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

int LineWidth(const QWidget& w, const QString& text)
{
    return w.fontMetrics().horizontalAdvance(text + QLatin1Char('x'));
}

}  // namespace

TEST(TextListBox, ExtentGrowsShrinksAndResets)
{
    TTextListBox box;
    box.resize(80, 100);
    box.show();
    const QString shortLine = QStringLiteral("short");
    const QString longLine = QStringLiteral("a much longer line of the journal, well past the edge");
    const QString middle = QStringLiteral("a middle sized line here");

    box.addItem(shortLine);
    EXPECT_EQ(box.HorizontalExtent(), LineWidth(box, shortLine));
    box.addItem(longLine);
    EXPECT_EQ(box.HorizontalExtent(), LineWidth(box, longLine));
    box.insertItem(0, middle);
    EXPECT_EQ(box.HorizontalExtent(), LineWidth(box, longLine)) << "a shorter line changes nothing";

    box.doItemsLayout();
    QScrollBar* bar = box.horizontalScrollBar();
    EXPECT_EQ(bar->maximum(), LineWidth(box, longLine) - box.viewport()->width());
    bar->setValue(bar->maximum());

    delete box.takeItem(2);  // the widest line goes: the rest is measured again
    EXPECT_EQ(box.HorizontalExtent(), LineWidth(box, middle));
    EXPECT_EQ(bar->value(), 0) << "deleting the widest line scrolls to the left end";

    delete box.takeItem(1);  // a narrower line goes: nothing to measure
    EXPECT_EQ(box.HorizontalExtent(), LineWidth(box, middle));

    box.clear();
    EXPECT_EQ(box.HorizontalExtent(), 0);
    box.doItemsLayout();
    EXPECT_EQ(bar->maximum(), 0);
}

TEST(TextListBox, FontChangeMeasuresAgain)
{
    TTextListBox box;
    box.addItem(QStringLiteral("some line of text"));
    QFont big = box.font();
    big.setPointSize(big.pointSize() * 3);
    box.setFont(big);
    EXPECT_EQ(box.HorizontalExtent(), LineWidth(box, QStringLiteral("some line of text")));
}

TEST(TextListBox, TabStopsWidenTheMeasure)
{
    TTextListBox box;
    box.SetTabWidth(40);
    box.addItem(QStringLiteral("a\tb"));
    const int stop = qRound(box.fontMetrics().horizontalAdvance(QLatin1Char('0')) * 40 / 4.0);
    EXPECT_GE(box.HorizontalExtent(), stop);
    box.SetTabWidth(-5);
    EXPECT_EQ(box.TabWidth(), 0);
    EXPECT_EQ(box.HorizontalExtent(), LineWidth(box, QStringLiteral("a\tb")));
}

TEST(TextListBox, ClicksAndKeysReportOnce)
{
    TTextListBox box;
    box.resize(150, 100);
    box.addItems({"a", "b", "c"});
    box.show();
    box.doItemsLayout();
    int clicks = 0;
    int doubles = 0;
    box.OnClick = [&] { ++clicks; };
    box.OnDblClick = [&] { ++doubles; };
    const QPoint line1 = box.visualRect(box.model()->index(1, 0)).center();
    SendMouse(box.viewport(), QEvent::MouseButtonPress, line1);
    SendMouse(box.viewport(), QEvent::MouseButtonRelease, line1);
    EXPECT_EQ(box.currentRow(), 1);
    EXPECT_EQ(clicks, 1);
    SendMouse(box.viewport(), QEvent::MouseButtonDblClick, line1);
    SendMouse(box.viewport(), QEvent::MouseButtonRelease, line1);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(clicks, 1);

    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(&box, &down);
    EXPECT_EQ(box.currentRow(), 2);
    EXPECT_EQ(clicks, 2);
    box.setCurrentRow(0);
    EXPECT_EQ(clicks, 2) << "a selection from the program is no click";
}

TEST(TextListBox, MultiSelectModes)
{
    TTextListBox box;
    EXPECT_EQ(box.selectionMode(), QAbstractItemView::SingleSelection);
    box.SetMultiSelect(true);
    EXPECT_EQ(box.selectionMode(), QAbstractItemView::ExtendedSelection);
    box.SetExtendedSelect(false);
    EXPECT_EQ(box.selectionMode(), QAbstractItemView::MultiSelection);
}
