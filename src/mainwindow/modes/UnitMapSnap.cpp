// Snapping: the cursor pulled to the nearest node shown on the screen (or a grid
// crossing), the blinking marker that shows it, and the overlays the engine pauses and
// resumes around every copy of its picture.
#include "mainwindow/UnitMap.h"

#include "editors/classifier/UnitSemDialog.h"
#include "engine/GeoMap.h"
#include "foundation/DelphiFormat.h"
#include "mainwindow/VclTimer.h"
#include "mainwindow/modes/SnapHitTest.h"
#include "semantics/codec/SemServices.h"

#include <QPainter>

namespace {

// The readable text of a snapped node's semantics, without any question.
QString Describe(const TFindGeoPoint& candidate)
{
    if (candidate.Text == GridNodeText)
        return candidate.Text;
    QString text;
    if (TFormSemDialog* classifier = FormSemDialog())
        classifier->decode2(TLmode(candidate.Kind), candidate.Text, text);
    else if (TSemServices* services = SemServices())
        services->decode2(TLmode(candidate.Kind), candidate.Text, text);
    else
        text = candidate.Text;
    return text;
}

}  // namespace

void TFormMap::Snap()
{
    if (!MainMap)
        return;
    TFindGeoPoint best;
    if (!FindSnapCandidate(MainMap->ScreenNodes, MouseMode, SnapRadius, Points.Move.Screen,
                           Points.Move.Plan, best)) {
        ShowPanelText(5, QStringLiteral("Привязки нет"));
        StopSnapMarker();
        return;
    }
    // The same target: the marker blinks on undisturbed and the panel is not rewritten.
    if (Snapped && SnapPoint.X == best.Plan.X && SnapPoint.Y == best.Plan.Y)
        return;
    StopSnapMarker();
    ShowPanelText(5, QStringLiteral("Привязка к точке объета > ") + Describe(best) +
                         Format(QStringLiteral(" [%8.3f %8.3f]"), {best.Plan.X, best.Plan.Y}));
    SnapPoint = best.Plan;
    SnapMarkerPos = best.Screen;
    SnapText = best.Text;
    StartSnapMarker();
}

void TFormMap::RegisterCreatingObjectNodes()
{
    if (!MainMap)
        return;
    for (const RCreateNode& node : CreateNodes) {
        auto record = std::make_unique<RFAPoint>();
        record->Semantics = CreatingObjectText;
        record->PlanPoint = node.Point;
        MainMap->GeoToScr(DisplaySurf->height(), node.Point.X, node.Point.Y, record->ScreenX,
                          record->ScreenY);
        record->ObjectKind = 1;
        MainMap->ScreenNodes.AddItem(std::move(record));
    }
}

void TFormMap::StartSnapMarker()
{
    SnapMarkerDrawn = false;
    SnapMarkerDrawnPos = SnapMarkerPos;
    tmLink->SetEnabled(true);
    Snapped = true;
}

void TFormMap::StopSnapMarker()
{
    tmLink->SetEnabled(false);
    if (SnapMarkerDrawn)
        DrawSnapMarker(SnapMarkerPos);   // drawn again with the not-xor pen: erased
    Snapped = false;
    SnapMarkerDrawn = false;
}

void TFormMap::tmLinkTimer()
{
    if (SnapMarkerDrawnPos == SnapMarkerPos) {
        SnapMarkerDrawn = !SnapMarkerDrawn;
        DrawSnapMarker(SnapMarkerPos);
        return;
    }
    if (SnapMarkerDrawn)
        DrawSnapMarker(SnapMarkerDrawnPos);
    SnapMarkerDrawnPos = SnapMarkerPos;
    SnapMarkerDrawn = false;
}

void TFormMap::DrawSnapMarker(QPoint at)
{
    QImage& canvas = DisplaySurf->Canvas;
    if (canvas.isNull())
        return;
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    painter.setPen(QPen(QColor(255, 0, 0), 0));   // $0000FF, one pixel
    painter.setBrush(Qt::NoBrush);
    const int x = at.x(), y = at.y();
    // The circle's box from (x - 6, y - 6) to (x + 6, y + 6), its right and bottom edges
    // outside it, and four arms 3 to 20 pixels out, each without its far end pixel.
    painter.drawEllipse(QRect(x - 6, y - 6, 11, 11));
    painter.drawLine(x - 3, y, x - 19, y);
    painter.drawLine(x + 3, y, x + 19, y);
    painter.drawLine(x, y + 3, x, y + 19);
    painter.drawLine(x, y - 3, x, y - 19);
    painter.end();
    DisplaySurf->update(QRect(x - 21, y - 21, 43, 43));
}

void TFormMap::PauseOverlays()
{
    LinkWasRunning = tmLink->Enabled();
    SelectWasRunning = tmSelect->Enabled();
    StopSnapMarker();
    tmSelect->SetEnabled(false);
}

void TFormMap::ResumeOverlays()
{
    if (LinkWasRunning)
        StartSnapMarker();   // the same target blinks again on the new picture
    if (SelectWasRunning)
        tmSelect->SetEnabled(true);
    LinkWasRunning = SelectWasRunning = false;
    NodeBand.MarkUndrawn();
    PrintFrameDrawn = false;
    RegisterCreatingObjectNodes();
}
