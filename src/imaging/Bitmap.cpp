// The bitmap the readers fill: each reader layout mapped onto the QImage format with the
// same bytes, and 4-bit rows expanded to 8 bits as they are written.
#include "imaging/Bitmap.h"

#include "imaging/ImageGraphic.h"
#include "imaging/PictureReaders.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

QImage::Format ImageFormatOf(TPixelFormat format)
{
    switch (format) {
    case pf1bit:
        return QImage::Format_Mono;
    case pf4bit:
    case pf8bit:
        return QImage::Format_Indexed8;
    case pf15bit:
        return QImage::Format_RGB555;
    case pf16bit:
        return QImage::Format_RGB16;
    case pf24bit:
        return QImage::Format_BGR888;
    case pfDevice:
    case pf32bit:
        return QImage::Format_RGB32;
    case pfCustom:
        break;
    }
    return QImage::Format_Invalid;
}

// Black to white: what an index shows until the reader gives its colour table.
QList<QRgb> GreyRamp(int count)
{
    QList<QRgb> colors;
    for (int i = 0; i < count; ++i) {
        const int v = count > 1 ? i * 255 / (count - 1) : 0;
        colors.append(qRgb(v, v, v));
    }
    return colors;
}

}  // namespace

int PixelFormatBits(TPixelFormat format)
{
    static constexpr int bits[] = {32, 1, 4, 8, 16, 16, 24, 32, 0};
    return bits[format];
}

void TBitmap::Assign(const TBitmap& source)
{
    if (&source == this)
        return;
    source.CommitNibbles();
    CommitNibbles();
    Format = source.Format;
    Picture = source.Picture;
    Colors = source.Colors;
    TransparentColor = source.TransparentColor;
    Transparent = source.Transparent;
    Name = source.Name;
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == pfDevice)
        format = pf32bit;
    if (format == Format)
        return;
    Format = format;
    const int width = Width();
    const int height = Height();
    Picture = QImage();
    if (width > 0 && height > 0)
        SetSize(width, height);
}

void TBitmap::SetSize(int width, int height)
{
    Nibbles.clear();
    NibbleRow = -1;
    if (width == 0 && height == 0) {
        Picture = QImage();
        return;
    }
    const QImage::Format format = ImageFormatOf(Format);
    if (format == QImage::Format_Invalid)
        RaiseGraphicError(QStringLiteral("Bitmap pixel format is not supported."));
    Picture = NewPictureImage(Name, width, height, format);
    Picture.fill(0);
    ApplyColors();
    if (Format == pf4bit)
        Nibbles.assign(std::size_t(width + 1) / 2, 0);
}

int TBitmap::BytesPerLine() const
{
    if (Format == pf4bit)
        return (Width() + 1) / 2;
    return int(Picture.bytesPerLine());
}

std::uint8_t* TBitmap::ScanLine(int y)
{
    if (y < 0 || y >= Height())
        return nullptr;
    if (Format != pf4bit)
        return Picture.scanLine(y);
    CommitNibbles();
    // The row is packed from what it holds, so a reader that writes part of it (an
    // interlace pass) keeps the rest.
    const std::uint8_t* row = Picture.constScanLine(y);
    const int width = Width();
    for (int x = 0; x < width; x += 2) {
        const int low = x + 1 < width ? row[x + 1] & 0x0F : 0;
        Nibbles[std::size_t(x / 2)] = std::uint8_t((row[x] & 0x0F) << 4 | low);
    }
    NibbleRow = y;
    return Nibbles.data();
}

void TBitmap::CommitNibbles() const
{
    if (NibbleRow < 0)
        return;
    std::uint8_t* row = Picture.scanLine(NibbleRow);
    const int width = Width();
    for (int x = 0; x < width; ++x) {
        const std::uint8_t pair = Nibbles[std::size_t(x / 2)];
        row[x] = (x & 1) ? pair & 0x0F : pair >> 4;
    }
    NibbleRow = -1;
}

void TBitmap::SetColorTable(const QList<QRgb>& colors)
{
    Colors = colors.mid(0, 256);
    ApplyColors();
}

void TBitmap::ApplyColors()
{
    if (Picture.isNull() || (Format != pf1bit && Format != pf4bit && Format != pf8bit))
        return;
    const int needed = Format == pf1bit ? 2 : Format == pf4bit ? 16 : 256;
    QList<QRgb> table = Colors.isEmpty() ? GreyRamp(needed) : Colors.mid(0, needed);
    // Every index a row can hold has a colour: Qt draws an index past the table as it likes.
    while (table.size() < needed)
        table.append(qRgb(0, 0, 0));
    Picture.setColorTable(table);
}

const QImage& TBitmap::Image() const
{
    CommitNibbles();
    return Picture;
}

QImage TBitmap::TakeImage()
{
    CommitNibbles();
    Nibbles.clear();
    return std::exchange(Picture, QImage());
}
