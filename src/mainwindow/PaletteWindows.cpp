// The windows the tool palette opens, installed once at start.
#include "mainwindow/PaletteWindows.h"

#include "dialogs/objects/UnitCreateCoordObj.h"
#include "mainwindow/MapHooks.h"

void InstallPaletteWindows()
{
    TMapHooks& h = MapHooks();
    h.CreateCoordObjDlg = [] { return CreateCoordObjDlg(); };
}
