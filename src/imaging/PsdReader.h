// The Photoshop reader: the merged image that follows the layer section, channel by
// channel, raw or PackBits-coded row by row.
#pragma once

#include "imaging/ImageGraphic.h"

#include <QIODevice>

class TPSDGraphic : public TImageGraphic {
public:
    bool ProbeStream(QIODevice& stream) override;
    bool ReadImageInfo(QIODevice& stream, unsigned imageIndex) override;
    void LoadFromStream(QIODevice& stream) override;

private:
    std::uint16_t ColorMode = 0;
    std::uint16_t ChannelCount = 0;   // as stored; the properties keep it in a byte
};
