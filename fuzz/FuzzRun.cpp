#include "FuzzRun.h"

#include "engine/file/GeoMapFile.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "imaging/PictureRegistry.h"
#include "platform/ProgramFolder.h"
#include "semantics/codec/SemServices.h"
#include "engine/FakeEngineServices.h"
#include "support/CopyTree.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

struct TFuzzRun {
    QApplication* App = nullptr;   // never destroyed: Qt's own globals go first at exit
    std::unique_ptr<QTemporaryDir> Dir;
    QString Program;
    QString Plans;
    std::unique_ptr<TSemServices> Semantics;
};

TFuzzRun& Run()
{
    static TFuzzRun run;
    return run;
}

}  // namespace

void FuzzFail(const char* what, const QString& detail)
{
    std::fprintf(stderr, "fuzz finding: %s\n%s\n", what, detail.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

void FuzzStartRun()
{
    TFuzzRun& run = Run();
    if (run.App) {
        // Each input is a run of its own: the error trail and the journal of the one
        // before (handled failures, commands) would otherwise grow through the whole
        // fuzzing and end it at the memory limit.
        if (ErrorInfo)
            ErrorInfo->clear();
        if (CommandLog)
            CommandLog->clear();
        return;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "velmora_fuzz";
    static char* argv[] = {name, nullptr};
    // Widgets, for the readers that belong to windows (the main window's settings, the
    // coordinate table); the offscreen platform shows nothing.
    run.App = new QApplication(argc, argv);

    // Memory-backed where the system has it: the readers that take a path read their
    // input from a file written once per execution.
    const QString shm = QStringLiteral("/dev/shm");
    const QString base = QDir(shm).exists() ? shm + QStringLiteral("/velmora-fuzz-XXXXXX")
                                            : QDir::tempPath() + QStringLiteral("/velmora-fuzz-XXXXXX");
    run.Dir = std::make_unique<QTemporaryDir>(base);
    if (!run.Dir->isValid())
        FuzzFail("no temporary folder", base);
    run.Program = run.Dir->path() + QLatin1Char('/');
    if (!CopyTree(QStringLiteral(VELMORA_SOURCE_DATA), run.Dir->path()))
        FuzzFail("cannot copy the reference data", QStringLiteral(VELMORA_SOURCE_DATA));
    run.Plans = run.Program + QStringLiteral("plans/");
    if (!CopyTree(QStringLiteral(VELMORA_TEST_FIXTURES "/plans"), run.Program + QStringLiteral("plans")))
        FuzzFail("cannot copy the plan fixtures", QStringLiteral(VELMORA_TEST_FIXTURES));
    QDir::setCurrent(run.Plans);

    SetProgramFolder(run.Program);
    RunEnvironment.Now = [] { return QDateTime(QDate(2024, 3, 5), QTime(9, 30, 0)); };
    RunEnvironment.UserName = [] { return QStringLiteral("fuzzer"); };
    RunEnvironment.ComputerName = [] { return QStringLiteral("fuzz-pc"); };
    InitAppGlobalVar();
    DecimalSeparator = QLatin1Char(',');
    // Pictures above 64 MB are refused with a message: well before the fuzzer's own
    // memory limit, and any picture let through is read within the per-input timeout
    // under the sanitizers (a 150 MB blank picture took longer than that).
    SetPictureMemoryLimit(std::int64_t(64) << 20);
    // The classifier is open while the program runs: the imports decode the semantics
    // of what they read through it.
    run.Semantics = std::make_unique<TSemServices>();
    try {
        run.Semantics->Open();
    } catch (const std::exception& e) {
        FuzzFail("the classifier does not open", QString::fromUtf8(e.what()));
    }
}

QString FuzzProgramFolder() { return Run().Program; }
QString FuzzPlansFolder() { return Run().Plans; }

QString FuzzWriteFile(const QString& name, const std::uint8_t* data, std::size_t size)
{
    const QString path = QDir::isAbsolutePath(name) ? name : Run().Plans + name;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        FuzzFail("cannot write the input file", path);
    if (size && f.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        FuzzFail("cannot write the input file", path);
    return path;
}

TFuzzPlan FuzzNewPlan(bool base)
{
    TFuzzPlan fuzz{std::make_unique<TFakeEngineServices>(), std::make_unique<TGeoMap>()};
    TGeoMap* plan = fuzz.Map.get();
    plan->Services = fuzz.Window.get();
    InstallPlanFileCommands(*plan);
    plan->OpenFilter = TOpenFilter();
    plan->OpenFilter.LoadRastrs = 0;
    if (base) {
        try {
            plan->StrToComm(QStringLiteral("mcOpenMap=<full.500><New><True><>"));
        } catch (const std::exception& e) {
            FuzzFail("the base plan does not open", QString::fromUtf8(e.what()));
        }
    }
    return fuzz;
}

QByteArray FuzzNative(TGeoMap& map)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    map.WriteDataToDevice(buffer);
    return buffer.data();
}

bool FuzzCommandKeepsPlanWhenRefused(TGeoMap& map, const QString& line)
{
    const QByteArray before = FuzzNative(map);
    try {
        map.StrToComm(line);
        return true;
    } catch (const std::exception&) {
        // Refused: fine, if nothing changed.
    }
    if (FuzzNative(map) != before)
        FuzzFail("a refused command changed the plan", line);
    return false;
}
