// What the readers share: byte order, undoing horizontal differences, chroma upsampling,
// and the libjpeg error glue (errors raised outside libjpeg's frames, warnings to a sink).
#include "ImagingTestSupport.h"

#include "imaging/ImageGraphic.h"
#include "imaging/JpegGlue.h"

#include <jerror.h>

#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;

// Reads the header of a JPEG held in bytes; false when libjpeg failed. No object here has
// a destructor, so libjpeg's jump out of its frames skips nothing.
bool ReadJpegHeader(const TBytes* bytes, RJpegErrorManager* error, jpeg_decompress_struct* info)
{
    info->err = JpegErrorManager(*error);
    if (setjmp(error->Jump))
        return false;
    jpeg_create_decompress(info);
    jpeg_mem_src(info, bytes->data(), static_cast<unsigned long>(bytes->size()));
    jpeg_read_header(info, TRUE);
    return true;
}

// The header of bytes read through the glue: "" or the error raised.
QString JpegHeaderError(const TBytes& bytes)
{
    RJpegErrorManager error;
    jpeg_decompress_struct info{};
    const bool read = ReadJpegHeader(&bytes, &error, &info);
    jpeg_destroy_decompress(&info);
    if (read)
        return QString();
    try {
        RaiseJpegError(error);
    } catch (const EInvalidGraphic& e) {
        return e.Message;
    }
    return QStringLiteral("not raised");
}

TBytes SmallJpeg()
{
    QImage image(8, 8, QImage::Format_RGB888);
    image.fill(qRgb(10, 200, 30));
    const QByteArray bytes = EncodeJpeg(image);
    return TBytes(bytes.begin(), bytes.end());
}

}  // namespace

TEST(ReaderHelpers, SwapsReverseByteOrderInPlace)
{
    TBytes words{1, 2, 3, 4, 5, 6};
    SwapWords(words.data(), 2);
    EXPECT_EQ(words, (TBytes{2, 1, 4, 3, 5, 6}));
    TBytes longs{1, 2, 3, 4, 5, 6, 7, 8};
    SwapLongs(longs.data(), 1);
    EXPECT_EQ(longs, (TBytes{4, 3, 2, 1, 5, 6, 7, 8}));
    EXPECT_EQ(SwapLong(0x12345678u), 0x78563412u);
}

TEST(ReaderHelpers, HorizontalDifferencesAreUndoneWrapping)
{
    TBytes one{10, 250, 10, 99};
    Depredict1(one.data(), 2);
    EXPECT_EQ(one, (TBytes{10, 4, 14, 99}));
    TBytes three{1, 2, 3, 1, 1, 255, 2, 2, 2, 99};
    Depredict3(three.data(), 2);
    EXPECT_EQ(three, (TBytes{1, 2, 3, 2, 3, 2, 4, 5, 4, 99}));
    TBytes four{1, 2, 3, 4, 1, 1, 1, 1, 99};
    Depredict4(four.data(), 1);
    EXPECT_EQ(four, (TBytes{1, 2, 3, 4, 2, 3, 4, 5, 99}));
}

TEST(ReaderHelpers, UpsamplePlaneDoublesByRoundedMeans)
{
    // Two by two samples, rows 5 bytes apart: room for four rows of four.
    TBytes plane(20, 0xEE);
    plane[0] = 10;
    plane[1] = 21;
    plane[5] = 30;
    plane[6] = 40;
    UpsamplePlane(2, 2, 5, plane.data());
    const TBytes expected{10, 16, 21, 21, 0xEE,   // source row 0, odd columns the means
                          20, 25, 31, 31, 0xEE,   // (10+30+1)/2, (10+21+30+40+2)/4, ...
                          30, 35, 40, 40, 0xEE,   // source row 1
                          30, 35, 40, 40, 0xEE};  // the last row repeats the one above
    EXPECT_EQ(plane, expected);

    TBytes single{7, 0, 0, 0};
    UpsamplePlane(1, 1, 2, single.data());
    EXPECT_EQ(single, (TBytes{7, 7, 7, 7}));
}

TEST(JpegGlue, FatalErrorIsRaisedWithTheLibraryCode)
{
    EXPECT_EQ(JpegHeaderError(SmallJpeg()), QString());
    EXPECT_EQ(JpegHeaderError({0x00, 0x01, 0x02, 0x03}), QStringLiteral("JPEG error #%1").arg(JERR_NO_SOI));
    TBytes cut = SmallJpeg();
    cut.resize(20);
    EXPECT_TRUE(JpegHeaderError(cut).startsWith(QStringLiteral("JPEG error #")));
}

TEST_F(PictureFiles, JpegWarningsGoToTheSinkOncePerDecode)
{
    QStringList warnings;
    const TJpegWarningSink previous = SetJpegWarningSink([&](const QString& text) { warnings.append(text); });
    // Stray bytes between two markers: libjpeg warns and reads on.
    TBytes stray = SmallJpeg();
    stray.insert(stray.begin() + 2, {0x00, 0x00});
    stray.insert(stray.begin() + 22, {0x11});
    EXPECT_EQ(JpegHeaderError(stray), QString());
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("extraneous bytes"))) << warnings[0].toStdString();

    // The picture reader shares the glue: it warns the same way and still loads.
    warnings.clear();
    const QString path = Write(QStringLiteral("stray.jpg"),
                               QByteArray(reinterpret_cast<const char*>(stray.data()), qsizetype(stray.size())));
    EXPECT_EQ(LoadPictureFile(path).size(), QSize(8, 8));
    EXPECT_EQ(warnings.size(), 1);

    // A sink that throws must not unwind through libjpeg.
    SetJpegWarningSink([](const QString&) { throw std::runtime_error("sink"); });
    EXPECT_EQ(JpegHeaderError(stray), QString());
    SetJpegWarningSink(previous);
}
