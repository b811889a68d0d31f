// "Найти планшет по координатам": the nomenclature of the 1:500 sheet holding a point,
// and that sheet shown on the main plan.
#pragma once

#include "foundation/ui/DialogBase.h"

class QLabel;
class QPushButton;
class TNumEdit;

class TFormFindPlanNom : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormFindPlanNom(QWidget* parent = nullptr);

    TNumEdit* ResX;         // north, metres
    TNumEdit* ResY;         // east
    QLabel* Label1;         // the sheet's name, "?" outside every base sheet
    QPushButton* Button1;   // "Показать планшет"
    QPushButton* BitBtn1;   // "Закрыть окно"

    // The name of the point's sheet once both edits hold numbers; "Показать планшет"
    // only for a name that is a sheet.
    void ResXChange();
    void Button1Click();
};

// Shows the window centred on the screen and returns its result.
TModalResult RunFindPlanNom();
