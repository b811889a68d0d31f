#include "MainWindowFixture.h"

#include "foundation/ui/ServDialogsWindows.h"
#include "mainwindow/VclTimer.h"
#include "platform/DesktopEntries.h"
#include "platform/ProgramFolder.h"
#include "semantics/codec/SemDialogs.h"
#include "semantics/signs/Symbols.h"
#include "support/CopyTree.h"

#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>
#include <QProcessEnvironment>
#include <QTest>
#include <gtest/gtest.h>

TMainWindowRun::TMainWindowRun(const TOptions& options)
    : SavedProgramFolder(GetProgramFolder()), SavedHome(qgetenv("HOME")),
      SavedDataHome(qgetenv("XDG_DATA_HOME")), SavedConfigHome(qgetenv("XDG_CONFIG_HOME"))
{
    EXPECT_TRUE(Dir.isValid());
    Program = Dir.path() + QStringLiteral("/program/");
    EXPECT_TRUE(CopyTree(QStringLiteral(VELMORA_SOURCE_DATA), Dir.path() + QStringLiteral("/program")));
    QDir().mkpath(Dir.path() + QStringLiteral("/home/.local/share"));
    QDir().mkpath(Dir.path() + QStringLiteral("/home/.config"));
    qputenv("HOME", (Dir.path() + QStringLiteral("/home")).toUtf8());
    qputenv("XDG_DATA_HOME", (Dir.path() + QStringLiteral("/home/.local/share")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (Dir.path() + QStringLiteral("/home/.config")).toUtf8());
    SetProgramFolder(Program);
    const QDateTime now = options.Now;
    RunEnvironment.Now = [now] { return now; };
    RunEnvironment.UserName = [] { return QStringLiteral("tester"); };
    RunEnvironment.ComputerName = [] { return QStringLiteral("test-pc"); };
    if (!options.NewUser)
        QDir().mkpath(Program + QStringLiteral("Пользователи/test-pc/tester"));

    TDialogHooks dialogs;
    const int licence = options.LicenceAnswer;
    std::function<TModalResult()> window;
    if (options.RealLicenceWindow) {
        const TScopedDialogHooks real;
        InstallDialogWindows();
        window = DialogHooks().FirstStart;
    }
    dialogs.FirstStart = [this, licence, window] {
        ++LicenceShown;
        ScaleWhenLicenceShown = MainMap ? MainMap->MapProp.Scale : -1;
        return window ? window() : licence;
    };
    const bool collect = options.CollectMessages;
    dialogs.ShowMsg = [this, collect](const QString& caption, const QString& text) {
        if (collect)
            Messages.push_back(caption + QStringLiteral(": ") + text);
        else
            ADD_FAILURE() << "unexpected message: " << caption.toStdString() << ": "
                          << text.toStdString();
        return mrOk;
    };
    DialogScope = std::make_unique<TScopedDialogHooks>(dialogs);
    SavedMapHooks = MapHooks();
    MapHooks().StartDetached = [this](const QString& program, const QStringList& arguments,
                                      const QString& folder) {
        Started.push_back({program, arguments, folder});
        return true;
    };
    MapHooks().ShowQExitDialog = [this](const QString&, const QString& text) {
        ExitQuestions.push_back(text);
        return ExitAnswer;
    };
    MapHooks().SaveFileName = [this](const QString&, const QString&, QString& fileName) {
        fileName = SaveAsName;
        return !SaveAsName.isEmpty();
    };
    MapHooks().Terminate = [this] { TerminateAsked = true; };
    MapHooks().MenuExec = [](QMenu&, QPoint) { return nullptr; };
    MapHooks().PrintDialog = [](QPrinter&, QWidget*) { return false; };
    MapHooks().Launch = [this](const QString& file, const QString&, const QString&, int) {
        Launched.push_back(file);
        return true;
    };
    // A new user's first show registers the plan types; the desktop's database is not
    // rebuilt for a home that goes with the test, unless the test records the calls.
    if (!DesktopToolRunner()) {
        DesktopToolRunner() = [](const QString&, const QStringList&) {};
        OwnDesktopTools = true;
    }
    if (options.Prepare)
        options.Prepare(Program);
    Window = std::make_unique<TFormMap>(options.Arguments);
    if (!options.AskUnknown && MainMap && MainMap->Symbols) {
        MainMap->Symbols->AskUnknownWorkSem = 0;
        MainMap->Symbols->AskUnknownSymbol = 0;
    }
    // The classifier window is real; its modal use is scripted like the other windows.
    SemDialogHooks().SemDlg = [this](int, int&, QString&) {
        ++ClassifierShown;
        return mrCancel;
    };
}

TMainWindowRun::~TMainWindowRun()
{
    Finish();
    MapHooks() = SavedMapHooks;
    if (OwnDesktopTools)
        DesktopToolRunner() = nullptr;
    DialogScope.reset();
    RunEnvironment = {};
    StartNotice.clear();
    SetProgramFolder(SavedProgramFolder);
    qputenv("HOME", SavedHome);
    qputenv("XDG_DATA_HOME", SavedDataHome);
    qputenv("XDG_CONFIG_HOME", SavedConfigHome);
}

void TMainWindowRun::Start(bool fireStartTimer)
{
    // On a loaded machine the creation alone can outlast the start timer's 500 ms, which
    // would then fire inside the first show: a test that fires it by hand holds it until
    // the first show has run.
    const bool holdStartTimer = !fireStartTimer && Window->TimerCloseStart->Enabled();
    if (holdStartTimer)
        Window->TimerCloseStart->SetEnabled(false);
    Window->resize(1000, 700);
    Window->show();
    for (int i = 0; i < 50 && Window->FirstShowPending == 1; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(Window->FirstShowPending, 0) << "the first show did not run";
    if (holdStartTimer && !Window->FormInstr1)   // unless a script fired it meanwhile
        Window->TimerCloseStart->SetEnabled(true);
    if (fireStartTimer && Window->TimerCloseStart->Enabled())
        Window->TimerCloseStartTimer();
}

void TMainWindowRun::Finish()
{
    if (!Window)
        return;
    Window->hide();
    Window.reset();
}

QPoint TSurfaceDriver::At(Extended x, Extended y) const
{
    int xs = 0, ys = 0;
    MainMap->GeoToScr(Form.DisplaySurf->height(), x, y, xs, ys);
    return {xs, ys};
}

void TSurfaceDriver::Press(Extended x, Extended y, Qt::MouseButton button, Qt::KeyboardModifiers mods)
{
    QTest::mousePress(Form.DisplaySurf, button, mods, At(x, y));
}

void TSurfaceDriver::Release(Extended x, Extended y, Qt::MouseButton button, Qt::KeyboardModifiers mods)
{
    QTest::mouseRelease(Form.DisplaySurf, button, mods, At(x, y));
}

void TSurfaceDriver::Move(Extended x, Extended y, Qt::MouseButtons held, Qt::KeyboardModifiers mods)
{
    // QTest's moves carry neither buttons nor modifiers: the event is built here.
    const QPoint p = At(x, y);
    QMouseEvent e(QEvent::MouseMove, QPointF(p), Form.DisplaySurf->mapToGlobal(QPointF(p)),
                  Qt::NoButton, held, mods);
    QCoreApplication::sendEvent(Form.DisplaySurf, &e);
}

QString SaveImage(const QImage& image, const QString& name)
{
    QString folder = QProcessEnvironment::systemEnvironment().value(QStringLiteral("VELMORA_PNG_DIR"));
    if (folder.isEmpty())
        folder = QDir::tempPath() + QStringLiteral("/velmora-png");
    QDir().mkpath(folder);
    const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    EXPECT_TRUE(image.save(file)) << file.toStdString();
    return file;
}

QString SaveGrab(QWidget& widget, const QString& name)
{
    return SaveImage(widget.grab().toImage(), name);
}
