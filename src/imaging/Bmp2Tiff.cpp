// The TIFF writer. Every offset of an image is known before its first byte is written (the
// layouts have no variable part but the strip and the colour map), so the directory's
// offset goes into the header at once and the stream never has to seek back.
#include "imaging/Bmp2Tiff.h"

#include "imaging/ImageGraphic.h"

#include <QIODevice>
#include <QSaveFile>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

enum TTiffType : std::uint16_t { ttAscii = 2, ttShort = 3, ttLong = 4, ttRational = 5 };

enum TTiffLayout { tlBilevel, tlPalette, tlRGB };

// An ASCII field ends with NUL and its count includes it: readers that check the end
// (libtiff among them) warn about the ten bytes the files once held.
constexpr char Software[11] = "Molvi soft";
constexpr std::uint32_t ResolutionNumerator = 3000000;   // 300 dots per inch
constexpr std::uint32_t ResolutionDenominator = 10000;
constexpr std::uint32_t HeaderSize = 8;
constexpr std::uint32_t RationalSize = 8;
constexpr std::uint64_t LargestOffset = 0xFFFFFFFFu;

struct RTiffEntry {
    std::uint16_t Tag;
    std::uint16_t Type;
    std::uint32_t Count;
    std::uint32_t Value;   // a SHORT sits in the low half, written first
};

// What the bitmap's format and size make of the file.
struct RTiffPlan {
    TTiffLayout Layout = tlRGB;
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    int Bits = 8;                   // bits of one sample (palette: of one index)
    std::uint32_t ColorCount = 0;   // colour-map entries per component (palette)
    std::uint32_t RowBytes = 0;     // R: one written row
    std::uint32_t StripBytes = 0;   // S
    std::uint32_t StripOffset = 0;
    std::uint32_t XResolutionOffset = 0;
    std::uint32_t SoftwareOffset = 0;
    std::uint32_t BitsOffset = 0;   // RGB: the three BitsPerSample values
    std::uint32_t IFDOffset = 0;
    std::uint16_t Photometric = 1;
};

RTiffPlan PlanTiff(const TBitmap& bitmap)
{
    if (bitmap.Empty() || bitmap.Width() <= 0 || bitmap.Height() <= 0)
        RaiseGraphicError(QStringLiteral("Cannot write an empty bitmap as TIFF."));
    RTiffPlan plan;
    plan.Width = std::uint32_t(bitmap.Width());
    plan.Height = std::uint32_t(bitmap.Height());
    const std::uint64_t width = plan.Width;
    std::uint64_t rowBytes = 0;
    switch (bitmap.PixelFormat()) {
    case pf1bit: {
        plan.Layout = tlBilevel;
        plan.Bits = 1;
        rowBytes = (width + 7) / 8;
        // Index 0 is written as black unless the bitmap's own table makes it the lighter
        // of the two, so a picture keeps its look whichever order its table has.
        const QList<QRgb> table = bitmap.Image().colorTable();
        if (table.size() >= 2 && qGray(table[0]) > qGray(table[1]))
            plan.Photometric = 0;   // WhiteIsZero
        break;
    }
    case pf4bit:
    case pf8bit:
        plan.Layout = tlPalette;
        plan.Bits = bitmap.PixelFormat() == pf4bit ? 4 : 8;
        plan.ColorCount = 1u << plan.Bits;
        plan.Photometric = 3;
        // A 4-bit row keeps its odd last pixel in a high nibble: no column is dropped.
        rowBytes = plan.Bits == 4 ? (width + 1) / 2 : width;
        break;
    case pf15bit:
    case pf16bit:
    case pf24bit:
    case pfDevice:
    case pf32bit:
        plan.Layout = tlRGB;
        plan.Photometric = 2;
        rowBytes = 3 * width;
        break;
    case pfCustom:
        RaiseGraphicError(QStringLiteral("Bitmap pixel format is not supported."));
    }
    const std::uint64_t strip = rowBytes * plan.Height;
    std::uint64_t stripOffset = 0, ifdOffset = 0;
    switch (plan.Layout) {
    case tlBilevel:
        stripOffset = HeaderSize;   // the resolutions and Software follow the strip
        ifdOffset = stripOffset + strip + 2 * RationalSize + sizeof Software;
        break;
    case tlPalette:
        plan.XResolutionOffset = HeaderSize + 6 * plan.ColorCount;
        plan.SoftwareOffset = plan.XResolutionOffset + 2 * RationalSize;
        stripOffset = plan.SoftwareOffset + sizeof Software;
        ifdOffset = stripOffset + strip;
        break;
    case tlRGB:
        plan.XResolutionOffset = HeaderSize;
        plan.BitsOffset = plan.XResolutionOffset + 2 * RationalSize;
        plan.SoftwareOffset = plan.BitsOffset + 6;
        stripOffset = plan.SoftwareOffset + sizeof Software;
        ifdOffset = stripOffset + strip;
        break;
    }
    // Every offset, the directory's last, must be a 32-bit number.
    if (ifdOffset > LargestOffset)
        RaiseGraphicError(QStringLiteral("The image is too large for a TIFF file."));
    plan.RowBytes = std::uint32_t(rowBytes);
    plan.StripBytes = std::uint32_t(strip);
    plan.StripOffset = std::uint32_t(stripOffset);
    plan.IFDOffset = std::uint32_t(ifdOffset);
    if (plan.Layout == tlBilevel) {
        plan.XResolutionOffset = std::uint32_t(stripOffset + strip);
        plan.SoftwareOffset = plan.XResolutionOffset + 2 * RationalSize;
    }
    return plan;
}

std::vector<RTiffEntry> Directory(const RTiffPlan& p)
{
    // A size past the SHORT range is written as LONG rather than cut.
    const auto size = [](std::uint16_t tag, std::uint32_t value) {
        return RTiffEntry{tag, std::uint16_t(value > 0xFFFF ? ttLong : ttShort), 1, value};
    };
    std::vector<RTiffEntry> entries{
        {254, ttLong, 1, 0},
        size(256, p.Width),
        size(257, p.Height),
        p.Layout == tlRGB ? RTiffEntry{258, ttShort, 3, p.BitsOffset}
                          : RTiffEntry{258, ttShort, 1, std::uint32_t(p.Bits)},
        {259, ttShort, 1, 1},
        {262, ttShort, 1, p.Photometric},
        {273, ttLong, 1, p.StripOffset},
        {277, ttShort, 1, p.Layout == tlRGB ? 3u : 1u},
        {278, ttLong, 1, p.Height},
        {279, ttLong, 1, p.StripBytes},
        {282, ttRational, 1, p.XResolutionOffset},
        {283, ttRational, 1, p.XResolutionOffset + RationalSize},
    };
    if (p.Layout == tlRGB)
        entries.push_back({284, ttShort, 1, 1});
    entries.push_back({296, ttShort, 1, 2});
    entries.push_back({305, ttAscii, sizeof Software, p.SoftwareOffset});
    if (p.Layout == tlPalette)
        entries.push_back({320, ttShort, 3 * p.ColorCount, HeaderSize});
    return entries;
}

// Collects the bytes of the image and hands them to the stream in large blocks.
class TTiffOutput {
public:
    explicit TTiffOutput(QIODevice& stream) : Stream(stream) { Buffer.reserve(BlockSize); }

    void Word(std::uint32_t v)
    {
        Byte(v);
        Byte(v >> 8);
    }
    void Long(std::uint32_t v)
    {
        Word(v & 0xFFFF);
        Word(v >> 16);
    }
    void Bytes(const void* data, std::size_t size)
    {
        const auto* bytes = static_cast<const char*>(data);
        Buffer.insert(Buffer.end(), bytes, bytes + size);
        if (Buffer.size() >= BlockSize)
            Flush();
    }
    void Flush()
    {
        if (Buffer.empty())
            return;
        if (Stream.write(Buffer.data(), qint64(Buffer.size())) != qint64(Buffer.size()))
            throw EPictureError(QStringLiteral("Stream write error"));
        Buffer.clear();
    }

private:
    void Byte(std::uint32_t v) { Buffer.push_back(char(v & 0xFF)); }

    static constexpr std::size_t BlockSize = 1 << 16;
    QIODevice& Stream;
    std::vector<char> Buffer;
};

void WriteResolutionAndSoftware(TTiffOutput& out, const RTiffPlan& plan)
{
    for (int i = 0; i < 2; ++i) {
        out.Long(ResolutionNumerator);
        out.Long(ResolutionDenominator);
    }
    if (plan.Layout == tlRGB)
        for (int i = 0; i < 3; ++i)
            out.Word(8);
    out.Bytes(Software, sizeof Software);
}

inline std::uint8_t Expand5(unsigned v) { return std::uint8_t(v << 3 | v >> 2); }
inline std::uint8_t Expand6(unsigned v) { return std::uint8_t(v << 2 | v >> 4); }

// Row y of the image as the file holds it: R bytes.
void PackRow(const QImage& image, TPixelFormat format, int y, std::uint32_t width,
             std::vector<std::uint8_t>& row)
{
    const std::uint8_t* line = image.constScanLine(y);
    std::uint8_t* out = row.data();
    switch (format) {
    case pf1bit:
    case pf8bit:
        std::copy(line, line + row.size(), out);
        break;
    case pf4bit:   // held one index a byte
        for (std::uint32_t x = 0; x < width; x += 2) {
            const unsigned low = x + 1 < width ? line[x + 1] & 0x0F : 0;
            out[x / 2] = std::uint8_t((line[x] & 0x0F) << 4 | low);
        }
        break;
    case pf15bit:
    case pf16bit: {
        const auto* words = reinterpret_cast<const std::uint16_t*>(line);
        for (std::uint32_t x = 0; x < width; ++x, out += 3) {
            const unsigned w = words[x];
            if (format == pf15bit) {
                out[0] = Expand5((w >> 10) & 0x1F);
                out[1] = Expand5((w >> 5) & 0x1F);
            } else {
                out[0] = Expand5(w >> 11);
                out[1] = Expand6((w >> 5) & 0x3F);
            }
            out[2] = Expand5(w & 0x1F);
        }
        break;
    }
    case pf24bit:   // blue, green, red
        for (std::uint32_t x = 0; x < width; ++x, out += 3, line += 3) {
            out[0] = line[2];
            out[1] = line[1];
            out[2] = line[0];
        }
        break;
    case pfDevice:
    case pf32bit: {
        const auto* pixels = reinterpret_cast<const QRgb*>(line);
        for (std::uint32_t x = 0; x < width; ++x, out += 3) {
            out[0] = std::uint8_t(qRed(pixels[x]));
            out[1] = std::uint8_t(qGreen(pixels[x]));
            out[2] = std::uint8_t(qBlue(pixels[x]));
        }
        break;
    }
    case pfCustom:
        break;
    }
}

void WriteStrip(TTiffOutput& out, const TBitmap& bitmap, const RTiffPlan& plan)
{
    const QImage& image = bitmap.Image();
    std::vector<std::uint8_t> row(plan.RowBytes);
    for (std::uint32_t y = 0; y < plan.Height; ++y) {
        PackRow(image, bitmap.PixelFormat(), int(y), plan.Width, row);
        out.Bytes(row.data(), row.size());
    }
}

void WriteColorMap(TTiffOutput& out, const TBitmap& bitmap, const RTiffPlan& plan)
{
    const QList<QRgb> table = bitmap.Image().colorTable();
    const auto color = [&](std::uint32_t i) { return i < std::uint32_t(table.size()) ? table[qsizetype(i)] : 0u; };
    // The 8-bit component in the high byte: 255 becomes 65280, as the files always had it.
    for (std::uint32_t i = 0; i < plan.ColorCount; ++i)
        out.Word(std::uint32_t(qRed(color(i))) << 8);
    for (std::uint32_t i = 0; i < plan.ColorCount; ++i)
        out.Word(std::uint32_t(qGreen(color(i))) << 8);
    for (std::uint32_t i = 0; i < plan.ColorCount; ++i)
        out.Word(std::uint32_t(qBlue(color(i))) << 8);
}

void WriteDirectory(TTiffOutput& out, const RTiffPlan& plan)
{
    const std::vector<RTiffEntry> entries = Directory(plan);
    out.Word(std::uint32_t(entries.size()));
    for (const RTiffEntry& e : entries) {
        out.Word(e.Tag);
        out.Word(e.Type);
        out.Long(e.Count);
        if (e.Type == ttShort && e.Count == 1) {
            out.Word(e.Value);
            out.Word(0);
        } else {
            out.Long(e.Value);
        }
    }
    out.Long(0);   // no next image
}

} // namespace

void WriteTiffToStream(QIODevice& stream, const TBitmap& bitmap)
{
    const RTiffPlan plan = PlanTiff(bitmap);
    TTiffOutput out(stream);
    out.Bytes("II", 2);
    out.Word(42);
    out.Long(plan.IFDOffset);
    switch (plan.Layout) {
    case tlBilevel:
        WriteStrip(out, bitmap, plan);
        WriteResolutionAndSoftware(out, plan);
        break;
    case tlPalette:
        WriteColorMap(out, bitmap, plan);
        WriteResolutionAndSoftware(out, plan);
        WriteStrip(out, bitmap, plan);
        break;
    case tlRGB:
        WriteResolutionAndSoftware(out, plan);
        WriteStrip(out, bitmap, plan);
        break;
    }
    WriteDirectory(out, plan);
    out.Flush();
}

void SaveBitmapAsTiff(const QString& fileName, const TBitmap& bitmap)
{
    PlanTiff(bitmap);   // an unwritable bitmap is refused before the file is touched
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EPictureError(QStringLiteral("Cannot create file %1").arg(fileName));
    WriteTiffToStream(file, bitmap);
    if (!file.commit())
        throw EPictureError(QStringLiteral("Stream write error"));
}
