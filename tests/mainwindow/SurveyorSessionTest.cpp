// The program as a surveyor works it: a new plan from the menu, a sheet and a layer, a
// point, a line and a polygon drawn with the mouse, a copy from the point's pop-up, undo
// and redo, Save As from the menu, and the saved plan opened again in a fresh run.
#include "SurfaceTestSupport.h"

#include "controls/ExSpeedButton.h"
#include "foundation/ProgramDialogs.h"
#include "mainwindow/FormInstr1.h"
#include "platform/CodePage.h"
#include "semantics/codec/SemDialogs.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"
#include "support/WidgetEvents.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>
#include <QMenu>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <string>
#include <gtest/gtest.h>

namespace {

QAction* ByName(TFormMap& form, const char* name)
{
    auto* a = form.findChild<QAction*>(QLatin1String(name));
    EXPECT_TRUE(a) << name;
    return a;
}

// The classifier of both sessions: points are "ТОЧ", everything else "ДОР".
TSemDialogHooks SessionSemantics()
{
    TSemDialogHooks sem;
    sem.SemDlg = [](int, int& lm, QString& s) {
        s = lm == 0 ? QStringLiteral("ТОЧ") : QStringLiteral("ДОР");
        return mrOk;
    };
    return sem;
}

// The start both sessions share: a copy asked for makes one copy 5 m north and east; a new
// 1:500 plan through its window; the sheet "Лист 1" and the layer "Съемка" as the fixed
// destination.
void StartNewPlan(TFormMap& form)
{
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
        const TScopedSemDialogHooks semScope(SessionSemantics());
        ASSERT_NO_FATAL_FAILURE(StartNewPlan(form));
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

namespace {

// The expected journal kept beside the tests, one command a line.
QStringList ExpectedJournal(const char* name)
{
    QFile file(QStringLiteral(VELMORA_TEST_FIXTURES "/session/") + QString::fromUtf8(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    // Written with "." and read in the separator in force.
    QStringList lines =
        QString::fromUtf8(file.readAll()).replace(QLatin1Char('.'), DecimalSeparator).split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Every line that differs, numbered, with what was expected and what came.
std::string JournalDiff(const QStringList& expected, const QStringList& actual)
{
    std::string out;
    for (qsizetype i = 0; i < std::max(expected.size(), actual.size()); ++i) {
        const QString e = i < expected.size() ? expected[i] : QStringLiteral("(нет строки)");
        const QString a = i < actual.size() ? actual[i] : QStringLiteral("(нет строки)");
        if (e != a)
            out += "line " + std::to_string(i + 1) + "\n  expected: " + e.toStdString() +
                   "\n  actual:   " + a.toStdString() + "\n";
    }
    return out;
}

void Key(TFormMap& form, Qt::Key key)
{
    QTest::keyClick(form.DisplaySurf, key);
}

}  // namespace

TEST(SurveyorSession, KeysForEveryObjectASpecialSegmentANodeDragTheJournalAndTheExitQuestion)
{
    QTemporaryDir keep;
    const QString saved = keep.path() + QStringLiteral("/съемка.500");
    QByteArray firstSave;
    {
        TMainWindowRun::TOptions options;
        options.CollectMessages = true;
        TMainWindowRun run(options);
        run.Start();
        TFormMap& form = run.Form();
        const TScopedSemDialogHooks semScope(SessionSemantics());
        ASSERT_NO_FATAL_FAILURE(StartNewPlan(form));
        form.TextCaption = QStringLiteral("Дом");
        form.TextFontName = QStringLiteral("Arial");   // not the desktop's own font
        MainMap->LinkToNodes = 0;
        ExactView(form);
        ASSERT_TRUE(form.FormInstr1);
        TSurfaceDriver mouse(form);
        QStringList opened;

        Key(form, Qt::Key_F1);
        EXPECT_EQ(form.MouseMode, mmCreatePoint);
        for (const auto& [x, y] : {std::pair{100, 200}, {120, 220}}) {
            mouse.Move(x, y);
            mouse.Click(x, y);
        }
        EXPECT_EQ(MainMap->GetPointsCount(0, 0), 2);

        Key(form, Qt::Key_F2);
        EXPECT_EQ(form.MouseMode, mmCreateLine);
        ChooseInPopups(QStringLiteral("Закончить линию"), opened);
        for (const auto& [x, y] : {std::pair{300, 100}, {300, 200}, {350, 250}}) {
            mouse.Move(x, y);
            mouse.Click(x, y);
        }
        mouse.Click(350, 250, Qt::RightButton);
        EXPECT_EQ(MainMap->GetLinesCount(0, 0), 1);

        Key(form, Qt::Key_F3);
        EXPECT_EQ(form.MouseMode, mmCreatePolygon);
        for (const auto& [x, y] : {std::pair{100, 300}, {100, 400}}) {
            mouse.Move(x, y);
            mouse.Click(x, y);
        }
        // The segments from here on are special ones, chosen from the pop-up.
        ChooseInPopups(QStringLiteral("Специальный сегмент тип I"), opened);
        mouse.Click(100, 400, Qt::RightButton);
        for (const auto& [x, y] : {std::pair{200, 400}, {200, 300}}) {
            mouse.Move(x, y);
            mouse.Click(x, y);
        }
        ChooseInPopups(QStringLiteral("Закончить полигон"), opened);
        mouse.Click(200, 300, Qt::RightButton);
        EXPECT_EQ(MainMap->GetPolygonsCount(0, 0), 1);

        Key(form, Qt::Key_F4);
        EXPECT_EQ(form.MouseMode, mmCreateText);
        mouse.Move(50, 50);
        mouse.Click(50, 50);
        EXPECT_TRUE(CommandLog->last().startsWith(QStringLiteral("mcNewText="))) << CommandLog->last().toStdString();

        // The line chosen by its first node, its middle node dragged 30 m east.
        ByName(form, "NSelectObject")->trigger();
        form.btClearSelectedClick();
        TPixelMouse pixel{form};
        pixel.Click(mouse.At(300, 100));
        ASSERT_EQ(form.FoundCount->text(), QStringLiteral("1"));
        const QPoint node = mouse.At(300, 200);
        pixel.Move(node);
        ASSERT_EQ(form.SelectedPart, 1);
        pixel.Press(node);
        pixel.Move(node + QPoint(15, 0), Qt::LeftButton);
        pixel.Move(node + QPoint(30, 0), Qt::LeftButton);
        pixel.Release(node + QPoint(30, 0));
        EXPECT_TRUE(CommandLog->last().startsWith(QStringLiteral("mcSetLineProp="))) << CommandLog->last().toStdString();

        // An undo reopens the plan as it was and starts the journal again: the session's
        // journal is what came before it and what followed the redo.
        QStringList journal = *CommandLog;
        ASSERT_TRUE(form.UndoButton->isEnabled());
        form.UndoButton->click();
        ASSERT_TRUE(form.RedoButton->isEnabled());
        form.RedoButton->click();

        // The polygon chosen by a node and copied from its pop-up, called inside it.
        form.btClearSelectedClick();
        pixel.Click(mouse.At(100, 300));
        ASSERT_EQ(form.FoundCount->text(), QStringLiteral("1"));
        ChooseInPopups(QStringLiteral("Копировать объект"), opened);
        const QPoint at = mouse.At(150, 350);
        pixel.Move(at);
        QTest::mousePress(form.DisplaySurf, Qt::RightButton, Qt::NoModifier, at);
        QTest::mouseRelease(form.DisplaySurf, Qt::RightButton, Qt::NoModifier, at);
        EXPECT_EQ(MainMap->GetPolygonsCount(0, 0), 2);
        EXPECT_TEXT_EQ(opened.last(), QStringLiteral("PMPolygon"));

        run.SaveAsName = saved;
        ByName(form, "NSavePlanAs")->trigger();
        firstSave = FileBytes(saved);
        ASSERT_FALSE(firstSave.isEmpty());

        EXPECT_TRUE(DecodeCodePage(firstSave).contains(Decimal("$300,00 230,00\r\n")));   // the drag redone
        journal << QStringLiteral("-- отменено и повторено --") << *CommandLog;
        const QStringList expected = ExpectedJournal("surveyor-session.journal");
        EXPECT_TRUE(journal == expected) << JournalDiff(expected, journal);

        // One more command, then the window closed without saving it.
        RunCommands({"mcNewLayer=<0><Лишний>"});
        run.ExitAnswer = mrNo;
        EXPECT_TRUE(form.close());
        EXPECT_EQ(run.ExitQuestions.size(), 1u);
        EXPECT_EQ(FileBytes(saved), firstSave);
        EXPECT_TRUE(run.Messages.empty()) << run.Messages.front().toStdString();
        MapHooks().MenuExec = [](QMenu&, QPoint) { return nullptr; };
        ProgramDialogHooks().Inp3Int = nullptr;
    }

    TMainWindowRun::TOptions options;
    options.Arguments = QStringList{saved};
    TMainWindowRun again(options);
    again.Start();
    EXPECT_EQ(MainMap->GetPolygonsCount(0, 0), 2);
    const QString second = keep.path() + QStringLiteral("/снова.500");
    again.SaveAsName = second;
    ByName(again.Form(), "NSavePlanAs")->trigger();
    EXPECT_EQ(FileBytes(second), firstSave);
}
