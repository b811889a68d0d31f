// The survey tools' own small geodetic routines in double precision: angle reduction,
// conversions, the direction angle of an increment and the forward and inverse tasks.
// Kept apart from the foundation's extended-precision routines of the same names.
#pragma once

#include <QString>

namespace Geodezy {

// Angles are decimal degrees clockwise from north (X) unless a mode character asks
// for radians; X north, Y east, metres.

// The text of the last wrong-argument message ("" before any).
const QString& LastMessage();

// a >= 0: less 360 while above 360; a < 0: plus 360 while below 0. In [0, 360]; 360 stays.
double NormAngle(double a);
// Plus 360 while below 0; no upper reduction.
double NormNegative(double a);
// The next direction angle from the previous one a1 and the measured angle a2, both in
// degrees; lr 'L' for a left angle, 'R' for a right one (anything else is reported and
// taken as left). In [0, 360].
double NextDirAngle(double a1, double a2, QChar lr);
// sin x / cos x, x in radians; unguarded near pi/2 (a huge finite value).
double Tangent(double x);
double DegreesToRadians(double x);
double RadiansToDegrees(double x);
double GMSToDegrees(int g, int m, double s);
// Whole degrees and decimal minutes.
double GMToDegrees(int g, double m);
// Truncation towards zero: a negative x gives parts that are all negative or zero.
void DegreesToGMS(int& g, int& m, double& s, double x);
// Direction angle in radians, [0, 2 pi), of the increment dy east, dx north (east
// first). A zero increment is reported and gives 0.
double Rumb_Direct(double dy, double dx);
// Inverse task from point 1 to point 2. gr 'G' gives alfa in degrees, 'R' in radians;
// another character is reported and leaves alfa as it was. Equal points give s = 0 and
// alfa = 0 without a report.
void OGZ(double x1, double y1, QChar gr, double x2, double y2, double& s, double& alfa,
         double& dx, double& dy);
// Forward task: alfa in degrees for gr 'G', radians for 'R'; another character is
// reported and taken as degrees.
void PGZ(double x1, double y1, double l, double alfa, QChar gr, double& x2, double& y2,
         double& dx, double& dy);
// False for the empty text; true when every character is 0 to 9.
bool AllDigits(const QString& s);
// r = s with every "," and "." that is not DecimalSeparator turned into it.
void FixDecimalSeparator(const QString& s, QString& r);

} // namespace Geodezy
