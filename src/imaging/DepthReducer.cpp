#include "imaging/DepthReducer.h"

#include "imaging/ImageGraphic.h"

namespace {

// The 16 colours of the standard 4-bit palette, in their usual order.
constexpr QRgb Standard16[16] = {
    0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFF808080,
    0xFFC0C0C0, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};

constexpr int CubeLevels = 6;
constexpr int CubeSize = CubeLevels * CubeLevels * CubeLevels;   // 216
constexpr int Greys = 256 - CubeSize;                             // 40

int Distance(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

// The nearest of n evenly spaced levels 0 .. 255 for v.
int Level(int v, int n) { return (v * (n - 1) + 127) / 255; }
int LevelValue(int i, int n) { return (i * 255 + (n - 1) / 2) / (n - 1); }

}  // namespace

TDepthReducer::TDepthReducer(int bits) : Depth(bits)
{
    switch (bits) {
    case 1:
        Colors = {0xFF000000, 0xFFFFFFFF};
        break;
    case 4:
        Colors = QList<QRgb>(std::begin(Standard16), std::end(Standard16));
        break;
    case 8:
        Colors.reserve(256);
        for (int r = 0; r < CubeLevels; ++r)
            for (int g = 0; g < CubeLevels; ++g)
                for (int b = 0; b < CubeLevels; ++b)
                    Colors.append(qRgb(LevelValue(r, CubeLevels), LevelValue(g, CubeLevels),
                                       LevelValue(b, CubeLevels)));
        for (int i = 0; i < Greys; ++i) {
            const int v = LevelValue(i, Greys);
            Colors.append(qRgb(v, v, v));
        }
        break;
    case 16:
    case 24:
        break;
    default:
        throw EInvalidGraphic(QStringLiteral("Неверная глубина цвета: %1 бит").arg(bits));
    }
}

qsizetype TDepthReducer::PackedRowBytes(int width) const
{
    return (qsizetype(width) * Depth + 7) / 8;
}

int TDepthReducer::Index(QRgb c) const
{
    switch (Depth) {
    case 1:
        return Distance(c, Colors[1]) < Distance(c, Colors[0]) ? 1 : 0;
    case 4: {
        int best = 0, bestDistance = Distance(c, Colors[0]);
        for (int i = 1; i < 16 && bestDistance > 0; ++i) {
            const int d = Distance(c, Colors[i]);
            if (d < bestDistance) {
                best = i;
                bestDistance = d;
            }
        }
        return best;
    }
    case 8: {
        // The cube is a grid, so its nearest entry is each channel's nearest level; the
        // nearest grey is the one nearest the mean. The closer of the two wins.
        const int cube = (Level(qRed(c), CubeLevels) * CubeLevels + Level(qGreen(c), CubeLevels)) * CubeLevels +
                         Level(qBlue(c), CubeLevels);
        const int mean = (qRed(c) + qGreen(c) + qBlue(c) + 1) / 3;
        const int grey = CubeSize + Level(mean, Greys);
        return Distance(c, Colors[grey]) < Distance(c, Colors[cube]) ? grey : cube;
    }
    case 16:
        return (Level(qRed(c), 32) << 10) | (Level(qGreen(c), 32) << 5) | Level(qBlue(c), 32);
    default:
        return int(c & 0xFFFFFF);
    }
}

QRgb TDepthReducer::Reduced(QRgb c) const
{
    if (Depth <= 8)
        return Colors[Index(c)];
    if (Depth == 16) {
        const int w = Index(c);
        return qRgb(LevelValue((w >> 10) & 31, 32), LevelValue((w >> 5) & 31, 32), LevelValue(w & 31, 32));
    }
    return c | 0xFF000000;
}

void TDepthReducer::ReduceRow(QRgb* row, int width) const
{
    if (Depth == 24)
        return;
    for (int x = 0; x < width; ++x)
        row[x] = Reduced(row[x]);
}

void TDepthReducer::PackRow(const QRgb* src, int width, std::uint8_t* dst) const
{
    switch (Depth) {
    case 1:
    case 4: {
        std::fill(dst, dst + PackedRowBytes(width), std::uint8_t(0));
        const int perByte = 8 / Depth;
        for (int x = 0; x < width; ++x) {
            const int shift = 8 - Depth * (x % perByte + 1);
            dst[x / perByte] |= std::uint8_t(Index(src[x]) << shift);
        }
        break;
    }
    case 8:
        for (int x = 0; x < width; ++x)
            dst[x] = std::uint8_t(Index(src[x]));
        break;
    case 16:
        for (int x = 0; x < width; ++x) {
            const int w = Index(src[x]);
            dst[2 * x] = std::uint8_t(w & 0xFF);
            dst[2 * x + 1] = std::uint8_t(w >> 8);
        }
        break;
    default:
        for (int x = 0; x < width; ++x) {
            dst[3 * x] = std::uint8_t(qBlue(src[x]));
            dst[3 * x + 1] = std::uint8_t(qGreen(src[x]));
            dst[3 * x + 2] = std::uint8_t(qRed(src[x]));
        }
        break;
    }
}
