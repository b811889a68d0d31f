// The computed traverse into the plan: the traverse points and the source points as
// point objects with fixed semantics, made as the tacheometry makes its points.
#pragma once

#include "foundation/GeoTypes.h"
#include "survey/TraverseTable.h"
#include "survey/tacheo/TaheoCreate.h"

#include <QString>
#include <vector>

// One point to be made: its row, its semantics and its coordinates.
struct RTraversePlanPoint {
    int Row = 0;
    QString Semantics;
    Extended X = 0, Y = 0;
};

// The semantics heads of the two kinds; the point's name follows them.
inline QString TraversePointSemantics() { return QStringLiteral("ТОЧ/Ф010;ИН"); }
inline QString SourcePointSemantics() { return QStringLiteral("ПУН/Ф011;Н021;ИН"); }

// The rows of the traverse points P1 … Pn, resp. of the source points by the closure
// type (A, B, C, D; A, B, C; A, B).
std::vector<int> TraversePointRows(const TTraverseTable& table);
std::vector<int> SourcePointRows(const TTraverseTable& table);

// The points of rows, every row checked first: false with failure (naming the row) when
// a row lacks a coordinate or its name holds a character the plan command cannot carry.
bool CollectTraversePlanPoints(const TTraverseTable& table, const std::vector<int>& rows,
                               const QString& semanticsHead, std::vector<RTraversePlanPoint>& points,
                               QString& failure);

// One point object at (X, Y) with semantics through the tacheometry's creation.
TTaheoCreation CreateTraversePlanPoint(const QString& semantics, Extended X, Extended Y);

// Checks rows, then makes their points and redraws the plan once; a failure shows
// "Проверьте таблицу" and makes nothing. The number of points made.
int AddTraversePlanPoints(const TTraverseTable& table, const std::vector<int>& rows,
                          const QString& semanticsHead);
