// Loading a picture through the reader its extension names, and the memory check every
// reader allocates its image through.
#include "imaging/PictureReaders.h"

#include <QFileInfo>

#include <algorithm>
#include <unistd.h>

namespace {

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

QImage LoadPictureFile(const QString& path)
{
    const QString ext = QFileInfo(path).suffix();
    const TFileFormatList& list = FileFormatList();
    const int index = list.IndexOfExtension(ext);
    if (index < 0)
        throw EPictureError(QStringLiteral("Неизвестное расширение файла рисунка (.%1): \"%2\"")
                                .arg(ext, path));
    const TExtensionEntry& entry = *list.Extensions()[std::size_t(index)];
    const TPictureReader read = entry.Class->GraphicClass->Read;
    if (!read)
        throw EPictureError(QStringLiteral("Рисунки формата \"%1\" (.%2) не читаются: \"%3\"")
                                .arg(list.DescriptionOf(entry), ext, path));
    // A reader class answers a file that is not of its format, or holds no pixels, with
    // an empty picture; an underlay cannot show one, so the user is told.
    QImage image = read(path);
    if (image.isNull())
        RaiseBrokenPicture(path, QStringLiteral("изображения в нем нет"));
    return image;
}

std::int64_t PictureMemoryLimit()
{
    if (MemoryLimitSet > 0)
        return MemoryLimitSet;
    std::int64_t available = AvailableMemory();
    if (available < 0) {
        const long pages = sysconf(_SC_PHYS_PAGES);
        const long pageSize = sysconf(_SC_PAGESIZE);
        available = pages > 0 && pageSize > 0 ? std::int64_t(pages) * pageSize : MaxPictureBytes;
    }
    return std::min(available, MaxPictureBytes);
}

void SetPictureMemoryLimit(std::int64_t bytes) { MemoryLimitSet = std::max<std::int64_t>(bytes, 0); }

std::int64_t CheckPictureSize(const QString& path, int width, int height, QImage::Format format)
{
    if (width <= 0 || height <= 0)
        RaiseBrokenPicture(path, QStringLiteral("неверные размеры %1×%2").arg(width).arg(height));
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    const std::int64_t bytesPerLine = (std::int64_t(width) * depth + 31) / 32 * 4;
    if (height > PictureMemoryLimit() / bytesPerLine)
        RaisePictureTooLarge(path, width, height);
    return bytesPerLine * height;
}

QImage NewPictureImage(const QString& path, int width, int height, QImage::Format format)
{
    CheckPictureSize(path, width, height, format);
    QImage image(width, height, format);
    if (image.isNull())
        RaisePictureTooLarge(path, width, height);
    return image;
}

void CheckPictureData(const QString& path, std::int64_t width, std::int64_t height, std::uint64_t needed,
                      std::int64_t held)
{
    if (held >= 0 && needed <= std::uint64_t(held))
        return;
    RaiseBrokenPicture(path, QStringLiteral("рисунок %1×%2 точек требует %3 байт данных, а в файле их %4")
                                 .arg(width)
                                 .arg(height)
                                 .arg(needed)
                                 .arg(std::max<std::int64_t>(held, 0)));
}

void RaisePictureTooLarge(const QString& path, std::int64_t width, std::int64_t height)
{
    throw EPictureError(QStringLiteral("Рисунок \"%1\" размером %2×%3 точек слишком велик: "
                                       "для него не хватает памяти")
                            .arg(path)
                            .arg(width)
                            .arg(height));
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
