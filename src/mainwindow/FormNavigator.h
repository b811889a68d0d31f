// The navigator: a small stay-on-top window that moves the plan's view without the mouse
// on the surface: eight arrows pan by a fraction of the window, two buttons zoom by a
// matching factor, the centre returns to the previous view and a box shows and sets the
// scale. The pan and zoom operations are static: the mouse wheel runs them whether or not
// the navigator was ever made, with the step of "12%" then.
#pragma once

#include "foundation/GeoTypes.h"

#include <QWidget>

class QComboBox;
class QLabel;
class TExSpeedButton;
class TFormMap;

class TFormNavigator : public QWidget {
    Q_OBJECT
public:
    // Made by the palette on first use, owned by the main window.
    explicit TFormNavigator(TFormMap& form);
    ~TFormNavigator() override;

    // The steps: "100%", "50%", "25%" (down at first), "12%"; one group, all may be up.
    TExSpeedButton* btn1;
    TExSpeedButton* btn12;
    TExSpeedButton* btn14;
    TExSpeedButton* btn18;
    // The arrows on their card, row by row; btBack in the centre.
    QLabel* Image1;
    TExSpeedButton* PlanMoveUpLeft;
    TExSpeedButton* PlanMoveUp;
    TExSpeedButton* PlanMoveUpRight;
    TExSpeedButton* PlanMoveLeft;
    TExSpeedButton* btBack;
    TExSpeedButton* PlanMoveRight;
    TExSpeedButton* PlanmoveDownLeft;
    TExSpeedButton* PlanMoveDown;
    TExSpeedButton* PlanMoveDownRight;
    TExSpeedButton* btIn;    // "Увеличить"
    TExSpeedButton* btOut;   // "Уменьшить"
    // The scale of the view; the plan writes into it after every screen drawing.
    QComboBox* MapScale;

    // The fraction of the window a pan moves and the factor of a zoom, by the step button
    // that is down: 1 and 2, 0.5 and 1.5, 0.25 and 1.25, 0.125 and 1.125; also the last
    // pair without a navigator or with every step button up.
    static Extended PanStep();
    static Extended ZoomFactor();

    // Pans: a copy of the current view record shifted north (dX) and east (dY) becomes
    // the current view, drawn with mode 3. Nothing while the view has no scale.
    static void PlanMoveUpLeftClick();
    static void PlanMoveUpClick();
    static void PlanMoveUpRightClick();
    static void PlanMoveLeftClick();
    static void PlanMoveRightClick();
    static void PlanMoveDownLeftClick();
    static void PlanMoveDownClick();
    static void PlanMoveDownRightClick();
    // Drops the last record of the view history and draws with mode 3.
    static void btBackClick();
    // Zooms by the factor: the requested scale is the view scale divided (in) or
    // multiplied (out), halves to even, moved by one when that equals the request already
    // made; drawn with mode 5.
    static void btInClick();
    static void btOutClick();
    // The box's text as the requested scale, drawn with mode 5; a text that is not a whole
    // number of at least 1 draws nothing.
    void MapScaleChange();

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    // dx north and dy east in units of the pan step.
    static void Pan(int dx, int dy);
    static void Zoom(bool in);
    // The box shows the view scale, when the navigator exists.
    static void ShowViewScale();
    TFormMap& Form;   // link, not owned
};

// The navigator of the run; null until the palette makes it.
extern TFormNavigator* FormNavigator;
