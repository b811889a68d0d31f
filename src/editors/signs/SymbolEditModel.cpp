// The sign picture editor's view, rendering, hit tests and edits.
#include "editors/signs/SymbolEditModel.h"

#include "controls/core/MaxMin.h"
#include "engine/draw/MapPainter.h"
#include "foundation/DelphiFormat.h"
#include "foundation/GeoDataObjectsPolygons.h"
#include "foundation/GeoServ.h"
#include "semantics/signs/Symbols.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// Pixel positions and pen widths are held here: far beyond any surface, far below
// integer overflow.
constexpr Extended MaxPixels = 1000000;

Extended HeldPixels(Extended v)
{
    if (!(v == v))
        return 0;
    return std::clamp(v, -MaxPixels, MaxPixels);
}

int RoundPixels(Extended v)
{
    return int(Round(HeldPixels(v)));
}

// The grid's colour: red 146, green 158, blue 192.
constexpr std::int32_t GridColor = 12623506;

// The pick square of half side h millimetres about p, as a contour.
void PickSquare(const TGeoPoint& p, Extended h, TGeoPoints& square)
{
    square.DeleteAll();
    square.AddPoint(p.X - h, p.Y - h);
    square.AddPoint(p.X + h, p.Y - h);
    square.AddPoint(p.X + h, p.Y + h);
    square.AddPoint(p.X - h, p.Y + h);
}

TGeoRect PickRect(const TGeoPoint& p, Extended h)
{
    return {GeoPoint(p.X - h, p.Y - h), GeoPoint(p.X + h, p.Y - h), GeoPoint(p.X + h, p.Y + h),
            GeoPoint(p.X - h, p.Y + h)};
}

bool PolylineCrosses(const TGeoPoints& points, const TGeoPoints& square)
{
    for (int i = 1; i < points.GetCount(); ++i) {
        const TGeoPoint& a = *points.At(i - 1);
        const TGeoPoint& b = *points.At(i);
        if (IntersectPolygon(square, a.X, a.Y, b.X, b.Y))
            return true;
    }
    return false;
}

std::vector<TGeoPoint> PointsOf(const TGeoPoints& points)
{
    std::vector<TGeoPoint> v;
    v.reserve(std::size_t(points.GetCount()));
    for (const auto& p : points)
        v.push_back(*p);
    return v;
}

void FillPoints(TGeoPoints& to, const std::vector<TGeoPoint>& points)
{
    to.DeleteAll();
    for (const TGeoPoint& p : points)
        to.AddPoint(p.X, p.Y);
}

TGeoPoint Moved(const TGeoPoint& p, const TGeoPoint& offset)
{
    return GeoPoint(p.X + offset.X, p.Y + offset.Y);
}

void SetNewPen(TVpPen& pen, const TNewPrimStyle& s)
{
    pen.PenColor = s.PenColor;
    pen.PenMode = pmCopy;
    pen.PenStyle = psSolid;
    pen.PenWidth = s.Width;
}

void SetNewFill(TVpFill& fill, const TNewPrimStyle& s)
{
    fill.FillColor = s.FillColor;
    fill.FillStyle = s.FillKind;
}

}  // namespace

// ---- View ----

QPointF TSymbolEditView::ToScreen(Extended x, Extended y) const
{
    const Extended c = std::nearbyint(HeldPixels((y - MinY) * K)) + 10;
    const Extended r = H - std::nearbyint(HeldPixels((x - MinX) * K)) - 10;
    return QPointF(double(c), double(r));
}

QPoint TSymbolEditView::ToScreenInt(const TGeoPoint& p) const
{
    const QPointF f = ToScreen(p);
    return QPoint(int(f.x()), int(f.y()));
}

TGeoPoint TSymbolEditView::ToMM(const QPointF& pixel) const
{
    return GeoPoint((H - Extended(pixel.y()) - 10) / K + MinX, (Extended(pixel.x()) - 10) / K + MinY);
}

Extended TSymbolEditView::Clamped(Extended k) const
{
    if (!(k == k))
        return K0;
    return std::clamp(k, K0 / 100, K0 * 100);
}

void TSymbolEditView::SetExtentsOf(const TVpLayers& pict)
{
    bool any = false;
    const auto take = [&](Extended x, Extended y) {
        if (!any) {
            MinX = MaxX = x;
            MinY = MaxY = y;
            any = true;
            return;
        }
        MinX = std::min(MinX, x);
        MaxX = std::max(MaxX, x);
        MinY = std::min(MinY, y);
        MaxY = std::max(MaxY, y);
    };
    for (const auto& layer : pict) {
        for (const auto& g : layer->Polygons)
            for (const auto& p : g->Points)
                take(p->X, p->Y);
        for (const auto& c : layer->Circles) {
            take(c->Center.X - c->Radius, c->Center.Y - c->Radius);
            take(c->Center.X + c->Radius, c->Center.Y + c->Radius);
        }
        for (const auto& l : layer->Lines) {
            take(l->P1.X, l->P1.Y);
            take(l->P2.X, l->P2.Y);
        }
        for (const auto& l : layer->Polylines)
            for (const auto& p : l->Points)
                take(p->X, p->Y);
        for (const auto& t : layer->Texts)
            take(t->Position.X, t->Position.Y);
    }
    if (!any) {
        MinX = MinY = -10;
        MaxX = MaxY = 10;
    }
}

void TSymbolEditView::Fit()
{
    Extended k = 0;
    if (MaxX != MinX && MaxY != MinY)
        k = std::min((W - 20) / (MaxY - MinY), (H - 20) / (MaxX - MinX));
    if (!(k >= 0.1L))
        k = K0;
    K = Clamped(k);
}

void TSymbolEditView::ZoomTo(Extended factor)
{
    const TGeoPoint middle = ToMM(QPointF(W / 2, H / 2));
    K = Clamped(K0 * factor);
    const TGeoPoint now = ToMM(QPointF(W / 2, H / 2));
    const Extended dx = middle.X - now.X;
    const Extended dy = middle.Y - now.Y;
    MinX += dx;
    MaxX += dx;
    MinY += dy;
    MaxY += dy;
}

void TSymbolEditView::Pan(const TGeoPoint& press, const TGeoPoint& release)
{
    const Extended dx = release.X - press.X;
    const Extended dy = release.Y - press.Y;
    MinX -= dx;
    MaxX -= dx;
    MinY -= dy;
    MaxY -= dy;
}

void TSymbolEditView::SetExtents(const TGeoPoint& a, const TGeoPoint& b)
{
    MinX = std::min(a.X, b.X);
    MaxX = std::max(a.X, b.X);
    MinY = std::min(a.Y, b.Y);
    MaxY = std::max(a.Y, b.Y);
}

QString ZoomText(Extended k, Extended k0)
{
    const Extended ratio = k0 != 0 ? k / k0 : 0;
    if (ratio == 0 || !(ratio == ratio))
        return QStringLiteral("ошибка");
    if (ratio < 1)
        return QStringLiteral("1:") + FloatToStrF(1 / ratio, ffFixed, 3, 0);
    if (ratio == 1)
        return QStringLiteral("1:1");
    return FloatToStrF(ratio, ffFixed, 3, 0) + QStringLiteral(":1");
}

QString CoordText(Extended v)
{
    return FloatToStrF(v, ffFixed, 3, 2);
}

// ---- Rendering ----

namespace {

// The grid lines of one axis across the picture: every whole millimetre where lines
// stand at least 2 pixels apart, else every tenth, the 0 line always.
void DrawGridAxis(Extended lo, Extended hi, Extended k,
                  const std::function<void(Extended, int)>& line)
{
    const bool ones = k >= 2;
    const bool tens = k * 10 >= 2;
    const Extended step = ones ? 1 : tens ? 10 : 0;
    if (step == 0) {
        if (lo <= 0 && 0 <= hi)
            line(0, 4);
        return;
    }
    // Counted in whole steps: a view far from the origin never stalls the walk.
    const Extended first = std::ceil(lo / step);
    const Extended last = std::floor(hi / step);
    if (!(first <= last) || last - first > 1000000 || std::fabs(first) > 1e15L || std::fabs(last) > 1e15L)
        return;
    for (long long i = (long long)first; i <= (long long)last; ++i) {
        const long long n = i * (long long)step;
        line(Extended(n), n == 0 ? 4 : n % 10 == 0 ? 2 : 1);
    }
}

}  // namespace

bool RenderSymbolPicture(QImage& picture, const QPoint& offset, TVpLayers& pict,
                         const TSymbolEditView& view, TSymbols& symbols)
{
    picture.fill(Qt::white);
    if (!(view.K > 0))
        return false;
    TMapPainter p;
    p.Begin(picture);
    const QPointF shift(offset);
    const auto at = [&](const TGeoPoint& g) { return view.ToScreen(g) + shift; };

    // The grid: the millimetres of X (rows), then of Y (columns), that the picture shows.
    const TGeoPoint top = view.ToMM(QPointF(-offset.x(), -offset.y()));
    const TGeoPoint bottom = view.ToMM(QPointF(picture.width() - offset.x(), picture.height() - offset.y()));
    DrawGridAxis(bottom.X, top.X, view.K, [&](Extended x, int width) {
        p.SetPen(GridColor, pmCopy, psSolid, width);
        const qreal row = view.ToScreen(x, 0).y() + shift.y();
        p.Line(QPointF(0, row), QPointF(picture.width(), row));
    });
    DrawGridAxis(top.Y, bottom.Y, view.K, [&](Extended y, int width) {
        p.SetPen(GridColor, pmCopy, psSolid, width);
        const qreal column = view.ToScreen(0, y).x() + shift.x();
        p.Line(QPointF(column, 0), QPointF(column, picture.height()));
    });

    const auto setPen = [&](const TVpPen& pen) {
        p.SetPen(pen.PenColor, pen.PenMode, pen.PenStyle, RoundPixels(pen.PenWidth * view.K));
    };
    const auto setFill = [&](const TVpFill& fill) {
        switch (fill.FillStyle) {
        case vfBackdrop: p.SetBrush(0xFFFFFF); break;
        case vfColor: p.SetBrush(fill.FillColor); break;
        default: p.SetBrushClear(); break;
        }
    };
    for (const auto& layer : pict) {
        for (const auto& g : layer->Polygons) {
            setPen(*g);
            setFill(*g);
            p.BeginPolygon();
            for (const auto& q : g->Points)
                p.Point(at(*q));
            p.DrawPolygon();
        }
        for (const auto& c : layer->Circles) {
            setPen(*c);
            setFill(*c);
            p.Ellipse(at(GeoPoint(c->Center.X + c->Radius, c->Center.Y - c->Radius)),
                      at(GeoPoint(c->Center.X - c->Radius, c->Center.Y + c->Radius)));
        }
        for (const auto& l : layer->Lines) {
            setPen(*l);
            p.Line(at(l->P1), at(l->P2));
        }
        for (const auto& l : layer->Polylines) {
            setPen(*l);
            for (int i = 1; i < l->Points.GetCount(); ++i)
                p.Line(at(*l->Points.At(i - 1)), at(*l->Points.At(i)));
        }
        for (const auto& t : layer->Texts) {
            TLogFont lf;
            symbols.DefLogFont(lf);
            symbols.GeoAngleToLF(t->Angle, lf);
            TUserStyle style;
            if (t->OwnStyle)
                style = *t->OwnStyle;
            else
                symbols.SelectTextStyleOver(*t, style);
            symbols.UserStyleToLF(style, lf);
            lf.Height = RoundPixels(style.Size * view.K);
            if (lf.Height <= 0)
                continue;   // too small to show: the frame stays as last measured
            p.Text(at(t->Position), t->Text, lf, style.Color);
            // The frame in millimetres: the library measures in dots of 1 / K millimetres.
            const Extended kept = symbols.MetresPerDot;
            symbols.SetScaleFactor(1 / view.K);
            TGeoPoint anchor = t->Position;
            try {
                symbols.GetTextRect2(symbols.Measurer(), t->Text, lf, 0, anchor, t->Frame);
            } catch (...) {
                symbols.SetScaleFactor(kept);
                throw;
            }
            symbols.SetScaleFactor(kept);
        }
    }
    p.End();
    return true;
}

// ---- Lists ----

QStringList ElementRows(const TVpLayers& pict)
{
    QStringList rows;
    for (const auto& layer : pict) {
        if (layer->Polygons.GetCount() > 0)
            rows << QStringLiteral("Полигон");
        if (layer->Circles.GetCount() > 0)
            rows << QStringLiteral("Окружность");
        if (layer->Lines.GetCount() > 0)
            rows << QStringLiteral("Линия");
        if (layer->Polylines.GetCount() > 0)
            rows << QStringLiteral("Полининия");   // spelled as the list has always shown it
        if (layer->Texts.GetCount() > 0)
            rows << QStringLiteral("Текст");
    }
    return rows;
}

TSymbolPrimKind ElementKind(const RVpLayer& layer)
{
    if (layer.Polygons.GetCount() > 0)
        return spkPolygon;
    if (layer.Circles.GetCount() > 0)
        return spkCircle;
    if (layer.Lines.GetCount() > 0)
        return spkLine;
    if (layer.Polylines.GetCount() > 0)
        return spkPolyline;
    if (layer.Texts.GetCount() > 0)
        return spkText;
    return spkNone;
}

QString FoundKindName(TSymbolPrimKind kind)
{
    switch (kind) {
    case spkPolygon: return QStringLiteral("Полигон");
    case spkCircle: return QStringLiteral("Окружность");
    case spkLine: return QStringLiteral("Линия");
    case spkPolyline: return QStringLiteral("Полилиния");
    case spkText: return QStringLiteral("Текст");
    default: return QString();
    }
}

std::vector<TFindedObject> FindElementsAt(const TVpLayers& pict, const TGeoPoint& point,
                                          Extended halfSide)
{
    std::vector<TFindedObject> found;
    TGeoPoints square;
    PickSquare(point, halfSide, square);
    for (int i = 0; i < pict.GetCount(); ++i) {
        const RVpLayer& layer = *pict.At(i);
        const auto add = [&](TSymbolPrimKind kind) { found.push_back({i, FoundKindName(kind)}); };
        for (const auto& g : layer.Polygons)
            if (PointInPolygon(g->Points, point.X, point.Y))
                add(spkPolygon);
        for (const auto& c : layer.Circles) {
            Extended d = 0;
            Dist(c->Center, point, d);
            if (d <= c->Radius)
                add(spkCircle);
        }
        for (const auto& l : layer.Lines)
            if (IntersectPolygon(square, l->P1.X, l->P1.Y, l->P2.X, l->P2.Y))
                add(spkLine);
        for (const auto& l : layer.Polylines)
            if (PolylineCrosses(l->Points, square))
                add(spkPolyline);
        for (const auto& t : layer.Texts)
            if (PointInGeoRect(t->Frame, point.X, point.Y))
                add(spkText);
    }
    return found;
}

// ---- The selected element ----

QPolygon HandlePoints(const RVpLayer& layer, const TSymbolEditView& view)
{
    QPolygon h;
    for (const auto& g : layer.Polygons)
        for (const auto& q : g->Points)
            h << view.ToScreenInt(*q);
    for (const auto& c : layer.Circles) {
        h << view.ToScreenInt(c->Center);
        h << view.ToScreenInt(GeoPoint(c->Center.X, c->Center.Y + c->Radius));
    }
    for (const auto& l : layer.Lines)
        h << view.ToScreenInt(l->P1) << view.ToScreenInt(l->P2);
    for (const auto& l : layer.Polylines)
        for (const auto& q : l->Points)
            h << view.ToScreenInt(*q);
    for (const auto& t : layer.Texts)
        for (const TGeoPoint& q : t->Frame)
            h << view.ToScreenInt(q);
    return h;
}

THover HoverAt(const RVpLayer& layer, const TSymbolEditView& view, const QPoint& mouse, int h)
{
    const TSymbolPrimKind kind = ElementKind(layer);
    const QPolygon handles = HandlePoints(layer, view);
    if (kind == spkPolygon || kind == spkLine || kind == spkPolyline) {
        for (int i = 0; i < handles.size(); ++i)
            if (std::abs(mouse.x() - handles[i].x()) <= 5 && std::abs(mouse.y() - handles[i].y()) <= 5)
                return {hsNode, i};
    }
    const TGeoPoint m = view.ToMM(mouse);
    const TGeoRect pick = PickRect(m, h / view.K);
    switch (kind) {
    case spkPolygon:
        if (PointInsidePolygon(mouse, handles))
            return {hsBody, 0};
        break;
    case spkLine: {
        const RVpLine& l = *layer.Lines.At(0);
        if (SegmentCrossesGeoRect(l.P1, l.P2, pick))
            return {hsBody, 0};
        break;
    }
    case spkPolyline: {
        const TGeoPoints& points = layer.Polylines.At(0)->Points;
        for (int i = 1; i < points.GetCount(); ++i)
            if (SegmentCrossesGeoRect(*points.At(i - 1), *points.At(i), pick))
                return {hsBody, 0};
        break;
    }
    case spkCircle: {
        const RVpCircle& c = *layer.Circles.At(0);
        const QPointF centre = view.ToScreen(c.Center);
        const Extended d = std::hypot(Extended(mouse.x() - centre.x()), Extended(mouse.y() - centre.y()));
        const Extended rho = c.Radius * view.K;
        if (d <= rho - h)
            return {hsBody, 0};
        if (rho - h < d && d < rho + h)
            return {hsRim, 0};
        break;
    }
    case spkText:
        if (PointInsidePolygon(mouse, handles))
            return {hsBody, 0};
        break;
    default:
        break;
    }
    return {};
}

void ApplyDrag(RVpLayer& layer, const THover& hover, const TGeoPoint& offset, const TGeoPoint& release)
{
    const auto moveAll = [&](TGeoPoints& points) {
        for (const auto& q : points)
            *q = Moved(*q, offset);
    };
    const auto moveNode = [&](TGeoPoints& points) {
        if (RGeoPoint* q = points.At(hover.Node))
            *q = Moved(*q, offset);
    };
    switch (hover.State) {
    case hsNode:
        for (const auto& g : layer.Polygons)
            moveNode(g->Points);
        for (const auto& l : layer.Lines) {
            if (hover.Node == 0)
                l->P1 = Moved(l->P1, offset);
            else if (hover.Node == 1)
                l->P2 = Moved(l->P2, offset);
        }
        for (const auto& l : layer.Polylines)
            moveNode(l->Points);
        break;
    case hsBody:
        for (const auto& g : layer.Polygons)
            moveAll(g->Points);
        for (const auto& c : layer.Circles)
            c->Center = Moved(c->Center, offset);
        for (const auto& l : layer.Lines) {
            l->P1 = Moved(l->P1, offset);
            l->P2 = Moved(l->P2, offset);
        }
        for (const auto& l : layer.Polylines)
            moveAll(l->Points);
        for (const auto& t : layer.Texts)
            t->Position = Moved(t->Position, offset);
        break;
    case hsRim:
        for (const auto& c : layer.Circles)
            Dist(c->Center, release, c->Radius);
        break;
    default:
        break;
    }
}

TDragPreview DragPreview(const RVpLayer& layer, const THover& hover, const TGeoPoint& offset,
                         const TGeoPoint& mouse, const TSymbolEditView& view)
{
    TDragPreview r;
    const auto px = [&](const TGeoPoint& g) { return view.ToScreen(g); };
    const auto ring = [&](const std::vector<TGeoPoint>& points, bool closed) {
        QPolygonF line;
        for (const TGeoPoint& q : points)
            line << px(Moved(q, offset));
        if (closed && !points.empty())
            line << line.front();
        r.Lines.push_back(line);
    };
    const auto neighbours = [&](const std::vector<TGeoPoint>& points, bool wrap) {
        const int n = int(points.size());
        const int i = hover.Node;
        if (i < 0 || i >= n)
            return;
        QPolygonF line;
        if (i > 0)
            line << px(points[std::size_t(i - 1)]);
        else if (wrap && n > 1)
            line << px(points[std::size_t(n - 1)]);
        line << px(Moved(points[std::size_t(i)], offset));
        if (i + 1 < n)
            line << px(points[std::size_t(i + 1)]);
        else if (wrap && n > 1)
            line << px(points[0]);
        r.Lines.push_back(line);
    };
    switch (hover.State) {
    case hsNode:
        for (const auto& g : layer.Polygons)
            neighbours(PointsOf(g->Points), true);
        for (const auto& l : layer.Lines) {
            if (hover.Node == 0)
                r.Lines.push_back(QPolygonF() << px(Moved(l->P1, offset)) << px(l->P2));
            else
                r.Lines.push_back(QPolygonF() << px(l->P1) << px(Moved(l->P2, offset)));
        }
        for (const auto& l : layer.Polylines)
            neighbours(PointsOf(l->Points), false);
        break;
    case hsBody:
        for (const auto& g : layer.Polygons)
            ring(PointsOf(g->Points), true);
        for (const auto& c : layer.Circles) {
            r.Circle = true;
            r.Centre = px(Moved(c->Center, offset));
            r.Radius = c->Radius * view.K;
        }
        for (const auto& l : layer.Lines)
            ring({l->P1, l->P2}, false);
        for (const auto& l : layer.Polylines)
            ring(PointsOf(l->Points), false);
        for (const auto& t : layer.Texts)
            ring({t->Frame.begin(), t->Frame.end()}, true);
        break;
    case hsRim:
        for (const auto& c : layer.Circles) {
            Extended d = 0;
            Dist(c->Center, mouse, d);
            r.Circle = true;
            r.Centre = px(c->Center);
            r.Radius = d * view.K;
        }
        break;
    default:
        break;
    }
    return r;
}

// ---- Creation ----

void AddLine(TVpLayers& pict, const TNewPrimStyle& s, const TGeoPoint& a, const TGeoPoint& b)
{
    pict.AddItem();
    pict.Item->Lines.AddItem();
    RVpLine& l = *pict.Item->Lines.Item;
    SetNewPen(l, s);
    l.P1 = a;
    l.P2 = b;
}

void AddPolyline(TVpLayers& pict, const TNewPrimStyle& s, const std::vector<TGeoPoint>& points)
{
    pict.AddItem();
    pict.Item->Polylines.AddItem();
    RVpPolyline& l = *pict.Item->Polylines.Item;
    SetNewPen(l, s);
    FillPoints(l.Points, points);
}

void AddPolygon(TVpLayers& pict, const TNewPrimStyle& s, const std::vector<TGeoPoint>& points)
{
    pict.AddItem();
    pict.Item->Polygons.AddItem();
    RVpPolygon& g = *pict.Item->Polygons.Item;
    SetNewPen(g, s);
    SetNewFill(g, s);
    FillPoints(g.Points, points);
}

void AddCircle(TVpLayers& pict, const TNewPrimStyle& s, const TGeoPoint& centre, Extended radius)
{
    pict.AddItem();
    pict.Item->Circles.AddItem();
    RVpCircle& c = *pict.Item->Circles.Item;
    SetNewPen(c, s);
    SetNewFill(c, s);
    c.Center = centre;
    c.Radius = radius;
}

RVpText& AddText(TVpLayers& pict, const QString& styleName, const TGeoPoint& position)
{
    pict.AddItem();
    pict.Item->Texts.AddItem();
    RVpText& t = *pict.Item->Texts.Item;
    t.StyleName = styleName;
    t.Angle = 90;
    t.Position = position;
    t.Frame = {position, position, position, position};
    return t;
}

std::vector<TGeoPoint> RegularPolygonCorners(const TGeoPoint& centre, Extended r, int n)
{
    std::vector<TGeoPoint> corners;
    if (n < 3)
        return corners;
    const Extended step = Extended(360) / n;
    for (Extended a = 0; a <= 360; a += step)
        corners.push_back(PGZ(centre, r, a));
    return corners;
}

// ---- Whole elements ----

void ApplyColours(RVpLayer& layer, std::int32_t pen, std::int32_t fill, std::uint8_t fillKind)
{
    for (const auto& g : layer.Polygons) {
        g->PenColor = pen;
        g->FillColor = fill;
        g->FillStyle = fillKind;
    }
    for (const auto& c : layer.Circles) {
        c->PenColor = pen;
        c->FillColor = fill;
        c->FillStyle = fillKind;
    }
    for (const auto& l : layer.Lines)
        l->PenColor = pen;
    for (const auto& l : layer.Polylines)
        l->PenColor = pen;
}

void ApplyWidth(RVpLayer& layer, Extended width)
{
    for (const auto& g : layer.Polygons)
        g->PenWidth = width;
    for (const auto& c : layer.Circles)
        c->PenWidth = width;
    for (const auto& l : layer.Lines)
        l->PenWidth = width;
    for (const auto& l : layer.Polylines)
        l->PenWidth = width;
}

bool MoveElement(TVpLayers& pict, int i, bool up)
{
    const int j = up ? i - 1 : i + 1;
    if (i < 0 || i >= pict.GetCount() || j < 0 || j >= pict.GetCount())
        return false;
    return pict.ChangeItems(i, j);
}

void SetReferencePoints(TVpLayers& pict)
{
    const auto middle = [](const TGeoPoints& points, TGeoPoint& ref) {
        if (points.GetCount() == 0)
            return;
        Extended lo = points.At(0)->Y, hi = lo;
        for (const auto& q : points) {
            lo = std::min(lo, q->Y);
            hi = std::max(hi, q->Y);
        }
        ref.X = 0;
        ref.Y = (lo + hi) / 2;
    };
    for (const auto& layer : pict) {
        for (const auto& l : layer->Polylines)
            middle(l->Points, l->RefPoint);
        for (const auto& g : layer->Polygons)
            middle(g->Points, g->RefPoint);
    }
}
