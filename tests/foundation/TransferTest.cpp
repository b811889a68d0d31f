// Transfers between controls and the program's values.
#include "controls/ExSpeedButton.h"
#include "controls/TextListBox.h"
#include "foundation/ui/STDserv.h"
#include "support/TestHelpers.h"

#include <QAction>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QWidget>
#include <gtest/gtest.h>

TEST(Transfer, CheckBoxesAndMenuItemsAsByteFlags)
{
    QCheckBox box;
    const std::pair<std::uint8_t, bool> cases[] = {{1, true}, {0, false}, {2, false}, {255, false}};
    for (const auto& [flag, checked] : cases) {
        SCOPED_TRACE(int(flag));
        box.setChecked(!checked);
        BoolToCheckBox(flag, &box);
        EXPECT_EQ(box.isChecked(), checked);
        std::uint8_t back = 7;
        CheckBoxToBool(&box, back);
        EXPECT_EQ(back, checked ? 1 : 0);
    }
    QAction item;
    item.setCheckable(true);
    item.setChecked(true);
    std::uint8_t flag = 0;
    MenuItemToBool(&item, flag);
    EXPECT_EQ(flag, 1);
    item.setChecked(false);
    MenuItemToBool(&item, flag);
    EXPECT_EQ(flag, 0);
}

TEST(Transfer, MenuItemsAndSpeedButtonsFollowTheButtonsRules)
{
    QWidget bar;
    auto* a = new TExSpeedButton(&bar);
    auto* b = new TExSpeedButton(&bar);
    auto* loose = new TExSpeedButton(&bar);   // no group: always up
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    QAction item;
    item.setCheckable(true);

    item.setChecked(true);
    MenuItemToSpeedButton(&item, a);
    EXPECT_TRUE(a->Down());
    MenuItemToSpeedButton(&item, b);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());   // the group releases the other button
    MenuItemToSpeedButton(&item, loose);
    EXPECT_FALSE(loose->Down());

    // A down button of a group that does not allow all up stays down.
    MenuItemToSpeedButtonInv(&item, b);
    EXPECT_TRUE(b->Down());
    b->SetAllowAllUp(true);
    MenuItemToSpeedButtonInv(&item, b);
    EXPECT_FALSE(b->Down());

    SpeedButtonToMenuItem(b, &item);
    EXPECT_FALSE(item.isChecked());
    SpeedButtonToMenuItemInv(b, &item);
    EXPECT_TRUE(item.isChecked());
}

TEST(Transfer, SelectedLines)
{
    TTextListBox box;
    box.SetMultiSelect(true);
    box.addItems({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    TSelectedLines lines{9};
    TextListBoxSelectedLines(&box, lines);
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(TextListBoxFirstSelected(&box), -1);
    box.item(3)->setSelected(true);
    box.item(1)->setSelected(true);
    TextListBoxSelectedLines(&box, lines);
    EXPECT_EQ(lines, (TSelectedLines{1, 3}));
    EXPECT_EQ(TextListBoxFirstSelected(&box), 1);
    ListBoxSelectedLines(&box, lines);
    EXPECT_EQ(lines, (TSelectedLines{1, 3}));
    EXPECT_EQ(ListBoxFirstSelected(&box), 1);
}

TEST(Transfer, MemoLinesRoundTrip)
{
    const QStringList cases[] = {
        {},
        {QStringLiteral("одна")},
        {QStringLiteral("a"), QString(), QStringLiteral("c")},
        {QStringLiteral("a"), QString()},   // a last empty line is a line
    };
    for (const QStringList& lines : cases) {
        SCOPED_TRACE(lines.join(QLatin1Char('|')).toStdString());
        QPlainTextEdit memo(QStringLiteral("old\ntext"));
        StringListToMemo(lines, &memo);
        QStringList back{QStringLiteral("stale")};
        MemoToStringList(&memo, back);
        EXPECT_EQ(back, lines);
    }
}

TEST(Transfer, UserCaptionSummary)
{
    const TSeparatorScope separators(u'.');
    RUserText text;
    text.Dx = 1.5L;
    text.Dy = -2;
    text.Angle = 450;
    text.SizeFactor = 1;
    text.Show = 1;
    RUserText second;
    second.Dx = 12345.678L;
    second.Angle = -5;
    second.SizeFactor = 0.5L;
    second.Show = 2;
    TTextListBox box;
    box.addItem(QStringLiteral("old"));
    UserTextsToListBox({text, second}, &box);
    ASSERT_EQ(box.count(), 2);
    EXPECT_EQ(box.item(0)->text(), QStringLiteral("0    [dx=1.50 dy=-2.00 da=45.00 kSz=1.00 v=1]"));
    EXPECT_EQ(box.item(1)->text(),
              QStringLiteral("1    [dx=12345.68 dy=0.00 da=-0.50 kSz=0.50 v=2]"));
    DecimalSeparator = QLatin1Char(',');
    EXPECT_EQ(UserTextLine(10, text), QStringLiteral("10   [dx=1,50 dy=-2,00 da=45,00 kSz=1,00 v=1]"));
}
