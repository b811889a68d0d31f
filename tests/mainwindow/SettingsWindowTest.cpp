// The settings window opened from the main window's "Настройка" as the user opens it:
// what it changes in the running program, what the settings file keeps at exit, the
// classifier's exclusions and the sign library reloaded, and a new user's desktop files.
#include "SurfaceTestSupport.h"

#include "dialogs/settings/UnitSetup.h"
#include "editors/EditorDialogs.h"
#include "foundation/ui/NumEdit.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/VclTimer.h"
#include "platform/DesktopEntries.h"
#include "platform/TextFiles.h"
#include "semantics/signs/Symbols.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"

#include <QColorDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

// "Настройка" clicked on the menu bar; act works the window and closes it.
void OpenSettings(TFormMap& form, const std::function<void(TFormSetup&)>& act)
{
    TModalScript script;
    script.Then("TFormSetup", [&](QWidget* w) { act(static_cast<TFormSetup&>(*w)); });
    QMenuBar* bar = form.menuBar();
    ASSERT_EQ(form.NSettings->text(), QStringLiteral("Настройка"));
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(form.NSettings).center());
    EXPECT_TRUE(script.Done());
}

void TypeOver(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// Keys typed one character at a time, Cyrillic included (QTest's own typing knows ASCII
// only).
void TypeText(QWidget* target, const QString& text)
{
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(target, &release);
    }
}

// The value under key in the settings file's lines.
QString SettingOf(const QStringList& lines, const QString& key)
{
    const int at = lines.indexOf(key);
    return at >= 0 && at + 1 < lines.size() ? lines[at + 1] : QStringLiteral("<нет ключа>");
}

}  // namespace

TEST(SettingsWindow, TheUsersSnapRadiusAndColourHoldInTheRunAndInTheFileWrittenAtExit)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    ASSERT_NE(form.FormInstr1, nullptr);
    const QPoint palette = form.FormInstr1->pos();
    const QRect screen = form.FormInstr1->screen()->geometry();
    form.TimerAutosave->SetEnabled(true);
    OpenSettings(form, [&](TFormSetup& w) {
        // Autosave waits while the window is up; the palette keeps out of its way.
        EXPECT_FALSE(form.TimerAutosave->Enabled());
        EXPECT_EQ(form.FormInstr1->pos(), screen.bottomRight() + QPoint(1, 1));
        EXPECT_EQ(w.neSnap->text(), QStringLiteral("50"));
        EXPECT_EQ(w.lbComputer->text(), QStringLiteral("Имя компьютера test-pc"));
        SaveGrab(w, QStringLiteral("setup-main-window"));
        TypeOver(w.neSnap, QStringLiteral("10"));
        w.PageControl1->setCurrentIndex(3);
        TModalScript colour;
        colour.Then("QColorDialog", [](QWidget* d) {
            static_cast<QColorDialog*>(d)->setCurrentColor(QColor(0x10, 0x20, 0x30));
            Enter(d);
        });
        QTest::mouseClick(w.ColourBoxes[4], Qt::LeftButton);   // "Цвет создаваемой линии"
        EXPECT_TRUE(colour.Done());
        Esc(&w);
    });
    EXPECT_EQ(form.SnapRadius, 10);
    EXPECT_EQ(form.CreateLineColor, 0x302010);
    EXPECT_TRUE(form.TimerAutosave->Enabled());
    EXPECT_EQ(form.FormInstr1->pos(), palette);

    // Snapping reaches half the radius each way: 7 pixels off is out of reach now.
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>",
                 "mcNewPoint=<0><0><ТОЧ><300.123><400.456><3><0><><0><0>"});
    MainMap->LinkToNodes = 1;
    ExactView(form, 2);
    form.SetMouseMode(mmCreateLine, 0, true);
    const TPixelMouse mouse{form};
    const QPoint node = TSurfaceDriver(form).At(300.123L, 400.456L);
    mouse.Move(node + QPoint(7, -4));
    EXPECT_FALSE(form.Snapped);
    mouse.Move(node + QPoint(4, -3));
    EXPECT_TRUE(form.Snapped);

    const QString file = UserFolder + QStringLiteral("/Настройки.wri");
    run.Finish();
    const QStringList lines = ReadTextFileLines(file);
    EXPECT_EQ(SettingOf(lines, QStringLiteral("@Область привязки")), QStringLiteral("10"));
    EXPECT_EQ(SettingOf(lines, QStringLiteral("@Цвет линии")), QString::number(0x302010));
}

TEST(SettingsWindow, AnExclusionTypedInTheWindowReachesTheClassifier)
{
    TMainWindowRun run;
    run.Start();
    OpenSettings(run.Form(), [&](TFormSetup& w) {
        w.PageControl1->setCurrentIndex(1);
        w.pcExcludes->setCurrentIndex(1);
        QPlainTextEdit* memo = w.meExcludes[1];
        memo->setFocus();
        memo->moveCursor(QTextCursor::End);
        QTest::keyClick(memo, Qt::Key_Return);
        TypeText(memo, QStringLiteral("ЛИН/ИСКЛ"));
        Esc(&w);
    });
    // The classifier writes its own lists at exit: the line is there only when it read
    // the file back after the window.
    const QString file = run.Folder() + QStringLiteral("Семантика/Исключения-Линейные.wri");
    run.Finish();
    EXPECT_TRUE(ReadTextFileLines(file).contains(QStringLiteral("ЛИН/ИСКЛ")));
}

TEST(SettingsWindow, TheSignManagerEditsAreReadIntoThePlansLibrary)
{
    TMainWindowRun run;
    run.Start();
    const int before = MainMap->Symbols->VpGPoints.GetCount();
    const QString folder = TSymbols::KindFolder(500, lmPoint);
    const QStringList signs = QDir(folder).entryList({QStringLiteral("*.wri")}, QDir::Files);
    ASSERT_FALSE(signs.isEmpty());
    DialogHooks().SelStr = [](const QStringList& list, TSelection& selection, const QString&, const QString&) {
        selection.Index = int(list.indexOf(QStringLiteral("500")));
        return mrOk;
    };
    TEditorDialogHooks editors;
    editors.SymbolManagerDlg = [&](int scale) {
        EXPECT_EQ(scale, 500);
        // The manager adds a sign: a copy of one under a name of its own.
        QFile::copy(folder + signs.first(), folder + QStringLiteral("ТЕСТ-Ф001.wri"));
        return mrOk;
    };
    TScopedEditorDialogHooks scope(editors);
    OpenSettings(run.Form(), [&](TFormSetup& w) {
        w.PageControl1->setCurrentIndex(2);
        QTest::mouseClick(w.btEditor, Qt::LeftButton);
        EXPECT_EQ(MainMap->Symbols->VpGPoints.GetCount(), before + 1);
        Esc(&w);
    });
}

TEST(SettingsWindow, OnlyANewUsersFirstShowPutsTheProgramOnTheDesktop)
{
    QStringList tools;
    DesktopToolRunner() = [&](const QString& program, const QStringList&) { tools << QFileInfo(program).fileName(); };
    for (const bool newUser : {false, true}) {
        SCOPED_TRACE(newUser);
        tools.clear();
        TMainWindowRun::TOptions options;
        options.NewUser = newUser;
        TMainWindowRun run(options);
        run.Start();
        const QString home = QFileInfo(run.Folder() + QStringLiteral("../home")).absoluteFilePath();
        const QString shortcut = home + QStringLiteral("/Desktop/Велмора 6.desktop");
        EXPECT_EQ(QFileInfo(shortcut).isExecutable(), newUser);
        QStringList expected;
        if (newUser)
            for (const char* s : {"100", "200", "500", "1000", "2000", "5000", "10000", "25000"})
                expected << PlanMimeType(QString::fromLatin1(s));
        EXPECT_EQ(RegisteredPlanMimeTypes(), expected);
        // The shortcut trusted, then the desktop's databases rebuilt once for the eight,
        // each where the system has the tool.
        QStringList ranTools;
        for (const char* tool : {"gio", "update-mime-database", "update-desktop-database"})
            if (newUser && !QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                ranTools << QString::fromLatin1(tool);
        EXPECT_EQ(tools, ranTools);
        if (newUser) {
            const QString entry = QString::fromUtf8(FileBytes(shortcut));
            EXPECT_TRUE(entry.contains(QStringLiteral("\nIcon=") + run.Folder() + QStringLiteral("velmora.png\n")))
                << entry.toStdString();
            EXPECT_TRUE(QFileInfo::exists(run.Folder() + QStringLiteral("velmora.png")));
        }
    }
    DesktopToolRunner() = nullptr;
}
