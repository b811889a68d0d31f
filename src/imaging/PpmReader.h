// The portable map reader: bitmaps, grey maps and pixel maps (PBM, PGM, PPM), in their
// text (P1 to P3) and binary (P4 to P6) forms.
#pragma once

#include "imaging/ImageGraphic.h"

#include <QIODevice>

#include <array>

class TPPMGraphic : public TImageGraphic {
public:
    bool ProbeStream(QIODevice& stream) override;
    // Reads the header: type, width, height and (not for bitmaps) the maximum value. A
    // "P" followed by another digit than 1 to 6 answers true without dimensions.
    bool ReadImageInfo(QIODevice& stream, unsigned imageIndex) override;
    void LoadFromStream(QIODevice& stream) override;

private:
    // Refills an exhausted buffer; "Stream read error in PPM file." past the end.
    void FillBuffer();
    // The next character; "Stream read error in PPM file." past the end of the stream.
    char NextChar();
    // The next character without taking it; 0 when the buffer is exhausted.
    char PeekChar() const;
    // The next number of the header or of a text map: white space and comments ("#" to
    // the end of the line) are skipped, the first character after the digits is taken.
    std::uint32_t ReadNumber();
    // The next pixel of a text bitmap: one "0" or "1", white space and comments skipped.
    bool ReadBit();
    // Fills data with size bytes, the buffered ones first.
    void ReadBytes(std::uint8_t* data, std::size_t size);
    void SkipBlanks();

    QIODevice* Stream = nullptr;   // link, not owned: the stream being read
    std::array<char, 4096> Buffer{};
    std::size_t BufferSize = 0;
    std::size_t BufferPosition = 0;
    char Kind = 0;                 // the digit after "P"
    std::uint32_t MaxValue = 255;
};
