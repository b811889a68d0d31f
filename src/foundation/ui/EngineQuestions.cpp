// The delete question and the duplicate-name question.
#include "foundation/ui/EngineQuestions.h"

#include "controls/TextListBox.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
constexpr Qt::Edges AllEdges = Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge;
constexpr Qt::Edges BottomLeft = Qt::LeftEdge | Qt::BottomEdge;
}  // namespace

TFormQDelObjectsDialog::TFormQDelObjectsDialog(const QStringList& lines, QWidget* parent)
    : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Удалить найденные объекты?"));
    Sizeable = true;
    SetClientSize(392, 341);
    ListBox1 = new TTextListBox(this);
    ListBox1->addItems(lines);
    Place(ListBox1, QRect(2, 3, 387, 297), AllEdges);
    Button1 = AddButton(QStringLiteral("Готово"), QRect(312, 304, 75, 24), mrOk);
    Button1->setDefault(true);
    Button1->setFocus();
}

TFormDublicateItemDialog::TFormDublicateItemDialog(const QString& name, const QString& caption,
                                                   const QString& text, QWidget* parent)
    : TMessageWindow(413, 156, caption, parent)
{
    Rename = new QRadioButton(QStringLiteral("изменить название"), this);
    Place(Rename, QRect(3, 96, 125, 17), BottomLeft);
    AddTo = new QRadioButton(QStringLiteral("добавить в уже существующий"), this);
    Place(AddTo, QRect(132, 95, 190, 17), BottomLeft);
    NameEdit = new QLineEdit(name, this);
    Place(NameEdit, QRect(2, 115, 320, 21), BottomLeft);
    ForAll = new QCheckBox(QStringLiteral("применить ко всем остальным случаям"), this);
    Place(ForAll, QRect(3, 136, 260, 17), BottomLeft);
    Button1 = AddButton(QStringLiteral("Готово"), QRect(333, 122, 75, 24), mrNone, BottomLeft);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { Confirm(); });
    connect(Rename, &QRadioButton::toggled, this, [this] { ChoiceChanged(); });
    AddTo->setChecked(true);
    ChoiceChanged();
    AddTo->setFocus();

    ShowMessage(text, 100);
}

void TFormDublicateItemDialog::ChoiceChanged()
{
    NameEdit->setEnabled(Rename->isChecked());
    ForAll->setEnabled(AddTo->isChecked());
}

TModalResult TFormDublicateItemDialog::Choice() const
{
    if (Rename->isChecked())
        return mrYes;
    return ForAll->isChecked() ? mrNoToAll : mrNo;
}

QString TFormDublicateItemDialog::Name() const { return NameEdit->text(); }

void TFormDublicateItemDialog::Confirm()
{
    // An empty name can never be a new name of a sheet or layer.
    if (Choice() == mrYes && NameEdit->text().isEmpty()) {
        ShowMsgDialog(QStringLiteral("Пустое название"),
                      QStringLiteral("Введите новое название либо выберите \"добавить в уже существующий\""));
        NameEdit->setFocus();
        return;
    }
    SetModalResult(Choice());
}
