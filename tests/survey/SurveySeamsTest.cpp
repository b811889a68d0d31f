// The survey entries the main window calls, with and without their windows, and the
// strip parameters, staking-out input and result list driven as a user by object names.
// Setting VELMORA_REVIEW_DIR writes the three windows there as PNGs.
#include "SurveyTestSupport.h"
#include "controls/TextListBox.h"
#include "foundation/ui/NumEdit.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"
#include "platform/CodePage.h"
#include "survey/QStripDialog.h"
#include "survey/StakingOut.h"
#include "survey/SurveyDialogs.h"

#include <QApplication>
#include <QCursor>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(SurveySeams, WithoutWindowsEveryEntryAnswersCancelAndChangesNothing)
{
    TScopedSurveyDialogHooks none;
    Extended d = 1, a = 2;
    EXPECT_EQ(OGZDialog(d, a, 3, 4, 5, 6), mrCancel);
    EXPECT_EQ(d, 1);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(NextDirAngleDlg(), mrCancel);
    EXPECT_EQ(PGZDialog(), mrCancel);
    EXPECT_EQ(TheodolitDlg(), mrCancel);
    EXPECT_EQ(InputTaheoDlg(), mrCancel);
    Extended x0 = 1, y0 = 2, orX = 3, orY = 4;
    EXPECT_EQ(InpOGZDialog(x0, y0, orX, orY), mrCancel);
    EXPECT_EQ(std::vector<Extended>({x0, y0, orX, orY}), std::vector<Extended>({1, 2, 3, 4}));
    int position = 2, left = 1, right = 0;
    Extended width = 2.5L;
    EXPECT_EQ(QStripDialog(position, left, right, width), mrCancel);
    EXPECT_EQ(std::vector<int>({position, left, right}), std::vector<int>({2, 1, 0}));
    EXPECT_EQ(width, 2.5L);
    const qsizetype windows = QApplication::topLevelWidgets().count();
    QWidget owner;
    EXPECT_EQ(NewFormInstr2(&owner), nullptr);
    EXPECT_EQ(QApplication::topLevelWidgets().count(), windows + 1);   // only the owner
}

TEST(SurveySeams, InstalledEntriesOpenTheirWindows)
{
    TScopedSurveyDialogHooks scope;
    InstallSurveyWindows();
    struct Case {
        const char* windowClass;
        std::function<TModalResult()> open;
    };
    Extended d = 0, a = 0, x0 = 0, y0 = 0, orX = 0, orY = 0, width = 1;
    int position = 1, left = 0, right = 0;
    const Case cases[] = {
        {"TFormOGZDialog", [&] { return OGZDialog(d, a, 0, 0, 0, 0); }},
        {"TFormNextDirAngle", [] { return NextDirAngleDlg(); }},
        {"TFormPGZDialog", [] { return PGZDialog(); }},
        {"TFormTheodolit", [] { return TheodolitDlg(); }},
        {"TFormInpOGZDialog", [&] { return InpOGZDialog(x0, y0, orX, orY); }},
        {"TFormQStripDialog", [&] { return QStripDialog(position, left, right, width); }},
        {"TFormInputTaheo", [] { return InputTaheoDlg(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.windowClass);
        TModalScript script;
        script.Then(c.windowClass, [](QWidget* w) { CloseBox(w); });
        EXPECT_EQ(c.open(), mrCancel);
        EXPECT_TRUE(script.Done());
    }
    // A palette needs the main window as its owner.
    EXPECT_EQ(NewFormInstr2(nullptr), nullptr);
}

// ---- Strip parameters ----

QStringList CheckedIn(QWidget* w)
{
    QStringList texts;
    for (auto* group : w->findChildren<QGroupBox*>()) {
        QString checked = QStringLiteral("-");
        for (auto* b : group->findChildren<QRadioButton*>())
            if (b->isChecked())
                checked = b->text();
        texts << checked;
    }
    return texts;
}

TEST(QStripDialog, ShowsTheValuesPassedIn)
{
    TScopedSurveyDialogHooks scope;
    InstallSurveyWindows();
    struct Case {
        int position, left, right;
        Extended width;
        QStringList checked;
    } cases[] = {
        {2, 1, 0, 2.5L, {"симметрично", "специальный тип 1", "основной"}},
        {1, 2, 2, 10, {"слева по ходу", "специальный тип 2", "специальный тип 2"}},
        {3, 0, 1, 0.75L, {"справа по ходу", "основной", "специальный тип 1"}},
        // Values outside the lists select nothing.
        {0, 3, -1, 1, {"-", "-", "-"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        int position = c.position, left = c.left, right = c.right;
        Extended width = c.width;
        const Extended passed = width;
        TModalScript script;
        script.Then("TFormQStripDialog", [&](QWidget* w) {
            EXPECT_EQ(w->windowTitle(), QStringLiteral("Параметры построения"));
            EXPECT_EQ(CheckedIn(w), c.checked);
            EXPECT_EQ(Child<TNumEdit>(w, "NumEdit1")->FloatValue(), passed);
            if (c.position == 2)
                Review(*w, "QStripDialog.png");
            Enter(w);
        });
        EXPECT_EQ(QStripDialog(position, left, right, width), mrOk);
        EXPECT_EQ(std::vector<int>({position, left, right}),
                  std::vector<int>({c.position, c.left, c.right}));
        EXPECT_EQ(width, passed);
    }
}

TEST(QStripDialog, EscWritesAllFourBackAndReturnsCancel)
{
    TScopedSurveyDialogHooks scope;
    InstallSurveyWindows();
    int position = 1, left = 0, right = 0;
    Extended width = 1;
    TModalScript script;
    script.Then("TFormQStripDialog", [](QWidget* w) {
        Type(w, "NumEdit1", QStringLiteral("3,25"));
        Child<QRadioButton>(w, "RadioButton3")->click();
        Child<QRadioButton>(w, "rl2")->click();
        Child<QRadioButton>(w, "rr1")->click();
        Esc(w);
    });
    EXPECT_EQ(QStripDialog(position, left, right, width), mrCancel);
    EXPECT_EQ(std::vector<int>({position, left, right}), std::vector<int>({3, 2, 1}));
    EXPECT_EQ(width, 3.25L);
}

TEST(QStripDialog, GroupWithoutSelectionKeepsItsArgument)
{
    TScopedSurveyDialogHooks scope;
    InstallSurveyWindows();
    int position = 7, left = 5, right = 1;
    Extended width = 4;
    TModalScript script;
    script.Then("TFormQStripDialog", [](QWidget* w) {
        Child<QRadioButton>(w, "rlM")->click();
        CloseBox(w);
    });
    EXPECT_EQ(QStripDialog(position, left, right, width), mrCancel);
    EXPECT_EQ(std::vector<int>({position, left, right}), std::vector<int>({7, 0, 1}));
    EXPECT_EQ(width, 4);
}

// ---- Staking-out input ----

TEST(InpOGZDialog, OpensOnTheMouseKeptInsideTheWorkArea)
{
    TScopedSurveyDialogHooks scope;
    InstallSurveyWindows();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    struct Case {
        const char* name;
        QPoint pointer;
        bool pushedBack;
    } cases[] = {
        {"lower right corner", area.bottomRight() - QPoint(3, 3), true},
        {"middle", area.center(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QCursor::setPos(c.pointer);
        ASSERT_EQ(QCursor::pos(), c.pointer);
        Extended x0 = 0, y0 = 0, orX = 0, orY = 0;
        QRect shown;
        QMargins frame;
        TModalScript script;
        script.Then("TFormInpOGZDialog", [&](QWidget* w) {
            shown = QRect(w->pos(), w->size());   // the rule places by the client size
            frame = WindowFrame(*w);
            Esc(w);
        });
        InpOGZDialog(x0, y0, orX, orY);
        // Pushed back by the client size, then kept inside with its title bar and borders
        // as estimated before the window shows; the frame it shows with fits as well.
        const QWidget unshown;
        const QMargins estimate = WindowFrame(unshown);
        const QPoint expected = KeptInside(
            PushBackIntoWorkArea(CentredOn(c.pointer, shown.size()), shown.size(), area),
            shown.size(), estimate, area);
        const QRect framed =
            shown.adjusted(0, 0, frame.left() + frame.right(), frame.top() + frame.bottom());
        EXPECT_EQ(shown.topLeft(), expected);
        EXPECT_TRUE(area.contains(framed)) << shown.x() << "," << shown.y();
        if (c.pushedBack)
            EXPECT_EQ(shown.bottomRight() + QPoint(estimate.left() + estimate.right(),
                                                   estimate.top() + estimate.bottom()),
                      area.bottomRight());
        else
            EXPECT_EQ(shown.topLeft(), CentredOn(c.pointer, shown.size()));
    }
}

TEST(InpOGZDialog, ShowsTheValuesAndWritesTheEditedOnesBackHoweverItCloses)
{
    TScopedSurveyDialogHooks scope;
    InstallSurveyWindows();
    const TSeparatorScope comma(u',');
    struct Case {
        const char* name;
        std::function<void(QWidget*)> close;
        TModalResult result;
    } cases[] = {
        {"Esc", [](QWidget* w) { Esc(w); }, mrCancel},
        {"close box", [](QWidget* w) { CloseBox(w); }, mrCancel},
        {"Enter", [](QWidget* w) { Enter(w); }, mrOk},
        {"Готово", [](QWidget* w) { Child<QPushButton>(w, "BitBtn1")->click(); }, mrOk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Extended x0 = 100.5L, y0 = -20, orX = 7, orY = 8;
        TModalScript script;
        script.Then("TFormInpOGZDialog", [&](QWidget* w) {
            EXPECT_EQ(w->windowTitle(), QStringLiteral("Обратная геодезическая задача"));
            EXPECT_EQ(Child<TNumEdit>(w, "neX0")->text(), QStringLiteral("100,500"));
            EXPECT_EQ(Child<TNumEdit>(w, "neY0")->text(), QStringLiteral("-20,000"));
            Review(*w, "InpOGZDialog.png");
            // Both separators are taken.
            Type(w, "neX0", QStringLiteral("12,5"));
            Type(w, "neOrY", QStringLiteral("7.25"));
            Type(w, "neOrX", QStringLiteral("abc"));   // no number: counts as 0
            c.close(w);
        });
        EXPECT_EQ(InpOGZDialog(x0, y0, orX, orY), c.result);
        EXPECT_EQ(std::vector<Extended>({x0, y0, orX, orY}),
                  std::vector<Extended>({12.5L, -20, 0, 7.25L}));
    }
}

// ---- Result list ----

QStringList Lines(TFormOGZList* list)
{
    QStringList lines;
    for (int i = 0; i < list->tlb->count(); ++i)
        lines << list->tlb->item(i)->text();
    return lines;
}

// Each test's owner takes its lists with it.
class OGZList : public ::testing::Test {
protected:
    void TearDown() override { TFormOGZList::SaveDialogHook = nullptr; }
    QWidget Owner;
    QTemporaryDir Dir;
};

TEST_F(OGZList, EachNewListTakesOverTheReferenceAndTheEarlierStaysOpen)
{
    TFormOGZList* first = NewFormOGZList(&Owner);
    EXPECT_EQ(FormOGZList(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowTitle(), QStringLiteral("Решение обратной геодезической задачи"));
    EXPECT_TRUE(first->windowFlags() & Qt::WindowStaysOnTopHint);
    FormOGZList()->tlb->addItem(QStringLiteral("N=1  X=  10.000  Y=  20.000  D=  22.361  A=63 26 6"));

    TFormOGZList* second = NewFormOGZList(&Owner);
    EXPECT_NE(second, first);
    EXPECT_EQ(FormOGZList(), second);
    EXPECT_EQ(second->tlb->count(), 0);
    FormOGZList()->tlb->addItem(QStringLiteral("N=2"));
    EXPECT_EQ(Lines(first).count(), 1);
    EXPECT_EQ(Lines(second), QStringList{QStringLiteral("N=2")});
    EXPECT_TRUE(first->isVisible());
    Review(*first, "OGZList.png");

    // Closing only hides; the list stays the one lines go to.
    second->close();
    EXPECT_EQ(FormOGZList(), second);
}

TEST_F(OGZList, ReferenceClearsWhenItsWindowGoes)
{
    {
        QWidget owner;
        NewFormOGZList(&owner);
        EXPECT_NE(FormOGZList(), nullptr);
    }
    EXPECT_EQ(FormOGZList(), nullptr);
}

TEST_F(OGZList, SaveWritesExactlyTheLinesShownInCodePage1251)
{
    TFormOGZList* list = NewFormOGZList(&Owner);
    const QStringList shown = {QStringLiteral("N=Опора1  X=  10.000  Y=  20.000  D=  22.361  A=63 26 6"),
                               QStringLiteral("Опора1  10.000000  20.000000"), QString()};
    list->tlb->addItems(shown);
    const QString file = Dir.filePath(QStringLiteral("Вынос.txt"));
    TFormOGZList::SaveDialogHook = [&](QString& name) {
        name = file;
        return true;
    };
    list->BitBtn1->click();
    QByteArray expected;
    for (const QString& line : shown)
        expected += EncodeCodePage(line) + "\r\n";
    EXPECT_EQ(FileBytes(file), expected);
    EXPECT_TRUE(FileBytes(file).contains("\xce\xef\xee\xf0\xe0"));   // "Опора" in 1251

    // An empty list replaces the file by an empty one.
    list->tlb->clear();
    list->BitBtn1Click();
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(FileBytes(file), QByteArray());
}

TEST_F(OGZList, CancelledSaveWritesNothing)
{
    TFormOGZList* list = NewFormOGZList(&Owner);
    list->tlb->addItem(QStringLiteral("N=1"));
    const QString file = Dir.filePath(QStringLiteral("old.txt"));
    WriteBytes(file, "old\r\n");
    int asked = 0;
    TFormOGZList::SaveDialogHook = [&](QString& name) {
        ++asked;
        name = file;   // even a name set before the cancel is not used
        return false;
    };
    list->BitBtn1->click();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(FileBytes(file), QByteArray("old\r\n"));
}

// A name typed by the user may hold a character code page 1251 lacks: the save is
// refused with a message and the old file stays as it was.
TEST_F(OGZList, LineOutsideTheCodePageIsRefusedAndTheFileKept)
{
    TFormOGZList* list = NewFormOGZList(&Owner);
    list->tlb->addItem(QStringLiteral("N=点"));
    const QString file = Dir.filePath(QStringLiteral("old.txt"));
    WriteBytes(file, "old\r\n");
    TFormOGZList::SaveDialogHook = [&](QString& name) {
        name = file;
        return true;
    };
    const QString message = RaisedBy([list] { list->BitBtn1Click(); });
    if (ErrorInfo)
        ErrorInfo->clear();
    EXPECT_TRUE(message.contains(QStringLiteral("кодовая страница 1251"))) << message.toStdString();
    EXPECT_EQ(FileBytes(file), QByteArray("old\r\n"));
}

}  // namespace
