// Logical fonts as Qt fonts, and the two text measurers of the sign library.
#include "semantics/signs/SymbolsFont.h"

#include "platform/Platform.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int DefaultCellHeight = 16;
// The metrics of this many fonts are kept; past it the cache starts again.
constexpr int MaxCachedFonts = 256;
// Texts whose widths are kept, all fonts together; a plan's distinct captions are far
// fewer. Past it every font's widths start again, so that a long run through many
// plans, styles and sign libraries holds a bounded cache.
constexpr int MaxCachedWidths = 16384;
// A text longer than this is measured each time, not kept: a plan repeats its short
// captions, and a long one would let the cache's size run with the texts' lengths.
constexpr int MaxCachedTextLength = 256;
// Faces whose cell-to-em ratio is kept for the whole run; the names come from the files
// read (styles, signs), so past this the cache starts again.
constexpr int MaxCachedRatios = 512;
// A fine font has about this many pixels per dot, so that its widths, kept by Qt in
// 64ths of a pixel, hold to a few thousandths of a dot; past MaxFinePixels (Qt sets no
// font above 0x7fff pixels) fewer are enough.
constexpr int FinePixelsPerDot = 64;
constexpr int MaxFinePixels = 16384;

QFont::Weight QtWeight(std::int32_t weight)
{
    if (weight <= 0)
        return QFont::Normal;
    return static_cast<QFont::Weight>(std::min<std::int32_t>(weight, 1000));
}

QHash<QString, qreal>& CellRatios()
{
    static QHash<QString, qreal> ratios;
    return ratios;
}

// Ascent plus descent per pixel of em for the face, weight and slant of lf; kept, since
// it never changes for a face. Keyed by what the font is made of (the weight as Qt takes
// it), so that weights Qt does not tell apart share one entry.
qreal CellPerEm(const TLogFont& lf)
{
    QHash<QString, qreal>& ratios = CellRatios();
    const QString key = lf.FaceName + QLatin1Char('|') + QString::number(int(QtWeight(lf.Weight))) +
                        QLatin1Char('|') + QString::number(lf.Italic != 0);
    const auto found = ratios.constFind(key);
    if (found != ratios.constEnd())
        return found.value();
    if (ratios.size() >= MaxCachedRatios)
        ratios.clear();
    constexpr int probe = 2048;
    QFont font(lf.FaceName);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setWeight(QtWeight(lf.Weight));
    font.setItalic(lf.Italic != 0);
    font.setPixelSize(probe);
    const QFontMetricsF metrics(font);
    qreal ratio = (metrics.ascent() + metrics.descent()) / probe;
    if (!(ratio > 0))
        ratio = 1;
    ratios.insert(key, ratio);
    return ratio;
}

}  // namespace

int CachedFaceRatios() { return int(CellRatios().size()); }

qreal LogFontCellHeight(const TLogFont& lf)
{
    if (lf.Height == 0)
        return DefaultCellHeight;
    if (lf.Height > 0)
        return lf.Height;
    return -qreal(lf.Height) * CellPerEm(lf);
}

QFont LogFontToQFont(const TLogFont& lf, qreal dpi)
{
    QFont font(lf.FaceName);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setWeight(QtWeight(lf.Weight));
    font.setItalic(lf.Italic != 0);
    font.setUnderline(lf.Underline != 0);
    font.setStrikeOut(lf.StrikeOut != 0);
    const qreal em = LogFontCellHeight(lf) / CellPerEm(lf);   // dots
    const qreal points = em * 72.0 / (dpi > 0 ? dpi : 72.0);
    font.setPointSizeF(points > 0.01 ? points : 0.01);
    return font;
}

TTextExtent TFixedTextMeasurer::TextExtent(const QString& txt, const TLogFont& lf)
{
    const int height = lf.Height == 0 ? DefaultCellHeight : std::abs(lf.Height);
    TTextExtent e;
    e.Width = static_cast<int>(Round(static_cast<Extended>(txt.size()) * AdvancePerHeight * height));
    e.Height = height + (lf.Escapement != 0 ? TurnedExtraHeight : 0);
    return e;
}

QFont LogFontToFineQFont(const TLogFont& lf, qreal& scale)
{
    // On a device of 72 dots per inch a point is a dot.
    QFont fine = LogFontToQFont(lf, 72);
    const qreal em = fine.pointSizeF();
    fine.setPixelSize(int(std::clamp<qreal>(std::round(em * FinePixelsPerDot), 1, MaxFinePixels)));
    const QFontMetricsF metrics(fine);
    const qreal cell = metrics.ascent() + metrics.descent();
    scale = cell > 0 ? cell / LogFontCellHeight(lf) : fine.pixelSize() / em;
    return fine;
}

TQtTextMeasurer::TFineFont& TQtTextMeasurer::FineFont(const TLogFont& lf)
{
    // Captions come in runs of one style: the last font is taken without building a key.
    if (LastFont && lf.Height == LastLf.Height && lf.Weight == LastLf.Weight && lf.Italic == LastLf.Italic &&
        lf.Underline == LastLf.Underline && lf.StrikeOut == LastLf.StrikeOut && lf.FaceName == LastLf.FaceName)
        return *LastFont;
    const QString key = lf.FaceName + QLatin1Char('|') + QString::number(lf.Height) +
                        QLatin1Char('|') + QString::number(lf.Weight) + QLatin1Char('|') +
                        QString::number(lf.Italic) + QString::number(lf.Underline) +
                        QString::number(lf.StrikeOut);
    auto found = Fonts.find(key);
    if (found == Fonts.end()) {
        if (Fonts.size() >= MaxCachedFonts) {
            Fonts.clear();
            CachedWidths = 0;
        }
        TFineFont fine;
        fine.Font = LogFontToFineQFont(lf, fine.Scale);
        const QFontMetricsF metrics(fine.Font);
        fine.Height = static_cast<int>(Round((metrics.ascent() + metrics.descent()) / fine.Scale));
        found = Fonts.insert(key, fine);
    }
    LastLf = lf;
    LastFont = &found.value();
    return *LastFont;
}

TTextExtent TQtTextMeasurer::TextExtent(const QString& txt, const TLogFont& lf)
{
    TFineFont& font = FineFont(lf);
    TTextExtent e;
    e.Height = font.Height;
    const auto measure = [&font](const QString& text) {
        const QFontMetricsF metrics(font.Font);
        return static_cast<int>(Round(metrics.horizontalAdvance(text) / font.Scale));
    };
    if (txt.size() > MaxCachedTextLength) {
        e.Width = measure(txt);
        return e;
    }
    // A plan repeats its captions (heights, materials, names): each text is shaped once
    // a font. Widths are whole dots of the same measure, so the answer never changes.
    auto width = font.Widths.constFind(txt);
    if (width == font.Widths.constEnd()) {
        if (CachedWidths >= MaxCachedWidths) {
            for (TFineFont& f : Fonts)
                f.Widths.clear();
            CachedWidths = 0;
        }
        width = font.Widths.insert(txt, measure(txt));
        ++CachedWidths;
    }
    e.Width = width.value();
    return e;
}
