// The captions' glyph masks and shaped texts, and the copying of a caption from them.
// A glyph's mask is taken from Qt's own rasterisation of that glyph under the caption's
// turn and scale; it is placed where Qt places it: at the glyph's position mapped through
// the painter's transform, in Qt's 1/64 pixel fixed point (truncated), the column its
// floor and the row its rounding.
#include "engine/draw/GlyphCache.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <shared_mutex>
#include <unordered_map>
#include <vector>

namespace {

// Qt draws a glyph as an outline, not from its glyph cache, from 64 pixels of height up:
// such captions are left to drawText, with a margin.
constexpr qreal MaxCachedGlyphPixels = 56;
// The scratch picture a glyph is rasterised into, its origin in the middle: room for
// the largest glyph the cache takes, at any turn.
constexpr int ScratchSize = 320;
constexpr int ScratchOrigin = ScratchSize / 2;
// What Trim leaves by default: the glyphs and shaped captions of a large plan's view.
constexpr std::size_t DefaultBound = std::size_t(96) << 20;

struct RGlyphKey {
    std::uint32_t Font;
    std::int32_t Escapement;
    std::uint32_t Glyph;
    bool operator==(const RGlyphKey&) const = default;
};

struct RGlyphKeyHash {
    std::size_t operator()(const RGlyphKey& k) const noexcept
    {
        std::uint64_t h = (std::uint64_t(k.Font) << 32) ^ std::uint32_t(k.Escapement);
        h = (h ^ (h >> 29)) * 0xbf58476d1ce4e5b9ull;
        h ^= std::uint64_t(k.Glyph) * 0x94d049bb133111ebull;
        return std::size_t(h ^ (h >> 31));
    }
};

// One glyph's pixels: Width x Height from (Left, Top) about its placed position, rows of
// (Width + 7) / 8 bytes, the leftmost pixel in the high bit. Large: Qt draws it otherwise.
struct RGlyph {
    std::int16_t Left = 0, Top = 0;
    std::uint16_t Width = 0, Height = 0;
    bool Large = false;
    std::vector<std::uint8_t> Bits;
};

struct RTextKey {
    std::uint32_t Font;
    QString Text;
    bool operator==(const RTextKey&) const = default;
};

struct RTextKeyHash {
    std::size_t operator()(const RTextKey& k) const noexcept { return qHash(k.Text, k.Font); }
};

// A caption shaped as drawText shapes it: its glyphs with their positions along the
// baseline, in 1/64 pixels of the fine font, each with the start of its run. Ours false:
// a caption the cache leaves to drawText.
struct RShapedGlyph {
    std::uint32_t Glyph;
    std::int32_t X;
    std::int32_t Origin;
};
struct RShaped {
    bool Ours = false;
    std::vector<RShapedGlyph> Glyphs;
};

std::int32_t Fixed64(qreal v) { return std::int32_t(std::lround(v * 64)); }

RShaped Shape(const QString& text, const QFont& font)
{
    RShaped shaped;
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.isHighSurrogate() || c.isLowSurrogate())
            return shaped;
    if (font.underline() || font.strikeOut() || font.overline())
        return shaped;
    QTextLayout layout(text, font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid())
        return shaped;
    const QRawFont own = QRawFont::fromFont(font);
    for (const QGlyphRun& run : line.glyphRuns()) {
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        if (glyphs.isEmpty())
            continue;
        if (!(run.rawFont() == own) || run.isRightToLeft() || run.overline() || run.underline() || run.strikeOut() ||
            positions.size() != glyphs.size())
            return RShaped();
        const qreal baseline = positions.front().y();
        const std::int32_t origin = Fixed64(positions.front().x());
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            if (positions[i].y() != baseline)
                return RShaped();
            shaped.Glyphs.push_back({glyphs[i], Fixed64(positions[i].x()), origin});
        }
    }
    shaped.Ours = true;
    return shaped;
}

QTransform CaptionTransform(qreal x, qreal y, const TGlyphCache::RCaption& c)
{
    QTransform t;
    t.translate(x, y);
    t.rotate(-c.Escapement / 10.0);
    t.scale(1 / c.Scale, 1 / c.Scale);
    return t;
}

// The scratch picture of this thread, white.
QImage& Scratch()
{
    thread_local QImage scratch;
    if (scratch.isNull()) {
        scratch = QImage(ScratchSize, ScratchSize, QImage::Format_RGB32);
        scratch.fill(Qt::white);
    }
    return scratch;
}

// Glyph g of raw rasterised by Qt under the caption's turn and scale, its mask taken about
// the pixel Qt places it at.
RGlyph Rasterise(const QRawFont& raw, const QFont& font, std::uint32_t g, const TGlyphCache::RCaption& c)
{
    RGlyph glyph;
    // A quarter pixel down: the row Qt rounds to is the scratch origin's, whichever way it
    // rounds a half.
    const QTransform t = CaptionTransform(ScratchOrigin, ScratchOrigin + 0.25, c);
    const QRectF outline = raw.boundingRect(g);
    const QRect box = QTransform(t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy())
                          .mapRect(outline)
                          .toAlignedRect()
                          .adjusted(-3, -3, 3, 3);
    const QRect scratchRect(0, 0, ScratchSize, ScratchSize);
    if (!scratchRect.contains(box)) {
        glyph.Large = true;
        return glyph;
    }
    QImage& scratch = Scratch();
    {
        QPainter p(&scratch);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setFont(font);
        p.setPen(Qt::black);
        p.setTransform(t);
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes({g});
        run.setPositions({QPointF(0, 0)});
        p.drawGlyphRun(QPointF(0, 0), run);
    }
    int left = box.right() + 1, right = box.left() - 1, top = box.bottom() + 1, bottom = box.top() - 1;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        for (int x = box.left(); x <= box.right(); ++x)
            if (row[x] != 0xffffffffu) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    }
    // Any set pixel on the box's border: the outline box did not hold the glyph.
    const bool spilled = right >= left && (left == box.left() || right == box.right() || top == box.top() ||
                                           bottom == box.bottom());
    if (right >= left && !spilled) {
        glyph.Left = std::int16_t(left - ScratchOrigin);
        glyph.Top = std::int16_t(top - ScratchOrigin);
        glyph.Width = std::uint16_t(right - left + 1);
        glyph.Height = std::uint16_t(bottom - top + 1);
        const int stride = (glyph.Width + 7) / 8;
        glyph.Bits.assign(std::size_t(stride) * glyph.Height, 0);
        for (int y = top; y <= bottom; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
            std::uint8_t* bits = glyph.Bits.data() + std::size_t(y - top) * stride;
            for (int x = left; x <= right; ++x)
                if (row[x] != 0xffffffffu)
                    bits[(x - left) >> 3] |= std::uint8_t(0x80 >> ((x - left) & 7));
        }
    }
    glyph.Large = spilled;
    for (int y = box.top(); y <= box.bottom(); ++y)
        std::fill_n(reinterpret_cast<QRgb*>(scratch.scanLine(y)) + box.left(), box.width(), 0xffffffffu);
    return glyph;
}

std::size_t GlyphBytes(const RGlyph& g) { return 64 + g.Bits.capacity(); }
std::size_t TextBytes(const RTextKey& k, const RShaped& s)
{
    return 96 + std::size_t(k.Text.capacity()) * 2 + s.Glyphs.capacity() * sizeof(RShapedGlyph);
}

}  // namespace

QString LogFontKey(const TLogFont& lf)
{
    return lf.FaceName + QLatin1Char('|') + QString::number(lf.Height) + QLatin1Char('|') +
           QString::number(lf.Weight) + QLatin1Char('|') + QString::number(lf.Italic) +
           QString::number(lf.Underline) + QString::number(lf.StrikeOut);
}

struct TGlyphCache::TData {
    mutable std::shared_mutex Mutex;
    QHash<QString, std::uint32_t> FontIds;
    std::unordered_map<RGlyphKey, RGlyph, RGlyphKeyHash> Glyphs;
    std::unordered_map<RTextKey, RShaped, RTextKeyHash> Texts;
    std::size_t Bytes = 0;
    std::size_t Bound = DefaultBound;
};

TGlyphCache::TGlyphCache() : D(std::make_unique<TData>()) {}
TGlyphCache::~TGlyphCache() = default;

TGlyphCache& TGlyphCache::Shared()
{
    static TGlyphCache cache;
    return cache;
}

std::uint32_t TGlyphCache::FontId(const TLogFont& lf)
{
    const QString key = LogFontKey(lf);
    std::unique_lock lock(D->Mutex);
    const auto found = D->FontIds.constFind(key);
    if (found != D->FontIds.constEnd())
        return found.value();
    const auto id = std::uint32_t(D->FontIds.size());
    D->FontIds.insert(key, id);
    return id;
}

bool TGlyphCache::Draw(uchar* bits, int width, int height, qsizetype bytesPerLine, const QRect& clip,
                       const QFont& font, std::uint32_t fontId, const RCaption& caption)
{
    if (qAlpha(caption.Color) != 255 || !(caption.Scale > 0) || caption.Text == nullptr)
        return false;
    if (font.pixelSize() <= 0 || font.pixelSize() / caption.Scale >= MaxCachedGlyphPixels)
        return false;
    const QRect area = clip & QRect(0, 0, width, height);
    // The shaped caption, shaped here on a miss. An entry's address holds until Clear,
    // which no drawing overlaps.
    const RShaped* shaped = nullptr;
    {
        std::shared_lock lock(D->Mutex);
        const auto found = D->Texts.find(RTextKey{fontId, *caption.Text});
        if (found != D->Texts.end())
            shaped = &found->second;
    }
    if (!shaped) {
        RShaped made = Shape(*caption.Text, font);
        RTextKey key{fontId, *caption.Text};
        const std::size_t bytes = TextBytes(key, made);
        std::unique_lock lock(D->Mutex);
        const auto [at, added] = D->Texts.emplace(std::move(key), std::move(made));
        if (added)
            D->Bytes += bytes;
        shaped = &at->second;
    }
    if (!shaped->Ours)
        return false;
    // The glyphs, rasterised here where missing.
    thread_local std::vector<const RGlyph*> glyphs;
    glyphs.assign(shaped->Glyphs.size(), nullptr);
    bool missing = false;
    {
        std::shared_lock lock(D->Mutex);
        for (std::size_t i = 0; i < glyphs.size(); ++i) {
            const auto found = D->Glyphs.find(RGlyphKey{fontId, caption.Escapement, shaped->Glyphs[i].Glyph});
            if (found != D->Glyphs.end())
                glyphs[i] = &found->second;
            else
                missing = true;
        }
    }
    if (missing) {
        const QRawFont raw = QRawFont::fromFont(font);
        for (std::size_t i = 0; i < glyphs.size(); ++i) {
            if (glyphs[i])
                continue;
            const RGlyphKey key{fontId, caption.Escapement, shaped->Glyphs[i].Glyph};
            RGlyph made = Rasterise(raw, font, key.Glyph, caption);
            const std::size_t bytes = GlyphBytes(made);
            std::unique_lock lock(D->Mutex);
            const auto [at, added] = D->Glyphs.emplace(key, std::move(made));
            if (added)
                D->Bytes += bytes;
            glyphs[i] = &at->second;
        }
    }
    for (const RGlyph* g : glyphs)
        if (g->Large)
            return false;
    // Each glyph at its position mapped as Qt maps it: the run's start, then the glyph's
    // distance from it along the baseline.
    const QRgb pixel = 0xff000000u | caption.Color;
    std::int32_t origin = shaped->Glyphs.empty() ? 0 : shaped->Glyphs.front().Origin + 1;
    QTransform run;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const RShapedGlyph& sg = shaped->Glyphs[i];
        if (sg.Origin != origin) {
            origin = sg.Origin;
            run = CaptionTransform(caption.Anchor.x(), caption.Anchor.y(), caption);
            run.translate(origin / 64.0, caption.Ascent);
        }
        const QPointF at = QPointF((sg.X - sg.Origin) / 64.0, 0) * run;
        if (!std::isfinite(at.x()) || !std::isfinite(at.y()) || std::abs(at.x()) > 1e8 || std::abs(at.y()) > 1e8)
            continue;
        const auto fx = std::int32_t(at.x() * 64);
        const auto fy = std::int32_t(at.y() * 64);
        const RGlyph& g = *glyphs[i];
        if (g.Width == 0)
            continue;
        const int left = (fx >> 6) + g.Left;
        const int top = ((fy + 32) >> 6) + g.Top;
        const QRect painted = QRect(left, top, g.Width, g.Height) & area;
        if (painted.isEmpty())
            continue;
        const int stride = (g.Width + 7) / 8;
        for (int y = painted.top(); y <= painted.bottom(); ++y) {
            const std::uint8_t* mask = g.Bits.data() + std::size_t(y - top) * stride;
            auto* row = reinterpret_cast<QRgb*>(bits + y * bytesPerLine);
            for (int x = painted.left(); x <= painted.right(); ++x) {
                const int k = x - left;
                if (mask[k >> 3] & (0x80 >> (k & 7)))
                    row[x] = pixel;
            }
        }
    }
    return true;
}

void TGlyphCache::Trim()
{
    std::unique_lock lock(D->Mutex);
    if (D->Bytes > D->Bound) {
        D->Glyphs.clear();
        D->Texts.clear();
        D->Bytes = 0;
    }
}

void TGlyphCache::Clear()
{
    std::unique_lock lock(D->Mutex);
    D->Glyphs.clear();
    D->Texts.clear();
    D->Bytes = 0;
}

std::size_t TGlyphCache::Bytes() const
{
    std::shared_lock lock(D->Mutex);
    return D->Bytes;
}

std::size_t TGlyphCache::Glyphs() const
{
    std::shared_lock lock(D->Mutex);
    return D->Glyphs.size();
}

std::size_t TGlyphCache::Texts() const
{
    std::shared_lock lock(D->Mutex);
    return D->Texts.size();
}

void TGlyphCache::SetBound(std::size_t bytes)
{
    std::unique_lock lock(D->Mutex);
    D->Bound = bytes == 0 ? DefaultBound : bytes;
}

void TGlyphCache::ResetSelfTest(bool failSelfTest)
{
    FailSelfTest = failSelfTest;
    State.store(-1);
}

bool TGlyphCache::Enabled()
{
    int state = State.load();
    if (state < 0) {
        const bool same = SelfTest() && !FailSelfTest;
        if (!same) {
            Clear();
            qWarning("Подписи рисуются без кэша глифов: кэш рисует не те же точки, что Qt.");
        }
        state = same ? 1 : 0;
        State.store(state);
    }
    return state == 1;
}

// Captions in the fonts a plan most often has, at several sizes and turns, about the
// picture's edges, drawn through the cache and through drawText: every pixel the same.
bool TGlyphCache::SelfTest()
{
    static const char* const Faces[] = {"Arial", "Times New Roman", "Courier New"};
    static const int Heights[] = {-7, -12, -21};
    static const int Turns[] = {0, 1, 300, 900, 1799, 2705, 3599};
    static const char* const Texts[] = {"123,45", "Кирп. 5 эт.", "AV Те.", "пос. Рыбачий"};
    static const QPoint Anchors[] = {{-9, 13}, {120, 90}, {231, 161}, {60, -4}};
    QImage plain(240, 170, QImage::Format_RGB32), cached(plain.size(), QImage::Format_RGB32);
    plain.fill(Qt::white);
    cached.fill(Qt::white);
    int drawn = 0, k = 0;
    for (const char* face : Faces)
        for (const int h : Heights) {
            TLogFont lf;
            lf.FaceName = QString::fromLatin1(face);
            lf.Height = h;
            qreal scale = 1;
            QFont font = LogFontToFineQFont(lf, scale);
            font.setStyleStrategy(QFont::NoAntialias);
            const qreal ascent = QFontMetricsF(font).ascent();
            const std::uint32_t id = FontId(lf);
            for (const int turn : Turns) {
                const QString text = QString::fromUtf8(Texts[k % 4]);
                const QPoint anchor = Anchors[k % 4];
                const QColor color = QColor::fromHsv((k * 37) % 360, 200, 160);
                ++k;
                const RCaption c{anchor, &text, turn, scale, ascent, color.rgb()};
                const auto paint = [&](QImage& image) {
                    QPainter p(&image);
                    p.setRenderHint(QPainter::Antialiasing, false);
                    p.setRenderHint(QPainter::TextAntialiasing, false);
                    p.setFont(font);
                    p.setPen(color);
                    p.setTransform(CaptionTransform(anchor.x(), anchor.y(), c));
                    p.drawText(QPointF(0, ascent), text);
                };
                paint(plain);
                if (Draw(cached.bits(), cached.width(), cached.height(), cached.bytesPerLine(), cached.rect(), font, id,
                         c))
                    ++drawn;
                else
                    paint(cached);
            }
        }
    return drawn > 0 && plain == cached;
}
