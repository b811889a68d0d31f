// The two searches of the surface that need no window: the snap candidate nearest the
// cursor among the snap nodes, and the part of a found object under the cursor (node,
// segment, caption or the object as a whole). Plan points are metres (X north, Y east),
// surface points pixels; the transform between them is handed in.
#pragma once

#include "foundation/GeoDataObjects.h"
#include "foundation/GeoDataObjectsFound.h"
#include "mainwindow/modes/MouseModes.h"

#include <QPoint>
#include <QString>
#include <cstdint>
#include <functional>

// The text of the snap nodes of the coordinate grid.
inline const QString GridNodeText = QStringLiteral("Координатная сетка");
// The text of the nodes of the object under construction.
inline const QString CreatingObjectText = QStringLiteral("создаваемый объект");

// Half the side of a snap or pick square: radius / 2, halves to even (50 gives 25).
int HalfSquare(int radius);

// Whether mode may snap to node: the stamp and the coordinate labels take grid
// crossings only, contour tracing nodes of point objects only, every other mode all.
bool SnapAdmits(TMouseMode mode, const RFAPoint& node);

// A snap candidate near the cursor.
struct TFindGeoPoint {
    TGeoPoint Plan;
    QPoint Screen;
    Extended Distance = 0;   // plan metres from the cursor's plan point
    QString Text;
    std::uint8_t Kind = 0;   // 0 point, 1 line, 2 polygon
};

// The candidate for the cursor at surface point cursor (plan point cursorPlan): among
// the nodes whose surface point lies in the square of HalfSquare(snapRadius) each way
// about it (borders included) and that mode admits, the nearest on the plan; on equal
// distances the first in list order. False when there is none.
bool FindSnapCandidate(const TFAPoints& nodes, TMouseMode mode, int snapRadius, QPoint cursor,
                       const TGeoPoint& cursorPlan, TFindGeoPoint& best);

// The transform the hit tests see: a plan point to its surface pixel and back.
struct TPickView {
    std::function<QPoint(const TGeoPoint&)> ToScreen;
    std::function<TGeoPoint(QPoint)> ToPlan;
    int PickRadius = 10;

    // The pick square about a surface point, its corners in plan coordinates in the order
    // (x - h, y - h), (x + h, y - h), (x + h, y + h), (x - h, y + h).
    TGeoRect PickSquare(QPoint at) const;
    // Whether the cursor's plan point lies in the pick square of the node's pixel.
    bool NodeUnderCursor(const TGeoPoint& node, const TGeoPoint& cursorPlan) const;
    // Whether the segment meets the pick square about the cursor: meets an edge of it,
    // corners included, or lies wholly inside.
    bool SegmentUnderCursor(const TGeoPoint& a, const TGeoPoint& b, QPoint cursor) const;
};

// The part under the cursor: 0 none, 1 node, 2 segment, 3 whole object, 4 caption; the
// region and the node, segment or caption number, -1 where they do not apply.
struct TPartUnderCursor {
    std::uint8_t Part = 0;
    int Contour = -1;
    int Index = -1;
};

// The part of the found object under the cursor, by the first rule that matches: for a
// raster or text its body; for a point its position, then its captions; for a line its
// nodes, captions, then segments (the dense outline's when it has one: part 3, or 2 with
// shift held); for a polygon the nodes of every contour, its captions, the outer
// contour's segments with the closing one last (always part 2), then its area. Nothing
// matched: part 0 and the contour and index of previous.
TPartUnderCursor FindPartOfObject(const RFindedObject& object, const TPickView& view,
                                  const TGeoPoint& cursorPlan, QPoint cursor, bool shift,
                                  const TPartUnderCursor& previous);
