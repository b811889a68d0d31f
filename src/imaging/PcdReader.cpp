// The Photo-CD reader. Only the uncompressed Base image is read; it lies at a fixed
// sector, so a short file is refused before any pixel is converted.
#include "imaging/PcdReader.h"

#include "imaging/PictureReaders.h"
#include "imaging/ReaderBytes.h"

#include <array>

namespace {

constexpr qint64 SectorSize = 2048;
constexpr qint64 InfoSize = 6144;
constexpr int BaseWidth = 768;
constexpr int BaseHeight = 512;

bool IsOverview(const std::uint8_t* h)
{
    return std::memcmp(h, "PCD_OPA", 7) == 0;
}

bool IsImagePack(const std::uint8_t* h)
{
    return std::memcmp(h + 2048, "PCD", 3) == 0;
}

}  // namespace

bool TPCDGraphic::ProbeStream(QIODevice& stream)
{
    return ProbeAndRestore(stream, [](QIODevice& s, qint64 left) {
        std::uint8_t h[2051];
        return left > InfoSize && ReadExact(s, h, sizeof h) && (IsOverview(h) || IsImagePack(h));
    });
}

bool TPCDGraphic::ReadImageInfo(QIODevice& stream, unsigned imageIndex)
{
    TImageGraphic::ReadImageInfo(stream, imageIndex);
    std::vector<std::uint8_t> h(InfoSize);
    if (!ReadExact(stream, h.data(), InfoSize))
        return false;
    const bool overview = IsOverview(h.data());
    if (!overview && !IsImagePack(h.data()))
        return false;
    TImageProperties& p = ImageProperties;
    p.Overview = overview;
    p.Rotate = h[0xE02] & 3;
    const unsigned d = overview ? 0 : std::min(imageIndex, 5u);
    p.Width = 192 << d;
    p.Height = 128 << d;
    if (p.Rotate == 1 || p.Rotate == 3)
        std::swap(p.Width, p.Height);
    p.ColorScheme = cmPhotoYCC;
    p.BitsPerSample = 8;
    p.SamplesPerPixel = 3;
    p.BitsPerPixel = 24;
    p.Compression = d <= 2 ? ctNone : ctPCDHuffmann;
    p.ImageCount = BigEndian16(h.data() + 10);
    return true;
}

void TPCDGraphic::LoadFromStream(QIODevice& stream)
{
    SetSize(0, 0);
    BasePosition = stream.pos();
    if (!ReadImageInfo(stream, 2))
        return;
    TImageProperties& p = ImageProperties;
    Progress(psStarting, 0, false, QRect(), QStringLiteral("Preparing..."));
    p.Width = BaseWidth;
    p.Height = BaseHeight;
    const qint64 start = BasePosition + (p.Overview ? 5 : 96) * SectorSize;
    constexpr qint64 dataSize = BaseHeight / 2 * (2 * BaseWidth + BaseWidth);
    if (BytesLeft(stream, start) < dataSize)
        RaiseBrokenPicture(Name, QStringLiteral("изображение Photo-CD обрезано"));
    stream.seek(start);

    TColorManager& colors = ColorManager();
    colors.SetSourceModel(cmPhotoYCC);
    colors.SetSourceSampleBits(8);
    colors.SetSourceSamples(3);
    colors.SetTargetModel(cmBGR);
    colors.SetTargetSampleBits(8);
    colors.SetTargetSamples(3);
    const std::array<float, 3> weights{0.2125f, 0.7154f, 0.0721f};
    colors.SetChromaParameters(weights, 2, 2);
    SetPixelFormat(pf24bit);

    // The chroma planes keep the luma's row stride, so they can be doubled in place.
    const std::size_t planeSize = std::size_t(BaseWidth) * BaseHeight;
    std::vector<std::uint8_t> luma(planeSize), chroma1(planeSize), chroma2(planeSize);
    Progress(psEnding, 100, false, QRect(), QString());
    Progress(psStarting, 0, false, QRect(), QStringLiteral("Loading data..."));
    for (int y = 0; y < BaseHeight; y += 2) {
        Progress(psRunning, y * 100 / BaseHeight, false, QRect(), QString());
        ReadExact(stream, luma.data() + std::size_t(y) * BaseWidth, 2 * BaseWidth);
        ReadExact(stream, chroma1.data() + std::size_t(y / 2) * BaseWidth, BaseWidth / 2);
        ReadExact(stream, chroma2.data() + std::size_t(y / 2) * BaseWidth, BaseWidth / 2);
    }
    Progress(psEnding, 100, false, QRect(), QString());
    Progress(psStarting, 0, false, QRect(), QStringLiteral("Upsampling..."));
    Progress(psRunning, 80, false, QRect(), QString());
    UpsamplePlane(BaseWidth / 2, BaseHeight / 2, BaseWidth, chroma1.data());
    Progress(psRunning, 100, false, QRect(), QString());
    UpsamplePlane(BaseWidth / 2, BaseHeight / 2, BaseWidth, chroma2.data());
    Progress(psEnding, 100, false, QRect(), QString());

    Progress(psStarting, 0, false, QRect(), QStringLiteral("Transfering..."));
    const bool quarter = p.Rotate == 1 || p.Rotate == 3;
    SetSize(quarter ? BaseHeight : BaseWidth, quarter ? BaseWidth : BaseHeight);
    std::vector<std::uint8_t> line(std::size_t(BaseWidth) * 3);
    ProgressRect = QRect(0, 0, Width(), 1);
    for (int y = 0; y < BaseHeight; ++y) {
        const std::size_t offset = std::size_t(y) * BaseWidth;
        const std::array<const void*, 3> sources{luma.data() + offset, chroma1.data() + offset,
                                                 chroma2.data() + offset};
        // Rotation 2 turns the picture half round: the last row on top, each row reversed.
        std::uint8_t* target = p.Rotate == 0 ? ScanLine(y) : line.data();
        colors.ConvertLine(sources, target, BaseWidth);
        for (int x = 0; x < BaseWidth && p.Rotate != 0; ++x) {
            const std::uint8_t* pixel = line.data() + 3 * x;
            std::uint8_t* out = nullptr;
            switch (p.Rotate) {
            case 1: out = ScanLine(BaseWidth - 1 - x) + 3 * y; break;   // a quarter turn counter-clockwise
            case 2: out = ScanLine(BaseHeight - 1 - y) + 3 * (BaseWidth - 1 - x); break;
            default: out = ScanLine(x) + 3 * (BaseHeight - 1 - y); break;   // a quarter turn clockwise
            }
            std::memcpy(out, pixel, 3);
        }
        Progress(psRunning, y * 100 / BaseHeight, true, ProgressRect, QString());
        ProgressRect.translate(0, 1);
    }
    Progress(psEnding, 100, true, QRect(), QString());
}
