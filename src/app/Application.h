// The application object of the program: Qt's, with one duty added. An exception that
// leaves an event handler is caught where Qt delivers the event and handed to the
// application's exception handler (the crash reporter while it is enabled), so none
// ever crosses Qt's event loop and the program goes on.
#pragma once

#include <QApplication>

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);

    // Delivers e as Qt does; an exception from the receiver's handler is given to
    // HandleApplicationException and the event counts as not handled.
    bool notify(QObject* receiver, QEvent* e) override;
};
