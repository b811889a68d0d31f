// File and folder routines of the control library.
#include "controls/core/FileUtil.h"

#include "controls/core/ExProgress.h"
#include "foundation/ErrorTrail.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>

#include <array>

namespace {

constexpr qint64 CopyBlock = 8192;

bool SameFile(const QString& a, const QString& b)
{
    struct stat sa {};
    struct stat sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 ||
        ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool HasOwnerWrite(const QString& path)
{
    return QFileInfo(path).permissions().testFlag(QFileDevice::WriteOwner);
}

void CopyModificationTime(const QString& source, const QString& destination)
{
    struct stat st {};
    if (::stat(QFile::encodeName(source).constData(), &st) != 0)
        return;
    std::array<timespec, 2> times{};
    times[0].tv_nsec = UTIME_OMIT;
    times[1] = st.st_mtim;
    ::utimensat(AT_FDCWD, QFile::encodeName(destination).constData(), times.data(), 0);
}

// Puts the progress position back to 0 however the copy ends.
struct TProgressReset {
    QObject* Progress;
    ~TProgressReset()
    {
        if (Progress)
            SetProgressPosition(Progress, 0);
    }
};

bool ClearFolder(const QString& folder, bool removeFolder)
{
    // Entries of a folder we may not list or write to could not be deleted; the
    // folder is being emptied anyway, so it is opened up for its owner first.
    constexpr QFileDevice::Permissions open =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    const QFileDevice::Permissions permissions = QFile::permissions(folder);
    if ((permissions & open) != open)
        QFile::setPermissions(folder, permissions | open);
    // A folder that still cannot be listed would look empty: that is no success.
    bool result = QDir(folder).isReadable();
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                       QDir::NoDotAndDotDot,
                                   QDir::NoSort);
    for (const QFileInfo& entry : entries) {
        const QString path = entry.filePath();
        if (entry.isSymLink()) {
            result = QFile::remove(path) && result;  // the link, never what it points to
        } else if (entry.isDir()) {
            result = ClearFolder(path, removeFolder) && result;
        } else {
            result = QFile::remove(path) && result;
        }
    }
    if (removeFolder && result)
        result = QDir().rmdir(folder);
    return result;
}

}  // namespace

std::int64_t GetFileSizeByName(const QString& fileName)
{
    if (fileName.isEmpty())
        return -1;
    const QFileInfo info(fileName);
    if (!info.exists() || info.isDir())
        return -1;
    return info.size();
}

QString AddTrailingBackslash(const QString& path)
{
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('/');
}

QString DropTrailingBackslash(const QString& path)
{
    if (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        return path.chopped(1);
    return path;
}

bool FolderExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

void CreateFolderPath(const QString& path)
{
    const QString folder = DropTrailingBackslash(path);
    if (folder.isEmpty() || FolderExists(folder))
        return;
    QDir().mkpath(folder);
}

bool IsValidFileName(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name)
        if (QStringView(u"<>\"[]|").contains(c))
            return false;
    return true;
}

void CopyFileWithProgress(const QString& source, const QString& destination, QObject* progress)
{
    TTrailGuard guard("FileUtil", "procedure CopyFileWithProgress(const Source, Destination: string)",
                      TrailArg("Source", source), TrailArg("Destination", destination));
    QString target = destination;
    if (FolderExists(target))
        target = AddTrailingBackslash(target) + QFileInfo(source).fileName();
    const std::int64_t size = GetFileSizeByName(source);

    QFile in(source);
    if (QFileInfo(source).isDir() || !in.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Cannot open file %1").arg(source));
    // On this system a copy onto itself would empty the file before reading it.
    if (SameFile(source, target))
        throw Exception(QStringLiteral("Cannot copy file %1 onto itself").arg(source));

    TProgressReset reset{progress};
    if (progress) {
        SetProgressMax(progress, size);
        SetProgressMin(progress, 0);
        SetProgressPosition(progress, 0);
    }
    CreateFolderPath(QFileInfo(target).path());

    const QFileInfo targetInfo(target);
    if (targetInfo.isDir() || (targetInfo.exists() && !HasOwnerWrite(target)))
        throw Exception(QStringLiteral("Cannot create file %1").arg(target));
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        throw Exception(QStringLiteral("Cannot create file %1").arg(target));

    std::array<char, CopyBlock> buffer{};
    std::int64_t copied = 0;
    for (;;) {
        const qint64 n = in.read(buffer.data(), CopyBlock);
        if (n < 0)
            throw Exception(QStringLiteral("Stream read error"));
        if (out.write(buffer.data(), n) != n)
            throw Exception(QStringLiteral("Stream write error"));
        copied += n;
        if (progress)
            SetProgressPosition(progress, copied);
        if (n < CopyBlock)
            break;
    }
    in.close();
    if (!out.commit())
        throw Exception(QStringLiteral("Stream write error"));
    CopyModificationTime(source, target);
}

void MoveFileSafe(const QString& source, const QString& destination)
{
    TTrailGuard guard("FileUtil", "procedure MoveFileSafe(const Source, Destination: string)",
                      TrailArg("Source", source), TrailArg("Destination", destination));
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.exists() && !sourceInfo.isSymLink())
        return;
    const QString target = QDir::current().absoluteFilePath(destination);
    // A rename replaces an existing file in one step; a folder as the destination
    // receives the file through the copy below.
    if (!QFileInfo(target).isDir() &&
        ::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) == 0)
        return;
    if (!HasOwnerWrite(source))
        QFile::setPermissions(source, QFile::permissions(source) | QFileDevice::WriteOwner);
    CopyFileWithProgress(source, target, nullptr);
    QFile::remove(source);
}

bool ClearDirectory(const QString& folder, bool removeFolder)
{
    if (folder.isEmpty() || QDir::cleanPath(folder) == QLatin1String("/"))
        return false;
    const QFileInfo info(folder);
    if (info.isSymLink() || !info.isDir())
        return false;
    return ClearFolder(QDir::cleanPath(folder), removeFolder);
}
