// velmora_bench: the engine's costs on one synthetic (or given) plan, each beside the
// floor it is judged against, with a summary of the ratios and the targets at the end.
//
//   velmora_bench [--plan-size=small|medium|large | --plan=FILE.500] [benchmark flags]
//
// The plan is generated into a temporary folder unless --plan names one; the program
// works in a temporary copy of the reference data, so nothing lands in the build tree.
#include "BenchEnv.h"
#include "Benchmarks.h"

#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"

#include <QGuiApplication>
#include <QTextStream>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <map>
#include <unistd.h>
#include <vector>

namespace {

struct RMeasure {
    double Seconds = 0;               // real time of one iteration
    std::map<std::string, double> Counters;
};

// The console report as usual, and every result kept for the summary.
class TSummaryReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal: the test log and a redirected report stay plain.
    TSummaryReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) {
                Failed.push_back(run.run_name.function_name + ": " + run.error_message);
                continue;
            }
            // A run with repetitions is summed up by its median.
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median")
                continue;
            RMeasure m;
            m.Seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            for (const auto& [name, counter] : run.counters)
                m.Counters[name] = counter.value;
            Results[run.run_name.function_name] = m;
        }
    }

    const RMeasure* Find(const char* name) const
    {
        const auto it = Results.find(name);
        return it == Results.end() ? nullptr : &it->second;
    }

    // "name: message" of every benchmark that reported an error.
    std::vector<std::string> Failed;

private:
    std::map<std::string, RMeasure> Results;
};

QString Ms(double seconds) { return QString::number(seconds * 1000, 'f', 3) + QStringLiteral(" ms"); }

// "what: measured / floor = ratio (target ≤ limit) ok|MISSED" for each pair measured.
void PrintSummary(const TSummaryReporter& r, const TBenchEnv& env)
{
    QTextStream out(stdout);
    out << "\nSummary for " << env.PlanName() << " (" << env.PlanBytes() << " bytes, " << env.FileLines()
        << " lines)\n";
    struct RRatio {
        const char* What;
        const char* Measured;
        const char* Floor;
        double Limit;   // 0: shown, no target
    };
    const RRatio ratios[] = {
        {"open / its floor", bench::Open, bench::FloorRead, 4},
        {"  reader alone / floor", bench::OpenRead, bench::FloorRead, 0},
        {"  dropping the old plan / floor", bench::OpenDrop, bench::FloorRead, 0},
        {"  closing pass / floor", bench::OpenClose, bench::FloorRead, 0},
        {"  sign library / floor", bench::OpenSigns, bench::FloorRead, 0},
        {"save / its floor", bench::Save, bench::FloorWrite, 2},
        {"new point, undo on / save", bench::NewPointOn, bench::Save, 1.1},
        {"1000-node line, undo on / save", bench::LineOn, bench::Save, 1.1},
        {"sheet transform, undo on / save", bench::TransformOn, bench::Save, 1.1},
        {"sign not found / sign found", bench::SignMiss, bench::SignHit, 2},
        // The drawing floor here is the picture cleared alone; the floor also
        // draws the primitives, so these ratios are shown without a target.
        {"mode 0 / clearing the picture", bench::DrawMode0, bench::FloorClear, 0},
        {"mode 1 / clearing", bench::DrawMode1, bench::FloorClear, 0},
        {"mode 2 at 1:2000 / clearing", bench::DrawRenderAll, bench::FloorClear, 0},
        {"mode 3 at 1:2000 / clearing", bench::DrawRefresh, bench::FloorClear, 0},
        {"mode 4 / clearing", bench::DrawMode4, bench::FloorClear, 0},
        {"mode 5 to 1:1000 / clearing", bench::DrawZoom1000, bench::FloorClear, 0},
        {"mode 5 to 1:500 / clearing", bench::DrawZoom500, bench::FloorClear, 0},
        {"mode 7 / clearing", bench::DrawMode7, bench::FloorClear, 0},
        {"mode 3 without signs / clearing", bench::DrawOutline, bench::FloorClear, 0},
        {"mode 3 with snapping nodes / clearing", bench::DrawLinkNodes, bench::FloorClear, 0},
        {"hit test, dense spot / node pass", bench::HitDense, bench::FloorNodePass, 2},
        {"hit test, empty spot / node pass", bench::HitEmpty, bench::FloorNodePass, 2},
        // The export floors are the bytes and the encoding alone, without the drawing.
        {"DXF export / writing its bytes", bench::ExportDxf, bench::FloorDxfBytes, 0},
        {"raster export BMP 24 / encoding it", bench::ExportBmp24, bench::FloorEncodeBmp24, 0},
        {"raster export BMP 8 / encoding it", bench::ExportBmp8, bench::FloorEncodeBmp8, 0},
        {"raster export JPEG / encoding it", bench::ExportJpeg, bench::FloorEncodeJpeg, 0},
        {"JPEG underlay read / libjpeg alone", bench::LoadJpeg, bench::FloorLibjpeg, 0},
        {"BMP underlay read / libjpeg on the JPEG", bench::LoadBmp, bench::FloorLibjpeg, 0},
    };
    for (const RRatio& ratio : ratios) {
        const RMeasure* a = r.Find(ratio.Measured);
        const RMeasure* b = r.Find(ratio.Floor);
        if (!a || !b || b->Seconds <= 0)
            continue;
        const double q = a->Seconds / b->Seconds;
        out << "  " << ratio.What << ": " << Ms(a->Seconds) << " / " << Ms(b->Seconds) << " = "
            << QString::number(q, 'f', 2);
        if (ratio.Limit > 0)
            out << " (target <= " << ratio.Limit << ") " << (q <= ratio.Limit ? "ok" : "MISSED");
        out << "\n";
    }
    // The numbers of the coordinate lines alone, as a share of a save and of an open.
    const RMeasure* format = r.Find(bench::FormatPair);
    const RMeasure* parse = r.Find(bench::ParsePair);
    const RMeasure* save = r.Find(bench::Save);
    const RMeasure* read = r.Find(bench::OpenRead);
    if (format && save && save->Seconds > 0)
        out << "  " << env.PairLines() << " coordinate lines formatted alone: "
            << Ms(format->Seconds * env.PairLines()) << " = "
            << QString::number(100 * format->Seconds * env.PairLines() / save->Seconds, 'f', 0)
            << " % of the save\n";
    if (parse && read && read->Seconds > 0)
        out << "  " << env.PairLines() << " coordinate lines parsed alone: "
            << Ms(parse->Seconds * env.PairLines()) << " = "
            << QString::number(100 * parse->Seconds * env.PairLines() / read->Seconds, 'f', 0)
            << " % of the reader\n";
    for (const char* name : {bench::NewPointOff, bench::LineOff})
        if (const RMeasure* m = r.Find(name))
            out << "  " << name << ": " << Ms(m->Seconds) << " (undo off: should not grow with the plan)\n";
    for (const char* name : {bench::TransformOff, bench::TurnOff})
        if (const RMeasure* m = r.Find(name)) {
            const auto it = m->Counters.find("positions");
            if (it != m->Counters.end() && it->second > 0)
                out << "  " << name << ": " << Ms(m->Seconds) << " for " << qint64(it->second)
                    << " positions = " << QString::number(m->Seconds * 1e9 / it->second, 'f', 1)
                    << " ns each (undo off: in proportion to the sheet)\n";
        }
    for (const char* name : {bench::NewPointOn, bench::LineOn, bench::TransformOn})
        if (const RMeasure* m = r.Find(name)) {
            const auto it = m->Counters.find("snapshot_bytes");
            if (it != m->Counters.end())
                out << "  " << name << ": each command adds a snapshot of " << qint64(it->second)
                    << " bytes\n";
        }
    // Our TIFF reader and writer as a share of libtiff's speed (its time over ours).
    for (const char* form : {"lzw", "packbits", "none", ""}) {
        const std::string ours = *form ? std::string(bench::TiffDecode) + form : bench::TiffWrite;
        const std::string theirs = *form ? std::string(bench::TiffDecodeLibtiff) + form : bench::TiffWriteLibtiff;
        const RMeasure* a = r.Find(ours.c_str());
        const RMeasure* b = r.Find(theirs.c_str());
        if (!a || !b || a->Seconds <= 0)
            continue;
        const double speed = b->Seconds / a->Seconds;
        out << "  TIFF " << (*form ? QStringLiteral("decode, ") + form : QStringLiteral("write")) << ": "
            << Ms(a->Seconds) << ", libtiff " << Ms(b->Seconds) << ": speed "
            << QString::number(speed, 'f', 2) << " of libtiff's (target >= 0.7) "
            << (speed >= 0.7 ? "ok" : "MISSED");
        const auto extra = a->Counters.find("extra_strips");
        if (extra != a->Counters.end())
            out << "; memory: the picture + " << QString::number(extra->second, 'f', 2)
                << " strips (libtiff + " << QString::number(b->Counters.count("extra_strips") ? b->Counters.at("extra_strips") : 0.0, 'f', 2) << ")";
        out << "\n";
    }
    // Each redraw over its drawing floor (its own primitives drawn again with bare
    // QPainter calls), with the parts the drawing's status panel shows.
    struct RDrawTarget {
        const char* Name;
        double Limit;
    };
    const RDrawTarget drawTargets[] = {{bench::DrawMode0, 3},    {bench::DrawMode1, 3},    {bench::DrawRenderAll, 5},
                                       {bench::DrawRefresh, 2},  {bench::DrawMode4, 3},    {bench::DrawZoom1000, 3},
                                       {bench::DrawZoom500, 3},  {bench::DrawMode7, 3},    {bench::DrawOutline, 2},
                                       {bench::DrawLinkNodes, 2}};
    for (const RDrawTarget& t : drawTargets) {
        const RMeasure* m = r.Find(t.Name);
        if (!m)
            continue;
        const auto counter = [&](const char* name) {
            const auto it = m->Counters.find(name);
            return it == m->Counters.end() ? 0.0 : it->second;
        };
        const double floor = counter("floor_ms") / 1000;
        if (floor <= 0)
            continue;
        const double q = m->Seconds / floor;
        out << "  " << t.Name << " / its primitives drawn bare: " << Ms(m->Seconds) << " / " << Ms(floor) << " = "
            << QString::number(q, 'f', 2) << " (target <= " << t.Limit << ") " << (q <= t.Limit ? "ok" : "MISSED")
            << "; render " << counter("render_ms") << " + draw " << counter("draw_ms") << " + grid "
            << counter("grid_ms") << " + frames and rasters " << counter("frames_rasters_ms") << " + copy "
            << counter("copy_ms") << " ms; " << qint64(counter("primitives")) << " primitives; peak "
            << QString::number(counter("peak_extra_mb"), 'f', 1) << " MB above the resident\n";
    }
    // The exports over their floors: DXF over every object rendered at its resolution
    // plus writing its bytes; a raster over drawing its picture plus encoding it.
    struct RExportTarget {
        const char* Name;
        const char* Bytes;
        double Limit;
        bool Dxf;
    };
    const RExportTarget exportTargets[] = {{bench::ExportDxf, bench::FloorDxfBytes, 1.5, true},
                                           {bench::ExportBmp24, bench::FloorEncodeBmp24, 1.3, false},
                                           {bench::ExportBmp8, bench::FloorEncodeBmp8, 1.3, false},
                                           {bench::ExportJpeg, bench::FloorEncodeJpeg, 1.3, false}};
    for (const RExportTarget& t : exportTargets) {
        const RMeasure* m = r.Find(t.Name);
        const RMeasure* bytes = r.Find(t.Bytes);
        if (!m || !bytes)
            continue;
        const auto counter = [&](const char* name) {
            const auto it = m->Counters.find(name);
            return it == m->Counters.end() ? 0.0 : it->second / 1000;
        };
        const RMeasure* render = r.Find(bench::FloorDxfRender);
        if (t.Dxf && !render)
            continue;
        const double drawing =
            t.Dxf ? render->Seconds : counter("picture_render_ms") + counter("picture_draw_ms");
        const double floor = drawing + bytes->Seconds;
        if (floor <= 0)
            continue;
        const double q = m->Seconds / floor;
        out << "  " << t.Name << " / (" << (t.Dxf ? "rendering " : "drawing the picture ") << Ms(drawing) << " + "
            << (t.Dxf ? "its bytes " : "encoding ") << Ms(bytes->Seconds) << "): " << Ms(m->Seconds) << " / "
            << Ms(floor) << " = " << QString::number(q, 'f', 2) << " (target <= " << t.Limit << ") "
            << (q <= t.Limit ? "ok" : "MISSED") << "\n";
    }
    // The goals in time on one core: every redraw within half a second, a click within
    // 10 ms.
    for (const char* name : {bench::DrawMode0, bench::DrawMode1, bench::DrawRenderAll, bench::DrawRefresh,
                             bench::DrawMode4, bench::DrawZoom1000, bench::DrawZoom500, bench::DrawMode7,
                             bench::DrawOutline, bench::DrawLinkNodes, bench::HitDense, bench::HitEmpty}) {
        const RMeasure* m = r.Find(name);
        if (!m)
            continue;
        const double goal = QString::fromLatin1(name).startsWith(QLatin1String("Query/")) ? 0.010 : 0.5;
        out << "  " << name << ": " << Ms(m->Seconds) << " (goal <= " << Ms(goal) << ") "
            << (m->Seconds <= goal ? "ok" : "MISSED") << "\n";
    }
    if (const RMeasure* m = r.Find(bench::PeakMemory)) {
        const auto counter = [&](const char* name) {
            const auto it = m->Counters.find(name);
            return it == m->Counters.end() ? 0.0 : it->second;
        };
        const double ratio = counter("peak_per_file_byte");
        out << "  peak memory of the opened plan: " << qint64(counter("plan_peak_bytes"))
            << " bytes above the empty plan = " << QString::number(ratio, 'f', 2)
            << " x the file (target <= 5) " << (ratio <= 5 ? "ok" : "MISSED") << "; process peak "
            << qint64(counter("peak_bytes")) << " bytes; reopened (undo): "
            << QString::number(counter("reopen_peak_per_file_byte"), 'f', 2) << " x the file\n";
    }
}

} // namespace

int main(int argc, char** argv)
{
    // Our own flags first; the rest belongs to the benchmark library.
    TBenchOptions options;
    QString memoryProbe;
    QString probeProgram;
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (i > 0 && arg.startsWith(QStringLiteral("--plan-size=")))
            options.PlanSize = arg.mid(12);
        else if (i > 0 && arg.startsWith(QStringLiteral("--plan=")))
            options.PlanFile = arg.mid(7);
        else if (i > 0 && arg.startsWith(QStringLiteral("--memory-probe=")))
            memoryProbe = arg.mid(15);
        else if (i > 0 && arg.startsWith(QStringLiteral("--program=")))
            probeProgram = arg.mid(10);
        else
            rest.push_back(argv[i]);
    }
    // The engine measures texts with fonts; no screen is needed for that.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);

    QTextStream err(stderr);
    try {
        if (!memoryProbe.isEmpty())
            return bench::RunMemoryProbe(memoryProbe, probeProgram);

        int restCount = static_cast<int>(rest.size());
        benchmark::Initialize(&restCount, rest.data());
        if (benchmark::ReportUnrecognizedArguments(restCount, rest.data()))
            return 1;

        const TBenchEnv env(options);
        QTextStream(stdout) << "Plan " << env.PlanName() << ": " << env.PlanFile() << ", " << env.PlanBytes()
                            << " bytes\n";
        bench::RegisterFloorBenchmarks();
        bench::RegisterOpenSaveBenchmarks();
        bench::RegisterCommandBenchmarks();
        bench::RegisterPartBenchmarks();
        bench::RegisterDrawBenchmarks();
        bench::RegisterExportBenchmarks(options.PlanFile.isEmpty() ? options.PlanSize : QStringLiteral("given"));
        bench::RegisterMemoryBenchmark();
#ifdef VELMORA_BENCH_LIBTIFF
        bench::RegisterTiffBenchmarks(options.PlanSize);
#endif
#ifdef VELMORA_BENCH_LIBPNG
        bench::RegisterPngBenchmarks(options.PlanSize);
#endif

        TSummaryReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        PrintSummary(reporter, env);
        benchmark::Shutdown();
        // A benchmark that cannot run any more fails the run (and the smoke test).
        for (const std::string& failure : reporter.Failed)
            err << "velmora_bench: failed: " << QString::fromStdString(failure) << "\n";
        return reporter.Failed.empty() ? 0 : 1;
    } catch (const std::exception& e) {
        err << "velmora_bench: " << ConsoleText(ExceptionMessage(e)) << "\n";
        return 1;
    }
}
