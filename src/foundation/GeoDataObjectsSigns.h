// Sign pictures and sign definitions. A picture (TVpLayers) is a list of elements,
// each holding five lists of primitives drawn in the order polygons, circles, lines,
// polylines, texts. Sign definitions hold pictures in millimetres of the sign; the
// renderer places transformed copies into the Picture of every plan object.
#pragma once

#include "foundation/GeoDataObjectsCoords.h"
#include "foundation/GeoDataObjectsRefs.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>

// Every rendering of a sign replaces its object's picture, so picture records come and
// go by the million: they are taken from free lists of their own size, refilled from
// slabs, rather than from the heap one by one (GeoDataObjectsSigns.cpp). A record may
// be freed on any thread. Under a sanitizer the heap is used, so that it sees every
// record.
void* TakePictureRecord(std::size_t size);
void GivePictureRecord(void* record, std::size_t size) noexcept;

// The pen every primitive begins with: colour 0, copy mode, solid, 1 mm.
struct TVpPen {
    std::int32_t PenColor = 0;
    std::uint8_t PenMode = 4;    // pen mode ordinal of the GUI library; 4 = copy
    std::uint8_t PenStyle = 0;   // 0 = solid
    Extended PenWidth = 1;       // millimetres
};

// Fill styles of circles and polygons.
enum : std::uint8_t {
    vfBackdrop = 0,   // the backdrop colour of the drawing
    vfColor = 1,      // FillColor
    vfNone = 2,
};

// The fill every circle and polygon begins with: none, white.
struct TVpFill {
    std::int32_t FillColor = 0xFFFFFF;
    std::uint8_t FillStyle = vfNone;
};

struct RVpLine : TVpPen {
    TGeoPoint P1;
    TGeoPoint P2;
    static void* operator new(std::size_t size) { return TakePictureRecord(size); }
    static void operator delete(void* record, std::size_t size) noexcept { GivePictureRecord(record, size); }
};

class TVpLines : public TCursorList<RVpLine> {
public:
    TVpLines() : TCursorList("TVpLines", "RVpLine") {}
};

struct RVpCircle : TVpPen, TVpFill {
    TGeoPoint Center;
    Extended Radius = 0;   // millimetres
    static void* operator new(std::size_t size) { return TakePictureRecord(size); }
    static void operator delete(void* record, std::size_t size) noexcept { GivePictureRecord(record, size); }
};

class TVpCircles : public TCursorList<RVpCircle> {
public:
    TVpCircles() : TCursorList("TVpCircles", "RVpCircle") {}
};

struct RVpPolyline : TVpPen {
    TGeoPoint RefPoint;   // set by the sign-file reader; never stored or copied
    TGeoPoints Points;
    static void* operator new(std::size_t size) { return TakePictureRecord(size); }
    static void operator delete(void* record, std::size_t size) noexcept { GivePictureRecord(record, size); }
};

class TVpPolylines : public TCursorList<RVpPolyline> {
public:
    TVpPolylines() : TCursorList("TVpPolylines", "RVpPolyline") {}
};

struct RVpPolygon : TVpPen, TVpFill {
    TGeoPoint RefPoint;   // as for polylines
    TGeoPoints Points;    // the outline, not closed by a repeated first point
    // Further rings of an area's fill (its inner contours), painted together with Points
    // as one odd-even path so that islands and courtyards stay unpainted. Sign pictures
    // have none; neither the sign files nor the plan file store them.
    TListGeoPoints Holes;
    static void* operator new(std::size_t size) { return TakePictureRecord(size); }
    static void operator delete(void* record, std::size_t size) noexcept { GivePictureRecord(record, size); }
};

class TVpPolygons : public TCursorList<RVpPolygon> {
public:
    TVpPolygons() : TCursorList("TVpPolygons", "RVpPolygon") {}
};

struct RVpText {
    QString StyleName;                      // used while OwnStyle is null
    std::unique_ptr<TUserStyle> OwnStyle;
    TGeoAngle Angle = 0;                    // degrees
    QString Text;
    TGeoPoint Position;                     // millimetres of the sign
    TGeoRect Frame{};                       // outline as placed, filled by the renderer
    static void* operator new(std::size_t size) { return TakePictureRecord(size); }
    static void operator delete(void* record, std::size_t size) noexcept { GivePictureRecord(record, size); }
};

class TVpTexts : public TCursorList<RVpText> {
public:
    TVpTexts() : TCursorList("TVpTexts", "RVpText") {}
};

// One element of a picture.
struct RVpLayer {
    TVpPolygons Polygons;
    TVpCircles Circles;
    TVpLines Lines;
    TVpPolylines Polylines;
    TVpTexts Texts;
    static void* operator new(std::size_t size) { return TakePictureRecord(size); }
    static void operator delete(void* record, std::size_t size) noexcept { GivePictureRecord(record, size); }
};

class TVpLayers : public TCursorList<RVpLayer> {
public:
    TVpLayers() : TCursorList("TVpLayers", "RVpLayer") {}

    // The picture's simple line, from the sign file's "ELINE" block.
    std::uint8_t HasOwnLine = 0;
    std::int32_t OwnLineColor = 0;
    Extended OwnLineWidth = 1;

    // Appends a deep copy of the element (own text styles copied; RefPoint and Frame
    // not). Cursor on the new element; the cursors of the source's five lists end on
    // their last items. Always true.
    bool AddLayer(RVpLayer& layer);
};

// A point sign.
struct RVpGPoint {
    QString Code;
    TVpLayers Picture;
    TSemTexts Captions;
    std::uint8_t LeaderLineDefault = 0;
};

class TVpGPoints : public TCursorList<RVpGPoint> {
public:
    TVpGPoints() : TCursorList("TVpGPoints", "RVpGPoint") {}
};

// A line sign.
struct RVpGLine {
    QString Code;
    TVpLayers LineStart;
    TVpLayers LineEnd;
    TVpLayers SegmentStart;
    TVpLayers SegmentEnd;
    TVpLayers Piece1;
    TVpLayers Piece2;
    Extended PieceLength = 0;     // millimetres
    TGeoPoint TextPoint;          // in-line text position
    std::int16_t TextRepeat = 0;
    TSemTexts Captions;
    std::uint8_t SegmentMiddle = 0;
    Extended CaptionStart = 10;
    Extended CaptionInterval = 100;
};

class TVpGLines : public TCursorList<RVpGLine> {
public:
    TVpGLines() : TCursorList("TVpGLines", "RVpGLine") {}
};

// An area sign. In every pair of steps the first is the spacing along the plan's Y
// axis (east), the second along X (north).
struct RVpGPolygon {
    QString Code;
    TVpLayers Corners;
    Extended CornerShift = 0;
    TVpLayers Piece1;
    Extended Piece1Length = 0;
    TVpLayers Piece2;
    Extended Piece2Length = 0;
    TVpLayers Fill1;
    std::uint8_t Fill1Kind = 0;
    Extended Fill1StepX = 0;
    Extended Fill1StepY = 0;
    TVpLayers Fill2;
    std::uint8_t Fill2Kind = 0;
    Extended Fill2StepX = 0;
    Extended Fill2StepY = 0;
    TVpLayers Fill3;
    std::uint8_t Fill3Kind = 0;
    Extended Fill3StepX = 0;
    Extended Fill3StepY = 0;
    TVpLayers Center;
    std::uint8_t CenterOrientation = 0;
    Extended MarginA = 0;
    Extended MarginB = 0;
    TVpLayers Diagonals1;
    std::uint8_t Diagonals1Style = 0;   // 0 = off
    Extended Diagonals1Length = 0;
    TVpLayers Diagonals2;
    std::uint8_t Diagonals2Style = 0;
    Extended Diagonals2Length = 0;
    TVpLayers Cross1;
    std::uint8_t Cross1Style = 0;
    Extended Cross1Length = 0;
    Extended Cross1Step = 0;
    Extended Cross1Size = 0;
    TVpLayers Cross2;
    std::uint8_t Cross2Style = 0;
    Extended Cross2Length = 0;
    Extended Cross2Size = 0;            // the second group has no step
    std::uint8_t FillOn = 0;
    std::int32_t FillColor = 0xFFFFFF;
    TSemTexts Captions;
    std::uint8_t TextStepKind = 0;
    Extended TextStepX = 100;
    Extended TextStepY = 100;
};

class TVpGPolygons : public TCursorList<RVpGPolygon> {
public:
    TVpGPolygons() : TCursorList("TVpGPolygons", "RVpGPolygon") {}

    // Whether the current sign needs work inside the area beyond its outline: a fill or
    // centre picture, a diagonal or cross group with a picture and a style, or captions.
    // False when there is no current sign.
    bool NeedExtCalc() const;
};
