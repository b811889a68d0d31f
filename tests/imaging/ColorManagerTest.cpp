// The colour manager: each converter on small lines whose results can be worked by hand,
// the interlace mask, the errors and when they come, and the palettes that go with the
// converted indexes.
#include "imaging/ColorManager.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;

struct RSettings {
    TColorModel Source, Target;
    std::uint8_t SourceBits = 8, TargetBits = 8;
};

void Apply(TColorManager& manager, const RSettings& s)
{
    manager.SetSourceModel(s.Source);
    manager.SetTargetModel(s.Target);
    manager.SetSourceSampleBits(s.SourceBits);
    manager.SetTargetSampleBits(s.TargetBits);
}

// count pixels of input converted into a target of targetBytes bytes, first filled with fill.
TBytes Convert(TColorManager& manager, const TBytes& input, unsigned count, std::size_t targetBytes,
               std::uint8_t mask = 0xFF, std::uint8_t fill = 0)
{
    TBytes target(targetBytes, fill);
    const void* source[] = {input.data()};
    manager.ConvertLine(source, target.data(), count, mask);
    return target;
}

TBytes Words(std::initializer_list<std::uint16_t> words)
{
    TBytes bytes;
    for (std::uint16_t w : words) {
        bytes.push_back(std::uint8_t(w & 0xFF));
        bytes.push_back(std::uint8_t(w >> 8));
    }
    return bytes;
}

QString ConversionErrorOf(TColorManager& manager, const TBytes& input)
{
    TBytes target(64);
    const void* source[] = {input.data()};
    try {
        manager.ConvertLine(source, target.data(), 1);
    } catch (const EColorConversionError& e) {
        return e.Message;
    }
    return QString();
}

const QString IndexedMixed =
    QStringLiteral("Conversion between indexed and non-indexed pixel formats is not supported.");
const QString NoMethod = QStringLiteral("Color conversion failed. Could not find a proper method.");

}  // namespace

TEST(ColorManager, DefaultSwapsRedAndBlueWithoutGamma)
{
    TColorManager manager;
    EXPECT_EQ(Convert(manager, {1, 2, 3, 200, 100, 50}, 2, 6), (TBytes{3, 2, 1, 50, 100, 200}));
}

TEST(ColorManager, MaskConvertsSelectedPixelsFromConsecutiveInput)
{
    TColorManager manager;
    manager.SetSourceModel(cmGray);
    manager.SetTargetModel(cmGray);
    // Input holds only the pixels of this pass; the other target pixels keep their bytes.
    EXPECT_EQ(Convert(manager, {10, 20, 30, 40, 50}, 10, 10, 0xAA, 0xEE),
              (TBytes{10, 0xEE, 20, 0xEE, 30, 0xEE, 40, 0xEE, 50, 0xEE}));
    TColorManager colour;
    EXPECT_EQ(Convert(colour, {1, 2, 3, 4, 5, 6}, 3, 9, 0xA0, 0xEE),
              (TBytes{3, 2, 1, 0xEE, 0xEE, 0xEE, 6, 5, 4}));
}

TEST(ColorManager, AlphaIsDroppedSkippedOrCopied)
{
    struct Case {
        TColorModel source, target;
        TBytes input, expected;
    };
    const Case cases[] = {
        {cmRGBA, cmBGR, {1, 2, 3, 9, 4, 5, 6, 8}, {3, 2, 1, 6, 5, 4, 0xEE, 0xEE}},
        {cmRGB, cmBGRA, {1, 2, 3, 4, 5, 6}, {3, 2, 1, 0xEE, 6, 5, 4, 0xEE}},
        {cmRGBA, cmBGRA, {1, 2, 3, 9, 4, 5, 6, 8}, {3, 2, 1, 9, 6, 5, 4, 8}},
        {cmBGRA, cmBGRA, {1, 2, 3, 9, 4, 5, 6, 8}, {1, 2, 3, 9, 4, 5, 6, 8}},
        {cmRGB, cmRGB, {1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6, 0xEE, 0xEE}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.source) * 100 + int(c.target));
        TColorManager manager;
        Apply(manager, {c.source, c.target});
        EXPECT_EQ(Convert(manager, c.input, 2, 8, 0xFF, 0xEE), c.expected);
    }
}

TEST(ColorManager, SixteenBitSamplesAreScaledSwappedAndWidened)
{
    TColorManager down;
    Apply(down, {cmRGB, cmRGB, 16, 8});
    EXPECT_EQ(Convert(down, Words({65535, 0x1234, 257}), 1, 3), (TBytes{255, 18, 1}));
    down.SourceFlags = sfByteSwap;
    EXPECT_EQ(Convert(down, Words({0xFFFF, 0x3412, 0x0101}), 1, 3), (TBytes{255, 18, 1}));

    TColorManager up;
    Apply(up, {cmRGB, cmBGR, 8, 16});
    EXPECT_EQ(Convert(up, {1, 2, 255}, 1, 6), Words({65535, 514, 257}));

    TColorManager wide;
    Apply(wide, {cmRGB, cmRGB, 16, 16});
    wide.SourceFlags = sfByteSwap;
    EXPECT_EQ(Convert(wide, Words({0x1234, 0xABCD, 0x0001}), 1, 6), Words({0x3412, 0xCDAB, 0x0100}));
}

TEST(ColorManager, PlanarInputTakesOneSampleFromEachPlane)
{
    TColorManager manager;
    const TBytes red{1, 4}, green{2, 5}, blue{3, 6};
    const void* planes[] = {red.data(), green.data(), blue.data()};
    TBytes target(6);
    manager.ConvertLine(planes, target.data(), 2);
    EXPECT_EQ(target, (TBytes{3, 2, 1, 6, 5, 4}));
}

TEST(ColorManager, GammaTableAppliesToColourNotAlpha)
{
    TColorManager manager;
    EXPECT_EQ(manager.GammaTable()[128], 186);  // (128 / 255)^(1 / 2.2) × 255 = 186.4
    Apply(manager, {cmRGBA, cmBGRA});
    manager.TargetFlags = sfGamma;
    EXPECT_EQ(Convert(manager, {128, 0, 255, 128}, 1, 4), (TBytes{255, 0, 186, 128}));
    manager.SetGammas(1.0f, 1.0f);
    EXPECT_EQ(Convert(manager, {128, 0, 255, 128}, 1, 4), (TBytes{255, 0, 128, 128}));
    manager.SetGammas(-1.0f, 0.0f);  // refused values fall back to 1.0 and 2.2
    EXPECT_FLOAT_EQ(manager.FileGamma(), 1.0f);
    EXPECT_FLOAT_EQ(manager.DisplayGamma(), 2.2f);
}

// Guards the gamma bound taken from a 16-bit target for a low-depth source, which would
// write far past the 256-entry table.
TEST(ColorManager, GammaOfLowDepthSourceAndWideTargetStaysInTable)
{
    TColorManager manager;
    manager.SetSourceSampleBits(4);
    manager.SetTargetSampleBits(16);
    manager.SetGammas(1.0f, 1.0f);
    EXPECT_EQ(manager.GammaTable()[255], 255);
    EXPECT_EQ(manager.GammaTable()[17], 17);
}

TEST(ColorManager, CmykGivesBlackAndPrimaries)
{
    struct Case {
        TBytes cmyk, bgr;
    };
    const Case cases[] = {
        {{0, 0, 0, 255}, {0, 0, 0}},
        {{255, 0, 0, 0}, {255, 255, 0}},     // cyan: red 0, green and blue 255
        {{0, 0, 0, 0}, {255, 255, 255}},
        {{0, 255, 255, 0}, {0, 0, 255}},     // red
    };
    for (const Case& c : cases) {
        TColorManager manager;
        Apply(manager, {cmCMYK, cmBGR});
        EXPECT_EQ(Convert(manager, c.cmyk, 1, 3), c.bgr);
        const void* planes[] = {&c.cmyk[0], &c.cmyk[1], &c.cmyk[2], &c.cmyk[3]};
        TBytes planar(3);
        manager.ConvertLine(planes, planar.data(), 1);
        EXPECT_EQ(planar, c.bgr);
    }
    TColorManager wide;
    Apply(wide, {cmCMYK, cmRGB, 16, 16});
    EXPECT_EQ(Convert(wide, Words({65535, 0, 0, 0}), 1, 6), Words({0, 65535, 65535}));
    Apply(wide, {cmCMYK, cmRGB, 16, 8});
    EXPECT_EQ(Convert(wide, Words({65535, 0, 0, 0}), 1, 3), (TBytes{0, 255, 255}));
}

TEST(ColorManager, YccNeutralChromaGivesGrey)
{
    TColorManager manager;
    Apply(manager, {cmYCbCr, cmBGR});
    EXPECT_EQ(Convert(manager, {128, 128, 128, 0, 128, 128}, 2, 6), (TBytes{128, 128, 128, 0, 0, 0}));
    // Pure red: Y 76, Cb 85, Cr 255 of the usual weights.
    EXPECT_EQ(Convert(manager, {76, 85, 255}, 1, 3), (TBytes{0, 0, 254}));
    Apply(manager, {cmPhotoYCC, cmRGB});
    EXPECT_EQ(Convert(manager, {100, 156, 137}, 1, 3), (TBytes{100, 100, 100}));
    EXPECT_NE(Convert(manager, {100, 128, 128}, 1, 3), (TBytes{100, 100, 100}));
    Apply(manager, {cmYCbCr, cmRGB, 16, 8});
    EXPECT_EQ(Convert(manager, Words({32896, 32896, 32896}), 1, 3), (TBytes{128, 128, 128}));
    Apply(manager, {cmYCbCr, cmRGB, 8, 16});
    EXPECT_EQ(Convert(manager, {128, 128, 128}, 1, 6), Words({32896, 32896, 32896}));
}

// Guards chroma tables kept from the weights of an earlier image: new weights must be
// used at the next line even when no other setting changes.
TEST(ColorManager, NewLumaWeightsRebuildTheChromaTables)
{
    TColorManager manager;
    Apply(manager, {cmYCbCr, cmRGB});
    const TBytes before = Convert(manager, {76, 85, 255}, 1, 3);
    const float weights[] = {0.2126f, 0.7152f, 0.0722f};
    manager.SetChromaParameters(weights, 1, 1);
    EXPECT_NE(Convert(manager, {76, 85, 255}, 1, 3), before);
}

TEST(ColorManager, ChromaTablesRoundHalvesToEven)
{
    // Red weight 0.25 gives 1.5 × (Cr − 128): 4.5 at Cr 131, which rounds to 4, not 5.
    TColorManager manager;
    const float weights[] = {0.25f, 0.5f, 0.25f};
    manager.SetChromaParameters(weights, 1, 1);
    Apply(manager, {cmYCbCr, cmRGB});
    EXPECT_EQ(Convert(manager, {100, 128, 131, 100, 128, 129}, 2, 6), (TBytes{104, 98, 100, 102, 99, 100}));
}

TEST(ColorManager, LabWhiteAndBlack)
{
    struct Case {
        TSampleFlags flags;
        TBytes lab, rgb;
    };
    const Case cases[] = {
        {0, {100, 0, 0}, {255, 255, 255}},   // X = Y = Z = 1; red 254.745 rounds to 255
        {sfLabByteRange, {255, 0, 0}, {255, 255, 255}},
        {sfLabChromaOffset, {100, 128, 128}, {255, 255, 255}},
        {0, {0, 0, 0}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        TColorManager manager;
        Apply(manager, {cmCIELab, cmRGB});
        manager.SourceFlags = c.flags;
        EXPECT_EQ(Convert(manager, c.lab, 1, 3), c.rgb);
    }
    // 16-bit L* is the whole word; a* and b* without the offset are the low bytes, signed.
    TColorManager wide;
    Apply(wide, {cmCIELab, cmBGR, 16, 16});
    EXPECT_EQ(Convert(wide, Words({100, 0x7F00, 0x0100}), 1, 6), Words({65535, 65535, 65535}));
}

TEST(ColorManager, IndexAndGreyDepthsArePackedWithRotatingMasks)
{
    struct Case {
        TColorModel model;
        std::uint8_t s, t;
        TBytes input;
        unsigned count;
        std::uint8_t mask, fill;
        TBytes expected;
    };
    const Case cases[] = {
        {cmIndexed, 4, 8, {0x1F, 0xA0}, 4, 0xFF, 0, {17, 255, 170, 0}},       // index × 17
        {cmGray, 1, 8, {0xA5}, 8, 0xFF, 0, {255, 0, 255, 0, 0, 255, 0, 255}},
        {cmIndexed, 8, 4, {0, 17, 255, 34}, 4, 0xFF, 0, {0x01, 0xF2}},
        {cmIndexed, 2, 2, {0xE4}, 4, 0xFF, 0, {0xE4}},                          // copied
        // Skipped pixels keep their bits of the target byte.
        {cmIndexed, 8, 1, {255, 255, 255}, 8, 0xA8, 0x01, {0xA9}},
        {cmIndexed, 4, 4, {0x12, 0x30}, 4, 0x50, 0xFF, {0xF1, 0xF2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.s) << " to " << int(c.t));
        TColorManager manager;
        Apply(manager, {c.model, c.model, c.s, c.t});
        EXPECT_EQ(Convert(manager, c.input, c.count, c.expected.size(), c.mask, c.fill), c.expected);
    }
}

TEST(ColorManager, WideIndexesAndGrey)
{
    TColorManager copy;
    Apply(copy, {cmIndexed, cmIndexed, 16, 16});
    copy.SourceFlags = sfByteSwap;
    EXPECT_EQ(Convert(copy, Words({0x0102}), 1, 2), Words({0x0201}));
    TColorManager narrow;
    Apply(narrow, {cmIndexed, cmIndexed, 16, 8});
    EXPECT_EQ(Convert(narrow, Words({65535, 257, 0}), 3, 3), (TBytes{255, 1, 0}));
    TColorManager widen;
    Apply(widen, {cmIndexed, cmIndexed, 4, 16});
    EXPECT_EQ(Convert(widen, {0xF1}, 2, 4), Words({65535, 4369}));
    TColorManager grey;
    Apply(grey, {cmGrayAlpha, cmGray, 16, 8});
    EXPECT_EQ(Convert(grey, Words({65535, 7, 257, 7}), 2, 2), (TBytes{255, 1}));
    Apply(grey, {cmGray, cmGray, 8, 16});
    EXPECT_EQ(Convert(grey, {2}, 1, 2), Words({514}));
}

TEST(ColorManager, UnservableSettingsRaiseAtTheFirstLineAndAgain)
{
    struct Case {
        RSettings settings;
        QString message;
    };
    const Case cases[] = {
        {{cmGray, cmRGB}, IndexedMixed},
        {{cmRGB, cmIndexed}, IndexedMixed},
        {{cmGrayAlpha, cmGrayAlpha}, IndexedMixed},
        {{cmCMY, cmBGR}, NoMethod},
        {{cmGray, cmGray, 4, 16}, NoMethod},
        {{cmIndexed, cmIndexed, 3, 8}, NoMethod},   // depths a packer cannot tile
        {{cmRGB, cmCMYK}, NoMethod},
    };
    for (const Case& c : cases) {
        TColorManager manager;
        Apply(manager, c.settings);  // the setters accept all of these
        EXPECT_EQ(ConversionErrorOf(manager, TBytes(16)), c.message);
        EXPECT_EQ(ConversionErrorOf(manager, TBytes(16)), c.message);
    }
}

TEST(ColorManager, SettersRefuseDepthsAndCounts)
{
    const QString depth = QStringLiteral("Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.");
    const QString count = QStringLiteral("Sample count per pixel does not correspond to the given color scheme.");
    TColorManager manager;
    EXPECT_THROW(manager.SetSourceSampleBits(0), EColorConversionError);
    try {
        manager.SetTargetSampleBits(17);
        ADD_FAILURE();
    } catch (const EColorConversionError& e) {
        EXPECT_EQ(e.Message, depth);
    }
    EXPECT_EQ(manager.TargetSampleBits(), 8);
    manager.SetSourceSampleBits(3);
    EXPECT_EQ(manager.SourceSampleBits(), 3);
    try {
        manager.SetSourceSamples(5);
        ADD_FAILURE();
    } catch (const EColorConversionError& e) {
        EXPECT_EQ(e.Message, count);
    }
    EXPECT_THROW(manager.SetTargetSamples(0), EColorConversionError);
    EXPECT_EQ(manager.SourceSamples(), 3);
}

TEST(ColorManager, ChromaParametersAreCheckedAfterTheWeightsAreStored)
{
    TColorManager manager;
    const float weights[] = {0.5f};
    const auto messageOf = [&](std::uint8_t h, std::uint8_t v) {
        try {
            manager.SetChromaParameters(weights, h, v);
        } catch (const EColorConversionError& e) {
            return e.Message;
        }
        return QString();
    };
    EXPECT_EQ(messageOf(1, 2), QStringLiteral("Vertical subsampling value must be <= horizontal subsampling value."));
    EXPECT_EQ(messageOf(3, 1), QStringLiteral("Subsampling value is invalid. Allowed are 1, 2 and 4."));
    EXPECT_EQ(messageOf(2, 3), QStringLiteral("Subsampling value is invalid. Allowed are 1, 2 and 4."));
    EXPECT_EQ(manager.HorizontalSubsampling(), 1);
    EXPECT_EQ(messageOf(4, 2), QString());
    EXPECT_EQ(manager.HorizontalSubsampling(), 4);
    EXPECT_EQ(manager.VerticalSubsampling(), 2);
}

TEST(ColorManager, PalettesFollowTheLayoutsAndTheTargetDepth)
{
    TColorManager manager;
    const TBytes triples{1, 2, 3, 4, 5, 6};
    const void* one[] = {triples.data()};
    EXPECT_EQ(manager.BuildColorPalette(one, plTriples8, 2, false), (QList<QRgb>{qRgb(1, 2, 3), qRgb(4, 5, 6)}));
    EXPECT_EQ(manager.BuildColorPalette(one, plTriples8, 2, true), (QList<QRgb>{qRgb(3, 2, 1), qRgb(6, 5, 4)}));
    const TBytes quads{1, 2, 3, 99, 4, 5, 6, 99};
    const void* quad[] = {quads.data()};
    EXPECT_EQ(manager.BuildColorPalette(quad, plQuads8, 2, true), (QList<QRgb>{qRgb(3, 2, 1), qRgb(6, 5, 4)}));
    const TBytes r{1, 4}, g{2, 5}, b{3, 6};
    const void* planes[] = {r.data(), g.data(), b.data()};
    EXPECT_EQ(manager.BuildColorPalette(planes, plPlanes8, 2, false), (QList<QRgb>{qRgb(1, 2, 3), qRgb(4, 5, 6)}));
    // 16-bit triples run the other way round.
    const TBytes wide = Words({257, 514, 771});
    const void* w[] = {wide.data()};
    EXPECT_EQ(manager.BuildColorPalette(w, plTriples16, 1, false), (QList<QRgb>{qRgb(3, 2, 1)}));
    EXPECT_EQ(manager.BuildColorPalette(w, plTriples16, 1, true), (QList<QRgb>{qRgb(1, 2, 3)}));
    const TBytes high = Words({0xFF00, 0, 0});
    const void* h[] = {high.data()};
    EXPECT_EQ(manager.BuildColorPalette(h, plTriples16, 1, true), (QList<QRgb>{qRgb(254, 0, 0)}));
    manager.SourceFlags = sfByteSwap;
    EXPECT_EQ(manager.BuildColorPalette(h, plTriples16, 1, true), (QList<QRgb>{qRgb(0, 0, 0)}));
}

TEST(ColorManager, PaletteOfStretchedIndexesRepeatsSourceEntries)
{
    TColorManager manager;
    Apply(manager, {cmIndexed, cmIndexed, 4, 8});
    TBytes triples;
    for (int k = 0; k < 16; ++k)
        triples.insert(triples.end(), {std::uint8_t(k), std::uint8_t(k * 2), std::uint8_t(k * 3)});
    const void* data[] = {triples.data()};
    const QList<QRgb> palette = manager.BuildColorPalette(data, plTriples8, 16, false);
    ASSERT_EQ(palette.size(), 256);
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(palette[17 * k], qRgb(k, 2 * k, 3 * k)) << k;

    Apply(manager, {cmIndexed, cmIndexed, 8, 2});
    TBytes full;
    for (int k = 0; k < 256; ++k)
        full.insert(full.end(), {std::uint8_t(k), 0, 0});
    const void* fullData[] = {full.data()};
    EXPECT_EQ(manager.BuildColorPalette(fullData, plTriples8, 256, false),
              (QList<QRgb>{qRgb(0, 0, 0), qRgb(85, 0, 0), qRgb(170, 0, 0), qRgb(255, 0, 0)}));
    // A 16-bit index source keeps within the 256 entries a palette holds.
    Apply(manager, {cmIndexed, cmIndexed, 16, 8});
    EXPECT_EQ(manager.BuildColorPalette(fullData, plTriples8, 256, false).size(), 256);
}

TEST(ColorManager, GreyPalettes)
{
    TColorManager manager;
    manager.SetTargetSamples(1);
    manager.SetTargetSampleBits(1);
    EXPECT_EQ(manager.BuildGrayPalette(false), (QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
    EXPECT_EQ(manager.BuildGrayPalette(true), (QList<QRgb>{qRgb(255, 255, 255), qRgb(0, 0, 0)}));
    manager.SetTargetSampleBits(4);
    const QList<QRgb> sixteen = manager.BuildGrayPalette(false);
    ASSERT_EQ(sixteen.size(), 16);
    for (int j = 0; j < 16; ++j)
        EXPECT_EQ(sixteen[j], qRgb(17 * j, 17 * j, 17 * j));
}

TEST(ColorManager, PixelFormatsBySamplesAndDepth)
{
    struct Case {
        std::uint8_t samples, bits;
        TPixelFormat format;
    };
    const Case cases[] = {{1, 1, pf1bit}, {1, 2, pf4bit},  {1, 4, pf4bit},  {1, 8, pf8bit},   {1, 16, pf8bit},
                          {1, 5, pfCustom}, {3, 5, pf15bit}, {3, 8, pf24bit}, {3, 16, pf24bit}, {4, 8, pf32bit},
                          {4, 4, pfCustom}, {2, 8, pfCustom}};
    for (const Case& c : cases) {
        TColorManager manager;
        manager.SetTargetSamples(c.samples);
        manager.SetTargetSampleBits(c.bits);
        EXPECT_EQ(manager.PixelFormatFor(1), c.format) << int(c.samples) << "×" << int(c.bits);
        EXPECT_EQ(manager.PixelFormatFor(0), pf24bit);
    }
}

TEST(ColorManager, MulDivWordTruncates)
{
    EXPECT_EQ(MulDivWord(65535, 255, 65535), 255);
    EXPECT_EQ(MulDivWord(0x1234, 255, 65535), 18);
    EXPECT_EQ(MulDivWord(15, 65535, 15), 65535);
    EXPECT_EQ(MulDivWord(1, 1, 0), 0);
}

// Guards against a converter writing past the line it was given: every setting that has
// a converter fills a target of exactly the line's size followed by guard bytes.
TEST(ColorManager, NoConverterWritesPastTheLine)
{
    const TColorModel sources[] = {cmIndexed, cmGray, cmGrayAlpha, cmRGB, cmRGBA, cmBGR, cmBGRA,
                                   cmCMYK, cmCIELab, cmYCbCr, cmPhotoYCC};
    const TColorModel targets[] = {cmIndexed, cmGray, cmRGB, cmRGBA, cmBGR, cmBGRA};
    const std::uint8_t depths[] = {1, 2, 4, 8, 16};
    constexpr unsigned count = 13;
    TBytes input(count * 4 * 2);
    for (std::size_t i = 0; i < input.size(); ++i)
        input[i] = std::uint8_t(i * 37 + 11);
    int converted = 0;
    for (TColorModel source : sources)
        for (TColorModel target : targets)
            for (std::uint8_t s : depths)
                for (std::uint8_t t : depths)
                    for (std::uint8_t mask : {std::uint8_t(0xFF), std::uint8_t(0x5A)}) {
                        TColorManager manager;
                        Apply(manager, {source, target, s, t});
                        const bool indexed = target == cmIndexed || target == cmGray;
                        const bool alpha = target == cmRGBA || target == cmBGRA;
                        const std::size_t size = indexed ? (t == 16 ? count * 2 : (count * t + 7) / 8)
                                                         : count * (alpha ? 4 : 3) * std::max(t / 8, 1);
                        TBytes line(size + 16, 0xCD);
                        const void* in[] = {input.data()};
                        try {
                            manager.ConvertLine(in, line.data(), count, mask);
                        } catch (const EColorConversionError&) {
                            continue;
                        }
                        ++converted;
                        for (std::size_t i = size; i < line.size(); ++i)
                            ASSERT_EQ(line[i], 0xCD) << int(source) << " " << int(target) << " " << int(s) << " "
                                                     << int(t) << " mask " << int(mask);
                    }
    EXPECT_GT(converted, 100);
}
