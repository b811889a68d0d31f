// The parameters of the main window's strip construction: the width of the band, its
// place relative to the line drawn, and the segment type of each edge.
#pragma once

#include "foundation/ui/DialogBase.h"

#include <array>

class QRadioButton;
class TNumEdit;

// "Параметры построения". Enter gives 1 and Esc 2 whatever control has the focus.
class TFormQStripDialog : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormQStripDialog(QWidget* parent = nullptr);

    TNumEdit* NumEdit1;   // "Ширина полосы,м", "," and "." both accepted
    // "слева по ходу" (1), "симметрично" (2), "справа по ходу" (3)
    QRadioButton *RadioButton1, *RadioButton2, *RadioButton3;
    // Left edge: "основной" (0), "специальный тип 1" (1), "специальный тип 2" (2)
    QRadioButton *rlM, *rl1, *rl2;
    // Right edge, the same types
    QRadioButton *rrm, *rr1, *rr2;
    QPushButton* BitBtn1;   // "Готово"

    // Each argument selects its radio button (a value outside the listed ones selects
    // none); the window opens in the screen centre. After it closes, whatever the result,
    // width := the edit's value (0 for an invalid text) and each group's selected value is
    // written back; a group without a selection leaves its argument unchanged. The entry
    // QStripDialog opens it.
    static TModalResult Execute(int& position, int& leftType, int& rightType, Extended& width);

private:
    std::array<QRadioButton*, 3> Positions() const;
    std::array<QRadioButton*, 3> LeftTypes() const;
    std::array<QRadioButton*, 3> RightTypes() const;
};
