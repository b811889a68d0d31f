// The outline of an area: every contour laid side by side with the area sign's segment
// pictures and its corner picture, and what the interior of the area needs from the
// outer contour collected on the way (extent, points, direction classes, the two marked
// stretches that the slope hatching runs between).
#include "semantics/signs/Symbols.h"

#include "foundation/ErrorTrail.h"
#include "foundation/GeoDataObjects.h"
#include "foundation/GeoServ.h"

#include <cmath>

namespace {

const char* const Module = "Symbols";

// The stretch of nodes marked `mark`, walked cyclically from the first node: it begins
// at the first marked node, runs through the marked ones and ends with the first node
// after them that carries another mark, which belongs to it. backwards: each node goes
// in front. Returns the stretch's length.
Extended CollectChain(const TGPolygonNodes& nodes, std::uint8_t mark, bool backwards, TGeoPoints& chain)
{
    const int n = nodes.GetCount();
    bool inside = false;
    for (int step = 0; step < 2 * n; ++step) {
        const RGPolygonNode& node = *nodes.At(step % n);
        if (!inside && node.SegmentType != mark)
            continue;
        inside = true;
        if (backwards) {
            chain.InsertItem(0);
            chain.Item->X = node.Position.X;
            chain.Item->Y = node.Position.Y;
        } else {
            chain.AddPoint(node.Position.X, node.Position.Y);
        }
        if (node.SegmentType != mark)
            break;
    }
    Extended length = 0;
    for (int i = 1; i < chain.GetCount(); ++i) {
        Extended d = 0;
        TGeoAngle a = 0;
        OGZ(chain.At(i - 1)->X, chain.At(i - 1)->Y, chain.At(i)->X, chain.At(i)->Y, d, a);
        length += d;
    }
    return length;
}

}  // namespace

void TSymbols::TOutlineState::Clear()
{
    OuterPoints.DeleteAll();
    InnerPoints.DeleteAll();
    Directions.DeleteAll();
    ChainI.DeleteAll();
    ChainII.DeleteAll();
    ChainILength = ChainIILength = 0;
    HasExtent = false;
    MinX = MinY = MaxX = MaxY = 0;
}

bool TSymbols::RenderPolygonLine(RGPolygon* Polygon)
{
    TTrailGuard guard(Module, "function TSymbols.RenderPolygonLine(const Polygon:PGPolygon):boolean;");
    Outline.Clear();
    ObjKind = lmPolygon;
    const RVpGPolygon* found = VpGPolygons.Item;
    if (!Polygon || !found)
        return false;
    const RVpGPolygon& sign = *found;
    RGPolygon& polygon = *Polygon;
    const bool collect = VpGPolygons.NeedExtCalc();
    const Extended m = SignMetresPerMM();
    PatternPictures = 0;
    TurnStart = TurnEnd = 180;
    bool walked = false;
    bool typeI = false;
    bool typeII = false;
    TVpLayers corners;   // one contour's corner pictures, drawn over its outline

    const auto walk = [&](const TGPolygonNodes& nodes, TGeoPoints* points, bool outer) {
        const int n = nodes.GetCount();
        bool first = true;
        std::uint8_t kind = 0;   // the kind whose pattern the phase belongs to
        for (int i = 0; i < n; ++i) {
            const RGPolygonNode& A = *nodes.At(i);
            const RGPolygonNode& B = *nodes.At((i + 1) % n);
            // Only a side of no length is left out: a contour closed by a repeated node,
            // or one that passes a node twice, keeps every side it shows.
            if (A.Position.X == B.Position.X && A.Position.Y == B.Position.Y)
                continue;
            Extended d = 0;
            TGeoAngle a = 0;
            OGZ(A.Position.X, A.Position.Y, B.Position.X, B.Position.Y, d, a);
            SetSegment(d, a);
            if (outer) {
                if (!Outline.HasExtent) {
                    Outline.HasExtent = true;
                    Outline.MinX = Outline.MaxX = A.Position.X;
                    Outline.MinY = Outline.MaxY = A.Position.Y;
                }
                Outline.MinX = std::min(Outline.MinX, A.Position.X);
                Outline.MaxX = std::max(Outline.MaxX, A.Position.X);
                Outline.MinY = std::min(Outline.MinY, A.Position.Y);
                Outline.MaxY = std::max(Outline.MaxY, A.Position.Y);
            }
            if (collect) {
                points->AddPoint(A.Position.X, A.Position.Y);
                if (outer) {
                    Outline.Directions.AddSegment(a, d);
                    typeI = typeI || A.SegmentType == 1;
                    typeII = typeII || A.SegmentType == 2;
                }
            }
            if (A.CornerPicture == 0 && sign.Corners.GetCount() > 0)
                RenderPic(&sign.Corners, &corners, 0, A.Position.X, A.Position.Y);

            const Extended shift = A.SignShift >= 0 ? A.SignShift * m : -1;
            if (first) {
                first = false;
                kind = A.SegmentStyle;
                Phase = shift >= 0 ? shift : 0;
            }
            if (A.SegmentStyle != 0 && A.SegmentStyle != 1)
                continue;   // hidden
            const TVpLayers& pic = A.SegmentStyle == 0 ? sign.Piece1 : sign.Piece2;
            if (pic.HasOwnLine) {
                AddPlainStroke(polygon.Picture, pic, A.Position, B.Position);
                continue;
            }
            const Extended L = m * (A.SegmentStyle == 0 ? sign.Piece1Length : sign.Piece2Length);
            if (!(L >= MinPatternLength))
                continue;
            if (shift >= 0)
                Phase = shift;
            if (A.SegmentStyle != kind) {
                // The other picture starts afresh at this node.
                Phase = shift >= 0 ? shift : 0;
                kind = A.SegmentStyle;
            }
            PicLength = L;
            LayPattern(polygon.Picture, &pic, nullptr, A.Position, B.Position, d, a, false);
        }
        while (corners.GoFirstItem())
            polygon.Picture.AddItem(corners.Extract());
        walked = true;
    };

    if (polygon.Nodes.GetCount() >= 3)
        walk(polygon.Nodes, &Outline.OuterPoints, true);
    for (const auto& hole : polygon.Holes) {
        if (hole->Nodes.GetCount() < 3)
            continue;
        Outline.InnerPoints.AddItem();
        walk(hole->Nodes, &Outline.InnerPoints.Item->Points, false);
    }

    if (collect && typeI && typeII) {
        Outline.ChainILength = CollectChain(polygon.Nodes, 1, false, Outline.ChainI);
        Outline.ChainIILength = CollectChain(polygon.Nodes, 2, true, Outline.ChainII);
    }
    return walked;
}
