// The application before its main window: Qt's dialogs in Russian, and a run that goes
// on when the last window closes.
#include "foundation/ServDialogs.h"
#include "foundation/ui/ProgramWindows.h"
#include "foundation/ui/ServDialogsWindows.h"
#include "support/ModalScript.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// The texts a window shows on its labels and buttons.
QStringList ShownTexts(const QWidget& w)
{
    QStringList texts;
    for (const QLabel* label : w.findChildren<QLabel*>())
        texts << label->text();
    for (const QPushButton* button : w.findChildren<QPushButton*>())
        texts << button->text();
    return texts;
}

}  // namespace

// Guards Qt's own dialogs speaking English ("Look in", "File name", "Cancel") in a
// program whose every other word is Russian.
TEST(ProgramWindows, QtsOwnDialogsSpeakRussian)
{
    ASSERT_TRUE(LoadQtTranslations()) << "qt6-translations-l10n is not installed (scripts/deps.sh)";
    QFileDialog files(nullptr, QStringLiteral("Открыть"));
    files.setOption(QFileDialog::DontUseNativeDialog);
    QColorDialog colours;
    colours.setOption(QColorDialog::DontUseNativeDialog);
    const QStringList english = {QStringLiteral("Look in:"), QStringLiteral("File &name:"),
                                 QStringLiteral("Cancel"), QStringLiteral("&Open"),
                                 QStringLiteral("&Basic colors")};
    for (const QWidget* w : {static_cast<QWidget*>(&files), static_cast<QWidget*>(&colours)}) {
        const QStringList shown = ShownTexts(*w);
        SCOPED_TRACE(shown.join(QStringLiteral(" | ")).toStdString());
        for (const QString& e : english)
            EXPECT_FALSE(shown.contains(e)) << e.toStdString();
        EXPECT_TRUE(shown.contains(QStringLiteral("Отмена")));
    }
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Find Directory"),
              QStringLiteral("Найти каталог"));
}

// Guards the run that ended when its only window closed before the main window existed
// (the licence window, a message at start): every later window returned at once.
TEST(ProgramWindows, ClosingTheOnlyWindowBeforeTheMainWindowKeepsTheRunGoing)
{
    const bool quitRule = QGuiApplication::quitOnLastWindowClosed();
    PrepareProgramWindows();
    TScopedDialogHooks scope;
    InstallDialogWindows();
    TModalResult first = mrNone;
    TModalResult second = mrNone;
    QObject context;   // no timer of this test outlives it
    QTimer::singleShot(0, &context, [&] {
        {
            TModalScript script;
            // Closed as the window manager closes it, through its native window.
            script.Then("TFormShowMsgDialog", [](QWidget* w) { w->windowHandle()->close(); });
            first = ShowMsgDialog(QStringLiteral("Внимание"), QStringLiteral("первое окно"));
        }
        QCoreApplication::processEvents();   // the run goes on with its work between windows
        {
            TModalScript script;
            script.Then("TFormShowMsgDialog", Enter);
            second = ShowMsgDialog(QStringLiteral("Внимание"), QStringLiteral("второе окно"));
        }
        QCoreApplication::exit(7);
    });
    QTimer::singleShot(60000, &context, [] { QCoreApplication::exit(1); });
    const int rc = QCoreApplication::exec();
    QGuiApplication::setQuitOnLastWindowClosed(quitRule);
    EXPECT_EQ(first, mrCancel);
    EXPECT_EQ(second, mrOk);
    EXPECT_EQ(rc, 7);   // the run ended where the program ends it, not on the closed window
}
