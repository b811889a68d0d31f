// The PCX reader against files netpbm wrote and hand-made raw and 4 x 8-bit files; the
// Autodesk and Dr. Halo readers against hand-made files (no tool here writes them).
#include "FormatFixtures.h"

#include "imaging/PcxReader.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>

#include <tuple>

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

TEST(PaletteFormats, ProbesAndPropertiesReadTheHeader)
{
    struct Case {
        const char* File;
        bool Probed;
        TColorModel Model;
        int Bits, Samples, BitsPerPixel;
        TCompressionType Compression;
        float Resolution;
    };
    const Case cases[] = {
        {"pcx_rgb24.pcx", true, cmRGB, 8, 3, 24, ctRLE, 13},
        {"pcx_planes4.pcx", true, cmIndexed, 1, 4, 4, ctRLE, 13},
        {"pcx_raw24.pcx", true, cmRGB, 8, 3, 24, ctNone, 72},
        {"cel_image.cel", true, cmIndexed, 8, 1, 8, ctNone, 0},
        {"cut_image.cut", false, cmIndexed, 8, 1, 8, ctRLE, 0},   // no signature to probe
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.File);
        const QString name = QLatin1String(c.File);
        const auto graphic = FileFormatList().Extensions()[std::size_t(FileFormatList().IndexOfExtension(
                                 QFileInfo(name).suffix()))]->Class->GraphicClass->Create();
        QFile file(FormatFixture(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(graphic->ProbeStream(file), c.Probed);
        EXPECT_EQ(file.pos(), 0);
        ASSERT_TRUE(graphic->ReadImageInfo(file, 0));
        const TImageProperties& p = graphic->ImageProperties;
        EXPECT_EQ(QSize(p.Width, p.Height), QSize(13, 11));
        EXPECT_EQ(p.ColorScheme, c.Model);
        EXPECT_EQ(p.BitsPerSample, c.Bits);
        EXPECT_EQ(p.SamplesPerPixel, c.Samples);
        EXPECT_EQ(p.BitsPerPixel, c.BitsPerPixel);
        EXPECT_EQ(p.Compression, c.Compression);
        EXPECT_EQ(p.XResolution, c.Resolution);
    }
    // The PCX probe knows the versions and encodings ZSoft defined; loading asks only
    // for the maker's byte.
    QByteArray data = FixtureBytes(QStringLiteral("pcx_rgb24.pcx"));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TPCXGraphic pcx;
    for (const auto& [at, value, probed] : {std::tuple{0, 205, true}, {0, 11, false}, {1, 4, false},
                                            {1, 0, true}, {2, 2, false}}) {
        SCOPED_TRACE(at * 1000 + value);
        const char saved = data[at];
        data[at] = char(value);
        EXPECT_EQ(pcx.ProbeStream(buffer), probed);
        data[at] = saved;
    }
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

// Guards a fault: the rows were unpacked whole into height x planes x bytes-per-line
// bytes before any was shown, so a header claiming 65,536 rows of four 65,535-byte
// planes over a few bytes of data asked for 17 GB; later the rows past the data read
// blank, a picture that was not there. Now the file is refused before anything is held.
TEST(PcxReader, RowsTheHeaderClaimsBeyondTheDataAreRefused)
{
    struct Case {
        int Encoding;
        QByteArray Data;   // plane 0 of row 0 starts with 200
    };
    const Case cases[] = {{0, QByteArray("\xC8\x01\x02\x03", 4)}, {1, QByteArray("\xC3\xC8", 2)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Encoding);
        QByteArray header(128, '\0');
        header[0] = 10;
        header[1] = 5;
        header[2] = char(c.Encoding);
        header[3] = 8;
        header[7] = char(0x80);   // Ymin -32768
        header[10] = char(0xFF);  // Ymax 32767
        header[11] = 0x7F;
        header[65] = 4;
        header[66] = char(0xFF);  // 65,535 bytes a plane
        header[67] = char(0xFF);
        try {
            LoadPcx(header + c.Data);
            ADD_FAILURE() << "read";
        } catch (const EPictureError& e) {
            EXPECT_TRUE(e.Message.contains(QStringLiteral("рисунок 1×65536 точек требует"))) << e.what();
        }
        // The same header over data that fills its one row reads.
        header[10] = 0;            // Ymax -32768: one row
        header[11] = char(0x80);
        header[66] = 1;            // one byte a plane
        header[67] = 0;
        const QImage image = LoadPcx(header + (c.Encoding ? QByteArray("\xC1\xC8\x01\x02\x03", 5) : c.Data));
        ASSERT_EQ(image.size(), QSize(1, 1));
        EXPECT_EQ(image.pixel(0, 0), qRgb(200, 1, 2));
    }
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

TEST(CutReader, RowPackingMoreThanTheWidthIsCutAndTheNextRowFollows)
{
    // Width 4: row 0 holds a run of 10 and a literal of 2 (8 pixels), row 1 a run of 4.
    QByteArray data("\x04\x00\x02\x00\x00\x00", 6);
    const QByteArray row0("\x8A\x07\x02\x08\x09\x00", 6);
    const QByteArray row1("\x84\x03\x00", 3);
    for (const QByteArray& row : {row0, row1})
        data += QByteArray(1, char(row.size())) + QByteArray(1, '\0') + row;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TCUTGraphic cut;
    cut.LoadFromStream(buffer);
    const QImage image = cut.TakeImage();
    ASSERT_EQ(image.size(), QSize(4, 2));
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(image.pixelIndex(x, 0), 7) << x;
        EXPECT_EQ(image.pixelIndex(x, 1), 3) << x;
    }
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

// Guards a fault: the picture was made as large as the header said before a byte of the
// data was looked at, so any few bytes read as a Dr. Halo file (which has no signature)
// claiming 19,789 x 10,752 pixels took 200 MB and a second to refuse nothing.
TEST(CutReader, MoreRowsThanTheDataHoldsAreRefusedBeforeTheyTakeMemory)
{
    QByteArray data("\x4D\x4D\x00\x2A\x00\x00", 6);
    data += QByteArray(100, '\0');
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TCUTGraphic cut;
    EXPECT_THROW(cut.LoadFromStream(buffer), EPictureError);
    EXPECT_TRUE(cut.Image().isNull());
}
