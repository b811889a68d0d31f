// Desktop entries, shared-MIME packages and the default applications list, written as
// the freedesktop.org specifications describe them (UTF-8, LF).
#include "platform/DesktopEntries.h"

#include "foundation/ErrorTrail.h"
#include "platform/TextFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

const QString ProgramTitle = QStringLiteral("Велмора 6");
const QString ShortcutComment = QStringLiteral("Велмора 6 -цифровые топопланы");
const QString DefaultsSection = QStringLiteral("[Default Applications]");

bool IsScale(const QString& scale)
{
    if (scale.isEmpty())
        return false;
    for (const QChar c : scale)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// A value of the string type of desktop entries: a backslash and the control characters
// the rules name are escaped; a line break cannot be held by a one-line key.
QString EntryValue(const QString& value, const QString& what)
{
    if (value.contains(u'\n') || value.contains(u'\r'))
        throw Exception(what + QStringLiteral(" содержит перевод строки: ") + value);
    QString out;
    for (const QChar c : value) {
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else
            out += c;
    }
    return out;
}

void MakeFolder(const QString& folder)
{
    if (!QDir().mkpath(folder))
        throw Exception(QStringLiteral("Не удается создать папку ") + folder);
}

void WriteUtf8(const QString& path, const QString& text)
{
    MakeFolder(QFileInfo(path).absolutePath());
    WriteFileBytes(path, text.toUtf8());
}

QString ReadUtf8(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return QString();
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Не удается прочитать файл ") + path + QStringLiteral(": ") +
                        file.errorString());
    return QString::fromUtf8(file.readAll());
}

QString XmlText(QString text)
{
    return text.replace(u'&', QStringLiteral("&amp;"))
        .replace(u'<', QStringLiteral("&lt;"))
        .replace(u'>', QStringLiteral("&gt;"))
        .replace(u'"', QStringLiteral("&quot;"));
}

QString ApplicationEntryPath()
{
    return DesktopDataFolder() + QStringLiteral("/applications/") + ApplicationEntryName;
}

QString EntryText(const TDesktopProgram& program, const QString& comment, const QStringList& types)
{
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Version=1.0\n");
    text += QStringLiteral("Name=") + ProgramTitle + u'\n';
    text += QStringLiteral("Comment=") + EntryValue(comment, QStringLiteral("Описание")) + u'\n';
    text += QStringLiteral("Exec=") + DesktopExecLine(program.Program) + u'\n';
    text += QStringLiteral("Icon=") + EntryValue(program.Icon, QStringLiteral("Имя значка")) + u'\n';
    text += QStringLiteral("Terminal=false\n"
                           "Categories=Graphics;Science;\n");
    if (!types.isEmpty())
        text += QStringLiteral("MimeType=") + types.join(u';') + QStringLiteral(";\n");
    return text;
}

void WriteEntry(const TDesktopProgram& program, const QStringList& types)
{
    WriteUtf8(ApplicationEntryPath(), EntryText(program, ShortcutComment, types));
}

// key=value in the defaults section of mimeapps.list, every other line kept as it was.
void SetDefaultApplication(const QString& type, const QString& entry)
{
    const QString path = DesktopConfigFolder() + QStringLiteral("/mimeapps.list");
    QStringList lines = ReadUtf8(path).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    const QString line = type + u'=' + entry;
    int section = -1;
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].trimmed() == DefaultsSection) {
            section = i;
            break;
        }
    if (section < 0) {
        lines << DefaultsSection << line;
    } else {
        int end = section + 1;
        bool done = false;
        for (; end < lines.size() && !lines[end].trimmed().startsWith(u'['); ++end) {
            const QString key = lines[end].section(u'=', 0, 0).trimmed();
            if (!done && lines[end].contains(u'=') && key == type) {
                lines[end] = line;
                done = true;
            }
        }
        if (!done) {
            // After the section's last entry, before the blank lines that part it from the next.
            int at = end;
            while (at > section + 1 && lines[at - 1].trimmed().isEmpty())
                --at;
            lines.insert(at, line);
        }
    }
    WriteUtf8(path, lines.join(u'\n') + u'\n');
}

// Runs the desktop's tool name when the system has it; a desktop without the tool keeps
// what it knows, and a tool that fails is not the user's concern, so neither says a word.
// The tool is waited for (a database of one user takes a moment), so that the desktop
// knows what was written once the caller goes on.
void RunTool(const QString& name, const QStringList& arguments)
{
    const QString program = QStandardPaths::findExecutable(name);
    if (program.isEmpty())
        return;
    if (DesktopToolRunner()) {
        DesktopToolRunner()(program, arguments);
        return;
    }
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (process.waitForStarted() && !process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
    }
}

// The user's MIME and application databases rebuilt from the files below them, each
// only when its folder exists.
void RebuildDesktopDatabases()
{
    const QString mime = DesktopDataFolder() + QStringLiteral("/mime");
    if (QFileInfo(mime).isDir())
        RunTool(QStringLiteral("update-mime-database"), {mime});
    const QString applications = DesktopDataFolder() + QStringLiteral("/applications");
    if (QFileInfo(applications).isDir())
        RunTool(QStringLiteral("update-desktop-database"), {applications});
}

}  // namespace

QString PlanMimeType(const QString& scale)
{
    return QStringLiteral("application/x-velmora6-plan-") + scale;
}

QString DesktopDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString DesktopConfigFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString DesktopFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

std::function<void(const QString&, const QStringList&)>& DesktopToolRunner()
{
    static std::function<void(const QString&, const QStringList&)> runner;
    return runner;
}

QString DesktopExecLine(const QString& program)
{
    if (program.contains(u'\n') || program.contains(u'\r'))
        throw Exception(QStringLiteral("Имя программы содержит перевод строки: ") + program);
    // Quoted always: inside the quotes ", `, $ and \ take a backslash; then the value's
    // own escaping doubles every backslash, and a field code's "%" is doubled.
    QString quoted;
    for (const QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted.replace(u'%', QStringLiteral("%%"));
    return EntryValue(u'"' + quoted + u'"', QStringLiteral("Имя программы")) + QStringLiteral(" %f");
}

QStringList RegisteredPlanMimeTypes()
{
    const QStringList lines = ReadUtf8(ApplicationEntryPath()).split(u'\n');
    for (const QString& line : lines)
        if (line.startsWith(QStringLiteral("MimeType="))) {
            QStringList types = line.mid(9).split(u';', Qt::SkipEmptyParts);
            for (QString& t : types)
                t = t.trimmed();
            return types;
        }
    return {};
}

void WriteApplicationEntry(const TDesktopProgram& program)
{
    TTrailGuard guard("UnitSetup", "procedure WriteApplicationEntry;", TrailArg("program", program.Program));
    WriteEntry(program, RegisteredPlanMimeTypes());
    RebuildDesktopDatabases();
}

void RegisterPlanMimeTypes(const QStringList& scales, const TDesktopProgram& program)
{
    const QString listed = scales.join(u',');
    TTrailGuard guard("UnitSetup", "procedure RegisterPlanExtension(s:string);", TrailArg("s", listed));
    for (const QString& scale : scales)
        if (!IsScale(scale))
            throw Exception(QStringLiteral("Масштаб \"") + scale +
                            QStringLiteral("\" не является целым числом: расширение файлов плана не зарегистрировано"));
    const QString packages = DesktopDataFolder() + QStringLiteral("/mime/packages/");
    QStringList types = RegisteredPlanMimeTypes();
    for (const QString& scale : scales) {
        const QString type = PlanMimeType(scale);
        const QString package =
            QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                           "  <mime-type type=\"") +
            type + QStringLiteral("\">\n    <comment>") +
            XmlText(QStringLiteral("Файл плана масштаба 1:") + scale + QStringLiteral(" формата Велмора 6")) +
            QStringLiteral("</comment>\n    <glob pattern=\"*.") + scale +
            QStringLiteral("\"/>\n  </mime-type>\n</mime-info>\n");
        WriteUtf8(packages + QStringLiteral("velmora6-plan-") + scale + QStringLiteral(".xml"), package);
        if (!types.contains(type))
            types << type;
        WriteEntry(program, types);
        SetDefaultApplication(type, ApplicationEntryName);
    }
    // Once for all the types: the tools rebuild the whole databases of the user.
    RebuildDesktopDatabases();
}

void RegisterPlanMimeType(const QString& scale, const TDesktopProgram& program)
{
    RegisterPlanMimeTypes({scale}, program);
}

void WriteDesktopShortcut(const TDesktopProgram& program)
{
    TTrailGuard guard("UnitSetup", "procedure CreateDesktopShortcut;", TrailArg("program", program.Program));
    const QString path = DesktopFolder() + u'/' + DesktopShortcutName;
    WriteUtf8(path, EntryText(program, ShortcutComment, {}));
    // A launcher on the desktop runs only when it may be executed.
    if (!QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner |
                                         QFileDevice::ExeUser | QFileDevice::ExeGroup |
                                         QFileDevice::ExeOther))
        throw Exception(QStringLiteral("Не удается сделать исполняемым файл ") + path);
    // Desktops of the GNOME family start a launcher only once it is trusted as well.
    RunTool(QStringLiteral("gio"), {QStringLiteral("set"), path, QStringLiteral("metadata::trusted"),
                                    QStringLiteral("true")});
}
