// Plan geometry conventions: X north, Y east, metres. A direction angle (TGeoAngle)
// is in degrees clockwise from north; a screen angle (TWinAngle) in tenths of a degree
// counter-clockwise from screen east. Screen pixels: x right, y down.
#pragma once

#include "platform/Platform.h"

#include <array>
#include <cstdint>
#include <vector>

using TGeoAngle = Extended;
using TWinAngle = std::int32_t;

struct TGeoPoint {
    Extended X = 0;
    Extended Y = 0;
};

inline TGeoPoint GeoPoint(Extended x, Extended y) { return TGeoPoint{x, y}; }

// Four corners of a possibly rotated rectangle; edges 1→2, 2→3, 3→4, 4→1.
using TGeoRect = std::array<TGeoPoint, 4>;

using TArrayFloats = std::vector<Extended>;
using TArrayIntegers = std::vector<std::int32_t>;
