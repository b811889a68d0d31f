// A command item the main window adds to one of its menus: the caption, the object name
// tests and the key table find it by, and the window's handler it runs.
#pragma once

#include "mainwindow/UnitMap.h"

#include <QAction>
#include <QMenu>

// The item goes before `before` (at the end when null); a null handler leaves an item
// without an action of its own.
inline QAction* AddMapCommand(TFormMap& form, QMenu* menu, QAction* before, const char* caption,
                              const char* name, void (TFormMap::*handler)())
{
    auto* a = new QAction(QString::fromUtf8(caption), menu);
    a->setObjectName(QLatin1String(name));
    menu->insertAction(before, a);
    if (handler)
        QObject::connect(a, &QAction::triggered, &form, [&form, handler] { (form.*handler)(); });
    return a;
}
