// The plan's own file ("FREE VELMORANT"): what its writer, its reader and the plan and
// file commands share, and the seams through which the rest of the engine plugs them in.
// The writer and the reader themselves are members of TGeoMap (WriteDataToFile,
// ReadDataFromFile).
#pragma once

#include "foundation/GeoDataObjects.h"
#include "foundation/GeoTypes.h"

#include <QString>
#include <QStringView>

class QIODevice;
class TGeoMap;

// The first line of every plan file.
inline const QString PlanFileHeader = QStringLiteral("FREE VELMORANT");

// The undo snapshot: the whole plan in the native format exactly as DataLines holds it
// (the file's lines, then one empty line), code page 1251, CR LF, streamed into out.
// Raises, with nothing of the plan changed, for a character code page 1251 lacks or a
// write error of out.
void WritePlanSnapshot(TGeoMap& map, QIODevice& out);

// Whether the writer writes a and b as the same coordinate line in an object of this
// precision class (a class above 3 writes millimetres): what a closed contour is.
bool SameWrittenPair(TPrecision precision, const TGeoPoint& a, const TGeoPoint& b);

// Points the plan's handlers of mcNewMap to mcSaveSelected at the plan and file
// commands, its snapshot writer at WritePlanSnapshot and its readers of the kinds "Old"
// and "Fora" at ReadDataFromOldFile and ReadDataFromForaFile.
void InstallPlanFileCommands(TGeoMap& map);

// Lines of the information text. The reader takes a line of the information section
// as information only when it is not empty and does not begin with a structural
// character ("{", "}", "[", "]", "|", "@", "$", "#"); the writer therefore puts the
// escape "~" before every information line that would read otherwise (an empty line,
// a line beginning with a structural character) and before a line that itself begins
// with "~" followed by a structural character, another "~" or nothing. The reader
// removes that one "~" again. Each line read adds itself and a CR to the text; when
// the text ended without a line break (no empty line stands before the section's end
// line), the CR of its last line is taken off again. So every text whose line breaks
// are CRs reads back exactly as it was written.
inline constexpr QChar InfoEscape = u'~';
bool IsPlanStructureChar(QChar c);
bool InfoLineNeedsEscape(QStringView line);
// The information a plain line of the section stands for.
QString UnescapeInfoLine(const QString& line);
