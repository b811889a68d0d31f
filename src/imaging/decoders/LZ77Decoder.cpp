// Deflate through zlib's inflate: one stream across all blocks (PNG) or one per block
// (TIFF strips, with the reset flag).
#include "imaging/decoders/Decoders.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <zlib.h>

struct TLZ77Decoder::TStream {
    z_stream Z{};
};

namespace {

[[noreturn]] void RaiseLZ77Error()
{
    RaiseCompressionError(QStringLiteral("LZ77 decompression error."));
}

bool Broken(int result)
{
    return result == Z_DATA_ERROR || result == Z_STREAM_ERROR || result == Z_MEM_ERROR
        || result == Z_NEED_DICT;
}

} // namespace

TLZ77Decoder::TLZ77Decoder(int FlushMode, bool Reset)
    : Stream(std::make_unique<TStream>()), FlushMode(FlushMode), Reset(Reset)
{
}

TLZ77Decoder::~TLZ77Decoder()
{
    if (Started)
        inflateEnd(&Stream->Z);
}

void TLZ77Decoder::StartUnpack()
{
    if (Started) {
        inflateEnd(&Stream->Z);
        Started = false;
    }
    Stream->Z = z_stream{};
    ZLibResult = inflateInit(&Stream->Z);
    if (ZLibResult != Z_OK)
        RaiseLZ77Error();
    Started = true;
}

void TLZ77Decoder::Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest,
                          std::size_t PackedSize, std::size_t UnpackedSize)
{
    if (!Started)
        StartUnpack();
    z_stream& z = Stream->Z;
    z.next_in = const_cast<Bytef*>(Source);
    z.avail_in = uInt(std::min<std::size_t>(PackedSize, UINT_MAX));
    z.next_out = Dest;
    z.avail_out = uInt(std::min<std::size_t>(UnpackedSize, UINT_MAX));
    if (Reset)
        ZLibResult = inflateReset(&z);
    // Without the reset nothing follows the end of the stream or a broken one.
    if (ZLibResult != Z_OK) {
        if (Reset)
            std::memset(Dest, 0, UnpackedSize);
        return;
    }
    ZLibResult = inflate(&z, FlushMode);
    Source = z.next_in;
    Dest = z.next_out;
    if (Broken(ZLibResult))
        RaiseLZ77Error();
    // A stream that ends early leaves the rest of the block blank, not stale.
    if (Reset)
        std::memset(Dest, 0, z.avail_out);
}

void TLZ77Decoder::FinishUnpack()
{
    if (!Started)
        return;
    Started = false;
    if (inflateEnd(&Stream->Z) != Z_OK)
        RaiseLZ77Error();
}

std::size_t TLZ77Decoder::InputLeft() const
{
    return Stream->Z.avail_in;
}

std::size_t TLZ77Decoder::OutputLeft() const
{
    return Stream->Z.avail_out;
}
