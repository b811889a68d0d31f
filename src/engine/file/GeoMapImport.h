// What the imports of the older plan format and of the exchange format share: the file
// walked line by line with the reading progress bar and the line locator of every
// error, the layer each new object goes to, and the rasters' pictures loaded once the
// whole file has been read.
#pragma once

#include "engine/GeoMap.h"

#include <QByteArray>
#include <QSet>
#include <QString>

#include <functional>
#include <vector>

class TEngineServices;

// The reading bar as the native reader drives it: maximum the file's size, step a
// fiftieth of it in whole tens (at least 1), the position moved when the running total
// of line lengths is a multiple of the step, 0 again when the object goes.
class TReadingProgress {
public:
    TReadingProgress(TEngineServices& ui, qint64 fileSize);
    ~TReadingProgress();
    TReadingProgress(const TReadingProgress&) = delete;
    TReadingProgress& operator=(const TReadingProgress&) = delete;

    void AddLine(qsizetype length);

private:
    TEngineServices& Ui;
    int Maximum = 0;
    int Step = 1;
    qint64 Total = 0;
};

// Reads the file (its name looked up without regard to letter case) and calls line for
// each line with its bytes and its number from 1. CR LF, a lone LF and a lone CR each
// end a line; an empty line counts; a last line without an end is kept. An exception
// out of line is raised again with "сбой в строке N файла "name"" after its message.
// Raises for a file that cannot be opened or read.
void ReadImportLines(TGeoMap& map, const QString& fileName,
                     const std::function<void(const QByteArray& bytes, int lineNo)>& line);

// The layer of each new object of an import, made current in the plan's current sheet
// by SetLayerDirect.
class TImportLayers {
public:
    // ownLayer: where objects go whose layer question was cancelled, and where every
    // object would go whose layer has no name.
    TImportLayers(TGeoMap& map, bool autoDetect, const QString& layerName, const QString& ownLayer);

    // The layer of a point (lm 0), line (1) or polygon (2) of this semantics; of a text
    // for lm 3. Leaves that layer current and returns it.
    RGLayer& Select(int lm, const QString& semantics);

private:
    TGeoMap& Map;
    const bool AutoDetect;
    const QString LayerName;
    const QString OwnLayer;
    // Semantics whose question the user cancelled in this import: not asked again.
    QSet<QString> Cancelled;
};

// Loads the picture of every raster listed whose file exists; a picture that cannot be
// read leaves its raster unloaded, as a missing file does.
void LoadImportedRastrs(const std::vector<RGRastr*>& rastrs);

// The plan's scale as a divisor of terrain metres into plan millimetres; refused when
// the plan has none yet.
Extended PlanMillimetresPerMetre(const TGeoMap& map);
