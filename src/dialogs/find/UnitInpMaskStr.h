// The masked input of a sheet nomenclature without dashes, "033А01": a message above,
// the mask edit and "Готово" below; it opens at the mouse.
#pragma once

#include "foundation/ui/DialogBase.h"

class QPushButton;
class TMaskEdit;

class TFormInpMaskStrDialog : public TMessageWindow {
    Q_OBJECT
public:
    TFormInpMaskStrDialog(const QString& value, const QString& caption, const QString& message,
                          QWidget* parent = nullptr);

    TMaskEdit* MaskEdit1;
    QPushButton* BitBtn1;   // "Готово"

protected:
    // The window of the mask mask (in the original "mask;literals;blank" form) with an
    // edit width wide enough for it.
    TFormInpMaskStrDialog(const QString& mask, int editWidth, const QString& value,
                          const QString& caption, const QString& message, QWidget* parent);
};

// Shows the window at the mouse and hands back the edit's text, literals included,
// whatever the result.
TModalResult RunInpMaskStr(QString& value, const QString& caption, const QString& message);
