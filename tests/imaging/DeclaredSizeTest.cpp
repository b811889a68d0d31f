// Every reader against a header that declares more picture than its file holds: the
// file is refused by name before the picture is allocated, so a few hundred bytes can
// no longer take a gigabyte of memory and seconds of work, nor show rows that are not
// there. Each case holds what a damaged or hostile file of that format looks like.
#include "ImagingTestSupport.h"

#include <QFile>

#include <functional>

namespace {

QByteArray Fixture(const char* folder, const char* name)
{
    QFile file(QStringLiteral(VELMORA_TEST_FIXTURES "/imaging/") + QLatin1String(folder) + QLatin1Char('/')
               + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

void SetBig16(QByteArray& b, int at, std::uint32_t v)
{
    b[at] = char(v >> 8);
    b[at + 1] = char(v);
}

void SetBig32(QByteArray& b, int at, std::uint32_t v)
{
    SetBig16(b, at, v >> 16);
    SetBig16(b, at + 2, v & 0xFFFF);
}

void SetLittle16(QByteArray& b, int at, std::uint32_t v)
{
    b[at] = char(v);
    b[at + 1] = char(v >> 8);
}

// An SGI header: verbatim or run-length, bytes a sample, width × height × channels.
QByteArray SgiHeader(bool rle, int width, int height, int channels)
{
    QByteArray b(512, '\0');
    SetBig16(b, 0, 474);
    b[2] = char(rle ? 1 : 0);
    b[3] = 1;
    SetBig16(b, 4, 3);
    SetBig16(b, 6, std::uint32_t(width));
    SetBig16(b, 8, std::uint32_t(height));
    SetBig16(b, 10, std::uint32_t(channels));
    return b;
}

// PNG's chunk check, so that a changed header is still a sound chunk.
std::uint32_t Crc32(const QByteArray& bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= std::uint8_t(c);
        for (int k = 0; k < 8; ++k)
            crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

}  // namespace

TEST_F(PictureFiles, DeclaredSizeTheFileCannotHoldIsRefusedBeforeAllocation)
{
    struct Case {
        const char* Name;
        std::function<QByteArray()> Bytes;
        const char* Message;   // the reason after "поврежден: "
    };
    const Case cases[] = {
        // The outside fuzz run's finding: 524 bytes, 243 × 65,528 in 4 verbatim channels.
        {"verbatim.sgi", [] { return SgiHeader(false, 243, 65528, 4) + QByteArray(12, '\x40'); },
         "рисунок 243×65528 точек требует 63693216 байт данных, а в файле их 12"},
        {"square.sgi", [] { return SgiHeader(false, 16000, 16000, 3) + QByteArray(1, '\0'); },
         "рисунок 16000×16000 точек требует 768000000 байт данных, а в файле их 1"},
        {"table.sgi",
         [] {
             // 1 × 2 grey: two row starts and lengths, the second row past the end.
             QByteArray b = SgiHeader(true, 1, 2, 1);
             for (const std::uint32_t v : {528u, 530u, 2u, 2u})
                 b += QByteArray(4, '\0'), SetBig32(b, int(b.size() - 4), v);
             return b + QByteArray("\x01\x10", 2);
         },
         "таблица строк SGI указывает за конец файла"},
        {"raw.psd",
         [] {
             const QByteArray b = Fixture("formats_more", "psd_rgb8_raw.psd");
             return b.left(b.size() - 100);
         },
         "рисунок 13×7 точек требует 273 байт данных, а в файле их 173"},
        {"packed.psd",
         [] {
             // 13 × 7 in 3 channels: the raw picture's data replaced by a PackBits table
             // of 21 rows of 10 bytes, and 20 bytes of rows.
             QByteArray b = Fixture("formats_more", "psd_rgb8_raw.psd");
             b = b.left(b.size() - 275) + QByteArray("\0\1", 2);
             for (int row = 0; row < 21; ++row)
                 b += QByteArray("\0\x0A", 2);
             return b + QByteArray(20, '\x02');
         },
         "таблица длин строк Photoshop указывает за конец файла"},
        {"strip.tif", [] { return OneStripTiff(1000, 1000, 8, 1, 1, QByteArray(10, '\x7F')); },
         "полоса 1 из 1 лежит за концом файла"},
        {"packed.tif", [] { return OneStripTiff(1000, 1000, 8, 5, 1, QByteArray(10, '\x7F'), 5000); },
         "полоса 1 из 1 лежит за концом файла"},
        {"tall.pcx",
         [] {
             QByteArray b = Fixture("formats", "pcx_8bit.pcx");
             SetLittle16(b, 10, 30000);   // Ymax
             return b;
         },
         "рисунок 13×30001 точек требует"},
        {"tall.tga",
         [] {
             QByteArray b = Fixture("formats", "tga_rgb.tga");
             SetLittle16(b, 14, 65535);
             return b;
         },
         "рисунок 13×65535 точек требует 2555865 байт данных"},
        {"packed.tga",
         [] {
             QByteArray b = Fixture("formats", "tga_rgb_rle.tga");
             SetLittle16(b, 12, 65535);
             SetLittle16(b, 14, 65535);
             return b;
         },
         "рисунок 65535×65535 точек требует"},
        {"binary.pgm", [] { return QByteArray("P5\n16000 16000\n255\n\x01\x02\x03\x04"); },
         "рисунок 16000×16000 точек требует 256000000 байт данных, а в файле их 4"},
        {"plain.ppm", [] { return QByteArray("P3\n4000 4000\n255\n1 2 3\n"); },
         "рисунок 4000×4000 точек требует 95999999 байт данных, а в файле их 6"},
        {"huge.png",
         [] {
             // 60000 × 60000 grey over the few bytes of a 13 × 11 picture's data.
             QByteArray b = Fixture("formats", "png_grey8.png");
             SetBig32(b, 16, 60000);
             SetBig32(b, 20, 60000);
             SetBig32(b, 29, Crc32(b.mid(12, 17)));
             return b;
         },
         "рисунок 60000×60000 точек требует"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString path = Write(QString::fromLatin1(c.Name), c.Bytes());
        const QString message = PictureErrorOf(path);
        EXPECT_TRUE(message.startsWith(QStringLiteral("Файл рисунка \"%1\" поврежден: %2")
                                           .arg(path, QString::fromUtf8(c.Message))))
            << message.toStdString();
    }
}

// The default limit was all the memory available, so whatever a header claimed and the
// file could feed was allocated; now no picture passes the raster export's own 2 GB.
TEST(PictureMemory, DefaultLimitStopsAtTheLargestPicture)
{
    SetPictureMemoryLimit(0);
    EXPECT_GT(PictureMemoryLimit(), 0);
    EXPECT_LE(PictureMemoryLimit(), MaxPictureBytes);
    SetPictureMemoryLimit(1000);
    EXPECT_EQ(PictureMemoryLimit(), 1000);
    SetPictureMemoryLimit(0);
}
