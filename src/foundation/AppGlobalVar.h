// Process-wide state: the program folder, the identity of the run, the per-user and
// per-run folders, the error trail, the command journal and the document-level values
// that the plan engine and the main window hand to each other.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

// Folder strings use "/" and never end in one, except ProgramFolder and DataRootFolder.
extern QString ProgramFolder;   // the folder of the executable: the reference data
// relative ("/" separated, e.g. "Семантика/ФКН.wri") below ProgramFolder, resolved through
// the lookup that ignores letter case.
QString ProgramFolderPath(const QString& relative);
extern QString AppName;
extern QString AppVersion;
extern QString UserName;
extern QString ComputerName;
extern QString StartDate;       // "dd.mm.yyyy"
extern QString StartTime;       // "hh.nn.ss"
// The folder that holds "Пользователи": ProgramFolder, or the per-user data root when the
// program folder is read-only. Build paths of the user's files from UserFolder, never from
// ProgramFolder, since the two may lie apart.
extern QString DataRootFolder;
extern QString UserFolder;      // DataRootFolder + "Пользователи/" + ComputerName + "/" + UserName
extern QString SessionFolder;   // UserFolder + "/" + StartDate + "/" + StartTime

// Owned by InitAppGlobalVar / FreeAppGlobalVar; null outside that span, and then
// the trail guards log nothing.
extern std::unique_ptr<QStringList> ErrorInfo;
extern std::unique_ptr<QStringList> CommandLog;

extern std::uint8_t LogArguments;
extern std::uint8_t NewUser;
extern QString DocStartTime;
extern std::int32_t SavedCommandCount;
extern std::uint8_t DataFileState;   // 0 new, 1 opened (undo and redo included), 2 saved
extern std::int32_t UndoStep;
extern QString DataFileName;

// What the run takes from the system: the clock and the two names. Tests replace them;
// an empty function means the system's own. A name function returns "" when the
// system gives no name.
struct TRunEnvironment {
    std::function<QDateTime()> Now;
    std::function<QString()> UserName;
    std::function<QString()> ComputerName;
};
extern TRunEnvironment RunEnvironment;

// The logged-on user's name; "unknown" when the system gives none (or one that cannot
// be a folder name).
void GetWinUserName(QString& name);
// The computer's name; "unknown" as above.
void GetWinComputerName(QString& name);

// Sets the state in this order: ProgramFolder; ErrorInfo and CommandLog empty;
// LogArguments 1; UserName; ComputerName; StartDate and StartTime (two readings of the
// clock, the date first); NewUser 0; then the five folder levels "Пользователи",
// computer, user, date, time, one at a time, each only when missing (NewUser becomes 1
// when one of the first three had to be created); UserFolder and SessionFolder.
// The levels go below ProgramFolder; when a level cannot be created there (a read-only
// program folder), below FallbackDataRoot() instead, and the first run that creates the
// user's folder there leaves a notice. A level that cannot be created anywhere leaves a
// notice too; the run goes on with the paths as computed. Never throws for a folder.
void InitAppGlobalVar();
// Frees ErrorInfo and CommandLog; afterwards the trail guards log nothing.
void FreeAppGlobalVar();

// A notice for the user raised while the run started, kept until it is shown: start-up
// runs before any window exists.
extern QString StartNotice;
// Installed by the windows: shows a notice to the user.
extern std::function<void(const QString&)> NoticeHook;
// Shows StartNotice through NoticeHook when both exist and forgets it; true when shown.
bool ShowStartNotice();
