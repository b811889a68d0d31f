// velmora_dxf [--text TEXT]... PLAN OUT.dxf, or velmora_dxf --generate SIZE OUT.dxf: a
// plan file (or the synthetic plan of that size) exported to DXF with its signs and the
// coordinate grid, the way the main window saves as DXF, for the checks with independent
// DXF readers. Each --text adds a text object, as typed in the program, to the plan's
// first layer (a text a plan file could not hold: other alphabets, line breaks). The sign
// library and the classifier are those beside the program, copied into a temporary
// program folder first: a run makes its user's folders below the program folder, and the
// build's program folder must stay as the build made it. The export's messages go to the
// standard output.
#include "PlanGenerator.h"
#include "support/CopyTree.h"

#include "engine/EngineServices.h"
#include "engine/GeoMap.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

class TPrintedMessages : public TEngineServices {
public:
    int ShowMsg(const QString& caption, const QString& text) override
    {
        QTextStream(stdout) << caption << ": " << text << "\n";
        return 1;
    }
};

// The reference folders and files beside the program into folder: everything but the
// executables and the users' folders.
bool CopyReferenceData(const QString& from, const QString& folder)
{
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo entry = it.fileInfo();
        if (entry.fileName() == QStringLiteral("Пользователи") || (entry.isFile() && entry.isExecutable()))
            continue;
        if (!CopyTree(entry.filePath(), folder + u'/' + entry.fileName()))
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    QStringList texts;
    while (args.size() >= 2 && args[0] == QLatin1String("--text")) {
        texts << args[1];
        args = args.mid(2);
    }
    const bool generate = !args.isEmpty() && args[0] == QLatin1String("--generate");
    if (args.size() != (generate ? 3 : 2)) {
        err << "usage: velmora_dxf [--text TEXT]... PLAN OUT.dxf | velmora_dxf --generate SIZE OUT.dxf\n";
        return 2;
    }
    try {
        QTemporaryDir program;
        if (!program.isValid() || !CopyReferenceData(GetProgramFolder(), program.path())) {
            err << "cannot copy the program's reference data into a temporary folder\n";
            return 1;
        }
        SetProgramFolder(program.path());
        InitAppGlobalVar();
        QTemporaryDir temp;
        QString plan = args[0];
        if (generate) {
            plan = temp.filePath(QStringLiteral("plan.500"));
            TPlanGenerator(PlanShapeByName(args[1]), LoadSemanticsPool(GetProgramFolder())).WriteFile(plan);
        }
        TPrintedMessages messages;
        TGeoMap map;
        map.Services = &messages;
        MainMap = &map;
        map.ShowSymbols = 1;
        map.ShowCoordCross = 1;
        map.DoCommand(mcOpenMap, QStringLiteral("<") + QFileInfo(plan).absoluteFilePath() +
                                     QStringLiteral("><New><True><>"));
        if (!texts.isEmpty()) {
            if (map.Pages.GetCount() == 0 || map.Pages.At(0)->Layers.GetCount() == 0) {
                err << "the plan has no layer for the texts\n";
                return 1;
            }
            Extended xmin = 0, ymin = 0, xmax = 0, ymax = 0;
            map.MaxMinCoord();
            map.GetExtents(xmin, ymin, xmax, ymax);
            auto& layerTexts = map.Pages.At(0)->Layers.At(0)->Texts;
            for (int i = 0; i < texts.size(); ++i) {
                layerTexts.AddItem(std::make_unique<RGText>());
                RGText& t = *layerTexts.At(layerTexts.GetCount() - 1);
                t.Text = texts[i];
                t.Position = GeoPoint(xmax - 5 * i, ymin);
            }
        }
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
