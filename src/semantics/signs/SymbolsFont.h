// The logical font of the sign library and the measuring of texts set in it. Texts are
// measured through a small interface: Qt's font metrics in the program, a fixed advance
// in tests that check exact geometry. A font's height follows the rule of the platform
// the plans were made on: a positive height is the cell height (ascent plus descent),
// a negative one the em height; LogFontToQFont turns it into a Qt font whose ascent
// plus descent is that cell, so that measured frames and drawn texts agree.
#pragma once

#include <QFont>
#include <QHash>
#include <QImage>
#include <QString>
#include <cstdint>

// The platform's logical-font record. Angles are tenths of a degree counter-clockwise
// from screen east; heights are dots.
struct TLogFont {
    std::int32_t Height = 0;
    std::int32_t Width = 0;
    std::int32_t Escapement = 0;
    std::int32_t Orientation = 0;
    std::int32_t Weight = 0;          // 0 regular, 700 bold
    std::uint8_t Italic = 0;
    std::uint8_t Underline = 0;
    std::uint8_t StrikeOut = 0;
    std::uint8_t CharSet = 0;
    std::uint8_t OutPrecision = 0;
    std::uint8_t ClipPrecision = 0;
    std::uint8_t Quality = 0;
    std::uint8_t PitchAndFamily = 0;
    QString FaceName;
};

// A text's extent in whole dots: the advance along the text and the cell height.
struct TTextExtent {
    int Width = 0;
    int Height = 0;
};

// What the sign library measures texts with (the canvas of its measuring bitmap).
class TTextMeasurer {
public:
    virtual ~TTextMeasurer() = default;
    // txt set in lf, escapement and orientation as lf holds them.
    virtual TTextExtent TextExtent(const QString& txt, const TLogFont& lf) = 0;
};

// Every character advances AdvancePerHeight times the font's height (the text's width is
// rounded once, halves to even); the height is the font's height, plus TurnedExtraHeight
// while the font is turned (escapement not 0), so that tests can see how the frame
// follows a turned font that measures taller. Height 0 measures as 16 dots.
class TFixedTextMeasurer : public TTextMeasurer {
public:
    explicit TFixedTextMeasurer(double advancePerHeight = 0.5, int turnedExtraHeight = 0)
        : AdvancePerHeight(advancePerHeight), TurnedExtraHeight(turnedExtraHeight)
    {
    }
    TTextExtent TextExtent(const QString& txt, const TLogFont& lf) override;

    double AdvancePerHeight;
    int TurnedExtraHeight;
};

// Qt's font metrics in dots, at the fractional size of the logical font (through its
// fine font, LogFontToFineQFont). The fonts of the last logical fonts asked for are kept, since every
// caption of a plan is measured again at every rendering.
class TQtTextMeasurer : public TTextMeasurer {
public:
    TTextExtent TextExtent(const QString& txt, const TLogFont& lf) override;

    // What is kept now: bounded (a few hundred fonts, some ten thousand texts), whatever
    // fonts and texts come.
    int CachedFonts() const { return int(Fonts.size()); }
    int CachedTexts() const { return CachedWidths; }

private:
    struct TFineFont {
        QFont Font;
        qreal Scale = 1;
        int Height = 0;                        // the cell in dots, as measured
        QHash<QString, int> Widths;            // texts measured in this font, in dots
    };
    TFineFont& FineFont(const TLogFont& lf);
    QHash<QString, TFineFont> Fonts;
    TFineFont* LastFont = nullptr;             // into Fonts
    TLogFont LastLf;
    int CachedWidths = 0;                      // the texts of every font together
};

// How many faces' cell-to-em ratios the run keeps now (LogFontCellHeight of a negative
// height); bounded, whatever face names the files give.
int CachedFaceRatios();

// The cell height in dots that a logical height stands for: a positive height is the
// cell, a negative one the em (converted with the face's own ratio), 0 the default 16.
qreal LogFontCellHeight(const TLogFont& lf);

// The Qt font for lf on a device of dpi dots per inch: face, weight (0 regular, else the
// value, 700 bold), italic, underline, strike-out, and the fractional point size at which
// the font's ascent plus descent equals the cell height of lf in device dots. Hinting is
// off so that sizes scale exactly. The escapement is the painter's business.
QFont LogFontToQFont(const TLogFont& lf, qreal dpi);

// A device sets a font in whole pixels, which rounds a fractional size away (a cell of 5
// dots in Liberation Sans came out as 4). The fine font is lf set in pixels about 64
// times as large; scale is its pixels per dot, taken from its own ascent plus descent so
// that they make the cell of lf. Its widths divided by scale, or its text drawn through
// a painter scaled by 1 / scale, are those of lf at the exact size.
QFont LogFontToFineQFont(const TLogFont& lf, qreal& scale);
