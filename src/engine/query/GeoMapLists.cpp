// The list fillers: one formatted line per sheet, layer, raster or object, for the
// list windows, which never walk the plan themselves. A line's row is the item's
// position wherever every item is listed.
#include "engine/GeoMap.h"

#include "engine/query/QueryLookup.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/StringNum.h"
#include "platform/FileLookup.h"
#include "semantics/codec/SemServices.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

QString StateWord(std::uint8_t visible)
{
    return visible != 0 ? QStringLiteral("видимый") : QStringLiteral("скрытый");
}

// A name next to its state word: upper case while visible, lower case while hidden.
QString NameByState(const QString& name, std::uint8_t visible)
{
    return visible != 0 ? name.toUpper() : name.toLower();
}

// A format whose name column is width characters wide: head + width + tail, tail
// starting with the column's "s".
QString ColumnFormat(const char* head, qsizetype width, const char* tail)
{
    return QString::fromUtf8(head) + QString::number(width) + QString::fromUtf8(tail);
}

int LayerObjectCount(const RGLayer& layer)
{
    return layer.Texts.GetCount() + layer.Points.GetCount() + layer.Lines.GetCount() +
           layer.Polygons.GetCount();
}

// Walks the sheet's layers with the cursor, so that the sheet ends on its last layer.
int SheetObjectCount(RGPage& page)
{
    int count = 0;
    TGLayers& layers = page.Layers;
    if (layers.GoFirstItem()) {
        do
            count += LayerObjectCount(*layers.Item);
        while (layers.GoNextItem());
    }
    return count;
}

// The readable semantics of one filling: a plan repeats a few semantics strings over
// thousands of objects, and decoding one costs far more than looking it up.
class TReadableSemantics {
public:
    explicit TReadableSemantics(int lm) : Kind(lm) {}

    const QString& Of(const QString& sem)
    {
        auto found = Known.constFind(sem);
        if (found == Known.constEnd()) {
            QString text;
            DecodeSem(Kind, sem, text);
            found = Known.insert(sem, text);
        }
        return *found;
    }

private:
    int Kind;
    QHash<QString, QString> Known;
};

// The readable semantics of every object of list, in list order, and the longest.
template <class L>
QStringList ReadableColumn(const L& list, int lm, qsizetype& width)
{
    TReadableSemantics readable(lm);
    QStringList column;
    column.reserve(list.GetCount());
    width = 0;
    for (const auto& object : list) {
        column.append(readable.Of(object->Semantics));
        width = std::max(width, column.last().size());
    }
    return column;
}

// Appends line(index, item) for every item of list, walking it with the cursor, which
// ends on the last item.
template <class L, class F>
void WalkLines(L& list, QStringList& out, F line)
{
    if (!list.GoFirstItem())
        return;
    do
        out.append(line(list.GetIndex(), *list.Item));
    while (list.GoNextItem());
}

// The lines of the objects of one kind (the layer's list member, semantics kind lm),
// named by their readable semantics in a column as wide as the longest: the format is
// head, the width and tail; line(format, index, name, object) makes one line. The list
// stays empty when the sheet or layer does not exist.
template <class L, class F>
void ObjectLines(TGPages& pages, int page, int layerIndex, L RGLayer::*member, int lm,
                 const char* head, const char* tail, QStringList& out, F line)
{
    out.clear();
    RGLayer* layer = GoToLayer(pages, page, layerIndex);
    if (!layer)
        return;
    L& list = layer->*member;
    qsizetype width = 0;
    const QStringList readable = ReadableColumn(list, lm, width);
    const QString format = ColumnFormat(head, width, tail);
    WalkLines(list, out, [&](int i, const auto& object) {
        return line(format, i, readable[i], object);
    });
}

}  // namespace

// Sheets

void TGeoMap::GetPagesToListBox(QStringList& LB)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.GetPagesToListBox(LB:TListBox);");
    LB.clear();
    qsizetype width = 0;
    for (const auto& page : Pages)
        width = std::max(width, page->Name.size());
    const QString format = ColumnFormat(
        "%-4d %-", width, "s  %s ( растров: %4d; слоев: %4d; объектов: %4d )");
    WalkLines(Pages, LB, [&](int i, RGPage& page) {
        const int objects = SheetObjectCount(page);
        return Format(format, {i, NameByState(page.Name, page.Visible), StateWord(page.Visible),
                               page.Rastrs.GetCount(), page.Layers.GetCount(), objects});
    });
}

void TGeoMap::GetPagesToTextListBox(QStringList& TLB)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.GetPagesToTextListBox(TLB:TTextListBox);");
    GetPagesToListBox(TLB);
}

void TGeoMap::GetPagesToCheckListBox(QStringList& LB)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.GetPagesToCheckListBox(LB:TCheckListBox);");
    LB.clear();
    WalkLines(Pages, LB, [](int, const RGPage& page) { return page.Name; });
}

void TGeoMap::PagesToComboBox(QStringList& CB)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.PagesToComboBox(CB:TComboBox);");
    CB.clear();
    WalkLines(Pages, CB, [](int, RGPage& page) {
        const int objects = SheetObjectCount(page);
        return page.Name + QStringLiteral(" ( ") + StateWord(page.Visible) +
               QStringLiteral("; растров:") + QString::number(page.Rastrs.GetCount()) +
               QStringLiteral("; слоев:") + QString::number(page.Layers.GetCount()) +
               QStringLiteral(";") + QStringLiteral(" объектов:") + QString::number(objects) +
               QStringLiteral(")");
    });
}

void TGeoMap::PagesToComboBox2(QStringList& CB)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.PagesToComboBox2(CB:TComboBox);");
    CB.clear();
    if (!Pages.GoFirstItem())
        return;
    do {
        if (Pages.Item->Visible != 0)
            CB.append(Pages.Item->Name);
    } while (Pages.GoNextItem());
}

// Layers

void TGeoMap::GetLayersNamesToCheckListBox(QStringList& lb)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.GetLayersNamesToCheckListBox(lb:TCheckListBox);");
    lb.clear();
    QSet<QString> listed;
    if (!Pages.GoFirstItem())
        return;
    do {
        if (Pages.Item->Visible == 0)
            continue;
        TGLayers& layers = Pages.Item->Layers;
        if (!layers.GoFirstItem())
            continue;
        do {
            const RGLayer& layer = *layers.Item;
            if (layer.Visible != 0 && !listed.contains(layer.Name)) {
                listed.insert(layer.Name);
                lb.append(layer.Name);
            }
        } while (layers.GoNextItem());
    } while (Pages.GoNextItem());
}

void TGeoMap::GetLayersToListBox2(int Page, QStringList& LB)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.GetLayersToListBox2(Page:integer; LB:TListBox);",
                      TrailArg("Page", Page));
    LB.clear();
    if (!Pages.GoItem(Page))
        return;
    TGLayers& layers = Pages.Item->Layers;
    qsizetype width = 0;
    for (const auto& layer : layers)
        width = std::max(width, layer->Name.size());
    const QString format = ColumnFormat(
        "%-2d %-", width,
        "s  ( %s; объектов: текстовых %3d, точечных %3d, линейных %3d, площадных %3d  )");
    WalkLines(layers, LB, [&](int i, const RGLayer& layer) {
        return Format(format, {i, NameByState(layer.Name, layer.Visible), StateWord(layer.Visible),
                               layer.Texts.GetCount(), layer.Points.GetCount(),
                               layer.Lines.GetCount(), layer.Polygons.GetCount()});
    });
}

void TGeoMap::GetLayersToComboBox(int Page, QStringList& LB)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.GetLayersToComboBox(Page:integer; LB:TComboBox);",
                      TrailArg("Page", Page));
    LB.clear();
    if (!Pages.GoItem(Page))
        return;
    WalkLines(Pages.Item->Layers, LB, [](int, const RGLayer& layer) {
        return NameByState(layer.Name, layer.Visible) + QStringLiteral("   ( ") +
               StateWord(layer.Visible) + QStringLiteral("; ") +
               QStringLiteral(" объектов: текстовых ") + QString::number(layer.Texts.GetCount()) +
               QStringLiteral(", точечных ") + QString::number(layer.Points.GetCount()) +
               QStringLiteral(", линейных ") + QString::number(layer.Lines.GetCount()) +
               QStringLiteral(", площадных ") + QString::number(layer.Polygons.GetCount()) +
               QStringLiteral(")");
    });
}

void TGeoMap::GetLayersToComboBox2(int Page, QStringList& LB)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.GetLayersToComboBox2(Page:integer; LB:TComboBox);",
                      TrailArg("Page", Page));
    LB.clear();
    if (!Pages.GoItem(Page))
        return;
    TGLayers& layers = Pages.Item->Layers;
    if (!layers.GoFirstItem())
        return;
    do {
        if (layers.Item->Visible != 0)
            LB.append(layers.Item->Name);
    } while (layers.GoNextItem());
}

// Rasters

void TGeoMap::GetRastrsToListBox(int Page, QStringList& LB)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.GetRastrsToListBox(Page:integer; LB:TListBox);",
                      TrailArg("Page", Page));
    LB.clear();
    if (!Pages.GoItem(Page))
        return;
    WalkLines(Pages.Item->Rastrs, LB, [](int i, const RGRastr& r) {
        const QString found = FileExistsIgnoringCase(r.FileName) ? QStringLiteral("найден")
                                                                 : QStringLiteral("не найден");
        const QString loaded = r.Loaded != 0 ? QStringLiteral("загружен")
                                             : QStringLiteral("не загружен");
        const QString filter =
            (r.FilterOn != 0 ? QStringLiteral("фильтр включен;") : QStringLiteral("фильтр выключен;")) +
            QStringLiteral("L") + QString::number(r.Brightness) + QStringLiteral(";R") +
            QString::number(r.Red) + QStringLiteral(";G") + QString::number(r.Green) +
            QStringLiteral(";B") + QString::number(r.Blue) + QStringLiteral(";");
        return Format(QStringLiteral("%-2d"), {i}) + NameByState(r.FileName, r.Visible) +
               QStringLiteral("   ( ") + found + QStringLiteral(";") + StateWord(r.Visible) +
               QStringLiteral("; ") + loaded + QStringLiteral(";") + filter + QStringLiteral(")");
    });
}

// Objects

void TGeoMap::GetTextsToListBox(int Page, int Layer, QStringList& LB)
{
    TTrailGuard guard("GeoMap",
                      "procedure TGeoMap.GetTextsToListBox(Page,Layer:integer; LB:TListBox);",
                      TrailArg("Page", Page), TrailArg("Layer", Layer));
    LB.clear();
    RGLayer* layer = GoToLayer(Pages, Page, Layer);
    if (!layer)
        return;
    qsizetype width = 0;
    for (const auto& text : layer->Texts)
        width = std::max(width, text->Text.size());
    const QString format = ColumnFormat("%-4d %-", width, "s (%8.2f,%8.2f) /%5.2f  %s");
    WalkLines(layer->Texts, LB, [&](int i, const RGText& t) {
        const QString style =
            t.OwnStyle ? Format(QStringLiteral("шрифт %s %d %f %s"),
                                {t.OwnStyle->FontName, t.OwnStyle->Color, t.OwnStyle->Size,
                                 FontStylesToStr(t.OwnStyle->FontStyle)})
                       : QStringLiteral("стиль ") + t.StyleName;
        return Format(format, {i, t.Text, t.Position.X, t.Position.Y, WinToGeoAngle(t.Angle), style});
    });
}

void TGeoMap::GetPointsToListBox(int Page, int Layer, QStringList& LB)
{
    TTrailGuard guard("GeoMap",
                      "procedure TGeoMap.GetPointsToListBox(Page,Layer:integer; LB:TListBox);",
                      TrailArg("Page", Page), TrailArg("Layer", Layer));
    ObjectLines(Pages, Page, Layer, &RGLayer::Points, 0, "%-4d %-", "s (%8.3f,%8.3f)", LB,
                [](const QString& format, int i, const QString& name, const RGPoint& p) {
                    return Format(format, {i, name, p.Position.X, p.Position.Y});
                });
}

void TGeoMap::GetLinesToListBox(int Page, int Layer, QStringList& TLB)
{
    TTrailGuard guard("GeoMap",
                      "procedure TGeoMap.GetLinesToListBox(Page,Layer:integer; TLB:TTextListBox);",
                      TrailArg("Page", Page), TrailArg("Layer", Layer));
    ObjectLines(Pages, Page, Layer, &RGLayer::Lines, 1, "%-4d  %-", "s ( узлов : %-3d )", TLB,
                [](const QString& format, int i, const QString& name, const RGLine& l) {
                    return Format(format, {i, name, l.Nodes.GetCount()});
                });
}

void TGeoMap::GetPolygonsToTextListBox(int Page, int Layer, QStringList& TLB)
{
    TTrailGuard guard("GeoMap",
                      "procedure TGeoMap.GetPolygonsToTextListBox(Page,Layer:integer; TLB:TTextListBox);",
                      TrailArg("Page", Page), TrailArg("Layer", Layer));
    ObjectLines(Pages, Page, Layer, &RGLayer::Polygons, 2, "%-4d  %-",
                "s ( узлов : %-3d внутренних плигонов %-2d )", TLB,
                [](const QString& format, int i, const QString& name, const RGPolygon& p) {
                    return Format(format, {i, name, p.Nodes.GetCount(), p.Holes.GetCount()});
                });
}
