// The entries of the field-survey windows over their hooks, and the installation of the
// windows that exist.
#include "survey/SurveyDialogs.h"

#include "survey/GeodeticTaskDialogs.h"
#include "survey/QStripDialog.h"
#include "survey/StakingOut.h"
#include "survey/UnitTheodolit.h"
#include "survey/construct/ConstructDialogs.h"
#include "survey/tacheo/UnitInputTaheo.h"

#include <utility>

TSurveyDialogHooks& SurveyDialogHooks()
{
    static TSurveyDialogHooks hooks;
    return hooks;
}

TScopedSurveyDialogHooks::TScopedSurveyDialogHooks(TSurveyDialogHooks hooks)
    : Saved(std::exchange(SurveyDialogHooks(), std::move(hooks)))
{
}

TScopedSurveyDialogHooks::~TScopedSurveyDialogHooks() { SurveyDialogHooks() = std::move(Saved); }

void InstallSurveyWindows()
{
    TSurveyDialogHooks& hooks = SurveyDialogHooks();
    hooks.OGZDialog = &TFormOGZDialog::Execute;
    hooks.NextDirAngleDlg = &TFormNextDirAngle::Execute;
    hooks.PGZDialog = &TFormPGZDialog::Execute;
    hooks.TheodolitDlg = &TFormTheodolit::Execute;
    hooks.InputTaheoDlg = &TFormInputTaheo::Execute;
    hooks.InpOGZDialog = &TFormInpOGZDialog::Execute;
    hooks.QStripDialog = &TFormQStripDialog::Execute;
    InstallConstructWindows();
}

TModalResult OGZDialog(Extended& D, Extended& A, Extended X1, Extended Y1, Extended X2,
                       Extended Y2)
{
    const auto& hook = SurveyDialogHooks().OGZDialog;
    return hook ? hook(D, A, X1, Y1, X2, Y2) : mrCancel;
}

TModalResult NextDirAngleDlg()
{
    const auto& hook = SurveyDialogHooks().NextDirAngleDlg;
    return hook ? hook() : mrCancel;
}

TModalResult PGZDialog()
{
    const auto& hook = SurveyDialogHooks().PGZDialog;
    return hook ? hook() : mrCancel;
}

TModalResult TheodolitDlg()
{
    const auto& hook = SurveyDialogHooks().TheodolitDlg;
    return hook ? hook() : mrCancel;
}

TModalResult InputTaheoDlg()
{
    const auto& hook = SurveyDialogHooks().InputTaheoDlg;
    return hook ? hook() : mrCancel;
}

TModalResult InpOGZDialog(Extended& X0, Extended& Y0, Extended& OrX, Extended& OrY)
{
    const auto& hook = SurveyDialogHooks().InpOGZDialog;
    return hook ? hook(X0, Y0, OrX, OrY) : mrCancel;
}

TModalResult QStripDialog(int& position, int& leftType, int& rightType, Extended& width)
{
    const auto& hook = SurveyDialogHooks().QStripDialog;
    return hook ? hook(position, leftType, rightType, width) : mrCancel;
}

QWidget* NewFormInstr2(QWidget* owner)
{
    const auto& hook = SurveyDialogHooks().NewFormInstr2;
    return hook ? hook(owner) : nullptr;
}
