// The fill grids' contour tests by rows give PointInPolygon's answer for every point:
// random contours (convex, star-shaped with spikes, with sides along the rows' lines
// and doubled nodes) at plan coordinates, rows through nodes, and points on, beside and
// just inside the boundary tolerance of the sides.
#include "semantics/signs/SymbolsGridContour.h"

#include "foundation/GeoDataObjectsPolygons.h"

#include <gtest/gtest.h>
#include <cmath>
#include <random>
#include <vector>

namespace {

struct TContourCase {
    const char* Name;
    int Nodes;
    double Spike;        // 0 a circle, up to 1 deep notches
    bool SnapToGrid;     // nodes on whole metres, so rows and sides meet them exactly
};

void RandomContour(std::mt19937& random, const TContourCase& c, Extended x0, Extended y0, TGeoPoints& points)
{
    std::uniform_real_distribution<double> unit(0, 1);
    for (int k = 0; k < c.Nodes; ++k) {
        const double a = 2 * M_PI * k / c.Nodes;
        const double r = 50 * (1 - c.Spike * unit(random));
        Extended x = x0 + Extended(r * std::cos(a)), y = y0 + Extended(r * std::sin(a));
        if (c.SnapToGrid) {
            x = std::nearbyint(x);
            y = std::nearbyint(y);
        }
        points.AddPoint(x, y);
        if (k % 7 == 3)
            points.AddPoint(x, y);   // a doubled node
    }
}

}  // namespace

TEST(GridContour, EveryAnswerIsPointInPolygons)
{
    const TContourCase cases[] = {
        {"convex", 24, 0, false},
        {"star", 40, 0.8, false},
        {"snapped", 30, 0.6, true},
        {"triangle", 3, 0, false},
    };
    std::mt19937 random(72);
    const Extended x0 = 410500.25L, y0 = 1320500.75L;
    long long fast = 0, total = 0;
    for (const TContourCase& c : cases) {
        SCOPED_TRACE(c.Name);
        for (int round = 0; round < 5; ++round) {
            TGeoPoints contour;
            RandomContour(random, c, x0, y0, contour);
            TGridContour grid(contour);
            std::vector<Extended> rows, columns;
            // Rows on a step, through every node, and a hair beside a node.
            for (Extended x = x0 - 55; x <= x0 + 55; x += 1.25L)
                rows.push_back(x);
            for (const auto& p : contour) {
                rows.push_back(p->X);
                rows.push_back(p->X + 0.0004L);
                columns.push_back(p->Y);
                columns.push_back(p->Y - 0.0009L);
                columns.push_back(p->Y + 0.002L);
            }
            for (Extended y = y0 - 55; y <= y0 + 55; y += 1.0L)
                columns.push_back(y);
            for (const Extended x : rows) {
                grid.Row(x);
                for (const Extended y : columns) {
                    ++total;
                    if (grid.Inside(y) != PointInPolygon(contour, x, y))
                        ADD_FAILURE() << "row " << double(x) << ", point " << double(y);
                }
            }
            fast += grid.FastAnswers();
        }
    }
    // Most points are answered by the rows themselves, or the test proves little.
    EXPECT_GT(fast, total / 2);
}

TEST(GridContour, FewerThanThreeNodesHoldNothing)
{
    TGeoPoints two;
    two.AddPoint(0, 0);
    two.AddPoint(10, 10);
    TGridContour grid(two);
    grid.Row(5);
    EXPECT_FALSE(grid.Inside(5));
    EXPECT_EQ(grid.Inside(5), PointInPolygon(two, 5, 5));
}
