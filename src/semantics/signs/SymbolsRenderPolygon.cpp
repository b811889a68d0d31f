// The drawn form of an area object: its fill, its outline, the objects it holds, and
// what the area sign asks for inside it (captions in the centre or on a grid, lines from
// the corners and from the special side, repeated fill pictures, the centre picture and
// the slope hatching).
#include "semantics/signs/Symbols.h"
#include "semantics/signs/SymbolsForward.h"

#include "foundation/ErrorTrail.h"
#include "foundation/GeoDataObjects.h"
#include "foundation/GeoDataObjectsPolygons.h"
#include "foundation/GeoServ.h"
#include "semantics/codec/SemServices.h"
#include "semantics/signs/SymbolsGridContour.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const char* const Module = "Symbols";

TGeoPoint Middle(const TGeoPoint& a, const TGeoPoint& b)
{
    return GeoPoint((a.X + b.X) / 2, (a.Y + b.Y) / 2);
}

bool Empty(const TVpLayers& pic) { return pic.GetCount() == 0; }

// The fill of an area: one polygon through the outer contour with every inner contour
// of three or more nodes as a further ring, filled, without an outline.
void AddFill(RGPolygon& polygon, std::int32_t color)
{
    polygon.Picture.AddItem();
    polygon.Picture.Item->Polygons.AddItem();
    RVpPolygon& fill = *polygon.Picture.Item->Polygons.Item;
    fill.PenStyle = 5;
    fill.FillColor = color;
    fill.FillStyle = vfColor;
    for (const auto& node : polygon.Nodes)
        fill.Points.AddPoint(node->Position.X, node->Position.Y);
    for (const auto& hole : polygon.Holes) {
        if (hole->Nodes.GetCount() < 3)
            continue;
        fill.Holes.AddItem();
        for (const auto& node : hole->Nodes)
            fill.Holes.Item->Points.AddPoint(node->Position.X, node->Position.Y);
    }
}

// A box about a contour, widened by the tolerance within which the contour tests count
// a point on a side as inside: a point outside the box is outside the contour.
struct TBox {
    Extended MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
    explicit TBox(const TGeoPoints& points)
    {
        bool first = true;
        for (const auto& p : points) {
            if (first) {
                MinX = MaxX = p->X;
                MinY = MaxY = p->Y;
                first = false;
            }
            MinX = std::min(MinX, p->X);
            MaxX = std::max(MaxX, p->X);
            MinY = std::min(MinY, p->Y);
            MaxY = std::max(MaxY, p->Y);
        }
        constexpr Extended tolerance = 0.002L;
        MinX -= tolerance;
        MinY -= tolerance;
        MaxX += tolerance;
        MaxY += tolerance;
    }
    bool Holds(Extended x, Extended y) const { return x >= MinX && x <= MaxX && y >= MinY && y <= MaxY; }
};

}  // namespace

void TSymbols::createSq(Extended x, Extended y, Extended v, Extended h, Extended& x1, Extended& y1,
                        Extended& x2, Extended& y2, Extended& x3, Extended& y3, Extended& x4, Extended& y4)
{
    x1 = x + v;
    y1 = y - h;
    x2 = x + v;
    y2 = y + h;
    x3 = x - v;
    y3 = y + h;
    x4 = x - v;
    y4 = y - h;
}

void TSymbols::CreatePointsInPolygon(int Order, TGeoPoints& Points, Extended Xc, Extended Yc)
{
    TTrailGuard guard(Module,
                      "procedure TSymbols.CreatePointsInPolygon(const Order:integer;  var Points:TGeoPoints);",
                      TrailArg("Order", Order), TrailArg("Xc", Xc), TrailArg("Yc", Yc));
    Points.DeleteAll();
    if (Order == 0) {
        Points.AddPoint(Xc, Yc);
        return;
    }
    const Extended stepX = Area.StepX;
    const Extended stepY = Area.StepY;
    if (Order != 1 && Order != 2)
        return;
    if (!(stepX >= MinPatternLength) || !(stepY >= MinPatternLength) || !std::isfinite(stepX) ||
        !std::isfinite(stepY))
        return;
    const Extended rowStep = Order == 1 ? stepX : stepX / 2;
    Extended rows = std::nearbyint(Area.Height / rowStep);
    const Extended columns = std::nearbyint(Area.Width / stepY) + 2;
    if (Order == 1)
        rows += 2;
    else
        rows += std::fmod(rows, 2) != 0 ? 3 : 2;   // an even count of rows
    // A far-off node or a tiny step must not hang the drawing.
    if (!(rows * columns <= MaxGridCandidates))
        return;

    const TBox outerBox(Outline.OuterPoints);
    std::vector<TBox> holeBoxes;
    for (const auto& hole : Outline.InnerPoints)
        holeBoxes.emplace_back(hole->Points);
    // The candidates' corners lie on two lines a row (X + v and X - v): the contours are
    // tested by rows, each answer PointInPolygon's.
    TGridContour outer(Outline.OuterPoints);
    std::vector<TGridContour> holes;
    for (const auto& hole : Outline.InnerPoints)
        holes.emplace_back(hole->Points);
    const auto row = [&](Extended x) {
        outer.Row(x);
        for (TGridContour& hole : holes)
            hole.Row(x);
    };
    const auto free = [&](Extended x, Extended y) {
        if (!outerBox.Holds(x, y) || !outer.Inside(y))
            return false;
        for (std::size_t i = 0; i < holes.size(); ++i) {
            if (holeBoxes[i].Holds(x, y) && holes[i].Inside(y))
                return false;
        }
        return true;
    };
    const Extended v = Area.FreeX;
    const Extended h = Area.FreeY;
    const int rowCount = int(rows);
    const int columnCount = int(columns);
    std::vector<char> kept(std::size_t(std::max(columnCount, 0)));
    for (int i = 0; i < rowCount; ++i) {
        const Extended X = Xc - rows * rowStep / 2 + i * rowStep;
        // In a chequered grid every second row is moved half a step west.
        const Extended shift = Order == 2 && i % 2 == 1 ? -stepY / 2 : 0;
        const auto corners = [&](int j, Extended& x1, Extended& y1, Extended& x2, Extended& y2, Extended& x3,
                                 Extended& y3, Extended& x4, Extended& y4) {
            const Extended Y = Yc - columns * stepY / 2 + j * stepY + shift;
            createSq(X, Y, v, h, x1, y1, x2, y2, x3, y3, x4, y4);
            return Y;
        };
        Extended x1, y1, x2, y2, x3, y3, x4, y4;
        // The north corners (x1 = x2 = X + v) of every candidate, then the south ones.
        bool rowSet = false;
        for (int j = 0; j < columnCount; ++j) {
            corners(j, x1, y1, x2, y2, x3, y3, x4, y4);
            if (!rowSet) {
                row(x1);
                rowSet = true;
            }
            kept[std::size_t(j)] = free(x1, y1) && free(x2, y2);
        }
        rowSet = false;
        for (int j = 0; j < columnCount; ++j) {
            if (!kept[std::size_t(j)])
                continue;
            corners(j, x1, y1, x2, y2, x3, y3, x4, y4);
            if (!rowSet) {
                row(x3);
                rowSet = true;
            }
            kept[std::size_t(j)] = free(x3, y3) && free(x4, y4);
        }
        for (int j = 0; j < columnCount; ++j)
            if (kept[std::size_t(j)])
                Points.AddPoint(X, corners(j, x1, y1, x2, y2, x3, y3, x4, y4));
    }
}

TGeoPoint TSymbols::AreaChord(const TGeoPoint& from, TGeoAngle a, Extended& length) const
{
    length = 0;
    Extended reach = 0;
    Dist(Outline.MinX, Outline.MinY, Outline.MaxX, Outline.MaxY, reach);
    const TGeoPoint p1 = SignPGZ(from, reach, a);
    const TGeoPoint p2 = SignPGZ(from, reach, a + 180);
    TGeoPoints crossings;
    if (!IntersectPolygon(Outline.OuterPoints, p1.X, p1.Y, p2.X, p2.Y, crossings))
        return from;
    Extended x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    RangePointsInLine(crossings, p1.X, p1.Y, p2.X, p2.Y, x1, y1, x2, y2);
    TGeoPoint middle = GeoPoint((x1 + x2) / 2, (y1 + y2) / 2);
    Dist(x1, y1, x2, y2, length);
    if (!PointInPolygonWithHoles(Outline.OuterPoints, &Outline.InnerPoints, middle.X, middle.Y)) {
        // The middle fell into a hole (an island, a courtyard) or a bay: the pieces are
        // cut by the inner contours as well and taken in their order along the chord,
        // or no piece between two crossings could ever leave the hole.
        TGeoPoints more;
        for (const auto& hole : Outline.InnerPoints)
            if (IntersectPolygon(hole->Points, p1.X, p1.Y, p2.X, p2.Y, more))
                for (const auto& q : more)
                    crossings.AddPoint(q->X, q->Y);
        std::vector<TGeoPoint> ordered;
        for (const auto& q : crossings)
            ordered.push_back(*q);
        std::stable_sort(ordered.begin(), ordered.end(), [&](const TGeoPoint& a, const TGeoPoint& b) {
            return std::hypot(a.X - p1.X, a.Y - p1.Y) < std::hypot(b.X - p1.X, b.Y - p1.Y);
        });
        crossings.DeleteAll();
        for (const TGeoPoint& q : ordered)
            crossings.AddPoint(q.X, q.Y);
        Extended xc = 0, yc = 0;
        if (LongestInnerChord(Outline.OuterPoints, &Outline.InnerPoints, crossings, xc, yc, x1, y1, x2,
                              y2)) {
            middle = GeoPoint(xc, yc);
            Dist(x1, y1, x2, y2, length);
        }
    }
    return middle;
}

void TSymbols::RenderAreaCaptions(RGPolygon& polygon, const RVpGPolygon& sign)
{
    if (sign.Captions.GetCount() == 0 || !FindSemProps(polygon.Semantics))
        return;
    int maxOrder = 0;
    OrderingSemProps(sign.Captions, maxOrder);
    const Extended m = SignMetresPerMM();

    // The block: its captions with their anchors in the block's own frame (x along X,
    // y along Y) and measured sizes (w along the text, h across it).
    struct TBlockCaption {
        RAutoText Text;
        Extended x = 0, y = 0, w = 0, h = 0;
    };
    std::vector<TBlockCaption> block;
    for (int i = 0; i <= maxOrder && i < sign.Captions.GetCount(); ++i) {
        const RSemText& R = *sign.Captions.At(i);
        for (int j = 0; j < FindedSemProps.GetCount(); ++j) {
            const RFindedSemProp& prop = *FindedSemProps.At(j);
            if (prop.RuleIndex != i)
                continue;
            QString value = prop.Value;
            bool codeOk = false;
            bool ruleOk = false;
            const int code = prop.Code.toInt(&codeOk);
            const int ruleCode = R.PropCode.toInt(&ruleOk);
            // A material is shown by its name; without the classifier its code stays.
            if (prop.Key == QStringLiteral("М") && ruleOk && ruleCode < 0 && codeOk && SemServices())
                decodeM(code, value);
            TBlockCaption c;
            c.Text.Text = R.TextStart + R.Separator1 + value + R.Separator2 + R.TextEnd;
            if (R.OwnStyle)
                c.Text.OwnStyle = CopyStyle(R.OwnStyle);
            else
                c.Text.StyleName = R.StyleName;
            c.Text.AlongLine = 1;
            TUserStyle style;
            SelectTextStyle3(c.Text, style);
            TLogFont lf;
            DefLogFont(lf);
            UserStyleToLF(style, lf);
            lf.Escapement = lf.Orientation = 0;
            TGeoPoint at = GeoPoint(1000, 1000);
            TGeoRect frame{};
            GetTextRect2(Measurer(), c.Text.Text, lf, 0, at, frame);
            Dist(frame[0], frame[1], c.w);
            Dist(frame[1], frame[2], c.h);
            if (block.empty() || R.Mode == 1) {
                c.x = m * R.Dx;
                c.y = m * R.Dy;
            } else {
                c.x = block.back().x;
                c.y = block.back().y + (R.Mode == 0 ? block.back().w : 0);
            }
            block.push_back(std::move(c));
        }
    }
    if (block.empty())
        return;
    Extended minY = block[0].y, maxY = block[0].y + block[0].w;
    Extended minX = block[0].x - block[0].h, maxX = block[0].x;
    for (const TBlockCaption& c : block) {
        minY = std::min(minY, c.y);
        maxY = std::max(maxY, c.y + c.w);
        minX = std::min(minX, c.x - c.h);
        maxX = std::max(maxX, c.x);
    }
    const Extended K = maxY - minY;   // along Y
    const Extended L = maxX - minX;   // along X
    Extended M = 1;
    if (sign.TextStepKind == 0) {
        // The block shrinks to fit the chords through the centre.
        const Extended fy = Area.Along < K ? Area.Along / K : 1;
        const Extended fx = Area.Across < L ? Area.Across / L : 1;
        M = std::min(fy, fx);
        Area.FreeX = Area.FreeY = 0;
    } else {
        Area.FreeX = L / 2;
        Area.FreeY = K / 2;
    }
    for (TBlockCaption& c : block) {
        c.x = (c.x + L / 2) * M;
        c.y = (c.y - K / 2) * M;
    }
    Area.StepY = m * sign.TextStepX;
    Area.StepX = m * sign.TextStepY;
    TGeoPoints grid;
    CreatePointsInPolygon(sign.TextStepKind, grid, Area.Centre.X, Area.Centre.Y);

    const bool computed = polygon.CaptionAngle < 0;
    const TGeoAngle turn = computed ? Area.Direction - 90 : WinToGeoAngle(polygon.CaptionAngle) - 90;
    int placement = 0;
    for (int k = 0; k < grid.GetCount(); ++k) {
        const TGeoPoint& g = *grid.At(k);
        for (const TBlockCaption& c : block) {
            const RUserText* user = placement < polygon.UserTexts.GetCount() ? polygon.UserTexts.At(placement)
                                                                             : nullptr;
            Extended x = c.x + Area.FreeX;
            Extended y = c.y - Area.FreeY;
            RotateCoord(0, 0, turn, x, y);
            const TGeoPoint anchor = GeoPoint(g.X + x, g.Y + y);
            const bool turned = user && user->Angle != 0;
            TWinAngle angle = 0;
            if (computed)
                angle = GeoToWinAngle(turned ? Area.Direction + user->Angle / 10.0L : Area.Direction);
            else
                angle = turned ? GeoToWinAngle(WinToGeoAngle(polygon.CaptionAngle) + user->Angle / 10.0L)
                               : polygon.CaptionAngle;

            polygon.AutoTexts.AddItem();
            RAutoText& t = *polygon.AutoTexts.Item;
            t.Text = c.Text.Text;
            if (c.Text.OwnStyle)
                t.OwnStyle = CopyStyle(c.Text.OwnStyle);
            else
                t.StyleName = c.Text.StyleName;
            t.AlongLine = 1;
            TUserStyle style;
            SelectTextStyle3(t, style);
            TLogFont lf;
            DefLogFont(lf);
            UserStyleToLF(style, lf);
            lf.Escapement = lf.Orientation = angle;
            TGeoPoint P = anchor;
            if (user) {
                P.X += user->Dx;
                P.Y += user->Dy;
            }
            GetTextRect2(Measurer(), t.Text, lf, computed && !turned ? 1 : 0, P, t.Frame);
            t.FrameValid = 1;
            t.Position = P;
            t.Angle = lf.Orientation;
            t.SizeFactor = user && user->SizeFactor > 0 ? user->SizeFactor * M : M;
            t.Hidden = user && user->Show == 2 ? 1 : 0;
            t.CaptionNumber = k;
            if (sign.TextStepKind != 0 && !Empty(sign.Center))
                RenderPic(&sign.Center, &polygon.Picture, 0, anchor.X, anchor.Y);
            if (user)
                ++placement;
        }
    }
}

void TSymbols::RenderAreaHatching(RGPolygon& polygon, const RVpGPolygon& sign)
{
    const Extended m = SignMetresPerMM();
    const Extended step = m * sign.Cross1Step;
    TVpLayers* DP = &polygon.Picture;
    switch (sign.Cross1Style) {
    case 1:
        if (Outline.ChainII.GetCount() < 2)
            return;
        if (sign.Cross2Style == 1 && Empty(sign.Cross2))
            return;
        CreateLinesInPolygon(step, &sign.Cross1, &sign.Cross2, DP, m * sign.Cross1Length, m * sign.Cross2Length,
                             m * sign.Cross2Size, sign.Cross2Style == 1);
        return;
    case 2:
        CreateDashInPolygon(step, &sign.Cross1, DP, m * sign.Cross1Length, m * sign.Cross2Size);
        return;
    case 3:
        CreateLineIntersectInPolygon(step, &sign.Cross1, DP, m * sign.Cross1Length, m * sign.Cross2Size);
        return;
    case 4:
        CreateParallelLineInPolygon(step, &sign.Cross1, DP, m * sign.Cross1Length);
        return;
    case 5:
        CreateRotateLineInPolygon(step, &sign.Cross1, DP, m * sign.Cross1Length);
        return;
    default:
        return;
    }
}

bool TSymbols::RenderPolygon(RGPolygon* Polygon)
{
    ++RenderedObjects;
    const TExtentAfterRender<RGPolygon> extent(Polygon, *this);
    TTrailGuard guard(Module, "function TSymbols.RenderPolygon:boolean;");
    if (!Polygon || Polygon->Nodes.GetCount() == 0)
        return false;
    RGPolygon& polygon = *Polygon;
    const RVpGPolygon* found = ResolveSign(polygon, lmPolygon, VpGPolygons);
    if (!found)
        return false;
    const RVpGPolygon& sign = *found;
    const bool inside = VpGPolygons.NeedExtCalc();
    const Extended m = SignMetresPerMM();
    polygon.Picture.DeleteAll();
    polygon.AutoTexts.DeleteAll();
    ObjKind = lmPolygon;

    if (sign.FillOn)
        AddFill(polygon, sign.FillColor);
    RenderPolygonLine(&polygon);
    for (const auto& point : polygon.InnerPoints)
        RenderPoint(point.get());
    for (const auto& line : polygon.InnerLines)
        RenderLine(line.get());
    // The placements below belong to the area again; the nested renders left the sign
    // lists elsewhere only for their own kinds.
    ObjKind = lmPolygon;
    if (!inside || Outline.Directions.GetCount() == 0)
        return false;

    // The main direction: the class of sides with the largest total length.
    const RASegm* longest = nullptr;
    for (const auto& s : Outline.Directions)
        if (!longest || s->LengthSum > longest->LengthSum)
            longest = s.get();
    Area.Direction = longest->AngleSum / longest->SegmentCount;
    if (Area.Direction >= 180 && Area.Direction < 360)
        Area.Direction -= 180;

    // The centre: the middle of the chord across the main direction, then of the chord
    // along it.
    Area.ExtentMiddle = GeoPoint((Outline.MinX + Outline.MaxX) / 2, (Outline.MinY + Outline.MaxY) / 2);
    Area.Height = Outline.MaxX - Outline.MinX;
    Area.Width = Outline.MaxY - Outline.MinY;
    const TGeoPoint across = AreaChord(Area.ExtentMiddle, Area.Direction + 90, Area.Across);
    Area.Centre = AreaChord(across, Area.Direction, Area.Along);
    const TGeoPoint& C = Area.Centre;

    RenderAreaCaptions(polygon, sign);

    if (!Empty(sign.Diagonals1) && (sign.Diagonals1Style == 1 || sign.Diagonals1Style == 2)) {
        const Extended D = m * sign.Diagonals1Length;
        for (const auto& node : polygon.Nodes) {
            if (node->CornerLine != 0)
                continue;
            const TGeoPoint& P = node->Position;
            if (sign.Diagonals1Style == 1) {
                RenderSpecialLine(C.X, C.Y, P.X, P.Y, &sign.Diagonals1, &polygon.Picture, D, 0);
            } else {
                Extended d = 0;
                TGeoAngle a = 0;
                OGZ(P.X, P.Y, C.X, C.Y, d, a);
                const TGeoPoint E = SignPGZ(P, D, a);
                RenderSpecialLine(P.X, P.Y, E.X, E.Y, &sign.Diagonals1, &polygon.Picture, D, 0);
            }
        }
    }

    if (Outline.ChainI.GetCount() >= 2 && Outline.ChainII.GetCount() >= 2 && !Empty(sign.Diagonals2) &&
        (sign.Diagonals2Style == 1 || sign.Diagonals2Style == 2)) {
        const TGeoPoint A1 = *Outline.ChainI.At(0);
        const TGeoPoint A2 = *Outline.ChainI.At(Outline.ChainI.GetCount() - 1);
        const TGeoPoint Mid = Middle(*Outline.ChainII.At(0), *Outline.ChainII.At(Outline.ChainII.GetCount() - 1));
        const Extended D = m * sign.Diagonals2Length;
        RenderSpecialLine(A1.X, A1.Y, Mid.X, Mid.Y, &sign.Diagonals2, &polygon.Picture, D, 0);
        RenderSpecialLine(A2.X, A2.Y, Mid.X, Mid.Y, &sign.Diagonals2, &polygon.Picture, D, 0);
        if (sign.Diagonals2Style == 2) {
            const TGeoPoint b1 = Middle(A1, Mid);
            const TGeoPoint b2 = Middle(A2, Mid);
            RenderSpecialLine(b1.X, b1.Y, b2.X, b2.Y, &sign.Diagonals2, &polygon.Picture, D, 0);
        }
    }

    Area.FreeY = m * sign.MarginA;
    Area.FreeX = m * sign.MarginB;
    struct TFill {
        const TVpLayers& Picture;
        std::uint8_t Kind;
        Extended StepX, StepY;   // as the sign holds them: along Y, along X
        Extended Part;           // the grid moves by this part of a step
    };
    const TFill fills[] = {{sign.Fill1, sign.Fill1Kind, sign.Fill1StepX, sign.Fill1StepY, 0},
                           {sign.Fill2, sign.Fill2Kind, sign.Fill2StepX, sign.Fill2StepY, 2},
                           {sign.Fill3, sign.Fill3Kind, sign.Fill3StepX, sign.Fill3StepY, 3}};
    for (const TFill& fill : fills) {
        if (Empty(fill.Picture) || (fill.Kind != 1 && fill.Kind != 2))
            continue;
        Area.StepY = m * fill.StepX;
        Area.StepX = m * fill.StepY;
        Extended xc = Area.ExtentMiddle.X + m * polygon.CaptionShift.X;
        Extended yc = Area.ExtentMiddle.Y + m * polygon.CaptionShift.Y;
        if (fill.Part > 0) {
            xc += Area.StepX / fill.Part;
            yc += Area.StepY / fill.Part;
        }
        TGeoPoints grid;
        CreatePointsInPolygon(fill.Kind, grid, xc, yc);
        for (const auto& p : grid)
            RenderPic(&fill.Picture, &polygon.Picture, 0, p->X, p->Y);
    }

    if (sign.TextStepKind == 0 && !Empty(sign.Center)) {
        const bool chain = Outline.ChainI.GetCount() >= 2;
        TGeoAngle a = 0;
        if (chain) {
            Extended d = 0;
            OGZ(Outline.ChainI.At(0)->X, Outline.ChainI.At(0)->Y, Outline.ChainI.At(1)->X,
                Outline.ChainI.At(1)->Y, d, a);
        }
        if (sign.CenterOrientation == 0)
            RenderPic(&sign.Center, &polygon.Picture, 0, C.X, C.Y);
        else if (sign.CenterOrientation == 1 && chain)
            RenderPic(&sign.Center, &polygon.Picture, a, C.X, C.Y);
        else if (sign.CenterOrientation == 2 && chain)
            RenderPic(&sign.Center, &polygon.Picture, a + 90, C.X, C.Y);
    }

    if (!Empty(sign.Cross1) && Outline.ChainI.GetCount() > 1)
        RenderAreaHatching(polygon, sign);
    return false;
}
