// The first hour of a new user with the main window: the tool palette's first click, the
// file dialogs' first filter and the extension they add, clicks and drags that move
// nothing, the questions a new user is asked, the session's end and the transfer
// program that is not there.
#include "FixtureSetup.h"
#include "SurfaceTestSupport.h"

#include "controls/ExSpeedButton.h"
#include "foundation/ProgramDialogs.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/VclTimer.h"
#include "mainwindow/file/FileDialogs.h"
#include "platform/TextFiles.h"
#include "semantics/signs/Symbols.h"
#include "support/ModalScript.h"
#include "support/WidgetEvents.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSessionManager>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// The palette's mode buttons that are down, by name.
QStringList DownModeButtons(TFormInstr1& p)
{
    QStringList names;
    for (TExSpeedButton* b : {p.sbSelectView, p.sbSelectObject, p.sbMoveView, p.sbPoint, p.sbLine,
                              p.sbPolygon, p.sbText, p.sbOtm})
        if (b->Down())
            names << b->objectName();
    return names;
}

// The main window's menu item of that name.
QAction* MenuItem(TFormMap& form, const char* name)
{
    QAction* item = form.findChild<QAction*>(QString::fromLatin1(name));
    EXPECT_NE(item, nullptr) << name;
    return item;
}

// The file dialogs shown for real for the life of the object; the hooks come back after.
class TRealFileDialogs {
public:
    TRealFileDialogs() : SavedFile(FileDialogHooks()), SavedSave(MapHooks().SaveFileName)
    {
        FileDialogHooks().OpenFileName = nullptr;
        FileDialogHooks().OpenFileNames = nullptr;
        MapHooks().SaveFileName = nullptr;
    }
    ~TRealFileDialogs()
    {
        FileDialogHooks() = SavedFile;
        MapHooks().SaveFileName = SavedSave;
    }

private:
    TFileDialogHooks SavedFile;
    decltype(TMapHooks::SaveFileName) SavedSave;
};

}  // namespace

// Guards the fault where the palette showed "Выбор вида" pressed while the mode was
// "режим не выбран", and the focus timer's first tick, about 100 ms after the first click
// on the palette, put the zoom mode back while the clicked button stayed down.
TEST(FirstHour, ThePaletteAgreesWithTheModeFromTheStartAndItsFirstClickHolds)
{
    struct Case {
        const char* button;
        TMouseMode mode;
    };
    const Case cases[] = {
        {"sbLine", mmCreateLine},
        {"sbSelectObject", mmSelectObject},
        {"sbMoveView", mmMoveView},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        TMainWindowRun run;
        run.Start();
        TFormMap& form = run.Form();
        TFormInstr1& palette = *form.FormInstr1;
        ASSERT_TRUE(palette.FirstActivation);
        EXPECT_EQ(form.MouseMode, mmSelectView);
        EXPECT_EQ(DownModeButtons(palette), QStringList{QStringLiteral("sbSelectView")});
        EXPECT_EQ(form.NMouseMode->title(), QStringLiteral("режим: Выбор вида [0]"));

        // The press activates the palette (the window manager's doing), the release
        // clicks; then the focus timer runs for real.
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&palette, &activate);
        auto* button = palette.findChild<TExSpeedButton*>(QString::fromLatin1(c.button));
        ASSERT_NE(button, nullptr);
        ClickMiddle(button);
        ASSERT_TRUE(palette.Timer1->Enabled());
        for (int i = 0; i < 100 && palette.Timer1->Enabled(); ++i)
            QTest::qWait(10);
        ASSERT_FALSE(palette.Timer1->Enabled()) << "the focus timer never fired";
        EXPECT_FALSE(palette.FirstActivation);

        EXPECT_EQ(form.MouseMode, c.mode);
        EXPECT_EQ(DownModeButtons(palette), QStringList{QString::fromLatin1(c.button)});
        SaveGrab(palette, QStringLiteral("palette-first-click-") + QString::fromLatin1(c.button));
    }
}

// A main window that somehow has no mode yet when the palette is first activated gets
// the zoom mode with its button, not a mode without a button.
TEST(FirstHour, TheFirstTickGivesAWindowWithoutAModeTheZoomModeAndItsButton)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    TFormInstr1& palette = *form.FormInstr1;
    form.SetMouseMode(mmNone, 0, true);
    ASSERT_TRUE(DownModeButtons(palette).isEmpty());
    palette.FirstActivation = true;
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&palette, &activate);
    palette.Timer1->Fire();
    EXPECT_EQ(form.MouseMode, mmSelectView);
    EXPECT_EQ(DownModeButtons(palette), QStringList{QStringLiteral("sbSelectView")});
}

// Guards the fault where the open and save dialogs started on "1:100 (*.100)", so a
// folder of .500 plans looked empty.
TEST(FirstHour, OpenAndSaveDialogsStartOnThePlansOfScale500)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    const TRealFileDialogs real;
    const QString plans500 = QStringLiteral("Цифровой план масштаба 1:500 (*.500)");
    for (const char* item : {"NOpenPlan", "NSavePlanAs"}) {
        SCOPED_TRACE(item);
        QString shown;
        TModalScript script;
        script.Then("QFileDialog", [&](QWidget* w) {
            auto* dialog = static_cast<QFileDialog*>(w);
            shown = dialog->selectedNameFilter();
            EXPECT_EQ(dialog->nameFilters().size(), item[1] == 'O' ? 12 : 13);
            Esc(w);
        });
        MenuItem(form, item)->trigger();
        EXPECT_TRUE(script.Done());
        EXPECT_EQ(shown, plans500);
    }
    EXPECT_TRUE(run.Messages.empty());
}

TEST(FirstHour, FileDialogFiltersNameTheirExtension)
{
    struct Case {
        const char* filter;
        const char* suffix;
    };
    const Case cases[] = {
        {"JPEG (*.jpg)", "jpg"},
        {"Растровый (Bitmap) (*.bmp *.BMP)", "bmp"},
        {"Цифровой план масштаба 1:500 (*.500)", "500"},
        {"Все файлы (*)", ""},
        {"Все (*.*)", ""},
        {"Все доступные (*.100 *.200)", ""},
        {"без шаблона", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(FilterSuffix(QString::fromUtf8(c.filter)), QString::fromUtf8(c.suffix));
    }
    EXPECT_EQ(InitialNameFilter({QStringLiteral("BMP (*.bmp)"), QStringLiteral("JPEG (*.jpg)")}),
              QStringLiteral("BMP (*.bmp)"));
    EXPECT_EQ(InitialNameFilter({}), QString());
}

// Guards the fault where "Сохранить растровый планшет" offered the sheet's code ("033А01")
// as the name, the dialog added no extension and the export refused the name: "Формат
// файла … не поддерживается".
TEST(FirstHour, TheRasterSheetsOfferedNameTakesTheChosenFiltersExtension)
{
    TMainWindowRun run(MessagesKept());
    run.Start();
    TFormMap& form = run.Form();
    const TRealFileDialogs real;
    TScopedProgramDialogHooks program;
    // The user gives a sheet of the test's nomenclature in place of the offered code.
    ProgramDialogHooks().InpMaskStr = [](QString& code, const QString&, const QString&) {
        code = QStringLiteral("105А01");
        return mrOk;
    };
    int exportWindows = 0;
    ProgramDialogHooks().SaveRastr = [&](int&, Extended&, TPixelDepth&, Extended, Extended, Extended, Extended) {
        ++exportWindows;
        return mrCancel;
    };
    struct Case {
        int filterSteps;   // presses of the down arrow in the filter list
        const char* name;
    };
    const Case cases[] = {{0, "105А01.bmp"}, {1, "105А01.jpg"}, {2, "105А01.tif"}};
    // The offered name has no folder: the dialog starts in the current one.
    const QString previousFolder = QDir::currentPath();
    QDir::setCurrent(run.Folder());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString chosen;
        TModalScript script;
        script.Then("QFileDialog", [&](QWidget* w) {
            auto* dialog = static_cast<QFileDialog*>(w);
            QObject::connect(dialog, &QFileDialog::fileSelected, [&](const QString& f) { chosen = f; });
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            ASSERT_NE(types, nullptr);
            for (int i = 0; i < c.filterSteps; ++i)
                QTest::keyClick(types, Qt::Key_Down);
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            EXPECT_EQ(name->text(), QStringLiteral("105А01"));
            QTest::keyClick(name, Qt::Key_Return);
        });
        MenuItem(form, "NSaveRasterPlanshet")->trigger();
        EXPECT_TRUE(script.Done());
        EXPECT_EQ(QFileInfo(chosen).fileName(), QString::fromUtf8(c.name));
    }
    QDir::setCurrent(previousFolder);
    EXPECT_EQ(exportWindows, 3);
    EXPECT_TRUE(run.Messages.empty()) << run.Messages.front().toStdString();
}

namespace {

// A plan of one object of each kind the select mode moves, far apart, with one redo
// step waiting; the select mode on.
class NothingMoved : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.Start();
        TFormMap& form = Run.Form();
        AddExactView(form);
        RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>",
                     "mcNewPoint=<0><0><ТОЧ><100><100><2><0><><0><0>",
                     "mcNewText=<0><0><Река><100><400><0><1><*ОСНОВНОЙ><0><><0><0><0000><0>",
                     "mcNewRastr=<0><подложка.bmp><300><600><400><700><1><фильтр><90><80><70><150><1>",
                     "mcNewLine=<0><0><ЛЭП><><0><0><2><><[{400}{100}{0}{-1}{0}{-1}{0}{0}]"
                     "[{400}{300}{0}{-1}{0}{-1}{0}{0}]>",
                     "mcNewPolygon=<0><0><ЗДН><[{450}{450}{-1}{0}{0}{0}{0}][{450}{550}{-1}{0}{0}{0}{0}]"
                     "[{550}{550}{-1}{0}{0}{0}{0}]><2><><0><0><><-1>",
                     "mcNewPage=<лишний>"});
        form.UndoButton->click();
        ASSERT_TRUE(form.RedoButton->isEnabled());
        AddExactView(form);
        const QSize size = form.DisplaySurf->size();
        MainMap->Draw(size.width(), size.height(), 3, ddScreen);
        form.SetMouseMode(mmSelectObject, 0, true);
    }

    TFormMap& Form() { return Run.Form(); }
    QPoint At(Extended x, Extended y) { return TSurfaceDriver(Form()).At(x, y); }
    // The selection dropped, then a click at the plan point that finds one object.
    void Choose(Extended x, Extended y, int kind)
    {
        Form().btClearSelectedClick();
        MainMap->SelectObjectKind = kind;
        TPixelMouse{Form()}.Click(At(x, y));
        ASSERT_EQ(Form().FoundCount->text(), QStringLiteral("1"));
    }

    TMainWindowRun Run;
    TScopedProgramDialogHooks Scope;
};

}  // namespace

// Guards the fault where a plain click on the chosen point, text or raster sent its
// unchanged property command: the plan counted as modified, the redo steps were dropped
// and the exit question asked about a plan nobody had changed.
TEST_F(NothingMoved, AClickOnTheChosenObjectSendsNothing)
{
    struct Case {
        const char* kind;
        Extended x, y;
        int selectKind;   // the selection filter: 1 rasters only
    };
    const Case cases[] = {{"точка", 100, 100, 0}, {"надпись", 100, 401, 0}, {"растр", 350, 650, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        ASSERT_NO_FATAL_FAILURE(Choose(c.x, c.y, c.selectKind));
        const int journal = int(CommandLog->size());
        const int unsaved = Form().Unsaved.Count();
        const auto modified = MainMap->Modified;
        TPixelMouse{Form()}.Click(At(c.x, c.y));
        EXPECT_EQ(int(CommandLog->size()), journal);
        EXPECT_EQ(Form().Unsaved.Count(), unsaved);
        EXPECT_EQ(MainMap->Modified, modified);
        EXPECT_TRUE(Form().RedoButton->isEnabled());
        EXPECT_EQ(Form().FoundCount->text(), QStringLiteral("1"));   // still chosen
    }
}

// A node, a line or a polygon dragged away and back to where the press was.
TEST_F(NothingMoved, ADragThatEndsWhereItBeganSendsNothing)
{
    struct Case {
        const char* what;
        Extended chooseX, chooseY;   // a click that chooses the object
        Extended x, y;               // the press
    };
    const Case cases[] = {
        {"узел линии", 400, 100, 400, 300},
        {"линия", 400, 100, 400, 200},
        {"узел полигона", 500, 500, 550, 550},
        {"полигон", 500, 500, 480, 520},
        {"точка", 100, 100, 100, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NO_FATAL_FAILURE(Choose(c.chooseX, c.chooseY, 0));
        const int journal = int(CommandLog->size());
        const TPixelMouse mouse{Form()};
        const QPoint p = At(c.x, c.y);
        mouse.Move(p);
        ASSERT_NE(Form().SelectedPart, 0);
        mouse.Press(p);
        mouse.Move(p + QPoint(12, 7), Qt::LeftButton);
        mouse.Move(p, Qt::LeftButton);
        mouse.Release(p);
        EXPECT_EQ(CommandLog->mid(journal).join(QLatin1Char('\n')), QString());
        EXPECT_TRUE(Form().RedoButton->isEnabled());
    }
    // A drag that does move still sends its command.
    ASSERT_NO_FATAL_FAILURE(Choose(100, 100, 0));
    const int journal = int(CommandLog->size());
    const TPixelMouse mouse{Form()};
    mouse.Move(At(100, 100));
    mouse.Press(At(100, 100));
    mouse.Move(At(100, 110), Qt::LeftButton);
    mouse.Release(At(100, 110));
    ASSERT_EQ(CommandLog->size(), journal + 1);
    EXPECT_TRUE(CommandLog->last().startsWith(Decimal("mcSetPointProp=<0><0><0><ТОЧ><100,00><110,00>")))
        << CommandLog->last().toStdString();
}

// Guards the fault where the two questions started at 0 and nothing set them, so a new
// user was never asked about unknown work semantics or signs and 0 was saved at exit.
TEST(FirstHour, ANewUserIsAskedAboutUnknownWorkSemanticsAndSigns)
{
    struct Case {
        const char* who;
        bool newUser;
    };
    for (const Case& c : {Case{"новый пользователь", true}, Case{"без файла настроек", false}}) {
        SCOPED_TRACE(c.who);
        TMainWindowRun::TOptions options;
        options.NewUser = c.newUser;
        options.AskUnknown = true;   // the program's own defaults
        TMainWindowRun run(options);
        run.Start();
        const QString settings =
            run.Folder() + QStringLiteral("Пользователи/test-pc/tester/Настройки.wri");
        ASSERT_FALSE(QFileInfo::exists(settings));
        EXPECT_EQ(MainMap->Symbols->AskUnknownWorkSem, 1);
        EXPECT_EQ(MainMap->Symbols->AskUnknownSymbol, 1);
        run.Finish();
        const QStringList lines = ReadTextFileLines(settings);
        for (const char* key : {"@Спрашивать о неизвестной рабочей семантике",
                                "@Спрашивать о неизвестном условном знаке"}) {
            const int at = int(lines.indexOf(QString::fromUtf8(key)));
            ASSERT_GE(at, 0) << key;
            EXPECT_EQ(lines.value(at + 1), QStringLiteral("1")) << key;
        }
    }
}

// Guards the fault where the session's end went unanswered: the program neither closed
// nor wrote its settings, and the close that follows asked about unsaved changes.
TEST(FirstHour, TheSessionsEndClosesWithoutAQuestionAsOnExit)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    MainMap->DoCommand(mcNewPage, TCommandParams().Text(QStringLiteral("Лист")));
    ASSERT_GT(form.Unsaved.Count(), 0);
    const QString user = run.Folder() + QStringLiteral("Пользователи/test-pc/tester/");
    const QString session = SessionFolder;
    ASSERT_TRUE(QFileInfo(session).isDir());

    auto* manager = qApp->findChild<QSessionManager*>();
    ASSERT_NE(manager, nullptr);
    emit qApp->commitDataRequest(*manager);

    EXPECT_TRUE(run.ExitQuestions.empty());
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(run.TerminateAsked);
    EXPECT_TRUE(QFileInfo::exists(user + QStringLiteral("Настройки.wri")));
    EXPECT_TRUE(QFileInfo::exists(user + QStringLiteral("Последние файлы.wri")));
    EXPECT_TRUE(QFileInfo::exists(user + QStringLiteral("Последний штамп.wri")));
    // The undo snapshot of the unsaved command keeps the run folder for the restore.
    EXPECT_TRUE(QFileInfo(session).isDir());
    // A close that follows, as the session manager's end brings, asks nothing either.
    form.close();
    EXPECT_TRUE(run.ExitQuestions.empty());
}

// Guards the fault where "Импорт Sokkia SDR с COM порта ..." did nothing at all when the
// transfer program was missing or could not start.
TEST(FirstHour, TheTransferProgramMissingOrNotStartingIsNamed)
{
    struct Case {
        const char* what;
        const char* content;   // null: no file
        bool executable;
        bool starts;
        const char* message;   // empty: none
    };
    const Case cases[] = {
        {"нет программы", nullptr, false, true, "Не найдена программа приема данных с COM порта"},
        {"не программа", "#!/bin/sh\n", false, true, "Нет права на запуск программы приема данных с COM порта"},
        {"не запускается", "#!/bin/sh\n", true, false,
         "Не удается запустить программу приема данных с COM порта"},
        {"запускается", "#!/bin/sh\n", true, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TMainWindowRun run(MessagesKept());
        run.Start();
        const QString program = run.Folder() + QStringLiteral("comport");
        if (c.content) {
            QFile file(program);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.content);
            file.close();
            QFile::Permissions p = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
            if (c.executable)
                p |= QFileDevice::ExeOwner;
            file.setPermissions(p);
        }
        const bool starts = c.starts;
        MapHooks().Launch = [&run, starts](const QString& file, const QString&, const QString&, int) {
            run.Launched.push_back(file);
            return starts;
        };
        MenuItem(run.Form(), "SDRCOM1")->trigger();
        const QString expected = QString::fromUtf8(c.message);
        if (expected.isEmpty()) {
            EXPECT_TRUE(run.Messages.empty());
            ASSERT_EQ(run.Launched.size(), 1u);
            EXPECT_EQ(QFileInfo(run.Launched[0]).fileName(), QStringLiteral("comport"));
        } else {
            ASSERT_EQ(run.Messages.size(), 1u);
            EXPECT_TRUE(run.Messages[0].startsWith(QStringLiteral("Импорт Sokkia SDR с COM порта: ") + expected))
                << run.Messages[0].toStdString();
            EXPECT_TRUE(run.Messages[0].endsWith(QStringLiteral("comport\""))) << run.Messages[0].toStdString();
        }
    }
}

// Guards the fault where "Весь план в окне" fitted the objects' coordinates only: a street
// name placed at the plan's edge lay partly outside the fitted view.
TEST(FirstHour, TheWholePlanInTheWindowShowsEveryTextWhole)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>", "mcNewPoint=<0><0><ТОЧ><0><0><2><0><><0><0>",
                 "mcNewText=<0><0><улица Длинная Береговая><5><300><0><1><*ОСНОВНОЙ><0><><0><0><0000><0>"});
    ClickMiddle(form.FormInstr1->sbAllView);
    const RGText& street = *MainMap->Pages.At(0)->Layers.At(0)->Texts.At(0);
    ASSERT_TRUE(street.FrameValid);
    const QSize size = form.DisplaySurf->size();
    for (const TGeoPoint& corner : street.Frame) {
        int x = 0, y = 0;
        MainMap->GeoToScr(size.height(), corner.X, corner.Y, x, y);
        EXPECT_TRUE(QRect(QPoint(0, 0), size).contains(x, y))
            << double(corner.X) << " " << double(corner.Y) << " at " << x << ", " << y;
    }
    EXPECT_GT(double(street.Frame[0].Y) + 1, 300.0) << "the text's frame reaches east of its anchor";
    SaveImage(PictureOnly(form), QStringLiteral("whole-plan-texts"));
    // The plan's own extents, as the views tables show them, stay those of its objects.
    MainMap->MaxMinCoord();
    Extended x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    MainMap->GetExtents(x1, y1, x2, y2);
    EXPECT_EQ(double(x1), 0.0);
    EXPECT_EQ(double(y1), 0.0);
    EXPECT_EQ(double(x2), 5.0);
    EXPECT_EQ(double(y2), 300.0);
}
