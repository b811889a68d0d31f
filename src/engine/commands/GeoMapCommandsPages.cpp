// The commands on the upper levels of the plan tree: sheets, their layers and their
// raster underlays with the loading of the rasters' pictures. Positions are tested in
// a fixed order and a missing one is either silent or a message whose number is the
// field text as written; position fields are all converted before the first test,
// value fields only after the last.
#include "engine/GeoMap.h"

#include "engine/EngineServices.h"
#include "engine/commands/RasterFilter.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoDataObjectsPicture.h"
#include "platform/FileLookup.h"

#include <optional>

namespace {

bool InRange(int i, int count) { return i >= 0 && i < count; }

// A visibility choice: 0 hides, 1 shows, any other value keeps what there is.
void ApplyChoice(std::uint8_t& visible, int choice)
{
    if (choice == 0 || choice == 1)
        visible = std::uint8_t(choice);
}

// True when an item of list other than the one at except bears name (exactly, letter
// case included). Names are unique among the sheets of a plan and among the layers of
// a sheet: the plan file tells them by name, and reading a file that has one twice asks
// the user what to do with it, a question no undo step can answer.
template <class L>
bool NameTaken(const L& list, const QString& name, int except = -1)
{
    for (int i = 0; i < list.GetCount(); ++i)
        if (i != except && list.At(i)->Name == name)
            return true;
    return false;
}

void RefuseSheetName(const TGPages& pages, const QString& name, int except = -1)
{
    if (NameTaken(pages, name, except))
        throw Exception(QStringLiteral("Лист с именем \"%1\" уже есть").arg(name));
}

void RefuseLayerName(const RGPage& page, const QString& name, int except = -1)
{
    if (NameTaken(page.Layers, name, except))
        throw Exception(QStringLiteral("Слой с именем \"%1\" уже есть на листе \"%2\"")
                            .arg(name, page.Name));
}

// The raster values of a new or changed raster, in field order.
struct RRastrFields {
    QString FileName;
    TGeoPoint BottomLeft;
    TGeoPoint TopRight;
    std::uint8_t Visible = 1;
    QString FilterName;
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    std::uint8_t Brightness = 0;
    std::uint8_t FilterOn = 0;

    // Fields first to first + 11: file, four corner values (the locale's reals),
    // visibility, filter name, red, green, blue, brightness, filter switch.
    static RRastrFields From(const TCommandFields& f, int first)
    {
        RRastrFields r;
        r.FileName = f.Text(first);
        const Extended blX = f.RealLocale(first + 1);
        const Extended blY = f.RealLocale(first + 2);
        const Extended trX = f.RealLocale(first + 3);
        const Extended trY = f.RealLocale(first + 4);
        r.BottomLeft = GeoPoint(blX, blY);
        r.TopRight = GeoPoint(trX, trY);
        r.Visible = f.Byte(first + 5);
        r.FilterName = f.Text(first + 6);
        r.Red = f.Byte(first + 7);
        r.Green = f.Byte(first + 8);
        r.Blue = f.Byte(first + 9);
        r.Brightness = f.Byte(first + 10);
        r.FilterOn = f.Byte(first + 11);
        return r;
    }

    // Every value above into the raster; its picture and load state are the caller's.
    void ApplyTo(RGRastr& rastr) const
    {
        rastr.FileName = FileName;
        rastr.BottomLeft = BottomLeft;
        rastr.TopRight = TopRight;
        rastr.Visible = Visible;
        rastr.FilterName = FilterName;
        rastr.Red = Red;
        rastr.Green = Green;
        rastr.Blue = Blue;
        rastr.Brightness = Brightness;
        rastr.FilterOn = FilterOn;
    }
};

}  // namespace

// Sheets

void TGeoMap::CmdNewPage(const TCommandFields& f)
{
    const QString name = f.Text(0);
    RefuseSheetName(Pages, name);
    auto page = std::make_unique<RGPage>();
    page->Name = name;
    Pages.AddItem(std::move(page));
}

void TGeoMap::CmdDelPage(const TCommandFields& f)
{
    const int page = f.Int(0);
    if (!InRange(page, Pages.GetCount())) {
        Ui().ShowMsg(QStringLiteral("Страница не найдена!"),
                     QStringLiteral("запрошенная на удаление страница №") + f.Text(0) +
                         QStringLiteral(" не найдена!"));
        return;
    }
    Pages.GoItem(page);
    Pages.DeleteItem();
}

void TGeoMap::CmdSetPageProp(const TCommandFields& f)
{
    const int page = f.Int(0);
    if (!InRange(page, Pages.GetCount())) {
        Ui().ShowMsg(QStringLiteral("Страница не найдена!"),
                     QStringLiteral("запрошенная на изменение свойств страница №") + f.Text(0) +
                         QStringLiteral(" не найдена!"));
        return;
    }
    const QString name = f.Text(1);
    const int visible = f.Int(2);
    RefuseSheetName(Pages, name, page);
    Pages.GoItem(page);
    Pages.Item->Name = name;
    ApplyChoice(Pages.Item->Visible, visible);
}

void TGeoMap::CmdChangePageOrder(const TCommandFields& f)
{
    const int i = f.Int(0);
    const int j = f.Int(1);
    const int count = Pages.GetCount();
    if (!InRange(i, count)) {
        Ui().ShowMsg(QStringLiteral("Страница не найдена!"),
                     QStringLiteral("запрошенная на изменение номера страница №") + f.Text(0) +
                         QStringLiteral(" не найдена!"));
        return;
    }
    if (!InRange(j, count)) {
        Ui().ShowMsg(QStringLiteral("Неверный номер страницы"),
                     QStringLiteral("номер ") + f.Text(1) +
                         QStringLiteral(" вне диапазона страниц! (0-%1)").arg(count));
        return;
    }
    Pages.ChangeItems(i, j);
}

// Layers

void TGeoMap::CmdNewLayer(const TCommandFields& f)
{
    const int page = f.Int(0);
    if (!HasCurrentPage() || !Pages.GoItem(page))
        return;
    const QString name = f.Text(1);
    RefuseLayerName(*Pages.Item, name);
    auto layer = std::make_unique<RGLayer>();
    layer->Name = name;
    Pages.Item->Layers.AddItem(std::move(layer));
}

void TGeoMap::CmdDelLayer(const TCommandFields& f)
{
    const int page = f.Int(0);
    const int layer = f.Int(1);
    if (!Pages.GoItem(page))
        return;
    TGLayers& layers = Pages.Item->Layers;
    // The caption's first letter is the Latin "C", as the program has always shown it.
    if (!InRange(layer, layers.GetCount())) {
        Ui().ShowMsg(QStringLiteral("Cлой не найден!"),
                     QStringLiteral("запрошенный на удаление слой №") + f.Text(1) +
                         QStringLiteral(" не найден!"));
        return;
    }
    layers.GoItem(layer);
    layers.DeleteItem();
}

void TGeoMap::CmdSetLayerProp(const TCommandFields& f)
{
    const int page = f.Int(0);
    const int layer = f.Int(1);
    if (!HasCurrentPage())
        return;
    if (!Pages.GoItem(page)) {
        Ui().ShowMsg(QStringLiteral("Страница не найдена!"),
                     QStringLiteral("для запрошенного на изменение свойств слоя №") + f.Text(0) +
                         QStringLiteral(" не найдена страница!"));
        return;
    }
    if (!HasCurrentLayer())
        return;
    TGLayers& layers = Pages.Item->Layers;
    if (!InRange(layer, layers.GetCount())) {
        Ui().ShowMsg(QStringLiteral("Слой не найден!"),
                     QStringLiteral("запрошенный на изменение свойств слой №") + f.Text(1) +
                         QStringLiteral(" не найден!"));
        return;
    }
    const QString name = f.Text(2);
    const int visible = f.Int(3);
    RefuseLayerName(*Pages.Item, name, layer);
    layers.GoItem(layer);
    layers.Item->Name = name;
    ApplyChoice(layers.Item->Visible, visible);
}

void TGeoMap::CmdChangeLayerOrder(const TCommandFields& f)
{
    const int page = f.Int(0);
    const int i = f.Int(1);
    const int j = f.Int(2);
    if (!HasCurrentPage() || !Pages.GoItem(page) || !HasCurrentLayer())
        return;
    TGLayers& layers = Pages.Item->Layers;
    const int count = layers.GetCount();
    if (!InRange(i, count)) {
        Ui().ShowMsg(QStringLiteral("Слой не найден!"),
                     QStringLiteral("запрошенный на изменение номера слой №") + f.Text(1) +
                         QStringLiteral(" не найден!"));
        return;
    }
    if (!InRange(j, count)) {
        Ui().ShowMsg(QStringLiteral("Неверный номер слоя"),
                     QStringLiteral("номер ") + f.Text(2) +
                         QStringLiteral(" вне диапазона слоев! (0-%1)").arg(count));
        return;
    }
    layers.ChangeItems(i, j);
}

// Rasters

namespace {

// Current sheet, the move to sheet page, the sheet has rasters, the move to raster:
// each failing test ends the command silently.
bool MoveToCommandRastr(TGeoMap& map, int page, int raster)
{
    return map.HasCurrentPage() && map.Pages.GoItem(page) && map.HasCurrentRastr() &&
           map.Pages.Item->Rastrs.GoItem(raster);
}

void UnloadPicture(RGRastr& rastr)
{
    rastr.Picture->Clear();
    rastr.Loaded = 0;
    rastr.FilterApplied = 0;
}

}  // namespace

void TGeoMap::CmdNewRastr(const TCommandFields& f)
{
    const int page = f.Int(0);
    if (!HasCurrentPage() || !Pages.GoItem(page))
        return;
    const RRastrFields v = RRastrFields::From(f, 1);
    auto rastr = std::make_unique<RGRastr>();
    v.ApplyTo(*rastr);
    rastr->Loaded = 0;
    Pages.Item->Rastrs.AddItem(std::move(rastr));
}

void TGeoMap::CmdLoadRastr(const TCommandFields& f)
{
    const int page = f.Int(0);
    const int raster = f.Int(1);
    if (!MoveToCommandRastr(*this, page, raster))
        return;
    RGRastr& rastr = *Pages.Item->Rastrs.Item;
    if (!FileExistsIgnoringCase(rastr.FileName)) {
        UnloadPicture(rastr);
        return;
    }
    // Read and filter first: an unreadable file leaves the raster as it was.
    QImage picture = ReadRastrPicture(rastr.FileName);
    const int height = picture.height();
    const int width = picture.width();
    if (rastr.FilterOn == 1)
        picture = ApplyRasterFilter(picture, rastr.Brightness, rastr.Red, rastr.Green, rastr.Blue);
    rastr.Picture->Image = std::move(picture);
    rastr.Loaded = 1;
    rastr.FilterApplied = rastr.FilterOn == 1 ? 1 : 0;
    RastrHeight = height;
    RastrWidth = width;
}

void TGeoMap::CmdUnLoadRastr(const TCommandFields& f)
{
    const int page = f.Int(0);
    const int raster = f.Int(1);
    if (!MoveToCommandRastr(*this, page, raster))
        return;
    RGRastr& rastr = *Pages.Item->Rastrs.Item;
    if (rastr.Loaded == 1)
        UnloadPicture(rastr);
}

void TGeoMap::CmdDelRastr(const TCommandFields& f)
{
    const int page = f.Int(0);
    const int raster = f.Int(1);
    if (!MoveToCommandRastr(*this, page, raster))
        return;
    Pages.Item->Rastrs.DeleteItem();
}

// The picture is settled before the raster changes: a new file of a loaded raster is
// read, a filter that must be applied anew is applied to a fresh reading, and a filter
// switched off gives the file's own colours back. A new file that exists but cannot be
// read is no refusal of the command: the raster takes its new properties and stays
// unloaded, as with a missing file, and the reader's message is shown once the plan
// has changed, so that the journal and the snapshot hold the change the user sees.
void TGeoMap::CmdSetRastrProp(const TCommandFields& f)
{
    const int page = f.Int(0);
    const int raster = f.Int(1);
    if (!MoveToCommandRastr(*this, page, raster))
        return;
    RGRastr& rastr = *Pages.Item->Rastrs.Item;
    const RRastrFields v = RRastrFields::From(f, 2);

    const bool fileChanged = v.FileName != rastr.FileName;
    const bool filterChanged = rastr.Red != v.Red || rastr.Green != v.Green ||
                               rastr.Blue != v.Blue || rastr.Brightness != v.Brightness ||
                               rastr.FilterOn != v.FilterOn;
    std::uint8_t loaded = rastr.Loaded;
    std::uint8_t filterApplied = fileChanged || filterChanged ? 0 : rastr.FilterApplied;
    std::optional<QImage> picture;   // the new picture, when it changes
    std::optional<Exception> unreadable;
    if (fileChanged && rastr.Loaded == 1) {
        picture = QImage();
        loaded = 0;
        if (FileExistsIgnoringCase(v.FileName)) {
            try {
                picture = ReadRastrPicture(v.FileName);
                loaded = 1;
            } catch (const Exception& e) {
                unreadable = e;
            }
        }
    }
    if (filterApplied == 0 && v.FilterOn == 1 && loaded == 1 &&
        FileExistsIgnoringCase(v.FileName)) {
        const QImage source = picture ? *picture : ReadRastrPicture(v.FileName);
        picture = ApplyRasterFilter(source, v.Brightness, v.Red, v.Green, v.Blue);
        filterApplied = 1;
    } else if (!picture && rastr.FilterApplied == 1 && v.FilterOn != 1 && loaded == 1 &&
               FileExistsIgnoringCase(v.FileName)) {
        // The filter switched off: the picture shows the file's colours again.
        picture = ReadRastrPicture(v.FileName);
    }

    v.ApplyTo(rastr);
    if (picture)
        rastr.Picture->Image = std::move(*picture);
    rastr.Loaded = loaded;
    rastr.FilterApplied = filterApplied;
    if (unreadable)
        Ui().ShowMsg(QStringLiteral("Растр не загружен"), unreadable->Message);
}

void TGeoMap::CmdChangeRastrOrder(const TCommandFields& f)
{
    const int page = f.Int(0);
    const int i = f.Int(1);
    const int j = f.Int(2);
    if (!HasCurrentPage() || !Pages.GoItem(page) || !HasCurrentRastr())
        return;
    TGRastrs& rastrs = Pages.Item->Rastrs;
    const int count = rastrs.GetCount();
    if (!InRange(i, count)) {
        Ui().ShowMsg(QStringLiteral("Растр не найден!"),
                     QStringLiteral("запрошенный на изменение номера растр (") + f.Text(1) +
                         QStringLiteral(") не найден!"));
        return;
    }
    if (!InRange(j, count)) {
        Ui().ShowMsg(QStringLiteral("Неверный номер растра"),
                     QStringLiteral("номер ") + f.Text(2) +
                         QStringLiteral(" вне диапазона растров! (0-%1)").arg(count));
        return;
    }
    rastrs.ChangeItems(i, j);
}
