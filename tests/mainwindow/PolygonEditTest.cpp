// Polygon editing on the plan: the chosen polygon's node, segment, whole object and
// caption placements changed by the editor's operations and by the pop-up seam; the
// journal's last line and the polygon read back from the plan are the oracle.
#include "MainWindowFixture.h"
#include "SurfaceTestSupport.h"

#include "dialogs/objects/ObjectValues.h"
#include "foundation/ProgramDialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The square (100,100) (100,110) (110,110) (110,100); node 1 is a curve node.
const char* Square = "[{100}{100}{-1}{0}{0}{0}{0}][{100}{110}{-1}{0}{0}{0}{0}{1}]"
                     "[{110}{110}{-1}{0}{0}{0}{0}][{110}{100}{-1}{0}{0}{0}{0}]";

class PolygonEditRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.Start();
        TFormMap& form = Run.Form();
        AddExactView(form);
        form.SetMouseMode(mmSelectObject, 0, true);
    }
    // A polygon with the outer contour, the inner contours and the fill-grid shift given,
    // chosen with a click inside it at (x, y).
    void Polygon(const char* outer, const char* holes, Extended x, Extended y, const char* grid = "<0><0>")
    {
        for (const char* c : {"mcNewPage=<1>", "mcNewLayer=<0><Общий>"})
            MainMap->StrToComm(QString::fromUtf8(c));
        MainMap->StrToComm(Decimal("mcNewPolygon=<0><0><ЗДН><%1><2><>%2<%3><-1>")
                               .arg(QString::fromUtf8(outer), Decimal(grid), QString::fromUtf8(holes)));
        TFormMap& form = Run.Form();
        const QSize size = form.DisplaySurf->size();
        MainMap->Draw(size.width(), size.height(), 3, ddScreen);
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
    QStringList Edit(TPolygonEditOp op, int part, int contour, int index, TGeoPoint down = {}, TGeoPoint move = {},
                     int shift = 0)
    {
        TFormMap& form = Run.Form();
        const int before = int(CommandLog->size());
        form.SelectedPart = std::uint8_t(part);
        form.SelectedContour = contour;
        form.SelectedIndex = index;
        form.Points.Down.Plan = down;
        form.Points.Move.Plan = move;
        form.MoveShift = shift;
        form.EditPolygonObject(op);
        return CommandLog->mid(before);
    }
    RPolygonValues Stored()
    {
        RPolygonValues v;
        EXPECT_TRUE(ReadPolygon(*MainMap, 0, 0, 0, v));
        return v;
    }

    TMainWindowRun Run;
    TScopedProgramDialogHooks Scope;
};

}  // namespace

TEST_F(PolygonEditRun, SegmentTypeAndVisibilityFollowTheirTable)
{
    Polygon(Square, "", 105, 105);
    struct Step {
        TPolygonEditOp Op;
        int Type, Style;
    } steps[] = {
        {peSegmentSpecial1, 1, 1}, {peSegmentHidden, 1, 2}, {peSegmentVisible, 1, 1},
        {peSegmentSpecial2, 2, 0}, {peSegmentHidden, 2, 2}, {peSegmentVisible, 2, 0},
        {peSegmentMain, 0, 0},     {peSegmentHidden, 0, 2}, {peSegmentVisible, 0, 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(int(step.Op));
        ASSERT_EQ(Edit(step.Op, 2, 0, 2).size(), 1);
        const RPolygonValues v = Stored();
        EXPECT_EQ(v.Nodes[2].SegmentType, step.Type);
        EXPECT_EQ(v.Nodes[2].SegmentStyle, step.Style);
    }
    // The whole contour: hidden, shown by type, and back to the defaults.
    Edit(peSegmentSpecial1, 2, 0, 0);
    Edit(peHideAllSegments, 3, 0, 0);
    for (const RGPolygonNode& n : Stored().Nodes)
        EXPECT_EQ(n.SegmentStyle, 2);
    Edit(peShowAllSegments, 3, 0, 0);
    EXPECT_EQ(Stored().Nodes[0].SegmentStyle, 1);
    EXPECT_EQ(Stored().Nodes[1].SegmentStyle, 0);
    Edit(peSegmentsDefault, 3, 0, 0);
    EXPECT_EQ(Stored().Nodes[0].SegmentType, 0);
    EXPECT_EQ(Stored().Nodes[0].SegmentStyle, 0);
    EXPECT_EQ(Stored().Nodes[1].Curve, 1);   // the curve flag survives every edit
}

TEST_F(PolygonEditRun, InsertionsOnTheClosingSegmentInversionAndDeletion)
{
    Polygon(Square, "", 105, 105);
    // The closing segment's middle comes last.
    EXPECT_EQ(Edit(peAddNodeAtMiddle, 2, 0, 3).last(),
              Decimal("mcSetPolygonProp=<0><0><0><ЗДН><[{100,00}{100,00}{-1,00}{0}{0}{0}{0}{0}]"
                      "[{100,00}{110,00}{-1,00}{0}{0}{0}{0}{1}][{110,00}{110,00}{-1,00}{0}{0}{0}{0}{0}]"
                      "[{110,00}{100,00}{-1,00}{0}{0}{0}{0}{0}][{105,00}{100,00}{-1,00}{0}{0}{0}{0}{0}]>"
                      "<2><><0,00><0,00><><-1>"));
    // Five nodes: the middle one goes without a question.
    Edit(peDeleteNode, 1, 0, 4);
    ASSERT_EQ(Stored().Nodes.size(), 4u);
    // The foot of the press point on the first segment's line; a copy of node 0.
    Edit(peSegmentSpecial1, 2, 0, 0);
    Edit(peAddNodeOnSegment, 2, 0, 0, {103, 97});
    RPolygonValues v = Stored();
    ASSERT_EQ(v.Nodes.size(), 5u);
    EXPECT_NEAR(double(v.Nodes[1].Position.X), 100, 1e-9);
    EXPECT_NEAR(double(v.Nodes[1].Position.Y), 97, 1e-9);
    EXPECT_EQ(v.Nodes[1].SegmentType, 1);
    Edit(peDeleteNode, 1, 0, 1);
    // Inversion reverses the outer contour; the attributes travel with their nodes.
    Edit(peInvert, 3, 0, 0);
    v = Stored();
    ASSERT_EQ(v.Nodes.size(), 4u);
    EXPECT_EQ(v.Nodes[3].Position.X, 100);
    EXPECT_EQ(v.Nodes[3].Position.Y, 100);
    EXPECT_EQ(v.Nodes[3].SegmentType, 1);
    EXPECT_EQ(v.Nodes[2].Curve, 1);

    // Four nodes, then three: the question, "Нет" writes back unchanged, "Да" deletes.
    std::vector<QString> asked;
    int answer = mrNo;
    DialogHooks().ShowQ = [&](const QString& caption, const QString& text) {
        asked.push_back(caption + QStringLiteral(": ") + text);
        return answer;
    };
    Edit(peDeleteNode, 1, 0, 0);
    EXPECT_TRUE(asked.empty());
    const QString before = CommandLog->last();
    ASSERT_EQ(Edit(peDeleteNode, 1, 0, 0).size(), 1);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0],
              QStringLiteral("Удаление площадного объекта: В выбранном объекте останется менее 3 узлов; удалить объект?"));
    EXPECT_EQ(CommandLog->last(), before);
    answer = mrYes;
    EXPECT_EQ(Edit(peDeleteNode, 1, 0, 0), QStringList{QStringLiteral("mcDelPolygon=<0><0><0>")});
    EXPECT_EQ(MainMap->GetPolygonsCount(0, 0), 0);
}

TEST_F(PolygonEditRun, DragsMoveBothContoursOrThePickedNodeAndASegmentDragChangesNothing)
{
    Polygon("[{100}{100}{-1}{0}{0}{0}{0}][{100}{140}{-1}{0}{0}{0}{0}][{140}{140}{-1}{0}{0}{0}{0}]"
            "[{140}{100}{-1}{0}{0}{0}{0}]",
            "([{110}{110}{-1}{0}{0}][{110}{120}{-1}{0}{1}][{120}{120}{-1}{0}{0}])", 105, 130, "<1,5><2,5>");
    // A drag that began on a segment changes nothing, so it sends nothing.
    EXPECT_EQ(Edit(peApplyDrag, 2, 0, 1, {100, 120}, {90, 125}), QStringList());
    // The whole polygon, 5 m north (Shift drops the 2 m east).
    Edit(peApplyDrag, 3, 0, 0, {120, 105}, {125, 107}, 1);
    RPolygonValues v = Stored();
    EXPECT_EQ(v.Nodes[0].Position.X, 105);
    EXPECT_EQ(v.Nodes[0].Position.Y, 100);
    EXPECT_EQ(v.Holes[0][1].Position.X, 115);
    EXPECT_EQ(v.Holes[0][1].Position.Y, 120);
    EXPECT_EQ(v.Holes[0][1].CornerPicture, 1);
    EXPECT_EQ(v.Dxz, 1.5L);
    EXPECT_EQ(v.Dyz, 2.5L);
    // A node of the inner contour dragged moves that node only.
    Edit(peApplyDrag, 1, 1, 2, {125, 120}, {127, 123});
    v = Stored();
    EXPECT_EQ(v.Holes[0][2].Position.X, 127);
    EXPECT_EQ(v.Holes[0][2].Position.Y, 123);
    EXPECT_EQ(v.Nodes[2].Position.X, 145);
    EXPECT_EQ(v.Nodes[2].Position.Y, 140);
    // The corner line of an inner node does nothing; its picture switches.
    Edit(peNodeLineHide, 1, 1, 0);
    Edit(peNodePictureHide, 1, 1, 0);
    v = Stored();
    EXPECT_EQ(v.Holes[0][0].CornerPicture, 1);
    EXPECT_EQ(v.Nodes[0].CornerLine, 0);
    // An inner contour of three nodes: "Да" removes that contour only.
    DialogHooks().ShowQ = [](const QString&, const QString&) { return mrYes; };
    Edit(peDeleteNode, 1, 1, 0);
    v = Stored();
    EXPECT_TRUE(v.Holes.empty());
    EXPECT_EQ(v.Nodes.size(), 4u);
}

TEST_F(PolygonEditRun, CaptionPlacementsOfAPolygonWithAHoleSkipTheContourRegions)
{
    Polygon("[{100}{100}{-1}{0}{0}{0}{0}][{100}{140}{-1}{0}{0}{0}{0}][{140}{140}{-1}{0}{0}{0}{0}]"
            "[{140}{100}{-1}{0}{0}{0}{0}]",
            "([{110}{110}{-1}{0}{0}][{110}{120}{-1}{0}{0}][{120}{120}{-1}{0}{0}])", 105, 130);
    // Region 0 the outer contour, 1 the hole, 2 the first caption: placement 0.
    Edit(peCaptionHide, 4, 2, 0);
    RPolygonValues v = Stored();
    ASSERT_EQ(v.UserTexts.size(), 1u);
    EXPECT_EQ(v.UserTexts[0].Show, 2);
    // Region 3: placement 1; "по умолчанию" extends the array too.
    Edit(peCaptionDefault, 4, 3, 0);
    v = Stored();
    ASSERT_EQ(v.UserTexts.size(), 2u);
    EXPECT_EQ(v.UserTexts[0].Show, 2);
    EXPECT_EQ(v.UserTexts[1].Show, 0);
    Edit(peCaptionShow, 4, 2, 0);
    EXPECT_EQ(Stored().UserTexts[0].Show, 1);
}

TEST_F(PolygonEditRun, AHiddenSegmentChosenFromThePopupOfARightClick)
{
    Polygon("[{100}{100}{-1}{0}{0}{0}{0}][{100}{140}{-1}{0}{0}{0}{0}{1}][{140}{140}{-1}{0}{0}{0}{0}]"
            "[{140}{100}{-1}{0}{0}{0}{0}]",
            "", 120, 120);
    TFormMap& form = Run.Form();
    const TSurfaceDriver driver(form);
    QString offered;
    MapHooks().MenuExec = [&](QMenu& menu, QPoint) -> QAction* {
        offered = menu.objectName();
        for (QAction* a : menu.actions())
            if (a->text() == QStringLiteral("Скытый сегмент")) {
                a->trigger();
                return a;
            }
        return nullptr;
    };
    // Shift over the segment from (100,140) to (140,140) picks the segment.
    const QPoint on = driver.At(120, 140);
    Move(on, Qt::NoButton, Qt::ShiftModifier);
    ASSERT_EQ(form.SelectedPart, 2);
    ASSERT_EQ(form.SelectedIndex, 1);
    QTest::mousePress(form.DisplaySurf, Qt::RightButton, Qt::ShiftModifier, on);
    QTest::mouseRelease(form.DisplaySurf, Qt::RightButton, Qt::ShiftModifier, on);
    EXPECT_EQ(offered, QStringLiteral("PMPolygonSegm"));
    EXPECT_EQ(Stored().Nodes[1].SegmentStyle, 2);
    EXPECT_EQ(Stored().Nodes[1].Curve, 1);
    SaveGrab(*form.DisplaySurf, QStringLiteral("polygon-hidden-segment"));
    form.btClearSelectedClick();
    const QSize size = form.DisplaySurf->size();
    MainMap->Draw(size.width(), size.height(), 3, ddScreen);
    SaveGrab(*form.DisplaySurf, QStringLiteral("polygon-hidden-segment-redrawn"));
}

TEST_F(PolygonEditRun, NodePropertiesOpenTheWindowOfThePickedContour)
{
    Polygon("[{100}{100}{-1}{0}{0}{0}{0}][{100}{140}{-1}{0}{0}{0}{0}][{140}{140}{-1}{0}{0}{0}{0}]"
            "[{140}{100}{-1}{0}{0}{0}{0}]",
            "([{110}{110}{-1}{0}{0}][{110}{120}{-1}{0}{0}][{120}{120}{-1}{0}{0}])", 105, 130);
    int outerShown = 0, innerShown = 0;
    ProgramDialogHooks().PolygonNodeProp = [&](int, Extended& X, Extended&, Extended&, std::uint8_t& type,
                                               std::uint8_t& style, std::uint8_t&, std::uint8_t&) {
        ++outerShown;
        X = 90;
        type = 2;
        style = 2;
        return mrCancel;
    };
    ProgramDialogHooks().IntrPolygonNodeProp = [&](int, Extended&, Extended& Y, Extended&, std::uint8_t& style,
                                                   std::uint8_t& picture) {
        ++innerShown;
        Y = 115;
        style = 2;
        picture = 1;
        return mrOk;
    };
    Edit(peNodeProperties, 1, 0, 3);
    Edit(peNodeProperties, 1, 1, 0);
    EXPECT_EQ(outerShown, 1);
    EXPECT_EQ(innerShown, 1);
    const RPolygonValues v = Stored();
    EXPECT_EQ(v.Nodes[3].Position.X, 90);
    EXPECT_EQ(v.Nodes[3].SegmentType, 2);
    EXPECT_EQ(v.Nodes[3].SegmentStyle, 2);
    EXPECT_EQ(v.Holes[0][0].Position.Y, 115);
    EXPECT_EQ(v.Holes[0][0].SegmentStyle, 2);
    EXPECT_EQ(v.Holes[0][0].CornerPicture, 1);
    EXPECT_EQ(v.Nodes[0].Position.Y, 100);   // the outer node of the same index stays
}
