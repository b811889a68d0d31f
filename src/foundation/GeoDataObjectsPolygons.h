// Geometric questions about closed contours: point in polygon, crossings of a segment
// with a contour, nearest and farthest points, points in an area with holes, and the
// longest chord inside an area. A contour is closed implicitly (after the last vertex
// comes an edge back to the first, which is not repeated). Plan metres throughout.
// None of these routines moves a list's cursor, except on the lists they fill.
#pragma once

#include "foundation/GeoDataObjectsCoords.h"

class TGPolygonNodes;   // foundation/GeoDataObjects.h

// Whether (x, y) lies in the contour: a vertex, or a point within 0.001 m of an edge
// (the two distances to its ends exceed its length by less than that), counts as
// inside. Fewer than 3 vertices: false. Correct wherever the contour lies, at negative
// coordinates too.
bool PointInPolygon(const TGeoPoints& Polygon, Extended x, Extended y);
bool PointInGPolygon(const TGPolygonNodes& Polygon, Extended x, Extended y);
// The four corners as a contour, edges 1→2, 2→3, 3→4, 4→1.
bool PointInGeoRect(const TGeoRect& Rect, Extended x, Extended y);

// Inside the outer contour and not inside any hole (a hole's boundary is outside the
// area). Holes may be null or empty.
bool PointInPolygonWithHoles(const TGeoPoints& Outer, const TListGeoPoints* Holes,
                             Extended x, Extended y);

// Clears Points and appends, edge by edge with the closing edge last, the crossing of
// every edge that the segment (x1, y1)-(x2, y2) crosses or touches at an end; a
// crossing at a vertex comes once for each of its two edges. True when at least one
// was appended; false, Points untouched, for an empty contour.
bool IntersectPolygon(const TGeoPoints& Polygon, Extended x1, Extended y1, Extended x2,
                      Extended y2, TGeoPoints& Points);
// Whether the segment crosses or touches any edge, the closing edge included.
bool IntersectPolygon(const TGeoPoints& Polygon, Extended x1, Extended y1, Extended x2,
                      Extended y2);

// The crossing nearest to (x1, y1), ignoring crossings exactly at (x1, y1); the first
// found wins among equally near ones. False, xi and yi untouched, when there is none.
bool MinIntersectPolygon(const TGeoPoints& Polygon, Extended x1, Extended y1, Extended x2,
                         Extended y2, Extended& xi, Extended& yi);

// The nearest crossing in (xi1, yi1) and the farthest in (xi2, yi2), from (x1, y1),
// crossings exactly at (x1, y1) ignored, ties keeping the first found. False when there
// is no crossing (outputs untouched), and also false (outputs set) when the nearest and
// the farthest are the same point.
bool MinMaxIntersectPolygon(const TGeoPoints& Polygon, Extended x1, Extended y1,
                            Extended x2, Extended y2, Extended& xi1, Extended& yi1,
                            Extended& xi2, Extended& yi2);
// The same over the rectangle's four edges, but true as soon as one crossing was
// found, even when the nearest and the farthest are the same point.
bool MinMaxIntersectPolygon(const TGeoRect& Polygon, Extended x1, Extended y1, Extended x2,
                            Extended y2, Extended& xi1, Extended& yi1, Extended& xi2,
                            Extended& yi2);

// Of the points, the one nearest to (x1, y1) goes to (Xmin, Ymin) and the farthest to
// (Xmax, Ymax); the first of equals wins. (x2, y2) is not used. An empty list leaves
// the outputs untouched.
void RangePointsInLine(const TGeoPoints& Points, Extended x1, Extended y1, Extended x2,
                       Extended y2, Extended& Xmin, Extended& Ymin, Extended& Xmax,
                       Extended& Ymax);

// Pts are points along a line through the area, in order. Of the pieces between
// consecutive points whose middle lies in the area (PointInPolygonWithHoles), the first
// longest one: its middle goes to (Xc, Yc), the smallest and largest X and Y of its
// ends to the rest. True when such a piece was found; otherwise the outputs describe
// the last piece tested and the result is false. Fewer than two points: false, the
// outputs untouched.
bool LongestInnerChord(const TGeoPoints& Outer, const TListGeoPoints* Holes,
                       const TGeoPoints& Pts, Extended& Xc, Extended& Yc, Extended& XMin,
                       Extended& YMin, Extended& XMax, Extended& YMax);
