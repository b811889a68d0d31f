// The favourites' files: names, the toolbar file, descriptions and pictures.
#include "mainwindow/favourites/Favourites.h"

#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "imaging/BmpWriter.h"
#include "imaging/DepthReducer.h"
#include "platform/FileLookup.h"
#include "platform/TextFiles.h"
#include "semantics/codec/SemServices.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPalette>
#include <algorithm>

namespace {

const QString& Word(int kind, bool capture)
{
    static const QString palette[] = {QStringLiteral("точечные"), QStringLiteral("линейные"),
                                      QStringLiteral("площадные")};
    static const QString captured[] = {QStringLiteral("Точечные"), QStringLiteral("Линейные"),
                                       QStringLiteral("Площадные")};
    static const QString none;
    if (kind < 0 || kind > 2)
        return none;
    return capture ? captured[kind] : palette[kind];
}

bool NamesNoFile(const QString& line)
{
    return line.isEmpty() || line.contains(u'/') || line.contains(u'\\') || line == u"." ||
           line == u"..";
}

}  // namespace

QString FavouritesFolderWord(int kind) { return Word(kind, false); }
QString FavouritesCaptureWord(int kind) { return Word(kind, true); }

QString FavouritesFolder(const QString& word)
{
    return ProgramFolderPath(QStringLiteral("Избранные/") + word + u'/');
}

QString FavouriteName(const QString& sem, bool callClassifier)
{
    QString name = sem;
    if (name.length() > 3)
        name[3] = u'-';
    for (qsizetype i = 0; i < name.length(); ++i) {
        const QChar c = name[i];
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F ||
            (i == 0 && c == u'.'))
            name[i] = u'-';
    }
    return name + (callClassifier ? u'+' : u'-');
}

bool ReadFavouriteButtons(const QString& folder, QStringList& lines)
{
    lines.clear();
    const QString file = folder + QString::fromUtf16(FavouritesButtonsFile);
    if (!FileExistsIgnoringCase(file))
        return false;
    lines = ReadTextFileLines(file);
    return true;
}

void WriteFavouriteButtons(const QString& folder, const QStringList& lines)
{
    QDir().mkpath(folder);
    WriteTextFileLines(ResolvePath(folder + QString::fromUtf16(FavouritesButtonsFile)), lines);
}

QString FavouritePictureFile(const QString& folder, const QString& line)
{
    if (NamesNoFile(line) || line == QString::fromUtf16(FavouritesSeparator))
        return QString();
    const QString path = folder + line;
    return FileExistsIgnoringCase(path) ? ResolvePath(path) : QString();
}

QString FavouriteHint(const QString& folder, const QString& line)
{
    if (NamesNoFile(line) || line.length() < 4)
        return QString();
    const QString file = folder + line.left(line.length() - 4) + QStringLiteral(".txt");
    if (!FileExistsIgnoringCase(file))
        return QString();
    try {
        const QStringList lines = ReadTextFileLines(file);
        return lines.isEmpty() ? QString() : lines.first();
    } catch (const std::exception&) {
        return QString();   // a hint is only a hint: an unreadable one shows none
    }
}

QString FavouriteDescription(int kind, const QString& line)
{
    if (line == QString::fromUtf16(FavouritesSeparator))
        return QStringLiteral("---");
    const QString sem = line.left(std::max<qsizetype>(0, line.length() - 5));
    QString text;
    try {
        DecodeSem(kind, sem, text);
    } catch (const std::exception&) {
        text.clear();
    }
    return text.isEmpty() ? line : text;
}

QStringList FavouritePictures(const QString& folder)
{
    QStringList names;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
        if (name.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive))
            names << name;
    return names;
}

bool IsFavouriteTransparent(QRgb pixel)
{
    static const TDepthReducer reducer(8);
    const QRgb face = QApplication::palette().color(QPalette::Button).rgb();
    const QRgb opaque = pixel | 0xFF000000u;
    return opaque == face || opaque == (reducer.Reduced(face) | 0xFF000000u);
}

QImage FavouriteIcon(const QImage& picture)
{
    QImage icon = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < icon.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(icon.scanLine(y));
        for (int x = 0; x < icon.width(); ++x)
            if (IsFavouriteTransparent(row[x]))
                row[x] = 0;
    }
    return icon;
}

void SaveFavourite(const QString& folder, const QString& name, const QImage& picture,
                   const QString& description)
{
    if (!QDir().mkpath(folder))
        throw Exception(QStringLiteral("Не удается создать папку ") + folder);
    const QString base = ResolvePath(folder + name);
    // The description goes first: the set-up window lists pictures only, so a capture
    // stopped between the two files leaves no button behind.
    WriteTextFileLines(base + QStringLiteral(".txt"), QStringList{description});
    SaveImageAsBmp(base + QStringLiteral(".bmp"), picture, 8);
}
