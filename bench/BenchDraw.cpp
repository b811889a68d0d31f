// Drawing the plan on a 1920 x 1080 screen (a picture of 5760 x 3240): the whole plan
// in view (modes 0 and 1), then at 1:2000 over a dense part of it: every sign rendered
// anew (2), the signs reused (3, also without signs and with the snapping nodes
// collected), the view refitted (4), zoomed to 1:1000 and 1:500 (5) and one object
// drawn after a change (7: a line, a point, an area). Beside them the floor of clearing
// the picture, and one click's hit test at a dense spot (also right after an edit) and
// an empty one beside a pass over every node.
#include "BenchEnv.h"
#include "BenchGuard.h"
#include "BenchMap.h"
#include "Benchmarks.h"

#include "engine/EngineServices.h"
#include "engine/commands/MapCommand.h"
#include "engine/draw/MapPainter.h"
#include "engine/draw/GlyphCache.h"
#include "engine/draw/TileDrawer.h"
#include "semantics/codec/SemServices.h"
#include "semantics/signs/Symbols.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPainterPath>
#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace bench {

namespace {

constexpr int W = 1920, H = 1080;
constexpr int DenseScale = 2000;

// A point of a dense part of the plan: the middle point of the first layer of the
// first sheet (the generator spreads each layer's objects over its sheet).
TGeoPoint DenseSpot(const TGeoMap& map)
{
    const TGPoints& points = map.Pages.At(0)->Layers.At(0)->Points;
    return points.GetCount() > 0 ? points.At(points.GetCount() / 2)->Position : GeoPoint(410500, 1320500);
}

// The plan opened and seen whole, then (dense) at 1:2000 about the dense spot.
std::unique_ptr<TGeoMap> SeenPlan(bool dense)
{
    auto map = NewBenchMap();
    OpenPlan(*map, TBenchEnv::Get().PlanFile());
    map->ShowSymbols = 1;
    map->ShowRastrs = 1;
    map->Draw(W, H, 0, ddScreen);
    if (dense) {
        map->DisplayScale = DenseScale;
        map->CentreTarget = DenseSpot(*map);
        map->Draw(W, H, 8, ddScreen);
    }
    return map;
}

// Every call the plan's painter makes to Qt, kept small (a picture at 1:2000 holds
// millions of strokes), and drawn again with bare QPainter calls: the drawing floor.
class TPrimitives : public TPaintObserver {
public:
    void Line(const QPainter& p, const QPoint& a, const QPoint& b) override
    {
        Add(p, kLine, Points.size(), 2, false);
        Points.push_back(a);
        Points.push_back(b);
    }
    void Polyline(const QPainter& p, const QPolygon& points) override { Poly(p, kPolyline, points); }
    void Polygon(const QPainter& p, const QPolygon& points) override { Poly(p, kPolygon, points); }
    void Path(const QPainter& p, const QPainterPath& path) override
    {
        Add(p, kPath, Paths.size(), 1, false);
        Paths.push_back(path);
    }
    void Ellipse(const QPainter& p, const QRect& box) override
    {
        Add(p, kEllipse, Rects.size(), 1, false);
        Rects.push_back(box);
    }
    void Fill(const QPainter& p, const QRect& r, const QColor& color) override
    {
        Add(p, kFill, Rects.size(), Colors.size(), false);
        Rects.push_back(r);
        Colors.push_back(color);
    }
    void Text(const QPainter& p, const QPointF& at, const QString& text) override
    {
        Add(p, kText, Texts.size(), 1, true);
        Texts.push_back({at, text});
    }
    void Image(const QPainter& p, const QRectF& target, const QImage& image, const QRectF& source) override
    {
        Add(p, kImage, Images.size(), 1, false);
        Images.push_back({target, image, source});
    }

    std::size_t Count() const { return Records.size(); }

    void Replay(QPainter& p) const
    {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        std::uint32_t current = ~0u;
        for (const TRecord& r : Records) {
            if (r.State != current) {
                const TState& s = States[r.State];
                p.setCompositionMode(s.Mode);
                p.setPen(s.Pen);
                p.setBrush(s.Brush);
                if (s.ForText) {
                    p.setFont(s.Font);
                    p.setTransform(s.Transform);
                } else {
                    p.resetTransform();
                }
                current = r.State;
            }
            switch (r.Kind) {
            case kLine: p.drawLine(Points[r.First], Points[r.First + 1]); break;
            case kPolyline: p.drawPolyline(&Points[r.First], int(r.Count)); break;
            case kPolygon: p.drawPolygon(&Points[r.First], int(r.Count), Qt::OddEvenFill); break;
            case kPath: p.drawPath(Paths[r.First]); break;
            case kEllipse: p.drawEllipse(Rects[r.First]); break;
            case kFill: p.fillRect(Rects[r.First], Colors[r.Count]); break;
            case kText: p.drawText(Texts[r.First].first, Texts[r.First].second); break;
            case kImage: p.drawImage(Images[r.First].Target, Images[r.First].Picture, Images[r.First].Source); break;
            }
        }
    }

private:
    enum : std::uint8_t { kLine, kPolyline, kPolygon, kPath, kEllipse, kFill, kText, kImage };
    struct TRecord {
        std::uint8_t Kind;
        std::uint32_t State, First, Count;
    };
    struct TState {
        QPen Pen;
        QBrush Brush;
        QPainter::CompositionMode Mode;
        bool ForText;
        QFont Font;
        QTransform Transform;
    };
    struct TImage {
        QRectF Target;
        QImage Picture;
        QRectF Source;
    };

    void Poly(const QPainter& p, std::uint8_t kind, const QPolygon& points)
    {
        Add(p, kind, Points.size(), std::size_t(points.size()), false);
        Points.insert(Points.end(), points.begin(), points.end());
    }
    void Add(const QPainter& p, std::uint8_t kind, std::size_t first, std::size_t count, bool text)
    {
        const bool same = !States.empty() && States.back().ForText == text && States.back().Mode == p.compositionMode() &&
                          States.back().Pen == p.pen() && States.back().Brush == p.brush() &&
                          (!text || (States.back().Font == p.font() && States.back().Transform == p.transform()));
        if (!same)
            States.push_back({p.pen(), p.brush(), p.compositionMode(), text, text ? p.font() : QFont(),
                              text ? p.transform() : QTransform()});
        Records.push_back({kind, std::uint32_t(States.size() - 1), std::uint32_t(first), std::uint32_t(count)});
    }

    std::vector<TRecord> Records;
    std::vector<TState> States;
    std::vector<QPoint> Points;
    std::vector<QPainterPath> Paths;
    std::vector<QRect> Rects;
    std::vector<QColor> Colors;
    std::vector<std::pair<QPointF, QString>> Texts;
    std::vector<TImage> Images;
};

// The process's resident and peak resident bytes (VmRSS, VmHWM).
std::pair<double, double> Resident()
{
    QFile status(QStringLiteral("/proc/self/status"));
    double rss = 0, hwm = 0;
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n')) {
            const QList<QByteArray> f = line.simplified().split(' ');
            if (f.size() >= 2 && f[0] == "VmRSS:")
                rss = f[1].toDouble() * 1024;
            if (f.size() >= 2 && f[0] == "VmHWM:")
                hwm = f[1].toDouble() * 1024;
        }
    return {rss, hwm};
}

// Resets the peak resident figure to what is resident now (false when the kernel will not).
bool ResetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

struct RDrawCase {
    const char* Name;
    bool Dense;
    TDrawMode Mode;
    int Scale = 0;        // mode 5: the display scale zoomed to
    int Symbols = 1;      // ShowSymbols during the measured redraws
    int Link = 0;         // LinkToNodes during the measured redraws
    std::uint8_t Edited = 1;   // mode 7: the kind of the object redrawn (0 point, 1 line, 2 area)
};

// Each case twice: under its own name the plain drawing on one thread, as measured
// before the tiles; "…/Tiled" the drawing recorded and painted in tiles on the workers.
void Drawing(benchmark::State& state, const RDrawCase& c, TDrawPath path)
{
    struct TPathScope {
        ~TPathScope() { SetDrawPath(TDrawPath::Tiled); }
    } restore;
    Guarded(state, [&] {
        SetDrawPath(path);
        const auto map = SeenPlan(c.Dense);
        map->ShowSymbols = std::uint8_t(c.Symbols);
        map->LinkToNodes = std::uint8_t(c.Link);
        if (c.Mode == 7) {
            // The last object of its kind in the dense spot's layer, as after its edit.
            map->EditedPage = 0;
            map->EditedLayer = 0;
            map->EditedKind = c.Edited;
            map->EditedObject = -1;
        }
        // Mode 5: the first iteration zooms from 1:2000 to the scale, later ones redraw
        // at it (going back to 1:2000 between them renders every sign anew, which takes
        // longer than the zoom measured); --benchmark_min_time=0 runs that first one alone.
        if (c.Mode == 5)
            map->DisplayScale = c.Scale;
        TPanelTimings panel;
        map->Services = &panel;
        for (auto _ : state)
            map->Draw(W, H, c.Mode, ddScreen);
        if (path == TDrawPath::Tiled) {
            state.counters["workers"] = TTileDrawer::Shared().Workers();
            // What the captions' glyphs and shaped texts keep after the drawings.
            state.counters["glyph_cache_mb"] = TGlyphCache::Shared().Bytes() / 1e6;
            state.counters["glyphs"] = double(TGlyphCache::Shared().Glyphs());
        }
        state.counters["drawn"] = map->DrawnCount;
        state.counters["skipped"] = map->SkippedCount;
        // The parts of the last drawing, as its status panel shows them.
        static const char* const parts[5] = {"render_ms", "draw_ms", "grid_ms", "frames_rasters_ms", "copy_ms"};
        for (int i = 0; i < 5 && !panel.Drawings.empty(); ++i)
            state.counters[parts[i]] = panel.Drawings.back()[std::size_t(i)] * 1000;
        // One drawing more, as the last one (mode 5 redraws at the scale reached): the
        // peak memory above what was resident, then its primitives collected and drawn
        // again with bare QPainter calls onto a picture of the same size.
        const TDrawMode again = c.Mode == 5 ? TDrawMode(3) : c.Mode;
        const auto before = Resident();
        if (ResetPeak()) {
            map->Draw(W, H, again, ddScreen);
            state.counters["peak_extra_mb"] = (Resident().second - before.first) / 1e6;
        }
        TPrimitives primitives;
        map->Painter->Observer = &primitives;
        map->Draw(W, H, again, ddScreen);
        map->Painter->Observer = nullptr;
        map->Services = nullptr;
        QImage picture(map->Bitmap.size(), QImage::Format_RGB32);
        double best = 0;
        for (int i = 0; i < 3; ++i) {
            picture.fill(QColor(240, 240, 240));
            QElapsedTimer clock;
            clock.start();
            QPainter p(&picture);
            primitives.Replay(p);
            p.end();
            const double ms = clock.nsecsElapsed() / 1e6;
            best = i == 0 ? ms : std::min(best, ms);
        }
        state.counters["floor_ms"] = best;
        state.counters["primitives"] = double(primitives.Count());
    });
}

// A pan past the picture's edge at 1:2000 about the dense spot: the window moved by 2000
// whole pixels (past the 1920 the picture holds beyond it), east then west (so the view
// stays on the dense spot), each drawn as the main window draws a pan: the picture
// shifted and only the exposed strip (and the objects across its edges) drawn, or,
// shifted off, the whole picture (tiled).
void BM_PanPastEdge(benchmark::State& state, bool shifted)
{
    Guarded(state, [&] {
        const auto map = SeenPlan(true);
        TPanelTimings panel;
        map->Services = &panel;
        map->ShiftRedrawOn = shifted ? 1 : 0;
        int step = 2000, shifts = 0, pans = 0;
        for (auto _ : state) {
            auto view = std::make_unique<RMapView>(*map->MapViews.Item);
            const Extended metres = step / (map->FactorY * 100);
            view->ViewYMin += metres;
            view->ViewYMax += metres;
            map->MapViews.AddItem(std::move(view));
            map->DrawPan(W, H);
            shifts += map->Shifted ? 1 : 0;
            ++pans;
            step = -step;
        }
        map->Services = nullptr;
        map->ShiftRedrawOn = 1;
        // The parts of the last pan, as its status panel shows them.
        if (!panel.Drawings.empty()) {
            state.counters["render_ms"] = panel.Drawings.back()[0] * 1000;
            state.counters["draw_ms"] = panel.Drawings.back()[1] * 1000;
        }
        state.counters["shifted_share"] = pans > 0 ? double(shifts) / pans : 0;
        double area = 0;
        for (const QRect& r : map->ShiftedAreas)
            area += double(r.width()) * r.height();
        state.counters["redrawn_share"] = area / (double(map->Bitmap.width()) * map->Bitmap.height());
    });
}

// The floor of every redraw: the picture cleared, nothing drawn.
void BM_ClearPicture(benchmark::State& state)
{
    QImage picture(3 * W, 3 * H, QImage::Format_RGB32);
    picture.fill(Qt::white);   // its pages in memory, as a redraw finds them
    for (auto _ : state) {
        picture.fill(QColor(240, 240, 240));
        benchmark::DoNotOptimize(picture.constBits());
    }
}

// A shared opened plan for the hit tests.
TGeoMap& QueryPlan()
{
    static std::unique_ptr<TGeoMap> map;
    if (!map) {
        map = NewBenchMap();
        OpenPlan(*map, TBenchEnv::Get().PlanFile());
    }
    return *map;
}

TGeoRect PickRect(const TGeoPoint& at, Extended r)
{
    return {GeoPoint(at.X + r, at.Y - r), GeoPoint(at.X + r, at.Y + r), GeoPoint(at.X - r, at.Y + r),
            GeoPoint(at.X - r, at.Y - r)};
}

// FindObjects, kind 0, every visible sheet: at the dense spot, or 10 km beside the plan;
// every object tested (the plain search), or the candidates the extents' grid gives
// (the grid built before the clock starts, as the drawing builds it).
void BM_Hit(benchmark::State& state, bool dense, bool grid = false)
{
    Guarded(state, [&] {
        TGeoMap& map = QueryPlan();
        // The labels of the hits are decoded as the window shows them.
        TSemServices semantics;
        semantics.Open();
        TGeoPoint at = DenseSpot(map);
        if (!dense)
            at = GeoPoint(at.X + 10000, at.Y + 10000);
        const TGeoRect rect = PickRect(at, 0.5L);
        map.SelectPagesMode = 0;
        map.SelectLayersMode = 0;
        map.SelectObjectKind = 0;
        map.FindByExtents = grid ? 1 : 0;
        if (grid)
            map.CurrentExtents();
        for (auto _ : state)
            map.FindObjects(at.X, at.Y, rect);
        state.counters["hits"] = map.FoundObjects.GetCount();
        map.FindByExtents = 1;
    });
}

// The hit test at the dense spot right after an edit, as the window clicks after one: a
// point added beside the spot (undo off) and redrawn in mode 7, then the click, then the
// point deleted and redrawn away, so that every click finds the same plan. The clock
// runs over the click alone; the redraws' own time (the grid brought up to the new
// point and past the deleted one with them) stands beside it.
void BM_HitAfterEdit(benchmark::State& state)
{
    Guarded(state, [&] {
        const auto map = SeenPlan(true);
        TSemServices semantics;
        semantics.Open();
        TPanelTimings panel;
        map->Services = &panel;
        map->UndoOn = 0;
        const TGeoPoint at = DenseSpot(*map);
        const TGeoRect rect = PickRect(at, 0.5L);
        map->SelectPagesMode = 0;
        map->SelectLayersMode = 0;
        map->SelectObjectKind = 0;
        map->FindByExtents = 1;
        const QString userTexts = TCommandValues().Fixed(1.5L, 1).Fixed(-0.5L, 1).Int(0).Fixed(1).Int(0).Group();
        const QString params = TCommandParams()
                                   .Int(0)
                                   .Int(0)
                                   .Text(QStringLiteral("ОТА/ИВ125.50"))
                                   .Fixed(at.X + 0.3L)
                                   .Fixed(at.Y + 0.3L)
                                   .Int(2)
                                   .Fixed(0)
                                   .Field(userTexts)
                                   .Int(0)
                                   .Int(0);
        double redraw = 0;
        int edits = 0;
        for (auto _ : state) {
            state.PauseTiming();
            map->DoCommand(mcNewPoint, params);
            map->EditedPage = 0;
            map->EditedLayer = 0;
            map->EditedKind = 0;
            map->EditedObject = -1;
            QElapsedTimer clock;
            clock.start();
            map->Draw(W, H, 7, ddScreen);
            redraw += clock.nsecsElapsed() / 1e6;
            ++edits;
            state.ResumeTiming();
            map->FindObjects(at.X, at.Y, rect);
            state.PauseTiming();
            const int last = map->Pages.At(0)->Layers.At(0)->Points.GetCount() - 1;
            map->NoteGoingObject(0, 0, ekPoint, last);
            map->DoCommand(mcDelPoint, TCommandParams().Int(0).Int(0).Int(last));
            map->EditedKind = 255;
            clock.restart();
            map->Draw(W, H, 7, ddScreen);
            redraw += clock.nsecsElapsed() / 1e6;
            ++edits;
            state.ResumeTiming();
        }
        state.counters["mode7_ms"] = edits > 0 ? redraw / edits : 0;
        state.counters["hits"] = map->FoundObjects.GetCount();
        map->Services = nullptr;
    });
}

// The extents' grid built over the whole plan (what a click after a command, or the end
// of a screen drawing, pays), with its memory beside the plan file's size.
void BM_ExtentsBuild(benchmark::State& state)
{
    Guarded(state, [&] {
        TGeoMap& map = QueryPlan();
        TObjectExtents grid;
        const RExtentKey key = map.ExtentKeyNow();
        for (auto _ : state)
            grid.Build(map.Pages, key);
        const double bytes = double(grid.MemoryBytes());
        state.counters["objects"] = double(grid.Count());
        state.counters["MB"] = bytes / (1024.0 * 1024.0);
        state.counters["perFile"] = bytes / double(QFileInfo(TBenchEnv::Get().PlanFile()).size());
    });
}

// The hit test's floor: every position of every visible sheet (texts, points, line and
// polygon nodes, holes, inner objects) read once and tested against the pick rectangle.
template <class List>
void Positions(const List& list, const TGeoPoint& lo, const TGeoPoint& hi, Int64& in, Int64& all)
{
    for (int i = 0, n = list.GetCount(); i < n; ++i) {
        const TGeoPoint& p = list.At(i)->Position;
        in += p.X >= lo.X && p.X <= hi.X && p.Y >= lo.Y && p.Y <= hi.Y;
        ++all;
    }
}

void NodePass(const TGeoMap& map, const TGeoPoint& lo, const TGeoPoint& hi, Int64& in, Int64& all)
{
    for (int p = 0; p < map.Pages.GetCount(); ++p) {
        const RGPage* page = map.Pages.At(p);
        if (!page->Visible)
            continue;
        for (int l = 0; l < page->Layers.GetCount(); ++l) {
            const RGLayer* layer = page->Layers.At(l);
            if (!layer->Visible)
                continue;
            Positions(layer->Texts, lo, hi, in, all);
            Positions(layer->Points, lo, hi, in, all);
            for (int i = 0; i < layer->Lines.GetCount(); ++i)
                Positions(layer->Lines.At(i)->Nodes, lo, hi, in, all);
            for (int i = 0; i < layer->Polygons.GetCount(); ++i) {
                const RGPolygon* polygon = layer->Polygons.At(i);
                Positions(polygon->Nodes, lo, hi, in, all);
                for (int h = 0; h < polygon->Holes.GetCount(); ++h)
                    Positions(polygon->Holes.At(h)->Nodes, lo, hi, in, all);
                Positions(polygon->InnerPoints, lo, hi, in, all);
                for (int k = 0; k < polygon->InnerLines.GetCount(); ++k)
                    Positions(polygon->InnerLines.At(k)->Nodes, lo, hi, in, all);
            }
        }
    }
}

void BM_NodePass(benchmark::State& state)
{
    Guarded(state, [&] {
        const TGeoMap& map = QueryPlan();
        const TGeoPoint at = DenseSpot(map);
        const TGeoPoint lo = GeoPoint(at.X - 0.5L, at.Y - 0.5L), hi = GeoPoint(at.X + 0.5L, at.Y + 0.5L);
        Int64 in = 0, all = 0;
        for (auto _ : state) {
            in = all = 0;
            NodePass(map, lo, hi, in, all);
            benchmark::DoNotOptimize(in);
        }
        state.counters["positions"] = double(all);
        state.counters["inside"] = double(in);
    });
}

// Mode 2's rendering step alone: every sign the view at 1:2000 rendered (those holding a
// sign name after the view was drawn), rendered anew, nothing painted. Counters: the
// objects and the primitives of their pictures.
void BM_RenderSigns(benchmark::State& state)
{
    Guarded(state, [&] {
        const auto map = SeenPlan(true);
        TSymbols& symbols = *map->Symbols;
        std::vector<RGPoint*> points;
        std::vector<RGLine*> lines;
        std::vector<RGPolygon*> polygons;
        for (const auto& page : map->Pages)
            for (const auto& layer : page->Layers) {
                for (const auto& o : layer->Points)
                    if (!o->SignName.isEmpty())
                        points.push_back(o.get());
                for (const auto& o : layer->Lines)
                    if (!o->SignName.isEmpty())
                        lines.push_back(o.get());
                for (const auto& o : layer->Polygons)
                    if (!o->SignName.isEmpty())
                        polygons.push_back(o.get());
            }
        for (auto _ : state) {
            for (RGPoint* o : points)
                symbols.RenderPoint(o);
            for (RGLine* o : lines)
                symbols.RenderLine(o);
            for (RGPolygon* o : polygons)
                symbols.RenderPolygon(o);
        }
        double primitives = 0;
        const auto count = [&](const TVpLayers& pic) {
            for (const auto& e : pic)
                primitives += e->Polygons.GetCount() + e->Circles.GetCount() + e->Lines.GetCount() +
                              e->Polylines.GetCount() + e->Texts.GetCount();
        };
        for (RGPoint* o : points)
            count(o->Picture);
        for (RGLine* o : lines)
            count(o->Picture);
        for (RGPolygon* o : polygons)
            count(o->Picture);
        state.counters["objects"] = double(points.size() + lines.size() + polygons.size());
        state.counters["primitives"] = primitives;
    });
}

} // namespace

void RegisterDrawBenchmarks()
{
    const auto ms = benchmark::kMillisecond;
    static const RDrawCase cases[] = {
        {DrawMode0, false, 0},
        {DrawMode1, false, 1},
        {DrawRenderAll, true, 2},
        {DrawRefresh, true, 3},
        {DrawMode4, true, 4},
        {DrawZoom1000, true, 5, 1000},
        {DrawZoom500, true, 5, 500},
        {DrawMode7, true, 7},
        {"Draw/Mode7Point", true, 7, 0, 1, 0, 0},
        {"Draw/Mode7Area", true, 7, 0, 1, 0, 2},
        {DrawOutline, true, 3, 0, 0},
        {DrawLinkNodes, true, 3, 0, 1, 1},
    };
    benchmark::RegisterBenchmark(FloorClear, BM_ClearPicture)->Unit(ms)->UseRealTime();
    for (const RDrawCase& c : cases) {
        benchmark::RegisterBenchmark(c.Name, [&c](benchmark::State& s) { Drawing(s, c, TDrawPath::Plain); })
            ->Unit(ms)
            ->UseRealTime();
        benchmark::RegisterBenchmark((std::string(c.Name) + "/Tiled").c_str(),
                                     [&c](benchmark::State& s) { Drawing(s, c, TDrawPath::Tiled); })
            ->Unit(ms)
            ->UseRealTime();
    }
    // A pan past the picture's edge drawn whole (tiled), and shifted with its strips drawn.
    benchmark::RegisterBenchmark("Draw/PanPastEdge", [](benchmark::State& s) { BM_PanPastEdge(s, false); })
        ->Unit(ms)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Draw/PanPastEdge/Shifted", [](benchmark::State& s) { BM_PanPastEdge(s, true); })
        ->Unit(ms)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Draw/RenderSigns", BM_RenderSigns)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(FloorNodePass, BM_NodePass)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(HitDense, [](benchmark::State& s) { BM_Hit(s, true); })->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(HitEmpty, [](benchmark::State& s) { BM_Hit(s, false); })->Unit(ms)->UseRealTime();
    // The hit test through the extents' grid, beside the plain one.
    benchmark::RegisterBenchmark("Query/HitDenseGrid", [](benchmark::State& s) { BM_Hit(s, true, true); })
        ->Unit(ms)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Query/HitEmptyGrid", [](benchmark::State& s) { BM_Hit(s, false, true); })
        ->Unit(ms)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Query/HitDenseAfterEdit", BM_HitAfterEdit)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("Query/ExtentsBuild", BM_ExtentsBuild)->Unit(ms)->UseRealTime();
}

} // namespace bench
