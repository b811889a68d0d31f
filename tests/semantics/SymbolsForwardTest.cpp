// The forward task of the sign placements with its directions kept gives PGZ's result
// to the last bit: angles met once and again, more of them than the table holds (so
// entries are replaced and met again), the axis directions, 0 and -0, a zero length and
// plan coordinates.
#include "semantics/signs/SymbolsForward.h"

#include "foundation/GeoServ.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

// The same long double: equal and of the same sign, or both NaN.
bool Same(Extended a, Extended b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

}  // namespace

TEST(SignForward, EveryPlacementIsPGZsToTheLastBit)
{
    std::mt19937 random(72);
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<Extended> angles = {0, -0.0L, 90, 180, 270, 360, 45, 1e-30L, 359.99999999L,
                                    std::numeric_limits<Extended>::quiet_NaN()};
    // Directions as the placements work them out: sums of a picture's bearings and a
    // segment's direction, folded; far more than the table holds.
    for (int i = 0; i < 10000; ++i)
        angles.push_back(fNormalAngle(Extended(unit(random)) * 360 + Extended(unit(random)) * 360 - 90));
    const Extended lengths[] = {0, 0.5L, 1.2345678901234L, 250, 1e-9L};
    long long compared = 0;
    for (int pass = 0; pass < 3; ++pass)
        for (const Extended a : angles)
            for (const Extended line : lengths) {
                const Extended x0 = 410500.125L + Extended(unit(random)), y0 = 1320500.5L;
                Extended x1 = 0, y1 = 0, x2 = 0, y2 = 0;
                PGZ(x0, y0, line, a, x1, y1);
                SignPGZ(x0, y0, line, a, x2, y2);
                ++compared;
                if (!Same(x1, x2) || !Same(y1, y2))
                    ADD_FAILURE() << "angle " << double(a) << ", length " << double(line);
                Extended s = 0, c = 0;
                SignSinCos(a, s, c);
                if (!Same(s, std::sin(GradRad(a))) || !Same(c, std::cos(GradRad(a))))
                    ADD_FAILURE() << "sine and cosine of " << double(a);
            }
    EXPECT_EQ(compared, 3 * 10010 * 5);
}
