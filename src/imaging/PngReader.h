// The PNG reader: every chunk it reads is checked against its CRC, the image data is
// inflated row by row, unfiltered and converted into the bitmap, Adam7 passes included.
#pragma once

#include "imaging/ImageGraphic.h"

#include <QIODevice>
#include <QList>
#include <QRgb>

#include <cstdint>
#include <memory>
#include <vector>

class TLZ77Decoder;

class TPNGGraphic : public TImageGraphic {
public:
    TPNGGraphic();
    ~TPNGGraphic() override;

    bool ProbeStream(QIODevice& stream) override;
    bool ReadImageInfo(QIODevice& stream, unsigned imageIndex) override;
    void LoadFromStream(QIODevice& stream) override;

private:
    struct RChunkHeader {
        std::uint32_t Length = 0;
        std::uint8_t Type[4] = {};
    };

    void Load(QIODevice& stream);
    void ReadChunkHeader(QIODevice& stream);
    // The data of the current chunk into Raw, then its CRC, which must match.
    void ReadChunkData(QIODevice& stream);
    void SkipChunkData(QIODevice& stream);
    bool CurrentIs(const char* type) const;
    void SetUpColorManager();
    void ReadImage(QIODevice& stream);
    // Fills size bytes from the inflated image data; false when the IDAT chunks ended
    // first (the bytes then hold what arrived).
    bool ReadInflated(QIODevice& stream, std::uint8_t* dest, std::size_t size);
    void FillRows(int first, int last);
    void ReadBackground();
    void ReadTransparency();

    // IHDR
    std::uint8_t Depth = 0;
    std::uint8_t ColorType = 0;

    RChunkHeader Chunk;
    std::vector<std::uint8_t> Raw;        // data of the last chunk read
    std::unique_ptr<TLZ77Decoder> Decoder;
    const std::uint8_t* Input = nullptr;  // the part of Raw not yet inflated
    std::size_t InputLeft = 0;
    bool StreamEnded = false;
    QList<QRgb> Palette;
    bool PaletteRead = false;
    bool ImageRead = false;
    std::uint32_t BackgroundValue = 0;    // index or grey level in the bitmap's depth
    QRgb BackgroundColor = qRgb(255, 255, 255);
    bool BackgroundGiven = false;
    QRgb TransparentRgb = 0;
    bool TransparentGiven = false;
    unsigned SourceBPP = 1;               // bytes per pixel for the filters, at least 1
};
