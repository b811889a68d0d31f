// The inner-contour window and its node window.
#include "dialogs/objects/UnitIntrPolygonProp.h"

#include "dialogs/objects/FormParts.h"
#include "foundation/ProgramDialogs.h"

TModalResult IntrPolygonPropDlg(int precision, ArrPolygonNodes& contour)
{
    const auto& hook = ProgramDialogHooks().IntrPolygonProp;
    if (!hook)
        return mrCancel;
    return hook(precision, contour);
}

TModalResult IntrPolygonNodePropDlg(int precision, Extended& X, Extended& Y, Extended& signShift,
                                    std::uint8_t& segmentStyle, std::uint8_t& nodePicture)
{
    const auto& hook = ProgramDialogHooks().IntrPolygonNodeProp;
    if (!hook)
        return mrCancel;
    return hook(precision, X, Y, signShift, segmentStyle, nodePicture);
}

TModalResult RunIntrPolygonProp(int precision, ArrPolygonNodes& contour)
{
    TFormIntrPolygonProp form(precision, contour, DialogOwner());
    form.PlaceScreenCentre();
    return form.ShowModal();
}

TModalResult RunIntrPolygonNodeProp(int precision, Extended& X, Extended& Y, Extended& signShift,
                                    std::uint8_t& segmentStyle, std::uint8_t& nodePicture)
{
    TFormIntrPolygonNodeProp form(precision, X, Y, signShift, segmentStyle, nodePicture, DialogOwner());
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    form.Read(X, Y, signShift, segmentStyle, nodePicture);
    return result;
}

TFormIntrPolygonProp::TFormIntrPolygonProp(int precision, ArrPolygonNodes& contour, QWidget* parent)
    : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Свойство отверстия в полигоне"));
    SetClientSize(640, 300);

    Caption(this, QStringLiteral("Узлы"), QRect(8, 6, 200, 18));
    TLB = new TTextListBox(this);
    TLB->setObjectName(QStringLiteral("TLB"));
    Place(TLB, QRect(8, 26, 510, 232));
    struct TButton { QPushButton** Button; const char* Name; const char* Text; };
    const TButton buttons[8] = {{&btNodesAdd, "btNodesAdd", "Добавить"},
                                {&btNodesInsert, "btNodesInsert", "Вставить"},
                                {&btNodesProp, "btNodesProp", "Свойства"},
                                {&btNodesDel, "btNodesDel", "Удалить"},
                                {&btNodesGoUp, "btNodesGoUp", "Вперед"},
                                {&btNodesGoDown, "btNodesGoDown", "Назад"},
                                {&btNodesGoFirst, "btNodesGoFirst", "В начало"},
                                {&btNodesGoLast, "btNodesGoLast", "В конец"}};
    for (int i = 0; i < 8; ++i)
        *buttons[i].Button = PlainButton(this, buttons[i].Name, QString::fromUtf8(buttons[i].Text),
                                         QRect(528, 26 + i * 29, 104, 25));
    TNodeButtons set;
    set.Prop = btNodesProp;
    set.Add = btNodesAdd;
    set.Del = btNodesDel;
    set.Insert = btNodesInsert;
    set.GoUp = btNodesGoUp;
    set.GoDown = btNodesGoDown;
    set.GoFirst = btNodesGoFirst;
    set.GoLast = btNodesGoLast;
    NodeList = std::make_unique<TNodeListEditor<TIntrNodeKind>>(contour, nullptr, TLB, set,
                                                                [precision] { return precision; }, nullptr);

    BitBtn1 = AddButton(QStringLiteral("Готово"), QRect(557, 268, 75, 25), mrOk);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
}

TFormIntrPolygonProp::~TFormIntrPolygonProp() = default;

TFormIntrPolygonNodeProp::TFormIntrPolygonNodeProp(int precision, Extended X, Extended Y, Extended signShift,
                                                   std::uint8_t segmentStyle, std::uint8_t nodePicture,
                                                   QWidget* parent)
    : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Узел площадного объекта"));
    SetClientSize(372, 228);

    const int decimals = precision >= 0 && precision <= 9 ? precision : 0;
    auto* coords = new QGroupBox(QStringLiteral("Координаты"), this);
    Place(coords, QRect(8, 8, 356, 56));
    Caption(coords, QStringLiteral("X="), QRect(10, 24, 20, 20));
    neX = RealNumEdit(coords, "neX", decimals, QRect(30, 24, 130, 21));
    Caption(coords, QStringLiteral("Y="), QRect(186, 24, 20, 20));
    neY = RealNumEdit(coords, "neY", decimals, QRect(206, 24, 130, 21));
    neX->SetFloatValue(X);
    neY->SetFloatValue(Y);

    auto* shift = new QGroupBox(QStringLiteral("Сдвиг условного знака "), this);
    Place(shift, QRect(8, 70, 174, 80));
    SignShiftControls(shift, signShift, nePicPos, cbPicPosAuto);

    auto* style = new QGroupBox(QStringLiteral("Стиль сегмента"), this);
    Place(style, QRect(190, 70, 174, 96));
    auto* styleGroup = new QButtonGroup(this);
    rbSegmStyleMain = Radio(style, "rbSegmStyleMain", QStringLiteral("Основной"), QRect(10, 22, 150, 20), styleGroup);
    rbSegmStyleSpecial =
        Radio(style, "rbSegmStyleSpecial", QStringLiteral("Специальный"), QRect(10, 46, 150, 20), styleGroup);
    rbSegmStyleHide = Radio(style, "rbSegmStyleHide", QStringLiteral("Скрытый"), QRect(10, 70, 150, 20), styleGroup);
    (segmentStyle == 1 ? rbSegmStyleSpecial : segmentStyle == 2 ? rbSegmStyleHide : rbSegmStyleMain)
        ->setChecked(true);

    cbCornerPic = new QCheckBox(QStringLiteral("Рисунок"), this);
    cbCornerPic->setObjectName(QStringLiteral("cbCornerPic"));
    Place(cbCornerPic, QRect(18, 160, 150, 20));
    cbCornerPic->setChecked(nodePicture == 0);

    BitBtn1 = AddButton(QStringLiteral("Готово"), QRect(289, 194, 75, 25), mrOk);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
}

void TFormIntrPolygonNodeProp::Read(Extended& X, Extended& Y, Extended& signShift, std::uint8_t& segmentStyle,
                                    std::uint8_t& nodePicture)
{
    X = neX->FloatValue();
    Y = neY->FloatValue();
    nodePicture = cbCornerPic->isChecked() ? 0 : 1;
    signShift = cbPicPosAuto->isChecked() ? -1 : nePicPos->FloatValue();
    segmentStyle = rbSegmStyleSpecial->isChecked() ? 1 : rbSegmStyleHide->isChecked() ? 2 : 0;
}
