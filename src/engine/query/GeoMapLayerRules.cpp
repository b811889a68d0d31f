// The layer rules of the reference folder "Слои": pairs of a semantics pattern and a
// layer name, and the one layer that new texts go to.
#include "engine/GeoMap.h"

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
    const QStringList lines = ReadTextFileLines(rulesPath);

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
    const QStringList caption = ReadTextFileLines(captionPath);
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
