// The bitmap-drawn slider: geometry, value mapping, stepping and painting.
#include "controls/ExSlider.h"

#include "controls/core/ControlUtils.h"
#include "controls/core/ExConst.h"
#include "foundation/ErrorTrail.h"
#include "platform/Platform.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QTimer>

namespace {

constexpr int RulerMargin = 6;   // between the control's edge and the ruler
constexpr int TickGap = 2;       // between the thumb and the tick marks
constexpr int LongTick = 5;
constexpr int StepPause = 400;   // milliseconds between steps while the ruler is held

const char* const ResourceNames[4] = {"W95_HTB", "W95_HRL", "W95_VTB", "W95_VRL"};

// The ruler picture stretched to `length` along the axis: its first and last `edge`
// pixels once, the middle repeated.
QImage StretchRuler(const QImage& picture, int length, int edge, bool horizontal)
{
    if (picture.isNull() || length <= 0)
        return QImage();
    const int source = horizontal ? picture.width() : picture.height();
    edge = std::clamp(edge, 0, (source - 1) / 2);
    const int across = horizontal ? picture.height() : picture.width();
    QImage ruler = horizontal ? QImage(length, across, QImage::Format_RGB32)
                             : QImage(across, length, QImage::Format_RGB32);
    const QImage src = picture.convertToFormat(QImage::Format_RGB32);
    const int middle = source - 2 * edge;
    for (int i = 0; i < length; ++i) {
        int from = 0;
        if (i < edge)
            from = i;
        else if (i >= length - edge)
            from = source - (length - i);
        else
            from = edge + (i - edge) % middle;
        for (int a = 0; a < across; ++a) {
            if (horizontal)
                ruler.setPixel(i, a, src.pixel(from, a));
            else
                ruler.setPixel(a, i, src.pixel(a, from));
        }
    }
    return ruler;
}

}  // namespace

TExCustomSlider::TExCustomSlider(QWidget* parent) : QWidget(parent), StepTimer(new QTimer(this))
{
    for (int i = 0; i < 4; ++i)
        Images[i] = LoadResourceBitmap(QLatin1String(ResourceNames[i]));
    resize(150, 40);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    StepTimer->setInterval(StepPause);
    connect(StepTimer, &QTimer::timeout, this, [this] { StepTick(); });
    Recalculate();
}

TExCustomSlider::~TExCustomSlider() = default;

// ---- values ----

void TExCustomSlider::SetValue(int value)
{
    value = std::clamp(value, FMinValue, FMaxValue);
    if (value == FValue)
        return;
    FValue = value;
    update();
    if (OnChange)
        OnChange();
}

void TExCustomSlider::SetMinValue(int value)
{
    if (value != FMinValue)
        SetRange(value, FMaxValue);
}

void TExCustomSlider::SetMaxValue(int value)
{
    if (value != FMaxValue)
        SetRange(FMinValue, value);
}

void TExCustomSlider::SetRange(int minValue, int maxValue)
{
    if (minValue >= maxValue)
        return;
    FMinValue = minValue;
    FMaxValue = maxValue;
    if (static_cast<long long>(FMaxValue) < static_cast<long long>(FMinValue) + FIncrement)
        FIncrement = FMaxValue - FMinValue;
    update();
    SetValue(FValue);
}

void TExCustomSlider::SetIncrement(int value)
{
    const long long range = static_cast<long long>(FMaxValue) - FMinValue;
    if (value <= 0 || value > range)
        throw Exception(QStringLiteral("Value must be between %1 and %2").arg(1).arg(range));
    FIncrement = value;
    SetValue(FValue);
    update();
}

void TExCustomSlider::Step(TSliderStep step)
{
    long long target = FValue;
    switch (step) {
    case ssMin:
        target = FMinValue;
        break;
    case ssMax:
        target = FMaxValue;
        break;
    case ssUp:
    case ssDown: {
        // From the nearest multiple of Increment: 15 with Increment 10 goes up to 30.
        const long long base = Round(Extended(FValue) / FIncrement) * FIncrement;
        target = step == ssUp ? base + FIncrement : base - FIncrement;
        break;
    }
    }
    target = std::clamp<long long>(target, FMinValue, FMaxValue);
    if (target != FValue)
        SetValue(int(target));
}

// ---- geometry ----

QRect TExCustomSlider::Client() const
{
    return FBevelStyle == bvNone ? rect() : rect().adjusted(1, 1, -1, -1);
}

const QImage& TExCustomSlider::ThumbPicture() const
{
    return Images[FOrientation == soHorizontal ? 0 : 2];
}

const QImage& TExCustomSlider::RulerPicture() const
{
    return Images[FOrientation == soHorizontal ? 1 : 3];
}

void TExCustomSlider::Recalculate()
{
    GeometrySize = QSize();
    update();
}

void TExCustomSlider::EnsureGeometry() const
{
    if (GeometrySize == size())
        return;
    GeometrySize = size();
    const bool horizontal = FOrientation == soHorizontal;
    const QRect client = Client();
    const QImage& thumb = ThumbPicture();
    const QImage& rulerPicture = RulerPicture();
    ThumbSize = QSize(thumb.width() / FNumThumbStates, thumb.height());
    if (horizontal) {
        Ruler = StretchRuler(rulerPicture, client.width() - 2 * RulerMargin, FEdgeSize, true);
        const int block = ThumbSize.height() + TickGap + LongTick;
        ThumbAcross = client.top() + std::max((client.height() - block) / 2, 0);
        RulerPos = QPoint(client.left() + RulerMargin,
                          ThumbAcross + (ThumbSize.height() - rulerPicture.height()) / 2);
    } else {
        Ruler = StretchRuler(rulerPicture, client.height() - 2 * RulerMargin, FEdgeSize, false);
        const int block = ThumbSize.width() + TickGap + LongTick;
        ThumbAcross = client.left() + std::max((client.width() - block) / 2, 0);
        RulerPos = QPoint(ThumbAcross + (ThumbSize.width() - rulerPicture.width()) / 2,
                          client.top() + RulerMargin);
    }
}

int TExCustomSlider::TravelLength() const
{
    EnsureGeometry();
    const bool horizontal = FOrientation == soHorizontal;
    const int ruler = horizontal ? Ruler.width() : Ruler.height();
    const int thumb = horizontal ? ThumbSize.width() : ThumbSize.height();
    return std::max(ruler - thumb, 0);
}

int TExCustomSlider::ValueToOffset(int value) const
{
    const int travel = TravelLength();
    if (travel <= 0)
        return 0;
    const Extended range = Extended(FMaxValue) - FMinValue;
    return int(std::max<Int64>(Round(travel * (Extended(value) - FMinValue) / range), 0));
}

int TExCustomSlider::OffsetToValue(int offset) const
{
    const int travel = TravelLength();
    if (travel <= 0)
        return FMinValue;
    const Extended range = Extended(FMaxValue) - FMinValue;
    Int64 value = Round(Extended(offset) * range / travel);
    if (!(FOptions & soSmooth))
        value = Round(Extended(value) / FIncrement) * FIncrement;
    value = std::max<Int64>(value, 0) + FMinValue;
    return int(std::min<Int64>(value, FMaxValue));
}

QRect TExCustomSlider::ThumbRect() const
{
    EnsureGeometry();
    const int offset = ValueToOffset(FValue);
    if (FOrientation == soHorizontal)
        return QRect(QPoint(RulerPos.x() + offset, ThumbAcross), ThumbSize);
    // The maximum is at the top.
    return QRect(QPoint(ThumbAcross, RulerPos.y() + TravelLength() - offset), ThumbSize);
}

QRect TExCustomSlider::RulerRect() const
{
    EnsureGeometry();
    return QRect(RulerPos, Ruler.size());
}

int TExCustomSlider::Along(QPoint p) const
{
    EnsureGeometry();
    if (FOrientation == soHorizontal)
        return p.x() - RulerPos.x();
    return RulerPos.y() + TravelLength() - p.y();
}

void TExCustomSlider::MoveThumbTo(int offset)
{
    offset = std::clamp(offset, 0, TravelLength());
    const int value = OffsetToValue(offset);
    update();
    if (ThumbDragging)
        SetValue(value);
}

// ---- settings ----

void TExCustomSlider::SetOrientation(TSliderOrientation value)
{
    if (value != FOrientation) {
        FOrientation = value;
        Recalculate();
    }
}

void TExCustomSlider::SetOptions(TSliderOptions value)
{
    if (value != FOptions) {
        FOptions = value;
        update();
    }
}

void TExCustomSlider::SetEdgeSize(int value)
{
    const QImage& ruler = RulerPicture();
    const int length = FOrientation == soHorizontal ? ruler.width() : ruler.height();
    if (value >= 0 && 2 * value < length && value != FEdgeSize) {
        FEdgeSize = value;
        Recalculate();
    }
}

void TExCustomSlider::SetBevelStyle(TBevelCut value)
{
    if (value != FBevelStyle) {
        FBevelStyle = value;
        Recalculate();
    }
}

void TExCustomSlider::SetNumThumbStates(int value)
{
    if ((value == 1 || value == 2) && value != FNumThumbStates) {
        FNumThumbStates = value;
        Recalculate();
    }
}

void TExCustomSlider::SetImage(int which, const QImage& image)
{
    if (image.isNull()) {
        Images[which] = LoadResourceBitmap(QLatin1String(ResourceNames[which]));
        FOptions &= (which % 2 == 0) ? ~soThumbOpaque : ~soRulerOpaque;
    } else {
        Images[which] = image;
    }
    Recalculate();
}

// ---- keyboard and mouse ----

void TExCustomSlider::keyPressEvent(QKeyEvent* e)
{
    if ((e->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QWidget::keyPressEvent(e);
        return;
    }
    const bool horizontal = FOrientation == soHorizontal;
    switch (e->key()) {
    case Qt::Key_Home:
        Step(ssMin);
        break;
    case Qt::Key_End:
        Step(ssMax);
        break;
    case Qt::Key_Right:
    case Qt::Key_Left:
        if (!horizontal) {
            QWidget::keyPressEvent(e);
            return;
        }
        Step(e->key() == Qt::Key_Right ? ssUp : ssDown);
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (horizontal) {
            QWidget::keyPressEvent(e);
            return;
        }
        Step(e->key() == Qt::Key_Up ? ssUp : ssDown);
        break;
    default:
        QWidget::keyPressEvent(e);
        return;
    }
    e->accept();
    if (OnChanged)
        OnChanged();
}

int TExCustomSlider::StepDirectionAt(QPoint p) const
{
    const QRect thumb = ThumbRect();
    if (FOrientation == soHorizontal) {
        if (p.x() > thumb.right())
            return 1;
        return p.x() < thumb.left() ? -1 : 0;
    }
    if (p.y() < thumb.top())
        return 1;
    return p.y() > thumb.bottom() ? -1 : 0;
}

void TExCustomSlider::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    if (focusPolicy() & Qt::ClickFocus)
        setFocus(Qt::MouseFocusReason);
    const QPoint p = e->position().toPoint();
    if (ThumbRect().contains(p)) {
        ThumbDragging = true;
        GrabOffset = Along(p) - ValueToOffset(FValue);
        update();
        return;
    }
    const QRect ruler = FOrientation == soHorizontal ? RulerRect().adjusted(0, -3, 0, 3)
                                                     : RulerRect().adjusted(-3, 0, 3, 0);
    if (ruler.contains(p)) {
        StepDirection = StepDirectionAt(p);
        if (StepDirection == 0)
            return;
        Stepping = true;
        StepPoint = p;
        Step(StepDirection > 0 ? ssUp : ssDown);
        StepTimer->start();
    }
}

void TExCustomSlider::StepTick()
{
    // Steps pause while the mouse is not on the side the stepping started on.
    if (Stepping && StepDirectionAt(StepPoint) == StepDirection)
        Step(StepDirection > 0 ? ssUp : ssDown);
}

void TExCustomSlider::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    if (ThumbDragging)
        MoveThumbTo(Along(p) - GrabOffset);
    else if (Stepping)
        StepPoint = p;
    if (ThumbRect().contains(p))
        setCursor(ExCursor(crExHand));
    else
        unsetCursor();
}

void TExCustomSlider::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    if (ThumbDragging) {
        ThumbDragging = false;
        update();
        if (OnChanged)
            OnChanged();
    } else if (Stepping) {
        Stepping = false;
        StepTimer->stop();
        if (OnChanged)
            OnChanged();
    }
}

void TExCustomSlider::focusInEvent(QFocusEvent* e)
{
    QWidget::focusInEvent(e);
    if (FOptions & soShowFocus)
        update();
}

void TExCustomSlider::focusOutEvent(QFocusEvent* e)
{
    QWidget::focusOutEvent(e);
    if (FOptions & soShowFocus)
        update();
}

void TExCustomSlider::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::EnabledChange)
        update();
}

void TExCustomSlider::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    Recalculate();
}

// ---- painting ----

void TExCustomSlider::DrawPoints(QPainter& p, int valueStep, int shortLength, int longLength)
{
    EnsureGeometry();
    const long long range = static_cast<long long>(FMaxValue) - FMinValue;
    const int travel = TravelLength();
    if (valueStep <= 0 || range <= 0 || travel <= 0)
        return;
    // The smallest multiple k of the step with ticks at least 4 pixels apart
    // (travel × spacing ≥ 4 × range), or the first that spans the whole range; found
    // at once, since counting k up would take millions of rounds on a wide range.
    const long long kApart = (4 * range + Int64(travel) * valueStep - 1) / (Int64(travel) * valueStep);
    const long long kWhole = (range + valueStep - 1) / valueStep;
    const long long spacing = valueStep * std::max(std::min(kApart, kWhole), 1LL);
    p.setPen(palette().color(QPalette::WindowText));
    const bool horizontal = FOrientation == soHorizontal;
    auto tick = [&](long long value, int length) {
        const int offset = ValueToOffset(int(value));
        if (horizontal) {
            const int x = RulerPos.x() + offset + ThumbSize.width() / 2;
            const int y = ThumbAcross + ThumbSize.height() + TickGap;
            p.drawLine(x, y, x, y + length - 1);
        } else {
            const int y = RulerPos.y() + travel - offset + ThumbSize.height() / 2;
            const int x = ThumbAcross + ThumbSize.width() + TickGap;
            p.drawLine(x, y, x + length - 1, y);
        }
    };
    for (long long v = FMinValue; v < FMaxValue; v += spacing)
        tick(v, v == FMinValue ? longLength : shortLength);
    tick(FMaxValue, longLength);
}

void TExCustomSlider::paintEvent(QPaintEvent*)
{
    EnsureGeometry();
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(backgroundRole()));
    if (FBevelStyle == bvLowered || FBevelStyle == bvRaised) {
        const QColor topLeft = pal.color(FBevelStyle == bvLowered ? QPalette::Dark : QPalette::Light);
        const QColor bottomRight = pal.color(FBevelStyle == bvLowered ? QPalette::Light : QPalette::Dark);
        const QRect r = rect();
        p.setPen(topLeft);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    }
    if (!Ruler.isNull())
        DrawBitmapMasked(p, RulerPos.x(), RulerPos.y(), Ruler,
                         (FOptions & soRulerOpaque) ? TransparentNone : TransparentDefault);
    if ((FOptions & soShowFocus) && hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = Client().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
    if (FOptions & soShowPoints) {
        if (OnDrawPoints)
            OnDrawPoints(p);
        else
            DrawPoints(p, FIncrement, 3, LongTick);
    }
    const QImage& thumb = ThumbPicture();
    const int state = FNumThumbStates == 2 && (ThumbDragging || !isEnabled()) ? 1 : 0;
    const QRect thumbRect = ThumbRect();
    DrawBitmapPartMasked(p, thumbRect.x(), thumbRect.y(),
                         QRect(QPoint(state * ThumbSize.width(), 0), ThumbSize), thumb,
                         (FOptions & soThumbOpaque) ? TransparentNone
                                                    : BitmapTransparentColor(thumb));
}
