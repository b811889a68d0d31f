// The tool button of every window: a self-painted button with a glyph of one to five
// state images and an optional caption, latching in groups of its parent, repeating
// its click while held, flat until the pointer is over it, with a drop-down menu.
#pragma once

#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

class QPainter;
class QTimer;

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };
enum TButtonDrawState { bdsUp, bdsDisabled, bdsPressed, bdsLatched, bdsInactive };
enum TExDropDownMenuPos { dmpBottom, dmpRight };

// Where glyph and caption go inside the paint rectangle.
struct RGlyphCaptionPlace {
    QPoint GlyphPos;   // top-left corner of the glyph image
    QRect TextRect;    // the caption's rectangle
    QSize GlyphSize;   // the glyph size the layout used (widened by the mark)
};

// The largest caption size that fits beside the glyph: s is the paint rectangle's
// size, g the glyph image size; a margin or spacing of -1 is not subtracted, the 9
// pixels of the drop-down mark only with drawMark; negative results become 0.
QSize MaxCaptionSize(QSize s, QSize g, TButtonLayout layout, int margin, int spacing,
                     bool drawMark);

// Places glyph (size g, 0 × 0 without glyph) and a caption measured as textSize
// (already limited to MaxCaptionSize; 0 × 0 without caption) in the paint rectangle c.
// Margin -1 centres, Spacing -1 spreads evenly; divisions truncate toward zero.
RGlyphCaptionPlace PlaceGlyphAndCaption(const QRect& c, QSize g, QSize textSize,
                                        TButtonLayout layout, int margin, int spacing,
                                        bool drawMark);

// The glyph of a button: the bitmap with its state images, made on first use.
class TExButtonGlyph {
public:
    const QImage& Bitmap() const { return Glyph; }
    // Drops the state images; takes the transparent colour from the bottom-left pixel
    // and, when the width is a whole multiple of the height, the number of images.
    void SetBitmap(const QImage& bitmap);
    int NumGlyphs() const { return Count; }
    void SetNumGlyphs(int value);
    QRgb TransparentColor() const { return Transparent; }
    QSize ImageSize() const;
    // The image drawn in that state and the colour left unpainted in it.
    const QImage& StateImage(TButtonDrawState state, const QPalette& palette, QRgb& mask);
    void Invalidate();

private:
    QImage Glyph;
    int Count = 1;
    QRgb Transparent = qRgb(255, 0, 255);
    std::array<QImage, 5> Images;
    std::array<QRgb, 5> Masks{};
    std::array<bool, 5> Made{};
};

class TExSpeedButton : public QWidget {
    Q_OBJECT
public:
    explicit TExSpeedButton(QWidget* parent = nullptr);
    ~TExSpeedButton() override;

    // Only a button of a group (GroupIndex not 0) can be down; a down button of a group
    // without AllowAllUp cannot be raised by assignment. Going down raises the other
    // buttons of the group under the same parent. No click event fires.
    bool Down() const { return FDown; }
    void SetDown(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    bool AllowTimer() const { return FAllowTimer; }
    void SetAllowTimer(bool value);
    int InitPause() const { return FInitPause; }
    void SetInitPause(int ms) { FInitPause = ms; }
    int RepeatInterval() const { return FRepeatInterval; }
    void SetRepeatInterval(int ms) { FRepeatInterval = ms; }

    const QImage& Glyph() const { return FGlyph.Bitmap(); }
    void SetGlyph(const QImage& glyph);
    int NumGlyphs() const { return FGlyph.NumGlyphs(); }
    void SetNumGlyphs(int value);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    TButtonStyle Style() const { return FStyle; }
    void SetStyle(TButtonStyle value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool GrayedInactive() const { return FGrayedInactive; }
    void SetGrayedInactive(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    Qt::Alignment Alignment() const { return FAlignment; }
    void SetAlignment(Qt::Alignment value);
    bool MarkDropDown() const { return FMarkDropDown; }
    void SetMarkDropDown(bool value);
    QMenu* DropDownMenu() const { return FDropDownMenu; }
    // The button forgets a menu that is destroyed.
    void SetDropDownMenu(QMenu* menu);
    TExDropDownMenuPos MenuPosition() const { return FMenuPosition; }
    void SetMenuPosition(TExDropDownMenuPos value) { FMenuPosition = value; }
    // Given to the button's dialog on click; 0 keeps the dialog open.
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int value) { FModalResult = value; }

    TButtonDrawState DrawState() const { return FState; }
    bool Hover() const { return FHover; }
    // Where the drop-down menu opens, in button coordinates.
    QPoint MenuPoint() const;

    // Gives the dialog its modal result, then raises OnClick.
    virtual void Click();

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void(Qt::MouseButton, Qt::KeyboardModifiers, QPoint)> OnMouseDown;
    std::function<void(Qt::MouseButton, Qt::KeyboardModifiers, QPoint)> OnMouseUp;
    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseLeave;

    QSize sizeHint() const override { return QSize(25, 25); }

protected:
    // Lays out and draws glyph, caption and drop-down mark into the rectangle.
    virtual void DrawGlyphAndCaption(QPainter& p, const QRect& rect, TButtonDrawState state,
                                     bool drawMark);
    virtual void Paint(QPainter& p);

    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool event(QEvent* e) override;

    bool Dragging() const { return FDragging; }

private:
    void PressButton(QMouseEvent* e);
    void FinishRelease(bool inside, bool clickAllowed);
    void NotifyGroup();
    void GroupNotification(TExSpeedButton* sender);
    void UpdateHover();
    void SetHover(bool value);
    void RepeatTick();
    void RegrabAccelerator();
    bool NewStyle() const { return FStyle != bsWin31; }

    TExButtonGlyph FGlyph;
    QString FCaption;
    bool FDown = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FAllowTimer = false;
    int FInitPause = 500;
    int FRepeatInterval = 100;
    TButtonLayout FLayout = blGlyphTop;
    int FMargin = -1;
    int FSpacing = 1;
    bool FFlat = false;
    TButtonStyle FStyle = bsAutoDetect;
    bool FTransparent = false;
    bool FGrayedInactive = true;
    bool FWordWrap = false;
    Qt::Alignment FAlignment = Qt::AlignHCenter;
    bool FMarkDropDown = true;
    QPointer<QMenu> FDropDownMenu;
    TExDropDownMenuPos FMenuPosition = dmpBottom;
    int FModalResult = 0;

    TButtonDrawState FState = bdsUp;
    bool FDragging = false;
    bool FHover = false;
    bool FMenuTracking = false;
    QTimer* RepeatTimer = nullptr;  // child of the button, made on the first press
    int AcceleratorId = 0;
};
