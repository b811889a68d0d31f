// The grid of object extents: entries in drawing order, cells of a size that puts about
// one object in each, and the few objects too large for cells kept aside.
#include "engine/draw/ObjectExtents.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace {

// An object spanning more cells than this is tested at every query instead: a long
// contour line or a whole-sheet polygon would otherwise fill whole rows of cells.
constexpr std::int64_t MaxCellsPerEntry = 64;

std::uint64_t Mix(std::uint64_t h, std::uint64_t v)
{
    h ^= v + 0x9E3779B97F4A7C15ULL + (h << 6) + (h >> 2);
    return h;
}

}  // namespace

std::uint64_t TObjectExtents::StructureOf(const TGPages& pages)
{
    std::uint64_t h = Mix(0, std::uint64_t(pages.GetCount()));
    for (const auto& page : pages) {
        h = Mix(h, std::uint64_t(reinterpret_cast<std::uintptr_t>(page.get())));
        h = Mix(h, std::uint64_t(page->Layers.GetCount()));
        for (const auto& layer : page->Layers) {
            h = Mix(h, std::uint64_t(reinterpret_cast<std::uintptr_t>(layer.get())));
            h = Mix(h, std::uint64_t(layer->Polygons.GetCount()));
            h = Mix(h, std::uint64_t(layer->Lines.GetCount()));
            h = Mix(h, std::uint64_t(layer->Points.GetCount()));
            h = Mix(h, std::uint64_t(layer->Texts.GetCount()));
        }
    }
    return h;
}

// The extent the renderer left, joined with the geometry the hit test reads now: a
// command may have moved the object since its rendering, and until a drawing renders
// it again the hit test tests where it stands.
TObjectExtent TObjectExtents::BoxOf(const RGPoint& point)
{
    TObjectExtent box = point.Extent;
    box.Add(point.Position.X, point.Position.Y);
    if (!point.Extent.Empty())
        return box;
    for (const auto& t : point.AutoTexts)
        box.Add(TextExtent(*t));
    for (const auto& t : point.InnerTexts)
        box.Add(TextExtent(*t));
    return box;
}

TObjectExtent TObjectExtents::BoxOf(const RGLine& line)
{
    TObjectExtent box = line.Extent;
    if (line.Track.GetCount() > 0) {
        for (const auto& p : line.Track)
            box.Add(p->Point.X, p->Point.Y);
    } else {
        for (const auto& n : line.Nodes)
            box.Add(n->Position.X, n->Position.Y);
    }
    if (!line.Extent.Empty())
        return box;
    for (const auto& n : line.Nodes) {
        box.Add(n->Position.X, n->Position.Y);
        for (const auto& q : n->NodePoints)
            box.Add(BoxOf(*q));
    }
    for (const auto& t : line.AutoTexts)
        box.Add(TextExtent(*t));
    for (const auto& t : line.InnerTexts)
        box.Add(TextExtent(*t));
    return box;
}

TObjectExtent TObjectExtents::BoxOf(const RGPolygon& polygon)
{
    TObjectExtent box = polygon.Extent;
    for (const auto& n : polygon.Nodes)
        box.Add(n->Position.X, n->Position.Y);
    if (!polygon.Extent.Empty())
        return box;
    for (const auto& hole : polygon.Holes)
        for (const auto& n : hole->Nodes)
            box.Add(n->Position.X, n->Position.Y);
    for (const auto& t : polygon.AutoTexts)
        box.Add(TextExtent(*t));
    for (const auto& t : polygon.InnerTexts)
        box.Add(TextExtent(*t));
    for (const auto& q : polygon.InnerPoints)
        box.Add(BoxOf(*q));
    for (const auto& l : polygon.InnerLines)
        box.Add(BoxOf(*l));
    return box;
}

namespace {

// An object's entry, its box as BoxOf gives it.
template <class O>
RExtentEntry EntryOf(const O& o, int page, int layer, int index, std::uint8_t kind)
{
    RExtentEntry e{TObjectExtents::BoxOf(o), page, layer, index, kind};
    if constexpr (std::is_same_v<O, RGText>)
        e.Unmeasured = o.FrameValid ? 0 : 1;
    e.Object = &o;
    return e;
}

bool SameBox(const TObjectExtent& a, const TObjectExtent& b)
{
    return a.MinX == b.MinX && a.MinY == b.MinY && a.MaxX == b.MaxX && a.MaxY == b.MaxY;
}

// Entries a refresh may leave outside the cells (tested at every query) before the
// cells are placed again: a few hundred box tests cost less than a microsecond each.
constexpr std::size_t MaxRefreshedEntries = 256;

// How far down its old list an object is looked for: an edit adds or removes an object
// or two, and an object not found so near is taken anew, which is always right.
constexpr int MatchWindow = 64;

}  // namespace

template <class Visit>
void TObjectExtents::Walk(const TGPages& pages, Visit visit)
{
    int page = 0;
    for (const auto& p : pages) {
        int layer = 0;
        for (const auto& l : p->Layers)
            visit(page, layer++, *l, ekPolygon, l->Polygons);
        layer = 0;
        for (const auto& l : p->Layers)
            visit(page, layer++, *l, ekLine, l->Lines);
        layer = 0;
        for (const auto& l : p->Layers)
            visit(page, layer++, *l, ekPoint, l->Points);
        layer = 0;
        for (const auto& l : p->Layers)
            visit(page, layer++, *l, ekText, l->Texts);
        ++page;
    }
}

void TObjectExtents::Build(const TGPages& pages, const RExtentKey& key)
{
    BuiltKey = key;
    Entries.clear();
    Lists.clear();
    Walk(pages, [&](int page, int layer, const RGLayer& owner, std::uint8_t kind, const auto& objects) {
        const auto first = static_cast<std::int32_t>(Entries.size());
        int index = 0;
        for (const auto& o : objects)
            Entries.push_back(EntryOf(*o, page, layer, index++, kind));
        Lists.push_back({page, layer, kind, first, static_cast<std::int32_t>(Entries.size()) - first, &owner});
    });
    Place();
}

bool TObjectExtents::Refresh(const TGPages& pages, const RExtentKey& key, const void* changed)
{
    if (key.Symbols != BuiltKey.Symbols)
        return false;
    // The lists against the grid's: the same sheets and layers, and whether any list
    // lost or gained an object (its records, by address, not those of the grid).
    std::size_t k = 0;
    bool sameLayers = true, sameObjects = true;
    std::int32_t changedAt = -1;
    Walk(pages, [&](int page, int layer, const RGLayer& owner, std::uint8_t kind, const auto& objects) {
        if (!sameLayers || k >= Lists.size()) {
            sameLayers = false;
            return;
        }
        const RListStart& l = Lists[k++];
        if (l.Page != page || l.Layer != layer || l.Kind != kind || l.Owner != &owner) {
            sameLayers = false;
            return;
        }
        if (!sameObjects)
            return;
        if (objects.GetCount() != l.Count) {
            sameObjects = false;
            return;
        }
        for (std::int32_t i = 0; i < l.Count; ++i) {
            const void* o = objects.At(i);
            if (o != Entries[std::size_t(l.First + i)].Object) {
                sameObjects = false;
                return;
            }
            if (o == changed)
                changedAt = l.First + i;
        }
    });
    if (!sameLayers || k != Lists.size())
        return false;

    // The box an entry's object has now.
    const auto retake = [](const RExtentEntry& e) {
        switch (e.Kind) {
        case ekPolygon: return EntryOf(*static_cast<const RGPolygon*>(e.Object), e.Page, e.Layer, e.Index, e.Kind);
        case ekLine: return EntryOf(*static_cast<const RGLine*>(e.Object), e.Page, e.Layer, e.Index, e.Kind);
        case ekPoint: return EntryOf(*static_cast<const RGPoint*>(e.Object), e.Page, e.Layer, e.Index, e.Kind);
        default: return EntryOf(*static_cast<const RGText*>(e.Object), e.Page, e.Layer, e.Index, e.Kind);
        }
    };
    // An entry whose box is not that of its cells: tested at every query. (The longest
    // diagonal only grows here: a longer one widens the hit test's candidates, never
    // its hits.)
    const auto outOfCells = [this](std::int32_t i, bool listed) {
        const RExtentEntry& e = Entries[std::size_t(i)];
        if (e.Box.Empty())
            return;
        Diagonal = std::max(Diagonal, std::hypot(e.Box.MaxX - e.Box.MinX, e.Box.MaxY - e.Box.MinY));
        if (!listed)
            Large.push_back(i);
    };

    if (sameObjects) {
        // The one edited object: its box taken again, and tested at every query until
        // the cells are placed again (those it stands in are of its old box).
        if (changedAt >= 0) {
            RExtentEntry& e = Entries[std::size_t(changedAt)];
            const RExtentEntry now = retake(e);
            UnmeasuredTexts = UnmeasuredTexts - e.Unmeasured + now.Unmeasured;
            const bool moved = !SameBox(now.Box, e.Box);
            e = now;
            if (moved)
                outOfCells(changedAt, std::find(Large.begin() + std::ptrdiff_t(LargePlaced), Large.end(),
                                                changedAt) != Large.end());
        }
    } else {
        // The entries again in drawing order. A list that kept its records keeps its
        // boxes; one that lost or gained one has every box taken again (a record may
        // stand where a gone one stood), and its records found in the old list keep
        // their cells while their boxes are unchanged.
        std::vector<RExtentEntry> fresh;
        fresh.reserve(Entries.size() + 16);
        std::vector<RListStart> lists;
        lists.reserve(Lists.size());
        std::vector<std::int32_t> to(Entries.size(), -1);
        std::vector<std::int32_t> added;
        k = 0;
        Walk(pages, [&](int page, int layer, const RGLayer& owner, std::uint8_t kind, const auto& objects) {
            const RListStart& l = Lists[k++];
            const auto first = static_cast<std::int32_t>(fresh.size());
            const int n = objects.GetCount();
            bool kept = n == l.Count;
            for (int i = 0; kept && i < n; ++i)
                kept = objects.At(i) == Entries[std::size_t(l.First + i)].Object;
            int j = 0;
            for (int i = 0; i < n; ++i) {
                const auto* o = objects.At(i);
                const auto at = static_cast<std::int32_t>(fresh.size());
                int m = j;
                while (m < l.Count && m < j + MatchWindow && Entries[std::size_t(l.First + m)].Object != o)
                    ++m;
                const bool found = m < l.Count && Entries[std::size_t(l.First + m)].Object == o;
                if (found && kept && o != changed) {
                    fresh.push_back(Entries[std::size_t(l.First + m)]);
                    to[std::size_t(l.First + m)] = at;
                } else {
                    fresh.push_back(EntryOf(*o, page, layer, i, kind));
                    const RExtentEntry* old = found ? &Entries[std::size_t(l.First + m)] : nullptr;
                    if (old && SameBox(old->Box, fresh.back().Box))
                        to[std::size_t(l.First + m)] = at;
                    else
                        added.push_back(at);
                }
                if (found)
                    j = m + 1;
            }
            lists.push_back({page, layer, kind, first, static_cast<std::int32_t>(fresh.size()) - first, &owner});
        });

        // The cells and the large entries renumbered: the numbers of the kept entries
        // grow as before, so each cell's list stays ascending.
        std::size_t w = 0;
        for (std::size_t c = 0; c + 1 < CellStart.size(); ++c) {
            const std::int32_t begin = CellStart[c], end = CellStart[c + 1];
            CellStart[c] = static_cast<std::int32_t>(w);
            for (std::int32_t q = begin; q < end; ++q) {
                const std::int32_t t = to[std::size_t(CellEntries[std::size_t(q)])];
                if (t >= 0)
                    CellEntries[w++] = t;
            }
        }
        CellStart.back() = static_cast<std::int32_t>(w);
        CellEntries.resize(w);
        std::size_t placed = 0, left = 0;
        for (std::size_t q = 0; q < Large.size(); ++q) {
            const std::int32_t t = to[std::size_t(Large[q])];
            if (t < 0)
                continue;
            Large[left++] = t;
            if (q < LargePlaced)
                ++placed;
        }
        Large.resize(left);
        LargePlaced = placed;
        Entries.swap(fresh);
        Lists.swap(lists);
        UnmeasuredTexts = 0;
        for (const RExtentEntry& e : Entries)
            UnmeasuredTexts += e.Unmeasured;
        for (const std::int32_t i : added)
            outOfCells(i, false);
    }
    BuiltKey = key;
    if (Large.size() - LargePlaced > MaxRefreshedEntries)
        Place();
    return true;
}

void TObjectExtents::Place()
{
    Large.clear();
    UnmeasuredTexts = 0;
    Diagonal = 0;
    // The bounds of every box, and a cell of about one object's share of the area.
    TObjectExtent bounds;
    std::size_t boxes = 0;
    for (const RExtentEntry& e : Entries) {
        UnmeasuredTexts += e.Unmeasured;
        if (!e.Box.Empty()) {
            bounds.Add(e.Box);
            Diagonal = std::max(Diagonal, std::hypot(e.Box.MaxX - e.Box.MinX, e.Box.MaxY - e.Box.MinY));
            ++boxes;
        }
    }
    Columns = Rows = 0;
    CellStart.assign(1, 0);
    CellEntries.clear();
    LargePlaced = 0;
    if (bounds.Empty())
        return;
    const double spanX = std::max(bounds.MaxX - bounds.MinX, 1e-3);
    const double spanY = std::max(bounds.MaxY - bounds.MinY, 1e-3);
    CellSize = std::max(std::sqrt(spanX * spanY / double(boxes)), 1e-3);
    // Never more cells than about two per object.
    while ((spanX / CellSize + 1) * (spanY / CellSize + 1) > 2.0 * double(boxes) + 16)
        CellSize *= 1.25;
    OriginX = bounds.MinX;
    OriginY = bounds.MinY;
    Rows = int(spanX / CellSize) + 1;
    Columns = int(spanY / CellSize) + 1;

    // Counted, then placed: each cell's entries ascend because the entries are walked
    // in order.
    std::vector<std::int32_t> counts(std::size_t(Rows) * Columns + 1, 0);
    std::vector<char> large(Entries.size(), 0);
    for (std::size_t i = 0; i < Entries.size(); ++i) {
        const TObjectExtent& b = Entries[i].Box;
        if (b.Empty())
            continue;
        int c0, r0, c1, r1;
        CellRange(b, c0, r0, c1, r1);
        if (std::int64_t(c1 - c0 + 1) * (r1 - r0 + 1) > MaxCellsPerEntry) {
            large[i] = 1;
            Large.push_back(std::int32_t(i));
            continue;
        }
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                ++counts[std::size_t(r) * Columns + c];
    }
    CellStart.assign(counts.size(), 0);
    std::int32_t total = 0;
    for (std::size_t c = 0; c + 1 < counts.size(); ++c) {
        CellStart[c] = total;
        total += counts[c];
    }
    CellStart.back() = total;
    CellEntries.assign(std::size_t(total), 0);
    std::vector<std::int32_t> fill(CellStart.begin(), CellStart.end() - 1);
    for (std::size_t i = 0; i < Entries.size(); ++i) {
        const TObjectExtent& b = Entries[i].Box;
        if (b.Empty() || large[i])
            continue;
        int c0, r0, c1, r1;
        CellRange(b, c0, r0, c1, r1);
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                CellEntries[std::size_t(fill[std::size_t(r) * Columns + c]++)] = std::int32_t(i);
    }
    LargePlaced = Large.size();
}

void TObjectExtents::CellRange(const TObjectExtent& box, int& c0, int& r0, int& c1, int& r1) const
{
    const auto cell = [this](double v, double origin, int count) {
        const double k = std::floor((v - origin) / CellSize);
        if (!(k > 0))
            return 0;
        return k >= count - 1 ? count - 1 : int(k);
    };
    r0 = cell(box.MinX, OriginX, Rows);
    r1 = cell(box.MaxX, OriginX, Rows);
    c0 = cell(box.MinY, OriginY, Columns);
    c1 = cell(box.MaxY, OriginY, Columns);
}

void TObjectExtents::Query(const TObjectExtent& box, std::vector<std::int32_t>& out) const
{
    out.clear();
    if (box.Empty())
        return;
    for (const std::int32_t i : Large)
        if (Entries[std::size_t(i)].Box.Meets(box))
            out.push_back(i);
    if (Rows > 0 && box.MaxX >= OriginX && box.MaxY >= OriginY &&
        box.MinX <= OriginX + Rows * CellSize && box.MinY <= OriginY + Columns * CellSize) {
        int c0, r0, c1, r1;
        CellRange(box, c0, r0, c1, r1);
        for (int r = r0; r <= r1; ++r) {
            for (int c = c0; c <= c1; ++c) {
                const std::size_t cell = std::size_t(r) * Columns + c;
                for (std::int32_t k = CellStart[cell]; k < CellStart[cell + 1]; ++k) {
                    const std::int32_t i = CellEntries[std::size_t(k)];
                    if (Entries[std::size_t(i)].Box.Meets(box))
                        out.push_back(i);
                }
            }
        }
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
}

const RExtentEntry* TObjectExtents::Find(int page, int layer, std::uint8_t kind, int index) const
{
    for (const RListStart& l : Lists) {
        if (l.Page == page && l.Layer == layer && l.Kind == kind)
            return index >= 0 && index < l.Count ? &Entries[std::size_t(l.First + index)] : nullptr;
    }
    return nullptr;
}

std::size_t TObjectExtents::MemoryBytes() const
{
    return Entries.capacity() * sizeof(RExtentEntry) + Lists.capacity() * sizeof(RListStart) +
           (CellStart.capacity() + CellEntries.capacity() + Large.capacity()) * sizeof(std::int32_t);
}
