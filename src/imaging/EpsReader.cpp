// The binary EPS reader: a 30-byte header locates the TIFF preview, which the TIFF reader
// then reads with its offsets counted from the preview's start.
#include "imaging/EpsReader.h"

#include "imaging/PictureReaders.h"
#include "imaging/ReaderBytes.h"

namespace {

constexpr qint64 HeaderSize = 30;
constexpr std::uint32_t Identifier = 0xC6D3D0C5;

}  // namespace

bool TEPSGraphic::ProbeStream(QIODevice& stream)
{
    return ProbeAndRestore(stream, [](QIODevice& s, qint64 left) {
        std::uint8_t h[HeaderSize];
        return left > HeaderSize && ReadExact(s, h, HeaderSize) && LittleEndian32(h) == Identifier
               && s.pos() < qint64(LittleEndian32(h + 20)) && LittleEndian32(h + 24) > 0;
    });
}

void TEPSGraphic::LoadFromStream(QIODevice& stream)
{
    SetSize(0, 0);
    const qint64 base = stream.pos();
    std::uint8_t h[HeaderSize];
    if (!ReadExact(stream, h, HeaderSize) || LittleEndian32(h) != Identifier)
        RaiseInvalidImage(QStringLiteral("EPS"));
    const std::uint32_t offset = LittleEndian32(h + 20);
    const std::uint32_t length = LittleEndian32(h + 24);
    if (offset == 0 && length == 0)
        throw EInvalidGraphic(QStringLiteral("Файл EPS \"%1\" не содержит образа TIFF для показа").arg(Name));
    if (offset < HeaderSize || qint64(offset) >= BytesLeft(stream, base))
        RaiseBrokenPicture(Name, QStringLiteral("образ TIFF лежит вне файла EPS"));
    stream.seek(base + qint64(offset));
    TTIFFGraphic::LoadFromStream(stream);
}
