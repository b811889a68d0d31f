// Raster pictures read by their file's extension: the registry of image readers that
// raster underlays are loaded through. BMP and JPEG are built in; further formats
// register their readers here at start-up. Every reader returns the whole image or
// raises EPictureError with a message the user will read; none writes to the console,
// ends the program or returns half an image.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <exception>

// A picture that cannot be read: unknown format, unreadable or broken file, or an image
// too large for the memory left. Message is Russian; what() gives it as UTF-8.
class EPictureError : public std::exception {
public:
    explicit EPictureError(QString message);
    const char* what() const noexcept override { return Utf8.constData(); }

    QString Message;

private:
    QByteArray Utf8;
};

// Reads the file at path (an existing file, named as on disk) in one format.
using TPictureReader = QImage (*)(const QString& path);

// Registers reader for the extension ext, given without the dot; letter case is
// ignored. A later registration of the same extension replaces the earlier one.
void RegisterPictureFormat(const QString& ext, TPictureReader reader);
// Whether a reader is registered for ext (without the dot, case ignored).
bool PictureFormatRegistered(const QString& ext);
// The registered extensions, lower case, sorted.
QStringList RegisteredPictureExtensions();

// Reads the picture at path with the reader of its extension (case ignored). Raises
// EPictureError: "Неизвестное расширение файла рисунка" for an extension no reader
// has, and the reader's message for a file that cannot be opened, is broken or is too
// large for memory. The image is in a format QPainter draws directly (indexed, mono,
// grayscale, RGB888 or RGB32).
QImage LoadPictureFile(const QString& path);

// The largest image in bytes that a reader allocates: the memory available to the
// process now (available memory and free swap). Tests set a limit; 0 restores this.
std::int64_t PictureMemoryLimit();
void SetPictureMemoryLimit(std::int64_t bytes);
