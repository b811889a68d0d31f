// The height check (mode 31, left button up): two reference pickets with their heights,
// then the height a picket at the clicked place should have, interpolated along the
// distance from the first. Steps: 0 waits for picket 1; 1 for picket 2; 2 for the place.
#include "mainwindow/UnitMap.h"

#include "foundation/DelphiFormat.h"
#include "foundation/GeoServ.h"
#include "foundation/ProgramDialogs.h"

void TFormMap::CheckHeightsUp()
{
    switch (MouseStep) {
    case 0:
        InpFltDialog(CheckHeightsH1, QStringLiteral("введите исходную отметку1"), QString());
        CheckHeightsRef1 = Points.Up.Plan;
        SetMouseMode(mmCheckHeights, 1, false);
        return;
    case 1:
        InpFltDialog(CheckHeightsH2, QStringLiteral("введите исходную отметку2"), QString());
        CheckHeightsRef2 = Points.Up.Plan;
        SetMouseMode(mmCheckHeights, 2, false);
        return;
    case 2: {
        Extended span = 0, along = 0;
        Dist(CheckHeightsRef1, CheckHeightsRef2, span);
        Dist(CheckHeightsRef1, Points.Up.Plan, along);
        if (span == 0) {
            // One place for both pickets gives no slope to interpolate along.
            ShowMsgDialog(QStringLiteral("Проверка высот"), QStringLiteral("Опорные пикеты совпадают"));
        } else {
            const Extended h = CheckHeightsH1 + (CheckHeightsH2 - CheckHeightsH1) * along / span;
            OtmHeight = h;
            if (ShowQDialog(QStringLiteral("Должна быть отметка:"),
                            FloatToStrF(h, ffFixed, 8, 2) + QStringLiteral("  Да- создать пикет")) == 6)
                CreatePointObject();
        }
        SetMouseMode(mmCheckHeights, 0, false);
        return;
    }
    default:
        return;
    }
}
