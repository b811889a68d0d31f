// The forward task of the sign placements, directions kept; see SymbolsForward.h.
#include "semantics/signs/SymbolsForward.h"

#include "foundation/GeoServ.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// A direct-mapped table of the last directions seen, by the bits of the angle: an
// entry answers only the angle it was worked out for (equal, and of the same sign, so
// -0 and 0 stay apart); a NaN never matches and is worked out every time.
struct TSinCosTable {
    struct TEntry {
        Extended Angle = 0;
        Extended Sin = 0;
        Extended Cos = 1;
        bool Used = false;
    };
    static constexpr std::size_t Size = 2048;
    std::array<TEntry, Size> Entries{};

    static std::size_t Slot(Extended angle)
    {
        // The 64-bit significand and the sign and exponent of the 80-bit value.
        std::uint64_t significand = 0;
        std::uint16_t exponent = 0;
        std::memcpy(&significand, &angle, sizeof significand);
        std::memcpy(&exponent, reinterpret_cast<const char*>(&angle) + sizeof significand, sizeof exponent);
        std::uint64_t h = significand ^ (std::uint64_t(exponent) << 48);
        h ^= h >> 29;
        h *= 0x9E3779B97F4A7C15ull;
        return std::size_t(h >> 53) & (Size - 1);
    }
};

thread_local TSinCosTable Table;

}  // namespace

void SignSinCos(TGeoAngle DirAngle, Extended& Sin, Extended& Cos)
{
    TSinCosTable::TEntry& e = Table.Entries[TSinCosTable::Slot(DirAngle)];
    if (e.Used && e.Angle == DirAngle && std::signbit(e.Angle) == std::signbit(DirAngle)) {
        Sin = e.Sin;
        Cos = e.Cos;
        return;
    }
    const Extended a = GradRad(DirAngle);
    Cos = std::cos(a);
    Sin = std::sin(a);
    e = {DirAngle, Sin, Cos, true};
}

void SignPGZ(Extended XSource, Extended YSource, Extended Line, TGeoAngle DirAngle, Extended& XResult,
             Extended& YResult)
{
    if (Line == 0) {
        XResult = XSource;
        YResult = YSource;
        return;
    }
    Extended s = 0, c = 1;
    SignSinCos(DirAngle, s, c);
    XResult = XSource + Line * c;
    YResult = YSource + Line * s;
}
