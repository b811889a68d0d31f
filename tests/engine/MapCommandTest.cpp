// Command names, parameter strings, group forms, field conversions and the formatter.
#include "engine/commands/MapCommand.h"
#include "foundation/GeoDataObjects.h"
#include "foundation/ErrorTrail.h"
#include "support/TestHelpers.h"

#include <gtest/gtest.h>

#include <set>

TEST(MapCommand, ParamSplitterOddCases)
{
    struct Case {
        const char* param;
        QStringList fields;
    };
    const Case cases[] = {
        {"<a><b>", {"a", "b"}},
        {"x<a>y", {"a"}},
        {"<a<b>", {"b"}},              // a "<" inside a field starts it again
        {"<a>>", {"a", "a"}},          // a stray ">" repeats the last field
        {">", {}},                     // one character: no field at all
        {">>", {"", ""}},              // stray ">" before any field: empty fields
        {"<>", {""}},
        {"<", {}},
        {"", {}},
        {"<a", {}},                    // an unterminated field is dropped
        {"< 5>", {" 5"}},              // blanks are kept
        {"<A=B><>", {"A=B", ""}},
        {"<[{1}{2}]><x>", {"[{1}{2}]", "x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.param);
        EXPECT_EQ(SplitParamFields(QString::fromUtf8(c.param)), c.fields);
    }
}

TEST(MapCommand, NamesAreTheIdentifiersInCodeOrder)
{
    struct Case {
        TMapCommand code;
        const char* name;
    };
    const Case cases[] = {
        {mcNewMap, "mcNewMap"},           {mcSaveSelected, "mcSaveSelected"},
        {mcUnLoadRastr, "mcUnLoadRastr"}, {mcNewPointIntText, "mcNewPointIntText"},
        {mcNewPolygon, "mcNewPolygon"},   {mcChangePolygonIntLineDirection,
                                           "mcChangePolygonIntLineDirection"},
        {mcChangeHinSem, "mcChangeHinSem"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MapCommandName(c.code), QLatin1String(c.name));
        TMapCommand found{};
        ASSERT_TRUE(FindMapCommand(QLatin1String(c.name), found));
        EXPECT_EQ(found, c.code);
    }
    std::set<QString> names;
    for (int code = MapCommandFirst; code <= MapCommandLast; ++code) {
        TMapCommand back{};
        const QString name = MapCommandName(static_cast<TMapCommand>(code));
        ASSERT_TRUE(FindMapCommand(name, back));
        EXPECT_EQ(back, code);
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 79u);
}

TEST(MapCommand, NameLookupIsCaseSensitive)
{
    TMapCommand found = mcNewMap;
    for (const char* name : {"mcnewpage", "MCNEWPAGE", "mcNewpage", " mcNewPage", "mcNewPage ", ""})
        EXPECT_FALSE(FindMapCommand(QLatin1String(name), found)) << name;
    EXPECT_EQ(found, mcNewMap);
}

TEST(MapCommand, CodeOutsideTheEnumerationHasNoName)
{
    for (int code : {0, 80, 255})
        EXPECT_EQ(RaisedBy([&] { MapCommandName(static_cast<TMapCommand>(code)); }),
                  QStringLiteral("Не определено значение перечисляемого типа"));
}

TEST(MapCommand, IntegerFields)
{
    struct Case {
        const char* text;
        std::int32_t value;
        bool ok;
    };
    const Case cases[] = {
        {"0", 0, true},          {"-12", -12, true},       {"+7", 7, true},
        {" 5", 5, true},         {"2147483647", 2147483647, true},
        {"-2147483648", -2147483647 - 1, true},
        {"2147483648", 0, false}, {"5 ", 0, false},        {"", 0, false},
        {"-", 0, false},         {"1,5", 0, false},        {"12a", 0, false},
        {"99999999999999999999", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TCommandFields f(QStringList{QString::fromUtf8(c.text)});
        if (c.ok)
            EXPECT_EQ(f.Int(0), c.value);
        else
            EXPECT_EQ(RaisedBy([&] { f.Int(0); }),
                      QStringLiteral("'%1' is not a valid integer value").arg(QLatin1String(c.text)));
    }
}

TEST(MapCommand, ByteFlagAndSwitchFields)
{
    const TCommandFields f(QStringList{"300", "-1", "0", "2", "true", "TRUE ", "True"});
    EXPECT_EQ(f.Byte(0), 44);     // only the low 8 bits remain
    EXPECT_EQ(f.Byte(1), 255);
    EXPECT_FALSE(f.Flag(2));
    EXPECT_TRUE(f.Flag(3));
    EXPECT_TRUE(f.Switch(4));
    EXPECT_FALSE(f.Switch(5));    // a blank makes it another text
    EXPECT_TRUE(f.Switch(6));
}

TEST(MapCommand, RealWithEitherSeparator)
{
    for (QChar sep : {QLatin1Char('.'), QLatin1Char(',')}) {
        const TSeparatorScope guard(sep);
        const TCommandFields f(QStringList{"12,5", "12.5", "-0.25", "+3", "7.", ".5"});
        EXPECT_EQ(f.RealAnySeparator(0), 12.5L);
        EXPECT_EQ(f.RealAnySeparator(1), 12.5L);
        EXPECT_EQ(f.RealAnySeparator(2), -0.25L);
        EXPECT_EQ(f.RealAnySeparator(3), 3.0L);
        EXPECT_EQ(f.RealAnySeparator(4), 7.0L);
        EXPECT_EQ(f.RealAnySeparator(5), 0.5L);
    }
    for (const char* bad : {"", ".", "-", "1e5", "1.2.3", "1,2.3", " 1", "1 ", "1 000", "abc"}) {
        SCOPED_TRACE(bad);
        const TCommandFields f(QStringList{QString::fromUtf8(bad)});
        EXPECT_EQ(RaisedBy([&] { f.RealAnySeparator(0); }),
                  QStringLiteral("Некорректный вид вещественного числа в строковом формате"));
    }
}

TEST(MapCommand, RealWithTheLocaleSeparatorOnly)
{
    {
        const TSeparatorScope guard(QLatin1Char(','));
        const TCommandFields f(QStringList{"12,5", " 1,5e2 ", "-2E-1", "12.5"});
        EXPECT_EQ(f.RealLocale(0), 12.5L);
        EXPECT_EQ(f.RealLocale(1), 150.0L);
        EXPECT_EQ(f.RealLocale(2), -0.2L);
        EXPECT_EQ(RaisedBy([&] { f.RealLocale(3); }),
                  QStringLiteral("'12.5' is not a valid floating point value"));
    }
    {
        const TSeparatorScope guard(QLatin1Char('.'));
        const TCommandFields f(QStringList{"12.5", "12,5", "1e", "", "e5"});
        EXPECT_EQ(f.RealLocale(0), 12.5L);
        for (int i = 1; i < f.Count(); ++i)
            EXPECT_EQ(RaisedBy([&] { f.RealLocale(i); }),
                      QStringLiteral("'%1' is not a valid floating point value").arg(f.Text(i)));
    }
}

TEST(MapCommand, MissingFieldRaisesTheIndexError)
{
    const TCommandFields f = TCommandFields::FromParam(u"<0><1>");
    EXPECT_EQ(RaisedBy([&] { f.Text(2); }), QStringLiteral("List index out of bounds (2)"));
    EXPECT_EQ(RaisedBy([&] { f.Int(5); }), QStringLiteral("List index out of bounds (5)"));
    EXPECT_EQ(RaisedBy([&] { f.Text(-1); }), QStringLiteral("List index out of bounds (-1)"));
    // A user-text group with four of its five values.
    const TCommandFields u = TCommandFields::FromParam(u"<[{1}{2}{3}{4}]>");
    const auto groups = u.Groups(0);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(RaisedBy([&] { groups[0].Byte(4); }), QStringLiteral("List index out of bounds (4)"));
}

TEST(MapCommand, GroupForms)
{
    const TCommandFields f = TCommandFields::FromParam(
        u"<[{75,00}{70,00}{0}][{1}{2}{3}]><([{1}{2}][{3}{4}])([{5}{6}])><{2}{0}><>");
    const auto nodes = f.Groups(0);
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(nodes[0].All(), (QStringList{"75,00", "70,00", "0"}));
    EXPECT_EQ(nodes[1].All(), (QStringList{"1", "2", "3"}));
    const auto contours = f.Contours(1);
    ASSERT_EQ(contours.size(), 2u);
    ASSERT_EQ(contours[0].size(), 2u);
    EXPECT_EQ(contours[0][1].All(), (QStringList{"3", "4"}));
    EXPECT_EQ(contours[1][0].All(), (QStringList{"5", "6"}));
    EXPECT_EQ(f.Values(2).All(), (QStringList{"2", "0"}));
    EXPECT_TRUE(f.Groups(3).empty());
    EXPECT_TRUE(f.Contours(3).empty());
}

// Guards against a splitter that rescans or copies the rest of the text per group:
// a node list of 100,000 groups must split (this test stays fast only when linear).
TEST(MapCommand, LongNodeListSplitsWhole)
{
    constexpr int count = 100000;
    QString nodes;
    nodes.reserve(count * 40);
    for (int i = 0; i < count; ++i) {
        TCommandValues v;
        v.Int(i).Int(-i).Int(0).Int(-1).Int(0).Int(-1).Int(0).Int(0);
        nodes += v.Group();
    }
    TCommandParams p;
    p.Int(0).Int(0).Field(nodes);
    const TCommandFields f = TCommandFields::FromParam(p.Str());
    const auto groups = f.Groups(2);
    ASSERT_EQ(groups.size(), size_t(count));
    EXPECT_EQ(groups[count - 1].Int(0), count - 1);
    EXPECT_EQ(groups[count - 1].Int(1), -(count - 1));
    EXPECT_EQ(groups[12345].Count(), 8);
}

TEST(MapCommand, FormatterBuildsFieldsThatSplitBack)
{
    TCommandParams p;
    p.Int(3).Text(QStringLiteral(" Лист 1 ")).Text(QString()).Int(-7);
    EXPECT_EQ(p.Str(), QStringLiteral("<3>< Лист 1 ><><-7>"));
    EXPECT_EQ(SplitParamFields(p.Str()), (QStringList{"3", " Лист 1 ", "", "-7"}));
    TCommandValues v;
    v.Int(1).Text(QStringLiteral("а;б"));
    EXPECT_EQ(v.Group(), QStringLiteral("[{1}{а;б}]"));
}

TEST(MapCommand, FormatterRefusesTextsThatWouldShiftFields)
{
    for (const char* bad : {"a<b", "a>b", "<", "line\r", "line\nnext", "\r\n"}) {
        SCOPED_TRACE(bad);
        TCommandParams p;
        p.Int(1);
        const QString message = RaisedBy([&] { p.Text(QString::fromUtf8(bad)); });
        EXPECT_TRUE(message.contains(QStringLiteral("недопустимы"))) << message.toStdString();
        EXPECT_EQ(p.Str(), QStringLiteral("<1>"));   // nothing was added
    }
    for (const char* bad : {"a{b", "}", "[x]", "(", ")", "x>y"}) {
        SCOPED_TRACE(bad);
        TCommandValues v;
        EXPECT_FALSE(RaisedBy([&] { v.Text(QString::fromUtf8(bad)); }).isEmpty());
        EXPECT_TRUE(v.Str().isEmpty());
    }
}

TEST(MapCommand, UserTextLists)
{
    const TCommandFields f = TCommandFields::FromParam(
        u"<[{1,5}{-2.25}{450}{1}{2}][{0}{0}{0}{0,5}{1}]><><[{1}{2}{3}{4}]><[{1}{2}{x}{4}{5}]>");
    const std::vector<RUserText> texts = f.UserTexts(0);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Dx, 1.5L);
    EXPECT_EQ(texts[0].Dy, -2.25L);
    EXPECT_EQ(texts[0].Angle, 450);
    EXPECT_EQ(texts[0].SizeFactor, 1.0L);
    EXPECT_EQ(texts[0].Show, 2);
    EXPECT_EQ(texts[1].SizeFactor, 0.5L);
    EXPECT_TRUE(f.UserTexts(1).empty());
    EXPECT_EQ(RaisedBy([&] { f.UserTexts(2); }), QStringLiteral("List index out of bounds (4)"));
    EXPECT_EQ(RaisedBy([&] { f.UserTexts(3); }), QStringLiteral("'x' is not a valid integer value"));
}

TEST(MapCommand, FixedValuesUseTheLocaleSeparatorAndTwoDecimals)
{
    const TSeparatorScope guard(QLatin1Char(','));
    TCommandParams p;
    p.Fixed(75).Fixed(-1.005L, 3).Fixed(0.125L);
    EXPECT_EQ(p.Str(), QStringLiteral("<75,00><-1,005><0,13>"));
    TCommandValues v;
    v.Fixed(70).Int(-1);
    EXPECT_EQ(v.Group(), QStringLiteral("[{70,00}{-1}]"));
    // What the builders write, the handlers read back.
    EXPECT_EQ(TCommandFields::FromParam(p.Str()).RealAnySeparator(0), 75.0L);
}
