// "Выбор листа": one sheet of the main plan, chosen from a list.
#pragma once

#include "foundation/ui/DialogBase.h"

class QComboBox;
class QPushButton;

class TFormSelectPage : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormSelectPage(QWidget* parent = nullptr);

    QComboBox* ComboBox1;   // the sheets; item index = sheet index
    QPushButton* BitBtn1;   // "Готово"
};

// Shows the window centred on the screen; sheet := the chosen index (-1 when the plan
// has no sheets), whatever the result.
TModalResult RunSelectPage(int& sheet);
