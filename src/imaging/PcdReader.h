// The Kodak Photo-CD reader: the 768 × 512 Base image of an image pack (or the same
// place of an overview pack), luma and half-resolution chroma, turned as the pack says.
#pragma once

#include "imaging/ImageGraphic.h"

#include <QIODevice>

class TPCDGraphic : public TImageGraphic {
public:
    bool ProbeStream(QIODevice& stream) override;
    // imageIndex chooses the resolution: 0 Base/16, 1 Base/4, 2 Base, up to 5.
    bool ReadImageInfo(QIODevice& stream, unsigned imageIndex) override;
    void LoadFromStream(QIODevice& stream) override;
};
