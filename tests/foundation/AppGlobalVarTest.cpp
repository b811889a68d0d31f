#include "foundation/AppGlobalVar.h"

#include "platform/ProgramFolder.h"
#include "support/TestRun.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A run started in a temporary program folder, with a clock and names of our choosing.
class AppGlobalVarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Program.isValid());
        ASSERT_TRUE(Home.isValid());
        SavedProgramFolder = GetProgramFolder();
        SetProgramFolder(Program.path());
        SavedXdg = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(Home.path()));
        RunEnvironment.Now = [this] { return Clock; };
        RunEnvironment.UserName = [this] { return User; };
        RunEnvironment.ComputerName = [this] { return Computer; };
    }

    void TearDown() override
    {
        FreeAppGlobalVar();
        RunEnvironment = {};
        NoticeHook = nullptr;
        StartNotice.clear();
        SetProgramFolder(SavedProgramFolder);
        SavedXdg.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", SavedXdg);
    }

    void Run(const char* when)
    {
        Clock = QDateTime::fromString(QString::fromLatin1(when), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        ASSERT_TRUE(Clock.isValid()) << when;
        InitAppGlobalVar();
    }

    // Every folder below root, relative to it, sorted.
    static QStringList Tree(const QString& root)
    {
        QStringList all;
        QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            all << QDir(root).relativeFilePath(it.next());
        all.sort();
        return all;
    }

    QTemporaryDir Program;
    QTemporaryDir Home;
    QByteArray SavedXdg;
    QString SavedProgramFolder;
    QDateTime Clock;
    QString User = QStringLiteral("ivan");
    QString Computer = QStringLiteral("survey-pc");
};

}  // namespace

TEST_F(AppGlobalVarTest, RunsOfOneUserGrowTheTreeOneLevelAtATime)
{
    struct Case {
        const char* when;
        int newUser;
        const char* sessionFolder;   // below the program folder
        int folders;                 // folders below the program folder after the run
    };
    const Case runs[] = {
        // The first run creates every level and marks a new user.
        {"2024-03-05 09:07:02", 1, "Пользователи/survey-pc/ivan/05.03.2024/09.07.02", 5},
        // The same day: only a time folder.
        {"2024-03-05 14:30:00", 0, "Пользователи/survey-pc/ivan/05.03.2024/14.30.00", 6},
        // A new day: a date folder, still not a new user.
        {"2024-03-06 08:00:59", 0, "Пользователи/survey-pc/ivan/06.03.2024/08.00.59", 8},
        // The same second again: the run shares the folder.
        {"2024-03-06 08:00:59", 0, "Пользователи/survey-pc/ivan/06.03.2024/08.00.59", 8},
    };
    const QString program = Program.path() + QLatin1Char('/');
    for (const Case& c : runs) {
        SCOPED_TRACE(c.when);
        Run(c.when);
        EXPECT_EQ(NewUser, c.newUser);
        EXPECT_EQ(ProgramFolder, program);
        EXPECT_EQ(DataRootFolder, program);
        EXPECT_EQ(SessionFolder, program + QString::fromUtf8(c.sessionFolder));
        EXPECT_EQ(UserFolder, program + QStringLiteral("Пользователи/survey-pc/ivan"));
        EXPECT_TRUE(QDir(SessionFolder).exists());
        EXPECT_EQ(Tree(program).size(), c.folders);
        EXPECT_EQ(StartNotice, QString());
    }
    EXPECT_EQ(StartDate, QStringLiteral("06.03.2024"));
    EXPECT_EQ(StartTime, QStringLiteral("08.00.59"));
}

TEST_F(AppGlobalVarTest, AnotherUserOnTheComputerIsNew)
{
    Run("2024-03-05 09:00:00");
    User = QStringLiteral("Пётр");
    Run("2024-03-05 09:10:00");
    EXPECT_EQ(NewUser, 1);
    EXPECT_EQ(UserFolder, Program.path() + QStringLiteral("/Пользователи/survey-pc/Пётр"));
}

TEST_F(AppGlobalVarTest, NamesTheSystemDoesNotGiveBecomeUnknown)
{
    const char* names[] = {"", ".", "..", "a/b"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        User = QString::fromUtf8(name);
        Computer = QString::fromUtf8(name);
        Run("2024-03-05 09:00:00");
        EXPECT_EQ(UserName, QStringLiteral("unknown"));
        EXPECT_EQ(ComputerName, QStringLiteral("unknown"));
        EXPECT_EQ(SessionFolder, Program.path() +
                                     QStringLiteral("/Пользователи/unknown/unknown/05.03.2024/09.00.00"));
        EXPECT_TRUE(QDir(SessionFolder).exists());
    }
}

TEST_F(AppGlobalVarTest, DateAndTimeAreTwoReadingsOfTheClock)
{
    // The clock passes midnight between the two readings: the date comes from the first.
    int readings = 0;
    RunEnvironment.Now = [&readings] {
        return ++readings == 1 ? QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59, 999))
                               : QDateTime(QDate(2024, 1, 1), QTime(0, 0, 0));
    };
    InitAppGlobalVar();
    EXPECT_EQ(readings, 2);
    EXPECT_EQ(StartDate, QStringLiteral("31.12.2023"));
    EXPECT_EQ(StartTime, QStringLiteral("00.00.00"));
}

TEST_F(AppGlobalVarTest, StartsTheTrailAndTheJournalEmptyAndFreesThem)
{
    LogArguments = 0;
    Run("2024-03-05 09:00:00");
    ASSERT_NE(ErrorInfo, nullptr);
    ASSERT_NE(CommandLog, nullptr);
    EXPECT_TRUE(ErrorInfo->isEmpty());
    EXPECT_TRUE(CommandLog->isEmpty());
    EXPECT_EQ(LogArguments, 1);
    FreeAppGlobalVar();
    EXPECT_EQ(ErrorInfo, nullptr);
    EXPECT_EQ(CommandLog, nullptr);
}

TEST_F(AppGlobalVarTest, ExistingLevelsInAnotherLetterCaseAreTaken)
{
    ASSERT_TRUE(QDir(Program.path()).mkpath(QStringLiteral("пользователи/SURVEY-PC/Ivan")));
    Run("2024-03-05 09:00:00");
    EXPECT_EQ(NewUser, 0);
    EXPECT_EQ(UserFolder, Program.path() + QStringLiteral("/пользователи/SURVEY-PC/Ivan"));
    EXPECT_FALSE(QDir(Program.path() + QStringLiteral("/Пользователи")).exists());
}

// Guards the silent loss of the run folder when the program folder takes no writes (an
// installed program): the tree moves below the user's data folder and the user is told
// once. A file in the way of the first level fails the same way even for root.
TEST_F(AppGlobalVarTest, ReadOnlyProgramFolderMovesTheTreeAndTellsOnce)
{
    QFile blocker(Program.path() + QStringLiteral("/Пользователи"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    QStringList shown;
    Run("2024-03-05 09:00:00");
    const QString root = Home.path() + QStringLiteral("/velmora6/");
    EXPECT_EQ(DataRootFolder, root);
    EXPECT_EQ(ProgramFolder, Program.path() + QLatin1Char('/'));
    EXPECT_EQ(SessionFolder, root + QStringLiteral("Пользователи/survey-pc/ivan/05.03.2024/09.00.00"));
    EXPECT_TRUE(QDir(SessionFolder).exists());
    EXPECT_EQ(NewUser, 1);
    EXPECT_TRUE(StartNotice.contains(root)) << StartNotice.toStdString();

    // No window yet at start: the notice waits for the hook.
    NoticeHook = [&shown](const QString& text) { shown << text; };
    EXPECT_TRUE(ShowStartNotice());
    EXPECT_EQ(shown.size(), 1);
    EXPECT_FALSE(ShowStartNotice());

    // The next run finds the moved tree: nothing more to say.
    Run("2024-03-05 10:00:00");
    EXPECT_EQ(DataRootFolder, root);
    EXPECT_EQ(NewUser, 0);
    EXPECT_EQ(StartNotice, QString());
    EXPECT_EQ(shown.size(), 1);
}

TEST_F(AppGlobalVarTest, FolderThatCannotBeCreatedAnywhereIsSaid)
{
    QFile blocker(Program.path() + QStringLiteral("/Пользователи"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QFile homeBlocker(Home.path() + QStringLiteral("/velmora6"));
    ASSERT_TRUE(homeBlocker.open(QIODevice::WriteOnly));
    homeBlocker.close();

    QStringList shown;
    NoticeHook = [&shown](const QString& text) { shown << text; };
    Run("2024-03-05 09:00:00");
    // The paths stay as computed below the program folder; the window hears at once.
    EXPECT_EQ(DataRootFolder, Program.path() + QLatin1Char('/'));
    EXPECT_EQ(SessionFolder, Program.path() +
                                 QStringLiteral("/Пользователи/survey-pc/ivan/05.03.2024/09.00.00"));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(Program.path() + QStringLiteral("/Пользователи")));
    EXPECT_EQ(StartNotice, QString());
}

TEST(TestRun, RunsInItsOwnFolderAndPutsTheProcessBack)
{
    const QString before = GetProgramFolder();
    QString folder;
    {
        TTestRun run;
        folder = run.Folder();
        EXPECT_EQ(ProgramFolder, folder);
        EXPECT_EQ(SessionFolder, folder + QStringLiteral("Пользователи/test-pc/tester/05.03.2024/09.30.00"));
        EXPECT_TRUE(QDir(SessionFolder).exists());
        EXPECT_NE(ErrorInfo, nullptr);
    }
    EXPECT_EQ(GetProgramFolder(), before);
    EXPECT_EQ(ErrorInfo, nullptr);
    EXPECT_FALSE(QDir(folder).exists());
}
