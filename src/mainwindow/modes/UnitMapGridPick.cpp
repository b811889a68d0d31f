// The crossing of the coordinate grid that coordinate labels start from (mode 25, left
// button down). Steps: 0 waits for the crossing; 1 the label's bracket follows the mouse.
#include "mainwindow/UnitMap.h"

#include "controls/ExSpeedButton.h"
#include "foundation/ServDialogs.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/modes/SnapHitTest.h"

void TFormMap::PickGridCrossing()
{
    if (!Snapped || SnapText != GridNodeText) {
        ShowMsgDialog(QStringLiteral("Координатная сетка не найдена"),
                      QStringLiteral("подписи координат создаются только по координатной сетке"));
        return;
    }
    if (MouseStep != 0)
        return;
    CoordLabelCross = SnapPoint;
    MouseStep = 1;
    // The labels are placed freely from here: snapping goes off.
    if (FormInstr1) {
        FormInstr1->btLink->SetDown(false);
        if (FormInstr1->btLink->OnClick)
            FormInstr1->btLink->OnClick();
    }
}
