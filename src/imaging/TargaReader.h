// The Truevision Targa reader and writer: colour-mapped, true-colour and grey images,
// uncompressed or run-length encoded. Targa pixel layouts are the bitmap's own, so rows
// go straight into the bitmap.
#pragma once

#include "imaging/ImageGraphic.h"

#include <QIODevice>

class TTargaGraphic : public TImageGraphic {
public:
    bool ProbeStream(QIODevice& stream) override;
    // Answers false for an image type, colour map type, map entry size or pixel depth
    // that no reading path serves; a map entry size of 0 passes, as many writers put it.
    bool ReadImageInfo(QIODevice& stream, unsigned imageIndex) override;
    // An image whose header is not accepted leaves the picture empty without an error.
    void LoadFromStream(QIODevice& stream) override;

    // Writes the bitmap run-length encoded.
    void SaveToStream(QIODevice& stream);
    // Writes the bitmap, its rows top first; an empty bitmap writes nothing. Raises
    // EPictureError when the stream takes fewer bytes than given.
    void SaveTarga(QIODevice& stream, bool compressed);
};
