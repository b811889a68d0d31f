// The strip parameters window. Its three groups are each a set of radio buttons whose
// place in the group is the value handed back (positions count from 1, types from 0).
#include "survey/QStripDialog.h"

#include "foundation/ui/NumEdit.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

QGroupBox* Group(TDialogBase* dialog, const QString& caption, const QRect& rect)
{
    auto* g = new QGroupBox(caption, dialog);
    dialog->Place(g, rect);
    return g;
}

QRadioButton* Choice(QGroupBox* group, const char* text, const char* name, const QRect& rect)
{
    auto* b = new QRadioButton(QString::fromUtf8(text), group);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(rect);
    return b;
}

// The value of the selected button of group, or -1 when none is.
int Selected(const std::array<QRadioButton*, 3>& group)
{
    for (int i = 0; i < 3; ++i)
        if (group[i]->isChecked())
            return i;
    return -1;
}

void Select(const std::array<QRadioButton*, 3>& group, int index)
{
    if (index >= 0 && index < 3)
        group[index]->setChecked(true);
}

} // namespace

TFormQStripDialog::TFormQStripDialog(QWidget* parent) : TDialogBase(parent)
{
    setObjectName(QStringLiteral("FormQStripDialog"));
    setWindowTitle(QStringLiteral("Параметры построения"));
    SetClientSize(404, 238);

    (new QLabel(QStringLiteral("Ширина полосы,м"), this))->setGeometry(8, 12, 110, 16);
    NumEdit1 = new TNumEdit(this);
    NumEdit1->setObjectName(QStringLiteral("NumEdit1"));
    NumEdit1->ClearTextIFValueNotFloat = true;
    NumEdit1->UniversalDecimalSeparator = true;
    NumEdit1->setAlignment(Qt::AlignRight);
    Place(NumEdit1, QRect(122, 9, 90, 21));

    // The positions side by side, the edge types one under the other.
    QGroupBox* g = Group(this, QStringLiteral("Расположение объекта относительно линии"),
                         QRect(8, 40, 388, 48));
    RadioButton1 = Choice(g, "слева по ходу", "RadioButton1", QRect(12, 20, 120, 20));
    RadioButton2 = Choice(g, "симметрично", "RadioButton2", QRect(136, 20, 120, 20));
    RadioButton3 = Choice(g, "справа по ходу", "RadioButton3", QRect(260, 20, 120, 20));
    const auto types = [this](const QString& caption, const QRect& rect,
                              const std::array<const char*, 3>& names) {
        QGroupBox* group = Group(this, caption, rect);
        return std::array<QRadioButton*, 3>{
            Choice(group, "основной", names[0], QRect(12, 22, 170, 20)),
            Choice(group, "специальный тип 1", names[1], QRect(12, 46, 170, 20)),
            Choice(group, "специальный тип 2", names[2], QRect(12, 70, 170, 20))};
    };
    const auto left = types(QStringLiteral("Тип сегментов слева по ходу"), QRect(8, 96, 190, 98),
                            {"rlM", "rl1", "rl2"});
    rlM = left[0], rl1 = left[1], rl2 = left[2];
    const auto right = types(QStringLiteral("Тип сегментов справа по ходу"),
                             QRect(206, 96, 190, 98), {"rrm", "rr1", "rr2"});
    rrm = right[0], rr1 = right[1], rr2 = right[2];

    BitBtn1 = AddButton(QStringLiteral("Готово"), QRect(306, 202, 90, 28), mrOk);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    PreviewEnterEsc();
}

std::array<QRadioButton*, 3> TFormQStripDialog::Positions() const
{
    return {RadioButton1, RadioButton2, RadioButton3};
}

std::array<QRadioButton*, 3> TFormQStripDialog::LeftTypes() const { return {rlM, rl1, rl2}; }

std::array<QRadioButton*, 3> TFormQStripDialog::RightTypes() const { return {rrm, rr1, rr2}; }

TModalResult TFormQStripDialog::Execute(int& position, int& leftType, int& rightType,
                                        Extended& width)
{
    TFormQStripDialog form(DialogOwner());
    form.NumEdit1->SetFloatValue(width);
    Select(form.Positions(), position - 1);
    Select(form.LeftTypes(), leftType);
    Select(form.RightTypes(), rightType);
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    width = form.NumEdit1->FloatValue();
    if (const int i = Selected(form.Positions()); i >= 0)
        position = i + 1;
    if (const int i = Selected(form.LeftTypes()); i >= 0)
        leftType = i;
    if (const int i = Selected(form.RightTypes()); i >= 0)
        rightType = i;
    return result;
}
