// The arithmetic of the raster commands of the main window: the sheet a raster-sheet
// file names, the corners of a raster laid onto two points, and the size of a raster
// inserted at a resolution.
#pragma once

#include "foundation/GeoTypes.h"

#include <QString>

// The 1:500 sheet a file's name begins with, typed "000L00" ("033А01" gives "33-А-1",
// "003Б12" gives "3-Б-12"); empty when the name (without folder) does not begin with
// three digits, a letter and two digits.
QString RastrSheetNomenclature(const QString& fileName);

// The corners (bl, tr) of a raster laid so that its points p1, p2 come onto q1, q2,
// each axis scaled on its own, no rotation. False, corners untouched, when p1 and p2
// share X or Y (the scale would be infinite).
bool LinkedRastrCorners(const TGeoPoint& p1, const TGeoPoint& p2, const TGeoPoint& q1,
                        const TGeoPoint& q2, TGeoPoint& bl, TGeoPoint& tr);

// The upper right corner of a picture of height × width pixels at dpiHeight, dpiWidth
// dots per inch with its lower left corner at bl, on a plan of scale 1:scale.
TGeoPoint InsertedRastrTR(const TGeoPoint& bl, int height, int width, int dpiWidth, int dpiHeight,
                          int scale);
