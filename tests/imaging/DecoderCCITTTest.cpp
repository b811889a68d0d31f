// One-dimensional T.4 decoding: modified Huffman rows and Group 3 rows by hand, and
// Group 3 strips that libtiff packed with every code of both colours, in both fill
// orders, with and without byte-aligned end-of-line codes.
#include "DecoderTestSupport.h"

TEST(CCITTMHDecoder, UnpacksRowsOnByteAndWordBoundaries)
{
    struct Case {
        const char* Name;
        std::uint32_t Width;
        bool WordAligned;
        const char* Bits;
        TBytes Expected;
    };
    const Case cases[] = {
        {"white 2 black 6", 8, false, "0111 0010", {0x3F}},
        {"rows start on a byte", 8, false, "0111 0010  00110101 000101 00", {0x3F, 0xFF}},
        {"a row that starts black", 8, false, "00110101 000101 00", {0xFF}},
        {"word-aligned rows", 8, true, "0111 0010 00000000  00110101 000101 00", {0x3F, 0xFF}},
        {"make-up and terminating codes", 80, false, "11011 1110 0000100",
         {0, 0, 0, 0, 0, 0, 0, 0, 0x03, 0xFF}},
        {"a black make-up run", 72, false, "00110101 0000001111 0000110111 10011",
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00}},
        {"a run past the width ends the row", 4, false, "00111 000  0111 1100", {0x00, 0x30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TCCITTMHDecoder decoder(0, false, c.WordAligned, c.Width);
        const RUnpacked r = UnpackGuarded(decoder, BitText(c.Bits), c.Expected.size());
        EXPECT_TRUE(r.GuardsIntact);
        EXPECT_EQ(r.Bytes, c.Expected);
    }
}

TEST(CCITTFax3Decoder, RowsBetweenEndOfLineCodes)
{
    struct Case {
        const char* Name;
        const char* Bits;
        TBytes Expected;
    };
    const Case cases[] = {
        {"two rows", "000000000001 0111 0010  000000000001 00110101 000101", {0x3F, 0xFF}},
        {"fill zeros before the end-of-line", "0000 000000000001 0111 0010 000000 000000000001 "
                                              "00110101 000101",
         {0x3F, 0xFF}},
        // the early end-of-line is counted as the next row's
        {"a row ended early", "000000000001 0111 000000000001 00110101 000101", {0x00, 0xFF}},
        {"input ends inside a row", "000000000001 0010", {0x00, 0x00}},
        {"only zeros: nothing", "000000000000 0000", {0x00, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TCCITTFax3Decoder decoder(0, false, false, 8);
        const RUnpacked r = UnpackGuarded(decoder, BitText(c.Bits), c.Expected.size());
        EXPECT_TRUE(r.GuardsIntact);
        EXPECT_EQ(r.Bytes, c.Expected);
    }
}

// A fax whose rows carry no end-of-line codes read as a blank page: each row waited for
// a code that never came.
TEST(CCITTFax3Decoder, RowsWithoutEndOfLineCodesEndAtTheWidth)
{
    struct Case {
        const char* Name;
        const char* Bits;
        TBytes Expected;
    };
    const Case cases[] = {
        {"no code at all", "0111 0010 0111 0010 00110101 000101", {0x3F, 0x3F, 0xFF}},
        {"a row that does not start on a byte", "1011 011 0111 0010 00110101 000101", {0x0F, 0x3F, 0xFF}},
        {"codes on some rows only", "000000000001 0111 0010 0111 0010 000000000001 00110101 000101",
         {0x3F, 0x3F, 0xFF}},
        {"fill zeros before a code after a row without one", "0111 0010 0000 000000000001 0111 0010 00110101 000101",
         {0x3F, 0x3F, 0xFF}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TCCITTFax3Decoder decoder(0, false, false, 8);
        const RUnpacked r = UnpackGuarded(decoder, BitText(c.Bits), c.Expected.size());
        EXPECT_TRUE(r.GuardsIntact);
        EXPECT_EQ(r.Bytes, c.Expected);
    }
}

TEST(CCITTFax3Decoder, LibtiffStripsInBothFillOrders)
{
    const TBytes rows = FixtureBytes("ccitt.rows");
    ASSERT_EQ(rows.size(), 325u * 83u);
    struct Case {
        const char* File;
        bool LowestBitFirst;
    };
    const Case cases[] = {
        {"ccitt_g3_msb.strip", false},
        {"ccitt_g3_lsb.strip", true},
        {"ccitt_g3_fill_msb.strip", false},
        {"ccitt_g3_fill_lsb.strip", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.File);
        TCCITTFax3Decoder decoder(c.LowestBitFirst ? 0 : 4, c.LowestBitFirst, false, 2600);
        const RUnpacked r = UnpackGuarded(decoder, FixtureBytes(c.File), rows.size());
        EXPECT_TRUE(r.GuardsIntact);
        for (std::size_t row = 0; row < 83; ++row) {
            const auto at = std::ptrdiff_t(row * 325);
            EXPECT_TRUE(std::equal(rows.begin() + at, rows.begin() + at + 325, r.Bytes.begin() + at))
                << "row " << row;
        }
    }
}
