// Which objects of a plan meet a rectangle: a uniform grid over the extent of every
// object of every sheet and layer (the box of what it paints, which the sign renderer
// keeps on the object; a text's frame; the geometry of an object not rendered yet).
// Kept by the plan document as of its last screen drawing (TGeoMap::Extents), rebuilt by
// a whole drawing, brought up to one edit by the redraw of what it touched (Refresh: the
// edited object's box, objects gone and added), read by the hit test while no command
// has run since. Only the thread that owns the plan touches it.
#pragma once

#include "foundation/GeoDataObjects.h"

#include <QRect>
#include <cstddef>
#include <cstdint>
#include <vector>

// Pixels beyond an object's extent that drawing it may still touch at any scale: a node
// mark reaches two pixels about its node, a pen of width 0 or 1 half a pixel, and pen
// widths and coordinates are rounded to whole pixels.
constexpr int ExtentMarginPixels = 4;

class TGeoMap;

// The pixels of the picture the last drawing drew that an object of extent box may
// touch: the box's pixels widened by ExtentMarginPixels, cut to the picture; empty for
// an empty box. (GeoMapDrawDirty.cpp)
QRect ExtentPixels(const TGeoMap& map, const TObjectExtent& box);

// The kinds of an entry, in the order a sheet is drawn: polygons under lines under
// points under texts, whatever their layers.
enum : std::uint8_t { ekPolygon = 0, ekLine = 1, ekPoint = 2, ekText = 3 };

// One object: where it stands in the plan and its box.
struct RExtentEntry {
    TObjectExtent Box;
    std::int32_t Page = 0;
    std::int32_t Layer = 0;
    std::int32_t Index = 0;
    std::uint8_t Kind = ekPolygon;
    std::uint8_t Unmeasured = 0;     // a text whose frame was not measured yet
    const void* Object = nullptr;    // the record, to tell it in its list after a change
};

// What a grid was built from: another key means another plan, or a changed one.
struct RExtentKey {
    std::uint64_t Edits = 0;          // TGeoMap::EditCount
    const void* Symbols = nullptr;    // the sign library the pictures came from
    std::int64_t Rendered = 0;        // its count of objects rendered
    std::uint64_t Structure = 0;      // sheets, layers and list counts

    bool operator==(const RExtentKey&) const = default;
};

class TObjectExtents {
public:
    // Every object of pages, hidden sheets and layers included, in drawing order: sheet
    // by sheet, polygons of every layer, then lines, points and texts, each in layer and
    // list order. Moves no cursor.
    void Build(const TGPages& pages, const RExtentKey& key);
    // Brings the grid up to one edit without reading every object again: the box of
    // changed (the one object the edit rendered anew, or null) taken again, objects gone
    // from their lists dropped and objects added taken, every other box kept as it was.
    // Sound only when no object but changed, and those added or gone, differs from what
    // the grid was built from; false (the grid untouched) when the sheets, the layers or
    // the sign library are not those of the grid, and it has to be built again.
    bool Refresh(const TGPages& pages, const RExtentKey& key, const void* changed);

    const RExtentKey& Key() const { return BuiltKey; }
    // A hash of the sheets, their layers and the counts of their lists, cheap to take
    // (no object is read).
    static std::uint64_t StructureOf(const TGPages& pages);

    // The entries whose box meets box, ascending: the drawing's order.
    void Query(const TObjectExtent& box, std::vector<std::int32_t>& out) const;
    // The entry of object index of the kind in the layer of the sheet; null when the
    // grid holds none (an object added since it was built).
    const RExtentEntry* Find(int page, int layer, std::uint8_t kind, int index) const;

    std::size_t Count() const { return Entries.size(); }
    // Texts whose frame was not measured when the grid was built: a drawing measures
    // them, and the grid is built again after it.
    std::size_t Unmeasured() const { return UnmeasuredTexts; }
    // The longest diagonal of any box: what the contour tests' edge tolerance can reach
    // beyond a box grows with it.
    double LargestDiagonal() const { return Diagonal; }
    const RExtentEntry& Entry(std::size_t i) const { return Entries[i]; }
    // Bytes held by the grid: entries, cells and their lists.
    std::size_t MemoryBytes() const;

    // The box of an object now: its extent once rendered, else its geometry and texts.
    static TObjectExtent BoxOf(const RGPoint& point);
    static TObjectExtent BoxOf(const RGLine& line);
    static TObjectExtent BoxOf(const RGPolygon& polygon);
    static TObjectExtent BoxOf(const RGText& text) { return TextExtent(text); }

private:
    // The entries of every list of pages in drawing order, each made by take(page,
    // layer, kind, index, object); the list starts beside them.
    template <class Take>
    void Walk(const TGPages& pages, Take take);
    // Sorts the entries into cells of a size fitted to their boxes and count.
    void Place();
    // The cells a box covers, clamped to the grid.
    void CellRange(const TObjectExtent& box, int& c0, int& r0, int& c1, int& r1) const;

    RExtentKey BuiltKey;
    std::size_t UnmeasuredTexts = 0;
    double Diagonal = 0;
    std::vector<RExtentEntry> Entries;
    // Where each (sheet, layer, kind) list begins among the entries.
    struct RListStart {
        std::int32_t Page, Layer;
        std::uint8_t Kind;
        std::int32_t First, Count;
        const void* Owner;   // the layer, to tell another one in its place
    };
    std::vector<RListStart> Lists;
    // Cells in rows from the south-west corner; each cell's entries are
    // CellEntries[CellStart[c] .. CellStart[c + 1]), ascending. An entry spanning too
    // many cells is kept in Large instead, tested at every query.
    double OriginX = 0;
    double OriginY = 0;
    double CellSize = 1;
    int Columns = 0;
    int Rows = 0;
    std::vector<std::int32_t> CellStart;
    std::vector<std::int32_t> CellEntries;
    std::vector<std::int32_t> Large;
    // Large's length when the cells were last placed: entries a refresh changed or added
    // are kept there too (their boxes no longer match their cells), and past a few
    // hundred of them the cells are placed again.
    std::size_t LargePlaced = 0;
};
