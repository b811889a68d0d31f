// The run-length decoders of the readers' own schemes (Targa, PackBits, PCX, SGI, Dr. Halo,
// Paint Shop Pro, Alias/Wavefront) and ThunderScan. Each reads through one bounded cursor
// pair: a packet that claims more input than is left, or more output than there is room
// for, is cut, and what the input leaves unwritten is zero.
#include "imaging/decoders/Decoders.h"

#include <algorithm>
#include <cstring>

namespace {

// The input of one block: never read past End.
struct TSource {
    const std::uint8_t* Pos;
    const std::uint8_t* End;

    std::size_t Left() const { return std::size_t(End - Pos); }
    bool Take(std::uint8_t& b)
    {
        if (Pos >= End)
            return false;
        b = *Pos++;
        return true;
    }
};

// The output of one block: never written past End.
struct TTarget {
    std::uint8_t* Pos;
    std::uint8_t* End;

    std::size_t Left() const { return std::size_t(End - Pos); }
    bool Full() const { return Pos >= End; }
    void Fill(std::uint8_t value, std::size_t count)
    {
        count = std::min(count, Left());
        std::memset(Pos, value, count);
        Pos += count;
    }
    // Copies count bytes of the source, cut to both; the source moves past all of them
    // that it holds, so a cut copy does not shift the packets that follow.
    void Copy(TSource& from, std::size_t count)
    {
        const std::size_t available = std::min(count, from.Left());
        const std::size_t n = std::min(available, Left());
        std::memcpy(Pos, from.Pos, n);
        Pos += n;
        from.Pos += available;
    }
    // Writes the source's next byte count times, cut to the room; false when the source
    // has no byte left.
    bool Run(TSource& from, std::size_t count)
    {
        std::uint8_t value;
        if (!from.Take(value))
            return false;
        Fill(value, count);
        return true;
    }
    void ZeroRest() { Fill(0, Left()); }
};

} // namespace

// ---- Targa ----

namespace {

int TargaBytesPerPixel(int depth)
{
    switch (depth) {
    case 8: return 1;
    case 15:
    case 16: return 2;
    case 24: return 3;
    case 32: return 4;
    default: return 0;
    }
}

} // namespace

void TTargaRLEDecoder::Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest,
                              std::size_t PackedSize, std::size_t UnpackedSize)
{
    const int b = TargaBytesPerPixel(ColorDepth);
    if (b == 0)
        return;
    TSource in{Source, Source + PackedSize};
    TTarget out{Dest, Dest + UnpackedSize * std::size_t(b)};
    std::uint8_t header;
    while (!out.Full() && in.Take(header)) {
        const std::size_t n = std::size_t(header & 127) + 1;
        if (header & 128) {
            if (in.Left() < std::size_t(b)) {
                in.Pos = in.End;
                break;
            }
            for (std::size_t i = 0; i < n && !out.Full(); ++i) {
                std::memcpy(out.Pos, in.Pos, std::min<std::size_t>(b, out.Left()));
                out.Pos += std::min<std::size_t>(b, out.Left());
            }
            in.Pos += b;
        } else {
            out.Copy(in, n * std::size_t(b));
        }
    }
    out.ZeroRest();
    Source = in.Pos;
}

void TTargaRLEDecoder::Pack(const std::uint8_t* Source, std::uint8_t* Dest, std::size_t Count,
                            std::size_t& BytesStored)
{
    BytesStored = 0;
    const std::size_t b = std::size_t((ColorDepth + 1) / 8);
    if (TargaBytesPerPixel(ColorDepth) == 0)
        return;
    auto same = [&](std::size_t i, std::size_t j) {
        return std::memcmp(Source + i * b, Source + j * b, b) == 0;
    };
    std::size_t i = 0;
    while (i < Count) {
        // r: pixels before the first pair of equal neighbours; s: equal pixels from here
        std::size_t r = 0;
        while (i + r < Count && (i + r + 1 >= Count || !same(i + r, i + r + 1)) && r < 128)
            ++r;
        std::size_t s = 1;
        while (i + s < Count && same(i, i + s) && s < 128)
            ++s;
        if (r > 0) {
            *Dest++ = std::uint8_t(r - 1);
            std::memcpy(Dest, Source + i * b, r * b);
            Dest += r * b;
            BytesStored += r * b + 1;
            i += r;
        } else {
            *Dest++ = std::uint8_t((s - 1) + 128);
            std::memcpy(Dest, Source + i * b, b);
            Dest += b;
            BytesStored += b + 1;
            i += s;
        }
    }
}

// ---- PackBits ----

void TPackbitsRLEDecoder::Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest,
                                 std::size_t PackedSize, std::size_t UnpackedSize)
{
    TSource in{Source, Source + PackedSize};
    TTarget out{Dest, Dest + UnpackedSize};
    std::uint8_t header;
    while (!out.Full() && in.Take(header)) {
        const int n = std::int8_t(header);
        if (n >= 0) {
            out.Copy(in, std::size_t(n) + 1);
        } else if (n != -128) {
            if (!out.Run(in, std::size_t(1 - n)))
                break;
        }
    }
    out.ZeroRest();
}

// ---- PCX ----

void TPCXRLEDecoder::Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest,
                            std::size_t PackedSize, std::size_t UnpackedSize)
{
    TSource in{Source, Source + PackedSize};
    TTarget out{Dest, Dest + UnpackedSize};
    std::uint8_t c;
    while (!out.Full() && in.Take(c)) {
        if (c < 192) {
            *out.Pos++ = c;
        } else {
            if (!out.Run(in, c & 63))
                break;
        }
    }
    out.ZeroRest();
}

// ---- SGI ----

void TSGIRLEDecoder::Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest,
                            std::size_t PackedSize, std::size_t UnpackedSize)
{
    const std::size_t size = SampleSize == 16 ? 2 : 1;
    TSource in{Source, Source + PackedSize};
    TTarget out{Dest, Dest + UnpackedSize * size};
    while (!out.Full() && in.Left() >= size) {
        const unsigned header = size == 2 ? unsigned(in.Pos[0]) << 8 | in.Pos[1] : in.Pos[0];
        in.Pos += size;
        const std::size_t n = header & 127;
        if (n == 0)
            break;
        if (header & 128) {
            out.Copy(in, n * size);
        } else {
            if (in.Left() < size)
                break;
            for (std::size_t i = 0; i < n && !out.Full(); ++i) {
                const std::size_t k = std::min(size, out.Left());
                std::memcpy(out.Pos, in.Pos, k);
                out.Pos += k;
            }
            in.Pos += size;
        }
    }
    out.ZeroRest();
}

// ---- Dr. Halo ----

void TCUTRLEDecoder::Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest,
                            std::size_t PackedSize, std::size_t UnpackedSize)
{
    TSource in{Source, Source + PackedSize};
    TTarget out{Dest, Dest + UnpackedSize};
    in.Pos += std::min<std::size_t>(2, in.Left());   // the row's byte count
    // The packets are read to the closing zero even when the row is full, so that the
    // next row starts where it is stored.
    std::uint8_t header;
    while (in.Take(header) && header != 0) {
        const std::size_t n = header & 127;
        if (header & 128) {
            if (!out.Run(in, n))
                break;
        } else {
            out.Copy(in, n);
        }
    }
    out.ZeroRest();
    Source = in.Pos;
}

// ---- Paint Shop Pro ----

void TPSPRLEDecoder::Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest,
                            std::size_t PackedSize, std::size_t UnpackedSize)
{
    TSource in{Source, Source + PackedSize};
    TTarget out{Dest, Dest + UnpackedSize};
    std::uint8_t h;
    while (!out.Full() && in.Take(h)) {
        if (h >= 128) {
            if (!out.Run(in, h - 128u))
                break;
        } else {
            out.Copy(in, h);
        }
    }
    out.ZeroRest();
}

// ---- Alias/Wavefront ----

void TRLADecoder::Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest,
                         std::size_t PackedSize, std::size_t UnpackedSize)
{
    TSource in{Source, Source + PackedSize};
    TTarget out{Dest, Dest + UnpackedSize};
    std::uint8_t h;
    while (!out.Full() && in.Take(h)) {
        const int n = std::int8_t(h);
        if (n < 0) {
            out.Copy(in, std::size_t(-n));
        } else {
            if (!out.Run(in, std::size_t(n) + 1))
                break;
        }
    }
    out.ZeroRest();
}

// ---- ThunderScan ----

void TThunderDecoder::Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest,
                             std::size_t PackedSize, std::size_t UnpackedSize)
{
    TSource in{Source, Source + PackedSize};
    std::memset(Dest, 0, UnpackedSize);
    const std::size_t rowBytes = (std::size_t(Width) + 1) / 2;
    if (rowBytes == 0)
        return;
    static constexpr int TwoBitDeltas[4] = {0, 1, 0, -1};            // 2: skip
    static constexpr int ThreeBitDeltas[8] = {0, 1, 2, 3, 0, -3, -2, -1};   // 4: skip
    std::uint8_t* row = Dest;
    std::size_t left = UnpackedSize;
    while (left > 0 && in.Left() > 0) {
        // A row never takes more than its own bytes, the last one when the block is short.
        const std::size_t bytes = std::min(rowBytes, left);
        const std::uint32_t pixels = std::uint32_t(std::min<std::size_t>(Width, bytes * 2));
        std::uint32_t written = 0;
        int last = 0;
        auto put = [&](int value) {
            last = value & 15;
            if (written >= pixels)
                return;
            if (written & 1)
                row[written / 2] |= std::uint8_t(last);
            else
                row[written / 2] = std::uint8_t(last << 4);
            ++written;
        };
        std::uint8_t c;
        while (written < pixels && in.Take(c)) {
            switch (c >> 6) {
            case 0:
                for (int i = 0; i < (c & 63) && written < pixels; ++i)
                    put(last);
                break;
            case 1:
                for (int shift = 4; shift >= 0; shift -= 2) {
                    const int d = (c >> shift) & 3;
                    if (d != 2)
                        put(last + TwoBitDeltas[d]);
                }
                break;
            case 2:
                for (int shift = 3; shift >= 0; shift -= 3) {
                    const int d = (c >> shift) & 7;
                    if (d != 4)
                        put(last + ThreeBitDeltas[d]);
                }
                break;
            default:
                put(c & 15);
                break;
            }
        }
        row += bytes;
        left -= bytes;
    }
}
