// What the drawing files of the plan share: the pixel of a plan point on the picture,
// and a painter that is open on the picture for as long as a routine paints.
#pragma once

#include "engine/GeoMap.h"
#include "engine/draw/MapPainter.h"

#include <QPointF>

// The unrounded pixel of plan point (x north, y east) on the picture: the transform of
// the drawing's destination plus the scroll offset. The painter clips and rounds it.
inline QPointF PixelOf(const TGeoMap& m, Extended x, Extended y)
{
    Extended xs = 0, ys = 0;
    m.GeoToScrF(m.DrawH, x, y, xs, ys);
    return QPointF(double(xs + m.ScrollX), double(ys + m.ScrollY));
}
inline QPointF PixelOf(const TGeoMap& m, const TGeoPoint& p) { return PixelOf(m, p.X, p.Y); }

// Opens the painter on the picture when no drawing has it open (a routine called on its
// own, between drawings) and closes it again at the end of the scope.
class TPaintScope {
public:
    explicit TPaintScope(TGeoMap& map) : Map(map)
    {
        if (!Map.Painter)
            Map.Painter = std::make_unique<TMapPainter>();
        if (!Map.Painter->Active() && !Map.Bitmap.isNull()) {
            if (Map.Bitmap.format() != QImage::Format_RGB32)
                Map.Bitmap = Map.Bitmap.convertToFormat(QImage::Format_RGB32);
            Map.Painter->Begin(Map.Bitmap);
            Began = true;
        }
    }
    ~TPaintScope()
    {
        if (Began)
            Map.Painter->End();
    }
    TPaintScope(const TPaintScope&) = delete;
    TPaintScope& operator=(const TPaintScope&) = delete;

    bool Open() const { return Map.Painter->Active(); }
    TMapPainter& P() const { return *Map.Painter; }

private:
    TGeoMap& Map;
    bool Began = false;
};
