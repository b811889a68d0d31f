// The commands on the line and polygon objects of a layer. A command carries the whole
// geometry of its object (nodes as "[" "]" groups of "{" "}" values, inner contours as
// "(" ")" groups of those), so a change replaces the node lists as a whole. Every node
// is converted before the object changes: a bad value leaves the object as it was.
// All reals accept "," and "." alike.
#include "engine/GeoMap.h"

namespace {

// Eight values per node: X, Y, node type, sign shift, segment type, text counter,
// curve, inverted text, and an optional ninth, the index of the line's old node whose
// attached points the node keeps (-1 none; absent, as in older journals: none). The
// origins go to origins, one per node.
std::vector<std::unique_ptr<RGLineNode>> LineNodes(const TCommandFields& f, int field,
                                                   std::vector<int>& origins)
{
    std::vector<std::unique_ptr<RGLineNode>> nodes;
    origins.clear();
    for (const TCommandFields& g : f.Groups(field)) {
        auto node = std::make_unique<RGLineNode>();
        const Extended x = g.RealAnySeparator(0);
        const Extended y = g.RealAnySeparator(1);
        node->Position = GeoPoint(x, y);
        node->NodeType = g.Byte(2);
        node->SignShift = g.RealAnySeparator(3);
        node->SegmentType = g.Byte(4);
        node->TextCounter = g.Int(5);
        node->Curve = g.Byte(6);
        node->InvertText = g.Byte(7);
        origins.push_back(g.Has(8) ? g.Int(8) : -1);
        nodes.push_back(std::move(node));
    }
    return nodes;
}

// Seven values per outer node: X, Y, sign shift, segment type, segment style, corner
// line, corner picture, and an optional eighth, the curve flag. Journals and builders
// older than the flag send seven: the node is then no curve node, as it always was.
std::vector<std::unique_ptr<RGPolygonNode>> OuterNodes(const TCommandFields& f, int field)
{
    std::vector<std::unique_ptr<RGPolygonNode>> nodes;
    for (const TCommandFields& g : f.Groups(field)) {
        auto node = std::make_unique<RGPolygonNode>();
        const Extended x = g.RealAnySeparator(0);
        const Extended y = g.RealAnySeparator(1);
        node->Position = GeoPoint(x, y);
        node->SignShift = g.RealAnySeparator(2);
        node->SegmentType = g.Byte(3);
        node->SegmentStyle = g.Byte(4);
        node->CornerLine = g.Byte(5);
        node->CornerPicture = g.Byte(6);
        node->Curve = g.Has(7) ? g.Byte(7) : 0;
        nodes.push_back(std::move(node));
    }
    return nodes;
}

// One inner contour per "(" ")" group, five values per node: X, Y, sign shift,
// segment style, corner picture, and an optional sixth, the curve flag (0 when absent);
// the other node values keep their defaults.
std::vector<std::unique_ptr<RGIntrPolygon>> InnerContours(const TCommandFields& f, int field)
{
    std::vector<std::unique_ptr<RGIntrPolygon>> contours;
    for (const std::vector<TCommandFields>& groups : f.Contours(field)) {
        auto contour = std::make_unique<RGIntrPolygon>();
        for (const TCommandFields& g : groups) {
            auto node = std::make_unique<RGPolygonNode>();
            const Extended x = g.RealAnySeparator(0);
            const Extended y = g.RealAnySeparator(1);
            node->Position = GeoPoint(x, y);
            node->SignShift = g.RealAnySeparator(2);
            node->SegmentStyle = g.Byte(3);
            node->CornerPicture = g.Byte(4);
            node->Curve = g.Has(5) ? g.Byte(5) : 0;
            contour->Nodes.AddItem(std::move(node));
        }
        contours.push_back(std::move(contour));
    }
    return contours;
}

template <class L, class R>
void ReplaceItems(L& list, std::vector<std::unique_ptr<R>>& items)
{
    list.DeleteAll();
    for (auto& item : items)
        list.AddItem(std::move(item));
}

void ReplaceUserTexts(TUserTexts& list, const ArrUserTexts& texts)
{
    list.DeleteAll();
    for (const RUserText& u : texts)
        list.AddItem(std::make_unique<RUserText>(u));
}

// The values of a line from field first on: semantics, user captions, strip, strip
// width, precision, over-lines, nodes.
struct RLineFields {
    QString Semantics;
    ArrUserTexts UserTexts;
    std::uint8_t Strip = 0;
    Extended StripWidth = 0;
    TPrecision Precision = DefaultPrecision;
    QStringList OverLines;
    std::vector<std::unique_ptr<RGLineNode>> Nodes;
    std::vector<int> Origins;   // per node: the old node whose attached points it keeps

    static RLineFields From(const TCommandFields& f, int first)
    {
        RLineFields l;
        l.Semantics = f.Text(first);
        l.UserTexts = f.UserTexts(first + 1);
        l.Strip = f.Byte(first + 2);
        l.StripWidth = f.RealAnySeparator(first + 3);
        l.Precision = f.Byte(first + 4);
        l.OverLines = f.Values(first + 5).All();
        l.Nodes = LineNodes(f, first + 6, l.Origins);
        return l;
    }

    // The old nodes go with the points attached to them, except those a new node names
    // as its origin: a node takes the points of the old node it names, the first to
    // name one takes them all, and an index outside the old nodes names none. Inner
    // texts stay.
    void StoreInto(RGLine& line)
    {
        for (size_t i = 0; i < Nodes.size() && i < Origins.size(); ++i) {
            RGLineNode* old = line.Nodes.At(Origins[i]);
            if (!old)
                continue;
            while (old->NodePoints.GoItem(0))
                Nodes[i]->NodePoints.AddItem(old->NodePoints.Extract());
        }
        line.Semantics = Semantics;
        ReplaceUserTexts(line.UserTexts, UserTexts);
        line.Strip = Strip;
        line.StripWidth = StripWidth;
        line.Precision = Precision;
        line.OverLines = OverLines;
        ReplaceItems(line.Nodes, Nodes);
    }
};

// The values of a polygon from field first on: semantics, outer nodes, precision, user
// captions, caption shift X and Y, inner contours, caption angle.
struct RPolygonFields {
    QString Semantics;
    std::vector<std::unique_ptr<RGPolygonNode>> Nodes;
    TPrecision Precision = DefaultPrecision;
    ArrUserTexts UserTexts;
    TGeoPoint CaptionShift;
    std::vector<std::unique_ptr<RGIntrPolygon>> Holes;
    TWinAngle CaptionAngle = -1;

    static RPolygonFields From(const TCommandFields& f, int first)
    {
        RPolygonFields p;
        p.Semantics = f.Text(first);
        p.Nodes = OuterNodes(f, first + 1);
        p.Precision = f.Byte(first + 2);
        p.UserTexts = f.UserTexts(first + 3);
        const Extended dx = f.RealAnySeparator(first + 4);
        const Extended dy = f.RealAnySeparator(first + 5);
        p.CaptionShift = GeoPoint(dx, dy);
        p.Holes = InnerContours(f, first + 6);
        p.CaptionAngle = f.Int(first + 7);
        return p;
    }

    // Inner texts, points and lines stay. The outer contour is stored as an open of
    // the plan leaves it, without a last node that repeats the first: undo reopens the
    // snapshot, and the polygon must come back as it was made.
    void StoreInto(RGPolygon& polygon)
    {
        polygon.Semantics = Semantics;
        ReplaceItems(polygon.Nodes, Nodes);
        polygon.Precision = Precision;
        TGeoMap::DropClosingNode(polygon.Nodes, polygon.Precision);
        ReplaceUserTexts(polygon.UserTexts, UserTexts);
        polygon.CaptionShift = CaptionShift;
        ReplaceItems(polygon.Holes, Holes);
        polygon.CaptionAngle = CaptionAngle;
    }
};

}  // namespace

// Lines

void TGeoMap::CmdNewLine(const TCommandFields& f)
{
    if (!MoveToCommandLayer(f))
        return;
    RLineFields values = RLineFields::From(f, 2);
    auto line = std::make_unique<RGLine>();
    values.StoreInto(*line);
    Pages.Item->Layers.Item->Lines.AddItem(std::move(line));
}

void TGeoMap::CmdDelLine(const TCommandFields& f)
{
    if (!MoveToCommandLayer(f))
        return;
    TGLines& lines = Pages.Item->Layers.Item->Lines;
    if (lines.GoItem(f.Int(2)))
        lines.DeleteItem();
}

void TGeoMap::CmdSetLineProp(const TCommandFields& f)
{
    if (!MoveToCommandLayer(f))
        return;
    TGLines& lines = Pages.Item->Layers.Item->Lines;
    if (!lines.GoItem(f.Int(2)))
        return;
    RLineFields values = RLineFields::From(f, 3);
    RGLine& line = *lines.Item;
    if (values.Semantics != line.Semantics)
        ForgetSign(line.SignName, line.Picture);
    values.StoreInto(line);
}

void TGeoMap::CmdChangeLineOrder(const TCommandFields& f)
{
    if (!MoveToCommandLayer(f))
        return;
    TGLines& lines = Pages.Item->Layers.Item->Lines;
    const int i = f.Int(2);
    if (!lines.GoItem(i))
        return;
    lines.ChangeItems(i, f.Int(3));
}

// Polygons

void TGeoMap::CmdNewPolygon(const TCommandFields& f)
{
    if (!MoveToCommandLayer(f))
        return;
    RPolygonFields values = RPolygonFields::From(f, 2);
    auto polygon = std::make_unique<RGPolygon>();
    values.StoreInto(*polygon);
    Pages.Item->Layers.Item->Polygons.AddItem(std::move(polygon));
}

void TGeoMap::CmdDelPolygon(const TCommandFields& f)
{
    if (!MoveToCommandLayer(f))
        return;
    TGPolygons& polygons = Pages.Item->Layers.Item->Polygons;
    if (polygons.GoItem(f.Int(2)))
        polygons.DeleteItem();
}

void TGeoMap::CmdSetPolygonProp(const TCommandFields& f)
{
    if (!MoveToCommandLayer(f))
        return;
    TGPolygons& polygons = Pages.Item->Layers.Item->Polygons;
    if (!polygons.GoItem(f.Int(2)))
        return;
    RPolygonFields values = RPolygonFields::From(f, 3);
    RGPolygon& polygon = *polygons.Item;
    if (values.Semantics != polygon.Semantics)
        ForgetSign(polygon.SignName, polygon.Picture);
    values.StoreInto(polygon);
}

void TGeoMap::CmdChangePolygonOrder(const TCommandFields& f)
{
    if (!MoveToCommandLayer(f))
        return;
    TGPolygons& polygons = Pages.Item->Layers.Item->Polygons;
    const int i = f.Int(2);
    if (!polygons.GoItem(i))
        return;
    polygons.ChangeItems(i, f.Int(3));
}
