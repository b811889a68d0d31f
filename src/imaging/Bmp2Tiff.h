// The TIFF writer of the plan's raster export: one uncompressed, little-endian image in one
// strip, 300 dots per inch, in one of three fixed layouts chosen by the bitmap's depth:
// bilevel (1 bit), palette (4 and 8 bits) and RGB (15, 16, 24 and 32 bits). The bytes of
// each layout are fixed to the byte; the Software text ends with its NUL, as TIFF's ASCII
// fields must, so every block after it sits one byte later than in the oldest files.
#pragma once

#include "imaging/Bitmap.h"

#include <QString>

class QIODevice;

// Writes the bitmap as one TIFF image from the stream's position; the offsets inside the
// image count from there, so at position 0 they are the file's. The rows are taken from
// the bitmap one at a time, never copied whole; the bitmap is not changed. Raises
// EInvalidGraphic for an empty bitmap, a format no layout holds or an image whose offsets
// pass 4 GB (all before anything is written), EPictureError "Stream write error" when the
// stream takes less than it is given. The position is left after the image.
void WriteTiffToStream(QIODevice& stream, const TBitmap& bitmap);

// Writes the bitmap into the file fileName. The file is replaced only once the whole image
// is in it: on any error an existing file stays as it was and no new one is left behind.
// Raises as WriteTiffToStream does, and EPictureError "Cannot create file %s".
void SaveBitmapAsTiff(const QString& fileName, const TBitmap& bitmap);
