// The crash reporter. An exception that no routine handled reaches the application's
// handler, and while a catcher is enabled that is the catcher: it writes the text report
// with the error trail, a JPEG picture of the active window and the command journal into
// the run folder's "Errors" folder, shows the error with the trail, clears the trail, and
// the program goes on with the document and the journal untouched.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <exception>
#include <functional>

class QWidget;

// The text the user reads for any exception: our own message, a library's own text, or
// "Неизвестная ошибка" when it has none.
QString CaughtExceptionMessage(std::exception_ptr e);

// The application-wide handler of exceptions that left an event handler, at most one.
// sender: the object the event was for (may be null).
using TApplicationExceptionHandler = std::function<void(QObject* sender, std::exception_ptr e)>;
// Installs handler (empty: none) in place of any other; returns the previous one.
TApplicationExceptionHandler SetApplicationExceptionHandler(TApplicationExceptionHandler handler);
// Hands e to the installed handler or, with none, shows its text in the standard error
// box (MessageDlg). Never throws: whatever fails in there is swallowed, since the caller
// is the event loop.
void HandleApplicationException(QObject* sender, std::exception_ptr e) noexcept;

// A non-visual component of the main window (its QObject child).
class TgsCatcher : public QObject {
public:
    explicit TgsCatcher(QObject* parent = nullptr);
    // Uninstalls the handler when it is this one's.
    ~TgsCatcher() override;
    TgsCatcher(const TgsCatcher&) = delete;
    TgsCatcher& operator=(const TgsCatcher&) = delete;

    bool Enabled() const { return IsEnabled; }
    // true installs this catcher as the application's handler (replacing any other);
    // false removes it, and the application falls back to its plain error box.
    void SetEnabled(bool enabled);

    // The handler: the three report files, the message box, the trail cleared. Never
    // throws: a file that cannot be written, or a failure of the handler itself, is told
    // in the message instead.
    void HandleException(QObject* sender, std::exception_ptr e) noexcept;

    // ReportPath + ".jpg": the active window grabbed and written as JPEG of quality 100.
    // With no window (or no application) it appends the reason to the trail and answers
    // false. Raises EPictureError when the picture cannot be written.
    bool WriteScreenShot();
    // ReportPath + ".txt": the eleven lines of the report in code page 1251 with CR LF,
    // the trail read at this moment. Raises Exception when the file cannot be written.
    void WriteTextReport(const QString& errorMessage);

    // The window the report is about; empty means the application's active window.
    std::function<QWidget*()> ActiveWindow;

    // The last report: SessionFolder + "/Errors/" + its base name, without extension.
    QString ReportPath;

    // The same message again within this many milliseconds of the last one is a repeat:
    // counted into the report already written, no window shown.
    static constexpr qint64 RepeatWindowMs = 5000;

private:
    QWidget* Active() const;
    void Report(const QString& errorMessage);
    // True when message repeats the last failure (its count then written into that
    // failure's report); false starts a new run of failures.
    bool CountRepeat(const QString& message);

    bool IsEnabled = false;
    QString LastMessage;
    QDateTime LastMoment;
    int Repeats = 0;
    QStringList LastReport;   // the text report's lines as last written
};
