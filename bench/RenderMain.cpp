// velmora_render PLAN OUT.png [options]: draws a plan file into a PNG the way the main
// window would, to look at plans before the window exists. The sign library and the
// classifier are those beside the program.
//   --mode N       draw mode after the first fit (default 0: fit the whole plan)
//   --size WxH     the window (or page) in pixels (default 1200x800)
//   --scale N      display scale: after the fit, 1:N about the plan's centre (mode 8)
//   --centre X,Y   the plan point the zoom puts mid-window instead
//   --dest N       0 screen (the window's part of the 3W x 3H picture is written),
//                  1 printer (with the view's factors as they are), 2 raster image,
//                  3 DXF (the picture as drawn)
//   --dpi N        the resolution of printer or raster image (default 300)
//   --outline      draw without signs
//   --grid         the coordinate grid
//   --frames       the sheet frames with their nomenclature
//   --nom FILE     the nomenclature file of the frames' labels
#include "engine/GeoMap.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "platform/ProgramFolder.h"
#include "semantics/codec/SemServices.h"
#include "semantics/signs/Symbols.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

namespace {

int Usage(QTextStream& err)
{
    err << "usage: velmora_render PLAN OUT.png [--mode N] [--size WxH] [--scale N] [--centre X,Y] [--dest N] "
           "[--dpi N] [--outline] [--grid] [--frames] [--nom FILE]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2)
        return Usage(err);
    int mode = 0, W = 1200, H = 800, scale = 0, dest = ddScreen;
    double dpi = 300;
    bool outline = false, grid = false, frames = false;
    QString nomenclature;
    bool centred = false;
    TGeoPoint centre;
    for (int i = 2; i < args.size(); ++i) {
        const QString& a = args[i];
        const QString v = i + 1 < args.size() ? args[i + 1] : QString();
        bool ok = true;
        if (a == QLatin1String("--mode"))
            mode = v.toInt(&ok), ++i;
        else if (a == QLatin1String("--size")) {
            const QStringList wh = v.split(u'x');
            ok = wh.size() == 2;
            if (ok) {
                bool okH = false;
                W = wh[0].toInt(&ok);
                H = wh[1].toInt(&okH);
                ok = ok && okH && W > 20 && H > 20;
            }
            ++i;
        } else if (a == QLatin1String("--scale"))
            scale = v.toInt(&ok), ++i;
        else if (a == QLatin1String("--centre")) {
            const QStringList xy = v.split(u',');
            bool okY = false;
            ok = xy.size() == 2;
            if (ok) {
                centre = GeoPoint(xy[0].toDouble(&ok), xy[1].toDouble(&okY));
                ok = ok && okY;
            }
            centred = true;
            ++i;
        } else if (a == QLatin1String("--dest"))
            dest = v.toInt(&ok), ++i;
        else if (a == QLatin1String("--dpi"))
            dpi = v.toDouble(&ok), ++i;
        else if (a == QLatin1String("--outline"))
            outline = true;
        else if (a == QLatin1String("--grid"))
            grid = true;
        else if (a == QLatin1String("--frames"))
            frames = true;
        else if (a == QLatin1String("--nom"))
            nomenclature = v, ok = !v.isEmpty(), ++i;
        else
            ok = false;
        if (!ok || mode < 0 || mode > 255 || dest < 0 || dest > 3 || dpi <= 0)
            return Usage(err);
    }
    // The reference folders beside the program, wherever the tool is started from.
    ProgramFolder = GetProgramFolder();
    try {
        // The classifier names the materials of captions, as the classifier window does
        // in the program; without it they stay empty.
        TSemServices semantics;
        try {
            semantics.Open();
        } catch (const std::exception& e) {
            err << ConsoleText(ExceptionMessage(e)) << "\n";
        }
        TGeoMap map;
        MainMap = &map;
        map.ShowSymbols = outline ? 0 : 1;
        map.ShowRastrs = 1;
        map.ShowCoordCross = grid ? 1 : 0;
        map.ShowPlansBorders = map.ShowPlanNom = frames ? 1 : 0;
        if (!nomenclature.isEmpty())
            map.LoadNomenclatures(QFileInfo(nomenclature).absoluteFilePath());
        map.DoCommand(mcOpenMap, QStringLiteral("<") + QFileInfo(args[0]).absoluteFilePath() +
                                     QStringLiteral("><New><True><>"));
        map.Draw(W, H, 0, ddScreen);
        if (scale > 0) {
            map.DisplayScale = scale;
            map.CentreTarget = centred ? centre
                                       : GeoPoint((map.ViewXMin + map.ViewXMax) / 2, (map.ViewYMin + map.ViewYMax) / 2);
            map.Draw(W, H, 8, ddScreen);
        }
        if (mode != 0 || dest != ddScreen) {
            map.PrinterDpi = map.RasterDpi = dpi;
            map.PrinterScale = map.RasterScale = map.OutputScale;
            map.Draw(W, H, TDrawMode(mode), TDrawDest(dest));
        }
        const QImage shown = dest == ddScreen ? map.Bitmap.copy(map.ScrollX, map.ScrollY, W, H) : map.Bitmap;
        MainMap = nullptr;
        if (!shown.save(args[1]))
            throw Exception(QStringLiteral("Не удается записать ") + args[1]);
        QTextStream(stdout) << args[1] << ": 1:" << map.OutputScale << ", " << map.DrawnCount << "/"
                            << map.SkippedCount << " objects drawn/skipped\n";
        return 0;
    } catch (const std::exception& e) {
        MainMap = nullptr;
        err << ConsoleText(ExceptionMessage(e)) << "\n";
        return 1;
    }
}
