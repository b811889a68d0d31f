// The routines every coordinate line of a plan passes through: a pair written by the
// writer (XYtoString2, one blank between two numbers of fixed notation) and read by
// the reader (StringToXY). Multiplied by the plan's coordinate lines they give the
// share of a save and of an open that goes to numbers alone, and they show at once
// whether a change to the number routines helps the two.
#include "BenchEnv.h"
#include "BenchGuard.h"
#include "Benchmarks.h"

#include "foundation/StringNum.h"

#include <QStringList>
#include <benchmark/benchmark.h>
#include <vector>

namespace bench {

namespace {

constexpr int SampleSize = 10000;

// Coordinates of the kind a plan holds: a local system, metres with millimetres.
std::vector<std::pair<Extended, Extended>> SamplePairs()
{
    std::vector<std::pair<Extended, Extended>> pairs;
    pairs.reserve(SampleSize);
    std::uint64_t r = 12345;
    for (int i = 0; i < SampleSize; ++i) {
        r = r * 6364136223846793005ull + 1442695040888963407ull;
        const Extended x = 410000 + static_cast<Extended>((r >> 20) % 5000000) / 1000;
        const Extended y = 1320000 + static_cast<Extended>((r >> 40) % 5000000) / 1000;
        pairs.emplace_back(x, y);
    }
    return pairs;
}

void BM_FormatPair(benchmark::State& state)
{
    Guarded(state, [&] {
        const auto pairs = SamplePairs();
        std::size_t i = 0;
        for (auto _ : state) {
            const auto& [x, y] = pairs[i];
            benchmark::DoNotOptimize(XYtoString2(x, y));
            i = i + 1 == pairs.size() ? 0 : i + 1;
        }
        state.SetItemsProcessed(state.iterations());
    });
}

void BM_ParsePair(benchmark::State& state)
{
    Guarded(state, [&] {
        QStringList texts;
        for (const auto& [x, y] : SamplePairs())
            texts.append(XYtoString2(x, y));
        std::size_t i = 0;
        Extended x = 0;
        Extended y = 0;
        for (auto _ : state) {
            benchmark::DoNotOptimize(StringToXY(texts[i], x, y));
            i = i + 1 == std::size_t(texts.size()) ? 0 : i + 1;
        }
        state.SetItemsProcessed(state.iterations());
    });
}

} // namespace

void RegisterPartBenchmarks()
{
    benchmark::RegisterBenchmark(FormatPair, BM_FormatPair)->Unit(benchmark::kNanosecond)->UseRealTime();
    benchmark::RegisterBenchmark(ParsePair, BM_ParsePair)->Unit(benchmark::kNanosecond)->UseRealTime();
}

} // namespace bench
