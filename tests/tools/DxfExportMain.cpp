// velmora_dxf PLAN OUT.dxf, or velmora_dxf --generate SIZE OUT.dxf: a plan file (or the
// synthetic plan of that size) exported to DXF with its signs and the coordinate grid, the
// way the main window saves as DXF, for the checks with independent DXF readers. The sign
// library and the classifier are those beside the program.
#include "PlanGenerator.h"

#include "engine/GeoMap.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "platform/ProgramFolder.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    const bool generate = !args.isEmpty() && args[0] == QLatin1String("--generate");
    if (args.size() != (generate ? 3 : 2)) {
        err << "usage: velmora_dxf PLAN OUT.dxf | velmora_dxf --generate SIZE OUT.dxf\n";
        return 2;
    }
    try {
        InitAppGlobalVar();
        QTemporaryDir temp;
        QString plan = args[0];
        if (generate) {
            plan = temp.filePath(QStringLiteral("plan.500"));
            TPlanGenerator(PlanShapeByName(args[1]), LoadSemanticsPool(GetProgramFolder())).WriteFile(plan);
        }
        TGeoMap map;
        MainMap = &map;
        map.ShowSymbols = 1;
        map.ShowCoordCross = 1;
        map.DoCommand(mcOpenMap, QStringLiteral("<") + QFileInfo(plan).absoluteFilePath() +
                                     QStringLiteral("><New><True><>"));
        map.ExportToDxf(QFileInfo(args.last()).absoluteFilePath());
        MainMap = nullptr;
        QTextStream(stdout) << args.last() << ": written\n";
        return 0;
    } catch (const std::exception& e) {
        MainMap = nullptr;
        err << ConsoleText(ExceptionMessage(e)) << "\n";
        return 1;
    }
}
