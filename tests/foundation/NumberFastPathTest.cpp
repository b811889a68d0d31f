// The one-pass number routines of the plan file's writer and reader against the
// general routines they stand in for: a fast path that writes or reads one digit
// differently would change plan files without any other test noticing.
#include "foundation/DelphiFormat.h"
#include "foundation/StringNum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

class SeparatorScope {
public:
    SeparatorScope(char decimal, QChar thousand)
        : OldDecimal(DecimalSeparator), OldThousand(ThousandSeparator)
    {
        DecimalSeparator = QLatin1Char(decimal);
        ThousandSeparator = thousand;
    }
    ~SeparatorScope()
    {
        DecimalSeparator = OldDecimal;
        ThousandSeparator = OldThousand;
    }

private:
    QChar OldDecimal, OldThousand;
};

// Values of every kind the fast paths meet or must refuse: full 64-bit mantissas over
// a wide range of magnitudes, decimal-looking plan coordinates, exact binary halves
// (the ties of the last kept digit), neighbours of powers of ten, tiny and huge ones.
class TValueSource {
public:
    Extended Next()
    {
        switch (Rng() % 6) {
        case 0: {
            const std::uint64_t m = Rng() | (1ULL << 63);
            const int e = static_cast<int>(Rng() % 140) - 80;
            return Signed(std::ldexp(static_cast<Extended>(m), e - 63));
        }
        case 1: {
            // A coordinate with up to three decimals, as typed by a surveyor.
            const auto units = static_cast<std::int64_t>(Rng() % 100000000000ULL);
            return Signed(static_cast<Extended>(units) / 1000);
        }
        case 2: {
            // k / 2^j: exact, often ending in 5 just past the decimals written.
            const auto k = static_cast<std::int64_t>(Rng() % 100000000ULL);
            return Signed(std::ldexp(static_cast<Extended>(k), -static_cast<int>(Rng() % 12)));
        }
        case 3: {
            // One or two units of the last place away from a power of ten.
            const int p = static_cast<int>(Rng() % 40) - 4;
            Extended v = std::pow(10.0L, static_cast<Extended>(p));
            const int steps = static_cast<int>(Rng() % 5) - 2;
            for (int i = 0; i < std::abs(steps); ++i)
                v = std::nextafter(v, steps < 0 ? 0.0L : INFINITY);
            return Signed(v);
        }
        case 4: {
            // Values whose 18th digit and the digits after it are nines or a five.
            const std::uint64_t digits = 100000000000000000ULL + Rng() % 900000000000000000ULL;
            const std::uint64_t tail = (Rng() % 2) ? digits - digits % 1000 + 999 : digits - digits % 1000 + 500;
            const int e = static_cast<int>(Rng() % 30) - 20;
            return Signed(static_cast<Extended>(tail) * std::pow(10.0L, static_cast<Extended>(e)));
        }
        default:
            return Signed(static_cast<Extended>(Rng() % 4) / 8);   // 0, 0.125, 0.25, 0.375
        }
    }

    std::mt19937_64 Rng{20240612};

private:
    Extended Signed(Extended v) { return (Rng() % 3 == 0) ? -v : v; }
};

// The general path of FloatToFixed, reached through grouping with no group separator.
QString GeneralFixed(Extended v, int decimals, int precision)
{
    const QChar thousand = ThousandSeparator;
    ThousandSeparator = QChar();
    const QString text = FloatToFixed(v, decimals, precision, true);
    ThousandSeparator = thousand;
    return text;
}

TEST(NumberFastPath, FixedTextEqualsTheGeneralPath)
{
    SeparatorScope sep(',', QChar(0xA0));
    TValueSource values;
    int fast = 0;
    for (int i = 0; i < 200000; ++i) {
        const Extended v = values.Next();
        const int decimals = (values.Rng() % 4 == 0) ? static_cast<int>(values.Rng() % 19)
                                                      : static_cast<int>(values.Rng() % 4);
        const int precision = (values.Rng() % 4 == 0) ? 1 + static_cast<int>(values.Rng() % 18) : 16;
        const QString expected = GeneralFixed(v, decimals, precision);
        ASSERT_EQ(FloatToFixed(v, decimals, precision), expected)
            << static_cast<double>(v) << " decimals " << decimals << " precision " << precision;
        char16_t text[FixedCharsRoom];
        const int n = FloatToFixedChars(v, decimals, precision, text);
        if (n >= 0) {
            ++fast;
            ASSERT_EQ(QString(reinterpret_cast<const QChar*>(text), n), expected);
        }
    }
    // The comparison means something only when the fast path took most of the values.
    EXPECT_GT(fast, 100000);
}

TEST(NumberFastPath, PairTextEqualsTheGeneralPath)
{
    SeparatorScope sep('.', QLatin1Char(','));
    TValueSource values;
    for (int i = 0; i < 50000; ++i) {
        const Extended x = values.Next();
        const Extended y = values.Next();
        const QString text[4] = {XYtoString0(x, y), XYtoString1(x, y), XYtoString2(x, y), XYtoString3(x, y)};
        for (int decimals = 0; decimals < 4; ++decimals) {
            ASSERT_EQ(text[decimals], GeneralFixed(x, decimals, 16) + QLatin1Char(' ') +
                                          GeneralFixed(y, decimals, 16));
            char16_t chars[XYCharsRoom];
            const int n = XYtoChars(x, y, decimals, chars);
            if (n >= 0) {
                ASSERT_EQ(QString(reinterpret_cast<const QChar*>(chars), n), text[decimals]);
            }
        }
    }
}

TEST(NumberFastPath, NonFiniteValuesAreLeftToTheGeneralPath)
{
    char16_t text[XYCharsRoom];
    for (const Extended v : {std::numeric_limits<Extended>::infinity(), -std::numeric_limits<Extended>::infinity(),
                             std::numeric_limits<Extended>::quiet_NaN()}) {
        EXPECT_EQ(FloatToFixedChars(v, 2, 16, text), -1);
        EXPECT_EQ(XYtoChars(1, v, 2, text), -1);
        EXPECT_EQ(XYtoChars(v, 1, 2, text), -1);
    }
}

// A number text built from random pieces: mostly well-formed, with every kind of flaw.
QString RandomNumberText(std::mt19937_64& rng)
{
    static const char* const pieces[] = {"0", "1", "5", "9", "12", "000", "410235", "6543210",
                                         "98765432109876543210", ",", ".", "-", "+", " ", "e", "x"};
    QString text;
    const int count = 1 + static_cast<int>(rng() % 6);
    for (int i = 0; i < count; ++i) {
        // Flaws (signs inside, a second separator, letters, blanks) come rarely.
        const std::size_t k = rng() % 8 == 0 ? rng() % 16 : (rng() % 3 == 0 ? 9 + rng() % 2 : rng() % 8);
        if (k == 11 && i == 0 && rng() % 2 == 0)
            text += QLatin1Char('-');
        else
            text += QLatin1String(pieces[k]);
    }
    return text;
}

TEST(NumberFastPath, ShortDecimalReadsAsStrToFlt)
{
    SeparatorScope sep(',', QChar(0xA0));
    std::mt19937_64 rng(77);
    int fast = 0;
    for (int i = 0; i < 100000; ++i) {
        const QString text = RandomNumberText(rng);
        Extended value = 12345;
        if (!ShortDecimalToFloat(text, value)) {
            EXPECT_EQ(value, 12345);
            continue;
        }
        ++fast;
        // StrToFlt's general path, which its own fast path stands in for.
        ASSERT_TRUE(ValidFloat(text, false, true)) << text.toStdString();
        Extended expected = 0;
        ASSERT_TRUE(DecimalTextToFloat(ConvertDecimalSeparator(text), DecimalSeparator, expected))
            << text.toStdString();
        ASSERT_EQ(std::memcmp(&value, &expected, 10), 0) << text.toStdString();
        ASSERT_NO_THROW(expected = StrToFlt(text)) << text.toStdString();
        // Bit for bit, zero's sign included.
        ASSERT_EQ(std::memcmp(&value, &expected, 10), 0) << text.toStdString();
    }
    EXPECT_GT(fast, 10000);
}

TEST(NumberFastPath, StringToXYKeepsResultsAndErrors)
{
    SeparatorScope sep('.', QLatin1Char(','));
    std::mt19937_64 rng(99);
    for (int i = 0; i < 50000; ++i) {
        const QString s = RandomNumberText(rng) + (rng() % 10 ? QStringLiteral(" ") : QString()) +
                          RandomNumberText(rng);
        Extended x = 7;
        Extended y = 8;
        if (ShortStringToXY(s, x, y)) {
            // Both halves well-formed: StringToXY gives the same values.
            Extended sx = 0;
            Extended sy = 0;
            ASSERT_TRUE(StringToXY(s, sx, sy)) << s.toStdString();
            ASSERT_EQ(std::memcmp(&x, &sx, 10), 0) << s.toStdString();
            ASSERT_EQ(std::memcmp(&y, &sy, 10), 0) << s.toStdString();
            const qsizetype blank = s.indexOf(QLatin1Char(' '));
            ASSERT_EQ(x, StrToFlt(s.left(blank)));
            ASSERT_EQ(y, StrToFlt(s.mid(blank + 1)));
        } else {
            EXPECT_EQ(x, 7);
            EXPECT_EQ(y, 8);
        }
    }
}

}  // namespace
