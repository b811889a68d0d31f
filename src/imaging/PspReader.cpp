// The Paint Shop Pro reader. Every length comes from the file and is measured against it
// and against the plane it fills, so a lying block spoils its own plane only.
#include "imaging/PspReader.h"

#include "imaging/PictureReaders.h"
#include "imaging/ReaderBytes.h"
#include "imaging/decoders/Decoders.h"

#include <array>
#include <cmath>

namespace {

constexpr qint64 SignatureSize = 32;
const QByteArray Signature = QByteArrayLiteral("Paint Shop Pro Image File");
const QString FormatName = QStringLiteral("PSP");

bool SignatureMatches(const std::uint8_t* h)
{
    return QByteArray(reinterpret_cast<const char*>(h), int(Signature.size())).compare(Signature, Qt::CaseInsensitive)
           == 0;
}

// A 32-bit little-endian value at the stream's position; 0 at its end.
std::uint32_t ReadLong(QIODevice& stream)
{
    std::uint8_t b[4] = {};
    ReadExact(stream, b, 4);
    return LittleEndian32(b);
}

std::uint16_t ReadWord(QIODevice& stream)
{
    std::uint8_t b[2] = {};
    ReadExact(stream, b, 2);
    return LittleEndian16(b);
}

TCompressionType CompressionOf(std::uint16_t code)
{
    switch (code) {
    case 0: return ctNone;
    case 1: return ctRLE;
    case 2: return ctLZ77;
    case 3: return ctJPEG;
    default: return ctUnknown;
    }
}

}  // namespace

bool TPSPGraphic::ProbeStream(QIODevice& stream)
{
    return ProbeAndRestore(stream, [](QIODevice& s, qint64 left) {
        std::uint8_t h[SignatureSize + 4];
        return left > SignatureSize + 4 && ReadExact(s, h, sizeof h) && SignatureMatches(h)
               && LittleEndian16(h + SignatureSize) >= 3;
    });
}

bool TPSPGraphic::ReadBlockHeader(QIODevice& stream, TBlockHeader& block) const
{
    std::uint8_t h[14];
    const qint64 size = ImageProperties.Version == 3 ? 14 : 10;
    if (!ReadExact(stream, h, size) || h[0] != '~')
        return false;
    block.Kind = LittleEndian16(h + 4);
    block.Start = stream.pos();
    block.End = block.Start + qint64(LittleEndian32(h + size - 4));
    return true;
}

bool TPSPGraphic::ReadImageInfo(QIODevice& stream, unsigned imageIndex)
{
    TImageGraphic::ReadImageInfo(stream, imageIndex);
    std::uint8_t h[SignatureSize + 4];
    if (!ReadExact(stream, h, sizeof h) || !SignatureMatches(h) || LittleEndian16(h + SignatureSize) < 3)
        return false;
    TImageProperties& p = ImageProperties;
    p.Version = LittleEndian16(h + SignatureSize);
    TBlockHeader block;
    if (!ReadBlockHeader(stream, block))
        return false;
    AttributesEnd = block.End;
    if (p.Version >= 4)
        ReadLong(stream);   // chunk length
    std::uint8_t a[42] = {};
    if (stream.read(reinterpret_cast<char*>(a), sizeof a) < 28)
        return false;
    p.Width = std::int32_t(std::min<std::uint32_t>(LittleEndian32(a), 0x7FFFFFFF));
    p.Height = std::int32_t(std::min<std::uint32_t>(LittleEndian32(a + 4), 0x7FFFFFFF));
    double resolution;
    std::memcpy(&resolution, a + 8, 8);   // little-endian, as this machine
    if (!std::isfinite(resolution) || resolution < 0 || resolution > 1e6)
        resolution = 0;
    if (a[16] == 2)
        resolution *= 2.54;
    p.XResolution = p.YResolution = float(resolution);
    const std::uint16_t depth = LittleEndian16(a + 19);
    if (depth == 24) {
        p.BitsPerSample = 8;
        p.SamplesPerPixel = 3;
        p.ColorScheme = cmRGB;
    } else {
        p.BitsPerSample = std::uint8_t(std::min<int>(depth, 255));
        p.SamplesPerPixel = 1;
        p.ColorScheme = a[27] ? cmGray : cmIndexed;
    }
    p.BitsPerPixel = std::uint8_t(std::min(255, p.BitsPerSample * p.SamplesPerPixel));
    p.Compression = CompressionOf(LittleEndian16(a + 17));
    return true;
}

void TPSPGraphic::LoadFromStream(QIODevice& stream)
{
    SetSize(0, 0);
    BasePosition = stream.pos();
    if (!ReadImageInfo(stream, 0))
        RaiseInvalidImage(FormatName);
    const TImageProperties& p = ImageProperties;
    Progress(psStarting, 0, false, QRect(), QStringLiteral("Preparing..."));
    const int bits = p.BitsPerSample;
    if (bits != 1 && bits != 4 && bits != 8)
        RaiseGraphicError(QStringLiteral("Invalid color format in %1 file.").arg(FormatName));
    if (p.Width < 1 || p.Height < 1)
        RaiseBrokenPicture(Name, QStringLiteral("пустой размер рисунка PSP"));
    if (p.Compression != ctNone && p.Compression != ctRLE && p.Compression != ctLZ77)
        RaiseGraphicError(QStringLiteral("Cannot load image. The compression scheme is not supported for %1 files.")
                              .arg(FormatName));

    TColorManager& colors = ColorManager();
    colors.SourceFlags = 0;
    colors.SetSourceSampleBits(std::uint8_t(bits));
    colors.SetTargetSampleBits(std::uint8_t(bits));
    colors.SetSourceSamples(p.SamplesPerPixel);
    colors.SetTargetSamples(p.SamplesPerPixel);
    colors.SetSourceModel(p.ColorScheme);
    colors.SetTargetModel(p.ColorScheme == cmRGB ? cmBGR : p.ColorScheme);
    SetPixelFormat(colors.PixelFormatFor(1));
    {
        // The file must hold every channel's plane, packed as tightly as its coding can:
        // verbatim one for one, run-length 2 bytes for up to 127, deflate about 1 for 1032.
        const std::uint64_t width = std::uint64_t(p.Width);
        const std::uint64_t rowBytes = bits == 1 ? (width + 7) / 8 : bits == 4 ? width / 2 + 1 : width;
        const std::uint64_t bytes = rowBytes * std::uint64_t(p.Height) * std::max<std::uint64_t>(p.SamplesPerPixel, 1);
        const std::uint64_t needed = p.Compression == ctNone  ? bytes
                                     : p.Compression == ctRLE ? (bytes + 126) / 127 * 2
                                                              : bytes / 1032;
        CheckPictureData(Name, p.Width, p.Height, needed, BytesLeft(stream, BasePosition));
    }
    SetSize(p.Width, p.Height);
    if (p.ColorScheme == cmGray)
        SetColorTable(colors.BuildGrayPalette(false));
    Progress(psEnding, 100, false, QRect(), QString());

    bool loaded = false;
    qint64 next = AttributesEnd;
    TBlockHeader block;
    while (next < stream.size() && stream.seek(next) && ReadBlockHeader(stream, block)) {
        if (block.Kind == 2) {
            if (p.Version >= 4)
                ReadLong(stream);   // chunk length
            const std::uint32_t count = std::min<std::uint32_t>(ReadLong(stream), 256);
            std::vector<std::uint8_t> entries(std::size_t(count) * 4);
            ReadZeroFilled(stream, -1, entries.data(), qint64(entries.size()));
            const std::array<const void*, 1> table{entries.data()};
            SetColorTable(colors.BuildColorPalette(table, plQuads8, count, true));
        } else if (block.Kind == 3 && !loaded) {
            loaded = ReadLayerBank(stream, block.End);
        }
        next = block.End;
    }
}

bool TPSPGraphic::ReadLayerBank(QIODevice& stream, qint64 end)
{
    const TImageProperties& p = ImageProperties;
    TBlockHeader layer;
    while (stream.pos() < end && ReadBlockHeader(stream, layer) && layer.Kind == 4) {
        Progress(psStarting, 0, false, QRect(), QStringLiteral("Loading data..."));
        std::uint8_t type = 0;
        if (p.Version == 3) {
            stream.seek(stream.pos() + 256);   // the name
            std::uint8_t info[115] = {};
            ReadExact(stream, info, sizeof info);
            type = info[0];
        } else {
            const qint64 chunkStart = stream.pos();
            const std::uint32_t chunk = ReadLong(stream);
            const std::uint16_t nameLength = ReadWord(stream);
            stream.seek(stream.pos() + nameLength);
            std::uint8_t info[115] = {};
            ReadExact(stream, info, sizeof info);
            type = info[0];
            stream.seek(chunkStart + qint64(chunk));
        }
        if (p.Version == 3 ? type == 0 : type <= 1) {
            ReadLayer(stream);
            return true;
        }
        Progress(psEnding, 100, false, QRect(), QString());
        if (layer.End <= layer.Start || !stream.seek(layer.End))
            break;
    }
    return false;
}

void TPSPGraphic::ReadLayer(QIODevice& stream)
{
    const TImageProperties& p = ImageProperties;
    const int bits = p.BitsPerSample;
    const std::size_t width = std::size_t(p.Width);
    const std::size_t rowBytes = bits == 1 ? (width + 7) / 8 : bits == 4 ? width / 2 + 1 : width;
    const std::size_t planeBytes = rowBytes * std::size_t(p.Height);

    std::uint16_t channels = 0;
    if (p.Version == 3) {
        ReadWord(stream);   // bitmap count
        channels = ReadWord(stream);
    } else {
        const qint64 chunkStart = stream.pos();
        const std::uint32_t chunk = ReadLong(stream);
        ReadWord(stream);
        channels = ReadWord(stream);
        stream.seek(chunkStart + qint64(chunk));
    }
    TColorManager& colors = ColorManager();
    if (channels > 3 && p.ColorScheme == cmRGB) {
        colors.SetTargetModel(cmBGRA);
        colors.SetTargetSamples(4);
        SetPixelFormat(pf32bit);
        SetSize(p.Width, p.Height);
    }

    // Planes by channel kind: composite, red, green, blue.
    std::array<std::vector<std::uint8_t>, 4> planes;
    std::vector<std::uint8_t> packed;
    for (std::uint16_t c = 0; c < channels; ++c) {
        TBlockHeader block;
        if (!ReadBlockHeader(stream, block))
            break;
        const std::uint32_t chunk = p.Version >= 4 ? ReadLong(stream) : 0;
        const std::uint32_t packedLength = ReadLong(stream);
        const std::uint32_t unpackedLength = ReadLong(stream);
        ReadWord(stream);       // bitmap kind
        const std::uint16_t kind = ReadWord(stream);
        if (p.Version >= 4)
            stream.seek(block.Start + qint64(chunk));   // the data follow the chunk
        // The conversion reads whole planes: a channel is cut or zero-filled to one.
        const std::size_t unpacked = std::min<std::size_t>(unpackedLength, planeBytes);
        std::vector<std::uint8_t> plane(planeBytes, 0);
        const qint64 available = BytesLeft(stream, stream.pos());
        if (p.Compression == ctNone) {
            ReadZeroFilled(stream, -1, plane.data(), std::min<qint64>({qint64(packedLength), qint64(unpacked), available}));
        } else {
            packed.resize(std::size_t(std::min<qint64>(packedLength, available)));
            const qint64 got = ReadZeroFilled(stream, -1, packed.data(), qint64(packed.size()));
            std::unique_ptr<TDecoder> decoder;
            if (p.Compression == ctRLE)
                decoder = std::make_unique<TPSPRLEDecoder>();
            else
                decoder = std::make_unique<TLZ77Decoder>(1, true);
            const std::uint8_t* from = packed.data();
            std::uint8_t* to = plane.data();
            decoder->StartUnpack();
            decoder->Unpack(from, to, std::size_t(got), unpacked);
            decoder->FinishUnpack();
        }
        if (kind <= 3)
            planes[kind] = std::move(plane);
        if (block.End <= block.Start || !stream.seek(block.End))
            break;
    }
    Progress(psEnding, 100, false, QRect(), QString());

    Progress(psStarting, 0, false, QRect(), QStringLiteral("Transfering..."));
    const bool colour = p.ColorScheme == cmRGB;
    const std::vector<std::uint8_t> blank(planeBytes, 0);   // a channel the file lacks
    const auto planeOf = [&](int kind) { return planes[std::size_t(kind)].empty() ? blank.data() : planes[std::size_t(kind)].data(); };
    ProgressRect = QRect(0, 0, p.Width, 1);
    for (int r = 0; r < p.Height; ++r) {
        const std::size_t offset = std::size_t(r) * rowBytes;
        if (colour) {
            const std::array<const void*, 4> sources{planeOf(1) + offset, planeOf(2) + offset, planeOf(3) + offset,
                                                     planeOf(0) + offset};
            colors.ConvertLine(sources, ScanLine(r), unsigned(p.Width));
        } else {
            const std::array<const void*, 1> sources{planeOf(0) + offset};
            colors.ConvertLine(sources, ScanLine(r), unsigned(p.Width));
        }
        Progress(psRunning, r * 100 / p.Height, true, ProgressRect, QString());
        ProgressRect.translate(0, 1);
    }
    Progress(psEnding, 100, true, QRect(), QString());
}
