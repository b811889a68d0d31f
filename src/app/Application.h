// The application object of the program: Qt's, with one duty added. An exception that
// leaves an event handler is caught where Qt delivers the event and handed to the
// application's exception handler (the crash reporter while it is enabled), so none
// ever crosses Qt's event loop and the program goes on.
#pragma once

#include <QApplication>

#include <functional>

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);

    // Delivers e as Qt does; an exception from the receiver's handler is given to
    // HandleApplicationException and the event counts as not handled.
    bool notify(QObject* receiver, QEvent* e) override;

    // Runs the program's life (the main window made, the event loop, the window gone) and
    // answers its exit code. An exception that escapes it outside any event, as one from
    // the main window's creation would, is handed to HandleApplicationException like one
    // from an event handler, and the code is 1: with no main window there is nothing to
    // go on with.
    static int RunProgram(const std::function<int()>& life);
};
