// The JPEG writer: every picture format read back by our own reader at its size and
// colours, the quality honoured, and a refused picture or a failing stream raising with
// the file as it was.
#include "imaging/ImageGraphic.h"
#include "imaging/JpegWriter.h"
#include "imaging/PictureReaders.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Four solid quarters; the sides are no multiple of the encoder's blocks and the height
// spans several bands of rows.
QImage Quarters(QImage::Format format)
{
    QImage image(45, 37, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, 23, 19, QColor(200, 30, 30));
    p.fillRect(23, 0, 22, 19, QColor(30, 160, 40));
    p.fillRect(0, 19, 23, 18, QColor(20, 40, 210));
    p.fillRect(23, 19, 22, 18, QColor(250, 250, 250));
    p.end();
    return image.convertToFormat(format);
}

// The centre of each quarter, inside a step of the encoder's loss at quality 100.
void ExpectQuartersOf(const QImage& read, const QImage& written)
{
    ASSERT_EQ(read.size(), written.size());
    for (const QPoint at : {QPoint(10, 9), QPoint(34, 9), QPoint(10, 28), QPoint(34, 28)}) {
        SCOPED_TRACE(QStringLiteral("%1,%2").arg(at.x()).arg(at.y()).toStdString());
        const QRgb got = read.pixel(at);
        const QRgb want = written.pixel(at);
        EXPECT_NEAR(qRed(got), qRed(want), 8);
        EXPECT_NEAR(qGreen(got), qGreen(want), 8);
        EXPECT_NEAR(qBlue(got), qBlue(want), 8);
    }
}

QByteArray ToJpeg(const QImage& image, int quality = DefaultJpegQuality)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteJpegToStream(buffer, image, quality);
    return buffer.data();
}

QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(JpegWriter, EveryImageFormatReadsBackAtItsSizeAndColours)
{
    const QImage::Format formats[] = {
        QImage::Format_RGB32,   QImage::Format_ARGB32,         QImage::Format_ARGB32_Premultiplied,
        QImage::Format_RGB888,  QImage::Format_BGR888,         QImage::Format_RGB16,
        QImage::Format_RGB555,  QImage::Format_Grayscale8,     QImage::Format_Indexed8,
        QImage::Format_Mono};
    QTemporaryDir dir;
    for (const QImage::Format format : formats) {
        SCOPED_TRACE(int(format));
        const QImage image = Quarters(format);
        const QString path = dir.filePath(QStringLiteral("снимок %1.jpg").arg(int(format)));
        SaveImageAsJpeg(path, image, 100);
        ExpectQuartersOf(ReadJpegPicture(path), image);
    }
}

TEST(JpegWriter, BitmapOfEachDepthReadsBack)
{
    QTemporaryDir dir;
    for (const TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
        SCOPED_TRACE(int(format));
        TBitmap bitmap;
        bitmap.SetPixelFormat(format);
        bitmap.SetSize(45, 37);
        if (PixelFormatBits(format) <= 8) {
            bitmap.SetColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
            // Row 20 down white, by the bitmap's own rows (index 1 in every packing).
            for (int y = 20; y < 37; ++y) {
                std::uint8_t* row = bitmap.ScanLine(y);
                std::memset(row, format == pf1bit ? 0xFF : format == pf4bit ? 0x11 : 0x01,
                            std::size_t(bitmap.BytesPerLine()));
            }
        } else {
            for (int y = 20; y < 37; ++y)
                std::memset(bitmap.ScanLine(y), 0xFF, std::size_t(bitmap.BytesPerLine()));
        }
        const QString path = dir.filePath(QStringLiteral("b%1.jpg").arg(int(format)));
        SaveBitmapAsJpeg(path, bitmap, 100);
        const QImage read = ReadJpegPicture(path);
        ASSERT_EQ(read.size(), QSize(45, 37));
        EXPECT_LT(qGray(read.pixel(20, 5)), 10);
        EXPECT_GT(qGray(read.pixel(20, 30)), 245);
    }
}

// The encoder hands its output over in blocks; a picture of several blocks must arrive
// whole and in order.
TEST(JpegWriter, PictureLargerThanOneOutputBlockArrivesWhole)
{
    QImage noise(400, 300, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, random.generate() | 0xFF000000u);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("шум.jpg"));
    SaveImageAsJpeg(path, noise, 100);
    EXPECT_GT(QFileInfo(path).size(), 3 * 64 * 1024);
    EXPECT_EQ(ReadJpegPicture(path).size(), noise.size());
}

TEST(JpegWriter, QualityIsHonouredAndDefaultsToSeventyFive)
{
    QImage gradient(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            gradient.setPixel(x, y, qRgb(x * 4, y * 4, (x * y) % 256));
    const QByteArray low = ToJpeg(gradient, 10);
    const QByteArray standard = ToJpeg(gradient);
    const QByteArray best = ToJpeg(gradient, 100);
    EXPECT_EQ(standard, ToJpeg(gradient, 75));
    EXPECT_LT(low.size(), standard.size());
    EXPECT_LT(standard.size(), best.size());
}

// A JPEG export said nothing of its resolution (the JFIF header held density 1:1, no
// unit), where its BMP and TIFF twins say 300 dots per inch.
TEST(JpegWriter, JfifHeaderStatesTheDensity)
{
    struct Case {
        const char* Name;
        int Dpi;          // -1: the default
        int Unit, Density;
    };
    const Case cases[] = {
        {"the export's default", -1, 1, 300},
        {"600 dots per inch", 600, 1, 600},
        {"the largest", 65535, 1, 65535},
        {"none stated", 0, 0, 1},
    };
    const QString identify = QStandardPaths::findExecutable(QStringLiteral("identify"));
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString path = dir.filePath(QStringLiteral("план.jpg"));
        if (c.Dpi < 0)
            SaveImageAsJpeg(path, Quarters(QImage::Format_RGB32));
        else
            SaveImageAsJpeg(path, Quarters(QImage::Format_RGB32), DefaultJpegQuality, c.Dpi);
        // SOI, then APP0: length, "JFIF\0", version 1.x, unit, X and Y density.
        const QByteArray b = FileBytes(path);
        ASSERT_GE(b.size(), 18);
        EXPECT_EQ(b.left(4), QByteArray("\xFF\xD8\xFF\xE0", 4));
        EXPECT_EQ(b.mid(6, 5), QByteArray("JFIF\0", 5));
        const auto u16 = [&](int at) { return int(std::uint8_t(b[at])) << 8 | std::uint8_t(b[at + 1]); };
        EXPECT_EQ(int(b[13]), c.Unit);
        EXPECT_EQ(u16(14), c.Density);
        EXPECT_EQ(u16(16), c.Density);
        if (identify.isEmpty() || c.Unit != 1)
            continue;
        // ImageMagick, as a surveyor's other tools, reads the same resolution.
        QProcess p;
        p.start(identify, {QStringLiteral("-format"), QStringLiteral("%x %y %U"), path});
        ASSERT_TRUE(p.waitForFinished(30000));
        const QString said = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
        EXPECT_EQ(said, QStringLiteral("%1 %1 PixelsPerInch").arg(c.Density)) << p.readAllStandardError().toStdString();
    }
    if (identify.isEmpty())
        GTEST_SKIP() << "ImageMagick's identify is not installed: the header was checked by hand only";
}

TEST(JpegWriter, RefusedPictureLeavesTheFileAsItWas)
{
    struct Case {
        const char* Name;
        QImage Image;
        int Quality;
        const char* Reason;
        int Dpi = DefaultJpegDotsPerInch;
    };
    const Case cases[] = {
        {"empty", QImage(), 75, "рисунок пуст"},
        {"too wide", QImage(65501, 1, QImage::Format_Mono), 75, "65500"},
        {"too tall", QImage(1, 65501, QImage::Format_Mono), 75, "65500"},
        {"quality 0", Quarters(QImage::Format_RGB32), 0, "качество JPEG 0"},
        {"quality 101", Quarters(QImage::Format_RGB32), 101, "качество JPEG 101"},
        {"density past 16 bits", Quarters(QImage::Format_RGB32), 75, "разрешение 65536 точек", 65536},
        {"negative density", Quarters(QImage::Format_RGB32), 75, "разрешение -1 точек", -1},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.jpg"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("old");
        }
        try {
            SaveImageAsJpeg(path, c.Image, c.Quality, c.Dpi);
            ADD_FAILURE() << "not refused";
        } catch (const EInvalidGraphic& e) {
            EXPECT_TRUE(e.Message.startsWith(QStringLiteral("Рисунок JPEG \"%1\" не записан: ").arg(path)))
                << e.Message.toStdString();
            EXPECT_TRUE(e.Message.contains(QString::fromUtf8(c.Reason))) << e.Message.toStdString();
        }
        EXPECT_EQ(FileBytes(path), "old");
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        EXPECT_THROW(WriteJpegToStream(buffer, c.Image, c.Quality, c.Dpi), EInvalidGraphic);
        EXPECT_TRUE(buffer.data().isEmpty());
    }
}

TEST(JpegWriter, FailingStreamRaisesInsteadOfEndingTheProgram)
{
    QFile full(QStringLiteral("/dev/full"));
    if (!full.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        GTEST_SKIP() << "no /dev/full";
    try {
        WriteJpegToStream(full, Quarters(QImage::Format_RGB32), 100);
        ADD_FAILURE() << "a full device took the picture";
    } catch (const EPictureError& e) {
        EXPECT_TRUE(e.Message.startsWith(QStringLiteral("Рисунок JPEG не записан: ошибка записи")))
            << e.Message.toStdString();
    }

    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_THROW(WriteJpegToStream(readOnly, Quarters(QImage::Format_RGB32)), EPictureError);
}

TEST(JpegWriter, FileThatCannotBeCreatedIsNamed)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("нет папки/снимок.jpg"));
    try {
        SaveImageAsJpeg(path, Quarters(QImage::Format_RGB32));
        ADD_FAILURE() << "written into a missing folder";
    } catch (const EPictureError& e) {
        EXPECT_TRUE(e.Message.startsWith(
            QStringLiteral("Рисунок JPEG \"%1\" не записан: не удается создать файл").arg(path)))
            << e.Message.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(path));
}
