// The real main window started as the program starts it: a temporary program folder with
// a copy of data/, HOME and XDG_* pointed into it, fixed names and clock, the offscreen
// platform, and scripted hooks in place of every window a run may open.
#pragma once

#include "engine/GeoMap.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ServDialogs.h"
#include "mainwindow/MapHooks.h"
#include "mainwindow/UnitMap.h"

#include <QDateTime>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

struct TStartedProgram {
    QString Program;
    QStringList Arguments;
    QString Folder;
};

class TMainWindowRun {
public:
    struct TOptions {
        bool NewUser = false;              // no "Пользователи/<computer>/<user>" yet
        QStringList Arguments;             // the command line
        int LicenceAnswer = mrOk;          // the first-start window's answer
        bool RealLicenceWindow = false;    // the real first-start window (scripted by the test)
        bool CollectMessages = false;      // messages are expected: kept in Messages
        // The questions about unknown work semantics and signs, on by the program's
        // defaults; off for the tests' user, as its plans name objects no library has.
        bool AskUnknown = false;
        // Changes the program folder's copy of data/ before the window is made.
        std::function<void(const QString& programFolder)> Prepare;
        QDateTime Now = QDateTime(QDate(2024, 3, 5), QTime(9, 30, 0));
    };

    explicit TMainWindowRun(const TOptions& options);
    TMainWindowRun() : TMainWindowRun(TOptions()) {}
    ~TMainWindowRun();
    TMainWindowRun(const TMainWindowRun&) = delete;
    TMainWindowRun& operator=(const TMainWindowRun&) = delete;

    // Shows the window and lets the queued first show run; then the start timer fires.
    void Start(bool fireStartTimer = true);
    // Closes and frees the window (the shut-down runs); the program folder stays.
    void Finish();

    TFormMap& Form() { return *Window; }
    QString Folder() const { return Program; }

    // What the scripted hooks saw.
    std::vector<TStartedProgram> Started;
    std::vector<QString> ExitQuestions;
    int ExitAnswer = mrCancel;
    QString SaveAsName;                    // empty: the save dialog is cancelled
    std::vector<QString> Messages;         // caption, ": ", text
    int LicenceShown = 0;
    int ScaleWhenLicenceShown = -1;        // the plan's scale while the licence was up
    bool TerminateAsked = false;
    std::vector<QString> Launched;         // documents and programs opened
    int ClassifierShown = 0;               // the classifier window, shown modally

private:
    QTemporaryDir Dir;
    QString Program;
    QString SavedProgramFolder;
    QByteArray SavedHome, SavedDataHome, SavedConfigHome;
    std::unique_ptr<TScopedDialogHooks> DialogScope;
    TMapHooks SavedMapHooks;
    bool OwnDesktopTools = false;          // the desktop's tools silenced by this run
    std::unique_ptr<TFormMap> Window;
};

// Mouse events on the drawing surface at plan points, as the user gives them.
class TSurfaceDriver {
public:
    explicit TSurfaceDriver(TFormMap& form) : Form(form) {}

    // The surface pixel of plan point (x north, y east).
    QPoint At(Extended x, Extended y) const;
    void Press(Extended x, Extended y, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers mods = Qt::NoModifier);
    void Release(Extended x, Extended y, Qt::MouseButton button = Qt::LeftButton,
                 Qt::KeyboardModifiers mods = Qt::NoModifier);
    // A move; held names the buttons down during it.
    void Move(Extended x, Extended y, Qt::MouseButtons held = Qt::NoButton,
              Qt::KeyboardModifiers mods = Qt::NoModifier);
    void Click(Extended x, Extended y, Qt::MouseButton button = Qt::LeftButton)
    {
        Press(x, y, button);
        Release(x, y, button);
    }

private:
    TFormMap& Form;
};

// Saves what widget shows as name.png into the folder VELMORA_PNG_DIR names, or into
// the system's temporary folder under "velmora-png"; returns the file written.
QString SaveGrab(QWidget& widget, const QString& name);
QString SaveImage(const QImage& image, const QString& name);
