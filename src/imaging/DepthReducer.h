// Nearest-colour reduction of a 32-bit picture to the depths a raster export or a printed
// page is written at: 1 bit (black and white), 4 bits (the 16 standard colours), 8 bits
// (a 6×6×6 colour cube with 40 greys), 16 bits (5-5-5) and 24 bits. No dithering, so that
// lines and lettering stay crisp. Rows are reduced one at a time, never the whole picture.
#pragma once

#include <QList>
#include <QRgb>

#include <cstdint>

class TDepthReducer {
public:
    // bits: 1, 4, 8, 16 or 24; raises EInvalidGraphic for any other.
    explicit TDepthReducer(int bits);

    int Bits() const { return Depth; }
    // The colour table of the palette depths (2, 16 or 256 entries); empty above 8 bits.
    const QList<QRgb>& Palette() const { return Colors; }
    // Bytes of one packed row of width pixels, without padding.
    qsizetype PackedRowBytes(int width) const;
    // The row in the layout of a bitmap file: 1 and 4 bits packed with the leftmost pixel
    // in the high bits, 8-bit indexes, 5-5-5 words (blue low, little-endian), B, G, R bytes.
    void PackRow(const QRgb* src, int width, std::uint8_t* dst) const;
    // Each pixel replaced in place by the colour it would be written as.
    void ReduceRow(QRgb* row, int width) const;
    // The palette index (or, above 8 bits, the reduced colour) of one pixel.
    int Index(QRgb c) const;
    QRgb Reduced(QRgb c) const;

private:
    int Depth;
    QList<QRgb> Colors;
};
