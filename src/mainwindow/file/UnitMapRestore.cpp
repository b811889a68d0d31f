// Recovery of an earlier run: a snapshot chosen in the recovery window reopened in this
// window. The document keeps its name, undo folder and caption.
#include "mainwindow/UnitMap.h"

#include "dialogs/file/UnitOpenFilter.h"
#include "dialogs/file/UnitRestore.h"
#include "engine/GeoMap.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ui/GsCatcher.h"

void TFormMap::N49Click()
{
    if (!MainMap)
        return;
    QString fileName;
    if (RestoreDlg(fileName) != mrOk || fileName.isEmpty())
        return;
    UndoStep = 0;
    ResetOpenFilter();
    try {
        ReopenAsChange(fileName);
        const QSize size = SurfaceSize();
        MainMap->Draw(size.width(), size.height(), 0, ddScreen);
    } catch (...) {
        HandleApplicationException(this, std::current_exception());
    }
}
