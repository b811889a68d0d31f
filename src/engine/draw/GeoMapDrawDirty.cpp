// The redraw of what an edit touched: mode 7 on the screen clears and draws only the
// rectangle the edited object covered before and covers after its rendering (and what
// objects noted as going covered), with everything the whole drawing paints there in
// the whole drawing's order, clipped to it; and the grid of the objects' extents that
// finds what meets the rectangle, kept as the last screen drawing drew the plan.
#include "engine/draw/GeoMapDrawSupport.h"

#include "engine/EngineServices.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoDataObjectsPicture.h"
#include "semantics/signs/Symbols.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>

namespace {

template <class L>
auto* ItemAt(L& list, int index)
{
    return index < 0 ? (list.GoLastItem() ? list.Item : nullptr) : (list.GoItem(index) ? list.Item : nullptr);
}

}  // namespace

QRect ExtentPixels(const TGeoMap& map, const TObjectExtent& box)
{
    if (box.Empty())
        return QRect();
    const QPointF a = PixelOf(map, box.MinX, box.MinY);
    const QPointF b = PixelOf(map, box.MaxX, box.MaxY);
    const QRectF pixels = QRectF(a, b).normalized().adjusted(-ExtentMarginPixels, -ExtentMarginPixels,
                                                              ExtentMarginPixels + 1, ExtentMarginPixels + 1);
    if (!std::isfinite(pixels.left()) || !std::isfinite(pixels.right()) || !std::isfinite(pixels.top()) ||
        !std::isfinite(pixels.bottom()))
        return QRect();
    const QRectF held = pixels.intersected(QRectF(map.Bitmap.rect()));
    if (held.isEmpty())
        return QRect();
    return QRect(QPoint(int(std::floor(held.left())), int(std::floor(held.top()))),
                 QPoint(int(std::ceil(held.right())), int(std::ceil(held.bottom())))) &
           map.Bitmap.rect();
}

RExtentKey TGeoMap::ExtentKeyNow() const
{
    return {EditCount, Symbols.get(), Symbols ? Symbols->RenderedObjects : 0, TObjectExtents::StructureOf(Pages)};
}

const TObjectExtents& TGeoMap::CurrentExtents()
{
    const RExtentKey key = ExtentKeyNow();
    if (!Extents) {
        Extents = std::make_unique<TObjectExtents>();
        Extents->Build(Pages, key);
    } else if (!(Extents->Key() == key)) {
        Extents->Build(Pages, key);
    }
    return *Extents;
}

void TGeoMap::NoteGoingObject(int page, int layer, std::uint8_t kind, int index)
{
    RGPage* p = Pages.At(page);
    RGLayer* l = p ? p->Layers.At(layer) : nullptr;
    if (!l)
        return;
    const auto note = [this, index](const auto& list) {
        if (const auto* o = list.At(index))
            GoingObjects.Add(TObjectExtents::BoxOf(*o));
    };
    switch (kind) {
    case ekPolygon: note(l->Polygons); break;
    case ekLine: note(l->Lines); break;
    case ekPoint: note(l->Points); break;
    case ekText: note(l->Texts); break;
    default: break;
    }
    // As the picture shows it, should the object have changed since.
    if (Extents)
        if (const RExtentEntry* e = Extents->Find(page, layer, kind, index))
            GoingObjects.Add(e->Box);
}

TGeoMap::RPictureState TGeoMap::PictureStateNow(int W, int H) const
{
    RPictureState s;
    s.ViewXMin = ViewXMin;
    s.ViewYMin = ViewYMin;
    s.FactorX = FactorX;
    s.FactorY = FactorY;
    s.OutputScale = OutputScale;
    s.PlanScale = MapProp.Scale;
    s.ScrollX = ScrollX;
    s.ScrollY = ScrollY;
    s.DrawH = DrawH;
    s.W = W;
    s.H = H;
    s.BackColor = BackColor;
    s.NodeColor = (MainMap ? MainMap : this)->NodeColor;
    s.UserVectorColour = UserVectorColour;
    s.FrameColor500 = FrameColor500;
    s.FrameColor5000 = FrameColor5000;
    s.NomColor = NomColor;
    const std::uint8_t switches[9] = {ShowPlansBorders, ShowPlanNom, ShowCoordCross, ShowSymbols, ShowRastrs,
                                      ShowNodes, UserVectorColourOn, 0, 0};
    std::copy(std::begin(switches), std::end(switches), s.Switches);
    s.Symbols = Symbols.get();
    s.Dpi = ScreenDpi;
    s.Size = Bitmap.size();
    return s;
}

void TGeoMap::NoteWholePicture(int W, int H, bool withSigns)
{
    PictureOnHand = withSigns;
    PictureDrawnWith = PictureStateNow(W, H);
    GoingObjects.Clear();
    // The drawing measured the texts it drew: a grid built before holds their anchors
    // alone.
    if (Extents && Extents->Unmeasured() > 0)
        Extents.reset();
    CurrentExtents();
}

bool TGeoMap::DrawDirty(int W, int H)
{
    if (!PictureOnHand || DrawDest != ddScreen || !Extents || !Symbols)
        return false;
    const int w = std::max(W, 1), h = std::max(H, 1);
    if (Bitmap.size() != QSize(3 * w, 3 * h) || Bitmap.format() != QImage::Format_RGB32)
        return false;
    QElapsedTimer clock;
    clock.start();

    // The steps of the whole drawing before it paints, which change nothing when the
    // view is the one drawn.
    Symbols->SetScale(MapProp.Scale, ScreenDpi);
    ScrollX = w;
    ScrollY = h;
    DrawH = H;
    ViewStep(W, H);
    if (FactorX == 0 || FactorY == 0)
        return false;
    SetOutputScale();
    SetPictureCorners(Bitmap.width(), Bitmap.height(), W, H);
    if (!(PictureStateNow(W, H) == PictureDrawnWith))
        return false;
    const bool full = ShowSymbols != 0 && Extended(OutputScale) <= 4.0L * MapProp.Scale;
    if (!full)
        return false;

    // What the edit touched: the marked object's extent before its rendering (as the
    // picture shows it, and as the object kept it) and after, and what went.
    TObjectExtent dirty = GoingObjects;
    GoingObjects.Clear();
    const void* changed = nullptr;
    const auto before = [&](std::uint8_t kind, int index) {
        if (const RExtentEntry* e = Extents->Find(EditedPage, EditedLayer, kind, index))
            dirty.Add(e->Box);
    };
    if (Pages.GoItem(EditedPage) && Pages.Item->Layers.GoItem(EditedLayer)) {
        RGLayer& layer = *Pages.Item->Layers.Item;
        const auto foreign = [this](const void* object) {
            if (!ForeignSigns.isEmpty())
                ForeignSigns.remove(object);
        };
        // The object's box before its sign is rendered (a text: measured) anew and after.
        const auto redo = [&](auto& list, std::uint8_t kind, auto render) {
            if (auto* o = ItemAt(list, EditedObject)) {
                changed = o;
                before(kind, list.GetIndex());
                dirty.Add(TObjectExtents::BoxOf(*o));
                foreign(o);
                render(o);
                dirty.Add(TObjectExtents::BoxOf(*o));
            }
        };
        if (EditedKind == 0) {
            redo(layer.Points, ekPoint, [this](RGPoint* o) { Symbols->RenderPoint(o); });
        } else if (EditedKind == 1) {
            redo(layer.Lines, ekLine, [this](RGLine* o) { Symbols->RenderLine(o); });
        } else if (EditedKind == 2) {
            redo(layer.Polygons, ekPolygon, [this](RGPolygon* o) { Symbols->RenderPolygon(o); });
        } else if (EditedKind == 3) {
            // A text has no sign: it is measured anew, which painting nothing does.
            redo(layer.Texts, ekText, [this](RGText* o) {
                HiddenCaption = true;
                DrawText(o);
                HiddenCaption = false;
            });
        }
    }
    const qint64 renderTime = clock.restart();

    // The grid brought up to the edit rather than built again over the whole plan (which
    // would cost more than the redraw): at most one command ran since it was built, and
    // a command whose redraw is this one changed the marked object alone, or added or
    // removed objects, as the rectangle redrawn assumes too. The hit test after the edit
    // then finds it up to date.
    const RExtentKey key = ExtentKeyNow();
    if (!(Extents->Key() == key) &&
        (EditCount > Extents->Key().Edits + 1 || !Extents->Refresh(Pages, key, changed)))
        Extents->Build(Pages, key);
    const TObjectExtents& grid = *Extents;

    // The rectangle in pixels of the picture, and back in plan metres for the grid.
    const QRect area = ExtentPixels(*this, dirty);
    std::vector<std::int32_t> found;
    TObjectExtent query;
    if (!area.isEmpty()) {
        // An object meets the rectangle when its extent, widened by the margin, does.
        const QPointF o = PixelOf(*this, dirty.MinX, dirty.MinY);
        const QPointF u = PixelOf(*this, dirty.MinX + 1, dirty.MinY + 1);
        const Extended perX = std::fabs(Extended(o.y() - u.y()));   // pixels per metre north
        const Extended perY = std::fabs(Extended(u.x() - o.x()));   // pixels per metre east
        if (perX > 0 && perY > 0) {
            const Extended m = ExtentMarginPixels + 1;
            // Pixel x grows east with plan Y, pixel y grows south against plan X.
            query.Add(dirty.MinX + (o.y() - (area.bottom() + 1) - m) / perX,
                      dirty.MinY + (area.left() - o.x() - m) / perY);
            query.Add(dirty.MinX + (o.y() - area.top() + m) / perX,
                      dirty.MinY + (area.right() + 1 - o.x() + m) / perY);
            grid.Query(query, found);
        }
    }

    // The rectangle cleared and drawn in the whole drawing's order.
    const std::int32_t drawn = DrawnCount, skipped = SkippedCount;
    qint64 drawTime = 0;
    if (!area.isEmpty()) {
        Painter->Begin(Bitmap);
        Painter->SetClip(area);
        Painter->FillRect(area, BackColor);
        if (ShowRastrs) {
            for (bool page = Pages.GoFirstItem(); page; page = Pages.GoNextItem()) {
                if (!Pages.Item->Visible)
                    continue;
                TGRastrs& rastrs = Pages.Item->Rastrs;
                for (bool more = rastrs.GoFirstItem(); more; more = rastrs.GoNextItem()) {
                    RGRastr& r = *rastrs.Item;
                    if (r.Visible && r.Loaded && RastrVisible()) {
                        const QPointF nw = PixelOf(*this, r.TopRight.X, r.BottomLeft.Y);
                        const QPointF se = PixelOf(*this, r.BottomLeft.X, r.TopRight.Y);
                        Painter->StretchImage(QRectF(nw, se), r.Picture->Image);
                    }
                }
            }
        }
        if (OutputScale <= 1000 && ShowPlansBorders)
            PaintPlanCross(ddScreen);

        // Makes the object of an entry current, as the whole drawing's walk does, and
        // tells whether its sheet and layer are shown.
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
        // A measured caption whose frame stays off the rectangle paints nothing in it
        // (its object's extent is made of such frames, and a free text is found by the
        // same box): drawing it would cost most of the redraw, since a long line met
        // at one end brings every caption along it. One not measured yet is drawn,
        // which measures it as the whole drawing does.
        const auto captions = [this, &query](TAutoTexts& texts) {
            for (const auto& t : texts) {
                if (t->FrameValid && !TextExtent(*t).Meets(query))
                    continue;
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
        Painter->ClearClip();
        Painter->End();
        drawTime = clock.restart();
    }
    // The counts stay those of the whole picture.
    DrawnCount = drawn;
    SkippedCount = skipped;

    if (LinkToNodes)
        FindScreenNodes();
    PaintBitmap();
    const qint64 copyTime = clock.restart();
    const auto seconds = [](qint64 ms) { return FloatToStrF(ms / 1000.0L, ffFixed, 4, 2); };
    Ui().SetPanelText(TEnginePanel::Timings,
                      QStringLiteral("вывод изображения: [") + seconds(renderTime) + u'+' + seconds(drawTime) +
                          QStringLiteral("+0+0+") + seconds(copyTime) + QStringLiteral("]=") +
                          seconds(renderTime + drawTime + copyTime) + QStringLiteral("сек."));
    return true;
}
