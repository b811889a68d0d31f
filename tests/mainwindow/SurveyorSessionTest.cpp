// The program as a surveyor works it: a new plan from the menu, a sheet and a layer, a
// point, a line and a polygon drawn with the mouse, a copy from the point's pop-up, undo
// and redo, Save As from the menu, and the saved plan opened again in a fresh run.
#include "SurfaceTestSupport.h"

#include "controls/ExSpeedButton.h"
#include "foundation/ProgramDialogs.h"
#include "mainwindow/FormInstr1.h"
#include "semantics/codec/SemDialogs.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"
#include "support/WidgetEvents.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>
#include <QMenu>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QAction* ByName(TFormMap& form, const char* name)
{
    auto* a = form.findChild<QAction*>(QLatin1String(name));
    EXPECT_TRUE(a) << name;
    return a;
}

// Pop-ups answer with the item of this caption.
void ChooseInPopups(const QString& caption, QStringList& opened)
{
    MapHooks().MenuExec = [caption, &opened](QMenu& menu, QPoint) -> QAction* {
        opened << menu.objectName();
        for (QAction* a : menu.actions())
            if (a->text() == caption) {
                a->trigger();
                return a;
            }
        return nullptr;
    };
}

// A palette button pressed as the user presses it.
void Press(TExSpeedButton* b)
{
    SendMouse(b, QEvent::MouseButtonPress, b->rect().center(), Qt::LeftButton);
    SendMouse(b, QEvent::MouseButtonRelease, b->rect().center(), Qt::LeftButton);
}

}  // namespace

TEST(SurveyorSession, NewPlanThreeObjectsAPopupUndoRedoSaveAndReopen)
{
    QTemporaryDir keep;
    const QString saved = keep.path() + QStringLiteral("/участок.500");
    QByteArray firstSave;
    {
        TMainWindowRun::TOptions options;
        options.CollectMessages = true;
        TMainWindowRun run(options);
        run.Start();
        TFormMap& form = run.Form();
        TSemDialogHooks sem;
        sem.SemDlg = [](int, int& lm, QString& s) {
            s = lm == 0 ? QStringLiteral("ТОЧ") : QStringLiteral("ДОР");
            return mrOk;
        };
        TScopedSemDialogHooks semScope(sem);
        ProgramDialogHooks().Inp3Int = [](int& n, Extended& a, Extended& b, const QString&, const QString&,
                                          const QString&, const QString&) {
            n = 1;
            a = 5;
            b = 5;
            return mrOk;
        };

        TModalScript script;
        script.Then("TFormNewMapDialog", [](QWidget* w) { Enter(w); });
        ByName(form, "NCreatePlan")->trigger();
        ASSERT_TRUE(script.Done());
        EXPECT_EQ(MainMap->MapProp.Scale, 500);

        RunCommands({"mcNewPage=<Лист 1>", "mcNewLayer=<0><Съемка>"});
        form.DestAutoPage = 0;
        form.DestPageName = QStringLiteral("Лист 1");
        form.DestAutoLayer = 0;
        form.DestLayerName = QStringLiteral("Съемка");
        MainMap->LinkToNodes = 0;
        ExactView(form);
        TSurfaceDriver mouse(form);
        QStringList opened;

        ByName(form, "NCreatePoint")->trigger();
        mouse.Move(100, 200);
        mouse.Click(100, 200);
        EXPECT_EQ(MainMap->GetPointsCount(0, 0), 1);

        ASSERT_TRUE(form.FormInstr1);
        Press(form.FormInstr1->sbLine);
        EXPECT_EQ(form.MouseMode, mmCreateLine);
        ChooseInPopups(QStringLiteral("Закончить линию"), opened);
        for (const auto& [x, y] : {std::pair{300, 100}, {300, 200}, {350, 250}}) {
            mouse.Move(x, y);
            mouse.Click(x, y);
        }
        mouse.Click(350, 250, Qt::RightButton);
        EXPECT_EQ(MainMap->GetLinesCount(0, 0), 1);

        Press(form.FormInstr1->sbPolygon);
        EXPECT_EQ(form.MouseMode, mmCreatePolygon);
        ChooseInPopups(QStringLiteral("Закончить полигон"), opened);
        for (const auto& [x, y] : {std::pair{100, 300}, {100, 400}, {200, 400}, {200, 300}}) {
            mouse.Move(x, y);
            mouse.Click(x, y);
        }
        mouse.Click(200, 300, Qt::RightButton);
        EXPECT_EQ(MainMap->GetPolygonsCount(0, 0), 1);

        // The point chosen and copied from its pop-up.
        ByName(form, "NSelectObject")->trigger();
        form.btClearSelectedClick();
        TPixelMouse{form}.Click(mouse.At(100, 200));
        ASSERT_EQ(form.FoundCount->text(), QStringLiteral("1"));
        ChooseInPopups(QStringLiteral("Копировать объект"), opened);
        const QPoint at = mouse.At(100, 200);
        QTest::mousePress(form.DisplaySurf, Qt::RightButton, Qt::NoModifier, at);
        QTest::mouseRelease(form.DisplaySurf, Qt::RightButton, Qt::NoModifier, at);
        EXPECT_EQ(opened, (QStringList{QStringLiteral("PMCreateLine"), QStringLiteral("PMCreatePolygon"),
                                       QStringLiteral("PMPoint")}));
        EXPECT_EQ(MainMap->GetPointsCount(0, 0), 2);

        ASSERT_TRUE(form.UndoButton->isEnabled());
        form.UndoButton->click();
        EXPECT_EQ(MainMap->GetPointsCount(0, 0), 1);
        ASSERT_TRUE(form.RedoButton->isEnabled());
        form.RedoButton->click();
        EXPECT_EQ(MainMap->GetPointsCount(0, 0), 2);
        EXPECT_EQ(MainMap->GetLinesCount(0, 0), 1);
        EXPECT_EQ(MainMap->GetPolygonsCount(0, 0), 1);

        run.SaveAsName = saved;
        ByName(form, "NSavePlanAs")->trigger();
        firstSave = FileBytes(saved);
        ASSERT_FALSE(firstSave.isEmpty());
        EXPECT_TRUE(run.ExitQuestions.empty());
        EXPECT_TRUE(run.Messages.empty()) << run.Messages.front().toStdString();
        MapHooks().MenuExec = [](QMenu&, QPoint) { return nullptr; };
        ProgramDialogHooks().Inp3Int = nullptr;
    }

    // A fresh run opens the plan from its command line and writes the same bytes.
    TMainWindowRun::TOptions options;
    options.Arguments = QStringList{saved};
    TMainWindowRun again(options);
    again.Start();
    TFormMap& form = again.Form();
    EXPECT_EQ(DataFileName, saved);
    EXPECT_EQ(MainMap->GetPointsCount(0, 0), 2);
    EXPECT_EQ(MainMap->GetLinesCount(0, 0), 1);
    EXPECT_EQ(MainMap->GetPolygonsCount(0, 0), 1);
    const QString second = keep.path() + QStringLiteral("/снова.500");
    again.SaveAsName = second;
    ByName(form, "NSavePlanAs")->trigger();
    EXPECT_EQ(FileBytes(second), firstSave);
}
