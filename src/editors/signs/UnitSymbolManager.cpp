// The sign manager: the table of one kind's signs, drawn row by row by the preview plan,
// and the file operations on the sign folders of the scale.
#include "editors/signs/UnitSymbolManager.h"

#include "dialogs/objects/ObjectValues.h"
#include "editors/EditorDialogs.h"
#include "editors/signs/SignPreview.h"
#include "editors/signs/SignPropBase.h"
#include "editors/signs/UnitAddSymbol.h"
#include "editors/signs/UnitSymLineProp.h"
#include "editors/signs/UnitSymPointProp.h"
#include "editors/signs/UnitSymPolygonProp.h"
#include "engine/commands/MapCommand.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "platform/FileLookup.h"
#include "semantics/codec/SemDialogs.h"
#include "semantics/codec/SemServices.h"
#include "semantics/signs/Symbols.h"

#include <QAbstractTableModel>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTableView>

namespace {

const QString Title = QStringLiteral("Менеджер условных знаков");
const QString LayerNames[3] = {QStringLiteral("точечные"), QStringLiteral("линейные"),
                               QStringLiteral("площадные")};

// The table and the sample of each kind: pixels, and metres of the preview plan.
struct TKindLook {
    int ColumnWidth;
    int RowHeight;
    int TableHeight;
    int PictureFactor;   // the cell picture against the cell
    Extended CentreX, CentreY;
    int Zoom;
};
constexpr TKindLook Looks[3] = {
    {80, 80, 320, 2, 80, 80, 100},
    {180, 60, 300, 2, 80, 85, 110},
    {150, 100, 305, 1, 85, 87.5L, 400},
};

// The classifier's semantics in the code form of sign names: object code, "/", each
// item followed by ";".
QString CodeForm(const QString& sem)
{
    if (sem.size() <= 3)
        return sem + u'/';
    if (sem.size() > 4 && !sem.endsWith(u';'))
        return sem + u';';
    return sem;
}

}  // namespace

// Rows of the kind shown; the delegate draws them, the texts serve the keyboard and
// screen readers.
class TSignTableModel : public QAbstractTableModel {
public:
    explicit TSignTableModel(TFormSymbolManager& form) : QAbstractTableModel(&form), Form(form) {}

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : Rows; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
            return {};
        if (index.column() == 0)
            return role == Qt::ToolTipRole ? QVariant(Form.RowName(index.row()) + QStringLiteral(".wri")) : QVariant();
        return Form.RowText(index.row()) + u'\n' + Form.RowName(index.row()) + QStringLiteral(".wri");
    }
    void Reset(int rows)
    {
        beginResetModel();
        Rows = rows;
        endResetModel();
    }

private:
    TFormSymbolManager& Form;
    int Rows = 0;
};

namespace {

class TSignCellDelegate : public QStyledItemDelegate {
public:
    explicit TSignCellDelegate(TFormSymbolManager& form) : QStyledItemDelegate(&form), Form(form) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
        if (index.column() == 0) {
            const QImage picture = Form.RowPicture(index.row());
            if (!picture.isNull())
                painter->drawImage(option.rect, picture);
        } else {
            painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
            const QFontMetrics metrics(option.font);
            const int left = option.rect.left() + 2;
            const int width = option.rect.width() - 4;
            const auto line = [&](int top, const QString& text) {
                painter->drawText(QRect(left, option.rect.top() + top, width, metrics.height()),
                                  Qt::AlignLeft | Qt::AlignTop, metrics.elidedText(text, Qt::ElideRight, width));
            };
            line(5, Form.RowText(index.row()));
            line(35, Form.RowName(index.row()) + QStringLiteral(".wri"));
        }
        painter->restore();
    }

private:
    TFormSymbolManager& Form;
};

}  // namespace

TModalResult TFormSymbolManager::Execute(int scale)
{
    // The preview's new plan marks the process's plan new; the main plan is not.
    const auto kept = DataFileState;
    TModalResult result = mrCancel;
    try {
        TFormSymbolManager window(scale, DialogOwner());
        result = window.ShowModal();
    } catch (const Exception& e) {
        ShowMsgDialog(Title, e.Message);
    }
    DataFileState = kept;
    return result;
}

TFormSymbolManager::TFormSymbolManager(int scale, QWidget* parent) : TDialogBase(parent), Scale(scale)
{
    setObjectName(QStringLiteral("FormSymbolManager"));
    setWindowTitle(Title);
    SetClientSize(720, 336);

    auto* kinds = new QGroupBox(QStringLiteral("Локализация объектов"), this);
    Place(kinds, QRect(8, 8, 160, 92));
    const auto radio = [kinds](const char* name, const QString& text, int y) {
        auto* r = new QRadioButton(text, kinds);
        r->setObjectName(QString::fromLatin1(name));
        r->setGeometry(10, y, 144, 20);
        return r;
    };
    rbPoint01 = radio("rbPoint01", QStringLiteral("Точечные"), 20);
    rbLine01 = radio("rbLine01", QStringLiteral("Линейные"), 42);
    rbPolygon01 = radio("rbPolygon01", QStringLiteral("Площадные"), 64);
    rbPoint01->setChecked(true);
    for (QRadioButton* r : {rbPoint01, rbLine01, rbPolygon01})
        connect(r, &QRadioButton::clicked, this, &TFormSymbolManager::Rebuild);

    Place(new QLabel(QStringLiteral("Масштаб "), this), QRect(8, 110, 60, 22));
    neScale = new QLineEdit(QString::number(scale), this);
    neScale->setObjectName(QStringLiteral("neScale"));
    neScale->setReadOnly(true);
    Place(neScale, QRect(70, 110, 98, 22));

    const auto button = [this](const char* name, const QString& caption, int y, void (TFormSymbolManager::*click)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        Place(b, QRect(8, y, 160, 26));
        connect(b, &QPushButton::clicked, this, click);
        return b;
    };
    SpeedButton1 = button("SpeedButton1", QStringLiteral("удалить"), 142, &TFormSymbolManager::DeleteClick);
    SpeedButton2 = button("SpeedButton2", QStringLiteral("добавить"), 172, &TFormSymbolManager::AddClick);
    SpeedButton3 = button("SpeedButton3", QStringLiteral("копия"), 202, &TFormSymbolManager::CopyClick);
    SpeedButton4 = button("SpeedButton4", QStringLiteral("редактор"), 232, &TFormSymbolManager::EditClick);

    Place(new QLabel(QStringLiteral("Знаков"), this), QRect(8, 266, 60, 20));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Place(Label2, QRect(70, 266, 98, 20));

    BitBtn1 = AddButton(QStringLiteral("Закрыть"), QRect(8, 302, 160, 26), mrOk, Qt::LeftEdge | Qt::BottomEdge);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);

    DrawGrid1 = new QTableView(this);
    DrawGrid1->setObjectName(QStringLiteral("DrawGrid1"));
    DrawGrid1->horizontalHeader()->hide();
    DrawGrid1->verticalHeader()->hide();
    DrawGrid1->horizontalHeader()->setStretchLastSection(true);
    DrawGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DrawGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DrawGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DrawGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DrawGrid1->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    DrawGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DrawGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Model = new TSignTableModel(*this);
    DrawGrid1->setModel(Model);
    DrawGrid1->setItemDelegate(new TSignCellDelegate(*this));
    Place(DrawGrid1, QRect(176, 8, 536, 320));
    connect(DrawGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { FSelectedRow = current.isValid() ? current.row() : -1; });

    // The hidden paint box: the cell picture's size for the preview's renders.
    Preview = new TSignPreview(poSignManager, scale, this);
    Preview->hide();
    Preview->Prepare();
    Preview->SetAltCanvas(true);
    Reload();
    Rebuild();
}

TFormSymbolManager::~TFormSymbolManager() = default;

int TFormSymbolManager::ShownKind() const
{
    return rbLine01->isChecked() ? 1 : rbPolygon01->isChecked() ? 2 : 0;
}

void TFormSymbolManager::Reload() { Preview->Map->Symbols->LoadSymbols(Scale); }

void TFormSymbolManager::Rebuild()
{
    Rebuilding = true;
    Kind = ShownKind();
    TGeoMap& map = *Preview->Map;
    for (int k = 0; k < 3; ++k)
        map.DoCommand(mcSetLayerProp, TCommandParams().Int(0).Int(k).Text(LayerNames[k]).Int(k == Kind ? 1 : 0));
    Pictures.clear();
    const TKindLook& look = Looks[Kind];
    Model->Reset(RowCount());
    DrawGrid1->setColumnWidth(0, look.ColumnWidth);
    DrawGrid1->verticalHeader()->setDefaultSectionSize(look.RowHeight);
    DrawGrid1->setFixedHeight(look.TableHeight);
    Preview->resize(look.ColumnWidth * look.PictureFactor, look.RowHeight * look.PictureFactor);
    Label2->setText(QString::number(RowCount()));
    // A row remembered from another kind or an older list would name another sign.
    DrawGrid1->clearSelection();
    DrawGrid1->setCurrentIndex(QModelIndex());
    FSelectedRow = -1;
    Rebuilding = false;
    DrawGrid1->viewport()->update();
}

int TFormSymbolManager::RowCount() const
{
    return Preview->Map->Symbols->WithList(TLmode(Kind), [](auto& list) { return list.GetCount(); });
}

QString TFormSymbolManager::RowName(int row) const
{
    return Preview->Map->Symbols->WithList(TLmode(Kind), [row](auto& list) {
        const auto* sign = list.At(row);
        return sign ? sign->Code : QString();
    });
}

QString TFormSymbolManager::RowText(int row) const { return ReadableSignName(Kind, RowName(row)); }

QString TFormSymbolManager::RowFile(int row) const
{
    return ResolvePath(TSymbols::KindFolder(Scale, TLmode(Kind)) + RowName(row) + QStringLiteral(".wri"));
}

void TFormSymbolManager::SelectRow(int row)
{
    DrawGrid1->selectRow(row);
    DrawGrid1->setCurrentIndex(Model->index(row, 0));
}

QImage TFormSymbolManager::RowPicture(int row)
{
    if (Rebuilding || row < 0 || row >= RowCount())
        return QImage();
    if (const auto cached = Pictures.constFind(row); cached != Pictures.constEnd())
        return cached.value();
    QImage picture;
    try {
        picture = RenderRow(row);
    } catch (const Exception&) {
        // Drawn inside a paint event: a sign that cannot be drawn leaves its cell empty
        // rather than end the window; the library's load has named a broken file already.
    }
    Pictures.insert(row, picture);
    return picture;
}

QImage TFormSymbolManager::RenderRow(int row)
{
    const QString name = RowName(row);
    TGeoMap& map = *Preview->Map;
    // The sample of the kind takes the sign name as its semantics, all else as it was.
    switch (Kind) {
    case 0: {
        RPointValues v;
        if (ReadPoint(map, 0, 0, 0, v)) {
            v.Semantics = name;
            map.DoCommand(mcSetPointProp, SetPointParams(0, 0, 0, v));
        }
        break;
    }
    case 1: {
        RLineValues v;
        if (ReadLine(map, 0, 1, 0, v)) {
            v.Semantics = name;
            map.DoCommand(mcSetLineProp, SetLineParams(0, 1, 0, v));
        }
        break;
    }
    default: {
        RPolygonValues v;
        if (ReadPolygon(map, 0, 2, 0, v)) {
            v.Semantics = name;
            map.DoCommand(mcSetPolygonProp, SetPolygonParams(0, 2, 0, v));
        }
        break;
    }
    }
    // The row's own sign, not the first whose rule the name also meets ("…;М;С" would
    // otherwise draw in the row of "…;М;С04"): an object that names its sign is drawn
    // with that sign.
    if (RGPage* page = map.Pages.At(0))
        if (RGLayer* layer = page->Layers.At(Kind)) {
            if (Kind == 0 && layer->Points.At(0))
                layer->Points.At(0)->SignName = name;
            else if (Kind == 1 && layer->Lines.At(0))
                layer->Lines.At(0)->SignName = name;
            else if (Kind == 2 && layer->Polygons.At(0))
                layer->Polygons.At(0)->SignName = name;
        }
    const TKindLook& look = Looks[Kind];
    Preview->Draw(0);
    map.CentreTarget = GeoPoint(look.CentreX, look.CentreY);
    map.DisplayScale = look.Zoom;
    Preview->Draw(8);
    return Preview->AltPicture.copy();
}

void TFormSymbolManager::DeleteClick()
{
    const int row = FSelectedRow;
    if (row < 0 || row >= RowCount())
        return;
    const QString name = RowName(row);
    const QString cr(QChar(13));
    if (ShowMsgDialog(QStringLiteral("Удаление"), QStringLiteral("Файл условного знака ") + cr + name + cr +
                                                       RowText(row) + cr + QStringLiteral(" будет удален")) != mrOk)
        return;
    const QString file = RowFile(row);
    if (QFileInfo::exists(file) && !QFile::remove(file))
        ShowMsgDialog(QStringLiteral("Удаление"), QStringLiteral("Не удается удалить файл ") + file);
    Reload();
    Rebuild();
}

bool TFormSymbolManager::ChooseSemantics(int& lm, QString& code, QStringList& materials, QStringList& states)
{
    QString sem;
    if (SemDlg(1, lm, sem) != mrOk)
        return false;
    if (SelectMSDlg(materials, states) != mrOk)
        return false;
    // The sign is named by the standard part; the work semantics' own materials, states
    // and extended items are not part of it.
    try {
        if (SemServices())
            SemServices()->SemToSTD(sem);
    } catch (const Exception& e) {
        ShowMsgDialog(QStringLiteral("Классификатор семантики"), e.Message);
        return false;
    }
    code = CodeForm(sem);
    return true;
}

void TFormSymbolManager::AddClick()
{
    int lm = ShownKind();
    QString code;
    QStringList materials, states;
    if (!ChooseSemantics(lm, code, materials, states) || lm < 0 || lm > 2)
        return;
    QString newName, source;
    const QString title = QStringLiteral("Добавление условного знака");
    if (AddSymbolDlg(title, lm, code, newName, source, Scale, states, materials) != mrOk)
        return;
    CopyInto(source, lm, newName, title);
    Reload();
    Rebuild();
}

void TFormSymbolManager::CopyClick()
{
    const int row = FSelectedRow;
    if (row < 0 || row >= RowCount())
        return;
    const QString source = RowFile(row);
    int lm = Kind;
    QString code;
    QStringList materials, states;
    if (!ChooseSemantics(lm, code, materials, states))
        return;
    const QString title = QStringLiteral("Копия условного знака");
    QString refusal;
    const QString name = BuildSignFileName(code, materials, states, TSignNamePolicy::ChosenOnly, &refusal);
    if (name.isEmpty()) {
        ShowMsgDialog(title, refusal);
        return;
    }
    // The copy stays a sign of the selected sign's kind, whatever kind the classifier
    // was left at: in another kind's folder it would be no sign at all.
    CopyInto(source, Kind, name, title);
    Reload();
    Rebuild();
}

void TFormSymbolManager::EditClick()
{
    const int row = FSelectedRow;
    if (row < 0 || row >= RowCount())
        return;
    const QString file = RowFile(row);
    const TModalResult result = Kind == 0   ? SymPointPropDlg(file, Scale)
                                : Kind == 1 ? SymLinePropDlg(file, Scale)
                                            : SymPolygonPropDlg(file, Scale);
    if (result != mrOk)
        return;
    Reload();
    Rebuild();
}

void TFormSymbolManager::CopyInto(const QString& source, int kind, const QString& name, const QString& title)
{
    const QString folder = TSymbols::KindFolder(Scale, TLmode(kind));
    const QString target = ResolvePath(folder + name);
    if (FileExistsIgnoringCase(target)) {
        ShowMsgDialog(title, QStringLiteral("Файл условного знака ") + name +
                                 QStringLiteral(" уже есть и оставлен без изменений"));
        return;
    }
    QDir().mkpath(folder);
    if (!QFile::copy(source, target))
        ShowMsgDialog(title, QStringLiteral("Не удается скопировать файл ") + source + QStringLiteral(" в ") + target);
}
