// The floors: reading the plan's bytes into memory, decoding code page 1251 and
// splitting them into lines; writing the same bytes to a file the way a save does
// (a temporary file renamed over the old one). An engine cost is judged by its ratio
// to these, measured in the same run on the same file.
#include "BenchEnv.h"
#include "Benchmarks.h"

#include "platform/CodePage.h"

#include <QSaveFile>
#include <benchmark/benchmark.h>

namespace bench {

namespace {

void BM_FloorRead(benchmark::State& state)
{
    const TBenchEnv& env = TBenchEnv::Get();
    for (auto _ : state) {
        const QByteArray bytes = ReadWholeFile(env.PlanFile());
        const QStringList lines = SplitLines(DecodeCodePage(bytes), true);
        benchmark::DoNotOptimize(lines.size());
    }
    state.SetBytesProcessed(state.iterations() * env.PlanBytes());
}

void BM_FloorWrite(benchmark::State& state)
{
    const TBenchEnv& env = TBenchEnv::Get();
    const QByteArray bytes = ReadWholeFile(env.PlanFile());
    const QString target = env.OutFolder() + QStringLiteral("floor.500");
    for (auto _ : state) {
        QSaveFile file(target);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
            state.SkipWithError("cannot write the floor file");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * env.PlanBytes());
}

} // namespace

void RegisterFloorBenchmarks()
{
    benchmark::RegisterBenchmark(FloorRead, BM_FloorRead)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark(FloorWrite, BM_FloorWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
}

} // namespace bench
