// The layer rules of the reference folder "Слои": pairs of a semantics pattern and a
// layer name, and the one layer that new texts go to; choosing the layer of an object by
// them, and making the named sheet and layer current for a new object.
#include "engine/GeoMap.h"

#include "engine/EngineServices.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "platform/FileLookup.h"
#include "platform/TextFiles.h"
#include "semantics/codec/SemServices.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

QString RulesPath() { return ProgramFolderPath(QStringLiteral("Слои/Выбор слоя.wri")); }
QString LayerNamesPath() { return ProgramFolderPath(QStringLiteral("Слои/Слои.wri")); }

// The number of pairs (p, r), p from a and r from b, with p equal to r; a part that
// occurs twice counts twice.
int EqualPairs(const QStringList& a, const QStringList& b)
{
    int m = 0;
    for (const QString& p : a)
        m += static_cast<int>(b.count(p));
    return m;
}

}  // namespace

// A record is a line "*", the semantics and the layer name; every other line outside a
// record is skipped, so comments may stand between records. A "*" too close to the
// end of the file to be followed by both lines starts no rule.
void TGeoMap::LoadDefLayerForObjects()
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.LoadDefLayerForObjects;");
    const QString rulesPath = RulesPath();
    if (!FileExistsIgnoringCase(rulesPath))
        throw Exception(QStringLiteral("Не найден файл  Выбор слоя.wri"));
    const QStringList lines = ReadTextFileLines(rulesPath, true);   // a lone CR ends a line too

    LayerRules.DeleteAll();
    for (qsizetype i = 0, n = lines.size(); i + 2 < n; ++i) {
        if (lines[i] != QLatin1String("*"))
            continue;
        auto rule = std::make_unique<RDefLayerForObject>();
        rule->Semantics = lines[i + 1];
        rule->LayerName = lines[i + 2];
        LayerRules.AddItem(std::move(rule));
        i += 2;
    }

    const QString captionPath = ProgramFolderPath(QStringLiteral("Слои/слой надписей.wri"));
    if (!FileExistsIgnoringCase(captionPath))
        throw Exception(QStringLiteral("Не найден файл  слой надписей.wri"));
    const QStringList caption = ReadTextFileLines(captionPath, true);
    CaptionLayerName = caption.isEmpty() ? QString() : caption.first();
}

// Sorted by semantics and layer as one text, letter case ignored, so that the file
// reads in order at the next start; each semantics loses its extended items. The pairs
// are sorted whole, never split again at an "@", so no semantics text is cut.
void TGeoMap::SaveDefLayerForObjects()
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.SaveDefLayerForObjects;");
    struct RPair {
        QString Key;
        QString Semantics;
        QString LayerName;
    };
    std::vector<RPair> pairs;
    pairs.reserve(static_cast<size_t>(LayerRules.GetCount()));
    for (const auto& rule : LayerRules)
        pairs.push_back({rule->Semantics + QLatin1Char('@') + rule->LayerName, rule->Semantics,
                         rule->LayerName});
    std::stable_sort(pairs.begin(), pairs.end(), [](const RPair& a, const RPair& b) {
        return QString::compare(a.Key, b.Key, Qt::CaseInsensitive) < 0;
    });

    QStringList lines;
    lines.reserve(static_cast<qsizetype>(pairs.size()) * 3);
    for (RPair& pair : pairs) {
        SemToSTD(pair.Semantics);
        lines << QStringLiteral("*") << pair.Semantics << pair.LayerName;
    }
    WriteTextFileLines(RulesPath(), lines);
}

void TGeoMap::SplitSem(const QString& sem, QStringList& parts)
{
    parts.clear();
    parts.append(sem.left(3));
    if (sem.size() <= 4)
        return;
    QStringView items = QStringView(sem).mid(4);
    if (items.endsWith(QLatin1Char(' ')))
        items.chop(1);
    qsizetype start = 0;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items[i] == QLatin1Char(';')) {
            parts.append(items.mid(start, i - start).toString());
            start = i + 1;
        }
    }
    if (start < items.size())
        parts.append(items.mid(start).toString());
}

// Among rules with the best count the one with the fewest parts wins, and among those
// the last: a later rule of the same size overrides an earlier one.
void TGeoMap::SelectSem(TDefLayerForObjects* rules, QString& sem, int& index)
{
    TTrailGuard guard("GeoMap",
                      "procedure TGeoMap.SelectSem(DefLayerForObjects:TDefLayerForObjects; "
                      "var sem:string; var index:integer);",
                      TrailArg("sem", sem), TrailArg("index", index));
    if (!rules || rules->GetCount() == 0)
        return;
    QStringList objectParts;
    SplitSem(sem, objectParts);
    QStringList ruleParts;
    int best = 0;
    int fewest = 0;
    int chosen = -1;
    for (int k = 0, n = rules->GetCount(); k < n; ++k) {
        SplitSem(rules->At(k)->Semantics, ruleParts);
        const int m = objectParts.first() == ruleParts.first()
                          ? EqualPairs(objectParts, ruleParts) : 0;
        const int size = static_cast<int>(ruleParts.size());
        if (m > best) {
            best = m;
            fewest = size;
            chosen = k;
        }
        if (m > 0 && m == best) {
            fewest = std::min(fewest, size);
            if (size == fewest)
                chosen = k;
        }
    }
    if (best < 1) {
        index = -1;
        sem.clear();
        return;
    }
    index = chosen;
    rules->GoItem(chosen);
    sem = rules->Item->Semantics;
}

QString TGeoMap::DetectLayer(int lm, const QString& objectName)
{
    TTrailGuard guard("GeoMap", "function TGeoMap.DetectLayer(lm:TLmode; ObjectName:string):string;",
                      TrailArg("lm", lm), TrailArg("ObjectName", objectName));
    QString sem = objectName;
    int index = LayerRules.GetCount() == 0 ? -1 : 0;
    SelectSem(&LayerRules, sem, index);
    if (index >= 0)
        return LayerRules.Item->LayerName;

    QString readable;
    DecodeSem(lm, objectName, readable);
    const QChar quote = QLatin1Char('"');
    const QChar cr = QLatin1Char('\r');
    const QString text = QStringLiteral("Для объекта ") + quote + objectName + cr +
                         QLatin1Char('(') + readable + QLatin1Char(')') + cr + quote +
                         QStringLiteral(" выберите слой из списка либо введите новый и нажмите ") +
                         quote + QStringLiteral("Готово") + quote;
    // The question appends a typed new name to the list itself; whatever it did is
    // undone unless a name is really taken.
    const QStringList namesBefore = LayerNames;
    int chosen = 0;
    int added = 0;
    const int result = Ui().SelStr(LayerNames, chosen, added,
                                   QStringLiteral("Не получается автоматически определить слой "),
                                   text);
    // Confirmed with nothing chosen (an empty text) counts as a cancel: no rule may
    // send objects to a layer without a name.
    if (result != 1 || chosen < 0 || chosen >= LayerNames.size() || LayerNames[chosen].isEmpty()) {
        LayerNames = namesBefore;
        Ui().ShowMsg(QStringLiteral("Отмена"), QStringLiteral("Ввод отменен"));
        return QString();
    }
    const QString layerName = LayerNames[chosen];
    if (LayerNames.size() > namesBefore.size()) {
        try {
            WriteTextFileLines(LayerNamesPath(), LayerNames);
        } catch (...) {
            LayerNames = namesBefore;
            throw;
        }
        Ui().ShowMsg(QStringLiteral("Новый элемент"),
                     QStringLiteral("Добавлен новый слой ") + quote + layerName + quote);
    }
    auto rule = std::make_unique<RDefLayerForObject>();
    rule->Semantics = objectName;
    rule->LayerName = layerName;
    LayerRules.AddItem(std::move(rule));
    try {
        SaveDefLayerForObjects();
    } catch (...) {
        // The file kept its old rules; so does the list, or the next start would differ.
        LayerRules.GoLastItem();
        LayerRules.DeleteItem();
        throw;
    }
    return layerName;
}

bool TGeoMap::SetPage(const QString& pageName)
{
    return Pages.GoFirstItemWhere([&](const RGPage& p) { return p.Name == pageName; });
}

bool TGeoMap::SetPage2(const QString& pageName)
{
    TTrailGuard guard("GeoMap", "function TGeoMap.SetPage2(PageName:string):boolean;",
                      TrailArg("PageName", pageName));
    if (!HasCurrentPage() || !SetPage(pageName))
        DoCommand(mcNewPage, TCommandParams().Text(pageName));
    return HasCurrentPage() && Pages.Item->Name == pageName;
}

bool TGeoMap::SetLayer(const QString& layerName)
{
    TTrailGuard guard("GeoMap", "function TGeoMap.SetLayer(LayerName:string):boolean;",
                      TrailArg("LayerName", layerName));
    if (!HasCurrentPage())
        return false;
    TGLayers& layers = Pages.Item->Layers;
    if (!layers.GoFirstItemWhere([&](const RGLayer& l) { return l.Name == layerName; }))
        DoCommand(mcNewLayer, TCommandParams().Int(Pages.GetIndex()).Text(layerName));
    return HasCurrentLayer() && Pages.Item->Layers.Item->Name == layerName;
}

bool TGeoMap::SetLayerDirect(const QString& layerName)
{
    TTrailGuard guard("GeoMap", "function TGeoMap.SetLayerDirect(LayerName:string):boolean;",
                      TrailArg("LayerName", layerName));
    if (!HasCurrentPage())
        throw Exception(QStringLiteral("Не удалось создать слой"));
    TGLayers& layers = Pages.Item->Layers;
    if (!layers.GoFirstItemWhere([&](const RGLayer& l) { return l.Name == layerName; })) {
        auto layer = std::make_unique<RGLayer>();
        layer->Name = layerName;
        layers.AddItem(std::move(layer));
    }
    return layers.Item != nullptr && layers.Item->Name == layerName;
}
