// The calculator windows of the geodetic tasks on typed values: the inverse task, the
// next direction angle of a traverse side and the forward task. None changes the plan.
#pragma once

#include "foundation/GeoTypes.h"
#include "foundation/ui/DialogBase.h"

class QRadioButton;
class TNumEdit;

// Distance and direction angle between two points; recomputes on every change of the
// four inputs. Enter and Esc act whatever control has the focus.
class TFormOGZDialog : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormOGZDialog(QWidget* parent = nullptr);
    TNumEdit *neX1, *neY1, *neX2, *neY2;
    TNumEdit *neD, *neAG, *neAM, *neAS, *neAG2, *neAMM, *neAG3;
    void neX1Change();

    // Shows the window on the mouse with the four values, computed once; D and A receive
    // the distance and decimal-degree direction of the run's last computation between two
    // different points (0 and 0 before any). The entry OGZDialog opens it.
    static TModalResult Execute(Extended& D, Extended& A, Extended X1, Extended Y1,
                                Extended X2, Extended Y2);
};

// The next direction angle from the previous one and a left or right measured angle.
class TFormNextDirAngle : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormNextDirAngle(QWidget* parent = nullptr);
    TNumEdit *neAG, *neAM, *neAS, *neBG, *neBM, *neBS;
    QRadioButton *rbL, *rbR;
    TNumEdit *neAAG, *neAAM, *neAAS, *neAAG2, *neAAMM, *neAAG3;
    QPushButton* BitBtn2;
    void RecalcNextDirAngle();
    // The result becomes the next side's starting direction.
    void BitBtn2Click();

    // Every edit at "0", nothing computed until the first change; on the mouse. The entry
    // NextDirAngleDlg opens it.
    static TModalResult Execute();
};

// The next point from point 1, a direction given one of three ways, the measured left
// angle, distance and slope. Computes only when the inputs its way needs are valid.
class TFormPGZDialog : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormPGZDialog(QWidget* parent = nullptr);
    QRadioButton *RbCoord, *rbDir, *rb12;
    TNumEdit *X0, *Y0, *A1G, *A1m, *A1s, *A3g, *A3m, *A3s, *Xish, *Yish;
    TNumEdit *B1g, *B1m, *B1s, *S1, *V1g, *V1m, *V1s;
    TNumEdit *Xres, *Yres, *edx, *edy, *A2g, *A2m, *A2s;
    QPushButton* BackCoord;
    void XishChange();
    // Point 2 becomes point 1 for the next side.
    void BackCoordClick();

    // Opens in the centre of the screen. The entry PGZDialog opens it.
    static TModalResult Execute();

private:
    void FormCreate();
};
