// The plan and file commands: a new plan, opening a file in place of the plan, adding a
// file to it, its scale and information text, saving it whole or by chosen sheets; and
// the closing check of polygons after an open. Every field is converted and every
// file read before the plan changes, so a command that fails leaves the plan, its scale
// and the document state as they were.
#include "engine/GeoMap.h"
#include "engine/file/GeoMapFile.h"

#include "engine/EngineServices.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"

#include <QFileInfo>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

const QString KindNew = QStringLiteral("New");
const QString KindOld = QStringLiteral("Old");
const QString KindFora = QStringLiteral("Fora");

// A scale is a whole denominator of 1 or more: 0 or less would divide by zero wherever
// the plan is drawn or its signs are sized.
std::int32_t CheckedScale(std::int32_t scale)
{
    if (scale < 1)
        throw Exception(QStringLiteral("Масштаб плана 1:%1 недопустим: знаменатель масштаба "
                                       "должен быть целым числом не меньше 1")
                            .arg(scale));
    return scale;
}

// The scale a plan file carries as its extension: the text after the last point.
std::int32_t ScaleOfFileName(const QString& fileName)
{
    return CheckedScale(StrToInt(QFileInfo(fileName).suffix()));
}

void CheckKind(const QString& kind)
{
    if (kind != KindNew && kind != KindOld && kind != KindFora)
        throw Exception(QStringLiteral("Неизвестный вид файла плана \"%1\": ожидается \"New\", "
                                       "\"Old\" или \"Fora\"")
                            .arg(kind));
}

// The outer contours of every top-level polygon as an open leaves them, the cursors
// of sheets, layers and polygons where they are. After a merge, so that undo, which
// reopens the merge's snapshot, gives back the polygons the merge brought.
void DropClosingNodes(TGPages& pages)
{
    for (const auto& page : pages)
        for (const auto& layer : page->Layers)
            for (const auto& polygon : layer->Polygons)
                TGeoMap::DropClosingNode(polygon->Nodes, polygon->Precision);
}

// Every sheet of the list, taken out in order; from the back, so that many sheets
// move in linear time.
std::vector<std::unique_ptr<RGPage>> TakeAll(TGPages& pages)
{
    std::vector<std::unique_ptr<RGPage>> sheets;
    sheets.reserve(pages.GetCount());
    while (pages.GoLastItem())
        sheets.push_back(pages.Extract());
    std::reverse(sheets.begin(), sheets.end());
    return sheets;
}

// The plan's sheets, information text and scale held aside while an importer fills a
// sheet of its own; put back as they were unless the import is kept.
class TPlanAside {
public:
    explicit TPlanAside(TGeoMap& map)
        : Map(map), Cursor(map.Pages.GetIndex()), Info(map.MapProp.Info), Scale(map.MapProp.Scale)
    {
        Held = TakeAll(Map.Pages);
    }
    ~TPlanAside()
    {
        if (Done)
            return;
        TGPages& pages = Map.Pages;
        pages.DeleteAll();
        for (auto& sheet : Held)
            pages.AddItem(std::move(sheet));
        pages.GoItem(Cursor);
        Map.MapProp.Info = Info;
        Map.MapProp.Scale = Scale;
    }
    TPlanAside(const TPlanAside&) = delete;
    TPlanAside& operator=(const TPlanAside&) = delete;

    // Open: the imported sheets replace the plan's.
    void DropHeld()
    {
        Held.clear();
        Done = true;
    }
    // Add: the plan's sheets come back before the imported ones; the last imported
    // sheet stays current.
    void KeepBoth()
    {
        std::vector<std::unique_ptr<RGPage>> imported = TakeAll(Map.Pages);
        for (auto& sheet : Held)
            Map.Pages.AddItem(std::move(sheet));
        for (auto& sheet : imported)
            Map.Pages.AddItem(std::move(sheet));
        Held.clear();
        Done = true;
    }

private:
    TGeoMap& Map;
    std::vector<std::unique_ptr<RGPage>> Held;
    int Cursor;
    QString Info;
    std::int32_t Scale;
    bool Done = false;
};

}  // namespace

void TGeoMap::CmdNewMap(const TCommandFields& f)
{
    const std::int32_t scale = CheckedScale(f.Int(0));
    const QString info = CommandTextToLines(f.Text(1));
    SetDataFileState(0);
    Pages.DeleteAll();
    MapProp.Scale = scale;
    MapProp.Info = info;
    PassScaleToSymbols();
}

void TGeoMap::CmdOpenMap(const TCommandFields& f)
{
    const QString fileName = f.Text(0);
    const QString kind = f.Text(1);
    CheckKind(kind);

    if (kind == KindNew) {
        const std::int32_t scale = ScaleOfFileName(fileName);
        // Given up at a name question: the plan stays as it was, and so must the journal
        // of its unsaved changes, which an open that returned would clear.
        if (!ReadDataFromFile(fileName, true))
            throw Exception(QStringLiteral("План не открыт: чтение файла \"%1\" прервано, "
                                           "план остался прежним")
                                .arg(fileName));
        SetDataFileState(1);
        MapProp.Scale = scale;
    } else {
        const bool autoLayer = f.Switch(2);
        const QString layer = autoLayer ? QString() : f.Text(3);
        const TImportReader& reader = kind == KindOld ? OldFileReader : ForaFileReader;
        if (!reader)
            throw Exception(QStringLiteral("Чтение файлов вида \"%1\" недоступно").arg(kind));
        std::int32_t scale = MapProp.Scale;
        if (kind == KindOld) {
            scale = ScaleOfFileName(fileName);
        } else {
            int asked = 500;
            if (Ui().InpScale(asked, QStringLiteral("Ввод Масштаба"),
                              QStringLiteral("исходный масштаб плана в формате фора")) == 1)
                scale = CheckedScale(asked);
        }
        TPlanAside aside(*this);
        // The importers size captions by the scale the plan is read at; an opened plan
        // starts from its file's information alone, not the previous plan's.
        MapProp.Scale = scale;
        MapProp.Info.clear();
        Pages.AddItem();
        Pages.Item->Name = QFileInfo(fileName).fileName();
        Pages.Item->Visible = 1;
        reader(*this, fileName, autoLayer, layer);
        aside.DropHeld();
        SetDataFileState(1);
        if (kind == KindOld)
            MaxMinCoord();
    }
    PassScaleToSymbols();
    CheckPolygonClose();
}

void TGeoMap::CmdAddMap(const TCommandFields& f)
{
    const QString fileName = f.Text(0);
    const QString kind = f.Text(1);
    CheckKind(kind);
    if (kind == KindNew) {
        if (ReadDataFromFile(fileName, false))
            DropClosingNodes(Pages);
        return;
    }
    const bool autoLayer = f.Switch(2);
    const QString layer = autoLayer ? QString() : f.Text(3);
    const TImportReader& reader = kind == KindOld ? OldFileReader : ForaFileReader;
    if (!reader)
        throw Exception(QStringLiteral("Чтение файлов вида \"%1\" недоступно").arg(kind));

    QString name = QFileInfo(fileName).fileName();
    while (name.isEmpty() || PageExists(name)) {
        // Anything but OK gives the merge up: without a window the question would come
        // back for ever.
        if (Ui().InpStr(name, QStringLiteral("Лист уже существует!"),
                        QStringLiteral("Названия листов не должны повторяться. выберете новое "
                                       "название:")) != 1)
            return;
    }
    TPlanAside aside(*this);
    Pages.AddItem();
    Pages.Item->Name = name;
    Pages.Item->Visible = 1;
    reader(*this, fileName, autoLayer, layer);
    aside.KeepBoth();
    DropClosingNodes(Pages);
    // The extents of the whole plan, the sheets held aside while reading included.
    if (kind == KindOld)
        MaxMinCoord();
}

// Sign names belong to the library of one scale: an object without a sign at one scale
// ("#") would otherwise never look for one again at the next.
static void ClearSignNames(TGPoints& points)
{
    for (const auto& point : points)
        point->SignName.clear();
}

static void ClearSignNames(TGLines& lines)
{
    for (const auto& line : lines) {
        line->SignName.clear();
        for (const auto& node : line->Nodes)
            ClearSignNames(node->NodePoints);
    }
}

void TGeoMap::CmdSetMapScale(const TCommandFields& f)
{
    MapProp.Scale = CheckedScale(f.Int(0));
    for (const auto& page : Pages)
        for (const auto& layer : page->Layers) {
            ClearSignNames(layer->Points);
            ClearSignNames(layer->Lines);
            for (const auto& polygon : layer->Polygons) {
                polygon->SignName.clear();
                ClearSignNames(polygon->InnerPoints);
                ClearSignNames(polygon->InnerLines);
            }
        }
    PassScaleToSymbols();
}

void TGeoMap::CmdSetMapInf(const TCommandFields& f) { MapProp.Info = CommandTextToLines(f.Text(0)); }

void TGeoMap::CmdSaveMap(const TCommandFields& f)
{
    const QString fileName = f.Text(0);
    const QString kind = f.Text(1);
    // Nothing may count as saved that was not written: a plan marked unmodified would
    // be closed without the question.
    if (fileName.isEmpty())
        throw Exception(QStringLiteral("План не сохранен: не задано имя файла"));
    if (kind != KindNew)
        throw Exception(QStringLiteral("План не сохранен: вид файла \"%1\" не записывается, "
                                       "ожидается \"New\"")
                            .arg(kind));
    WriteDataToFile(fileName);
    SetDataFileState(2);
    Modified = 0;
}

void TGeoMap::CmdSaveSelected(const TCommandFields& f)
{
    const QString fileName = f.Text(0);
    const TCommandFields groups = f.Values(1);
    TArrayIntegers sheets;
    for (int i = 0; i < groups.Count(); ++i)
        sheets.push_back(groups.Int(i));
    if (fileName.isEmpty())
        throw Exception(QStringLiteral("Листы не сохранены: не задано имя файла"));
    WriteDataToFile(fileName, sheets);
}

bool TGeoMap::DropClosingNode(TGPolygonNodes& nodes, TPrecision precision)
{
    // Every repeat of the first node at the end goes, not only the last one: a contour
    // left ending on its first node would lose one more at the next open, and undo,
    // which reopens a snapshot, would then change the polygon. Nodes are compared as
    // the file holds them: a last node a thousandth off the first, written at two
    // decimals, is the first node once the plan is opened again. A contour of two
    // nodes keeps them: dropping one would leave less than a segment.
    bool dropped = false;
    while (nodes.GetCount() >= 3) {
        if (!SameWrittenPair(precision, nodes.At(0)->Position,
                             nodes.At(nodes.GetCount() - 1)->Position))
            break;
        nodes.GoLastItem();
        nodes.DeleteItem();
        dropped = true;
    }
    return dropped;
}

void TGeoMap::CheckPolygonClose()
{
    TTrailGuard guard("GeoMap", "procedure CheckPolygonClose;");
    if (!Pages.GoFirstItem())
        return;
    do {
        TGLayers& layers = Pages.Item->Layers;
        if (!layers.GoFirstItem())
            continue;
        do {
            TGPolygons& polygons = layers.Item->Polygons;
            if (!polygons.GoFirstItem())
                continue;
            do {
                DropClosingNode(polygons.Item->Nodes, polygons.Item->Precision);
            } while (polygons.GoNextItem());
        } while (layers.GoNextItem());
    } while (Pages.GoNextItem());
}

void InstallPlanFileCommands(TGeoMap& map)
{
    const auto bind = [&map](TMapCommand comm, void (TGeoMap::*handler)(const TCommandFields&)) {
        map.CommandHandlers[comm] = [handler](TGeoMap& m, const TCommandFields& f) {
            (m.*handler)(f);
        };
    };
    bind(mcNewMap, &TGeoMap::CmdNewMap);
    bind(mcOpenMap, &TGeoMap::CmdOpenMap);
    bind(mcAddMap, &TGeoMap::CmdAddMap);
    bind(mcSetMapScale, &TGeoMap::CmdSetMapScale);
    bind(mcSetMapInf, &TGeoMap::CmdSetMapInf);
    bind(mcSaveMap, &TGeoMap::CmdSaveMap);
    bind(mcSaveSelected, &TGeoMap::CmdSaveSelected);
    map.OldFileReader = [](TGeoMap& m, const QString& file, bool autoLayer, const QString& layer) {
        m.ReadDataFromOldFile(file, autoLayer, layer);
    };
    map.ForaFileReader = [](TGeoMap& m, const QString& file, bool autoLayer, const QString& layer) {
        m.ReadDataFromForaFile(file, autoLayer, layer);
    };
    map.SnapshotWriter = WritePlanSnapshot;
}
