// The selection as the user makes it: clicks of the select mode through the real main
// window, the tool bar's box, count and buttons as the oracle, the highlight probed on
// the surface's canvas; the highlight's painters on a plain canvas.
#include "MainWindowFixture.h"
#include "SurfaceTestSupport.h"

#include "engine/draw/MapPainter.h"
#include "foundation/GeoServ.h"
#include "mainwindow/VclTimer.h"
#include "mainwindow/modes/SnapHitTest.h"
#include "mainwindow/modes/SurfaceAngle.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// Pixels that differ between a and b within the square of half side r about p.
int ChangedAround(const QImage& a, const QImage& b, QPoint p, int r)
{
    int n = 0;
    for (int y = p.y() - r; y <= p.y() + r; ++y)
        for (int x = p.x() - r; x <= p.x() + r; ++x)
            if (a.rect().contains(x, y) && a.pixel(x, y) != b.pixel(x, y))
                ++n;
    return n;
}

QToolButton* Button(TFormMap& form, const char* hint)
{
    return form.PanelButtons.value(QString::fromUtf8(hint));
}

void Ticks(TFormMap& form, int n)
{
    for (int i = 0; i < n; ++i)
        form.tmSelectTimer();
}

}  // namespace

TEST(Selection, HighlightColourSwingsTenStepsEachWayAndEndsExactlyOnItsColours)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>",
                 "mcNewPoint=<0><0><ПКТ/ИН1;ИВ10><200><300><2><0><><0><0>"});
    ExactView(form);
    MainMap->FindObjects(200, 300, form.PickSquare(TSurfaceDriver(form).At(200, 300)));
    ASSERT_EQ(MainMap->FoundObjects.GetCount(), 1);

    struct Case {
        std::int32_t C1, C2;
    };
    // The defaults, and two close greys whose rounded steps overshoot colour 2: a channel
    // must stop at 255, not carry into its neighbour (the grey stays grey).
    const Case cases[] = {{0xFF0000, 0x00FFFF}, {0xF0F0F0, 0xFFFFFF}, {0x0F0F0F, 0x000000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.C1 << " " << c.C2);
        MainMap->HighlightColor1 = c.C1;
        MainMap->HighlightColor2 = c.C2;
        form.StartSelectAnimation();
        EXPECT_TRUE(form.tmSelect->Enabled());
        EXPECT_EQ(MainMap->HighlightColor, c.C1);
        for (int tick = 1; tick <= 20; ++tick) {
            form.tmSelectTimer();
            const std::int32_t colour = MainMap->HighlightColor;
            EXPECT_EQ(colour & ~0xFFFFFF, 0) << tick;
            if (c.C1 == 0xF0F0F0 || c.C1 == 0x0F0F0F) {
                EXPECT_EQ(colour & 0xFF, (colour >> 8) & 0xFF) << tick;
                EXPECT_EQ(colour & 0xFF, (colour >> 16) & 0xFF) << tick;
            }
            if (tick < 10 && c.C1 == 0xFF0000) {
                EXPECT_NE(colour, c.C2) << tick;
            }
            if (tick == 10) {
                EXPECT_EQ(colour, c.C2);
            }
            if (tick == 20) {
                EXPECT_EQ(colour, c.C1);
            }
        }
    }
}

TEST(Selection, AClickListsThePointAndHighlightsItAClickOnEmptyGroundClearsAll)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>",
                 "mcNewPoint=<0><0><ПКТ/ИН12;ИВ154.30><300><400><2><0><><0><0>"});
    ExactView(form);
    form.SetMouseMode(mmSelectObject, 0, true);
    QComboBox* box = form.ComboBoxSelectedObjects();
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isEnabled());
    EXPECT_EQ(box->toolTip(), QStringLiteral("---------------"));
    const TPixelMouse mouse{form};
    const QPoint at = TSurfaceDriver(form).At(300, 400);
    const QImage picture = PictureOnly(form);

    mouse.Click(at + QPoint(1, 1));
    ASSERT_EQ(box->count(), 1);
    EXPECT_EQ(box->itemText(0), box->itemText(0).toLower());
    EXPECT_EQ(box->currentIndex(), 0);
    EXPECT_TRUE(box->isEnabled());
    EXPECT_EQ(form.FoundCount->text(), QStringLiteral("1"));
    EXPECT_TRUE(form.FoundCount->isEnabled());
    EXPECT_TRUE(Button(form, "Убрать выделение объектов")->isEnabled());
    EXPECT_TRUE(Button(form, "Показать выделенный объект")->isEnabled());
    EXPECT_TRUE(form.tmSelect->Enabled());
    EXPECT_EQ(form.SelectedPart, 3);
    // The button is still counted down while its release is handled.
    EXPECT_EQ(form.NMouseMode->title(), QStringLiteral("Точечный объект: сдвиг объекта"));
    // Nothing is painted before the first tick; the node mark comes with the ticks.
    EXPECT_EQ(form.DisplaySurf->Canvas, picture);
    Ticks(form, 3);
    const int half = HalfSquare(form.PickRadius);
    EXPECT_GT(ChangedAround(form.DisplaySurf->Canvas, picture, at, 2 * half + 2), 4 * half);
    // The square's corner carries the highlight's colour.
    EXPECT_EQ(form.DisplaySurf->Canvas.pixelColor(at - QPoint(half, half)),
              TColorToQColor(MainMap->HighlightColor));

    Ticks(form, 1);
    const QImage lit = form.DisplaySurf->Canvas.copy();
    mouse.Move(at);
    EXPECT_EQ(form.NMouseMode->title(), QStringLiteral("Точечный объект: изменение объекта"));
    EXPECT_EQ(form.DisplaySurf->Canvas, lit);   // a hover leaves the highlight alone

    mouse.Click(at + QPoint(60, 60));
    EXPECT_EQ(box->count(), 0);
    EXPECT_FALSE(box->isEnabled());
    EXPECT_EQ(form.FoundCount->text(), QStringLiteral("0"));
    EXPECT_FALSE(form.FoundCount->isEnabled());
    EXPECT_FALSE(Button(form, "Убрать выделение объектов")->isEnabled());
    EXPECT_FALSE(Button(form, "Показать выделенный объект")->isEnabled());
    EXPECT_FALSE(form.tmSelect->Enabled());
    EXPECT_EQ(form.NMouseMode->title(), QStringLiteral("режим: Выбор объекта [0]"));
    EXPECT_EQ(form.DisplaySurf->Canvas, picture);

    // The clear button does the same for a selection made again.
    mouse.Click(at);
    ASSERT_EQ(box->count(), 1);
    Ticks(form, 2);
    Button(form, "Убрать выделение объектов")->click();
    EXPECT_EQ(MainMap->FoundObjects.GetCount(), 0);
    EXPECT_EQ(box->count(), 0);
    EXPECT_EQ(form.FoundCount->text(), QStringLiteral("0"));
    EXPECT_FALSE(form.tmSelect->Enabled());
    EXPECT_EQ(form.DisplaySurf->Canvas, picture);
}

TEST(Selection, ChoosingAnotherFoundObjectWipesTheOldHighlightAtOnce)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    // A point lying on a line: one click finds both, the point first.
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>",
                 "mcNewPoint=<0><0><ПКТ/ИН1;ИВ10><200><300><2><0><><0><0>",
                 "mcNewLine=<0><0><ЛЭП><><0><0><2><><[{200}{200}{0}{-1}{0}{-1}{0}{0}]"
                 "[{200}{450}{0}{-1}{0}{-1}{0}{0}]>"});
    ExactView(form);
    form.SetMouseMode(mmSelectObject, 0, true);
    const QPoint at = TSurfaceDriver(form).At(200, 300);
    const QImage picture = PictureOnly(form);
    const TPixelMouse mouse{form};
    mouse.Click(at);
    QComboBox* box = form.ComboBoxSelectedObjects();
    ASSERT_EQ(box->count(), 2);
    EXPECT_EQ(form.FoundCount->text(), QStringLiteral("2"));
    EXPECT_EQ(MainMap->FoundObjects.At(0)->Kind, fkPoint);
    Ticks(form, 2);
    const int half = HalfSquare(form.PickRadius);
    EXPECT_NE(form.DisplaySurf->Canvas.pixel(at - QPoint(half, half)), picture.pixel(at - QPoint(half, half)));

    box->setCurrentIndex(1);
    emit box->activated(1);
    EXPECT_EQ(form.DisplaySurf->Canvas, picture);   // wiped before any tick
    EXPECT_TRUE(form.tmSelect->Enabled());
    EXPECT_EQ(MainMap->HighlightColor, MainMap->HighlightColor1);
    Ticks(form, 1);
    // The line's end node is marked now, the point's square is not.
    const QPoint end = TSurfaceDriver(form).At(200, 450);
    EXPECT_GT(ChangedAround(form.DisplaySurf->Canvas, picture, end, half + 1), 0);
    const QPoint corner = at + QPoint(-half, half - 1);
    EXPECT_EQ(form.DisplaySurf->Canvas.pixel(corner), picture.pixel(corner));
}

TEST(Selection, CtrlOverASelectedTextTurnsItOnlyWhileAButtonIsHeld)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>",
                 "mcNewText=<0><0><Река Сетунь><300.00><300.00><0><1.00><*ОСНОВНОЙ><0><><0><0><0000><0>"});
    ExactView(form);
    form.SetMouseMode(mmSelectObject, 0, true);
    const TPixelMouse mouse{form};
    MainMap->FindObjects(300, 300, form.PickSquare(TSurfaceDriver(form).At(300, 300)));
    ASSERT_EQ(MainMap->FoundObjects.GetCount(), 1);
    const TGeoPoints& frame = MainMap->FoundObjects.At(0)->Regions.At(0)->Outline;
    // The middle of the text's frame.
    TGeoPoint middle{(frame.At(0)->X + frame.At(2)->X) / 2, (frame.At(0)->Y + frame.At(2)->Y) / 2};
    const QPoint inside = TSurfaceDriver(form).At(middle.X, middle.Y);
    mouse.Click(inside);
    ASSERT_EQ(form.FoundCount->text(), QStringLiteral("1"));

    mouse.Move(inside + QPoint(1, 0), Qt::NoButton, Qt::ControlModifier);
    EXPECT_EQ(form.NMouseMode->title(), QStringLiteral("Текстовый объект: изменение объекта"));
    mouse.Press(inside + QPoint(1, 0), Qt::ControlModifier);
    mouse.Move(inside + QPoint(6, 3), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(form.NMouseMode->title(), QStringLiteral("Текстовый объект: поворот текста"));
    mouse.Move(inside + QPoint(7, 3), Qt::LeftButton);
    EXPECT_EQ(form.NMouseMode->title(), QStringLiteral("Текстовый объект: сдвиг текста"));
    mouse.Release(inside + QPoint(7, 3));
}

TEST(Selection, DraggingASelectedLineDrawsItsOutlineAndLeavesThePlanAlone)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>",
                 "mcNewLine=<0><0><ЛЭП><><0><0><2><><[{200}{200}{0}{-1}{0}{-1}{0}{0}]"
                 "[{250}{300}{0}{-1}{0}{-1}{0}{0}][{200}{400}{0}{-1}{0}{-1}{0}{0}]>"});
    ExactView(form);
    form.SetMouseMode(mmSelectObject, 0, true);
    const TSurfaceDriver driver(form);
    const TPixelMouse mouse{form};
    mouse.Click(driver.At(200, 200));
    ASSERT_EQ(form.FoundCount->text(), QStringLiteral("1"));
    const QImage picture = PictureOnly(form);
    const int journal = int(CommandLog->size());

    // The middle node taken and dragged 30 m east: the arrow and the dotted neighbours.
    const QPoint node = driver.At(250, 300);
    mouse.Move(node);
    EXPECT_EQ(form.SelectedPart, 1);
    EXPECT_EQ(form.NMouseMode->title(), QStringLiteral("Линейный объект: изменение узла"));
    mouse.Press(node);
    mouse.Move(node + QPoint(15, 0), Qt::LeftButton);
    mouse.Move(node + QPoint(30, 0), Qt::LeftButton);
    EXPECT_EQ(form.NMouseMode->title(), QStringLiteral("Линейный объект: сдвиг узла"));
    ASSERT_TRUE(form.DragBand.Drawn);
    EXPECT_EQ(form.DragBand.LastFigure.size(), 4u);   // shaft, two barbs, neighbours
    // The first move's outline is gone: only the one at 30 pixels stands.
    const QImage withBand = form.DisplaySurf->Canvas.copy();
    QImage expected = picture;
    TXorBand::Paint(expected, form.DragBand.LastFigure);
    EXPECT_EQ(withBand, expected);
    EXPECT_NE(withBand, picture);
    EXPECT_EQ(int(CommandLog->size()), journal);
    mouse.Release(node + QPoint(30, 0));
    EXPECT_FALSE(form.DragBand.Drawn);
}

TEST(Selection, ArrowheadsOnEverySegmentOfAClosedOutlineAndEveryTenthPointOfADenseOne)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>"});
    ExactView(form);
    const TSurfaceDriver driver(form);
    const QImage picture = PictureOnly(form);
    // Whether the barbs stand at the end of the segment from a to b (plan points): a
    // pixel near each barb, 20 pixels back from the end.
    const auto headAt = [&](const TGeoPoint& a, const TGeoPoint& b) {
        const QPoint pa = driver.At(a.X, a.Y), pb = driver.At(b.X, b.Y);
        const TGeoAngle dir = SurfaceAngle(pa, pb);
        bool both = true;
        for (const Extended side : {-form.SelectionArrowAngle, form.SelectionArrowAngle}) {
            const QPoint barb = SurfaceAhead(pb, 20, dir + 180 + side);
            both = both && ChangedAround(form.DisplaySurf->Canvas, picture, barb, 1) > 0;
        }
        return both;
    };
    TMapPainter painter;

    // A triangle: three heads, the closing segment's at the first point.
    TGeoPoints triangle;
    triangle.AddPoint(100, 100);
    triangle.AddPoint(100, 300);
    triangle.AddPoint(250, 200);
    painter.Begin(form.DisplaySurf->Canvas);
    painter.SetPen(0x0000FF, pmCopy, psSolid, 1);
    form.DrawClosedArrowPolyline(painter, triangle);
    painter.End();
    EXPECT_TRUE(headAt(*triangle.At(0), *triangle.At(1)));
    EXPECT_TRUE(headAt(*triangle.At(1), *triangle.At(2)));
    EXPECT_TRUE(headAt(*triangle.At(2), *triangle.At(0)));

    // A dense outline of 25 points bending once: heads only at points 10 and 20.
    form.DisplaySurf->Canvas = picture.copy();
    TExtGeoPoints dense;
    std::vector<TGeoPoint> at;
    for (int i = 0; i < 25; ++i) {
        auto p = std::make_unique<RExtGeoPoint>();
        p->Point = i < 12 ? TGeoPoint{400.0L, 100.0L + 25 * i} : TGeoPoint{400.0L - 25 * (i - 11), 375.0L};
        at.push_back(p->Point);
        dense.AddItem(std::move(p));
    }
    painter.Begin(form.DisplaySurf->Canvas);
    painter.SetPen(0x0000FF, pmCopy, psSolid, 1);
    form.DrawArrowPolylineSparse(painter, dense);
    painter.End();
    for (int i = 1; i < 25; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(headAt(at[i - 1], at[i]), i % 10 == 0);
    }
}

TEST(Selection, RefindKeepsTheChosenObjectAndDropsOneThatIsGone)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>",
                 "mcNewPoint=<0><0><ПКТ/ИН1;ИВ10><200><300><2><0><><0><0>",
                 "mcNewLine=<0><0><ЛЭП><><0><0><2><><[{200}{200}{0}{-1}{0}{-1}{0}{0}]"
                 "[{200}{450}{0}{-1}{0}{-1}{0}{0}]>"});
    ExactView(form);
    form.SetMouseMode(mmSelectObject, 0, true);
    TPixelMouse{form}.Click(TSurfaceDriver(form).At(200, 300));
    QComboBox* box = form.ComboBoxSelectedObjects();
    ASSERT_EQ(box->count(), 2);
    box->setCurrentIndex(1);
    emit box->activated(1);

    form.RefindSelected();
    EXPECT_EQ(box->count(), 2);
    EXPECT_EQ(box->currentIndex(), 1);
    EXPECT_EQ(form.SelectedFoundIndex(), 1);
    EXPECT_TRUE(form.tmSelect->Enabled());

    // The chosen object no longer exists where the record says: the record goes, and the
    // box does not point past its end.
    MainMap->FoundObjects.At(1)->ObjectIndex = 99;
    form.RefindSelected();
    EXPECT_EQ(box->count(), 1);
    EXPECT_EQ(form.FoundCount->text(), QStringLiteral("1"));
    EXPECT_EQ(box->currentIndex(), 0);
    EXPECT_TRUE(form.tmSelect->Enabled());
    Ticks(form, 1);   // the remaining point is highlighted without a fault
}
