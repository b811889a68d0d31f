#include "platform/TextFiles.h"

#include "foundation/ErrorTrail.h"
#include "support/TestHelpers.h"

#include <QFile>
#include <QIODevice>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <gtest/gtest.h>

TEST(TextFiles, ReadsCp1251LinesThroughTheCaseIgnoringLookup)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString root = tmp.path() + u'/';
    WriteBytes(root + QStringLiteral("ТОЧСин.wri"), QByteArray("\xC0\xC1\r\nx\ry\n"));
    const QString asked = root + QStringLiteral("ТОЧСИН.wri");
    EXPECT_EQ(ReadTextFileLines(asked), (QStringList{QStringLiteral("АБ"), QStringLiteral("x\ry")}));
    EXPECT_EQ(ReadTextFileLines(asked, true),
              (QStringList{QStringLiteral("АБ"), QStringLiteral("x"), QStringLiteral("y")}));

    const QString missing = root + QStringLiteral("нет.wri");
    try {
        ReadTextFileLines(missing);
        ADD_FAILURE() << "a missing file was read";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message.contains(missing)) << e.Message.toStdString();
    }
}

TEST(TextFiles, WritesCrLfIntoTheExistingSpelling)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString root = tmp.path() + u'/';
    WriteBytes(root + QStringLiteral("Стили.wri"), QByteArray("old"));
    WriteTextFileLines(root + QStringLiteral("стили.WRI"), {QStringLiteral("Я"), QString()});
    EXPECT_EQ(FileBytes(root + QStringLiteral("Стили.wri")), QByteArray("\xDF\r\n\r\n"));
    EXPECT_FALSE(QFile::exists(root + QStringLiteral("стили.WRI")));
}

// Guards against a refused line leaving a half-written or emptied file behind.
TEST(TextFiles, RefusedLineLeavesTheOldFile)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString path = tmp.path() + QStringLiteral("/a.wri");
    WriteBytes(path, QByteArray("old\r\n"));
    for (const QString& bad : {QStringLiteral("знак \u4E2D"), QStringLiteral("две\nстроки"),
                               QStringLiteral("две\rстроки")}) {
        SCOPED_TRACE(bad.toStdString());
        EXPECT_THROW(WriteTextFileLines(path, {QStringLiteral("first"), bad}), Exception);
        EXPECT_EQ(FileBytes(path), QByteArray("old\r\n"));
    }
}

namespace {

// A disk of room bytes that, like a real one, takes part of a write that does not fit
// and fails the next with ENOSPC.
class TSmallDisk : public QIODevice {
public:
    explicit TSmallDisk(qint64 room) : Room(room) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    QByteArray Held;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 n) override
    {
        const qint64 free = Room - Held.size();
        if (free <= 0) {
            errno = ENOSPC;
            return -1;
        }
        const qint64 taken = std::min(n, free);
        Held.append(data, taken);
        return taken;
    }

private:
    qint64 Room;
};

}  // namespace

// Guards against a full disk being reported as "Unknown error": a partial write gives no
// reason, so the writer goes on until the system names one.
TEST(TextFiles, AFullDiskIsNamedAsTheCause)
{
    TSmallDisk disk(10);
    const QString raised = RaisedBy([&] { WriteAllBytes(disk, "0123456789abcdef", 16, QStringLiteral("Запись")); });
    EXPECT_EQ(raised, QStringLiteral("Запись: на диске нет свободного места"));
    EXPECT_EQ(disk.Held, QByteArray("0123456789"));
    TSmallDisk roomy(100);
    EXPECT_TRUE(RaisedBy([&] { WriteAllBytes(roomy, "0123456789abcdef", 16, QStringLiteral("Запись")); }).isEmpty());
    EXPECT_EQ(roomy.Held, QByteArray("0123456789abcdef"));
}

TEST(TextFiles, FailedWritesKeepTheOldFileAndSayWhy)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString file = tmp.path() + QStringLiteral("/Слои.wri");
    WriteBytes(file, QByteArray("old"));
    struct Case {
        int Error;
        const char* Reason;
    };
    const Case cases[] = {
        {ENOSPC, "на диске нет свободного места"},
        {EDQUOT, "превышена дисковая квота пользователя"},
        {EACCES, "нет прав на запись в эту папку или файл"},
        {EROFS, "диск доступен только для чтения"},
        {EIO, "ошибка ввода-вывода диска"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Reason);
        FileWriteFault() = [&c](qint64, qint64&) { return c.Error; };
        const QString raised = RaisedBy([&] { WriteTextFileLines(file, {QStringLiteral("новое")}); });
        FileWriteFault() = nullptr;
        EXPECT_TRUE(raised.endsWith(QStringLiteral(": ") + QString::fromUtf8(c.Reason))) << raised.toStdString();
        EXPECT_TRUE(raised.contains(file)) << raised.toStdString();
        EXPECT_EQ(FileBytes(file), QByteArray("old"));
    }
    // An error the program has no words for keeps the system's own.
    EXPECT_EQ(FileErrorReason(0, QStringLiteral("Device busy")), QStringLiteral("Device busy"));
    EXPECT_EQ(FileErrorReason(0, QStringLiteral("Unknown error")), QStringLiteral("неизвестная ошибка записи"));
}
