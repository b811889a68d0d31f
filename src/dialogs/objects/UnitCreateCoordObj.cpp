// The coordinate-table window: its controls, the grids' growth as the user types, the
// Word-table and DAT readers, and the creators that turn the checked rows into plan
// commands over the main window's destination rule.
#include "dialogs/objects/UnitCreateCoordObj.h"

#include "controls/ExSpeedButton.h"
#include "dialogs/objects/ObjectFields.h"
#include "engine/GeoMap.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/StringNum.h"
#include "mainwindow/UnitMap.h"
#include "mainwindow/file/FileDialogs.h"
#include "mainwindow/modes/Creators.h"
#include "platform/TextFiles.h"
#include "semantics/codec/SemDialogs.h"
#include "semantics/codec/SemServices.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>

namespace {

constexpr int kindPiket = 0, kindPoint = 1, kindLine = 2, kindPolygon = 3;

QTableWidget* Grid(QWidget* parent, int columns)
{
    auto* g = new QTableWidget(1, columns, parent);
    g->setGeometry(4, 4, 392, 250);
    g->verticalHeader()->hide();
    g->verticalHeader()->setDefaultSectionSize(20);
    g->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    const int widths[4] = {90, 110, 110, 70};
    for (int c = 0; c < columns; ++c)
        g->setColumnWidth(c, widths[c]);
    g->setEditTriggers(QAbstractItemView::AllEditTriggers);
    return g;
}

TExSpeedButton* KindButton(QWidget* parent, const QString& caption, bool down, const QRect& rect)
{
    auto* b = new TExSpeedButton(parent);
    b->SetCaption(caption);
    b->SetGroupIndex(1);
    b->SetDown(down);
    b->setGeometry(rect);
    return b;
}

// The lines of a file the user opens under filter; false when none is chosen or the file
// cannot be read, which is told.
bool ChooseAndReadLines(const QString& filter, QStringList& lines)
{
    QString fileName;
    if (!OpenFileNameDialog(QStringLiteral("Открыть"), filter, fileName))
        return false;
    try {
        lines = ReadTextFileLines(fileName);
    } catch (const Exception& e) {
        MessageDlg(e.Message, mtError);
        return false;
    }
    return true;
}

// A coordinate text as a number: "," and "." both count as the decimal separator.
bool ReadNumber(const QString& text, Extended& value)
{
    return TryStrToFloat(ConvertDecimalSeparator(text), value);
}

// sem with its height item set to height through the codec: the first "ИВ" item takes
// the value, or one is added.
QString WithHeight(const QString& sem, const QString& height)
{
    TSemServices* services = SemServices();
    if (services) {
        TSemCodec& codec = services->Codec;
        codec.Split(sem);
        bool set = false;
        if (codec.EList.GoFirstItem()) {
            do {
                if (codec.EList.Item->Kind == seIV) {
                    codec.EList.Item->Value = height;
                    set = true;
                    break;
                }
            } while (codec.EList.GoNextItem());
        }
        if (!set)
            codec.AddProp(QStringLiteral("ИВ") + height);
        QString result;
        codec.Code(result, true);
        if (!result.isEmpty())
            return result;
    }
    // No object code to build on: the item joins the text as it stands.
    QString joined = sem;
    if (!joined.isEmpty() && !joined.endsWith(u';'))
        joined += u';';
    return joined + QStringLiteral("ИВ") + height + u';';
}

void DrawScreen()
{
    if (!FormMap || !MainMap)
        return;
    const QSize size = FormMap->SurfaceSize();
    MainMap->Draw(size.width(), size.height(), 3, ddScreen);
}

} // namespace

void SplitDatLine(const QString& line, QString& N, QString& X, QString& Y, QString& H)
{
    QString* fields[4] = {&N, &X, &Y, &H};
    for (QString* f : fields)
        f->clear();
    qsizetype i = 0;
    while (i < line.size() && line[i] == u' ')
        ++i;
    int field = 0;
    for (; i < line.size(); ++i) {
        if (line[i] == u' ') {
            if (++field == 4)
                break;
        } else {
            *fields[field] += line[i];
        }
    }
}

QString NextTableNumber(const QString& N)
{
    if (N.isEmpty())
        return QStringLiteral("1");
    for (const QChar c : N)
        if (c < u'0' || c > u'9')
            return QStringLiteral("1");
    // A number too long for a counter starts anew, as any other name.
    bool ok = false;
    const qulonglong n = N.toULongLong(&ok);
    return ok && n < 999999999999999999ULL ? QString::number(n + 1) : QStringLiteral("1");
}

TFormCreateCoordObj::TFormCreateCoordObj(QWidget* parent) : TDialogBase(parent)
{
    setObjectName(QStringLiteral("FormCreateCoordObj"));
    setWindowTitle(QStringLiteral("Создание объектов по координатам"));
    SetClientSize(420, 430);

    auto* kinds = new QGroupBox(QStringLiteral("Создавать объекты"), this);
    Place(kinds, QRect(8, 4, 404, 52));
    sbPiket = KindButton(kinds, QStringLiteral("Пикеты"), false, QRect(8, 20, 94, 24));
    sbPoint = KindButton(kinds, QStringLiteral("Точечные"), true, QRect(104, 20, 94, 24));
    sbLine = KindButton(kinds, QStringLiteral("Линейный"), false, QRect(200, 20, 94, 24));
    sbPolygon = KindButton(kinds, QStringLiteral("Площадной"), false, QRect(296, 20, 100, 24));
    sbPiket->setObjectName(QStringLiteral("sbPiket"));
    sbPoint->setObjectName(QStringLiteral("sbPoint"));
    sbLine->setObjectName(QStringLiteral("sbLine"));
    sbPolygon->setObjectName(QStringLiteral("sbPolygon"));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    Place(PageControl1, QRect(8, 62, 404, 322));
    TabSheet1 = new QWidget;
    TabSheet2 = new QWidget;
    PageControl1->addTab(TabSheet1, QStringLiteral("N-X-Y"));
    PageControl1->addTab(TabSheet2, QStringLiteral("N-X-Y-H"));

    StringGrid1 = Grid(TabSheet1, 3);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setHorizontalHeaderLabels({QStringLiteral("N"), QStringLiteral("X"), QStringLiteral("Y")});
    SpeedButton1 = new QPushButton(QStringLiteral("открыть таблицу Word в текстовом виде (3 колонки)"), TabSheet1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(4, 262, 356, 25);
    SpeedButton2 = new QPushButton(QStringLiteral("?"), TabSheet1);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setGeometry(366, 262, 30, 25);

    StringGrid2 = Grid(TabSheet2, 4);
    StringGrid2->setObjectName(QStringLiteral("StringGrid2"));
    StringGrid2->setHorizontalHeaderLabels(
        {QStringLiteral("N"), QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("H")});
    Button1 = new QPushButton(QStringLiteral("Открыть DAT файл (NXYH)  - 4 колонки, пробел-разделитель"), TabSheet2);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(4, 262, 392, 25);

    auto* rowsLabel = new QLabel(QStringLiteral("Строк"), this);
    Place(rowsLabel, QRect(8, 396, 40, 16), Qt::LeftEdge | Qt::BottomEdge);
    NR = new QSpinBox(this);
    NR->setObjectName(QStringLiteral("NR"));
    NR->setRange(-1, 1000000);
    Place(NR, QRect(50, 393, 70, 22), Qt::LeftEdge | Qt::BottomEdge);
    ClearTable2 = new QPushButton(QStringLiteral("Очистить таблицу"), this);
    ClearTable2->setObjectName(QStringLiteral("ClearTable2"));
    Place(ClearTable2, QRect(130, 392, 130, 25), Qt::LeftEdge | Qt::BottomEdge);
    ButtonOk = AddButton(QStringLiteral("Готово"), QRect(322, 392, 90, 25), TModalResult(0));
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    for (QPushButton* b : {SpeedButton1, SpeedButton2, Button1, ClearTable2})
        b->setAutoDefault(false);

    for (QTableWidget* g : {StringGrid1, StringGrid2})
        connect(g, &QTableWidget::cellChanged, this, [this, g](int r, int c) {
            if (!Filling)
                StringGrid1SetEditText(g, r, c);
        });
    connect(NR, &QSpinBox::valueChanged, this, [this] { NRChange(); });
    connect(ClearTable2, &QPushButton::clicked, this, [this] { ClearTable2Click(); });
    connect(SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton2, &QPushButton::clicked, this, [this] { SpeedButton2Click(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(ButtonOk, &QPushButton::clicked, this, [this] { ButtonOkClick(); });
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] { PageChange(); });
    FormCreate();
}

TModalResult TFormCreateCoordObj::Execute()
{
    TFormCreateCoordObj form(FormMap ? static_cast<QWidget*>(FormMap) : DialogOwner());
    form.PlaceScreenCentre();
    return form.ShowModal();
}

int CreateCoordObjDlg() { return TFormCreateCoordObj::Execute(); }

void TFormCreateCoordObj::FormCreate()
{
    for (QTableWidget* g : {StringGrid1, StringGrid2}) {
        SetCell(g, 0, 0, QStringLiteral("1"));
        for (int c = 1; c < g->columnCount(); ++c)
            SetCell(g, 0, c, QStringLiteral("0"));
    }
    PageChange();
}

QString TFormCreateCoordObj::Cell(const QTableWidget* grid, int row, int col)
{
    const QTableWidgetItem* item = grid->item(row, col);
    return item ? item->text() : QString();
}

void TFormCreateCoordObj::SetCell(QTableWidget* grid, int row, int col, const QString& text)
{
    const bool filling = std::exchange(Filling, true);
    if (QTableWidgetItem* item = grid->item(row, col))
        item->setText(text);
    else
        grid->setItem(row, col, new QTableWidgetItem(text));
    Filling = filling;
}

void TFormCreateCoordObj::SetRowCount(QTableWidget* grid, int count)
{
    const bool filling = std::exchange(Filling, true);
    grid->setRowCount(std::max(count, 1));
    if (grid == ActiveGrid())
        NR->setValue(grid->rowCount());
    Filling = filling;
}

QTableWidget* TFormCreateCoordObj::ActiveGrid() const { return HeightPage() ? StringGrid2 : StringGrid1; }

bool TFormCreateCoordObj::HeightPage() const { return PageControl1->currentWidget() == TabSheet2; }

void TFormCreateCoordObj::PageChange()
{
    const bool filling = std::exchange(Filling, true);
    NR->setValue(ActiveGrid()->rowCount());
    Filling = filling;
}

void TFormCreateCoordObj::StringGrid1SetEditText(QTableWidget* grid, int row, int col)
{
    if (row == grid->rowCount() - 1)
        SetRowCount(grid, grid->rowCount() + 1);
    if (col == grid->columnCount() - 1 && row == grid->rowCount() - 2) {
        SetCell(grid, row + 1, 0, NextTableNumber(Cell(grid, row, 0)));
        for (int c = 1; c < grid->columnCount(); ++c)
            SetCell(grid, row + 1, c, QStringLiteral("0"));
    }
}

void TFormCreateCoordObj::SetDefLine1(int row)
{
    QTableWidget* grid = ActiveGrid();
    for (int c = 1; c < grid->columnCount(); ++c)
        SetCell(grid, row, c, QStringLiteral("0"));
}

void TFormCreateCoordObj::ClearTable2Click()
{
    QTableWidget* grid = ActiveGrid();
    SetRowCount(grid, 1);
    SetCell(grid, 0, 0, QStringLiteral("1"));
    SetDefLine1(0);
}

void TFormCreateCoordObj::NRChange()
{
    if (Filling)
        return;
    SetRowCount(ActiveGrid(), std::max(NR->value(), 1));
}

void TFormCreateCoordObj::SpeedButton1Click()
{
    QStringList lines;
    if (!ChooseAndReadLines(QStringLiteral("Таблица Word в текст.виде (3кол) (*.txt)"), lines))
        return;
    SetRowCount(StringGrid1, 1);
    for (qsizetype i = 0; i + 2 < lines.size(); i += 3) {
        const int row = StringGrid1->rowCount() - 1;
        for (int c = 0; c < 3; ++c)
            SetCell(StringGrid1, row, c, lines[i + c]);
        SetRowCount(StringGrid1, row + 2);
    }
    SetRowCount(StringGrid1, StringGrid1->rowCount());
}

void TFormCreateCoordObj::SpeedButton2Click()
{
    ShowMsgDialog(QStringLiteral("Информация:"),
                  QStringLiteral("Созданная в Microsoft Word таблица должна состоять из 3-х столбцов, "
                                 "сохранена с применением опции 'текстовый файл,только текст' "));
}

void TFormCreateCoordObj::Button1Click()
{
    QStringList lines;
    if (!ChooseAndReadLines(QStringLiteral("DAT файл (4кол) (*.DAT *.dat)"), lines))
        return;
    SetRowCount(StringGrid2, 1);
    for (const QString& line : lines) {
        QString N, X, Y, H;
        SplitDatLine(line, N, X, Y, H);
        const int row = StringGrid2->rowCount() - 1;
        SetCell(StringGrid2, row, 0, N);
        SetCell(StringGrid2, row, 1, X);
        SetCell(StringGrid2, row, 2, Y);
        SetCell(StringGrid2, row, 3, H);
        SetRowCount(StringGrid2, row + 2);
    }
    SetRowCount(StringGrid2, StringGrid2->rowCount());
}

bool TFormCreateCoordObj::ReadTable(const QTableWidget* grid, std::vector<RCoordRow>& rows,
                                    QString& error) const
{
    rows.clear();
    const bool piket = sbPiket->Down();
    const bool heights = grid == StringGrid2 && (piket || sbPoint->Down());
    for (int r = 0; r + 1 < grid->rowCount(); ++r) {
        RCoordRow row;
        row.N = Cell(grid, r, 0).trimmed();
        row.X = Cell(grid, r, 1);
        row.Y = Cell(grid, r, 2);
        row.H = grid == StringGrid2 ? Cell(grid, r, 3).trimmed() : QString();
        const QString at = QStringLiteral("Строка ") + QString::number(r + 1) + QStringLiteral(": ");
        auto number = [&](const char* name, const QString& text, Extended& value) {
            if (ReadNumber(text, value))
                return true;
            error = at + QString::fromUtf8(name) + QStringLiteral(" не число: \"") + text + u'"';
            return false;
        };
        if (!number("X", row.X, row.XValue) || !number("Y", row.Y, row.YValue))
            return false;
        if (heights && !number("H", row.H, row.HValue))
            return false;
        if (piket) {
            // The number is a value of the picket's semantics: it must not end the item
            // or break the command's fields.
            if (row.N.contains(u';') || row.N.contains(u'<') || row.N.contains(u'>')) {
                error = at + QStringLiteral("в номере недопустимы знаки ; < >");
                return false;
            }
            try {
                CheckPlanCodePage(row.N, QStringLiteral("Номер"));
            } catch (const Exception& e) {
                error = at + e.Message;
                return false;
            }
        }
        rows.push_back(row);
    }
    const std::size_t least = sbLine->Down() ? 2 : sbPolygon->Down() ? 3 : 0;
    if (rows.size() < least) {
        error = sbLine->Down() ? QStringLiteral("Для создания линии нужно не менее 2 строк")
                               : QStringLiteral("Для создания полигона нужно не менее 3 строк");
        return false;
    }
    return true;
}

void TFormCreateCoordObj::ButtonOkClick()
{
    TTrailGuard guard("UnitCreateCoordObj", "procedure TFormCreateCoordObj.ButtonOkClick(Sender: TObject);");
    std::vector<RCoordRow> rows;
    QString error;
    if (!ReadTable(ActiveGrid(), rows, error)) {
        // Nothing is made; the table stays open to be mended.
        ShowMsgDialog(QStringLiteral("Ошибка в таблице"), error);
        return;
    }
    if (sbPiket->Down() || sbPoint->Down())
        CreatePointsFromTable(rows);
    else if (sbLine->Down())
        CreateLineFromTable(rows);
    else if (sbPolygon->Down())
        CreatePolygonFromTable(rows);
    DrawScreen();
    SetModalResult(mrOk);
}

void TFormCreateCoordObj::CreatePointsFromTable(const std::vector<RCoordRow>& rows)
{
    if (!FormMap || !MainMap)
        return;
    TFormMap& form = *FormMap;
    const bool piket = sbPiket->Down();
    const bool heights = HeightPage();
    QString chosen = form.PointCode;
    int lm = 0;
    if (!piket && SemDlg(1, lm, chosen) != mrOk)
        return;
    const bool captionFlag = form.PointAngleDragged || form.AutoTextAllFromFirst != 0;
    const QString caption = captionFlag ? UserCaptionGroup(form) : QString();
    const int decimals = CoordDecimals(form.CreatePrecision);
    QString last;
    for (const RCoordRow& row : rows) {
        QString sem;
        if (piket) {
            sem = QStringLiteral("ПКТ/ИН") + row.N + u';';
            if (heights)
                sem += QStringLiteral("ИВ") + row.H;
        } else {
            sem = heights ? WithHeight(chosen, row.H) : chosen;
        }
        last = sem;
        int page = -1, layer = -1;
        if (!form.ChooseDestination(GeoPoint(row.XValue, row.YValue), piket ? 0 : lm, sem, page, layer))
            continue;
        MainMap->DoCommand(mcNewPoint, TCommandParams()
                                           .Int(page)
                                           .Int(layer)
                                           .Text(sem)
                                           .Fixed(row.XValue, decimals)
                                           .Fixed(row.YValue, decimals)
                                           .Int(form.CreatePrecision)
                                           .Fixed(form.PointSignAngle)
                                           .Field(caption)
                                           .Int(captionFlag ? 1 : 0)
                                           .Int(form.PointCaptionLine));
    }
    // Points keep the semantics chosen, without any one row's height.
    if (!piket)
        form.PointCode = chosen;
    else if (!last.isEmpty())
        form.PointCode = last;
}

namespace {

// The rows become the main window's node array; then the code of an object of kind lm
// is asked for and its sheet and layer chosen at the first node. False when either is
// refused or there are no rows.
bool TableObjectPlace(TFormMap& form, const std::vector<RCoordRow>& rows, int lm, QString& sem, int& page,
                      int& layer)
{
    form.CreateNodes.clear();
    for (const RCoordRow& row : rows) {
        RCreateNode node;
        node.Point = GeoPoint(row.XValue, row.YValue);
        form.CreateNodes.push_back(node);
    }
    return SemDlg(1, lm, sem) == mrOk && !form.CreateNodes.empty() &&
           form.ChooseDestination(form.CreateNodes.front().Point, lm, sem, page, layer);
}

} // namespace

void TFormCreateCoordObj::CreateLineFromTable(const std::vector<RCoordRow>& rows)
{
    if (!FormMap || !MainMap)
        return;
    TFormMap& form = *FormMap;
    QString sem = form.LineCode;
    int page = -1, layer = -1;
    if (TableObjectPlace(form, rows, 1, sem, page, layer)) {
        // A line at precision 0 still keeps centimetres, as the lines drawn do.
        const int p = form.CreatePrecision;
        const int decimals = p >= 1 && p <= 3 ? p : 2;
        MainMap->DoCommand(mcNewLine, NewLineFromNodesParams(page, layer, sem, form.CreatePrecision,
                                                             NewLineNodesField(form.CreateNodes, decimals)));
    }
    form.CreateNodes.clear();
    form.SetMouseMode(mmCreateLine, 0, true);
    form.LineCode = sem;
}

void TFormCreateCoordObj::CreatePolygonFromTable(const std::vector<RCoordRow>& rows)
{
    if (!FormMap || !MainMap)
        return;
    TFormMap& form = *FormMap;
    QString sem = form.PolygonCode;
    int page = -1, layer = -1;
    if (TableObjectPlace(form, rows, 2, sem, page, layer)) {
        const QString field = NewPolygonNodesField(form.CreateNodes, CoordDecimals(form.CreatePrecision));
        // The automatic captions of a polygon from a table are turned to the absolute
        // angle 0, where a polygon drawn on the plan has none (-1).
        MainMap->DoCommand(mcNewPolygon, NewPolygonFromNodesParams(page, layer, sem, field, form.CreatePrecision, 0));
    }
    form.CreateNodes.clear();
    form.SetMouseMode(mmCreatePolygon, 0, true);
    form.PolygonCode = sem;
}
