// TIFF LZW: the code widths, Clear, the string that is its own prefix, a strip that
// libtiff packed (every width from 9 to 12 bits and a Clear in the middle), and the old
// bit order of the writers before TIFF 5.0.
#include "DecoderTestSupport.h"

TEST(TIFFLZWDecoder, UnpacksCodeSequences)
{
    struct Case {
        const char* Name;
        std::vector<std::pair<unsigned, int>> Codes;
        std::size_t UnpackedSize;
        TBytes Expected;
    };
    const Case cases[] = {
        {"Clear 65 66 258 EOI", {{256, 9}, {65, 9}, {66, 9}, {258, 9}, {257, 9}}, 4,
         {65, 66, 65, 66}},
        // 259 is the next free code when it is read: the previous string plus its first byte
        {"a code equal to the next free one", {{256, 9}, {65, 9}, {258, 9}, {259, 9}, {257, 9}},
         6, {65, 65, 65, 65, 65, 65}},
        {"a code above the next free one is skipped",
         {{256, 9}, {65, 9}, {300, 9}, {66, 9}, {257, 9}}, 3, {65, 66, 0}},
        {"end of information leaves the rest zero", {{256, 9}, {70, 9}, {257, 9}, {71, 9}}, 3,
         {70, 0, 0}},
        // after the second Clear 258 is new again: not "65 66" but 67 plus its first byte
        {"a second Clear starts the table again",
         {{256, 9}, {65, 9}, {66, 9}, {256, 9}, {67, 9}, {258, 9}, {257, 9}}, 4,
         {65, 66, 67, 67}},
        {"output cut to its size", {{256, 9}, {65, 9}, {258, 9}, {257, 9}}, 2, {65, 65}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TTIFFLZWDecoder decoder;
        const RUnpacked r = UnpackGuarded(decoder, PackBitsMsbFirst(c.Codes), c.UnpackedSize);
        EXPECT_TRUE(r.GuardsIntact);
        EXPECT_EQ(r.Bytes, c.Expected);
    }
}

TEST(TIFFLZWDecoder, WidthGrowsOneCodeEarly)
{
    // 253 single bytes after the first fill the table to 510: the code that makes the
    // next free code 511 is still read in 9 bits, the one after it in 10.
    std::vector<std::pair<unsigned, int>> codes{{256, 9}};
    TBytes expected;
    for (unsigned b = 0; b < 254; ++b) {
        codes.push_back({b, 9});
        expected.push_back(std::uint8_t(b));
    }
    // next free code is 258 + 253 = 511 now: width 10
    codes.push_back({258, 10});   // the string 0 1
    expected.push_back(0);
    expected.push_back(1);
    codes.push_back({257, 10});
    TTIFFLZWDecoder decoder;
    const RUnpacked r = UnpackGuarded(decoder, PackBitsMsbFirst(codes), expected.size());
    EXPECT_EQ(r.Bytes, expected);
}

TEST(TIFFLZWDecoder, LibtiffStripAcrossEveryWidthAndAClear)
{
    const TBytes packed = FixtureBytes("lzw_gray.strip");
    const TBytes rows = FixtureBytes("lzw_gray.rows");
    ASSERT_EQ(rows.size(), 128u * 80u);
    TTIFFLZWDecoder decoder;
    RUnpacked r = UnpackGuarded(decoder, packed, rows.size());
    EXPECT_TRUE(r.GuardsIntact);
    EXPECT_EQ(r.Bytes, rows);

    // the strip cut in half: its first rows as before, the rest zero
    const TBytes half(packed.begin(), packed.begin() + std::ptrdiff_t(packed.size() / 2));
    r = UnpackGuarded(decoder, half, rows.size());
    EXPECT_TRUE(r.GuardsIntact);
    std::size_t same = 0;
    while (same < rows.size() && r.Bytes[same] == rows[same])
        ++same;
    EXPECT_GT(same, rows.size() / 3);
    EXPECT_TRUE(std::all_of(r.Bytes.begin() + std::ptrdiff_t(same) + 16, r.Bytes.end(),
                            [](std::uint8_t b) { return b == 0; }));
}

// Strips of the writers before TIFF 5.0 (codes lowest bit first, the width growing on
// time) were read in the usual order and came out as a few stray bytes on black.
TEST(TIFFLZWDecoder, OldBitOrderIsToldByTheStripsStart)
{
    struct Case {
        const char* Name;
        std::vector<std::pair<unsigned, int>> Codes;
        TBytes Expected;
    };
    std::vector<std::pair<unsigned, int>> growth{{256, 9}};
    TBytes grown;
    // 255 single bytes after Clear fill the table to 511: unlike the usual order, every
    // one is still 9 bits; the width is 10 once the next free code is 512.
    for (unsigned b = 0; b < 255; ++b) {
        growth.push_back({b, 9});
        grown.push_back(std::uint8_t(b));
    }
    growth.push_back({258, 10});
    grown.push_back(0);
    grown.push_back(1);
    growth.push_back({257, 10});
    const Case cases[] = {
        {"Clear 65 66 258 EOI", {{256, 9}, {65, 9}, {66, 9}, {258, 9}, {257, 9}}, {65, 66, 65, 66}},
        {"a code equal to the next free one", {{256, 9}, {0, 9}, {258, 9}, {257, 9}}, {0, 0, 0}},
        {"a second Clear", {{256, 9}, {65, 9}, {256, 9}, {67, 9}, {258, 9}, {257, 9}}, {65, 67, 67, 67}},
        {"the width grows on time", growth, grown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const TBytes packed = PackBitsLsbFirst(c.Codes);
        ASSERT_EQ(packed[0], 0);
        ASSERT_EQ(packed[1] & 1, 1);
        TTIFFLZWDecoder decoder;
        const RUnpacked r = UnpackGuarded(decoder, packed, c.Expected.size() + 2);
        EXPECT_TRUE(r.GuardsIntact);
        TBytes expected = c.Expected;
        expected.resize(expected.size() + 2, 0);   // past the end of information: zero
        EXPECT_EQ(r.Bytes, expected);
    }
    // The usual order, whose Clear makes the first byte 0x80, stays as it was.
    TTIFFLZWDecoder decoder;
    EXPECT_EQ(UnpackGuarded(decoder, PackBitsMsbFirst(cases[0].Codes), 4).Bytes, cases[0].Expected);
}
