// Qt's translations and the quitting rule of the run before the main window.
#include "foundation/ui/ProgramWindows.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool LoadQtTranslations()
{
    static bool loaded = false;
    if (loaded)
        return true;
    auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.release());   // owned by the application
    loaded = true;
    return true;
}

void PrepareProgramWindows()
{
    LoadQtTranslations();
    QGuiApplication::setQuitOnLastWindowClosed(false);
}
