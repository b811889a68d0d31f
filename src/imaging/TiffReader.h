// The TIFF reader: the first image of a TIFF file of either byte order, strip by strip
// through the row decoders and the colour manager into the bitmap. Offsets count from the
// base position, so a TIFF embedded in another file (the preview of an EPS) reads as well.
#pragma once

#include "imaging/ImageGraphic.h"

#include <QIODevice>

#include <cstdint>
#include <vector>

class TTIFFGraphic : public TImageGraphic {
public:
    bool ProbeStream(QIODevice& stream) override;
    bool ReadImageInfo(QIODevice& stream, unsigned imageIndex) override;
    void LoadFromStream(QIODevice& stream) override;

protected:
    struct TEntry {
        std::uint16_t Tag = 0;
        std::uint16_t Type = 0;
        std::uint32_t Count = 0;
        std::uint8_t Field[4] = {};   // the value field as stored in the file
    };

    // Every value of the tag, in machine order (rationals as quotients); empty when absent.
    std::vector<double> Values(QIODevice& stream, std::uint16_t tag);
    // The raw bytes of the tag's values as stored in the file.
    std::vector<std::uint8_t> RawValues(QIODevice& stream, const TEntry& entry);
    const TEntry* Find(std::uint16_t tag) const;
    double Value(QIODevice& stream, std::uint16_t tag, double fallback);
    void ReadDirectory(QIODevice& stream, std::uint32_t offset);
    // Raises EPictureError, before the picture is allocated, when a strip lies past the
    // end of the file (packed: its count; verbatim: its rows of bytesPerLine) or the
    // strips hold fewer rows than the image.
    void CheckStrips(QIODevice& stream, const std::vector<double>& offsets, const std::vector<double>& byteCounts,
                     std::uint64_t bytesPerLine, bool packed);

    std::vector<TEntry> Entries;       // sorted by tag
    std::uint32_t T4Options = 0;
    std::uint32_t ExtraSampleCount = 0;
    std::vector<float> Coefficients;   // YCbCr luma weights
    std::uint32_t YCbCrPositioning = 1;
};
