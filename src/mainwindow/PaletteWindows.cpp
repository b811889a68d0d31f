// The windows the tool palette opens, installed once at start.
#include "mainwindow/PaletteWindows.h"

#include "dialogs/objects/FormObjectDest.h"
#include "dialogs/objects/UnitCreateCoordObj.h"
#include "dialogs/objects/UnitSelectSetup.h"
#include "mainwindow/MapHooks.h"

void InstallPaletteWindows()
{
    TMapHooks& h = MapHooks();
    h.SelectSetupDlg = [] { return int(RunSelectSetup()); };
    h.ObjectDestDlg = [](int page) { return int(ObjectDestDlg(page)); };
    h.CreateCoordObjDlg = [] { return CreateCoordObjDlg(); };
}
