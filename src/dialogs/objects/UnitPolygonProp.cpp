// The polygon editor and the outer-node window.
#include "dialogs/objects/UnitPolygonProp.h"

#include "controls/ExSlider.h"
#include "dialogs/objects/FormParts.h"
#include "dialogs/objects/ObjectEditors.h"
#include "dialogs/objects/UnitChangePageLayer.h"
#include "dialogs/objects/UnitIntrPolygonProp.h"
#include "engine/GeoMap.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ProgramDialogs.h"
#include "semantics/codec/SemDialogs.h"

#include <QLineEdit>
#include <QPlainTextEdit>

TModalResult PolygonPropDlg(int& page, int& layer, int& index, bool isNew)
{
    const auto& hook = ProgramDialogHooks().PolygonProp;
    if (!hook)
        return mrCancel;
    return hook(page, layer, index, isNew);
}

TModalResult PolygonNodePropDlg(int precision, Extended& X, Extended& Y, Extended& signShift,
                                std::uint8_t& segmentType, std::uint8_t& segmentStyle,
                                std::uint8_t& nodeLine, std::uint8_t& nodePicture)
{
    const auto& hook = ProgramDialogHooks().PolygonNodeProp;
    if (!hook)
        return mrCancel;
    return hook(precision, X, Y, signShift, segmentType, segmentStyle, nodeLine, nodePicture);
}

TModalResult RunPolygonProp(int& page, int& layer, int& index, bool isNew)
{
    if (!MainMap)
        return mrCancel;
    const TAutosavePause pause;
    RPolygonValues values;
    QString signName;
    if (isNew)
        values.CaptionAngle = 0;
    else {
        ReadPolygon(*MainMap, page, layer, index, values);
        MainMap->GetPolygonSymbol(page, layer, index, signName);
    }
    TFormPolygonProp form(values, isNew, page, layer, index, signName, DialogOwner());
    return RunObjectForm(form, page, layer, index);
}

TModalResult RunPolygonNodeProp(int precision, Extended& X, Extended& Y, Extended& signShift,
                                std::uint8_t& segmentType, std::uint8_t& segmentStyle,
                                std::uint8_t& nodeLine, std::uint8_t& nodePicture)
{
    TFormPolygonNodeProp form(precision, X, Y, signShift, segmentType, segmentStyle, nodeLine, nodePicture,
                              DialogOwner());
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    form.Read(X, Y, signShift, segmentType, segmentStyle, nodeLine, nodePicture);
    return result;
}

// The polygon window

TFormPolygonProp::TFormPolygonProp(const RPolygonValues& values, bool isNew, int page, int layer,
                                   int index, const QString& signName, QWidget* parent)
    : TDialogBase(parent), Page(page), Layer(layer), Index(index), IsNew(isNew),
      UserTexts(values.UserTexts), Nodes(values.Nodes), Holes(values.Holes)
{
    setWindowTitle(QStringLiteral("Площадной объект"));
    SetClientSize(760, 814);

    BuildObjectHead(this, *this, 2, signName, values.Semantics,
                    {560, 640, QStringLiteral("перенести"), QStringLiteral("назначенный условный знак: "), 176,
                     QRect(8, 82, 744, 112), 56});
    sbChangePageLayer->setVisible(!isNew);
    connect(sbChangePageLayer, &QPushButton::clicked, this, [this] { sbChangePageLayerClick(); });
    connect(ButtonShowFormSem, &QPushButton::clicked, this, [this] { ButtonShowFormSemClick(); });

    auto* precision = new QGroupBox(QStringLiteral("Точность"), this);
    Place(precision, QRect(8, 200, 226, 84));
    ExSlider1 = PrecisionSlider(precision, QPoint(12, 20), 58, values.Precision);

    auto* rotation = new QGroupBox(QStringLiteral("Абсолютный поворот"), this);
    Place(rotation, QRect(242, 200, 250, 84));
    auto* rotationGroup = new QButtonGroup(this);
    rbNo = Radio(rotation, "rbNo", QStringLiteral("нет"), QRect(10, 24, 80, 20), rotationGroup);
    rbUsr = Radio(rotation, "rbUsr", QStringLiteral("есть"), QRect(10, 52, 80, 20), rotationGroup);
    neAbsAngle = RealNumEdit(rotation, "neAbsAngle", 2, QRect(90, 52, 100, 21));
    if (values.CaptionAngle < 0) {
        rbNo->setChecked(true);
        neAbsAngle->SetFloatValue(-1);
        neAbsAngle->setEnabled(false);
    } else {
        rbUsr->setChecked(true);
        neAbsAngle->SetFloatValue(WinToGeoAngle(values.CaptionAngle));
    }
    connect(rbNo, &QRadioButton::clicked, this, [this] { RotationClick(); });
    connect(rbUsr, &QRadioButton::clicked, this, [this] { RotationClick(); });
    connect(neAbsAngle, &TNumEdit::Changed, this, [this] {
        if (neAbsAngle->FloatValue() < 0)
            RotationClick();
    });

    auto* grid = new QGroupBox(QStringLiteral("смещение сетки,мм"), this);
    Place(grid, QRect(500, 200, 252, 84));
    Caption(grid, QStringLiteral("dx"), QRect(10, 24, 24, 20));
    neDxZ = RealNumEdit(grid, "neDxZ", 2, QRect(36, 24, 100, 21));
    Caption(grid, QStringLiteral("dy"), QRect(10, 52, 24, 20));
    neDyZ = RealNumEdit(grid, "neDyZ", 2, QRect(36, 52, 100, 21));
    neDxZ->SetFloatValue(values.Dxz);
    neDyZ->SetFloatValue(values.Dyz);

    auto* captions = new QGroupBox(QStringLiteral("Автоподписи"), this);
    Place(captions, QRect(8, 290, 744, 132));
    AutotextNum = new QLabel(QStringLiteral("Всего автоподписей:  ") + QString::number(values.AutoTextCount), captions);
    AutotextNum->setObjectName(QStringLiteral("AutotextNum"));
    AutotextNum->setGeometry(10, 20, 300, 16);
    Caption(captions, QStringLiteral("Пользовательские настройки"), QRect(10, 38, 300, 16));
    TLBUserTexts = new TTextListBox(captions);
    TLBUserTexts->setObjectName(QStringLiteral("TLBUserTexts"));
    TLBUserTexts->setGeometry(10, 56, 610, 68);
    btProp = PlainButton(captions, "btProp", QStringLiteral("Свойства"), QRect(630, 48, 104, 24));
    btAdd = PlainButton(captions, "btAdd", QStringLiteral("Добавить"), QRect(630, 74, 104, 24));
    btDel = PlainButton(captions, "btDel", QStringLiteral("Удалить"), QRect(630, 100, 104, 24));
    Settings = new TUserTextsEditor(UserTexts, TLBUserTexts, btProp, btAdd, btDel, this);

    auto* nodes = new QGroupBox(QStringLiteral("Узлы полигона"), this);
    Place(nodes, QRect(8, 428, 744, 244));
    TLBNodes = new TTextListBox(nodes);
    TLBNodes->setObjectName(QStringLiteral("TLBNodes"));
    TLBNodes->SetMultiSelect(true);
    TLBNodes->SetExtendedSelect(true);
    TLBNodes->setGeometry(10, 20, 610, 182);
    NodeButtons = NodeListButtons(nodes, QRect(630, 20, 104, 24), 26);
    SpeedButton1 = PlainButton(nodes, "SpeedButton1", QStringLiteral("-> в txt"), QRect(10, 210, 90, 24));
    connect(SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });

    auto* holes = new QGroupBox(QStringLiteral("Отверстия в полигоне"), this);
    Place(holes, QRect(8, 678, 744, 96));
    TLBIntrPolygons = new TTextListBox(holes);
    TLBIntrPolygons->setObjectName(QStringLiteral("TLBIntrPolygons"));
    TLBIntrPolygons->SetMultiSelect(true);
    TLBIntrPolygons->SetExtendedSelect(true);
    TLBIntrPolygons->setGeometry(10, 20, 610, 68);
    btAddIntrPolygon = PlainButton(holes, "btAddIntrPolygon", QStringLiteral("Добавить"), QRect(630, 12, 104, 24));
    btPropIntrPolygon = PlainButton(holes, "btPropIntrPolygon", QStringLiteral("Свойства"), QRect(630, 38, 104, 24));
    btDelIntrPolygon = PlainButton(holes, "btDelIntrPolygon", QStringLiteral("удалить"), QRect(630, 64, 104, 24));
    connect(btAddIntrPolygon, &QPushButton::clicked, this, [this] { btAddIntrPolygonClick(); });
    connect(btPropIntrPolygon, &QPushButton::clicked, this, [this] { btPropIntrPolygonClick(); });
    connect(btDelIntrPolygon, &QPushButton::clicked, this, [this] { btDelIntrPolygonClick(); });
    TLBIntrPolygons->OnDblClick = [this] { btPropIntrPolygonClick(); };
    connect(TLBIntrPolygons, &QListWidget::itemSelectionChanged, this, [this] { UpdateHoleButtons(); });

    Label9 = new QLabel(nodes);
    Label9->setObjectName(QStringLiteral("Label9"));
    Label9->setGeometry(112, 210, 622, 24);
    Label9->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    NodeList = std::make_unique<TNodeListEditor<TPolygonNodeKind>>(
        Nodes, nullptr, TLBNodes, NodeButtons, [this] { return ExSlider1->Value(); }, [this] { ShowArea(); });
    RefillHoles();
    ExSlider1->OnChange = [this] {
        NodeList->Refill();
        RefillHoles();
    };

    BitBtn1 = AddButton(QStringLiteral("Готово"), QRect(677, 782, 75, 25), mrNone);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    ShowPlace(Page, Layer);
}

TFormPolygonProp::~TFormPolygonProp() = default;

RPolygonValues TFormPolygonProp::Values() const
{
    RPolygonValues v;
    const Extended angle = neAbsAngle->FloatValue();
    v.CaptionAngle = angle >= 0 ? GeoToWinAngle(angle) : -1;
    v.Semantics = eText->text();
    v.UserTexts = UserTexts;
    v.Precision = static_cast<TPrecision>(ExSlider1->Value());
    v.Nodes = Nodes;
    v.Dxz = neDxZ->FloatValue();
    v.Dyz = neDyZ->FloatValue();
    v.Holes = Holes;
    return v;
}

void TFormPolygonProp::ButtonShowFormSemClick()
{
    QString sem = eText->text();
    int kind = 2;
    SemDlg(1, kind, sem);
    eText->setText(sem);
    Memo1->setPlainText(DecodeSemantics(kind, sem));
}

void TFormPolygonProp::RotationClick()
{
    if (InRotation)
        return;
    InRotation = true;
    if (rbNo->isChecked()) {
        neAbsAngle->SetFloatValue(-1);
        neAbsAngle->setEnabled(false);
    } else {
        neAbsAngle->SetFloatValue(90);
        neAbsAngle->setEnabled(true);
    }
    InRotation = false;
}

void TFormPolygonProp::SpeedButton1Click()
{
    std::vector<TGeoPoint> positions;
    for (const RGPolygonNode& n : Nodes)
        positions.push_back(n.Position);
    SaveNodesTxt(NodesTxtLines(positions, ExSlider1->Value()));
}

void TFormPolygonProp::sbChangePageLayerClick()
{
    ChangePolygonPageLayerDlg(Page, Layer, Index);
    ShowPlace(Page, Layer);
}

void TFormPolygonProp::btAddIntrPolygonClick()
{
    Holes.emplace_back();
    RefillHoles();
}

void TFormPolygonProp::btPropIntrPolygonClick()
{
    const int i = TextListBoxFirstSelected(TLBIntrPolygons);
    if (i < 0 || i >= static_cast<int>(Holes.size()))
        return;
    IntrPolygonPropDlg(ExSlider1->Value(), Holes[static_cast<size_t>(i)]);
    RefillHoles();
}

void TFormPolygonProp::btDelIntrPolygonClick()
{
    TSelectedLines lines;
    TextListBoxSelectedLines(TLBIntrPolygons, lines);
    if (lines.empty())
        return;
    if (ShowMsgDialog(QStringLiteral("Удаление отверстий полигона"),
                      QStringLiteral("будет удалено: ") + QString::number(lines.size())) != mrOk)
        return;
    DeleteNodes(Holes, nullptr, lines);
    RefillHoles();
}

void TFormPolygonProp::BitBtn1Click()
{
    if (Nodes.size() < 3) {
        ShowMsgDialog(windowTitle(), QStringLiteral("Для площадного объекта нужно не менее 3 узлов"));
        return;
    }
    try {
        const RPolygonValues v = Values();
        ConfirmedParams = IsNew ? NewPolygonParams(Page, Layer, v) : SetPolygonParams(Page, Layer, Index, v);
    } catch (const Exception& e) {
        ShowMsgDialog(windowTitle(), e.Message);
        return;
    }
    SetModalResult(mrOk);
}

void TFormPolygonProp::RefillHoles()
{
    TLBIntrPolygons->clear();
    for (size_t i = 0; i < Holes.size(); ++i)
        TLBIntrPolygons->addItem(IntrPolygonListLine(static_cast<int>(i), Holes[i]));
    UpdateHoleButtons();
    ShowArea();
}

void TFormPolygonProp::UpdateHoleButtons()
{
    TSelectedLines lines;
    TextListBoxSelectedLines(TLBIntrPolygons, lines);
    btPropIntrPolygon->setEnabled(lines.size() == 1);
    btDelIntrPolygon->setEnabled(!lines.empty());
}

void TFormPolygonProp::ShowArea()
{
    Label9->setText(PolygonAreaText(Nodes, Holes));
}

// The outer-node window

TFormPolygonNodeProp::TFormPolygonNodeProp(int precision, Extended X, Extended Y, Extended signShift,
                                           std::uint8_t segmentType, std::uint8_t segmentStyle,
                                           std::uint8_t nodeLine, std::uint8_t nodePicture, QWidget* parent)
    : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Узел площадного объекта"));
    SetClientSize(372, 318);

    auto* type = new QGroupBox(QStringLiteral("Тип сегмента"), this);
    Place(type, QRect(8, 8, 174, 96));
    auto* typeGroup = new QButtonGroup(this);
    rbSegmTypeMain = Radio(type, "rbSegmTypeMain", QStringLiteral("Основной"), QRect(10, 22, 150, 20), typeGroup);
    rbSegmTypeSpecial1 =
        Radio(type, "rbSegmTypeSpecial1", QStringLiteral("Специальный 1"), QRect(10, 46, 150, 20), typeGroup);
    rbSegmTypeSpecial2 =
        Radio(type, "rbSegmTypeSpecial2", QStringLiteral("Специальный 2"), QRect(10, 70, 150, 20), typeGroup);
    (segmentType == 1 ? rbSegmTypeSpecial1 : segmentType == 2 ? rbSegmTypeSpecial2 : rbSegmTypeMain)
        ->setChecked(true);

    SegmentStyleGroup(this, QRect(190, 8, 174, 96), segmentStyle, rbSegmStyleMain, rbSegmStyleSpecial, rbSegmStyleHide);

    NodeCoordsGroup(this, QRect(8, 110, 356, 56), precision, X, Y, neX, neY);

    auto* shift = new QGroupBox(QStringLiteral("Сдвиг условного знака "), this);
    Place(shift, QRect(8, 172, 174, 80));
    SignShiftControls(shift, signShift, nePicPos, cbPicPosAuto);

    auto* corner = new QGroupBox(this);
    Place(corner, QRect(190, 172, 174, 80));
    cbCornerLine = new QCheckBox(QStringLiteral("Линия"), corner);
    cbCornerLine->setObjectName(QStringLiteral("cbCornerLine"));
    cbCornerLine->setGeometry(10, 24, 150, 20);
    cbCornerLine->setChecked(nodeLine == 0);
    cbCornerPic = new QCheckBox(QStringLiteral("Рисунок"), corner);
    cbCornerPic->setObjectName(QStringLiteral("cbCornerPic"));
    cbCornerPic->setGeometry(10, 50, 150, 20);
    cbCornerPic->setChecked(nodePicture == 0);

    BitBtn1 = AddButton(QStringLiteral("Готово"), QRect(289, 284, 75, 25), mrOk);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
}

void TFormPolygonNodeProp::Read(Extended& X, Extended& Y, Extended& signShift, std::uint8_t& segmentType,
                                std::uint8_t& segmentStyle, std::uint8_t& nodeLine, std::uint8_t& nodePicture)
{
    X = neX->FloatValue();
    Y = neY->FloatValue();
    nodeLine = cbCornerLine->isChecked() ? 0 : 1;
    nodePicture = cbCornerPic->isChecked() ? 0 : 1;
    signShift = cbPicPosAuto->isChecked() ? -1 : nePicPos->FloatValue();
    segmentType = rbSegmTypeSpecial1->isChecked() ? 1 : rbSegmTypeSpecial2->isChecked() ? 2 : 0;
    segmentStyle = rbSegmStyleSpecial->isChecked() ? 1 : rbSegmStyleHide->isChecked() ? 2 : 0;
}
