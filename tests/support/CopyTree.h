// Copying reference data into a temporary program folder, shared by the tests and the
// benchmarks: the program writes beside its data, so neither runs on the source tree.
#pragma once

#include <QString>

// Copies the file or folder from to the path to (folders with everything below them);
// false when something could not be copied.
bool CopyTree(const QString& from, const QString& to);
