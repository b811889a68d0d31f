// The tool button: group logic, repeat timer, hover, state images and painting.
#include "controls/ExSpeedButton.h"

#include "controls/core/ControlUtils.h"

#include <QDialog>
#include <QEnterEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <QStyle>
#include <QTimer>

#include <algorithm>

namespace {

bool Horizontal(TButtonLayout layout)
{
    return layout == blGlyphLeft || layout == blGlyphRight;
}

QRgb Rgb(const QPalette& palette, QPalette::ColorRole role)
{
    return palette.color(QPalette::Active, role).rgb();
}

// One frame: left and top edges in a, right and bottom edges in b; the rectangle
// shrinks by one pixel on each side.
void Frame(QPainter& p, QRect& r, const QColor& a, const QColor& b)
{
    p.setPen(a);
    p.drawLine(r.left(), r.top(), r.right(), r.top());
    p.drawLine(r.left(), r.top(), r.left(), r.bottom());
    p.setPen(b);
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    r.adjust(1, 1, -1, -1);
}

QBrush Checkerboard(const QColor& a, const QColor& b)
{
    QImage pattern(2, 2, QImage::Format_RGB32);
    pattern.setPixel(0, 0, a.rgb());
    pattern.setPixel(1, 1, a.rgb());
    pattern.setPixel(1, 0, b.rgb());
    pattern.setPixel(0, 1, b.rgb());
    return QBrush(pattern);
}

}  // namespace

QSize MaxCaptionSize(QSize s, QSize g, TButtonLayout layout, int margin, int spacing,
                     bool drawMark)
{
    const int m = margin == -1 ? 0 : margin;
    const int sp = spacing == -1 ? 0 : spacing;
    int w = s.width();
    int h = s.height();
    if (Horizontal(layout))
        w = s.width() - g.width() - m - sp - (drawMark ? 9 : 0);
    else
        h = s.height() - g.height() - m - sp;
    return QSize(std::max(w, 0), std::max(h, 0));
}

RGlyphCaptionPlace PlaceGlyphAndCaption(const QRect& c, QSize g, QSize textSize,
                                        TButtonLayout layout, int margin, int spacing,
                                        bool drawMark)
{
    const QSize s = c.size();
    QSize ts = textSize;
    if (drawMark) {
        if (g.width() == 0 || g.height() == 0 || layout == blGlyphLeft)
            ts.rwidth() += 9;
        else
            g.rwidth() += 6;
    }
    const bool horizontal = Horizontal(layout);
    QPoint glyphPos;
    QPoint textPos;
    if (horizontal) {
        glyphPos.setY(s.height() / 2 - g.height() / 2);
        textPos.setY(s.height() / 2 - ts.height() / 2);
    } else {
        glyphPos.setX(s.width() / 2 - g.width() / 2);
        textPos.setX(s.width() / 2 - ts.width() / 2);
    }
    if (ts.width() == 0 || g.width() == 0)
        spacing = 0;
    const int sa = horizontal ? s.width() : s.height();
    const int ga = horizontal ? g.width() : g.height();
    const int ta = horizontal ? ts.width() : ts.height();
    if (margin == -1 && spacing == -1) {
        margin = (sa - ga - ta) / 3;
        spacing = margin;
    } else if (margin == -1) {
        margin = sa / 2 - (ga + spacing + ta) / 2;
    } else if (spacing == -1) {
        spacing = (sa - margin - ga) / 2 - ta / 2;
    }
    int glyphAlong = 0;
    int textAlong = 0;
    if (layout == blGlyphLeft || layout == blGlyphTop) {
        glyphAlong = margin;
        textAlong = margin + ga + spacing;
    } else {
        glyphAlong = sa - margin - ga;
        textAlong = glyphAlong - spacing - ta;
    }
    if (horizontal) {
        glyphPos.setX(glyphAlong);
        textPos.setX(textAlong);
    } else {
        glyphPos.setY(glyphAlong);
        textPos.setY(textAlong);
    }
    RGlyphCaptionPlace place;
    place.GlyphPos = glyphPos + c.topLeft();
    place.TextRect = QRect(textPos + c.topLeft(), textSize);
    place.GlyphSize = g;
    return place;
}

// ---- the glyph ----

void TExButtonGlyph::SetBitmap(const QImage& bitmap)
{
    Glyph = bitmap.isNull() ? QImage() : bitmap.convertToFormat(QImage::Format_RGB32);
    Invalidate();
    if (bitmap.height() > 0) {
        Transparent = BitmapTransparentColor(bitmap);
        if (bitmap.width() > 0 && bitmap.width() % bitmap.height() == 0) {
            const int n = bitmap.width() / bitmap.height();
            Count = n <= 5 ? n : 1;
        }
    }
}

void TExButtonGlyph::SetNumGlyphs(int value)
{
    Count = std::clamp(value, 1, 5);
    Invalidate();
}

QSize TExButtonGlyph::ImageSize() const
{
    if (Glyph.isNull())
        return QSize(0, 0);
    return QSize(Glyph.width() / Count, Glyph.height());
}

void TExButtonGlyph::Invalidate()
{
    Made.fill(false);
    for (QImage& image : Images)
        image = QImage();
}

const QImage& TExButtonGlyph::StateImage(TButtonDrawState state, const QPalette& palette,
                                         QRgb& mask)
{
    const int slot = int(state);
    if (!Made[slot]) {
        Made[slot] = true;
        Masks[slot] = Transparent;
        if (!Glyph.isNull()) {
            const QSize size = ImageSize();
            auto image = [&](int number) {  // 1-based; a missing image falls back to the 1st
                if (number > Count)
                    number = 1;
                return Glyph.copy((number - 1) * size.width(), 0, size.width(), size.height());
            };
            const QRgb face = Rgb(palette, QPalette::Button);
            switch (state) {
            case bdsUp:
                Images[slot] = image(1);
                break;
            case bdsPressed:
                Images[slot] = image(Count < 3 ? 1 : 3);
                break;
            case bdsLatched:
                Images[slot] = image(4);
                break;
            case bdsDisabled:
                if (Count >= 2) {
                    Images[slot] = image(2);
                } else {
                    Images[slot] = MakeDisabledGlyph(Glyph, qRgb(0, 0, 0), face,
                                                     Rgb(palette, QPalette::Dark),
                                                     Rgb(palette, QPalette::Light));
                    Masks[slot] = face;
                }
                break;
            case bdsInactive:
                if (Count >= 5) {
                    Images[slot] = image(5);
                } else {
                    QImage gray = image(1);
                    for (int y = 0; y < gray.height(); ++y) {
                        auto* line = reinterpret_cast<QRgb*>(gray.scanLine(y));
                        for (int x = 0; x < gray.width(); ++x) {
                            const QRgb c = line[x] | 0xFF000000u;
                            if (c == (Transparent | 0xFF000000u) || c == (face | 0xFF000000u))
                                continue;
                            const int level =
                                (77 * qRed(c) + 150 * qGreen(c) + 29 * qBlue(c)) / 256;
                            line[x] = qRgb(level, level, level);
                        }
                    }
                    Images[slot] = gray;
                }
                break;
            }
        }
    }
    mask = Masks[slot];
    return Images[slot];
}

// ---- the button ----

TExSpeedButton::TExSpeedButton(QWidget* parent) : QWidget(parent)
{
    resize(25, 25);
    setFocusPolicy(Qt::NoFocus);
}

TExSpeedButton::~TExSpeedButton() = default;

void TExSpeedButton::SetDown(bool value)
{
    if (FGroupIndex == 0)
        value = false;
    if (value == FDown)
        return;
    if (FDown && !FAllowAllUp)
        return;
    FDown = value;
    FState = value ? bdsLatched : bdsUp;
    update();
    if (value)
        NotifyGroup();
}

void TExSpeedButton::SetGroupIndex(int value)
{
    if (value == FGroupIndex)
        return;
    FGroupIndex = value;
    NotifyGroup();
}

void TExSpeedButton::SetAllowAllUp(bool value)
{
    if (value == FAllowAllUp)
        return;
    FAllowAllUp = value;
    NotifyGroup();
}

void TExSpeedButton::SetAllowTimer(bool value)
{
    FAllowTimer = value;
    if (!value && RepeatTimer) {
        RepeatTimer->stop();
        RepeatTimer->deleteLater();  // may be inside its own tick
        RepeatTimer = nullptr;
    }
}

void TExSpeedButton::NotifyGroup()
{
    QWidget* parent = parentWidget();
    if (FGroupIndex == 0 || parent == nullptr)
        return;
    for (QObject* child : parent->children())
        if (auto* other = qobject_cast<TExSpeedButton*>(child); other && other != this)
            other->GroupNotification(this);
}

void TExSpeedButton::GroupNotification(TExSpeedButton* sender)
{
    if (sender->FGroupIndex != FGroupIndex)
        return;
    if (sender->FDown && FDown) {
        FDown = false;
        FState = bdsUp;
        update();
    }
    FAllowAllUp = sender->FAllowAllUp;
}

void TExSpeedButton::SetGlyph(const QImage& glyph)
{
    FGlyph.SetBitmap(glyph);
    update();
}

void TExSpeedButton::SetNumGlyphs(int value)
{
    if (value <= 0)
        return;
    value = std::min(value, 5);
    if (value == FGlyph.NumGlyphs())
        return;
    FGlyph.SetNumGlyphs(value);
    update();
}

void TExSpeedButton::SetCaption(const QString& caption)
{
    if (caption == FCaption)
        return;
    FCaption = caption;
    RegrabAccelerator();
    update();
}

void TExSpeedButton::RegrabAccelerator()
{
    if (AcceleratorId != 0) {
        releaseShortcut(AcceleratorId);
        AcceleratorId = 0;
    }
    const QKeySequence key = QKeySequence::mnemonic(FCaption);
    if (!key.isEmpty())
        AcceleratorId = grabShortcut(key);
}

void TExSpeedButton::SetLayout(TButtonLayout value)
{
    if (value != FLayout) {
        FLayout = value;
        update();
    }
}

void TExSpeedButton::SetMargin(int value)
{
    if (value < -1 || value == FMargin)
        return;
    FMargin = value;
    update();
}

void TExSpeedButton::SetSpacing(int value)
{
    if (value != FSpacing) {
        FSpacing = value;
        update();
    }
}

void TExSpeedButton::SetFlat(bool value)
{
    if (value != FFlat) {
        FFlat = value;
        update();
    }
}

void TExSpeedButton::SetStyle(TButtonStyle value)
{
    if (value != FStyle) {
        FStyle = value;
        update();
    }
}

void TExSpeedButton::SetTransparent(bool value)
{
    if (value != FTransparent) {
        FTransparent = value;
        update();
    }
}

void TExSpeedButton::SetGrayedInactive(bool value)
{
    if (value != FGrayedInactive) {
        FGrayedInactive = value;
        update();
    }
}

void TExSpeedButton::SetWordWrap(bool value)
{
    if (value != FWordWrap) {
        FWordWrap = value;
        update();
    }
}

void TExSpeedButton::SetAlignment(Qt::Alignment value)
{
    if (value != FAlignment) {
        FAlignment = value;
        update();
    }
}

void TExSpeedButton::SetMarkDropDown(bool value)
{
    if (value != FMarkDropDown) {
        FMarkDropDown = value;
        update();
    }
}

void TExSpeedButton::SetDropDownMenu(QMenu* menu)
{
    if (menu == FDropDownMenu)
        return;
    FDropDownMenu = menu;
    if (FMarkDropDown)
        update();
}

QPoint TExSpeedButton::MenuPoint() const
{
    // Menus open left-aligned: below the button, or to its right.
    if (FMenuPosition == dmpBottom)
        return QPoint(-1, height());
    return QPoint(width(), -1);
}

void TExSpeedButton::Click()
{
    if (FModalResult != 0)
        if (auto* dialog = qobject_cast<QDialog*>(window()))
            dialog->done(FModalResult);
    if (OnClick)
        OnClick();
}

// ---- mouse ----

void TExSpeedButton::mousePressEvent(QMouseEvent* e)
{
    PressButton(e);
}

void TExSpeedButton::PressButton(QMouseEvent* e)
{
    if (FMenuTracking)
        return;
    if (OnMouseDown)
        OnMouseDown(e->button(), e->modifiers(), e->position().toPoint());
    if (e->button() != Qt::LeftButton) {
        UpdateHover();
        return;
    }
    if (isEnabled() && !FHover) {
        FHover = true;
        update();
    }
    if (!isEnabled())
        return;
    if (!FDown) {
        FState = bdsPressed;
        repaint();
    }
    FDragging = true;
    if (FDropDownMenu) {
        QPointer<TExSpeedButton> self(this);
        FMenuTracking = true;
        // The click that closes the menu must not reach the button again.
        const bool noReplay = FDropDownMenu->testAttribute(Qt::WA_NoMouseReplay);
        FDropDownMenu->setAttribute(Qt::WA_NoMouseReplay, true);
        QPointer<QMenu> menu = FDropDownMenu;
        menu->exec(mapToGlobal(MenuPoint()));
        if (menu)
            menu->setAttribute(Qt::WA_NoMouseReplay, noReplay);
        if (!self)
            return;
        FMenuTracking = false;
        if (FDragging) {
            FDragging = false;
            FinishRelease(rect().contains(e->position().toPoint()), false);
        }
    }
    if (FAllowTimer) {
        if (!RepeatTimer) {
            RepeatTimer = new QTimer(this);
            connect(RepeatTimer, &QTimer::timeout, this, [this] { RepeatTick(); });
        }
        RepeatTimer->start(FInitPause);
    }
}

void TExSpeedButton::mouseMoveEvent(QMouseEvent* e)
{
    if (!FDragging)
        return;
    TButtonDrawState state = bdsUp;
    if (FDown)
        state = bdsLatched;
    else if (rect().contains(e->position().toPoint()))
        state = bdsPressed;
    if (state != FState) {
        FState = state;
        update();
    }
}

void TExSpeedButton::mouseReleaseEvent(QMouseEvent* e)
{
    if (OnMouseUp)
        OnMouseUp(e->button(), e->modifiers(), e->position().toPoint());
    if (e->button() == Qt::LeftButton && FDragging) {
        FDragging = false;
        FinishRelease(rect().contains(e->position().toPoint()), !FMenuTracking);
    } else {
        UpdateHover();
    }
}

void TExSpeedButton::FinishRelease(bool inside, bool clickAllowed)
{
    if (RepeatTimer)
        RepeatTimer->stop();
    if (FGroupIndex == 0) {
        FState = bdsUp;
        FHover = false;
        update();
    } else if (inside) {
        SetDown(!FDown);
        FState = FDown ? bdsLatched : bdsUp;
        update();
    } else {
        FState = FDown ? bdsLatched : bdsUp;
        update();
    }
    if (inside && clickAllowed) {
        QPointer<TExSpeedButton> self(this);
        Click();
        if (!self)
            return;
    }
    UpdateHover();
}

void TExSpeedButton::mouseDoubleClickEvent(QMouseEvent* e)
{
    // The second press of a double click is a press of its own.
    PressButton(e);
    if (FDown && OnDblClick)
        OnDblClick();
}

void TExSpeedButton::RepeatTick()
{
    RepeatTimer->setInterval(FRepeatInterval);
    if (FState == bdsPressed && FDragging) {
        try {
            Click();
        } catch (...) {
            if (RepeatTimer)
                RepeatTimer->stop();
            throw;
        }
    }
}

// ---- hover ----

void TExSpeedButton::enterEvent(QEnterEvent* e)
{
    QWidget::enterEvent(e);
    if (isEnabled() && ActiveWindowIsOurs())
        SetHover(true);
}

void TExSpeedButton::leaveEvent(QEvent* e)
{
    QWidget::leaveEvent(e);
    if (!FDragging)
        SetHover(false);
}

void TExSpeedButton::UpdateHover()
{
    SetHover(isEnabled() && underMouse() && ActiveWindowIsOurs());
}

void TExSpeedButton::SetHover(bool value)
{
    if (value == FHover)
        return;
    FHover = value;
    if (FFlat)
        update();
    if (value && OnMouseEnter)
        OnMouseEnter();
    else if (!value && OnMouseLeave)
        OnMouseLeave();
}

void TExSpeedButton::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    switch (e->type()) {
    case QEvent::EnabledChange:
        if (!isEnabled()) {
            // A disabled button gets no release: the press ends here, repeats included.
            FDragging = false;
            if (RepeatTimer)
                RepeatTimer->stop();
        }
        UpdateHover();
        update();
        break;
    case QEvent::PaletteChange:
        FGlyph.Invalidate();
        update();
        break;
    case QEvent::FontChange:
        update();
        break;
    default:
        break;
    }
}

bool TExSpeedButton::event(QEvent* e)
{
    if (e->type() == QEvent::Shortcut) {
        auto* shortcut = static_cast<QShortcutEvent*>(e);
        if (shortcut->shortcutId() == AcceleratorId && AcceleratorId != 0) {
            if (isEnabled())
                Click();
            return true;
        }
    } else if (e->type() == QEvent::Show) {
        UpdateHover();
    }
    return QWidget::event(e);
}

// ---- painting ----

void TExSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    Paint(p);
}

void TExSpeedButton::Paint(QPainter& p)
{
    if (!isEnabled()) {
        FState = bdsDisabled;
        FDragging = false;
    } else if (FState == bdsDisabled) {
        FState = FDown && FGroupIndex != 0 ? bdsLatched : bdsUp;
    }
    TButtonDrawState face = FState;
    if (FFlat && !FHover)
        face = bdsInactive;

    const QPalette& pal = palette();
    const QColor buttonFace = pal.color(QPalette::Button);
    const QColor highlight = pal.color(QPalette::Light);
    const QColor shadow = pal.color(QPalette::Dark);
    const QColor windowFrame = pal.color(QPalette::Shadow);
    // A transparent button lets the parent and the controls below show through.
    if (!FTransparent)
        p.fillRect(rect(), buttonFace);

    QRect r = rect();
    const bool down = FState == bdsPressed || FState == bdsLatched;
    if (!(face == bdsInactive && FState != bdsLatched)) {
        if (down) {
            if (NewStyle() && !FFlat) {
                Frame(p, r, windowFrame, highlight);
                Frame(p, r, shadow, buttonFace);
            } else if (!NewStyle() && !FFlat) {
                Frame(p, r, windowFrame, windowFrame);
                p.setPen(shadow);
                p.drawLine(r.left(), r.bottom(), r.left(), r.top());
                p.drawLine(r.left(), r.top(), r.right(), r.top());
            } else {
                Frame(p, r, windowFrame, highlight);
            }
        } else {
            if (NewStyle() && !FFlat) {
                Frame(p, r, highlight, windowFrame);
                Frame(p, r, buttonFace, shadow);
            } else if (NewStyle()) {
                Frame(p, r, highlight, shadow);
            } else if (!FFlat) {
                Frame(p, r, windowFrame, windowFrame);
                Frame(p, r, highlight, shadow);
            } else {
                Frame(p, r, highlight, windowFrame);
            }
        }
        r.adjust(1, 1, -1, -1);
    } else if (FFlat) {
        r.adjust(2, 2, -2, -2);
    }

    if (FState == bdsLatched && !FTransparent && (!FFlat || face == bdsInactive))
        p.fillRect(r.adjusted(-1, -1, 1, 1), Checkerboard(buttonFace, highlight));
    if (down)
        r.translate(1, 1);

    TButtonDrawState drawState = FState;
    if (!isEnabled())
        drawState = bdsDisabled;
    else if (FGrayedInactive)
        drawState = face;
    DrawGlyphAndCaption(p, r, drawState, FMarkDropDown && FDropDownMenu);
}

void TExSpeedButton::DrawGlyphAndCaption(QPainter& p, const QRect& rect, TButtonDrawState state,
                                         bool drawMark)
{
    const QSize g = FGlyph.ImageSize();
    const QSize maxText = MaxCaptionSize(rect.size(), g, FLayout, FMargin, FSpacing, drawMark);
    const QFontMetrics fm(font());

    QString caption = FCaption.left(255);
    if (!FWordWrap && !caption.isEmpty()) {
        QStringList lines = caption.split(QLatin1Char('\n'));
        for (QString& line : lines) {
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            line = ShortenTextToWidth(line, fm, maxText.width());
        }
        caption = lines.join(QLatin1Char('\n'));
        while (!caption.isEmpty() &&
               (caption.back() == QLatin1Char(' ') || caption.back() == QLatin1Char('\n') ||
                caption.back() == QLatin1Char('\r')))
            caption.chop(1);
    }
    const int wrap = FWordWrap ? Qt::TextWordWrap : 0;
    QSize textSize(0, 0);
    if (!caption.isEmpty()) {
        const QRect measured = fm.boundingRect(QRect(0, 0, maxText.width(), 0x7FFF),
                                               Qt::AlignHCenter | Qt::TextShowMnemonic | wrap,
                                               caption);
        textSize = QSize(std::min(measured.width(), maxText.width()),
                         std::min(measured.height(), maxText.height()));
    }
    const RGlyphCaptionPlace place =
        PlaceGlyphAndCaption(rect, g, textSize, FLayout, FMargin, FSpacing, drawMark);

    const QPalette& pal = palette();
    if (g.width() > 0 && g.height() > 0) {
        QRgb mask = 0;
        const QImage& image = FGlyph.StateImage(state, pal, mask);
        DrawBitmapMasked(p, place.GlyphPos.x(), place.GlyphPos.y(), image, mask);
    }
    const QRect& t = place.TextRect;
    if (!caption.isEmpty()) {
        Qt::Alignment align = FAlignment & Qt::AlignHorizontal_Mask;
        if (layoutDirection() == Qt::RightToLeft)
            align = QStyle::visualAlignment(Qt::RightToLeft, align) & Qt::AlignHorizontal_Mask;
        const int flags = int(align) | Qt::AlignTop | Qt::TextShowMnemonic | wrap;
        if (state == bdsDisabled) {
            p.setPen(pal.color(QPalette::Light));
            p.drawText(t.translated(1, 1), flags, caption);
            p.setPen(pal.color(QPalette::Dark));
            p.drawText(t, flags, caption);
        } else {
            p.setPen(pal.color(QPalette::ButtonText));
            p.drawText(t, flags, caption);
        }
    }
    if (drawMark) {
        int x = 0;
        int y = 0;
        if (g.width() > 0 && g.height() > 0 && FLayout != blGlyphLeft) {
            x = place.GlyphPos.x() + g.width() + 1;
            y = place.GlyphPos.y() + g.height() / 2;
        } else {
            x = caption.isEmpty() ? (rect.left() + rect.left() + rect.width() - 7) / 2
                                  : t.left() + t.width() + 3;
            y = t.top() + t.height() / 2;
        }
        auto triangle = [&](int x0, int y0, const QColor& colour) {
            p.setPen(colour);
            for (int row = 0; row < 4; ++row)
                p.drawLine(x0 + row, y0 - 1 + row, x0 + 6 - row, y0 - 1 + row);
        };
        if (state == bdsDisabled) {
            triangle(x + 1, y + 1, pal.color(QPalette::Light));
            triangle(x, y, pal.color(QPalette::Dark));
        } else {
            triangle(x, y, pal.color(QPalette::ButtonText));
        }
    }
}
