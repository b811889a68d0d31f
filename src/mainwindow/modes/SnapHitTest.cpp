#include "mainwindow/modes/SnapHitTest.h"

#include "foundation/GeoDataObjectsPolygons.h"
#include "foundation/GeoServ.h"

#include <cmath>
#include <cstdlib>

int HalfSquare(int radius)
{
    return int(std::nearbyint(radius / 2.0));
}

bool SnapAdmits(TMouseMode mode, const RFAPoint& node)
{
    if (mode == mmSetStamp || mode == mmCoordLabels)
        return node.Semantics == GridNodeText;
    if (mode == mmTraceContour)
        return node.ObjectKind == 0;
    return true;
}

bool FindSnapCandidate(const TFAPoints& nodes, TMouseMode mode, int snapRadius, QPoint cursor,
                       const TGeoPoint& cursorPlan, TFindGeoPoint& best)
{
    const int h = HalfSquare(snapRadius);
    bool found = false;
    for (int i = 0; i < nodes.GetCount(); ++i) {
        const RFAPoint& node = *nodes.At(i);
        // Differences in 64 bits: a far-off node's pixel cannot overflow them.
        if (std::llabs(std::int64_t(cursor.x()) - node.ScreenX) > h ||
            std::llabs(std::int64_t(cursor.y()) - node.ScreenY) > h)
            continue;
        if (!SnapAdmits(mode, node))
            continue;
        Extended distance = 0;
        Dist(node.PlanPoint, cursorPlan, distance);
        if (found && !(distance < best.Distance))
            continue;   // the earlier one keeps an equal distance
        best.Plan = node.PlanPoint;
        best.Screen = QPoint(node.ScreenX, node.ScreenY);
        best.Distance = distance;
        best.Text = node.Semantics;
        best.Kind = node.ObjectKind;
        found = true;
    }
    return found;
}

TGeoRect TPickView::PickSquare(QPoint at) const
{
    const int h = HalfSquare(PickRadius);
    return {ToPlan(QPoint(at.x() - h, at.y() - h)), ToPlan(QPoint(at.x() + h, at.y() - h)),
            ToPlan(QPoint(at.x() + h, at.y() + h)), ToPlan(QPoint(at.x() - h, at.y() + h))};
}

bool TPickView::NodeUnderCursor(const TGeoPoint& node, const TGeoPoint& cursorPlan) const
{
    return PointInGeoRect(PickSquare(ToScreen(node)), cursorPlan.X, cursorPlan.Y);
}

bool TPickView::SegmentUnderCursor(const TGeoPoint& a, const TGeoPoint& b, QPoint cursor) const
{
    // A segment wholly inside the square is under the cursor too: a short one would
    // otherwise never be.
    const TGeoRect square = PickSquare(cursor);
    return PointInGeoRect(square, a.X, a.Y) || SegmentCrossesGeoRect(a, b, square);
}

namespace {

bool Contains(const RFindedObjRegion& region, const TGeoPoint& p)
{
    return PointInPolygon(region.Outline, p.X, p.Y);
}

// The first caption region after the first region that holds the cursor.
bool CaptionUnderCursor(const RFindedObject& object, const TGeoPoint& cursorPlan, TPartUnderCursor& part)
{
    for (int r = 1; r < object.Regions.GetCount(); ++r) {
        const RFindedObjRegion& region = *object.Regions.At(r);
        if (region.IsCaption == 1 && Contains(region, cursorPlan)) {
            part = {4, r, region.Number};
            return true;
        }
    }
    return false;
}

// The first node of the outline under the cursor.
int NodeUnderCursor(const TGeoPoints& outline, const TPickView& view, const TGeoPoint& cursorPlan)
{
    for (int i = 0; i < outline.GetCount(); ++i)
        if (view.NodeUnderCursor(*outline.At(i), cursorPlan))
            return i;
    return -1;
}

}  // namespace

TPartUnderCursor FindPartOfObject(const RFindedObject& object, const TPickView& view,
                                  const TGeoPoint& cursorPlan, QPoint cursor, bool shift,
                                  const TPartUnderCursor& previous)
{
    TPartUnderCursor part;
    const RFindedObjRegion* first = object.Regions.At(0);
    const auto nothing = [&] { return TPartUnderCursor{0, previous.Contour, previous.Index}; };
    if (!first)
        return nothing();
    switch (object.Kind) {
    case fkRastr:
    case fkText:
        if (Contains(*first, cursorPlan))
            return {3, -1, -1};
        break;
    case fkPoint:
        if (first->Outline.GetCount() > 0 && view.NodeUnderCursor(*first->Outline.At(0), cursorPlan))
            return {3, -1, -1};
        if (CaptionUnderCursor(object, cursorPlan, part))
            return part;
        break;
    case fkLine: {
        const int node = NodeUnderCursor(first->Outline, view, cursorPlan);
        if (node >= 0)
            return {1, 0, node};
        if (CaptionUnderCursor(object, cursorPlan, part))
            return part;
        const std::uint8_t segmentPart = shift ? 2 : 3;
        if (object.Track.GetCount() == 0) {
            for (int i = 0; i + 1 < first->Outline.GetCount(); ++i)
                if (view.SegmentUnderCursor(*first->Outline.At(i), *first->Outline.At(i + 1), cursor))
                    return {segmentPart, 0, i};
        } else {
            for (int i = 0; i + 1 < object.Track.GetCount(); ++i)
                if (view.SegmentUnderCursor(object.Track.At(i)->Point, object.Track.At(i + 1)->Point, cursor))
                    return {segmentPart, 0, object.Track.At(i)->NodeIndex};
        }
        break;
    }
    case fkPolygon: {
        for (int r = 0; r < object.Regions.GetCount(); ++r) {
            const RFindedObjRegion& region = *object.Regions.At(r);
            if (region.IsCaption != 0)
                continue;
            const int node = NodeUnderCursor(region.Outline, view, cursorPlan);
            if (node >= 0)
                return {1, r, node};
        }
        if (CaptionUnderCursor(object, cursorPlan, part))
            return part;
        const TGeoPoints& outer = first->Outline;
        const int n = outer.GetCount();
        for (int i = 0; i < n && n > 1; ++i)
            if (view.SegmentUnderCursor(*outer.At(i), *outer.At((i + 1) % n), cursor))
                return {2, 0, i};
        if (Contains(*first, cursorPlan))
            return {3, 0, -1};
        break;
    }
    default:
        break;
    }
    return nothing();
}
