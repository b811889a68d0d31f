// The services of a plan that links to no window: questions answer cancel, nothing is
// shown.
#include "engine/EngineServices.h"

#include <QImage>

int TEngineServices::ShowMsg(const QString&, const QString&) { return 2; }
int TEngineServices::ShowQ(const QString&, const QString&) { return 2; }
int TEngineServices::InpStr(QString&, const QString&, const QString&) { return 2; }
int TEngineServices::InpScale(int&, const QString&, const QString&) { return 2; }
int TEngineServices::SelStr(QStringList&, int&, int&, const QString&, const QString&)
{
    return 2;
}
int TEngineServices::DublicateItem(QString&, const QString&, const QString&) { return 2; }
int TEngineServices::QDelObjects(const QStringList&) { return 2; }
bool TEngineServices::OpenFile(const QString&, QString&) { return false; }

void TEngineServices::SetPanelText(TEnginePanel, const QString&) {}
void TEngineServices::SetScaleBox(const QString&) {}
void TEngineServices::SetupProgress(TEngineProgressBar, const TEngineProgressSetup&) {}
void TEngineServices::SetProgressPosition(TEngineProgressBar, int) {}
void TEngineServices::BeginWaitCursor() {}
void TEngineServices::EndWaitCursor() {}
QSize TEngineServices::SurfaceSize() const { return {}; }
void TEngineServices::PaintOnSurface(const QImage&, QPoint) {}
void TEngineServices::PauseOverlays() {}
void TEngineServices::ResumeOverlays() {}
void TEngineServices::SetUndoEnabled(bool) {}
void TEngineServices::SetRedoEnabled(bool) {}

TEngineServices& TEngineServices::Default()
{
    static TEngineServices services;
    return services;
}
