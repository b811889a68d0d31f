// A timer with the rules the window's timers were written for: enabling a running timer
// does not restart it, an interval of 0 keeps it from firing, and a change of interval
// while it runs starts its count afresh.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class TVclTimer : public QObject {
public:
    explicit TVclTimer(int intervalMs, bool enabled, std::function<void()> onTimer,
                       QObject* parent = nullptr);

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    int Interval() const { return FInterval; }
    void SetInterval(int ms);
    // Whether the timer is counting now (enabled with a positive interval).
    bool Running() const { return Timer.isActive(); }
    // Runs the handler as a tick would: tests drive the timers through it.
    void Fire();

private:
    void Update(bool restart);

    QTimer Timer;
    bool FEnabled;
    int FInterval;
    std::function<void()> OnTimer;
};
