// The classifier window's controls: the two groups of pages, the mode and code panels
// below them and "Готово". The pages of the work selection and of the three editors
// carry their controls here; their steps live with the pages.
#include "editors/classifier/UnitSemDialog.h"

#include "controls/ExCheckListBox.h"
#include "controls/TextListBox.h"
#include "editors/classifier/TabRows.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

const std::array<RSemExtButton, SemExtCount> SemExtButtons = {{
    {seM, "М", "btM", "Материал"},
    {seS, "С", "btS", "Состояние"},
    {seGV, "ГВ", "btGV", "Высота"},
    {seGR, "ГР", "btGR", "Диаметр"},
    {seGT, "ГТ", "btGT", "Толщина"},
    {seGG, "ГГ", "btGG", "Глубина"},
    {seGP, "ГП", "btGP", "Площадь"},
    {seGH, "ГШ", "btGH", "Ширина"},
    {seGD, "ГД", "btGD", "Длина"},
    {seGS, "ГС", "btGS", "Сечение"},
    {seGO, "ГО", "btGO", "Объем"},
    {seTG, "ТГ", "btTG", "Грузоподъемность"},
    {seTS, "ТС", "btTS", "Скорость"},
    {seTR, "ТР", "btTR", "Дебит"},
    {seTP, "ТП", "btTP", "Направление"},
    {seTD, "ТД", "btTD", "Давление"},
    {seTN, "ТН", "btTN", "Напряжение"},
    {seTK, "ТК", "btTK", "Количество"},
    {seID, "ИД", "btID", "Дата"},
    {seII, "ИИ", "btII", "Имя собственное"},
    {seIV, "ИВ", "btIV", "Отметка"},
    {seIT, "ИТ", "btIT", "Надпись"},
    {seIN, "ИН", "btIN", "Номер"},
}};

// The tab captions of the extended value lists, in kind order.
static const char* const ExtTabCaptions[SemExtCount] = {
    "Материал (М)",    "Состояние (С)",  "Высота (ГВ)",      "Диаметр (ГР)",
    "Толщина (ГТ)",    "Глубина (ГГ)",   "Площадь (ГП)",     "Ширина (ГШ)",
    "Длина (ГД)",      "Сечение (ГС)",   "Объем (ГО)",       "Грузоподьемность (ТГ)",
    "Скорость (ТС)",   "Дебит (ТР)",     "Направление (ТП)", "Давление (ТД)",
    "Напряжение (ТН)", "Количество (ТК)", "Дата (ИД)",       "Имя (ИИ)",
    "Отметка (ИВ)",    "Надпись (ИТ)",   "Номер (ИН)"};

namespace {

template <class W>
W* Named(W* w, const char* name)
{
    w->setObjectName(QString::fromUtf8(name));
    return w;
}

// An object box as the classifier shows them: typed text, no automatic completion (it
// would complete in the list's letter case while the box types upper case).
QComboBox* ObjectBox(QWidget* parent, const char* name, const QString& hint, int dropLines)
{
    auto* box = Named(new QComboBox(parent), name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setMaxVisibleItems(dropLines);
    box->setToolTip(hint);
    // Typed letters appear in upper case; names chosen from the list keep theirs.
    QLineEdit* edit = box->lineEdit();
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        const QString upper = text.toUpper();
        if (upper != text) {
            const int cursor = edit->cursorPosition();
            edit->setText(upper);
            edit->setCursorPosition(cursor);
        }
    });
    return box;
}

QToolButton* FlatButton(QWidget* parent, const char* name, const QString& caption,
                        bool enabled = true)
{
    auto* b = Named(new QToolButton(parent), name);
    b->setText(caption);
    b->setToolTip(caption);
    b->setAutoRaise(true);
    b->setEnabled(enabled);
    return b;
}

QLabel* Caption(const QString& text, QWidget* parent) { return new QLabel(text, parent); }

// An object box under its caption, across the first columns of the grid from row on.
QComboBox* PlaceObjectBox(QGridLayout* grid, const char* name, const QString& caption, int row,
                          int columns)
{
    QWidget* page = grid->parentWidget();
    grid->addWidget(Caption(caption, page), row, 0, 1, columns);
    QComboBox* box = ObjectBox(page, name, QStringLiteral("Выбор объекта"), 25);
    grid->addWidget(box, row + 1, 0, 1, columns);
    return box;
}

// A page of the window laid out on a grid.
QGridLayout* NewPage(QWidget*& page, const char* name)
{
    page = Named(new QWidget, name);
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(6, 6, 6, 6);
    return grid;
}

// A row of controls from the left, and one more at the right end.
QHBoxLayout* Row(std::initializer_list<QWidget*> left, QWidget* right = nullptr)
{
    auto* row = new QHBoxLayout;
    for (QWidget* w : left)
        row->addWidget(w);
    row->addStretch(1);
    if (right)
        row->addWidget(right);
    return row;
}

QPlainTextEdit* Memo(QWidget* parent, const char* name, bool readOnly)
{
    auto* m = Named(new QPlainTextEdit(parent), name);
    m->setReadOnly(readOnly);
    return m;
}

}  // namespace

void TFormSemDialog::BuildWindow()
{
    setWindowTitle(QStringLiteral("Классификатор семантики"));
    setObjectName(QStringLiteral("FormSemDialog"));

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(6, 6, 6, 6);
    root->setSpacing(6);

    pcMain = Named(new QTabWidget(this), "pcMain");
    tsSelect = Named(new QWidget, "tsSelect");
    tsEdit = Named(new QWidget, "tsEdit");
    pcMain->addTab(tsSelect, QStringLiteral("Выбор семантики"));
    pcMain->addTab(tsEdit, QStringLiteral("Редактор классификатора"));
    root->addWidget(pcMain, 1);

    auto* selectLayout = new QVBoxLayout(tsSelect);
    selectLayout->setContentsMargins(4, 4, 4, 4);
    pcSelectSem1 = Named(new QTabWidget(tsSelect), "pcSelectSem1");
    pcSelectSem1->setDocumentMode(true);   // flat tabs
    tsSTD = BuildStandardPage();
    tsWRK = BuildWorkPage();
    pcSelectSem1->addTab(tsSTD, QStringLiteral("стандартная"));
    pcSelectSem1->addTab(tsWRK, QStringLiteral("рабочая"));
    selectLayout->addWidget(pcSelectSem1);

    auto* editLayout = new QVBoxLayout(tsEdit);
    editLayout->setContentsMargins(4, 4, 4, 4);
    pcSelectSem2 = Named(new QTabWidget(tsEdit), "pcSelectSem2");
    tsEditSTD = BuildStandardEditorPage();
    tsEditWrk = BuildWorkEditorPage();
    tsEditExt = BuildExtendedPage();
    pcSelectSem2->addTab(tsEditSTD, QStringLiteral("стандартная"));
    pcSelectSem2->addTab(tsEditWrk, QStringLiteral("рабочая"));
    pcSelectSem2->addTab(tsEditExt, QStringLiteral("расширенная"));
    editLayout->addWidget(pcSelectSem2);

    // Below the pages: the mode, the code and "Готово".
    auto* bottom = new QHBoxLayout;
    Panel2 = Named(new QGroupBox(QStringLiteral("режим"), this), "Panel2");
    auto* modeLayout = new QHBoxLayout(Panel2);
    modeLayout->setContentsMargins(6, 2, 6, 4);
    Panel1 = Named(new QLabel(Panel2), "Panel1");
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setMinimumWidth(fontMetrics().horizontalAdvance(
                                QStringLiteral("Редактор списков расширенной семантики")) + 12);
    modeLayout->addWidget(Panel1);
    bottom->addWidget(Panel2);

    PanelSem = Named(new TSemPanel(this), "PanelSem");
    PanelSem->OnClick = [this] { PanelSemClick(); };
    bottom->addWidget(PanelSem, 1);

    BitBtnOK = Named(new QPushButton(QStringLiteral("Готово"), this), "BitBtnOK");
    BitBtnOK->setDefault(true);
    BitBtnOK->setMinimumWidth(90);
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { BitBtnOKClick(); });
    bottom->addWidget(BitBtnOK);
    root->addLayout(bottom);

    for (QTabWidget* pages : {pcMain, pcSelectSem1, pcSelectSem2})
        connect(pages, &QTabWidget::currentChanged, this, [this] { HoldPages(); });

    // Only "Готово" is a default button; the others would take Enter themselves.
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b != BitBtnOK)
            b->setAutoDefault(false);

    setFixedSize(760, 600);
}

QWidget* TFormSemDialog::BuildStandardPage()
{
    QWidget* page = nullptr;
    QGridLayout* grid = NewPage(page, "tsSTD");

    ComboBoxObject = PlaceObjectBox(grid, "ComboBoxObject", QStringLiteral("Объект"), 0, 3);
    connect(ComboBoxObject, &QComboBox::editTextChanged, this, [this] {
        if (!Filling)
            LoadFKNs02();
    });

    const char* const names[3] = {"F_List", "K_List", "N_List"};
    const char* const letters[3] = {"Ф", "К", "Н"};
    const char* const hints[3] = {"Выбор свойств (Ф)", "Выбор свойств (К)", "Выбор свойств (Н)"};
    TExCheckListBox** lists[3] = {&F_List, &K_List, &N_List};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(Caption(QString::fromUtf8(letters[i]), page), 2, i);
        auto* list = Named(new TExCheckListBox(page), names[i]);
        list->setToolTip(QString::fromUtf8(hints[i]));
        list->OnClickCheck = [this, list] { CheckListClick(list); };
        grid->addWidget(list, 3, i);
        *lists[i] = list;
    }
    grid->setRowStretch(3, 3);

    Memo1 = Memo(page, "Memo1", true);
    grid->addWidget(Memo1, 4, 0, 1, 3);
    grid->setRowStretch(4, 1);
    return page;
}

QWidget* TFormSemDialog::BuildAddButtons(std::array<QToolButton*, SemExtCount>& buttons,
                                         const char* suffix)
{
    auto* bar = new QWidget;
    auto* grid = new QGridLayout(bar);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    grid->setAlignment(Qt::AlignTop);   // the buttons shown start under the caption
    constexpr int columns = 6;
    for (int i = 0; i < SemExtCount; ++i) {
        const RSemExtButton& e = SemExtButtons[i];
        const QByteArray name = QByteArray(e.Name) + suffix;
        auto* b = FlatButton(bar, name.constData(), QString::fromUtf8(e.Caption));
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        grid->addWidget(b, i / columns, i % columns);
        buttons[i] = b;
    }
    // The room of all the buttons, kept while the page shows only some of them.
    bar->setMinimumHeight(grid->sizeHint().height());
    return bar;
}

QWidget* TFormSemDialog::BuildWorkPage()
{
    QWidget* page = nullptr;
    QGridLayout* grid = NewPage(page, "tsWRK");

    grid->addWidget(Caption(QStringLiteral("Объект рабочей семантики"), page), 0, 0);
    auto* boxRow = new QHBoxLayout;
    cbWorkSemObj = ObjectBox(page, "cbWorkSemObj", QStringLiteral("Выбор объекта"), 25);
    boxRow->addWidget(cbWorkSemObj, 1);
    SpeedButton1 = FlatButton(page, "SpeedButton1", QStringLiteral("Шрифт"));
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    boxRow->addWidget(SpeedButton1);
    grid->addLayout(boxRow, 1, 0, 1, 2);

    auto* kinds = new QGroupBox(QStringLiteral("Локализация объекта"), page);
    auto* kindsLayout = new QGridLayout(kinds);
    rbPoint01 = Named(new QRadioButton(QStringLiteral("Точечный"), kinds), "rbPoint01");
    rbLine01 = Named(new QRadioButton(QStringLiteral("Линейный"), kinds), "rbLine01");
    rbPolygon01 = Named(new QRadioButton(QStringLiteral("Площадной"), kinds), "rbPolygon01");
    rbPoint01->setChecked(true);
    lnumpoints = Named(new QLabel(kinds), "lnumpoints");
    lnumLines = Named(new QLabel(kinds), "lnumLines");
    lnumpolygons = Named(new QLabel(kinds), "lnumpolygons");
    kindsLayout->addWidget(rbPoint01, 0, 0);
    kindsLayout->addWidget(lnumpoints, 0, 1);
    kindsLayout->addWidget(rbLine01, 1, 0);
    kindsLayout->addWidget(lnumLines, 1, 1);
    kindsLayout->addWidget(rbPolygon01, 2, 0);
    kindsLayout->addWidget(lnumpolygons, 2, 1);
    grid->addWidget(kinds, 2, 0, Qt::AlignTop);

    auto* chosen = new QVBoxLayout;
    chosen->addWidget(Caption(QStringLiteral("Выбранные свойства"), page));
    lbWorkSemSv = Named(new TTextListBox(page), "lbWorkSemSv");
    chosen->addWidget(lbWorkSemSv, 1);
    sbDelAll01 = FlatButton(page, "sbDelAll01", QStringLiteral("Удалить все свойства"));
    sbDelItem01 = FlatButton(page, "sbDelItem01", QStringLiteral("Удалить выделенное свойство"));
    sbEditItem01 =
        FlatButton(page, "sbEditItem01", QStringLiteral("Изменить выделенное свойство"), false);
    chosen->addLayout(Row({sbDelAll01, sbDelItem01, sbEditItem01}));
    grid->addLayout(chosen, 2, 1, 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);

    grid->addWidget(Caption(QStringLiteral("Добавить свойcтво:"), page), 4, 0, 1, 2);
    ToolBar1 = Named(BuildAddButtons(AddButtons1, ""), "ToolBar1");
    grid->addWidget(ToolBar1, 5, 0, 1, 2);
    return page;
}

QWidget* TFormSemDialog::BuildStandardEditorPage()
{
    QWidget* page = nullptr;
    QGridLayout* grid = NewPage(page, "tsEditSTD");

    cbEdtStdObj = PlaceObjectBox(grid, "cbEdtStdObj", QStringLiteral("Объект"), 0, 3);

    sbAddObjStd = FlatButton(page, "sbAddObjStd", QStringLiteral("Добавить объект"));
    sbEditStdObj = FlatButton(page, "sbEditStdObj",
                              QStringLiteral("Изменить название и код выбранного объекта"));
    sbDelStdObj = FlatButton(page, "sbDelStdObj", QStringLiteral("Удалить выбранный объект"));
    auto* objButtons = Row({sbAddObjStd, sbEditStdObj, sbDelStdObj});
    grid->addLayout(objButtons, 2, 0, 1, 3);

    const char* const names[3] = {"lbEdtStdF", "lbEdtStdK", "lbEdtStdN"};
    const char* const captions[3] = {"Свойства Ф (функциональные или природные качества)",
                                     "Свойства К (особенности конструкции или природного строения)",
                                     "Свойства Н (назначение)"};
    TTextListBox** lists[3] = {&lbEdtStdF, &lbEdtStdK, &lbEdtStdN};
    for (int i = 0; i < 3; ++i) {
        auto* label = Caption(QString::fromUtf8(captions[i]), page);
        label->setWordWrap(true);
        grid->addWidget(label, 3, i);
        *lists[i] = Named(new TTextListBox(page), names[i]);
        grid->addWidget(*lists[i], 4, i);
    }
    grid->setRowStretch(4, 1);

    sbAddSemStd = FlatButton(page, "sbAddSemStd", QStringLiteral("Добавить свойство"));
    sbEdtSemStd = FlatButton(page, "sbEdtSemStd", QStringLiteral("Изменить выделенное свойство"));
    sbDelSemStd = FlatButton(page, "sbDelSemStd", QStringLiteral("Удалить выделенное свойство"));
    sbSaveSTD = FlatButton(page, "sbSaveSTD", QStringLiteral("Сохранить изменения"), false);
    auto* semButtons = Row({sbAddSemStd, sbEdtSemStd, sbDelSemStd}, sbSaveSTD);
    grid->addLayout(semButtons, 5, 0, 1, 3);
    return page;
}

QWidget* TFormSemDialog::BuildWorkEditorPage()
{
    QWidget* page = nullptr;
    QGridLayout* grid = NewPage(page, "tsEditWrk");

    rbPoint02 = Named(new QRadioButton(QStringLiteral("Точечный"), page), "rbPoint02");
    rbLine02 = Named(new QRadioButton(QStringLiteral("Линейный"), page), "rbLine02");
    rbPolygon02 = Named(new QRadioButton(QStringLiteral("Площадной"), page), "rbPolygon02");
    rbPoint02->setChecked(true);
    auto* kinds = Row({rbPoint02, rbLine02, rbPolygon02});
    grid->addLayout(kinds, 0, 0, 1, 2);

    cbObj = PlaceObjectBox(grid, "cbObj", QStringLiteral("Объект рабочей семантики"), 1, 2);

    sbAddWrkObj = FlatButton(page, "sbAddWrkObj", QStringLiteral("Добавить объект"));
    sbEdtWrkObj = FlatButton(page, "sbEdtWrkObj",
                             QStringLiteral("Изменить название и код выбранного объекта"));
    sbDelWrkObj = FlatButton(page, "sbDelWrkObj", QStringLiteral("Удалить выбранный объект"));
    sbSaveWrkObj = FlatButton(page, "sbSaveWrkObj", QStringLiteral("Сохранить изменения"), false);
    auto* objButtons = Row({sbAddWrkObj, sbEdtWrkObj, sbDelWrkObj}, sbSaveWrkObj);
    grid->addLayout(objButtons, 3, 0, 1, 2);

    grid->addWidget(Caption(QStringLiteral("Расшифровка кода стандартной семантики"), page), 4, 0);
    mStdDecode = Memo(page, "mStdDecode", true);
    grid->addWidget(mStdDecode, 5, 0);
    grid->addWidget(
        Caption(QStringLiteral("Доступные свойства для данного объекта рабочей семантики"), page), 4,
        1);
    lbWorkSemSv2 = Named(new TTextListBox(page), "lbWorkSemSv2");
    grid->addWidget(lbWorkSemSv2, 5, 1);
    grid->setRowStretch(5, 1);

    sbEditItem02 =
        FlatButton(page, "sbEditItem02", QStringLiteral("Изменить выделенное свойство"), false);
    sbDelItem02 =
        FlatButton(page, "sbDelItem02", QStringLiteral("Удалить выделенное свойство"), false);
    sbDelAll02 = FlatButton(page, "sbDelAll02", QStringLiteral("Удалить все свойства"), false);
    grid->addLayout(Row({sbEditItem02, sbDelItem02, sbDelAll02}), 6, 0, 1, 2);

    ToolBar2 = Named(BuildAddButtons(AddButtons2, "2"), "ToolBar2");
    grid->addWidget(ToolBar2, 7, 0, 1, 2);
    return page;
}

QWidget* TFormSemDialog::BuildExtendedPage()
{
    auto* page = Named(new QWidget, "tsEditExt");
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);

    auto* head = new QHBoxLayout;
    head->addWidget(Caption(QStringLiteral("Список возможных значений для выбранного свойства"), page),
                    1);
    sbSaveExt = FlatButton(page, "sbSaveExt", QStringLiteral("Сохранить изменения"), false);
    head->addWidget(sbSaveExt);
    layout->addLayout(head);

    mExt = Memo(page, "mExt", false);
    mExt->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(mExt, 1);

    pcSelExt = Named(new TTabRows(5, page), "pcSelExt");
    for (const char* caption : ExtTabCaptions)
        pcSelExt->addTab(QString::fromUtf8(caption));
    layout->addWidget(pcSelExt);
    return page;
}
