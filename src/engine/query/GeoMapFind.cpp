// Hit testing: which objects lie at a click, limited by the selection filter, with a
// readable label and the outlines the main window highlights; and the highlight
// colour's swing between the two colours of the settings.
//
// A search walks every object of the sheets it searches, so each exact test is guarded
// by a bounding-box test that can only reject what the exact test would reject too.
// What remains is reading every object record and every node of every line and
// polygon, which on a large plan is memory-bound: the tests, independent and read-only,
// run on several threads, and the records are then built in order on the calling
// thread.
#include "engine/GeoMap.h"

#include "engine/query/QueryLookup.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoDataObjectsPolygons.h"
#include "foundation/GeoServ.h"
#include "semantics/codec/SemServices.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// An axis-aligned box in plan metres.
struct TBox {
    Extended MinX = 0;
    Extended MinY = 0;
    Extended MaxX = 0;
    Extended MaxY = 0;

    void Start(const TGeoPoint& p)
    {
        MinX = MaxX = p.X;
        MinY = MaxY = p.Y;
    }
    void Add(const TGeoPoint& p)
    {
        MinX = std::min(MinX, p.X);
        MaxX = std::max(MaxX, p.X);
        MinY = std::min(MinY, p.Y);
        MaxY = std::max(MaxY, p.Y);
    }
    bool Holds(Extended x, Extended y) const
    {
        return MinX <= x && x <= MaxX && MinY <= y && y <= MaxY;
    }
    // The box grown on every side by what the point-in-contour tests still count as
    // inside: a point whose distances to an edge's ends exceed the edge's length by less
    // than 0.001 m lies within sqrt(0.0005 L + 0.00000025) of an edge of length L, and
    // no edge is longer than the box's diagonal. A micrometre more covers rounding.
    TBox WithBoundaryTolerance() const
    {
        const Extended diagonal = std::hypot(MaxX - MinX, MaxY - MinY);
        return Grown(std::sqrt(0.0005L * diagonal + 0.00000025L) + 0.000001L);
    }
    TBox Grown(Extended m) const { return TBox{MinX - m, MinY - m, MaxX + m, MaxY + m}; }
};

TBox BoxOf(const TGeoRect& rect)
{
    TBox box;
    box.Start(rect[0]);
    for (std::size_t i = 1; i < rect.size(); ++i)
        box.Add(rect[i]);
    return box;
}

// A frame never measured holds four equal corners (all zero), which the point test
// would count as a hit at that very point.
bool IsMeasured(const TGeoRect& frame)
{
    for (std::size_t i = 1; i < frame.size(); ++i) {
        if (frame[i].X != frame[0].X || frame[i].Y != frame[0].Y)
            return true;
    }
    return false;
}

// The readable semantics of the label; the classifier window's decoding without its
// questions.
QString Readable(int lm, const QString& sem)
{
    TSemServices* services = SemServices();
    if (!services)
        throw Exception(QStringLiteral("Классификатор семантики не создан"));
    QString text;
    services->decode2(lm, sem, text);
    return text;
}

void AddRegion(RFindedObject& r, std::uint8_t isCaption, std::int32_t number,
               const TGeoPoint* points, std::size_t count)
{
    r.Regions.AddItem();
    RFindedObjRegion& region = *r.Regions.Item;
    region.IsCaption = isCaption;
    region.Number = number;
    for (std::size_t i = 0; i < count; ++i)
        region.Outline.AddPoint(points[i].X, points[i].Y);
}

void AddFrameRegion(RFindedObject& r, std::int32_t number, const TGeoRect& frame)
{
    AddRegion(r, 1, number, frame.data(), frame.size());
}

void AddCaptionRegions(RFindedObject& r, const TAutoTexts& captions)
{
    for (const auto& a : captions)
        AddFrameRegion(r, a->CaptionNumber, a->Frame);
}

template <class L>
void AddContourRegion(RFindedObject& r, std::int32_t number, const L& nodes)
{
    r.Regions.AddItem();
    RFindedObjRegion& region = *r.Regions.Item;
    region.Number = number;
    for (const auto& n : nodes)
        region.Outline.AddPoint(n->Position.X, n->Position.Y);
}

// Label, semantics, regions and track of a found record, from the object as it is.
// The record's regions and track are empty on entry.
void Describe(RFindedObject& r, const RGRastr& rastr)
{
    r.Description = QStringLiteral("(рас)") + rastr.FileName;
    const TGeoPoint& bl = rastr.BottomLeft;
    const TGeoPoint& tr = rastr.TopRight;
    const TGeoPoint corners[4] = {GeoPoint(tr.X, bl.Y), tr, GeoPoint(bl.X, tr.Y), bl};
    AddRegion(r, 0, 0, corners, 4);
}

void Describe(RFindedObject& r, const RGText& text)
{
    r.Description = QStringLiteral("(тек) ") + text.Text;
    AddFrameRegion(r, 0, text.Frame);
}

void Describe(RFindedObject& r, const RGPoint& point)
{
    r.Description = QStringLiteral("(точ) ") + Readable(0, point.Semantics);
    r.Semantics = point.Semantics;
    AddRegion(r, 0, 0, &point.Position, 1);
    AddCaptionRegions(r, point.AutoTexts);
}

void Describe(RFindedObject& r, const RGLine& line)
{
    r.Description = QStringLiteral("(лин) ") + Readable(1, line.Semantics);
    AddContourRegion(r, 0, line.Nodes);
    for (const auto& p : line.Track) {
        r.Track.AddItem();
        *r.Track.Item = *p;
    }
    AddCaptionRegions(r, line.AutoTexts);
}

void Describe(RFindedObject& r, const RGPolygon& polygon)
{
    r.Description = QStringLiteral("(пол) ") + Readable(2, polygon.Semantics);
    AddContourRegion(r, 0, polygon.Nodes);
    for (const auto& hole : polygon.Holes)
        AddContourRegion(r, 1, hole->Nodes);
    AddCaptionRegions(r, polygon.AutoTexts);
}

// test(i) for every i below count on the given number of threads, the calling one
// among them. A thread that cannot be started leaves its share to the others; the first
// exception a test raises is raised here after all stop.
template <class F>
void ParallelFor(std::size_t count, std::size_t threads, F test)
{
    threads = std::min(threads, count);
    if (threads <= 1) {
        for (std::size_t i = 0; i < count; ++i)
            test(i);
        return;
    }
    std::atomic<std::size_t> next{0};
    std::mutex failureLock;
    std::exception_ptr failure;
    const auto worker = [&] {
        try {
            for (;;) {
                const std::size_t i = next.fetch_add(1);
                if (i >= count)
                    return;
                test(i);
            }
        } catch (...) {
            const std::lock_guard<std::mutex> lock(failureLock);
            if (!failure)
                failure = std::current_exception();
            next = count;
        }
    };
    std::vector<std::thread> pool;
    pool.reserve(threads - 1);
    try {
        for (std::size_t t = 1; t < threads; ++t)
            pool.emplace_back(worker);
    } catch (const std::system_error&) {
    }
    worker();
    for (std::thread& t : pool)
        t.join();
    if (failure)
        std::rethrow_exception(failure);
}

// One search: the click, the pick rectangle and where the hits go.
class TSearch {
public:
    TSearch(TFindedObjects& found, Extended x, Extended y, const TGeoRect& rect, int kind)
        : Found(found), X(x), Y(y), Rect(rect), RectBox(BoxOf(rect)),
          NearBox(RectBox.Grown(0.000001L)), PointBox(RectBox.WithBoundaryTolerance()), Kind(kind)
    {
    }

    // A sheet's rasters to search, or a layer (once per time it is listed).
    void VisitRastrs(int page, TGRastrs& rastrs) { Visits.push_back({page, -1, nullptr, &rastrs}); }
    void VisitLayer(int page, int layerIndex, RGLayer& layer)
    {
        Visits.push_back({page, layerIndex, &layer, nullptr});
    }

    // Tests every object of the visits and appends the hits in visit order: within a
    // layer texts, points, lines, polygons. Each list walked ends on its last item.
    // With a grid, only the objects whose extent comes near the click are tested.
    void Run(const TObjectExtents* grid)
    {
        if (grid) {
            RunOnGrid(*grid);
            return;
        }
        // One segment per list to test, in the order the hits are reported; its
        // results go to hits from First on.
        std::vector<RSegment> segments;
        std::size_t objects = 0;
        const auto add = [&](int visit, std::uint8_t kind, int count) {
            segments.push_back({visit, kind, count, objects});
            objects += static_cast<std::size_t>(count);
        };
        for (int v = 0, n = static_cast<int>(Visits.size()); v < n; ++v) {
            const RGLayer* layer = Visits[static_cast<std::size_t>(v)].Layer;
            if (!layer)
                continue;
            if (Kind == 0 || Kind == 2)
                add(v, fkText, layer->Texts.GetCount());
            if (Kind == 0 || Kind == 3)
                add(v, fkPoint, layer->Points.GetCount());
            if (Kind == 0 || Kind == 4)
                add(v, fkLine, layer->Lines.GetCount());
            if (Kind == 0 || Kind == 5)
                add(v, fkPolygon, layer->Polygons.GetCount());
        }

        // Runs of consecutive objects of one segment, small enough to share the work
        // out evenly, large enough to cost little to hand out.
        constexpr int RunLength = 256;
        struct RChunk {
            std::size_t Segment;
            int Begin;
            int End;
        };
        std::vector<RChunk> chunks;
        chunks.reserve(objects / RunLength + segments.size());
        for (std::size_t k = 0; k < segments.size(); ++k) {
            for (int b = 0; b < segments[k].Count; b += RunLength)
                chunks.push_back({k, b, std::min(segments[k].Count, b + RunLength)});
        }
        // A thread pays for itself once it has a few thousand objects to read; more
        // than four gain little once memory is the limit, and wait longest for the
        // slowest on a busy machine.
        constexpr std::size_t ObjectsPerThread = 2000;
        constexpr std::size_t MaxThreads = 4;
        static const std::size_t cpus = std::max(1u, std::thread::hardware_concurrency());
        const std::size_t threads =
            std::min<std::size_t>({cpus, MaxThreads, objects / ObjectsPerThread + 1});
        std::vector<char> hits(objects);
        ParallelFor(chunks.size(), threads, [&](std::size_t c) {
            const RChunk& chunk = chunks[c];
            const RSegment& segment = segments[chunk.Segment];
            const RGLayer& layer = *Visits[static_cast<std::size_t>(segment.Visit)].Layer;
            char* out = hits.data() + segment.First;
            const auto test = [&](const auto& list, auto hit) {
                TestObjects(list, chunk.Begin, chunk.End, out, hit);
            };
            switch (segment.Kind) {
            case fkText:
                test(layer.Texts, [this](const RGText& t) { return TextHit(t); });
                break;
            case fkPoint:
                test(layer.Points, [this](const RGPoint& p) { return PointHit(p); });
                break;
            case fkLine:
                test(layer.Lines, [this](const RGLine& l) { return LineHit(l); });
                break;
            default:
                test(layer.Polygons, [this](const RGPolygon& p) { return PolygonHit(p); });
                break;
            }
        });

        // The records, in visit order: a sheet's rasters, or a layer's segments.
        std::size_t next = 0;
        for (int v = 0, n = static_cast<int>(Visits.size()); v < n; ++v) {
            const RVisit& visit = Visits[static_cast<std::size_t>(v)];
            if (visit.Rastrs) {
                SearchRastrs(visit.Page, *visit.Rastrs);
                continue;
            }
            for (; next < segments.size() && segments[next].Visit == v; ++next) {
                const RSegment& segment = segments[next];
                const char* found = hits.data() + segment.First;
                RGLayer& layer = *visit.Layer;
                switch (segment.Kind) {
                case fkText:
                    Report(visit, segment.Kind, layer.Texts, found);
                    break;
                case fkPoint:
                    Report(visit, segment.Kind, layer.Points, found);
                    break;
                case fkLine:
                    Report(visit, segment.Kind, layer.Lines, found);
                    break;
                default:
                    Report(visit, segment.Kind, layer.Polygons, found);
                    break;
                }
            }
        }
    }

private:
    // The objects the grid places near the click, tested as the plain walk tests them,
    // reported in the same order. An object is near when its box meets the rectangle's
    // (and the click's) widened by the edge tolerance of the contour tests for the
    // largest box: the box holds the object's geometry, and no test reaches beyond its
    // geometry farther than that tolerance.
    void RunOnGrid(const TObjectExtents& grid)
    {
        TObjectExtent near;
        near.Add(PointBox.MinX, PointBox.MinY);
        near.Add(PointBox.MaxX, PointBox.MaxY);
        near.Add(X, Y);
        const Extended reach =
            std::sqrt(0.0005L * Extended(grid.LargestDiagonal()) + 0.00000025L) + 0.00001L;
        TObjectExtent query;
        query.Add(near.MinX, near.MinY, reach);
        query.Add(near.MaxX, near.MaxY, reach);
        std::vector<std::int32_t> entries;
        grid.Query(query, entries);
        // The candidates of each list, by sheet, layer and kind, in list order.
        std::vector<const RExtentEntry*> candidates;
        candidates.reserve(entries.size());
        for (const std::int32_t i : entries)
            candidates.push_back(&grid.Entry(std::size_t(i)));
        const auto of = [&](int page, int layer, std::uint8_t kind) {
            std::vector<int> indices;
            for (const RExtentEntry* e : candidates)
                if (e->Page == page && e->Layer == layer && e->Kind == kind)
                    indices.push_back(e->Index);
            return indices;
        };
        const auto search = [&](const RVisit& visit, std::uint8_t kind, auto& list, auto hit) {
            for (const int i : of(visit.Page, visit.LayerIndex, kind)) {
                const auto* object = list.At(i);
                if (object && hit(*object))
                    Hit(visit.Page, visit.LayerIndex, i, FoundKind(kind), *object);
            }
            list.GoLastItem();
        };
        for (const RVisit& visit : Visits) {
            if (visit.Rastrs) {
                SearchRastrs(visit.Page, *visit.Rastrs);
                continue;
            }
            RGLayer& layer = *visit.Layer;
            if (Kind == 0 || Kind == 2)
                search(visit, ekText, layer.Texts, [this](const RGText& t) { return TextHit(t); });
            if (Kind == 0 || Kind == 3)
                search(visit, ekPoint, layer.Points, [this](const RGPoint& p) { return PointHit(p); });
            if (Kind == 0 || Kind == 4)
                search(visit, ekLine, layer.Lines, [this](const RGLine& l) { return LineHit(l); });
            if (Kind == 0 || Kind == 5)
                search(visit, ekPolygon, layer.Polygons, [this](const RGPolygon& p) { return PolygonHit(p); });
        }
    }

    static std::uint8_t FoundKind(std::uint8_t extentKind)
    {
        switch (extentKind) {
        case ekText: return fkText;
        case ekPoint: return fkPoint;
        case ekLine: return fkLine;
        default: return fkPolygon;
        }
    }

    struct RVisit {
        int Page;
        int LayerIndex;
        RGLayer* Layer;     // null for a sheet's rasters
        TGRastrs* Rastrs;
    };

    // The objects of one kind of one visited layer.
    struct RSegment {
        int Visit;
        std::uint8_t Kind;
        int Count;
        std::size_t First;
    };

    // out[i] := hit(object i) for i from begin below end. Every object is a record of
    // its own, and so is every node of its list: what the tests will read is asked for
    // a few objects ahead, each step one link further (the record, its node list, the
    // first node), so that the misses overlap instead of coming one after another.
    template <class L, class F>
    static void TestObjects(const L& list, int begin, int end, char* out, F hit)
    {
        for (int i = begin; i < end; ++i) {
            if (i + 8 < end)
                PrefetchRecord(*list.At(i + 8));
            if (i + 4 < end)
                PrefetchNodeList(*list.At(i + 4));
            if (i + 2 < end)
                PrefetchFirstNode(*list.At(i + 2));
            out[i] = hit(*list.At(i)) ? 1 : 0;
        }
    }

    // Addresses only: nothing of the record is read here.
    static void PrefetchRecord(const RGText& t)
    {
        __builtin_prefetch(&t.Frame[0]);
        __builtin_prefetch(&t.Frame[3]);
    }
    static void PrefetchRecord(const RGPoint& p) { __builtin_prefetch(&p.Position); }
    static void PrefetchRecord(const RGLine& l)
    {
        __builtin_prefetch(&l.Nodes);
        __builtin_prefetch(&l.Track);
    }
    static void PrefetchRecord(const RGPolygon& p) { __builtin_prefetch(&p.Nodes); }

    // The node list's block (count and record addresses), from the record.
    static void PrefetchNodeList(const RGText&) {}
    static void PrefetchNodeList(const RGPoint&) {}
    static void PrefetchNodeList(const RGLine& l)
    {
        __builtin_prefetch(l.Track.GetCount() > 0 ? static_cast<const void*>(l.Track.begin())
                                                  : static_cast<const void*>(l.Nodes.begin()));
    }
    static void PrefetchNodeList(const RGPolygon& p) { __builtin_prefetch(p.Nodes.begin()); }

    // The first node, from the node list's block; the polyline walk asks for the rest.
    static void PrefetchFirstNode(const RGText&) {}
    static void PrefetchFirstNode(const RGPoint&) {}
    static void PrefetchFirstNode(const RGLine& l)
    {
        if (l.Track.GetCount() > 0)
            __builtin_prefetch(l.Track.At(0));
        else if (const RGLineNode* n = l.Nodes.At(0))
            __builtin_prefetch(&n->Position);
    }
    static void PrefetchFirstNode(const RGPolygon& p)
    {
        if (const RGPolygonNode* n = p.Nodes.At(0))
            __builtin_prefetch(&n->Position);
    }

    // A record for every object of list whose flag in found is set; the list's cursor
    // ends on its last item.
    template <class L>
    void Report(const RVisit& visit, std::uint8_t kind, L& list, const char* found)
    {
        for (int i = 0, n = list.GetCount(); i < n; ++i) {
            if (found[i])
                Hit(visit.Page, visit.LayerIndex, i, kind, *list.At(i));
        }
        list.GoLastItem();
    }

    template <class R>
    void Hit(int page, int layer, int index, std::uint8_t kind, const R& object)
    {
        Found.AddItem();
        RFindedObject& r = *Found.Item;
        r.PageIndex = page;
        r.LayerIndex = layer;
        r.ObjectIndex = index;
        r.Kind = kind;
        Describe(r, object);
    }

    // Rasters strictly inside their rectangle.
    void SearchRastrs(int page, TGRastrs& rastrs)
    {
        for (int i = 0, n = rastrs.GetCount(); i < n; ++i) {
            const RGRastr& r = *rastrs.At(i);
            if (r.BottomLeft.X < X && X < r.TopRight.X && r.BottomLeft.Y < Y && Y < r.TopRight.Y)
                Hit(page, -1, i, fkRastr, r);
        }
        rastrs.GoLastItem();
    }

    // The click in the text's frame; a frame never measured is no frame.
    bool TextHit(const RGText& t) const
    {
        return IsMeasured(t.Frame) && BoxOf(t.Frame).WithBoundaryTolerance().Holds(X, Y) &&
               PointInGeoRect(t.Frame, X, Y);
    }

    bool PointHit(const RGPoint& p) const
    {
        return PointBox.Holds(p.Position.X, p.Position.Y) &&
               PointInGeoRect(Rect, p.Position.X, p.Position.Y);
    }

    // The sides of the rectangle's box (grown by a micrometre for rounding) that p lies
    // beyond, one bit each. A segment whose ends lie beyond a common side cannot cross
    // an edge: that is the whole cost of most segments of a plan.
    unsigned Beyond(const TGeoPoint& p) const
    {
        return unsigned(p.X < NearBox.MinX) | unsigned(p.X > NearBox.MaxX) << 1 |
               unsigned(p.Y < NearBox.MinY) << 2 | unsigned(p.Y > NearBox.MaxY) << 3;
    }

    // The polyline of list, each item read as point(item), meeting the rectangle: a
    // segment meets an edge, or the whole polyline lies inside (then so does its first
    // point). A short line under the click is found like a long one.
    template <class L, class P>
    bool PolylineCrossesRect(const L& list, P point) const
    {
        auto it = list.begin();
        const auto end = list.end();
        if (it == end)
            return false;
        const TGeoPoint* prev = &point(**it);
        if (PointBox.Holds(prev->X, prev->Y) && PointInGeoRect(Rect, prev->X, prev->Y))
            return true;
        unsigned prevSides = Beyond(*prev);
        for (++it; it != end; ++it) {
            // Each node is a record of its own: ask for the one a few steps on early.
            if (end - it > 8)
                __builtin_prefetch(&point(**(it + 8)));
            const TGeoPoint& cur = point(**it);
            const unsigned sides = Beyond(cur);
            if ((sides & prevSides) == 0 && SegmentCrossesGeoRect(*prev, cur, Rect))
                return true;
            prev = &cur;
            prevSides = sides;
        }
        return false;
    }

    // The line as last drawn (its track) when it has one, else its nodes.
    bool LineHit(const RGLine& l) const
    {
        if (l.Track.GetCount() > 0)
            return PolylineCrossesRect(l.Track, [](const RExtGeoPoint& p) -> const TGeoPoint& {
                return p.Point;
            });
        return PolylineCrossesRect(l.Nodes, [](const RGLineNode& n) -> const TGeoPoint& {
            return n.Position;
        });
    }

    // The outer contour only: a click in a hole still finds the polygon.
    bool PolygonHit(const RGPolygon& p) const
    {
        const TGPolygonNodes& nodes = p.Nodes;
        if (nodes.GetCount() < 3)
            return false;
        TBox box;
        const auto begin = nodes.begin();
        const auto end = nodes.end();
        box.Start((*begin)->Position);
        for (auto it = begin; it != end; ++it) {
            if (end - it > 8)
                __builtin_prefetch(&(*(it + 8))->Position);
            box.Add((*it)->Position);
        }
        return box.WithBoundaryTolerance().Holds(X, Y) && PointInGPolygon(nodes, X, Y);
    }

    TFindedObjects& Found;
    std::vector<RVisit> Visits;
    Extended X;
    Extended Y;
    const TGeoRect& Rect;
    TBox RectBox;
    TBox NearBox;    // RectBox and a micrometre
    TBox PointBox;   // RectBox with the point test's tolerance
    int Kind;
};

// One colour channel (0 red, 1 green, 2 blue) of a TColor.
int Channel(std::int32_t colour, int channel) { return (colour >> (8 * channel)) & 0xFF; }

}  // namespace

void TGeoMap::FindObjects(Extended x, Extended y, const TGeoRect& FindRect)
{
    TTrailGuard guard("GeoMap",
                      "procedure TGeoMap.FindObjects(x,y:Extended; FindRect:TGeoRect);",
                      TrailArg("x", x), TrailArg("y", y));
    FoundObjects.DeleteAll();
    TSearch search(FoundObjects, x, y, FindRect, SelectObjectKind);

    // The sheet under the cursor, when visible.
    const auto searchSheet = [&] {
        RGPage& page = *Pages.Item;
        if (page.Visible == 0)
            return;
        const int pageIndex = Pages.GetIndex();
        if (SelectObjectKind == 1) {
            search.VisitRastrs(pageIndex, page.Rastrs);
            return;
        }
        if (SelectLayersMode > 1)
            return;
        TGLayers& layers = page.Layers;
        if (!layers.GoFirstItem())
            return;
        do {
            RGLayer& layer = *layers.Item;
            if (layer.Visible == 0)
                continue;
            // A name listed twice searches its layer twice.
            const qsizetype times =
                SelectLayersMode == 0 ? 1 : SelectLayersList.count(layer.Name);
            for (qsizetype t = 0; t < times; ++t)
                search.VisitLayer(pageIndex, layers.GetIndex(), layer);
        } while (layers.GoNextItem());
    };

    std::uint8_t scope = SelectPagesMode;
    if (scope == 2) {
        // The cell is named by the main plan's nomenclature, the one the window shows.
        const TGeoMap& named = MainMap ? *MainMap : *this;
        if (SetPage(named.CoordToNomenclature(x, y)))
            searchSheet();
        else
            scope = 0;
    }
    if (scope == 0) {
        if (Pages.GoFirstItem()) {
            do
                searchSheet();
            while (Pages.GoNextItem());
        }
    } else if (scope == 1) {
        for (const QString& name : SelectPagesList) {
            if (SetPage(name))
                searchSheet();
        }
    }
    search.Run(FindByExtents ? &CurrentExtents() : nullptr);
}

void TGeoMap::ReFind(int n)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.ReFind(n:integer);", TrailArg("n", n));
    if (!FoundObjects.GoItem(n))
        return;
    RFindedObject& r = *FoundObjects.Item;
    r.Regions.DeleteAll();
    r.Track.DeleteAll();
    r.Semantics.clear();
    // The object addressed by the record's positions, made current as a lookup does.
    const auto describe = [&]() -> bool {
        if (!Pages.GoItem(r.PageIndex))
            return false;
        if (r.Kind == fkRastr) {
            const RGRastr* rastr = GoToObject(Pages.Item->Rastrs, r.ObjectIndex);
            return rastr && (Describe(r, *rastr), true);
        }
        RGLayer* layer = GoToLayer(Pages, r.PageIndex, r.LayerIndex);
        if (!layer)
            return false;
        switch (r.Kind) {
        case fkText:
            if (const RGText* t = GoToObject(layer->Texts, r.ObjectIndex))
                return Describe(r, *t), true;
            return false;
        case fkPoint:
            if (const RGPoint* p = GoToObject(layer->Points, r.ObjectIndex))
                return Describe(r, *p), true;
            return false;
        case fkLine:
            if (const RGLine* l = GoToObject(layer->Lines, r.ObjectIndex))
                return Describe(r, *l), true;
            return false;
        case fkPolygon:
            if (const RGPolygon* p = GoToObject(layer->Polygons, r.ObjectIndex))
                return Describe(r, *p), true;
            return false;
        default:
            return false;
        }
    };
    // A record of an object that is gone is dropped, never rebuilt from whatever
    // object now stands at its positions' cursors.
    if (!describe()) {
        FoundObjects.GoItem(n);
        FoundObjects.DeleteItem();
    }
}

void TGeoMap::NextColor()
{
    const bool rising = HighlightRising != 0;
    const int step = HighlightStep + (rising ? 1 : -1);
    if (step > 9 || step < 0) {
        // The end of a swing lands exactly on its colour, whatever the rounded steps
        // added up to.
        HighlightColor = rising ? HighlightColor2 : HighlightColor1;
        HighlightRising = rising ? 0 : 1;
        return;
    }
    HighlightStep = step;
    std::int32_t colour = HighlightColor & ~0xFFFFFF;
    for (int c = 0; c < 3; ++c) {
        const int d = Channel(HighlightColor2, c) - Channel(HighlightColor1, c);
        const int s = static_cast<int>(std::nearbyint(d / 10.0));
        // Ten rounded steps can overshoot colour 2 (a difference of 15 gives steps of
        // 2); the channel stops at its range instead of carrying into its neighbour.
        const int v = std::clamp(Channel(HighlightColor, c) + (rising ? s : -s), 0, 255);
        colour |= v << (8 * c);
    }
    HighlightColor = colour;
}
