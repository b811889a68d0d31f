// The dialogs of the constructions palette: the linear intersection, the square or
// rectangle and the circle or regular polygon on the base line. Each is made on first
// use with the main window as owner and kept for the run, so its inputs stay as the user
// left them; each opens in the screen centre, takes Enter for "Готово" and Esc for cancel
// whatever control has the focus. The entries reach them through the survey hooks.
#pragma once

#include "foundation/GeoTypes.h"
#include "foundation/ui/DialogBase.h"

#include <array>

class QRadioButton;
class TNumEdit;

// The object kinds the rectangle and circle dialogs hand back.
constexpr int ckLine = 1;
constexpr int ckPolygon = 2;

// The most sides a circle's polygon may have, typed or computed: more would only make
// a plan command no one can draw or edit.
constexpr int MaxCircleVertices = 100000;

// "Линейная засечка".
class TFormInp2LinesDialog : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormInp2LinesDialog(QWidget* parent = nullptr);

    TNumEdit* NumEdit1;             // "Расстояние от точки 1,м"
    TNumEdit* NumEdit2;             // "Расстояние от точки 2,м"
    QRadioButton* RadioButton1;     // "слева от линии"
    QRadioButton* RadioButton2;     // "справа от линии"
    QPushButton* Button1;           // "Готово"

    // The length of the base line the distances must make a triangle with.
    Extended BaseLength = 0;

    // "Готово" and Enter: closes with 1 when the distances make a triangle with the
    // base; otherwise says why under "Неверные данные!" and stays open.
    void Button1Click();

    // The entry: (X, Y) receive the point on OK, and stay as they were otherwise.
    static TModalResult Execute(Extended& X, Extended& Y, Extended X1, Extended Y1, Extended X2,
                                Extended Y2);
};

// "Прямоугольный объект".
class TFormInpSQRDialog : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormInpSQRDialog(QWidget* parent = nullptr);

    QRadioButton* RadioButton1;   // "слева от линии"
    QRadioButton* RadioButton2;   // "справа от линии"
    QRadioButton* RadioButton3;   // "Площадной объект"
    QRadioButton* RadioButton4;   // "Линейный объект"
    QRadioButton* RadioButton5;   // "квадрат"
    QRadioButton* RadioButton6;   // "прямоугольник"
    TNumEdit* NumEdit2;           // the side on the base line: the base's length at every opening
    TNumEdit* NumEdit1;           // the other side of a rectangle, enabled with "прямоугольник"
    QPushButton* Button1;         // "Готово"

    // "Готово" and Enter: closes with 1 when the side on the base is above 0 and either
    // "квадрат" is chosen or the other side is above 0; otherwise nothing happens.
    void Button1Click();

    // The entry: on OK corners receive the four corners from the base line's start and
    // kind ckPolygon or ckLine; otherwise both stay as they were.
    static TModalResult Execute(std::array<TGeoPoint, 4>& corners, int& kind, Extended X1,
                                Extended Y1, Extended X2, Extended Y2);
};

// "Окружность (многоугольник)".
class TFormInpCircleDialog : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormInpCircleDialog(QWidget* parent = nullptr);

    QRadioButton* RadioButton1;   // "центр в точке 1"
    QRadioButton* RadioButton2;   // "центр в точке 2"
    QRadioButton* RadioButton5;   // "центр в середине"
    QRadioButton* RadioButton3;   // "Площадной объект"
    QRadioButton* RadioButton4;   // "Линейный объект"
    TNumEdit* NumEdit1;           // "Диаметр"
    QPushButton* Button2;         // "=1лин."
    QPushButton* Button3;         // "= 2 лин."
    QPushButton* Button4;         // "= 1/2 лин."
    QRadioButton* RadioButton6;   // "точность построения (окружность)"
    TNumEdit* NumEdit2;           // the chord tolerance
    QRadioButton* RadioButton7;   // "количество сторон (многоугольник)"
    TNumEdit* NumEdit3;           // the number of sides
    QPushButton* Button1;         // "Готово"

    // The length of the base line the diameter buttons take.
    Extended BaseLength = 0;

    // The number of sides by the chosen rule (the tolerance's count or the typed one).
    int VertexCount();
    // "Готово" and Enter: nothing while the diameter is not above 0; a tolerance outside
    // (0, radius) or a number of sides outside 3..MaxCircleVertices is refused under
    // "Неверные данные!" with the window left open; otherwise closes with 1.
    void Button1Click();

    // The entry: on OK (Xc, Yc) the centre, R the radius, kind ckPolygon or ckLine and n
    // the number of sides; otherwise all stay as they were.
    static TModalResult Execute(Extended& Xc, Extended& Yc, Extended& R, int& kind, int& n,
                                Extended X1, Extended Y1, Extended X2, Extended Y2);

private:
    void EnableVertexRule();
};

// The entries the palette calls; without a window installed each answers 2 and leaves
// its arguments as they were.
TModalResult Inp2LinesDialog(Extended& X, Extended& Y, Extended X1, Extended Y1, Extended X2,
                             Extended Y2);
TModalResult InpSQRDialog(std::array<TGeoPoint, 4>& corners, int& kind, Extended X1, Extended Y1,
                          Extended X2, Extended Y2);
TModalResult InpCircleDialog(Extended& Xc, Extended& Yc, Extended& R, int& kind, int& n,
                             Extended X1, Extended Y1, Extended X2, Extended Y2);

// Puts the palette and its dialogs behind the survey hooks; dialogs kept from an earlier
// installation go, so a new installation starts with the defaults.
void InstallConstructWindows();
