#include "foundation/DelphiFormat.h"

#include "foundation/ErrorTrail.h"
#include "support/TestHelpers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <charconv>
#include <limits>
#include <random>
#include <string>
#include <vector>

TEST(DelphiFormat, FixedRoundsEighteenDigitsThenHalvesAwayFromZero)
{
    TSeparatorScope sep('.', QLatin1Char(','));
    struct Case { Extended v; int decimals; const char* text; };
    const Case cases[] = {
        {1.005L, 2, "1.01"},          // binary 1.00499999… reads 1.00500… in 18 digits
        {1.005, 2, "1.00"},           // a double's 1.005 is 1.00499999999999989…
        {0.125L, 2, "0.13"},
        {2.5L, 0, "3"},
        {3.5L, 0, "4"},
        {-2.5L, 0, "-3"},
        {-0.125L, 2, "-0.13"},
        {0, 2, "0.00"},
        {-0.0L, 2, "0.00"},
        {-0.004L, 2, "0.00"},         // rounds to zero: no minus sign
        {-0.001L, 0, "0"},
        {0.005L, 2, "0.01"},          // no digit kept, the first dropped one rounds up
        {0.0049L, 2, "0.00"},
        {9.995L, 2, "10.00"},         // the carry adds a whole digit
        {999.9996L, 3, "1000.000"},
        {123456.789L, 1, "123456.8"},
        {1e20L, 2, "100000000000000000000.00"},   // never an exponent
        {1e-20L, 3, "0.000"},
        {0.1L, 18, "0.100000000000000000"},
        {12.5L, 0, "13"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FloatToFixed(c.v, c.decimals).toStdString(), c.text);
    }
}

TEST(DelphiFormat, FixedCapsSignificantDigitsWithoutExponent)
{
    TSeparatorScope sep(',', QChar(0xA0));
    struct Case { Extended v; int decimals, precision; const char* text; };
    const Case cases[] = {
        {412345.678L, 3, 8, "412345,680"},
        {123456789.123L, 3, 8, "123456790,000"},   // the platform wrote 1.2345679E8 here
        {1.23456789L, 2, 4, "1,23"},
        {99999.5L, 0, 5, "100000"},
        {0.000123456L, 6, 3, "0,000123"},
        {-1234.5678L, 2, 16, "-1234,57"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FloatToFixed(c.v, c.decimals, c.precision).toStdString(), c.text);
    }
    EXPECT_EQ(FloatToFixed(-1234567.891L, 2, 18, true),
              QStringLiteral("-1\u00A0234\u00A0567,89"));
    EXPECT_EQ(FloatToFixed(123.4L, 1, 18, true), QStringLiteral("123,4"));
}

TEST(DelphiFormat, ReadBackFormsRefuseInfinityAndNaN)
{
    const Extended bad[] = {std::numeric_limits<Extended>::infinity(),
                            -std::numeric_limits<Extended>::infinity(),
                            std::numeric_limits<Extended>::quiet_NaN()};
    for (Extended v : bad) {
        EXPECT_THROW(FloatToFixed(v, 2), Exception);
        EXPECT_THROW(FloatToPlain(v), Exception);
        EXPECT_THROW(Format(QStringLiteral("%f"), {v}), Exception);
    }
    EXPECT_EQ(FloatToStrF(bad[0], ffFixed, 15, 2), QStringLiteral("INF"));
    EXPECT_EQ(FloatToStrF(bad[1], ffGeneral, 15, 0), QStringLiteral("-INF"));
    EXPECT_EQ(FloatToStr(bad[2]), QStringLiteral("NAN"));
}

TEST(DelphiFormat, GeneralFormat)
{
    TSeparatorScope sep('.', QLatin1Char(','));
    struct Case { Extended v; const char* text; const char* plain; };
    const Case cases[] = {
        {0, "0", "0"},
        {1, "1", "1"},
        {-1.5L, "-1.5", "-1.5"},
        {0.1, "0.1", "0.1"},                      // a double's 0.1 in 15 digits
        {1.0L / 3, "0.333333333333333", "0.333333333333333"},
        {2.0L / 3, "0.666666666666667", "0.666666666666667"},
        {0.0001L, "0.0001", "0.0001"},
        {0.00009L, "9E-5", "0.00009"},
        {0.00001L, "1E-5", "0.00001"},
        {1e-6L, "1E-6", "0.000001"},
        {-1.25e-7L, "-1.25E-7", "-0.000000125"},
        {999999999999999.0L, "999999999999999", "999999999999999"},
        {1e15L, "1E15", "1000000000000000"},
        {1.5e20L, "1.5E20", "150000000000000000000"},
        {123456789012345678.0L, "1.23456789012346E17", "123456789012346000"},
        {9.9999999999999999L, "10", "10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FloatToStr(c.v).toStdString(), c.text);
        EXPECT_EQ(FloatToPlain(c.v).toStdString(), c.plain);
    }
    EXPECT_EQ(FloatToPlain(3.14159L, 3), QStringLiteral("3.14"));
    EXPECT_EQ(FloatToStrF(1234567, ffGeneral, 4, 2), QStringLiteral("1.235E06"));
}

TEST(DelphiFormat, FloatToStrFFixedAndNumberFallBackToExponent)
{
    TSeparatorScope sep(',', QLatin1Char(' '));
    struct Case { Extended v; TFloatFormat f; int precision, digits; const char* text; };
    const Case cases[] = {
        {412345.678L, ffFixed, 8, 3, "412345,680"},
        {123456789.123L, ffFixed, 8, 3, "1,2345679E8"},
        {1234.5L, ffFixed, 3, 2, "1,23E3"},
        {1.005L, ffFixed, 16, 2, "1,01"},
        {-0.001L, ffFixed, 15, 2, "0,00"},
        {92.89L, ffFixed, 6, 2, "92,89"},
        {8, ffFixed, 6, 3, "8,000"},
        {1234567.891L, ffNumber, 15, 2, "1 234 567,89"},
        {-999.5L, ffNumber, 15, 0, "-1 000"},
        {1234.5L, ffExponent, 4, 2, "1,235E+03"},
        {-0.00012345L, ffExponent, 3, 0, "-1,23E-4"},
        {0, ffExponent, 4, 2, "0,000E+00"},
        {5, ffExponent, 1, 1, "5E+0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FloatToStrF(c.v, c.f, c.precision, c.digits).toStdString(), c.text);
    }
}

TEST(DelphiFormat, FormatConversions)
{
    TSeparatorScope sep(',', QChar(0xA0));
    struct Case { const char* format; std::initializer_list<TFormatArg> args; const char* text; };
    const Case cases[] = {
        {"<%d><%s><%f>", {7, "ТОЧ", 80.0}, "<7><ТОЧ><80,00>"},
        {"%f", {1.005L}, "1,01"},
        {"%f", {-0.001}, "0,00"},
        {"%.3f", {-3.0}, "-3,000"},
        {"%.0f", {2.5}, "3"},
        {"%8.3f", {412345.6789}, "412345,679"},
        {"%8.1f", {5.25}, "     5,3"},
        {"%-4d|", {12}, "12  |"},
        {"%4d|", {-12}, " -12|"},
        {"%.3d", {-5}, "-005"},
        {"%-6s|%.2s", {"ab", "xyz"}, "ab    |xy"},
        {"100%%", {}, "100%"},
        {"%d", {static_cast<unsigned char>(200)}, "200"},
        {"%d", {-2147483648LL}, "-2147483648"},
        {"%f", {1e20}, "100000000000000000000,00"},
        {"no args", {}, "no args"},
        {"%D %S %F", {1, "a", 0.5}, "1 a 0,50"},
        {"%d", {1, 2}, "1"},   // surplus arguments are ignored
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(Format(QString::fromUtf8(c.format), c.args).toStdString(), c.text);
    }
}

TEST(DelphiFormat, FormatRefusesMismatchedArguments)
{
    struct Case { const char* format; std::initializer_list<TFormatArg> args; };
    const Case cases[] = {
        {"%f", {1}},            // an integer where a real is expected
        {"%d", {1.5}},
        {"%s", {1}},
        {"%d", {"1"}},
        {"%d %d", {1}},         // too few arguments
        {"%x", {1}},            // a conversion the program does not use
        {"%*d", {1, 2}},
        {"abc%", {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        try {
            Format(QString::fromUtf8(c.format), c.args);
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message, QStringLiteral("Format '%1' invalid or incompatible with argument")
                                     .arg(QString::fromUtf8(c.format)));
        }
    }
}

TEST(DelphiFormat, StrToIntIsStrict)
{
    struct Case { const char* text; bool ok; int value; };
    const Case cases[] = {
        {"0", true, 0}, {"123", true, 123}, {"-123", true, -123}, {"+7", true, 7},
        {"  42", true, 42}, {"007", true, 7},
        {"2147483647", true, 2147483647}, {"-2147483648", true, -2147483647 - 1},
        {"2147483648", false, 0}, {"-2147483649", false, 0},
        {"99999999999999999999999", false, 0},
        {"", false, 0}, {" ", false, 0}, {"-", false, 0}, {"+", false, 0},
        {"42 ", false, 0}, {"4 2", false, 0}, {"1.0", false, 0}, {"1,5", false, 0},
        {"$1F", false, 0}, {"1e3", false, 0}, {"--1", false, 0}, {"١", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const QString s = QString::fromUtf8(c.text);
        int v = -99;
        EXPECT_EQ(TryStrToInt(s, v), c.ok);
        if (c.ok) {
            EXPECT_EQ(v, c.value);
            EXPECT_EQ(StrToInt(s), c.value);
            EXPECT_EQ(StrToIntDef(s, -1), c.value);
        } else {
            EXPECT_EQ(v, -99);
            EXPECT_EQ(StrToIntDef(s, -1), -1);
            try {
                StrToInt(s);
                ADD_FAILURE() << "no exception";
            } catch (const Exception& e) {
                EXPECT_EQ(e.Message, QStringLiteral("'%1' is not a valid integer value").arg(s));
            }
        }
    }
}

TEST(DelphiFormat, StrToFloatTakesOnlyTheLocaleSeparator)
{
    struct Case { char decimal; const char* text; bool ok; Extended value; };
    const Case cases[] = {
        {'.', "1.5", true, 1.5L}, {',', "1,5", true, 1.5L},
        {'.', "1,5", false, 0}, {',', "1.5", false, 0},
        {'.', "  -2.25  ", true, -2.25L}, {'.', "+3", true, 3},
        {'.', "1e3", true, 1000}, {'.', "1.5E-2", true, 0.015L}, {'.', "2E+2", true, 200},
        {'.', ".5", true, 0.5L}, {'.', "5.", true, 5},
        {'.', "", false, 0}, {'.', ".", false, 0}, {'.', "-", false, 0}, {'.', "-.", false, 0},
        {'.', "1e", false, 0}, {'.', "e3", false, 0}, {'.', "1 000", false, 0},
        {'.', "1.2.3", false, 0}, {'.', "1e99999", false, 0}, {'.', "INF", false, 0},
        {'.', "NAN", false, 0}, {'.', "0x10", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TSeparatorScope sep(c.decimal, QChar(0xA0));
        const QString s = QString::fromUtf8(c.text);
        Extended v = -99;
        EXPECT_EQ(TryStrToFloat(s, v), c.ok);
        if (c.ok) {
            EXPECT_EQ(v, c.value);
        } else {
            EXPECT_EQ(v, -99);
            try {
                StrToFloat(s);
                ADD_FAILURE() << "no exception";
            } catch (const Exception& e) {
                EXPECT_EQ(e.Message, QStringLiteral("'%1' is not a valid floating point value").arg(s));
            }
        }
    }
}

TEST(DelphiFormat, DecimalTextReadsExactly)
{
    Extended v = 0;
    ASSERT_TRUE(DecimalTextToFloat(QStringLiteral("0.1"), QLatin1Char('.'), v));
    EXPECT_EQ(v, 0.1L);   // the Extended nearest to 0.1, not the double's
    ASSERT_TRUE(DecimalTextToFloat(QStringLiteral("-412345,678"), QLatin1Char(','), v));
    EXPECT_EQ(v, -412345.678L);
    ASSERT_TRUE(DecimalTextToFloat(QStringLiteral("123456789012345678.9"), QLatin1Char('.'), v));
    EXPECT_EQ(v, 123456789012345678.9L);
    EXPECT_FALSE(DecimalTextToFloat(QStringLiteral("1e3"), QLatin1Char('.'), v));
    EXPECT_FALSE(DecimalTextToFloat(QStringLiteral(" 1"), QLatin1Char('.'), v));
    EXPECT_FALSE(DecimalTextToFloat(QStringLiteral("1,5"), QLatin1Char('.'), v));
}

TEST(DelphiFormat, FixedTextReadsBackToTheSameDigits)
{
    // Every value written with 18 digits and read back writes the same text: the
    // writer and the reader agree to the last digit a plan keeps.
    TSeparatorScope sep(',', QChar(0xA0));
    const Extended values[] = {0.1L, 1.005L, 412345.678L, -7654321.125L, 1.0L / 3,
                               6378137.000001L, 1e-10L, 2e18L};
    for (Extended v : values) {
        const QString text = FloatToFixed(v, 12);
        Extended back = 0;
        ASSERT_TRUE(DecimalTextToFloat(text, DecimalSeparator, back)) << text.toStdString();
        EXPECT_EQ(FloatToFixed(back, 12), text);
    }
}

TEST(DelphiFormat, ConversionsIgnoreTheCLocale)
{
    // Qt's application object hands the user's locale to the C library; a comma locale
    // there must change nothing. Runs only where such a locale is installed.
    const char* names[] = {"ru_RU.UTF-8", "ru_RU.utf8", "de_DE.UTF-8", "de_DE.utf8"};
    const char* found = nullptr;
    const std::string old = std::setlocale(LC_NUMERIC, nullptr);
    for (const char* name : names)
        if (std::setlocale(LC_NUMERIC, name)) {
            found = name;
            break;
        }
    if (!found)
        GTEST_SKIP() << "no comma locale installed";
    TSeparatorScope sep('.', QLatin1Char(','));
    const QString fixed = FloatToFixed(1.005L, 2);
    const QString general = FloatToStr(0.5L);
    Extended v = 0;
    const bool read = TryStrToFloat(QStringLiteral("2.75"), v);
    std::setlocale(LC_NUMERIC, old.c_str());
    EXPECT_EQ(fixed, QStringLiteral("1.01"));
    EXPECT_EQ(general, QStringLiteral("0.5"));
    EXPECT_TRUE(read);
    EXPECT_EQ(v, 2.75L);
}

namespace {

// The 18 digits and the decimal exponent of "d.ddde±x" as to_chars or ffExponent
// write them.
std::pair<std::string, int> DigitsOf(const std::string& text)
{
    std::string digits;
    size_t i = 0;
    for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i)
        if (text[i] >= '0' && text[i] <= '9')
            digits.push_back(text[i]);
    return {digits, std::stoi(text.substr(i + 1))};
}

}  // namespace

TEST(DelphiFormat, EighteenDigitsAgreeWithTheExactDecimalExpansion)
{
    // Guards the integer shortcut for everyday magnitudes against the general path
    // (to_chars of the exact binary value), ties at the 18th digit included.
    std::mt19937_64 random(20240611);
    std::vector<Extended> values = {1234567890123456785.0L, 1234567890123456775.0L,
                                    9223372036854775807.0L, 0.01L, 0.0099999999L,
                                    999999999999999999.5L, 99999999999999999.95L, 1.0L, 0.5L};
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t mantissa = random() | (1ULL << 63);
        const int exponent = static_cast<int>(random() % 90) - 75;
        values.push_back(std::ldexp(static_cast<Extended>(mantissa), exponent));
    }
    for (Extended v : values) {
        char buffer[64];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, v,
                                       std::chars_format::scientific, 17).ptr;
        const auto expected = DigitsOf(std::string(buffer, end));
        const auto actual = DigitsOf(FloatToStrF(v, ffExponent, 18, 0).toStdString());
        ASSERT_EQ(actual, expected) << std::string(buffer, end);
    }
}

TEST(DelphiFormat, ReadingAgreesWithTheCorrectlyRoundedConversion)
{
    // Guards the shortcut of short decimal texts against the general conversion.
    std::mt19937_64 random(77);
    std::vector<std::string> texts = {"9999999999999999999", "0.000000000000000000000000001",
                                      "18446744073709551615", "1.000000000000000000000000005",
                                      "-0.1", "412345.678", "00000.5"};
    for (int i = 0; i < 20000; ++i) {
        const int length = 1 + static_cast<int>(random() % 22);
        std::string digits;
        for (int j = 0; j < length; ++j)
            digits.push_back(static_cast<char>('0' + random() % 10));
        const size_t point = random() % (digits.size() + 1);
        std::string text = digits.substr(0, point) + "." + digits.substr(point);
        if (random() % 2)
            text = "-" + text;
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        Extended expected = 0;
        const auto r = std::from_chars(text.data(), text.data() + text.size(), expected);
        ASSERT_EQ(r.ptr, text.data() + text.size()) << text;
        Extended actual = 0;
        ASSERT_TRUE(DecimalTextToFloat(QString::fromStdString(text), QLatin1Char('.'), actual)) << text;
        ASSERT_EQ(actual, expected) << text;
        ASSERT_EQ(std::signbit(actual), std::signbit(expected)) << text;
    }
}
