// The two overlays of the picture that are not objects of the plan: the crosses of the
// 10 cm coordinate grid and the frames of the map sheets with their nomenclature.
// Pixels are those of the drawing's transform (GeoToScr, halves to even) plus the scroll
// offset, which is 0 for every destination but the screen.
#include "engine/draw/CoordGrid.h"
#include "engine/draw/GeoMapDrawSupport.h"

#include "foundation/ErrorTrail.h"
#include "semantics/signs/Symbols.h"

#include <algorithm>

namespace {

constexpr std::int32_t GridGreen = 0x008000;
constexpr int ScreenArm = 5;   // pixels, whatever the scale

// A plan rectangle, X south to north, Y west to east.
struct TCovered {
    Extended X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;

    void Widen(Extended d)
    {
        X1 -= d;
        Y1 -= d;
        X2 += d;
        Y2 += d;
    }
};

// What a drawing for dest covers: the printed area on the printer; elsewhere the whole
// picture, from the pixel (-ScrollX, 2H) to (2W, -ScrollY) of the window W by H (on the
// screen the picture reaches a window beyond each edge; elsewhere it is the window).
TCovered CoveredArea(const TGeoMap& m, TDrawDest dest)
{
    TCovered a;
    if (dest == ddPrinter) {
        a.X1 = m.PrintOrigin.X - Extended(m.PageHeightMm) * m.PrinterScale / 1000;
        a.X2 = m.PrintOrigin.X;
        a.Y1 = m.PrintOrigin.Y;
        a.Y2 = m.PrintOrigin.Y + Extended(m.PageWidthMm) * m.PrinterScale / 1000;
        return a;
    }
    const int H = m.DrawH;
    const int W = dest == ddScreen ? m.ScrollX : m.Bitmap.width();
    m.ScrToGeo(H, -m.ScrollX, 2 * H, a.X1, a.Y1);
    m.ScrToGeo(H, 2 * W, -m.ScrollY, a.X2, a.Y2);
    return a;
}

QPointF PixelOnPicture(const TGeoMap& m, Extended x, Extended y)
{
    int xs = 0, ys = 0;
    m.GeoToScr(m.DrawH, x, y, xs, ys);
    return QPointF(qreal(xs) + m.ScrollX, qreal(ys) + m.ScrollY);
}

// One level of the sheet division.
struct TFrameLevel {
    std::int64_t Cell;       // metres
    std::int64_t G;          // the bounds are whole multiples of G …
    std::int64_t Margin;     // … widened by this
    std::int32_t Color;
    int Width;               // pixels
    Extended Points;         // label size
    std::int64_t LabelNorth; // label point from the cell's south-west corner, metres
    std::int64_t LabelEast;
    bool Labels;
    bool BaseNameOnly;       // the nomenclature up to its first "-"
    bool RowsToNorthBound;   // label rows up to the north bound, else up to the area's X2
};

// The base sheet's name: the nomenclature before its first "-"; "" without one ("?").
QString BaseName(const QString& nomenclature)
{
    const qsizetype dash = nomenclature.indexOf(u'-');
    return dash < 0 ? QString() : nomenclature.left(dash);
}

}  // namespace

void TGeoMap::PaintCoordCross(TDrawDest dest)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.PaintCoordCross(const dest:TDrawDest);",
                      TrailArg("dest", int(dest)));
    if (!ShowCoordCross)
        return;
    const std::int64_t step = GridStep(MapProp.Scale);
    const std::int64_t arm = Round(3 * Symbols->DotsPerMM);   // 3 mm at the destination's dots
    if (OutputScale == 0 || MapProp.Scale == 0 || Extended(OutputScale) / MapProp.Scale > 8 || step == 0 ||
        arm == 0)
        return;
    TPaintScope scope(*this);
    if (!scope.Open())
        return;
    TMapPainter& p = scope.P();
    const bool black = dest == ddPrinter || (dest == ddRaster && RasterBits == 1);
    p.SetPen(black ? 0 : GridGreen, pmCopy, psSolid, 1);

    TCovered area = CoveredArea(*this, dest);
    if (dest != ddPrinter)
        area.Widen(Extended(2 * step));
    // Paper keeps 3 mm arms at its resolution; the screen and the DXF picture 5 pixels.
    const qreal a = dest == ddPrinter || dest == ddRaster ? qreal(std::min<std::int64_t>(arm, 1 << 20)) : ScreenArm;
    ForEachGridNode(area.X1, area.Y1, area.X2, area.Y2, step, false, [&](std::int64_t X, std::int64_t Y) {
        const QPointF c = PixelOnPicture(*this, Extended(X), Extended(Y));
        p.Line(QPointF(c.x() - a, c.y()), QPointF(c.x() + a, c.y()));
        p.Line(QPointF(c.x(), c.y() - a), QPointF(c.x(), c.y() + a));
    });
}

void TGeoMap::PaintPlanCross(TDrawDest dest)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.PaintPlanCross(const dest:TDrawDest);",
                      TrailArg("dest", int(dest)));
    if (MapProp.Scale == 10)
        return;
    TCovered area = CoveredArea(*this, dest);
    if (dest == ddPrinter)
        area.Widen(750);
    const std::int32_t S = dest == ddPrinter ? PrinterScale : OutputScale;
    if (!ShowPlansBorders)
        return;
    TPaintScope scope(*this);
    if (!scope.Open())
        return;
    TMapPainter& p = scope.P();

    // Label sizes in points: the printer's from its scale, every other destination's
    // from the output scale (labels are drawn only where S is well above 0).
    const auto points = [&](Extended printer, Extended other) {
        return Extended(Round(dest == ddPrinter ? 500.0L / S * printer * 14 : other / S));
    };
    const int kind = Nomenclatures.Mode;
    std::vector<TFrameLevel> levels;
    if (S <= 25000) {
        const bool labels = ShowPlanNom && S >= 2000;
        levels.push_back({250, 1000, 750, FrameColor500, 4, labels ? points(50, 125000) : 0, 150, 60, labels,
                          false, false});
    }
    if (S <= 1000000 && (kind == 2 || kind == 3)) {
        const bool labels = ShowPlanNom && S > 25000 && S <= 500000;
        const Extended size = labels ? points(80, 1500000) : 0;
        if (kind == 2)
            levels.push_back({2000, 10000, 8000, FrameColor5000, 2, size, 1400, 800, labels, true, true});
        else
            levels.push_back({3000, 10000, 7000, FrameColor5000, 2, size, 1000, 1333, labels, true, false});
    }

    for (const TFrameLevel& level : levels) {
        const std::int64_t cell = level.Cell;
        const std::int64_t south = TruncMetres(area.X1 / level.G) * level.G - level.Margin;
        const std::int64_t west = TruncMetres(area.Y1 / level.G) * level.G - level.Margin;
        const std::int64_t north = TruncMetres(area.X2 / level.G) * level.G + level.Margin;
        const std::int64_t east = TruncMetres(area.Y2 / level.G) * level.G + level.Margin;
        const std::int64_t rows = GridCount(south, north, cell, false);
        const std::int64_t columns = GridCount(west, east, cell, false);
        CheckGridItems(rows + columns);
        TLogFont lf;
        lf.FaceName = QStringLiteral("Arial");
        lf.Weight = 700;
        lf.Height = CanvasFontHeight(level.Points);
        std::int64_t labelRows = 0;
        if (level.Labels && lf.Height != 0) {
            const Extended reach = level.RowsToNorthBound ? Extended(north - south) : area.X2 - south;
            labelRows = std::max<std::int64_t>(0, TruncMetres(reach / cell) + 1);
            CheckGridItems(columns > 0 && labelRows > MaxGridItems / columns ? MaxGridItems + 1 : labelRows * columns);
        }

        p.SetPen(level.Color, pmCopy, psSolid, level.Width);
        for (std::int64_t i = 0; i < rows; ++i) {
            const Extended X = Extended(south + i * cell);
            p.Line(PixelOnPicture(*this, X, Extended(west)), PixelOnPicture(*this, X, Extended(east)));
        }
        for (std::int64_t j = 0; j < columns; ++j) {
            const Extended Y = Extended(west + j * cell);
            p.SetPen(level.Color, pmCopy, psSolid, level.Width);
            p.Line(PixelOnPicture(*this, Extended(south), Y), PixelOnPicture(*this, Extended(north), Y));
            // The labels of the column of cells east of this line.
            for (std::int64_t i = 0; i < labelRows; ++i) {
                const Extended x = Extended(south + i * cell + level.LabelNorth);
                const Extended y = Y + Extended(level.LabelEast);
                const QString name = CoordToNomenclature(x, y);
                p.Text(PixelOnPicture(*this, x, y), level.BaseNameOnly ? BaseName(name) : name, lf, NomColor);
            }
        }
    }
}
