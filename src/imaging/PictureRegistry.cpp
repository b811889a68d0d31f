// The registry of image readers by extension, the built-in BMP and JPEG readers
// registered on first use (a static library drops registrations nobody references),
// and the memory check every reader allocates its image through.
#include "imaging/PictureReaders.h"

#include <QFileInfo>

#include <algorithm>
#include <map>
#include <unistd.h>

namespace {

using TReaderTable = std::map<QString, TPictureReader>;

TReaderTable& Readers()
{
    static TReaderTable table = [] {
        TReaderTable t;
        t[QStringLiteral("bmp")] = &ReadBmpPicture;
        t[QStringLiteral("jpg")] = &ReadJpegPicture;
        t[QStringLiteral("jpeg")] = &ReadJpegPicture;
        return t;
    }();
    return table;
}

std::int64_t MemoryLimitSet = 0;

// "MemAvailable" and "SwapFree" of the kernel, in bytes; -1 when not readable.
std::int64_t AvailableMemory()
{
    QFile f(QStringLiteral("/proc/meminfo"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    std::int64_t available = -1;
    std::int64_t swapFree = 0;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const QByteArray key = line.left(colon);
        QByteArray value = line.mid(colon + 1).trimmed();
        if (value.endsWith(" kB"))
            value.chop(3);
        bool ok = false;
        const std::int64_t kb = value.trimmed().toLongLong(&ok);
        if (!ok)
            continue;
        if (key == "MemAvailable")
            available = kb * 1024;
        else if (key == "SwapFree")
            swapFree = kb * 1024;
    }
    return available < 0 ? -1 : available + swapFree;
}

}  // namespace

EPictureError::EPictureError(QString message) : Message(std::move(message)), Utf8(Message.toUtf8())
{
}

void RegisterPictureFormat(const QString& ext, TPictureReader reader)
{
    if (reader)
        Readers()[ext.toLower()] = reader;
}

bool PictureFormatRegistered(const QString& ext)
{
    return Readers().count(ext.toLower()) != 0;
}

QStringList RegisteredPictureExtensions()
{
    QStringList list;
    for (const auto& entry : Readers())
        list.append(entry.first);
    return list;
}

QImage LoadPictureFile(const QString& path)
{
    const QString ext = QFileInfo(path).suffix();
    const auto found = Readers().find(ext.toLower());
    if (found == Readers().end())
        throw EPictureError(QStringLiteral("Неизвестное расширение файла рисунка (.%1): \"%2\"")
                                .arg(ext, path));
    return found->second(path);
}

std::int64_t PictureMemoryLimit()
{
    if (MemoryLimitSet > 0)
        return MemoryLimitSet;
    const std::int64_t available = AvailableMemory();
    if (available >= 0)
        return available;
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? std::int64_t(pages) * pageSize : INT64_MAX;
}

void SetPictureMemoryLimit(std::int64_t bytes) { MemoryLimitSet = std::max<std::int64_t>(bytes, 0); }

QImage NewPictureImage(const QString& path, int width, int height, QImage::Format format)
{
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    const std::int64_t bytesPerLine = (std::int64_t(width) * depth + 31) / 32 * 4;
    const auto tooLarge = [&] {
        return EPictureError(QStringLiteral("Рисунок \"%1\" размером %2×%3 точек слишком велик: "
                                            "для него не хватает памяти")
                                 .arg(path)
                                 .arg(width)
                                 .arg(height));
    };
    if (bytesPerLine <= 0 || height <= 0 || height > PictureMemoryLimit() / bytesPerLine)
        throw tooLarge();
    QImage image(width, height, format);
    if (image.isNull())
        throw tooLarge();
    return image;
}

void RaiseBrokenPicture(const QString& path, const QString& reason)
{
    throw EPictureError(QStringLiteral("Файл рисунка \"%1\" поврежден: %2").arg(path, reason));
}

TPictureFileBytes::TPictureFileBytes(const QString& path) : File(path)
{
    if (!File.open(QIODevice::ReadOnly))
        throw EPictureError(QStringLiteral("Не удается открыть файл рисунка \"%1\": %2")
                                .arg(path, File.errorString()));
    Length = File.size();
    if (Length > 0)
        Bytes = File.map(0, Length);
    if (!Bytes) {
        Buffer = File.readAll();
        if (Buffer.size() != Length)
            throw EPictureError(QStringLiteral("Не удается прочитать файл рисунка \"%1\": %2")
                                    .arg(path, File.errorString()));
        Bytes = reinterpret_cast<const uchar*>(Buffer.constData());
    }
}
