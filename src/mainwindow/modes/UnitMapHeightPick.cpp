// The height marks of contour tracing (mode 22) and height interpolation (mode 24), left
// button down, each picked by snapping to a point object that carries heights.
// Steps: 0 waits for the first mark; 1 for the second.
#include "mainwindow/UnitMap.h"

#include "controls/ExSpeedButton.h"
#include "engine/GeoMap.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ServDialogs.h"
#include "mainwindow/FormInstr1.h"
#include "semantics/codec/SemServices.h"

void TFormMap::PickHeightMark()
{
    if (!MainMap->LinkToNodes) {
        // The marks are found by snapping: the palette's snap button goes down.
        if (FormInstr1) {
            FormInstr1->btLink->SetDown(true);
            if (FormInstr1->btLink->OnClick)
                FormInstr1->btLink->OnClick();
        }
        Snap();
    }
    if (!Snapped) {
        ShowMsgDialog(QStringLiteral("Объекты не найдены"), QString());
        return;
    }
    TArrayFloats heights;
    GetH(SnapText, heights);
    if (heights.empty()) {
        ShowMsgDialog(QStringLiteral("Объекты с отметками не найдены"), QString());
        return;
    }
    std::size_t index = 0;
    if (heights.size() >= 2) {
        QStringList list;
        for (const Extended h : heights)
            list << FloatToStrF(h, ffFixed, 6, 2);
        int chosen = 0;
        int added = 0;
        SelStrDialog(list, chosen, added, QStringLiteral("Выбор отметки"),
                     QStringLiteral("в выбранном объекте есть несколько отметок; выберете отметку "
                                    "для расчета горизонтали"));
        // A typed text names no height of the object: the first one is taken.
        if (added == 0 && chosen >= 0 && std::size_t(chosen) < heights.size())
            index = std::size_t(chosen);
    }
    if (MouseStep == 0) {
        MarkPoint1 = SnapPoint;
        MarkHeight1 = heights[index];
        SetMouseMode(MouseMode, 1, false);
    } else if (MouseStep == 1) {
        MarkPoint2 = SnapPoint;
        MarkHeight2 = heights[index];
        if (MouseMode == mmTraceContour)
            AddTracePoint();
        else
            AddInterpolatedPoints();
        SetMouseMode(MouseMode, 0, false);
    }
}
