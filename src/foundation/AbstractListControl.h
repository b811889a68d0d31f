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
// captions of an object), so a list is two pointers: Item, and one that leads to the
// list's names until the first record comes, then to a block holding the count, the
// capacity, the cursor, the saved cursor, the names and the records.
template <class R, class Holder = std::unique_ptr<R>>
class TCursorList {
public:
    static constexpr bool Owning = !std::is_pointer_v<Holder>;

    TCursorList(const char* listName, const char* recordName)
        : State(reinterpret_cast<std::uintptr_t>(list_detail::SharedNames(listName, recordName)) |
                NamesOnly)
    {
    }
    TCursorList(const TCursorList&) = delete;
    TCursorList& operator=(const TCursorList&) = delete;
    ~TCursorList()
    {
        if (!Head())
            return;
        // First to last, as a vector frees its elements.
        Holder* items = Items();
        for (int i = 0; i < Head()->Count; ++i)
            items[i].~Holder();
        ::operator delete(Head());
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
            list_detail::AddListTrail(NamesOf()->List, QStringLiteral("AddItem(const Item:%1):boolean;")
                                                      .arg(QLatin1String(NamesOf()->Record)), {});
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
            list_detail::AddListTrail(NamesOf()->List, QStringLiteral("InsertItem(const Item:%1; const i:Integer):boolean;")
                                                      .arg(QLatin1String(NamesOf()->Record)),
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
        int& saved = Head()->Saved;
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
        if (!Head())
            return;
        // From the tail, as the original did: records go last to first.
        while (Head()->Count > 0)
            PopBack();
        Head()->Saved = -1;
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

    int GetCount() const { return Head() ? Head()->Count : 0; }
    // The cursor's position; -1 on an empty list.
    int GetIndex() const { return Head() ? Head()->Cursor : -1; }

    bool SaveIP()
    {
        const int cursor = GetIndex();
        if (cursor < 0)
            return false;
        Head()->Saved = cursor;
        return true;
    }
    bool RestIP()
    {
        if (GetCount() == 0 || Head()->Saved < 0)
            return false;
        SetCursor(Head()->Saved);
        return true;
    }

    // Direct, cursor-free access for our own walks (writers, renderers, benchmarks)
    // where the cursor side effects of the Go… family are not part of the contract.
    R* At(int i) const { return (i >= 0 && i < GetCount()) ? ToPtr(Items()[i]) : nullptr; }
    const Holder* begin() const { return Head() ? Items() : nullptr; }
    const Holder* end() const { return Head() ? Items() + Head()->Count : nullptr; }

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

    // Gives back the room kept for more records, as for a list read whole: the records,
    // the cursors and Item stay; the next record added makes room again.
    void Compact()
    {
        THead* head = Head();
        if (!head || head->Count == 0 || head->Count == head->Capacity)
            return;
        const int count = head->Count;
        auto* block = static_cast<THead*>(
            ::operator new(sizeof(THead) + static_cast<std::size_t>(count) * sizeof(Holder)));
        *block = THead{count, count, head->Cursor, head->Saved, head->Names};
        auto* items = reinterpret_cast<Holder*>(block + 1);
        Holder* old = Items();
        for (int i = 0; i < count; ++i) {
            ::new (static_cast<void*>(items + i)) Holder(std::move(old[i]));
            old[i].~Holder();
        }
        ::operator delete(head);
        State = reinterpret_cast<std::uintptr_t>(block);
    }

    const char* ListName() const { return NamesOf()->List; }
    const char* RecordName() const { return NamesOf()->Record; }

protected:
    void SetCursor(int i)
    {
        if (Head())
            Head()->Cursor = i;
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
        const list_detail::TListNames* Names;
    };
    // State with this bit set is the names' address: the list has no block yet.
    static constexpr std::uintptr_t NamesOnly = 1;
    static_assert(alignof(list_detail::TListNames) > NamesOnly && alignof(THead) > NamesOnly);

    THead* Head() const { return (State & NamesOnly) ? nullptr : reinterpret_cast<THead*>(State); }
    const list_detail::TListNames* NamesOf() const
    {
        return (State & NamesOnly) ? reinterpret_cast<const list_detail::TListNames*>(State & ~NamesOnly)
                                   : Head()->Names;
    }
    // The records follow the head in the same block.
    static_assert(sizeof(THead) % alignof(Holder) == 0 &&
                  alignof(Holder) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);

    Holder* Items() const { return reinterpret_cast<Holder*>(Head() + 1); }

    // Room for one more record; the records move to a block twice as large (as a
    // vector grows), nothing changed when that fails.
    void Reserve()
    {
        const int count = GetCount();
        if (Head() && count < Head()->Capacity)
            return;
        const int capacity = Head() ? 2 * Head()->Capacity : 1;
        auto* block = static_cast<THead*>(
            ::operator new(sizeof(THead) + static_cast<std::size_t>(capacity) * sizeof(Holder)));
        *block = THead{count, capacity, Head() ? Head()->Cursor : -1, Head() ? Head()->Saved : -1,
                       NamesOf()};
        auto* items = reinterpret_cast<Holder*>(block + 1);
        if (Head()) {
            Holder* old = Items();
            for (int i = 0; i < count; ++i) {
                ::new (static_cast<void*>(items + i)) Holder(std::move(old[i]));
                old[i].~Holder();
            }
            ::operator delete(Head());
        }
        State = reinterpret_cast<std::uintptr_t>(block);
    }

    void Append(Holder h)
    {
        Reserve();
        ::new (static_cast<void*>(Items() + Head()->Count)) Holder(std::move(h));
        ++Head()->Count;
    }

    void Insert(int i, Holder h)
    {
        Reserve();
        Holder* items = Items();
        const int count = Head()->Count;
        if (i == count) {
            ::new (static_cast<void*>(items + count)) Holder(std::move(h));
        } else {
            ::new (static_cast<void*>(items + count)) Holder(std::move(items[count - 1]));
            for (int j = count - 1; j > i; --j)
                items[j] = std::move(items[j - 1]);
            items[i] = std::move(h);
        }
        ++Head()->Count;
    }

    // The record at i goes once the list is whole again.
    void Erase(int i)
    {
        Holder* items = Items();
        [[maybe_unused]] Holder gone = std::move(items[i]);
        const int count = Head()->Count;
        for (int j = i; j + 1 < count; ++j)
            items[j] = std::move(items[j + 1]);
        items[count - 1].~Holder();
        --Head()->Count;
    }

    void PopBack()
    {
        Holder* items = Items();
        [[maybe_unused]] Holder gone = std::move(items[Head()->Count - 1]);
        items[Head()->Count - 1].~Holder();
        --Head()->Count;
    }

    std::uintptr_t State;   // the names (NamesOnly set) until the first record, then the block
};
