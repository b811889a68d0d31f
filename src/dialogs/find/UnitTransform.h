// "Трансформация координат": a factor, a shift and a turn about a point, for one sheet or
// every sheet of the main plan. The window computes nothing; the main plan transforms a
// sheet per command.
#pragma once

#include "foundation/ProgramDialogs.h"
#include "foundation/ui/DialogBase.h"

class QComboBox;
class QPushButton;
class QRadioButton;
class TNumEdit;

// The decimals that write v in fixed notation so that it reads back as the value given
// (its shortest form of up to 15 significant digits), never fewer than two: 1 gives 2,
// 0.9996 gives 4, 0.1234 gives 4.
int ReadBackDecimals(Extended v);

// The parameter strings of the mcTransform commands of the choice: one per listed sheet
// for the whole plan, else one for the chosen sheet (-1 when none is chosen, which the
// engine leaves alone). Reals in fixed notation, the locale's separator, as many
// decimals as ReadBackDecimals gives.
QStringList TransformCommands(const TTransformChoice& choice);

// Shows the window and, on 1, issues the commands and draws the whole plan anew (mode
// 0); returns the window's result. A command that raises stops the rest; the plan is
// drawn and the error passes on.
TModalResult TransformDialog();

class TFormTransform : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormTransform(QWidget* parent = nullptr);

    TTransformChoice Choice();

    TNumEdit* neA;          // degrees
    TNumEdit* neXc;         // metres
    TNumEdit* neYc;
    TNumEdit* neKScale;
    TNumEdit* neDx;         // metres
    TNumEdit* neDy;
    QRadioButton* rbAll;    // "весь план"
    QRadioButton* rbSel;    // "выбранный лист"
    QComboBox* cbPages;
    QPushButton* BitBtn1;   // "Готово"

    void rbAllClick();
};

// Shows the window centred on the screen; choice := what it holds, whatever the result.
TModalResult RunTransform(TTransformChoice& choice);
