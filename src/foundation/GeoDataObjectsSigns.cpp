#include "foundation/GeoDataObjectsSigns.h"

namespace {

// Appends every point of source to target, walking source with its cursor.
void CopyPoints(TGeoPoints& source, TGeoPoints& target)
{
    if (!source.GoFirstItem())
        return;
    do {
        target.AddItem();
        *target.Item = *source.Item;
    } while (source.GoNextItem());
}

}  // namespace

bool TVpLayers::AddLayer(RVpLayer& layer)
{
    TTrailGuard guard("GeoDataObjects", "Function: TVpLayers.AddLayer(const Layer:PVpLayer):boolean;",
                      TrailArg("Layer", &layer));
    AddItem();
    RVpLayer& copy = *Item;
    if (layer.Polygons.GoFirstItem()) {
        do {
            const RVpPolygon& s = *layer.Polygons.Item;
            copy.Polygons.AddItem();
            RVpPolygon& d = *copy.Polygons.Item;
            static_cast<TVpPen&>(d) = s;
            static_cast<TVpFill&>(d) = s;
            CopyPoints(layer.Polygons.Item->Points, d.Points);
            for (const auto& ring : layer.Polygons.Item->Holes) {
                d.Holes.AddItem();
                CopyPoints(ring->Points, d.Holes.Item->Points);
            }
        } while (layer.Polygons.GoNextItem());
    }
    if (layer.Circles.GoFirstItem()) {
        do {
            copy.Circles.AddItem();
            *copy.Circles.Item = *layer.Circles.Item;
        } while (layer.Circles.GoNextItem());
    }
    if (layer.Lines.GoFirstItem()) {
        do {
            copy.Lines.AddItem();
            *copy.Lines.Item = *layer.Lines.Item;
        } while (layer.Lines.GoNextItem());
    }
    if (layer.Polylines.GoFirstItem()) {
        do {
            copy.Polylines.AddItem();
            RVpPolyline& d = *copy.Polylines.Item;
            static_cast<TVpPen&>(d) = *layer.Polylines.Item;
            CopyPoints(layer.Polylines.Item->Points, d.Points);
        } while (layer.Polylines.GoNextItem());
    }
    if (layer.Texts.GoFirstItem()) {
        do {
            const RVpText& s = *layer.Texts.Item;
            copy.Texts.AddItem();
            RVpText& d = *copy.Texts.Item;
            d.StyleName = s.StyleName;
            d.Angle = s.Angle;
            d.Text = s.Text;
            d.Position = s.Position;
            d.OwnStyle = CopyStyle(s.OwnStyle);
        } while (layer.Texts.GoNextItem());
    }
    return true;
}

bool TVpGPolygons::NeedExtCalc() const
{
    const RVpGPolygon* s = Item;
    if (!s)
        return false;
    const auto styled = [](const TVpLayers& picture, std::uint8_t style) {
        return picture.GetCount() > 0 && style != 0;
    };
    return s->Fill1.GetCount() > 0 || s->Fill2.GetCount() > 0 || s->Fill3.GetCount() > 0 ||
           s->Center.GetCount() > 0 || styled(s->Diagonals1, s->Diagonals1Style) ||
           styled(s->Diagonals2, s->Diagonals2Style) || styled(s->Cross1, s->Cross1Style) ||
           styled(s->Cross2, s->Cross2Style) || s->Captions.GetCount() > 0;
}
