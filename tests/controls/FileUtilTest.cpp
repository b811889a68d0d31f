// File and folder routines: sizes, copying, moving, clearing and names.
#include "controls/core/ExProgress.h"
#include "controls/core/FileUtil.h"

#include "foundation/ErrorTrail.h"
#include "support/TestHelpers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

QByteArray Bytes(qsizetype size)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + 3);
    return bytes;
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

// A gauge-like progress control with the other property names, recording every write.
class TFakeGauge : public QObject {
    Q_OBJECT
    Q_PROPERTY(int MaxValue READ Zero WRITE SetMax)
    Q_PROPERTY(int MinValue READ Zero WRITE SetMin)
    Q_PROPERTY(int Progress READ Zero WRITE SetProgress)
public:
    int Zero() const { return 0; }
    void SetMax(int v) { Max = v; }
    void SetMin(int v) { Min = v; }
    void SetProgress(int v) { Positions.push_back(v); }
    int Max = -1;
    int Min = -1;
    std::vector<int> Positions;
};

TEST(FileUtil, FileSizeOfFilesFoldersAndMissingNames)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteBytes(dir.filePath("a.bin"), Bytes(8193));
    WriteBytes(dir.filePath("empty"), QByteArray());
    EXPECT_EQ(GetFileSizeByName(dir.filePath("a.bin")), 8193);
    EXPECT_EQ(GetFileSizeByName(dir.filePath("empty")), 0);
    EXPECT_EQ(GetFileSizeByName(dir.path()), -1);
    EXPECT_EQ(GetFileSizeByName(dir.filePath("missing")), -1);
    EXPECT_EQ(GetFileSizeByName(QString()), -1);
}

TEST(FileUtil, CopyReadsBlocksUntilTheFirstShortOne)
{
    static bool registered = false;
    if (!registered) {
        RegisterProgressControl("TFakeGauge", "MaxValue", "MinValue", "Progress");
        registered = true;
    }
    struct Case {
        qsizetype size;
        std::vector<int> positions;  // the start, one per block read, the final reset
    };
    const Case cases[] = {
        {0, {0, 0, 0}},
        {8192, {0, 8192, 8192, 0}},  // a full block, then an empty one
        {8193, {0, 8192, 8193, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        QTemporaryDir dir;
        const QString src = dir.filePath("src.bin");
        const QString dst = dir.filePath("sub/deeper/dst.bin");
        WriteBytes(src, Bytes(c.size));
        const QDateTime stamp = QDateTime::fromSecsSinceEpoch(1'000'000'000);
        {
            QFile f(src);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            ASSERT_TRUE(f.setFileTime(stamp, QFileDevice::FileModificationTime));
        }
        TFakeGauge gauge;
        CopyFileWithProgress(src, dst, &gauge);
        EXPECT_EQ(ReadFile(dst), Bytes(c.size));
        EXPECT_EQ(gauge.Max, c.size);
        EXPECT_EQ(gauge.Min, 0);
        EXPECT_EQ(gauge.Positions, c.positions);
        EXPECT_EQ(QFileInfo(dst).lastModified(), stamp);
    }
}

TEST(FileUtil, CopyIntoAFolderKeepsTheSourceName)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("target");
    WriteBytes(dir.filePath("plan.500"), Bytes(100));
    CopyFileWithProgress(dir.filePath("plan.500"), dir.filePath("target"));
    EXPECT_EQ(ReadFile(dir.filePath("target/plan.500")), Bytes(100));
}

TEST(FileUtil, CopyOntoItselfIsRefusedAndLosesNothing)
{
    // Guards against emptying the file: on this system the destination would be
    // truncated before its bytes were read.
    QTemporaryDir dir;
    const QString src = dir.filePath("a.txt");
    WriteBytes(src, Bytes(300));
    ASSERT_EQ(::link(QFile::encodeName(src).constData(),
                     QFile::encodeName(dir.filePath("b.txt")).constData()), 0);
    EXPECT_EQ(RaisedBy([&] { CopyFileWithProgress(src, src); }),
              QStringLiteral("Cannot copy file %1 onto itself").arg(src));
    EXPECT_FALSE(RaisedBy([&] { CopyFileWithProgress(src, dir.filePath("b.txt")); }).isEmpty());
    EXPECT_FALSE(RaisedBy([&] { CopyFileWithProgress(src, dir.path()); }).isEmpty());
    EXPECT_EQ(ReadFile(src), Bytes(300));
}

TEST(FileUtil, CopyFailures)
{
    QTemporaryDir dir;
    WriteBytes(dir.filePath("src"), Bytes(10));
    const QString missing = dir.filePath("missing");
    EXPECT_EQ(RaisedBy([&] { CopyFileWithProgress(missing, dir.filePath("x")); }),
              QStringLiteral("Cannot open file %1").arg(missing));

    const QString readOnly = dir.filePath("ro");
    WriteBytes(readOnly, "keep");
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner);
    EXPECT_EQ(RaisedBy([&] { CopyFileWithProgress(dir.filePath("src"), readOnly); }),
              QStringLiteral("Cannot create file %1").arg(readOnly));
    EXPECT_EQ(ReadFile(readOnly), QByteArray("keep"));
}

TEST(FileUtil, MoveRenamesOrCopies)
{
    QTemporaryDir dir;
    WriteBytes(dir.filePath("a"), Bytes(50));
    MoveFileSafe(dir.filePath("a"), dir.filePath("b"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("a")));
    EXPECT_EQ(ReadFile(dir.filePath("b")), Bytes(50));

    // Onto an existing file: replaced.
    WriteBytes(dir.filePath("c"), "old");
    MoveFileSafe(dir.filePath("b"), dir.filePath("c"));
    EXPECT_EQ(ReadFile(dir.filePath("c")), Bytes(50));

    // Into an existing folder: the file goes in under its name.
    QDir(dir.path()).mkdir("f");
    MoveFileSafe(dir.filePath("c"), dir.filePath("f"));
    EXPECT_EQ(ReadFile(dir.filePath("f/c")), Bytes(50));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("c")));

    // A folder moves by renaming.
    MoveFileSafe(dir.filePath("f"), dir.filePath("g"));
    EXPECT_EQ(ReadFile(dir.filePath("g/c")), Bytes(50));

    // A missing source changes nothing.
    MoveFileSafe(dir.filePath("nothing"), dir.filePath("g/c"));
    EXPECT_EQ(ReadFile(dir.filePath("g/c")), Bytes(50));
}

TEST(FileUtil, ClearDirectoryWithAndWithoutTheFolder)
{
    for (bool removeFolder : {false, true}) {
        SCOPED_TRACE(removeFolder);
        QTemporaryDir dir;
        const QString root = dir.filePath("undo");
        QDir().mkpath(root + "/sub/inner");
        WriteBytes(root + "/ro.txt", "x");
        QFile::setPermissions(root + "/ro.txt", QFileDevice::ReadOwner);
        WriteBytes(root + "/.hidden", "x");
        WriteBytes(root + "/sub/inner/f", "x");
        EXPECT_TRUE(ClearDirectory(root, removeFolder));
        if (removeFolder) {
            EXPECT_FALSE(QFileInfo::exists(root));
        } else {
            EXPECT_TRUE(QFileInfo(root + "/sub/inner").isDir()) << "folders stay, emptied";
            EXPECT_EQ(QDir(root).entryList(QDir::Files | QDir::Hidden).size(), 0);
            EXPECT_FALSE(QFileInfo::exists(root + "/sub/inner/f"));
        }
    }
}

// Guards a subfolder its owner may not list: it looked empty, its files stayed and the
// clearing still reported success (a user other than root sees the fault).
TEST(FileUtil, ClearDirectoryOpensALockedSubfolder)
{
    QTemporaryDir dir;
    const QString root = dir.filePath("run");
    QDir().mkpath(root + "/locked");
    WriteBytes(root + "/locked/f", "x");
    ASSERT_TRUE(QFile::setPermissions(root + "/locked", QFileDevice::Permissions()));
    EXPECT_TRUE(ClearDirectory(root, false));
    QFile::setPermissions(root + "/locked", QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ExeOwner);
    EXPECT_FALSE(QFileInfo::exists(root + "/locked/f"));
    EXPECT_TRUE(QFileInfo(root + "/locked").isDir());
}

TEST(FileUtil, ClearDirectoryNeverFollowsALink)
{
    QTemporaryDir dir;
    const QString root = dir.filePath("run");
    const QString outside = dir.filePath("precious");
    QDir().mkpath(root);
    QDir().mkpath(outside);
    WriteBytes(outside + "/plan.500", "data");
    WriteBytes(dir.filePath("file.txt"), "data");
    ASSERT_TRUE(QFile::link(outside, root + "/linkdir"));
    ASSERT_TRUE(QFile::link(dir.filePath("file.txt"), root + "/linkfile"));
    ASSERT_TRUE(QFile::link(dir.filePath("gone"), root + "/dangling"));

    EXPECT_TRUE(ClearDirectory(root, true));
    EXPECT_FALSE(QFileInfo::exists(root));
    EXPECT_EQ(ReadFile(outside + "/plan.500"), QByteArray("data"));
    EXPECT_EQ(ReadFile(dir.filePath("file.txt")), QByteArray("data"));

    // A link as the folder itself is refused.
    ASSERT_TRUE(QFile::link(outside, dir.filePath("alias")));
    EXPECT_FALSE(ClearDirectory(dir.filePath("alias"), false));
    EXPECT_EQ(ReadFile(outside + "/plan.500"), QByteArray("data"));
}

TEST(FileUtil, ClearDirectoryRefusesRootEmptyAndMissing)
{
    EXPECT_FALSE(ClearDirectory(QString(), false));
    EXPECT_FALSE(ClearDirectory("/", false));
    EXPECT_FALSE(ClearDirectory("//", true));
    EXPECT_FALSE(ClearDirectory("/nonexistent-folder-of-the-tests", true));
}

TEST(FileUtil, PathsAndNames)
{
    EXPECT_EQ(AddTrailingBackslash(""), "");
    EXPECT_EQ(AddTrailingBackslash("/a/b"), "/a/b/");
    EXPECT_EQ(AddTrailingBackslash("/a/b/"), "/a/b/");
    EXPECT_EQ(DropTrailingBackslash("/a/b/"), "/a/b");
    EXPECT_EQ(DropTrailingBackslash("/"), "/");
    EXPECT_EQ(DropTrailingBackslash("/a"), "/a");

    struct Case {
        const char* name;
        bool valid;
    };
    const Case cases[] = {{"", false},        {"a.txt", true},   {"/home/u/Мой план.500", true},
                          {"a<b", false},     {"a>b", false},    {"a\"b", false},
                          {"a[1]", false},    {"a|b", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsValidFileName(QString::fromUtf8(c.name)), c.valid);
    }

    QTemporaryDir dir;
    CreateFolderPath(dir.filePath("x/y/z/"));
    EXPECT_TRUE(FolderExists(dir.filePath("x/y/z")));
    EXPECT_FALSE(FolderExists(QString()));
}

#include "FileUtilTest.moc"
