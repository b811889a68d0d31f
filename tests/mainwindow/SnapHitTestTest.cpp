// Snapping and the part under the cursor as plain searches over snap nodes and found
// objects, on a surface where one pixel is one metre.
#include "mainwindow/modes/SnapHitTest.h"

#include <cmath>
#include <tuple>
#include <gtest/gtest.h>

namespace {

// Plan X north is up the surface, Y east to the right: pixel (Y, 1000 - X).
TPickView MetreView()
{
    TPickView view;
    view.ToScreen = [](const TGeoPoint& p) {
        return QPoint(int(std::nearbyint(double(p.Y))), int(std::nearbyint(double(1000 - p.X))));
    };
    view.ToPlan = [](QPoint p) { return GeoPoint(1000 - p.y(), p.x()); };
    view.PickRadius = 10;
    return view;
}

QPoint Pixel(const TGeoPoint& p) { return MetreView().ToScreen(p); }

void AddNode(TFAPoints& nodes, const QString& text, int sx, int sy, Extended px, Extended py,
             std::uint8_t kind = 1)
{
    auto node = std::make_unique<RFAPoint>();
    node->Semantics = text;
    node->ScreenX = sx;
    node->ScreenY = sy;
    node->PlanPoint = GeoPoint(px, py);
    node->ObjectKind = kind;
    nodes.AddItem(std::move(node));
}

void AddRegion(RFindedObject& object, std::initializer_list<TGeoPoint> outline, std::uint8_t caption = 0,
               int number = 0)
{
    auto region = std::make_unique<RFindedObjRegion>();
    for (const TGeoPoint& p : outline)
        region->Outline.AddPoint(p.X, p.Y);
    region->IsCaption = caption;
    region->Number = number;
    object.Regions.AddItem(std::move(region));
}

std::string Part(const TPartUnderCursor& p)
{
    return std::to_string(p.Part) + "/" + std::to_string(p.Contour) + "/" + std::to_string(p.Index);
}

}  // namespace

TEST(Snapping, TheSquareReachesHalfTheRadiusEachWayBordersIncluded)
{
    struct Case {
        int Radius;
        int Dx, Dy;
        bool Snaps;
    };
    const Case cases[] = {
        {50, 25, 25, true},   {50, 26, 0, false},  {50, 0, -26, false}, {50, -25, -25, true},
        {51, 26, 0, true},    {51, 27, 0, false},  // 25.5 goes to the even 26
        {49, 24, 0, true},    {49, 25, 0, false},  // 24.5 goes to the even 24
        {0, 0, 0, true},      {0, 1, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "radius " << c.Radius << " at " << c.Dx << "," << c.Dy);
        TFAPoints nodes;
        AddNode(nodes, QStringLiteral("ТОЧ"), 100 + c.Dx, 200 + c.Dy, 5, 5);
        TFindGeoPoint best;
        EXPECT_EQ(FindSnapCandidate(nodes, mmCreateLine, c.Radius, QPoint(100, 200), GeoPoint(0, 0), best),
                  c.Snaps);
    }
}

TEST(Snapping, NearestOnThePlanWinsAndEqualDistancesKeepListOrder)
{
    TFAPoints nodes;
    AddNode(nodes, QStringLiteral("далеко"), 101, 101, 10, 0);
    AddNode(nodes, QStringLiteral("первый"), 110, 110, 0, 3);
    AddNode(nodes, QStringLiteral("второй"), 90, 90, 3, 0);   // as near as the first
    TFindGeoPoint best;
    ASSERT_TRUE(FindSnapCandidate(nodes, mmCreateLine, 50, QPoint(100, 100), GeoPoint(0, 0), best));
    EXPECT_EQ(best.Text, QStringLiteral("первый"));   // the pixel nearest is not the point nearest
    EXPECT_EQ(best.Screen, QPoint(110, 110));
    EXPECT_EQ(double(best.Distance), 3.0);
}

TEST(Snapping, ModesThatSnapOnlyToGridCrossingsOrPointObjects)
{
    struct Case {
        TMouseMode Mode;
        const char* Text;
        std::uint8_t Kind;
        bool Admitted;
    };
    const Case cases[] = {
        {mmSetStamp, "Координатная сетка", 0, true},   {mmSetStamp, "ТОЧ", 0, false},
        {mmSetStamp, "Координатная сетка ", 0, false}, {mmCoordLabels, "Координатная сетка", 0, true},
        {mmCoordLabels, "ЛЭП", 1, false},              {mmTraceContour, "ОТА/ИВ12", 0, true},
        {mmTraceContour, "ГОР/ИВ12", 1, false},         {mmTraceContour, "ЗДН", 2, false},
        {mmInterpolateHeights, "ГОР", 1, true},         {mmCreateLine, "Координатная сетка", 0, true},
        {mmCreatePolygon, "ЗДН", 2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.Mode) << " " << c.Text);
        RFAPoint node;
        node.Semantics = QString::fromUtf8(c.Text);
        node.ObjectKind = c.Kind;
        EXPECT_EQ(SnapAdmits(c.Mode, node), c.Admitted);
    }
    // A refused node nearer than an admitted one does not hide it.
    TFAPoints nodes;
    AddNode(nodes, QStringLiteral("ТОЧ"), 100, 100, 0, 0, 0);
    AddNode(nodes, GridNodeText, 110, 100, 0, 10, 0);
    TFindGeoPoint best;
    ASSERT_TRUE(FindSnapCandidate(nodes, mmSetStamp, 50, QPoint(100, 100), GeoPoint(0, 0), best));
    EXPECT_EQ(best.Text, GridNodeText);
}

TEST(HitTest, PickSquareCornersInOrder)
{
    const TGeoRect square = MetreView().PickSquare(QPoint(100, 200));
    // (x - 5, y - 5), (x + 5, y - 5), (x + 5, y + 5), (x - 5, y + 5) as plan points.
    EXPECT_EQ(double(square[0].X), 805.0);
    EXPECT_EQ(double(square[0].Y), 95.0);
    EXPECT_EQ(double(square[1].Y), 105.0);
    EXPECT_EQ(double(square[2].X), 795.0);
    EXPECT_EQ(double(square[3].Y), 95.0);
}

TEST(HitTest, PartOfTheSelectedObjectUnderTheCursor)
{
    RFindedObject line;
    line.Kind = fkLine;
    AddRegion(line, {GeoPoint(500, 100), GeoPoint(500, 200), GeoPoint(500, 300)});
    AddRegion(line, {GeoPoint(520, 140), GeoPoint(520, 160), GeoPoint(530, 160), GeoPoint(530, 140)}, 1, 7);

    RFindedObject curved;   // a dense outline whose points carry their segment
    curved.Kind = fkLine;
    AddRegion(curved, {GeoPoint(500, 100), GeoPoint(500, 300)});
    for (const auto& [x, y, node] : {std::tuple{500, 100, 0}, {510, 150, 0}, {500, 200, 1}, {500, 300, 1}}) {
        curved.Track.AddItem();
        curved.Track.Item->Point = GeoPoint(x, y);
        curved.Track.Item->NodeIndex = node;
    }

    RFindedObject polygon;   // a square 100 m each way with a hole
    polygon.Kind = fkPolygon;
    AddRegion(polygon, {GeoPoint(400, 100), GeoPoint(400, 200), GeoPoint(300, 200), GeoPoint(300, 100)});
    AddRegion(polygon, {GeoPoint(360, 140), GeoPoint(360, 160), GeoPoint(340, 160)}, 0, 1);
    AddRegion(polygon, {GeoPoint(380, 170), GeoPoint(380, 190), GeoPoint(370, 190), GeoPoint(370, 170)}, 1, 2);

    RFindedObject point;
    point.Kind = fkPoint;
    AddRegion(point, {GeoPoint(600, 600)});
    AddRegion(point, {GeoPoint(620, 600), GeoPoint(620, 640), GeoPoint(610, 640), GeoPoint(610, 600)}, 1, 3);

    RFindedObject text;
    text.Kind = fkText;
    AddRegion(text, {GeoPoint(700, 100), GeoPoint(700, 150), GeoPoint(690, 150), GeoPoint(690, 100)});

    struct Case {
        const char* What;
        const RFindedObject* Object;
        TGeoPoint Cursor;
        bool Shift;
        const char* Expected;   // part/contour/index
    };
    const Case cases[] = {
        {"line node within 5 pixels", &line, GeoPoint(505, 195), false, "1/0/1"},
        {"line node 6 pixels off: nothing", &line, GeoPoint(506, 200), false, "0/9/9"},
        {"line segment: the whole line", &line, GeoPoint(502, 250), false, "3/0/1"},
        {"line segment with Shift", &line, GeoPoint(502, 250), true, "2/0/1"},
        {"line caption", &line, GeoPoint(525, 150), false, "4/1/7"},
        {"curved line: the dense outline's segment", &curved, GeoPoint(506, 130), false, "3/0/0"},
        {"curved line: a later segment", &curved, GeoPoint(500, 250), true, "2/0/1"},
        {"polygon node of the outer contour", &polygon, GeoPoint(300, 104), false, "1/0/3"},
        {"polygon node of the hole", &polygon, GeoPoint(342, 158), false, "1/1/2"},
        {"polygon segment, Shift or not", &polygon, GeoPoint(401, 150), false, "2/0/0"},
        {"polygon closing segment", &polygon, GeoPoint(350, 102), true, "2/0/3"},
        {"polygon caption", &polygon, GeoPoint(375, 180), false, "4/2/2"},
        {"polygon area", &polygon, GeoPoint(320, 120), false, "3/0/-1"},
        {"outside the polygon", &polygon, GeoPoint(250, 150), false, "0/9/9"},
        {"point position", &point, GeoPoint(603, 596), false, "3/-1/-1"},
        {"point caption", &point, GeoPoint(615, 620), false, "4/1/3"},
        {"text body", &text, GeoPoint(695, 120), false, "3/-1/-1"},
        {"beside the text", &text, GeoPoint(705, 120), false, "0/9/9"},
    };
    const TPickView view = MetreView();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(Part(FindPartOfObject(*c.Object, view, c.Cursor, Pixel(c.Cursor), c.Shift, {0, 9, 9})),
                  c.Expected);
    }
}

// Guards the short segment under the cursor: a piece 4 m long wholly inside the 10 m
// square at 1 m per pixel was never under the cursor. A dense outline's points are no
// nodes: the piece is found as a segment, like one of 20 m crossing two edges; one
// lying 6 m off is not.
TEST(HitTest, AShortSegmentWhollyInsideThePickSquareIsHit)
{
    for (const auto& [half, row, expected] :
         {std::tuple{2, 500, "3/0/4"}, std::tuple{10, 500, "3/0/4"}, std::tuple{2, 507, "0/-1/-1"}}) {
        SCOPED_TRACE(half);
        RFindedObject curved;
        curved.Kind = fkLine;
        AddRegion(curved, {GeoPoint(row, 100), GeoPoint(row, 300)});
        for (const int y : {150 - half, 150 + half}) {
            curved.Track.AddItem();
            curved.Track.Item->Point = GeoPoint(row, y);
            curved.Track.Item->NodeIndex = 4;
        }
        const TGeoPoint cursor = GeoPoint(501, 150);
        EXPECT_EQ(Part(FindPartOfObject(curved, MetreView(), cursor, Pixel(cursor), false, {})), expected);
    }
}
