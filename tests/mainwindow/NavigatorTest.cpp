// The navigator: its arrows, zoom buttons and scale box clicked as the user clicks them,
// and its pan and zoom operations run with no navigator made, as the wheel runs them.
#include "SurfaceTestSupport.h"

#include "controls/ExSpeedButton.h"
#include "engine/GeoMap.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/FormNavigator.h"
#include "support/WidgetEvents.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct TView {
    Extended XMin, YMin, XMax, YMax;
};

TView CurrentView()
{
    return {MainMap->ViewXMin, MainMap->ViewYMin, MainMap->ViewXMax, MainMap->ViewYMax};
}

class Navigator : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.Start();
        RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>",
                     "mcNewPoint=<0><0><ПКТ/ИН1><0><0><2><0><><0><0>",
                     "mcNewPoint=<0><0><ПКТ/ИН2><800><800><2><0><><0><0>"});
        ExactView(Run.Form(), 1);
    }

    // The navigator made through the palette's button, as the user makes it.
    TFormNavigator& Open()
    {
        ClickMiddle(Run.Form().FormInstr1->sbNavigatorShow);
        EXPECT_NE(FormNavigator, nullptr);
        return *FormNavigator;
    }

    TMainWindowRun Run;
};

TEST_F(Navigator, AQuarterEastThenThePreviousView)
{
    TFormNavigator& n = Open();
    ASSERT_TRUE(n.btn14->Down()) << "25% at first";
    const TView before = CurrentView();
    const int scale = MainMap->OutputScale;
    const int records = MainMap->MapViews.GetCount();
    const Extended width = Run.Form().DisplaySurf->width();   // metres: one per pixel
    ClickMiddle(n.PlanMoveRight);
    const TView after = CurrentView();
    EXPECT_NEAR(double(after.YMin - before.YMin), double(width / 4), 1e-6);
    EXPECT_NEAR(double(after.YMax - before.YMax), double(width / 4), 1e-6);
    EXPECT_NEAR(double(after.XMin), double(before.XMin), 1e-9);
    EXPECT_EQ(MainMap->OutputScale, scale);
    EXPECT_EQ(MainMap->MapViews.GetCount(), records + 1);

    ClickMiddle(n.btBack);
    const TView back = CurrentView();
    EXPECT_NEAR(double(back.YMin), double(before.YMin), 1e-9);
    EXPECT_NEAR(double(back.XMax), double(before.XMax), 1e-9);
    EXPECT_EQ(MainMap->MapViews.GetCount(), records);
}

TEST_F(Navigator, EveryArrowAndStepMovesItsWay)
{
    TFormNavigator& n = Open();
    const Extended h = Run.Form().DisplaySurf->height();
    const Extended w = Run.Form().DisplaySurf->width();
    struct Case {
        TExSpeedButton* step;
        Extended fraction;
    };
    const Case steps[] = {{n.btn1, 1}, {n.btn12, 0.5L}, {n.btn14, 0.25L}, {n.btn18, 0.125L}};
    struct Arrow {
        TExSpeedButton* button;
        int north, east;
    };
    const Arrow arrows[] = {{n.PlanMoveUpLeft, 1, -1},    {n.PlanMoveUp, 1, 0},
                            {n.PlanMoveUpRight, 1, 1},    {n.PlanMoveLeft, 0, -1},
                            {n.PlanMoveRight, 0, 1},      {n.PlanmoveDownLeft, -1, -1},
                            {n.PlanMoveDown, -1, 0},      {n.PlanMoveDownRight, -1, 1}};
    for (const Case& s : steps) {
        ClickMiddle(s.step);
        ASSERT_TRUE(s.step->Down());
        for (const Arrow& a : arrows) {
            SCOPED_TRACE(testing::Message() << a.button->toolTip().toStdString() << " at "
                                            << s.step->Caption().toStdString());
            const TView before = CurrentView();
            ClickMiddle(a.button);
            const TView after = CurrentView();
            EXPECT_NEAR(double(after.XMin - before.XMin), double(a.north * h * s.fraction), 1e-6);
            EXPECT_NEAR(double(after.YMin - before.YMin), double(a.east * w * s.fraction), 1e-6);
        }
    }
}

TEST_F(Navigator, ZoomByTheStepsFactor)
{
    TFormNavigator& n = Open();
    struct Case {
        TExSpeedButton* step;
        bool in;
        int view, requestBefore, request;
    };
    const Case cases[] = {
        {n.btn1, true, 1000, 0, 500},
        {n.btn18, true, 1000, 0, 889},      // 1000 / 1.125 = 888.9
        {n.btn12, false, 1000, 0, 1500},
        {n.btn14, true, 1000, 800, 799},    // the same request again: one less
        {n.btn18, true, 1, 1, 1},           // below 1 the plan raises it to 1
        {n.btn18, false, 1, 1, 2},          // 1 × 1.125 rounds back to 1: one more
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.step->Caption().toStdString() << (c.in ? " in " : " out ")
                                        << c.view);
        if (!c.step->Down())
            ClickMiddle(c.step);
        MainMap->OutputScale = c.view;
        MainMap->DisplayScale = c.requestBefore;
        ClickMiddle(c.in ? n.btIn : n.btOut);
        EXPECT_EQ(MainMap->DisplayScale, c.request);
        EXPECT_EQ(MainMap->OutputScale, c.request);
        EXPECT_EQ(n.MapScale->currentText(), QString::number(c.request));
    }
}

TEST_F(Navigator, AllStepsUpTakesTheTwelvePercentValues)
{
    TFormNavigator& n = Open();
    ClickMiddle(n.btn14);
    ASSERT_FALSE(n.btn1->Down() || n.btn12->Down() || n.btn14->Down() || n.btn18->Down());
    EXPECT_EQ(TFormNavigator::PanStep(), 0.125L);
    EXPECT_EQ(TFormNavigator::ZoomFactor(), 1.125L);
}

TEST_F(Navigator, ScaleTypedOrChosenInTheBox)
{
    TFormNavigator& n = Open();
    QLineEdit* edit = n.MapScale->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("2000"));
    EXPECT_EQ(MainMap->DisplayScale, 2000);
    EXPECT_EQ(MainMap->OutputScale, 2000);
    // Texts that are not a whole number of at least 1 draw nothing.
    for (const char* bad : {"", "abc", "0", "-5", "-", " "}) {
        SCOPED_TRACE(bad);
        edit->clear();
        const int draws = MainMap->OutputScale;
        QTest::keyClicks(edit, QString::fromUtf8(bad));
        EXPECT_EQ(MainMap->OutputScale, draws);
    }
    // A chosen item.
    const int i = n.MapScale->findText(QStringLiteral("5000"));
    ASSERT_GE(i, 0);
    n.MapScale->setCurrentIndex(i);
    emit n.MapScale->activated(i);
    EXPECT_EQ(MainMap->OutputScale, 5000);
}

TEST_F(Navigator, PanAndZoomWorkWithNoNavigatorMade)
{
    ASSERT_EQ(FormNavigator, nullptr);
    const TView before = CurrentView();
    TFormNavigator::PlanMoveUpClick();
    EXPECT_NEAR(double(CurrentView().XMin - before.XMin),
                double(Run.Form().DisplaySurf->height() / 8.0L), 1e-6);
    MainMap->OutputScale = 1000;
    MainMap->DisplayScale = 0;
    TFormNavigator::btOutClick();
    EXPECT_EQ(MainMap->DisplayScale, 1125);
}

TEST_F(Navigator, PreviousViewWithAnEmptyHistoryChangesNothing)
{
    TFormNavigator& n = Open();
    MainMap->MapViews.DeleteAll();
    const TView before = CurrentView();
    ClickMiddle(n.btBack);
    const TView after = CurrentView();
    EXPECT_EQ(after.XMin, before.XMin);
    EXPECT_EQ(after.YMax, before.YMax);
    EXPECT_EQ(MainMap->MapViews.GetCount(), 0);
}

TEST_F(Navigator, ArrowsAndZoomRepeatWhileHeld)
{
    TFormNavigator& n = Open();
    for (TExSpeedButton* b : {n.PlanMoveUpLeft, n.PlanMoveUp, n.PlanMoveUpRight, n.PlanMoveLeft,
                              n.btBack, n.PlanMoveRight, n.PlanmoveDownLeft, n.PlanMoveDown,
                              n.PlanMoveDownRight, n.btIn, n.btOut}) {
        SCOPED_TRACE(b->toolTip().toStdString());
        EXPECT_TRUE(b->AllowTimer());
    }
}

TEST_F(Navigator, PictureOfTheNavigator)
{
    TFormNavigator& n = Open();
    EXPECT_EQ(n.windowTitle(), QStringLiteral("Навигатор"));
    EXPECT_FALSE(SaveGrab(n, QStringLiteral("navigator")).isEmpty());
    // Nothing overlaps: the buttons and the box lie apart inside the window.
    QList<QWidget*> parts;
    for (QWidget* w : n.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != static_cast<QWidget*>(n.Image1))
            parts << w;
    for (int i = 0; i < parts.size(); ++i) {
        EXPECT_TRUE(n.rect().contains(parts[i]->geometry())) << parts[i]->objectName().toStdString();
        for (int j = i + 1; j < parts.size(); ++j)
            EXPECT_FALSE(parts[i]->geometry().intersects(parts[j]->geometry()))
                << parts[i]->objectName().toStdString() << " " << parts[j]->objectName().toStdString();
    }
    for (TExSpeedButton* b : {n.btn1, n.btn12, n.btn14, n.btn18})
        EXPECT_LE(b->fontMetrics().horizontalAdvance(b->Caption()) + 4, b->width());
}

}  // namespace
