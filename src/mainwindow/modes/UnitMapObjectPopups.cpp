// The object pop-ups of the select mode (properties and delete of points, lines, polygons
// and texts), the tool bar's button that shows the chosen object in its window, and the
// delete of the chosen object from the keyboard. Each acts on the found object chosen in
// the selection box; no delete asks first.
#include "mainwindow/UnitMap.h"

#include "dialogs/objects/UnitLineProp.h"
#include "dialogs/objects/UnitPointProp.h"
#include "dialogs/objects/UnitPolygonProp.h"
#include "dialogs/objects/UnitTextProp.h"
#include "engine/GeoMap.h"
#include "mainwindow/modes/ChosenObject.h"
#include "mainwindow/modes/EditMenus.h"

#include <QMenu>
#include <QToolButton>

namespace {

// The object's editor on the found object; on OK the object is drawn anew (a text: the
// view). Whatever the editor returns, the selection is refound: a move made inside the
// editor changed the object's place even when it was then cancelled.
void EditFound(TFormMap& form, const RFindedObject& found)
{
    int page = found.PageIndex, layer = found.LayerIndex, index = found.ObjectIndex;
    TModalResult result = mrCancel;
    std::uint8_t kind = 0;
    switch (found.Kind) {
    case fkText:
        if (TextPropDlg(page, layer, index, false) == mrOk) {
            MarkEdited(page, layer, 3, index);
            DrawScreen(form, 7);
        }
        form.RefindSelected();
        return;
    case fkPoint:
        result = PointPropDlg(page, layer, index, false);
        kind = 0;
        break;
    case fkLine:
        result = LinePropDlg(page, layer, index, false);
        kind = 1;
        break;
    case fkPolygon:
        result = PolygonPropDlg(page, layer, index, false);
        kind = 2;
        break;
    default:
        return;
    }
    if (result == mrOk) {
        MarkEdited(page, layer, kind, index);
        DrawScreen(form, 7);
    }
    form.RefindSelected();
}

// The delete command of the found object; the redraw mode that shows it gone (a raster
// lies under everything: the whole picture; an object: only where it was).
TDrawMode DeleteFound(const RFindedObject& found)
{
    if (found.Kind == fkRastr) {
        MainMap->DoCommand(mcDelRastr, TCommandParams().Int(found.PageIndex).Int(found.ObjectIndex));
        return 3;
    }
    TMapCommand comm = mcDelPoint;
    std::uint8_t kind = 0;
    switch (found.Kind) {
    case fkText: comm = mcDelText; kind = ekText; break;
    case fkPoint: comm = mcDelPoint; kind = ekPoint; break;
    case fkLine: comm = mcDelLine; kind = ekLine; break;
    case fkPolygon: comm = mcDelPolygon; kind = ekPolygon; break;
    default: return 3;
    }
    MainMap->NoteGoingObject(found.PageIndex, found.LayerIndex, kind, found.ObjectIndex);
    MarkEdited(found.PageIndex, found.LayerIndex, NothingEdited, 0);
    MainMap->DoCommand(comm, TCommandParams().Int(found.PageIndex).Int(found.LayerIndex).Int(found.ObjectIndex));
    return 7;
}

}  // namespace

void TFormMap::ObjectPropClick(std::uint8_t kind)
{
    if (const RFindedObject* found = ChosenFound(*this, kind))
        EditFound(*this, *found);
}

void TFormMap::ObjectDelClick(std::uint8_t kind)
{
    const RFindedObject* found = ChosenFound(*this, kind);
    if (!found)
        return;
    DrawScreen(*this, DeleteFound(*found));
    SelectAtClick();
}

void TFormMap::btObjectPropClick()
{
    const RFindedObject* found = ChosenFound(*this);
    if (!found)
        return;
    if (found->Kind == fkRastr) {
        // The raster's window is the raster pop-up's own item.
        if (QAction* item = FindMenuItem(PMRastr, "Свойства растра"))
            item->trigger();
        return;
    }
    EditFound(*this, *found);
}

void TFormMap::DeleteSelectedObject()
{
    if (!MainMap)
        return;
    const RFindedObject* found = ChosenFound(*this);
    DrawScreen(*this, found ? DeleteFound(*found) : 3);
    SelectAtClick();
}

void TFormMap::ConnectObjectCommands()
{
    const auto bind = [this](QMenu* menu, const char* caption, auto handler) {
        if (QAction* a = FindMenuItem(menu, caption))
            connect(a, &QAction::triggered, this, handler);
    };
    bind(PMPoint, "Свойства объекта", [this] { ObjectPropClick(fkPoint); });
    bind(PMLine, "Свойства объекта", [this] { ObjectPropClick(fkLine); });
    bind(PMPolygon, "Свойства объекта", [this] { ObjectPropClick(fkPolygon); });
    bind(PMText, "Свойства надписи", [this] { ObjectPropClick(fkText); });
    bind(PMPoint, "Удалить объект", [this] { ObjectDelClick(fkPoint); });
    bind(PMLine, "Удалить объект", [this] { ObjectDelClick(fkLine); });
    bind(PMPolygon, "Удалить объект", [this] { ObjectDelClick(fkPolygon); });
    bind(PMText, "Удалить надпись", [this] { ObjectDelClick(fkText); });
    bind(PMPolygon, "Копировать объект", [this] { N51Click(); });
    bind(PMLine, "Копировать объект", [this] { N54Click(); });
    bind(PMPoint, "Копировать объект", [this] { N56Click(); });
    bind(PMText, "Копировать надпись", [this] { N80Click(); });
    bind(PMPoint, "Превратить пикет в отметку", [this] { NPikToOtmClick(); });
    if (QToolButton* b = PanelButtons.value(QStringLiteral("Показать выделенный объект")))
        connect(b, &QToolButton::clicked, this, [this] { btObjectPropClick(); });
}
