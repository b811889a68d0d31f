// The contour tests of an area's fill grids, row by row: every candidate of a grid row
// lies on one line X = x, so the sides that line meets are found once a row and each
// candidate is answered from them. The answer is PointInPolygon's, taken from it
// whenever the candidate or the row comes near enough to the contour for the rounding
// or the boundary tolerance of the plain test to matter.
#pragma once

#include "foundation/GeoDataObjectsCoords.h"

#include <vector>

class TGridContour {
public:
    // Keeps a link to contour, which must outlive this and stay unchanged.
    explicit TGridContour(const TGeoPoints& contour);

    // Makes x the row's line for the next Inside calls.
    void Row(Extended x);
    // PointInPolygon(contour, x, y) for the row's x: true inside or on the contour.
    bool Inside(Extended y) const;

    // Points answered without the plain test since the contour was taken (tests).
    long long FastAnswers() const { return Fast; }

private:
    struct TSide {
        TGeoPoint A, B;
        Extended MinX, MaxX;
    };
    const TGeoPoints& Contour;   // link, not owned
    std::vector<TSide> Sides;
    Extended Reach = 0;          // how far from a side in X the boundary test may still hold
    // The row: its line, whether the row is answered by the plain test alone (a node on
    // or next to its line), the sides within Reach of it and where the sides that
    // cross it meet it, in ascending Y.
    Extended X = 0;
    bool Plain = true;
    std::vector<const TSide*> Near;
    std::vector<Extended> Crossings;
    mutable long long Fast = 0;
};
