// File and folder routines of the control library: sizes, copying and moving,
// clearing folders, creating folder paths and checking names. Paths are POSIX
// paths separated by "/".
#pragma once

#include <QString>
#include <cstdint>

// The size in bytes of the file, taken from its folder entry without opening it;
// -1 when there is no such entry or the name denotes a folder.
std::int64_t GetFileSizeByName(const QString& fileName);
