// What the readers of the channel-separated and layered formats share: numbers of either
// byte order taken from a buffer, reads that say how much the stream held, the refusal of
// a header, and a probe that leaves the stream where it found it.
#pragma once

#include "imaging/ImageGraphic.h"

#include <QIODevice>

#include <algorithm>
#include <cstdint>
#include <cstring>

inline std::uint16_t BigEndian16(const std::uint8_t* p)
{
    return std::uint16_t(p[0] << 8 | p[1]);
}

inline std::uint32_t BigEndian32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

inline std::uint16_t LittleEndian16(const std::uint8_t* p)
{
    return std::uint16_t(p[1] << 8 | p[0]);
}

inline std::uint32_t LittleEndian32(const std::uint8_t* p)
{
    return std::uint32_t(p[3]) << 24 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
}

// Reads up to size bytes at position (the current one when negative); the bytes the
// stream does not hold are zero. Returns the count read.
inline qint64 ReadZeroFilled(QIODevice& stream, qint64 position, void* data, qint64 size)
{
    auto* bytes = static_cast<char*>(data);
    qint64 got = 0;
    if (size > 0 && (position < 0 || (position <= stream.size() && stream.seek(position))))
        got = std::max<qint64>(0, stream.read(bytes, size));
    if (size > got)
        std::memset(bytes + got, 0, std::size_t(size - got));
    return got;
}

// Exactly size bytes at the current position, or false.
inline bool ReadExact(QIODevice& stream, void* data, qint64 size)
{
    return size == 0 || stream.read(static_cast<char*>(data), size) == size;
}

// The bytes from position to the end of the stream (0 past it).
inline qint64 BytesLeft(QIODevice& stream, qint64 position)
{
    return std::max<qint64>(0, stream.size() - position);
}

// "Cannot load image. Invalid or unexpected <format> image format."
[[noreturn]] inline void RaiseInvalidImage(const QString& format)
{
    RaiseGraphicError(QStringLiteral("Cannot load image. Invalid or unexpected %1 image format.").arg(format));
}

// Answers test(stream) and puts the stream back where it was.
template <class TTest>
bool ProbeAndRestore(QIODevice& stream, TTest test)
{
    const qint64 start = stream.pos();
    const bool ours = test(stream, stream.size() - start);
    stream.seek(start);
    return ours;
}
