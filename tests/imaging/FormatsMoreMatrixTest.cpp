// The SGI, RLA, Photoshop, Paint Shop Pro, Photo-CD, portable map and EPS readers against
// files netpbm, ImageMagick and Pillow wrote and Pillow decoded again, and hand-made files
// of the variants no tool writes (tests/fixtures/imaging/formats_more, made by
// make_formats_more.sh). Each file is loaded by its extension, as the plan loads a raster.
#include "ImagingTestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

QString MoreFixture(const QString& name)
{
    return QStringLiteral(VELMORA_TEST_FIXTURES "/imaging/formats_more/") + name;
}

// The file's bytes; a name ending in ".qz" is unpacked (qCompress layout).
QByteArray FixtureBytes(const QString& name)
{
    QFile file(MoreFixture(name));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    const QByteArray bytes = file.readAll();
    return name.endsWith(QStringLiteral(".qz")) ? qUncompress(bytes) : bytes;
}

struct RMoreCase {
    const char* Name;
    // Lossless files must match exactly. CMYK and Photo-CD YCC go through other programs'
    // colour formulas: Pillow's Photo-CD colours differ from the colour manager's by up to
    // 77, so there the test guards only the layout of rows and planes (the geometry is
    // checked exactly on hand-made packs).
    int Tolerance;
    bool Packed = false;   // the file and its reference are stored compressed
    // Only where the reference is flat for 4 pixels around: chroma upsampling differs
    // between readers at colour edges.
    bool FlatOnly = false;
};

// Whether the reference has no colour step near pixel x, y.
bool FlatAround(const uchar* e, int width, int height, int x, int y)
{
    const uchar* centre = e + 4 + 3 * (y * width + x);
    for (int dy = -4; dy <= 4; ++dy)
        for (int dx = -4; dx <= 4; ++dx) {
            const int nx = std::clamp(x + dx, 0, width - 1);
            const int ny = std::clamp(y + dy, 0, height - 1);
            const uchar* p = e + 4 + 3 * (ny * width + nx);
            for (int k = 0; k < 3; ++k)
                if (std::abs(p[k] - centre[k]) > 8)
                    return false;
        }
    return true;
}

class FormatsMoreMatrix : public ::testing::TestWithParam<RMoreCase> {};

TEST_P(FormatsMoreMatrix, LoadsTheReferencePixels)
{
    const RMoreCase c = GetParam();
    const QString name = QString::fromLatin1(c.Name);
    const QString suffix = c.Packed ? QStringLiteral(".qz") : QString();
    const QByteArray expected = FixtureBytes(name + QStringLiteral(".expected") + suffix);
    ASSERT_GT(expected.size(), 4);
    const auto* e = reinterpret_cast<const uchar*>(expected.constData());
    const int width = e[0] | e[1] << 8;
    const int height = e[2] | e[3] << 8;
    ASSERT_EQ(expected.size(), 4 + 3 * width * height);

    QString path = MoreFixture(name);
    QTemporaryDir dir;
    if (c.Packed) {
        path = dir.path() + QLatin1Char('/') + name;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(FixtureBytes(name + suffix));
    }
    QImage image;
    try {
        image = LoadPictureFile(path);
    } catch (const EPictureError& error) {
        FAIL() << error.Message.toStdString();
    }
    ASSERT_EQ(image.size(), QSize(width, height));
    image = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (c.FlatOnly && !FlatAround(e, width, height, x, y))
                continue;
            const uchar* p = e + 4 + 3 * (y * width + x);
            const QRgb got = image.pixel(x, y);
            const int worst = std::max({std::abs(qRed(got) - p[0]), std::abs(qGreen(got) - p[1]),
                                        std::abs(qBlue(got) - p[2])});
            if (worst > c.Tolerance)
                FAIL() << "pixel " << x << "," << y << " is " << qRed(got) << "," << qGreen(got) << ","
                       << qBlue(got) << ", expected " << int(p[0]) << "," << int(p[1]) << "," << int(p[2]);
        }
}

INSTANTIATE_TEST_SUITE_P(
    Files, FormatsMoreMatrix,
    ::testing::Values(
        RMoreCase{"sgi_rgb8_rle.sgi", 0}, RMoreCase{"sgi_rgb8_verbatim.rgb", 0}, RMoreCase{"sgi_grey8_rle.bw", 0},
        RMoreCase{"sgi_rgb16_rle.sgi", 0}, RMoreCase{"sgi_grey16_verbatim.bw", 0},
        RMoreCase{"sgi_rgba8_rle.sgi", 0}, RMoreCase{"sgi_rgba8_verbatim.rgba", 0},
        RMoreCase{"sgi_greyalpha8.sgi", 0}, RMoreCase{"rla_rgb8_matte.rla", 0}, RMoreCase{"rla_rgb8_topdown.rpf", 0},
        RMoreCase{"rla_rgb16.rla", 0}, RMoreCase{"psd_rgb8_packbits.psd", 0}, RMoreCase{"psd_rgb8_raw.psd", 0},
        RMoreCase{"psd_grey8.psd", 0}, RMoreCase{"psd_grey16.pdd", 0}, RMoreCase{"psd_rgb16.psd", 0},
        RMoreCase{"psd_indexed.psd", 0}, RMoreCase{"psd_bitmap.psd", 0}, RMoreCase{"psd_rgba8.psd", 0},
        RMoreCase{"psd_cmyk.psd", 2}, RMoreCase{"psp_v3_rgb_rle.psp", 0}, RMoreCase{"psp_v5_rgb_lz77.psp", 0},
        RMoreCase{"psp_v5_indexed8_raw.psp", 0}, RMoreCase{"pnm_p1.pbm", 0}, RMoreCase{"pnm_p1_width10.pbm", 0},
        RMoreCase{"pnm_p2_comments.pgm", 0}, RMoreCase{"pnm_p3.ppm", 0}, RMoreCase{"pnm_p4.pbm", 0},
        RMoreCase{"pnm_p5.pgm", 0}, RMoreCase{"pnm_p5_max65535.pgm", 0}, RMoreCase{"pnm_p6.ppm", 0},
        RMoreCase{"pnm_p6_max15.ppm", 0}, RMoreCase{"eps_tiff_preview.eps", 0},
        RMoreCase{"pcd_base.pcd", 80, true, true}),
    [](const ::testing::TestParamInfo<RMoreCase>& info) {
        std::string name = info.param.Name;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

}  // namespace
