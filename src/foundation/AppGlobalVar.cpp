#include "foundation/AppGlobalVar.h"

QString ProgramFolder;
QString AppName;
QString AppVersion;
QString UserName;
QString ComputerName;
QString StartDate;
QString StartTime;
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

void GetWinUserName(QString& name) { name = QStringLiteral("unknown"); }
void GetWinComputerName(QString& name) { name = QStringLiteral("unknown"); }

void InitAppGlobalVar()
{
    ErrorInfo = std::make_unique<QStringList>();
    CommandLog = std::make_unique<QStringList>();
    LogArguments = 1;
}

void FreeAppGlobalVar()
{
    ErrorInfo.reset();
    CommandLog.reset();
}
