// Drawing the plan on a 1920 x 1080 screen (a picture of 5760 x 3240): the whole plan
// in view (modes 0 and 1), then at 1:2000 over a dense part of it: every sign rendered
// anew (2), the signs reused (3, also without signs and with the snapping nodes
// collected), the view refitted (4), zoomed to 1:1000 and 1:500 (5) and one object
// drawn after a change (7). Beside them the floor of clearing the picture, and one
// click's hit test at a dense spot and an empty one beside a pass over every node.
#include "BenchEnv.h"
#include "BenchGuard.h"
#include "BenchMap.h"
#include "Benchmarks.h"

#include "semantics/codec/SemServices.h"

#include <benchmark/benchmark.h>

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

struct RDrawCase {
    const char* Name;
    bool Dense;
    TDrawMode Mode;
    int Scale = 0;        // mode 5: the display scale zoomed to
    int Symbols = 1;      // ShowSymbols during the measured redraws
    int Link = 0;         // LinkToNodes during the measured redraws
};

void Drawing(benchmark::State& state, const RDrawCase& c)
{
    Guarded(state, [&] {
        const auto map = SeenPlan(c.Dense);
        map->ShowSymbols = std::uint8_t(c.Symbols);
        map->LinkToNodes = std::uint8_t(c.Link);
        if (c.Mode == 7) {
            // The last line of the dense spot's layer, as after its edit.
            map->EditedPage = 0;
            map->EditedLayer = 0;
            map->EditedKind = 1;
            map->EditedObject = -1;
        }
        // Mode 5: the first iteration zooms from 1:2000 to the scale, later ones redraw
        // at it (going back to 1:2000 between them renders every sign anew, which takes
        // longer than the zoom measured); --benchmark_min_time=0 runs that first one alone.
        if (c.Mode == 5)
            map->DisplayScale = c.Scale;
        for (auto _ : state)
            map->Draw(W, H, c.Mode, ddScreen);
        state.counters["drawn"] = map->DrawnCount;
        state.counters["skipped"] = map->SkippedCount;
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

// FindObjects, kind 0, every visible sheet: at the dense spot, or 10 km beside the plan.
void BM_Hit(benchmark::State& state, bool dense)
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
        for (auto _ : state)
            map.FindObjects(at.X, at.Y, rect);
        state.counters["hits"] = map.FoundObjects.GetCount();
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
        {DrawOutline, true, 3, 0, 0},
        {DrawLinkNodes, true, 3, 0, 1, 1},
    };
    benchmark::RegisterBenchmark(FloorClear, BM_ClearPicture)->Unit(ms)->UseRealTime();
    for (const RDrawCase& c : cases)
        benchmark::RegisterBenchmark(c.Name, [&c](benchmark::State& s) { Drawing(s, c); })
            ->Unit(ms)
            ->UseRealTime();
    benchmark::RegisterBenchmark(FloorNodePass, BM_NodePass)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(HitDense, [](benchmark::State& s) { BM_Hit(s, true); })->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(HitEmpty, [](benchmark::State& s) { BM_Hit(s, false); })->Unit(ms)->UseRealTime();
}

} // namespace bench
