// The JPEG reader: colour, greyscale and Adobe CMYK files decode to their colours, and
// a broken file is refused with a message instead of ending the program or painting
// the missing part grey.
#include "ImagingTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

QByteArray EncodeJpeg(const QImage& image, bool cmyk)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    const bool grey = image.format() == QImage::Format_Grayscale8;
    info.image_width = JDIMENSION(image.width());
    info.image_height = JDIMENSION(image.height());
    info.input_components = cmyk ? 4 : grey ? 1 : 3;
    info.in_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uchar> row(size_t(image.width()) * 4);
    const QImage rgb = grey ? image : image.convertToFormat(QImage::Format_RGB888);
    while (info.next_scanline < info.image_height) {
        const int y = int(info.next_scanline);
        JSAMPROW line = const_cast<uchar*>(rgb.constScanLine(y));
        if (cmyk) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                row[4 * x] = uchar(qRed(p));
                row[4 * x + 1] = uchar(qGreen(p));
                row[4 * x + 2] = uchar(qBlue(p));
                row[4 * x + 3] = uchar(qAlpha(p));
            }
            line = row.data();
        }
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return bytes;
}

namespace {

// Within a step of the encoder's loss, which quality 100 keeps small.
void ExpectNear(QRgb actual, QRgb expected)
{
    EXPECT_NEAR(qRed(actual), qRed(expected), 6);
    EXPECT_NEAR(qGreen(actual), qGreen(expected), 6);
    EXPECT_NEAR(qBlue(actual), qBlue(expected), 6);
}

// 16 × 8 pixels: the left half a, the right half b.
QImage Halves(QRgb a, QRgb b, QImage::Format format = QImage::Format_ARGB32)
{
    QImage image(16, 8, format);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, y, x < 8 ? a : b);
    return image;
}

class JpegReader : public PictureFiles {};

}  // namespace

TEST_F(JpegReader, DecodesColourGreyAndCmyk)
{
    const QImage colour = LoadPictureFile(
        Write(QStringLiteral("colour.jpg"), EncodeJpeg(Halves(qRgb(200, 30, 40), qRgb(20, 60, 220)))));
    ASSERT_EQ(colour.size(), QSize(16, 8));
    EXPECT_EQ(colour.format(), QImage::Format_RGB888);
    ExpectNear(colour.pixel(2, 4), qRgb(200, 30, 40));
    ExpectNear(colour.pixel(13, 4), qRgb(20, 60, 220));

    QImage greySource(16, 8, QImage::Format_Grayscale8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            greySource.scanLine(y)[x] = x < 8 ? 50 : 180;
    const QImage grey = LoadPictureFile(Write(QStringLiteral("grey.JPEG"), EncodeJpeg(greySource)));
    EXPECT_EQ(grey.format(), QImage::Format_Grayscale8);
    ExpectNear(grey.pixel(2, 4), qRgb(50, 50, 50));
    ExpectNear(grey.pixel(13, 4), qRgb(180, 180, 180));

    // Adobe CMYK is stored inverted: 0 is full ink. Full cyan, then full black.
    const QImage cmyk = LoadPictureFile(Write(
        QStringLiteral("print.jpg"),
        EncodeJpeg(Halves(qRgba(0, 255, 255, 255), qRgba(255, 255, 255, 0)), true)));
    EXPECT_EQ(cmyk.format(), QImage::Format_RGB888);
    ExpectNear(cmyk.pixel(2, 4), qRgb(0, 255, 255));
    ExpectNear(cmyk.pixel(13, 4), qRgb(0, 0, 0));
}

TEST_F(JpegReader, BrokenFilesAreRefusedWithTheirReason)
{
    const QByteArray good = EncodeJpeg(Halves(qRgb(200, 30, 40), qRgb(20, 60, 220)));
    struct Case {
        const char* name;
        QByteArray bytes;
        QString reason;
    };
    const Case cases[] = {
        {"empty file", QByteArray(), "поврежден: это не рисунок JPEG"},
        {"a BMP named .jpg", QByteArray("BM") + QByteArray(60, '\0'), "поврежден: это не рисунок JPEG"},
        // Cut inside the coded data: libjpeg would paint the rest grey.
        {"cut short", good.left(good.size() - 200), "поврежден: данные обрезаны"},
        // A frame header whose length runs past the file.
        {"broken header", ByteList({0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x11, 0x08}), "поврежден: данные обрезаны"},
        // A frame of zero height is a fatal libjpeg error, not a warning.
        {"no lines",
         ByteList({0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0x00, 0x00, 0x10, 0x01, 0x01,
                   0x11, 0x00, 0xFF, 0xD9}),
         "поврежден: ошибка декодирования JPEG"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = Write(QStringLiteral("broken.jpg"), c.bytes);
        const QString message = PictureErrorOf(path);
        EXPECT_TRUE(message.startsWith(QStringLiteral("Файл рисунка \"%1\" ").arg(path)))
            << message.toStdString();
        EXPECT_TRUE(message.contains(c.reason)) << message.toStdString();
    }
}

TEST_F(JpegReader, PictureLargerThanTheMemoryLeftIsRefused)
{
    const QString path =
        Write(QStringLiteral("photo.jpg"), EncodeJpeg(Halves(qRgb(1, 2, 3), qRgb(4, 5, 6))));
    SetPictureMemoryLimit(100);
    EXPECT_EQ(PictureErrorOf(path),
              QStringLiteral("Рисунок \"%1\" размером 16×8 точек слишком велик: для него не "
                             "хватает памяти").arg(path));
    // The decoder released everything: the same file reads once memory allows.
    SetPictureMemoryLimit(0);
    EXPECT_EQ(LoadPictureFile(path).size(), QSize(16, 8));
}
