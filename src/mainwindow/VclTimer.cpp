#include "mainwindow/VclTimer.h"

TVclTimer::TVclTimer(int intervalMs, bool enabled, std::function<void()> onTimer, QObject* parent)
    : QObject(parent), FEnabled(enabled), FInterval(intervalMs), OnTimer(std::move(onTimer))
{
    connect(&Timer, &QTimer::timeout, this, [this] { Fire(); });
    Update(true);
}

void TVclTimer::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    Update(true);
}

void TVclTimer::SetInterval(int ms)
{
    if (ms == FInterval)
        return;
    FInterval = ms;
    Update(true);
}

void TVclTimer::Fire()
{
    if (OnTimer)
        OnTimer();
}

void TVclTimer::Update(bool restart)
{
    if (FEnabled && FInterval > 0) {
        if (restart || !Timer.isActive())
            Timer.start(FInterval);
    } else {
        Timer.stop();
    }
}
