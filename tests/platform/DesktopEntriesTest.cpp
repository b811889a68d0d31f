// The program's files on a freedesktop.org desktop, written into a home of the test's
// own: the plan MIME types, the application entry, the default applications list and
// the desktop shortcut.
#include "platform/DesktopEntries.h"

#include "support/TestHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// HOME and XDG_* in a temporary folder for the span of a test; the desktop tools recorded.
class DesktopEntries : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        Saved = {qgetenv("HOME"), qgetenv("XDG_DATA_HOME"), qgetenv("XDG_CONFIG_HOME")};
        qputenv("HOME", Dir.path().toUtf8());
        qputenv("XDG_DATA_HOME", (Dir.path() + QStringLiteral("/data")).toUtf8());
        qputenv("XDG_CONFIG_HOME", (Dir.path() + QStringLiteral("/config")).toUtf8());
        DesktopToolRunner() = [this](const QString& program, const QStringList& arguments) {
            Tools << QFileInfo(program).fileName() + u' ' + arguments.join(u' ');
        };
    }
    void TearDown() override
    {
        DesktopToolRunner() = nullptr;
        qputenv("HOME", Saved[0]);
        qputenv("XDG_DATA_HOME", Saved[1]);
        qputenv("XDG_CONFIG_HOME", Saved[2]);
    }

    QString Text(const QString& relative) const
    {
        return QString::fromUtf8(FileBytes(Dir.path() + u'/' + relative));
    }
    QString Entry() const { return Text(QStringLiteral("data/applications/velmora6.desktop")); }
    static bool Has(const char* tool) { return !QStandardPaths::findExecutable(QString::fromUtf8(tool)).isEmpty(); }

    QTemporaryDir Dir;
    std::array<QByteArray, 3> Saved;
    QStringList Tools;
    const TDesktopProgram Program{QStringLiteral("/opt/velmora 6/velmora6"),
                                  QStringLiteral("/opt/velmora 6/velmora.png")};
};

}  // namespace

TEST_F(DesktopEntries, APlanScaleBecomesATypeOpenedByTheProgram)
{
    RegisterPlanMimeType(QStringLiteral("500"), Program);

    const QString package = Text(QStringLiteral("data/mime/packages/velmora6-plan-500.xml"));
    EXPECT_TRUE(package.contains(QStringLiteral("<mime-type type=\"application/x-velmora6-plan-500\">")))
        << package.toStdString();
    EXPECT_TRUE(package.contains(
        QStringLiteral("<comment>Файл плана масштаба 1:500 формата Велмора 6</comment>")));
    EXPECT_TRUE(package.contains(QStringLiteral("<glob pattern=\"*.500\"/>")));

    const QString entry = Entry();
    EXPECT_TRUE(entry.startsWith(QStringLiteral("[Desktop Entry]\n"))) << entry.toStdString();
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=\"/opt/velmora 6/velmora6\" %f\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nMimeType=application/x-velmora6-plan-500;\n")));
    EXPECT_EQ(RegisteredPlanMimeTypes(), QStringList{QStringLiteral("application/x-velmora6-plan-500")});

    EXPECT_EQ(Text(QStringLiteral("config/mimeapps.list")),
              QStringLiteral("[Default Applications]\napplication/x-velmora6-plan-500=velmora6.desktop\n"));
    // The user's databases are rebuilt where the system has the tools.
    QStringList rebuilt;
    if (Has("update-mime-database"))
        rebuilt << QStringLiteral("update-mime-database ") + Dir.path() + QStringLiteral("/data/mime");
    if (Has("update-desktop-database"))
        rebuilt << QStringLiteral("update-desktop-database ") + Dir.path() + QStringLiteral("/data/applications");
    EXPECT_EQ(Tools, rebuilt);
}

TEST_F(DesktopEntries, EveryScaleEndsInOneEntryOnceAndOtherDefaultsStay)
{
    QDir().mkpath(Dir.path() + QStringLiteral("/config"));
    WriteBytes(Dir.path() + QStringLiteral("/config/mimeapps.list"),
               "[Added Associations]\ntext/plain=gedit.desktop;\n\n"
               "[Default Applications]\ntext/plain=gedit.desktop\n"
               "application/x-velmora6-plan-500=other.desktop\n\n[Removed Associations]\n");
    const QStringList scales = {QStringLiteral("100"),  QStringLiteral("200"),  QStringLiteral("500"),
                                QStringLiteral("1000"), QStringLiteral("2000"), QStringLiteral("5000"),
                                QStringLiteral("10000"), QStringLiteral("25000")};
    QStringList types;
    for (const QString& s : scales)
        types << PlanMimeType(s);
    RegisterPlanMimeTypes(scales, Program);
    // The desktop's databases are rebuilt once for the eight.
    EXPECT_EQ(Tools.size(), int(Has("update-mime-database")) + int(Has("update-desktop-database")));
    RegisterPlanMimeType(QStringLiteral("500"), Program);   // again: listed once
    EXPECT_EQ(RegisteredPlanMimeTypes(), types);
    EXPECT_EQ(Entry().count(QStringLiteral("MimeType=")), 1);

    const QString defaults = Text(QStringLiteral("config/mimeapps.list"));
    QString expected = QStringLiteral("[Added Associations]\ntext/plain=gedit.desktop;\n\n"
                                      "[Default Applications]\ntext/plain=gedit.desktop\n"
                                      "application/x-velmora6-plan-500=velmora6.desktop\n");
    for (const QString& type : types)
        if (!type.endsWith(QStringLiteral("-500")))
            expected += type + QStringLiteral("=velmora6.desktop\n");
    expected += QStringLiteral("\n[Removed Associations]\n");
    EXPECT_EQ(defaults, expected);

    // The menu entry written afterwards keeps the types.
    WriteApplicationEntry(Program);
    EXPECT_EQ(RegisteredPlanMimeTypes(), types);
}

TEST_F(DesktopEntries, TheDesktopShortcutIsAnExecutableLauncher)
{
    WriteDesktopShortcut(Program);
    const QString path = Dir.path() + QStringLiteral("/Desktop/Велмора 6.desktop");
    ASSERT_TRUE(QFileInfo::exists(path));
    const QString text = Text(QStringLiteral("Desktop/Велмора 6.desktop"));
    EXPECT_TRUE(text.contains(QStringLiteral("\nName=Велмора 6\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nComment=Велмора 6 -цифровые топопланы\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=\"/opt/velmora 6/velmora6\" %f\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nIcon=/opt/velmora 6/velmora.png\n")));
    EXPECT_FALSE(text.contains(QStringLiteral("MimeType")));
    EXPECT_TRUE(QFileInfo(path).isExecutable());
    // Trusted as well where the desktop has gio to say so.
    if (Has("gio"))
        EXPECT_EQ(Tools, QStringList{QStringLiteral("gio set ") + path + QStringLiteral(" metadata::trusted true")});
    else
        EXPECT_TRUE(Tools.isEmpty());
}

TEST_F(DesktopEntries, TheProgramNameIsQuotedAsTheEntryRulesAsk)
{
    struct Case {
        const char* Program;
        const char* Exec;
    };
    const Case cases[] = {
        {"/usr/bin/velmora6", R"("/usr/bin/velmora6" %f)"},
        {"/home/a b/velmora6", R"("/home/a b/velmora6" %f)"},
        // Inside the quotes ", `, $ and \ take a backslash, and the value's own escaping
        // doubles every backslash; "%" is doubled.
        {R"(/x/"q"/v)", R"("/x/\\"q\\"/v" %f)"},
        {"/x/$HOME/`v`", R"("/x/\\$HOME/\\`v\\`" %f)"},
        {R"(/x\y/v)", R"("/x\\\\y/v" %f)"},
        {"/x/100%/v", R"("/x/100%%/v" %f)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Program);
        EXPECT_EQ(DesktopExecLine(QString::fromUtf8(c.Program)), QString::fromUtf8(c.Exec));
    }
    EXPECT_FALSE(RaisedBy([] { DesktopExecLine(QStringLiteral("/x/a\nb")); }).isEmpty());
}

TEST_F(DesktopEntries, BadScalesAndUnwritableFoldersAreRefusedAndWriteNothing)
{
    for (const char* scale : {"", "5x0", "../500", "-500", "500 "}) {
        SCOPED_TRACE(scale);
        const QString said = RaisedBy([&] { RegisterPlanMimeType(QString::fromUtf8(scale), Program); });
        EXPECT_TRUE(said.contains(QStringLiteral("не является целым числом"))) << said.toStdString();
    }
    // One bad scale among good ones refuses them all.
    EXPECT_FALSE(RaisedBy([&] { RegisterPlanMimeTypes({QStringLiteral("500"), QStringLiteral("1:500")}, Program); })
                     .isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Dir.path() + QStringLiteral("/data")));

    // An application entry that exists stays whole when the package cannot be written.
    WriteApplicationEntry(Program);
    const QString entry = Entry();
    Tools.clear();
    QDir().mkpath(Dir.path() + QStringLiteral("/data/mime"));
    WriteBytes(Dir.path() + QStringLiteral("/data/mime/packages"), "not a folder");
    const QString said = RaisedBy([&] { RegisterPlanMimeType(QStringLiteral("500"), Program); });
    EXPECT_TRUE(said.contains(Dir.path() + QStringLiteral("/data/mime/packages"))) << said.toStdString();
    EXPECT_EQ(Entry(), entry);
    EXPECT_FALSE(QFileInfo::exists(Dir.path() + QStringLiteral("/config/mimeapps.list")));
    EXPECT_TRUE(Tools.isEmpty());
}

// Guards plans that a file manager would not open with the program after the first
// start: the real tools rebuild the user's databases, and the desktop's own query
// finds the program as the default of the plan type.
TEST_F(DesktopEntries, TheDesktopOpensPlansWithTheProgram)
{
    QStringList missing;
    for (const char* tool : {"xdg-mime", "update-mime-database", "update-desktop-database"})
        if (!Has(tool))
            missing << QString::fromUtf8(tool);
    if (!missing.isEmpty())
        GTEST_SKIP() << "not installed: " << missing.join(u' ').toStdString() << " (scripts/deps.sh installs them)";
    DesktopToolRunner() = nullptr;
    RegisterPlanMimeTypes({QStringLiteral("500"), QStringLiteral("2000")}, Program);

    // The databases the desktop reads, rebuilt from the files just written.
    EXPECT_TRUE(Text(QStringLiteral("data/mime/globs2")).contains(QStringLiteral("application/x-velmora6-plan-500:*.500")));
    EXPECT_TRUE(Text(QStringLiteral("data/applications/mimeinfo.cache"))
                    .contains(QStringLiteral("application/x-velmora6-plan-500=velmora6.desktop;")));
    for (const char* scale : {"500", "2000"}) {
        SCOPED_TRACE(scale);
        // The generic desktop's answer, whatever desktop the test runs under.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
            env.remove(QString::fromUtf8(name));
        QProcess query;
        query.setProcessEnvironment(env);
        query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                                 PlanMimeType(QString::fromUtf8(scale))});
        ASSERT_TRUE(query.waitForFinished(30000));
        EXPECT_EQ(query.exitCode(), 0) << query.readAllStandardError().toStdString();
        EXPECT_EQ(QString::fromUtf8(query.readAllStandardOutput()).trimmed(), ApplicationEntryName);
    }
}
