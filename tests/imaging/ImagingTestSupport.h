// Pictures for the reader tests, built byte by byte so that each case shows the part of
// the format it exercises: a BMP writer of every header, depth and coding, and a JPEG
// encoder over libjpeg.
#pragma once

#include "imaging/PictureRegistry.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

// The message a load raises, or "" when it raises nothing.
inline QString PictureErrorOf(const QString& path)
{
    try {
        LoadPictureFile(path);
    } catch (const EPictureError& e) {
        return e.Message;
    }
    return QString();
}

// The picture of reference bytes as the fixture scripts write them: width and height
// (two bytes each, low first), then R, G, B bytes per pixel; null when the size is off.
inline QImage RgbPicture(const QByteArray& data)
{
    if (data.size() < 4)
        return QImage();
    const auto* e = reinterpret_cast<const uchar*>(data.constData());
    const int width = e[0] | e[1] << 8;
    const int height = e[2] | e[3] << 8;
    if (data.size() != 4 + 3 * width * height)
        return QImage();
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uchar* p = e + 4 + 3 * (y * width + x);
            image.setPixel(x, y, qRgb(p[0], p[1], p[2]));
        }
    return image;
}

inline void PutU16(QByteArray& b, std::uint32_t v)
{
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

inline void PutU32(QByteArray& b, std::uint32_t v)
{
    PutU16(b, v & 0xFFFF);
    PutU16(b, v >> 16);
}

// A BMP file: header of HeaderSize bytes (12 the OS/2 core header, 40, 108 or 124),
// the masks after a 40-byte header when the coding uses them, the palette, then
// Pixels exactly as given (rows as stored, padding included).
struct TBmpBytes {
    int HeaderSize = 40;
    std::int32_t Width = 1;
    std::int32_t Height = 1;        // negative: rows stored top-down
    int BitCount = 24;
    std::uint32_t Compression = 0;
    std::uint32_t ColorsUsed = 0;
    QList<QRgb> Palette;
    std::array<std::uint32_t, 3> Masks{};
    QByteArray Pixels;

    QByteArray Bytes() const
    {
        QByteArray info;
        PutU32(info, std::uint32_t(HeaderSize));
        if (HeaderSize == 12) {
            PutU16(info, std::uint32_t(Width));
            PutU16(info, std::uint32_t(Height));
            PutU16(info, 1);
            PutU16(info, std::uint32_t(BitCount));
        } else {
            PutU32(info, std::uint32_t(Width));
            PutU32(info, std::uint32_t(Height));
            PutU16(info, 1);
            PutU16(info, std::uint32_t(BitCount));
            PutU32(info, Compression);
            PutU32(info, std::uint32_t(Pixels.size()));
            PutU32(info, 2835);
            PutU32(info, 2835);
            PutU32(info, ColorsUsed);
            PutU32(info, 0);
            const bool masked = Compression == 3;
            if (HeaderSize > 40 || masked)
                for (std::uint32_t m : Masks)
                    PutU32(info, m);
            while (info.size() < HeaderSize + (HeaderSize == 40 && masked ? 12 : 0))
                info.append('\0');
        }
        for (QRgb c : Palette) {
            info.append(char(qBlue(c)));
            info.append(char(qGreen(c)));
            info.append(char(qRed(c)));
            if (HeaderSize != 12)
                info.append('\0');
        }
        QByteArray file("BM");
        PutU32(file, std::uint32_t(14 + info.size() + Pixels.size()));
        PutU32(file, 0);
        PutU32(file, std::uint32_t(14 + info.size()));
        return file + info + Pixels;
    }
};

// A little-endian TIFF of one strip, so that each case shows one coding or one fault:
// width × height samples of bits each, one sample a pixel, the strip's byte count the
// given one (-1: the strip's size).
inline QByteArray OneStripTiff(int width, int height, int bits, int compression, int photometric,
                               const QByteArray& strip, qint64 byteCount = -1)
{
    const std::uint32_t tags[][3] = {   // tag, type, value
        {256, 4, std::uint32_t(width)}, {257, 4, std::uint32_t(height)}, {258, 3, std::uint32_t(bits)},
        {259, 3, std::uint32_t(compression)}, {262, 3, std::uint32_t(photometric)},
        {273, 4, 8}, {277, 3, 1}, {278, 4, std::uint32_t(height)},
        {279, 4, std::uint32_t(byteCount < 0 ? strip.size() : byteCount)}};
    QByteArray b("II\x2A\0", 4);
    PutU32(b, std::uint32_t(8 + strip.size()));
    b += strip;
    PutU16(b, std::uint32_t(std::size(tags)));
    for (const auto& [tag, type, value] : tags) {
        PutU16(b, tag);
        PutU16(b, type);
        PutU32(b, 1);
        PutU32(b, value);   // a SHORT in the low half, as little-endian files hold it
    }
    PutU32(b, 0);
    return b;
}

// Bytes as written, from a list of byte values (clearer than escapes in a literal).
inline QByteArray ByteList(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

// The image encoded as JPEG at quality 100: RGB888 or Grayscale8 as given, or, with
// cmyk, each pixel's red, green, blue and alpha written as the four CMYK samples in
// Adobe's inverted convention; with progressive, in the usual series of scans.
QByteArray EncodeJpeg(const QImage& image, bool cmyk = false, bool progressive = false);

class PictureFiles : public ::testing::Test {
protected:
    void TearDown() override { SetPictureMemoryLimit(0); }

    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = Dir.path() + QLatin1Char('/') + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return path;
    }

    QTemporaryDir Dir;
};
