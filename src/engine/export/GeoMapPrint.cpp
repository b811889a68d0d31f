// The plan on a printer page: the area from PrintOrigin at PrinterScale drawn at the
// printer's resolution, reduced to PrintBits and printed as one page; and the page's
// decorations (frame, icon, title, corner coordinates) drawn over it.
#include "engine/EngineServices.h"
#include "engine/GeoMap.h"
#include "engine/draw/CoordGrid.h"
#include "engine/draw/GeoMapDrawSupport.h"
#include "engine/export/ExportScope.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "imaging/DepthReducer.h"
#include "semantics/signs/SymbolsFont.h"

#include <QFontMetricsF>
#include <QPixmap>

#include <cmath>

namespace {

#include "resources/velmora_icon.xpm"

const QString Caption = QStringLiteral("Печать");

const QImage& ProgramIcon()
{
    static const QImage icon = QImage(velmora_icon_xpm).convertToFormat(QImage::Format_ARGB32);
    return icon;
}

}  // namespace

void TGeoMap::PrintPlan()
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.PrintPlan;");
    TEngineServices& ui = Ui();
    const TWaitScope wait(ui);

    const QSize page = ui.PrinterPageSize();
    if (page.isEmpty()) {
        ui.ShowMsg(Caption, QStringLiteral("Принтер не установлен: печать невозможна"));
        return;
    }
    if (PageWidthMm <= 0 || PageHeightMm <= 0 || PrinterScale <= 0) {
        ui.ShowMsg(Caption, QStringLiteral("Не задан размер страницы (%1 x %2 мм) или масштаб печати 1:%3")
                                .arg(PageWidthMm)
                                .arg(PageHeightMm)
                                .arg(PrinterScale));
        return;
    }
    const int PW = page.width(), PH = page.height();
    if (!RasterSizeAllowed(PW, PH)) {
        ui.ShowMsg(Caption, QStringLiteral("Страница %1 пикселей не может быть создана: каждая сторона "
                                           "должна быть не более %2 пикселей, а рисунок не более 2 ГБ")
                                .arg(RasterSizeText(PW, PH))
                                .arg(MaxRasterSide));
        return;
    }
    const int bits = PixelFormatCodeBits(PrintBits) ? PixelFormatCodeBits(PrintBits) : 24;

    TExportScope scope(*this);
    PrinterDpi = PW / (PageWidthMm / 25.4L);
    const Extended ground = Extended(PrinterScale) / 1000;   // metres of ground per paper millimetre
    scope.PushView(PrintOrigin.X - PageHeightMm * ground, PrintOrigin.Y, PrintOrigin.X,
                   PrintOrigin.Y + PageWidthMm * ground, Extended(PH) / PageHeightMm / ground,
                   Extended(PW) / PageWidthMm / ground);
    Draw(PW, PH, 2, ddPrinter);
    const TDepthReducer reducer(bits);
    for (int y = 0; y < Bitmap.height(); ++y)
        reducer.ReduceRow(reinterpret_cast<QRgb*>(Bitmap.scanLine(y)), Bitmap.width());
    ui.PrintPicture(Bitmap);
    scope.Finish();
}

void TGeoMap::PrintHeader()
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.PrintHeader;");
    if (PageWidthMm <= 0 || PageHeightMm <= 0)
        return;
    TPaintScope scope(*this);
    if (!scope.Open())
        return;
    TMapPainter& p = scope.P();
    const TMapPainter::TState kept = p.State();
    const int PW = Bitmap.width(), PH = Bitmap.height();
    const Extended mmX = Extended(PW) / PageWidthMm;   // pixels of one millimetre across

    // 1. The frame around the page.
    p.SetBrushClear();
    p.SetPen(0, pmCopy, psSolid, 1);
    p.Polyline({QPointF(0, 0), QPointF(PW - 1, 0), QPointF(PW - 1, PH - 1), QPointF(0, PH - 1),
                QPointF(0, 0)},
               false);

    // 2. The title's font: Courier New of 1.5 mm in points, underlined.
    TLogFont title;
    title.FaceName = QStringLiteral("Courier New");
    title.Height = CanvasFontHeight(Extended(Round(mmX * 3 * 0.5L)));
    title.Underline = 1;

    // 3. The program's icon, a 4 mm square at the top-left corner.
    p.StretchImage(QRectF(0, 0, Round(PW * 4.0L / PageWidthMm), Round(PH * 4.0L / PageHeightMm)),
                   ProgramIcon());

    // 4. The title line on white, right of the icon.
    const QString X = FloatToStrF(ViewXMin, ffFixed, 8, 2);
    const QString Y = FloatToStrF(ViewYMin, ffFixed, 8, 2);
    const QString line = AppName + u' ' + AppVersion + QStringLiteral(" > план масштаба 1:") +
                         QString::number(PrinterScale) + QStringLiteral("   ") + PrintTitle +
                         QStringLiteral("   Начало координат листа ") + X + u' ' + Y;
    const QPointF at(Round(PH * 5.0L / PageHeightMm), 0);
    const QFontMetricsF metrics(LogFontToQFont(title, 96), &Bitmap);
    p.FillRect(QRectF(at, QSizeF(metrics.horizontalAdvance(line), metrics.height())).toAlignedRect(),
               0xFFFFFF);
    p.Text(at, line, title, 0);

    // 5, 6. The corner's coordinates: Y upwards along the left edge, X along the bottom.
    TLogFont corner;
    corner.FaceName = QStringLiteral("Courier New");
    corner.Height = std::int32_t(Round(mmX * 5 * 0.5L));
    corner.Weight = 400;
    corner.Escapement = corner.Orientation = 900;
    p.Text(QPointF(0, PH - Round(PH * 5.0L / PageHeightMm)), Y, corner, 0);
    corner.Escapement = corner.Orientation = 0;
    p.Text(QPointF(Round(PH * 5.0L / PageHeightMm), PH - Round(PH * 2.3L / PageHeightMm)), X, corner, 0);
    p.Restore(kept);
}
