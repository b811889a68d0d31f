// The TIFF reader. A scanned sheet arrives as one of many TIFF flavours, so the header and
// directory are read defensively: every offset and count is checked against the file, a
// strip that lies past the end or rows no strip holds refuse the file before the picture
// is allocated, and what the reader cannot decode is refused by name rather than shown
// scrambled.
#include "imaging/TiffReader.h"

#include "imaging/PictureReaders.h"
#include "imaging/decoders/Decoders.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

namespace {

const QString FormatName = QStringLiteral("TIF/TIFF");

[[noreturn]] void RaiseInvalid()
{
    RaiseGraphicError(QStringLiteral("Cannot load image. Invalid or unexpected %1 image format.").arg(FormatName));
}

std::uint16_t Get16(const std::uint8_t* p, bool big)
{
    return big ? std::uint16_t(p[0] << 8 | p[1]) : std::uint16_t(p[1] << 8 | p[0]);
}

std::uint32_t Get32(const std::uint8_t* p, bool big)
{
    return big ? std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3]
               : std::uint32_t(p[3]) << 24 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
}

unsigned TypeSize(std::uint16_t type)
{
    switch (type) {
    case 1: case 2: case 6: case 7: return 1;
    case 3: case 8: return 2;
    case 4: case 9: case 11: return 4;
    case 5: case 10: case 12: return 8;
    default: return 0;
    }
}

// Reads exactly size bytes at position; false when the stream holds fewer.
bool ReadAt(QIODevice& stream, qint64 position, void* data, qint64 size)
{
    if (position < 0 || !stream.seek(position))
        return false;
    return stream.read(static_cast<char*>(data), size) == size;
}

TCompressionType CompressionOf(std::uint32_t code)
{
    switch (code) {
    case 1: return ctNone;
    case 2: return ctFaxRLE;
    case 3: return ctFax3;
    case 4: return ctFax4;
    case 5: return ctLZW;
    case 6: return ctOJPEG;
    case 7: return ctJPEG;
    case 8: case 32946: return ctLZ77;
    case 32766: return ctNext;
    case 32771: return ctFaxRLEW;
    case 32773: return ctPackedBits;
    case 32809: return ctThunderscan;
    case 32895: return ctIT8CTPAD;
    case 32896: return ctIT8LW;
    case 32897: return ctIT8MP;
    case 32898: return ctIT8BL;
    case 32908: return ctPixarFilm;
    case 32909: return ctPixarLog;
    case 32947: return ctDCS;
    case 34661: return ctJBIG;
    default: return ctUnknown;
    }
}

TColorModel ModelOf(std::uint32_t photometric, unsigned samples)
{
    switch (photometric) {
    case 0: case 1: return cmGray;
    case 2: return samples < 4 ? cmRGB : cmRGBA;
    case 3: return cmIndexed;
    case 5: return cmCMYK;
    case 6: return cmYCbCr;
    case 8: return cmCIELab;
    default: return cmUnknown;
    }
}

// Horizontal differences of 16-bit samples undone in place, whole samples at a time, in
// the file's byte order; n is the width less one.
void Depredict16(std::uint8_t* row, std::size_t n, std::size_t samples, bool big)
{
    for (std::size_t i = samples; i < samples * (n + 1); ++i) {
        std::uint8_t* p = row + 2 * i;
        const std::uint16_t v = std::uint16_t(Get16(p, big) + Get16(p - 2 * samples, big));
        p[big ? 0 : 1] = std::uint8_t(v >> 8);
        p[big ? 1 : 0] = std::uint8_t(v);
    }
}

void ReverseBits(std::uint8_t* data, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i) {
        std::uint8_t b = data[i];
        b = std::uint8_t((b & 0xF0) >> 4 | (b & 0x0F) << 4);
        b = std::uint8_t((b & 0xCC) >> 2 | (b & 0x33) << 2);
        data[i] = std::uint8_t((b & 0xAA) >> 1 | (b & 0x55) << 1);
    }
}

}  // namespace

bool TTIFFGraphic::ProbeStream(QIODevice& stream)
{
    const qint64 start = stream.pos();
    const qint64 left = stream.size() - start;
    std::uint8_t h[8];
    bool ours = false;
    if (left > 8 && stream.read(reinterpret_cast<char*>(h), 8) == 8
        && ((h[0] == 'I' && h[1] == 'I') || (h[0] == 'M' && h[1] == 'M'))) {
        const bool big = h[0] == 'M';
        ours = Get16(h + 2, big) == 42 && Get32(h + 4, big) < std::uint64_t(left);
    }
    stream.seek(start);
    return ours;
}

const TTIFFGraphic::TEntry* TTIFFGraphic::Find(std::uint16_t tag) const
{
    const auto it = std::lower_bound(Entries.begin(), Entries.end(), tag,
                                     [](const TEntry& e, std::uint16_t t) { return e.Tag < t; });
    return it != Entries.end() && it->Tag == tag ? &*it : nullptr;
}

std::vector<std::uint8_t> TTIFFGraphic::RawValues(QIODevice& stream, const TEntry& entry)
{
    const std::uint64_t size = std::uint64_t(entry.Count) * TypeSize(entry.Type);
    if (size <= 4)
        return std::vector<std::uint8_t>(entry.Field, entry.Field + size);
    const bool big = ImageProperties.Options & ioBigEndian;
    const qint64 position = BasePosition + Get32(entry.Field, big);
    // A count that runs past the end of the file is cut to what the file holds.
    const qint64 available = std::max<qint64>(0, stream.size() - position);
    std::vector<std::uint8_t> data(std::size_t(std::min<std::uint64_t>(size, std::uint64_t(available))));
    if (!data.empty() && !ReadAt(stream, position, data.data(), qint64(data.size())))
        data.clear();
    return data;
}

std::vector<double> TTIFFGraphic::Values(QIODevice& stream, std::uint16_t tag)
{
    std::vector<double> values;
    const TEntry* entry = Find(tag);
    if (!entry || TypeSize(entry->Type) == 0)
        return values;
    const bool big = ImageProperties.Options & ioBigEndian;
    const std::vector<std::uint8_t> data = RawValues(stream, *entry);
    const unsigned size = TypeSize(entry->Type);
    values.reserve(data.size() / size);
    for (std::size_t i = 0; i + size <= data.size(); i += size) {
        const std::uint8_t* p = data.data() + i;
        switch (entry->Type) {
        case 1: case 2: case 7: values.push_back(p[0]); break;
        case 6: values.push_back(std::int8_t(p[0])); break;
        case 3: values.push_back(Get16(p, big)); break;
        case 8: values.push_back(std::int16_t(Get16(p, big))); break;
        case 4: values.push_back(Get32(p, big)); break;
        case 9: values.push_back(std::int32_t(Get32(p, big))); break;
        case 5: case 10: {
            const double n = entry->Type == 5 ? double(Get32(p, big)) : double(std::int32_t(Get32(p, big)));
            const double d = entry->Type == 5 ? double(Get32(p + 4, big)) : double(std::int32_t(Get32(p + 4, big)));
            values.push_back(d != 0 ? n / d : 0);
            break;
        }
        case 11: {
            const std::uint32_t bits = Get32(p, big);
            float f;
            std::memcpy(&f, &bits, 4);
            values.push_back(std::isfinite(f) ? f : 0);
            break;
        }
        case 12: {
            std::uint64_t bits = std::uint64_t(Get32(p, big)) << 32 | Get32(p + 4, big);
            if (!big)
                bits = std::uint64_t(Get32(p + 4, big)) << 32 | Get32(p, big);
            double f;
            std::memcpy(&f, &bits, 8);
            values.push_back(std::isfinite(f) ? f : 0);
            break;
        }
        }
    }
    return values;
}

double TTIFFGraphic::Value(QIODevice& stream, std::uint16_t tag, double fallback)
{
    const std::vector<double> values = Values(stream, tag);
    return values.empty() ? fallback : values.front();
}

void TTIFFGraphic::ReadDirectory(QIODevice& stream, std::uint32_t offset)
{
    const bool big = ImageProperties.Options & ioBigEndian;
    Entries.clear();
    std::uint8_t countBytes[2];
    if (!ReadAt(stream, BasePosition + offset, countBytes, 2))
        RaiseBrokenPicture(Name, QStringLiteral("каталог тегов TIFF обрезан"));
    const unsigned count = Get16(countBytes, big);
    std::vector<std::uint8_t> raw(std::size_t(count) * 12);
    if (stream.read(reinterpret_cast<char*>(raw.data()), qint64(raw.size())) != qint64(raw.size()))
        RaiseBrokenPicture(Name, QStringLiteral("каталог тегов TIFF обрезан"));
    Entries.resize(count);
    for (unsigned i = 0; i < count; ++i) {
        const std::uint8_t* p = raw.data() + 12 * i;
        Entries[i].Tag = Get16(p, big);
        Entries[i].Type = Get16(p + 2, big);
        Entries[i].Count = Get32(p + 4, big);
        std::memcpy(Entries[i].Field, p + 8, 4);
    }
    std::stable_sort(Entries.begin(), Entries.end(), [](const TEntry& a, const TEntry& b) { return a.Tag < b.Tag; });
}

bool TTIFFGraphic::ReadImageInfo(QIODevice& stream, unsigned imageIndex)
{
    TImageGraphic::ReadImageInfo(stream, imageIndex);
    TImageProperties& p = ImageProperties;
    std::uint8_t h[8];
    if (!ReadAt(stream, BasePosition, h, 8))
        RaiseBrokenPicture(Name, QStringLiteral("заголовок TIFF обрезан"));
    const bool big = h[0] == 'M' && h[1] == 'M';
    if (big)
        p.Options |= ioBigEndian;
    p.Version = Get16(h + 2, big);
    p.FirstIFD = Get32(h + 4, big);
    if (p.Version != 42)
        return false;
    std::uint32_t offset = p.FirstIFD;
    for (unsigned skip = 0; skip < imageIndex; ++skip) {
        ReadDirectory(stream, offset);
        std::uint8_t next[4];
        if (!ReadAt(stream, BasePosition + offset + 2 + 12 * qint64(Entries.size()), next, 4))
            return false;
        offset = Get32(next, big);
        if (offset == 0)
            return false;
    }
    ReadDirectory(stream, offset);

    const double width = Value(stream, 256, 0);
    const double height = Value(stream, 257, 0);
    if (width < 1 || height < 1 || width > std::numeric_limits<std::int32_t>::max()
        || height > std::numeric_limits<std::int32_t>::max())
        return false;
    p.Width = std::int32_t(width);
    p.Height = std::int32_t(height);

    for (double rows : Values(stream, 278))
        p.RowsPerStrip.push_back(rows >= 1 && rows < 4294967295.0 ? std::uint32_t(rows) : std::uint32_t(p.Height));
    if (p.RowsPerStrip.empty())
        p.RowsPerStrip.push_back(std::uint32_t(p.Height));
    const double samples = Value(stream, 277, 1);
    const double bits = Value(stream, 258, 1);
    p.SamplesPerPixel = std::uint8_t(std::clamp(samples, 0.0, 255.0));
    p.BitsPerSample = std::uint8_t(std::clamp(bits, 0.0, 255.0));
    p.TileWidth = std::uint32_t(Value(stream, 322, 0));
    p.TileLength = std::uint32_t(Value(stream, 323, 0));
    if (p.TileWidth != 0 && p.TileLength != 0)
        p.Options |= ioTiled;
    const std::uint32_t photometric = std::uint32_t(Value(stream, 262, 0));
    if (photometric == 0)
        p.Options |= ioMinIsWhite;
    const std::vector<double> extra = Values(stream, 338);
    ExtraSampleCount = std::uint32_t(extra.size());
    p.HasAlpha = !extra.empty() && std::all_of(extra.begin(), extra.end(), [](double v) { return v <= 2; });
    p.BitsPerPixel = std::uint8_t(std::min(255, p.BitsPerSample * p.SamplesPerPixel));
    p.Compression = CompressionOf(std::uint32_t(Value(stream, 259, 0)));
    p.ColorScheme = ModelOf(photometric, p.SamplesPerPixel);
    p.SubSampling = {1, 1};
    if (p.ColorScheme == cmYCbCr) {
        Coefficients.clear();
        for (double c : Values(stream, 529))
            Coefficients.push_back(float(c));
        if (Coefficients.size() < 3)
            Coefficients = {0.299f, 0.587f, 0.114f};
        const std::vector<double> sub = Values(stream, 530);
        p.SubSampling = {std::uint8_t(sub.size() > 0 ? std::clamp(sub[0], 0.0, 255.0) : 2),
                         std::uint8_t(sub.size() > 1 ? std::clamp(sub[1], 0.0, 255.0) : 2)};
        YCbCrPositioning = std::uint32_t(Value(stream, 531, 1));
    }
    // The private JPEG modes are libtiff pseudo-tags no file holds: their defaults.
    p.JPEGColorMode = 0;
    p.JPEGTablesMode = 3;
    p.PlanarConfig = std::uint32_t(Value(stream, 284, 0));
    p.XResolution = float(Value(stream, 282, 0));
    p.YResolution = float(Value(stream, 283, 0));
    if (Value(stream, 296, 2) == 3) {
        p.XResolution *= 2.54f;
        p.YResolution *= 2.54f;
    }
    p.Predictor = std::uint32_t(Value(stream, 317, 0));
    if (Value(stream, 266, 1) == 2)
        p.Options |= ioReversed;
    T4Options = std::uint32_t(Value(stream, 292, 0));
    return true;
}

void TTIFFGraphic::CheckStrips(QIODevice& stream, const std::vector<double>& offsets,
                               const std::vector<double>& byteCounts, std::uint64_t bytesPerLine, bool packed)
{
    const TImageProperties& p = ImageProperties;
    const double fileSize = double(stream.size());
    std::uint64_t row = 0;
    for (std::size_t strip = 0; strip < offsets.size() && row < std::uint64_t(p.Height); ++strip) {
        std::uint64_t rows = p.RowsPerStrip[std::min(strip, p.RowsPerStrip.size() - 1)];
        rows = std::min<std::uint64_t>(rows, std::uint64_t(p.Height) - row);
        row += rows;
        const double start = double(BasePosition) + offsets[strip];
        // A packed strip is as long as its count says; a verbatim one holds its rows.
        const double length = packed ? (strip < byteCounts.size() ? byteCounts[strip] : 0) : double(rows * bytesPerLine);
        if (offsets[strip] < 0 || length < 0 || start + length > fileSize)
            RaiseBrokenPicture(Name, QStringLiteral("полоса %1 из %2 лежит за концом файла")
                                         .arg(strip + 1)
                                         .arg(offsets.size()));
    }
    if (row < std::uint64_t(p.Height))
        RaiseBrokenPicture(Name, QStringLiteral("полосы рисунка TIFF содержат %1 строк из %2").arg(row).arg(p.Height));
}

void TTIFFGraphic::LoadFromStream(QIODevice& stream)
{
    SetSize(0, 0);
    BasePosition = stream.pos();
    if (!ReadImageInfo(stream, 0))
        RaiseInvalid();
    TImageProperties& p = ImageProperties;
    const auto unsupported = [&](const QString& what) {
        throw EInvalidGraphic(QStringLiteral("Рисунок TIFF \"%1\" не читается: %2 не поддерживается").arg(Name, what));
    };
    if (p.Options & ioTiled)
        unsupported(QStringLiteral("рисунок, разбитый на плитки,"));
    if (p.PlanarConfig == 2 && p.SamplesPerPixel > 1)
        unsupported(QStringLiteral("хранение цветов отдельными плоскостями"));
    if (p.Compression == ctFax3 && (T4Options & 1))
        unsupported(QStringLiteral("двумерное сжатие CCITT Group 3"));
    if (p.ColorScheme == cmYCbCr && p.Compression != ctJPEG
        && (p.SubSampling[0] != 1 || p.SubSampling[1] != 1))
        unsupported(QStringLiteral("цвет YCbCr с прореживанием %1x%2").arg(p.SubSampling[0]).arg(p.SubSampling[1]));
    const int bits = p.BitsPerSample;
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16)
        unsupported(QStringLiteral("глубина %1 бит на отсчет").arg(bits));
    if (p.SamplesPerPixel < 1 || p.SamplesPerPixel > 4)
        unsupported(QStringLiteral("число отсчетов на точку %1").arg(p.SamplesPerPixel));

    Progress(psStarting, 0, false, QRect(), QStringLiteral("Preparing..."));

    std::vector<double> offsets = Values(stream, 273);
    std::vector<double> byteCounts = Values(stream, 279);

    // Colour manager: the file's samples to the bitmap's.
    TColorManager& colors = ColorManager();
    colors.SourceFlags = (p.Options & ioBigEndian) ? sfByteSwap : 0;
    colors.SetSourceSampleBits(std::uint8_t(bits));
    // Two-bit images go to a 4-bit bitmap, as no bitmap holds 2 bits.
    colors.SetTargetSampleBits(std::uint8_t(bits == 16 ? 8 : bits == 2 ? 4 : bits));
    const bool jpeg = p.Compression == ctJPEG;
    TColorModel source = p.ColorScheme;
    if (jpeg && source != cmGray)
        source = cmBGR;   // the JPEG decoder delivers blue, green, red
    TColorModel target = p.ColorScheme;
    switch (p.ColorScheme) {
    case cmIndexed:
        if (p.HasAlpha)
            source = cmGrayAlpha;
        break;
    case cmRGB: target = cmBGR; break;
    case cmRGBA: target = cmBGRA; break;
    case cmCMYK: case cmCIELab: case cmYCbCr: target = cmBGR; break;
    case cmUnknown: unsupported(QStringLiteral("этот способ представления цвета")); break;
    default: break;
    }
    // The converters read and write the samples the model names: a damaged or unusual
    // sample count would take them past the row.
    int needed = 1;
    switch (source) {
    case cmGrayAlpha: needed = 2; break;
    case cmRGB: case cmBGR: case cmCIELab: case cmYCbCr: needed = 3; break;
    case cmRGBA: case cmCMYK: needed = 4; break;
    default: break;
    }
    if (p.SamplesPerPixel != needed || (jpeg && bits != 8) || (target == cmIndexed && bits > 8))
        unsupported(QStringLiteral("%1 отсчета по %2 бит на точку при этом представлении цвета")
                        .arg(p.SamplesPerPixel)
                        .arg(bits));
    colors.SetSourceModel(source);
    colors.SetTargetModel(target);
    colors.SetSourceSamples(p.SamplesPerPixel);
    colors.SetTargetSamples(p.ColorScheme == cmCMYK ? 3 : p.SamplesPerPixel);
    if (p.ColorScheme == cmCIELab)
        colors.SourceFlags |= sfLabByteRange;

    SetPixelFormat(source == cmGrayAlpha ? pf8bit : colors.PixelFormatFor(1));
    if (PixelFormat() == pfCustom)
        unsupported(QStringLiteral("%1 отсчета по %2 бит на точку").arg(p.SamplesPerPixel).arg(bits));

    if (target == cmIndexed) {
        const TEntry* map = Find(320);
        if (!map || map->Type != 3)
            RaiseBrokenPicture(Name, QStringLiteral("нет палитры"));
        // A longer map than the depth needs is cut to it.
        std::vector<std::uint8_t> raw = RawValues(stream, *map);
        const std::size_t entries = std::min<std::size_t>(raw.size() / 6, std::size_t(1) << std::min(bits, 8));
        const std::size_t plane = raw.size() / 6 * 2;
        const void* planes[] = {raw.data(), raw.data() + plane, raw.data() + 2 * plane};
        SetColorTable(colors.BuildColorPalette(planes, plPlanes16, unsigned(entries), false));
    } else if (target == cmGray || target == cmGrayAlpha) {
        SetColorTable(colors.BuildGrayPalette(p.Options & ioMinIsWhite));
    }
    if (p.ColorScheme == cmYCbCr && !jpeg)
        colors.SetChromaParameters(Coefficients, 1, 1);

    const std::uint64_t bytesPerLine = (std::uint64_t(p.BitsPerPixel) * std::uint64_t(p.Width) + 7) / 8;
    p.BytesPerLine = std::uint32_t(bytesPerLine);
    CheckStrips(stream, offsets, byteCounts, bytesPerLine, p.Compression != ctNone);
    SetSize(p.Width, p.Height);

    // Horizontal differences: whole samples of 8 or 16 bits.
    const bool predict = p.Compression != ctNone && p.Predictor == 2 && (bits == 8 || bits == 16);

    std::unique_ptr<TDecoder> decoder;
    const bool reversed = p.Options & ioReversed;
    switch (p.Compression) {
    case ctNone: break;
    case ctFaxRLE: decoder = std::make_unique<TCCITTMHDecoder>(T4Options, reversed, false, p.Width); break;
    case ctFaxRLEW: decoder = std::make_unique<TCCITTMHDecoder>(T4Options, reversed, true, p.Width); break;
    case ctFax3: decoder = std::make_unique<TCCITTFax3Decoder>(T4Options, reversed, false, p.Width); break;
    case ctLZW: decoder = std::make_unique<TTIFFLZWDecoder>(); break;
    case ctLZ77: decoder = std::make_unique<TLZ77Decoder>(1, true); break;
    case ctPackedBits: decoder = std::make_unique<TPackbitsRLEDecoder>(); break;
    case ctThunderscan: decoder = std::make_unique<TThunderDecoder>(p.Width); break;
    case ctJPEG:
        if (const TEntry* tables = Find(347))
            p.JPEGTables = RawValues(stream, *tables);
        decoder = std::make_unique<TTIFFJPEGDecoder>(&p);
        break;
    default:
        RaiseGraphicError(QStringLiteral("Cannot load image. %1 not supported for %2 files.")
                              .arg(QStringLiteral("The compression scheme is"), FormatName));
    }
    const bool ccitt = p.Compression == ctFaxRLE || p.Compression == ctFaxRLEW || p.Compression == ctFax3;
    if (byteCounts.empty() && decoder)
        RaiseBrokenPicture(Name, QStringLiteral("нет длин сжатых полос"));
    if (decoder)
        decoder->StartUnpack();

    Progress(psEnding, 0, false, QRect(), QString());
    Progress(psStarting, 0, false, QRect(), QStringLiteral("Transfering..."));
    p.CurrentRow = 0;
    p.CurrentStrip = 0;
    p.StripCount = std::uint32_t(offsets.size());
    const qint64 fileSize = stream.size();
    std::vector<std::uint8_t> unpacked, packed;
    ProgressRect = QRect(0, 0, p.Width, 0);
    for (; p.CurrentStrip < p.StripCount && p.CurrentRow < std::uint32_t(p.Height); ++p.CurrentStrip) {
        const std::uint32_t strip = p.CurrentStrip;
        std::uint64_t rows = p.RowsPerStrip[std::min<std::size_t>(strip, p.RowsPerStrip.size() - 1)];
        rows = std::min<std::uint64_t>(rows, std::uint64_t(p.Height) - p.CurrentRow);
        const std::size_t unpackedSize = std::size_t(rows * bytesPerLine);
        unpacked.assign(unpackedSize, 0);
        // Offsets and counts of a damaged file may be negative or past the end.
        const double offset = offsets[strip];
        const bool inside = offset >= 0 && offset < double(fileSize);
        const qint64 position = inside ? BasePosition + qint64(offset) : fileSize;
        const qint64 available = std::max<qint64>(0, fileSize - position);
        if (decoder) {
            const double count = strip < byteCounts.size() ? byteCounts[strip] : 0;
            packed.assign(std::size_t(std::clamp<double>(count, 0, double(available))), 0);
            if (!packed.empty() && ReadAt(stream, position, packed.data(), qint64(packed.size()))) {
                if (reversed && !ccitt)
                    ReverseBits(packed.data(), packed.size());
                const std::uint8_t* from = packed.data();
                std::uint8_t* to = unpacked.data();
                decoder->Unpack(from, to, packed.size(), unpackedSize);
            }
        } else {
            const std::size_t size = std::min<std::size_t>(unpackedSize, std::size_t(available));
            if (size > 0 && ReadAt(stream, position, unpacked.data(), qint64(size)) && reversed)
                ReverseBits(unpacked.data(), size);
        }
        for (std::size_t start = 0; start + bytesPerLine <= unpackedSize && p.CurrentRow < std::uint32_t(p.Height);
             start += bytesPerLine) {
            std::uint8_t* row = unpacked.data() + start;
            if (predict && p.Width > 1) {
                if (bits == 16)
                    Depredict16(row, std::size_t(p.Width - 1), p.SamplesPerPixel, p.Options & ioBigEndian);
                else if (p.SamplesPerPixel == 3)
                    Depredict3(row, std::size_t(p.Width - 1));
                else if (p.SamplesPerPixel == 4)
                    Depredict4(row, std::size_t(p.Width - 1));
                else
                    Depredict1(row, std::size_t(p.Width - 1) * p.SamplesPerPixel);
            }
            const void* sources[] = {row};
            colors.ConvertLine(sources, ScanLine(int(p.CurrentRow)), unsigned(p.Width));
            ++p.CurrentRow;
            Progress(psRunning, int(std::lround(p.CurrentRow * 100.0 / p.Height)), false, ProgressRect, QString());
            ProgressRect.translate(0, 1);
        }
    }
    Progress(psEnding, 100, false, QRect(), QString());
    if (decoder)
        decoder->FinishUnpack();
}
