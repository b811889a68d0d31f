#include "foundation/AbstractListControl.h"

#include "foundation/AppGlobalVar.h"

#include <cstdint>
#include <deque>
#include <mutex>

namespace list_detail {

void AddListTrail(const char* listName, const QString& routine, const QStringList& args)
{
    try {
        if (!ErrorInfo)
            return;
        ErrorInfo->append(QStringLiteral("Module name: GeoDataObjects"));
        ErrorInfo->append(QStringLiteral("Procedure: ") + QLatin1String(listName) +
                          QLatin1Char('.') + routine);
        if (!args.isEmpty() && LogArguments == 1) {
            ErrorInfo->append(QStringLiteral("Arguments"));
            ErrorInfo->append(args);
        }
    } catch (...) {
    }
}

const TListNames* SharedNames(const char* listName, const char* recordName)
{
    // Lists are made by the million (a record's sub-lists with each record), of a few
    // dozen kinds: the last pairs seen stay at hand in each thread, by the list name's
    // address.
    struct TSlot {
        const char* List = nullptr;
        const char* Record = nullptr;
        const TListNames* Names = nullptr;
    };
    thread_local TSlot recent[32];
    TSlot& slot = recent[(reinterpret_cast<std::uintptr_t>(listName) >> 3) % 32];
    if (slot.Names && slot.List == listName && slot.Record == recordName)
        return slot.Names;
    static std::mutex guard;
    // Never freed: lists made or freed while the program ends still find their names.
    static auto* all = new std::deque<TListNames>;
    const TListNames* names = nullptr;
    {
        const std::lock_guard<std::mutex> lock(guard);
        for (const TListNames& n : *all)
            if (n.List == listName && n.Record == recordName) {
                names = &n;
                break;
            }
        if (!names)
            names = &all->emplace_back(TListNames{listName, recordName});
    }
    slot = {listName, recordName, names};
    return names;
}

}  // namespace list_detail
