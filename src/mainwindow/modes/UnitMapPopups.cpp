// The pop-up menus of the surface and the right-button releases that open them: the
// menu of the selected object's part in the select mode, the end of a line and of a
// polygon under construction. Their items act through the routines of the editing and
// creation families, connected where those are.
#include "mainwindow/UnitMap.h"

#include "engine/GeoMap.h"
#include "mainwindow/MapHooks.h"
#include "mainwindow/modes/Creators.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QToolButton>
#include <cstdlib>
#include <initializer_list>

namespace {

// A menu of the given items: "-" is a separator, a leading "*" a checked item.
QMenu* NewPopup(QWidget* owner, const char* name, std::initializer_list<const char*> items)
{
    auto* menu = new QMenu(owner);
    menu->setObjectName(QString::fromLatin1(name));
    for (const char* item : items) {
        const QString caption = QString::fromUtf8(item);
        if (caption == QLatin1String("-")) {
            menu->addSeparator();
        } else if (caption.startsWith(QLatin1Char('*'))) {
            QAction* a = menu->addAction(caption.mid(1));
            a->setCheckable(true);
            a->setChecked(true);
        } else {
            menu->addAction(caption);
        }
    }
    return menu;
}

QAction* Item(QMenu* menu, const QString& caption)
{
    for (QAction* a : menu->actions())
        if (a->text() == caption)
            return a;
    return nullptr;
}

// The items of one radio group: checkable, one of them checked at a time.
void RadioGroup(QMenu* menu, std::initializer_list<const char*> captions)
{
    auto* group = new QActionGroup(menu);
    for (const char* caption : captions)
        if (QAction* a = Item(menu, QString::fromUtf8(caption))) {
            a->setCheckable(true);
            group->addAction(a);
        }
}

// "Добавить узел" with its two ways, in place of a plain item.
void AddNodeSubmenu(QMenu* menu, QAction* before)
{
    QMenu* sub = new QMenu(QStringLiteral("Добавить узел"), menu);
    sub->addAction(QStringLiteral("В линию сегмента"));
    sub->addAction(QStringLiteral("В середине сегмента"));
    menu->insertMenu(before, sub);
}

}  // namespace

void TFormMap::BuildSurfacePopups()
{
    if (PMPoint)
        return;
    PMCreatePolygon = NewPopup(this, "PMCreatePolygon",
                               {"Закончить полигон", "-", "*Основной сегмент",
                                "Специальный сегмент тип I", "Специальный сегмент тип II", "-",
                                "Видимый сегмент", "Скрытый сегмент", "-", "Линия к узлу есть",
                                "Линия к узлу нет", "-", "Рисунок в узле есть", "Рисунок в узле нет"});
    PMCreateLine = NewPopup(this, "PMCreateLine", {"Закончить линию", "Закончить полосу"});
    PMRastr = NewPopup(this, "PMRastr",
                       {"Свойства растра", "Загрузить растр", "Выгрузить растр", "Привязать растр",
                        "-", "Удалить растр"});
    PMPoint = NewPopup(this, "PMPoint",
                       {"Свойства объекта", "-", "Удалить объект", "-", "Копировать объект", "-",
                        "Превратить пикет в отметку"});
    NPikToOtm = Item(PMPoint, QStringLiteral("Превратить пикет в отметку"));
    NPikToOtm->setVisible(false);
    PMLine = NewPopup(this, "PMLine",
                      {"Свойства объекта", "Инвертировать линию", "Замкнуть линию", "Разрезать линию",
                       "Изменить длину линии", "Изменить угол линии", "-",
                       "Установить кривую для всех сегментов",
                       "Установить ломаную прямую для всех сегментов", "-", "Удалить объект", "-",
                       "Копировать объект"});
    AddNodeSubmenu(PMLine, Item(PMLine, QStringLiteral("Инвертировать линию")));
    N82 = Item(PMLine, QStringLiteral("Изменить длину линии"));
    N83 = Item(PMLine, QStringLiteral("Изменить угол линии"));
    N82->setVisible(false);
    N83->setVisible(false);
    PMPolygon = NewPopup(this, "PMPolygon",
                         {"Свойства объекта", "-", "Установить свойства сегментов по умолчанию",
                          "Инвертировать полигон", "-", "Показать все сегмены", "Скрыть все сегменты",
                          "-", "Удалить объект", "-", "Копировать объект"});
    PMText = NewPopup(this, "PMText",
                      {"Свойства надписи", "-", "Удалить надпись", "-", "Копировать надпись"});
    PMLineNode = NewPopup(this, "PMLineNode",
                          {"Свойства узла", "-", "Добавить узел", "-", "Удалить узел", "-", "Объединить"});
    Item(PMLineNode, QStringLiteral("Объединить"))->setVisible(false);
    PMLineText = NewPopup(this, "PMLineText", {"Показать автотекст", "Скрыть автотекст", "По умолчанию"});
    RadioGroup(PMLineText, {"Показать автотекст", "Скрыть автотекст", "По умолчанию"});
    PMPolygonNode = NewPopup(this, "PMPolygonNode",
                             {"Свойства узла", "-", "*Линию к узлу показать", "Линию к узлу скрыть", "-",
                              "*Рисунок в узле показать", "Рисунок в узле скрыть", "-", "Удалить узел"});
    RadioGroup(PMPolygonNode, {"Линию к узлу показать", "Линию к узлу скрыть"});
    RadioGroup(PMPolygonNode, {"Рисунок в узле показать", "Рисунок в узле скрыть"});
    PMPolygonSegm = NewPopup(this, "PMPolygonSegm",
                             {"*Основной сегмент", "Специальный сегмент тип I",
                              "Специальный сегмент тип II", "-", "*Видимый сегмент", "Скытый сегмент",
                              "-"});
    RadioGroup(PMPolygonSegm, {"Основной сегмент", "Специальный сегмент тип I", "Специальный сегмент тип II"});
    RadioGroup(PMPolygonSegm, {"Видимый сегмент", "Скытый сегмент"});
    AddNodeSubmenu(PMPolygonSegm, nullptr);
    PMPolygonText = NewPopup(this, "PMPolygonText",
                             {"Показать автотекст", "Скрыть автотекст", "автотекст по умолчанию"});
}

void TFormMap::ConnectSurfaceCommands()
{
    BuildSurfacePopups();
    ConnectLineEditCommands();
    ConnectPolygonEditCommands();
    ConnectObjectCommands();
    ConnectCreationMenus();
    if (QToolButton* b = PanelButtons.value(QStringLiteral("Сохранить область плана в выбраном формате")))
        connect(b, &QToolButton::clicked, this, [this] { btSaveRegionAsClick(); });
}

void TFormMap::PopupSurfaceMenu(QMenu* menu, QPoint surfacePoint)
{
    if (menu)
        ExecMenu(*menu, DisplaySurf->mapToGlobal(surfacePoint));
}

QMenu* TFormMap::SelectedPartPopup()
{
    const int index = SelectedFoundIndex();
    const RFindedObject* found = index >= 0 ? MainMap->FoundObjects.At(index) : nullptr;
    if (!found)
        return nullptr;
    // The object itself, when it is still where the search found it.
    const RGPage* page = MainMap->Pages.At(found->PageIndex);
    const RGLayer* layer = page ? page->Layers.At(found->LayerIndex) : nullptr;
    switch (found->Kind) {
    case fkRastr:
        return SelectedPart == 3 ? PMRastr : nullptr;
    case fkText:
        return SelectedPart == 3 ? PMText : nullptr;
    case fkPoint: {
        if (SelectedPart != 3)
            return nullptr;
        const RGPoint* point = layer ? layer->Points.At(found->ObjectIndex) : nullptr;
        const QString semantics = point ? point->Semantics : found->Semantics;
        NPikToOtm->setVisible(semantics.left(3) == QStringLiteral("ПКТ"));
        return PMPoint;
    }
    case fkLine:
        switch (SelectedPart) {
        case 1:
            PMLineNodePopup();
            return PMLineNode;
        case 3: {
            const RGLine* line = layer ? layer->Lines.At(found->ObjectIndex) : nullptr;
            const bool twoNodes = line && line->Nodes.GetCount() == 2;
            N82->setVisible(twoNodes);
            N83->setVisible(twoNodes);
            return PMLine;
        }
        case 4:
            PMLineTextPopup();
            return PMLineText;
        default: return nullptr;
        }
    case fkPolygon:
        switch (SelectedPart) {
        case 1:
            PMPolygonNodePopup();
            return PMPolygonNode;
        case 2:
            PMPolygonSegmPopup();
            return PMPolygonSegm;
        case 3: return PMPolygon;
        case 4: return PMPolygonText;
        default: return nullptr;
        }
    default:
        return nullptr;
    }
}

void TFormMap::SelectRightUp()
{
    // Only a click: a drag of 3 pixels or more scrolled the picture instead.
    const QPoint moved = Points.Up.Screen - Points.Down.Screen;
    if (std::abs(moved.x()) < 3 && std::abs(moved.y()) < 3)
        PopupSurfaceMenu(SelectedPartPopup(), Points.Down.Screen);
}

void TFormMap::CreateLineRightUp()
{
    // With the line favourites palette showing, the line is created at once instead.
    if (FavouritesPaletteShown && FavouritesPaletteShown(1))
        CreateLineObject();
    else
        PopupSurfaceMenu(PMCreateLine, Points.Down.Screen);
}

void TFormMap::CreatePolygonRightUp()
{
    if (ShowPolygonPopup)
        PopupSurfaceMenu(PMCreatePolygon, Points.Down.Screen);
    else
        CreatePolygonObject();
}
