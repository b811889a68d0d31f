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
    NodeButtons = NodeListButtons(this, QRect(528, 26, 104, 25), 29,
                                  {&TNodeButtons::Add, &TNodeButtons::Insert, &TNodeButtons::Prop, &TNodeButtons::Del,
                                   &TNodeButtons::GoUp, &TNodeButtons::GoDown, &TNodeButtons::GoFirst,
                                   &TNodeButtons::GoLast});
    NodeList = std::make_unique<TNodeListEditor<TIntrNodeKind>>(contour, nullptr, TLB, NodeButtons,
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

    NodeCoordsGroup(this, QRect(8, 8, 356, 56), precision, X, Y, neX, neY);

    auto* shift = new QGroupBox(QStringLiteral("Сдвиг условного знака "), this);
    Place(shift, QRect(8, 70, 174, 80));
    SignShiftControls(shift, signShift, nePicPos, cbPicPosAuto);

    SegmentStyleGroup(this, QRect(190, 70, 174, 96), segmentStyle, rbSegmStyleMain, rbSegmStyleSpecial, rbSegmStyleHide);

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
