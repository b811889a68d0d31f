// Area outlines: corner pictures once per node over each contour's outline, each
// contour's sides with their own geometry, the pattern's phase across hidden and other
// sides, the state collected for the area's interior (extent, points, direction classes,
// the type I and type II stretches) and the guards against degenerate contours and
// lengths. At 1:500 a sign millimetre is half a metre; the main side picture is 2 m long
// with a dash on its axis over its first metre. X runs north, Y east.
#include "SignTestSupport.h"

#include <string>
#include <vector>

namespace {

struct TCorner {
    double X, Y;
    bool operator==(const TCorner&) const = default;
};

// The corner circles (0.5 m) in picture order.
std::vector<TCorner> Corners(const TVpLayers& pic)
{
    std::vector<TCorner> found;
    for (const auto& e : pic)
        for (const auto& c : e->Circles)
            if (std::fabs(double(c->Radius) - 0.5) < 1e-9)
                found.push_back({double(c->Center.X), double(c->Center.Y)});
    return found;
}

int LineCount(const TVpLayers& pic)
{
    int n = 0;
    for (const auto& e : pic)
        n += e->Lines.GetCount();
    return n;
}

using RenderPolygonLine = AreaSignFixture;

}  // namespace

TEST_F(RenderPolygonLine, OneCornerPicturePerNodeOverEachContour)
{
    // A 10 m square with a triangular hole.
    AddNode(0, 0);
    AddNode(0, 10);
    AddNode(10, 10).CornerPicture = 1;
    AddNode(10, 0);
    TGPolygonNodes& hole = AddHole();
    AddNode(hole, 2, 2);
    AddNode(hole, 2, 6);
    AddNode(hole, 6, 2);
    ASSERT_TRUE(Symbols.RenderPolygonLine(&Area));
    const std::vector<TCorner> want = {{0, 0}, {0, 10}, {10, 0}, {2, 2}, {2, 6}, {6, 2}};
    EXPECT_EQ(Corners(Area.Picture), want);
    // Each contour's corners follow that contour's own sides: outer sides, outer corners,
    // hole sides, hole corners.
    std::string runs;
    for (const auto& e : Area.Picture) {
        const char kind = e->Circles.GetCount() > 0 ? 'C' : 'S';
        if (runs.empty() || runs.back() != kind)
            runs += kind;
    }
    EXPECT_EQ(runs, "SCSC");
}

TEST_F(RenderPolygonLine, ARepeatedNodeKeepsEverySide)
{
    // Plain strokes show the sides drawn, one each.
    Sign->Piece1.HasOwnLine = true;
    const struct {
        const char* name;
        std::vector<std::pair<Extended, Extended>> nodes;
    } cases[] = {
        {"open ring", {{0, 0}, {0, 10}, {10, 10}, {10, 0}}},
        // Stamp frames are stored closed: the last node repeats the first.
        {"closed ring", {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}}},
        {"doubled node", {{0, 0}, {0, 10}, {0, 10}, {10, 10}, {10, 0}}},
    };
    for (const auto& c : cases) {
        Area.Nodes.DeleteAll();
        Area.Picture.DeleteAll();
        for (const auto& [x, y] : c.nodes)
            AddNode(x, y);
        ASSERT_TRUE(Symbols.RenderPolygonLine(&Area)) << c.name;
        EXPECT_EQ(LineCount(Area.Picture), 4) << c.name;
        const std::vector<TCorner> want = {{0, 0}, {0, 10}, {10, 10}, {10, 0}};
        EXPECT_EQ(Corners(Area.Picture), want) << c.name;
    }
}

TEST_F(RenderPolygonLine, AnInnerContoursFirstSideHasItsOwnDirection)
{
    // The outer contour ends going south along Y = 10; the hole's first side runs north
    // along Y = 0 from 20 m: its dashes must lie on that side.
    AddNode(0, 10);
    AddNode(10, 20);
    AddNode(10, 10);
    TGPolygonNodes& hole = AddHole();
    AddNode(hole, 20, 0);
    AddNode(hole, 25, 0);
    AddNode(hole, 25, -5);
    ASSERT_TRUE(Symbols.RenderPolygonLine(&Area));
    ExpectIntervals(AxisDashes(Area.Picture), {{20, 21}, {22, 23}, {24, 25}});
}

TEST_F(RenderPolygonLine, PatternPhaseAcrossOtherSides)
{
    // Sides of 1.5 m and 1.5 m along Y = 0, 2 m apart; the side between them and the
    // sides that close the contour are hidden unless a case says otherwise.
    AddCircle(Sign->Piece2, 0, 1);
    const struct {
        const char* name;
        std::uint8_t middle;   // SegmentStyle of the side between
        Extended piece2Length;
        Extended shift;        // SignShift of the second dashed side, mm
        TIntervals dashes;
    } cases[] = {
        {"hidden side", 2, 4, -1, {{0, 1}, {4, 5}}},
        {"special side of no length", 1, 0, -1, {{0, 1}, {4, 5}}},
        {"shift restarts", 2, 4, 0, {{0, 1}, {3.5, 4.5}}},
        {"special picture between", 1, 4, -1, {{0, 1}, {3.5, 4.5}}},
        {"special picture of negative length", 1, -4, -1, {{0, 1}, {4, 5}}},
    };
    for (const auto& c : cases) {
        Area.Nodes.DeleteAll();
        Area.Picture.DeleteAll();
        Sign->Piece2Length = c.piece2Length;
        AddNode(0, 0);
        AddNode(1.5, 0).SegmentStyle = c.middle;
        RGPolygonNode& second = AddNode(3.5, 0);
        second.SignShift = c.shift;
        AddNode(5, 0).SegmentStyle = 2;
        AddNode(2.5, 10).SegmentStyle = 2;
        ASSERT_TRUE(Symbols.RenderPolygonLine(&Area)) << c.name;
        SCOPED_TRACE(c.name);
        ExpectIntervals(AxisDashes(Area.Picture), c.dashes);
    }
}

TEST_F(RenderPolygonLine, LengthsThatLayNoPattern)
{
    // A negative length would never end the pattern; a tiny one would flood the picture.
    for (Extended length : {Extended(0), Extended(-4), Extended(0.001)}) {
        Area.Nodes.DeleteAll();
        Area.Picture.DeleteAll();
        Sign->Piece1Length = length;
        AddNode(0, 0);
        AddNode(0, 10);
        AddNode(10, 0);
        ASSERT_TRUE(Symbols.RenderPolygonLine(&Area)) << double(length);
        EXPECT_EQ(LineCount(Area.Picture), 0) << double(length);
        EXPECT_EQ(Corners(Area.Picture).size(), 3u) << double(length);
    }
}

TEST_F(RenderPolygonLine, ChainsAndInteriorStateFromTheOuterContour)
{
    // A 10 m square marked 1, 1, 2, 0, with a hole; a centre picture makes the sign need
    // the interior.
    AddCircle(Sign->Center, 0, 1);
    const std::uint8_t marks[] = {1, 1, 2, 0};
    const std::pair<Extended, Extended> at[] = {{0, 0}, {0, 10}, {10, 10}, {10, 0}};
    for (int i = 0; i < 4; ++i)
        AddNode(at[i].first, at[i].second).SegmentType = marks[i];
    TGPolygonNodes& hole = AddHole();
    AddNode(hole, 2, 2);
    AddNode(hole, 2, 6).SegmentType = 1;   // marks of holes make no chain
    AddNode(hole, 6, 2);
    ASSERT_TRUE(Symbols.RenderPolygonLine(&Area));
    const auto& s = Symbols.Outline;
    ASSERT_EQ(s.ChainI.GetCount(), 3);
    ExpectNear(*s.ChainI.At(0), 0, 0);
    ExpectNear(*s.ChainI.At(1), 0, 10);
    ExpectNear(*s.ChainI.At(2), 10, 10);
    EXPECT_NEAR(double(s.ChainILength), 20, 1e-9);
    ASSERT_EQ(s.ChainII.GetCount(), 2);
    ExpectNear(*s.ChainII.At(0), 10, 0);
    ExpectNear(*s.ChainII.At(1), 10, 10);
    EXPECT_NEAR(double(s.ChainIILength), 10, 1e-9);
    ASSERT_EQ(s.OuterPoints.GetCount(), 4);
    ExpectNear(*s.OuterPoints.At(3), 10, 0);
    ASSERT_EQ(s.InnerPoints.GetCount(), 1);
    EXPECT_EQ(s.InnerPoints.At(0)->Points.GetCount(), 3);
    // East and west sides share a class, north and south another.
    ASSERT_EQ(s.Directions.GetCount(), 2);
    for (const auto& c : s.Directions) {
        EXPECT_EQ(c->SegmentCount, 2);
        EXPECT_NEAR(double(c->LengthSum), 20, 1e-9);
    }
    EXPECT_TRUE(s.HasExtent);
    EXPECT_EQ(double(s.MinX), 0);
    EXPECT_EQ(double(s.MaxX), 10);
    EXPECT_EQ(double(s.MaxY), 10);

    // Without anything inside the area to draw nothing is collected; the outline and its
    // corners are drawn all the same, and the extent is still taken.
    Sign->Center.DeleteAll();
    Area.Picture.DeleteAll();
    ASSERT_TRUE(Symbols.RenderPolygonLine(&Area));
    EXPECT_EQ(s.ChainI.GetCount() + s.ChainII.GetCount() + s.OuterPoints.GetCount() +
                  s.Directions.GetCount(),
              0);
    EXPECT_EQ(s.InnerPoints.GetCount(), 1);
    EXPECT_EQ(s.InnerPoints.At(0)->Points.GetCount(), 0);
    EXPECT_TRUE(s.HasExtent);
    EXPECT_EQ(Corners(Area.Picture).size(), 7u);
    EXPECT_GT(LineCount(Area.Picture), 0);

    // Only one kind of mark: no chains.
    AddCircle(Sign->Center, 0, 1);
    Area.Nodes.At(2)->SegmentType = 0;
    ASSERT_TRUE(Symbols.RenderPolygonLine(&Area));
    EXPECT_EQ(s.ChainI.GetCount() + s.ChainII.GetCount(), 0);
    EXPECT_EQ(s.OuterPoints.GetCount(), 4);
}

TEST_F(RenderPolygonLine, ContoursTooSmallOrNoSign)
{
    AddNode(0, 0);
    AddNode(0, 10);
    TGPolygonNodes& hole = AddHole();
    AddNode(hole, 2, 2);
    AddNode(hole, 2, 6);
    EXPECT_FALSE(Symbols.RenderPolygonLine(&Area));
    EXPECT_EQ(Area.Picture.GetCount(), 0);
    EXPECT_FALSE(Symbols.Outline.HasExtent);

    AddNode(10, 0);
    Symbols.VpGPolygons.DeleteAll();
    EXPECT_FALSE(Symbols.RenderPolygonLine(&Area));
    EXPECT_EQ(Area.Picture.GetCount(), 0);
}
