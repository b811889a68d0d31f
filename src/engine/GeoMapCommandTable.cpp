// Which routine runs each command, and which writer renders the undo snapshots.
// A code left without a handler is declared but refused by the frame.
#include "engine/GeoMap.h"

void TGeoMap::InstallCommandHandlers()
{
    CommandHandlers.fill(TCommandHandler());
}

TSnapshotWriter DefaultSnapshotWriter() { return TSnapshotWriter(); }
