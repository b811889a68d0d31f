// A rubber band drawn with a not-xor pen on the surface's canvas: drawn twice with the
// same pen, every pixel is back as it was, so the band moves by erasing its last place
// and drawing the new one. Copying the plan's picture over the canvas wipes the band:
// MarkUndrawn then forgets it without drawing.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QPolygon>
#include <cstdint>
#include <vector>

// One stroke of a band: a polyline (closed: back to its first point) or the ellipse in
// the box of its first two points (right and bottom edge excluded), in a stored colour
// (0x00BBGGRR), a pen style of the plan painter (0 solid, 1 dash, 2 dot, 3 dash-dot,
// 4 dash-dot-dot) and a width in pixels.
struct TBandStroke {
    QPolygon Points;
    std::int32_t Color = 0;
    std::uint8_t Style = 0;
    int Width = 1;
    bool Closed = false;
    bool Ellipse = false;
};
// A band of several strokes, drawn in order.
using TBandFigure = std::vector<TBandStroke>;

class TXorBand {
public:
    bool Drawn = false;    // the band stands on the canvas at Last
    QPolygon Last;         // its last points, a polyline (two points: a segment)
    TBandFigure LastFigure;   // or its last figure, when it was shown as one
    QColor Color = Qt::black;
    int Width = 1;
    bool Closed = false;   // the last point joins the first (frames)

    // Erases the band where it stands, then draws it through points.
    void Show(QImage& canvas, const QPolygon& points);
    // Erases the band where it stands, then draws figure.
    void Show(QImage& canvas, const TBandFigure& figure);
    // Erases the band where it stands.
    void Hide(QImage& canvas);
    // The canvas was repainted from the picture: the band is no longer there.
    void MarkUndrawn() { Drawn = false; }

    // Draws points with the band's not-xor pen, without antialiasing.
    void Paint(QImage& canvas, const QPolygon& points) const;
    // Draws figure with not-xor pens through the plan painter (its dash patterns).
    static void Paint(QImage& canvas, const TBandFigure& figure);
};
