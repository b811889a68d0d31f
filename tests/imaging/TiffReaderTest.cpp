// The TIFF reader against files libtiff's tools wrote (tests/fixtures/imaging/tiff,
// make_tiffs.sh): every compression, photometric, depth, byte order, predictor and strip
// layout the reader decodes, the layouts it refuses, and damaged files.
#include "DecoderTestSupport.h"
#include "ImagingTestSupport.h"

#include "imaging/TiffReader.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

QString TiffFixture(const char* name)
{
    return QStringLiteral(VELMORA_TEST_FIXTURES "/imaging/tiff/") + QLatin1String(name);
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct RMatrixCase {
    const char* Name;
    int Tolerance;   // JPEG is lossy; every other scheme must give the pixels exactly
};

class TiffMatrix : public ::testing::TestWithParam<RMatrixCase> {};

TEST_P(TiffMatrix, LoadsTheExpectedPixels)
{
    const RMatrixCase c = GetParam();
    const QByteArray expected = ReadAll(TiffFixture(c.Name) + QStringLiteral(".rgb"));
    ASSERT_GT(expected.size(), 4);
    const auto* e = reinterpret_cast<const uchar*>(expected.constData());
    const int width = e[0] | e[1] << 8;
    const int height = e[2] | e[3] << 8;
    ASSERT_EQ(expected.size(), 4 + 3 * width * height);

    QImage image;
    ASSERT_NO_THROW(image = LoadPictureFile(TiffFixture(c.Name) + QStringLiteral(".tif")));
    ASSERT_EQ(image.size(), QSize(width, height));
    image = image.convertToFormat(QImage::Format_RGB32);
    int worst = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uchar* p = e + 4 + 3 * (y * width + x);
            const QRgb got = image.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(got) - p[0]), std::abs(qGreen(got) - p[1]),
                              std::abs(qBlue(got) - p[2])});
            if (worst > c.Tolerance)
                FAIL() << "pixel " << x << "," << y << " is " << qRed(got) << "," << qGreen(got) << ","
                       << qBlue(got) << ", expected " << int(p[0]) << "," << int(p[1]) << "," << int(p[2]);
        }
}

INSTANTIATE_TEST_SUITE_P(
    Files, TiffMatrix,
    ::testing::Values(RMatrixCase{"rgb8_none_be_strips", 0}, RMatrixCase{"rgb8_lzw_pred_be", 0},
                      RMatrixCase{"rgb8_lzw_le", 0}, RMatrixCase{"rgb8_zip_pred_le", 0},
                      RMatrixCase{"rgb8_packbits_be", 0}, RMatrixCase{"rgb8_jpeg_ycbcr", 12},
                      RMatrixCase{"rgb8_jpeg_rgb", 12}, RMatrixCase{"rgba8_lzw_be", 0},
                      RMatrixCase{"grey8_zip_be", 0}, RMatrixCase{"grey8_jpeg", 8},
                      RMatrixCase{"white8_packbits_le", 0}, RMatrixCase{"grey16_lzw_pred_be", 0},
                      RMatrixCase{"grey16_lzw_pred_le", 0}, RMatrixCase{"grey4_packbits_be", 0},
                      RMatrixCase{"grey2_lzw_le", 0}, RMatrixCase{"bilevel_g3_le", 0},
                      RMatrixCase{"bilevel_g3_fill_be", 0}, RMatrixCase{"bilevel_g3_lsb", 0},
                      RMatrixCase{"bilevel_packbits_lsb_be", 0}, RMatrixCase{"palette8_lzw_be", 0},
                      RMatrixCase{"palette4_none_le", 0}, RMatrixCase{"grey8_cm", 0}),
    [](const ::testing::TestParamInfo<RMatrixCase>& info) { return std::string(info.param.Name); });

TEST(TiffReader, KeepsTheFileDepthAndReadsResolutionInCentimetres)
{
    struct RCase {
        const char* Name;
        TPixelFormat Format;
    } cases[] = {{"bilevel_g3_le.tif", pf1bit}, {"grey2_lzw_le.tif", pf4bit}, {"palette4_none_le.tif", pf4bit},
                 {"grey16_lzw_pred_be.tif", pf8bit}, {"rgb8_lzw_le.tif", pf24bit}, {"rgba8_lzw_be.tif", pf32bit},
                 {"grey8_jpeg.tif", pf8bit}};
    for (const RCase& c : cases) {
        TTIFFGraphic graphic;
        graphic.LoadFromFile(TiffFixture(c.Name));
        EXPECT_EQ(graphic.PixelFormat(), c.Format) << c.Name;
    }
    TTIFFGraphic graphic;
    graphic.LoadFromFile(TiffFixture("grey8_cm.tif"));
    EXPECT_FLOAT_EQ(graphic.ImageProperties.XResolution, 254.0f);
    EXPECT_FLOAT_EQ(graphic.ImageProperties.YResolution, 127.0f);
    EXPECT_TRUE(graphic.ProbeFile(TiffFixture("grey8_cm.tif")));
    EXPECT_FALSE(graphic.ProbeFile(TiffFixture("grey8_cm.rgb")));
}

TEST(TiffReader, RefusesWhatItCannotDecodeByName)
{
    struct RCase {
        const char* Name;
        const char* Text;
    } cases[] = {
        {"refused_tiled.tif", "рисунок, разбитый на плитки, не поддерживается"},
        {"refused_planar.tif", "хранение цветов отдельными плоскостями не поддерживается"},
        {"refused_g3_2d.tif", "двумерное сжатие CCITT Group 3 не поддерживается"},
        // horizontal 2, vertical 1: the pair keeps its order in a big-endian file
        {"refused_ycbcr_be.tif", "цвет YCbCr с прореживанием 2x1 не поддерживается"},
        {"refused_g4.tif", "The compression scheme is not supported for TIF/TIFF files."},
    };
    for (const RCase& c : cases)
        EXPECT_TRUE(PictureErrorOf(TiffFixture(c.Name)).contains(QString::fromUtf8(c.Text)))
            << c.Name << ": " << PictureErrorOf(TiffFixture(c.Name)).toStdString();
}

// The file with the directory entry of tag renamed to a tag no reader knows, as if the
// writer had left it out.
QString WithoutTag(const QTemporaryDir& dir, const char* name, std::uint16_t tag)
{
    QByteArray bytes = ReadAll(TiffFixture(name));
    const bool big = bytes.startsWith("MM");
    const auto* d = reinterpret_cast<const uchar*>(bytes.constData());
    const auto u16 = [&](int at) { return big ? d[at] << 8 | d[at + 1] : d[at + 1] << 8 | d[at]; };
    const auto u32 = [&](int at) { return std::uint32_t(u16(big ? at : at + 2)) << 16 | u16(big ? at + 2 : at); };
    const int ifd = int(u32(4));
    for (int i = 0; i < u16(ifd); ++i) {
        const int at = ifd + 2 + 12 * i;
        if (u16(at) == tag) {
            bytes[at] = char(0xFD);
            bytes[at + 1] = char(0xFD);
        }
    }
    const QString path = dir.path() + QLatin1Char('/') + QLatin1String(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

TEST(TiffReader, MissingStripTagsFallBackOrRefuse)
{
    QTemporaryDir dir;
    // Without RowsPerStrip the strips are one of the whole height; uncompressed strips
    // written back to back still give the picture.
    const QImage oneStrip = LoadPictureFile(WithoutTag(dir, "rgb8_none_be_strips.tif", 278));
    const QImage strips = LoadPictureFile(TiffFixture("rgb8_none_be_strips.tif"));
    EXPECT_EQ(oneStrip.convertToFormat(QImage::Format_RGB32), strips.convertToFormat(QImage::Format_RGB32));
    // Without StripByteCounts an uncompressed strip's size is computed ...
    const QImage computed = LoadPictureFile(WithoutTag(dir, "grey8_cm.tif", 279));
    EXPECT_EQ(computed.convertToFormat(QImage::Format_RGB32),
              LoadPictureFile(TiffFixture("grey8_cm.tif")).convertToFormat(QImage::Format_RGB32));
    // ... and a compressed one, whose end nothing tells, is refused.
    EXPECT_TRUE(PictureErrorOf(WithoutTag(dir, "grey8_zip_be.tif", 279)).contains(QStringLiteral("нет длин сжатых полос")));
}

// Guards against reads past a strip, a directory or a value list of a damaged file:
// every cut and a run of bit flips give an error or a picture, never a crash.
TEST(TiffReader, DamagedFilesGiveAnErrorOrAPicture)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.path() + QStringLiteral("/damaged.tif");
    const auto attempt = [&](const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        try {
            LoadPictureFile(path);
        } catch (const EPictureError&) {
        }
    };
    for (const char* name : {"bilevel_g3_le.tif", "rgb8_lzw_pred_be.tif"}) {
        const QByteArray whole = ReadAll(TiffFixture(name));
        ASSERT_FALSE(whole.isEmpty());
        for (int cut = 0; cut < whole.size(); ++cut)
            attempt(whole.left(cut));
        std::uint32_t x = 12345;
        for (int flip = 0; flip < 400; ++flip) {
            QByteArray bytes = whole;
            for (int k = 0; k < 3; ++k) {
                x = x * 1103515245u + 12345u;
                const int at = int((x >> 8) % std::uint32_t(bytes.size()));
                bytes[at] = char(bytes[at] ^ (1 << (x >> 28 & 7)));
            }
            attempt(bytes);
        }
    }
}

QByteArray Bytes(const TBytes& b)
{
    return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
}

// What libtiff itself reads from the file: the file made uncompressed by tiffcp, read
// back by our reader; null when libtiff's tools are missing.
QImage AsLibtiffReadsIt(const QString& path)
{
    const QString tiffcp = QStandardPaths::findExecutable(QStringLiteral("tiffcp"));
    if (tiffcp.isEmpty())
        return QImage();
    const QString plain = path + QStringLiteral(".plain.tif");
    QProcess p;
    p.start(tiffcp, {QStringLiteral("-c"), QStringLiteral("none"), path, plain});
    EXPECT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return LoadPictureFile(plain).convertToFormat(QImage::Format_RGB32);
}

// Two layouts were shown wrong without a word: LZW of the writers before TIFF 5.0 (codes
// lowest bit first) as stray bytes on black, and a Group 3 fax whose rows carry no
// end-of-line codes as a white page.
TEST(TiffReader, OldLzwAndFaxRowsWithoutEndOfLineAreThePicture)
{
    std::vector<std::pair<unsigned, int>> codes{{256, 9}};
    const int grey[] = {0, 0, 0, 0, 0, 0, 200, 0, 90, 0, 0, 0};
    for (const int g : grey)
        codes.push_back({unsigned(g), 9});
    codes.push_back({257, 9});
    struct Case {
        const char* Name;
        QByteArray File;
        std::vector<int> Expected;   // grey of each pixel, top row first
        bool LibtiffReads;           // libtiff wants an end-of-line code before every fax row
    };
    const Case cases[] = {
        {"LZW, lowest bit first", OneStripTiff(4, 3, 8, 5, 1, Bytes(PackBitsLsbFirst(codes))),
         std::vector<int>(std::begin(grey), std::end(grey)), true},
        // white 2, black 6; again; white 0, black 8 (black is 1: white is zero)
        {"Group 3 rows without end-of-line codes",
         OneStripTiff(8, 3, 1, 3, 0, Bytes(BitText("0111 0010 0111 0010 00110101 000101"))),
         {255, 255, 0, 0, 0, 0, 0, 0, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString path = dir.filePath(QStringLiteral("scan.tif"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.File);
        file.close();
        QImage image;
        ASSERT_NO_THROW(image = LoadPictureFile(path));
        image = image.convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(image.width() * image.height(), int(c.Expected.size()));
        for (int i = 0; i < int(c.Expected.size()); ++i)
            EXPECT_EQ(qGray(image.pixel(i % image.width(), i / image.width())), c.Expected[std::size_t(i)])
                << "pixel " << i;
        if (!c.LibtiffReads)
            continue;
        const QImage libtiff = AsLibtiffReadsIt(path);
        if (!libtiff.isNull())
            EXPECT_EQ(libtiff, image);
    }
}

}  // namespace
