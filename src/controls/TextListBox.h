// List boxes whose horizontal scroll range follows their widest line, so long lines
// can be scrolled into view: the base shared by the plain text list box and the
// owner-drawn list boxes, and TTextListBox itself.
#pragma once

#include <QListWidget>
#include <functional>

class QStyleOptionViewItem;

class TExtentListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TExtentListBox(QWidget* parent = nullptr);
    ~TExtentListBox() override;

    // The widest line in pixels as the horizontal range keeps it; 0 when empty.
    int HorizontalExtent() const { return MaxWidth; }
    // Tab stops every N pixels, N = width of "0" × TabWidth / 4; 0 for none.
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int value);
    // Several lines selectable; with ExtendedSelect through Shift and Ctrl, else
    // each click toggles a line.
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    bool ExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool value);

    // The width the range counts for a line: its text followed by one "x".
    virtual int ItemWidth(int index) const;

    // A click on a line or a selection change from the keyboard; after a mouse click
    // everything the press changed (a check toggled) is already done.
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;

protected:
    // Whether the range is kept at all (an owner-drawn box may switch it off).
    virtual bool KeepsExtent() const { return true; }
    // The height of a line for the layout.
    virtual int LineHeight(int index) const;
    // Whether every line has the same height (the fast layout).
    virtual bool UniformLines() const { return true; }
    // Paints one line; false leaves it to the standard painting.
    virtual bool DrawLine(QPainter& p, const QStyleOptionViewItem& option, int row);
    // Scrolls to the left end and measures every line again.
    void RecomputeExtent();
    void RelayoutLines();
    int TabStopPixels() const;
    // Whether the release of the current press will report OnClick, and asking for it.
    bool ClickReportPending() const { return ClickPending; }
    void ReportClickOnRelease() { ClickPending = true; }

    void changeEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    friend class TExtentDelegate;
    void RowsInserted(int first, int last);
    void RowsAboutToBeRemoved(int first, int last);
    void RowsRemoved();
    void ApplySelectionMode();

    int MaxWidth = 0;
    int FTabWidth = 0;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    bool WidestGoing = false;
    bool ClickPending = false;
};

// The plain list box of the object, node, caption, journal and result lists.
class TTextListBox : public TExtentListBox {
    Q_OBJECT
public:
    explicit TTextListBox(QWidget* parent = nullptr) : TExtentListBox(parent) {}
};
