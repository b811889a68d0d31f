// Plain point lists of the data model and the work lists with which the sign renderer
// builds sign pictures: placements along a segment, direction classes of an outline,
// per-contour point lists and the frames of texts already placed.
#pragma once

#include "foundation/AbstractListControl.h"
#include "foundation/GeoTypes.h"

#include <cstdint>

// One plan point; a new one is (0, 0).
using RGeoPoint = TGeoPoint;
using PGeoRect = TGeoRect*;

class TGeoPoints : public TCursorList<RGeoPoint> {
public:
    TGeoPoints() : TCursorList("TGeoPoints", "RGeoPoint") {}
    // Appends the point (x, y); cursor on it.
    void AddPoint(Extended x, Extended y)
    {
        AddItem();
        Item->X = x;
        Item->Y = y;
    }
};

// A point of a line's rendered track: NodeIndex is the position of the user node it
// belongs to (points inserted on a curve carry the last real node before them).
struct RExtGeoPoint {
    TGeoPoint Point;
    std::int32_t NodeIndex = 0;
};

class TExtGeoPoints : public TCursorList<RExtGeoPoint> {
public:
    TExtGeoPoints() : TCursorList("TExtGeoPoints", "RExtGeoPoint") {}
};

// Text frames that belong to someone else (the texts of a rendered picture); the list
// never frees them.
class TGeoRectList : public TCursorList<TGeoRect, TGeoRect*> {
public:
    TGeoRectList() : TCursorList("TGeoRectList", "PGeoRect") {}
};

struct RListGeoPoint {
    TGeoPoints Points;
};

// One point list per contour or contour piece.
class TListGeoPoints : public TCursorList<RListGeoPoint> {
public:
    TListGeoPoints() : TCursorList("TListGeoPoints", "RListGeoPoint") {}
};

// One placement of a sign picture along a segment.
struct RS1Point {
    TGeoPoint FromPoint;    // start of the segment walked
    TGeoPoint AtPoint;      // the placement on it
    TGeoAngle DirAngle = 0;  // the segment's direction angle
    std::uint8_t Flag = 0;
};

class TS1Points : public TCursorList<RS1Point> {
public:
    TS1Points() : TCursorList("TS1Points", "RS1Point") {}
};

// One class of outline directions: segments whose direction angle rounds to the same
// ten degrees (or to the opposite ten degrees).
struct RASegm {
    Extended AngleSum = 0;        // degrees
    std::int32_t Sector = 0;      // direction angle / 10, halves to even
    std::int32_t SegmentCount = 0;
    Extended LengthSum = 0;       // metres
};

class TASegms : public TCursorList<RASegm> {
public:
    TASegms() : TCursorList("TASegms", "RASegm") {}

    // Counts a segment of direction a (degrees, [0, 360]) and length l (metres) into
    // its class, else into the class of the opposite direction (with that direction),
    // else into a new class. The cursor ends on the class that took it.
    void AddSegment(TGeoAngle a, Extended l);
};

// The segment walk of the sign renderer on P1 → P2 (plan metres): placements at the
// distances Shift, Shift + Step, Shift + 2·Step, ... from P1 while they are less than
// the segment's length L, each appended with P1 and the segment's direction angle.
// Shift carries the distance still to go into the next segment: L <= Shift places
// nothing and leaves Shift − L; otherwise Shift becomes the first distance not placed
// minus L. A zero-length segment changes nothing. On a segment longer than Shift, a
// Step of zero or less (or one too small to advance) lays nothing and leaves Shift as
// it was.
void TraceSegment(Extended& Shift, const TGeoPoint& P1, const TGeoPoint& P2, Extended Step,
                  TS1Points& Points);
// The same walk appending plain points.
void TraceSegment(Extended& Shift, const TGeoPoint& P1, const TGeoPoint& P2, Extended Step,
                  TGeoPoints& Points);

// The sign library keeps one of each of these two lists; nothing adds to them.
struct RS1Line {
    TGeoPoint P1;
    TGeoPoint P2;
};

class TS1Lines : public TCursorList<RS1Line> {
public:
    TS1Lines() : TCursorList("TS1Lines", "RS1Line") {}
};

struct RBool {
    bool Value = false;
};

class TBools : public TCursorList<RBool> {
public:
    TBools() : TCursorList("TBools", "RBool") {}
};
