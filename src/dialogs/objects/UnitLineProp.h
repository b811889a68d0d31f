// "Линейный объект": one line of the main plan created or edited field by field and node
// by node, and "Узел линейного объекта", the window of one of its nodes (also opened by
// the line editing of the main window). On "Готово" the line window issues one command,
// mcNewLine or mcSetLineProp; the move button moves the line at once.
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

// The window on the line at (page, layer, index), a new one when isNew. On 1 the command
// is issued. Page, layer and index are written back whatever the result: a move made in
// the window has already happened. 2 without a window or a main plan.
TModalResult LinePropDlg(int& page, int& layer, int& index, bool isNew);

// The node window; the values shown are written back however it closes.
TModalResult LineNodePropDlg(int precision, Extended& X, Extended& Y, std::uint8_t& nodeType,
                             Extended& signShift, std::uint8_t& segmentType, std::int32_t& textCounter,
                             std::uint8_t& inverted);

// The real windows behind the hooks.
TModalResult RunLineProp(int& page, int& layer, int& index, bool isNew);
TModalResult RunLineNodeProp(int precision, Extended& X, Extended& Y, std::uint8_t& nodeType,
                             Extended& signShift, std::uint8_t& segmentType, std::int32_t& textCounter,
                             std::uint8_t& inverted);

class TFormLineProp : public TDialogBase, public TObjectHead {
    Q_OBJECT
public:
    TFormLineProp(const RLineValues& values, bool isNew, int page, int layer, int index,
                  const QString& signName, QWidget* parent = nullptr);
    ~TFormLineProp() override;

    // The values the controls hold now; for an existing line each node with its origin.
    RLineValues Values() const;
    TMapCommand Command() const { return IsNew ? mcNewLine : mcSetLineProp; }
    // The parameters made when "Готово" was pressed.
    const QString& Params() const { return ConfirmedParams; }

    int Page;
    int Layer;
    int Index;

    TExSlider* ExSlider1;             // precision 0 to 3
    QCheckBox* cbLW;
    TNumEdit* neLW;
    QLabel* AutotextNum;
    TTextListBox* TLBUserTexts;
    QPushButton* btProp;
    QPushButton* btAdd;
    QPushButton* btDel;
    TTextListBox* TLBNodes;
    TNodeButtons NodeButtons;         // btNodesProp, btNodesAdd, … btNodesGoLast
    QPushButton* SpeedButton1;        // "-> в txt"
    QPlainTextEdit* mOverLines;
    QPushButton* btAddOverLine;       // "+"
    QPushButton* btClearOverLines;    // "x"
    QLabel* Label3;                   // the length
    QPushButton* BitBtn1;             // "Готово"

    void ButtonShowFormSemClick();
    void btAddOverLineClick();
    void SpeedButton1Click();
    void sbChangePageLayerClick();
    // Fewer than two nodes are said and the window stays; a text the formatter refuses
    // likewise.
    void BitBtn1Click();

private:
    bool IsNew;
    ArrUserTexts UserTexts;
    ArrLineNodes Nodes;
    std::vector<int> Origins;
    TUserTextsEditor* Settings;
    std::unique_ptr<TNodeListEditor<TLineNodeKind>> NodeList;
    QString ConfirmedParams;
};

class TFormlineNodeProp : public TDialogBase {
    Q_OBJECT
public:
    TFormlineNodeProp(int precision, Extended X, Extended Y, std::uint8_t nodeType, Extended signShift,
                      std::uint8_t segmentType, std::int32_t textCounter, std::uint8_t inverted,
                      QWidget* parent = nullptr);

    // The values as shown; an empty edit reads as 0.
    void Read(Extended& X, Extended& Y, std::uint8_t& nodeType, Extended& signShift,
              std::uint8_t& segmentType, std::int32_t& textCounter, std::uint8_t& inverted);

    QRadioButton* rbNodeMain;
    QRadioButton* rbNodeSpecial;
    QRadioButton* rbSegmAuto;
    QRadioButton* rbSegmFirst;
    QRadioButton* rbSegmSecond;
    TNumEdit* neX;
    TNumEdit* neY;
    TNumEdit* nePicPos;
    QCheckBox* cbPicPosAuto;
    TNumEdit* neTxtCnt;
    QCheckBox* cbTxtCntAuto;
    QCheckBox* cbInv;
    QPushButton* BitBtn1;             // "Готово"
};
