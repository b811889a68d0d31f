// A polygon side stored as hidden (segment style 2) on the main window's picture: the
// sign drawing leaves it out, while the simplified outline drawing of coarse scales draws
// every contour whole, as it draws every object without its sign.
#include "MainWindowFixture.h"
#include "SurfaceTestSupport.h"

#include "engine/GeoMap.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// A view of metres per pixel from the plan's origin, as AddExactView gives for whole
// metres: pixel (x, y) is the plan point ((H - y - 10) · m, (x - 10) · m).
void AddView(TFormMap& form, Extended metresPerPixel)
{
    const QSize size = form.DisplaySurf->size();
    auto view = std::make_unique<RMapView>();
    view->ViewXMax = size.height() * metresPerPixel;
    view->ViewYMax = size.width() * metresPerPixel;
    view->FactorX = view->FactorY = 0.01L / metresPerPixel;
    MainMap->MapViews.AddItem(std::move(view));
}

// The dark pixels within 3 pixels across the side from a to b (plan metres), its ends
// left aside.
int DarkAlong(TFormMap& form, const QImage& picture, TGeoPoint a, TGeoPoint b)
{
    const TSurfaceDriver driver(form);
    const QPointF from = driver.At(a.X, a.Y), to = driver.At(b.X, b.Y);
    const bool upright = std::abs(from.x() - to.x()) < 1;   // a side running up the picture
    int dark = 0;
    for (int step = 2; step <= 8; ++step) {
        const QPointF at = from + (to - from) * (step / 10.0);
        for (int off = -3; off <= 3; ++off) {
            const QPoint p = upright ? QPoint(int(at.x()) + off, int(at.y())) : QPoint(int(at.x()), int(at.y()) + off);
            if (picture.rect().contains(p) && qGray(picture.pixel(p)) < 128)
                ++dark;
        }
    }
    return dark;
}

TEST(HiddenSegmentDraw, TheSignLeavesTheHiddenSideOutAndTheOutlineDrawsItWhole)
{
    struct Case {
        const char* Name;
        Extended MetresPerPixel;
        const char* Semantics;
        bool HiddenDrawn;
    };
    // The plan is of scale 500: at 0.1 m a pixel the screen shows signs, at 1 m outlines,
    // for a building and for a polygon without semantics (and so without a sign) alike.
    const Case cases[] = {
        {"signs-field", 0.1L, "ПОЛ", false},
        {"signs-building", 0.1L, "ЗДН/Ф001;Н003", false},
        {"outlines-building", 1, "ЗДН", true},
        {"outlines-nosem", 1, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TMainWindowRun run;
        run.Start();
        TFormMap& form = run.Form();
        AddView(form, c.MetresPerPixel);
        const QSize size = form.DisplaySurf->size();
        MainMap->Draw(size.width(), size.height(), 3, ddScreen);
        // A square of 40 pixels a side with its south-west corner at pixel (200, 400).
        const TSurfaceDriver driver(form);
        const QPoint origin = driver.At(0, 0);
        const Extended east = driver.At(0, 100).x() - origin.x();    // pixels per 100 m
        const Extended north = driver.At(100, 0).y() - origin.y();
        const Extended x0 = (400 - origin.y()) * 100 / north, y0 = (200 - origin.x()) * 100 / east;
        const Extended s = 40 * c.MetresPerPixel;
        const TGeoPoint n[4] = {GeoPoint(x0, y0), GeoPoint(x0, y0 + s), GeoPoint(x0 + s, y0 + s), GeoPoint(x0 + s, y0)};
        RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>"});
        // The side from node 1 to node 2 is hidden.
        QString nodes;
        for (int i = 0; i < 4; ++i)
            nodes += QStringLiteral("[{%1}{%2}{-1}{0}{%3}{0}{0}]")
                         .arg(QString::number(double(n[i].X), 'f', 3).replace(QLatin1Char('.'), DecimalSeparator),
                              QString::number(double(n[i].Y), 'f', 3).replace(QLatin1Char('.'), DecimalSeparator))
                         .arg(i == 1 ? 2 : 0);
        MainMap->StrToComm(
            QStringLiteral("mcNewPolygon=<0><0><%1><%2><2><><0><0><><-1>").arg(QString::fromUtf8(c.Semantics), nodes));
        MainMap->Draw(size.width(), size.height(), 3, ddScreen);
        const QImage picture = PictureOnly(form);
        SaveImage(picture.copy(180, 340, 80, 80), QStringLiteral("hidden-side-%1").arg(QString::fromLatin1(c.Name)));
        EXPECT_GT(DarkAlong(form, picture, n[0], n[1]), 0) << "a shown side";
        EXPECT_GT(DarkAlong(form, picture, n[2], n[3]), 0) << "a shown side";
        EXPECT_EQ(DarkAlong(form, picture, n[1], n[2]) > 0, c.HiddenDrawn) << "the hidden side";
    }
}

}  // namespace
