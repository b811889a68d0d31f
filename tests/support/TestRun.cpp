#include "support/TestRun.h"

#include "foundation/AppGlobalVar.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

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

TTestRun::TTestRun(const QStringList& parts, const QDateTime& now)
    : SavedProgramFolder(GetProgramFolder())
{
    EXPECT_TRUE(Dir.isValid());
    Program = Dir.path() + QLatin1Char('/');
    const QString data = QStringLiteral(VELMORA_SOURCE_DATA);
    if (parts.isEmpty()) {
        if (QFileInfo(data).isDir()) {
            EXPECT_TRUE(CopyTree(data, Dir.path()));
        }
    } else {
        for (const QString& part : parts) {
            EXPECT_TRUE(CopyTree(data + QLatin1Char('/') + part, Program + part))
                << "cannot copy data/" << part.toStdString();
        }
    }
    SetProgramFolder(Program);
    RunEnvironment.Now = [now] { return now; };
    RunEnvironment.UserName = [] { return QString::fromLatin1(User); };
    RunEnvironment.ComputerName = [] { return QString::fromLatin1(Computer); };
    InitAppGlobalVar();
}

TTestRun::~TTestRun()
{
    FreeAppGlobalVar();
    RunEnvironment = {};
    StartNotice.clear();
    SetProgramFolder(SavedProgramFolder);
}
