// The part of the picture that comes later: the header of a printed page. Until it is
// built a printer drawing goes through its place and it adds nothing.
#include "engine/GeoMap.h"

void TGeoMap::PrintHeader() {}
