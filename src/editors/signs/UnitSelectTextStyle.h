// The caption style window "Надпись": the named style or own font of a caption rule.
#pragma once

#include "editors/signs/TextStyleBase.h"

// Chooses the style of rule among the styles of symbols. 1 "Готово" or Enter: with the
// font page active the rule gets that own style and no style name, otherwise the chosen
// style's name and no own style (with none chosen both stay); 2 "Отмена", Esc or the
// close box, the rule unchanged. Callers applying one choice to several rules pass a
// blank rule and copy its style name and own style after.
TModalResult SelectTextStyleDlg(RSemText& rule, TSymbols& symbols);

class TFormSelectTextStyle : public TFormTextStyleBase {
    Q_OBJECT
public:
    TFormSelectTextStyle(const RSemText& rule, TSymbols& symbols, QWidget* parent = nullptr);

    QPushButton* btOk;      // "Готово"
    QPushButton* btCancel;  // "Отмена"

    // Writes the window's choice into rule (the OK path).
    void WriteBack(RSemText& rule);
};
