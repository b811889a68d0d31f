#include "platform/FileLookup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void Touch(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

}  // namespace

TEST(FileLookup, ResolvesEveryComponentIgnoringCase)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString root = tmp.path() + QLatin1Char('/');
    ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("Шрифты/500")));
    ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("Ёлка")));
    Touch(root + QStringLiteral("Шрифты/500/Стили.wri"));
    Touch(root + QStringLiteral("ТОЧСин.wri"));
    Touch(root + QStringLiteral("abc"));
    Touch(root + QStringLiteral("ABC"));

    struct Case { const char* asked; const char* found; };
    const Case cases[] = {
        {"Шрифты/500/Стили.wri", "Шрифты/500/Стили.wri"},       // as written
        {"шрифты/500/стили.WRI", "Шрифты/500/Стили.wri"},       // every level resolved
        {"ШРИФТЫ/500/", "Шрифты/500/"},                         // a final "/" stays
        {"ТОЧСИН.wri", "ТОЧСин.wri"},
        {"ёЛКА", "Ёлка"},                                       // Ё and ё are one letter
        {"шрифты\\500\\стили.wri", "Шрифты/500/Стили.wri"},     // "\" separates as "/"
        {"шрифты//500", "Шрифты/500"},
        {"шрифты/Новый.wri", "Шрифты/Новый.wri"},               // a new file keeps its spelling
        {"нет/шрифты", "нет/шрифты"},                           // nothing below a missing folder
        {"abc", "abc"},                                         // the exact entry wins
        {"Abc", "ABC"},                                         // else the smallest of the twins
        {"ёлка/../шрифты", "Ёлка/../Шрифты"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked);
        EXPECT_EQ(ResolvePath(root + QString::fromUtf8(c.asked)), root + QString::fromUtf8(c.found));
    }
    EXPECT_EQ(ResolvePath(QString()), QString());
    EXPECT_EQ(ResolvePath(QStringLiteral("/")), QStringLiteral("/"));

    EXPECT_EQ(FindExistingPath(root + QStringLiteral("точсин.WRI")), root + QStringLiteral("ТОЧСин.wri"));
    EXPECT_EQ(FindExistingPath(root + QStringLiteral("шрифты/Новый.wri")), QString());
    EXPECT_TRUE(FileExistsIgnoringCase(root + QStringLiteral("шрифты/500/стили.wri")));
    EXPECT_FALSE(FileExistsIgnoringCase(root + QStringLiteral("шрифты/500")));
    EXPECT_TRUE(FolderExistsIgnoringCase(root + QStringLiteral("шрифты/500")));
    EXPECT_FALSE(FolderExistsIgnoringCase(root + QStringLiteral("точсин.wri")));
}

TEST(FileLookup, RelativePathsStayRelative)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    ASSERT_TRUE(QDir(tmp.path()).mkpath(QStringLiteral("Слои")));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(tmp.path()));
    const QString resolved = ResolvePath(QStringLiteral("слои/новый.wri"));
    QDir::setCurrent(before);
    EXPECT_EQ(resolved, QStringLiteral("Слои/новый.wri"));
}
