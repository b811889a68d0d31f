// The PCX, Autodesk and Dr. Halo readers. Their headers are small and trusted by nobody:
// every row is bounded by what the file holds, and a short file reads as blank rows.
#include "imaging/PcxReader.h"

#include "imaging/PictureReaders.h"
#include "imaging/decoders/Decoders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

std::uint16_t Get16(const std::uint8_t* p)
{
    return std::uint16_t(p[0] | p[1] << 8);
}

[[noreturn]] void RaiseInvalid(const char* format)
{
    RaiseGraphicError(QStringLiteral("Cannot load image. Invalid or unexpected %1 image format.")
                          .arg(QLatin1String(format)));
}

// Reads up to size bytes; what the stream does not hold stays zero.
void ReadUpTo(QIODevice& stream, std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return;
    const qint64 got = stream.read(reinterpret_cast<char*>(data), qint64(size));
    const std::size_t done = std::size_t(std::max<qint64>(got, 0));
    std::memset(data + done, 0, size - done);
}

// The 16 colours of a PCX file that brings none, in the VGA order.
const QRgb StandardColors[16] = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),     qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128),   qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),     qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255),   qRgb(0, 255, 255), qRgb(255, 255, 255)};

struct RPcxHeader {
    std::uint8_t Raw[128] = {};
    int Manufacturer() const { return Raw[0]; }
    int Version() const { return Raw[1]; }
    int Encoding() const { return Raw[2]; }
    int BitsPerPlane() const { return Raw[3]; }
    int Width() const { return int(std::int16_t(Get16(Raw + 8))) - int(std::int16_t(Get16(Raw + 4))) + 1; }
    int Height() const { return int(std::int16_t(Get16(Raw + 10))) - int(std::int16_t(Get16(Raw + 6))) + 1; }
    int Planes() const { return Raw[65]; }
    int BytesPerLine() const { return Get16(Raw + 66); }
    int PaletteInfo() const { return Get16(Raw + 68); }
    QRgb HeaderColor(int i) const { return qRgb(Raw[16 + 3 * i], Raw[17 + 3 * i], Raw[18 + 3 * i]); }
};

}  // namespace

// ---- PCX ----

bool TPCXGraphic::ProbeStream(QIODevice& stream)
{
    const qint64 start = stream.pos();
    RPcxHeader h;
    bool ours = stream.size() - start > 128 && stream.read(reinterpret_cast<char*>(h.Raw), 128) == 128;
    if (ours) {
        const int v = h.Version();
        ours = (h.Manufacturer() == 10 || h.Manufacturer() == 205) && (v == 0 || v == 2 || v == 3 || v == 5)
            && (h.Encoding() == 0 || h.Encoding() == 1);
    }
    stream.seek(start);
    return ours;
}

bool TPCXGraphic::ReadImageInfo(QIODevice& stream, unsigned imageIndex)
{
    TImageGraphic::ReadImageInfo(stream, imageIndex);
    RPcxHeader h;
    if (!stream.seek(BasePosition) || stream.read(reinterpret_cast<char*>(h.Raw), 128) != 128)
        return false;
    if (h.Manufacturer() != 10 && h.Manufacturer() != 205)
        return false;
    TImageProperties& p = ImageProperties;
    p.Version = std::uint32_t(h.Version());
    p.Width = h.Width();
    p.Height = h.Height();
    p.SamplesPerPixel = std::uint8_t(h.Planes());
    p.BitsPerSample = std::uint8_t(h.BitsPerPlane());
    p.BitsPerPixel = std::uint8_t(std::min(255, h.Planes() * h.BitsPerPlane()));
    p.ColorScheme = h.Planes() * h.BitsPerPlane() > 8 ? cmRGB : cmIndexed;
    p.Compression = h.Encoding() == 1 ? ctRLE : ctNone;
    p.XResolution = Get16(h.Raw + 12);
    p.YResolution = Get16(h.Raw + 14);
    p.BytesPerLine = std::uint32_t(h.BytesPerLine());
    return true;
}

void TPCXGraphic::LoadFromStream(QIODevice& stream)
{
    if (!StartRowLoad(stream, 0, QStringLiteral("Preparing...")))
        return;
    const TImageProperties& p = ImageProperties;
    RPcxHeader h;
    if (stream.read(reinterpret_cast<char*>(h.Raw), 128) != 128)
        RaiseBrokenPicture(Name, QStringLiteral("данные обрезаны"));
    if (h.Manufacturer() != 10 && h.Manufacturer() != 205)
        RaiseInvalid("PCX or SCR");
    const int planes = h.Planes();
    const int bits = h.BitsPerPlane();
    // The layouts PCX writers produce: 1, 2, 4 or 8 bits in one plane, planes of one bit
    // (EGA), three planes of 8 bits; four planes of 8 bits show their first three.
    const bool bitPlanes = bits == 1 && planes >= 2 && planes <= 4;
    const bool rgb = bits == 8 && (planes == 3 || planes == 4);
    const bool single = planes == 1 && (bits == 1 || bits == 2 || bits == 4 || bits == 8);
    if (!bitPlanes && !rgb && !single)
        RaiseGraphicError(QStringLiteral("Invalid color format in %1 file.").arg(QStringLiteral("PCX")));
    const std::size_t bytesPerLine = std::size_t(h.BytesPerLine());
    if (p.Width > 0 && bytesPerLine < (std::size_t(p.Width) * std::size_t(bits) + 7) / 8)
        RaiseBrokenPicture(Name, QStringLiteral("длина строки PCX меньше ширины рисунка"));

    TColorManager& colors = ColorManager();
    colors.SourceFlags = 0;
    if (rgb) {
        colors.SetSourceModel(cmRGB);
        colors.SetTargetModel(cmBGR);
        colors.SetSourceSamples(3);
        colors.SetTargetSamples(3);
        colors.SetSourceSampleBits(8);
        colors.SetTargetSampleBits(8);
    } else {
        colors.SetSourceModel(cmIndexed);
        colors.SetTargetModel(cmIndexed);
        colors.SetSourceSamples(1);
        colors.SetTargetSamples(1);
        colors.SetSourceSampleBits(std::uint8_t(bits));
        colors.SetTargetSampleBits(std::uint8_t(bits == 2 ? 4 : bits));
    }
    const TPixelFormat format = bitPlanes ? pf4bit : colors.PixelFormatFor(1);
    SetPixelFormat(format);

    const qint64 dataStart = BasePosition + 128;
    qint64 dataSize = std::max<qint64>(0, stream.size() - dataStart);
    if (format == pf8bit && dataSize >= 769)
        dataSize -= 769;   // the palette marker and the 768 palette bytes

    if (format != pf24bit) {
        QList<QRgb> table;
        if (h.Version() == 3 && format != pf1bit) {
            table = QList<QRgb>(std::begin(StandardColors), std::end(StandardColors));
        } else if (format == pf1bit) {
            table = colors.BuildGrayPalette(false);
        } else if (format == pf4bit) {
            if (h.PaletteInfo() == 2) {
                table = colors.BuildGrayPalette(false);
            } else if (bits == 2) {
                // Two-bit pixels are stretched to 0, 5, 10 and 15: so are their colours.
                table = QList<QRgb>(16, qRgb(0, 0, 0));
                for (int i = 0; i < 4; ++i)
                    table[5 * i] = h.HeaderColor(i);
            } else {
                for (int i = 0; i < 16; ++i)
                    table.append(h.HeaderColor(i));
            }
        } else {
            const qint64 marker = stream.size() - 769;
            std::uint8_t tail[769] = {};
            if (marker >= dataStart && stream.seek(marker) && stream.read(reinterpret_cast<char*>(tail), 769) == 769
                && tail[0] == 12) {
                for (int i = 0; i < 256; ++i)
                    table.append(qRgb(tail[1 + 3 * i], tail[2 + 3 * i], tail[3 + 3 * i]));
            } else if (h.PaletteInfo() == 2) {
                table = colors.BuildGrayPalette(false);
            }
        }
        if (!table.isEmpty())
            SetColorTable(table);
    }

    const std::size_t lineSize = std::size_t(planes) * bytesPerLine;
    // The data must fill every row: raw bytes one for one, a run-length pair at most 63
    // bytes (and a lone byte at the end one).
    const std::uint64_t rowBytes = std::uint64_t(p.Height) * lineSize;
    CheckPictureData(Name, p.Width, p.Height,
                     h.Encoding() != 1 || rowBytes == 0 ? rowBytes : (rowBytes + 62) / 63 * 2 - 1, dataSize);
    SetSize(p.Width, p.Height);
    std::vector<std::uint8_t> data(static_cast<std::size_t>(dataSize));
    stream.seek(dataStart);
    ReadUpTo(stream, data.data(), data.size());
    // Only the rows the data can fill are held: raw bytes one for one, a run-length pair
    // at most 63 bytes. The rows past them read blank, so a header that claims long rows
    // or many of them costs no more memory than its file can fill.
    const std::uint64_t claimed = std::uint64_t(p.Height) * lineSize;
    const std::uint64_t reachable = h.Encoding() == 1 ? (std::uint64_t(data.size()) + 1) / 2 * 63 : data.size();
    const std::uint64_t wholeRows = lineSize == 0 ? 0 : (reachable + lineSize - 1) / lineSize * lineSize;
    const std::size_t held = std::size_t(std::min(claimed, wholeRows));
    std::vector<std::uint8_t> lines;
    if (h.Encoding() == 1 && held > 0) {
        lines.assign(held, 0);
        TPCXRLEDecoder decoder;
        const std::uint8_t* from = data.data();
        std::uint8_t* to = lines.data();
        decoder.Unpack(from, to, data.size(), lines.size());
    } else if (h.Encoding() != 1) {
        data.resize(held, 0);   // a short file reads as blank rows
        lines.swap(data);
    }
    const std::vector<std::uint8_t> blank(lineSize, 0);   // the rows past the held ones
    Progress(psEnding, 0, false, ProgressRect, QString());
    Progress(psStarting, 0, false, ProgressRect, QStringLiteral("Transfering..."));

    for (int y = 0; y < p.Height; ++y) {
        const std::size_t start = std::size_t(y) * lineSize;
        const std::uint8_t* line = start < lines.size() ? lines.data() + start : blank.data();
        std::uint8_t* row = ScanLine(y);
        if (bitPlanes) {
            // Bit k of a pixel comes from plane k; two pixels a byte, the first high.
            for (int x = 0; x < p.Width; ++x) {
                const std::size_t byte = std::size_t(x) / 8;
                const int shift = 7 - x % 8;
                int value = 0;
                for (int k = 0; k < planes; ++k)
                    value |= (line[std::size_t(k) * bytesPerLine + byte] >> shift & 1) << k;
                std::uint8_t& out = row[x / 2];
                out = (x & 1) ? std::uint8_t((out & 0xF0) | value) : std::uint8_t(value << 4);
            }
        } else if (rgb) {
            const void* sources[] = {line, line + bytesPerLine, line + 2 * bytesPerLine};
            colors.ConvertLine(sources, row, unsigned(p.Width), 0xFF);
        } else {
            const void* sources[] = {line};
            colors.ConvertLine(sources, row, unsigned(p.Width), 0xFF);
        }
        Progress(psRunning, int(std::int64_t(y) * 100 / p.Height), true, ProgressRect, QString());
        ProgressRect.translate(0, 1);
    }
    Progress(psEnding, 100, false, ProgressRect, QString());
}

// ---- Autodesk ----

bool TAutodeskGraphic::ProbeStream(QIODevice& stream)
{
    const qint64 start = stream.pos();
    std::uint8_t h[32];
    const bool ours = stream.size() - start > 32 && stream.read(reinterpret_cast<char*>(h), 32) == 32
        && Get16(h) == 0x9119 && h[10] == 8 && h[11] == 0;
    stream.seek(start);
    return ours;
}

bool TAutodeskGraphic::ReadImageInfo(QIODevice& stream, unsigned imageIndex)
{
    TImageGraphic::ReadImageInfo(stream, imageIndex);
    std::uint8_t h[32];
    if (!stream.seek(BasePosition) || stream.read(reinterpret_cast<char*>(h), 32) != 32 || Get16(h) != 0x9119)
        return false;
    TImageProperties& p = ImageProperties;
    p.Width = Get16(h + 2);
    p.Height = Get16(h + 4);
    p.ColorScheme = cmIndexed;
    p.BitsPerSample = 8;
    p.SamplesPerPixel = 1;
    p.BitsPerPixel = 8;
    p.Compression = ctNone;
    return true;
}

void TAutodeskGraphic::LoadFromStream(QIODevice& stream)
{
    if (!StartRowLoad(stream, 32, QStringLiteral("Transfering...")))
        RaiseInvalid("Autodesk");
    const TImageProperties& p = ImageProperties;
    std::uint8_t map[768];
    ReadUpTo(stream, map, sizeof map);
    QList<QRgb> table;
    for (int i = 0; i < 256; ++i)   // 6-bit values; above 63 they wrap as bytes
        table.append(qRgb(std::uint8_t(map[3 * i] * 4), std::uint8_t(map[3 * i + 1] * 4),
                          std::uint8_t(map[3 * i + 2] * 4)));
    SetPixelFormat(pf8bit);
    SetColorTable(table);
    SetSize(p.Width, p.Height);
    for (int y = 0; y < p.Height; ++y) {
        ReadUpTo(stream, ScanLine(y), std::size_t(p.Width));
        Progress(psRunning, int(std::int64_t(y) * 100 / p.Height), true, ProgressRect, QString());
        ProgressRect.translate(0, 1);
    }
    Progress(psEnding, 100, false, ProgressRect, QString());
}

// ---- Dr. Halo ----

bool TCUTGraphic::ProbeStream(QIODevice&)
{
    return false;
}

bool TCUTGraphic::ReadImageInfo(QIODevice& stream, unsigned imageIndex)
{
    TImageGraphic::ReadImageInfo(stream, imageIndex);
    std::uint8_t h[4] = {};
    if (stream.seek(BasePosition))
        ReadUpTo(stream, h, 4);
    TImageProperties& p = ImageProperties;
    p.Width = Get16(h);
    p.Height = Get16(h + 2);
    p.ColorScheme = cmIndexed;
    p.BitsPerSample = 8;
    p.SamplesPerPixel = 1;
    p.BitsPerPixel = 8;
    p.Compression = ctRLE;
    SetPixelFormat(pf8bit);
    return true;
}

QString TCUTGraphic::PaletteFileOf(const QString& imagePath)
{
    const QFileInfo info(imagePath);
    const QString wanted = info.completeBaseName() + QStringLiteral(".pal");
    const QDir folder = info.dir();
    if (folder.exists(wanted))
        return folder.filePath(wanted);
    // A file made on Windows may spell the name in other letter case.
    const QStringList found = folder.entryList({wanted}, QDir::Files);
    return folder.filePath(found.isEmpty() ? wanted : found.first());
}

void TCUTGraphic::LoadFromFile(const QString& path)
{
    PaletteFile = PaletteFileOf(path);
    TImageGraphic::LoadFromFile(path);
}

void TCUTGraphic::LoadFromStream(QIODevice& stream)
{
    if (!StartRowLoad(stream, 6, QStringLiteral("Transfering...")))
        return;
    const TImageProperties& p = ImageProperties;
    SetPixelFormat(pf8bit);

    QList<QRgb> table;
    QFile palette(PaletteFile);
    if (!PaletteFile.isEmpty() && palette.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = palette.readAll();
        const auto* b = reinterpret_cast<const std::uint8_t*>(bytes.constData());
        const std::size_t size = std::size_t(bytes.size());
        const int count = size >= 14 ? std::min(Get16(b + 12) + 1, 256) : 0;
        std::size_t position = 40;
        for (int i = 0; i < count; ++i) {
            if (position % 512 > 506)   // entries do not cross a 512-byte block
                position = (position / 512 + 1) * 512;
            if (position + 6 > size)
                break;
            table.append(qRgb(b[position], b[position + 2], b[position + 4]));
            position += 6;
        }
    } else {
        for (int i = 0; i < 256; ++i)
            table.append(qRgb(i, i, i));
    }
    SetColorTable(table);
    // Every row is stored, if only as its closing zero: a header claiming more rows than
    // the data has bytes is refused before the picture takes memory for them.
    const QByteArray rest = stream.readAll();
    if (rest.size() < p.Height)
        RaiseBrokenPicture(Name, QStringLiteral("данные обрезаны"));
    SetSize(p.Width, p.Height);

    const auto* source = reinterpret_cast<const std::uint8_t*>(rest.constData());
    const std::uint8_t* const end = source + rest.size();
    TCUTRLEDecoder decoder;
    for (int y = 0; y < p.Height; ++y) {
        std::uint8_t* row = ScanLine(y);
        decoder.Unpack(source, row, std::size_t(end - source), std::size_t(p.Width));
        Progress(psRunning, int(std::int64_t(y) * 100 / p.Height), true, ProgressRect, QString());
        ProgressRect.translate(0, 1);
    }
    Progress(psEnding, 100, false, ProgressRect, QString());
}
