// Pictures of the windows of a start, saved for review (see SaveGrab for the folder):
// the main window with its palette, the splash, the licence and the exit question.
#include "MainWindowFixture.h"

#include "foundation/ui/FirstStart.h"
#include "foundation/ui/StartMark.h"
#include "mainwindow/FormInstr1.h"
#include "support/ModalScript.h"

#include <QFileInfo>
#include <gtest/gtest.h>

TEST(ReviewPictures, MainWindowSplashLicenceAndExitQuestion)
{
    TMainWindowRun::TOptions options;
    options.NewUser = true;
    TMainWindowRun run(options);
    TFormMap& form = run.Form();
    // The splash is up from the creation handler until the start timer.
    ASSERT_NE(form.StartMark1->Mark(), nullptr);
    EXPECT_TRUE(QFileInfo::exists(SaveGrab(*form.StartMark1->Mark(), QStringLiteral("splash"))));
    run.Start();
    EXPECT_EQ(form.StartMark1->Mark(), nullptr) << "the start timer closes the splash";
    form.SetMouseMode(mmSelectObject, 0, true);
    EXPECT_TRUE(QFileInfo::exists(SaveGrab(form, QStringLiteral("main-window"))));
    EXPECT_TRUE(QFileInfo::exists(SaveGrab(*form.FormInstr1, QStringLiteral("tool-palette"))));
    form.LoadFile(QStringLiteral(VELMORA_TEST_FIXTURES) + QStringLiteral("/plans/full.500"));
    ASSERT_GT(MainMap->GetPagesCount(), 0);
    EXPECT_TRUE(QFileInfo::exists(SaveGrab(form, QStringLiteral("main-window-plan"))));

    TFormFirstStart licence(LicenceFileName());
    licence.resize(licence.sizeHint().expandedTo(licence.size()));
    EXPECT_TRUE(licence.LicenceLoaded);
    EXPECT_TRUE(QFileInfo::exists(SaveGrab(licence, QStringLiteral("licence"))));

    // The real exit question, answered with Esc after its picture is taken.
    MainMap->DoCommand(mcNewPage, TCommandParams().Text(QStringLiteral("1")));
    MapHooks().ShowQExitDialog = nullptr;
    TModalScript script;
    script.Then("TDialogBase", [](QWidget* w) {
        SaveGrab(*w, QStringLiteral("exit-question"));
        Esc(w);
    });
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(form.isVisible());
}

TEST(ExitQuestion, EnterSavesTheCloseBoxKeepsTheWindow)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    MainMap->DoCommand(mcNewPage, TCommandParams().Text(QStringLiteral("1")));
    MapHooks().ShowQExitDialog = nullptr;
    run.SaveAsName = run.Folder() + QStringLiteral("по Enter.500");
    TModalScript script;
    script.Then("TDialogBase", [](QWidget* w) { CloseBox(w); })
        .Then("TDialogBase", [](QWidget* w) { Enter(w); });
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(QFileInfo::exists(run.SaveAsName));
}
