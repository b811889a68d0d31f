// Line captions: blocks by distance along the whole line, blocks at segment middles with
// the segments' length labels, the upright rule and its reversal, and the in-line text
// joined from the line's own sign and its over-lines.
#include "SignTestSupport.h"

#include "semantics/signs/SymbolsLineCaptions.h"

#include "foundation/DelphiFormat.h"
#include "foundation/GeoServ.h"
#include "platform/Platform.h"

#include <vector>

namespace {

class LineCaptions : public LineSignFixture {
protected:
    RSemText& AddRule(RVpGLine& sign, const QString& key, const QString& start, std::uint8_t mode,
                      Extended dx = 0)
    {
        sign.Captions.AddItem();
        RSemText& r = *sign.Captions.Item;
        r.PropKey = key;
        r.PropCode = QStringLiteral("-1");
        r.TextStart = start;
        r.Mode = mode;
        r.Dx = dx;
        return r;
    }
};

}  // namespace

TEST_F(LineCaptions, BlocksByDistanceFromTheStartAlongTheWholeLine)
{
    AddRule(*Sign, QStringLiteral("ИВ"), QString(), 0);
    Line.Semantics = QStringLiteral("ЛИН/ИВ150");
    const struct {
        std::vector<Extended> nodes;   // eastings along Y = 0
        std::vector<double> at;        // eastings of the blocks
    } cases[] = {
        {{0, 120, 260}, {5, 55, 105, 155, 205, 255}},
        {{0, 55, 200}, {5, 55, 105, 155}},   // 55 lies on a node: placed once
        {{0, 4}, {}},
    };
    for (const auto& c : cases) {
        Line.Nodes.DeleteAll();
        for (Extended y : c.nodes)
            AddNode(0, y);
        ASSERT_TRUE(Symbols.RenderLine(&Line));
        ASSERT_EQ(Line.AutoTexts.GetCount(), int(c.at.size()));
        for (int i = 0; i < Line.AutoTexts.GetCount(); ++i) {
            const RAutoText& t = *Line.AutoTexts.At(i);
            EXPECT_EQ(t.Text, QStringLiteral("150"));
            ExpectNear(t.Position, 0, c.at[i]);
            EXPECT_EQ(t.CaptionNumber, i);
            EXPECT_EQ(t.AlongLine, 1);
            EXPECT_EQ(t.FrameValid, 1);
        }
    }
    // An interval of 0 places one block only.
    AddNode(0, 300);
    Sign->CaptionInterval = 0;
    ASSERT_TRUE(Symbols.RenderLine(&Line));
    EXPECT_EQ(Line.AutoTexts.GetCount(), 1);
}

TEST_F(LineCaptions, BlocksReadUprightUnlessTheStartNodeInvertsThem)
{
    // A caption 2 mm (1 m) left of the line.
    AddRule(*Sign, QStringLiteral("ИВ"), QString(), 0, 2);
    Line.Semantics = QStringLiteral("ЛИН/ИВ150");
    const struct {
        Extended from, to;   // eastings
        std::uint8_t invert;
        double x;            // northing of the anchor
        TWinAngle angle;
    } cases[] = {
        {0, 100, 0, 1, 0},
        {100, 0, 0, 1, 0},      // westward, turned upright about the block's point
        {100, 0, 1, -1, 1800},  // westward, inverted: left of the way and upside down
        {0, 100, 1, -1, 1800},
    };
    for (const auto& c : cases) {
        Line.Nodes.DeleteAll();
        AddNode(0, c.from).InvertText = c.invert;
        AddNode(0, c.to);
        ASSERT_TRUE(Symbols.RenderLine(&Line));
        ASSERT_GE(Line.AutoTexts.GetCount(), 1);
        const RAutoText& t = *Line.AutoTexts.At(0);
        EXPECT_NEAR(double(t.Position.X), c.x, 1e-9) << double(c.from) << int(c.invert);
        EXPECT_NEAR(double(t.Position.Y), double(c.from < c.to ? c.from + 5 : c.from - 5), 1e-9);
        EXPECT_EQ(t.Angle, c.angle) << double(c.from) << int(c.invert);
    }
}

TEST_F(LineCaptions, LengthLabelsAtSegmentMiddles)
{
    Sign->SegmentMiddle = 1;
    AddRule(*Sign, QStringLiteral("Ф"), QStringLiteral("^LINESIZE"), 0);
    Line.Semantics = QStringLiteral("ЛИН/Ф001");
    AddNode(0, 0);
    AddNode(0, 12.3456L);
    AddNode(10, 12.3456L);
    const QChar saved = DecimalSeparator;
    for (const QChar separator : {QLatin1Char('.'), QLatin1Char(',')}) {
        DecimalSeparator = separator;
        ASSERT_TRUE(Symbols.RenderLine(&Line));
        ASSERT_EQ(Line.AutoTexts.GetCount(), 2);
        EXPECT_EQ(Line.AutoTexts.At(0)->Text, QStringLiteral("12") + separator + QStringLiteral("346"));
        EXPECT_EQ(Line.AutoTexts.At(1)->Text, QStringLiteral("10") + separator + QStringLiteral("000"));
        // Centred on the middle: half of six characters back along the segment.
        ExpectNear(Line.AutoTexts.At(0)->Position, 0, 12.3456L / 2 - 3 * 0.625L);
        EXPECT_EQ(Line.AutoTexts.At(1)->CaptionNumber, 1);
    }
    DecimalSeparator = saved;
}

TEST_F(LineCaptions, DirectionLabelNeverWritesSixtySeconds)
{
    Sign->SegmentMiddle = 1;
    AddRule(*Sign, QStringLiteral("Ф"), QStringLiteral("^LINESIZE&DIRANGLE"), 0);
    Line.Semantics = QStringLiteral("ЛИН/Ф001");
    // A direction of 29°59'59.9": the seconds round into the minutes.
    const Extended a = GradRad(30 - 0.1L / 3600);
    AddNode(0, 0);
    AddNode(100 * std::cos(a), 100 * std::sin(a));
    const QChar saved = DecimalSeparator;
    DecimalSeparator = QLatin1Char('.');
    ASSERT_TRUE(Symbols.RenderLine(&Line));
    DecimalSeparator = saved;
    ASSERT_EQ(Line.AutoTexts.GetCount(), 1);
    EXPECT_EQ(Line.AutoTexts.At(0)->Text, QStringLiteral("a=30°0'0\", d=100.000"));
}

TEST_F(LineCaptions, InLineTextsJoinTheirOwnAndTheOverLinesTexts)
{
    AddRule(*Sign, QStringLiteral("ИН"), QStringLiteral("N"), 2);
    AddRule(*Sign, QStringLiteral("ИВ"), QStringLiteral("h"), 2);
    Symbols.VpGLines.AddItem();
    RVpGLine& over = *Symbols.VpGLines.Item;
    over.Code = QStringLiteral("ОВР-Ф001");
    AddRule(over, QStringLiteral("Ф"), QStringLiteral("ф"), 3);
    Line.Semantics = QStringLiteral("ЛИН/ИН7;ИВ12");
    AddNode(0);
    AddNode(10);
    const struct {
        QStringList over;
        QString text;
        bool fixed;
    } cases[] = {
        {{}, QStringLiteral("N7h12"), false},
        {{QStringLiteral("ОВР-Ф001")}, QStringLiteral("N7h12.ф"), true},
        {{QStringLiteral("НЕТ-Ф001")}, QStringLiteral("N7h12"), false},
    };
    for (const auto& c : cases) {
        Line.OverLines = c.over;
        ASSERT_TRUE(Symbols.RenderLine(&Line));
        EXPECT_EQ(Symbols.InLineText, c.text);
        EXPECT_EQ(Symbols.InLineFixed, c.fixed);
        EXPECT_EQ(Symbols.VpGLines.Item, Sign);   // the line's own sign current again
        EXPECT_EQ(Line.AutoTexts.GetCount(), 0);
    }
}

TEST_F(LineCaptions, StrokesAreCutAtTheInLineTextFrames)
{
    AddRule(*Sign, QStringLiteral("ИН"), QStringLiteral("N"), 2);
    Line.Semantics = QStringLiteral("ЛИН/ИН7");
    AddNode(0);
    AddNode(10);
    const struct {
        TGeoPoint p1, p2;
        std::vector<std::pair<TGeoPoint, TGeoPoint>> left;
    } cases[] = {
        {GeoPoint(1, -1), GeoPoint(1, 3), {{GeoPoint(1, -1), GeoPoint(1, 0)}, {GeoPoint(1, 2), GeoPoint(1, 3)}}},
        {GeoPoint(1, -1), GeoPoint(1, 1), {{GeoPoint(1, -1), GeoPoint(1, 0)}}},
        {GeoPoint(1, 1), GeoPoint(1, 3), {{GeoPoint(1, 2), GeoPoint(1, 3)}}},
        {GeoPoint(0.5, 0.5), GeoPoint(1.5, 1.5), {}},
        {GeoPoint(5, 5), GeoPoint(6, 6), {{GeoPoint(5, 5), GeoPoint(6, 6)}}},
    };
    for (const auto& c : cases) {
        TLineCaptions captions(Symbols, *Sign, Line);
        ASSERT_EQ(Symbols.InLineText, QStringLiteral("N7"));
        TVpLayers pic;
        pic.AddItem();
        pic.Item->Texts.AddItem();
        pic.Item->Texts.Item->Frame = {GeoPoint(0, 0), GeoPoint(0, 2), GeoPoint(2, 2), GeoPoint(2, 0)};
        pic.AddItem();
        pic.Item->Lines.AddItem();
        pic.Item->Lines.Item->P1 = c.p1;
        pic.Item->Lines.Item->P2 = c.p2;
        pic.Item->Lines.Item->PenColor = 0x123456;
        captions.CutStrokes(pic);
        std::vector<const RVpLine*> lines;
        for (const auto& e : pic)
            for (const auto& l : e->Lines)
                lines.push_back(l.get());
        ASSERT_EQ(lines.size(), c.left.size()) << double(c.p1.X) << " " << double(c.p1.Y);
        for (size_t i = 0; i < lines.size(); ++i) {
            ExpectNear(lines[i]->P1, c.left[i].first.X, c.left[i].first.Y);
            ExpectNear(lines[i]->P2, c.left[i].second.X, c.left[i].second.Y);
            EXPECT_EQ(lines[i]->PenColor, 0x123456);
        }
    }
}

TEST_F(LineCaptions, UserPlacementsMoveTurnAndHideOneCaptionEach)
{
    AddRule(*Sign, QStringLiteral("ИВ"), QString(), 0);
    Line.Semantics = QStringLiteral("ЛИН/ИВ150");
    AddNode(0, 0);
    AddNode(0, 60);
    Line.UserTexts.AddItem();
    Line.UserTexts.Item->Dx = 1;   // metres as they stand, no factor
    Line.UserTexts.Item->Dy = 2;
    Line.UserTexts.Item->Angle = 900;
    Line.UserTexts.Item->Show = 2;
    ASSERT_TRUE(Symbols.RenderLine(&Line));
    ASSERT_EQ(Line.AutoTexts.GetCount(), 2);
    const RAutoText& moved = *Line.AutoTexts.At(0);
    ExpectNear(moved.Position, 1, 7);
    EXPECT_EQ(moved.Angle, 2700);
    EXPECT_EQ(moved.Hidden, 1);
    const RAutoText& plain = *Line.AutoTexts.At(1);
    ExpectNear(plain.Position, 0, 55);
    EXPECT_EQ(plain.Angle, 0);
    EXPECT_EQ(plain.Hidden, 0);
}
