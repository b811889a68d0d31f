// The line editor and the line node window.
#include "dialogs/objects/UnitLineProp.h"

#include "controls/ExSlider.h"
#include "dialogs/objects/FormParts.h"
#include "dialogs/objects/ObjectEditors.h"
#include "dialogs/objects/UnitChangePageLayer.h"
#include "engine/GeoMap.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ProgramDialogs.h"
#include "semantics/codec/SemDialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

TModalResult LinePropDlg(int& page, int& layer, int& index, bool isNew)
{
    const auto& hook = ProgramDialogHooks().LineProp;
    if (!hook)
        return mrCancel;
    return hook(page, layer, index, isNew);
}

TModalResult LineNodePropDlg(int precision, Extended& X, Extended& Y, std::uint8_t& nodeType,
                             Extended& signShift, std::uint8_t& segmentType, std::int32_t& textCounter,
                             std::uint8_t& inverted)
{
    const auto& hook = ProgramDialogHooks().LineNodeProp;
    if (!hook)
        return mrCancel;
    return hook(precision, X, Y, nodeType, signShift, segmentType, textCounter, inverted);
}

TModalResult RunLineProp(int& page, int& layer, int& index, bool isNew)
{
    if (!MainMap)
        return mrCancel;
    const TAutosavePause pause;
    RLineValues values;
    QString signName;
    if (!isNew) {
        ReadLine(*MainMap, page, layer, index, values);
        MainMap->GetLineSymbol(page, layer, index, signName);
    }
    TFormLineProp form(values, isNew, page, layer, index, signName, DialogOwner());
    return RunObjectForm(form, page, layer, index);
}

TModalResult RunLineNodeProp(int precision, Extended& X, Extended& Y, std::uint8_t& nodeType,
                             Extended& signShift, std::uint8_t& segmentType, std::int32_t& textCounter,
                             std::uint8_t& inverted)
{
    TFormlineNodeProp form(precision, X, Y, nodeType, signShift, segmentType, textCounter, inverted,
                           DialogOwner());
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    form.Read(X, Y, nodeType, signShift, segmentType, textCounter, inverted);
    return result;
}

// The line window

TFormLineProp::TFormLineProp(const RLineValues& values, bool isNew, int page, int layer, int index,
                             const QString& signName, QWidget* parent)
    : TDialogBase(parent), Page(page), Layer(layer), Index(index), IsNew(isNew),
      UserTexts(values.UserTexts), Nodes(values.Nodes)
{
    setWindowTitle(QStringLiteral("Линейный объект"));
    SetClientSize(700, 724);
    // Each node starts as the old node at its own position; new nodes have none.
    if (!isNew)
        for (size_t i = 0; i < Nodes.size(); ++i)
            Origins.push_back(static_cast<int>(i));

    BuildObjectHead(this, *this, 1, signName, values.Semantics,
                    {500, 580, QStringLiteral("Перенести"), QStringLiteral("назначенный условный знак:"), 170,
                     QRect(8, 82, 684, 112), 56});
    // A new line is not in the plan yet: there is nothing to move.
    sbChangePageLayer->setEnabled(!isNew);
    connect(sbChangePageLayer, &QPushButton::clicked, this, [this] { sbChangePageLayerClick(); });
    connect(ButtonShowFormSem, &QPushButton::clicked, this, [this] { ButtonShowFormSemClick(); });

    auto* precision = new QGroupBox(QStringLiteral("Точность"), this);
    Place(precision, QRect(8, 200, 226, 84));
    ExSlider1 = PrecisionSlider(precision, QPoint(12, 20), 58, values.Precision);

    auto* strip = new QGroupBox(this);
    Place(strip, QRect(242, 200, 180, 84));
    cbLW = new QCheckBox(QStringLiteral("Полосной объект"), strip);
    cbLW->setObjectName(QStringLiteral("cbLW"));
    cbLW->setGeometry(10, 12, 160, 20);
    Caption(strip, QStringLiteral("ширина полосы,м"), QRect(10, 34, 160, 16));
    neLW = RealNumEdit(strip, "neLW", 2, QRect(10, 54, 100, 21));
    cbLW->setChecked(values.Strip);
    neLW->SetFloatValue(values.StripWidth);
    neLW->setEnabled(values.Strip);
    connect(cbLW, &QCheckBox::toggled, this, [this](bool on) { neLW->setEnabled(on); });

    auto* over = new QGroupBox(QStringLiteral("Дополнительные линейные объекты"), this);
    Place(over, QRect(430, 200, 262, 84));
    mOverLines = new QPlainTextEdit(over);
    mOverLines->setObjectName(QStringLiteral("mOverLines"));
    mOverLines->setLineWrapMode(QPlainTextEdit::NoWrap);
    mOverLines->setGeometry(10, 20, 208, 56);
    StringListToMemo(values.OverLines, mOverLines);
    btAddOverLine = PlainButton(over, "btAddOverLine", QStringLiteral("+"), QRect(224, 20, 28, 26));
    btClearOverLines = PlainButton(over, "btClearOverLines", QStringLiteral("x"), QRect(224, 50, 28, 26));
    connect(btAddOverLine, &QPushButton::clicked, this, [this] { btAddOverLineClick(); });
    connect(btClearOverLines, &QPushButton::clicked, this, [this] { mOverLines->clear(); });

    auto* captions = new QGroupBox(QStringLiteral("Автоподписи"), this);
    Place(captions, QRect(8, 290, 684, 140));
    AutotextNum = new QLabel(QStringLiteral("Всего автоподписей:  ") + QString::number(values.AutoTextCount), captions);
    AutotextNum->setObjectName(QStringLiteral("AutotextNum"));
    AutotextNum->setGeometry(10, 20, 300, 16);
    Caption(captions, QStringLiteral("Пользовательские настройки"), QRect(10, 38, 300, 16));
    TLBUserTexts = new TTextListBox(captions);
    TLBUserTexts->setObjectName(QStringLiteral("TLBUserTexts"));
    TLBUserTexts->setGeometry(10, 56, 550, 76);
    btProp = PlainButton(captions, "btProp", QStringLiteral("Свойства"), QRect(570, 56, 104, 24));
    btAdd = PlainButton(captions, "btAdd", QStringLiteral("Добавить"), QRect(570, 82, 104, 24));
    btDel = PlainButton(captions, "btDel", QStringLiteral("Удалить"), QRect(570, 108, 104, 24));
    Settings = new TUserTextsEditor(UserTexts, TLBUserTexts, btProp, btAdd, btDel, this);

    auto* nodes = new QGroupBox(QStringLiteral("Узлы линии"), this);
    Place(nodes, QRect(8, 436, 684, 244));
    TLBNodes = new TTextListBox(nodes);
    TLBNodes->setObjectName(QStringLiteral("TLBNodes"));
    TLBNodes->SetMultiSelect(true);
    TLBNodes->SetExtendedSelect(true);
    TLBNodes->setGeometry(10, 20, 550, 182);
    NodeButtons = NodeListButtons(nodes, QRect(570, 20, 104, 24), 26);
    SpeedButton1 = PlainButton(nodes, "SpeedButton1", QStringLiteral("-> в txt"), QRect(10, 210, 90, 24));
    connect(SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
    Label3 = new QLabel(nodes);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(112, 210, 448, 24);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    NodeList = std::make_unique<TNodeListEditor<TLineNodeKind>>(
        Nodes, &Origins, TLBNodes, NodeButtons, [this] { return ExSlider1->Value(); },
        [this] { Label3->setText(LineLengthText(Nodes)); });
    ExSlider1->OnChange = [this] { NodeList->Refill(); };

    BitBtn1 = AddButton(QStringLiteral("Готово"), QRect(617, 690, 75, 25), mrNone);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    ShowPlace(Page, Layer);
}

TFormLineProp::~TFormLineProp() = default;

RLineValues TFormLineProp::Values() const
{
    RLineValues v;
    v.Semantics = eText->text();
    v.UserTexts = UserTexts;
    v.Strip = cbLW->isChecked();
    v.StripWidth = neLW->FloatValue();
    v.Precision = static_cast<TPrecision>(ExSlider1->Value());
    MemoToStringList(mOverLines, v.OverLines);
    v.Nodes = Nodes;
    if (!IsNew)
        v.NodeOrigins = Origins;
    return v;
}

void TFormLineProp::ButtonShowFormSemClick()
{
    QString sem = eText->text();
    int kind = 1;
    SemDlg(1, kind, sem);
    eText->setText(sem);
    Memo1->setPlainText(DecodeSemantics(1, sem));
}

void TFormLineProp::btAddOverLineClick()
{
    QString sem;
    int kind = 1;
    if (SemDlg(1, kind, sem) != mrOk)
        return;
    QStringList lines;
    MemoToStringList(mOverLines, lines);
    lines << sem;
    StringListToMemo(lines, mOverLines);
}

void TFormLineProp::SpeedButton1Click()
{
    std::vector<TGeoPoint> positions;
    for (const RGLineNodeData& n : Nodes)
        positions.push_back(n.Position);
    SaveNodesTxt(NodesTxtLines(positions, ExSlider1->Value()));
}

void TFormLineProp::sbChangePageLayerClick()
{
    ChangeLinePageLayerDlg(Page, Layer, Index);
    ShowPlace(Page, Layer);
}

void TFormLineProp::BitBtn1Click()
{
    if (Nodes.size() < 2) {
        ShowMsgDialog(windowTitle(), QStringLiteral("Для линейного объекта нужно не менее 2 узлов"));
        return;
    }
    try {
        const RLineValues v = Values();
        ConfirmedParams = IsNew ? NewLineParams(Page, Layer, v) : SetLineParams(Page, Layer, Index, v);
    } catch (const Exception& e) {
        ShowMsgDialog(windowTitle(), e.Message);
        return;
    }
    SetModalResult(mrOk);
}

// The node window

TFormlineNodeProp::TFormlineNodeProp(int precision, Extended X, Extended Y, std::uint8_t nodeType,
                                     Extended signShift, std::uint8_t segmentType, std::int32_t textCounter,
                                     std::uint8_t inverted, QWidget* parent)
    : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Узел линейного объекта"));
    SetClientSize(372, 344);

    auto* type = new QGroupBox(QStringLiteral("Тип узла"), this);
    Place(type, QRect(8, 8, 174, 96));
    auto* typeGroup = new QButtonGroup(this);
    rbNodeMain = Radio(type, "rbNodeMain", QStringLiteral("Основной"), QRect(10, 22, 150, 20), typeGroup);
    rbNodeSpecial = Radio(type, "rbNodeSpecial", QStringLiteral("Специальный"), QRect(10, 46, 150, 20), typeGroup);
    (nodeType == 1 ? rbNodeSpecial : rbNodeMain)->setChecked(true);

    auto* segment = new QGroupBox(QStringLiteral("Тип сегмента"), this);
    Place(segment, QRect(190, 8, 174, 96));
    auto* segmentGroup = new QButtonGroup(this);
    rbSegmAuto = Radio(segment, "rbSegmAuto", QStringLiteral("Авто"), QRect(10, 22, 150, 20), segmentGroup);
    rbSegmFirst = Radio(segment, "rbSegmFirst", QStringLiteral("Первый"), QRect(10, 46, 150, 20), segmentGroup);
    rbSegmSecond = Radio(segment, "rbSegmSecond", QStringLiteral("Второй"), QRect(10, 70, 150, 20), segmentGroup);
    (segmentType == 1 ? rbSegmFirst : segmentType == 2 ? rbSegmSecond : rbSegmAuto)->setChecked(true);

    NodeCoordsGroup(this, QRect(8, 110, 356, 56), precision, X, Y, neX, neY);

    auto* shift = new QGroupBox(QStringLiteral("Сдвиг условного знака "), this);
    Place(shift, QRect(8, 172, 174, 80));
    SignShiftControls(shift, signShift, nePicPos, cbPicPosAuto);

    auto* counter = new QGroupBox(QStringLiteral("Счетчик текста линии"), this);
    Place(counter, QRect(190, 172, 174, 80));
    neTxtCnt = IntNumEdit(counter, "neTxtCnt", QRect(10, 24, 100, 21));
    cbTxtCntAuto = new QCheckBox(QStringLiteral("Авто"), counter);
    cbTxtCntAuto->setObjectName(QStringLiteral("cbTxtCntAuto"));
    cbTxtCntAuto->setGeometry(10, 52, 150, 20);
    const bool counterAuto = textCounter < 0;
    neTxtCnt->SetIntegerValue(counterAuto ? -1 : textCounter);
    neTxtCnt->setEnabled(!counterAuto);
    cbTxtCntAuto->setChecked(counterAuto);
    connect(cbTxtCntAuto, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            neTxtCnt->SetIntegerValue(-1);
        neTxtCnt->setEnabled(!on);
    });

    cbInv = new QCheckBox(QStringLiteral("инвертир.текст"), this);
    cbInv->setObjectName(QStringLiteral("cbInv"));
    Place(cbInv, QRect(14, 262, 200, 20));
    cbInv->setChecked(inverted == 1);

    BitBtn1 = AddButton(QStringLiteral("Готово"), QRect(289, 310, 75, 25), mrOk);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
}

void TFormlineNodeProp::Read(Extended& X, Extended& Y, std::uint8_t& nodeType, Extended& signShift,
                             std::uint8_t& segmentType, std::int32_t& textCounter, std::uint8_t& inverted)
{
    inverted = cbInv->isChecked() ? 1 : 0;
    X = neX->FloatValue();
    Y = neY->FloatValue();
    nodeType = rbNodeSpecial->isChecked() ? 1 : 0;
    segmentType = rbSegmFirst->isChecked() ? 1 : rbSegmSecond->isChecked() ? 2 : 0;
    signShift = nePicPos->FloatValue();
    textCounter = neTxtCnt->IntegerValue();
}
