// Positioning shared by the fillers, getters and hit tests: a lookup by position makes
// what it finds current, as every query of the plan does.
#pragma once

#include "foundation/GeoDataObjects.h"

// Sheet page and its layer made current; null, with the cursors moved as far as they
// got, when either does not exist.
inline RGLayer* GoToLayer(TGPages& pages, int page, int layer)
{
    if (!pages.GoItem(page) || !pages.Item->Layers.GoItem(layer))
        return nullptr;
    return pages.Item->Layers.Item;
}

// Object index of list made current; null when it does not exist.
template <class L>
auto GoToObject(L& list, int index) -> decltype(list.Item)
{
    return list.GoItem(index) ? list.Item : nullptr;
}
