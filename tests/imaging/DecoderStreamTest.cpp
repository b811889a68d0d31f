// The decoders over other libraries and streams: deflate through zlib, JPEG strips through
// libjpeg (strips libtiff packed), and the Photo-CD residuals.
#include "DecoderTestSupport.h"

#include "imaging/JpegGlue.h"

#include <QBuffer>
#include <zlib.h>

namespace {

TBytes Deflated(const TBytes& data)
{
    uLongf size = compressBound(uLong(data.size()));
    TBytes out(size);
    EXPECT_EQ(compress(out.data(), &size, data.data(), uLong(data.size())), Z_OK);
    out.resize(size);
    return out;
}

TBytes Ramp(std::size_t n)
{
    TBytes data(n);
    for (std::size_t i = 0; i < n; ++i)
        data[i] = std::uint8_t(i * 7 / 3);
    return data;
}

} // namespace

TEST(LZ77Decoder, ResetInflatesEachStripAsItsOwnStream)
{
    TLZ77Decoder decoder(Z_PARTIAL_FLUSH, true);
    decoder.StartUnpack();
    for (std::size_t n : {300u, 1000u}) {
        const TBytes data = Ramp(n);
        const RUnpacked r = UnpackGuarded(decoder, Deflated(data), n);
        EXPECT_TRUE(r.GuardsIntact);
        EXPECT_EQ(r.Bytes, data);
        EXPECT_EQ(decoder.Result(), Z_STREAM_END);
    }
    decoder.FinishUnpack();
}

TEST(LZ77Decoder, OneStreamAcrossBlocksAndNothingAfterItsEnd)
{
    const TBytes data = Ramp(500);
    const TBytes packed = Deflated(data);
    TLZ77Decoder decoder(Z_PARTIAL_FLUSH, false);
    decoder.StartUnpack();
    TBytes out(500, 0xEE);
    const std::uint8_t* source = packed.data();
    std::uint8_t* dest = out.data();
    const std::size_t first = packed.size() / 2;
    decoder.Unpack(source, dest, first, out.size());
    EXPECT_EQ(decoder.InputLeft(), 0u);
    EXPECT_EQ(source, packed.data() + first);
    decoder.Unpack(source, dest, packed.size() - first, std::size_t(out.data() + out.size() - dest));
    EXPECT_EQ(decoder.Result(), Z_STREAM_END);
    EXPECT_EQ(out, data);
    EXPECT_EQ(decoder.OutputLeft(), 0u);
    // after the end nothing moves
    const std::uint8_t* again = packed.data();
    dest = out.data();
    decoder.Unpack(again, dest, packed.size(), out.size());
    EXPECT_EQ(again, packed.data());
    decoder.FinishUnpack();
}

// A broken deflate stream once passed silently and left the strip as it was.
TEST(LZ77Decoder, BrokenStreamStopsWithAMessage)
{
    TBytes packed = Deflated(Ramp(400));
    packed[0] = 0x78;
    packed[2] ^= 0xFF;   // a block type that does not exist, or a bad table
    packed[3] ^= 0xFF;
    TLZ77Decoder decoder(Z_PARTIAL_FLUSH, true);
    decoder.StartUnpack();
    try {
        UnpackGuarded(decoder, packed, 400);
        FAIL() << "no error";
    } catch (const EGraphicCompression& e) {
        EXPECT_EQ(e.Message, "LZ77 decompression error.");
    }
    EXPECT_EQ(decoder.Result(), Z_DATA_ERROR);
    // a header that is no zlib header at all
    EXPECT_THROW(UnpackGuarded(decoder, {0x12, 0x34, 0x56}, 10), EGraphicCompression);
    decoder.FinishUnpack();
}

TEST(LZ77Decoder, ShortStreamLeavesTheRestOfTheStripZero)
{
    const TBytes data = Ramp(400);
    const TBytes packed = Deflated(data);
    TLZ77Decoder decoder(Z_PARTIAL_FLUSH, true);
    decoder.StartUnpack();
    const TBytes half(packed.begin(), packed.begin() + std::ptrdiff_t(packed.size() / 2));
    const RUnpacked r = UnpackGuarded(decoder, half, 400);
    EXPECT_TRUE(r.GuardsIntact);
    EXPECT_GT(r.Produced, 0u);
    EXPECT_TRUE(std::equal(r.Bytes.begin(), r.Bytes.begin() + std::ptrdiff_t(r.Produced), data.begin()));
    EXPECT_TRUE(std::all_of(r.Bytes.begin() + std::ptrdiff_t(r.Produced), r.Bytes.end(),
                            [](std::uint8_t b) { return b == 0; }));
    decoder.FinishUnpack();
}

namespace {

TImageProperties ColourStrip(TColorModel colorScheme, const char* tables)
{
    TImageProperties p;
    p.Width = 16;
    p.Height = 16;
    p.ColorScheme = colorScheme;
    p.BitsPerSample = 8;
    p.SamplesPerPixel = 3;
    p.RowsPerStrip = {16};
    if (colorScheme == cmYCbCr)
        p.SubSampling = {2, 2};
    p.JPEGTables = FixtureBytes(tables);
    p.BytesPerLine = 48;
    return p;
}

// The largest difference of a decoded blue, green, red picture to the source's red,
// green, blue.
int LargestDifference(const TBytes& bgr, const TBytes& rgb)
{
    int largest = 0;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        for (int k = 0; k < 3; ++k)
            largest = std::max(largest, std::abs(int(bgr[i + 2 - std::size_t(k)]) - int(rgb[i + std::size_t(k)])));
    return largest;
}

struct TWarnings {
    QStringList Texts;
    TWarnings()
    {
        SetJpegWarningSink([this](const QString& text) { Texts << text; });
    }
    ~TWarnings() { SetJpegWarningSink(nullptr); }
};

} // namespace

TEST(TIFFJPEGDecoder, LibtiffStripsInYCbCrAndRGB)
{
    const TBytes source = FixtureBytes("jpeg_source.rgb");
    struct Case {
        const char* Name;
        TColorModel ColorScheme;
        const char* Strip;
        const char* Tables;
    };
    const Case cases[] = {
        {"YCbCr, 2 x 2 subsampling", cmYCbCr, "jpeg_ycbcr.strip", "jpeg_ycbcr.tables"},
        {"RGB", cmRGB, "jpeg_rgb.strip", "jpeg_rgb.tables"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TWarnings warnings;
        const TImageProperties p = ColourStrip(c.ColorScheme, c.Tables);
        TTIFFJPEGDecoder decoder(&p);
        decoder.StartUnpack();
        const RUnpacked r = UnpackGuarded(decoder, FixtureBytes(c.Strip), 16 * 48);
        decoder.FinishUnpack();
        EXPECT_TRUE(r.GuardsIntact);
        EXPECT_LE(LargestDifference(r.Bytes, source), 24);
        EXPECT_TRUE(warnings.Texts.isEmpty());
    }
}

// Grey strips were read as colour (libjpeg's RGB output), three bytes a pixel into a
// line of one.
TEST(TIFFJPEGDecoder, GreyStripComesOutOneBytePerPixel)
{
    TImageProperties p = ColourStrip(cmGray, "jpeg_gray.tables");
    p.SamplesPerPixel = 1;
    p.BytesPerLine = 16;
    TTIFFJPEGDecoder decoder(&p);
    decoder.StartUnpack();
    const RUnpacked r = UnpackGuarded(decoder, FixtureBytes("jpeg_gray.strip"), 16 * 16);
    EXPECT_TRUE(r.GuardsIntact);
    const TBytes source = FixtureBytes("jpeg_source.gray");
    int largest = 0;
    for (std::size_t i = 0; i < source.size(); ++i)
        largest = std::max(largest, std::abs(int(r.Bytes[i]) - int(source[i])));
    EXPECT_LE(largest, 24);
}

TEST(TIFFJPEGDecoder, StripsThatDoNotMatchTheImageAreRefused)
{
    struct Case {
        const char* Name;
        std::function<void(TImageProperties&)> Change;
        std::size_t UnpackedSize;
        const char* Message;
    };
    const Case cases[] = {
        {"height", [](TImageProperties& p) { p.RowsPerStrip = {8}; }, 8 * 48,
         "Improper JPEG strip/tile size."},
        {"width", [](TImageProperties& p) { p.Width = 15; }, 16 * 48,
         "Improper JPEG strip/tile size."},
        {"components", [](TImageProperties& p) { p.SamplesPerPixel = 4; }, 16 * 48,
         "Improper JPEG component count."},
        {"planes", [](TImageProperties& p) { p.PlanarConfig = 2; }, 16 * 48,
         "Improper JPEG component count."},
        {"precision", [](TImageProperties& p) { p.BitsPerSample = 12; }, 16 * 48,
         "Improper JPEG data precision."},
        {"sampling", [](TImageProperties& p) { p.SubSampling = {2, 1}; }, 16 * 48,
         "Improper JPEG sampling factors."},
        {"fraction of a line", [](TImageProperties&) {}, 16 * 48 - 1,
         "Fractional JPEG scanline unsupported."},
        // a line shorter than the colour rows: libjpeg would write past it
        {"rows wider than the line", [](TImageProperties& p) { p.BytesPerLine = 16; }, 16 * 16,
         "JPEG rows are wider than the image's rows."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TImageProperties p = ColourStrip(cmYCbCr, "jpeg_ycbcr.tables");
        c.Change(p);
        TTIFFJPEGDecoder decoder(&p);
        decoder.StartUnpack();
        try {
            UnpackGuarded(decoder, FixtureBytes("jpeg_ycbcr.strip"), c.UnpackedSize);
            ADD_FAILURE() << "no error";
        } catch (const EGraphicCompression& e) {
            EXPECT_EQ(e.Message, c.Message);
        }
    }
}

TEST(TIFFJPEGDecoder, TablesThatHoldAnImageAreBogus)
{
    TImageProperties p = ColourStrip(cmYCbCr, "jpeg_ycbcr.tables");
    p.JPEGTables = FixtureBytes("jpeg_ycbcr.strip");
    TTIFFJPEGDecoder decoder(&p);
    try {
        decoder.StartUnpack();
        FAIL() << "no error";
    } catch (const EGraphicCompression& e) {
        EXPECT_EQ(e.Message, "Bogus JPEG tables field.");
    }
}

TEST(TIFFJPEGDecoder, ShortAndBrokenStripsWarnOrRaiseAndStayInTheirBlock)
{
    const TImageProperties p = ColourStrip(cmYCbCr, "jpeg_ycbcr.tables");
    TBytes strip = FixtureBytes("jpeg_ycbcr.strip");
    {
        TWarnings warnings;
        TTIFFJPEGDecoder decoder(&p);
        decoder.StartUnpack();
        const TBytes shortStrip(strip.begin(), strip.end() - 20);
        const RUnpacked r = UnpackGuarded(decoder, shortStrip, 16 * 48);
        EXPECT_TRUE(r.GuardsIntact);
        ASSERT_EQ(warnings.Texts.size(), 1);   // once per image, not once per strip
        EXPECT_EQ(warnings.Texts[0], "JPEG decompression error. Unexpected end of input.");
        UnpackGuarded(decoder, shortStrip, 16 * 48);
        EXPECT_EQ(warnings.Texts.size(), 1);
    }
    TTIFFJPEGDecoder decoder(&p);
    decoder.StartUnpack();
    try {
        UnpackGuarded(decoder, {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x03, 0x01}, 16 * 48);
        FAIL() << "no error";
    } catch (const EInvalidGraphic& e) {
        EXPECT_TRUE(e.Message.startsWith("JPEG error #")) << e.Message.toStdString();
    }
    // the decoder is usable again for the next strip
    EXPECT_TRUE(UnpackGuarded(decoder, strip, 16 * 48).GuardsIntact);
}

namespace {

// A Photo-CD residual stream: one table, then rows led by their sync pattern.
struct TPCDStream {
    std::vector<std::pair<unsigned, int>> Bits;
    void Byte(unsigned b) { Bits.push_back({b & 0xFF, 8}); }
    void Sync(unsigned plane, unsigned row)
    {
        Bits.push_back({0xFFFFFE, 24});
        // plane in the top two bits, the 13-bit row below them, one spare bit
        Bits.push_back({(plane << 14) | (row << 1), 16});
    }
    QByteArray Bytes() const
    {
        const TBytes b = PackBitsMsbFirst(Bits);
        return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
    }
};

TPCDStream PCDHeader()
{
    // one table of two codes: "1" adds 5, "01" adds -3
    TPCDStream s;
    s.Byte(1);
    s.Byte(0); s.Byte(0x80); s.Byte(0x00); s.Byte(5);
    s.Byte(1); s.Byte(0x40); s.Byte(0x00); s.Byte(0xFD);
    for (int i = 0; i < 4; ++i)
        s.Byte(0);
    return s;
}

} // namespace

TEST(PCDDecoder, AddsResidualsToTheRowsTheSyncsName)
{
    TPCDStream s = PCDHeader();
    s.Sync(0, 1);                       // luma row 1
    s.Bits.push_back({0b101111, 6});    // +5 -3 +5 +5, and one more past the plane
    s.Sync(2, 1);                       // first chroma
    s.Bits.push_back({0b01, 2});        // no second table: resynchronise
    s.Sync(0, 0);
    s.Bits.push_back({0b1111, 4});
    s.Sync(0, 2);                       // the row count: the end
    s.Bits.push_back({0b1, 1});
    QByteArray bytes = s.Bytes();
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);

    TBytes planes(3 * 4 * 2 + 2 * GuardSize, 250);
    std::array<std::uint8_t*, 3> at{planes.data() + GuardSize, planes.data() + GuardSize + 8,
                                    planes.data() + GuardSize + 16};
    std::fill(planes.begin() + GuardSize, planes.end() - GuardSize, 100);
    at[0][0] = 254;
    TPCDDecoder decoder(&stream);
    const std::uint8_t* source = reinterpret_cast<const std::uint8_t*>(at.data());
    std::uint8_t* dest = nullptr;
    decoder.Unpack(source, dest, 4, 2);
    // 254 + 5 is kept at 255
    EXPECT_EQ(TBytes(at[0], at[0] + 8), (TBytes{255, 105, 105, 105, 105, 97, 105, 105}));
    EXPECT_EQ(TBytes(at[1], at[1] + 16), TBytes(16, 100));
    for (std::size_t i = 0; i < GuardSize; ++i) {
        EXPECT_EQ(planes[i], 250);
        EXPECT_EQ(planes[planes.size() - 1 - i], 250);
    }
}
