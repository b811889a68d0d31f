// Placing sign pictures into the pictures of plan objects: a whole picture at a point,
// the part of a line pattern that falls on one stretch of a segment, and the strokes
// that run along a whole segment. The line-render state of the library drives the
// last two and is advanced by them.
#include "semantics/signs/Symbols.h"

#include "foundation/ErrorTrail.h"
#include "foundation/GeoDataObjects.h"
#include "foundation/GeoServ.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const Module = "Symbols";

// A mitre longer than this many offsets stands for a turn close to going straight back:
// that end is then squared off as on a straight run, so no stroke is thrown far from
// its line.
constexpr Extended MaxMitre = 4;
// A phase this close to the picture length completes the picture.
constexpr Extended PhaseSnap = 0.1L;

// A length in whole thousandths of a metre, cut toward zero.
long long Thousandths(Extended v) { return static_cast<long long>(std::trunc(v * 1000)); }

template <class P>
void CopyPen(const P& from, P& to)
{
    to.PenColor = from.PenColor;
    to.PenMode = from.PenMode;
    to.PenStyle = from.PenStyle;
    to.PenWidth = from.PenWidth;
}

template <class P>
void CopyFill(const P& from, P& to)
{
    to.FillColor = from.FillColor;
    to.FillStyle = from.FillStyle;
}

// A new element of the picture; the caller fills its one primitive.
RVpLayer& NewElement(TVpLayers& pic)
{
    pic.AddItem();
    return *pic.Item;
}

}  // namespace

void TSymbols::RenderPic(const TVpLayers* SourcePic, TVpLayers* DestPic, TGeoAngle Angle, Extended Xc,
                         Extended Yc)
{
    TTrailGuard guard(Module,
                      "procedure TSymbols.RenderPic(const SourcePic:PVpLayers; var DestPic:PVpLayers; "
                      "const Angle,Xc,Yc:extended);",
                      TrailArg("Angle", Angle), TrailArg("Xc", Xc), TrailArg("Yc", Yc));
    const Extended m = SignMetresPerMM();
    const auto place = [&](const TGeoPoint& p) {
        Extended r = 0;
        TGeoAngle beta = 0;
        OGZ(0, 0, p.X, p.Y, r, beta);
        TGeoPoint g;
        PGZ(Xc, Yc, r * m, fNormalAngle(beta + Angle), g.X, g.Y);
        return g;
    };
    // A text at anchor, measured into its frame; the anchor and angle as measured.
    const auto placeText = [&](const QString& txt, const TUserStyle& style, TGeoAngle angle,
                               const TGeoPoint& anchor, std::uint8_t autoinvert) {
        RVpText& text = *[&] {
            RVpLayer& element = NewElement(*DestPic);
            element.Texts.AddItem();
            return element.Texts.Item;
        }();
        text.Text = txt;
        text.OwnStyle = std::make_unique<TUserStyle>(style);
        TLogFont lf;
        DefLogFont(lf);
        UserStyleToLF(style, lf);
        GeoAngleToLF(angle, lf);
        TGeoPoint at = anchor;
        GetTextRect2(Measurer(), txt, lf, autoinvert, at, text.Frame);
        text.Position = at;
        text.Angle = WinToGeoAngle(lf.Orientation);
    };

    bool countedPerElement = false;
    const int count = SourcePic ? SourcePic->GetCount() : 0;
    for (int i = 0; i < count; ++i) {
        const RVpLayer& source = *SourcePic->At(i);
        if (ObjKind == lmLine) {
            // A negative repeat counts as none.
            if (DestPic && TextRepeat > 0 && ElementCounter % TextRepeat == 0 && !InLineText.isEmpty())
                placeText(InLineText, InLineStyle, fNormalAngle(Angle + 90), place(InLinePos),
                          InvertedSegment ? 2 : InLineFixed ? 0 : 1);
            ++ElementCounter;
            countedPerElement = true;
        }
        if (!DestPic)
            continue;
        if (ObjKind == lmPoint && source.Texts.GetCount() > 0) {
            const RVpText& t = *source.Texts.At(0);
            TUserStyle style;
            SelectTextStyle2(t, style);
            placeText(t.Text, style, fNormalAngle(Angle + t.Angle), place(t.Position), 1);
        }
        if (source.Lines.GetCount() > 0) {
            const RVpLine& l = *source.Lines.At(0);
            RVpLayer& element = NewElement(*DestPic);
            element.Lines.AddItem();
            RVpLine& line = *element.Lines.Item;
            line.PenColor = l.PenColor;
            line.PenWidth = l.PenWidth;
            line.P1 = place(l.P1);
            line.P2 = place(l.P2);
        }
        if (source.Polylines.GetCount() > 0) {
            const RVpPolyline& pl = *source.Polylines.At(0);
            RVpLayer& element = NewElement(*DestPic);
            element.Polylines.AddItem();
            RVpPolyline& polyline = *element.Polylines.Item;
            polyline.PenColor = pl.PenColor;
            polyline.PenWidth = pl.PenWidth;
            for (const auto& p : pl.Points) {
                const TGeoPoint g = place(*p);
                polyline.Points.AddPoint(g.X, g.Y);
            }
        }
        if (source.Polygons.GetCount() > 0) {
            const RVpPolygon& pg = *source.Polygons.At(0);
            RVpLayer& element = NewElement(*DestPic);
            element.Polygons.AddItem();
            RVpPolygon& polygon = *element.Polygons.Item;
            CopyPen(pg, polygon);
            CopyFill(pg, polygon);
            for (const auto& p : pg.Points) {
                const TGeoPoint g = place(*p);
                polygon.Points.AddPoint(g.X, g.Y);
            }
        }
        if (source.Circles.GetCount() > 0) {
            const RVpCircle& c = *source.Circles.At(0);
            RVpLayer& element = NewElement(*DestPic);
            element.Circles.AddItem();
            RVpCircle& circle = *element.Circles.Item;
            CopyPen(c, circle);
            CopyFill(c, circle);
            circle.Center = place(c.Center);
            circle.Radius = c.Radius * m;
        }
    }
    if (!countedPerElement)
        ++ElementCounter;
}

void TSymbols::RenderPicMain(const TVpLayers* SourcePic, TVpLayers* DestPic, Extended X1, Extended Y1,
                             Extended X2, Extended Y2)
{
    TTrailGuard guard(Module,
                      "procedure TSymbols.RenderPicMain(const SourcePic:PVpLayers; var DestPic:PVpLayers; "
                      "const X1,Y1,X2,Y2:extended);",
                      TrailArg("X1", X1), TrailArg("Y1", Y1), TrailArg("X2", X2), TrailArg("Y2", Y2));
    if (!SourcePic || !DestPic)
        return;
    const Extended m = SignMetresPerMM();
    // The length along the bisector that puts the end at offset |x| from the line; a
    // turn within about 29 degrees of a reversal is squared off instead.
    const auto mitre = [](Extended x, TGeoAngle& turn) {
        const Extended s = std::sin(GradRad(turn / 2));
        const Extended length = s != 0 ? std::fabs(x / s) : 0;
        if (s == 0 || length > MaxMitre * std::fabs(x)) {
            turn = 180;
            return std::fabs(x);
        }
        return length;
    };
    for (const auto& holder : *SourcePic) {
        const RVpLayer& source = *holder;
        if (source.Lines.GetCount() == 0)
            continue;
        const RVpLine& l = *source.Lines.At(0);
        const Extended x = l.P1.X * m;
        if (x != l.P2.X * m || x == 0)
            continue;
        TGeoAngle t0 = TurnStart;
        TGeoAngle t1 = TurnEnd;
        const Extended startLength = mitre(x, t0);
        const Extended endLength = mitre(x, t1);
        const TGeoAngle startDir = x >= 0 ? SegAngle - t0 / 2 : SegAngle + 180 - t0 / 2;
        const TGeoAngle endDir = x >= 0 ? SegAngle + t1 / 2 - 180 : SegAngle + t1 / 2;
        RVpLayer& element = NewElement(*DestPic);
        element.Lines.AddItem();
        RVpLine& line = *element.Lines.Item;
        CopyPen(l, line);
        PGZ(X1, Y1, startLength, fNormalAngle(startDir), line.P1.X, line.P1.Y);
        PGZ(X2, Y2, endLength, fNormalAngle(endDir), line.P2.X, line.P2.Y);
    }
}

void TSymbols::RenderPicMin(const TVpLayers* SourcePic, TVpLayers* DestPic, Extended X1, Extended Y1,
                            Extended X2, Extended Y2)
{
    TTrailGuard guard(Module,
                      "procedure TSymbols.RenderPicMin(const SourcePic:PVpLayers; var DestPic:PVpLayers; "
                      "const X1,Y1,X2,Y2:extended);",
                      TrailArg("X1", X1), TrailArg("Y1", Y1), TrailArg("X2", X2), TrailArg("Y2", Y2));
    const Extended m = SignMetresPerMM();
    Extended len = 0;
    Dist(X1, Y1, X2, Y2, len);
    const Extended p = Phase;
    const Extended end = p + len;
    const long long pK = Thousandths(p);
    const long long endK = Thousandths(end);
    // A picture point in metres, the window's start on the segment's start.
    const auto place = [&](Extended x, Extended y) {
        Extended r = 0;
        TGeoAngle beta = 0;
        OGZ(0, 0, x, y - p, r, beta);
        TGeoPoint g;
        PGZ(X1, Y1, r, fNormalAngle(beta + SegAngle - 90), g.X, g.Y);
        return g;
    };
    const auto addLine = [&](const RVpLine& from, Extended xa, Extended ya, Extended xb, Extended yb) {
        RVpLayer& element = NewElement(*DestPic);
        element.Lines.AddItem();
        RVpLine& line = *element.Lines.Item;
        CopyPen(from, line);
        line.P1 = place(xa, ya);
        line.P2 = place(xb, yb);
    };
    const auto addPoints = [&](const TGeoPoints& from, TGeoPoints& to) {
        for (const auto& q : from) {
            const TGeoPoint g = place(q->X * m, q->Y * m);
            to.AddPoint(g.X, g.Y);
        }
    };

    const int count = (SourcePic && DestPic) ? SourcePic->GetCount() : 0;
    for (int i = 0; i < count; ++i) {
        const RVpLayer& source = *SourcePic->At(i);
        if (source.Lines.GetCount() > 0) {
            const RVpLine& l = *source.Lines.At(0);
            const Extended x1 = l.P1.X * m, y1 = l.P1.Y * m;
            const Extended x2 = l.P2.X * m, y2 = l.P2.Y * m;
            const long long x1K = Thousandths(x1), x2K = Thousandths(x2);
            const long long y1K = Thousandths(y1), y2K = Thousandths(y2);
            if (x1K != x2K) {
                const Extended mid = (y1 + y2) / 2;
                if (p <= mid && mid <= end)
                    addLine(l, x1, y1, x2, y2);
            } else if (x1K == 0) {
                // A stroke on the axis, clipped to the window.
                if (pK <= y1K && y1K < endK) {
                    if (Thousandths(std::max(y1, y2)) > endK)
                        addLine(l, x1, y1, x2, end);
                    else if (pK < y2K)
                        addLine(l, x1, y1, x2, y2);
                } else if (y1K < pK && endK < y2K) {
                    addLine(l, x1, p, x2, end);
                } else if (y1K < pK && y2K <= endK && pK < y2K) {
                    addLine(l, x1, p, x2, y2);
                }
            }
        }
        if (source.Polylines.GetCount() > 0) {
            const RVpPolyline& pl = *source.Polylines.At(0);
            const Extended ref = pl.RefPoint.Y * m;
            if (p < ref && ref <= end) {
                RVpLayer& element = NewElement(*DestPic);
                element.Polylines.AddItem();
                CopyPen(pl, *element.Polylines.Item);
                addPoints(pl.Points, element.Polylines.Item->Points);
            }
        }
        if (source.Polygons.GetCount() > 0) {
            const RVpPolygon& pg = *source.Polygons.At(0);
            const Extended ref = pg.RefPoint.Y * m;
            if (p < ref && ref <= end) {
                RVpLayer& element = NewElement(*DestPic);
                element.Polygons.AddItem();
                CopyPen(pg, *element.Polygons.Item);
                CopyFill(pg, *element.Polygons.Item);
                addPoints(pg.Points, element.Polygons.Item->Points);
            }
        }
        if (source.Circles.GetCount() > 0) {
            const RVpCircle& c = *source.Circles.At(0);
            const Extended cy = c.Center.Y * m;
            if (p <= cy && cy <= end) {
                RVpLayer& element = NewElement(*DestPic);
                element.Circles.AddItem();
                RVpCircle& circle = *element.Circles.Item;
                CopyPen(c, circle);
                CopyFill(c, circle);
                circle.Center = place(c.Center.X * m, cy);
                circle.Radius = c.Radius * m;
            }
        }
        // A negative repeat counts as none.
        if (ObjKind == lmLine && TextRepeat > 0 && ElementCounter % TextRepeat == 0 && !InLineText.isEmpty()) {
            const Extended ty = InLinePos.Y * m;
            const Extended mid = Round(ty + InLineWidth / 2);
            if (Round(p) < mid && mid <= Round(end)) {
                RVpLayer& element = NewElement(*DestPic);
                element.Texts.AddItem();
                RVpText& text = *element.Texts.Item;
                text.Text = InLineText;
                text.OwnStyle = std::make_unique<TUserStyle>(InLineStyle);
                TLogFont lf;
                DefLogFont(lf);
                UserStyleToLF(InLineStyle, lf);
                GeoAngleToLF(SegAngle, lf);
                TGeoPoint at = place(InLinePos.X * m, ty);
                GetTextRect2(Measurer(), InLineText, lf, InvertedSegment ? 2 : InLineFixed ? 0 : 1, at,
                             text.Frame);
                text.Position = at;
                text.Angle = WinToGeoAngle(lf.Orientation);
                ++ElementCounter;
            }
        }
    }

    Phase = end;
    if (std::fabs(Phase - PicLength) <= PhaseSnap)
        Phase = PicLength;
    if (Phase >= PicLength) {
        Alternation = !Alternation;
        ++ElementCounter;
    }
    if (PicLength > 0) {
        // One subtraction in practice; a picture far shorter than the stretch is folded
        // at once rather than one picture at a time.
        for (int i = 0; Phase >= PicLength && i < 64; ++i)
            Phase -= PicLength;
        if (Phase >= PicLength)
            Phase = std::fmod(Phase, PicLength);
    }
}
