// The generated map sheets the image benchmarks decode: a raster of one byte a pixel,
// top row first, with a seeded generator for the scattered parts, and the line work
// every sheet carries.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace bench {

struct TSheetRaster {
    TSheetRaster(int width, int height, std::uint8_t paper, std::uint32_t seed)
        : W(width), H(height), Pixels(std::size_t(width) * std::size_t(height), paper), Seed(seed)
    {
    }
    // Points off the sheet are ignored.
    void Dot(int x, int y, std::uint8_t ink)
    {
        if (x >= 0 && x < W && y >= 0 && y < H)
            Pixels[std::size_t(y) * std::size_t(W) + std::size_t(x)] = ink;
    }
    std::uint32_t Next()
    {
        Seed = Seed * 1664525u + 1013904223u;
        return Seed >> 8;
    }

    int W, H;
    std::vector<std::uint8_t> Pixels;
    std::uint32_t Seed;
};

struct RSheetInks {
    std::uint8_t Grid, GridEdge;              // grid lines, 2 pixels wide
    std::uint8_t Contour, ContourEdge;        // curves 2 pixels thick with an edge
    std::uint8_t Lettering;
};

// A grid every 500 pixels, contour-like curves every 120 rows and blocks of short
// strokes as lettering (w × h / 40,000 blocks of 12), in that order.
inline void DrawSheetLineWork(TSheetRaster& sheet, const RSheetInks& inks)
{
    const int w = sheet.W, h = sheet.H;
    const auto dot = [&sheet](int x, int y, std::uint8_t ink) { sheet.Dot(x, y, ink); };
    const auto next = [&sheet] { return sheet.Next(); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; x += 500)
            dot(x, y, inks.Grid), dot(x + 1, y, inks.GridEdge);
    for (int y = 0; y < h; y += 500)
        for (int x = 0; x < w; ++x)
            dot(x, y, inks.Grid), dot(x, y + 1, inks.GridEdge);
    for (int k = 0; k * 120 < h + 120; ++k)
        for (int x = 0; x < w; ++x) {
            const int y = k * 120 + int(45 * std::sin(x / 310.0 + k * 0.7) + 20 * std::sin(x / 97.0 + k));
            dot(x, y, inks.Contour), dot(x, y + 1, inks.Contour), dot(x, y + 2, inks.ContourEdge);
        }
    for (int b = 0; b < w * h / 40000; ++b) {
        const int bx = int(next() % unsigned(w)), by = int(next() % unsigned(h));
        for (int s = 0; s < 12; ++s) {
            const int sx = bx + s * 9, sy = by + int(next() % 6), len = 6 + int(next() % 10);
            const bool vertical = next() % 2;
            for (int i = 0; i < len; ++i)
                vertical ? dot(sx, sy + i, inks.Lettering) : dot(sx + i, sy, inks.Lettering);
        }
    }
}

} // namespace bench
