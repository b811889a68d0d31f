// The list windows: their layout, the choosers and the list, the enabling rule and the
// keys. What the buttons do lives in ListWindowActions.cpp.
#include "dialogs/lists/UnitListWindows.h"

#include "controls/TextListBox.h"
#include "engine/GeoMap.h"
#include "foundation/ui/STDserv.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <memory>

namespace {

constexpr int ClientWidth = 1000;
constexpr int ClientHeight = 460;
constexpr int ButtonWidth = 190;   // "Сохранить в текстовый файл" whole
constexpr int ButtonHeight = 25;
constexpr int Margin = 8;
constexpr int ListWidth = ClientWidth - 3 * Margin - ButtonWidth;
constexpr Qt::Edges AllEdges = Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge;

struct RKindRow {
    const char* Caption;
    const char* ObjectName;
    const char* ListLabel;       // null: none
    const char* NameCaption;     // btName; null: none
    const char* ShowCaption;     // btShow; null: none (btHide with it)
    const char* HideCaption;
};

const RKindRow KindRows[] = {
    {"Листы", "FormPages", nullptr, "Изменить имя листа", "Показать лист", "Скрыть лист"},
    {"Слои", "FormLayers", "Слои", "Изменить имя слоя", "Показать слой", "Скрыть слой"},
    {"Растры", "FormRastrs", "Растры", nullptr, "Показать растр", "Скрыть растр"},
    {"Надписи", "FormTexts", "Надписи", nullptr, nullptr, nullptr},
    {"Точечные объекты", "FormPoints", "Точечные объекты", nullptr, nullptr, nullptr},
    {"Линейные объекты", "FormLines", "Линейные объекты", nullptr, nullptr, nullptr},
    {"Площадные объекты", "FormPolygons", "Площадные объекты", nullptr, nullptr, nullptr},
};

// The list's font: fixed pitch, so that the filler's columns line up.
QFont ListFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(12);
    return font;
}

}  // namespace

TFormListBase::TFormListBase(TListKind kind, QWidget* parent) : TDialogBase(parent), Kind(kind)
{
    const RKindRow& row = KindRows[kind];
    setObjectName(QLatin1String(row.ObjectName));
    setWindowTitle(QString::fromUtf8(row.Caption));
    Sizeable = true;
    SetClientSize(ClientWidth, ClientHeight);
    LayOut(row.ListLabel ? QString::fromUtf8(row.ListLabel) : QString());
    if (Kind >= lkPoints)
        PlaceScreenCentre();
}

QPushButton* TFormListBase::Button(const QString& caption, const char* name,
                                   void (TFormListBase::*click)())
{
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QLatin1String(name));
    // Enter belongs to the window (result 1), never to the focused button.
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [this, click] { (this->*click)(); });
    return b;
}

void TFormListBase::LayOut(const QString& listLabel)
{
    const RKindRow& row = KindRows[Kind];
    int top = Margin;
    const auto chooser = [&](const QString& caption, const char* name) {
        auto* label = new QLabel(caption, this);
        Place(label, QRect(Margin, top, ListWidth, 16));
        auto* box = new QComboBox(this);
        box->setObjectName(QLatin1String(name));
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        Place(box, QRect(Margin, top + 17, ListWidth, 24), Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge);
        label->setBuddy(box);
        top += 48;
        return box;
    };
    if (Kind != lkPages) {
        cbPage = chooser(QStringLiteral("Лист"), "cbPage");
        connect(cbPage, &QComboBox::activated, this, [this] { cbPageChange(); });
    }
    if (IsObjectList()) {
        cbLayer = chooser(QStringLiteral("Слой"), "cbLayer");
        connect(cbLayer, &QComboBox::activated, this, [this] { cbLayerChange(); });
    }
    if (!listLabel.isEmpty()) {
        Place(new QLabel(listLabel, this), QRect(Margin, top, ListWidth, 16));
        top += 17;
    }
    LB = new TTextListBox(this);
    LB->setObjectName(QStringLiteral("LB"));
    LB->setFont(ListFont());
    LB->SetMultiSelect(true);
    LB->SetExtendedSelect(true);
    Place(LB, QRect(Margin, top, ListWidth, ClientHeight - Margin - top), AllEdges);
    connect(LB, &QListWidget::itemSelectionChanged, this, [this] { LBClick(); });
    if (IsObjectList())
        LB->OnDblClick = [this] { btPropClick(); };

    // The buttons stand in a column right of the list, "Закрыть" at its foot.
    const int x = ClientWidth - Margin - ButtonWidth;
    int y = Margin;
    const auto place = [&](QPushButton* b, int gapAfter = 4) {
        Place(b, QRect(x, y, ButtonWidth, ButtonHeight), Qt::TopEdge | Qt::RightEdge);
        y += ButtonHeight + gapAfter;
    };
    btAdd = Button(QStringLiteral("Добавить"), "btAdd", &TFormListBase::btAddClick);
    place(btAdd);
    btDel = Button(QStringLiteral("Удалить"), "btDel", &TFormListBase::btDelClick);
    place(btDel, 14);
    if (row.NameCaption) {
        btName = Button(QString::fromUtf8(row.NameCaption), "btName", &TFormListBase::btNameClick);
        place(btName, 14);
    }
    if (Kind >= lkRastrs) {
        btProp = Button(QStringLiteral("Свойства"), "btProp", &TFormListBase::btPropClick);
        place(btProp, 14);
    }
    if (row.ShowCaption) {
        btShow = Button(QString::fromUtf8(row.ShowCaption), "btShow", &TFormListBase::btShowClick);
        place(btShow);
        btHide = Button(QString::fromUtf8(row.HideCaption), "btHide", &TFormListBase::btHideClick);
        place(btHide, 14);
    }
    btUp = Button(QStringLiteral("Вперед"), "btUp", &TFormListBase::btUpClick);
    place(btUp);
    btDown = Button(QStringLiteral("Назад"), "btDown", &TFormListBase::btDownClick);
    place(btDown, 14);
    if (Kind == lkPoints) {
        btSavaAsText = Button(QStringLiteral("Сохранить в текстовый файл"), "btSavaAsText",
                              &TFormListBase::btSavaAsTextClick);
        place(btSavaAsText);
    }
    BitBtn1 = AddButton(QStringLiteral("Закрыть"),
                        QRect(x, ClientHeight - Margin - ButtonHeight, ButtonWidth, ButtonHeight), mrOk,
                        Qt::BottomEdge | Qt::RightEdge);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    BitBtn1->setDefault(Kind == lkRastrs);
}

int TFormListBase::Page() const
{
    return cbPage ? cbPage->currentIndex() : -1;
}

int TFormListBase::Layer() const
{
    return cbLayer ? cbLayer->currentIndex() : -1;
}

QStringList TFormListBase::ListLines(int page, int layer) const
{
    QStringList lines;
    if (!MainMap)
        return lines;
    switch (Kind) {
    case lkPages: MainMap->GetPagesToListBox(lines); break;
    case lkLayers: MainMap->GetLayersToListBox2(page, lines); break;
    case lkRastrs: MainMap->GetRastrsToListBox(page, lines); break;
    case lkTexts: MainMap->GetTextsToListBox(page, layer, lines); break;
    case lkPoints: MainMap->GetPointsToListBox(page, layer, lines); break;
    case lkLines: MainMap->GetLinesToListBox(page, layer, lines); break;
    case lkPolygons: MainMap->GetPolygonsToTextListBox(page, layer, lines); break;
    }
    return lines;
}

void TFormListBase::FillList()
{
    const QSignalBlocker quiet(LB);
    LB->clear();
    if (Kind != lkPages && Page() < 0)
        return;
    if (IsObjectList() && Layer() < 0)
        return;
    LB->addItems(ListLines(Page(), Layer()));
}

void TFormListBase::FillLayers()
{
    cbLayer->clear();
    QStringList layers;
    if (MainMap && Page() >= 0)
        MainMap->GetLayersToComboBox(Page(), layers);
    cbLayer->addItems(layers);
    cbLayer->setCurrentIndex(layers.isEmpty() ? -1 : 0);
}

void TFormListBase::FormShow()
{
    if (cbPage) {
        QStringList pages;
        if (MainMap)
            MainMap->PagesToComboBox(pages);
        cbPage->clear();
        cbPage->addItems(pages);
        cbPage->setCurrentIndex(pages.isEmpty() ? -1 : 0);
    }
    if (cbLayer)
        FillLayers();
    FillList();
    LBClick();
}

void TFormListBase::cbPageChange()
{
    if (IsObjectList()) {
        LB->clear();
        if (cbPage->count() > 0) {
            FillLayers();
            FillList();
        }
    } else if (Page() >= 0) {
        FillList();
    }
    LBClick();
}

void TFormListBase::cbLayerChange()
{
    LB->clear();
    if (cbPage->count() > 0 && cbLayer->count() > 0)
        FillList();
    LBClick();
}

void TFormListBase::LBClick()
{
    TSelectedLines lines;
    TextListBoxSelectedLines(LB, lines);
    const bool one = lines.size() == 1;
    const bool any = !lines.empty();
    for (QPushButton* b : {btName, btProp, btUp, btDown})
        if (b)
            b->setEnabled(one);
    for (QPushButton* b : {btDel, btShow, btHide})
        if (b)
            b->setEnabled(any);
    // A new object needs a layer to go to: without one the editor would place it on
    // whatever layer the engine had current.
    btAdd->setEnabled(!IsObjectList() || Layer() >= 0);
}

void TFormListBase::keyPressEvent(QKeyEvent* e)
{
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (enter) {
        SetModalResult(mrOk);
        return;
    }
    if (e->key() == Qt::Key_Escape) {
        // The rasters window has no key handler of its own: Esc does nothing there.
        if (Kind != lkRastrs)
            SetModalResult(mrCancel);
        return;
    }
    TDialogBase::keyPressEvent(e);
}

TModalResult ShowListWindow(TListKind kind, QWidget* owner)
{
    TFormListBase* form = nullptr;
    switch (kind) {
    case lkPages: form = new TFormPages(owner); break;
    case lkLayers: form = new TFormLayers(owner); break;
    case lkRastrs: form = new TFormRastrs(owner); break;
    case lkTexts: form = new TFormTexts(owner); break;
    case lkPoints: form = new TFormPoints(owner); break;
    case lkLines: form = new TFormLines(owner); break;
    case lkPolygons: form = new TFormPolygons(owner); break;
    }
    const std::unique_ptr<TFormListBase> window(form);
    window->FormShow();
    return window->ShowModal();
}
