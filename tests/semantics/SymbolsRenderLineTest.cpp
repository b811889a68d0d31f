// Line signs: the start, end and node pictures, the pattern carried from segment to
// segment (phase, node overrides, alternation of two pictures), plain strokes, curve
// runs, the special line, and the guards against degenerate lines and lengths. At 1:500
// a sign millimetre is half a metre; the test sign's picture is 4 mm (2 m) long with a
// dash on its axis over its first metre. Lines run north along X at Y = 0.
#include "SignTestSupport.h"

#include "foundation/GeoServ.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// The radii (ground metres) of the circles in picture order.
std::vector<double> Radii(const TVpLayers& pic)
{
    std::vector<double> r;
    for (const auto& e : pic)
        for (const auto& c : e->Circles)
            r.push_back(double(c->Radius));
    return r;
}

using RenderLine = LineSignFixture;

}  // namespace

TEST_F(RenderLine, EndAndNodePicturesComeAfterThePattern)
{
    // Radii 1..4 mm mark LineStart, LineEnd, SegmentStart and SegmentEnd.
    AddCircle(Sign->LineStart, 0, 1);
    AddCircle(Sign->LineEnd, 0, 2);
    AddCircle(Sign->SegmentStart, 0, 3);
    AddCircle(Sign->SegmentEnd, 0, 4);
    const struct {
        std::vector<Extended> nodes;
        std::vector<double> radii;   // ground metres, in picture order
    } cases[] = {
        {{0, 10}, {0.5, 1}},
        {{0, 10, 20}, {2, 0.5, 1.5, 1}},
        {{0, 10, 20, 30}, {2, 0.5, 1.5, 2, 1.5, 1}},
    };
    for (const auto& c : cases) {
        Line.Nodes.DeleteAll();
        for (Extended x : c.nodes)
            AddNode(x);
        ASSERT_TRUE(Symbols.RenderLine(&Line));
        EXPECT_EQ(Radii(Line.Picture), c.radii) << c.nodes.size();
        // Everything before the node pictures is pattern (lines only).
        const int n = Line.Picture.GetCount();
        for (int i = 0; i < n - int(c.radii.size()); ++i)
            EXPECT_EQ(Line.Picture.At(i)->Circles.GetCount(), 0);
    }
}

TEST_F(RenderLine, PhaseCarriesOverOrRestartsAtANode)
{
    // Segments of 1.5 m and 3.5 m against a 2 m picture dashed over its first metre.
    const struct {
        Extended shift;   // SignShift of the middle node, mm
        TIntervals dashes;
    } cases[] = {
        {-1, {{0, 1}, {2, 3}, {4, 5}}},
        {0, {{0, 1}, {1.5, 2.5}, {3.5, 4.5}}},
        {1, {{0, 1}, {1.5, 2}, {3, 4}}},   // 0.5 m into the picture
    };
    for (const auto& c : cases) {
        Line.Nodes.DeleteAll();
        AddNode(0);
        AddNode(1.5).SignShift = c.shift;
        AddNode(5);
        ASSERT_TRUE(Symbols.RenderLine(&Line));
        ExpectIntervals(AxisDashes(Line.Picture), c.dashes);
    }
}

TEST_F(RenderLine, TwoPicturesAlternateAndANodeCanChooseTheSecond)
{
    Sign->Piece1.DeleteAll();
    AddCircle(Sign->Piece1, 2, 0.2);
    AddCircle(Sign->Piece2, 2, 0.4);
    const struct {
        std::uint8_t type;   // SegmentType of the node at 4 m
        std::vector<double> radii;
    } cases[] = {
        {0, {0.1, 0.2, 0.1, 0.2, 0.1}},
        {2, {0.1, 0.2, 0.2, 0.1, 0.2}},
        {1, {0.1, 0.2, 0.1, 0.2, 0.1}},
    };
    for (const auto& c : cases) {
        Line.Nodes.DeleteAll();
        AddNode(0);
        AddNode(4).SegmentType = c.type;
        AddNode(10);
        ASSERT_TRUE(Symbols.RenderLine(&Line));
        EXPECT_EQ(Radii(Line.Picture), c.radii) << int(c.type);
    }
}

TEST_F(RenderLine, OwnLineDrawsOneStrokePerSegmentAndNoPattern)
{
    Sign->Piece1.HasOwnLine = 1;
    Sign->Piece1.OwnLineColor = 0x0000FF;
    Sign->Piece1.OwnLineWidth = 0.3L;
    AddNode(0);
    AddNode(10);
    AddNode(10, 10);
    ASSERT_TRUE(Symbols.RenderLine(&Line));
    ASSERT_EQ(Line.Picture.GetCount(), 2);
    for (int i = 0; i < 2; ++i) {
        const RVpLine& l = *Line.Picture.At(i)->Lines.At(0);
        EXPECT_EQ(l.PenColor, 0x0000FF);
        EXPECT_EQ(l.PenWidth, 0.3L);
        EXPECT_EQ(l.PenMode, 4);
        EXPECT_EQ(l.PenStyle, 0);
        ExpectNear(l.P1, Line.Nodes.At(i)->Position.X, Line.Nodes.At(i)->Position.Y);
        ExpectNear(l.P2, Line.Nodes.At(i + 1)->Position.X, Line.Nodes.At(i + 1)->Position.Y);
    }
}

TEST_F(RenderLine, CurveRunsDensifyTheTrackButNotTheNodes)
{
    const struct {
        std::vector<std::uint8_t> curve;
        bool densified;
    } cases[] = {
        {{1, 1, 1}, true},
        {{0, 1, 0}, false},   // a run of one node
        {{0, 0, 1}, false},   // the last node alone
        {{0, 1, 1}, true},    // a run open at the last node
    };
    for (const auto& c : cases) {
        Line.Nodes.DeleteAll();
        Line.Track.DeleteAll();
        AddNode(0, 0).Curve = c.curve[0];
        AddNode(10, 10).Curve = c.curve[1];
        AddNode(0, 20).Curve = c.curve[2];
        ASSERT_TRUE(Symbols.RenderLine(&Line));
        ASSERT_EQ(Line.Nodes.GetCount(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(Line.Nodes.At(i)->NodeNumber, i);
            EXPECT_EQ(Line.Nodes.At(i)->Generated, 0);
        }
        if (!c.densified) {
            EXPECT_EQ(Line.Track.GetCount(), 0);
            continue;
        }
        ASSERT_GT(Line.Track.GetCount(), 3);
        EXPECT_EQ(Line.Track.At(0)->NodeIndex, 0);
        EXPECT_EQ(Line.Track.At(Line.Track.GetCount() - 1)->NodeIndex, 2);
        int nodesSeen = 0;
        for (int i = 0; i < Line.Track.GetCount(); ++i) {
            const RExtGeoPoint& p = *Line.Track.At(i);
            if (i > 0)
                EXPECT_GE(p.NodeIndex, Line.Track.At(i - 1)->NodeIndex);
            const TGeoPoint& node = Line.Nodes.At(p.NodeIndex)->Position;
            if (p.Point.X == node.X && p.Point.Y == node.Y)
                ++nodesSeen;
        }
        EXPECT_EQ(nodesSeen, 3);
    }
}

TEST_F(RenderLine, CurvedLineLaysThePatternAlongTheCurve)
{
    // The dashes follow the smoothed curve, which bows away from the chord X = Y.
    AddNode(0, 0).Curve = 1;
    AddNode(20, 20).Curve = 1;
    AddNode(0, 40).Curve = 1;
    ASSERT_TRUE(Symbols.RenderLine(&Line));
    double farthest = 0;
    for (const auto& e : Line.Picture)
        for (const auto& l : e->Lines)
            if (l->P1.Y < 20)
                farthest = std::max(farthest, std::fabs(double(l->P1.X - l->P1.Y)) / std::sqrt(2.0));
    EXPECT_GT(farthest, 0.3);
}

TEST_F(RenderLine, NodePointsLeaveTheElementCounterAlone)
{
    // Guards the fault of a point sign on a node counting as a picture of the line,
    // which moved the in-line text to other pictures.
    Symbols.VpGPoints.AddItem();
    Symbols.VpGPoints.Item->Code = QStringLiteral("ТЧК");
    AddCircle(Symbols.VpGPoints.Item->Picture, 0, 1);
    AddNode(0);
    AddNode(3);
    AddNode(10);
    ASSERT_TRUE(Symbols.RenderLine(&Line));
    const std::int32_t plain = Symbols.ElementCounter;
    Line.Nodes.At(1)->NodePoints.AddItem();
    Line.Nodes.At(1)->NodePoints.Item->SignName = QStringLiteral("ТЧК");
    Line.Nodes.At(1)->NodePoints.Item->Position = GeoPoint(3, 0);
    ASSERT_TRUE(Symbols.RenderLine(&Line));
    EXPECT_EQ(Symbols.ElementCounter, plain);
    EXPECT_EQ(Symbols.ObjKind, lmLine);
    EXPECT_EQ(Line.Nodes.At(1)->NodePoints.At(0)->Picture.GetCount(), 1);
}

TEST_F(RenderLine, DoubledNodesAndSpikesKeepEveryVisiblePiece)
{
    Sign->Piece1.HasOwnLine = 1;
    const struct {
        std::vector<Extended> nodes;
        TIntervals strokes;
    } cases[] = {
        {{0, 3, 3, 6}, {{0, 6}}},
        {{0, 3, 3}, {{0, 3}}},
        {{0, 0, 3}, {{0, 3}}},
        {{0, 5, 2}, {{0, 5}}},   // the way back lies on the way out
        {{2, 2}, {}},
    };
    for (const auto& c : cases) {
        Line.Nodes.DeleteAll();
        for (Extended x : c.nodes)
            AddNode(x);
        EXPECT_TRUE(Symbols.RenderLine(&Line));
        ExpectIntervals(AxisDashes(Line.Picture), c.strokes);
    }
    // The spike's return is drawn as a stroke of its own.
    Line.Nodes.DeleteAll();
    AddNode(0);
    AddNode(5);
    AddNode(2);
    ASSERT_TRUE(Symbols.RenderLine(&Line));
    EXPECT_EQ(Line.Picture.GetCount(), 2);
}

TEST_F(RenderLine, ReversalSquaresOffTheParallelStrokes)
{
    // A stroke 1 mm left of the axis; at a spike the mitre would be unbounded.
    Sign->Piece1.AddItem();
    Sign->Piece1.Item->Lines.AddItem();
    Sign->Piece1.Item->Lines.Item->P1 = GeoPoint(1, 0);
    Sign->Piece1.Item->Lines.Item->P2 = GeoPoint(1, 4);
    AddNode(0);
    AddNode(5);
    AddNode(5);
    AddNode(2);
    ASSERT_TRUE(Symbols.RenderLine(&Line));
    int parallel = 0;
    for (const auto& e : Line.Picture)
        for (const auto& l : e->Lines)
            for (const TGeoPoint& p : {l->P1, l->P2}) {
                ASSERT_TRUE(std::isfinite(double(p.X)) && std::isfinite(double(p.Y)));
                EXPECT_LE(std::fabs(double(p.Y)), 0.5 + 1e-9);
                EXPECT_LE(double(p.X), 5 + 1e-9);
                parallel += std::fabs(double(p.Y)) > 0.25;
            }
    EXPECT_GE(parallel, 4);   // both ends of both strokes along the segments
}

TEST_F(RenderLine, TooShortPicturesLayNothing)
{
    AddCircle(Sign->LineStart, 0, 1);
    AddNode(0);
    AddNode(10);
    for (Extended length : {0.0L, -4.0L, 1e-9L, 0.0019L}) {
        Sign->PieceLength = length;
        ASSERT_TRUE(Symbols.RenderLine(&Line));
        EXPECT_EQ(Line.Picture.GetCount(), 1) << double(length);
        TVpLayers dest;
        EXPECT_FALSE(Symbols.RenderSpecialLine(0, 0, 10, 0, &Sign->Piece1, &dest, length * 0.5L, 0));
        EXPECT_EQ(dest.GetCount(), 0) << double(length);
    }
}

TEST_F(RenderLine, AStrayNodeFarAwayFinishesAtOnce)
{
    // Guards a hang and exhausted memory: 6,000 km against a 1 mm picture.
    Sign->PieceLength = 1;
    Sign->Piece1.DeleteAll();
    AddAxisDash(Sign->Piece1, 0, 0.5);
    Sign->Piece1.AddItem();
    Sign->Piece1.Item->Lines.AddItem();
    Sign->Piece1.Item->Lines.Item->P1 = GeoPoint(1, 0);
    Sign->Piece1.Item->Lines.Item->P2 = GeoPoint(1, 1);
    AddNode(0);
    AddNode(6e6);
    AddNode(6e6, 10);
    ASSERT_TRUE(Symbols.RenderLine(&Line));
    EXPECT_LE(Line.Picture.GetCount(), TSymbols::MaxPatternPictures * 2 + 10);
    // The continuous strokes still run along both segments.
    int strokes = 0;
    for (const auto& e : Line.Picture)
        for (const auto& l : e->Lines)
            strokes += std::fabs(double(l->P2.X - l->P1.X) + double(l->P2.Y - l->P1.Y)) > 5;
    EXPECT_GE(strokes, 2);
    TVpLayers dest;
    Symbols.RenderSpecialLine(0, 0, 6e6, 0, &Sign->Piece1, &dest, 0.001L, 0);
    EXPECT_LE(dest.GetCount(), TSymbols::MaxPatternPictures * 2);
}

TEST_F(RenderLine, SpecialLineLaysDashesFromItsPhase)
{
    // A dash of 2 m from phase 1.5 along 5 m: the rest of the first picture is empty.
    const struct {
        Extended phase;
        Extended length;
        TIntervals dashes;
        Extended phaseAfter;
    } cases[] = {
        {1.5, 5, {{0.5, 1.5}, {2.5, 3.5}, {4.5, 5}}, 0.5},
        {0, 3, {{0, 1}, {2, 3}}, 1},
        {0, 1.5, {{0, 1}}, 1.5},
        {0.5, 1, {{0, 0.5}}, 1.5},
        {1.5004, 5, {{0.5, 1.5}, {2.5, 3.5}, {4.5, 5}}, 0.5},   // cut to 1.5
    };
    for (const auto& c : cases) {
        TVpLayers dest;
        EXPECT_FALSE(Symbols.RenderSpecialLine(0, 0, c.length, 0, &Sign->Piece1, &dest, 2, c.phase));
        ExpectIntervals(AxisDashes(dest), c.dashes);
        EXPECT_NEAR(double(Symbols.Phase), double(c.phaseAfter), 1e-9) << double(c.phase);
    }
    Sign->Piece1.HasOwnLine = 1;
    TVpLayers dest;
    Symbols.RenderSpecialLine(0, 0, 5, 0, &Sign->Piece1, &dest, 2, 0);
    ASSERT_EQ(dest.GetCount(), 1);
    ExpectNear(dest.At(0)->Lines.At(0)->P2, 5, 0);
}
