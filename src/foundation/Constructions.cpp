// The constructions on a base line. Directions turn through NextDirAngle as a traverse
// angle does, so left and right mean what they mean in the traverse.
#include "foundation/Constructions.h"

#include "foundation/GeoServ.h"

#include <algorithm>
#include <climits>
#include <cmath>

TTriangleCheck CheckTriangle(Extended B, Extended a, Extended b)
{
    if (B > a + b)
        return tcSumTooShort;
    if (!(B > 0) || !(a > 0) || !(b > 0) || std::fabs(a - b) > B)
        return tcNoTriangle;
    return tcTriangle;
}

TGeoPoint LinearIntersection(const TGeoPoint& P1, const TGeoPoint& P2, Extended a, Extended b,
                             TAngleType side)
{
    Extended B = 0;
    TGeoAngle alpha = 0;
    OGZ(P1.X, P1.Y, P2.X, P2.Y, B, alpha);
    Extended cosGamma = 1;
    if (a > 0 && B > 0)
        cosGamma = std::clamp((a * a + B * B - b * b) / (2 * a * B), -1.0L, 1.0L);
    const TGeoAngle gamma = RadGrad(std::acos(cosGamma));
    // The angle at point 1 between the base and the new point, as a traverse angle:
    // left α − γ, right α + γ.
    return PGZ(P1, a, NextDirAngle(alpha, 180 - gamma, side));
}

std::array<TGeoPoint, 4> RectangleCorners(const TGeoPoint& P1, const TGeoPoint& P2, Extended L,
                                          Extended w, TAngleType side)
{
    Extended base = 0;
    TGeoAngle alpha = 0;
    OGZ(P1.X, P1.Y, P2.X, P2.Y, base, alpha);
    std::array<TGeoPoint, 4> p;
    p[0] = P1;
    if (side == atLeft) {
        p[1] = PGZ(p[0], w, NextDirAngle(alpha, 90, atLeft));
        p[2] = PGZ(p[1], L, alpha);
        p[3] = PGZ(p[0], L, alpha);
    } else {
        p[1] = PGZ(p[0], L, alpha);
        p[2] = PGZ(p[1], w, NextDirAngle(alpha, 90, atRight));
        p[3] = PGZ(p[2], L, fNormalAngle(alpha + 180));
    }
    return p;
}

TGeoPoint CircleCentre(const TGeoPoint& P1, const TGeoPoint& P2, TCircleCentre centre)
{
    switch (centre) {
    case ccPoint2:
        return P2;
    case ccMiddle:
        return GeoPoint((P1.X + P2.X) / 2, (P1.Y + P2.Y) / 2);
    default:
        return P1;
    }
}

int VertexCountForTolerance(Extended R, Extended t)
{
    const TGeoAngle step = 2 * RadGrad(std::acos((R - t) / R));
    const Extended n = 360 / step;   // infinite when t is too small to move the cosine
    if (!(n < Extended(INT_MAX)))
        return INT_MAX;
    return int(std::nearbyint(n));
}

std::vector<TGeoPoint> PolygonVertices(const TGeoPoint& centre, Extended R, int n)
{
    std::vector<TGeoPoint> vertices;
    if (n < 1)
        return vertices;
    vertices.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i)
        vertices.push_back(PGZ(centre, R, Extended(i) * 360 / n));
    return vertices;
}
