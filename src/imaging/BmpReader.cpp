// The BMP reader: Windows and OS/2 bitmaps of 1, 2, 4, 8, 16, 24 and 32 bits, plain,
// with colour masks or run-length coded (RLE8, RLE4), bottom-up or top-down. Scans of a
// sheet run to hundreds of megabytes, so the file is mapped rather than copied, the
// image keeps the file's depth where it can (1 bit stays 1 bit, a palette stays
// indexed, 24 bits stay 24), and no size limit applies but the memory left.
#include "imaging/PictureReaders.h"

#include <QList>

#include <array>
#include <bit>
#include <cstring>

namespace {

enum : std::uint32_t {
    biRgb = 0,
    biRle8 = 1,
    biRle4 = 2,
    biBitFields = 3,
    biAlphaBitFields = 6,
};

std::uint32_t U16(const uchar* p) { return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8; }

std::uint32_t U32(const uchar* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

// One colour channel of a masked pixel, scaled to 0..255.
class TChannel {
public:
    explicit TChannel(std::uint32_t mask)
        : Mask(mask), Shift(mask ? std::countr_zero(mask) : 0),
          Bits(mask ? std::popcount(mask) : 0)
    {
    }
    uchar Of(std::uint32_t pixel) const
    {
        if (Bits == 0)
            return 0;
        const std::uint32_t v = (pixel & Mask) >> Shift;
        if (Bits >= 8)
            return uchar(v >> (Bits - 8));
        const std::uint32_t max = (1u << Bits) - 1;
        return uchar((v * 255 + max / 2) / max);
    }

private:
    std::uint32_t Mask;
    int Shift;
    int Bits;
};

struct RBmpHeader {
    std::int64_t Width = 0;
    std::int64_t Height = 0;
    bool TopDown = false;
    int BitCount = 0;
    std::uint32_t Compression = biRgb;
    std::array<std::uint32_t, 3> Masks{};   // red, green, blue
    QList<QRgb> Palette;                    // 1 << BitCount entries for 8 bits and less
    std::int64_t DataOffset = 0;
};

class TBmpReader {
public:
    explicit TBmpReader(const QString& path) : Path(path), File(path) {}

    QImage Read()
    {
        ReadHeader();
        if (H.Compression == biRle8 || H.Compression == biRle4)
            return ReadRle();
        return ReadRows();
    }

private:
    [[noreturn]] void Broken(const QString& reason) const { RaiseBrokenPicture(Path, reason); }

    [[noreturn]] void Unsupported(const QString& what) const
    {
        throw EPictureError(
            QStringLiteral("Рисунок BMP \"%1\" не читается: %2 не поддерживается").arg(Path, what));
    }

    void ReadHeader()
    {
        const uchar* d = File.Data();
        const std::int64_t size = File.Size();
        if (size < 2 || d[0] != 'B' || d[1] != 'M')
            Broken(QStringLiteral("это не рисунок BMP"));
        if (size < 14 + 12)
            Broken(QStringLiteral("заголовок обрезан"));
        const std::int64_t headerSize = U32(d + 14);
        const uchar* h = d + 14;
        if (headerSize != 12 && headerSize < 40)
            Unsupported(QStringLiteral("заголовок длиной %1 байт").arg(headerSize));
        if (14 + headerSize > size)
            Broken(QStringLiteral("заголовок обрезан"));

        int paletteEntry = 4;
        std::int64_t colorsUsed = 0;
        if (headerSize == 12) {
            H.Width = U16(h + 4);
            H.Height = U16(h + 6);
            H.BitCount = int(U16(h + 10));
            paletteEntry = 3;
        } else {
            H.Width = std::int32_t(U32(h + 4));
            H.Height = std::int32_t(U32(h + 8));
            H.BitCount = int(U16(h + 14));
            H.Compression = U32(h + 16);
            colorsUsed = U32(h + 32);
            // OS/2 2.x bitmaps use 3 and 4 for Huffman and RLE24 coding.
            if (headerSize == 64 && (H.Compression == 3 || H.Compression == 4))
                Unsupported(QStringLiteral("сжатие OS/2"));
        }
        if (H.Height < 0) {
            H.TopDown = true;
            H.Height = -H.Height;
        }
        if (H.Width <= 0 || H.Height <= 0)
            Broken(QStringLiteral("неверные размеры %1×%2").arg(H.Width).arg(H.Height));
        if (H.Width > INT32_MAX || H.Height > INT32_MAX)
            Broken(QStringLiteral("неверные размеры %1×%2").arg(H.Width).arg(H.Height));

        switch (H.BitCount) {
        case 1: case 2: case 4: case 8: case 16: case 24: case 32:
            break;
        default:
            Unsupported(QStringLiteral("глубина цвета %1 бит").arg(H.BitCount));
        }
        const std::uint32_t c = H.Compression;
        const bool masked = c == biBitFields || c == biAlphaBitFields;
        bool known = c == biRgb;
        if (c == biRle8)
            known = H.BitCount == 8;
        else if (c == biRle4)
            known = H.BitCount == 4;
        else if (masked)
            known = H.BitCount == 16 || H.BitCount == 32;
        if (!known)
            Unsupported(QStringLiteral("сжатие %1 при глубине %2 бит").arg(c).arg(H.BitCount));
        if (H.TopDown && (c == biRle8 || c == biRle4))
            Broken(QStringLiteral("сжатый рисунок записан сверху вниз"));

        std::int64_t next = 14 + headerSize;
        if (H.BitCount == 16)
            H.Masks = {0x7C00, 0x03E0, 0x001F};
        else
            H.Masks = {0xFF0000, 0x00FF00, 0x0000FF};
        if (masked) {
            // A plain information header keeps its masks after it; later ones inside.
            const std::int64_t at = 14 + 40;
            if (headerSize == 40)
                next += c == biAlphaBitFields ? 16 : 12;
            if (at + 12 > size || next > size)
                Broken(QStringLiteral("маски цветов обрезаны"));
            H.Masks = {U32(d + at), U32(d + at + 4), U32(d + at + 8)};
        }

        if (H.BitCount <= 8) {
            const std::int64_t full = std::int64_t(1) << H.BitCount;
            std::int64_t count = colorsUsed > 0 && colorsUsed < full ? colorsUsed : full;
            std::int64_t end = size;
            const std::int64_t offset = U32(d + 10);
            if (offset > next && offset < end)
                end = offset;
            count = std::min(count, (end - next) / paletteEntry);
            H.Palette.fill(qRgb(0, 0, 0), full);
            for (std::int64_t i = 0; i < count; ++i) {
                const uchar* e = d + next + i * paletteEntry;
                H.Palette[i] = qRgb(e[2], e[1], e[0]);
            }
            next += count * paletteEntry;
        }

        H.DataOffset = U32(d + 10);
        // Some writers leave the offset 0; the pixels then follow the palette.
        if (H.DataOffset == 0)
            H.DataOffset = next;
        if (H.DataOffset < 14 + headerSize || H.DataOffset >= size)
            Broken(QStringLiteral("нет данных точек"));
    }

    QImage ReadRows()
    {
        const int w = int(H.Width);
        const int h = int(H.Height);
        const std::int64_t stride = (H.Width * H.BitCount + 31) / 32 * 4;
        const std::int64_t used = (H.Width * H.BitCount + 7) / 8;
        // The last row's padding is often missing; its pixels are not.
        if (H.DataOffset + stride * (H.Height - 1) + used > File.Size())
            Broken(QStringLiteral("данные точек обрезаны"));

        QImage::Format format = QImage::Format_RGB888;
        if (H.BitCount == 1)
            format = QImage::Format_Mono;
        else if (H.BitCount <= 8)
            format = QImage::Format_Indexed8;
        else if (H.BitCount == 32)
            format = QImage::Format_RGB32;
        QImage image = NewPictureImage(Path, w, h, format);
        if (H.BitCount <= 8)
            image.setColorTable(H.Palette);

        const TChannel red(H.Masks[0]), green(H.Masks[1]), blue(H.Masks[2]);
        const bool plain32 = H.BitCount == 32 && H.Masks[0] == 0xFF0000 &&
                             H.Masks[1] == 0x00FF00 && H.Masks[2] == 0x0000FF;
        for (int r = 0; r < h; ++r) {
            const uchar* src = File.Data() + H.DataOffset + stride * r;
            uchar* dst = image.scanLine(H.TopDown ? r : h - 1 - r);
            switch (H.BitCount) {
            case 1:
            case 8:
                std::memcpy(dst, src, size_t(used));
                break;
            case 2:
                for (int x = 0; x < w; ++x)
                    dst[x] = (src[x >> 2] >> (6 - 2 * (x & 3))) & 3;
                break;
            case 4:
                for (int x = 0; x < w; ++x)
                    dst[x] = (x & 1) ? (src[x >> 1] & 15) : (src[x >> 1] >> 4);
                break;
            case 16:
                for (int x = 0; x < w; ++x, dst += 3) {
                    const std::uint32_t p = U16(src + 2 * x);
                    dst[0] = red.Of(p);
                    dst[1] = green.Of(p);
                    dst[2] = blue.Of(p);
                }
                break;
            case 24:
                for (int x = 0; x < w; ++x, dst += 3, src += 3) {
                    dst[0] = src[2];
                    dst[1] = src[1];
                    dst[2] = src[0];
                }
                break;
            case 32: {
                auto* out = reinterpret_cast<QRgb*>(dst);
                for (int x = 0; x < w; ++x) {
                    const std::uint32_t p = U32(src + 4 * x);
                    out[x] = plain32 ? (p | 0xFF000000u) : qRgb(red.Of(p), green.Of(p), blue.Of(p));
                }
                break;
            }
            }
        }
        return image;
    }

    QImage ReadRle()
    {
        const int w = int(H.Width);
        const int h = int(H.Height);
        const bool rle8 = H.Compression == biRle8;
        QImage image = NewPictureImage(Path, w, h, QImage::Format_Indexed8);
        image.setColorTable(H.Palette);
        image.fill(0);   // pixels the code skips keep the first colour

        const uchar* d = File.Data();
        const std::int64_t end = File.Size();
        std::int64_t pos = H.DataOffset;
        std::int64_t line = 0;   // from the bottom
        std::int64_t x = 0;
        uchar* row = image.scanLine(h - 1);
        const auto put = [&](uchar index) {
            if (x < w && line < h)
                row[x] = index;
            ++x;
        };
        const auto moveTo = [&](std::int64_t newLine) {
            line = newLine;
            if (line < h)
                row = image.scanLine(int(h - 1 - line));
        };
        // Some writers end after the last row without the end-of-bitmap code.
        const auto needs = [&](std::int64_t bytes) {
            if (pos + bytes > end) {
                if (line >= h - 1)
                    return false;
                Broken(QStringLiteral("сжатые данные обрезаны"));
            }
            return true;
        };
        while (line < h && needs(2)) {
            const uchar count = d[pos];
            const uchar code = d[pos + 1];
            pos += 2;
            if (count > 0) {
                for (int k = 0; k < count; ++k)
                    put(rle8 ? code : (k & 1) ? (code & 15) : (code >> 4));
            } else if (code == 0) {
                x = 0;
                moveTo(line + 1);
            } else if (code == 1) {
                break;
            } else if (code == 2) {
                if (!needs(2))
                    break;
                x += d[pos];
                moveTo(line + d[pos + 1]);
                pos += 2;
            } else {
                const std::int64_t bytes = rle8 ? code : (code + 1) / 2;
                const std::int64_t padded = (bytes + 1) & ~std::int64_t(1);
                if (!needs(bytes))
                    break;
                for (int k = 0; k < code; ++k)
                    put(rle8 ? d[pos + k] : (k & 1) ? (d[pos + k / 2] & 15) : (d[pos + k / 2] >> 4));
                pos += std::min(padded, end - pos);
            }
        }
        return image;
    }

    QString Path;
    TPictureFileBytes File;
    RBmpHeader H;
};

}  // namespace

QImage ReadBmpPicture(const QString& path)
{
    return TBmpReader(path).Read();
}
