// The PNG reader. A plan underlay may be a scan of tens of millions of pixels, so the
// image data is never held whole: one IDAT chunk and two rows at a time.
#include "imaging/PngReader.h"

#include "imaging/PictureReaders.h"
#include "imaging/decoders/Decoders.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

const QString FormatName = QStringLiteral("PNG");
const std::uint8_t Signature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

[[noreturn]] void RaiseFormatError(const char* text)
{
    RaiseGraphicError(QString::fromLatin1(text).arg(FormatName));
}

std::uint32_t Get32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

std::uint16_t Get16(const std::uint8_t* p)
{
    return std::uint16_t(p[0] << 8 | p[1]);
}

// Chunk types are compared with bit 5 of every byte ignored.
bool SameType(const std::uint8_t* type, const char* name)
{
    for (int i = 0; i < 4; ++i)
        if ((type[i] & 0xDF) != (std::uint8_t(name[i]) & 0xDF))
            return false;
    return true;
}

struct RPass {
    int StartRow, StartColumn, RowStep, ColumnStep;
    std::uint8_t Mask;
};

const RPass Adam7[7] = {{0, 0, 8, 8, 0x80}, {0, 4, 8, 8, 0x08}, {4, 0, 8, 4, 0x88}, {0, 2, 4, 4, 0x22},
                        {2, 0, 4, 2, 0xAA}, {0, 1, 2, 2, 0x55}, {1, 0, 2, 1, 0xFF}};

bool ValidDepth(int colorType, int depth)
{
    switch (colorType) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2: case 4: case 6: return depth == 8 || depth == 16;
    default: return false;
    }
}

int PaethPredictor(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return a;
    return pb <= pc ? b : c;
}

// Undoes the filter named by row[0] on the size bytes after it; prior is the previous
// row of the same pass (zeros for the first), also with its filter byte in front.
void Unfilter(std::uint8_t* row, const std::uint8_t* prior, std::size_t size, std::size_t bpp)
{
    std::uint8_t* x = row + 1;
    const std::uint8_t* b = prior + 1;
    bpp = std::min(bpp, size);
    switch (row[0]) {
    case 1:
        for (std::size_t i = bpp; i < size; ++i)
            x[i] = std::uint8_t(x[i] + x[i - bpp]);
        break;
    case 2:
        for (std::size_t i = 0; i < size; ++i)
            x[i] = std::uint8_t(x[i] + b[i]);
        break;
    case 3:
        for (std::size_t i = 0; i < bpp; ++i)
            x[i] = std::uint8_t(x[i] + (b[i] >> 1));
        for (std::size_t i = bpp; i < size; ++i)
            x[i] = std::uint8_t(x[i] + ((x[i - bpp] + b[i]) >> 1));
        break;
    case 4:
        for (std::size_t i = 0; i < bpp; ++i)
            x[i] = std::uint8_t(x[i] + b[i]);
        for (std::size_t i = bpp; i < size; ++i)
            x[i] = std::uint8_t(x[i] + PaethPredictor(x[i - bpp], b[i], b[i - bpp]));
        break;
    default:
        break;   // 0 and unknown types leave the row as read
    }
}

// 16-bit values scale by 255 / 65535; depths below 8 as their samples do.
int ScaleTo8(int value, int depth)
{
    if (depth == 16)
        return value * 255 / 65535;
    if (depth < 8)
        return std::min(value, (1 << depth) - 1) * 255 / ((1 << depth) - 1);
    return value & 0xFF;
}

}  // namespace

TPNGGraphic::TPNGGraphic() = default;

TPNGGraphic::~TPNGGraphic() = default;

bool TPNGGraphic::ProbeStream(QIODevice& stream)
{
    const qint64 start = stream.pos();
    std::uint8_t head[8];
    const bool ours = stream.size() - start > 8 && stream.read(reinterpret_cast<char*>(head), 8) == 8
        && std::memcmp(head, Signature, 8) == 0;
    stream.seek(start);
    return ours;
}

bool TPNGGraphic::ReadImageInfo(QIODevice& stream, unsigned imageIndex)
{
    TImageGraphic::ReadImageInfo(stream, imageIndex);
    TImageProperties& p = ImageProperties;
    std::uint8_t head[8 + 8 + 13 + 4];
    if (!stream.seek(BasePosition) || stream.read(reinterpret_cast<char*>(head), sizeof head) != qint64(sizeof head)
        || std::memcmp(head, Signature, 8) != 0 || Get32(head + 8) != 13 || !SameType(head + 12, "IHDR")
        || crc32(0, head + 12, 17) != Get32(head + 29))
        return false;
    const std::uint8_t* ihdr = head + 16;
    const std::uint32_t width = Get32(ihdr);
    const std::uint32_t height = Get32(ihdr + 4);
    if (width == 0 || height == 0 || width > std::uint32_t(std::numeric_limits<std::int32_t>::max())
        || height > std::uint32_t(std::numeric_limits<std::int32_t>::max()))
        return false;
    p.Options |= ioBigEndian;
    p.Width = std::int32_t(width);
    p.Height = std::int32_t(height);
    p.BitsPerSample = ihdr[8];
    switch (ihdr[9]) {
    case 0: p.ColorScheme = cmGray; p.SamplesPerPixel = 1; break;
    case 2: p.ColorScheme = cmRGB; p.SamplesPerPixel = 3; break;
    case 3: p.ColorScheme = cmIndexed; p.SamplesPerPixel = 1; break;
    case 4: p.ColorScheme = cmGrayAlpha; p.SamplesPerPixel = 2; break;
    case 6: p.ColorScheme = cmRGBA; p.SamplesPerPixel = 4; break;
    default: p.ColorScheme = cmUnknown; p.SamplesPerPixel = 1; break;
    }
    p.BitsPerPixel = std::uint8_t(std::min(255, p.BitsPerSample * p.SamplesPerPixel));
    p.Compression = ihdr[10] == 0 ? ctLZ77 : ctUnknown;
    p.FilterMode = ihdr[11];
    p.Interlaced = ihdr[12] == 1;
    p.HasAlpha = p.ColorScheme == cmGrayAlpha || p.ColorScheme == cmRGBA;

    // The file gamma, when a gAMA chunk comes before the end.
    std::uint8_t chunk[8];
    while (stream.read(reinterpret_cast<char*>(chunk), 8) == 8) {
        const std::uint32_t length = Get32(chunk);
        if (SameType(chunk + 4, "IEND"))
            break;
        if (SameType(chunk + 4, "gAMA")) {
            std::uint8_t value[4];
            if (length >= 4 && stream.read(reinterpret_cast<char*>(value), 4) == 4 && Get32(value) != 0)
                p.FileGamma = float(Get32(value) / 100000.0);
            break;
        }
        if (!stream.seek(stream.pos() + qint64(length) + 4))
            break;
    }
    return true;
}

void TPNGGraphic::ReadChunkHeader(QIODevice& stream)
{
    std::uint8_t head[8];
    if (stream.read(reinterpret_cast<char*>(head), 8) != 8)
        RaiseBrokenPicture(Name, QStringLiteral("данные обрезаны"));
    Chunk.Length = Get32(head);
    std::memcpy(Chunk.Type, head + 4, 4);
    if (Chunk.Length > 0x7FFFFFFFu)
        RaiseFormatError("Cannot load image. Invalid or unexpected %1 image format.");
}

void TPNGGraphic::ReadChunkData(QIODevice& stream)
{
    // A length the file cannot hold is a cut file, found before anything is allocated.
    if (qint64(Chunk.Length) + 4 > stream.size() - stream.pos())
        RaiseBrokenPicture(Name, QStringLiteral("данные обрезаны"));
    Raw.resize(Chunk.Length);
    std::uint8_t crc[4];
    if ((Chunk.Length > 0 && stream.read(reinterpret_cast<char*>(Raw.data()), qint64(Chunk.Length)) != qint64(Chunk.Length))
        || stream.read(reinterpret_cast<char*>(crc), 4) != 4)
        RaiseBrokenPicture(Name, QStringLiteral("данные обрезаны"));
    uLong sum = crc32(0, Chunk.Type, 4);
    sum = crc32(sum, Raw.data(), uInt(Raw.size()));
    if (std::uint32_t(sum) != Get32(crc))
        RaiseFormatError("Cannot load image. CRC error found in %1 file.");
}

void TPNGGraphic::SkipChunkData(QIODevice& stream)
{
    const qint64 next = stream.pos() + qint64(Chunk.Length) + 4;
    if (next > stream.size() || !stream.seek(next))
        RaiseBrokenPicture(Name, QStringLiteral("данные обрезаны"));
}

bool TPNGGraphic::CurrentIs(const char* type) const
{
    return SameType(Chunk.Type, type);
}

void TPNGGraphic::LoadFromStream(QIODevice& stream)
{
    try {
        Load(stream);
    } catch (...) {
        Decoder.reset();
        Raw = std::vector<std::uint8_t>();
        Progress(psEnding, 0, false, QRect(), QString());
        throw;
    }
    Decoder.reset();
    Raw = std::vector<std::uint8_t>();
    Progress(psEnding, 0, false, QRect(), QString());
}

void TPNGGraphic::Load(QIODevice& stream)
{
    SetSize(0, 0);
    BasePosition = stream.pos();
    if (!ReadImageInfo(stream, 0))
        RaiseFormatError("Cannot load image. Invalid or unexpected %1 image format.");
    stream.seek(BasePosition + 8);
    Progress(psStarting, 0, false, QRect(), QStringLiteral("Preparing..."));
    Palette.clear();
    PaletteRead = false;
    ImageRead = false;
    StreamEnded = false;
    BackgroundGiven = false;
    BackgroundColor = qRgb(255, 255, 255);
    TransparentGiven = false;
    Transparent = false;
    ReadChunkHeader(stream);
    ReadChunkData(stream);
    Depth = Raw[8];
    ColorType = Raw[9];
    if (ImageProperties.Compression != ctLZ77)
        RaiseGraphicError(QStringLiteral("Cannot load image. %1 not supported for %2 files.")
                              .arg(QStringLiteral("The compression scheme is"), FormatName));
    if (!ValidDepth(ColorType, Depth))
        RaiseFormatError("Invalid color format in %1 file.");
    const unsigned samples = ColorType == 2 ? 3 : ColorType == 4 ? 2 : ColorType == 6 ? 4 : 1;
    SourceBPP = std::max(1u, samples * Depth / 8);

    Decoder = std::make_unique<TLZ77Decoder>(Z_PARTIAL_FLUSH, false);
    Decoder->StartUnpack();

    ReadChunkHeader(stream);
    for (;;) {
        if (CurrentIs("IDAT")) {
            if (ImageRead) {
                SkipChunkData(stream);
            } else {
                ReadImage(stream);
                continue;   // the chunk after the image data is already read
            }
        } else if (CurrentIs("PLTE")) {
            if (Chunk.Length % 3 != 0)
                RaiseFormatError("Cannot load image. Palette in %1 file is invalid.");
            ReadChunkData(stream);
            if (ColorType == 3 && !ImageRead) {
                SetUpColorManager();
                const void* data[] = {Raw.data()};
                Palette = ColorManager().BuildColorPalette(data, plTriples8, unsigned(Raw.size() / 3), false);
                PaletteRead = true;
            }
        } else if (CurrentIs("gAMA")) {
            ReadChunkData(stream);
            if (Raw.size() >= 4 && !ImageRead) {
                ColorManager().SetGammas(float(Get32(Raw.data()) / 100000.0), 2.2f);
                ColorManager().TargetFlags |= sfGamma;
                ImageProperties.Options |= ioUseGamma;
            }
        } else if (CurrentIs("bKGD")) {
            ReadChunkData(stream);
            ReadBackground();
        } else if (CurrentIs("tRNS")) {
            ReadChunkData(stream);
            ReadTransparency();
        } else if (CurrentIs("IEND")) {
            break;
        } else if (!(Chunk.Type[0] & 0x20)) {
            RaiseGraphicError(QStringLiteral("Cannot load PNG image. Unexpected but critical chunk detected."));
        } else {
            SkipChunkData(stream);   // an ancillary chunk: its CRC is not looked at
        }
        ReadChunkHeader(stream);
    }
    // A file without image data has nothing to show.
    if (!ImageRead)
        RaiseFormatError("Cannot load image. Invalid or unexpected %1 image format.");
    Decoder->FinishUnpack();
}

void TPNGGraphic::SetUpColorManager()
{
    TColorManager& colors = ColorManager();
    colors.SourceFlags = sfByteSwap;
    colors.SetSourceSampleBits(Depth);
    switch (ColorType) {
    case 0:
        colors.SetSourceModel(cmGray);
        colors.SetTargetModel(cmGray);
        colors.SetSourceSamples(1);
        colors.SetTargetSamples(1);
        colors.SetTargetSampleBits(Depth == 2 ? 4 : Depth == 16 ? 8 : Depth);
        break;
    case 2:
        colors.SetSourceModel(cmRGB);
        colors.SetTargetModel(cmBGR);
        colors.SetSourceSamples(3);
        colors.SetTargetSamples(3);
        colors.SetTargetSampleBits(8);
        break;
    case 3:
        colors.SetSourceModel(cmIndexed);
        colors.SetTargetModel(cmIndexed);
        colors.SetSourceSamples(1);
        colors.SetTargetSamples(1);
        colors.SetTargetSampleBits(Depth == 2 ? 4 : Depth);
        break;
    case 4:
        colors.SetSourceModel(cmGrayAlpha);
        colors.SetTargetModel(cmIndexed);
        colors.SetSourceSamples(1);
        colors.SetTargetSamples(1);
        colors.SetTargetSampleBits(8);
        break;
    case 6:
        colors.SetSourceModel(cmRGBA);
        colors.SetTargetModel(cmBGRA);
        colors.SetSourceSamples(4);
        colors.SetTargetSamples(4);
        colors.SetTargetSampleBits(8);
        break;
    default:
        RaiseFormatError("Invalid color format in %1 file.");
    }
}

void TPNGGraphic::ReadBackground()
{
    const std::size_t need = ColorType == 3 ? 1 : (ColorType == 2 || ColorType == 6) ? 6 : 2;
    if (Raw.size() < need)
        return;
    BackgroundGiven = true;
    if (ColorType == 3) {
        // An index of a 2-bit image is stretched like its pixels.
        BackgroundValue = Depth == 2 ? Raw[0] * 15u / 3u : Raw[0];
    } else if (ColorType == 2 || ColorType == 6) {
        BackgroundColor = qRgb(ScaleTo8(Get16(Raw.data()), Depth), ScaleTo8(Get16(Raw.data() + 2), Depth),
                               ScaleTo8(Get16(Raw.data() + 4), Depth));
    } else {
        const int v = Get16(Raw.data());
        BackgroundValue = Depth == 2 ? std::uint32_t(v * 15 / 3)
                        : Depth == 16 ? std::uint32_t(v * 255 / 65535)
                                      : std::uint32_t(v & 0xFF);
        const int grey = ScaleTo8(v, Depth);
        BackgroundColor = qRgb(grey, grey, grey);
    }
}

void TPNGGraphic::ReadTransparency()
{
    if (ColorType == 0 && Raw.size() >= 2) {
        const int grey = ScaleTo8(Get16(Raw.data()), Depth);
        TransparentRgb = qRgb(grey, grey, grey);
        TransparentGiven = true;
    } else if (ColorType == 2 && Raw.size() >= 6) {
        TransparentRgb = qRgb(ScaleTo8(Get16(Raw.data()), Depth), ScaleTo8(Get16(Raw.data() + 2), Depth),
                              ScaleTo8(Get16(Raw.data() + 4), Depth));
        TransparentGiven = true;
    }
}

void TPNGGraphic::FillRows(int first, int last)
{
    if (first > last)
        return;
    const TPixelFormat format = PixelFormat();
    std::uint32_t value = BackgroundValue;
    if (!BackgroundGiven && format != pf24bit && format != pf32bit) {
        // White, or the palette's nearest colour to it.
        const QList<QRgb> table = ColorTable();
        int best = std::numeric_limits<int>::max();
        for (qsizetype i = 0; i < table.size(); ++i) {
            const int distance = (255 - qRed(table[i])) + (255 - qGreen(table[i])) + (255 - qBlue(table[i]));
            if (distance < best) {
                best = distance;
                value = std::uint32_t(i);
            }
        }
    }
    const int width = Width();
    const std::uint8_t r = std::uint8_t(qRed(BackgroundColor));
    const std::uint8_t g = std::uint8_t(qGreen(BackgroundColor));
    const std::uint8_t b = std::uint8_t(qBlue(BackgroundColor));
    for (int y = first; y <= last; ++y) {
        std::uint8_t* row = ScanLine(y);
        switch (format) {
        case pf1bit: std::memset(row, (value & 1) ? 0xFF : 0, std::size_t(BytesPerLine())); break;
        case pf4bit: std::memset(row, int((value & 15) * 17), std::size_t(BytesPerLine())); break;
        case pf8bit: std::memset(row, int(value & 0xFF), std::size_t(width)); break;
        case pf24bit:
            for (int x = 0; x < width; ++x) {
                row[3 * x] = b;
                row[3 * x + 1] = g;
                row[3 * x + 2] = r;
            }
            break;
        default:
            for (int x = 0; x < width; ++x) {
                row[4 * x] = b;
                row[4 * x + 1] = g;
                row[4 * x + 2] = r;
                row[4 * x + 3] = 0xFF;
            }
            break;
        }
    }
}

bool TPNGGraphic::ReadInflated(QIODevice& stream, std::uint8_t* dest, std::size_t size)
{
    while (size > 0) {
        if (InputLeft == 0) {
            // The next IDAT chunk, empty ones skipped; anything else ends the data.
            while (InputLeft == 0 && CurrentIs("IDAT")) {
                ReadChunkData(stream);
                Input = Raw.data();
                InputLeft = Raw.size();
                ReadChunkHeader(stream);
            }
            if (InputLeft == 0)
                return false;
        }
        if (StreamEnded)
            RaiseFormatError("Cannot load image. Extra compressed data found in %1 file.");
        const std::uint8_t* from = Input;
        std::uint8_t* to = dest;
        try {
            Decoder->Unpack(from, to, InputLeft, size);
        } catch (const EGraphicCompression&) {
            RaiseFormatError("Cannot load image. Compression error found in %1 file.");
        }
        const std::size_t used = std::size_t(from - Input);
        const std::size_t made = std::size_t(to - dest);
        Input = from;
        InputLeft -= used;
        dest = to;
        size -= made;
        if (Decoder->Result() == Z_STREAM_END) {
            StreamEnded = true;
            if (InputLeft > 0 || size > 0)
                RaiseFormatError("Cannot load image. Extra compressed data found in %1 file.");
        } else if (used == 0 && made == 0) {
            RaiseFormatError("Cannot load image. Compression error found in %1 file.");
        }
    }
    return true;
}

void TPNGGraphic::ReadImage(QIODevice& stream)
{
    ImageRead = true;
    TImageProperties& p = ImageProperties;
    Progress(psStarting, 0, false, QRect(), QStringLiteral("Transfering..."));
    if (!PaletteRead)
        SetUpColorManager();
    TColorManager& colors = ColorManager();
    SetPixelFormat(ColorType == 4 ? pf8bit : colors.PixelFormatFor(1));
    if (ColorType == 3)
        SetColorTable(Palette);
    else if (ColorType == 0 || ColorType == 4)
        SetColorTable(colors.BuildGrayPalette(false));
    // The rows, a filter byte each, are deflated, which packs at most about 1032 bytes
    // into one: the rest of the file must hold at least that much of them.
    const std::uint64_t packedRow = 1 + (std::uint64_t(p.Width) * p.BitsPerPixel + 7) / 8;
    CheckPictureData(Name, p.Width, p.Height, std::uint64_t(p.Height) * packedRow / 1032,
                     std::max<qint64>(0, stream.size() - stream.pos()) + 8);
    SetSize(p.Width, p.Height);
    if (TransparentGiven) {
        TransparentColor = TransparentRgb;
        Transparent = true;
    }

    const unsigned rowFactor = Depth == 16 ? SourceBPP / 2 : SourceBPP;
    const auto rowBytes = [&](std::uint64_t pixels) {
        return std::size_t((pixels * Depth + 7) / 8 * rowFactor);
    };
    const std::size_t full = rowBytes(std::uint64_t(p.Width));
    std::vector<std::uint8_t> a(full + 1, 0), b(full + 1, 0);
    std::uint8_t* current = a.data();
    std::uint8_t* previous = b.data();
    Input = nullptr;
    InputLeft = 0;
    ProgressRect = QRect(0, 0, p.Width, 1);

    if (!p.Interlaced) {
        for (int y = 0; y < p.Height; ++y) {
            if (!ReadInflated(stream, current, full + 1)) {
                FillRows(y, p.Height - 1);   // the data ended: the rest shows the background
                break;
            }
            Unfilter(current, previous, full, SourceBPP);
            const void* sources[] = {current + 1};
            colors.ConvertLine(sources, ScanLine(y), unsigned(p.Width), 0xFF);
            Progress(psRunning, int(std::int64_t(y) * 100 / p.Height), true, ProgressRect, QString());
            ProgressRect.translate(0, 1);
            std::swap(current, previous);
        }
    } else {
        FillRows(0, p.Height - 1);
        bool more = true;
        for (int pass = 0; pass < 7 && more; ++pass) {
            const RPass& r = Adam7[pass];
            if (r.StartColumn >= p.Width)
                continue;
            const std::uint64_t pixels = std::uint64_t(p.Width - r.StartColumn + r.ColumnStep - 1) / r.ColumnStep;
            const std::size_t size = rowBytes(pixels);
            std::fill(previous, previous + size + 1, 0);
            ProgressRect = QRect(0, 0, p.Width, 1);
            for (int y = r.StartRow; y < p.Height; y += r.RowStep) {
                if (!ReadInflated(stream, current, size + 1)) {
                    more = false;
                    break;
                }
                Unfilter(current, previous, size, SourceBPP);
                const void* sources[] = {current + 1};
                colors.ConvertLine(sources, ScanLine(y), unsigned(p.Width), r.Mask);
                if (pass == 6) {
                    Progress(psRunning, int(std::int64_t(y) * 100 / p.Height), true, ProgressRect, QString());
                    ProgressRect.translate(0, 1);
                }
                std::swap(current, previous);
            }
        }
    }
    // Whatever IDAT data remains is read (its CRC checked) and dropped.
    while (CurrentIs("IDAT")) {
        ReadChunkData(stream);
        ReadChunkHeader(stream);
    }
}
