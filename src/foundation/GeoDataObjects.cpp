#include "foundation/GeoDataObjects.h"

#include "foundation/GeoDataObjectsPicture.h"
#include "foundation/GeoServ.h"

RGRastr::RGRastr() : Picture(std::make_unique<TRastrPicture>()) {}

RGRastr::~RGRastr() = default;

void Dist(const RGLineNodeData& Node1, const RGLineNodeData& Node2, Extended& PS)
{
    Dist(Node1.Position, Node2.Position, PS);
}
