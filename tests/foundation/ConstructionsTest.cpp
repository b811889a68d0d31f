// The constructions on a base line, worked by hand: the triangle of the linear
// intersection, its point on either side, the rectangle's corners, the circle's centre,
// its side count from the chord tolerance and the vertices of its polygon.
#include "foundation/Constructions.h"
#include "foundation/GeoServ.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

constexpr double Eps = 1e-9;

void ExpectPoint(const TGeoPoint& p, double x, double y)
{
    EXPECT_NEAR(double(p.X), x, Eps);
    EXPECT_NEAR(double(p.Y), y, Eps);
}

Extended Distance(const TGeoPoint& a, const TGeoPoint& b)
{
    Extended d = 0;
    Dist(a, b, d);
    return d;
}

// Positive when p lies left of the line seen from a towards b (X north, Y east).
Extended LeftOf(const TGeoPoint& a, const TGeoPoint& b, const TGeoPoint& p)
{
    return (b.Y - a.Y) * (p.X - a.X) - (b.X - a.X) * (p.Y - a.Y);
}

TEST(Constructions, TriangleOfTheLinearIntersection)
{
    struct Case {
        Extended B, a, b;
        TTriangleCheck check;
    };
    const Case cases[] = {
        {10, 6, 8, tcTriangle},
        {10, 5, 5, tcTriangle},       // flat: the point on the base
        {10, 15, 5, tcTriangle},      // flat: the point on the base's extension
        {10, 3, 4, tcSumTooShort},    // the sum is checked first
        {10, 0, 0, tcSumTooShort},
        {5, 2, 9, tcNoTriangle},      // one side longer than the other two
        {5, 9, 2, tcNoTriangle},
        {0, 3, 3, tcNoTriangle},      // no base
        {10, 0, 10, tcNoTriangle},    // a distance not above 0
        {10, 10, 0, tcNoTriangle},
        {10, -1, 12, tcNoTriangle},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << double(c.B) << " " << double(c.a) << " " << double(c.b));
        EXPECT_EQ(CheckTriangle(c.B, c.a, c.b), c.check);
    }
}

TEST(Constructions, LinearIntersectionOnEitherSide)
{
    struct Case {
        TGeoPoint P1, P2;
        Extended a, b;
        TAngleType side;
        double x, y;
    };
    const Case cases[] = {
        // A base to the east: left is north.
        {{0, 0}, {0, 10}, 6, 8, atLeft, 4.8, 3.6},
        {{0, 0}, {0, 10}, 6, 8, atRight, -4.8, 3.6},
        // A base to the north: left is west.
        {{0, 0}, {5, 0}, 3, 4, atLeft, 1.8, -2.4},
        {{0, 0}, {5, 0}, 3, 4, atRight, 1.8, 2.4},
        // Flat triangles lie on the line, whatever the side.
        {{0, 0}, {0, 10}, 5, 5, atLeft, 0, 5},
        {{0, 0}, {0, 10}, 15, 5, atRight, 0, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << double(c.P2.X) << " " << double(c.a) << " " << int(c.side));
        ExpectPoint(LinearIntersection(c.P1, c.P2, c.a, c.b, c.side), c.x, c.y);
    }
}

TEST(Constructions, LinearIntersectionKeepsBothDistancesOnAnObliqueBase)
{
    const TGeoPoint p1{100, 200}, p2{130, 240};   // 50 m to the north-east
    for (const TAngleType side : {atLeft, atRight}) {
        SCOPED_TRACE(int(side));
        const TGeoPoint p = LinearIntersection(p1, p2, 30, 40, side);
        EXPECT_NEAR(double(Distance(p1, p)), 30, Eps);
        EXPECT_NEAR(double(Distance(p2, p)), 40, Eps);
        EXPECT_EQ(LeftOf(p1, p2, p) > 0, side == atLeft);
    }
}

TEST(Constructions, RectangleCornersOnEitherSide)
{
    struct Case {
        TGeoPoint P1, P2;
        Extended L, w;
        TAngleType side;
        std::array<TGeoPoint, 4> corners;
    };
    const Case cases[] = {
        {{0, 0}, {10, 0}, 10, 10, atLeft, {{{0, 0}, {0, -10}, {10, -10}, {10, 0}}}},
        {{0, 0}, {10, 0}, 10, 10, atRight, {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}}},
        // A rectangle takes its long side from L, not from the base's length.
        {{0, 0}, {0, 5}, 8, 3, atLeft, {{{0, 0}, {3, 0}, {3, 8}, {0, 8}}}},
        {{0, 0}, {0, 5}, 8, 3, atRight, {{{0, 0}, {0, 8}, {-3, 8}, {-3, 0}}}},
        // Equal ends: the direction is north.
        {{1, 1}, {1, 1}, 2, 2, atRight, {{{1, 1}, {3, 1}, {3, 3}, {1, 3}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << double(c.P2.X) << " " << double(c.P2.Y) << " " << int(c.side));
        const auto corners = RectangleCorners(c.P1, c.P2, c.L, c.w, c.side);
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            ExpectPoint(corners[i], double(c.corners[i].X), double(c.corners[i].Y));
        }
    }
}

TEST(Constructions, CircleCentreOnTheBase)
{
    const TGeoPoint p1{10, 20}, p2{30, 60};
    ExpectPoint(CircleCentre(p1, p2, ccPoint1), 10, 20);
    ExpectPoint(CircleCentre(p1, p2, ccPoint2), 30, 60);
    ExpectPoint(CircleCentre(p1, p2, ccMiddle), 20, 40);
}

TEST(Constructions, SideCountFromTheChordTolerance)
{
    struct Case {
        Extended R, t;
        int n;
    };
    const Case cases[] = {
        {5, 0.05L, 22},                          // 360 / 16.22
        {5, 2.5L, 3},                            // arccos 0.5 = 60°
        {10, 10 - 10 * std::sqrt(0.5L), 4},      // arccos 0.707 = 45°
        {5, 4, 2},                               // too coarse to give a figure
        {1e6L, 1e-25L, INT_MAX},                 // too fine to count
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << double(c.R) << " " << double(c.t));
        EXPECT_EQ(VertexCountForTolerance(c.R, c.t), c.n);
    }
}

TEST(Constructions, PolygonVerticesRunClockwiseFromNorth)
{
    const TGeoPoint centre{100, 200};
    const auto hexagon = PolygonVertices(centre, 10, 6);
    ASSERT_EQ(hexagon.size(), 6u);
    ExpectPoint(hexagon[0], 110, 200);                               // due north
    ExpectPoint(hexagon[1], 105, 200 + 10 * std::sqrt(0.75));        // then to the east
    ExpectPoint(hexagon[3], 90, 200);
    ExpectPoint(hexagon[5], 105, 200 - 10 * std::sqrt(0.75));
    for (const TGeoPoint& p : hexagon)
        EXPECT_NEAR(double(Distance(centre, p)), 10, Eps);
    EXPECT_TRUE(PolygonVertices(centre, 10, 0).empty());
    EXPECT_TRUE(PolygonVertices(centre, 10, -3).empty());
}

}  // namespace
