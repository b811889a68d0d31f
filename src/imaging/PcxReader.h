// Readers of three palette-oriented formats with small little-endian headers: ZSoft PCX
// (and Word 5 screen captures), Autodesk Animator cels and pictures, and Dr. Halo CUT
// images with their companion ".pal" palette files.
#pragma once

#include "imaging/ImageGraphic.h"

#include <QIODevice>
#include <QString>

class TPCXGraphic : public TImageGraphic {
public:
    bool ProbeStream(QIODevice& stream) override;
    bool ReadImageInfo(QIODevice& stream, unsigned imageIndex) override;
    // A header ReadImageInfo refuses leaves the picture empty without an error.
    void LoadFromStream(QIODevice& stream) override;
};

class TAutodeskGraphic : public TImageGraphic {
public:
    bool ProbeStream(QIODevice& stream) override;
    bool ReadImageInfo(QIODevice& stream, unsigned imageIndex) override;
    void LoadFromStream(QIODevice& stream) override;
};

class TCUTGraphic : public TImageGraphic {
public:
    // The format has no signature: never recognised by content.
    bool ProbeStream(QIODevice& stream) override;
    bool ReadImageInfo(QIODevice& stream, unsigned imageIndex) override;
    // Remembers the palette file beside the image, then loads as every reader does.
    void LoadFromFile(const QString& path);
    // Colours from the palette file remembered by the last LoadFromFile, 256 greys
    // without one.
    void LoadFromStream(QIODevice& stream) override;

    // The companion palette of an image file: its name with the extension ".pal", found
    // whatever the letter case of the name on disk.
    static QString PaletteFileOf(const QString& imagePath);

private:
    QString PaletteFile;
};
