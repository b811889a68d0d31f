// "Свойства линейного знака": one line sign file of one scale, its six pictures, the
// plain line in the segment, its lengths and caption rules, shown on a sample line.
#pragma once

#include "editors/signs/SignPropBase.h"

class QCheckBox;
class QRadioButton;
class TColorPanel;
struct RVpGLine;

// Edits the line sign file signFile (a full path) of scale 1:scale; 1 after "Сохранить".
TModalResult SymLinePropDlg(const QString& signFile, int scale);

class TFormSymLineProp : public TFormSignProp {
    Q_OBJECT
public:
    TFormSymLineProp(const QString& signFile, int scale, QWidget* parent);
    RVpGLine* Sign();

    QPushButton* PictureButtons[6];   // line start and end, segment start and end, two pieces
    TNumEdit* neDS;            // "Длина рисунка"
    TNumEdit* neSTDIST;        // "Расстояние между подписями семантики"
    TNumEdit* neSTFirstDist;   // "Расстояние от начала линии до первой подписи"
    QRadioButton* rCentr;      // "по центру каждого сегмента"
    QRadioButton* rDist;       // "по расстояниям, вдоль линии"
    TNumEdit* neRC;            // "Число отрезков сегмента на повтор текста"
    TNumEdit* neX;
    TNumEdit* neY;
    QCheckBox* cbEnableELine;  // "включить"
    TColorPanel* pnELineColor; // "цвет"
    TNumEdit* neELineW;        // "Толщина"

protected:
    TSemTexts* Captions() override;
    void FillControls() override;

private:
    // Binds a real edit to a field of the sign: typing writes it and redraws.
    void BindReal(TNumEdit* edit, Extended RVpGLine::*field);
};
