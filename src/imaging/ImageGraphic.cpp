// The base image reader and the small routines the readers share.
#include "imaging/ImageGraphic.h"

#include <QFile>

void RaiseGraphicError(const QString& message)
{
    throw EInvalidGraphic(message);
}

TImageGraphic::TImageGraphic() : Colors(std::make_unique<TColorManager>()) {}

TImageGraphic::~TImageGraphic() = default;

void TImageGraphic::Assign(const TBitmap& source)
{
    if (const auto* graphic = dynamic_cast<const TImageGraphic*>(&source))
        ImageProperties = graphic->ImageProperties;
    TBitmap::Assign(source);
}

bool TImageGraphic::ProbeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return ProbeStream(file);
}

bool TImageGraphic::ProbeStream(QIODevice&)
{
    return false;
}

bool TImageGraphic::ReadImageInfo(QIODevice&, unsigned)
{
    ImageProperties = TImageProperties();
    ImageProperties.FileGamma = 1.0f;
    return false;
}

void TImageGraphic::LoadFromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EPictureError(QStringLiteral("Не удается открыть файл рисунка \"%1\": %2")
                                .arg(path, file.errorString()));
    Name = path;
    BasePosition = file.pos();
    LoadFromStream(file);
}

void TImageGraphic::LoadFromStream(QIODevice&)
{
    RaiseGraphicError(QStringLiteral("This image class reads no image."));
}

void TImageGraphic::Progress(TProgressStage stage, int percent, bool redraw, const QRect& rect,
                             const QString& message)
{
    if (OnProgress)
        OnProgress(*this, stage, percent, redraw, rect, message);
}

bool TImageGraphic::StartRowLoad(QIODevice& stream, qint64 skip, const QString& stage)
{
    SetSize(0, 0);
    BasePosition = stream.pos();
    if (!ReadImageInfo(stream, 0))
        return false;
    stream.seek(BasePosition + skip);
    ProgressRect = QRect(0, 0, ImageProperties.Width, 1);
    Progress(psStarting, 0, false, ProgressRect, stage);
    return true;
}

void SwapWords(void* data, std::size_t count)
{
    auto* p = static_cast<std::uint8_t*>(data);
    for (std::size_t i = 0; i < count; ++i, p += 2)
        std::swap(p[0], p[1]);
}

void SwapLongs(void* data, std::size_t count)
{
    auto* p = static_cast<std::uint8_t*>(data);
    for (std::size_t i = 0; i < count; ++i, p += 4) {
        std::swap(p[0], p[3]);
        std::swap(p[1], p[2]);
    }
}

std::uint32_t SwapLong(std::uint32_t value)
{
    return value >> 24 | (value >> 8 & 0xFF00u) | (value << 8 & 0xFF0000u) | value << 24;
}

namespace {

void Depredict(std::uint8_t* row, std::size_t n, std::size_t samples)
{
    for (std::size_t i = samples; i < samples * (n + 1); ++i)
        row[i] = std::uint8_t(row[i] + row[i - samples]);
}

int Mean2(int a, int b) { return (a + b + 1) / 2; }

}  // namespace

void Depredict1(std::uint8_t* row, std::size_t n) { Depredict(row, n, 1); }
void Depredict3(std::uint8_t* row, std::size_t n) { Depredict(row, n, 3); }
void Depredict4(std::uint8_t* row, std::size_t n) { Depredict(row, n, 4); }

void UpsamplePlane(int width, int height, int lineStride, std::uint8_t* plane)
{
    if (width <= 0 || height <= 0 || lineStride < 2 * width)
        return;
    const int outWidth = 2 * width;
    // Each source row spreads over the even output row of twice its index, the last
    // first, and from its right end, so that nothing is overwritten before it is read.
    for (int r = height - 1; r >= 0; --r) {
        const std::uint8_t* source = plane + std::size_t(r) * std::size_t(lineStride);
        std::uint8_t* out = plane + std::size_t(2 * r) * std::size_t(lineStride);
        for (int x = width - 1; x >= 0; --x) {
            const int a = source[x];
            const int odd = x + 1 < width ? Mean2(a, source[x + 1]) : a;
            out[2 * x + 1] = std::uint8_t(odd);
            out[2 * x] = std::uint8_t(a);
        }
    }
    for (int r = 0; r + 1 < height; ++r) {
        const std::uint8_t* above = plane + std::size_t(2 * r) * std::size_t(lineStride);
        const std::uint8_t* below = above + 2 * std::size_t(lineStride);
        std::uint8_t* out = const_cast<std::uint8_t*>(above) + lineStride;
        for (int c = 0; c < outWidth; c += 2)
            out[c] = std::uint8_t(Mean2(above[c], below[c]));
        for (int c = 1; c + 1 < outWidth; c += 2)
            out[c] = std::uint8_t((above[c - 1] + above[c + 1] + below[c - 1] + below[c + 1] + 2) / 4);
        out[outWidth - 1] = std::uint8_t(Mean2(above[outWidth - 1], below[outWidth - 1]));
    }
    std::uint8_t* last = plane + std::size_t(2 * height - 1) * std::size_t(lineStride);
    std::copy(last - lineStride, last - lineStride + outWidth, last);
}
