// The program's entry. Until the main window stands, it says what this build holds.
#include "foundation/AppGlobalVar.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    InitSeparatorsFromLocale();
    QTextStream(stdout) << "velmora6: the core library (text codec, error trail, list family) "
                           "is built; the main window is not part of this build yet.\n";
    return 0;
}
