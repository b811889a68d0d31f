// The masked nomenclature input "000>L00". The mask makes the letter upper case, Cyrillic
// included, and the text keeps its fixed characters, so callers get what they showed.
#include "dialogs/find/UnitInpMaskStr.h"

#include "dialogs/general/InputDialogs.h"
#include "foundation/ui/MaskEdit.h"

#include <QPushButton>

namespace {
constexpr Qt::Edges BottomLeft = Qt::LeftEdge | Qt::BottomEdge;
constexpr Qt::Edges BottomRight = Qt::RightEdge | Qt::BottomEdge;
}  // namespace

TFormInpMaskStrDialog::TFormInpMaskStrDialog(const QString& value, const QString& caption,
                                             const QString& message, QWidget* parent)
    : TFormInpMaskStrDialog(QStringLiteral("000>L00;1;_"), 70, value, caption, message, parent)
{
}

TFormInpMaskStrDialog::TFormInpMaskStrDialog(const QString& mask, int editWidth,
                                             const QString& value, const QString& caption,
                                             const QString& message, QWidget* parent)
    : TMessageWindow(358, 85, caption, parent)
{
    MaskEdit1 = new TMaskEdit(this);
    MaskEdit1->setObjectName(QStringLiteral("MaskEdit1"));
    MaskEdit1->SetEditMask(mask);
    Place(MaskEdit1, QRect(3, 60, editWidth, 21), BottomLeft);
    MaskEdit1->SetText(value);
    BitBtn1 = AddButton(QStringLiteral("Готово"), QRect(280, 58, 75, 24), mrOk, BottomRight);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    ShowMessage(message, 50);
    PreviewKeys(this, mrOk);
    MaskEdit1->setFocus();
    MaskEdit1->setCursorPosition(0);
}

TModalResult RunInpMaskStr(QString& value, const QString& caption, const QString& message)
{
    TFormInpMaskStrDialog form(value, caption, message, DialogOwner());
    form.PlaceOnMouse();
    const TModalResult result = form.ShowModal();
    value = form.MaskEdit1->Text();
    return result;
}
