// The rubber bands on the surface's canvas: each one erased pixel for pixel, drawn once
// afresh after the picture is copied over it, and the shapes the user relies on (the
// polygon's closing segment, the end-node arrow, the construction's barbs, the print
// page). Pictures for review are written by the last test.
#include "MainWindowFixture.h"
#include "SurfaceTestSupport.h"

#include "engine/draw/MapPainter.h"
#include "foundation/GeoServ.h"
#include "mainwindow/modes/SurfaceAngle.h"

#include <QComboBox>
#include <QMouseEvent>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Whether any pixel within r of p differs between a and b.
bool ChangedNear(const QImage& a, const QImage& b, QPoint p, int r = 1)
{
    for (int y = p.y() - r; y <= p.y() + r; ++y)
        for (int x = p.x() - r; x <= p.x() + r; ++x)
            if (a.rect().contains(x, y) && a.pixel(x, y) != b.pixel(x, y))
                return true;
    return false;
}

// A plan with a line and a polygon to select, one metre a pixel.
void PlanWithObjects(TFormMap& form)
{
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>",
                 "mcNewLine=<0><0><ЛЭП><><0><0><2><><[{200}{200}{0}{-1}{0}{-1}{0}{0}]"
                 "[{260}{300}{0}{-1}{0}{-1}{0}{0}][{200}{400}{0}{-1}{0}{-1}{0}{0}]>",
                 "mcNewPolygon=<0><0><ПОЛ><[{100.00}{500.00}{-1.00}{0}{0}{0}{0}][{100.00}{600.00}{-1.00}{0}{0}{0}{0}]"
                 "[{180.00}{600.00}{-1.00}{0}{0}{0}{0}]><0><><0.00><0.00><><-1>"});
    ExactView(form);
}

}  // namespace

TEST(Bands, EveryBandIsErasedPixelForPixelAndDrawnOnceAfterACopyOfThePicture)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    PlanWithObjects(form);
    form.SetMouseMode(mmSelectObject, 0, true);
    const TSurfaceDriver driver(form);
    TPixelMouse{form}.Click(driver.At(200, 200));   // the line selected, its first node
    ASSERT_EQ(MainMap->FoundObjects.GetCount(), 1);
    form.Points.Down.Screen = QPoint(150, 120);
    form.Points.Down.Plan = TGeoPoint{};
    form.StampSizeX = 40;
    form.StampSizeY = 60;
    MainMap->PageWidthMm = 210;
    MainMap->PageHeightMm = 297;
    form.SnapMarkerPos = QPoint(200, 200);
    form.LineEndAnchor = TGeoPoint{250, 250};
    form.CreateNodes = {RCreateNode{TGeoPoint{150, 150}}, RCreateNode{TGeoPoint{180, 260}}};
    form.SelectedPart = 1;
    form.SelectedIndex = 1;
    form.StopSelectAnimation();

    struct Case {
        const char* Name;
        TXorBand& Band;
        std::function<void(QPoint)> Draw;
    };
    const Case cases[] = {
        {"zoom", form.RectBand, [&](QPoint p) { form.DrawZoomBand(p); }},
        {"stamp", form.RectBand, [&](QPoint p) { form.DrawStampBand(p); }},
        {"export", form.RectBand, [&](QPoint p) { form.DrawExportBand(p); }},
        {"print", form.PrintBand, [&](QPoint p) { form.DrawPrintBand(p); }},
        {"point", form.PointBand, [&](QPoint p) { form.PointCtrlFlag = false; form.DrawPointBand(p); }},
        {"point cross", form.PointBand, [&](QPoint p) { form.PointCtrlFlag = true; form.DrawPointBand(p); }},
        {"circle", form.LineBand, [&](QPoint p) { form.DrawCircleBand(p); }},
        {"label", form.LabelBand, [&](QPoint p) { form.DrawLabelBand(p); }},
        {"anchor", form.NodeBand, [&](QPoint p) { form.DrawAnchorBand(p); }},
        {"polygon", form.PolygonBand, [&](QPoint p) { form.DrawPolygonBand(p); }},
        {"drag", form.DragBand, [&](QPoint p) {
             const TGeoPoint at = TGeoPoint{form.DisplaySurf->height() - 10.0L - p.y(), p.x() - 10.0L};
             form.DrawDragOutline(at.X - 200, at.Y - 200);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        PictureOnly(form);
        EXPECT_FALSE(c.Band.Drawn);
        // What the band paints with ordinary pens (the polygon's last node) stays: the
        // canvas after one drawing erased is what the band must come back to.
        c.Draw(QPoint(250, 200));
        c.Band.Hide(form.DisplaySurf->Canvas);
        const QImage picture = form.DisplaySurf->Canvas.copy();
        c.Draw(QPoint(260, 210));
        ASSERT_TRUE(c.Band.Drawn);
        EXPECT_NE(form.DisplaySurf->Canvas, picture);
        // Moved: the first place is erased, only the second stands.
        c.Draw(QPoint(300, 240));
        QImage once = picture;
        TXorBand::Paint(once, c.Band.LastFigure);
        EXPECT_EQ(form.DisplaySurf->Canvas, once);
        // Drawn twice at the same place: the picture is back.
        TXorBand::Paint(once, c.Band.LastFigure);
        EXPECT_EQ(once, picture);
        c.Band.Hide(form.DisplaySurf->Canvas);
        EXPECT_EQ(form.DisplaySurf->Canvas, picture);
        // After a copy of the picture the next drawing is the only one: nothing erased.
        c.Draw(QPoint(280, 220));
        form.PaintBitmap();
        EXPECT_FALSE(c.Band.Drawn);
        c.Draw(QPoint(300, 240));
        QImage fresh = picture;
        TXorBand::Paint(fresh, c.Band.LastFigure);
        EXPECT_EQ(form.DisplaySurf->Canvas, fresh);
        c.Band.Hide(form.DisplaySurf->Canvas);
    }
}

TEST(Bands, PolygonShowsItsClosingSegmentFromTheSecondNode)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    PlanWithObjects(form);
    form.SetMouseMode(mmCreatePolygon, 0, true);
    const TPixelMouse mouse{form};
    const QImage picture = PictureOnly(form);
    mouse.Click(QPoint(100, 100));
    ASSERT_EQ(form.CreateNodes.size(), 1u);
    mouse.Move(QPoint(200, 100));
    ASSERT_EQ(form.PolygonBand.LastFigure.size(), 1u);
    EXPECT_TRUE(ChangedNear(form.DisplaySurf->Canvas, picture, QPoint(150, 100), 0));

    mouse.Click(QPoint(200, 100));
    ASSERT_EQ(form.CreateNodes.size(), 2u);
    mouse.Move(QPoint(150, 200));
    ASSERT_EQ(form.PolygonBand.LastFigure.size(), 2u);
    // The segment from the last node and the one back to the first follow the cursor.
    EXPECT_TRUE(ChangedNear(form.DisplaySurf->Canvas, picture, QPoint(175, 150)));
    EXPECT_TRUE(ChangedNear(form.DisplaySurf->Canvas, picture, QPoint(125, 150)));
    // The first side stays, painted by the redraw of the polygon under construction.
    EXPECT_EQ(form.DisplaySurf->Canvas.pixelColor(150, 100), TColorToQColor(form.CreatePolygonMainSegmColor));
    // Node circles mark both nodes.
    EXPECT_TRUE(ChangedNear(form.DisplaySurf->Canvas, picture, QPoint(103, 100), 0));
}

TEST(Bands, LineSegmentsStayAsTheNodesAreAdded)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    PlanWithObjects(form);
    form.SetMouseMode(mmCreateLine, 0, true);
    const TPixelMouse mouse{form};
    const QImage picture = PictureOnly(form);
    mouse.Click(QPoint(100, 300));
    mouse.Move(QPoint(150, 300));
    mouse.Move(QPoint(200, 300));
    mouse.Click(QPoint(200, 300));
    mouse.Move(QPoint(200, 350));
    mouse.Move(QPoint(200, 380));
    // The first segment stayed; the band runs from the second node.
    EXPECT_TRUE(ChangedNear(form.DisplaySurf->Canvas, picture, QPoint(150, 300), 0));
    EXPECT_TRUE(ChangedNear(form.DisplaySurf->Canvas, picture, QPoint(200, 370), 0));
    EXPECT_FALSE(ChangedNear(form.DisplaySurf->Canvas, picture, QPoint(200, 390), 2));
}

TEST(Bands, DragOutlinesOfNodesByPosition)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    PlanWithObjects(form);
    form.SetMouseMode(mmSelectObject, 0, true);
    const TSurfaceDriver driver(form);
    const TPixelMouse mouse{form};
    mouse.Click(driver.At(200, 200));
    ASSERT_EQ(MainMap->FoundObjects.At(0)->Kind, fkLine);

    struct Case {
        TGeoPoint Node;
        size_t Strokes;   // the arrow alone (3), or with the dotted neighbours (4)
    };
    const Case cases[] = {{{200, 200}, 3}, {{200, 400}, 3}, {{260, 300}, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << double(c.Node.Y));
        const QPoint node = driver.At(c.Node.X, c.Node.Y);
        mouse.Move(node);
        ASSERT_EQ(form.SelectedPart, 1);
        mouse.Press(node);
        mouse.Move(node + QPoint(20, 30), Qt::LeftButton);
        EXPECT_EQ(form.DragBand.LastFigure.size(), c.Strokes);
        // Back to the start before the release: the release applies the drag, and the
        // line must stay where the next cases look for it.
        mouse.Move(node, Qt::LeftButton);
        mouse.Release(node);
    }

    // Shift keeps a drag of the whole line along its longer axis.
    const QPoint onSegment = driver.At(230, 250);
    mouse.Move(onSegment);
    ASSERT_EQ(form.SelectedPart, 3);
    mouse.Press(onSegment);
    mouse.Move(onSegment + QPoint(40, 10), Qt::LeftButton, Qt::ShiftModifier);
    const QPolygon& moved = form.DragBand.LastFigure.at(0).Points;
    EXPECT_EQ(moved.at(0), driver.At(200, 240));
    mouse.Release(onSegment + QPoint(40, 10));
}

TEST(Bands, ConstructionBarbsOfAShortBaseLineAreAThirdOfIt)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    PlanWithObjects(form);
    form.SetMouseMode(mmSelectObject, 0, true);
    const TSurfaceDriver driver(form);
    const QImage picture = PictureOnly(form);

    struct Case {
        TGeoPoint P2;
        Extended Barb;   // metres: 16 pixels, or a third of a line shorter than 48
    };
    const Case cases[] = {{{100, 330}, 10}, {{100, 400}, 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(double(c.Barb));
        const TGeoPoint p1{100, 300};
        form.ConstructionPreview(p1, c.P2);
        TGeoAngle a = 0;
        DirAngle(p1, c.P2, a);
        for (const TGeoAngle barb : {a + 165, a - 165}) {
            const TGeoPoint end = PGZ(c.P2, c.Barb, barb);
            const TGeoPoint beyond = PGZ(c.P2, c.Barb + 4, barb);
            EXPECT_TRUE(ChangedNear(form.DisplaySurf->Canvas, picture, driver.At(end.X, end.Y)));
            EXPECT_FALSE(ChangedNear(form.DisplaySurf->Canvas, picture, driver.At(beyond.X, beyond.Y)));
        }
        // Drawn again, it is gone.
        form.ConstructionPreview(p1, c.P2);
        EXPECT_EQ(form.DisplaySurf->Canvas, picture);
    }
}

TEST(Bands, PrintBandFillsThePageAndSetsThePrintOrigin)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    PlanWithObjects(form);
    MainMap->PageWidthMm = 100;
    MainMap->PageHeightMm = 150;
    MainMap->PrinterScale = 500;   // 50 by 75 metres: pixels
    form.SetMouseMode(mmPrintArea, 0, false);
    const QImage picture = PictureOnly(form);
    const TPixelMouse mouse{form};
    mouse.Move(QPoint(100, 200));
    mouse.Move(QPoint(120, 210));
    const TSurfaceDriver driver(form);
    EXPECT_EQ(driver.At(MainMap->PrintOrigin.X, MainMap->PrintOrigin.Y), QPoint(120, 210));
    int changed = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (form.DisplaySurf->Canvas.pixel(x, y) != picture.pixel(x, y)) {
                ++changed;
                EXPECT_TRUE(QRect(QPoint(120, 210), QPoint(170, 285)).contains(x, y)) << x << " " << y;
            }
    // Every row of the page is a line: the frame is filled (where the picture is not
    // already the band's own colour's complement).
    EXPECT_GT(changed, 51 * 76 * 9 / 10);
}

TEST(Bands, LabelBracketOpensTowardsTheCursorAndGivesTheQuadrant)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    PlanWithObjects(form);
    form.SnapMarkerPos = QPoint(300, 300);
    struct Case {
        QPoint Cursor;
        int Quadrant;
    };
    const Case cases[] = {{{340, 340}, 2}, {{260, 340}, 3}, {{260, 260}, 4}, {{340, 260}, 1},
                          {{340, 300}, 1}, {{300, 340}, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Cursor.x() << "," << c.Cursor.y());
        form.DrawLabelBand(c.Cursor);
        EXPECT_EQ(form.CoordLabelQuadrant, c.Quadrant);
    }
    form.PaintBitmap();
}

TEST(Bands, PointGizmoKeepsItsCrossOnlyWhileCtrlIsHeld)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    PlanWithObjects(form);
    form.SetMouseMode(mmCreatePoint, 0, true);
    const TPixelMouse mouse{form};
    const QImage picture = PictureOnly(form);
    const QPoint anchor(300, 300);

    // A release with Ctrl chooses the cross for the next drag.
    mouse.Move(anchor);
    mouse.Press(anchor, Qt::ControlModifier);
    QTest::mouseRelease(form.DisplaySurf, Qt::LeftButton, Qt::ControlModifier, anchor);
    EXPECT_TRUE(form.PointCtrlFlag);
    form.PaintBitmap();

    mouse.Press(anchor, Qt::ControlModifier);
    EXPECT_FALSE(form.PointAngleDragged);
    mouse.Move(anchor + QPoint(40, -40), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(form.PointBand.LastFigure.size(), 9u);   // cross, four arms, the head, the arc
    EXPECT_TRUE(form.PointAngleDragged);
    EXPECT_EQ(form.AutoTextAngle, 450);
    // Ctrl let go: the picture is copied and the simple gizmo stands alone on it.
    mouse.Move(anchor + QPoint(0, -40), Qt::LeftButton);
    EXPECT_FALSE(form.PointCtrlFlag);
    ASSERT_EQ(form.PointBand.LastFigure.size(), 3u);
    QImage simple = picture;
    TXorBand::Paint(simple, form.PointBand.LastFigure);
    EXPECT_EQ(form.DisplaySurf->Canvas, simple);
    EXPECT_EQ(form.AutoTextAngle, 900);
    QTest::mouseRelease(form.DisplaySurf, Qt::LeftButton, Qt::NoModifier, anchor + QPoint(0, -40));
    EXPECT_FALSE(form.PointCtrlFlag);
}

TEST(Bands, SurfaceAnglesAreStoredCounterClockwiseFromTheRight)
{
    struct Case {
        QPoint To;
        std::int32_t Stored;
    };
    // Clockwise on the screen from the right, stored as tenths counter-clockwise.
    const Case cases[] = {{{10, 0}, 3600}, {{0, 10}, 2700}, {{-10, 0}, 1800}, {{0, -10}, 900}, {{10, -10}, 450}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.To.x() << "," << c.To.y());
        EXPECT_EQ(SurfaceWinAngle(SurfaceAngle(QPoint(0, 0), c.To)), c.Stored);
    }
}

TEST(Bands, ReviewPictures)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    PlanWithObjects(form);
    const TSurfaceDriver driver(form);
    const TPixelMouse mouse{form};

    // A selected line with its arrows.
    form.SetMouseMode(mmSelectObject, 0, true);
    mouse.Click(driver.At(200, 200));
    for (int i = 0; i < 4; ++i)
        form.tmSelectTimer();
    SaveImage(form.DisplaySurf->Canvas, QStringLiteral("band-selected-line"));
    // The polygon selected too (a closed highlight).
    mouse.Click(driver.At(120, 580));
    for (int i = 0; i < 4; ++i)
        form.tmSelectTimer();
    SaveImage(form.DisplaySurf->Canvas, QStringLiteral("band-selected-polygon"));
    form.btClearSelectedClick();

    // A polygon under construction.
    form.SetMouseMode(mmCreatePolygon, 0, true);
    form.PolygonSegmentStyle = 2;
    mouse.Click(QPoint(100, 100));
    form.PolygonSegmentStyle = 0;
    form.PolygonSegmentType = 1;
    mouse.Click(QPoint(250, 90));
    mouse.Click(QPoint(260, 200));
    mouse.Move(QPoint(150, 230));
    SaveImage(form.DisplaySurf->Canvas, QStringLiteral("band-polygon"));
    form.CreateNodes.clear();

    // A text preview, turned by a drag.
    form.TextCaption = QStringLiteral("Река Сетунь");
    form.TextFontName = QStringLiteral("Arial");
    form.TextFontSize = 22.0L * MainMap->OutputScale / MainMap->MapProp.Scale;   // 22 pixels
    form.TextFontStyle = 1;
    form.TextColor = 0xFF0000;
    form.SetMouseMode(mmCreateText, 0, true);
    mouse.Move(QPoint(300, 300));
    mouse.Press(QPoint(300, 300));
    mouse.Move(QPoint(360, 260), Qt::LeftButton);
    SaveImage(form.DisplaySurf->Canvas, QStringLiteral("band-text"));
    EXPECT_NE(form.TextAngle, 0);

    // The point gizmo in both forms.
    form.SetMouseMode(mmSelectObject, 0, true);
    form.Points.Down.Screen = QPoint(200, 250);
    form.PointCtrlFlag = false;
    form.DrawPointBand(QPoint(260, 200));
    EXPECT_EQ(form.AutoTextAngle, SurfaceWinAngle(SurfaceAngle(QPoint(200, 250), QPoint(260, 200))));
    EXPECT_TRUE(form.PointAngleDragged);
    form.PointBand.MarkUndrawn();
    form.Points.Down.Screen = QPoint(200, 400);
    form.DrawPointBand(QPoint(260, 430));
    form.PointCtrlFlag = true;
    form.Points.Down.Screen = QPoint(450, 250);
    form.PointBand.MarkUndrawn();
    form.DrawPointBand(QPoint(510, 200));
    form.ConstructionPreview(TGeoPoint{60, 100}, TGeoPoint{60, 300});
    form.ConstructionPreview(TGeoPoint{60, 400}, TGeoPoint{60, 430});
    SaveImage(form.DisplaySurf->Canvas, QStringLiteral("band-gizmos"));
}
