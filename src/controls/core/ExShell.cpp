// Starting programs and opening documents.
#include "controls/core/ExShell.h"

#include "controls/core/ControlUtils.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace {

// A file the system can start: executable and a program or a script by its first
// bytes. Files copied from other systems or lying on their drives often carry the
// executable bit whatever they hold, and a document must still open as a document.
bool IsProgram(const QFileInfo& info)
{
    if (!info.isFile() || !info.isExecutable())
        return false;
    QFile file(info.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(4);
    return head == QByteArray("\x7F" "ELF") || head.startsWith("#!");
}

}  // namespace

bool LaunchFile(const QString& file, const QString& params, const QString& folder, int)
{
    const QFileInfo info(file);
    if (IsProgram(info)) {
        // An argument list: no name inside the parameters is ever re-split by a shell.
        return QProcess::startDetached(info.absoluteFilePath(), CommandLineWords(params),
                                       folder);
    }
    const QUrl url = info.exists() || !file.contains(QLatin1String("://"))
                         ? QUrl::fromLocalFile(info.absoluteFilePath())
                         : QUrl(file);
    return QDesktopServices::openUrl(url);
}
