// The main window as the user meets it: start-up, the command line, the mode setter,
// the clock, the exit question and the run folders.
#include "MainWindowFixture.h"

#include "controls/ExSpeedButton.h"
#include "editors/classifier/UnitSemDialog.h"
#include "foundation/ui/StartMark.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/VclTimer.h"
#include "support/ModalScript.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <gtest/gtest.h>

namespace {

QString FixturePlan(const char* name)
{
    return QStringLiteral(VELMORA_TEST_FIXTURES) + QStringLiteral("/plans/") + QString::fromUtf8(name);
}

bool SameCursor(const QCursor& a, const QCursor& b)
{
    return a.shape() == b.shape() && a.pixmap().toImage() == b.pixmap().toImage() &&
           a.hotSpot() == b.hotSpot();
}

}  // namespace

TEST(MainWindowStart, NewUserAnswersTheLicenceBeforeTheEmptyPlanAndKeepsTheCommandLinePlan)
{
    TMainWindowRun::TOptions options;
    options.NewUser = true;
    options.Arguments = {FixturePlan("full.500")};
    TMainWindowRun run(options);
    EXPECT_EQ(NewUser, 1);
    run.Start();
    EXPECT_EQ(run.LicenceShown, 1);
    EXPECT_EQ(run.ScaleWhenLicenceShown, 0) << "the empty plan was made before the licence";
    EXPECT_FALSE(run.TerminateAsked);
    EXPECT_EQ(DataFileName, QFileInfo(FixturePlan("full.500")).absoluteFilePath());
    EXPECT_GT(MainMap->GetPagesCount(), 0);
    EXPECT_EQ(DataFileState, 1);
    EXPECT_NE(run.Form().FormInstr1, nullptr);
    EXPECT_EQ(run.Form().IgnoreMouse, 0);
}

TEST(MainWindowStart, DecliningTheLicenceEndsTheRunAfterStartUp)
{
    TMainWindowRun::TOptions options;
    options.NewUser = true;
    options.LicenceAnswer = mrCancel;
    TMainWindowRun run(options);
    run.Start();
    EXPECT_TRUE(run.TerminateAsked);
    EXPECT_EQ(MainMap->MapProp.Scale, 500);   // the remaining steps still ran
}

TEST(MainWindowStart, ExistingUserGetsTheEmptyPlanWithoutTheLicence)
{
    TMainWindowRun run;
    EXPECT_EQ(NewUser, 0);
    run.Start(false);
    EXPECT_EQ(run.LicenceShown, 0);
    EXPECT_EQ(MainMap->MapProp.Scale, 500);
    EXPECT_TRUE(DataFileName.isEmpty());
    EXPECT_EQ(run.Form().windowTitle(), QStringLiteral("Free Velmorant 6 - план новый"));
    EXPECT_EQ(run.Form().FormInstr1, nullptr) << "an existing user's palette waits for the start timer";
    EXPECT_TRUE(QFileInfo(SessionFolder + QStringLiteral("/09.30.00 без имени")).isDir());
    run.Form().TimerCloseStartTimer();
    EXPECT_NE(run.Form().FormInstr1, nullptr);
    EXPECT_FALSE(run.Form().TimerCloseStart->Enabled());
    EXPECT_EQ(run.Form().PageInf->text(), QStringLiteral("[ЛИСТ=авто;  СЛОЙ=авто]"));
    EXPECT_DOUBLE_EQ(run.Form().windowOpacity(), 1.0);
}

TEST(MainWindowStart, FirstShowRunsOnceFromTheEventLoop)
{
    TMainWindowRun run;
    TFormMap& form = run.Form();
    form.resize(900, 600);
    form.show();
    EXPECT_EQ(form.FirstShowPending, 1) << "the first show runs once show() has returned";
    EXPECT_EQ(form.IgnoreMouse, 1);
    for (int i = 0; i < 50 && form.FirstShowPending == 1; ++i)
        QCoreApplication::processEvents();
    ASSERT_EQ(form.FirstShowPending, 0);
    EXPECT_EQ(MainMap->MapProp.Scale, 500);
    // Hidden and shown again, the window keeps its plan.
    MainMap->DoCommand(mcNewPage, TCommandParams().Text(QStringLiteral("1")));
    form.hide();
    form.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(MainMap->GetPagesCount(), 1);
    EXPECT_EQ(CommandLog->size(), 1);
}

TEST(MainWindowStart, AResizeRedrawsForTheNewSurface)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    const QSize before = form.DisplaySurf->size();
    ASSERT_EQ(MainMap->Bitmap.size(), before * 3);
    form.setWindowState(Qt::WindowNoState);
    form.resize(before.width() - 150, before.height() - 120);
    QCoreApplication::processEvents();
    const QSize surface = form.DisplaySurf->size();
    ASSERT_NE(surface, before);
    EXPECT_EQ(MainMap->Bitmap.size(), surface * 3);
}

TEST(MainWindowStart, ThreeArgumentsOpenTheFirstAndStartTwoInstances)
{
    TMainWindowRun::TOptions options;
    const QString second = QStringLiteral("/планы/второй план.500");
    const QString third = QStringLiteral("/планы/третий \"план\".1000");
    options.Arguments = {FixturePlan("signs.500"), second, third};
    TMainWindowRun run(options);
    run.Start();
    EXPECT_EQ(DataFileName, QFileInfo(FixturePlan("signs.500")).absoluteFilePath());
    ASSERT_EQ(run.Started.size(), 2u);
    EXPECT_EQ(run.Started[0].Arguments, QStringList{second});   // one word each, no quotes
    EXPECT_EQ(run.Started[1].Arguments, QStringList{third});
    EXPECT_EQ(run.Started[0].Folder, ProgramFolder);
    EXPECT_FALSE(run.Started[0].Program.isEmpty());
}

TEST(MainWindowStart, TextDefaultsComeFromTheFirstTextStyleOfScale500)
{
    TMainWindowRun run;
    const TFormMap& form = run.Form();
    EXPECT_EQ(form.TextStyleName, QStringLiteral(">ОСНОВНОЙ"));
    EXPECT_FALSE(form.TextFontName.isEmpty());
    EXPECT_GT(form.TextFontSize, 0);
    EXPECT_EQ(form.SnapRadius, 50);
    EXPECT_EQ(form.PickRadius, 10);
    EXPECT_EQ(MainMap->UndoOn, 1);
    EXPECT_EQ(form.TimerAutosave->Interval(), 300000);
    EXPECT_FALSE(form.TimerAutosave->Enabled());
    EXPECT_EQ(form.CoordLabelOffsets[6], -5.8L);
    EXPECT_FALSE(MainMap->NomenclatureFileName.isEmpty());
    EXPECT_GT(MainMap->Nomenclatures.GetCount(), 0) << "the default nomenclature was not loaded";
}

TEST(MainWindowStart, CreationSwitchesTheDisplayOnAndBindsTheClassifierWindow)
{
    {
        TMainWindowRun run;
        EXPECT_EQ(MainMap->ShowPlansBorders, 1);
        EXPECT_EQ(MainMap->ShowPlanNom, 1);
        EXPECT_EQ(MainMap->ShowCoordCross, 1);
        EXPECT_EQ(MainMap->ShowSymbols, 1);
        EXPECT_EQ(MainMap->ShowRastrs, 1);
        EXPECT_EQ(MainMap->ShowNodes, 0);
        EXPECT_EQ(MainMap->HighlightColor1, 0xFF0000);
        EXPECT_EQ(MainMap->HighlightColor2, 0x00FFFF);
        EXPECT_EQ(MainMap->PrintHeaderOn, 1);
        ASSERT_NE(FormSemDialog(), nullptr);
        EXPECT_EQ(FormSemDialog()->Symbols, MainMap->Symbols.get());
        EXPECT_EQ(FormSemDialog()->parent(), nullptr);
        EXPECT_GT(FormSemDialog()->Codec().SemStandarts.GetCount(), 0);
        EXPECT_TRUE(run.Form().PlanOpenDialogFilter.contains(QStringLiteral("*.bmp")))
            << run.Form().PlanOpenDialogFilter.toStdString();
        run.Finish();
        EXPECT_EQ(FormSemDialog(), nullptr);
        EXPECT_EQ(MainMap, nullptr);
    }
}

TEST(MainWindowClock, ClickShowsTheStartOfTheRun)
{
    TMainWindowRun::TOptions options;
    options.CollectMessages = true;
    TMainWindowRun run(options);
    run.Form().Clock->trigger();
    ASSERT_EQ(run.Messages.size(), 1u);
    // "Запуcк" with a Latin c, the date and time of the start, and no text.
    EXPECT_TRUE(run.Messages[0].startsWith(QStringLiteral("Запу") + QLatin1Char('c') +
                                           QStringLiteral("к ") + run.Form().StartDateTimeText))
        << run.Messages[0].toStdString();
    EXPECT_TRUE(run.Form().StartDateTimeText.contains(QStringLiteral(" в ")));
    EXPECT_TRUE(run.Messages[0].endsWith(QStringLiteral(": ")));
}

TEST(MainWindowClock, TurnsOnlyOnTheMinute)
{
    TMainWindowRun run;
    TFormMap& form = run.Form();
    struct Case {
        int Ticks;   // ticks from the start
        const char* Caption;
    };
    const Case cases[] = {{1, "00:00"}, {59, "00:00"}, {60, "00:01"}, {119, "00:01"},
                          {3599, "00:59"}, {3600, "01:00"}, {36000, "10:00"}};
    int done = 0;
    for (const Case& c : cases) {
        // A caption set aside on other ticks shows that they leave it alone.
        while (done < c.Ticks - 1) {
            form.TimerWorkTime->Fire();
            ++done;
        }
        const bool turns = (c.Ticks % 60) == 0;
        form.Clock->setText(QStringLiteral("x"));
        form.TimerWorkTime->Fire();
        ++done;
        SCOPED_TRACE(c.Ticks);
        EXPECT_EQ(form.Clock->text(), turns ? QString::fromUtf8(c.Caption) : QStringLiteral("x"));
    }
}

TEST(MainWindowClose, QuestionCountsCommandsAndUndosSinceTheSave)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    const QString plan = run.Folder() + QStringLiteral("план.500");
    MainMap->DoCommand(mcNewPage, TCommandParams().Text(QStringLiteral("1")));
    run.SaveAsName = plan;   // a plan never saved is saved as
    ASSERT_TRUE(form.SavePlan(plan));
    EXPECT_EQ(form.Unsaved.Count(), 0);
    MainMap->DoCommand(mcNewPage, TCommandParams().Text(QStringLiteral("2")));
    MainMap->DoCommand(mcNewLayer, TCommandParams().Int(1).Text(QStringLiteral("Слой")));
    form.ReopenAsChange(plan);   // an undo reopens and empties the journal
    EXPECT_TRUE(CommandLog->isEmpty());
    EXPECT_EQ(form.Unsaved.Count(), 3);
    run.ExitAnswer = mrNo;
    EXPECT_TRUE(form.close());
    ASSERT_EQ(run.ExitQuestions.size(), 1u);
    EXPECT_TRUE(run.ExitQuestions[0].contains(QStringLiteral("Количество несохраненных команд:3\r")))
        << run.ExitQuestions[0].toStdString();
    EXPECT_TRUE(run.ExitQuestions[0].contains(QStringLiteral("Имя файла:план.500\r")));
}

TEST(MainWindowClose, NothingToSaveAsksNothing)
{
    TMainWindowRun run;
    run.Start();
    EXPECT_TRUE(run.Form().close());
    EXPECT_TRUE(run.ExitQuestions.empty());
}

TEST(MainWindowClose, EscAndAFailedSaveKeepTheWindow)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    MainMap->DoCommand(mcNewPage, TCommandParams().Text(QStringLiteral("1")));
    run.ExitAnswer = mrCancel;
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
    // "Сохранить" on a plan never saved asks for a name: cancelling keeps the window.
    run.ExitAnswer = mrYes;
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
    run.SaveAsName = run.Folder() + QStringLiteral("сохраненный");
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(QFileInfo::exists(run.Folder() + QStringLiteral("сохраненный.500")));
    EXPECT_EQ(run.ExitQuestions.size(), 3u);
}

TEST(MainWindowClose, AWriteThatFailsIsReportedAndKeepsTheWindowAndTheCount)
{
    TMainWindowRun::TOptions options;
    options.CollectMessages = true;
    TMainWindowRun run(options);
    run.Start();
    TFormMap& form = run.Form();
    MainMap->DoCommand(mcNewPage, TCommandParams().Text(QStringLiteral("1")));
    run.ExitAnswer = mrYes;
    run.SaveAsName = run.Folder() + QStringLiteral("нет такой папки/план.500");
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
    ASSERT_EQ(run.Messages.size(), 1u);
    EXPECT_TRUE(run.Messages[0].startsWith(QStringLiteral("План не сохранен: ")))
        << run.Messages[0].toStdString();
    EXPECT_EQ(form.Unsaved.Count(), 1);
    EXPECT_TRUE(DataFileName.isEmpty());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Free Velmorant 6 - план новый"));
}

TEST(MainWindowClose, RunFolderStaysWithItsUndoFolderAndGoesWhenEmpty)
{
    QString session;
    {
        TMainWindowRun run;
        run.Start();
        session = SessionFolder;
        run.Finish();
        EXPECT_TRUE(QFileInfo(session).isDir()) << "the undo folder of the empty plan keeps it";
    }
    {
        // A run whose window never showed leaves its run and date folders empty.
        TMainWindowRun run;
        session = SessionFolder;
        const QString date = QFileInfo(session).absolutePath();
        run.Finish();
        EXPECT_FALSE(QFileInfo::exists(session));
        EXPECT_FALSE(QFileInfo::exists(date));
        EXPECT_TRUE(QFileInfo(QFileInfo(date).absolutePath()).isDir()) << "the user folder stays";
    }
}

TEST(MainWindowModes, SetterDoesNothingBeforeThePaletteExists)
{
    TMainWindowRun run;
    run.Start(false);
    TFormMap& form = run.Form();
    ASSERT_EQ(form.FormInstr1, nullptr);
    form.SetMouseMode(mmCreateLine, 1, true);
    EXPECT_EQ(form.MouseMode, mmNone);
    EXPECT_EQ(form.MouseStep, 0);
    EXPECT_FALSE(form.ModeMemory.ModeSaved);
}

TEST(MainWindowModes, EveryModeWithAndWithoutPressSetsCaptionCursorStepAndButton)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    TFormInstr1& palette = *form.FormInstr1;
    TExSpeedButton* const buttons[] = {palette.sbSelectView, palette.sbMoveView, palette.sbSelectObject,
                                       palette.sbText,       palette.sbPoint,    palette.sbLine,
                                       palette.sbPolygon,    palette.sbOtm};
    for (int mode = 0; mode < MouseModeCount; ++mode) {
        if (mode == mmLinkRastr)
            continue;   // needs a raster: its own test
        for (bool press : {false, true}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " press " << press);
            // A known state: the line mode with step 1 and its button down.
            form.SetMouseMode(mmCreateLine, 1, true);
            ASSERT_TRUE(palette.sbLine->Down());
            const QCursor before = form.DisplaySurf->cursor();
            const QString captionBefore = form.NMouseMode->title();
            form.SetMouseMode(TMouseMode(mode), 2, press);
            const TMouseModeRow& row = ModeRow(TMouseMode(mode));
            EXPECT_EQ(form.MouseMode, mode);
            EXPECT_EQ(form.MouseStep, row.StepStored ? 2 : 1);
            const QString caption = ModeCaption(TMouseMode(mode), form.MouseStep, form.SelectedIndex);
            EXPECT_EQ(form.NMouseMode->title(), caption.isEmpty() ? captionBefore : caption);
            const QString cursor = ModeCursor(TMouseMode(mode), form.MouseStep);
            EXPECT_TRUE(SameCursor(form.DisplaySurf->cursor(),
                                   cursor.isEmpty() ? before : form.Cursors.value(cursor)));
            int down = 0;
            for (TExSpeedButton* b : buttons)
                down += b->Down() ? 1 : 0;
            if (press && row.Button == TModeButton::ReleaseAll)
                EXPECT_EQ(down, 0);
            else if (press && row.Button != TModeButton::None)
                EXPECT_EQ(down, 1);
            else
                EXPECT_TRUE(palette.sbLine->Down()) << "no button is touched without one to press";
            EXPECT_EQ(palette.pnPolygonProp->isVisible(), mode == mmCreatePolygon);
        }
    }
}

TEST(MainWindowModes, EdgeCasesOfTheSetter)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();

    // The stamp keeps the step its predecessor left and shows it.
    form.SetMouseMode(mmCreateLine, 1, true);
    form.SetMouseMode(mmSetStamp, 0, true);
    EXPECT_EQ(form.MouseStep, 1);
    EXPECT_EQ(form.NMouseMode->title(), QStringLiteral("режим: Установка штампа [1]"));

    // A raster link without its raster: only the mode value changes.
    form.SetMouseMode(mmSelectObject, 0, true);
    const QString caption = form.NMouseMode->title();
    form.LinkPage = 7;
    form.LinkRastr = 3;
    form.SetMouseMode(mmLinkRastr, 1, true);
    EXPECT_EQ(form.MouseMode, mmLinkRastr);
    EXPECT_EQ(form.MouseStep, 0);
    EXPECT_EQ(form.NMouseMode->title(), caption);
    EXPECT_TRUE(SameCursor(form.DisplaySurf->cursor(), form.Cursors.value(QStringLiteral("SELECT"))));

    // Contour tracing at step 2 stores the step and leaves caption and cursor.
    form.SetMouseMode(mmTraceContour, 1, true);
    const QString traceCaption = form.NMouseMode->title();
    form.SetMouseMode(mmTraceContour, 2, true);
    EXPECT_EQ(form.MouseStep, 2);
    EXPECT_EQ(form.NMouseMode->title(), traceCaption);
    EXPECT_TRUE(SameCursor(form.DisplaySurf->cursor(), form.Cursors.value(QStringLiteral("GTRACE2"))));
}

TEST(MainWindowModes, RasterLinkWithItsRasterReleasesTheButtonsAfterTheCheck)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    MainMap->DoCommand(mcNewPage, TCommandParams().Text(QStringLiteral("Растры")));
    const int page = MainMap->IndexOfPage(QStringLiteral("Растры"));
    MainMap->DoCommand(mcNewRastr, TCommandParams()
                                       .Int(page)
                                       .Text(run.Folder() + QStringLiteral("нет.bmp"))
                                       .Fixed(0)
                                       .Fixed(0)
                                       .Fixed(100)
                                       .Fixed(100)
                                       .Int(1)
                                       .Text(QString())
                                       .Int(100)
                                       .Int(100)
                                       .Int(100)
                                       .Int(200)
                                       .Int(0));
    form.LinkPage = page;
    form.LinkRastr = 0;
    form.SetMouseMode(mmCreatePoint, 0, true);
    ASSERT_TRUE(form.FormInstr1->sbPoint->Down());
    form.SetMouseMode(mmLinkRastr, 1, true);
    EXPECT_EQ(form.MouseMode, mmLinkRastr);
    EXPECT_EQ(form.MouseStep, 1);
    EXPECT_EQ(form.NMouseMode->title(), QStringLiteral("режим: Привязка растра - Точка 1[1]"));
    EXPECT_TRUE(SameCursor(form.DisplaySurf->cursor(), form.Cursors.value(QStringLiteral("CROSS"))));
    EXPECT_FALSE(form.FormInstr1->sbPoint->Down());
    EXPECT_TRUE(form.ModeMemory.ModeSaved);
    EXPECT_EQ(form.ModeMemory.SavedMouseMode, mmCreatePoint);
    form.SetMouseMode(mmLinkRastr, 2, false);
    EXPECT_EQ(form.NMouseMode->title(), QStringLiteral("режим: Привязка растра - Точка 2[2]"));
}

TEST(MainWindowModes, EverySwitchWipesTheBandsWithThePicture)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    form.SetMouseMode(mmMergeLines, 0, true);
    QImage& canvas = form.DisplaySurf->Canvas;
    const QImage clean = canvas.copy();
    ASSERT_FALSE(clean.isNull());
    form.NodeBand.Show(canvas, QPolygon({QPoint(10, 10), QPoint(200, 150)}));
    ASSERT_NE(canvas, clean);
    for (TMouseMode mode : {TMouseMode(mmCreateLine), TMouseMode(mmNone), TMouseMode(40)}) {
        SCOPED_TRACE(int(mode));
        form.NodeBand.Show(canvas, QPolygon({QPoint(10, 10), QPoint(200, 150)}));
        form.SetMouseMode(mode, 0, false);
        EXPECT_EQ(canvas, clean);
        EXPECT_FALSE(form.NodeBand.Drawn);
    }
}

TEST(MainWindowModes, PanFromZoomFromSelectionRestoresTheSelection)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    form.SetMouseMode(mmSelectObject, 0, true);
    form.SetMouseMode(mmCreateLine, 0, true);   // saves the selection (a saved zoom or none)
    form.SetMouseMode(mmSelectObject, 0, true);
    form.SetMouseMode(mmSelectView, 0, true);   // the zoom always saves: the selection
    form.SetMouseMode(mmMoveView, 0, true);     // from the zoom: no save
    form.RestoreMouseMode();
    EXPECT_EQ(form.MouseMode, mmSelectObject);
    EXPECT_FALSE(form.ModeMemory.ModeSaved);
    EXPECT_EQ(form.NMouseMode->title(), QStringLiteral("режим: Выбор объекта [0]"));
}

TEST(MainWindowModes, ModeMenuItemSetsCaptionCursorAndButton)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    struct Case {
        QAction* Item;
        TMouseMode Mode;
        const char* Caption;
        const char* Cursor;
    };
    const Case cases[] = {
        {form.NSelectView, mmSelectView, "режим: Выбор вида [0]", "ZOOM"},
        {form.NMoveView, mmMoveView, "режим: Сдвиг вида [0]", "MOVE"},
        {form.NSelectObject, mmSelectObject, "режим: Выбор объекта [0]", "SELECT"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Caption);
        c.Item->trigger();
        EXPECT_EQ(form.MouseMode, c.Mode);
        EXPECT_EQ(form.NMouseMode->title(), QString::fromUtf8(c.Caption));
        EXPECT_TRUE(SameCursor(form.DisplaySurf->cursor(), form.Cursors.value(QString::fromLatin1(c.Cursor))));
    }
    EXPECT_TRUE(form.FormInstr1->sbSelectObject->Down());
}

TEST(MainWindowModes, NamedCursorsAreOurPictures)
{
    TMainWindowRun run;
    const TFormMap& form = run.Form();
    EXPECT_EQ(form.Cursors.size(), 30);
    for (auto it = form.Cursors.begin(); it != form.Cursors.end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        EXPECT_EQ(it.value().shape(), Qt::BitmapCursor);
        const QImage picture = it.value().pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(picture.size(), QSize(32, 32));
        // The point that clicks is a drawn one: the cross's centre, the arrow's tip.
        const QRgb hot = picture.pixel(it.value().hotSpot());
        EXPECT_GT(qAlpha(hot), 0);
        EXPECT_LT(qGray(hot), 128);
    }
}

// Guards the crash where the licence window took the splash as its owner and was freed
// with it when the start timer closed the splash while the question was still open.
TEST(MainWindowStart, StartTimerClosesTheSplashUnderTheOpenLicenceWindow)
{
    TMainWindowRun::TOptions options;
    options.NewUser = true;
    options.RealLicenceWindow = true;
    TMainWindowRun run(options);
    TFormMap& form = run.Form();
    TModalScript script;
    script.Then("TFormFirstStart", [&form](QWidget* w) {
        form.TimerCloseStartTimer();   // fires while the window is open
        QCoreApplication::processEvents();
        Enter(w);
    });
    run.Start(false);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(form.StartMark1->Mark(), nullptr);
    EXPECT_EQ(MainMap->MapProp.Scale, 500);
    EXPECT_FALSE(run.TerminateAsked);
}
