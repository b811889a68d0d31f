// A raster colour profile of "Растровые фильтры" loaded as the raster window loads it:
// the four values taken into the sliders' ranges, the filter applied to a small colour
// and a small palette picture, and the profile saved and loaded back to the same values.
#include "FuzzRun.h"

#include "dialogs/rasters/UnitRasterProp.h"
#include "engine/commands/RasterFilter.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzStartRun();
    const QString path = FuzzWriteFile(QStringLiteral("fuzz.lrgb"), data, size);
    int values[4] = {};
    try {
        ReadRasterProfile(path, values[0], values[1], values[2], values[3]);
    } catch (const std::exception&) {
        return 0;   // "Строка N профиля ... не является целым числом"
    }
    // The sliders: brightness 0 to 200, each colour 0 to 100.
    values[0] = std::clamp(values[0], 0, 200);
    for (int i = 1; i < 4; ++i)
        values[i] = std::clamp(values[i], 0, 100);

    static const QImage colour = [] {
        QImage image(4, 4, QImage::Format_RGB32);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                image.setPixel(x, y, qRgb(x * 85, y * 85, (x + y) * 36));
        return image;
    }();
    static const QImage palette = colour.convertToFormat(QImage::Format_Indexed8);
    try {
        ApplyRasterFilter(colour, values[0], values[1], values[2], values[3]);
        ApplyRasterFilter(palette, values[0], values[1], values[2], values[3]);
    } catch (const std::exception& e) {
        FuzzFail("the filter refuses a small picture", QString::fromUtf8(e.what()));
    }

    int again[4] = {};
    try {
        WriteRasterProfile(path, values[0], values[1], values[2], values[3]);
        ReadRasterProfile(path, again[0], again[1], again[2], again[3]);
    } catch (const std::exception& e) {
        FuzzFail("a saved profile does not load", QString::fromUtf8(e.what()));
    }
    if (!std::equal(values, values + 4, again))
        FuzzFail("a saved profile loads other values", path);
    return 0;
}
