// The document's state as the file commands move it: new, opened and saved plans under
// every command, the older and exchange formats, rasters beside their plan, printing
// and the recovery of an earlier run.
#include "MainWindowFixture.h"

#include "controls/TextListBox.h"
#include "dialogs/file/UnitRestore.h"
#include "foundation/ProgramDialogs.h"
#include "mainwindow/VclTimer.h"
#include "mainwindow/file/FileDialogs.h"
#include "support/ModalScript.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

void NewPage(const QString& name) { MainMap->DoCommand(mcNewPage, TCommandParams().Text(name)); }

QString Caption(const QString& file)
{
    if (file.isEmpty())
        return QStringLiteral("Free Velmorant 6 - план новый");
    const QFileInfo info(file);
    return QStringLiteral("Free Velmorant 6 - план ") + info.fileName() + QStringLiteral(" [") +
           info.absolutePath() + QLatin1Char(']');
}

QByteArray Bytes(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Puts the program's working folder back, whatever a test did to it.
struct TKeepCurrentFolder {
    QString Saved = QDir::currentPath();
    ~TKeepCurrentFolder() { QDir::setCurrent(Saved); }
};

// The windows a file command may ask, each answered and counted.
struct TAnswers {
    explicit TAnswers(TMainWindowRun& run) : Run(run)
    {
        MapHooks().SaveFileName = [this](const QString&, const QString&, QString& fileName) {
            ++SaveDialogs;
            fileName = SaveAs;
            return !SaveAs.isEmpty();
        };
        FileDialogHooks().OpenFileName = [this](const QString&, const QString&, QString& fileName) {
            ++OpenDialogs;
            fileName = Open;
            return !Open.isEmpty();
        };
    }
    ~TAnswers() { FileDialogHooks().OpenFileName = nullptr; }
    TMainWindowRun& Run;
    QString SaveAs, Open;
    int SaveDialogs = 0, OpenDialogs = 0;
};

}  // namespace

// Every file command in every document state: which window it asks, whether another
// instance starts, and the state and caption it leaves.
TEST(DocumentState, EachCommandInEachStateAsksStartsAndLeavesWhatItShould)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    TAnswers answers(run);
    const QString source = run.Folder() + QStringLiteral("исходный.500");
    const QString other = run.Folder() + QStringLiteral("другой.500");
    const QString saved = run.Folder() + QStringLiteral("сохранен.500");
    NewPage(QStringLiteral("Лист"));
    answers.SaveAs = source;
    ASSERT_TRUE(form.SaveAs());
    ASSERT_TRUE(QFile::copy(source, other));
    const QByteArray original = Bytes(source);

    enum TCommand { New, Open, Save, SaveAs, Autosave };
    struct Row {
        int state;
        TCommand command;
        int newWindows, openDialogs, saveDialogs, started;
        int stateAfter;
        const QString* captionOf;   // null: a new plan
    };
    const Row rows[] = {
        {0, New, 1, 0, 0, 0, 0, nullptr},   {0, Open, 0, 1, 0, 0, 1, &other},
        {0, Save, 0, 0, 1, 0, 2, &saved},   {0, SaveAs, 0, 0, 1, 0, 2, &saved},
        {0, Autosave, 0, 0, 1, 0, 2, &saved},
        {1, New, 1, 0, 0, 0, 0, nullptr},   {1, Open, 0, 1, 0, 1, 1, &source},
        {1, Save, 0, 0, 0, 0, 2, &source},  {1, SaveAs, 0, 0, 1, 0, 2, &saved},
        {1, Autosave, 0, 0, 0, 0, 2, &source},
        {2, New, 1, 0, 0, 0, 0, nullptr},   {2, Open, 0, 1, 0, 1, 2, &source},
        {2, Save, 0, 0, 0, 0, 2, &source},  {2, SaveAs, 0, 0, 1, 0, 2, &saved},
        {2, Autosave, 0, 0, 0, 0, 2, &source},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "state " << row.state << ", command " << row.command);
        // The state, with one unsaved change.
        {
            QFile f(source);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(original);
        }
        if (row.state == 0) {
            TModalScript script;
            script.Then("TFormNewMapDialog", [](QWidget* w) { Enter(w); });
            form.btCreatePlanClick();
            ASSERT_TRUE(script.Done());
        } else {
            form.LoadFile(source);
            if (row.state == 2) {
                NewPage(QStringLiteral("Сохраненный"));
                form.btSavePlanClick();
            }
        }
        ASSERT_EQ(DataFileState, row.state);
        NewPage(QStringLiteral("Новый"));
        QFile::remove(saved);
        answers.SaveAs = saved;
        answers.Open = other;
        answers.SaveDialogs = answers.OpenDialogs = 0;
        run.Started.clear();
        const QByteArray before = Bytes(source);

        int newWindows = 0;
        switch (row.command) {
        case New: {
            TModalScript script;
            script.Then("TFormNewMapDialog", [&](QWidget* w) {
                ++newWindows;
                Enter(w);
            });
            form.findChild<QAction*>(QStringLiteral("NCreatePlan"))->trigger();
            EXPECT_TRUE(script.Done());
            break;
        }
        case Open:
            form.findChild<QAction*>(QStringLiteral("NOpenPlan"))->trigger();
            break;
        case Save:
            form.findChild<QAction*>(QStringLiteral("NSavePlan"))->trigger();
            break;
        case SaveAs:
            form.findChild<QAction*>(QStringLiteral("NSavePlanAs"))->trigger();
            break;
        case Autosave:
            form.TimerAutosave->Fire();
            break;
        }
        EXPECT_EQ(newWindows, row.newWindows);
        EXPECT_EQ(answers.OpenDialogs, row.openDialogs);
        EXPECT_EQ(answers.SaveDialogs, row.saveDialogs);
        EXPECT_EQ(int(run.Started.size()), row.started);
        EXPECT_EQ(DataFileState, row.stateAfter);
        EXPECT_EQ(form.windowTitle(), Caption(row.captionOf ? *row.captionOf : QString()));
        const bool writesSource = row.state != 0 && (row.command == Save || row.command == Autosave);
        EXPECT_EQ(Bytes(source) != before, writesSource);
        EXPECT_EQ(QFileInfo::exists(saved), row.captionOf == &saved);
    }
}

TEST(DocumentState, AnExchangeImportAsksForANameAtSaveAndLeavesItsSourceAlone)
{
    TMainWindowRun::TOptions options;
    options.CollectMessages = true;   // objects whose layer is not found are told
    TMainWindowRun run(options);
    run.Start();
    TFormMap& form = run.Form();
    TAnswers answers(run);
    const QString fora = run.Folder() + QStringLiteral("съемка.txt");
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_TEST_FIXTURES) + QStringLiteral("/import/fora.txt"), fora));
    const QByteArray source = Bytes(fora);
    const QString undoFolder = form.UndoFolder();
    int scales = 0;
    DialogHooks().InpScale = [&](int& scale, const QString& caption, const QString&) {
        EXPECT_EQ(caption, QStringLiteral("Ввод Масштаба"));
        ++scales;
        scale = 1000;
        return mrOk;
    };
    TModalResult answer = mrYes;
    DialogHooks().ShowQ = [&](const QString&, const QString&) { return answer; };
    QString layerOffered;
    DialogHooks().InpStr = [&](QString& value, const QString&, const QString&) {
        layerOffered = value;
        return mrOk;
    };

    form.LoadFile(fora);
    EXPECT_EQ(scales, 1);
    EXPECT_EQ(MainMap->MapProp.Scale, 1000);
    EXPECT_GT(MainMap->GetPagesCount(), 0);
    EXPECT_EQ(DataFileName, QFileInfo(fora).absoluteFilePath());
    EXPECT_EQ(DataFileState, 1);
    EXPECT_FALSE(form.TimerAutosave->Enabled());
    EXPECT_EQ(form.UndoFolder().section(QLatin1Char(' '), 0, 0), undoFolder.section(QLatin1Char(' '), 0, 0))
        << "no undo folder of its own";
    EXPECT_EQ(form.windowTitle(), Caption(fora));

    answers.SaveAs.clear();
    form.btSavePlanClick();
    EXPECT_EQ(answers.SaveDialogs, 1) << "Save asks for a name";
    form.TimerAutosave->Fire();
    EXPECT_EQ(Bytes(fora), source);

    // Declined: every object into one layer, "Фора" offered.
    answer = mrNo;
    form.LoadFile(fora);
    EXPECT_EQ(layerOffered, QStringLiteral("Фора"));
    ASSERT_GT(MainMap->GetPagesCount(), 0);
    EXPECT_EQ(MainMap->Pages.At(0)->Layers.GetCount(), 1);
    EXPECT_EQ(MainMap->Pages.At(0)->Layers.At(0)->Name, QStringLiteral("Фора"));
}

TEST(DocumentState, AnOlderFormatPlanWithAutomaticLayersOpensAsAPlanFile)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    const QString old = run.Folder() + QStringLiteral("старый.500");
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_TEST_FIXTURES) + QStringLiteral("/import/old.500"), old));
    int questions = 0;
    DialogHooks().ShowQ = [&](const QString& caption, const QString&) {
        EXPECT_EQ(caption, QStringLiteral("Автоопределение слоев"));
        ++questions;
        return mrYes;
    };
    form.LoadFile(old);
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(DataFileName, QFileInfo(old).absoluteFilePath());
    EXPECT_EQ(DataFileState, 1);
    EXPECT_GT(MainMap->GetPagesCount(), 0);
    EXPECT_TRUE(form.TimerAutosave->Enabled());
    EXPECT_TRUE(form.UndoFolder().endsWith(QStringLiteral(" старый.500")));
    EXPECT_TRUE(QFileInfo(form.UndoFolder()).isDir());
    EXPECT_EQ(UndoStep, 0);
    EXPECT_EQ(form.RecentPlans, QStringList{DataFileName});
}

// A raster named without a folder was looked for in the program's working folder, so
// a plan opened from anywhere else lost its rasters, and so did every undo.
TEST(DocumentState, RastersNamedWithoutAFolderAreFoundBesideThePlan)
{
    TKeepCurrentFolder keep;
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    const QString folder = run.Folder() + QStringLiteral("участок");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString fixtures = QStringLiteral(VELMORA_TEST_FIXTURES) + QStringLiteral("/plans/");
    const QString plan = folder + QStringLiteral("/full.500");
    ASSERT_TRUE(QFile::copy(fixtures + QStringLiteral("full.500"), plan));
    ASSERT_TRUE(QFile::copy(fixtures + QStringLiteral("raster.bmp"), folder + QStringLiteral("/raster.bmp")));
    ASSERT_TRUE(QDir::setCurrent(QDir::tempPath()));

    // An open that did not happen (the import's questions declined) leaves the working
    // folder as it was.
    form.LoadFile(folder + QStringLiteral("/нет.txt"));
    EXPECT_EQ(QDir::currentPath(), QDir::tempPath());

    form.LoadFile(plan);
    auto rastr = [] { return MainMap->Pages.At(0)->Rastrs.At(0); };
    ASSERT_EQ(rastr()->FileName, QStringLiteral("raster.bmp"));
    EXPECT_EQ(rastr()->Loaded, 1);
    const int sheets = MainMap->GetPagesCount();
    NewPage(QStringLiteral("Еще 1"));
    NewPage(QStringLiteral("Еще 2"));
    form.UndoButton->click();
    ASSERT_EQ(MainMap->GetPagesCount(), sheets + 1);
    EXPECT_EQ(rastr()->Loaded, 1) << "undo finds it too";
}

TEST(DocumentState, PrintTakesItsSettingsOnlyFromOkAndAsksTheAreaNext)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    FileDialogHooks().PrinterPageMm = [] { return QSizeF(190.4, 276.6); };
    // The page goes to a file named in the print dialog, never to the machine's printer.
    ProgramPrinter().setOutputFileName(QString());
    ProgramPrinter().setOutputFormat(QPrinter::PdfFormat);
    MapHooks().PrintDialog = [&run](QPrinter& printer, QWidget*) {
        printer.setOutputFileName(run.Folder() + QStringLiteral("print.pdf"));
        return true;
    };
    struct Given {
        int scale;
        TPixelDepth depth;
        Extended kx, ky;
    };
    std::vector<Given> given;
    TModalResult answer = mrCancel;
    TScopedProgramDialogHooks hooks;
    ProgramDialogHooks().PrintScale = [&](int& scale, TPixelDepth& depth, Extended& kx, Extended& ky) {
        given.push_back({scale, depth, kx, ky});
        scale = 2000;
        depth = 1;
        kx = 1.01L;
        ky = 0.99L;
        return answer;
    };
    const TMouseMode mode = form.MouseMode;
    form.findChild<QAction*>(QStringLiteral("NPrintPlan"))->trigger();
    EXPECT_EQ(MainMap->PrinterScale, 500);
    EXPECT_EQ(MainMap->PrintBits, 3);
    EXPECT_EQ(MainMap->PrintKx, 1.0L);
    EXPECT_EQ(form.MouseMode, mode);

    answer = mrOk;
    form.PanelButtons.value(QStringLiteral("Печать"))->click();
    FileDialogHooks().PrinterPageMm = nullptr;
    ASSERT_EQ(given.size(), 2u);
    EXPECT_EQ(given[1].scale, 500);
    EXPECT_EQ(given[1].depth, 3);
    EXPECT_EQ(given[1].kx, 1.0L);
    EXPECT_EQ(MainMap->PageWidthMm, 190);
    EXPECT_EQ(MainMap->PageHeightMm, 277);
    EXPECT_EQ(MainMap->PrinterScale, 2000);
    EXPECT_EQ(MainMap->PrintBits, 1);
    EXPECT_EQ(MainMap->PrintKx, 1.01L);
    EXPECT_EQ(MainMap->PrintKy, 0.99L);
    EXPECT_EQ(form.MouseMode, mmPrintArea);
}

TEST(DocumentState, ThePrintCaptionItemAsksTheCaptionAndSwitchesIt)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    QAction* item = form.findChild<QAction*>(QStringLiteral("NPrintCaption"));
    ASSERT_TRUE(item->isChecked());
    EXPECT_EQ(MainMap->PrintHeaderOn, 1);
    std::vector<QString> asked;
    TModalResult answer = mrOk;
    DialogHooks().InpStr = [&](QString& value, const QString& caption, const QString& text) {
        asked.push_back(caption + QStringLiteral(": ") + text + QStringLiteral(": ") + value);
        value = QStringLiteral("Участок 5");
        return answer;
    };
    item->trigger();
    EXPECT_EQ(MainMap->PrintHeaderOn, 0);
    EXPECT_TRUE(asked.empty());
    item->trigger();
    EXPECT_EQ(MainMap->PrintHeaderOn, 1);
    EXPECT_EQ(MainMap->PrintTitle, QStringLiteral("Участок 5"));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], QStringLiteral("Заголовок печати: Введите заголовок,который будет печататься "
                                       "в начале листа: "));
    item->trigger();
    answer = mrCancel;
    MainMap->PrintTitle = QStringLiteral("Прежний");
    item->trigger();
    EXPECT_EQ(MainMap->PrintTitle, QStringLiteral("Прежний")) << "a cancelled input keeps it";
    EXPECT_EQ(MainMap->PrintHeaderOn, 1) << "the switch is on all the same";

    int setups = 0;
    MapHooks().PrintDialog = [&](QPrinter& printer, QWidget*) {
        EXPECT_EQ(&printer, &ProgramPrinter());
        ++setups;
        return false;
    };
    form.findChild<QAction*>(QStringLiteral("NPrintOptions"))->trigger();
    EXPECT_EQ(setups, 1);
}

TEST(DocumentState, RecoveryReopensASnapshotOfTheRunAndKeepsTheDocument)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    NewPage(QStringLiteral("1"));
    NewPage(QStringLiteral("2"));
    const QString document = QFileInfo(form.UndoFolder()).fileName();
    const int unsaved = form.Unsaved.Count();
    TModalScript script;
    script.Then("TFormRestore", [&](QWidget* w) {
        auto* window = static_cast<TFormRestore*>(w);
        EXPECT_EQ(window->ComboBox1->currentText(), QStringLiteral("test-pc"));
        EXPECT_EQ(window->ComboBox2->currentText(), QStringLiteral("tester"));
        EXPECT_EQ(window->ComboBox3->currentText(), QStringLiteral("05.03.2024"));
        EXPECT_EQ(window->ComboBox4->currentText(), QStringLiteral("09.30.00"));
        const auto found = window->TextListBox1->findItems(document, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        found[0]->setSelected(true);
        window->TextListBox1->OnClick();
        const auto files = window->TextListBox2->findItems(QStringLiteral("1.500"), Qt::MatchExactly);
        ASSERT_EQ(files.size(), 1);
        window->TextListBox2->setCurrentItem(files[0]);
        SaveGrab(*window, QStringLiteral("RestoreInRun"));
        window->BitBtn1->click();
    });
    form.findChild<QAction*>(QStringLiteral("N49"))->trigger();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(MainMap->GetPagesCount(), 1);
    EXPECT_EQ(DataFileState, 1);
    EXPECT_EQ(UndoStep, 0);
    EXPECT_TRUE(DataFileName.isEmpty());
    EXPECT_EQ(form.windowTitle(), Caption(QString())) << "the caption stays that of a new plan";
    EXPECT_EQ(form.Unsaved.Count(), unsaved + 1);

    // Closed without a file: nothing reopened.
    NewPage(QStringLiteral("3"));
    TModalScript none;
    none.Then("TFormRestore", [](QWidget* w) { static_cast<TFormRestore*>(w)->BitBtn1->click(); });
    form.N49Click();
    EXPECT_TRUE(none.Done());
    EXPECT_EQ(MainMap->GetPagesCount(), 2);
}

TEST(DocumentState, TheFileMenuListsItsCommandsInOrder)
{
    TMainWindowRun run;
    run.Start();
    QStringList items;
    for (QAction* a : run.Form().NFile->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    const QStringList expected = {
        QStringLiteral("Создать план"), QStringLiteral("Открыть план"), QStringLiteral("Сохранить план"),
        QStringLiteral("Сохранить план как..."), QStringLiteral("-"),
        QStringLiteral("Открыть план, используя фильтр"), QStringLiteral("Добавить файл"),
        QStringLiteral("Сохранить в файл..."), QStringLiteral("Добавить из папки..."),
        QStringLiteral("Сохранить в папку..."), QStringLiteral("-"), QStringLiteral("Восстановление данных"),
        QStringLiteral("-"), QStringLiteral("История"), QStringLiteral("Очистить историю"), QStringLiteral("-"),
        QStringLiteral("Печать плана"), QStringLiteral("Опции печати"), QStringLiteral("Печатать заголовок")};
    // Other commands (the raster sheets, the import) may stand between them.
    qsizetype at = 0;
    for (const QString& item : expected) {
        SCOPED_TRACE(item.toStdString());
        at = items.indexOf(item, at);
        ASSERT_GE(at, 0) << items.join(QStringLiteral(" | ")).toStdString();
        ++at;
    }
    run.Form().NFile->popup(QPoint(0, 0));
    SaveGrab(*run.Form().NFile, QStringLiteral("FileMenu"));
    run.Form().NFile->hide();
}
