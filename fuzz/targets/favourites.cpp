// The favourites' toolbar file "кнопки.txt", written into the folder of each kind (the
// pictures and descriptions of data/ beside it) and built into that kind's palette as
// the tool palette builds it; each line also described as the set-up window lists it.
#include "FuzzRun.h"
#include "FuzzWindow.h"

#include "mainwindow/favourites/Favourites.h"
#include "mainwindow/favourites/FormFavorites.h"

#include <QCoreApplication>
#include <QEvent>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzStartWindowRun();
    // One window for the whole run (its making reads the whole library), never freed:
    // at exit it would outlive what it stands on.
    static TFormMap* const form = FuzzNewMainWindow().release();
    for (int kind = 0; kind < 3; ++kind) {
        const QString folder = FavouritesFolder(FavouritesFolderWord(kind));
        FuzzWriteFile(folder + QString::fromUtf16(FavouritesButtonsFile), data, size);
        {
            TFormFavorites palette(*form, form);
            palette.Load(kind);
        }
        QStringList lines;
        try {
            ReadFavouriteButtons(folder, lines);
        } catch (const std::exception&) {
            continue;
        }
        for (const QString& line : lines) {
            FavouriteDescription(kind, line);
            FavouriteHint(folder, line);
        }
    }
    // The palettes' removed buttons go with the events no loop delivers here.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
