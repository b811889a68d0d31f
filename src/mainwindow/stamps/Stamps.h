// What the stamp, sheet-frame and coordinate-label tools compute before they issue
// commands: sheet names, nomenclatures, the stamp's frame polygons and the two label
// texts of a grid crossing.
#pragma once

#include "foundation/GeoTypes.h"

#include <QString>
#include <QStringList>
#include <array>

// The text up to, not including, its last "-"; the text itself when it is shorter than
// 6 characters or has no "-" (123-А-13 gives 123-А).
QString TrimNomenclatureTail(const QString& text);

// The nomenclature as the frame writes it: at most two leading "0" dropped, then a "0"
// in the next-to-last place (012-А-05 gives 12-А-5, 012-А-10 gives 12-А-10).
QString NormaliseNomenclature(const QString& text);

// "^штамп0" and the digit for 1 to 9, "^штамп" and the number from 10 on.
QString StampSheetName(int number);

// One more than the largest number among the names that contain "^штамп" (the
// characters from the 7th on, where they form an integer); 1 when there is none.
int NextStampNumber(const QStringList& names);

// The four frame polygons of a stamp with upper left corner (X1, Y1) and lower right
// corner (X2, Y2), widths a and b in metres: semantics and node list of each, in the
// order they are made.
struct RStampPolygon {
    QString Semantics;
    QString Nodes;   // "[{X}{Y}{-1.00}{0}{0}{0}{0}]" per node
};
std::array<RStampPolygon, 4> StampFramePolygons(Extended X1, Extended Y1, Extended X2, Extended Y2,
                                                Extended a, Extended b);

// One coordinate label: its text, where it stands and its angle in tenths of a degree.
struct RCoordLabel {
    QString Text;
    TGeoPoint At;
    int Angle = 0;
};
// The two labels of the crossing for direction code quadrant (1 to 4; another code is
// taken as 1) with the 16 offsets in plan metres, the first label first.
std::array<RCoordLabel, 2> CoordLabels(int quadrant, const TGeoPoint& cross,
                                       const std::array<Extended, 16>& offsets);
