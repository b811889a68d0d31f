// Behaviour of the SGI, RLA, Photoshop, Paint Shop Pro, Photo-CD, portable map and EPS
// readers beyond the reference files: probes, turned Photo-CD packs, the portable map
// header, refusals with their messages, and damaged copies of every reference file.
#include "ImagingTestSupport.h"

#include "imaging/EpsReader.h"
#include "imaging/PcdReader.h"
#include "imaging/PpmReader.h"
#include "imaging/PspReader.h"
#include "imaging/RlaReader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <random>

namespace {

QString MoreFixture(const QString& name)
{
    return QStringLiteral(VELMORA_TEST_FIXTURES "/imaging/formats_more/") + name;
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    const QByteArray bytes = file.readAll();
    return path.endsWith(QStringLiteral(".qz")) ? qUncompress(bytes) : bytes;
}

// A Photo-CD image pack: luma (x + 3y) mod 256 and neutral chroma, so every pixel is a
// grey that tells its place; rotation in the two low bits of byte 0xE02.
QByteArray PhotoCdPack(int rotation)
{
    QByteArray bytes(96 * 2048, '\0');
    std::memcpy(bytes.data() + 2048, "PCD_IPI", 7);
    bytes[0xE02] = char(rotation);
    for (int y = 0; y < 512; y += 2) {
        for (int row = y; row < y + 2; ++row)
            for (int x = 0; x < 768; ++x)
                bytes.append(char((x + 3 * row) % 256));
        bytes.append(QByteArray(384, char(156)));
        bytes.append(QByteArray(384, char(137)));
    }
    return bytes;
}

// The picture of a <name>.expected reference: width, height, then R, G, B bytes.
QImage ExpectedImage(const QString& name)
{
    return RgbPicture(FileBytes(MoreFixture(name + QStringLiteral(".expected"))));
}

}  // namespace

class FormatsMoreReaders : public PictureFiles {};

TEST_F(FormatsMoreReaders, PhotoCdRotationsTurnTheBaseImage)
{
    const QImage upright = LoadPictureFile(Write(QStringLiteral("r0.pcd"), PhotoCdPack(0)));
    ASSERT_EQ(upright.size(), QSize(768, 512));
    EXPECT_NE(upright.pixel(1, 0), upright.pixel(0, 1));
    struct Case { int Rotation; QSize Size; };
    const Case cases[] = {{1, {512, 768}}, {2, {768, 512}}, {3, {512, 768}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Rotation);
        const QImage turned = LoadPictureFile(Write(QStringLiteral("r%1.pcd").arg(c.Rotation), PhotoCdPack(c.Rotation)));
        ASSERT_EQ(turned.size(), c.Size);
        for (int y = 0; y < 512; y += 37)
            for (int x = 0; x < 768; x += 41) {
                // 1: a quarter turn counter-clockwise; 2: half a turn; 3: a quarter turn clockwise.
                const QPoint at = c.Rotation == 1 ? QPoint(y, 767 - x) : c.Rotation == 2 ? QPoint(767 - x, 511 - y)
                                                                                       : QPoint(511 - y, x);
                ASSERT_EQ(turned.pixel(at), upright.pixel(x, y)) << x << "," << y;
            }
    }
}

TEST_F(FormatsMoreReaders, PhotoCdWithoutMarkIsEmptyAndShortPackRaises)
{
    QByteArray unmarked = PhotoCdPack(0);
    unmarked[2048] = 'X';
    TPCDGraphic graphic;
    ASSERT_TRUE(graphic.ProbeFile(Write(QStringLiteral("ok.pcd"), PhotoCdPack(0))));
    EXPECT_FALSE(graphic.ProbeFile(Write(QStringLiteral("none.pcd"), unmarked)));
    graphic.LoadFromFile(Write(QStringLiteral("none.pcd"), unmarked));
    EXPECT_TRUE(graphic.Empty());
    const QString path = Write(QStringLiteral("short.pcd"), PhotoCdPack(0).left(400000));
    EXPECT_TRUE(PictureErrorOf(path).contains(QStringLiteral("обрезано"))) << PictureErrorOf(path).toStdString();
}

// The properties each reader takes from its header, without loading the picture.
TEST_F(FormatsMoreReaders, PropertiesComeFromTheHeader)
{
    struct Case {
        const char* Name;
        unsigned Index;
        TColorModel Model;
        int Bits, Samples, BitsPerPixel;
        TCompressionType Compression;
        int Width = 13, Height = 7;
    };
    const Case cases[] = {
        {"sgi_rgb8_rle.sgi", 0, cmRGB, 8, 3, 24, ctRLE},
        {"sgi_grey16_verbatim.bw", 0, cmIndexed, 16, 1, 16, ctNone},
        {"sgi_rgba8_verbatim.rgba", 0, cmRGBA, 8, 4, 32, ctNone},
        {"rla_rgb8_matte.rla", 0, cmRGBA, 8, 4, 32, ctRLE},
        {"rla_rgb16.rla", 0, cmRGB, 16, 3, 48, ctRLE},
        {"psd_rgb8_raw.psd", 0, cmRGB, 8, 3, 24, ctNone},
        {"psd_rgba8.psd", 0, cmRGBA, 8, 4, 32, ctPackedBits},
        {"psd_bitmap.psd", 0, cmGray, 1, 1, 1, ctNone},
        {"psd_indexed.psd", 0, cmIndexed, 8, 1, 8, ctNone},
        {"psd_cmyk.psd", 0, cmCMYK, 8, 4, 32, ctNone},
        {"psp_v3_rgb_rle.psp", 0, cmRGB, 8, 3, 24, ctRLE},
        {"psp_v5_rgb_lz77.psp", 0, cmRGB, 8, 3, 24, ctLZ77},
        {"psp_v5_indexed8_raw.psp", 0, cmIndexed, 8, 1, 8, ctNone},
        {"pnm_p1.pbm", 0, cmIndexed, 1, 1, 1, ctNone},
        {"pnm_p5.pgm", 0, cmIndexed, 8, 1, 8, ctNone},
        {"pnm_p6.ppm", 0, cmRGB, 8, 3, 24, ctNone},
        {"eps_tiff_preview.eps", 0, cmUnknown, 0, 0, 0, ctUnknown, 0, 0},   // not a TIFF at its start
        {"pcd_base.pcd", 2, cmPhotoYCC, 8, 3, 24, ctNone, 768, 512},
        {"pcd_base.pcd", 0, cmPhotoYCC, 8, 3, 24, ctNone, 192, 128},
        {"pcd_base.pcd", 3, cmPhotoYCC, 8, 3, 24, ctPCDHuffmann, 1536, 1024},
    };
    for (const Case& c : cases) {
        const QString name = QString::fromLatin1(c.Name);
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(name).arg(c.Index).toStdString());
        const bool packed = name.endsWith(QStringLiteral(".pcd"));
        const QString path = packed ? Write(name, FileBytes(MoreFixture(name + QStringLiteral(".qz")))) : MoreFixture(name);
        const int index = FileFormatList().IndexOfExtension(QFileInfo(name).suffix());
        ASSERT_GE(index, 0);
        const auto graphic = FileFormatList().Extensions()[std::size_t(index)]->Class->GraphicClass->Create();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const bool usable = graphic->ReadImageInfo(file, c.Index);
        const TImageProperties& p = graphic->ImageProperties;
        if (c.Width == 0) {
            EXPECT_FALSE(usable);
            continue;
        }
        ASSERT_TRUE(usable);
        EXPECT_EQ(p.Width, c.Width);
        EXPECT_EQ(p.Height, c.Height);
        EXPECT_EQ(p.ColorScheme, c.Model);
        EXPECT_EQ(p.BitsPerSample, c.Bits);
        EXPECT_EQ(p.SamplesPerPixel, c.Samples);
        EXPECT_EQ(p.BitsPerPixel, c.BitsPerPixel);
        EXPECT_EQ(p.Compression, c.Compression);
    }
    // What only some readers report: the row order of an RLA file, the resolution and
    // version of a Paint Shop Pro file (per centimetre turned into per inch), the
    // white-is-zero option of a Photoshop bitmap.
    const auto read = [&](const char* name, unsigned index = 0) {
        const QString n = QString::fromLatin1(name);
        const auto graphic = FileFormatList().Extensions()[std::size_t(FileFormatList().IndexOfExtension(
                                 QFileInfo(n).suffix()))]->Class->GraphicClass->Create();
        QFile file(MoreFixture(n));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(graphic->ReadImageInfo(file, index));
        return graphic->ImageProperties;
    };
    EXPECT_TRUE(read("rla_rgb8_matte.rla").BottomUp);
    EXPECT_FALSE(read("rla_rgb8_topdown.rpf").BottomUp);
    const TImageProperties psp = read("psp_v3_rgb_rle.psp");
    EXPECT_EQ(psp.Version, 3u);
    EXPECT_NEAR(psp.XResolution, 118.11 * 2.54, 0.01);
    EXPECT_EQ(read("psp_v5_rgb_lz77.psp").Version, 5u);
    EXPECT_TRUE(read("psd_bitmap.psd").Options & ioMinIsWhite);
    EXPECT_EQ(read("psd_rgba8.psd").Channels, 4);
    // A quarter-turned Photo-CD pack reports the turned size.
    TPCDGraphic pcd;
    QByteArray turned = PhotoCdPack(3);
    QBuffer buffer(&turned);
    buffer.open(QIODevice::ReadOnly);
    ASSERT_TRUE(pcd.ReadImageInfo(buffer, 2));
    EXPECT_EQ(pcd.ImageProperties.Rotate, 3);
    EXPECT_EQ(QSize(pcd.ImageProperties.Width, pcd.ImageProperties.Height), QSize(512, 768));
    EXPECT_FALSE(pcd.ImageProperties.Overview);
}

// A row table that points past the file used to give a blank row, so a few bytes could
// declare a huge picture of rows that are not there: the file is refused, by name, before
// the picture is allocated.
TEST_F(FormatsMoreReaders, RowTableEntryPastTheFileIsRefused)
{
    struct Case {
        const char* Name;
        qsizetype Entry;   // the table entry made to lie
        const char* Message;
    };
    const Case cases[] = {
        {"sgi_rgb8_rle.sgi", 512, "таблица строк SGI указывает за конец файла"},   // red, the bottom row
        {"rla_rgb8_topdown.rpf", 740, "таблица строк RLA указывает за конец файла"},
        {"rla_rgb8_matte.rla", 740 + 4 * 3, "таблица строк RLA указывает за конец файла"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString name = QString::fromLatin1(c.Name);
        QByteArray bytes = FileBytes(MoreFixture(name));
        EXPECT_TRUE(PictureErrorOf(Write(name, bytes)).isEmpty());
        std::memcpy(bytes.data() + c.Entry, "\x7F\xFF\xFF\x00", 4);
        const QString path = Write(name, bytes);
        EXPECT_EQ(PictureErrorOf(path),
                  QStringLiteral("Файл рисунка \"%1\" поврежден: %2").arg(path, QString::fromUtf8(c.Message)));
    }
}

TEST_F(FormatsMoreReaders, PhotoCdOverviewPackReadsTheBaseLayoutFromSectorFive)
{
    const QByteArray pack = PhotoCdPack(0);
    QByteArray overview(5 * 2048, '\0');
    std::memcpy(overview.data(), "PCD_OPA", 7);
    overview += pack.mid(96 * 2048);
    const QImage upright = LoadPictureFile(Write(QStringLiteral("pack.pcd"), pack));
    QImage image;
    ASSERT_NO_THROW(image = LoadPictureFile(Write(QStringLiteral("overview.pcd"), overview)));
    EXPECT_EQ(image, upright);
}

TEST_F(FormatsMoreReaders, PortableMapHeaderAndSamples)
{
    struct Case { const char* Name; QByteArray Bytes; QList<QRgb> Pixels; };
    const Case cases[] = {
        // The magic and the numbers on one line: read as tokens, the width is not lost.
        {"oneline.ppm", QByteArray("P6 2 1 255\n") + QByteArray("\x0A\x14\x1E\x28\x32\x3C", 6),
         {qRgb(10, 20, 30), qRgb(40, 50, 60)}},
        // Comments between every number; maximum 4 scales 0..4 to 0..255.
        {"comments.pgm", QByteArray("P2\n# c\n3 # w\n1\n#m\n4\n0 2 4\n"), {qRgb(0, 0, 0), qRgb(128, 128, 128), qRgb(255, 255, 255)}},
        // Plain bitmap pixels may be written without separators.
        {"packed.pbm", QByteArray("P1\n3 1\n101"), {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0, 0, 0)}},
        // Maximum 1000: two bytes a sample, most significant first.
        {"wide.ppm", QByteArray("P6\n1 1\n1000\n") + QByteArray("\x03\xE8\x01\xF4\x00\x00", 6), {qRgb(255, 128, 0)}},
        // The last number of the file ends it.
        {"end.pgm", QByteArray("P2 1 1 255 77"), {qRgb(77, 77, 77)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QImage image;
        ASSERT_NO_THROW(image = LoadPictureFile(Write(QString::fromLatin1(c.Name), c.Bytes)));
        ASSERT_EQ(image.size(), QSize(int(c.Pixels.size()), 1));
        for (int x = 0; x < image.width(); ++x)
            EXPECT_EQ(image.pixel(x, 0), c.Pixels[x]) << x;
    }
}

TEST_F(FormatsMoreReaders, RefusalsNameTheirFault)
{
    struct Case { const char* Name; QByteArray Bytes; const char* Message; };
    const Case cases[] = {
        {"bad.ppm", "Q6\n1 1\n255\n...", "Invalid or unexpected PBM, PGM or PPM image format"},
        // Samples the file cannot hold are refused before the picture is made.
        {"short.ppm", "P6\n2 2\n255\n\x01\x02\x03", "рисунок 2×2 точек требует 12 байт данных, а в файле их 3"},
        {"cut.pgm", "P2\n2 1\n255\n7", "рисунок 2×1 точек требует 3 байт данных, а в файле их 1"},
        {"zero.pgm", "P5\n1 1\n0\n\x01", "наибольшее значение 0"},
        {"letter.pgm", "P2\n1 1\n255\nx", "вместо числа"},
        {"huge.pgm", "P2\n99999999999 1\n255\n", "слишком большое число"},
        {"bad.eps", QByteArray(40, '\x01'), "Invalid or unexpected EPS image format"},
        {"nopreview.eps", QByteArray("\xC5\xD0\xD3\xC6", 4) + QByteArray(36, '\0'), "не содержит образа TIFF"},
        {"bad.psd", QByteArray("8BPX") + QByteArray(40, '\0'), "Invalid or unexpected PSD or PDD image format"},
        {"bad.psp", QByteArray(64, 'x'), "Invalid or unexpected PSP image format"},
        {"bad.sgi", QByteArray(600, '\x01'), "Invalid or unexpected sgi, bw or rgb(a) image format"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString message = PictureErrorOf(Write(QString::fromLatin1(c.Name), c.Bytes));
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.Message))) << message.toStdString();
    }
}

TEST_F(FormatsMoreReaders, UnusualVariantsOfTheHeaderFormats)
{
    // Paint Shop Pro: a 16-bit attribute depth and the JPEG channel coding are refused.
    QByteArray psp = FileBytes(MoreFixture(QStringLiteral("psp_v5_rgb_lz77.psp")));
    QByteArray deep = psp;
    deep[36 + 10 + 4 + 19] = 16;
    EXPECT_EQ(PictureErrorOf(Write(QStringLiteral("deep.psp"), deep)), QStringLiteral("Invalid color format in PSP file."));
    QByteArray jpeg = psp;
    jpeg[36 + 10 + 4 + 17] = 3;
    EXPECT_TRUE(PictureErrorOf(Write(QStringLiteral("jpeg.psp"), jpeg)).contains(QStringLiteral("compression")));

    // SGI of five channels: the colour manager's refusal.
    QByteArray sgi = FileBytes(MoreFixture(QStringLiteral("sgi_rgb8_verbatim.rgb")));
    sgi[11] = 5;
    sgi.append(QByteArray(13 * 7 * 2, '\0'));
    EXPECT_TRUE(PictureErrorOf(Write(QStringLiteral("five.sgi"), sgi)).contains(QStringLiteral("Sample count")));

    // Photoshop duotone and other modes without a colour model load blank at their size.
    QByteArray psd = FileBytes(MoreFixture(QStringLiteral("psd_grey8.psd")));
    psd[25] = 5;
    QImage blank;
    ASSERT_NO_THROW(blank = LoadPictureFile(Write(QStringLiteral("mode5.psd"), psd)));
    EXPECT_EQ(blank.size(), QSize(13, 7));

    // RLA of channel kind "xyz": an empty picture, no error.
    QByteArray rla = FileBytes(MoreFixture(QStringLiteral("rla_rgb8_matte.rla")));
    std::memcpy(rla.data() + 580, "XYZ", 3);
    TRLAGraphic graphic;
    EXPECT_TRUE(graphic.ProbeFile(Write(QStringLiteral("xyz.rla"), rla)));
    ASSERT_NO_THROW(graphic.LoadFromFile(Write(QStringLiteral("xyz.rla"), rla)));
    EXPECT_TRUE(graphic.Empty());
    // Any other kind reaches the colour manager, which finds no converter.
    std::memcpy(rla.data() + 580, "abc", 3);
    EXPECT_TRUE(PictureErrorOf(Write(QStringLiteral("abc.rla"), rla)).contains(QStringLiteral("Could not find")));
}

TEST_F(FormatsMoreReaders, PhotoshopDuotoneSkipsItsColourModeData)
{
    // The grey file as a duotone: mode 8 and six bytes of duotone data before the
    // image resources; the merged image is the same grey picture.
    const QByteArray grey = FileBytes(MoreFixture(QStringLiteral("psd_grey8.psd")));
    ASSERT_EQ(grey.mid(26, 4), QByteArray(4, '\0'));
    QByteArray duotone = grey.left(26) + QByteArray("\0\0\0\x06", 4) + QByteArray("\x01\x02\x03\x04\x05\x06", 6)
        + grey.mid(30);
    duotone[25] = 8;
    QImage image;
    ASSERT_NO_THROW(image = LoadPictureFile(Write(QStringLiteral("duotone.psd"), duotone)));
    EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32), ExpectedImage(QStringLiteral("psd_grey8.psd")));
}

// A raw Photoshop file of one row: the header, three empty sections, compression 0, and
// each channel's row of 8-bit samples.
QByteArray RawPsdRow(int mode, const QList<QByteArray>& channels)
{
    QByteArray psd("8BPS\0\x01\0\0\0\0\0\0", 12);
    const auto put16 = [&](int v) { psd.append(char(v >> 8)).append(char(v & 0xFF)); };
    const auto put32 = [&](int v) { put16(v >> 16); put16(v & 0xFFFF); };
    put16(int(channels.size()));
    put32(1);
    put32(int(channels[0].size()));
    put16(8);
    put16(mode);
    put32(0);
    put32(0);
    put32(0);
    put16(0);
    for (const QByteArray& channel : channels)
        psd += channel;
    return psd;
}

TEST_F(FormatsMoreReaders, PhotoshopLabCmykAndExtraChannels)
{
    struct Case { const char* Name; int Mode; QList<QByteArray> Channels; QList<QRgb> Pixels; };
    const Case cases[] = {
        // L* over 0..255, a* and b* with 128 as zero: white and black.
        {"lab.psd", 9, {QByteArray("\xFF\x00", 2), QByteArray("\x80\x80", 2), QByteArray("\x80\x80", 2)},
         {qRgb(255, 255, 255), qRgb(0, 0, 0)}},
        // Stored 255 is no ink: white; full cyan alone.
        {"cmyk.psd", 4, {QByteArray("\xFF\x00", 2), QByteArray("\xFF\xFF", 2), QByteArray("\xFF\xFF", 2),
                         QByteArray("\xFF\xFF", 2)},
         {qRgb(255, 255, 255), qRgb(0, 255, 255)}},
        // Five channels of an RGB image: the first three give the colours.
        {"five.psd", 3, {QByteArray("\x0A\x64", 2), QByteArray("\x14\x6E", 2), QByteArray("\x1E\x78", 2),
                         QByteArray("\x80\x80", 2), QByteArray("\x11\x22", 2)},
         {qRgb(10, 20, 30), qRgb(100, 110, 120)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QImage image;
        ASSERT_NO_THROW(image = LoadPictureFile(Write(QString::fromLatin1(c.Name), RawPsdRow(c.Mode, c.Channels))));
        ASSERT_EQ(image.size(), QSize(2, 1));
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(image.pixel(x, 0), c.Pixels[x]) << x;
    }
}

// Guards a fault: a raw channel was read whole, by its packed length, into a buffer of
// its unpacked length.
TEST_F(FormatsMoreReaders, PaintShopProRawChannelIsCutToItsUnpackedSize)
{
    QByteArray psp = FileBytes(MoreFixture(QStringLiteral("psp_v5_indexed8_raw.psp")));
    QByteArray fields;
    PutU32(fields, 91);   // 13 x 7 bytes packed and unpacked, bitmap kind 0, composite
    PutU32(fields, 91);
    PutU32(fields, 0);
    const qsizetype at = psp.indexOf(fields);
    ASSERT_GT(at, 0);
    psp[at + 4] = char(78);   // six rows unpacked; the packed length still says seven
    TPSPGraphic graphic;
    ASSERT_NO_THROW(graphic.LoadFromFile(Write(QStringLiteral("long.psp"), psp)));
    const QImage image = graphic.Image().convertToFormat(QImage::Format_RGB32);
    const QImage expected = ExpectedImage(QStringLiteral("psp_v5_indexed8_raw.psp"));
    ASSERT_EQ(image.size(), expected.size());
    EXPECT_EQ(image.copy(0, 0, 13, 6), expected.copy(0, 0, 13, 6));
    for (int x = 0; x < 13; ++x)
        EXPECT_EQ(image.pixel(x, 6), graphic.ColorTable()[0]) << x;
}

TEST_F(FormatsMoreReaders, RlaGammaIsAppliedThroughTheGammaTable)
{
    // The top-down file with the gamma text "1,8": each sample through the table of
    // file gamma 1.8 and display gamma 2.2.
    QByteArray rla = FileBytes(MoreFixture(QStringLiteral("rla_rgb8_topdown.rpf")));
    std::memcpy(rla.data() + 28, "1,8", 3);
    TRLAGraphic graphic;
    ASSERT_NO_THROW(graphic.LoadFromFile(Write(QStringLiteral("gamma.rla"), rla)));
    EXPECT_FLOAT_EQ(graphic.ImageProperties.FileGamma, 1.8f);
    EXPECT_TRUE(graphic.ImageProperties.Options & ioUseGamma);
    const auto& table = graphic.ColorManager().GammaTable();
    const QImage expected = ExpectedImage(QStringLiteral("rla_rgb8_topdown.rpf"));
    const QImage image = graphic.Image().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.size(), expected.size());
    EXPECT_NE(table[128], 128);
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb e = expected.pixel(x, y);
            ASSERT_EQ(image.pixel(x, y), qRgb(table[qRed(e)], table[qGreen(e)], table[qBlue(e)])) << x << "," << y;
        }
}

TEST_F(FormatsMoreReaders, RlaGammaTextReadsEitherSeparator)
{
    // The field is sixteen bytes on disk, zero-padded past the text.
    struct Case { char Text[16]; float Gamma; };
    const Case cases[] = {{"2.2", 2.2f}, {"2,2", 2.2f}, {" 1.8\0junk", 1.8f}, {"", 1.0f},
                          {"gamma", 1.0f}, {"-1", 1.0f}, {"0", 1.0f}, {"1e300", 1.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_FLOAT_EQ(ParseRlaGamma(QByteArray(c.Text, 16)), c.Gamma);
    }
}

TEST_F(FormatsMoreReaders, EpsPreviewRightAfterTheHeaderLoadsButIsNotProbed)
{
    const QByteArray fixture = FileBytes(MoreFixture(QStringLiteral("eps_tiff_preview.eps")));
    const quint32 offset = quint32(uchar(fixture[20])) | quint32(uchar(fixture[21])) << 8;
    QByteArray tight = fixture.left(30) + fixture.mid(int(offset));
    tight[20] = 30;
    tight[21] = 0;
    TEPSGraphic graphic;
    EXPECT_TRUE(graphic.ProbeFile(MoreFixture(QStringLiteral("eps_tiff_preview.eps"))));
    EXPECT_FALSE(graphic.ProbeFile(Write(QStringLiteral("tight.eps"), tight)));
    QImage image;
    ASSERT_NO_THROW(image = LoadPictureFile(Write(QStringLiteral("tight.eps"), tight)));
    EXPECT_EQ(image.size(), QSize(13, 7));
}

TEST_F(FormatsMoreReaders, ProbesKnowTheirOwnFiles)
{
    const QStringList names = QDir(MoreFixture(QString())).entryList(QDir::Files);
    for (const QString& name : names) {
        if (name.contains(QStringLiteral(".expected")) || name.endsWith(QStringLiteral(".qz")))
            continue;
        SCOPED_TRACE(name.toStdString());
        const QString path = MoreFixture(name);
        const int index = FileFormatList().IndexOfExtension(QFileInfo(name).suffix());
        ASSERT_GE(index, 0);
        const auto* graphicClass = FileFormatList().Extensions()[std::size_t(index)]->Class->GraphicClass;
        ASSERT_TRUE(graphicClass->Create);
        EXPECT_TRUE(graphicClass->Create()->ProbeFile(path));
    }
}

// Cut and bit-flipped copies of every reference file: each read gives a picture or a
// picture error, never a crash or a read outside the file (run under AddressSanitizer).
TEST_F(FormatsMoreReaders, DamagedFilesReadOrRaise)
{
    SetPictureMemoryLimit(16 * 1024 * 1024);
    std::mt19937 random(20261210);
    const QStringList names = QDir(MoreFixture(QString())).entryList(QDir::Files);
    for (const QString& name : names) {
        if (name.contains(QStringLiteral(".expected")))
            continue;
        const QString target = QString(name).remove(QStringLiteral(".qz"));
        const QByteArray bytes = FileBytes(MoreFixture(name));
        ASSERT_FALSE(bytes.isEmpty()) << name.toStdString();
        const bool large = bytes.size() > 100000;
        const int cuts = large ? 12 : 60;
        const int flips = large ? 20 : 150;
        for (int i = 0; i < cuts + flips; ++i) {
            QByteArray damaged = bytes;
            if (i < cuts) {
                damaged.truncate(qsizetype(std::int64_t(bytes.size()) * i / cuts));
            } else {
                // Mostly in the headers and tables, where a lie does the most harm.
                const std::uint32_t span = std::uint32_t(std::min<qsizetype>(damaged.size(), large ? 4096 : damaged.size()));
                for (int k = 0, n = 1 + int(random() % 4); k < n; ++k)
                    damaged[qsizetype(random() % span)] = char(random());
            }
            const QString path = Write(target, damaged);
            try {
                LoadPictureFile(path);
            } catch (const EPictureError& e) {
                EXPECT_FALSE(e.Message.isEmpty());
            }
        }
    }
}
