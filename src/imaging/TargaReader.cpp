// The Targa reader and writer.
#include "imaging/TargaReader.h"

#include "imaging/PictureReaders.h"
#include "imaging/ReaderBytes.h"
#include "imaging/decoders/Decoders.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

std::uint16_t Get16(const std::uint8_t* p)
{
    return std::uint16_t(p[0] | p[1] << 8);
}

void Put16(std::uint8_t* p, unsigned v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}

bool KnownImageType(int type)
{
    return (type >= 0 && type <= 3) || (type >= 9 && type <= 11);
}

bool KnownDepth(int depth)
{
    return depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
}

bool KnownMapEntrySize(int size)
{
    return size == 15 || size == 16 || size == 24 || size == 32;
}

int BytesPerPixel(int depth)
{
    return depth == 8 ? 1 : depth == 24 ? 3 : depth == 32 ? 4 : 2;
}

// Run-length packets read from the stream in blocks, a packet's remainder carried over
// into the next row: writers differ on whether a packet may cross the end of a row.
class TTargaPackets {
public:
    TTargaPackets(QIODevice& stream, int pixelBytes) : Stream(stream), PixelBytes(std::size_t(pixelBytes)) {}

    // Fills count pixels; pixels past the end of the data are zero.
    void Unpack(std::uint8_t* dest, std::size_t count)
    {
        while (count > 0) {
            if (Left == 0 && !StartPacket()) {
                std::memset(dest, 0, count * PixelBytes);
                return;
            }
            const std::size_t n = std::min(Left, count);
            if (Repeat) {
                for (std::size_t i = 0; i < n; ++i, dest += PixelBytes)
                    std::memcpy(dest, Pixel, PixelBytes);
            } else {
                const std::size_t got = Take(dest, n * PixelBytes);
                if (got < n * PixelBytes) {
                    std::memset(dest + got, 0, count * PixelBytes - got);
                    Left = 0;
                    Ended = true;
                    return;
                }
                dest += n * PixelBytes;
            }
            Left -= n;
            count -= n;
        }
    }

private:
    bool StartPacket()
    {
        std::uint8_t header;
        if (Ended || Take(&header, 1) < 1) {
            Ended = true;
            return false;
        }
        Left = std::size_t(header & 127) + 1;
        Repeat = header & 128;
        if (Repeat && Take(Pixel, PixelBytes) < PixelBytes) {
            Ended = true;
            Left = 0;
            return false;
        }
        return true;
    }

    std::size_t Take(std::uint8_t* to, std::size_t size)
    {
        std::size_t done = 0;
        while (done < size) {
            if (Position == Buffer.size()) {
                Buffer.resize(65536);
                const qint64 got = Stream.read(reinterpret_cast<char*>(Buffer.data()), qint64(Buffer.size()));
                Buffer.resize(std::size_t(std::max<qint64>(got, 0)));
                Position = 0;
                if (Buffer.empty())
                    break;
            }
            const std::size_t n = std::min(size - done, Buffer.size() - Position);
            std::memcpy(to + done, Buffer.data() + Position, n);
            Position += n;
            done += n;
        }
        return done;
    }

    QIODevice& Stream;
    std::size_t PixelBytes;
    std::vector<std::uint8_t> Buffer;
    std::size_t Position = 0;
    std::size_t Left = 0;
    bool Repeat = false;
    bool Ended = false;
    std::uint8_t Pixel[4] = {};
};

}  // namespace

bool TTargaGraphic::ProbeStream(QIODevice& stream)
{
    const qint64 start = stream.pos();
    std::uint8_t h[18];
    const bool ours = stream.size() - start > 18 && stream.read(reinterpret_cast<char*>(h), 18) == 18
        && KnownImageType(h[2]) && h[1] < 2 && KnownMapEntrySize(h[7]) && KnownDepth(h[16]);
    stream.seek(start);
    return ours;
}

bool TTargaGraphic::ReadImageInfo(QIODevice& stream, unsigned imageIndex)
{
    TImageGraphic::ReadImageInfo(stream, imageIndex);
    TImageProperties& p = ImageProperties;
    std::uint8_t h[18];
    if (!stream.seek(BasePosition) || stream.read(reinterpret_cast<char*>(h), 18) != 18)
        return false;
    if (!KnownImageType(h[2]) || h[1] >= 2 || !(h[7] == 0 || KnownMapEntrySize(h[7])) || !KnownDepth(h[16]))
        return false;
    p.Width = Get16(h + 12);
    p.Height = Get16(h + 14);
    p.BitsPerSample = 8;
    switch (h[16]) {
    case 8:
        p.ColorScheme = (h[2] == 3 || h[2] == 11) ? cmGray : cmIndexed;
        p.SamplesPerPixel = 1;
        break;
    case 15: case 16:
        p.ColorScheme = cmRGB;
        p.BitsPerSample = 5;
        p.SamplesPerPixel = 3;
        break;
    case 24:
        p.ColorScheme = cmRGB;
        p.SamplesPerPixel = 3;
        break;
    default:
        p.ColorScheme = cmRGBA;
        p.SamplesPerPixel = 4;
        p.HasAlpha = true;
        break;
    }
    p.BitsPerPixel = std::uint8_t(p.SamplesPerPixel * p.BitsPerSample);
    p.Compression = h[2] >= 9 ? ctRLE : ctNone;
    return true;
}

void TTargaGraphic::LoadFromStream(QIODevice& stream)
{
    if (!StartRowLoad(stream, 0, QStringLiteral("Preparing...")))
        return;
    const TImageProperties& p = ImageProperties;
    const auto cut = [&] { RaiseBrokenPicture(Name, QStringLiteral("данные обрезаны")); };
    std::uint8_t h[18];
    if (stream.read(reinterpret_cast<char*>(h), 18) != 18)
        cut();
    const int imageType = h[2];
    const int depth = h[16];
    const bool topDown = h[17] & 0x20;
    if (!stream.seek(stream.pos() + h[0]))
        cut();

    TColorManager& colors = ColorManager();
    colors.SetSourceSamples(p.SamplesPerPixel);
    colors.SetTargetSamples(p.SamplesPerPixel);
    colors.SetSourceSampleBits(p.BitsPerSample);
    colors.SetTargetSampleBits(p.BitsPerSample);
    colors.SetSourceModel(p.ColorScheme);
    colors.SourceFlags = 0;
    colors.SetTargetModel(cmBGR);
    SetPixelFormat(colors.PixelFormatFor(1));

    // The colour map is always passed over, so that the pixels start after it.
    if (h[1] == 1 || imageType == 3 || imageType == 11) {
        if (imageType == 3 || imageType == 11)
            SetColorTable(colors.BuildGrayPalette(false));
        if (h[1] == 1) {
            const unsigned first = Get16(h + 3);
            const unsigned count = Get16(h + 5);
            const unsigned entryBytes = (h[7] + 7u) / 8u;
            std::vector<std::uint8_t> map(std::size_t(count) * entryBytes);
            if (!map.empty() && stream.read(reinterpret_cast<char*>(map.data()), qint64(map.size())) != qint64(map.size()))
                cut();
            if (imageType != 3 && imageType != 11 && count > 0 && first < 256) {
                const unsigned taken = std::min(count, 256u - first);
                QList<QRgb> colours;
                const void* data[] = {map.data()};
                if (entryBytes == 3)
                    colours = colors.BuildColorPalette(data, plTriples8, taken, true);
                else if (entryBytes == 4)
                    colours = colors.BuildColorPalette(data, plQuads8, taken, true);
                else if (entryBytes == 2)
                    for (unsigned i = 0; i < taken; ++i) {
                        const unsigned w = Get16(map.data() + 2 * i);
                        colours.append(qRgb(int((w & 0x7C00) >> 7), int((w & 0x03E0) >> 2), int((w & 0x1F) << 3)));
                    }
                // The first entry's index places the map in the palette.
                QList<QRgb> table(qsizetype(first), qRgb(0, 0, 0));
                table.append(colours);
                SetColorTable(table);
            }
        }
    }

    const std::size_t rowSize = std::size_t(p.Width) * std::size_t(BytesPerPixel(depth));
    if (imageType != 0) {
        // The data must fill every row: pixels one for one, or run packets of a header
        // byte and one pixel for up to 128 pixels.
        const std::uint64_t pixels = std::uint64_t(p.Width) * std::uint64_t(p.Height);
        const std::uint64_t needed = imageType < 9 ? pixels * std::uint64_t(BytesPerPixel(depth))
                                                   : (pixels + 127) / 128 * (1 + std::uint64_t(BytesPerPixel(depth)));
        CheckPictureData(Name, p.Width, p.Height, needed, BytesLeft(stream, stream.pos()));
    }
    SetSize(p.Width, p.Height);
    Progress(psEnding, 0, false, ProgressRect, QString());
    Progress(psStarting, 0, false, ProgressRect, QStringLiteral("Transfering..."));
    if (imageType == 0 || p.Height == 0 || p.Width == 0) {
        Progress(psEnding, 100, false, ProgressRect, QString());
        return;
    }
    TTargaPackets packets(stream, BytesPerPixel(depth));
    for (int r = 0; r < p.Height; ++r) {
        std::uint8_t* row = ScanLine(topDown ? r : p.Height - 1 - r);
        if (imageType >= 9) {
            packets.Unpack(row, std::size_t(p.Width));
        } else if (stream.read(reinterpret_cast<char*>(row), qint64(rowSize)) != qint64(rowSize)) {
            cut();
        }
        // The top bit of a 16-bit pixel is an attribute, not colour.
        if (depth == 15 || depth == 16)
            for (std::size_t i = 1; i < rowSize; i += 2)
                row[i] &= 0x7F;
        Progress(psRunning, int(std::int64_t(r) * 100 / p.Height), true, ProgressRect, QString());
        ProgressRect.translate(0, 1);
    }
    Progress(psEnding, 100, false, ProgressRect, QString());
}

void TTargaGraphic::SaveToStream(QIODevice& stream)
{
    SaveTarga(stream, true);
}

void TTargaGraphic::SaveTarga(QIODevice& stream, bool compressed)
{
    const int width = Width();
    const int height = Height();
    ProgressRect = QRect(0, 0, width, 1);
    Progress(psStarting, 0, false, ProgressRect, QStringLiteral("Preparing..."));
    if (Empty() || width == 0 || height == 0)
        return;
    const TPixelFormat format = PixelFormat();
    const bool indexed = format == pf1bit || format == pf4bit || format == pf8bit;
    const int pixelBytes = indexed ? 1 : (format == pf15bit || format == pf16bit) ? 2 : format == pf24bit ? 3 : 4;
    const auto write = [&](const void* data, std::size_t size) {
        if (stream.write(static_cast<const char*>(data), qint64(size)) != qint64(size))
            throw EPictureError(QStringLiteral("Не удается записать рисунок Targa: %1").arg(stream.errorString()));
    };

    std::uint8_t h[18] = {};
    h[1] = indexed ? 1 : 0;
    h[2] = std::uint8_t(compressed ? (indexed ? 9 : 10) : (indexed ? 1 : 2));
    Put16(h + 5, 256);
    h[7] = 24;
    Put16(h + 12, unsigned(width));
    Put16(h + 14, unsigned(height));
    h[16] = std::uint8_t(pixelBytes * 8);
    h[17] = 0x20;   // rows are written top first
    write(h, 18);

    // Palette bitmaps of 1 and 4 bits are written as 8-bit indexes.
    QImage indexes;
    if (indexed) {
        indexes = Image().format() == QImage::Format_Indexed8 ? Image() : Image().convertToFormat(QImage::Format_Indexed8);
        QList<QRgb> table = indexes.colorTable();
        std::uint8_t map[768] = {};
        for (qsizetype i = 0; i < std::min<qsizetype>(table.size(), 256); ++i) {
            map[3 * i] = std::uint8_t(qBlue(table[i]));
            map[3 * i + 1] = std::uint8_t(qGreen(table[i]));
            map[3 * i + 2] = std::uint8_t(qRed(table[i]));
        }
        write(map, sizeof map);
    }
    Progress(psEnding, 0, false, ProgressRect, QString());
    Progress(psStarting, 0, false, ProgressRect, QStringLiteral("Transfering..."));

    const std::size_t rowSize = std::size_t(width) * std::size_t(pixelBytes);
    std::vector<std::uint8_t> row(rowSize), packed(2 * rowSize + 2);
    TTargaRLEDecoder packer(pixelBytes * 8);
    for (int y = 0; y < height; ++y) {
        if (indexed)
            std::memcpy(row.data(), indexes.constScanLine(y), rowSize);
        else
            std::memcpy(row.data(), Image().constScanLine(y), rowSize);
        if (format == pf16bit)
            // 5-6-5 words become the 5-5-5 words a 16-bit Targa pixel holds.
            for (std::size_t i = 0; i < rowSize; i += 2) {
                const unsigned w = Get16(row.data() + i);
                Put16(row.data() + i, (w >> 1 & 0x7FE0) | (w & 0x1F));
            }
        if (compressed) {
            std::size_t stored = 0;
            packer.Pack(row.data(), packed.data(), std::size_t(width), stored);
            write(packed.data(), stored);
        } else {
            write(row.data(), rowSize);
        }
        Progress(psRunning, 0, false, ProgressRect, QString());
        ProgressRect.translate(0, 1);
    }
    Progress(psEnding, 0, false, ProgressRect, QString());
}
