// Point signs: the sign resolved, the captions made from the caption rules with the
// user's placements, the composition of a caption's text, the leader to the first
// caption, and the picture. Texts are measured with a fixed advance: at 1:500 and 4
// dots per millimetre a caption of the default 2.5 mm style is 1.25 m tall and each
// character 0.625 m wide.
#include "SignTestSupport.h"

#include "foundation/GeoServ.h"

namespace {

class RenderPoint : public SignFixture {
protected:
    void SetUp() override
    {
        SignFixture::SetUp();
        Symbols.SetScale(500, 101.6L);
        Symbols.SetMeasurer(std::make_unique<TFixedTextMeasurer>(0.5));
        Symbols.VpGPoints.AddItem();
        Sign = Symbols.VpGPoints.Item;
        Sign->Code = QStringLiteral("ТСТ");
        Sign->Picture.AddItem();
        Sign->Picture.Item->Circles.AddItem();
        Sign->Picture.Item->Circles.Item->Radius = 1;
        Point.Position = GeoPoint(100, 200);
        Point.SignName = Sign->Code;
    }
    RSemText& AddRule(const QString& key, const QString& code, Extended dx = 0, Extended dy = 0,
                      Extended step = 0, std::uint8_t mode = 0)
    {
        Sign->Captions.AddItem();
        RSemText& r = *Sign->Captions.Item;
        r.PropKey = key;
        r.PropCode = code;
        r.Dx = dx;
        r.Dy = dy;
        r.Step = step;
        r.Mode = mode;
        return r;
    }
    void AddPlacement(Extended dx, Extended dy, TWinAngle angle = 0, std::uint8_t show = 0)
    {
        Point.UserTexts.AddItem();
        Point.UserTexts.Item->Dx = dx;
        Point.UserTexts.Item->Dy = dy;
        Point.UserTexts.Item->Angle = angle;
        Point.UserTexts.Item->Show = show;
    }
    const RAutoText& Caption(int i) const { return *Point.AutoTexts.At(i); }
    // The leader's polyline, or null when the picture has none.
    const RVpPolyline* Leader() const
    {
        for (const auto& e : Point.Picture)
            if (e->Polylines.GetCount() > 0)
                return e->Polylines.At(0);
        return nullptr;
    }

    RVpGPoint* Sign = nullptr;   // link, not owned
    RGPoint Point;
};

}  // namespace

TEST_F(RenderPoint, WithoutRulesOnlyThePicture)
{
    Point.Semantics = QStringLiteral("ТСТ/ИН12");
    Point.SignAngle = 30;
    ASSERT_TRUE(Symbols.RenderPoint(&Point));
    EXPECT_EQ(Point.AutoTexts.GetCount(), 0);
    ASSERT_EQ(Point.Picture.GetCount(), 1);
    ExpectNear(Point.Picture.At(0)->Circles.At(0)->Center, 100, 200);
    EXPECT_EQ(Point.Picture.At(0)->Circles.At(0)->Radius, 0.5L);
}

TEST_F(RenderPoint, RulesThatMatchNoPropertyMakeNoCaption)
{
    AddRule(QStringLiteral("ГГ"), QStringLiteral("-1"));
    AddRule(QStringLiteral("ИН"), QStringLiteral("7"));
    for (const QString& sem : {QStringLiteral("ТСТ/ИН12"), QStringLiteral("ТСТ/ИН12:5"), QStringLiteral("ТСТ")}) {
        SCOPED_TRACE(sem.toStdString());
        Point.Semantics = sem;
        ASSERT_TRUE(Symbols.RenderPoint(&Point));
        EXPECT_EQ(Point.AutoTexts.GetCount(), 0);
        EXPECT_EQ(Point.Picture.GetCount(), 1);
    }
}

TEST_F(RenderPoint, CaptionsFollowTheRulesAndStepDown)
{
    AddRule(QStringLiteral("ИВ"), QStringLiteral("-1"), 1, 2, 4).TextStart = QStringLiteral("h=");
    AddRule(QStringLiteral("ИН"), QStringLiteral("-1"), 1, 2, 4).StyleName = QStringLiteral(">НОМЕРА");
    Point.Semantics = QStringLiteral("ТСТ/ИН1;ИН2;ИВ3.5");
    ASSERT_TRUE(Symbols.RenderPoint(&Point));
    ASSERT_EQ(Point.AutoTexts.GetCount(), 3);
    const QString texts[] = {QStringLiteral("h=3.5"), QStringLiteral("1"), QStringLiteral("2")};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Caption(i).Text, texts[i]);
        EXPECT_EQ(Caption(i).Angle, 0);   // horizontal
        EXPECT_EQ(Caption(i).FrameValid, 1);
        EXPECT_EQ(Caption(i).CaptionNumber, i);
        EXPECT_EQ(Caption(i).Hidden, 0);
        // Each later caption of Mode 0 lies m * Step (2 m) below the one before.
        ExpectNear(Caption(i).Position, 100.5L - 2 * i, 201);
        ExpectNear(Caption(i).Frame[2], 100.5L - 2 * i - 1.25L, 201 + 0.625L * texts[i].size());
    }
    EXPECT_EQ(Caption(1).StyleName, QStringLiteral(">НОМЕРА"));
    EXPECT_FALSE(Caption(1).OwnStyle);
}

TEST_F(RenderPoint, LaterCaptionOfOtherModesTakesOneAxisOfItsShift)
{
    struct Case { std::uint8_t mode; TWinAngle angle; Extended x, y; };
    // With a = A + 90: horizontal text (a = 180) moves by -dx along X only; a text
    // reading north (a = 90) by dy along Y only.
    const Case cases[] = {{1, 0, 99, 200}, {2, 0, 99, 200}, {1, 900, 100, 202}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.mode) << " " << c.angle);
        Sign->Captions.DeleteAll();
        Point.UserTexts.DeleteAll();
        AddRule(QStringLiteral("ИН"), QStringLiteral("-1"), 2, 4, 10, c.mode);
        Point.Semantics = QStringLiteral("ТСТ/ИН1;ИН2");
        AddPlacement(0, 0, c.angle);
        AddPlacement(0, 0, c.angle);
        ASSERT_TRUE(Symbols.RenderPoint(&Point));
        ASSERT_EQ(Point.AutoTexts.GetCount(), 2);
        ExpectNear(Caption(1).Position, c.x, c.y);
    }
}

TEST_F(RenderPoint, UserPlacementsApplyInTurnOrAllFromTheFirst)
{
    AddRule(QStringLiteral("ИН"), QStringLiteral("-1"), 1, 1, 4);
    Point.Semantics = QStringLiteral("ТСТ/ИН1;ИН2;ИН3");
    AddPlacement(2, -2, 450);
    struct Case { std::uint8_t fromFirst; TWinAngle angles[3]; };
    // Placements run out: the rest are horizontal and unshifted.
    const Case cases[] = {{0, {450, 0, 0}}, {1, {450, 450, 450}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.fromFirst));
        Point.AllUserTextsFromFirst = c.fromFirst;
        ASSERT_TRUE(Symbols.RenderPoint(&Point));
        ASSERT_EQ(Point.AutoTexts.GetCount(), 3);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(Caption(i).Angle, c.angles[i]) << i;
        ExpectNear(Caption(0).Position, 101.5L, 199.5L);
    }
}

TEST_F(RenderPoint, CaptionHiddenByItsPlacement)
{
    AddRule(QStringLiteral("ИН"), QStringLiteral("-1"), 1, 1, 4);
    Point.Semantics = QStringLiteral("ТСТ/ИН1;ИН2");
    struct Case { std::uint8_t show; std::uint8_t hidden; };
    const Case cases[] = {{0, 0}, {1, 0}, {2, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.show));
        Point.UserTexts.DeleteAll();
        AddPlacement(0, 0);
        AddPlacement(0, 0, 0, c.show);
        ASSERT_TRUE(Symbols.RenderPoint(&Point));
        ASSERT_EQ(Point.AutoTexts.GetCount(), 2);
        EXPECT_EQ(Caption(0).Hidden, 0);
        EXPECT_EQ(Caption(1).Hidden, c.hidden);
        EXPECT_EQ(Caption(1).FrameValid, 1);   // measured all the same
    }
}

TEST(CaptionText, ComposedFromTheRule)
{
    struct Case { const char* start; const char* value; QChar separator; const char* text; };
    const Case cases[] = {
        {"h=", "12.5", u'.', "h=<12.5>м"},
        {"", "", u'.', "<>м"},
        {"^X2", "", u'.', "<>м6123456.79"},
        {"^X2", "", u',', "<>м6123456,79"},
        {"^Y2", "", u',', "<>м-12,00"},
        {"^LINESIZE", "5", u'.', ""},
        {"^", "5", u'.', ""},
        {"X2", "", u'.', "X2<>м"},
    };
    RSemText rule;
    rule.Separator1 = QStringLiteral("<");
    rule.Separator2 = QStringLiteral(">");
    rule.TextEnd = QStringLiteral("м");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " " << c.separator.toLatin1());
        TSeparatorScope separator(c.separator);
        rule.TextStart = QString::fromUtf8(c.start);
        EXPECT_EQ(TSymbols::CaptionText(rule, QString::fromUtf8(c.value), GeoPoint(6123456.789L, -12)),
                  QString::fromUtf8(c.text));
    }
}

TEST_F(RenderPoint, UnconditionalCaptionShowsTheCoordinate)
{
    AddRule(QStringLiteral("ИН"), QStringLiteral("-1"));
    RSemText& x = AddRule(QStringLiteral("В"), QStringLiteral("0"), 0, 0, 2);
    x.TextStart = QStringLiteral("^X2");
    x.Separator1 = QStringLiteral("X=");
    // Only the first rule of "В" adds a property, and this one does not match it.
    AddRule(QStringLiteral("В"), QStringLiteral("1")).TextStart = QStringLiteral("^Y2");
    Point.Semantics = QStringLiteral("ТСТ");
    Point.Position = GeoPoint(1234.5L, 20);
    for (const QChar separator : {QChar(u'.'), QChar(u',')}) {
        TSeparatorScope scope(separator);
        ASSERT_TRUE(Symbols.RenderPoint(&Point));
        ASSERT_EQ(Point.AutoTexts.GetCount(), 1);
        EXPECT_EQ(Caption(0).Text, QStringLiteral("X=1234") + separator + QStringLiteral("50"));
    }
}

TEST_F(RenderPoint, LeaderAsTheSignOrThePointSays)
{
    AddRule(QStringLiteral("ИН"), QStringLiteral("-1"), 1, 2, 4);
    Point.Semantics = QStringLiteral("ТСТ/ИН12;ИН3");
    struct Case { std::uint8_t leaderLine, signDefault; bool drawn; };
    const Case cases[] = {{0, 0, false}, {0, 1, true}, {1, 0, true}, {1, 1, true}, {2, 0, false}, {2, 1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.leaderLine) << " " << int(c.signDefault));
        Point.LeaderLine = c.leaderLine;
        Sign->LeaderLineDefault = c.signDefault;
        ASSERT_TRUE(Symbols.RenderPoint(&Point));
        EXPECT_EQ(Point.Picture.GetCount(), c.drawn ? 2 : 1);
        const RVpPolyline* leader = Leader();
        ASSERT_EQ(leader != nullptr, c.drawn);
        if (!leader)
            continue;
        EXPECT_EQ(leader->PenColor, 0);
        EXPECT_EQ(leader->PenWidth, 0.1L);
        ASSERT_EQ(leader->Points.GetCount(), 3);
        // The first caption "12" spans 100.5 .. 99.25 north and 201 .. 202.25 east; the
        // stroke runs half a Step (1 m) below its middle, from the point to its nearer
        // end, then along it.
        const TGeoRect& f = Caption(0).Frame;
        const Extended h = (f[0].X - 2 + f[3].X) / 2;
        ExpectNear(*leader->Points.At(0), 100, 200);
        ExpectNear(*leader->Points.At(1), h, 201);
        ExpectNear(*leader->Points.At(2), h, 202.25L);
    }
}

TEST_F(RenderPoint, LeaderOfAPointEastOfItsCaptionStartsAtTheFarEnd)
{
    AddRule(QStringLiteral("ИН"), QStringLiteral("-1"), 1, -5, 0);
    Point.Semantics = QStringLiteral("ТСТ/ИН12");
    Point.LeaderLine = 1;
    ASSERT_TRUE(Symbols.RenderPoint(&Point));
    const RVpPolyline* leader = Leader();
    ASSERT_TRUE(leader);
    // The caption runs 197.5 .. 198.75 east: the point lies past its end.
    ExpectNear(*leader->Points.At(1), 99.875L, 198.75L);
    ExpectNear(*leader->Points.At(2), 99.875L, 197.5L);
}

TEST_F(RenderPoint, TurnedCaptionGetsTheSlantedLeader)
{
    AddRule(QStringLiteral("ИН"), QStringLiteral("-1"), 1, 2, 4);
    Point.Semantics = QStringLiteral("ТСТ/ИН12");
    Point.LeaderLine = 1;
    struct Case { TWinAngle angle; bool level; };
    // Within 10 degrees of horizontal the two-stroke form, beyond it the slanted one.
    const Case cases[] = {{100, true}, {-100, true}, {101, false}, {450, false}, {900, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        Point.UserTexts.DeleteAll();
        AddPlacement(0, 0, c.angle);
        ASSERT_TRUE(Symbols.RenderPoint(&Point));
        const RVpPolyline* leader = Leader();
        ASSERT_TRUE(leader);
        const TGeoRect& f = Caption(0).Frame;
        const TGeoPoint p1 = *leader->Points.At(1);
        const TGeoPoint p2 = *leader->Points.At(2);
        if (c.level) {
            EXPECT_NEAR(double(p1.X), double(p2.X), 1e-12);
        } else {
            ExpectNear(p1, (f[0].X - 2 + f[3].X) / 2, f[0].Y);
            ExpectNear(p2, (f[1].X - 2 + f[2].X) / 2, f[1].Y);
        }
    }
}

TEST_F(RenderPoint, WithoutASignNothingIsDrawn)
{
    Point.Semantics = QStringLiteral("ТСТ");
    Point.Picture.AddItem();
    struct Case { const char* name; bool rendered; const char* after; int elements; };
    const Case cases[] = {
        {"#", false, "#", 1},          // left as it is
        {"НЕТ", false, "#", 1},        // a name the library lacks: never looked up again
        {"", true, "ТСТ", 1},          // chosen by the semantics
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Point.SignName = QString::fromUtf8(c.name);
        EXPECT_EQ(Symbols.RenderPoint(&Point), c.rendered);
        EXPECT_EQ(Point.SignName, QString::fromUtf8(c.after));
        EXPECT_EQ(Point.Picture.GetCount(), c.elements);
    }
}
