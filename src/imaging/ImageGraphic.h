// The base of every image reader: a bitmap with its colour manager, the properties of the
// image last read, the stream position its offsets count from, and the helpers the
// readers share (byte order, horizontal differences, chroma upsampling).
#pragma once

#include "imaging/Bitmap.h"
#include "imaging/ColorManager.h"

#include <QIODevice>
#include <QRect>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// A broken or unsupported image file; the message is the reader's English text.
class EInvalidGraphic : public EPictureError {
public:
    using EPictureError::EPictureError;
};

[[noreturn]] void RaiseGraphicError(const QString& message);

// Bits of TImageProperties::Options.
enum TImageOption : std::uint8_t {
    ioTiled = 1,
    ioBigEndian = 2,
    ioMinIsWhite = 4,
    ioReversed = 8,      // bits stored lowest first
    ioUseGamma = 16
};

// The compression schemes a file may name; only some have a decoder.
enum TCompressionType : std::uint8_t {
    ctUnknown,
    ctNone,
    ctRLE,
    ctPackedBits,
    ctLZW,
    ctFax3,
    ctFaxRLE,
    ctFax4,
    ctFaxRLEW,
    ctLZ77,
    ctJPEG,
    ctOJPEG,
    ctThunderscan,
    ctNext,
    ctIT8CTPAD,
    ctIT8LW,
    ctIT8MP,
    ctIT8BL,
    ctPixarFilm,
    ctPixarLog,
    ctDCS,
    ctJBIG,
    ctPCDHuffmann
};

struct TImageProperties {
    std::uint32_t Version = 0;
    std::uint8_t Options = 0;             // TImageOption bits
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    TColorModel ColorScheme = cmUnknown;
    std::uint8_t BitsPerSample = 0;
    std::uint8_t SamplesPerPixel = 0;
    std::uint8_t BitsPerPixel = 0;
    TCompressionType Compression = ctUnknown;
    float FileGamma = 1.0f;
    float XResolution = 0;                // dots per inch
    float YResolution = 0;
    bool Interlaced = false;
    bool HasAlpha = false;
    std::uint32_t FirstIFD = 0;
    std::uint32_t PlanarConfig = 0;
    std::uint32_t CurrentRow = 0;
    std::uint32_t TileWidth = 0;
    std::uint32_t TileLength = 0;
    std::uint32_t BytesPerLine = 0;
    std::vector<std::uint32_t> RowsPerStrip;
    std::vector<std::uint8_t> SubSampling;  // horizontal, vertical
    std::vector<std::uint8_t> JPEGTables;
    std::uint32_t JPEGColorMode = 0;
    std::uint32_t JPEGTablesMode = 0;
    std::uint32_t CurrentStrip = 0;
    std::uint32_t StripCount = 0;
    std::uint32_t Predictor = 0;
    std::uint8_t Overview = 0;            // PCD
    std::uint8_t Rotate = 0;              // PCD
    std::uint16_t ImageCount = 0;         // PCD
    bool BottomUp = false;                // RLA
    std::uint8_t Channels = 0;            // Photoshop
    std::uint8_t FilterMode = 0;          // PNG
};

enum TProgressStage : std::uint8_t { psStarting, psRunning, psEnding };

// graphic, stage, percent 0..100, redraw, the part done so far, message.
using TProgressEvent = std::function<void(class TImageGraphic&, TProgressStage, int, bool, const QRect&,
                                          const QString&)>;

class TImageGraphic : public TBitmap {
public:
    TImageGraphic();
    TImageGraphic(const TImageGraphic&) = delete;
    TImageGraphic& operator=(const TImageGraphic&) = delete;
    ~TImageGraphic() override;

    // From another image graphic its properties come first, then the bitmap.
    void Assign(const TBitmap& source) override;

    // Whether the file holds an image this class reads; false when it cannot be opened.
    bool ProbeFile(const QString& path);
    // Whether the stream, from its position, holds an image this class reads; readers
    // restore the position. The base reads nothing.
    virtual bool ProbeStream(QIODevice& stream);
    // Fills ImageProperties from the stream; whether the image is usable. The base
    // clears the record (file gamma 1.0) and answers false; readers call it first.
    virtual bool ReadImageInfo(QIODevice& stream, unsigned imageIndex);

    // Opens the file (EPictureError when it cannot), names the bitmap after it and loads
    // from the stream; the base position is where loading starts.
    void LoadFromFile(const QString& path);
    // Reads the image at the stream's position; the base raises EInvalidGraphic.
    virtual void LoadFromStream(QIODevice& stream);

    TColorManager& ColorManager() { return *Colors; }

    TImageProperties ImageProperties;
    qint64 BasePosition = 0;
    QRect ProgressRect;
    TProgressEvent OnProgress;

protected:
    void Progress(TProgressStage stage, int percent, bool redraw, const QRect& rect, const QString& message);
    // The start of a load that reports progress row by row: the bitmap emptied, the
    // stream's position kept as BasePosition and the header read (false: not an image
    // of this class, nothing else done); then the stream set skip bytes past the base and
    // the progress started as stage on a one-row rectangle as wide as the image.
    bool StartRowLoad(QIODevice& stream, qint64 skip, const QString& stage);

private:
    std::unique_ptr<TColorManager> Colors;
};

// The whole image of the file at path, read by a new T: how a reader class joins the
// registry (see GraphicClassOf).
template <class T>
QImage ReadPictureWith(const QString& path)
{
    T graphic;
    graphic.LoadFromFile(path);
    return graphic.TakeImage();
}

// Byte order of count 16-bit or 32-bit values, reversed in place.
void SwapWords(void* data, std::size_t count);
void SwapLongs(void* data, std::size_t count);
std::uint32_t SwapLong(std::uint32_t value);

// Horizontal differences of 8-bit samples undone in place, wrapping at 256: n is the
// width less one; rows of 1, 3 or 4 samples per pixel (n, 3n or 4n bytes change).
void Depredict1(std::uint8_t* row, std::size_t n);
void Depredict3(std::uint8_t* row, std::size_t n);
void Depredict4(std::uint8_t* row, std::size_t n);

// Doubles a plane of 8-bit samples in place to twice the width and height by rounded
// means of the neighbours; rows lineStride bytes apart (at least twice the width) with
// room for twice the height.
void UpsamplePlane(int width, int height, int lineStride, std::uint8_t* plane);
