// What the list windows' buttons do: each change is one plan command (a deletion or a
// show of several lines one command per line) given to the main plan, after which the
// list is refilled from the engine, which clears its selection, and the surface redrawn.
#include "dialogs/lists/UnitListWindows.h"

#include "controls/TextListBox.h"
#include "dialogs/objects/UnitLineProp.h"
#include "dialogs/objects/UnitPointProp.h"
#include "dialogs/objects/UnitPolygonProp.h"
#include "dialogs/objects/UnitTextProp.h"
#include "engine/EngineServices.h"
#include "engine/GeoMap.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/ui/STDserv.h"
#include "mainwindow/MapHooks.h"
#include "platform/TextFiles.h"

#include <QFileInfo>
#include <QPushButton>

namespace {

// The engine's command codes of a kind's list, in the order of TListKind.
struct RKindCommands {
    TMapCommand Delete;
    TMapCommand Order;
};
const RKindCommands KindCommands[] = {
    {mcDelPage, mcChangePageOrder},   {mcDelLayer, mcChangeLayerOrder},
    {mcDelRastr, mcChangeRastrOrder}, {mcDelText, mcChangeTextOrder},
    {mcDelPoint, mcChangePointOrder}, {mcDelLine, mcChangeLineOrder},
    {mcDelPolygon, mcChangePolygonOrder},
};

QString Num(int v) { return QString::number(v); }

}  // namespace

bool TFormListBase::Issue(int comm, const std::function<QString()>& params)
{
    if (!MainMap)
        return false;
    try {
        MainMap->DoCommand(static_cast<TMapCommand>(comm), params());
        return true;
    } catch (const Exception& e) {
        ShowMsgDialog(windowTitle(), e.Message);
    } catch (const std::exception& e) {
        ShowMsgDialog(windowTitle(), ExceptionMessage(e));
    }
    return false;
}

void TFormListBase::Redraw(int mode)
{
    if (!MainMap || !MainMap->Services)
        return;
    const QSize size = MainMap->Services->SurfaceSize();
    try {
        MainMap->Draw(size.width(), size.height(), static_cast<TDrawMode>(mode), ddScreen);
    } catch (const Exception& e) {
        ShowMsgDialog(windowTitle(), e.Message);
    }
}

TModalResult TFormListBase::EditObject(int& page, int& layer, int& index, bool isNew)
{
    switch (Kind) {
    case lkTexts: return TextPropDlg(page, layer, index, isNew);
    case lkPoints: return PointPropDlg(page, layer, index, isNew);
    case lkLines: return LinePropDlg(page, layer, index, isNew);
    case lkPolygons: return PolygonPropDlg(page, layer, index, isNew);
    default: return mrCancel;
    }
}

// ---- Adding ------------------------------------------------------------------------------

void TFormListBase::btAddClick()
{
    switch (Kind) {
    case lkPages: AddPage(); break;
    case lkLayers: AddLayer(); break;
    case lkRastrs: AddRastr(); break;
    default: AddObject(); break;
    }
}

bool TFormListBase::AskNewName(QString& name, bool layer, int page)
{
    while (layer ? MainMap->LayerExists(page, name) : MainMap->PageExists(name)) {
        const TModalResult r =
            layer ? InpStrDialog(name, QStringLiteral("Слой уже существует!"),
                                 QStringLiteral("Введите новое название"))
                  : InpStrDialog(name, QStringLiteral("Лист уже существует!"),
                                 QStringLiteral("Названия листов не должны повторяться. выберете новое название:"));
        if (r != mrOk)
            return false;
    }
    return true;
}

void TFormListBase::AddPage()
{
    QString name;
    if (MainMap &&
        InpStrDialog(name, QStringLiteral("Добавление листа"), QStringLiteral("введите название листа")) == mrOk &&
        AskNewName(name, false, -1))
        Issue(mcNewPage, [&] { return TCommandParams().Text(name).Str(); });
    FillList();
    LBClick();
}

void TFormListBase::AddLayer()
{
    if (!MainMap)
        return;
    const int page = Page();
    QStringList offered;
    for (const QString& name : MainMap->LayerNames)
        if (!MainMap->LayerExists(page, name))
            offered << name;
    int index = 0;
    int added = 0;
    if (SelStrDialog(offered, index, added, QStringLiteral("Новый слой"),
                     QStringLiteral("Выберете название нового слоя из списка либо введите другое")) == mrOk &&
        index >= 0 && index < offered.size()) {
        QString name = offered[index];
        if (!AskNewName(name, true, page))
            return;
        Issue(mcNewLayer, [&] { return TCommandParams().Int(page).Text(name).Str(); });
        FillList();
    }
    LBClick();
}

void TFormListBase::AddRastr()
{
    const int page = Page();
    Issue(mcNewRastr, [&] {
        return TCommandParams()
            .Int(page).Text(QString())
            .Int(0).Int(0).Int(0).Int(0)        // the two corners
            .Int(0)                             // hidden
            .Text(QString())                    // no filter profile
            .Int(100).Int(100).Int(100)         // red, green, blue
            .Int(200)                           // brightness
            .Int(0)                             // filter off
            .Str();
    });
    FillList();
    // The new raster stays whatever its window answers.
    RasterPropDlg(page, LB->count() - 1);
    FillList();
    LBClick();
    Redraw(3);
}

void TFormListBase::AddObject()
{
    const int page = Page();
    const int layer = Layer();
    if (page < 0 || layer < 0)
        return;
    int p = page;
    int l = layer;
    int index = 0;
    const TModalResult r = EditObject(p, l, index, true);
    // Refilled whatever the editor answered: a move made inside it shifted the lines,
    // and a delete at a stale line would take another object.
    if (r == mrOk && Kind == lkTexts)
        Redraw(3);
    FillList();
    LBClick();
    if (r == mrOk && Kind != lkTexts && MainMap) {
        MainMap->EditedPage = page;
        MainMap->EditedLayer = layer;
        MainMap->EditedKind = static_cast<std::uint8_t>(Kind - lkPoints);
        MainMap->EditedObject = LB->count() - 1;
        Redraw(7);
    }
}

// ---- Properties, renaming, visibility, order -----------------------------------------------

void TFormListBase::btPropClick()
{
    const int i = TextListBoxFirstSelected(LB);
    if (i < 0 || !btProp)
        return;
    if (Kind == lkRastrs) {
        RasterPropDlg(Page(), i);
        FillList();
        LBClick();
        Redraw(3);
        return;
    }
    int page = Page();
    int layer = Layer();
    int index = i;
    const TModalResult r = EditObject(page, layer, index, false);
    FillList();
    LBClick();
    if (r != mrOk)
        return;
    if (Kind == lkTexts) {
        Redraw(3);
        return;
    }
    if (MainMap) {
        // Where the editor left the object: a move inside it went to another layer.
        MainMap->EditedPage = page;
        MainMap->EditedLayer = layer;
        MainMap->EditedKind = static_cast<std::uint8_t>(Kind - lkPoints);
        MainMap->EditedObject = index;
    }
    Redraw(7);
}

void TFormListBase::btNameClick()
{
    const int i = TextListBoxFirstSelected(LB);
    if (i < 0 || !btName || !MainMap)
        return;
    const bool layer = Kind == lkLayers;
    const int page = Page();
    QString name;
    std::uint8_t visible = 0;
    if (layer)
        MainMap->GetLayerProp(page, i, name, visible);
    else
        MainMap->GetPageProp(i, name, visible);
    const QString own = name;
    if (InpStrDialog(name, layer ? QStringLiteral("Изменение имени слоя") : QStringLiteral("Изменение имени страницы"),
                     QString()) != mrOk)
        return;
    if (name == own || !AskNewName(name, layer, page))
        return;
    if (layer)
        Issue(mcSetLayerProp, [&] { return TCommandParams().Int(page).Int(i).Text(name).Int(visible).Str(); });
    else
        Issue(mcSetPageProp, [&] { return TCommandParams().Int(i).Text(name).Int(visible).Str(); });
    FillList();
    LBClick();
}

void TFormListBase::SetVisibility(int visible)
{
    if (!MainMap)
        return;
    TSelectedLines lines;
    TextListBoxSelectedLines(LB, lines);
    const int page = Page();
    for (const int i : lines) {
        bool issued = false;
        if (Kind == lkPages) {
            QString name;
            std::uint8_t old = 0;
            MainMap->GetPageProp(i, name, old);
            issued = Issue(mcSetPageProp, [&] { return TCommandParams().Int(i).Text(name).Int(visible).Str(); });
        } else if (Kind == lkLayers) {
            QString name;
            std::uint8_t old = 0;
            MainMap->GetLayerProp(page, i, name, old);
            issued = Issue(mcSetLayerProp,
                           [&] { return TCommandParams().Int(page).Int(i).Text(name).Int(visible).Str(); });
        } else if (Kind == lkRastrs) {
            QString path, filter;
            std::uint8_t loaded = 0, old = 0, filterOn = 0;
            TGeoPoint bl, tr;
            int r = 100, g = 100, b = 100, l = 200;
            MainMap->GetRastrProp(page, i, path, loaded, bl, tr, old, filter, r, g, b, l, filterOn);
            issued = Issue(mcSetRastrProp, [&] {
                return TCommandParams()
                    .Int(page).Int(i).Text(path)
                    .Fixed(bl.X, 3).Fixed(bl.Y, 3).Fixed(tr.X, 3).Fixed(tr.Y, 3)
                    .Int(visible).Text(filter)
                    .Int(r).Int(g).Int(b).Int(l).Int(filterOn)
                    .Str();
            });
        }
        if (!issued)
            break;
    }
    FillList();
    LBClick();
    Redraw(3);
}

void TFormListBase::MoveSelected(int step)
{
    TSelectedLines lines;
    TextListBoxSelectedLines(LB, lines);
    if (lines.size() != 1)
        return;
    const int a = lines.front();
    const int other = a + step;
    if (other < 0 || other >= LB->count())
        return;
    const TMapCommand comm = KindCommands[Kind].Order;
    const int page = Page();
    const int layer = Layer();
    Issue(comm, [&] {
        TCommandParams p;
        if (Kind != lkPages)
            p.Int(page);
        if (IsObjectList())
            p.Int(layer);
        return p.Int(a).Int(other).Str();
    });
    FillList();
    // The moved item stays selected, so that it can be moved again; the layers window
    // leaves its list without a selection.
    if (Kind != lkLayers && other < LB->count())
        LB->item(other)->setSelected(true);
    LBClick();
    Redraw(3);
}

// ---- Deleting ------------------------------------------------------------------------------

void TFormListBase::btDelClick()
{
    if (IsObjectList())
        DeleteObjects();
    else
        DeleteItems();
}

void TFormListBase::DeleteItems()
{
    TSelectedLines lines;
    TextListBoxSelectedLines(LB, lines);
    const int page = Page();
    int k = 0;
    for (const int s : lines) {
        const QString line = LB->item(s)->text();
        TModalResult r = mrCancel;
        switch (Kind) {
        case lkPages:
            r = ShowMsgDialog(QStringLiteral("Удаление листа"),
                              QStringLiteral("содержимое листа (") + line + QStringLiteral(") в текущем файле будет удалено!"));
            break;
        case lkLayers:
            r = ShowMsgDialog(QStringLiteral("Удаление слоя"),
                              QStringLiteral("содержимое слоя (") + line + QStringLiteral(") в текущем файле будет удалено!"));
            break;
        default:
            r = ShowMsgDialog(QStringLiteral("Удаление растра"),
                              QStringLiteral("растр (") + line + QStringLiteral(") будет удален из листа ") + Num(page) +
                                  QStringLiteral(" (при этом файл растра на диске не удаляется) "));
            break;
        }
        if (r != mrOk)
            break;
        // Every item deleted before moved the later ones up by one.
        const int position = s - k;
        const bool done = Issue(KindCommands[Kind].Delete, [&] {
            TCommandParams p;
            if (Kind != lkPages)
                p.Int(page);
            return p.Int(position).Str();
        });
        if (!done)
            break;
        ++k;
    }
    FillList();
    LBClick();
    Redraw(3);
}

void TFormListBase::DeleteObjects()
{
    TSelectedLines lines;
    TextListBoxSelectedLines(LB, lines);
    if (lines.empty())
        return;
    const QString n = Num(static_cast<int>(lines.size()));
    TModalResult r = mrCancel;
    switch (Kind) {
    case lkTexts:
        r = ShowMsgDialog(QStringLiteral("Удаление текстовых объектов"),
                          n + QStringLiteral(" текстовых объектов в текущем слое будет удалено!"));
        break;
    case lkPoints:
        r = ShowMsgDialog(QStringLiteral("Удаление точечных объектов"),
                          n + QStringLiteral(" точечных объектов в текущем слое будет удалено!"));
        break;
    case lkLines:
        r = ShowMsgDialog(QStringLiteral("Удаление линейных объектов"),
                          QStringLiteral(" объектов в текущем слое будет удалено: ") + n);
        break;
    default:
        r = ShowMsgDialog(QStringLiteral("Удаление площадных объектов"),
                          QStringLiteral("объектов в текущем слое будет удалено:") + n);
        break;
    }
    if (r != mrOk)
        return;
    const int page = Page();
    const int layer = Layer();
    int k = 0;
    for (const int s : lines) {
        const int position = s - k;
        if (!Issue(KindCommands[Kind].Delete,
                   [&] { return TCommandParams().Int(page).Int(layer).Int(position).Str(); }))
            break;
        ++k;
    }
    FillList();
    LBClick();
    Redraw(3);
}

// ---- The point list as text ---------------------------------------------------------------

void TFormListBase::btSavaAsTextClick()
{
    QString fileName;
    if (!SaveFileNameDialog(QStringLiteral("Сохранить в текстовый файл"),
                            QStringLiteral("Текстовые файлы (*.txt)"), fileName) ||
        fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".txt");
    QStringList lines;
    for (int i = 0; i < LB->count(); ++i)
        lines << LB->item(i)->text();
    try {
        WriteTextFileLines(fileName, lines);
    } catch (const Exception& e) {
        ShowMsgDialog(windowTitle(), e.Message);
    }
}
