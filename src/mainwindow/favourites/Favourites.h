// The stored favourites: one folder per object kind below "Избранные" of the program
// folder, holding the toolbar's lines ("кнопки.txt"), and per button a 16 × 16 picture
// and a description, both named by the button's semantics and flag. The palettes and the
// set-up window read them afresh every time they are built; nothing is cached.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// The toolbar file of a kind's folder.
inline constexpr char16_t FavouritesButtonsFile[] = u"кнопки.txt";
// Separator line of the toolbar file.
inline constexpr char16_t FavouritesSeparator[] = u"-";

// The folder word of kind (0 points, 1 lines, 2 polygons) as the palettes and the set-up
// window write it ("точечные") and as the capture writes it ("Точечные"); the folder is
// the same one, found without regard to letter case. Empty for another kind.
QString FavouritesFolderWord(int kind);
QString FavouritesCaptureWord(int kind);

// The folder "Избранные/<word>/" of the program folder, resolved ignoring letter case,
// ending in "/". It need not exist.
QString FavouritesFolder(const QString& word);

// The name a button of semantics sem is stored under: sem with its fourth character (the
// "/" after the object code) made "-" when sem is longer than three characters, then
// "+" when creation is to call the classifier, else "-". Every other character a file
// name may not hold ("/", "\", a control character, a leading ".") is made "-" as well,
// so that no semantics can name a file outside the kind's folder.
QString FavouriteName(const QString& sem, bool callClassifier);

// The toolbar lines of the folder's "кнопки.txt"; false, lines empty, when there is no
// such file. Raises "Не удается прочитать файл ..." when it cannot be read.
bool ReadFavouriteButtons(const QString& folder, QStringList& lines);
// Replaces the folder's "кнопки.txt" (code page 1251, CR LF) through a temporary file.
// Raises naming the file when a line cannot be encoded or the file cannot be written;
// the old file then stays as it was.
void WriteFavouriteButtons(const QString& folder, const QStringList& lines);

// The picture file a toolbar line names in folder, letter case ignored; empty when the
// line names no file there (a separator, a deleted picture, a path outside the folder).
QString FavouritePictureFile(const QString& folder, const QString& line);
// The first line of the description "<name>.txt" beside the picture, name being line
// without its extension; empty when there is none or it cannot be read.
QString FavouriteHint(const QString& folder, const QString& line);
// How the set-up window shows a toolbar line or a picture file name: "---" for a
// separator, else the readable decoding for the kind of the line without its extension
// and flag (the raw name when the classifier cannot decode it).
QString FavouriteDescription(int kind, const QString& line);
// The "*.bmp" files of the folder (extension in any case), by name.
QStringList FavouritePictures(const QString& folder);

// The button-face colour of the toolbars as it comes back from an 8-bit picture: pixels
// of this colour (or of the exact button face) are transparent on a palette.
bool IsFavouriteTransparent(QRgb pixel);
// The picture as the toolbar shows it: transparent where IsFavouriteTransparent.
QImage FavouriteIcon(const QImage& picture);

// Writes a captured button into folder (made when missing): "<name>.txt", the one line
// description, then "<name>.bmp", 16 × 16 at 8 bits per pixel in the engine's 256-colour
// palette, each through a temporary file. Raises with the message for
// the user; a file that could not be written stays as it was.
void SaveFavourite(const QString& folder, const QString& name, const QImage& picture,
                   const QString& description);
