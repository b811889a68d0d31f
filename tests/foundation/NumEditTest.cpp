// The number edit: what typed texts leave in the edit and read as, under its options.
#include "foundation/ui/NumEdit.h"

#include "support/TestHelpers.h"

#include <gtest/gtest.h>

namespace {

// Separators of a test run, restored afterwards.
class NumEditTest : public ::testing::Test {
protected:
    TSeparatorScope Separators{u'.', u' '};
};

enum TOptions : unsigned {
    None = 0,
    NotFloat = 1,        // ClearTextIFValueNotFloat
    NotInteger = 2,      // ClearTextIFValueNotInteger
    Restore = 4,         // ClearAndChangeToOldValue
    UniDec = 8,          // UniversalDecimalSeparator
    UniThousand = 16,    // UniversalThousandSeparator
    Precision2 = 32,     // EnableFloatPrecision with 2 decimals
};

void Apply(TNumEdit& edit, unsigned options)
{
    edit.ClearTextIFValueNotFloat = options & NotFloat;
    edit.ClearTextIFValueNotInteger = options & NotInteger;
    edit.ClearAndChangeToOldValue = options & Restore;
    edit.UniversalDecimalSeparator = options & UniDec;
    edit.UniversalThousandSeparator = options & UniThousand;
    edit.EnableFloatPrecision = options & Precision2;
    edit.SetNumberOfDecimalDigits(2);
}

}  // namespace

TEST_F(NumEditTest, TypedTextsUnderOptions)
{
    struct Case {
        unsigned options;
        const char* before;   // the text typed first (a valid value to come back to)
        const char* typed;
        const char* shown;    // what the edit holds afterwards
        bool existInteger, existFloat;
        int integer;
        double real;
    };
    const Case cases[] = {
        // No options: anything stays, invalid text reads as 0.
        {None, "", "abc", "abc", false, false, 0, 0},
        {None, "", "12", "12", true, true, 12, 12},
        {None, "", "-7", "-7", true, true, -7, -7},
        {None, "", "+7", "+7", true, true, 7, 7},
        {None, "", "2,5", "2,5", false, false, 0, 0},   // "," is no separator here
        {None, "", "1e5", "1e5", false, false, 0, 0},   // no exponent
        // A real edit wipes what is no real, but lets a sign alone stand.
        {NotFloat, "1", "1a", "", false, false, 0, 0},
        {NotFloat, "", "-", "-", false, false, 0, 0},
        {NotFloat, "", "+", "+", false, false, 0, 0},
        {NotFloat, "", "12.5", "12.5", false, true, 0, 12.5},
        // "-." is on its way to a number: it stays and reads as 0 without raising.
        {NotFloat, "", "-.", "-.", false, true, 0, 0},
        {NotFloat, "", ".5", ".5", false, true, 0, 0.5},
        // A separator typed last still reads as the number before it.
        {NotFloat, "", "5.", "5.", false, true, 0, 5},
        {NotFloat | UniDec, "", "-12,", "-12,", false, true, 0, -12},
        // With restore, the last valid value comes back in the edit's format.
        {NotFloat | Restore, "1.5", "1.5x", "1.5", false, true, 0, 1.5},
        {NotFloat | Restore | Precision2, "3.14159", "3.14159q", "3.14", false, true, 0, 3.14},
        {NotFloat | Restore, "", "x", "0", true, true, 0, 0},
        // Either separator on request.
        {NotFloat | UniDec, "", "2,5", "2,5", false, true, 0, 2.5},
        {NotFloat | UniDec, "", "2.5", "2.5", false, true, 0, 2.5},
        {NotFloat | UniDec, "", "2.5,1", "", false, false, 0, 0},
        // An integer edit.
        {NotInteger, "", "12.5", "", false, false, 0, 0},
        {NotInteger, "", "2147483647", "2147483647", true, true, 2147483647, 2147483647.0},
        {NotInteger, "", "2147483648", "", false, false, 0, 0},
        {NotInteger, "", "-2147483648", "-2147483648", true, true, -2147483647 - 1, -2147483648.0},
        {NotInteger | Restore, "12", "12.5", "12", true, true, 12, 12},
        {NotInteger, "", "-", "-", false, false, 0, 0},
        // Thousand separators when allowed.
        {UniThousand, "", "1 234", "1 234", true, true, 1234, 1234},
        {None, "", "1 234", "1 234", false, false, 0, 0},
        {NotFloat | UniThousand | UniDec, "", "1 234,5", "1 234,5", false, true, 0, 1234.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.before) + " -> " + c.typed);
        TNumEdit edit;
        Apply(edit, c.options);
        edit.setText(QString::fromUtf8(c.before));
        edit.setText(QString::fromUtf8(c.typed));
        EXPECT_EQ(edit.text(), QString::fromUtf8(c.shown));
        EXPECT_EQ(edit.ExistIntegerValue(), c.existInteger);
        EXPECT_EQ(edit.ExistFloatValue(), c.existFloat);
        EXPECT_EQ(edit.IntegerValue(), c.integer);
        EXPECT_NEAR(double(edit.FloatValue()), c.real, 1e-12);
    }
}

TEST_F(NumEditTest, FloatValueIsWrittenInFixedNotation)
{
    struct Case {
        unsigned options;
        QChar decimal;
        long double value;
        const char* shown;
    };
    const Case cases[] = {
        {Precision2, QLatin1Char('.'), 3.14159L, "3.14"},
        {Precision2, QLatin1Char(','), 3.14159L, "3,14"},
        {Precision2, QLatin1Char('.'), -0.001L, "0.00"},
        {None, QLatin1Char('.'), 1.5L, "1.5"},
        {None, QLatin1Char(','), 1.5L, "1,5"},
        // Never an exponent: such a text would not read back.
        {None, QLatin1Char('.'), 1e-12L, "0.000000000001"},
        {None, QLatin1Char('.'), 1e20L, "100000000000000000000"},
        {None, QLatin1Char('.'), 0.1L + 0.2L, "0.3"},
        {None, QLatin1Char('.'), 123456789.123456789L, "123456789.123457"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        DecimalSeparator = c.decimal;
        TNumEdit edit;
        Apply(edit, c.options);
        edit.SetFloatValue(c.value);
        EXPECT_EQ(edit.text(), QString::fromUtf8(c.shown));
    }
}

TEST_F(NumEditTest, ThousandsAreGroupedWithFixedDecimals)
{
    TNumEdit edit;
    edit.EnableFloatPrecision = true;
    edit.NumberOfDecimalDigits = 2;
    edit.EnableThousandInFloat = true;
    edit.SetFloatValue(1234567.891L);
    EXPECT_EQ(edit.text(), QStringLiteral("1 234 567.89"));
}

TEST_F(NumEditTest, IntegerEditTakesNoReals)
{
    TNumEdit edit;
    edit.ClearTextIFValueNotInteger = true;
    edit.SetIntegerValue(42);
    edit.SetFloatValue(3.5L);
    EXPECT_EQ(edit.text(), QStringLiteral("42"));
    EXPECT_EQ(edit.IntegerValue(), 42);
}

TEST_F(NumEditTest, ReadingAnIntegerEditWipesAReal)
{
    TNumEdit edit;
    edit.setText(QStringLiteral("12.5"));
    edit.ClearTextIFValueNotInteger = true;   // set after the text, as a layout may
    EXPECT_EQ(edit.IntegerValue(), 0);
    EXPECT_EQ(edit.text(), QString());
}

TEST_F(NumEditTest, ChangeEventFiresOnceAfterTheRestore)
{
    TNumEdit edit;
    edit.ClearTextIFValueNotFloat = true;
    edit.ClearAndChangeToOldValue = true;
    edit.setText(QStringLiteral("7"));
    QStringList seen;
    QObject::connect(&edit, &TNumEdit::Changed, [&] { seen.append(edit.text()); });
    edit.setText(QStringLiteral("7z"));
    EXPECT_EQ(seen, QStringList{QStringLiteral("7")});
    EXPECT_EQ(edit.LastFloatValue(), 7);
}

TEST_F(NumEditTest, HugeTextReadsAsZeroWithoutRaising)
{
    // Guards the conversion of a valid-looking text beyond the range of the real type.
    TNumEdit edit;
    edit.ClearTextIFValueNotFloat = true;
    const QString huge = QString(6000, QLatin1Char('9'));
    edit.setText(huge);
    EXPECT_TRUE(edit.ExistFloatValue());
    EXPECT_EQ(edit.FloatValue(), 0);
    EXPECT_EQ(edit.text(), huge);
}
