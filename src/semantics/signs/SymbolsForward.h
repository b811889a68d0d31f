// The forward task of the sign placements (PGZ) with the sine and cosine of each
// direction kept: a line pattern lays every picture of a segment at the same
// directions, and a fill grid every picture at the same turn, so most directions come
// again, and the long double sine and cosine were most of a pattern's cost.
#pragma once

#include "foundation/GeoTypes.h"

// PGZ(XSource, YSource, Line, DirAngle, ...) to the last bit: the same sine and cosine
// of GradRad(DirAngle), the same products and sums; Line = 0 gives the source exactly.
// The kept values belong to the calling thread.
void SignPGZ(Extended XSource, Extended YSource, Extended Line, TGeoAngle DirAngle, Extended& XResult,
             Extended& YResult);
inline TGeoPoint SignPGZ(const TGeoPoint& Source, Extended Line, TGeoAngle DirAngle)
{
    TGeoPoint r;
    SignPGZ(Source.X, Source.Y, Line, DirAngle, r.X, r.Y);
    return r;
}
// The sine and cosine of GradRad(DirAngle), as std::sin and std::cos give them.
void SignSinCos(TGeoAngle DirAngle, Extended& Sin, Extended& Cos);
