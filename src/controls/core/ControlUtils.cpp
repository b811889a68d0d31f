// Plain routines of the control library: the wait cursor, text shortening,
// command-line words and the masked-bitmap helpers.
#include "controls/core/ControlUtils.h"

#include <QCursor>
#include <QGuiApplication>

namespace {

int WaitCount = 0;
bool WaitCursorShown = false;

bool HaveGuiApplication()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

}  // namespace

void BeginWaitCursor()
{
    // The override stack of the application keeps the cursor that was current, so
    // restoring it at the end is exactly "put the saved cursor back".
    if (WaitCount == 0 && HaveGuiApplication()) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        WaitCursorShown = true;
    }
    ++WaitCount;
}

void EndWaitCursor()
{
    if (WaitCount <= 0)
        return;
    --WaitCount;
    if (WaitCount == 0 && WaitCursorShown) {
        WaitCursorShown = false;
        if (HaveGuiApplication())
            QGuiApplication::restoreOverrideCursor();
    }
}

int WaitCursorDepth()
{
    return WaitCount;
}
