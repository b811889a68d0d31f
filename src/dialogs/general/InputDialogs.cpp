// The small input windows and the two-way question. Those with a message show it in a
// memo that fills the window, their height following its lines; their controls lie on
// the lower edge.
#include "dialogs/general/InputDialogs.h"

#include "foundation/GeoServ.h"
#include "foundation/ui/NumEdit.h"

#include <QAbstractButton>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <cmath>

namespace {

constexpr Qt::Edges BottomLeft = Qt::LeftEdge | Qt::BottomEdge;
constexpr Qt::Edges BottomStretch = Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge;

class TKeyPreview : public QObject {
public:
    TKeyPreview(TDialogBase* window, TModalResult enterResult, bool buttonsTakeEnter)
        : QObject(window), Window(window), EnterResult(enterResult),
          ButtonsTakeEnter(buttonsTakeEnter)
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress && e->type() != QEvent::ShortcutOverride)
            return false;
        const auto* key = static_cast<const QKeyEvent*>(e);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool esc = key->key() == Qt::Key_Escape;
        if (!enter && !esc)
            return false;
        if (e->type() == QEvent::ShortcutOverride) {
            e->accept();   // the key comes to us as a key press, not as a shortcut
            return true;
        }
        if (esc) {
            Window->SetModalResult(Window->EscResult);
            return true;
        }
        auto* button = qobject_cast<QAbstractButton*>(Window->focusWidget());
        if (ButtonsTakeEnter && button) {
            button->click();
            return true;
        }
        Window->SetModalResult(EnterResult);
        return true;
    }

private:
    TDialogBase* Window;   // link, not owned
    TModalResult EnterResult;
    bool ButtonsTakeEnter;
};

TNumEdit* NewNumEdit(QWidget* parent, const char* name)
{
    auto* edit = new TNumEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

void RealOptions(TNumEdit* edit, bool threeDecimals, bool thousands, bool restore)
{
    edit->ClearTextIFValueNotFloat = true;
    edit->UniversalDecimalSeparator = true;
    edit->UniversalThousandSeparator = thousands;
    edit->ClearAndChangeToOldValue = restore;
    if (threeDecimals) {
        edit->EnableFloatPrecision = true;
        edit->SetNumberOfDecimalDigits(3);
    }
}

void IntegerOptions(TNumEdit* edit)
{
    edit->ClearTextIFValueNotInteger = true;
    edit->ClearAndChangeToOldValue = true;
}

QPushButton* OkButton(TDialogBase* window, const QRect& rect, Qt::Edges anchors)
{
    QPushButton* button = window->AddButton(QStringLiteral("Готово"), rect, mrOk, anchors);
    button->setObjectName(QStringLiteral("Button1"));
    button->setDefault(true);
    return button;
}

// An arrow pointing along (dx east, dy north) for the step buttons.
QIcon ArrowIcon(int dx, int dy)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(8, 8);
    p.rotate(std::atan2(-dy, dx) * 180 / 3.14159265358979);
    QPainterPath arrow;
    arrow.moveTo(6, 0);
    arrow.lineTo(0, -5);
    arrow.lineTo(0, -2);
    arrow.lineTo(-6, -2);
    arrow.lineTo(-6, 2);
    arrow.lineTo(0, 2);
    arrow.lineTo(0, 5);
    arrow.closeSubpath();
    p.fillPath(arrow, QColor(0x00, 0x00, 0x80));
    return QIcon(pixmap);
}

}  // namespace

void PreviewKeys(TDialogBase* window, TModalResult enterResult, bool buttonsTakeEnter)
{
    auto* preview = new TKeyPreview(window, enterResult, buttonsTakeEnter);
    window->installEventFilter(preview);
    for (QWidget* child : window->findChildren<QWidget*>())
        child->installEventFilter(preview);
}

TFormInpIntDialog::TFormInpIntDialog(int value, const QString& caption, const QString& message,
                                     QWidget* parent)
    : TMessageWindow(300, 80, caption, parent)
{
    NumEdit1 = NewNumEdit(this, "NumEdit1");
    IntegerOptions(NumEdit1);
    NumEdit1->SetIntegerValue(value);
    Place(NumEdit1, QRect(4, 54, 200, 21), BottomStretch);
    Button1 = OkButton(this, QRect(218, 52, 75, 24), Qt::RightEdge | Qt::BottomEdge);
    setTabOrder(Button1, Memo1);
    setTabOrder(Memo1, NumEdit1);
    ShowMessage(message, 50);
    PreviewKeys(this, mrOk);
    Button1->setFocus();
}

TFormInpFltDialog::TFormInpFltDialog(Extended value, const QString& caption,
                                     const QString& message, QWidget* parent)
    : TMessageWindow(300, 80, caption, parent)
{
    NumEdit1 = NewNumEdit(this, "NumEdit1");
    RealOptions(NumEdit1, false, false, true);
    NumEdit1->SetFloatValue(value);
    Place(NumEdit1, QRect(4, 54, 200, 21), BottomStretch);
    Button1 = OkButton(this, QRect(218, 52, 75, 24), Qt::RightEdge | Qt::BottomEdge);
    setTabOrder(NumEdit1, Button1);
    setTabOrder(Button1, Memo1);
    ShowMessage(message, 50);
    PreviewKeys(this, mrOk);
    NumEdit1->setFocus();
}

TFormInpCoordDialog::TFormInpCoordDialog(const QString& caption, Extended X, Extended Y,
                                         QWidget* parent)
    : TDialogBase(parent)
{
    setWindowTitle(caption);
    SetClientSize(330, 126);
    auto* labelX = new QLabel(QStringLiteral("X="), this);
    labelX->setGeometry(8, 14, 20, 16);
    NumEdit1 = NewNumEdit(this, "NumEdit1");
    Place(NumEdit1, QRect(30, 12, 130, 21));
    auto* labelY = new QLabel(QStringLiteral("Y="), this);
    labelY->setGeometry(8, 44, 20, 16);
    NumEdit2 = NewNumEdit(this, "NumEdit2");
    Place(NumEdit2, QRect(30, 42, 130, 21));
    for (TNumEdit* edit : {NumEdit1, NumEdit2})
        RealOptions(edit, true, false, true);
    NumEdit1->SetFloatValue(X);
    NumEdit2->SetFloatValue(Y);

    auto* group = new QGroupBox(QStringLiteral("Сдвиг"), this);
    Place(group, QRect(172, 4, 150, 116));
    NumEdit3 = NewNumEdit(group, "NumEdit3");
    RealOptions(NumEdit3, true, false, false);
    NumEdit3->setGeometry(40, 52, 70, 21);
    NumEdit3->SetFloatValue(50);
    struct TStep { const char* Name; int Dx, Dy, Column, Row; };
    static const TStep steps[8] = {
        {"up", 1, 0, 1, 0},      {"down", -1, 0, 1, 2},    {"left", 0, -1, 0, 1},
        {"right", 0, 1, 2, 1},   {"upleft", 1, -1, 0, 0},  {"upright", 1, 1, 2, 0},
        {"downleft", -1, -1, 0, 2}, {"downright", -1, 1, 2, 2}};
    for (int i = 0; i < 8; ++i) {
        const TStep& s = steps[i];
        auto* button = new QPushButton(group);
        button->setObjectName(QLatin1String(s.Name));
        button->setIcon(ArrowIcon(s.Dy, s.Dx));
        button->setFocusPolicy(Qt::NoFocus);
        button->setGeometry(12 + s.Column * 51, 20 + s.Row * 31, 24, 24);
        connect(button, &QPushButton::clicked, this, [this, s] { Step(s.Dx, s.Dy); });
        StepButtons[i] = button;
    }
    Button1 = OkButton(this, QRect(30, 96, 75, 24), Qt::LeftEdge | Qt::TopEdge);
    setTabOrder(Button1, NumEdit1);
    setTabOrder(NumEdit1, NumEdit2);
    setTabOrder(NumEdit2, NumEdit3);
    PreviewKeys(this, mrOk);
    Button1->setFocus();
}

void TFormInpCoordDialog::Step(int dx, int dy)
{
    const Extended s = NumEdit3->FloatValue();
    const Extended x = NumEdit1->FloatValue();
    const Extended y = NumEdit2->FloatValue();
    NumEdit1->SetFloatValue(x + dx * s);
    NumEdit2->SetFloatValue(y + dy * s);
}

TFormInpOtm::TFormInpOtm(Extended height, QWidget* parent) : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Отметка"));
    setWindowFlag(Qt::FramelessWindowHint, true);
    SetClientSize(115, 23);
    NumEdit1 = NewNumEdit(this, "NumEdit1");
    NumEdit1->ClearTextIFValueNotFloat = true;
    NumEdit1->UniversalDecimalSeparator = true;
    NumEdit1->SetFloatValue(height);
    Place(NumEdit1, QRect(0, 0, 115, 23));
    PreviewKeys(this, mrOk);
    NumEdit1->setFocus();
}

void TFormInpOtm::showEvent(QShowEvent* e)
{
    TDialogBase::showEvent(e);
    NumEdit1->selectAll();
}

TForm2WayDialog::TForm2WayDialog(const QString& caption, const QString& message,
                                 const QString& first, const QString& second, QWidget* parent)
    : TMessageWindow(330, 80, caption, parent)
{
    QPalette window = palette();
    window.setColor(QPalette::Window, ActiveCaptionColor());
    setPalette(window);
    QPalette memo = Memo1->palette();
    memo.setColor(QPalette::Base, ActiveCaptionColor());
    memo.setColor(QPalette::Text, Qt::white);
    Memo1->setPalette(memo);
    BitBtn1 = AddButton(first, QRect(40, 52, 120, 24), 100, Qt::BottomEdge | Qt::LeftEdge);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = AddButton(second, QRect(170, 52, 120, 24), 101, Qt::BottomEdge | Qt::LeftEdge);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    setTabOrder(BitBtn1, Memo1);
    setTabOrder(Memo1, BitBtn2);
    ShowMessage(message, 50);
    PreviewKeys(this, 100);
    BitBtn1->setFocus();
}

TFormInp3IntDialog::TFormInp3IntDialog(int n, Extended a, Extended b, const QString& caption,
                                       const QString& label1, const QString& label2,
                                       const QString& label3, QWidget* parent)
    : TDialogBase(parent)
{
    setWindowTitle(caption);
    SetClientSize(280, 132);
    const QString* texts[3] = {&label1, &label2, &label3};
    QLabel** labels[3] = {&Label1, &Label2, &Label3};
    TNumEdit** edits[3] = {&NumEdit1, &NumEdit2, &NumEdit3};
    const char* names[3] = {"NumEdit1", "NumEdit2", "NumEdit3"};
    for (int i = 0; i < 3; ++i) {
        *labels[i] = new QLabel(*texts[i], this);
        (*labels[i])->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        Place(*labels[i], QRect(8, 12 + i * 30, 140, 16));
        *edits[i] = NewNumEdit(this, names[i]);
        Place(*edits[i], QRect(152, 10 + i * 30, 120, 21));
    }
    IntegerOptions(NumEdit1);
    RealOptions(NumEdit2, true, true, true);
    RealOptions(NumEdit3, true, true, true);
    NumEdit1->SetIntegerValue(n);
    NumEdit2->SetFloatValue(a);
    NumEdit3->SetFloatValue(b);
    Button1 = OkButton(this, QRect(197, 102, 75, 24), Qt::RightEdge | Qt::BottomEdge);
    setTabOrder(Button1, NumEdit1);
    setTabOrder(NumEdit1, NumEdit2);
    setTabOrder(NumEdit2, NumEdit3);
    PreviewKeys(this, mrOk);
    Button1->setFocus();
}

TFormInp2IntDialog::TFormInp2IntDialog(int a, int b, const QString& caption,
                                       const QString& label1, const QString& label2,
                                       QWidget* parent)
    : TDialogBase(parent)
{
    setWindowTitle(caption);
    SetClientSize(280, 102);
    Label1 = new QLabel(label1, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Place(Label1, QRect(8, 12, 140, 16));
    NumEdit1 = NewNumEdit(this, "NumEdit1");
    Place(NumEdit1, QRect(152, 10, 120, 21));
    Label2 = new QLabel(label2, this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Place(Label2, QRect(8, 42, 140, 16));
    NumEdit2 = NewNumEdit(this, "NumEdit2");
    Place(NumEdit2, QRect(152, 40, 120, 21));
    IntegerOptions(NumEdit1);
    RealOptions(NumEdit2, true, true, true);
    NumEdit1->SetIntegerValue(a);
    NumEdit2->SetIntegerValue(b);
    Button1 = OkButton(this, QRect(197, 72, 75, 24), Qt::RightEdge | Qt::BottomEdge);
    setTabOrder(Button1, NumEdit1);
    setTabOrder(NumEdit1, NumEdit2);
    PreviewKeys(this, mrOk);
    Button1->setFocus();
}

int TFormInp2IntDialog::SecondValue() { return NumEdit2->IntegerValue(); }

TFormInpAngleDialog::TFormInpAngleDialog(Extended angle, const QString& caption, QWidget* parent)
    : TDialogBase(parent)
{
    setWindowTitle(caption.isEmpty() ? QStringLiteral("Ввод угла") : caption);
    SetClientSize(250, 84);
    struct TField { TNumEdit** Edit; const char* Name; const char* Label; int Left, Width; };
    const TField fields[3] = {{&A1G, "A1G", "Градусы", 8, 60},
                              {&A1m, "A1m", "мин", 76, 50},
                              {&A1s, "A1s", "сек", 134, 108}};
    for (const TField& f : fields) {
        auto* label = new QLabel(QString::fromUtf8(f.Label), this);
        Place(label, QRect(f.Left, 6, f.Width, 16));
        *f.Edit = NewNumEdit(this, f.Name);
        Place(*f.Edit, QRect(f.Left, 24, f.Width, 21));
    }
    IntegerOptions(A1G);
    IntegerOptions(A1m);
    RealOptions(A1s, false, false, true);
    int g = 0;
    int m = 0;
    Extended s = 0;
    pGG_GMS(g, m, s, angle);
    A1G->SetIntegerValue(g);
    A1m->SetIntegerValue(m);
    A1s->SetFloatValue(s);
    Button1 = OkButton(this, QRect(167, 54, 75, 24), Qt::RightEdge | Qt::BottomEdge);
    setTabOrder(Button1, A1G);
    setTabOrder(A1G, A1m);
    setTabOrder(A1m, A1s);
    PreviewKeys(this, mrOk);
    Button1->setFocus();
}

Extended TFormInpAngleDialog::Angle()
{
    return fGMS_GG(A1G->IntegerValue(), A1m->IntegerValue(), A1s->FloatValue());
}
