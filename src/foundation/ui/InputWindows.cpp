// The input and selection windows: text, masked text, selection from a list, scale
// and sheet nomenclature. Their message is drawn in the inactive-caption colour.
#include "foundation/ui/ServDialogsWindows.h"

#include "foundation/StringNum.h"
#include "foundation/ui/MaskEdit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr Qt::Edges BottomStretch = Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge;
constexpr Qt::Edges BottomLeft = Qt::LeftEdge | Qt::BottomEdge;

QComboBox* NewListCombo(QWidget* parent, const QStringList& list, int index)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);   // the list rule is applied after the window
    combo->addItems(list);
    combo->setCurrentIndex(index >= 0 && index < list.size() ? index : -1);
    if (combo->currentIndex() < 0)
        combo->setEditText(QString());
    return combo;
}

// The keys of a selection window's combo box as the window sees them first: Enter
// confirms and Esc cancels also while the list is open or a completion is pending, and
// what is typed while the list is open goes into the edit (replacing the preselected
// line), where the open list alone would only search its lines.
class TComboKeys : public QObject {
public:
    TComboKeys(QComboBox* combo, QPushButton* confirm, QDialog* window)
        : QObject(combo), Combo(combo), Confirm(confirm), Window(window)
    {
        combo->view()->installEventFilter(this);
        combo->lineEdit()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<const QKeyEvent*>(e);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (watched == Combo->lineEdit()) {
            if (!enter)
                return false;
            Confirm->click();
            return true;
        }
        if (watched != Combo->view())
            return false;
        if (enter) {
            const QModelIndex highlighted = Combo->view()->currentIndex();
            Combo->hidePopup();
            if (highlighted.isValid())
                Combo->setCurrentIndex(highlighted.row());
            Confirm->click();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            Combo->hidePopup();
            Window->reject();
            return true;
        }
        const bool printable = !key->text().isEmpty() && key->text().at(0).isPrint();
        const bool editing = key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete;
        const bool command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
        if (!(printable || editing) || command)
            return false;
        // The first key replaces the line the list showed; keys still on their way to
        // the list once it has closed add to what is typed.
        const bool open = Combo->view()->isVisible();
        Combo->hidePopup();
        QLineEdit* edit = Combo->lineEdit();
        edit->setFocus();
        if (open)
            edit->selectAll();
        QKeyEvent typed(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
        QApplication::sendEvent(edit, &typed);
        return true;
    }

private:
    QComboBox* Combo;       // link, not owned
    QPushButton* Confirm;   // link, not owned
    QDialog* Window;        // link, not owned
};

TSelection ComboSelection(const QComboBox* combo)
{
    TSelection selection;
    selection.Typed = combo->currentText();
    const int index = combo->currentIndex();
    // Text typed over a chosen line no longer chooses it.
    if (index >= 0 && combo->itemText(index) == selection.Typed)
        selection.Index = index;
    return selection;
}

}  // namespace

TFormInpStrDialog::TFormInpStrDialog(const QString& value, const QString& caption,
                                     const QString& text, QWidget* parent)
    : TMessageWindow(358, 87, caption, parent)
{
    Edit1 = new QLineEdit(value, this);
    Place(Edit1, QRect(3, 62, 265, 21), BottomStretch);
    Button1 = AddButton(QStringLiteral("Готово"), QRect(278, 61, 75, 24), mrOk);
    Button1->setDefault(true);
    Edit1->setFocus();
    ShowMessage(text, 50);
}

TFormInpStr2Dialog::TFormInpStr2Dialog(const QString& masked, const QString& free,
                                       const QString& caption, const QString& text,
                                       const QString& mask, QWidget* parent)
    : TMessageWindow(358, 85, caption, parent)
{
    MaskEdit1 = new TMaskEdit(this);
    MaskEdit1->SetEditMask(QStringLiteral(">lll;0;*"));
    Place(MaskEdit1, QRect(3, 60, 29, 21), BottomLeft);
    Edit1 = new QLineEdit(free, this);
    Place(Edit1, QRect(39, 60, 245, 21), BottomStretch);
    Button1 = AddButton(QStringLiteral("Готово"), QRect(286, 60, 69, 24), mrOk);
    Button1->setDefault(true);
    // The caller's mask replaces the layout's; without one the layout's limit of three
    // characters holds.
    MaskEdit1->SetEditMask(mask);
    if (mask.isEmpty())
        MaskEdit1->setMaxLength(3);
    MaskEdit1->SetText(masked);
    MaskEdit1->setFocus();
    ShowMessage(text, 50);
}

TFormSelStrDialog::TFormSelStrDialog(const QStringList& list, int index, const QString& caption,
                                     const QString& text, QWidget* parent)
    : TMessageWindow(352, 79, caption, parent)
{
    ComboBox1 = NewListCombo(this, list, index);
    Place(ComboBox1, QRect(3, 53, 267, 21), BottomStretch);
    Button1 = AddButton(QStringLiteral("Готово"), QRect(274, 51, 75, 24), mrOk);
    Button1->setDefault(true);
    ComboBox1->setFocus();
    new TComboKeys(ComboBox1, Button1, this);
    ShowMessage(text, 50);
}

TSelection TFormSelStrDialog::Selection() const { return ComboSelection(ComboBox1); }

bool TFormSelStrDialog::event(QEvent* e)
{
    // The list drops open as soon as the window is active, once.
    if (e->type() == QEvent::WindowActivate && !Dropped) {
        Dropped = true;
        QTimer::singleShot(0, ComboBox1, [combo = ComboBox1] {
            if (combo->isVisible() && combo->count() > 0)
                combo->showPopup();
        });
    }
    return TMessageWindow::event(e);
}

TFormSelStr2Dialog::TFormSelStr2Dialog(const QStringList& list, int index, const QString& caption,
                                       const QString& text, const QString& free, QWidget* parent)
    : TMessageWindow(358, 111, caption, parent)
{
    Edit1 = new QLineEdit(free, this);
    Place(Edit1, QRect(3, 60, 274, 21), BottomStretch);
    ComboBox1 = NewListCombo(this, list, index);
    Place(ComboBox1, QRect(2, 85, 353, 21), BottomStretch);
    Button1 = AddButton(QStringLiteral("Готово"), QRect(281, 59, 75, 24), mrOk);
    Button1->setDefault(true);
    new TComboKeys(ComboBox1, Button1, this);
    Edit1->setFocus();
    ShowMessage(text, 50 + 75);
}

TSelection TFormSelStr2Dialog::Selection() const { return ComboSelection(ComboBox1); }

bool ScaleFromText(const QString& text, int& denominator)
{
    if (!text.startsWith(QLatin1String("1:")))
        return false;
    QString digits = text.mid(2, 7);
    const qsizetype blank = digits.indexOf(QLatin1Char(' '));
    if (blank >= 0)
        digits.truncate(blank);
    if (digits.isEmpty() || !ValidNumSymbols(digits))
        return false;
    int value = 0;
    for (const QChar c : digits)
        value = value * 10 + (c.unicode() - u'0');   // at most seven digits: no overflow
    if (value < 1)
        return false;
    denominator = value;
    return true;
}

TFormInpScaleDialog::TFormInpScaleDialog(int denominator, const QString& caption,
                                         const QString& text, QWidget* parent)
    : TMessageWindow(380, 96, caption, parent)
{
    MaskEdit1 = new TMaskEdit(this);
    MaskEdit1->SetEditMask(QStringLiteral("\\1\\:9999999;1; "));
    Place(MaskEdit1, QRect(6, 67, 67, 24), BottomLeft);
    MaskEdit1->SetText(QStringLiteral("1:") + QString::number(denominator));
    static const int scales[] = {100, 200, 500, 1000, 2000, 5000, 10000};
    static const int widths[] = {25, 25, 25, 32, 32, 32, 42};
    int left = 83;
    for (int i = 0; i < 7; ++i) {
        const QString number = QString::number(scales[i]);
        QPushButton* button = AddButton(number, QRect(left, 67, widths[i], 24), mrNone, BottomLeft);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, number] {
            MaskEdit1->SetText(QStringLiteral("1:") + number);
            MaskEdit1->setFocus();
        });
        ScaleButtons.append(button);
        left += widths[i];
    }
    Button1 = AddButton(QStringLiteral("Готово"), QRect(301, 67, 75, 24), mrNone);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { Confirm(); });
    MaskEdit1->setFocus();
    ShowMessage(text, 50);
}

void TFormInpScaleDialog::Confirm()
{
    int denominator = 0;
    if (ScaleFromText(MaskEdit1->Text(), denominator)) {
        SetModalResult(mrOk);
        return;
    }
    ShowMsgDialog(QStringLiteral("Неверный масштаб"),
                  QStringLiteral("Знаменатель масштаба - целое число от 1 до 9999999"));
    MaskEdit1->setFocus();
}

TFormInpNomStr2000Dialog::TFormInpNomStr2000Dialog(const QString& value, const QString& caption,
                                                   const QString& text, QWidget* parent)
    : TMessageWindow(358, 85, caption, parent)
{
    MaskEdit1 = new TMaskEdit(this);
    MaskEdit1->SetEditMask(QStringLiteral("000->L;1;_"));
    Place(MaskEdit1, QRect(3, 60, 76, 21), BottomLeft);
    MaskEdit1->SetText(value);
    Button1 = AddButton(QStringLiteral("Готово"), QRect(286, 60, 69, 24), mrNone);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { Confirm(); });
    MaskEdit1->setFocus();
    ShowMessage(text, 50);
}

void TFormInpNomStr2000Dialog::Confirm()
{
    // Every place of the mask is required: a short code would name no sheet.
    if (MaskEdit1->hasAcceptableInput()) {
        SetModalResult(mrOk);
        return;
    }
    ShowMsgDialog(QStringLiteral("Неполная номенклатура"),
                  QStringLiteral("Номенклатура листа - три цифры, дефис и буква, например 012-А"));
    MaskEdit1->setFocus();
}
