#include "foundation/StringNum.h"

#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "platform/CodePage.h"
#include "support/TestHelpers.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

QStringList Lines(std::initializer_list<const char*> lines)
{
    QStringList result;
    for (const char* l : lines)
        result.append(QString::fromUtf8(l));
    return result;
}

}  // namespace

TEST(StringNum, GroupSplitters)
{
    struct Case { const char* text; std::initializer_list<const char*> lines; };
    const Case cases[] = {
        {"[1 2][3 4]", {"1 2", "3 4"}},
        {"[", {}},              // one character: nothing, not even the empty group
        {"]", {}},
        {"", {}},
        {"ab", {}},             // characters outside groups are skipped
        {"[]", {""}},
        {"x[a]y[b]z", {"a", "b"}},
        {"[a[b]", {"b"}},       // an opening bracket restarts the group
        {"[a", {}},             // an unclosed group is dropped
        {"[a]]", {"a", "a"}},   // a stray closing bracket repeats the last group
        {"x]", {""}},           // ... or adds an empty line before any group
        {"]][c]]", {"", "", "c", "c"}},
        {"[{1}{2}]", {"{1}{2}"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        QStringList sl = {QStringLiteral("old")};
        DynaArrToSL(QString::fromUtf8(c.text), sl);
        EXPECT_EQ(sl, Lines(c.lines));
    }
    QStringList sl;
    _2DDynaArrToSL(QStringLiteral("([1][2])([3])"), sl);
    EXPECT_EQ(sl, Lines({"[1][2]", "[3]"}));
    DynaArrStrToVars(QStringLiteral("{80,5}{-1}{}{x{y}"), sl);
    EXPECT_EQ(sl, Lines({"80,5", "-1", "", "y"}));
}

TEST(StringNum, FontStyles)
{
    EXPECT_EQ(FontStylesToStr(0), QStringLiteral("0000"));
    EXPECT_EQ(FontStylesToStr(fsBold | fsStrikeOut), QStringLiteral("1001"));
    EXPECT_EQ(FontStylesToStr(fsItalic | fsUnderline), QStringLiteral("0110"));
    struct Case { const char* text; TFontStyles fs; };
    const Case cases[] = {
        {"10", 0},                              // shorter than three: no style at all
        {"", 0},
        {"0101", fsItalic | fsStrikeOut},
        {"111", fsBold | fsItalic | fsUnderline},
        {"1111", fsBold | fsItalic | fsUnderline | fsStrikeOut},
        {"1x1y", fsBold | fsUnderline},
        {"00001", 0},                           // a fifth character is not read
        {"TRUE", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(StrToFontStyles(QString::fromUtf8(c.text)), c.fs);
    }
}

TEST(StringNum, Separators)
{
    {
        TSeparatorScope sep(',', QChar(0xA0));
        EXPECT_EQ(ConvertDecimalSeparator(QStringLiteral("1.5 2,5 a.b")), QStringLiteral("1,5 2,5 a,b"));
        EXPECT_EQ(DelThousandSeparators(QStringLiteral("1\u00A0234\u00A0567,5")), QStringLiteral("1234567,5"));
    }
    TSeparatorScope sep('.', QLatin1Char(','));
    EXPECT_EQ(ConvertDecimalSeparator(QStringLiteral("1,5")), QStringLiteral("1.5"));
    EXPECT_EQ(DelThousandSeparators(QStringLiteral("1,234.5")), QStringLiteral("1234.5"));
}

TEST(StringNum, ValidInteger)
{
    TSeparatorScope sep(',', QLatin1Char(' '));
    struct Case { const char* text; bool plain, withThousands; };
    const Case cases[] = {
        {"0", true, true}, {"-5", true, true}, {"+5", true, true}, {"007", true, true},
        {"", false, false}, {"-", false, false}, {"+", false, false},
        {"12-3", false, false}, {"--1", false, false}, {"+-1", false, false},
        {"2147483647", true, true}, {"2147483648", false, false},
        {"-2147483648", true, true}, {"-2147483649", false, false},
        {"00000000000000000000000012", true, true},
        {"99999999999999999999999999", false, false},
        {"1 234", false, true}, {" 1", false, true}, {"1  ", false, true},
        {"- 1", false, true},
        {"- ", false, false},        // a sign with separators only has no value
        {"2 147 483 648", false, false},
        {"1,5", false, false}, {"1.5", false, false}, {"1e3", false, false},
        {"١٢", false, false},        // digits of other scripts are no digits here
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ValidInteger(QString::fromUtf8(c.text), false), c.plain);
        EXPECT_EQ(ValidInteger(QString::fromUtf8(c.text), true), c.withThousands);
    }
}

TEST(StringNum, ValidFloatFlagsInBothLocales)
{
    // The four results are for (ThousandSep, UniDecSep) = (f,f), (f,t), (t,f), (t,t).
    struct Case { char decimal; QChar thousand; const char* text; bool r[4]; };
    const QChar nbsp(0xA0);
    const QChar comma = QLatin1Char(',');
    const QChar point = QLatin1Char('.');
    const Case cases[] = {
        {'.', comma, "1.5", {true, true, true, true}},
        {'.', comma, "1,5", {false, true, false, true}},   // "," never counts as thousands
        {',', nbsp, "1,5", {true, true, true, true}},
        {',', nbsp, "1.5", {false, true, false, true}},
        {',', point, "1.5", {false, true, false, true}},
        {'.', comma, "-.", {true, true, true, true}},      // no digit is required
        {'.', comma, "+,", {false, true, false, true}},
        {'.', comma, ".", {false, false, false, false}},
        {'.', comma, "-", {false, false, false, false}},
        {'.', comma, "", {false, false, false, false}},
        {'.', comma, "1.2.3", {false, false, false, false}},
        {'.', comma, "1.2,3", {false, false, false, false}},
        {'.', comma, "1-2", {false, false, false, false}},
        {'.', comma, "1e5", {false, false, false, false}},
        {'.', comma, "1E+5", {false, false, false, false}},
        {'.', comma, " 1", {false, false, false, false}},
        {',', nbsp, "1\u00A0234,5", {false, false, true, true}},
        {',', nbsp, "\u00A0", {false, false, true, true}},
        {'.', comma, "-12345678901234567890.5", {true, true, true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SCOPED_TRACE(c.decimal);
        TSeparatorScope sep(c.decimal, c.thousand);
        const QString s = QString::fromUtf8(c.text);
        EXPECT_EQ(ValidFloat(s, false, false), c.r[0]);
        EXPECT_EQ(ValidFloat(s, false, true), c.r[1]);
        EXPECT_EQ(ValidFloat(s, true, false), c.r[2]);
        EXPECT_EQ(ValidFloat(s, true, true), c.r[3]);
    }
}

TEST(StringNum, DigitValidators)
{
    EXPECT_TRUE(ValidNumSymbols(QString()));
    EXPECT_TRUE(ValidNumSymbols(QStringLiteral("0123456789")));
    EXPECT_FALSE(ValidNumSymbols(QStringLiteral("12a")));
    EXPECT_FALSE(ValidNumSymbols(QStringLiteral("-1")));
    EXPECT_TRUE(ValidNumSymbol(QLatin1Char('7')));
    EXPECT_FALSE(ValidNumSymbol(QLatin1Char(' ')));
    EXPECT_TRUE(ValidNumSymbolsRange(QStringLiteral("123"), 3));
    EXPECT_FALSE(ValidNumSymbolsRange(QStringLiteral("123"), 2));
    EXPECT_FALSE(ValidNumSymbolsRange(QStringLiteral("12a"), 3));
    EXPECT_TRUE(ValidNumSymbolsRange(QString(), 0));
}

TEST(StringNum, XYtoStringWritesPrecisionClasses)
{
    TSeparatorScope sep(',', QChar(0xA0));
    EXPECT_EQ(XYtoString2(1.005L, -3), QStringLiteral("1,01 -3,00"));
    EXPECT_EQ(XYtoString0(412345.5L, 2309876.4L), QStringLiteral("412346 2309876"));
    EXPECT_EQ(XYtoString1(-0.04L, 0.05L), QStringLiteral("0,0 0,1"));
    EXPECT_EQ(XYtoString3(6543210.98765L, 1e17L), QStringLiteral("6543210,988 100000000000000000,000"));
    // 16 significant digits, then zeros, never an exponent
    EXPECT_EQ(XYtoString3(12345678901234.5678L, 0), QStringLiteral("12345678901234,570 0,000"));
    TSeparatorScope point('.', QLatin1Char(','));
    EXPECT_EQ(XYtoString2(1234567.125L, 0.125L), QStringLiteral("1234567.13 0.13"));
    EXPECT_THROW(XYtoString2(std::numeric_limits<Extended>::quiet_NaN(), 0), Exception);
}

TEST(StringNum, StringToXY)
{
    TSeparatorScope sep('.', QLatin1Char(','));
    Extended x = 7, y = 8;
    EXPECT_TRUE(StringToXY(QStringLiteral("412345,678 -12.5"), x, y));
    EXPECT_EQ(x, 412345.678L);
    EXPECT_EQ(y, -12.5L);

    x = 7, y = 8;
    EXPECT_FALSE(StringToXY(QStringLiteral("abc 5"), x, y));   // no exception, untouched
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 8);

    struct Case { const char* text; const char* message; bool zeroed; };
    const Case cases[] = {
        {"12.5", "Не найден пробел-разделитель чисел в строке", false},
        {"", "Не найден пробел-разделитель чисел в строке", false},
        {" 1 2", "Найден пробел-разделитель чисел в начале строки", false},
        {"1 ", "Найден пробел-разделитель чисел в конце строки", false},
        {"5 abc", "Не получается преобразовать строку в два вещественных числа", true},
        {"5 1 2", "Не получается преобразовать строку в два вещественных числа", true},
        {"5 1e3", "Не получается преобразовать строку в два вещественных числа", true},
        // valid to the validator, yet no number: refused, not read as 0
        {"-. 5", "Некорректный вид вещественного числа в строковом формате", false},
        {"5 +,", "Некорректный вид вещественного числа в строковом формате", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        x = 7, y = 8;
        EXPECT_EQ(RaisedBy([&] { StringToXY(QString::fromUtf8(c.text), x, y); }).toStdString(),
                  c.message);
        EXPECT_EQ(x, c.zeroed ? 0 : 7);
        EXPECT_EQ(y, c.zeroed ? 0 : 8);
    }
}

TEST(StringNum, StringToXYInt)
{
    int x = 7, y = 8;
    EXPECT_TRUE(StringToXYInt(QStringLiteral("-12 2147483647"), x, y));
    EXPECT_EQ(x, -12);
    EXPECT_EQ(y, 2147483647);
    x = 7, y = 8;
    EXPECT_FALSE(StringToXYInt(QStringLiteral("1.5 2"), x, y));
    EXPECT_EQ(x, 0);   // set to 0 before anything else
    EXPECT_EQ(y, 0);
    x = 7, y = 8;
    EXPECT_EQ(RaisedBy([&] { StringToXYInt(QStringLiteral("1 2 3"), x, y); }),
              QStringLiteral("Не получается преобразовать строку в два целых числа"));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(RaisedBy([&] { StringToXYInt(QStringLiteral("12"), x, y); }),
              QStringLiteral("Не найден пробел-разделитель чисел в строке"));
    EXPECT_EQ(RaisedBy([&] { StringToXYInt(QStringLiteral("1 "), x, y); }),
              QStringLiteral("Найден пробел-разделитель чисел в конце строки"));
}

TEST(StringNum, StrToFltAcceptsBothSeparatorsOnly)
{
    struct Case { const char* text; bool ok; Extended value; };
    const Case cases[] = {
        {"1.5", true, 1.5L}, {"1,5", true, 1.5L}, {"-0,25", true, -0.25L}, {"+3", true, 3},
        {".5", true, 0.5L}, {"5.", true, 5}, {"-0", true, 0},
        {"412345.678", true, 412345.678L}, {"0.1", true, 0.1L},
        {"", false, 0}, {" 1", false, 0}, {"1 ", false, 0}, {"1e3", false, 0},
        {"1.2.3", false, 0}, {"1 000", false, 0}, {"abc", false, 0},
        // the validator lets these pass; the conversion refuses them with its own message
        {"-", false, 0}, {"-.", false, 0}, {"+,", false, 0}, {".", false, 0},
    };
    for (char decimal : {'.', ','}) {
        TSeparatorScope sep(decimal, QLatin1Char(decimal == '.' ? ',' : ' '));
        for (const Case& c : cases) {
            SCOPED_TRACE(c.text);
            const QString s = QString::fromUtf8(c.text);
            if (c.ok) {
                EXPECT_EQ(StrToFlt(s), c.value);
            } else {
                EXPECT_EQ(RaisedBy([&] { StrToFlt(s); }),
                          QStringLiteral("Некорректный вид вещественного числа в строковом формате"));
            }
        }
    }
    // A text too long for Extended is no number, never infinity.
    EXPECT_THROW(StrToFlt(QString(5000, QLatin1Char('9'))), Exception);
}

TEST(StringNum, FailuresLeaveTheirTrail)
{
    ErrorInfo = std::make_unique<QStringList>();
    const auto oldLog = LogArguments;
    LogArguments = 1;
    EXPECT_THROW(StrToFlt(QStringLiteral("x")), Exception);
    const QStringList trail = *ErrorInfo;
    LogArguments = oldLog;
    ErrorInfo.reset();
    EXPECT_EQ(trail, Lines({"Module name: StringNum", "Function: StrToFlt(const s:string):extended;",
                            "Argument s=x"}));
}

TEST(StringNum, AddToStrGrowsInStepsOf128)
{
    int pos = 1;
    QString buffer;
    AddToStr(pos, buffer, QString(300, QLatin1Char('a')));
    EXPECT_EQ(pos, 301);
    EXPECT_EQ(buffer.size(), 384);   // 300 needs three steps, one more position of room
    EXPECT_EQ(buffer.left(300), QString(300, QLatin1Char('a')));

    struct Case { int length, pos, add, grownTo; };
    const Case cases[] = {
        {0, 1, 0, 128},       // room 0 is not larger than 0: grows
        {10, 1, 8, 10},       // room 9 is larger than 8: stays
        {10, 1, 9, 138},      // room 9 equals 9: grows
        {10, 5, 200, 266},    // two steps
        {128, 129, 1, 256},   // the append position just past the end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.add);
        int p = c.pos;
        QString s(c.length, QLatin1Char('x'));
        AddToStr(p, s, QString(c.add, QLatin1Char('b')));
        EXPECT_EQ(p, c.pos + c.add);
        EXPECT_EQ(s.size(), c.grownTo);
        EXPECT_EQ(s.mid(c.pos - 1, c.add), QString(c.add, QLatin1Char('b')));
    }

    // The way builders use it: many short pieces, then cut to pos - 1.
    pos = 1;
    buffer.clear();
    QString expected;
    for (int i = 0; i < 10000; ++i) {
        const QString piece = QString::number(i) + QLatin1Char(';');
        AddToStr(pos, buffer, piece);
        expected += piece;
    }
    buffer.truncate(pos - 1);
    EXPECT_EQ(buffer, expected);

    pos = 0;
    EXPECT_THROW(AddToStr(pos, buffer, QStringLiteral("a")), Exception);
}

TEST(StringNum, StrDosToWinConvertsTheLettersOnly)
{
    QString letters866;   // the 66 letters in code page 866 order
    for (char16_t c = u'А'; c <= u'п'; ++c)
        letters866 += QChar(c);
    for (char16_t c = u'р'; c <= u'я'; ++c)
        letters866 += QChar(c);
    letters866 += QStringLiteral("Ёё");
    const QByteArray dos = EncodeCodePage(letters866, TCodePage::Cp866);
    ASSERT_EQ(dos.size(), 66);

    const QByteArray win = StrDosToWin(dos);
    EXPECT_EQ(DecodeCodePage(win, TCodePage::Cp1251), letters866);

    // Every other byte stays, box drawing and "№" of code page 866 included.
    QByteArray others;
    for (int b = 0; b < 256; ++b)
        if (!((b >= 128 && b <= 175) || (b >= 224 && b <= 241)))
            others.append(static_cast<char>(b));
    EXPECT_EQ(StrDosToWin(others), others);

    // The text form: a line read as code page 1251 from a code page 866 file.
    const QString line = DecodeCodePage(QByteArray("12 ") + dos + QByteArray("\xB3\xFC"), TCodePage::Cp1251);
    EXPECT_EQ(StrDosToWin(line),
              QStringLiteral("12 ") + letters866 + DecodeCodePage(QByteArray("\xB3\xFC"), TCodePage::Cp1251));
}

TEST(StringNum, ExchangeFormatFields)
{
    TSeparatorScope sep(',', QChar(0xA0));
    Extended x = 7, y = 8;
    ReadXYofForaString(QStringLiteral("   6543210.12   2345678,5  rest"), x, y);
    EXPECT_EQ(x, 6543210.12L);
    EXPECT_EQ(y, 2345678.5L);
    ReadXYofForaString(QStringLiteral("1e3 -2"), x, y);
    EXPECT_EQ(x, 1000);
    EXPECT_EQ(y, -2);

    x = 7, y = 8;
    EXPECT_EQ(RaisedBy([&] { ReadXYofForaString(QStringLiteral("  12,5"), x, y); }),
              QStringLiteral("'' is not a valid floating point value"));
    EXPECT_EQ(RaisedBy([&] { ReadXYofForaString(QStringLiteral("1.2.3 4"), x, y); }),
              QStringLiteral("'1,2,3' is not a valid floating point value"));
    EXPECT_EQ(x, 7);   // nothing is set when either fails
    EXPECT_EQ(y, 8);

    int n = -1;
    ReadIntOfForaString(QStringLiteral("ЛИН  узлов: 12 ;"), n);
    EXPECT_EQ(n, 12);
    ReadIntOfForaString(QStringLiteral("-5"), n);
    EXPECT_EQ(n, 5);   // the sign is dropped
    ReadIntOfForaString(QStringLiteral("1 2 3"), n);
    EXPECT_EQ(n, 123);
    EXPECT_EQ(RaisedBy([&] { ReadIntOfForaString(QStringLiteral("v1.5"), n); }),
              QStringLiteral("'1.5' is not a valid integer value"));
    EXPECT_EQ(RaisedBy([&] { ReadIntOfForaString(QStringLiteral("нет"), n); }),
              QStringLiteral("'' is not a valid integer value"));
}

TEST(StringNum, FltToStrWritesPointsWithoutExponent)
{
    for (char decimal : {',', '.'}) {
        TSeparatorScope sep(decimal, QChar(0xA0));
        struct Case { Extended v; const char* three; const char* general; };
        const Case cases[] = {
            {0, "0.000", "0"},
            {1.0005L, "1.001", "1.0005"},
            {-2.5L, "-2.500", "-2.5"},
            {0.000001L, "0.000", "0.000001"},      // the platform wrote "1E-6" here
            {1.0L / 3, "0.333", "0.333333333333333"},
            {123456789012.3456L, "123456789012.000", "123456789012.346"},
            {1e15L, "1000000000000000.000", "1000000000000000"},
            {-0.0004L, "0.000", "-0.0004"},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.general);
            EXPECT_EQ(FltToStr3(c.v).toStdString(), c.three);
            EXPECT_EQ(FltToStr(c.v).toStdString(), c.general);
        }
    }
}
