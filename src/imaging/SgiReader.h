// The SGI reader: channel-separated, big-endian images of 8 or 16-bit samples, stored
// verbatim as whole planes or run-length coded row by row through two tables of offsets.
#pragma once

#include "imaging/ImageGraphic.h"

#include <QIODevice>

#include <cstdint>
#include <memory>
#include <vector>

using TCardinalArray = std::vector<std::uint32_t>;

class TDecoder;

class TSGIGraphic : public TImageGraphic {
public:
    TSGIGraphic();
    ~TSGIGraphic() override;

    bool ProbeStream(QIODevice& stream) override;
    bool ReadImageInfo(QIODevice& stream, unsigned imageIndex) override;
    void LoadFromStream(QIODevice& stream) override;

private:
    // Fills each given channel buffer (red 0, green 1, blue 2, alpha 3; null: not wanted)
    // with stored row row of that channel; what the file does not hold reads as zero.
    void ReadChannelRow(std::uint8_t* red, std::uint8_t* green, std::uint8_t* blue, std::uint8_t* alpha,
                        int row, int bytesPerSample);

    QIODevice* Stream = nullptr;   // link, not owned: the stream of the current load
    TCardinalArray RowStart;
    TCardinalArray RowSize;
    std::unique_ptr<TDecoder> Decoder;
    std::vector<std::uint8_t> Packed;
};
