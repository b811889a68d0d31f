// The real windows behind the hooks of ProgramDialogs: each hook creates its window for
// one call, places it, shows it modally and copies back, whatever the result, what the
// entry routine promises. A window lives on the hook's stack, so it goes also when an
// exception passes.
#include "dialogs/general/InputDialogs.h"

#include "dialogs/file/UnitOpenFilter.h"
#include "dialogs/file/UnitSaveRastr.h"
#include "engine/GeoMap.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/StringNum.h"
#include "foundation/ui/NumEdit.h"
#include "foundation/ui/StartMark.h"
#include "mainwindow/UnitMap.h"

namespace {

TModalResult RunInpInt(int& value, const QString& caption, const QString& message)
{
    TFormInpIntDialog form(value, caption, message, DialogOwner());
    form.PlaceOnMouse();
    const TModalResult result = form.ShowModal();
    value = form.NumEdit1->IntegerValue();
    return result;
}

TModalResult RunInpFlt(Extended& value, const QString& caption, const QString& message)
{
    TFormInpFltDialog form(value, caption, message, DialogOwner());
    form.PlaceOnMouse();
    const TModalResult result = form.ShowModal();
    value = form.NumEdit1->FloatValue();
    return result;
}

TModalResult RunInpCoord(const QString& caption, Extended& X, Extended& Y)
{
    TFormInpCoordDialog form(caption, X, Y, DialogOwner());
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    X = form.NumEdit1->FloatValue();
    Y = form.NumEdit2->FloatValue();
    return result;
}

TModalResult RunInpOtm(Extended& height)
{
    TFormInpOtm form(height, DialogOwner());
    form.PlaceOnMouse();
    const TModalResult result = form.ShowModal();
    height = form.NumEdit1->FloatValue();
    return result;
}

TModalResult RunAsk2Way(const QString& caption, const QString& message, const QString& first,
                        const QString& second)
{
    TForm2WayDialog form(caption, message, first, second, DialogOwner());
    form.PlaceOnMouse();
    return form.ShowModal();
}

TModalResult RunInp3Int(int& n, Extended& a, Extended& b, const QString& caption,
                        const QString& label1, const QString& label2, const QString& label3)
{
    TFormInp3IntDialog form(n, a, b, caption, label1, label2, label3, DialogOwner());
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    n = form.NumEdit1->IntegerValue();
    a = form.NumEdit2->FloatValue();
    b = form.NumEdit3->FloatValue();
    return result;
}

TModalResult RunInp2Int(int& a, int& b, const QString& caption, const QString& label1,
                        const QString& label2)
{
    TFormInp2IntDialog form(a, b, caption, label1, label2, DialogOwner());
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    a = form.NumEdit1->IntegerValue();
    b = form.SecondValue();
    return result;
}

TModalResult RunInpAngle(Extended& angle, const QString& caption)
{
    TFormInpAngleDialog form(angle, caption, DialogOwner());
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    angle = form.Angle();
    return result;
}

TModalResult RunHotKeys()
{
    TFormHotKeys form(DialogOwner());
    form.PlaceScreenCentre();
    return form.ShowModal();
}

TModalResult RunAbout()
{
    QImage picture;
    if (FormMap && FormMap->StartMark1)
        picture = FormMap->StartMark1->GetPicture();
    TFormAbout form(picture, DialogOwner());
    form.PlaceScreenCentre();
    return form.ShowModal();
}

TModalResult RunSaveRastr(int& scale, Extended& dpi, TPixelDepth& depth, Extended x1, Extended y1,
                          Extended x2, Extended y2)
{
    TFormSaveRastr form(scale, dpi, depth, x2 - x1, y2 - y1, DialogOwner());
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    scale = form.Scale();
    form.Dpi(dpi);   // a text that is no number leaves the resolution as it was
    if (const TPixelDepth chosen = form.Depth())
        depth = chosen;
    return result;
}

TModalResult RunPrintScale(int& scale, TPixelDepth& depth, Extended& kx, Extended& ky)
{
    TFormPrintScale form(scale, depth, kx, ky, DialogOwner());
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    scale = form.NumEdit1->IntegerValue();
    if (const TPixelDepth chosen = form.Depth())
        depth = chosen;
    kx = form.MX->FloatValue();
    ky = form.MY->FloatValue();
    return result;
}

TModalResult RunOpenFilter(TOpenFilter& filter)
{
    TFormOpenFilter form(filter, DialogOwner());
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    form.StoreTo(filter);
    return result;
}

}  // namespace

void InstallProgramDialogWindows()
{
    TProgramDialogHooks& h = ProgramDialogHooks();
    h.InpInt = RunInpInt;
    h.InpFlt = RunInpFlt;
    h.InpCoord = RunInpCoord;
    h.InpOtm = RunInpOtm;
    h.Ask2Way = RunAsk2Way;
    h.Inp3Int = RunInp3Int;
    h.Inp2Int = RunInp2Int;
    h.InpAngle = RunInpAngle;
    h.HotKeys = RunHotKeys;
    h.About = RunAbout;
    h.SaveRastr = RunSaveRastr;
    h.PrintScale = RunPrintScale;
    h.OpenFilter = RunOpenFilter;
}
