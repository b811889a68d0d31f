// File-name and folder edits: names with blanks, the dialog's start and result.
#include "controls/BrowseFolder.h"
#include "controls/ComboEdit.h"
#include "support/ModalScript.h"
#include "support/WidgetEvents.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs the file dialog's stand-in: records what it was given, answers `chosen`.
struct FileDialogScript {
    std::vector<RFileDialog> Seen;
    QString Chosen;
    bool Accept = true;

    FileDialogScript()
    {
        TFilenameEdit::DialogHook = [this](RFileDialog& d) {
            Seen.push_back(d);
            if (Accept)
                d.FileName = Chosen;
            return Accept;
        };
    }
    ~FileDialogScript() { TFilenameEdit::DialogHook = nullptr; }
};

struct FolderDialogScript {
    std::vector<QString> OpenedAt;
    QString Chosen;

    FolderDialogScript()
    {
        TDirectoryEdit::DialogHook = [this](TDirectoryEdit&, QString& folder) {
            OpenedAt.push_back(folder);
            folder = Chosen;
            return true;
        };
    }
    ~FolderDialogScript() { TDirectoryEdit::DialogHook = nullptr; }
};

}  // namespace

TEST(FilenameEdit, FileNameWithABlankIsQuoted)
{
    TFilenameEdit edit;
    int changes = 0;
    edit.OnChange = [&] { ++changes; };
    edit.SetFileName(QStringLiteral("/home/user/мой план.500"));
    EXPECT_EQ(edit.text(), QStringLiteral("\"/home/user/мой план.500\""));
    EXPECT_EQ(edit.FileName(), QStringLiteral("/home/user/мой план.500"));
    EXPECT_EQ(changes, 1);

    edit.SetFileName(QStringLiteral("\"/a b/c\""));
    EXPECT_EQ(edit.text(), QStringLiteral("\"/a b/c\"")) << "already quoted";
    edit.SetFileName(QStringLiteral("/plain/name.wri"));
    EXPECT_EQ(edit.text(), QStringLiteral("/plain/name.wri"));
}

TEST(FilenameEdit, ReadingGivesTheExistingFileOrTheFirstWord)
{
    QTemporaryDir dir;
    const QString spaced = dir.filePath("with blank.txt");
    QFile f(spaced);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    TFilenameEdit edit;
    edit.setText(spaced);
    EXPECT_EQ(edit.FileName(), spaced);
    edit.setText(QStringLiteral("/nowhere/first second"));
    EXPECT_EQ(edit.FileName(), QStringLiteral("/nowhere/first"));
}

TEST(FilenameEdit, InvalidNameRaisesAndChangesNothing)
{
    TFilenameEdit edit;
    edit.SetFileName(QStringLiteral("/keep.txt"));
    try {
        edit.SetFileName(QStringLiteral("a|b.txt"));
        ADD_FAILURE() << "no exception";
    } catch (const EComboEditError& e) {
        EXPECT_EQ(e.Message, QStringLiteral("Invalid file name - a|b.txt"));
    }
    EXPECT_EQ(edit.text(), QStringLiteral("/keep.txt"));
    edit.SetFileName(QString());
    EXPECT_TRUE(edit.text().isEmpty());
}

TEST(FilenameEdit, DialogStartsAtTheFileAndLeavesItsFolderForNextTime)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("plans");
    QDir(dir.path()).mkdir("other");
    FileDialogScript script;
    script.Chosen = dir.filePath("other/new name.wri");

    TFilenameEdit edit;
    edit.SetFilter(QStringLiteral("файл номенклатур|*.wri"));
    edit.SetDialogTitle(QStringLiteral("Выбор файла номенклатур планшетов"));
    edit.setText(dir.filePath("plans/list.wri"));
    int buttonClicks = 0;
    edit.OnButtonClick = [&] { ++buttonClicks; };
    SendKey(&edit, Qt::Key_Down, Qt::AltModifier);

    ASSERT_EQ(script.Seen.size(), 1u);
    EXPECT_EQ(buttonClicks, 1);
    EXPECT_EQ(script.Seen[0].InitialDir, dir.filePath("plans"));
    EXPECT_EQ(script.Seen[0].FileName, dir.filePath("plans/list.wri"));
    EXPECT_EQ(script.Seen[0].Title, QStringLiteral("Выбор файла номенклатур планшетов"));
    EXPECT_EQ(edit.text(), QLatin1Char('"') + dir.filePath("other/new name.wri") + QLatin1Char('"'));
    EXPECT_EQ(edit.InitialDir(), dir.filePath("other"));
}

TEST(FilenameEdit, BeforeDialogCanCancelAndAfterDialogCanChange)
{
    FileDialogScript script;
    script.Chosen = QStringLiteral("/x/chosen");
    TFilenameEdit edit;
    edit.OnBeforeDialog = [](QString&, bool& action) { action = false; };
    edit.ButtonClick();
    EXPECT_TRUE(script.Seen.empty());

    edit.OnBeforeDialog = nullptr;
    edit.OnAfterDialog = [](QString& name, bool&) { name = QStringLiteral("/x/renamed"); };
    edit.ButtonClick();
    EXPECT_EQ(edit.text(), QStringLiteral("/x/renamed"));

    script.Accept = false;
    edit.OnAfterDialog = nullptr;
    edit.ButtonClick();
    EXPECT_EQ(edit.text(), QStringLiteral("/x/renamed")) << "a cancelled dialog changes nothing";
}

TEST(FilenameEdit, ReadOnlyEditIgnoresItsButton)
{
    FileDialogScript script;
    TFilenameEdit edit;
    edit.SetReadOnly(true);
    EXPECT_TRUE(edit.isReadOnly());
    SendKey(&edit, Qt::Key_Down, Qt::AltModifier);
    edit.Button()->Click();
    EXPECT_TRUE(script.Seen.empty());
}

TEST(DirectoryEdit, EmptyEditOpensAtInitialDirOrTheRoot)
{
    QTemporaryDir dir;
    FolderDialogScript script;
    script.Chosen = dir.path();
    struct Case {
        QString initialDir;
        QString text;
        QString openedAt;
    };
    const Case cases[] = {
        {dir.path(), QString(), dir.path()},
        {QString(), QString(), QStringLiteral("/")},
        {dir.filePath("missing"), QString(), QStringLiteral("/")},
        {QString(), dir.filePath("missing"), QStringLiteral("/")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.initialDir.toStdString() + " | " + c.text.toStdString());
        TDirectoryEdit edit;
        edit.SetInitialDir(c.initialDir);
        edit.setText(c.text);
        script.OpenedAt.clear();
        edit.ButtonClick();
        ASSERT_EQ(script.OpenedAt.size(), 1u);
        EXPECT_EQ(script.OpenedAt[0], c.openedAt);
        EXPECT_EQ(edit.text(), dir.path());
        EXPECT_EQ(edit.InitialDir(), dir.path());
    }
}

TEST(DirectoryEdit, MultipleDirsAppends)
{
    FolderDialogScript script;
    script.Chosen = QStringLiteral("/tmp");
    TDirectoryEdit edit;
    edit.SetMultipleDirs(true);
    edit.setText(QStringLiteral("/usr"));
    edit.ButtonClick();
    EXPECT_EQ(edit.text(), QStringLiteral("/usr;/tmp"));
}

TEST(ComboEdit, ButtonWidthAndMinimumHeight)
{
    TFilenameEdit edit;
    EXPECT_EQ(edit.ButtonWidth(), 21) << "the folder glyph is 14 wide; the button keeps 21";
    edit.SetButtonWidth(20);
    EXPECT_EQ(edit.ButtonWidth(), 20);
    edit.SetButtonWidth(500);
    EXPECT_EQ(edit.ButtonWidth(), 20) << "not below the edit's width: ignored";
    EXPECT_EQ(edit.Glyph().size(), QSize(14, 12));
    EXPECT_EQ(edit.GlyphKind(), gkDefault);
    edit.SetButtonWidth(0);
    EXPECT_EQ(edit.ButtonWidth(), 0);

    edit.resize(edit.width(), 3);
    EXPECT_EQ(edit.height(), edit.MinimumEditHeight());
}

TEST(ComboEdit, DirectInputMakesTheFieldReadOnlyButKeepsTheButton)
{
    int clicks = 0;
    TCustomComboEdit edit;
    edit.OnButtonClick = [&] { ++clicks; };
    edit.SetDirectInput(false);
    EXPECT_TRUE(edit.isReadOnly());
    SendKey(&edit, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);
    edit.SetDirectInput(true);
    EXPECT_FALSE(edit.isReadOnly());
}

TEST(DirectoryEdit, ShellKindOpensTheFolderBrowserWithItsPrompt)
{
    QTemporaryDir dir;
    std::vector<QString> prompts;
    BrowseForFolderHook = [&](QString& folder, const QString& prompt) {
        prompts.push_back(prompt);
        folder = dir.path() + QLatin1Char('/');
        return true;
    };
    TDirectoryEdit edit;
    edit.SetDialogKind(dkWin32);
    edit.SetDialogText(QStringLiteral("Папка планов"));
    edit.ButtonClick();
    BrowseForFolderHook = nullptr;
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0], QStringLiteral("Папка планов"));
    EXPECT_EQ(edit.text(), dir.path()) << "the chosen folder without its final separator";
}

TEST(BrowseFolder, CancelLeavesTheFolder)
{
    BrowseForFolderHook = [](QString& folder, const QString&) {
        folder = QStringLiteral("/elsewhere");
        return false;
    };
    QString folder = QStringLiteral("/start");
    EXPECT_FALSE(BrowseForFolderDlg(folder, QStringLiteral("?"), 0));
    EXPECT_EQ(folder, QStringLiteral("/start"));
    BrowseForFolderHook = nullptr;
}

// Guards the toolkit's English titles ("Find Directory", "Browse") on the file and folder
// dialogs the edits open.
TEST(ComboEdit, EveryDialogOpensWithARussianTitle)
{
    TFilenameEdit open;
    TFilenameEdit save;
    save.SetDialogKind(dkSave);
    TFilenameEdit titled;
    titled.SetDialogTitle(QStringLiteral("Файл классификатора"));
    TDirectoryEdit folder;
    TBrowseFolderDlg browser;
    struct Case {
        const char* name;
        std::function<void()> run;
        const char* title;
    };
    const Case cases[] = {
        {"file edit", [&] { open.ButtonClick(); }, "Открыть"},
        {"file edit for saving", [&] { save.ButtonClick(); }, "Сохранить как"},
        {"file edit with its own title", [&] { titled.ButtonClick(); }, "Файл классификатора"},
        {"folder edit", [&] { folder.ButtonClick(); }, "Обзор папок"},
        {"folder browser", [&] { browser.Execute(); }, "Обзор папок"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString title;
        QStringList filters;
        TModalScript script;
        script.Then("QFileDialog", [&](QWidget* w) {
            title = w->windowTitle();
            filters = static_cast<QFileDialog*>(w)->nameFilters();
            CloseBox(w);
        });
        c.run();
        EXPECT_EQ(title, QString::fromUtf8(c.title));
        EXPECT_FALSE(filters.join(u'|').contains(QLatin1String("All files")));
    }
}
