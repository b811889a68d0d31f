// The crash reporter and the application's one handler of exceptions that left an event
// handler. The reporter must never be the second failure: each of its files is written
// on its own, and whatever goes wrong is told in the message instead of being thrown
// back into the event loop.
#include "foundation/ui/GsCatcher.h"

#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "imaging/JpegWriter.h"
#include "imaging/PictureRegistry.h"
#include "platform/CodePage.h"
#include "platform/FileLookup.h"
#include "platform/TextFiles.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QWidget>

#include <utility>

namespace {

const QString UnknownError = QStringLiteral("Неизвестная ошибка");
const QLatin1Char CR('\r');

struct RHandlerSlot {
    TApplicationExceptionHandler Handler;
    const TgsCatcher* Owner = nullptr;   // link, not owned: the catcher that installed it
};

RHandlerSlot& HandlerSlot()
{
    static RHandlerSlot slot;
    return slot;
}

// The trail as the report and the message give it: every line followed by CR LF, or a
// note ending in a CR when there is none.
QString TrailText()
{
    if (!ErrorInfo)
        return QStringLiteral("ErrorInfo not created\r");
    if (ErrorInfo->isEmpty())
        return QStringLiteral("ErrorInfo is Empty\r");
    QString text;
    for (const QString& line : std::as_const(*ErrorInfo))
        text += line + QStringLiteral("\r\n");
    return text;
}

void AppendToTrail(const QString& line)
{
    if (ErrorInfo)
        ErrorInfo->append(line);
}

QDateTime ReportMoment()
{
    return RunEnvironment.Now ? RunEnvironment.Now() : QDateTime::currentDateTime();
}

// A report never fails for its text: what code page 1251 lacks becomes "?".
QByteArray Cp1251Lines(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += EncodeCodePage(line);
        bytes += "\r\n";
    }
    return bytes;
}

QString ExecutableName()
{
    if (!QCoreApplication::instance())
        return QString();
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

// The window's object name, or its class when it has none, as a part of a file name.
QString WindowName(const QWidget* window)
{
    QString name = window->objectName();
    if (name.isEmpty())
        name = QString::fromLatin1(window->metaObject()->className());
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.replace(QChar(0), QLatin1Char('_'));
    return name;
}

const char* const ReportExtensions[] = {".txt", ".jpg", ".Log"};

// base, or base with "_2", "_3" … when a report of that name is there already (two
// failures in the same second on the same window).
QString FreeBaseName(const QString& folder, const QString& base)
{
    const auto taken = [&folder](const QString& name) {
        for (const char* extension : ReportExtensions) {
            if (FileExistsIgnoringCase(folder + QLatin1Char('/') + name +
                                       QLatin1String(extension)))
                return true;
        }
        return false;
    };
    if (!taken(base))
        return base;
    for (int n = 2;; ++n) {
        const QString numbered = base + QLatin1Char('_') + QString::number(n);
        if (!taken(numbered))
            return numbered;
    }
}

// What became of one file of the report.
struct RReportFile {
    const char* Name;         // as the message lists it
    bool Written = false;
};

QString CurrentExceptionMessage()
{
    return CaughtExceptionMessage(std::current_exception());
}

}  // namespace

QString CaughtExceptionMessage(std::exception_ptr e)
{
    QString message;
    try {
        if (e)
            std::rethrow_exception(e);
    } catch (const Exception& x) {
        message = x.Message;
    } catch (const EPictureError& x) {
        message = x.Message;
    } catch (const std::exception& x) {
        message = QString::fromUtf8(x.what());
    } catch (...) {
    }
    return message.isEmpty() ? UnknownError : message;
}

TApplicationExceptionHandler SetApplicationExceptionHandler(TApplicationExceptionHandler handler)
{
    RHandlerSlot& slot = HandlerSlot();
    slot.Owner = nullptr;
    return std::exchange(slot.Handler, std::move(handler));
}

void HandleApplicationException(QObject* sender, std::exception_ptr e) noexcept
{
    try {
        // A copy: the handler may install another while it runs.
        const TApplicationExceptionHandler handler = HandlerSlot().Handler;
        if (handler)
            handler(sender, e);
        else
            MessageDlg(CaughtExceptionMessage(e), mtError);
    } catch (...) {
        // The caller is the event loop, which no exception may cross.
    }
}

TgsCatcher::TgsCatcher(QObject* parent) : QObject(parent) {}

TgsCatcher::~TgsCatcher()
{
    SetEnabled(false);
}

void TgsCatcher::SetEnabled(bool enabled)
{
    IsEnabled = enabled;
    if (enabled) {
        SetApplicationExceptionHandler(
            [this](QObject* sender, std::exception_ptr e) { HandleException(sender, e); });
        HandlerSlot().Owner = this;
    } else if (HandlerSlot().Owner == this) {
        SetApplicationExceptionHandler({});
    }
}

QWidget* TgsCatcher::Active() const
{
    if (ActiveWindow)
        return ActiveWindow();
    return qobject_cast<QApplication*>(QCoreApplication::instance()) ? QApplication::activeWindow()
                                                                      : nullptr;
}

bool TgsCatcher::CountRepeat(const QString& message)
{
    const QDateTime now = ReportMoment();
    const qint64 since = LastMoment.isValid() ? LastMoment.msecsTo(now) : -1;
    const bool repeat = message == LastMessage && since >= 0 && since <= RepeatWindowMs;
    LastMoment = now;
    if (!repeat) {
        LastMessage = message;
        Repeats = 1;
        LastReport.clear();
        return false;
    }
    ++Repeats;
    if (!LastReport.isEmpty()) {
        // The one report of the run of failures keeps their count, after its "Error is" line.
        QStringList lines = LastReport;
        lines.insert(6, QStringLiteral("Times repeated: [") + QString::number(Repeats) +
                            QLatin1Char(']'));
        try {
            WriteFileBytes(ReportPath + QStringLiteral(".txt"), Cp1251Lines(lines));
        } catch (...) {
            // The first report stands; only its count is not brought up to date.
        }
    }
    return true;
}

void TgsCatcher::HandleException(QObject* sender, std::exception_ptr e) noexcept
{
    QString message = UnknownError;
    try {
        message = CaughtExceptionMessage(e);
        // A failure that comes back on every tick of a timer is one failure to the user:
        // one window and one report, its count kept, and the program goes on.
        if (CountRepeat(message)) {
            ClearErrorTrail();
            return;
        }
        Report(message);
    } catch (...) {
        try {
            MessageDlg(QStringLiteral("Ошибка : ") + message + CR +
                           QStringLiteral("Отчет об ошибке не сохранен: ") +
                           CurrentExceptionMessage(),
                       mtError);
        } catch (...) {
        }
    }
    try {
        if (ErrorInfo)
            ErrorInfo->clear();
    } catch (...) {
    }
}

void TgsCatcher::Report(const QString& errorMessage)
{
    // Before the run folders exist the path would lead to "/Errors" at the root.
    const QString folder = SessionFolder.isEmpty()
                               ? QString()
                               : ResolvePath(SessionFolder + QStringLiteral("/Errors"));
    const bool folderMade = !folder.isEmpty() && QDir().mkpath(folder);
    const QWidget* window = Active();
    const QString base = FreeBaseName(
        folder, ExecutableName() + QLatin1Char('_') +
                    (window ? WindowName(window) : QStringLiteral("(Nil)")) +
                    ReportMoment().toString(QStringLiteral("_dd.MM.yyyy_hh.mm.ss")));
    const QString trail = TrailText();
    ReportPath = folder + QLatin1Char('/') + base;

    RReportFile text{"txt"}, picture{"jpg"}, journal{"log"};
    QStringList failures;
    if (folder.isEmpty()) {
        failures << QStringLiteral("Папка запуска программы еще не создана");
    } else if (!folderMade) {
        failures << QStringLiteral("Не удается создать папку ") + folder;
    } else {
        const auto attempt = [&failures](RReportFile& file, const std::function<bool()>& write) {
            try {
                file.Written = write();
            } catch (...) {
                failures << CurrentExceptionMessage();
            }
        };
        attempt(picture, [this] { return WriteScreenShot(); });
        attempt(text, [this, &errorMessage] {
            WriteTextReport(errorMessage);
            return true;
        });
        if (CommandLog) {
            attempt(journal, [this] {
                WriteFileBytes(ReportPath + QStringLiteral(".Log"), Cp1251Lines(*CommandLog));
                return true;
            });
        }
    }

    const QString stars(52, QLatin1Char('*'));
    QString box = QStringLiteral("Ошибка : ") + errorMessage + CR + stars + CR +
                  QStringLiteral("Информация :") + CR + trail + stars + CR;
    QStringList written;
    for (const RReportFile* file : {&text, &picture, &journal}) {
        if (file->Written)
            written << QLatin1String(file->Name);
    }
    if (!written.isEmpty()) {
        box += QStringLiteral("Отчет об ошибке сохранен в файлах:") + CR + base +
               QStringLiteral("  (") + written.join(QLatin1Char(',')) + QStringLiteral(")") + CR +
               QStringLiteral("в  каталоге: ") + CR + folder + QStringLiteral("/  ");
        if (!failures.isEmpty())
            box += CR + QStringLiteral("Не удалось сохранить:") + CR + failures.join(CR);
    } else {
        box += QStringLiteral("Отчет об ошибке не сохранен:") + CR + failures.join(CR);
    }
    MessageDlg(box, mtError);
}

bool TgsCatcher::WriteScreenShot()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        AppendToTrail(QStringLiteral("Невозможно создать ScreenShot - Screen=nil"));
        return false;
    }
    QWidget* window = Active();
    if (!window) {
        AppendToTrail(QStringLiteral("Невозможно создать ScreenShot - Screen.ActiveForm=nil"));
        return false;
    }
    SaveImageAsJpeg(ReportPath + QStringLiteral(".jpg"), window->grab().toImage(), 100);
    return true;
}

void TgsCatcher::WriteTextReport(const QString& errorMessage)
{
    const QString dashes(53, QLatin1Char('-'));
    const QStringList lines = {
        QStringLiteral("******** This report is created by automated ********* "),
        QStringLiteral("      Computer name is: [") + ComputerName + QLatin1Char(']'),
        QStringLiteral("        User name is: [") + UserName + QLatin1Char(']'),
        QStringLiteral("Application name is: [") + AppName + QLatin1Char(']'),
        QStringLiteral("Application ver is: [") + AppVersion + QLatin1Char(']'),
        QStringLiteral("Error is: [") + errorMessage + QLatin1Char(']'),
        dashes,
        QStringLiteral("ErrorInfo: "),
        TrailText(),   // read again: the screenshot step may have added to it
        dashes,
        QStringLiteral("******************** End of report *******************")};
    WriteFileBytes(ReportPath + QStringLiteral(".txt"), Cp1251Lines(lines));
    LastReport = lines;
}
