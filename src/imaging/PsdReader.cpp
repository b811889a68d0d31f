// The Photoshop reader. Rows are read one at a time from where the table of packed
// lengths puts them, so a damaged length spoils its own row only, and a large scan never
// needs all its planes in memory at once.
#include "imaging/PsdReader.h"

#include "imaging/PictureReaders.h"
#include "imaging/ReaderBytes.h"
#include "imaging/decoders/Decoders.h"

#include <array>

namespace {

constexpr qint64 HeaderSize = 26;

// Reads a section length at the stream's position and moves past the section; false when
// the stream ends first.
bool SkipSection(QIODevice& stream)
{
    std::uint8_t length[4];
    return ReadExact(stream, length, 4) && stream.seek(stream.pos() + qint64(BigEndian32(length)));
}

}  // namespace

bool TPSDGraphic::ProbeStream(QIODevice& stream)
{
    return ProbeAndRestore(stream, [](QIODevice& s, qint64 left) {
        std::uint8_t h[6];
        return left > HeaderSize && ReadExact(s, h, 6)
               && QByteArray(reinterpret_cast<const char*>(h), 4).toUpper() == "8BPS" && BigEndian16(h + 4) == 1;
    });
}

bool TPSDGraphic::ReadImageInfo(QIODevice& stream, unsigned imageIndex)
{
    TImageGraphic::ReadImageInfo(stream, imageIndex);
    std::uint8_t h[HeaderSize];
    if (!ReadExact(stream, h, HeaderSize) || std::memcmp(h, "8BPS", 4) != 0)
        return false;
    TImageProperties& p = ImageProperties;
    p.Options = ioBigEndian;
    p.Version = BigEndian16(h + 4);
    const std::uint16_t channels = BigEndian16(h + 12);
    ChannelCount = channels;
    p.Channels = std::uint8_t(std::min<int>(channels, 255));
    p.SamplesPerPixel = std::uint8_t(std::min<int>(channels, 4));
    p.Height = std::int32_t(std::min<std::uint32_t>(BigEndian32(h + 14), 0x7FFFFFFF));
    p.Width = std::int32_t(std::min<std::uint32_t>(BigEndian32(h + 18), 0x7FFFFFFF));
    p.BitsPerSample = std::uint8_t(std::min<int>(BigEndian16(h + 22), 255));
    p.BitsPerPixel = std::uint8_t(std::min(255, p.SamplesPerPixel * p.BitsPerSample));
    ColorMode = BigEndian16(h + 24);
    switch (ColorMode) {
    case 0: p.ColorScheme = cmGray; p.Options |= ioMinIsWhite; break;
    case 1: case 8: p.ColorScheme = cmGray; break;
    case 2: p.ColorScheme = cmIndexed; break;
    case 3: case 7: p.ColorScheme = channels == 3 ? cmRGB : cmRGBA; break;
    case 4: p.ColorScheme = cmCMYK; break;
    case 9: p.ColorScheme = cmCIELab; break;
    default: p.ColorScheme = cmUnknown; break;
    }
    std::uint8_t compression[2] = {};
    for (int section = 0; section < 3; ++section)
        if (!SkipSection(stream))
            return true;   // the loader finds the file short
    ReadExact(stream, compression, 2);
    p.Compression = BigEndian16(compression) == 1 ? ctPackedBits : ctNone;
    return true;
}

void TPSDGraphic::LoadFromStream(QIODevice& stream)
{
    SetSize(0, 0);
    BasePosition = stream.pos();
    if (!ReadImageInfo(stream, 0))
        RaiseInvalidImage(QStringLiteral("PSD or PDD"));
    TImageProperties& p = ImageProperties;
    const auto unsupported = [&](const QString& what) {
        throw EInvalidGraphic(QStringLiteral("Рисунок Photoshop \"%1\" не читается: %2 не поддерживается").arg(Name, what));
    };
    if (p.Version != 1)
        unsupported(QStringLiteral("версия файла %1").arg(p.Version));
    if (p.Width < 1 || p.Height < 1 || p.Channels < 1)
        RaiseBrokenPicture(Name, QStringLiteral("пустой размер рисунка Photoshop"));
    const int depth = p.BitsPerSample;
    const TColorModel model = p.ColorScheme;
    const bool single = model == cmGray || model == cmIndexed;
    // The planes each model converts; the modes without a model load blank.
    const int planes = single ? 1 : model == cmRGB || model == cmCIELab ? 3 : model == cmUnknown ? 0 : 4;
    if (planes > p.Channels)
        RaiseBrokenPicture(Name, QStringLiteral("%1 каналов при цветовом режиме %2").arg(p.Channels).arg(ColorMode));
    if (ColorMode == 0 ? depth != 1 : (depth != 8 && depth != 16) || (model == cmIndexed && depth != 8))
        unsupported(QStringLiteral("глубина %1 бит при цветовом режиме %2").arg(depth).arg(ColorMode));
    stream.seek(BasePosition + HeaderSize);
    Progress(psStarting, 0, false, QRect(), QStringLiteral("Preparing..."));

    // 16-bit CMYK is reduced to 8 bits here: the CMYK converter reads its samples unswapped.
    const bool cmyk16 = model == cmCMYK && depth == 16;
    TColorManager& colors = ColorManager();
    colors.SourceFlags = sfByteSwap;
    colors.SetSourceSampleBits(std::uint8_t(cmyk16 ? 8 : depth));
    colors.SetTargetSampleBits(std::uint8_t(depth == 16 ? 8 : depth));
    colors.SetSourceSamples(std::uint8_t(std::max(1, planes)));
    colors.SetTargetSamples(std::uint8_t(model == cmCMYK ? 3 : std::max(1, planes)));
    colors.SetSourceModel(model);
    switch (model) {
    case cmRGB: colors.SetTargetModel(cmBGR); break;
    case cmRGBA: colors.SetTargetModel(cmBGRA); break;
    case cmCMYK: colors.SetTargetModel(cmBGR); break;
    case cmCIELab:
        colors.SetTargetModel(cmBGR);
        colors.SourceFlags |= sfLabByteRange | sfLabChromaOffset;
        break;
    default: colors.SetTargetModel(model == cmUnknown ? cmBGR : model); break;
    }
    SetPixelFormat(model == cmUnknown ? pf24bit : colors.PixelFormatFor(1));

    // Colour mode data: the palette of an indexed image, skipped in every other mode.
    std::uint8_t length[4];
    if (!ReadExact(stream, length, 4))
        RaiseBrokenPicture(Name, QStringLiteral("заголовок Photoshop обрезан"));
    const qint64 modeDataEnd = stream.pos() + qint64(BigEndian32(length));
    if (model == cmIndexed) {
        QByteArray palette(int(std::min<std::uint32_t>(BigEndian32(length), 768)), '\0');
        ReadZeroFilled(stream, -1, palette.data(), palette.size());
        const int entries = int(palette.size() / 3);
        const std::array<const void*, 3> table{palette.constData(), palette.constData() + entries,
                                               palette.constData() + 2 * entries};
        SetColorTable(colors.BuildColorPalette(table, plPlanes8, unsigned(entries), false));
    } else if (model == cmGray) {
        SetColorTable(colors.BuildGrayPalette(p.Options & ioMinIsWhite));
    }
    if (!stream.seek(modeDataEnd) || !SkipSection(stream) || !SkipSection(stream) || !stream.seek(stream.pos() + 2)
        || stream.pos() > stream.size())
        RaiseBrokenPicture(Name, QStringLiteral("разделы Photoshop длиннее файла"));

    const std::uint64_t rows = std::uint64_t(p.Height);
    const std::size_t rowBytes = depth == 1 ? (std::size_t(p.Width) + 7) / 8 : std::size_t(p.Width) * std::size_t(depth / 8);
    // Where row r of channel c starts, and its packed length (raw rows: all alike).
    std::vector<std::uint16_t> lengths;
    std::vector<qint64> starts;
    const qint64 tableStart = stream.pos();
    if (p.Compression == ctPackedBits && planes > 0) {
        const std::uint64_t entries = rows * ChannelCount;
        if (std::uint64_t(BytesLeft(stream, tableStart)) < entries * 2)
            RaiseBrokenPicture(Name, QStringLiteral("таблица длин строк Photoshop обрезана"));
        // Only the converted channels' rows are located; their lengths come first.
        lengths.resize(std::size_t(rows) * std::size_t(planes));
        ReadExact(stream, lengths.data(), qint64(lengths.size() * 2));
        SwapWords(lengths.data(), lengths.size());
        starts.resize(lengths.size());
        qint64 position = tableStart + qint64(entries * 2);
        for (std::size_t i = 0; i < lengths.size(); ++i) {
            starts[i] = position;
            position += lengths[i];
        }
        if (position > stream.size())
            RaiseBrokenPicture(Name, QStringLiteral("таблица длин строк Photoshop указывает за конец файла"));
    } else if (p.Compression != ctPackedBits) {
        // Verbatim rows, channel after channel: the file must hold every row converted.
        CheckPictureData(Name, p.Width, p.Height,
                         std::uint64_t(std::max(planes, 1)) * rows * std::uint64_t(rowBytes),
                         BytesLeft(stream, tableStart));
    }
    SetSize(p.Width, p.Height);
    Progress(psEnding, 100, false, QRect(), QString());
    if (planes == 0)
        return;

    Progress(psStarting, 0, false, QRect(), QStringLiteral("Transfering..."));
    TPackbitsRLEDecoder decoder;
    std::vector<std::uint8_t> buffer(rowBytes * std::size_t(planes));
    std::vector<std::uint8_t> packed;
    std::array<const void*, 4> sources{};
    for (int c = 0; c < planes; ++c)
        sources[std::size_t(c)] = buffer.data() + std::size_t(c) * rowBytes;
    if (cmyk16)   // each row's planes are narrowed to bytes in place, packed together
        for (int c = 0; c < planes; ++c)
            sources[std::size_t(c)] = buffer.data() + std::size_t(c) * rowBytes / 2;
    ProgressRect = QRect(0, 0, p.Width, 1);
    // A header may claim millions of rows over a few bytes: rows past the end of the file
    // are blank without asking the file for them, or a lying file takes minutes.
    // A blank row converts to the same pixels each time: the first is converted, the
    // rest copy it, so those millions of rows cost a copy each.
    const qint64 fileSize = stream.size();
    std::vector<std::uint8_t> blankPixels;
    for (std::uint64_t r = 0; r < rows; ++r) {
        bool blank = true;
        for (int c = 0; c < planes; ++c) {
            const std::size_t i = std::size_t(c) * std::size_t(rows) + std::size_t(r);
            const qint64 start = lengths.empty() ? tableStart + qint64(i * rowBytes) : starts[i];
            blank = blank && start >= fileSize;
        }
        std::uint8_t* target = ScanLine(int(r));
        if (blank && !blankPixels.empty()) {
            std::memcpy(target, blankPixels.data(), blankPixels.size());
            Progress(psRunning, int(r * 100 / rows), true, ProgressRect, QString());
            ProgressRect.translate(0, 1);
            continue;
        }
        for (int c = 0; c < planes; ++c) {
            std::uint8_t* plane = buffer.data() + std::size_t(c) * rowBytes;
            const std::size_t i = std::size_t(c) * std::size_t(rows) + std::size_t(r);
            const qint64 start = lengths.empty() ? tableStart + qint64(i * rowBytes) : starts[i];
            if (start >= fileSize) {
                std::memset(plane, 0, rowBytes);
            } else if (lengths.empty()) {
                ReadZeroFilled(stream, start, plane, qint64(rowBytes));
            } else {
                packed.resize(lengths[i]);
                const qint64 got = ReadZeroFilled(stream, starts[i], packed.data(), qint64(packed.size()));
                const std::uint8_t* from = packed.data();
                std::uint8_t* to = plane;
                decoder.Unpack(from, to, std::size_t(got), rowBytes);
            }
        }
        if (model == cmCMYK) {
            // Photoshop stores 0 for full ink.
            for (std::uint8_t& b : buffer)
                b = std::uint8_t(~b);
            if (cmyk16)
                for (std::size_t k = 0; k < buffer.size() / 2; ++k)
                    buffer[k] = std::uint8_t(MulDivWord(BigEndian16(&buffer[2 * k]), 255, 65535));
        }
        if (ColorMode == 0 || (single && depth == 8))
            std::memcpy(target, buffer.data(), std::min<std::size_t>(rowBytes, std::size_t(BytesPerLine())));
        else
            colors.ConvertLine(std::span(sources.data(), std::size_t(planes)), target, unsigned(p.Width));
        if (blank)
            blankPixels.assign(target, target + BytesPerLine());
        Progress(psRunning, int(r * 100 / rows), true, ProgressRect, QString());
        ProgressRect.translate(0, 1);
    }
    Progress(psEnding, 100, true, QRect(), QString());
}
