// Scripted answers to the modal windows a routine under test opens. No script can hang
// its test program: a window that never shows, a step that failed and left its window
// open, or a window nobody expected is a recorded failure after a deadline, and the
// window then shown is closed so the routine returns. A script that has not run to its
// end when it goes fails its test too.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QWidget>
#include <functional>
#include <vector>

class TModalScript : public QObject {
public:
    using TStep = std::function<void(QWidget*)>;

    // How long a window may be awaited, or stay open after the last step.
    static constexpr int DefaultDeadlineMs = 10000;

    explicit TModalScript(int deadlineMs = DefaultDeadlineMs);
    ~TModalScript() override;
    TModalScript(const TModalScript&) = delete;
    TModalScript& operator=(const TModalScript&) = delete;

    // The next step: waits for a modal window that inherits windowClass, then acts on it.
    TModalScript& Then(const char* windowClass, TStep step);
    bool Done() const { return Next == Steps.size(); }

private:
    struct TScriptStep {
        const char* WindowClass;
        TStep Act;
    };
    void Schedule();
    void Poll();
    void MissDeadline(QWidget* shown);

    std::vector<TScriptStep> Steps;
    size_t Next = 0;
    int DeadlineMs;
    QElapsedTimer Waiting;       // since the last step ran or the last window was closed
    bool ReportedStall = false;  // a wait without any window is reported once
};

// Keys and the close box as the user gives them, to the window's focused control (or the
// window itself).
void Key(QWidget* window, int key);
inline void Enter(QWidget* w) { Key(w, Qt::Key_Return); }
inline void Esc(QWidget* w) { Key(w, Qt::Key_Escape); }
inline void CloseBox(QWidget* w) { w->close(); }
