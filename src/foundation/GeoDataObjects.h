// The plan's object tree: sheets own layers and raster underlays; layers own texts,
// points, lines and polygons; objects own their captions, rendered sign pictures and
// inner objects. Every record owns what it holds, so deleting a record from its list
// frees its whole subtree. Positions are plan metres (X north, Y east).
#pragma once

#include "foundation/GeoDataObjectsCoords.h"
#include "foundation/GeoDataObjectsRefs.h"
#include "foundation/GeoDataObjectsSigns.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

class TRastrPicture;   // foundation/GeoDataObjectsPicture.h

// Decimals of an object's coordinates in the plan file: 0 metres .. 3 millimetres.
using TPrecision = std::uint8_t;
constexpr TPrecision DefaultPrecision = 2;

// The box in plan metres of everything an object paints: its nodes, its sign picture
// (each primitive widened by its pen), its captions' and inner texts' frames and the
// objects it holds. Set by the sign renderer whenever it renders the object and kept
// until the object or its sign changes; empty (MinX > MaxX) until then. Four doubles:
// a plan holds it on every object. (GeoDataObjectsExtent.cpp)
struct TObjectExtent {
    double MinX = 1;
    double MinY = 1;
    double MaxX = 0;
    double MaxY = 0;

    bool Empty() const { return MinX > MaxX; }
    void Clear() { *this = TObjectExtent(); }
    // Grows the box to hold (x, y) widened by margin metres each way.
    void Add(Extended x, Extended y, Extended margin = 0);
    void Add(const TObjectExtent& box);
    // The four corners of a text frame, widened for the glyphs that stand out of it.
    void AddFrame(const TGeoRect& frame);
    bool Meets(const TObjectExtent& box) const
    {
        return !Empty() && !box.Empty() && MinX <= box.MaxX && box.MinX <= MaxX && MinY <= box.MaxY &&
               box.MinY <= MaxY;
    }
};

// A free text; also the first part of an automatic caption. (The fields of the records
// of a plan stand widest first, so that no padding grows them: a plan holds them by
// the hundred thousand.)
struct RGText {
    Extended SizeFactor = 1;                // multiplies the style's size
    Extended ExtValue = 0;                  // run-time only
    TGeoPoint Position;                     // anchor
    TGeoRect Frame{};                       // outline on the plan
    QString StyleName;                      // used while OwnStyle is null
    QString Text;                           // "^" first: a named text of the plan
    std::unique_ptr<TUserStyle> OwnStyle;   // takes precedence over StyleName
    TWinAngle Angle = 0;                    // tenths of a degree, counter-clockwise
    std::uint8_t AlongLine = 0;             // set by the line and polygon renderers
    std::uint8_t FrameValid = 0;            // Frame computed for the current properties
};

class TGTexts : public TCursorList<RGText> {
public:
    TGTexts() : TCursorList("TGTexts", "RGText") {}
};

// A caption the sign renderer made from the object's semantics; never stored, rebuilt
// at every rendering of the object's sign.
struct RAutoText : RGText {
    RAutoText() { ExtValue = 1; }
    std::int32_t CaptionNumber = -1;   // placement ordinal on its object, from 0
    std::uint8_t Hidden = 0;           // hidden by its user adjustment (Show 2)
};

class TAutoTexts : public TCursorList<RAutoText> {
public:
    TAutoTexts() : TCursorList("TAutoTexts", "RAutoText") {}
};

// The user's adjustment of the n-th automatic caption of an object.
struct RUserText {
    Extended Dx = 0;              // millimetres of the plan
    Extended Dy = 0;
    Extended SizeFactor = 1;
    TWinAngle Angle = 0;          // tenths of a degree, added to the computed angle
    std::uint8_t Show = 0;        // 0 as the sign says, 1 shown, 2 hidden
};

class TUserTexts : public TCursorList<RUserText> {
public:
    TUserTexts() : TCursorList("TUserTexts", "RUserText") {}
};

using ArrUserTexts = std::vector<RUserText>;

// A point object.
struct RGPoint {
    TObjectExtent Extent;             // what the object paints; not stored
    TGeoPoint Position;
    Extended SignAngle = 0;           // degrees, 0 to 360
    TVpLayers Picture;                // rendered sign, plan coordinates
    QString Semantics;
    QString WorkName;                 // work-classifier entry; not stored
    QString SignName;                 // the sign chosen, "#" none found; not stored
    TAutoTexts AutoTexts;
    TUserTexts UserTexts;
    TGTexts InnerTexts;
    std::int32_t Tag = 0;
    std::uint8_t Flag = 0;
    TPrecision Precision = DefaultPrecision;
    std::uint8_t AllUserTextsFromFirst = 0;
    std::uint8_t LeaderLine = 0;      // 0 as the sign says, 1 on, 2 off
};

class TGPoints : public TCursorList<RGPoint> {
public:
    TGPoints() : TCursorList("TGPoints", "RGPoint") {}
};

// The values of a line node, without the points attached to it: what the object
// editors exchange as ArrLineNodes.
struct RGLineNodeData {
    TGeoPoint Position;
    Extended SignShift = -1;          // millimetres along the segment; < 0 automatic
    std::int32_t TextCounter = -1;    // < 0 automatic
    std::int32_t NodeNumber = -1;     // the node's index, given by the line renderer
    std::uint8_t NodeType = 0;        // 0 main, 1 special
    std::uint8_t Curve = 0;           // smooth curve through this node
    std::uint8_t SegmentType = 0;     // 0 automatic, 1 first, 2 second
    std::uint8_t Generated = 0;       // inserted by the renderer on a curve
    std::uint8_t InvertText = 0;

    // A default node is stored as its position alone.
    bool IsDefault() const
    {
        return NodeType == 0 && Curve != 1 && SignShift < 0 && SegmentType == 0 &&
               TextCounter < 0 && InvertText != 1;
    }
};

struct RGLineNode : RGLineNodeData {
    TGPoints NodePoints;
};

class TGLineNodes : public TCursorList<RGLineNode> {
public:
    TGLineNodes() : TCursorList("TGLineNodes", "RGLineNode") {}
};

using ArrLineNodes = std::vector<RGLineNodeData>;

// Plane distance in metres between two line nodes.
void Dist(const RGLineNodeData& Node1, const RGLineNodeData& Node2, Extended& PS);

// A line object.
struct RGLine {
    TObjectExtent Extent;             // what the object paints; not stored
    Extended StripWidth = 0;          // metres
    TVpLayers Picture;
    QString Semantics;
    QString WorkName;
    QStringList OverLines;            // codes of further line signs
    QString SignName;
    TGLineNodes Nodes;
    TAutoTexts AutoTexts;
    TUserTexts UserTexts;
    TGTexts InnerTexts;
    TExtGeoPoints Track;              // the polyline last drawn, for hit testing
    std::uint8_t Flag = 0;
    std::uint8_t Strip = 0;           // a strip of StripWidth
    TPrecision Precision = DefaultPrecision;
};

class TGLines : public TCursorList<RGLine> {
public:
    TGLines() : TCursorList("TGLines", "RGLine") {}
};

// A node of an outer or inner polygon contour.
struct RGPolygonNode {
    TGeoPoint Position;
    Extended SignShift = -1;          // millimetres; < 0 automatic
    std::uint8_t Curve = 0;
    std::uint8_t SegmentType = 0;     // 0 main, 1 special I, 2 special II
    std::uint8_t SegmentStyle = 0;    // 0 main, 1 special, 2 hidden
    std::uint8_t CornerLine = 0;      // 0: the line from the centre is drawn
    std::uint8_t CornerPicture = 0;   // 0: the corner picture is placed

    // A default node is stored as its position alone.
    bool IsDefault() const
    {
        return Curve != 1 && SignShift < 0 && SegmentType == 0 && SegmentStyle == 0 &&
               CornerLine == 0 && CornerPicture == 0;
    }
};

class TGPolygonNodes : public TCursorList<RGPolygonNode> {
public:
    TGPolygonNodes() : TCursorList("TGPolygonNodes", "RGPolygonNode") {}
};

using ArrPolygonNodes = std::vector<RGPolygonNode>;
using ArrIntrPolygons = std::vector<ArrPolygonNodes>;

// One inner contour.
struct RGIntrPolygon {
    TGPolygonNodes Nodes;
    std::uint8_t Flag = 0;
};

class TGIntrPolygons : public TCursorList<RGIntrPolygon> {
public:
    TGIntrPolygons() : TCursorList("TGIntrPolygons", "RGIntrPolygon") {}
};

// A polygon object.
struct RGPolygon {
    TObjectExtent Extent;             // what the object paints; not stored
    TGeoPoint CaptionShift;           // millimetres; shifts the fill grids' centre
    TVpLayers Picture;
    QString Semantics;
    QString WorkName;
    QString SignName;
    TGPolygonNodes Nodes;             // outer contour, not closed by a repeated node
    TGIntrPolygons Holes;
    TAutoTexts AutoTexts;
    TUserTexts UserTexts;
    TGTexts InnerTexts;
    TGPoints InnerPoints;
    TGLines InnerLines;
    TWinAngle CaptionAngle = -1;      // tenths of a degree; < 0 computed
    std::uint8_t Flag = 0;
    TPrecision Precision = DefaultPrecision;
};

class TGPolygons : public TCursorList<RGPolygon> {
public:
    TGPolygons() : TCursorList("TGPolygons", "RGPolygon") {}
};

// The extents of what each object paints, from its picture as last rendered (pens of
// PenWidth millimetres spanning PenWidth * metresPerMM metres), its texts' frames as
// measured and its geometry; the objects it holds first get theirs. What an object
// without a rendered picture paints in the outline drawing lies within its geometry.
void SetExtent(RGPoint& point, Extended metresPerMM);
void SetExtent(RGLine& line, Extended metresPerMM);
void SetExtent(RGPolygon& polygon, Extended metresPerMM);
// The box of a rendered picture's primitives, widened by their pens, into box.
void AddPictureExtent(const TVpLayers& picture, Extended metresPerMM, TObjectExtent& box);
// A text's anchor and its frame, once measured (or kept from an earlier measuring).
TObjectExtent TextExtent(const RGText& text);

// A node offered for snapping.
struct RFAPoint {
    QString Semantics;
    TGeoPoint PlanPoint;
    std::int32_t ScreenX = 0;
    std::int32_t ScreenY = 0;
    std::int32_t PageIndex = -1;      // -1 none
    std::int32_t LayerIndex = -1;
    std::int32_t ObjectIndex = -1;
    std::uint8_t ObjectKind = 0;      // 0 point, 1 line, 2 polygon
};

class TFAPoints : public TCursorList<RFAPoint> {
public:
    TFAPoints() : TCursorList("TFAPoints", "RFAPoint") {}
};

struct RGLayer {
    QString Name;                     // unique within its sheet, case-sensitive
    std::uint8_t Visible = 1;
    std::uint8_t Extra = 0;
    TGTexts Texts;
    TGPoints Points;
    TGLines Lines;
    TGPolygons Polygons;
};

class TGLayers : public TCursorList<RGLayer> {
public:
    TGLayers() : TCursorList("TGLayers", "RGLayer") {}
};

// A raster underlay, stretched to the rectangle of its two corners when drawn, and
// drawn only while Visible and Loaded are both 1.
struct RGRastr {
    RGRastr();
    ~RGRastr();
    RGRastr(const RGRastr&) = delete;
    RGRastr& operator=(const RGRastr&) = delete;

    std::uint8_t Visible = 1;
    std::uint8_t Flag = 0;
    std::uint8_t LoadOnOpen = 1;      // read the picture when the plan is read
    std::uint8_t Loaded = 0;          // Picture holds the image of FileName
    QString FilterName;               // empty: the four values below are the filter
    std::uint8_t Brightness = 0;
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    std::uint8_t FilterOn = 0;        // apply the filter when the image is loaded
    std::uint8_t FilterApplied = 0;   // cleared whenever the picture is (un)loaded
    std::unique_ptr<TRastrPicture> Picture;   // never null; empty while not loaded
    QString FileName;
    TGeoPoint TopRight;
    TGeoPoint BottomLeft;
};

class TGRastrs : public TCursorList<RGRastr> {
public:
    TGRastrs() : TCursorList("TGRastrs", "RGRastr") {}
};

struct RGPage {
    QString Name;                     // unique within the plan, case-sensitive
    std::uint8_t Visible = 1;
    TGLayers Layers;                  // in drawing order
    TGRastrs Rastrs;                  // in drawing order
};

class TGPages : public TCursorList<RGPage> {
public:
    TGPages() : TCursorList("TGPages", "RGPage") {}
};
