// Every decoder on damaged input: random bytes, cut blocks and sizes of 0 stay inside the
// two buffers (the output between guard bytes, the input in a block of exactly its size
// that AddressSanitizer watches) and end; a decoder may raise its own error, nothing else.
#include "DecoderTestSupport.h"

#include <QBuffer>
#include <functional>
#include <random>

namespace {

struct RDecoderKind {
    const char* Name;
    std::function<std::unique_ptr<TDecoder>()> Make;
    std::size_t UnitBytes;   // bytes of one unit of the unpacked size
};

const TImageProperties& JPEGProperties()
{
    static const TImageProperties p = [] {
        TImageProperties q;
        q.Width = 16;
        q.Height = 16;
        q.ColorScheme = cmYCbCr;
        q.BitsPerSample = 8;
        q.SamplesPerPixel = 3;
        q.RowsPerStrip = {16};
        q.SubSampling = {2, 2};
        q.BytesPerLine = 48;
        return q;
    }();
    return p;
}

std::vector<RDecoderKind> AllDecoders()
{
    return {
        {"Targa 8", [] { return std::make_unique<TTargaRLEDecoder>(8); }, 1},
        {"Targa 24", [] { return std::make_unique<TTargaRLEDecoder>(24); }, 3},
        {"Targa 32", [] { return std::make_unique<TTargaRLEDecoder>(32); }, 4},
        {"LZW", [] { return std::make_unique<TTIFFLZWDecoder>(); }, 1},
        {"PackBits", [] { return std::make_unique<TPackbitsRLEDecoder>(); }, 1},
        {"PCX", [] { return std::make_unique<TPCXRLEDecoder>(); }, 1},
        {"SGI 8", [] { return std::make_unique<TSGIRLEDecoder>(8); }, 1},
        {"SGI 16", [] { return std::make_unique<TSGIRLEDecoder>(16); }, 2},
        {"Dr. Halo", [] { return std::make_unique<TCUTRLEDecoder>(); }, 1},
        {"Paint Shop Pro", [] { return std::make_unique<TPSPRLEDecoder>(); }, 1},
        {"RLA", [] { return std::make_unique<TRLADecoder>(); }, 1},
        {"Group 3", [] { return std::make_unique<TCCITTFax3Decoder>(0, false, false, 37); }, 1},
        {"Group 3 low bit first", [] { return std::make_unique<TCCITTFax3Decoder>(0, true, false, 8); }, 1},
        {"modified Huffman", [] { return std::make_unique<TCCITTMHDecoder>(0, false, false, 29); }, 1},
        {"modified Huffman word-aligned", [] { return std::make_unique<TCCITTMHDecoder>(0, false, true, 3); }, 1},
        {"deflate", [] { return std::make_unique<TLZ77Decoder>(1, true); }, 1},
        {"JPEG", [] { return std::make_unique<TTIFFJPEGDecoder>(&JPEGProperties()); }, 1},
        {"ThunderScan", [] { return std::make_unique<TThunderDecoder>(7); }, 1},
    };
}

// Unpacks and says whether the guards held; a decoder's own error counts as an answer.
bool SurvivesUnpack(TDecoder& decoder, const TBytes& packed, std::size_t units, std::size_t unitBytes)
{
    try {
        return UnpackGuarded(decoder, packed, units, units * unitBytes).GuardsIntact;
    } catch (const EPictureError&) {
        return true;
    }
}

} // namespace

TEST(DecoderDamage, RandomBlocksStayInsideBothBuffers)
{
    std::mt19937 random(2026);
    for (const RDecoderKind& kind : AllDecoders()) {
        SCOPED_TRACE(kind.Name);
        auto decoder = kind.Make();
        try {
            decoder->StartUnpack();
        } catch (const EPictureError&) {
        }
        for (int round = 0; round < 300; ++round) {
            TBytes packed(random() % 200);
            for (auto& b : packed)
                b = std::uint8_t(random());
            // now and then a block made of one byte value: the longest runs and codes
            if (round % 10 == 0)
                std::fill(packed.begin(), packed.end(), std::uint8_t(random()));
            const std::size_t units = random() % 120;
            ASSERT_TRUE(SurvivesUnpack(*decoder, packed, units, kind.UnitBytes)) << "round " << round;
        }
        try {
            decoder->FinishUnpack();
        } catch (const EPictureError&) {
        }
    }
}

TEST(DecoderDamage, CutFixtureStripsStayInsideBothBuffers)
{
    struct Case {
        const char* Name;
        std::function<std::unique_ptr<TDecoder>()> Make;
        const char* Strip;
        std::size_t Unpacked;
    };
    const Case cases[] = {
        {"LZW", [] { return std::make_unique<TTIFFLZWDecoder>(); }, "lzw_gray.strip", 10240},
        {"Group 3", [] { return std::make_unique<TCCITTFax3Decoder>(0, false, false, 2600); },
         "ccitt_g3_msb.strip", 325 * 83},
        {"JPEG", [] { return std::make_unique<TTIFFJPEGDecoder>(&JPEGProperties()); },
         "jpeg_ycbcr.strip", 16 * 48},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const TBytes strip = FixtureBytes(c.Strip);
        auto decoder = c.Make();
        for (std::size_t cut = 0; cut <= strip.size(); cut += 1 + strip.size() / 40) {
            TBytes damaged(strip.begin(), strip.begin() + std::ptrdiff_t(cut));
            // and the same cut with a flipped byte in the middle
            for (int flip = 0; flip < 2; ++flip) {
                if (flip && !damaged.empty())
                    damaged[damaged.size() / 2] ^= 0x5A;
                EXPECT_TRUE(SurvivesUnpack(*decoder, damaged, c.Unpacked, 1)) << "cut " << cut;
                EXPECT_TRUE(SurvivesUnpack(*decoder, damaged, c.Unpacked / 3, 1)) << "cut " << cut;
            }
        }
    }
}

TEST(DecoderDamage, PhotoCDStreamsOfNoiseEnd)
{
    std::mt19937 random(5);
    for (int round = 0; round < 100; ++round) {
        QByteArray bytes(int(random() % 6000), '\0');
        for (auto& b : bytes)
            b = char(random() % 4 == 0 ? 0xFF : random());
        QBuffer stream(&bytes);
        stream.open(QIODevice::ReadOnly);
        const std::size_t width = 1 + random() % 2000, rows = 1 + random() % 4;
        TBytes planes(3 * width * rows + 2 * GuardSize, GuardByte);
        std::array<std::uint8_t*, 3> at{planes.data() + GuardSize,
                                        planes.data() + GuardSize + width * rows,
                                        planes.data() + GuardSize + 2 * width * rows};
        TPCDDecoder decoder(&stream);
        decoder.UnpackPlanes(at, width, rows);
        for (std::size_t i = 0; i < GuardSize; ++i) {
            ASSERT_EQ(planes[i], GuardByte);
            ASSERT_EQ(planes[planes.size() - 1 - i], GuardByte);
        }
    }
}
