// Every event of the program passes here, so this is the one place where an exception
// thrown by an event handler is stopped before it unwinds through Qt's own frames.
#include "app/Application.h"

#include "foundation/ui/GsCatcher.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* e)
{
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
