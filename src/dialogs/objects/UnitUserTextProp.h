// "Пользовательские настройки автотекста": one user setting of an automatic caption,
// its extra shift, rotation, size factor and visibility. The window has no cancel
// button: whatever way it closes, the values shown are written back.
#pragma once

#include "foundation/GeoTypes.h"
#include "foundation/ui/DialogBase.h"

#include <cstdint>

class QPushButton;
class QToolButton;
class TAnglePaintBox;
class TExSlider;
class TNumEdit;

// The window on the setting, then, in this order: visibility, size factor, rotation
// (the degrees shown × 10, halves to even), dx, dy. 2 and nothing changed without a window.
TModalResult UserTextPropDlg(Extended& dx, Extended& dy, TWinAngle& rotation, Extended& sizeFactor,
                             std::uint8_t& visibility);

class TFormUserTextProp : public TDialogBase {
    Q_OBJECT
public:
    TFormUserTextProp(Extended dx, Extended dy, TWinAngle rotation, Extended sizeFactor,
                      std::uint8_t visibility, QWidget* parent = nullptr);

    // The values as the window shows them; rotation in tenths.
    void Read(Extended& dx, Extended& dy, TWinAngle& rotation, Extended& sizeFactor,
              std::uint8_t& visibility);

    TNumEdit* neX;
    TNumEdit* neY;
    TNumEdit* neAngle;     // degrees
    TExSlider* ExSlider2;  // whole degrees, -360 to 360
    TAnglePaintBox* pbAngle;
    QToolButton* sbAuto;
    QToolButton* sbOn;
    QToolButton* sbOff;
    TNumEdit* neKSz;
    QPushButton* BitBtn1;  // "Готово"
};
