// The captions' glyphs as Qt draws them, kept so that a caption is painted by copying
// masks instead of asking Qt to load each glyph again. What it keeps: for each caption
// font (one logical font), turn and glyph, the pixels Qt's rasteriser sets for it (the
// captions are drawn without anti-aliasing, so a glyph is a mask placed at a whole
// pixel); and for each font and text, its shaped glyph run. Qt keeps glyphs for only a
// few turns of a font, and a plan's captions come in thousands of turns, so Qt would load
// every glyph of every caption again at every drawing.
// Who may touch it: any drawing thread. Entries are added under a lock and never change;
// they go only between drawings (Trim), from the thread that starts the drawing. Fonts
// never cross threads: each caller hands in its own QFont, and a glyph is rasterised
// with the caller's font.
#pragma once

#include "semantics/signs/SymbolsFont.h"

#include <QFont>
#include <QRect>
#include <QRgb>
#include <QString>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

// What tells two logical fonts apart for their fine fonts (LogFontToFineQFont).
QString LogFontKey(const TLogFont& lf);

class TGlyphCache {
public:
    static TGlyphCache& Shared();
    ~TGlyphCache();
    TGlyphCache(const TGlyphCache&) = delete;
    TGlyphCache& operator=(const TGlyphCache&) = delete;

    // Whether captions are drawn from the cache. The first call draws a set of captions
    // both through the cache and through QPainter::drawText; when one pixel differs
    // (another Qt or FreeType than the one the cache was written for) the cache stays off
    // for the process and that is logged once. Call it from the thread that starts a
    // drawing, before the workers run.
    bool Enabled();

    // The number of logical font lf in the keys: the same for the same font for the
    // cache's life.
    std::uint32_t FontId(const TLogFont& lf);

    // One caption as the drawing paints it: font (the caller's own, LogFontToFineQFont of
    // the logical font fontId, without anti-aliasing) under the painter transform
    // translate(Anchor) rotate(-Escapement / 10) scale(1 / Scale), its text's baseline
    // at (0, Ascent).
    struct RCaption {
        QPoint Anchor;
        const QString* Text;   // link, not owned
        std::int32_t Escapement;
        qreal Scale;
        qreal Ascent;
        QRgb Color;
    };
    // Paints caption into the RGB32 pixels (width x height, bytesPerLine apart) inside
    // clip, with the pixels QPainter::drawText would set there. False, with nothing
    // painted, for a caption the cache does not draw (underlined or struck out, large
    // glyphs Qt draws as outlines, glyphs from a substitute font, a colour not opaque):
    // the caller draws it with drawText.
    bool Draw(uchar* bits, int width, int height, qsizetype bytesPerLine, const QRect& clip, const QFont& font,
              std::uint32_t fontId, const RCaption& caption);

    // Between drawings: everything goes when the cache holds more than its bound.
    void Trim();
    void Clear();
    // What the kept glyphs and shaped texts take, in bytes (an estimate of the heap).
    std::size_t Bytes() const;
    std::size_t Glyphs() const;
    std::size_t Texts() const;

    // The bound in bytes of what Trim leaves; tests set a small one.
    void SetBound(std::size_t bytes);
    // For tests: the self-test runs again on the next Enabled(); with failSelfTest it
    // finds a difference, as with another rasteriser.
    void ResetSelfTest(bool failSelfTest = false);

private:
    TGlyphCache();
    bool SelfTest();
    struct TData;
    std::unique_ptr<TData> D;
    std::atomic<int> State{-1};   // -1 not tested, 0 off, 1 on
    bool FailSelfTest = false;
};
