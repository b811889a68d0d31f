// Process-wide state: the program folder, the identity of the run, the per-user and
// per-run folders, the error trail, the command journal and the document-level values
// that the plan engine and the main window hand to each other.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

// Folder strings use "/" and never end in one, except ProgramFolder.
extern QString ProgramFolder;
extern QString AppName;
extern QString AppVersion;
extern QString UserName;
extern QString ComputerName;
extern QString StartDate;       // "dd.mm.yyyy"
extern QString StartTime;       // "hh.nn.ss"
extern QString UserFolder;
extern QString SessionFolder;

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

void GetWinUserName(QString& name);
void GetWinComputerName(QString& name);

// Sets the state in the documented order and creates the five folder levels below
// the program folder, one at a time, each only when missing.
void InitAppGlobalVar();
void FreeAppGlobalVar();
