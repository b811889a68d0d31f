// Line editing on the plan as the user does it: a line chosen with the select mode, a
// node dragged with the mouse, the pop-up items run on the chosen part; the journal's
// last lines and the saved plan are the oracle.
#include "MainWindowFixture.h"
#include "SurfaceTestSupport.h"

#include "foundation/ProgramDialogs.h"
#include "mainwindow/modes/EditGeometry.h"
#include "platform/CodePage.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The node group of the journal: X, Y, then the automatic attributes, the curve flag and
// the node's origin.
QString Node(const char* x, const char* y, int curve, int origin, int inverted = 0)
{
    return Decimal("[{%1}{%2}{0}{-1,00}{0}{-1}{%3}{%4}{%5}]")
        .arg(Decimal(x), Decimal(y))
        .arg(curve)
        .arg(inverted)
        .arg(origin);
}

class LineEditRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.Start();
        TFormMap& form = Run.Form();
        AddExactView(form);
        form.SetMouseMode(mmSelectObject, 0, true);
    }

    // A line of the given nodes (and extra fields before them) in sheet 0, layer 0, drawn
    // and chosen with a click on its first node.
    void Line(const QString& nodes, const char* overLines = "")
    {
        for (const char* c : {"mcNewPage=<1>", "mcNewLayer=<0><Общий>"})
            MainMap->StrToComm(QString::fromUtf8(c));
        MainMap->StrToComm(QStringLiteral("mcNewLine=<0><0><ЛЭП><><0><0><2><%1><%2>")
                               .arg(QString::fromUtf8(overLines), nodes));
        const QSize size = Run.Form().DisplaySurf->size();
        MainMap->Draw(size.width(), size.height(), 3, ddScreen);
    }
    void Choose(Extended x, Extended y)
    {
        TFormMap& form = Run.Form();
        const QPoint p = TSurfaceDriver(form).At(x, y);
        Move(p);
        QTest::mousePress(form.DisplaySurf, Qt::LeftButton, Qt::NoModifier, p);
        QTest::mouseRelease(form.DisplaySurf, Qt::LeftButton, Qt::NoModifier, p);
        ASSERT_EQ(form.FoundCount->text(), QStringLiteral("1"));
    }
    void Move(QPoint p, Qt::MouseButtons held = Qt::NoButton, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        TFormMap& form = Run.Form();
        QMouseEvent e(QEvent::MouseMove, QPointF(p), form.DisplaySurf->mapToGlobal(QPointF(p)), Qt::NoButton,
                      held, mods);
        QCoreApplication::sendEvent(form.DisplaySurf, &e);
    }
    // The editor run on part (1 node, 3 line, 4 caption) and index with the press at
    // down and the last move at move (plan points); the journal lines it added.
    QStringList Edit(TLineEditOp op, int part, int index, TGeoPoint down, TGeoPoint move = {}, int shift = 0)
    {
        TFormMap& form = Run.Form();
        const int before = int(CommandLog->size());
        form.SelectedPart = std::uint8_t(part);
        form.SelectedIndex = index;
        form.Points.Down.Plan = down;
        form.Points.Move.Plan = move;
        form.MoveShift = shift;
        form.EditLineObject(op);
        return CommandLog->mid(before);
    }
    QString Set(const QString& nodes, const char* texts = "", const char* overLines = "")
    {
        return QStringLiteral("mcSetLineProp=<0><0><0><ЛЭП><%1><0><%2><2><%3><%4>")
            .arg(QString::fromUtf8(texts), Decimal("0,00"), QString::fromUtf8(overLines), nodes);
    }
    QString Saved()
    {
        Run.SaveAsName = Run.Folder() + QStringLiteral("линия.500");
        EXPECT_TRUE(Run.Form().SaveAs());
        QFile file(Run.SaveAsName);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return DecodeCodePage(file.readAll());
    }

    TMainWindowRun Run;
    TScopedProgramDialogHooks Scope;
};

const char* ThreeNodes = "[{200}{200}{0}{-1}{0}{-1}{0}{0}][{250}{300}{0}{-1}{0}{-1}{1}{0}][{200}{400}{0}{-1}{0}{-1}{0}{1}]";

}  // namespace

TEST(LineEditGeometry, ShiftKeepsTheLongerComponentAndTheFootLiesOnTheLine)
{
    EXPECT_EQ(ShiftRule({5, 2}, true).X, 5);
    EXPECT_EQ(ShiftRule({5, 2}, true).Y, 0);
    EXPECT_EQ(ShiftRule({2, 2}, true).Y, 0);   // a tie keeps the north component
    EXPECT_EQ(ShiftRule({2, -7}, true).X, 0);
    EXPECT_EQ(ShiftRule({5, 2}, false).Y, 2);
    struct Case {
        TGeoPoint P, A, B, Foot;
    } cases[] = {
        {{3, 5}, {0, 0}, {10, 0}, {3, 0}},
        {{-4, 2}, {0, 0}, {10, 0}, {-4, 0}},     // beyond the segment's start
        {{3, -5}, {0, 0}, {10, 0}, {3, 0}},      // the other side
        {{0, 10}, {0, 0}, {10, 10}, {5, 5}},
        {{7, 7}, {4, 4}, {4, 4}, {4, 4}},        // a zero-length segment: its first node
    };
    for (const Case& c : cases) {
        const TGeoPoint f = PerpendicularFoot(c.P, c.A, c.B);
        EXPECT_NEAR(double(f.X), double(c.Foot.X), 1e-9);
        EXPECT_NEAR(double(f.Y), double(c.Foot.Y), 1e-9);
    }
}

TEST_F(LineEditRun, ANodeDraggedWithTheMouseReachesTheJournalAndThePlanFile)
{
    Line(QString::fromUtf8(ThreeNodes));
    Choose(200, 200);
    TFormMap& form = Run.Form();
    const TSurfaceDriver driver(form);
    const QPoint node = driver.At(250, 300);
    Move(node);
    ASSERT_EQ(form.SelectedPart, 1);
    ASSERT_EQ(form.SelectedIndex, 1);
    QTest::mousePress(form.DisplaySurf, Qt::LeftButton, Qt::NoModifier, node);
    Move(node + QPoint(15, 0), Qt::LeftButton);
    Move(node + QPoint(30, 0), Qt::LeftButton);
    QTest::mouseRelease(form.DisplaySurf, Qt::LeftButton, Qt::NoModifier, node + QPoint(30, 0));
    EXPECT_EQ(CommandLog->last(), Set(Node("200,00", "200,00", 0, 0) + Node("250,00", "330,00", 1, 1) +
                                      Node("200,00", "400,00", 0, 2, 1)));
    EXPECT_FALSE(form.DragBand.Drawn);
    EXPECT_EQ(form.FoundCount->text(), QStringLiteral("1"));   // still chosen
    EXPECT_TRUE(Saved().contains(Decimal("$250,00 330,00\r\n"))) << Saved().toStdString();
}

TEST_F(LineEditRun, NodeAndLineDragsByTheirVectors)
{
    Line(QString::fromUtf8(ThreeNodes));
    Choose(200, 200);
    // A still click on a node without snapping sends nothing.
    EXPECT_EQ(Edit(leApplyDrag, 1, 1, {250, 300}, {250, 300}), QStringList());
    // With the snap switch on and a snap point found the node lands on the point.
    MainMap->LinkToNodes = 1;
    TFormMap& form = Run.Form();
    form.Snapped = true;
    form.SnapPoint = {261.5L, 305.25L};
    EXPECT_EQ(Edit(leApplyDrag, 1, 1, {250, 300}, {250, 300}).last(),
              Set(Node("200,00", "200,00", 0, 0) + Node("261,50", "305,25", 1, 1) + Node("200,00", "400,00", 0, 2, 1)));
    // The whole line: its node nearest to the snap point lands on it, wherever the drag
    // began (node 2 here, 10 m south of the point).
    form.Snapped = true;
    form.SnapPoint = {190, 400};
    EXPECT_EQ(Edit(leApplyDrag, 3, 0, {222, 250}, {230, 260}).last(),
              Set(Node("190,00", "200,00", 0, 0) + Node("251,50", "305,25", 1, 1) + Node("190,00", "400,00", 0, 2, 1)));
    form.Snapped = false;
    MainMap->LinkToNodes = 0;
    // Shift: 5 N 2 E moves 5 N only; 2 N 2 E moves 2 N only.
    EXPECT_EQ(Edit(leApplyDrag, 3, 0, {0, 0}, {5, 2}, 1).last(),
              Set(Node("195,00", "200,00", 0, 0) + Node("256,50", "305,25", 1, 1) + Node("195,00", "400,00", 0, 2, 1)));
    EXPECT_EQ(Edit(leApplyDrag, 3, 0, {0, 0}, {2, 2}, 1).last(),
              Set(Node("197,00", "200,00", 0, 0) + Node("258,50", "305,25", 1, 1) + Node("197,00", "400,00", 0, 2, 1)));
}

TEST_F(LineEditRun, InsertionsInversionClosingAndCurves)
{
    Line(QStringLiteral("[{100}{100}{0}{-1}{0}{-1}{1}{0}][{110}{104}{0}{-1}{0}{-1}{0}{0}]"), "{ЗАБ}");
    Choose(100, 100);
    // The middle of the segment, with the curve flag of its first node; the new node has
    // no origin.
    EXPECT_EQ(Edit(leAddNodeAtMiddle, 3, 0, {0, 0}).last(),
              Set(Node("100,00", "100,00", 1, 0) + Node("105,00", "102,00", 1, -1) + Node("110,00", "104,00", 0, 1), "",
                  "{ЗАБ}"));
    // On the line of the segment: the foot of the press point, here beyond its end.
    EXPECT_EQ(Edit(leAddNodeOnSegment, 3, 1, {117, 101}).last(),
              Set(Node("100,00", "100,00", 1, 0) + Node("105,00", "102,00", 1, 1) + Node("115,00", "106,00", 1, -1) +
                      Node("110,00", "104,00", 0, 2),
                  "", "{ЗАБ}"));
    // Four nodes: one goes without a question, the others keep their attached points.
    EXPECT_EQ(Edit(leDeleteNode, 1, 2, {0, 0}).last(),
              Set(Node("100,00", "100,00", 1, 0) + Node("105,00", "102,00", 1, 1) + Node("110,00", "104,00", 0, 3), "",
                  "{ЗАБ}"));
    const QString three = Node("100,00", "100,00", 1, 0) + Node("105,00", "102,00", 1, 1) + Node("110,00", "104,00", 0, 2);
    EXPECT_EQ(Edit(leInvert, 3, 0, {0, 0}).last(),
              Set(Node("110,00", "104,00", 0, 2) + Node("105,00", "102,00", 1, 1) + Node("100,00", "100,00", 1, 0), "",
                  "{ЗАБ}"));
    Edit(leInvert, 3, 0, {0, 0});
    // Closing appends a copy of the first node every time, already closed or not.
    Edit(leClose, 3, 0, {0, 0});
    EXPECT_EQ(Edit(leClose, 3, 0, {0, 0}).last(),
              Set(three + Node("100,00", "100,00", 1, 3) + Node("100,00", "100,00", 1, -1), "", "{ЗАБ}"));
    EXPECT_EQ(Edit(leAllStraight, 3, 0, {0, 0}).last(),
              Set(Node("100,00", "100,00", 0, 0) + Node("105,00", "102,00", 0, 1) + Node("110,00", "104,00", 0, 2) +
                      Node("100,00", "100,00", 0, 3) + Node("100,00", "100,00", 0, 4),
                  "", "{ЗАБ}"));
    EXPECT_EQ(Edit(leAllCurved, 3, 0, {0, 0}).last(),
              Set(Node("100,00", "100,00", 1, 0) + Node("105,00", "102,00", 1, 1) + Node("110,00", "104,00", 1, 2) +
                      Node("100,00", "100,00", 1, 3) + Node("100,00", "100,00", 1, 4),
                  "", "{ЗАБ}"));
}

TEST_F(LineEditRun, ACutMakesTwoLinesSharingTheFootAndDroppingTheirCaptionPlacements)
{
    Line(QStringLiteral("[{100}{100}{0}{-1}{0}{-1}{0}{0}][{100}{200}{0}{-1}{0}{-1}{0}{0}]"
                        "[{100}{300}{0}{-1}{0}{-1}{0}{0}][{100}{400}{0}{-1}{0}{-1}{0}{0}]"),
         "{ЗАБ}");
    Choose(100, 100);
    // n = 4 cut at s = 1: s + 2 = 3 nodes stay, n - s = 3 go to the new line.
    const QStringList lines = Edit(leCut, 3, 1, {95, 250});
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], Set(Node("100,00", "100,00", 0, 0) + Node("100,00", "200,00", 0, 1) +
                                Node("100,00", "250,00", 0, -1),
                            "", "{ЗАБ}"));
    EXPECT_EQ(lines[1], QStringLiteral("mcNewLine=<0><0><ЛЭП><><0><%1><2><{ЗАБ}><%2>")
                            .arg(Decimal("0,00"),
                                 Decimal("[{100,00}{250,00}{0}{-1,00}{0}{-1}{0}{0}]"
                                         "[{100,00}{300,00}{0}{-1,00}{0}{-1}{0}{0}]"
                                         "[{100,00}{400,00}{0}{-1,00}{0}{-1}{0}{0}]")));
    EXPECT_EQ(MainMap->GetLinesCount(0, 0), 2);
}

TEST_F(LineEditRun, DeletingTheLastButTwoNodesAsksAndLengthAndAngleOfATwoNodeLine)
{
    // A 5 m line at 1 m per pixel lies wholly inside the 10-pixel pick square of a click
    // on its first node: it must be found all the same.
    Line(QStringLiteral("[{100}{100}{0}{-1}{0}{-1}{0}{0}][{103}{104}{0}{-1}{0}{-1}{0}{0}]"));
    Choose(100, 100);
    std::vector<QString> asked;
    int answer = mrNo;
    DialogHooks().ShowQ = [&](const QString& caption, const QString& text) {
        asked.push_back(caption + QStringLiteral(": ") + text);
        return answer;
    };
    const QString unchanged = Set(Node("100,00", "100,00", 0, 0) + Node("103,00", "104,00", 0, 1));
    EXPECT_EQ(Edit(leDeleteNode, 1, 1, {0, 0}), QStringList{unchanged});
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], QStringLiteral("Удаление линейного объекта: В выбранном объекте останется менее 2 узлов; "
                                       "удалить объект?"));

    // The length: 2.5 along the same direction (a 3-4-5 triangle).
    ProgramDialogHooks().InpFlt = [](Extended& value, const QString& caption, const QString&) {
        EXPECT_NEAR(double(value), 5.0, 1e-9);
        EXPECT_EQ(caption, QStringLiteral("Изменить длину линии"));
        value = 2.5L;
        return mrOk;
    };
    EXPECT_EQ(Edit(leSetLength, 3, 0, {0, 0}).last(), Set(Node("100,00", "100,00", 0, 0) + Node("101,50", "102,00", 0, 1)));
    // A cancelled angle leaves the nodes and still writes the line.
    ProgramDialogHooks().InpAngle = [](Extended& angle, const QString&) {
        angle = 90;
        return mrCancel;
    };
    EXPECT_EQ(Edit(leSetAngle, 3, 0, {0, 0}).last(), Set(Node("100,00", "100,00", 0, 0) + Node("101,50", "102,00", 0, 1)));
    ProgramDialogHooks().InpAngle = [](Extended& angle, const QString&) {
        angle = 90;
        return mrOk;
    };
    EXPECT_EQ(Edit(leSetAngle, 3, 0, {0, 0}).last(), Set(Node("100,00", "100,00", 0, 0) + Node("100,00", "102,50", 0, 1)));

    // "Да" deletes the line.
    answer = mrYes;
    const QStringList deleted = Edit(leDeleteNode, 1, 0, {0, 0});
    ASSERT_EQ(deleted.size(), 1);
    EXPECT_EQ(deleted[0], QStringLiteral("mcDelLine=<0><0><0>"));
    EXPECT_EQ(MainMap->GetLinesCount(0, 0), 0);
}

TEST_F(LineEditRun, TheEndNodeIsAddedFromTheNodePopupThroughTheAddNodeMode)
{
    Line(QString::fromUtf8(ThreeNodes));
    Choose(200, 200);
    TFormMap& form = Run.Form();
    form.SelectedPart = 1;
    // A middle node: "Добавить узел" disabled; the last one: enabled, and it enters mode 18.
    form.SelectedIndex = 1;
    QMenu* menu = form.SelectedPartPopup();
    ASSERT_EQ(menu, form.PMLineNode);
    QAction* add = nullptr;
    for (QAction* a : menu->actions())
        if (a->text() == QStringLiteral("Добавить узел"))
            add = a;
    ASSERT_NE(add, nullptr);
    EXPECT_FALSE(add->isEnabled());
    form.SelectedIndex = 2;
    form.SelectedPartPopup();
    EXPECT_TRUE(add->isEnabled());
    add->trigger();
    EXPECT_EQ(form.MouseMode, mmAddLineNode);
    EXPECT_EQ(form.LineEndAnchor.X, 200);
    EXPECT_EQ(form.LineEndAnchor.Y, 400);
    // The release at a point adds the node there (inverted-text flag 0) and the select
    // mode comes back.
    const TSurfaceDriver driver(form);
    const QPoint at = driver.At(180, 450);
    Move(at);
    QTest::mousePress(form.DisplaySurf, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(form.DisplaySurf, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(CommandLog->last(), Set(Node("200,00", "200,00", 0, 0) + Node("250,00", "300,00", 1, 1) +
                                      Node("200,00", "400,00", 0, 2, 1) + Node("180,00", "450,00", 0, -1)));
    EXPECT_EQ(form.MouseMode, mmSelectObject);
}

TEST_F(LineEditRun, CaptionPlacementsShowHideAndDefault)
{
    Line(QString::fromUtf8(ThreeNodes));
    Choose(200, 200);
    TFormMap& form = Run.Form();
    // A placement not stored yet: the pop-up marks "По умолчанию"; "Показать" creates the
    // entries before it with the neutral values.
    form.SelectedPart = 4;
    form.SelectedContour = 2;
    form.SelectedIndex = 0;
    QMenu* menu = form.SelectedPartPopup();
    ASSERT_EQ(menu, form.PMLineText);
    const auto checked = [&] {
        for (QAction* a : menu->actions())
            if (a->isChecked())
                return a->text();
        return QString();
    };
    EXPECT_EQ(checked(), QStringLiteral("По умолчанию"));
    const char* neutral = "[{0,00}{0,00}{0}{1,00}{0}]";
    const QString nodes =
        Node("200,00", "200,00", 0, 0) + Node("250,00", "300,00", 1, 1) + Node("200,00", "400,00", 0, 2, 1);
    const auto withTexts = [&](const QString& texts) {
        return QStringLiteral("mcSetLineProp=<0><0><0><ЛЭП><%1><0><%2><2><><%3>").arg(texts, Decimal("0,00"), nodes);
    };
    EXPECT_EQ(Edit(leCaptionShow, 4, 0, {0, 0}).last(),
              withTexts(Decimal(neutral) + Decimal("[{0,00}{0,00}{0}{1,00}{1}]")));
    form.SelectedContour = 2;
    form.SelectedPart = 4;
    form.SelectedPartPopup();
    EXPECT_EQ(checked(), QStringLiteral("Показать автотекст"));
    form.SelectedContour = 2;
    EXPECT_EQ(Edit(leCaptionHide, 4, 0, {0, 0}).last(),
              withTexts(Decimal(neutral) + Decimal("[{0,00}{0,00}{0}{1,00}{2}]")));
    form.SelectedContour = 2;
    EXPECT_EQ(Edit(leCaptionDefault, 4, 0, {0, 0}).last(), withTexts(Decimal(neutral) + Decimal(neutral)));
    // "По умолчанию" on a placement beyond the array does not extend it.
    form.SelectedContour = 5;
    EXPECT_EQ(Edit(leCaptionDefault, 4, 0, {0, 0}).last(), withTexts(Decimal(neutral) + Decimal(neutral)));
}

TEST_F(LineEditRun, AttachedPointsStayWithTheirNodesAndACutThatWouldDropThemIsRefused)
{
    Line(QString::fromUtf8(ThreeNodes));
    Choose(200, 200);
    RGLine& line = *MainMap->Pages.At(0)->Layers.At(0)->Lines.At(0);
    line.Nodes.At(2)->NodePoints.AddItem();
    line.Nodes.At(2)->NodePoints.Item->Position = GeoPoint(205, 405);
    const auto pointsAt = [] {
        const RGLine& l = *MainMap->Pages.At(0)->Layers.At(0)->Lines.At(0);
        std::vector<int> at;
        for (int k = 0; k < l.Nodes.GetCount(); ++k)
            at.push_back(l.Nodes.At(k)->NodePoints.GetCount());
        return at;
    };
    Edit(leAddNodeAtMiddle, 3, 0, {0, 0});   // 4 nodes, the point on node 3
    EXPECT_EQ(pointsAt(), (std::vector<int>{0, 0, 0, 1}));
    Edit(leInvert, 3, 0, {0, 0});
    EXPECT_EQ(pointsAt(), (std::vector<int>{1, 0, 0, 0}));
    Edit(leDeleteNode, 1, 2, {0, 0});
    EXPECT_EQ(pointsAt(), (std::vector<int>{1, 0, 0}));

    // The part cut off would take node 0's point: refused, nothing written.
    Edit(leInvert, 3, 0, {0, 0});
    ASSERT_EQ(pointsAt(), (std::vector<int>{0, 0, 1}));
    std::vector<QString> messages;
    DialogHooks().ShowMsg = [&](const QString& caption, const QString& text) {
        messages.push_back(caption + QStringLiteral(": ") + text);
        return mrOk;
    };
    EXPECT_TRUE(Edit(leCut, 3, 0, {230, 240}).isEmpty());
    EXPECT_EQ(messages, std::vector<QString>{QStringLiteral("Разрезать линию: К узлам отрезаемой части привязаны точки")});
    EXPECT_EQ(MainMap->GetLinesCount(0, 0), 1);
    EXPECT_EQ(pointsAt(), (std::vector<int>{0, 0, 1}));
}

TEST_F(LineEditRun, TheNodeWindowsValuesAreWrittenHoweverItCloses)
{
    Line(QString::fromUtf8(ThreeNodes));
    Choose(200, 200);
    int shownPrecision = -1;
    ProgramDialogHooks().LineNodeProp = [&](int precision, Extended& X, Extended&, std::uint8_t& nodeType, Extended&,
                                            std::uint8_t&, std::int32_t& textCounter, std::uint8_t&) {
        shownPrecision = precision;
        X = 260;
        nodeType = 1;
        textCounter = 4;
        return mrCancel;
    };
    EXPECT_EQ(Edit(leNodeProperties, 1, 1, {0, 0}).last(),
              Set(Node("200,00", "200,00", 0, 0) + Decimal("[{260,00}{300,00}{1}{-1,00}{0}{4}{1}{0}{1}]") +
                  Node("200,00", "400,00", 0, 2, 1)));
    EXPECT_EQ(shownPrecision, 2);
}

TEST_F(LineEditRun, ACaptionDragWithCtrlMovesOnePlacementWithoutItTheWholeStation)
{
    Line(QString::fromUtf8(ThreeNodes));
    Choose(200, 200);
    // Caption regions 1 and 2 stand at one station (group 0), region 3 at another.
    const auto regions = [] {
        RFindedObject& found = *MainMap->FoundObjects.At(0);
        while (found.Regions.GetCount() > 1 && found.Regions.GoLastItem())
            found.Regions.DeleteItem();
        for (const int group : {0, 0, 1}) {
            found.Regions.AddItem();
            found.Regions.Item->IsCaption = 1;
            found.Regions.Item->Number = group;
        }
    };
    const QString nodes =
        Node("200,00", "200,00", 0, 0) + Node("250,00", "300,00", 1, 1) + Node("200,00", "400,00", 0, 2, 1);
    const auto withTexts = [&](const char* texts) {
        return QStringLiteral("mcSetLineProp=<0><0><0><ЛЭП><%1><0><%2><2><><%3>")
            .arg(Decimal(texts), Decimal("0,00"), nodes);
    };
    regions();
    Run.Form().SelectedContour = 3;
    EXPECT_EQ(Edit(leApplyDrag, 4, 1, {0, 0}, {3, -4}, 4).last(),
              withTexts("[{0,00}{0,00}{0}{1,00}{0}][{0,00}{0,00}{0}{1,00}{0}][{3,00}{-4,00}{0}{1,00}{0}]"));
    regions();
    Run.Form().SelectedContour = 2;
    EXPECT_EQ(Edit(leApplyDrag, 4, 0, {0, 0}, {1, 2}).last(),
              withTexts("[{1,00}{2,00}{0}{1,00}{0}][{1,00}{2,00}{0}{1,00}{0}][{3,00}{-4,00}{0}{1,00}{0}]"));
}
