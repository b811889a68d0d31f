// Raster underlays as the engine reads and recolours them: the picture of a raster's
// file through the image readers, and the colour filter of brightness and the three
// channels, 100 meaning unchanged.
#pragma once

#include <QImage>
#include <QString>

#include <array>
#include <cstdint>

// The picture of the image file fileName (letter case of the name ignored), read by
// the reader of its extension. Raises Exception with the reader's message for a file
// that is missing, of an unknown format, broken or too large for memory.
QImage ReadRastrPicture(const QString& fileName);

// One 256-entry table per channel (red, green, blue) mapping a channel value to its
// filtered value. rL brightness: below 100 towards white, above 100 towards black
// (200 black); rR, rG, rB per channel: c·v/100 + 255 − 255·v/100, so 0 gives 255.
// Each step rounds halves to even and limits its result to 0..255.
using TRasterFilterTable = std::array<std::uint8_t, 256>;
std::array<TRasterFilterTable, 3> RasterFilterTables(int rL, int rR, int rG, int rB);

// picture with the filter applied to every pixel: a palette or grey picture as a
// palette picture of the same depth with its colours filtered, any other as 24 bits
// per pixel. Raises Exception when the copy does not fit into memory.
QImage ApplyRasterFilter(const QImage& picture, int rL, int rR, int rG, int rB);
