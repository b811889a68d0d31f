// The tool palette's button of the constructions palette, with and without a palette
// behind the factory, clicked as the user clicks it.
#include "MainWindowFixture.h"

#include "controls/ExSpeedButton.h"
#include "mainwindow/FormInstr1.h"
#include "support/WidgetEvents.h"
#include "survey/SurveyDialogs.h"

#include <gtest/gtest.h>

namespace {

TEST(ConstructionsButton, WithoutAPaletteItSpringsBackUp)
{
    TScopedSurveyDialogHooks none;
    TMainWindowRun run;
    run.Start();
    TFormInstr1& palette = *run.Form().FormInstr1;
    ASSERT_TRUE(palette.sbInstr2->isVisible());
    ClickMiddle(palette.sbInstr2);
    EXPECT_FALSE(palette.sbInstr2->Down());
    EXPECT_EQ(palette.FormInstr2, nullptr);
}

TEST(ConstructionsButton, MakesThePaletteOnceShowsAndHidesIt)
{
    TSurveyDialogHooks hooks;
    int made = 0;
    QWidget* owner = nullptr;
    hooks.NewFormInstr2 = [&](QWidget* o) -> QWidget* {
        ++made;
        owner = o;
        return new QWidget(o, Qt::Tool);
    };
    TScopedSurveyDialogHooks scope(hooks);
    TMainWindowRun run;
    run.Start();
    TFormInstr1& palette = *run.Form().FormInstr1;
    palette.move(40, 120);

    ClickMiddle(palette.sbInstr2);
    EXPECT_TRUE(palette.sbInstr2->Down());
    ASSERT_NE(palette.FormInstr2, nullptr);
    EXPECT_EQ(owner, &run.Form());
    EXPECT_TRUE(palette.FormInstr2->isVisible());
    EXPECT_EQ(palette.FormInstr2->pos(), QPoint(10, palette.y()));
    EXPECT_EQ(palette.FormInstr2->windowOpacity(), palette.windowOpacity());

    ClickMiddle(palette.sbInstr2);
    EXPECT_FALSE(palette.sbInstr2->Down());
    EXPECT_FALSE(palette.FormInstr2->isVisible());

    ClickMiddle(palette.sbInstr2);
    EXPECT_TRUE(palette.FormInstr2->isVisible());
    EXPECT_EQ(made, 1);
}

}  // namespace
