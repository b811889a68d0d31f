// Area objects drawn whole: the fill with its holes, the objects inside, the centre and
// main direction, caption blocks in the centre and on grids, the lines from the corners
// and from the special side, the grids of fill pictures and their limits. At 1:500 a
// sign millimetre is half a metre; a character of the default style measures 0.625 m
// by 1.25 m. X runs north, Y east.
#include "SignTestSupport.h"

#include "foundation/GeoDataObjectsPolygons.h"
#include "foundation/GeoServ.h"
#include "semantics/codec/SemServices.h"

#include <string>
#include <vector>

namespace {

struct TXY {
    double X, Y;
};

void ExpectPoints(const TGeoPoints& got, const std::vector<TXY>& want)
{
    ASSERT_EQ(got.GetCount(), int(want.size()));
    for (int i = 0; i < got.GetCount(); ++i) {
        SCOPED_TRACE(i);
        ExpectNear(*got.At(i), want[i].X, want[i].Y);
    }
}

class RenderPolygon : public AreaSignFixture {
protected:
    void SetUp() override
    {
        AreaSignFixture::SetUp();
        Symbols.SetMeasurer(std::make_unique<TFixedTextMeasurer>(0.5));
    }
    // A square of side s with its south-west node at the origin, walked clockwise.
    void Square(Extended s)
    {
        AddNode(s, 0);
        AddNode(s, s);
        AddNode(0, s);
        AddNode(0, 0);
    }
    RSemText& AddRule(const QString& key)
    {
        Sign->Captions.AddItem();
        RSemText& r = *Sign->Captions.Item;
        r.PropKey = key;
        r.PropCode = QStringLiteral("-1");
        return r;
    }
    // A picture of one dash on its axis, 1 mm long, for the lines laid inside.
    static void Dash(TVpLayers& pic) { AddAxisDash(pic, 0, 1); }
    // The outline of the state the grid routine reads: a contour as the outline walk
    // would leave it, with its extent.
    void SetOuter(const std::vector<TXY>& contour)
    {
        Symbols.Outline.Clear();
        for (const TXY& p : contour) {
            Symbols.Outline.OuterPoints.AddPoint(p.X, p.Y);
            if (!Symbols.Outline.HasExtent) {
                Symbols.Outline.HasExtent = true;
                Symbols.Outline.MinX = Symbols.Outline.MaxX = p.X;
                Symbols.Outline.MinY = Symbols.Outline.MaxY = p.Y;
            }
            Symbols.Outline.MinX = std::min<Extended>(Symbols.Outline.MinX, p.X);
            Symbols.Outline.MaxX = std::max<Extended>(Symbols.Outline.MaxX, p.X);
            Symbols.Outline.MinY = std::min<Extended>(Symbols.Outline.MinY, p.Y);
            Symbols.Outline.MaxY = std::max<Extended>(Symbols.Outline.MaxY, p.Y);
        }
        Symbols.Area.Height = Symbols.Outline.MaxX - Symbols.Outline.MinX;
        Symbols.Area.Width = Symbols.Outline.MaxY - Symbols.Outline.MinY;
    }
    void AddInner(const std::vector<TXY>& contour)
    {
        Symbols.Outline.InnerPoints.AddItem();
        for (const TXY& p : contour)
            Symbols.Outline.InnerPoints.Item->Points.AddPoint(p.X, p.Y);
    }
    void Grid(Extended stepX, Extended stepY, Extended freeX, Extended freeY)
    {
        Symbols.Area.StepX = stepX;
        Symbols.Area.StepY = stepY;
        Symbols.Area.FreeX = freeX;
        Symbols.Area.FreeY = freeY;
    }
    // The stretches laid with a picture of one axis dash: their ends, in picture order,
    // joined where one starts at the other's end.
    static std::vector<std::pair<TXY, TXY>> Strokes(const TVpLayers& pic)
    {
        std::vector<std::pair<TXY, TXY>> found;
        for (const auto& e : pic)
            for (const auto& l : e->Lines) {
                const TXY a{double(l->P1.X), double(l->P1.Y)};
                const TXY b{double(l->P2.X), double(l->P2.Y)};
                if (!found.empty() && std::hypot(found.back().second.X - a.X, found.back().second.Y - a.Y) < 1e-6)
                    found.back().second = b;
                else
                    found.emplace_back(a, b);
            }
        return found;
    }
};

}  // namespace

TEST_F(RenderPolygon, CentreBlockKeepsItsSizeOrShrinksToTheChords)
{
    AddRule(QStringLiteral("ИИ"));
    Square(10);
    const struct {
        const char* text;   // 0.625 m a character
        double factor;
    } cases[] = {
        {"ABCDEF", 1},                          // 3.75 m
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ012345", 0.5},   // 20 m in a 10 m square
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Area.Semantics = QStringLiteral("ОБЛ/ИИ") + QString::fromLatin1(c.text);
        Area.SignName.clear();
        Symbols.RenderPolygon(&Area);
        ASSERT_EQ(Area.AutoTexts.GetCount(), 1);
        const RAutoText& t = *Area.AutoTexts.At(0);
        EXPECT_DOUBLE_EQ(double(t.SizeFactor), c.factor);
        EXPECT_EQ(t.Angle, 0);   // along the main direction, east
        EXPECT_EQ(t.CaptionNumber, 0);
        EXPECT_EQ(t.AlongLine, 1);
        // The block is centred on the square's middle: its anchor (top-left) lies half
        // its height north and half its width west of it, both scaled.
        const double w = 0.625 * std::strlen(c.text);
        ExpectNear(t.Position, 5 + 1.25 / 2 * c.factor, 5 - w / 2 * c.factor);
    }
}

TEST_F(RenderPolygon, GridCaptionBlockLiesNorthWestOfItsGridPoint)
{
    AddRule(QStringLiteral("ИИ"));
    Sign->TextStepKind = 1;
    Sign->TextStepX = 20;   // 10 m
    Sign->TextStepY = 20;
    Square(40);
    Area.Semantics = QStringLiteral("ОБЛ/ИИABCD");   // 2.5 m by 1.25 m
    Symbols.RenderPolygon(&Area);
    // The grid the captions were put on, from the state the render left, with the free
    // rectangle of the block (2.5 m by 1.25 m) about each point.
    Symbols.Area.FreeX = 0.625L;
    Symbols.Area.FreeY = 1.25L;
    TGeoPoints grid;
    Symbols.CreatePointsInPolygon(1, grid, Symbols.Area.Centre.X, Symbols.Area.Centre.Y);
    ASSERT_GT(grid.GetCount(), 1);
    ASSERT_EQ(Area.AutoTexts.GetCount(), grid.GetCount());
    for (int k = 0; k < grid.GetCount(); ++k) {
        SCOPED_TRACE(k);
        const RAutoText& t = *Area.AutoTexts.At(k);
        EXPECT_EQ(t.CaptionNumber, k);
        EXPECT_DOUBLE_EQ(double(t.SizeFactor), 1);
        ExpectNear(t.Position, grid.At(k)->X + 1.25, grid.At(k)->Y - 2.5);
    }
}

TEST_F(RenderPolygon, CaptionPlacementsMoveTurnAndHideInOrder)
{
    AddRule(QStringLiteral("ИИ"));
    Square(10);
    Area.Semantics = QStringLiteral("ОБЛ/ИИAB");
    Area.UserTexts.AddItem();
    Area.UserTexts.Item->Dx = 1;
    Area.UserTexts.Item->Dy = 2;
    Area.UserTexts.Item->Angle = 900;
    Area.UserTexts.Item->SizeFactor = 2;
    Area.UserTexts.Item->Show = 2;
    Symbols.RenderPolygon(&Area);
    ASSERT_EQ(Area.AutoTexts.GetCount(), 1);
    const RAutoText& t = *Area.AutoTexts.At(0);
    // Shifted as the placement says, not scaled; turned by 90 degrees added to the main
    // direction (east), i.e. to south, which is not turned back upright.
    ExpectNear(t.Position, 5 + 0.625 + 1, 5 - 0.625 + 2);
    EXPECT_EQ(t.Angle, GeoToWinAngle(180));
    EXPECT_DOUBLE_EQ(double(t.SizeFactor), 2);
    EXPECT_EQ(t.Hidden, 1);
}

TEST_F(RenderPolygon, MaterialCaptionShowsTheMaterialName)
{
    TSemServices services;
    services.Codec.SL[seM] = QStringList{QStringLiteral("не указан"), QStringLiteral("кирпичный")};
    AddRule(QStringLiteral("М"));
    Square(20);
    Area.Semantics = QStringLiteral("ОБЛ/М001");
    Symbols.RenderPolygon(&Area);
    ASSERT_EQ(Area.AutoTexts.GetCount(), 1);
    EXPECT_EQ(Area.AutoTexts.At(0)->Text, QStringLiteral("кирпичный"));
}

TEST_F(RenderPolygon, CentreOfAnLShapeLiesInsideIt)
{
    // Clockwise: the extent's middle (10, 10) lies outside, in the cut-out corner.
    for (const TXY& p : std::vector<TXY>{{20, 0}, {20, 6}, {6, 6}, {6, 20}, {0, 20}, {0, 0}})
        AddNode(p.X, p.Y);
    AddRule(QStringLiteral("ИИ"));
    Area.Semantics = QStringLiteral("ОБЛ/ИИA");
    Symbols.RenderPolygon(&Area);
    const TGeoPoint& C = Symbols.Area.Centre;
    EXPECT_TRUE(PointInPolygon(Symbols.Outline.OuterPoints, C.X, C.Y)) << double(C.X) << " " << double(C.Y);
    EXPECT_DOUBLE_EQ(double(Symbols.Area.Direction), 90);
}

// Guards against the caption of a building with a courtyard (or a lake with an island)
// landing in the hole: the chords are cut by the inner contours too.
TEST_F(RenderPolygon, CentreOfAnAreaWithAHoleInTheMiddleLiesInTheArea)
{
    // 30 m north-south by 40 m east-west, a courtyard from 10 to 20 north and from 5 to
    // 25 east: the widest piece along the main direction (east) north of it runs 0 to 40.
    for (const TXY& p : std::vector<TXY>{{30, 0}, {30, 40}, {0, 40}, {0, 0}})
        AddNode(p.X, p.Y);
    TGPolygonNodes& yard = AddHole();
    for (const TXY& p : std::vector<TXY>{{20, 5}, {20, 25}, {10, 25}, {10, 5}})
        AddNode(yard, p.X, p.Y);
    AddRule(QStringLiteral("ИИ"));
    Area.Semantics = QStringLiteral("ОБЛ/ИИA");
    Symbols.RenderPolygon(&Area);
    const TGeoPoint& C = Symbols.Area.Centre;
    EXPECT_TRUE(PointInPolygonWithHoles(Symbols.Outline.OuterPoints, &Symbols.Outline.InnerPoints, C.X, C.Y))
        << double(C.X) << " " << double(C.Y);
    // Across (north-south through 15, 20): pieces 0-10, 10-20 (the yard), 20-30; the
    // first longest inside is 0-10, middle 5. Along it (east-west at 5): 0-40.
    ExpectNear(C, 5, 20);
    EXPECT_NEAR(double(Symbols.Area.Across), 10, 1e-9);
    EXPECT_NEAR(double(Symbols.Area.Along), 40, 1e-9);
}

TEST_F(RenderPolygon, MainDirectionOfATurnedRectangle)
{
    // 40 m by 10 m, its long sides at 30 degrees.
    const TGeoPoint A = GeoPoint(0, 0);
    const TGeoPoint B = PGZ(A, 40, 30);
    const TGeoPoint Cc = PGZ(B, 10, 120);
    const TGeoPoint D = PGZ(A, 10, 120);
    for (const TGeoPoint& p : {A, B, Cc, D})
        AddNode(p.X, p.Y);
    AddRule(QStringLiteral("ИИ"));
    Area.Semantics = QStringLiteral("ОБЛ/ИИA");
    Symbols.RenderPolygon(&Area);
    EXPECT_NEAR(double(Symbols.Area.Direction), 30, 1e-9);
    EXPECT_NEAR(double(Symbols.Area.Along), 40, 1e-6);
    EXPECT_NEAR(double(Symbols.Area.Across), 10, 1e-6);
    ExpectNear(Symbols.Area.Centre, (A.X + Cc.X) / 2, (A.Y + Cc.Y) / 2);
}

TEST_F(RenderPolygon, ChequeredGridHasEvenRowsEverySecondShifted)
{
    SetOuter({{100, 0}, {100, 100}, {0, 100}, {0, 0}});
    struct Case {
        Extended stepX;   // H / (stepX / 2) is 10 (even) and 9 (odd)
        int rows;
    };
    for (const Case& c : {Case{20, 12}, Case{200.0L / 9, 12}}) {
        SCOPED_TRACE(double(c.stepX));
        // Large steps along Y: few columns, all inside only in the middle.
        Grid(c.stepX, 40, 0, 0);
        TGeoPoints points;
        Symbols.CreatePointsInPolygon(2, points, 50, 50);
        // Rows from the points' northings; every row's eastings from those of row 0.
        std::vector<double> rowsX;
        for (const auto& p : points)
            if (rowsX.empty() || std::fabs(rowsX.back() - double(p->X)) > 1e-9)
                rowsX.push_back(double(p->X));
        const double half = double(c.stepX) / 2;
        const double firstRowX = 50 - c.rows * half / 2;
        for (const auto& p : points) {
            const double i = (double(p->X) - firstRowX) / half;
            ASSERT_NEAR(i, std::nearbyint(i), 1e-9);
            const int row = int(std::nearbyint(i));
            // Columns: 100 / 40 -> 2 (halves to even) + 2 = 4, from 50 - 80.
            const double j = (double(p->Y) - (50 - 80) + (row % 2 == 1 ? 20 : 0)) / 40;
            EXPECT_NEAR(j, std::nearbyint(j), 1e-9) << row;
        }
        // Odd and even rows alike are present.
        bool odd = false, even = false;
        for (double x : rowsX) {
            const int row = int(std::nearbyint((x - firstRowX) / half));
            (row % 2 ? odd : even) = true;
        }
        EXPECT_TRUE(odd && even);
    }
}

TEST_F(RenderPolygon, RectangularGridKeepsPointsWhoseFreeRectangleIsInside)
{
    SetOuter({{30, 0}, {30, 30}, {0, 30}, {0, 0}});
    // H / 10 = 3 + 2 rows at 15 - 25 + 10 i: -10, 0, 10, 20, 30; the same columns.
    Grid(10, 10, 0, 0);
    TGeoPoints points;
    Symbols.CreatePointsInPolygon(1, points, 15, 15);
    // The contour's own sides count as inside.
    EXPECT_EQ(points.GetCount(), 16);
    Grid(10, 10, 1, 1);
    Symbols.CreatePointsInPolygon(1, points, 15, 15);
    ExpectPoints(points, {{10, 10}, {10, 20}, {20, 10}, {20, 20}});
}

TEST_F(RenderPolygon, FreeRectangleWithACornerInAHoleDropsItsPoint)
{
    SetOuter({{30, 0}, {30, 30}, {0, 30}, {0, 0}});
    // A hole just north-east of the grid point (10, 10): the point itself is outside
    // it, the free rectangle's corner (11, 11) inside.
    AddInner({{14, 10.5}, {14, 14}, {10.5, 14}, {10.5, 10.5}});
    Grid(10, 10, 1, 1);
    TGeoPoints points;
    Symbols.CreatePointsInPolygon(1, points, 15, 15);
    ExpectPoints(points, {{10, 20}, {20, 10}, {20, 20}});
    // A corner on the hole's side counts as inside the hole too.
    Symbols.Outline.InnerPoints.DeleteAll();
    AddInner({{14, 11}, {14, 14}, {11, 14}, {11, 11}});
    Symbols.CreatePointsInPolygon(1, points, 15, 15);
    ExpectPoints(points, {{10, 20}, {20, 10}, {20, 20}});
}

TEST_F(RenderPolygon, UnusableGridsGiveNoPoints)
{
    SetOuter({{30, 0}, {30, 30}, {0, 30}, {0, 0}});
    const Extended steps[] = {0, -10, 0.0005L};
    for (const Extended step : steps) {
        SCOPED_TRACE(double(step));
        for (const int order : {1, 2}) {
            TGeoPoints points;
            Grid(step, 10, 0, 0);
            Symbols.CreatePointsInPolygon(order, points, 15, 15);
            EXPECT_EQ(points.GetCount(), 0);
            Grid(10, step, 0, 0);
            Symbols.CreatePointsInPolygon(order, points, 15, 15);
            EXPECT_EQ(points.GetCount(), 0);
        }
    }
    TGeoPoints points;
    Grid(10, 10, 0, 0);
    Symbols.CreatePointsInPolygon(3, points, 15, 15);
    EXPECT_EQ(points.GetCount(), 0);
    // Layout 0 needs no step.
    Grid(0, 0, 0, 0);
    Symbols.CreatePointsInPolygon(0, points, 15, 15);
    ExpectPoints(points, {{15, 15}});
}

// Guards against a far-off node or a tiny fill step making the drawing hang.
TEST_F(RenderPolygon, HugeAreaWithAMillimetreFillStepReturnsAtOnce)
{
    Square(50000);
    Sign->Piece1.DeleteAll();
    Sign->Fill1Kind = 1;
    Sign->Fill1StepX = Sign->Fill1StepY = 1;   // half a metre: 10^10 candidates
    AddCircle(Sign->Fill1, 0, 0.2L);
    Symbols.RenderPolygon(&Area);
    for (const auto& e : Area.Picture)
        for (const auto& c : e->Circles)
            EXPECT_NE(double(c->Radius), 0.1);
}

TEST_F(RenderPolygon, FillLeavesTheHolesAsRingsOfItsPolygon)
{
    Sign->FillOn = 1;
    Sign->FillColor = 0xFF0000;
    Square(30);
    TGPolygonNodes& island = AddHole();
    AddNode(island, 20, 10);
    AddNode(island, 20, 20);
    AddNode(island, 10, 15);
    TGPolygonNodes& speck = AddHole();   // too few nodes to be a contour
    AddNode(speck, 5, 5);
    AddNode(speck, 5, 6);
    Symbols.RenderPolygon(&Area);
    ASSERT_GT(Area.Picture.GetCount(), 0);
    const RVpLayer& first = *Area.Picture.At(0);
    ASSERT_EQ(first.Polygons.GetCount(), 1);
    const RVpPolygon& fill = *first.Polygons.At(0);
    EXPECT_EQ(fill.PenStyle, 5);
    EXPECT_EQ(fill.FillStyle, vfColor);
    EXPECT_EQ(fill.FillColor, 0xFF0000);
    ExpectPoints(fill.Points, {{30, 0}, {30, 30}, {0, 30}, {0, 0}});
    ASSERT_EQ(fill.Holes.GetCount(), 1);
    ExpectPoints(fill.Holes.At(0)->Points, {{20, 10}, {20, 20}, {10, 15}});
}

TEST_F(RenderPolygon, SignWithoutInteriorGivesFillOutlineCornersAndInnerObjectsOnly)
{
    Sign->FillOn = 1;
    Square(10);
    Area.Semantics = QStringLiteral("ОБЛ/ИИA");
    Area.InnerPoints.AddItem();
    Area.InnerPoints.Item->SignName = QStringLiteral("#");
    Area.InnerLines.AddItem();
    Area.InnerLines.Item->SignName = QStringLiteral("#");
    // Captions on the sign's rule list make interior work; without any the sign has none.
    ASSERT_FALSE(Symbols.VpGPolygons.NeedExtCalc());
    Symbols.Area.Centre = GeoPoint(-1, -1);
    Symbols.RenderPolygon(&Area);
    RGPolygon outlineOnly;
    AddNode(outlineOnly.Nodes, 10, 0);
    AddNode(outlineOnly.Nodes, 10, 10);
    AddNode(outlineOnly.Nodes, 0, 10);
    AddNode(outlineOnly.Nodes, 0, 0);
    Symbols.RenderPolygonLine(&outlineOnly);
    EXPECT_EQ(Area.Picture.GetCount(), 1 + outlineOnly.Picture.GetCount());
    EXPECT_EQ(Area.AutoTexts.GetCount(), 0);
    ExpectNear(Symbols.Area.Centre, -1, -1);   // no interior step ran
    EXPECT_EQ(Area.SignName, QStringLiteral("ОБЛ"));
}

TEST_F(RenderPolygon, NoSignLeavesHashAndDrawsNothing)
{
    Square(10);
    Area.SignName = QStringLiteral("НЕТ");
    EXPECT_FALSE(Symbols.RenderPolygon(&Area));
    EXPECT_EQ(Area.SignName, QStringLiteral("#"));
    EXPECT_EQ(Area.Picture.GetCount(), 0);
}

TEST_F(RenderPolygon, LinesFromCornersSkipNodesMarkedWithoutOne)
{
    Dash(Sign->Diagonals1);
    Sign->Diagonals1Style = 1;
    Sign->Diagonals1Length = 1000;   // one dash per stroke: 500 m a picture
    Square(10);
    Area.Nodes.At(1)->CornerLine = 1;
    Symbols.RenderPolygon(&Area);
    std::vector<std::pair<TXY, TXY>> strokes;
    for (const auto& s : Strokes(Area.Picture))
        if (std::fabs(s.first.X - 5) < 1e-9 && std::fabs(s.first.Y - 5) < 1e-9)
            strokes.push_back(s);
    // From the centre to the three nodes left, each 0.5 m long (the dash of 1 mm).
    ASSERT_EQ(strokes.size(), 3u);
    const TXY ends[] = {{10, 0}, {0, 10}, {0, 0}};
    for (size_t i = 0; i < 3; ++i) {
        Extended d = 0;
        TGeoAngle a = 0, want = 0;
        OGZ(5, 5, strokes[i].second.X, strokes[i].second.Y, d, a);
        OGZ(5, 5, ends[i].X, ends[i].Y, d, want);
        EXPECT_NEAR(double(a), double(want), 1e-9) << i;
    }
}

TEST_F(RenderPolygon, ShortLinesFromCornersRunTowardsTheCentre)
{
    Dash(Sign->Diagonals1);
    Sign->Diagonals1Style = 2;
    Sign->Diagonals1Length = 2;   // 1 m: a dash of half a metre from each node
    Sign->Piece1.DeleteAll();
    Square(10);
    Symbols.RenderPolygon(&Area);
    const auto strokes = Strokes(Area.Picture);
    ASSERT_EQ(strokes.size(), 4u);
    const double s = 0.5 / std::sqrt(2.0);
    const TXY want[][2] = {{{10, 0}, {10 - s, s}},
                           {{10, 10}, {10 - s, 10 - s}},
                           {{0, 10}, {s, 10 - s}},
                           {{0, 0}, {s, s}}};
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(strokes[i].first.X, want[i][0].X, 1e-9);
        EXPECT_NEAR(strokes[i].first.Y, want[i][0].Y, 1e-9);
        EXPECT_NEAR(strokes[i].second.X, want[i][1].X, 1e-9);
        EXPECT_NEAR(strokes[i].second.Y, want[i][1].Y, 1e-9);
    }
}

TEST_F(RenderPolygon, CentrePictureTurnsWithChainIWhenAsked)
{
    // Chain I from the north-west node east, then south: its first side runs east.
    Square(10);
    Area.Nodes.At(0)->SegmentType = 1;
    Area.Nodes.At(2)->SegmentType = 2;
    Sign->Piece1.DeleteAll();
    Sign->Corners.DeleteAll();
    // A dash north of the picture's origin shows its turn.
    Sign->Center.AddItem();
    Sign->Center.Item->Lines.AddItem();
    Sign->Center.Item->Lines.Item->P2 = GeoPoint(2, 0);   // 1 m north, unturned
    const struct {
        std::uint8_t orientation;
        bool placed;
        TXY end;
    } cases[] = {{0, true, {6, 5}}, {1, true, {5, 6}}, {2, true, {4, 5}}, {3, false, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.orientation));
        Sign->CenterOrientation = c.orientation;
        Area.SignName = Sign->Code;
        Symbols.RenderPolygon(&Area);
        const auto strokes = Strokes(Area.Picture);
        ASSERT_EQ(strokes.size(), c.placed ? 1u : 0u);
        if (!c.placed)
            continue;
        EXPECT_NEAR(strokes[0].first.X, 5, 1e-9);
        EXPECT_NEAR(strokes[0].first.Y, 5, 1e-9);
        EXPECT_NEAR(strokes[0].second.X, c.end.X, 1e-9);
        EXPECT_NEAR(strokes[0].second.Y, c.end.Y, 1e-9);
    }
}

TEST_F(RenderPolygon, LinesFromTheSpecialSideFormAVOrAnA)
{
    // Sides marked 1, 1, 2, 0: chain I runs over the north and east sides (A1 = the
    // north-west node, A2 = the south-east one), chain II is the south side.
    Square(10);
    const int marks[] = {1, 1, 2, 0};
    for (int i = 0; i < 4; ++i)
        Area.Nodes.At(i)->SegmentType = std::uint8_t(marks[i]);
    Sign->Piece1.DeleteAll();
    Sign->Corners.DeleteAll();
    AddAxisDash(Sign->Diagonals2, 0, 1000);
    Sign->Diagonals2Length = 1000;
    for (const int style : {1, 2}) {
        SCOPED_TRACE(style);
        Sign->Diagonals2Style = std::uint8_t(style);
        Area.SignName = Sign->Code;
        Symbols.RenderPolygon(&Area);
        const auto strokes = Strokes(Area.Picture);
        // Mid is the middle of the south side, (0, 5).
        std::vector<std::pair<TXY, TXY>> want = {{{10, 0}, {0, 5}}, {{0, 10}, {0, 5}}};
        if (style == 2)
            want.push_back({{5, 2.5}, {0, 7.5}});
        ASSERT_EQ(strokes.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_NEAR(strokes[i].first.X, want[i].first.X, 1e-9);
            EXPECT_NEAR(strokes[i].first.Y, want[i].first.Y, 1e-9);
            EXPECT_NEAR(strokes[i].second.X, want[i].second.X, 1e-9);
            EXPECT_NEAR(strokes[i].second.Y, want[i].second.Y, 1e-9);
        }
    }
}

TEST_F(RenderPolygon, FillGridsAndCentrePicture)
{
    Square(20);
    Sign->Piece1.DeleteAll();
    Sign->Corners.DeleteAll();
    AddCircle(Sign->Fill1, 0, 0.2L);   // 0.1 m on the ground
    Sign->Fill1Kind = 1;
    Sign->Fill1StepX = Sign->Fill1StepY = 10;   // 5 m
    Sign->MarginA = Sign->MarginB = 1;          // 0.5 m free about each point
    AddCircle(Sign->Center, 0, 0.6L);           // 0.3 m
    // The second fill on the same steps, moved by half a step both ways.
    AddCircle(Sign->Fill2, 0, 0.4L);            // 0.2 m
    Sign->Fill2Kind = 1;
    Sign->Fill2StepX = Sign->Fill2StepY = 10;
    Area.CaptionShift = GeoPoint(2, 0);         // the grids move 1 m north
    Symbols.RenderPolygon(&Area);
    std::vector<TXY> fill, second, centre;
    for (const auto& e : Area.Picture)
        for (const auto& c : e->Circles) {
            const double r = double(c->Radius);
            (r < 0.15 ? fill : r < 0.25 ? second : centre).push_back({double(c->Center.X), double(c->Center.Y)});
        }
    // Rows at 13.5 - 15 + 5 i, columns at 12.5 - 15 + 5 j.
    ASSERT_EQ(second.size(), 16u);
    EXPECT_DOUBLE_EQ(second.front().X, 3.5);
    EXPECT_DOUBLE_EQ(second.front().Y, 2.5);
    EXPECT_DOUBLE_EQ(second.back().X, 18.5);
    EXPECT_DOUBLE_EQ(second.back().Y, 17.5);
    // 20 / 5 + 2 = 6 rows at 11 - 15 + 5 i (-4 .. 21) and 6 columns at 10 - 15 + 5 j
    // (-5 .. 20); those whose free rectangle lies inside: rows 1 .. 16, columns 5 .. 15.
    ASSERT_EQ(fill.size(), 12u);
    EXPECT_DOUBLE_EQ(fill.front().X, 1);
    EXPECT_DOUBLE_EQ(fill.front().Y, 5);
    EXPECT_DOUBLE_EQ(fill.back().X, 16);
    EXPECT_DOUBLE_EQ(fill.back().Y, 15);
    ASSERT_EQ(centre.size(), 1u);
    EXPECT_DOUBLE_EQ(centre[0].X, 10);
    EXPECT_DOUBLE_EQ(centre[0].Y, 10);
}

TEST_F(RenderPolygon, SlopeHatchingOfKindOneNeedsItsSecondPictureWhenAsked)
{
    // A 40 m by 10 m slope: chain I the north side, chain II the south side.
    AddNode(10, 0).SegmentType = 1;
    AddNode(10, 40);
    AddNode(0, 40).SegmentType = 2;
    AddNode(0, 0);
    Sign->Piece1.DeleteAll();
    Sign->Corners.DeleteAll();
    AddAxisDash(Sign->Cross1, 0, 1000);
    Sign->Cross1Style = 1;
    Sign->Cross1Length = 1000;
    Sign->Cross1Step = 20;   // 10 m: 4 strokes
    Sign->Cross2Style = 1;
    Symbols.RenderPolygon(&Area);
    EXPECT_EQ(Strokes(Area.Picture).size(), 0u);   // the intermediate picture is missing
    Sign->Cross2Style = 0;
    Area.SignName = Sign->Code;
    Symbols.RenderPolygon(&Area);
    EXPECT_EQ(Strokes(Area.Picture).size(), 4u);
}
