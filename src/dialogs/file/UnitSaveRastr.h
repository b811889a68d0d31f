// The parameter windows of the raster export and of printing: scale, resolution and
// colour depth with the size of the image to be written; print scale, depth and the
// calibration factors.
#pragma once

#include "foundation/ProgramDialogs.h"
#include "foundation/ui/DialogBase.h"

#include <QList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class TNumEdit;

// The size line of an image of the plan rectangle northExtent by eastExtent metres at
// 1:scale, dpi dots per inch and bits per pixel: "Размер BMP (WxH)=MMb", or the kilobytes
// with two decimals and "Kb" when the megabytes round to 0. Empty when the scale is
// below 1 or the resolution not above 0, which give no size at all.
QString RasterSizeLine(Extended northExtent, Extended eastExtent, int scale, Extended dpi, int bits);

// The scale buttons of both windows: 100, 200, 500 … 100000.
const QList<int>& ScaleButtonValues();

class TFormSaveRastr : public TDialogBase {
    Q_OBJECT
public:
    TFormSaveRastr(int scale, Extended dpi, TPixelDepth depth, Extended northExtent,
                   Extended eastExtent, QWidget* parent = nullptr);

    // The values as the window holds them: the resolution false when its text is no
    // number, the depth 0 when no choice is on.
    int Scale();
    bool Dpi(Extended& dpi) const;
    TPixelDepth Depth() const;

    QLineEdit* Edit1;        // "1:"
    TNumEdit* NumEdit1;      // the scale
    QList<QPushButton*> ScaleButtons;   // B100 … B100000
    QComboBox* cbDPI;
    QRadioButton* pf1;
    QRadioButton* pf4;
    QRadioButton* pf8;
    QRadioButton* pf16;
    QRadioButton* pf24;
    QLabel* LabelSize;
    QPushButton* BitBtn1;    // "Готово"

    // Runs on every change of the scale, the resolution or the depth.
    void NumEdit1Change();

private:
    // "Готово" only with a scale of 1 or more and a resolution above 0; otherwise the
    // field at fault takes the focus.
    void Confirm();

    Extended NorthExtent;
    Extended EastExtent;
};

class TFormPrintScale : public TDialogBase {
    Q_OBJECT
public:
    TFormPrintScale(int scale, TPixelDepth depth, Extended kx, Extended ky,
                    QWidget* parent = nullptr);

    // The depth of the button that is down; 0 when none is.
    TPixelDepth Depth() const;

    QLineEdit* Edit1;
    TNumEdit* NumEdit1;
    QList<QPushButton*> ScaleButtons;
    QToolButton* sb2;
    QToolButton* sb16;
    QToolButton* sb256;
    QToolButton* sbHi;
    QToolButton* sbTc;
    TNumEdit* MX;   // kx
    TNumEdit* MY;   // ky
    QPushButton* Button1;   // "Ok"

protected:
    void showEvent(QShowEvent* e) override;

private:
    // "Ok" only with a scale of 1 or more; otherwise the scale takes the focus.
    void Confirm();
};
