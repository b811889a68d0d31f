// The plan as a raster image file: BMP, JPEG or TIFF at the scale, resolution and depth
// the raster-export window asks for.
#include "engine/EngineServices.h"
#include "engine/GeoMap.h"
#include "engine/export/ExportScope.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ProgramDialogs.h"
#include "imaging/Bitmap.h"
#include "imaging/BmpWriter.h"
#include "imaging/Bmp2Tiff.h"
#include "imaging/DepthReducer.h"
#include "imaging/JpegWriter.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

const QString Caption = QStringLiteral("Сохранение в растровом формате");

// The export's kind by the upper-cased extension; empty for none of them.
QString RasterKind(const QString& fileName)
{
    const QString ext = QFileInfo(fileName).suffix().toUpper();
    if (ext == QLatin1String("BMP"))
        return QStringLiteral("BMP");
    if (ext == QLatin1String("JPG") || ext == QLatin1String("JPEG"))
        return QStringLiteral("JPG");
    if (ext == QLatin1String("TIF") || ext == QLatin1String("TIFF"))
        return QStringLiteral("TIF");
    return {};
}

TPixelFormat BitmapFormat(int bits)
{
    switch (bits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return pf15bit;
    default: return pf24bit;
    }
}

// The TIFF writer takes a bitmap: one at the chosen depth is filled a row at a time, so
// beside the 32-bit picture it takes at most three quarters of it again.
void SaveAsTiff(const QString& fileName, const QImage& picture, const TDepthReducer& reducer)
{
    TBitmap bitmap;
    bitmap.Name = fileName;
    bitmap.SetPixelFormat(BitmapFormat(reducer.Bits()));
    if (!reducer.Palette().isEmpty())
        bitmap.SetColorTable(reducer.Palette());
    bitmap.SetSize(picture.width(), picture.height());
    for (int y = 0; y < picture.height(); ++y)
        reducer.PackRow(reinterpret_cast<const QRgb*>(picture.constScanLine(y)), picture.width(),
                        bitmap.ScanLine(y));
    SaveBitmapAsTiff(fileName, bitmap);
}

}  // namespace

void TGeoMap::SaveToRaster(const QString& FileName, bool NoFrame, Extended XMin, Extended YMin,
                           Extended XMax, Extended YMax)
{
    TTrailGuard guard("GeoMap",
                      "procedure TGeoMap.SaveToRaster(FileName:string; NoFrame:boolean; XMin,YMin,"
                      "XMax,YMax:extended);");
    TEngineServices& ui = Ui();
    const TWaitScope wait(ui);

    int scale = (MainMap ? MainMap : this)->MapProp.Scale;
    Extended dpi = 300;
    TPixelDepth depth = 3;
    const QString kind = RasterKind(FileName);
    if (kind.isEmpty()) {
        ui.ShowMsg(Caption, QStringLiteral("Формат файла \"%1\" не поддерживается: сохранить в растровом "
                                           "формате можно в файлы BMP, JPG и TIF")
                                .arg(QFileInfo(FileName).fileName()));
        return;
    }
    if (SaveRastrDlg(scale, dpi, depth, XMin, YMin, XMax, YMax) != mrOk)
        return;

    const int bits = PixelFormatCodeBits(depth);
    if (scale <= 0 || !(dpi > 0) || bits == 0) {
        ui.ShowMsg(Caption, QStringLiteral("Неверные параметры: масштаб 1:%1, разрешение %2 dpi, формат %3")
                                .arg(scale)
                                .arg(double(dpi))
                                .arg(depth));
        return;
    }
    RasterScale = scale;
    // Paper millimetres times dots per millimetre; X is north, so it gives the height.
    const Extended hf = dpi / 25.4L * (XMax - XMin) * 1000 / scale;
    const Extended wf = dpi / 25.4L * (YMax - YMin) * 1000 / scale;
    const Extended w = std::isfinite(wf) ? Extended(Round(wf)) : wf;
    const Extended h = std::isfinite(hf) ? Extended(Round(hf)) : hf;
    if (!RasterSizeAllowed(w, h)) {
        ui.ShowMsg(Caption, QStringLiteral("Изображение %1 пикселей не может быть создано: каждая сторона "
                                           "должна быть от 1 до %2 пикселей, а рисунок не более 2 ГБ. "
                                           "Уменьшите масштаб, разрешение или область.")
                                .arg(RasterSizeText(w, h))
                                .arg(MaxRasterSide));
        return;
    }
    const int W = int(w), H = int(h);

    TExportScope scope(*this);
    RasterBits = std::uint8_t(bits);
    scope.PushView(XMin, YMin, XMax, YMax, FactorX, FactorY);
    RasterDpi = dpi;
    if (NoFrame)
        ShowPlansBorders = 0;
    Draw(W, H, 4, ddRaster);

    const TDepthReducer reducer(bits);
    if (kind == QLatin1String("BMP")) {
        SaveImageAsBmp(FileName, Bitmap, bits);
    } else if (kind == QLatin1String("JPG")) {
        // JPEG holds 24 bits only: the colours are those of the chosen depth.
        for (int y = 0; y < Bitmap.height(); ++y)
            reducer.ReduceRow(reinterpret_cast<QRgb*>(Bitmap.scanLine(y)), Bitmap.width());
        // The header states the resolution the picture was drawn at.
        SaveImageAsJpeg(FileName, Bitmap, DefaultJpegQuality,
                        int(std::clamp<Extended>(std::nearbyint(dpi), 1, 65535)));
    } else {
        SaveAsTiff(FileName, Bitmap, reducer);
    }
    scope.Finish();
}
