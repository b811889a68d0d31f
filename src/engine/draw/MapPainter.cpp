// The plan's painter over QPainter: raster operations, pens, fills, clipping in floating
// point and fonts kept from one drawing to the next.
#include "engine/draw/MapPainter.h"

#include "engine/draw/TileDrawer.h"
#include "platform/Platform.h"

#include <QFontMetricsF>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Pixels farther than this from the picture are never handed to QPainter.
constexpr qreal FarPixel = 16777216.0;   // 2^24: exact in float, far inside int
constexpr int MaxCachedFonts = 256;
constexpr int EllipseSteps = 720;

// Halves to even, as every pixel of the plan is taken.
int Px(qreal v) { return static_cast<int>(std::nearbyint(v)); }
QPoint Px(const QPointF& p) { return QPoint(Px(p.x()), Px(p.y())); }

}  // namespace

QColor TColorToQColor(std::int32_t color)
{
    if (color < 0) {
        // The few system colours a plan or a setting may hold, as the classic scheme.
        switch (color & 0xFF) {
        case 5: return QColor(255, 255, 255);    // window
        case 8: return QColor(0, 0, 0);          // window text
        case 15: return QColor(240, 240, 240);   // button face
        case 16: return QColor(160, 160, 160);   // button shadow
        default: return QColor(192, 192, 192);
        }
    }
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

// The composition mode of each pen mode; black and white are copies of their colour.
QPainter::CompositionMode PenModeComposition(std::uint8_t mode)
{
    switch (mode) {
    case pmNot: return QPainter::RasterOp_NotDestination;
    case pmNotCopy: return QPainter::RasterOp_NotSource;
    case pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMask: return QPainter::RasterOp_SourceAndDestination;
    case pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    default: return QPainter::CompositionMode_SourceOver;   // black, white, copy
    }
}

QColor EffectivePenColor(const TPenState& s)
{
    return s.PenMode == pmBlack ? QColor(Qt::black) : s.PenMode == pmWhite ? QColor(Qt::white)
                                                                         : TColorToQColor(s.PenColor);
}

QColor EffectiveBrushColor(const TPenState& s)
{
    return s.PenMode == pmBlack ? QColor(Qt::black) : s.PenMode == pmWhite ? QColor(Qt::white)
                                                                         : TColorToQColor(s.BrushColor);
}

void SetPenAndBrush(QPainter& p, const TPenState& s)
{
    const bool visible = s.PenMode != pmNop && s.PenStyle != psClear;
    if (!visible || s.NoPen) {
        p.setPen(Qt::NoPen);
    } else {
        QPen pen(EffectivePenColor(s));
        pen.setWidth(s.PenWidth <= 1 ? 0 : s.PenWidth);   // 0: the one-pixel cosmetic pen
        if (s.PenWidth > 1) {
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
        } else if (s.PenStyle >= psDash && s.PenStyle <= psDashDotDot) {
            pen.setCapStyle(Qt::FlatCap);
            switch (s.PenStyle) {
            case psDash: pen.setDashPattern({18, 6}); break;
            case psDot: pen.setDashPattern({3, 3}); break;
            case psDashDot: pen.setDashPattern({9, 6, 3, 6}); break;
            default: pen.setDashPattern({9, 3, 3, 3, 3, 3}); break;
            }
        }
        p.setPen(pen);
    }
    if (s.BrushClear)
        p.setBrush(Qt::NoBrush);
    else
        p.setBrush(QBrush(EffectiveBrushColor(s)));
}

void ApplyPenState(QPainter& p, const TPenState& s)
{
    p.setCompositionMode(PenModeComposition(s.PenMode));
    SetPenAndBrush(p, s);
}

namespace {
// Primitives whose recording memory stays with the painter between drawings, whatever
// the next drawing uses of it.
constexpr std::size_t KeptRecordOps = 65536;
}  // namespace

TMapPainter::TMapPainter() = default;
TMapPainter::~TMapPainter() { End(); }

void TMapPainter::Begin(QImage& picture, bool tiled, const QRect& area)
{
    End();
    Target = &picture;
    if (tiled && picture.format() == QImage::Format_RGB32) {
        if (!Recorded) {
            // Room for what the last large drawing recorded, taken at once: a list grown
            // step by step copies and faults in its memory again at every step.
            Recorded = std::make_unique<TDrawList>();
            Recorded->Reserve(LastRecorded);
        }
        Record = Recorded.get();
        Record->Clear();
        RecordedArea = area;
        RecordedFont = -1;
    } else {
        Painter.begin(&picture);
        Painter.setRenderHint(QPainter::Antialiasing, false);
        Painter.setRenderHint(QPainter::TextAntialiasing, false);
        Painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
    PenColor = 0;
    PenMode = pmCopy;
    PenStyle = psSolid;
    PenWidth = 0;
    BrushColor = 0xFFFFFF;
    BrushClear = false;
    AppliedMode = -1;
    PenDirty = true;
}

void TMapPainter::End()
{
    if (Painter.isActive())
        Painter.end();
    if (Record) {
        // Off the list before it is painted, so that a painting that fails leaves the
        // painter closed all the same.
        TDrawList* list = Record;
        Record = nullptr;
        if (Target)
            TTileDrawer::Shared().Draw(*list, *Target, RecordedArea);
        // The room a drawing recorded in stays for the next, which mostly shows the same
        // view again: a list grown anew copies and faults in its memory at every step
        // (seconds on a large plan's picture). It is given back when a drawing used far
        // less of it (a view zoomed in, another plan; not a part redrawn after an edit), and
        // a new list takes the room the last one used at once.
        const std::size_t room = list->Ops.capacity();
        if (room > KeptRecordOps && list->Size() < room / 8 && RecordedArea.isEmpty()) {
            LastRecorded = list->Sizes();
            Recorded.reset();
        } else {
            list->Clear();
        }
    }
    Target = nullptr;
}

// Pens and brushes change far less often than primitives are painted: an unchanged one
// is not set on the painter again.
void TMapPainter::SetPen(std::int32_t color, std::uint8_t mode, std::uint8_t style, int width)
{
    width = std::max(width, 0);
    if (color == PenColor && mode == PenMode && style == PenStyle && width == PenWidth)
        return;
    PenColor = color;
    PenMode = mode;
    PenStyle = style;
    PenWidth = width;
    PenDirty = true;
}

void TMapPainter::SetBrush(std::int32_t color)
{
    if (color == BrushColor && !BrushClear)
        return;
    BrushColor = color;
    BrushClear = false;
    PenDirty = true;
}

void TMapPainter::SetBrushColor(std::int32_t color)
{
    if (color == BrushColor)
        return;
    BrushColor = color;
    PenDirty = true;
}

void TMapPainter::SetBrushClear()
{
    if (BrushClear)
        return;
    BrushClear = true;
    PenDirty = true;
}

TMapPainter::TState TMapPainter::State() const
{
    return {PenColor, BrushColor, PenMode, PenStyle, std::uint8_t(BrushClear ? 1 : 0), PenWidth};
}

void TMapPainter::Restore(const TState& s)
{
    SetPen(s.PenColor, s.PenMode, s.PenStyle, s.PenWidth);
    if (s.BrushColor != BrushColor || (s.BrushClear != 0) != BrushClear) {
        BrushColor = s.BrushColor;
        BrushClear = s.BrushClear != 0;
        PenDirty = true;
    }
}

TPenState TMapPainter::CurrentState() const
{
    TPenState s;
    s.PenColor = PenColor;
    s.BrushColor = BrushColor;
    s.PenWidth = PenWidth;
    s.PenMode = PenMode;
    s.PenStyle = PenStyle;
    s.BrushClear = BrushClear;
    return s;
}

QRect TMapPainter::StrokeBox(const QPoint* points, qsizetype count) const
{
    if (count <= 0)
        return QRect();
    int l = points[0].x(), r = l, t = points[0].y(), b = t;
    for (qsizetype i = 1; i < count; ++i) {
        l = std::min(l, points[i].x());
        r = std::max(r, points[i].x());
        t = std::min(t, points[i].y());
        b = std::max(b, points[i].y());
    }
    // Half the pen each way, round caps and joins, and a pixel for the rounding.
    const int reach = PenWidth / 2 + 2;
    return QRect(QPoint(l - reach, t - reach), QPoint(r + reach, b + reach));
}

bool TMapPainter::Dashed() const
{
    return PenWidth <= 1 && PenStyle >= psDash && PenStyle <= psDashDotDot;
}

void TMapPainter::ApplyMode(bool forText)
{
    const int mode = forText ? int(QPainter::CompositionMode_SourceOver) : int(PenModeComposition(PenMode));
    if (mode != AppliedMode) {
        Painter.setCompositionMode(static_cast<QPainter::CompositionMode>(mode));
        AppliedMode = mode;
    }
}

void TMapPainter::UpdatePen()
{
    if (Record) {
        if (PenDirty || Record->States.empty()) {
            RecordedState = Record->State(CurrentState());
            PenDirty = false;
        }
        return;
    }
    ApplyMode(false);
    if (!PenDirty)
        return;
    PenDirty = false;
    SetPenAndBrush(Painter, CurrentState());
}

QRectF TMapPainter::ClipRect() const
{
    const qreal margin = PenWidth + 4;
    const qreal w = Target ? Target->width() : 0;
    const qreal h = Target ? Target->height() : 0;
    return QRectF(-margin, -margin, w + 2 * margin, h + 2 * margin);
}

// Liang and Barsky: the part of a-b inside the clip rectangle; false when none.
bool TMapPainter::ClipSegment(QPointF& a, QPointF& b) const
{
    if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) || !std::isfinite(b.y()))
        return false;
    const QRectF r = ClipRect();
    const qreal dx = b.x() - a.x(), dy = b.y() - a.y();
    qreal t0 = 0, t1 = 1;
    const qreal p[4] = {-dx, dx, -dy, dy};
    const qreal q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const qreal t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF from = a;
    if (t0 > 0)
        a = QPointF(from.x() + t0 * dx, from.y() + t0 * dy);
    if (t1 < 1)
        b = QPointF(from.x() + t1 * dx, from.y() + t1 * dy);
    return true;
}

// Sutherland and Hodgman, edge by edge: the ring cut to the clip rectangle. The edges it
// adds lie outside the picture, so the fill inside it is the same.
void TMapPainter::ClipRing(std::vector<QPointF>& ring)
{
    const QRectF r = ClipRect();
    const auto clipEdge = [](std::vector<QPointF>& in, std::vector<QPointF>& out, auto inside, auto cross) {
        out.clear();
        const size_t n = in.size();
        for (size_t i = 0; i < n; ++i) {
            const QPointF& cur = in[i];
            const QPointF& prev = in[(i + n - 1) % n];
            const bool curIn = inside(cur), prevIn = inside(prev);
            if (curIn) {
                if (!prevIn)
                    out.push_back(cross(prev, cur));
                out.push_back(cur);
            } else if (prevIn) {
                out.push_back(cross(prev, cur));
            }
        }
        in.swap(out);
    };
    const auto atX = [](qreal x) {
        return [x](const QPointF& a, const QPointF& b) {
            const qreal t = (x - a.x()) / (b.x() - a.x());
            return QPointF(x, a.y() + t * (b.y() - a.y()));
        };
    };
    const auto atY = [](qreal y) {
        return [y](const QPointF& a, const QPointF& b) {
            const qreal t = (y - a.y()) / (b.y() - a.y());
            return QPointF(a.x() + t * (b.x() - a.x()), y);
        };
    };
    std::vector<QPointF>& scratch = Scratch;
    const qreal l = r.left(), t = r.top(), rr = r.right(), b = r.bottom();
    clipEdge(ring, scratch, [l](const QPointF& p) { return p.x() >= l; }, atX(l));
    clipEdge(ring, scratch, [rr](const QPointF& p) { return p.x() <= rr; }, atX(rr));
    clipEdge(ring, scratch, [t](const QPointF& p) { return p.y() >= t; }, atY(t));
    clipEdge(ring, scratch, [b](const QPointF& p) { return p.y() <= b; }, atY(b));
}

void TMapPainter::Line(const QPointF& from, const QPointF& to)
{
    if (!Target || !PenVisible())
        return;
    QPointF a = from, b = to;
    if (!ClipSegment(a, b))
        return;
    UpdatePen();
    if (Record) {
        const auto first = std::uint32_t(Record->Points.size());
        Record->Points.push_back(Px(a));
        Record->Points.push_back(Px(b));
        Record->Add(TDrawList::kLine, RecordedState, first, 2, StrokeBox(&Record->Points[first], 2));
        return;
    }
    Painter.drawLine(Px(a), Px(b));
    if (Observer)
        Observer->Line(Painter, Px(a), Px(b));
}

void TMapPainter::Polyline(const std::vector<QPointF>& points, bool strokePerSegment)
{
    if (!Target || !PenVisible() || points.empty())
        return;
    if (strokePerSegment || Dashed()) {
        for (size_t i = 1; i < points.size(); ++i)
            Line(points[i - 1], points[i]);
        return;
    }
    // One stroke through the runs that lie on the picture; a run leaving it ends there.
    UpdatePen();
    IntPoints.clear();
    const auto flush = [&] {
        if (IntPoints.size() >= 2) {
            if (Record) {
                const auto first = std::uint32_t(Record->Points.size());
                Record->Points.insert(Record->Points.end(), IntPoints.begin(), IntPoints.end());
                Record->Add(TDrawList::kPolyline, RecordedState, first, std::uint32_t(IntPoints.size()),
                            StrokeBox(IntPoints.constData(), IntPoints.size()));
            } else {
                Painter.drawPolyline(IntPoints);
                if (Observer)
                    Observer->Polyline(Painter, IntPoints);
            }
        }
        IntPoints.clear();
    };
    for (size_t i = 1; i < points.size(); ++i) {
        QPointF a = points[i - 1], b = points[i];
        if (!ClipSegment(a, b)) {
            flush();
            continue;
        }
        const QPoint pa = Px(a), pb = Px(b);
        if (IntPoints.isEmpty() || IntPoints.back() != pa) {
            flush();
            IntPoints.append(pa);
        }
        IntPoints.append(pb);
        if (b != points[i])
            flush();
    }
    flush();
    if (points.size() == 1)
        Line(points[0], points[0]);
}

void TMapPainter::BeginPolygon()
{
    RingPoints.clear();
    RingStarts.clear();
}

void TMapPainter::NewRing() { RingStarts.push_back(int(RingPoints.size())); }

void TMapPainter::Point(const QPointF& p)
{
    if (RingStarts.empty())
        NewRing();
    RingPoints.push_back(p);
}

void TMapPainter::DrawPolygon()
{
    if (!Target || PenMode == pmNop || RingPoints.empty())
        return;
    const QRectF clip = ClipRect();
    Path.clear();
    Path.setFillRule(Qt::OddEvenFill);
    int rings = 0;
    // Tiled: every ring's pixels go to the list, each ring after the one before.
    const auto recordedFrom = Record ? std::uint32_t(Record->Points.size()) : 0;
    const auto recordedRings = Record ? std::uint32_t(Record->Rings.size()) : 0;
    for (size_t r = 0; r < RingStarts.size(); ++r) {
        const size_t from = RingStarts[r];
        const size_t to = r + 1 < RingStarts.size() ? RingStarts[r + 1] : RingPoints.size();
        if (to <= from)
            continue;
        Clipped.assign(RingPoints.begin() + from, RingPoints.begin() + to);
        bool finite = true, inside = true;
        for (const QPointF& p : Clipped) {
            finite = finite && std::isfinite(p.x()) && std::isfinite(p.y());
            inside = inside && clip.contains(p);
        }
        if (!finite)
            continue;
        if (!inside)
            ClipRing(Clipped);
        if (Clipped.empty())
            continue;
        if (Record) {
            const auto first = std::uint32_t(Record->Points.size());
            for (const QPointF& p : Clipped)
                Record->Points.push_back(Px(p));
            Record->Rings.push_back({first, std::uint32_t(Record->Points.size()) - first});
            ++rings;
            continue;
        }
        // The first ring waits in IntPoints: a polygon of one ring needs no path.
        if (rings == 1)
            AddRingToPath();
        IntPoints.clear();
        for (const QPointF& p : Clipped)
            IntPoints.append(Px(p));
        if (++rings > 1)
            AddRingToPath();
    }
    if (rings == 0)
        return;
    UpdatePen();
    if (Record) {
        const QPoint* points = Record->Points.data() + recordedFrom;
        const auto count = std::uint32_t(Record->Points.size()) - recordedFrom;
        const QRect box = StrokeBox(points, count);
        std::uint32_t state = RecordedState;
        if (Dashed()) {
            // The fill alone, then every side as a stroke of its own, its dash restarted.
            TPenState fillOnly = CurrentState();
            fillOnly.NoPen = true;
            state = Record->State(fillOnly);
            PenDirty = true;
        }
        if (rings == 1) {
            Record->Rings.pop_back();
            Record->Add(TDrawList::kPolygon, state, recordedFrom, count, box);
        } else {
            Record->Add(TDrawList::kPath, state, recordedRings, std::uint32_t(rings), box);
        }
        if (Dashed())
            for (size_t r = 0; r < RingStarts.size(); ++r) {
                const size_t from = RingStarts[r];
                const size_t to = r + 1 < RingStarts.size() ? RingStarts[r + 1] : RingPoints.size();
                for (size_t i = from; i < to; ++i)
                    Line(RingPoints[i], RingPoints[i + 1 < to ? i + 1 : from]);
            }
        return;
    }
    const auto fill = [&] {
        if (rings == 1) {
            Painter.drawPolygon(IntPoints, Qt::OddEvenFill);
            if (Observer)
                Observer->Polygon(Painter, IntPoints);
        } else {
            Painter.drawPath(Path);
            if (Observer)
                Observer->Path(Painter, Path);
        }
    };
    if (!Dashed()) {
        fill();
        return;
    }
    // The fill alone, then every side as a stroke of its own, its dash restarted.
    const QPen pen = Painter.pen();
    Painter.setPen(Qt::NoPen);
    fill();
    Painter.setPen(pen);
    for (size_t r = 0; r < RingStarts.size(); ++r) {
        const size_t from = RingStarts[r];
        const size_t to = r + 1 < RingStarts.size() ? RingStarts[r + 1] : RingPoints.size();
        for (size_t i = from; i < to; ++i)
            Line(RingPoints[i], RingPoints[i + 1 < to ? i + 1 : from]);
    }
}

void TMapPainter::AddRingToPath()
{
    if (IntPoints.isEmpty())
        return;
    Path.moveTo(IntPoints[0]);
    for (qsizetype i = 1; i < IntPoints.size(); ++i)
        Path.lineTo(IntPoints[i]);
    Path.closeSubpath();
}

void TMapPainter::Ellipse(const QPointF& p1, const QPointF& p2)
{
    if (!Target || PenMode == pmNop)
        return;
    const QRectF box = QRectF(p1, p2).normalized();
    if (!std::isfinite(box.left()) || !std::isfinite(box.right()) || !std::isfinite(box.top()) ||
        !std::isfinite(box.bottom()) || !box.intersects(ClipRect()))
        return;
    const qreal far = FarPixel;
    if (box.left() > -far && box.right() < far && box.top() > -far && box.bottom() < far &&
        box.width() < far && box.height() < far) {
        UpdatePen();
        const QPoint a = Px(box.topLeft()), b = Px(box.bottomRight());
        if (b.x() - a.x() == 1 || b.y() - a.y() == 1) {
            // A box one pixel across holds a dot or a bar: QPainter would leave it out,
            // and the dots of a dotted boundary would come and go with the rounding.
            const QRect cells(a, QSize(std::max(b.x() - a.x(), 1), std::max(b.y() - a.y(), 1)));
            const bool pen = PenVisible();
            if (Record && (pen || !BrushClear)) {
                const QColor color = pen ? EffectivePenColor(CurrentState()) : EffectiveBrushColor(CurrentState());
                Record->Rects.push_back(cells);
                Record->Colors.push_back(color);
                Record->Add(TDrawList::kCells, RecordedState, std::uint32_t(Record->Rects.size() - 1),
                            std::uint32_t(Record->Colors.size() - 1), cells);
            } else if (pen || !BrushClear) {
                const QColor color = pen ? Painter.pen().color() : Painter.brush().color();
                Painter.fillRect(cells, color);
                if (Observer)
                    Observer->Fill(Painter, cells, color);
            }
            return;
        }
        if (b.x() == a.x() || b.y() == a.y())
            return;   // an empty box draws nothing
        if (Record) {
            const QRect r(a.x(), a.y(), b.x() - a.x() - 1, b.y() - a.y() - 1);
            const int reach = PenWidth / 2 + 2;
            Record->Rects.push_back(r);
            Record->Add(TDrawList::kEllipse, RecordedState, std::uint32_t(Record->Rects.size() - 1), 0,
                        r.normalized().adjusted(-reach, -reach, reach, reach));
            return;
        }
        Painter.drawEllipse(QRect(a.x(), a.y(), b.x() - a.x() - 1, b.y() - a.y() - 1));
        if (Observer)
            Observer->Ellipse(Painter, QRect(a.x(), a.y(), b.x() - a.x() - 1, b.y() - a.y() - 1));
        return;
    }
    // A circle larger than any picture: its outline as a polygon, clipped.
    BeginPolygon();
    const QPointF c = box.center();
    for (int i = 0; i < EllipseSteps; ++i) {
        const qreal a = 2 * std::numbers::pi * i / EllipseSteps;
        Point(QPointF(c.x() + box.width() / 2 * std::cos(a), c.y() + box.height() / 2 * std::sin(a)));
    }
    DrawPolygon();
}

void TMapPainter::Pixel(const QPointF& p, std::int32_t color)
{
    if (!Target || !std::isfinite(p.x()) || !std::isfinite(p.y()))
        return;
    if (p.x() < -1 || p.y() < -1 || p.x() > Target->width() || p.y() > Target->height())
        return;
    if (Record) {
        RecordFill(QRect(Px(p), QSize(1, 1)), TColorToQColor(color));
        return;
    }
    ApplyMode(true);
    Painter.fillRect(QRect(Px(p), QSize(1, 1)), TColorToQColor(color));
    if (Observer)
        Observer->Fill(Painter, QRect(Px(p), QSize(1, 1)), TColorToQColor(color));
}

const TMapPainter::TFineFont& TMapPainter::FineFont(const TLogFont& lf)
{
    // Texts come in runs of one style: the last font is taken without building a key.
    if (LastFont && lf.Height == LastLf.Height && lf.Weight == LastLf.Weight && lf.Italic == LastLf.Italic &&
        lf.Underline == LastLf.Underline && lf.StrikeOut == LastLf.StrikeOut && lf.FaceName == LastLf.FaceName)
        return *LastFont;
    const QString key = lf.FaceName + QLatin1Char('|') + QString::number(lf.Height) + QLatin1Char('|') +
                        QString::number(lf.Weight) + QLatin1Char('|') + QString::number(lf.Italic) +
                        QString::number(lf.Underline) + QString::number(lf.StrikeOut);
    auto found = Fonts.constFind(key);
    if (found == Fonts.constEnd()) {
        if (Fonts.size() >= MaxCachedFonts) {
            Fonts.clear();
            LastFont = nullptr;
        }
        TFineFont fine;
        fine.Font = LogFontToFineQFont(lf, fine.Scale);
        fine.Font.setStyleStrategy(QFont::NoAntialias);
        fine.Ascent = QFontMetricsF(fine.Font).ascent();
        found = Fonts.insert(key, fine);
    }
    LastLf = lf;
    LastFont = &found.value();
    return *LastFont;
}

void TMapPainter::Text(const QPointF& anchor, const QString& txt, const TLogFont& lf, std::int32_t color)
{
    if (!Target || txt.isEmpty() || !std::isfinite(anchor.x()) || !std::isfinite(anchor.y()))
        return;
    // A text whose anchor lies farther from the picture than the text can reach is left out.
    const qreal reach = LogFontCellHeight(lf) * (txt.size() + 2) * 2;
    if (!ClipRect().adjusted(-reach, -reach, reach, reach).contains(anchor))
        return;
    const TFineFont& fine = FineFont(lf);
    if (Record) {
        // The list keeps the logical font: each worker sets the text in a font of its own.
        if (RecordedFont < 0 || lf.Height != RecordedLf.Height || lf.Weight != RecordedLf.Weight ||
            lf.Italic != RecordedLf.Italic || lf.Underline != RecordedLf.Underline ||
            lf.StrikeOut != RecordedLf.StrikeOut || lf.FaceName != RecordedLf.FaceName) {
            RecordedFont = Record->Font(lf);
            RecordedLf = lf;
        }
        const QPoint at = Px(anchor);
        Record->Texts.push_back({at, txt, std::uint32_t(RecordedFont), lf.Escapement, TColorToQColor(color),
                                 fine.Scale, fine.Ascent});
        const int r = int(std::min<qreal>(reach, FarPixel)) + 2;
        Record->Add(TDrawList::kText, 0, std::uint32_t(Record->Texts.size() - 1), 0,
                    QRect(QPoint(at.x() - r, at.y() - r), QPoint(at.x() + r, at.y() + r)));
        PenDirty = true;
        return;
    }
    ApplyMode(true);
    Painter.setFont(fine.Font);
    Painter.setPen(TColorToQColor(color));
    QTransform t;
    t.translate(Px(anchor.x()), Px(anchor.y()));
    t.rotate(-lf.Escapement / 10.0);
    t.scale(1 / fine.Scale, 1 / fine.Scale);
    Painter.setTransform(t);
    Painter.drawText(QPointF(0, fine.Ascent), txt);
    if (Observer)
        Observer->Text(Painter, QPointF(0, fine.Ascent), txt);
    Painter.resetTransform();
    PenDirty = true;
}

void TMapPainter::FillRect(const QRect& r, std::int32_t color)
{
    if (!Target)
        return;
    if (Record) {
        RecordFill(r, TColorToQColor(color));
        return;
    }
    ApplyMode(true);
    Painter.fillRect(r, TColorToQColor(color));
    if (Observer)
        Observer->Fill(Painter, r, TColorToQColor(color));
}

void TMapPainter::StretchImage(const QRectF& targetRect, const QImage& image)
{
    if (!Target || image.isNull())
        return;
    const QRectF target = targetRect.normalized();
    if (!(target.width() > 0) || !(target.height() > 0))
        return;
    const QRectF visible = target.intersected(QRectF(0, 0, Target->width(), Target->height()));
    if (visible.isEmpty())
        return;
    const qreal kx = image.width() / target.width();
    const qreal ky = image.height() / target.height();
    const QRectF source((visible.left() - target.left()) * kx, (visible.top() - target.top()) * ky,
                        visible.width() * kx, visible.height() * ky);
    if (Record) {
        Record->Images.push_back({visible, image, source});
        Record->Add(TDrawList::kImage, 0, std::uint32_t(Record->Images.size() - 1), 0,
                    visible.toAlignedRect().adjusted(-1, -1, 1, 1));
        return;
    }
    ApplyMode(true);
    Painter.drawImage(visible, image, source);
    if (Observer)
        Observer->Image(Painter, visible, image, source);
}

// ---- A part of the picture redrawn alone (GeoMapDrawDirty.cpp) ----

void TMapPainter::SetClip(const QRect& r)
{
    if (Target)
        Painter.setClipRect(r);
}

void TMapPainter::ClearClip()
{
    if (Target)
        Painter.setClipping(false);
}

void TMapPainter::RecordFill(const QRect& r, const QColor& color)
{
    Record->Rects.push_back(r);
    Record->Colors.push_back(color);
    Record->Add(TDrawList::kFill, 0, std::uint32_t(Record->Rects.size() - 1), std::uint32_t(Record->Colors.size() - 1),
                r.normalized());
}
