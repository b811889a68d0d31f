// Plan files merged into the shown plan and chosen sheets written to files of their own:
// the windows they ask, the files they write and the document they leave alone.
#include "MainWindowFixture.h"

#include "controls/TextListBox.h"
#include "dialogs/file/UnitMultiSelectPage.h"
#include "mainwindow/VclTimer.h"
#include "mainwindow/file/FileDialogs.h"
#include "support/ModalScript.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

void NewPage(const QString& name) { MainMap->DoCommand(mcNewPage, TCommandParams().Text(name)); }

QStringList SheetNames(TGeoMap& map)
{
    QStringList names;
    for (int i = 0; i < map.GetPagesCount(); ++i)
        names << map.Pages.At(i)->Name;
    return names;
}

// The sheets of a plan file as another plan reads them.
QStringList SheetsOfFile(const QString& file)
{
    // The document state is the run's, whatever plan opens: it is put back.
    TGeoMap* shown = MainMap;
    const std::uint8_t state = DataFileState;
    TGeoMap other;
    MainMap = &other;
    other.DoCommand(mcOpenMap, TCommandParams().Text(file).Text(QStringLiteral("New"))
                                   .Text(QStringLiteral("True")).Text(QString()));
    MainMap = shown;
    DataFileState = state;
    return SheetNames(other);
}

// The sheet window answered by selecting rows, then "Готово".
void ChooseSheets(TModalScript& script, std::vector<int> rows, QStringList* shown = nullptr,
                  const char* picture = nullptr)
{
    script.Then("TFormMultiSelectPage", [rows, shown, picture](QWidget* w) {
        auto* window = static_cast<TFormMultiSelectPage*>(w);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Выбор сохраняемых листов"));
        for (int row : rows)
            window->TextListBox1->item(row)->setSelected(true);
        if (shown)
            for (int i = 0; i < window->TextListBox1->count(); ++i)
                *shown << window->TextListBox1->item(i)->text();
        if (picture)
            SaveGrab(*window, QString::fromUtf8(picture));
        window->btDone->click();
    });
}

}  // namespace

TEST(SheetFiles, SanitizeSheetFileNameTurnsEveryForbiddenCharacterIntoATilde)
{
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {{"A/B:1", "A~B~1"},
                          {"<>?\\|!\"*/:", "~~~~~~~~~~"},
                          {"Лист 1 (север).2", "Лист 1 (север).2"},
                          {"", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        QString text = QString::fromUtf8(c.in);
        SanitizeSheetFileName(text);
        EXPECT_EQ(text, QString::fromUtf8(c.out));
    }
}

TEST(SheetFiles, SaveToAFolderWritesEachChosenSheetUnderItsSafeName)
{
    TMainWindowRun::TOptions options;
    options.CollectMessages = true;
    TMainWindowRun run(options);
    run.Start();
    TFormMap& form = run.Form();
    NewPage(QStringLiteral("A/B:1"));
    NewPage(QStringLiteral("Второй"));
    NewPage(QStringLiteral("третий"));
    NewPage(QStringLiteral("A:B/1"));
    const QString folder = run.Folder() + QStringLiteral("листы");
    ASSERT_TRUE(QDir().mkpath(folder));
    int asked = 0;
    FileDialogHooks().SelectFolder = [&](const QString&, QString& chosen) {
        ++asked;
        chosen = folder;
        return true;
    };
    QStringList lines;
    TModalScript script;
    ChooseSheets(script, {0, 2, 3}, &lines, "MultiSelectPage");
    form.findChild<QAction*>(QStringLiteral("N59"))->trigger();
    FileDialogHooks().SelectFolder = nullptr;
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("A/B:1")));

    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("A~B~1.500"), QStringLiteral("третий.500")}));
    EXPECT_EQ(SheetsOfFile(folder + QStringLiteral("/A~B~1.500")), QStringList{QStringLiteral("A/B:1")});
    EXPECT_EQ(SheetsOfFile(folder + QStringLiteral("/третий.500")), QStringList{QStringLiteral("третий")});
    // A sheet whose safe name another took does not replace that one's file.
    ASSERT_EQ(run.Messages.size(), 1u);
    EXPECT_TRUE(run.Messages[0].startsWith(QStringLiteral("Лист не сохранен: Лист \"A:B/1\"")));
    EXPECT_TRUE(DataFileName.isEmpty());
    EXPECT_EQ(DataFileState, 0);
}

TEST(SheetFiles, SaveToAFileWritesTheChosenSheetsOnlyIntoAPlanFile)
{
    TMainWindowRun::TOptions options;
    options.CollectMessages = true;
    TMainWindowRun run(options);
    run.Start();
    TFormMap& form = run.Form();
    NewPage(QStringLiteral("Первый"));
    NewPage(QStringLiteral("Второй"));
    NewPage(QStringLiteral("Третий"));
    QString filter;
    MapHooks().SaveFileName = [&](const QString&, const QString& offered, QString& fileName) {
        filter = offered;
        fileName = run.SaveAsName;
        return !fileName.isEmpty();
    };

    run.SaveAsName = run.Folder() + QStringLiteral("выбор.500");
    {
        TModalScript script;
        ChooseSheets(script, {0, 2});
        form.findChild<QAction*>(QStringLiteral("NSaveToFile"))->trigger();
        EXPECT_TRUE(script.Done());
    }
    EXPECT_FALSE(filter.contains(QStringLiteral("DXF")));
    EXPECT_TRUE(filter.contains(QStringLiteral("Все доступные (*.100 *.200 *.500")));
    EXPECT_EQ(SheetsOfFile(run.SaveAsName), (QStringList{QStringLiteral("Первый"), QStringLiteral("Третий")}));

    // Another extension is refused before any sheet is asked for.
    run.SaveAsName = run.Folder() + QStringLiteral("выбор.dxf");
    form.NSaveToFileClick();
    EXPECT_FALSE(QFileInfo::exists(run.SaveAsName));
    ASSERT_EQ(run.Messages.size(), 1u);
    EXPECT_EQ(run.Messages[0], QStringLiteral("Лист можно сохранить только в формате Велмора: "));

    // A name without an extension takes the plan's scale.
    run.SaveAsName = run.Folder() + QStringLiteral("без расширения");
    {
        TModalScript script;
        ChooseSheets(script, {1});
        form.NSaveToFileClick();
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(SheetsOfFile(run.SaveAsName + QStringLiteral(".500")), QStringList{QStringLiteral("Второй")});

    // No sheet chosen: nothing written over the name.
    run.SaveAsName = run.Folder() + QStringLiteral("пусто.500");
    {
        TModalScript script;
        ChooseSheets(script, {});
        form.NSaveToFileClick();
        EXPECT_TRUE(script.Done());
    }
    EXPECT_FALSE(QFileInfo::exists(run.SaveAsName));
    EXPECT_TRUE(DataFileName.isEmpty()) << "the document keeps its name";
    EXPECT_EQ(DataFileState, 0);
}

TEST(SheetFiles, MergeTakesPlanFilesOfBothFormatsAndRefusesOthers)
{
    TMainWindowRun::TOptions options;
    options.CollectMessages = true;
    TMainWindowRun run(options);
    run.Start();
    TFormMap& form = run.Form();
    NewPage(QStringLiteral("Свой"));
    const QString fixtures = QStringLiteral(VELMORA_TEST_FIXTURES);
    const QString plan = fixtures + QStringLiteral("/plans/full.500");
    const QString old = fixtures + QStringLiteral("/import/old.500");
    const QString fora = fixtures + QStringLiteral("/import/fora.txt");
    const QStringList planSheets = SheetsOfFile(plan);
    ASSERT_FALSE(planSheets.isEmpty());
    int questions = 0;
    DialogHooks().ShowQ = [&](const QString&, const QString& text) {
        EXPECT_EQ(text, QStringLiteral("Включить автоопределение слоев при загрузке?"));
        ++questions;
        return mrYes;
    };

    QString offered;
    FileDialogHooks().OpenFileName = [&](const QString&, const QString& filter, QString& fileName) {
        offered = filter;
        fileName = plan;
        return true;
    };
    form.findChild<QAction*>(QStringLiteral("NAddFile"))->trigger();
    FileDialogHooks().OpenFileName = nullptr;
    EXPECT_FALSE(offered.contains(QStringLiteral("ФОРА")));
    EXPECT_EQ(SheetNames(*MainMap), QStringList{QStringLiteral("Свой")} + planSheets);
    EXPECT_TRUE(form.TimerAutosave->Enabled());

    // Several at once: the text file is refused, the others still merge.
    FileDialogHooks().OpenFileNames = [&](const QString&, const QString&, QStringList& fileNames) {
        fileNames = {fora, old};
        return true;
    };
    form.findChild<QAction*>(QStringLiteral("N61"))->trigger();
    FileDialogHooks().OpenFileNames = nullptr;
    EXPECT_EQ(run.Messages, std::vector<QString>{QStringLiteral("Добавить можно только файлы формата велмора: ")});
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(SheetNames(*MainMap).last(), QStringLiteral("old.500"));
    EXPECT_TRUE(DataFileName.isEmpty());
    EXPECT_EQ(DataFileState, 0);

    // A numbered file that is no plan is told too, and adds nothing.
    const QString other = run.Folder() + QStringLiteral("чужой.500");
    {
        QFile f(other);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("something else\r\n");
    }
    const int sheets = MainMap->GetPagesCount();
    form.MergeFile(other);
    EXPECT_EQ(run.Messages.size(), 2u);
    EXPECT_EQ(MainMap->GetPagesCount(), sheets);
}
