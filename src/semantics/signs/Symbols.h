// The sign library of one map scale: the point, line and area signs read from the
// scale's sign folder, the scale's text styles, the list of objects for which no sign
// is looked for again, the factors that turn sign millimetres into ground metres and
// dots, and the options that decide whether the user is asked about a missing sign.
// Sign files: SymbolsFile.cpp; loading and choosing signs: Symbols.cpp; text styles,
// logical fonts and text frames: SymbolsText.cpp.
#pragma once

#include "foundation/GeoDataObjectsSigns.h"
#include "semantics/codec/SemCodec.h"
#include "semantics/signs/SymbolsFont.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

struct RGLine;
struct RGPoint;
struct RGPolygon;
struct RGText;

// The parts of a sign name or a semantics string that choose a sign: the object code
// and the Ф, К, Н, С and М items, each kept with its letter in the order written.
struct TFindedProps {
    QString ObjCode;
    QStringList F;
    QStringList K;
    QStringList N;
    QStringList S;
    QStringList M;
    bool AnyMaterial = false;   // a candidate holding the item "М" alone
    bool AnyState = false;      // a candidate holding the item "С" alone
};

class TSymbols {
public:
    // Every list empty, options 0, factors 0; nothing is read. Texts are measured with
    // Qt's font metrics until SetMeasurer says otherwise.
    TSymbols();
    ~TSymbols();
    TSymbols(const TSymbols&) = delete;
    TSymbols& operator=(const TSymbols&) = delete;

    // ---- Scale ----

    std::int32_t GetScale() const { return Scale; }
    // Stores scale; with scale > 0 (and dpi > 0) also the six factors.
    void SetScale(int scale, Extended dpi);
    // The ground metres per dot alone (the sign editors' zoom).
    void SetScaleFactor(Extended value) { MetresPerDot = value; }

    // ---- Sign files (SymbolsFile.cpp) ----

    // Appends a new sign to the list of kind lm (cursor on it), named workname, and reads
    // filename into it. A missing file is said in the message window and adds nothing; a
    // file whose first lines are not a sign of kind lm adds nothing, silently. A file in
    // the older headerless format is rewritten in the current one through SaveSymbol,
    // which asks first. A value that does not convert throws, the new sign removed again.
    // True when the sign was added.
    bool LoadSymbol(const QString& filename, const QString& workname, TLmode lm);
    // Writes the current sign of kind lm to filename in the current format. An existing
    // file is overwritten only after the question; the user may change the name or cancel.
    // True when written; false when cancelled or there is no current sign. Throws when the
    // file cannot be written (nothing is then changed on disk) or a text cannot be stored.
    bool SaveSymbol(const QString& filename, TLmode lm);
    // The current sign of kind lm in the current format, as the lines SaveSymbol writes.
    QStringList SymbolLines(TLmode lm) const;

    // ---- The library (Symbols.cpp) ----

    // Loads the library of a scale: writes the missing-sign list to the folder of the
    // scale loaded before, reads every sign file of the three kind folders (sorted by name,
    // letter case ignored), then each kind's fall-back "неопределенный", the text styles
    // and the scale's missing-sign list. A file that fails to read, or is no sign of its
    // folder's kind, is skipped and named in LoadErrors and in one message window at the
    // end (not again while the next loads find the same errors); the load itself never
    // throws for it.
    void LoadSymbols(std::int32_t scale);
    // Chooses the sign for an object with semantics name and kind lm and leaves it the
    // current item of the kind's list. No match: the fall-back (the kind's last sign),
    // after, with AskUnknownSymbol on, the synonyms (consulted once, not again for the
    // synonym's own name) and the question; the add-sign window receives the short key
    // and the material and state codes without their letter, each followed by CR LF.
    // True when a sign is current; false only when the kind has no sign at all.
    bool SelectSymbol(const QString& name, TLmode lm);
    // True when a sign of kind lm has exactly this name; the cursor is left on it.
    bool FindSymbol(const QString& Symname, TLmode lm);
    // The found properties of sem (the items captions are made from); true when any.
    bool FindSemProps(const QString& sem);
    // Gives each found property the index of the last caption rule that shows it;
    // MaxOrder the largest index given (0 when none).
    void OrderingSemProps(const TSemTexts& SemTexts, int& MaxOrder);

    // The parts of a sign name or semantics string (the character after the object code
    // is skipped, so "/" and "-" alike).
    static void SplitName(const QString& name, TFindedProps& parts);
    // The short key, under which the missing-sign list notes and looks up an object and
    // which the add-sign window receives: object code, "/" and every Ф, К and Н item
    // followed by ";".
    static QString ShortKey(const TFindedProps& parts);
    // Writes UnknownSymbols, one a line, to "неизвестные знаки.wri" in the sign folder of
    // scale, which is created when missing. Throws when it cannot be written.
    void WriteUnknownSymbols(int scale);

    // ---- Text styles and fonts (SymbolsText.cpp) ----

    // Reads "Шрифты/<scale>/Стили.wri" below the program folder when it exists; the list
    // is replaced only when the whole file was read. Throws for a value that does not
    // convert.
    void LoadTextStyles(int scale);
    // The first style named exactly Name, cursor on it; false when none.
    bool FindStyle(const QString& Name);
    // The first style named exactly Name, or null; moves no cursor, so that drawing texts
    // leaves the style list as the windows left it.
    const TGeoTextStyle* StyleNamed(const QString& Name) const;
    bool FindStyle(const QString& Name, QString& Comment, std::int32_t& Color, Extended& Size,
                   QString& FontName, std::uint8_t& FontStyle);
    // A text's style resolved: its own style, or the named one (the last style of the list
    // when none has the name). Sizes in dots: own sizes times DotsPerMM, named sizes times
    // DotsPerMM rounded. SelectTextStyleOver keeps millimetres and does not round.
    void SelectTextStyle(const RSemText& SemText, TUserStyle& Style);
    void SelectTextStyle2(const RVpText& VpText, TUserStyle& Style);
    void SelectTextStyle3(const RGText& Text, TUserStyle& Style);
    void SelectTextStyleOver(const RVpText& VpText, TUserStyle& Style);
    void DefLogFont(TLogFont& lf) const;
    void UserStyleToLF(const TUserStyle& US, TLogFont& LF) const;
    void GeoAngleToLF(TGeoAngle an, TLogFont& lf) const;
    // Measures txt set in LogFont into its frame in plan metres from the anchor Point
    // (corner 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left). autoinvert 1 turns
    // a text reading downwards (175..355 degrees) upright, 2 one of 0..180 degrees, 0
    // never; a turned text gets orientation + 1800 and its anchor becomes corner 0 of the
    // turned frame. Point moves by half the extra height of a turned font.
    void GetTextRect2(TTextMeasurer& Canv, const QString& txt, TLogFont& LogFont,
                      std::uint8_t autoinvert, TGeoPoint& Point, TGeoRect& Rect);

    // The canvas of the measuring bitmap.
    TTextMeasurer& Measurer() { return *TextMeasurer; }
    void SetMeasurer(std::unique_ptr<TTextMeasurer> measurer);

    // ---- Rendering (SymbolsRender.cpp: picture placement; SymbolsRenderPoint.cpp) ----

    // Objects handed to RenderPoint, RenderLine and RenderPolygon since the library was
    // made, their own point and line objects included: what a drawing rendered anew.
    std::int64_t RenderedObjects = 0;

    // Sets the object's extent (what it paints, plan metres) when the rendering ends,
    // whichever way it ends: the drawing redraws and the hit test searches by it.
    template <class R>
    class TExtentAfterRender {
    public:
        TExtentAfterRender(R* object, const TSymbols& symbols) : Object(object), Symbols(symbols) {}
        ~TExtentAfterRender()
        {
            if (Object)
                SetExtent(*Object, Symbols.SignMetresPerMM());
        }
        TExtentAfterRender(const TExtentAfterRender&) = delete;
        TExtentAfterRender& operator=(const TExtentAfterRender&) = delete;

    private:
        R* Object;                 // link, not owned
        const TSymbols& Symbols;
    };

    // Places SourcePic (sign millimetres) into a new element per primitive of DestPic
    // (ground metres), turned clockwise by Angle degrees about its origin, at (Xc, Yc).
    // Texts of the picture only for the point kind (turned upright); for the line kind
    // the in-line text instead, and the element counter rises once per element (once in
    // all for any other kind). Nothing is placed for a missing or empty source or a
    // missing destination; the counter still moves.
    void RenderPic(const TVpLayers* SourcePic, TVpLayers* DestPic, TGeoAngle Angle, Extended Xc,
                   Extended Yc);
    // Lays the window [Phase, Phase + length] of a line pattern on the segment from
    // (X1, Y1) to (X2, Y2), whose direction is SegAngle, and advances the phase: a phase
    // within 0.1 of PicLength completes a picture (alternation flips, counter rises).
    void RenderPicMin(const TVpLayers* SourcePic, TVpLayers* DestPic, Extended X1, Extended Y1,
                      Extended X2, Extended Y2);
    // Draws the strokes that run parallel to the line (first lines at a non-zero
    // offset) along the whole segment, mitred at its nodes by TurnStart and TurnEnd.
    void RenderPicMain(const TVpLayers* SourcePic, TVpLayers* DestPic, Extended X1, Extended Y1,
                       Extended X2, Extended Y2);
    // Resolves the line's sign, smooths its curve runs (the densified points into Track;
    // the object's nodes are left as they were), lays the sign's pattern along every
    // segment, carrying the phase from one segment into the next, and the start, end and
    // node pictures over it, and renders the point objects of the nodes. False, with
    // SignName "#", when the line has no sign; false too for fewer than two nodes.
    bool RenderLine(RGLine* Line);
    // Lays SP as a dashed pattern of dash length DashD from phase StartPhase (both metres)
    // along the straight stretch (X1, Y1) -> (X2, Y2) into DP; no strokes along the
    // segment. Always false; the phase it leaves is read from Phase.
    bool RenderSpecialLine(Extended X1, Extended Y1, Extended X2, Extended Y2, const TVpLayers* SP,
                           TVpLayers* DP, Extended DashD, Extended StartPhase);
    // Draws the outline of an area drawn with the current area sign into its Picture:
    // the outer contour, then every inner one, each side laid with the picture its start
    // node's SegmentStyle chooses (hidden sides lay nothing, and a pattern runs on across
    // them), the corner pictures over each contour's outline. Only sides of no length are
    // left out. Rebuilds the outline state below. True when a contour of three or more
    // nodes was walked; false, drawing nothing, without a current area sign.
    bool RenderPolygonLine(RGPolygon* Polygon);
    // Turns one area object into its drawn form: the fill (the inner contours as rings
    // left unpainted), the outline, the point and line objects it holds, and what the
    // area sign asks for inside it: captions in the centre or on a grid, lines from the
    // corners and from the special side, grids of fill pictures, the centre picture and
    // the slope hatching. SignName "#" when there is no sign; nothing is done without
    // nodes. Always false: callers read the object's picture and captions.
    bool RenderPolygon(RGPolygon* Polygon);
    // What the outline walk leaves for the area's interior: rebuilt by every
    // RenderPolygonLine. Points, directions and chains are collected only when the sign
    // needs work inside the area (TVpGPolygons::NeedExtCalc); the extent always.
    struct TOutlineState {
        TGeoPoints OuterPoints;      // start nodes of the outer contour's drawn sides
        TListGeoPoints InnerPoints;  // the same, one list per inner contour walked
        TASegms Directions;          // direction classes of the outer contour's sides
        TGeoPoints ChainI;           // the stretch of type I nodes, in contour order
        Extended ChainILength = 0;
        TGeoPoints ChainII;          // the stretch of type II nodes, backwards
        Extended ChainIILength = 0;
        bool HasExtent = false;      // the outer contour had a drawn side
        Extended MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
        void Clear();
    } Outline;
    // What the interior steps of RenderPolygon set for the grids (ground metres): the
    // area's centre, the middle of its outer extent with the extent's height (along X)
    // and width (along Y), the grid steps and the half-sizes of the rectangle that must
    // stay free around each grid point. Kept between areas, like Outline.
    struct TAreaState {
        TGeoPoint Centre;            // C, found by chords across and along the area
        TGeoPoint ExtentMiddle;      // C0
        Extended Height = 0;         // H, along X
        Extended Width = 0;          // W, along Y
        TGeoAngle Direction = 0;     // the main direction, [0, 180)
        Extended Across = 0;         // the chord through the centre square to Direction
        Extended Along = 0;          // the chord through it along Direction
        Extended StepX = 0;          // grid spacing along X (north)
        Extended StepY = 0;          // along Y (east)
        Extended FreeX = 0;          // half-size of the free rectangle along X
        Extended FreeY = 0;          // along Y
    } Area;
    // Fills Points with the grid of layout Order about (Xc, Yc) from Area's steps and
    // half-sizes: 0 the single point, 1 rectangular, 2 chequered (every second row moved
    // half a step west). A grid point stays when its free rectangle lies inside the outer
    // contour and outside every inner one. A step below a millimetre, an unknown layout
    // or more than MaxGridCandidates candidates gives no points.
    void CreatePointsInPolygon(int Order, TGeoPoints& Points, Extended Xc, Extended Yc);
    // The corners (x + v, y - h), (x + v, y + h), (x - v, y + h), (x - v, y - h).
    static void createSq(Extended x, Extended y, Extended v, Extended h, Extended& x1, Extended& y1,
                         Extended& x2, Extended& y2, Extended& x3, Extended& y3, Extended& x4,
                         Extended& y4);
    static constexpr Extended MaxGridCandidates = 1000000;
    // ---- Hatching (SymbolsHatching.cpp) ----
    // Each reads the outline state of the area just outlined; lengths in metres. A step,
    // picture or dash length below a millimetre, or a hatching of more than
    // MaxHatchStrokes strokes, lays nothing.

    // Places points every Step along P1 -> P2 from the distance Shift on, carrying the rest
    // of the step into the next segment through Shift (see TraceSegment).
    static void TraceLine(Extended& Shift, Extended X1, Extended Y1, Extended X2, Extended Y2,
                          Extended Step, TGeoPoints& Points);
    static void TraceLine(Extended& Shift, Extended X1, Extended Y1, Extended X2, Extended Y2,
                          Extended Step, TS1Points& Points);
    // Strokes of SP joining points every Step along chain I with as many points spread
    // evenly along chain II; with SubLines short strokes of SP2 (SubLineD long) between them.
    void CreateLinesInPolygon(Extended Step, const TVpLayers* SP, const TVpLayers* SP2, TVpLayers* DP,
                              Extended LD, Extended LD2, Extended SubLineD, bool SubLines);
    // Strokes LD long every Step along chain I, to its right.
    void CreateDashInPolygon(Extended Step, const TVpLayers* SP, TVpLayers* DP, Extended D, Extended LD);
    // Strokes every Step along chain I, square to it, across to the outer contour,
    // overshooting both ends by LD.
    void CreateLineIntersectInPolygon(Extended Step, const TVpLayers* SP, TVpLayers* DP, Extended D,
                                      Extended LD);
    // Strokes parallel to chain I's chord, Step apart on its right, across the outer
    // contour, until one misses it.
    void CreateParallelLineInPolygon(Extended Step, const TVpLayers* SP, TVpLayers* DP, Extended D);
    // Rays from chain I's first node to points every Step along the rest of the outer contour.
    void CreateRotateLineInPolygon(Extended Step, const TVpLayers* SP, TVpLayers* DP, Extended D);
    static constexpr Extended MaxHatchStrokes = 200000;

    // The most pattern pictures one line lays; past it only the continuous strokes follow.
    static constexpr long long MaxPatternPictures = 200000;
    // Pattern pictures laid so far on the line being rendered.
    long long PatternPictures = 0;
    // Resolves the point's sign, rebuilds its captions and leader and places the sign.
    // False, with SignName "#", when the point has no sign. Throws what the sign
    // selection or the measuring throws, with the trail.
    bool RenderPoint(RGPoint* Point);
    // The text of one caption from rule R and a found property's value: the rule's
    // parts around the value; "^X2"/"^Y2" the parts followed by the X (Y) of at with two
    // decimals and DecimalSeparator; any other text starting with "^" gives "".
    static QString CaptionText(const RSemText& R, const QString& value, const TGeoPoint& at);
    // Ground metres per sign millimetre: the scale denominator / 1000.
    Extended SignMetresPerMM() const { return Scale / 1000.0L; }

    // The line-render state, driven by the line and area renderers and read by the
    // placement routines.
    TLmode ObjKind = lmPoint;        // the kind of object being rendered
    Extended SegLength = 0;          // d, metres
    TGeoAngle SegAngle = 0;          // a, degrees clockwise from north
    Extended SegSin = 0;             // of SegAngle
    Extended SegCos = 1;
    TGeoAngle TurnStart = 180;       // turn angle at the segment's start node; 180 straight
    TGeoAngle TurnEnd = 180;         // at its end node
    Extended PicLength = 0;          // L, metres
    Extended Phase = 0;              // metres of the current picture laid, 0 <= Phase < L
    std::int32_t ElementCounter = 0;
    bool Alternation = true;         // set: the first segment picture is due
    bool InvertedSegment = false;    // in-line texts of this segment read the other way
    // The in-line caption of the line being rendered.
    QString InLineText;
    TUserStyle InLineStyle;          // size in dots
    Extended InLineWidth = 0;        // metres
    Extended InLineSize = 0;         // metres, the text's height
    bool InLineFixed = false;        // the text does not turn upright with the line
    TGeoPoint InLinePos;             // millimetres in the picture frame
    std::int16_t TextRepeat = 0;     // every n-th picture carries the text; <= 0 none

    // ---- State ----

    TLogFont LogFont;
    TFindedProps ObjectProps;        // the parts of the object being chosen for
    TFindedSemProps FindedSemProps;  // the found properties

    // Factors, all 0 until the first SetScale with a positive scale.
    Extended MapMMPerMetre = 0;      // 1000 / scale
    Extended MetresPerMapMM = 0;     // scale / 1000
    Extended DotsPerMM = 0;          // dpi / 25.4
    Extended MMPerDot = 0;
    Extended DotsPerMetre = 0;
    Extended MetresPerDot = 0;

    TGeoRectList CaptionFrames;      // the line renderer's caption frames

    TVpGPoints VpGPoints;
    TVpGLines VpGLines;
    TVpGPolygons VpGPolygons;
    TGeoTextStyles TextStyles;

    // Keys of objects for which no sign is looked for again, in the order found, one a
    // line of "неизвестные знаки.wri".
    QStringList UnknownSymbols;

    std::uint8_t AskUnknownWorkSem = 0;
    std::uint8_t AskUnknownSymbol = 0;
    std::uint8_t UseSynonyms = 0;
    Extended UprightTolerance = 5.0;   // degrees

    // What the last LoadSymbols could not read or write: one line per file, with the reason.
    QStringList LoadErrors;

    // The sign folder of a scale and its kind folders, found without regard to case.
    static QString SignFolder(int scale);
    static QString KindFolder(int scale, TLmode lm);

    // f applied to the sign list of kind lm (points for anything but line and polygon).
    template <class F>
    decltype(auto) WithList(TLmode lm, F&& f)
    {
        if (lm == lmLine)
            return f(VpGLines);
        if (lm == lmPolygon)
            return f(VpGPolygons);
        return f(VpGPoints);
    }

private:
    // A picture or dash shorter than this (a millimetre on the ground) lays nothing: a
    // zero or negative length would never advance, a tiny one would flood the picture.
    static constexpr Extended MinPatternLength = 0.001L;
    // Sets the segment length and direction (with its sine and cosine) for the placements.
    void SetSegment(Extended d, TGeoAngle a);
    // Lays first (alternating with second when that is not empty) as a pattern from A to
    // B, d long in direction a, from the library's Phase, PicLength and Alternation.
    // resetAfterTail: the picture after the tail starts afresh (the special line's dashes).
    void LayPattern(TVpLayers& dest, const TVpLayers* first, const TVpLayers* second,
                    const TGeoPoint& A, const TGeoPoint& B, Extended d, TGeoAngle a,
                    bool resetAfterTail);
    // Step is long enough to use and lays at most MaxHatchStrokes along length.
    static bool HatchStepUsable(Extended Step, Extended length);
    // Twice the larger side of the outer extent: a stroke this long crosses the whole area.
    Extended HatchReach() const;
    // The interior of an area with the current sign (RenderPolygon's later steps).
    void RenderAreaCaptions(RGPolygon& polygon, const RVpGPolygon& sign);
    void RenderAreaHatching(RGPolygon& polygon, const RVpGPolygon& sign);
    // The middle of the chord through from in the directions a and a + 180 across the
    // outer contour (the longest inner piece when that middle is not in the area);
    // length its length, 0 when the chord meets no side.
    TGeoPoint AreaChord(const TGeoPoint& from, TGeoAngle a, Extended& length) const;
    template <class TPoints>
    static void TraceChain(const TGeoPoints& chain, Extended Step, TPoints& Points);
    // One plain stroke p1 -> p2 in a new element of dest, in pic's own line colour and width.
    static void AddPlainStroke(TVpLayers& dest, const TVpLayers& pic, const TGeoPoint& p1,
                               const TGeoPoint& p2);
    // The sign an object is drawn with: the one its SignName names, or, with no name yet,
    // the one its semantics selects, whose name it then keeps. Null, with SignName "#",
    // when there is none; the kind's list is left on the sign found.
    template <class RObject, class TSignList>
    auto ResolveSign(RObject& object, TLmode lm, TSignList& signs) -> decltype(signs.Item)
    {
        if (object.SignName == u'#')
            return nullptr;
        if (object.SignName.isEmpty()) {
            if (SelectSymbol(object.Semantics, lm) && signs.Item) {
                object.SignName = signs.Item->Code;
                return signs.Item;
            }
        } else if (FindSymbol(object.SignName, lm)) {
            return signs.Item;
        }
        object.SignName = QStringLiteral("#");
        return nullptr;
    }

    // One sign of a kind as the index saw it: its record, a copy of its name and the
    // parts of its name.
    struct TIndexedSign {
        const void* Record = nullptr;
        QString Code;
        TFindedProps Parts;
    };
    // What SelectSymbol and FindSymbol search, per kind: the signs by object code in list
    // order, and the first sign of each name. A look-up, found or not, checks the count,
    // the sign under the list's cursor and the entries it uses; the index is built again
    // when one of them shows a sign added, removed, replaced or renamed. A sign list
    // changed from outside must therefore leave its cursor on the sign it changed (as
    // AddItem, InsertItem and editing through Item do) or its count changed.
    struct TKindIndex {
        std::vector<TIndexedSign> Signs;
        QHash<QString, std::vector<int>> ByObjCode;
        QHash<QString, int> ByName;
    };

    int SignCount(TLmode lm) const;
    bool GoSign(TLmode lm, int index);
    bool GoLastSign(TLmode lm);
    bool DeleteCurrentSign(TLmode lm);
    TKindIndex& Index(TLmode lm, bool rebuild = false);
    bool IndexHolds(TLmode lm, int i);
    bool SelectSymbolAt(const QString& name, TLmode lm, int depth);
    bool AddMissingSign(TLmode lm, const TFindedProps& parts);
    void ReadUnknownSymbols(int scale);

    bool ReadSymbolFile(const QString& filename, const QStringList& lines, TLmode lm,
                        bool& newStyle);
    bool WriteSymbolFile(const QString& filename, TLmode lm);
    void AddUnknown(const QString& key);
    void ResolveStyle(const std::unique_ptr<TUserStyle>& own, const QString& styleName,
                      TUserStyle& Style, bool inDots, bool roundNamed);

    QStringList ShownLoadErrors;   // the errors last said in the message window
    int Scale = 0;
    int LoadedScale = 0;   // the scale whose library (and missing-sign list) was loaded
    // The keys of UnknownSymbols for the look-up, and the list as it was when they were
    // taken: a change of the list from outside makes it a list of its own, and the keys
    // are taken again.
    bool IsUnknown(const QString& key);
    QSet<QString> UnknownSet;
    QStringList UnknownSetSource;
    std::array<TKindIndex, 3> Indexes;
    std::unique_ptr<TTextMeasurer> TextMeasurer;
};
