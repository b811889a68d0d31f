// Directions on the drawing surface: x is the first axis and y (downwards) the second,
// so an angle runs clockwise on the screen from the right, and a + 180 points back.
// Stored, a screen angle is tenths of a degree counter-clockwise from the right.
#pragma once

#include "foundation/GeoServ.h"

#include <QPoint>
#include <cmath>
#include <cstdint>

// The direction from a to b in degrees, [0, 360]; the same point gives 0.
inline TGeoAngle SurfaceAngle(QPoint a, QPoint b)
{
    int length = 0;
    TGeoAngle angle = 0;
    OGZInt(a.x(), a.y(), b.x(), b.y(), length, angle);
    return angle;
}

// The pixel distance from a to b, rounded.
inline int SurfaceDistance(QPoint a, QPoint b)
{
    int length = 0;
    TGeoAngle angle = 0;
    OGZInt(a.x(), a.y(), b.x(), b.y(), length, angle);
    return length;
}

// The point length pixels from from in the direction angle (degrees).
inline QPoint SurfaceAhead(QPoint from, Extended length, TGeoAngle angle)
{
    return PGZInt(from.x(), from.y(), length, angle);
}

// A surface direction as it is stored: round(norm(360 - a) * 10).
inline std::int32_t SurfaceWinAngle(TGeoAngle a)
{
    return static_cast<std::int32_t>(std::nearbyint(fNormalAngle(360 - a) * 10));
}
