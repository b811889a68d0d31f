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
    QWidget* pnPolygonProp;

    // Raises all eight mode buttons.
    void ReleaseModeButtons();
    // Shows the main window's polygon node attributes on the polygon panel.
    void UpdatePolygonPanel();

private:
    TExSpeedButton* ModeButton(const QString& caption, const QString& hint);
    TFormMap& Form;   // link, not owned
};
