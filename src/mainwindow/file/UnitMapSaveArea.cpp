// The raster export of a rectangle of the plan: the button starts the choice of the
// rectangle on the surface, and its release asks for the file and writes the image.
#include "mainwindow/UnitMap.h"

#include "engine/GeoMap.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/GsCatcher.h"
#include "mainwindow/MapHooks.h"

#include <QFileInfo>
#include <algorithm>

namespace {

bool AllDigits(const QString& s)
{
    return !s.isEmpty() &&
           std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

}  // namespace

void TFormMap::btSaveRegionAsClick()
{
    SetMouseMode(mmSaveArea, 0, true);
}

void TFormMap::SaveArea()
{
    try {
        TTrailGuard guard("UnitMap", "procedure TFormMap.SaveArea;");
        QString fileName;
        if (SaveFileNameDialog(QStringLiteral("Сохранить план"), PlanSaveDialogFilter(), fileName) &&
            !fileName.isEmpty()) {
            const QString ext = QFileInfo(fileName).suffix().toUpper();
            // A name without an extension is a plan file, as Save As takes it.
            if (ext.isEmpty() || AllDigits(ext)) {
                MessageDlg(QStringLiteral("Сохранение участка в формате велмора не реализовано"),
                           mtInformation);
            } else if (ext == QLatin1String("DXF")) {
                MessageDlg(QStringLiteral("Сохранение участка в формате автокад не реализовано"),
                           mtInformation);
            } else if (ext == QLatin1String("BMP") || ext == QLatin1String("JPG") ||
                       ext == QLatin1String("JPEG") || ext == QLatin1String("TIF") ||
                       ext == QLatin1String("TIFF")) {
                const TGeoPoint& a = Points.Down.Plan;
                const TGeoPoint& b = Points.Up.Plan;
                MainMap->SaveToRaster(fileName, MainMap->ShowPlansBorders == 0, std::min(a.X, b.X),
                                      std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y));
            }
        }
    } catch (...) {
        // Reported with the trail; the interrupted mode returns all the same.
        HandleApplicationException(this, std::current_exception());
    }
    RestoreMouseMode();
}
