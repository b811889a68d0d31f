// "Площадной объект": one polygon of the main plan created or edited, its outer contour
// node by node and its holes, with its area and perimeter shown as they change; and
// "Узел площадного объекта", the window of one outer node (also opened by the polygon
// editing of the main window). On "Готово" the polygon window issues one command,
// mcNewPolygon or mcSetPolygonProp, the nodes with their curve flags.
#pragma once

#include "dialogs/objects/NodeLists.h"
#include "dialogs/objects/ObjectEditors.h"
#include "dialogs/objects/ObjectValues.h"
#include "foundation/ui/DialogBase.h"

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class TExSlider;
class TNumEdit;
class TUserTextsEditor;

// The window on the polygon at (page, layer, index), a new one when isNew; as
// LinePropDlg.
TModalResult PolygonPropDlg(int& page, int& layer, int& index, bool isNew);

// The outer-node window; the values shown are written back however it closes.
TModalResult PolygonNodePropDlg(int precision, Extended& X, Extended& Y, Extended& signShift,
                                std::uint8_t& segmentType, std::uint8_t& segmentStyle,
                                std::uint8_t& nodeLine, std::uint8_t& nodePicture);

// The real windows behind the hooks.
TModalResult RunPolygonProp(int& page, int& layer, int& index, bool isNew);
TModalResult RunPolygonNodeProp(int precision, Extended& X, Extended& Y, Extended& signShift,
                                std::uint8_t& segmentType, std::uint8_t& segmentStyle,
                                std::uint8_t& nodeLine, std::uint8_t& nodePicture);

class TFormPolygonProp : public TDialogBase, public TObjectHead {
    Q_OBJECT
public:
    // A new polygon comes with the rotation 0 ("есть", 90 degrees).
    TFormPolygonProp(const RPolygonValues& values, bool isNew, int page, int layer, int index,
                     const QString& signName, QWidget* parent = nullptr);
    ~TFormPolygonProp() override;

    RPolygonValues Values() const;
    TMapCommand Command() const { return IsNew ? mcNewPolygon : mcSetPolygonProp; }
    const QString& Params() const { return ConfirmedParams; }

    int Page;
    int Layer;
    int Index;

    // The head's sbChangePageLayer ("перенести") shows only for an existing polygon.
    TExSlider* ExSlider1;
    QLabel* AutotextNum;
    TTextListBox* TLBUserTexts;
    QPushButton* btProp;
    QPushButton* btAdd;
    QPushButton* btDel;
    QRadioButton* rbNo;               // "нет"
    QRadioButton* rbUsr;              // "есть"
    TNumEdit* neAbsAngle;             // degrees as a plan angle
    TNumEdit* neDxZ;
    TNumEdit* neDyZ;
    TTextListBox* TLBNodes;
    TNodeButtons NodeButtons;         // btNodesProp, btNodesAdd, … btNodesGoLast
    QPushButton* SpeedButton1;        // "-> в txt"
    TTextListBox* TLBIntrPolygons;
    QPushButton* btAddIntrPolygon;
    QPushButton* btPropIntrPolygon;
    QPushButton* btDelIntrPolygon;
    QLabel* Label9;                   // area and perimeter
    QPushButton* BitBtn1;             // "Готово"

    void ButtonShowFormSemClick();
    void RotationClick();
    void SpeedButton1Click();
    void sbChangePageLayerClick();
    void btAddIntrPolygonClick();
    void btPropIntrPolygonClick();
    void btDelIntrPolygonClick();
    // Fewer than three outer nodes are said and the window stays.
    void BitBtn1Click();

private:
    void RefillHoles();
    void UpdateHoleButtons();
    void ShowArea();

    bool IsNew;
    bool InRotation = false;
    ArrUserTexts UserTexts;
    ArrPolygonNodes Nodes;
    ArrIntrPolygons Holes;
    TUserTextsEditor* Settings;
    std::unique_ptr<TNodeListEditor<TPolygonNodeKind>> NodeList;
    QString ConfirmedParams;
};

class TFormPolygonNodeProp : public TDialogBase {
    Q_OBJECT
public:
    TFormPolygonNodeProp(int precision, Extended X, Extended Y, Extended signShift, std::uint8_t segmentType,
                         std::uint8_t segmentStyle, std::uint8_t nodeLine, std::uint8_t nodePicture,
                         QWidget* parent = nullptr);

    void Read(Extended& X, Extended& Y, Extended& signShift, std::uint8_t& segmentType,
              std::uint8_t& segmentStyle, std::uint8_t& nodeLine, std::uint8_t& nodePicture);

    QRadioButton* rbSegmTypeMain;
    QRadioButton* rbSegmTypeSpecial1;
    QRadioButton* rbSegmTypeSpecial2;
    QRadioButton* rbSegmStyleMain;
    QRadioButton* rbSegmStyleSpecial;
    QRadioButton* rbSegmStyleHide;
    TNumEdit* neX;
    TNumEdit* neY;
    TNumEdit* nePicPos;
    QCheckBox* cbPicPosAuto;
    QCheckBox* cbCornerLine;          // "Линия": node line 0
    QCheckBox* cbCornerPic;           // "Рисунок": node picture 0
    QPushButton* BitBtn1;             // "Готово"
};
