// Drawing the plan on the screen: every visible sign rendered and drawn (after an open,
// undo or a sign change), the everyday redraw that reuses the rendered signs (a pan, an
// edit), and the outline drawing of a plan seen far smaller than its scale.
#include "BenchEnv.h"
#include "BenchGuard.h"
#include "BenchMap.h"
#include "Benchmarks.h"

#include <benchmark/benchmark.h>

namespace bench {

namespace {

constexpr int W = 1200, H = 800;

// The plan opened and seen whole, then at twice its scale about its centre, where its
// signs show.
std::unique_ptr<TGeoMap> SeenPlan(bool symbols)
{
    auto map = NewBenchMap();
    OpenPlan(*map, TBenchEnv::Get().PlanFile());
    map->ShowSymbols = symbols ? 1 : 0;
    map->ShowRastrs = 1;
    map->Draw(W, H, 0, ddScreen);
    if (symbols) {
        map->DisplayScale = 2 * map->MapProp.Scale;
        map->CentreTarget = GeoPoint((map->ViewXMin + map->ViewXMax) / 2, (map->ViewYMin + map->ViewYMax) / 2);
        map->Draw(W, H, 8, ddScreen);
    }
    return map;
}

void Drawing(benchmark::State& state, bool symbols, TDrawMode mode)
{
    Guarded(state, [&] {
        const auto map = SeenPlan(symbols);
        for (auto _ : state)
            map->Draw(W, H, mode, ddScreen);
        state.counters["drawn"] = map->DrawnCount;
    });
}

void BM_RenderAll(benchmark::State& state) { Drawing(state, true, 2); }
void BM_Refresh(benchmark::State& state) { Drawing(state, true, 3); }
void BM_Outline(benchmark::State& state) { Drawing(state, false, 3); }

} // namespace

void RegisterDrawBenchmarks()
{
    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark(DrawRenderAll, BM_RenderAll)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(DrawRefresh, BM_Refresh)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(DrawOutline, BM_Outline)->Unit(ms)->UseRealTime();
}

} // namespace bench
