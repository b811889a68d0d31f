// The registry: a picture is read by the reader of its file's extension, whatever the
// letters' case and whatever the file holds, and later formats join the same table.
#include "ImagingTestSupport.h"

namespace {

QImage FourByTwo(const QString&)
{
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    return image;
}

const TGraphicClass FourByTwoClass{QStringLiteral("TFourByTwo"), &FourByTwo};

class PictureRegistry : public PictureFiles {};

}  // namespace

TEST_F(PictureRegistry, BuiltInFormatsAreBmpAndJpeg)
{
    const QStringList extensions = RegisteredPictureExtensions();
    for (const char* ext : {"bmp", "jpg", "jpeg"})
        EXPECT_TRUE(extensions.contains(QLatin1String(ext))) << ext;
    EXPECT_TRUE(PictureFormatRegistered(QStringLiteral("JPG")));
    EXPECT_FALSE(PictureFormatRegistered(QStringLiteral("xyz")));
}

TEST_F(PictureRegistry, ExtensionChoosesTheReaderLetterCaseIgnored)
{
    TBmpBytes bmp;
    bmp.Width = 2;
    bmp.Height = 1;
    bmp.Pixels = QByteArray(8, '\0');
    EXPECT_EQ(LoadPictureFile(Write(QStringLiteral("Лист 1.BmP"), bmp.Bytes())).size(), QSize(2, 1));

    FileFormatList().AddFormat(QStringLiteral("TeSt"), QStringLiteral("Test images"), QString(), ftRaster,
                               false, &FourByTwoClass);
    EXPECT_TRUE(PictureFormatRegistered(QStringLiteral("test")));
    EXPECT_EQ(LoadPictureFile(Write(QStringLiteral("a.TEST"), QByteArray("anything"))).size(),
              QSize(4, 2));
    FileFormatList().RemoveFormat(QString(), &FourByTwoClass);
    EXPECT_FALSE(PictureFormatRegistered(QStringLiteral("test")));
}

TEST_F(PictureRegistry, UnknownExtensionAndMissingFileAreRefused)
{
    const QString unknown = Write(QStringLiteral("scan.xyz"), QByteArray("BM"));
    EXPECT_EQ(PictureErrorOf(unknown),
              QStringLiteral("Неизвестное расширение файла рисунка (.xyz): \"%1\"").arg(unknown));
    const QString none = Write(QStringLiteral("noextension"), QByteArray("BM"));
    EXPECT_TRUE(PictureErrorOf(none).startsWith(QStringLiteral("Неизвестное расширение файла рисунка (.)")));
    const QString missing = Dir.path() + QStringLiteral("/missing.bmp");
    EXPECT_TRUE(PictureErrorOf(missing).startsWith(
        QStringLiteral("Не удается открыть файл рисунка \"%1\"").arg(missing)));
}

// Guards a fault: a Targa reader handed a file of another format (or a Targa of no
// pixels) gave an empty picture, which the caller took for a loaded underlay.
TEST_F(PictureRegistry, FileOfAnotherFormatOrOfNoPixelsIsRefused)
{
    TBmpBytes bmp;
    bmp.Width = 2;
    bmp.Height = 1;
    bmp.Pixels = QByteArray(8, '\0');
    QByteArray emptyTarga(18, '\0');
    emptyTarga[2] = 2;    // true colour, 0 x 0 pixels
    emptyTarga[16] = 24;
    const struct {
        const char* Name;
        QByteArray Bytes;
    } cases[] = {{"bitmap.icb", bmp.Bytes()}, {"bitmap.tga", bmp.Bytes()}, {"empty.tga", emptyTarga}};
    for (const auto& c : cases) {
        const QString path = Write(QString::fromUtf8(c.Name), c.Bytes);
        EXPECT_EQ(PictureErrorOf(path), QStringLiteral("Файл рисунка \"%1\" поврежден: изображения в нем нет").arg(path))
            << c.Name;
    }
}
