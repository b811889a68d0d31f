#include "foundation/GeoDataObjectsSigns.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <vector>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VELMORA_PLAIN_PICTURE_RECORDS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define VELMORA_PLAIN_PICTURE_RECORDS 1
#endif
#endif

namespace {

// ---- Picture records ----
// Sizes in steps of 16 bytes up to 256 (every picture record fits; a larger size goes
// to the heap). Each thread keeps a free list per size; a list grown past LocalLimit
// blocks (a thread freeing what another makes) goes to the shared lists, from which an
// empty list is refilled before a new slab is cut. Slabs are kept for the run: freed
// records are used again, not given back to the system.
constexpr std::size_t Granule = 16;
constexpr std::size_t Classes = 16;
constexpr std::size_t SlabBytes = 64 * 1024;
constexpr std::size_t LocalLimit = 16384;

struct TFreeBlock {
    TFreeBlock* Next;
};

struct TFreeList {
    TFreeBlock* Head = nullptr;
    TFreeBlock* Tail = nullptr;
    std::size_t Count = 0;
    void Push(TFreeBlock* b)
    {
        b->Next = Head;
        Head = b;
        if (!Tail)
            Tail = b;
        ++Count;
    }
    TFreeBlock* Pop()
    {
        TFreeBlock* b = Head;
        Head = b->Next;
        if (!Head)
            Tail = nullptr;
        --Count;
        return b;
    }
    // Moves every block of from to the front of this list.
    void Splice(TFreeList& from)
    {
        if (!from.Head)
            return;
        from.Tail->Next = Head;
        if (!Tail)
            Tail = from.Tail;
        Head = from.Head;
        Count += from.Count;
        from = TFreeList();
    }
};

struct TSharedRecords {
    std::mutex Lock;
    TFreeList Free[Classes];
    std::vector<void*> Slabs;   // kept, so that the blocks stay reachable
};

// Never destroyed: records may still be freed while the program's statics go.
TSharedRecords& Shared()
{
    static TSharedRecords* shared = new TSharedRecords;
    return *shared;
}

// Plain data, so that it stays usable on the thread after its destructors ran (a record
// freed by a static's destructor at exit); Closed from then on, and the shared lists are
// used directly.
struct TLocalRecords {
    TFreeList Free[Classes];
    bool Closed;
};
thread_local TLocalRecords Local{};

// Hands the thread's blocks to the shared lists when the thread ends.
struct TLocalRecordsFlush {
    ~TLocalRecordsFlush()
    {
        TSharedRecords& shared = Shared();
        const std::lock_guard<std::mutex> lock(shared.Lock);
        for (std::size_t c = 0; c < Classes; ++c)
            shared.Free[c].Splice(Local.Free[c]);
        Local.Closed = true;
    }
};

// Makes sure the thread's blocks go to the shared lists when the thread ends.
void EnsureFlush()
{
    thread_local TLocalRecordsFlush flush;
    static_cast<void>(flush);
}

void* TakeSlow(std::size_t c)
{
    EnsureFlush();
    TSharedRecords& shared = Shared();
    const std::lock_guard<std::mutex> lock(shared.Lock);
    TFreeList& from = shared.Free[c];
    if (Local.Closed) {
        if (from.Head)
            return from.Pop();
    } else {
        // At most half a local list at a time, so that the next frees do not send it
        // straight back.
        TFreeList& mine = Local.Free[c];
        for (std::size_t i = 0; i < LocalLimit / 2 && from.Head; ++i)
            mine.Push(from.Pop());
        if (mine.Head)
            return mine.Pop();
    }
    const std::size_t block = (c + 1) * Granule;
    if (shared.Slabs.size() == shared.Slabs.capacity())
        shared.Slabs.reserve(std::max<std::size_t>(64, 2 * shared.Slabs.capacity()));
    char* slab = static_cast<char*>(::operator new(SlabBytes));
    shared.Slabs.push_back(slab);
    TFreeList& into = Local.Closed ? from : Local.Free[c];
    for (std::size_t at = SlabBytes / block * block; at >= 2 * block; at -= block)
        into.Push(reinterpret_cast<TFreeBlock*>(slab + at - block));
    return slab;
}

// Appends every point of source to target, walking source with its cursor.
void CopyPoints(TGeoPoints& source, TGeoPoints& target)
{
    if (!source.GoFirstItem())
        return;
    do {
        target.AddItem();
        *target.Item = *source.Item;
    } while (source.GoNextItem());
}

}  // namespace

void* TakePictureRecord(std::size_t size)
{
#ifdef VELMORA_PLAIN_PICTURE_RECORDS
    return ::operator new(size);
#else
    if (size == 0 || size > Granule * Classes)
        return ::operator new(size);
    const std::size_t c = (size - 1) / Granule;
    TFreeList& mine = Local.Free[c];
    if (!Local.Closed && mine.Head)
        return mine.Pop();
    return TakeSlow(c);
#endif
}

void GivePictureRecord(void* record, std::size_t size) noexcept
{
#ifdef VELMORA_PLAIN_PICTURE_RECORDS
    ::operator delete(record);
    static_cast<void>(size);
#else
    if (!record)
        return;
    if (size == 0 || size > Granule * Classes) {
        ::operator delete(record);
        return;
    }
    const std::size_t c = (size - 1) / Granule;
    TFreeBlock* b = static_cast<TFreeBlock*>(record);
    if (!Local.Closed) {
        TFreeList& mine = Local.Free[c];
        mine.Push(b);
        if (mine.Count == 1)
            EnsureFlush();
        if (mine.Count <= LocalLimit)
            return;
        TSharedRecords& shared = Shared();
        const std::lock_guard<std::mutex> lock(shared.Lock);
        shared.Free[c].Splice(mine);
        return;
    }
    TSharedRecords& shared = Shared();
    const std::lock_guard<std::mutex> lock(shared.Lock);
    shared.Free[c].Push(b);
#endif
}

bool TVpLayers::AddLayer(RVpLayer& layer)
{
    TTrailGuard guard("GeoDataObjects", "Function: TVpLayers.AddLayer(const Layer:PVpLayer):boolean;",
                      TrailArg("Layer", &layer));
    AddItem();
    RVpLayer& copy = *Item;
    if (layer.Polygons.GoFirstItem()) {
        do {
            const RVpPolygon& s = *layer.Polygons.Item;
            copy.Polygons.AddItem();
            RVpPolygon& d = *copy.Polygons.Item;
            static_cast<TVpPen&>(d) = s;
            static_cast<TVpFill&>(d) = s;
            CopyPoints(layer.Polygons.Item->Points, d.Points);
            for (const auto& ring : layer.Polygons.Item->Holes) {
                d.Holes.AddItem();
                CopyPoints(ring->Points, d.Holes.Item->Points);
            }
        } while (layer.Polygons.GoNextItem());
    }
    if (layer.Circles.GoFirstItem()) {
        do {
            copy.Circles.AddItem();
            *copy.Circles.Item = *layer.Circles.Item;
        } while (layer.Circles.GoNextItem());
    }
    if (layer.Lines.GoFirstItem()) {
        do {
            copy.Lines.AddItem();
            *copy.Lines.Item = *layer.Lines.Item;
        } while (layer.Lines.GoNextItem());
    }
    if (layer.Polylines.GoFirstItem()) {
        do {
            copy.Polylines.AddItem();
            RVpPolyline& d = *copy.Polylines.Item;
            static_cast<TVpPen&>(d) = *layer.Polylines.Item;
            CopyPoints(layer.Polylines.Item->Points, d.Points);
        } while (layer.Polylines.GoNextItem());
    }
    if (layer.Texts.GoFirstItem()) {
        do {
            const RVpText& s = *layer.Texts.Item;
            copy.Texts.AddItem();
            RVpText& d = *copy.Texts.Item;
            d.StyleName = s.StyleName;
            d.Angle = s.Angle;
            d.Text = s.Text;
            d.Position = s.Position;
            d.OwnStyle = CopyStyle(s.OwnStyle);
        } while (layer.Texts.GoNextItem());
    }
    return true;
}

bool TVpGPolygons::NeedExtCalc() const
{
    const RVpGPolygon* s = Item;
    if (!s)
        return false;
    const auto styled = [](const TVpLayers& picture, std::uint8_t style) {
        return picture.GetCount() > 0 && style != 0;
    };
    return s->Fill1.GetCount() > 0 || s->Fill2.GetCount() > 0 || s->Fill3.GetCount() > 0 ||
           s->Center.GetCount() > 0 || styled(s->Diagonals1, s->Diagonals1Style) ||
           styled(s->Diagonals2, s->Diagonals2Style) || styled(s->Cross1, s->Cross1Style) ||
           styled(s->Cross2, s->Cross2Style) || s->Captions.GetCount() > 0;
}
