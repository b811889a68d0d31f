#include "survey/traverse/TheoDialogs.h"

#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "foundation/StringNum.h"
#include "survey/TraverseTable.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

QPushButton* Button(QWidget* parent, const QString& caption, const char* name)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QWidget* Owner() { return QApplication::activeWindow(); }

// A number as the fields show it, in the program's decimal separator.
QString FieldText(Extended v, int decimals)
{
    return QString::number(double(v), 'f', decimals).replace(QLatin1Char('.'), DecimalSeparator);
}

Extended Radians(Extended degrees) { return degrees * Extended(M_PI) / 180; }

} // namespace

// ---- closure type ----

TFormSelectTheoTypeDialog::TFormSelectTheoTypeDialog(QWidget* parent) : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Определите тип замыкания теодолитного хода "));
    auto* all = new QVBoxLayout(this);
    RadioButton1 = new QRadioButton(QStringLiteral("Координаты и азимут"), this);
    RadioButton2 = new QRadioButton(QStringLiteral("Координаты"), this);
    RadioButton3 = new QRadioButton(QStringLiteral("Висячий ход"), this);
    RadioButton1->setChecked(true);
    for (QRadioButton* r : {RadioButton1, RadioButton2, RadioButton3})
        all->addWidget(r);
    auto* done = Button(this, QStringLiteral("Готово"), "BitBtn1");
    connect(done, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(done);
    all->addLayout(row);
    PreviewEnterEsc();
    setMinimumWidth(330);
}

int TFormSelectTheoTypeDialog::ClosureType() const
{
    return RadioButton3->isChecked() ? 3 : RadioButton2->isChecked() ? 2 : 1;
}

TModalResult SelectTheoTypeDlg(int& type)
{
    TFormSelectTheoTypeDialog form(Owner());
    const TModalResult result = form.ShowModal();
    type = form.ClosureType();
    return result;
}

// ---- ordered pick ----

TFormCollectSLFromSLDialog::TFormCollectSLFromSLDialog(QWidget* parent) : TDialogBase(parent)
{
    Memo1 = new TMessageMemo(this);
    Memo1->SetTextColor(QColor(0, 128, 0));
    Memo1->setFixedHeight(6 * TextHeight() + 8);
    ListBox1 = new QListWidget(this);
    ListBox2 = new QListWidget(this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    BitBtn2 = Button(this, QStringLiteral("Добавить -->"), "BitBtn2");
    BitBtn3 = Button(this, QStringLiteral("Добавить -->"), "BitBtn3");
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("X"));
    auto* done = Button(this, QStringLiteral("Готово"), "BitBtn1");

    auto* grid = new QGridLayout;
    grid->addWidget(ListBox1, 0, 0);
    auto* mid = new QVBoxLayout;
    mid->addStretch(1);
    mid->addWidget(BitBtn2);
    mid->addStretch(1);
    grid->addLayout(mid, 0, 1);
    grid->addWidget(ListBox2, 0, 2);
    grid->addWidget(Edit1, 1, 0);
    grid->addWidget(BitBtn3, 1, 1);
    auto* right = new QHBoxLayout;
    right->addWidget(SpeedButton1);
    right->addStretch(1);
    right->addWidget(done);
    grid->addLayout(right, 1, 2);
    auto* all = new QVBoxLayout(this);
    all->addWidget(Memo1);
    all->addLayout(grid, 1);

    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { BitBtn2Click(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(done, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
    PreviewEnterEsc();
    resize(520, 420);
}

void TFormCollectSLFromSLDialog::BitBtn2Click()
{
    const QList<QListWidgetItem*> picked = ListBox1->selectedItems();
    if (ListBox1->currentItem() && ListBox1->currentItem()->isSelected())
        ListBox2->addItem(ListBox1->currentItem()->text());
    else if (!picked.isEmpty())
        ListBox2->addItem(picked.first()->text());
}

void TFormCollectSLFromSLDialog::BitBtn3Click() { ListBox2->addItem(Edit1->text()); }

void TFormCollectSLFromSLDialog::SpeedButton1Click() { ListBox2->clear(); }

TModalResult CollectSLFromSLDlg(const QStringList& source, QStringList& result,
                                const QString& caption, const QString& hint)
{
    TFormCollectSLFromSLDialog form(Owner());
    form.setWindowTitle(caption);
    form.Memo1->SetLines(hint.split(QLatin1Char('\r')));
    form.ListBox1->addItems(source);
    const TModalResult answer = form.ShowModal();
    result.clear();
    for (int i = 0; i < form.ListBox2->count(); ++i)
        result << form.ListBox2->item(i)->text();
    return answer;
}

// ---- station ----

QString TFormTheoStantionDialog::ObservationLine(const RObservation& o)
{
    const QStringList angle = TTraverseTable::AngleTexts(o.Circle);
    const Extended slope = QString::number(double(o.Slope), 'g', 8).toDouble();
    return o.Target + QStringLiteral("    (ГК=") + angle.value(0) + QStringLiteral("°") + angle.value(1)
           + "'" + angle.value(2) + "\"" + QStringLiteral("  S=") + TTraverseTable::LengthText(slope)
           + ")";
}

TFormTheoStantionDialog::TFormTheoStantionDialog(const TTotalStationFile& file, const QString& prev,
                                                 const QString& cur, const QString& next,
                                                 bool single, QWidget* parent)
    : TDialogBase(parent), File(file), Single(single)
{
    setWindowTitle(QStringLiteral("выбор измерений для точки хода"));
    Memo1 = new TMessageMemo(this);
    if (single)
        Memo1->SetLines({QStringLiteral("1.Выберете текущую точку из раздела \"Станции\","),
                         QStringLiteral("2.Из раздела \"Измерения\"  выберете точку и нажмите \"Добавить\""),
                         QStringLiteral("4.Нажмите \"Готово\"")});
    else
        Memo1->SetLines(
            {QStringLiteral("1.Выберете текущую точку из раздела \"Станции\","),
             QStringLiteral("2.Из раздела \"Измерения\"  выберете предыдущую точку и нажмите "
                            "\"Добавить предыдущую\""),
             QStringLiteral("3.Из раздела \"Измерения\" выберете следующую точку и нажмите "
                            "\"Добавить следующую\""),
             QStringLiteral("4.Нажмите \"Готово\"")});
    Memo1->setFixedHeight(5 * TextHeight() + 8);

    auto* names = new QGridLayout;
    const QString labels[3] = {QStringLiteral("предыдущая точка"), QStringLiteral("текущая точка"),
                               QStringLiteral("следующая точка")};
    const QString values[3] = {prev, cur, next};
    for (int i = 0; i < 3; ++i) {
        auto* caption = new QLabel(labels[i], this);
        auto* value = new QLabel(values[i], this);
        QFont bold = value->font();
        bold.setBold(true);
        value->setFont(bold);
        names->addWidget(caption, 0, 2 * i);
        names->addWidget(value, 0, 2 * i + 1);
        if (i == 2 && single) {
            caption->hide();
            value->hide();
        }
    }
    names->setColumnStretch(5, 1);

    TextListBox1 = new QListWidget(this);
    TextListBox1->setObjectName(QStringLiteral("TextListBox1"));
    TextListBox1->addItems(file.StationNames);
    TextListBox2 = new QListWidget(this);
    TextListBox2->setObjectName(QStringLiteral("TextListBox2"));
    BitBtn2 = Button(this, single ? QStringLiteral("Добавить") : QStringLiteral("Добавить предыдущую"),
                     "BitBtn2");
    BitBtn3 = Button(this, QStringLiteral("Добавить следующую"), "BitBtn3");
    BitBtn3->setVisible(!single);
    BitBtn1 = Button(this, QStringLiteral("Готово"), "BitBtn1");

    auto* lists = new QGridLayout;
    lists->addWidget(new QLabel(QStringLiteral("Станции"), this), 0, 0);
    lists->addWidget(new QLabel(QStringLiteral("Измерения"), this), 0, 1);
    lists->addWidget(TextListBox1, 1, 0);
    lists->addWidget(TextListBox2, 1, 1);
    auto* adds = new QHBoxLayout;
    adds->addWidget(BitBtn2);
    adds->addWidget(BitBtn3);
    adds->addStretch(1);
    lists->addLayout(adds, 2, 1);
    lists->setColumnStretch(0, 1);
    lists->setColumnStretch(1, 2);

    auto* chosen = new QGroupBox(QStringLiteral("Выбранные данные"), this);
    auto* panel = new QGridLayout(chosen);
    const QString heads[4] = {QStringLiteral("горизонтальный круг"), QStringLiteral("вертикальный круг"),
                              QStringLiteral("наклонное расстояние"),
                              QStringLiteral("горизонтальное проложение")};
    const char* fieldNames[2][4] = {{"nePrevHz", "nePrevV", "nePrevS", "nePrevD"},
                                    {"neNextHz", "neNextV", "neNextS", "neNextD"}};
    auto field = [this](const char* name) {
        auto* e = new QLineEdit(FieldText(0, 0), this);
        e->setObjectName(QLatin1String(name));
        e->setReadOnly(true);
        e->setAlignment(Qt::AlignRight);
        return e;
    };
    for (int side = 0; side < 2; ++side) {
        const int row = side == 0 ? 0 : 4;
        panel->addWidget(new QLabel(side == 0 ? prev : next, chosen), row, 0);
        for (int f = 0; f < 4; ++f) {
            auto* head = new QLabel(heads[f], chosen);
            Fields[side][f] = field(fieldNames[side][f]);
            Fields[side][f]->setText(FieldText(0, f < 2 ? 5 : 3));
            panel->addWidget(head, row, f + 1);
            panel->addWidget(Fields[side][f], row + 1, f + 1);
            if (side == 1 && single) {
                head->hide();
                Fields[side][f]->hide();
            }
        }
    }
    if (single)
        panel->itemAtPosition(4, 0)->widget()->hide();
    panel->addWidget(new QLabel(cur, chosen), 2, 0);
    auto* angleHead = new QLabel(QStringLiteral("ГУ"), chosen);
    neAngle = field("neAngle");
    neAngle->setText(FieldText(0, 5));
    panel->addWidget(angleHead, 2, 1);
    panel->addWidget(neAngle, 3, 1);
    angleHead->setVisible(!single);
    neAngle->setVisible(!single);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(BitBtn1);

    auto* all = new QVBoxLayout(this);
    all->addWidget(Memo1);
    all->addLayout(names);
    all->addLayout(lists, 1);
    all->addWidget(chosen);
    all->addLayout(bottom);

    connect(TextListBox1, &QListWidget::itemClicked, this, [this] { TextListBox1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter)})
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this,
                [this] { BitBtn1Click(); });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            [this] { SetModalResult(mrCancel); });
    resize(720, 560);
}

void TFormTheoStantionDialog::TextListBox1Click()
{
    Observations.clear();
    TextListBox2->clear();
    const int station = TextListBox1->currentRow();
    if (station < 0 || station >= File.StationPositions.size())
        return;
    const int first = File.StationPositions[station] + 1;
    const qsizetype trail = ErrorInfo ? ErrorInfo->size() : 0;
    QStringList unread;
    for (int i = first; i < File.Lines.size(); ++i) {
        const QString& line = File.Lines[i];
        const QString code = SdrRecordCode(line);
        if (code == u"02TP")
            break;
        if (code != u"09F1")
            continue;
        RObservation o;
        o.Target = SdrToPoint(line);
        try {
            o.Slope = StrToFlt(SdrSlopeDistance(line));
            o.Elevation = 90 - StrToFlt(SdrVerticalAngle(line));
            o.Circle = StrToFlt(SdrHorizontalAngle(line));
        } catch (const Exception&) {
            unread << QString::number(i + 1);
            continue;
        }
        Observations.push_back(o);
        TextListBox2->addItem(ObservationLine(o));
    }
    if (ErrorInfo && ErrorInfo->size() > trail)
        ErrorInfo->resize(trail);
    if (!unread.isEmpty())
        MessageDlg(QStringLiteral("Измерения не прочитаны (поле не является числом), строки файла: ")
                       + unread.join(QStringLiteral(", ")),
                   mtWarning);
}

Extended TFormTheoStantionDialog::FieldValue(const QLineEdit* e) const
{
    try {
        return StrToFlt(e->text());
    } catch (const Exception&) {
        return 0;
    }
}

void TFormTheoStantionDialog::TakeObservation(int side)
{
    const int index = TextListBox2->currentRow();
    if (index < 0 || index >= int(Observations.size()) || !TextListBox2->currentItem()->isSelected())
        return;
    const RObservation& o = Observations[size_t(index)];
    QLineEdit* const* f = Fields[side];
    f[0]->setText(FieldText(o.Circle, 5));
    f[1]->setText(FieldText(o.Elevation, 5));
    f[2]->setText(FieldText(o.Slope, 3));
    f[3]->setText(FieldText(FieldValue(f[2]) * std::cos(Radians(FieldValue(f[1]))), 3));
    Taken[side] = true;
    Extended angle = FieldValue(Fields[1][0]) - FieldValue(Fields[0][0]);
    if (angle < 0)
        angle += 360;
    neAngle->setText(FieldText(angle, 5));
}

void TFormTheoStantionDialog::BitBtn2Click() { TakeObservation(0); }

void TFormTheoStantionDialog::BitBtn3Click() { TakeObservation(1); }

void TFormTheoStantionDialog::BitBtn1Click()
{
    if (!Taken[0] || (!Single && !Taken[1])) {
        MessageDlg(QStringLiteral("Не выбраны измерения!"), mtWarning);
        return;
    }
    SetModalResult(mrOk);
}

RTheoStationAnswer TFormTheoStantionDialog::Answer() const
{
    RTheoStationAnswer a;
    a.PrevSlope = FieldValue(Fields[0][2]);
    a.PrevElevation = FieldValue(Fields[0][1]);
    a.Angle = FieldValue(neAngle);
    a.NextSlope = FieldValue(Fields[1][2]);
    a.NextElevation = FieldValue(Fields[1][1]);
    return a;
}

TModalResult TheoStantionDlg(const TTotalStationFile& file, const QString& prev,
                             const QString& cur, const QString& next, bool single,
                             RTheoStationAnswer& answer)
{
    TFormTheoStantionDialog form(file, prev, cur, next, single, Owner());
    const TModalResult result = form.ShowModal();
    answer = form.Answer();
    return result;
}
