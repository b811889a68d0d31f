// Angle conversions between the plan and the screen.
#include "foundation/GeoTypes.h"

#include "foundation/ErrorTrail.h"
#include "foundation/GeoServ.h"

TGeoAngle WinToGeoAngle(TWinAngle wa)
{
    // Fold into one turn first: the plain formula mirrors angles past 450 degrees.
    int tenths = wa % 3600;
    if (tenths < 0)
        tenths += 3600;
    TGeoAngle a = std::fabs(450.0L - tenths / 10.0L);
    if (a >= 360)
        a -= 360;
    return a;
}

TWinAngle GeoToWinAngle(TGeoAngle ga)
{
    TTrailGuard guard("GeoTypes", "Function: GeoToWinAngle(ga:TGeoAngle):TWinAngle;",
                      TrailArg("ga", ga));
    // Folded into [0, 360] the difference below is never negative and never huge.
    Int64 n = Round(4500.0L - 10.0L * fNormalAngle(ga));
    if (n < 0)
        n = -n;
    while (n > 3599)
        n -= 3600;
    return static_cast<TWinAngle>(n);
}
