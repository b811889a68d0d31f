// The portable map reader. The header is a run of numbers between white space and
// comments; samples are scaled from the file's maximum value to 8 bits, and values above
// 255 take two bytes, most significant first.
#include "imaging/PpmReader.h"

#include "imaging/PictureReaders.h"
#include "imaging/ReaderBytes.h"

namespace {

const QString FormatName = QStringLiteral("PBM, PGM or PPM");

[[noreturn]] void RaiseReadError()
{
    RaiseGraphicError(QStringLiteral("Stream read error in %1 file.").arg(QStringLiteral("PPM")));
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

bool TPPMGraphic::ProbeStream(QIODevice& stream)
{
    return ProbeAndRestore(stream, [](QIODevice& s, qint64 left) {
        char h[2];
        return left > 10 && ReadExact(s, h, 2) && h[0] == 'P' && h[1] >= '1' && h[1] <= '6';
    });
}

void TPPMGraphic::FillBuffer()
{
    if (BufferPosition < BufferSize)
        return;
    const qint64 got = Stream->read(Buffer.data(), qint64(Buffer.size()));
    if (got <= 0)
        RaiseReadError();
    BufferSize = std::size_t(got);
    BufferPosition = 0;
}

char TPPMGraphic::NextChar()
{
    FillBuffer();
    return Buffer[BufferPosition++];
}

char TPPMGraphic::PeekChar() const
{
    return BufferPosition < BufferSize ? Buffer[BufferPosition] : 0;
}

void TPPMGraphic::SkipBlanks()
{
    for (;;) {
        FillBuffer();
        const char c = PeekChar();
        if (c == '#') {
            while (NextChar() != '\n') {
            }
        } else if (IsBlank(c)) {
            ++BufferPosition;
        } else {
            return;
        }
    }
}

std::uint32_t TPPMGraphic::ReadNumber()
{
    SkipBlanks();
    std::uint64_t value = 0;
    char c = NextChar();
    if (c < '0' || c > '9')
        RaiseBrokenPicture(Name, QStringLiteral("вместо числа символ \"%1\"").arg(QChar::fromLatin1(c)));
    while (c >= '0' && c <= '9') {
        value = value * 10 + std::uint64_t(c - '0');
        if (value > 0x7FFFFFFF)
            RaiseBrokenPicture(Name, QStringLiteral("слишком большое число"));
        // The last digit of the file ends the number as well as a separator does.
        if (BufferPosition >= BufferSize && Stream->atEnd())
            break;
        c = NextChar();
    }
    return std::uint32_t(value);
}

bool TPPMGraphic::ReadBit()
{
    SkipBlanks();
    const char c = NextChar();
    if (c != '0' && c != '1')
        RaiseBrokenPicture(Name, QStringLiteral("в точках PBM символ \"%1\"").arg(QChar::fromLatin1(c)));
    return c == '1';
}

void TPPMGraphic::ReadBytes(std::uint8_t* data, std::size_t size)
{
    const std::size_t buffered = std::min(size, BufferSize - BufferPosition);
    std::memcpy(data, Buffer.data() + BufferPosition, buffered);
    BufferPosition += buffered;
    if (size > buffered && !ReadExact(*Stream, data + buffered, qint64(size - buffered)))
        RaiseReadError();
}

bool TPPMGraphic::ReadImageInfo(QIODevice& stream, unsigned imageIndex)
{
    TImageGraphic::ReadImageInfo(stream, imageIndex);
    Stream = &stream;
    BufferSize = BufferPosition = 0;
    if (stream.atEnd() || NextChar() != 'P')
        return false;
    Kind = stream.atEnd() && BufferPosition >= BufferSize ? 0 : NextChar();
    if (Kind < '1' || Kind > '6')
        return true;
    TImageProperties& p = ImageProperties;
    p.Width = std::int32_t(ReadNumber());
    p.Height = std::int32_t(ReadNumber());
    const bool bitmap = Kind == '1' || Kind == '4';
    MaxValue = bitmap ? 1 : ReadNumber();
    p.ColorScheme = Kind == '3' || Kind == '6' ? cmRGB : cmIndexed;
    p.BitsPerSample = bitmap ? 1 : 8;
    p.SamplesPerPixel = p.ColorScheme == cmRGB ? 3 : 1;
    p.BitsPerPixel = std::uint8_t(p.BitsPerSample * p.SamplesPerPixel);
    p.Compression = ctNone;
    return true;
}

void TPPMGraphic::LoadFromStream(QIODevice& stream)
{
    SetSize(0, 0);
    BasePosition = stream.pos();
    if (!ReadImageInfo(stream, 0))
        RaiseInvalidImage(FormatName);
    if (Kind < '1' || Kind > '6')
        return;
    const TImageProperties& p = ImageProperties;
    if (p.Width < 1 || p.Height < 1)
        RaiseBrokenPicture(Name, QStringLiteral("пустой размер рисунка"));
    if (MaxValue < 1 || MaxValue > 65535)
        RaiseBrokenPicture(Name, QStringLiteral("наибольшее значение %1 вне 1..65535").arg(MaxValue));
    const bool bitmap = Kind == '1' || Kind == '4';
    const bool binary = Kind >= '4';
    // The binary maps' pixels begin right after the one white-space character that ended
    // the header's last number, which reading the number took.
    Progress(psStarting, 0, false, QRect(), QStringLiteral("Transfering..."));

    TColorManager& colors = ColorManager();
    colors.SetTargetSampleBits(bitmap ? 1 : 8);
    colors.SetTargetSamples(p.SamplesPerPixel);
    SetPixelFormat(bitmap ? pf1bit : p.SamplesPerPixel == 3 ? pf24bit : pf8bit);
    {
        // The data must fill every row. Binary: whole bytes a row of bits, or 1 or 2 bytes
        // a sample. Plain text: a digit a bit (they may touch), a digit and a blank a sample.
        const std::uint64_t height = std::uint64_t(p.Height);
        const std::uint64_t samples = std::uint64_t(p.Width) * p.SamplesPerPixel;
        std::uint64_t needed;
        if (binary)
            needed = bitmap ? (std::uint64_t(p.Width) + 7) / 8 * height : samples * height * (MaxValue > 255 ? 2 : 1);
        else
            needed = bitmap ? samples * height : samples * height * 2 - 1;
        CheckPictureData(Name, p.Width, p.Height, needed,
                         BytesLeft(stream, stream.pos()) + qint64(BufferSize - BufferPosition));
    }
    SetSize(p.Width, p.Height);
    if (p.SamplesPerPixel == 1)
        SetColorTable(colors.BuildGrayPalette(bitmap));   // bitmaps: 0 white, 1 black

    const std::size_t width = std::size_t(p.Width);
    const std::size_t samples = width * p.SamplesPerPixel;
    const std::size_t sampleBytes = MaxValue > 255 ? 2 : 1;
    std::vector<std::uint8_t> raw(bitmap ? 0 : samples * sampleBytes);
    const auto scale = [this](std::uint32_t v) {
        return std::uint8_t((std::uint64_t(std::min(v, MaxValue)) * 255 + MaxValue / 2) / MaxValue);
    };
    ProgressRect = QRect(0, 0, p.Width, 1);
    for (int y = 0; y < p.Height; ++y) {
        std::uint8_t* row = ScanLine(y);
        if (Kind == '4') {
            ReadBytes(row, (width + 7) / 8);
        } else if (Kind == '1') {
            std::memset(row, 0, (width + 7) / 8);
            for (std::size_t x = 0; x < width; ++x)
                if (ReadBit())
                    row[x / 8] |= std::uint8_t(0x80 >> (x % 8));
        } else {
            if (binary)
                ReadBytes(raw.data(), raw.size());
            // Colour samples go in blue, green, red order.
            for (std::size_t i = 0; i < samples; ++i) {
                const std::uint32_t v = !binary       ? ReadNumber()
                                        : sampleBytes == 2 ? BigEndian16(&raw[2 * i])
                                                           : raw[i];
                const std::size_t at = p.SamplesPerPixel == 3 ? i - i % 3 + 2 - i % 3 : i;
                row[at] = scale(v);
            }
        }
        Progress(psRunning, y * 100 / p.Height, true, ProgressRect, QString());
        ProgressRect.translate(0, 1);
    }
    Progress(psEnding, 100, true, QRect(), QString());
}
