// The real object windows behind their hooks: each creates its window for one call on
// the main plan, shows it modally, copies back what its entry routine promises and
// issues the confirmed command. A window lives on the hook's stack.
#include "dialogs/objects/ObjectWindows.h"

#include "dialogs/objects/ObjectEditors.h"
#include "dialogs/objects/UnitChangePageLayer.h"
#include "dialogs/objects/UnitIntrPolygonProp.h"
#include "dialogs/objects/UnitLineProp.h"
#include "dialogs/objects/UnitPointProp.h"
#include "dialogs/objects/UnitPolygonProp.h"
#include "dialogs/objects/UnitTextProp.h"
#include "dialogs/objects/UnitUserTextProp.h"
#include "engine/GeoMap.h"
#include "foundation/ProgramDialogs.h"
#include "semantics/signs/Symbols.h"

namespace {

TModalResult RunPointProp(int& page, int& layer, int& index, bool isNew)
{
    if (!MainMap)
        return mrCancel;
    const TAutosavePause pause;
    RPointValues values;
    QString signName;
    if (!isNew) {
        ReadPoint(*MainMap, page, layer, index, values);
        MainMap->GetPointSymbol(page, layer, index, signName);
    }
    TFormPointProp form(values, isNew, page, layer, index, signName, DialogOwner());
    return RunObjectForm(form, page, layer, index);
}

TModalResult RunTextProp(int& page, int& layer, int& index, bool isNew)
{
    if (!MainMap)
        return mrCancel;
    QStringList styles;
    for (const auto& style : MainMap->Symbols->TextStyles)
        styles << style->StyleName;
    TFormTextProp form(TextOnOpening(isNew, page, layer, index), isNew, page, layer, index, styles,
                       DialogOwner());
    return RunObjectForm(form, page, layer, index);
}

TModalResult RunUserTextProp(Extended& dx, Extended& dy, std::int32_t& rotation, Extended& sizeFactor,
                             std::uint8_t& visibility)
{
    TFormUserTextProp form(dx, dy, rotation, sizeFactor, visibility, DialogOwner());
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    form.Read(dx, dy, rotation, sizeFactor, visibility);
    return result;
}

TModalResult RunChangePageLayer(std::uint8_t kind, int& page, int& layer, int& index)
{
    if (!MainMap)
        return mrCancel;
    const auto k = static_cast<TMoveKind>(kind);
    QString pageName, layerName;
    PlaceNames(page, k == mkRastr ? -1 : layer, pageName, layerName);
    QStringList pages;
    MainMap->PagesToComboBox(pages);
    const auto layersOf = [](int p) {
        QStringList layers;
        MainMap->GetLayersToComboBox(p, layers);
        return layers;
    };
    TFormChangePageLayer form(k, pageName, layerName, pages, page, layersOf, layer, DialogOwner());
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    MoveObject(*MainMap, k, page, layer, index, form.MovePage(), form.MoveLayer());
    return result;
}

}  // namespace

void InstallObjectWindows()
{
    TProgramDialogHooks& h = ProgramDialogHooks();
    h.PointProp = RunPointProp;
    h.TextProp = RunTextProp;
    h.UserTextProp = RunUserTextProp;
    h.ChangePageLayer = RunChangePageLayer;
    h.LineProp = RunLineProp;
    h.LineNodeProp = RunLineNodeProp;
    h.PolygonProp = RunPolygonProp;
    h.PolygonNodeProp = RunPolygonNodeProp;
    h.IntrPolygonProp = RunIntrPolygonProp;
    h.IntrPolygonNodeProp = RunIntrPolygonNodeProp;
}
