// The command frame: every change of a plan passes here to be journalled, echoed,
// executed by its handler and, under undo, followed by a snapshot of the whole plan.
#include "engine/GeoMap.h"

#include "engine/EngineServices.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "platform/FileLookup.h"
#include "platform/TextFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace {

// New, open and the two saves are neither journalled nor snapshotted.
bool IsDocumentCommand(TMapCommand comm)
{
    return comm == mcNewMap || comm == mcOpenMap || comm == mcSaveMap || comm == mcSaveSelected;
}

bool WritesNothingIntoThePlan(TMapCommand comm)
{
    return comm == mcOpenMap || comm == mcSaveMap || comm == mcSaveSelected;
}

bool HoldsInformationText(TMapCommand comm) { return comm == mcNewMap || comm == mcSetMapInf; }

}  // namespace

QString TGeoMap::CommToStr(TMapCommand CommandName, const QString& param)
{
    TTrailGuard guard("GeoMap", "function TGeoMap.CommToStr(const CommandName:TMapCommand; "
                                "const param:string):string;");
    return MapCommandName(CommandName) + QLatin1Char('=') + param;
}

void TGeoMap::StrToComm(const QString& s)
{
    try {
        const qsizetype eq = s.indexOf(QLatin1Char('='));
        const QString name = eq < 0 ? QString() : s.left(eq);
        const QString param = eq < 0 ? QString() : s.mid(eq + 1);
        TMapCommand comm{};
        if (!FindMapCommand(name, comm))
            throw Exception(QStringLiteral("Не определена команда"));
        DoCommand(comm, param);
    } catch (...) {
        // The typed line goes into the trail whatever the argument switch says.
        if (ErrorInfo) {
            ErrorInfo->append(QStringLiteral("Module name: GeoMap"));
            ErrorInfo->append(QStringLiteral("procedure TGeoMap.StrToComm(var s:string);"));
            ErrorInfo->append(QStringLiteral("Argument: s=") + s);
        }
        throw;
    }
}

void TGeoMap::DoCommand(TMapCommand Comm, const QString& parameters)
{
    TTrailGuard guard("GeoMap",
                      "procedure TGeoMap.DoCommand(const Comm:TMapCommand; const param:string);");
    TEngineServices& ui = Ui();
    const TWaitScope wait(ui);

    // The information text may hold line breaks: they travel as the command form of a
    // line break, converted here once, so that the journal line is the command.
    const QString param =
        HoldsInformationText(Comm) ? LinesToCommandText(parameters) : parameters;
    const QString line = CommToStr(Comm, param);
    // One command is one journal line: a line break would split it, and the journal
    // is read back line by line.
    if (param.contains(QLatin1Char('\r')) || param.contains(QLatin1Char('\n')))
        throw Exception(QStringLiteral("Параметры команды %1 содержат перевод строки")
                            .arg(MapCommandName(Comm)));
    // What a command puts into the plan must survive the plan file and its snapshots:
    // refuse the command before it changes anything. Only the file names of open and
    // the saves do not enter the plan.
    if (!WritesNothingIntoThePlan(Comm))
        CheckPlanCodePage(param, QStringLiteral("Параметры команды ") + MapCommandName(Comm));

    const bool journalled = CommandLog && NoJournal == 0;
    const bool appended = journalled && !IsDocumentCommand(Comm);
    if (appended)
        CommandLog->append(line);
    ui.SetPanelText(TEnginePanel::Command, QStringLiteral("Команда [") + line + QLatin1Char(']'));

    // A refused command leaves no trace in the document: handlers convert every field
    // and read every file before they change the plan, so a command that raises changed
    // nothing, and its line in the journal or a modified mark would make the exit
    // question ask about changes that do not exist and a replay of the journal fail.
    const std::uint8_t wasModified = Modified;
    try {
        const TCommandFields fields = TCommandFields::FromParam(param);
        Modified = 1;
        const TCommandHandler& handler = CommandHandlers[Comm];
        if (!handler)
            throw Exception(QStringLiteral("Нет обработчика команды"));
        ++EditCount;   // before the handler: a change it makes before raising counts too
        handler(*this, fields);
    } catch (...) {
        Modified = wasModified;
        if (appended && CommandLog && !CommandLog->isEmpty() && CommandLog->last() == line)
            CommandLog->removeLast();
        throw;
    }
    // New and open empty the journal only once they have replaced the plan: a file that
    // fails to read leaves the plan as it was, and its journal must go on showing the
    // unsaved changes, or the exit question would let them go without asking.
    if (journalled && CommandLog && (Comm == mcNewMap || Comm == mcOpenMap)) {
        CommandLog->clear();
        SavedCommandCount = 0;
    }

    ui.SetPanelText(TEnginePanel::Command,
                    QStringLiteral("Команда [") + line + QStringLiteral("] выполнена"));
    if (!IsDocumentCommand(Comm) && UndoOn == 1)
        WriteUndoSnapshot();
}

void TGeoMap::SetDataFileState(std::uint8_t state)
{
    if (NoJournal == 0)
        DataFileState = state;
}

// The snapshot goes to the document's folder in the run folder, named by the step it
// makes and with the plan's scale as extension, so that reopening it as a native file
// restores the scale too. The step counts only once the file is whole on disk.
void TGeoMap::WriteUndoSnapshot()
{
    const std::int32_t step = UndoStep + 1;
    WriteSnapshotFile(step);
    UndoStep = step;
    Ui().SetUndoEnabled(UndoStep > 0);
    Ui().SetRedoEnabled(false);
}

void TGeoMap::WriteStartSnapshot()
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.WriteStartSnapshot;");
    if (SnapshotWriter)
        WriteSnapshotFile(0);
}

void TGeoMap::WriteSnapshotFile(std::int32_t step)
{
    if (!SnapshotWriter)
        throw Exception(QStringLiteral("Снимок плана для отмены не записан: "
                                       "запись плана в родном формате недоступна"));
    const QString documentName = DataFileName.isEmpty()
                                     ? QStringLiteral("без имени")
                                     : QFileInfo(DataFileName).fileName();
    const QString folder =
        ResolvePath(SessionFolder + QLatin1Char('/') + DocStartTime + QLatin1Char(' ') + documentName);
    // An import makes no snapshot folder; without this every later command would fail.
    if (!QDir().mkpath(folder))
        throw Exception(QStringLiteral("Не удается создать папку снимков плана \"%1\"").arg(folder));
    const QString path = folder + QLatin1Char('/') + QString::number(step) + QLatin1Char('.') +
                         QString::number(MapProp.Scale);

    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw Exception(QStringLiteral("Не удается записать снимок плана \"%1\": %2")
                            .arg(path, FileErrorReason(errno, file.errorString())));
    SnapshotWriter(*this, file);
    errno = 0;
    if (!file.commit())
        throw Exception(QStringLiteral("Не удается записать снимок плана \"%1\": %2")
                            .arg(path, FileErrorReason(errno, file.errorString())));
    SyncFolderOf(path);
}
