// Pure rules of the dialog base: placement, the height rule, mask translation, scales.
#include "foundation/ui/DialogBase.h"
#include "foundation/ui/MaskEdit.h"
#include "foundation/ui/ServDialogsWindows.h"

#include <gtest/gtest.h>

TEST(DialogsPlacement, CentreOnThePointer)
{
    EXPECT_EQ(CentredOn(QPoint(500, 400), QSize(357, 67)), QPoint(500 - 178, 400 - 34));
    EXPECT_EQ(CentredOn(QPoint(500, 400), QSize(358, 86)), QPoint(500 - 179, 400 - 43));
    EXPECT_EQ(CentredOn(QPoint(0, 0), QSize(100, 50)), QPoint(-50, -25));
}

TEST(DialogsPlacement, PushedBackOnlyAcrossRightAndBottom)
{
    struct Case {
        const char* name;
        QPoint in;
        QPoint out;
    };
    const QRect workArea(0, 0, 1024, 738);
    const QSize window(300, 100);
    const Case cases[] = {
        {"inside", QPoint(100, 100), QPoint(100, 100)},
        {"past the right edge", QPoint(900, 100), QPoint(724, 100)},
        {"past the bottom edge", QPoint(100, 700), QPoint(100, 638)},
        {"past both", QPoint(1000, 730), QPoint(724, 638)},
        {"ending exactly at the edges", QPoint(724, 638), QPoint(724, 638)},
        // Left of or above the work area stays where it is.
        {"left of it", QPoint(-40, 100), QPoint(-40, 100)},
        {"above it", QPoint(100, -30), QPoint(100, -30)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PushBackIntoWorkArea(c.in, window, workArea), c.out);
    }
    // A work area that does not start at 0 (a second screen, a panel on the left).
    EXPECT_EQ(PushBackIntoWorkArea(QPoint(2100, 100), window, QRect(1024, 0, 1280, 1000)),
              QPoint(2004, 100));
}

TEST(DialogsPlacement, CentreOfAnArea)
{
    EXPECT_EQ(CentredIn(QRect(0, 0, 1024, 768), QSize(363, 162)), QPoint(330, 303));
    EXPECT_EQ(CentredIn(QRect(0, 0, 100, 100), QSize(301, 301)), QPoint(-100, -100));
}

TEST(DialogsPlacement, HeightRule)
{
    // Three lines make the window three text lines taller than an empty message.
    EXPECT_EQ(MessageWindowHeight(3, 13, 50) - MessageWindowHeight(0, 13, 50), 3 * 13);
    EXPECT_EQ(MessageWindowHeight(0, 13, 50), 63);
    EXPECT_EQ(MessageWindowHeight(2, 13, 125), 164);
}

TEST(DialogsMask, TranslationToQtMasks)
{
    struct Case {
        const char* delphi;
        const char* qt;
        bool saveLiterals;
        char blank;
    };
    const Case cases[] = {
        // "0" is a required digit, "9" an optional one: the reverse of Qt.
        {"000->L;1;_", "999->A;_", true, '_'},
        {"\\1\\:9999999;1; ", "1:0000000; ", true, ' '},
        {">lll;0;*", ">aaa;*", false, '*'},
        {"AaCc#", "NnXx#;_", true, '_'},
        {"<>ll<L", "!aa<A;_", true, '_'},
        // Fixed characters that Qt would read as mask characters are escaped.
        {"HDx-0", "\\H\\D\\x-9;_", true, '_'},
        {"!99_99", "00 00;_", true, '_'},
        {"", "", true, '_'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.delphi);
        const TDelphiMask m = TranslateDelphiMask(QString::fromUtf8(c.delphi));
        EXPECT_EQ(m.InputMask, QString::fromUtf8(c.qt));
        EXPECT_EQ(m.SaveLiterals, c.saveLiterals);
        EXPECT_EQ(m.Blank, QLatin1Char(c.blank));
    }
}

TEST(DialogsMask, EditGivesTextInTheOriginalForm)
{
    struct Case {
        const char* mask;
        QString typed;
        QString text;
    };
    const Case cases[] = {
        {"000->L;1;_", QStringLiteral("123а"), QStringLiteral("123-А")},   // Cyrillic passes
        {"000->L;1;_", QStringLiteral("12"), QStringLiteral("12 - ")},
        {"\\1\\:9999999;1; ", QStringLiteral("1:500"), QStringLiteral("1:500    ")},
        {"\\1\\:9999999;1; ", QStringLiteral("1:1234567"), QStringLiteral("1:1234567")},
        {"00-00;0;_", QStringLiteral("12-34"), QStringLiteral("1234")},
        // Without fixed characters the unfilled end is dropped: guards a two-letter or
        // empty code that read as three characters and passed the length check.
        {">lll;0;*", QStringLiteral("кд"), QStringLiteral("КД")},
        {">lll;0;*", QString(), QString()},
        {">999;0;*", QStringLiteral("12"), QStringLiteral("12")},
        {"00-00;0;_", QStringLiteral("12-3"), QStringLiteral("123")},
        {"00-00;0;_", QStringLiteral("1234"), QStringLiteral("1234")},   // as Text gave it
        {"", QStringLiteral("free text"), QStringLiteral("free text")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        TMaskEdit edit;
        edit.SetEditMask(QString::fromUtf8(c.mask));
        edit.SetText(c.typed);
        EXPECT_EQ(edit.Text(), c.text);
    }
}

TEST(DialogsScale, DenominatorFromTheScaleText)
{
    struct Case {
        QString text;
        bool ok;
        int denominator;
    };
    const Case cases[] = {
        {QStringLiteral("1:1234567"), true, 1234567},
        {QStringLiteral("1:500    "), true, 500},
        {QStringLiteral("1:5 0    "), true, 5},          // up to the first blank
        {QStringLiteral("1:0500   "), true, 500},
        {QStringLiteral("1:       "), false, -1},        // no digit: no scale
        {QStringLiteral("1:0      "), false, -1},        // a scale is 1 or more
        {QStringLiteral("1:0000000"), false, -1},
        {QStringLiteral("2:500    "), false, -1},
        {QString(), false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        int denominator = -1;
        EXPECT_EQ(ScaleFromText(c.text, denominator), c.ok);
        EXPECT_EQ(denominator, c.denominator);
    }
}
