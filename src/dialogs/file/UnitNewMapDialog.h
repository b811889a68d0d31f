// The new-plan window: the plan's description and its scale "1:" and up to seven digits.
#pragma once

#include "foundation/ui/DialogBase.h"

class QLineEdit;
class QPlainTextEdit;

// Shows the window with scale and description; reads them back whatever the result:
// the scale is the digits after "1:" up to the first blank or the end (0 without any).
// 1 "Готово" or Enter, 2 Esc or the close box.
TModalResult NewMapDlg(int& scale, QString& description);

// The digits after "1:" in the scale edit's text, up to the first blank; 0 without any
// or beyond the range of a scale.
int ScaleOfNewMapText(const QString& text);

class TFormNewMapDialog : public TDialogBase {
    Q_OBJECT
public:
    TFormNewMapDialog(int scale, const QString& description, QWidget* parent = nullptr);

    QPlainTextEdit* Memo1;   // "Описание"
    QLineEdit* MaskEdit1;    // "Исходный масштаб"

protected:
    void keyPressEvent(QKeyEvent* e) override;
};
