#include "foundation/GeoDataObjects.h"
#include "foundation/GeoDataObjectsPicture.h"

#include <gtest/gtest.h>

namespace {

bool IsOrigin(const TGeoPoint& p) { return p.X == 0 && p.Y == 0; }

bool IsZeroRect(const TGeoRect& r)
{
    for (const TGeoPoint& p : r) {
        if (!IsOrigin(p))
            return false;
    }
    return true;
}

}  // namespace

TEST(DataModelPlan, FreshSheetLayerAndRasterDefaults)
{
    TGPages pages;
    ASSERT_TRUE(pages.AddItem());
    const RGPage& page = *pages.Item;
    EXPECT_TRUE(page.Name.isEmpty());
    EXPECT_EQ(page.Visible, 1);
    EXPECT_EQ(page.Layers.GetCount(), 0);
    EXPECT_EQ(page.Rastrs.GetCount(), 0);

    pages.Item->Layers.AddItem();
    const RGLayer& layer = *pages.Item->Layers.Item;
    EXPECT_EQ(layer.Visible, 1);
    EXPECT_EQ(layer.Extra, 0);
    EXPECT_EQ(layer.Texts.GetCount() + layer.Points.GetCount() + layer.Lines.GetCount() +
                  layer.Polygons.GetCount(),
              0);

    pages.Item->Rastrs.AddItem();
    const RGRastr& r = *pages.Item->Rastrs.Item;
    EXPECT_EQ(r.Visible, 1);
    EXPECT_EQ(r.Flag, 0);
    EXPECT_EQ(r.LoadOnOpen, 1);
    EXPECT_EQ(r.Loaded, 0);
    EXPECT_EQ(r.FilterOn, 0);
    EXPECT_EQ(r.FilterApplied, 0);
    // Values the creating command sets start at zero rather than undefined.
    EXPECT_EQ(r.Brightness + r.Red + r.Green + r.Blue, 0);
    ASSERT_NE(r.Picture, nullptr);
    EXPECT_TRUE(r.Picture->Empty());
    EXPECT_EQ(r.Picture->Width(), 0);
    EXPECT_TRUE(IsOrigin(r.TopRight) && IsOrigin(r.BottomLeft));
}

TEST(DataModelPlan, FreshTextsDefaults)
{
    TGTexts texts;
    texts.AddItem();
    const RGText& t = *texts.Item;
    EXPECT_EQ(t.OwnStyle, nullptr);
    EXPECT_EQ(t.SizeFactor, 1);
    EXPECT_EQ(t.Angle, 0);
    EXPECT_EQ(t.ExtValue, 0);
    EXPECT_EQ(t.AlongLine, 0);
    EXPECT_EQ(t.FrameValid, 0);
    EXPECT_TRUE(IsZeroRect(t.Frame));

    TAutoTexts captions;
    captions.AddItem();
    const RAutoText& c = *captions.Item;
    EXPECT_EQ(c.ExtValue, 1);
    EXPECT_EQ(c.AlongLine, 0);
    EXPECT_EQ(c.SizeFactor, 1);
    EXPECT_EQ(c.CaptionNumber, -1);
    EXPECT_EQ(c.Hidden, 0);

    TUserTexts adjustments;
    adjustments.AddItem();
    const RUserText& u = *adjustments.Item;
    EXPECT_EQ(u.Dx, 0);
    EXPECT_EQ(u.Dy, 0);
    EXPECT_EQ(u.Angle, 0);
    EXPECT_EQ(u.SizeFactor, 1);
    EXPECT_EQ(u.Show, 0);
}

TEST(DataModelPlan, FreshObjectDefaults)
{
    TGPoints points;
    points.AddItem();
    const RGPoint& p = *points.Item;
    EXPECT_EQ(p.Precision, 2);
    EXPECT_EQ(p.SignAngle, 0);
    EXPECT_EQ(p.Tag, 0);
    EXPECT_EQ(p.Flag, 0);
    EXPECT_EQ(p.AllUserTextsFromFirst, 0);
    EXPECT_EQ(p.LeaderLine, 0);
    EXPECT_TRUE(p.SignName.isEmpty());
    EXPECT_EQ(p.AutoTexts.GetCount() + p.UserTexts.GetCount() + p.Picture.GetCount() +
                  p.InnerTexts.GetCount(),
              0);
    EXPECT_EQ(p.Picture.HasOwnLine, 0);
    EXPECT_EQ(p.Picture.OwnLineWidth, 1);

    TGLines lines;
    lines.AddItem();
    const RGLine& l = *lines.Item;
    EXPECT_EQ(l.Precision, 2);
    EXPECT_EQ(l.Strip, 0);
    EXPECT_EQ(l.StripWidth, 0);
    EXPECT_TRUE(l.OverLines.isEmpty());
    EXPECT_EQ(l.Nodes.GetCount() + l.Track.GetCount(), 0);

    TGLineNodes nodes;
    nodes.AddItem();
    const RGLineNode& n = *nodes.Item;
    EXPECT_EQ(n.SignShift, -1);
    EXPECT_EQ(n.TextCounter, -1);
    EXPECT_EQ(n.NodeNumber, -1);
    EXPECT_EQ(n.Generated, 0);
    EXPECT_TRUE(n.IsDefault());

    TGPolygons polygons;
    polygons.AddItem();
    const RGPolygon& g = *polygons.Item;
    EXPECT_EQ(g.CaptionAngle, -1);
    EXPECT_EQ(g.Precision, 2);
    EXPECT_TRUE(IsOrigin(g.CaptionShift));
    EXPECT_EQ(g.Nodes.GetCount() + g.Holes.GetCount() + g.InnerPoints.GetCount() +
                  g.InnerLines.GetCount(),
              0);

    TGPolygonNodes polygonNodes;
    polygonNodes.AddItem();
    EXPECT_EQ(polygonNodes.Item->SignShift, -1);
    EXPECT_TRUE(polygonNodes.Item->IsDefault());

    TFAPoints snaps;
    snaps.AddItem();
    const RFAPoint& s = *snaps.Item;
    EXPECT_EQ(s.PageIndex, -1);
    EXPECT_EQ(s.LayerIndex, -1);
    EXPECT_EQ(s.ObjectIndex, -1);
    EXPECT_EQ(s.ScreenX + s.ScreenY, 0);
}

TEST(DataModelPlan, LineNodeIsDefaultUntilAnyPropertyIsSet)
{
    struct Case {
        const char* change;
        void (*apply)(RGLineNodeData&);
        bool isDefault;
    };
    const Case cases[] = {
        {"NodeType 1", [](RGLineNodeData& n) { n.NodeType = 1; }, false},
        {"Curve 1", [](RGLineNodeData& n) { n.Curve = 1; }, false},
        {"Curve 2", [](RGLineNodeData& n) { n.Curve = 2; }, true},   // only 1 counts
        {"SignShift 0", [](RGLineNodeData& n) { n.SignShift = 0; }, false},
        {"SignShift 2.5", [](RGLineNodeData& n) { n.SignShift = 2.5L; }, false},
        {"SignShift -0.5", [](RGLineNodeData& n) { n.SignShift = -0.5L; }, true},
        {"SegmentType 2", [](RGLineNodeData& n) { n.SegmentType = 2; }, false},
        {"TextCounter 0", [](RGLineNodeData& n) { n.TextCounter = 0; }, false},
        {"TextCounter -5", [](RGLineNodeData& n) { n.TextCounter = -5; }, true},
        {"InvertText 1", [](RGLineNodeData& n) { n.InvertText = 1; }, false},
        {"Generated 1", [](RGLineNodeData& n) { n.Generated = 1; }, true},
        {"NodeNumber 7", [](RGLineNodeData& n) { n.NodeNumber = 7; }, true},
        {"Position", [](RGLineNodeData& n) { n.Position = GeoPoint(5, 6); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        RGLineNodeData node;
        c.apply(node);
        EXPECT_EQ(node.IsDefault(), c.isDefault);
    }
}

TEST(DataModelPlan, PolygonNodeIsDefaultUntilAnyPropertyIsSet)
{
    struct Case {
        const char* change;
        void (*apply)(RGPolygonNode&);
        bool isDefault;
    };
    const Case cases[] = {
        {"Curve 1", [](RGPolygonNode& n) { n.Curve = 1; }, false},
        {"Curve 3", [](RGPolygonNode& n) { n.Curve = 3; }, true},
        {"SignShift 0", [](RGPolygonNode& n) { n.SignShift = 0; }, false},
        {"SignShift -2", [](RGPolygonNode& n) { n.SignShift = -2; }, true},
        {"SegmentType 1", [](RGPolygonNode& n) { n.SegmentType = 1; }, false},
        {"SegmentStyle 2", [](RGPolygonNode& n) { n.SegmentStyle = 2; }, false},
        {"CornerLine 1", [](RGPolygonNode& n) { n.CornerLine = 1; }, false},
        {"CornerPicture 5", [](RGPolygonNode& n) { n.CornerPicture = 5; }, false},
        {"Position", [](RGPolygonNode& n) { n.Position = GeoPoint(1, 2); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        RGPolygonNode node;
        c.apply(node);
        EXPECT_EQ(node.IsDefault(), c.isDefault);
    }
}

TEST(DataModelPlan, LineNodeValuesTravelThroughTheExchangeArray)
{
    TGLineNodes nodes;
    nodes.AddItem();
    nodes.Item->Position = GeoPoint(1, 2);
    nodes.Item->Curve = 1;
    nodes.Item->NodePoints.AddItem();
    ArrLineNodes values{*nodes.Item};
    values[0].TextCounter = 3;
    static_cast<RGLineNodeData&>(*nodes.Item) = values[0];
    EXPECT_EQ(nodes.Item->TextCounter, 3);
    EXPECT_EQ(nodes.Item->Curve, 1);
    EXPECT_EQ(nodes.Item->NodePoints.GetCount(), 1);   // attached points stay
}

// Builds every kind of owned sub-object at every level; under AddressSanitizer the
// deletes below report any record or sub-list left behind.
TEST(DataModelPlan, DeletingASheetFreesItsWholeSubtree)
{
    TGPages pages;
    for (int s = 0; s < 2; ++s) {
        pages.AddItem();
        RGPage& page = *pages.Item;
        page.Rastrs.AddItem();
        page.Rastrs.Item->Picture->Image = QImage(4, 3, QImage::Format_RGB32);
        page.Layers.AddItem();
        RGLayer& layer = *page.Layers.Item;
        layer.Texts.AddItem();
        layer.Texts.Item->OwnStyle = std::make_unique<TUserStyle>();

        layer.Points.AddItem();
        RGPoint& point = *layer.Points.Item;
        point.AutoTexts.AddItem();
        point.AutoTexts.Item->OwnStyle = std::make_unique<TUserStyle>();
        point.UserTexts.AddItem();
        point.InnerTexts.AddItem();
        point.Picture.AddItem();
        point.Picture.Item->Polygons.AddItem();
        point.Picture.Item->Polygons.Item->Points.AddPoint(1, 1);
        point.Picture.Item->Texts.AddItem();
        point.Picture.Item->Texts.Item->OwnStyle = std::make_unique<TUserStyle>();

        layer.Polygons.AddItem();
        RGPolygon& polygon = *layer.Polygons.Item;
        polygon.Nodes.AddItem();
        polygon.Holes.AddItem();
        polygon.Holes.Item->Nodes.AddItem();
        polygon.InnerLines.AddItem();
        RGLine& line = *polygon.InnerLines.Item;
        line.OverLines << QStringLiteral("a");
        line.Track.AddItem();
        line.Nodes.AddItem();
        line.Nodes.Item->NodePoints.AddItem();
        line.Nodes.Item->NodePoints.Item->InnerTexts.AddItem();
        line.Nodes.Item->NodePoints.Item->InnerTexts.Item->OwnStyle =
            std::make_unique<TUserStyle>();
        polygon.InnerPoints.AddItem();
        polygon.InnerPoints.Item->Picture.AddItem();
    }
    ASSERT_TRUE(pages.GoFirstItem());
    ASSERT_TRUE(pages.DeleteItem());
    EXPECT_EQ(pages.GetCount(), 1);
    pages.DeleteAll();
    EXPECT_EQ(pages.GetCount(), 0);
    EXPECT_EQ(pages.Item, nullptr);
}
