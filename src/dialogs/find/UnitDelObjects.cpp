// Deleting objects by a piece of their semantics over sheets or layers.
#include "dialogs/find/UnitDelObjects.h"

#include "engine/GeoMap.h"
#include "semantics/codec/SemDialogs.h"
#include "semantics/codec/SemServices.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>

namespace {

// The fillers write columns counted in characters.
QFont ListFont()
{
    QFont font(QStringLiteral("Courier New"), 9);
    font.setStyleHint(QFont::Monospace);
    return font;
}

QListWidget* NewList(QWidget* parent, const char* name)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setFont(ListFont());
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return list;
}

std::vector<int> SelectedRows(const QListWidget* list)
{
    std::vector<int> rows;
    for (const QListWidgetItem* item : list->selectedItems())
        rows.push_back(list->row(item));
    std::sort(rows.begin(), rows.end());
    return rows;
}

}  // namespace

QStringList DelObjectsCommands(const TDelObjectsChoice& choice)
{
    QStringList params;
    if (choice.Kind < 0 || choice.Kind > 2)
        return params;
    const auto param = [&](int page, int layer) {
        return TCommandParams()
            .Int(page)
            .Int(layer)
            .Int(choice.Kind == 0 ? 1 : 0)
            .Int(choice.Kind == 1 ? 1 : 0)
            .Int(choice.Kind == 2 ? 1 : 0)
            .Text(choice.Text)
            .Str();
    };
    if (!choice.LayersPage) {
        for (const int page : choice.Pages)
            if (page >= 0)
                params << param(page, -1);
    } else if (choice.Page >= 0) {
        for (const int layer : choice.Layers)
            if (layer >= 0)
                params << param(choice.Page, layer);
    }
    return params;
}

TModalResult DelObjectsDlg()
{
    const auto& hook = ProgramDialogHooks().DelObjects;
    if (!hook || !MainMap)
        return mrCancel;
    TDelObjectsChoice choice;
    const TModalResult result = hook(choice);
    for (const QString& param : DelObjectsCommands(choice))
        MainMap->DoCommand(mcDelObjects, param);
    return result;
}

TFormDelObjects::TFormDelObjects(QWidget* parent) : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Удаление объектов"));
    SetClientSize(640, 430);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    Place(PageControl1, QRect(8, 8, 624, 230));
    tsPages = new QWidget;
    tsPages->setObjectName(QStringLiteral("tsPages"));
    lbPages = NewList(tsPages, "lbPages");
    lbPages->setGeometry(6, 6, 606, 186);
    PageControl1->addTab(tsPages, QStringLiteral("Поиск в листах"));

    tsLayers = new QWidget;
    tsLayers->setObjectName(QStringLiteral("tsLayers"));
    cbPages = new QComboBox(tsLayers);
    cbPages->setObjectName(QStringLiteral("cbPages"));
    cbPages->setGeometry(6, 6, 606, 22);
    lbLayers = NewList(tsLayers, "lbLayers");
    lbLayers->setGeometry(6, 34, 606, 158);
    PageControl1->addTab(tsLayers, QStringLiteral("Поиск в слоях одного листа"));

    auto* kinds = new QGroupBox(QStringLiteral("Типы объктов"), this);
    Place(kinds, QRect(8, 244, 130, 96));
    chPoints = new QRadioButton(QStringLiteral("Точечные"), kinds);
    chPoints->setObjectName(QStringLiteral("chPoints"));
    chPoints->setGeometry(10, 20, 112, 20);
    chLines = new QRadioButton(QStringLiteral("Линейные"), kinds);
    chLines->setObjectName(QStringLiteral("chLines"));
    chLines->setGeometry(10, 44, 112, 20);
    chPolygons = new QRadioButton(QStringLiteral("Площадные"), kinds);
    chPolygons->setObjectName(QStringLiteral("chPolygons"));
    chPolygons->setGeometry(10, 68, 112, 20);
    chPoints->setChecked(true);

    auto* search = new QGroupBox(QStringLiteral("Искать"), this);
    Place(search, QRect(146, 244, 486, 146));
    eOld = new QLineEdit(search);
    eOld->setObjectName(QStringLiteral("eOld"));
    eOld->setGeometry(10, 20, 436, 22);
    bt1 = new QToolButton(search);
    bt1->setObjectName(QStringLiteral("bt1"));
    bt1->setText(QStringLiteral("..."));
    bt1->setToolTip(QStringLiteral("Классификатор семантики"));
    bt1->setGeometry(450, 19, 26, 24);
    Memo1 = new QPlainTextEdit(search);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setGeometry(10, 48, 466, 88);

    BitBtn1 = AddButton(QStringLiteral("Готово"), QRect(557, 398, 75, 24), mrOk);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);

    connect(PageControl1, &QTabWidget::currentChanged, this, [this] { PageControl1Change(); });
    connect(cbPages, &QComboBox::activated, this, [this] { cbPagesChange(); });
    connect(bt1, &QToolButton::clicked, this, [this] { bt1Click(); });

    QStringList pages;
    if (MainMap)
        MainMap->GetPagesToListBox(pages);
    lbPages->addItems(pages);
}

void TFormDelObjects::PageControl1Change()
{
    QStringList lines;
    if (PageControl1->currentWidget() == tsPages) {
        if (MainMap)
            MainMap->GetPagesToListBox(lines);
        lbPages->clear();
        lbPages->addItems(lines);
    } else {
        if (MainMap)
            MainMap->PagesToComboBox(lines);
        cbPages->clear();
        cbPages->addItems(lines);
        cbPages->setCurrentIndex(-1);
        lbLayers->clear();   // until a sheet is chosen
    }
}

void TFormDelObjects::cbPagesChange()
{
    QStringList lines;
    if (MainMap && cbPages->currentIndex() >= 0)
        MainMap->GetLayersToListBox2(cbPages->currentIndex(), lines);
    lbLayers->clear();
    lbLayers->addItems(lines);
}

int TFormDelObjects::Kind() const
{
    if (chLines->isChecked())
        return 1;
    if (chPolygons->isChecked())
        return 2;
    return 0;
}

void TFormDelObjects::bt1Click()
{
    int kind = Kind();
    QString sem = eOld->text();
    SemDlg(1, kind, sem);
    eOld->setText(sem);
    if (sem.isEmpty())
        return;
    QString readable;
    DecodeSem(TLmode(kind), sem, readable);
    Memo1->setPlainText(readable);
}

TDelObjectsChoice TFormDelObjects::Choice() const
{
    TDelObjectsChoice choice;
    choice.LayersPage = PageControl1->currentWidget() == tsLayers;
    choice.Pages = SelectedRows(lbPages);
    choice.Page = cbPages->currentIndex();
    choice.Layers = SelectedRows(lbLayers);
    choice.Kind = Kind();
    choice.Text = eOld->text();
    return choice;
}

TModalResult RunDelObjects(TDelObjectsChoice& choice)
{
    TFormDelObjects form(DialogOwner());
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    choice = form.Choice();
    return result;
}
