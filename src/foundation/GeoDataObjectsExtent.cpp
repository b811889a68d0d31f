// The extent of what an object paints, in plan metres, from its rendered picture, its
// texts' frames and its geometry. The plan drawing redraws only the extents an edit
// touched and the hit test finds its candidates by them, so a box must hold every
// pixel the object paints: it errs on the large side, never on the small.
#include "foundation/GeoDataObjects.h"

#include <algorithm>
#include <cmath>

namespace {

// Glyphs stand out of the measured cell (overhangs, hinting at another size): a frame
// grows by this share of its shorter side each way.
constexpr Extended GlyphSlack = 0.25L;

// A pen of w millimetres: a square cap or a mitred corner of a wide stroke reaches as
// far as its whole width from the line.
Extended PenReach(const TVpPen& pen, Extended metresPerMM)
{
    return std::max<Extended>(pen.PenWidth, 0) * metresPerMM;
}

void AddPoints(const TGeoPoints& points, Extended margin, TObjectExtent& box)
{
    for (const auto& p : points)
        box.Add(p->X, p->Y, margin);
}

void AddTexts(const TGTexts& texts, TObjectExtent& box)
{
    for (const auto& t : texts)
        box.Add(TextExtent(*t));
}

void AddCaptions(const TAutoTexts& captions, TObjectExtent& box)
{
    for (const auto& t : captions)
        box.Add(TextExtent(*t));
}

// What an object held by another paints: its own extent once rendered, else its
// geometry and texts.
void AddHeld(const RGPoint& point, TObjectExtent& box)
{
    if (!point.Extent.Empty()) {
        box.Add(point.Extent);
        return;
    }
    box.Add(point.Position.X, point.Position.Y);
    AddCaptions(point.AutoTexts, box);
    AddTexts(point.InnerTexts, box);
}

void AddHeld(const RGLine& line, TObjectExtent& box)
{
    if (!line.Extent.Empty()) {
        box.Add(line.Extent);
        return;
    }
    for (const auto& n : line.Nodes) {
        box.Add(n->Position.X, n->Position.Y);
        for (const auto& q : n->NodePoints)
            AddHeld(*q, box);
    }
    for (const auto& p : line.Track)
        box.Add(p->Point.X, p->Point.Y);
    AddCaptions(line.AutoTexts, box);
    AddTexts(line.InnerTexts, box);
}

}  // namespace

void TObjectExtent::Add(Extended x, Extended y, Extended margin)
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return;
    // Rounded outwards: the box in doubles still holds the point in long doubles.
    const double lowX = std::nextafter(double(x - margin), -HUGE_VAL);
    const double highX = std::nextafter(double(x + margin), HUGE_VAL);
    const double lowY = std::nextafter(double(y - margin), -HUGE_VAL);
    const double highY = std::nextafter(double(y + margin), HUGE_VAL);
    if (Empty()) {
        MinX = lowX;
        MaxX = highX;
        MinY = lowY;
        MaxY = highY;
        return;
    }
    MinX = std::min(MinX, lowX);
    MaxX = std::max(MaxX, highX);
    MinY = std::min(MinY, lowY);
    MaxY = std::max(MaxY, highY);
}

void TObjectExtent::Add(const TObjectExtent& box)
{
    if (box.Empty())
        return;
    if (Empty()) {
        *this = box;
        return;
    }
    MinX = std::min(MinX, box.MinX);
    MaxX = std::max(MaxX, box.MaxX);
    MinY = std::min(MinY, box.MinY);
    MaxY = std::max(MaxY, box.MaxY);
}

void TObjectExtent::AddFrame(const TGeoRect& frame)
{
    Extended minX = frame[0].X, maxX = frame[0].X, minY = frame[0].Y, maxY = frame[0].Y;
    for (const TGeoPoint& p : frame) {
        minX = std::min(minX, p.X);
        maxX = std::max(maxX, p.X);
        minY = std::min(minY, p.Y);
        maxY = std::max(maxY, p.Y);
    }
    const Extended side1 = std::hypot(frame[1].X - frame[0].X, frame[1].Y - frame[0].Y);
    const Extended side2 = std::hypot(frame[2].X - frame[1].X, frame[2].Y - frame[1].Y);
    const Extended slack = GlyphSlack * std::min(side1, side2);
    Add(minX, minY, slack);
    Add(maxX, maxY, slack);
}

TObjectExtent TextExtent(const RGText& text)
{
    TObjectExtent box;
    box.Add(text.Position.X, text.Position.Y);
    // A frame kept from before a change still counts: the hit test tests it until the
    // text is measured again.
    bool measured = text.FrameValid != 0;
    for (std::size_t i = 1; i < text.Frame.size() && !measured; ++i)
        measured = text.Frame[i].X != text.Frame[0].X || text.Frame[i].Y != text.Frame[0].Y;
    if (measured)
        box.AddFrame(text.Frame);
    return box;
}

void AddPictureExtent(const TVpLayers& picture, Extended metresPerMM, TObjectExtent& box)
{
    for (const auto& layer : picture) {
        for (const auto& g : layer->Polygons) {
            const Extended reach = PenReach(*g, metresPerMM);
            AddPoints(g->Points, reach, box);
            for (const auto& ring : g->Holes)
                AddPoints(ring->Points, reach, box);
        }
        for (const auto& c : layer->Circles) {
            const Extended reach = PenReach(*c, metresPerMM) + std::fabs(c->Radius);
            box.Add(c->Center.X, c->Center.Y, reach);
        }
        for (const auto& l : layer->Lines) {
            const Extended reach = PenReach(*l, metresPerMM);
            box.Add(l->P1.X, l->P1.Y, reach);
            box.Add(l->P2.X, l->P2.Y, reach);
        }
        for (const auto& l : layer->Polylines)
            AddPoints(l->Points, PenReach(*l, metresPerMM), box);
        for (const auto& t : layer->Texts) {
            box.Add(t->Position.X, t->Position.Y);
            box.AddFrame(t->Frame);
        }
    }
}

void SetExtent(RGPoint& point, Extended metresPerMM)
{
    TObjectExtent box;
    box.Add(point.Position.X, point.Position.Y);
    AddPictureExtent(point.Picture, metresPerMM, box);
    AddCaptions(point.AutoTexts, box);
    AddTexts(point.InnerTexts, box);
    point.Extent = box;
}

void SetExtent(RGLine& line, Extended metresPerMM)
{
    TObjectExtent box;
    for (const auto& n : line.Nodes) {
        box.Add(n->Position.X, n->Position.Y);
        for (const auto& q : n->NodePoints)
            AddHeld(*q, box);
    }
    for (const auto& p : line.Track)
        box.Add(p->Point.X, p->Point.Y);
    AddPictureExtent(line.Picture, metresPerMM, box);
    AddCaptions(line.AutoTexts, box);
    AddTexts(line.InnerTexts, box);
    line.Extent = box;
}

void SetExtent(RGPolygon& polygon, Extended metresPerMM)
{
    TObjectExtent box;
    for (const auto& n : polygon.Nodes)
        box.Add(n->Position.X, n->Position.Y);
    for (const auto& hole : polygon.Holes)
        for (const auto& n : hole->Nodes)
            box.Add(n->Position.X, n->Position.Y);
    AddPictureExtent(polygon.Picture, metresPerMM, box);
    AddCaptions(polygon.AutoTexts, box);
    AddTexts(polygon.InnerTexts, box);
    for (const auto& q : polygon.InnerPoints)
        AddHeld(*q, box);
    for (const auto& l : polygon.InnerLines)
        AddHeld(*l, box);
    polygon.Extent = box;
}
