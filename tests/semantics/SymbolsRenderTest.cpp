// Placing sign pictures: a whole picture at a point, a line pattern's window on one
// stretch, the strokes along a segment with their mitres, and the counters and phase
// the line renderers rely on. Texts are measured with a fixed advance.
#include "SignTestSupport.h"

#include "foundation/GeoServ.h"

#include <cmath>

namespace {

constexpr Extended Eps = 1e-9L;

class RenderPic : public SignFixture {
protected:
    void SetUp() override
    {
        SignFixture::SetUp();
        // 4 dots per millimetre: a style of 2.5 mm is 10 dots, a dot 0.125 m at 1:500.
        Symbols.SetScale(500, 101.6L);
        Symbols.SetMeasurer(std::make_unique<TFixedTextMeasurer>(0.5));
    }
    static RVpLayer& Element(TVpLayers& pic)
    {
        pic.AddItem();
        return *pic.Item;
    }
    static void AddCircle(TVpLayers& pic, Extended x, Extended y, Extended r)
    {
        RVpLayer& e = Element(pic);
        e.Circles.AddItem();
        e.Circles.Item->Center = GeoPoint(x, y);
        e.Circles.Item->Radius = r;
    }
    static void AddLine(TVpLayers& pic, Extended x1, Extended y1, Extended x2, Extended y2)
    {
        RVpLayer& e = Element(pic);
        e.Lines.AddItem();
        e.Lines.Item->P1 = GeoPoint(x1, y1);
        e.Lines.Item->P2 = GeoPoint(x2, y2);
        e.Lines.Item->PenColor = 255;
        e.Lines.Item->PenWidth = 0.3L;
    }
    // A segment of the line being rendered, going east from the origin.
    void EastSegment(Extended length)
    {
        Symbols.ObjKind = lmLine;
        Symbols.SegAngle = 90;
        Symbols.SegLength = length;
        Symbols.TurnStart = Symbols.TurnEnd = 180;
    }
    static std::vector<const RVpLine*> Lines(const TVpLayers& pic)
    {
        std::vector<const RVpLine*> lines;
        for (const auto& e : pic)
            for (const auto& l : e->Lines)
                lines.push_back(l.get());
        return lines;
    }
    TVpLayers Source;
    TVpLayers Dest;
};

}  // namespace

TEST_F(RenderPic, TurnsThePictureClockwiseAboutItsOrigin)
{
    AddCircle(Source, 1, 0, 0.5L);   // 1 mm up the sign
    struct Case { Extended angle, x, y; };
    const Case cases[] = {{0, 100.5L, 200}, {90, 100, 200.5L}, {180, 99.5L, 200}, {270, 100, 199.5L}};
    for (const Case& c : cases) {
        SCOPED_TRACE(double(c.angle));
        Dest.DeleteAll();
        Symbols.RenderPic(&Source, &Dest, c.angle, 100, 200);
        ASSERT_EQ(Dest.GetCount(), 1);
        ExpectNear(Dest.At(0)->Circles.At(0)->Center, c.x, c.y);
        EXPECT_EQ(Dest.At(0)->Circles.At(0)->Radius, 0.25L);
    }
}

TEST_F(RenderPic, SignTextReadingDownwardsIsTurnedUpright)
{
    RVpLayer& e = Element(Source);
    e.Texts.AddItem();
    e.Texts.Item->Text = QStringLiteral("AB");
    e.Texts.Item->Angle = 90;
    Symbols.RenderPic(&Source, &Dest, 180, 0, 0);
    ASSERT_EQ(Dest.GetCount(), 1);
    const RVpText& t = *Dest.At(0)->Texts.At(0);
    EXPECT_EQ(t.Angle, 90);
    // Set at 270 the text would run west from the origin, one height (1.25 m) tall to
    // the north; upright, its anchor is the far corner of that frame.
    ExpectNear(t.Position, 1.25L, -1.25L);
    ExpectNear(t.Frame[0], 1.25L, -1.25L);
    ExpectNear(t.Frame[2], 0, 0);
    ASSERT_TRUE(t.OwnStyle);
    EXPECT_EQ(t.OwnStyle->Size, 10);   // dots
}

TEST_F(RenderPic, TextsOfTheSignOnlyForPoints)
{
    RVpLayer& e = Element(Source);
    e.Texts.AddItem();
    e.Texts.Item->Text = QStringLiteral("В");
    EastSegment(10);
    Symbols.RenderPic(&Source, &Dest, 0, 0, 0);
    EXPECT_EQ(Dest.GetCount(), 0);
}

TEST_F(RenderPic, ElementCounterRises)
{
    AddCircle(Source, 0, 0, 1);
    AddCircle(Source, 0, 1, 1);
    AddCircle(Source, 0, 2, 1);
    TVpLayers empty;
    struct Case { const char* what; TLmode kind; TVpLayers* source; int rise; };
    const Case cases[] = {
        {"point: once a picture", lmPoint, &Source, 1},
        {"line: once an element", lmLine, &Source, 3},
        {"line, empty picture: once", lmLine, &empty, 1},
        {"line, no picture: once", lmLine, nullptr, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Symbols.ObjKind = c.kind;
        Symbols.ElementCounter = 7;
        Symbols.RenderPic(c.source, &Dest, 0, 0, 0);
        EXPECT_EQ(Symbols.ElementCounter, 7 + c.rise);
    }
}

TEST_F(RenderPic, InLineTextOnEveryNthElement)
{
    AddCircle(Source, 0, 0, 1);
    AddCircle(Source, 0, 1, 1);
    EastSegment(10);
    Symbols.InLineText = QStringLiteral("Т");
    Symbols.InLineStyle.Size = 8;
    Symbols.InLinePos = GeoPoint(0, 2);
    struct Case { std::int16_t repeat; std::int32_t counter; int texts; };
    // A negative repeat counts as none (the reader accepts it).
    const Case cases[] = {{0, 0, 0}, {-2, 0, 0}, {2, 0, 1}, {2, 1, 1}, {1, 0, 2}, {3, 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.repeat << " " << c.counter);
        Dest.DeleteAll();
        Symbols.TextRepeat = c.repeat;
        Symbols.ElementCounter = c.counter;
        Symbols.RenderPic(&Source, &Dest, 0, 0, 0);
        int texts = 0;
        for (const auto& e : Dest)
            texts += e->Texts.GetCount();
        EXPECT_EQ(texts, c.texts);
        EXPECT_EQ(Symbols.ElementCounter, c.counter + 2);
    }
}

TEST_F(RenderPic, MainStrokeRunsAlongsideFromNodeToNode)
{
    AddLine(Source, 0.5L, 0, 0.5L, 3);
    AddLine(Source, -0.5L, 0, -0.5L, 3);
    AddLine(Source, 0, 0, 0, 3);          // on the axis: the pattern's, not drawn here
    AddLine(Source, 0.5L, 0, 0.25L, 3);   // oblique: skipped
    EastSegment(10);
    Symbols.RenderPicMain(&Source, &Dest, 0, 0, 0, 10);
    const auto lines = Lines(Dest);
    ASSERT_EQ(lines.size(), 2u);
    ExpectNear(lines[0]->P1, 0.25L, 0);   // left of an eastward segment is north
    ExpectNear(lines[0]->P2, 0.25L, 10);
    ExpectNear(lines[1]->P1, -0.25L, 0);
    ExpectNear(lines[1]->P2, -0.25L, 10);
    EXPECT_EQ(lines[0]->PenColor, 255);
    EXPECT_EQ(lines[0]->PenWidth, 0.3L);
}

TEST_F(RenderPic, MainStrokeMitredOnTheBisector)
{
    AddLine(Source, 0.5L, 0, 0.5L, 3);
    EastSegment(10);
    Symbols.TurnEnd = 90;   // the next segment turns left, to the north
    Symbols.RenderPicMain(&Source, &Dest, 0, 0, 0, 10);
    const auto lines = Lines(Dest);
    ASSERT_EQ(lines.size(), 1u);
    // Left of both segments: north of the first and west of the second, on the inner
    // side of the corner.
    ExpectNear(lines[0]->P2, 0.25L, 9.75L);
}

// Guards against a turn of nearly going back throwing the parallel stroke's end far
// from its node: every end stays within four offsets of its node.
TEST_F(RenderPic, ReversalMitreStaysNearTheNode)
{
    AddLine(Source, 0.5L, 0, 0.5L, 3);
    AddLine(Source, -0.5L, 0, -0.5L, 3);
    const Extended x = 0.25L;
    const Extended turns[] = {0, 0.001L, 1, 10, 28, 29, 30, 45, 90, 180, 270, 330, 331, 359, 359.999L, 360};
    for (const Extended t : turns) {
        SCOPED_TRACE(double(t));
        Dest.DeleteAll();
        EastSegment(10);
        Symbols.TurnStart = t;
        Symbols.TurnEnd = t;
        Symbols.RenderPicMain(&Source, &Dest, 0, 0, 0, 10);
        for (const RVpLine* l : Lines(Dest)) {
            Extended d0 = 0, d1 = 0;
            Dist(l->P1, GeoPoint(0, 0), d0);
            Dist(l->P2, GeoPoint(0, 10), d1);
            EXPECT_TRUE(std::isfinite(double(d0)) && std::isfinite(double(d1)));
            EXPECT_LE(d0, 4 * x + Eps);
            EXPECT_LE(d1, 4 * x + Eps);
            EXPECT_GE(d0, x - Eps);
        }
    }
}

TEST_F(RenderPic, PatternWindowClipsStrokesOnTheAxis)
{
    Symbols.SetScale(1000, 101.6L);   // a sign millimetre is a metre
    EastSegment(3);
    Symbols.PicLength = 20;
    struct Case { Extended y1, y2; bool placed; Extended from, to; };
    const Case cases[] = {
        {6, 7, true, 6, 7},      // inside the window: whole
        {6, 9, true, 6, 8},      // cut at the window's end
        {4, 9, true, 5, 8},      // across the whole window
        {4, 6, true, 5, 6},      // cut at the window's start
        {8, 9, false, 0, 0},     // begins at the window's end
        {2, 4, false, 0, 0},     // before the window
        {4, 5, false, 0, 0},     // ends at its start
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << double(c.y1) << ".." << double(c.y2));
        Source.DeleteAll();
        Dest.DeleteAll();
        AddLine(Source, 0, c.y1, 0, c.y2);
        Symbols.Phase = 5;
        Symbols.RenderPicMin(&Source, &Dest, 0, 0, 0, 3);
        const auto lines = Lines(Dest);
        ASSERT_EQ(lines.size(), c.placed ? 1u : 0u);
        if (c.placed) {
            ExpectNear(lines[0]->P1, 0, c.from - 5);
            ExpectNear(lines[0]->P2, 0, c.to - 5);
        }
        EXPECT_EQ(Symbols.Phase, 8);
    }
}

TEST_F(RenderPic, PatternWindowTakesPrimitivesByTheirMiddle)
{
    Symbols.SetScale(1000, 101.6L);
    EastSegment(3);
    Symbols.PicLength = 20;
    Symbols.Phase = 5;
    AddLine(Source, 1, 6, -1, 6);    // across the line at 6: placed
    AddLine(Source, 1, 9, -1, 9);    // at 9: not
    AddLine(Source, 1, 0, 1, 20);    // beside the axis: RenderPicMain's
    AddCircle(Source, 0, 5, 0.5L);   // the window's start counts for circles
    AddCircle(Source, 0, 8.5L, 0.5L);
    Symbols.RenderPicMin(&Source, &Dest, 0, 0, 0, 3);
    const auto lines = Lines(Dest);
    ASSERT_EQ(lines.size(), 1u);
    ExpectNear(lines[0]->P1, 1, 1);
    ExpectNear(lines[0]->P2, -1, 1);
    int circles = 0;
    for (const auto& e : Dest)
        for (const auto& c : e->Circles) {
            ++circles;
            ExpectNear(c->Center, 0, 0);
        }
    EXPECT_EQ(circles, 1);
}

TEST_F(RenderPic, PhaseCompletesAPicture)
{
    struct Case { Extended phase, len; Extended phaseAfter; bool complete; };
    const Case cases[] = {
        {9.9L, 0.05L, 0, true},     // 9.95 counts as 10
        {9.0L, 0.85L, 9.85L, false},
        {0, 10, 0, true},
        {4, 7.5L, 1.5L, true},
        {0, 3, 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << double(c.phase) << "+" << double(c.len));
        EastSegment(c.len);
        Symbols.PicLength = 10;
        Symbols.Phase = c.phase;
        Symbols.ElementCounter = 4;
        Symbols.Alternation = true;
        Symbols.RenderPicMin(nullptr, &Dest, 0, 0, 0, c.len);
        EXPECT_NEAR(double(Symbols.Phase), double(c.phaseAfter), 1e-12);
        EXPECT_EQ(Symbols.ElementCounter, c.complete ? 5 : 4);
        EXPECT_EQ(Symbols.Alternation, !c.complete);
    }
}

TEST_F(RenderPic, PatternWindowCarriesTheInLineText)
{
    Symbols.SetScale(1000, 101.6L);
    AddCircle(Source, 0, 0.5L, 0.1L);
    Symbols.InLineText = QStringLiteral("Г");
    Symbols.InLineStyle.Size = 8;
    Symbols.InLinePos = GeoPoint(0, 5);
    Symbols.InLineWidth = 2;   // the text's middle falls at 6 m of the picture
    struct Case { std::int16_t repeat; Extended phase, len; int texts; int counter; };
    const Case cases[] = {
        {1, 0, 10, 1, 2},    // the text, then the completed picture
        {1, 0, 5, 0, 0},     // the window ends before the text's middle
        {1, 6, 4, 0, 1},     // begins at it
        {0, 0, 10, 0, 1},
        {-1, 0, 10, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.repeat << " " << double(c.phase) << "+" << double(c.len));
        Dest.DeleteAll();
        EastSegment(c.len);
        Symbols.TextRepeat = c.repeat;
        Symbols.PicLength = 10;
        Symbols.Phase = c.phase;
        Symbols.ElementCounter = 0;
        Symbols.RenderPicMin(&Source, &Dest, 0, 0, 0, c.len);
        int texts = 0;
        for (const auto& e : Dest)
            texts += e->Texts.GetCount();
        EXPECT_EQ(texts, c.texts);
        EXPECT_EQ(Symbols.ElementCounter, c.counter);
    }
}

TEST_F(RenderPic, InLineTextTurnsUprightAsItsSegmentSays)
{
    AddCircle(Source, 0, 0, 1);
    EastSegment(10);
    Symbols.InLineText = QStringLiteral("Т");
    Symbols.InLineStyle.Size = 8;
    Symbols.TextRepeat = 1;
    struct Case { TGeoAngle along; bool inverted, fixed; TGeoAngle angle; };
    // Reading east stays; reading west is turned, unless fixed; an inverted segment
    // turns the other half of the circle.
    const Case cases[] = {
        {90, false, false, 90}, {270, false, false, 90}, {270, false, true, 270},
        {90, true, false, 270}, {270, true, false, 270}, {90, true, true, 270},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << double(c.along) << " " << c.inverted << " " << c.fixed);
        Dest.DeleteAll();
        Symbols.InvertedSegment = c.inverted;
        Symbols.InLineFixed = c.fixed;
        Symbols.ElementCounter = 0;
        Symbols.RenderPic(&Source, &Dest, c.along - 90, 0, 0);
        ASSERT_EQ(Dest.GetCount(), 2);
        EXPECT_EQ(Dest.At(0)->Texts.At(0)->Angle, c.angle);
    }
}
