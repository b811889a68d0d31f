// Line and polygon commands: node groups of eight, seven and five values, over-lines,
// inner contours, the whole geometry replaced by a change, and a bad value anywhere in
// a node list leaving the object as it was.
#include "CommandsTest.h"

namespace {

class LineCommands : public CommandsTest {
protected:
    void SetUp() override
    {
        CommandsTest::SetUp();
        Run({"mcNewPage=<A>", "mcNewLayer=<0><a>"});
    }

    RGLine& Line(int i) { return *Layer(0, 0).Lines.At(i); }
    RGPolygon& Polygon(int i) { return *Layer(0, 0).Polygons.At(i); }
};

const char* const Nodes3 =
    "<[{75,00}{70,00}{0}{-1,00}{0}{-1}{0}{0}][{80.5}{71}{1}{2,5}{2}{3}{1}{1}][{90}{72}{0}{-1}{1}{-1}{0}{0}]>";

}  // namespace

TEST_F(LineCommands, NewLineHoldsItsNodesInOrderWithTheirValues)
{
    Run(QStringLiteral("mcNewLine=<0><0><ЛЭП><[{0}{1,5}{0}{1}{0}]><1><2,5><3><{ОГР}{БРД}>") +
        QString::fromUtf8(Nodes3));
    EXPECT_EQ(Dump(), QStringLiteral("page A v1\n"
                                     " layer a v1\n"
                                     "  line ЛЭП sign  over [ОГР|БРД] strip 1 2.5 p3 picture 0\n"
                                     "   user 0 1.5 0 1 0\n"
                                     "   node (75 70) t0 s-1 seg0 c-1 curve0 inv0\n"
                                     "   node (80.5 71) t1 s2.5 seg2 c3 curve1 inv1\n"
                                     "   node (90 72) t0 s-1 seg1 c-1 curve0 inv0\n"));
    Run("mcNewLine=<0><0><ЛЭП><><0><0><2><><>");
    EXPECT_EQ(Line(1).Nodes.GetCount(), 0);
    EXPECT_TRUE(Line(1).OverLines.isEmpty());
    EXPECT_EQ(Layer(0, 0).Lines.GetIndex(), 1);
}

TEST_F(LineCommands, ChangeReplacesTheNodesAndTheirPointsButKeepsInnerTexts)
{
    Run(QStringLiteral("mcNewLine=<0><0><ЛЭП><><0><0><2><{ОГР}>") + QString::fromUtf8(Nodes3));
    RGLine& line = Line(0);
    line.SignName = QStringLiteral("ЛЭП");
    line.Picture.AddItem();
    line.Nodes.At(1)->NodePoints.AddItem();
    line.InnerTexts.AddItem();
    Run("mcSetLineProp=<0><0><0><ЛЭП><><0><0><2><><[{1}{2}{0}{-1}{0}{-1}{0}{0}]>");
    EXPECT_EQ(Dump(), QStringLiteral("page A v1\n"
                                     " layer a v1\n"
                                     "  line ЛЭП sign ЛЭП over [] strip 0 0 p2 picture 1\n"
                                     "   node (1 2) t0 s-1 seg0 c-1 curve0 inv0\n"
                                     "   text  (0 0) a0 f1 s own - frame0\n"));
    Run("mcSetLineProp=<0><0><0><ЗБР><><0><0><2><><>");
    EXPECT_EQ(line.SignName, QString());
    EXPECT_EQ(line.Picture.GetCount(), 0);
    EXPECT_EQ(line.Nodes.GetCount(), 0);
}

// A ninth value names the old node whose attached points a node keeps: the points
// follow their node through a reordering, a repeated origin takes nothing more, and an
// index outside the old nodes (or -1, or no ninth value) keeps none.
TEST_F(LineCommands, ChangeKeepsThePointsOfTheOldNodesItsNodesName)
{
    Run(QStringLiteral("mcNewLine=<0><0><ЛЭП><><0><0><2><>") + QString::fromUtf8(Nodes3));
    RGLine& line = Line(0);
    line.Nodes.At(0)->NodePoints.AddItem();
    line.Nodes.At(0)->NodePoints.Item->Semantics = QStringLiteral("А");
    line.Nodes.At(2)->NodePoints.AddItem();
    line.Nodes.At(2)->NodePoints.Item->Semantics = QStringLiteral("Б1");
    line.Nodes.At(2)->NodePoints.AddItem();
    line.Nodes.At(2)->NodePoints.Item->Semantics = QStringLiteral("Б2");
    // Old node 2 first, then a copy naming it again, old 1, old 0 named out of range.
    Run("mcSetLineProp=<0><0><0><ЛЭП><><0><0><2><>"
        "<[{90}{72}{0}{-1}{1}{-1}{0}{0}{2}][{90}{72}{0}{-1}{1}{-1}{0}{0}{2}][{1}{2}{0}{-1}{0}{-1}{0}{0}{1}]"
        "[{5}{5}{0}{-1}{0}{-1}{0}{0}{7}][{6}{6}{0}{-1}{0}{-1}{0}{0}]>");
    ASSERT_EQ(line.Nodes.GetCount(), 5);
    const auto semantics = [&line](int node) {
        QStringList list;
        for (const auto& p : line.Nodes.At(node)->NodePoints)
            list << p->Semantics;
        return list;
    };
    EXPECT_EQ(semantics(0), (QStringList{QStringLiteral("Б1"), QStringLiteral("Б2")}));
    for (int node = 1; node < 5; ++node)
        EXPECT_TRUE(semantics(node).isEmpty()) << node;
    // -1 and a new line: nothing to keep, nothing refused.
    Run("mcSetLineProp=<0><0><0><ЛЭП><><0><0><2><><[{1}{2}{0}{-1}{0}{-1}{0}{0}{-1}][{1}{3}{0}{-1}{0}{-1}{0}{0}{0}]>");
    EXPECT_TRUE(semantics(0).isEmpty());
    EXPECT_EQ(semantics(1), (QStringList{QStringLiteral("Б1"), QStringLiteral("Б2")}));
    Run("mcNewLine=<0><0><ЛЭП><><0><0><2><><[{1}{2}{0}{-1}{0}{-1}{0}{0}{0}][{1}{3}{0}{-1}{0}{-1}{0}{0}{1}]>");
    EXPECT_EQ(Line(1).Nodes.At(0)->NodePoints.GetCount(), 0);
    EXPECT_EQ(Line(1).Nodes.At(1)->NodePoints.GetCount(), 0);
    ExpectNoChange(QStringLiteral("mcSetLineProp=<0><0><0><ЛЭП><><0><0><2><><[{1}{2}{0}{-1}{0}{-1}{0}{0}{x}]>"),
                   QStringLiteral("'x' is not a valid integer value"));
}

// Nodes used to be deleted before the new ones were read, so a bad value in the node
// list left the line with part of its geometry.
TEST_F(LineCommands, BadNodeValueLeavesTheLineAsItWas)
{
    Run(QStringLiteral("mcNewLine=<0><0><ЛЭП><><0><0><2><{ОГР}>") + QString::fromUtf8(Nodes3));
    const QString good = QStringLiteral("[{1}{2}{0}{-1}{0}{-1}{0}{0}]");
    struct Case {
        QString nodes;
        QString message;
    };
    const Case cases[] = {
        {good + QStringLiteral("[{1}{2}{0}{-1}{0}{-1}{0}]"), QStringLiteral("List index out of bounds (7)")},
        {good + QStringLiteral("[{1}{2;5}{0}{-1}{0}{-1}{0}{0}]"),
         QStringLiteral("Некорректный вид вещественного числа в строковом формате")},
        {good + QStringLiteral("[{1}{2}{0}{-1}{0}{auto}{0}{0}]"), QStringLiteral("'auto' is not a valid integer value")},
    };
    for (const Case& c : cases)
        ExpectNoChange(QStringLiteral("mcSetLineProp=<0><0><0><ЗБР><><0><0><2><><%1>").arg(c.nodes), c.message);
    ExpectNoChange(QStringLiteral("mcNewLine=<0><0><ЗБР><><0><0><2><><%1>").arg(cases[0].nodes), cases[0].message);
    ExpectNoChange(QStringLiteral("mcSetLineProp=<0><0><0><ЗБР><><0><0,5x><2><><>"),
                   QStringLiteral("Некорректный вид вещественного числа в строковом формате"));
}

TEST_F(LineCommands, NewPolygonHoldsItsContoursExactly)
{
    Run("mcNewPolygon=<0><0><ЗДН>"
        "<[{0}{0}{-1}{0}{0}{0}{0}][{0}{10,5}{3}{1}{2}{1}{1}][{10}{10}{-1}{0}{0}{0}{0}]>"
        "<1><[{1}{1}{0}{1}{0}]><2,5><-1>"
        "<([{1}{1}{-1}{0}{0}][{1}{2}{4}{1}{1}][{2}{2}{-1}{0}{0}][{2}{1}{-1}{2}{0}])><-1>");
    EXPECT_EQ(Dump(), QStringLiteral("page A v1\n"
                                     " layer a v1\n"
                                     "  polygon ЗДН sign  p1 shift (2.5 -1) angle -1 picture 0\n"
                                     "   node (0 0) curve0 s-1 type0 style0 line0 pic0\n"
                                     "   node (0 10.5) curve0 s3 type1 style2 line1 pic1\n"
                                     "   node (10 10) curve0 s-1 type0 style0 line0 pic0\n"
                                     "   hole\n"
                                     "    node (1 1) curve0 s-1 type0 style0 line0 pic0\n"
                                     "    node (1 2) curve0 s4 type0 style1 line0 pic1\n"
                                     "    node (2 2) curve0 s-1 type0 style0 line0 pic0\n"
                                     "    node (2 1) curve0 s-1 type0 style2 line0 pic0\n"
                                     "   user 1 1 0 1 0\n"));
    // The coordinate-table builder writes 0: the captions' angle is fixed at 0.
    Run("mcNewPolygon=<0><0><ЗДН><[{0.5}{0,5}{-1}{0}{0}{0}{0}]><2><><0><0><><0>");
    EXPECT_EQ(Polygon(1).CaptionAngle, 0);
    EXPECT_EQ(Polygon(1).Nodes.At(0)->Position.X, Polygon(1).Nodes.At(0)->Position.Y);
    EXPECT_EQ(Polygon(1).Holes.GetCount(), 0);
}

TEST_F(LineCommands, PolygonChangeReplacesItsGeometryAndKeepsItsInnerObjects)
{
    Run("mcNewPolygon=<0><0><ЗДН><[{0}{0}{-1}{0}{0}{0}{0}][{0}{1}{-1}{0}{0}{0}{0}]><2><><0><0>"
        "<([{1}{1}{-1}{0}{0}])([{2}{2}{-1}{0}{0}])><-1>");
    RGPolygon& p = Polygon(0);
    p.SignName = QStringLiteral("ЗДН");
    p.InnerPoints.AddItem();
    p.InnerLines.AddItem();
    p.InnerTexts.AddItem();
    Run("mcSetPolygonProp=<0><0><0><ЗДН><[{5}{5}{-1}{0}{0}{0}{0}]><3><[{0}{0}{0}{2}{1}]><1><1><><450>");
    EXPECT_EQ(p.SignName, QStringLiteral("ЗДН"));
    EXPECT_EQ(p.Nodes.GetCount(), 1);
    EXPECT_EQ(p.Holes.GetCount(), 0);
    EXPECT_EQ(p.Precision, 3);
    EXPECT_EQ(p.UserTexts.GetCount(), 1);
    EXPECT_EQ(p.CaptionAngle, 450);
    EXPECT_EQ(p.InnerPoints.GetCount(), 1);
    EXPECT_EQ(p.InnerLines.GetCount(), 1);
    EXPECT_EQ(p.InnerTexts.GetCount(), 1);
    Run("mcSetPolygonProp=<0><0><0><ОЗР><[{5}{5}{-1}{0}{0}{0}{0}]><3><><1><1><><450>");
    EXPECT_EQ(p.SignName, QString());
    // A bad inner-contour node or outer node: the polygon stays as it was.
    ExpectNoChange(QStringLiteral("mcSetPolygonProp=<0><0><0><ЗДН><><2><><0><0><([{1}{1}{-1}{0}])><-1>"),
                   QStringLiteral("List index out of bounds (4)"));
    ExpectNoChange(QStringLiteral("mcSetPolygonProp=<0><0><0><ЗДН><[{1}{1}{-1}{0}{0}{0}]><2><><0><0><><-1>"),
                   QStringLiteral("List index out of bounds (6)"));
    ExpectNoChange(QStringLiteral("mcNewPolygon=<0><0><ЗДН><><2><><0><0><>"),
                   QStringLiteral("List index out of bounds (9)"));
}

// Guards against a polygon whose outer contour ends on its first node: opening a plan
// drops that last node, so undo, which reopens the step's snapshot, took a node off the
// polygon. The commands store the contour as an open leaves it; inner contours, which
// an open does not examine, are stored as given.
TEST_F(LineCommands, APolygonsOuterContourIsStoredWithoutALastNodeRepeatingTheFirst)
{
    const QString node = QStringLiteral("[{%1}{%2}{-1}{0}{0}{0}{0}]");
    const auto contour = [&](std::initializer_list<std::pair<const char*, const char*>> points) {
        QString nodes;
        for (const auto& [x, y] : points)
            nodes += node.arg(QString::fromUtf8(x), QString::fromUtf8(y));
        return nodes;
    };
    const struct {
        const char* what;
        QString nodes;
        int kept;
    } cases[] = {
        {"square closed", contour({{"0", "0"}, {"0", "1"}, {"1", "1"}, {"1", "0"}, {"0", "0"}}), 4},
        {"closed, the same value written otherwise", contour({{"0,5", "0"}, {"0", "1"}, {"1", "1"}, {"0.50", "0,0"}}), 3},
        {"two nodes remain", contour({{"0", "0"}, {"0", "1"}, {"0", "0"}}), 2},
        {"every repeat at the end is dropped", contour({{"0", "0"}, {"0", "1"}, {"1", "1"}, {"0", "0"}, {"0", "0"}}), 3},
        {"all nodes one point", contour({{"2", "2"}, {"2", "2"}, {"2", "2"}, {"2", "2"}}), 2},
        {"two equal nodes stay", contour({{"0", "0"}, {"0", "0"}}), 2},
        {"a single node stays", contour({{"0", "0"}}), 1},
        // Guards against a polygon losing a node at its second open: the last node is
        // the first one as the file holds it (two decimals).
        {"closed to the written hundredth", contour({{"0", "0"}, {"0", "1"}, {"1", "1"}, {"0", "0,001"}}), 3},
        {"open by a hundredth", contour({{"0", "0"}, {"0", "1"}, {"1", "1"}, {"0", "0,01"}}), 4},
    };
    const QString hole = QStringLiteral("([{1}{1}{-1}{0}{0}][{1}{2}{-1}{0}{0}][{2}{2}{-1}{0}{0}][{1}{1}{-1}{0}{0}])");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Run(QStringLiteral("mcNewPolygon=<0><0><ЗДН><%1><2><><0><0><%2><-1>").arg(c.nodes, hole));
        RGPolygon& made = Polygon(Layer(0, 0).Polygons.GetCount() - 1);
        EXPECT_EQ(made.Nodes.GetCount(), c.kept);
        EXPECT_EQ(made.Holes.At(0)->Nodes.GetCount(), 4);
        Run(QStringLiteral("mcSetPolygonProp=<0><0><0><ЗДН><%1><2><><0><0><%2><-1>").arg(c.nodes, hole));
        EXPECT_EQ(Polygon(0).Nodes.GetCount(), c.kept);
        EXPECT_EQ(Polygon(0).Holes.At(0)->Nodes.GetCount(), 4);
        // What an open of the plan would change: nothing.
        const QString before = Dump();
        Plan().CheckPolygonClose();
        EXPECT_EQ(Dump(), before);
    }
}

TEST_F(LineCommands, DeleteSwapAndMissingPositions)
{
    Run({"mcNewLine=<0><0><l0><><0><0><2><><>", "mcNewLine=<0><0><l1><><0><0><2><><>",
         "mcNewPolygon=<0><0><p0><><2><><0><0><><-1>", "mcNewPolygon=<0><0><p1><><2><><0><0><><-1>"});
    for (const char* line : {
             "mcNewLine=<1><0><x><><0><0><2><><>",
             "mcDelLine=<0><0><2>",
             "mcSetLineProp=<0><0><2><bad>",
             "mcChangeLineOrder=<0><0><0><2>",
             "mcNewPolygon=<0><1><x>",
             "mcDelPolygon=<0><0><-1>",
             "mcSetPolygonProp=<0><0><9>",
             "mcChangePolygonOrder=<0><0><1><5>",
         })
        ExpectNoChange(QString::fromUtf8(line));
    Run({"mcChangeLineOrder=<0><0><1><0>", "mcChangePolygonOrder=<0><0><0><1>"});
    EXPECT_EQ(Line(0).Semantics, QStringLiteral("l1"));
    EXPECT_EQ(Polygon(0).Semantics, QStringLiteral("p1"));
    EXPECT_EQ(Layer(0, 0).Polygons.GetIndex(), 1);
    Run({"mcDelLine=<0><0><0>", "mcDelPolygon=<0><0><1>"});
    EXPECT_EQ(Line(0).Semantics, QStringLiteral("l0"));
    EXPECT_EQ(Layer(0, 0).Polygons.GetCount(), 1);
    EXPECT_EQ(Polygon(0).Semantics, QStringLiteral("p1"));
}

TEST_F(LineCommands, LongNodeListsBecomeLinesNodeForNode)
{
    QString nodes;
    for (int i = 0; i < 100000; ++i)
        nodes += QStringLiteral("[{%1}{%2,5}{0}{-1}{0}{-1}{0}{0}]").arg(i).arg(i % 7);
    Run(QStringLiteral("mcNewLine=<0><0><ГРЗ><><0><0><2><><%1>").arg(nodes));
    const TGLineNodes& n = Line(0).Nodes;
    ASSERT_EQ(n.GetCount(), 100000);
    EXPECT_EQ(n.At(99999)->Position.X, 99999.0L);
    EXPECT_EQ(n.At(99999)->Position.Y, 4.5L);   // 99999 mod 7 is 4
}
