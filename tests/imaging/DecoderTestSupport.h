// Running a row decoder the way the fault tests need it: the packed bytes in a heap block
// of exactly their size (AddressSanitizer reports any read past it) and the output between
// guard bytes that must come back untouched.
#pragma once

#include "imaging/decoders/Decoders.h"

#include <QByteArray>
#include <QFile>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

constexpr std::size_t GuardSize = 16;
constexpr std::uint8_t GuardByte = 0xA5;

struct RUnpacked {
    TBytes Bytes;            // the output block
    bool GuardsIntact = true;
    std::size_t Consumed = 0;   // how far the decoder moved Source
    std::size_t Produced = 0;   // how far the decoder moved Dest
};

// Unpacks packed into a block of outBytes bytes; unpackedSize is what the decoder is told
// (its own unit), outBytes the bytes that unit makes.
inline RUnpacked UnpackGuarded(TDecoder& decoder, const TBytes& packed, std::size_t unpackedSize,
                               std::size_t outBytes)
{
    auto in = std::make_unique<std::uint8_t[]>(packed.size() + 1);   // +1: never empty
    std::copy(packed.begin(), packed.end(), in.get());
    TBytes out(GuardSize + outBytes + GuardSize, GuardByte);
    const std::uint8_t* source = in.get();
    std::uint8_t* dest = out.data() + GuardSize;
    decoder.Unpack(source, dest, packed.size(), unpackedSize);
    RUnpacked r;
    r.Consumed = std::size_t(source - in.get());
    r.Produced = std::size_t(dest - (out.data() + GuardSize));
    for (std::size_t i = 0; i < GuardSize; ++i)
        r.GuardsIntact = r.GuardsIntact && out[i] == GuardByte && out[out.size() - 1 - i] == GuardByte;
    r.Bytes.assign(out.begin() + GuardSize, out.end() - GuardSize);
    return r;
}

inline RUnpacked UnpackGuarded(TDecoder& decoder, const TBytes& packed, std::size_t unpackedBytes)
{
    return UnpackGuarded(decoder, packed, unpackedBytes, unpackedBytes);
}

inline TBytes FixtureBytes(const char* name)
{
    QFile file(QStringLiteral(VELMORA_TEST_FIXTURES "/imaging/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    const QByteArray b = file.readAll();
    return TBytes(b.begin(), b.end());
}

// Codes of the given widths packed most significant bit first, the last byte padded with 0.
inline TBytes PackBitsMsbFirst(const std::vector<std::pair<unsigned, int>>& codes)
{
    TBytes out;
    std::uint32_t buffer = 0;
    int count = 0;
    for (const auto& [code, width] : codes) {
        buffer = (buffer << width) | code;
        count += width;
        while (count >= 8) {
            out.push_back(std::uint8_t(buffer >> (count - 8)));
            count -= 8;
        }
    }
    if (count > 0)
        out.push_back(std::uint8_t(buffer << (8 - count)));
    return out;
}

// Codes of the given widths packed least significant bit first, as TIFF writers before
// 5.0 packed LZW; the last byte padded with 0.
inline TBytes PackBitsLsbFirst(const std::vector<std::pair<unsigned, int>>& codes)
{
    TBytes out;
    std::uint64_t buffer = 0;
    int count = 0;
    for (const auto& [code, width] : codes) {
        buffer |= std::uint64_t(code) << count;
        count += width;
        while (count >= 8) {
            out.push_back(std::uint8_t(buffer));
            buffer >>= 8;
            count -= 8;
        }
    }
    if (count > 0)
        out.push_back(std::uint8_t(buffer));
    return out;
}

// The same from a text of '0' and '1' (blanks ignored).
inline TBytes BitText(const char* bits)
{
    std::vector<std::pair<unsigned, int>> codes;
    for (const char* p = bits; *p; ++p)
        if (*p == '0' || *p == '1')
            codes.push_back({unsigned(*p == '1'), 1});
    return PackBitsMsbFirst(codes);
}
