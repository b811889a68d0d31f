// One plan object made from computed field coordinates, outside the main window's mouse
// modes: the sheet and layer by the main window's creation destination at the object's
// own position, then one plan command. The tacheometry and the traverse output share it.
#pragma once

#include "foundation/GeoTypes.h"

#include <QString>

// What became of one object.
enum TTaheoCreation {
    tcCreated,       // the command ran
    tcSkipped,       // no sheet or layer could be selected (the layer question cancelled)
    tcSheetRefused   // the sheet name was asked and Esc given: the caller stops
};

// The semantics of the next object and the sheet and layer indexes of the last
// creation (-1 before any). Each creation sets the indexes before use.
extern QString TaheoSemantics;
extern int TaheoPage;
extern int TaheoLayer;

// A point object at (X, Y), metres: mcNewPoint with TaheoSemantics, the creation
// precision, the point sign angle and the caption-line setting of the main window.
TTaheoCreation CreateTaheoPoint(Extended X, Extended Y);
// A line, resp. polygon, over the main window's node array (placed by its first node):
// mcNewLine, resp. mcNewPolygon, with TaheoSemantics. The node array is emptied
// afterwards, whatever became of the object; an empty array makes nothing.
TTaheoCreation CreateTaheoLine();
TTaheoCreation CreateTaheoPolygon();

