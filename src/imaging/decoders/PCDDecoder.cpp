// Photo-CD Huffman residuals: the higher resolutions of an image pack store, for each row
// of each plane, the differences to the upsampled lower resolution, coded with one or
// three Huffman tables and led by a sync pattern that names the plane and the row.
#include "imaging/decoders/Decoders.h"

#include <QIODevice>

#include <algorithm>

namespace {

struct TPCDCode {
    std::uint32_t Length = 0;     // bits
    std::uint32_t Sequence = 0;   // the code in the register's top bits
    std::uint32_t Mask = 0;
    std::int8_t Value = 0;
};

// The 32-bit register over the stream, most significant bit first, read in sectors of
// 2048 bytes. At the end of the stream it fills with zeros and says so.
class TPCDBits {
public:
    explicit TPCDBits(QIODevice* stream) : Stream(stream) {}

    std::uint32_t Sum = 0;
    bool Ended = false;

    void Get(int n)
    {
        Sum = n >= 32 ? 0 : Sum << n;
        Bits -= n;
        while (Bits <= 24) {
            if (Pos >= Count) {
                Count = Stream ? int(std::max<qint64>(0, Stream->read(Buffer, sizeof Buffer))) : 0;
                Pos = 0;
                if (Count == 0) {
                    // the register empties bit by bit; once nothing of the stream is left
                    // in it, decoding stops
                    if (++ZeroBytes > 4)
                        Ended = true;
                    Bits += 8;
                    continue;
                }
            }
            Sum |= std::uint32_t(std::uint8_t(Buffer[Pos++])) << (24 - Bits);
            Bits += 8;
        }
    }

    // Sync: the top 24 bits are 23 ones and a zero.
    bool AtSync() const { return (Sum & 0xFFFFFF00u) == 0xFFFFFE00u; }

    void SeekSync()
    {
        while (!Ended && (Sum & 0x00FFF000u) != 0x00FFF000u)
            Get(8);
        while (!Ended && !AtSync())
            Get(1);
    }

private:
    QIODevice* Stream;
    char Buffer[2048];
    int Count = 0;
    int Pos = 0;
    int Bits = 32;
    int ZeroBytes = 0;
};

} // namespace

void TPCDDecoder::Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest, std::size_t PackedSize,
                         std::size_t UnpackedSize)
{
    const auto* planes = reinterpret_cast<std::uint8_t* const*>(Source);
    UnpackPlanes({planes[0], planes[1], planes[2]}, PackedSize, UnpackedSize);
}

void TPCDDecoder::UnpackPlanes(const std::array<std::uint8_t*, 3>& Planes, std::size_t Width,
                               std::size_t Rows)
{
    TPCDBits bits(Stream);
    std::vector<TPCDCode> tables[3];
    const int tableCount = Width > 1536 ? 3 : 1;
    for (int t = 0; t < tableCount; ++t) {
        bits.Get(8);
        const int entries = int(bits.Sum & 0xFF) + 1;
        for (int e = 0; e < entries; ++e) {
            TPCDCode code;
            bits.Get(8);
            code.Length = (bits.Sum & 0xFF) + 1;
            if (code.Length > 16)
                return;
            bits.Get(16);
            code.Sequence = (bits.Sum & 0xFFFF) << 16;
            bits.Get(8);
            code.Value = std::int8_t(bits.Sum & 0xFF);
            code.Mask = ~((1u << (32 - code.Length)) - 1);
            tables[t].push_back(code);
        }
    }
    bits.Get(16);
    bits.Get(16);
    bits.SeekSync();

    const std::size_t planeSize = Width * Rows;
    std::uint8_t* plane = nullptr;
    std::size_t position = 0;
    const std::vector<TPCDCode>* table = &tables[0];
    while (!bits.Ended) {
        if (bits.AtSync()) {
            bits.Get(16);
            const std::size_t row = (bits.Sum >> 9) & 0x1FFF;
            if (row == Rows)
                return;
            bits.Get(8);
            switch (bits.Sum >> 30) {
            case 0:
                plane = Planes[0];
                table = &tables[0];
                position = row * Width;
                break;
            case 2:
                plane = Planes[1];
                table = &tables[1];
                position = (row / 2) * Width;
                break;
            case 3:
                plane = Planes[2];
                table = &tables[2];
                position = (row / 2) * Width;
                break;
            default:
                return;   // plane 1: the load is abandoned without a word
            }
            bits.Get(16);
            continue;
        }
        const TPCDCode* match = nullptr;
        for (const TPCDCode& code : *table)
            if ((bits.Sum & code.Mask) == code.Sequence) {
                match = &code;
                break;
            }
        if (!match || !plane) {
            bits.SeekSync();
            continue;
        }
        if (position < planeSize) {
            const int v = plane[position] + match->Value;
            plane[position] = std::uint8_t(std::clamp(v, 0, 255));
        }
        ++position;
        bits.Get(int(match->Length));
    }
}
