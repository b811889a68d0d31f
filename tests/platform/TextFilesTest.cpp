#include "platform/TextFiles.h"

#include "foundation/ErrorTrail.h"
#include "support/TestHelpers.h"

#include <QFile>
#include <QTemporaryDir>
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
