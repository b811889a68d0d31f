// The creation settings as the user reaches them from the main window: the plan menu's
// item and the destination item open the settings window, whatever closes it is written
// into the main window and shown in the destination item; and the base-line point of the
// constructions palette taken from two clicks on the plan.
#include "MainWindowFixture.h"
#include "SurfaceTestSupport.h"

#include "controls/ExSpeedButton.h"
#include "dialogs/objects/FormObjectDest.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/ui/NumEdit.h"
#include "mainwindow/FormInstr1.h"
#include "support/ModalScript.h"
#include "support/WidgetEvents.h"
#include "survey/SurveyDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QTabWidget>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

QAction* PlanMenuAction(TFormMap& form, const char* name)
{
    return form.NPlan->findChild<QAction*>(QLatin1String(name));
}

void ClickCheckBox(QWidget* w, const char* name)
{
    auto* box = w->findChild<QCheckBox*>(QLatin1String(name));
    ASSERT_NE(box, nullptr) << name;
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(8, box->height() / 2));
}

TEST(CreationSettings, ThePlanMenuItemOpensTheWindowAndItsCloseBoxWritesBack)
{
    TMainWindowRun run;
    run.Start();
    TScopedProgramDialogHooks scope;
    InstallObjectDestWindow();
    RunCommands({"mcNewPage=<Лист 1>", "mcNewLayer=<0><Здания>", "mcNewLayer=<0><Дороги>"});
    TFormMap& form = run.Form();
    form.DestAutoPage = 1;
    form.DestAutoLayer = 1;
    form.DestLayerName = QStringLiteral("Дороги");

    // The item stands right before the command processor's group when the menu opens.
    emit form.NPlan->aboutToShow();
    QAction* item = PlanMenuAction(form, "NDestProp");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("Параметры создания объектов"));
    const QList<QAction*> items = form.NPlan->actions();
    const int at = int(items.indexOf(item));
    ASSERT_GE(at, 1);
    EXPECT_TRUE(items[at - 1]->isSeparator());
    ASSERT_LT(at + 2, items.size());
    EXPECT_TRUE(items[at + 1]->isSeparator());
    EXPECT_EQ(items[at + 2]->text(), QStringLiteral("командный процессор"));

    TModalScript script;
    script.Then("TFormObjectDest", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Параметры создания объектов"));
        EXPECT_EQ(w->findChild<QTabWidget*>(QStringLiteral("pcObjects"))->currentIndex(), 0);
        ClickCheckBox(w, "AutoPage");
        ClickCheckBox(w, "AutoLay");
        auto* layers = w->findChild<QComboBox*>(QStringLiteral("cbLayer"));
        layers->setCurrentIndex(1);
        emit layers->activated(1);
        CloseBox(w);
    });
    item->trigger();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(form.DestAutoPage, 0);
    EXPECT_EQ(form.DestPageName, QStringLiteral("Лист 1"));
    EXPECT_EQ(form.DestAutoLayer, 0);
    EXPECT_EQ(form.DestLayerName, QStringLiteral("Дороги"));
    EXPECT_EQ(form.PageInf->text(), QStringLiteral("[ЛИСТ=Лист 1;  СЛОЙ=Дороги]"));

    // The destination item opens the same window on its first page.
    TModalScript again;
    again.Then("TFormObjectDest", [](QWidget* w) {
        EXPECT_EQ(w->findChild<QTabWidget*>(QStringLiteral("pcObjects"))->currentIndex(), 0);
        ClickCheckBox(w, "AutoPage");
        Esc(w);
    });
    form.PageInf->trigger();
    EXPECT_TRUE(again.Done());
    EXPECT_EQ(form.DestAutoPage, 1);
    EXPECT_EQ(form.PageInf->text(), QStringLiteral("[ЛИСТ=авто;  СЛОЙ=Дороги]"));
}

TEST(BaseLinePoint, TwoClicksFillTheStartAndThenTheEndOfTheConstructionsPalette)
{
    TSurveyDialogHooks hooks;
    hooks.NewFormInstr2 = [](QWidget* owner) -> QWidget* {
        auto* palette = new QWidget(owner, Qt::Tool);
        for (const char* name : {"NumEdit1", "NumEdit2", "NumEdit3", "NumEdit4"}) {
            auto* edit = new TNumEdit(palette);
            edit->setObjectName(QLatin1String(name));
            edit->EnableFloatPrecision = true;
            edit->SetNumberOfDecimalDigits(2);
        }
        return palette;
    };
    TScopedSurveyDialogHooks scope(hooks);
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    ExactView(form);
    TSurfaceDriver mouse(form);

    // Without the palette a click takes nothing and leaves the mode as it was.
    form.SetMouseMode(mmBaseLinePoint, 1, false);
    mouse.Click(100, 200);
    EXPECT_EQ(form.MouseStep, 1);

    ClickMiddle(form.FormInstr1->sbInstr2);
    QWidget* palette = form.FormInstr1->FormInstr2;
    ASSERT_NE(palette, nullptr);
    const auto value = [palette](const char* name) {
        return double(palette->findChild<TNumEdit*>(QLatin1String(name))->FloatValue());
    };
    form.SetMouseMode(mmBaseLinePoint, 1, false);
    mouse.Click(100, 200);
    EXPECT_NEAR(value("NumEdit1"), 100, 1);
    EXPECT_NEAR(value("NumEdit2"), 200, 1);
    EXPECT_EQ(form.MouseMode, mmBaseLinePoint);
    EXPECT_EQ(form.MouseStep, 2);
    mouse.Click(150, 260);
    EXPECT_NEAR(value("NumEdit3"), 150, 1);
    EXPECT_NEAR(value("NumEdit4"), 260, 1);
    EXPECT_NEAR(value("NumEdit1"), 100, 1);
    EXPECT_EQ(form.MouseStep, 2);

    // Another step takes nothing.
    form.SetMouseMode(mmBaseLinePoint, 0, false);
    mouse.Click(50, 50);
    EXPECT_NEAR(value("NumEdit1"), 100, 1);
    EXPECT_NEAR(value("NumEdit3"), 150, 1);
    EXPECT_EQ(form.MouseStep, 0);
}

}  // namespace
