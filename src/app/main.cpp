// The program's entry. Until the main window stands, it starts the run as the window
// will (separators, global state, run folders), says what this build holds and ends.
#include "foundation/AppGlobalVar.h"
#include "platform/FileLookup.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    InitSeparatorsFromLocale();
    InitAppGlobalVar();

    QTextStream out(stdout);
    out << "velmora6: this build holds the core library (text codec, case-ignoring file "
           "lookup, global state and run folders, error trail, list family); the main "
           "window is not part of it yet.\n";
    out << "Program folder: " << ProgramFolder << '\n';
    for (const char* folder : {"Семантика", "Условные знаки", "Шрифты", "Слои"}) {
        const QString name = QString::fromUtf8(folder);
        out << "  " << name << ": "
            << (FolderExistsIgnoringCase(ProgramFolder + name) ? "found" : "missing") << '\n';
    }
    out << "Run folder: " << SessionFolder << (NewUser ? " (new user)" : "") << '\n';
    out << "Decimal separator: " << DecimalSeparator << '\n';
    if (!StartNotice.isEmpty())
        out << StartNotice << '\n';
    FreeAppGlobalVar();
    return 0;
}
