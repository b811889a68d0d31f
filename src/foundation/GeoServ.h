// Geodetic routines every drawing, editing and survey path measures the plane with:
// angle units and folding, traverse angles, the inverse and forward tasks, rotation,
// segment intersection, and the names of the extended semantic value kinds.
// Conventions (X north, Y east, degrees clockwise from north) are in GeoTypes.h.
#pragma once

#include "foundation/GeoTypes.h"

#include <QPoint>
#include <QString>

// ---- Angles ----

// Degrees to radians and back, with the program's constants.
inline Extended GradRad(Extended d) { return d * 0.017453292519943295L; }
inline Extended RadGrad(Extended r) { return r * 57.2957795130823209L; }

// Folds a direction angle into [0, 360]: 360 and its multiples stay 360, 0 stays 0,
// a negative angle comes out in [0, 360). Throws on an infinite or NaN angle.
Extended fNormalAngle(Extended a);
inline void pNormalAngle(Extended& a) { a = fNormalAngle(a); }

// Traverse angles in degrees, in [0, 360], at a station reached along DirPrev and
// left along DirNext (both direction angles in degrees).
TGeoAngle BetRight(TGeoAngle DirPrev, TGeoAngle DirNext);
TGeoAngle BetLeft(TGeoAngle DirPrev, TGeoAngle DirNext);

// The next direction angle in [0, 360] from the previous one a1 and the traverse
// angle b measured on side at. Throws "Неверный параметр" for any other side.
TGeoAngle NextDirAngle(TGeoAngle a1, TGeoAngle b, TAngleType at);

// Direction of the vector (dy east, dx north) in degrees, in (0, 360]:
// due north is 360, never 0; (0, 0) gives 360 too.
TGeoAngle GeoArcTan(Extended dy, Extended dx);

// Degrees, minutes, seconds to decimal degrees: (s/60 + m)/60 + g. No checks;
// a negative angle needs all three parts negative.
Extended fGMS_GG(Extended g, Extended m, Extended s);

// Decimal degrees to whole degrees, whole minutes (both truncated towards zero) and
// seconds in (-60, 60); every part carries the sign of the angle. 0 gives 0, 0, 0.
// Throws when the degrees do not fit a 32-bit integer (or the angle is not finite).
void pGG_GMS(int& g, int& m, Extended& s, Extended GGMMSS);

// pGG_GMS with the seconds rounded to Decimals places (clamped to 0..9, halves to even) for
// writing: seconds that round to 60 carry into the minutes and 60 minutes into the
// degrees, so no 60 is ever written; a part that rounds to zero has no sign.
void pGG_GMSRound(int& g, int& m, Extended& s, Extended GGMMSS, int Decimals);

// Decimal degrees to whole degrees (truncated towards zero) and decimal minutes in
// (-60, 60), both carrying the sign. 0 gives 0, 0. Throws as pGG_GMS.
void GG_GM(int& g, Extended& m, Extended GGMM);

// ---- Distances and the geodetic tasks ----

// The inverse task from point 1 to point 2: distance PS in metres and direction
// angle PDirAngle in degrees, in [0, 360]. Along the axes the angle is exactly 0, 90,
// 180 or 270 (never 360); the same point gives 0 and 0. Off the axes it comes from
// GeoArcTan, so a vector a hair west of north may still give 360.
void OGZ(Extended X1Source, Extended Y1Source, Extended X2Source, Extended Y2Source,
         Extended& PS, TGeoAngle& PDirAngle);

// Direction angle of the vector (Dx north, Dy east), or from P1 to P2, in degrees,
// in [0, 360], with the axis cases of OGZ.
void DirAngle(Extended Dx, Extended Dy, TGeoAngle& Angle);
void DirAngle(const TGeoPoint& P1, const TGeoPoint& P2, TGeoAngle& Angle);

// Plane distance in metres, never negative. (The line-node form lives with the
// line nodes in the data model.)
void Dist(Extended X1, Extended Y1, Extended X2, Extended Y2, Extended& PS);
void Dist(const TGeoPoint& P1, const TGeoPoint& P2, Extended& PS);
// Distance between two screen points in whole pixels, halves to even.
int Dist(const QPoint& P1, const QPoint& P2);

// The forward task: the point at distance Line (metres) and direction angle DirAngle
// (degrees) from the source; Line = 0 gives the source point exactly.
void PGZ(Extended XSource, Extended YSource, Extended Line, TGeoAngle DirAngle,
         Extended& XResult, Extended& YResult);
// The same, as a point.
inline TGeoPoint PGZ(const TGeoPoint& Source, Extended Line, TGeoAngle DirAngle)
{
    TGeoPoint r;
    PGZ(Source.X, Source.Y, Line, DirAngle, r.X, r.Y);
    return r;
}

// The forward task with the sine and cosine of the direction given.
void PGZ2(Extended XSource, Extended YSource, Extended Line, Extended SinC, Extended CosC,
          Extended& XResult, Extended& YResult);

// Rotates (X, Y) about (X0, Y0) by dA degrees; a positive dA turns clockwise as the
// plan is seen (north up, east right). A point on the centre stays where it is.
void RotateCoord(Extended X0, Extended Y0, TGeoAngle dA, Extended& X, Extended& Y);

// The inverse task on integer points whose first coordinate plays the north axis:
// Angle in degrees as OGZ gives it, Len the distance rounded to whole units.
void OGZInt(int x1, int y1, int x2, int y2, int& Len, TGeoAngle& Angle);

// The forward task on integer points (screen arrows and crosses): each offset is
// rounded to whole units, halves to even. The first coordinate plays the north axis.
QPoint PGZInt(int x, int y, Extended L, TGeoAngle angle);

// AMin <= AValue <= AMax.
inline bool InRangeExt(Extended AValue, Extended AMin, Extended AMax)
{
    return AMin <= AValue && AValue <= AMax;
}

// True when (x, y) lies on the segment (x1, y1)-(x2, y2) within the tolerance: the two
// distances to the ends exceed the segment's length by less than precision (metres).
bool PointInLineRange(Extended x, Extended y, Extended x1, Extended y1, Extended x2,
                      Extended y2, Extended precision);

// How segment 1 (x1, y1)-(x2, y2) meets segment 2 (x3, y3)-(x4, y4), by exact
// comparisons. On isCross and isEndCross (xr, yr) is the crossing; otherwise (0, 0).
TIntersectStatus RangeLineIntersect(Extended x1, Extended y1, Extended x2, Extended y2,
                                    Extended x3, Extended y3, Extended x4, Extended y4,
                                    Extended& xr, Extended& yr);

// True when the segment meets an edge of the rectangle: crosses it, passes through a
// corner, runs along it or ends on it (the edges belong to the rectangle, as they do for
// a point). A segment wholly inside or wholly outside meets none; whether a segment
// inside counts is the caller's to decide.
bool SegmentCrossesGeoRect(const TGeoPoint& P1, const TGeoPoint& P2, const TGeoRect& Rect);
bool SegmentCrossesGeoRect(Extended X1, Extended Y1, Extended X2, Extended Y2,
                           const TGeoRect& Rect);

// ---- Texts ----

// The decimal digits of abs(v), left-padded with "0" to digits characters or cut to
// the first digits characters; digits <= 0 gives the empty text.
QString IntToStrF(Int64 v, int digits);

// The name ("Материал") or, with FullInfo false, the short code ("М") of an extended
// kind; the empty text for a value outside 0..22.
QString SemExtToStr(TSemExt ext, bool FullInfo);
