// The classifier window on a copy of the classifier: SemDlg in every mode as callers
// see it, the standard selection as a user drives it, the code panel, and the window's
// creation and destruction over the classifier files.
#include "controls/ExCheckListBox.h"
#include "editors/EditorDialogs.h"
#include "editors/classifier/UnitSemDialog.h"
#include "foundation/ServDialogs.h"
#include "semantics/codec/SemDialogs.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"
#include "support/TestRun.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest/QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString Classifier = QStringLiteral("Семантика/");

// A run on a copy of the classifier with the one window created; hooks and answers
// scripted per test.
class SemDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateFormSemDialog();
        Form = FormSemDialog();
    }
    void TearDown() override { FreeFormSemDialog(); }

    QString File(const QString& name) const { return Run.Folder() + Classifier + name; }

    // SemDlg with the window's steps given by act (which must close it).
    int Dlg(int smode, int& lmode, QString& sem, const std::function<void(TFormSemDialog*)>& act)
    {
        TModalScript script;
        script.Then("TFormSemDialog", [act](QWidget* w) { act(static_cast<TFormSemDialog*>(w)); });
        return SemDlg(smode, lmode, sem);
    }

    TTestRun Run{{QStringLiteral("Семантика")}};
    TScopedSemDialogHooks SemHooks;
    TScopedDialogHooks Dialogs;
    TFormSemDialog* Form = nullptr;
};

// The middle of a line's check cell.
QPoint CheckCell(TExCheckListBox* list, int row)
{
    const QRect r = list->visualItemRect(list->item(row));
    return QPoint(r.left() + TExCheckListBox::CheckWidth / 2, r.center().y());
}

void ClickCheck(TExCheckListBox* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, CheckCell(list, row));
    QTest::qWait(600);   // no double click with the next one
}

int RowOf(TExCheckListBox* list, const QString& text)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->ItemText(i) == text)
            return i;
    return -1;
}

// Typing as a keyboard layout gives it: one key event per character, carrying its text.
void Type(QWidget* target, const QString& text)
{
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(target, &release);
    }
}

QStringList Checked(TExCheckListBox* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        if (list->IsItemChecked(i))
            lines << list->ItemText(i);
    return lines;
}

// The review pictures of the window, written where VELMORA_PNG_DIR says.
void SaveReview(QWidget* w, const char* name)
{
    const QString dir = qEnvironmentVariable("VELMORA_PNG_DIR");
    QApplication::processEvents();   // layouts settle after controls were shown or hidden
    if (!dir.isEmpty())
        w->grab().save(dir + u'/' + QString::fromLatin1(name));
}

TEST_F(SemDialog, EveryModePreparesItsPageAndCopiesBackOnlyOnOk)
{
    struct Case {
        int smode;
        int lmodeIn;
        QString semIn;
        bool ok;
        QString panel;       // the code panel as the window opens
        QString mode;        // Panel1
        int main, select, edit;   // pages of pcMain, pcSelectSem1, pcSelectSem2; -1 any
        int lmodeOut;
        QString semOut;
    };
    const QString knownSem = QStringLiteral("ПУН/Ф011;Н021");
    const QString fence = QStringLiteral("ОГР/Ф001;К001;М002;С01");
    const Case cases[] = {
        {0, 2, knownSem, true, knownSem, "Выбор стандартной семантики", 0, 0, -1, 2, knownSem},
        {0, 2, knownSem, false, knownSem, "Выбор стандартной семантики", 0, 0, -1, 2, knownSem},
        {0, 0, "", true, "", "Выбор стандартной семантики", 0, 0, -1, 0, ""},
        // An unknown object code: parsed and built again, items in their order.
        {0, 0, "ЖЖЖ/Н002;Ф001", true, "ЖЖЖ/Ф001;Н002", "Выбор стандартной семантики", 0, 0, -1, 0,
         "ЖЖЖ/Ф001;Н002"},
        {0, 0, "ЖЖЖ/Н002;Ф001", false, "ЖЖЖ/Ф001;Н002", "Выбор стандартной семантики", 0, 0, -1, 0,
         "ЖЖЖ/Н002;Ф001"},
        {1, 1, fence, true, fence, "Выбор рабочей семантики", 0, 1, -1, 1, fence},
        {1, 1, fence, false, fence, "Выбор рабочей семантики", 0, 1, -1, 1, fence},
        // Mode 2 gives back the kind the page ends on (set below), never the string.
        {2, 0, knownSem, true, "", "Редактор рабочей семантики", 1, -1, 1, 2, knownSem},
        {2, 0, knownSem, false, "", "Редактор рабочей семантики", 1, -1, 1, 0, knownSem},
        {3, 1, knownSem, true, "", "Редактор стандартной семантики", 1, -1, 0, 1, knownSem},
        {4, 1, knownSem, true, "", "Редактор списков расширенной семантики", 1, -1, 2, 1, knownSem},
        {4, 1, knownSem, false, "", "Редактор списков расширенной семантики", 1, -1, 2, 1, knownSem},
        {5, 0, knownSem, false, knownSem, "Выбор стандартной семантики для рабочей", 0, 0, -1, 0,
         knownSem},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("mode %1, ok %2, sem %3").arg(c.smode).arg(c.ok).arg(c.semIn).toStdString());
        Form->PanelSem->clear();
        int lmode = c.lmodeIn;
        QString sem = c.semIn;
        const int result = Dlg(c.smode, lmode, sem, [&](TFormSemDialog* w) {
            if (!c.panel.isEmpty() || c.smode <= 1) {
                EXPECT_EQ(w->PanelSem->text(), c.panel);
            }
            EXPECT_EQ(w->Panel1->text(), c.mode);
            EXPECT_EQ(w->pcMain->currentIndex(), c.main);
            if (c.select >= 0) {
                EXPECT_EQ(w->pcSelectSem1->currentIndex(), c.select);
            }
            if (c.edit >= 0) {
                EXPECT_EQ(w->pcSelectSem2->currentIndex(), c.edit);
            }
            EXPECT_EQ(w->pos(), CentredIn(QGuiApplication::primaryScreen()->geometry(), w->size()));
            if (c.smode >= 2 && c.smode <= 4)
                SaveReview(w, QStringLiteral("classifier-mode%1.png").arg(c.smode).toLatin1().constData());
            if (c.smode == 2)
                w->Localisation = 2;   // as a click on "Площадной" leaves it
            if (c.ok)
                w->BitBtnOK->click();
            else
                Esc(w);
        });
        EXPECT_EQ(result, c.ok ? mrOk : mrCancel);
        EXPECT_EQ(lmode, c.lmodeOut);
        EXPECT_EQ(sem, c.semOut);
    }
}

TEST_F(SemDialog, OnlyOkInTheStandardEditorWritesTheClassifier)
{
    const QByteArray shipped = FileBytes(File(QStringLiteral("ФКН.wri")));
    ASSERT_FALSE(shipped.isEmpty());
    struct Case {
        int smode;
        bool ok;
        bool written;
    };
    const Case cases[] = {{3, false, false}, {4, true, false}, {0, true, false}, {3, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.smode);
        ASSERT_TRUE(QFile::remove(File(QStringLiteral("ФКН.wri"))));
        int lmode = 0;
        QString sem;
        Dlg(c.smode, lmode, sem, [&](TFormSemDialog* w) { c.ok ? w->BitBtnOK->click() : CloseBox(w); });
        EXPECT_EQ(QFile::exists(File(QStringLiteral("ФКН.wri"))), c.written);
        if (c.written)
            EXPECT_EQ(FileBytes(File(QStringLiteral("ФКН.wri"))), shipped);
        else
            WriteBytes(File(QStringLiteral("ФКН.wri")), shipped);
    }
}

TEST(SemDialogPanel, FontShrinksPastFiftyCharacters)
{
    struct Case {
        int length, size;
    };
    const Case cases[] = {{0, 10}, {50, 10}, {51, 10}, {60, 8}, {100, 5}, {200, 2}, {1000, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        EXPECT_EQ(TFormSemDialog::PanelFontSize(c.length), c.size);
    }
}

TEST_F(SemDialog, PanelShowsLongCodeSmallerAndItsTextOnClick)
{
    // 3 + "/ИТ" + 56 letters: 62 characters, shown at 500 / 62 = 8.06 → 8 points.
    Form->Codec().Split(QStringLiteral("ПУН/ИТ") + QString(56, QChar(u'А')));
    Form->ShowCode();
    ASSERT_EQ(Form->PanelSem->text().size(), 62);
    EXPECT_EQ(Form->PanelSem->font().pointSize(), 8);

    QStringList shown;
    DialogHooks().ShowMsg = [&](const QString& caption, const QString& text) {
        shown << caption << text;
        return mrOk;
    };
    QTest::mouseClick(Form->PanelSem, Qt::LeftButton);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Строка семантики (код) :"), Form->PanelSem->text()}));

    shown.clear();
    Form->Codec().ClearFields();
    Form->ShowCode();
    EXPECT_EQ(Form->PanelSem->font().pointSize(), 10);
    QTest::mouseClick(Form->PanelSem, Qt::LeftButton);
    EXPECT_TRUE(shown.isEmpty());   // an empty panel says nothing
}

// Qt refuses a size of 0 points and kept the size of the code shown before, so a code of
// over a thousand characters came out at 10 points.
TEST_F(SemDialog, PanelKeepsTheSmallestFontPastAThousandCharacters)
{
    Form->Codec().Split(QStringLiteral("ПУН/Ф011"));
    Form->ShowCode();
    ASSERT_EQ(Form->PanelSem->font().pointSize(), 10);
    Form->Codec().Split(QStringLiteral("ПУН/ИТ") + QString(1000, QChar(u'А')));
    Form->ShowCode();
    ASSERT_EQ(TFormSemDialog::PanelFontSize(int(Form->PanelSem->text().size())), 0);
    EXPECT_EQ(Form->PanelSem->font().pointSize(), 1);
}

TEST_F(SemDialog, UserChoosesAStandardSemantics)
{
    const QString result = QStringLiteral("ПУН/Ф011;Н021");
    int lmode = 0;
    QString sem;
    const int chosen = Dlg(0, lmode, sem, [&](TFormSemDialog* w) {
        EXPECT_EQ(w->focusWidget(), w->ComboBoxObject);
        // Typed in lower case: the box types upper case and finds the mixed-case name.
        Type(w->ComboBoxObject->lineEdit(), QStringLiteral("пункт съемочного обоснования"));
        EXPECT_EQ(w->ComboBoxObject->currentText(), QStringLiteral("ПУНКТ СЪЕМОЧНОГО ОБОСНОВАНИЯ"));
        ASSERT_EQ(w->F_List->count(), 2);
        ASSERT_EQ(w->N_List->count(), 2);
        const int net = RowOf(w->F_List, QStringLiteral("пункт съемочной сети"));
        const int fixed = RowOf(w->N_List, QStringLiteral("закрепленный на местности"));
        ClickCheck(w->F_List, net);
        ClickCheck(w->N_List, fixed);
        ClickCheck(w->F_List, net);   // off
        EXPECT_EQ(w->PanelSem->text(), QStringLiteral("ПУН/Н021"));
        ClickCheck(w->F_List, net);   // on again
        EXPECT_EQ(w->PanelSem->text(), result);
        EXPECT_FALSE(w->Memo1->toPlainText().isEmpty());
        SaveReview(w, "classifier-mode0.png");
        // A tab of another mode's page leaves the page where it is.
        QTest::mouseClick(w->pcMain->tabBar(), Qt::LeftButton, {},
                          w->pcMain->tabBar()->tabRect(1).center());
        QTest::mouseClick(w->pcSelectSem1->tabBar(), Qt::LeftButton, {},
                          w->pcSelectSem1->tabBar()->tabRect(1).center());
        EXPECT_EQ(w->pcMain->currentIndex(), 0);
        EXPECT_EQ(w->pcSelectSem1->currentIndex(), 0);
        // Enter in the readable text is "Готово".
        w->Memo1->setFocus();
        Enter(w);
    });
    EXPECT_EQ(chosen, mrOk);
    EXPECT_EQ(sem, result);

    Dlg(0, lmode, sem, [&](TFormSemDialog* w) {
        EXPECT_EQ(w->ComboBoxObject->currentText(), QStringLiteral("Пункт съемочного обоснования"));
        EXPECT_EQ(Checked(w->F_List), QStringList{QStringLiteral("пункт съемочной сети")});
        EXPECT_EQ(Checked(w->K_List), QStringList());
        EXPECT_EQ(Checked(w->N_List), QStringList{QStringLiteral("закрепленный на местности")});
        Esc(w);
    });
    EXPECT_EQ(sem, result);
}

TEST_F(SemDialog, CheckedLinesBuildTheGroupInListOrder)
{
    Form->ComboBoxObject->setEditText(QStringLiteral("Пункт съемочного обоснования"));
    ASSERT_EQ(Form->F_List->count(), 2);   // 011, then 012
    struct Step {
        int row;
        bool on;
        QString panel;
    };
    const Step steps[] = {{1, true, QStringLiteral("ПУН/Ф012")},
                          {0, true, QStringLiteral("ПУН/Ф011;Ф012")},   // not in click order
                          {1, false, QStringLiteral("ПУН/Ф011")},
                          {0, false, QStringLiteral("ПУН")}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.panel.toStdString());
        Form->F_List->SetItemChecked(step.row, step.on);
        Form->CheckListClick(Form->F_List);
        EXPECT_EQ(Form->PanelSem->text(), step.panel);
    }
}

// The page carries the last call's object, checks and text: each mode 0 call must show
// only what its own string gives.
TEST_F(SemDialog, ModeZeroShowsOnlyWhatItsStringGives)
{
    struct Case {
        QString sem;
        QString object;   // the box text
        int fLines;
        QStringList fChecked;
        bool memo;
        QString panel;
    };
    const QString point = QStringLiteral("Пункт съемочного обоснования");
    const Case cases[] = {
        {QStringLiteral("ПУН/Ф012;ИН7"), point, 2, {QStringLiteral("пункт полигонометрии")}, true,
         QStringLiteral("ПУН/Ф012;ИН7")},
        {QString(), QString(), 0, {}, false, QString()},
        {QStringLiteral("ПУН/Ф011"), point, 2, {QStringLiteral("пункт съемочной сети")}, true,
         QStringLiteral("ПУН/Ф011")},
        {QStringLiteral("ЖЖЖ/Ф001"), QString(), 0, {}, false, QStringLiteral("ЖЖЖ/Ф001")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sem.toStdString());
        int lmode = 0;
        QString sem = c.sem;
        Dlg(0, lmode, sem, [&](TFormSemDialog* w) {
            EXPECT_EQ(w->ComboBoxObject->currentText(), c.object);
            EXPECT_EQ(w->F_List->count(), c.fLines);
            EXPECT_EQ(Checked(w->F_List), c.fChecked);
            EXPECT_EQ(Checked(w->N_List), QStringList());
            EXPECT_EQ(!w->Memo1->toPlainText().isEmpty(), c.memo);
            EXPECT_EQ(w->PanelSem->text(), c.panel);
            Esc(w);
        });
    }
}

TEST_F(SemDialog, WorkSelectionOpensOnTheWorkObjectOrTheUnknownOne)
{
    int lmode = lmLine;
    QString sem = QStringLiteral("ОГР/Ф001;К001;М002");
    Dlg(1, lmode, sem, [&](TFormSemDialog* w) {
        EXPECT_EQ(w->focusWidget(), w->cbWorkSemObj);
        EXPECT_TRUE(w->rbLine01->isChecked());
        EXPECT_EQ(w->cbWorkSemObj->currentText(), QStringLiteral("Забор капитальный"));
        EXPECT_EQ(w->UnknownObject, 0);
        SaveReview(w, "classifier-mode1.png");
        Esc(w);
    });
    lmode = lmPoint;
    sem = QStringLiteral("ПУН/Ф012");
    Dlg(1, lmode, sem, [&](TFormSemDialog* w) {
        EXPECT_TRUE(w->cbWorkSemObj->currentText().startsWith(QStringLiteral("Неизвестный объект (")));
        EXPECT_EQ(w->UnknownObject, 1);
        EXPECT_TRUE(w->AddButtons1[seIN]->isVisibleTo(w));
        SaveReview(w, "classifier-mode1-unknown.png");
        Esc(w);
    });
}

// Mode 5 (reached from the readable decoding) waits for the naming step: Enter there must
// not close the window with the standard semantics as if a work object had been named.
TEST_F(SemDialog, DecodingOpensModeFiveWhereEnterDoesNotClose)
{
    std::uint8_t ask = 1;
    Form->Services->AskUnknownWorkSem = &ask;
    DialogHooks().ShowMsg = [](const QString&, const QString&) { return mrOk; };
    // The naming window answers "Выбрать": back to the choice, the window still open.
    int namings = 0;
    TScopedEditorDialogHooks editorHooks;
    EditorDialogHooks().NewWrkSemDlg = [&](QString&, const QString&, QString&, const QString&) {
        ++namings;
        return 4;
    };
    TModalScript script;
    script.Then("TFormSemDialog", [&](QWidget* window) {
        auto* w = static_cast<TFormSemDialog*>(window);
        EXPECT_EQ(w->Mode, 6);
        EXPECT_EQ(w->Panel1->text(), QStringLiteral("Выбор стандартной семантики для рабочей"));
        EXPECT_EQ(w->ComboBoxObject->currentText(), QStringLiteral("Пункт съемочного обоснования"));
        w->Memo1->setFocus();
        Enter(w);
        w->BitBtnOK->click();
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(namings, 2);
        EXPECT_EQ(w->Mode, 6);
        Esc(w);
    });
    QString text;
    DecodeSem(lmPoint, QStringLiteral("ПУН/Ф012"), text);
    EXPECT_TRUE(text.contains(QStringLiteral("пункт полигонометрии"))) << text.toStdString();
}

TEST_F(SemDialog, FontButtonChoiceReachesTheFontFileAtExit)
{
    EXPECT_EQ(Form->cbWorkSemObj->font().family(), QStringLiteral("Liberation Sans"));
    const auto saved = TFormSemDialog::FontDialogHook;
    TFormSemDialog::FontDialogHook = [](QString& family) {
        EXPECT_EQ(family, QStringLiteral("Liberation Sans"));
        family = QStringLiteral("DejaVu Serif");
        return true;
    };
    Form->SpeedButton1->click();
    TFormSemDialog::FontDialogHook = saved;
    EXPECT_EQ(Form->lbWorkSemSv->font().family(), QStringLiteral("DejaVu Serif"));
    FreeFormSemDialog();
    EXPECT_EQ(FileBytes(File(QStringLiteral("шрифт.wri"))), QByteArray("DejaVu Serif\r\n"));
}

TEST_F(SemDialog, ExclusionFilesAreWrittenAtExitEvenUnchanged)
{
    const char* const names[] = {"Исключения-Точечные.wri", "Исключения-Линейные.wri",
                                 "Исключения-Площадные.wri"};
    for (const char* name : names)
        ASSERT_TRUE(QFile::remove(File(QString::fromUtf8(name))));
    FreeFormSemDialog();
    for (const char* name : names)
        EXPECT_TRUE(QFile::exists(File(QString::fromUtf8(name)))) << name;
}

// A font file that cannot be written ends the exit there: the exclusion lists stay as
// they were on disk, the failure is raised, and the window and its hooks are gone anyway.
TEST_F(SemDialog, UnwritableFontFileStopsTheExitButFreesTheWindow)
{
    const QString excludes = File(QStringLiteral("Исключения-Точечные.wri"));
    ASSERT_TRUE(QFile::remove(excludes));
    ASSERT_TRUE(QFile::remove(File(QStringLiteral("шрифт.wri"))));
    ASSERT_TRUE(QDir().mkdir(File(QStringLiteral("шрифт.wri"))));   // no file can go there
    ErrorInfo->clear();
    const QString message = RaisedBy([] { FreeFormSemDialog(); });
    EXPECT_FALSE(message.isEmpty());
    EXPECT_TRUE(ErrorInfo->join(u'\n').contains(
        QStringLiteral("procedure TFormSemDialog.FormDestroy(Sender: TObject);")));
    ErrorInfo->clear();
    EXPECT_FALSE(QFile::exists(excludes));
    EXPECT_EQ(FormSemDialog(), nullptr);
    int lmode = 0;
    QString sem = QStringLiteral("ПУН");
    EXPECT_EQ(SemDlg(0, lmode, sem), mrCancel);   // no hook: cancel without a window
    EXPECT_EQ(sem, QStringLiteral("ПУН"));
}

// Creation over a classifier folder with some files missing.
class SemDialogCreation : public ::testing::Test {
protected:
    void TearDown() override { FreeFormSemDialog(); }
    QString File(const QString& name) const { return Run.Folder() + Classifier + name; }

    TTestRun Run{{QStringLiteral("Семантика")}};
    TScopedSemDialogHooks SemHooks;
};

TEST_F(SemDialogCreation, WithoutFontFileTheWorkControlsGetMsSansSerif)
{
    ASSERT_TRUE(QFile::remove(File(QStringLiteral("шрифт.wri"))));
    CreateFormSemDialog();
    EXPECT_EQ(FormSemDialog()->cbWorkSemObj->font().family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(FormSemDialog()->lbWorkSemSv->font().family(), QStringLiteral("MS Sans Serif"));
}

TEST_F(SemDialogCreation, FontFileNameReachesTheWorkControlsAndGoesBackAsWritten)
{
    struct Case {
        const char* name;
        bool exists;
        QByteArray bytes;
        QString family;
    };
    const Case cases[] = {
        {"missing", false, {}, QStringLiteral("MS Sans Serif")},
        {"empty", true, {}, QStringLiteral("MS Sans Serif")},
        // Not installed here: the name is kept as the file gives it, fontconfig substitutes.
        {"two lines", true, QByteArray("Arial Cyr\r\nLiberation Sans\r\n"), QStringLiteral("Arial Cyr")},
    };
    const QString file = File(QStringLiteral("шрифт.wri"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(file);
        if (c.exists)
            WriteBytes(file, c.bytes);
        CreateFormSemDialog();
        EXPECT_EQ(FormSemDialog()->cbWorkSemObj->font().family(), c.family);
        EXPECT_EQ(FormSemDialog()->lbWorkSemSv->font().family(), c.family);
        FreeFormSemDialog();
        EXPECT_EQ(FileBytes(file), c.family.toLatin1() + "\r\n");
    }
}

TEST_F(SemDialogCreation, MissingExclusionFileIsSkippedAtStartButNotByLoadExcludes)
{
    ASSERT_TRUE(QFile::remove(File(QStringLiteral("Исключения-Линейные.wri"))));
    CreateFormSemDialog();
    ErrorInfo->clear();
    const QString message = RaisedBy([] { FormSemDialog()->LoadExcludes(); });
    EXPECT_FALSE(message.isEmpty());
    const QString trail = ErrorInfo->join(u'\n');
    EXPECT_TRUE(trail.contains(QStringLiteral("UnitSemDialog"))) << trail.toStdString();
    EXPECT_TRUE(trail.contains(QStringLiteral("procedure TFormSemDialog.LoadExcludes;")))
        << trail.toStdString();
    ErrorInfo->clear();
}

TEST_F(SemDialogCreation, MissingClassifierFileIsReportedAndTheWindowKeepsWhatLoaded)
{
    ASSERT_TRUE(QFile::remove(File(QStringLiteral("ФКН.wri"))));
    const QString message = RaisedBy([] { CreateFormSemDialog(); });
    ErrorInfo->clear();
    EXPECT_TRUE(message.startsWith(QStringLiteral("Не найден файл"))) << message.toStdString();
    ASSERT_NE(FormSemDialog(), nullptr);
    EXPECT_EQ(FormSemDialog()->Codec().SemStandarts.GetCount(), 0);
    EXPECT_GT(FormSemDialog()->Codec().SemWorks[lmLine].GetCount(), 0);
    EXPECT_EQ(FormSemDialog()->cbWorkSemObj->font().family(), QStringLiteral("Liberation Sans"));
    // The hooks are in place: the window answers.
    int lmode = 0;
    QString sem;
    TModalScript script;
    script.Then("TFormSemDialog", [](QWidget* w) { Esc(w); });
    EXPECT_EQ(SemDlg(0, lmode, sem), mrCancel);
}

}  // namespace
