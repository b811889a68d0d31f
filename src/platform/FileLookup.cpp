#include "platform/FileLookup.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <dirent.h>
#include <sys/stat.h>

namespace {

// True when an entry of any kind is there (a dangling link counts: it is an entry).
bool EntryExists(const QString& path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

// The entry of folder whose name equals name ignoring case; empty when there is none.
QString FindEntryIgnoringCase(const QString& folder, const QString& name)
{
    // A plain listing: only names are compared, nothing is stat'ed.
    DIR* dir = ::opendir(QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder).constData());
    if (!dir)
        return {};
    QString found;
    while (const dirent* e = ::readdir(dir)) {
        const QString entry = QFile::decodeName(e->d_name);
        if (entry == QLatin1String(".") || entry == QLatin1String("..") ||
            entry.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        // Listings come in no fixed order: take the smallest so that two entries
        // differing only in case always resolve the same way.
        if (found.isEmpty() || entry < found)
            found = entry;
    }
    ::closedir(dir);
    return found;
}

}  // namespace

QString ResolvePath(const QString& path)
{
    if (path.isEmpty())
        return path;
    QString normal = path;
    normal.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const bool absolute = normal.startsWith(QLatin1Char('/'));
    const bool trailing = normal.endsWith(QLatin1Char('/')) && normal.size() > 1;
    const QStringList parts = normal.split(QLatin1Char('/'), Qt::SkipEmptyParts);

    QString result = absolute ? QStringLiteral("/") : QString();
    bool onDisk = true;   // everything resolved so far exists
    for (const QString& part : parts) {
        const QString folder = result;
        QString candidate = folder + part;
        if (onDisk && !EntryExists(candidate)) {
            const QString match = (part == QLatin1String(".") || part == QLatin1String(".."))
                                      ? QString()
                                      : FindEntryIgnoringCase(folder, part);
            if (match.isEmpty())
                onDisk = false;
            else
                candidate = folder + match;
        }
        result = candidate + QLatin1Char('/');
    }
    if (!parts.isEmpty() && !trailing)
        result.chop(1);
    return result;
}

QString FindExistingPath(const QString& path)
{
    const QString resolved = ResolvePath(path);
    return !resolved.isEmpty() && EntryExists(resolved) ? resolved : QString();
}

bool FileExistsIgnoringCase(const QString& path)
{
    const QString found = FindExistingPath(path);
    return !found.isEmpty() && QFileInfo(found).isFile();
}

bool FolderExistsIgnoringCase(const QString& path)
{
    const QString found = FindExistingPath(path);
    return !found.isEmpty() && QFileInfo(found).isDir();
}
