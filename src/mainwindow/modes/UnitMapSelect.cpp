// The selection: the engine's found-object list shown in the tool bar's box, the chosen
// object highlighted by an animated outline painted on the surface (never into the
// picture, so every copy of the picture wipes it), and the select mode's caption and
// cursor for the part of the object under the cursor.
#include "mainwindow/UnitMap.h"

#include "engine/GeoMap.h"
#include "engine/draw/MapPainter.h"
#include "mainwindow/VclTimer.h"
#include "mainwindow/modes/SnapHitTest.h"
#include "mainwindow/modes/SurfaceAngle.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

namespace {

const QString ClearHint = QStringLiteral("Убрать выделение объектов");
const QString PropHint = QStringLiteral("Показать выделенный объект");

QString KindWord(std::uint8_t kind)
{
    switch (kind) {
    case fkRastr: return QStringLiteral("Растровый");
    case fkText: return QStringLiteral("Текстовый");
    case fkPoint: return QStringLiteral("Точечный");
    case fkLine: return QStringLiteral("Линейный");
    default: return QStringLiteral("Площадной");
    }
}

// The caption suffix and cursor of the part under the cursor, while a button is held
// and without one.
struct TPartStatus {
    const char* Suffix;
    const char* Cursor;
};

TPartStatus PartStatus(std::uint8_t part, std::uint8_t kind, bool held, bool ctrl)
{
    switch (part) {
    case 1:
        return held ? TPartStatus{" объект: сдвиг узла", "MOVENODE"}
                    : TPartStatus{" объект: изменение узла", "ONNODE"};
    case 2:
        return held ? TPartStatus{" объект: сдвиг сегмента", "MOVESEGMENT"}
                    : TPartStatus{" объект: изменение сегмента", "ONSEGMENT"};
    case 3:
        if (!held)
            return {" объект: изменение объекта", "ONOBJECT"};
        if (kind != fkText)
            return {" объект: сдвиг объекта", "MOVEOBJECT"};
        return ctrl ? TPartStatus{" объект: поворот текста", "ROTATEOBJECT"}
                    : TPartStatus{" объект: сдвиг текста", "MOVEOBJECT"};
    default:   // 4, a caption
        if (!held)
            return {" объект: изменение автотекста", "ONTEXT"};
        if (kind != fkPoint)
            return {" объект: сдвиг автотекста", "MOVETEXT"};
        return ctrl ? TPartStatus{" объект: поворот автотекста", "ROTATEOBJECT"}
                    : TPartStatus{" объект: сдвиг автотекста", "MOVEOBJECT"};
    }
}

}  // namespace

QComboBox* TFormMap::ComboBoxSelectedObjects() const
{
    return findChild<QComboBox*>(QStringLiteral("SelectedObjects"));
}

void TFormMap::ConnectSelectionCommands()
{
    if (QComboBox* box = ComboBoxSelectedObjects()) {
        box->setToolTip(QStringLiteral("---------------"));
        box->setEnabled(false);
        // The user's choice only: the box filled or cleared by the program is no change.
        connect(box, &QComboBox::activated, this, [this] { ComboBoxSelectedObjectsChange(); });
    }
    if (QToolButton* b = PanelButtons.value(ClearHint))
        connect(b, &QToolButton::clicked, this, [this] { btClearSelectedClick(); });
    if (FoundCount)
        FoundCount->setEnabled(false);
}

// ---- The found-object list -------------------------------------------------------------

void TFormMap::SelectAtClick()
{
    if (!MainMap)
        return;
    const TGeoRect square = PickSquare(Points.Up.Screen);
    MainMap->FindObjects(Points.Up.Plan.X, Points.Up.Plan.Y, square);
    RefreshFoundList();
    FindPartUnderCursor();
    ShowSelectionStatus();
}

void TFormMap::RefindSelected()
{
    if (!MainMap)
        return;
    QComboBox* box = ComboBoxSelectedObjects();
    const int i = box ? box->currentIndex() : -1;
    MainMap->ReFind(i);
    RefreshFoundList();
    // A record the engine dropped (its object is gone) leaves the index past the end.
    if (box && i < box->count())
        box->setCurrentIndex(i);
    ComboBoxSelectedObjectsChange();
    FindPartUnderCursor();
    ShowSelectionStatus();
}

void TFormMap::RefreshFoundList()
{
    if (!MainMap)
        return;
    const int n = MainMap->FoundObjects.GetCount();
    StopSelectAnimation();
    QComboBox* box = ComboBoxSelectedObjects();
    if (box)
        box->clear();
    const bool any = n >= 1;
    for (QWidget* w : {static_cast<QWidget*>(box), static_cast<QWidget*>(FoundCount),
                       static_cast<QWidget*>(PanelButtons.value(ClearHint)),
                       static_cast<QWidget*>(PanelButtons.value(PropHint))})
        if (w)
            w->setEnabled(any);
    if (FoundCount)
        FoundCount->setText(QString::number(n));
    if (!any) {
        PaintBitmap();
        return;
    }
    if (box) {
        for (int i = 0; i < n; ++i)
            box->addItem(MainMap->FoundObjects.At(i)->Description.toLower());
        box->setCurrentIndex(0);
    }
    PaintBitmap();
    StartSelectAnimation();
    FindPartUnderCursor();
    ShowSelectionStatus();
}

void TFormMap::btClearSelectedClick()
{
    StopSelectAnimation();
    if (QComboBox* box = ComboBoxSelectedObjects()) {
        box->clear();
        box->setEnabled(false);
    }
    for (QWidget* w : {static_cast<QWidget*>(FoundCount),
                       static_cast<QWidget*>(PanelButtons.value(ClearHint)),
                       static_cast<QWidget*>(PanelButtons.value(PropHint))})
        if (w)
            w->setEnabled(false);
    if (FoundCount)
        FoundCount->setText(QStringLiteral("0"));
    if (MainMap)
        MainMap->FoundObjects.DeleteAll();
    PaintBitmap();
}

void TFormMap::ComboBoxSelectedObjectsChange()
{
    StopSelectAnimation();
    PaintBitmap();   // the old highlight goes with the copy
    const QComboBox* box = ComboBoxSelectedObjects();
    if (box && box->currentIndex() >= 0)
        StartSelectAnimation();
}

// ---- Status ------------------------------------------------------------------------------

void TFormMap::ShowSelectionStatus()
{
    const RFindedObject* found =
        MainMap && MainMap->FoundObjects.GetCount() > 0 ? MainMap->FoundObjects.At(SelectedFoundIndex())
                                                       : nullptr;
    if (!MainMap || MainMap->FoundObjects.GetCount() == 0)
        SelectedPart = 0;
    QString caption;
    const char* cursor = "SELECT";
    if (!found || SelectedPart == 0) {
        caption = QStringLiteral("режим: Выбор объекта [") + QString::number(MouseStep) + u']';
    } else {
        const TPartStatus status = PartStatus(SelectedPart, found->Kind, ButtonHeld, (MoveShift & 4) != 0);
        caption = KindWord(found->Kind) + QString::fromUtf8(status.Suffix);
        cursor = status.Cursor;
    }
    if (NMouseMode)
        NMouseMode->setTitle(caption);
    // With no button held the application's cursor goes first, so the surface's shows.
    if (!ButtonHeld)
        SetScreenCursor({});
    // The surface's own cursor shows at once, a button held or not.
    if (DisplaySurf)
        DisplaySurf->setCursor(Cursors.value(QString::fromLatin1(cursor), QCursor(Qt::ArrowCursor)));
}

// ---- Animation -------------------------------------------------------------------------

void TFormMap::StartSelectAnimation()
{
    if (!MainMap || MainMap->FoundObjects.GetCount() == 0)
        return;
    MainMap->HighlightColor = MainMap->HighlightColor1;
    MainMap->HighlightRising = 1;
    MainMap->HighlightStep = 0;
    tmSelect->SetEnabled(true);
}

void TFormMap::StopSelectAnimation()
{
    tmSelect->SetEnabled(false);
}

void TFormMap::tmSelectTimer()
{
    HighlightSelected();
}

void TFormMap::HighlightSelected()
{
    if (!MainMap || MainMap->FoundObjects.GetCount() == 0 || !DisplaySurf)
        return;
    QImage& canvas = DisplaySurf->Canvas;
    if (canvas.isNull())
        return;
    MainMap->NextColor();
    const RFindedObject* found = MainMap->FoundObjects.At(SelectedFoundIndex());
    if (!found)
        return;
    TMapPainter painter;
    painter.Begin(canvas);
    painter.SetPen(MainMap->HighlightColor, pmCopy, psSolid, MainMap->HighlightWidth);
    painter.SetBrushClear();
    const RFindedObjRegion* first = found->Regions.At(0);
    const auto furtherFrames = [&] {
        for (int r = 1; r < found->Regions.GetCount(); ++r)
            DrawCaptionFrame(painter, found->Regions.At(r)->Outline);
    };
    if (first) {
        switch (found->Kind) {
        case fkRastr:
            DrawClosedArrowPolyline(painter, first->Outline);
            break;
        case fkText:
            DrawCaptionFrame(painter, first->Outline);
            break;
        case fkPoint:
            if (const TGeoPoint* at = first->Outline.At(0)) {
                int x = 0, y = 0;
                MainMap->GeoToScr(canvas.height(), at->X, at->Y, x, y);
                DrawNodeMark(painter, x, y);
            }
            furtherFrames();
            break;
        case fkLine:
            DrawNodeMarks(painter, first->Outline);
            if (found->Track.GetCount() > 0)
                DrawArrowPolylineSparse(painter, found->Track);
            else
                DrawArrowPolyline(painter, first->Outline);
            furtherFrames();
            break;
        case fkPolygon:
            DrawNodeMarks(painter, first->Outline);
            DrawClosedArrowPolyline(painter, first->Outline);
            for (int r = 1; r < found->Regions.GetCount(); ++r) {
                const RFindedObjRegion& region = *found->Regions.At(r);
                if (region.IsCaption == 0) {
                    DrawNodeMarks(painter, region.Outline);
                    DrawClosedArrowPolyline(painter, region.Outline);
                } else {
                    DrawCaptionFrame(painter, region.Outline);
                }
            }
            break;
        default:
            break;
        }
    }
    painter.End();
    DisplaySurf->update();
}

// ---- Painters ----------------------------------------------------------------------------

namespace {

QPointF Screen(const TGeoPoint& p, int height)
{
    int x = 0, y = 0;
    MainMap->GeoToScr(height, p.X, p.Y, x, y);
    return QPointF(x, y);
}

}  // namespace

void TFormMap::DrawNodeMark(TMapPainter& painter, int x, int y) const
{
    const int c = HalfSquare(PickRadius);
    const int e = c + 1;
    // The square's right and bottom edges end a pixel inside, as a frame of that box does.
    const std::vector<QPointF> square = {QPointF(x - c, y - c), QPointF(x + c - 1, y - c),
                                         QPointF(x + c - 1, y + c - 1), QPointF(x - c, y + c - 1),
                                         QPointF(x - c, y - c)};
    painter.Polyline(square, false);
    painter.Line(QPointF(x - e, y), QPointF(x - 2 * e, y));
    painter.Line(QPointF(x + e, y), QPointF(x + 2 * e, y));
    painter.Line(QPointF(x, y - e), QPointF(x, y - 2 * e));
    painter.Line(QPointF(x, y + e), QPointF(x, y + 2 * e));
}

void TFormMap::DrawNodeMarks(TMapPainter& painter, const TGeoPoints& points) const
{
    const int h = DisplaySurf->height();
    for (int i = 0; i < points.GetCount(); ++i) {
        const QPointF p = Screen(*points.At(i), h);
        DrawNodeMark(painter, int(p.x()), int(p.y()));
    }
}

void TFormMap::DrawCaptionFrame(TMapPainter& painter, const TGeoPoints& corners) const
{
    if (corners.GetCount() < 4)
        return;
    const int h = DisplaySurf->height();
    std::vector<QPointF> frame;
    for (int i = 0; i < 4; ++i)
        frame.push_back(Screen(*corners.At(i), h));
    frame.push_back(frame.front());
    painter.Polyline(frame, false);
    const QPointF c = frame.front();
    painter.Ellipse(c - QPointF(2, 2), c + QPointF(2, 2));
}

namespace {

// The segment from a to b and the arrowhead at b, when arrow is set.
void ArrowSegment(TMapPainter& painter, QPointF a, QPointF b, bool arrow, int length, Extended halfAngle)
{
    painter.Line(a, b);
    if (!arrow)
        return;
    const QPoint pa = a.toPoint(), pb = b.toPoint();
    const TGeoAngle dir = SurfaceAngle(pa, pb);
    painter.Line(b, SurfaceAhead(pb, length, dir + 180 - halfAngle));
    painter.Line(b, SurfaceAhead(pb, length, dir + 180 + halfAngle));
}

}  // namespace

void TFormMap::DrawArrowPolyline(TMapPainter& painter, const TGeoPoints& points) const
{
    const int h = DisplaySurf->height();
    for (int i = 1; i < points.GetCount(); ++i)
        ArrowSegment(painter, Screen(*points.At(i - 1), h), Screen(*points.At(i), h), true,
                     SelectionArrowLength, SelectionArrowAngle);
}

void TFormMap::DrawArrowPolylineSparse(TMapPainter& painter, const TExtGeoPoints& points) const
{
    const int h = DisplaySurf->height();
    for (int i = 1; i < points.GetCount(); ++i)
        ArrowSegment(painter, Screen(points.At(i - 1)->Point, h), Screen(points.At(i)->Point, h),
                     i % 10 == 0, SelectionArrowLength, SelectionArrowAngle);
}

void TFormMap::DrawClosedArrowPolyline(TMapPainter& painter, const TGeoPoints& points) const
{
    DrawArrowPolyline(painter, points);
    const int n = points.GetCount();
    if (n < 2)
        return;
    const int h = DisplaySurf->height();
    ArrowSegment(painter, Screen(*points.At(n - 1), h), Screen(*points.At(0), h), true,
                 SelectionArrowLength, SelectionArrowAngle);
}

// ---- Select mode -------------------------------------------------------------------------

void TFormMap::SelectDown()
{
    DragBand.MarkUndrawn();
}

void TFormMap::SelectUp()
{
    if (SelectedPart == 0) {
        SelectAtClick();
        return;
    }
    // The drag's outline goes; the moves and edits that apply a drag redraw the plan
    // themselves.
    DragBand.Hide(DisplaySurf->Canvas);
    DisplaySurf->update();
    const int found = SelectedFoundIndex();
    const RFindedObject* object = MainMap && found >= 0 ? MainMap->FoundObjects.At(found) : nullptr;
    if (object && object->Kind == fkLine)
        EditLineObject(leApplyDrag);
    else if (object && object->Kind == fkPolygon)
        EditPolygonObject(peApplyDrag);
    else if (object && object->Kind == fkRastr)
        ApplyRastrMove();
    else if (object && object->Kind == fkText)
        ApplyTextMove();
    else if (object && object->Kind == fkPoint)
        ApplyPointMove();
}
