// The composite fields of the object commands, written once for every window that builds
// mcNewPoint, mcSetPointProp, mcNewLine, mcNewPolygon and their kin: the user caption
// settings, line nodes, outer polygon nodes, inner contours, the additional line objects,
// coordinates by the object's precision and the style name of a text. Each encoder writes
// through the command formatter, so a text that could shift the fields is refused there
// with its message; reals take the locale's decimal separator (the engine reads both).
#pragma once

#include "foundation/GeoDataObjects.h"

#include <QString>
#include <QStringList>

// The decimals of an object's coordinates: 1, 2 or 3 as its precision says, 0 for any
// other value ("%.0f").
int CoordDecimals(TPrecision precision);

// One coordinate written with the object's precision.
QString CoordText(Extended value, TPrecision precision);

// The caption settings, one "[{dx}{dy}{rotation}{size factor}{visibility}]" per setting
// ("%f", "%f", "%d", "%f", "%d"), in order, nothing between; empty for none.
QString UserTextsField(const ArrUserTexts& texts);

// Line nodes, eight values per node: X, Y (by precision), node type, sign shift ("%f"),
// segment type, text counter, curve flag, inverted text; with origins (one per node) a
// ninth, the old node whose attached points the node keeps (-1 none), for mcSetLineProp.
QString LineNodesField(const ArrLineNodes& nodes, TPrecision precision,
                       const std::vector<int>* origins = nullptr);

// Outer polygon nodes, eight values per node: X, Y (by precision), sign shift ("%f"),
// segment type, segment style, node line, node picture, curve flag. (The engine also
// reads the seven of older journals, without the curve flag.)
QString PolygonNodesField(const ArrPolygonNodes& nodes, TPrecision precision);

// Inner contours, each in "(" ")" with six values per node: X, Y (by precision), sign
// shift ("%f"), segment style, node picture, curve flag.
QString IntrPolygonsField(const ArrIntrPolygons& contours, TPrecision precision);

// The additional line objects of a line: each semantics as "{%s}", nothing between.
QString OverLinesField(const QStringList& semantics);

// A text style name as a command carries it: its first character (">" in every style
// of the library, which would close the field) replaced by "*"; empty stays empty.
QString StyleNameField(const QString& styleName);
