// The creation of computed objects over the main window's destination rule. Coordinates
// go out with the creation precision, as every creator of the program writes them.
#include "survey/tacheo/TaheoCreate.h"

#include "dialogs/objects/ObjectFields.h"
#include "engine/GeoMap.h"
#include "mainwindow/UnitMap.h"
#include "mainwindow/modes/Creators.h"

QString TaheoSemantics;
int TaheoPage = -1;
int TaheoLayer = -1;

namespace {

// Sheet and layer for an object of kind lm at point. A sheet question is coming when
// the automatic sheet is on and the nomenclature gives no name; when the object is not
// made and the automatic sheet is still on afterwards, that question was refused.
TTaheoCreation Destination(const TGeoPoint& point, int lm)
{
    TaheoPage = TaheoLayer = -1;
    if (!FormMap || !MainMap)
        return tcSkipped;
    TFormMap& form = *FormMap;
    const bool asks = form.DestAutoPage == 1 &&
                      MainMap->CoordToNomenclature(point.X, point.Y).isEmpty();
    if (form.ChooseDestination(point, lm, TaheoSemantics, TaheoPage, TaheoLayer))
        return tcCreated;
    return asks && form.DestAutoPage == 1 ? tcSheetRefused : tcSkipped;
}

} // namespace

TTaheoCreation CreateTaheoPoint(Extended X, Extended Y)
{
    const TTaheoCreation made = Destination(GeoPoint(X, Y), 0);
    if (made != tcCreated)
        return made;
    const TFormMap& form = *FormMap;
    const int decimals = CoordDecimals(form.CreatePrecision);
    MainMap->DoCommand(mcNewPoint, TCommandParams()
                                       .Int(TaheoPage)
                                       .Int(TaheoLayer)
                                       .Text(TaheoSemantics)
                                       .Fixed(X, decimals)
                                       .Fixed(Y, decimals)
                                       .Int(form.CreatePrecision)
                                       .Fixed(form.PointSignAngle)
                                       .Text(QString())
                                       .Int(0)
                                       .Int(form.PointCaptionLine));
    return tcCreated;
}

namespace {

// Line and polygon share the placement and the emptying of the node array.
TTaheoCreation CreateOverNodes(int lm)
{
    if (!FormMap)
        return tcSkipped;
    TFormMap& form = *FormMap;
    if (form.CreateNodes.empty())
        return tcSkipped;
    const TCreateNodeArr nodes = std::exchange(form.CreateNodes, {});
    const TTaheoCreation made = Destination(nodes.front().Point, lm);
    if (made != tcCreated)
        return made;
    // The window's nodes carry no curves nor edge attributes.
    const int decimals = CoordDecimals(form.CreatePrecision);
    if (lm == 1)
        MainMap->DoCommand(mcNewLine, NewLineFromNodesParams(TaheoPage, TaheoLayer, TaheoSemantics,
                                                             form.CreatePrecision, NewLineNodesField(nodes, decimals)));
    else
        MainMap->DoCommand(mcNewPolygon, NewPolygonFromNodesParams(TaheoPage, TaheoLayer, TaheoSemantics,
                                                                   NewPolygonNodesField(nodes, decimals),
                                                                   form.CreatePrecision, -1));
    return tcCreated;
}

} // namespace

TTaheoCreation CreateTaheoLine() { return CreateOverNodes(1); }

TTaheoCreation CreateTaheoPolygon() { return CreateOverNodes(2); }
