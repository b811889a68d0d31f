// Undo and redo through the window's buttons, across a scale change, and the command
// window as the user types in it.
#include "MainWindowFixture.h"

#include "dialogs/file/UnitCommandDialog.h"
#include "foundation/ui/GsCatcher.h"
#include "support/ModalScript.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

void NewPage(const QString& name)
{
    MainMap->DoCommand(mcNewPage, TCommandParams().Text(name));
}

bool HasPage(const QString& name)
{
    int index = -1;
    MainMap->GetPageIndex(name, index);
    return index >= 0;
}

// The errors that reach the program's error report, kept instead of shown.
class TCaughtErrors {
public:
    TCaughtErrors()
    {
        Saved = SetApplicationExceptionHandler([this](QObject*, std::exception_ptr e) {
            Texts.push_back(CaughtExceptionMessage(e));
        });
    }
    ~TCaughtErrors() { SetApplicationExceptionHandler(Saved); }
    std::vector<QString> Texts;

private:
    TApplicationExceptionHandler Saved;
};

}  // namespace

TEST(Undo, ThreeCommandsThreeUndosThenRedoPastTheEndAndACommandAfterAnUndo)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    for (const char* name : {"А", "Б", "В"})
        NewPage(QString::fromUtf8(name));
    ASSERT_EQ(UndoStep, 3);
    EXPECT_TRUE(form.UndoButton->isEnabled());
    EXPECT_FALSE(form.RedoButton->isEnabled());

    struct TPress {
        QToolButton* Button;
        int Step, Pages;
        bool Undo, Redo;
    };
    const TPress presses[] = {
        {form.UndoButton, 2, 2, true, true},
        {form.UndoButton, 1, 1, true, true},
        // Snapshot 0 holds the new plan as it started: the first command is undone too,
        // and undo greys out with nothing before it.
        {form.UndoButton, 0, 0, false, true},
        // Redo first enables undo and reopens the state after the first command.
        {form.RedoButton, 1, 1, true, true},
        {form.RedoButton, 2, 2, true, true},
        {form.RedoButton, 3, 3, true, true},
        {form.RedoButton, 4, 3, true, false},   // past the last snapshot
        {form.UndoButton, 3, 3, true, true},    // reopens the last snapshot
        {form.UndoButton, 2, 2, true, true},
    };
    int i = 0;
    for (const TPress& p : presses) {
        SCOPED_TRACE(i++);
        p.Button->click();
        EXPECT_EQ(UndoStep, p.Step);
        EXPECT_EQ(MainMap->GetPagesCount(), p.Pages);
        EXPECT_EQ(form.UndoButton->isEnabled(), p.Undo);
        EXPECT_EQ(form.RedoButton->isEnabled(), p.Redo);
    }
    // An undo reopened a snapshot: a change the exit question must still ask about, and
    // a state the engine counts as opened, under the same name and folder.
    EXPECT_GT(form.Unsaved.Count(), 0);
    EXPECT_EQ(DataFileState, 1);
    EXPECT_TRUE(DataFileName.isEmpty());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Free Velmorant 6 - план новый"));

    // A command after an undo overwrites the next snapshot and ends redo.
    NewPage(QStringLiteral("Г"));
    EXPECT_EQ(UndoStep, 3);
    EXPECT_FALSE(form.RedoButton->isEnabled());
    form.RedoButton->click();   // disabled: nothing
    form.UndoButton->click();
    EXPECT_EQ(MainMap->GetPagesCount(), 2);
    form.RedoButton->click();
    EXPECT_EQ(MainMap->GetPagesCount(), 3);
    EXPECT_TRUE(HasPage(QStringLiteral("Г")));
}

TEST(Undo, StepsBackAcrossAScaleChange)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    NewPage(QStringLiteral("А"));
    MainMap->DoCommand(mcSetMapScale, TCommandParams().Int(2000));
    NewPage(QStringLiteral("Б"));
    ASSERT_EQ(UndoStep, 3);
    EXPECT_TRUE(QFileInfo::exists(form.UndoFolder() + QStringLiteral("/1.500")));
    EXPECT_TRUE(QFileInfo::exists(form.UndoFolder() + QStringLiteral("/3.2000")));

    form.UndoButton->click();
    EXPECT_EQ(MainMap->MapProp.Scale, 2000);
    EXPECT_EQ(MainMap->GetPagesCount(), 1);
    form.UndoButton->click();   // snapshot 1 has the earlier scale's extension
    EXPECT_EQ(UndoStep, 1);
    EXPECT_EQ(MainMap->MapProp.Scale, 500);
    EXPECT_EQ(MainMap->GetPagesCount(), 1);
    EXPECT_TRUE(form.RedoButton->isEnabled());
    form.RedoButton->click();
    EXPECT_EQ(MainMap->MapProp.Scale, 2000);
}

TEST(CommandWindow, ExecutesTypedLinesReportsUnknownOnesAndEnterOnlyCloses)
{
    TMainWindowRun run;
    run.Start();
    NewPage(QStringLiteral("Первый"));
    TCaughtErrors errors;
    TModalScript script;
    int listed = -1;
    QStringList after;
    script.Then("TFormCommandDialog", [&](QWidget* w) {
        auto* d = static_cast<TFormCommandDialog*>(w);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Командный процессор Velmora 6"));
        listed = d->lbComList->count();
        d->Edit1->setText(QStringLiteral("mcNewPage=<Лист 2>"));
        d->btExecute->click();
        for (const QString& bad : {QStringLiteral("mcNoSuchCommand=<x>"), QStringLiteral("mcNewPage")}) {
            d->Edit1->setText(bad);
            d->btExecute->click();
        }
        // A double click takes a journal line back into the edit.
        emit d->lbComList->itemDoubleClicked(d->lbComList->item(0));
        EXPECT_EQ(d->Edit1->text(), d->lbComList->item(0)->text());
        SaveGrab(*d, QStringLiteral("CommandDialog"));
        for (int i = 0; i < d->lbComList->count(); ++i)
            after << d->lbComList->item(i)->text();
        d->Edit1->setText(QStringLiteral("mcNewPage=<Лист 3>"));
        d->Edit1->setFocus();
        Enter(d->Edit1);
    });
    QAction* item = run.Form().NPlan->findChild<QAction*>(QStringLiteral("N15"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("командный процессор"));
    item->trigger();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(listed, 1) << "the journal of the plan is listed";
    ASSERT_EQ(after.size(), 2);
    EXPECT_EQ(after[1], QStringLiteral("mcNewPage=<Лист 2>"));
    ASSERT_EQ(errors.Texts.size(), 2u);
    EXPECT_EQ(errors.Texts[0], QStringLiteral("Не определена команда"));
    EXPECT_EQ(errors.Texts[1], QStringLiteral("Не определена команда"));
    EXPECT_TRUE(HasPage(QStringLiteral("Лист 2")));
    EXPECT_FALSE(HasPage(QStringLiteral("Лист 3"))) << "Enter closes without executing";
}
