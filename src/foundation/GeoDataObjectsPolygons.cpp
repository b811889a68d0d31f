#include "foundation/GeoDataObjectsPolygons.h"

#include "foundation/GeoDataObjects.h"
#include "foundation/GeoServ.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* ModuleName = "GeoDataObjects";
constexpr Extended BoundaryTolerance = 0.001L;

// Uniform vertex access over the three kinds of contour.
struct TPointsContour {
    const TGeoPoints& List;
    int Count() const { return List.GetCount(); }
    const TGeoPoint& operator[](int i) const { return *List.At(i); }
};

struct TNodesContour {
    const TGPolygonNodes& List;
    int Count() const { return List.GetCount(); }
    const TGeoPoint& operator[](int i) const { return List.At(i)->Position; }
};

struct TRectContour {
    const TGeoRect& Rect;
    int Count() const { return 4; }
    const TGeoPoint& operator[](int i) const { return Rect[static_cast<std::size_t>(i)]; }
};

// Ray casting along the east axis with the pending-vertex rule: a ray that meets a
// vertex counts one crossing only when the contour passes through the ray there, that
// is when the two edges met leave the ray to opposite sides (edges along the ray are
// skipped between them).
template <class C>
bool PointInContour(const C& contour, Extended x, Extended y)
{
    const int n = contour.Count();
    if (n < 3)
        return false;
    const TGeoPoint& first = contour[0];
    if (x == first.X && y == first.Y)
        return true;
    // The ray must end beyond the whole contour, whatever the sign of the coordinates.
    Extended maxY = y;
    for (int i = 0; i < n; ++i)
        maxY = std::max(maxY, contour[i].Y);
    const Extended rayEnd = maxY + 1 + std::fabs(maxY);

    // The fill grids of area signs test thousands of points against every side, so a
    // side far from the point is passed over before the square roots and the crossing
    // are worked out. Both skips keep a wide margin over the rounding of the exact tests:
    // - the boundary test (sum of distances to the ends within the tolerance of the
    //   side's length) holds only inside an ellipse about the side whose half width is
    //   sqrt(t * length / 2 + t * t / 4); the box of the side widened by
    //   sqrt(t * (|dx| + |dy|) + t * t) holds that ellipse;
    // - the ray runs east along X = x from y, so a side wholly north or south of x, or
    //   wholly west of y, cannot meet it.
    const Extended margin = (std::fabs(x) + std::fabs(y) + 1) * 1e-12L;
    const auto farFrom = [&](const TGeoPoint& a, const TGeoPoint& b) {
        const Extended dx = std::fabs(b.X - a.X), dy = std::fabs(b.Y - a.Y);
        const Extended gapX = std::max({std::min(a.X, b.X) - x, x - std::max(a.X, b.X), Extended(0)});
        const Extended gapY = std::max({std::min(a.Y, b.Y) - y, y - std::max(a.Y, b.Y), Extended(0)});
        const Extended gap = std::max(gapX, gapY);
        const Extended reach2 = BoundaryTolerance * (dx + dy + BoundaryTolerance);
        return gap > margin && gap * gap > 2 * reach2;
    };
    const auto rayMisses = [&](const TGeoPoint& a, const TGeoPoint& b) {
        return (a.X < x - margin && b.X < x - margin) || (a.X > x + margin && b.X > x + margin) ||
               (a.Y < y - margin && b.Y < y - margin);
    };

    bool outside = true;
    int pending = 0;   // 0 none, 1 an edge left the ray to the north, 2 to the south
    const TGeoPoint* prev = &first;
    for (int k = 1; k <= n; ++k) {
        const TGeoPoint& cur = contour[k % n];
        if (x == cur.X && y == cur.Y)
            return true;
        if (!farFrom(*prev, cur) && PointInLineRange(x, y, prev->X, prev->Y, cur.X, cur.Y, BoundaryTolerance))
            return true;
        if (rayMisses(*prev, cur)) {
            prev = &cur;
            continue;
        }
        Extended xr = 0, yr = 0;
        const TIntersectStatus s =
            RangeLineIntersect(x, y, x, rayEnd, prev->X, prev->Y, cur.X, cur.Y, xr, yr);
        if (s == isCross) {
            outside = !outside;
        } else if (s == isEndCross) {
            // Which end the ray met is read from the edge's own coordinates (the ray
            // runs along X = x), never from the computed crossing, whose Y may miss the
            // vertex by a unit of the last place.
            const TGeoPoint& other = (prev->X == x) ? cur : *prev;
            const int side = other.X > x ? 1 : other.X < x ? 2 : 0;
            if (side != 0 && pending == 0) {
                pending = side;
            } else if (side != 0) {
                if (pending != side)
                    outside = !outside;   // the contour passed through the ray
                pending = 0;
            }
        }
        prev = &cur;
    }
    return !outside;
}

// Calls found(xr, yr) for every edge (closing edge last) that the segment crosses or
// touches at an end.
template <class C, class F>
void ForEachCrossing(const C& contour, Extended x1, Extended y1, Extended x2, Extended y2,
                     F found)
{
    const int n = contour.Count();
    for (int k = 0; k < n; ++k) {
        const TGeoPoint& from = contour[k];
        const TGeoPoint& to = contour[(k + 1) % n];
        Extended xr = 0, yr = 0;
        const TIntersectStatus s =
            RangeLineIntersect(from.X, from.Y, to.X, to.Y, x1, y1, x2, y2, xr, yr);
        if (s == isCross || s == isEndCross)
            found(xr, yr);
    }
}

// The nearest and farthest crossings from (x1, y1), zero distances ignored, ties
// keeping the first found. False when there is none.
template <class C>
bool NearestAndFarthest(const C& contour, Extended x1, Extended y1, Extended x2,
                        Extended y2, TGeoPoint& nearest, TGeoPoint& farthest)
{
    bool any = false;
    Extended minDist = 0, maxDist = 0;
    ForEachCrossing(contour, x1, y1, x2, y2, [&](Extended xr, Extended yr) {
        Extended d = 0;
        Dist(x1, y1, xr, yr, d);
        if (d == 0)
            return;
        if (!any || d < minDist) {
            minDist = d;
            nearest = GeoPoint(xr, yr);
        }
        if (!any || d > maxDist) {
            maxDist = d;
            farthest = GeoPoint(xr, yr);
        }
        any = true;
    });
    return any;
}

// NearestAndFarthest into the four coordinates of the two Min/Max routines.
template <class C>
bool NearestAndFarthest(const C& contour, Extended x1, Extended y1, Extended x2,
                        Extended y2, Extended& xi1, Extended& yi1, Extended& xi2, Extended& yi2)
{
    TGeoPoint nearest, farthest;
    if (!NearestAndFarthest(contour, x1, y1, x2, y2, nearest, farthest))
        return false;
    xi1 = nearest.X;
    yi1 = nearest.Y;
    xi2 = farthest.X;
    yi2 = farthest.Y;
    return true;
}

}  // namespace

bool PointInPolygon(const TGeoPoints& Polygon, Extended x, Extended y)
{
    TTrailGuard guard(ModuleName,
                      "Function: PointInPolygon(const Polygon:TGeoPoints; const x,y:Extended):boolean;",
                      TrailArg("x", x), TrailArg("y", y));
    return PointInContour(TPointsContour{Polygon}, x, y);
}

bool PointInGPolygon(const TGPolygonNodes& Polygon, Extended x, Extended y)
{
    TTrailGuard guard(ModuleName,
                      "Function: PointInGPolygon(const Polygon:TGPolygonNodes; const x,y:Extended):boolean;",
                      TrailArg("x", x), TrailArg("y", y));
    return PointInContour(TNodesContour{Polygon}, x, y);
}

bool PointInGeoRect(const TGeoRect& Rect, Extended x, Extended y)
{
    TTrailGuard guard(ModuleName,
                      "Function: PointInGeoRect(const Rect:TGeoRect; const x,y:Extended):boolean;",
                      TrailArg("x", x), TrailArg("y", y));
    return PointInContour(TRectContour{Rect}, x, y);
}

bool PointInPolygonWithHoles(const TGeoPoints& Outer, const TListGeoPoints* Holes,
                             Extended x, Extended y)
{
    TTrailGuard guard(ModuleName,
                      "Function: PointInPolygonWithHoles(const Polygon:TGeoPoints; "
                      "const Holes:TListGeoPoints; const x,y:Extended):boolean;",
                      TrailArg("x", x), TrailArg("y", y));
    if (!PointInPolygon(Outer, x, y))
        return false;
    if (!Holes)
        return true;
    for (const auto& hole : *Holes) {
        if (PointInPolygon(hole->Points, x, y))
            return false;
    }
    return true;
}

bool IntersectPolygon(const TGeoPoints& Polygon, Extended x1, Extended y1, Extended x2,
                      Extended y2, TGeoPoints& Points)
{
    TTrailGuard guard(ModuleName,
                      "Function: IntersectPolygon(const Polygon:TGeoPoints; const x1,y1,x2,y2:Extended; "
                      "var Points:TGeoPoints):boolean;",
                      TrailArg("x1", x1), TrailArg("y1", y1), TrailArg("x2", x2),
                      TrailArg("y2", y2));
    if (Polygon.GetCount() == 0)
        return false;
    Points.DeleteAll();
    ForEachCrossing(TPointsContour{Polygon}, x1, y1, x2, y2,
                    [&](Extended xr, Extended yr) { Points.AddPoint(xr, yr); });
    return Points.GetCount() > 0;
}

bool IntersectPolygon(const TGeoPoints& Polygon, Extended x1, Extended y1, Extended x2,
                      Extended y2)
{
    TTrailGuard guard(ModuleName,
                      "Function: IntersectPolygon(const Polygon:TGeoPoints; "
                      "const x1,y1,x2,y2:Extended):boolean;",
                      TrailArg("x1", x1), TrailArg("y1", y1), TrailArg("x2", x2),
                      TrailArg("y2", y2));
    bool any = false;
    ForEachCrossing(TPointsContour{Polygon}, x1, y1, x2, y2,
                    [&](Extended, Extended) { any = true; });
    return any;
}

bool MinIntersectPolygon(const TGeoPoints& Polygon, Extended x1, Extended y1, Extended x2,
                         Extended y2, Extended& xi, Extended& yi)
{
    TTrailGuard guard(ModuleName,
                      "Function: MinIntersectPolygon(const Polygon:TGeoPoints; "
                      "const x1,y1,x2,y2:Extended; var xi,yi:Extended):boolean;",
                      TrailArg("x1", x1), TrailArg("y1", y1), TrailArg("x2", x2),
                      TrailArg("y2", y2));
    TGeoPoint nearest, farthest;
    if (!NearestAndFarthest(TPointsContour{Polygon}, x1, y1, x2, y2, nearest, farthest))
        return false;
    xi = nearest.X;
    yi = nearest.Y;
    return true;
}

bool MinMaxIntersectPolygon(const TGeoPoints& Polygon, Extended x1, Extended y1,
                            Extended x2, Extended y2, Extended& xi1, Extended& yi1,
                            Extended& xi2, Extended& yi2)
{
    TTrailGuard guard(ModuleName,
                      "Function: MinMaxIntersectPolygon(const Polygon:TGeoPoints; "
                      "const x1,y1,x2,y2:Extended; var xi1,yi1,xi2,yi2:Extended):boolean;",
                      TrailArg("x1", x1), TrailArg("y1", y1), TrailArg("x2", x2),
                      TrailArg("y2", y2));
    return NearestAndFarthest(TPointsContour{Polygon}, x1, y1, x2, y2, xi1, yi1, xi2, yi2) &&
           !(xi1 == xi2 && yi1 == yi2);
}

bool MinMaxIntersectPolygon(const TGeoRect& Polygon, Extended x1, Extended y1, Extended x2,
                            Extended y2, Extended& xi1, Extended& yi1, Extended& xi2,
                            Extended& yi2)
{
    TTrailGuard guard(ModuleName,
                      "Function: MinMaxIntersectPolygon(const Polygon:TGeoRect; "
                      "const x1,y1,x2,y2:Extended; var xi1,yi1,xi2,yi2:Extended):boolean;",
                      TrailArg("x1", x1), TrailArg("y1", y1), TrailArg("x2", x2),
                      TrailArg("y2", y2));
    return NearestAndFarthest(TRectContour{Polygon}, x1, y1, x2, y2, xi1, yi1, xi2, yi2);
}

void RangePointsInLine(const TGeoPoints& Points, Extended x1, Extended y1, Extended x2,
                       Extended y2, Extended& Xmin, Extended& Ymin, Extended& Xmax,
                       Extended& Ymax)
{
    TTrailGuard guard(ModuleName,
                      "Procedure: RangePointsInLine(const Points:TGeoPoints; "
                      "const x1,y1,x2,y2:Extended; var Xmin,Ymin,Xmax,Ymax:Extended);",
                      TrailArg("x1", x1), TrailArg("y1", y1), TrailArg("x2", x2),
                      TrailArg("y2", y2));
    if (Points.GetCount() == 0)
        return;
    Extended minDist = 0, maxDist = 0;
    for (int i = 0; i < Points.GetCount(); ++i) {
        const TGeoPoint& p = *Points.At(i);
        Extended d = 0;
        Dist(x1, y1, p.X, p.Y, d);
        if (i == 0 || d < minDist) {
            minDist = d;
            Xmin = p.X;
            Ymin = p.Y;
        }
        if (i == 0 || d > maxDist) {
            maxDist = d;
            Xmax = p.X;
            Ymax = p.Y;
        }
    }
}

bool LongestInnerChord(const TGeoPoints& Outer, const TListGeoPoints* Holes,
                       const TGeoPoints& Pts, Extended& Xc, Extended& Yc, Extended& XMin,
                       Extended& YMin, Extended& XMax, Extended& YMax)
{
    TTrailGuard guard(ModuleName,
                      "Function: LongestInnerChord(const Polygon:TGeoPoints; const Holes:TListGeoPoints; "
                      "const Pts:TGeoPoints; var Xc,Yc,XMin,YMin,XMax,YMax:Extended):boolean;");
    if (Pts.GetCount() < 2)
        return false;
    bool accepted = false;
    Extended acceptedLength = 0;
    TGeoPoint p1, p2, middle;
    for (int i = 0; i + 1 < Pts.GetCount(); ++i) {
        const TGeoPoint& p = *Pts.At(i);
        const TGeoPoint& q = *Pts.At(i + 1);
        const TGeoPoint m = GeoPoint((p.X + q.X) / 2, (p.Y + q.Y) / 2);
        Extended length = 0;
        Dist(p, q, length);
        // Until a chord is accepted the latest one stands, accepted or not.
        const bool better = (!accepted || length > acceptedLength) &&
                            PointInPolygonWithHoles(Outer, Holes, m.X, m.Y);
        if (better || !accepted) {
            p1 = p;
            p2 = q;
            middle = m;
        }
        if (better) {
            accepted = true;
            acceptedLength = length;
        }
    }
    Xc = middle.X;
    Yc = middle.Y;
    XMin = std::min(p1.X, p2.X);
    YMin = std::min(p1.Y, p2.Y);
    XMax = std::max(p1.X, p2.X);
    YMax = std::max(p1.Y, p2.Y);
    return accepted;
}
