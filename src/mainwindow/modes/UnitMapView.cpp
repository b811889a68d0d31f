// The view history of the surface: every zoom rectangle and every pan becomes a view
// record of the plan, which is then drawn.
#include "mainwindow/UnitMap.h"

#include "engine/GeoMap.h"
#include "mainwindow/modes/MapViews.h"

#include <algorithm>
#include <cmath>

void AppendMapView(TGeoMap& map, Extended xMin, Extended yMin, Extended xMax, Extended yMax)
{
    auto view = std::make_unique<RMapView>();
    view->ViewXMin = xMin;
    view->ViewYMin = yMin;
    view->ViewXMax = xMax;
    view->ViewYMax = yMax;
    view->FactorX = map.FactorX;
    view->FactorY = map.FactorY;
    map.MapViews.AddItem(std::move(view));
}

void AppendMapView(TGeoMap& map, const TGeoPoint& a, const TGeoPoint& b)
{
    AppendMapView(map, std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y));
}

namespace {

// Adds the frame's corners to the rectangle; a frame never measured (four equal corners)
// adds nothing.
void AddFrame(const TGeoRect& frame, TGeoPoint& lo, TGeoPoint& hi, bool& grew)
{
    if (std::all_of(frame.begin(), frame.end(), [&](const TGeoPoint& p) {
            return p.X == frame[0].X && p.Y == frame[0].Y;
        }))
        return;
    for (const TGeoPoint& p : frame) {
        if (!std::isfinite(double(p.X)) || !std::isfinite(double(p.Y)))
            continue;
        if (p.X < lo.X) { lo.X = p.X; grew = true; }
        if (p.Y < lo.Y) { lo.Y = p.Y; grew = true; }
        if (p.X > hi.X) { hi.X = p.X; grew = true; }
        if (p.Y > hi.Y) { hi.Y = p.Y; grew = true; }
    }
}

void AddTexts(const TGTexts& texts, TGeoPoint& lo, TGeoPoint& hi, bool& grew)
{
    for (const auto& t : texts)
        if (t->FrameValid && !t->Text.isEmpty())
            AddFrame(t->Frame, lo, hi, grew);
}

void AddCaptions(const TAutoTexts& captions, TGeoPoint& lo, TGeoPoint& hi, bool& grew)
{
    for (const auto& c : captions)
        if (!c->Hidden && !c->Text.isEmpty())
            AddFrame(c->Frame, lo, hi, grew);
}

}  // namespace

bool WidenByTextFrames(const TGeoMap& map, TGeoPoint& lo, TGeoPoint& hi)
{
    bool grew = false;
    for (const auto& page : map.Pages)
        for (const auto& layer : page->Layers) {
            if (!layer->Visible)
                continue;
            AddTexts(layer->Texts, lo, hi, grew);
            for (const auto& p : layer->Points) {
                AddTexts(p->InnerTexts, lo, hi, grew);
                AddCaptions(p->AutoTexts, lo, hi, grew);
            }
            for (const auto& l : layer->Lines) {
                AddTexts(l->InnerTexts, lo, hi, grew);
                AddCaptions(l->AutoTexts, lo, hi, grew);
            }
            for (const auto& g : layer->Polygons)
                AddCaptions(g->AutoTexts, lo, hi, grew);
        }
    return grew;
}

void TFormMap::ShowWholePlan()
{
    if (!MainMap)
        return;
    // The fit takes the objects' extents, which leave out the texts' and captions'
    // frames: a street name near the plan's edge would be cut. The first drawing renders
    // every sign and so measures every frame; the view then widens to take them in. The
    // plan's extents themselves stay as they are.
    const QSize size = SurfaceSize();
    MainMap->Draw(size.width(), size.height(), 0, ddScreen);
    RMapView* view = MainMap->MapViews.Item;
    if (!view)
        return;
    TGeoPoint lo = GeoPoint(view->ViewXMin, view->ViewYMin);
    TGeoPoint hi = GeoPoint(view->ViewXMax, view->ViewYMax);
    if (!WidenByTextFrames(*MainMap, lo, hi))
        return;
    view->ViewXMin = lo.X;
    view->ViewYMin = lo.Y;
    view->ViewXMax = hi.X;
    view->ViewYMax = hi.Y;
    MainMap->Draw(size.width(), size.height(), 4, ddScreen);
}

void TFormMap::ApplyZoomRect()
{
    MouseStep = 0;
    const TGeoPoint& a = Points.Down.Plan;
    const TGeoPoint& b = Points.Up.Plan;
    // Drawn either way, the rectangle is the same view; fitting it sets its factors.
    AppendMapView(*MainMap, a, b);
    const QSize size = SurfaceSize();
    MainMap->Draw(size.width(), size.height(), 4, ddScreen);
}

void TFormMap::ApplyPan()
{
    MouseStep = 0;
    const Extended dX = Points.Up.Plan.X - Points.Down.Plan.X;
    const Extended dY = Points.Up.Plan.Y - Points.Down.Plan.Y;
    AppendMapView(*MainMap, MainMap->ViewXMin - dX, MainMap->ViewYMin - dY, MainMap->ViewXMax - dX,
                  MainMap->ViewYMax - dY);
    // The picture on hand moved by the drag, only what it lacks drawn when that paints
    // the same pixels as a whole drawing.
    const QSize size = SurfaceSize();
    MainMap->DrawPan(size.width(), size.height());
    SetScreenCursor({});
}
