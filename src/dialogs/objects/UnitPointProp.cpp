// The point editor.
#include "dialogs/objects/UnitPointProp.h"

#include "controls/ExSlider.h"
#include "controls/TextListBox.h"
#include "dialogs/objects/ObjectEditors.h"
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

namespace {

TNumEdit* RealEdit(QWidget* parent, const char* name, int decimals)
{
    auto* edit = new TNumEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->ClearTextIFValueNotFloat = true;
    edit->UniversalDecimalSeparator = true;
    edit->EnableFloatPrecision = true;
    edit->SetNumberOfDecimalDigits(static_cast<std::uint8_t>(decimals));
    return edit;
}

QLabel* Mark(QWidget* parent, const QString& text, QRect rect, Qt::Alignment align = Qt::AlignLeft)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(rect);
    label->setAlignment(align);
    return label;
}

}  // namespace

TFormPointProp::TFormPointProp(const RPointValues& values, bool isNew, int page, int layer,
                               int index, const QString& signName, QWidget* parent)
    : TDialogBase(parent), Page(page), Layer(layer), Index(index), IsNew(isNew),
      UserTexts(values.UserTexts)
{
    setWindowTitle(QStringLiteral("Точечный объект"));
    SetClientSize(560, 640);

    Mark(this, QStringLiteral("Лист"), QRect(8, 10, 40, 16));
    LPage = new QLabel(this);
    LPage->setObjectName(QStringLiteral("LPage"));
    Place(LPage, QRect(52, 10, 380, 16));
    Mark(this, QStringLiteral("Слой"), QRect(8, 30, 40, 16));
    LLayer = new QLabel(this);
    LLayer->setObjectName(QStringLiteral("LLayer"));
    Place(LLayer, QRect(52, 30, 380, 16));
    sbChangePageLayer = new QPushButton(QStringLiteral("Перенести"), this);
    sbChangePageLayer->setObjectName(QStringLiteral("sbChangePageLayer"));
    sbChangePageLayer->setAutoDefault(false);
    // A new point is not in the plan yet: there is nothing to move.
    sbChangePageLayer->setEnabled(!isNew);
    Place(sbChangePageLayer, QRect(440, 12, 112, 26));
    connect(sbChangePageLayer, &QPushButton::clicked, this, [this] { sbChangePageLayerClick(); });

    Mark(this, QStringLiteral("назначенный условный знак:"), QRect(8, 56, 170, 16));
    lbSymbol = new QLabel(signName, this);
    lbSymbol->setObjectName(QStringLiteral("lbSymbol"));
    Place(lbSymbol, QRect(180, 56, 252, 16));
    SpeedButton2 = new QPushButton(QStringLiteral("Редактор У.З."), this);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setAutoDefault(false);
    Place(SpeedButton2, QRect(440, 50, 112, 26));
    connect(SpeedButton2, &QPushButton::clicked, this, [this] { SpeedButton2Click(); });

    auto* sem = new QGroupBox(QStringLiteral("Семантика"), this);
    Place(sem, QRect(8, 82, 544, 118));
    eText = new QLineEdit(values.Semantics, sem);
    eText->setObjectName(QStringLiteral("eText"));
    eText->setGeometry(10, 20, 490, 22);
    ButtonShowFormSem = new QPushButton(QStringLiteral("..."), sem);
    ButtonShowFormSem->setObjectName(QStringLiteral("ButtonShowFormSem"));
    ButtonShowFormSem->setToolTip(QStringLiteral("Классификатор семантики"));
    ButtonShowFormSem->setAutoDefault(false);
    ButtonShowFormSem->setGeometry(506, 19, 28, 24);
    connect(ButtonShowFormSem, &QPushButton::clicked, this, [this] { ButtonShowFormSemClick(); });
    Memo1 = new QPlainTextEdit(sem);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setGeometry(10, 48, 524, 60);
    QPalette grey = Memo1->palette();
    grey.setColor(QPalette::Base, QColor(0xD4, 0xD0, 0xC8));
    Memo1->setPalette(grey);
    Memo1->setPlainText(DecodeSemantics(0, values.Semantics));
    connect(eText, &QLineEdit::textChanged, this, [this] { eTextChange(); });

    auto* coords = new QGroupBox(QStringLiteral("Координаты"), this);
    Place(coords, QRect(8, 206, 544, 76));
    Mark(coords, QStringLiteral("X="), QRect(10, 24, 20, 16));
    neX = RealEdit(coords, "neX", CoordDecimals(values.Precision));
    neX->setGeometry(30, 22, 130, 21);
    Mark(coords, QStringLiteral("Y="), QRect(10, 50, 20, 16));
    neY = RealEdit(coords, "neY", CoordDecimals(values.Precision));
    neY->setGeometry(30, 48, 130, 21);
    neX->SetFloatValue(values.X);
    neY->SetFloatValue(values.Y);
    Mark(coords, QStringLiteral("Точность"), QRect(200, 16, 80, 16));
    ExSlider1 = new TExSlider(coords);
    ExSlider1->setObjectName(QStringLiteral("ExSlider1"));
    ExSlider1->setGeometry(280, 12, 200, 36);
    ExSlider1->SetMaxValue(3);
    ExSlider1->SetIncrement(1);
    ExSlider1->SetValue(values.Precision <= 3 ? values.Precision : 0);
    const char* const marks[4] = {"м", "дм", "см", "мм"};
    for (int i = 0; i < 4; ++i) {
        const int x = 280 + ExSlider1->ValueToOffset(i) + ExSlider1->ThumbRect().width() / 2;
        Mark(coords, QString::fromUtf8(marks[i]), QRect(x - 15, 50, 30, 16), Qt::AlignHCenter);
    }
    ExSlider1->OnChange = [this] { ExSlider1Change(); };

    auto* rotation = new QGroupBox(QStringLiteral("Поворот условного знака"), this);
    Place(rotation, QRect(8, 288, 544, 74));
    neAngle = RealEdit(rotation, "neAngle", 2);
    neAngle->setGeometry(10, 24, 80, 21);
    ExSlider2 = new TExSlider(rotation);
    ExSlider2->setObjectName(QStringLiteral("ExSlider2"));
    ExSlider2->setGeometry(100, 16, 360, 36);
    ExSlider2->SetMaxValue(360);
    ExSlider2->SetIncrement(1);
    Mark(rotation, QStringLiteral("0°"), QRect(100, 52, 30, 16));
    Mark(rotation, QStringLiteral("360°"), QRect(420, 52, 40, 16), Qt::AlignRight);
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
    Mark(auto_, QStringLiteral("Пользовательские настройки"), QRect(10, 40, 300, 16));
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
    ShowPlace();
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
    ShowPlace();
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

void TFormPointProp::ShowPlace()
{
    QString pageName, layerName;
    PlaceNames(Page, Layer, pageName, layerName);
    LPage->setText(pageName);
    LLayer->setText(layerName);
}
