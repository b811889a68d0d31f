// Raster pictures for the engine: read through the image readers with their errors
// made the engine's, and recoloured by the colour filter, one table per channel applied
// over the scanlines, so a scan of hundreds of megapixels costs one pass.
#include "engine/commands/RasterFilter.h"

#include "engine/GeoMap.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoDataObjectsPicture.h"
#include "imaging/PictureRegistry.h"
#include "platform/FileLookup.h"

#include <QList>

#include <algorithm>
#include <cstring>

namespace {

// num / 100 rounded to the nearest whole number, halves to the even neighbour; exact.
int RoundHundredths(int num)
{
    int q = num / 100;
    int r = num % 100;
    if (r < 0) {
        r += 100;
        --q;
    }
    if (r > 50 || (r == 50 && (q & 1) != 0))
        ++q;
    return q;
}

int Limit(int c) { return std::clamp(c, 0, 255); }

[[noreturn]] void RaiseFilterTooLarge(const QImage& picture)
{
    throw Exception(QStringLiteral("Недостаточно памяти для цветового фильтра растра (%1×%2 точек)")
                        .arg(picture.width())
                        .arg(picture.height()));
}

// c·v/100 + 255 − 255·v/100: towards white below 100, away from it above.
int TowardsWhite(int c, int v) { return Limit(RoundHundredths(c * v) + RoundHundredths(25500 - 255 * v)); }

}  // namespace

QImage ReadRastrPicture(const QString& fileName)
{
    const QString path = FindExistingPath(fileName);
    if (path.isEmpty())
        throw Exception(QStringLiteral("Файл рисунка \"%1\" не найден").arg(fileName));
    try {
        return LoadPictureFile(path);
    } catch (const EPictureError& e) {
        throw Exception(e.Message);
    }
}

std::array<TRasterFilterTable, 3> RasterFilterTables(int rL, int rR, int rG, int rB)
{
    const int channel[3] = {rR, rG, rB};
    std::array<TRasterFilterTable, 3> tables{};
    for (int ch = 0; ch < 3; ++ch) {
        for (int c0 = 0; c0 < 256; ++c0) {
            int c = c0;
            if (rL < 100)
                c = TowardsWhite(c, rL);
            else if (rL > 100)
                c = Limit(RoundHundredths(c * std::abs(200 - rL)));
            if (channel[ch] != 100)
                c = TowardsWhite(c, channel[ch]);
            tables[ch][c0] = std::uint8_t(c);
        }
    }
    return tables;
}

QImage ApplyRasterFilter(const QImage& picture, int rL, int rR, int rG, int rB)
{
    const auto tables = RasterFilterTables(rL, rR, rG, rB);
    const auto filtered = [&](QRgb c) {
        return qRgb(tables[0][qRed(c)], tables[1][qGreen(c)], tables[2][qBlue(c)]);
    };
    const QImage::Format format = picture.format();
    // A palette picture, the usual black-and-white or grey scan, keeps its pixels and
    // gets its colours filtered: the same picture as every pixel filtered, without a
    // copy three (or, of one bit, twenty-four) times its size.
    if (format == QImage::Format_Mono || format == QImage::Format_MonoLSB ||
        format == QImage::Format_Indexed8 || format == QImage::Format_Grayscale8) {
        QImage result = picture;
        if (format == QImage::Format_Grayscale8) {
            result = QImage(picture.width(), picture.height(), QImage::Format_Indexed8);
            if (result.isNull())
                RaiseFilterTooLarge(picture);
            for (int y = 0, h = picture.height(); y < h; ++y)
                std::memcpy(result.scanLine(y), picture.constScanLine(y), size_t(picture.width()));
            QList<QRgb> greys(256);
            for (int g = 0; g < 256; ++g)
                greys[g] = qRgb(g, g, g);
            result.setColorTable(greys);
        }
        QList<QRgb> colours = result.colorTable();
        for (QRgb& c : colours)
            c = filtered(c);
        result.setColorTable(colours);
        return result;
    }

    const std::int64_t bytesPerLine = (std::int64_t(picture.width()) * 24 + 31) / 32 * 4;
    if (picture.height() > PictureMemoryLimit() / std::max<std::int64_t>(bytesPerLine, 1))
        RaiseFilterTooLarge(picture);
    QImage result = picture.convertToFormat(QImage::Format_RGB888);
    if (result.isNull() && !picture.isNull())
        RaiseFilterTooLarge(picture);
    // convertToFormat hands back the same pixels when the format already matches.
    result.detach();
    const int w = result.width();
    for (int y = 0, h = result.height(); y < h; ++y) {
        uchar* p = result.scanLine(y);
        for (int x = 0; x < w; ++x, p += 3) {
            p[0] = tables[0][p[0]];
            p[1] = tables[1][p[1]];
            p[2] = tables[2][p[2]];
        }
    }
    return result;
}

void TGeoMap::SetRasterFilter(int rL, int rR, int rG, int rB)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.SetRasterFilter(rL,rR,rG,rB:integer);",
                      TrailArg("rL", rL), TrailArg("rR", rR), TrailArg("rG", rG),
                      TrailArg("rB", rB));
    if (!HasCurrentRastr())
        return;
    RGRastr& rastr = *Pages.Item->Rastrs.Item;
    if (rastr.Loaded == 0 || !FileExistsIgnoringCase(rastr.FileName))
        return;
    // Always from the file, so that filters never accumulate.
    QImage picture = ReadRastrPicture(rastr.FileName);
    if (rastr.FilterOn == 1)
        picture = ApplyRasterFilter(picture, rL, rR, rG, rB);
    rastr.Picture->Image = std::move(picture);
    rastr.FilterApplied = 1;
}
