// The tacheometry calculator without its window: the cells of a new grid row, the point
// names with their codes, the validating number conversion, the computation of every
// observed row into a plan position, elevation and semantics, and the import of one
// station of a total-station file into the tacheometric grid's rows.
#pragma once

#include "foundation/GeoTypes.h"
#include "survey/UnitSokkiaServ.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

namespace UnitInputTaheo {

// Both grids have eight text columns.
inline constexpr int GridColumns = 8;
// The sign cell of the vertical angle: column 4 of the classic grid, 5 of the
// tacheometric one.
inline constexpr int ClassicSignColumn = 4;
inline constexpr int TaheoSignColumn = 5;

// A grid as its texts, row by row; every row holds GridColumns cells. The last row is
// the entry row, never computed.
using TTaheoRows = QList<QStringList>;

// A new row of the classic (SetDefLine) or tacheometric (SetDefLine2) grid: name, every
// number cell "0" and the sign cell "+".
QStringList SetDefLine(const QString& name);
QStringList SetDefLine2(const QString& name);
// The name of the row after one named name: name + 1 when it is digits only, else "1".
QString NextRowName(const QString& name);

// The characters before the first "/" (the whole name without one).
QString NamePart(const QString& name);
// "ИИ" + the code after the first "/" up to its first blank + ";"; empty when there is
// no "/" or nothing follows it.
QString CodeItem(const QString& name);

// Digits with at most one "," or "." and at most one leading sign, not empty; then read
// with the locale's separator. Anything else raises "Некорректный вид вещественного
// числа в строковом формате" with the module's trail lines.
Extended StrToFlt(const QString& s);

enum TTaheoObjects { toPiket, toPoint, toLine, toPolygon };
// How the vertical angles of the tacheometric grid are read: above the horizon
// positive, zenith angles, or a full vertical circle (above 270 negative).
enum TVerticalCount { vcNormal, vcZenith0, vc360 };

struct RTaheoSettings {
    bool TaheoGrid = true;           // the tacheometric grid, else the classic one
    bool DirectionAngles = false;    // the horizontal angles are direction angles
    bool OrientByCoord = true;       // orientation by a point, else by a direction angle
    Extended OrX = 0, OrY = 0;       // the orientation point
    int AlphaG = 0;                  // the orientation angle: whole degrees
    Extended AlphaM = 0;             // and decimal minutes
    bool StationToPoint = false;     // the orientation angle runs from the station
    Extended X0 = 0, Y0 = 0;         // the station
    Extended Hst = 0, I = 0;         // its elevation and the instrument height, metres
    bool Full = true;                // vertical angles and heights are read
    TVerticalCount Vertical = vcNormal;
    TTaheoObjects Objects = toPiket;
    QString Sem;                     // the chosen semantics (not for pickets)
};

// One computed row.
struct RTaheoObject {
    QString Name;         // the name cell as typed
    TGeoPoint Position;
    Extended H = 0;       // elevation, metres (0 in the short form)
    QString Semantics;    // what the object gets
};

// The direction angle of each row's sight, degrees in [0, 360].
TGeoAngle SightDirection(Extended horizontalAngle, const RTaheoSettings& s);

// Every row but the last, in order. Each cell the computation reads is checked first,
// and for pickets the names: a cell that is no number, or a name or code holding ";",
// "<", ">" or a line break, raises an Exception naming its row and column (from 1)
// before anything is returned. A line needs two rows and a polygon three; a chosen
// semantics holding "<", ">" or a line break is refused as well.
std::vector<RTaheoObject> CalculateObjects(const TTaheoRows& rows, const RTaheoSettings& s);

// The tacheometric rows of one station of a file: both grids start over (the classic
// one is left to the caller), each observation fills the entry row, which is followed
// by a new one; instrumentHeight receives the station's height when the file gives
// one. A malformed angle or height raises the StrToFlt error; rows receives the rows
// filled before it.
void ImportStation(const TTotalStationFile& file, int station, TTaheoRows& rows,
                   QString& instrumentHeight);

} // namespace UnitInputTaheo
