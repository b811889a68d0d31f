// The PNG reader against files netpbm and Pillow wrote (every colour type and depth, each
// also interlaced), the chunk rules, the background and transparent colours, and damage.
#include "FormatFixtures.h"

#include "imaging/PngReader.h"

#include <QBuffer>
#include <zlib.h>

TEST_P(FormatFixtureTest, LoadsThePixelsOfTheReferenceDecode)
{
    const RFixtureCase c = GetParam();
    const QImage expected = ExpectedPicture(QLatin1String(c.Expected));
    ASSERT_FALSE(expected.isNull()) << c.Expected;
    QImage image;
    ASSERT_NO_THROW(image = LoadPictureFile(FormatFixture(QLatin1String(c.File))));
    EXPECT_EQ(PictureDifference(image, expected, c.Tolerance), "");
}

namespace {

INSTANTIATE_TEST_SUITE_P(
    PngEveryColourTypeAndDepth, FormatFixtureTest,
    ::testing::Values(
        RFixtureCase{"png_grey1.png", "png_grey1.rgb", 0}, RFixtureCase{"png_grey2.png", "png_grey2.rgb", 0},
        RFixtureCase{"png_grey4.png", "png_grey4.rgb", 0}, RFixtureCase{"png_grey8.png", "png_grey8.rgb", 0},
        RFixtureCase{"png_grey16.png", "png_grey16.rgb", 1}, RFixtureCase{"png_rgb8.png", "png_rgb8.rgb", 0},
        RFixtureCase{"png_rgb16.png", "png_rgb16.rgb", 1}, RFixtureCase{"png_rgba8.png", "png_rgba8.rgb", 0},
        RFixtureCase{"png_rgba16.png", "png_rgba16.rgb", 1},
        RFixtureCase{"png_greyalpha8.png", "png_greyalpha8.rgb", 0},
        RFixtureCase{"png_greyalpha16.png", "png_greyalpha16.rgb", 1},
        RFixtureCase{"png_indexed1.png", "png_indexed1.rgb", 0},
        RFixtureCase{"png_indexed2.png", "png_indexed2.rgb", 0},
        RFixtureCase{"png_indexed4.png", "png_indexed4.rgb", 0},
        RFixtureCase{"png_indexed8.png", "png_indexed8.rgb", 0},
        // Adam7: each interlaced file against the same reference as its plain twin
        RFixtureCase{"png_grey1_i.png", "png_grey1.rgb", 0}, RFixtureCase{"png_grey2_i.png", "png_grey2.rgb", 0},
        RFixtureCase{"png_grey4_i.png", "png_grey4.rgb", 0}, RFixtureCase{"png_grey8_i.png", "png_grey8.rgb", 0},
        RFixtureCase{"png_grey16_i.png", "png_grey16.rgb", 1}, RFixtureCase{"png_rgb8_i.png", "png_rgb8.rgb", 0},
        RFixtureCase{"png_rgb16_i.png", "png_rgb16.rgb", 1}, RFixtureCase{"png_rgba8_i.png", "png_rgba8.rgb", 0},
        RFixtureCase{"png_rgba16_i.png", "png_rgba16.rgb", 1},
        RFixtureCase{"png_greyalpha8_i.png", "png_greyalpha8.rgb", 0},
        RFixtureCase{"png_greyalpha16_i.png", "png_greyalpha16.rgb", 1},
        RFixtureCase{"png_indexed1_i.png", "png_indexed1.rgb", 0},
        RFixtureCase{"png_indexed2_i.png", "png_indexed2.rgb", 0},
        RFixtureCase{"png_indexed4_i.png", "png_indexed4.rgb", 0},
        RFixtureCase{"png_indexed8_i.png", "png_indexed8.rgb", 0},
        // image data in pieces of 7 bytes, with empty IDAT chunks between
        RFixtureCase{"png_rgb8_split.png", "png_rgb8.rgb", 0},
        // chunks skipped: a wrong CRC on an ancillary chunk, unknown ancillary chunks
        RFixtureCase{"png_ancillary_badcrc.png", "png_rgb8.rgb", 0},
        RFixtureCase{"png_unknown_ancillary.png", "png_rgb8.rgb", 0}));

TEST(PngReader, BitmapFormatFollowsTheColourType)
{
    struct Case {
        const char* File;
        TPixelFormat Format;
    };
    const Case cases[] = {{"png_grey1.png", pf1bit},      {"png_grey2.png", pf4bit},   {"png_grey16.png", pf8bit},
                          {"png_rgb16.png", pf24bit},     {"png_rgba16.png", pf32bit}, {"png_greyalpha8.png", pf8bit},
                          {"png_indexed2.png", pf4bit},   {"png_indexed8.png", pf8bit}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.File);
        TPNGGraphic png;
        png.LoadFromFile(FormatFixture(QLatin1String(c.File)));
        EXPECT_EQ(png.PixelFormat(), c.Format);
    }
}

TEST(PngReader, RefusalsNameTheFault)
{
    struct Case {
        const char* File;
        const char* Message;
    };
    const Case cases[] = {
        {"png_badcrc.png", "Cannot load image. CRC error found in PNG file."},
        {"png_unknown_critical.png", "Cannot load PNG image. Unexpected but critical chunk detected."},
        {"png_palette10.png", "Cannot load image. Palette in PNG file is invalid."}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.File);
        EXPECT_EQ(PictureErrorOf(FormatFixture(QLatin1String(c.File))), QString::fromLatin1(c.Message));
    }
}

// A PNG built here, for the chunks no tool writes on request.
QByteArray Chunk(const char* type, const QByteArray& data)
{
    QByteArray out;
    const auto put32 = [&](std::uint32_t v) {
        for (int s = 24; s >= 0; s -= 8)
            out.append(char(v >> s & 0xFF));
    };
    put32(std::uint32_t(data.size()));
    const QByteArray body = QByteArray(type, 4) + data;
    out += body;
    put32(std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size()))));
    return out;
}

QByteArray Png(int width, int height, int depth, int colorType, const QByteArray& rows, const QByteArray& extra,
               bool interlaced = false)
{
    QByteArray ihdr;
    for (std::uint32_t v : {std::uint32_t(width), std::uint32_t(height)})
        for (int s = 24; s >= 0; s -= 8)
            ihdr.append(char(v >> s & 0xFF));
    ihdr += QByteArray::fromRawData("\0\0\0\0\0", 5);
    ihdr[8] = char(depth);
    ihdr[9] = char(colorType);
    ihdr[12] = char(interlaced ? 1 : 0);
    uLongf size = compressBound(uLong(rows.size()));
    QByteArray packed(qsizetype(size), '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(rows.constData()),
             uLong(rows.size()));
    packed.resize(qsizetype(size));
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", ihdr) + extra + Chunk("IDAT", packed)
        + Chunk("IEND", QByteArray());
}

TEST(PngReader, GreyTransparentColourIsScaledLikeTheSamples)
{
    // Two-bit grey, level 1 transparent: shown as grey 85, so the colour must be 85 too.
    QByteArray rows("\0\x40", 2);   // one row: filter 0, pixels 1, 0, 0, 0
    QByteArray data = Png(4, 1, 2, 0, rows, Chunk("tRNS", QByteArray("\0\x01", 2)));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TPNGGraphic png;
    png.LoadFromStream(buffer);
    EXPECT_TRUE(png.Transparent);
    EXPECT_EQ(png.TransparentColor, qRgb(85, 85, 85));
    EXPECT_EQ(png.Image().pixel(0, 0), qRgb(85, 85, 85));
}

TEST(PngReader, ImageDataEndingEarlyLeavesTheBackground)
{
    // Three RGB rows stored, five declared: rows 3 and 4 show the bKGD colour.
    QByteArray rows;
    for (int y = 0; y < 3; ++y)
        rows += QByteArray(1, '\0') + QByteArray(6, char(10 * y));
    QByteArray data = Png(2, 5, 8, 2, rows, Chunk("bKGD", QByteArray("\0\xC8\0\x64\0\x32", 6)));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TPNGGraphic png;
    png.LoadFromStream(buffer);
    EXPECT_EQ(png.Image().pixel(1, 2), qRgb(20, 20, 20));
    EXPECT_EQ(png.Image().pixel(0, 3), qRgb(200, 100, 50));
    EXPECT_EQ(png.Image().pixel(1, 4), qRgb(200, 100, 50));
}

TEST(PngReader, EveryFilterTypeIsUndone)
{
    // Rows of 3 grey 8-bit pixels: sub, up, average and Paeth against known rows.
    const QByteArray rows = QByteArray::fromHex("00 0a 14 1e"      // none: 10 20 30
                                                "01 05 05 05"      // sub: 5 10 15
                                                "02 01 01 01"      // up: 6 11 16
                                                "03 04 02 02"      // average: 7 11 15
                                                "04 01 01 01");    // paeth: 8 12 16
    QByteArray data = Png(3, 5, 8, 0, rows, QByteArray());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TPNGGraphic png;
    png.LoadFromStream(buffer);
    const int expected[5][3] = {{10, 20, 30}, {5, 10, 15}, {6, 11, 16}, {7, 11, 15}, {8, 12, 16}};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(qRed(png.Image().pixel(x, y)), expected[y][x]) << x << "," << y;
}

TEST(PngReader, EachInterlacePassStartsFromAZeroRow)
{
    // 8 x 1 grey: pass 1 fills pixel 0, pass 2 pixel 4 with the Up filter (5 above a zero
    // row, not above pass 1's 10), pass 4 pixels 2 and 6, pass 6 the odd pixels.
    const QByteArray rows = QByteArray::fromHex("000a" "0205" "00141e" "0001030507");
    QByteArray data = Png(8, 1, 8, 0, rows, QByteArray(), true);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TPNGGraphic png;
    png.LoadFromStream(buffer);
    const int expected[8] = {10, 1, 20, 3, 5, 5, 30, 7};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(qRed(png.Image().pixel(x, 0)), expected[x]) << x;
}

TEST(PngReader, FileGammaIsReadAndApplied)
{
    // The gamma most files carry, 1 / 2.2, goes to the colour manager with its flag.
    QByteArray gama("\0\0\xb1\x8f", 4);   // 45455
    QByteArray data = Png(1, 1, 8, 2, QByteArray::fromHex("00 80 40 c0"), Chunk("gAMA", gama));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TPNGGraphic png;
    png.LoadFromStream(buffer);
    EXPECT_NEAR(png.ImageProperties.FileGamma, 0.45455, 1e-5);
    EXPECT_TRUE(png.ImageProperties.Options & ioUseGamma);
    EXPECT_EQ(png.ColorManager().FileGamma(), png.ImageProperties.FileGamma);
    EXPECT_TRUE(png.ColorManager().TargetFlags & sfGamma);
}

TEST(PngReader, ProbeAndPropertiesReadTheHeaderOnly)
{
    TPNGGraphic png;
    QFile file(FormatFixture(QStringLiteral("png_rgba16_i.png")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(png.ProbeStream(file));
    EXPECT_EQ(file.pos(), 0);
    ASSERT_TRUE(png.ReadImageInfo(file, 0));
    EXPECT_EQ(png.ImageProperties.Width, 13);
    EXPECT_EQ(png.ImageProperties.Height, 11);
    EXPECT_EQ(png.ImageProperties.ColorScheme, cmRGBA);
    EXPECT_EQ(png.ImageProperties.BitsPerSample, 16);
    EXPECT_TRUE(png.ImageProperties.Interlaced);
    EXPECT_TRUE(png.ImageProperties.HasAlpha);
    QFile other(FormatFixture(QStringLiteral("tga_rgb.tga")));
    ASSERT_TRUE(other.open(QIODevice::ReadOnly));
    EXPECT_FALSE(png.ProbeStream(other));
}

TEST(PngReader, DamagedFilesAreRefusedCleanly)
{
    ExpectDamageIsRefusedCleanly(QStringLiteral("png_rgb8_i.png"), QStringLiteral("png"), 300);
    ExpectDamageIsRefusedCleanly(QStringLiteral("png_indexed2.png"), QStringLiteral("png"), 300);
}

}  // namespace
