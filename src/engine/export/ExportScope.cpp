#include "engine/export/ExportScope.h"

#include "engine/EngineServices.h"
#include "engine/draw/MapPainter.h"

#include <cmath>

TExportScope::TExportScope(TGeoMap& map)
    : Map(map),
      RasterBits(map.RasterBits),
      ShowPlansBorders(map.ShowPlansBorders),
      Picture(std::move(map.Bitmap)),   // the screen picture is not kept twice beside the page
      ScrollX(map.ScrollX),
      ScrollY(map.ScrollY),
      DrawH(map.DrawH),
      DrawDest(map.DrawDest),
      DrawMode(map.DrawMode),
      PictureRect(map.PictureRect),
      DrawAreaMin(map.DrawAreaMin),
      DrawAreaMax(map.DrawAreaMax),
      WindowMin(map.WindowMin),
      WindowMax(map.WindowMax),
      ViewXMin(map.ViewXMin),
      ViewYMin(map.ViewYMin),
      ViewXMax(map.ViewXMax),
      ViewYMax(map.ViewYMax),
      FactorX(map.FactorX),
      FactorY(map.FactorY),
      OutputScale(map.OutputScale),
      ViewCount(map.MapViews.GetCount()),
      ViewIndex(map.MapViews.GetIndex())
{
    map.Bitmap = QImage();
}

TExportScope::~TExportScope()
{
    if (Done)
        return;
    Restore();
    try {
        Redraw();
    } catch (...) {
        // The export's own error is the one the user must see.
    }
}

void TExportScope::PushView(Extended XMin, Extended YMin, Extended XMax, Extended YMax,
                            Extended FactorX, Extended FactorY)
{
    auto record = std::make_unique<RMapView>();
    record->ViewXMin = XMin;
    record->ViewYMin = YMin;
    record->ViewXMax = XMax;
    record->ViewYMax = YMax;
    record->FactorX = FactorX;
    record->FactorY = FactorY;
    Map.MapViews.AddItem(std::move(record));
    Pushed = true;
}

void TExportScope::Finish()
{
    Done = true;
    Restore();
    Redraw();
}

void TExportScope::Restore()
{
    if (Pushed && Map.MapViews.GetCount() > ViewCount && Map.MapViews.GoLastItem())
        Map.MapViews.DeleteItem();
    Pushed = false;
    if (ViewIndex >= 0)
        Map.MapViews.GoItem(ViewIndex);
    Map.RasterBits = RasterBits;
    Map.ShowPlansBorders = ShowPlansBorders;
}

void TExportScope::Redraw()
{
    const QSize surface = Map.Ui().SurfaceSize();
    if (!surface.isEmpty()) {
        Map.Draw(surface.width(), surface.height(), 2, ddScreen);
        return;
    }
    // No window to draw for: the picture and the drawing state as they were.
    if (Map.Painter && Map.Painter->Active())
        Map.Painter->End();
    Map.Bitmap = std::move(Picture);
    Map.ScrollX = ScrollX;
    Map.ScrollY = ScrollY;
    Map.DrawH = DrawH;
    Map.DrawDest = DrawDest;
    Map.DrawMode = DrawMode;
    Map.PictureRect = PictureRect;
    Map.DrawAreaMin = DrawAreaMin;
    Map.DrawAreaMax = DrawAreaMax;
    Map.WindowMin = WindowMin;
    Map.WindowMax = WindowMax;
    Map.ViewXMin = ViewXMin;
    Map.ViewYMin = ViewYMin;
    Map.ViewXMax = ViewXMax;
    Map.ViewYMax = ViewYMax;
    Map.FactorX = FactorX;
    Map.FactorY = FactorY;
    Map.OutputScale = OutputScale;
}

int PixelFormatCodeBits(int code)
{
    switch (code) {
    case 1: return 1;
    case 2: return 4;
    case 3: return 8;
    case 5: return 16;
    case 6: return 24;
    default: return 0;
    }
}

bool RasterSizeAllowed(Extended w, Extended h)
{
    if (!std::isfinite(w) || !std::isfinite(h) || w < 1 || h < 1)
        return false;
    if (w > Extended(TGeoMap::MaxRasterSide) || h > Extended(TGeoMap::MaxRasterSide))
        return false;
    return w * h * 4 <= Extended(TGeoMap::MaxRasterBytes);
}

QString RasterSizeText(Extended w, Extended h)
{
    const auto side = [](Extended v) {
        return std::isfinite(v) ? QString::number(double(std::nearbyint(v)), 'f', 0) : QStringLiteral("∞");
    };
    return side(w) + QStringLiteral(" x ") + side(h);
}
