// The message memo windows: the shared sizing, the message box and the yes/no question.
#include "foundation/ui/ServDialogsWindows.h"

#include <QPushButton>

TMessageWindow::TMessageWindow(int width, int height, QWidget* parent) : TDialogBase(parent)
{
    SetClientSize(width, height);
    Memo1 = new TMessageMemo(this);
    Place(Memo1, QRect(0, 0, width, height), Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
}

void TMessageWindow::ShowMessage(const QString& text, int controlsRoom)
{
    Memo1->SetLines(Split(text));
    const int lines = Memo1->ShownLineCount();
    SetClientSize(width(), MessageWindowHeight(lines, TextHeight(), controlsRoom));
}

TFormShowMsgDialog::TFormShowMsgDialog(const QString& caption, const QString& text, QWidget* parent)
    : TMessageWindow(357, 67, parent)
{
    setWindowTitle(caption);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ActiveCaptionColor());
    setPalette(pal);
    Memo1->SetTextColor(Qt::black);
    Button1 = AddButton(QStringLiteral("Готово"), QRect(153, 40, 75, 24), mrOk);
    Button1->setDefault(true);
    Button1->setFocus();
    ShowMessage(text, 50);
}

TFormShowQDialog::TFormShowQDialog(const QString& caption, const QString& text, QWidget* parent)
    : TMessageWindow(357, 67, parent)
{
    setWindowTitle(caption);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ActiveCaptionColor());
    setPalette(pal);
    Memo1->SetTextColor(Qt::black);
    ButtonYes = AddButton(QStringLiteral("Да"), QRect(91, 40, 75, 24), mrYes);
    ButtonNo = AddButton(QStringLiteral("Нет"), QRect(190, 40, 75, 24), mrNo);
    ButtonYes->setDefault(true);
    ButtonYes->setFocus();
    EscResult = mrNo;          // "Нет" is the cancel button
    CloseResult = mrCancel;
    ShowMessage(text, 50);
}
