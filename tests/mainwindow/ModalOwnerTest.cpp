// Modal windows opened from the stay-on-top windows (the settings window, the tool
// palette) shown above their opener: each one's transient parent, by which the window
// manager stacks it, is the window it was opened from.
#include "MainWindowFixture.h"

#include "dialogs/objects/FormObjectDest.h"
#include "dialogs/settings/UnitSetup.h"
#include "editors/EditorDialogs.h"
#include "editors/classifier/UnitSemDialog.h"
#include "editors/signs/SignPropBase.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/ui/ServDialogsWindows.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/PaletteWindows.h"
#include "semantics/codec/SemDialogs.h"
#include "support/ModalScript.h"

#include "controls/ExSpeedButton.h"
#include "support/WidgetEvents.h"

#include <QApplication>
#include <QComboBox>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// What the window manager stacks a modal window by: the window of its transient parent.
QString OwnerOf(QWidget* shown)
{
    EXPECT_EQ(QApplication::activeModalWidget(), shown);
    const QWindow* handle = shown->windowHandle();
    const QWindow* owner = handle ? handle->transientParent() : nullptr;
    return owner ? owner->objectName() : QStringLiteral("<нет>");
}

}  // namespace

// Guards the fault where the sign manager ("Редактор") and the classifier ("Рабочая")
// opened from the stay-on-top settings window showed behind it and the program looked
// hung: the classifier window, made once for the run, has no owner; the sign manager
// took the active window, which on X11 is none until the window manager answers.
TEST(ModalOwner, WindowsOpenedFromTheSettingsWindowShowAboveIt)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    // The real windows in place of the run's scripted ones (the run restores its hooks).
    decltype(TDialogHooks::SelStr) selStr;
    {
        const TScopedDialogHooks real;
        InstallDialogWindows();
        selStr = DialogHooks().SelStr;
    }
    DialogHooks().SelStr = selStr;
    TScopedEditorDialogHooks editors;
    InstallSignDialogs();
    SemDialogHooks().SemDlg = [](int mode, int& lm, QString& sem) {
        return FormSemDialog()->Execute(mode, lm, sem);
    };

    QWidget* settings = nullptr;
    QStringList owners;
    TModalScript script;
    script
        .Then("TFormSetup",
              [&](QWidget* w) {
                  settings = w;
                  w->windowHandle()->setObjectName(QStringLiteral("настройки"));
                  auto& setup = static_cast<TFormSetup&>(*w);
                  QTest::mouseClick(setup.btEditor, Qt::LeftButton);
                  QTest::mouseClick(setup.btWork, Qt::LeftButton);
                  CloseBox(w);
              })
        .Then("TFormSelStrDialog",
              [&](QWidget* w) {
                  owners << QStringLiteral("масштаб: ") + OwnerOf(w);
                  // The list drops open by itself; the scale shown first (500) is taken.
                  for (QComboBox* list : w->findChildren<QComboBox*>())
                      list->hidePopup();
                  // The window manager has not yet given the focus back when the choice
                  // closes: no window of the program is active as the next one opens.
                  QApplication::setActiveWindow(nullptr);
                  for (QPushButton* b : w->findChildren<QPushButton*>())
                      if (b->text() == QStringLiteral("Готово"))
                          ClickMiddle(b);
              })
        .Then("TFormSymbolManager",
              [&](QWidget* w) {
                  owners << QStringLiteral("редактор: ") + OwnerOf(w);
                  CloseBox(w);
              })
        .Then("TFormSemDialog", [&](QWidget* w) {
            owners << QStringLiteral("классификатор: ") + OwnerOf(w);
            Esc(w);
        });
    QMenuBar* bar = form.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(form.NSettings).center());
    EXPECT_TRUE(script.Done());
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(owners.join(QLatin1Char('\n')),
              QStringLiteral("масштаб: настройки\nредактор: настройки\nклассификатор: настройки"));
}

// The windows the tool palette opens show above the palette, which stays on top.
TEST(ModalOwner, WindowsOpenedFromTheToolPaletteShowAboveIt)
{
    TMainWindowRun run;
    run.Start();
    TFormInstr1& palette = *run.Form().FormInstr1;
    InstallPaletteWindows();   // the run puts the main window's hooks back at its end
    TScopedProgramDialogHooks program;
    InstallObjectDestWindow();
    struct Case {
        TExSpeedButton* Button;
        const char* Window;
    };
    const Case cases[] = {
        {palette.sbFormSelectObjectsShow, "TFormSelectSetup"},
        {palette.sbCreateProp, "TFormObjectDest"},
        {palette.sbInputCoord, "TFormCreateCoordObj"},
    };
    palette.windowHandle()->setObjectName(QStringLiteral("палитра"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Window);
        // The click activates the palette, as the window manager does.
        palette.activateWindow();
        QApplication::setActiveWindow(&palette);
        QString owner;
        TModalScript script;
        script.Then(c.Window, [&](QWidget* w) {
            owner = OwnerOf(w);
            Esc(w);
        });
        ClickMiddle(c.Button, Qt::LeftButton);
        EXPECT_TRUE(script.Done());
        EXPECT_EQ(owner, QStringLiteral("палитра"));
    }
}
