// The constructions palette "Геометрические построения": the base line picked on the plan
// or typed, its direction and length, its blinking preview on the drawing surface, and
// the constructions on it (the polar and linear intersections, the square or rectangle,
// the circle or regular polygon) put into the plan through the main window's own
// creators. The tool palette makes it once and shows and hides it.
#pragma once

#include "foundation/GeoTypes.h"
#include "mainwindow/UnitMap.h"

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QLabel;
class TExSpeedButton;
class TNumEdit;
class TVclTimer;

// The semantics of a construction point, and the code that finds them all.
inline const QString ConstructionPointCode = QStringLiteral("ТОЧ/Ф500;");
inline const QString ConstructionPointObject = QStringLiteral("ТОЧ/Ф500");

class TFormInstr2 : public QWidget {
    Q_OBJECT
public:
    // A tool window of form, on top, with a close box only; hidden until shown.
    explicit TFormInstr2(TFormMap& form);

    // Group "Исходная линия".
    TExSpeedButton* SpeedButton1;   // "Начало": pick the start on the plan
    TNumEdit* NumEdit1;             // start X
    TNumEdit* NumEdit2;             // start Y
    TExSpeedButton* SpeedButton2;   // "Конец": pick the end on the plan
    TNumEdit* NumEdit3;             // end X
    TNumEdit* NumEdit4;             // end Y
    QLabel* lbA;                    // "Дир.угол …°…'…''"
    QLabel* lbD;                    // "Длина …м"

    QCheckBox* cbTP;                // " исп.точки построения"
    TExSpeedButton* SpeedButton3;   // polar intersection
    TExSpeedButton* SpeedButton4;   // linear intersection
    TExSpeedButton* SpeedButton8;   // square or rectangle
    TExSpeedButton* SpeedButton7;   // circle or regular polygon
    TExSpeedButton* sbDelTP;        // delete every construction point
    TVclTimer* Timer2;              // the base line's preview, 500 ms

    // The base line last shown valid and of non-zero length; the preview draws it.
    TGeoPoint BaseStart, BaseEnd;

    // On showing and on every change of the four edits: with four valid numbers the
    // labels show the line's direction and length, and a line of non-zero length becomes
    // the stored base line with the preview on; otherwise the preview goes off (the
    // labels keep their text when a number is missing).
    void CheckBaseLine();

    void SpeedButton1Click();
    void SpeedButton2Click();
    // The intersections: with cbTP on, "Не запрашивать семантику" is pressed and the
    // main window's point code becomes the construction point's for good; the point goes
    // in through the main window's creator; the button is released whatever happens.
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton8Click();
    void SpeedButton7Click();
    // Deletes the points of the construction point code on every sheet and layer, then
    // redraws the plan.
    void sbDelTPClick();
    void Timer2Timer();

protected:
    void showEvent(QShowEvent* e) override;
    // Hiding, also by the close box, stops the preview and releases the tool palette's
    // button of this window.
    void hideEvent(QHideEvent* e) override;

private:
    // The base line as the edits hold it, 0 for an edit without a valid number.
    void EditedBaseLine(Extended& X1, Extended& Y1, Extended& X2, Extended& Y2);
    void Intersection(bool polar);

    TFormMap& Form;                             // link, not owned
    QPointer<TExSpeedButton> PaletteButton;     // the tool palette's sbInstr2 (not owned)
};

// The node array of a figure from its vertices: every node with the attribute bytes
// (segment type, style, node line, node picture, curve) of attributes; a line gets one
// node more, a copy of the first, to close the outline.
TCreateNodeArr FigureNodes(const std::vector<TGeoPoint>& vertices,
                           const std::array<std::uint8_t, 5>& attributes, bool closeLine);

// The factory behind the survey hook: the palette of owner when owner is the main
// window, else none.
QWidget* NewConstructionsPalette(QWidget* owner);
