// Which handler each mode gives each surface event. A mode's row slot stays empty until
// the routine that acts for it exists; the common steps of every event and the right
// drag of every mode are the surface's own (UnitMapMouse.cpp).
#include "mainwindow/UnitMap.h"

void FillModeHandlers(std::array<TMouseModeRow, MouseModeCount>& rows)
{
    constexpr int left = 0, right = 1;
    TMouseModeRow& zoom = rows[mmSelectView];
    zoom.Down[left] = &TFormMap::ZoomDown;
    zoom.Drag = &TFormMap::ZoomDrag;
    zoom.Up[left] = &TFormMap::ZoomUp;

    TMouseModeRow& pan = rows[mmMoveView];
    pan.Down[left] = &TFormMap::PanDown;
    pan.Drag = &TFormMap::PanDrag;
    pan.Up[left] = &TFormMap::PanUp;
    pan.Up[right] = &TFormMap::PanRightUp;

    TMouseModeRow& select = rows[mmSelectObject];
    select.Down[left] = &TFormMap::SelectDown;
    select.Up[left] = &TFormMap::SelectUp;
    select.Drag = &TFormMap::SelectDrag;
    select.Hover = &TFormMap::SelectHover;
    select.Up[right] = &TFormMap::SelectRightUp;

    rows[mmPrintArea].Up[left] = &TFormMap::PrintAreaUp;
    rows[mmPrintArea].Hover = &TFormMap::PrintAreaHover;

    TMouseModeRow& saveArea = rows[mmSaveArea];
    saveArea.Down[left] = &TFormMap::SaveAreaDown;
    saveArea.Drag = &TFormMap::SaveAreaDrag;
    saveArea.Up[left] = &TFormMap::SaveAreaUp;

    rows[mmLinkRastr].Up[left] = &TFormMap::LinkRastrUp;
    rows[mmInsertRastr].Up[left] = &TFormMap::InsertRastrUp;

    TMouseModeRow& line = rows[mmCreateLine];
    line.Down[left] = &TFormMap::CaptureCreateNode;
    line.Up[right] = &TFormMap::CreateLineRightUp;
    line.Hover = &TFormMap::CreateLineHover;

    TMouseModeRow& polygon = rows[mmCreatePolygon];
    polygon.Down[left] = &TFormMap::CaptureCreateNode;
    polygon.Up[right] = &TFormMap::CreatePolygonRightUp;
    polygon.Hover = &TFormMap::CreatePolygonHover;

    TMouseModeRow& stamp = rows[mmSetStamp];
    stamp.Down[left] = &TFormMap::StampDown;
    stamp.Drag = &TFormMap::StampDrag;
    stamp.Up[left] = &TFormMap::StampRelease;

    TMouseModeRow& text = rows[mmCreateText];
    text.Down[left] = &TFormMap::CreateTextDown;
    text.Drag = &TFormMap::CreateTextDrag;
    text.Hover = &TFormMap::CreateTextHover;
    text.Up[left] = &TFormMap::CreateTextRelease;
    rows[mmBaseLinePoint].Up[left] = &TFormMap::BaseLinePointRelease;

    for (const TMouseMode mode : {mmCreatePoint, mmCreateOtm}) {
        rows[mode].Down[left] = &TFormMap::CreatePointDown;
        rows[mode].Drag = &TFormMap::CreatePointDrag;
        rows[mode].Up[left] = &TFormMap::CreatePointRelease;
    }

    rows[mmCreateCircle].Down[left] = &TFormMap::CreateCircleDown;
    rows[mmCreateCircle].Drag = &TFormMap::CreateCircleDrag;
    rows[mmCreateCircle].Up[left] = &TFormMap::CircleRelease;

    rows[mmAddLineNode].Hover = &TFormMap::AnchorHover;
    rows[mmMergeLines].Hover = &TFormMap::AnchorHover;
    rows[mmAddLineNode].Up[left] = &TFormMap::AddEndNodeUp;
    rows[mmMergeLines].Up[left] = &TFormMap::AddEndNodeUp;

    TMouseModeRow& trace = rows[mmTraceContour];
    trace.Down[left] = &TFormMap::PickHeightMark;
    trace.Up[right] = &TFormMap::FinishTracedContour;

    rows[mmInterpolateHeights].Down[left] = &TFormMap::PickHeightMark;
    rows[mmCoordLabels].Down[left] = &TFormMap::PickGridCrossing;
    rows[mmCoordLabels].Drag = &TFormMap::CoordLabelsDrag;
    rows[mmCoordLabels].Up[left] = &TFormMap::CoordLabelsRelease;
    rows[mmCheckHeights].Up[left] = &TFormMap::CheckHeightsUp;
    rows[mmOGZ].Up[left] = &TFormMap::AddStakeoutPoint;
    rows[mmSampleCoords].Up[left] = &TFormMap::AddSampledPoint;
    rows[mmCapturePointPicture].Up[left] = &TFormMap::CapturePointFavourite;
    rows[mmCaptureLinePicture].Up[left] = &TFormMap::CaptureLineFavourite;
    rows[mmCapturePolygonPicture].Up[left] = &TFormMap::CapturePolygonFavourite;
}
