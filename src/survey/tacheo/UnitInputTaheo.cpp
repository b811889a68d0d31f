// The tacheometry window: its controls, the grids' row growth as the user types, and
// the two actions, OK (check, semantics, creation, one redraw) and the file import.
#include "survey/tacheo/UnitInputTaheo.h"

#include "controls/ExSpeedButton.h"
#include "engine/GeoMap.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ui/NumEdit.h"
#include "mainwindow/UnitMap.h"
#include "mainwindow/file/FileDialogs.h"
#include "semantics/codec/SemDialogs.h"
#include "survey/tacheo/TaheoCreate.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>

#include <functional>
#include <optional>

using namespace UnitInputTaheo;

namespace {

// Reports every keystroke of a cell editor, not only the finished text, as the grids'
// row growth needs; the editor is not reset to the model's text while it is the same.
class TLiveEditDelegate : public QStyledItemDelegate {
public:
    TLiveEditDelegate(QObject* parent, std::function<void(int, int, const QString&)> edited)
        : QStyledItemDelegate(parent), Edited(std::move(edited))
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override
    {
        auto* e = new QLineEdit(parent);
        e->setFrame(false);
        const QPersistentModelIndex at(index);
        connect(e, &QLineEdit::textEdited, e, [this, at](const QString& text) {
            if (at.isValid())
                Edited(at.row(), at.column(), text);
        });
        return e;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* e = static_cast<QLineEdit*>(editor);
        const QString text = index.data(Qt::EditRole).toString();
        if (e->text() != text)
            e->setText(text);
    }

private:
    std::function<void(int, int, const QString&)> Edited;
};

TNumEdit* NumEdit(QWidget* parent, bool whole, const QRect& rect)
{
    auto* e = new TNumEdit(parent);
    if (whole) {
        e->ClearTextIFValueNotInteger = true;
        e->setText(QStringLiteral("0"));
    } else {
        e->ClearTextIFValueNotFloat = true;
        e->UniversalDecimalSeparator = true;
        e->EnableFloatPrecision = true;
        e->SetNumberOfDecimalDigits(2);
        e->SetFloatValue(0);
    }
    e->setAlignment(Qt::AlignRight);
    e->setGeometry(rect);
    return e;
}

QLabel* Label(QWidget* parent, const QString& text, const QRect& rect)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(rect);
    return l;
}

// A two-state button of group within its parent, down at start when down.
TExSpeedButton* StateButton(QWidget* parent, const QString& caption, int group, bool down,
                            const QRect& rect)
{
    auto* b = new TExSpeedButton(parent);
    b->SetCaption(caption);
    b->SetGroupIndex(group);
    b->SetDown(down);
    b->setGeometry(rect);
    return b;
}

QTableWidget* Grid(QWidget* parent, const QRect& rect, const int (&widths)[GridColumns])
{
    auto* g = new QTableWidget(1, GridColumns, parent);
    g->setGeometry(rect);
    g->verticalHeader()->hide();
    g->verticalHeader()->setDefaultSectionSize(20);
    g->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    g->horizontalHeader()->setFixedHeight(36);
    for (int c = 0; c < GridColumns; ++c)
        g->setColumnWidth(c, widths[c]);
    g->setEditTriggers(QAbstractItemView::AllEditTriggers);
    return g;
}

QImage OpenGlyph(QWidget* w)
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(qRgb(255, 0, 255));
    QPainter p(&img);
    p.drawPixmap(0, 0, w->style()->standardIcon(QStyle::SP_DialogOpenButton).pixmap(16, 16));
    p.end();
    img.setPixel(0, 15, qRgb(255, 0, 255));
    return img;
}

// The trail a failure handled here left behind: the user has read its message, so it
// must not show up in a later crash report.
void DropTrail(qsizetype keep)
{
    if (ErrorInfo && ErrorInfo->size() > keep)
        ErrorInfo->resize(keep);
}

qsizetype TrailSize() { return ErrorInfo ? ErrorInfo->size() : 0; }

Extended Value(const TNumEdit* e)
{
    return const_cast<TNumEdit*>(e)->FloatValue();
}

} // namespace

TFormInputTaheo::TFormInputTaheo(QWidget* parent) : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Полярная засечка, тахеометрическая съемка"));
    SetClientSize(620, 556);

    Label(this, QStringLiteral("Координаты\nстанции (точки стояния)"), QRect(8, 4, 190, 30));
    Label(this, QStringLiteral("X"), QRect(8, 42, 14, 16));
    Label(this, QStringLiteral("Y"), QRect(8, 68, 14, 16));
    EditStantionX = NumEdit(this, false, QRect(26, 40, 150, 21));
    EditStantionY = NumEdit(this, false, QRect(26, 66, 150, 21));

    auto* angles = new QGroupBox(QStringLiteral("Углы"), this);
    angles->setGeometry(196, 4, 120, 84);
    ButtonBetaAngle =
        StateButton(angles, QStringLiteral("Измеренные"), 1, true, QRect(8, 22, 104, 24));
    ButtonDirAngle =
        StateButton(angles, QStringLiteral("Дирекционные"), 1, false, QRect(8, 50, 104, 24));

    LabelOr = Label(this, QStringLiteral("Точка ориентирования"), QRect(328, 4, 200, 16));
    SelectOr = new QTabWidget(this);
    SelectOr->setGeometry(328, 20, 284, 96);
    Coord = new QWidget;
    DirAngle = new QWidget;
    SelectOr->addTab(Coord, QStringLiteral("Координаты"));
    SelectOr->addTab(DirAngle, QStringLiteral("Дирекционный угол"));
    Label(Coord, QStringLiteral("X"), QRect(8, 10, 14, 16));
    Label(Coord, QStringLiteral("Y"), QRect(8, 36, 14, 16));
    PointOr_X = NumEdit(Coord, false, QRect(26, 8, 150, 21));
    PointOr_Y = NumEdit(Coord, false, QRect(26, 34, 150, 21));
    Label(DirAngle, QStringLiteral("Угол"), QRect(8, 8, 34, 16));
    AlphaOr_G = NumEdit(DirAngle, true, QRect(44, 6, 50, 21));
    Label(DirAngle, QStringLiteral("°"), QRect(96, 6, 8, 16));
    AlphaOr_m = NumEdit(DirAngle, false, QRect(106, 6, 70, 21));
    Label(DirAngle, QStringLiteral("'"), QRect(178, 6, 8, 16));
    PointToSt = StateButton(DirAngle, QStringLiteral("С точки на станцию"), 2, true,
                            QRect(4, 34, 132, 24));
    StToPoint = StateButton(DirAngle, QStringLiteral("Со станции  на точку"), 2, false,
                            QRect(138, 34, 136, 24));

    LabelHst = Label(this, QStringLiteral("Отметка станции"), QRect(8, 100, 120, 16));
    LabelI = Label(this, QStringLiteral("Высота инструмента"), QRect(8, 126, 120, 16));
    neHst = NumEdit(this, false, QRect(130, 98, 80, 21));
    neI = NumEdit(this, false, QRect(130, 124, 80, 21));

    // Below the orientation pages (which end at 116): "Короткий" reaches under them.
    LabelView = Label(this, QStringLiteral("Вид"), QRect(220, 100, 100, 16));
    sbFull = StateButton(this, QStringLiteral("Полный"), 3, true, QRect(220, 119, 70, 24));
    sbShort = StateButton(this, QStringLiteral("Короткий"), 3, false, QRect(292, 119, 70, 24));

    auto* objects = new QGroupBox(QStringLiteral("Создавать объекты"), this);
    objects->setGeometry(8, 148, 604, 52);
    sbPiket = StateButton(objects, QStringLiteral("Пикеты"), 4, true, QRect(8, 20, 100, 24));
    sbPoint = StateButton(objects, QStringLiteral("Точечные"), 4, false, QRect(110, 20, 100, 24));
    sbLine = StateButton(objects, QStringLiteral("Линейные"), 4, false, QRect(212, 20, 100, 24));
    sbPolygon = StateButton(objects, QStringLiteral("Площадные"), 4, false, QRect(314, 20, 100, 24));

    PageControl1 = new QTabWidget(this);
    PageControl1->setGeometry(8, 206, 604, 312);
    TabSheetClassic = new QWidget;
    TabSheetTaheo = new QWidget;
    PageControl1->addTab(TabSheetClassic, QStringLiteral("Классический вид"));
    PageControl1->addTab(TabSheetTaheo, QStringLiteral("Тахеометрическая съемка"));

    const int classicWidths[GridColumns] = {110, 60, 70, 80, 40, 60, 70, 70};
    StringGrid1 = Grid(TabSheetClassic, QRect(4, 4, 592, 244), classicWidths);
    Label(TabSheetClassic, QStringLiteral("Строк"), QRect(4, 258, 40, 16));
    NR1 = new QSpinBox(TabSheetClassic);
    NR1->setGeometry(46, 256, 60, 22);
    ClearTable = new QPushButton(QStringLiteral("Очистить таблицу"), TabSheetClassic);
    ClearTable->setGeometry(120, 255, 130, 25);

    const int taheoWidths[GridColumns] = {110, 80, 60, 60, 70, 40, 60, 70};
    StringGrid2 = Grid(TabSheetTaheo, QRect(4, 4, 592, 216), taheoWidths);
    rbNormal = new QRadioButton(QStringLiteral("Выше горизонта +, ниже горизонта -"), TabSheetTaheo);
    rbZ0 = new QRadioButton(QStringLiteral("Зенит 0"), TabSheetTaheo);
    rb360 = new QRadioButton(QStringLiteral("верт.круг 360 "), TabSheetTaheo);
    rbNormal->setGeometry(4, 226, 250, 20);
    rbZ0->setGeometry(262, 226, 90, 20);
    rb360->setGeometry(360, 226, 120, 20);
    rbNormal->setChecked(true);
    Label(TabSheetTaheo, QStringLiteral("Строк"), QRect(4, 258, 40, 16));
    NR2 = new QSpinBox(TabSheetTaheo);
    NR2->setGeometry(46, 256, 60, 22);
    ClearTable2 = new QPushButton(QStringLiteral("Очистить таблицу"), TabSheetTaheo);
    ClearTable2->setGeometry(120, 255, 130, 25);
    ButtonOpen = new TExSpeedButton(TabSheetTaheo);
    ButtonOpen->SetGlyph(OpenGlyph(this));
    ButtonOpen->setToolTip(QStringLiteral("Открыть файл"));
    ButtonOpen->setGeometry(262, 255, 25, 25);
    for (QSpinBox* nr : {NR1, NR2})
        nr->setRange(-1, 1000000);

    ButtonOk = AddButton(QStringLiteral("OK"), QRect(532, 524, 80, 25), TModalResult(0));
    ButtonOk->setDefault(true);
    for (QPushButton* b : {ClearTable, ClearTable2})
        b->setAutoDefault(false);

    for (QTableWidget* g : {StringGrid1, StringGrid2}) {
        g->setItemDelegate(new TLiveEditDelegate(g, [this, g](int r, int c, const QString& text) {
            SetCell(g, r, c, text);
            StringGridSetEditText(g, r, c, text);
        }));
        connect(g, &QTableWidget::cellChanged, this, [this, g](int r, int c) {
            if (!Filling)
                StringGridSetEditText(g, r, c, g->item(r, c) ? g->item(r, c)->text() : QString());
        });
    }
    connect(NR1, &QSpinBox::valueChanged, this, [this] { NR1Change(); });
    connect(NR2, &QSpinBox::valueChanged, this, [this] { NR2Change(); });
    connect(ClearTable, &QPushButton::clicked, this, [this] { ClearTableClick(); });
    connect(ClearTable2, &QPushButton::clicked, this, [this] { ClearTableClick(); });
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] { PageControl1Change(); });
    connect(ButtonOk, &QPushButton::clicked, this, [this] { ButtonOkClick(); });
    ButtonDirAngle->OnClick = [this] { ButtonDirAngleClick(); };
    ButtonBetaAngle->OnClick = [this] { ButtonBetaAngleClick(); };
    sbFull->OnClick = [this] { sbFullClick(); };
    sbShort->OnClick = [this] { sbShortClick(); };
    ButtonOpen->OnClick = [this] { ButtonOpenClick(); };

    PageControl1->setCurrentWidget(TabSheetTaheo);
    UpdateHeadings();
    PageControl1Change();
    ClearTableClick();
}

TModalResult TFormInputTaheo::Execute()
{
    TFormInputTaheo form(FormMap ? static_cast<QWidget*>(FormMap) : DialogOwner());
    form.setWindowFlag(Qt::WindowStaysOnTopHint);
    form.PlaceScreenCentre();
    return form.ShowModal();
}

void TFormInputTaheo::UpdateHeadings()
{
    const QString angle = ButtonDirAngle->Down() ? QStringLiteral("Дир.угол") : QStringLiteral("ГК");
    StringGrid1->setHorizontalHeaderLabels(
        {QStringLiteral("Название"), angle + QStringLiteral("\nград."), QStringLiteral("\nмин."),
         QStringLiteral("S,м"), QStringLiteral("ВК\n±"), QStringLiteral("\nград."),
         QStringLiteral("\nмин."), QStringLiteral("V,мм")});
    StringGrid2->setHorizontalHeaderLabels(
        {QStringLiteral("Название"), QStringLiteral("S,м"), QStringLiteral("V,мм"),
         QStringLiteral("ГК\nград."), QStringLiteral("\nмин."), QStringLiteral("ВК\n±"),
         QStringLiteral("\nград."), QStringLiteral("\nмин.")});
}

int TFormInputTaheo::LastColumn(const QTableWidget* grid) const
{
    return grid == StringGrid1 && sbShort->Down() ? 3 : GridColumns - 1;
}

void TFormInputTaheo::SetCell(QTableWidget* grid, int row, int col, const QString& text)
{
    const bool filling = std::exchange(Filling, true);
    if (QTableWidgetItem* item = grid->item(row, col))
        item->setText(text);
    else
        grid->setItem(row, col, new QTableWidgetItem(text));
    Filling = filling;
}

void TFormInputTaheo::SetRowCount(QTableWidget* grid, int count)
{
    QSpinBox* nr = grid == StringGrid1 ? NR1 : NR2;
    const bool filling = std::exchange(Filling, true);
    grid->setRowCount(std::max(count, 1));
    nr->setValue(grid->rowCount());
    Filling = filling;
}

TTaheoRows TFormInputTaheo::GridRows(const QTableWidget* grid) const
{
    TTaheoRows rows;
    for (int r = 0; r < grid->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < GridColumns; ++c) {
            const QTableWidgetItem* item = grid->item(r, c);
            row << (item ? item->text() : QString());
        }
        rows << row;
    }
    return rows;
}

void TFormInputTaheo::SetGridRows(QTableWidget* grid, const TTaheoRows& rows)
{
    SetRowCount(grid, int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < GridColumns; ++c)
            SetCell(grid, r, c, c < rows[r].size() ? rows[r][c] : QString());
}

void TFormInputTaheo::ClearTableClick()
{
    const QString first = QStringLiteral("1");
    SetGridRows(StringGrid1, {SetDefLine(first)});
    SetGridRows(StringGrid2, {SetDefLine2(first)});
}

void TFormInputTaheo::StringGridSetEditText(QTableWidget* grid, int row, int col, const QString&)
{
    if (row == grid->rowCount() - 1)
        SetRowCount(grid, grid->rowCount() + 1);
    if (col == LastColumn(grid) && row == grid->rowCount() - 2) {
        const QTableWidgetItem* item = grid->item(row, 0);
        const QString name = NextRowName(item ? item->text() : QString());
        const QStringList cells = grid == StringGrid1 ? SetDefLine(name) : SetDefLine2(name);
        for (int c = 0; c < GridColumns; ++c)
            SetCell(grid, row + 1, c, cells[c]);
    }
}

void TFormInputTaheo::NR1Change()
{
    if (!Filling)
        SetRowCount(StringGrid1, NR1->value());
}

void TFormInputTaheo::NR2Change()
{
    if (!Filling)
        SetRowCount(StringGrid2, NR2->value());
}

void TFormInputTaheo::ButtonDirAngleClick()
{
    UpdateHeadings();
    LabelOr->setVisible(!ButtonDirAngle->Down());
    SelectOr->setVisible(!ButtonDirAngle->Down());
}

void TFormInputTaheo::ButtonBetaAngleClick() { ButtonDirAngleClick(); }

void TFormInputTaheo::sbFullClick()
{
    const bool full = sbFull->Down();
    for (QWidget* w : {static_cast<QWidget*>(LabelHst), static_cast<QWidget*>(LabelI),
                       static_cast<QWidget*>(neHst), static_cast<QWidget*>(neI)})
        w->setVisible(full);
    // Hidden columns keep their widths and cells for the full form's return.
    for (int c = 4; c < GridColumns; ++c)
        StringGrid1->setColumnHidden(c, !full);
}

void TFormInputTaheo::sbShortClick() { sbFullClick(); }

void TFormInputTaheo::PageControl1Change()
{
    const bool classic = PageControl1->currentWidget() == TabSheetClassic;
    for (QWidget* w : {static_cast<QWidget*>(LabelView), static_cast<QWidget*>(sbFull),
                       static_cast<QWidget*>(sbShort)})
        w->setVisible(classic);
}

RTaheoSettings TFormInputTaheo::Settings() const
{
    RTaheoSettings s;
    s.TaheoGrid = PageControl1->currentWidget() == TabSheetTaheo;
    s.DirectionAngles = ButtonDirAngle->Down();
    s.OrientByCoord = SelectOr->currentWidget() == Coord;
    s.OrX = Value(PointOr_X);
    s.OrY = Value(PointOr_Y);
    s.AlphaG = const_cast<TNumEdit*>(AlphaOr_G)->IntegerValue();
    s.AlphaM = Value(AlphaOr_m);
    s.StationToPoint = StToPoint->Down();
    s.X0 = Value(EditStantionX);
    s.Y0 = Value(EditStantionY);
    s.Hst = Value(neHst);
    s.I = Value(neI);
    s.Full = sbFull->Down();
    s.Vertical = rbZ0->isChecked() ? vcZenith0 : rb360->isChecked() ? vc360 : vcNormal;
    s.Objects = sbPoint->Down() ? toPoint : sbLine->Down() ? toLine
                                        : sbPolygon->Down() ? toPolygon : toPiket;
    return s;
}

void TFormInputTaheo::ButtonOkClick()
{
    RTaheoSettings s = Settings();
    const TTaheoRows rows = GridRows(s.TaheoGrid ? StringGrid2 : StringGrid1);
    // Every row is checked before the classifier opens and before anything is made: a
    // bad cell keeps the window with what was typed.
    try {
        CalculateObjects(rows, s);
    } catch (const Exception& e) {
        MessageDlg(e.Message, mtError);
        return;
    }
    if (s.Objects != toPiket) {
        int lm = s.Objects == toPoint ? 0 : s.Objects == toLine ? 1 : 2;
        if (FormMap)
            s.Sem = lm == 0 ? FormMap->PointCode : lm == 1 ? FormMap->LineCode : FormMap->PolygonCode;
        if (SemDlg(1, lm, s.Sem) != mrOk) {
            SetModalResult(mrOk);
            return;
        }
    }
    std::vector<RTaheoObject> objects;
    try {
        objects = CalculateObjects(rows, s);
    } catch (const Exception& e) {   // the chosen semantics may not stand in a command
        MessageDlg(e.Message, mtError);
        return;
    }

    if (s.Objects == toPiket || s.Objects == toPoint) {
        int made = 0;
        for (const RTaheoObject& o : objects) {
            TaheoSemantics = o.Semantics;
            const TTaheoCreation c = CreateTaheoPoint(o.Position.X, o.Position.Y);
            if (c == tcSheetRefused) {
                if (made == 0)
                    return;   // Esc on the sheet name: nothing made, the window stays
                break;
            }
            made += c == tcCreated;
        }
    } else if (FormMap) {
        FormMap->CreateNodes.clear();
        for (const RTaheoObject& o : objects) {
            RCreateNode n;
            n.Point = o.Position;
            FormMap->CreateNodes.push_back(n);
        }
        TaheoSemantics = s.Sem;
        const TTaheoCreation c = s.Objects == toLine ? CreateTaheoLine() : CreateTaheoPolygon();
        if (c == tcSheetRefused)
            return;
    }
    if (FormMap && MainMap) {
        const QSize size = FormMap->SurfaceSize();
        MainMap->Draw(size.width(), size.height(), 3, ddScreen);
    }
    SetModalResult(mrOk);
}

void TFormInputTaheo::ButtonOpenClick()
{
    QString fileName;
    if (!OpenFileNameDialog(QStringLiteral("Открыть файл"),
                            QStringLiteral("Рез.изм.Sokkia 610 (sdr) (*.sdr);;"
                                           "Рез.изм.Pentax (DC1) (*.dc1)"),
                            fileName))
        return;
    const QString extension = QFileInfo(fileName).suffix().toUpper();
    TTotalStationFormat format;
    if (extension == u"SDR")
        format = TTotalStationFormat::Sdr;
    else if (extension == u"DC1")
        format = TTotalStationFormat::Dc1;
    else
        return;
    const qsizetype trail = TrailSize();
    std::optional<TTotalStationFile> file;
    try {
        file = TTotalStationFile::Load(fileName, format);
    } catch (const Exception& e) {
        DropTrail(trail);
        MessageDlg(e.Message, mtError);
        return;
    }
    if (file->StationNames.isEmpty())
        return;
    QStringList names = file->StationNames;
    int index = 0, added = 0;
    if (SelStrDialog(names, index, added, QStringLiteral("Выбор станции"),
                     QStringLiteral("выберите станцию, результаты измерений с которой "
                                    "необходимо обработать")) != mrOk ||
        added != 0 || index < 0 || index >= file->StationNames.size())
        return;
    rbZ0->setChecked(true);   // both formats carry zenith angles
    TTaheoRows rows;
    QString height = neI->text();
    QString failure;
    try {
        ImportStation(*file, index, rows, height);
    } catch (const Exception& e) {
        DropTrail(trail);
        failure = e.Message;
    }
    neI->setText(height);
    ClearTableClick();
    SetGridRows(StringGrid2, rows);
    if (!failure.isEmpty())
        MessageDlg(failure, mtError);
}
