// The standard 10 cm coordinate grid as numbers: its step for a plan scale, where its
// nodes start (the digit rule), and the walk over its nodes in a plan rectangle. The
// picture, the snapping nodes and the DXF export all place their crosses through these,
// so that the three agree node for node. Metres are whole numbers here, in 64 bits.
#pragma once

#include "platform/Platform.h"

#include <cstdint>

// The grid step in metres: the scale denominator over ten, halves to even (50 at 1:500).
std::int64_t GridStep(std::int32_t scaleDenominator);

// The first grid value for a start value v (metres, already truncated) and step s > 0,
// by the digit rule: the last k digits of v are replaced by the k digits of s, and a v of
// no more than k digits gives s (345 and 50 give 350, 399 and 50 give 350, 40 and 50 give
// 50). For a step that does not divide 10^k (1:300 gives 30) and for a negative v, the
// largest multiple of s not above v instead, where the digit rule would put the crosses
// off the grid or leave some out. A step of 0 or less returns v.
std::int64_t AlignGridStart(std::int64_t v, std::int64_t s);

// Trunc and Round of a coordinate in metres for the grid and frame loops; raises
// "Переполнение ..." for a value that is not finite or lies beyond ±10^15 m, where whole
// metres in 64 bits and in an extended's mantissa would no longer hold.
std::int64_t TruncMetres(Extended v);
std::int64_t RoundMetres(Extended v);

// How many of the values start, start + step, … are not above end (step > 0); with
// atLeastOne the first counts even when it lies past the end.
std::int64_t GridCount(std::int64_t start, std::int64_t end, std::int64_t step, bool atLeastOne);

// Raises a clear error when a grid or frame drawing would take more than this many
// nodes, lines or labels: only absurd page or view settings come near it.
constexpr std::int64_t MaxGridItems = std::int64_t(1) << 24;
void CheckGridItems(std::int64_t count);

// Calls f(X, Y) for every grid node of step in the rectangle xmin..xmax (north),
// ymin..ymax (east): X from AlignGridStart(Trunc(xmin)) up to Round(xmax), and inside Y
// from AlignGridStart(Trunc(ymin)) up to Round(ymax). With atLeastOne the first row and
// the first node of every row are given even past the end (the snapping nodes and the
// DXF export); without it nothing past the end (the picture). The counts are taken
// before the walk, so it always ends.
template <class F>
void ForEachGridNode(Extended xmin, Extended ymin, Extended xmax, Extended ymax, std::int64_t step,
                     bool atLeastOne, F f)
{
    if (step <= 0)
        return;
    const std::int64_t x0 = AlignGridStart(TruncMetres(xmin), step);
    const std::int64_t y0 = AlignGridStart(TruncMetres(ymin), step);
    const std::int64_t rows = GridCount(x0, RoundMetres(xmax), step, atLeastOne);
    const std::int64_t columns = GridCount(y0, RoundMetres(ymax), step, atLeastOne);
    if (rows == 0 || columns == 0)
        return;
    CheckGridItems(rows > MaxGridItems / columns ? MaxGridItems + 1 : rows * columns);
    for (std::int64_t i = 0; i < rows; ++i)
        for (std::int64_t j = 0; j < columns; ++j)
            f(x0 + i * step, y0 + j * step);
}

// The em height in pixels of a font of the given size in points, as the logical-font
// height (negative: an em, not a cell). The plans' labels were drawn on bitmap canvases,
// which set a size in points at 96 pixels per inch whatever device the bitmap was bound
// for: points × 96 / 72 pixels of em, Qt's pixel size, and neither a cell height nor the
// printer's or screen's own resolution. The sheet labels and the printed page's header
// both size their fonts so.
std::int32_t CanvasFontHeight(Extended points);
