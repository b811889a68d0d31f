// The captions of one line being rendered: the block of captions repeated along the
// line by distance or set at the middle of every segment, and the in-line text that the
// pattern carries. Built before the node walk, fed one drawn segment at a time.
#pragma once

#include "foundation/GeoDataObjects.h"
#include "semantics/signs/Symbols.h"

#include <vector>

class TLineCaptions {
public:
    // Composes the block and the in-line text (into the library's in-line state) from
    // the sign's caption rules, the line's semantics and its over-lines. Leaves the
    // line's sign current.
    TLineCaptions(TSymbols& symbols, const RVpGLine& sign, RGLine& line);
    // The blocks that fall on the segment A -> B (length d, direction a) that runs from
    // S0 to S1 along the line; invert: its start node reverses the upright rule.
    void Segment(const TGeoPoint& A, const TGeoPoint& B, Extended d, TGeoAngle a, Extended S0, Extended S1,
                 bool invert);
    // With an in-line text: cuts the strokes of picture where the frames of its texts
    // stand, so the text is not crossed out.
    void CutStrokes(TVpLayers& picture);

private:
    struct TBlockCaption {
        const RSemText* Rule = nullptr;
        QString Text;
        TGeoPoint Local;   // x across the line (left positive), y along it; metres
        Extended Width = 0;
    };
    Extended Width(const RSemText& rule, const QString& text) const;
    void Emit(const TBlockCaption& c, const TGeoPoint& R, bool middle, Extended d, TGeoAngle a, bool upright);

    TSymbols& S;
    const RVpGLine& Sign;
    RGLine& Line;
    std::vector<TBlockCaption> Block;
    Extended YMin = 0;
    Extended YMax = 0;
    Extended Next = 0;        // the distance of the next block along the line
    int BlockNumber = 0;
    int Placement = 0;        // the user placement due
};
