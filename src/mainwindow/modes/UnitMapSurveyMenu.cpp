// The survey items of the plan menu and the mode menu: contour tracing, height
// interpolation and its settings, the height check, staking out, coordinate sampling,
// the geodetic calculators and the circle construction. Each sets its mode or opens
// its window; the clicks themselves are handled by the modes' own files.
#include "mainwindow/UnitMap.h"

#include "controls/ExSpeedButton.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/ServDialogs.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/MapMenuItems.h"
#include "survey/StakingOut.h"
#include "survey/SurveyDialogs.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace {

// The snap switch on, as the palette's button does it: the marks are found by snapping.
void PressLink(TFormMap& form)
{
    if (!form.FormInstr1)
        return;
    form.FormInstr1->btLink->SetDown(true);
    if (form.FormInstr1->btLink->OnClick)
        form.FormInstr1->btLink->OnClick();
}

} // namespace

void TFormMap::NTraceGorizontalClick()
{
    if (InpFltDialog(ContourHeight, QStringLiteral("Ввод высоты"),
                     QStringLiteral("введите высоту горизонтали")) == mrOk)
        SetMouseMode(mmTraceContour, 0, true);
    PressLink(*this);
}

void TFormMap::N70Click() { NTraceGorizontalClick(); }

void TFormMap::N35Click()
{
    if (InpIntDialog(InterpolationCount, QStringLiteral("Ввод числа точек интерполирования"),
                     QString()) == mrOk)
        SetMouseMode(mmInterpolateHeights, 0, true);
    PressLink(*this);
}

void TFormMap::N36Click()
{
    Extended step = InterpolationStep;
    if (InpFltDialog(step, QStringLiteral("Ввод расстояния между точками интерполирования"),
                     QString()) == mrOk) {
        if (step > 0) {
            InterpolationStep = step;
            InterpolationCount = -1;
        } else {
            // A step of zero would never reach the second mark.
            ShowMsgDialog(QStringLiteral("Ввод расстояния между точками интерполирования"),
                          QStringLiteral("Расстояние между точками должно быть больше 0"));
        }
    }
    SetMouseMode(mmInterpolateHeights, 0, true);
    PressLink(*this);
}

void TFormMap::N38Click()
{
    InpFltDialog(ScatterInPlan, QStringLiteral("разброса в плане, +-м"), QString());
    InpFltDialog(ScatterInHeight, QStringLiteral("разброса по высоте, +-м"), QString());
}

void TFormMap::N84Click() { SetMouseMode(mmCheckHeights, 0, true); }

void TFormMap::sbMPClick() { N84Click(); }

void TFormMap::NOGZClick()
{
    StakeoutStation = GeoPoint(0, 0);
    StakeoutOrientation = GeoPoint(0, 0);
    // The window writes its values back however it closes.
    const TModalResult result = InpOGZDialog(StakeoutStation.X, StakeoutStation.Y,
                                             StakeoutOrientation.X, StakeoutOrientation.Y);
    if (result != mrOk)
        return;
    SetMouseMode(mmOGZ, 0, false);
    NewFormOGZList(this);
}

void TFormMap::N57Click()
{
    SetMouseMode(mmSampleCoords, 0, false);
    TFormOGZList* list = NewFormOGZList(this);
    list->setWindowTitle(QStringLiteral("Выборка координат с плана"));
}

void TFormMap::N39Click()
{
    Extended D = 0, A = 0;
    OGZDialog(D, A, 0, 0, 0, 0);
}

void TFormMap::N45Click() { NextDirAngleDlg(); }

void TFormMap::N46Click() { PGZDialog(); }

void TFormMap::N47Click() { TheodolitDlg(); }

void TFormMap::N48Click() { InputTaheoDlg(); }

void TFormMap::NCreateCircleClick()
{
    if (InpFltDialog(CircleTolerance, QStringLiteral("Точность построения"),
                     QStringLiteral("введите отклонения прямых от окружности")) == mrOk)
        SetMouseMode(mmCreateCircle, 0, true);
}

void TFormMap::N71Click() { NCreateCircleClick(); }

void TFormMap::ConnectSurveyCommands()
{
    // After the conversions, before the group of the object removal.
    QAction* before = nullptr;
    const QList<QAction*> plan = NPlan->actions();
    for (qsizetype i = 0; i < plan.size(); ++i)
        if (plan[i]->objectName() == QLatin1String("NConversions")) {
            before = plan.value(i + 1);
            break;
        }
    auto* calculations = new QMenu(QStringLiteral("Расчеты"), NPlan);
    calculations->menuAction()->setObjectName(QStringLiteral("NCalculations"));
    NPlan->insertMenu(before, calculations);
    AddMapCommand(*this, calculations, nullptr, "Вынос точек", "NOGZ", &TFormMap::NOGZClick);
    AddMapCommand(*this, calculations, nullptr, "выборка координат", "N57", &TFormMap::N57Click);
    AddMapCommand(*this, calculations, nullptr, "Обратная геодезическая задача (классич.)", "N39", &TFormMap::N39Click);
    AddMapCommand(*this, calculations, nullptr, "Расчет дирекционного угла", "N45", &TFormMap::N45Click);
    AddMapCommand(*this, calculations, nullptr, "Прямая геодезическая задача", "N46", &TFormMap::N46Click);
    AddMapCommand(*this, calculations, nullptr, "Теодолитный ход", "N47", &TFormMap::N47Click);
    AddMapCommand(*this, calculations, nullptr, "Тахеометрическая съемка", "N48", &TFormMap::N48Click);
    AddMapCommand(*this, NPlan, before, "Прокладка горизонтали", "NTraceGorizontal", &TFormMap::NTraceGorizontalClick);
    auto* interpolation = new QMenu(QStringLiteral("Высотная интерполяция"), NPlan);
    interpolation->menuAction()->setObjectName(QStringLiteral("NInterpolation"));
    NPlan->insertMenu(before, interpolation);
    AddMapCommand(*this, interpolation, nullptr, "Фиксированное число точек", "N35", &TFormMap::N35Click);
    AddMapCommand(*this, interpolation, nullptr, "Фиксированное максимальное расстояние между точками", "N36",
                  &TFormMap::N36Click);
    AddMapCommand(*this, interpolation, nullptr, "Случайный разброс", "N38", &TFormMap::N38Click);
    AddMapCommand(*this, interpolation, nullptr, "проверить высоту пикета в заданном месте", "N84",
                  &TFormMap::N84Click);
    AddMapCommand(*this, NPlan, before, "Построение окружности", "NCreateCircle", &TFormMap::NCreateCircleClick);

    // The mode menu made its two survey items without a handler.
    for (QAction* a : NMouseMode->actions()) {
        if (a->text() == QStringLiteral("Прокладка горизонтали")) {
            a->setObjectName(QStringLiteral("N70"));
            connect(a, &QAction::triggered, this, [this] { N70Click(); });
        } else if (a->text() == QStringLiteral("Создание окружности")) {
            a->setObjectName(QStringLiteral("N71"));
            connect(a, &QAction::triggered, this, [this] { N71Click(); });
        }
    }
    if (QToolButton* b = PanelButtons.value(QStringLiteral(".")))
        connect(b, &QToolButton::clicked, this, [this] { sbMPClick(); });
}
