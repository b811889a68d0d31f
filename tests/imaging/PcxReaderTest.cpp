// The PCX reader against files netpbm wrote and hand-made raw and 4 x 8-bit files; the
// Autodesk and Dr. Halo readers against hand-made files (no tool here writes them).
#include "FormatFixtures.h"

#include "imaging/PcxReader.h"

#include <QBuffer>
#include <QDir>

namespace {

INSTANTIATE_TEST_SUITE_P(
    PaletteFormatsEveryVariant, FormatFixtureTest,
    ::testing::Values(RFixtureCase{"pcx_rgb24.pcx", "pcx_rgb24.rgb", 0}, RFixtureCase{"pcx_8bit.pcx", "pcx_8bit.rgb", 0},
                      RFixtureCase{"pcx_planes4.pcx", "pcx_planes4.rgb", 0},
                      RFixtureCase{"pcx_planes3.pcx", "pcx_planes3.rgb", 0},
                      RFixtureCase{"pcx_planes1.pcx", "pcx_planes1.rgb", 0},
                      RFixtureCase{"pcx_packed2.pcx", "pcx_packed2.rgb", 0},
                      RFixtureCase{"pcx_packed4.pcx", "pcx_packed4.rgb", 0},
                      RFixtureCase{"pcx_raw24.pcx", "pcx_raw24.rgb", 0},
                      // four planes of 8 bits show their first three as RGB
                      RFixtureCase{"pcx_rgba32.pcx", "pcx_rgba32.rgb", 0},
                      RFixtureCase{"cel_image.cel", "cel_image.rgb", 0},
                      RFixtureCase{"cut_image.cut", "cut_image.rgb", 0}));

QImage LoadPcx(QByteArray data)
{
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TPCXGraphic pcx;
    pcx.LoadFromStream(buffer);
    return pcx.TakeImage();
}

TEST(PcxReader, VersionThreeShowsTheStandardColours)
{
    QByteArray data = FixtureBytes(QStringLiteral("pcx_planes4.pcx"));
    data[1] = 3;
    const QImage image = LoadPcx(data);
    const QList<QRgb> vga = {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),     qRgb(128, 128, 0),
                             qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128),   qRgb(192, 192, 192),
                             qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),     qRgb(255, 255, 0),
                             qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255),   qRgb(255, 255, 255)};
    EXPECT_EQ(image.colorTable().mid(0, 16), vga);
    // the pixels keep their indexes: those of the version 5 file
    const QImage five = LoadPictureFile(FormatFixture(QStringLiteral("pcx_planes4.pcx")));
    for (int x = 0; x < image.width(); ++x)
        EXPECT_EQ(image.pixelIndex(x, 3), five.pixelIndex(x, 3));
}

TEST(PcxReader, TwoBitPixelsAndTheirColoursAreStretchedAlike)
{
    const QImage image = LoadPcx(FixtureBytes(QStringLiteral("pcx_packed2.pcx")));
    ASSERT_EQ(image.format(), QImage::Format_Indexed8);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            EXPECT_EQ(image.pixelIndex(x, y) % 5, 0);
}

TEST(PcxReader, EightBitFileWithoutItsPaletteMarkerHasNoPaletteOfItsOwn)
{
    QByteArray data = FixtureBytes(QStringLiteral("pcx_8bit.pcx"));
    data[data.size() - 769] = 0;
    const QImage image = LoadPcx(data);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.color(200), qRgb(200, 200, 200));   // the bitmap's grey ramp
}

TEST(PcxReader, RefusalsAndEmptyPictures)
{
    QByteArray data = FixtureBytes(QStringLiteral("pcx_rgb24.pcx"));
    data[0] = 11;   // not a PCX maker: an empty picture
    EXPECT_TRUE(LoadPcx(data).isNull());
    data[0] = 10;
    data[65] = 2;   // two planes of 8 bits: no layout serves it
    EXPECT_THROW(LoadPcx(data), EInvalidGraphic);
    data[65] = 3;
    data[66] = 2;   // rows said shorter than the width
    data[67] = 0;
    EXPECT_THROW(LoadPcx(data), EPictureError);
}

TEST(AutodeskReader, PaletteValuesAreSixBitsAndTheIdentifierIsChecked)
{
    TAutodeskGraphic cel;
    cel.LoadFromFile(FormatFixture(QStringLiteral("cel_image.cel")));
    EXPECT_EQ(cel.ColorTable()[63], qRgb(252, 0, (63 * 5 % 64) * 4));
    QByteArray data = FixtureBytes(QStringLiteral("cel_image.cel"));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_TRUE(cel.ProbeStream(buffer));
    data[0] = 0;
    EXPECT_FALSE(cel.ProbeStream(buffer));
    try {
        cel.LoadFromStream(buffer);
        ADD_FAILURE();
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message, QStringLiteral("Cannot load image. Invalid or unexpected Autodesk image format."));
    }
}

TEST(CutReader, PaletteFileBesideTheImageWhateverItsLetterCase)
{
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("sheet.cut"));
    ASSERT_TRUE(QFile::copy(FormatFixture(QStringLiteral("cut_image.cut")), image));
    // without a palette: 256 greys
    EXPECT_EQ(PictureDifference(LoadPictureFile(image), ExpectedPicture(QStringLiteral("cut_image_grey.rgb")), 0), "");
    ASSERT_TRUE(QFile::copy(FormatFixture(QStringLiteral("cut_image.pal")), dir.filePath(QStringLiteral("SHEET.PAL"))));
    EXPECT_EQ(PictureDifference(LoadPictureFile(image), ExpectedPicture(QStringLiteral("cut_image.rgb")), 0), "");
    // a stream never opened by name has no palette file
    QFile file(image);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    TCUTGraphic cut;
    cut.LoadFromStream(file);
    EXPECT_EQ(PictureDifference(cut.Image(), ExpectedPicture(QStringLiteral("cut_image_grey.rgb")), 0), "");
    EXPECT_FALSE(cut.ProbeStream(file));
}

TEST(PaletteFormats, DamagedFilesAreRefusedCleanly)
{
    ExpectDamageIsRefusedCleanly(QStringLiteral("pcx_rgb24.pcx"), QStringLiteral("pcx"), 300);
    ExpectDamageIsRefusedCleanly(QStringLiteral("pcx_planes4.pcx"), QStringLiteral("pcx"), 300);
    ExpectDamageIsRefusedCleanly(QStringLiteral("pcx_8bit.pcx"), QStringLiteral("pcx"), 300);
    ExpectDamageIsRefusedCleanly(QStringLiteral("cel_image.cel"), QStringLiteral("cel"), 300);
    ExpectDamageIsRefusedCleanly(QStringLiteral("cut_image.cut"), QStringLiteral("cut"), 300);
}

}  // namespace
