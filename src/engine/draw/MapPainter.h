// The plan's painter: QPainter on the Format_RGB32 picture with the drawing rules the
// plans were made under (pen modes as raster operations, width 0 as one pixel, wide
// dashed pens drawn solid, a dash restarting at every segment, fill kinds, font height
// as cell height, text anchored at its top-left and turned about it). Coordinates come
// in as unrounded pixels and are clipped against the picture before QPainter sees them,
// so a node far off the picture never overflows anything.
#pragma once

#include "semantics/signs/SymbolsFont.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

// Pen modes, as the plans store them (the GUI library's ordinals).
enum : std::uint8_t {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
// Pen styles.
enum : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// A stored colour (0x00BBGGRR; negative: a system colour by its index in the low byte).
QColor TColorToQColor(std::int32_t color);
// The system's button face, what the screen picture is cleared with by default.
constexpr std::int32_t clBtnFace = std::int32_t(0x8000000F);

// The pen and brush a primitive is painted with, as the plan's painter holds them.
struct TPenState {
    std::int32_t PenColor = 0;
    std::int32_t BrushColor = 0xFFFFFF;
    int PenWidth = 0;
    std::uint8_t PenMode = pmCopy;
    std::uint8_t PenStyle = psSolid;
    bool BrushClear = false;
    bool NoPen = false;   // the fill of a dashed polygon, its sides stroked apart

    bool operator==(const TPenState&) const = default;
};

// The raster operation of a pen mode (black, white and copy paint over).
QPainter::CompositionMode PenModeComposition(std::uint8_t mode);
// Sets p's pen and brush to state (black and white modes as colours, one-pixel, dashed
// and wide pens); ApplyPenState sets the composition mode of its pen mode too.
void SetPenAndBrush(QPainter& p, const TPenState& state);
void ApplyPenState(QPainter& p, const TPenState& state);
// The colours the pen and the brush of state paint (black and white modes ignore the
// colours given).
QColor EffectivePenColor(const TPenState& state);
QColor EffectiveBrushColor(const TPenState& state);

class TDrawList;
// The lengths of a drawing's recorded lists (TDrawList), to make room for as many at once.
struct RDrawListSizes {
    std::size_t Ops = 0, States = 0, Points = 0, Rings = 0, Rects = 0, Colors = 0, Texts = 0;
};

// What the painter hands to Qt, one call at a time, with the painter set as it draws it
// (pen, brush, composition mode, font and transform): the benchmarks collect a drawing's
// primitives through it to draw them again with bare QPainter calls.
class TPaintObserver {
public:
    virtual ~TPaintObserver() = default;
    virtual void Line(const QPainter& p, const QPoint& a, const QPoint& b) = 0;
    virtual void Polyline(const QPainter& p, const QPolygon& points) = 0;
    virtual void Polygon(const QPainter& p, const QPolygon& points) = 0;
    virtual void Path(const QPainter& p, const QPainterPath& path) = 0;
    virtual void Ellipse(const QPainter& p, const QRect& box) = 0;
    virtual void Fill(const QPainter& p, const QRect& r, const QColor& color) = 0;
    virtual void Text(const QPainter& p, const QPointF& at, const QString& text) = 0;
    virtual void Image(const QPainter& p, const QRectF& target, const QImage& image, const QRectF& source) = 0;
};

class TMapPainter {
public:
    TMapPainter();
    TMapPainter(const TMapPainter&) = delete;
    TMapPainter& operator=(const TMapPainter&) = delete;
    ~TMapPainter();

    // Paints on picture until End (which Begin of another picture implies). Pen: black,
    // copy, solid, one pixel; brush white and solid. Tiled: nothing is painted until End,
    // which hands what was recorded to the tile drawer and returns when it is painted,
    // over the part area of the picture alone when area is not empty.
    void Begin(QImage& picture, bool tiled = false, const QRect& area = QRect());
    void End();
    bool Active() const { return Painter.isActive() || Record; }
    bool Tiled() const { return Record != nullptr; }
    QImage* Picture() const { return Target; }

    // Width in pixels: 0 and 1 are one pixel; dashed styles apply only up to one pixel.
    void SetPen(std::int32_t color, std::uint8_t mode, std::uint8_t style, int width);
    void SetBrush(std::int32_t color);   // solid
    void SetBrushClear();
    // The brush's colour alone, solid or clear as it was.
    void SetBrushColor(std::int32_t color);
    struct TState {
        std::int32_t PenColor, BrushColor;
        std::uint8_t PenMode, PenStyle, BrushClear;
        int PenWidth;
    };
    TState State() const;
    void Restore(const TState& s);

    // One stroke from a to b; the dash pattern starts at a.
    void Line(const QPointF& a, const QPointF& b);
    // Consecutive points as one polyline (no dashes restarted: the outline of the plain
    // drawing), or each pair as a stroke of its own.
    void Polyline(const std::vector<QPointF>& points, bool strokePerSegment);
    // A filled polygon of one or more rings, odd-even: a ring inside another is a hole.
    // Between BeginPolygon and DrawPolygon: NewRing, then Point for each corner.
    void BeginPolygon();
    void NewRing();
    void Point(const QPointF& p);
    void DrawPolygon();
    // The ellipse inside the box from p1 to p2 (right and bottom edge excluded).
    void Ellipse(const QPointF& p1, const QPointF& p2);
    void Pixel(const QPointF& p, std::int32_t color);
    // txt set in lf (height in pixels, the cell; escapement in tenths of a degree
    // counter-clockwise) with its unturned top-left at anchor; transparent background.
    void Text(const QPointF& anchor, const QString& txt, const TLogFont& lf, std::int32_t color);
    void FillRect(const QRect& r, std::int32_t color);
    // The part of image that falls on the picture, stretched so that the whole image
    // would fill target.
    void StretchImage(const QRectF& target, const QImage& image);

    // ---- A part of the picture redrawn alone (GeoMapDrawDirty.cpp) ----
    // Paints only inside r, pixels of the picture, until ClearClip or End: coordinates
    // are still clipped against the whole picture, so every pixel inside r comes out
    // as a drawing of the whole picture paints it.
    void SetClip(const QRect& r);
    void ClearClip();
    // ---- end of a part of the picture ----

    // Told of every call to Qt while set (the plain painting only); not owned.
    TPaintObserver* Observer = nullptr;

private:
    struct TFineFont {
        QFont Font;
        qreal Scale = 1;    // fine pixels per dot
        qreal Ascent = 0;   // fine pixels
    };
    const TFineFont& FineFont(const TLogFont& lf);
    void ApplyMode(bool forText);
    bool PenVisible() const { return PenMode != pmNop && PenStyle != psClear; }
    bool Dashed() const;
    QRectF ClipRect() const;
    bool ClipSegment(QPointF& a, QPointF& b) const;
    void ClipRing(std::vector<QPointF>& ring);
    void UpdatePen();
    void AddRingToPath();
    TPenState CurrentState() const;
    // The box every pixel of a stroke through points may paint, for the tile drawer.
    QRect StrokeBox(const QPoint* points, qsizetype count) const;
    void RecordFill(const QRect& r, const QColor& color);

    QPainter Painter;
    QImage* Target = nullptr;   // link, not owned
    std::int32_t PenColor = 0;
    std::uint8_t PenMode = pmCopy;
    std::uint8_t PenStyle = psSolid;
    int PenWidth = 0;
    std::int32_t BrushColor = 0xFFFFFF;
    bool BrushClear = false;
    int AppliedMode = -1;     // the composition mode set on the painter, -1 none
    bool PenDirty = true;
    // While tiled: what is painted goes here, with the state recorded last.
    TDrawList* Record = nullptr;   // into Recorded
    std::unique_ptr<TDrawList> Recorded;
    RDrawListSizes LastRecorded;   // of the last list given back
    QRect RecordedArea;   // empty: the whole picture
    std::uint32_t RecordedState = 0;
    TLogFont RecordedLf;
    std::int64_t RecordedFont = -1;   // the list's index of RecordedLf, -1 none

    // Reused from one primitive to the next.
    std::vector<QPointF> RingPoints;
    std::vector<int> RingStarts;
    std::vector<QPointF> Clipped;
    std::vector<QPointF> Scratch;
    QPolygon IntPoints;
    QPainterPath Path;

    QHash<QString, TFineFont> Fonts;
    const TFineFont* LastFont = nullptr;   // into Fonts
    TLogFont LastLf;
};
