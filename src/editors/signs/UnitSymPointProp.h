// "Свойства точечного знака": one point sign file of one scale, its picture, caption
// rules and leader line, shown on a sample point.
#pragma once

#include "editors/signs/SignPropBase.h"

class QCheckBox;
struct RVpGPoint;

// Edits the point sign file signFile (a full path) of scale 1:scale; 1 after "Сохранить".
TModalResult SymPointPropDlg(const QString& signFile, int scale);

class TFormSymPointProp : public TFormSignProp {
    Q_OBJECT
public:
    TFormSymPointProp(const QString& signFile, int scale, QWidget* parent);
    // The sign under edit; null when it did not load.
    RVpGPoint* Sign();

    QPushButton* sbEdit;   // "Изменить знак"
    QCheckBox* chbLine;    // "Линия к первой строке"

protected:
    TSemTexts* Captions() override;
    void FillControls() override;
};
