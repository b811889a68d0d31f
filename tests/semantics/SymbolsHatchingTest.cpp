// Slope hatching: the step walk with its carried remainder, the five hatching kinds over
// the outline state of an area, and the guards against unusable steps and floods of
// strokes. The hatch picture draws its own plain line, so each stroke is one line of the
// area's picture. X runs north, Y east; at 1:500 a sign millimetre is half a metre.
#include "SignTestSupport.h"

#include "foundation/GeoDataObjectsPolygons.h"

#include <chrono>
#include <vector>

namespace {

struct TStroke {
    double X1, Y1, X2, Y2;
};

std::vector<TStroke> Strokes(const TVpLayers& pic)
{
    std::vector<TStroke> found;
    for (const auto& e : pic)
        for (const auto& l : e->Lines)
            found.push_back({double(l->P1.X), double(l->P1.Y), double(l->P2.X), double(l->P2.Y)});
    return found;
}

void ExpectStrokes(const TVpLayers& pic, const std::vector<TStroke>& want)
{
    const auto got = Strokes(pic);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i].X1, want[i].X1, 1e-6) << i;
        EXPECT_NEAR(got[i].Y1, want[i].Y1, 1e-6) << i;
        EXPECT_NEAR(got[i].X2, want[i].X2, 1e-6) << i;
        EXPECT_NEAR(got[i].Y2, want[i].Y2, 1e-6) << i;
    }
}

void SetPoints(TGeoPoints& list, const std::vector<std::pair<double, double>>& points)
{
    list.DeleteAll();
    for (const auto& [x, y] : points)
        list.AddPoint(x, y);
}

class Hatching : public AreaSignFixture {
protected:
    void SetUp() override
    {
        AreaSignFixture::SetUp();
        Hatch.HasOwnLine = 1;
        Hatch.AddItem();   // not empty
        Symbols.Outline.Clear();
    }
    // The outer contour (also its extent) and the two chains.
    void SetOutline(const std::vector<std::pair<double, double>>& outer,
                    const std::vector<std::pair<double, double>>& chainI,
                    const std::vector<std::pair<double, double>>& chainII = {})
    {
        auto& o = Symbols.Outline;
        SetPoints(o.OuterPoints, outer);
        SetPoints(o.ChainI, chainI);
        SetPoints(o.ChainII, chainII);
        o.HasExtent = true;
        o.MinX = o.MaxX = outer.front().first;
        o.MinY = o.MaxY = outer.front().second;
        for (const auto& [x, y] : outer) {
            o.MinX = std::min<Extended>(o.MinX, x);
            o.MaxX = std::max<Extended>(o.MaxX, x);
            o.MinY = std::min<Extended>(o.MinY, y);
            o.MaxY = std::max<Extended>(o.MaxY, y);
        }
    }
    // Every kind with step and lengths of 1 m but the step given.
    void HatchAllKinds(Extended step)
    {
        Symbols.CreateLinesInPolygon(step, &Hatch, &Hatch, &Picture, 1, 1, 1, true);
        Symbols.CreateDashInPolygon(step, &Hatch, &Picture, 1, 1);
        Symbols.CreateLineIntersectInPolygon(step, &Hatch, &Picture, 1, 1);
        Symbols.CreateParallelLineInPolygon(step, &Hatch, &Picture, 1);
        Symbols.CreateRotateLineInPolygon(step, &Hatch, &Picture, 1);
    }

    TVpLayers Hatch;
    TVpLayers Picture;
};

const std::vector<std::pair<double, double>> Square = {{0, 0}, {0, 10}, {10, 10}, {10, 0}};

}  // namespace

TEST(TraceLine, PlacesEveryStepAndCarriesTheRestAcrossSegments)
{
    struct TCase {
        const char* name;
        std::vector<std::pair<double, double>> chain;   // along Y, X = 0
        double step;
        std::vector<double> want;   // Y of the points
        double shiftAfter;
    } cases[] = {
        {"25 m every 10 m", {{0, 0}, {0, 25}}, 10, {0, 10, 20}, 5},
        // The end of the chain falls on a step: not placed.
        {"40 m every 20 m over two sides", {{0, 0}, {0, 15}, {0, 40}}, 20, {0, 20}, 0},
        // Short sides take no point and pass the rest of the step on.
        {"short sides pass the shift on", {{0, 0}, {0, 3}, {0, 6}, {0, 16}}, 10, {0, 10}, 4},
        {"zero step", {{0, 0}, {0, 25}}, 0, {}, 0},
        {"negative step", {{0, 0}, {0, 25}}, -1, {}, 0},
        {"step below a millimetre", {{0, 0}, {0, 25}}, 0.0005, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TGeoPoints plain;
        TS1Points built;
        Extended shiftPlain = 0, shiftBuilt = 0;
        for (size_t i = 1; i < c.chain.size(); ++i) {
            const auto& [x1, y1] = c.chain[i - 1];
            const auto& [x2, y2] = c.chain[i];
            TSymbols::TraceLine(shiftPlain, x1, y1, x2, y2, c.step, plain);
            TSymbols::TraceLine(shiftBuilt, x1, y1, x2, y2, c.step, built);
        }
        ASSERT_EQ(plain.GetCount(), int(c.want.size()));
        ASSERT_EQ(built.GetCount(), int(c.want.size()));
        for (size_t i = 0; i < c.want.size(); ++i) {
            EXPECT_NEAR(double(plain.At(int(i))->Y), c.want[i], 1e-9);
            EXPECT_NEAR(double(built.At(int(i))->AtPoint.Y), c.want[i], 1e-9);
            EXPECT_EQ(double(built.At(int(i))->DirAngle), 90);
        }
        EXPECT_NEAR(double(shiftPlain), c.shiftAfter, 1e-9);
        EXPECT_NEAR(double(shiftBuilt), c.shiftAfter, 1e-9);
    }
    // The construction points keep the start of the side they lie on.
    TS1Points built;
    Extended shift = 7;
    TSymbols::TraceLine(shift, 0, 3, 0, 16, 10, built);
    ASSERT_EQ(built.GetCount(), 1);
    EXPECT_EQ(double(built.At(0)->FromPoint.Y), 3);
    EXPECT_NEAR(double(built.At(0)->AtPoint.Y), 10, 1e-9);
}

TEST_F(Hatching, LinesBetweenChainsPairEquallyManyPoints)
{
    // Chain I 25 m, step 10 m: 2.5 strokes round to two; chain II 40 m gets a point
    // every 20 m, its end not placed.
    SetOutline(Square, {{0, 0}, {0, 25}}, {{10, 0}, {10, 40}});
    Symbols.CreateLinesInPolygon(10, &Hatch, nullptr, &Picture, 1, 1, 1, false);
    ExpectStrokes(Picture, {{0, 0, 10, 0}, {0, 10, 10, 20}});
}

TEST_F(Hatching, ShortIntermediateStrokeKeepsItsFarHalf)
{
    // Chains 4 m apart, intermediate strokes 3 m: the stroke between the two main ones
    // runs from the middle of chain I over 2 m (half the distance), its picture starting
    // 1 m in.
    SetOutline(Square, {{0, -5}, {0, 15}}, {{4, -5}, {4, 15}});
    TVpLayers sub;
    AddAxisDash(sub, 0, 4);   // a dash over the picture's first 2 m
    Symbols.CreateLinesInPolygon(10, &Hatch, &sub, &Picture, 1, 4, 3, true);
    // The intermediate stroke lies on the axis Y = 0 from X = 0 to X = 2; with its
    // picture starting at 1 m only one metre of dash is left.
    ExpectIntervals(AxisDashes(Picture), {{0, 1}});
    // Wide apart (w >= 2·length) the stroke is the full 3 m from phase 0.
    Picture.DeleteAll();
    SetOutline(Square, {{0, -5}, {0, 15}}, {{8, -5}, {8, 15}});
    Symbols.CreateLinesInPolygon(10, &Hatch, &sub, &Picture, 1, 4, 3, true);
    ExpectIntervals(AxisDashes(Picture), {{0, 2}});
}

TEST_F(Hatching, DashesToTheRightOfChainI)
{
    SetOutline(Square, {{0, 0}, {0, 25}});
    Symbols.CreateDashInPolygon(10, &Hatch, &Picture, 1, 3);
    ExpectStrokes(Picture, {{0, 0, -3, 0}, {0, 10, -3, 10}, {0, 20, -3, 20}});
}

TEST_F(Hatching, LinesAcrossOvershootAndSkipPointsThatMissTheContour)
{
    // Chain I on the square's north side running on past it: the point at Y = 14 looks
    // south past the square and gets no stroke. The point at Y = 8, placed by walking,
    // lies on its side only up to rounding and must not take that side for the crossing.
    SetOutline(Square, {{10, 2}, {10, 15}});
    Symbols.CreateLineIntersectInPolygon(6, &Hatch, &Picture, 1, 1);
    ExpectStrokes(Picture, {{11, 2, -1, 2}, {11, 8, -1, 8}});
}

TEST_F(Hatching, ParallelLinesStopAtTheFirstMiss)
{
    // Chord (10, 0) -> (10, 10) eastwards; its right is south. R = 20 would allow seven
    // steps of 3 m; the fourth line misses the square and ends the hatching.
    SetOutline(Square, {{10, 0}, {10, 5}, {10, 10}});
    Symbols.CreateParallelLineInPolygon(3, &Hatch, &Picture, 1);
    ExpectStrokes(Picture, {{7, 0, 7, 10}, {4, 0, 4, 10}, {1, 0, 1, 10}});
}

TEST_F(Hatching, RaysFromChainStartToTheRestOfTheContour)
{
    // Chain I west side (0, 0) -> (0, 10); the rest runs (0, 10), (10, 10), (10, 0) and
    // stops before (0, 0): its 20 m every 5 m, the end not placed.
    SetOutline(Square, {{0, 0}, {0, 10}});
    Symbols.CreateRotateLineInPolygon(5, &Hatch, &Picture, 1);
    ExpectStrokes(Picture, {{0, 0, 0, 10}, {0, 0, 5, 10}, {0, 0, 10, 10}, {0, 0, 10, 5}});
}

TEST_F(Hatching, UnusableStepsLayNothingForEveryKind)
{
    // A zero step would never advance, a tiny one would flood the picture.
    // Clockwise, so that chain I (its north side, eastwards) has the inside on its right.
    SetOutline({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{10, 0}, {10, 10}}, {{0, 0}, {0, 10}});
    for (const Extended step : {Extended(0), Extended(-2), Extended(0.0005)}) {
        SCOPED_TRACE(double(step));
        HatchAllKinds(step);
        EXPECT_TRUE(Picture.GetCount() == 0);
    }
    // The same outline with a usable step does hatch with every kind.
    for (int kind = 0; kind < 5; ++kind) {
        Picture.DeleteAll();
        switch (kind) {
        case 0: Symbols.CreateLinesInPolygon(2, &Hatch, &Hatch, &Picture, 1, 1, 1, true); break;
        case 1: Symbols.CreateDashInPolygon(2, &Hatch, &Picture, 1, 1); break;
        case 2: Symbols.CreateLineIntersectInPolygon(2, &Hatch, &Picture, 1, 1); break;
        case 3: Symbols.CreateParallelLineInPolygon(2, &Hatch, &Picture, 1); break;
        default: Symbols.CreateRotateLineInPolygon(2, &Hatch, &Picture, 1); break;
        }
        EXPECT_GT(Picture.GetCount(), 0) << kind;
    }
}

TEST_F(Hatching, NothingForNoPairsOrAZeroDash)
{
    // Chain I shorter than half a step: no stroke to pair, no division by zero.
    SetOutline(Square, {{0, 0}, {0, 4}}, {{10, 0}, {10, 10}});
    Symbols.CreateLinesInPolygon(10, &Hatch, &Hatch, &Picture, 1, 1, 1, true);
    EXPECT_EQ(Picture.GetCount(), 0);
    // A dash length of zero lays nothing.
    SetOutline(Square, {{0, 0}, {0, 10}}, {{10, 0}, {10, 10}});
    Symbols.CreateDashInPolygon(2, &Hatch, &Picture, 0, 1);
    EXPECT_EQ(Picture.GetCount(), 0);
}

TEST_F(Hatching, HugeAreaWithMillimetreStepReturnsAtOnce)
{
    // 50 km sides at a 1 mm step would be tens of millions of strokes: nothing is laid.
    const std::vector<std::pair<double, double>> big = {{0, 0}, {0, 50000}, {50000, 50000}, {50000, 0}};
    SetOutline(big, {{0, 0}, {0, 50000}}, {{50000, 0}, {50000, 50000}});
    const auto start = std::chrono::steady_clock::now();
    HatchAllKinds(0.001);
    EXPECT_EQ(Picture.GetCount(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}
