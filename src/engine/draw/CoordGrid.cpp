// The grid's numbers: step, start, metre conversions and node counts.
#include "engine/draw/CoordGrid.h"

#include "foundation/ErrorTrail.h"

#include <QString>
#include <cmath>
#include <limits>

namespace {

constexpr Extended MaxMetres = 1e15L;

std::int64_t CheckedMetres(Extended v, Extended whole)
{
    if (!std::isfinite(v) || std::fabs(v) > MaxMetres)
        throw Exception(QStringLiteral("Переполнение при расчёте сетки: координата ") +
                        QString::number(double(v), 'g', 17) + QStringLiteral(" м вне допустимых пределов"));
    return static_cast<std::int64_t>(whole);
}

// 10^k for the k decimal digits of s (s > 0).
std::int64_t PowerAbove(std::int64_t s)
{
    std::int64_t p = 1;
    while (p <= s && p <= std::numeric_limits<std::int64_t>::max() / 10)
        p *= 10;
    return p;
}

std::int64_t FloorMultiple(std::int64_t v, std::int64_t s)
{
    std::int64_t q = v / s;
    if (v % s != 0 && v < 0)
        --q;
    return q * s;
}

}  // namespace

std::int64_t GridStep(std::int32_t scaleDenominator)
{
    return Round(scaleDenominator / 10.0L);
}

std::int64_t AlignGridStart(std::int64_t v, std::int64_t s)
{
    if (s <= 0)
        return v;
    const std::int64_t p = PowerAbove(s);
    if (v < 0 || p % s != 0)
        return FloorMultiple(v, s);
    if (v < p)
        return s;   // no more digits than the step
    return v / p * p + s;
}

std::int64_t TruncMetres(Extended v) { return CheckedMetres(v, std::trunc(v)); }

std::int64_t RoundMetres(Extended v) { return CheckedMetres(v, std::nearbyint(v)); }

std::int64_t GridCount(std::int64_t start, std::int64_t end, std::int64_t step, bool atLeastOne)
{
    if (step <= 0)
        return 0;
    if (start > end)
        return atLeastOne ? 1 : 0;
    // Both ends lie within ±10^15 + a step: the difference cannot overflow.
    return (end - start) / step + 1;
}

void CheckGridItems(std::int64_t count)
{
    if (count > MaxGridItems)
        throw Exception(QStringLiteral("Слишком много элементов сетки или рамок (") + QString::number(count) +
                        QStringLiteral("): проверьте масштаб и размер листа"));
}

std::int32_t CanvasFontHeight(Extended points)
{
    const Extended em = points * 96 / 72;
    if (!(em < 1e6L))
        return -1000000;
    return -static_cast<std::int32_t>(Round(em));
}
