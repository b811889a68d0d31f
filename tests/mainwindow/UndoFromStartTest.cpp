// Undo reaches back to the plan as it was opened or made new: the first command after
// an open, a new plan or the start can be undone like any other, with the undo button
// telling when nothing is left to undo; and no highlight of the plan before an undo or
// redo stays on the surface.
#include "MainWindowFixture.h"
#include "SurfaceTestSupport.h"

#include "dialogs/file/UnitNewMapDialog.h"
#include "mainwindow/VclTimer.h"
#include "mainwindow/file/FileDialogs.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

const QString Fixture = QStringLiteral(VELMORA_TEST_FIXTURES "/plans/full.500");

QByteArray Native(TGeoMap& map)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    map.WriteDataToDevice(buffer);
    return buffer.data();
}

void Open(TFormMap& form, const QString& file)
{
    FileDialogHooks().OpenFileName = [file](const QString&, const QString&, QString& fileName) {
        fileName = file;
        return true;
    };
    form.findChild<QAction*>(QStringLiteral("NOpenPlan"))->trigger();
    FileDialogHooks().OpenFileName = nullptr;
}

void NewPage(const QString& name) { MainMap->DoCommand(mcNewPage, TCommandParams().Text(name)); }

}  // namespace

// Guards against the undo button lighting up after the first command and then greying
// out without restoring anything: the state as opened was never kept.
TEST(UndoFromStart, TheFirstCommandAfterAnOpenIsUndoneToTheOpenedPlan)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    const QString file = run.Folder() + QStringLiteral("участок.500");
    ASSERT_TRUE(QFile::copy(Fixture, file));
    Open(form, file);
    ASSERT_EQ(DataFileName, QFileInfo(file).absoluteFilePath());
    const QByteArray opened = Native(*MainMap);
    EXPECT_FALSE(form.UndoButton->isEnabled());
    // Snapshot 0 is the opened file itself.
    EXPECT_EQ(FileBytes(form.UndoFolder() + QStringLiteral("/0.500")), FileBytes(file));

    NewPage(QStringLiteral("первый"));
    EXPECT_TRUE(form.UndoButton->isEnabled());
    EXPECT_NE(Native(*MainMap), opened);
    form.UndoButton->click();
    EXPECT_EQ(Native(*MainMap), opened);
    EXPECT_EQ(UndoStep, 0);
    EXPECT_FALSE(form.UndoButton->isEnabled()) << "nothing lies before the opened plan";
    EXPECT_TRUE(form.RedoButton->isEnabled());
    form.UndoButton->click();   // a press that finds nothing changes nothing
    EXPECT_EQ(UndoStep, 0);
    EXPECT_EQ(Native(*MainMap), opened);

    form.RedoButton->click();
    EXPECT_GE(MainMap->IndexOfPage(QStringLiteral("первый")), 0);
    EXPECT_TRUE(form.UndoButton->isEnabled());
    EXPECT_EQ(FileBytes(file), FileBytes(Fixture)) << "undo never touches the plan's file";
}

TEST(UndoFromStart, TheFirstCommandOfANewPlanAndOfTheStartIsUndoneToAnEmptyPlan)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    // The plan the program starts with.
    const QByteArray empty = Native(*MainMap);
    NewPage(QStringLiteral("1"));
    form.UndoButton->click();
    EXPECT_EQ(Native(*MainMap), empty);
    EXPECT_EQ(MainMap->GetPagesCount(), 0);
    EXPECT_FALSE(form.UndoButton->isEnabled());

    // A new plan from its window, at 1:1000 with a description.
    TModalScript script;
    script.Then("TFormNewMapDialog", [](QWidget* w) {
        auto* d = static_cast<TFormNewMapDialog*>(w);
        d->findChild<QPushButton*>(QStringLiteral("bt1000"))->click();
        d->Memo1->setPlainText(QStringLiteral("Съемка"));
        Enter(d->MaskEdit1);
    });
    form.findChild<QAction*>(QStringLiteral("NCreatePlan"))->trigger();
    ASSERT_TRUE(script.Done());
    const QByteArray made = Native(*MainMap);
    EXPECT_TRUE(QFileInfo::exists(form.UndoFolder() + QStringLiteral("/0.1000")));
    NewPage(QStringLiteral("1"));
    NewPage(QStringLiteral("2"));
    form.UndoButton->click();
    form.UndoButton->click();
    EXPECT_EQ(Native(*MainMap), made);
    EXPECT_EQ(MainMap->MapProp.Scale, 1000);
    EXPECT_EQ(MainMap->MapProp.Info, QStringLiteral("Съемка"));
    EXPECT_FALSE(form.UndoButton->isEnabled());
}

TEST(UndoFromStart, WithUndoOffOrAfterAnExchangeImportNoStartSnapshotIsKept)
{
    TMainWindowRun::TOptions options;
    options.CollectMessages = true;
    TMainWindowRun run(options);
    run.Start();
    TFormMap& form = run.Form();
    MainMap->UndoOn = 0;
    const QString file = run.Folder() + QStringLiteral("участок.500");
    ASSERT_TRUE(QFile::copy(Fixture, file));
    Open(form, file);
    EXPECT_FALSE(QFileInfo::exists(form.UndoFolder() + QStringLiteral("/0.500")));
    MainMap->UndoOn = 1;

    // The exchange import keeps the folder of the plan before it, and adds nothing.
    const QString fora = run.Folder() + QStringLiteral("съемка.txt");
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_TEST_FIXTURES "/import/fora.txt"), fora));
    const QStringList before = QDir(form.UndoFolder()).entryList(QDir::Files);
    DialogHooks().InpScale = [](int& scale, const QString&, const QString&) {
        scale = 500;
        return mrOk;
    };
    DialogHooks().ShowQ = [](const QString&, const QString&) { return mrYes; };
    form.LoadFile(fora);
    DialogHooks().InpScale = nullptr;
    DialogHooks().ShowQ = nullptr;
    ASSERT_EQ(DataFileName, QFileInfo(fora).absoluteFilePath());
    EXPECT_EQ(QDir(form.UndoFolder()).entryList(QDir::Files), before);
}

// Guards against the frame and node marks of a selected object staying where the object
// was before an undo or redo moved it.
TEST(UndoFromStart, UndoAndRedoLeaveNoHighlightOfTheOldPlan)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>",
                 "mcNewPoint=<0><0><ПКТ/ИН1;ИВ10><200><300><2><0><><0><0>"});
    ExactView(form);
    form.SetMouseMode(mmSelectObject, 0, true);
    MainMap->StrToComm(QStringLiteral("mcSetPointProp=<0><0><0><ПКТ/ИН1;ИВ10><210><330><2><0><><0><0>"));
    for (const bool undo : {true, false}) {
        SCOPED_TRACE(undo ? "undo" : "redo");
        const TPixelMouse mouse{form};
        const QPoint at = undo ? TSurfaceDriver(form).At(210, 330) : TSurfaceDriver(form).At(200, 300);
        mouse.Click(at);
        ASSERT_EQ(MainMap->FoundObjects.GetCount(), 1);
        form.tmSelectTimer();
        (undo ? form.UndoButton : form.RedoButton)->click();
        EXPECT_EQ(MainMap->FoundObjects.GetCount(), 0);
        EXPECT_EQ(form.ComboBoxSelectedObjects()->count(), 0);
        EXPECT_FALSE(form.tmSelect->Enabled());
        const QImage shown = form.DisplaySurf->Canvas.copy();
        form.tmSelectTimer();
        EXPECT_EQ(form.DisplaySurf->Canvas, shown) << "a tick still paints the old highlight";
        EXPECT_EQ(shown, PictureOnly(form)) << "a frame of the old plan stays";
        SaveGrab(*form.DisplaySurf, undo ? QStringLiteral("UndoClearsHighlight")
                                         : QStringLiteral("RedoClearsHighlight"));
    }
}
