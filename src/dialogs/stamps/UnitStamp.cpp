// The stamp window, the frame window and the stamp corners window.
#include "dialogs/stamps/UnitStamp.h"

#include "dialogs/general/InputDialogs.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/ui/NumEdit.h"
#include "platform/CodePage.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

bool ReadNamedTextLine(const QString& line, RNamedTextLine& read)
{
    if (line.size() <= 1)
        return false;
    const qsizetype percent = line.indexOf(QLatin1Char('%'));
    if (percent < 0)
        return false;
    read.Key = line.mid(1, percent - 1);
    read.HasValue = percent < line.size() - 1;
    read.Value = line.mid(percent + 1);
    return true;
}

namespace {

bool Refused(QChar c)
{
    return c == QLatin1Char('<') || c == QLatin1Char('>') || !IsEncodable(QString(c));
}

}  // namespace

QValidator::State TNamedTextValidator::validate(QString& input, int&) const
{
    for (const QChar c : input)
        if (Refused(c))
            return Invalid;
    return Acceptable;
}

QString TNamedTextValidator::Clean(const QString& text)
{
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text)
        if (!Refused(c))
            clean += c;
    return clean;
}

const std::vector<RNamedTextKey>& StampKeys()
{
    static const std::vector<RNamedTextKey> keys = {
        {"предприятие", "eOrg", "Название организации", ""},
        {"директор", "eDir", "Директор", ""},
        {"исполнитель1", "eIsp1", "Исполнитель1", ""},
        {"исполнитель2", "eIsp2", "Исполнитель2", ""},
        {"исполнитель3", "eIsp3", "Исполнитель3", ""},
        {"исполнитель4", "eIsp4", "Исполнитель4", ""},
        {"заказчик", "eZakazch", "Заказчик", ""},
        {"заказ", "eZak", "Заказ", ""},
        {"объект1", "eObj1", "Объект", ""},
        {"объект2", "eObj2", "", ""},
        {"планшеты1", "ePlans1", "Планшеты", ""},
        {"планшеты2", "ePlans2", "", ""},
        {"чертеж1", "ech1", "Чертеж", ""},
        {"чертеж2", "eCh2", "", ""},
        {"масштаб", "eScale", "Масштаб", ""},
        {"лист", "ePage", "Лист", ""},
        {"листов", "ePages", "Листов", ""},
        {"дата", "eDate", "Дата", ""}};
    return keys;
}

const std::vector<RNamedTextKey>& RamkaKeys()
{
    // The x and y of the corner keys are Latin letters, the rest Cyrillic.
    static const std::vector<RNamedTextKey> keys = {
        {"предприятие", "eOrg", "Название организации", ""},
        {"директор", "eDir", "Директор", ""},
        {"инженер", "eInj", "Инженер", ""},
        {"объект", "eObj", "Объект", ""},
        {"масштаб", "eScale", "Масштаб", "1:500"},
        {"год съемки", "eYear", "год съемки", "Съемка 2006г."},
        {"система высот", "eH", "система высот", "система высот Балтийская"},
        {"в сантиметре метров", "eSM", "В сантиметре метров", "в 1 сантиметре 5 метров"},
        {"система координат", "eCoord", "Система координат", "местная"},
        {"административный участок", "eAdm", "административный участок", "РОССИЯ, Ростовская область"},
        {"номенклатура", "eNom", "номенклатура", ""},
        {"гриф", "eGrif", "Гриф", ""},
        {"высота сечения", "eSech", "высота сечения", "сплошные горизонтали проведены через 0.5 метра"},
        {"xсев", "eXsev", "север", ""},
        {"xюг", "eXug", "юг", ""},
        {"yзап", "eYzap", "запад", ""},
        {"yвост", "eYvost", "восток", ""},
        {"номсев", "eNomSev", "верхний", ""},
        {"номюг", "eNomUg", "нижний", ""},
        {"номзап", "eNomZap", "левый", ""},
        {"номвост", "eNomVost", "правый", ""}};
    return keys;
}

// ---- The text windows ------------------------------------------------------------------

namespace {

constexpr int RowStep = 26;
constexpr int EditHeight = 21;

QPushButton* DoneButton(TDialogBase* window, const QRect& at)
{
    // Laid out from the top: the window takes its size from the rows above the button.
    QPushButton* button = window->AddButton(QStringLiteral("Готово"), at, mrOk, Qt::LeftEdge | Qt::TopEdge);
    button->setObjectName(QStringLiteral("Button1"));
    button->setDefault(true);
    return button;
}

}  // namespace

TNamedTextForm::TNamedTextForm(const std::vector<RNamedTextKey>& keys, QWidget* parent)
    : TDialogBase(parent), Keys(keys), Fields(keys.size(), nullptr)
{
}

QLineEdit* TNamedTextForm::Field(const QString& key) const
{
    for (std::size_t i = 0; i < Keys.size(); ++i)
        if (key == QString::fromUtf8(Keys[i].Key))
            return Fields[i];
    return nullptr;
}

QLineEdit* TNamedTextForm::AddField(QWidget* parent, int index, const QString& label, int top,
                                    int labelWidth, int editWidth)
{
    const RNamedTextKey& key = Keys[std::size_t(index)];
    if (!label.isEmpty()) {
        auto* caption = new QLabel(label, parent);
        caption->setGeometry(8, top, labelWidth, EditHeight);
        caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(key.Field));
    edit->setValidator(new TNamedTextValidator(edit));
    edit->setText(QString::fromUtf8(key.Start));
    edit->setEnabled(false);
    edit->setGeometry(12 + labelWidth, top, editWidth, EditHeight);
    Fields[std::size_t(index)] = edit;
    return edit;
}

TFormStamp::TFormStamp(QWidget* parent) : TNamedTextForm(StampKeys(), parent)
{
    setObjectName(QStringLiteral("TFormStamp"));
    setWindowTitle(QStringLiteral("Настройка штампа"));
    constexpr int width = 420;
    constexpr int labelWidth = 136;
    constexpr int editWidth = width - 16 - labelWidth - 24;
    const auto group = [&](const QString& title, int first, int last, int top) {
        auto* box = new QGroupBox(title, this);
        const int height = 22 + (last - first + 1) * RowStep + 4;
        Place(box, QRect(8, top, width - 16, height));
        for (int i = first; i <= last; ++i)
            AddField(box, i, QString::fromUtf8(Keys[std::size_t(i)].Label), 22 + (i - first) * RowStep,
                     labelWidth, editWidth);
        return top + height;
    };
    int bottom = group(QStringLiteral("Организация"), 0, 5, 8);
    bottom = group(QStringLiteral("Объект"), 6, 17, bottom + 8);
    Button1 = DoneButton(this, QRect((width - 90) / 2, bottom + 10, 90, 25));
    SetClientSize(width, bottom + 45);
}

void TFormStamp::Fill(const QStringList& list, const std::array<QString, 18>& lastStamp)
{
    for (const QString& line : list) {
        RNamedTextLine read;
        if (!ReadNamedTextLine(line, read))
            continue;
        for (std::size_t slot = 0; slot < Keys.size(); ++slot) {
            if (read.Key != QString::fromUtf8(Keys[slot].Key))
                continue;
            Fields[slot]->setEnabled(true);
            Fields[slot]->setText(TNamedTextValidator::Clean(read.HasValue ? read.Value : lastStamp[slot]));
        }
    }
}

void TFormStamp::Rebuild(QStringList& list, std::array<QString, 18>& lastStamp) const
{
    list.clear();
    for (std::size_t slot = 0; slot < Keys.size(); ++slot) {
        const QLineEdit* field = Fields[slot];
        if (!field->isEnabled())
            continue;
        const QString text = field->text();
        list << QLatin1Char('^') + QString::fromUtf8(Keys[slot].Key) + QLatin1Char('%') +
                    (text.isEmpty() ? QStringLiteral(" ") : text);
        // Only the stamp's own fields: a template with fewer keys keeps the other texts.
        lastStamp[slot] = text;
    }
}

TFormRamka::TFormRamka(QWidget* parent) : TNamedTextForm(RamkaKeys(), parent)
{
    setObjectName(QStringLiteral("TFormRamka"));
    setWindowTitle(QStringLiteral("Настройка рамки планшета"));
    constexpr int width = 540;
    constexpr int labelWidth = 170;
    for (int i = 0; i <= 12; ++i)
        AddField(this, i, QString::fromUtf8(Keys[std::size_t(i)].Label), 10 + i * RowStep, labelWidth,
                 width - 16 - labelWidth - 4);
    const int top = 10 + 13 * RowStep + 4;
    constexpr int groupHeight = 22 + 4 * RowStep - 2;

    auto* coords = new QGroupBox(QStringLiteral("координаты"), this);
    coords->setObjectName(QStringLiteral("gbCoords"));
    constexpr int coordsWidth = 262;
    Place(coords, QRect(8, top, coordsWidth, groupHeight));
    const auto axis = [&](const QString& title, int first, int left) {
        auto* box = new QGroupBox(title, coords);
        box->setGeometry(left, 18, 120, 22 + 2 * RowStep);
        for (int i = 0; i < 2; ++i)
            AddField(box, first + i, QString::fromUtf8(Keys[std::size_t(first + i)].Label),
                     20 + i * RowStep, 40, 64);
    };
    axis(QStringLiteral("X"), 13, 8);
    axis(QStringLiteral("Y"), 15, 134);

    auto* neighbours = new QGroupBox(QStringLiteral("соседние планшеты"), this);
    neighbours->setObjectName(QStringLiteral("gbNeighbours"));
    constexpr int neighboursWidth = width - 16 - coordsWidth - 8;
    Place(neighbours, QRect(8 + coordsWidth + 8, top, neighboursWidth, groupHeight));
    for (int i = 0; i < 4; ++i)
        AddField(neighbours, 17 + i, QString::fromUtf8(Keys[std::size_t(17 + i)].Label),
                 22 + i * RowStep, 64, neighboursWidth - 64 - 12 - 12);

    const int bottom = top + groupHeight;
    Button1 = DoneButton(this, QRect((width - 90) / 2, bottom + 10, 90, 25));
    SetClientSize(width, bottom + 45);
}

void TFormRamka::Fill(const QStringList& list)
{
    for (const QString& line : list) {
        RNamedTextLine read;
        if (!ReadNamedTextLine(line, read))
            continue;
        for (std::size_t i = 0; i < Keys.size(); ++i) {
            if (read.Key != QString::fromUtf8(Keys[i].Key))
                continue;
            Fields[i]->setEnabled(true);
            if (read.HasValue)
                Fields[i]->setText(TNamedTextValidator::Clean(read.Value));
        }
    }
}

void TFormRamka::Rebuild(QStringList& list)
{
    list.clear();
    for (QLineEdit* field : Fields)
        if (field->text().isEmpty())
            field->setText(QStringLiteral(" "));
    for (std::size_t i = 0; i < Keys.size(); ++i)
        if (Fields[i]->isEnabled())
            list << QLatin1Char('^') + QString::fromUtf8(Keys[i].Key) + QLatin1Char('%') + Fields[i]->text();
}

// ---- The stamp corners -----------------------------------------------------------------

TFormInpStampLink::TFormInpStampLink(Extended X1, Extended Y1, Extended X2, Extended Y2,
                                     QWidget* parent)
    : TDialogBase(parent)
{
    setObjectName(QStringLiteral("TFormInpStampLink"));
    setWindowTitle(QStringLiteral("Установка штампа"));
    const auto edit = [](QWidget* parent, const char* name, const char* axis, Extended value, int top) {
        auto* label = new QLabel(QString::fromLatin1(axis), parent);
        label->setGeometry(10, top, 16, EditHeight);
        auto* e = new TNumEdit(parent);
        e->setObjectName(QLatin1String(name));
        e->ClearTextIFValueNotFloat = true;
        e->UniversalDecimalSeparator = true;
        e->EnableFloatPrecision = true;
        e->SetNumberOfDecimalDigits(2);
        e->SetFloatValue(value);
        e->setGeometry(30, top, 140, EditHeight);
        return e;
    };
    auto* upper = new QGroupBox(QStringLiteral("Левый верхний угол"), this);
    Place(upper, QRect(8, 8, 184, 84));
    NumEdit1 = edit(upper, "NumEdit1", "X", X1, 24);
    NumEdit2 = edit(upper, "NumEdit2", "Y", Y1, 52);
    auto* lower = new QGroupBox(QStringLiteral("Правый нижний угол"), this);
    Place(lower, QRect(200, 8, 184, 84));
    NumEdit3 = edit(lower, "NumEdit3", "X", X2, 24);
    NumEdit4 = edit(lower, "NumEdit4", "Y", Y2, 52);
    Button1 = DoneButton(this, QRect(151, 102, 90, 25));
    SetClientSize(392, 136);
    PreviewKeys(this, mrOk, false);
    NumEdit1->setFocus();
}

// ---- Entry routines --------------------------------------------------------------------

TModalResult RunStampDlg(QStringList& list, std::array<QString, 18>& lastStamp)
{
    TFormStamp form(DialogOwner());
    form.Fill(list, lastStamp);
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    form.Rebuild(list, lastStamp);
    return result;
}

TModalResult RunRamkaDlg(QStringList& list)
{
    TFormRamka form(DialogOwner());
    form.Fill(list);
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    form.Rebuild(list);
    return result;
}

TModalResult RunInpStampLink(Extended& X1, Extended& Y1, Extended& X2, Extended& Y2)
{
    TFormInpStampLink form(X1, Y1, X2, Y2, DialogOwner());
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    X1 = form.NumEdit1->FloatValue();
    Y1 = form.NumEdit2->FloatValue();
    X2 = form.NumEdit3->FloatValue();
    Y2 = form.NumEdit4->FloatValue();
    return result;
}

void InstallStampDialogWindows()
{
    TProgramDialogHooks& h = ProgramDialogHooks();
    h.StampDlg = RunStampDlg;
    h.RamkaDlg = RunRamkaDlg;
    h.InpStampLink = RunInpStampLink;
}
