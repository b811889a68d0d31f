// The cross hatching of slopes and embankments: strokes between, along and away from the
// marked stretches of the outer contour, each laid with a hatch picture as a dashed line.
#include "semantics/signs/Symbols.h"
#include "semantics/signs/SymbolsForward.h"

#include "foundation/ErrorTrail.h"
#include "foundation/GeoDataObjects.h"
#include "foundation/GeoDataObjectsPolygons.h"
#include "foundation/GeoServ.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const Module = "Symbols";

TGeoPoint Middle(const TGeoPoint& a, const TGeoPoint& b)
{
    return GeoPoint((a.X + b.X) / 2, (a.Y + b.Y) / 2);
}

Extended ChainLength(const TGeoPoints& chain)
{
    Extended length = 0;
    for (int i = 1; i < chain.GetCount(); ++i) {
        Extended d = 0;
        Dist(chain.At(i - 1)->X, chain.At(i - 1)->Y, chain.At(i)->X, chain.At(i)->Y, d);
        length += d;
    }
    return length;
}

}  // namespace

bool TSymbols::HatchStepUsable(Extended Step, Extended length)
{
    // A far-off node or a tiny step must not flood the picture nor hang the drawing.
    return Step >= MinPatternLength && std::isfinite(Step) && length / Step <= MaxHatchStrokes;
}

void TSymbols::TraceLine(Extended& Shift, Extended X1, Extended Y1, Extended X2, Extended Y2,
                         Extended Step, TGeoPoints& Points)
{
    TTrailGuard guard(Module,
                      "procedure TSymbols.TraceLine(var Shift:Extended; const X1,Y1,X2,Y2,Step:Extended; "
                      "const Points:TGeoPoints);",
                      TrailArg("Shift", Shift), TrailArg("Step", Step));
    // A step too short to use still lets a segment shorter than Shift pass it on.
    TraceSegment(Shift, GeoPoint(X1, Y1), GeoPoint(X2, Y2), Step >= MinPatternLength ? Step : 0, Points);
}

void TSymbols::TraceLine(Extended& Shift, Extended X1, Extended Y1, Extended X2, Extended Y2,
                         Extended Step, TS1Points& Points)
{
    TTrailGuard guard(Module,
                      "procedure TSymbols.TraceLine(var Shift:Extended; const X1,Y1,X2,Y2,Step:Extended; "
                      "const Points:TS1Points);",
                      TrailArg("Shift", Shift), TrailArg("Step", Step));
    TraceSegment(Shift, GeoPoint(X1, Y1), GeoPoint(X2, Y2), Step >= MinPatternLength ? Step : 0, Points);
}

template <class TPoints>
void TSymbols::TraceChain(const TGeoPoints& chain, Extended Step, TPoints& Points)
{
    Extended shift = 0;
    for (int i = 1; i < chain.GetCount(); ++i)
        TraceLine(shift, chain.At(i - 1)->X, chain.At(i - 1)->Y, chain.At(i)->X, chain.At(i)->Y, Step,
                  Points);
}

void TSymbols::CreateLinesInPolygon(Extended Step, const TVpLayers* SP, const TVpLayers* SP2, TVpLayers* DP,
                                    Extended LD, Extended LD2, Extended SubLineD, bool SubLines)
{
    TTrailGuard guard(Module,
                      "procedure TSymbols.CreateLinesInPolygon(const step:extended; const SP,SP2,DP:TVpLayers; "
                      "const LD,LD2,SubLineD:extended; const SubLines:boolean);",
                      TrailArg("Step", Step), TrailArg("LD", LD), TrailArg("LD2", LD2),
                      TrailArg("SubLineD", SubLineD));
    const Extended lengthI = ChainLength(Outline.ChainI);
    // The intermediate strokes count as well: nearly one per main stroke.
    if (!HatchStepUsable(Step, SubLines ? 2 * lengthI : lengthI))
        return;
    // Both chains get the same number of points; a chain I shorter than half a step
    // gets none to pair.
    const Extended n = std::nearbyint(lengthI / Step);
    if (!(n >= 1))
        return;
    const Extended stepII = ChainLength(Outline.ChainII) / n;
    if (!HatchStepUsable(stepII, 0))
        return;
    TGeoPoints onI, onII;
    TraceChain(Outline.ChainI, Step, onI);
    TraceChain(Outline.ChainII, stepII, onII);
    const int pairs = std::min(onI.GetCount(), onII.GetCount());
    for (int i = 0; i < pairs; ++i) {
        const TGeoPoint& a = *onI.At(i);
        const TGeoPoint& b = *onII.At(i);
        RenderSpecialLine(a.X, a.Y, b.X, b.Y, SP, DP, LD, 0);
        if (!SubLines || i == 0 || !(SubLineD >= MinPatternLength))
            continue;
        const TGeoPoint m1 = Middle(*onI.At(i - 1), a);
        const TGeoPoint m2 = Middle(*onII.At(i - 1), b);
        Extended w = 0;
        TGeoAngle dir = 0;
        OGZ(m1.X, m1.Y, m2.X, m2.Y, w, dir);
        // A short stroke that would reach past the middle between the chains keeps only
        // its far half, so that its tail still meets the middle.
        if (w >= 2 * SubLineD) {
            const TGeoPoint e = SignPGZ(m1, SubLineD, dir);
            RenderSpecialLine(m1.X, m1.Y, e.X, e.Y, SP2, DP, LD2, 0);
        } else {
            const TGeoPoint e = SignPGZ(m1, w / 2, dir);
            RenderSpecialLine(m1.X, m1.Y, e.X, e.Y, SP2, DP, LD2, SubLineD - w / 2);
        }
    }
}

void TSymbols::CreateDashInPolygon(Extended Step, const TVpLayers* SP, TVpLayers* DP, Extended D, Extended LD)
{
    TTrailGuard guard(Module,
                      "procedure TSymbols.CreateDashInPolygon(const step:extended; const SP,DP:TVpLayers; "
                      "const D,LD:extended);",
                      TrailArg("Step", Step), TrailArg("D", D), TrailArg("LD", LD));
    if (!HatchStepUsable(Step, ChainLength(Outline.ChainI)))
        return;
    TS1Points points;
    TraceChain(Outline.ChainI, Step, points);
    for (const auto& p : points) {
        const TGeoPoint e = SignPGZ(p->AtPoint, LD, p->DirAngle + 90);
        RenderSpecialLine(p->AtPoint.X, p->AtPoint.Y, e.X, e.Y, SP, DP, D, 0);
    }
}

Extended TSymbols::HatchReach() const
{
    return 2 * std::max(Outline.MaxX - Outline.MinX, Outline.MaxY - Outline.MinY);
}

void TSymbols::CreateLineIntersectInPolygon(Extended Step, const TVpLayers* SP, TVpLayers* DP, Extended D,
                                            Extended LD)
{
    TTrailGuard guard(Module,
                      "procedure TSymbols.CreateLineIntersectInPolygon(const step:extended; "
                      "const SP,DP:TVpLayers; const D,LD:extended);",
                      TrailArg("Step", Step), TrailArg("D", D), TrailArg("LD", LD));
    if (!HatchStepUsable(Step, ChainLength(Outline.ChainI)))
        return;
    const Extended R = HatchReach();
    TS1Points points;
    TraceChain(Outline.ChainI, Step, points);
    for (const auto& p : points) {
        const TGeoPoint& at = p->AtPoint;
        // The point lies on the contour only up to rounding: looking from a millimetre
        // inside keeps its own side from being taken for the crossing.
        const TGeoPoint from = SignPGZ(at, MinPatternLength, p->DirAngle + 90);
        const TGeoPoint far = SignPGZ(at, R, p->DirAngle + 90);
        Extended xi = 0, yi = 0;
        if (!MinIntersectPolygon(Outline.OuterPoints, from.X, from.Y, far.X, far.Y, xi, yi))
            continue;
        const TGeoPoint s = SignPGZ(at, LD, p->DirAngle + 270);
        const TGeoPoint e = SignPGZ(GeoPoint(xi, yi), LD, p->DirAngle + 90);
        RenderSpecialLine(s.X, s.Y, e.X, e.Y, SP, DP, D, 0);
    }
}

void TSymbols::CreateParallelLineInPolygon(Extended Step, const TVpLayers* SP, TVpLayers* DP, Extended D)
{
    TTrailGuard guard(Module,
                      "procedure TSymbols.CreateParallelLineInPolygon(const step:extended; "
                      "const SP,DP:TVpLayers; const D:extended);",
                      TrailArg("Step", Step), TrailArg("D", D));
    if (Outline.ChainI.GetCount() < 2)
        return;
    const Extended R = HatchReach();
    if (!HatchStepUsable(Step, R))
        return;
    const TGeoPoint A = *Outline.ChainI.At(0);
    const TGeoPoint B = *Outline.ChainI.At(Outline.ChainI.GetCount() - 1);
    Extended d = 0;
    TGeoAngle a = 0;
    OGZ(A.X, A.Y, B.X, B.Y, d, a);
    TGeoPoint C = Middle(A, B);
    const Extended count = std::nearbyint(R / Step);
    for (Extended k = 0; k < count; ++k) {
        C = SignPGZ(C, Step, a + 90);
        const TGeoPoint p1 = SignPGZ(C, R, a + 180);
        const TGeoPoint p2 = SignPGZ(C, R, a);
        Extended x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        if (!MinMaxIntersectPolygon(Outline.OuterPoints, p1.X, p1.Y, p2.X, p2.Y, x1, y1, x2, y2))
            break;
        RenderSpecialLine(x1, y1, x2, y2, SP, DP, D, 0);
    }
}

void TSymbols::CreateRotateLineInPolygon(Extended Step, const TVpLayers* SP, TVpLayers* DP, Extended D)
{
    TTrailGuard guard(Module,
                      "procedure TSymbols.CreateRotateLineInPolygon(const step:extended; "
                      "const SP,DP:TVpLayers; const D:extended);",
                      TrailArg("Step", Step), TrailArg("D", D));
    const TGeoPoints& contour = Outline.OuterPoints;
    const int n = contour.GetCount();
    if (Outline.ChainI.GetCount() < 2 || n == 0)
        return;
    const TGeoPoint A = *Outline.ChainI.At(0);
    const TGeoPoint B = *Outline.ChainI.At(Outline.ChainI.GetCount() - 1);
    auto same = [](const TGeoPoint& p, const TGeoPoint& q) { return p.X == q.X && p.Y == q.Y; };
    int from = -1;
    for (int i = 0; i < n && from < 0; ++i)
        if (same(*contour.At(i), B))
            from = i;
    if (from < 0)
        return;
    // The rest of the contour, from B round to the node before A.
    TGeoPoints rest;
    bool reachedA = false;
    for (int k = 0; k < n; ++k) {
        const TGeoPoint& p = *contour.At((from + k) % n);
        if (k > 0 && same(p, A)) {
            reachedA = true;
            break;
        }
        rest.AddPoint(p.X, p.Y);
    }
    if (!reachedA || !HatchStepUsable(Step, ChainLength(rest)))
        return;
    TS1Points points;
    TraceChain(rest, Step, points);
    for (const auto& p : points)
        RenderSpecialLine(A.X, A.Y, p->AtPoint.X, p->AtPoint.Y, SP, DP, D, 0);
}
