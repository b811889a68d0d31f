// The list family of the data model: every collection (sheets, layers, objects, nodes,
// sign pictures, classifier tables, search results) is a list of records with a
// built-in cursor. Callers position the cursor, then read or write through Item.
//
// Cursor contract (engine, readers, fillers and renderers rely on it):
// - AddItem appends and leaves the cursor on the new record.
// - InsertItem(i) leaves the cursor on the new record at i.
// - DeleteItem leaves the cursor on the successor, or on the new last record when the
//   last one went, or nowhere when the list became empty.
// - ChangeItems(i, j) leaves the cursor on j.
// - A failed move leaves the cursor where it was.
// The saved cursor (SaveIP/RestIP) behaves as a node of a linked list: records are
// shifted through fixed nodes, so inserts and exchanges keep its position; a delete
// before it moves it back by one; deleting its own node clears it.
#pragma once

#include "foundation/ErrorTrail.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace list_detail {
// Appends the derived-list trail block: "Module name: GeoDataObjects",
// "Procedure: <list>.<routine>" and the argument lines.
void AddListTrail(const char* listName, const QString& routine, const QStringList& args);

// A list's two names (texts that live as long as the program), kept once for all the
// lists that share them: a list holds one pointer instead of two.
struct TListNames {
    const char* List;
    const char* Record;
};
const TListNames* SharedNames(const char* listName, const char* recordName);
}  // namespace list_detail

// Holder is std::unique_ptr<R> for owning lists; R* for the one list whose records
// belong to the caller.
//
// A plan holds millions of lists, most of them empty (the points of a line node, the
// captions of an object), so a list is three pointers: Item, its names, and one block
// made at the first record that holds the count, the capacity, the cursor, the saved
// cursor and the records.
template <class R, class Holder = std::unique_ptr<R>>
class TCursorList {
public:
    static constexpr bool Owning = !std::is_pointer_v<Holder>;

    TCursorList(const char* listName, const char* recordName)
        : Names(list_detail::SharedNames(listName, recordName))
    {
    }
    TCursorList(const TCursorList&) = delete;
    TCursorList& operator=(const TCursorList&) = delete;
    ~TCursorList()
    {
        if (!Block)
            return;
        // First to last, as a vector frees its elements.
        Holder* items = Items();
        for (int i = 0; i < Block->Count; ++i)
            items[i].~Holder();
        ::operator delete(Block);
    }

    R* Item = nullptr;   // the record under the cursor, null when the list is empty

    // Appends a new record with its defaults; cursor and Item on it.
    bool AddItem() requires Owning
    {
        try {
            Append(std::make_unique<R>());
            SetCursor(GetCount() - 1);
            return true;
        } catch (...) {
            list_detail::AddListTrail(Names->List, QStringLiteral("AddItem(const Item:%1):boolean;")
                                                      .arg(QLatin1String(Names->Record)), {});
            throw;
        }
    }

    // Appends a record made by the caller (a copy, a record read into a staging tree);
    // false, nothing changed, for a null record.
    bool AddItem(std::unique_ptr<R> record) requires Owning
    {
        if (!record)
            return false;
        Append(std::move(record));
        SetCursor(GetCount() - 1);
        return true;
    }

    // The non-owning list stores the caller's pointer; false, nothing changed, for null.
    bool AddItem(R* p) requires(!Owning)
    {
        if (!p)
            return false;
        Append(p);
        SetCursor(GetCount() - 1);
        return true;
    }

    // A new record with its defaults at position i (0..Count); false, nothing changed,
    // outside that range.
    bool InsertItem(int i) requires Owning
    {
        const int n = GetCount();
        if (i < 0 || i > n)
            return false;
        try {
            Insert(i, std::make_unique<R>());
            SetCursor(i);
            return true;
        } catch (...) {
            list_detail::AddListTrail(Names->List, QStringLiteral("InsertItem(const Item:%1; const i:Integer):boolean;")
                                                      .arg(QLatin1String(Names->Record)),
                                      {QStringLiteral("i=%1").arg(i)});
            throw;
        }
    }

    // Frees the record under the cursor with everything it owns.
    bool DeleteItem()
    {
        const int at = GetIndex();
        if (at < 0)
            return false;
        Erase(at);   // frees an owned record and its sub-lists
        int& saved = Block->Saved;
        if (saved == at)
            saved = -1;
        else if (saved > at)
            --saved;
        const int n = GetCount();
        SetCursor(n == 0 ? -1 : (at < n ? at : n - 1));
        return true;
    }

    void DeleteAll()
    {
        if (!Block)
            return;
        // From the tail, as the original did: records go last to first.
        while (Block->Count > 0)
            PopBack();
        Block->Saved = -1;
        SetCursor(-1);
    }

    bool GoFirstItem() { return GetCount() == 0 ? false : (SetCursor(0), true); }
    bool GoLastItem() { return GetCount() == 0 ? false : (SetCursor(GetCount() - 1), true); }
    bool GoNextItem()
    {
        const int cursor = GetIndex();
        if (cursor < 0 || cursor + 1 >= GetCount())
            return false;
        SetCursor(cursor + 1);
        return true;
    }
    bool GoPrevItem()
    {
        const int cursor = GetIndex();
        if (cursor <= 0)
            return false;
        SetCursor(cursor - 1);
        return true;
    }
    bool GoNextItemCicle()
    {
        if (GetIndex() < 0)
            return false;
        if (!GoNextItem())
            GoFirstItem();
        return true;
    }
    // Moves the cursor to the first record for which matches(record) holds; true when
    // one does. When none does the walk ends with the cursor on the last record (an
    // empty list: no cursor).
    template <class P>
    bool GoFirstItemWhere(P matches)
    {
        if (!GoFirstItem())
            return false;
        do {
            if (matches(static_cast<const R&>(*Item)))
                return true;
        } while (GoNextItem());
        return false;
    }
    bool GoPrevItemCicle()
    {
        if (GetIndex() < 0)
            return false;
        if (!GoPrevItem())
            GoLastItem();
        return true;
    }
    bool GoItem(int i)
    {
        if (i < 0 || i >= GetCount())
            return false;
        SetCursor(i);
        return true;
    }
    // Exchanges the records at i and j; the cursor ends on j.
    bool ChangeItems(int i, int j)
    {
        const int n = GetCount();
        if (i < 0 || i >= n || j < 0 || j >= n)
            return false;
        std::swap(Items()[i], Items()[j]);
        SetCursor(j);
        return true;
    }

    int GetCount() const { return Block ? Block->Count : 0; }
    // The cursor's position; -1 on an empty list.
    int GetIndex() const { return Block ? Block->Cursor : -1; }

    bool SaveIP()
    {
        const int cursor = GetIndex();
        if (cursor < 0)
            return false;
        Block->Saved = cursor;
        return true;
    }
    bool RestIP()
    {
        if (GetCount() == 0 || Block->Saved < 0)
            return false;
        SetCursor(Block->Saved);
        return true;
    }

    // Direct, cursor-free access for our own walks (writers, renderers, benchmarks)
    // where the cursor side effects of the Go… family are not part of the contract.
    R* At(int i) const { return (i >= 0 && i < GetCount()) ? ToPtr(Items()[i]) : nullptr; }
    const Holder* begin() const { return Block ? Items() : nullptr; }
    const Holder* end() const { return Block ? Items() + Block->Count : nullptr; }

    // Takes the record under the cursor out of the list without freeing it; the cursor
    // moves as DeleteItem moves it.
    std::unique_ptr<R> Extract() requires Owning
    {
        const int cursor = GetIndex();
        if (cursor < 0)
            return nullptr;
        std::unique_ptr<R> record = std::move(Items()[cursor]);
        DeleteItem();
        return record;
    }

    const char* ListName() const { return Names->List; }
    const char* RecordName() const { return Names->Record; }

protected:
    void SetCursor(int i)
    {
        if (Block)
            Block->Cursor = i;
        Item = i < 0 ? nullptr : ToPtr(Items()[i]);
    }

    static R* ToPtr(const Holder& h)
    {
        if constexpr (Owning)
            return h.get();
        else
            return h;
    }

private:
    struct THead {
        std::int32_t Count;
        std::int32_t Capacity;
        std::int32_t Cursor;
        std::int32_t Saved;
    };
    // The records follow the head in the same block.
    static_assert(sizeof(THead) % alignof(Holder) == 0 &&
                  alignof(Holder) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);

    Holder* Items() const { return reinterpret_cast<Holder*>(Block + 1); }

    // Room for one more record; the records move to a block twice as large (as a
    // vector grows), nothing changed when that fails.
    void Reserve()
    {
        const int count = GetCount();
        if (Block && count < Block->Capacity)
            return;
        const int capacity = Block ? 2 * Block->Capacity : 1;
        auto* block = static_cast<THead*>(
            ::operator new(sizeof(THead) + static_cast<std::size_t>(capacity) * sizeof(Holder)));
        *block = THead{count, capacity, Block ? Block->Cursor : -1, Block ? Block->Saved : -1};
        auto* items = reinterpret_cast<Holder*>(block + 1);
        if (Block) {
            Holder* old = Items();
            for (int i = 0; i < count; ++i) {
                ::new (static_cast<void*>(items + i)) Holder(std::move(old[i]));
                old[i].~Holder();
            }
            ::operator delete(Block);
        }
        Block = block;
    }

    void Append(Holder h)
    {
        Reserve();
        ::new (static_cast<void*>(Items() + Block->Count)) Holder(std::move(h));
        ++Block->Count;
    }

    void Insert(int i, Holder h)
    {
        Reserve();
        Holder* items = Items();
        const int count = Block->Count;
        if (i == count) {
            ::new (static_cast<void*>(items + count)) Holder(std::move(h));
        } else {
            ::new (static_cast<void*>(items + count)) Holder(std::move(items[count - 1]));
            for (int j = count - 1; j > i; --j)
                items[j] = std::move(items[j - 1]);
            items[i] = std::move(h);
        }
        ++Block->Count;
    }

    // The record at i goes once the list is whole again.
    void Erase(int i)
    {
        Holder* items = Items();
        Holder gone = std::move(items[i]);
        const int count = Block->Count;
        for (int j = i; j + 1 < count; ++j)
            items[j] = std::move(items[j + 1]);
        items[count - 1].~Holder();
        --Block->Count;
    }

    void PopBack()
    {
        Holder* items = Items();
        Holder gone = std::move(items[Block->Count - 1]);
        items[Block->Count - 1].~Holder();
        --Block->Count;
    }

    THead* Block = nullptr;   // none until the first record
    const list_detail::TListNames* Names;
};
