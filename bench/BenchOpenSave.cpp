// Opening and saving the plan. The open command is measured whole (the old plan
// dropped, the file read, the sign library of the scale loaded, open polygon contours
// closed) and in its parts, so that a slow open shows which part is slow.
#include "BenchEnv.h"
#include "BenchGuard.h"
#include "BenchMap.h"
#include "Benchmarks.h"

#include "platform/CodePage.h"

#include <QFile>

#include <benchmark/benchmark.h>

namespace bench {

namespace {

// mcOpenMap again and again, as undo and redo run it: each open replaces a plan of
// the same size.
void BM_Open(benchmark::State& state)
{
    Guarded(state, [&] {
        const TBenchEnv& env = TBenchEnv::Get();
        const auto map = NewBenchMap();
        const QString params = NativeFileParams(env.PlanFile());
        for (auto _ : state)
            map->DoCommand(mcOpenMap, params);
        state.SetBytesProcessed(state.iterations() * env.PlanBytes());
    });
}

// The open as the main window now runs it: mcOpenMap, then the opened file copied into
// the document's undo folder as snapshot 0, the state the first undo returns to. Beside
// Open/Command it shows what keeping that state costs.
void BM_OpenKeepStart(benchmark::State& state)
{
    Guarded(state, [&] {
        const TBenchEnv& env = TBenchEnv::Get();
        const auto map = NewBenchMap();
        const QString params = NativeFileParams(env.PlanFile());
        const QString snapshot = env.OutFolder() + QStringLiteral("0.") + QString::number(env.Scale());
        for (auto _ : state) {
            map->DoCommand(mcOpenMap, params);
            QFile::remove(snapshot);
            if (!QFile::copy(env.PlanFile(), snapshot)) {
                state.SkipWithError("cannot copy the opened plan as snapshot 0");
                return;
            }
        }
        state.SetBytesProcessed(state.iterations() * env.PlanBytes());
    });
}

// The reader alone, into an empty plan.
void BM_Reader(benchmark::State& state)
{
    Guarded(state, [&] {
        const TBenchEnv& env = TBenchEnv::Get();
        const auto map = NewBenchMap();
        for (auto _ : state) {
            state.PauseTiming();
            map->Pages.DeleteAll();
            state.ResumeTiming();
            map->ReadDataFromFile(env.PlanFile(), true);
        }
        state.SetBytesProcessed(state.iterations() * env.PlanBytes());
    });
}

// Freeing the old plan, which an open (and every undo) does first.
void BM_DropPlan(benchmark::State& state)
{
    Guarded(state, [&] {
        const TBenchEnv& env = TBenchEnv::Get();
        const auto map = NewBenchMap();
        for (auto _ : state) {
            state.PauseTiming();
            map->ReadDataFromFile(env.PlanFile(), true);
            state.ResumeTiming();
            map->Pages.DeleteAll();
        }
    });
}

void BM_ClosingPass(benchmark::State& state)
{
    Guarded(state, [&] {
        const auto map = NewBenchMap();
        OpenPlan(*map, TBenchEnv::Get().PlanFile());
        for (auto _ : state)
            map->CheckPolygonClose();
    });
}

// The sign library of the plan's scale: every sign file of the three kind folders and
// the text styles. It does not depend on the plan.
void BM_SignLibrary(benchmark::State& state)
{
    Guarded(state, [&] {
        const auto map = NewBenchMap();
        map->MapProp.Scale = TBenchEnv::Get().Scale();
        for (auto _ : state)
            map->PassScaleToSymbols();
    });
}

// mcSaveMap over the same file again and again.
void BM_Save(benchmark::State& state)
{
    Guarded(state, [&] {
        const TBenchEnv& env = TBenchEnv::Get();
        const auto map = NewBenchMap();
        OpenPlan(*map, env.PlanFile());
        const QString params = NativeFileParams(env.OutFolder() + QStringLiteral("saved.500"));
        for (auto _ : state)
            map->DoCommand(mcSaveMap, params);
        state.SetBytesProcessed(state.iterations() * env.PlanBytes());
    });
}

// One polygon holding 160,000 inner points, read into an empty plan: reading must be
// one pass however many inner objects one object holds.
void BM_InnerPoints(benchmark::State& state)
{
    Guarded(state, [&] {
        const TBenchEnv& env = TBenchEnv::Get();
        const QString file = env.OutFolder() + QStringLiteral("inner.500");
        QByteArray text = "FREE VELMORANT\r\n";
        const auto line = [&text](const QString& s) { text += EncodeCodePage(s) + "\r\n"; };
        for (const char* s : {"{ЛСТ", "|имя|A", "{СЛО", "|имя|L", "{ПОЛ", "@ПОЛ", "$0 0", "$0 100", "$100 100"})
            line(QString::fromUtf8(s));
        for (int i = 0; i < 160000; ++i) {
            line(QStringLiteral("[ТОЧ"));
            line(QStringLiteral("@ТОЧ"));
            line(QStringLiteral("$%1 %2").arg(i % 400).arg(i / 400));
            line(QStringLiteral("#"));
            line(QStringLiteral("]ТОЧ"));
        }
        for (const char* s : {"#", "}ПОЛ", "}СЛО", "}ЛСТ"})
            line(QString::fromUtf8(s));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size()) {
            state.SkipWithError("cannot write the plan of inner points");
            return;
        }
        out.close();
        const auto map = NewBenchMap();
        for (auto _ : state) {
            state.PauseTiming();
            map->Pages.DeleteAll();
            state.ResumeTiming();
            map->ReadDataFromFile(file, true);
        }
    });
}

} // namespace

void RegisterOpenSaveBenchmarks()
{
    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark(Open, BM_Open)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(OpenRead, BM_Reader)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(OpenDrop, BM_DropPlan)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(OpenClose, BM_ClosingPass)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(OpenSigns, BM_SignLibrary)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(OpenKeepStart, BM_OpenKeepStart)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(Save, BM_Save)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(OpenInner, BM_InnerPoints)->Unit(ms)->UseRealTime();
}

} // namespace bench
