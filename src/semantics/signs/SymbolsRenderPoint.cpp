// A point object drawn with its sign: the sign resolved, the captions made from the
// sign's caption rules and the object's semantics (with the user's placements), the
// leader to the first caption, and the sign's picture placed last. The composition of
// one caption's text is shared with the line and area captions.
#include "semantics/signs/Symbols.h"

#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoDataObjects.h"
#include "foundation/GeoServ.h"

#include <cmath>

namespace {

const char* const Module = "Symbols";

// A leader's pen: black, a tenth of a millimetre.
constexpr Extended LeaderWidth = 0.1L;
// A caption within this many degrees of horizontal gets the two-stroke leader.
constexpr Extended LeaderLevelTolerance = 10;

}  // namespace

QString TSymbols::CaptionText(const RSemText& R, const QString& value, const TGeoPoint& at)
{
    const QString tail = R.Separator1 + value + R.Separator2 + R.TextEnd;
    if (R.TextStart == QLatin1String("^X2"))
        return tail + FloatToStrF(at.X, ffFixed, 12, 2);
    if (R.TextStart == QLatin1String("^Y2"))
        return tail + FloatToStrF(at.Y, ffFixed, 12, 2);
    if (R.TextStart.startsWith(u'^'))
        return QString();   // the specials of lines mean nothing here
    return R.TextStart + tail;
}

bool TSymbols::RenderPoint(RGPoint* Point)
{
    ++RenderedObjects;
    const TExtentAfterRender<RGPoint> extent(Point, *this);
    TTrailGuard guard(Module, "function TSymbols.RenderPoint(const Point:PGPoint):boolean;");
    if (!Point)
        return false;
    RGPoint& point = *Point;
    const RVpGPoint* found = ResolveSign(point, lmPoint, VpGPoints);
    if (!found)
        return false;
    const RVpGPoint& sign = *found;
    point.Picture.DeleteAll();
    point.AutoTexts.DeleteAll();
    ObjKind = lmPoint;
    const Extended m = SignMetresPerMM();

    const int ruleCount = sign.Captions.GetCount();
    if (ruleCount > 0) {
        FindSemProps(point.Semantics);
        for (int r = 0; r < ruleCount; ++r) {
            const RSemText& rule = *sign.Captions.At(r);
            if (rule.PropKey == u'В') {
                FindedSemProps.AddItem();
                FindedSemProps.Item->Key = rule.PropKey;
                FindedSemProps.Item->Code = rule.PropCode;
                break;   // only the first such rule adds one
            }
        }
    }
    int maxOrder = -1;   // no caption at all
    if (ruleCount > 0 && FindedSemProps.GetCount() > 0)
        OrderingSemProps(sign.Captions, maxOrder);

    int placement = 0;   // the user placement due
    int n = 0;           // captions made
    TGeoPoint previous;  // the previous caption's anchor, as computed before measuring
    for (int i = 0; i <= maxOrder && i < ruleCount; ++i) {
        const RSemText& R = *sign.Captions.At(i);
        for (int j = 0; j < FindedSemProps.GetCount(); ++j) {
            const RFindedSemProp& prop = *FindedSemProps.At(j);
            if (prop.RuleIndex != i)
                continue;
            ++n;
            const RUserText* user = point.UserTexts.At(placement);
            const Extended pdx = user ? user->Dx : 0;
            const Extended pdy = user ? user->Dy : 0;
            const TGeoAngle A = user ? WinToGeoAngle(user->Angle) : 90;

            point.AutoTexts.AddItem();
            RAutoText& caption = *point.AutoTexts.Item;
            caption.CaptionNumber = n - 1;
            // A caption its user placement hides is measured all the same, but neither
            // drawn nor exported.
            caption.Hidden = (user && user->Show == 2) ? 1 : 0;
            caption.Text = CaptionText(R, prop.Value, point.Position);
            if (R.OwnStyle)
                caption.OwnStyle = CopyStyle(R.OwnStyle);
            else
                caption.StyleName = R.StyleName;
            const Extended dx = (pdx + R.Dx) * m;
            const Extended dy = (pdy + R.Dy) * m;
            TGeoPoint P;
            if (n == 1) {
                P = GeoPoint(point.Position.X + dx, point.Position.Y + dy);
            } else {
                const Extended a = GradRad(A + 90);
                if (R.Mode == 0) {
                    P = GeoPoint(previous.X + m * R.Step * std::cos(a), previous.Y + m * R.Step * std::sin(a));
                } else {
                    // Each shift is taken along only one of the axes of the turned text; the
                    // sign files are laid out for exactly this, so it stays as it is.
                    P = GeoPoint(point.Position.X + dx * std::cos(a), point.Position.Y + dy * std::sin(a));
                }
            }
            previous = P;

            TUserStyle style;
            SelectTextStyle(R, style);
            TLogFont lf;
            DefLogFont(lf);
            UserStyleToLF(style, lf);
            GeoAngleToLF(A, lf);
            GetTextRect2(Measurer(), caption.Text, lf, 0, P, caption.Frame);
            caption.FrameValid = 1;
            caption.Position = P;
            caption.Angle = lf.Orientation;

            const bool leader = point.LeaderLine == 1 || (point.LeaderLine == 0 && sign.LeaderLineDefault != 0);
            if (n == 1 && leader) {
                const TGeoRect& c = caption.Frame;
                const Extended s = m * R.Step;
                point.Picture.AddItem();
                point.Picture.Item->Polylines.AddItem();
                RVpPolyline& line = *point.Picture.Item->Polylines.Item;
                line.PenColor = 0;
                line.PenWidth = LeaderWidth;
                line.Points.AddPoint(point.Position.X, point.Position.Y);
                if (std::fabs(std::fabs(A) - 90) <= LeaderLevelTolerance) {
                    const Extended h = (c[0].X - s + c[3].X) / 2;
                    const bool nearStart = point.Position.Y <= (c[0].Y + c[1].Y) / 2;
                    line.Points.AddPoint(h, nearStart ? c[0].Y : c[1].Y);
                    line.Points.AddPoint(h, nearStart ? c[1].Y : c[0].Y);
                } else {
                    line.Points.AddPoint((c[0].X - s + c[3].X) / 2, c[0].Y);
                    line.Points.AddPoint((c[1].X - s + c[2].X) / 2, c[1].Y);
                }
            }
            if (point.AllUserTextsFromFirst == 0 && user)
                ++placement;
        }
    }

    RenderPic(&sign.Picture, &point.Picture, point.SignAngle, point.Position.X, point.Position.Y);
    return true;
}
