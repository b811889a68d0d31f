// The frame of a drawing: the wait cursor, and the mode and destination kept for the
// transforms used between drawings. The rendering passes fill in between.
#include "engine/GeoMap.h"

#include "engine/EngineServices.h"
#include "foundation/ErrorTrail.h"

void TGeoMap::Draw(int W, int H, TDrawMode dmode, TDrawDest dDest)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.Draw(const W,H:integer; const dmode:TDrawMode; "
                                "const dDest:TDrawDest);");
    TEngineServices& ui = Ui();
    ui.BeginWaitCursor();
    DrawMode = dmode;
    DrawDest = dDest;
    DrawnCount = 0;
    SkippedCount = 0;
    ui.EndWaitCursor();
}
