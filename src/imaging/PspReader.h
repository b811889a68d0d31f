// The Paint Shop Pro reader: the first raster layer of the layer bank, channel by
// channel (raw, run-length or deflate), with the palette block of indexed images.
#pragma once

#include "imaging/ImageGraphic.h"

#include <QIODevice>

class TPSPGraphic : public TImageGraphic {
public:
    bool ProbeStream(QIODevice& stream) override;
    bool ReadImageInfo(QIODevice& stream, unsigned imageIndex) override;
    void LoadFromStream(QIODevice& stream) override;

private:
    struct TBlockHeader {
        std::uint16_t Kind = 0;
        qint64 Start = 0;      // where the content begins
        qint64 End = 0;        // where the next block begins
    };
    // The block header at the stream's position; false at the end of the stream or when
    // the identifier does not begin with "~".
    bool ReadBlockHeader(QIODevice& stream, TBlockHeader& block) const;
    // Reads the layer bank from the stream's position to end; true when a usable layer
    // was loaded into the bitmap.
    bool ReadLayerBank(QIODevice& stream, qint64 end);
    void ReadLayer(QIODevice& stream);

    qint64 AttributesEnd = 0;   // the end of the image attributes block
};
