// The JPEG writer over libjpeg's encoder: the plan's raster export and the crash
// reporter's screenshot. Every picture is written as 8-bit RGB (baseline, the encoder's
// default chroma sampling), whatever the format it is held in.
#pragma once

#include "imaging/Bitmap.h"

#include <QImage>
#include <QString>

class QIODevice;

// libjpeg's own default; the raster export writes at it, the screenshot at 100.
constexpr int DefaultJpegQuality = 75;
// The density the JFIF header states, in dots per inch: the raster export's, which its
// BMP and TIFF files state as well. 0 states none (an aspect ratio of 1:1 only).
constexpr int DefaultJpegDotsPerInch = 300;

// Writes image as one JPEG from the stream's position. quality: 1 to 100. The image is
// converted to RGB a band of rows at a time, never copied whole; alpha is dropped, each
// pixel keeping its colour however transparent (the format holds no alpha). Raises
// EInvalidGraphic for an empty image, one wider or taller than the format's 65,500
// pixels, a quality outside 1 to 100 or a density outside 0 to 65535 dots per inch (all
// before anything is written), EPictureError when the stream takes less than it is given
// or the encoder fails, naming what.
void WriteJpegToStream(QIODevice& stream, const QImage& image, int quality = DefaultJpegQuality,
                       int dotsPerInch = DefaultJpegDotsPerInch);

// Writes image into the file fileName. The file is replaced only once the whole image is
// in it: on any error an existing file stays as it was and no new one is left behind.
// Raises as WriteJpegToStream does, the file named in each message.
void SaveImageAsJpeg(const QString& fileName, const QImage& image,
                     int quality = DefaultJpegQuality, int dotsPerInch = DefaultJpegDotsPerInch);

// The same for the pixels of bitmap (any of its formats).
void SaveBitmapAsJpeg(const QString& fileName, const TBitmap& bitmap,
                      int quality = DefaultJpegQuality, int dotsPerInch = DefaultJpegDotsPerInch);
