// The message box and the yes/no question.
#include "foundation/ui/ServDialogsWindows.h"

#include <QPushButton>

namespace {

// The message and the question show black text on the colour of an active caption.
void SetMessageColors(TMessageWindow& w)
{
    QPalette pal = w.palette();
    pal.setColor(QPalette::Window, ActiveCaptionColor());
    w.setPalette(pal);
    w.Memo1->SetTextColor(Qt::black);
}

}  // namespace

TFormShowMsgDialog::TFormShowMsgDialog(const QString& caption, const QString& text, QWidget* parent)
    : TMessageWindow(357, 67, caption, parent)
{
    SetMessageColors(*this);
    Button1 = AddButton(QStringLiteral("Готово"), QRect(153, 40, 75, 24), mrOk);
    Button1->setDefault(true);
    Button1->setFocus();
    ShowMessage(text, 50);
}

TFormShowQDialog::TFormShowQDialog(const QString& caption, const QString& text, QWidget* parent)
    : TMessageWindow(357, 67, caption, parent)
{
    SetMessageColors(*this);
    ButtonYes = AddButton(QStringLiteral("Да"), QRect(91, 40, 75, 24), mrYes);
    ButtonNo = AddButton(QStringLiteral("Нет"), QRect(190, 40, 75, 24), mrNo);
    ButtonYes->setDefault(true);
    ButtonYes->setFocus();
    EscResult = mrNo;          // "Нет" is the cancel button
    CloseResult = mrCancel;
    ShowMessage(text, 50);
}
