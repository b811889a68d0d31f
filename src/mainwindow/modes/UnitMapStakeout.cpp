// Staking out (mode 20) and coordinate sampling (mode 21): each click names a point and
// adds one line to the newest result list, the distance and the angle from the station
// turned from the orientation direction, or the point's coordinates.
#include "mainwindow/UnitMap.h"

#include "controls/TextListBox.h"
#include "foundation/DelphiFormat.h"
#include "foundation/GeoServ.h"
#include "foundation/ServDialogs.h"
#include "survey/StakingOut.h"

#include <cmath>

namespace {

// The name the user gives the point; whatever the window leaves is taken, OK or not.
QString PointName()
{
    QString name;
    InpStrDialog(name, QStringLiteral("Определите название точки"), QString());
    return name;
}

void AddResultLine(const QString& line)
{
    if (TFormOGZList* list = FormOGZList())
        list->tlb->addItem(line);
}

} // namespace

void TFormMap::AddStakeoutPoint()
{
    const TGeoPoint M = CreationPoint();
    const TGeoPoint& S = StakeoutStation;
    TGeoAngle a = 0, b = 0;
    DirAngle(StakeoutOrientation, S, a);
    Extended D = 0;
    OGZ(S.X, S.Y, M.X, M.Y, D, b);
    // Turned clockwise from the orientation direction; that direction itself gives 360
    // when its direction angle is 180 or more and 0 when less, as BetLeft folds.
    const TGeoAngle beta = BetLeft(a, b);
    int g = 0, m = 0;
    Extended s = 0;
    pGG_GMS(g, m, s, beta);
    const int seconds = int(std::trunc(s));   // cut, not rounded: 59.9" is 59"
    const QString name = PointName();
    AddResultLine(Format(QStringLiteral("N=%s  X=%8.3f  Y=%8.3f  D=%8.3f  A=%d %d %d"),
                         {name, M.X, M.Y, D, g, m, seconds}));
}

void TFormMap::AddSampledPoint()
{
    const TGeoPoint M = CreationPoint();
    const QString name = PointName();
    AddResultLine(Format(QStringLiteral("%s  %f  %f"), {name, M.X, M.Y}));
}
