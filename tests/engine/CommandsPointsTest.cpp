// Point commands: both decimal separators, the user-caption list in its groups, the
// cached sign kept or dropped by the semantics, and no half-made point.
#include "CommandsTest.h"

namespace {

class PointCommands : public CommandsTest {
protected:
    void SetUp() override
    {
        CommandsTest::SetUp();
        Run({"mcNewPage=<A>", "mcNewLayer=<0><a>"});
    }

    RGPoint& Point(int i) { return *Layer(0, 0).Points.At(i); }
};

}  // namespace

TEST_F(PointCommands, NewPointStoresEveryFieldInOrder)
{
    Run("mcNewPoint=<0><0><ОПН/Ф001><100,25><200.5><3><45,5>"
        "<[{1,5}{-2}{900}{1,25}{2}][{0}{0}{0}{1}{0}]><1><2>");
    EXPECT_EQ(Dump(), QStringLiteral("page A v1\n"
                                     " layer a v1\n"
                                     "  point ОПН/Ф001 sign  work  (100.25 200.5) p3 a45.5 first1 leader2 picture 0\n"
                                     "   user 1.5 -2 900 1.25 2\n"
                                     "   user 0 0 0 1 0\n"));
    EXPECT_EQ(Layer(0, 0).Points.GetIndex(), 0);
}

TEST_F(PointCommands, CoordinatesWithCommaOrPointAreEqual)
{
    Run({"mcNewPoint=<0><0><s><12,5><7,125><2><0><><0><0>",
         "mcNewPoint=<0><0><s><12.5><7.125><2><0><><0><0>"});
    EXPECT_EQ(Point(0).Position.X, Point(1).Position.X);
    EXPECT_EQ(Point(0).Position.Y, Point(1).Position.Y);
    EXPECT_EQ(Point(1).Position.X, 12.5L);
}

// A point used to be appended before its fields were read, so a bad field left a
// point with only its first values in the plan.
TEST_F(PointCommands, BadFieldLeavesNoHalfMadePoint)
{
    const char* const nl = "Некорректный вид вещественного числа в строковом формате";
    ExpectNoChange(QStringLiteral("mcNewPoint=<0><0><s><1><2y><2><0><><0><0>"), QString::fromUtf8(nl));
    ExpectNoChange(QStringLiteral("mcNewPoint=<0><0><s><1><2><2><0><><0>"),
                   QStringLiteral("List index out of bounds (9)"));
    // A user caption of four values.
    ExpectNoChange(QStringLiteral("mcNewPoint=<0><0><s><1><2><2><0><[{1}{2}{3}{4}]><0><0>"),
                   QStringLiteral("List index out of bounds (4)"));
    ExpectNoChange(QStringLiteral("mcNewPoint=<0><0><s><1><2><2><0><[{1}{2}{3,5}{4}{0}]><0><0>"),
                   QStringLiteral("'3,5' is not a valid integer value"));
    EXPECT_EQ(Layer(0, 0).Points.GetCount(), 0);
}

TEST_F(PointCommands, ChangeKeepsTheSignForTheSameSemanticsAndDropsItForAnother)
{
    Run("mcNewPoint=<0><0><ОПН><1><2><2><0><[{0}{0}{0}{1}{1}]><0><0>");
    RGPoint& p = Point(0);
    p.SignName = QStringLiteral("ОПН");
    p.Picture.AddItem();
    p.WorkName = QStringLiteral("опора");
    p.InnerTexts.AddItem();
    p.AutoTexts.AddItem();

    // The same semantics: the cached sign stays; an empty caption field clears them.
    Run("mcSetPointProp=<0><0><0><ОПН><5><6><1><90><><1><1>");
    EXPECT_EQ(p.SignName, QStringLiteral("ОПН"));
    EXPECT_EQ(p.Picture.GetCount(), 1);
    EXPECT_EQ(p.UserTexts.GetCount(), 0);
    EXPECT_EQ(p.Position.X, 5.0L);
    EXPECT_EQ(p.SignAngle, 90.0L);

    Run("mcSetPointProp=<0><0><0><КЛН><5><6><1><90><[{1}{1}{0}{1}{0}]><0><0>");
    EXPECT_EQ(p.SignName, QString());
    EXPECT_EQ(p.Picture.GetCount(), 0);
    EXPECT_EQ(p.UserTexts.GetCount(), 1);
    // What the command does not carry stays.
    EXPECT_EQ(p.WorkName, QStringLiteral("опора"));
    EXPECT_EQ(p.InnerTexts.GetCount(), 1);
    EXPECT_EQ(p.AutoTexts.GetCount(), 1);
}

TEST_F(PointCommands, ChangeWithABadFieldLeavesThePointAsItWas)
{
    Run("mcNewPoint=<0><0><ОПН><1><2><2><0><[{0}{0}{0}{1}{1}]><0><0>");
    Point(0).SignName = QStringLiteral("ОПН");
    ExpectNoChange(QStringLiteral("mcSetPointProp=<0><0><0><КЛН><5><6><1><90><[{1}{1}]><0><0>"),
                   QStringLiteral("List index out of bounds (2)"));
    EXPECT_EQ(Point(0).SignName, QStringLiteral("ОПН"));
}

TEST_F(PointCommands, MissingPositionsAreSilent)
{
    Run({"mcNewPoint=<0><0><p0><1><2><2><0><><0><0>", "mcNewPoint=<0><0><p1><1><2><2><0><><0><0>"});
    for (const char* line : {
             "mcNewPoint=<0><3><s><1><2><2><0><><0><0>",
             "mcDelPoint=<0><0><2>",
             "mcSetPointProp=<0><0><5><bad>",
             "mcChangePointOrder=<0><0><0><2>",   // j past the end swaps nothing
             "mcChangePointOrder=<0><0><-1><0>",
         })
        ExpectNoChange(QString::fromUtf8(line));
    Run("mcChangePointOrder=<0><0><0><1>");
    EXPECT_EQ(Point(0).Semantics, QStringLiteral("p1"));
    Run("mcDelPoint=<0><0><0>");
    EXPECT_EQ(Point(0).Semantics, QStringLiteral("p0"));
    EXPECT_EQ(Layer(0, 0).Points.GetCount(), 1);
}
