// Text styles of the sign library: the styles file, the style resolvers, logical fonts,
// the frame of a measured text at the upright boundary angles, and Qt's measuring of a
// cell height.
#include "SignTestSupport.h"

#include "foundation/GeoDataObjects.h"
#include "foundation/GeoServ.h"
#include "platform/CodePage.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class TextStyles : public SignFixture {
protected:
    void WriteStyles(int scale, const QString& text)
    {
        const QString folder = Dir.path() + QStringLiteral("/Шрифты/") + QString::number(scale);
        QDir().mkpath(folder);
        QFile file(folder + QStringLiteral("/Стили.wri"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(EncodeCodePage(text));
    }
    void AddStyle(const QString& name, Extended size, const QString& font = QStringLiteral("Liberation Sans"),
                  std::uint8_t flags = 0, std::int32_t color = 0)
    {
        Symbols.TextStyles.AddItem();
        TGeoTextStyle& s = *Symbols.TextStyles.Item;
        s.StyleName = name;
        s.Size = size;
        s.FontName = font;
        s.FontStyle = flags;
        s.Color = color;
    }
};

const QString TwoStyles = QStringLiteral(
    "Заголовок, которого нет ни в одном стиле\r\n"
    "*\r\n>ОСНОВНОЙ\r\n255\r\n2,5\r\n13\r\nLiberation Sans\r\nОсновной шрифт\r\nлишняя строка\r\n"
    "*\r\n>НАДПИСИ\r\n0\r\n1.8\r\n2\r\nDejaVu Sans\r\n");

}  // namespace

// Any line end ends a line; a file of lone CRs once read as one line, with no style in it.
TEST_F(TextStyles, StylesFileIsRead)
{
    for (const char* end : {"\r", "\n"}) {
        SCOPED_TRACE(end[0] == '\r' ? "CR" : "LF");
        WriteStyles(500, QString(TwoStyles).replace(QStringLiteral("\r\n"), QString::fromLatin1(end)));
        Symbols.LoadTextStyles(500);
        ASSERT_EQ(Symbols.TextStyles.GetCount(), 2);
        EXPECT_EQ(Symbols.TextStyles.At(1)->FontName, QStringLiteral("DejaVu Sans"));
    }
    WriteStyles(500, TwoStyles);
    Symbols.LoadTextStyles(500);
    ASSERT_EQ(Symbols.TextStyles.GetCount(), 2);
    const TGeoTextStyle& first = *Symbols.TextStyles.At(0);
    EXPECT_EQ(first.StyleName, QStringLiteral(">ОСНОВНОЙ"));
    EXPECT_EQ(first.Color, 255);
    EXPECT_EQ(first.Size, 2.5L);
    EXPECT_EQ(first.FontStyle, fsBoldBit);   // "13": only the first character counts
    EXPECT_EQ(first.FontName, QStringLiteral("Liberation Sans"));
    EXPECT_EQ(first.Comment, QStringLiteral("Основной шрифт"));
    const TGeoTextStyle& second = *Symbols.TextStyles.At(1);
    EXPECT_EQ(second.FontStyle, fsItalicBit);
    EXPECT_EQ(second.Size, 1.8L);
    EXPECT_TRUE(second.Comment.isEmpty());
}

TEST_F(TextStyles, FlagCharacterTable)
{
    struct Case {
        const char* line;
        std::uint8_t flags;
    };
    const Case cases[] = {{"0", 0}, {"1", fsBoldBit}, {"2", fsItalicBit}, {"3", fsUnderlineBit},
                          {"4", 0}, {"", 0},          {"111", fsBoldBit}, {"31", fsUnderlineBit}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        WriteStyles(1000, QStringLiteral("*\r\n>А\r\n0\r\n1\r\n") + QString::fromUtf8(c.line) +
                              QStringLiteral("\r\nDejaVu Sans\r\n"));
        Symbols.LoadTextStyles(1000);
        ASSERT_EQ(Symbols.TextStyles.GetCount(), 1);
        EXPECT_EQ(Symbols.TextStyles.At(0)->FontStyle, c.flags);
    }
}

TEST_F(TextStyles, MissingOrBrokenFileLeavesTheStylesAsTheyWere)
{
    AddStyle(QStringLiteral(">ПРЕЖНИЙ"), 2);
    Symbols.LoadTextStyles(2000);   // no file
    EXPECT_EQ(Symbols.TextStyles.GetCount(), 1);
    WriteStyles(2000, QStringLiteral("*\r\n>А\r\n0\r\n1\r\n0\r\nDejaVu Sans\r\n*\r\n>Б\r\n0\r\nкрупный\r\n"));
    EXPECT_THROW(Symbols.LoadTextStyles(2000), Exception);
    ASSERT_EQ(Symbols.TextStyles.GetCount(), 1);
    EXPECT_EQ(Symbols.TextStyles.At(0)->StyleName, QStringLiteral(">ПРЕЖНИЙ"));
    WriteStyles(2000, QStringLiteral("*\r\n>А\r\nкрасный\r\n1\r\n0\r\nDejaVu Sans\r\n"));
    EXPECT_THROW(Symbols.LoadTextStyles(2000), Exception);
    EXPECT_EQ(Symbols.TextStyles.GetCount(), 1);
}

TEST_F(TextStyles, FindStyleByExactName)
{
    WriteStyles(500, TwoStyles);
    Symbols.LoadTextStyles(500);
    QString comment, font;
    std::int32_t color = -1;
    Extended size = 0;
    std::uint8_t flags = 9;
    EXPECT_TRUE(Symbols.FindStyle(QStringLiteral(">ОСНОВНОЙ"), comment, color, size, font, flags));
    EXPECT_EQ(Symbols.TextStyles.GetIndex(), 0);
    EXPECT_EQ(comment, QStringLiteral("Основной шрифт"));
    EXPECT_EQ(color, 255);
    EXPECT_EQ(size, 2.5L);
    EXPECT_EQ(font, QStringLiteral("Liberation Sans"));
    EXPECT_EQ(flags, fsBoldBit);
    EXPECT_TRUE(Symbols.FindStyle(QStringLiteral(">НАДПИСИ")));
    EXPECT_EQ(Symbols.TextStyles.GetIndex(), 1);
    EXPECT_FALSE(Symbols.FindStyle(QStringLiteral(">основной")));
    EXPECT_FALSE(Symbols.FindStyle(QStringLiteral("ОСНОВНОЙ")));
}

TEST_F(TextStyles, ResolversTable)
{
    AddStyle(QStringLiteral(">А"), 2.6L, QStringLiteral("DejaVu Sans"), fsItalicBit, 255);
    AddStyle(QStringLiteral(">ПОСЛЕДНИЙ"), 1.3L, QStringLiteral("Liberation Serif"), fsBoldBit, 32768);
    const auto own = [](Extended size) {
        auto s = std::make_unique<TUserStyle>();
        s->FontName = QStringLiteral("Liberation Mono");
        s->Color = 7;
        s->Size = size;
        s->FontStyle = fsUnderlineBit;
        return s;
    };
    struct Case {
        const char* what;
        Extended dotsPerMM;
        bool hasOwn;
        Extended ownSize;
        const char* styleName;
        int resolver;        // 1 caption rule, 2 picture text, 3 text object, 4 picture text kept in mm
        const char* font;
        Extended size;
    };
    const Case cases[] = {
        {"own 2.5 mm at 4 dots", 4, true, 2.5L, "", 1, "Liberation Mono", 10},
        {"named 2.6 mm at 3.78 dots, rounded", 3.78L, false, 0, ">А", 1, "DejaVu Sans", 10},
        {"named, picture text", 3.78L, false, 0, ">А", 2, "DejaVu Sans", 10},
        {"named, text object", 3.78L, false, 0, ">А", 3, "DejaVu Sans", 10},
        {"own is not rounded", 3.78L, true, 2.6L, "", 2, "Liberation Mono", 9.828L},
        {"unknown name takes the last style", 4, false, 0, ">НЕТ", 3, "Liberation Serif", 5},
        {"kept in millimetres", 3.78L, false, 0, ">А", 4, "DejaVu Sans", 2.6L},
        {"own kept in millimetres", 3.78L, true, 1.7L, "", 4, "Liberation Mono", 1.7L},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Symbols.DotsPerMM = c.dotsPerMM;
        TUserStyle style;
        RSemText rule;
        RVpText text;
        RGText object;
        if (c.hasOwn) {
            rule.OwnStyle = own(c.ownSize);
            text.OwnStyle = own(c.ownSize);
            object.OwnStyle = own(c.ownSize);
        }
        rule.StyleName = text.StyleName = object.StyleName = QString::fromUtf8(c.styleName);
        switch (c.resolver) {
        case 1: Symbols.SelectTextStyle(rule, style); break;
        case 2: Symbols.SelectTextStyle2(text, style); break;
        case 3: Symbols.SelectTextStyle3(object, style); break;
        default: Symbols.SelectTextStyleOver(text, style); break;
        }
        EXPECT_EQ(style.FontName, QString::fromUtf8(c.font));
        EXPECT_NEAR(double(style.Size), double(c.size), 1e-12);
    }
}

TEST_F(TextStyles, LibraryWithoutStylesGivesAUsableStyle)
{
    Symbols.DotsPerMM = 4;
    RSemText rule;
    rule.StyleName = QStringLiteral(">ОСНОВНОЙ");
    TUserStyle style;
    Symbols.SelectTextStyle(rule, style);
    EXPECT_FALSE(style.FontName.isEmpty());
    EXPECT_EQ(style.Size, 10);
}

TEST_F(TextStyles, LogicalFonts)
{
    TLogFont lf;
    lf.Height = 99;
    lf.StrikeOut = 1;
    lf.FaceName = QStringLiteral("x");
    Symbols.DefLogFont(lf);
    EXPECT_EQ(lf.Height, 0);
    EXPECT_EQ(lf.Weight, 0);
    EXPECT_EQ(lf.StrikeOut, 0);
    EXPECT_EQ(lf.CharSet, 1);
    EXPECT_EQ(lf.OutPrecision, 4);
    EXPECT_EQ(lf.ClipPrecision, 0);
    EXPECT_TRUE(lf.FaceName.isEmpty());

    TUserStyle style;
    style.FontName = QStringLiteral("DejaVu Sans");
    style.Size = 10.5L;   // halves go to the even neighbour
    style.FontStyle = fsBoldBit | fsUnderlineBit;
    lf.StrikeOut = 1;
    Symbols.UserStyleToLF(style, lf);
    EXPECT_EQ(lf.FaceName, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(lf.Height, 10);
    EXPECT_EQ(lf.Weight, 700);
    EXPECT_EQ(lf.Italic, 0);
    EXPECT_EQ(lf.Underline, 1);
    EXPECT_EQ(lf.StrikeOut, 1);   // not touched

    Symbols.GeoAngleToLF(0, lf);
    EXPECT_EQ(lf.Escapement, 900);
    EXPECT_EQ(lf.Orientation, 900);
    Symbols.GeoAngleToLF(90, lf);
    EXPECT_EQ(lf.Escapement, 0);
    Symbols.GeoAngleToLF(180, lf);
    EXPECT_EQ(lf.Orientation, 2700);
}

TEST_F(TextStyles, TextFrameAtTheUprightBoundaryAngles)
{
    // 10-dot font, 5 dots a character, 0.01 m a dot: "ABCD" is 0.2 m long and 0.1 m high.
    TFixedTextMeasurer measurer(0.5);
    Symbols.SetScaleFactor(0.01L);
    struct Case {
        std::int32_t orientation;
        std::uint8_t autoinvert;
        bool turned;
    };
    const Case cases[] = {
        {0, 1, false},     // 90: reads left to right
        {1800, 1, true},   // 270: reads right to left
        {2750, 1, true},   // 175
        {2751, 1, false},  // 174.9
        {950, 1, true},    // 355
        {949, 1, false},   // 355.1
        {900, 1, false},   // 0
        {1800, 0, false},  // never turned
        {900, 2, true},    // 0
        {2700, 2, true},   // 180
        {2699, 2, false},  // 180.1
        {1800, 2, false},  // 270
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.orientation);
        SCOPED_TRACE(int(c.autoinvert));
        TLogFont lf;
        lf.Height = 10;
        lf.Escapement = lf.Orientation = c.orientation;
        TGeoPoint anchor = GeoPoint(100, 200);
        TGeoRect rect;
        Symbols.GetTextRect2(measurer, QStringLiteral("ABCD"), lf, c.autoinvert, anchor, rect);
        const TGeoAngle f = WinToGeoAngle(c.orientation);
        TGeoPoint c1, c2, c3;
        PGZ(100, 200, 0.2L, f, c1.X, c1.Y);
        PGZ(100, 200, 0.1L, f + 90, c3.X, c3.Y);
        PGZ(c1.X, c1.Y, 0.1L, f + 90, c2.X, c2.Y);
        const TGeoRect upright = {GeoPoint(100, 200), c1, c2, c3};
        const TGeoRect turned = {c2, c3, GeoPoint(100, 200), c1};
        const TGeoRect& expected = c.turned ? turned : upright;
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(double(rect[i].X), double(expected[i].X), 1e-12) << i;
            EXPECT_NEAR(double(rect[i].Y), double(expected[i].Y), 1e-12) << i;
        }
        EXPECT_NEAR(double(anchor.X), double(expected[0].X), 1e-12);
        EXPECT_NEAR(double(anchor.Y), double(expected[0].Y), 1e-12);
        std::int32_t orientation = c.orientation;
        if (c.turned) {
            orientation += 1800;
            if (orientation > 3600)
                orientation -= 3600;
        }
        EXPECT_EQ(lf.Orientation, orientation);
        EXPECT_EQ(lf.Escapement, orientation);
    }
}

TEST_F(TextStyles, TurningOrientation1800Gives3600)
{
    TFixedTextMeasurer measurer;
    Symbols.SetScaleFactor(1);
    TLogFont lf;
    lf.Height = 10;
    lf.Orientation = lf.Escapement = 1800;
    TGeoPoint anchor;
    TGeoRect rect;
    Symbols.GetTextRect2(measurer, QStringLiteral("x"), lf, 1, anchor, rect);
    EXPECT_EQ(lf.Orientation, 3600);
}

TEST_F(TextStyles, EastwardTextFrameCorners)
{
    TFixedTextMeasurer measurer(0.5);
    Symbols.SetScaleFactor(0.01L);
    TLogFont lf;
    lf.Height = 10;
    TGeoPoint anchor = GeoPoint(100, 200);
    TGeoRect rect;
    Symbols.GetTextRect2(measurer, QStringLiteral("ABCD"), lf, 1, anchor, rect);
    // Top-left at the anchor, the text running east, its height to the south.
    const double expected[4][2] = {{100, 200}, {100, 200.2}, {99.9, 200.2}, {99.9, 200}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(double(rect[i].X), expected[i][0], 1e-12) << i;
        EXPECT_NEAR(double(rect[i].Y), expected[i][1], 1e-12) << i;
    }
}

TEST_F(TextStyles, TallerTurnedFontMovesTheAnchorBackByHalfTheDifference)
{
    // The turned font measures 4 dots taller: d = 2 dots = 0.02 m.
    TFixedTextMeasurer measurer(0.5, 4);
    Symbols.SetScaleFactor(0.01L);
    TLogFont lf;
    lf.Height = 10;
    lf.Orientation = lf.Escapement = 1800;   // westward, 270
    TGeoPoint anchor = GeoPoint(100, 200);
    TGeoRect rect;
    Symbols.GetTextRect2(measurer, QStringLiteral("ABCD"), lf, 0, anchor, rect);
    // Not turned: back by d along 270 + 90 = north.
    EXPECT_NEAR(double(anchor.X), 99.98, 1e-12);
    EXPECT_NEAR(double(anchor.Y), 200, 1e-12);
    EXPECT_NEAR(double(rect[1].Y), 199.8, 1e-12);   // the width of the turned measure

    anchor = GeoPoint(100, 200);
    lf.Orientation = lf.Escapement = 1800;
    Symbols.GetTextRect2(measurer, QStringLiteral("ABCD"), lf, 1, anchor, rect);
    // Turned (now reading east): from corner 2 (100.1, 199.8), back by d along 90 + 90.
    EXPECT_NEAR(double(anchor.X), 100.1 + 0.02, 1e-12);
    EXPECT_NEAR(double(anchor.Y), 199.8, 1e-12);
}

// Guards the cell of a measured text: the font was set in whole pixels, so its ascent plus
// descent missed the logical height by a dot at about one size in eight (Liberation Sans
// 5 gave 4, 14 gave 15; DejaVu Sans 11 gave 10), and widths came from the rounded size.
TEST_F(TextStyles, QtMeasuredCellIsTheLogicalHeight)
{
    const QString text = QStringLiteral("Жилой дом 12");
    TQtTextMeasurer measurer;
    for (const char* face : {"Liberation Sans", "Liberation Serif", "DejaVu Sans"}) {
        SCOPED_TRACE(face);
        ASSERT_TRUE(FontInstalled(QString::fromUtf8(face)));
        for (const int weight : {0, 700}) {
            SCOPED_TRACE(weight);
            TLogFont lf;
            lf.FaceName = QString::fromUtf8(face);
            lf.Weight = weight;
            lf.Height = 200;
            const int wide = measurer.TextExtent(text, lf).Width;
            for (int height = 1; height <= 200; ++height) {
                SCOPED_TRACE(height);
                lf.Height = height;
                const TTextExtent e = measurer.TextExtent(text, lf);
                EXPECT_EQ(e.Height, height);
                qreal scale = 0;
                const QFontMetricsF fine(LogFontToFineQFont(lf, scale));
                EXPECT_NEAR((fine.ascent() + fine.descent()) / scale, height, 1e-9);
                // Without hinting the advance grows with the size itself.
                EXPECT_NEAR(e.Width, wide * height / 200.0, 1);
            }
        }
        TLogFont em;
        em.FaceName = QString::fromUtf8(face);
        em.Height = -40;   // the em, smaller than the cell
        EXPECT_GT(measurer.TextExtent(QStringLiteral("x"), em).Height, 40);
        em.Height = 40;
        TLogFont bold = em;
        bold.Weight = 700;
        EXPECT_GT(measurer.TextExtent(text, bold).Width, measurer.TextExtent(text, em).Width);
    }
}

// Guards the font-metrics caches: the face ratios were kept for every face name and
// weight ever met, and a measurer kept every text of up to 256 fonts, so a long run
// through files naming ever new faces and captions grew without bound.
TEST_F(TextStyles, FontMetricsCachesStayBoundedAndMeasureAlike)
{
    TQtTextMeasurer measurer;
    TLogFont known;
    known.FaceName = QStringLiteral("Liberation Sans");
    known.Height = -24;   // through the face's cell-to-em ratio
    const QString caption = QStringLiteral("Жилой дом 12");
    const TTextExtent before = measurer.TextExtent(caption, known);
    const qreal cellBefore = LogFontCellHeight(known);
    const QString longText(1000, QLatin1Char('W'));
    const int longBefore = measurer.TextExtent(longText, known).Width;

    // Past every limit: 700 faces, as many fonts, 20,000 texts.
    for (int i = 0; i < 20000; ++i) {
        if (i % 28 == 0) {
            TLogFont lf;
            lf.FaceName = QStringLiteral("Нет такого %1").arg(i / 28);
            lf.Weight = i;
            lf.Height = -(1 + i % 50);
            measurer.TextExtent(QStringLiteral("подпись"), lf);
        }
        measurer.TextExtent(QStringLiteral("текст %1").arg(i), known);
        if (i % 100 == 0)
            measurer.TextExtent(QString(300 + i % 40, QLatin1Char('x')), known);
    }
    EXPECT_LE(CachedFaceRatios(), 512);
    EXPECT_LE(measurer.CachedFonts(), 256);
    EXPECT_LE(measurer.CachedTexts(), 16384);

    // Whatever was dropped, the same font and text measure as before.
    const TTextExtent after = measurer.TextExtent(caption, known);
    EXPECT_EQ(after.Width, before.Width);
    EXPECT_EQ(after.Height, before.Height);
    EXPECT_EQ(LogFontCellHeight(known), cellBefore);
    EXPECT_EQ(measurer.TextExtent(longText, known).Width, longBefore);
    EXPECT_EQ(TQtTextMeasurer().TextExtent(caption, known).Width, before.Width);
}
