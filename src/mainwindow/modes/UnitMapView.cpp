// The view history of the surface: every zoom rectangle and every pan becomes a view
// record of the plan, which is then drawn.
#include "mainwindow/UnitMap.h"

#include "engine/GeoMap.h"
#include "mainwindow/modes/MapViews.h"

#include <algorithm>

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
    const QSize size = SurfaceSize();
    MainMap->Draw(size.width(), size.height(), 3, ddScreen);
    SetScreenCursor({});
}
