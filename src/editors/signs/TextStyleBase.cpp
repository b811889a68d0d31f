// The base of the "Надпись" windows: the style list with its comment, the own font page.
#include "editors/signs/TextStyleBase.h"

#include "controls/FontComboBox.h"
#include "engine/draw/MapPainter.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ui/FontStyleButtons.h"
#include "foundation/ui/NumEdit.h"
#include "platform/FileLookup.h"
#include "platform/TextFiles.h"
#include "semantics/signs/Symbols.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolButton>

TColorDialogHook& ColorDialogHook()
{
    static TColorDialogHook hook;
    return hook;
}

bool ExecColorDialog(std::int32_t& color)
{
    if (const TColorDialogHook& hook = ColorDialogHook())
        return hook(color);
    const QColor chosen = QColorDialog::getColor(TColorToQColor(color), DialogOwner());
    if (!chosen.isValid())
        return false;
    color = chosen.red() | (chosen.green() << 8) | (chosen.blue() << 16);
    return true;
}

TColorPanel::TColorPanel(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    SetColor(0);
}

void TColorPanel::SetColor(std::int32_t color)
{
    FColor = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, TColorToQColor(color));
    setPalette(pal);
}

void TColorPanel::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        emit Clicked();
    QFrame::mousePressEvent(e);
}

TFormTextStyleBase::TFormTextStyleBase(TSymbols& symbols, int top, QWidget* parent)
    : TDialogBase(parent), Symbols(symbols)
{
    setWindowTitle(QStringLiteral("Надпись"));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    Place(PageControl1, QRect(8, top, 324, 200));
    csStyle = new QWidget;
    csStyle->setObjectName(QStringLiteral("csStyle"));
    csFont = new QWidget;
    csFont->setObjectName(QStringLiteral("csFont"));
    PageControl1->addTab(csStyle, QStringLiteral("Стиль"));
    PageControl1->addTab(csFont, QStringLiteral("Шрифт"));

    cbStyle = new QComboBox(csStyle);
    cbStyle->setObjectName(QStringLiteral("cbStyle"));
    cbStyle->setGeometry(8, 8, 302, 22);
    Memo1 = new QPlainTextEdit(csStyle);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setGeometry(8, 36, 302, 130);

    FontSelector = new TFontComboBox(csFont);
    FontSelector->setObjectName(QStringLiteral("FontSelector"));
    FontSelector->setGeometry(8, 8, 210, 22);
    FontSelector->SetUseFonts(true);
    CheckBox1 = new QCheckBox(QStringLiteral("шрифт для списка"), csFont);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(8, 36, 210, 18);
    CheckBox1->setChecked(true);
    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool on) { FontSelector->SetUseFonts(on); });

    const RFontStyleButtons fontStyles = AddFontStyleButtons(csFont, 226, 6, 28, 26);
    sbFB = fontStyles.Bold;
    sbFI = fontStyles.Italic;
    sbFU = fontStyles.Underline;

    auto* sizeLabel = new QLabel(QStringLiteral("Размер"), csFont);
    sizeLabel->setGeometry(8, 68, 50, 16);
    neFS = new TNumEdit(csFont);
    neFS->setObjectName(QStringLiteral("neFS"));
    neFS->UniversalDecimalSeparator = true;
    neFS->ClearTextIFValueNotFloat = true;
    neFS->EnableFloatPrecision = true;
    neFS->SetNumberOfDecimalDigits(1);
    neFS->setText(QStringLiteral("3"));
    neFS->setGeometry(60, 66, 56, 21);
    auto* unitLabel = new QLabel(QStringLiteral("мм"), csFont);
    unitLabel->setGeometry(122, 68, 30, 16);

    auto* colorLabel = new QLabel(QStringLiteral("цвет"), csFont);
    colorLabel->setGeometry(8, 100, 50, 16);
    pnColor = new TColorPanel(csFont);
    pnColor->setObjectName(QStringLiteral("pnColor"));
    pnColor->setGeometry(60, 96, 56, 24);

    connect(cbStyle, &QComboBox::activated, this, &TFormTextStyleBase::StyleChosen);
}

TUserStyle TFormTextStyleBase::FontPageStyle()
{
    TUserStyle s;
    s.FontName = FontSelector->FontName();
    s.Color = pnColor->Color();
    s.Size = neFS->FloatValue();
    s.FontStyle = (sbFB->isChecked() ? fsBoldBit : 0) | (sbFI->isChecked() ? fsItalicBit : 0) |
                  (sbFU->isChecked() ? fsUnderlineBit : 0);
    return s;
}

bool TFormTextStyleBase::StylePageActive() const { return PageControl1->currentWidget() == csStyle; }

int TFormTextStyleBase::ChosenStyle() const { return cbStyle->currentIndex(); }

QStringList TFormTextStyleBase::CommentLines(int scale, const QString& comment)
{
    const QString path = ResolvePath(ProgramFolder + QStringLiteral("шрифты/") + QString::number(scale) +
                                     u'/' + comment + QStringLiteral(".wri"));
    if (!comment.isEmpty() && FileExistsIgnoringCase(path)) {
        try {
            return ReadTextFileLines(path);
        } catch (const std::exception&) {
            // An unreadable comment is no reason to refuse the window: it is said instead.
        }
    }
    return {QStringLiteral("Комментарии к стилю не найдены")};
}

void TFormTextStyleBase::FillStyles()
{
    cbStyle->clear();
    for (int i = 0; i < Symbols.TextStyles.GetCount(); ++i)
        cbStyle->addItem(Symbols.TextStyles.At(i)->StyleName);
    cbStyle->setCurrentIndex(-1);
}

void TFormTextStyleBase::ShowUserStyle(const TUserStyle& style)
{
    FontSelector->SetFontName(style.FontName);
    pnColor->SetColor(style.Color);
    neFS->SetFloatValue(style.Size);
    sbFB->setChecked(style.FontStyle & fsBoldBit);
    sbFI->setChecked(style.FontStyle & fsItalicBit);
    sbFU->setChecked(style.FontStyle & fsUnderlineBit);
}

void TFormTextStyleBase::ChooseStyle(const QString& name)
{
    const int index = cbStyle->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    cbStyle->setCurrentIndex(index);
    if (index >= 0)
        StyleChosen(index);
    else
        Memo1->setPlainText(CommentLines(Symbols.GetScale(), QString()).join(u'\n'));
}

void TFormTextStyleBase::StyleChosen(int index)
{
    if (index < 0)
        return;
    QString comment, fontName;
    std::int32_t color = 0;
    Extended size = 0;
    std::uint8_t flags = 0;
    if (!Symbols.FindStyle(cbStyle->itemText(index), comment, color, size, fontName, flags))
        return;
    TUserStyle style;
    style.FontName = fontName;
    style.Color = color;
    style.Size = size;
    style.FontStyle = flags;
    ShowUserStyle(style);
    Memo1->setPlainText(CommentLines(Symbols.GetScale(), comment).join(u'\n'));
}

void TFormTextStyleBase::ShowPage(QWidget* page) { PageControl1->setCurrentWidget(page); }
