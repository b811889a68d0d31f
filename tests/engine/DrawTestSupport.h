// What the drawing tests share: pictures compared with the committed references of
// tests/fixtures/draw (rewritten when VELMORA_UPDATE_REFERENCES is set, see
// update_references.sh there), the extent of the ink in a picture, colours as the
// picture holds them and the plan settings the drawing cases start from.
#pragma once

#include "engine/GeoMap.h"
#include "engine/draw/MapPainter.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QRect>
#include <QString>
#include <gtest/gtest.h>

#include <cstdlib>

// Fails unless img matches the reference name pixel for pixel, but for at most the
// share tolerance of its pixels (fonts and rounding may differ by a pixel between
// machines); a pixel differs when a channel differs by more than 8.
inline void ExpectLikeReference(const QImage& img, const char* name, double tolerance = 0.01)
{
    const QString path = QStringLiteral(VELMORA_TEST_FIXTURES "/draw/") + QLatin1String(name);
    if (!qEnvironmentVariableIsEmpty("VELMORA_UPDATE_REFERENCES")) {
        EXPECT_TRUE(img.save(path)) << path.toStdString();
        return;
    }
    QImage ref(path);
    ASSERT_FALSE(ref.isNull()) << "no reference " << path.toStdString();
    ref = ref.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(ref.size(), img.size()) << name;
    long differing = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb a = img.pixel(x, y), b = ref.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) > 8 || std::abs(qGreen(a) - qGreen(b)) > 8 ||
                std::abs(qBlue(a) - qBlue(b)) > 8)
                ++differing;
        }
    EXPECT_LE(differing, long(tolerance * img.width() * img.height()) + 2) << name;
}

// Fails when the two pictures differ in size or in any pixel; then writes both, as
// name-plain.png and name-tiled.png, to VELMORA_PNG_DIR (a temporary folder when it is
// not set) and names the first pixel that differs, for a look.
inline void ExpectSamePixels(const QImage& plain, const QImage& tiled, const QString& name)
{
    const QImage a = plain.convertToFormat(QImage::Format_RGB32);
    const QImage b = tiled.convertToFormat(QImage::Format_RGB32);
    long differing = 0;
    QPoint first(-1, -1);
    if (a.size() == b.size())
        for (int y = 0; y < a.height(); ++y) {
            const auto* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
            const auto* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
            for (int x = 0; x < a.width(); ++x)
                if ((ra[x] & 0xFFFFFF) != (rb[x] & 0xFFFFFF) && differing++ == 0)
                    first = QPoint(x, y);
        }
    if (a.size() == b.size() && differing == 0)
        return;
    QString dir = qEnvironmentVariable("VELMORA_PNG_DIR");
    if (dir.isEmpty())
        dir = QDir::tempPath() + QStringLiteral("/velmora-pixels");
    QDir().mkpath(dir);
    const QString stem = dir + u'/' + name;
    a.save(stem + QStringLiteral("-plain.png"));
    b.save(stem + QStringLiteral("-tiled.png"));
    ADD_FAILURE() << name.toStdString() << ": " << differing << " pixels differ, the first at (" << first.x()
                  << ", " << first.y() << "); sizes " << a.width() << "x" << a.height() << " and " << b.width()
                  << "x" << b.height() << "; both pictures in " << dir.toStdString();
}

// The plan's colour c as a pixel of the picture, without its alpha.
inline QRgb Rgb(std::int32_t c) { return TColorToQColor(c).rgb() & 0xFFFFFF; }

// A plan of 1:500 drawn with its signs on white; a raster image and the printer at the
// screen's resolution and 1:500.
inline void DrawAt500OnWhite(TGeoMap& m)
{
    m.MapProp.Scale = 500;
    m.ShowSymbols = 1;
    m.BackColor = 0xFFFFFF;
    m.RasterDpi = m.PrinterDpi = m.ScreenDpi;
    m.RasterScale = m.PrinterScale = 500;
}

// The bounds of every pixel inside area that is not white; empty when none.
inline QRect InkBounds(const QImage& img, const QRect& area)
{
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                ink |= QRect(x, y, 1, 1);
    return ink;
}
