// The one place where an image reader's decoded lines become bitmap rows: colour model,
// sample depth, interleaved or planar layout, gamma and byte order are translated here,
// one line at a time, under the 8-pixel mask that interlaced images use.
#pragma once

#include "imaging/Bitmap.h"

#include <QList>
#include <QRgb>

#include <array>
#include <cstdint>
#include <span>

// A setting the colour manager cannot serve. The message is the English text the user
// reads; a load catches it as any other picture error.
class EColorConversionError : public EPictureError {
public:
    using EPictureError::EPictureError;
};

// Stored in one byte; the values are those of the colour-scheme byte of TImageProperties.
enum TColorModel : std::uint8_t {
    cmUnknown,
    cmIndexed,
    cmGray,
    cmGrayAlpha,
    cmRGB,
    cmRGBA,
    cmBGR,
    cmBGRA,
    cmCMY,
    cmCMYK,
    cmCIELab,
    cmYCbCr,
    cmPhotoYCC
};

// Side flags, one byte per side; each value is its bit.
using TSampleFlags = std::uint8_t;
enum TSampleFlag : TSampleFlags {
    sfAlpha = 1,            // set and cleared by the converter choice, never by callers
    sfGamma = 2,            // target: 8-bit colour results pass the gamma table
    sfByteSwap = 4,         // source: 16-bit samples are stored most significant byte first
    sfLabByteRange = 8,     // source: L* over 0..255
    sfLabChromaOffset = 16  // source: a* and b* unsigned, 128 meaning zero
};

enum TPaletteLayout : std::uint8_t {
    plTriples8,
    plQuads8,
    plPlanes8,
    plPlanes8Quad,
    plTriples16,
    plQuads16,
    plPlanes16,
    plPlanes16Quad
};

// The input and output of one ConvertLine: a pointer per sample advancing by its step after
// each converted pixel (interleaved input: pointers into one pixel; planar: one per plane,
// a plane not given reading zeros).
struct RColorLine {
    const std::uint8_t* Sample[4] = {};
    std::size_t Step[4] = {};
    std::uint8_t* Target = nullptr;
    unsigned Count = 0;
    std::uint8_t Mask = 0xFF;

    void Advance(int samples)
    {
        for (int k = 0; k < samples; ++k)
            Sample[k] += Step[k];
    }
};

// a × b / c with a 32-bit product, truncated; 0 when c is 0.
std::uint16_t MulDivWord(std::uint16_t a, std::uint16_t b, std::uint16_t c);

class TColorManager {
public:
    TColorManager();

    std::uint8_t SourceSampleBits() const { return SourceBits; }
    std::uint8_t TargetSampleBits() const { return TargetBits; }
    std::uint8_t SourceSamples() const { return SourceCount; }
    std::uint8_t TargetSamples() const { return TargetCount; }
    TColorModel SourceModel() const { return SourceColorModel; }
    TColorModel TargetModel() const { return TargetColorModel; }

    // Depths 1 to 16 pass (only 1, 2, 4, 8 and 16 are converted); 0 and above 16 raise
    // EColorConversionError. Sample counts 1 to 4 pass.
    void SetSourceSampleBits(std::uint8_t bits);
    void SetTargetSampleBits(std::uint8_t bits);
    void SetSourceSamples(std::uint8_t samples);
    void SetTargetSamples(std::uint8_t samples);
    void SetSourceModel(TColorModel model);
    void SetTargetModel(TColorModel model);

    // Readers assign or extend these directly; doing so does not call for a new converter.
    TSampleFlags SourceFlags = 0;
    TSampleFlags TargetFlags = 0;

    // Converts count pixels into target. One source pointer: interleaved samples; more:
    // pointer k holds sample k of every pixel. Pixel i is converted when bit 7 - (i mod 8)
    // of mask is set; sources advance over converted pixels only, the target over every
    // pixel, and a skipped pixel's target bytes stay as they were. Raises
    // EColorConversionError when the settings have no converter.
    void ConvertLine(std::span<const void* const> sources, void* target, unsigned count,
                     std::uint8_t mask = 0xFF);

    // The colour table for count colour-map entries (at most 256 are taken), stretched or
    // shrunk to the target depth as the bit packer stretches or shrinks indexes.
    QList<QRgb> BuildColorPalette(std::span<const void* const> data, TPaletteLayout layout,
                                  unsigned count, bool blueFirst) const;
    // Evenly stepped greys for the target depth; with whiteFirst entry 0 is the brightest.
    QList<QRgb> BuildGrayPalette(bool whiteFirst) const;

    // Values not above 0 become 1.0 (file) and 2.2 (display); the table is rebuilt at once.
    void SetGammas(float fileGamma, float displayGamma);
    // Missing weights keep their values; factors must be 1, 2 or 4 with horizontal not
    // below vertical, else EColorConversionError (the weights are stored all the same).
    void SetChromaParameters(std::span<const float> lumaWeights, std::uint8_t horizontal,
                             std::uint8_t vertical);

    // The bitmap format that holds the pixels of side 0 (source) or 1 (target).
    TPixelFormat PixelFormatFor(int side) const;

    float FileGamma() const { return FileGammaValue; }
    float DisplayGamma() const { return DisplayGammaValue; }
    const std::array<std::uint8_t, 256>& GammaTable() const { return Gamma; }
    std::uint8_t HorizontalSubsampling() const { return Horizontal; }
    std::uint8_t VerticalSubsampling() const { return Vertical; }

private:
    using TConverter = void (TColorManager::*)(RColorLine&);

    void SetChecked(std::uint8_t& field, std::uint8_t value, std::uint8_t highest, const QString& message);
    void ChooseConverter();
    void BuildChromaTables(int redOffset, int blueOffset);

    void ConvertRGB(RColorLine& line);
    void ConvertCMYK(RColorLine& line);
    void ConvertLab(RColorLine& line);
    void ConvertYCC(RColorLine& line);
    void ConvertGray(RColorLine& line);
    void PackBits(RColorLine& line);
    void CopyWideIndexes(RColorLine& line);
    void PackWideIndexes(RColorLine& line);
    void WidenIndexes(RColorLine& line);

    bool Changed = true;
    std::uint8_t SourceBits = 8;
    std::uint8_t TargetBits = 8;
    std::uint8_t SourceCount = 3;
    std::uint8_t TargetCount = 3;
    float FileGammaValue = 1.0f;
    float DisplayGammaValue = 2.2f;
    std::array<std::uint8_t, 256> Gamma{};
    std::array<float, 3> LumaWeights{0.299f, 0.587f, 0.114f};
    std::uint8_t Horizontal = 1;
    std::uint8_t Vertical = 1;
    std::array<int, 256> RedFromCr{}, BlueFromCb{}, GreenFromCr{}, GreenFromCb{};
    TColorModel SourceColorModel = cmRGB;
    TColorModel TargetColorModel = cmBGR;
    TConverter Converter = nullptr;
    bool TargetBlueFirst = true;  // the order the colour converters write in
};
