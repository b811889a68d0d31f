// The font chooser: names by letter case, names that are not installed, the list.
#include "controls/FontComboBox.h"

#include <QFile>
#include <QFontDatabase>
#include <QScopeGuard>
#include <gtest/gtest.h>

namespace {

// A family that is surely installed (the tests' fonts), in its listed spelling.
QString SomeFamily(const TFontComboBox& box)
{
    for (int i = 0; i < box.count(); ++i)
        if (box.itemText(i).startsWith(QLatin1String("DejaVu Sans")))
            return box.itemText(i);
    return box.count() > 0 ? box.itemText(0) : QString();
}

}  // namespace

TEST(FontComboBox, NameInOtherCaseSelectsTheListedSpelling)
{
    TFontComboBox box;
    const QString family = SomeFamily(box);
    ASSERT_FALSE(family.isEmpty());
    int changes = 0;
    box.OnChange = [&] { ++changes; };
    box.SetFontName(family.toUpper());
    EXPECT_EQ(box.FontName(), family);
    EXPECT_EQ(changes, 1);
    box.SetFontName(family);
    EXPECT_EQ(changes, 1) << "the same name again fires nothing";
}

TEST(FontComboBox, NameNotInstalledIsKept)
{
    // Guards the window that reads the name back on confirmation: a Windows font of
    // the data that is missing here must not come back empty.
    TFontComboBox box;
    const int installed = box.count();
    box.SetFontName(QStringLiteral("Times New Roman Cyr Missing"));
    EXPECT_EQ(box.FontName(), QStringLiteral("Times New Roman Cyr Missing"));
    EXPECT_EQ(box.count(), installed + 1);
    EXPECT_EQ(box.LineFlags(box.currentIndex()), 0);

    box.SetFontName(QStringLiteral("Another Missing Face"));
    EXPECT_EQ(box.count(), installed + 1) << "one extra line at a time";
    box.SetFontName(SomeFamily(box));
    EXPECT_EQ(box.FontName(), SomeFamily(box));

    box.SetFontName(QString());
    EXPECT_TRUE(box.FontName().isEmpty());
}

TEST(FontComboBox, EditableStyleKeepsTypedName)
{
    TFontComboBox box;
    box.SetStyle(csDropDown);
    const int installed = box.count();
    box.SetFontName(QStringLiteral("Missing Face"));
    EXPECT_EQ(box.FontName(), QStringLiteral("Missing Face"));
    EXPECT_EQ(box.count(), installed);
}

TEST(FontComboBox, EveryDeviceListsAFaceOnce)
{
    TFontComboBox box;
    const int screen = box.count();
    box.SetDevice(fdBoth);
    EXPECT_EQ(box.count(), screen);
    QStringList names;
    for (int i = 0; i < box.count(); ++i)
        names << box.itemText(i);
    names.removeDuplicates();
    EXPECT_EQ(names.size(), box.count());
}

TEST(FontComboBox, RebuildKeepsTheName)
{
    TFontComboBox box;
    const QString family = SomeFamily(box);
    box.SetFontName(family);
    int changes = 0;
    box.OnChange = [&] { ++changes; };
    box.SetTrueTypeOnly(true);
    EXPECT_EQ(box.FontName(), family);
    EXPECT_EQ(changes, 0);
    for (int i = 0; i < box.count(); ++i) {
        SCOPED_TRACE(box.itemText(i).toStdString());
        EXPECT_TRUE(box.LineFlags(i) & TFontComboBox::TrueTypeFontType);
    }
}

TEST(FontComboBox, UseFontsDrawsNamesInTheirOwnFont)
{
    TFontComboBox box;
    const QString family = SomeFamily(box);
    box.SetFontName(family);
    const int line = box.currentIndex();
    ASSERT_TRUE(box.LineFlags(line) & TFontComboBox::NotSymbolFont);
    EXPECT_EQ(box.LineFont(line).family(), box.font().family());
    box.SetUseFonts(true);
    EXPECT_EQ(box.LineFont(line).families(), QStringList{family});
    EXPECT_EQ(box.LineFont(line).pointSizeF(), box.font().pointSizeF());
}

TEST(FontComboBox, ItemHeightFollowsTheFont)
{
    TFontComboBox box;
    EXPECT_GE(box.MinimumItemHeight(), 11);
    EXPECT_GE(box.MinimumItemHeight(), box.fontMetrics().height() + 1);
}

namespace {

// Liberation Sans as another foundry makes it: the same file with another vendor in its
// OS/2 table, so the font database holds the family twice.
QByteArray LiberationSansOfAnotherFoundry()
{
    QFile file(QStringLiteral("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray font = file.readAll();
    const auto u16 = [&](qsizetype at) {
        return int(quint8(font.at(at))) << 8 | int(quint8(font.at(at + 1)));
    };
    const int tables = u16(4);
    for (int i = 0; i < tables; ++i) {
        const qsizetype record = 12 + 16 * i;
        if (font.mid(record, 4) != "OS/2")
            continue;
        const qsizetype os2 = qsizetype(u16(record + 8)) << 16 | u16(record + 10);
        font.replace(os2 + 58, 4, "VLMT");   // the vendor, which gives the foundry
        return font;
    }
    return {};
}

}  // namespace

// Guards a list that showed a family once per foundry with the foundry appended
// ("C059 [UKWN]", "C059 [urw]"), names no text style can keep.
TEST(FontComboBox, AFamilyOfTwoFoundriesIsListedOnceByItsName)
{
    const QByteArray twin = LiberationSansOfAnotherFoundry();
    ASSERT_FALSE(twin.isEmpty()) << "Liberation Sans is not installed (scripts/deps.sh)";
    const int id = QFontDatabase::addApplicationFontFromData(twin);
    ASSERT_GE(id, 0);
    const auto remove = qScopeGuard([id] { QFontDatabase::removeApplicationFont(id); });
    TFontComboBox box;
    QStringList names;
    for (int i = 0; i < box.count(); ++i) {
        SCOPED_TRACE(box.itemText(i).toStdString());
        EXPECT_FALSE(box.itemText(i).contains(QLatin1Char('[')));
        names << box.itemText(i);
    }
    EXPECT_EQ(names.count(QStringLiteral("Liberation Sans")), 1);
    for (const char* name : {"liberation sans", "Liberation Sans [VLMT]"}) {
        box.SetFontName(QString::fromUtf8(name));
        EXPECT_EQ(box.FontName(), QStringLiteral("Liberation Sans")) << name;
        box.SetFontName(QStringLiteral("DejaVu Sans"));
    }
}
