// The windowless side of the shared dialogs: the splitter, the rules applied after a
// window closes, the polar computation and the hooks' cancel-without-window default.
#include "foundation/ServDialogs.h"

#include <gtest/gtest.h>

TEST(DialogsSplit, CrEndsLinesAndLineFeedsStay)
{
    struct Case {
        QString text;
        QStringList lines;
    };
    const Case cases[] = {
        {QString(), {}},
        {QStringLiteral("one"), {QStringLiteral("one")}},
        {QStringLiteral("a\rb\rc"), {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
        {QStringLiteral("a\r"), {QStringLiteral("a")}},
        {QStringLiteral("a\r\r"), {QStringLiteral("a"), QString()}},
        {QStringLiteral("\r"), {QString()}},
        // CR LF: the line feed opens the following line.
        {QStringLiteral("a\r\nb\r\n"),
         {QStringLiteral("a"), QStringLiteral("\nb"), QStringLiteral("\n")}},
        {QStringLiteral("a\r\nb"), {QStringLiteral("a"), QStringLiteral("\nb")}},
        {QStringLiteral("a\nb"), {QStringLiteral("a\nb")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(Split(c.text), c.lines);
    }
}

// Guards the command-line tools printing a joined message with bare CRs, each line
// written over the one before on a terminal.
TEST(DialogsSplit, ConsoleTextEndsLinesAsTheTerminalDoes)
{
    struct Case {
        QString text, console;
    };
    const Case cases[] = {
        {QStringLiteral("one"), QStringLiteral("one")},
        {QStringLiteral("a\rb\rc"), QStringLiteral("a\nb\nc")},
        {QStringLiteral("a\r\nb\r\n"), QStringLiteral("a\nb\n")},
        {QStringLiteral("a\nb\r\r"), QStringLiteral("a\nb\n\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(ConsoleText(c.text), c.console);
    }
}

TEST(DialogsSplit, EmptiesTheTargetFirst)
{
    QStringList lines{QStringLiteral("old")};
    Split(QStringLiteral("new"), lines);
    EXPECT_EQ(lines, QStringList{QStringLiteral("new")});
}

TEST(DialogsHooks, WithoutWindowsEveryRoutineCancelsAndChangesNothing)
{
    TScopedDialogHooks none;
    QString value = QStringLiteral("v");
    QString free = QStringLiteral("f");
    QStringList list{QStringLiteral("a"), QStringLiteral("b")};
    int index = 1;
    int added = 5;
    int scale = 500;
    Extended x = 7;
    Extended y = 8;
    EXPECT_EQ(ShowMsgDialog(QStringLiteral("c"), QStringLiteral("t")), mrCancel);
    EXPECT_EQ(ShowQDialog(QStringLiteral("c"), QStringLiteral("t")), mrCancel);
    EXPECT_EQ(InpStrDialog(value, QStringLiteral("c"), QStringLiteral("t")), mrCancel);
    EXPECT_EQ(InpStr2Dialog(value, free, QStringLiteral("c"), QStringLiteral("t"),
                            QStringLiteral(">lll;0;*")),
              mrCancel);
    EXPECT_EQ(SelStrDialog(list, index, added, QStringLiteral("c"), QStringLiteral("t")), mrCancel);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(added, 0);
    EXPECT_EQ(SelStr2Dialog(list, index, added, QStringLiteral("c"), QStringLiteral("t"), free),
              mrCancel);
    EXPECT_EQ(InpScaleDialog(scale, QStringLiteral("c"), QStringLiteral("t")), mrCancel);
    EXPECT_EQ(InpNomStr2000Dialog(value, QStringLiteral("c"), QStringLiteral("t")), mrCancel);
    EXPECT_EQ(InpPolarDialog(0, 0, 100, 0, x, y), mrCancel);
    EXPECT_EQ(QDelObjectsDlg(list), mrCancel);
    EXPECT_EQ(DublicateItemDlg(value, QStringLiteral("c"), QStringLiteral("t")), mrCancel);
    EXPECT_EQ(FirstStartDlg(), mrCancel);
    EXPECT_EQ(value, QStringLiteral("v"));
    EXPECT_EQ(free, QStringLiteral("f"));
    EXPECT_EQ(list.size(), 2);
    EXPECT_EQ(scale, 500);
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 8);
}

TEST(DialogsHooks, ScopedSetIsRestoredAfterwards)
{
    TDialogHooks outer;
    outer.ShowQ = [](const QString&, const QString&) { return mrYes; };
    TScopedDialogHooks outerScope(outer);
    {
        TDialogHooks inner;
        inner.ShowQ = [](const QString&, const QString&) { return mrNo; };
        TScopedDialogHooks innerScope(inner);
        EXPECT_EQ(ShowQDialog(QString(), QString()), mrNo);
    }
    EXPECT_EQ(ShowQDialog(QString(), QString()), mrYes);
}

TEST(DialogsHooks, SelectionRuleAfterTheWindow)
{
    struct Case {
        const char* name;
        int chosen;              // the line chosen in the list, -1 none
        const char* typed;
        TModalResult result;
        int index;               // expected
        int added;
        int listSize;
    };
    // The list starts as "a", "b".
    const Case cases[] = {
        {"chosen line, OK", 1, "b", mrOk, 1, 0, 2},
        {"chosen line, cancel", 0, "a", mrCancel, 0, 0, 2},
        {"new text, OK", -1, "c", mrOk, 2, 1, 3},
        {"text equal to a line, OK", -1, "b", mrOk, 1, 0, 2},
        {"text equal to a line, cancel", -1, "a", mrCancel, 0, 0, 2},
        // A cancelled or empty entry must never reach the list (and its file); added
        // still says no line was chosen, since callers read added 0 as a valid index.
        {"new text, cancel", -1, "c", mrCancel, -1, 1, 2},
        {"empty text, OK", -1, "", mrOk, -1, 1, 2},
        {"empty text, cancel", -1, "", mrCancel, -1, 1, 2},
        {"chosen beyond the list", 7, "", mrOk, -1, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TDialogHooks hooks;
        hooks.SelStr = [&](const QStringList&, TSelection& s, const QString&, const QString&) {
            s.Index = c.chosen;
            s.Typed = QString::fromUtf8(c.typed);
            return c.result;
        };
        TScopedDialogHooks scope(hooks);
        QStringList list{QStringLiteral("a"), QStringLiteral("b")};
        int index = 0;
        int added = -1;
        EXPECT_EQ(SelStrDialog(list, index, added, QString(), QString()), c.result);
        EXPECT_EQ(index, c.index);
        EXPECT_EQ(added, c.added);
        EXPECT_EQ(list.size(), c.listSize);
        if (c.listSize == 3) {
            EXPECT_EQ(list.last(), QString::fromUtf8(c.typed));
        }
    }
}

TEST(DialogsHooks, SelectionWindowSeesThePreselectionAndFreeText)
{
    TDialogHooks hooks;
    hooks.SelStr2 = [](const QStringList& list, TSelection& s, const QString&, const QString&,
                       QString& free) {
        EXPECT_EQ(s.Index, 1);
        EXPECT_EQ(list.size(), 2);
        EXPECT_EQ(free, QStringLiteral("старое"));
        free = QStringLiteral("новое");
        s.Index = -1;
        s.Typed = QStringLiteral("в");
        return mrOk;
    };
    TScopedDialogHooks scope(hooks);
    QStringList list{QStringLiteral("а"), QStringLiteral("б")};
    int index = 1;
    int added = 0;
    QString free = QStringLiteral("старое");
    EXPECT_EQ(SelStr2Dialog(list, index, added, QString(), QString(), free), mrOk);
    EXPECT_EQ(free, QStringLiteral("новое"));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(added, 1);
}

TEST(DialogsPolar, PointFromBothStationsAndSides)
{
    struct Case {
        const char* name;
        bool fromEnd, right;
        Extended distance, degrees, minutes, seconds;
        Extended x, y;
    };
    // Base line (0, 0)→(100, 0): due north, direction 0.
    const Case cases[] = {
        {"start, left 90", false, false, 10, 90, 0, 0, 0, -10},
        {"start, right 90", false, true, 10, 90, 0, 0, 0, 10},
        // Guards the mirrored point: a left angle of 30° at the start turns towards the
        // west side of the base line, not behind the station.
        {"start, left 30", false, false, 10, 30, 0, 0, 8.660254037844386L, -5},
        {"start, right 30", false, true, 10, 30, 0, 0, 8.660254037844386L, 5},
        {"end, left 90", true, false, 10, 90, 0, 0, 100, -10},
        {"end, right 90", true, true, 10, 90, 0, 0, 100, 10},
        {"end, left 30", true, false, 10, 30, 0, 0, 100 - 8.660254037844386L, -5},
        {"start, left 45°30'36\"", false, false, 100, 45, 30, 36,
         100 * std::cos(45.51L * 0.017453292519943295L),
         -100 * std::sin(45.51L * 0.017453292519943295L)},
        {"zero distance stays on the station", true, false, 0, 17, 0, 0, 100, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPolarAnswer a;
        a.FromEnd = c.fromEnd;
        a.RightAngle = c.right;
        a.Distance = c.distance;
        a.Degrees = c.degrees;
        a.Minutes = c.minutes;
        a.Seconds = c.seconds;
        Extended x = -1;
        Extended y = -1;
        PolarPoint(0, 0, 100, 0, a, x, y);
        EXPECT_NEAR(double(x), double(c.x), 1e-9);
        EXPECT_NEAR(double(y), double(c.y), 1e-9);
    }
}

TEST(DialogsPolar, EntryComputesFromTheWindowsAnswerWhateverTheResult)
{
    TDialogHooks hooks;
    hooks.InpPolar = [](TPolarAnswer& a) {
        EXPECT_EQ(a.Distance, 10);
        EXPECT_EQ(a.Degrees, 90);
        a.RightAngle = true;
        return mrCancel;
    };
    TScopedDialogHooks scope(hooks);
    Extended x = 0;
    Extended y = 0;
    EXPECT_EQ(InpPolarDialog(0, 0, 0, 100, x, y), mrCancel);
    // Base due east (90), right angle 90 from the start: due south.
    EXPECT_NEAR(double(x), -10, 1e-9);
    EXPECT_NEAR(double(y), 0, 1e-9);
}
