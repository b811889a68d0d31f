#include "FuzzWindow.h"

#include "FuzzRun.h"

#include "foundation/ServDialogs.h"
#include "engine/GeoMap.h"
#include "mainwindow/MapHooks.h"
#include "platform/DesktopEntries.h"
#include "semantics/codec/SemDialogs.h"
#include "semantics/signs/Symbols.h"

#include <QDir>

void FuzzStartWindowRun()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    FuzzStartRun();
    // The desktop's folders of the run: nothing is written into the real home.
    const QString home = FuzzProgramFolder() + QStringLiteral("home");
    QDir().mkpath(home + QStringLiteral("/.local/share"));
    QDir().mkpath(home + QStringLiteral("/.config"));
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_DATA_HOME", (home + QStringLiteral("/.local/share")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toUtf8());
    QDir().mkpath(FuzzUserFolder());

    TDialogHooks dialogs = DialogHooks();
    dialogs.FirstStart = [] { return TModalResult(mrOk); };
    dialogs.ShowMsg = [](const QString&, const QString&) { return TModalResult(mrOk); };
    dialogs.MessageDlg = [](const QString&, TMsgDlgType) { return TModalResult(mrOk); };
    DialogHooks() = dialogs;
    MapHooks().StartDetached = [](const QString&, const QStringList&, const QString&) { return false; };
    MapHooks().ShowQExitDialog = [](const QString&, const QString&) { return int(mrNo); };
    MapHooks().SaveFileName = [](const QString&, const QString&, QString&) { return false; };
    MapHooks().Terminate = [] {};
    MapHooks().MenuExec = [](QMenu&, QPoint) -> QAction* { return nullptr; };
    MapHooks().Launch = [](const QString&, const QString&, const QString&, int) { return false; };
    DesktopToolRunner() = [](const QString&, const QStringList&) {};
    SemDialogHooks().SemDlg = [](int, int&, QString&) { return TModalResult(mrCancel); };
}

QString FuzzUserFolder()
{
    return FuzzProgramFolder() + QStringLiteral("Пользователи/fuzz-pc/fuzzer/");
}

std::unique_ptr<TFormMap> FuzzNewMainWindow()
{
    FuzzStartWindowRun();
    auto form = std::make_unique<TFormMap>();
    // The window installs its classifier and asks a new user about unknown semantics and
    // signs: either would wait for an answer no run gives.
    SemDialogHooks().SemDlg = [](int, int&, QString&) { return TModalResult(mrCancel); };
    if (MainMap && MainMap->Symbols) {
        MainMap->Symbols->AskUnknownWorkSem = 0;
        MainMap->Symbols->AskUnknownSymbol = 0;
    }
    return form;
}
