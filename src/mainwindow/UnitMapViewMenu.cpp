// The "Вид" menu's display switches, redraws and colours, the list windows of the "План"
// menu, the "Справка" menu and the transfer program of the "Файл" menu. Each handler is
// a few lines: set the engine's switch from the item's own check mark, then redraw.
#include "mainwindow/UnitMap.h"

#include "controls/ExSpeedButton.h"
#include "dialogs/lists/UnitListWindows.h"
#include "engine/GeoMap.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/STDserv.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/MapHooks.h"
#include "mainwindow/MapMenuItems.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace {

// The system button-face colour, the plan's default background.
constexpr std::int32_t ButtonFaceColor = std::int32_t(0x8000000F);

// The palette's button that shows a switch of this menu, when the palette is on the
// screen. The palette names its buttons; one it does not have is left alone.
TExSpeedButton* VisiblePaletteButton(TFormInstr1* palette, const char* name)
{
    if (!palette || !palette->isVisible())
        return nullptr;
    return palette->findChild<TExSpeedButton*>(QLatin1String(name));
}

}  // namespace

void TFormMap::ConnectViewMenu()
{
    const auto check = [&](const char* caption, const char* name, void (TFormMap::*handler)(),
                           bool checked) {
        QAction* a = AddMapCommand(*this, NView, nullptr, caption, name, handler);
        a->setCheckable(true);
        a->setChecked(checked);
        return a;
    };

    NShowSymbols = check("Отображать условные знаки", "NShowSymbols", &TFormMap::NShowSymbolsClick, true);
    NShowRastrs = check("Показывать растры", "NShowRastrs", &TFormMap::NShowRastrsClick, true);
    NShowPlansBorders =
        check("Показывать границы планшетов", "NShowPlansBorders", &TFormMap::NShowPlansBordersClick, true);
    NShowCoordCross =
        check("Показывать координатную сетку", "NShowCoordCross", &TFormMap::NShowCoordCrossClick, true);
    NShowPlanNom =
        check("Показывать номенклатуру планшетов", "NShowPlanNom", &TFormMap::NShowPlanNomClick, true);
    NShowNodes = check("Выделять все узлы", "NShowNodes", &TFormMap::NShowNodesClick, false);
    // No action of its own.
    AddMapCommand(*this, NView, nullptr, "Рамка планшета...", "NViewSheetFrame", nullptr);
    AddMapCommand(*this, NView, nullptr, "Пересчитать изображение", "NReRender", &TFormMap::NReRenderClick);
    AddMapCommand(*this, NView, nullptr, "Вписать в окно", "NShowAll", &TFormMap::NShowAllClick);
    NView->addSeparator();
    AddMapCommand(*this, NView, nullptr, "Выбрать цвет фона", "NPlanColorSelect", &TFormMap::NPlanColorSelectClick);
    AddMapCommand(*this, NView, nullptr, "Цвет по умолчанию", "NPlanColorDefault", &TFormMap::NPlanColorDefaultClick);
    N66 = check("Использовать пользовательский цвет вектора", "N66", &TFormMap::N66Click, false);
    AddMapCommand(*this, NView, nullptr, "Выбрать пользовательский цвет вектора", "N67", &TFormMap::N67Click);
    NView->addSeparator();

    // "План": the sheets, rasters and layers after "Новый"; the object lists after
    // "Удаление объектов", each group where the menu has it.
    const QList<QAction*> plan = NPlan->actions();
    QAction* afterNew = nullptr;
    QAction* afterDelete = nullptr;
    for (qsizetype i = 0; i < plan.size(); ++i) {
        if (plan[i]->objectName() == QLatin1String("NNewPlan"))
            afterNew = plan.value(i + 1);
        if (plan[i]->objectName() == QLatin1String("N41"))
            afterDelete = plan.value(i + 1);
    }
    AddMapCommand(*this, NPlan, afterNew, "Листы", "NPages", &TFormMap::NPagesClick);
    AddMapCommand(*this, NPlan, afterNew, "Растры", "NRastrs", &TFormMap::NRastrsClick);
    AddMapCommand(*this, NPlan, afterNew, "Слои", "NLayers", &TFormMap::NLayersClick);
    NPlan->insertSeparator(afterDelete);
    AddMapCommand(*this, NPlan, afterDelete, "Текстовые объекты", "NTexts", &TFormMap::NTextsClick);
    AddMapCommand(*this, NPlan, afterDelete, "Точечные объекты", "NPoints", &TFormMap::NPointsClick);
    AddMapCommand(*this, NPlan, afterDelete, "Линейные объекты", "NLines", &TFormMap::NLinesClick);
    AddMapCommand(*this, NPlan, afterDelete, "Площадные объекты", "NPolygons", &TFormMap::NPolygonsClick);

    AddMapCommand(*this, NHelp, nullptr, "О программе", "N3", &TFormMap::N3Click);
    AddMapCommand(*this, NHelp, nullptr, "Горячие клавиши", "N24", &TFormMap::N24Click);
    AddMapCommand(*this, NHelp, nullptr, "Общие сведения", "N50", &TFormMap::N50Click);

    NFile->addSeparator();
    AddMapCommand(*this, NFile, nullptr, "Импорт Sokkia SDR с COM порта ...", "SDRCOM1", &TFormMap::SDRCOM1Click);
}

void TFormMap::RedrawSurface(std::uint8_t mode)
{
    if (!MainMap)
        return;
    const QSize size = SurfaceSize();
    MainMap->Draw(size.width(), size.height(), mode, ddScreen);
}

// ---- Display switches ----------------------------------------------------------------------

void TFormMap::NShowSymbolsClick()
{
    if (!MainMap)
        return;
    MenuItemToBool(NShowSymbols, MainMap->ShowSymbols);
    if (TExSpeedButton* b = VisiblePaletteButton(FormInstr1, "btHideSymbols"))
        MenuItemToSpeedButtonInv(NShowSymbols, b);
    RedrawSurface(3);
}

void TFormMap::NShowRastrsClick()
{
    if (!MainMap)
        return;
    MenuItemToBool(NShowRastrs, MainMap->ShowRastrs);
    RedrawSurface(3);
}

void TFormMap::NShowPlansBordersClick()
{
    if (!MainMap)
        return;
    MenuItemToBool(NShowPlansBorders, MainMap->ShowPlansBorders);
    RedrawSurface(3);
    // The nomenclature is written on the borders: without them its item means nothing,
    // but keeps its mark for when they come back.
    NShowPlanNom->setEnabled(NShowPlansBorders->isChecked());
}

void TFormMap::NShowCoordCrossClick()
{
    if (!MainMap)
        return;
    MenuItemToBool(NShowCoordCross, MainMap->ShowCoordCross);
    RedrawSurface(3);
}

void TFormMap::NShowPlanNomClick()
{
    if (!MainMap)
        return;
    MenuItemToBool(NShowPlanNom, MainMap->ShowPlanNom);
    RedrawSurface(3);
}

void TFormMap::NShowNodesClick()
{
    if (!MainMap)
        return;
    MenuItemToBool(NShowNodes, MainMap->ShowNodes);
    if (TExSpeedButton* b = VisiblePaletteButton(FormInstr1, "ShowPoints"))
        MenuItemToSpeedButton(NShowNodes, b);
    RedrawSurface(3);
}

void TFormMap::NReRenderClick() { RedrawSurface(2); }

void TFormMap::NShowAllClick() { RedrawSurface(1); }

// ---- Colours -------------------------------------------------------------------------------

void TFormMap::NPlanColorSelectClick()
{
    if (!MainMap)
        return;
    std::int32_t color = PlanColorDialogColor;
    if (!ChooseColorDialog(color))
        return;
    PlanColorDialogColor = color;
    MainMap->BackColor = color;
    RedrawSurface(3);
}

void TFormMap::NPlanColorDefaultClick()
{
    if (!MainMap)
        return;
    MainMap->BackColor = ButtonFaceColor;
    RedrawSurface(3);
}

void TFormMap::N66Click()
{
    if (!MainMap)
        return;
    MenuItemToBool(N66, MainMap->UserVectorColourOn);
    RedrawSurface(3);
}

void TFormMap::N67Click()
{
    if (!MainMap)
        return;
    std::int32_t color = MainMap->UserVectorColour;
    if (!ChooseColorDialog(color))
        return;
    MainMap->UserVectorColour = color;
    RedrawSurface(3);
}

// ---- The list windows ----------------------------------------------------------------------

namespace {

// Opens the list window of kind over the main plan; every window but the sheets' needs a
// sheet to list, and without one the user is told instead.
void OpenListWindow(TFormMap& form, TListKind kind, const char* noSheetText)
{
    if (!MainMap)
        return;
    if (kind != lkPages && !MainMap->HasCurrentPage()) {
        ShowMsgDialog(QStringLiteral("Листы не созданы!"), QString::fromUtf8(noSheetText));
        return;
    }
    ShowListWindow(kind, &form);
}

}  // namespace

void TFormMap::NPagesClick() { OpenListWindow(*this, lkPages, ""); }

void TFormMap::NLayersClick()
{
    OpenListWindow(*this, lkLayers,
                   "Не создано ни одного листа; для работы со слоями необходим хотя бы один лист");
}

void TFormMap::NRastrsClick()
{
    OpenListWindow(*this, lkRastrs,
                   "Не создано ни одного листа; для работы с растрами необходим хотя бы один лист");
}

void TFormMap::NTextsClick()
{
    OpenListWindow(*this, lkTexts,
                   "Не создано ни одного листа; для работы с текстовыми объектами необходим лист и слой");
}

void TFormMap::NPointsClick()
{
    OpenListWindow(*this, lkPoints,
                   "Не создано ни одного листа; для работы с точечными объектами необходим лист и слой");
}

void TFormMap::NLinesClick()
{
    OpenListWindow(*this, lkLines,
                   "Не создано ни одного листа; для работы с линейными объектами необходим лист и слой");
}

void TFormMap::NPolygonsClick()
{
    OpenListWindow(*this, lkPolygons,
                   "Не создано ни одного листа; для работы с площадными объектами необходим лист и слой");
}

// ---- Help and the transfer program ---------------------------------------------------------

void TFormMap::N3Click() { ShowAbout(); }

void TFormMap::N24Click() { ShowHotKeys(); }

void TFormMap::N50Click()
{
    LaunchDocument(ProgramFolderPath(QStringLiteral("Помощь/общие сведения.html")), QString(),
                   ProgramFolderPath(QStringLiteral("Помощь")), 2);
}

void TFormMap::SDRCOM1Click()
{
    // The transfer program is installed apart from this one: a folder without it, or a
    // file that cannot run, is said so by name rather than by nothing happening.
    const QString caption = QStringLiteral("Импорт Sokkia SDR с COM порта");
    const QString program = ProgramFolderPath(QStringLiteral("comport"));
    const QFileInfo info(program);
    QString failure;
    if (!info.isFile())
        failure = QStringLiteral("Не найдена программа приема данных с COM порта \"%1\"");
    else if (!info.isExecutable())
        failure = QStringLiteral("Нет права на запуск программы приема данных с COM порта \"%1\"");
    else if (!LaunchDocument(program, QString(), ProgramFolder, 0))
        failure = QStringLiteral("Не удается запустить программу приема данных с COM порта \"%1\"");
    if (!failure.isEmpty())
        ShowMsgDialog(caption, failure.arg(QDir::toNativeSeparators(program)));
}
