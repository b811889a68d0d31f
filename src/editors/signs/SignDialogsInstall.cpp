// The entries of the sign editors: the sign manager, the dialog of one sign file by its
// kind, and the add-sign window the sign library opens for an object without a sign.
#include "editors/EditorDialogs.h"
#include "editors/signs/SignPropBase.h"
#include "editors/signs/UnitAddSymbol.h"
#include "editors/signs/UnitSymLineProp.h"
#include "editors/signs/UnitSymPointProp.h"
#include "editors/signs/UnitSymPolygonProp.h"
#include "editors/signs/UnitSymbolManager.h"
#include "foundation/AppGlobalVar.h"
#include "semantics/codec/SemDialogs.h"

namespace {

// The library hands the codes over as the lines of one text.
QStringList CodeLines(const QString& text)
{
    QStringList codes;
    for (const QString& line : text.split(QStringLiteral("\r\n"))) {
        const QString code = line.trimmed();
        if (!code.isEmpty())
            codes << code;
    }
    return codes;
}

}  // namespace

void InstallSignDialogs()
{
    EditorDialogHooks().EditSymbolDlg = [](const QString& fileName, int scale, int kind) -> TModalResult {
        // Whatever the preview inside did, the main plan's document state is as it was.
        const auto kept = DataFileState;
        TModalResult result = mrCancel;
        switch (kind) {
        case 0: result = SymPointPropDlg(fileName, scale); break;
        case 1: result = SymLinePropDlg(fileName, scale); break;
        case 2: result = SymPolygonPropDlg(fileName, scale); break;
        default: break;
        }
        DataFileState = kept;
        return result;
    };
    EditorDialogHooks().SymbolManagerDlg = [](int scale) { return TFormSymbolManager::Execute(scale); };
    SemDialogHooks().AddSymbolDlg = [](const QString& caption, int lm, const QString& key,
                                       const QString& materialcodes, const QString& statecodes, int scale,
                                       QString& sourcepath, QString& filename) -> int {
        return AddSymbolDlg(caption, lm, key, filename, sourcepath, scale, CodeLines(statecodes),
                            CodeLines(materialcodes));
    };
}
