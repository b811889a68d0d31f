// Every event of the program passes here, so this is the one place where an exception
// thrown by an event handler is stopped before it unwinds through Qt's own frames.
#include "app/Application.h"

#include "foundation/ErrorTrail.h"
#include "foundation/ui/GsCatcher.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* e)
{
    // Between two events of the main loop no failure is being handled: whatever trail a
    // handled one left is stale by now.
    static thread_local int depth = 0;
    if (depth == 0)
        ClearErrorTrail();
    struct TDepth {
        int& D;
        explicit TDepth(int& d) : D(d) { ++D; }
        ~TDepth() { --D; }
    } inEvent(depth);
    try {
        return QApplication::notify(receiver, e);
    } catch (...) {
        HandleApplicationException(receiver, std::current_exception());
        return false;
    }
}

int TApplication::RunProgram(const std::function<int()>& life)
{
    try {
        return life();
    } catch (...) {
        HandleApplicationException(nullptr, std::current_exception());
        return 1;
    }
}
