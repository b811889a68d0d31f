// The node-list operations shared by the line, polygon and inner-contour windows, run
// as one table for each kind of node; their list lines, the line's length and the
// polygon's area and perimeter.
#include "DialogsTestSupport.h"

#include "dialogs/objects/NodeLists.h"
#include "support/TestHelpers.h"

#include <QTemporaryDir>
#include <tuple>

namespace {

template <class K>
class NodeOperations : public ::testing::Test {
protected:
    using Node = typename K::Node;

    // Nodes numbered by their X, each its own origin.
    void Make(int count)
    {
        Nodes.clear();
        Origins.clear();
        for (int i = 0; i < count; ++i) {
            Node n = K::NewNode();
            n.Position = GeoPoint(i, 0);
            Nodes.push_back(n);
            Origins.push_back(i);
        }
    }

    std::vector<int> Order() const
    {
        std::vector<int> order;
        for (const Node& n : Nodes)
            order.push_back(static_cast<int>(n.Position.X));
        return order;
    }

    std::vector<Node> Nodes;
    std::vector<int> Origins;
};

using NodeKinds = ::testing::Types<TLineNodeKind, TPolygonNodeKind, TIntrNodeKind>;
TYPED_TEST_SUITE(NodeOperations, NodeKinds);

}  // namespace

TYPED_TEST(NodeOperations, MovesInsertAndDeleteKeepOriginsAlongside)
{
    using V = std::vector<int>;
    struct Case {
        const char* name;
        int count;
        int at;
        TNodeMove move;
        bool done;
        V order;
    };
    const Case cases[] = {
        {"В начало on 3 of five", 5, 3, nmFirst, true, V{3, 1, 2, 0, 4}},
        {"В конец on 1 of five", 5, 1, nmLast, true, V{0, 4, 2, 3, 1}},
        {"Вперед on 2", 4, 2, nmForward, true, V{0, 2, 1, 3}},
        {"Назад on 2", 4, 2, nmBack, true, V{0, 1, 3, 2}},
        {"Вперед on the first", 4, 0, nmForward, false, V{0, 1, 2, 3}},
        {"Назад on the last", 4, 3, nmBack, false, V{0, 1, 2, 3}},
        {"В начало on the first", 4, 0, nmFirst, false, V{0, 1, 2, 3}},
        {"no node selected", 4, -1, nmLast, false, V{0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        this->Make(c.count);
        EXPECT_EQ(MoveNode(this->Nodes, &this->Origins, c.at, c.move), c.done);
        EXPECT_EQ(this->Order(), c.order);
        EXPECT_EQ(this->Origins, c.order);
    }

    this->Make(4);
    this->Nodes[2].SignShift = 7;
    EXPECT_TRUE(InsertNodeCopy(this->Nodes, &this->Origins, 2));
    EXPECT_EQ(this->Order(), (V{0, 1, 2, 2, 3}));
    EXPECT_EQ(this->Nodes[2].SignShift, 7);
    EXPECT_EQ(this->Origins, (V{0, 1, -1, 2, 3})) << "the copy keeps no attached points";
    EXPECT_FALSE(InsertNodeCopy(this->Nodes, &this->Origins, -1));
    EXPECT_FALSE(InsertNodeCopy(this->Nodes, &this->Origins, 5));
    EXPECT_EQ(this->Nodes.size(), 5u);

    DeleteNodes(this->Nodes, &this->Origins, TSelectedLines{0, 2, 4});
    EXPECT_EQ(this->Order(), (V{1, 2}));
    EXPECT_EQ(this->Origins, (V{1, 2}));
    DeleteNodes(this->Nodes, static_cast<std::vector<int>*>(nullptr), TSelectedLines{0, 1});
    EXPECT_TRUE(this->Nodes.empty());
}

TEST(NodeLists, SelectionRuleAndNewNodes)
{
    struct Case { int selected; bool prop, del, moves; };
    for (const Case& c : {Case{0, false, false, false}, Case{1, true, true, true}, Case{3, false, true, false}}) {
        const TNodeButtonsState s = NodeButtonsState(c.selected);
        EXPECT_EQ(std::make_tuple(s.Prop, s.Del, s.Moves), std::make_tuple(c.prop, c.del, c.moves)) << c.selected;
    }
    const RGLineNodeData line = TLineNodeKind::NewNode();
    EXPECT_EQ(std::make_tuple(line.Position.X, line.Position.Y, line.NodeType, line.Curve, line.SignShift,
                              line.SegmentType, line.TextCounter, line.InvertText),
              std::make_tuple(Extended(0), Extended(0), std::uint8_t(0), std::uint8_t(0), Extended(-1),
                              std::uint8_t(0), -1, std::uint8_t(0)));
    EXPECT_EQ(TPolygonNodeKind::NewNode().SignShift, -1);
    EXPECT_EQ(TIntrNodeKind::NewNode().SignShift, 0) << "an inner node starts at a fixed 0 mm";
}

TEST(NodeLists, ListLinesOfEachKind)
{
    const TSeparatorScope separators(u',');
    RGLineNodeData line;
    line.Position = GeoPoint(10.5L, -3);
    EXPECT_EQ(LineNodeListLine(0, line, 2),
              QStringLiteral("0   (   10,50    -3,00) сдвиг знака нет; тип узла    основной; счетчик текста авто"));
    line.SignShift = 12.345L;
    line.NodeType = 1;
    line.TextCounter = 4;
    EXPECT_EQ(LineNodeListLine(12, line, 0),
              QStringLiteral("12  (      11       -3) сдвиг знака 12,35; тип узла специальный; счетчик текста 4"));
    // Four significant digits at most: 1234,5 is written whole.
    EXPECT_EQ(NodeShiftText(1234.5L), QStringLiteral("1235,00"));
    RGPolygonNode p;
    p.Position = GeoPoint(1, 2);
    p.SegmentType = 2;
    p.SegmentStyle = 2;
    p.CornerLine = 1;
    EXPECT_EQ(PolygonNodeListLine(1, p, 1),
              QStringLiteral("1   (     1,0      2,0) сдвиг знака нет; тип сегмента специальный2; "
                             "стиль сегмента скрытый; линия к узлу выкл; рисунок в узле вкл"));
    p.SignShift = 0;
    p.SegmentStyle = 1;
    p.CornerPicture = 1;
    EXPECT_EQ(IntrNodeListLine(3, p, 3),
              QStringLiteral("3   (   1,000    2,000) сдвиг знака 0,00; стиль сегмента специальный1; рисунок в узле выкл"));
    EXPECT_EQ(IntrPolygonListLine(2, ArrPolygonNodes(5)), QStringLiteral("2   (число узлов: 5) "));
    EXPECT_EQ(NodesTxtLines({GeoPoint(1, 2), GeoPoint(100.25L, -3)}, 2),
              (QStringList{QStringLiteral("0      1,00      2,00 "), QStringLiteral("1    100,25     -3,00 ")}));
}

TEST(NodeLists, LengthAreaAndPerimeter)
{
    const TSeparatorScope separators(u',');
    ArrLineNodes line(3);
    line[1].Position = GeoPoint(3, 4);
    line[2].Position = GeoPoint(3, 0);
    EXPECT_EQ(LineLengthText(line), QStringLiteral("Длина контура=9,000м")) << "no closing segment";
    EXPECT_EQ(LineLengthText(ArrLineNodes(1)), QStringLiteral("Длина контура=0,000м"));

    const auto ring = [](std::initializer_list<std::pair<int, int>> corners) {
        ArrPolygonNodes nodes;
        for (const auto& [x, y] : corners) {
            RGPolygonNode n;
            n.Position = GeoPoint(x, y);
            nodes.push_back(n);
        }
        return nodes;
    };
    const ArrPolygonNodes square = ring({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    const ArrPolygonNodes reversed = ring({{0, 10}, {10, 10}, {10, 0}, {0, 0}});
    EXPECT_EQ(RingArea(square), -RingArea(reversed));
    const QString full = QStringLiteral("Площадь полигона=100,000кв.м.; 0,010га; периметр, внешний контур=40,000м");
    EXPECT_EQ(PolygonAreaText(square, {}), full);
    EXPECT_EQ(PolygonAreaText(reversed, {}), full);
    const ArrPolygonNodes hole = ring({{2, 2}, {4, 2}, {4, 4}, {2, 4}});
    const ArrPolygonNodes holeBack = ring({{2, 4}, {4, 4}, {4, 2}, {2, 2}});
    for (const ArrPolygonNodes& outer : {square, reversed})
        for (const ArrPolygonNodes& inner : {hole, holeBack})
            EXPECT_EQ(PolygonArea(outer, {inner, ArrPolygonNodes()}), 96) << "an empty hole adds nothing";
    EXPECT_EQ(PolygonAreaText({}, {}),
              QStringLiteral("Площадь полигона=0,000кв.м.; 0,000га; периметр, внешний контур=0,000м"));
}

TEST(NodeLists, SavedAsTextInCodePage1251)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("узлы.txt"));
    NodesSaveDialogHook = [&file](QString& name) {
        name = file;
        return true;
    };
    SaveNodesTxt({QStringLiteral("0      1,00      2,00 "), QStringLiteral("узел")});
    NodesSaveDialogHook = nullptr;
    EXPECT_EQ(FileBytes(file), QByteArray("0      1,00      2,00 \r\n\xF3\xE7\xE5\xEB\r\n"));
}
