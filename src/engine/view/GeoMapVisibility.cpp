// Which objects a drawing pass touches: the tests of the current raster, point, line,
// polygon and text against the drawing area, with the counts of the last drawing. They
// run for every object of the plan at every drawing, so they walk the nodes directly
// (no cursor moves) and skip the segment tests that cannot succeed.
#include "engine/GeoMap.h"

#include "foundation/GeoDataObjectsPolygons.h"
#include "foundation/GeoServ.h"

#include <array>

namespace {

struct TArea {
    Extended XMin, YMin, XMax, YMax;

    bool Holds(const TGeoPoint& p) const
    {
        return XMin <= p.X && p.X <= XMax && YMin <= p.Y && p.Y <= YMax;
    }

    // Both ends beyond one edge: the segment cannot meet the area's boundary at all.
    bool BeyondOneEdge(const TGeoPoint& a, const TGeoPoint& b) const
    {
        return (a.X < XMin && b.X < XMin) || (a.X > XMax && b.X > XMax) ||
               (a.Y < YMin && b.Y < YMin) || (a.Y > YMax && b.Y > YMax);
    }

    // The four edges, each as its two corners.
    std::array<std::array<TGeoPoint, 2>, 4> Edges() const
    {
        const TGeoPoint sw = GeoPoint(XMin, YMin), nw = GeoPoint(XMax, YMin);
        const TGeoPoint ne = GeoPoint(XMax, YMax), se = GeoPoint(XMin, YMax);
        return {{{sw, nw}, {nw, ne}, {ne, se}, {se, sw}}};
    }
};

TArea AreaOf(const TGeoPoint& min, const TGeoPoint& max)
{
    return TArea{min.X, min.Y, max.X, max.Y};
}

bool StatusBetween(TIntersectStatus s, int low, int high)
{
    return int(s) >= low && int(s) <= high;
}

// Whether the segment a-b crosses an edge of the area with status 4 or 5.
bool CrossesEdge(const TArea& area, const TGeoPoint& a, const TGeoPoint& b)
{
    if (area.BeyondOneEdge(a, b))
        return false;
    for (const auto& edge : area.Edges()) {
        Extended xr = 0, yr = 0;
        const TIntersectStatus s = RangeLineIntersect(a.X, a.Y, b.X, b.Y, edge[0].X, edge[0].Y,
                                                      edge[1].X, edge[1].Y, xr, yr);
        if (StatusBetween(s, isCross, isEndCross))
            return true;
    }
    return false;
}

}  // namespace

bool TGeoMap::PointInDrawArea(const TGeoPoint& P) const
{
    return AreaOf(DrawAreaMin, DrawAreaMax).Holds(P);
}

bool TGeoMap::PointInWindow(const TGeoPoint& P) const
{
    return AreaOf(WindowMin, WindowMax).Holds(P);
}

bool TGeoMap::PointVisible()
{
    const bool visible = HasCurrentPoint() && PointInDrawArea(Pages.Item->Layers.Item->Points.Item->Position);
    ++(visible ? DrawnCount : SkippedCount);
    return visible;
}

bool TGeoMap::TextVisible()
{
    const bool visible = HasCurrentText() && PointInDrawArea(Pages.Item->Layers.Item->Texts.Item->Position);
    ++(visible ? DrawnCount : SkippedCount);
    return visible;
}

bool TGeoMap::RastrVisible()
{
    bool visible = false;
    if (HasCurrentRastr()) {
        const RGRastr& r = *Pages.Item->Rastrs.Item;
        const TArea area = AreaOf(DrawAreaMin, DrawAreaMax);
        const TArea rastr = AreaOf(r.BottomLeft, r.TopRight);
        const auto rastrEdges = rastr.Edges();
        const auto areaEdges = area.Edges();
        for (const auto& edge : rastrEdges)
            visible = visible || area.Holds(edge[0]);
        for (const auto& edge : areaEdges)
            visible = visible || rastr.Holds(edge[0]);
        // Coinciding lines (status 2) count here, so no edge is skipped before the test.
        for (const auto& a : rastrEdges) {
            for (const auto& b : areaEdges) {
                if (visible)
                    break;
                Extended xr = 0, yr = 0;
                visible = StatusBetween(RangeLineIntersect(a[0].X, a[0].Y, a[1].X, a[1].Y, b[0].X,
                                                           b[0].Y, b[1].X, b[1].Y, xr, yr),
                                        isCollinear, isEndCross);
            }
        }
    }
    ++(visible ? DrawnCount : SkippedCount);
    return visible;
}

bool TGeoMap::LineVisible()
{
    bool visible = false;
    if (DrawDest == ddPrinter || DrawDest == ddRaster) {
        visible = true;
    } else if (HasCurrentLine()) {
        const TGLineNodes& nodes = Pages.Item->Layers.Item->Lines.Item->Nodes;
        const TArea area = AreaOf(DrawAreaMin, DrawAreaMax);
        for (const auto& n : nodes) {
            if (area.Holds(n->Position)) {
                visible = true;
                break;
            }
        }
        // Open: the segment from the last node back to the first is no part of a line.
        for (int i = 1, count = nodes.GetCount(); !visible && i < count; ++i)
            visible = CrossesEdge(area, nodes.At(i - 1)->Position, nodes.At(i)->Position);
    }
    ++(visible ? DrawnCount : SkippedCount);
    return visible;
}

bool TGeoMap::PolygonVisible()
{
    bool visible = false;
    if (HasCurrentPolygon() && Pages.Item->Layers.Item->Polygons.Item->Nodes.GetCount() > 0) {
        const TGPolygonNodes& nodes = Pages.Item->Layers.Item->Polygons.Item->Nodes;
        const TArea area = AreaOf(DrawAreaMin, DrawAreaMax);
        for (const auto& n : nodes) {
            if (area.Holds(n->Position)) {
                visible = true;
                break;
            }
            ++SkippedCount;
        }
        const int count = nodes.GetCount();
        for (int i = 0; !visible && i < count; ++i)
            visible = CrossesEdge(area, nodes.At(i)->Position, nodes.At((i + 1) % count)->Position);
        // A contour around the whole area, a lake or a forest zoomed into, is visible too:
        // its fill covers the picture.
        if (!visible)
            visible = PointInGPolygon(nodes, (area.XMin + area.XMax) / 2, (area.YMin + area.YMax) / 2);
    }
    ++(visible ? DrawnCount : SkippedCount);
    return visible;
}
