// The area sign dialog. Its many fields are laid out, filled and written through three
// tables (numbers, pictures, choices), so that each field is named once.
#include "editors/signs/UnitSymPolygonProp.h"

#include "editors/signs/TextStyleBase.h"
#include "foundation/GeoDataObjectsSigns.h"
#include "foundation/ui/NumEdit.h"
#include "semantics/signs/Symbols.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace {

// A number field: a real of the sign, an order byte (whole number, low byte kept), or
// the width of the simple line of a segment picture. decimals < 0: the full value.
struct TAreaNumber {
    const char* Name;
    Extended RVpGPolygon::*Real;
    std::uint8_t RVpGPolygon::*Order;
    TVpLayers RVpGPolygon::*LineOf;
    int Decimals;
    QRect Rect;
};

constexpr int A = 324;   // left column
constexpr int B = 700;   // right column

const TAreaNumber Numbers[] = {
    {"neCornerShift", &RVpGPolygon::CornerShift, nullptr, nullptr, -1, {A + 296, 10, 64, 21}},
    {"neDS", &RVpGPolygon::Piece1Length, nullptr, nullptr, -1, {A + 296, 38, 64, 21}},
    {"neDS2", &RVpGPolygon::Piece2Length, nullptr, nullptr, -1, {A + 296, 66, 64, 21}},
    {"neELine1W", nullptr, nullptr, &RVpGPolygon::Piece1, 1, {A + 296, 118, 64, 21}},
    {"neELine2W", nullptr, nullptr, &RVpGPolygon::Piece2, 1, {A + 296, 170, 64, 21}},
    {"neSP1Order", nullptr, &RVpGPolygon::Fill1Kind, nullptr, 0, {A + 150, 226, 60, 21}},
    {"neSP1StepY", &RVpGPolygon::Fill1StepX, nullptr, nullptr, -1, {A + 220, 226, 64, 21}},
    {"neSP1StepX", &RVpGPolygon::Fill1StepY, nullptr, nullptr, -1, {A + 296, 226, 64, 21}},
    {"neSP2Order", nullptr, &RVpGPolygon::Fill2Kind, nullptr, 0, {A + 150, 254, 60, 21}},
    {"neSP2StepY", &RVpGPolygon::Fill2StepX, nullptr, nullptr, -1, {A + 220, 254, 64, 21}},
    {"neSP2StepX", &RVpGPolygon::Fill2StepY, nullptr, nullptr, -1, {A + 296, 254, 64, 21}},
    {"neSP3Order", nullptr, &RVpGPolygon::Fill3Kind, nullptr, 0, {A + 150, 282, 60, 21}},
    {"neSP3StepY", &RVpGPolygon::Fill3StepX, nullptr, nullptr, -1, {A + 220, 282, 64, 21}},
    {"neSP3StepX", &RVpGPolygon::Fill3StepY, nullptr, nullptr, -1, {A + 296, 282, 64, 21}},
    {"neMarginY", &RVpGPolygon::MarginA, nullptr, nullptr, -1, {A + 100, 376, 64, 21}},
    {"neMarginX", &RVpGPolygon::MarginB, nullptr, nullptr, -1, {A + 296, 376, 64, 21}},
    {"neDiagonalLen", &RVpGPolygon::Diagonals1Length, nullptr, nullptr, 1, {B + 250, 58, 64, 21}},
    {"ne2Len", &RVpGPolygon::Diagonals2Length, nullptr, nullptr, 1, {B + 250, 142, 64, 21}},
    {"neCross1Len", &RVpGPolygon::Cross1Length, nullptr, nullptr, 1, {B + 250, 254, 64, 21}},
    {"neCross1Step", &RVpGPolygon::Cross1Step, nullptr, nullptr, 1, {B + 250, 280, 64, 21}},
    {"neCross1Size", &RVpGPolygon::Cross1Size, nullptr, nullptr, 1, {B + 250, 306, 64, 21}},
    {"neCross2Len", &RVpGPolygon::Cross2Length, nullptr, nullptr, 1, {B + 250, 388, 64, 21}},
    {"neCross2Size", &RVpGPolygon::Cross2Size, nullptr, nullptr, 1, {B + 250, 414, 64, 21}},
    {"neTextStepX", &RVpGPolygon::TextStepX, nullptr, nullptr, 1, {B + 250, 496, 64, 21}},
    {"neTextStepY", &RVpGPolygon::TextStepY, nullptr, nullptr, 1, {B + 250, 522, 64, 21}},
};

struct TAreaPicture {
    const char* Name;
    const char16_t* Caption;
    TVpLayers RVpGPolygon::*Picture;
    QRect Rect;
};

const TAreaPicture Pictures[] = {
    {"sbPS", u"Точка сегмента", &RVpGPolygon::Corners, {A, 8, 130, 25}},
    {"sbDS", u"Отрезок осн.сегм.", &RVpGPolygon::Piece1, {A, 36, 130, 25}},
    {"sbDS2", u"Отрезок спец.сегм.", &RVpGPolygon::Piece2, {A, 64, 130, 25}},
    {"sbSP1", u"Заполнение1", &RVpGPolygon::Fill1, {A, 224, 130, 25}},
    {"sbSP2", u"Заполнение2", &RVpGPolygon::Fill2, {A, 252, 130, 25}},
    {"sbSP3", u"Заполнение3", &RVpGPolygon::Fill3, {A, 280, 130, 25}},
    {"sbC", u"Рисунок в центре", &RVpGPolygon::Center, {A, 314, 130, 25}},
    {"sbDiagonalPic", u"Рисунок", &RVpGPolygon::Diagonals1, {B + 8, 28, 70, 25}},
    {"sb2Pic", u"Рисунок", &RVpGPolygon::Diagonals2, {B + 8, 112, 70, 25}},
    {"sbCross1Pic", u"Рисунок", &RVpGPolygon::Cross1, {B + 8, 196, 70, 25}},
    {"sbCross2Pic", u"Рисунок", &RVpGPolygon::Cross2, {B + 8, 358, 70, 25}},
};

// A choice: a group of speed buttons defaulting to "нет" (value 0), or a radio group
// that shows no button for a value it has none for. Values with no button of their
// own that the renderer still knows are shown on disabled buttons.
struct TAreaChoice {
    std::uint8_t RVpGPolygon::*Field;
    bool Radio;
    std::vector<const char16_t*> Captions;   // value i is Captions[i]
    std::vector<int> Disabled;
    std::vector<QRect> Rects;                // one per button
};

QRect Row(int x, int y, int w, int h = 25) { return {x, y, w, h}; }

const TAreaChoice Choices[] = {
    {&RVpGPolygon::CenterOrientation, true, {u"на север", u"параллелльно ", u"перпендикулярно"}, {},
     {Row(A + 8, 344, 96, 20), Row(A + 110, 344, 116, 20), Row(A + 232, 344, 136, 20)}},
    {&RVpGPolygon::Diagonals1Style, false, {u"нет", u"Линия", u"Штрих"}, {},
     {Row(B + 82, 28, 52), Row(B + 136, 28, 52), Row(B + 190, 28, 52)}},
    {&RVpGPolygon::Diagonals2Style, false, {u"нет", u"Линия", u"Линия"}, {},
     {Row(B + 82, 112, 52), Row(B + 136, 112, 52), Row(B + 190, 112, 52)}},
    {&RVpGPolygon::Cross1Style, false,
     {u"нет", u"Линия", u"Штрих", u"Пересеч", u"Лин.паралл.спец.", u"линии по радиусу"}, {3, 5},
     {Row(B + 82, 196, 52), Row(B + 136, 196, 52), Row(B + 190, 196, 52), Row(B + 8, 224, 70),
      Row(B + 80, 224, 112), Row(B + 194, 224, 120)}},
    {&RVpGPolygon::Cross2Style, false, {u"нет", u"Штрих"}, {}, {Row(B + 82, 358, 52), Row(B + 136, 358, 52)}},
    {&RVpGPolygon::TextStepKind, true, {u"В центре", u"Прямоугольное", u"Шахматное"}, {},
     {Row(B + 8, 470, 90, 20), Row(B + 104, 470, 120, 20), Row(B + 226, 470, 92, 20)}},
};

}  // namespace

TModalResult SymPolygonPropDlg(const QString& signFile, int scale)
{
    TFormSymPolygonProp window(signFile, scale, DialogOwner());
    if (!window.Load())
        return mrCancel;
    const TModalResult result = window.ShowModal();
    if (result == mrOk)
        window.Save();
    return result;
}

TFormSymPolygonProp::TFormSymPolygonProp(const QString& signFile, int scale, QWidget* parent)
    : TFormSignProp(poAreaSign, signFile, scale, 1030, 640, parent)
{
    setObjectName(QStringLiteral("FormSymPolygonProp"));
    setWindowTitle(QStringLiteral("Свойства площадного знака"));
    lbSv->setObjectName(QStringLiteral("lbPolygonSv"));
    sbDelSemText->setObjectName(QStringLiteral("sbDelSEMText"));

    auto label = [this](const QString& text, const QRect& r) {
        auto* l = new QLabel(text, this);
        Place(l, r);
    };
    auto group = [this](const QString& text, const QRect& r) {
        auto* g = new QGroupBox(text, this);
        Place(g, r);
        g->lower();
    };
    // Frames and captions first: the controls lie over them.
    {
        auto* shift = new QLabel(QStringLiteral("Смещение точки сегмента по биссектриссе угла"), this);
        shift->setWordWrap(true);
        Place(shift, QRect(A + 136, 2, 158, 34));
    }
    label(QStringLiteral("Длина рисунка осн.сегм."), QRect(A + 136, 40, 158, 18));
    label(QStringLiteral("Длина рисунка спец. сегмента"), QRect(A + 136, 68, 158, 18));
    group(QStringLiteral("Простая линия в осн. сегм. (тип 1)"), QRect(A, 94, 368, 50));
    group(QStringLiteral("Простая линия в спец. сегм. (тип 2)"), QRect(A, 146, 368, 50));
    label(QStringLiteral("Толщина"), QRect(A + 230, 120, 60, 18));
    label(QStringLiteral("Толщина"), QRect(A + 230, 172, 60, 18));
    label(QStringLiteral("цвет"), QRect(A + 100, 120, 34, 18));
    label(QStringLiteral("цвет"), QRect(A + 100, 172, 34, 18));
    label(QStringLiteral("Порядок"), QRect(A + 150, 204, 64, 18));
    label(QStringLiteral("Шаг по Y"), QRect(A + 220, 204, 64, 18));
    label(QStringLiteral("Шаг по X"), QRect(A + 296, 204, 64, 18));
    label(QStringLiteral("Поле по Y"), QRect(A, 378, 96, 18));
    label(QStringLiteral("Поле по X"), QRect(A + 196, 378, 96, 18));
    group(QStringLiteral("От углов к центру"), QRect(B, 8, 322, 80));
    group(QStringLiteral("От спец.сегмента"), QRect(B, 92, 322, 80));
    group(QStringLiteral("Поперечная штриховка 1"), QRect(B, 176, 322, 158));
    group(QStringLiteral("Поперечная штриховка 2"), QRect(B, 338, 322, 108));
    group(QStringLiteral("Расположение подисей из сементики"), QRect(B, 450, 322, 100));
    for (int y : {60, 144, 256, 390})
        label(QStringLiteral("Длина рис"), QRect(B + 150, y, 98, 18));
    label(QStringLiteral("Шаг"), QRect(B + 150, 282, 98, 18));
    label(QStringLiteral("Длина штриха"), QRect(B + 150, 308, 98, 18));
    label(QStringLiteral("Длина штриха"), QRect(B + 150, 416, 98, 18));
    label(QStringLiteral("шаг по горизонт."), QRect(B + 120, 498, 128, 18));
    label(QStringLiteral("шаг по верт."), QRect(B + 120, 524, 128, 18));

    for (const TAreaNumber& n : Numbers) {
        TNumEdit* e;
        if (n.Order) {
            e = new TNumEdit(this);
            e->setObjectName(QString::fromLatin1(n.Name));
            e->ClearTextIFValueNotInteger = true;
        } else
            e = RealEdit(this, n.Name, n.Decimals);
        Place(e, n.Rect);
        NumEdits.push_back(e);
        connect(e, &QLineEdit::textEdited, this, [this, e, &n] {
            RVpGPolygon* sign = Sign();
            if (!sign)
                return;
            if (n.Order)
                sign->*n.Order = std::uint8_t(e->IntegerValue() & 0xFF);
            else if (n.LineOf)
                (sign->*n.LineOf).OwnLineWidth = TypedValue(e);
            else
                sign->*n.Real = TypedValue(e);
            Changed();
        });
    }
    for (const TAreaPicture& p : Pictures) {
        auto* b = new QPushButton(QString::fromUtf16(p.Caption), this);
        b->setObjectName(QString::fromLatin1(p.Name));
        b->setAutoDefault(false);
        Place(b, p.Rect);
        PictureButtons.push_back(b);
        connect(b, &QPushButton::clicked, this, [this, &p] {
            if (RVpGPolygon* sign = Sign())
                EditPicture(sign->*p.Picture);
        });
    }
    for (const TAreaChoice& c : Choices) {
        auto* g = new QButtonGroup(this);
        g->setExclusive(true);
        for (int i = 0; i < int(c.Captions.size()); ++i) {
            QAbstractButton* b;
            const QString caption = QString::fromUtf16(c.Captions[i]);
            if (c.Radio)
                b = new QRadioButton(caption, this);
            else {
                auto* t = new QToolButton(this);
                t->setText(caption);
                t->setCheckable(true);
                b = t;
            }
            Place(b, c.Rects[size_t(i)]);
            if (std::find(c.Disabled.begin(), c.Disabled.end(), i) != c.Disabled.end())
                b->setEnabled(false);
            g->addButton(b, i);
        }
        ChoiceGroups.push_back(g);
        connect(g, &QButtonGroup::idClicked, this, [this, &c](int id) {
            if (RVpGPolygon* sign = Sign()) {
                sign->*c.Field = std::uint8_t(id);
                Changed();
            }
        });
    }

    auto lineBox = [this](QCheckBox*& box, TColorPanel*& panel, const char* boxName, const char* panelName,
                          TVpLayers RVpGPolygon::*picture, int y) {
        box = new QCheckBox(QStringLiteral("включить"), this);
        box->setObjectName(QString::fromLatin1(boxName));
        Place(box, QRect(A + 8, y, 90, 20));
        panel = new TColorPanel(this);
        panel->setObjectName(QString::fromLatin1(panelName));
        Place(panel, QRect(A + 136, y, 40, 20));
        connect(box, &QCheckBox::clicked, this, [this, picture](bool on) {
            if (RVpGPolygon* sign = Sign()) {
                (sign->*picture).HasOwnLine = on ? 1 : 0;
                Changed();
            }
        });
        connect(panel, &TColorPanel::Clicked, this, [this, panel, picture] {
            RVpGPolygon* sign = Sign();
            std::int32_t colour = panel->Color();
            if (!sign || !ExecColorDialog(colour))
                return;
            panel->SetColor(colour);
            (sign->*picture).OwnLineColor = colour;
            Changed();
        });
    };
    lineBox(cbELine1, pnELine1Color, "cbELine1", "pnELine1Color", &RVpGPolygon::Piece1, 118);
    lineBox(cbELine2, pnELine2Color, "cbELine2", "pnELine2Color", &RVpGPolygon::Piece2, 170);

    pnFill = new TColorPanel(this);
    pnFill->setObjectName(QStringLiteral("pnFill"));
    Place(pnFill, QRect(A, 414, 40, 20));
    cbFill = new QCheckBox(QStringLiteral("Заливка"), this);
    cbFill->setObjectName(QStringLiteral("cbFill"));
    Place(cbFill, QRect(A + 48, 414, 120, 20));
    connect(cbFill, &QCheckBox::clicked, this, [this](bool on) {
        if (RVpGPolygon* sign = Sign()) {
            sign->FillOn = on ? 1 : 0;
            Changed();
        }
    });
    connect(pnFill, &TColorPanel::Clicked, this, [this] {
        RVpGPolygon* sign = Sign();
        std::int32_t colour = pnFill->Color();
        if (!sign || !ExecColorDialog(colour))
            return;
        pnFill->SetColor(colour);
        sign->FillColor = colour;
        Changed();
    });
}

RVpGPolygon* TFormSymPolygonProp::Sign() { return Symbols().VpGPolygons.Item; }

TSemTexts* TFormSymPolygonProp::Captions()
{
    RVpGPolygon* sign = Sign();
    return sign ? &sign->Captions : nullptr;
}

void TFormSymPolygonProp::FillControls()
{
    RVpGPolygon& sign = *Sign();
    for (size_t i = 0; i < NumEdits.size(); ++i) {
        const TAreaNumber& n = Numbers[i];
        if (n.Order)
            NumEdits[i]->SetIntegerValue(sign.*n.Order);
        else
            ShowValue(NumEdits[i], n.LineOf ? (sign.*n.LineOf).OwnLineWidth : sign.*n.Real);
    }
    for (size_t i = 0; i < ChoiceGroups.size(); ++i) {
        const TAreaChoice& c = Choices[i];
        QButtonGroup* g = ChoiceGroups[i];
        QAbstractButton* b = g->button(sign.*c.Field);
        if (!b && !c.Radio)
            b = g->button(0);
        if (b)
            b->setChecked(true);
    }
    cbFill->setChecked(sign.FillOn != 0);
    pnFill->SetColor(sign.FillColor);
    cbELine1->setChecked(sign.Piece1.HasOwnLine != 0);
    pnELine1Color->SetColor(sign.Piece1.OwnLineColor);
    cbELine2->setChecked(sign.Piece2.HasOwnLine != 0);
    pnELine2Color->SetColor(sign.Piece2.OwnLineColor);
}
