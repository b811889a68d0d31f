// Peak memory of the opened plan. A process's high-water mark only ever rises, so it is
// read in a process of its own: this program started again with --memory-probe, which
// loads an empty plan with its sign library (the baseline), opens the plan, then opens
// it once more as undo and redo do, reading VmRSS and VmHWM of /proc/self/status after
// each step.
#include "BenchEnv.h"
#include "BenchGuard.h"
#include "BenchMap.h"
#include "Benchmarks.h"

#include "foundation/AppGlobalVar.h"
#include "foundation/DelphiFormat.h"
#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTextStream>
#include <benchmark/benchmark.h>
#include <map>

namespace bench {

namespace {

// A field of /proc/self/status in bytes ("VmHWM:   123456 kB"); 0 when missing.
Int64 StatusBytes(const QByteArray& status, const char* field)
{
    for (const QByteArray& line : status.split('\n')) {
        if (!line.startsWith(field))
            continue;
        const QString value = QString::fromLatin1(line.mid(qstrlen(field))).simplified();
        const QString number = value.section(u' ', 0, 0);
        return Int64(StrToInt(number)) * 1024;
    }
    return 0;
}

struct RMemory {
    Int64 Rss = 0;
    Int64 Peak = 0;
};

RMemory ReadMemory()
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Не удается прочитать /proc/self/status"));
    const QByteArray status = file.readAll();
    return {StatusBytes(status, "VmRSS:"), StatusBytes(status, "VmHWM:")};
}

// "key=value" pairs of the probe's output line.
std::map<QString, Int64> ParseProbe(const QString& line)
{
    std::map<QString, Int64> values;
    for (const QString& pair : line.simplified().split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype eq = pair.indexOf(u'=');
        if (eq > 0)
            values[pair.left(eq)] = pair.mid(eq + 1).toLongLong();
    }
    return values;
}

void BM_PeakMemory(benchmark::State& state)
{
    Guarded(state, [&] {
        const TBenchEnv& env = TBenchEnv::Get();
        std::map<QString, Int64> probe;
        for (auto _ : state) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--memory-probe=") + env.PlanFile(),
                         QStringLiteral("--program=") + env.ProgramFolder()});
            if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit ||
                child.exitCode() != 0)
                throw Exception(QStringLiteral("Замер памяти не удался: ") +
                                QString::fromLocal8Bit(child.readAllStandardError()));
            probe = ParseProbe(QString::fromLatin1(child.readAllStandardOutput()));
        }
        const double file = static_cast<double>(env.PlanBytes());
        const double base = static_cast<double>(probe["base_rss"]);
        state.counters["file_bytes"] = file;
        state.counters["base_rss"] = base;
        state.counters["peak_bytes"] = static_cast<double>(probe["open_hwm"]);
        state.counters["plan_peak_bytes"] = probe["open_hwm"] - base;
        state.counters["plan_rss_bytes"] = probe["open_rss"] - base;
        state.counters["peak_per_file_byte"] = (probe["open_hwm"] - base) / file;
        state.counters["reopen_peak_per_file_byte"] = (probe["reopen_hwm"] - base) / file;
    });
}

} // namespace

int RunMemoryProbe(const QString& planFile, const QString& programFolder)
{
    SetProgramFolder(programFolder);
    InitAppGlobalVar();
    const auto map = NewBenchMap();
    map->DoCommand(mcNewMap, TCommandParams().Int(500).Text(QString()));
    const RMemory base = ReadMemory();
    OpenPlan(*map, planFile);
    const RMemory opened = ReadMemory();
    OpenPlan(*map, planFile);
    const RMemory reopened = ReadMemory();
    QTextStream(stdout) << "base_rss=" << base.Rss << " base_hwm=" << base.Peak << " open_rss=" << opened.Rss
                        << " open_hwm=" << opened.Peak << " reopen_rss=" << reopened.Rss
                        << " reopen_hwm=" << reopened.Peak << "\n";
    FreeAppGlobalVar();
    return 0;
}

void RegisterMemoryBenchmark()
{
    benchmark::RegisterBenchmark(PeakMemory, BM_PeakMemory)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

} // namespace bench
