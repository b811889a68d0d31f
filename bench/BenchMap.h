// A plan document for the benchmarks, set up as the main window sets it up, and the
// commands built through the engine's own formatter.
#pragma once

#include "engine/EngineServices.h"
#include "engine/GeoMap.h"

#include <array>
#include <vector>

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

// The timings each drawing shows on its status panel, in the order drawn: rendering,
// objects and marks, grid, rasters with frames, copy (seconds, two decimals).
class TPanelTimings : public TEngineServices {
public:
    void SetPanelText(TEnginePanel panel, const QString& text) override;
    std::vector<std::array<double, 5>> Drawings;
};

} // namespace bench
