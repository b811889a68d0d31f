// The composite fields of the object commands, as the journal reads them, and the
// command parameters of each kind made from its values.
#include "dialogs/objects/ObjectFields.h"
#include "dialogs/objects/ObjectValues.h"
#include "engine/commands/MapCommand.h"
#include "foundation/ErrorTrail.h"
#include "support/TestHelpers.h"

#include <gtest/gtest.h>

namespace {

RGPolygonNode PolygonNode(Extended x, Extended y, Extended shift, int type, int style, int line,
                          int picture, int curve)
{
    RGPolygonNode n;
    n.Position = GeoPoint(x, y);
    n.SignShift = shift;
    n.SegmentType = static_cast<std::uint8_t>(type);
    n.SegmentStyle = static_cast<std::uint8_t>(style);
    n.CornerLine = static_cast<std::uint8_t>(line);
    n.CornerPicture = static_cast<std::uint8_t>(picture);
    n.Curve = static_cast<std::uint8_t>(curve);
    return n;
}

}  // namespace

TEST(ObjectFields, CoordinatesTakeTheDecimalsOfThePrecision)
{
    const TSeparatorScope separators(u',');
    struct Case { int precision; const char* text; };
    const Case cases[] = {{0, "1235"}, {1, "1234,6"}, {2, "1234,57"}, {3, "1234,568"}, {4, "1235"}, {255, "1235"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.precision);
        EXPECT_EQ(CoordText(1234.5678L, static_cast<TPrecision>(c.precision)), QString::fromUtf8(c.text));
    }
}

TEST(ObjectFields, CaptionSettingsAreOneGroupEachInOrder)
{
    const TSeparatorScope separators(u'.');
    EXPECT_EQ(UserTextsField({}), QString());
    ArrUserTexts texts(2);
    texts[0] = {1.5L, -2, 0.75L, 122, 1};   // Dx, Dy, SizeFactor, Angle, Show
    texts[1].Show = 2;
    EXPECT_EQ(UserTextsField(texts),
              QStringLiteral("[{1.50}{-2.00}{122}{0.75}{1}][{0.00}{0.00}{0}{1.00}{2}]"));
}

TEST(ObjectFields, NodeListsCarryEveryValueInTheCommandsOrder)
{
    const TSeparatorScope separators(u',');
    ArrLineNodes line(2);
    line[0].Position = GeoPoint(10.1234L, 20);
    line[1].Position = GeoPoint(11, 21.5L);
    line[1].NodeType = 1;
    line[1].SignShift = 2.5L;
    line[1].SegmentType = 2;
    line[1].TextCounter = 3;
    line[1].Curve = 1;
    line[1].InvertText = 1;
    EXPECT_EQ(LineNodesField(line, 3), QStringLiteral("[{10,123}{20,000}{0}{-1,00}{0}{-1}{0}{0}]"
                                                      "[{11,000}{21,500}{1}{2,50}{2}{3}{1}{1}]"));
    const ArrPolygonNodes outer = {PolygonNode(1, 2, -1, 0, 0, 0, 0, 0), PolygonNode(3, 4, 1.25L, 1, 2, 1, 1, 1)};
    EXPECT_EQ(PolygonNodesField(outer, 1),
              QStringLiteral("[{1,0}{2,0}{-1,00}{0}{0}{0}{0}{0}][{3,0}{4,0}{1,25}{1}{2}{1}{1}{1}]"));
    const ArrIntrPolygons holes = {{PolygonNode(5, 6, -1, 0, 1, 0, 1, 1)}, {PolygonNode(7, 8, 3, 0, 2, 0, 0, 0)}};
    EXPECT_EQ(IntrPolygonsField(holes, 0),
              QStringLiteral("([{5}{6}{-1,00}{1}{1}{1}])([{7}{8}{3,00}{2}{0}{0}])"));
    EXPECT_EQ(IntrPolygonsField({}, 2), QString());
    EXPECT_EQ(OverLinesField({QStringLiteral("ОГР"), QStringLiteral("БРД/Ф1")}), QStringLiteral("{ОГР}{БРД/Ф1}"));
}

TEST(ObjectFields, StyleNamesGoOutWithAStarFirst)
{
    EXPECT_EQ(StyleNameField(QStringLiteral(">НАДПИСИ ЗА РАМКАМИ 2 (30)")), QStringLiteral("*НАДПИСИ ЗА РАМКАМИ 2 (30)"));
    EXPECT_EQ(StyleNameField(QString()), QString());
}

TEST(ObjectFields, CommandsOfEachKindFromTheirValues)
{
    const TSeparatorScope separators(u',');
    RPointValues point;
    point.Semantics = QStringLiteral("ТОЧ/Ф001");
    point.X = 100.12345L;
    point.Y = 200;
    point.Precision = 3;
    point.SignAngle = 45.5L;
    EXPECT_EQ(NewPointParams(0, 1, point), QStringLiteral("<0><1><ТОЧ/Ф001><100,123><200,000><3><45,50><><0><0>"));
    point.Precision = 0;
    point.AllFromFirst = 1;
    point.CaptionLine = 2;
    EXPECT_EQ(SetPointParams(0, 1, 4, point), QStringLiteral("<0><1><4><ТОЧ/Ф001><100><200><0><45,50><><1><2>"));

    RTextValues text;
    text.Text = QStringLiteral("ул. Мира");
    text.X = 1;
    text.Y = 2;
    text.Rotation = 900;
    text.StyleName = QStringLiteral(">ОСНОВНОЙ");
    EXPECT_EQ(NewTextParams(2, 3, text),
              QStringLiteral("<2><3><ул. Мира><1,00><2,00><900><1,00><*ОСНОВНОЙ><0><><0><0,00><0000><0>"));
    text.Text = QStringLiteral("a>b");
    try {
        SetTextParams(0, 0, 0, text);
        ADD_FAILURE() << "a \">\" in the text must be refused";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message.contains(QStringLiteral("a>b"))) << e.Message.toStdString();
    }

    RRastrValues rastr;
    rastr.Path = QStringLiteral("/планы/подложка.bmp");
    rastr.BL = GeoPoint(1, 2);
    rastr.TR = GeoPoint(3.5L, 4.25L);
    EXPECT_EQ(NewRastrParams(1, rastr),
              QStringLiteral("<1></планы/подложка.bmp><1,000><2,000><3,500><4,250><1><><100><100><100><200><0>"));

    RLineValues line;
    line.Semantics = QStringLiteral("ЛЭП");
    line.Strip = true;
    line.StripWidth = 2.5L;
    line.OverLines = {QStringLiteral("ОГР")};
    line.Nodes.resize(1);
    EXPECT_EQ(NewLineParams(0, 0, line),
              QStringLiteral("<0><0><ЛЭП><><1><2,50><2><{ОГР}><[{0,00}{0,00}{0}{-1,00}{0}{-1}{0}{0}]>"));
    // The origins of the nodes go with a change only: a new line has no old nodes.
    line.NodeOrigins = {4};
    EXPECT_EQ(NewLineParams(0, 0, line),
              QStringLiteral("<0><0><ЛЭП><><1><2,50><2><{ОГР}><[{0,00}{0,00}{0}{-1,00}{0}{-1}{0}{0}]>"));
    EXPECT_EQ(SetLineParams(0, 0, 3, line),
              QStringLiteral("<0><0><3><ЛЭП><><1><2,50><2><{ОГР}><[{0,00}{0,00}{0}{-1,00}{0}{-1}{0}{0}{4}]>"));

    RPolygonValues polygon;
    polygon.Semantics = QStringLiteral("ЗДН");
    polygon.Nodes = {PolygonNode(1, 2, -1, 0, 0, 0, 0, 1)};
    polygon.Holes = {{PolygonNode(1, 1, -1, 0, 0, 0, 0, 1)}};
    EXPECT_EQ(SetPolygonParams(0, 0, 7, polygon),
              QStringLiteral("<0><0><7><ЗДН><[{1,00}{2,00}{-1,00}{0}{0}{0}{0}{1}]><2><><0,00><0,00>"
                             "<([{1,00}{1,00}{-1,00}{0}{0}{1}])><-1>"));
}
