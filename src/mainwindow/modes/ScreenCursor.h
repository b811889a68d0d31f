// The cursor over the whole application (the screen's cursor) that a drag of the picture
// shows in place of the surface's own: set once, changed in place, and taken away when
// its holder goes, so no window is left with it.
#pragma once

class QCursor;

class TScreenCursor {
public:
    TScreenCursor() = default;
    ~TScreenCursor() { Reset(); }
    TScreenCursor(const TScreenCursor&) = delete;
    TScreenCursor& operator=(const TScreenCursor&) = delete;

    void Set(const QCursor& cursor);
    // Back to the cursor of the window under the mouse.
    void Reset();
    bool IsSet() const { return Shown; }

private:
    bool Shown = false;
};
