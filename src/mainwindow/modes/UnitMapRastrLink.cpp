// Georeferencing a raster by two points (mode 6, left button up): each click on the
// raster is given the plan coordinates it should have.
// Steps: 1 waits for the first reference point; 2 for the second.
#include "mainwindow/UnitMap.h"

#include "engine/GeoMap.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/ServDialogs.h"
#include "mainwindow/modes/MapViews.h"

namespace {

// The coordinate window; what was typed is kept whatever closes it. True on OK.
bool AskLinkCoordinates(const QString& caption, TGeoPoint& entry)
{
    Extended x = entry.X, y = entry.Y;
    const TModalResult result = InpCoordDialog(caption, x, y);
    entry = GeoPoint(x, y);
    return result == mrOk;
}

}  // namespace

void TFormMap::LinkRastrUp()
{
    if (MouseStep == 1) {
        LinkEntry = Points.Up.Plan;
        if (!AskLinkCoordinates(QStringLiteral("Координаты первой точки привязки"), LinkEntry))
            return;   // the next click asks again
        LinkRastrPoint1 = Points.Up.Plan;
        LinkTargetPoint1 = LinkEntry;
        SetMouseMode(mmLinkRastr, 2, false);
        return;
    }
    if (MouseStep != 2)
        return;
    // Two clicks on one grid line of the raster would stretch it without end.
    if (Points.Up.Plan.X == LinkRastrPoint1.X || Points.Up.Plan.Y == LinkRastrPoint1.Y) {
        ShowMsgDialog(QStringLiteral("Привязка растра"),
                      QStringLiteral("Точки привязки на растре не должны совпадать по X и по Y"));
        return;   // the next click is the second point again
    }
    if (!AskLinkCoordinates(QStringLiteral("Координаты второй точки привязки"), LinkEntry))
        return;
    // Two points on one grid line cannot scale the raster that way. Cancelling the
    // repeated question leaves the second point to be clicked again.
    while (LinkEntry.X == LinkTargetPoint1.X)
        if (!AskLinkCoordinates(QStringLiteral("Координаты X точек привязки не должны совпадать"),
                                LinkEntry))
            return;
    while (LinkEntry.Y == LinkTargetPoint1.Y)
        if (!AskLinkCoordinates(QStringLiteral("Координаты Y точек привязки не должны совпадать"),
                                LinkEntry))
            return;
    LinkRastrPoint2 = Points.Up.Plan;
    LinkTargetPoint2 = LinkEntry;
    LinkRastrByTwoPoints();
    AppendMapView(*MainMap, LinkTargetPoint1, LinkTargetPoint2);
    const QSize size = SurfaceSize();
    MainMap->Draw(size.width(), size.height(), 4, ddScreen);
    // After a link the zoom mode follows, whatever was interrupted.
    ModeMemory.SavedMouseMode = mmSelectView;
    ModeMemory.SavedMouseStep = 0;
    RestoreMouseMode();
}
