#include "platform/Identity.h"

#include <QFile>

#include <climits>
#include <pwd.h>
#include <unistd.h>

QString SystemUserName()
{
    const passwd* pw = ::getpwuid(::geteuid());
    if (!pw || !pw->pw_name)
        return {};
    return QFile::decodeName(pw->pw_name);
}

QString SystemComputerName()
{
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return QFile::decodeName(name);
}
