// The captions of a line sign: blocks repeated along the line or set at segment middles,
// the length and direction labels of each segment, and the in-line text joined from the
// line's own sign and the signs of its over-lines.
#include "semantics/signs/SymbolsLineCaptions.h"

#include "semantics/signs/SymbolsForward.h"

#include "foundation/DelphiFormat.h"
#include "foundation/GeoDataObjectsPolygons.h"
#include "foundation/GeoDataObjectsRefs.h"
#include "foundation/GeoServ.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString LineSize = QStringLiteral("^LINESIZE");
const QString LineSizeAngle = QStringLiteral("^LINESIZE&DIRANGLE");

QString Composed(const RSemText& R, const QString& value)
{
    return R.TextStart + R.Separator1 + value + R.Separator2 + R.TextEnd;
}

QString LengthText(Extended d) { return FloatToStrF(d, ffFixed, 8, 3); }

QString AngleLengthText(Extended d, TGeoAngle a)
{
    int g = 0, mi = 0;
    Extended s = 0;
    pGG_GMSRound(g, mi, s, a, 0);
    return QStringLiteral("a=%1°%2'%3\", d=%4").arg(g).arg(mi).arg(FloatToStrF(s, ffFixed, 2, 0), LengthText(d));
}

}  // namespace

Extended TLineCaptions::Width(const RSemText& rule, const QString& text) const
{
    TUserStyle style;
    S.SelectTextStyle(rule, style);
    TLogFont lf;
    S.DefLogFont(lf);
    S.UserStyleToLF(style, lf);
    return S.Measurer().TextExtent(text, lf).Width * S.MetresPerDot;
}

TLineCaptions::TLineCaptions(TSymbols& symbols, const RVpGLine& sign, RGLine& line)
    : S(symbols), Sign(sign), Line(line)
{
    const Extended m = S.SignMetresPerMM();
    S.InLineText.clear();
    S.InLineFixed = false;
    S.InLineWidth = 0;
    S.InLineSize = 0;
    S.TextRepeat = sign.TextRepeat;
    Next = m * sign.CaptionStart;

    bool extent = false;   // a caption with an extent seen
    // The in-line rules of a sign whose properties were just found, appended to the
    // in-line text; joiner between the parts of different signs.
    const auto walk = [&](const RVpGLine& from, const QString& joiner, bool block) {
        int maxOrder = -1;
        S.OrderingSemProps(from.Captions, maxOrder);
        for (int i = 0; i <= maxOrder && i < from.Captions.GetCount(); ++i) {
            const RSemText& R = *from.Captions.At(i);
            for (int j = 0; j < S.FindedSemProps.GetCount(); ++j) {
                const RFindedSemProp& prop = *S.FindedSemProps.At(j);
                if (prop.RuleIndex != i)
                    continue;
                const QString text = Composed(R, prop.Value);
                if (R.Mode == 2 || R.Mode == 3) {
                    if (R.Mode == 3)
                        S.InLineFixed = true;
                    if (S.InLineText.isEmpty())
                        S.SelectTextStyle(R, S.InLineStyle);
                    else
                        S.InLineText += joiner;
                    S.InLineText += text;
                    continue;
                }
                if (!block)
                    continue;
                TBlockCaption c;
                c.Rule = &R;
                c.Text = text;
                if (!text.startsWith(u'^')) {
                    c.Width = Width(R, text);
                    const bool firstCaption = Block.empty();
                    if (firstCaption || R.Mode == 1)
                        c.Local = GeoPoint(m * R.Dx, m * R.Dy);
                    else
                        c.Local = GeoPoint(Block.back().Local.X, Block.back().Local.Y + Block.back().Width);
                    if (!extent) {
                        extent = true;
                        YMin = c.Local.Y;
                        YMax = c.Local.Y + c.Width;
                    } else {
                        YMin = std::min(YMin, c.Local.Y);
                        YMax = std::max(YMax, c.Local.Y + c.Width);
                    }
                }
                Block.push_back(c);
            }
        }
    };
    if (sign.Captions.GetCount() > 0 && S.FindSemProps(line.Semantics))
        walk(sign, QString(), true);
    bool moved = false;
    for (const QString& over : line.OverLines) {
        if (!S.FindSymbol(over, lmLine))
            continue;
        moved = true;
        const RVpGLine& other = *S.VpGLines.Item;
        if (other.Captions.GetCount() > 0 && S.FindSemProps(over))
            walk(other, QStringLiteral("."), false);
    }
    if (moved)
        S.FindSymbol(line.SignName, lmLine);
    if (!S.InLineText.isEmpty()) {
        TLogFont lf;
        S.DefLogFont(lf);
        S.UserStyleToLF(S.InLineStyle, lf);
        const TTextExtent e = S.Measurer().TextExtent(S.InLineText, lf);
        S.InLineWidth = e.Width * S.MetresPerDot;
        S.InLineSize = e.Height * S.MetresPerDot;
        S.InLinePos = sign.TextPoint;
    }
}

void TLineCaptions::Segment(const TGeoPoint& A, const TGeoPoint& B, Extended d, TGeoAngle a, Extended S0,
                            Extended S1, bool invert)
{
    if (Block.empty())
        return;
    const Extended tolerance = S.UprightTolerance;
    bool upright = (a >= 0 && a <= 180 - tolerance) || (a >= 360 - tolerance && a <= 360);
    if (Sign.SegmentMiddle) {
        const TGeoPoint R = GeoPoint((A.X + B.X) / 2, (A.Y + B.Y) / 2);
        for (const TBlockCaption& c : Block)
            Emit(c, R, true, d, a, true);
        ++BlockNumber;
        return;
    }
    if (invert)
        upright = !upright;
    const Extended interval = S.SignMetresPerMM() * Sign.CaptionInterval;
    while (S0 <= Next && Next <= S1) {
        TGeoPoint R;
        SignPGZ(A.X, A.Y, Next - S0, a, R.X, R.Y);
        for (const TBlockCaption& c : Block)
            Emit(c, R, false, d, a, upright);
        // A caption interval of 0 or less places one block only.
        Next = interval > 0 ? Next + interval : std::numeric_limits<Extended>::infinity();
        ++BlockNumber;
    }
}

void TLineCaptions::Emit(const TBlockCaption& c, const TGeoPoint& R, bool middle, Extended d, TGeoAngle a,
                         bool upright)
{
    if (!Line.AutoTexts.AddItem())
        return;
    RAutoText& t = *Line.AutoTexts.Item;
    const RSemText& rule = *c.Rule;
    if (rule.OwnStyle)
        t.OwnStyle = CopyStyle(rule.OwnStyle);
    else
        t.StyleName = rule.StyleName;
    t.AlongLine = 1;
    t.CaptionNumber = BlockNumber;

    TGeoPoint P = c.Local;
    t.Text = c.Text;
    if (middle) {
        if (c.Text.isEmpty()) {
            t.Text = QStringLiteral(" ");
        } else if (c.Text == LineSize || c.Text == LineSizeAngle) {
            t.Text = c.Text == LineSize ? LengthText(d) : AngleLengthText(d, a);
            P = GeoPoint(0, -Width(rule, t.Text) / 2);
        } else if (c.Text.startsWith(u'^')) {
            t.Text.clear();
            P = GeoPoint(0, 0);
        } else {
            P.Y -= (YMax - YMin) / 2;
        }
    }
    RotateCoord(0, 0, a - 90, P.X, P.Y);
    P.X += R.X;
    P.Y += R.Y;

    const RUserText* user = Line.UserTexts.At(Placement);
    const Extended turn = (user && user->Angle != 0) ? user->Angle / 10.0L : 0;
    TGeoAngle angle = 0;
    if (middle) {
        angle = fNormalAngle(a + turn);
    } else if (upright) {
        angle = fNormalAngle(a + turn);
    } else {
        angle = fNormalAngle(a + 180 + turn);
        RotateCoord(R.X, R.Y, 180, P.X, P.Y);
    }
    TUserStyle style;
    S.SelectTextStyle3(t, style);
    TLogFont lf;
    S.DefLogFont(lf);
    S.UserStyleToLF(style, lf);
    S.GeoAngleToLF(angle, lf);
    if (user) {
        P.X += user->Dx;
        P.Y += user->Dy;
    }
    S.GetTextRect2(S.Measurer(), t.Text, lf, middle ? 1 : 0, P, t.Frame);
    t.FrameValid = 1;
    t.Position = P;
    t.Angle = lf.Orientation;
    if (user) {
        t.Hidden = user->Show == 2 ? 1 : 0;
        ++Placement;
    }
}

void TLineCaptions::CutStrokes(TVpLayers& picture)
{
    if (S.InLineText.isEmpty())
        return;
    S.CaptionFrames.DeleteAll();
    for (const auto& e : picture)
        if (e->Texts.Item)
            S.CaptionFrames.AddItem(&e->Texts.Item->Frame);
    // A stroke whose box keeps clear of a frame's widened box neither starts nor ends in
    // the frame nor crosses it: the exact tests are left for the strokes near a text.
    struct TFrameBox {
        Extended MinX, MinY, MaxX, MaxY;
    };
    std::vector<TFrameBox> boxes;
    boxes.reserve(std::size_t(S.CaptionFrames.GetCount()));
    for (const auto& frame : S.CaptionFrames) {
        TFrameBox b{(*frame)[0].X, (*frame)[0].Y, (*frame)[0].X, (*frame)[0].Y};
        Extended perimeter = 0;
        for (std::size_t i = 0; i < frame->size(); ++i) {
            const TGeoPoint& p = (*frame)[i];
            const TGeoPoint& q = (*frame)[(i + 1) % frame->size()];
            b.MinX = std::min(b.MinX, p.X);
            b.MaxX = std::max(b.MaxX, p.X);
            b.MinY = std::min(b.MinY, p.Y);
            b.MaxY = std::max(b.MaxY, p.Y);
            perimeter += std::fabs(q.X - p.X) + std::fabs(q.Y - p.Y);
        }
        // The contour test counts a point as inside when its distances to a side's ends
        // exceed the side's length by less than a millimetre: an ellipse about the side
        // no wider than sqrt(t * (length + t)), held twice over, rounding beside it.
        constexpr Extended t = 0.001L;
        const Extended widen = 2 * std::sqrt(t * (perimeter + t)) + t +
                               (std::fabs(b.MaxX) + std::fabs(b.MaxY) + 1) * 1e-12L;
        b.MinX -= widen;
        b.MinY -= widen;
        b.MaxX += widen;
        b.MaxY += widen;
        boxes.push_back(b);
    }
    std::vector<RVpLine> pieces;
    for (const auto& e : picture) {
        for (int f = 0; f < S.CaptionFrames.GetCount() && e->Lines.Item; ++f) {
            const TGeoRect& frame = *S.CaptionFrames.At(f);
            RVpLine& l = *e->Lines.Item;
            const TFrameBox& b = boxes[std::size_t(f)];
            if ((l.P1.X < b.MinX && l.P2.X < b.MinX) || (l.P1.X > b.MaxX && l.P2.X > b.MaxX) ||
                (l.P1.Y < b.MinY && l.P2.Y < b.MinY) || (l.P1.Y > b.MaxY && l.P2.Y > b.MaxY))
                continue;
            const bool in1 = PointInGeoRect(frame, l.P1.X, l.P1.Y);
            const bool in2 = PointInGeoRect(frame, l.P2.X, l.P2.Y);
            if (in1 && in2) {
                e->Lines.DeleteItem();
                continue;
            }
            TGeoPoint nearest, farthest;
            const bool crosses = MinMaxIntersectPolygon(frame, l.P1.X, l.P1.Y, l.P2.X, l.P2.Y, nearest.X, nearest.Y,
                                                        farthest.X, farthest.Y);
            if (!in1) {
                if (!crosses)
                    continue;
                if (nearest.X == farthest.X && nearest.Y == farthest.Y) {
                    l.P2 = nearest;
                } else {
                    RVpLine& rest = pieces.emplace_back();
                    rest.PenColor = l.PenColor;
                    rest.PenMode = l.PenMode;
                    rest.PenStyle = l.PenStyle;
                    rest.PenWidth = l.PenWidth;
                    rest.P1 = farthest;
                    rest.P2 = l.P2;
                    l.P2 = nearest;
                }
            } else if (crosses) {
                l.P1 = farthest;
            }
        }
    }
    for (const RVpLine& piece : pieces) {
        picture.AddItem();
        picture.Item->Lines.AddItem();
        *picture.Item->Lines.Item = piece;
    }
    // The frames belong to the picture, which outlives no call of its owner.
    S.CaptionFrames.DeleteAll();
}
