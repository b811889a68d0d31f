#include "platform/ProgramFolder.h"

#include <QFile>
#include <QFileInfo>

#include <pwd.h>
#include <unistd.h>

namespace {

QString& ProgramFolderOverride()
{
    static QString folder;
    return folder;
}

QString WithSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString HomeFolder()
{
    const QByteArray home = qgetenv("HOME");
    if (!home.isEmpty())
        return QFile::decodeName(home);
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_dir && *pw->pw_dir)
        return QFile::decodeName(pw->pw_dir);
    return QStringLiteral("/tmp");
}

}  // namespace

QString GetProgramFolder()
{
    if (!ProgramFolderOverride().isEmpty())
        return ProgramFolderOverride();
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    if (exe.isEmpty())
        return QStringLiteral("./");
    return WithSlash(QFileInfo(exe).path());
}

void SetProgramFolder(const QString& folder)
{
    ProgramFolderOverride() = folder.isEmpty() ? QString() : WithSlash(folder);
}

QString FallbackDataRoot()
{
    const QString xdg = QFile::decodeName(qgetenv("XDG_DATA_HOME"));
    const QString base = xdg.startsWith(QLatin1Char('/'))
                             ? xdg
                             : WithSlash(HomeFolder()) + QStringLiteral(".local/share");
    return WithSlash(base) + QStringLiteral("velmora6/");
}
