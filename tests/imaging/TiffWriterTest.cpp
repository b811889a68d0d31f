// The TIFF writer: the three layouts to the byte, the departures that keep pictures whole
// (4-bit width, 16-bit colour, large sizes, bilevel colour order), its refusals, and every
// layout read back by libtiff's own tools where they are installed.
#include "imaging/Bmp2Tiff.h"
#include "imaging/ImageGraphic.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

namespace {

std::uint32_t U16(const QByteArray& b, std::uint32_t at)
{
    if (qsizetype(at) + 2 > b.size())
        return 0xFFFFFFFF;
    return std::uint8_t(b[at]) | std::uint32_t(std::uint8_t(b[at + 1])) << 8;
}

std::uint32_t U32(const QByteArray& b, std::uint32_t at)
{
    return U16(b, at) | U16(b, at + 2) << 16;
}

struct RTag {
    std::uint32_t Type = 0, Count = 0, Value = 0;
    bool operator==(const RTag&) const = default;
};

// The first directory of a little-endian TIFF; the value field of a single SHORT is its
// low half. Offsets count from base.
struct RTiffFile {
    QByteArray Bytes;
    std::uint32_t IFD = 0;
    std::uint32_t EntryCount = 0;
    std::vector<std::uint16_t> Order;
    std::map<std::uint16_t, RTag> Tags;
    std::uint32_t NextIFD = 0xFFFFFFFF;

    explicit RTiffFile(QByteArray bytes) : Bytes(std::move(bytes))
    {
        IFD = U32(Bytes, 4);
        EntryCount = U16(Bytes, IFD);
        for (std::uint32_t i = 0; i < EntryCount && EntryCount < 100; ++i) {
            const std::uint32_t at = IFD + 2 + 12 * i;
            RTag t{U16(Bytes, at + 2), U32(Bytes, at + 4), U32(Bytes, at + 8)};
            if (t.Type == 3 && t.Count == 1)
                t.Value &= 0xFFFF;
            Order.push_back(std::uint16_t(U16(Bytes, at)));
            Tags[Order.back()] = t;
        }
        NextIFD = U32(Bytes, IFD + 2 + 12 * EntryCount);
    }
    QByteArray At(std::uint32_t offset, int size) const { return Bytes.mid(offset, size); }
};

QByteArray WriteToBuffer(const TBitmap& bitmap)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteTiffToStream(buffer, bitmap);
    return buffer.data();
}

TBitmap MakeBitmap(TPixelFormat format, int width, int height, const QList<QRgb>& colors = {})
{
    TBitmap b;
    b.SetPixelFormat(format);
    if (!colors.isEmpty())
        b.SetColorTable(colors);
    b.SetSize(width, height);
    return b;
}

void SetRow(TBitmap& b, int y, const std::vector<std::uint8_t>& bytes)
{
    std::memcpy(b.ScanLine(y), bytes.data(), bytes.size());
}

// A bitmap of the given rows, top first, each as the bitmap's row layout holds it.
TBitmap Filled(TPixelFormat format, int width, const std::vector<std::vector<std::uint8_t>>& rows,
               const QList<QRgb>& colors = {})
{
    TBitmap b = MakeBitmap(format, width, int(rows.size()), colors);
    for (std::size_t y = 0; y < rows.size(); ++y)
        SetRow(b, int(y), rows[y]);
    return b;
}

const QByteArray Resolution300 = [] {
    QByteArray r;
    for (int i = 0; i < 2; ++i)
        r.append("\xC0\xC6\x2D\x00\x10\x27\x00\x00", 8);   // 3000000 / 10000
    return r;
}();

// The directory every layout shares, with the layout's own values.
std::map<std::uint16_t, RTag> CommonTags(std::uint32_t w, std::uint32_t h, std::uint32_t photometric,
                                          std::uint32_t stripOffset, std::uint32_t stripBytes,
                                          std::uint32_t resolution, std::uint32_t software)
{
    return {{254, {4, 1, 0}},          {256, {3, 1, w}},           {257, {3, 1, h}},
            {259, {3, 1, 1}},          {262, {3, 1, photometric}}, {273, {4, 1, stripOffset}},
            {277, {3, 1, 1}},          {278, {4, 1, h}},           {279, {4, 1, stripBytes}},
            {282, {5, 1, resolution}}, {283, {5, 1, resolution + 8}},
            {296, {3, 1, 2}},          {305, {2, 11, software}}};
}

} // namespace

TEST(TiffWriter, LayoutsAreWrittenToTheByte)
{
    struct Case {
        const char* Name;
        TBitmap Bitmap;
        int FileSize;
        std::uint32_t IFD;
        std::uint32_t EntryCount;
        std::map<std::uint16_t, RTag> Tags;
        std::uint32_t StripOffset;
        QByteArray Strip;
        std::uint32_t ResolutionOffset, SoftwareOffset;
    };
    auto rgbTags = CommonTags(2, 1, 2, 41, 6, 8, 30);
    rgbTags[258] = {3, 3, 24};
    rgbTags[277] = {3, 1, 3};
    rgbTags[284] = {3, 1, 1};
    auto paletteTags = CommonTags(4, 1, 3, 1571, 4, 1544, 1560);
    paletteTags[258] = {3, 1, 8};
    paletteTags[320] = {3, 768, 8};
    auto bilevelTags = CommonTags(8, 2, 1, 8, 2, 10, 26);
    bilevelTags[258] = {3, 1, 1};
    const Case cases[] = {
        // stored blue, green, red
        {"24 bits, 2 x 1", Filled(pf24bit, 2, {{1, 2, 3, 4, 5, 6}}),
         233, 47, 15, rgbTags, 41, QByteArray("\3\2\1\6\5\4", 6), 8, 30},
        {"32 bits, the same colours", Filled(pf32bit, 2, {{1, 2, 3, 0xFF, 4, 5, 6, 0x7F}}),
         233, 47, 15, rgbTags, 41, QByteArray("\3\2\1\6\5\4", 6), 8, 30},
        {"8 bits, 4 x 1", Filled(pf8bit, 4, {{0, 7, 128, 255}}),
         1761, 1575, 15, paletteTags, 1571, QByteArray("\0\7\x80\xFF", 4), 1544, 1560},
        {"bilevel, 8 x 2", Filled(pf1bit, 8, {{0xA5}, {0x3C}}),
         211, 37, 14, bilevelTags, 8, QByteArray("\xA5\x3C", 2), 10, 26},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const RTiffFile f(WriteToBuffer(c.Bitmap));
        EXPECT_EQ(f.Bytes.size(), c.FileSize);
        EXPECT_EQ(f.At(0, 4), QByteArray("II\x2A\0", 4));
        EXPECT_EQ(f.IFD, c.IFD);
        EXPECT_EQ(f.EntryCount, c.EntryCount);
        EXPECT_EQ(f.Tags, c.Tags);
        EXPECT_TRUE(std::is_sorted(f.Order.begin(), f.Order.end()));
        EXPECT_EQ(f.NextIFD, 0u);
        EXPECT_EQ(f.At(c.StripOffset, int(c.Strip.size())), c.Strip);
        EXPECT_EQ(f.At(c.ResolutionOffset, 16), Resolution300);
        // The text ends with its NUL, counted: the ten bytes of old made libtiff warn.
        EXPECT_EQ(f.At(c.SoftwareOffset, 11), QByteArray("Molvi soft", 11));
    }
    // The three BitsPerSample values of the RGB layout.
    const RTiffFile rgb(WriteToBuffer(cases[0].Bitmap));
    EXPECT_EQ(rgb.At(24, 6), QByteArray("\x08\0\x08\0\x08\0", 6));
    EXPECT_EQ(rgb.Bytes, WriteToBuffer(cases[1].Bitmap));
}

TEST(TiffWriter, ColourMapHoldsTheComponentsInTheHighByte)
{
    QList<QRgb> colors;
    for (int i = 0; i < 16; ++i)
        colors.append(qRgb(i * 17, 255 - i, i));
    colors[0] = qRgb(255, 1, 128);
    const RTiffFile f(WriteToBuffer(MakeBitmap(pf4bit, 2, 1, colors)));
    ASSERT_EQ(f.Tags.at(320).Count, 48u);
    // red values, then green, then blue; 255 is 65280, not 65535
    EXPECT_EQ(U16(f.Bytes, 8), 65280u);
    EXPECT_EQ(U16(f.Bytes, 8 + 2 * 16), 256u);
    EXPECT_EQ(U16(f.Bytes, 8 + 4 * 16), 128u << 8);
    EXPECT_EQ(U16(f.Bytes, 8 + 2 * 15), std::uint32_t(15 * 17) << 8);
    EXPECT_EQ(U16(f.Bytes, 8 + 2 * 31), std::uint32_t(240) << 8);
    EXPECT_EQ(U16(f.Bytes, 8 + 2 * 47), 15u << 8);
}

TEST(TiffWriter, TopRowIsWrittenFirst)
{
    TBitmap b = MakeBitmap(pf8bit, 1, 3);
    for (int y = 0; y < 3; ++y)
        b.ScanLine(y)[0] = std::uint8_t(10 + y);
    const RTiffFile f(WriteToBuffer(b));
    EXPECT_EQ(f.At(f.Tags.at(273).Value, 3), QByteArray("\x0A\x0B\x0C", 3));
}

// The 4-bit layout used to cut the width to a multiple of 4, dropping up to three columns
// and writing a 3-pixel picture zero pixels wide.
TEST(TiffWriter, FourBitPictureKeepsItsWidth)
{
    struct Case {
        int Width;
        std::uint32_t RowBytes;
    };
    for (const Case c : {Case{101, 51}, Case{3, 2}, Case{4, 2}, Case{1, 1}}) {
        SCOPED_TRACE(c.Width);
        TBitmap b = MakeBitmap(pf4bit, c.Width, 2);
        std::uint8_t* row = b.ScanLine(1);
        row[0] = 0x12;
        row[c.RowBytes - 1] = c.Width % 2 ? 0xF0 : 0xEF;
        const RTiffFile f(WriteToBuffer(b));
        EXPECT_EQ(f.Tags.at(256).Value, std::uint32_t(c.Width));
        EXPECT_EQ(f.Tags.at(279).Value, 2 * c.RowBytes);
        const QByteArray strip = f.At(f.Tags.at(273).Value, int(2 * c.RowBytes));
        EXPECT_EQ(std::uint8_t(strip[c.RowBytes]), c.RowBytes == 1 ? (c.Width % 2 ? 0xF0 : 0xEF) : 0x12);
        EXPECT_EQ(std::uint8_t(strip[2 * c.RowBytes - 1]), c.Width % 2 ? 0xF0 : 0xEF);
        EXPECT_EQ(f.Bytes.size(), qsizetype(221 + 6 * 16 + 2 * c.RowBytes));
    }
}

TEST(TiffWriter, SixteenBitPicturesAreWrittenAsRGB)
{
    struct Case {
        const char* Name;
        TPixelFormat Format;
        std::uint16_t Pixels[3];
    };
    const Case cases[] = {
        {"5-5-5", pf15bit, {0x7C00, 0x03E0, 0x7FFF}},
        {"5-6-5", pf16bit, {0xF800, 0x07E0, 0xFFFF}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TBitmap b = MakeBitmap(c.Format, 3, 1);
        std::memcpy(b.ScanLine(0), c.Pixels, sizeof c.Pixels);
        const RTiffFile f(WriteToBuffer(b));
        EXPECT_EQ(f.Tags.at(262).Value, 2u);
        EXPECT_EQ(f.Tags.at(277).Value, 3u);
        EXPECT_EQ(f.At(41, 9), QByteArray("\xFF\0\0\0\xFF\0\xFF\xFF\xFF", 9));
        EXPECT_EQ(f.Bytes.size(), 227 + 9);
    }
}

// Index 0 was always written as black: a bitmap whose table starts with white came out
// as its negative.
TEST(TiffWriter, BilevelPhotometricFollowsTheColourTable)
{
    struct Case {
        const char* Name;
        QList<QRgb> Colors;
        std::uint32_t Photometric;
    };
    const Case cases[] = {
        {"black, white", {qRgb(0, 0, 0), qRgb(255, 255, 255)}, 1},
        {"white, black", {qRgb(255, 255, 255), qRgb(0, 0, 0)}, 0},
        {"no table given", {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const RTiffFile f(WriteToBuffer(MakeBitmap(pf1bit, 8, 1, c.Colors)));
        EXPECT_EQ(f.Tags.at(262).Value, c.Photometric);
    }
}

// A width past 65535 was cut to its low 16 bits.
TEST(TiffWriter, SizesPastTheShortRangeAreWrittenAsLong)
{
    const RTiffFile f(WriteToBuffer(MakeBitmap(pf1bit, 70000, 2)));
    EXPECT_EQ(f.Tags.at(256), (RTag{4, 1, 70000}));
    EXPECT_EQ(f.Tags.at(257), (RTag{3, 1, 2}));
    EXPECT_EQ(f.Tags.at(279).Value, 2u * 8750);
}

TEST(TiffWriter, OffsetsCountFromTheStreamsPosition)
{
    TBitmap b = MakeBitmap(pf24bit, 2, 1);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    buffer.write("prefix");
    WriteTiffToStream(buffer, b);
    EXPECT_EQ(buffer.pos(), 6 + 233);
    EXPECT_EQ(buffer.data().mid(6), WriteToBuffer(b));
}

// An empty bitmap left an empty file behind and reported success.
TEST(TiffWriter, RefusalsLeaveFilesAsTheyWere)
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("plan.tif"));
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    const QString fresh = dir.filePath(QStringLiteral("new.tif"));
    const TBitmap empty;
    EXPECT_THROW(SaveBitmapAsTiff(existing, empty), EInvalidGraphic);
    EXPECT_THROW(SaveBitmapAsTiff(fresh, empty), EInvalidGraphic);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_THROW(WriteTiffToStream(buffer, empty), EInvalidGraphic);
    EXPECT_EQ(buffer.size(), 0);

    const TBitmap picture = MakeBitmap(pf8bit, 4, 1);
    try {
        SaveBitmapAsTiff(dir.filePath(QStringLiteral("no such folder/a.tif")), picture);
        ADD_FAILURE() << "no error";
    } catch (const EPictureError& e) {
        EXPECT_TRUE(e.Message.startsWith(QStringLiteral("Cannot create file "))) << e.what();
    }
    QFile old(existing);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old"));
    EXPECT_FALSE(QFile::exists(fresh));

    // A stream that refuses to take the bytes is an error, not a short file.
    QBuffer closed;
    closed.open(QIODevice::ReadOnly);
    EXPECT_THROW(WriteTiffToStream(closed, picture), EPictureError);

    SaveBitmapAsTiff(existing, picture);
    EXPECT_EQ(QFileInfo(existing).size(), 1761);
}

namespace {

// Runs a tool; its exit code, its standard output and error together, and the error alone.
struct RToolRun {
    int Exit = -1;
    QString Output;
    QString Errors;
};

RToolRun RunTool(const QString& tool, const QStringList& arguments)
{
    QProcess p;
    p.start(tool, arguments);
    p.waitForFinished(30000);
    const QString errors = QString::fromLocal8Bit(p.readAllStandardError());
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()) + errors, errors};
}

// The RGBA pixels of an uncompressed, little-endian, one-directory TIFF as tiff2rgba
// writes it, strips joined.
QByteArray RGBAPixels(const QByteArray& file)
{
    const RTiffFile f(file);
    const RTag offsets = f.Tags.at(273), counts = f.Tags.at(279);
    QByteArray pixels;
    for (std::uint32_t i = 0; i < offsets.Count; ++i) {
        const auto entry = [&](const RTag& t) {
            if (t.Count == 1)
                return t.Value;
            return t.Type == 3 ? U16(file, t.Value + 2 * i) : U32(file, t.Value + 4 * i);
        };
        pixels += file.mid(entry(offsets), int(entry(counts)));
    }
    return pixels;
}

} // namespace

TEST(TiffWriter, LibtiffReadsEveryLayout)
{
    const QString tiffinfo = QStandardPaths::findExecutable(QStringLiteral("tiffinfo"));
    const QString tiff2rgba = QStandardPaths::findExecutable(QStringLiteral("tiff2rgba"));
    if (tiffinfo.isEmpty() || tiff2rgba.isEmpty())
        GTEST_SKIP() << "libtiff's tiffinfo and tiff2rgba are not installed";

    const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255);
    struct Case {
        const char* Name;
        TBitmap Bitmap;
        std::vector<QRgb> Expected;   // top row first
    };
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    // A palette of count entries, black but for the ones given.
    const auto palette = [&](int count, const std::map<int, QRgb>& set) {
        QList<QRgb> colors(count, black);
        for (const auto& [index, color] : set)
            colors[index] = color;
        return colors;
    };
    const Case cases[] = {
        {"24 bits", Filled(pf24bit, 2, {{0, 0, 255, 255, 0, 0}}), {red, blue}},
        {"32 bits", Filled(pf32bit, 2, {{0, 255, 0, 0, 0, 0, 255, 0}}), {green, red}},
        {"16 bits", Filled(pf16bit, 1, {{0x1F, 0x00}}), {blue}},
        {"8 bits", Filled(pf8bit, 3, {{1, 2, 0}, {0, 0, 1}}, palette(256, {{1, red}, {2, green}})),
         {red, green, black, black, black, red}},
        {"4 bits, odd width", Filled(pf4bit, 3, {{0x3F, 0x30}}, palette(16, {{3, blue}, {15, green}})),
         {blue, green, blue}},
        {"bilevel, black first", Filled(pf1bit, 3, {{0x40}}, {black, white}), {black, white, black}},
        {"bilevel, white first", Filled(pf1bit, 3, {{0x40}}, {white, black}), {white, black, white}},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString path = dir.filePath(QStringLiteral("image.tif"));
        const QString converted = dir.filePath(QStringLiteral("rgba.tif"));
        SaveBitmapAsTiff(path, c.Bitmap);
        const RToolRun info = RunTool(tiffinfo, {path});
        EXPECT_EQ(info.Exit, 0) << info.Output.toStdString();
        // libtiff says nothing about a sound file: its warnings (a Software text without
        // its closing NUL once among them) go to standard error.
        EXPECT_TRUE(info.Errors.trimmed().isEmpty()) << info.Errors.toStdString();
        EXPECT_FALSE(info.Output.contains(QStringLiteral("Error"))) << info.Output.toStdString();
        EXPECT_TRUE(info.Output.contains(QStringLiteral("Resolution: 300, 300 pixels/inch")))
            << info.Output.toStdString();
        EXPECT_TRUE(info.Output.contains(QStringLiteral("Software: Molvi soft"))) << info.Output.toStdString();

        QFile::remove(converted);
        const RToolRun rgba = RunTool(tiff2rgba, {QStringLiteral("-c"), QStringLiteral("none"), path, converted});
        ASSERT_EQ(rgba.Exit, 0) << rgba.Output.toStdString();
        QFile out(converted);
        ASSERT_TRUE(out.open(QIODevice::ReadOnly));
        const QByteArray file = out.readAll();
        ASSERT_EQ(file.left(2), QByteArray("II"));
        const QByteArray pixels = RGBAPixels(file);
        ASSERT_EQ(pixels.size(), qsizetype(4 * c.Expected.size()));
        for (std::size_t i = 0; i < c.Expected.size(); ++i) {
            SCOPED_TRACE(i);
            const auto at = [&](std::size_t k) { return int(std::uint8_t(pixels[qsizetype(4 * i + k)])); };
            EXPECT_EQ(qRgb(at(0), at(1), at(2)), c.Expected[i]);
        }
    }
}
