// Line conversion between the colour models, depths and layouts of the image readers.
// The converter is chosen once per change of settings and the per-sample step once per
// line, so the pixel loops branch on nothing but the interlace mask.
#include "imaging/ColorManager.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

const QString DepthMessage =
    QStringLiteral("Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.");
const QString SampleCountMessage =
    QStringLiteral("Sample count per pixel does not correspond to the given color scheme.");

[[noreturn]] void RaiseConversionError(const QString& message)
{
    throw EColorConversionError(message);
}

std::uint8_t ClampToByte(int v) { return std::uint8_t(std::clamp(v, 0, 255)); }

// Rounded to the nearest integer, halves to even; held to the range of int (a colour
// worked out from hostile samples can lie far outside it), NaN as the lowest.
int RoundEven(double v)
{
    const double r = std::nearbyint(v);
    if (!(r >= double(std::numeric_limits<int>::min())))
        return std::numeric_limits<int>::min();
    if (r > double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return int(r);
}

std::uint16_t Swap16(std::uint16_t v) { return std::uint16_t(v << 8 | v >> 8); }

std::uint16_t Load16(const std::uint8_t* p)
{
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

void Store16(std::uint8_t* p, std::uint16_t v) { std::memcpy(p, &v, 2); }

bool RGBLike(TColorModel m) { return m == cmRGB || m == cmRGBA; }
bool BGRLike(TColorModel m) { return m == cmBGR || m == cmBGRA; }
bool HasAlpha(TColorModel m) { return m == cmGrayAlpha || m == cmRGBA || m == cmBGRA; }
bool PackableDepth(int bits) { return bits == 1 || bits == 2 || bits == 4 || bits == 8; }

// Whether pixel i of a line is converted under mask.
bool Selected(std::uint8_t mask, unsigned i) { return mask & (0x80u >> (i & 7)); }

const std::uint8_t ZeroPlane[8] = {};

}  // namespace

std::uint16_t MulDivWord(std::uint16_t a, std::uint16_t b, std::uint16_t c)
{
    return c == 0 ? 0 : std::uint16_t(std::uint32_t(a) * b / c);
}

TColorManager::TColorManager()
{
    SetGammas(1.0f, 2.2f);
}

void TColorManager::SetChecked(std::uint8_t& field, std::uint8_t value, std::uint8_t highest,
                               const QString& message)
{
    if (value == 0 || value > highest)
        RaiseConversionError(message);
    Changed |= value != field;
    field = value;
}

void TColorManager::SetSourceSampleBits(std::uint8_t bits) { SetChecked(SourceBits, bits, 16, DepthMessage); }
void TColorManager::SetTargetSampleBits(std::uint8_t bits) { SetChecked(TargetBits, bits, 16, DepthMessage); }
void TColorManager::SetSourceSamples(std::uint8_t samples) { SetChecked(SourceCount, samples, 4, SampleCountMessage); }
void TColorManager::SetTargetSamples(std::uint8_t samples) { SetChecked(TargetCount, samples, 4, SampleCountMessage); }

void TColorManager::SetSourceModel(TColorModel model)
{
    Changed |= model != SourceColorModel;
    SourceColorModel = model;
}

void TColorManager::SetTargetModel(TColorModel model)
{
    Changed |= model != TargetColorModel;
    TargetColorModel = model;
}

void TColorManager::ChooseConverter()
{
    const bool sourceIndexLike =
        SourceColorModel == cmIndexed || SourceColorModel == cmGray || SourceColorModel == cmGrayAlpha;
    const bool targetIndexLike = TargetColorModel == cmIndexed || TargetColorModel == cmGray;
    if (sourceIndexLike != targetIndexLike)
        RaiseConversionError(
            QStringLiteral("Conversion between indexed and non-indexed pixel formats is not supported."));
    SourceFlags = TSampleFlags(HasAlpha(SourceColorModel) ? SourceFlags | sfAlpha : SourceFlags & ~sfAlpha);
    TargetFlags = TSampleFlags(HasAlpha(TargetColorModel) ? TargetFlags | sfAlpha : TargetFlags & ~sfAlpha);

    Converter = nullptr;
    const int s = SourceBits;
    const int t = TargetBits;
    const bool targetColour = RGBLike(TargetColorModel) || BGRLike(TargetColorModel);
    TargetBlueFirst = BGRLike(TargetColorModel);
    // The packers serve only depths whose samples tile a byte; other depths have no
    // converter rather than a loop that walks off its bytes.
    const bool packable = (s == 16 || PackableDepth(s)) && (t == 16 || PackableDepth(t));
    switch (SourceColorModel) {
    case cmIndexed:
        if (!packable)
            break;
        if (s == 16 && t == 16)
            Converter = &TColorManager::CopyWideIndexes;
        else if (s == 16)
            Converter = &TColorManager::PackWideIndexes;
        else if (t == 16)
            Converter = &TColorManager::WidenIndexes;
        else
            Converter = &TColorManager::PackBits;
        break;
    case cmGray:
        if (s < 16 && t < 16) {
            if (packable)
                Converter = &TColorManager::PackBits;
        } else if (s >= 8 && t >= 8 && (s == 8 || s == 16) && (t == 8 || t == 16)) {
            Converter = &TColorManager::ConvertGray;
        }
        break;
    case cmGrayAlpha:
        if ((s == 8 || s == 16) && (t == 8 || t == 16))
            Converter = &TColorManager::ConvertGray;
        break;
    case cmRGB:
    case cmRGBA:
    case cmBGR:
    case cmBGRA:
        if (targetColour)
            Converter = &TColorManager::ConvertRGB;
        break;
    case cmCMYK:
        if (targetColour)
            Converter = &TColorManager::ConvertCMYK;
        break;
    case cmCIELab:
        if (targetColour)
            Converter = &TColorManager::ConvertLab;
        break;
    case cmYCbCr:
        if (targetColour) {
            BuildChromaTables(128, 128);
            Converter = &TColorManager::ConvertYCC;
        }
        break;
    case cmPhotoYCC:
        if (targetColour) {
            BuildChromaTables(137, 156);
            Converter = &TColorManager::ConvertYCC;
        }
        break;
    case cmUnknown:
    case cmCMY:
        break;
    }
    Changed = false;
}

void TColorManager::ConvertLine(std::span<const void* const> sources, void* target, unsigned count,
                                std::uint8_t mask)
{
    if (Changed)
        ChooseConverter();
    if (!Converter)
        RaiseConversionError(QStringLiteral("Color conversion failed. Could not find a proper method."));
    if (sources.empty() || !sources[0] || !target || count == 0)
        return;

    RColorLine line;
    line.Target = static_cast<std::uint8_t*>(target);
    line.Count = count;
    line.Mask = mask;
    const std::size_t sampleBytes = SourceBits == 16 ? 2 : 1;
    // CMYK is planar only with its four planes; any other count is read as quads.
    const bool planar = sources.size() > 1 && (SourceColorModel != cmCMYK || sources.size() == 4);
    if (planar) {
        for (std::size_t k = 0; k < 4; ++k) {
            const bool given = k < sources.size() && sources[k];
            line.Sample[k] = given ? static_cast<const std::uint8_t*>(sources[k]) : ZeroPlane;
            line.Step[k] = given ? sampleBytes : 0;
        }
    } else {
        // The colour converters' pixel size is their own, whatever SourceSamples says.
        const bool quads = SourceColorModel == cmCMYK ||
                           ((RGBLike(SourceColorModel) || BGRLike(SourceColorModel)) &&
                            HasAlpha(SourceColorModel));
        const std::size_t pixel = (quads ? 4 : 3) * sampleBytes;
        const auto* first = static_cast<const std::uint8_t*>(sources[0]);
        for (std::size_t k = 0; k < 4; ++k) {
            line.Sample[k] = first + k * sampleBytes;
            line.Step[k] = pixel;
        }
    }
    (this->*Converter)(line);
}

namespace {

// Where the converters write: 3 or 4 samples of 8 or 16 bits; Red is the position of the
// red sample (or, for the RGB converters, of input sample 0).
struct ROutput {
    std::size_t Pixel;
    std::size_t Red, Green, Blue, Alpha;

    ROutput(int bits, bool alpha, bool redLast)
    {
        const std::size_t sample = std::size_t(bits / 8);
        Pixel = (alpha ? 4 : 3) * sample;
        Red = (redLast ? 2 : 0) * sample;
        Green = sample;
        Blue = (redLast ? 0 : 2) * sample;
        Alpha = 3 * sample;
    }
};

template <typename T>
T Get(const std::uint8_t* p)
{
    if constexpr (sizeof(T) == 1)
        return *p;
    else
        return Load16(p);
}

template <typename T>
void Put(std::uint8_t* p, T v)
{
    if constexpr (sizeof(T) == 1)
        *p = v;
    else
        Store16(p, v);
}

// Calls f with two compile-time flags, so a loop inside f has no branch on them.
template <typename F>
void WithFlags(bool a, bool b, F f)
{
    if (a)
        b ? f(std::true_type{}, std::true_type{}) : f(std::true_type{}, std::false_type{});
    else
        b ? f(std::false_type{}, std::true_type{}) : f(std::false_type{}, std::false_type{});
}

// Runs pixel(input samples, output pixel) over the selected pixels of the line.
template <typename TPixel>
void EachPixel(RColorLine& line, std::size_t outPixel, int inSamples, TPixel pixel)
{
    std::uint8_t* out = line.Target;
    for (unsigned i = 0; i < line.Count; ++i, out += outPixel) {
        if (!Selected(line.Mask, i))
            continue;
        pixel(line, out);
        line.Advance(inSamples);
    }
}

// Samples of s bits, most significant first, from consecutive bytes.
struct RBitReader {
    const std::uint8_t* In;
    int Bits;
    int Counter = 8;
    std::uint8_t Mask;

    RBitReader(const std::uint8_t* in, int bits)
        : In(in), Bits(bits), Mask(std::uint8_t(((1u << bits) - 1) << (8 - bits)))
    {
    }
    std::uint16_t Next()
    {
        Counter -= Bits;
        const std::uint16_t v = std::uint16_t((*In & Mask) >> Counter);
        Mask = std::uint8_t(Mask >> Bits | Mask << (8 - Bits));
        if (Counter == 0) {
            Counter = 8;
            ++In;
        }
        return v;
    }
};

// Samples of t bits into consecutive bytes, keeping the other bits of each byte; the
// position moves on for every pixel, written or not.
struct RBitWriter {
    std::uint8_t* Out;
    int Bits;
    int Shift;

    RBitWriter(std::uint8_t* out, int bits) : Out(out), Bits(bits), Shift(8 - bits) {}
    void Put(std::uint16_t v)
    {
        const unsigned field = ((1u << Bits) - 1) << Shift;
        *Out = std::uint8_t((*Out & ~field) | ((unsigned(v) << Shift) & field));
    }
    void Skip()
    {
        Shift -= Bits;
        if (Shift < 0) {
            Shift = 8 - Bits;
            ++Out;
        }
    }
};

}  // namespace

namespace {

// Calls f with a sample of the source depth and one of the target depth (8 or 16 bits),
// so the pixel loop inside f is compiled once per pair of depths.
template <typename F>
void WithDepths(int s, int t, F f)
{
    if (s == 8)
        t == 8 ? f(std::uint8_t{}, std::uint8_t{}) : f(std::uint8_t{}, std::uint16_t{});
    else
        t == 8 ? f(std::uint16_t{}, std::uint8_t{}) : f(std::uint16_t{}, std::uint16_t{});
}

// An 8-bit colour result written at the target's depth.
template <typename TOut>
void PutByte(std::uint8_t* p, std::uint8_t v)
{
    if constexpr (sizeof(TOut) == 1)
        *p = v;
    else
        Store16(p, std::uint16_t(v * 257));
}

bool ColourDepths(int s, int t) { return (s == 8 || s == 16) && (t == 8 || t == 16); }

}  // namespace

void TColorManager::ConvertRGB(RColorLine& line)
{
    const int s = SourceBits;
    const int t = TargetBits;
    if (!ColourDepths(s, t))
        return;
    const bool sourceAlpha = SourceFlags & sfAlpha;
    const bool copyAlpha = sourceAlpha && (TargetFlags & sfAlpha);
    const bool swapOrder = RGBLike(SourceColorModel) != RGBLike(TargetColorModel);
    const ROutput out(t, TargetFlags & sfAlpha, swapOrder);
    const int inSamples = sourceAlpha ? 4 : 3;
    const auto& gamma = Gamma;

    const auto run = [&](auto colour, auto alpha, auto in, auto target) {
        using TIn = decltype(in);
        using TOut = decltype(target);
        EachPixel(line, out.Pixel, inSamples, [&](const RColorLine& l, std::uint8_t* o) {
            Put<TOut>(o + out.Red, colour(Get<TIn>(l.Sample[0])));
            Put<TOut>(o + out.Green, colour(Get<TIn>(l.Sample[1])));
            Put<TOut>(o + out.Blue, colour(Get<TIn>(l.Sample[2])));
            if (copyAlpha)
                Put<TOut>(o + out.Alpha, alpha(Get<TIn>(l.Sample[3])));
        });
    };
    WithFlags(SourceFlags & sfByteSwap, TargetFlags & sfGamma, [&](auto swap, auto useGamma) {
        const auto corrected = [&](std::uint8_t v) -> std::uint8_t {
            if constexpr (decltype(useGamma)::value)
                return gamma[v];
            else
                return v;
        };
        const auto unswapped = [](std::uint16_t v) -> std::uint16_t {
            if constexpr (decltype(swap)::value)
                return Swap16(v);
            else
                return v;
        };
        const auto reduced = [&](std::uint16_t v) { return std::uint8_t(MulDivWord(unswapped(v), 255, 65535)); };
        if (s == 8 && t == 8)
            run(corrected, [](std::uint8_t v) { return v; }, std::uint8_t{}, std::uint8_t{});
        else if (s == 8)
            run([&](std::uint8_t v) { return std::uint16_t(corrected(v) * 257); },
                [](std::uint8_t v) { return std::uint16_t(v * 257); }, std::uint8_t{}, std::uint16_t{});
        else if (t == 8)
            run([&](std::uint16_t v) { return corrected(reduced(v)); }, reduced, std::uint16_t{},
                std::uint8_t{});
        else
            run(unswapped, unswapped, std::uint16_t{}, std::uint16_t{});
    });
}

void TColorManager::ConvertCMYK(RColorLine& line)
{
    if (!ColourDepths(SourceBits, TargetBits))
        return;
    const ROutput out(TargetBits, TargetFlags & sfAlpha, TargetBlueFirst);
    WithDepths(SourceBits, TargetBits, [&](auto in, auto target) {
        using TIn = decltype(in);
        using TOut = decltype(target);
        EachPixel(line, out.Pixel, 4, [&](const RColorLine& l, std::uint8_t* o) {
            const std::size_t at[3] = {out.Red, out.Green, out.Blue};
            if constexpr (sizeof(TIn) == 1) {
                const int k = *l.Sample[3];
                for (int c = 0; c < 3; ++c) {
                    const int x = *l.Sample[c];
                    PutByte<TOut>(o + at[c], ClampToByte(255 - (x - MulDivWord(std::uint16_t(x), std::uint16_t(k), 255) + k)));
                }
            } else {
                // (X - X·K + K) of 16-bit samples, kept to 16 bits.
                const std::uint16_t k = Load16(l.Sample[3]);
                for (int c = 0; c < 3; ++c) {
                    const std::uint16_t x = Load16(l.Sample[c]);
                    const std::uint16_t ink = std::uint16_t(x - MulDivWord(x, k, 65535) + k);
                    if constexpr (sizeof(TOut) == 1)
                        o[at[c]] = ClampToByte(255 - MulDivWord(ink, 255, 65535));
                    else
                        Store16(o + at[c], std::uint16_t(65535 - ink));
                }
            }
        });
    });
}

void TColorManager::ConvertLab(RColorLine& line)
{
    if (!ColourDepths(SourceBits, TargetBits))
        return;
    const ROutput out(TargetBits, TargetFlags & sfAlpha, TargetBlueFirst);
    const double lightnessScale = (SourceFlags & sfLabByteRange) ? 1 / 2.55 : 1.0;
    const int chromaOffset = (SourceFlags & sfLabChromaOffset) ? 128 : 0;
    WithDepths(SourceBits, TargetBits, [&](auto in, auto target) {
        using TIn = decltype(in);
        using TOut = decltype(target);
        // Without the offset a* and b* are signed bytes (of a 16-bit sample, its low byte).
        const auto chroma = [&](const std::uint8_t* p) -> double {
            return chromaOffset ? double(Get<TIn>(p) - chromaOffset) : double(std::int8_t(*p));
        };
        EachPixel(line, out.Pixel, 3, [&](const RColorLine& l, std::uint8_t* o) {
            const double lightness = double(Get<TIn>(l.Sample[0])) * lightnessScale;
            const double a = chroma(l.Sample[1]);
            const double b = chroma(l.Sample[2]);
            double x, y, z;
            if (lightness < 7.9996) {
                y = lightness / 903.3;
                x = y + a / 3893.5;
                z = y - b / 1557.4;
            } else {
                const double fy = (lightness + 16) / 116;
                x = std::pow(a / 500 + fy, 3);
                y = fy * fy * fy;
                z = std::pow(fy - b / 200, 3);
            }
            PutByte<TOut>(o + out.Red, ClampToByte(RoundEven((2.998 * x - 1.458 * y - 0.541 * z) * 255)));
            PutByte<TOut>(o + out.Green, ClampToByte(RoundEven((-0.952 * x + 1.893 * y + 0.059 * z) * 255)));
            PutByte<TOut>(o + out.Blue, ClampToByte(RoundEven((0.099 * x - 0.198 * y + 1.099 * z) * 255)));
        });
    });
}

void TColorManager::BuildChromaTables(int redOffset, int blueOffset)
{
    const float kr = LumaWeights[0];
    const float kg = LumaWeights[1];
    const float kb = LumaWeights[2];
    const float f1 = 2 - 2 * kr;
    const float f2 = kr * f1 / kg;
    const float f3 = 2 - 2 * kb;
    const float f4 = kb * f3 / kg;
    for (int i = 0; i < 256; ++i) {
        RedFromCr[i] = RoundEven(f1 * float(i - redOffset));
        BlueFromCb[i] = RoundEven(f3 * float(i - blueOffset));
        GreenFromCr[i] = -RoundEven(f2 * float(i - redOffset));
        GreenFromCb[i] = -RoundEven(f4 * float(i - blueOffset));
    }
}

void TColorManager::ConvertYCC(RColorLine& line)
{
    if (!ColourDepths(SourceBits, TargetBits))
        return;
    const ROutput out(TargetBits, TargetFlags & sfAlpha, TargetBlueFirst);
    if (SourceBits == 16 && TargetBits == 16) {
        EachPixel(line, out.Pixel, 3, [&](const RColorLine& l, std::uint8_t* o) {
            const float y = 1.3584f * float(Load16(l.Sample[0]));
            const float c1 = float(Load16(l.Sample[1])) - 40092;
            const float c2 = float(Load16(l.Sample[2])) - 35209;
            // Not clamped: the low 16 bits are stored.
            Store16(o + out.Blue, std::uint16_t(std::lrint(y + 2.2179f * c1)));
            Store16(o + out.Green, std::uint16_t(std::lrint(y - 0.9271435f * c2 - 0.4302726f * c1)));
            Store16(o + out.Red, std::uint16_t(std::lrint(y + 1.8215f * c2)));
        });
        return;
    }
    WithDepths(SourceBits, TargetBits, [&](auto in, auto target) {
        using TIn = decltype(in);
        using TOut = decltype(target);
        const auto sample = [](const std::uint8_t* p) -> int {
            if constexpr (sizeof(TIn) == 1)
                return *p;
            else
                return MulDivWord(Load16(p), 255, 65535);
        };
        EachPixel(line, out.Pixel, 3, [&](const RColorLine& l, std::uint8_t* o) {
            const int y = sample(l.Sample[0]);
            const int cb = sample(l.Sample[1]);
            const int cr = sample(l.Sample[2]);
            PutByte<TOut>(o + out.Red, ClampToByte(y + RedFromCr[std::size_t(cr)]));
            PutByte<TOut>(o + out.Green, ClampToByte(y + GreenFromCb[std::size_t(cb)] + GreenFromCr[std::size_t(cr)]));
            PutByte<TOut>(o + out.Blue, ClampToByte(y + BlueFromCb[std::size_t(cb)]));
        });
    });
}

void TColorManager::ConvertGray(RColorLine& line)
{
    const int s = SourceBits;
    const int t = TargetBits;
    // Only the first pointer is read; a grey-alpha pixel's alpha is stepped over.
    const std::size_t inPixel = std::size_t(SourceColorModel == cmGrayAlpha ? 2 : 1) * std::size_t(s / 8);
    const bool swap = SourceFlags & sfByteSwap;
    const std::uint8_t* in = line.Sample[0];
    std::uint8_t* out = line.Target;
    const std::size_t outPixel = std::size_t(t / 8);
    const auto wide = [swap](const std::uint8_t* p) {
        const std::uint16_t v = Load16(p);
        return swap ? Swap16(v) : v;
    };
    for (unsigned i = 0; i < line.Count; ++i, out += outPixel) {
        if (!Selected(line.Mask, i))
            continue;
        if (s == 8 && t == 8)
            *out = *in;
        else if (s == 8)
            Store16(out, std::uint16_t(*in * 257));
        else if (t == 8)
            *out = std::uint8_t(MulDivWord(wide(in), 255, 65535));
        else
            Store16(out, wide(in));
        in += inPixel;
    }
}

void TColorManager::PackBits(RColorLine& line)
{
    const int s = SourceBits;
    const int t = TargetBits;
    if (s == t && line.Mask == 0xFF) {
        std::memcpy(line.Target, line.Sample[0], (std::size_t(line.Count) * std::size_t(s) + 7) / 8);
        return;
    }
    const std::uint16_t sourceMax = std::uint16_t((1u << s) - 1);
    const std::uint16_t targetMax = std::uint16_t((1u << t) - 1);
    RBitReader in(line.Sample[0], s);
    RBitWriter out(line.Target, t);
    for (unsigned i = 0; i < line.Count; ++i, out.Skip())
        if (Selected(line.Mask, i))
            out.Put(MulDivWord(in.Next(), targetMax, sourceMax));
}

void TColorManager::CopyWideIndexes(RColorLine& line)
{
    const bool swap = SourceFlags & sfByteSwap;
    if (line.Mask == 0xFF && !swap) {
        std::memcpy(line.Target, line.Sample[0], std::size_t(line.Count) * 2);
        return;
    }
    const std::uint8_t* in = line.Sample[0];
    std::uint8_t* out = line.Target;
    for (unsigned i = 0; i < line.Count; ++i, out += 2) {
        if (!Selected(line.Mask, i))
            continue;
        const std::uint16_t v = Load16(in);
        Store16(out, swap ? Swap16(v) : v);
        in += 2;
    }
}

void TColorManager::PackWideIndexes(RColorLine& line)
{
    const bool swap = SourceFlags & sfByteSwap;
    const std::uint16_t targetMax = std::uint16_t((1u << TargetBits) - 1);
    const std::uint8_t* in = line.Sample[0];
    RBitWriter out(line.Target, TargetBits);
    for (unsigned i = 0; i < line.Count; ++i, out.Skip()) {
        if (!Selected(line.Mask, i))
            continue;
        const std::uint16_t v = Load16(in);
        out.Put(MulDivWord(swap ? Swap16(v) : v, targetMax, 65535));
        in += 2;
    }
}

void TColorManager::WidenIndexes(RColorLine& line)
{
    const std::uint16_t sourceMax = std::uint16_t((1u << SourceBits) - 1);
    RBitReader in(line.Sample[0], SourceBits);
    std::uint8_t* out = line.Target;
    for (unsigned i = 0; i < line.Count; ++i, out += 2)
        if (Selected(line.Mask, i))
            Store16(out, MulDivWord(in.Next(), 65535, sourceMax));
}

void TColorManager::SetGammas(float fileGamma, float displayGamma)
{
    if (!(fileGamma > 0))
        fileGamma = 1.0f;
    if (!(displayGamma > 0))
        displayGamma = 2.2f;
    FileGammaValue = fileGamma;
    DisplayGammaValue = displayGamma;
    const float exponent = 1.0f / (fileGamma * displayGamma);
    // A low-depth source takes its bound from the target depth; the table has 256
    // entries whatever that depth is.
    const int inputBound = std::min(SourceBits >= 8 ? 255 : (1 << TargetBits) - 1, 255);
    const int outputBound = TargetBits >= 8 ? 255 : (1 << TargetBits) - 1;
    for (int i = 0; i <= inputBound; ++i)
        Gamma[std::size_t(i)] = std::uint8_t(
            RoundEven(std::pow(float(i) / float(inputBound), exponent) * float(outputBound)));
}

void TColorManager::SetChromaParameters(std::span<const float> lumaWeights, std::uint8_t horizontal,
                                        std::uint8_t vertical)
{
    for (std::size_t k = 0; k < std::min<std::size_t>(lumaWeights.size(), 3); ++k)
        LumaWeights[k] = lumaWeights[k];
    // New weights call for new chroma tables, also when no other setting changes.
    Changed = true;
    const auto valid = [](std::uint8_t f) { return f == 1 || f == 2 || f == 4; };
    if (!valid(horizontal) || !valid(vertical))
        RaiseConversionError(QStringLiteral("Subsampling value is invalid. Allowed are 1, 2 and 4."));
    if (horizontal < vertical)
        RaiseConversionError(
            QStringLiteral("Vertical subsampling value must be <= horizontal subsampling value."));
    Horizontal = horizontal;
    Vertical = vertical;
}

QList<QRgb> TColorManager::BuildColorPalette(std::span<const void* const> data, TPaletteLayout layout,
                                             unsigned count, bool blueFirst) const
{
    const unsigned n = std::min(count, 256u);
    std::array<QRgb, 256> entries;
    entries.fill(qRgb(0, 0, 0));
    const bool gamma = TargetFlags & sfGamma;
    const bool swap = SourceFlags & sfByteSwap;
    const auto byte = [&](std::uint8_t v) { return gamma ? Gamma[v] : v; };
    const auto word = [&](const std::uint8_t* p) {
        const std::uint16_t v = Load16(p);
        return byte(std::uint8_t(MulDivWord(swap ? Swap16(v) : v, 255, 65535)));
    };
    const auto buffer = [&](std::size_t k) {
        return static_cast<const std::uint8_t*>(k < data.size() ? data[k] : nullptr);
    };
    switch (layout) {
    case plTriples8:
    case plQuads8:
        if (const std::uint8_t* p = buffer(0)) {
            const std::size_t stride = layout == plQuads8 ? 4 : 3;
            for (unsigned i = 0; i < n; ++i, p += stride)
                entries[i] = blueFirst ? qRgb(byte(p[2]), byte(p[1]), byte(p[0]))
                                       : qRgb(byte(p[0]), byte(p[1]), byte(p[2]));
        }
        break;
    case plTriples16:
    case plQuads16:
        // The 16-bit triples run the other way round from the 8-bit ones.
        if (const std::uint8_t* p = buffer(0)) {
            const std::size_t stride = layout == plQuads16 ? 8 : 6;
            for (unsigned i = 0; i < n; ++i, p += stride)
                entries[i] = blueFirst ? qRgb(word(p), word(p + 2), word(p + 4))
                                       : qRgb(word(p + 4), word(p + 2), word(p));
        }
        break;
    case plPlanes8:
    case plPlanes8Quad:
        if (buffer(0) && buffer(1) && buffer(2))
            for (unsigned i = 0; i < n; ++i)
                entries[i] = qRgb(byte(buffer(0)[i]), byte(buffer(1)[i]), byte(buffer(2)[i]));
        break;
    case plPlanes16:
    case plPlanes16Quad:
        if (buffer(0) && buffer(1) && buffer(2))
            for (unsigned i = 0; i < n; ++i)
                entries[i] = qRgb(word(buffer(0) + 2 * i), word(buffer(1) + 2 * i), word(buffer(2) + 2 * i));
        break;
    }

    // Keep the palette in step with indexes the bit packer stretches or shrinks. A source
    // deeper than 8 bits is taken by its first 256 entries, all a palette holds.
    if (TargetBits <= 8) {
        const std::uint16_t source = std::uint16_t((1u << std::min<int>(SourceBits, 8)) - 1);
        const std::uint16_t target = std::uint16_t((1u << TargetBits) - 1);
        if (source != target) {
            if (source < target)
                for (int i = target; i >= 0; --i)
                    entries[std::size_t(i)] = entries[MulDivWord(std::uint16_t(i), source, target)];
            else
                for (int i = 0; i <= target; ++i)
                    entries[std::size_t(i)] = entries[MulDivWord(std::uint16_t(i), source, target)];
            return QList<QRgb>(entries.begin(), entries.begin() + target + 1);
        }
    }
    return QList<QRgb>(entries.begin(), entries.begin() + n);
}

QList<QRgb> TColorManager::BuildGrayPalette(bool whiteFirst) const
{
    const int n = 1 << std::min(TargetBits * TargetCount, 8);
    const int step = 255 / (n - 1);
    QList<QRgb> colors(n);
    for (int j = 0; j < n; ++j) {
        int v = step * j;
        if (TargetFlags & sfGamma)
            v = Gamma[std::size_t(v)];
        colors[whiteFirst ? n - 1 - j : j] = qRgb(v, v, v);
    }
    return colors;
}

TPixelFormat TColorManager::PixelFormatFor(int side) const
{
    const int p = side == 0 ? SourceCount : TargetCount;
    const int b = side == 0 ? SourceBits : TargetBits;
    switch (p) {
    case 1:
        return b == 1 ? pf1bit : b >= 2 && b <= 4 ? pf4bit : b >= 8 ? pf8bit : pfCustom;
    case 3:
        return b <= 5 ? pf15bit : pf24bit;
    case 4:
        return b >= 8 ? pf32bit : pfCustom;
    default:
        return pfCustom;
    }
}
