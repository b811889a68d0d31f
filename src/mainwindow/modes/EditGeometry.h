// The drag vectors and the perpendicular foot that the line and polygon editors share.
#pragma once

#include "engine/commands/MapCommand.h"
#include "foundation/GeoServ.h"
#include "foundation/GeoTypes.h"

#include <QString>
#include <cmath>

class TGeoMap;

// Runs the set command of an object edited by the mouse with after, its parameters as
// edited, unless they equal before, those it had: the parameters hold coordinates
// rounded to the object's precision, so a click, or a drag that ends where it began,
// sends nothing and the plan stays unmodified with its redo steps.
void IssueIfChanged(TGeoMap& map, TMapCommand command, const QString& before, const QString& after);

// Shift keeps the longer component of a drag (the north one when they are equal is
// dropped: dX wins a tie).
inline TGeoPoint ShiftRule(TGeoPoint d, bool shift)
{
    if (shift) {
        if (std::fabs(d.X) >= std::fabs(d.Y))
            d.Y = 0;
        else
            d.X = 0;
    }
    return d;
}

// The foot of the perpendicular from p on the line through a and b (beyond the segment's
// ends too). A segment of zero length has no direction: its first node stands for the
// foot, so no undefined position reaches the plan.
inline TGeoPoint PerpendicularFoot(const TGeoPoint& p, const TGeoPoint& a, const TGeoPoint& b)
{
    const Extended l = std::sqrt((b.X - a.X) * (b.X - a.X) + (b.Y - a.Y) * (b.Y - a.Y));
    if (!(l > 0))
        return a;
    const Extended d = ((a.Y - b.Y) * p.X + (b.X - a.X) * p.Y + (a.X * b.Y - b.X * a.Y)) / l;
    TGeoAngle angle = 0;
    DirAngle(b.X - a.X, b.Y - a.Y, angle);
    angle += 90;
    if (d > 0)
        angle += 180;
    return PGZ(p, std::fabs(d), angle);
}
