// Moving and turning the chosen raster, text or point with the mouse: the select mode's
// release after a drag of the whole object (or of a point's caption) becomes one set
// command of the object, read through the engine's getters and written back whole.
#include "mainwindow/UnitMap.h"

#include "dialogs/objects/ObjectValues.h"
#include "engine/GeoMap.h"
#include "foundation/GeoServ.h"
#include "mainwindow/modes/ChosenObject.h"
#include "mainwindow/modes/EditGeometry.h"
#include "semantics/signs/Symbols.h"

namespace {

// A screen angle turned about pivot by the plan angle a drag from down to up sweeps.
TWinAngle Turned(TWinAngle angle, const TGeoPoint& pivot, const TGeoPoint& down, const TGeoPoint& up)
{
    TGeoAngle a = 0, b = 0;
    DirAngle(pivot, down, a);
    DirAngle(pivot, up, b);
    TGeoAngle turned = WinToGeoAngle(angle) + b - a;
    pNormalAngle(turned);
    return GeoToWinAngle(turned);
}

}  // namespace

void IssueIfChanged(TGeoMap& map, TMapCommand command, const QString& before, const QString& after)
{
    if (after != before)
        map.DoCommand(command, after);
}

void TFormMap::ApplyRastrMove()
{
    const RFindedObject* found = ChosenFound(*this, fkRastr);
    if (!found)
        return;
    const int page = found->PageIndex, index = found->ObjectIndex;
    // Ctrl keeps the move along the longer axis.
    const TGeoPoint d = ShiftRule({Points.Up.Plan.X - Points.Down.Plan.X, Points.Up.Plan.Y - Points.Down.Plan.Y},
                                  (DownShift & 4) != 0);
    RRastrValues v;
    if (ReadRastr(*MainMap, page, index, v)) {
        const QString before = SetRastrPropParams(page, index, v);
        v.BL.X += d.X;
        v.BL.Y += d.Y;
        v.TR.X += d.X;
        v.TR.Y += d.Y;
        IssueIfChanged(*MainMap, mcSetRastrProp, before, SetRastrPropParams(page, index, v));
    }
    DrawScreen(*this, 3);
    RefindSelected();
}

void TFormMap::ApplyTextMove()
{
    const RFindedObject* found = ChosenFound(*this, fkText);
    if (!found)
        return;
    const int page = found->PageIndex, layer = found->LayerIndex, index = found->ObjectIndex;
    RTextValues v;
    if (ReadText(*MainMap, page, layer, index, v)) {
        const QString before = SetTextParams(page, layer, index, v);
        if (DownShift & 4) {
            // Ctrl turns the text about its position, which stays.
            v.Rotation = Turned(v.Rotation, TGeoPoint{v.X, v.Y}, Points.Down.Plan, Points.Up.Plan);
        } else {
            const TGeoPoint d = ShiftRule(
                {Points.Up.Plan.X - Points.Down.Plan.X, Points.Up.Plan.Y - Points.Down.Plan.Y}, (DownShift & 1) != 0);
            v.X += d.X;
            v.Y += d.Y;
        }
        IssueIfChanged(*MainMap, mcSetTextProp, before, SetTextParams(page, layer, index, v));
    }
    MarkEdited(page, layer, 3, index);
    DrawScreen(*this, 7);
    RefindSelected();
}

void TFormMap::ApplyPointMove()
{
    const RFindedObject* found = ChosenFound(*this, fkPoint);
    if (!found)
        return;
    const int page = found->PageIndex, layer = found->LayerIndex, index = found->ObjectIndex;
    RPointValues v;
    if (ReadPoint(*MainMap, page, layer, index, v)) {
        const QString before = SetPointParams(page, layer, index, v);
        // With snapping the point lands exactly on the snap point, however far the mouse went.
        TGeoPoint d = MainMap->LinkToNodes && Snapped
                          ? TGeoPoint{SnapPoint.X - v.X, SnapPoint.Y - v.Y}
                          : TGeoPoint{Points.Up.Plan.X - Points.Down.Plan.X, Points.Up.Plan.Y - Points.Down.Plan.Y};
        d = ShiftRule(d, (DownShift & 1) != 0);
        bool issue = true;
        if (SelectedPart == 3) {
            v.X += d.X;
            v.Y += d.Y;
        } else if (SelectedPart == 4 && Points.Up.Plan.X == Points.Down.Plan.X &&
                   Points.Up.Plan.Y == Points.Down.Plan.Y) {
            issue = false;   // a click on the caption: no placement to add
        } else if (SelectedPart == 4) {
            v.AllFromFirst = 1;
            if (v.UserTexts.empty())
                v.UserTexts.push_back(RUserText{0, 0, 0, 0, 0});
            RUserText& first = v.UserTexts.front();
            const RFindedObjRegion* caption = found->Regions.At(1);
            const int scale = MainMap->Symbols ? MainMap->Symbols->GetScale() : 0;
            if (DownShift & 4) {
                // Ctrl turns the first placement about the caption frame's first corner.
                if (const TGeoPoint* pivot = caption ? caption->Outline.At(0) : nullptr)
                    first.Angle = Turned(first.Angle, *pivot, Points.Down.Plan, Points.Up.Plan);
            } else if (scale > 0) {
                // Plan metres to millimetres of the sign at the library's scale.
                first.Dx += d.X * 1000 / scale;
                first.Dy += d.Y * 1000 / scale;
            } else {
                issue = false;   // no scale to convert by: nothing is written
            }
        } else {
            issue = false;
        }
        if (issue)
            IssueIfChanged(*MainMap, mcSetPointProp, before, SetPointParams(page, layer, index, v));
    }
    MarkEdited(page, layer, 0, index);
    DrawScreen(*this, 7);
    RefindSelected();
}
