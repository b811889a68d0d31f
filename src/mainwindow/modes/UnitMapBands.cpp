// The rubber bands: what the surface draws while the user drags or builds something,
// straight onto its canvas with not-xor pens (drawn twice, gone), never into the plan's
// picture. Each band is a TXorBand: drawn afresh after the picture was copied over it,
// otherwise erased where it stood and drawn at the cursor. The nodes of the object under
// construction and the text preview are painted with ordinary pens.
#include "mainwindow/UnitMap.h"

#include "engine/GeoMap.h"
#include "engine/draw/MapPainter.h"
#include "mainwindow/modes/SurfaceAngle.h"
#include "semantics/signs/Symbols.h"

#include <algorithm>
#include <cmath>

namespace {

// Stored colours (0x00BBGGRR) of the bands.
constexpr std::int32_t ZoomColor = 0x008000;
constexpr std::int32_t StampColor = 0x008080;
constexpr std::int32_t ExportColor = 0x00FF00;
constexpr std::int32_t PrintColor = 0xFFD7D7;
constexpr std::int32_t GizmoColor = 0xFF0000;
constexpr std::int32_t GizmoArmsColor = 0x008000;
constexpr std::int32_t AnchorColor = 0x0000FF;
constexpr std::int32_t OutlineColor = 0x0000FF;
constexpr std::int32_t ConstructionColor = 0x808000;

QPoint Screen(const TGeoPoint& p, int height)
{
    int x = 0, y = 0;
    MainMap->GeoToScr(height, p.X, p.Y, x, y);
    return QPoint(x, y);
}

// The circles that mark the nodes of a line or polygon under construction.
void PaintNodeCircles(TMapPainter& painter, const TCreateNodeArr& nodes, std::int32_t color,
                      int height)
{
    painter.SetPen(color, pmCopy, psSolid, 2);
    for (const RCreateNode& node : nodes) {
        const QPoint p = Screen(node.Point, height);
        painter.Ellipse(p - QPoint(3, 3), p + QPoint(3, 3));
    }
}

TGeoPoint Plan(QPoint p, int height)
{
    TGeoPoint g;
    MainMap->ScrToGeo(height, p.x(), p.y(), g.X, g.Y);
    return g;
}

TBandStroke Stroke(QPolygon points, std::int32_t color, int width = 1, std::uint8_t style = psSolid,
                   bool closed = false)
{
    TBandStroke s;
    s.Points = std::move(points);
    s.Color = color;
    s.Width = width;
    s.Style = style;
    s.Closed = closed;
    return s;
}

TBandStroke Circle(QPoint centre, int radius, std::int32_t color, int width = 1)
{
    TBandStroke s = Stroke(QPolygon({centre - QPoint(radius, radius), centre + QPoint(radius, radius)}),
                           color, width);
    s.Ellipse = true;
    return s;
}

// The rectangle from a to b, normalised, as a closed stroke.
TBandStroke Rectangle(QPoint a, QPoint b, std::int32_t color, int width)
{
    const QRect r = QRect(a, b).normalized();
    return Stroke(QPolygon({r.topLeft(), QPoint(r.right(), r.top()), r.bottomRight(),
                            QPoint(r.left(), r.bottom())}),
                  color, width, psSolid, true);
}

// The arc of radius about centre from the direction from to the direction to, clockwise
// on the screen, as a polyline of steps of at most 5 degrees. The gizmos draw it from
// their direction round to the right-hand ray: the angle counter-clockwise from the
// right, as the angle is stored.
QPolygon Arc(QPoint centre, int radius, TGeoAngle from, TGeoAngle to)
{
    const TGeoAngle sweep = fNormalAngle(to - from);
    const int steps = std::max(1, int(std::ceil(double(sweep) / 5)));
    QPolygon arc;
    for (int i = 0; i <= steps; ++i)
        arc << SurfaceAhead(centre, radius, from + sweep * i / steps);
    return arc;
}

// A plan point list moved by (dX, dY) to surface points.
QPolygon Shifted(const TGeoPoints& points, Extended dX, Extended dY, int height, int count = -1)
{
    QPolygon out;
    const int n = count < 0 ? points.GetCount() : std::min(count, points.GetCount());
    for (int i = 0; i < n; ++i) {
        const TGeoPoint& p = *points.At(i);
        out << Screen(TGeoPoint{p.X + dX, p.Y + dY}, height);
    }
    return out;
}

// The first four corners turned by angle degrees (clockwise on the plan) about centre.
QPolygon Rotated(const TGeoPoints& corners, const TGeoPoint& centre, TGeoAngle angle, int height)
{
    QPolygon out;
    for (int i = 0; i < std::min(4, corners.GetCount()); ++i) {
        TGeoPoint p = *corners.At(i);
        RotateCoord(centre.X, centre.Y, angle, p.X, p.Y);
        out << Screen(p, height);
    }
    return out;
}

}  // namespace

void TFormMap::MarkBandsUndrawn()
{
    for (TXorBand* band : {&RectBand, &PrintBand, &PointBand, &LineBand, &PolygonBand, &DragBand,
                           &NodeBand, &LabelBand})
        band->MarkUndrawn();
}

// ---- Rectangles ------------------------------------------------------------------------

void TFormMap::DrawZoomBand(QPoint cursor)
{
    RectBand.Show(DisplaySurf->Canvas, TBandFigure{Rectangle(Points.Down.Screen, cursor, ZoomColor, 2)});
    DisplaySurf->update();
}

namespace {

// The rectangle and the left and top edges of the last stamp's size whose right-bottom
// corner is the rectangle's.
TBandFigure StampFigure(QPoint down, QPoint cursor, std::int32_t color, Extended sizeX,
                        Extended sizeY, int height)
{
    const QRect r = QRect(down, cursor).normalized();
    const TGeoPoint corner = Plan(r.bottomRight(), height);
    const QPolygon edges({Screen({corner.X, corner.Y - sizeY}, height),
                          Screen({corner.X + sizeX, corner.Y - sizeY}, height),
                          Screen({corner.X + sizeX, corner.Y}, height)});
    return {Rectangle(down, cursor, color, 2), Stroke(edges, color, 2)};
}

}  // namespace

void TFormMap::DrawStampBand(QPoint cursor)
{
    RectBand.Show(DisplaySurf->Canvas, StampFigure(Points.Down.Screen, cursor, StampColor, StampSizeX,
                                                   StampSizeY, DisplaySurf->height()));
    DisplaySurf->update();
}

void TFormMap::DrawExportBand(QPoint cursor)
{
    RectBand.Show(DisplaySurf->Canvas, StampFigure(Points.Down.Screen, cursor, ExportColor, StampSizeX,
                                                   StampSizeY, DisplaySurf->height()));
    DisplaySurf->update();
}

void TFormMap::DrawPrintBand(QPoint cursor)
{
    const int h = DisplaySurf->height();
    const TGeoPoint origin = Plan(cursor, h);
    MainMap->PrintOrigin = origin;
    const Extended x2 = origin.X - Extended(MainMap->PageHeightMm) * MainMap->PrinterScale / 1000;
    const Extended y2 = origin.Y + Extended(MainMap->PageWidthMm) * MainMap->PrinterScale / 1000;
    const QRect page = QRect(cursor, Screen({x2, y2}, h)).normalized();
    // Only the rows on the canvas: a page far larger than the window stays cheap.
    const QRect rows = page.intersected(DisplaySurf->Canvas.rect().adjusted(-1, -1, 1, 1));
    TBandFigure figure;
    for (int y = rows.top(); y <= rows.bottom(); ++y)
        figure.push_back(Stroke(QPolygon({QPoint(page.left(), y), QPoint(page.right(), y)}), PrintColor));
    PrintBand.Show(DisplaySurf->Canvas, figure);
    DisplaySurf->update();
}

// ---- Gizmos ----------------------------------------------------------------------------

namespace {

QPoint GizmoAnchor(const TFormMap& form)
{
    return MainMap->LinkToNodes && form.Snapped ? form.SnapMarkerPos : form.Points.Down.Screen;
}

}  // namespace

void TFormMap::DrawPointBand(QPoint cursor)
{
    const QPoint anchor = GizmoAnchor(*this);
    const TGeoAngle a = SurfaceAngle(anchor, cursor);
    TBandFigure figure;
    if (!PointCtrlFlag) {
        figure.push_back(Stroke(QPolygon({anchor, anchor + QPoint(50, 0)}), GizmoColor));
        figure.push_back(Stroke(QPolygon({anchor, SurfaceAhead(anchor, 50, a)}), GizmoColor));
        figure.push_back(Stroke(Arc(anchor, 25, a, 360), GizmoColor));
    } else {
        figure.push_back(Stroke(QPolygon({anchor - QPoint(90, 0), anchor + QPoint(90, 0)}), GizmoColor));
        figure.push_back(Stroke(QPolygon({anchor - QPoint(0, 90), anchor + QPoint(0, 90)}), GizmoColor));
        for (int k = 0; k < 4; ++k)
            figure.push_back(Stroke(QPolygon({anchor, SurfaceAhead(anchor, 50, a + 90 * k)}), GizmoArmsColor));
        const QPoint tip = SurfaceAhead(anchor, 50, a);
        figure.push_back(Stroke(QPolygon({tip, SurfaceAhead(tip, 12, a + 160)}), GizmoArmsColor));
        figure.push_back(Stroke(QPolygon({tip, SurfaceAhead(tip, 12, a - 160)}), GizmoArmsColor));
        figure.push_back(Stroke(Arc(anchor, 25, a, 360), GizmoArmsColor));
    }
    PointBand.Show(DisplaySurf->Canvas, figure);
    DisplaySurf->update();
    AutoTextAngle = SurfaceWinAngle(a);
    PointAngleDragged = true;
}

void TFormMap::DrawCircleBand(QPoint cursor)
{
    const QPoint anchor = GizmoAnchor(*this);
    LineBand.Show(DisplaySurf->Canvas, TBandFigure{Circle(anchor, SurfaceDistance(anchor, cursor), GizmoColor)});
    DisplaySurf->update();
}

void TFormMap::DrawLabelBand(QPoint cursor)
{
    const QPoint cross = SnapMarkerPos;
    TGeoAngle a = SurfaceAngle(cross, cursor);
    if (a <= 0)
        a = 360;   // (0, 360]
    TGeoAngle first = 270, second = 0;
    if (a < 90) {
        first = 0, second = 90, CoordLabelQuadrant = 2;
    } else if (a < 180) {
        first = 90, second = 180, CoordLabelQuadrant = 3;
    } else if (a < 270) {
        first = 180, second = 270, CoordLabelQuadrant = 4;
    } else {
        CoordLabelQuadrant = 1;
    }
    LabelBand.Show(DisplaySurf->Canvas,
                   TBandFigure{Stroke(QPolygon({SurfaceAhead(cross, 50, first), cross,
                                                SurfaceAhead(cross, 50, second)}),
                                      GizmoColor, 5)});
    DisplaySurf->update();
}

// ---- Text ------------------------------------------------------------------------------

void TFormMap::SetTextAngleFromDrag(QPoint cursor)
{
    const QPoint anchor = GizmoAnchor(*this);
    if (SurfaceDistance(anchor, cursor) != 0)
        TextAngle = SurfaceWinAngle(SurfaceAngle(anchor, cursor));
}

void TFormMap::DrawTextPreview(QPoint cursor)
{
    PaintBitmap();   // the previous preview goes with the copy
    TLogFont lf;
    MainMap->Symbols->DefLogFont(lf);
    lf.Escapement = TextAngle;
    lf.Orientation = TextAngle;
    lf.FaceName = TextFontName;
    lf.Weight = (TextFontStyle & 1) ? 700 : 0;
    lf.Italic = (TextFontStyle & 2) ? 1 : 0;
    lf.Underline = (TextFontStyle & 4) ? 1 : 0;
    // The size at the view's scale, as the plan's own texts are drawn.
    const Extended ratio =
        MainMap->OutputScale > 0 ? Extended(MainMap->MapProp.Scale) / MainMap->OutputScale : 1;
    const Extended height = TextFontSize * ratio;
    if (!(height >= 0.5L) || height > 100000)
        return;
    lf.Height = static_cast<std::int32_t>(std::nearbyint(height));
    if (lf.Height < 1)
        return;
    TMapPainter painter;
    painter.Begin(DisplaySurf->Canvas);
    painter.Text(TextAngleDragged ? QPointF(GizmoAnchor(*this)) : QPointF(cursor), TextCaption, lf, TextColor);
    painter.End();
    DisplaySurf->update();
}

// ---- The line and polygon under construction ----------------------------------------------

namespace {

void CopyCircle(QImage& canvas, QPoint at, std::int32_t color)
{
    TMapPainter painter;
    painter.Begin(canvas);
    painter.SetBrushClear();
    painter.SetPen(color, pmCopy, psSolid, 2);
    painter.Ellipse(at - QPoint(3, 3), at + QPoint(3, 3));
    painter.End();
}

std::uint8_t SegmentPenStyle(std::uint8_t segmentStyle)
{
    return segmentStyle == 2 ? psDot : psSolid;
}

std::int32_t SegmentColor(const TFormMap& form, std::uint8_t type)
{
    return type == 1 ? form.CreatePolygonSpecial1SegmColor
                     : type == 2 ? form.CreatePolygonSpecial2SegmColor : form.CreatePolygonMainSegmColor;
}

}  // namespace

void TFormMap::DrawLineBand(QPoint cursor)
{
    if (CreateNodes.empty())
        return;
    const QPoint last = Screen(CreateNodes.back().Point, DisplaySurf->height());
    // The segment leaves before the node's circle is painted, so no pixel of the circle
    // is xor-ed back by the erasing.
    LineBand.Hide(DisplaySurf->Canvas);
    CopyCircle(DisplaySurf->Canvas, last, CreateLineColor);
    LineBand.Show(DisplaySurf->Canvas, TBandFigure{Stroke(QPolygon({last, cursor}), CreateLineColor)});
    DisplaySurf->update();
}

void TFormMap::RedrawCreatingLine()
{
    if (CreateNodes.empty() || MouseMode == mmMoveView || !DisplaySurf)
        return;
    const int h = DisplaySurf->height();
    TMapPainter painter;
    painter.Begin(DisplaySurf->Canvas);
    painter.SetBrushClear();
    PaintNodeCircles(painter, CreateNodes, CreateLineColor, h);
    painter.SetPen(CreateLineColor, pmCopy, psSolid, 1);
    for (size_t i = 1; i < CreateNodes.size(); ++i)
        painter.Line(Screen(CreateNodes[i - 1].Point, h), Screen(CreateNodes[i].Point, h));
    painter.End();
    DisplaySurf->update();
}

void TFormMap::DrawPolygonBand(QPoint cursor)
{
    if (CreateNodes.empty())
        return;
    const int h = DisplaySurf->height();
    const RCreateNode& lastNode = CreateNodes.back();
    const QPoint last = Screen(lastNode.Point, h);
    PolygonBand.Hide(DisplaySurf->Canvas);   // before the circle, as for the line
    CopyCircle(DisplaySurf->Canvas, last, CreatePolygonMainSegmColor);
    TBandFigure figure{Stroke(QPolygon({last, cursor}), SegmentColor(*this, lastNode.SegmentType), 1,
                              SegmentPenStyle(lastNode.SegmentStyle))};
    if (CreateNodes.size() >= 2)
        figure.push_back(Stroke(QPolygon({cursor, Screen(CreateNodes.front().Point, h)}),
                                SegmentColor(*this, PolygonSegmentType), 1,
                                SegmentPenStyle(PolygonSegmentStyle)));
    PolygonBand.Show(DisplaySurf->Canvas, figure);
    DisplaySurf->update();
}

void TFormMap::RedrawCreatingPolygon()
{
    if (CreateNodes.empty() || MouseMode == mmMoveView || !DisplaySurf)
        return;
    const int h = DisplaySurf->height();
    TMapPainter painter;
    painter.Begin(DisplaySurf->Canvas);
    painter.SetBrushClear();
    PaintNodeCircles(painter, CreateNodes, CreatePolygonMainSegmColor, h);
    for (size_t i = 1; i < CreateNodes.size(); ++i) {
        const RCreateNode& from = CreateNodes[i - 1];
        painter.SetPen(SegmentColor(*this, from.SegmentType), pmCopy, SegmentPenStyle(from.SegmentStyle), 1);
        painter.Line(Screen(from.Point, h), Screen(CreateNodes[i].Point, h));
    }
    painter.End();
    DisplaySurf->update();
}

void TFormMap::DrawAnchorBand(QPoint cursor)
{
    NodeBand.Show(DisplaySurf->Canvas,
                  TBandFigure{Stroke(QPolygon({Screen(LineEndAnchor, DisplaySurf->height()), cursor}),
                                     AnchorColor, 1, psDash)});
    DisplaySurf->update();
}

// ---- The outline of a dragged object --------------------------------------------------------

namespace {

// The arrow from a to b of the node drag: the head as long as the selection's arrows,
// but half the line when the line is shorter than two of them.
void ArrowStrokes(TBandFigure& figure, QPoint a, QPoint b, int arrowLength, Extended halfAngle)
{
    figure.push_back(Stroke(QPolygon({a, b}), OutlineColor));
    const int length = SurfaceDistance(a, b);
    const Extended head = length < 2 * arrowLength ? length / 2.0L : arrowLength;
    const TGeoAngle dir = SurfaceAngle(a, b);
    figure.push_back(Stroke(QPolygon({b, SurfaceAhead(b, head, dir + 180 - halfAngle)}), OutlineColor));
    figure.push_back(Stroke(QPolygon({b, SurfaceAhead(b, head, dir + 180 + halfAngle)}), OutlineColor));
}

}  // namespace

void TFormMap::DrawDragOutline(Extended dX, Extended dY)
{
    const RFindedObject* found =
        MainMap && MainMap->FoundObjects.GetCount() > 0 ? MainMap->FoundObjects.At(SelectedFoundIndex()) : nullptr;
    if (!found || !found->Regions.At(0))
        return;
    const int h = DisplaySurf->height();
    const bool ctrl = (MoveShift & 4) != 0;
    // Shift keeps the move along the longer axis (along X when they are equal).
    Extended cX = dX, cY = dY;
    if (MoveShift & 1) {
        if (std::fabs(cX) >= std::fabs(cY))
            cY = 0;
        else
            cX = 0;
    }
    const RFindedObjRegion& first = *found->Regions.At(0);
    const auto dotted = [](QPolygon points, bool closed) {
        return Stroke(std::move(points), OutlineColor, 1, psDot, closed);
    };
    // A caption frame turned about pivot as a drag from DownPlanPoint by d turns it.
    const auto turned = [&](const TGeoPoints& corners, const TGeoPoint& pivot) {
        TGeoAngle from = 0, to = 0;
        const TGeoPoint down = Points.Down.Plan;
        DirAngle(pivot, down, from);
        DirAngle(pivot, TGeoPoint{down.X + dX, down.Y + dY}, to);
        return dotted(Rotated(corners, pivot, to - from, h), true);
    };
    const auto captions = [&](TBandFigure& figure, bool onlySelected) {
        for (int r = 1; r < found->Regions.GetCount(); ++r) {
            if (onlySelected && r != SelectedContour)
                continue;
            const RFindedObjRegion& region = *found->Regions.At(r);
            if (region.IsCaption != 0 || found->Kind == fkPoint)
                figure.push_back(dotted(Shifted(region.Outline, cX, cY, h), true));
        }
    };
    const auto nodeDrag = [&](TBandFigure& figure, const TGeoPoints& outline, bool cyclic) {
        const int n = outline.GetCount();
        if (SelectedIndex < 0 || SelectedIndex >= n)
            return;
        const TGeoPoint node = *outline.At(SelectedIndex);
        const QPoint from = Screen(node, h);
        const QPoint to = Screen(TGeoPoint{node.X + cX, node.Y + cY}, h);
        ArrowStrokes(figure, from, to, SelectionArrowLength, SelectionArrowAngle);
        const bool inner = SelectedIndex > 0 && SelectedIndex < n - 1;
        if (cyclic ? n > 1 : inner && found->Track.GetCount() == 0) {
            const TGeoPoint& prev = *outline.At((SelectedIndex + n - 1) % n);
            const TGeoPoint& next = *outline.At((SelectedIndex + 1) % n);
            figure.push_back(dotted(QPolygon({Screen(prev, h), to, Screen(next, h)}), false));
        }
    };

    TBandFigure figure;
    switch (found->Kind) {
    case fkRastr:
        figure.push_back(dotted(Shifted(first.Outline, cX, cY, h), true));
        break;
    case fkText:
        if (ctrl && first.Outline.GetCount() >= 4)
            figure.push_back(turned(first.Outline, *first.Outline.At(0)));
        else
            figure.push_back(dotted(Shifted(first.Outline, cX, cY, h, 4), true));
        break;
    case fkPoint:
        if (SelectedPart == 3) {
            if (const TGeoPoint* at = first.Outline.At(0)) {
                const QPoint p = Screen(TGeoPoint{at->X + cX, at->Y + cY}, h);
                for (const TGeoAngle a : {45, 135, 225, 315})
                    figure.push_back(dotted(QPolygon({p, SurfaceAhead(p, 8, a)}), false));
            }
            captions(figure, false);
        } else if (SelectedPart == 4) {
            const RFindedObjRegion* caption = found->Regions.At(1);
            for (int r = 1; r < found->Regions.GetCount(); ++r) {
                const TGeoPoints& corners = found->Regions.At(r)->Outline;
                if (ctrl && caption && caption->Outline.GetCount() > 0)
                    figure.push_back(turned(corners, *caption->Outline.At(0)));
                else
                    figure.push_back(dotted(Shifted(corners, cX, cY, h, 4), true));
            }
        }
        break;
    case fkLine:
        if (SelectedPart == 1) {
            nodeDrag(figure, first.Outline, false);
        } else if (SelectedPart == 3) {
            if (found->Track.GetCount() > 0) {
                QPolygon track;
                for (int i = 0; i < found->Track.GetCount(); ++i) {
                    const TGeoPoint& p = found->Track.At(i)->Point;
                    track << Screen(TGeoPoint{p.X + cX, p.Y + cY}, h);
                }
                figure.push_back(dotted(track, false));
            } else {
                figure.push_back(dotted(Shifted(first.Outline, cX, cY, h), false));
            }
        } else if (SelectedPart == 4) {
            captions(figure, ctrl);
        }
        break;
    case fkPolygon:
        if (SelectedPart == 1) {
            const RFindedObjRegion* contour = found->Regions.At(std::max(SelectedContour, 0));
            nodeDrag(figure, contour ? contour->Outline : first.Outline, true);
        } else if (SelectedPart == 3) {
            figure.push_back(dotted(Shifted(first.Outline, cX, cY, h), true));
        } else if (SelectedPart == 4) {
            captions(figure, ctrl);
        }
        break;
    default:
        break;
    }
    if (figure.empty())
        return;
    DragBand.Show(DisplaySurf->Canvas, figure);
    DisplaySurf->update();
}

// ---- The constructions palette's base line ----------------------------------------------------

void TFormMap::ConstructionPreview(const TGeoPoint& P1, const TGeoPoint& P2)
{
    if (MouseMode == mmMoveView || !MainMap || !DisplaySurf)
        return;
    const int h = DisplaySurf->height();
    // 16 pixels on the plan at this view (its size: the plan X falls as y grows).
    Extended length = std::fabs(Plan(QPoint(0, 0), h).X - Plan(QPoint(0, 16), h).X);
    Extended distance = 0;
    Dist(P1, P2, distance);
    if (distance <= 3 * length)
        length = distance / 3;
    TGeoAngle a = 0;
    DirAngle(P1, P2, a);
    const TGeoAngle right = NextDirAngle(a, 15, atRight);
    const TGeoAngle left = NextDirAngle(a, 15, atLeft);
    const QPoint s1 = Screen(P1, h), s2 = Screen(P2, h);
    TBandFigure figure;
    TBandStroke ring = Circle(s1, 3, ConstructionColor, 2);
    ring.Points[1] += QPoint(1, 1);   // the box to (x + 4, y + 4)
    ring.Style = psDashDotDot;
    figure.push_back(ring);
    figure.push_back(Stroke(QPolygon({s1, s2}), ConstructionColor, 2, psDashDotDot));
    figure.push_back(Stroke(QPolygon({s2, Screen(PGZ(P2, length, right), h)}), ConstructionColor, 2));
    figure.push_back(Stroke(QPolygon({s2, Screen(PGZ(P2, length, left), h)}), ConstructionColor, 2));
    TXorBand::Paint(DisplaySurf->Canvas, figure);
    DisplaySurf->update();
}

// ---- Row handlers -------------------------------------------------------------------------------

void TFormMap::ZoomDrag()
{
    if (MouseStep == 1)
        DrawZoomBand(Points.Move.Screen);
}

void TFormMap::SaveAreaDrag()
{
    if (MouseStep == 1)
        DrawExportBand(Points.Move.Screen);
}

void TFormMap::PrintAreaHover()
{
    DrawPrintBand(Points.Move.Screen);
}

void TFormMap::StampDrag()
{
    if (MouseStep == 1)
        DrawStampBand(Points.Move.Screen);
}

void TFormMap::StampUp()
{
    // The stamp itself is placed by the stamp's own routine.
    RectBand.Hide(DisplaySurf->Canvas);
    DisplaySurf->update();
}

void TFormMap::CreateLineHover()
{
    DrawLineBand(Points.Move.Screen);
}

void TFormMap::CreatePolygonHover()
{
    DrawPolygonBand(Points.Move.Screen);
}

void TFormMap::AnchorHover()
{
    DrawAnchorBand(Points.Move.Screen);
}

void TFormMap::CoordLabelsDrag()
{
    if (MouseStep == 1)
        DrawLabelBand(Points.Move.Screen);
}

void TFormMap::CreateTextDown()
{
    TextAngleDragged = false;
    MouseStep = 1;
}

void TFormMap::CreateTextDrag()
{
    TextAngleDragged = true;
    SetTextAngleFromDrag(Points.Move.Screen);
    DrawTextPreview(Points.Move.Screen);
}

void TFormMap::CreateTextHover()
{
    DrawTextPreview(Points.Move.Screen);
}

void TFormMap::CreatePointDown()
{
    PointAngleDragged = false;
    PointBand.MarkUndrawn();
    MouseStep = 1;
}

void TFormMap::CreatePointDrag()
{
    if (PointCtrlFlag && (MoveShift & 4) == 0) {
        PointCtrlFlag = false;
        PaintBitmap();   // the cross goes; the simple gizmo follows
    }
    DrawPointBand(Points.Move.Screen);
}

void TFormMap::CreatePointUp()
{
    // Ctrl at the release chooses the cross for the next point's gizmo; the point itself
    // is made by its creator.
    PointCtrlFlag = (UpShift & 4) != 0;
}

void TFormMap::CreateCircleDown()
{
    if (MouseStep != 0)
        return;
    LineBand.MarkUndrawn();
    MouseStep = 1;
}

void TFormMap::CreateCircleDrag()
{
    DrawCircleBand(Points.Move.Screen);
}
