// The owner-drawn list box base and the check list box: a check box, radio button
// or check mark in front of every line, toggled by a press in its first 18 pixels,
// by Space, and for all lines at once by "+" and "-".
#pragma once

#include "controls/TextListBox.h"

#include <QStyle>
#include <QVariant>

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
enum TCheckKind { ckCheckBoxes, ckRadioButtons, ckCheckMarks };
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// A list box that draws its lines itself. The control's colour is the palette's Base.
class TExCustomListBox : public TExtentListBox {
    Q_OBJECT
public:
    explicit TExCustomListBox(QWidget* parent = nullptr);

    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle value);
    // The height of the lines of the owner-drawn styles; values below 1 are ignored.
    virtual int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    // Whether the horizontal range follows the widest line.
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool value);
    // Selected lines of an unfocused box drawn in button face instead of highlight.
    bool GraySelection() const { return FGraySelection; }
    void SetGraySelection(bool value);

    // Empties the list.
    virtual void ClearItems();
    // The text and the data of a line; an invalid index raises
    // "List index out of bounds (%d)".
    QString ItemText(int index) const;
    QVariant ItemData(int index) const;
    void SetItemData(int index, const QVariant& data);

    int ItemWidth(int index) const override;

    // Called for the owner-drawn styles; the painter holds the line's brush, pen and font.
    std::function<void(QPainter& p, int index, const QRect& rect, QStyle::State state)> OnDrawItem;
    std::function<void(int index, int& height)> OnMeasureItem;
    std::function<void(int index, int& width)> OnGetItemWidth;

protected:
    // Draws one line into its rectangle with LineBrush and LinePen.
    virtual void DrawItem(QPainter& p, int index, const QRect& rect, QStyle::State state);
    // The part of a line's rectangle handed to DrawItem.
    virtual QRect ItemRect(const QRect& lineRect) const { return lineRect; }
    void CheckIndex(int index) const;

    bool KeepsExtent() const override { return FAutoScroll; }
    int LineHeight(int index) const override;
    bool UniformLines() const override { return FStyle != lbOwnerDrawVariable; }
    bool DrawLine(QPainter& p, const QStyleOptionViewItem& option, int row) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

    QColor LineBrush;
    QColor LinePen;

private:
    TListBoxStyle FStyle = lbStandard;
    int FItemHeight = 16;
    bool FSorted = false;
    bool FAutoScroll = true;
    bool FGraySelection = false;
};

class TExCheckListBox : public TExCustomListBox {
    Q_OBJECT
public:
    explicit TExCheckListBox(QWidget* parent = nullptr);

    // Unchecked for a line never touched; with radio buttons every state other than
    // checked reads as unchecked.
    TCheckBoxState State(int index) const;
    // Stores the state and repaints the check area; with radio buttons checking a line
    // unchecks the others and unchecking the checked line does nothing. OnStateChange
    // follows.
    void SetState(int index, TCheckBoxState state);
    bool ItemEnabled(int index) const;
    // A disabled line cannot be toggled by mouse or keyboard and is drawn gray.
    void SetItemEnabled(int index, bool value);
    void SetItemChecked(int index, bool checked);
    // True only for a line whose stored state is checked (a grayed line is not).
    bool IsItemChecked(int index) const;

    TCheckKind CheckKind() const { return FCheckKind; }
    void SetCheckKind(TCheckKind value);
    // True only when set and the kind is not radio buttons.
    bool AllowGrayed() const { return FAllowGrayed && FCheckKind != ckRadioButtons; }
    void SetAllowGrayed(bool value);
    // With radio buttons the first checked line or -1; otherwise -1.
    int CheckedIndex() const;
    // With radio buttons and at least one line, checks line max(value, 0).
    void SetCheckedIndex(int value);

    // The lines of the strings, all unchecked and enabled.
    void AssignItems(const QStringList& lines);
    // The lines of another check list box with their states and enabled flags.
    void AssignItems(const TExCheckListBox& other);

    int ItemHeight() const override;
    int ItemWidth(int index) const override;

    // A toggle by mouse or keyboard, and "+" or "-".
    std::function<void()> OnClickCheck;
    std::function<void(int index)> OnStateChange;

    static constexpr int CheckWidth = 18;  // the check cell's 16 pixels and 2 more

protected:
    void DrawItem(QPainter& p, int index, const QRect& rect, QStyle::State state) override;
    QRect ItemRect(const QRect& lineRect) const override;
    int LineHeight(int index) const override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void ToggleClickCheck(int index);
    // Toggles the line when the point lies in its check area; true when it does.
    bool ToggleIfInCheck(QPoint pos);
    void StoreState(int index, TCheckBoxState state);
    TCheckBoxState StoredState(int index) const;
    void RepaintCheckArea(int index);
    void ReestablishRadio();
    int StandardLineHeight() const;

    TCheckKind FCheckKind = ckCheckBoxes;
    bool FAllowGrayed = false;
    bool ForceState = false;
};
