// The RLA reader. Channels deeper than 8 bits are reduced to 8 here, before the colour
// manager, since a channel is unpacked into one plane of its own.
#include "imaging/RlaReader.h"

#include "imaging/PictureReaders.h"
#include "imaging/ReaderBytes.h"
#include "imaging/decoders/Decoders.h"

#include <array>
#include <cmath>

namespace {

constexpr qint64 HeaderSize = 740;
constexpr std::uint16_t Revision = 0xFFFE;

// The channel kind of the header, lower-cased and cut at its first zero.
QByteArray ChannelKind(const std::uint8_t* header)
{
    const char* text = reinterpret_cast<const char*>(header + 580);
    return QByteArray(text, int(qstrnlen(text, 32))).trimmed().toLower();
}

}  // namespace

float ParseRlaGamma(const QByteArray& text)
{
    QByteArray number = QByteArray(text.constData(), int(qstrnlen(text.constData(), std::size_t(text.size()))))
                            .trimmed();
    number.replace(',', '.');
    bool ok = false;
    const double value = number.toDouble(&ok);   // the C locale's reading, never the user's
    return ok && std::isfinite(value) && value > 0 && value < 100 ? float(value) : 1.0f;
}

bool TRLAGraphic::ProbeStream(QIODevice& stream)
{
    return ProbeAndRestore(stream, [](QIODevice& s, qint64 left) {
        std::uint8_t h[HeaderSize];
        if (left <= HeaderSize || !ReadExact(s, h, HeaderSize) || BigEndian16(h + 26) != Revision)
            return false;
        const QByteArray kind = ChannelKind(h);
        return kind == "rgb" || kind == "xyz";
    });
}

bool TRLAGraphic::ReadImageInfo(QIODevice& stream, unsigned imageIndex)
{
    TImageGraphic::ReadImageInfo(stream, imageIndex);
    std::uint8_t h[HeaderSize];
    if (!ReadExact(stream, h, HeaderSize))
        return false;
    TImageProperties& p = ImageProperties;
    const QByteArray kind = ChannelKind(h);
    if (kind == "xyz")
        return false;
    const auto left = std::int16_t(BigEndian16(h + 8));
    const auto right = std::int16_t(BigEndian16(h + 10));
    const auto bottom = std::int16_t(BigEndian16(h + 12));
    const auto top = std::int16_t(BigEndian16(h + 14));
    const int colourChannels = BigEndian16(h + 20);
    const int matteChannels = BigEndian16(h + 22);
    p.Options = ioBigEndian;
    p.SamplesPerPixel = std::uint8_t(std::min(255, colourChannels + (matteChannels == 1 ? 1 : 0)));
    p.BitsPerSample = std::uint8_t(std::min<int>(255, BigEndian16(h + 658)));
    p.BitsPerPixel = std::uint8_t(std::min(255, p.SamplesPerPixel * p.BitsPerSample));
    p.ColorScheme = kind != "rgb" ? cmUnknown : matteChannels > 0 ? cmRGBA : cmRGB;
    p.FileGamma = ParseRlaGamma(QByteArray(reinterpret_cast<const char*>(h + 28), 16));
    p.Compression = ctRLE;
    p.Width = int(right) - int(left) + 1;
    p.Height = std::abs(int(bottom) - int(top)) + 1;
    p.BottomUp = bottom < top;
    return true;
}

void TRLAGraphic::LoadFromStream(QIODevice& stream)
{
    SetSize(0, 0);
    BasePosition = stream.pos();
    if (!ReadImageInfo(stream, 0))
        return;
    TImageProperties& p = ImageProperties;
    if (p.Width < 1)
        RaiseBrokenPicture(Name, QStringLiteral("пустое окно рисунка RLA"));
    const int bits = p.BitsPerSample;
    if (bits < 1 || bits > 16)
        RaiseBrokenPicture(Name, QStringLiteral("глубина канала RLA %1 бит не поддерживается").arg(bits));
    const bool alpha = p.ColorScheme == cmRGBA;
    // The converters read as many planes as the model names.
    if (p.ColorScheme != cmUnknown && p.SamplesPerPixel != (alpha ? 4 : 3))
        RaiseBrokenPicture(Name, QStringLiteral("%1 каналов RLA при этом представлении цвета не поддерживается")
                                     .arg(p.SamplesPerPixel));
    Progress(psStarting, 0, false, QRect(), QStringLiteral("Transfering..."));

    // Samples of any other depth than 8 bits are scaled to 8 before conversion.
    TColorManager& colors = ColorManager();
    colors.SetSourceSamples(alpha ? 4 : 3);
    colors.SetTargetSamples(alpha ? 4 : 3);
    colors.SetSourceSampleBits(8);
    colors.SetTargetSampleBits(8);
    colors.SetSourceModel(p.ColorScheme);
    colors.SetTargetModel(alpha ? cmBGRA : cmBGR);
    if (p.FileGamma != 1.0f) {
        colors.SetGammas(p.FileGamma, 2.2f);
        colors.TargetFlags |= sfGamma;
        p.Options |= ioUseGamma;
    }
    SetPixelFormat(colors.PixelFormatFor(1));

    const std::size_t height = std::size_t(p.Height);
    if (std::uint64_t(BytesLeft(stream, BasePosition + HeaderSize)) < height * 4)
        RaiseBrokenPicture(Name, QStringLiteral("таблица строк RLA обрезана"));
    std::vector<std::uint32_t> offsets(height);
    stream.seek(BasePosition + HeaderSize);
    ReadExact(stream, offsets.data(), qint64(height * 4));
    SwapLongs(offsets.data(), offsets.size());
    // Each row starts with the length of its first channel: a row the file cannot hold
    // that far is refused before the picture is allocated.
    for (const std::uint32_t offset : offsets)
        if (BasePosition + qint64(offset) + 2 > stream.size())
            RaiseBrokenPicture(Name, QStringLiteral("таблица строк RLA указывает за конец файла"));
    SetSize(p.Width, p.Height);

    TRLADecoder decoder;
    const std::size_t width = std::size_t(p.Width);
    const std::size_t sampleBytes = bits > 8 ? 2 : 1;
    std::vector<std::uint8_t> unpacked(width * sampleBytes);
    std::vector<std::uint8_t> planes(width * 4);
    std::vector<std::uint8_t> packed;
    const std::uint32_t highest = (1u << bits) - 1;
    // Reads, unpacks and (at other depths than 8 bits) scales the next channel of the row into plane k.
    // Deep samples are stored as byte planes, the high bytes first.
    const auto readChannel = [&](std::size_t k) {
        std::uint8_t* plane = planes.data() + k * width;
        std::uint8_t length[2];
        if (!ReadExact(stream, length, 2)) {
            std::fill(plane, plane + width, 0);
            return;
        }
        packed.resize(BigEndian16(length));
        const qint64 got = ReadZeroFilled(stream, -1, packed.data(), qint64(packed.size()));
        const std::uint8_t* from = packed.data();
        std::uint8_t* to = bits == 8 ? plane : unpacked.data();
        decoder.Unpack(from, to, std::size_t(got), width * sampleBytes);
        if (bits != 8)
            for (std::size_t x = 0; x < width; ++x) {
                const std::uint32_t stored = sampleBytes == 2 ? unpacked[x] << 8 | unpacked[width + x] : unpacked[x];
                const std::uint32_t v = std::min(highest, stored);
                plane[x] = std::uint8_t((v * 255 + highest / 2) / highest);
            }
    };
    const std::array<const void*, 4> sources{planes.data(), planes.data() + width, planes.data() + 2 * width,
                                             planes.data() + 3 * width};
    ProgressRect = QRect(0, 0, p.Width, 1);
    for (std::size_t r = 0; r < height; ++r) {
        const int target = p.BottomUp ? int(height - 1 - r) : int(r);
        const qint64 position = BasePosition + qint64(offsets[r]);
        if (position < stream.size() && stream.seek(position)) {
            for (std::size_t k = 0; k < (alpha ? 4u : 3u); ++k)
                readChannel(k);
        } else {
            std::fill(planes.begin(), planes.end(), 0);   // a row past the end reads blank
        }
        colors.ConvertLine(std::span(sources.data(), alpha ? 4 : 3), ScanLine(target), unsigned(p.Width));
        Progress(psRunning, int(r * 100 / height), true, ProgressRect, QString());
        ProgressRect.translate(0, 1);
    }
    Progress(psEnding, 100, true, QRect(), QString());
}
