// Copies of the chosen polygon, line, point or text at a fixed offset, asked each time,
// and the picket made a height mark. Copies go to the source's sheet and layer, one
// creation command each; coordinates keep the object's precision, so copy k lies exactly
// k offsets from the source.
#include "mainwindow/UnitMap.h"

#include "dialogs/objects/ObjectValues.h"
#include "engine/GeoMap.h"
#include "foundation/ProgramDialogs.h"
#include "mainwindow/modes/ChosenObject.h"

namespace {

// The copy settings, starting from the object's usual ones; false unless confirmed.
bool AskCopies(int& count, Extended& dx, Extended& dy)
{
    return Inp3IntDialog(count, dx, dy, QStringLiteral("Настройка копирования"), QStringLiteral("число копий"),
                         QStringLiteral("смещение по X"), QStringLiteral("смещение по Y")) == mrOk;
}

TGeoPoint Shifted(const TGeoPoint& p, int k, Extended dx, Extended dy)
{
    return TGeoPoint{p.X + k * dx, p.Y + k * dy};
}

// The copies are made; the view is drawn and the selection refound whatever happened.
void Finish(TFormMap& form)
{
    DrawScreen(form, 3);
    form.RefindSelected();
}

}  // namespace

void TFormMap::N51Click()
{
    const RFindedObject* found = ChosenFound(*this, fkPolygon);
    if (!found)
        return;
    const int page = found->PageIndex, layer = found->LayerIndex;
    RPolygonValues source;
    int count = 1;
    Extended dx = 5, dy = 5;
    if (ReadPolygon(*MainMap, page, layer, found->ObjectIndex, source) && AskCopies(count, dx, dy)) {
        source.CaptionAngle = -1;   // a copy takes its caption's angle from the sign
        for (int k = 1; k <= count; ++k) {
            RPolygonValues copy = source;
            for (RGPolygonNode& node : copy.Nodes)
                node.Position = Shifted(node.Position, k, dx, dy);
            for (ArrPolygonNodes& hole : copy.Holes)
                for (RGPolygonNode& node : hole)
                    node.Position = Shifted(node.Position, k, dx, dy);
            MainMap->DoCommand(mcNewPolygon, NewPolygonParams(page, layer, copy));
        }
    }
    Finish(*this);
}

void TFormMap::N54Click()
{
    const RFindedObject* found = ChosenFound(*this, fkLine);
    if (!found)
        return;
    const int page = found->PageIndex, layer = found->LayerIndex;
    RLineValues source;
    int count = 1;
    Extended dx = 5, dy = 5;
    if (ReadLine(*MainMap, page, layer, found->ObjectIndex, source) && AskCopies(count, dx, dy)) {
        for (int k = 1; k <= count; ++k) {
            RLineValues copy = source;
            for (RGLineNodeData& node : copy.Nodes)
                node.Position = Shifted(node.Position, k, dx, dy);
            MainMap->DoCommand(mcNewLine, NewLineParams(page, layer, copy));
        }
    }
    Finish(*this);
}

void TFormMap::N56Click()
{
    const RFindedObject* found = ChosenFound(*this, fkPoint);
    if (!found)
        return;
    const int page = found->PageIndex, layer = found->LayerIndex;
    RPointValues source;
    int count = 1;
    Extended dx = 3, dy = 3;
    if (ReadPoint(*MainMap, page, layer, found->ObjectIndex, source) && AskCopies(count, dx, dy)) {
        for (int k = 1; k <= count; ++k) {
            RPointValues copy = source;
            const TGeoPoint at = Shifted(TGeoPoint{source.X, source.Y}, k, dx, dy);
            copy.X = at.X;
            copy.Y = at.Y;
            MainMap->DoCommand(mcNewPoint, NewPointParams(page, layer, copy));
        }
    }
    Finish(*this);
}

void TFormMap::N80Click()
{
    const RFindedObject* found = ChosenFound(*this, fkText);
    if (!found)
        return;
    const int page = found->PageIndex, layer = found->LayerIndex;
    RTextValues source;
    int count = 1;
    Extended dx = 3, dy = 3;
    if (ReadText(*MainMap, page, layer, found->ObjectIndex, source) && AskCopies(count, dx, dy)) {
        for (int k = 1; k <= count; ++k) {
            RTextValues copy = source;
            const TGeoPoint at = Shifted(TGeoPoint{source.X, source.Y}, k, dx, dy);
            copy.X = at.X;
            copy.Y = at.Y;
            MainMap->DoCommand(mcNewText, NewTextCopyParams(page, layer, copy));
        }
    }
    Finish(*this);
}

void TFormMap::NPikToOtmClick()
{
    const RFindedObject* found = ChosenFound(*this, fkPoint);
    if (!found)
        return;
    const int page = found->PageIndex, layer = found->LayerIndex, index = found->ObjectIndex;
    RPointValues v;
    if (!ReadPoint(*MainMap, page, layer, index, v))
        return;
    // Only the object code changes; every item after it stays as it was.
    v.Semantics = QStringLiteral("ОТА") + v.Semantics.mid(3);
    MainMap->DoCommand(mcSetPointProp, SetPointParams(page, layer, index, v));
    DrawScreen(*this, 3);
}
