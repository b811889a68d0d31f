// The row decoders: one small object per compression scheme, through which every image
// reader unpacks its packed blocks (a TIFF strip, a scan line, a run of rows). A reader
// constructs the decoder its file needs, calls StartUnpack once, Unpack once per block,
// FinishUnpack once after the last block, and frees it.
//
// Every decoder is bounded by both sizes it is given: it never reads more than
// PackedSize bytes from Source nor writes more than UnpackedSize units to Dest, and when
// the packed data ends early the rest of the unpacked block is zero. Corrupt data thus
// gives wrong or blank pixels, never a read or a write outside the two buffers.
#pragma once

#include "imaging/ImageGraphic.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class QIODevice;

// A packed block the decoder cannot unpack. The message is English, as the decoders'
// messages always were.
class EGraphicCompression : public EPictureError {
public:
    using EPictureError::EPictureError;
};

[[noreturn]] void RaiseCompressionError(const QString& Message);

// The family's interface. Source and Dest are passed by reference because some members
// advance them (the table at each class says which); the units of the sizes are the
// member's own, given at each class. Every member accepts any size, 0 included.
class TDecoder {
public:
    TDecoder() = default;
    TDecoder(const TDecoder&) = delete;
    TDecoder& operator=(const TDecoder&) = delete;
    virtual ~TDecoder() = default;

    virtual void Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest, std::size_t PackedSize,
                        std::size_t UnpackedSize) = 0;
    virtual void FinishUnpack() {}
    virtual void StartUnpack() {}
    // Packs Count units from Source into Dest and reports the bytes written; only the
    // Targa decoder packs, the others write nothing and report 0.
    virtual void Pack(const std::uint8_t* Source, std::uint8_t* Dest, std::size_t Count,
                      std::size_t& BytesStored)
    {
        BytesStored = 0;
    }
};

// Targa run-length packets of whole pixels (depth 8, 15, 16, 24 or 32 bits; any other
// depth unpacks and packs nothing). Unpack: PackedSize bytes, UnpackedSize pixels;
// Source is left just after the last packet read, so the reader knows where the next
// row begins; a packet that runs past the row is cut. Pack: Count pixels; Dest needs
// at most Count × bytes per pixel + ceil(Count / 128) bytes, never more than twice the
// row's bytes.
class TTargaRLEDecoder : public TDecoder {
public:
    explicit TTargaRLEDecoder(int ColorDepth) : ColorDepth(ColorDepth) {}
    void Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest, std::size_t PackedSize,
                std::size_t UnpackedSize) override;
    void Pack(const std::uint8_t* Source, std::uint8_t* Dest, std::size_t Count,
              std::size_t& BytesStored) override;

private:
    int ColorDepth;
};

// TIFF 6.0 LZW: codes of 9 to 12 bits, most significant bit first, the width growing one
// code early; a block that starts as the writers before TIFF 5.0 started theirs (bytes 0
// and then one with its low bit set) is read in their order, lowest bit first, the width
// growing on time. Sizes in bytes; Source and Dest are not moved.
class TTIFFLZWDecoder : public TDecoder {
public:
    void Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest, std::size_t PackedSize,
                std::size_t UnpackedSize) override;
};

// PackBits (TIFF and Photoshop). Sizes in bytes; nothing is moved.
class TPackbitsRLEDecoder : public TDecoder {
public:
    void Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest, std::size_t PackedSize,
                std::size_t UnpackedSize) override;
};

// PCX run-length. Sizes in bytes; nothing is moved.
class TPCXRLEDecoder : public TDecoder {
public:
    void Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest, std::size_t PackedSize,
                std::size_t UnpackedSize) override;
};

// SGI run-length of 8- or 16-bit samples (16-bit values stay big-endian as stored).
// PackedSize in bytes, UnpackedSize in samples; nothing is moved.
class TSGIRLEDecoder : public TDecoder {
public:
    explicit TSGIRLEDecoder(int SampleSize) : SampleSize(SampleSize) {}
    void Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest, std::size_t PackedSize,
                std::size_t UnpackedSize) override;

private:
    int SampleSize;   // bits, 8 or 16
};

// Dr. Halo run-length, one row per call: a 2-byte count, packets, a closing zero.
// Sizes in bytes (PackedSize: what is left of the data); Source is left after the
// closing zero, or at the end of the data when there is none.
class TCUTRLEDecoder : public TDecoder {
public:
    void Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest, std::size_t PackedSize,
                std::size_t UnpackedSize) override;
};

// Paint Shop Pro run-length. Sizes in bytes; nothing is moved.
class TPSPRLEDecoder : public TDecoder {
public:
    void Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest, std::size_t PackedSize,
                std::size_t UnpackedSize) override;
};

// Alias/Wavefront run-length. Sizes in bytes; nothing is moved.
class TRLADecoder : public TDecoder {
public:
    void Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest, std::size_t PackedSize,
                std::size_t UnpackedSize) override;
};

// ITU-T T.4 one-dimensional coding: rows of Width pixels, white 0 and black 1, most
// significant bit first, each row starting on a byte. Sizes in bytes; nothing is moved;
// each Unpack is a strip on its own.
class TCCITTDecoder : public TDecoder {
public:
    // Options: the T4 options (kept, they change nothing); SwapBits: the packed bytes hold
    // their lowest bit first; WordAligned: rows of packed data start on even offsets.
    TCCITTDecoder(std::uint32_t Options, bool SwapBits, bool WordAligned, std::uint32_t Width);

protected:
    struct TCodeNode {
        std::array<std::int32_t, 2> Child{};   // 0: none
        std::int32_t Value = 0;
    };
    // A run of one colour: the sum of its make-up codes and its terminating code, or -1
    // for an end-of-line code, -2 for the other codes of zeros. 0 when the input ends
    // before anything was read.
    int FindRun(const std::vector<TCodeNode>& Tree);
    bool NextBit(int& bit);
    bool SourceLeft() const { return PendingBit >= 0 || BitsLeft > 0 || Position < PackedEnd; }
    void BeginStrip(const std::uint8_t* Source, std::size_t PackedSize, std::uint8_t* Dest,
                    std::size_t UnpackedSize);
    // Writes Run pixels of the current colour; true when the row is complete.
    bool WriteRun(int Run);
    void FinishRow();
    bool TargetFull() const { return RowStart >= TargetEnd; }

    std::uint32_t Options;
    bool SwapBits;
    bool WordAligned;
    std::uint32_t Width;
    std::vector<TCodeNode> WhiteTree, BlackTree;

    // decoding state of the current strip
    bool Black = false;
    const std::uint8_t* PackedStart = nullptr;
    const std::uint8_t* Position = nullptr;
    const std::uint8_t* PackedEnd = nullptr;
    std::uint8_t CurrentByte = 0;
    int BitsLeft = 0;
    int PendingBit = -1;                 // a bit looked at but not used, or -1
    std::uint8_t* Target = nullptr;
    std::uint8_t* RowStart = nullptr;
    std::uint8_t* TargetEnd = nullptr;
    std::uint32_t RowPixels = 0;         // pixels of the current row written so far
};

// Group 3, one-dimensional: a row follows its end-of-line code or, where the writer left
// the codes out, the end of the row before it (a row ends after Width pixels).
class TCCITTFax3Decoder : public TCCITTDecoder {
public:
    using TCCITTDecoder::TCCITTDecoder;
    void Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest, std::size_t PackedSize,
                std::size_t UnpackedSize) override;
};

// Modified Huffman: no end-of-line codes, every row starting on a byte (on an even
// offset when word-aligned).
class TCCITTMHDecoder : public TCCITTDecoder {
public:
    using TCCITTDecoder::TCCITTDecoder;
    void Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest, std::size_t PackedSize,
                std::size_t UnpackedSize) override;
};

// Deflate through zlib's inflate. Sizes in bytes; Source and Dest are moved to where
// inflate stopped. FlushMode is zlib's flush argument; with Reset the stream is reset
// before every block (one deflate stream per TIFF strip), without it one stream runs
// across all blocks (PNG) and nothing is inflated after its end. A stream zlib finds
// broken raises "LZ77 decompression error."; Result keeps zlib's answer either way.
class TLZ77Decoder : public TDecoder {
public:
    TLZ77Decoder(int FlushMode, bool Reset);
    ~TLZ77Decoder() override;
    void StartUnpack() override;
    void Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest, std::size_t PackedSize,
                std::size_t UnpackedSize) override;
    void FinishUnpack() override;

    std::size_t InputLeft() const;
    std::size_t OutputLeft() const;
    int Result() const { return ZLibResult; }

private:
    struct TStream;
    std::unique_ptr<TStream> Stream;
    int FlushMode;
    bool Reset;
    bool Started = false;
    int ZLibResult = 0;
};

// JPEG-compressed TIFF strips through libjpeg. Sizes in bytes; nothing is moved. Colour
// rows come out as blue, green, red; grey rows as one byte per pixel; CMYK as stored.
// Reads of its reader's image properties the size, colour model, samples, planar
// configuration, rows per strip, subsampling, JPEG tables and bytes per line; the reader
// keeps CurrentRow and CurrentStrip up to date between strips. libjpeg's first warning of
// an image goes to the JPEG warning sink (see JpegGlue.h).
class TTIFFJPEGDecoder : public TDecoder {
public:
    explicit TTIFFJPEGDecoder(const TImageProperties* Properties);   // link, not owned
    ~TTIFFJPEGDecoder() override;
    void StartUnpack() override;
    void Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest, std::size_t PackedSize,
                std::size_t UnpackedSize) override;
    void FinishUnpack() override;

    struct TState;

private:
    const TImageProperties* Properties;
    std::unique_ptr<TState> State;
};

// ThunderScan: 4-bit pixels, two to a byte, high nibble first; rows of Width pixels.
// Sizes in bytes; nothing is moved.
class TThunderDecoder : public TDecoder {
public:
    explicit TThunderDecoder(std::uint32_t Width) : Width(Width) {}
    void Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest, std::size_t PackedSize,
                std::size_t UnpackedSize) override;

private:
    std::uint32_t Width;
};

// Photo-CD Huffman residuals, read from Stream from its current position, added to three
// planes of PackedSize × UnpackedSize bytes (width × rows; the chroma planes use the
// upper left quarter with the same row stride). Source points to the array of the three
// plane addresses (luma, first chroma, second chroma); nothing is moved.
class TPCDDecoder : public TDecoder {
public:
    explicit TPCDDecoder(QIODevice* Stream) : Stream(Stream) {}   // link, not owned
    void Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest, std::size_t PackedSize,
                std::size_t UnpackedSize) override;
    void UnpackPlanes(const std::array<std::uint8_t*, 3>& Planes, std::size_t Width,
                      std::size_t Rows);

private:
    QIODevice* Stream;
};
