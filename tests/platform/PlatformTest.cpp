#include "platform/Platform.h"

#include "support/TestHelpers.h"

#include <QLocale>
#include <gtest/gtest.h>

TEST(Platform, RoundsHalvesToEven)
{
    struct Case { Extended in; Int64 out; };
    const Case cases[] = {{0.5L, 0}, {1.5L, 2}, {2.5L, 2}, {-0.5L, 0}, {-1.5L, -2},
                          {2.4999L, 2}, {2.5001L, 3}, {-2.6L, -3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(double(c.in));
        EXPECT_EQ(Round(c.in), c.out);
    }
    EXPECT_EQ(Trunc(-2.9L), -2);
    EXPECT_EQ(Trunc(2.9L), 2);
}

TEST(Platform, SeparatorsFromTheLocale)
{
    const TSeparatorScope restore(DecimalSeparator, ThousandSeparator);
    struct Case { const char* locale; char16_t dec; char16_t group; };
    const Case cases[] = {
        {"ru_RU", u',', 0x00A0}, {"en_US", u'.', u','}, {"de_DE", u',', u'.'},
        {"de_CH", u'.', 0x2019},
        {"fr_FR", u',', 0x00A0},   // the narrow no-break space has no place in code page 1251
        {"ar_EG", u'.', 0x00A0},   // Arabic marks: "." and the no-break space
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale);
        InitSeparatorsFromLocale(QLocale(QString::fromLatin1(c.locale)));
        EXPECT_EQ(DecimalSeparator, QChar(c.dec));
        EXPECT_EQ(ThousandSeparator, QChar(c.group));
    }
}
