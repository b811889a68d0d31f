// The raster-export and print parameter windows. Neither issues a command: they edit
// their caller's values and hand them back whatever the result.
#include "dialogs/file/UnitSaveRastr.h"

#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/StringNum.h"
#include "foundation/ui/NumEdit.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <cmath>

namespace {

// "1:" and the scale edit, with the ten scale buttons in two rows beside them.
void BuildScaleRow(TDialogBase* window, QLineEdit*& edit1, TNumEdit*& numEdit1,
                   QList<QPushButton*>& buttons, int scale)
{
    auto* label = new QLabel(QStringLiteral("Масштаб"), window);
    window->Place(label, QRect(8, 8, 110, 16));
    edit1 = new QLineEdit(QStringLiteral("1:"), window);
    edit1->setObjectName(QStringLiteral("Edit1"));
    edit1->setReadOnly(true);
    edit1->setFocusPolicy(Qt::NoFocus);
    window->Place(edit1, QRect(8, 26, 22, 21));
    numEdit1 = new TNumEdit(window);
    numEdit1->setObjectName(QStringLiteral("NumEdit1"));
    numEdit1->ClearTextIFValueNotInteger = true;
    numEdit1->ClearAndChangeToOldValue = true;
    numEdit1->SetIntegerValue(scale);
    window->Place(numEdit1, QRect(30, 26, 88, 21));
    const QList<int>& values = ScaleButtonValues();
    for (int i = 0; i < values.size(); ++i) {
        const int value = values[i];
        auto* button = new QPushButton(QString::number(value), window);
        button->setObjectName(QStringLiteral("B%1").arg(value));
        button->setAutoDefault(false);
        window->Place(button, QRect(130 + (i % 5) * 56, 6 + (i / 5) * 26, 54, 23));
        QObject::connect(button, &QPushButton::clicked, window,
                         [numEdit1, value] { numEdit1->SetIntegerValue(value); });
        buttons << button;
    }
}

int ScaleOf(TNumEdit* edit)
{
    return edit->IntegerValue();
}

bool RealOfText(const QString& text, Extended& value)
{
    try {
        value = StrToFlt(text.trimmed());
        return true;
    } catch (const Exception&) {
        return false;
    }
}

}  // namespace

const QList<int>& ScaleButtonValues()
{
    static const QList<int> values = {100, 200, 500, 1000, 2000, 5000, 10000, 25000, 50000, 100000};
    return values;
}

QString RasterSizeLine(Extended northExtent, Extended eastExtent, int scale, Extended dpi, int bits)
{
    if (scale < 1 || !(dpi > 0))
        return QString();
    const Extended h = northExtent * 1000 / scale * dpi / 25.4L;
    const Extended w = eastExtent * 1000 / scale * dpi / 25.4L;
    const Extended bytes = w * h * bits / 8;
    const Extended megabytes = bytes / 1024 / 1024;
    if (!std::isfinite(double(megabytes)))
        return QString();
    const QString head = QStringLiteral("Размер BMP (") + FloatToFixed(std::nearbyint(w), 0) +
                         QLatin1Char('x') + FloatToFixed(std::nearbyint(h), 0) +
                         QStringLiteral(")=");
    const Extended roundedMb = std::nearbyint(megabytes);
    if (roundedMb != 0)
        return head + FloatToFixed(roundedMb, 0) + QStringLiteral("Mb");
    return head + FloatToFixed(megabytes * 1024, 2, 15) + QStringLiteral("Kb");
}

TFormSaveRastr::TFormSaveRastr(int scale, Extended dpi, TPixelDepth depth, Extended northExtent,
                               Extended eastExtent, QWidget* parent)
    : TDialogBase(parent), NorthExtent(northExtent), EastExtent(eastExtent)
{
    setWindowTitle(QStringLiteral("Сохранение в растровом формате"));
    SetClientSize(420, 290);
    BuildScaleRow(this, Edit1, NumEdit1, ScaleButtons, scale);

    auto* dpiLabel = new QLabel(QStringLiteral("Разрешение растра,\nDPI"), this);
    Place(dpiLabel, QRect(8, 62, 118, 30));
    cbDPI = new QComboBox(this);
    cbDPI->setObjectName(QStringLiteral("cbDPI"));
    cbDPI->setEditable(true);
    cbDPI->setInsertPolicy(QComboBox::NoInsert);
    for (int value : {100, 200, 300, 400, 500, 600, 700, 800, 900, 1200})
        cbDPI->addItem(QString::number(value));
    cbDPI->setEditText(FloatToStr(dpi));
    Place(cbDPI, QRect(130, 66, 90, 22));

    auto* group = new QGroupBox(QStringLiteral("Глубина цвета"), this);
    Place(group, QRect(8, 98, 240, 124));
    struct TChoice { QRadioButton** Button; const char* Name; const char* Caption; };
    const TChoice choices[5] = {{&pf1, "pf1", "1bit  Черно-белый"},
                                {&pf4, "pf4", "4bit  16 цветов"},
                                {&pf8, "pf8", "8bit  256 цветов"},
                                {&pf16, "pf16", "16bit 65 тыс.цветов"},
                                {&pf24, "pf24", "24bit 16 млн.цветов"}};
    for (int i = 0; i < 5; ++i) {
        *choices[i].Button = new QRadioButton(QString::fromUtf8(choices[i].Caption), group);
        (*choices[i].Button)->setObjectName(QLatin1String(choices[i].Name));
        (*choices[i].Button)->setGeometry(10, 20 + i * 20, 220, 19);
        connect(*choices[i].Button, &QRadioButton::clicked, this, [this] { NumEdit1Change(); });
    }
    switch (depth) {
    case 1: pf1->setChecked(true); break;
    case 3: pf8->setChecked(true); break;
    case 5: pf16->setChecked(true); break;
    case 6: pf24->setChecked(true); break;
    default: pf4->setChecked(true); break;   // 2 and the values no choice shows
    }

    LabelSize = new QLabel(QStringLiteral("Размер"), this);
    LabelSize->setObjectName(QStringLiteral("LabelSize"));
    Place(LabelSize, QRect(8, 232, 404, 18));

    BitBtn1 = AddButton(QStringLiteral("Готово"), QRect(337, 258, 75, 24), mrNone);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { Confirm(); });

    connect(NumEdit1, &TNumEdit::Changed, this, [this] { NumEdit1Change(); });
    connect(cbDPI, &QComboBox::editTextChanged, this, [this] { NumEdit1Change(); });
    NumEdit1Change();
    NumEdit1->setFocus();
}

int TFormSaveRastr::Scale() { return ScaleOf(NumEdit1); }

bool TFormSaveRastr::Dpi(Extended& dpi) const { return RealOfText(cbDPI->currentText(), dpi); }

TPixelDepth TFormSaveRastr::Depth() const
{
    if (pf1->isChecked()) return 1;
    if (pf4->isChecked()) return 2;
    if (pf8->isChecked()) return 3;
    if (pf16->isChecked()) return 5;
    if (pf24->isChecked()) return 6;
    return 0;
}

void TFormSaveRastr::NumEdit1Change()
{
    static const int bitsOf[7] = {0, 1, 4, 8, 0, 16, 24};
    Extended dpi = 0;
    const bool dpiValid = Dpi(dpi);
    const QString line = dpiValid ? RasterSizeLine(NorthExtent, EastExtent, NumEdit1->IntegerValue(),
                                                   dpi, bitsOf[Depth()])
                                  : QString();
    LabelSize->setText(line.isEmpty() ? QStringLiteral("Размер") : line);
}

void TFormSaveRastr::Confirm()
{
    Extended dpi = 0;
    if (NumEdit1->IntegerValue() < 1) {
        NumEdit1->setFocus();
        NumEdit1->selectAll();
        return;
    }
    if (!Dpi(dpi) || !(dpi > 0)) {
        cbDPI->setFocus();
        cbDPI->lineEdit()->selectAll();
        return;
    }
    SetModalResult(mrOk);
}

TFormPrintScale::TFormPrintScale(int scale, TPixelDepth depth, Extended kx, Extended ky,
                                 QWidget* parent)
    : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Печать плана"));
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    SetClientSize(420, 200);
    BuildScaleRow(this, Edit1, NumEdit1, ScaleButtons, scale);

    auto* group = new QGroupBox(QStringLiteral("Глубина цвета"), this);
    Place(group, QRect(8, 60, 404, 52));
    auto* buttons = new QButtonGroup(this);
    buttons->setExclusive(true);
    struct TChoice { QToolButton** Button; const char* Name; const char* Caption; };
    const TChoice choices[5] = {{&sb2, "sb2", "2"},
                                {&sb16, "sb16", "16"},
                                {&sb256, "sb256", "256"},
                                {&sbHi, "sbHi", "HiColor"},
                                {&sbTc, "sbTc", "TrueColor"}};
    for (int i = 0; i < 5; ++i) {
        *choices[i].Button = new QToolButton(group);
        QToolButton* button = *choices[i].Button;
        button->setObjectName(QLatin1String(choices[i].Name));
        button->setText(QString::fromUtf8(choices[i].Caption));
        button->setCheckable(true);
        button->setGeometry(10 + i * 78, 20, 72, 24);
        buttons->addButton(button);
    }
    switch (depth) {
    case 1: sb2->setChecked(true); break;
    case 2: sb16->setChecked(true); break;
    case 5: sbHi->setChecked(true); break;
    case 6: sbTc->setChecked(true); break;
    default: sb256->setChecked(true); break;
    }

    auto* labelX = new QLabel(QStringLiteral("kx%"), this);
    Place(labelX, QRect(8, 128, 30, 16));
    MX = new TNumEdit(this);
    MX->setObjectName(QStringLiteral("MX"));
    Place(MX, QRect(40, 126, 90, 21));
    auto* labelY = new QLabel(QStringLiteral("ky%"), this);
    Place(labelY, QRect(150, 128, 30, 16));
    MY = new TNumEdit(this);
    MY->setObjectName(QStringLiteral("MY"));
    Place(MY, QRect(182, 126, 90, 21));
    for (TNumEdit* edit : {MX, MY}) {
        edit->ClearTextIFValueNotFloat = true;
        edit->UniversalDecimalSeparator = true;
        edit->EnableFloatPrecision = true;
        edit->SetNumberOfDecimalDigits(3);
    }
    MX->SetFloatValue(kx);
    MY->SetFloatValue(ky);

    Button1 = AddButton(QStringLiteral("Ok"), QRect(337, 168, 75, 24), mrNone);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { Confirm(); });
}

void TFormPrintScale::showEvent(QShowEvent* e)
{
    TDialogBase::showEvent(e);
    NumEdit1->setFocus();
    NumEdit1->selectAll();
}

TPixelDepth TFormPrintScale::Depth() const
{
    if (sb2->isChecked()) return 1;
    if (sb16->isChecked()) return 2;
    if (sb256->isChecked()) return 3;
    if (sbHi->isChecked()) return 5;
    if (sbTc->isChecked()) return 6;
    return 0;
}

void TFormPrintScale::Confirm()
{
    if (NumEdit1->IntegerValue() < 1) {
        NumEdit1->setFocus();
        NumEdit1->selectAll();
        return;
    }
    SetModalResult(mrOk);
}
