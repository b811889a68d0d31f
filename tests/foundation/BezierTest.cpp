// Bézier smoothing: direction angles, control points, sampling and the whole curve.
#include "foundation/Bezier.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr Extended Pi = std::numbers::pi_v<Extended>;

TArrayPoint Polyline(std::initializer_list<std::pair<Extended, Extended>> points)
{
    TArrayPoint result;
    for (const auto& [x, y] : points)
        result.push_back(RCurvePoint{x, y, 0});
    return result;
}

TEST(Bezier, DirectionAngleByQuadrant)
{
    struct Case { Extended a, b, angle; };
    const Case cases[] = {
        {0, 0, 0},          {0, 1, Pi / 2},       {0, -1, 3 * Pi / 2}, {1, 0, 0},
        {-1, 0, Pi},        {1, 1, Pi / 4},       {-1, 1, 3 * Pi / 4}, {-1, -1, 5 * Pi / 4},
        {1, -1, 7 * Pi / 4}, {2, 1, 0.4636476090008061L}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << double(c.a) << ", " << double(c.b));
        EXPECT_FLOAT_EQ(BezierDirectionAngle(c.a, c.b), float(c.angle));
    }
}

TEST(Bezier, ControlPointsOfAStraightRunLieAlongIt)
{
    const RCurvePoint prev{0, 0, 0}, cur{10, 0, 0}, next{30, 0, 0};
    RBezierPoint element{GeoPoint(10, 0), {}, {}};
    BezierControlPoints(prev, cur, next, element);
    // 30 % of each neighbouring segment, towards prev and towards next.
    EXPECT_NEAR(double(element.Incoming.X), 7, 1e-6);
    EXPECT_NEAR(double(element.Incoming.Y), 0, 1e-6);
    EXPECT_NEAR(double(element.Outgoing.X), 16, 1e-6);
    EXPECT_NEAR(double(element.Outgoing.Y), 0, 1e-6);
    EXPECT_EQ(element.Anchor.X, 10);
}

TEST(Bezier, ControlPointsOfACornerLieOnTheTangent)
{
    // prev south of the corner, next east of it: the tangent runs south-west to
    // north-east, across the bisector; Incoming on prev's side.
    const RCurvePoint prev{0, 0, 0}, cur{10, 0, 0}, next{10, 10, 0};
    RBezierPoint element;
    BezierControlPoints(prev, cur, next, element);
    const Extended half = 3 / std::sqrt(2.0L);
    EXPECT_NEAR(double(element.Incoming.X), double(10 - half), 1e-6);
    EXPECT_NEAR(double(element.Incoming.Y), double(-half), 1e-6);
    EXPECT_NEAR(double(element.Outgoing.X), double(10 + half), 1e-6);
    EXPECT_NEAR(double(element.Outgoing.Y), double(half), 1e-6);
}

TEST(Bezier, PointAtTheEndsIsTheAnchor)
{
    const RBezierPoint a{GeoPoint(0, 0), GeoPoint(-1, -1), GeoPoint(1, 2)};
    const RBezierPoint b{GeoPoint(10, 5), GeoPoint(8, 6), GeoPoint(12, 4)};
    Extended x = 0, y = 0;
    BezierPoint(a, b, 0, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    BezierPoint(a, b, 1, x, y);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 5);
    BezierPoint(a, b, 0.5L, x, y);   // (a + 3·out + 3·in + b) / 8
    EXPECT_EQ(x, (0 + 3 * 1 + 3 * 8 + 10) / 8.0L);
    EXPECT_EQ(y, (0 + 3 * 2 + 3 * 6 + 5) / 8.0L);
}

TEST(Bezier, SmoothedChordOfTenGivesElevenPoints)
{
    TArrayPoint result;
    SmoothPolyline(Polyline({{0, 0}, {10, 0}}), result);
    ASSERT_EQ(result.size(), 11u);
    EXPECT_EQ(result.front().Flag, 0);
    EXPECT_EQ(result.front().X, 0);
    EXPECT_EQ(result.back().Flag, 0);
    EXPECT_EQ(result.back().X, 10);
    for (std::size_t i = 1; i + 1 < result.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(result[i].Flag, 1);
        EXPECT_EQ(result[i].Y, 0);
        EXPECT_GT(result[i].X, result[i - 1].X);
    }
}

TEST(Bezier, SampleCountFollowsTheWholeChordLength)
{
    struct Case { Extended length; std::size_t points; };
    const Case cases[] = {{0, 2}, {0.5L, 2}, {1, 2}, {1.99L, 2}, {2, 3}, {10.7L, 11}};
    for (const Case& c : cases) {
        SCOPED_TRACE(double(c.length));
        TArrayPoint result;
        SmoothPolyline(Polyline({{0, 0}, {c.length, 0}}), result);
        EXPECT_EQ(result.size(), c.points);
    }
}

TEST(Bezier, FewerThanTwoPointsGiveNothing)
{
    TArrayPoint result = Polyline({{1, 1}});
    SmoothPolyline(TArrayPoint(), result);
    EXPECT_TRUE(result.empty());
    result = Polyline({{1, 1}});
    SmoothPolyline(Polyline({{5, 5}}), result);
    EXPECT_TRUE(result.empty());
}

TEST(Bezier, CollinearPointsGiveAStraightLineThroughAll)
{
    const TArrayPoint points = Polyline({{0, 0}, {5, 0}, {10, 0}});
    TArrayPoint result;
    SmoothPolyline(points, result);
    ASSERT_EQ(result.size(), 11u);   // 1 + 4 + 1 + 4 + 1
    for (const std::size_t vertex : {0u, 5u, 10u}) {
        EXPECT_EQ(result[vertex].Flag, 0);
        EXPECT_EQ(result[vertex].X, points[vertex / 5].X);
    }
    for (std::size_t i = 1; i < result.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(double(result[i].Y), 0, 1e-6);   // single-precision angles
        EXPECT_GT(result[i].X, result[i - 1].X);
    }
}

TEST(Bezier, CurvePassesThroughEveryVertexInOrder)
{
    const TArrayPoint points = Polyline({{0, 0}, {3, 7}, {-2, 12}, {4, 20}, {4, 20.5L}});
    TArrayPoint result;
    SmoothPolyline(points, result);
    TArrayPoint vertices;
    for (const RCurvePoint& p : result)
        if (p.Flag == 0)
            vertices.push_back(p);
    ASSERT_EQ(vertices.size(), points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(vertices[i].X, points[i].X);
        EXPECT_EQ(vertices[i].Y, points[i].Y);
    }
}

// Guards smoothing a polyline into itself: the input must not be emptied first.
TEST(Bezier, ResultMayBeTheInput)
{
    TArrayPoint points = Polyline({{0, 0}, {10, 0}});
    SmoothPolyline(points, points);
    EXPECT_EQ(points.size(), 11u);
}

// Guards a mistyped coordinate: one sample per metre of a huge or infinite chord
// would exhaust memory.
TEST(Bezier, SamplingOfAHugeOrInfiniteChordIsBounded)
{
    const RBezierPoint a{GeoPoint(0, 0), GeoPoint(0, 0), GeoPoint(0, 0)};
    RBezierPoint far{GeoPoint(1e12L, 0), GeoPoint(1e12L, 0), GeoPoint(1e12L, 0)};
    TArrayPoint samples;
    BezierSampleSegment(a, far, samples);
    EXPECT_EQ(samples.size(), std::size_t(BezierMaxSamples));
    const Extended inf = std::numeric_limits<Extended>::infinity();
    far = RBezierPoint{GeoPoint(inf, 0), GeoPoint(inf, 0), GeoPoint(inf, 0)};
    BezierSampleSegment(a, far, samples);
    EXPECT_TRUE(samples.empty());
}

}  // namespace
