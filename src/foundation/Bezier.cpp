// Bézier smoothing of polylines for curved line segments.
#include "foundation/Bezier.h"

#include <cmath>

namespace {

constexpr Extended Pi = 3.141592653589793238462643383279502884L;

Extended Distance(Extended dx, Extended dy)
{
    return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

float BezierDirectionAngle(Extended A, Extended B)
{
    if (A == 0) {
        if (B == 0)
            return 0;
        return static_cast<float>(B > 0 ? Pi / 2 : 3 * Pi / 2);
    }
    const Extended t = std::atan(std::fabs(B) / std::fabs(A));
    Extended angle;
    if (A >= 0 && B >= 0)
        angle = t;
    else if (A < 0 && B >= 0)
        angle = Pi - t;
    else if (A < 0)
        angle = Pi + t;
    else
        angle = 2 * Pi - t;
    return static_cast<float>(angle);
}

void BezierControlPoints(const RCurvePoint& prev, const RCurvePoint& cur,
                         const RCurvePoint& next, RBezierPoint& element)
{
    const float a1 = BezierDirectionAngle(prev.X - cur.X, prev.Y - cur.Y);
    const Extended l1 = Distance(prev.X - cur.X, prev.Y - cur.Y) * BezierSmoothing / 100;
    const float a2 = BezierDirectionAngle(next.X - cur.X, next.Y - cur.Y);
    const Extended l2 = Distance(next.X - cur.X, next.Y - cur.Y) * BezierSmoothing / 100;
    // The tangent is perpendicular to the bisector, turned to the side of prev.
    const Extended m = (Extended(a1) + Extended(a2)) / 2;
    const Extended theta = a2 < a1 ? m + Pi / 2 : m - Pi / 2;
    element.Incoming = GeoPoint(cur.X + l1 * std::cos(theta), cur.Y + l1 * std::sin(theta));
    element.Outgoing =
        GeoPoint(cur.X + l2 * std::cos(theta + Pi), cur.Y + l2 * std::sin(theta + Pi));
}

void BezierPoint(const RBezierPoint& a, const RBezierPoint& b, Extended t, Extended& X,
                 Extended& Y)
{
    const Extended u = 1 - t;
    const Extended k0 = u * u * u;
    const Extended k1 = 3 * t * u * u;
    const Extended k2 = 3 * t * t * u;
    const Extended k3 = t * t * t;
    X = k0 * a.Anchor.X + k1 * a.Outgoing.X + k2 * b.Incoming.X + k3 * b.Anchor.X;
    Y = k0 * a.Anchor.Y + k1 * a.Outgoing.Y + k2 * b.Incoming.Y + k3 * b.Anchor.Y;
}

void BezierSampleSegment(const RBezierPoint& a, const RBezierPoint& b, TArrayPoint& Points)
{
    Points.clear();
    const Extended chord = Distance(b.Anchor.X - a.Anchor.X, b.Anchor.Y - a.Anchor.Y);
    if (!std::isfinite(chord))
        return;
    const Int64 n = chord > BezierMaxSamples ? BezierMaxSamples + 1 : Trunc(chord);
    if (n < 2)
        return;
    Points.reserve(static_cast<std::size_t>(n - 1));
    for (Int64 i = 1; i < n; ++i) {
        RCurvePoint p;
        BezierPoint(a, b, Extended(i) / n, p.X, p.Y);
        p.Flag = 1;
        Points.push_back(p);
    }
}

void SmoothPolyline(const TArrayPoint& Points, TArrayPoint& Result)
{
    // Built aside: Result may be the very array being smoothed.
    TArrayPoint curve;
    const std::size_t n = Points.size();
    if (n >= 2) {
        TArrayBezierPoint bezier(n);
        for (std::size_t i = 0; i < n; ++i) {
            const TGeoPoint anchor = GeoPoint(Points[i].X, Points[i].Y);
            bezier[i] = RBezierPoint{anchor, anchor, anchor};
        }
        for (std::size_t i = 1; i + 1 < n; ++i)
            BezierControlPoints(Points[i - 1], Points[i], Points[i + 1], bezier[i]);

        curve.push_back(RCurvePoint{bezier[0].Anchor.X, bezier[0].Anchor.Y, 0});
        TArrayPoint samples;
        for (std::size_t i = 1; i < n; ++i) {
            BezierSampleSegment(bezier[i - 1], bezier[i], samples);
            curve.insert(curve.end(), samples.begin(), samples.end());
            curve.push_back(RCurvePoint{bezier[i].Anchor.X, bezier[i].Anchor.Y, 0});
        }
    }
    Result = std::move(curve);
}
