// A save and an undo snapshot are renamed into place and then their folder is synced.
// The test program stands in for the C library's fsync, so it sees which folders are
// synced and what they hold at that moment.
#include "PlanFileTest.h"

#include <QFileInfo>

#include <dlfcn.h>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::mutex SyncedLock;
QStringList SyncedFolders;   // each with the names it held when it was synced

}  // namespace

extern "C" int fsync(int fd)
{
    using TFsync = int (*)(int);
    static const auto real = reinterpret_cast<TFsync>(dlsym(RTLD_NEXT, "fsync"));
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        char target[4096];
        const ssize_t n = readlink(QByteArray("/proc/self/fd/" + QByteArray::number(fd)).constData(),
                                   target, sizeof target - 1);
        if (n > 0) {
            const QString folder = QString::fromLocal8Bit(target, n);
            const std::lock_guard<std::mutex> lock(SyncedLock);
            SyncedFolders.append(folder + QLatin1Char(':') +
                                 QDir(folder).entryList(QDir::Files, QDir::Name).join(QLatin1Char(',')));
        }
    }
    return real(fd);
}

namespace {

class FolderSync : public PlanFileFixture {};

// Guards against a save or snapshot whose rename a power cut right after could lose:
// the folder is synced once the file stands under its name.
TEST_F(FolderSync, ASaveAndASnapshotSyncTheirFolderAfterTheRename)
{
    M().StrToComm(QStringLiteral("mcOpenMap=<full.500><New><True><>"));
    SyncedFolders.clear();
    M().StrToComm(QStringLiteral("mcSaveMap=<saved.500><New>"));
    const QString plans = QFileInfo(PlanPath(QStringLiteral("saved.500"))).canonicalPath();
    ASSERT_EQ(SyncedFolders.size(), 1);
    const QStringList held = SyncedFolders[0].section(QLatin1Char(':'), -1).split(QLatin1Char(','));
    EXPECT_TRUE(SyncedFolders[0].startsWith(plans + QLatin1Char(':'))) << SyncedFolders[0].toStdString();
    EXPECT_TRUE(held.contains(QStringLiteral("saved.500"))) << SyncedFolders[0].toStdString();

    SyncedFolders.clear();
    M().UndoOn = 1;
    M().StrToComm(QStringLiteral("mcSetMapInf=<шаг>"));
    ASSERT_EQ(SyncedFolders.size(), 1);
    EXPECT_TRUE(SyncedFolders[0].startsWith(QFileInfo(SessionFolder).canonicalFilePath()))
        << SyncedFolders[0].toStdString();
    EXPECT_TRUE(SyncedFolders[0].endsWith(QStringLiteral(" без имени:1.500"))) << SyncedFolders[0].toStdString();
}

}  // namespace
