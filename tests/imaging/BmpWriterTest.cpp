// The raster export's bitmap writer and its colour reduction: every depth read back by
// our reader, by Qt's own and, when ImageMagick is installed, by identify; the palettes'
// nearest colours; a failed write leaving the old file whole.
#include "imaging/BmpWriter.h"
#include "imaging/DepthReducer.h"
#include "imaging/ImageGraphic.h"
#include "imaging/PictureReaders.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

#include <unistd.h>

namespace {

// A picture with the colours a plan holds: white ground, black and coloured lines, a grey.
QImage PlanLikePicture(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int x = 0; x < w; ++x) {
        img.setPixel(x, 1, qRgb(0, 0, 0));
        img.setPixel(x, 3, qRgb(255, 0, 0));
        img.setPixel(x, 5, qRgb(0, 128, 0));
    }
    for (int y = 0; y < h; ++y)
        img.setPixel(w - 2, y, qRgb(0, 0, 255));
    img.setPixel(0, h - 1, qRgb(128, 128, 128));
    return img;
}

struct RDepthCase {
    int Bits;
    const char* IdentifyDepth;   // identify's %z of the file
};
// ImageMagick reads 5-bit channels into 8 bits and says so.
const RDepthCase DepthCases[] = {{1, "1"}, {4, "4"}, {8, "8"}, {16, "8"}, {24, "8"}};

}  // namespace

class BmpWriterDepth : public ::testing::TestWithParam<RDepthCase> {};

TEST_P(BmpWriterDepth, ReadsBackAsWrittenEverywhere)
{
    const int bits = GetParam().Bits;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("план.bmp"));
    const QImage src = PlanLikePicture(13, 9);   // odd width: every row is padded
    SaveImageAsBmp(path, src, bits);

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_GE(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(quint8(bytes[28]), bits);
    const int stride = (13 * bits + 31) / 32 * 4;
    const int colours = bits <= 8 ? 1 << bits : 0;
    EXPECT_EQ(bytes.size(), 54 + 4 * colours + stride * 9);

    const TDepthReducer reducer(bits);
    const QImage ours = ReadBmpPicture(path).convertToFormat(QImage::Format_RGB32);
    const QImage qts = QImage(path).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(ours.size(), src.size());
    ASSERT_EQ(qts.size(), src.size());
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 13; ++x) {
            const QRgb want = reducer.Reduced(src.pixel(x, y)) & 0xFFFFFF;
            ASSERT_EQ(ours.pixel(x, y) & 0xFFFFFF, want) << bits << " bits at " << x << ',' << y;
            // Qt widens 5-bit channels by a shift, without repeating the high bits: up to
            // 7 below ours in each channel.
            const QRgb q = qts.pixel(x, y);
            const int slack = bits == 16 ? 7 : 0;
            ASSERT_LE(std::max({std::abs(qRed(q) - qRed(want)), std::abs(qGreen(q) - qGreen(want)),
                                std::abs(qBlue(q) - qBlue(want))}),
                      slack)
                << bits << " bits at " << x << ',' << y;
        }

    const QString identify = QStandardPaths::findExecutable(QStringLiteral("identify"));
    if (identify.isEmpty())
        return;   // ImageMagick is installed by scripts/deps.sh; without it Qt's reader stands in
    QProcess p;
    p.start(identify, {QStringLiteral("-format"), QStringLiteral("%w %h %z"), path});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()).trimmed(),
              QStringLiteral("13 9 ") + QLatin1String(GetParam().IdentifyDepth));
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpWriterDepth, ::testing::ValuesIn(DepthCases));

TEST(DepthReducer, NearestColoursKeepLinesCrisp)
{
    const TDepthReducer one(1), four(4), eight(8), sixteen(16), full(24);
    // 1 bit: the frame grey of the 250 m sheets is nearer white, a dark green line black.
    EXPECT_EQ(one.Reduced(qRgb(0xBC, 0xC4, 0xC5)), qRgb(255, 255, 255));
    EXPECT_EQ(one.Reduced(qRgb(0, 100, 0)), qRgb(0, 0, 0));
    // 4 bits: the standard colours stay themselves, a near red goes to red.
    EXPECT_EQ(four.Reduced(qRgb(0, 128, 0)), qRgb(0, 128, 0));
    EXPECT_EQ(four.Reduced(qRgb(250, 10, 5)), qRgb(255, 0, 0));
    // 8 bits: cube colours exact, a grey off the cube goes to the grey ramp.
    EXPECT_EQ(eight.Reduced(qRgb(51, 102, 255)), qRgb(51, 102, 255));
    const QRgb g = eight.Reduced(qRgb(120, 120, 120));
    EXPECT_EQ(qRed(g), qGreen(g));
    EXPECT_LE(std::abs(qRed(g) - 120), 4);
    EXPECT_EQ(eight.Palette().size(), 256);
    // 16 bits: white and black exact.
    EXPECT_EQ(sixteen.Reduced(qRgb(255, 255, 255)), qRgb(255, 255, 255));
    EXPECT_EQ(sixteen.Reduced(qRgb(0, 0, 0)), qRgb(0, 0, 0));
    EXPECT_EQ(full.Reduced(qRgb(1, 2, 3)), qRgb(1, 2, 3));
    EXPECT_THROW(TDepthReducer(2), EInvalidGraphic);
}

TEST(BmpWriter, RefusesAndFailsWithoutHarm)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_THROW(WriteBmpToStream(buffer, QImage(), 24), EInvalidGraphic);
    EXPECT_THROW(WriteBmpToStream(buffer, PlanLikePicture(8, 8), 12), EInvalidGraphic);
    EXPECT_EQ(buffer.size(), 0);

    // A stream that stops taking bytes half way.
    struct TFullDevice : QBuffer {
        qint64 writeData(const char* data, qint64 len) override
        {
            return size() > 100 ? -1 : QBuffer::writeData(data, len);
        }
    } full;
    full.open(QIODevice::WriteOnly);
    EXPECT_THROW(WriteBmpToStream(full, PlanLikePicture(40, 40), 24), EPictureError);

    // A file that cannot be made (its folder is a file; or, when not run as root, a
    // folder without write permission): the old file there stays whole, nothing is added.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.bmp"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old contents");
    }
    EXPECT_THROW(SaveImageAsBmp(path + QStringLiteral("/new.bmp"), PlanLikePicture(8, 8), 24), EPictureError);
    if (geteuid() != 0) {
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_THROW(SaveImageAsBmp(path, PlanLikePicture(8, 8), 24), EPictureError);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old contents"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}
