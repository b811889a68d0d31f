// The routines every coordinate line of a plan passes through: a pair written by the
// writer (XYtoString2, one blank between two numbers of fixed notation) and read by
// the reader (StringToXY). Multiplied by the plan's coordinate lines they give the
// share of a save and of an open that goes to numbers alone, and they show at once
// whether a change to the number routines helps the two. Beside them, the choice of an
// object's sign, found and not found: a miss must cost what a hit costs.
#include "BenchEnv.h"
#include "BenchGuard.h"
#include "Benchmarks.h"

#include "foundation/StringNum.h"
#include "semantics/signs/Symbols.h"

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

// A library of 2,000 point signs over 400 object codes, five signs a code, with the
// fall-back last; every object of a plan looks its sign up at every open, undo and redo.
void FillSigns(TSymbols& symbols)
{
    for (int code = 0; code < 400; ++code)
        for (int sign = 1; sign <= 5; ++sign) {
            symbols.VpGPoints.AddItem();
            symbols.VpGPoints.Item->Code = QStringLiteral("З%1-Ф%2").arg(code, 2, 36, QLatin1Char('0')).arg(sign, 3, 10, QLatin1Char('0'));
        }
    symbols.VpGPoints.AddItem();
    symbols.VpGPoints.Item->Code = QStringLiteral("неопределенный");
}

// Objects of 200 codes, each looked up once an iteration: found (the last of their
// code's signs, so that both check the same five) or not (a property no sign has).
void SelectSigns(benchmark::State& state, const QString& property)
{
    Guarded(state, [&] {
        TSymbols symbols;
        FillSigns(symbols);
        QStringList objects;
        for (int code = 0; code < 400; code += 2)
            objects << QStringLiteral("З%1/").arg(code, 2, 36, QLatin1Char('0')) + property;
        for (auto _ : state)
            for (const QString& object : objects)
                benchmark::DoNotOptimize(symbols.SelectSymbol(object, lmPoint));
        state.SetItemsProcessed(state.iterations() * objects.size());
    });
}

void BM_SelectSymbolHit(benchmark::State& state) { SelectSigns(state, QStringLiteral("Ф005;ИВ12")); }
void BM_SelectSymbolMiss(benchmark::State& state) { SelectSigns(state, QStringLiteral("Ф009;ИВ12")); }

} // namespace

void RegisterPartBenchmarks()
{
    benchmark::RegisterBenchmark(FormatPair, BM_FormatPair)->Unit(benchmark::kNanosecond)->UseRealTime();
    benchmark::RegisterBenchmark(ParsePair, BM_ParsePair)->Unit(benchmark::kNanosecond)->UseRealTime();
    benchmark::RegisterBenchmark(SignHit, BM_SelectSymbolHit)->Unit(benchmark::kMicrosecond)->UseRealTime();
    benchmark::RegisterBenchmark(SignMiss, BM_SelectSymbolMiss)->Unit(benchmark::kMicrosecond)->UseRealTime();
}

} // namespace bench
