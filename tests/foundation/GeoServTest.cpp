// Angle conversions, the geodetic tasks, segment intersection and the small texts.
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoServ.h"
#include "foundation/GeoTypes.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr Extended Inf = std::numeric_limits<Extended>::infinity();
constexpr Extended NaN = std::numeric_limits<Extended>::quiet_NaN();

// ---- Angle conversions and folding ----

TEST(GeoServ, NormalAngleFoldsIntoClosedCircle)
{
    struct Case { Extended in, out; };
    const Case cases[] = {
        {0, 0},       {360, 360},    {720, 360},   {360.5L, 0.5L}, {-0.5L, 359.5L},
        {-30, 330},   {-360, 0},     {-720, 0},    {1080.25L, 0.25L}, {-1000, 80}};
    for (const Case& c : cases) {
        SCOPED_TRACE(double(c.in));
        EXPECT_EQ(fNormalAngle(c.in), c.out);
        Extended a = c.in;
        pNormalAngle(a);
        EXPECT_EQ(a, c.out);
    }
    EXPECT_FALSE(std::signbit(fNormalAngle(-360)));   // no "-0" angle
}

// Guards the hang of folding by repeated subtraction: a huge angle never changes
// by 360, and an infinite one never ends.
TEST(GeoServ, NormalAngleOfHugeOrInfiniteAngle)
{
    const Extended folded = fNormalAngle(1e30L);
    EXPECT_GT(folded, 0);
    EXPECT_LE(folded, 360);
    const Extended foldedNegative = fNormalAngle(-1e30L);
    EXPECT_GE(foldedNegative, 0);
    EXPECT_LT(foldedNegative, 360);
    EXPECT_THROW(fNormalAngle(Inf), Exception);
    EXPECT_THROW(fNormalAngle(-Inf), Exception);
    EXPECT_THROW(fNormalAngle(NaN), Exception);
}

TEST(GeoServ, GeoToWinAngleAtRangeEndsAndBeyond)
{
    struct Case { Extended ga; TWinAngle wa; };
    const Case cases[] = {
        {0, 900},     {90, 0},      {180, 2700},  {270, 1800},  {360, 900},
        {450, 0},     {400, 500},   {-30, 1200},  {-400, 1300},
        // Past 450 degrees the plain formula came out mirrored (460 gave 100).
        {460, 3500},  {540, 2700},  {810, 0},     {1000, 1700},
        // Halves of a tenth go to the even tenth.
        {0.25L, 898}, {0.75L, 892}, {89.75L, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(double(c.ga));
        EXPECT_EQ(GeoToWinAngle(c.ga), c.wa);
    }
    const TWinAngle far = GeoToWinAngle(1e25L);
    EXPECT_GE(far, 0);
    EXPECT_LE(far, 3599);
    EXPECT_THROW(GeoToWinAngle(Inf), Exception);
}

TEST(GeoServ, WinToGeoAngleAtRangeEndsAndBeyond)
{
    struct Case { TWinAngle wa; Extended ga; };
    const Case cases[] = {
        {900, 0},     {0, 90},      {1800, 270},  {2700, 180},  {3600, 90},
        {4500, 0},    {-100, 100},  {-900, 180},
        // Beyond one turn the plain formula mirrored (4600 gave 10) or left the
        // circle (-3000 gave 390).
        {4600, 350},  {-3000, 30},  {7200, 90},   {-3600, 90}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wa);
        EXPECT_EQ(WinToGeoAngle(c.wa), c.ga);
    }
    EXPECT_NEAR(double(WinToGeoAngle(3599)), 90.1, 1e-12);
    EXPECT_NEAR(double(WinToGeoAngle(901)), 359.9, 1e-12);
    for (const TWinAngle extreme : {INT_MIN, INT_MAX}) {
        const Extended a = WinToGeoAngle(extreme);
        EXPECT_GE(a, 0);
        EXPECT_LT(a, 360);
    }
}

TEST(GeoServ, AnglesSurviveTheRoundTripToTheScreen)
{
    for (TWinAngle wa = 0; wa < 3600; wa += 7)
        EXPECT_EQ(GeoToWinAngle(WinToGeoAngle(wa)), wa) << wa;
}

TEST(GeoServ, WinToGeoCoordTurnsScreenAxesIntoPlanAxes)
{
    Extended x = 3, y = 4;   // 3 right, 4 down the screen
    WinToGeoCoord(x, y);
    EXPECT_EQ(x, -4);        // south
    EXPECT_EQ(y, 3);         // east
}

TEST(GeoServ, DegreesAndRadians)
{
    EXPECT_NEAR(double(GradRad(180)), std::numbers::pi, 1e-15);
    EXPECT_NEAR(double(RadGrad(GradRad(123.456L))), 123.456, 1e-12);
}

TEST(GeoServ, GeoArcTanRunsFromAboveZeroToFullCircle)
{
    struct Case { Extended dy, dx, angle; };
    const Case cases[] = {
        {0, 1, 360}, {1, 0, 90}, {0, -1, 180}, {-1, 0, 270}, {0, 0, 360}, {1, 1, 45},
        {-1, 1, 315}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << double(c.dy) << ", " << double(c.dx));
        EXPECT_NEAR(double(GeoArcTan(c.dy, c.dx)), double(c.angle), 1e-12);
    }
    EXPECT_EQ(GeoArcTan(0, 1), 360);
}

// ---- Traverse angles ----

TEST(GeoServ, TraverseAngles)
{
    EXPECT_EQ(BetRight(10, 100), 90);
    EXPECT_EQ(BetLeft(10, 100), 270);
    struct Case { Extended a1, b; TAngleType at; Extended next; };
    const Case cases[] = {
        {100, 90, atLeft, 10},  {100, 90, atRight, 190}, {10, 90, atLeft, 280},
        {300, 30, atRight, 90}, {0, 180, atLeft, 0},     {180, 0, atRight, 360}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << double(c.a1) << " " << double(c.b) << " " << int(c.at));
        EXPECT_EQ(NextDirAngle(c.a1, c.b, c.at), c.next);
    }
}

TEST(GeoServ, NextDirAngleRefusesAnUnknownSideAndLeavesATrail)
{
    auto savedTrail = std::move(ErrorInfo);
    const auto savedFlag = LogArguments;
    ErrorInfo = std::make_unique<QStringList>();
    LogArguments = 1;
    try {
        NextDirAngle(10, 20, static_cast<TAngleType>(2));
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, QStringLiteral("Неверный параметр"));
    }
    ASSERT_GE(ErrorInfo->size(), 2);
    EXPECT_EQ(ErrorInfo->at(0), QStringLiteral("Module name: GeoServ"));
    EXPECT_TRUE(ErrorInfo->at(1).contains(QStringLiteral("NextDirAngle")));
    EXPECT_TRUE(ErrorInfo->contains(QStringLiteral("at=2")));
    ErrorInfo = std::move(savedTrail);
    LogArguments = savedFlag;
}

// ---- Degrees, minutes, seconds ----

TEST(GeoServ, DegreesMinutesSecondsBothWays)
{
    struct Case { Extended x; int g, m; Extended s; };
    const Case cases[] = {
        {0, 0, 0, 0},         {10.5L, 10, 30, 0},   {-10.5L, -10, -30, 0},
        {30.2575L, 30, 15, 27}, {-30.2575L, -30, -15, -27}, {359.75L, 359, 45, 0},
        {-0.0125L, 0, 0, -45}};
    for (const Case& c : cases) {
        SCOPED_TRACE(double(c.x));
        int g = 99, m = 99;
        Extended s = 99;
        pGG_GMS(g, m, s, c.x);
        EXPECT_EQ(g, c.g);
        EXPECT_EQ(m, c.m);
        EXPECT_NEAR(double(s), double(c.s), 1e-9);
        EXPECT_NEAR(double(fGMS_GG(c.g, c.m, c.s)), double(c.x), 1e-15);
    }
}

// Guards "60" seconds in written angles: the truncated minutes of a binary fraction
// may sit one below, leaving the seconds a hair under 60.
TEST(GeoServ, RoundedSecondsCarryIntoMinutesAndDegrees)
{
    struct Case { Extended x; int decimals; int g, m; Extended s; };
    const Case cases[] = {
        {2.3L, 0, 2, 18, 0},   // the plain split gives 2° 17' 59.99999...″
        {-2.3L, 0, -2, -18, 0},
        {0.1L, 0, 0, 6, 0},
        {10 + 59 / 60.0L + 59.9999L / 3600, 0, 11, 0, 0},
        {-(10 + 59 / 60.0L + 59.9999L / 3600), 0, -11, 0, 0},
        {359.999999999L, 0, 360, 0, 0},
        {10 + 59.999L / 3600, 2, 10, 1, 0},
        {10 + 59.994L / 3600, 2, 10, 0, 59.99L},
        {10 + 12.3456L / 3600, 3, 10, 0, 12.346L},
        {10 + 12.3456L / 3600, -5, 10, 0, 12},      // decimals clamped to 0
        {-0.00001L, 0, 0, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << double(c.x) << " with " << c.decimals);
        int g = 99, m = 99;
        Extended s = 99;
        pGG_GMSRound(g, m, s, c.x, c.decimals);
        EXPECT_EQ(g, c.g);
        EXPECT_EQ(m, c.m);
        EXPECT_NEAR(double(s), double(c.s), 1e-12);
        EXPECT_LT(std::fabs(s), 60);
        EXPECT_FALSE(std::signbit(s) && s == 0) << "negative zero seconds";
    }
}

TEST(GeoServ, DegreesAndDecimalMinutes)
{
    struct Case { Extended x; int g; Extended m; };
    const Case cases[] = {{0, 0, 0}, {10.5L, 10, 30}, {-10.25L, -10, -15}, {0.75L, 0, 45}};
    for (const Case& c : cases) {
        SCOPED_TRACE(double(c.x));
        int g = 99;
        Extended m = 99;
        GG_GM(g, m, c.x);
        EXPECT_EQ(g, c.g);
        EXPECT_EQ(m, c.m);
    }
}

// Guards the overflow of whole degrees into a 32-bit integer.
TEST(GeoServ, DegreePartsRefuseAnglesTheyCannotHold)
{
    int g = 0, m = 0;
    Extended s = 0;
    for (const Extended bad : {1e12L, -1e12L, Inf, NaN}) {
        SCOPED_TRACE(double(bad));
        EXPECT_THROW(pGG_GMS(g, m, s, bad), Exception);
        EXPECT_THROW(pGG_GMSRound(g, m, s, bad, 0), Exception);
        EXPECT_THROW(GG_GM(g, s, bad), Exception);
    }
}

// ---- The inverse and forward tasks ----

TEST(GeoServ, InverseTaskAxisCasesAreExact)
{
    struct Case { Extended x1, y1, x2, y2, dist, angle; };
    const Case cases[] = {
        {0, 0, 0, 5, 5, 90},        {0, 0, 0, -5, 5, 270},     {0, 0, 5, 0, 5, 0},
        {0, 0, -3, 0, 3, 180},      {0, 0, 0, 0, 0, 0},        {100, 200, 100, 200, 0, 0},
        {7.1L, 3.3L, 7.1L, 1.3L, 2, 270}, {7.1L, 3.3L, 9.6L, 3.3L, 2.5L, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << double(c.x2 - c.x1) << ", " << double(c.y2 - c.y1));
        Extended ps = -1, a = -1;
        OGZ(c.x1, c.y1, c.x2, c.y2, ps, a);
        EXPECT_EQ(a, c.angle);
        EXPECT_NEAR(double(ps), double(c.dist), 1e-15);
        TGeoAngle d1 = -1, d2 = -1;
        DirAngle(c.x2 - c.x1, c.y2 - c.y1, d1);
        DirAngle(GeoPoint(c.x1, c.y1), GeoPoint(c.x2, c.y2), d2);
        EXPECT_EQ(d1, c.angle);
        EXPECT_EQ(d2, c.angle);
    }
}

TEST(GeoServ, InverseTaskOffTheAxes)
{
    struct Case { Extended dx, dy, angle; };
    const Case cases[] = {
        {3, 4, 53.13010235415598L}, {-3, 4, 126.86989764584402L},
        {-3, -4, 233.13010235415598L}, {3, -4, 306.86989764584402L}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << double(c.dx) << ", " << double(c.dy));
        Extended ps = 0, a = 0;
        OGZ(10, 20, 10 + c.dx, 20 + c.dy, ps, a);
        EXPECT_NEAR(double(ps), 5, 1e-15);
        EXPECT_NEAR(double(a), double(c.angle), 1e-12);
    }
}

TEST(GeoServ, IntegerInverseTask)
{
    struct Case { int x1, y1, x2, y2, len; Extended angle; };
    const Case cases[] = {
        {0, 0, 0, 5, 5, 90}, {0, 0, 0, -5, 5, 270}, {0, 0, 5, 0, 5, 0}, {0, 0, -3, 0, 3, 180},
        {4, 4, 4, 4, 0, 0},  {0, 0, 3, 4, 5, 53.13010235415598L}, {0, 0, 1, 1, 1, 45},
        {0, 0, 2, -1, 2, 333.43494882292201L}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x2 - c.x1 << ", " << c.y2 - c.y1);
        int len = -1;
        Extended a = -1;
        OGZInt(c.x1, c.y1, c.x2, c.y2, len, a);
        EXPECT_EQ(len, c.len);
        EXPECT_NEAR(double(a), double(c.angle), 1e-12);
    }
}

TEST(GeoServ, Distances)
{
    Extended d = -1;
    Dist(0, 0, 3, 4, d);
    EXPECT_EQ(d, 5);
    Dist(0, 0, 0, 0, d);
    EXPECT_EQ(d, 0);
    Dist(GeoPoint(1, 1), GeoPoint(-2, -3), d);
    EXPECT_EQ(d, 5);
    EXPECT_EQ(Dist(QPoint(0, 0), QPoint(3, 4)), 5);
    EXPECT_EQ(Dist(QPoint(0, 0), QPoint(1, 1)), 1);
    EXPECT_EQ(Dist(QPoint(10, 10), QPoint(12, 13)), 4);   // 3.61
}

TEST(GeoServ, ForwardTask)
{
    Extended x = 0, y = 0;
    PGZ(100, 200, 10, 90, x, y);
    EXPECT_NEAR(double(x), 100, 1e-15);
    EXPECT_NEAR(double(y), 210, 1e-15);
    PGZ(100, 200, 10, 180, x, y);
    EXPECT_NEAR(double(x), 90, 1e-15);
    EXPECT_NEAR(double(y), 200, 1e-15);
    PGZ(100.3L, 200.7L, 0, 123.4L, x, y);   // no distance: the source, exactly
    EXPECT_EQ(x, 100.3L);
    EXPECT_EQ(y, 200.7L);

    PGZ2(1, 2, 10, 0.5L, 0.75L, x, y);
    EXPECT_EQ(x, 8.5L);
    EXPECT_EQ(y, 7);
    PGZ2(1, 2, 0, 0.5L, 0.75L, x, y);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 2);
}

TEST(GeoServ, IntegerForwardTaskRoundsHalvesToEven)
{
    struct Case { int x, y; Extended l, angle; int rx, ry; };
    const Case cases[] = {
        {0, 0, 10, 90, 0, 10}, {5, 5, 10, 45, 12, 12}, {0, 0, 2.5L, 0, 2, 0},
        {0, 0, 3.5L, 0, 4, 0}, {10, 10, 7, 180, 3, 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << double(c.l) << " at " << double(c.angle));
        EXPECT_EQ(PGZInt(c.x, c.y, c.l, c.angle), QPoint(c.rx, c.ry));
    }
}

TEST(GeoServ, RotateCoordTurnsClockwiseAsThePlanIsSeen)
{
    struct Case { Extended x0, y0, dA, x, y, rx, ry; };
    const Case cases[] = {
        {0, 0, 90, 10, 0, 0, 10},   {0, 0, -90, 10, 0, 0, -10}, {0, 0, 180, 10, 0, -10, 0},
        {5, 5, 90, 15, 5, 5, 15},   {0, 0, 45, 0, 10, -7.0710678118654752L, 7.0710678118654752L},
        {0, 0, 360, 3, 4, 3, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << double(c.x) << ", " << double(c.y) << " by "
                                        << double(c.dA));
        Extended x = c.x, y = c.y;
        RotateCoord(c.x0, c.y0, c.dA, x, y);
        EXPECT_NEAR(double(x), double(c.rx), 1e-14);
        EXPECT_NEAR(double(y), double(c.ry), 1e-14);
    }
    Extended x = 5.5L, y = -7.25L;
    RotateCoord(5.5L, -7.25L, 37, x, y);   // on the centre: untouched
    EXPECT_EQ(x, 5.5L);
    EXPECT_EQ(y, -7.25L);
}

// ---- Intersections ----

TEST(GeoServ, RangeLineIntersectStatuses)
{
    struct Case {
        const char* what;
        Extended x1, y1, x2, y2, x3, y3, x4, y4;
        TIntersectStatus status;
        Extended xr, yr;
    };
    const Case cases[] = {
        {"apart", 0, 0, 1, 0, 2, -1, 2, 1, isNone, 0, 0},
        {"lines cross beyond segment 2", 0, 0, 4, 0, 2, 1, 2, 3, isNone, 0, 0},
        {"parallel", 0, 0, 1, 0, 0, 1, 1, 1, isParallel, 0, 0},
        {"pieces of one line", 0, 0, 1, 0, 2, 0, 3, 0, isCollinear, 0, 0},
        {"overlapping on one line", 0, 0, 2, 2, 1, 1, 3, 3, isCollinear, 0, 0},
        {"same order", 0, 0, 1, 2, 0, 0, 1, 2, isSame, 0, 0},
        {"reversed", 0, 0, 1, 2, 1, 2, 0, 0, isSame, 0, 0},
        {"proper crossing", 0, 0, 2, 2, 0, 2, 2, 0, isCross, 1, 1},
        {"shared end point", 0, 0, 1, 1, 1, 1, 2, 0, isEndCross, 1, 1},
        {"T at segment 2's start", 0, 0, 2, 0, 1, 0, 1, 5, isEndCross, 1, 0},
        {"T at segment 1's end", 1, 5, 1, 0, 0, 0, 2, 0, isEndCross, 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Extended xr = 77, yr = 77;
        EXPECT_EQ(RangeLineIntersect(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x4, c.y4, xr, yr),
                  c.status);
        EXPECT_EQ(xr, c.xr);
        EXPECT_EQ(yr, c.yr);
    }
}

TEST(GeoServ, PointInLineRangeTolerance)
{
    EXPECT_TRUE(PointInLineRange(5, 0, 0, 0, 10, 0, 0.001L));
    EXPECT_TRUE(PointInLineRange(50, 0.1L, 0, 0, 100, 0, 0.001L));   // 0.1 m off a 100 m edge
    EXPECT_FALSE(PointInLineRange(50, 1, 0, 0, 100, 0, 0.001L));
    EXPECT_FALSE(PointInLineRange(11, 0, 0, 0, 10, 0, 0.001L));      // beyond the end
    EXPECT_FALSE(PointInLineRange(5, 0, 0, 0, 10, 0, 0));            // strictly less
}

// Guards the pick square's edges: a segment through two of its corners (every edge met
// at an end point only) or along an edge was never picked.
TEST(GeoServ, SegmentCrossesGeoRectWhereverItMeetsAnEdge)
{
    const TGeoRect square = {GeoPoint(0, 0), GeoPoint(0, 10), GeoPoint(10, 10), GeoPoint(10, 0)};
    struct Case { const char* what; TGeoPoint p1, p2; bool crosses; };
    const Case cases[] = {
        {"leaves through an edge", GeoPoint(5, 5), GeoPoint(5, 15), true},
        {"passes right through", GeoPoint(-5, 3), GeoPoint(15, 4), true},
        {"wholly inside", GeoPoint(2, 2), GeoPoint(3, 3), false},
        {"wholly outside", GeoPoint(20, 20), GeoPoint(30, 20), false},
        {"outside, beside an edge", GeoPoint(-1, -5), GeoPoint(-1, 15), false},
        {"ends on an edge", GeoPoint(5, 5), GeoPoint(5, 10), true},
        {"touches a corner", GeoPoint(-5, -5), GeoPoint(0, 0), true},
        {"diagonal through the corners", GeoPoint(-1, -1), GeoPoint(11, 11), true},
        {"the other diagonal", GeoPoint(12, -2), GeoPoint(-2, 12), true},
        {"along an edge past both corners", GeoPoint(0, -5), GeoPoint(0, 15), true},
        {"along an edge, inside it", GeoPoint(10, 2), GeoPoint(10, 8), true},
        {"on an edge's line beyond its end", GeoPoint(0, 12), GeoPoint(0, 20), false},
        {"an edge itself", GeoPoint(0, 10), GeoPoint(0, 0), true},
        {"a zero-length segment on an edge", GeoPoint(4, 10), GeoPoint(4, 10), true},
        {"a zero-length segment inside", GeoPoint(4, 4), GeoPoint(4, 4), false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SegmentCrossesGeoRect(c.p1, c.p2, square), c.crosses);
        EXPECT_EQ(SegmentCrossesGeoRect(c.p1.X, c.p1.Y, c.p2.X, c.p2.Y, square), c.crosses);
        EXPECT_EQ(SegmentCrossesGeoRect(c.p2, c.p1, square), c.crosses);
    }
}

// ---- Texts ----

TEST(GeoServ, IntToStrFPadsOrCuts)
{
    struct Case { Int64 v; int digits; const char* text; };
    const Case cases[] = {
        {7, 3, "007"},    {-7, 2, "07"},  {12345, 3, "123"}, {12345, 5, "12345"},
        {0, 1, "0"},      {0, 3, "000"},  {5, 0, ""},        {5, -2, ""},
        {LLONG_MIN, 20, "09223372036854775808"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.v << " in " << c.digits);
        EXPECT_EQ(IntToStrF(c.v, c.digits), QString::fromLatin1(c.text));
    }
}

TEST(GeoServ, SemExtToStrNamesAndCodes)
{
    struct Case { int ext; const char* name; const char* code; };
    const Case cases[] = {
        {seM, "Материал", "М"},   {seS, "Состояние", "С"}, {seGH, "Ширина", "ГШ"},
        {seTG, "Грузоподъемность", "ТГ"}, {seTP, "Течение", "ТП"}, {seII, "Имя", "ИИ"},
        {seIV, "Отметка", "ИВ"},  {seIN, "Номер", "ИН"},   {23, "", ""}, {255, "", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ext);
        const auto ext = static_cast<TSemExt>(c.ext);
        EXPECT_EQ(SemExtToStr(ext, true), QString::fromUtf8(c.name));
        EXPECT_EQ(SemExtToStr(ext, false), QString::fromUtf8(c.code));
    }
    QStringList codes;
    for (int i = 0; i < SemExtCount; ++i)
        codes << SemExtToStr(static_cast<TSemExt>(i), false);
    EXPECT_EQ(codes.join(QLatin1Char(' ')),
              QStringLiteral("М С ГВ ГР ГТ ГГ ГП ГШ ГД ГС ГО ТГ ТС ТР ТП ТД ТН ТК ИД ИИ ИВ ИТ ИН"));
}

}  // namespace
