// Which handler each mode gives each surface event. A mode's row slot stays empty until
// the routine that acts for it exists; the common steps of every event and the right
// drag of every mode are the surface's own (UnitMapMouse.cpp).
#include "mainwindow/UnitMap.h"

void FillModeHandlers(std::array<TMouseModeRow, MouseModeCount>& rows)
{
    constexpr int left = 0, right = 1;
    TMouseModeRow& zoom = rows[mmSelectView];
    zoom.Down[left] = &TFormMap::ZoomDown;
    zoom.Up[left] = &TFormMap::ZoomUp;

    TMouseModeRow& pan = rows[mmMoveView];
    pan.Down[left] = &TFormMap::PanDown;
    pan.Drag = &TFormMap::PanDrag;
    pan.Up[left] = &TFormMap::PanUp;
    pan.Up[right] = &TFormMap::PanRightUp;

    TMouseModeRow& select = rows[mmSelectObject];
    select.Drag = &TFormMap::SelectDrag;
    select.Hover = &TFormMap::SelectHover;
    select.Up[right] = &TFormMap::SelectRightUp;

    rows[mmPrintArea].Up[left] = &TFormMap::PrintAreaUp;

    TMouseModeRow& saveArea = rows[mmSaveArea];
    saveArea.Down[left] = &TFormMap::SaveAreaDown;
    saveArea.Up[left] = &TFormMap::SaveAreaUp;

    rows[mmLinkRastr].Up[left] = &TFormMap::LinkRastrUp;

    TMouseModeRow& line = rows[mmCreateLine];
    line.Down[left] = &TFormMap::CaptureCreateNode;
    line.Up[right] = &TFormMap::CreateLineRightUp;

    TMouseModeRow& polygon = rows[mmCreatePolygon];
    polygon.Down[left] = &TFormMap::CaptureCreateNode;
    polygon.Up[right] = &TFormMap::CreatePolygonRightUp;

    rows[mmSetStamp].Down[left] = &TFormMap::StampDown;

    TMouseModeRow& trace = rows[mmTraceContour];
    trace.Down[left] = &TFormMap::PickHeightMark;
    trace.Up[right] = &TFormMap::FinishTracedContour;

    rows[mmInterpolateHeights].Down[left] = &TFormMap::PickHeightMark;
    rows[mmCoordLabels].Down[left] = &TFormMap::PickGridCrossing;
    rows[mmCheckHeights].Up[left] = &TFormMap::CheckHeightsUp;
}
