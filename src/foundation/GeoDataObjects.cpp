#include "foundation/GeoDataObjects.h"

#include "foundation/GeoDataObjectsPicture.h"

RGRastr::RGRastr() : Picture(std::make_unique<TRastrPicture>()) {}

RGRastr::~RGRastr() = default;
