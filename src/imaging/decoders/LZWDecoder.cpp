// TIFF LZW: variable-width codes of 9 to 12 bits, most significant bit first. The width
// grows one code early (when the next free code reaches 511, 1023 and 2047), as every
// TIFF writer since 5.0 expects; the table stops growing at 4096 entries.
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

    int width = 9;
    int nextCode = FirstFreeCode;
    int oldCode = -1;          // -1: right after a Clear (or at the start)
    std::uint32_t bitBuffer = 0;
    int bitCount = 0;
    while (out < outEnd) {
        while (bitCount < width && in < inEnd) {
            bitBuffer = (bitBuffer << 8) | *in++;
            bitCount += 8;
        }
        if (bitCount < width)
            break;
        const int code = int((bitBuffer >> (bitCount - width)) & ((1u << width) - 1));
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
            if (nextCode == 511)
                width = 10;
            else if (nextCode == 1023)
                width = 11;
            else if (nextCode == 2047)
                width = 12;
        }
        write(code);
        oldCode = code;
    }
    std::memset(out, 0, std::size_t(outEnd - out));
}
