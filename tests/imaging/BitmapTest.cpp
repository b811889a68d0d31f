// The bitmap the readers fill: each row layout lands in the QImage that is drawn, 4-bit
// rows expand to 8 bits, and alpha never shows when a raster is drawn.
#include "ImagingTestSupport.h"

#include "imaging/AcquireImage.h"
#include "imaging/ImageGraphic.h"

#include <QBuffer>
#include <QPainter>

#include <cstring>

namespace {

TBitmap Made(TPixelFormat format, int width, int height)
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(format);
    bitmap.SetSize(width, height);
    return bitmap;
}

}  // namespace

TEST(Bitmap, EachLayoutLandsInTheImageDrawn)
{
    struct Case {
        TPixelFormat format;
        QImage::Format image;
        std::vector<std::uint8_t> row;  // the first pixel as a reader writes it
        QRgb pixel;
    };
    const Case cases[] = {
        {pf1bit, QImage::Format_Mono, {0x80}, qRgb(255, 255, 255)},
        {pf8bit, QImage::Format_Indexed8, {255}, qRgb(255, 255, 255)},
        {pf15bit, QImage::Format_RGB555, {0x00, 0x7C}, qRgb(255, 0, 0)},
        {pf16bit, QImage::Format_RGB16, {0xE0, 0x07}, qRgb(0, 255, 0)},
        {pf24bit, QImage::Format_BGR888, {30, 20, 10}, qRgb(10, 20, 30)},
        {pf32bit, QImage::Format_RGB32, {30, 20, 10, 255}, qRgb(10, 20, 30)},
        {pfDevice, QImage::Format_RGB32, {30, 20, 10, 255}, qRgb(10, 20, 30)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.format));
        TBitmap bitmap = Made(c.format, 3, 2);
        std::memcpy(bitmap.ScanLine(1), c.row.data(), c.row.size());
        const QImage& image = bitmap.Image();
        EXPECT_EQ(image.format(), c.image);
        EXPECT_EQ(image.pixel(0, 1), c.pixel);
        EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    }
    TBitmap custom;
    custom.SetPixelFormat(pfCustom);
    EXPECT_THROW(custom.SetSize(2, 2), EInvalidGraphic);
}

TEST(Bitmap, FourBitRowsExpandToEightBitsKeepingWhatIsNotRewritten)
{
    TBitmap bitmap = Made(pf4bit, 3, 2);
    bitmap.SetColorTable({qRgb(0, 0, 0), qRgb(1, 1, 1)});
    EXPECT_EQ(bitmap.BytesPerLine(), 2);
    bitmap.ScanLine(0)[0] = 0x1F;
    bitmap.ScanLine(0)[1] = 0x20;  // the same row again: handed out as written
    std::uint8_t* second = bitmap.ScanLine(1);
    second[0] = 0x34;
    second[1] = 0x50;
    std::uint8_t* first = bitmap.ScanLine(0);
    EXPECT_EQ(first[0], 0x1F);
    first[0] = std::uint8_t((first[0] & 0xF0) | 0x0A);  // one pixel of an interlace pass
    const QImage& image = bitmap.Image();
    ASSERT_EQ(image.format(), QImage::Format_Indexed8);
    EXPECT_EQ(image.pixelIndex(0, 0), 1);
    EXPECT_EQ(image.pixelIndex(1, 0), 10);
    EXPECT_EQ(image.pixelIndex(2, 0), 2);
    EXPECT_EQ(image.pixelIndex(0, 1), 3);
    EXPECT_EQ(image.pixelIndex(2, 1), 5);
    ASSERT_EQ(image.colorCount(), 16);
    EXPECT_EQ(image.color(1), qRgb(1, 1, 1));
    EXPECT_EQ(image.color(15), qRgb(0, 0, 0));
}

TEST(Bitmap, ColourTableMayComeBeforeTheSize)
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf8bit);
    bitmap.SetColorTable({qRgb(9, 8, 7)});
    bitmap.SetSize(2, 2);
    EXPECT_EQ(bitmap.Image().pixel(0, 0), qRgb(9, 8, 7));
    TBitmap grey = Made(pf8bit, 1, 1);
    grey.ScanLine(0)[0] = 128;
    EXPECT_EQ(grey.Image().pixel(0, 0), qRgb(128, 128, 128));
}

TEST(Bitmap, RastersAreDrawnIgnoringAlpha)
{
    TBitmap bitmap = Made(pf32bit, 4, 4);
    for (int y = 0; y < 4; ++y) {
        std::uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < 4; ++x) {
            const std::uint8_t pixel[4] = {200, 100, 50, 0};  // fully transparent in the file
            std::memcpy(row + 4 * x, pixel, 4);
        }
    }
    QImage canvas(8, 8, QImage::Format_RGB32);
    canvas.fill(qRgb(255, 255, 255));
    {
        QPainter painter(&canvas);
        painter.drawImage(QPoint(0, 0), bitmap.Image());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(4, 4, 4, 4), bitmap.Image(), QRect(0, 0, 2, 2));
    }
    EXPECT_EQ(canvas.pixel(1, 1), qRgb(50, 100, 200));
    EXPECT_EQ(canvas.pixel(6, 6), qRgb(50, 100, 200));
}

TEST_F(PictureFiles, BitmapTooLargeForMemoryIsRefusedByName)
{
    SetPictureMemoryLimit(1000);
    TBitmap bitmap;
    bitmap.Name = QStringLiteral("scan.tif");
    try {
        bitmap.SetSize(1000, 1000);
        ADD_FAILURE();
    } catch (const EPictureError& e) {
        EXPECT_TRUE(e.Message.startsWith(QStringLiteral("Рисунок \"scan.tif\" размером 1000×1000"))) << e.what();
    }
}

namespace {

// A reader of a made-up format: "GREY", width and height bytes, then grey rows. It shows
// how a reader class fills the bitmap through its colour manager and joins the registry.
class TGreyGraphic : public TImageGraphic {
public:
    bool ProbeStream(QIODevice& stream) override
    {
        const qint64 start = stream.pos();
        const bool ours = stream.read(4) == "GREY";
        stream.seek(start);
        return ours;
    }
    bool ReadImageInfo(QIODevice& stream, unsigned imageIndex) override
    {
        TImageGraphic::ReadImageInfo(stream, imageIndex);
        const QByteArray header = stream.read(6);
        if (header.size() < 6 || !header.startsWith("GREY"))
            return false;
        ImageProperties.Width = std::uint8_t(header[4]);
        ImageProperties.Height = std::uint8_t(header[5]);
        ImageProperties.ColorScheme = cmGray;
        ImageProperties.BitsPerSample = 8;
        return true;
    }
    void LoadFromStream(QIODevice& stream) override
    {
        if (!ReadImageInfo(stream, 0))
            RaiseGraphicError(QStringLiteral("Not a grey image."));
        TColorManager& colors = ColorManager();
        colors.SetSourceModel(cmGray);
        colors.SetTargetModel(cmGray);
        colors.SetSourceSamples(1);
        colors.SetTargetSamples(1);
        SetPixelFormat(colors.PixelFormatFor(1));
        SetColorTable(colors.BuildGrayPalette(false));
        SetSize(ImageProperties.Width, ImageProperties.Height);
        for (int y = 0; y < ImageProperties.Height; ++y) {
            const QByteArray row = stream.read(ImageProperties.Width);
            const void* source[] = {row.constData()};
            colors.ConvertLine(source, ScanLine(y), unsigned(row.size()));
        }
    }
};

const TGraphicClass GreyClass{QStringLiteral("TGreyGraphic"), &ReadPictureWith<TGreyGraphic>,
                              [] { return std::unique_ptr<TImageGraphic>(new TGreyGraphic); }};

}  // namespace

TEST_F(PictureFiles, ImageGraphicReadsThroughTheRegistry)
{
    const QString path = Write(QStringLiteral("a.grey"), QByteArray("GREY\x02\x01\x10\xF0", 8));
    FileFormatList().AddFormat(QStringLiteral("grey"), QStringLiteral("Grey images"), QString(), ftRaster,
                               false, &GreyClass);
    const QImage image = LoadPictureFile(path);
    FileFormatList().RemoveFormat(QString(), &GreyClass);
    ASSERT_EQ(image.size(), QSize(2, 1));
    EXPECT_EQ(image.format(), QImage::Format_Indexed8);
    EXPECT_EQ(image.pixel(0, 0), qRgb(16, 16, 16));
    EXPECT_EQ(image.pixel(1, 0), qRgb(240, 240, 240));

    auto graphic = GreyClass.Create();
    EXPECT_TRUE(graphic->ProbeFile(path));
    EXPECT_FALSE(graphic->ProbeFile(Dir.path() + QStringLiteral("/missing.grey")));
    TImageGraphic base;
    EXPECT_FALSE(base.ProbeFile(path));
}

TEST(ImageGraphic, BaseClearsThePropertiesAndAssignCopiesThemFirst)
{
    TImageGraphic source;
    source.ImageProperties.Width = 5;
    source.ImageProperties.RowsPerStrip = {1, 2};
    source.ImageProperties.FileGamma = 2.0f;
    source.SetPixelFormat(pf24bit);
    source.SetSize(5, 1);
    TImageGraphic copy;
    copy.Assign(source);
    EXPECT_EQ(copy.ImageProperties.RowsPerStrip, (std::vector<std::uint32_t>{1, 2}));
    EXPECT_EQ(copy.Width(), 5);
    EXPECT_EQ(copy.PixelFormat(), pf24bit);

    QBuffer empty;
    empty.open(QIODevice::ReadOnly);
    EXPECT_FALSE(copy.ReadImageInfo(empty, 0));
    EXPECT_EQ(copy.ImageProperties.Width, 0);
    EXPECT_TRUE(copy.ImageProperties.RowsPerStrip.empty());
    EXPECT_FLOAT_EQ(copy.ImageProperties.FileGamma, 1.0f);
    EXPECT_THROW(copy.LoadFromStream(empty), EInvalidGraphic);
}

TEST(AcquireImage, OnlyItsIdentity)
{
    const TAcquireImage scanner;
    for (const QString& text : {scanner.Manufacturer, scanner.ProductFamily, scanner.ProductName, scanner.VersionInfo})
        EXPECT_EQ(text, QStringLiteral("none"));
    EXPECT_TRUE(scanner.ShowUI);
}
