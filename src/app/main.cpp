// The program's entry: the application with the program's own windows installed, then
// the main window, which runs the whole life of the plan, and the event loop.
#include "foundation/ui/ProgramWindows.h"
#include "foundation/ui/ServDialogsWindows.h"
#include "mainwindow/UnitMap.h"
#include "platform/Platform.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    PrepareProgramWindows();
    InstallDialogWindows();
    InitSeparatorsFromLocale();
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    int rc = 0;
    {
        TFormMap form(arguments);
        form.show();
        rc = QApplication::exec();
    }
    return rc;
}
