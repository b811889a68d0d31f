#include "mainwindow/modes/XorBand.h"

#include <QPainter>

void TXorBand::Paint(QImage& canvas, const QPolygon& points) const
{
    if (points.isEmpty() || canvas.isNull())
        return;
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    painter.setPen(QPen(Color, Width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    if (points.size() == 1)
        painter.drawPoint(points.first());
    else if (Closed)
        painter.drawPolygon(points);
    else
        painter.drawPolyline(points);
}

void TXorBand::Show(QImage& canvas, const QPolygon& points)
{
    Hide(canvas);
    Paint(canvas, points);
    Last = points;
    Drawn = true;
}

void TXorBand::Hide(QImage& canvas)
{
    if (Drawn)
        Paint(canvas, Last);
    Drawn = false;
}
