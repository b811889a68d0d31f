// The curve flag of polygon nodes in mcNewPolygon and mcSetPolygonProp: an optional last
// value of each outer (eighth) and inner (sixth) node group. Journals written before the
// flag existed send seven and five values and must read as before.
#include "CommandsTest.h"

namespace {

class PolygonCurveCommands : public CommandsTest {
protected:
    void SetUp() override
    {
        CommandsTest::SetUp();
        Run({"mcNewPage=<A>", "mcNewLayer=<0><a>"});
    }

    RGPolygon& Polygon(int i) { return *Layer(0, 0).Polygons.At(i); }

    // The curve flags of the outer contour, then of each inner contour after "|".
    static QString Curves(const RGPolygon& p)
    {
        QString s;
        for (const auto& n : p.Nodes)
            s += QString::number(n->Curve);
        for (const auto& h : p.Holes) {
            s += QLatin1Char('|');
            for (const auto& n : h->Nodes)
                s += QString::number(n->Curve);
        }
        return s;
    }
};

}  // namespace

TEST_F(PolygonCurveCommands, TheOptionalLastValueOfANodeIsItsCurveFlag)
{
    struct Case {
        const char* Name;
        const char* Outer;
        const char* Inner;
        const char* Curves;
    };
    const Case cases[] = {
        {"without the flag, as before", "[{0}{0}{-1}{0}{0}{0}{0}][{0}{9}{-1}{0}{0}{0}{0}][{9}{9}{-1}{0}{0}{0}{0}]",
         "([{1}{1}{-1}{0}{0}][{1}{2}{-1}{0}{0}][{2}{2}{-1}{0}{0}])", "000|000"},
        {"with the flag", "[{0}{0}{-1}{0}{0}{0}{0}{1}][{0}{9}{-1}{0}{0}{0}{0}{0}][{9}{9}{-1}{0}{0}{0}{0}{1}]",
         "([{1}{1}{-1}{0}{0}{1}][{1}{2}{-1}{0}{0}{1}][{2}{2}{-1}{0}{0}{0}])", "101|110"},
        {"mixed node by node", "[{0}{0}{-1}{0}{0}{0}{0}{1}][{0}{9}{-1}{0}{0}{0}{0}][{9}{9}{-1}{0}{0}{0}{0}]",
         "([{1}{1}{-1}{0}{0}][{1}{2}{-1}{0}{0}{1}][{2}{2}{-1}{0}{0}])", "100|010"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Run(QStringLiteral("mcNewPolygon=<0><0><ЗДН><%1><2><><0><0><%2><-1>")
                .arg(QString::fromUtf8(c.Outer), QString::fromUtf8(c.Inner)));
        const int last = Layer(0, 0).Polygons.GetCount() - 1;
        EXPECT_EQ(Curves(Polygon(last)), QString::fromUtf8(c.Curves));
        // The change command reads the same groups: first clear every flag, then set them.
        Run(QStringLiteral("mcSetPolygonProp=<0><0><%1><ЗДН><[{0}{0}{-1}{0}{0}{0}{0}]><2><><0><0><><-1>").arg(last));
        EXPECT_EQ(Curves(Polygon(last)), QStringLiteral("0"));
        Run(QStringLiteral("mcSetPolygonProp=<0><0><%1><ЗДН><%2><2><><0><0><%3><-1>")
                .arg(QString::number(last), QString::fromUtf8(c.Outer), QString::fromUtf8(c.Inner)));
        EXPECT_EQ(Curves(Polygon(last)), QString::fromUtf8(c.Curves));
    }
    // The other values of a node with the flag stay where they were.
    Run("mcNewPolygon=<0><0><ЗДН><[{5}{6}{2,5}{1}{2}{1}{1}{1}]><3><><0><0><([{7}{8}{3}{1}{1}{1}])><-1>");
    const RGPolygonNode& outer = *Polygon(3).Nodes.At(0);
    EXPECT_EQ(outer.SignShift, 2.5L);
    EXPECT_EQ(outer.SegmentType, 1);
    EXPECT_EQ(outer.SegmentStyle, 2);
    EXPECT_EQ(outer.CornerLine, 1);
    EXPECT_EQ(outer.CornerPicture, 1);
    EXPECT_EQ(outer.Curve, 1);
    const RGPolygonNode& inner = *Polygon(3).Holes.At(0)->Nodes.At(0);
    EXPECT_EQ(inner.SignShift, 3);
    EXPECT_EQ(inner.SegmentStyle, 1);
    EXPECT_EQ(inner.CornerPicture, 1);
    EXPECT_EQ(inner.Curve, 1);
}

TEST_F(PolygonCurveCommands, ABadCurveFlagLeavesThePlanAsItWas)
{
    Run("mcNewPolygon=<0><0><ЗДН><[{0}{0}{-1}{0}{0}{0}{0}{1}]><2><><0><0><><-1>");
    ExpectNoChange(QStringLiteral("mcSetPolygonProp=<0><0><0><ЗДН><[{0}{0}{-1}{0}{0}{0}{0}{да}]><2><><0><0><><-1>"),
                   QStringLiteral("'да' is not a valid integer value"));
    ExpectNoChange(QStringLiteral("mcNewPolygon=<0><0><ЗДН><[{0}{0}{-1}{0}{0}{0}{0}]><2><><0><0>"
                                  "<([{1}{1}{-1}{0}{0}{x}])><-1>"),
                   QStringLiteral("'x' is not a valid integer value"));
}
