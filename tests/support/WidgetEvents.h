// Mouse and key events sent straight to a widget, as the user's would arrive there.
#pragma once

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

// A press, move or release of button at pos (widget pixels); a release leaves no button
// held.
inline void SendMouse(QWidget* w, QEvent::Type type, QPoint pos,
                      Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, buttons,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

// A click of button in the middle of w: its press and release there.
inline void ClickMiddle(QWidget* w, Qt::MouseButton button = Qt::LeftButton)
{
    const QPoint centre = w->rect().center();
    SendMouse(w, QEvent::MouseButtonPress, centre, button);
    SendMouse(w, QEvent::MouseButtonRelease, centre, button);
}

// A key press alone, without its release.
inline void SendKey(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                    const QString& text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QCoreApplication::sendEvent(w, &press);
}
