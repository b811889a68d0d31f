// Search results: one record per object the plan's search found, with the shapes that
// make it up on the plan, so that the main window can highlight them and the engine
// can address the object again by its positions.
#pragma once

#include "foundation/GeoDataObjectsCoords.h"

#include <QString>
#include <cstdint>

// One shape of a found object.
struct RFindedObjRegion {
    TGeoPoints Outline;               // plan coordinates
    std::uint8_t IsCaption = 0;       // 0 the object's geometry, 1 a text or caption frame
    std::int32_t Number = 0;          // caption: its CaptionNumber; geometry: 0 main, 1 hole
    TGeoPoint Point;
};

class TFindedObjRegions : public TCursorList<RFindedObjRegion> {
public:
    TFindedObjRegions() : TCursorList("TFindedObjRegions", "RFindedObjRegion") {}
};

// Kinds of found objects.
enum : std::uint8_t {
    fkRastr = 0,
    fkText = 1,
    fkPoint = 2,
    fkLine = 3,
    fkPolygon = 4,
};

struct RFindedObject {
    std::int32_t PageIndex = -1;
    std::int32_t LayerIndex = -1;     // not used for rasters
    std::int32_t ObjectIndex = -1;    // position in the sheet's rasters or the layer's list
    std::uint8_t Kind = fkPoint;
    QString Description;              // kind prefix and the object's text or semantics
    QString Semantics;
    TFindedObjRegions Regions;
    std::int32_t Tag = -1;
    TExtGeoPoints Track;              // a line's rendered track; empty otherwise
};

class TFindedObjects : public TCursorList<RFindedObject> {
public:
    TFindedObjects() : TCursorList("TFindedObjects", "RFindedObject") {}
};
