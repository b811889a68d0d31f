// The line sign dialog.
#include "editors/signs/UnitSymLineProp.h"

#include "editors/signs/TextStyleBase.h"
#include "foundation/GeoDataObjectsSigns.h"
#include "foundation/ui/NumEdit.h"
#include "semantics/signs/Symbols.h"

#include <QCheckBox>
#include <QListWidget>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr TVpLayers RVpGLine::*LinePictures[6] = {&RVpGLine::LineStart,    &RVpGLine::LineEnd,
                                                   &RVpGLine::SegmentStart, &RVpGLine::SegmentEnd,
                                                   &RVpGLine::Piece1,       &RVpGLine::Piece2};
const char16_t* const PictureCaptions[6] = {u"Начало линии",    u"Конец линии",       u"Начало сегмента",
                                            u"Конец сегмента",  u"Отрезок сегмента", u"Отрезок сегмента 2"};
const char* const PictureNames[6] = {"sbLineStart", "sbLineEnd", "sbSegStart", "sbSegEnd", "sbPiece1", "sbPiece2"};

}  // namespace

TModalResult SymLinePropDlg(const QString& signFile, int scale)
{
    TFormSymLineProp window(signFile, scale, DialogOwner());
    if (!window.Load())
        return mrCancel;
    const TModalResult result = window.ShowModal();
    if (result == mrOk)
        window.Save();
    return result;
}

TFormSymLineProp::TFormSymLineProp(const QString& signFile, int scale, QWidget* parent)
    : TFormSignProp(poLineSign, signFile, scale, 730, 600, parent)
{
    setObjectName(QStringLiteral("FormSymLineProp"));
    setWindowTitle(QStringLiteral("Свойства линейного знака"));
    lbSv->setObjectName(QStringLiteral("lbLineSv"));
    Label01->setObjectName(QStringLiteral("Label01"));

    for (int i = 0; i < 6; ++i) {
        auto* b = new QPushButton(QString::fromUtf16(PictureCaptions[i]), this);
        b->setObjectName(QString::fromLatin1(PictureNames[i]));
        b->setAutoDefault(false);
        Place(b, QRect(324 + (i % 2) * 200, 8 + (i / 2) * 30, 192, 25));
        PictureButtons[i] = b;
        connect(b, &QPushButton::clicked, this, [this, i] {
            if (RVpGLine* sign = Sign())
                EditPicture(sign->*LinePictures[i]);
        });
    }
    auto label = [this](const QString& text, const QRect& r) {
        auto* l = new QLabel(text, this);
        Place(l, r);
        return l;
    };
    label(QStringLiteral("Длина рисунка"), QRect(324, 106, 200, 18));
    neDS = RealEdit(this, "neDS", 1);
    Place(neDS, QRect(530, 104, 70, 21));

    auto* plain = new QGroupBox(QStringLiteral("Простая линия в сегм."), this);
    Place(plain, QRect(324, 134, 392, 52));
    cbEnableELine = new QCheckBox(QStringLiteral("включить"), this);
    cbEnableELine->setObjectName(QStringLiteral("cbEnableELine"));
    Place(cbEnableELine, QRect(334, 156, 100, 20));
    label(QStringLiteral("цвет"), QRect(440, 158, 34, 16));
    pnELineColor = new TColorPanel(this);
    pnELineColor->setObjectName(QStringLiteral("pnELineColor"));
    Place(pnELineColor, QRect(476, 156, 40, 20));
    label(QStringLiteral("Толщина"), QRect(540, 158, 70, 16));
    neELineW = RealEdit(this, "neELineW", 1);
    Place(neELineW, QRect(620, 155, 70, 21));

    auto* above = new QGroupBox(QStringLiteral("Подписи над линией"), this);
    Place(above, QRect(324, 196, 392, 162));
    label(QStringLiteral("Расстояние между подписями семантики"), QRect(334, 220, 290, 18));
    neSTDIST = RealEdit(this, "neSTDIST", 1);
    Place(neSTDIST, QRect(630, 218, 70, 21));
    label(QStringLiteral("Расстояние от начала линии до первой подписи"), QRect(334, 248, 290, 18));
    neSTFirstDist = RealEdit(this, "neSTFirstDist", 1);
    Place(neSTFirstDist, QRect(630, 246, 70, 21));
    auto* position = new QGroupBox(QStringLiteral("Положение подписи из семантики"), this);
    Place(position, QRect(334, 276, 372, 72));
    rCentr = new QRadioButton(QStringLiteral("по центру каждого сегмента"), this);
    rCentr->setObjectName(QStringLiteral("rCentr"));
    Place(rCentr, QRect(344, 298, 300, 20));
    rDist = new QRadioButton(QStringLiteral("по расстояниям, вдоль линии"), this);
    rDist->setObjectName(QStringLiteral("rDist"));
    Place(rDist, QRect(344, 320, 300, 20));

    auto* inLine = new QGroupBox(QStringLiteral("Подписи в разрыве линии"), this);
    Place(inLine, QRect(324, 368, 392, 110));
    label(QStringLiteral("Число отрезков сегмента на повтор текста"), QRect(334, 392, 290, 18));
    neRC = new TNumEdit(this);
    neRC->setObjectName(QStringLiteral("neRC"));
    neRC->ClearTextIFValueNotInteger = true;
    Place(neRC, QRect(630, 390, 70, 21));
    label(QStringLiteral("Координаты вывода текста в линию"), QRect(334, 420, 290, 18));
    label(QStringLiteral("X"), QRect(334, 446, 14, 18));
    neX = RealEdit(this, "neX", 1);
    Place(neX, QRect(350, 444, 70, 21));
    label(QStringLiteral("Y"), QRect(440, 446, 14, 18));
    neY = RealEdit(this, "neY", 1);
    Place(neY, QRect(456, 444, 70, 21));

    BindReal(neDS, &RVpGLine::PieceLength);
    BindReal(neSTDIST, &RVpGLine::CaptionInterval);
    BindReal(neSTFirstDist, &RVpGLine::CaptionStart);
    connect(neX, &QLineEdit::textEdited, this, [this] {
        if (RVpGLine* sign = Sign()) {
            sign->TextPoint.X = TypedValue(neX);
            Preview->SignChanged();
        }
    });
    connect(neY, &QLineEdit::textEdited, this, [this] {
        if (RVpGLine* sign = Sign()) {
            sign->TextPoint.Y = TypedValue(neY);
            Preview->SignChanged();
        }
    });
    connect(neRC, &QLineEdit::textEdited, this, [this] {
        if (RVpGLine* sign = Sign()) {
            sign->TextRepeat = std::int16_t(std::uint16_t(neRC->IntegerValue() & 0xFFFF));
            Preview->SignChanged();
        }
    });
    connect(neELineW, &QLineEdit::textEdited, this, [this] {
        if (RVpGLine* sign = Sign()) {
            sign->Piece1.OwnLineWidth = TypedValue(neELineW);
            Preview->SignChanged();
        }
    });
    auto position1 = [this](std::uint8_t value) {
        if (RVpGLine* sign = Sign()) {
            sign->SegmentMiddle = value;
            Preview->SignChanged();
        }
    };
    connect(rCentr, &QRadioButton::clicked, this, [position1] { position1(1); });
    connect(rDist, &QRadioButton::clicked, this, [position1] { position1(0); });
    connect(cbEnableELine, &QCheckBox::clicked, this, [this](bool on) {
        if (RVpGLine* sign = Sign()) {
            sign->Piece1.HasOwnLine = on ? 1 : 0;
            Preview->SignChanged();
        }
    });
    connect(pnELineColor, &TColorPanel::Clicked, this, [this] {
        RVpGLine* sign = Sign();
        std::int32_t colour = pnELineColor->Color();
        if (!sign || !ExecColorDialog(colour))
            return;
        pnELineColor->SetColor(colour);
        sign->Piece1.OwnLineColor = colour;
        Preview->SignChanged();
    });
}

void TFormSymLineProp::BindReal(TNumEdit* edit, Extended RVpGLine::*field)
{
    connect(edit, &QLineEdit::textEdited, this, [this, edit, field] {
        if (RVpGLine* sign = Sign()) {
            sign->*field = TypedValue(edit);
            Preview->SignChanged();
        }
    });
}

RVpGLine* TFormSymLineProp::Sign() { return Symbols().VpGLines.Item; }

TSemTexts* TFormSymLineProp::Captions()
{
    RVpGLine* sign = Sign();
    return sign ? &sign->Captions : nullptr;
}

void TFormSymLineProp::FillControls()
{
    RVpGLine& sign = *Sign();
    ShowValue(neDS, sign.PieceLength);
    ShowValue(neSTDIST, sign.CaptionInterval);
    ShowValue(neSTFirstDist, sign.CaptionStart);
    rCentr->setChecked(sign.SegmentMiddle == 1);
    rDist->setChecked(sign.SegmentMiddle == 0);
    neRC->SetIntegerValue(std::uint16_t(sign.TextRepeat));
    ShowValue(neX, sign.TextPoint.X);
    ShowValue(neY, sign.TextPoint.Y);
    cbEnableELine->setChecked(sign.Piece1.HasOwnLine != 0);
    pnELineColor->SetColor(sign.Piece1.OwnLineColor);
    ShowValue(neELineW, sign.Piece1.OwnLineWidth);
}
