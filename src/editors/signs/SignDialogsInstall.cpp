// The entry that edits one sign file opens the dialog of the sign's kind.
#include "editors/EditorDialogs.h"
#include "editors/signs/SignPropBase.h"
#include "editors/signs/UnitSymLineProp.h"
#include "editors/signs/UnitSymPointProp.h"
#include "editors/signs/UnitSymPolygonProp.h"

void InstallSignDialogs()
{
    EditorDialogHooks().EditSymbolDlg = [](const QString& fileName, int scale, int kind) -> TModalResult {
        // Each preview puts the process-wide document state back as it found it.
        switch (kind) {
        case 0: return SymPointPropDlg(fileName, scale);
        case 1: return SymLinePropDlg(fileName, scale);
        case 2: return SymPolygonPropDlg(fileName, scale);
        default: return mrCancel;
        }
    };
}
