// What the sign picture editor computes without its window: the view (millimetres of the
// sign to surface pixels and back, extents, fit, zoom, pan), the rendering of a picture
// with its millimetre grid, the hit tests of a click and of the hovering mouse, the
// corners of a regular polygon, and the edits its tools and buttons make to a picture.
// Pictures hold one primitive per element; element indexes are row indexes of the
// element list.
#pragma once

#include "foundation/GeoDataObjectsSigns.h"

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class TSymbols;

// The view of the editor. A point (X north, Y east; millimetres) shows at surface column
// round((Y - MinY) * K) + 10 and row H - round((X - MinX) * K) - 10: the picture is
// anchored at its south-west corner with a margin of 10 pixels.
struct TSymbolEditView {
    Extended MinX = -10, MinY = -10, MaxX = 10, MaxY = 10;
    Extended K = 1;      // pixels per millimetre
    Extended K0 = 1;     // the unit scale: the screen's dots per millimetre
    Extended Zoom = 1;   // K / K0 as a zoom button last set it
    int W = 0, H = 0;    // the drawing surface in pixels

    // Pixel positions as reals (whole numbers after the rounding), so that a far-off
    // point at a large scale never overflows; the caller clips before painting.
    QPointF ToScreen(Extended x, Extended y) const;
    QPointF ToScreen(const TGeoPoint& p) const { return ToScreen(p.X, p.Y); }
    // The same, held within +-1e6 pixels and made whole.
    QPoint ToScreenInt(const TGeoPoint& p) const;
    TGeoPoint ToMM(const QPointF& pixel) const;
    TGeoPoint ToMM(const QPoint& pixel) const { return ToMM(QPointF(pixel)); }

    // K within K0 / 100 and K0 * 100 (the zoom buttons and the fit stay there).
    Extended Clamped(Extended k) const;
    // Extents of pict; an empty picture -10 to 10 in both axes.
    void SetExtentsOf(const TVpLayers& pict);
    // K from the extents and the surface: the smaller of the two ratios, K0 when an
    // extent is empty or the ratio below 0.1; clamped.
    void Fit();
    // K := K0 * factor, clamped; the millimetre point under the middle of the surface
    // stays there (all four extents move by the same amount).
    void ZoomTo(Extended factor);
    // The extents move by the drag from press to release (millimetres).
    void Pan(const TGeoPoint& press, const TGeoPoint& release);
    // The extents become the rectangle between two points (millimetres), any order.
    void SetExtents(const TGeoPoint& a, const TGeoPoint& b);
};

// Status panel 0: "1:n" below 1, "1:1", "n:1" above 1; "ошибка" for a ratio of 0.
QString ZoomText(Extended k, Extended k0);
// Status panels 1 and 2: a coordinate in millimetres.
QString CoordText(Extended v);

// Paints pict with its grid into picture (cleared to white), the surface's top-left at
// offset of the picture. Text frames are measured with symbols at 1 / K millimetres per
// dot and stored in the texts; symbols' scale factor is restored after. False, nothing
// painted but the white, when the view has no scale.
bool RenderSymbolPicture(QImage& picture, const QPoint& offset, TVpLayers& pict,
                         const TSymbolEditView& view, TSymbols& symbols);

// ---- The element list and the found list ----

// One row per non-empty primitive list of every element, in element order:
// "Полигон", "Окружность", "Линия", "Полининия", "Текст".
QStringList ElementRows(const TVpLayers& pict);

// The kind of an element's primitive, in the order the element draws them.
enum TSymbolPrimKind : std::uint8_t { spkNone, spkPolygon, spkCircle, spkLine, spkPolyline, spkText };
TSymbolPrimKind ElementKind(const RVpLayer& layer);
// "Полигон", "Окружность", "Линия", "Полилиния", "Текст"; empty for none.
QString FoundKindName(TSymbolPrimKind kind);

struct TFindedObject {
    int Index = 0;   // the element
    QString Name;    // its kind name
};

// Every element hit at point (millimetres), in element order: polygons containing it
// (within 0.001 of an edge), circles within their radius, lines and polylines with a
// segment crossing the pick square of half side halfSide millimetres round it, texts
// whose frame holds it.
std::vector<TFindedObject> FindElementsAt(const TVpLayers& pict, const TGeoPoint& point,
                                          Extended halfSide);

// ---- The selected element on the surface ----

// Handle points (surface pixels): the nodes of a polygon or polyline, a line's two ends,
// a circle's centre and its point due east at the radius, a text frame's four corners.
QPolygon HandlePoints(const RVpLayer& layer, const TSymbolEditView& view);

// What a press would grab.
enum THoverState : std::uint8_t { hsNothing, hsNode, hsBody, hsRim };
struct THover {
    THoverState State = hsNothing;
    int Node = 0;
};
// The hover of mouse (surface pixels) over the selected element, pick half-side h
// pixels: a node square (5 pixels each side of a node) first, then the body; for a
// circle the rim band of h pixels each side of the outline.
THover HoverAt(const RVpLayer& layer, const TSymbolEditView& view, const QPoint& mouse, int h);

// The drag's result: a node moved by offset, the whole element moved by offset, or a
// circle's radius set to reach release (millimetres).
void ApplyDrag(RVpLayer& layer, const THover& hover, const TGeoPoint& offset,
               const TGeoPoint& release);
// What the dashed preview of a drag shows on the surface: polylines (a polygon's
// outline closed) and, for a circle, its outline.
struct TDragPreview {
    std::vector<QPolygonF> Lines;
    bool Circle = false;
    QPointF Centre;         // surface pixels
    Extended Radius = 0;    // pixels
};
TDragPreview DragPreview(const RVpLayer& layer, const THover& hover, const TGeoPoint& offset,
                         const TGeoPoint& mouse, const TSymbolEditView& view);

// ---- Creation ----

// What new primitives take from the window.
struct TNewPrimStyle {
    std::int32_t PenColor = 0;
    std::int32_t FillColor = 0x808080;
    std::uint8_t FillKind = vfColor;
    Extended Width = 0.1L;
};

// Each appends one element holding the new primitive (pen mode copy, solid); the
// picture's cursor on it.
void AddLine(TVpLayers& pict, const TNewPrimStyle& s, const TGeoPoint& a, const TGeoPoint& b);
void AddPolyline(TVpLayers& pict, const TNewPrimStyle& s, const std::vector<TGeoPoint>& points);
void AddPolygon(TVpLayers& pict, const TNewPrimStyle& s, const std::vector<TGeoPoint>& points);
void AddCircle(TVpLayers& pict, const TNewPrimStyle& s, const TGeoPoint& centre, Extended radius);
// A text of style styleName, angle 90, empty, at position.
RVpText& AddText(TVpLayers& pict, const QString& styleName, const TGeoPoint& position);

// The corners of a regular polygon of n corners about centre through radius r: the
// forward task at directions 0, 360 / n, ... while the sum (extended precision) does not
// exceed 360, so a sum landing on 360 repeats the first corner, due north. n below 3
// gives nothing.
std::vector<TGeoPoint> RegularPolygonCorners(const TGeoPoint& centre, Extended r, int n);

// ---- Whole elements ----

// Polygons and circles take both colours and the fill kind, lines and polylines the pen
// colour; texts stay.
void ApplyColours(RVpLayer& layer, std::int32_t pen, std::int32_t fill, std::uint8_t fillKind);
// Every primitive but a text takes the width.
void ApplyWidth(RVpLayer& layer, Extended width);
// Swaps element i with its neighbour before (up) or after; false at the end of the list.
bool MoveElement(TVpLayers& pict, int i, bool up);
// The reference point of every polyline and polygon as the sign loader sets it: east in
// the middle of the nodes' east range, north 0.
void SetReferencePoints(TVpLayers& pict);
