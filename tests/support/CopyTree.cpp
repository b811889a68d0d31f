#include "CopyTree.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

bool CopyTree(const QString& from, const QString& to)
{
    const QFileInfo info(from);
    if (info.isFile())
        return QDir().mkpath(QFileInfo(to).path()) && QFile::copy(from, to);
    if (!info.isDir() || !QDir().mkpath(to))
        return false;
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        if (!CopyTree(it.filePath(), to + QLatin1Char('/') + it.fileName()))
            return false;
    }
    return true;
}
