// Starting programs and opening documents.
#include "controls/core/ExShell.h"

#include "controls/core/ControlUtils.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

bool LaunchFile(const QString& file, const QString& params, const QString& folder, int)
{
    const QFileInfo info(file);
    if (info.isFile() && info.isExecutable()) {
        // An argument list: no name inside the parameters is ever re-split by a shell.
        return QProcess::startDetached(info.absoluteFilePath(), CommandLineWords(params),
                                       folder);
    }
    const QUrl url = info.exists() || !file.contains(QLatin1String("://"))
                         ? QUrl::fromLocalFile(info.absoluteFilePath())
                         : QUrl(file);
    return QDesktopServices::openUrl(url);
}
