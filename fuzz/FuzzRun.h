// What every fuzz target shares: one run of the program per process, in a program
// folder that is a fresh copy of data/ inside a memory-backed temporary folder, with
// the dialogs answered by their default hooks (cancel); input bytes written to files
// there for the readers that only take a path; and a small plan as the program holds
// it, with its native text as the oracle of "a refused action changed nothing".
#pragma once

#include "engine/EngineServices.h"
#include "engine/GeoMap.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

// Sets the run up on first call (later calls empty the error trail and the command
// journal the previous input left): the application object,
// the program folder and the globals of InitAppGlobalVar, the current folder being the
// run's "plans/" folder holding the plan fixtures. libFuzzer reads its corpus files
// after the first run: name corpus folders by absolute paths.
void FuzzStartRun();

// The program folder of the run, ending in "/".
QString FuzzProgramFolder();
// The run's folder for plans and input files (the current folder), ending in "/".
QString FuzzPlansFolder();

// Writes bytes to name (in the plans folder unless a full path), replacing what is
// there; the full path.
QString FuzzWriteFile(const QString& name, const std::uint8_t* data, std::size_t size);

// A plan linked to a window that answers every question by cancelling, its commands
// installed, raster loading off. The plan only links its window: both go together.
struct TFuzzPlan {
    std::unique_ptr<TEngineServices> Window;
    std::unique_ptr<TGeoMap> Map;
};
// With base, the fixture plan full.500 is opened into it.
TFuzzPlan FuzzNewPlan(bool base);

// The plan as its file would hold it.
QByteArray FuzzNative(TGeoMap& map);

// Runs a typed command line on the plan. A line the plan refuses (raises) must leave
// its native text as it was: aborts the process with the line when it does not.
// Returns whether the line was carried out.
bool FuzzCommandKeepsPlanWhenRefused(TGeoMap& map, const QString& line);

// Aborts with a message: a finding of the harness itself (not a sanitizer's).
[[noreturn]] void FuzzFail(const char* what, const QString& detail);
