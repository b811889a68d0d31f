// The Targa reader against files netpbm wrote and hand-made variants (bottom-up, 15-bit
// colour map from entry 2, packets across rows), and the writer against tgatoppm.
#include "FormatFixtures.h"

#include "imaging/TargaReader.h"

#include <QBuffer>
#include <QDir>

namespace {

INSTANTIATE_TEST_SUITE_P(
    TargaEveryVariant, FormatFixtureTest,
    ::testing::Values(RFixtureCase{"tga_rgb.tga", "tga_rgb.rgb", 0}, RFixtureCase{"tga_rgb_rle.tga", "tga_rgb_rle.rgb", 0},
                      RFixtureCase{"tga_grey.tga", "tga_grey.rgb", 0},
                      RFixtureCase{"tga_grey_rle.tga", "tga_grey_rle.rgb", 0},
                      RFixtureCase{"tga_mapped.tga", "tga_mapped.rgb", 0},
                      RFixtureCase{"tga_mapped_rle.tga", "tga_mapped_rle.rgb", 0},
                      RFixtureCase{"tga_bottomup.tga", "tga_bottomup.rgb", 0},
                      RFixtureCase{"tga_topdown_id.tga", "tga_topdown_id.rgb", 0},
                      RFixtureCase{"tga_rgb32.tga", "tga_rgb32.rgb", 0},
                      RFixtureCase{"tga_rgb16.tga", "tga_rgb16.rgb", 8},
                      // a 15-bit colour map whose first entry is index 2; 5-bit samples
                      // widen by shifting here, by scaling in tgatoppm
                      RFixtureCase{"tga_map15.tga", "tga_map15.rgb", 8},
                      // run-length packets crossing the end of a row
                      RFixtureCase{"tga_rle_across.tga", "tga_rle_across.rgb", 0}));

TEST(TargaReader, PropertiesFollowThePixelDepth)
{
    struct Case {
        const char* File;
        TColorModel Model;
        int Bits, Samples, BitsPerPixel;
        TCompressionType Compression;
    };
    const Case cases[] = {{"tga_mapped.tga", cmIndexed, 8, 1, 8, ctNone}, {"tga_grey_rle.tga", cmGray, 8, 1, 8, ctRLE},
                          {"tga_rgb16.tga", cmRGB, 5, 3, 15, ctNone},    {"tga_rgb_rle.tga", cmRGB, 8, 3, 24, ctRLE},
                          {"tga_rgb32.tga", cmRGBA, 8, 4, 32, ctNone}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.File);
        QFile file(FormatFixture(QLatin1String(c.File)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        TTargaGraphic targa;
        // the probe also wants a map entry size, which only the colour-mapped file gives
        EXPECT_EQ(targa.ProbeStream(file), c.Model == cmIndexed);
        ASSERT_TRUE(targa.ReadImageInfo(file, 0));
        const TImageProperties& p = targa.ImageProperties;
        EXPECT_EQ(QSize(p.Width, p.Height), QSize(13, 11));
        EXPECT_EQ(p.ColorScheme, c.Model);
        EXPECT_EQ(p.BitsPerSample, c.Bits);
        EXPECT_EQ(p.SamplesPerPixel, c.Samples);
        EXPECT_EQ(p.BitsPerPixel, c.BitsPerPixel);
        EXPECT_EQ(p.Compression, c.Compression);
    }
}

TEST(TargaReader, ProbeRefusesAMapEntrySizeOfZeroThatLoadingAccepts)
{
    QByteArray data = FixtureBytes(QStringLiteral("tga_rgb32.tga"));
    data[7] = 0;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TTargaGraphic targa;
    EXPECT_FALSE(targa.ProbeStream(buffer));
    targa.LoadFromStream(buffer);
    EXPECT_EQ(PictureDifference(targa.Image(), ExpectedPicture(QStringLiteral("tga_rgb32.rgb")), 0), "");
}

TEST(TargaReader, UnacceptedHeaderLeavesAnEmptyPicture)
{
    for (int type : {4, 12}) {
        QByteArray data = FixtureBytes(QStringLiteral("tga_rgb.tga"));
        data[2] = char(type);
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        TTargaGraphic targa;
        EXPECT_NO_THROW(targa.LoadFromStream(buffer));
        EXPECT_TRUE(targa.Empty());
    }
}

TEST(TargaReader, DamagedFilesAreRefusedCleanly)
{
    ExpectDamageIsRefusedCleanly(QStringLiteral("tga_mapped_rle.tga"), QStringLiteral("tga"), 300);
    ExpectDamageIsRefusedCleanly(QStringLiteral("tga_map15.tga"), QStringLiteral("tga"), 300);
}

// A small picture in the given bitmap format, the same colours in every format that can
// hold them.
void FillWriterSource(TTargaGraphic& bitmap, TPixelFormat format)
{
    bitmap.SetPixelFormat(format);
    if (format == pf1bit || format == pf4bit || format == pf8bit) {
        const int count = format == pf1bit ? 2 : format == pf4bit ? 16 : 256;
        QList<QRgb> table;
        for (int i = 0; i < count; ++i)
            table.append(qRgb(i * 255 / (count - 1), (i * 37) % 256, 255 - i * 255 / (count - 1)));
        bitmap.SetColorTable(table);
    }
    bitmap.SetSize(9, 5);
    const int levels = format == pf1bit ? 2 : format == pf4bit ? 16 : 256;
    for (int y = 0; y < 5; ++y) {
        std::uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < 9; ++x) {
            const int v = x < 4 ? 3 : (x * 29 + y * 7);   // a run, then changing pixels
            switch (format) {
            case pf1bit: if (v & 1) row[x / 8] |= std::uint8_t(0x80 >> x % 8); break;
            case pf4bit: row[x / 2] |= std::uint8_t((v % levels) << ((x & 1) ? 0 : 4)); break;
            case pf8bit: row[x] = std::uint8_t(v); break;
            case pf15bit: case pf16bit: row[2 * x] = std::uint8_t(v * 3); row[2 * x + 1] = std::uint8_t(v & 0x7F); break;
            case pf24bit: for (int k = 0; k < 3; ++k) row[3 * x + k] = std::uint8_t(v * (k + 1)); break;
            default: for (int k = 0; k < 4; ++k) row[4 * x + k] = std::uint8_t(v * (k + 1)); break;
            }
        }
    }
}

QByteArray SaveTarga(TTargaGraphic& bitmap, bool compressed)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    bitmap.SaveTarga(buffer, compressed);
    return data;
}

// With VELMORA_TARGA_OUT set (make_formats.sh does), the written files and the pictures
// they hold are put there, for tgatoppm to check and to be kept as the expected output.
TEST(TargaWriter, WritesTheFilesTgatoppmAccepted)
{
    const QByteArray out = qgetenv("VELMORA_TARGA_OUT");
    struct Case {
        const char* Name;
        TPixelFormat Format;
        bool Compressed;
    };
    const Case cases[] = {{"written_1bit", pf1bit, false},    {"written_4bit_rle", pf4bit, true},
                          {"written_8bit", pf8bit, false},    {"written_8bit_rle", pf8bit, true},
                          {"written_15bit", pf15bit, false},  {"written_16bit_rle", pf16bit, true},
                          {"written_24bit", pf24bit, false},  {"written_24bit_rle", pf24bit, true},
                          {"written_32bit_rle", pf32bit, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TTargaGraphic bitmap;
        FillWriterSource(bitmap, c.Format);
        const QByteArray written = SaveTarga(bitmap, c.Compressed);
        const QString name = QLatin1String(c.Name);
        if (!out.isEmpty()) {
            QFile file(QDir(QString::fromLocal8Bit(out)).filePath(name + QStringLiteral(".tga")));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(written);
            const QImage image = bitmap.Image().convertToFormat(QImage::Format_RGB888);
            QByteArray rgb;
            rgb.append(char(image.width())).append('\0').append(char(image.height())).append('\0');
            for (int y = 0; y < image.height(); ++y)
                rgb.append(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 3);
            QFile expected(QDir(QString::fromLocal8Bit(out)).filePath(name + QStringLiteral(".rgb")));
            ASSERT_TRUE(expected.open(QIODevice::WriteOnly));
            expected.write(rgb);
            continue;
        }
        EXPECT_EQ(written, FixtureBytes(name + QStringLiteral(".tga")));
        // and the reader reads it back as the picture it came from
        QByteArray copy = written;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        TTargaGraphic back;
        back.LoadFromStream(buffer);
        const int tolerance = c.Format == pf15bit || c.Format == pf16bit ? 8 : 0;
        EXPECT_EQ(PictureDifference(back.Image(), ExpectedPicture(name + QStringLiteral(".rgb")), tolerance), "");
    }
}

TEST(TargaWriter, LayoutOfPaletteAndTrueColourFiles)
{
    TTargaGraphic indexed;
    FillWriterSource(indexed, pf8bit);
    const QByteArray a = SaveTarga(indexed, false);
    EXPECT_EQ(a.size(), 18 + 768 + 9 * 5);
    EXPECT_EQ(a.left(18).toHex(), QByteArray("000101000000011800000000090005000820"));
    TTargaGraphic colour;
    FillWriterSource(colour, pf24bit);
    const QByteArray b = SaveTarga(colour, false);
    EXPECT_EQ(b.size(), 18 + 3 * 9 * 5);
    EXPECT_EQ(b.left(18).toHex(), QByteArray("000002000000011800000000090005001820"));
    TTargaGraphic empty;
    EXPECT_TRUE(SaveTarga(empty, true).isEmpty());
}

}  // namespace
