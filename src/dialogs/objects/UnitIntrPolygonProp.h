// "Свойство отверстия в полигоне": the nodes of one inner contour of the polygon open in
// its window, and "Узел площадного объекта" for one of them. Both work on the polygon
// window's copy of the contour; nothing reaches the plan before that window's command.
#pragma once

#include "dialogs/objects/NodeLists.h"
#include "foundation/ui/DialogBase.h"

#include <memory>

class QCheckBox;
class QPushButton;
class QRadioButton;
class TNumEdit;

// The contour window: every operation has already changed contour when it returns.
TModalResult IntrPolygonPropDlg(int precision, ArrPolygonNodes& contour);
// One node of a contour; the values shown are written back however it closes.
TModalResult IntrPolygonNodePropDlg(int precision, Extended& X, Extended& Y, Extended& signShift,
                                    std::uint8_t& segmentStyle, std::uint8_t& nodePicture);

// The real windows behind the hooks.
TModalResult RunIntrPolygonProp(int precision, ArrPolygonNodes& contour);
TModalResult RunIntrPolygonNodeProp(int precision, Extended& X, Extended& Y, Extended& signShift,
                                    std::uint8_t& segmentStyle, std::uint8_t& nodePicture);

class TFormIntrPolygonProp : public TDialogBase {
    Q_OBJECT
public:
    TFormIntrPolygonProp(int precision, ArrPolygonNodes& contour, QWidget* parent = nullptr);
    ~TFormIntrPolygonProp() override;

    TTextListBox* TLB;
    TNodeButtons NodeButtons;         // btNodesProp, btNodesAdd, … btNodesGoLast
    QPushButton* BitBtn1;             // "Готово"

private:
    std::unique_ptr<TNodeListEditor<TIntrNodeKind>> NodeList;
};

class TFormIntrPolygonNodeProp : public TDialogBase {
    Q_OBJECT
public:
    TFormIntrPolygonNodeProp(int precision, Extended X, Extended Y, Extended signShift,
                             std::uint8_t segmentStyle, std::uint8_t nodePicture, QWidget* parent = nullptr);

    void Read(Extended& X, Extended& Y, Extended& signShift, std::uint8_t& segmentStyle,
              std::uint8_t& nodePicture);

    TNumEdit* neX;
    TNumEdit* neY;
    TNumEdit* nePicPos;
    QCheckBox* cbPicPosAuto;
    QRadioButton* rbSegmStyleMain;
    QRadioButton* rbSegmStyleSpecial;
    QRadioButton* rbSegmStyleHide;
    QCheckBox* cbCornerPic;           // "Рисунок": node picture 0
    QPushButton* BitBtn1;             // "Готово"
};
