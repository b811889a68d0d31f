#include "engine/export/PagePrinter.h"

#include "foundation/ErrorTrail.h"

#include <QPagedPaintDevice>
#include <QPainter>

QSize PageDevicePixels(const QPagedPaintDevice& device)
{
    return {device.width(), device.height()};
}

void PrintOnPageDevice(QPagedPaintDevice& device, const QImage& picture)
{
    QPainter painter;
    if (!painter.begin(&device))
        throw Exception(QStringLiteral("Не удалось начать печать"));
    painter.drawImage(QRect(QPoint(0, 0), PageDevicePixels(device)), picture);
    if (!painter.end())
        throw Exception(QStringLiteral("Не удалось завершить печать"));
}
