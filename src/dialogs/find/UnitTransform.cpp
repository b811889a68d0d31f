// The coordinate transformation of a sheet or of the whole plan.
#include "dialogs/find/UnitTransform.h"

#include "dialogs/general/InputDialogs.h"
#include "engine/EngineServices.h"
#include "engine/GeoMap.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ui/NumEdit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <exception>

int ReadBackDecimals(Extended v)
{
    QString plain;
    try {
        plain = FloatToPlain(v, 15);
    } catch (const Exception&) {
        return 2;   // infinity or NaN: the command's own check refuses it
    }
    qsizetype point = 0;   // the separator, whichever the text has
    while (point < plain.size() && (plain.at(point).isDigit() || plain.at(point) == u'-'))
        ++point;
    const int decimals = int(std::max<qsizetype>(0, plain.size() - point - 1));
    return std::clamp(decimals, 2, 18);
}

QStringList TransformCommands(const TTransformChoice& choice)
{
    const auto param = [&](int page) {
        TCommandParams p;
        p.Int(page);
        for (const Extended v : {choice.K, choice.Dx, choice.Dy, choice.Angle, choice.Xc, choice.Yc})
            p.Fixed(v, ReadBackDecimals(v));
        return p.Str();
    };
    QStringList params;
    if (choice.WholePlan) {
        for (int page = 0; page < choice.PageCount; ++page)
            params << param(page);
    } else {
        params << param(choice.Page);
    }
    return params;
}

TModalResult TransformDialog()
{
    const auto& hook = ProgramDialogHooks().Transform;
    if (!hook || !MainMap)
        return mrCancel;
    TTransformChoice choice;
    const TModalResult result = hook(choice);
    if (result != mrOk)
        return result;
    std::exception_ptr failure;
    try {
        for (const QString& param : TransformCommands(choice))
            MainMap->DoCommand(mcTransform, param);
    } catch (...) {
        failure = std::current_exception();   // the sheets done so far are drawn first
    }
    const QSize surface = MainMap->Ui().SurfaceSize();
    MainMap->Draw(surface.width(), surface.height(), 0, ddScreen);
    if (failure)
        std::rethrow_exception(failure);
    return result;
}

TFormTransform::TFormTransform(QWidget* parent) : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Трансформация координат"));
    SetClientSize(430, 390);

    const auto edit = [](QWidget* parent, const char* name, Extended value, const QRect& at) {
        auto* e = new TNumEdit(parent);
        e->setObjectName(QLatin1String(name));
        e->ClearTextIFValueNotFloat = true;
        e->UniversalDecimalSeparator = true;
        e->SetFloatValue(value);
        e->setGeometry(at);
        return e;
    };
    const auto label = [](QWidget* parent, const QString& text, const QRect& at) {
        auto* l = new QLabel(text, parent);
        l->setGeometry(at);
        return l;
    };

    auto* turn = new QGroupBox(QStringLiteral("Разворот"), this);
    Place(turn, QRect(8, 8, 414, 112));
    label(turn, QStringLiteral("Угол разворота, градусы"), QRect(10, 24, 170, 16));
    neA = edit(turn, "neA", 0, QRect(184, 21, 110, 21));
    auto* centre = new QGroupBox(QStringLiteral("Точка разворота"), turn);
    centre->setGeometry(10, 48, 394, 54);
    label(centre, QStringLiteral("X="), QRect(10, 24, 20, 16));
    neXc = edit(centre, "neXc", 0, QRect(30, 21, 120, 21));
    label(centre, QStringLiteral("м"), QRect(154, 24, 14, 16));
    label(centre, QStringLiteral("Y="), QRect(196, 24, 20, 16));
    neYc = edit(centre, "neYc", 0, QRect(216, 21, 120, 21));
    label(centre, QStringLiteral("м"), QRect(340, 24, 14, 16));

    auto* scale = new QGroupBox(QStringLiteral("Масштаб"), this);
    Place(scale, QRect(8, 126, 414, 52));
    label(scale, QStringLiteral("Коэффицент масштабирования координат"), QRect(10, 24, 250, 16));
    neKScale = edit(scale, "neKScale", 1, QRect(264, 21, 110, 21));

    auto* shift = new QGroupBox(QStringLiteral("Сдвиг"), this);
    Place(shift, QRect(8, 184, 414, 52));
    label(shift, QStringLiteral("Dx="), QRect(10, 24, 26, 16));
    neDx = edit(shift, "neDx", 0, QRect(38, 21, 120, 21));
    label(shift, QStringLiteral("м"), QRect(162, 24, 14, 16));
    label(shift, QStringLiteral("Dy="), QRect(196, 24, 26, 16));
    neDy = edit(shift, "neDy", 0, QRect(224, 21, 120, 21));
    label(shift, QStringLiteral("м"), QRect(348, 24, 14, 16));

    auto* target = new QGroupBox(QStringLiteral("Объект трасформации"), this);
    Place(target, QRect(8, 242, 414, 104));
    rbAll = new QRadioButton(QStringLiteral("весь план"), target);
    rbAll->setObjectName(QStringLiteral("rbAll"));
    rbAll->setGeometry(10, 22, 200, 20);
    rbSel = new QRadioButton(QStringLiteral("выбранный лист"), target);
    rbSel->setObjectName(QStringLiteral("rbSel"));
    rbSel->setGeometry(10, 46, 200, 20);
    cbPages = new QComboBox(target);
    cbPages->setObjectName(QStringLiteral("cbPages"));
    cbPages->setGeometry(10, 72, 394, 22);
    QStringList pages;
    if (MainMap)
        MainMap->PagesToComboBox(pages);
    cbPages->addItems(pages);
    cbPages->setCurrentIndex(-1);
    rbAll->setChecked(true);
    cbPages->setEnabled(false);
    connect(rbAll, &QRadioButton::clicked, this, [this] { rbAllClick(); });
    connect(rbSel, &QRadioButton::clicked, this, [this] { rbAllClick(); });

    BitBtn1 = AddButton(QStringLiteral("Готово"), QRect(347, 356, 75, 26), mrOk);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    // Enter is "Готово" wherever the focus is, on a radio button too.
    PreviewKeys(this, mrOk, false);
    neKScale->setFocus();
}

void TFormTransform::rbAllClick()
{
    cbPages->setEnabled(!rbAll->isChecked());
}

TTransformChoice TFormTransform::Choice()
{
    TTransformChoice choice;
    choice.Angle = neA->FloatValue();
    choice.Xc = neXc->FloatValue();
    choice.Yc = neYc->FloatValue();
    choice.K = neKScale->FloatValue();
    choice.Dx = neDx->FloatValue();
    choice.Dy = neDy->FloatValue();
    choice.WholePlan = rbAll->isChecked();
    choice.Page = cbPages->currentIndex();
    choice.PageCount = cbPages->count();
    return choice;
}

TModalResult RunTransform(TTransformChoice& choice)
{
    TFormTransform form(DialogOwner());
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    choice = form.Choice();
    return result;
}
