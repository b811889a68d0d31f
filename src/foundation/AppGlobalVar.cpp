#include "foundation/AppGlobalVar.h"

#include "platform/FileLookup.h"
#include "platform/Identity.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

QString ProgramFolder;
QString AppName = QStringLiteral("Free Velmorant 6");
QString AppVersion = QStringLiteral("6.07.11.08");
QString UserName;
QString ComputerName;
QString StartDate;
QString StartTime;
QString DataRootFolder;
QString UserFolder;
QString SessionFolder;

std::unique_ptr<QStringList> ErrorInfo;
std::unique_ptr<QStringList> CommandLog;

std::uint8_t LogArguments = 0;
std::uint8_t NewUser = 0;
QString DocStartTime;
std::int32_t SavedCommandCount = 0;
std::uint8_t DataFileState = 0;
std::int32_t UndoStep = 0;
QString DataFileName;

TRunEnvironment RunEnvironment;
QString StartNotice;
std::function<void(const QString&)> NoticeHook;

namespace {

// A name the system gave, or "unknown" when it gave none. A name that cannot stand as
// one folder level ("..", one holding "/") is not taken either: the tree must keep its
// five levels inside the data root.
QString NameOrUnknown(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        name.contains(QLatin1Char('/')) || name.contains(QChar(0)))
        return QStringLiteral("unknown");
    return name;
}

QDateTime Now()
{
    return RunEnvironment.Now ? RunEnvironment.Now() : QDateTime::currentDateTime();
}

QString TwoDigits(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

struct TTreeResult {
    QString UserFolder;
    QString SessionFolder;
    bool Complete = true;      // every level exists now
    bool UserCreated = false;  // one of the first three levels had to be created
    QString FailedLevel;       // the first level that could not be created
};

// Walks the levels below root one at a time: an existing folder (letter case ignored)
// is taken as it is spelt on disk, a missing one is created with the given spelling.
// After a level fails the remaining ones are only appended to the path.
TTreeResult MakeRunTree(const QString& root, const QStringList& levels)
{
    TTreeResult r;
    QString path = root;
    if (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    for (int i = 0; i < levels.size(); ++i) {
        QString level = path + QLatin1Char('/') + levels[i];
        if (r.Complete) {
            const QString existing = FindExistingPath(level);
            if (!existing.isEmpty() && QFileInfo(existing).isDir()) {
                level = existing;
            } else if (existing.isEmpty() && QDir().mkdir(level)) {
                if (i < 3)
                    r.UserCreated = true;
            } else {
                r.Complete = false;
                r.FailedLevel = level;
            }
        }
        path = level;
        if (i == 2)
            r.UserFolder = path;
    }
    r.SessionFolder = path;
    return r;
}

}  // namespace

void GetWinUserName(QString& name)
{
    name = NameOrUnknown(RunEnvironment.UserName ? RunEnvironment.UserName() : SystemUserName());
}

void GetWinComputerName(QString& name)
{
    name = NameOrUnknown(RunEnvironment.ComputerName ? RunEnvironment.ComputerName()
                                                     : SystemComputerName());
}

void InitAppGlobalVar()
{
    ProgramFolder = GetProgramFolder();
    StartNotice.clear();
    ErrorInfo = std::make_unique<QStringList>();
    CommandLog = std::make_unique<QStringList>();
    LogArguments = 1;
    GetWinUserName(UserName);
    GetWinComputerName(ComputerName);
    const QDate date = Now().date();
    StartDate = TwoDigits(date.day()) + QLatin1Char('.') + TwoDigits(date.month()) +
                QLatin1Char('.') + QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
    const QTime time = Now().time();
    StartTime = TwoDigits(time.hour()) + QLatin1Char('.') + TwoDigits(time.minute()) +
                QLatin1Char('.') + TwoDigits(time.second());
    NewUser = 0;

    const QStringList levels = {QStringLiteral("Пользователи"), ComputerName, UserName,
                                StartDate, StartTime};
    DataRootFolder = ProgramFolder;
    TTreeResult tree = MakeRunTree(DataRootFolder, levels);
    if (!tree.Complete) {
        // An installed program cannot write beside itself: the user's tree moves to the
        // user's own data folder. When that fails too, the paths stay as computed below
        // the program folder.
        const QString fallback = FallbackDataRoot();
        QDir().mkpath(fallback);
        TTreeResult moved = MakeRunTree(fallback, levels);
        if (moved.Complete) {
            DataRootFolder = fallback;
            tree = std::move(moved);
            if (tree.UserCreated)
                StartNotice = QStringLiteral(
                                  "Папка программы «%1» закрыта для записи. Настройки и рабочие "
                                  "папки пользователя будут храниться в папке «%2».")
                                  .arg(ProgramFolder, tree.UserFolder);
        } else {
            StartNotice = QStringLiteral("Не удалось создать папку «%1». Снимки для отмены "
                                         "действий и отчёты об ошибках этого сеанса не будут "
                                         "записаны.")
                              .arg(tree.FailedLevel);
        }
    }
    NewUser = tree.UserCreated ? 1 : 0;
    UserFolder = tree.UserFolder;
    SessionFolder = tree.SessionFolder;
    if (NoticeHook)
        ShowStartNotice();
}

void FreeAppGlobalVar()
{
    ErrorInfo.reset();
    CommandLog.reset();
}

bool ShowStartNotice()
{
    if (StartNotice.isEmpty() || !NoticeHook)
        return false;
    const QString text = std::exchange(StartNotice, QString());
    NoticeHook(text);
    return true;
}

QString ProgramFolderPath(const QString& relative)
{
    QString folder = ProgramFolder;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return ResolvePath(folder + relative);
}
