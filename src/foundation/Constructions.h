// The geometric constructions on a base line from P1 to P2 as a surveyor draws them on
// paper: the linear intersection, the square or rectangle standing on the line, and the
// centre and vertices of a circle drawn as a regular polygon. Plan points, X north, Y east,
// metres; directions through the forward and inverse tasks of GeoServ.
#pragma once

#include "foundation/GeoTypes.h"

#include <array>
#include <cstdint>
#include <vector>

// What the distances a (from point 1) and b (from point 2) make with a base of length B.
enum TTriangleCheck : std::uint8_t {
    tcTriangle,      // a point exists on either side
    tcSumTooShort,   // a + b < B
    tcNoTriangle     // B = 0, a or b not above 0, or |a - b| > B
};
TTriangleCheck CheckTriangle(Extended B, Extended a, Extended b);

// The linear intersection: the point a from P1 (and b from P2) on side of the line seen
// from P1 towards P2. The angle at P1 is arccos((a² + B² − b²) / 2aB), its cosine kept
// within [−1, 1] so that a flat triangle gives a point on the line. Meant for distances
// CheckTriangle accepts; a zero base or distance gives P1 moved by a along the base.
TGeoPoint LinearIntersection(const TGeoPoint& P1, const TGeoPoint& P2, Extended a, Extended b,
                             TAngleType side);

// The corners of a rectangle standing on the base line at P1, the side L along the
// base's direction and the side w across it, on side of the line:
// left  P1, P1 + w across, then + L along, P1 + L along;
// right P1, P1 + L along, then + w across, back by L.
// The base fixes only the direction (north when P1 = P2), L is given.
std::array<TGeoPoint, 4> RectangleCorners(const TGeoPoint& P1, const TGeoPoint& P2, Extended L,
                                          Extended w, TAngleType side);

// Where a circle on the base line is centred.
enum TCircleCentre : std::uint8_t { ccPoint1, ccPoint2, ccMiddle };
TGeoPoint CircleCentre(const TGeoPoint& P1, const TGeoPoint& P2, TCircleCentre centre);

// The number of sides that keeps each side within the chord tolerance t of a circle of
// radius R: 360 / (2 arccos((R − t) / R)) degrees, to the nearest whole number (halves to
// even). Meant for 0 < t < R; a count that would not fit an int gives the int's maximum.
int VertexCountForTolerance(Extended R, Extended t);

// The n vertices of a regular polygon inscribed in the circle (centre, R): vertex i at the
// direction i · 360 / n, so vertex 0 lies due north and they run clockwise. n < 1 gives none.
std::vector<TGeoPoint> PolygonVertices(const TGeoPoint& centre, Extended R, int n);
