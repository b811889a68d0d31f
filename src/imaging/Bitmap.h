// The one bitmap every image reader fills: rows in the byte layouts the readers write
// (1, 4 and 8-bit palette indexes, 5-5-5 and 5-6-5 words, B,G,R and B,G,R,A bytes, top
// row first), held in the QImage that is drawn, so a large scan is never copied to be
// shown. Rasters are drawn ignoring alpha, as the plan engine always drew them: 32-bit
// rows live in Format_RGB32, whose fourth byte no drawing reads.
#pragma once

#include "imaging/PictureRegistry.h"

#include <QImage>
#include <QList>
#include <QRgb>
#include <QString>

#include <cstdint>
#include <vector>

enum TPixelFormat : std::uint8_t {
    pfDevice,   // the screen's: 32 bits here
    pf1bit,
    pf4bit,
    pf8bit,
    pf15bit,    // 5-5-5 words, blue in the low bits
    pf16bit,    // 5-6-5 words
    pf24bit,    // B, G, R bytes
    pf32bit,    // B, G, R, A bytes
    pfCustom    // no layout a bitmap can hold
};

// Bits one pixel of format takes in the rows a reader writes; 0 for pfCustom.
int PixelFormatBits(TPixelFormat format);

class TBitmap {
public:
    TBitmap() = default;
    TBitmap(const TBitmap& source) { Assign(source); }
    TBitmap& operator=(const TBitmap& source) { Assign(source); return *this; }
    virtual ~TBitmap() = default;

    // Shares the source's pixels (copied when either side writes) and its settings.
    virtual void Assign(const TBitmap& source);

    TPixelFormat PixelFormat() const { return Format; }
    // A new format drops the pixels: the image is made anew at the current size.
    // pfDevice is taken as pf32bit; pfCustom raises EInvalidGraphic at the next SetSize.
    void SetPixelFormat(TPixelFormat format);
    int Width() const { return Picture.width(); }
    int Height() const { return Picture.height(); }
    // Allocates width × height pixels of the current format through the memory check of
    // every picture (EPictureError when it does not fit, naming Name); 0 × 0 drops the
    // image. The pixels are zero.
    void SetSize(int width, int height);

    // Bytes of one row as the reader writes it (4-bit rows: two pixels a byte).
    int BytesPerLine() const;
    // Row y (0 at the top) in the reader's layout. A 4-bit row is handed out packed and
    // expanded into the held 8-bit row at the next ScanLine, Image or TakeImage, so only
    // the row last asked for may be written.
    std::uint8_t* ScanLine(int y);

    // Kept for the 1, 4 and 8-bit formats (2, 16 or 256 entries taken, black past the
    // given ones; a grey ramp until a table is given); set before or after SetSize.
    void SetColorTable(const QList<QRgb>& colors);
    QList<QRgb> ColorTable() const { return Colors; }

    // The colour drawn transparently, when Transparent is set.
    QRgb TransparentColor = 0;
    bool Transparent = false;
    // The file the pixels come from; named in memory messages.
    QString Name;

    // The image to draw: Mono, Indexed8 (also for 4 bits), RGB555, RGB16, BGR888, RGB32.
    const QImage& Image() const;
    QImage TakeImage();
    bool Empty() const { return Picture.isNull(); }

private:
    void CommitNibbles() const;
    void ApplyColors();

    TPixelFormat Format = pf32bit;
    // A 4-bit row handed out is expanded whenever the image is read, also through const.
    mutable QImage Picture;
    QList<QRgb> Colors;
    mutable std::vector<std::uint8_t> Nibbles;  // the packed 4-bit row handed out
    mutable int NibbleRow = -1;                 // its row, -1 when none is out
};
