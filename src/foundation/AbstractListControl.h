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

#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace list_detail {
// Appends the derived-list trail block: "Module name: GeoDataObjects",
// "Procedure: <list>.<routine>" and the argument lines.
void AddListTrail(const char* listName, const QString& routine, const QStringList& args);
}  // namespace list_detail

// Holder is std::unique_ptr<R> for owning lists; R* for the one list whose records
// belong to the caller.
template <class R, class Holder = std::unique_ptr<R>>
class TCursorList {
public:
    static constexpr bool Owning = !std::is_pointer_v<Holder>;

    TCursorList(const char* listName, const char* recordName)
        : ListName(listName), RecordName(recordName)
    {
    }
    TCursorList(const TCursorList&) = delete;
    TCursorList& operator=(const TCursorList&) = delete;
    virtual ~TCursorList() = default;

    R* Item = nullptr;   // the record under the cursor, null when the list is empty

    // Appends a new record with its defaults; cursor and Item on it.
    bool AddItem() requires Owning
    {
        try {
            Items.push_back(std::make_unique<R>());
            SetCursor(static_cast<int>(Items.size()) - 1);
            return true;
        } catch (...) {
            list_detail::AddListTrail(ListName, QStringLiteral("AddItem(const Item:%1):boolean;")
                                                    .arg(QLatin1String(RecordName)), {});
            throw;
        }
    }

    // Appends a record made by the caller (a copy, a record read into a staging tree);
    // false, nothing changed, for a null record.
    bool AddItem(std::unique_ptr<R> record) requires Owning
    {
        if (!record)
            return false;
        Items.push_back(std::move(record));
        SetCursor(static_cast<int>(Items.size()) - 1);
        return true;
    }

    // The non-owning list stores the caller's pointer; false, nothing changed, for null.
    bool AddItem(R* p) requires(!Owning)
    {
        if (!p)
            return false;
        Items.push_back(p);
        SetCursor(static_cast<int>(Items.size()) - 1);
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
            Items.insert(Items.begin() + i, std::make_unique<R>());
            SetCursor(i);
            return true;
        } catch (...) {
            list_detail::AddListTrail(ListName, QStringLiteral("InsertItem(const Item:%1; const i:Integer):boolean;")
                                                    .arg(QLatin1String(RecordName)),
                                      {QStringLiteral("i=%1").arg(i)});
            throw;
        }
    }

    // Frees the record under the cursor with everything it owns.
    bool DeleteItem()
    {
        if (Cursor < 0)
            return false;
        const int at = Cursor;
        Items.erase(Items.begin() + at);   // frees an owned record and its sub-lists
        if (Saved == at)
            Saved = -1;
        else if (Saved > at)
            --Saved;
        const int n = GetCount();
        SetCursor(n == 0 ? -1 : (at < n ? at : n - 1));
        return true;
    }

    void DeleteAll()
    {
        // From the tail, as the original did: records go last to first.
        while (!Items.empty())
            Items.pop_back();
        Saved = -1;
        SetCursor(-1);
    }

    bool GoFirstItem() { return Items.empty() ? false : (SetCursor(0), true); }
    bool GoLastItem() { return Items.empty() ? false : (SetCursor(GetCount() - 1), true); }
    bool GoNextItem()
    {
        if (Cursor < 0 || Cursor + 1 >= GetCount())
            return false;
        SetCursor(Cursor + 1);
        return true;
    }
    bool GoPrevItem()
    {
        if (Cursor <= 0)
            return false;
        SetCursor(Cursor - 1);
        return true;
    }
    bool GoNextItemCicle()
    {
        if (Cursor < 0)
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
        if (Cursor < 0)
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
        std::swap(Items[i], Items[j]);
        SetCursor(j);
        return true;
    }

    int GetCount() const { return static_cast<int>(Items.size()); }
    // The cursor's position; -1 on an empty list.
    int GetIndex() const { return Cursor; }

    bool SaveIP()
    {
        if (Cursor < 0)
            return false;
        Saved = Cursor;
        return true;
    }
    bool RestIP()
    {
        if (Items.empty() || Saved < 0)
            return false;
        SetCursor(Saved);
        return true;
    }

    // Direct, cursor-free access for our own walks (writers, renderers, benchmarks)
    // where the cursor side effects of the Go… family are not part of the contract.
    R* At(int i) const { return (i >= 0 && i < GetCount()) ? ToPtr(Items[i]) : nullptr; }
    auto begin() const { return Items.begin(); }
    auto end() const { return Items.end(); }

    // Takes the record under the cursor out of the list without freeing it; the cursor
    // moves as DeleteItem moves it.
    std::unique_ptr<R> Extract() requires Owning
    {
        if (Cursor < 0)
            return nullptr;
        std::unique_ptr<R> record = std::move(Items[Cursor]);
        DeleteItem();
        return record;
    }

    const char* ListName;
    const char* RecordName;

protected:
    void SetCursor(int i)
    {
        Cursor = i;
        Item = i < 0 ? nullptr : ToPtr(Items[i]);
    }

    static R* ToPtr(const Holder& h)
    {
        if constexpr (Owning)
            return h.get();
        else
            return h;
    }

    std::vector<Holder> Items;
    int Cursor = -1;
    int Saved = -1;
};
