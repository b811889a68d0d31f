// Placing sign pictures into the pictures of plan objects: a whole picture at a point,
// the part of a line pattern that falls on one stretch of a segment, and the strokes
// that run along a whole segment. The line-render state of the library drives the
// last two and is advanced by them.
#include "semantics/signs/Symbols.h"
#include "semantics/signs/SymbolsForward.h"

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

// A length in whole thousandths of a metre, cut toward zero. The conversion cuts toward
// zero itself, so std::trunc (a call of its own, on every pattern window) is needed
// only where the value does not fit, which keeps that case as it was.
long long Thousandths(Extended v)
{
    const Extended t = v * 1000;
    if (t > -9.2e18L && t < 9.2e18L)
        return static_cast<long long>(t);
    return static_cast<long long>(std::trunc(t));
}

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

// A new element of the picture holding one new primitive of the list named, which the
// caller fills.
template <class L>
auto& NewPrimitive(TVpLayers& pic, L RVpLayer::*list)
{
    pic.AddItem();
    L& primitives = pic.Item->*list;
    primitives.AddItem();
    return *primitives.Item;
}

// Points of a sign picture into a placed primitive, each through place.
template <class F>
void PlacePoints(const TGeoPoints& from, TGeoPoints& to, F&& place)
{
    for (const auto& q : from) {
        const TGeoPoint g = place(*q);
        to.AddPoint(g.X, g.Y);
    }
}

// A new element of dest with one text set in style (sizes in dots) at angle from
// anchor, measured into its frame and turned upright as autoinvert says; its anchor and
// angle as the measuring leaves them.
void PlaceText(TSymbols& symbols, TVpLayers& dest, const QString& txt, const TUserStyle& style,
               TGeoAngle angle, const TGeoPoint& anchor, std::uint8_t autoinvert)
{
    RVpText& text = NewPrimitive(dest, &RVpLayer::Texts);
    text.Text = txt;
    text.OwnStyle = std::make_unique<TUserStyle>(style);
    TLogFont lf;
    symbols.DefLogFont(lf);
    symbols.UserStyleToLF(style, lf);
    symbols.GeoAngleToLF(angle, lf);
    TGeoPoint at = anchor;
    symbols.GetTextRect2(symbols.Measurer(), txt, lf, autoinvert, at, text.Frame);
    text.Position = at;
    text.Angle = WinToGeoAngle(lf.Orientation);
}

// Whether the in-line text goes into the element now due. A negative repeat counts as
// none.
bool InLineTextDue(const TSymbols& s)
{
    return s.ObjKind == lmLine && s.TextRepeat > 0 && s.ElementCounter % s.TextRepeat == 0 &&
           !s.InLineText.isEmpty();
}

// An in-line text reads the other way on an inverted segment, never turns when fixed,
// and is turned upright otherwise.
std::uint8_t InLineAutoInvert(const TSymbols& s) { return s.InvertedSegment ? 2 : s.InLineFixed ? 0 : 1; }

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
        SignPGZ(Xc, Yc, r * m, fNormalAngle(beta + Angle), g.X, g.Y);
        return g;
    };
    bool countedPerElement = false;
    const int count = SourcePic ? SourcePic->GetCount() : 0;
    for (int i = 0; i < count; ++i) {
        const RVpLayer& source = *SourcePic->At(i);
        if (ObjKind == lmLine) {
            if (DestPic && InLineTextDue(*this))
                PlaceText(*this, *DestPic, InLineText, InLineStyle, fNormalAngle(Angle + 90), place(InLinePos),
                          InLineAutoInvert(*this));
            ++ElementCounter;
            countedPerElement = true;
        }
        if (!DestPic)
            continue;
        if (ObjKind == lmPoint && source.Texts.GetCount() > 0) {
            const RVpText& t = *source.Texts.At(0);
            TUserStyle style;
            SelectTextStyle2(t, style);
            PlaceText(*this, *DestPic, t.Text, style, fNormalAngle(Angle + t.Angle), place(t.Position), 1);
        }
        if (source.Lines.GetCount() > 0) {
            const RVpLine& l = *source.Lines.At(0);
            RVpLine& line = NewPrimitive(*DestPic, &RVpLayer::Lines);
            line.PenColor = l.PenColor;
            line.PenWidth = l.PenWidth;
            line.P1 = place(l.P1);
            line.P2 = place(l.P2);
        }
        if (source.Polylines.GetCount() > 0) {
            const RVpPolyline& pl = *source.Polylines.At(0);
            RVpPolyline& polyline = NewPrimitive(*DestPic, &RVpLayer::Polylines);
            polyline.PenColor = pl.PenColor;
            polyline.PenWidth = pl.PenWidth;
            PlacePoints(pl.Points, polyline.Points, place);
        }
        if (source.Polygons.GetCount() > 0) {
            const RVpPolygon& pg = *source.Polygons.At(0);
            RVpPolygon& polygon = NewPrimitive(*DestPic, &RVpLayer::Polygons);
            CopyPen(pg, polygon);
            CopyFill(pg, polygon);
            PlacePoints(pg.Points, polygon.Points, place);
        }
        if (source.Circles.GetCount() > 0) {
            const RVpCircle& c = *source.Circles.At(0);
            RVpCircle& circle = NewPrimitive(*DestPic, &RVpLayer::Circles);
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
        RVpLine& line = NewPrimitive(*DestPic, &RVpLayer::Lines);
        CopyPen(l, line);
        SignPGZ(X1, Y1, startLength, fNormalAngle(startDir), line.P1.X, line.P1.Y);
        SignPGZ(X2, Y2, endLength, fNormalAngle(endDir), line.P2.X, line.P2.Y);
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
        SignPGZ(X1, Y1, r, fNormalAngle(beta + SegAngle - 90), g.X, g.Y);
        return g;
    };
    const auto addLine = [&](const RVpLine& from, Extended xa, Extended ya, Extended xb, Extended yb) {
        RVpLine& line = NewPrimitive(*DestPic, &RVpLayer::Lines);
        CopyPen(from, line);
        line.P1 = place(xa, ya);
        line.P2 = place(xb, yb);
    };
    const auto placeSign = [&](const TGeoPoint& q) { return place(q.X * m, q.Y * m); };

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
                RVpPolyline& polyline = NewPrimitive(*DestPic, &RVpLayer::Polylines);
                CopyPen(pl, polyline);
                PlacePoints(pl.Points, polyline.Points, placeSign);
            }
        }
        if (source.Polygons.GetCount() > 0) {
            const RVpPolygon& pg = *source.Polygons.At(0);
            const Extended ref = pg.RefPoint.Y * m;
            if (p < ref && ref <= end) {
                RVpPolygon& polygon = NewPrimitive(*DestPic, &RVpLayer::Polygons);
                CopyPen(pg, polygon);
                CopyFill(pg, polygon);
                PlacePoints(pg.Points, polygon.Points, placeSign);
            }
        }
        if (source.Circles.GetCount() > 0) {
            const RVpCircle& c = *source.Circles.At(0);
            const Extended cy = c.Center.Y * m;
            if (p <= cy && cy <= end) {
                RVpCircle& circle = NewPrimitive(*DestPic, &RVpLayer::Circles);
                CopyPen(c, circle);
                CopyFill(c, circle);
                circle.Center = place(c.Center.X * m, cy);
                circle.Radius = c.Radius * m;
            }
        }
        if (InLineTextDue(*this)) {
            const Extended ty = InLinePos.Y * m;
            const Extended mid = Round(ty + InLineWidth / 2);
            if (Round(p) < mid && mid <= Round(end)) {
                PlaceText(*this, *DestPic, InLineText, InLineStyle, SegAngle, place(InLinePos.X * m, ty),
                          InLineAutoInvert(*this));
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
