// The screen drawing after a pan: the picture on hand moved by the pan's whole pixels,
// and only what it cannot supply drawn again, each part clipped to itself with
// everything the whole drawing paints there in the whole drawing's order. What it keeps:
// nothing of its own beyond TGeoMap::Shifted and ShiftedAreas (for the tests); it reads
// the picture on hand and the extents' grid of draw/GeoMapDrawDirty.cpp. Who may touch
// it: the pan path of the main window calls DrawPan; a change of what the whole drawing
// paints must be made here too, or the shifted picture is no longer the whole one.
#include "engine/draw/GeoMapDrawSupport.h"

#include "engine/EngineServices.h"
#include "engine/draw/CoordGrid.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoDataObjectsPicture.h"
#include "semantics/signs/Symbols.h"

#include <QElapsedTimer>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

// A pan is a whole number of pixels when it is one within this: the view's origin moves
// by pixels divided by the factor, in extended precision.
constexpr Extended WholePixel = 1e-6L;
// Redrawn parts are gathered in square cells of this side, so that many small parts
// near one edge become a few rectangles.
constexpr int CellPixels = 128;
// Beyond this share of the picture to draw again, the whole drawing is as cheap.
constexpr double MostOfThePicture = 0.6;

template <class L, class F>
void Walk(L& list, F f)
{
    for (bool more = list.GoFirstItem(); more; more = list.GoNextItem())
        f(*list.Item);
}

// What the sheet frames of an area are drawn from (the area's bounds in whole metres of
// each frame level, and the rows of labels): two areas with the same numbers get the
// same frames and labels at the same plan places.
std::array<std::int64_t, 10> FrameNumbers(Extended x1, Extended y1, Extended x2, Extended y2)
{
    std::array<std::int64_t, 10> n{};
    int i = 0;
    for (const std::int64_t g : {1000, 10000}) {
        n[i++] = TruncMetres(x1 / g);
        n[i++] = TruncMetres(y1 / g);
        n[i++] = TruncMetres(x2 / g);
        n[i++] = TruncMetres(y2 / g);
    }
    const std::int64_t south250 = TruncMetres(x1 / 1000) * 1000 - 750;
    const std::int64_t south3000 = TruncMetres(x1 / 10000) * 10000 - 7000;
    n[i++] = TruncMetres((x2 - Extended(south250)) / 250);
    n[i++] = TruncMetres((x2 - Extended(south3000)) / 3000);
    return n;
}

}  // namespace

void TGeoMap::DrawPan(int W, int H)
{
    Shifted = false;
    ShiftedAreas.clear();
    if (!(ShiftRedrawOn && DrawShifted(W, H)))
        Draw(W, H, 3, ddScreen);
}

bool TGeoMap::DrawShifted(int W, int H)
{
    TTrailGuard guard("GeoMap", "function TGeoMap.DrawShifted(const W,H:integer):boolean;", TrailArg("W", W),
                      TrailArg("H", H));
    Shifted = false;
    ShiftedAreas.clear();
    // The picture on hand must be the screen's whole drawing of the plan as it is now: no
    // command ran, no object went, no sign was rendered for another destination since.
    if (!PictureOnHand || DrawDest != ddScreen || !Extents || !Symbols || !Painter || !GoingObjects.Empty() ||
        !ForeignSigns.isEmpty() || !(Extents->Key() == ExtentKeyNow()))
        return false;
    const int w = std::max(W, 1), h = std::max(H, 1);
    if (Bitmap.size() != QSize(3 * w, 3 * h) || Bitmap.format() != QImage::Format_RGB32)
        return false;
    // A raster is resampled from the part of it the picture shows: another part, other
    // pixels.
    if (ShowRastrs)
        for (const auto& page : Pages)
            if (page->Visible)
                for (const auto& r : page->Rastrs)
                    if (r->Visible && r->Loaded)
                        return false;

    TEngineServices& ui = Ui();
    const TWaitScope wait(ui);
    DrawBusy = 1;
    struct TEnd {
        TGeoMap& Map;
        ~TEnd()
        {
            Map.Painter->End();
            Map.DrawBusy = 0;
        }
    } end{*this};
    QElapsedTimer clock;
    clock.start();

    // The steps of the whole drawing before it paints.
    const RPictureState before = PictureDrawnWith;
    DrawMode = 3;
    Symbols->SetScale(MapProp.Scale, ScreenDpi);
    ScrollX = w;
    ScrollY = h;
    DrawH = H;
    ViewStep(W, H);
    if (FactorX == 0 || FactorY == 0)
        return false;
    SetOutputScale();
    // The drawing area of the picture on hand, for which objects it showed.
    const Extended newViewX = ViewXMin, newViewY = ViewYMin;
    ViewXMin = before.ViewXMin;
    ViewYMin = before.ViewYMin;
    SetPictureCorners(Bitmap.width(), Bitmap.height(), W, H);
    const TGeoPoint oldMin = DrawAreaMin, oldMax = DrawAreaMax;
    ViewXMin = newViewX;
    ViewYMin = newViewY;
    SetPictureCorners(Bitmap.width(), Bitmap.height(), W, H);
    RPictureState now = PictureStateNow(W, H);
    const Extended newXMin = now.ViewXMin, newYMin = now.ViewYMin;
    now.ViewXMin = before.ViewXMin;
    now.ViewYMin = before.ViewYMin;
    if (!(now == before))
        return false;
    if (!(ShowSymbols != 0 && Extended(OutputScale) <= 4.0L * MapProp.Scale))
        return false;

    // The pan in pixels of the picture: east moves the picture's content left.
    const Extended fx = (before.ViewYMin - newYMin) * FactorY * 100;
    const Extended fy = (newXMin - before.ViewXMin) * FactorX * 100;
    const Extended rx = std::nearbyint(fx), ry = std::nearbyint(fy);
    if (!std::isfinite(fx) || !std::isfinite(fy) || std::fabs(fx - rx) > WholePixel ||
        std::fabs(fy - ry) > WholePixel || std::fabs(rx) >= Bitmap.width() || std::fabs(ry) >= Bitmap.height())
        return false;
    const int dx = int(rx), dy = int(ry);

    // The frames and their labels come from the picture's area in whole metres.
    if (ShowPlansBorders && MapProp.Scale != 10) {
        const auto numbers = [&](Extended vx, Extended vy) {
            const Extended keptX = ViewXMin, keptY = ViewYMin;
            ViewXMin = vx;
            ViewYMin = vy;
            Extended x1 = 0, y1 = 0, x2 = 0, y2 = 0;
            ScrToGeo(DrawH, -ScrollX, 2 * DrawH, x1, y1);
            ScrToGeo(DrawH, 2 * ScrollX, -ScrollY, x2, y2);
            ViewXMin = keptX;
            ViewYMin = keptY;
            return FrameNumbers(x1, y1, x2, y2);
        };
        if (numbers(before.ViewXMin, before.ViewYMin) != numbers(ViewXMin, ViewYMin))
            return false;
    }

    // Signs of the objects the pan brings in, as the whole drawing renders them; the texts
    // it brings in measured, so that the grid holds their frames.
    DrawnCount = 0;
    SkippedCount = 0;
    bool measured = false;
    Walk(Pages, [&](RGPage& page) {
        Walk(page.Layers, [&](RGLayer& layer) {
            Walk(layer.Points, [&](RGPoint& o) {
                if (PointVisible() && o.SignName.isEmpty())
                    Symbols->RenderPoint(&o);
            });
            Walk(layer.Lines, [&](RGLine& o) {
                if (LineVisible() && o.SignName.isEmpty())
                    Symbols->RenderLine(&o);
            });
            Walk(layer.Polygons, [&](RGPolygon& o) {
                if (PolygonVisible() && o.SignName.isEmpty())
                    Symbols->RenderPolygon(&o);
            });
            if (!page.Visible || !layer.Visible)
                return;
            Walk(layer.Texts, [&](RGText& t) {
                if (!t.FrameValid && TextVisible()) {
                    HiddenCaption = true;
                    DrawText(&t);
                    HiddenCaption = false;
                    measured = true;
                }
            });
        });
    });
    // A text measured now stands in the grid by its anchor alone.
    if (measured)
        Extents.reset();
    // The counts shown are those of the pass over the whole plan.
    const std::int32_t drawn = DrawnCount, skipped = SkippedCount;
    const TObjectExtents& grid = CurrentExtents();
    const qint64 renderTime = clock.restart();

    // What the shifted picture holds: the part of the old picture that stays on it.
    const QRect picture = Bitmap.rect();
    const QRect kept = picture.translated(dx, dy) & picture;
    std::vector<QRect> areas;
    if (kept.left() > 0)
        areas.push_back(QRect(0, 0, kept.left(), picture.height()));
    if (kept.right() < picture.right())
        areas.push_back(QRect(kept.right() + 1, 0, picture.right() - kept.right(), picture.height()));
    if (kept.top() > 0)
        areas.push_back(QRect(kept.left(), 0, kept.width(), kept.top()));
    if (kept.bottom() < picture.bottom())
        areas.push_back(QRect(kept.left(), kept.bottom() + 1, kept.width(), picture.bottom() - kept.bottom()));

    // The plan box of a rectangle of pixels, widened by what a drawing may reach beyond
    // an extent.
    const Extended perMetreX = FactorX * 100, perMetreY = FactorY * 100;
    const auto planBox = [&](const QRect& r) {
        const Extended m = ExtentMarginPixels + 1;
        TObjectExtent box;
        box.Add(ViewXMin + (Extended(DrawH) - (r.bottom() + 1 + m - ScrollY) - 10) / perMetreX,
                ViewYMin + (Extended(r.left()) - m - ScrollX - 10) / perMetreY);
        box.Add(ViewXMin + (Extended(DrawH) - (r.top() - m - ScrollY) - 10) / perMetreX,
                ViewYMin + (Extended(r.right() + 1) + m - ScrollX - 10) / perMetreY);
        return box;
    };
    // The pixels an extent may touch, not cut to the picture.
    const auto pixelsOf = [&](const TObjectExtent& box) {
        const QPointF a = PixelOf(*this, box.MinX, box.MinY);
        const QPointF b = PixelOf(*this, box.MaxX, box.MaxY);
        const QRectF r = QRectF(a, b).normalized().adjusted(-ExtentMarginPixels, -ExtentMarginPixels,
                                                            ExtentMarginPixels + 1, ExtentMarginPixels + 1);
        if (!std::isfinite(r.left()) || !std::isfinite(r.right()) || !std::isfinite(r.top()) ||
            !std::isfinite(r.bottom()))
            return QRect(picture.adjusted(-1, -1, 1, 1));
        const QRectF held = r.intersected(QRectF(picture.adjusted(-1, -1, 1, 1)));
        return QRect(QPoint(int(std::floor(held.left())), int(std::floor(held.top()))),
                     QPoint(int(std::ceil(held.right())), int(std::ceil(held.bottom()))));
    };

    // An object across an edge of the kept part where the old picture or the new one
    // ends was seen in one drawing and not in the other: its pixels in the kept part are
    // drawn again. One seen in both was clipped there in one drawing and not in the
    // other: the pixels along its strokes that cross the edge are drawn again (a stroke
    // or an area's edge wholly on both pictures is painted the same, shifted; texts and
    // circles are never cut).
    std::vector<std::uint8_t> cells;
    const int columns = (picture.width() + CellPixels - 1) / CellPixels;
    const int rows = (picture.height() + CellPixels - 1) / CellPixels;
    cells.assign(std::size_t(columns) * rows, 0);
    const auto markRect = [&](const QRectF& r) {
        const QRect part = r.toAlignedRect() & kept;
        if (part.isEmpty())
            return;
        for (int row = part.top() / CellPixels; row <= part.bottom() / CellPixels; ++row)
            for (int column = part.left() / CellPixels; column <= part.right() / CellPixels; ++column)
                cells[std::size_t(row) * columns + column] = 1;
    };
    const QRectF inside = QRectF(kept).adjusted(1, 1, -1, -1);
    const Extended penDots = Symbols->DotsPerMM * (OutputScale > 0 ? Extended(MapProp.Scale) / OutputScale : 1);
    // The stroke from a to b, pixels of the picture, with a pen of width dots.
    const auto markStroke = [&](QPointF a, QPointF b, qreal width) {
        if (inside.contains(a) && inside.contains(b))
            return;
        if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) || !std::isfinite(b.y())) {
            markRect(QRectF(kept));
            return;
        }
        // Samples a step apart, each with a square reaching half a step beyond the pen.
        constexpr qreal step = 32;
        const qreal reach = width / 2 + ExtentMarginPixels + 2 + step / 2;
        const QRectF held = QRectF(kept).adjusted(-reach, -reach, reach, reach);
        // Only the part of the stroke near the kept part matters.
        const qreal dxs = b.x() - a.x(), dys = b.y() - a.y();
        qreal t0 = 0, t1 = 1;
        const qreal pq[4][2] = {{-dxs, a.x() - held.left()},
                                {dxs, held.right() - a.x()},
                                {-dys, a.y() - held.top()},
                                {dys, held.bottom() - a.y()}};
        for (const auto& [pp, qq] : pq) {
            if (pp == 0) {
                if (qq < 0)
                    return;
                continue;
            }
            const qreal t = qq / pp;
            if (pp < 0)
                t0 = std::max(t0, t);
            else
                t1 = std::min(t1, t);
            if (t0 > t1)
                return;
        }
        const QPointF from(a.x() + t0 * dxs, a.y() + t0 * dys), to(a.x() + t1 * dxs, a.y() + t1 * dys);
        const qreal length = std::hypot(to.x() - from.x(), to.y() - from.y());
        const int samples = int(std::ceil(length / step)) + 1;
        for (int k = 0; k <= samples; ++k) {
            const QPointF at = from + (to - from) * (qreal(k) / samples);
            markRect(QRectF(at.x() - reach, at.y() - reach, 2 * reach, 2 * reach));
        }
    };
    const auto markPicture = [&](const TVpLayers& pict) {
        for (const auto& layer : pict) {
            for (const auto& g : layer->Polygons) {
                const qreal width = qreal(penDots * g->PenWidth);
                const auto ring = [&](const auto& points) {
                    const int n = points.GetCount();
                    for (int k = 0; k < n; ++k)
                        markStroke(PixelOf(*this, *points.At(k)), PixelOf(*this, *points.At((k + 1) % n)), width);
                };
                ring(g->Points);
                for (const auto& hole : g->Holes)
                    ring(hole->Points);
            }
            for (const auto& l : layer->Lines)
                markStroke(PixelOf(*this, l->P1), PixelOf(*this, l->P2), qreal(penDots * l->PenWidth));
            for (const auto& l : layer->Polylines) {
                const int n = l->Points.GetCount();
                for (int k = 1; k < n; ++k)
                    markStroke(PixelOf(*this, *l->Points.At(k - 1)), PixelOf(*this, *l->Points.At(k)),
                               qreal(penDots * l->PenWidth));
            }
        }
    };
    const auto markNodePoints = [&](const RGLine& line) {
        for (const auto& node : line.Nodes)
            for (const auto& q : node->NodePoints)
                markPicture(q->Picture);
    };
    // Whether the current object of the entry's kind is seen with the drawing area from
    // lo to hi.
    const auto seen = [&](std::uint8_t kind, const TGeoPoint& lo, const TGeoPoint& hi) {
        const TGeoPoint keptMin = DrawAreaMin, keptMax = DrawAreaMax;
        DrawAreaMin = lo;
        DrawAreaMax = hi;
        const bool visible = kind == ekPolygon ? PolygonVisible()
                             : kind == ekLine  ? LineVisible()
                             : kind == ekPoint ? PointVisible()
                                               : TextVisible();
        DrawAreaMin = keptMin;
        DrawAreaMax = keptMax;
        return visible;
    };
    std::vector<QRect> edges;
    if (dx != 0) {
        edges.push_back(QRect(kept.left(), kept.top(), 1, kept.height()));
        edges.push_back(QRect(kept.right(), kept.top(), 1, kept.height()));
    }
    if (dy != 0) {
        edges.push_back(QRect(kept.left(), kept.top(), kept.width(), 1));
        edges.push_back(QRect(kept.left(), kept.bottom(), kept.width(), 1));
    }
    std::vector<std::int32_t> found, across;
    for (const QRect& edge : edges) {
        found.clear();
        grid.Query(planBox(edge), found);
        across.insert(across.end(), found.begin(), found.end());
    }
    std::sort(across.begin(), across.end());
    across.erase(std::unique(across.begin(), across.end()), across.end());
    const TGeoPoint newMin = DrawAreaMin, newMax = DrawAreaMax;
    for (const std::int32_t i : across) {
        const RExtentEntry& e = grid.Entry(std::size_t(i));
        const QRect r = pixelsOf(e.Box);
        if (!r.intersects(kept) || kept.adjusted(1, 1, -1, -1).contains(r))
            continue;
        if (!Pages.GoItem(e.Page) || !Pages.Item->Visible || !Pages.Item->Layers.GoItem(e.Layer) ||
            !Pages.Item->Layers.Item->Visible)
            continue;
        RGLayer& layer = *Pages.Item->Layers.Item;
        const bool there = e.Kind == ekPolygon ? layer.Polygons.GoItem(e.Index)
                           : e.Kind == ekLine  ? layer.Lines.GoItem(e.Index)
                           : e.Kind == ekPoint ? layer.Points.GoItem(e.Index)
                                               : layer.Texts.GoItem(e.Index);
        if (!there)
            continue;
        const bool now = seen(e.Kind, newMin, newMax), then = seen(e.Kind, oldMin, oldMax);
        if (now != then) {
            markRect(QRectF(r));
            continue;
        }
        if (!now)
            continue;
        switch (e.Kind) {
        case ekPolygon: {
            const RGPolygon& o = *layer.Polygons.Item;
            markPicture(o.Picture);
            for (const auto& l : o.InnerLines) {
                markPicture(l->Picture);
                markNodePoints(*l);
            }
            for (const auto& q : o.InnerPoints)
                markPicture(q->Picture);
            break;
        }
        case ekLine:
            markPicture(layer.Lines.Item->Picture);
            markNodePoints(*layer.Lines.Item);
            break;
        case ekPoint: markPicture(layer.Points.Item->Picture); break;
        default: break;
        }
    }
    // Runs of marked cells along each row, cut to the kept part.
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns;) {
            if (!cells[std::size_t(row) * columns + column]) {
                ++column;
                continue;
            }
            const int first = column;
            while (column < columns && cells[std::size_t(row) * columns + column])
                ++column;
            const QRect run(first * CellPixels, row * CellPixels, (column - first) * CellPixels, CellPixels);
            if (const QRect part = run & kept; !part.isEmpty())
                areas.push_back(part);
        }
    double drawnShare = 0;
    for (const QRect& r : areas)
        drawnShare += double(r.width()) * r.height();
    if (drawnShare > MostOfThePicture * picture.width() * picture.height())
        return false;

    // The picture moved: each row within itself, the rows in the order that reads each
    // one before it is overwritten.
    {
        const int width = kept.width();
        const int from = kept.left() - dx;
        const auto row = [&](int y) {
            auto* line = reinterpret_cast<QRgb*>(Bitmap.scanLine(y));
            const auto* source = reinterpret_cast<const QRgb*>(Bitmap.constScanLine(y - dy));
            std::memmove(line + kept.left(), source + from, std::size_t(width) * sizeof(QRgb));
        };
        if (dy > 0)
            for (int y = kept.bottom(); y >= kept.top(); --y)
                row(y);
        else
            for (int y = kept.top(); y <= kept.bottom(); ++y)
                row(y);
    }
    Shifted = true;
    ShiftedAreas = areas;

    // Each part recorded and painted by the tile drawer over the part alone: a text across
    // the part's edge is painted whole and cut as the whole drawing paints it, which a
    // clip on the painter would not give (Qt blends underlines otherwise under a clip).
    for (const QRect& area : areas) {
        Painter->Begin(Bitmap, true, area);
        DrawPicturePart(grid, planBox(area), area);
        Painter->End();
    }
    DrawnCount = drawn;
    SkippedCount = skipped;
    const qint64 drawTime = clock.restart();

    PictureDrawnWith = PictureStateNow(W, H);
    if (LinkToNodes)
        FindScreenNodes();
    PaintBitmap();
    const qint64 copyTime = clock.restart();
    const auto seconds = [](qint64 ms) { return FloatToStrF(ms / 1000.0L, ffFixed, 4, 2); };
    ui.SetPanelText(TEnginePanel::Timings,
                    QStringLiteral("вывод изображения: [") + seconds(renderTime) + u'+' + seconds(drawTime) +
                        QStringLiteral("+0+0+") + seconds(copyTime) + QStringLiteral("]=") +
                        seconds(renderTime + drawTime + copyTime) + QStringLiteral("сек."));
    ui.SetPanelText(TEnginePanel::Counts, QString::number(DrawnCount) + u'/' + QString::number(SkippedCount));
    return true;
}

void TGeoMap::DrawPicturePart(const TObjectExtents& grid, const TObjectExtent& box, const QRect& area)
{
    std::vector<std::int32_t> found;
    grid.Query(box, found);
    Painter->FillRect(area, BackColor);
    if (OutputScale <= 1000 && ShowPlansBorders)
        PaintPlanCross(ddScreen);

    // Makes the object of an entry current, as the whole drawing's walk does, and tells
    // whether its sheet and layer are shown.
    const auto current = [this](const RExtentEntry& e) -> bool {
        if (!Pages.GoItem(e.Page) || !Pages.Item->Visible || !Pages.Item->Layers.GoItem(e.Layer))
            return false;
        RGLayer& layer = *Pages.Item->Layers.Item;
        if (!layer.Visible)
            return false;
        switch (e.Kind) {
        case ekPolygon: return layer.Polygons.GoItem(e.Index);
        case ekLine: return layer.Lines.GoItem(e.Index);
        case ekPoint: return layer.Points.GoItem(e.Index);
        default: return layer.Texts.GoItem(e.Index);
        }
    };
    const auto captions = [this](TAutoTexts& texts) {
        for (const auto& t : texts) {
            HiddenCaption = t->Hidden != 0;
            DrawText(t.get());
        }
        HiddenCaption = false;
    };
    const auto pointWithCaptions = [&](RGPoint& q) {
        DrawCashe(&q.Picture);
        captions(q.AutoTexts);
    };
    const auto nodePoints = [&](RGLine& line) {
        for (const auto& node : line.Nodes)
            for (const auto& q : node->NodePoints)
                pointWithCaptions(*q);
    };
    bool gridDrawn = false;
    std::size_t next = 0;
    const int pageCount = Pages.GetCount();
    for (int p = 0; p < pageCount; ++p) {
        RGPage& page = *Pages.At(p);
        if (page.Visible && ShowCoordCross && !gridDrawn && page.Name.size() >= 2 && page.Name.startsWith(u'^')) {
            PaintCoordCross(ddScreen);
            gridDrawn = true;
        }
        for (; next < found.size() && grid.Entry(std::size_t(found[next])).Page == p; ++next) {
            const RExtentEntry& e = grid.Entry(std::size_t(found[next]));
            if (!current(e))
                continue;
            RGLayer& layer = *Pages.Item->Layers.Item;
            switch (e.Kind) {
            case ekPolygon:
                if (PolygonVisible()) {
                    RGPolygon& o = *layer.Polygons.Item;
                    DrawCashe(&o.Picture);
                    captions(o.AutoTexts);
                    for (const auto& l : o.InnerLines) {
                        DrawCashe(&l->Picture);
                        captions(l->AutoTexts);
                        nodePoints(*l);
                    }
                    for (const auto& q : o.InnerPoints)
                        pointWithCaptions(*q);
                }
                break;
            case ekLine:
                if (LineVisible()) {
                    RGLine& o = *layer.Lines.Item;
                    DrawCashe(&o.Picture);
                    captions(o.AutoTexts);
                    nodePoints(o);
                }
                break;
            case ekPoint:
                if (PointVisible())
                    pointWithCaptions(*layer.Points.Item);
                break;
            default:
                HiddenCaption = false;
                if (TextVisible())
                    DrawText(layer.Texts.Item);
                break;
            }
        }
    }

    // Node marks: sheet by sheet, layer by layer, polygons, lines, points, texts.
    if (ShowNodes) {
        std::vector<std::int32_t> marks(found);
        std::sort(marks.begin(), marks.end(), [&grid](std::int32_t a, std::int32_t b) {
            const RExtentEntry& x = grid.Entry(std::size_t(a));
            const RExtentEntry& y = grid.Entry(std::size_t(b));
            return std::tie(x.Page, x.Layer, x.Kind, x.Index) < std::tie(y.Page, y.Layer, y.Kind, y.Index);
        });
        const auto mark = [this](const TGeoPoint& g) {
            int xs = 0, ys = 0;
            GeoToScr(DrawH, g.X, g.Y, xs, ys);
            DrawNodeMark(QPoint(xs + ScrollX, ys + ScrollY));
        };
        for (const std::int32_t i : marks) {
            const RExtentEntry& e = grid.Entry(std::size_t(i));
            if (!current(e))
                continue;
            RGLayer& layer = *Pages.Item->Layers.Item;
            switch (e.Kind) {
            case ekPolygon:
                if (PolygonVisible()) {
                    const RGPolygon& o = *layer.Polygons.Item;
                    for (const auto& n : o.Nodes)
                        mark(n->Position);
                    for (const auto& hole : o.Holes)
                        for (const auto& n : hole->Nodes)
                            mark(n->Position);
                }
                break;
            case ekLine:
                if (LineVisible())
                    for (const auto& n : layer.Lines.Item->Nodes)
                        mark(n->Position);
                break;
            case ekPoint:
                if (PointVisible())
                    mark(layer.Points.Item->Position);
                break;
            default:
                if (TextVisible())
                    mark(layer.Texts.Item->Position);
                break;
            }
        }
    }
    if (OutputScale > 1000 && ShowPlansBorders)
        PaintPlanCross(ddScreen);
    if (!gridDrawn && ShowCoordCross)
        PaintCoordCross(ddScreen);
}
