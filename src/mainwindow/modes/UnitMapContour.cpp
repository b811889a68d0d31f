// The end of a traced contour (mode 22, right button up): the line's code from the
// contour's height, then back to the select mode.
#include "mainwindow/UnitMap.h"

#include "foundation/DelphiFormat.h"

#include <cmath>

void TFormMap::FinishTracedContour()
{
    const Extended h = ContourHeight;
    // Even whole heights are thickened contours (Ф021), every other height a plain one.
    if (h == std::trunc(h) && std::fmod(h, 2.0L) == 0)
        LineCode = QStringLiteral("ГОР/Ф021;ИВ") + FloatToStrF(h, ffFixed, 6, 0);
    else
        LineCode = QStringLiteral("ГОР/Ф011;ИВ") + FloatToStrF(h, ffFixed, 6, 1);
    // The nodes become curve nodes and the line is created here (SetCreateNodesCurved,
    // CreateLineObject).
    SetMouseMode(mmSelectObject, 0, true);
}
