// The plan document: construction, the sheet, layer and raster lookups with their
// cursor effects, the HasCurrent… predicates, and the operations on all rasters and
// on the sign library.
#include "engine/GeoMap.h"

#include "engine/EngineServices.h"
#include "engine/draw/MapPainter.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "platform/FileLookup.h"
#include "platform/TextFiles.h"
#include "semantics/signs/Symbols.h"


#include <algorithm>

TGeoMap* MainMap = nullptr;

namespace {

template <class L>
bool HasCurrent(const L& list)
{
    return list.GetCount() > 0 && list.Item != nullptr;
}

// Walks list from its first item to the first whose Name equals name exactly; the
// cursor stays there, or on the last item when none does.
template <class L>
bool GoToName(L& list, const QString& name)
{
    return list.GoFirstItemWhere([&](const auto& r) { return r.Name == name; });
}

std::uint8_t OneOrZero(std::uint8_t v) { return v != 0 ? 1 : 0; }

// The file name without its folder; a plan written on Windows keeps "\" in its paths.
QString NameWithoutFolder(const QString& path)
{
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

}  // namespace

TGeoMap::TGeoMap() : Symbols(std::make_unique<TSymbols>())
{
    TTrailGuard guard("GeoMap", "Constructor: TGeoMap.Create;");
    LayerNames = ReadTextFileLines(ProgramFolderPath(QStringLiteral("Слои/Слои.wri")), true);
    LoadDefLayerForObjects();
    HighlightColor = HighlightColor1;
    HighlightRising = 1;
    HighlightStep = 0;
    InstallCommandHandlers();
    SnapshotWriter = DefaultSnapshotWriter();
}

TGeoMap::~TGeoMap()
{
    if (MainMap == this)
        MainMap = nullptr;
}

TEngineServices& TGeoMap::Ui() const
{
    return Services ? *Services : TEngineServices::Default();
}

// Sheets

void TGeoMap::GetPageProp(int index, QString& name, std::uint8_t& visible)
{
    if (!HasCurrentPage())
        return;
    Pages.GoItem(index);   // out of range: the current sheet stays
    name = Pages.Item->Name;
    visible = OneOrZero(Pages.Item->Visible);
}

void TGeoMap::GetPagePropByName(const QString& name, int& index, std::uint8_t& visible)
{
    index = -1;
    visible = 0;
    if (GoToName(Pages, name)) {
        index = Pages.GetIndex();
        visible = OneOrZero(Pages.Item->Visible);
    }
}

void TGeoMap::GetPageIndex(const QString& name, int& index) { index = IndexOfPage(name); }

int TGeoMap::IndexOfPage(const QString& name)
{
    return GoToName(Pages, name) ? Pages.GetIndex() : -1;
}

bool TGeoMap::PageExists(const QString& name)
{
    return HasCurrentPage() && GoToName(Pages, name);
}

bool TGeoMap::FindPages(const QString& text, TArrayIntegers& indexes, QStringList& names)
{
    indexes.clear();
    names.clear();
    if (Pages.GoFirstItem()) {
        do {
            if (Pages.Item->Name.contains(text, Qt::CaseSensitive)) {
                indexes.push_back(Pages.GetIndex());
                names.append(Pages.Item->Name);
            }
        } while (Pages.GoNextItem());
    }
    return !indexes.empty();
}

// Layers

int TGeoMap::GetCurrentLayer() const
{
    return HasCurrentPage() ? Pages.Item->Layers.GetIndex() : -1;
}

void TGeoMap::GetLayerProp(int page, int layer, QString& name, std::uint8_t& visible)
{
    if (!Pages.GoItem(page))
        return;
    TGLayers& layers = Pages.Item->Layers;
    if (!HasCurrent(layers))
        return;
    if (layer < 0 || layer >= layers.GetCount()) {
        Ui().ShowMsg(QStringLiteral("Номер запрошенного слоя вне диапазона!"),
                     QStringLiteral("Диапазон слоев для текущей страницы 0-%1")
                         .arg(layers.GetCount()));
        return;
    }
    layers.GoItem(layer);
    name = layers.Item->Name;
    visible = OneOrZero(layers.Item->Visible);
}

void TGeoMap::GetLayerIndex(int page, const QString& name, int& index)
{
    index = -1;
    if (!Pages.GoItem(page))
        return;
    TGLayers& layers = Pages.Item->Layers;
    if (GoToName(layers, name))
        index = layers.GetIndex();
}

int TGeoMap::GetLayerIndexInCurrentPage(const QString& name)
{
    if (!HasCurrentPage())
        return -1;
    TGLayers& layers = Pages.Item->Layers;
    return GoToName(layers, name) ? layers.GetIndex() : -1;
}

bool TGeoMap::LayerExists(int page, const QString& name)
{
    if (!HasCurrentPage() || !Pages.GoItem(page) || !HasCurrent(Pages.Item->Layers))
        return false;
    return GoToName(Pages.Item->Layers, name);
}

bool TGeoMap::LayerExistsInCurrentPage(const QString& name)
{
    return HasCurrentLayer() && GoToName(Pages.Item->Layers, name);
}

// Rasters

int TGeoMap::GetCurrentRastr() const
{
    return HasCurrentPage() ? Pages.Item->Rastrs.GetIndex() : -1;
}

int TGeoMap::SelectPageLastRastr(int page)
{
    if (!Pages.GoItem(page))
        return -1;
    TGRastrs& rastrs = Pages.Item->Rastrs;
    return rastrs.GoLastItem() ? rastrs.GetIndex() : -1;
}

bool TGeoMap::SelectRastr(int page, int raster)
{
    return Pages.GoItem(page) && Pages.Item->Rastrs.GoItem(raster);
}

bool TGeoMap::HasRastrs()
{
    return Pages.GoFirstItemWhere([](const RGPage& p) { return p.Rastrs.GetCount() > 0; });
}

bool TGeoMap::RastrLoaded() const
{
    return HasCurrentRastr() && Pages.Item->Rastrs.Item->Loaded != 0;
}

// Predicates

bool TGeoMap::HasCurrentPage() const { return HasCurrent(Pages); }

bool TGeoMap::HasCurrentLayer() const
{
    return HasCurrentPage() && HasCurrent(Pages.Item->Layers);
}

bool TGeoMap::HasCurrentRastr() const
{
    return HasCurrentPage() && HasCurrent(Pages.Item->Rastrs);
}

bool TGeoMap::HasCurrentText() const
{
    return HasCurrentLayer() && HasCurrent(Pages.Item->Layers.Item->Texts);
}

bool TGeoMap::HasCurrentTextOwnStyle() const
{
    return HasCurrentText() && Pages.Item->Layers.Item->Texts.Item->OwnStyle != nullptr;
}

bool TGeoMap::HasCurrentPoint() const
{
    return HasCurrentLayer() && HasCurrent(Pages.Item->Layers.Item->Points);
}

bool TGeoMap::HasCurrentPointText() const
{
    return HasCurrentPoint() && HasCurrent(Pages.Item->Layers.Item->Points.Item->InnerTexts);
}

bool TGeoMap::HasCurrentPointTextOwnStyle() const
{
    return HasCurrentPointText() &&
           Pages.Item->Layers.Item->Points.Item->InnerTexts.Item->OwnStyle != nullptr;
}

bool TGeoMap::HasCurrentPointUserText() const
{
    return HasCurrentPoint() && HasCurrent(Pages.Item->Layers.Item->Points.Item->UserTexts);
}

bool TGeoMap::HasCurrentLine() const
{
    return HasCurrentLayer() && HasCurrent(Pages.Item->Layers.Item->Lines);
}

bool TGeoMap::HasCurrentLineText() const
{
    return HasCurrentLine() && HasCurrent(Pages.Item->Layers.Item->Lines.Item->InnerTexts);
}

bool TGeoMap::HasCurrentLineTextOwnStyle() const
{
    return HasCurrentLineText() &&
           Pages.Item->Layers.Item->Lines.Item->InnerTexts.Item->OwnStyle != nullptr;
}

bool TGeoMap::HasCurrentLineUserText() const
{
    return HasCurrentLine() && HasCurrent(Pages.Item->Layers.Item->Lines.Item->UserTexts);
}

bool TGeoMap::HasCurrentLineNode() const
{
    return HasCurrentLine() && HasCurrent(Pages.Item->Layers.Item->Lines.Item->Nodes);
}

bool TGeoMap::HasCurrentLineNodePoint() const
{
    return HasCurrentLineNode() &&
           HasCurrent(Pages.Item->Layers.Item->Lines.Item->Nodes.Item->NodePoints);
}

bool TGeoMap::HasCurrentLineNodePointUserText() const
{
    return HasCurrentLineNodePoint() &&
           HasCurrent(Pages.Item->Layers.Item->Lines.Item->Nodes.Item->NodePoints.Item->UserTexts);
}

bool TGeoMap::HasCurrentPolygon() const
{
    return HasCurrentLayer() && HasCurrent(Pages.Item->Layers.Item->Polygons);
}

bool TGeoMap::HasCurrentPolygonText() const
{
    return HasCurrentPolygon() &&
           HasCurrent(Pages.Item->Layers.Item->Polygons.Item->InnerTexts);
}

bool TGeoMap::HasCurrentPolygonTextOwnStyle() const
{
    return HasCurrentPolygonText() &&
           Pages.Item->Layers.Item->Polygons.Item->InnerTexts.Item->OwnStyle != nullptr;
}

bool TGeoMap::HasCurrentPolygonPoint() const
{
    return HasCurrentPolygon() &&
           HasCurrent(Pages.Item->Layers.Item->Polygons.Item->InnerPoints);
}

bool TGeoMap::HasCurrentPolygonPointUserText() const
{
    return HasCurrentPolygonPoint() &&
           HasCurrent(Pages.Item->Layers.Item->Polygons.Item->InnerPoints.Item->UserTexts);
}

bool TGeoMap::HasCurrentPolygonLine() const
{
    return HasCurrentPolygon() &&
           HasCurrent(Pages.Item->Layers.Item->Polygons.Item->InnerLines);
}

bool TGeoMap::HasCurrentPolygonLineUserText() const
{
    return HasCurrentPolygonLine() &&
           HasCurrent(Pages.Item->Layers.Item->Polygons.Item->InnerLines.Item->UserTexts);
}

bool TGeoMap::HasCurrentPolygonLineNode() const
{
    return HasCurrentPolygonLine() &&
           HasCurrent(Pages.Item->Layers.Item->Polygons.Item->InnerLines.Item->Nodes);
}

bool TGeoMap::HasCurrentPolygonUserText() const
{
    return HasCurrentPolygon() &&
           HasCurrent(Pages.Item->Layers.Item->Polygons.Item->UserTexts);
}

bool TGeoMap::HasCurrentPolygonNode() const
{
    return HasCurrentPolygon() && HasCurrent(Pages.Item->Layers.Item->Polygons.Item->Nodes);
}

bool TGeoMap::HasCurrentIntrPolygon() const
{
    return HasCurrentPolygon() && HasCurrent(Pages.Item->Layers.Item->Polygons.Item->Holes);
}

bool TGeoMap::HasCurrentIntrPolygonNode() const
{
    return HasCurrentIntrPolygon() &&
           HasCurrent(Pages.Item->Layers.Item->Polygons.Item->Holes.Item->Nodes);
}

// The document as a whole

void TGeoMap::PassScaleToSymbols() { Symbols->LoadSymbols(MapProp.Scale); }

void TGeoMap::SaveUnknownSymbols()
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.SaveUnknownSymbols;");
    const std::int32_t scale = Symbols->GetScale();
    if (scale == 0)
        return;
    // The folder of a scale without signs may be missing; the list is kept all the same.
    Symbols->WriteUnknownSymbols(scale);
}

void TGeoMap::LoadAllRastrs()
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.LoadAllRastrs;");
    TGeoMap& target = MainMap ? *MainMap : *this;
    for (bool page = Pages.GoFirstItem(); page; page = Pages.GoNextItem()) {
        TGRastrs& rastrs = Pages.Item->Rastrs;
        for (bool more = rastrs.GoFirstItem(); more; more = rastrs.GoNextItem()) {
            const int pageIndex = Pages.GetIndex();
            const int rastrIndex = rastrs.GetIndex();
            RGRastr* rastr = rastrs.Item;
            if (rastr->Loaded != 0)
                continue;
            if (!FileExistsIgnoringCase(rastr->FileName)) {
                QString chosen;
                const QString title =
                    QStringLiteral("Путь к файлу: ") + NameWithoutFolder(rastr->FileName);
                if (!Ui().OpenFile(title, chosen) || !FileExistsIgnoringCase(chosen))
                    continue;
                // The path goes into the plan: one its file cannot spell would make
                // every later save fail.
                try {
                    CheckPlanCodePage(chosen, QStringLiteral("Путь к растру \"%1\"").arg(chosen));
                } catch (const Exception& e) {
                    Ui().ShowMsg(QStringLiteral("Растр не загружен"), e.Message);
                    continue;
                }
                Pages.GoItem(pageIndex);
                rastrs.GoItem(rastrIndex);
                rastr->FileName = chosen;
            }
            target.DoCommand(mcLoadRastr,
                             TCommandParams().Int(pageIndex).Int(rastrIndex).Str());
            rastr->Loaded = RastrLoaded() ? 1 : 0;
        }
    }
    target.Draw(target.Ui().SurfaceSize().width(), target.Ui().SurfaceSize().height(), 3,
                ddScreen);
}

void TGeoMap::UnLoadAllRastrs()
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.UnLoadAllRastrs;");
    TGeoMap& target = MainMap ? *MainMap : *this;
    for (bool page = Pages.GoFirstItem(); page; page = Pages.GoNextItem()) {
        TGRastrs& rastrs = Pages.Item->Rastrs;
        for (bool more = rastrs.GoFirstItem(); more; more = rastrs.GoNextItem()) {
            if (rastrs.Item->Loaded == 0)
                continue;
            target.DoCommand(mcUnLoadRastr,
                             TCommandParams().Int(Pages.GetIndex()).Int(rastrs.GetIndex()).Str());
            rastrs.Item->Loaded = RastrLoaded() ? 1 : 0;
        }
    }
    target.Draw(target.Ui().SurfaceSize().width(), target.Ui().SurfaceSize().height(), 3,
                ddScreen);
}
