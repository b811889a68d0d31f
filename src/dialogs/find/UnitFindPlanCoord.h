// "Определить координаты планшета по номенклатуре": a base sheet number, a quarter letter
// and a cell number compose a 1:500 sheet name; the window shows the sheet's corners and
// shows the sheet itself on the main plan.
#pragma once

#include "foundation/ui/DialogBase.h"

class QLabel;
class QPushButton;
class QToolButton;
class TNumEdit;

// The sheet name as the window shows it: base, "-", letter, "-", cell, with up to two
// leading zeros of the base dropped and a zero before the last character dropped:
// ("033", "Б", "05") gives "33-Б-5", ("007", "А", "10") gives "7-А-10".
QString ComposeNomenclature(const QString& base, const QString& letter, const QString& cell);

// Appends the view x1..x2 (north) by y1..y2 (east), metres, to the main plan's view
// history and draws the screen with mode 4, which fits that view into the surface.
// Raises what the drawing raises.
void ShowPlanView(Extended x1, Extended y1, Extended x2, Extended y2);

// The bold label, half as large again as the window's font, centred, that the sheet
// windows show the composed nomenclature in ("Label1").
QLabel* NomenclatureLabel(QWidget* parent);

class TFormFindPlanCoord : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormFindPlanCoord(QWidget* parent = nullptr);

    TNumEdit* NumEdit1;        // the base sheet number
    QToolButton* SpeedButton1; // "А" … "Г", one down at a time
    QToolButton* SpeedButton2;
    QToolButton* SpeedButton3;
    QToolButton* SpeedButton4;
    TNumEdit* NumEdit2;        // the cell number
    QLabel* Label1;            // the composed name
    TNumEdit* NumEdit3;        // x1, y1: the south-west corner
    TNumEdit* NumEdit4;
    TNumEdit* NumEdit5;        // x2, y2: the north-east corner
    TNumEdit* NumEdit6;
    QPushButton* Button1;      // "Найти планшет"
    QPushButton* BitBtn1;      // "Закрыть окно"

    // Composes the name and, for a base and a cell of 1 to 16, shows its corners;
    // "Найти планшет" is enabled only for a sheet the nomenclature knows.
    void NumEdit1Change();
    // Computes the corners again and shows the sheet on the main plan.
    void Button1Click();

private:
    // The letter of the button that is down.
    QString Letter() const;
    // The corners of the composed name; false (corners cleared) when the base and cell
    // name no sheet of the main plan's nomenclature.
    bool Corners(Extended& x1, Extended& y1, Extended& x2, Extended& y2);
    bool NumbersGiven();
    void ShowCorners(Extended x1, Extended y1, Extended x2, Extended y2);

    QString Name;
    bool Updating = false;
};

// Shows the window centred on the screen and returns its result.
TModalResult RunFindPlanCoord();
