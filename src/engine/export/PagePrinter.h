// A printed page on any paged device: the program's printer (QPrinter) or a PDF file
// (QPdfWriter). The window's engine services print through these.
#pragma once

#include <QImage>
#include <QSize>

class QPagedPaintDevice;

// The device's page in its own pixels.
QSize PageDevicePixels(const QPagedPaintDevice& device);
// One document of one page: picture stretched over the whole page. Raises when the
// device cannot be opened.
void PrintOnPageDevice(QPagedPaintDevice& device, const QImage& picture);
