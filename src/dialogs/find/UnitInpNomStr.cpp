// The masked nomenclature input "000->L-00": the same window as the one without dashes.
#include "dialogs/find/UnitInpNomStr.h"

#include "foundation/ui/MaskEdit.h"

TFormInpNomStrDialog::TFormInpNomStrDialog(const QString& value, const QString& caption,
                                           const QString& message, QWidget* parent)
    : TFormInpMaskStrDialog(QStringLiteral("000->L-00;1;_"), 86, value, caption, message, parent)
{
}

TModalResult RunInpNomStr(QString& value, const QString& caption, const QString& message)
{
    TFormInpNomStrDialog form(value, caption, message, DialogOwner());
    form.PlaceOnMouse();
    const TModalResult result = form.ShowModal();
    value = form.MaskEdit1->Text();
    return result;
}
