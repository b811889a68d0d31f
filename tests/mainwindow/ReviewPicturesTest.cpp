// Pictures of the windows of a start, saved for review (see SaveGrab for the folder):
// the main window with its palette, the splash, the licence and the exit question.
#include "MainWindowFixture.h"

#include "foundation/ui/FirstStart.h"
#include "foundation/ui/StartMark.h"
#include "mainwindow/FormInstr1.h"
#include "support/ModalScript.h"

#include <QFileInfo>
#include <QPainter>
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

TEST(ReviewPictures, NamedCursors)
{
    TMainWindowRun run;
    const TFormMap& form = run.Form();
    // Each cursor on white and on the plan's grey ground, with its name and hot spot.
    const int cell = 130, rows = 6, columns = 5;
    QImage sheet(columns * cell, rows * 60, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 7));
    QStringList names = form.Cursors.keys();
    names.sort(Qt::CaseInsensitive);
    for (int i = 0; i < names.size(); ++i) {
        const QCursor& cursor = form.Cursors[names[i]];
        const QPoint at((i % columns) * cell + 4, (i / columns) * 60 + 4);
        painter.fillRect(QRect(at + QPoint(36, 0), QSize(32, 32)), QColor(0xF0, 0xF0, 0xF0));
        painter.drawPixmap(at, cursor.pixmap());
        painter.drawPixmap(at + QPoint(36, 0), cursor.pixmap());
        painter.setPen(Qt::red);
        painter.drawPoint(at + QPoint(72, 0) + cursor.hotSpot());
        painter.drawRect(QRect(at + QPoint(72, 0), QSize(31, 31)));
        painter.setPen(Qt::black);
        painter.drawText(at + QPoint(0, 46), names[i]);
    }
    painter.end();
    EXPECT_EQ(names.size(), 30);
    EXPECT_TRUE(QFileInfo::exists(SaveImage(sheet, QStringLiteral("cursors"))));
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
