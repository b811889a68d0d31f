// The fixtures of tests/fixtures/imaging/formats (make_formats.sh): pictures written and
// decoded by independent tools, with the pixels each reader must show.
#pragma once

#include "ImagingTestSupport.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

inline QString FormatFixture(const QString& name)
{
    return QStringLiteral(VELMORA_TEST_FIXTURES "/imaging/formats/") + name;
}

inline QByteArray FixtureBytes(const QString& name)
{
    QFile file(FormatFixture(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The picture of a <name>.rgb file: width, height, then R,G,B bytes per pixel.
inline QImage ExpectedPicture(const QString& rgbName)
{
    return RgbPicture(FixtureBytes(rgbName));
}

// Empty when the pictures agree within tolerance, else where they differ first.
inline std::string PictureDifference(const QImage& got, const QImage& expected, int tolerance)
{
    if (got.size() != expected.size())
        return "size differs";
    const QImage a = got.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb g = a.pixel(x, y);
            const QRgb e = expected.pixel(x, y);
            if (std::max({std::abs(qRed(g) - qRed(e)), std::abs(qGreen(g) - qGreen(e)),
                          std::abs(qBlue(g) - qBlue(e))}) > tolerance)
                return "pixel " + std::to_string(x) + "," + std::to_string(y) + " is " + std::to_string(qRed(g))
                    + "," + std::to_string(qGreen(g)) + "," + std::to_string(qBlue(g)) + ", expected "
                    + std::to_string(qRed(e)) + "," + std::to_string(qGreen(e)) + "," + std::to_string(qBlue(e));
        }
    return std::string();
}

struct RFixtureCase {
    const char* File;      // the picture
    const char* Expected;  // its .rgb
    int Tolerance;         // 16-bit samples may round either way
};

inline void PrintTo(const RFixtureCase& c, std::ostream* os)
{
    *os << c.File;
}

// Each case loads its picture by the extension and compares it with the expected pixels
// (the test is in PngReaderTest.cpp; each reader's test file gives its cases).
class FormatFixtureTest : public ::testing::TestWithParam<RFixtureCase> {};

// Every prefix of the file and many single-bit flips: each load gives a picture or a
// picture error, nothing worse (run under AddressSanitizer to see the rest).
inline void ExpectDamageIsRefusedCleanly(const QString& fixture, const QString& extension, int flips)
{
    const QByteArray original = FixtureBytes(fixture);
    ASSERT_FALSE(original.isEmpty()) << fixture.toStdString();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("damaged.") + extension);
    const auto attempt = [&](const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        try {
            LoadPictureFile(path);
        } catch (const EPictureError& e) {
            EXPECT_FALSE(e.Message.isEmpty());
        }
    };
    // A flipped header may claim any size; keep what a copy may allocate small.
    SetPictureMemoryLimit(16 * 1024 * 1024);
    for (qsizetype size = 0; size < original.size(); ++size)
        attempt(original.left(size));
    std::srand(7);
    for (int i = 0; i < flips; ++i) {
        QByteArray bytes = original;
        const qsizetype at = std::rand() % bytes.size();
        bytes[at] = char(bytes[at] ^ (1 << (std::rand() % 8)));
        attempt(bytes);
    }
    SetPictureMemoryLimit(0);
}
