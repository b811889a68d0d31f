// The drawing surface as the user works it: drags and clicks through QTest on the real
// main window, with the view history, the snap list, the status bar and the scripted
// windows as the oracle. The view is set so that pixels fall on whole metres.
#include "MainWindowFixture.h"
#include "SurfaceTestSupport.h"

#include "controls/ExSpeedButton.h"
#include "foundation/ProgramDialogs.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/VclTimer.h"
#include "mainwindow/modes/SnapHitTest.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// Mouse events at surface pixels; moves carry the buttons held, as the system sends them.
struct TButtonMouse {
    TFormMap& Form;

    void Move(QPoint p, Qt::MouseButtons held = Qt::NoButton) const
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(p), Form.DisplaySurf->mapToGlobal(QPointF(p)),
                      Qt::NoButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(Form.DisplaySurf, &e);
    }
    void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton) const
    {
        QTest::mousePress(Form.DisplaySurf, b, Qt::NoModifier, p);
    }
    void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton) const
    {
        QTest::mouseRelease(Form.DisplaySurf, b, Qt::NoModifier, p);
    }
    // The pointer comes to from, goes down, moves to to with the button held, goes up.
    void Drag(QPoint from, QPoint to, Qt::MouseButton b = Qt::LeftButton) const
    {
        Move(from);
        Press(from, b);
        Move(to, b);
        Release(to, b);
    }
    void Click(QPoint p, Qt::MouseButton b = Qt::LeftButton) const
    {
        Move(p);
        Press(p, b);
        Release(p, b);
    }
};

QPoint PixelOf(TFormMap& form, Extended x, Extended y)
{
    return TSurfaceDriver(form).At(x, y);
}

struct TViewBounds {
    Extended XMin, YMin, XMax, YMax;
};

TViewBounds LastView()
{
    const RMapView& v = *MainMap->MapViews.At(MainMap->MapViews.GetCount() - 1);
    return {v.ViewXMin, v.ViewYMin, v.ViewXMax, v.ViewYMax};
}

#define EXPECT_BOUNDS(b, x1, y1, x2, y2)            \
    do {                                           \
        EXPECT_EQ(double((b).XMin), double(x1));   \
        EXPECT_EQ(double((b).YMin), double(y1));   \
        EXPECT_EQ(double((b).XMax), double(x2));   \
        EXPECT_EQ(double((b).YMax), double(y2));   \
    } while (0)

}  // namespace

TEST(SurfaceMouse, RightDragScrollsAndBecomesAPanOnlyPastThreePixelsBothWays)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    ExactView(form, 1);
    form.SetMouseMode(mmSelectObject, 0, true);
    int menus = 0;
    MapHooks().MenuExec = [&](QMenu&, QPoint) {
        ++menus;
        return nullptr;
    };
    const TButtonMouse mouse{form};
    const int views = MainMap->MapViews.GetCount();
    const int scrollX = MainMap->ScrollX, scrollY = MainMap->ScrollY;
    const QPoint p(300, 200);

    // 10 by 2 pixels: the picture follows, nothing else happens.
    mouse.Move(p);
    mouse.Press(p, Qt::RightButton);
    mouse.Move(p + QPoint(10, 2), Qt::RightButton);
    EXPECT_EQ(form.MouseMode, mmSelectObject);
    EXPECT_EQ(MainMap->ScrollX, scrollX - 10);
    EXPECT_EQ(MainMap->ScrollY, scrollY - 2);
    mouse.Release(p + QPoint(10, 2), Qt::RightButton);
    EXPECT_EQ(form.MouseMode, mmSelectObject);
    EXPECT_EQ(MainMap->MapViews.GetCount(), views);
    EXPECT_EQ(menus, 0);
    EXPECT_FALSE(form.ButtonHeld);
    // The view did not move, so neither does the picture once the button is up.
    EXPECT_EQ(MainMap->ScrollX, scrollX);
    EXPECT_EQ(MainMap->ScrollY, scrollY);

    // 4 by 4 pixels: a pan, recorded on release, and back to the select mode.
    ExactView(form, 1);
    const TViewBounds before = LastView();
    mouse.Move(p);
    mouse.Press(p, Qt::RightButton);
    mouse.Move(p + QPoint(4, 4), Qt::RightButton);
    EXPECT_EQ(form.MouseMode, mmMoveView);
    EXPECT_EQ(form.MouseStep, 1);
    EXPECT_EQ(form.NMouseMode->title(), QStringLiteral("режим: Сдвиг вида [1]"));
    EXPECT_TRUE(form.ScreenCursor.IsSet());
    mouse.Move(p + QPoint(30, 20), Qt::RightButton);
    mouse.Release(p + QPoint(30, 20), Qt::RightButton);
    EXPECT_EQ(form.MouseMode, mmSelectObject);
    EXPECT_EQ(form.NMouseMode->title(), QStringLiteral("режим: Выбор объекта [0]"));
    ASSERT_EQ(MainMap->MapViews.GetCount(), views + 2);
    // The plan moved with the pointer: 20 pixels down is 20 m south, 30 right 30 m east.
    EXPECT_BOUNDS(LastView(), before.XMin + 20, before.YMin - 30, before.XMax + 20, before.YMax - 30);
    EXPECT_FALSE(form.ScreenCursor.IsSet());
    EXPECT_EQ(menus, 0);
}

TEST(SurfaceMouse, LeftPanAndZoomRectangleInEitherDirection)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    const TButtonMouse mouse{form};
    const int h = form.DisplaySurf->height();

    ExactView(form, 1);
    form.SetMouseMode(mmSelectView, 0, true);
    int views = MainMap->MapViews.GetCount();
    mouse.Drag(QPoint(100, 100), QPoint(300, 250));
    ASSERT_EQ(MainMap->MapViews.GetCount(), views + 1);
    EXPECT_BOUNDS(LastView(), h - 260, 90, h - 110, 290);
    EXPECT_EQ(form.MouseStep, 0);
    EXPECT_EQ(form.MouseMode, mmSelectView);

    ExactView(form, 1);
    views = MainMap->MapViews.GetCount();
    mouse.Drag(QPoint(300, 250), QPoint(100, 100));
    ASSERT_EQ(MainMap->MapViews.GetCount(), views + 1);
    EXPECT_BOUNDS(LastView(), h - 260, 90, h - 110, 290);

    ExactView(form, 1);
    form.SetMouseMode(mmMoveView, 0, true);
    views = MainMap->MapViews.GetCount();
    const int scrollX = MainMap->ScrollX;
    mouse.Move(QPoint(200, 200));
    mouse.Press(QPoint(200, 200));
    mouse.Move(QPoint(190, 200), Qt::LeftButton);
    EXPECT_EQ(MainMap->ScrollX, scrollX + 10);
    mouse.Move(QPoint(150, 230), Qt::LeftButton);
    mouse.Release(QPoint(150, 230));
    ASSERT_EQ(MainMap->MapViews.GetCount(), views + 1);
    EXPECT_BOUNDS(LastView(), 30, 50, h + 30, form.DisplaySurf->width() + 50);
    EXPECT_EQ(form.MouseMode, mmMoveView);   // a pan of the pan mode stays in it
    EXPECT_EQ(MainMap->ScrollX, form.DisplaySurf->width());   // drawn anew
}

TEST(SurfaceMouse, SnappingMarksTheNearestNodeAndLineNodesTakeItsExactCoordinates)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>",
         "mcNewPoint=<0><0><ТОЧ><300.123><400.456><3><0><><0><0>"});
    MainMap->LinkToNodes = 1;
    ExactView(form, 2);   // no grid crossings to snap to at this scale
    form.SetMouseMode(mmCreateLine, 0, true);
    const TButtonMouse mouse{form};
    const QPoint node = PixelOf(form, 300.123L, 400.456L);

    mouse.Move(node + QPoint(7, -4));
    ASSERT_TRUE(form.Snapped);
    EXPECT_TRUE(form.tmLink->Enabled());
    EXPECT_EQ(form.SnapMarkerPos, node);
    EXPECT_EQ(form.SnapText, QStringLiteral("ТОЧ"));
    const QString panel = form.StatusPanels[5]->text();
    EXPECT_TRUE(panel.startsWith(QStringLiteral("Привязка к точке объета > "))) << panel.toStdString();
    EXPECT_TRUE(panel.endsWith(QStringLiteral(" [ 300.123  400.456]"))) << panel.toStdString();
    // The cursor's plan coordinates, three decimals.
    EXPECT_EQ(form.StatusPanels[1]->text(), QString::number(double(form.Points.Move.Plan.X), 'f', 3));
    EXPECT_EQ(form.StatusPanels[2]->text(), QString::number(double(form.Points.Move.Plan.Y), 'f', 3));

    // The same target: the marker blinks on, the panel is not written again.
    form.StatusPanels[5]->setText(QStringLiteral("не тронуто"));
    mouse.Move(node + QPoint(3, 3));
    EXPECT_EQ(form.StatusPanels[5]->text(), QStringLiteral("не тронуто"));

    mouse.Press(node + QPoint(3, 3));
    mouse.Release(node + QPoint(3, 3));
    ASSERT_EQ(form.CreateNodes.size(), 1u);
    const TGeoPoint& exact = MainMap->Pages.At(0)->Layers.At(0)->Points.At(0)->Position;
    EXPECT_EQ(form.CreateNodes[0].Point.X, exact.X);
    EXPECT_EQ(form.CreateNodes[0].Point.Y, exact.Y);
    EXPECT_EQ(form.MouseStep, 1);
    // The new node can be snapped to: the last record of the snap list.
    const RFAPoint& last = *MainMap->ScreenNodes.At(MainMap->ScreenNodes.GetCount() - 1);
    EXPECT_EQ(last.Semantics, QString());
    EXPECT_EQ(last.ObjectKind, 1);
    EXPECT_EQ(QPoint(last.ScreenX, last.ScreenY), node);
    // The redraw after a snapped node registered the nodes under construction.
    bool registered = false;
    for (int i = 0; i < MainMap->ScreenNodes.GetCount(); ++i)
        registered = registered || MainMap->ScreenNodes.At(i)->Semantics == CreatingObjectText;
    EXPECT_TRUE(registered);

    // Far from every node: no snap, and the node is the click's own point.
    mouse.Move(QPoint(60, 60));
    EXPECT_FALSE(form.Snapped);
    EXPECT_FALSE(form.tmLink->Enabled());
    EXPECT_EQ(form.StatusPanels[5]->text(), QStringLiteral("Привязки нет"));
    mouse.Press(QPoint(60, 60));
    mouse.Release(QPoint(60, 60));
    ASSERT_EQ(form.CreateNodes.size(), 2u);
    EXPECT_EQ(form.CreateNodes[1].Point.X, form.Points.Down.Plan.X);
    EXPECT_EQ(form.CreateNodes[1].Point.Y, form.Points.Down.Plan.Y);

    // A polygon's node takes the polygon node attributes.
    form.CreateNodes.clear();
    form.PolygonSegmentType = 2;
    form.PolygonNodePicture = 1;
    form.SetMouseMode(mmCreatePolygon, 0, true);
    mouse.Click(QPoint(80, 80));
    ASSERT_EQ(form.CreateNodes.size(), 1u);
    EXPECT_EQ(form.CreateNodes[0].SegmentType, 2);
    EXPECT_EQ(form.CreateNodes[0].NodePicture, 1);
    // Its snap record comes before those the repaint registers for the construction.
    bool polygonNode = false;
    for (int i = 0; i < MainMap->ScreenNodes.GetCount(); ++i) {
        const RFAPoint& r = *MainMap->ScreenNodes.At(i);
        polygonNode = polygonNode || (r.Semantics.isEmpty() && r.ObjectKind == 2);
    }
    EXPECT_TRUE(polygonNode);
}

TEST(SurfaceMouse, SnapMarkerBlinksOnTheCanvas)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>", "mcNewPoint=<0><0><ТОЧ><300><400><2><0><><0><0>"});
    MainMap->LinkToNodes = 1;
    ExactView(form, 2);   // no grid crossings to snap to at this scale
    form.SetMouseMode(mmCreateLine, 0, true);
    const TButtonMouse mouse{form};
    const QPoint node = PixelOf(form, 300, 400);
    mouse.Move(node + QPoint(10, 10));
    ASSERT_TRUE(form.Snapped);
    const QImage& canvas = form.DisplaySurf->Canvas;
    const QPoint arm = node + QPoint(-12, 0);   // on the left arm, clear of the sign
    const QRgb ground = canvas.pixel(arm);
    form.tmLinkTimer();
    EXPECT_TRUE(form.SnapMarkerDrawn);
    EXPECT_NE(canvas.pixel(arm), ground);
    EXPECT_EQ(qRed(canvas.pixel(arm)), qRed(ground));   // not-xor in red keeps red
    SaveImage(canvas.copy(QRect(node - QPoint(40, 40), QSize(81, 81)))
                  .scaled(324, 324, Qt::IgnoreAspectRatio, Qt::FastTransformation),
              QStringLiteral("snap-marker"));
    form.tmLinkTimer();
    EXPECT_FALSE(form.SnapMarkerDrawn);
    EXPECT_EQ(canvas.pixel(arm), ground);
    // A copy of the picture wipes the marker; the resume starts it afresh, undrawn.
    form.tmLinkTimer();
    form.PaintBitmap();
    EXPECT_TRUE(form.Snapped);
    EXPECT_FALSE(form.SnapMarkerDrawn);
    EXPECT_TRUE(form.tmLink->Enabled());
    EXPECT_EQ(canvas.pixel(arm), ground);
}

TEST(SurfaceMouse, ContourMarksAreChosenAmongTheObjectsHeightsAndTheContourGetsItsCode)
{
    TMainWindowRun::TOptions options;
    options.CollectMessages = true;
    TMainWindowRun run(options);
    run.Start();
    TFormMap& form = run.Form();
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>",
         "mcNewPoint=<0><0><ОТА/ИВ125.5;ИВ126><300><400><2><0><><0><0>",
         "mcNewPoint=<0><0><ОТА><200><400><2><0><><0><0>",
         "mcNewLine=<0><0><ЛЭП><><0><0><2><><[{100}{600}{0}{-1}{0}{-1}{0}{0}][{150}{650}{0}{-1}{0}{-1}{0}{0}]>"});
    MainMap->LinkToNodes = 1;
    ExactView(form, 2);
    form.SetMouseMode(mmTraceContour, 0, true);
    form.ContourHeight = 126;   // through the first mark: the second pick adds a node quietly
    const TButtonMouse mouse{form};
    QStringList shown;
    TSelection answer{1, QString()};
    DialogHooks().SelStr = [&](const QStringList& list, TSelection& selection, const QString& caption,
                               const QString&) {
        shown = list;
        shown.prepend(caption);
        selection = answer;
        return mrOk;
    };

    mouse.Click(PixelOf(form, 300, 400) + QPoint(5, 5));
    EXPECT_EQ(shown.join(QLatin1Char('|')), QStringLiteral("Выбор отметки|125.50|126.00"));
    EXPECT_EQ(double(form.MarkHeight1), 126.0);
    EXPECT_EQ(double(form.MarkPoint1.X), 300.0);
    EXPECT_EQ(form.MouseStep, 1);

    // A typed text names no height of the object: the first is taken.
    answer = {-1, QStringLiteral("130")};
    mouse.Click(PixelOf(form, 300, 400));
    EXPECT_EQ(double(form.MarkHeight2), 125.5);
    EXPECT_EQ(form.MouseStep, 0);

    // Nothing to snap to (the line's nodes do not count here), or no heights.
    mouse.Click(PixelOf(form, 100, 600));
    mouse.Click(PixelOf(form, 200, 400));
    EXPECT_EQ(QStringList(run.Messages.begin(), run.Messages.end()).join(QLatin1Char('|')),
              QStringLiteral("Объекты не найдены: |Объекты с отметками не найдены: "));
    EXPECT_EQ(form.MouseStep, 0);
    EXPECT_EQ(form.MouseMode, mmTraceContour);

    const QChar separator = DecimalSeparator;
    struct Case {
        Extended Height;
        char16_t Separator;
        const char* Code;
    };
    for (const Case& c : {Case{126, u'.', "ГОР/Ф021;ИВ126"}, Case{125.5L, u',', "ГОР/Ф011;ИВ125,5"},
                          Case{127, u'.', "ГОР/Ф011;ИВ127.0"}, Case{-4, u'.', "ГОР/Ф021;ИВ-4"}}) {
        SCOPED_TRACE(c.Code);
        DecimalSeparator = QChar(c.Separator);
        form.SetMouseMode(mmTraceContour, 0, true);
        form.ContourHeight = c.Height;
        mouse.Click(QPoint(50, 50), Qt::RightButton);
        EXPECT_EQ(form.LineCode, QString::fromUtf8(c.Code));
        EXPECT_EQ(form.MouseMode, mmSelectObject);
    }
    DecimalSeparator = separator;
}

TEST(SurfaceMouse, HeightCheckProposesTheHeightInterpolatedFromTwoPickets)
{
    TMainWindowRun::TOptions options;
    options.CollectMessages = true;
    TMainWindowRun run(options);
    run.Start();
    TFormMap& form = run.Form();
    ExactView(form, 1);
    QStringList asked;
    std::vector<Extended> heights{100, 110};
    TProgramDialogHooks hooks;
    hooks.InpFlt = [&](Extended& value, const QString& caption, const QString&) {
        asked << caption;
        value = heights[(asked.size() - 1) % 2];
        return mrCancel;   // the value is taken whatever closes the window
    };
    const TScopedProgramDialogHooks scope(hooks);
    QStringList questions;
    DialogHooks().ShowQ = [&](const QString& caption, const QString& text) {
        questions << caption + QStringLiteral(" ") + text;
        return mrNo;
    };
    const TButtonMouse mouse{form};
    form.SetMouseMode(mmCheckHeights, 0, false);
    mouse.Click(PixelOf(form, 100, 100));
    EXPECT_EQ(form.MouseStep, 1);
    mouse.Click(PixelOf(form, 200, 100));
    EXPECT_EQ(form.MouseStep, 2);
    EXPECT_EQ(form.NMouseMode->title(), QStringLiteral("режим: проверка высот,выбор места [2]"));
    mouse.Click(PixelOf(form, 130, 100));
    EXPECT_EQ(asked.join(QLatin1Char('|')), QStringLiteral("введите исходную отметку1|введите исходную отметку2"));
    EXPECT_EQ(questions.join(QLatin1Char('|')), QStringLiteral("Должна быть отметка: 103.00  Да- создать пикет"));
    EXPECT_EQ(double(form.OtmHeight), 103.0);
    EXPECT_EQ(form.MouseStep, 0);

    // Both pickets at one place: no slope, no height, back to the first picket.
    form.OtmHeight = 0;
    for (int i = 0; i < 3; ++i)
        mouse.Click(PixelOf(form, 100, 100));
    EXPECT_EQ(questions.size(), 1);
    EXPECT_EQ(QStringList(run.Messages.begin(), run.Messages.end()).join(QLatin1Char('|')),
              QStringLiteral("Проверка высот: Опорные пикеты совпадают"));
    EXPECT_EQ(double(form.OtmHeight), 0.0);
    EXPECT_EQ(form.MouseStep, 0);
}

TEST(SurfaceMouse, RasterLinkAsksForTwoDistinctReferencePoints)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    RunCommands({"mcNewPage=<1>", "mcNewRastr=<0><r.bmp><0><0><100><100><1><><100><100><100><100><0>"});
    ExactView(form, 1);
    struct TAnswer {
        TModalResult Result;
        Extended X, Y;
    };
    std::vector<TAnswer> answers;
    QStringList asked;
    TProgramDialogHooks hooks;
    hooks.InpCoord = [&](const QString& caption, Extended& x, Extended& y) {
        asked << caption + QStringLiteral(" ") + QString::number(double(x)) + QStringLiteral(" ") +
                     QString::number(double(y));
        const TAnswer a = answers.front();
        answers.erase(answers.begin());
        x = a.X;
        y = a.Y;
        return a.Result;
    };
    const TScopedProgramDialogHooks scope(hooks);
    const TButtonMouse mouse{form};
    form.SetMouseMode(mmSelectObject, 0, true);
    form.LinkPage = 0;
    form.LinkRastr = 0;
    form.SetMouseMode(mmLinkRastr, 1, true);
    EXPECT_EQ(form.NMouseMode->title(), QStringLiteral("режим: Привязка растра - Точка 1[1]"));

    answers = {{mrCancel, 5, 5}};
    mouse.Click(PixelOf(form, 20, 30));
    EXPECT_EQ(form.MouseStep, 1);   // cancelled: the next click asks again
    answers = {{mrOk, 1000, 2000}};
    mouse.Click(PixelOf(form, 20, 30));
    EXPECT_EQ(form.MouseStep, 2);
    EXPECT_EQ(double(form.LinkRastrPoint1.X), 20.0);
    EXPECT_EQ(double(form.LinkTargetPoint1.Y), 2000.0);

    // The same X is asked again until it differs; cancelling that question keeps step 2.
    const int views = MainMap->MapViews.GetCount();
    answers = {{mrOk, 1000, 2500}, {mrCancel, 1000, 2500}};
    mouse.Click(PixelOf(form, 80, 90));
    EXPECT_EQ(form.MouseMode, mmLinkRastr);
    EXPECT_EQ(form.MouseStep, 2);
    EXPECT_EQ(MainMap->MapViews.GetCount(), views);
    answers = {{mrOk, 1000, 2500}, {mrOk, 1000, 2500}, {mrOk, 1100, 2000}, {mrOk, 1100, 2500}};
    mouse.Click(PixelOf(form, 80, 90));
    EXPECT_EQ(asked.mid(1).join(QLatin1Char('|')),
              QStringLiteral("Координаты первой точки привязки 20 30|"
                             "Координаты второй точки привязки 1000 2000|"
                             "Координаты X точек привязки не должны совпадать 1000 2500|"
                             "Координаты второй точки привязки 1000 2500|"
                             "Координаты X точек привязки не должны совпадать 1000 2500|"
                             "Координаты X точек привязки не должны совпадать 1000 2500|"
                             "Координаты Y точек привязки не должны совпадать 1100 2000"));
    EXPECT_EQ(double(form.LinkRastrPoint2.X), 80.0);
    EXPECT_EQ(double(form.LinkTargetPoint2.X), 1100.0);
    ASSERT_EQ(MainMap->MapViews.GetCount(), views + 1);
    EXPECT_BOUNDS(LastView(), 1000, 2000, 1100, 2500);
    EXPECT_EQ(form.MouseMode, mmSelectView);   // the zoom follows a link
    EXPECT_EQ(form.MouseStep, 0);
}

TEST(SurfaceMouse, ExportAreaAsksForTheFileAndReturnsToTheModeBefore)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    ExactView(form, 1);
    const int h = form.DisplaySurf->height();
    std::vector<Extended> rect;
    TProgramDialogHooks hooks;
    hooks.SaveRastr = [&](int&, Extended&, TPixelDepth&, Extended x1, Extended y1, Extended x2, Extended y2) {
        rect = {x1, y1, x2, y2};
        return mrCancel;
    };
    const TScopedProgramDialogHooks scope(hooks);
    QStringList boxes;
    DialogHooks().MessageDlg = [&](const QString& text, TMsgDlgType type) {
        boxes << text + (type == mtInformation ? QStringLiteral(" (i)") : QString());
        return mrOk;
    };
    const TButtonMouse mouse{form};
    form.SetMouseMode(mmSelectObject, 0, true);
    QToolButton* button = form.PanelButtons.value(QStringLiteral("Сохранить область плана в выбраном формате"));
    ASSERT_NE(button, nullptr);

    struct Case {
        const char* File;
        const char* Box;
        bool Exported;
    };
    const Case cases[] = {
        {"участок.TIFF", "", true},
        {"участок.500", "Сохранение участка в формате велмора не реализовано (i)", false},
        {"участок.dxf", "Сохранение участка в формате автокад не реализовано (i)", false},
        {"участок", "Сохранение участка в формате велмора не реализовано (i)", false},
        {"", "", false},   // the dialog cancelled
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.File);
        rect.clear();
        boxes.clear();
        run.SaveAsName = *c.File ? run.Folder() + QString::fromUtf8(c.File) : QString();
        button->click();
        EXPECT_EQ(form.MouseMode, mmSaveArea);
        EXPECT_EQ(form.NMouseMode->title(), QStringLiteral("режим: Выбор учатка для сохранения [0]"));
        mouse.Drag(QPoint(300, 250), QPoint(100, 100));
        EXPECT_EQ(boxes.join(QLatin1Char('|')), QString::fromUtf8(c.Box));
        if (c.Exported) {
            ASSERT_EQ(rect.size(), 4u);
            EXPECT_EQ(double(rect[0]), double(h - 260));
            EXPECT_EQ(double(rect[1]), 90.0);
            EXPECT_EQ(double(rect[2]), double(h - 110));
            EXPECT_EQ(double(rect[3]), 290.0);
        } else {
            EXPECT_TRUE(rect.empty());
        }
        EXPECT_EQ(form.MouseMode, mmSelectObject);
    }
}

TEST(SurfaceMouse, StampAndLabelModesTakeOnlyGridCrossings)
{
    TMainWindowRun::TOptions options;
    options.CollectMessages = true;
    TMainWindowRun run(options);
    run.Start();
    TFormMap& form = run.Form();
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>", "mcNewPoint=<0><0><ТОЧ><308><404><2><0><><0><0>"});
    MainMap->LinkToNodes = 1;
    ExactView(form, 1);   // the 50 m grid of 1:500 is offered at this scale
    const TButtonMouse mouse{form};

    form.SetMouseMode(mmCreateLine, 0, true);
    mouse.Move(PixelOf(form, 305, 405));
    EXPECT_EQ(form.SnapText, QStringLiteral("ТОЧ"));   // the point is the nearer

    // The presses are looked at: the releases place the stamp and make the labels.
    form.SetMouseMode(mmSetStamp, 0, true);
    form.MouseStep = 0;
    mouse.Move(PixelOf(form, 305, 405));
    mouse.Press(PixelOf(form, 305, 405));
    EXPECT_EQ(form.SnapText, GridNodeText);
    EXPECT_EQ(double(form.StampCorner.X), 300.0);
    EXPECT_EQ(double(form.StampCorner.Y), 400.0);
    EXPECT_EQ(form.MouseStep, 1);

    // The labels start from the crossing and are then placed freely: snapping goes off.
    TExSpeedButton* link = form.FormInstr1->btLink;
    link->SetGroupIndex(27);
    link->SetAllowAllUp(true);
    link->SetDown(true);
    int offClicks = 0;
    link->OnClick = [&] { offClicks += link->Down() ? 0 : 1; };
    form.MouseStep = 0;
    form.SetMouseMode(mmCoordLabels, 0, true);
    mouse.Move(PixelOf(form, 305, 405));
    mouse.Press(PixelOf(form, 305, 405));
    EXPECT_EQ(double(form.CoordLabelCross.X), 300.0);
    EXPECT_EQ(double(form.CoordLabelCross.Y), 400.0);
    EXPECT_EQ(form.MouseStep, 1);
    EXPECT_EQ(offClicks, 1);
    link->OnClick = nullptr;
    EXPECT_TRUE(run.Messages.empty());

    // Without a grid crossing on offer the labels have nothing to start from.
    ExactView(form, 2);
    form.MouseStep = 0;
    mouse.Click(PixelOf(form, 308, 404));
    EXPECT_FALSE(form.Snapped);
    EXPECT_EQ(QStringList(run.Messages.begin(), run.Messages.end()).join(QLatin1Char('|')),
              QStringLiteral("Координатная сетка не найдена: подписи координат создаются только по "
                             "координатной сетке"));
    EXPECT_EQ(form.MouseStep, 0);
}

TEST(SurfaceMouse, PopupOfTheSelectedPartByKindAndPart)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>",
         "mcNewPoint=<0><0><ПКТ/ИН12;ИВ154.30><300><400><2><0><><0><0>",
         "mcNewPoint=<0><0><ОТА/ИВ1><200><400><2><0><><0><0>",
         "mcNewLine=<0><0><ЛЭП><><0><0><2><><[{100}{600}{0}{-1}{0}{-1}{0}{0}][{150}{650}{0}{-1}{0}{-1}{0}{0}]>",
         "mcNewLine=<0><0><ЛЭП><><0><0><2><><[{100}{600}{0}{-1}{0}{-1}{0}{0}][{150}{650}{0}{-1}{0}{-1}{0}{0}]"
         "[{150}{700}{0}{-1}{0}{-1}{0}{0}]>"});
    ExactView(form, 1);
    auto* box = form.findChild<QComboBox*>(QStringLiteral("SelectedObjects"));
    ASSERT_NE(box, nullptr);
    box->addItem(QStringLiteral("объект"));
    box->setCurrentIndex(0);
    auto found = std::make_unique<RFindedObject>();
    found->PageIndex = 0;
    found->LayerIndex = 0;
    RFindedObject& object = *found;
    MainMap->FoundObjects.DeleteAll();
    MainMap->FoundObjects.AddItem(std::move(found));

    struct Case {
        std::uint8_t Kind;
        int Object;
        std::uint8_t Part;
        const char* Menu;   // "" none
        bool Extra;         // NPikToOtm for points, N82 and N83 for lines
    };
    const Case cases[] = {
        {fkRastr, 0, 3, "PMRastr", false},        {fkRastr, 0, 1, "", false},
        {fkText, 0, 3, "PMText", false},          {fkText, 0, 4, "", false},
        {fkPoint, 0, 3, "PMPoint", true},         {fkPoint, 1, 3, "PMPoint", false},
        {fkPoint, 0, 4, "", false},               {fkLine, 0, 1, "PMLineNode", false},
        {fkLine, 0, 2, "", false},                {fkLine, 0, 3, "PMLine", true},
        {fkLine, 1, 3, "PMLine", false},          {fkLine, 0, 4, "PMLineText", false},
        {fkPolygon, 0, 1, "PMPolygonNode", false}, {fkPolygon, 0, 2, "PMPolygonSegm", false},
        {fkPolygon, 0, 3, "PMPolygon", false},    {fkPolygon, 0, 4, "PMPolygonText", false},
        {fkPolygon, 0, 0, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.Kind) << " " << c.Object << " part " << int(c.Part));
        object.Kind = c.Kind;
        object.ObjectIndex = c.Object;
        form.SelectedPart = c.Part;
        QMenu* menu = form.SelectedPartPopup();
        EXPECT_EQ(menu ? menu->objectName() : QString(), QString::fromUtf8(c.Menu));
        if (c.Kind == fkPoint && menu) {
            EXPECT_EQ(form.NPikToOtm->isVisible(), c.Extra);
        }
        if (c.Kind == fkLine && c.Part == 3) {
            EXPECT_EQ(form.N82->isVisible(), c.Extra);
            EXPECT_EQ(form.N83->isVisible(), c.Extra);
        }
    }

    // As the user: the pointer over the found picket, a right click opens its menu there.
    const QPoint at = PixelOf(form, 300, 400);
    MainMap->FindObjects(300, 400, form.PickSquare(at));
    ASSERT_EQ(MainMap->FoundObjects.GetCount(), 1);
    QString opened;
    QPoint openedAt;
    MapHooks().MenuExec = [&](QMenu& menu, QPoint p) {
        opened = menu.objectName();
        openedAt = p;
        return nullptr;
    };
    form.SetMouseMode(mmSelectObject, 0, true);
    const TButtonMouse mouse{form};
    mouse.Move(at + QPoint(2, 2));
    EXPECT_EQ(form.SelectedPart, 3);
    mouse.Click(at + QPoint(2, 2), Qt::RightButton);
    EXPECT_EQ(opened, QStringLiteral("PMPoint"));
    EXPECT_EQ(openedAt, form.DisplaySurf->mapToGlobal(at + QPoint(2, 2)));
    EXPECT_TRUE(form.NPikToOtm->isVisible());
    // Off the object, nothing is under the cursor and nothing opens.
    opened.clear();
    mouse.Click(at + QPoint(40, 40), Qt::RightButton);
    EXPECT_EQ(form.SelectedPart, 0);
    EXPECT_EQ(opened, QString());

    // The line and polygon under construction end through their own menus.
    form.SetMouseMode(mmCreateLine, 0, true);
    mouse.Click(QPoint(70, 70), Qt::RightButton);
    EXPECT_EQ(opened, QStringLiteral("PMCreateLine"));
    opened.clear();
    form.SetMouseMode(mmCreatePolygon, 0, true);
    form.ShowPolygonPopup = 0;
    // Without the pop-up the polygon is finished at once (the classifier is cancelled here).
    form.CreateNodes.assign(3, RCreateNode{});
    mouse.Click(QPoint(70, 70), Qt::RightButton);
    EXPECT_EQ(opened, QString());
    EXPECT_TRUE(form.CreateNodes.empty());
    form.ShowPolygonPopup = 1;
    mouse.Click(QPoint(70, 70), Qt::RightButton);
    EXPECT_EQ(opened, QStringLiteral("PMCreatePolygon"));
}

TEST(SurfaceMouse, WithoutAScaleOrWhileIgnoredTheSurfaceOnlyTracksTheButton)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    ExactView(form, 1);
    form.SetMouseMode(mmSelectView, 0, true);
    const TButtonMouse mouse{form};
    const int views = MainMap->MapViews.GetCount();
    const Extended factor = MainMap->FactorX;
    MainMap->FactorX = 0;
    mouse.Move(QPoint(100, 100));
    mouse.Press(QPoint(100, 100));
    EXPECT_TRUE(form.ButtonHeld);
    EXPECT_EQ(form.MouseStep, 0);
    EXPECT_EQ(form.Points.Down.Screen, QPoint());
    mouse.Release(QPoint(150, 150));
    EXPECT_FALSE(form.ButtonHeld);
    EXPECT_EQ(MainMap->MapViews.GetCount(), views);
    MainMap->FactorX = factor;

    form.IgnoreMouse = 1;
    mouse.Press(QPoint(100, 100));
    EXPECT_FALSE(form.ButtonHeld);
    mouse.Release(QPoint(100, 100));
    form.IgnoreMouse = 0;
    EXPECT_EQ(form.Points.Down.Screen, QPoint());
}

TEST(SurfaceMouse, AFailedAreaExportIsReportedWithItsTrailAndTheModeReturns)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    ExactView(form, 1);
    QStringList boxes;
    DialogHooks().MessageDlg = [&](const QString& text, TMsgDlgType type) {
        boxes << text + (type == mtError ? QStringLiteral(" (x)") : QString());
        return mrOk;
    };
    MapHooks().SaveFileName = [](const QString&, const QString&, QString&) -> bool {
        throw Exception(QStringLiteral("Папка недоступна"));
    };
    ErrorInfo->clear();
    form.SetMouseMode(mmSelectObject, 0, true);
    form.btSaveRegionAsClick();
    TButtonMouse{form}.Drag(QPoint(100, 100), QPoint(200, 200));
    EXPECT_EQ(boxes.join(QLatin1Char('|')), QStringLiteral("Папка недоступна (x)"));
    EXPECT_TRUE(ErrorInfo->contains(QStringLiteral("procedure TFormMap.SaveArea;")))
        << ErrorInfo->join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(form.MouseMode, mmSelectObject);
    EXPECT_FALSE(form.ButtonHeld);
}

TEST(SurfaceMouse, HeightPicksSwitchSnappingOnThroughThePalettesSnapButton)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    ASSERT_NE(form.FormInstr1, nullptr);
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>",
                 "mcNewPoint=<0><0><ОТА/ИВ151.25><300><400><2><0><><0><0>",
                 "mcNewPoint=<0><0><ОТА/ИВ153><320><420><2><0><><0><0>"});
    MainMap->LinkToNodes = 0;
    ExactView(form, 2);
    int clicks = 0;
    form.FormInstr1->btLink->SetGroupIndex(27);
    form.FormInstr1->btLink->SetAllowAllUp(true);
    // What the palette's snap button does on a click: snapping on with the nodes shown,
    // or off.
    form.FormInstr1->btLink->OnClick = [&] {
        ++clicks;
        MainMap->LinkToNodes = form.FormInstr1->btLink->Down() ? 1 : 0;
        if (MainMap->LinkToNodes)
            MainMap->FindScreenNodes();
    };
    const TButtonMouse mouse{form};
    form.SetMouseMode(mmInterpolateHeights, 0, true);
    mouse.Click(PixelOf(form, 300, 400) + QPoint(4, 0));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(form.FormInstr1->btLink->Down());
    EXPECT_EQ(MainMap->LinkToNodes, 1);
    EXPECT_EQ(double(form.MarkHeight1), 151.25);
    EXPECT_EQ(form.MouseStep, 1);
    mouse.Click(PixelOf(form, 320, 420));
    EXPECT_EQ(clicks, 1);   // already on
    EXPECT_EQ(double(form.MarkHeight2), 153.0);
    EXPECT_EQ(double(form.MarkPoint2.Y), 420.0);
    EXPECT_EQ(form.MouseStep, 0);
    EXPECT_EQ(form.MouseMode, mmInterpolateHeights);
}
