// The caption rule window.
#include "editors/signs/UnitTextFromSem.h"

#include "editors/signs/UnitSelectTextStyle.h"
#include "engine/draw/MapPainter.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ui/NumEdit.h"
#include "mainwindow/MapHooks.h"
#include "platform/FileLookup.h"
#include "platform/TextFiles.h"
#include "semantics/signs/Symbols.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCursor>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

const TCaptionKind CaptionKinds[27] = {
    {u"Высота", u"ГВ", u"Высота", true},
    {u"Диаметр", u"ГР", u"Диаметр", true},
    {u"Толщина", u"ГТ", u"Толщина", true},
    {u"Глубина", u"ГГ", u"Глубина", true},
    {u"Площадь", u"ГП", u"Площадь", true},
    {u"Ширина", u"ГШ", u"Ширина", true},
    {u"Длина", u"ГД", u"Длина", true},
    {u"Сечение", u"ГС", u"Сечение", true},
    {u"Объем", u"ГО", u"Объем", true},
    {u"Грузоподъемность", u"ТГ", u"Грузоподъемность", true},
    {u"Скорость", u"ТС", u"Скорость", true},
    {u"Дебит", u"ТР", u"Дебит", true},
    {u"Давление", u"ТД", u"Давление", true},
    {u"Направление", u"ТП", u"Направление", true},
    {u"Напряжение", u"ТН", u"Напряжение", true},
    {u"Количество", u"ТК", u"Количество", true},
    {u"Дата", u"ИД", u"Дата", true},
    {u"Имя собств.", u"ИИ", u"Имя", true},
    {u"Отметка", u"ИВ", u"Отметка", true},
    {u"Номер", u"ИН", u"Номер", true},
    {u"Надпись", u"ИТ", u"Надпись", true},
    {u"Ф", u"Ф", u"", false},
    {u"К", u"К", u"", false},
    {u"Н", u"Н", u"", false},
    {u"Материал", u"М", u"Материал", true},
    {u"Состояние", u"С", u"Состояние", true},
    {u"Безусловно", u"В", u"", false},
};

namespace {

bool IsCodeKind(const QString& code)
{
    return code == u"Ф" || code == u"К" || code == u"Н";
}

int KindIndex(const QString& code)
{
    for (int i = 0; i < 27; ++i)
        if (code == QString::fromUtf16(CaptionKinds[i].Code))
            return i;
    return -1;
}

// The four columns of kinds: the label over each and the first and last kind in it.
struct TKindColumn {
    const char16_t* Label;
    int First, Last, Left;
};
const TKindColumn KindColumns[4] = {
    {u"Геометрические свойства", 0, 8, 8},
    {u"Физико-технич. свойства", 9, 15, 166},
    {u"Информация", 16, 20, 324},
    {u"Основные", 21, 26, 448},
};

TNumEdit* OneDecimalEdit(QWidget* parent, const char* name)
{
    auto* e = new TNumEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->UniversalDecimalSeparator = true;
    e->ClearTextIFValueNotFloat = true;
    e->EnableFloatPrecision = true;
    e->SetNumberOfDecimalDigits(1);
    return e;
}

}  // namespace

QString CaptionValueOfEntry(const QString& kind, int entry, int entryCount, const QString& stored)
{
    if (kind == u"В")
        return QStringLiteral("00");
    int storedNumber = 0;
    if (entry < 0 && TryStrToInt(stored, storedNumber) && storedNumber < 0)
        return stored;
    const int number = entryCount > 0 && entry > 0 ? entry : 0;
    QString value = QString::number(number);
    if (kind == u"М")
        value = value.size() == 1 ? QStringLiteral("00") + value
                : value.size() == 2 ? QStringLiteral("0") + value
                                    : value;
    else if (value.size() == 1)
        value = QStringLiteral("0") + value;
    return value;
}

TModalResult TextFromSemDlg(RSemText* rule, TSymbols& symbols)
{
    if (!rule)
        return mrNone;
    // What "выбрать" may change while the window is open, for a close without "Готово".
    const QString styleName = rule->StyleName;
    const std::unique_ptr<TUserStyle> ownStyle = CopyStyle(rule->OwnStyle);

    TFormTextFromSem window(*rule, symbols, DialogOwner());
    const TModalResult result = window.ShowModal();
    if (result == mrOk) {
        window.WriteBack();
    } else {
        rule->StyleName = styleName;
        rule->OwnStyle = CopyStyle(ownStyle);
    }
    return result;
}

TFormTextFromSem::TFormTextFromSem(RSemText& rule, TSymbols& symbols, QWidget* parent)
    : TDialogBase(parent), Rule(rule), Symbols(symbols), StoredValue(rule.PropCode)
{
    setObjectName(QStringLiteral("FormTextFromSem"));
    setWindowTitle(QStringLiteral("Создавать надпись из семантики"));
    SetClientSize(640, 470);

    // ---- The property kinds ----
    KindGroup = new QButtonGroup(this);
    KindGroup->setExclusive(true);
    for (const TKindColumn& column : KindColumns) {
        auto* label = new QLabel(QString::fromUtf16(column.Label), this);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        Place(label, QRect(column.Left, 8, 156, 16));
        int top = 28;
        for (int i = column.First; i <= column.Last; ++i) {
            auto* b = new QRadioButton(QString::fromUtf16(CaptionKinds[i].Caption), this);
            b->setObjectName(QStringLiteral("rb") + QString::fromUtf16(CaptionKinds[i].Code));
            KindButtons[i] = b;
            KindGroup->addButton(b, i);
            // Ф, К and Н stand in one row with the code edit after them.
            if (i >= 21 && i <= 23) {
                Place(b, QRect(column.Left + (i - 21) * 38, top, 36, 18));
                if (i == 23)
                    top += 22;
            } else {
                Place(b, QRect(column.Left, top, 156, 18));
                top += 20;
            }
        }
    }
    eFKN = new QLineEdit(this);
    eFKN->setObjectName(QStringLiteral("eFKN"));
    Place(eFKN, QRect(448 + 3 * 38, 26, 70, 21));
    connect(KindGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            KindChosen(id);
    });

    auto* dopLabel = new QLabel(QStringLiteral("Дополнительное описание"), this);
    Place(dopLabel, QRect(8, 212, 300, 16));
    dop = new QComboBox(this);
    dop->setObjectName(QStringLiteral("dop"));
    Place(dop, QRect(8, 230, 400, 22));

    // ---- The style ----
    LFont = new QLabel(QStringLiteral("Образец шрифта 1234567890"), this);
    LFont->setObjectName(QStringLiteral("LFont"));
    Place(LFont, QRect(8, 262, 420, 28));
    Button2 = new QPushButton(QStringLiteral("выбрать"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);
    Place(Button2, QRect(440, 263, 90, 25));
    connect(Button2, &QPushButton::clicked, this, [this] {
        if (SelectTextStyleDlg(Rule, Symbols) == mrOk)
            ShowSample();
    });

    // ---- The texts, in the order the caption is assembled ----
    const auto textGroup = [this](const QString& caption, int left, int width) {
        auto* g = new QGroupBox(caption, this);
        Place(g, QRect(left, 298, width, 50));
        return g;
    };
    QGroupBox* begin = textGroup(QStringLiteral("Текст в начале"), 8, 184);
    BeginText = new QLineEdit(begin);
    BeginText->setObjectName(QStringLiteral("BeginText"));
    BeginText->setGeometry(8, 20, 140, 21);
    btAddName = new QToolButton(begin);
    btAddName->setObjectName(QStringLiteral("btAddName"));
    btAddName->setText(QStringLiteral("+"));
    btAddName->setGeometry(152, 19, 24, 23);
    connect(btAddName, &QToolButton::clicked, this, [this] {
        const int i = KindGroup->checkedId();
        if (i >= 0 && CaptionKinds[i].Name[0] != 0)
            BeginText->setText(QString::fromUtf16(CaptionKinds[i].Name));
    });
    QGroupBox* separator1 = textGroup(QStringLiteral("Разделитель"), 198, 92);
    sep1 = new QLineEdit(separator1);
    sep1->setObjectName(QStringLiteral("sep1"));
    sep1->setGeometry(8, 20, 76, 21);
    auto* valueLabel = new QLabel(QStringLiteral("Надпись"), this);
    valueLabel->setAlignment(Qt::AlignCenter);
    Place(valueLabel, QRect(294, 318, 62, 16));
    QGroupBox* separator2 = textGroup(QStringLiteral("Разделитель"), 360, 92);
    sep2 = new QLineEdit(separator2);
    sep2->setObjectName(QStringLiteral("sep2"));
    sep2->setGeometry(8, 20, 76, 21);
    QGroupBox* end = textGroup(QStringLiteral("Текст в конце"), 458, 174);
    EndText = new QLineEdit(end);
    EndText->setObjectName(QStringLiteral("EndText"));
    EndText->setGeometry(8, 20, 158, 21);

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("спец.функции"));
    Place(SpeedButton1, QRect(8, 352, 110, 22));
    PopupMenu1 = new QMenu(this);
    miLineSize = PopupMenu1->addAction(QStringLiteral("Линейный размер"));
    miDirAngle = PopupMenu1->addAction(QStringLiteral("Дирекционный угол и проложение"));
    connect(SpeedButton1, &QToolButton::clicked, this, [this] {
        const QAction* chosen = ExecMenu(*PopupMenu1, QCursor::pos());
        if (chosen == miLineSize)
            BeginText->setText(QStringLiteral("^LINESIZE"));
        else if (chosen == miDirAngle)
            BeginText->setText(QStringLiteral("^LINESIZE&DIRANGLE"));
    });

    // ---- Placement ----
    auto* position = new QGroupBox(QStringLiteral("Положение"), this);
    Place(position, QRect(8, 380, 530, 82));
    ModeGroup = new QButtonGroup(this);
    const auto modeButton = [&](const QString& caption, int mode, int left, int top) {
        auto* b = new QRadioButton(caption, position);
        b->setGeometry(left, top, 200, 18);
        ModeGroup->addButton(b, mode);
        return b;
    };
    rbStep = modeButton(QStringLiteral("Использовать шаг"), 0, 8, 18);
    rbDist = modeButton(QStringLiteral("Использовать смещение"), 1, 8, 38);
    rbLine1 = modeButton(QStringLiteral("Вставлять в линию, автоповорот"), 2, 8, 58);
    rbLine2 = modeButton(QStringLiteral("Вставлять в линию, фиксировать"), 3, 212, 58);
    rbStep->setObjectName(QStringLiteral("rbStep"));
    rbDist->setObjectName(QStringLiteral("rbDist"));
    rbLine1->setObjectName(QStringLiteral("rbLine1"));
    rbLine2->setObjectName(QStringLiteral("rbLine2"));
    auto* stepLabel = new QLabel(QStringLiteral("Шаг"), position);
    stepLabel->setGeometry(212, 20, 30, 16);
    neV = OneDecimalEdit(position, "neV");
    neV->setGeometry(244, 17, 60, 21);
    auto* offset = new QGroupBox(QStringLiteral("Смещение относительно центра"), position);
    offset->setGeometry(316, 8, 206, 46);
    auto* dxLabel = new QLabel(QStringLiteral("Dx"), offset);
    dxLabel->setGeometry(8, 22, 20, 16);
    neDx = OneDecimalEdit(offset, "neDx");
    neDx->setGeometry(28, 19, 64, 21);
    auto* dyLabel = new QLabel(QStringLiteral("Dy"), offset);
    dyLabel->setGeometry(108, 22, 20, 16);
    neDy = OneDecimalEdit(offset, "neDy");
    neDy->setGeometry(128, 19, 64, 21);
    connect(neDx, &QLineEdit::textEdited, this, [this] { DxTyped = true; });
    connect(neDy, &QLineEdit::textEdited, this, [this] { DyTyped = true; });
    connect(neV, &QLineEdit::textEdited, this, [this] { StepTyped = true; });

    BitBtn1 = new QPushButton(QStringLiteral("Готово"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    Place(BitBtn1, QRect(548, 404, 84, 25));
    connect(BitBtn1, &QPushButton::clicked, this, &TFormTextFromSem::Confirm);
    BitBtn2 = AddButton(QStringLiteral("Отмена"), QRect(548, 437, 84, 25), mrCancel);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);

    // ---- Filling ----
    BeginText->setText(rule.TextStart);
    sep1->setText(rule.Separator1);
    const int kind = KindIndex(rule.PropKey);
    if (kind >= 0)
        KindButtons[kind]->setChecked(true);   // loads the kind's value list
    if (IsCodeKind(rule.PropKey)) {
        eFKN->setText(rule.PropCode);
    } else if (!rule.PropCode.isEmpty()) {
        // A value that is no whole number, or names no line, chooses nothing.
        int entry = -1;
        if (!TryStrToInt(rule.PropCode, entry) || entry < 0 || entry >= dop->count())
            entry = -1;
        dop->setCurrentIndex(entry);
    } else {
        dop->setCurrentIndex(dop->count() > 0 ? 0 : -1);
    }
    sep2->setText(rule.Separator2);
    EndText->setText(rule.TextEnd);
    ShowSample();
    neDx->SetFloatValue(rule.Dx);
    neDy->SetFloatValue(rule.Dy);
    neV->SetFloatValue(rule.Step);
    if (QAbstractButton* mode = ModeGroup->button(rule.Mode))
        mode->setChecked(true);
    PlaceScreenCentre();
}

QString TFormTextFromSem::ChosenKind() const
{
    const int i = KindGroup->checkedId();
    return i >= 0 ? QString::fromUtf16(CaptionKinds[i].Code) : QString();
}

void TFormTextFromSem::KindChosen(int index)
{
    dop->clear();
    if (CaptionKinds[index].HasList)
        LoadValueList(QString::fromUtf16(CaptionKinds[index].Code));
}

void TFormTextFromSem::LoadValueList(const QString& code)
{
    const QString path = ProgramFolderPath(QStringLiteral("Семантика/") + code + QStringLiteral(".wri"));
    // Without its list the rule can still be mended: the window opens with the list empty.
    if (!FileExistsIgnoringCase(path)) {
        ShowMsgDialog(QStringLiteral("Не найден файл!"),
                      QStringLiteral("Не найден файл списка значений:") + QChar(13) + path);
        return;
    }
    try {
        dop->addItems(ReadTextFileLines(path));
    } catch (const std::exception& e) {
        ShowMsgDialog(QStringLiteral("Не найден файл!"), ExceptionMessage(e));
    }
    dop->setCurrentIndex(-1);
}

void TFormTextFromSem::ShowSample()
{
    TUserStyle style;
    Symbols.SelectTextStyle(Rule, style);
    QFont f = LFont->font();
    if (!style.FontName.isEmpty())
        f.setFamilies({style.FontName});
    f.setPixelSize(16);
    f.setBold(style.FontStyle & fsBoldBit);
    f.setItalic(style.FontStyle & fsItalicBit);
    f.setUnderline(style.FontStyle & fsUnderlineBit);
    LFont->setFont(f);
    QPalette pal = LFont->palette();
    pal.setColor(QPalette::WindowText, TColorToQColor(style.Color));
    LFont->setPalette(pal);
}

void TFormTextFromSem::Confirm()
{
    const QString kind = ChosenKind();
    if (kind.isEmpty() || (IsCodeKind(kind) && eFKN->text().isEmpty())) {
        ShowMsgDialog(QStringLiteral("Свойство семантики не выбрано"),
                      QStringLiteral("нажмите \"отмена\" для закрытия либо выберете свойство и нажмите \"Готово\""));
        return;
    }
    SetModalResult(mrOk);
}

void TFormTextFromSem::WriteBack()
{
    const QString kind = ChosenKind();
    Rule.TextStart = BeginText->text();
    Rule.Separator1 = sep1->text();
    Rule.PropKey = kind;
    Rule.PropCode = IsCodeKind(kind) ? eFKN->text()
                                     : CaptionValueOfEntry(kind, dop->currentIndex(), dop->count(), StoredValue);
    Rule.Separator2 = sep2->text();
    Rule.TextEnd = EndText->text();
    if (DxTyped)
        Rule.Dx = neDx->FloatValue();
    if (DyTyped)
        Rule.Dy = neDy->FloatValue();
    if (StepTyped)
        Rule.Step = neV->FloatValue();
    if (ModeGroup->checkedId() >= 0)
        Rule.Mode = std::uint8_t(ModeGroup->checkedId());
}

void TFormTextFromSem::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        Confirm();
        return;
    }
    TDialogBase::keyPressEvent(e);
}
