// TIFF LZW: variable-width codes of 9 to 12 bits, most significant bit first. The width
// grows one code early (when the next free code reaches 511, 1023 and 2047), as every
// TIFF writer since 5.0 expects; the table stops growing at 4096 entries. Writers older
// than 5.0 packed the codes least significant bit first and grew the width on time (at
// 512, 1024 and 2048): a strip of theirs is told by its first two bytes, since its
// leading Clear code (256) then reads as a zero byte followed by one with its low bit
// set, where the usual order starts with 0x80.
#include "imaging/decoders/Decoders.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int ClearCode = 256;
constexpr int EndOfInformation = 257;
constexpr int FirstFreeCode = 258;
constexpr int TableSize = 4096;

} // namespace

void TTIFFLZWDecoder::Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest,
                             std::size_t PackedSize, std::size_t UnpackedSize)
{
    // The table: each code's string is its prefix's string plus one byte.
    std::vector<std::uint16_t> prefix(TableSize);
    std::vector<std::uint8_t> suffix(TableSize), first(TableSize);
    std::vector<std::uint16_t> length(TableSize);
    for (int i = 0; i < 256; ++i) {
        suffix[i] = first[i] = std::uint8_t(i);
        length[i] = 1;
    }
    std::uint8_t string[TableSize];

    const std::uint8_t* in = Source;
    const std::uint8_t* const inEnd = Source + PackedSize;
    std::uint8_t* out = Dest;
    std::uint8_t* const outEnd = Dest + UnpackedSize;

    // Writes code's string, cut to the room left.
    auto write = [&](int code) {
        const int n = length[code];
        for (int i = n - 1, c = code; i >= 0; --i, c = prefix[c])
            string[i] = suffix[c];
        const std::size_t k = std::min<std::size_t>(std::size_t(n), std::size_t(outEnd - out));
        std::memcpy(out, string, k);
        out += k;
    };

    const bool lowBitFirst = PackedSize >= 2 && Source[0] == 0 && (Source[1] & 1) != 0;
    // The width grows when the next free code reaches this less one (early) or this.
    const int growth = lowBitFirst ? 0 : 1;
    int width = 9;
    int nextCode = FirstFreeCode;
    int oldCode = -1;          // -1: right after a Clear (or at the start)
    std::uint32_t bitBuffer = 0;
    int bitCount = 0;
    while (out < outEnd) {
        while (bitCount < width && in < inEnd) {
            if (lowBitFirst)
                bitBuffer |= std::uint32_t(*in++) << bitCount;
            else
                bitBuffer = (bitBuffer << 8) | *in++;
            bitCount += 8;
        }
        if (bitCount < width)
            break;
        const std::uint32_t mask = (1u << width) - 1;
        int code;
        if (lowBitFirst) {
            code = int(bitBuffer & mask);
            bitBuffer >>= width;
        } else {
            code = int((bitBuffer >> (bitCount - width)) & mask);
        }
        bitCount -= width;
        if (code == EndOfInformation)
            break;
        if (code == ClearCode) {
            width = 9;
            nextCode = FirstFreeCode;
            oldCode = -1;
            continue;
        }
        if (oldCode < 0) {
            if (code < 256) {
                write(code);
                oldCode = code;
            }
            continue;
        }
        if (code > nextCode || (code == nextCode && nextCode >= TableSize))
            continue;   // no such string: corrupt data, skipped
        // A code equal to the next free one is the previous string plus its own first byte.
        const std::uint8_t firstByte = code < nextCode ? first[code] : first[oldCode];
        if (nextCode < TableSize) {
            prefix[nextCode] = std::uint16_t(oldCode);
            suffix[nextCode] = firstByte;
            first[nextCode] = first[oldCode];
            length[nextCode] = std::uint16_t(length[oldCode] + 1);
            ++nextCode;
            if (nextCode == 512 - growth)
                width = 10;
            else if (nextCode == 1024 - growth)
                width = 11;
            else if (nextCode == 2048 - growth)
                width = 12;
        }
        write(code);
        oldCode = code;
    }
    std::memset(out, 0, std::size_t(outEnd - out));
}
