#include "foundation/GeoDataObjectsCoords.h"

#include "foundation/GeoServ.h"

#include <cmath>

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

namespace {

// Calls place(point, direction) for every placement of the walk; see TraceSegment.
template <class Place>
void WalkSegment(Extended& shift, const TGeoPoint& p1, const TGeoPoint& p2, Extended step,
                 Place place)
{
    Extended length = 0;
    TGeoAngle direction = 0;
    OGZ(p1.X, p1.Y, p2.X, p2.Y, length, direction);
    if (!(length > 0) || !std::isfinite(length))
        return;
    if (length <= shift) {
        shift -= length;   // whatever the step: nothing falls on this segment
        return;
    }
    if (!(step > 0) || length + step == length || shift + step == shift)
        return;   // a step of zero or less, or one lost in the distances, never advances
    TGeoPoint at;
    PGZ(p1.X, p1.Y, shift, direction, at.X, at.Y);
    place(at, direction);
    Extended g = shift;
    for (;;) {
        const Extended next = g + step;
        if (next >= length || next == g) {
            shift = next - length;
            return;
        }
        g = next;
        PGZ(at.X, at.Y, step, direction, at.X, at.Y);
        place(at, direction);
    }
}

}  // namespace

void TraceSegment(Extended& Shift, const TGeoPoint& P1, const TGeoPoint& P2, Extended Step,
                  TS1Points& Points)
{
    TTrailGuard guard("GeoDataObjects",
                      "Procedure: TraceSegment(var Shift:Extended; const P1,P2:TGeoPoint; "
                      "const Step:Extended; const Points:TS1Points);",
                      TrailArg("Shift", Shift), TrailArg("Step", Step));
    WalkSegment(Shift, P1, P2, Step, [&](const TGeoPoint& at, TGeoAngle direction) {
        Points.AddItem();
        Points.Item->FromPoint = P1;
        Points.Item->AtPoint = at;
        Points.Item->DirAngle = direction;
    });
}

void TraceSegment(Extended& Shift, const TGeoPoint& P1, const TGeoPoint& P2, Extended Step,
                  TGeoPoints& Points)
{
    TTrailGuard guard("GeoDataObjects",
                      "Procedure: TraceSegment(var Shift:Extended; const P1,P2:TGeoPoint; "
                      "const Step:Extended; const Points:TGeoPoints);",
                      TrailArg("Shift", Shift), TrailArg("Step", Step));
    WalkSegment(Shift, P1, P2, Step, [&](const TGeoPoint& at, TGeoAngle) {
        Points.AddPoint(at.X, at.Y);
    });
}
