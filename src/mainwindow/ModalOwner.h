// Modal windows shown above the window that opened them. A window opened from one of the
// stay-on-top windows (the settings window, the tool palette, the navigator, the
// constructions and favourites palettes) with no owner, or owned by the main window, is
// placed by the window manager below its opener: the program then looks hung. The filter
// gives every modal window, as it is shown, the opener as its transient parent.
#pragma once

#include <QObject>

class QWidget;

class TModalOwner : public QObject {
    Q_OBJECT
public:
    // Watches every window of the application while it exists.
    explicit TModalOwner(QObject* parent = nullptr);
    ~TModalOwner() override;

    // The window a modal window about to show was opened from: the active modal window
    // (still running while the new one opens from it), else the active window; never
    // shown itself. Null when there is neither.
    static QWidget* Opener(const QWidget* shown);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
};
