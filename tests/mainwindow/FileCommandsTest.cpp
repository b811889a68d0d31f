// Save, Save As and autosave as the user meets them: which of them asks for a name, what
// is written, the caption and recent plans after, and the undo history that follows the
// document to its new name.
#include "MainWindowFixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QToolButton>
#include "mainwindow/VclTimer.h"
#include "foundation/ui/GsCatcher.h"
#include "dialogs/file/UnitNewMapDialog.h"
#include "foundation/ProgramDialogs.h"
#include "mainwindow/file/FileDialogs.h"
#include "support/ModalScript.h"
#include <QPlainTextEdit>
#include <QPushButton>
#include <QLineEdit>
#include "platform/CodePage.h"
#include <gtest/gtest.h>

namespace {

void NewPage(const QString& name)
{
    MainMap->DoCommand(mcNewPage, TCommandParams().Text(name));
}

// The save dialog answered by name (empty: cancelled), each showing counted.
struct TSaveDialog {
    explicit TSaveDialog(TMainWindowRun& run) : Run(run), Saved(MapHooks().SaveFileName)
    {
        MapHooks().SaveFileName = [this](const QString&, const QString& filter, QString& fileName) {
            ++Shown;
            Filter = filter;
            fileName = Answer.isEmpty() ? QString() : Run.Folder() + Answer;
            return !Answer.isEmpty();
        };
    }
    ~TSaveDialog() { MapHooks().SaveFileName = Saved; }
    TMainWindowRun& Run;
    decltype(TMapHooks::SaveFileName) Saved;
    QString Answer;
    QString Filter;
    int Shown = 0;
};

QString Caption(const QString& file)
{
    const QFileInfo info(file);
    return QStringLiteral("Free Velmorant 6 - план ") + info.fileName() + QStringLiteral(" [") +
           info.absolutePath() + QLatin1Char(']');
}

}  // namespace

TEST(FileCommands, SaveOfANewPlanAsksThenWritesOnlyAModifiedPlanWithoutAsking)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    TSaveDialog dialog(run);
    NewPage(QStringLiteral("1"));

    form.btSavePlanClick();   // cancelled
    EXPECT_EQ(dialog.Shown, 1);
    EXPECT_EQ(DataFileState, 0);
    EXPECT_TRUE(DataFileName.isEmpty());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Free Velmorant 6 - план новый"));
    EXPECT_TRUE(dialog.Filter.contains(QStringLiteral("Цифровой план масштаба 1:25000 (*.25000)")));
    EXPECT_TRUE(dialog.Filter.contains(QStringLiteral("*.dxf *.DXF")));

    dialog.Answer = QStringLiteral("участок.500");
    form.btSavePlanClick();
    EXPECT_EQ(dialog.Shown, 2);
    const QString file = run.Folder() + QStringLiteral("участок.500");
    ASSERT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(DataFileName, QFileInfo(file).absoluteFilePath());
    EXPECT_EQ(DataFileState, 2);
    EXPECT_EQ(form.windowTitle(), Caption(file));
    EXPECT_EQ(form.RecentPlans, QStringList{DataFileName});
    ASSERT_FALSE(form.NHistory->actions().isEmpty());
    EXPECT_EQ(form.NHistory->actions().last()->data().toString(), DataFileName);
    EXPECT_EQ(form.Unsaved.Count(), 0);

    // Unmodified: nothing written. Modified: written under the name, without a question.
    QFile::remove(file);
    form.btSavePlanClick();
    EXPECT_FALSE(QFileInfo::exists(file));
    NewPage(QStringLiteral("2"));
    form.btSavePlanClick();
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(dialog.Shown, 2);
    EXPECT_EQ(SavedCommandCount, int(CommandLog->size()));
    form.SaveAs();   // the same name again: listed once
    EXPECT_EQ(form.RecentPlans.size(), 1);
    EXPECT_EQ(form.NHistory->actions().size(), 1);
}

TEST(FileCommands, SaveAsOfAnUnnamedPlanTakesItsSnapshotsAlong)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    TSaveDialog dialog(run);
    NewPage(QStringLiteral("1"));
    NewPage(QStringLiteral("2"));
    const QString unnamed = form.UndoFolder();
    ASSERT_TRUE(QFileInfo::exists(unnamed + QStringLiteral("/2.500")));

    dialog.Answer = QStringLiteral("план.500");
    ASSERT_TRUE(form.SaveAs());
    EXPECT_FALSE(QFileInfo::exists(unnamed));
    EXPECT_TRUE(form.UndoFolder().endsWith(QStringLiteral(" план.500")));
    EXPECT_TRUE(QFileInfo::exists(form.UndoFolder() + QStringLiteral("/1.500")));
    EXPECT_TRUE(QFileInfo::exists(form.UndoFolder() + QStringLiteral("/2.500")));
    EXPECT_EQ(UndoStep, 2);
    EXPECT_TRUE(form.TimerAutosave->Enabled());

    form.UndoButton->click();
    EXPECT_EQ(MainMap->GetPagesCount(), 1);
    EXPECT_EQ(form.windowTitle(), Caption(DataFileName)) << "undo keeps the name";
}

TEST(FileCommands, SaveAsOfASavedPlanStartsItsUndoAtTheSavedState)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    TSaveDialog dialog(run);
    NewPage(QStringLiteral("1"));
    dialog.Answer = QStringLiteral("первый.500");
    ASSERT_TRUE(form.SaveAs());
    dialog.Answer = QStringLiteral("второй.500");
    ASSERT_TRUE(form.SaveAs());
    EXPECT_EQ(UndoStep, 0);
    EXPECT_TRUE(QFileInfo::exists(form.UndoFolder() + QStringLiteral("/0.500")));

    NewPage(QStringLiteral("2"));
    EXPECT_EQ(UndoStep, 1);
    form.UndoButton->click();
    EXPECT_EQ(UndoStep, 0);
    EXPECT_EQ(MainMap->GetPagesCount(), 1) << "back to the saved state";
}

TEST(FileCommands, SaveAsUnderAnotherScaleSetsItAndLeavesThePlanModified)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    TSaveDialog dialog(run);
    NewPage(QStringLiteral("1"));
    dialog.Answer = QStringLiteral("крупный.2000");
    ASSERT_TRUE(form.SaveAs());
    EXPECT_TRUE(QFileInfo::exists(run.Folder() + dialog.Answer));
    EXPECT_EQ(MainMap->MapProp.Scale, 2000);
    EXPECT_EQ(MainMap->Modified, 1);
    EXPECT_EQ(form.Unsaved.Count(), 1);
    EXPECT_EQ(CommandLog->last(), QStringLiteral("mcSetMapScale=<2000>"));
    // The scale's snapshot lies with the document, after the saved one.
    EXPECT_TRUE(QFileInfo::exists(form.UndoFolder() + QStringLiteral("/2.2000")));
}

TEST(FileCommands, NamesThatAreNotPlanFilesGoToSaveAs)
{
    TMainWindowRun::TOptions options;
    options.CollectMessages = true;
    TMainWindowRun run(options);
    run.Start();
    TFormMap& form = run.Form();
    TSaveDialog dialog(run);
    NewPage(QStringLiteral("1"));

    // A scale of 0 is refused before anything is written.
    dialog.Answer = QStringLiteral("ноль.0");
    EXPECT_FALSE(form.SaveAs());
    EXPECT_FALSE(QFileInfo::exists(run.Folder() + dialog.Answer));
    ASSERT_EQ(run.Messages.size(), 1u);
    EXPECT_TRUE(run.Messages[0].startsWith(QStringLiteral("Масштаб должен быть целым числом больше 0")));
    EXPECT_TRUE(DataFileName.isEmpty());

    // The text file of an import is the plan's name: Save must not write over it.
    const QString source = run.Folder() + QStringLiteral("съемка.txt");
    {
        QFile f(source);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("source");
    }
    DataFileName = source;
    DataFileState = 1;
    dialog.Answer.clear();
    form.btSavePlanClick();
    EXPECT_EQ(dialog.Shown, 2);
    EXPECT_TRUE(form.SavePlan(source) == false);
    EXPECT_EQ(dialog.Shown, 3);
    QFile f(source);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("source"));
}

TEST(FileCommands, AutosaveOfANeverSavedPlanAsksForANameAndSkipsAnUnmodifiedOne)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    TSaveDialog dialog(run);
    NewPage(QStringLiteral("1"));
    dialog.Answer = QStringLiteral("авто.500");
    form.TimerAutosave->Fire();
    EXPECT_EQ(dialog.Shown, 1);
    const QString file = run.Folder() + dialog.Answer;
    EXPECT_TRUE(QFileInfo::exists(file));
    QFile::remove(file);
    form.TimerAutosave->Fire();
    EXPECT_FALSE(QFileInfo::exists(file)) << "an unmodified plan is not written";
    NewPage(QStringLiteral("2"));
    form.TimerAutosave->Fire();
    EXPECT_EQ(dialog.Shown, 1) << "a named plan is saved without asking";
    EXPECT_EQ(MainMap->Modified, 0);
}

TEST(FileCommands, SaveAsByExtensionExportsDxfWithoutRenamingThePlan)
{
    TMainWindowRun::TOptions options;
    options.Arguments = {QStringLiteral(VELMORA_TEST_FIXTURES) + QStringLiteral("/plans/full.500")};
    TMainWindowRun run(options);
    run.Start();
    const QString opened = DataFileName;
    TFormMap& form = run.Form();
    TSaveDialog dialog(run);
    std::vector<QString> errors;
    const auto saved = SetApplicationExceptionHandler(
        [&](QObject*, std::exception_ptr e) { errors.push_back(CaughtExceptionMessage(e)); });
    // With the coordinate grid on, the export of this plan stops at the grid's element
    // limit: left to the exporter.
    MainMap->ShowCoordCross = 0;
    dialog.Answer = QStringLiteral("чертеж.DXF");
    EXPECT_FALSE(form.SaveAs());
    SetApplicationExceptionHandler(saved);
    EXPECT_TRUE(errors.empty()) << (errors.empty() ? std::string() : errors[0].toStdString());
    EXPECT_TRUE(QFileInfo::exists(run.Folder() + dialog.Answer));
    dialog.Answer = QStringLiteral("прочее.doc");
    EXPECT_FALSE(form.SaveAs());
    EXPECT_FALSE(QFileInfo::exists(run.Folder() + dialog.Answer));
    EXPECT_EQ(DataFileName, opened);
    EXPECT_EQ(DataFileState, 1);
}

namespace {

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// What an open that did not happen must leave as it was.
struct TDocument {
    QString Name, Caption, UndoFolder;
    int Pages, Step;
    QStringList Recent;
    static TDocument Of(TFormMap& form)
    {
        return {DataFileName, form.windowTitle(), form.UndoFolder(), MainMap->GetPagesCount(),
                UndoStep, form.RecentPlans};
    }
    bool operator==(const TDocument&) const = default;
};

}  // namespace

TEST(FileCommands, AnOpenThatIsDeclinedOrFailsLeavesTheDocumentAsItWas)
{
    TMainWindowRun::TOptions options;
    options.CollectMessages = true;
    TMainWindowRun run(options);
    run.Start();
    TFormMap& form = run.Form();
    NewPage(QStringLiteral("1"));
    NewPage(QStringLiteral("2"));
    std::vector<QString> errors;
    const auto saved = SetApplicationExceptionHandler(
        [&](QObject*, std::exception_ptr e) { errors.push_back(CaughtExceptionMessage(e)); });
    int questions = 0, layerInputs = 0;
    DialogHooks().ShowQ = [&](const QString&, const QString&) { ++questions; return mrNo; };
    DialogHooks().InpStr = [&](QString& value, const QString& caption, const QString&) {
        ++layerInputs;
        EXPECT_EQ(caption, QStringLiteral("Новый слой"));
        EXPECT_EQ(value, QStringLiteral("Общий"));
        return mrCancel;
    };
    const TDocument before = TDocument::Of(form);

    const QString old = run.Folder() + QStringLiteral("старый.500");
    WriteBytes(old, EncodeCodePage(QStringLiteral("[Исполнитель]\r\nИванов\r\n")));
    const QString other = run.Folder() + QStringLiteral("не план.500");
    WriteBytes(other, QByteArray("something else\r\n"));
    for (const QString& file : {old, other, run.Folder() + QStringLiteral("нет.500")}) {
        SCOPED_TRACE(file.toStdString());
        form.LoadFile(file);
        const TDocument now = TDocument::Of(form);
        EXPECT_TRUE(now == before) << now.Name.toStdString() << " " << now.Pages << " " << now.Step
                                   << " " << now.UndoFolder.toStdString() << " " << errors.size();
        EXPECT_TRUE(QFileInfo(before.UndoFolder + QStringLiteral("/2.500")).exists());
    }
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(layerInputs, 1);
    EXPECT_EQ(errors.size(), 1u) << "the missing file is reported";
    form.UndoButton->click();
    EXPECT_EQ(MainMap->GetPagesCount(), 1) << "undo still walks the shown plan's history";
    SetApplicationExceptionHandler(saved);
}

TEST(FileCommands, OpenLoadsHereForANewPlanAndElsewhereStartsAnotherInstance)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    const QString plan = QStringLiteral(VELMORA_TEST_FIXTURES) + QStringLiteral("/plans/full.500");
    QString answer = plan;
    FileDialogHooks().OpenFileName = [&](const QString&, const QString& filter, QString& fileName) {
        EXPECT_TRUE(filter.contains(QStringLiteral("Файл данных формата ФОРА ПД (*.txt *.TXT)")));
        fileName = answer;
        return true;
    };
    form.btOpenPlanClick();
    EXPECT_EQ(DataFileName, QFileInfo(plan).absoluteFilePath());
    EXPECT_EQ(DataFileState, 1);
    EXPECT_EQ(UndoStep, 0);
    EXPECT_TRUE(QFileInfo(form.UndoFolder()).isDir());
    EXPECT_TRUE(form.UndoFolder().endsWith(QStringLiteral(" full.500")));
    EXPECT_EQ(form.windowTitle(), Caption(plan));
    EXPECT_EQ(form.RecentPlans, QStringList{DataFileName});
    EXPECT_TRUE(form.TimerAutosave->Enabled());
    const int pages = MainMap->GetPagesCount();

    answer = run.Folder() + QStringLiteral("другой.500");
    form.btOpenPlanClick();
    ASSERT_EQ(run.Started.size(), 1u);
    EXPECT_EQ(run.Started[0].Arguments, QStringList{answer});
    EXPECT_EQ(DataFileName, QFileInfo(plan).absoluteFilePath()) << "this window keeps its plan";
    EXPECT_EQ(MainMap->GetPagesCount(), pages);
    FileDialogHooks().OpenFileName = nullptr;
}

TEST(FileCommands, RecentPlansOpenByTheirFullNameAndAMissingOneStays)
{
    TMainWindowRun::TOptions options;
    options.CollectMessages = true;
    TMainWindowRun run(options);
    run.Start();
    TFormMap& form = run.Form();
    // A name with "[" and "&" would split wrongly from the caption.
    const QString odd = run.Folder() + QStringLiteral("участок [1] & 2.500");
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_TEST_FIXTURES) + QStringLiteral("/plans/full.500"), odd));
    DataFileName = odd;
    form.AddPlanToHistory();
    DataFileName = run.Folder() + QStringLiteral("пропавший.500");
    form.AddPlanToHistory();
    DataFileName.clear();
    const QList<QAction*> items = form.NHistory->actions();
    ASSERT_EQ(items.size(), 2);
    // "&" doubled: the menu shows it as written, not as a mnemonic.
    EXPECT_EQ(items[0]->text(), QStringLiteral("участок [1] && 2.500 [") + QFileInfo(odd).absolutePath() + QLatin1Char(']'));

    items[1]->trigger();
    EXPECT_EQ(run.Messages.size(), 1u);
    EXPECT_EQ(form.RecentPlans.size(), 2);
    EXPECT_TRUE(DataFileName.isEmpty());

    items[0]->trigger();
    EXPECT_EQ(DataFileName, QFileInfo(odd).absoluteFilePath());
    EXPECT_GT(MainMap->GetPagesCount(), 0);

    form.findChild<QAction*>(QStringLiteral("NClearHistory"))->trigger();
    EXPECT_TRUE(form.RecentPlans.isEmpty());
    EXPECT_TRUE(form.NHistory->actions().isEmpty());
}

TEST(FileCommands, ANewPlanFromItsWindowThenCommandsSaveAsAndUndo)
{
    TMainWindowRun::TOptions options;
    options.CollectMessages = true;
    TMainWindowRun run(options);
    run.Start();
    TFormMap& form = run.Form();
    NewPage(QStringLiteral("старый"));

    // Esc and a scale without digits change nothing.
    {
        TModalScript script;
        script.Then("TFormNewMapDialog", [](QWidget* w) { Esc(w); })
            .Then("TFormNewMapDialog", [](QWidget* w) {
                static_cast<TFormNewMapDialog*>(w)->MaskEdit1->setText(QStringLiteral("1:0"));
                Enter(w);
            });
        form.btCreatePlanClick();
        form.btCreatePlanClick();
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(MainMap->GetPagesCount(), 1);
    ASSERT_EQ(run.Messages.size(), 1u);
    EXPECT_TRUE(run.Messages[0].startsWith(QStringLiteral("Масштаб должен быть целым числом больше 0")));

    TModalScript script;
    script.Then("TFormNewMapDialog", [](QWidget* w) {
        auto* d = static_cast<TFormNewMapDialog*>(w);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Новый план"));
        EXPECT_EQ(ScaleOfNewMapText(d->MaskEdit1->text()), 500);
        d->findChild<QPushButton*>(QStringLiteral("bt1000"))->click();
        d->Memo1->setPlainText(QStringLiteral("Съемка участка"));
        SaveGrab(*d, QStringLiteral("NewMapDialog"));
        Enter(d->MaskEdit1);
    });
    form.findChild<QAction*>(QStringLiteral("NCreatePlan"))->trigger();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(MainMap->MapProp.Scale, 1000);
    EXPECT_EQ(MainMap->MapProp.Info, QStringLiteral("Съемка участка"));
    EXPECT_EQ(MainMap->GetPagesCount(), 0);
    EXPECT_TRUE(DataFileName.isEmpty());
    EXPECT_EQ(DataFileState, 0);
    EXPECT_EQ(UndoStep, 0);
    EXPECT_FALSE(form.UndoButton->isEnabled());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Free Velmorant 6 - план новый"));

    MainMap->StrToComm(QStringLiteral("mcNewPage=<Лист 1>"));
    MainMap->StrToComm(QStringLiteral("mcNewPage=<Лист 2>"));
    TSaveDialog dialog(run);
    dialog.Answer = QStringLiteral("новый.1000");
    form.findChild<QAction*>(QStringLiteral("NSavePlan"))->trigger();
    const QString file = run.Folder() + dialog.Answer;
    ASSERT_TRUE(QFileInfo::exists(file));
    form.UndoButton->click();
    EXPECT_EQ(MainMap->GetPagesCount(), 1);

    // The saved file reads back as it was saved.
    TGeoMap* shown = MainMap;
    TGeoMap other;
    MainMap = &other;
    other.DoCommand(mcOpenMap, TCommandParams().Text(file).Text(QStringLiteral("New"))
                                   .Text(QStringLiteral("True")).Text(QString()));
    MainMap = shown;
    EXPECT_EQ(other.GetPagesCount(), 2);
    EXPECT_EQ(other.MapProp.Scale, 1000);
    EXPECT_EQ(other.MapProp.Info, QStringLiteral("Съемка участка"));
}

TEST(FileCommands, OpenWithFilterOpensOnlyWhenTheFilterWindowSaysDone)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    const QString plan = QStringLiteral(VELMORA_TEST_FIXTURES) + QStringLiteral("/plans/full.500");
    int asked = 0;
    FileDialogHooks().OpenFileName = [&](const QString&, const QString&, QString& fileName) {
        ++asked;
        fileName = plan;
        return true;
    };
    for (const TModalResult answer : {mrCancel, mrOk}) {
        TScopedProgramDialogHooks hooks;
        ProgramDialogHooks().OpenFilter = [&](TOpenFilter& filter) {
            filter.LoadTexts = 0;
            return answer;
        };
        form.NOpenPlanUseFilterClick();
    }
    FileDialogHooks().OpenFileName = nullptr;
    EXPECT_EQ(asked, 1) << "a cancelled filter opens nothing";
    EXPECT_EQ(DataFileName, QFileInfo(plan).absoluteFilePath());
    EXPECT_EQ(MainMap->OpenFilter.LoadTexts, 0) << "the filter of the open stays until the next reset";
}
