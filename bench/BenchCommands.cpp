// One command on the opened plan, with undo off and on: a new point, a line of 1,000
// nodes changed, and a transform of a whole sheet, which must cost in proportion to the
// positions on the sheet (reported as positions, and per position as items per
// second). With undo on every command writes the whole plan as a snapshot; the size of
// that file is what each command adds to the run folder, reported as snapshot_bytes.
#include "BenchEnv.h"
#include "BenchGuard.h"
#include "BenchMap.h"
#include "Benchmarks.h"

#include "engine/commands/MapCommand.h"
#include "foundation/AppGlobalVar.h"
#include "semantics/codec/SemServices.h"

#include <QDirIterator>
#include <QFileInfo>
#include <benchmark/benchmark.h>

namespace bench {

namespace {

constexpr int LineNodes = 1000;

// The plan the commands run on, opened once for all of them; each benchmark leaves it
// as it found it, so none measures a plan another one has grown.
struct TCommandPlan {
    std::unique_ptr<TGeoMap> Map;
    int LongLine = -1;            // the 1,000-node line, in sheet 0, layer 0
    QString LineParams[2];        // mcSetLineProp moving it back and forth
};

QString LineNodeList(Extended x0, Extended y0, Extended shift)
{
    QString nodes;
    nodes.reserve(LineNodes * 40);
    for (int i = 0; i < LineNodes; ++i)
        nodes += TCommandValues()
                     .Fixed(x0 + shift + (i % 2) * 3)
                     .Fixed(y0 + i * 0.5L)
                     .Int(0)
                     .Fixed(-1)
                     .Int(0)
                     .Int(-1)
                     .Int(0)
                     .Int(0)
                     .Group();
    return nodes;
}

TCommandPlan& CommandPlan()
{
    static TCommandPlan plan;
    if (plan.Map)
        return plan;
    const TBenchEnv& env = TBenchEnv::Get();
    plan.Map = NewBenchMap();
    TGeoMap& map = *plan.Map;
    OpenPlan(map, env.PlanFile());

    const QString semantics = QStringLiteral("ГОР/Ф011;ИВ125.00");
    const Extended x0 = 410100;
    const Extended y0 = 1320010;
    map.DoCommand(mcNewLine, TCommandParams()
                                 .Int(0)
                                 .Int(0)
                                 .Text(semantics)
                                 .Text(QString())
                                 .Int(0)
                                 .Fixed(0)
                                 .Int(2)
                                 .Text(QString())
                                 .Field(LineNodeList(x0, y0, 0)));
    plan.LongLine = map.Pages.At(0)->Layers.At(0)->Lines.GetCount() - 1;
    for (int k = 0; k < 2; ++k)
        plan.LineParams[k] = TCommandParams()
                                 .Int(0)
                                 .Int(0)
                                 .Int(plan.LongLine)
                                 .Text(semantics)
                                 .Text(QString())
                                 .Int(0)
                                 .Fixed(0)
                                 .Int(2)
                                 .Text(QString())
                                 .Field(LineNodeList(x0, y0, k ? 1 : 0));

    CommandLog->clear();
    return plan;
}

// Undo for the life of the object. Every command of a benchmark writes snapshot 1:
// the step is set back before each, so a run leaves one snapshot file, not thousands.
class TUndoScope {
public:
    TUndoScope(TGeoMap& map, bool on) : Map(map) { Map.UndoOn = on ? 1 : 0; }
    ~TUndoScope()
    {
        Map.UndoOn = 0;
        UndoStep = 0;
        if (CommandLog)
            CommandLog->clear();
    }
    TUndoScope(const TUndoScope&) = delete;
    TUndoScope& operator=(const TUndoScope&) = delete;

    static void NextCommand() { UndoStep = 0; }

private:
    TGeoMap& Map;
};

// The size of the snapshot the last command wrote: file 1 of the document's folder in
// the run folder.
void CountSnapshot(benchmark::State& state, const TGeoMap& map)
{
    const QString name = QStringLiteral("1.") + QString::number(map.MapProp.Scale);
    QDirIterator it(SessionFolder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (it.fileName() == name) {
            state.counters["snapshot_bytes"] = static_cast<double>(it.fileInfo().size());
            return;
        }
    }
}

void BM_NewPoint(benchmark::State& state, bool undo)
{
    Guarded(state, [&] {
        TCommandPlan& plan = CommandPlan();
        TGeoMap& map = *plan.Map;
        const QString userTexts =
            TCommandValues().Fixed(1.5L, 1).Fixed(-0.5L, 1).Int(0).Fixed(1).Int(0).Group();
        const QString params = TCommandParams()
                                   .Int(0)
                                   .Int(0)
                                   .Text(QStringLiteral("ОТА/ИВ125.50"))
                                   .Fixed(410123.45L)
                                   .Fixed(1320234.56L)
                                   .Int(2)
                                   .Fixed(0)
                                   .Field(userTexts)
                                   .Int(0)
                                   .Int(0);
        TGPoints& points = map.Pages.At(0)->Layers.At(0)->Points;
        const int before = points.GetCount();
        {
            TUndoScope scope(map, undo);
            for (auto _ : state) {
                TUndoScope::NextCommand();
                map.DoCommand(mcNewPoint, params);
            }
            if (undo)
                CountSnapshot(state, map);
        }
        while (points.GetCount() > before && points.GoLastItem())
            points.DeleteItem();
    });
}

void BM_SetLine(benchmark::State& state, bool undo)
{
    Guarded(state, [&] {
        TCommandPlan& plan = CommandPlan();
        TGeoMap& map = *plan.Map;
        TUndoScope scope(map, undo);
        int k = 0;
        for (auto _ : state) {
            TUndoScope::NextCommand();
            map.DoCommand(mcSetLineProp, plan.LineParams[k ^= 1]);
        }
        if (undo)
            CountSnapshot(state, map);
    });
}

// What a transform moves on a sheet: raster corners, text, point and node positions,
// inside objects too.
std::int64_t SheetPositions(const RGPage& sheet)
{
    std::int64_t n = 2 * std::int64_t(sheet.Rastrs.GetCount());
    const auto points = [&n](const TGPoints& list) {
        for (const auto& p : list)
            n += 1 + p->InnerTexts.GetCount();
    };
    const auto lines = [&n](const TGLines& list) {
        for (const auto& l : list) {
            n += l->InnerTexts.GetCount();
            for (const auto& node : l->Nodes)
                n += 1 + node->NodePoints.GetCount();
        }
    };
    for (const auto& layer : sheet.Layers) {
        n += layer->Texts.GetCount();
        points(layer->Points);
        lines(layer->Lines);
        for (const auto& polygon : layer->Polygons) {
            n += polygon->Nodes.GetCount() + polygon->InnerTexts.GetCount();
            for (const auto& hole : polygon->Holes)
                n += hole->Nodes.GetCount();
            points(polygon->InnerPoints);
            lines(polygon->InnerLines);
        }
    }
    return n;
}

// Sheet 0 shifted by a metre and back, in turn; or turned by half a degree about a
// point of the plan and back, which takes every position through the inverse and the
// forward task.
void TransformSheet(benchmark::State& state, bool undo, bool turn)
{
    Guarded(state, [&] {
        TCommandPlan& plan = CommandPlan();
        TGeoMap& map = *plan.Map;
        const std::int64_t positions = SheetPositions(*map.Pages.At(0));
        QString params[2];
        for (int k = 0; k < 2; ++k) {
            const Extended shift = turn ? 0 : (k ? -1 : 1);
            params[k] = TCommandParams()
                            .Int(0)
                            .Fixed(1)
                            .Fixed(shift)
                            .Fixed(shift)
                            .Fixed(turn ? (k ? -0.5L : 0.5L) : 0)
                            .Fixed(410500)
                            .Fixed(1320500);
        }
        TUndoScope scope(map, undo);
        int k = 0;
        for (auto _ : state) {
            TUndoScope::NextCommand();
            map.DoCommand(mcTransform, params[k ^= 1]);
        }
        state.counters["positions"] = double(positions);
        state.SetItemsProcessed(std::int64_t(state.iterations()) * positions);
        if (undo)
            CountSnapshot(state, map);
    });
}

void BM_TransformSheet(benchmark::State& state, bool undo) { TransformSheet(state, undo, false); }
void BM_TurnSheet(benchmark::State& state, bool undo) { TransformSheet(state, undo, true); }

// One click of the selection mode on the opened plan: every visible sheet and layer,
// every kind but rasters, a pick rectangle of half a metre about a point of the plan.
// The labels of the hits are decoded as the window shows them.
void BM_FindObjects(benchmark::State& state)
{
    Guarded(state, [&] {
        TCommandPlan& plan = CommandPlan();
        TGeoMap& map = *plan.Map;
        TSemServices semantics;
        semantics.Open();
        const TGPoints& points = map.Pages.At(0)->Layers.At(0)->Points;
        const TGeoPoint at = points.GetCount() > 0 ? points.At(points.GetCount() / 2)->Position
                                                   : GeoPoint(410500, 1320500);
        const Extended r = 0.5L;
        const TGeoRect rect = {GeoPoint(at.X + r, at.Y - r), GeoPoint(at.X + r, at.Y + r),
                               GeoPoint(at.X - r, at.Y + r), GeoPoint(at.X - r, at.Y - r)};
        map.SelectPagesMode = 0;
        map.SelectLayersMode = 0;
        map.SelectObjectKind = 0;
        for (auto _ : state)
            map.FindObjects(at.X, at.Y, rect);
        state.counters["hits"] = map.FoundObjects.GetCount();
    });
}

} // namespace

void RegisterCommandBenchmarks()
{
    const auto us = benchmark::kMicrosecond;
    const auto ms = benchmark::kMillisecond;
    using TBody = void (*)(benchmark::State&, bool);
    const auto add = [](const char* name, TBody body, bool undo, benchmark::TimeUnit unit) {
        benchmark::RegisterBenchmark(name, [body, undo](benchmark::State& s) { body(s, undo); })
            ->Unit(unit)
            ->UseRealTime();
    };
    add(NewPointOff, BM_NewPoint, false, us);
    add(NewPointOn, BM_NewPoint, true, ms);
    add(LineOff, BM_SetLine, false, us);
    add(LineOn, BM_SetLine, true, ms);
    add(TransformOff, BM_TransformSheet, false, ms);
    add(TransformOn, BM_TransformSheet, true, ms);
    add(TurnOff, BM_TurnSheet, false, ms);
    benchmark::RegisterBenchmark(FindObjects, BM_FindObjects)->Unit(us)->UseRealTime();
}

} // namespace bench
