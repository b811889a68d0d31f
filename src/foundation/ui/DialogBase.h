// The base of every modal window of the program: modal results as numbers (Esc and the
// close box give the window's own cancel results, never Qt's 0), controls laid out at
// the pixel rectangles of the layouts with their anchors, and the placements the
// windows use (on the mouse, at the screen or desktop centre), and the base of the windows
// that show a message in a memo.
#pragma once

#include "foundation/ServDialogs.h"

#include <QDialog>
#include <QFont>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTextEdit>
#include <vector>

class QPushButton;
class QScrollArea;

// Top-left corner that puts the centre of a window of size on the pointer; halves of
// the size are rounded to the nearest pixel.
QPoint CentredOn(QPoint pointer, QSize size);

// Moves a window back across the right and bottom edges of the work area only: a
// window that passes the right edge ends there, one that passes the bottom edge ends
// there. A window left of or above the work area stays where it is.
QPoint PushBackIntoWorkArea(QPoint topLeft, QSize size, const QRect& workArea);

// Top-left corner that centres size in area; halves are truncated towards zero.
QPoint CentredIn(const QRect& area, QSize size);

// The whole screen and its work area (the screen less the task bar and the docks) of
// the screen at point, or of the primary screen when no screen holds it. A screen set by
// SetTestScreen stands for every screen, so the fit can be tried on a small screen
// without one.
QRect ScreenArea(QPoint at);
QRect WorkArea(QPoint at);
// An empty geometry puts the real screens back.
void SetTestScreen(const QRect& geometry, const QRect& workArea);

// The title bar and borders around a window's client area: the window system's own once
// the window has been shown with them, else the style's title bar and frame standing for
// them.
QMargins WindowFrame(const QWidget& window);

// Top-left corner (of the frame) that keeps a window of client size with frame inside
// area: a window past an edge ends at it, one wider or taller than the area starts at
// its left or top edge.
QPoint KeptInside(QPoint topLeft, QSize size, const QMargins& frame, const QRect& area);

// Moves a top-level window that has not been shown into the work area of its screen, its
// title bar and borders included.
void KeepInsideWorkArea(QWidget& window);

// The height of a window that shows lines of a message: (lines + 1) text heights plus
// the room of its controls.
int MessageWindowHeight(int lineCount, int textHeight, int controlsRoom);

// The windows' font: MS Sans Serif, 8 points (11 pixels), or its nearest twin.
QFont DialogFont();

// Colours of the original system scheme that the windows name.
QColor ActiveCaptionColor();
QColor InactiveCaptionColor();

// The read-only message memo: borderless, button-face background, every line centred.
// It holds exactly the lines given (a line feed inside a line is not a new line).
class TMessageMemo : public QTextEdit {
    Q_OBJECT
public:
    explicit TMessageMemo(QWidget* parent = nullptr);

    void SetLines(const QStringList& lines);
    const QStringList& Lines() const { return MemoLines; }
    // The lines as the memo shows them at its width: a long line wraps into several,
    // and the windows count every one of them, or their controls would cover the text.
    int ShownLineCount() const;
    void SetTextColor(const QColor& color);

private:
    QStringList MemoLines;
};

class TDialogBase : public QDialog {
    Q_OBJECT
public:
    explicit TDialogBase(QWidget* parent = nullptr);

    // Shows the window modally and returns its modal result (one of the mr… values).
    TModalResult ShowModal();
    // Ends the modal run with result.
    void SetModalResult(TModalResult result);
    // Enter ends the run with mrOk and Esc with mrCancel whatever control holds the
    // focus: a focused button or list does not take the key first.
    void PreviewEnterEsc();

    TModalResult EscResult = mrCancel;     // Esc
    TModalResult CloseResult = mrCancel;   // the close box

    // Client size as laid out; anchored controls follow later size changes. A window
    // with a dialog border keeps the size it is given.
    void SetClientSize(int width, int height);
    bool Sizeable = false;

    // Places a control at its layout rectangle (client pixels) with its anchors
    // (Delphi's default is left and top).
    void Place(QWidget* control, const QRect& rect, Qt::Edges anchors = Qt::LeftEdge | Qt::TopEdge);

    // A push button that ends the window with result (0: a plain button).
    QPushButton* AddButton(const QString& caption, const QRect& rect, TModalResult result,
                           Qt::Edges anchors = Qt::BottomEdge | Qt::RightEdge);

    // Placements: on the mouse pointer, pushed back into the work area; at the centre
    // of the screen under the pointer; at the centre of the whole desktop.
    void PlaceOnMouse();
    void PlaceScreenCentre();
    void PlaceDesktopCentre();

    // The height of "ЙЦ" in the window's font.
    int TextHeight() const;
    // The tallest client area that fits the work area of the screen under the pointer,
    // title bar and borders included.
    int MostClientHeight() const;

    // The scroll area that holds the window's controls once the window has been shrunk
    // to fit its screen; null while it fits as laid out.
    QScrollArea* FitScroll() const { return Scroll; }

    // Every show first fits the window into the work area of its screen: a window
    // taller or wider than the work area shrinks, its controls scrolling inside, while the
    // buttons along its bottom edge stay in view below them.
    void setVisible(bool visible) override;

protected:
    void reject() override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    struct TAnchored {
        QWidget* Control;
        QRect Rect;           // as laid out
        QSize Client;         // the client size it was laid out in
        Qt::Edges Anchors;
    };
    void ApplyAnchors();
    void FitIntoWorkArea();
    void ScrollControls(QSize fitting);

    std::vector<TAnchored> Anchored;
    QScrollArea* Scroll = nullptr;   // owned by the window, as its child
    QWidget* Content = nullptr;      // the scrolled controls' parent, inside Scroll
    int BottomStrip = 0;             // client pixels below Scroll, for the bottom buttons
};

// The windows whose memo shows a message: the memo fills the client area, the height
// follows the number of lines, and the controls lie on the lower part. The window is
// titled caption; its memo writes in the window's text colour until the window says
// otherwise.
class TMessageWindow : public TDialogBase {
    Q_OBJECT
public:
    TMessageWindow(int width, int height, const QString& caption, QWidget* parent);

    TMessageMemo* Memo1;

protected:
    // Fills the memo with text split at CR and sets the height by the rule, controlsRoom
    // being the pixels added for the controls; a window that would pass the screen's
    // height stops there and its text scrolls.
    void ShowMessage(const QString& text, int controlsRoom);
};

// The owner of a new modal window: the active window of the program, or none.
QWidget* DialogOwner();
