// File and folder routines of the control library.
#include "controls/core/FileUtil.h"

#include <QFileInfo>

std::int64_t GetFileSizeByName(const QString& fileName)
{
    if (fileName.isEmpty())
        return -1;
    const QFileInfo info(fileName);
    if (!info.exists() || info.isDir())
        return -1;
    return info.size();
}
