// The tool palette as the main window sees it: the eight mode buttons, the raster-link
// and no-semantics buttons and the polygon panel. Its own behaviour (what each button
// does, the polygon panel's controls, the focus return) belongs to the palette's issue;
// here it is the shell the mode setter presses and releases.
#pragma once

#include <QWidget>

class TExSpeedButton;
class TFormMap;

class TFormInstr1 : public QWidget {
    Q_OBJECT
public:
    explicit TFormInstr1(TFormMap& form, QWidget* owner);

    TExSpeedButton* sbSelectView;
    TExSpeedButton* sbMoveView;
    TExSpeedButton* sbSelectObject;
    TExSpeedButton* sbText;
    TExSpeedButton* sbPoint;
    TExSpeedButton* sbLine;
    TExSpeedButton* sbPolygon;
    TExSpeedButton* sbOtm;
    TExSpeedButton* btLink;
    TExSpeedButton* sbNoSem;
    TExSpeedButton* sbInstr2;   // "Геометрические построения"
    QWidget* pnPolygonProp;
    // The constructions palette, made on the first press of sbInstr2 (owned by the main
    // window; link, not owned here); null before and while no such palette exists.
    QWidget* FormInstr2 = nullptr;

    // Raises all eight mode buttons.
    void ReleaseModeButtons();
    // Shows the main window's polygon node attributes on the polygon panel.
    void UpdatePolygonPanel();
    // Down: makes the constructions palette once (the palette's opacity, its top, 10
    // pixels from the screen's left edge) and shows it; without one the button springs
    // back up. Up: hides it.
    void sbInstr2Click();

private:
    TExSpeedButton* ModeButton(const QString& caption, const QString& hint);
    TFormMap& Form;   // link, not owned
};
