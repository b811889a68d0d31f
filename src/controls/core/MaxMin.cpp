// Small integer and rectangle helpers of the control library.
#include "controls/core/MaxMin.h"

#include <QRegion>

bool PointInsideRect(const QPoint& p, const QRect& r)
{
    return r.left() <= p.x() && p.x() <= r.right() && r.top() <= p.y() && p.y() <= r.bottom();
}

bool PointInsidePolygon(const QPoint& p, const QPoint* points, int lastIndex)
{
    if (points == nullptr || lastIndex < 2)
        return false;
    QPolygon polygon(lastIndex + 1);
    for (int i = 0; i <= lastIndex; ++i)
        polygon[i] = points[i];
    return QRegion(polygon, Qt::WindingFill).contains(p);
}

bool PointInsidePolygon(const QPoint& p, const QPolygon& polygon)
{
    return PointInsidePolygon(p, polygon.constData(), int(polygon.size()) - 1);
}
