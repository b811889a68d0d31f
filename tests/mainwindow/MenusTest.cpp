// The main window's whole command surface as the user meets it: the menu bar left to
// right with every menu's items, separators, submenus and marks, the button panel by
// hint and the twelve pop-ups of the drawing surface, each compared with one table.
#include "SurfaceTestSupport.h"

#include "dialogs/file/UnitNewMapDialog.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Marks of a row.
enum : unsigned {
    Checked = 1,     // a check item, checked at start
    Unchecked = 2,   // a check item, unchecked at start
    Radio = 4,       // one of an exclusive group
    Hidden = 8,      // hidden until its pop-up shows it
    Disabled = 16,   // disabled at start
};

struct RItem {
    const char* Caption;   // "-" a separator
    unsigned Marks = 0;
    std::vector<RItem> Sub = {};
};

using TItems = std::vector<RItem>;

const TItems AddNode = {{"В линию сегмента"}, {"В середине сегмента"}};

struct RMenu {
    const char* Title;
    TItems Items;
};

// The menu bar, left to right; a title without items is an item of the bar itself.
const std::vector<RMenu> MenuBar = {
    {"Файл",
     {{"Создать план"}, {"Открыть план"}, {"Сохранить план"}, {"Сохранить план как..."}, {"-"},
      {"Открыть план, используя фильтр"}, {"Добавить файл"}, {"Сохранить в файл..."},
      {"Добавить из папки..."}, {"Сохранить в папку..."}, {"-"},
      {"Восстановление данных"}, {"-"},
      {"История", 0, {}}, {"Очистить историю"}, {"-"},
      {"Открыть растровый планшет"}, {"Сохранить растровый планшет"}, {"-"},
      {"Печать плана"}, {"Опции печати"}, {"Печатать заголовок", Checked}, {"-"},
      {"Импорт Sokkia SDR с COM порта ..."}, {"-"},
      {""}, {""}, {""}, {""}}},
    {"Вид",
     {{"Отображать условные знаки", Checked}, {"Показывать растры", Checked},
      {"Показывать границы планшетов", Checked}, {"Показывать координатную сетку", Checked},
      {"Показывать номенклатуру планшетов", Checked}, {"Выделять все узлы", Unchecked},
      {"Рамка планшета..."}, {"Пересчитать изображение"}, {"Вписать в окно"}, {"-"},
      {"Выбрать цвет фона"}, {"Цвет по умолчанию"},
      {"Использовать пользовательский цвет вектора", Unchecked},
      {"Выбрать пользовательский цвет вектора"}, {"-"}}},
    {"План",
     {{"Новый"}, {"Листы"}, {"Растры"}, {"Слои"}, {"-"},
      {"Преобразования", 0,
       {{"Трансформация"}, {"Замена семантики"}, {"Замена неизвестной семантики на синонимы"},
        {"Изменение высот отметок с номерами ..."}}},
      {"Расчеты", 0,
       {{"Вынос точек"}, {"выборка координат"}, {"Обратная геодезическая задача (классич.)"},
        {"Расчет дирекционного угла"}, {"Прямая геодезическая задача"}, {"Теодолитный ход"},
        {"Тахеометрическая съемка"}}},
      {"Прокладка горизонтали"},
      {"Высотная интерполяция", 0,
       {{"Фиксированное число точек"}, {"Фиксированное максимальное расстояние между точками"},
        {"Случайный разброс"}, {"проверить высоту пикета в заданном месте"}}},
      {"Построение окружности"}, {"-"},
      {"Удаление объектов"}, {"-"},
      {"Текстовые объекты"}, {"Точечные объекты"}, {"Линейные объекты"}, {"Площадные объекты"}, {"-"},
      {"Загрузить растры"}, {"Выгрузить растры", Disabled}, {"-"},
      {"Открыть и привязать растр"}, {"Вставить растр по курсору"}, {"-"},
      {"Параметры создания объектов"}, {"-"},
      {"командный процессор"}}},
    {"Поиск", {{"Планшет", 0, {{"по координатам"}, {"по номенклатуре"}}}, {"Надпись"}}},
    {"00:00", {}},
    {"Настройка", {}},
    {"Справка", {{"О программе"}, {"Горячие клавиши"}, {"Общие сведения"}}},
    {"Режим не выбран",
     {{"выбор вида"}, {"сдвиг вида"}, {"выбор объекта"}, {"Создание текстовых объектов"},
      {"Создание точечных объектов"}, {"Создание линейных объектов"},
      {"Создание площадных объектов"}, {"Создание отметок"}, {"Прокладка горизонтали"},
      {"Создание окружности"}}},
    {"лист:", {}},
};

// The pop-ups of the drawing surface. The attribute items of the polygon under
// construction show the attributes of its next node, all 0 at start: one mark a group.
const std::vector<RMenu> Popups = {
    {"PMCreatePolygon",
     {{"Закончить полигон"}, {"-"}, {"Основной сегмент", Checked | Radio},
      {"Специальный сегмент тип I", Unchecked | Radio}, {"Специальный сегмент тип II", Unchecked | Radio},
      {"-"}, {"Видимый сегмент", Checked | Radio}, {"Скрытый сегмент", Unchecked | Radio}, {"-"},
      {"Линия к узлу есть", Checked | Radio}, {"Линия к узлу нет", Unchecked | Radio}, {"-"},
      {"Рисунок в узле есть", Checked | Radio}, {"Рисунок в узле нет", Unchecked | Radio}}},
    {"PMCreateLine", {{"Закончить линию"}, {"Закончить полосу"}}},
    {"PMRastr",
     {{"Свойства растра"}, {"Загрузить растр"}, {"Выгрузить растр"}, {"Привязать растр"}, {"-"},
      {"Удалить растр"}}},
    {"PMPoint",
     {{"Свойства объекта"}, {"-"}, {"Удалить объект"}, {"-"}, {"Копировать объект"}, {"-"},
      {"Превратить пикет в отметку", Hidden}}},
    {"PMLine",
     {{"Свойства объекта"}, {"Добавить узел", 0, AddNode}, {"Инвертировать линию"},
      {"Замкнуть линию"}, {"Разрезать линию"}, {"Изменить длину линии", Hidden},
      {"Изменить угол линии", Hidden}, {"-"}, {"Установить кривую для всех сегментов"},
      {"Установить ломаную прямую для всех сегментов"}, {"-"}, {"Удалить объект"}, {"-"},
      {"Копировать объект"}}},
    {"PMPolygon",
     {{"Свойства объекта"}, {"-"}, {"Установить свойства сегментов по умолчанию"},
      {"Инвертировать полигон"}, {"-"}, {"Показать все сегмены"}, {"Скрыть все сегменты"}, {"-"},
      {"Удалить объект"}, {"-"}, {"Копировать объект"}}},
    {"PMText", {{"Свойства надписи"}, {"-"}, {"Удалить надпись"}, {"-"}, {"Копировать надпись"}}},
    {"PMLineNode",
     {{"Свойства узла"}, {"-"}, {"Добавить узел"}, {"-"}, {"Удалить узел"}, {"-"},
      {"Объединить", Hidden}}},
    {"PMLineText",
     {{"Показать автотекст", Unchecked | Radio}, {"Скрыть автотекст", Unchecked | Radio},
      {"По умолчанию", Unchecked | Radio}}},
    {"PMPolygonNode",
     {{"Свойства узла"}, {"-"}, {"Линию к узлу показать", Checked | Radio},
      {"Линию к узлу скрыть", Unchecked | Radio}, {"-"}, {"Рисунок в узле показать", Checked | Radio},
      {"Рисунок в узле скрыть", Unchecked | Radio}, {"-"}, {"Удалить узел"}}},
    {"PMPolygonSegm",
     {{"Основной сегмент", Checked | Radio}, {"Специальный сегмент тип I", Unchecked | Radio},
      {"Специальный сегмент тип II", Unchecked | Radio}, {"-"}, {"Видимый сегмент", Checked | Radio},
      {"Скытый сегмент", Unchecked | Radio}, {"-"}, {"Добавить узел", 0, AddNode}}},
    {"PMPolygonText", {{"Показать автотекст"}, {"Скрыть автотекст"}, {"автотекст по умолчанию"}}},
};

// The button panel left to right by hint; "#" the count of found objects, "=" the
// selection box.
const std::vector<RItem> Panel = {
    {"Печать"}, {"Сохранить план"}, {"Открыть план"}, {"Создать план"},
    {"Сохранить область плана в выбраном формате"}, {"#"},
    {"Показать выделенный объект", Disabled}, {"Убрать выделение объектов", Disabled},
    {"Рамка планшета"}, {"Открыть растровый планшет"}, {"Сохранить растровый планшет"},
    {"Сохранить план в выбранном формате"}, {"Штамп"}, {"Подписи координат"},
    {"отменить", Disabled}, {"вернуть", Disabled}, {"Режим колеса мыши"}, {"."}, {"="},
};

QString Marks(unsigned marks)
{
    QString s;
    if (marks & Checked)
        s += QStringLiteral(" [x]");
    if (marks & Unchecked)
        s += QStringLiteral(" [ ]");
    if (marks & Radio)
        s += QStringLiteral(" (radio)");
    if (marks & Hidden)
        s += QStringLiteral(" (hidden)");
    if (marks & Disabled)
        s += QStringLiteral(" (disabled)");
    return s;
}

// One line per item, submenus indented below their item.
void Describe(const QMenu& menu, const QString& indent, QStringList& lines)
{
    for (const QAction* a : menu.actions()) {
        if (a->isSeparator()) {
            lines << indent + QStringLiteral("-");
            continue;
        }
        unsigned marks = 0;
        if (a->isCheckable())
            marks |= a->isChecked() ? Checked : Unchecked;
        if (a->actionGroup() && a->actionGroup()->isExclusive())
            marks |= Radio;
        if (!a->isVisible())
            marks |= Hidden;
        else if (!a->isEnabled())
            marks |= Disabled;
        lines << indent + a->text() + Marks(marks);
        if (a->menu())
            Describe(*a->menu(), indent + QStringLiteral("    "), lines);
    }
}

// The table's lines, in the same form.
void Describe(const TItems& items, const QString& indent, QStringList& lines)
{
    for (const RItem& item : items) {
        lines << indent + QString::fromUtf8(item.Caption) + Marks(item.Marks);
        Describe(item.Sub, indent + QStringLiteral("    "), lines);
    }
}

QString Joined(const QStringList& lines) { return lines.join(QLatin1Char('\n')); }

// Every action of the window's menus and pop-ups, submenus included.
void Collect(const QMenu& menu, std::vector<QAction*>& all)
{
    for (QAction* a : menu.actions()) {
        all.push_back(a);
        if (a->menu())
            Collect(*a->menu(), all);
    }
}

std::vector<QAction*> AllActions(TFormMap& form)
{
    std::vector<QAction*> all;
    for (QAction* a : form.menuBar()->actions()) {
        all.push_back(a);
        if (a->menu())
            Collect(*a->menu(), all);
    }
    for (const RMenu& popup : Popups)
        if (auto* menu = form.findChild<QMenu*>(QString::fromLatin1(popup.Title)))
            Collect(*menu, all);
    return all;
}

QAction* ByName(TFormMap& form, const char* name)
{
    auto* a = form.findChild<QAction*>(QLatin1String(name));
    EXPECT_TRUE(a) << name;
    return a;
}

QByteArray PlanBytes(const QString& file)
{
    MainMap->StrToComm(QStringLiteral("mcSaveMap=<%1><New>").arg(file));
    return FileBytes(file);
}

}  // namespace

TEST(Menus, TheMenuBarLeftToRightWithEveryMenuAsListed)
{
    TMainWindowRun run;
    run.Start(false);   // the destination is not written into "лист:" yet
    TFormMap& form = run.Form();
    const QList<QAction*> bar = form.menuBar()->actions();
    ASSERT_EQ(bar.size(), qsizetype(MenuBar.size()));
    for (size_t i = 0; i < MenuBar.size(); ++i) {
        const RMenu& expected = MenuBar[i];
        SCOPED_TRACE(expected.Title);
        QAction* top = bar[qsizetype(i)];
        EXPECT_TEXT_EQ(top->text(), QString::fromUtf8(expected.Title));
        EXPECT_EQ(top->menu() != nullptr, !expected.Items.empty());
        if (!top->menu())
            continue;
        QStringList built, listed;
        Describe(*top->menu(), QString(), built);
        Describe(expected.Items, QString(), listed);
        EXPECT_TEXT_EQ(Joined(built), Joined(listed));
    }
    form.TimerCloseStartTimer();
    EXPECT_TEXT_EQ(form.PageInf->text(), QStringLiteral("[ЛИСТ=авто;  СЛОЙ=авто]"));
}

TEST(Menus, TheTwelvePopupsOfTheSurfaceAsListed)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    const QMenu* const made[] = {form.PMCreatePolygon, form.PMCreateLine, form.PMRastr,      form.PMPoint,
                                 form.PMLine,          form.PMPolygon,    form.PMText,       form.PMLineNode,
                                 form.PMLineText,      form.PMPolygonNode, form.PMPolygonSegm, form.PMPolygonText};
    ASSERT_EQ(std::size(made), Popups.size());
    for (size_t i = 0; i < Popups.size(); ++i) {
        SCOPED_TRACE(Popups[i].Title);
        ASSERT_TRUE(made[i]);
        EXPECT_EQ(made[i]->objectName(), QLatin1String(Popups[i].Title));
        QStringList built, listed;
        Describe(*made[i], QString(), built);
        Describe(Popups[i].Items, QString(), listed);
        EXPECT_TEXT_EQ(Joined(built), Joined(listed));
    }
}

TEST(Menus, TheButtonPanelLeftToRightByHint)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    auto* panel = form.findChild<QWidget*>(QStringLiteral("ButtonPanel"));
    ASSERT_TRUE(panel);
    QStringList built;
    for (int i = 0; i < panel->layout()->count(); ++i) {
        QWidget* w = panel->layout()->itemAt(i)->widget();
        if (!w)
            continue;
        QString line;
        if (w == form.FoundCount)
            line = QStringLiteral("#");
        else if (qobject_cast<QComboBox*>(w))
            line = QStringLiteral("=");
        else if (qobject_cast<QToolButton*>(w))
            line = w->toolTip() + Marks(w->isEnabled() ? 0u : unsigned(Disabled));
        else
            line = QStringLiteral("? ") + QString::fromUtf8(w->metaObject()->className());
        built << line;
    }
    QStringList listed;
    for (const RItem& item : Panel)
        listed << QString::fromUtf8(item.Caption) + Marks(item.Marks);
    EXPECT_TEXT_EQ(Joined(built), Joined(listed));
    EXPECT_EQ(built.last(), QStringLiteral("="));   // the selection box closes the panel
}

TEST(Menus, NoItemHasAShortcutOrAMnemonic)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    // A plan and a layer whose names hold "&" reach the history and the destination item.
    const QString plan = run.Folder() + QStringLiteral("R&D.500");
    MainMap->StrToComm(QStringLiteral("mcSaveMap=<%1><New>").arg(plan));
    DataFileName = plan;
    form.AddPlanToHistory();
    form.DestAutoLayer = 0;
    form.DestLayerName = QStringLiteral("Дома & сараи");
    form.ShowObjectDestination();
    std::vector<QAction*> all = AllActions(form);
    for (QAction* a : form.NHistory->actions())
        all.push_back(a);
    for (QAction* a : all) {
        SCOPED_TRACE(a->text().toStdString());
        EXPECT_TRUE(a->shortcut().isEmpty());
        EXPECT_FALSE(QString(a->text()).remove(QStringLiteral("&&")).contains(QLatin1Char('&')));
    }
    EXPECT_TEXT_EQ(form.NHistory->actions().last()->text(),
                   QStringLiteral("R&&D.500 [") + QDir(run.Folder()).absolutePath() + QLatin1Char(']'));
    EXPECT_TEXT_EQ(form.PageInf->text(), QStringLiteral("[ЛИСТ=авто;  СЛОЙ=Дома && сараи]"));
}

TEST(Menus, TheBlankFileItemsAndTheSheetFrameItemDoNothing)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    RunCommands({"mcNewPage=<Лист 1>", "mcNewLayer=<0><Дома>",
                 "mcNewPoint=<0><0><ТОЧ><100><200><2><0><><0><0>"});
    const QString first = run.Folder() + QStringLiteral("до.500");
    const QByteArray before = PlanBytes(first);
    const int commands = int(CommandLog->size());
    const TMouseMode mode = form.MouseMode;
    const QString title = form.windowTitle();
    for (const char* name : {"NFileBlank1", "NFileBlank2", "NFileBlank3", "NFileBlank4", "NViewSheetFrame"}) {
        SCOPED_TRACE(name);
        QAction* a = ByName(form, name);
        ASSERT_TRUE(a);
        EXPECT_TRUE(a->isEnabled());
        a->trigger();
        EXPECT_EQ(int(CommandLog->size()), commands);
        EXPECT_EQ(form.MouseMode, mode);
        EXPECT_EQ(form.windowTitle(), title);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    EXPECT_EQ(PlanBytes(run.Folder() + QStringLiteral("после.500")), before);
}

TEST(Menus, NewInThePlanMenuCreatePlanAndItsButtonMakeTheSamePlan)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    const auto ways = std::vector<std::pair<const char*, std::function<void()>>>{
        {"Файл: Создать план", [&] { ByName(form, "NCreatePlan")->trigger(); }},
        {"План: Новый", [&] { ByName(form, "NNewPlan")->trigger(); }},
        {"кнопка Создать план", [&] { form.PanelButtons.value(QStringLiteral("Создать план"))->click(); }},
    };
    int scale = 1000;
    for (const auto& [way, act] : ways) {
        SCOPED_TRACE(way);
        RunCommands({"mcNewPage=<старый>"});
        TModalScript script;
        script.Then("TFormNewMapDialog", [scale](QWidget* w) {
            auto* d = static_cast<TFormNewMapDialog*>(w);
            d->MaskEdit1->setText(QStringLiteral("1:%1").arg(scale));
            Enter(d->MaskEdit1);
        });
        act();
        EXPECT_TRUE(script.Done());
        EXPECT_EQ(MainMap->MapProp.Scale, scale);
        EXPECT_EQ(MainMap->GetPagesCount(), 0);
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Free Velmorant 6 - план новый"));
        EXPECT_TRUE(DataFileName.isEmpty());
        EXPECT_EQ(UndoStep, 0);
        scale += 1000;
    }
}

TEST(Menus, MenusAndPanelAsTheUserSeesThem)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    SaveGrab(*form.menuBar(), QStringLiteral("menus-bar"));
    SaveGrab(*form.findChild<QWidget*>(QStringLiteral("ButtonPanel")), QStringLiteral("menus-panel"));
    int n = 0;
    for (QAction* a : form.menuBar()->actions())
        if (QMenu* menu = a->menu()) {
            menu->adjustSize();
            const QString file = SaveGrab(*menu, QStringLiteral("menus-%1").arg(++n));
            // Nothing cut: the menu is as wide as its widest item asks.
            EXPECT_GE(menu->width(), menu->sizeHint().width()) << file.toStdString();
        }
    for (QMenu* menu : form.findChildren<QMenu*>())
        if (menu->objectName().startsWith(QLatin1String("PM"))) {
            menu->adjustSize();
            SaveGrab(*menu, QStringLiteral("menus-") + menu->objectName());
        }
}
