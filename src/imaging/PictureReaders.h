// What the built-in readers share: their entry points, the one allocation of an image
// that refuses a picture too large for memory, and the messages of a broken file.
#pragma once

#include "imaging/PictureRegistry.h"

#include <QFile>

QImage ReadBmpPicture(const QString& path);
QImage ReadJpegPicture(const QString& path);

// A new image of width × height pixels in format, or EPictureError saying the picture
// of path is too large when it exceeds PictureMemoryLimit or cannot be allocated.
// The pixels are not initialised.
QImage NewPictureImage(const QString& path, int width, int height, QImage::Format format);

// "Файл рисунка "<path>" поврежден: <reason>".
[[noreturn]] void RaiseBrokenPicture(const QString& path, const QString& reason);

// The whole file, mapped when the file system allows it, else read. Raises
// EPictureError when the file cannot be opened or read.
class TPictureFileBytes {
public:
    explicit TPictureFileBytes(const QString& path);
    TPictureFileBytes(const TPictureFileBytes&) = delete;
    TPictureFileBytes& operator=(const TPictureFileBytes&) = delete;

    const uchar* Data() const { return Bytes; }
    qint64 Size() const { return Length; }

private:
    QFile File;
    QByteArray Buffer;          // used when the file cannot be mapped
    const uchar* Bytes = nullptr;
    qint64 Length = 0;
};
