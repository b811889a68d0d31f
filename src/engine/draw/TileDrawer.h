// The tiled drawing of the plan picture. What it keeps: TDrawList, every primitive one
// drawing hands to Qt, in picture pixels and in drawing order, with the painter state
// each needs; and TTileDrawer, a fixed set of worker threads that paint such a list
// into the picture, tile by tile, each tile by one worker clipped to it.
// Who may touch it: the plan's painter (TMapPainter) fills a list in the drawing's one
// serial pass and hands it over at its End; the workers only read the list and write the
// pixels of their own tile. Nothing the drawing's walk shares (the plan's cursor lists,
// the sign library, the plan's painter, counters, panels) is reached from a worker, and
// no font crosses a thread: a list holds logical fonts, each worker builds its own.
// The tiles paint straight into the picture through a rectangle clip: a private image
// per tile would shift the clipping of one-pixel and dashed lines to the tile's edge,
// which moves their pixels, where a rectangle clip on the whole picture leaves them.
#pragma once

#include "engine/draw/MapPainter.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

// What one drawing paints, in the order it paints it.
class TDrawList {
public:
    enum TKind : std::uint8_t {
        kLine,       // two points
        kPolyline,   // Count points
        kPolygon,    // Count points, odd-even
        kPath,       // Count rings from First in Rings, odd-even
        kEllipse,    // Rects[First]
        kCells,      // Rects[First] filled with Colors[Count] in the pen's raster operation
        kFill,       // Rects[First] filled with Colors[Count], copied
        kText,       // Texts[First]
        kImage       // Images[First]
    };
    struct ROp {
        TKind Kind;
        std::uint32_t State;   // into States
        std::uint32_t First;
        std::uint32_t Count;
    };
    struct RText {
        QPoint Anchor;
        QString Text;
        std::uint32_t Font;   // into Fonts
        std::int32_t Escapement;
        QColor Color;
        qreal Scale;          // as the plan's painter set the font: fine pixels per dot
        qreal Ascent;
    };
    struct RImage {
        QRectF Target;
        QImage Picture;
        QRectF Source;
    };
    struct RRing {
        std::uint32_t First, Count;   // into Points
    };

    void Clear();
    bool Empty() const { return Ops.empty(); }
    RDrawListSizes Sizes() const;
    void Reserve(const RDrawListSizes& sizes);
    std::size_t Size() const { return Ops.size(); }

    // The state index of state, a new one only when it differs from the last.
    std::uint32_t State(const TPenState& state);
    void Add(TKind kind, std::uint32_t state, std::uint32_t first, std::uint32_t count, const QRect& box);
    std::uint32_t Font(const TLogFont& lf);

    std::vector<ROp> Ops;
    std::vector<QRect> Boxes;   // per op: every pixel it may paint lies inside
    std::vector<TPenState> States;
    std::vector<QPoint> Points;
    std::vector<RRing> Rings;
    std::vector<QRect> Rects;
    std::vector<QColor> Colors;
    std::vector<RText> Texts;
    std::vector<RImage> Images;
    std::vector<TLogFont> Fonts;

private:
    QHash<QString, std::uint32_t> FontIndex;
};

// The switch between the two drawings of the plan: the plain one paints each primitive
// as the walk reaches it, on the calling thread (the reference the tests compare with);
// the tiled one records them and paints them on the workers. Process-wide; tiled unless
// set otherwise.
enum class TDrawPath : std::uint8_t { Plain, Tiled };
void SetDrawPath(TDrawPath path);
TDrawPath DrawPath();

class TTileDrawer {
public:
    // The one drawer of the process; its workers start with its first drawing and stay.
    static TTileDrawer& Shared();
    ~TTileDrawer();
    TTileDrawer(const TTileDrawer&) = delete;
    TTileDrawer& operator=(const TTileDrawer&) = delete;

    // Paints list over the part area of picture (the whole picture when area is empty),
    // the pixels outside it untouched, and returns when every tile is done. The picture
    // must be Format_RGB32 and stay alive, unshared, until then.
    void Draw(const TDrawList& list, QImage& picture, const QRect& area = QRect());
    // One tile painted on the calling thread: the same pixels any worker paints.
    static void DrawTile(const TDrawList& list, QImage& picture, const QRect& tile);

    int Workers() const;

private:
    struct TPixels {
        uchar* Bits;   // link, not owned
        int Width, Height;
        qsizetype BytesPerLine;
    };
    // Ops from..to-1 of list that meet tile, painted on the calling thread.
    // Captions from the glyph cache when cachedGlyphs.
    static void PaintTile(const TDrawList& list, const TPixels& picture, const QRect& tile, std::size_t from,
                          std::size_t to, bool cachedGlyphs);
    TTileDrawer();
    class TPool;
    std::unique_ptr<TPool> Pool;
    std::mutex Drawing;
};
