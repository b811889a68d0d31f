// One-dimensional ITU-T T.4 decoding (Group 3 with or without end-of-line codes, and
// modified Huffman) through two code trees, white and black, built from the full T.4 tables:
// terminating codes, make-up codes, the extended make-up codes both colours share, the
// end-of-line code and the runs of zeros that only fill or broken data hold.
#include "imaging/decoders/Decoders.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

struct TCode {
    std::string_view Bits;
    int Value;
};

constexpr TCode WhiteCodes[] = {
    {"00110101", 0}, {"000111", 1}, {"0111", 2}, {"1000", 3}, {"1011", 4}, {"1100", 5},
    {"1110", 6}, {"1111", 7}, {"10011", 8}, {"10100", 9}, {"00111", 10}, {"01000", 11},
    {"001000", 12}, {"000011", 13}, {"110100", 14}, {"110101", 15}, {"101010", 16},
    {"101011", 17}, {"0100111", 18}, {"0001100", 19}, {"0001000", 20}, {"0010111", 21},
    {"0000011", 22}, {"0000100", 23}, {"0101000", 24}, {"0101011", 25}, {"0010011", 26},
    {"0100100", 27}, {"0011000", 28}, {"00000010", 29}, {"00000011", 30}, {"00011010", 31},
    {"00011011", 32}, {"00010010", 33}, {"00010011", 34}, {"00010100", 35}, {"00010101", 36},
    {"00010110", 37}, {"00010111", 38}, {"00101000", 39}, {"00101001", 40}, {"00101010", 41},
    {"00101011", 42}, {"00101100", 43}, {"00101101", 44}, {"00000100", 45}, {"00000101", 46},
    {"00001010", 47}, {"00001011", 48}, {"01010010", 49}, {"01010011", 50}, {"01010100", 51},
    {"01010101", 52}, {"00100100", 53}, {"00100101", 54}, {"01011000", 55}, {"01011001", 56},
    {"01011010", 57}, {"01011011", 58}, {"01001010", 59}, {"01001011", 60}, {"00110010", 61},
    {"00110011", 62}, {"00110100", 63},
    {"11011", 64}, {"10010", 128}, {"010111", 192}, {"0110111", 256}, {"00110110", 320},
    {"00110111", 384}, {"01100100", 448}, {"01100101", 512}, {"01101000", 576},
    {"01100111", 640}, {"011001100", 704}, {"011001101", 768}, {"011010010", 832},
    {"011010011", 896}, {"011010100", 960}, {"011010101", 1024}, {"011010110", 1088},
    {"011010111", 1152}, {"011011000", 1216}, {"011011001", 1280}, {"011011010", 1344},
    {"011011011", 1408}, {"010011000", 1472}, {"010011001", 1536}, {"010011010", 1600},
    {"011000", 1664}, {"010011011", 1728},
};

constexpr TCode BlackCodes[] = {
    {"0000110111", 0}, {"010", 1}, {"11", 2}, {"10", 3}, {"011", 4}, {"0011", 5},
    {"0010", 6}, {"00011", 7}, {"000101", 8}, {"000100", 9}, {"0000100", 10},
    {"0000101", 11}, {"0000111", 12}, {"00000100", 13}, {"00000111", 14},
    {"000011000", 15}, {"0000010111", 16}, {"0000011000", 17}, {"0000001000", 18},
    {"00001100111", 19}, {"00001101000", 20}, {"00001101100", 21}, {"00000110111", 22},
    {"00000101000", 23}, {"00000010111", 24}, {"00000011000", 25}, {"000011001010", 26},
    {"000011001011", 27}, {"000011001100", 28}, {"000011001101", 29}, {"000001101000", 30},
    {"000001101001", 31}, {"000001101010", 32}, {"000001101011", 33}, {"000011010010", 34},
    {"000011010011", 35}, {"000011010100", 36}, {"000011010101", 37}, {"000011010110", 38},
    {"000011010111", 39}, {"000001101100", 40}, {"000001101101", 41}, {"000011011010", 42},
    {"000011011011", 43}, {"000001010100", 44}, {"000001010101", 45}, {"000001010110", 46},
    {"000001010111", 47}, {"000001100100", 48}, {"000001100101", 49}, {"000001010010", 50},
    {"000001010011", 51}, {"000000100100", 52}, {"000000110111", 53}, {"000000111000", 54},
    {"000000100111", 55}, {"000000101000", 56}, {"000001011000", 57}, {"000001011001", 58},
    {"000000101011", 59}, {"000000101100", 60}, {"000001011010", 61}, {"000001100110", 62},
    {"000001100111", 63},
    {"0000001111", 64}, {"000011001000", 128}, {"000011001001", 192}, {"000001011011", 256},
    {"000000110011", 320}, {"000000110100", 384}, {"000000110101", 448},
    {"0000001101100", 512}, {"0000001101101", 576}, {"0000001001010", 640},
    {"0000001001011", 704}, {"0000001001100", 768}, {"0000001001101", 832},
    {"0000001110010", 896}, {"0000001110011", 960}, {"0000001110100", 1024},
    {"0000001110101", 1088}, {"0000001110110", 1152}, {"0000001110111", 1216},
    {"0000001010010", 1280}, {"0000001010011", 1344}, {"0000001010100", 1408},
    {"0000001010101", 1472}, {"0000001011010", 1536}, {"0000001011011", 1600},
    {"0000001100100", 1664}, {"0000001100101", 1728},
};

// Shared by both colours.
constexpr TCode CommonCodes[] = {
    {"00000001000", 1792}, {"00000001100", 1856}, {"00000001101", 1920},
    {"000000010010", 1984}, {"000000010011", 2048}, {"000000010100", 2112},
    {"000000010101", 2176}, {"000000010110", 2240}, {"000000010111", 2304},
    {"000000011100", 2368}, {"000000011101", 2432}, {"000000011110", 2496},
    {"000000011111", 2560},
    {"000000000001", -1},   // end of line
    {"000000001", -2}, {"0000000001", -2}, {"00000000001", -2}, {"000000000000", -2},
};

constexpr int EndOfLine = -1;
constexpr int MakeUpStart = 64;

} // namespace

// Grows a tree by the codes of a table; a code's last node keeps its value.
struct TCCITTTreeBuilder {
    template <class Node, std::size_t N>
    static void Add(std::vector<Node>& tree, const TCode (&codes)[N])
    {
        for (const TCode& code : codes) {
            std::size_t node = 0;
            for (const char bit : code.Bits) {
                const int b = bit == '1';
                if (tree[node].Child[b] == 0) {
                    tree[node].Child[b] = std::int32_t(tree.size());
                    tree.emplace_back();
                }
                node = std::size_t(tree[node].Child[b]);
            }
            tree[node].Value = code.Value;
        }
    }
};

TCCITTDecoder::TCCITTDecoder(std::uint32_t Options, bool SwapBits, bool WordAligned,
                             std::uint32_t Width)
    : Options(Options), SwapBits(SwapBits), WordAligned(WordAligned), Width(Width)
{
    WhiteTree.emplace_back();
    BlackTree.emplace_back();
    TCCITTTreeBuilder::Add(WhiteTree, WhiteCodes);
    TCCITTTreeBuilder::Add(WhiteTree, CommonCodes);
    TCCITTTreeBuilder::Add(BlackTree, BlackCodes);
    TCCITTTreeBuilder::Add(BlackTree, CommonCodes);
}

void TCCITTDecoder::BeginStrip(const std::uint8_t* Source, std::size_t PackedSize,
                               std::uint8_t* Dest, std::size_t UnpackedSize)
{
    std::memset(Dest, 0, UnpackedSize);
    PackedStart = Position = Source;
    PackedEnd = Source + PackedSize;
    BitsLeft = 0;
    PendingBit = -1;
    Target = RowStart = Dest;
    TargetEnd = Dest + UnpackedSize;
    RowPixels = 0;
    Black = false;
}

bool TCCITTDecoder::NextBit(int& bit)
{
    if (PendingBit >= 0) {
        bit = PendingBit;
        PendingBit = -1;
        return true;
    }
    if (BitsLeft == 0) {
        if (Position >= PackedEnd)
            return false;
        CurrentByte = *Position++;
        if (SwapBits) {
            std::uint8_t r = 0;
            for (int i = 0; i < 8; ++i)
                r = std::uint8_t(r | (((CurrentByte >> i) & 1) << (7 - i)));
            CurrentByte = r;
        }
        BitsLeft = 8;
    }
    --BitsLeft;
    bit = (CurrentByte >> BitsLeft) & 1;
    return true;
}

int TCCITTDecoder::FindRun(const std::vector<TCodeNode>& Tree)
{
    // A code ends at a node without children (the tables are prefix-free), so a row's
    // last code never reads a bit of the next row.
    int sum = 0;
    std::size_t node = 0;
    int bit;
    while (NextBit(bit)) {
        const std::int32_t child = Tree[node].Child[bit];
        if (child == 0) {
            // The bit leads nowhere: a broken code, taken as a run of 0; the bit starts
            // the next code (at the root itself it is dropped, so every step uses a bit).
            if (node != 0)
                PendingBit = bit;
            return sum;
        }
        node = std::size_t(child);
        if (Tree[node].Child[0] != 0 || Tree[node].Child[1] != 0)
            continue;
        const int value = Tree[node].Value;
        if (value < 0)
            return value;
        if (value < MakeUpStart)
            return sum + value;
        sum += value;
        node = 0;
    }
    return sum;
}

bool TCCITTDecoder::WriteRun(int Run)
{
    const std::uint32_t pixels = std::min<std::uint32_t>(std::uint32_t(Run), Width - RowPixels);
    if (Black) {
        std::uint32_t from = RowPixels;
        const std::uint32_t to = RowPixels + pixels;
        for (; from < to && (from & 7) != 0; ++from)
            RowStart[from >> 3] |= std::uint8_t(0x80 >> (from & 7));
        for (; from + 8 <= to; from += 8)
            RowStart[from >> 3] = 0xFF;
        for (; from < to; ++from)
            RowStart[from >> 3] |= std::uint8_t(0x80 >> (from & 7));
    }
    RowPixels += pixels;
    return RowPixels >= Width;
}

void TCCITTDecoder::FinishRow()
{
    RowStart += std::min<std::size_t>((std::size_t(Width) + 7) / 8, std::size_t(TargetEnd - RowStart));
    RowPixels = 0;
    Black = false;
}

void TCCITTFax3Decoder::Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest,
                               std::size_t PackedSize, std::size_t UnpackedSize)
{
    BeginStrip(Source, PackedSize, Dest, UnpackedSize);
    if (Width == 0 || UnpackedSize < (std::size_t(Width) + 7) / 8)
        return;
    // Before a row: its end-of-line code, after any fill zeros, is taken; a row without
    // one (many fax writers leave them out) starts at once, the bits looked at given
    // back. No run code of either colour starts with eleven zeros, so the two cannot be
    // confused. False when the input ends among zeros.
    const auto takeEndOfLine = [this]() {
        const std::uint8_t* position = Position;
        const std::uint8_t byte = CurrentByte;
        const int bitsLeft = BitsLeft;
        const int pending = PendingBit;
        int zeros = 0;
        int bit = 0;
        while (NextBit(bit) && bit == 0)
            ++zeros;
        if (bit == 0)
            return false;           // only zeros to the end
        if (zeros < 11) {
            Position = position;
            CurrentByte = byte;
            BitsLeft = bitsLeft;
            PendingBit = pending;
        }
        return true;
    };
    bool endedOnEOL = false;
    // A row takes its full bytes; a tail shorter than a row stays zero.
    while (std::size_t(TargetEnd - RowStart) >= (std::size_t(Width) + 7) / 8 && SourceLeft()) {
        if (!endedOnEOL && !takeEndOfLine())
            break;
        endedOnEOL = false;
        while (SourceLeft()) {
            const int run = FindRun(Black ? BlackTree : WhiteTree);
            if (run == EndOfLine) {
                endedOnEOL = true;
                break;
            }
            if (run < 0)
                break;
            if (WriteRun(run))
                break;
            Black = !Black;
        }
        FinishRow();
    }
}

void TCCITTMHDecoder::Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest,
                             std::size_t PackedSize, std::size_t UnpackedSize)
{
    BeginStrip(Source, PackedSize, Dest, UnpackedSize);
    const std::size_t rowBytes = (std::size_t(Width) + 7) / 8;
    if (Width == 0)
        return;
    while (std::size_t(TargetEnd - RowStart) >= rowBytes && SourceLeft()) {
        const int run = FindRun(Black ? BlackTree : WhiteTree);
        if (run > 0 && WriteRun(run)) {
            FinishRow();
            // the next row starts on a fresh byte (a fresh word when word-aligned)
            BitsLeft = 0;
            PendingBit = -1;
            if (WordAligned && (Position - PackedStart) % 2 != 0 && Position < PackedEnd)
                ++Position;
            continue;
        }
        Black = !Black;
    }
}
