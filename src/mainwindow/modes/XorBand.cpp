#include "mainwindow/modes/XorBand.h"

#include "engine/draw/MapPainter.h"

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

void TXorBand::Paint(QImage& canvas, const TBandFigure& figure)
{
    if (figure.empty() || canvas.isNull())
        return;
    TMapPainter painter;
    painter.Begin(canvas);
    painter.SetBrushClear();
    std::vector<QPointF> points;
    for (const TBandStroke& stroke : figure) {
        if (stroke.Points.isEmpty())
            continue;
        painter.SetPen(stroke.Color, pmNotXor, stroke.Style, stroke.Width);
        if (stroke.Ellipse) {
            if (stroke.Points.size() >= 2)
                painter.Ellipse(stroke.Points[0], stroke.Points[1]);
            continue;
        }
        points.assign(stroke.Points.begin(), stroke.Points.end());
        if (stroke.Closed && points.size() > 2)
            points.push_back(points.front());
        // One stroke, so no corner is drawn twice (and so xor-ed away); a dashed pen still
        // restarts its pattern at every segment, as the screen's own pens do.
        painter.Polyline(points, false);
    }
    painter.End();
}

void TXorBand::Show(QImage& canvas, const QPolygon& points)
{
    Hide(canvas);
    Paint(canvas, points);
    Last = points;
    LastFigure.clear();
    Drawn = true;
}

void TXorBand::Show(QImage& canvas, const TBandFigure& figure)
{
    Hide(canvas);
    Paint(canvas, figure);
    LastFigure = figure;
    Last.clear();
    Drawn = true;
}

void TXorBand::Hide(QImage& canvas)
{
    if (Drawn) {
        if (!LastFigure.empty())
            Paint(canvas, LastFigure);
        else
            Paint(canvas, Last);
    }
    Drawn = false;
}
