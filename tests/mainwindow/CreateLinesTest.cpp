// Lines, polygons, strips and circles made from the node array on the main window: the
// node groups of each command, the refusals that keep the nodes, and the user's way
// through the pop-up menus.
#include "FixtureSetup.h"
#include "MainWindowFixture.h"

#include "foundation/GeoServ.h"
#include "foundation/ProgramDialogs.h"
#include "mainwindow/MapHooks.h"
#include "mainwindow/modes/Creators.h"
#include "semantics/codec/SemDialogs.h"
#include "support/TestHelpers.h"
#include "survey/SurveyDialogs.h"

#include <QAction>
#include <QMenu>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

class CreateLines : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.Start();
        TFormMap& form = Run.Form();
        FixDestination(form, QStringLiteral("Линии"));
        MainMap->LinkToNodes = 0;
        TSemDialogHooks sem;
        sem.SemDlg = [this](int, int&, QString& s) {
            ++SemShown;
            s = QStringLiteral("ДОР");
            return SemResult;
        };
        SemScope = std::make_unique<TScopedSemDialogHooks>(sem);
        TSurveyDialogHooks survey = SurveyDialogHooks();
        survey.QStripDialog = [this](int& position, int& left, int& right, Extended& width) {
            EXPECT_EQ(position, 2);
            EXPECT_EQ(double(width), 3.0);
            position = Strip.Position;
            left = Strip.Left;
            right = Strip.Right;
            width = Strip.Width;
            return Strip.Result;
        };
        SurveyScope = std::make_unique<TScopedSurveyDialogHooks>(survey);
        TDialogHooks hooks = DialogHooks();
        hooks.ShowMsg = [this](const QString& caption, const QString& text) {
            Messages << caption + QStringLiteral(": ") + text;
            return mrOk;
        };
        DialogScope = std::make_unique<TScopedDialogHooks>(hooks);
        Before = int(CommandLog->size());
    }
    void TearDown() override { FavouritesPaletteShown = nullptr; }

    QStringList Take()
    {
        QStringList made;
        for (const QString& line : CommandLog->mid(Before))
            if (line.startsWith(QStringLiteral("mcNewLine=")) || line.startsWith(QStringLiteral("mcNewPolygon=")))
                made << line;
        Before = int(CommandLog->size());
        return made;
    }

    // The "[" "]" node groups of a command line.
    static QStringList Nodes(const QString& line)
    {
        QStringList nodes;
        const QRegularExpression group(QStringLiteral("\\[([^\\]]*)\\]"));
        for (auto it = group.globalMatch(line); it.hasNext();)
            nodes << it.next().captured(1);
        return nodes;
    }

    static TGeoPoint NodePoint(const QString& node)
    {
        const QStringList v = node.mid(1, node.size() - 2).split(QStringLiteral("}{"));
        return TGeoPoint(v[0].toDouble(), v[1].toDouble());
    }

    void SetNodes(std::initializer_list<TGeoPoint> points)
    {
        TFormMap& form = Run.Form();
        form.CreateNodes.clear();
        for (const TGeoPoint& p : points) {
            RCreateNode node;
            node.Point = p;
            form.CreateNodes.push_back(node);
        }
    }

    struct TStrip {
        int Position = 2, Left = 0, Right = 0;
        Extended Width = 3;
        int Result = mrOk;
    } Strip;
    TMainWindowRun Run;
    TSeparatorScope Separator{u'.'};
    std::unique_ptr<TScopedSemDialogHooks> SemScope;
    std::unique_ptr<TScopedSurveyDialogHooks> SurveyScope;
    std::unique_ptr<TScopedDialogHooks> DialogScope;
    int Before = 0;
    int SemShown = 0;
    int SemResult = mrOk;
    QStringList Messages;
};

}  // namespace

TEST_F(CreateLines, PrecisionZeroKeepsCentimetresOnLinesOnly)
{
    TFormMap& form = Run.Form();
    form.CreatePrecision = 0;
    SetNodes({{100.126L, 5}, {110, 5}});
    form.CreateLineObject();
    SetNodes({{100.126L, 5}, {110, 5}, {110, 15}});
    form.CreatePolygonObject();
    const QStringList made = Take();
    ASSERT_EQ(made.size(), 2);
    EXPECT_EQ(made[0], QStringLiteral("mcNewLine=<0><0><ДОР><><0><0.00><0><>"
                                      "<[{100.13}{5.00}{0}{-1.00}{0}{-1}{0}{0}][{110.00}{5.00}{0}{-1.00}{0}{-1}{0}{0}]>"));
    EXPECT_EQ(made[1], QStringLiteral("mcNewPolygon=<0><0><ДОР><[{100}{5}{-1.00}{0}{0}{0}{0}][{110}{5}{-1.00}{0}{0}{0}{0}]"
                                      "[{110}{15}{-1.00}{0}{0}{0}{0}]><0><><0.00><0.00><><-1>"));
    EXPECT_TRUE(form.CreateNodes.empty());
    EXPECT_EQ(form.LineCode, QStringLiteral("ДОР"));
    EXPECT_EQ(form.PolygonCode, QStringLiteral("ДОР"));
    EXPECT_EQ(form.MouseMode, mmCreatePolygon);
}

TEST_F(CreateLines, TooFewNodesAreRefusedAndKept)
{
    TFormMap& form = Run.Form();
    SetNodes({{1, 1}});
    form.CreateLineObject();
    SetNodes({{1, 1}, {2, 2}});
    form.CreatePolygonObject();
    SetNodes({{1, 1}, {1, 1}, {2, 2}});
    form.CreateStripObject();
    EXPECT_TRUE(Take().isEmpty());
    EXPECT_EQ(SemShown, 0);
    EXPECT_EQ(form.CreateNodes.size(), 3u);
    EXPECT_EQ(Messages, (QStringList{QStringLiteral("Неверное действие!: Для создания линии нужно не менее 2 узлов"),
                                     QStringLiteral("Неверное действие!: Для создания полигона нужно не менее 3 узлов"),
                                     QStringLiteral("Неверное действие!: Для построения полосы нужно не менее 2 "
                                                    "несовпадающих узлов")}));
    // The classifier cancelled: the nodes go, nothing is made, the code stays.
    SemResult = mrCancel;
    form.LineCode = QStringLiteral("ГОР");
    form.CreateLineObject();
    EXPECT_TRUE(form.CreateNodes.empty());
    EXPECT_TRUE(Take().isEmpty());
    EXPECT_EQ(form.LineCode, QStringLiteral("ГОР"));
    // A cancelled strip window keeps the line to go on with.
    SetNodes({{0, 0}, {0, 10}});
    Strip.Result = mrCancel;
    form.CreateStripObject();
    EXPECT_EQ(form.CreateNodes.size(), 2u);
}

TEST_F(CreateLines, SymmetricStripAlongTheLineWithSpecialEdges)
{
    TFormMap& form = Run.Form();
    form.CreatePrecision = 2;
    Strip.Left = Strip.Right = 1;
    SetNodes({{0, 0}, {0, 10}});
    form.CreateStripObject();
    const QStringList made = Take();
    ASSERT_EQ(made.size(), 1);
    EXPECT_EQ(Nodes(made[0]), (QStringList{"{1.50}{0.00}{-1.00}{1}{1}{0}{0}", "{1.50}{10.00}{-1.00}{0}{0}{0}{0}",
                                           "{-1.50}{10.00}{-1.00}{1}{1}{0}{0}", "{-1.50}{0.00}{-1.00}{0}{0}{0}{0}"}));
}

TEST_F(CreateLines, RightStripOffsetsACornerByTheHalfAngle)
{
    TFormMap& form = Run.Form();
    form.CreatePrecision = 3;
    Strip.Position = 3;
    Strip.Width = 2;
    // East, east again (a straight middle node), then a right turn to the south.
    SetNodes({{0, 0}, {0, 10}, {0, 20}, {-10, 20}});
    form.CreateStripObject();
    const QStringList made = Take();
    ASSERT_EQ(made.size(), 1);
    const QStringList nodes = Nodes(made[0]);
    ASSERT_EQ(nodes.size(), 8);
    Extended straight = 0, corner = 0;
    Dist(TGeoPoint(0, 10), NodePoint(nodes[6]), straight);
    Dist(TGeoPoint(0, 20), NodePoint(nodes[5]), corner);
    EXPECT_NEAR(double(straight), 2.0, 1e-3);
    EXPECT_NEAR(double(corner), 2.828, 1e-3);
    EXPECT_EQ(NodePoint(nodes[5]).X, -2.0);   // inside the turn, to the south-west
    EXPECT_EQ(NodePoint(nodes[5]).Y, 18.0);
}

TEST_F(CreateLines, CircleStepKeepsTheChordsWithinTheTolerance)
{
    TFormMap& form = Run.Form();
    form.CircleTolerance = 0.05L;
    form.Points.Down.Plan = TGeoPoint(100, 100);
    form.Points.Up.Plan = TGeoPoint(110, 100);
    form.CreateCircleObject();
    const QStringList made = Take();
    ASSERT_EQ(made.size(), 1);
    const QStringList nodes = Nodes(made[0]);
    EXPECT_EQ(nodes.size(), 32);
    EXPECT_TRUE(nodes[0].endsWith(QStringLiteral("{0}{0}{1}{1}"))) << nodes[0].toStdString();

    // A tolerance of 0 or not below the radius, and a click without a drag, are refused.
    for (const Extended t : {0.0L, 10.0L}) {
        form.CircleTolerance = t;
        form.CreateCircleObject();
    }
    form.CircleTolerance = 0.05L;
    form.Points.Up.Plan = form.Points.Down.Plan;
    form.CreateCircleObject();
    EXPECT_TRUE(Take().isEmpty());
    ASSERT_EQ(Messages.size(), 3);
    EXPECT_EQ(Messages[0], QStringLiteral("Неверное действие!: Точность построения должна быть больше 0 и меньше радиуса"));
    EXPECT_TRUE(Messages[2].startsWith(QStringLiteral("Неверное действие!: Для создания окружности выберете центр")));
}

TEST_F(CreateLines, PolygonPopupAttributesApplyToLaterNodesAndReset)
{
    TFormMap& form = Run.Form();
    auto item = [&](const char* caption) {
        for (QAction* a : form.PMCreatePolygon->actions())
            if (a->text() == QString::fromUtf8(caption))
                a->trigger();
    };
    item("Скрытый сегмент");
    item("Специальный сегмент тип I");
    EXPECT_EQ(form.PolygonSegmentType, 1);
    EXPECT_EQ(form.PolygonSegmentStyle, 2);   // hidden survives the type change
    item("Видимый сегмент");
    EXPECT_EQ(form.PolygonSegmentStyle, 1);
    item("Специальный сегмент тип II");
    EXPECT_EQ(form.PolygonSegmentStyle, 0);
    item("Линия к узлу нет");
    item("Рисунок в узле нет");
    EXPECT_EQ(form.PolygonNodeLine, 1);
    EXPECT_EQ(form.PolygonNodePicture, 1);
    SetNodes({{0, 0}, {0, 10}, {10, 10}});
    item("Закончить полигон");
    EXPECT_EQ(Take().size(), 1);
    EXPECT_EQ(form.PolygonSegmentType, 0);
    EXPECT_EQ(form.PolygonNodeLine, 0);
    EXPECT_EQ(form.PolygonNodePicture, 0);
}

TEST_F(CreateLines, AsAUserThreeClicksAndFinishTheLineFromThePopup)
{
    TFormMap& form = Run.Form();
    form.SetMouseMode(mmCreateLine, 0, true);
    QStringList menus;
    MapHooks().MenuExec = [&](QMenu& menu, QPoint) -> QAction* {
        menus << menu.objectName();
        for (QAction* a : menu.actions())
            if (a->text() == QStringLiteral("Закончить линию")) {
                a->trigger();
                return a;
            }
        return nullptr;
    };
    TSurfaceDriver mouse(form);
    mouse.Click(100, 100);
    mouse.Click(150, 120);
    mouse.Click(200, 100);
    mouse.Click(200, 100, Qt::RightButton);
    EXPECT_EQ(menus, QStringList{QStringLiteral("PMCreateLine")});
    const QStringList made = Take();
    ASSERT_EQ(made.size(), 1);
    EXPECT_EQ(Nodes(made[0]).size(), 3);
    EXPECT_TRUE(form.CreateNodes.empty());
    EXPECT_EQ(form.MouseMode, mmCreateLine);

    // A polygon with the pop-up off is made at the right click.
    form.ShowPolygonPopup = 0;
    form.SetMouseMode(mmCreatePolygon, 0, true);
    mouse.Click(100, 100);
    mouse.Click(150, 120);
    mouse.Click(200, 100);
    mouse.Click(200, 100, Qt::RightButton);
    EXPECT_EQ(menus.size(), 1);
    const QStringList polygon = Take();
    ASSERT_EQ(polygon.size(), 1);
    EXPECT_TRUE(polygon[0].startsWith(QStringLiteral("mcNewPolygon=")));
    EXPECT_EQ(Nodes(polygon[0]).size(), 3);
}
