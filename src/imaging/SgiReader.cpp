// The SGI reader. Rows are located through the file's own tables, so every offset and
// length is measured against the file before the picture is allocated: rows the file
// does not hold, verbatim or through the table, are refused rather than shown blank.
#include "imaging/SgiReader.h"

#include "imaging/PictureReaders.h"
#include "imaging/ReaderBytes.h"
#include "imaging/decoders/Decoders.h"

#include <array>

namespace {

constexpr qint64 HeaderSize = 512;
constexpr std::uint16_t Identifier = 474;

}  // namespace

TSGIGraphic::TSGIGraphic() = default;
TSGIGraphic::~TSGIGraphic() = default;

bool TSGIGraphic::ProbeStream(QIODevice& stream)
{
    return ProbeAndRestore(stream, [](QIODevice& s, qint64 left) {
        std::uint8_t h[6];
        if (left <= HeaderSize || !ReadExact(s, h, 6))
            return false;
        const std::uint16_t dimension = BigEndian16(h + 4);
        return BigEndian16(h) == Identifier && (h[3] == 1 || h[3] == 2) && dimension >= 1 && dimension <= 3;
    });
}

bool TSGIGraphic::ReadImageInfo(QIODevice& stream, unsigned imageIndex)
{
    TImageGraphic::ReadImageInfo(stream, imageIndex);
    std::uint8_t h[HeaderSize];
    if (!ReadExact(stream, h, HeaderSize) || BigEndian16(h) != Identifier)
        return false;
    TImageProperties& p = ImageProperties;
    p.Options = ioBigEndian;
    p.BitsPerSample = std::uint8_t(8 * h[3]);
    p.Width = BigEndian16(h + 6);
    p.Height = BigEndian16(h + 8);
    p.SamplesPerPixel = h[11];   // the channel count is taken as a byte
    p.ColorScheme = p.SamplesPerPixel == 3 ? cmRGB : p.SamplesPerPixel == 4 ? cmRGBA : cmIndexed;
    p.BitsPerPixel = std::uint8_t(p.BitsPerSample * p.SamplesPerPixel);
    p.Compression = h[2] == 1 ? ctRLE : ctNone;
    return true;
}

void TSGIGraphic::ReadChannelRow(std::uint8_t* red, std::uint8_t* green, std::uint8_t* blue, std::uint8_t* alpha,
                                 int row, int bytesPerSample)
{
    const TImageProperties& p = ImageProperties;
    const std::size_t rowBytes = std::size_t(p.Width) * std::size_t(bytesPerSample);
    const std::array<std::uint8_t*, 4> channels{red, green, blue, alpha};
    for (std::size_t c = 0; c < channels.size(); ++c) {
        std::uint8_t* target = channels[c];
        if (!target)
            continue;
        const std::size_t i = c * std::size_t(p.Height) + std::size_t(row);
        if (Decoder) {
            // A row whose start lies past the end reads as blank; its length is cut to the file.
            const qint64 position = BasePosition + qint64(RowStart[i]);
            const qint64 size = std::min<qint64>(qint64(RowSize[i]) * bytesPerSample, BytesLeft(*Stream, position));
            Packed.resize(std::size_t(std::max<qint64>(size, 0)));
            const qint64 got = ReadZeroFilled(*Stream, position, Packed.data(), qint64(Packed.size()));
            const std::uint8_t* from = Packed.data();
            std::uint8_t* to = target;
            Decoder->Unpack(from, to, std::size_t(got), std::size_t(p.Width));
        } else {
            const qint64 position = BasePosition + HeaderSize + qint64(i) * qint64(rowBytes);
            ReadZeroFilled(*Stream, position, target, qint64(rowBytes));
        }
    }
}

void TSGIGraphic::LoadFromStream(QIODevice& stream)
{
    SetSize(0, 0);
    Stream = &stream;
    BasePosition = stream.pos();
    if (!ReadImageInfo(stream, 0))
        RaiseInvalidImage(QStringLiteral("sgi, bw or rgb(a)"));
    TImageProperties& p = ImageProperties;
    const int bytesPerSample = p.BitsPerSample / 8;
    if (bytesPerSample != 1 && bytesPerSample != 2)
        RaiseBrokenPicture(Name, QStringLiteral("размер отсчета SGI %1 байт").arg(bytesPerSample));
    if (p.Width < 1 || p.Height < 1 || p.SamplesPerPixel < 1)
        RaiseBrokenPicture(Name, QStringLiteral("пустой размер рисунка SGI"));
    Progress(psStarting, 0, false, QRect(), QStringLiteral("Preparing..."));

    const int channels = p.SamplesPerPixel;
    // One or two channels are grey (the second, an alpha, is not shown); 16-bit grey is
    // scaled to 8 bits by the colour manager like the colour samples.
    const bool colour = channels >= 3;
    const int channelsRead = colour ? channels : 1;
    const std::size_t planeBytes = std::size_t(p.Width) * std::size_t(bytesPerSample);
    Decoder.reset();
    RowStart.clear();
    RowSize.clear();
    if (p.Compression != ctRLE) {
        // Verbatim rows, channel after channel: the file must hold every row read.
        CheckPictureData(Name, p.Width, p.Height,
                         std::uint64_t(channelsRead) * std::uint64_t(p.Height) * planeBytes,
                         BytesLeft(stream, BasePosition + HeaderSize));
    } else {
        // Both tables must lie in the file before they are allocated.
        const std::uint64_t entries = std::uint64_t(p.Height) * std::uint64_t(channels);
        if (std::uint64_t(BytesLeft(stream, BasePosition + HeaderSize)) < entries * 8)
            RaiseBrokenPicture(Name, QStringLiteral("таблица строк SGI обрезана"));
        RowStart.resize(entries);
        RowSize.resize(entries);
        stream.seek(BasePosition + HeaderSize);
        ReadExact(stream, RowStart.data(), qint64(entries * 4));
        ReadExact(stream, RowSize.data(), qint64(entries * 4));
        SwapLongs(RowStart.data(), RowStart.size());
        SwapLongs(RowSize.data(), RowSize.size());
        // Every row read must lie in the file, or the picture is mostly rows that are not there.
        const qint64 fileSize = stream.size();
        const std::size_t rowsRead = std::size_t(p.Height) * std::size_t(channelsRead);
        for (std::size_t i = 0; i < rowsRead; ++i)
            if (BasePosition + qint64(RowStart[i]) + qint64(RowSize[i]) > fileSize)
                RaiseBrokenPicture(Name, QStringLiteral("таблица строк SGI указывает за конец файла"));
        Decoder = std::make_unique<TSGIRLEDecoder>(p.BitsPerSample);
    }

    TColorManager& colors = ColorManager();
    colors.SourceFlags = sfByteSwap;
    colors.SetSourceSampleBits(p.BitsPerSample);
    colors.SetTargetSampleBits(8);
    colors.SetSourceSamples(colour ? std::uint8_t(channels) : 1);
    colors.SetTargetSamples(colour ? std::uint8_t(channels) : 1);
    colors.SetSourceModel(colour ? p.ColorScheme : cmGray);
    colors.SetTargetModel(p.ColorScheme == cmRGB ? cmBGR : p.ColorScheme == cmRGBA ? cmBGRA : cmGray);
    SetPixelFormat(colors.PixelFormatFor(1));
    SetSize(p.Width, p.Height);
    if (!colour)
        SetColorTable(colors.BuildGrayPalette(false));
    Progress(psEnding, 100, true, QRect(), QString());
    Progress(psStarting, 0, false, QRect(), QStringLiteral("Transfering..."));

    std::vector<std::uint8_t> buffers(planeBytes * std::size_t(colour ? channels : 1));
    std::array<std::uint8_t*, 4> planes{};
    for (int c = 0; c < (colour ? channels : 1); ++c)
        planes[std::size_t(c)] = buffers.data() + std::size_t(c) * planeBytes;
    const std::array<const void*, 4> sources{planes[0], planes[1], planes[2], planes[3]};
    ProgressRect = QRect(0, 0, p.Width, 1);
    for (int r = 0; r < p.Height; ++r) {
        ReadChannelRow(planes[0], planes[1], planes[2], planes[3], r, bytesPerSample);
        colors.ConvertLine(std::span(sources.data(), colour ? std::size_t(channels) : 1), ScanLine(p.Height - 1 - r),
                           unsigned(p.Width));
        Progress(psRunning, r * 100 / p.Height, true, ProgressRect, QString());
        ProgressRect.translate(0, 1);
    }
    Progress(psEnding, 100, true, QRect(), QString());
    Decoder.reset();
    Packed = std::vector<std::uint8_t>();
    Stream = nullptr;
}
