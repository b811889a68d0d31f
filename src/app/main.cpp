// The program's entry. Until the main window stands, it starts the run as the window
// will (separators, global state, run folders, the classifier, an empty plan of scale
// 500 with its sign library), says what it found, and ends as the window would,
// removing the run folders it leaves empty.
#include "app/Application.h"
#include "engine/GeoMap.h"
#include "engine/commands/MapCommand.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ui/GsCatcher.h"
#include "foundation/ui/ProgramWindows.h"
#include "platform/FileLookup.h"
#include "platform/Platform.h"
#include "semantics/codec/SemServices.h"
#include "semantics/signs/Symbols.h"

#include <QDir>
#include <QTextStream>

namespace {

void RemoveEmptyRunFolders()
{
    QDir run(SessionFolder);
    if (run.exists() && run.isEmpty())
        QDir().rmdir(SessionFolder);
    const QString dateFolder = QFileInfo(SessionFolder).absolutePath();
    QDir date(dateFolder);
    if (date.exists() && date.isEmpty())
        QDir().rmdir(dateFolder);
}

}  // namespace

int main(int argc, char** argv)
{
    // Fonts are measured even without a screen: run offscreen when there is none.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    PrepareProgramWindows();
    // Until the main window carries its own catcher, the program installs one itself.
    TgsCatcher catcher;
    catcher.SetEnabled(true);
    InitSeparatorsFromLocale();
    InitAppGlobalVar();

    QTextStream out(stdout);
    out << AppName << ' ' << AppVersion
        << ": the plan engine without its main window, which is not part of this build yet.\n";
    out << "Program folder: " << ProgramFolder << '\n';
    out << "Run folder: " << SessionFolder << (NewUser ? " (new user)" : "") << '\n';
    if (!StartNotice.isEmpty())
        out << StartNotice << '\n';

    int rc = 0;
    try {
        TSemServices semantics;
        semantics.Open();
        TGeoMap map;
        MainMap = &map;
        map.DoCommand(mcNewMap, QStringLiteral("<500><>"));
        out << "Classifier objects: " << semantics.Codec.SemStandarts.GetCount() << '\n';
        out << "Signs of scale 1:" << map.MapProp.Scale << ": "
            << map.Symbols->VpGPoints.GetCount() << " point, "
            << map.Symbols->VpGLines.GetCount() << " line, "
            << map.Symbols->VpGPolygons.GetCount() << " area\n";
        for (const QString& e : map.Symbols->LoadErrors)
            out << "  " << e << '\n';
        MainMap = nullptr;
        semantics.Close();
    } catch (const std::exception& e) {
        out << "Error: " << ExceptionMessage(e) << '\n';
        MainMap = nullptr;
        rc = 1;
    }
    RemoveEmptyRunFolders();
    FreeAppGlobalVar();
    return rc;
}
