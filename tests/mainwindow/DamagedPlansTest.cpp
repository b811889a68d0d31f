// Bad input as a user meets it in the main window: plans that do not open whole, cut,
// binary or with an endless line, odd folder names, folders that refuse writing and a
// disk that fills up during Save. Whatever happens, a clear message, no crash, and the
// file on disk whole: its old bytes or the new ones.
#include "MainWindowFixture.h"

#include "foundation/ui/GsCatcher.h"
#include "mainwindow/VclTimer.h"
#include "mainwindow/file/FileDialogs.h"
#include "platform/CodePage.h"
#include "platform/TextFiles.h"
#include "support/TestHelpers.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cerrno>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Fixture = QStringLiteral(VELMORA_TEST_FIXTURES "/plans/full.500");

// The Cyrillic letters in KOI8-R, the order of its bytes 0xC0 to 0xFF.
const char16_t Koi8Letters[] = u"юабцдефгхийклмнопярстужвьызшэщчъЮАБЦДЕФГХИЙКЛМНОПЯРСТУЖВЬЫЗШЭЩЧЪ";

QByteArray ToKoi8(const QString& text)
{
    QByteArray out;
    for (QChar c : text) {
        const qsizetype at = QStringView(Koi8Letters).indexOf(c);
        out.append(c.unicode() < 0x80 ? char(c.unicode()) : at >= 0 ? char(0xC0 + at) : '?');
    }
    return out;
}

// The save dialog as the user answers it: a name (empty: cancelled), each showing counted.
struct TSaveAnswer {
    TSaveAnswer() : Saved(MapHooks().SaveFileName)
    {
        MapHooks().SaveFileName = [this](const QString&, const QString&, QString& fileName) {
            ++Shown;
            fileName = Answer;
            return !Answer.isEmpty();
        };
    }
    ~TSaveAnswer() { MapHooks().SaveFileName = Saved; }
    decltype(TMapHooks::SaveFileName) Saved;
    QString Answer;
    int Shown = 0;
};

// Errors that reach the crash reporter, kept instead of shown.
struct TCaughtErrors {
    TCaughtErrors()
        : Saved(SetApplicationExceptionHandler(
              [this](QObject*, std::exception_ptr e) { Errors.push_back(CaughtExceptionMessage(e)); }))
    {
    }
    ~TCaughtErrors() { SetApplicationExceptionHandler(Saved); }
    TApplicationExceptionHandler Saved;
    std::vector<QString> Errors;
};

// Opens file as the user does: "Открыть план" and the file chosen in the dialog.
void OpenThroughTheDialog(TFormMap& form, const QString& file)
{
    FileDialogHooks().OpenFileName = [file](const QString&, const QString&, QString& fileName) {
        fileName = file;
        return true;
    };
    form.findChild<QAction*>(QStringLiteral("NOpenPlan"))->trigger();
    FileDialogHooks().OpenFileName = nullptr;
}

void PressSave(TFormMap& form) { form.findChild<QAction*>(QStringLiteral("NSavePlan"))->trigger(); }

// The panel's "Сохранить план" button.
void PressSaveButton(TFormMap& form) { form.PanelButtons.value(QStringLiteral("Сохранить план"))->click(); }

bool MentionsAny(const std::vector<QString>& texts, const QString& part)
{
    for (const QString& t : texts)
        if (t.contains(part))
            return true;
    return false;
}

// A folder no write may enter for the span of the scope. Root writes through any
// mode, so a root test gives up its effective user meanwhile.
class TWriteProtectedFolder {
public:
    explicit TWriteProtectedFolder(const QString& folder) : Folder(QFile::encodeName(folder))
    {
        ::chmod(Folder.constData(), 0555);
        if (::geteuid() == 0) {
            const passwd* nobody = ::getpwnam("nobody");
            Switched = nobody && ::seteuid(nobody->pw_uid) == 0;
        }
    }
    ~TWriteProtectedFolder()
    {
        if (Switched)
            (void)::seteuid(0);
        ::chmod(Folder.constData(), 0755);
    }
    // Whether writing there really fails (false on a system where neither works).
    bool Holds() const
    {
        QFile probe(QFile::decodeName(Folder) + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            return false;
        }
        return true;
    }

private:
    QByteArray Folder;
    bool Switched = false;
};

}  // namespace

// Guards against Save writing the empty or partial plan of a file that did not open
// whole over that file: 3,323 bytes of a plan in UTF-8 once became 33.
TEST(DamagedPlans, SaveNeverWritesOverAPlanThatDidNotOpenWhole)
{
    const QByteArray fixture = FileBytes(Fixture);
    ASSERT_FALSE(fixture.isEmpty());
    const QString text = DecodeCodePage(fixture);
    QByteArray withNul = fixture;
    withNul.insert(withNul.indexOf(EncodeCodePage(QStringLiteral("{СЛО"))) + 2, QByteArray(3, '\0'));
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"UTF-8", text.toUtf8()},
        {"KOI8-R", ToKoi8(text)},
        {"NUL bytes", withNul},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMainWindowRun::TOptions options;
        options.CollectMessages = true;
        TMainWindowRun run(options);
        run.Start();
        TFormMap& form = run.Form();
        const QString file = run.Folder() + QStringLiteral("съемка участка.500");
        WriteBytes(file, c.bytes);
        TCaughtErrors caught;
        OpenThroughTheDialog(form, file);
        ASSERT_TRUE(caught.Errors.empty()) << caught.Errors[0].toStdString();
        ASSERT_EQ(DataFileName, QFileInfo(file).absoluteFilePath());
        EXPECT_TRUE(form.DataFileDamaged);
        EXPECT_TRUE(MentionsAny(run.Messages, QStringLiteral("План открыт не полностью: Файл")));

        TSaveAnswer dialog;
        // Save by the menu, by the panel's button and by the autosave timer of a modified plan: each
        // asks for a name as for a new plan, and a cancelled dialog writes nothing.
        PressSave(form);
        EXPECT_EQ(dialog.Shown, 1);
        PressSaveButton(form);
        EXPECT_EQ(dialog.Shown, 2);
        MainMap->DoCommand(mcNewPage, TCommandParams().Text(QStringLiteral("новый")));
        form.TimerAutosave->Fire();
        EXPECT_EQ(dialog.Shown, 3);
        EXPECT_EQ(FileBytes(file), c.bytes);

        // Chosen again as the name: asked before, and only yes writes over it.
        int asked = 0;
        TModalResult answer = mrNo;
        DialogHooks().ShowQ = [&](const QString& caption, const QString& text) {
            ++asked;
            EXPECT_EQ(caption, QStringLiteral("План открыт не полностью"));
            EXPECT_TRUE(text.contains(QStringLiteral("открылся не полностью")));
            return answer;
        };
        dialog.Answer = file;
        PressSave(form);
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(FileBytes(file), c.bytes);
        answer = mrYes;
        PressSave(form);
        EXPECT_EQ(asked, 2);
        EXPECT_NE(FileBytes(file), c.bytes);
        EXPECT_FALSE(form.DataFileDamaged);
        DialogHooks().ShowQ = nullptr;
    }
}

TEST(DamagedPlans, AWholePlanIsStillSavedWithoutAQuestion)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    // Blanks and Cyrillic in the folder and the name.
    const QString folder = run.Folder() + QStringLiteral("Мои планы/участок 7 (копия)/");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("план съемки №2.500");
    ASSERT_TRUE(QFile::copy(Fixture, file));
    OpenThroughTheDialog(form, file);
    ASSERT_EQ(DataFileName, QFileInfo(file).absoluteFilePath());
    EXPECT_FALSE(form.DataFileDamaged);
    MainMap->DoCommand(mcNewPage, TCommandParams().Text(QStringLiteral("добавленный")));
    TSaveAnswer dialog;
    PressSaveButton(form);
    EXPECT_EQ(dialog.Shown, 0);
    EXPECT_EQ(MainMap->Modified, 0);
    TGeoMap back;
    back.Services = MainMap->Services;
    ASSERT_TRUE(back.ReadDataFromFile(file, true));
    EXPECT_GE(back.IndexOfPage(QStringLiteral("добавленный")), 0);
    EXPECT_EQ(back.ReadSkipped, 0);
}

// Cut at every tenth of its length, a binary file, a file of one endless line and a
// plan holding a line of 100 MB: each opens whole, opens marked as damaged or is
// refused with a message; none crashes or hangs, and Save never writes over it.
TEST(DamagedPlans, CutBinaryAndEndlessFilesAreReportedAndKept)
{
    const QByteArray fixture = FileBytes(Fixture);
    struct Case {
        QString name;
        QByteArray bytes;
    };
    std::vector<Case> cases;
    for (int tenth = 1; tenth <= 9; ++tenth)
        cases.push_back({QStringLiteral("cut at %1/10").arg(tenth), fixture.left(fixture.size() * tenth / 10)});
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919) & 0xFF);
    cases.push_back({QStringLiteral("binary"), QByteArray("\x89PNG\r\n\x1a\n", 8) + binary});
    cases.push_back({QStringLiteral("one endless line"), QByteArray(8 << 20, 'x')});
    QByteArray longLine = QByteArray("FREE VELMORANT\r\n") + QByteArray(100 << 20, 'z') + "\r\n";
    cases.push_back({QStringLiteral("a line of 100 MB"), longLine});
    longLine.clear();

    TMainWindowRun::TOptions options;
    options.CollectMessages = true;
    TMainWindowRun run(options);
    run.Start();
    TFormMap& form = run.Form();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        // Each opens into a new plan, as the program started again would.
        MainMap->DoCommand(mcNewMap, TCommandParams().Int(500).Text(QString()));
        DataFileName.clear();
        form.DataFileDamaged = false;
        const QString file = run.Folder() + QStringLiteral("плохой файл.500");
        WriteBytes(file, c.bytes);
        run.Messages.clear();
        TCaughtErrors caught;
        OpenThroughTheDialog(form, file);
        const bool opened = DataFileName == QFileInfo(file).absoluteFilePath();
        std::vector<QString> told = run.Messages;
        told.insert(told.end(), caught.Errors.begin(), caught.Errors.end());
        ASSERT_FALSE(told.empty()) << "nothing said about a damaged file";
        for (const QString& t : told) {
            EXPECT_LT(t.size(), 4000) << "a message must show, not hold the whole line";
            EXPECT_TRUE(t.contains(QRegularExpression(QStringLiteral("[А-Яа-я]")))) << t.toStdString();
        }
        if (opened)
            EXPECT_TRUE(form.DataFileDamaged);
        TSaveAnswer dialog;
        PressSave(form);
        EXPECT_TRUE(FileBytes(file) == c.bytes);
    }
}

// Guards against a full disk during Save ending in "Unknown error" and a torn file.
TEST(DamagedPlans, AFullDiskDuringSaveNamesTheCauseAndKeepsTheOldFile)
{
    TMainWindowRun::TOptions options;
    options.CollectMessages = true;
    TMainWindowRun run(options);
    run.Start();
    TFormMap& form = run.Form();
    const QString file = run.Folder() + QStringLiteral("полный диск.500");
    ASSERT_TRUE(QFile::copy(Fixture, file));
    const QByteArray before = FileBytes(file);
    OpenThroughTheDialog(form, file);
    ASSERT_EQ(DataFileName, QFileInfo(file).absoluteFilePath());
    ASSERT_FALSE(form.DataFileDamaged) << MainMap->ReadSkipped;
    MainMap->DoCommand(mcNewPage, TCommandParams().Text(QStringLiteral("добавленный")));
    const int unsaved = form.Unsaved.Count();
    for (const qint64 after : {qint64(0), qint64(100), qint64(before.size() / 2)}) {
        SCOPED_TRACE(after);
        run.Messages.clear();
        // The disk takes what fits of a write, then refuses the next.
        FileWriteFault() = [after](qint64 written, qint64& n) {
            if (written >= after)
                return ENOSPC;
            n = std::min(n, after - written);
            return 0;
        };
        PressSave(form);
        FileWriteFault() = nullptr;
        ASSERT_EQ(run.Messages.size(), 1u);
        EXPECT_TRUE(run.Messages[0].startsWith(QStringLiteral("План не сохранен: ")));
        EXPECT_TRUE(run.Messages[0].contains(QStringLiteral("на диске нет свободного места")))
            << run.Messages[0].toStdString();
        EXPECT_FALSE(run.Messages[0].contains(QStringLiteral("Unknown error")));
        EXPECT_EQ(FileBytes(file), before);
        EXPECT_EQ(MainMap->Modified, 1) << "nothing counts as saved that was not written";
        EXPECT_EQ(form.Unsaved.Count(), unsaved);
    }
    const QStringList left = QDir(run.Folder()).entryList({QStringLiteral("полный диск.500*")}, QDir::Files);
    EXPECT_EQ(left, QStringList{QStringLiteral("полный диск.500")}) << "no temporary file stays";
    PressSave(form);   // room again: saved
    EXPECT_NE(FileBytes(file), before);
    EXPECT_EQ(MainMap->Modified, 0);
}

TEST(DamagedPlans, AWriteProtectedFolderRefusesSaveWithItsReason)
{
    TMainWindowRun::TOptions options;
    options.CollectMessages = true;
    TMainWindowRun run(options);
    run.Start();
    TFormMap& form = run.Form();
    const QString folder = run.Folder() + QStringLiteral("только чтение");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/план.500");
    ASSERT_TRUE(QFile::copy(Fixture, file));
    const QByteArray before = FileBytes(file);
    OpenThroughTheDialog(form, file);
    ASSERT_EQ(DataFileName, QFileInfo(file).absoluteFilePath());
    MainMap->DoCommand(mcNewPage, TCommandParams().Text(QStringLiteral("добавленный")));
    run.Messages.clear();
    {
        TWriteProtectedFolder locked(folder);
        if (!locked.Holds())
            GTEST_SKIP() << "this system lets every write through";
        PressSave(form);
    }
    ASSERT_EQ(run.Messages.size(), 1u);
    EXPECT_TRUE(run.Messages[0].startsWith(QStringLiteral("План не сохранен: ")));
    EXPECT_TRUE(run.Messages[0].contains(QStringLiteral("нет прав на запись"))) << run.Messages[0].toStdString();
    EXPECT_EQ(FileBytes(file), before);
    EXPECT_EQ(MainMap->Modified, 1);
}

// The run folder refusing writes (the undo snapshots go there): a command still reaches
// the plan, the user is told why its undo step is missing, and Save still works.
TEST(DamagedPlans, AWriteProtectedRunFolderIsReportedAndSaveStillWorks)
{
    TMainWindowRun::TOptions options;
    options.CollectMessages = true;
    TMainWindowRun run(options);
    run.Start();
    TFormMap& form = run.Form();
    const QString file = run.Folder() + QStringLiteral("план.500");
    ASSERT_TRUE(QFile::copy(Fixture, file));
    OpenThroughTheDialog(form, file);
    ASSERT_EQ(DataFileName, QFileInfo(file).absoluteFilePath());
    const QString undo = form.UndoFolder();
    TCaughtErrors caught;
    {
        TWriteProtectedFolder locked(undo);
        if (!locked.Holds())
            GTEST_SKIP() << "this system lets every write through";
        EXPECT_THROW(MainMap->DoCommand(mcNewPage, TCommandParams().Text(QStringLiteral("добавленный"))),
                     Exception);
    }
    EXPECT_GE(MainMap->IndexOfPage(QStringLiteral("добавленный")), 0);
    TSaveAnswer dialog;
    PressSave(form);
    TGeoMap back;
    back.Services = MainMap->Services;
    ASSERT_TRUE(back.ReadDataFromFile(file, true));
    EXPECT_GE(back.IndexOfPage(QStringLiteral("добавленный")), 0);
}
