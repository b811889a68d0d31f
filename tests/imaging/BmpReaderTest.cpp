// The BMP reader: every header, depth and coding a scan or a drawing program writes,
// the row order, the padding, the palette, and the refusal of broken and oversized files.
#include "ImagingTestSupport.h"
#include "support/LargePicture.h"

#include <QBuffer>
#include <QImageWriter>

#include <vector>

namespace {

using TRows = std::vector<std::vector<std::uint32_t>>;   // top to bottom

// Rows of pixel values (palette indices, 16-bit words, QRgb for 24 and 32 bits) stored
// as a BMP stores them: each row padded to 4 bytes, bottom row first unless topDown.
QByteArray PackRows(const TRows& rows, int bitCount, bool topDown = false)
{
    QByteArray out;
    for (size_t r = 0; r < rows.size(); ++r) {
        const auto& row = rows[topDown ? r : rows.size() - 1 - r];
        QByteArray bytes;
        if (bitCount <= 8) {
            int acc = 0, bits = 0;
            for (std::uint32_t v : row) {
                acc = (acc << bitCount) | int(v);
                bits += bitCount;
                if (bits == 8) {
                    bytes.append(char(acc));
                    acc = bits = 0;
                }
            }
            if (bits > 0)
                bytes.append(char(acc << (8 - bits)));
        } else {
            for (std::uint32_t v : row) {
                if (bitCount == 16)
                    PutU16(bytes, v);
                else if (bitCount == 24)
                    bytes += ByteList({int(qBlue(v)), int(qGreen(v)), int(qRed(v))});
                else
                    PutU32(bytes, v);
            }
        }
        while (bytes.size() % 4 != 0)
            bytes.append('\0');
        out += bytes;
    }
    return out;
}

const QRgb Red = qRgb(255, 0, 0);
const QRgb Green = qRgb(0, 255, 0);
const QRgb Blue = qRgb(0, 0, 255);
const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);
const QRgb Navy = qRgb(0, 0, 128);
const QRgb Odd = qRgb(10, 20, 30);

void ExpectPixels(const QImage& image, const std::vector<std::vector<QRgb>>& expected)
{
    ASSERT_EQ(image.height(), int(expected.size()));
    ASSERT_EQ(image.width(), int(expected[0].size()));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            EXPECT_EQ(image.pixel(x, y), expected[y][x]) << "x " << x << ", y " << y;
}

class BmpReader : public PictureFiles {};

}  // namespace

TEST_F(BmpReader, ReadsEveryDepthAndHeaderWithRowsInTheirPlace)
{
    struct Case {
        const char* name;
        TBmpBytes bmp;
        QImage::Format format;
        std::vector<std::vector<QRgb>> pixels;
    };
    std::vector<Case> cases;
    {
        // Three pixels of three bytes: every row padded by three bytes.
        TBmpBytes b;
        b.Width = 3;
        b.Height = 2;
        b.Pixels = PackRows({{Red, Green, Blue}, {White, Black, Odd}}, 24);
        cases.push_back({"24 bits, bottom-up", b, QImage::Format_RGB888,
                         {{Red, Green, Blue}, {White, Black, Odd}}});
        b.Height = -2;
        b.Pixels = PackRows({{Red, Green, Blue}, {White, Black, Odd}}, 24, true);
        cases.push_back({"24 bits, top-down", b, QImage::Format_RGB888,
                         {{Red, Green, Blue}, {White, Black, Odd}}});
    }
    {
        // Ten pixels over two bytes; the first palette entry is not black.
        TBmpBytes b;
        b.BitCount = 1;
        b.Width = 10;
        b.Height = 2;
        b.Palette = {Navy, White};
        b.Pixels = PackRows({{1, 0, 0, 0, 0, 0, 0, 0, 1, 1}, {0, 1, 0, 1, 0, 1, 0, 1, 0, 0}}, 1);
        cases.push_back({"1 bit", b, QImage::Format_Mono,
                         {{White, Navy, Navy, Navy, Navy, Navy, Navy, Navy, White, White},
                          {Navy, White, Navy, White, Navy, White, Navy, White, Navy, Navy}}});
    }
    {
        TBmpBytes b;
        b.BitCount = 2;
        b.Width = 4;
        b.Height = 1;
        b.Palette = {Black, Red, Green, Blue};
        b.Pixels = PackRows({{3, 2, 1, 0}}, 2);
        cases.push_back({"2 bits", b, QImage::Format_Indexed8, {{Blue, Green, Red, Black}}});
    }
    {
        // A short palette: ColorsUsed says how many entries follow the header.
        TBmpBytes b;
        b.BitCount = 4;
        b.Width = 3;
        b.Height = 2;
        b.ColorsUsed = 3;
        b.Palette = {Red, Green, Blue};
        b.Pixels = PackRows({{0, 1, 2}, {2, 2, 0}}, 4);
        cases.push_back({"4 bits, three colours", b, QImage::Format_Indexed8,
                         {{Red, Green, Blue}, {Blue, Blue, Red}}});
    }
    {
        TBmpBytes b;
        b.BitCount = 8;
        b.Width = 2;
        b.Height = 2;
        b.ColorsUsed = 2;
        b.Palette = {Odd, White};
        b.Pixels = PackRows({{1, 0}, {0, 0}}, 8);
        cases.push_back({"8 bits", b, QImage::Format_Indexed8, {{White, Odd}, {Odd, Odd}}});
        b.HeaderSize = 12;
        b.ColorsUsed = 0;
        b.Palette = QList<QRgb>{Odd, White};
        for (int i = 2; i < 256; ++i)
            b.Palette.append(Black);
        cases.push_back({"8 bits, OS/2 core header", b, QImage::Format_Indexed8,
                         {{White, Odd}, {Odd, Odd}}});
    }
    {
        TBmpBytes b;
        b.BitCount = 16;
        b.Width = 4;
        b.Height = 1;
        b.Pixels = PackRows({{0x7C00, 0x03E0, 0x001F, 0x7FFF}}, 16);
        cases.push_back({"16 bits, 5-5-5", b, QImage::Format_RGB888, {{Red, Green, Blue, White}}});
        b.Compression = 3;
        b.Masks = {0xF800, 0x07E0, 0x001F};
        b.Pixels = PackRows({{0xF800, 0x07E0, 0x001F, 0xFFFF}}, 16);
        cases.push_back({"16 bits, 5-6-5 masks", b, QImage::Format_RGB888,
                         {{Red, Green, Blue, White}}});
    }
    {
        // The fourth byte is not alpha in a plain 32-bit BMP.
        TBmpBytes b;
        b.BitCount = 32;
        b.Width = 2;
        b.Height = 1;
        b.Pixels = PackRows({{0x00FF0000, 0x7F0A141E}}, 32);
        cases.push_back({"32 bits", b, QImage::Format_RGB32, {{Red, Odd}}});
        // Masks in a version 5 header, in an order of their own.
        b.HeaderSize = 124;
        b.Compression = 3;
        b.Masks = {0x0000FF00, 0x00FF0000, 0xFF000000};
        b.Pixels = PackRows({{0x0000FF00, 0x1E140A00}}, 32);
        cases.push_back({"32 bits, masks in a version 5 header", b, QImage::Format_RGB32,
                         {{Red, Odd}}});
    }
    {
        // The last row without its padding, as some writers leave it.
        TBmpBytes b;
        b.Width = 1;
        b.Height = 2;
        b.Pixels = PackRows({{Red}, {Blue}}, 24);
        b.Pixels.chop(1);
        cases.push_back({"24 bits, last row unpadded", b, QImage::Format_RGB888, {{Red}, {Blue}}});
    }

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = LoadPictureFile(Write(QStringLiteral("case.bmp"), c.bmp.Bytes()));
        EXPECT_EQ(image.format(), c.format);
        ExpectPixels(image, c.pixels);
    }
}

TEST_F(BmpReader, DecodesRunLengthCodes)
{
    // Runs, an absolute stretch with its pad byte, the end of a line, a jump that skips
    // pixels (they keep the first colour), the end of the picture.
    TBmpBytes rle8;
    rle8.BitCount = 8;
    rle8.Compression = 1;
    rle8.Width = 4;
    rle8.Height = 3;
    rle8.Palette = {Black, Red, Green, Blue};
    rle8.Pixels = ByteList({4, 1, 0, 0,            // bottom line: four of colour 1, end
                            0, 3, 2, 3, 2, 0,      // absolute 2 3 2 and its pad byte
                            0, 2, 0, 1,            // up one line, same column
                            1, 3, 0, 1});          // one of colour 3, end of picture
    ExpectPixels(LoadPictureFile(Write(QStringLiteral("rle8.bmp"), rle8.Bytes())),
                 {{Black, Black, Black, Blue}, {Green, Blue, Green, Black}, {Red, Red, Red, Red}});

    TBmpBytes rle4;
    rle4.BitCount = 4;
    rle4.Compression = 2;
    rle4.Width = 7;
    rle4.Height = 1;
    rle4.Palette = {Black, Red, Green, Blue};
    // A run alternating its two nibbles, then three absolute nibbles padded to a word.
    rle4.Pixels = ByteList({4, 0x12, 0, 3, 0x30, 0x10, 0, 1});
    ExpectPixels(LoadPictureFile(Write(QStringLiteral("rle4.bmp"), rle4.Bytes())),
                 {{Red, Green, Red, Green, Blue, Black, Red}});
}

TEST_F(BmpReader, ReadsWhatQtWritesPixelForPixel)
{
    QImage colour(5, 3, QImage::Format_RGB32);
    QImage indexed(5, 3, QImage::Format_Indexed8);
    indexed.setColorTable({Red, Green, Blue, Odd});
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            colour.setPixel(x, y, qRgb(40 * x, 70 * y, 13 * (x + y)));
            indexed.setPixel(x, y, uint((x + y) % 4));
        }
    for (const QImage& source : {colour, indexed}) {
        const QString path = Dir.path() + QStringLiteral("/qt.bmp");
        ASSERT_TRUE(source.save(path, "BMP"));
        const QImage read = LoadPictureFile(path);
        ASSERT_EQ(read.size(), source.size());
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(read.pixel(x, y), source.pixel(x, y)) << x << "," << y;
    }
}

TEST_F(BmpReader, BrokenOrUnsupportedFilesAreRefusedWithTheirReason)
{
    TBmpBytes ok;
    ok.Width = 4;
    ok.Height = 4;
    ok.Pixels = QByteArray(48, '\x7F');

    TBmpBytes zeroWidth = ok;
    zeroWidth.Width = 0;
    TBmpBytes threeBits = ok;
    threeBits.BitCount = 3;
    TBmpBytes jpegInside = ok;
    jpegInside.Compression = 4;
    // Row size times row count overflows 64 bits: the check used to pass.
    TBmpBytes claimsTooMuch = ok;
    claimsTooMuch.BitCount = 32;
    claimsTooMuch.Width = INT32_MAX;
    claimsTooMuch.Height = INT32_MAX;
    TBmpBytes cutRle;
    cutRle.BitCount = 8;
    cutRle.Compression = 1;
    cutRle.Width = 4;
    cutRle.Height = 3;
    cutRle.Palette = {Black};
    cutRle.Pixels = ByteList({4, 0, 0, 0});

    struct Case {
        const char* name;
        QByteArray bytes;
        QString reason;
    };
    const Case cases[] = {
        {"empty file", QByteArray(), "поврежден: это не рисунок BMP"},
        {"another format", QByteArray("GIF89a") + QByteArray(40, '\0'), "поврежден: это не рисунок BMP"},
        {"header cut", ok.Bytes().left(20), "поврежден: заголовок обрезан"},
        {"pixels cut", ok.Bytes().left(14 + 40 + 20), "поврежден: данные точек обрезаны"},
        {"zero width", zeroWidth.Bytes(), "поврежден: неверные размеры 0×4"},
        {"rows past any file", claimsTooMuch.Bytes(), "поврежден: данные точек обрезаны"},
        {"three bits", threeBits.Bytes(), "не читается: глубина цвета 3 бит не поддерживается"},
        {"JPEG inside", jpegInside.Bytes(), "не читается: сжатие 4 при глубине 24 бит не поддерживается"},
        {"coded lines cut", cutRle.Bytes(), "поврежден: сжатые данные обрезаны"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = Write(QStringLiteral("broken.bmp"), c.bytes);
        const QString message = PictureErrorOf(path);
        EXPECT_TRUE(message.contains(QLatin1Char('"') + path + QLatin1Char('"'))) << message.toStdString();
        EXPECT_TRUE(message.endsWith(c.reason)) << message.toStdString();
    }
}

TEST_F(BmpReader, PictureLargerThanTheMemoryLeftIsRefused)
{
    TBmpBytes b;
    b.Width = 10;
    b.Height = 10;
    b.Pixels = QByteArray(320, '\0');
    const QString small = Write(QStringLiteral("small.bmp"), b.Bytes());
    SetPictureMemoryLimit(100);
    EXPECT_EQ(PictureErrorOf(small),
              QStringLiteral("Рисунок \"%1\" размером 10×10 точек слишком велик: для него не "
                             "хватает памяти").arg(small));
    SetPictureMemoryLimit(0);
    EXPECT_EQ(PictureErrorOf(small), QString());

    // A coded picture may be tiny on disk and need any amount of memory: the header
    // alone decides, before anything is allocated.
    TBmpBytes huge;
    huge.BitCount = 8;
    huge.Compression = 1;
    huge.Width = 2000000000;
    huge.Height = 2000000000;
    huge.Palette = {Black};
    huge.Pixels = ByteList({0, 1});
    EXPECT_TRUE(PictureErrorOf(Write(QStringLiteral("huge.bmp"), huge.Bytes()))
                    .endsWith(QStringLiteral("слишком велик: для него не хватает памяти")));
}

// Qt's own reader refuses images above 256 megabytes; a scan of a whole sheet is larger.
TEST_F(BmpReader, ScanAboveQtsAllocationLimitLoads)
{
    const TLargePictureScope large(qint64(512) << 20);   // the picture takes 272 MB
    TBmpBytes scan;
    scan.BitCount = 8;
    scan.Compression = 1;
    scan.Width = 16500;
    scan.Height = 16500;
    scan.Palette = {White, Black};
    scan.Pixels = ByteList({2, 1, 0, 1});   // two black pixels bottom left, then the end
    const QImage image = LoadPictureFile(Write(QStringLiteral("scan.bmp"), scan.Bytes()));
    ASSERT_EQ(image.size(), QSize(16500, 16500));
    EXPECT_GT(image.sizeInBytes(), qsizetype(256) * 1024 * 1024);
    EXPECT_EQ(image.pixel(0, 16499), Black);
    EXPECT_EQ(image.pixel(2, 16499), White);
    EXPECT_EQ(image.pixel(16499, 0), White);
}
