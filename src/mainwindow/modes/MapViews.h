// The view records the main window adds to the plan's view history: the new record is
// the current view, with the plan's present factors; the caller draws it.
#pragma once

#include "foundation/GeoTypes.h"

class TGeoMap;

// A view of the bounds given (X north, Y east, metres).
void AppendMapView(TGeoMap& map, Extended xMin, Extended yMin, Extended xMax, Extended yMax);
// A view of the rectangle with opposite corners a and b, either way round.
void AppendMapView(TGeoMap& map, const TGeoPoint& a, const TGeoPoint& b);

// Widens the rectangle from lo to hi (X north, Y east) to take in every text and caption
// frame the last drawing measured (the plan's texts, the points' and lines' own texts,
// the captions of the signs; a hidden caption counts not). True when it grew.
bool WidenByTextFrames(const TGeoMap& map, TGeoPoint& lo, TGeoPoint& hi);
