#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

TEST(ProgramFolder, IsTheExecutablesFolderUnlessSet)
{
    const QString own = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    const QString before = GetProgramFolder();   // the test programs run in a folder of their own
    SetProgramFolder(QString());
    EXPECT_EQ(GetProgramFolder(), own);
    SetProgramFolder(QStringLiteral("/tmp/plans"));
    EXPECT_EQ(GetProgramFolder(), QStringLiteral("/tmp/plans/"));
    SetProgramFolder(QStringLiteral("/tmp/plans/"));
    EXPECT_EQ(GetProgramFolder(), QStringLiteral("/tmp/plans/"));
    SetProgramFolder(QString());
    EXPECT_EQ(GetProgramFolder(), own);
    SetProgramFolder(before);
}

TEST(ProgramFolder, FallbackRootFollowsXdgDataHome)
{
    const QByteArray savedXdg = qgetenv("XDG_DATA_HOME");
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", "/home/ivan");
    struct Case { const char* xdg; const char* root; };
    const Case cases[] = {
        {"/data/ivan", "/data/ivan/velmora6/"},
        {"/data/ivan/", "/data/ivan/velmora6/"},
        {"", "/home/ivan/.local/share/velmora6/"},
        {"relative/share", "/home/ivan/.local/share/velmora6/"},   // only absolute paths count
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xdg);
        qputenv("XDG_DATA_HOME", c.xdg);
        EXPECT_EQ(FallbackDataRoot(), QString::fromUtf8(c.root));
    }
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(FallbackDataRoot(), QStringLiteral("/home/ivan/.local/share/velmora6/"));
    savedXdg.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", savedXdg);
    savedHome.isNull() ? qunsetenv("HOME") : qputenv("HOME", savedHome);
}
