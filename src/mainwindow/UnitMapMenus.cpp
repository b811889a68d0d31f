// The main menu in its final order. Each family of commands adds its items where its
// group goes at the time it is connected, so the order depends on who came first; this
// pass runs once every family is connected and puts the items of "Файл", "Вид", "План"
// and the mode menu where the menu shows them, by object name. An item the table does
// not know stays right after the item it followed, so nothing added is ever lost.
#include "mainwindow/UnitMap.h"

#include <QAction>
#include <QHash>
#include <QMenu>
#include <initializer_list>
#include <vector>

namespace {

// One place of a menu: the item's object name and its caption, or "-" for a separator.
// The caption names an item that was built without an object name.
struct TMenuSlot {
    const char* Name;
    const char* Caption;
};

const std::initializer_list<TMenuSlot> FileSlots = {
    {"NCreatePlan", "Создать план"},
    {"NOpenPlan", "Открыть план"},
    {"NSavePlan", "Сохранить план"},
    {"NSavePlanAs", "Сохранить план как..."},
    {"-", nullptr},
    {"NOpenPlanUseFilter", "Открыть план, используя фильтр"},
    {"NAddFile", "Добавить файл"},
    {"NSaveToFile", "Сохранить в файл..."},
    {"N61", "Добавить из папки..."},
    {"N59", "Сохранить в папку..."},
    {"-", nullptr},
    {"N49", "Восстановление данных"},
    {"-", nullptr},
    {"NHistory", "История"},
    {"NClearHistory", "Очистить историю"},
    {"-", nullptr},
    {"NOpenRasterPlanshet", "Открыть растровый планшет"},
    {"NSaveRasterPlanshet", "Сохранить растровый планшет"},
    {"-", nullptr},
    {"NPrintPlan", "Печать плана"},
    {"NPrintOptions", "Опции печати"},
    {"NPrintCaption", "Печатать заголовок"},
    {"-", nullptr},
    {"SDRCOM1", "Импорт Sokkia SDR с COM порта ..."},
    {"-", nullptr},
    {"NFileBlank1", nullptr},
    {"NFileBlank2", nullptr},
    {"NFileBlank3", nullptr},
    {"NFileBlank4", nullptr},
};

const std::initializer_list<TMenuSlot> ViewSlots = {
    {"NShowSymbols", "Отображать условные знаки"},
    {"NShowRastrs", "Показывать растры"},
    {"NShowPlansBorders", "Показывать границы планшетов"},
    {"NShowCoordCross", "Показывать координатную сетку"},
    {"NShowPlanNom", "Показывать номенклатуру планшетов"},
    {"NShowNodes", "Выделять все узлы"},
    {"NViewSheetFrame", "Рамка планшета..."},
    {"NReRender", "Пересчитать изображение"},
    {"NShowAll", "Вписать в окно"},
    {"-", nullptr},
    {"NPlanColorSelect", "Выбрать цвет фона"},
    {"NPlanColorDefault", "Цвет по умолчанию"},
    {"N66", "Использовать пользовательский цвет вектора"},
    {"N67", "Выбрать пользовательский цвет вектора"},
    {"-", nullptr},
};

const std::initializer_list<TMenuSlot> PlanSlots = {
    {"NNewPlan", "Новый"},
    {"NPages", "Листы"},
    {"NRastrs", "Растры"},
    {"NLayers", "Слои"},
    {"-", nullptr},
    {"NConversions", "Преобразования"},
    {"NCalculations", "Расчеты"},
    {"NTraceGorizontal", "Прокладка горизонтали"},
    {"NInterpolation", "Высотная интерполяция"},
    {"NCreateCircle", "Построение окружности"},
    {"-", nullptr},
    {"N41", "Удаление объектов"},
    {"-", nullptr},
    {"NTexts", "Текстовые объекты"},
    {"NPoints", "Точечные объекты"},
    {"NLines", "Линейные объекты"},
    {"NPolygons", "Площадные объекты"},
    {"-", nullptr},
    {"N63", "Загрузить растры"},
    {"N64", "Выгрузить растры"},
    {"-", nullptr},
    {"NLinkRastr", "Открыть и привязать растр"},
    {"N73", "Вставить растр по курсору"},
    {"-", nullptr},
    {"NDestProp", "Параметры создания объектов"},
    {"-", nullptr},
    {"N15", "командный процессор"},
};

const std::initializer_list<TMenuSlot> ModeSlots = {
    {"NSelectView", "выбор вида"},
    {"NMoveView", "сдвиг вида"},
    {"NSelectObject", "выбор объекта"},
    {"NCreateText", "Создание текстовых объектов"},
    {"NCreatePoint", "Создание точечных объектов"},
    {"NCreateLine", "Создание линейных объектов"},
    {"NCreatePolygon", "Создание площадных объектов"},
    {"N69", "Создание отметок"},
    {"N70", "Прокладка горизонтали"},
    {"N71", "Создание окружности"},
};

bool IsSeparatorSlot(const TMenuSlot& slot) { return QLatin1String(slot.Name) == QLatin1String("-"); }

// Puts menu's items in the order of the table. Separators are laid anew: one per "-" between
// two items, none where a group has no item yet (two "-" in a row give one line). Items
// not in the table follow the item they followed before, in their order.
void Arrange(QMenu* menu, std::initializer_list<TMenuSlot> order)
{
    if (!menu)
        return;
    QHash<QString, const TMenuSlot*> byName;
    QHash<QString, const TMenuSlot*> byCaption;
    for (const TMenuSlot& slot : order)
        if (!IsSeparatorSlot(slot)) {
            byName.insert(QLatin1String(slot.Name), &slot);
            if (slot.Caption)
                byCaption.insert(QString::fromUtf8(slot.Caption), &slot);
        }

    QHash<QString, QAction*> known;
    QHash<QString, QList<QAction*>> followers;   // by the known item before them; "" the start
    QString previous;
    const QList<QAction*> items = menu->actions();
    for (QAction* a : items) {
        if (a->isSeparator())
            continue;
        if (a->objectName().isEmpty())
            if (const TMenuSlot* slot = byCaption.value(a->text()))
                if (!known.contains(QLatin1String(slot->Name)))
                    a->setObjectName(QLatin1String(slot->Name));
        const QString name = a->objectName();
        if (byName.contains(name) && !known.contains(name)) {
            known.insert(name, a);
            previous = name;
        } else {
            followers[previous].append(a);
        }
    }
    for (QAction* a : items)
        menu->removeAction(a);

    bool lastWasSeparator = true;   // no separator at the top
    const auto put = [&](QAction* a) {
        menu->addAction(a);
        lastWasSeparator = false;
    };
    for (QAction* a : followers.value(QString()))
        put(a);
    for (const TMenuSlot& slot : order) {
        if (IsSeparatorSlot(slot)) {
            if (!lastWasSeparator) {
                menu->addSeparator();
                lastWasSeparator = true;
            }
            continue;
        }
        const QString name = QLatin1String(slot.Name);
        if (QAction* a = known.value(name)) {
            put(a);
            for (QAction* follower : followers.value(name))
                put(follower);
        }
    }
}

}  // namespace

QString MenuText(const QString& text)
{
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

void TFormMap::ArrangeMenus()
{
    NHistory->menuAction()->setObjectName(QStringLiteral("NHistory"));
    // Four items without caption or action close the file menu.
    for (const char* name : {"NFileBlank1", "NFileBlank2", "NFileBlank3", "NFileBlank4"}) {
        auto* blank = new QAction(QString(), NFile);
        blank->setObjectName(QLatin1String(name));
        NFile->addAction(blank);
    }
    Arrange(NFile, FileSlots);
    Arrange(NView, ViewSlots);
    Arrange(NPlan, PlanSlots);
    Arrange(NMouseMode, ModeSlots);
}
