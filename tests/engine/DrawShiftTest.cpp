// A pan drawn by shifting the picture on hand against the whole redraw of the same view:
// the fixture plans (the sign gallery, the areas, the slopes, the benchmarks' small
// plan) panned by small, large, diagonal and negative drags and after an edit, at 1:500
// and 1:2000, with the grid, frames and node marks on and off. Any differing pixel fails
// and leaves both pictures (name-shifted.png, name-whole.png) for a look.
#include "DrawTestSupport.h"
#include "PlanFileTest.h"
#include "PlanGenerator.h"

#include "platform/ProgramFolder.h"
#include "semantics/signs/Symbols.h"

#include <QDir>
#include <functional>

namespace {

constexpr int W = 360, H = 280;

struct RView {
    const char* Name;
    const char* Plan;   // a fixture plan, or "small": the benchmarks' generated plan
    TGeoPoint Centre;   // for the small plan: found in it
};

const RView Views[] = {
    {"gallery", "signs.500", GeoPoint(1030, 2020)},
    {"areas", "signs.500", GeoPoint(1628, 2238)},
    {"slopes", "signs.500", GeoPoint(1528, 2056)},
    {"small", "small", GeoPoint(0, 0)},
};

// Fails when the two pictures differ in any pixel, and then writes both.
void ExpectSamePicture(const QImage& shifted, const QImage& whole, const QString& name)
{
    long differing = 0;
    QPoint first(-1, -1);
    if (shifted.size() == whole.size())
        for (int y = 0; y < whole.height(); ++y) {
            const auto* a = reinterpret_cast<const QRgb*>(shifted.constScanLine(y));
            const auto* b = reinterpret_cast<const QRgb*>(whole.constScanLine(y));
            for (int x = 0; x < whole.width(); ++x)
                if ((a[x] & 0xFFFFFF) != (b[x] & 0xFFFFFF) && differing++ == 0)
                    first = QPoint(x, y);
        }
    const bool all = qEnvironmentVariableIsSet("VELMORA_PNG_ALL");
    if (shifted.size() == whole.size() && differing == 0 && !all)
        return;
    QString dir = qEnvironmentVariable("VELMORA_PNG_DIR");
    if (dir.isEmpty())
        dir = QDir::tempPath() + QStringLiteral("/velmora-pixels");
    QDir().mkpath(dir);
    const QString stem = dir + u'/' + name;
    shifted.save(stem + QStringLiteral("-shifted.png"));
    whole.save(stem + QStringLiteral("-whole.png"));
    if (shifted.size() == whole.size() && differing == 0)
        return;
    ADD_FAILURE() << name.toStdString() << ": " << differing << " pixels differ, the first at (" << first.x()
                  << ", " << first.y() << "); both pictures in " << dir.toStdString();
}

class DrawShift : public PlanFileFixture {
protected:
    void SetUp() override
    {
        PlanFileFixture::SetUp();
        for (const char* part : {"Условные знаки", "Шрифты", "Семантика"})
            CopyDataFolder(QString::fromUtf8(part), Folder());
    }

    void TearDown() override
    {
        MainMap = nullptr;
        PlanFileFixture::TearDown();
    }

    // Opens a fixture plan, or writes and opens the small synthetic plan; returns the
    // centre of the view to draw.
    TGeoPoint Open(const RView& v)
    {
        QString file = QString::fromUtf8(v.Plan);
        if (file == QLatin1String("small")) {
            file = QStringLiteral("small.500");
            if (!QFile::exists(PlanPath(file)))
                TPlanGenerator(PlanShapeByName(QStringLiteral("small")), LoadSemanticsPool(GetProgramFolder()))
                    .WriteFile(PlanPath(file));
        }
        M().StrToComm(QStringLiteral("mcOpenMap=<") + file + QStringLiteral("><New><True><>"));
        MainMap = &M();
        M().ShowSymbols = 1;
        M().BackColor = 0xFFFFFF;
        M().Draw(W, H, 0, ddScreen);
        if (file != QLatin1String("small.500"))
            return v.Centre;
        const TGPoints& points = M().Pages.At(0)->Layers.At(0)->Points;
        return points.At(points.GetCount() / 2)->Position;
    }

    void View(const TGeoPoint& centre, int scale)
    {
        M().DisplayScale = scale;
        M().CentreTarget = centre;
        M().Draw(W, H, 8, ddScreen);
    }

    // A drag of the picture by (dx, dy) window pixels, as the main window turns it into
    // a view: the plan points under the two ends of the drag, and the view moved back by
    // their difference.
    void Drag(QPointF by)
    {
        const QPoint from(W / 2, H / 2);
        const QPoint to = from + by.toPoint();
        Extended x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        M().ScrToGeo(H, from.x(), from.y(), x0, y0);
        M().ScrToGeo(H, to.x(), to.y(), x1, y1);
        Extended dX = x1 - x0, dY = y1 - y0;
        // A drag of a part of a pixel: a view step no drag gives, and no whole pixel.
        if (by.x() != std::trunc(by.x()))
            dY = by.x() / (M().FactorY * 100);
        auto view = std::make_unique<RMapView>();
        view->ViewXMin = M().ViewXMin - dX;
        view->ViewYMin = M().ViewYMin - dY;
        view->ViewXMax = M().ViewXMax - dX;
        view->ViewYMax = M().ViewYMax - dY;
        view->FactorX = M().FactorX;
        view->FactorY = M().FactorY;
        M().MapViews.AddItem(std::move(view));
    }

    // Pans by and draws the pan shifted, then the same view drawn whole; the two
    // pictures must be the same. Returns whether the pan shifted the picture.
    bool PanAndCompare(const QString& name, QPointF by)
    {
        Drag(by);
        M().ShiftRedrawOn = 1;
        M().DrawPan(W, H);
        const bool shifted = M().Shifted;
        const QImage picture = M().Bitmap.copy();
        M().ShiftRedrawOn = 0;
        M().DrawPan(W, H);
        M().ShiftRedrawOn = 1;
        EXPECT_FALSE(M().Shifted);
        ExpectSamePicture(picture, M().Bitmap, name);
        return shifted;
    }
};

struct RPan {
    const char* Name;
    QPointF By;   // window pixels, the picture's way
    bool Shifts;  // with the grid, frames and node marks off
};

const RPan Pans[] = {
    {"small", QPointF(7, 3), true},
    {"beyond-a-window", QPointF(-450, 0), true},
    {"diagonal", QPointF(-120, 95), true},
    {"negative", QPointF(-30, -41), true},
    {"upward", QPointF(0, -300), true},
    {"no-move", QPointF(0, 0), true},
};

struct RSwitches {
    const char* Name;
    std::uint8_t Grid, Frames, Nodes;
};

const RSwitches Switches[] = {
    {"bare", 0, 0, 0},
    {"grid-frames-nodes", 1, 1, 1},
};

}  // namespace

TEST_F(DrawShift, PansOfTheFixturePlansShiftToTheWholeRedrawPixels)
{
    for (const RView& v : Views) {
        const TGeoPoint centre = Open(v);
        for (const RSwitches& s : Switches)
            for (const int scale : {500, 2000}) {
                M().ShowCoordCross = s.Grid;
                M().ShowPlansBorders = s.Frames;
                M().ShowPlanNom = s.Frames;
                M().ShowNodes = s.Nodes;
                View(centre, scale);
                ASSERT_EQ(M().OutputScale, scale);
                int shifted = 0;
                for (const RPan& pan : Pans) {
                    const QString name = QStringLiteral("pan-%1-%2-%3-%4")
                                             .arg(QLatin1String(v.Name), QLatin1String(s.Name))
                                             .arg(scale)
                                             .arg(QLatin1String(pan.Name));
                    SCOPED_TRACE(name.toStdString());
                    const bool done = PanAndCompare(name, pan.By);
                    shifted += done ? 1 : 0;
                    // The frames are drawn from the picture's area in whole metres: a pan
                    // that changes those draws the whole picture.
                    if (!s.Frames)
                        EXPECT_EQ(done, pan.Shifts);
                }
                EXPECT_GT(shifted, 0) << "no pan shifted the picture";
            }
    }
}

// Guards the shifted picture against an edit since it was drawn: after a command and its
// mode-7 redraw the pan shifts the redrawn picture; with no redraw between, the picture
// on hand is older than the plan and the pan draws the whole picture.
TEST_F(DrawShift, PanAfterAnEditShiftsOnlyThePictureThatShowsIt)
{
    const TGeoPoint centre = Open(Views[0]);
    for (const int scale : {500, 2000}) {
        SCOPED_TRACE(scale);
        View(centre, scale);
        M().StrToComm(QStringLiteral("mcNewPoint=<0><0><ОТА/Ф002;ИВ150.10;ИД3.5><%1><%2><2><0><><0><0>")
                          .arg(double(centre.X) + 3, 0, 'f', 2)
                          .arg(double(centre.Y) + 4, 0, 'f', 2));
        Drag(QPointF(25, -18));
        M().DrawPan(W, H);
        EXPECT_FALSE(M().Shifted) << "the picture on hand does not show the new point";

        M().StrToComm(QStringLiteral("mcNewPoint=<0><0><ОТА/Ф002;ИВ150.10;ИД3.5><%1><%2><2><0><><0><0>")
                          .arg(double(centre.X) - 6, 0, 'f', 2)
                          .arg(double(centre.Y) + 2, 0, 'f', 2));
        M().EditedPage = 0;
        M().EditedLayer = 0;
        M().EditedKind = 0;
        M().EditedObject = -1;
        M().Draw(W, H, 7, ddScreen);
        EXPECT_TRUE(PanAndCompare(QStringLiteral("edit-%1").arg(scale), QPointF(-60, 44)));
    }
}

// What a shifted picture cannot give: a part of a pixel, another scale, a picture drawn
// for another destination, outlines. Each draws the whole picture.
TEST_F(DrawShift, WhatNoShiftGivesDrawsTheWholePicture)
{
    const TGeoPoint centre = Open(Views[1]);
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"part of a pixel", [&] { Drag(QPointF(10.5, 0)); }},
        {"another scale",
         [&] {
             Drag(QPointF(10, 0));
             M().MapViews.Item->FactorX *= 1.25L;
             M().MapViews.Item->FactorY *= 1.25L;
         }},
        {"a raster picture between",
         [&] {
             M().Draw(W, H, 2, ddRaster);
             Drag(QPointF(10, 0));
         }},
        {"node marks switched on",
         [&] {
             M().ShowNodes = 1;
             Drag(QPointF(10, 0));
         }},
        {"outlines",
         [&] {
             M().ShowSymbols = 0;
             Drag(QPointF(10, 0));
         }},
    };
    for (const auto& [what, change] : cases) {
        SCOPED_TRACE(what);
        M().ShowSymbols = 1;
        M().ShowNodes = 0;
        View(centre, 500);
        change();
        M().Bitmap.setPixel(1, 1, 0xFF123456);
        M().DrawPan(W, H);
        EXPECT_FALSE(M().Shifted);
        EXPECT_NE(M().Bitmap.pixel(1, 1), 0xFF123456u) << "the whole picture is drawn";
    }
}

// The strips the pan exposes are drawn, not left as the old picture held them.
TEST_F(DrawShift, OnlyTheExposedStripsAndTheObjectsAcrossTheirEdgesAreDrawn)
{
    const TGeoPoint centre = Open(Views[0]);
    View(centre, 500);
    Drag(QPointF(40, 0));
    M().DrawPan(W, H);
    ASSERT_TRUE(M().Shifted);
    ASSERT_FALSE(M().ShiftedAreas.empty());
    // The first area is the strip the picture moved away from: its whole height.
    EXPECT_EQ(M().ShiftedAreas.front(), QRect(0, 0, 40, 3 * H));
    long drawn = 0;
    for (const QRect& r : M().ShiftedAreas) {
        EXPECT_TRUE(M().Bitmap.rect().contains(r));
        drawn += long(r.width()) * r.height();
    }
    EXPECT_LT(drawn, long(0.6 * M().Bitmap.width() * M().Bitmap.height()));
}
