// Smoothing of a polyline into a curve through all its vertices: each inner vertex gets
// two control points on the tangent across its corner's bisector, each segment becomes
// a cubic Bézier curve sampled about once per coordinate unit (metre on a plan).
#pragma once

#include "foundation/GeoTypes.h"

#include <cstdint>
#include <vector>

// A point of a polyline or of its smoothed curve; Flag 0 for a vertex of the given
// polyline, 1 for an interpolated point.
struct RCurvePoint {
    Extended X = 0;
    Extended Y = 0;
    std::uint8_t Flag = 0;
};
using TArrayPoint = std::vector<RCurvePoint>;

// A vertex with the control point of the curve arriving at it (Incoming) and of the
// curve leaving it (Outgoing).
struct RBezierPoint {
    TGeoPoint Anchor;
    TGeoPoint Incoming;
    TGeoPoint Outgoing;
};
using TArrayBezierPoint = std::vector<RBezierPoint>;

// A run of line nodes and its smoothed points.
struct CurveSegment {
    TArrayPoint Points;
    TArrayPoint Smoothed;
};

// A control point lies this many percent of the adjacent segment's length from its anchor.
inline constexpr int BezierSmoothing = 30;

// The most interior points one segment is sampled into: a wildly long segment (a
// mistyped coordinate) is sampled more coarsely instead of exhausting memory.
inline constexpr Int64 BezierMaxSamples = 100000;

// Angle of the vector (A along the first axis, B along the second) in radians, in
// [0, 2π), measured from the first axis towards the second; (0, 0) gives 0. Held in
// single precision, as the curve's shape has always been computed with it.
float BezierDirectionAngle(Extended A, Extended B);

// The control points of the inner vertex cur between prev and next, into element
// (its Anchor is left as it is). A straight run puts Incoming towards prev and
// Outgoing towards next.
void BezierControlPoints(const RCurvePoint& prev, const RCurvePoint& cur,
                         const RCurvePoint& next, RBezierPoint& element);

// The point at parameter t in [0, 1] of the cubic curve from anchor a to anchor b.
void BezierPoint(const RBezierPoint& a, const RBezierPoint& b, Extended t, Extended& X,
                 Extended& Y);

// The interior points of the curve from a to b, flag 1: with n the whole part of the
// anchors' distance (capped at BezierMaxSamples + 1), the n - 1 points at t = i/n;
// none when n is 0 or 1, or when the distance is not finite.
void BezierSampleSegment(const RBezierPoint& a, const RBezierPoint& b, TArrayPoint& Points);

// The smoothed, sampled curve through Points: the vertices (flag 0) with the sampled
// points of each segment (flag 1) between them. Fewer than two points give an empty
// Result.
void SmoothPolyline(const TArrayPoint& Points, TArrayPoint& Result);
