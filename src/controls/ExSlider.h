// The bitmap-drawn slider: a thumb picture moving along a ruler picture between a
// minimum and a maximum integer value, with tick marks, keyboard steps, dragging and
// repeated stepping while the ruler is held.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

class QTimer;

enum TSliderOrientation { soHorizontal, soVertical };
enum TSliderOption {
    soShowFocus = 0x01,
    soShowPoints = 0x02,
    soSmooth = 0x04,
    soRulerOpaque = 0x08,
    soThumbOpaque = 0x10,
};
using TSliderOptions = int;  // an or-ed set of TSliderOption

class TExCustomSlider : public QWidget {
    Q_OBJECT
public:
    enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

    explicit TExCustomSlider(QWidget* parent = nullptr);
    ~TExCustomSlider() override;

    int MinValue() const { return FMinValue; }
    // A minimum not below the maximum (or a maximum not above the minimum) changes
    // nothing; an Increment that no longer fits becomes the range; Value is clamped.
    void SetMinValue(int value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int value);
    int Increment() const { return FIncrement; }
    // Raises "Value must be between %d and %d" (1 and the range) for a step that is
    // 0 or less or wider than the range.
    void SetIncrement(int value);
    int Value() const { return FValue; }
    // Clamped to the range; OnChange fires when the stored value changed.
    void SetValue(int value);
    TSliderOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TSliderOrientation value);
    TSliderOptions Options() const { return FOptions; }
    void SetOptions(TSliderOptions value);
    // Pixels at each end of the ruler picture kept when it is stretched.
    int EdgeSize() const { return FEdgeSize; }
    void SetEdgeSize(int value);
    TBevelCut BevelStyle() const { return FBevelStyle; }
    void SetBevelStyle(TBevelCut value);
    // 1, or 2 when the thumb picture holds the normal and the pressed look side by side.
    int NumThumbStates() const { return FNumThumbStates; }
    void SetNumThumbStates(int value);

    // The pictures; a null image restores the program's own picture and switches off
    // the opaque drawing of that ruler or thumb.
    const QImage& ImageHThumb() const { return Images[0]; }
    void SetImageHThumb(const QImage& image) { SetImage(0, image); }
    const QImage& ImageHRuler() const { return Images[1]; }
    void SetImageHRuler(const QImage& image) { SetImage(1, image); }
    const QImage& ImageVThumb() const { return Images[2]; }
    void SetImageVThumb(const QImage& image) { SetImage(2, image); }
    const QImage& ImageVRuler() const { return Images[3]; }
    void SetImageVRuler(const QImage& image) { SetImage(3, image); }

    // Geometry along the ruler: the length the thumb travels (0 when the control is
    // narrower than its thumb), a value's offset from the ruler start and back.
    int TravelLength() const;
    int ValueToOffset(int value) const;
    int OffsetToValue(int offset) const;
    QRect ThumbRect() const;
    QRect RulerRect() const;

    // Step 1 sets MinValue, 2 MaxValue; "up" and "down" go from the value rounded to a
    // multiple of Increment, one Increment further.
    enum TSliderStep { ssMin = 1, ssMax = 2, ssUp, ssDown };
    void Step(TSliderStep step);

    // Draws tick marks every valueStep (widened until 4 pixels apart), the end ticks
    // longLength pixels long, the others shortLength; for OnDrawPoints handlers.
    void DrawPoints(QPainter& p, int valueStep, int shortLength, int longLength);

    std::function<void()> OnChange;
    std::function<void()> OnChanged;
    std::function<void(QPainter& p)> OnDrawPoints;

    QSize sizeHint() const override { return QSize(150, 40); }

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    // A double click is no press of the slider.
    void mouseDoubleClickEvent(QMouseEvent*) override {}
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void SetImage(int which, const QImage& image);
    void SetRange(int minValue, int maxValue);
    // Geometry follows settings at once and the size whenever it is next needed, since
    // a hidden control learns of its new size only when it is shown.
    void Recalculate();
    void EnsureGeometry() const;
    const QImage& ThumbPicture() const;
    const QImage& RulerPicture() const;
    QRect Client() const;
    int Along(QPoint p) const;
    void MoveThumbTo(int offset);
    int StepDirectionAt(QPoint p) const;
    void StepTick();

    int FMinValue = 0;
    int FMaxValue = 100;
    int FIncrement = 10;
    int FValue = 0;
    TSliderOrientation FOrientation = soHorizontal;
    TSliderOptions FOptions = soShowFocus | soShowPoints | soSmooth;
    int FEdgeSize = 2;
    TBevelCut FBevelStyle = bvNone;
    int FNumThumbStates = 2;
    QImage Images[4];  // horizontal thumb and ruler, vertical thumb and ruler

    // Derived geometry.
    mutable QSize GeometrySize;  // the control size the geometry was made for
    mutable QImage Ruler;        // the ruler picture stretched to the ruler's length
    mutable QSize ThumbSize;     // one state of the thumb
    mutable QPoint RulerPos;     // top-left corner of the stretched ruler
    mutable int ThumbAcross = 0; // thumb's position across the axis

    bool ThumbDragging = false;
    int GrabOffset = 0;
    bool Stepping = false;
    int StepDirection = 0;  // +1 up, -1 down
    QPoint StepPoint;
    QTimer* StepTimer;      // child of the slider
};

// The slider the windows place.
class TExSlider : public TExCustomSlider {
    Q_OBJECT
public:
    explicit TExSlider(QWidget* parent = nullptr) : TExCustomSlider(parent) {}
};
