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
// Texts whose widths are kept per font; a plan's distinct captions are far fewer.
constexpr int MaxCachedWidths = 16384;
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

// Ascent plus descent per pixel of em for the face, weight and slant of lf; kept, since
// it never changes for a face.
qreal CellPerEm(const TLogFont& lf)
{
    static QHash<QString, qreal> ratios;
    const QString key = lf.FaceName + QLatin1Char('|') + QString::number(lf.Weight) +
                        QLatin1Char('|') + QString::number(lf.Italic);
    const auto found = ratios.constFind(key);
    if (found != ratios.constEnd())
        return found.value();
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
        if (Fonts.size() >= MaxCachedFonts)
            Fonts.clear();
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
    // A plan repeats its captions (heights, materials, names): each text is shaped once
    // a font. Widths are whole dots of the same measure, so the answer never changes.
    auto width = font.Widths.constFind(txt);
    if (width == font.Widths.constEnd()) {
        if (font.Widths.size() >= MaxCachedWidths)
            font.Widths.clear();
        const QFontMetricsF metrics(font.Font);
        width = font.Widths.insert(txt, static_cast<int>(Round(metrics.horizontalAdvance(txt) / font.Scale)));
    }
    TTextExtent e;
    e.Width = width.value();
    e.Height = font.Height;
    return e;
}
