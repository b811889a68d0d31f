// The surface's mouse handlers: the common steps of every event (the event points, the
// cursor's coordinates and sheet on the status bar, snapping), then the current mode's
// row. Here too the handlers that belong to no family of their own: the right-button
// drag that scrolls in every mode, zoom and pan, the print and export areas, the select
// mode's moves and the stamp corner.
#include "mainwindow/UnitMap.h"

#include "engine/GeoMap.h"
#include "foundation/DelphiFormat.h"

#include <QGuiApplication>
#include <cstdlib>

void TScreenCursor::Set(const QCursor& cursor)
{
    if (Shown) {
        QGuiApplication::changeOverrideCursor(cursor);
        return;
    }
    QGuiApplication::setOverrideCursor(cursor);
    Shown = true;
}

void TScreenCursor::Reset()
{
    if (!Shown)
        return;
    Shown = false;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QGuiApplication::restoreOverrideCursor();
}

void TFormMap::SetScreenCursor(const QString& name)
{
    if (name.isEmpty())
        ScreenCursor.Reset();
    else
        ScreenCursor.Set(Cursors.value(name, QCursor(Qt::ClosedHandCursor)));
}

void TFormMap::DisplaySurfMouseDown(const TSurfaceMouse& m)
{
    if (IgnoreMouse)
        return;
    ButtonHeld = true;
    HeldButton = m.Button;
    DownShift = m.Shift;
    if (m.Button == 1 && MainMap)
        RightDownScroll = QPoint(MainMap->ScrollX, MainMap->ScrollY);
    if (!TakeEventPoints(m, Points.Down, Points.PrevDown))   // the view has no scale yet
        return;
    if (const TModeHandler handler = ModeRow(MouseMode).Down[m.Button])
        (this->*handler)();
}

void TFormMap::DisplaySurfMouseMove(const TSurfaceMouse& m)
{
    if (IgnoreMouse)
        return;
    if (!TakeEventPoints(m, Points.Move, Points.PrevMove))
        return;
    const TGeoPoint& at = Points.Move.Plan;
    ShowPanelText(1, FloatToStrF(at.X, ffFixed, 16, 3));
    ShowPanelText(2, FloatToStrF(at.Y, ffFixed, 16, 3));
    ShowPanelText(3, MainMap->CoordToNomenclature(at.X, at.Y));
    MoveShift = m.Shift;
    if (MainMap->LinkToNodes)
        Snap();
    const TMouseModeRow& row = ModeRow(MouseMode);
    if (ButtonHeld) {
        if (HeldButton == 0 && row.Drag)
            (this->*row.Drag)();
        else if (HeldButton == 1)
            RightDrag();
    } else {
        SetScreenCursor({});   // the surface's cursor of the mode shows again
        if (row.Hover)
            (this->*row.Hover)();
    }
    PrevMoveShift = MoveShift;
}

void TFormMap::DisplaySurfMouseUp(const TSurfaceMouse& m)
{
    if (IgnoreMouse)
        return;
    // A finishing routine that fails must not leave the bands following a button that is
    // no longer down.
    const struct TRelease {
        bool& Held;
        ~TRelease() { Held = false; }
    } release{ButtonHeld};
    if (!TakeEventPoints(m, Points.Up, Points.PrevUp))
        return;
    const bool panned = MouseMode == mmMoveView && MouseStep == 1;
    if (const TModeHandler handler = ModeRow(MouseMode).Up[m.Button])
        (this->*handler)();
    // A right drag that did not become a pan scrolled the picture but not the view: left
    // there, the picture would lie beside the plan points every later click is given.
    if (m.Button == 1 && !panned &&
        (MainMap->ScrollX != RightDownScroll.x() || MainMap->ScrollY != RightDownScroll.y())) {
        MainMap->ScrollX = RightDownScroll.x();
        MainMap->ScrollY = RightDownScroll.y();
        PaintBitmap();
    }
}

void TFormMap::DisplaySurfPaint()
{
    if (MainMap && !MainMap->DrawBusy)
        MainMap->PaintBitmap();
}

namespace {

// The picture follows the mouse: the scroll offset moves against the move.
void ScrollWithMove(TGeoMap& map, const TEventPoints& points)
{
    map.ScrollX -= points.Move.Screen.x() - points.PrevMove.Screen.x();
    map.ScrollY -= points.Move.Screen.y() - points.PrevMove.Screen.y();
    map.PaintBitmap();
}

}  // namespace

void TFormMap::RightDrag()
{
    const QPoint moved = Points.Move.Screen - Points.Down.Screen;
    // A short shake of the hand still opens the pop-up; a real drag pans.
    if (std::abs(moved.x()) > 3 && std::abs(moved.y()) > 3 && MouseMode != mmMoveView)
        SetMouseMode(mmMoveView, 1, true);
    SetScreenCursor(QStringLiteral("MOVEDN"));
    ScrollWithMove(*MainMap, Points);
}

// ---- Zoom (mode 1) and pan (mode 2) -------------------------------------------------
// Step 1: the button is down and the rectangle or the drag is being chosen.

void TFormMap::ZoomDown()
{
    MouseStep = 1;
}

void TFormMap::ZoomUp()
{
    if (MouseStep == 1)
        ApplyZoomRect();
}

void TFormMap::PanDown()
{
    MouseStep = 1;
}

void TFormMap::PanDrag()
{
    if (MouseStep != 1)
        return;
    SetScreenCursor(QStringLiteral("MOVEDN"));
    ScrollWithMove(*MainMap, Points);
}

void TFormMap::PanUp()
{
    if (MouseStep == 1)
        ApplyPan();
}

void TFormMap::PanRightUp()
{
    // The end of a right-button drag that became a pan: back to the interrupted mode.
    if (MouseStep != 1)
        return;
    ApplyPan();
    RestoreMouseMode();
}

// ---- Print area (mode 4) and export area (mode 5) -----------------------------------

void TFormMap::PrintAreaUp()
{
    MainMap->PrintPlan();
    RestoreMouseMode();
}

void TFormMap::SaveAreaDown()
{
    MouseStep = 1;   // step 1: the rectangle follows the mouse from the down point
}

void TFormMap::SaveAreaUp()
{
    if (MouseStep == 1)
        SaveArea();
}

// ---- Select mode (3) and stamp (17) ---------------------------------------------------

void TFormMap::SelectHover()
{
    FindPartUnderCursor();
}

void TFormMap::SelectDrag()
{
    // Shift and Ctrl change what a drag does: the outline drawn so far is wiped.
    if (SelectedPart != 0 && MoveShift != PrevMoveShift)
        PaintBitmap();
}

void TFormMap::StampDown()
{
    if (Snapped)
        StampCorner = SnapPoint;
    MouseStep = 1;
}
