// The entry routines of the program's small windows: each hands its arguments to the
// hook in force, or answers cancel when there is none.
#include "foundation/ProgramDialogs.h"

#include <utility>

TProgramDialogHooks& ProgramDialogHooks()
{
    static TProgramDialogHooks hooks;
    return hooks;
}

TScopedProgramDialogHooks::TScopedProgramDialogHooks(TProgramDialogHooks hooks)
    : Saved(std::exchange(ProgramDialogHooks(), std::move(hooks)))
{
}

TScopedProgramDialogHooks::~TScopedProgramDialogHooks()
{
    ProgramDialogHooks() = std::move(Saved);
}

TModalResult InpIntDialog(int& value, const QString& caption, const QString& message)
{
    const auto& hook = ProgramDialogHooks().InpInt;
    return hook ? hook(value, caption, message) : mrCancel;
}

TModalResult InpFltDialog(Extended& value, const QString& caption, const QString& message)
{
    const auto& hook = ProgramDialogHooks().InpFlt;
    return hook ? hook(value, caption, message) : mrCancel;
}

TModalResult InpCoordDialog(const QString& caption, Extended& X, Extended& Y)
{
    const auto& hook = ProgramDialogHooks().InpCoord;
    return hook ? hook(caption, X, Y) : mrCancel;
}

TModalResult InpOtmDialog(Extended& height)
{
    const auto& hook = ProgramDialogHooks().InpOtm;
    return hook ? hook(height) : mrCancel;
}

TModalResult Ask2WayDialog(const QString& caption, const QString& message, const QString& first,
                           const QString& second)
{
    const auto& hook = ProgramDialogHooks().Ask2Way;
    return hook ? hook(caption, message, first, second) : mrCancel;
}

TModalResult Inp3IntDialog(int& n, Extended& a, Extended& b, const QString& caption,
                           const QString& label1, const QString& label2, const QString& label3)
{
    const auto& hook = ProgramDialogHooks().Inp3Int;
    return hook ? hook(n, a, b, caption, label1, label2, label3) : mrCancel;
}

TModalResult Inp2IntDialog(int& a, int& b, const QString& caption, const QString& label1,
                           const QString& label2)
{
    const auto& hook = ProgramDialogHooks().Inp2Int;
    return hook ? hook(a, b, caption, label1, label2) : mrCancel;
}

TModalResult InpAngleDialog(Extended& angle, const QString& caption)
{
    const auto& hook = ProgramDialogHooks().InpAngle;
    return hook ? hook(angle, caption) : mrCancel;
}

TModalResult ShowHotKeys()
{
    const auto& hook = ProgramDialogHooks().HotKeys;
    return hook ? hook() : mrCancel;
}

TModalResult ShowAbout()
{
    const auto& hook = ProgramDialogHooks().About;
    return hook ? hook() : mrCancel;
}

TModalResult SaveRastrDlg(int& scale, Extended& dpi, TPixelDepth& depth, Extended x1, Extended y1,
                          Extended x2, Extended y2)
{
    const auto& hook = ProgramDialogHooks().SaveRastr;
    return hook ? hook(scale, dpi, depth, x1, y1, x2, y2) : mrCancel;
}

TModalResult PrintScaleDlg(int& scale, TPixelDepth& depth, Extended& kx, Extended& ky)
{
    const auto& hook = ProgramDialogHooks().PrintScale;
    return hook ? hook(scale, depth, kx, ky) : mrCancel;
}

TModalResult InpMaskStrDialog(QString& value, const QString& caption, const QString& message)
{
    const auto& hook = ProgramDialogHooks().InpMaskStr;
    return hook ? hook(value, caption, message) : mrCancel;
}

TModalResult InpNomStrDialog(QString& value, const QString& caption, const QString& message)
{
    const auto& hook = ProgramDialogHooks().InpNomStr;
    return hook ? hook(value, caption, message) : mrCancel;
}

TModalResult FindPlanCoordDlg()
{
    const auto& hook = ProgramDialogHooks().FindPlanCoord;
    return hook ? hook() : mrCancel;
}

TModalResult FindPlanNomDlg()
{
    const auto& hook = ProgramDialogHooks().FindPlanNom;
    return hook ? hook() : mrCancel;
}

TModalResult SelectPageDlg(int& sheet)
{
    const auto& hook = ProgramDialogHooks().SelectPage;
    return hook ? hook(sheet) : mrCancel;
}

TModalResult RasterPropDlg(int page, int rastr)
{
    const auto& hook = ProgramDialogHooks().RasterProp;
    return hook ? hook(page, rastr) : mrCancel;
}

TModalResult StampDlg(QStringList& list, std::array<QString, 18>& lastStamp)
{
    const auto& hook = ProgramDialogHooks().StampDlg;
    return hook ? hook(list, lastStamp) : mrCancel;
}

TModalResult RamkaDlg(QStringList& list)
{
    const auto& hook = ProgramDialogHooks().RamkaDlg;
    return hook ? hook(list) : mrCancel;
}

TModalResult InpStampLinkDlg(Extended& X1, Extended& Y1, Extended& X2, Extended& Y2)
{
    const auto& hook = ProgramDialogHooks().InpStampLink;
    return hook ? hook(X1, Y1, X2, Y2) : mrCancel;
}
