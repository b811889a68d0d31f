// Finding the items of the surface's pop-up menus by caption, sub-menus included.
#pragma once

#include <QAction>
#include <QMenu>

inline QAction* FindMenuItem(QMenu* menu, const char* caption)
{
    if (!menu)
        return nullptr;
    const QString text = QString::fromUtf8(caption);
    for (QAction* a : menu->actions()) {
        if (a->text() == text)
            return a;
        if (QAction* inner = FindMenuItem(a->menu(), caption))
            return inner;
    }
    return nullptr;
}
