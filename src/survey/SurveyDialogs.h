// What the main window opens of the field-survey windows: the calculators of the plan
// menu, the staking-out input, the strip parameters and the constructions palette. Each
// entry is reached through a replaceable hook; the program installs the real windows at
// start (InstallSurveyWindows), tests install scripted answers, and without a hook an
// entry opens nothing, answers 2 and leaves its arguments as they were.
#pragma once

#include "foundation/GeoTypes.h"
#include "foundation/ServDialogs.h"

#include <array>
#include <functional>

class QWidget;

// One member per entry. Each receives the arguments as the entry does and returns the
// modal result; an empty member means "no window".
struct TSurveyDialogHooks {
    std::function<TModalResult(Extended& D, Extended& A, Extended X1, Extended Y1, Extended X2,
                               Extended Y2)>
        OGZDialog;
    std::function<TModalResult()> NextDirAngleDlg;
    std::function<TModalResult()> PGZDialog;
    std::function<TModalResult()> TheodolitDlg;
    std::function<TModalResult()> InputTaheoDlg;
    std::function<TModalResult(Extended& X0, Extended& Y0, Extended& OrX, Extended& OrY)>
        InpOGZDialog;
    std::function<TModalResult(int& position, int& leftType, int& rightType, Extended& width)>
        QStripDialog;
    // Makes the constructions palette with owner as its owner; it is the caller's to keep.
    std::function<QWidget*(QWidget* owner)> NewFormInstr2;
    // The constructions palette's dialogs on the base line (X1, Y1)→(X2, Y2): the linear
    // intersection, the square or rectangle, the circle or regular polygon
    // (survey/construct/ConstructDialogs.h).
    std::function<TModalResult(Extended& X, Extended& Y, Extended X1, Extended Y1, Extended X2,
                               Extended Y2)>
        Inp2LinesDialog;
    std::function<TModalResult(std::array<TGeoPoint, 4>& corners, int& kind, Extended X1,
                               Extended Y1, Extended X2, Extended Y2)>
        InpSQRDialog;
    std::function<TModalResult(Extended& Xc, Extended& Yc, Extended& R, int& kind, int& n,
                               Extended X1, Extended Y1, Extended X2, Extended Y2)>
        InpCircleDialog;
};

// The one set in force.
TSurveyDialogHooks& SurveyDialogHooks();

// Puts a set in force for its lifetime and restores the previous one after.
class TScopedSurveyDialogHooks {
public:
    explicit TScopedSurveyDialogHooks(TSurveyDialogHooks hooks = {});
    ~TScopedSurveyDialogHooks();
    TScopedSurveyDialogHooks(const TScopedSurveyDialogHooks&) = delete;
    TScopedSurveyDialogHooks& operator=(const TScopedSurveyDialogHooks&) = delete;

private:
    TSurveyDialogHooks Saved;
};

// Installs the real windows behind every hook; the program calls it once at start.
void InstallSurveyWindows();

// The inverse task between (X1, Y1) and (X2, Y2): D and A receive the distance and the
// direction angle (decimal degrees) of the run's last computation between two different
// points. The plan menu passes four zeros and ignores D and A.
TModalResult OGZDialog(Extended& D, Extended& A, Extended X1, Extended Y1, Extended X2,
                       Extended Y2);
// The next direction angle of a traverse side.
TModalResult NextDirAngleDlg();
// The forward task.
TModalResult PGZDialog();
// The theodolite traverse.
TModalResult TheodolitDlg();
// The tacheometric survey ("Полярная засечка, тахеометрическая съемка").
TModalResult InputTaheoDlg();

// The staking-out input: the station (X0, Y0) and the orientation point (OrX, OrY). The
// window shows the values passed in and writes all four back however it closes; 1 on OK.
TModalResult InpOGZDialog(Extended& X0, Extended& Y0, Extended& OrX, Extended& OrY);

// The strip parameters: position 1 "слева по ходу", 2 "симметрично", 3 "справа по
// ходу"; left and right segment types 0 "основной", 1 "специальный тип 1", 2 "специальный
// тип 2"; the width in metres. The window writes all four back whatever the result; 1 on
// OK.
TModalResult QStripDialog(int& position, int& leftType, int& rightType, Extended& width);

// The constructions palette made for owner, or null when there is none (the palette's
// button then springs back up).
QWidget* NewFormInstr2(QWidget* owner);
