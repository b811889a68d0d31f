// The traverse window over TTraverseTable: the grid edits the table cell by cell, and
// every button works on the table and shows it again.
#include "survey/UnitTheodolit.h"

#include "controls/ExSpeedButton.h"
#include "survey/TraverseReport.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Heading of each column: the group it opens (empty inside a group) and its own line.
struct RColumnHeading {
    const char* group;
    const char* own;
};
const RColumnHeading ColumnHeadings[TTraverseTable::ColCount] = {
    {"Название точки", ""},
    {"ГУ (+лев -прав)", "град."}, {"", "мин."}, {"", "сек."},
    {"ВУ", "град."}, {"", "мин."}, {"", "сек."},
    {"Расстояние", ""},
    {"Проложение", ""},
    {"Дир.угол", "град."}, {"", "мин."}, {"", "сек."},
    {"поправка", ""},
    {"Испр. дир.угол", "град."}, {"", "мин."}, {"", "сек."},
    {"Приращение", "DX"}, {"", "DY"},
    {"поправка", "dX"}, {"", "dY"},
    {"Испр.приращение", "DX"}, {"", "DY"},
    {"Координаты", "X"}, {"", "Y"},
};

// A printer drawn in the button's 16-pixel glyph; the bottom-left pixel is the
// transparent colour.
QImage PrinterGlyph()
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(qRgb(255, 0, 255));
    QPainter p(&img);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(1, 6, 13, 6);
    p.setBrush(Qt::white);
    p.drawRect(4, 10, 7, 4);
    p.end();
    img.setPixel(0, 15, qRgb(255, 0, 255));
    return img;
}

TExSpeedButton* ToolButton(QWidget* parent, const QString& hint, const QImage& glyph,
                           const QString& caption = QString())
{
    auto* b = new TExSpeedButton(parent);
    b->setToolTip(hint);
    if (!glyph.isNull())
        b->SetGlyph(glyph);
    b->SetCaption(caption);
    b->setFixedSize(caption.isEmpty() ? QSize(25, 25) : QSize(70, 25));
    return b;
}

QImage StandardGlyph(QWidget* w, QStyle::StandardPixmap which)
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(qRgb(255, 0, 255));
    QPainter p(&img);
    p.drawPixmap(0, 0, w->style()->standardIcon(which).pixmap(16, 16));
    p.end();
    img.setPixel(0, 15, qRgb(255, 0, 255));
    return img;
}

// The grid's headings in two tiers: the caption of a group of columns (an angle's
// degrees, minutes and seconds, the two increments) spans all its columns on the top
// line, where a single narrow column cut it; each column's own line and its number lie
// below, as the model gives them.
class TGroupedHeader : public QHeaderView {
public:
    explicit TGroupedHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

    // The caption each column opens, empty inside a group; a column alone opens a group
    // of its own.
    QStringList Groups;

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QHeaderView::paintEvent(e);
        QPainter p(viewport());
        const int line = fontMetrics().height();
        const int top = std::max((height() - 3 * line) / 2, 1);
        for (int c = 0; c < Groups.size(); ++c) {
            if (Groups.at(c).isEmpty())
                continue;
            int last = c;
            while (last + 1 < Groups.size() && Groups.at(last + 1).isEmpty())
                ++last;
            const int left = sectionViewportPosition(c);
            const int right = sectionViewportPosition(last) + sectionSize(last);
            const QRect tier(left + 1, top, right - left - 2, line);
            if (last > c) {
                // Covers the section borders inside the group, then closes the tier.
                p.fillRect(QRect(tier.left(), 0, tier.width(), tier.bottom() + 1), palette().button());
                p.setPen(palette().color(QPalette::Mid));
                p.drawLine(tier.left(), tier.bottom() + 1, tier.right(), tier.bottom() + 1);
            }
            p.setPen(palette().color(QPalette::ButtonText));
            p.drawText(tier.adjusted(3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, Groups.at(c));
        }
    }
};

} // namespace

QString TFormTheodolit::ClosureNote(int type)
{
    const QString common = QStringLiteral(
        "названия исходных пунктов и точек хода, координаты исходных пунктов, измеренные "
        "горизонтальные углы вводятся в нечетные строки (1,3,...);  измеренные расстояния и "
        "вертикальные углы (или проложения) вводятся в четные строки;  ");
    switch (type) {
    case 2:
        return QStringLiteral("Прим.: последняя строка таблицы- для оценки точности; ") + common
               + QStringLiteral("в начале табл. должны стоять 2 исх пункта; в конце табл. должен "
                                "стоять один исх.пункт (4-я строка снизу)");
    case 3:
        return QStringLiteral("Прим.: висячий ход безконтрольный, оценки точности нет; 4 последних "
                              "строки таблицы незаполняются; ")
               + common + QStringLiteral("в начале табл. должны стоять 2 исх пункта; ");
    default:
        return QStringLiteral("Прим.: последняя строка таблицы- для оценки точности; ") + common
               + QStringLiteral("в начале и конце табл. должны стоять  по 2 исх пункта (последний "
                                "исх.пункт должен строять на предпоследней строке)");
    }
}

TFormTheodolit::TFormTheodolit(QWidget* parent) : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Вычисление теодолитного хода"));
    Sizeable = true;
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    auto* top = new QHBoxLayout;
    btOpenPlan = ToolButton(this, QStringLiteral("Открыть файл хода"),
                            StandardGlyph(this, QStyle::SP_DialogOpenButton));
    btSavePlan = ToolButton(this, QStringLiteral("Сохранить файл хода"),
                            StandardGlyph(this, QStyle::SP_DialogSaveButton));
    ExSpeedButton1 = ToolButton(this, QStringLiteral("построить ход из файла Sokkia SDR"), QImage(),
                                QStringLiteral("Sokkia +"));
    btPrint = ToolButton(this, QStringLiteral("Печать"), PrinterGlyph());
    for (QWidget* w : {static_cast<QWidget*>(btOpenPlan), static_cast<QWidget*>(btSavePlan),
                       static_cast<QWidget*>(ExSpeedButton1), static_cast<QWidget*>(btPrint)})
        top->addWidget(w);
    top->addSpacing(12);

    auto* countBox = new QVBoxLayout;
    countBox->addWidget(new QLabel(QStringLiteral("Число точек хода"), this));
    PointsCount = new QSpinBox(this);
    PointsCount->setRange(TTraverseTable::MinPoints, TTraverseTable::MaxPoints);
    PointsCount->setValue(Table.PointsCount());
    countBox->addWidget(PointsCount);
    top->addLayout(countBox);

    auto* closure = new QGroupBox(QStringLiteral("Тип замыкания хода"), this);
    auto* radios = new QHBoxLayout(closure);
    RadioButton1 = new QRadioButton(QStringLiteral("Координаты и азимут"), closure);
    RadioButton2 = new QRadioButton(QStringLiteral("Координаты"), closure);
    RadioButton3 = new QRadioButton(QStringLiteral("Висячий ход"), closure);
    RadioButton1->setChecked(true);
    for (QRadioButton* r : {RadioButton1, RadioButton2, RadioButton3}) {
        radios->addWidget(r);
        connect(r, &QRadioButton::clicked, this, [this] { RadioButton1Click(); });
    }
    top->addWidget(closure);

    btDecision = new QPushButton(QStringLiteral("Расчет"), this);
    BitBtn3 = new QPushButton(QStringLiteral("очистить"), this);
    BitBtn2 = new QPushButton(QStringLiteral("Добавить в план  точки хода"), this);
    BitBtn1 = new QPushButton(QStringLiteral("Добавить в план  исходные пункты"), this);
    // The four buttons in two rows, so that the top row leaves the window narrow enough
    // for a 1366-pixel screen.
    auto* actions = new QGridLayout;
    int place = 0;
    for (QPushButton* b : {btDecision, BitBtn3, BitBtn2, BitBtn1}) {
        b->setAutoDefault(false);
        actions->addWidget(b, place % 2, place / 2);
        ++place;
    }
    top->addLayout(actions);
    top->addStretch(1);

    Label2 = new QLabel(ClosureNote(1), this);
    Label2->setWordWrap(true);

    Grid = new QTableWidget(this);
    auto* header = new TGroupedHeader(Grid);
    Grid->setHorizontalHeader(header);
    header->setSectionsClickable(true);
    header->setHighlightSections(true);
    Grid->setColumnCount(TTraverseTable::ColCount);
    // The group's caption is painted by the header across the group; the model keeps an
    // empty top line for it, so that the header keeps its three lines.
    QStringList headings;
    for (int c = 0; c < TTraverseTable::ColCount; ++c) {
        header->Groups << QString::fromUtf8(ColumnHeadings[c].group);
        headings << QStringLiteral(" \n") + QString::fromUtf8(ColumnHeadings[c].own) + "\n"
                        + Table.Cell(0, c);
    }
    Grid->setHorizontalHeaderLabels(headings);
    Grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Grid->verticalHeader()->setDefaultSectionSize(20);
    const int widths[TTraverseTable::ColCount] = {100, 40, 32, 36, 32, 32, 32, 80, 90, 40, 32, 36,
                                                  62, 40, 32, 36, 80, 80, 62, 62, 80, 80, 95, 95};
    for (int c = 0; c < TTraverseTable::ColCount; ++c)
        Grid->setColumnWidth(c, widths[c]);

    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addWidget(Label2);
    all->addWidget(Grid, 1);

    connect(Grid, &QTableWidget::cellChanged, this, &TFormTheodolit::GridCellChanged);
    connect(PointsCount, &QSpinBox::valueChanged, this, [this] { PointsCountChange(); });
    connect(btDecision, &QPushButton::clicked, this, [this] { btDecisionClick(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    btOpenPlan->OnClick = [this] { btOpenPlanClick(); };
    btSavePlan->OnClick = [this] { btSavePlanClick(); };
    ExSpeedButton1->OnClick = [this] { ExSpeedButton1Click(); };
    btPrint->OnClick = [this] { btPrintClick(); };

    resize(1100, 600);
    TableToGrid();
}

void TFormTheodolit::TableToGrid()
{
    Filling = true;
    Grid->setRowCount(Table.RowCount() - 1);
    QStringList rowNames;
    for (int r = 1; r < Table.RowCount(); ++r) {
        rowNames << QString::number(r);
        for (int c = 0; c < TTraverseTable::ColCount; ++c) {
            QTableWidgetItem* item = Grid->item(r - 1, c);
            if (!item) {
                item = new QTableWidgetItem;
                Grid->setItem(r - 1, c, item);
            }
            item->setText(Table.Cell(r, c));
        }
    }
    Grid->setVerticalHeaderLabels(rowNames);
    Filling = false;
}

void TFormTheodolit::GridCellChanged(int gridRow, int col)
{
    if (Filling)
        return;
    const QTableWidgetItem* item = Grid->item(gridRow, col);
    Table.SetCell(gridRow + 1, col, item ? item->text() : QString());
}

void TFormTheodolit::showEvent(QShowEvent* e)
{
    TDialogBase::showEvent(e);
    setWindowState(windowState() | Qt::WindowMaximized);
}

void TFormTheodolit::btDecisionClick()
{
    Table.ComputeTraverse();   // a refusal leaves what it wrote, shown as it stands
    TableToGrid();
}

void TFormTheodolit::BitBtn3Click()
{
    Table.ClearComputedCells();
    TableToGrid();
}

void TFormTheodolit::RadioButton1Click()
{
    const int type = RadioButton3->isChecked() ? 3 : RadioButton2->isChecked() ? 2 : 1;
    Label2->setText(ClosureNote(type));
    Table.SetClosureType(type);
    Table.ClearComputedCells();
    TableToGrid();
}

void TFormTheodolit::PointsCountChange()
{
    Table.SetPointsCount(PointsCount->value());
    TableToGrid();
}

void TFormTheodolit::btPrintClick()
{
    PrintTraverseReport(Table, this);
}

TModalResult TFormTheodolit::Execute()
{
    TFormTheodolit form(QApplication::activeWindow());
    return form.ShowModal();
}
