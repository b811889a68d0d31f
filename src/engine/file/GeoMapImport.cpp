// The pieces both imports are built of: the file's lines with progress and line
// locator, the layer of each new object, the rasters' pictures.
#include "engine/file/GeoMapImport.h"

#include "engine/EngineServices.h"
#include "engine/commands/RasterFilter.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoDataObjectsPicture.h"
#include "platform/FileLookup.h"

#include <QFile>

#include <algorithm>
#include <climits>

TReadingProgress::TReadingProgress(TEngineServices& ui, qint64 fileSize) : Ui(ui)
{
    TEngineProgressSetup setup;
    setup.Maximum = static_cast<int>(std::clamp<qint64>(fileSize, 0, INT_MAX));
    Int64 step = Round(static_cast<Extended>(setup.Maximum) / 50);
    step = Round(static_cast<Extended>(step) / 10) * 10;
    setup.Step = static_cast<int>(std::max<Int64>(step, 1));
    setup.Height = 8;
    Maximum = setup.Maximum;
    Step = setup.Step;
    Ui.SetupProgress(TEngineProgressBar::Reading, setup);
}

TReadingProgress::~TReadingProgress() { Ui.SetProgressPosition(TEngineProgressBar::Reading, 0); }

void TReadingProgress::AddLine(qsizetype length)
{
    Total += length;
    if (Total % Step == 0)
        Ui.SetProgressPosition(TEngineProgressBar::Reading,
                               static_cast<int>(std::min<qint64>(Total, Maximum)));
}

void ReadImportLines(TGeoMap& map, const QString& fileName,
                     const std::function<void(const QByteArray& bytes, int lineNo)>& line)
{
    const QString path = FindExistingPath(fileName);
    QFile file(path.isEmpty() ? fileName : path);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Не удается открыть файл \"%1\": %2")
                            .arg(fileName, file.errorString()));
    // Older plans and exchange files are small beside what they become in memory: read
    // whole, they leave no line end to be carried from one block to the next.
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Exception(QStringLiteral("Ошибка чтения файла \"%1\": %2")
                            .arg(fileName, file.errorString()));
    file.close();

    TReadingProgress progress(map.Ui(), data.size());
    const char* bytes = data.constData();
    const qsizetype n = data.size();
    qsizetype start = 0;
    int lineNo = 0;
    QByteArray current;
    while (start < n) {
        qsizetype end = start;
        while (end < n && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        ++lineNo;
        current = QByteArray::fromRawData(bytes + start, end - start);
        progress.AddLine(end - start);
        try {
            line(current, lineNo);
        } catch (const Exception& e) {
            throw Exception(e.Message + QLatin1Char('\r') +
                            QStringLiteral("сбой в строке %1 файла \"%2\"").arg(lineNo).arg(fileName));
        }
        if (end < n)
            end += (bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n') ? 2 : 1;
        start = end;
    }
}

TImportLayers::TImportLayers(TGeoMap& map, bool autoDetect, const QString& layerName,
                             const QString& ownLayer)
    : Map(map), AutoDetect(autoDetect), LayerName(layerName), OwnLayer(ownLayer)
{
}

RGLayer& TImportLayers::Select(int lm, const QString& semantics)
{
    QString name;
    if (!AutoDetect) {
        name = LayerName;
    } else if (lm == 3) {
        name = Map.CaptionLayerName;
    } else if (!Cancelled.contains(semantics)) {
        name = Map.DetectLayer(lm, semantics);
        // A cancelled question would otherwise come again for every object of this
        // semantics, thousands of times in a large file.
        if (name.isEmpty())
            Cancelled.insert(semantics);
    }
    if (name.isEmpty())
        name = OwnLayer;
    Map.SetLayerDirect(name);
    return *Map.Pages.Item->Layers.Item;
}

void LoadImportedRastrs(const std::vector<RGRastr*>& rastrs)
{
    for (RGRastr* rastr : rastrs) {
        if (!FileExistsIgnoringCase(rastr->FileName))
            continue;
        const qsizetype trail = ErrorInfo ? ErrorInfo->size() : 0;
        try {
            rastr->Picture->Image = ReadRastrPicture(rastr->FileName);
            rastr->Loaded = 1;
        } catch (const Exception&) {
            rastr->Picture->Clear();
            rastr->Loaded = 0;
            if (ErrorInfo && ErrorInfo->size() > trail)
                ErrorInfo->erase(ErrorInfo->begin() + trail, ErrorInfo->end());
        }
    }
}

Extended PlanMillimetresPerMetre(const TGeoMap& map)
{
    if (map.MapProp.Scale < 1)
        throw Exception(QStringLiteral("Масштаб плана не задан: сдвиги подписей не переводятся "
                                       "в миллиметры плана"));
    return 1000.0L / map.MapProp.Scale;
}
