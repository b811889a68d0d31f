// The services of a plan that links to no window: questions go to the shared dialogs
// (whose hooks answer cancel when no window is installed), nothing is shown.
#include "engine/EngineServices.h"

#include "controls/core/ControlUtils.h"
#include "foundation/ServDialogs.h"

#include <QImage>

int TEngineServices::ShowMsg(const QString& caption, const QString& text)
{
    return ShowMsgDialog(caption, text);
}
int TEngineServices::ShowQ(const QString& caption, const QString& text)
{
    return ShowQDialog(caption, text);
}
int TEngineServices::InpStr(QString& value, const QString& caption, const QString& text)
{
    return InpStrDialog(value, caption, text);
}
int TEngineServices::InpScale(int& denominator, const QString& caption, const QString& text)
{
    return InpScaleDialog(denominator, caption, text);
}
int TEngineServices::SelStr(QStringList& list, int& index, int& added, const QString& caption,
                            const QString& text)
{
    return SelStrDialog(list, index, added, caption, text);
}
int TEngineServices::DublicateItem(QString& name, const QString& caption, const QString& text)
{
    return DublicateItemDlg(name, caption, text);
}
int TEngineServices::QDelObjects(const QStringList& lines) { return QDelObjectsDlg(lines); }
bool TEngineServices::OpenFile(const QString&, QString&) { return false; }

void TEngineServices::SetPanelText(TEnginePanel, const QString&) {}
void TEngineServices::SetScaleBox(const QString&) {}
void TEngineServices::SetupProgress(TEngineProgressBar, const TEngineProgressSetup&) {}
void TEngineServices::SetProgressPosition(TEngineProgressBar, int) {}
void TEngineServices::BeginWaitCursor() { ::BeginWaitCursor(); }
void TEngineServices::EndWaitCursor() { ::EndWaitCursor(); }
QSize TEngineServices::SurfaceSize() const { return {}; }
void TEngineServices::PaintOnSurface(const QImage&, QPoint) {}
void TEngineServices::PaintOnAltCanvas(const QImage&, QPoint) {}
void TEngineServices::PauseOverlays() {}
void TEngineServices::ResumeOverlays() {}
void TEngineServices::SetUndoEnabled(bool) {}
void TEngineServices::SetRedoEnabled(bool) {}

TEngineServices& TEngineServices::Default()
{
    static TEngineServices services;
    return services;
}

QSize TEngineServices::PrinterPageSize() { return {}; }
void TEngineServices::PrintPicture(const QImage&) {}
