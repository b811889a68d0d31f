// The point editor.
#include "dialogs/objects/UnitPointProp.h"

#include "controls/ExSlider.h"
#include "controls/TextListBox.h"
#include "dialogs/objects/FormParts.h"
#include "dialogs/objects/ObjectFields.h"
#include "dialogs/objects/UnitChangePageLayer.h"
#include "engine/GeoMap.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/ui/NumEdit.h"
#include "semantics/codec/SemDialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <cmath>

TModalResult PointPropDlg(int& page, int& layer, int& index, bool isNew)
{
    const auto& hook = ProgramDialogHooks().PointProp;
    if (!hook)
        return mrCancel;
    return hook(page, layer, index, isNew);
}

QString PointCommandParams(bool isNew, int page, int layer, int index, RPointValues values)
{
    if (values.AllFromFirst == 1)
        KeepFirstUserText(values.UserTexts);
    return isNew ? NewPointParams(page, layer, values) : SetPointParams(page, layer, index, values);
}

TFormPointProp::TFormPointProp(const RPointValues& values, bool isNew, int page, int layer,
                               int index, const QString& signName, QWidget* parent)
    : TDialogBase(parent), Page(page), Layer(layer), Index(index), IsNew(isNew),
      UserTexts(values.UserTexts)
{
    setWindowTitle(QStringLiteral("Точечный объект"));
    SetClientSize(560, 640);

    BuildObjectHead(this, *this, 0, signName, values.Semantics,
                    {380, 440, QStringLiteral("Перенести"), QStringLiteral("назначенный условный знак:"), 170,
                     QRect(8, 82, 544, 118), 60});
    // A new point is not in the plan yet: there is nothing to move.
    sbChangePageLayer->setEnabled(!isNew);
    connect(sbChangePageLayer, &QPushButton::clicked, this, [this] { sbChangePageLayerClick(); });
    connect(ButtonShowFormSem, &QPushButton::clicked, this, [this] { ButtonShowFormSemClick(); });
    connect(eText, &QLineEdit::textChanged, this, [this] { eTextChange(); });

    auto* coords = new QGroupBox(QStringLiteral("Координаты"), this);
    Place(coords, QRect(8, 206, 544, 76));
    Caption(coords, QStringLiteral("X="), QRect(10, 24, 20, 16));
    neX = RealNumEdit(coords, "neX", CoordDecimals(values.Precision), QRect(30, 22, 130, 21));
    Caption(coords, QStringLiteral("Y="), QRect(10, 50, 20, 16));
    neY = RealNumEdit(coords, "neY", CoordDecimals(values.Precision), QRect(30, 48, 130, 21));
    neX->SetFloatValue(values.X);
    neY->SetFloatValue(values.Y);
    Caption(coords, QStringLiteral("Точность"), QRect(200, 16, 80, 16));
    ExSlider1 = PrecisionSlider(coords, QPoint(280, 12), 50, values.Precision);
    ExSlider1->OnChange = [this] { ExSlider1Change(); };

    auto* rotation = new QGroupBox(QStringLiteral("Поворот условного знака"), this);
    Place(rotation, QRect(8, 288, 544, 74));
    neAngle = RealNumEdit(rotation, "neAngle", 2, QRect(10, 24, 80, 21));
    ExSlider2 = new TExSlider(rotation);
    ExSlider2->setObjectName(QStringLiteral("ExSlider2"));
    ExSlider2->setGeometry(100, 16, 360, 36);
    ExSlider2->SetMaxValue(360);
    ExSlider2->SetIncrement(1);
    Caption(rotation, QStringLiteral("0°"), QRect(100, 52, 30, 16));
    Caption(rotation, QStringLiteral("360°"), QRect(420, 52, 40, 16), Qt::AlignRight);
    pbAngle = new TAnglePaintBox(-90, rotation);
    pbAngle->setObjectName(QStringLiteral("pbAngle"));
    pbAngle->move(480, 18);
    pbAngle->Angle = [this] { return neAngle->FloatValue(); };
    // The slider first and the links after: opening must show the angle as stored,
    // fractions included, not the slider's whole degrees.
    ExSlider2->SetValue(static_cast<int>(std::nearbyint(values.SignAngle)));
    neAngle->SetFloatValue(values.SignAngle);
    connect(neAngle, &TNumEdit::Changed, this, [this] {
        pbAngle->update();
        ExSlider2->SetValue(static_cast<int>(std::nearbyint(neAngle->FloatValue())));
    });
    ExSlider2->OnChange = [this] { neAngle->SetIntegerValue(ExSlider2->Value()); };

    auto* line = new QGroupBox(QStringLiteral("Линия к автотексту"), this);
    Place(line, QRect(8, 368, 544, 52));
    auto* lineGroup = new QButtonGroup(this);
    lineGroup->setExclusive(true);
    struct TChoice { QToolButton** Button; const char* Name; const char* Caption; };
    const TChoice choices[3] = {{&sbCapLineAuto, "sbCapLineAuto", "По  умолчанию"},
                                {&sbCapLineOn, "sbCapLineOn", "Включена"},
                                {&sbCapLineOff, "sbCapLineOff", "Выключена"}};
    for (int i = 0; i < 3; ++i) {
        *choices[i].Button = new QToolButton(line);
        QToolButton* b = *choices[i].Button;
        b->setObjectName(QLatin1String(choices[i].Name));
        b->setText(QString::fromUtf8(choices[i].Caption));
        b->setCheckable(true);
        b->setGeometry(10 + i * 110, 20, 104, 24);
        lineGroup->addButton(b);
    }
    (values.CaptionLine == 1 ? sbCapLineOn : values.CaptionLine == 2 ? sbCapLineOff : sbCapLineAuto)
        ->setChecked(true);

    auto* auto_ = new QGroupBox(QStringLiteral("Автоподписи"), this);
    Place(auto_, QRect(8, 426, 544, 172));
    AutotextNum = new QLabel(QStringLiteral("Всего автоподписей:  ") + QString::number(values.AutoTextCount), auto_);
    AutotextNum->setObjectName(QStringLiteral("AutotextNum"));
    AutotextNum->setGeometry(10, 20, 300, 16);
    Caption(auto_, QStringLiteral("Пользовательские настройки"), QRect(10, 40, 300, 16));
    lbAutoTexts = new TTextListBox(auto_);
    lbAutoTexts->setObjectName(QStringLiteral("lbAutoTexts"));
    lbAutoTexts->SetMultiSelect(true);
    lbAutoTexts->SetExtendedSelect(true);
    lbAutoTexts->setGeometry(10, 58, 420, 84);
    btProp = new QPushButton(QStringLiteral("Свойства"), auto_);
    btProp->setObjectName(QStringLiteral("btProp"));
    btProp->setGeometry(440, 58, 94, 25);
    btAdd = new QPushButton(QStringLiteral("Добавить"), auto_);
    btAdd->setObjectName(QStringLiteral("btAdd"));
    btAdd->setGeometry(440, 87, 94, 25);
    btDel = new QPushButton(QStringLiteral("Удалить"), auto_);
    btDel->setObjectName(QStringLiteral("btDel"));
    btDel->setGeometry(440, 116, 94, 25);
    for (QPushButton* b : {btProp, btAdd, btDel})
        b->setAutoDefault(false);
    cbAllUserTextsFromFirst = new QCheckBox(QStringLiteral("Все настройки по первому элементу"), auto_);
    cbAllUserTextsFromFirst->setObjectName(QStringLiteral("cbAllUserTextsFromFirst"));
    cbAllUserTextsFromFirst->setGeometry(10, 146, 420, 20);
    cbAllUserTextsFromFirst->setChecked(values.AllFromFirst == 1);
    Settings = new TUserTextsEditor(UserTexts, lbAutoTexts, btProp, btAdd, btDel, this);

    BitBtn1 = AddButton(QStringLiteral("Готово"), QRect(396, 608, 75, 25), mrNone);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    BitBtn2 = AddButton(QStringLiteral("Отмена"), QRect(477, 608, 75, 25), mrCancel);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    ShowPlace(Page, Layer);
}

RPointValues TFormPointProp::Values() const
{
    RPointValues v;
    v.Semantics = eText->text();
    v.X = neX->FloatValue();
    v.Y = neY->FloatValue();
    v.Precision = static_cast<TPrecision>(ExSlider1->Value());
    v.SignAngle = neAngle->FloatValue();
    v.UserTexts = UserTexts;
    v.AllFromFirst = cbAllUserTextsFromFirst->isChecked() ? 1 : 0;
    v.CaptionLine = sbCapLineOn->isChecked() ? 1 : sbCapLineOff->isChecked() ? 2 : 0;
    return v;
}

void TFormPointProp::eTextChange()
{
    Memo1->setPlainText(DecodeSemantics(0, eText->text()));
}

void TFormPointProp::ButtonShowFormSemClick()
{
    QString sem = eText->text();
    int kind = 0;
    SemDlg(1, kind, sem);
    eText->setText(sem);
    Memo1->setPlainText(DecodeSemantics(0, sem));
}

void TFormPointProp::ExSlider1Change()
{
    const Extended x = neX->FloatValue();
    const Extended y = neY->FloatValue();
    const auto decimals = static_cast<std::uint8_t>(ExSlider1->Value());
    neX->SetNumberOfDecimalDigits(decimals);
    neY->SetNumberOfDecimalDigits(decimals);
    neX->SetFloatValue(x);
    neY->SetFloatValue(y);
}

void TFormPointProp::sbChangePageLayerClick()
{
    ChangePointPageLayerDlg(Page, Layer, Index);
    ShowPlace(Page, Layer);
}

void TFormPointProp::SpeedButton2Click()
{
    EditObjectSign(0, lbSymbol->text());
}

void TFormPointProp::BitBtn1Click()
{
    try {
        ConfirmedParams = PointCommandParams(IsNew, Page, Layer, Index, Values());
    } catch (const Exception& e) {
        ShowMsgDialog(windowTitle(), e.Message);
        return;
    }
    SetModalResult(mrOk);
}
