// What the built-in readers share: their entry points, the one allocation of an image
// that refuses a picture too large for memory, and the messages of a broken file.
#pragma once

#include "imaging/PictureRegistry.h"

#include <QFile>

QImage ReadBmpPicture(const QString& path);
QImage ReadJpegPicture(const QString& path);

// The bytes an image of width × height pixels in format takes. Raises EPictureError:
// the picture of path is broken when a size is not positive, too large when the image
// exceeds PictureMemoryLimit. Nothing is allocated.
std::int64_t CheckPictureSize(const QString& path, int width, int height, QImage::Format format);

// A new image of width × height pixels in format, or EPictureError as CheckPictureSize
// raises it, or too large when the image cannot be allocated. The pixels are not
// initialised.
QImage NewPictureImage(const QString& path, int width, int height, QImage::Format format);

// Refuses, before anything is allocated, a picture whose data the file cannot hold:
// needed bytes of rows (verbatim rows, or the least a coding can pack them in) against
// held bytes the file has for them. Raises "Файл рисунка "<path>" поврежден: рисунок
// <width>×<height> точек требует <needed> байт данных, а в файле их <held>".
void CheckPictureData(const QString& path, std::int64_t width, std::int64_t height, std::uint64_t needed,
                      std::int64_t held);

// "Рисунок "<path>" размером <width>×<height> точек слишком велик: ...".
[[noreturn]] void RaisePictureTooLarge(const QString& path, std::int64_t width, std::int64_t height);

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
