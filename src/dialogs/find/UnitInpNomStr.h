// The masked input of a sheet nomenclature with its dashes, "033-А-01".
#pragma once

#include "dialogs/find/UnitInpMaskStr.h"

class TFormInpNomStrDialog : public TFormInpMaskStrDialog {
    Q_OBJECT
public:
    TFormInpNomStrDialog(const QString& value, const QString& caption, const QString& message,
                         QWidget* parent = nullptr);
};

// Shows the window at the mouse and hands back the edit's text with both dashes,
// whatever the result.
TModalResult RunInpNomStr(QString& value, const QString& caption, const QString& message);
