// The window of one user caption setting.
#include "dialogs/objects/UnitUserTextProp.h"

#include "controls/ExSlider.h"
#include "dialogs/objects/FormParts.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/ui/NumEdit.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <cmath>

TModalResult UserTextPropDlg(Extended& dx, Extended& dy, TWinAngle& rotation, Extended& sizeFactor,
                             std::uint8_t& visibility)
{
    const auto& hook = ProgramDialogHooks().UserTextProp;
    if (!hook)
        return mrCancel;
    return hook(dx, dy, rotation, sizeFactor, visibility);
}

TFormUserTextProp::TFormUserTextProp(Extended dx, Extended dy, TWinAngle rotation,
                                     Extended sizeFactor, std::uint8_t visibility, QWidget* parent)
    : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Пользовательские настройки автотекста"));
    // Wide enough for its title, which a narrower window cut.
    SetClientSize(400, 300);

    auto* shift = new QGroupBox(QStringLiteral("Дополнительное смещение, мм плана"), this);
    Place(shift, QRect(8, 6, 384, 54));
    auto* labelX = new QLabel(QStringLiteral("X="), shift);
    labelX->setGeometry(10, 24, 20, 16);
    neX = RealNumEdit(shift, "neX", 3, QRect(30, 22, 140, 21));
    auto* labelY = new QLabel(QStringLiteral("Y="), shift);
    labelY->setGeometry(195, 24, 20, 16);
    neY = RealNumEdit(shift, "neY", 3, QRect(215, 22, 140, 21));
    neX->SetFloatValue(dx);
    neY->SetFloatValue(dy);

    auto* angle = new QGroupBox(QStringLiteral("Изменение угла автотекста"), this);
    Place(angle, QRect(8, 66, 384, 90));
    neAngle = RealNumEdit(angle, "neAngle", 1, QRect(10, 24, 80, 21));
    pbAngle = new TAnglePaintBox(0, angle);
    pbAngle->setObjectName(QStringLiteral("pbAngle"));
    pbAngle->move(332, 20);
    ExSlider2 = new TExSlider(angle);
    ExSlider2->setObjectName(QStringLiteral("ExSlider2"));
    ExSlider2->setGeometry(100, 18, 226, 40);
    ExSlider2->SetMinValue(-360);
    ExSlider2->SetMaxValue(360);
    ExSlider2->SetIncrement(1);
    auto* from = new QLabel(QStringLiteral("-360°"), angle);
    from->setGeometry(100, 62, 40, 16);
    auto* to = new QLabel(QStringLiteral("360°"), angle);
    to->setGeometry(292, 62, 34, 16);
    to->setAlignment(Qt::AlignRight);
    pbAngle->Angle = [this] { return neAngle->FloatValue(); };
    // The slider first and the links after: opening must show the rotation as stored,
    // tenths included, not the slider's whole degrees.
    ExSlider2->SetValue(static_cast<int>(std::nearbyint(Extended(rotation) / 10)));
    neAngle->SetFloatValue(Extended(rotation) / 10);
    connect(neAngle, &TNumEdit::Changed, this, [this] {
        pbAngle->update();
        ExSlider2->SetValue(static_cast<int>(std::nearbyint(neAngle->FloatValue())));
    });
    ExSlider2->OnChange = [this] { neAngle->SetIntegerValue(ExSlider2->Value()); };

    auto* view = new QGroupBox(QStringLiteral("Вид автотекста"), this);
    Place(view, QRect(8, 162, 384, 52));
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    struct TChoice { QToolButton** Button; const char* Name; const char* Caption; };
    const TChoice choices[3] = {{&sbAuto, "sbAuto", "По  умолчанию"},
                                {&sbOn, "sbOn", "Включена"},
                                {&sbOff, "sbOff", "Выключена"}};
    for (int i = 0; i < 3; ++i) {
        *choices[i].Button = new QToolButton(view);
        QToolButton* b = *choices[i].Button;
        b->setObjectName(QLatin1String(choices[i].Name));
        b->setText(QString::fromUtf8(choices[i].Caption));
        b->setCheckable(true);
        b->setGeometry(10 + i * 122, 20, 118, 24);
        group->addButton(b);
    }
    (visibility == 1 ? sbOn : visibility == 2 ? sbOff : sbAuto)->setChecked(true);

    auto* size = new QGroupBox(QStringLiteral("Коэффициент размера подписи"), this);
    Place(size, QRect(8, 220, 384, 48));
    neKSz = RealNumEdit(size, "neKSz", 2, QRect(10, 20, 80, 21));
    neKSz->ClearAndChangeToOldValue = true;
    neKSz->SetFloatValue(sizeFactor);

    BitBtn1 = AddButton(QStringLiteral("Готово"), QRect(317, 272, 75, 24), mrOk);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    EscResult = mrCancel;
}

void TFormUserTextProp::Read(Extended& dx, Extended& dy, TWinAngle& rotation, Extended& sizeFactor,
                             std::uint8_t& visibility)
{
    visibility = sbOn->isChecked() ? 1 : sbOff->isChecked() ? 2 : 0;
    sizeFactor = neKSz->FloatValue();
    rotation = RotationFromDegrees(neAngle->FloatValue());
    dx = neX->FloatValue();
    dy = neY->FloatValue();
}
