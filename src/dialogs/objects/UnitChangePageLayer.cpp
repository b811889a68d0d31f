// The move of one object to another sheet or layer, and its window.
#include "dialogs/objects/UnitChangePageLayer.h"

#include "dialogs/objects/ObjectValues.h"
#include "engine/GeoMap.h"
#include "foundation/ProgramDialogs.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

std::uint8_t MoveKind = mkNone;

namespace {

// The count of the kind's list at (page, layer): the sheet's rasters, or the layer's own
// texts, points, lines or polygons; -1 when the place does not exist.
int CountOf(TGeoMap& map, TMoveKind kind, int page, int layer)
{
    switch (kind) {
    case mkRastr: return map.GetRastrsCount(page);
    case mkText: return map.GetTextsCount(page, layer);
    case mkPoint: return map.GetPointsCount(page, layer);
    case mkLine: return map.GetLinesCount(page, layer);
    case mkPolygon: return map.GetPolygonsCount(page, layer);
    default: return -1;
    }
}

// The creation command of the copy at (page, layer) from the values read at the source;
// false when the source does not exist.
bool CopyCommand(TGeoMap& map, TMoveKind kind, int page, int layer, int index, int toPage,
                 int toLayer, TMapCommand& comm, QString& params, bool& loaded)
{
    loaded = false;
    switch (kind) {
    case mkRastr: {
        RRastrValues v;
        if (!ReadRastr(map, page, index, v))
            return false;
        comm = mcNewRastr;
        params = NewRastrParams(toPage, v);
        loaded = v.Loaded != 0;
        return true;
    }
    case mkText: {
        RTextValues v;
        if (!ReadText(map, page, layer, index, v))
            return false;
        comm = mcNewText;
        params = NewTextParams(toPage, toLayer, v);
        return true;
    }
    case mkPoint: {
        RPointValues v;
        if (!ReadPoint(map, page, layer, index, v))
            return false;
        comm = mcNewPoint;
        params = NewPointParams(toPage, toLayer, v);
        return true;
    }
    case mkLine: {
        RLineValues v;
        if (!ReadLine(map, page, layer, index, v))
            return false;
        comm = mcNewLine;
        params = NewLineParams(toPage, toLayer, v);
        return true;
    }
    case mkPolygon: {
        RPolygonValues v;
        if (!ReadPolygon(map, page, layer, index, v))
            return false;
        comm = mcNewPolygon;
        params = NewPolygonParams(toPage, toLayer, v);
        return true;
    }
    default:
        return false;
    }
}

TMapCommand DeleteCommandOf(TMoveKind kind)
{
    switch (kind) {
    case mkRastr: return mcDelRastr;
    case mkText: return mcDelText;
    case mkPoint: return mcDelPoint;
    case mkLine: return mcDelLine;
    default: return mcDelPolygon;
    }
}

TModalResult RunMove(TMoveKind kind, int& page, int& layer, int& index)
{
    if (MoveKind != mkNone)
        return 0;
    const auto& hook = ProgramDialogHooks().ChangePageLayer;
    if (!hook)
        return mrCancel;
    const TMoveKindGuard guard(kind);
    return hook(kind, page, layer, index);
}

}  // namespace

int LayerAfterPageChange(int ownLayer, int layerCount)
{
    if (layerCount <= 0)
        return -1;
    return ownLayer >= 0 && ownLayer < layerCount ? ownLayer : 0;
}

bool OwnsNestedObjects(const TGeoMap& map, TMoveKind kind, int page, int layer, int index)
{
    const RGPage* p = map.Pages.At(page);
    const RGLayer* l = p ? p->Layers.At(layer) : nullptr;
    if (!l)
        return false;
    switch (kind) {
    case mkPoint:
        if (const RGPoint* point = l->Points.At(index))
            return point->InnerTexts.GetCount() > 0;
        return false;
    case mkLine:
        if (const RGLine* line = l->Lines.At(index)) {
            if (line->InnerTexts.GetCount() > 0)
                return true;
            for (const auto& node : line->Nodes)
                if (node->NodePoints.GetCount() > 0)
                    return true;
        }
        return false;
    case mkPolygon:
        if (const RGPolygon* polygon = l->Polygons.At(index))
            return polygon->InnerTexts.GetCount() > 0 || polygon->InnerPoints.GetCount() > 0 ||
                   polygon->InnerLines.GetCount() > 0;
        return false;
    default:
        return false;
    }
}

bool MoveObject(TGeoMap& map, TMoveKind kind, int& page, int& layer, int& index, int toPage, int toLayer)
{
    const bool rastr = kind == mkRastr;
    if (toPage < 0 || (!rastr && toLayer < 0))
        return false;
    if (toPage == page && (rastr || toLayer == layer))
        return false;
    if (!rastr && OwnsNestedObjects(map, kind, page, layer, index)) {
        ShowMsgDialog(QStringLiteral("Перенос объекта"),
                      QStringLiteral("Объект содержит вложенные объекты, которые нельзя "
                                     "перенести; перенос отменен"));
        return false;
    }
    TMapCommand create = mcNewPoint;
    QString params;
    bool loaded = false;
    if (!CopyCommand(map, kind, page, layer, index, toPage, toLayer, create, params, loaded))
        return false;
    const int before = CountOf(map, kind, toPage, toLayer);
    if (before < 0)
        return false;
    map.DoCommand(create, params);
    const int after = CountOf(map, kind, toPage, toLayer);
    if (after != before + 1)
        return false;   // the engine made no copy: the original stays
    if (rastr)
        map.DoCommand(mcDelRastr, TCommandParams().Int(page).Int(index));
    else
        map.DoCommand(DeleteCommandOf(kind), TCommandParams().Int(page).Int(layer).Int(index));
    page = toPage;
    if (!rastr)
        layer = toLayer;
    index = after - 1;
    if (rastr && loaded)
        map.DoCommand(mcLoadRastr, TCommandParams().Int(page).Int(index));
    return true;
}

TModalResult ChangeRastrPageDlg(int& page, int& index)
{
    int layer = 0;
    return RunMove(mkRastr, page, layer, index);
}

TModalResult ChangeTextPageLayerDlg(int& page, int& layer, int& index)
{
    return RunMove(mkText, page, layer, index);
}

TModalResult ChangePointPageLayerDlg(int& page, int& layer, int& index)
{
    return RunMove(mkPoint, page, layer, index);
}

TModalResult ChangeLinePageLayerDlg(int& page, int& layer, int& index)
{
    return RunMove(mkLine, page, layer, index);
}

TModalResult ChangePolygonPageLayerDlg(int& page, int& layer, int& index)
{
    return RunMove(mkPolygon, page, layer, index);
}

TFormChangePageLayer::TFormChangePageLayer(TMoveKind kind, const QString& pageName,
                                           const QString& layerName, const QStringList& pages,
                                           int page, std::function<QStringList(int)> layersOf,
                                           int layer, QWidget* parent)
    : TDialogBase(parent), Kind(kind), OwnLayer(layer), LayersOf(std::move(layersOf))
{
    setWindowTitle(QStringLiteral("Изменение принадлежности объекта листу/слою"));
    SetClientSize(680, 214);
    const bool rastr = kind == mkRastr;

    auto* source = new QGroupBox(QStringLiteral("Исходное размещение"), this);
    Place(source, QRect(8, 6, 664, 62));
    auto* sourcePage = new QLabel(QStringLiteral("Лист"), source);
    sourcePage->setGeometry(10, 18, 40, 16);
    LPage = new QLabel(pageName, source);
    LPage->setObjectName(QStringLiteral("LPage"));
    LPage->setGeometry(56, 18, 600, 16);
    auto* sourceLayer = new QLabel(QStringLiteral("Слой"), source);
    sourceLayer->setGeometry(10, 38, 40, 16);
    LLayer = new QLabel(layerName, source);
    LLayer->setObjectName(QStringLiteral("LLayer"));
    LLayer->setGeometry(56, 38, 600, 16);
    sourceLayer->setVisible(!rastr);
    LLayer->setVisible(!rastr);

    auto* target = new QGroupBox(QStringLiteral("Новое размещение"), this);
    Place(target, QRect(8, 74, 664, 94));
    auto* targetPage = new QLabel(QStringLiteral("Лист"), target);
    targetPage->setGeometry(10, 26, 40, 16);
    cbPage = new QComboBox(target);
    cbPage->setObjectName(QStringLiteral("cbPage"));
    cbPage->setGeometry(56, 22, 598, 22);
    cbPage->addItems(pages);
    cbPage->setCurrentIndex(page >= 0 && page < pages.size() ? page : -1);
    LabelLayer = new QLabel(QStringLiteral("Слой"), target);
    LabelLayer->setGeometry(10, 60, 40, 16);
    cbLayer = new QComboBox(target);
    cbLayer->setObjectName(QStringLiteral("cbLayer"));
    cbLayer->setGeometry(56, 56, 598, 22);
    LabelLayer->setVisible(!rastr);
    cbLayer->setVisible(!rastr);
    if (!rastr) {
        cbLayer->addItems(LayersOf(page));
        if (cbLayer->count() > 0)
            cbLayer->setCurrentIndex(layer >= 0 && layer < cbLayer->count() ? layer : -1);
    }
    connect(cbPage, &QComboBox::activated, this, [this] { cbPageChange(); });

    BitBtn1 = AddButton(QStringLiteral("Готово"), QRect(597, 180, 75, 25), mrNone);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
}

int TFormChangePageLayer::MovePage() const { return cbPage->currentIndex(); }

int TFormChangePageLayer::MoveLayer() const { return cbLayer->currentIndex(); }

void TFormChangePageLayer::cbPageChange()
{
    if (Kind == mkRastr)
        return;
    cbLayer->clear();
    if (cbPage->count() == 0)
        return;
    cbLayer->addItems(LayersOf(cbPage->currentIndex()));
    cbLayer->setCurrentIndex(LayerAfterPageChange(OwnLayer, cbLayer->count()));
}

void TFormChangePageLayer::BitBtn1Click()
{
    if (Kind == mkRastr) {
        if (cbPage->currentIndex() >= 0)
            SetModalResult(mrOk);
        return;
    }
    if (cbLayer->count() == 0) {
        ShowMsgDialog(QStringLiteral("Отсутствуют слои!"),
                      QStringLiteral("В выбранном листе отсуствуют слои, выберете другой лист"));
        return;
    }
    SetModalResult(mrOk);
}
