// A plan document for the benchmarks, set up as the main window sets it up, and the
// commands built through the engine's own formatter.
#pragma once

#include "engine/GeoMap.h"

#include <QString>
#include <memory>

namespace bench {

// A plan document with every command handler the engine has, undo off, and the open
// filter letting everything in.
std::unique_ptr<TGeoMap> NewBenchMap();

// "<file><New>": the parameters of mcOpenMap and mcSaveMap for a native plan file.
QString NativeFileParams(const QString& fileName);

// Opens the plan file the way the open command does (DoCommand, mcOpenMap).
void OpenPlan(TGeoMap& map, const QString& fileName);

} // namespace bench
