#include "foundation/GeoDataObjectsCoords.h"

namespace {

// The first class keyed k, cursor on it; false (cursor unchanged) when there is none.
bool GoSector(TASegms& list, std::int32_t k)
{
    for (int i = 0; i < list.GetCount(); ++i) {
        if (list.At(i)->Sector == k)
            return list.GoItem(i);
    }
    return false;
}

void AddTo(RASegm& s, TGeoAngle a, Extended l)
{
    ++s.SegmentCount;
    s.AngleSum += a;
    s.LengthSum += l;
}

}  // namespace

void TASegms::AddSegment(TGeoAngle a, Extended l)
{
    TTrailGuard guard("GeoDataObjects", "Procedure: TASegms.AddSegment(const A,L:Extended);",
                      TrailArg("A", a), TrailArg("L", l));
    const auto k = static_cast<std::int32_t>(Round(a / 10));
    if (GoSector(*this, k)) {
        AddTo(*Item, a, l);
        return;
    }
    if (GetCount() > 0) {
        TGeoAngle opposite = a + 180;
        while (opposite >= 360)
            opposite -= 360;
        while (opposite < 0)
            opposite += 360;
        if (GoSector(*this, static_cast<std::int32_t>(Round(opposite / 10)))) {
            AddTo(*Item, opposite, l);
            return;
        }
    }
    AddItem();
    Item->Sector = k;
    Item->SegmentCount = 1;
    Item->AngleSum = a;
    Item->LengthSum = l;
}
