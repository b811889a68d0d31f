// A line object drawn with its sign: the sign resolved, the curve runs smoothed beside
// the object (the densified points kept in its Track), the sign's pattern laid along
// every segment with its phase carried from one segment into the next, the continuous
// strokes mitred at the nodes, and the start, end and node pictures drawn over it.
// The special line lays one picture as a dashed pattern along one straight stretch.
#include "semantics/signs/Symbols.h"
#include "semantics/signs/SymbolsForward.h"
#include "semantics/signs/SymbolsLineCaptions.h"

#include "foundation/Bezier.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoDataObjects.h"
#include "foundation/GeoServ.h"

#include <cmath>
#include <deque>
#include <vector>

namespace {

const char* const Module = "Symbols";

// A length cut to whole thousandths of a metre, toward zero.
Extended CutToThousandths(Extended x) { return std::trunc(x * 1000) / 1000; }

bool Empty(const TVpLayers* pic) { return !pic || pic->GetCount() == 0; }

// Lays the pattern of one or two alternating pictures along one straight stretch, from
// the library's phase, alternation and picture length.
class TPatternLayer {
public:
    TPatternLayer(TSymbols& symbols, TVpLayers& dest, const TVpLayers* first, const TVpLayers* second)
        : S(symbols), Dest(dest), First(first), Second(Empty(second) ? nullptr : second)
    {
    }

    // From A to B, d long in direction a. resetAfterTail: the picture after the tail
    // starts afresh (the special line's dashes).
    void Lay(const TGeoPoint& A, const TGeoPoint& B, Extended d, TGeoAngle a, bool resetAfterTail)
    {
        const Extended L = S.PicLength;
        if (Spent())
            return;
        if (d < L && S.Phase == 0) {
            Min(A, B);
            return;
        }
        TGeoPoint P = A;
        if (S.Phase != 0) {
            if (d < L - S.Phase) {
                Min(A, B);
                return;
            }
            P = SignPGZ(A, L - S.Phase, a);
            Min(A, P);
            Dist(P, B, d);
            if (d < L) {
                // Nothing is left when the picture ended on B itself: an empty window
                // would lay the next picture's first primitives here and again on the
                // next segment.
                if (d > 0 && !Spent())
                    Min(P, B);
                return;
            }
        }
        const TGeoPoint start = P;
        long long k = 0;
        while (d >= 2 * L) {
            if (Spent())
                return;
            ++S.PatternPictures;
            S.RenderPic(Due(), &Dest, fNormalAngle(a - 90), P.X, P.Y);
            if (Second)
                S.Alternation = !S.Alternation;
            d -= L;
            ++k;
            // Measured from the run's start, so no error piles up over many pictures.
            P = SignPGZ(start, k * L, a);
        }
        if (Spent())
            return;
        const TGeoPoint Q = SignPGZ(P, L, a);
        const TVpLayers* laid = Due();
        Min(P, Q);
        if (Second)
            S.Alternation = laid != First;
        d -= L;
        if (resetAfterTail)
            S.Phase = 0;
        if (d > 0 && !Spent())
            Min(Q, B);
    }

private:
    const TVpLayers* Due() const { return (!Second || S.Alternation) ? First : Second; }
    bool Spent() const { return S.PatternPictures >= TSymbols::MaxPatternPictures; }
    void Min(const TGeoPoint& a, const TGeoPoint& b)
    {
        ++S.PatternPictures;
        S.RenderPicMin(Due(), &Dest, a.X, a.Y, b.X, b.Y);
    }

    TSymbols& S;
    TVpLayers& Dest;
    const TVpLayers* First;
    const TVpLayers* Second;   // null when the sign has one picture
};

// A phase taken from a node, kept inside one picture.
Extended FoldedPhase(Extended phase, Extended L) { return phase < L ? phase : std::fmod(phase, L); }

// A node of the line as drawn: one of the object's nodes or a point the smoothing
// added after the object's node Number.
struct TWalkNode {
    const RGLineNodeData* Data = nullptr;
    int Number = 0;
};

}  // namespace

void TSymbols::SetSegment(Extended d, TGeoAngle a)
{
    SegLength = d;
    SegAngle = a;
    SignSinCos(a, SegSin, SegCos);
}

void TSymbols::LayPattern(TVpLayers& dest, const TVpLayers* first, const TVpLayers* second,
                          const TGeoPoint& A, const TGeoPoint& B, Extended d, TGeoAngle a,
                          bool resetAfterTail)
{
    Phase = FoldedPhase(Phase, PicLength);
    TPatternLayer(*this, dest, first, second).Lay(A, B, d, a, resetAfterTail);
}

void TSymbols::AddPlainStroke(TVpLayers& dest, const TVpLayers& pic, const TGeoPoint& p1,
                              const TGeoPoint& p2)
{
    dest.AddItem();
    dest.Item->Lines.AddItem();
    RVpLine& l = *dest.Item->Lines.Item;
    l.PenColor = pic.OwnLineColor;
    l.PenWidth = pic.OwnLineWidth;
    l.PenMode = 4;
    l.PenStyle = 0;
    l.P1 = p1;
    l.P2 = p2;
}

bool TSymbols::RenderLine(RGLine* Line)
{
    ++RenderedObjects;
    const TExtentAfterRender<RGLine> extent(Line, *this);
    TTrailGuard guard(Module, "function TSymbols.RenderLine(const Line:PGLine):boolean;");
    if (!Line || Line->Nodes.GetCount() == 0)
        return false;
    RGLine& line = *Line;
    const RVpGLine* found = ResolveSign(line, lmLine, VpGLines);
    if (!found)
        return false;
    const RVpGLine& sign = *found;
    line.Picture.DeleteAll();
    line.AutoTexts.DeleteAll();

    // Curve runs, smoothed beside the object: inserting each point into the node list
    // would cost a move of the list per point on a long curve.
    const int count = line.Nodes.GetCount();
    for (int i = 0; i < count; ++i)
        line.Nodes.At(i)->NodeNumber = i;
    std::deque<RGLineNodeData> made;
    std::vector<TWalkNode> nodes;
    nodes.reserve(count);
    bool anyRun = false;
    for (int i = 0; i < count;) {
        int j = i;
        if (line.Nodes.At(i)->Curve)
            while (j + 1 < count && line.Nodes.At(j + 1)->Curve)
                ++j;
        if (j == i) {
            nodes.push_back({line.Nodes.At(i), i});
            ++i;
            continue;
        }
        anyRun = true;
        CurveSegment run;
        for (int r = i; r <= j; ++r)
            run.Points.push_back({line.Nodes.At(r)->Position.X, line.Nodes.At(r)->Position.Y, 0});
        SmoothPolyline(run.Points, run.Smoothed);
        int k = -1;   // the run's node last passed
        for (const RCurvePoint& c : run.Smoothed) {
            if (c.Flag == 0) {
                ++k;
                nodes.push_back({line.Nodes.At(i + k), i + k});
                if (i + k == j)
                    break;
                continue;
            }
            if (k < 0)
                continue;
            RGLineNodeData& g = made.emplace_back();
            g.Position = GeoPoint(c.X, c.Y);
            g.Generated = 1;
            nodes.push_back({&g, i + k});
        }
        for (int r = i + k + 1; r <= j; ++r)
            nodes.push_back({line.Nodes.At(r), r});
        i = j + 1;
    }
    line.Track.DeleteAll();
    if (anyRun)
        for (const TWalkNode& w : nodes) {
            line.Track.AddItem();
            line.Track.Item->Point = w.Data->Position;
            line.Track.Item->NodeIndex = w.Number;
        }

    // The point objects of the nodes, before the line's own state is set: their signs
    // go into their own pictures, and the line's element counter stays as it was.
    for (int i = 0; i < count; ++i)
        for (const auto& point : line.Nodes.At(i)->NodePoints) {
            const std::int32_t counter = ElementCounter;
            RenderPoint(point.get());
            ElementCounter = counter;
        }
    ObjKind = lmLine;
    InLineFixed = false;
    PatternPictures = 0;
    if (nodes.size() < 2)
        return false;
    TLineCaptions captions(*this, sign, line);

    // Only a segment of no length is left out; turns are taken between the nearest
    // drawn segments, so a doubled node or a spike keeps every visible piece.
    std::vector<int> drawn;
    for (int s = 0; s + 1 < int(nodes.size()); ++s) {
        const TGeoPoint& a = nodes[s].Data->Position;
        const TGeoPoint& b = nodes[s + 1].Data->Position;
        if (a.X != b.X || a.Y != b.Y)
            drawn.push_back(s);
    }
    std::vector<Extended> lengths(drawn.size());
    std::vector<TGeoAngle> angles(drawn.size());
    for (size_t t = 0; t < drawn.size(); ++t) {
        const TGeoPoint& a = nodes[drawn[t]].Data->Position;
        const TGeoPoint& b = nodes[drawn[t] + 1].Data->Position;
        OGZ(a.X, a.Y, b.X, b.Y, lengths[t], angles[t]);
    }

    const Extended m = SignMetresPerMM();
    const Extended L = m * sign.PieceLength;
    TVpLayers ends;   // the start, end and node pictures, drawn over the pattern
    TPatternLayer pattern(*this, line.Picture, &sign.Piece1, &sign.Piece2);
    Extended running = 0;
    const size_t last = drawn.empty() ? 0 : drawn.size() - 1;
    for (size_t t = 0; t < drawn.size(); ++t) {
        const RGLineNodeData& A = *nodes[drawn[t]].Data;
        const RGLineNodeData& B = *nodes[drawn[t] + 1].Data;
        const Extended d = lengths[t];
        const TGeoAngle a = angles[t];
        SetSegment(d, a);
        TurnStart = t == 0 ? 180 : fNormalAngle(a - angles[t - 1] + 180);
        TurnEnd = t == last ? 180 : fNormalAngle(angles[t + 1] - a + 180);
        const TGeoAngle turned = fNormalAngle(a - 90);
        const auto place = [&](const TVpLayers& pic, const RGLineNodeData& at) {
            RenderPic(&pic, &ends, turned, at.Position.X, at.Position.Y);
        };
        if (t == 0 && t != last) {
            place(sign.SegmentEnd, B);
            place(sign.LineStart, A);
        } else {
            place(t == 0 ? sign.LineStart : sign.SegmentStart, A);
            place(t == last ? sign.LineEnd : sign.SegmentEnd, B);
        }
        InvertedSegment = A.InvertText != 0;
        captions.Segment(A.Position, B.Position, d, a, running, running + d, InvertedSegment);
        running += d;

        if (sign.Piece1.HasOwnLine) {
            AddPlainStroke(line.Picture, sign.Piece1, A.Position, B.Position);
            continue;
        }
        if (!(L >= MinPatternLength))
            continue;
        PicLength = L;
        if (t == 0) {
            Phase = A.SignShift >= 0 ? FoldedPhase(A.SignShift * m, L) : 0;
            ElementCounter = A.TextCounter >= 0 ? A.TextCounter : 0;
            Alternation = A.SegmentType == 0 || A.SegmentType == 1;
        } else {
            if (A.SignShift >= 0)
                Phase = FoldedPhase(A.SignShift * m, L);
            if (A.TextCounter >= 0)
                ElementCounter = A.TextCounter;
            if (A.SegmentType == 1)
                Alternation = true;
            else if (A.SegmentType != 0)
                Alternation = false;
        }
        pattern.Lay(A.Position, B.Position, d, a, false);
        RenderPicMain(&sign.Piece1, &line.Picture, A.Position.X, A.Position.Y, B.Position.X, B.Position.Y);
    }
    while (ends.GoFirstItem())
        line.Picture.AddItem(ends.Extract());
    captions.CutStrokes(line.Picture);
    return true;
}

bool TSymbols::RenderSpecialLine(Extended X1, Extended Y1, Extended X2, Extended Y2, const TVpLayers* SP,
                                 TVpLayers* DP, Extended DashD, Extended StartPhase)
{
    TTrailGuard guard(Module,
                      "function TSymbols.RenderSpecialLine(const X1,Y1,X2,Y2:extended; const SP,DP:PVpLayers; "
                      "const DashD,StartPhase:extended):boolean;",
                      TrailArg("X1", X1), TrailArg("Y1", Y1), TrailArg("X2", X2), TrailArg("Y2", Y2),
                      TrailArg("DashD", DashD), TrailArg("StartPhase", StartPhase));
    if (Empty(SP) || !DP)
        return false;
    Extended d = 0;
    TGeoAngle a = 0;
    OGZ(X1, Y1, X2, Y2, d, a);
    d = CutToThousandths(d);
    SetSegment(d, a);
    if (d == 0 || !(DashD >= MinPatternLength))
        return false;
    if (SP->HasOwnLine) {
        AddPlainStroke(*DP, *SP, GeoPoint(X1, Y1), GeoPoint(X2, Y2));
        return false;
    }
    PicLength = DashD;
    const Extended phase = CutToThousandths(StartPhase);
    Phase = phase > 0 ? FoldedPhase(phase, DashD) : 0;
    PatternPictures = 0;
    LayPattern(*DP, SP, nullptr, GeoPoint(X1, Y1), GeoPoint(X2, Y2), d, a, true);
    return false;
}
