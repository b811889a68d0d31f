// The text editor.
#include "dialogs/objects/UnitTextProp.h"

#include "controls/FontComboBox.h"
#include "dialogs/objects/ObjectEditors.h"
#include "dialogs/objects/ObjectFields.h"
#include "dialogs/objects/UnitChangePageLayer.h"
#include "engine/GeoMap.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/StringNum.h"
#include "foundation/ui/FontStyleButtons.h"
#include "foundation/ui/NumEdit.h"
#include "platform/FileLookup.h"
#include "platform/TextFiles.h"
#include "semantics/signs/Symbols.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

TModalResult TextPropDlg(int& page, int& layer, int& index, bool isNew)
{
    const auto& hook = ProgramDialogHooks().TextProp;
    if (!hook)
        return mrCancel;
    return hook(page, layer, index, isNew);
}

RTextValues TextOnOpening(bool isNew, int page, int layer, int index)
{
    RTextValues v;
    if (!MainMap)
        return v;
    if (isNew) {
        if (const TGeoTextStyle* first = MainMap->Symbols->TextStyles.At(0))
            v.StyleName = first->StyleName;
    } else {
        ReadText(*MainMap, page, layer, index, v);
    }
    return v;
}

QStringList StyleComment(int scale, const QString& comment)
{
    const QString file = ProgramFolderPath(QStringLiteral("шрифты/") + QString::number(scale) +
                                           QLatin1Char('/') + comment + QStringLiteral(".wri"));
    if (!comment.isEmpty() && FileExistsIgnoringCase(file)) {
        try {
            return ReadTextFileLines(file);
        } catch (const Exception&) {
        }
    }
    return {QStringLiteral("Комментарии к стилю не найдены")};
}

QColor ColorOfTColor(int color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

int TColorOfColor(const QColor& color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

namespace {

TNumEdit* RealEdit(QWidget* parent, const char* name, int decimals, bool anySeparator)
{
    auto* edit = new TNumEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->ClearTextIFValueNotFloat = true;
    edit->UniversalDecimalSeparator = anySeparator;
    edit->EnableFloatPrecision = true;
    edit->SetNumberOfDecimalDigits(static_cast<std::uint8_t>(decimals));
    return edit;
}

QLabel* Mark(QWidget* parent, const QString& text, QRect rect)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(rect);
    return label;
}

}  // namespace

TFormTextProp::TFormTextProp(const RTextValues& values, bool isNew, int page, int layer, int index,
                             const QStringList& styles, QWidget* parent)
    : TDialogBase(parent), Page(page), Layer(layer), Index(index), IsNew(isNew),
      OpeningStyleName(values.StyleName)
{
    setWindowTitle(QStringLiteral("Надпись"));
    SetClientSize(480, 400);

    Mark(this, QStringLiteral("Надпись"), QRect(8, 8, 200, 16));
    eText = new QLineEdit(values.Text, this);
    eText->setObjectName(QStringLiteral("eText"));
    Place(eText, QRect(8, 26, 464, 22));

    Mark(this, QStringLiteral("X="), QRect(8, 60, 20, 16));
    neX = RealEdit(this, "neX", 2, true);
    Place(neX, QRect(28, 58, 110, 21));
    Mark(this, QStringLiteral("Y="), QRect(148, 60, 20, 16));
    neY = RealEdit(this, "neY", 2, true);
    Place(neY, QRect(168, 58, 110, 21));
    Mark(this, QStringLiteral("Поворот"), QRect(8, 90, 60, 16));
    neAngle = RealEdit(this, "neAngle", 2, false);
    Place(neAngle, QRect(68, 88, 70, 21));
    Mark(this, QStringLiteral("разм.x"), QRect(148, 90, 50, 16));
    neKSz = RealEdit(this, "neKSz", 2, false);
    Place(neKSz, QRect(198, 88, 80, 21));

    Mark(this, QStringLiteral("Лист"), QRect(292, 60, 34, 16));
    LPage = new QLabel(this);
    LPage->setObjectName(QStringLiteral("LPage"));
    Place(LPage, QRect(328, 60, 144, 16));
    Mark(this, QStringLiteral("Слой"), QRect(292, 80, 34, 16));
    LLayer = new QLabel(this);
    LLayer->setObjectName(QStringLiteral("LLayer"));
    Place(LLayer, QRect(328, 80, 144, 16));
    sbChangePageLayer = new QPushButton(QStringLiteral("Изменить"), this);
    sbChangePageLayer->setObjectName(QStringLiteral("sbChangePageLayer"));
    sbChangePageLayer->setAutoDefault(false);
    // A new text is not in the plan yet: there is nothing to move.
    sbChangePageLayer->setEnabled(!isNew);
    Place(sbChangePageLayer, QRect(372, 100, 100, 24));
    connect(sbChangePageLayer, &QPushButton::clicked, this, [this] { sbChangePageLayerClick(); });

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    Place(PageControl1, QRect(8, 130, 464, 226));
    csStyle = new QWidget;
    csStyle->setObjectName(QStringLiteral("csStyle"));
    csFont = new QWidget;
    csFont->setObjectName(QStringLiteral("csFont"));
    PageControl1->addTab(csStyle, QStringLiteral("Стиль"));
    PageControl1->addTab(csFont, QStringLiteral("Шрифт"));

    cbStyle = new QComboBox(csStyle);
    cbStyle->setObjectName(QStringLiteral("cbStyle"));
    cbStyle->setGeometry(8, 8, 444, 22);
    cbStyle->addItems(styles);
    cbStyle->setCurrentIndex(-1);
    Memo1 = new QPlainTextEdit(csStyle);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setGeometry(8, 38, 444, 150);

    Mark(csFont, QStringLiteral("Шрифт"), QRect(8, 10, 50, 16));
    FontSelector = new TFontComboBox(csFont);
    FontSelector->setObjectName(QStringLiteral("FontSelector"));
    FontSelector->setGeometry(60, 8, 250, 22);
    CheckBox1 = new QCheckBox(QStringLiteral("шрифт для списка"), csFont);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(320, 10, 136, 20);
    CheckBox1->setChecked(true);
    FontSelector->SetUseFonts(true);
    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool on) { FontSelector->SetUseFonts(on); });
    Mark(csFont, QStringLiteral("Размер"), QRect(8, 46, 50, 16));
    neFS = RealEdit(csFont, "neFS", 1, true);
    neFS->setGeometry(60, 44, 60, 21);
    Mark(csFont, QStringLiteral("мм"), QRect(124, 46, 24, 16));
    const RFontStyleButtons fontStyles = AddFontStyleButtons(csFont, 170, 42, 30, 24);
    sbFB = fontStyles.Bold;
    sbFI = fontStyles.Italic;
    sbFU = fontStyles.Underline;
    Mark(csFont, QStringLiteral("цвет"), QRect(8, 82, 50, 16));
    pnColor = new QPushButton(csFont);
    pnColor->setObjectName(QStringLiteral("pnColor"));
    pnColor->setAutoDefault(false);
    pnColor->setGeometry(60, 78, 60, 24);
    connect(pnColor, &QPushButton::clicked, this, [this] { pnColorClick(); });

    BitBtn1 = AddButton(QStringLiteral("Готово"), QRect(397, 366, 75, 25), mrNone);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });

    // What the opening shows: an own font on its page; otherwise the text's style chosen
    // in the list, when the list has it, with that style's own look.
    QString comment;
    std::uint8_t flags = StrToFontStyles(values.FontStyle);
    QString fontName = values.FontName;
    Extended size = values.Size;
    std::int32_t color = values.Color;
    if (values.OwnFont == 1) {
        PageControl1->setCurrentWidget(csFont);
    } else {
        const int found = cbStyle->findText(values.StyleName, Qt::MatchFixedString);
        if (found >= 0) {
            cbStyle->setCurrentIndex(found);
            if (MainMap)
                MainMap->Symbols->FindStyle(values.StyleName, comment, color, size, fontName, flags);
        } else if (!values.StyleName.isEmpty()) {
            // A style the current sign library lacks (an older plan's, another scale's): it
            // is offered as it is, below the library's, so confirming keeps it.
            cbStyle->addItem(values.StyleName);
            cbStyle->setCurrentIndex(cbStyle->count() - 1);
        }
        OpeningStyleIndex = cbStyle->currentIndex();
        PageControl1->setCurrentWidget(csStyle);
    }
    ShowStyle(comment, flags, fontName, size, color);
    connect(cbStyle, &QComboBox::currentIndexChanged, this, [this] { cbStyleChange(); });

    eText->setText(values.Text);
    neAngle->SetFloatValue(WinToGeoAngle(values.Rotation));
    neKSz->SetFloatValue(values.SizeFactor);
    neX->SetFloatValue(values.X);
    neY->SetFloatValue(values.Y);
    ShowPlace();
}

void TFormTextProp::ShowStyle(const QString& comment, std::uint8_t flags, const QString& fontName,
                              Extended size, int color)
{
    sbFB->setChecked((flags & 1) != 0);
    sbFI->setChecked((flags & 2) != 0);
    sbFU->setChecked((flags & 4) != 0);
    Memo1->setPlainText(StyleComment(PlanScale(), comment).join(QLatin1Char('\n')));
    neFS->SetFloatValue(size);
    SetColor(color);
    FontSelector->SetFontName(fontName);
}

void TFormTextProp::SetColor(int color)
{
    Color = color;
    pnColor->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid gray;")
                               .arg(ColorOfTColor(color).name()));
}

RTextValues TFormTextProp::Values() const
{
    RTextValues v;
    v.Text = eText->text();
    v.X = neX->FloatValue();
    v.Y = neY->FloatValue();
    v.Rotation = GeoToWinAngle(neAngle->FloatValue());
    v.SizeFactor = neKSz->FloatValue();
    v.FontName = FontSelector->FontName();
    TFontStyles flags = 0;
    if (sbFB->isChecked())
        flags |= 1;
    if (sbFI->isChecked())
        flags |= 2;
    if (sbFU->isChecked())
        flags |= 4;
    v.FontStyle = FontStylesToStr(flags);
    v.Color = Color;
    v.Size = neFS->FloatValue();
    if (PageControl1->currentWidget() == csFont) {
        v.OwnFont = 1;
        v.StyleName = OpeningStyleName;
    } else {
        v.OwnFont = 0;
        // The stored name goes back as it was written until the user picks another style.
        if (cbStyle->currentIndex() >= 0 && cbStyle->currentIndex() == OpeningStyleIndex)
            v.StyleName = OpeningStyleName;
        else
            v.StyleName = cbStyle->currentIndex() >= 0 ? cbStyle->currentText() : QString();
    }
    return v;
}

void TFormTextProp::cbStyleChange()
{
    if (cbStyle->count() == 0 || cbStyle->currentIndex() < 0 || !MainMap)
        return;
    QString comment, fontName;
    std::int32_t color = 0;
    Extended size = 0;
    std::uint8_t flags = 0;
    if (MainMap->Symbols->FindStyle(cbStyle->currentText(), comment, color, size, fontName, flags))
        ShowStyle(comment, flags, fontName, size, color);
    else
        Memo1->setPlainText(StyleComment(PlanScale(), QString()).join(QLatin1Char('\n')));
}

void TFormTextProp::pnColorClick()
{
    QColorDialog dialog(ColorOfTColor(Color), this);
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    if (dialog.exec() == QDialog::Accepted)
        SetColor(TColorOfColor(dialog.selectedColor()));
}

void TFormTextProp::sbChangePageLayerClick()
{
    ChangeTextPageLayerDlg(Page, Layer, Index);
    ShowPlace();
}

void TFormTextProp::BitBtn1Click()
{
    const RTextValues v = Values();
    try {
        ConfirmedParams = IsNew ? NewTextParams(Page, Layer, v) : SetTextParams(Page, Layer, Index, v);
    } catch (const Exception& e) {
        ShowMsgDialog(windowTitle(), e.Message);
        return;
    }
    SetModalResult(mrOk);
}

void TFormTextProp::showEvent(QShowEvent* e)
{
    TDialogBase::showEvent(e);
    eText->setFocus();
    eText->selectAll();
}

void TFormTextProp::ShowPlace()
{
    QString pageName, layerName;
    PlaceNames(Page, Layer, pageName, layerName);
    LPage->setText(pageName);
    LLayer->setText(layerName);
}
