// Between plan coordinates and pixels: the transforms of each destination, the fit of
// the view into a window, the view steps a drawing takes before it draws (with the view
// history), the output scale, the plan corners of the picture, and the plan's extents.
#include "engine/GeoMap.h"

#include "engine/EngineServices.h"
#include "foundation/ErrorTrail.h"
#include "platform/Platform.h"

#include <cmath>
#include <limits>

namespace {

// Pixels are held within ±2^30, far beyond any canvas and far from the ends of int, so
// that sums of a pixel and a picture's size never overflow either.
constexpr Extended PixelLimit = 1073741824.0L;

int SaturatedPixel(Extended v)
{
    if (std::isnan(v))
        return static_cast<int>(PixelLimit);   // no position: off every picture
    if (v > PixelLimit)
        return static_cast<int>(PixelLimit);
    if (v < -PixelLimit)
        return -static_cast<int>(PixelLimit);
    return static_cast<int>(v);
}

bool PositiveFinite(Extended v) { return v > 0 && std::isfinite(v); }

// Pixels per unit of factor and the margin at the left and bottom of a destination:
// the screen and DXF 100 and 10, the printer 1 and 10, a raster image 100 and none.
// False for a destination above 3.
bool DestFormula(TDrawDest dest, Extended& scale, Extended& margin)
{
    scale = dest == ddPrinter ? 1 : 100;
    margin = dest == ddRaster ? 0 : 10;
    return dest <= ddDxf;
}

// The plan's extents as they are met: the first coordinate sets all four bounds.
struct TExtents {
    bool Any = false;
    Extended XMin = 0, YMin = 0, XMax = 0, YMax = 0;

    void Add(const TGeoPoint& p)
    {
        if (!Any) {
            XMin = XMax = p.X;
            YMin = YMax = p.Y;
            Any = true;
            return;
        }
        XMin = std::min(XMin, p.X);
        XMax = std::max(XMax, p.X);
        YMin = std::min(YMin, p.Y);
        YMax = std::max(YMax, p.Y);
    }
};

void AddTexts(const TGTexts& texts, TExtents& e)
{
    for (const auto& t : texts)
        e.Add(t->Position);
}

// What counts for the extents of a sheet: raster corners, texts, points with their inner
// texts, line nodes with the lines' inner texts, and outer polygon nodes. Automatic
// captions, points on line nodes and a polygon's inner contours and objects do not.
void AddPage(const RGPage& page, TExtents& e)
{
    for (const auto& r : page.Rastrs) {
        e.Add(r->BottomLeft);
        e.Add(r->TopRight);
    }
    for (const auto& layer : page.Layers) {
        AddTexts(layer->Texts, e);
        for (const auto& p : layer->Points) {
            e.Add(p->Position);
            AddTexts(p->InnerTexts, e);
        }
        for (const auto& l : layer->Lines) {
            for (const auto& n : l->Nodes)
                e.Add(n->Position);
            AddTexts(l->InnerTexts, e);
        }
        for (const auto& g : layer->Polygons)
            for (const auto& n : g->Nodes)
                e.Add(n->Position);
    }
}

}  // namespace

Extended TGeoMap::ScreenFactorAtOne() const
{
    return ScreenDpi / 2.54L;
}

void TGeoMap::GeoToScrF(int H, Extended xg, Extended yg, Extended& xs, Extended& ys) const
{
    Extended scale = 0, margin = 0;
    if (!DestFormula(DrawDest, scale, margin))
        return;
    xs = (yg - ViewYMin) * FactorY * scale + margin;
    ys = H - (xg - ViewXMin) * FactorX * scale - margin;
}

void TGeoMap::GeoToScr(int H, Extended xg, Extended yg, int& xs, int& ys) const
{
    // Each product is rounded on its own, halves to even, before the margin and the
    // height are applied, exactly as the integer formula does.
    Extended scale = 0, margin = 0;
    if (!DestFormula(DrawDest, scale, margin))
        return;
    const Extended across = std::nearbyint((yg - ViewYMin) * FactorY * scale);
    const Extended up = std::nearbyint((xg - ViewXMin) * FactorX * scale);
    xs = SaturatedPixel(across + margin);
    ys = SaturatedPixel(H - up - margin);
}

void TGeoMap::ScrToGeo(int H, int xs, int ys, Extended& xg, Extended& yg) const
{
    TTrailGuard guard("GeoMap",
                      "procedure TGeoMap.ScrToGeo(const H:integer; const xs,ys:integer; "
                      "var xg,yg:extended);",
                      TrailArg("H", H), TrailArg("xs", xs), TrailArg("ys", ys));
    Extended scale = 0, margin = 0;
    if (!DestFormula(DrawDest, scale, margin))
        return;
    if (FactorX == 0 || FactorY == 0)
        throw Exception(QStringLiteral("Масштаб изображения плана не задан"));
    // In extended precision: the pixel sums cannot overflow as 32-bit sums could.
    xg = (Extended(H) - ys - margin) / (FactorX * scale) + ViewXMin;
    yg = (Extended(xs) - margin) / (FactorY * scale) + ViewYMin;
}

void TGeoMap::FitToWindow(int W, int H)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.FitToWindow(const W,H:integer);",
                      TrailArg("W", W), TrailArg("H", H));
    const Extended S = ScreenFactorAtOne();
    const Extended spanX = ViewXMax - ViewXMin;
    const Extended spanY = ViewYMax - ViewYMin;
    if (spanX == 0 && spanY == 0) {
        FactorX = FactorY = S / 100;   // one coordinate: 1:100 around it
        return;
    }
    if (W <= 20 || H <= 20)
        return;   // a minimised window: the view stays for when it is shown again
    const Extended height = DrawDest == ddRaster ? H : H - 20;
    const Extended width = DrawDest == ddRaster ? W : W - 20;
    const Extended kx = spanX != 0 ? height / (spanX * 100) : 0;
    const Extended ky = spanY != 0 ? width / (spanY * 100) : 0;
    Extended k = spanX == 0 ? ky : spanY == 0 ? kx : std::min(kx, ky);
    if (!PositiveFinite(k))
        return;   // bounds upside down or beyond reason: no factor to trust
    if (S / k < 1)
        k = S;    // never closer than 1:1
    FactorX = FactorY = k;
}

void TGeoMap::ViewStep(int W, int H)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.ViewStep(const W,H:integer);",
                      TrailArg("W", W), TrailArg("H", H));
    const Extended S = ScreenFactorAtOne();
    const auto store = [this](RMapView& v) {
        v.ViewXMin = ViewXMin;
        v.ViewYMin = ViewYMin;
        v.ViewXMax = ViewXMax;
        v.ViewYMax = ViewYMax;
        v.FactorX = FactorX;
        v.FactorY = FactorY;
    };
    const auto loadBounds = [this](const RMapView& v) {
        ViewXMin = v.ViewXMin;
        ViewYMin = v.ViewYMin;
        ViewXMax = v.ViewXMax;
        ViewYMax = v.ViewYMax;
    };
    const auto pushView = [&] {
        auto record = std::make_unique<RMapView>();
        store(*record);
        MapViews.AddItem(std::move(record));
    };
    // Steps 1 to 7 of a zoom to DisplayScale keeping the plan point under pixel (px, py).
    const auto zoomAbout = [&](int px, int py) {
        if (DisplayScale < 1)
            DisplayScale = 1;
        const bool hadScale = FactorX != 0 && FactorY != 0;   // no view yet: nothing to keep
        Extended ax = 0, ay = 0;
        if (hadScale)
            ScrToGeo(H, px, py, ax, ay);
        // Zooming out or in is judged against the current record; with no record yet,
        // against the factor in use.
        const Extended before = MapViews.Item ? MapViews.Item->FactorX : FactorX;
        FactorX = FactorY = S / DisplayScale;
        if (!hadScale)
            return;
        Extended bx = 0, by = 0;
        ScrToGeo(H, px, py, bx, by);
        const Extended dX = std::fabs(bx - ax);
        const Extended dY = std::fabs(by - ay);
        const Extended sign = before > FactorX ? -1 : 1;
        ViewXMin += sign * dX;
        ViewXMax += sign * dX;
        ViewYMin += sign * dY;
        ViewYMax += sign * dY;
    };

    switch (DrawMode) {
    case 0:
    case 1:
        MaxMinCoord();
        FitToWindow(W, H);
        pushView();
        break;
    case 2:
    case 3:
    case 7:
        if (const RMapView* v = MapViews.Item) {
            loadBounds(*v);
            FactorX = FactorY = v->FactorX;
        }
        break;
    case 4:
        if (RMapView* v = MapViews.Item) {
            loadBounds(*v);
            FitToWindow(W, H);
            v->FactorX = FactorX;
            v->FactorY = FactorY;
        } else {
            FactorX = FactorY = S / 100;
        }
        break;
    case 5:
        if (ZoomAnchorOn)
            zoomAbout(ZoomAnchor.x(), ZoomAnchor.y());
        else
            zoomAbout(W / 2, H / 2);
        pushView();
        break;
    case 8: {
        zoomAbout(W / 2, H / 2);
        Extended cx = 0, cy = 0;
        ScrToGeo(H, W / 2, H / 2, cx, cy);
        const Extended dX = CentreTarget.X - cx;
        const Extended dY = CentreTarget.Y - cy;
        ViewXMin += dX;
        ViewXMax += dX;
        ViewYMin += dY;
        ViewYMax += dY;
        pushView();
        break;
    }
    default:
        break;   // mode 6 and above 8: the view as it is
    }
}

void TGeoMap::SetOutputScale()
{
    switch (DrawDest) {
    case ddScreen: {
        const Extended denominator = ScreenFactorAtOne() / FactorX;
        if (!PositiveFinite(denominator))
            return;   // no view yet: the last scale stays
        // Pen widths and font heights are divided by it: never below 1.
        OutputScale = static_cast<std::int32_t>(std::clamp<Extended>(
            std::nearbyint(denominator), 1, std::numeric_limits<std::int32_t>::max()));
        const QString number = QString::number(OutputScale);
        Ui().SetPanelText(TEnginePanel::Scale, QStringLiteral("масштаб 1:") + number);
        Ui().SetScaleBox(number);
        break;
    }
    case ddPrinter:
        OutputScale = PrinterScale;
        break;
    case ddRaster:
        OutputScale = RasterScale;
        break;
    case ddDxf:
        OutputScale = MapProp.Scale;
        break;
    default:
        break;
    }
}

void TGeoMap::SetPictureCorners(int pictureW, int pictureH, int surfaceW, int surfaceH)
{
    TTrailGuard guard("GeoMap",
                      "procedure TGeoMap.SetPictureCorners(const pictureW,pictureH,surfaceW,"
                      "surfaceH:integer);");
    PictureRect.setCoords(-ScrollX, -ScrollY, pictureW, pictureH);
    ScrToGeo(surfaceH, PictureRect.left(), PictureRect.bottom(), DrawAreaMin.X, DrawAreaMin.Y);
    ScrToGeo(surfaceH, PictureRect.right(), PictureRect.top(), DrawAreaMax.X, DrawAreaMax.Y);
    ScrToGeo(surfaceH, 0, surfaceH, WindowMin.X, WindowMin.Y);
    ScrToGeo(surfaceH, surfaceW, 0, WindowMax.X, WindowMax.Y);
}

void TGeoMap::MaxMinCoord()
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.MaxMinCoord;");
    TExtents e;
    for (const auto& page : Pages)
        AddPage(*page, e);
    if (!e.Any)
        for (const auto& n : Nomenclatures)
            e.Add(n->Origin);
    if (!e.Any)
        return;
    ViewXMin = e.XMin;
    ViewYMin = e.YMin;
    ViewXMax = e.XMax;
    ViewYMax = e.YMax;
}

void TGeoMap::MaxMinCoord(const QString& Page, TGeoPoint& PMin, TGeoPoint& PMax)
{
    TTrailGuard guard("GeoMap",
                      "procedure TGeoMap.MaxMinCoord(Page:string; var PMin,PMax:TGeoPoint);",
                      TrailArg("Page", Page));
    if (!Pages.GoFirstItemWhere([&](const RGPage& p) { return p.Name == Page; }))
        return;
    TExtents e;
    AddPage(*Pages.Item, e);
    if (!e.Any)
        return;
    PMin = GeoPoint(e.XMin, e.YMin);
    PMax = GeoPoint(e.XMax, e.YMax);
}

void TGeoMap::GetExtents(Extended& XMin, Extended& YMin, Extended& XMax, Extended& YMax) const
{
    const TGeoMap& main = MainMap ? *MainMap : *this;
    XMin = main.ViewXMin;
    YMin = main.ViewYMin;
    XMax = main.ViewXMax;
    YMax = main.ViewYMax;
}
