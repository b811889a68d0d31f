// Small integer and rectangle helpers of the control library. Rectangles are given
// by their corners as in QRect(QPoint(left, top), QPoint(right, bottom)).
#pragma once

#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <cstdint>

inline std::int32_t MaxOfTwo(std::int32_t a, std::int32_t b) { return a > b ? a : b; }
inline std::int32_t MinOfTwo(std::int32_t a, std::int32_t b) { return a < b ? a : b; }

// Right − Left and Bottom − Top of the corner pair.
inline int RectWidthOf(const QRect& r) { return r.right() - r.left(); }
inline int RectHeightOf(const QRect& r) { return r.bottom() - r.top(); }

// True when Left ≤ X ≤ Right and Top ≤ Y ≤ Bottom: all four edges count as inside.
bool PointInsideRect(const QPoint& p, const QRect& r);

// Whether the point lies in the polygon points[0..lastIndex] (closed implicitly),
// decided as for a polygon region of the screen filled by the winding rule: pixels of
// the left and top edges are inside, those of the right and bottom edges are not.
bool PointInsidePolygon(const QPoint& p, const QPoint* points, int lastIndex);
bool PointInsidePolygon(const QPoint& p, const QPolygon& polygon);
