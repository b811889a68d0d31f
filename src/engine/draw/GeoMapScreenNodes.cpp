// The candidates the main window snaps the mouse to: the nodes of what the window shows
// and the nodes of the coordinate grid, each with its pixel in the window.
#include "engine/GeoMap.h"
#include "engine/draw/CoordGrid.h"

#include "foundation/ErrorTrail.h"

namespace {

const QString GridNodeName = QStringLiteral("Координатная сетка");

// Walks a cursor list from its first item to its last, the cursor on each in turn, with
// the item's 0-based index.
template <class L, class F>
void WalkIndexed(L& list, F f)
{
    int index = 0;
    for (bool more = list.GoFirstItem(); more; more = list.GoNextItem())
        f(*list.Item, index++);
}

}  // namespace

void TGeoMap::FindScreenNodes()
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.FindScreenNodes;");
    ScreenNodes.DeleteAll();
    const auto add = [this](const QString& semantics, const TGeoPoint& at, int page, int layer, int object,
                            std::uint8_t kind) {
        auto node = std::make_unique<RFAPoint>();
        node->Semantics = semantics;
        node->PlanPoint = at;
        // Window pixels: the transform of the window's height, without the scroll offset.
        GeoToScr(DrawH, at.X, at.Y, node->ScreenX, node->ScreenY);
        node->PageIndex = page;
        node->LayerIndex = layer;
        node->ObjectIndex = object;
        node->ObjectKind = kind;
        ScreenNodes.AddItem(std::move(node));
    };

    WalkIndexed(Pages, [&](RGPage& page, int pageIndex) {
        if (!page.Visible)
            return;
        WalkIndexed(page.Layers, [&](RGLayer& layer, int layerIndex) {
            if (!layer.Visible)
                return;
            const auto nodes = [&](const auto& list, const QString& semantics, int index, std::uint8_t kind) {
                for (const auto& n : list)
                    if (PointInWindow(n->Position))
                        add(semantics, n->Position, pageIndex, layerIndex, index, kind);
            };
            // A polygon's inner contours, lines and points are the polygon's nodes.
            WalkIndexed(layer.Polygons, [&](RGPolygon& o, int index) {
                nodes(o.Nodes, o.Semantics, index, 2);
                for (const auto& hole : o.Holes)
                    nodes(hole->Nodes, o.Semantics, index, 2);
                for (const auto& line : o.InnerLines)
                    nodes(line->Nodes, o.Semantics, index, 2);
                nodes(o.InnerPoints, o.Semantics, index, 2);
            });
            WalkIndexed(layer.Lines, [&](RGLine& o, int index) { nodes(o.Nodes, o.Semantics, index, 1); });
            WalkIndexed(layer.Points, [&](RGPoint& o, int index) {
                if (PointInWindow(o.Position))
                    add(o.Semantics, o.Position, pageIndex, layerIndex, index, 0);
            });
        });
    });

    // The grid's nodes, shown or not, while the grid would be drawn at this scale.
    const std::int64_t step = GridStep(MapProp.Scale);
    if (OutputScale == 0 || MapProp.Scale == 0 || Extended(OutputScale) / MapProp.Scale > 8 || step == 0)
        return;
    ForEachGridNode(WindowMin.X, WindowMin.Y, WindowMax.X, WindowMax.Y, step, true,
                    [&](std::int64_t X, std::int64_t Y) {
                        add(GridNodeName, GeoPoint(Extended(X), Extended(Y)), -1, -1, -1, 0);
                    });
}
