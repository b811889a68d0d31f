#include "imaging/BmpWriter.h"

#include "imaging/DepthReducer.h"
#include "imaging/ImageGraphic.h"

#include <QIODevice>
#include <QSaveFile>

#include <limits>
#include <vector>

namespace {

void Put16(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}
void Put32(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

void WriteAll(QIODevice& stream, const void* data, qint64 size)
{
    if (stream.write(static_cast<const char*>(data), size) != size)
        throw EPictureError(QStringLiteral("Ошибка записи в поток"));
}

// 300 dots per inch in pixels per metre, as the export's files have always said.
constexpr std::uint32_t PixelsPerMetre = 11811;

}  // namespace

void WriteBmpToStream(QIODevice& stream, const QImage& image, int bits)
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        throw EInvalidGraphic(QStringLiteral("Пустой рисунок не записывается в BMP"));
    const TDepthReducer reducer(bits);
    const int w = image.width(), h = image.height();
    const qint64 stride = (qint64(w) * bits + 31) / 32 * 4;
    const qint64 colours = reducer.Palette().size();
    const qint64 offset = 14 + 40 + colours * 4;
    const qint64 fileSize = offset + stride * h;
    if (fileSize > std::numeric_limits<std::uint32_t>::max())
        throw EInvalidGraphic(QStringLiteral("Рисунок %1 x %2 слишком велик для файла BMP").arg(w).arg(h));

    std::vector<std::uint8_t> head;
    head.reserve(std::size_t(offset));
    head.push_back('B');
    head.push_back('M');
    Put32(head, std::uint32_t(fileSize));
    Put32(head, 0);
    Put32(head, std::uint32_t(offset));
    Put32(head, 40);
    Put32(head, std::uint32_t(w));
    Put32(head, std::uint32_t(h));   // positive: the bottom row comes first
    Put16(head, 1);
    Put16(head, std::uint32_t(bits));
    Put32(head, 0);                  // no compression
    Put32(head, std::uint32_t(stride * h));
    Put32(head, PixelsPerMetre);
    Put32(head, PixelsPerMetre);
    Put32(head, std::uint32_t(colours));
    Put32(head, 0);
    for (QRgb c : reducer.Palette()) {
        head.push_back(std::uint8_t(qBlue(c)));
        head.push_back(std::uint8_t(qGreen(c)));
        head.push_back(std::uint8_t(qRed(c)));
        head.push_back(0);
    }
    WriteAll(stream, head.data(), qint64(head.size()));

    const bool direct = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
    std::vector<std::uint8_t> row(std::size_t(stride), 0);
    for (int y = h - 1; y >= 0; --y) {
        if (direct) {
            reducer.PackRow(reinterpret_cast<const QRgb*>(image.constScanLine(y)), w, row.data());
        } else {
            const QImage line = image.copy(0, y, w, 1).convertToFormat(QImage::Format_RGB32);
            reducer.PackRow(reinterpret_cast<const QRgb*>(line.constScanLine(0)), w, row.data());
        }
        WriteAll(stream, row.data(), stride);
    }
}

void SaveImageAsBmp(const QString& fileName, const QImage& image, int bits)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EPictureError(QStringLiteral("Не удается создать файл %1 (%2)").arg(fileName, file.errorString()));
    try {
        WriteBmpToStream(file, image, bits);
    } catch (const EPictureError& e) {
        file.cancelWriting();
        throw EPictureError(e.Message + QStringLiteral(": ") + fileName);
    }
    if (!file.commit())
        throw EPictureError(QStringLiteral("Ошибка записи файла %1 (%2)").arg(fileName, file.errorString()));
}
