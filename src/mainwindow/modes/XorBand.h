// A rubber band drawn with a not-xor pen on the surface's canvas: drawn twice with the
// same pen, every pixel is back as it was, so the band moves by erasing its last place
// and drawing the new one. Copying the plan's picture over the canvas wipes the band:
// MarkUndrawn then forgets it without drawing.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QPolygon>

class TXorBand {
public:
    bool Drawn = false;    // the band stands on the canvas at Last
    QPolygon Last;         // its last points, a polyline (two points: a segment)
    QColor Color = Qt::black;
    int Width = 1;
    bool Closed = false;   // the last point joins the first (frames)

    // Erases the band where it stands, then draws it through points.
    void Show(QImage& canvas, const QPolygon& points);
    // Erases the band where it stands.
    void Hide(QImage& canvas);
    // The canvas was repainted from the picture: the band is no longer there.
    void MarkUndrawn() { Drawn = false; }

    // Draws points with the band's not-xor pen, without antialiasing.
    void Paint(QImage& canvas, const QPolygon& points) const;
};
