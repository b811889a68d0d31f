// Rendered sign pictures, their texts and the plan's texts on the picture. Sizes are
// millimetres (or dots) at the plan's scale and are scaled by the plan's denominator
// over the output scale, so that they keep their size on paper at any output scale.
#include "engine/draw/GeoMapDrawSupport.h"

#include "foundation/ErrorTrail.h"
#include "semantics/signs/Symbols.h"

#include <algorithm>

namespace {

// Pens and fonts larger than this many pixels are held there: no sign needs more, and
// the arithmetic stays far from overflow.
constexpr Extended MaxPixels = 1000000;

int ClampedRound(Extended v)
{
    if (!(v > -MaxPixels))
        return v != v ? 0 : -int(MaxPixels);
    return v > MaxPixels ? int(MaxPixels) : int(Round(v));
}

// Plan scale over output scale; an output scale not set yet counts as the plan's.
Extended SizeRatio(const TGeoMap& m)
{
    return m.OutputScale > 0 ? Extended(m.MapProp.Scale) / m.OutputScale : 1;
}

bool Monochrome(const TGeoMap& m)
{
    return (m.DrawDest == ddPrinter && m.PrintBits == 1) || (m.DrawDest == ddRaster && m.RasterBits == 1);
}

// The text a plan text shows: a named text ("^key%value") its value when it has one.
QString ShownText(const QString& text)
{
    if (!text.startsWith(u'^'))
        return text;
    const qsizetype p = text.indexOf(u'%');
    if (p < 0 || p == text.size() - 1)
        return text;
    return text.mid(p + 1);
}

}  // namespace

void TGeoMap::DrawCashe(const TVpLayers* Pict)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.DrawCashe(const Pict:TVpLayers);");
    if (!Pict || Pict->GetCount() == 0)
        return;
    TPaintScope scope(*this);
    if (!scope.Open())
        return;
    TMapPainter& p = scope.P();
    const bool mono = Monochrome(*this);
    const Extended widthFactor = Symbols->DotsPerMM * SizeRatio(*this);
    const std::int32_t ground = DrawDest == ddScreen ? BackColor : 0xFFFFFF;
    const auto setPen = [&](const TVpPen& pen) {
        const std::int32_t color = mono ? 0 : UserVectorColourOn ? UserVectorColour : pen.PenColor;
        p.SetPen(color, pen.PenMode, pen.PenStyle, ClampedRound(widthFactor * pen.PenWidth));
    };
    const auto setFill = [&](const TVpFill& fill) {
        switch (fill.FillStyle) {
        case vfBackdrop: p.SetBrush(mono ? 0xFFFFFF : ground); break;
        case vfColor: p.SetBrush(mono ? 0xFFFFFF : fill.FillColor); break;
        case vfNone: p.SetBrushClear(); break;
        default:
            // The brush of the primitive before; a black and white page fills white all
            // the same, never in a colour left from a coloured fill.
            if (mono)
                p.SetBrushColor(0xFFFFFF);
            break;
        }
    };
    for (const auto& layer : *Pict) {
        for (const auto& g : layer->Polygons) {
            setPen(*g);
            setFill(*g);
            // An area's fill holds its holes as further rings: islands stay unpainted.
            p.BeginPolygon();
            for (const auto& q : g->Points)
                p.Point(PixelOf(*this, *q));
            for (const auto& ring : g->Holes) {
                p.NewRing();
                for (const auto& q : ring->Points)
                    p.Point(PixelOf(*this, *q));
            }
            p.DrawPolygon();
        }
        for (const auto& c : layer->Circles) {
            setPen(*c);
            setFill(*c);
            p.Ellipse(PixelOf(*this, c->Center.X - c->Radius, c->Center.Y - c->Radius),
                      PixelOf(*this, c->Center.X + c->Radius, c->Center.Y + c->Radius));
        }
        for (const auto& l : layer->Lines) {
            setPen(*l);
            p.Line(PixelOf(*this, l->P1), PixelOf(*this, l->P2));
        }
        for (const auto& l : layer->Polylines) {
            setPen(*l);
            // One stroke per segment, so that a dash starts again at every node.
            QPointF from;
            bool first = true;
            for (const auto& q : l->Points) {
                const QPointF to = PixelOf(*this, *q);
                if (!first)
                    p.Line(from, to);
                from = to;
                first = false;
            }
        }
        for (const auto& t : layer->Texts)
            DrawVpText(t.get());
    }
}

void TGeoMap::DrawVpText(const RVpText* VT)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.DrawVpText(const VT:PVpText);");
    if (!VT)
        return;
    try {
        TLogFont lf;
        Symbols->DefLogFont(lf);
        Symbols->GeoAngleToLF(VT->Angle, lf);
        // The placement stores a picture text's own style with its size in dots already.
        TUserStyle style;
        if (VT->OwnStyle)
            style = *VT->OwnStyle;
        else
            Symbols->SelectTextStyle2(*VT, style);
        Symbols->UserStyleToLF(style, lf);
        lf.Height = ClampedRound(SizeRatio(*this) * lf.Height);
        if (lf.Height < 1)
            return;
        TPaintScope scope(*this);
        if (!scope.Open())
            return;
        scope.P().Text(PixelOf(*this, VT->Position), VT->Text, lf,
                       UserVectorColourOn ? UserVectorColour : style.Color);
    } catch (...) {
        DrawBusy = 0;
        throw;
    }
}

void TGeoMap::DrawText(RGText* DT)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.DrawText(const DT:PGText);");
    if (!DT || DT->Text.isEmpty())
        return;
    try {
        TLogFont lf;
        Symbols->DefLogFont(lf);
        lf.Escapement = DT->Angle;
        lf.Orientation = DT->Angle;
        TUserStyle style;
        Symbols->SelectTextStyle3(*DT, style);
        Symbols->UserStyleToLF(style, lf);
        if (!DT->FrameValid) {
            // Measured once, at the library's resolution, with the main plan's library:
            // hit testing works on this frame whatever the output scale.
            TSymbols& measuring = MainMap ? *MainMap->Symbols : *Symbols;
            TLogFont m = lf;
            m.Height = ClampedRound(lf.Height * DT->SizeFactor);
            TGeoPoint anchor = DT->Position;
            measuring.GetTextRect2(measuring.Measurer(), DT->Text, m, 0, anchor, DT->Frame);
            DT->FrameValid = 1;
        }
        if (HiddenCaption)
            return;
        // The style's height as the font record holds it, whole dots, then scaled.
        lf.Height = ClampedRound(lf.Height * DT->SizeFactor * SizeRatio(*this));
        if (lf.Height < 1)
            return;
        TPaintScope scope(*this);
        if (!scope.Open())
            return;
        scope.P().Text(PixelOf(*this, DT->Position), ShownText(DT->Text), lf,
                       UserVectorColourOn ? UserVectorColour : style.Color);
    } catch (...) {
        DrawBusy = 0;
        throw;
    }
}
