// The three dialogs of the constructions palette and their entries. The windows only
// gather and check the inputs; the points come from the constructions of the foundation.
#include "survey/construct/ConstructDialogs.h"

#include "foundation/Constructions.h"
#include "foundation/DelphiFormat.h"
#include "foundation/GeoServ.h"
#include "foundation/ui/NumEdit.h"
#include "survey/SurveyDialogs.h"
#include "survey/construct/FormInstr2.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

#include <climits>

namespace {

const QString BadData = QStringLiteral("Неверные данные!");

// The owner of the kept dialogs: the program's main window, or the active window when
// there is none (a window opened on its own).
QWidget* MainWindowOwner()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(w) && w->isVisible())
            return w;
    return DialogOwner();
}

// The dialog kept in kept, made on first use. It goes with its owner, or at the end of
// the run when it has none.
template <class TForm>
TForm& Kept(QPointer<TForm>& kept)
{
    if (!kept) {
        QWidget* owner = MainWindowOwner();
        kept = new TForm(owner);
        if (!owner)
            QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                             kept.data(), &QObject::deleteLater);
    }
    return *kept;
}

QPointer<TFormInp2LinesDialog>& KeptLines()
{
    static QPointer<TFormInp2LinesDialog> kept;
    return kept;
}

QPointer<TFormInpSQRDialog>& KeptSQR()
{
    static QPointer<TFormInpSQRDialog> kept;
    return kept;
}

QPointer<TFormInpCircleDialog>& KeptCircle()
{
    static QPointer<TFormInpCircleDialog> kept;
    return kept;
}

template <class TForm>
void Forget(QPointer<TForm>& kept)
{
    if (kept) {
        kept->deleteLater();
        kept.clear();
    }
}

// A real edit with decimals decimals (none: as typed), either separator accepted; text
// that is no number gets the last valid value back.
TNumEdit* RealEdit(TDialogBase* dialog, QWidget* parent, const char* name, const QRect& rect,
                   Extended value, int decimals)
{
    auto* edit = new TNumEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->ClearTextIFValueNotFloat = true;
    edit->ClearAndChangeToOldValue = true;
    edit->UniversalDecimalSeparator = true;
    if (decimals > 0) {
        edit->EnableFloatPrecision = true;
        edit->SetNumberOfDecimalDigits(std::uint8_t(decimals));
    }
    edit->setAlignment(Qt::AlignRight);
    edit->SetFloatValue(value);
    if (parent == dialog)
        dialog->Place(edit, rect);
    else
        edit->setGeometry(rect);
    return edit;
}

QFrame* Panel(TDialogBase* dialog, const QRect& rect)
{
    auto* frame = new QFrame(dialog);
    frame->setFrameShape(QFrame::StyledPanel);
    dialog->Place(frame, rect);
    return frame;
}

QRadioButton* Choice(QWidget* parent, const char* text, const char* name, const QRect& rect,
                     bool checked = false)
{
    auto* b = new QRadioButton(QString::fromUtf8(text), parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(rect);
    b->setChecked(checked);
    return b;
}

QLabel* Caption(QWidget* parent, const char* text, const QRect& rect)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setGeometry(rect);
    return label;
}

// "Готово" as the default button, with Enter and Esc taken before any control: Enter
// asks the window's own check, Esc cancels.
QPushButton* ReadyButton(TDialogBase* dialog, const QRect& rect, std::function<void()> click)
{
    QPushButton* button = dialog->AddButton(QStringLiteral("Готово"), rect, mrNone);
    button->setObjectName(QStringLiteral("Button1"));
    button->setDefault(true);
    QObject::connect(button, &QPushButton::clicked, dialog, click);
    for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter)})
        QObject::connect(new QShortcut(QKeySequence(key), dialog), &QShortcut::activated, dialog,
                         click);
    QObject::connect(new QShortcut(QKeySequence(Qt::Key_Escape), dialog), &QShortcut::activated,
                     dialog, [dialog] { dialog->SetModalResult(mrCancel); });
    return button;
}

}  // namespace

// ---- The linear intersection ------------------------------------------------------------------

TFormInp2LinesDialog::TFormInp2LinesDialog(QWidget* parent) : TDialogBase(parent)
{
    setObjectName(QStringLiteral("FormInp2LinesDialog"));
    setWindowTitle(QStringLiteral("Линейная засечка"));
    SetClientSize(292, 150);

    Place(Caption(this, "Расстояние от точки 1,м", {}), QRect(8, 12, 160, 16));
    NumEdit1 = RealEdit(this, this, "NumEdit1", QRect(174, 9, 110, 21), 10, 0);
    Place(Caption(this, "Расстояние от точки 2,м", {}), QRect(8, 42, 160, 16));
    NumEdit2 = RealEdit(this, this, "NumEdit2", QRect(174, 39, 110, 21), 10, 0);

    QFrame* side = Panel(this, QRect(8, 70, 276, 34));
    RadioButton1 = Choice(side, "слева от линии", "RadioButton1", QRect(8, 7, 128, 20), true);
    RadioButton2 = Choice(side, "справа от линии", "RadioButton2", QRect(140, 7, 128, 20));

    Button1 = ReadyButton(this, QRect(198, 116, 86, 26), [this] { Button1Click(); });
    NumEdit1->setFocus();
}

void TFormInp2LinesDialog::Button1Click()
{
    switch (CheckTriangle(BaseLength, NumEdit1->FloatValue(), NumEdit2->FloatValue())) {
    case tcSumTooShort:
        // The text begins with a Latin "C", as the message always has.
        ShowMsgDialog(BadData,
                      QStringLiteral("Cумма двух расстояний не может быть меньше длины базовой линии!"));
        return;
    case tcNoTriangle:
        ShowMsgDialog(BadData, QStringLiteral("Расстояния не образуют треугольник с базовой линией!"));
        return;
    case tcTriangle:
        SetModalResult(mrOk);
        return;
    }
}

TModalResult TFormInp2LinesDialog::Execute(Extended& X, Extended& Y, Extended X1, Extended Y1,
                                           Extended X2, Extended Y2)
{
    TFormInp2LinesDialog& form = Kept(KeptLines());
    TGeoAngle direction = 0;
    OGZ(X1, Y1, X2, Y2, form.BaseLength, direction);
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    if (result == mrOk) {
        const TGeoPoint p =
            LinearIntersection(GeoPoint(X1, Y1), GeoPoint(X2, Y2), form.NumEdit1->FloatValue(),
                               form.NumEdit2->FloatValue(),
                               form.RadioButton1->isChecked() ? atLeft : atRight);
        X = p.X;
        Y = p.Y;
    }
    return result;
}

// ---- The square or rectangle --------------------------------------------------------------------

TFormInpSQRDialog::TFormInpSQRDialog(QWidget* parent) : TDialogBase(parent)
{
    setObjectName(QStringLiteral("FormInpSQRDialog"));
    setWindowTitle(QStringLiteral("Прямоугольный объект"));
    SetClientSize(324, 196);

    QFrame* side = Panel(this, QRect(8, 8, 150, 56));
    RadioButton1 = Choice(side, "слева от линии", "RadioButton1", QRect(8, 6, 136, 20), true);
    RadioButton2 = Choice(side, "справа от линии", "RadioButton2", QRect(8, 30, 136, 20));
    QFrame* kind = Panel(this, QRect(166, 8, 150, 56));
    RadioButton3 = Choice(kind, "Площадной объект", "RadioButton3", QRect(8, 6, 136, 20), true);
    RadioButton4 = Choice(kind, "Линейный объект", "RadioButton4", QRect(8, 30, 136, 20));

    QFrame* shape = Panel(this, QRect(8, 72, 308, 82));
    Caption(shape, "длина стороны", QRect(176, 4, 124, 16));
    RadioButton5 = Choice(shape, "квадрат", "RadioButton5", QRect(8, 26, 150, 20), true);
    NumEdit2 = RealEdit(this, shape, "NumEdit2", QRect(176, 25, 124, 21), 0, 3);
    RadioButton6 = Choice(shape, "прямоугольник", "RadioButton6", QRect(8, 54, 150, 20));
    NumEdit1 = RealEdit(this, shape, "NumEdit1", QRect(176, 53, 124, 21), 10, 3);
    NumEdit1->setEnabled(false);
    connect(RadioButton6, &QRadioButton::toggled, NumEdit1, &QWidget::setEnabled);

    Button1 = ReadyButton(this, QRect(230, 162, 86, 26), [this] { Button1Click(); });
    NumEdit2->setFocus();
}

void TFormInpSQRDialog::Button1Click()
{
    // A side on the base of 0 or less is refused as the other side is: silently.
    if (!(NumEdit2->FloatValue() > 0))
        return;
    if (RadioButton5->isChecked() || NumEdit1->FloatValue() > 0)
        SetModalResult(mrOk);
}

TModalResult TFormInpSQRDialog::Execute(std::array<TGeoPoint, 4>& corners, int& kind, Extended X1,
                                        Extended Y1, Extended X2, Extended Y2)
{
    TFormInpSQRDialog& form = Kept(KeptSQR());
    Extended base = 0;
    TGeoAngle direction = 0;
    OGZ(X1, Y1, X2, Y2, base, direction);
    form.NumEdit2->SetFloatValue(base);
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    if (result == mrOk) {
        const Extended L = form.NumEdit2->FloatValue();
        const Extended w = form.RadioButton5->isChecked() ? L : form.NumEdit1->FloatValue();
        corners = RectangleCorners(GeoPoint(X1, Y1), GeoPoint(X2, Y2), L, w,
                                   form.RadioButton1->isChecked() ? atLeft : atRight);
        kind = form.RadioButton3->isChecked() ? ckPolygon : ckLine;
    }
    return result;
}

// ---- The circle or regular polygon --------------------------------------------------------------

TFormInpCircleDialog::TFormInpCircleDialog(QWidget* parent) : TDialogBase(parent)
{
    setObjectName(QStringLiteral("FormInpCircleDialog"));
    setWindowTitle(QStringLiteral("Окружность (многоугольник)"));
    SetClientSize(372, 232);

    QFrame* centre = Panel(this, QRect(8, 8, 176, 78));
    RadioButton1 = Choice(centre, "центр в точке 1", "RadioButton1", QRect(8, 5, 160, 20), true);
    RadioButton2 = Choice(centre, "центр в точке 2", "RadioButton2", QRect(8, 29, 160, 20));
    RadioButton5 = Choice(centre, "центр в середине", "RadioButton5", QRect(8, 53, 160, 20));
    QFrame* kind = Panel(this, QRect(192, 8, 172, 78));
    RadioButton3 = Choice(kind, "Площадной объект", "RadioButton3", QRect(8, 17, 156, 20), true);
    RadioButton4 = Choice(kind, "Линейный объект", "RadioButton4", QRect(8, 41, 156, 20));

    Place(Caption(this, "Диаметр", {}), QRect(8, 99, 56, 16));
    NumEdit1 = RealEdit(this, this, "NumEdit1", QRect(66, 96, 96, 21), 10, 3);
    const auto diameterButton = [this](const char* caption, const char* name, int x, int width,
                                       Extended factor) {
        QPushButton* b = AddButton(QString::fromUtf8(caption), QRect(x, 95, width, 23), mrNone,
                                   Qt::LeftEdge | Qt::TopEdge);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this,
                [this, factor] { NumEdit1->SetFloatValue(BaseLength * factor); });
        return b;
    };
    Button2 = diameterButton("=1лин.", "Button2", 168, 60, 1);
    Button3 = diameterButton("= 2 лин.", "Button3", 232, 62, 2);
    Button4 = diameterButton("= 1/2 лин.", "Button4", 298, 66, 0.5L);

    QFrame* rule = Panel(this, QRect(8, 128, 356, 62));
    RadioButton6 = Choice(rule, "точность построения (окружность)", "RadioButton6",
                          QRect(8, 6, 236, 20), true);
    NumEdit2 = RealEdit(this, rule, "NumEdit2", QRect(252, 5, 96, 21), 0.05L, 3);
    RadioButton7 = Choice(rule, "количество сторон (многоугольник)", "RadioButton7",
                          QRect(8, 34, 236, 20));
    NumEdit3 = new TNumEdit(rule);
    NumEdit3->setObjectName(QStringLiteral("NumEdit3"));
    NumEdit3->ClearTextIFValueNotInteger = true;
    NumEdit3->ClearAndChangeToOldValue = true;
    NumEdit3->setAlignment(Qt::AlignRight);
    NumEdit3->SetIntegerValue(10);
    NumEdit3->setGeometry(252, 33, 96, 21);
    connect(RadioButton6, &QRadioButton::toggled, this, [this] { EnableVertexRule(); });
    EnableVertexRule();

    Button1 = ReadyButton(this, QRect(278, 198, 86, 26), [this] { Button1Click(); });
    NumEdit1->setFocus();
}

void TFormInpCircleDialog::EnableVertexRule()
{
    NumEdit2->setEnabled(RadioButton6->isChecked());
    NumEdit3->setEnabled(RadioButton7->isChecked());
}

int TFormInpCircleDialog::VertexCount()
{
    if (RadioButton7->isChecked())
        return NumEdit3->IntegerValue();
    return VertexCountForTolerance(NumEdit1->FloatValue() / 2, NumEdit2->FloatValue());
}

void TFormInpCircleDialog::Button1Click()
{
    const Extended radius = NumEdit1->FloatValue() / 2;
    if (!(radius > 0))
        return;
    // The arccosine of the side count is defined only for a tolerance inside the radius.
    if (RadioButton6->isChecked()) {
        const Extended t = NumEdit2->FloatValue();
        if (!(t > 0) || !(t < radius)) {
            ShowMsgDialog(BadData, QStringLiteral("Точность построения должна быть больше 0 и меньше "
                                                  "радиуса (%1 м)!")
                                       .arg(FloatToFixed(radius, 3)));
            return;
        }
    }
    const int n = VertexCount();
    if (n < 3 || n > MaxCircleVertices) {
        const QString bounds = QStringLiteral("от 3 до %1").arg(MaxCircleVertices);
        ShowMsgDialog(BadData,
                      RadioButton7->isChecked()
                          ? QStringLiteral("Количество сторон должно быть %1!").arg(bounds)
                          : QStringLiteral("При такой точности построения сторон получается %1, "
                                           "а должно быть %2!")
                                .arg(n == INT_MAX ? QStringLiteral("слишком много") : QString::number(n),
                                     bounds));
        return;
    }
    SetModalResult(mrOk);
}

TModalResult TFormInpCircleDialog::Execute(Extended& Xc, Extended& Yc, Extended& R, int& kind,
                                           int& n, Extended X1, Extended Y1, Extended X2,
                                           Extended Y2)
{
    TFormInpCircleDialog& form = Kept(KeptCircle());
    TGeoAngle direction = 0;
    OGZ(X1, Y1, X2, Y2, form.BaseLength, direction);
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    if (result == mrOk) {
        const TCircleCentre at = form.RadioButton2->isChecked()   ? ccPoint2
                                 : form.RadioButton5->isChecked() ? ccMiddle
                                                                  : ccPoint1;
        const TGeoPoint c = CircleCentre(GeoPoint(X1, Y1), GeoPoint(X2, Y2), at);
        Xc = c.X;
        Yc = c.Y;
        R = form.NumEdit1->FloatValue() / 2;
        kind = form.RadioButton3->isChecked() ? ckPolygon : ckLine;
        n = form.VertexCount();
    }
    return result;
}

// ---- Entries ------------------------------------------------------------------------------------

TModalResult Inp2LinesDialog(Extended& X, Extended& Y, Extended X1, Extended Y1, Extended X2,
                             Extended Y2)
{
    const auto& hook = SurveyDialogHooks().Inp2LinesDialog;
    return hook ? hook(X, Y, X1, Y1, X2, Y2) : mrCancel;
}

TModalResult InpSQRDialog(std::array<TGeoPoint, 4>& corners, int& kind, Extended X1, Extended Y1,
                          Extended X2, Extended Y2)
{
    const auto& hook = SurveyDialogHooks().InpSQRDialog;
    return hook ? hook(corners, kind, X1, Y1, X2, Y2) : mrCancel;
}

TModalResult InpCircleDialog(Extended& Xc, Extended& Yc, Extended& R, int& kind, int& n,
                             Extended X1, Extended Y1, Extended X2, Extended Y2)
{
    const auto& hook = SurveyDialogHooks().InpCircleDialog;
    return hook ? hook(Xc, Yc, R, kind, n, X1, Y1, X2, Y2) : mrCancel;
}

void InstallConstructWindows()
{
    Forget(KeptLines());
    Forget(KeptSQR());
    Forget(KeptCircle());
    TSurveyDialogHooks& hooks = SurveyDialogHooks();
    hooks.NewFormInstr2 = &NewConstructionsPalette;
    hooks.Inp2LinesDialog = &TFormInp2LinesDialog::Execute;
    hooks.InpSQRDialog = &TFormInpSQRDialog::Execute;
    hooks.InpCircleDialog = &TFormInpCircleDialog::Execute;
}
