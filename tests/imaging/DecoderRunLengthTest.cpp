// The run-length decoders of the readers' own schemes, ThunderScan and the Targa packer.
#include "DecoderTestSupport.h"

#include <functional>
#include <random>

namespace {

struct RCase {
    const char* Name;
    std::function<std::unique_ptr<TDecoder>()> Make;
    TBytes Packed;
    std::size_t UnpackedSize;    // in the decoder's unit
    std::size_t OutBytes;
    TBytes Expected;
};

} // namespace

TEST(RunLengthDecoders, UnpackPacketsOfEveryScheme)
{
    auto targa = [](int depth) { return [depth] { return std::make_unique<TTargaRLEDecoder>(depth); }; };
    auto packbits = [] { return std::make_unique<TPackbitsRLEDecoder>(); };
    auto pcx = [] { return std::make_unique<TPCXRLEDecoder>(); };
    auto sgi = [](int bits) { return [bits] { return std::make_unique<TSGIRLEDecoder>(bits); }; };
    auto cut = [] { return std::make_unique<TCUTRLEDecoder>(); };
    auto psp = [] { return std::make_unique<TPSPRLEDecoder>(); };
    auto rla = [] { return std::make_unique<TRLADecoder>(); };
    const RCase cases[] = {
        {"PackBits run and copy", packbits, {0xFE, 0xAA, 0x02, 0x01, 0x02, 0x03}, 6, 6,
         {0xAA, 0xAA, 0xAA, 0x01, 0x02, 0x03}},
        {"PackBits 0x80 alone unpacks nothing", packbits, {0x80}, 2, 2, {0, 0}},
        {"PackBits copy cut to the output", packbits, {0x03, 1, 2, 3, 4}, 2, 2, {1, 2}},
        {"PackBits run cut to the output", packbits, {0x81, 7}, 3, 3, {7, 7, 7}},
        {"Targa 8-bit run then raw", targa(8), {0x82, 5, 0x01, 7, 8}, 5, 5, {5, 5, 5, 7, 8}},
        {"Targa 16-bit run", targa(16), {0x81, 0x34, 0x12}, 2, 4, {0x34, 0x12, 0x34, 0x12}},
        {"Targa 24-bit raw", targa(24), {0x00, 1, 2, 3}, 1, 3, {1, 2, 3}},
        {"PCX literal and run", pcx, {0x05, 0xC3, 0xAA, 0xC1, 0xC7}, 5, 5,
         {0x05, 0xAA, 0xAA, 0xAA, 0xC7}},
        {"PCX run cut", pcx, {0xFF, 0x01}, 4, 4, {1, 1, 1, 1}},
        {"SGI 8-bit copy, run, end", sgi(8), {0x82, 1, 2, 0x03, 9, 0x00, 0x01, 5}, 6, 6,
         {1, 2, 9, 9, 9, 0}},
        // the next header follows the two 16-bit values copied
        {"SGI 16-bit literal of two values", sgi(16),
         {0x00, 0x82, 0x12, 0x34, 0x56, 0x78, 0x00, 0x02, 0x9A, 0xBC, 0x00, 0x00}, 4, 8,
         {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0x9A, 0xBC}},
        {"Dr. Halo run and copy", cut, {0x07, 0x00, 0x83, 0x11, 0x02, 0x22, 0x33, 0x00}, 5, 5,
         {0x11, 0x11, 0x11, 0x22, 0x33}},
        {"Paint Shop Pro run, empty run, copy", psp, {0x83, 0x44, 0x80, 0x99, 0x02, 1, 2}, 5, 5,
         {0x44, 0x44, 0x44, 1, 2}},
        {"RLA copy and run", rla, {0xFE, 1, 2, 0x02, 9}, 5, 5, {1, 2, 9, 9, 9}},
    };
    for (const RCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto decoder = c.Make();
        const RUnpacked r = UnpackGuarded(*decoder, c.Packed, c.UnpackedSize, c.OutBytes);
        EXPECT_TRUE(r.GuardsIntact);
        EXPECT_EQ(r.Bytes, c.Expected);
    }
}

TEST(RunLengthDecoders, ShortInputLeavesTheRestZero)
{
    struct Case { const char* Name; std::function<std::unique_ptr<TDecoder>()> Make; TBytes Packed; };
    const Case cases[] = {
        {"PackBits", [] { return std::make_unique<TPackbitsRLEDecoder>(); }, {0x01, 7, 7}},
        {"PCX", [] { return std::make_unique<TPCXRLEDecoder>(); }, {7, 7}},
        {"SGI", [] { return std::make_unique<TSGIRLEDecoder>(8); }, {0x02, 7}},
        {"Dr. Halo", [] { return std::make_unique<TCUTRLEDecoder>(); }, {9, 0, 0x82, 7}},
        {"Paint Shop Pro", [] { return std::make_unique<TPSPRLEDecoder>(); }, {0x82, 7}},
        {"RLA", [] { return std::make_unique<TRLADecoder>(); }, {0x01, 7}},
        {"Targa", [] { return std::make_unique<TTargaRLEDecoder>(8); }, {0x81, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto decoder = c.Make();
        const RUnpacked r = UnpackGuarded(*decoder, c.Packed, 5);
        EXPECT_TRUE(r.GuardsIntact);
        EXPECT_EQ(r.Bytes, (TBytes{7, 7, 0, 0, 0}));
    }
}

TEST(RunLengthDecoders, TargaAndHaloLeaveSourceAfterTheirPackets)
{
    // Targa: a row of 3 pixels from a block that holds two rows
    TTargaRLEDecoder targa(8);
    RUnpacked r = UnpackGuarded(targa, {0x81, 4, 0x00, 6, 0x82, 9}, 3);
    EXPECT_EQ(r.Bytes, (TBytes{4, 4, 6}));
    EXPECT_EQ(r.Consumed, 4u);
    // Dr. Halo: the row's packets are read to the closing zero even past a full row
    TCUTRLEDecoder cut;
    r = UnpackGuarded(cut, {5, 0, 0x84, 1, 0x00, 0x81, 2, 0x00}, 2);
    EXPECT_EQ(r.Bytes, (TBytes{1, 1}));
    EXPECT_EQ(r.Consumed, 5u);
}

TEST(TargaRLEDecoder, PacksRunsAndRawPackets)
{
    struct Case {
        const char* Name;
        int Depth;
        TBytes Pixels;
        TBytes Packed;
    };
    TBytes equal200(200, 9);
    TBytes run200 = {0xFF, 9, 0xC7, 9};
    const Case cases[] = {
        {"5 5 5 7 8", 8, {5, 5, 5, 7, 8}, {0x82, 5, 0x01, 7, 8}},
        {"200 equal pixels", 8, equal200, run200},
        {"one pixel", 8, {3}, {0x00, 3}},
        {"raw up to the pair", 8, {1, 2, 3, 3}, {0x01, 1, 2, 0x81, 3}},
        {"16-bit pixels compare whole", 16, {1, 2, 1, 2, 1, 3}, {0x81, 1, 2, 0x00, 1, 3}},
        {"24-bit", 24, {1, 2, 3, 1, 2, 3}, {0x81, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TTargaRLEDecoder decoder(c.Depth);
        const std::size_t b = std::size_t((c.Depth + 1) / 8);
        TBytes out(2 * c.Pixels.size() + 8, 0xEE);
        std::size_t stored = 99;
        decoder.Pack(c.Pixels.data(), out.data(), c.Pixels.size() / b, stored);
        EXPECT_EQ(TBytes(out.begin(), out.begin() + std::ptrdiff_t(stored)), c.Packed);
        // and it unpacks to what was packed
        const RUnpacked back = UnpackGuarded(decoder, c.Packed, c.Pixels.size() / b, c.Pixels.size());
        EXPECT_EQ(back.Bytes, c.Pixels);
    }
}

TEST(TargaRLEDecoder, PackedRowsUnpackToThemselvesAndFitTwiceTheRow)
{
    std::mt19937 random(7);
    for (int depth : {8, 15, 24, 32}) {
        const std::size_t b = std::size_t((depth + 1) / 8);
        for (int round = 0; round < 50; ++round) {
            const std::size_t count = 1 + random() % 300;
            TBytes pixels(count * b);
            for (auto& p : pixels)
                p = std::uint8_t(random() % 3);   // few values: runs and raw stretches
            TTargaRLEDecoder decoder(depth);
            TBytes packed(2 * pixels.size() + GuardSize, GuardByte);
            std::size_t stored = 0;
            decoder.Pack(pixels.data(), packed.data(), count, stored);
            ASSERT_LE(stored, 2 * pixels.size());
            for (std::size_t i = 2 * pixels.size(); i < packed.size(); ++i)
                ASSERT_EQ(packed[i], GuardByte);
            packed.resize(stored);
            EXPECT_EQ(UnpackGuarded(decoder, packed, count, pixels.size()).Bytes, pixels);
        }
    }
}

TEST(ThunderDecoder, RunsDeltasAndRawPixelsInRowsOfTheWidth)
{
    // width 6: raw 5, run of 2, 2-bit deltas +1 skip -1, run of 1; then the second row,
    // whose last pixel starts again at 0: run of 1, 3-bit deltas +3 -3, raw 15, and the
    // input ends two pixels short
    const TBytes packed = {0xC5, 0x02, 0x40 | 0x10 | 0x08 | 0x03, 0x01,
                           0x01, 0x80 | (3 << 3) | 5, 0xCF};
    TThunderDecoder decoder(6);
    const RUnpacked r = UnpackGuarded(decoder, packed, 6);
    EXPECT_TRUE(r.GuardsIntact);
    EXPECT_EQ(r.Bytes, (TBytes{0x55, 0x56, 0x55, 0x03, 0x0F, 0x00}));
}

TEST(ThunderDecoder, OddWidthRowsTakeTheirLastHalfByte)
{
    // width 3: two rows of 2 bytes each; a run longer than the row stops at its end
    TThunderDecoder decoder(3);
    const RUnpacked r = UnpackGuarded(decoder, {0xC7, 0x3F, 0xC1, 0xC2, 0xC3}, 4);
    EXPECT_EQ(r.Bytes, (TBytes{0x77, 0x70, 0x12, 0x30}));
}
