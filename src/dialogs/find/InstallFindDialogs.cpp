// Each hook creates its window for one call; the window lives on the hook's stack, so it
// goes also when an exception passes.
#include "dialogs/find/InstallFindDialogs.h"

#include "dialogs/find/UnitDelObjects.h"
#include "dialogs/find/UnitFindPlanCoord.h"
#include "dialogs/find/UnitFindPlanNom.h"
#include "dialogs/find/UnitInpMaskStr.h"
#include "dialogs/find/UnitInpNomStr.h"
#include "dialogs/find/UnitSelectPage.h"
#include "dialogs/find/UnitTransform.h"
#include "foundation/ProgramDialogs.h"

void InstallFindDialogWindows()
{
    TProgramDialogHooks& h = ProgramDialogHooks();
    h.InpMaskStr = RunInpMaskStr;
    h.InpNomStr = RunInpNomStr;
    h.FindPlanCoord = RunFindPlanCoord;
    h.FindPlanNom = RunFindPlanNom;
    h.DelObjects = RunDelObjects;
    h.SelectPage = RunSelectPage;
    h.Transform = RunTransform;
}
