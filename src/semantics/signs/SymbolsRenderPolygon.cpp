// The drawn form of an area object.
#include "semantics/signs/Symbols.h"

#include "foundation/ErrorTrail.h"
#include "foundation/GeoDataObjects.h"

bool TSymbols::RenderPolygon(RGPolygon* Polygon)
{
    TTrailGuard guard("Symbols", "function TSymbols.RenderPolygon:boolean;");
    (void)Polygon;
    return false;
}
