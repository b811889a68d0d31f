// The Windows bitmap writer of the plan's raster export: an uncompressed BMP (info
// header of 40 bytes, bottom row first) at 1, 4, 8, 16 (5-5-5) or 24 bits per pixel, the
// pixels reduced to the nearest colour of the depth (imaging/DepthReducer.h).
#pragma once

#include <QImage>
#include <QString>

class QIODevice;

// Writes image (any format; taken one row at a time as 32-bit colours) from the stream's
// position. Raises EInvalidGraphic for an empty image, a depth other than the five or a
// file that would pass 4 GB (all before anything is written), EPictureError when the
// stream takes less than it is given.
void WriteBmpToStream(QIODevice& stream, const QImage& image, int bits);
// Writes image into fileName, replacing the file only once the whole image is in it: on
// any error an existing file stays as it was and no new one is left behind. Raises as
// WriteBmpToStream does, the file named in each message.
void SaveImageAsBmp(const QString& fileName, const QImage& image, int bits);
