// The program's entry: the application with the program's own windows installed, then
// the main window, which runs the whole life of the plan, and the event loop.
#include "app/Application.h"
#include "dialogs/find/InstallFindDialogs.h"
#include "dialogs/general/InputDialogs.h"
#include "dialogs/objects/FormObjectDest.h"
#include "dialogs/objects/ObjectWindows.h"
#include "dialogs/rasters/UnitRasterProp.h"
#include "dialogs/stamps/UnitStamp.h"
#include "editors/classifier/SemSmallDialogs.h"
#include "editors/signs/SignPropBase.h"
#include "foundation/ui/GsCatcher.h"
#include "foundation/ui/ProgramWindows.h"
#include "foundation/ui/ServDialogsWindows.h"
#include "mainwindow/PaletteWindows.h"
#include "mainwindow/UnitMap.h"
#include "mainwindow/favourites/FormFavorites.h"
#include "survey/SurveyDialogs.h"
#include "platform/Platform.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    PrepareProgramWindows();
    InstallDialogWindows();
    InstallProgramDialogWindows();
    InstallObjectWindows();
    InstallObjectDestWindow();
    InstallFindDialogWindows();
    InstallStampDialogWindows();
    InstallSurveyWindows();
    InstallClassifierWindows();
    InstallSignDialogs();
    InstallPaletteWindows();
    InstallFavouritesWindows();
    InstallRasterWindows();
    // An error no routine handled is reported and the program goes on with the plan; the
    // catcher is in place before the main window's creation, whose failures it reports too.
    TgsCatcher catcher;
    catcher.SetEnabled(true);
    InitSeparatorsFromLocale();
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    return TApplication::RunProgram([&arguments] {
        TFormMap form(arguments);
        form.show();
        return QApplication::exec();
    });
}
