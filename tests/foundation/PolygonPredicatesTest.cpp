#include "foundation/GeoDataObjects.h"
#include "foundation/GeoDataObjectsPolygons.h"
#include "foundation/GeoServ.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <random>
#include <vector>

namespace {

void Fill(TGeoPoints& list, std::initializer_list<TGeoPoint> points)
{
    list.DeleteAll();
    for (const TGeoPoint& p : points)
        list.AddPoint(p.X, p.Y);
}

struct TProbe {
    Extended x, y;
    bool inside;
};

// Runs the probes through all three contour forms where the contour has four corners.
void ExpectProbes(std::initializer_list<TGeoPoint> contour, std::initializer_list<TProbe> probes)
{
    TGeoPoints points;
    Fill(points, contour);
    TGPolygonNodes nodes;
    for (const TGeoPoint& p : contour) {
        nodes.AddItem();
        nodes.Item->Position = p;
    }
    for (const TProbe& p : probes) {
        SCOPED_TRACE(testing::Message() << "(" << double(p.x) << ", " << double(p.y) << ")");
        EXPECT_EQ(PointInPolygon(points, p.x, p.y), p.inside);
        EXPECT_EQ(PointInGPolygon(nodes, p.x, p.y), p.inside);
        if (contour.size() == 4) {
            TGeoRect rect;
            std::copy(contour.begin(), contour.end(), rect.begin());
            EXPECT_EQ(PointInGeoRect(rect, p.x, p.y), p.inside);
        }
    }
}

}  // namespace

TEST(PolygonPredicates, SquareCountsItsBoundaryAsInside)
{
    ExpectProbes({{0, 0}, {0, 10}, {10, 10}, {10, 0}},
                 {{5, 5, true}, {0, 5, true}, {10, 10, true}, {0, 0, true}, {5, 15, false},
                  {-0.0005L, 5, true}, {-0.1L, 5, false}, {11, 5, false}});
}

TEST(PolygonPredicates, APointATenthOfAMetreFromALongEdgeIsOnIt)
{
    ExpectProbes({{0, 0}, {0, 100}, {100, 100}, {100, 0}}, {{-0.1L, 50, true}, {50, 100.1L, true},
                                                            {-1, 50, false}});
}

// Guards the ray through a vertex: the crossing's computed Y may miss the vertex by a
// unit of the last place, which once lost the crossing at (5, 10) for (5, 0.2).
TEST(PolygonPredicates, DiamondRayThroughVertices)
{
    ExpectProbes({{0, 5}, {5, 10}, {10, 5}, {5, 0}},
                 {{5, 3, true}, {5, 0.2L, true}, {5, 1.7L, true}, {5, 9.9L, true},
                  {5, -1.6L, false}, {5, 10.5L, false}, {5, 5, true}, {2, 5, true},
                  {0, 0, false}});
}

TEST(PolygonPredicates, RayGrazingAVertexDoesNotCount)
{
    // The apex (5, 10) touches X = 5 with both edges leaving to the south.
    ExpectProbes({{0, 0}, {5, 10}, {0, 20}}, {{5, 2, false}, {2, 10, true}, {5, 10, true}});
}

TEST(PolygonPredicates, EdgeAlongTheRayIsSkippedBetweenItsVertices)
{
    // B (5, 5) to C (5, 8) lies on the ray X = 5.
    // The contour passes through the ray there: south before, north after.
    ExpectProbes({{0, 0}, {5, 5}, {5, 8}, {10, 12}, {10, 0}},
                 {{5, 2, true}, {5, 10, false}, {7, 3, true}});
    // Here it only touches it: south on both sides.
    ExpectProbes({{0, 0}, {5, 5}, {5, 8}, {0, 12}}, {{5, 2, false}, {2, 6, true}});
}

// Guards the ray's end: at twice an edge's largest Y it pointed west for contours at
// negative Y and found crossings behind the point.
TEST(PolygonPredicates, TriangleAtNegativeCoordinates)
{
    ExpectProbes({{0, -10}, {10, -10}, {5, -2}},
                 {{5, -6, true}, {2, -9, true}, {5, -1, false}, {5, -11, false},
                  {9, -3, false}, {5, -2, true}});
    ExpectProbes({{-10, -10}, {-10, -2}, {-2, -2}, {-2, -10}},
                 {{-6, -6, true}, {-6, -1, false}, {-6, -11, false}, {-1, -6, false}});
}

TEST(PolygonPredicates, FewerThanThreeVerticesContainNothing)
{
    TGeoPoints two;
    Fill(two, {{0, 0}, {10, 10}});
    EXPECT_FALSE(PointInPolygon(two, 0, 0));
    EXPECT_FALSE(PointInPolygon(two, 5, 5));
    TGeoPoints none;
    EXPECT_FALSE(PointInPolygon(none, 0, 0));
}

TEST(PolygonPredicates, HolesAndTheirBoundariesAreOutsideTheArea)
{
    TGeoPoints outer;
    Fill(outer, {{0, 0}, {0, 10}, {10, 10}, {10, 0}});
    TListGeoPoints holes;
    EXPECT_TRUE(PointInPolygonWithHoles(outer, &holes, 5, 5));   // empty hole list
    EXPECT_TRUE(PointInPolygonWithHoles(outer, nullptr, 5, 5));
    holes.AddItem();
    Fill(holes.Item->Points, {{3, 3}, {3, 7}, {7, 7}, {7, 3}});
    struct Case { Extended x, y; bool inside; };
    const Case cases[] = {{5, 5, false}, {3, 5, false}, {7, 7, false}, {1, 1, true},
                          {0, 5, true}, {15, 5, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << double(c.x) << ", " << double(c.y));
        EXPECT_EQ(PointInPolygonWithHoles(outer, &holes, c.x, c.y), c.inside);
    }
}

TEST(PolygonPredicates, IntersectPolygonCollectsCrossingsEdgeByEdge)
{
    TGeoPoints square;
    Fill(square, {{0, 0}, {0, 10}, {10, 10}, {10, 0}});
    TGeoPoints found;
    // Through the vertex (0, 0): once for its first edge, once for the closing edge.
    ASSERT_TRUE(IntersectPolygon(square, -5, -5, 5, 5, found));
    ASSERT_EQ(found.GetCount(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(found.At(i)->X, 0);
        EXPECT_EQ(found.At(i)->Y, 0);
    }
    EXPECT_TRUE(IntersectPolygon(square, -5, -5, 5, 5));

    // Across: the edge (0,10)-(10,10) comes before the closing edge (10,0)-(0,0).
    ASSERT_TRUE(IntersectPolygon(square, 5, -5, 5, 15, found));
    ASSERT_EQ(found.GetCount(), 2);
    EXPECT_EQ(found.At(0)->Y, 10);
    EXPECT_EQ(found.At(1)->Y, 0);
    EXPECT_EQ(found.GetIndex(), 1);

    // Inside, touching nothing: the list is cleared.
    EXPECT_FALSE(IntersectPolygon(square, 2, 2, 8, 8, found));
    EXPECT_EQ(found.GetCount(), 0);
    EXPECT_FALSE(IntersectPolygon(square, 2, 2, 8, 8));

    // An empty contour leaves the list alone.
    found.AddPoint(1, 1);
    TGeoPoints empty;
    EXPECT_FALSE(IntersectPolygon(empty, 5, -5, 5, 15, found));
    EXPECT_EQ(found.GetCount(), 1);
}

TEST(PolygonPredicates, NearestCrossingIgnoresTheStartPoint)
{
    TGeoPoints square;
    Fill(square, {{0, 0}, {0, 10}, {10, 10}, {10, 0}});
    Extended xi = -1, yi = -1;
    // Starting on the edge X = 0: that crossing is at distance 0 and is ignored.
    ASSERT_TRUE(MinIntersectPolygon(square, 0, 5, 20, 5, xi, yi));
    EXPECT_EQ(xi, 10);
    EXPECT_EQ(yi, 5);
    ASSERT_TRUE(MinIntersectPolygon(square, 20, 5, -20, 5, xi, yi));
    EXPECT_EQ(xi, 10);
    xi = yi = -1;
    EXPECT_FALSE(MinIntersectPolygon(square, 20, 20, 30, 30, xi, yi));
    EXPECT_EQ(xi, -1);   // untouched
    EXPECT_EQ(yi, -1);
}

TEST(PolygonPredicates, MinMaxIntersectNeedsTwoDistinctCrossingsOnlyForPointLists)
{
    const TGeoPoint corners[] = {{0, 0}, {0, 10}, {10, 10}, {10, 0}};
    TGeoPoints square;
    Fill(square, {corners[0], corners[1], corners[2], corners[3]});
    TGeoRect rect;
    std::copy(std::begin(corners), std::end(corners), rect.begin());
    Extended x1 = -1, y1 = -1, x2 = -1, y2 = -1;

    // Through: two crossings.
    ASSERT_TRUE(MinMaxIntersectPolygon(square, 5, -5, 5, 15, x1, y1, x2, y2));
    EXPECT_EQ(y1, 0);
    EXPECT_EQ(y2, 10);
    ASSERT_TRUE(MinMaxIntersectPolygon(rect, 5, -5, 5, 15, x1, y1, x2, y2));
    EXPECT_EQ(y1, 0);
    EXPECT_EQ(y2, 10);

    // From inside out: one crossing.
    EXPECT_FALSE(MinMaxIntersectPolygon(square, 5, 5, 5, 20, x1, y1, x2, y2));
    x1 = y1 = x2 = y2 = -1;
    ASSERT_TRUE(MinMaxIntersectPolygon(rect, 5, 5, 5, 20, x1, y1, x2, y2));
    EXPECT_EQ(y1, 10);
    EXPECT_EQ(y2, 10);

    // Missing: nothing, outputs untouched.
    x1 = -1;
    EXPECT_FALSE(MinMaxIntersectPolygon(square, 20, 20, 30, 30, x1, y1, x2, y2));
    EXPECT_FALSE(MinMaxIntersectPolygon(rect, 20, 20, 30, 30, x1, y1, x2, y2));
    EXPECT_EQ(x1, -1);
}

TEST(PolygonPredicates, RangePointsInLineKeepsTheFirstOfEquals)
{
    TGeoPoints points;
    Fill(points, {{2, 0}, {0, 1}, {1, 0}, {0, 2}, {2, 0}});
    Extended xmin = -1, ymin = -1, xmax = -1, ymax = -1;
    RangePointsInLine(points, 0, 0, 99, 99, xmin, ymin, xmax, ymax);
    EXPECT_EQ(xmin, 0);
    EXPECT_EQ(ymin, 1);
    EXPECT_EQ(xmax, 2);
    EXPECT_EQ(ymax, 0);

    TGeoPoints empty;
    xmin = -1;
    RangePointsInLine(empty, 0, 0, 0, 0, xmin, ymin, xmax, ymax);
    EXPECT_EQ(xmin, -1);
}

TEST(PolygonPredicates, LongestInnerChordSkipsPiecesInHoles)
{
    TGeoPoints outer;
    Fill(outer, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    TListGeoPoints holes;
    holes.AddItem();
    Fill(holes.Item->Points, {{3, 4}, {5, 4}, {5, 6}, {3, 6}});
    Extended xc = 0, yc = 0, xmin = 0, ymin = 0, xmax = 0, ymax = 0;

    struct Case {
        const char* name;
        std::initializer_list<TGeoPoint> pts;
        bool found;
        Extended xc, xmin, xmax;
    };
    const Case cases[] = {
        // 3 m accepted, the hole's piece skipped, the strictly longer 5 m wins.
        {"longer later", {{0, 5}, {3, 5}, {5, 5}, {10, 5}}, true, 7.5L, 5, 10},
        // Equal lengths: the first accepted stays.
        {"equal", {{0, 5}, {3, 5}, {5, 5}, {8, 5}}, true, 1.5L, 0, 3},
        // Nothing inside: the last pair tested.
        {"outside", {{20, 5}, {30, 5}, {40, 5}}, false, 35, 30, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TGeoPoints pts;
        Fill(pts, c.pts);
        EXPECT_EQ(LongestInnerChord(outer, &holes, pts, xc, yc, xmin, ymin, xmax, ymax), c.found);
        EXPECT_EQ(xc, c.xc);
        EXPECT_EQ(yc, 5);
        EXPECT_EQ(xmin, c.xmin);
        EXPECT_EQ(xmax, c.xmax);
        EXPECT_EQ(ymin, 5);
        EXPECT_EQ(ymax, 5);
    }
}

// Guards reading past the list: with fewer than two points there is no chord.
TEST(PolygonPredicates, LongestInnerChordOfOnePointFindsNone)
{
    TGeoPoints outer;
    Fill(outer, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    TGeoPoints pts;
    pts.AddPoint(5, 5);
    Extended xc = -1, yc = -1, xmin = -1, ymin = -1, xmax = -1, ymax = -1;
    EXPECT_FALSE(LongestInnerChord(outer, nullptr, pts, xc, yc, xmin, ymin, xmax, ymax));
    EXPECT_EQ(xc, -1);
    EXPECT_EQ(ymax, -1);
}

namespace {

// The contour test without the passes over far sides: every side's boundary test and
// ray crossing worked out in full, as the fast test must answer.
bool PlainPointInContour(const std::vector<TGeoPoint>& c, Extended x, Extended y)
{
    const int n = int(c.size());
    if (n < 3)
        return false;
    if (x == c[0].X && y == c[0].Y)
        return true;
    Extended maxY = y;
    for (const TGeoPoint& p : c)
        maxY = std::max(maxY, p.Y);
    const Extended rayEnd = maxY + 1 + std::fabs(maxY);
    bool outside = true;
    int pending = 0;
    const TGeoPoint* prev = &c[0];
    for (int k = 1; k <= n; ++k) {
        const TGeoPoint& cur = c[std::size_t(k % n)];
        if (x == cur.X && y == cur.Y)
            return true;
        if (PointInLineRange(x, y, prev->X, prev->Y, cur.X, cur.Y, 0.001L))
            return true;
        Extended xr = 0, yr = 0;
        const TIntersectStatus s = RangeLineIntersect(x, y, x, rayEnd, prev->X, prev->Y, cur.X, cur.Y, xr, yr);
        if (s == isCross) {
            outside = !outside;
        } else if (s == isEndCross) {
            const TGeoPoint& other = (prev->X == x) ? cur : *prev;
            const int side = other.X > x ? 1 : other.X < x ? 2 : 0;
            if (side != 0 && pending == 0) {
                pending = side;
            } else if (side != 0) {
                if (pending != side)
                    outside = !outside;
                pending = 0;
            }
        }
        prev = &cur;
    }
    return !outside;
}

}  // namespace

// The test passes over sides far from the point; on contours of plan coordinates
// (millimetre grid, long and short sides, vertices on the probe's ray) and probes on,
// near and far from the sides it must answer as the full test.
TEST(PolygonPredicates, FarSidesSkippedAnswerAsTheFullTest)
{
    std::mt19937 random(28);
    std::uniform_int_distribution<int> mm(0, 200000);   // 200 m in millimetres
    const Extended x0 = 410000, y0 = 1320000;
    int inside = 0, boundary = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<TGeoPoint> contour;
        const int n = 3 + round % 40;
        for (int i = 0; i < n; ++i)
            contour.push_back(GeoPoint(x0 + mm(random) / 1000.0L, y0 + mm(random) / 1000.0L));
        TGeoPoints points;
        for (const TGeoPoint& p : contour)
            points.AddPoint(p.X, p.Y);
        for (int probe = 0; probe < 200; ++probe) {
            Extended x = 0, y = 0;
            const TGeoPoint& a = contour[std::size_t(probe % n)];
            const TGeoPoint& b = contour[std::size_t((probe + 1) % n)];
            switch (probe % 4) {
            case 0:   // anywhere about the contour
                x = x0 - 20 + mm(random) / 800.0L;
                y = y0 - 20 + mm(random) / 800.0L;
                break;
            case 1: {   // on a side, or a little beside it
                const Extended f = mm(random) / 200000.0L;
                x = a.X + f * (b.X - a.X) + (mm(random) % 5 - 2) * 0.0004L;
                y = a.Y + f * (b.Y - a.Y) + (mm(random) % 5 - 2) * 0.0004L;
                break;
            }
            case 2:   // on the ray of a vertex
                x = a.X;
                y = y0 + mm(random) / 1000.0L;
                break;
            default:   // at a vertex
                x = a.X;
                y = a.Y;
                break;
            }
            const bool expected = PlainPointInContour(contour, x, y);
            SCOPED_TRACE(testing::Message() << "round " << round << " probe " << probe);
            ASSERT_EQ(PointInPolygon(points, x, y), expected);
            inside += expected;
            boundary += probe % 4 == 1 && expected;
        }
    }
    // The probes reached both answers and the boundary band.
    EXPECT_GT(inside, 5000);
    EXPECT_GT(boundary, 1000);
}
