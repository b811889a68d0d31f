#include "BenchMap.h"

#include "engine/commands/MapCommand.h"

#include <QRegularExpression>

namespace bench {

std::unique_ptr<TGeoMap> NewBenchMap()
{
    auto map = std::make_unique<TGeoMap>();
    map->UndoOn = 0;
    // The open filter as the main window resets it before an open: everything loaded,
    // no semantics replaced.
    map->OpenFilter = TOpenFilter();
    map->OpenFilter.LoadRastrs = 1;
    map->OpenFilter.LoadTexts = 1;
    map->OpenFilter.LoadPoints = 1;
    map->OpenFilter.LoadLines = 1;
    map->OpenFilter.LoadPolygons = 1;
    return map;
}

QString NativeFileParams(const QString& fileName)
{
    return TCommandParams().Text(fileName).Text(QStringLiteral("New"));
}

void TPanelTimings::SetPanelText(TEnginePanel panel, const QString& text)
{
    if (panel != TEnginePanel::Timings)
        return;
    static const QRegularExpression parts(
        QStringLiteral("\\[([0-9.,]+)\\+([0-9.,]+)\\+([0-9.,]+)\\+([0-9.,]+)\\+([0-9.,]+)\\]"));
    const QRegularExpressionMatch m = parts.match(text);
    if (!m.hasMatch())
        return;
    std::array<double, 5> seconds{};
    for (int i = 0; i < 5; ++i)
        seconds[std::size_t(i)] = m.captured(i + 1).replace(u',', u'.').toDouble();
    Drawings.push_back(seconds);
}

void OpenPlan(TGeoMap& map, const QString& fileName) { map.DoCommand(mcOpenMap, NativeFileParams(fileName)); }

} // namespace bench
