// Damaged files of every built-in format: whatever bytes a broken disk or a cut
// download leaves, a read either gives a picture or raises its message; it never
// reads past the file, crashes or ends the program.
#include "ImagingTestSupport.h"

#include <random>

namespace {

class PictureDamage : public PictureFiles {
protected:
    // Reads count copies of bytes, each with a few bytes overwritten or the tail cut.
    void ReadDamaged(const QString& name, const QByteArray& bytes, int count)
    {
        std::mt19937 random(20240611);
        // A damaged header may claim any size; keep what a copy may allocate small.
        SetPictureMemoryLimit(16 * 1024 * 1024);
        for (int i = 0; i < count; ++i) {
            QByteArray damaged = bytes;
            const int changes = 1 + int(random() % 4);
            for (int k = 0; k < changes; ++k)
                damaged[qsizetype(random() % std::uint32_t(damaged.size()))] = char(random());
            if (random() % 4 == 0)
                damaged.truncate(qsizetype(random() % std::uint32_t(damaged.size())));
            const QString path = Write(name, damaged);
            try {
                const QImage image = LoadPictureFile(path);
                EXPECT_FALSE(image.isNull());
            } catch (const EPictureError& e) {
                EXPECT_TRUE(e.Message.contains(path)) << e.Message.toStdString();
            }
        }
    }
};

}  // namespace

TEST_F(PictureDamage, DamagedBmpFilesReadOrRaise)
{
    TBmpBytes plain;
    plain.BitCount = 8;
    plain.Width = 5;
    plain.Height = 3;
    plain.ColorsUsed = 4;
    plain.Palette = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    plain.Pixels = QByteArray(24, '\x01');
    ReadDamaged(QStringLiteral("plain.bmp"), plain.Bytes(), 400);

    TBmpBytes coded = plain;
    coded.Compression = 1;
    coded.Pixels = ByteList({5, 1, 0, 0, 0, 5, 1, 2, 3, 2, 1, 0, 0, 2, 2, 0, 3, 2, 0, 1});
    ReadDamaged(QStringLiteral("coded.bmp"), coded.Bytes(), 400);

    TBmpBytes masked;
    masked.HeaderSize = 108;
    masked.BitCount = 16;
    masked.Compression = 3;
    masked.Masks = {0xF800, 0x07E0, 0x001F};
    masked.Width = 3;
    masked.Height = 2;
    masked.Pixels = QByteArray(16, '\x55');
    ReadDamaged(QStringLiteral("masked.bmp"), masked.Bytes(), 400);
}

TEST_F(PictureDamage, DamagedJpegFilesReadOrRaise)
{
    QImage image(24, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x)
            image.setPixel(x, y, qRgb(10 * x, 15 * y, 100));
    ReadDamaged(QStringLiteral("photo.jpg"), EncodeJpeg(image), 400);
}
