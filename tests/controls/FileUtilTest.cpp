// File and folder routines: sizes, copying, moving, clearing and names.
#include "controls/core/FileUtil.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void WriteBytes(const QString& path, qsizetype size)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + 3);
    ASSERT_EQ(f.write(bytes), size);
}

}  // namespace

TEST(FileUtil, FileSizeOfFilesFoldersAndMissingNames)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteBytes(dir.filePath("a.bin"), 8193);
    WriteBytes(dir.filePath("empty"), 0);
    EXPECT_EQ(GetFileSizeByName(dir.filePath("a.bin")), 8193);
    EXPECT_EQ(GetFileSizeByName(dir.filePath("empty")), 0);
    EXPECT_EQ(GetFileSizeByName(dir.path()), -1);
    EXPECT_EQ(GetFileSizeByName(dir.filePath("missing")), -1);
    EXPECT_EQ(GetFileSizeByName(QString()), -1);
}
