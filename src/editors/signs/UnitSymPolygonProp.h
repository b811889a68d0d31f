// "Свойства площадного знака": one area sign file of one scale, its eleven pictures with
// the numbers that place them, the simple outline lines, the fill and the caption rules,
// shown on a sample polygon.
#pragma once

#include "editors/signs/SignPropBase.h"

#include <vector>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class TColorPanel;
struct RVpGPolygon;

// Edits the area sign file signFile (a full path) of scale 1:scale; 1 after "Сохранить".
TModalResult SymPolygonPropDlg(const QString& signFile, int scale);

class TFormSymPolygonProp : public TFormSignProp {
    Q_OBJECT
public:
    TFormSymPolygonProp(const QString& signFile, int scale, QWidget* parent);
    RVpGPolygon* Sign();

    // The controls by name, as the tables lay them out.
    std::vector<TNumEdit*> NumEdits;          // in the order of the number table
    std::vector<QPushButton*> PictureButtons; // in the order of the picture table
    std::vector<QButtonGroup*> ChoiceGroups;  // in the order of the choice table
    QCheckBox* cbFill;         // "Заливка"
    TColorPanel* pnFill;
    QCheckBox* cbELine1;       // "включить" of the main segment
    TColorPanel* pnELine1Color;
    QCheckBox* cbELine2;       // "включить" of the special segment
    TColorPanel* pnELine2Color;

protected:
    TSemTexts* Captions() override;
    void FillControls() override;

private:
    void Changed() { Preview->SignChanged(); }
};
