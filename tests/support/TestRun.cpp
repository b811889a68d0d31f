#include "support/TestRun.h"

#include "foundation/AppGlobalVar.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

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
