#include "foundation/GeoDataObjectsSigns.h"

#include <gtest/gtest.h>

namespace {

void ExpectDefaultPen(const TVpPen& pen)
{
    EXPECT_EQ(pen.PenColor, 0);
    EXPECT_EQ(pen.PenMode, 4);
    EXPECT_EQ(pen.PenStyle, 0);
    EXPECT_EQ(pen.PenWidth, 1);
}

// An element with two of every primitive, distinct values everywhere.
void FillElement(RVpLayer& e)
{
    for (int i = 0; i < 2; ++i) {
        e.Polygons.AddItem();
        RVpPolygon& g = *e.Polygons.Item;
        g.PenColor = 10 + i;
        g.PenMode = 7;
        g.PenStyle = 2;
        g.PenWidth = 0.25L;
        g.FillColor = 0x123456;
        g.FillStyle = vfColor;
        g.RefPoint = GeoPoint(0, 3);
        g.Points.AddPoint(1, 1);
        g.Points.AddPoint(2, 1 + i);
        g.Points.AddPoint(2, 2);

        e.Circles.AddItem();
        e.Circles.Item->Center = GeoPoint(i, 5);
        e.Circles.Item->Radius = 1.5L;
        e.Circles.Item->FillStyle = vfBackdrop;
        e.Circles.Item->PenColor = 99;

        e.Lines.AddItem();
        e.Lines.Item->P1 = GeoPoint(0, i);
        e.Lines.Item->P2 = GeoPoint(4, i);
        e.Lines.Item->PenWidth = 0.5L;

        e.Polylines.AddItem();
        e.Polylines.Item->PenStyle = 1;
        e.Polylines.Item->RefPoint = GeoPoint(0, 7);
        e.Polylines.Item->Points.AddPoint(0, 0);
        e.Polylines.Item->Points.AddPoint(i, 9);

        e.Texts.AddItem();
        RVpText& t = *e.Texts.Item;
        t.StyleName = QStringLiteral("Подпись%1").arg(i);
        t.Angle = 45 + i;
        t.Text = QStringLiteral("т%1").arg(i);
        t.Position = GeoPoint(3, i);
        t.Frame[2] = GeoPoint(8, 8);
        if (i == 1) {
            t.OwnStyle = std::make_unique<TUserStyle>();
            t.OwnStyle->FontName = QStringLiteral("Arial");
            t.OwnStyle->Color = 255;
            t.OwnStyle->Size = 2.5L;
            t.OwnStyle->FontStyle = fsBoldBit | fsStrikeOutBit;
        }
    }
}

}  // namespace

TEST(DataModelSigns, FreshPrimitivesDrawWithTheDefaultPenAndNoFill)
{
    RVpLine line;
    ExpectDefaultPen(line);
    RVpCircle circle;
    ExpectDefaultPen(circle);
    EXPECT_EQ(circle.FillColor, 0xFFFFFF);
    EXPECT_EQ(circle.FillStyle, vfNone);
    EXPECT_EQ(circle.Radius, 0);
    RVpPolygon polygon;
    ExpectDefaultPen(polygon);
    EXPECT_EQ(polygon.FillStyle, vfNone);
    EXPECT_EQ(polygon.Points.GetCount(), 0);
    RVpPolyline polyline;
    ExpectDefaultPen(polyline);
    RVpText text;
    EXPECT_EQ(text.OwnStyle, nullptr);
    EXPECT_EQ(text.Angle, 0);

    TVpLayers picture;
    EXPECT_EQ(picture.HasOwnLine, 0);
    EXPECT_EQ(picture.OwnLineColor, 0);
    EXPECT_EQ(picture.OwnLineWidth, 1);
}

TEST(DataModelSigns, FreshSignDefinitions)
{
    TVpGPoints points;
    points.AddItem();
    EXPECT_EQ(points.Item->LeaderLineDefault, 0);
    EXPECT_EQ(points.Item->Picture.GetCount() + points.Item->Captions.GetCount(), 0);

    TVpGLines lines;
    lines.AddItem();
    const RVpGLine& l = *lines.Item;
    EXPECT_EQ(l.CaptionStart, 10);
    EXPECT_EQ(l.CaptionInterval, 100);
    EXPECT_EQ(l.PieceLength, 0);
    EXPECT_EQ(l.TextRepeat, 0);
    EXPECT_EQ(l.SegmentMiddle, 0);

    TVpGPolygons polygons;
    polygons.AddItem();
    const RVpGPolygon& g = *polygons.Item;
    EXPECT_EQ(g.FillColor, 0xFFFFFF);
    EXPECT_EQ(g.FillOn, 0);
    EXPECT_EQ(g.TextStepKind, 0);
    EXPECT_EQ(g.TextStepX, 100);
    EXPECT_EQ(g.TextStepY, 100);
    EXPECT_EQ(g.Cross1Step, 0);
    EXPECT_EQ(g.Diagonals1Style + g.Diagonals2Style + g.Cross1Style + g.Cross2Style, 0);
}

TEST(DataModelSigns, AddLayerCopiesTheElementDeeply)
{
    TVpLayers source;
    source.AddItem();
    FillElement(*source.Item);
    RVpLayer& s = *source.Item;

    TVpLayers target;
    target.AddItem();   // an element already there: the copy is appended after it
    ASSERT_TRUE(target.AddLayer(s));
    ASSERT_EQ(target.GetCount(), 2);
    EXPECT_EQ(target.GetIndex(), 1);
    const RVpLayer& d = *target.Item;

    ASSERT_EQ(d.Polygons.GetCount(), 2);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const RVpPolygon& a = *s.Polygons.At(i);
        const RVpPolygon& b = *d.Polygons.At(i);
        EXPECT_EQ(b.PenColor, a.PenColor);
        EXPECT_EQ(b.PenMode, a.PenMode);
        EXPECT_EQ(b.PenStyle, a.PenStyle);
        EXPECT_EQ(b.PenWidth, a.PenWidth);
        EXPECT_EQ(b.FillColor, a.FillColor);
        EXPECT_EQ(b.FillStyle, a.FillStyle);
        EXPECT_TRUE(b.RefPoint.X == 0 && b.RefPoint.Y == 0);   // RefPoint is not copied
        ASSERT_EQ(b.Points.GetCount(), 3);
        EXPECT_EQ(b.Points.At(1)->Y, a.Points.At(1)->Y);
        EXPECT_NE(b.Points.At(1), a.Points.At(1));

        const RVpCircle& c = *d.Circles.At(i);
        EXPECT_EQ(c.Center.X, i);
        EXPECT_EQ(c.Radius, 1.5L);
        EXPECT_EQ(c.FillStyle, vfBackdrop);
        EXPECT_EQ(c.PenColor, 99);

        EXPECT_EQ(d.Lines.At(i)->P1.Y, i);
        EXPECT_EQ(d.Lines.At(i)->P2.X, 4);
        EXPECT_EQ(d.Lines.At(i)->PenWidth, 0.5L);

        const RVpPolyline& p = *d.Polylines.At(i);
        EXPECT_EQ(p.PenStyle, 1);
        EXPECT_EQ(p.RefPoint.Y, 0);
        ASSERT_EQ(p.Points.GetCount(), 2);
        EXPECT_EQ(p.Points.At(1)->X, i);

        const RVpText& t = *d.Texts.At(i);
        EXPECT_EQ(t.StyleName, s.Texts.At(i)->StyleName);
        EXPECT_EQ(t.Angle, 45 + i);
        EXPECT_EQ(t.Text, s.Texts.At(i)->Text);
        EXPECT_EQ(t.Position.Y, i);
        EXPECT_EQ(t.Frame[2].X, 0);   // the frame belongs to the placed text only
    }
    EXPECT_EQ(d.Texts.At(0)->OwnStyle, nullptr);
    const TUserStyle* copied = d.Texts.At(1)->OwnStyle.get();
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied, s.Texts.At(1)->OwnStyle.get());
    EXPECT_EQ(copied->FontName, QStringLiteral("Arial"));
    EXPECT_EQ(copied->Color, 255);
    EXPECT_EQ(copied->Size, 2.5L);
    EXPECT_EQ(copied->FontStyle, fsBoldBit | fsStrikeOutBit);

    // The walk leaves the source's cursors on their last items.
    EXPECT_EQ(s.Polygons.GetIndex(), 1);
    EXPECT_EQ(s.Circles.GetIndex(), 1);
    EXPECT_EQ(s.Lines.GetIndex(), 1);
    EXPECT_EQ(s.Polylines.GetIndex(), 1);
    EXPECT_EQ(s.Texts.GetIndex(), 1);
    EXPECT_EQ(s.Polygons.Item->Points.GetIndex(), 2);
}

// Guards against a shallow style copy: freeing one picture must leave the other's
// own style intact.
TEST(DataModelSigns, AddLayerCopyOutlivesItsSource)
{
    TVpLayers target;
    {
        TVpLayers source;
        source.AddItem();
        FillElement(*source.Item);
        target.AddLayer(*source.Item);
    }
    const RVpText& t = *target.Item->Texts.At(1);
    ASSERT_NE(t.OwnStyle, nullptr);
    EXPECT_EQ(t.OwnStyle->FontName, QStringLiteral("Arial"));
}

TEST(DataModelSigns, AddLayerOfAnEmptyElementAddsAnEmptyOne)
{
    TVpLayers picture;
    picture.AddItem();
    EXPECT_TRUE(picture.AddLayer(*picture.Item));   // from the picture's own element
    EXPECT_EQ(picture.GetCount(), 2);
    EXPECT_EQ(picture.Item->Polygons.GetCount() + picture.Item->Texts.GetCount(), 0);
}

TEST(DataModelSigns, NeedExtCalcTruthTable)
{
    struct Case {
        const char* sign;
        void (*build)(RVpGPolygon&);
        bool need;
    };
    const Case cases[] = {
        {"outline only",
         [](RVpGPolygon& g) {
             g.Corners.AddItem();
             g.Piece1.AddItem();
             g.Piece2.AddItem();
             g.FillOn = 1;
         },
         false},
        {"fill 1", [](RVpGPolygon& g) { g.Fill1.AddItem(); }, true},
        {"fill 2", [](RVpGPolygon& g) { g.Fill2.AddItem(); }, true},
        {"fill 3", [](RVpGPolygon& g) { g.Fill3.AddItem(); }, true},
        {"centre", [](RVpGPolygon& g) { g.Center.AddItem(); }, true},
        {"diagonals 1, style 0", [](RVpGPolygon& g) { g.Diagonals1.AddItem(); }, false},
        {"diagonals 1, style 1",
         [](RVpGPolygon& g) {
             g.Diagonals1.AddItem();
             g.Diagonals1Style = 1;
         },
         true},
        {"diagonals 1 style without picture", [](RVpGPolygon& g) { g.Diagonals1Style = 1; },
         false},
        {"diagonals 2, style 2",
         [](RVpGPolygon& g) {
             g.Diagonals2.AddItem();
             g.Diagonals2Style = 2;
         },
         true},
        {"diagonals 2, style 0", [](RVpGPolygon& g) { g.Diagonals2.AddItem(); }, false},
        {"cross 1, style 3",
         [](RVpGPolygon& g) {
             g.Cross1.AddItem();
             g.Cross1Style = 3;
         },
         true},
        {"cross 1, style 0", [](RVpGPolygon& g) { g.Cross1.AddItem(); }, false},
        {"cross 2, style 1",
         [](RVpGPolygon& g) {
             g.Cross2.AddItem();
             g.Cross2Style = 1;
         },
         true},
        {"cross 2 style without picture", [](RVpGPolygon& g) { g.Cross2Style = 1; }, false},
        {"captions", [](RVpGPolygon& g) { g.Captions.AddItem(); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sign);
        TVpGPolygons signs;
        signs.AddItem();
        c.build(*signs.Item);
        EXPECT_EQ(signs.NeedExtCalc(), c.need);
    }
    TVpGPolygons none;
    EXPECT_FALSE(none.NeedExtCalc());
}

TEST(DataModelSigns, NeedExtCalcAsksAboutTheCurrentSign)
{
    TVpGPolygons signs;
    signs.AddItem();
    signs.Item->Fill1.AddItem();
    signs.AddItem();
    EXPECT_FALSE(signs.NeedExtCalc());
    signs.GoFirstItem();
    EXPECT_TRUE(signs.NeedExtCalc());
}
