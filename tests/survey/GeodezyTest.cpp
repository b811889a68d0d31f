// The survey tools' double-precision geodetic routines: angle reduction, the next
// direction angle, the direction of an increment, the two tasks and the text helpers,
// with their wrong-mode messages caught instead of shown.
#include "SurveyTestSupport.h"
#include "platform/Platform.h"
#include "survey/Geodezy.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace Geodezy;

namespace {

constexpr double Eps = 1e-9;

TEST(Geodezy, NormAngleKeepsTheRangeWith360Included)
{
    struct Case {
        double in, out;
    } cases[] = {{-360, 0}, {720, 360}, {360, 360}, {0, 0}, {-30, 330}, {725, 5},
                 {3.6e9, 360}, {-3.6e9 - 30, 330}};
    for (const Case& c : cases)
        EXPECT_NEAR(NormAngle(c.in), c.out, Eps) << c.in;
    // A huge angle must not hang the stepping by 360.
    for (const double huge : {1e300, -1e300, 1e17 + 3}) {
        const double a = NormAngle(huge);
        EXPECT_TRUE(a >= 0 && a <= 360) << huge;
    }
    EXPECT_EQ(NormNegative(-30), 330);
    EXPECT_EQ(NormNegative(725), 725);
}

TEST(Geodezy, NextDirAngleFromLeftAndRightAngles)
{
    TMessages messages;
    struct Case {
        double a1, a2;
        char lr;
        double out;
    } cases[] = {{350, 30, 'L', 200}, {10, 30, 'R', 160}, {180, 360, 'L', 360},
                 {350, 30, 'R', 140}, {0, 0, 'L', 180}};
    for (const Case& c : cases)
        EXPECT_NEAR(NextDirAngle(c.a1, c.a2, QChar(c.lr)), c.out, Eps)
            << c.a1 << " " << c.a2 << " " << c.lr;
    EXPECT_TRUE(messages.Shown.isEmpty());
}

TEST(Geodezy, NextDirAngleWithAWrongCharacterSaysSoAndTakesALeftAngle)
{
    TMessages messages;
    EXPECT_NEAR(NextDirAngle(350, 30, QChar('x')), 200, Eps);
    ASSERT_EQ(messages.Shown.size(), 1);
    const QString text = QStringLiteral(
        "Ошибка в модуле Geodezy- функция NextDirAngle - аргумент 3 должен быть \"L\" или "
        "\"R\"; передано значение: x\"");
    EXPECT_TRUE(messages.Shown[0].endsWith(QStringLiteral("|") + text)) << messages.Shown[0].toStdString();
    EXPECT_EQ(LastMessage(), text);
}

TEST(Geodezy, RumbDirectOnTheAxesAndInEachQuadrant)
{
    TMessages messages;
    const double pi = std::acos(-1.0);
    struct Case {
        double dy, dx, out;
    } cases[] = {{0, 5, 0},        {5, 0, pi / 2},   {0, -5, pi},        {-5, 0, 3 * pi / 2},
                 {4, 3, std::atan2(4.0, 3.0)},       {4, -3, std::atan2(4.0, -3.0)},
                 {-4, -3, 2 * pi + std::atan2(-4.0, -3.0)},
                 {-4, 3, 2 * pi + std::atan2(-4.0, 3.0)}};
    for (const Case& c : cases)
        EXPECT_NEAR(Rumb_Direct(c.dy, c.dx), c.out, Eps) << c.dy << " " << c.dx;
    EXPECT_TRUE(messages.Shown.isEmpty());

    EXPECT_EQ(Rumb_Direct(0, 0), 0);
    ASSERT_EQ(messages.Shown.size(), 1);
    EXPECT_TRUE(messages.Shown[0].endsWith(QStringLiteral(
        "Ошибка в модуле Geodezy- функция Rumb_Direct - оба аргумента не должны быть = "
        "\"0\" \"")));
}

// The 3-4-5 triangle in every quadrant, against atan2, both ways round.
TEST(Geodezy, InverseAndForwardTasksAgreeWithAtan2)
{
    TMessages messages;
    const int signs[4][2] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
    for (const auto& q : signs) {
        const double dxIn = 3.0 * q[0], dyIn = 4.0 * q[1];
        double expected = std::atan2(dyIn, dxIn) * 180 / std::acos(-1.0);
        if (expected < 0)
            expected += 360;
        double s, alfa = -1, dx, dy;
        OGZ(100, 200, QChar('G'), 100 + dxIn, 200 + dyIn, s, alfa, dx, dy);
        EXPECT_NEAR(s, 5, Eps);
        EXPECT_NEAR(alfa, expected, 1e-9) << dxIn << " " << dyIn;
        EXPECT_NEAR(dx, dxIn, Eps);
        EXPECT_NEAR(dy, dyIn, Eps);

        double radians;
        OGZ(100, 200, QChar('R'), 100 + dxIn, 200 + dyIn, s, radians, dx, dy);
        EXPECT_NEAR(radians, DegreesToRadians(expected), 1e-12);

        double x2, y2;
        PGZ(100, 200, 5, expected, QChar('G'), x2, y2, dx, dy);
        EXPECT_NEAR(x2, 100 + dxIn, 1e-9);
        EXPECT_NEAR(y2, 200 + dyIn, 1e-9);
        PGZ(100, 200, 5, radians, QChar('R'), x2, y2, dx, dy);
        EXPECT_NEAR(dx, dxIn, 1e-9);
        EXPECT_NEAR(dy, dyIn, 1e-9);
    }
    EXPECT_TRUE(messages.Shown.isEmpty());
}

TEST(Geodezy, InverseTaskEqualPointsAndAWrongMode)
{
    TMessages messages;
    double s = 7, alfa = 7, dx = 7, dy = 7;
    OGZ(5, 5, QChar('G'), 5, 5, s, alfa, dx, dy);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(alfa, 0);
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);
    EXPECT_TRUE(messages.Shown.isEmpty());

    alfa = 123;
    OGZ(0, 0, QChar('X'), 3, 4, s, alfa, dx, dy);
    EXPECT_EQ(alfa, 123);
    EXPECT_EQ(s, 5);
    EXPECT_EQ(dx, 3);
    EXPECT_EQ(dy, 4);
    ASSERT_EQ(messages.Shown.size(), 1);
    EXPECT_TRUE(messages.Shown[0].endsWith(QStringLiteral(
        "процедура OGZ - аргумент 3 должен быть \"G\" или \"R\"; передано значение: X\"")));
}

TEST(Geodezy, ForwardTaskWithAWrongModeTakesDegrees)
{
    TMessages messages;
    double x2, y2, dx, dy;
    PGZ(100, 100, 10, 90, QChar('q'), x2, y2, dx, dy);
    EXPECT_NEAR(x2, 100, 1e-9);
    EXPECT_NEAR(y2, 110, 1e-9);
    ASSERT_EQ(messages.Shown.size(), 1);
    EXPECT_TRUE(messages.Shown[0].endsWith(QStringLiteral(
        "процедура PGZ - аргумент 5 должен быть \"G\" или \"R\"; передано значение: q\"")));
}

TEST(Geodezy, DegreeConversions)
{
    struct Case {
        double x;
        int g, m;
        double s;
    } cases[] = {{-1.5, -1, -30, 0}, {0, 0, 0, 0}, {10.5125, 10, 30, 45}, {-0.25, 0, -15, 0}};
    for (const Case& c : cases) {
        int g = 99, m = 99;
        double s = 99;
        DegreesToGMS(g, m, s, c.x);
        EXPECT_EQ(g, c.g) << c.x;
        EXPECT_EQ(m, c.m) << c.x;
        EXPECT_NEAR(s, c.s, 1e-6) << c.x;
    }
    EXPECT_NEAR(GMSToDegrees(10, 30, 45), 10.5125, Eps);
    EXPECT_NEAR(GMToDegrees(10, 30.75), 10.5125, Eps);
    EXPECT_NEAR(RadiansToDegrees(DegreesToRadians(123.456)), 123.456, 1e-12);
    EXPECT_NEAR(Tangent(DegreesToRadians(45)), 1, 1e-15);
}

TEST(Geodezy, DigitsAndDecimalSeparator)
{
    EXPECT_FALSE(AllDigits(QString()));
    EXPECT_FALSE(AllDigits(QStringLiteral("12a")));
    EXPECT_TRUE(AllDigits(QStringLiteral("007")));

    const QChar saved = DecimalSeparator;
    struct Case {
        char separator;
        const char *in, *out;
    } cases[] = {{',', "12.5", "12,5"}, {',', "12.", "12,"}, {',', "1,5", "1,5"},
                 {'.', "12,5", "12.5"}, {'.', ",", "."},     {'.', "a,b.c", "a.b.c"}};
    for (const Case& c : cases) {
        DecimalSeparator = QLatin1Char(c.separator);
        QString r = QStringLiteral("old");
        FixDecimalSeparator(QString::fromLatin1(c.in), r);
        EXPECT_EQ(r, QString::fromLatin1(c.out)) << c.in;
    }
    DecimalSeparator = saved;
}

} // namespace
