// The parts of the picture that come later: the sheet frames and the coordinate grid,
// the collection of snapping nodes and the header of a printed page. Until they are
// built a drawing goes through their places and they add nothing.
#include "engine/GeoMap.h"

void TGeoMap::PaintPlanCross() {}

void TGeoMap::PaintCoordCross() {}

void TGeoMap::FindScreenNodes() {}

void TGeoMap::PrintHeader() {}
