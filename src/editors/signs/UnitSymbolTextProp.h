// The text primitive window "Надпись": the text of a sign picture, its angle, and its
// named style or own font.
#pragma once

#include "editors/signs/TextStyleBase.h"

class QLineEdit;
struct RVpText;

// Edits text with the styles of symbols. 1 "Готово" or Enter: the text, the angle and
// the style as the window shows them; 2 Esc or the close box, the text unchanged. With
// the style page active and no style chosen the style name and own style stay.
TModalResult SymbolTextPropDlg(RVpText& text, TSymbols& symbols);

class TFormSymbolTextProp : public TFormTextStyleBase {
    Q_OBJECT
public:
    TFormSymbolTextProp(RVpText& text, TSymbols& symbols, QWidget* parent = nullptr);

    QLineEdit* eText;   // "Надпись"
    TNumEdit* neAngle;  // "Поворот", degrees
    QPushButton* btOk;  // "Готово"

    // Writes the window's values into the text (the OK path).
    void WriteBack();

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    RVpText& Text;
    bool FirstShown = false;
};
