// Fill-grid contour tests by rows; see SymbolsGridContour.h. Why the fast answer is the
// plain one: PointInPolygon casts a ray from (x, y) along X = x towards growing Y and
// counts the sides it crosses, with a vertex met by the ray handled by the pending
// rule, and counts a point within its boundary tolerance (0.001 of the sum of the
// distances to a side's ends over the side's length) as inside. A row whose line keeps
// RayMargin from every node has no vertex on the ray and no side along it, so every
// side either crosses the line clearly between its ends or misses it; a point whose
// sums keep BoundaryMargin (ten times the tolerance) over every side is far from the
// boundary test and from every crossing. For such a point the plain test counts the
// crossings beyond y, which is what Inside counts.
#include "semantics/signs/SymbolsGridContour.h"

#include "foundation/GeoDataObjectsPolygons.h"
#include "foundation/GeoServ.h"

#include <algorithm>
#include <cmath>

namespace {

// The plain test's boundary tolerance and the margins kept over it: ten times the
// tolerance, and a millimetre between a row's line and any node (the plain test passes
// over sides within a few millionths of a metre of its ray, plan coordinates being
// millions of metres, and leaves the rest to the crossing).
constexpr Extended BoundaryTolerance = 0.001L;
constexpr Extended BoundaryMargin = 10 * BoundaryTolerance;
constexpr Extended RayMargin = 0.001L;

}  // namespace

TGridContour::TGridContour(const TGeoPoints& contour) : Contour(contour)
{
    const int n = contour.GetCount();
    if (n < 3)
        return;
    Sides.reserve(std::size_t(n));
    Extended longest = 0;
    for (int k = 0; k < n; ++k) {
        const TGeoPoint& a = *contour.At(k);
        const TGeoPoint& b = *contour.At((k + 1) % n);
        Sides.push_back({a, b, std::min(a.X, b.X), std::max(a.X, b.X)});
        longest = std::max(longest, std::fabs(b.X - a.X) + std::fabs(b.Y - a.Y));
    }
    // Where the sum of the distances to a side's ends exceeds its length by at most
    // BoundaryMargin, the point is within sqrt(m * (|dx| + |dy|) + m * m) of the side's
    // box; twice that, and a metre more, keeps every such point of a row among the sides
    // taken for it.
    Reach = 2 * std::sqrt(BoundaryMargin * (longest + BoundaryMargin)) + 1;
}

void TGridContour::Row(Extended x)
{
    X = x;
    Near.clear();
    Crossings.clear();
    Plain = Sides.empty() || !std::isfinite(x);
    if (Plain)
        return;
    for (const TSide& s : Sides) {
        if (s.MaxX < x - Reach || s.MinX > x + Reach)
            continue;
        Near.push_back(&s);
        if (std::fabs(s.A.X - x) <= RayMargin || std::fabs(s.B.X - x) <= RayMargin) {
            Plain = true;
            return;
        }
        if (s.MinX < x && s.MaxX > x)
            Crossings.push_back(s.A.Y + (x - s.A.X) * (s.B.Y - s.A.Y) / (s.B.X - s.A.X));
    }
    std::sort(Crossings.begin(), Crossings.end());
}

bool TGridContour::Inside(Extended y) const
{
    if (Plain)
        return PointInPolygon(Contour, X, y);
    for (const TSide* s : Near) {
        Extended toStart = 0, toEnd = 0, length = 0;
        Dist(X, y, s->A.X, s->A.Y, toStart);
        Dist(X, y, s->B.X, s->B.Y, toEnd);
        Dist(s->A.X, s->A.Y, s->B.X, s->B.Y, length);
        if (!(toStart + toEnd - length > BoundaryMargin))
            return PointInPolygon(Contour, X, y);
    }
    ++Fast;
    const auto beyond = Crossings.end() - std::upper_bound(Crossings.begin(), Crossings.end(), y);
    return beyond % 2 == 1;
}
