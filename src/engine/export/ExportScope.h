// What the raster export and printing borrow of the plan document while they draw a page
// or an image: the picture and its depth, the drawing state, the sheet-frame switch and a
// view record pushed on the history. All of it comes back however the export ends, and
// the screen is drawn again; the window itself is never resized, the page size lives only
// in the drawing's own width and height.
#pragma once

#include "engine/GeoMap.h"

class TExportScope {
public:
    explicit TExportScope(TGeoMap& map);
    // An error path: everything back; a failing screen drawing is swallowed so that the
    // export's own error passes on.
    ~TExportScope();
    TExportScope(const TExportScope&) = delete;
    TExportScope& operator=(const TExportScope&) = delete;

    // Appends the view record of the export to the history.
    void PushView(Extended XMin, Extended YMin, Extended XMax, Extended YMax, Extended FactorX,
                  Extended FactorY);
    // The normal end: everything back and the screen drawn in mode 2; raises what the
    // screen drawing raises.
    void Finish();

private:
    void Restore();
    void Redraw();

    TGeoMap& Map;
    bool Done = false;
    std::uint8_t RasterBits;
    std::uint8_t ShowPlansBorders;
    QImage Picture;
    std::int32_t ScrollX, ScrollY;
    int DrawH;
    TDrawDest DrawDest;
    TDrawMode DrawMode;
    QRect PictureRect;
    TGeoPoint DrawAreaMin, DrawAreaMax, WindowMin, WindowMax;
    Extended ViewXMin, ViewYMin, ViewXMax, ViewYMax, FactorX, FactorY;
    std::int32_t OutputScale;
    int ViewCount;
    int ViewIndex;
    bool Pushed = false;
};

// Bits per pixel of a pixel-format code of the export and print windows: 1 → 1, 2 → 4,
// 3 → 8, 5 → 16, 6 → 24; 0 for any other code.
int PixelFormatCodeBits(int code);

// A page or image of w × h pixels within the limits (each side 1 … MaxRasterSide, the
// 32-bit picture at most MaxRasterBytes); sides are taken unrounded so that a size
// beyond any integer is refused too.
bool RasterSizeAllowed(Extended w, Extended h);
// "w x h" for the messages, rounded and readable however large.
QString RasterSizeText(Extended w, Extended h);
