// The object creation settings window.
#include "dialogs/objects/FormObjectDest.h"

#include "controls/ExSlider.h"
#include "controls/FontComboBox.h"
#include "dialogs/objects/FormParts.h"
#include "dialogs/objects/ObjectEditors.h"
#include "dialogs/objects/UnitTextProp.h"
#include "engine/GeoMap.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/ui/FontStyleButtons.h"
#include "foundation/ui/NumEdit.h"
#include "mainwindow/UnitMap.h"
#include "semantics/signs/Symbols.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <cmath>
#include <memory>

RObjectDest RObjectDest::Of(const TFormMap& form)
{
    RObjectDest v;
    v.DestAutoPage = form.DestAutoPage;
    v.DestPageName = form.DestPageName;
    v.DestAutoLayer = form.DestAutoLayer;
    v.DestLayerName = form.DestLayerName;
    v.CreatePrecision = form.CreatePrecision;
    v.PointSignAngle = form.PointSignAngle;
    v.PointCaptionLine = form.PointCaptionLine;
    v.AutoTextAllFromFirst = form.AutoTextAllFromFirst;
    v.AutoTextDX = form.AutoTextDX;
    v.AutoTextDY = form.AutoTextDY;
    v.AutoTextView = form.AutoTextView;
    v.AutoTextAngle = form.AutoTextAngle;
    v.AutoTextSizeFactor = form.AutoTextSizeFactor;
    v.TextAngle = form.TextAngle;
    v.TextStyleName = form.TextStyleName;
    v.TextFontName = form.TextFontName;
    v.TextFontStyle = form.TextFontStyle;
    v.TextFontSize = form.TextFontSize;
    v.TextColor = form.TextColor;
    v.TextCaption = form.TextCaption;
    v.ShowPolygonPopup = form.ShowPolygonPopup;
    v.CoordLabelOffsets = form.CoordLabelOffsets;
    v.CoordLabelStyle = form.CoordLabelStyle;
    return v;
}

void RObjectDest::WriteTo(TFormMap& form) const
{
    form.DestAutoPage = DestAutoPage;
    form.DestPageName = DestPageName;
    form.DestAutoLayer = DestAutoLayer;
    form.DestLayerName = DestLayerName;
    form.CreatePrecision = CreatePrecision;
    form.PointSignAngle = PointSignAngle;
    form.PointCaptionLine = PointCaptionLine;
    form.AutoTextAllFromFirst = AutoTextAllFromFirst;
    form.AutoTextDX = AutoTextDX;
    form.AutoTextDY = AutoTextDY;
    form.AutoTextView = AutoTextView;
    form.AutoTextAngle = AutoTextAngle;
    form.AutoTextSizeFactor = AutoTextSizeFactor;
    form.TextAngle = TextAngle;
    form.TextStyleName = TextStyleName;
    form.TextFontName = TextFontName;
    form.TextFontStyle = TextFontStyle;
    form.TextFontSize = TextFontSize;
    form.TextColor = TextColor;
    form.TextCaption = TextCaption;
    form.ShowPolygonPopup = ShowPolygonPopup;
    form.CoordLabelOffsets = CoordLabelOffsets;
    form.CoordLabelStyle = CoordLabelStyle;
}

TModalResult ObjectDestDlg(int page)
{
    const auto& hook = ProgramDialogHooks().ObjectDest;
    if (!hook)
        return mrCancel;
    return hook(page);
}

namespace {

TModalResult RunObjectDest(int page)
{
    if (!FormMap || !MainMap)
        return mrCancel;
    TFormObjectDest form(RObjectDest::Of(*FormMap), page, DialogOwner());
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    form.Values().WriteTo(*FormMap);
    FormMap->ShowObjectDestination();
    return result;
}

// Degrees × 10, halves to even.
std::int32_t Tenths(Extended degrees)
{
    return static_cast<std::int32_t>(std::nearbyint(degrees * 10));
}

QToolButton* ChoiceButton(QWidget* parent, const QString& name, const char* caption, QRect rect,
                          QButtonGroup* group)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(QString::fromUtf8(caption));
    b->setCheckable(true);
    b->setGeometry(rect);
    group->addButton(b);
    return b;
}

// The three buttons "По  умолчанию", "Включена", "Выключена" across a group, value 0, 1 or
// 2 pressed (anything else shows as 0).
void ThreeWay(QGroupBox* box, const QString& prefix, int value, QToolButton*& automatic, QToolButton*& on,
              QToolButton*& off)
{
    auto* group = new QButtonGroup(box);
    group->setExclusive(true);
    automatic = ChoiceButton(box, prefix + QStringLiteral("sbAuto"), "По  умолчанию", QRect(8, 18, 96, 22), group);
    on = ChoiceButton(box, prefix + QStringLiteral("sbOn"), "Включена", QRect(108, 18, 66, 22), group);
    off = ChoiceButton(box, prefix + QStringLiteral("sbOff"), "Выключена", QRect(178, 18, 66, 22), group);
    (value == 1 ? on : value == 2 ? off : automatic)->setChecked(true);
}

int ThreeWayValue(const QToolButton* on, const QToolButton* off)
{
    return on->isChecked() ? 1 : off->isChecked() ? 2 : 0;
}

TExSlider* AngleSlider(QWidget* parent, const char* name, int from, int to, QRect rect)
{
    auto* slider = new TExSlider(parent);
    slider->setObjectName(QLatin1String(name));
    slider->setGeometry(rect);
    slider->SetMinValue(from);
    slider->SetMaxValue(to);
    slider->SetIncrement(1);
    return slider;
}

// An angle edit, its slider and its dial kept together: the edit repaints the dial and
// moves the slider to its value rounded; the slider writes its value into the edit, but
// not while the edit is moving it, so a typed 12.5 is not turned into 12.
void LinkAngle(QObject* owner, TNumEdit* edit, TExSlider* slider, TAnglePaintBox* dial)
{
    auto fromEdit = std::make_shared<bool>(false);
    QObject::connect(edit, &TNumEdit::Changed, owner, [edit, slider, dial, fromEdit] {
        dial->update();
        *fromEdit = true;
        slider->SetValue(static_cast<int>(std::nearbyint(edit->FloatValue())));
        *fromEdit = false;
    });
    slider->OnChange = [edit, slider, fromEdit] {
        if (!*fromEdit)
            edit->SetIntegerValue(slider->Value());
    };
}

}  // namespace

void InstallObjectDestWindow()
{
    ProgramDialogHooks().ObjectDest = RunObjectDest;
}

TFormObjectDest::TFormObjectDest(const RObjectDest& values, int page, QWidget* parent)
    : TDialogBase(parent), LayerName(values.DestLayerName), CoordLabelStyle(values.CoordLabelStyle)
{
    setObjectName(QStringLiteral("FormObjectDest"));
    setWindowTitle(QStringLiteral("Параметры создания объектов"));
    SetClientSize(540, 419);

    // The sheet, the layer, the precision and "Готово" across the top.
    gbPage = new QGroupBox(QStringLiteral("Лист"), this);
    Place(gbPage, QRect(8, 4, 140, 66));
    AutoPage = new QCheckBox(QStringLiteral("Авто"), gbPage);
    AutoPage->setObjectName(QStringLiteral("AutoPage"));
    AutoPage->setGeometry(10, 18, 60, 18);
    cbPage = new QComboBox(gbPage);
    cbPage->setObjectName(QStringLiteral("cbPage"));
    cbPage->setGeometry(10, 38, 120, 22);
    gbLayer = new QGroupBox(QStringLiteral("Слой"), this);
    Place(gbLayer, QRect(154, 4, 140, 66));
    AutoLay = new QCheckBox(QStringLiteral("Авто"), gbLayer);
    AutoLay->setObjectName(QStringLiteral("AutoLay"));
    AutoLay->setGeometry(10, 18, 60, 18);
    cbLayer = new QComboBox(gbLayer);
    cbLayer->setObjectName(QStringLiteral("cbLayer"));
    cbLayer->setGeometry(10, 38, 120, 22);

    gbPrecision = new QGroupBox(QStringLiteral("Точность"), this);
    gbPrecision->setObjectName(QStringLiteral("gbPrecision"));
    Place(gbPrecision, QRect(300, 4, 144, 66));
    ExSlider1 = new TExSlider(gbPrecision);
    ExSlider1->setObjectName(QStringLiteral("ExSlider1"));
    ExSlider1->setGeometry(8, 14, 128, 34);
    ExSlider1->SetMaxValue(3);
    ExSlider1->SetIncrement(1);
    const char* const marks[4] = {"м", "дм", "см", "мм"};
    for (int i = 0; i < 4; ++i) {
        const int x = 8 + ExSlider1->ValueToOffset(i) + ExSlider1->ThumbRect().width() / 2;
        Caption(gbPrecision, QString::fromUtf8(marks[i]), QRect(x - 15, 46, 30, 16), Qt::AlignHCenter);
    }

    BitBtn1 = AddButton(QStringLiteral("Готово"), QRect(452, 12, 80, 26), mrOk, Qt::TopEdge | Qt::LeftEdge);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    EscResult = mrCancel;
    CloseResult = mrCancel;

    pcObjects = new QTabWidget(this);
    pcObjects->setObjectName(QStringLiteral("pcObjects"));
    pcObjects->setGeometry(8, 76, 426, 163);
    // The five captions must fit the narrow layout without scroll arrows.
    pcObjects->tabBar()->setStyleSheet(QStringLiteral(
        "QTabBar::tab { padding: 3px 6px; border: 1px solid #a0a0a0; border-bottom: none;"
        " border-top-left-radius: 3px; border-top-right-radius: 3px; background: #e4e4e4;"
        " margin-top: 2px; }"
        "QTabBar::tab:selected { background: #f6f6f6; margin-top: 0px; }"));
    pcObjects->setUsesScrollButtons(false);

    // "Точечные"
    auto* points = new QWidget;
    points->setObjectName(QStringLiteral("tsPoints"));
    auto* turn = new QGroupBox(QStringLiteral("Поворот условного знака"), points);
    turn->setGeometry(8, 6, 404, 64);
    PointneAngleZnak = RealNumEdit(turn, "PointneAngleZnak", 2, QRect(10, 26, 70, 21));
    PointSliderAngleZnak = AngleSlider(turn, "PointSliderAngleZnak", 0, 360, QRect(88, 18, 250, 36));
    PointpbAngleZnak = new TAnglePaintBox(-90, turn);
    PointpbAngleZnak->setObjectName(QStringLiteral("PointpbAngleZnak"));
    PointpbAngleZnak->move(350, 16);
    PointpbAngleZnak->Angle = [this] { return PointneAngleZnak->FloatValue(); };
    auto* captionLine = new QGroupBox(QStringLiteral("Линия к автотексту"), points);
    captionLine->setGeometry(8, 74, 404, 48);
    ThreeWay(captionLine, QStringLiteral("Point"), values.PointCaptionLine, PointsbAuto, PointsbOn, PointsbOff);
    pcObjects->addTab(points, QStringLiteral("Точечные"));

    // "Линейные" has nothing to set.
    auto* lines = new QWidget;
    lines->setObjectName(QStringLiteral("tsLines"));
    pcObjects->addTab(lines, QStringLiteral("Линейные"));

    // "Площадные"
    auto* polygons = new QWidget;
    polygons->setObjectName(QStringLiteral("tsPolygons"));
    cbShowPopup = new QCheckBox(QStringLiteral("показывать контекстное меню"), polygons);
    cbShowPopup->setObjectName(QStringLiteral("cbShowPopup"));
    cbShowPopup->setGeometry(10, 12, 300, 20);
    pcObjects->addTab(polygons, QStringLiteral("Площадные"));

    // "Текстовые"
    auto* texts = new QWidget;
    texts->setObjectName(QStringLiteral("tsTexts"));
    Caption(texts, QStringLiteral("Надпись"), QRect(8, 6, 200, 16));
    eText = new QLineEdit(texts);
    eText->setObjectName(QStringLiteral("eText"));
    eText->setGeometry(8, 24, 504, 22);
    pcText = new QTabWidget(texts);
    pcText->setObjectName(QStringLiteral("pcText"));
    pcText->setGeometry(8, 52, 330, 136);
    tsStyle = new QWidget;
    tsStyle->setObjectName(QStringLiteral("tsStyle"));
    cbStyle = new QComboBox(tsStyle);
    cbStyle->setObjectName(QStringLiteral("cbStyle"));
    cbStyle->setGeometry(6, 6, 314, 22);
    Memo1 = new QPlainTextEdit(tsStyle);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setGeometry(6, 32, 314, 72);
    pcText->addTab(tsStyle, QStringLiteral("Стиль"));
    tsFont = new QWidget;
    tsFont->setObjectName(QStringLiteral("tsFont"));
    Caption(tsFont, QStringLiteral("Шрифт"), QRect(6, 8, 50, 16));
    FontSelector = new TFontComboBox(tsFont);
    FontSelector->setObjectName(QStringLiteral("FontSelector"));
    FontSelector->setGeometry(60, 6, 260, 22);
    Caption(tsFont, QStringLiteral("Размер"), QRect(6, 40, 50, 16));
    neFS = RealNumEdit(tsFont, "neFS", 1, QRect(60, 38, 56, 21));
    Caption(tsFont, QStringLiteral("мм"), QRect(120, 40, 24, 16));
    const RFontStyleButtons fontStyles = AddFontStyleButtons(tsFont, 170, 36, 30, 24);
    sbFB = fontStyles.Bold;
    sbFI = fontStyles.Italic;
    sbFU = fontStyles.Underline;
    Caption(tsFont, QStringLiteral("Цвет"), QRect(6, 74, 50, 16));
    pnColor = PlainButton(tsFont, "pnColor", QString(), QRect(60, 70, 56, 24));
    connect(pnColor, &QPushButton::clicked, this, [this] { pnColorClick(); });
    pcText->addTab(tsFont, QStringLiteral("Шрифт"));
    auto* textAngle = new QGroupBox(QStringLiteral("Угол надписи"), texts);
    textAngle->setGeometry(344, 52, 168, 136);
    neTextAngle = RealNumEdit(textAngle, "neTextAngle", 1, QRect(10, 30, 70, 21));
    TextPbAngle = new TAnglePaintBox(0, textAngle);
    TextPbAngle->setObjectName(QStringLiteral("TextPbAngle"));
    TextPbAngle->move(110, 20);
    TextPbAngle->Angle = [this] { return 360 - neTextAngle->FloatValue(); };
    TextSlider = AngleSlider(textAngle, "TextSlider", 0, 360, QRect(8, 76, 152, 36));
    pcObjects->addTab(texts, QStringLiteral("Текстовые"));

    // "Подписи координат": the eight dx, dy pairs, two to a row.
    auto* labels = new QWidget;
    labels->setObjectName(QStringLiteral("tsCoordLabels"));
    for (int i = 0; i < 16; ++i) {
        const int pair = i / 2;
        const int x = 8 + (pair % 2) * 250 + (i % 2) * 116;
        const int y = 10 + (pair / 2) * 28;
        Caption(labels, QString::fromLatin1(i % 2 ? "dy" : "dx"), QRect(x, y + 2, 20, 16));
        const QByteArray name = "NumEdit" + QByteArray::number(i + 1);
        NumEdits[i] = RealNumEdit(labels, name.constData(), 2, QRect(x + 22, y, 80, 21));
        NumEdits[i]->SetFloatValue(values.CoordLabelOffsets[i]);
    }
    Caption(labels, QStringLiteral("Стиль"), QRect(8, 128, 40, 16));
    ComboBox1 = new QComboBox(labels);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(52, 126, 330, 22);
    pcObjects->addTab(labels, QStringLiteral("Подписи координат"));

    // The panel of the user caption settings sent with new points.
    UTPanel = new QGroupBox(QStringLiteral("Настройки автотекста"), this);
    UTPanel->setObjectName(QStringLiteral("UTPanel"));
    UTPanel->setGeometry(8, 245, 524, 166);
    UTcbAll = new QCheckBox(QStringLiteral("Все настройки по первому элементу"), UTPanel);
    UTcbAll->setObjectName(QStringLiteral("UTcbAll"));
    UTcbAll->setGeometry(10, 18, 300, 20);
    auto* shift = new QGroupBox(QStringLiteral("Дополнительное смещение, мм плана"), UTPanel);
    shift->setGeometry(10, 42, 250, 54);
    Caption(shift, QStringLiteral("X="), QRect(10, 24, 20, 16));
    UTneX = RealNumEdit(shift, "UTneX", 3, QRect(30, 22, 90, 21));
    Caption(shift, QStringLiteral("Y="), QRect(132, 24, 20, 16));
    UTneY = RealNumEdit(shift, "UTneY", 3, QRect(152, 22, 90, 21));
    auto* size = new QGroupBox(QStringLiteral("Коэффициент размера подписи"), UTPanel);
    size->setGeometry(10, 102, 250, 54);
    UTneKSz = RealNumEdit(size, "UTneKSz", 2, QRect(10, 22, 80, 21));
    auto* angle = new QGroupBox(QStringLiteral("Изменение угла автотекста"), UTPanel);
    angle->setGeometry(266, 42, 250, 64);
    UTneAngle = RealNumEdit(angle, "UTneAngle", 1, QRect(10, 26, 60, 21));
    UTSlider = AngleSlider(angle, "UTSlider", -360, 360, QRect(76, 18, 120, 36));
    UTpbAngle = new TAnglePaintBox(0, angle);
    UTpbAngle->setObjectName(QStringLiteral("UTpbAngle"));
    UTpbAngle->move(202, 16);
    UTpbAngle->Angle = [this] { return 360 - UTneAngle->FloatValue(); };
    auto* view = new QGroupBox(QStringLiteral("Вид автотекста"), UTPanel);
    view->setGeometry(266, 110, 250, 48);
    ThreeWay(view, QStringLiteral("UT"), values.AutoTextView, UTsbAuto, UTsbOn, UTsbOff);

    LinkAngle(this, PointneAngleZnak, PointSliderAngleZnak, PointpbAngleZnak);
    LinkAngle(this, neTextAngle, TextSlider, TextPbAngle);
    LinkAngle(this, UTneAngle, UTSlider, UTpbAngle);

    // Loading. The sheets, with the first selected, and its layers.
    QStringList pages;
    if (MainMap) {
        for (int i = 0; i < MainMap->Pages.GetCount(); ++i)
            if (const RGPage* p = MainMap->Pages.At(i); p && p->Visible != 0) {
                VisiblePages.push_back(i);
                pages << p->Name;
            }
    }
    cbPage->addItems(pages);
    cbPage->setCurrentIndex(pages.isEmpty() ? -1 : 0);
    FillLayers();
    cbLayer->setCurrentIndex(cbLayer->count() > 0 ? 0 : -1);
    AutoPage->setChecked(values.DestAutoPage != 0);
    AutoLay->setChecked(values.DestAutoLayer != 0);
    if (const int at = cbPage->findText(values.DestPageName, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        at >= 0) {
        cbPage->setCurrentIndex(at);
        FillLayers();
        cbLayer->setCurrentIndex(cbLayer->count() > 0 ? 0 : -1);
    }
    if (const int at = cbLayer->findText(values.DestLayerName, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        at >= 0)
        cbLayer->setCurrentIndex(at);
    cbPage->setEnabled(!AutoPage->isChecked());
    cbLayer->setEnabled(!AutoLay->isChecked());

    ExSlider1->SetValue(values.CreatePrecision >= 0 && values.CreatePrecision <= 3 ? values.CreatePrecision : 0);
    PointneAngleZnak->SetFloatValue(values.PointSignAngle);
    UTneX->SetFloatValue(values.AutoTextDX);
    UTneY->SetFloatValue(values.AutoTextDY);
    UTneKSz->SetFloatValue(values.AutoTextSizeFactor);
    UTneAngle->SetFloatValue(Extended(values.AutoTextAngle) / 10);
    UTcbAll->setChecked(values.AutoTextAllFromFirst != 0);
    UTcbAllClick();

    // The styles; a style name that the library has replaces the font of new texts.
    QStringList styles;
    if (MainMap)
        for (const auto& style : MainMap->Symbols->TextStyles)
            styles << style->StyleName;
    cbStyle->addItems(styles);
    cbStyle->setCurrentIndex(-1);
    QString fontName = values.TextFontName;
    Extended fontSize = values.TextFontSize;
    std::int32_t color = values.TextColor;
    std::uint8_t flags = values.TextFontStyle;
    QString comment;
    if (!values.TextStyleName.isEmpty()) {
        if (const int at = cbStyle->findText(values.TextStyleName, Qt::MatchFixedString | Qt::MatchCaseSensitive);
            at >= 0) {
            cbStyle->setCurrentIndex(at);
            MainMap->Symbols->FindStyle(values.TextStyleName, comment, color, fontSize, fontName, flags);
        }
        pcText->setCurrentWidget(tsStyle);
    } else {
        pcText->setCurrentWidget(tsFont);
    }
    sbFB->setChecked((flags & 1) != 0);
    sbFI->setChecked((flags & 2) != 0);
    sbFU->setChecked((flags & 4) != 0);
    Memo1->setPlainText(StyleComment(PlanScale(), comment).join(QLatin1Char('\n')));
    neFS->SetFloatValue(fontSize);
    SetColor(color);
    FontSelector->SetFontName(fontName);
    neTextAngle->SetFloatValue(Extended(values.TextAngle) / 10);
    eText->setText(values.TextCaption);

    pcObjects->setCurrentIndex(page >= 0 && page < pcObjects->count() ? page : 0);
    pcObjectsChange();

    cbShowPopup->setChecked(values.ShowPolygonPopup != 0);
    ComboBox1->addItems(styles);
    const int labelStyle = ComboBox1->findText(values.CoordLabelStyle, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    ComboBox1->setCurrentIndex(labelStyle >= 0 ? labelStyle : ComboBox1->count() - 1);

    connect(AutoPage, &QCheckBox::clicked, this, [this] { AutoPageClick(); });
    connect(AutoLay, &QCheckBox::clicked, this, [this] { AutoLayClick(); });
    connect(cbPage, &QComboBox::activated, this, [this] { cbPageChange(); });
    connect(UTcbAll, &QCheckBox::clicked, this, [this] { UTcbAllClick(); });
    connect(pcObjects, &QTabWidget::currentChanged, this, [this] { pcObjectsChange(); });
    connect(cbStyle, &QComboBox::activated, this, [this] { cbStyleChange(); });
}

void TFormObjectDest::FillLayers()
{
    QStringList layers;
    const int line = cbPage->currentIndex();
    if (MainMap && line >= 0 && line < int(VisiblePages.size()))
        MainMap->GetLayersToComboBox2(VisiblePages[line], layers);
    cbLayer->clear();
    cbLayer->addItems(layers);
    cbLayer->setCurrentIndex(-1);
}

void TFormObjectDest::SelectLayerAfterPageChange()
{
    FillLayers();
    const int named = cbLayer->findText(LayerName, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    cbLayer->setCurrentIndex(named >= 0 ? named : cbLayer->count() > 0 ? 0 : -1);
}

void TFormObjectDest::AutoPageClick()
{
    if (AutoPage->isChecked()) {
        cbPage->setEnabled(false);
        return;
    }
    cbPage->setEnabled(true);
    if (!AutoLay->isChecked())
        SelectLayerAfterPageChange();
}

void TFormObjectDest::AutoLayClick()
{
    if (AutoLay->isChecked()) {
        cbLayer->setEnabled(false);
        return;
    }
    FillLayers();
    cbLayer->setEnabled(true);
}

void TFormObjectDest::cbPageChange()
{
    if (!AutoLay->isChecked())
        SelectLayerAfterPageChange();
}

void TFormObjectDest::UTcbAllClick()
{
    const bool on = UTcbAll->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{UTneX, UTneY, UTsbAuto, UTsbOn, UTsbOff, UTneAngle,
                                                      UTSlider, UTneKSz})
        w->setEnabled(on);
}

void TFormObjectDest::pcObjectsChange()
{
    const int page = pcObjects->currentIndex();
    const bool textPages = page == 3 || page == 4;
    UTPanel->setVisible(!textPages);
    gbPrecision->setVisible(!textPages);
    pcObjects->resize(textPages ? QSize(524, 220) : QSize(426, 163));
    SetClientSize(540, textPages ? 308 : 419);
}

void TFormObjectDest::cbStyleChange()
{
    if (cbStyle->currentIndex() < 0)
        return;
    ShowStyleFont(cbStyle->currentText());
}

void TFormObjectDest::ShowStyleFont(const QString& styleName)
{
    QString comment, fontName;
    std::int32_t color = 0;
    Extended size = 0;
    std::uint8_t flags = 0;
    if (!MainMap || !MainMap->Symbols->FindStyle(styleName, comment, color, size, fontName, flags)) {
        Memo1->setPlainText(StyleComment(PlanScale(), QString()).join(QLatin1Char('\n')));
        return;
    }
    FontSelector->SetFontName(fontName);
    neFS->SetFloatValue(size);
    SetColor(color);
    sbFB->setChecked((flags & 1) != 0);
    sbFI->setChecked((flags & 2) != 0);
    sbFU->setChecked((flags & 4) != 0);
    Memo1->setPlainText(StyleComment(PlanScale(), comment).join(QLatin1Char('\n')));
}

void TFormObjectDest::SetColor(int color)
{
    Color = color;
    pnColor->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid gray;")
                               .arg(ColorOfTColor(color).name()));
}

void TFormObjectDest::pnColorClick()
{
    QColorDialog dialog(ColorOfTColor(Color), this);
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    if (dialog.exec() == QDialog::Accepted)
        SetColor(TColorOfColor(dialog.selectedColor()));
}

RObjectDest TFormObjectDest::Values() const
{
    RObjectDest v;
    v.CreatePrecision = ExSlider1->Value();
    // A fixed sheet or layer needs a name: closed without one, the level stays automatic.
    const bool pageChosen = cbPage->currentIndex() >= 0;
    const bool layerChosen = cbLayer->currentIndex() >= 0;
    v.DestAutoPage = AutoPage->isChecked() || !pageChosen ? 1 : 0;
    v.DestAutoLayer = AutoLay->isChecked() || !layerChosen ? 1 : 0;
    v.AutoTextAllFromFirst = UTcbAll->isChecked() ? 1 : 0;
    v.DestPageName = pageChosen ? cbPage->itemText(cbPage->currentIndex()) : QString();
    v.DestLayerName = layerChosen ? cbLayer->itemText(cbLayer->currentIndex()) : QString();

    v.PointSignAngle = PointneAngleZnak->FloatValue();
    v.PointCaptionLine = std::uint8_t(ThreeWayValue(PointsbOn, PointsbOff));
    v.AutoTextDX = UTneX->FloatValue();
    v.AutoTextDY = UTneY->FloatValue();
    v.AutoTextView = std::uint8_t(ThreeWayValue(UTsbOn, UTsbOff));
    v.AutoTextSizeFactor = UTneKSz->FloatValue();
    v.AutoTextAngle = Tenths(UTneAngle->FloatValue());
    v.TextAngle = Tenths(neTextAngle->FloatValue());

    v.TextFontName = FontSelector->FontName();
    v.TextFontStyle = std::uint8_t((sbFB->isChecked() ? 1 : 0) | (sbFI->isChecked() ? 2 : 0) |
                                   (sbFU->isChecked() ? 4 : 0));
    v.TextColor = Color;
    v.TextFontSize = neFS->FloatValue();
    v.TextCaption = eText->text();
    if (pcText->currentWidget() == tsFont || cbStyle->currentIndex() < 0)
        v.TextStyleName.clear();
    else
        v.TextStyleName = cbStyle->currentText();

    v.ShowPolygonPopup = cbShowPopup->isChecked() ? 1 : 0;
    for (int i = 0; i < 16; ++i)
        v.CoordLabelOffsets[i] = NumEdits[i]->FloatValue();
    v.CoordLabelStyle = ComboBox1->currentIndex() >= 0 ? ComboBox1->currentText() : CoordLabelStyle;
    return v;
}
