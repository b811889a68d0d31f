// The view menu's switches and colours, the list windows of the plan menu and the help
// items, on the started main window; the sheets window worked as a user works it, with
// the journal and the saved plan as the oracle.
#include "FixtureSetup.h"
#include "MainWindowFixture.h"

#include "controls/ExSpeedButton.h"
#include "controls/TextListBox.h"
#include "dialogs/lists/UnitListWindows.h"
#include "foundation/ProgramDialogs.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/MapHooks.h"
#include "platform/CodePage.h"
#include "support/ModalScript.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <deque>
#include <gtest/gtest.h>

namespace {

QAction* Item(QMenu* menu, const char* name)
{
    for (QAction* a : menu->actions())
        if (a->objectName() == QLatin1String(name))
            return a;
    ADD_FAILURE() << "no item " << name;
    static QAction none;
    return &none;
}

QStringList Captions(QMenu* menu)
{
    QStringList captions;
    for (const QAction* a : menu->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return captions;
}

class ViewMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run = std::make_unique<TMainWindowRun>(MessagesKept());
        Run->Start();
        // A draw mode no drawing uses: a redraw shows as the mode it was asked for.
        MainMap->DrawMode = 99;
    }

    std::unique_ptr<TMainWindowRun> Run;
};

}  // namespace

TEST_F(ViewMenu, MenusHoldTheirItemsInOrder)
{
    TFormMap& form = Run->Form();
    EXPECT_EQ(Captions(form.NView),
              QStringList({QStringLiteral("Отображать условные знаки"), QStringLiteral("Показывать растры"),
                           QStringLiteral("Показывать границы планшетов"), QStringLiteral("Показывать координатную сетку"),
                           QStringLiteral("Показывать номенклатуру планшетов"), QStringLiteral("Выделять все узлы"),
                           QStringLiteral("Рамка планшета..."), QStringLiteral("Пересчитать изображение"),
                           QStringLiteral("Вписать в окно"), QStringLiteral("-"), QStringLiteral("Выбрать цвет фона"),
                           QStringLiteral("Цвет по умолчанию"), QStringLiteral("Использовать пользовательский цвет вектора"),
                           QStringLiteral("Выбрать пользовательский цвет вектора"), QStringLiteral("-")}));
    EXPECT_EQ(Captions(form.NHelp), QStringList({QStringLiteral("О программе"), QStringLiteral("Горячие клавиши"),
                                                 QStringLiteral("Общие сведения")}));
    const QStringList plan = Captions(form.NPlan);
    EXPECT_EQ(plan.mid(0, 4), QStringList({QStringLiteral("Новый"), QStringLiteral("Листы"), QStringLiteral("Растры"),
                                           QStringLiteral("Слои")}));
    const qsizetype del = plan.indexOf(QStringLiteral("Удаление объектов"));
    ASSERT_GE(del, 0);
    EXPECT_EQ(plan.mid(del + 1, 5),
              QStringList({QStringLiteral("-"), QStringLiteral("Текстовые объекты"), QStringLiteral("Точечные объекты"),
                           QStringLiteral("Линейные объекты"), QStringLiteral("Площадные объекты")}));
    for (QMenu* menu : {form.NView, form.NPlan}) {
        menu->adjustSize();
        SaveGrab(*menu, QStringLiteral("menu-") + menu->title());
    }
    // The engine's switches start as the items show them.
    EXPECT_EQ(MainMap->ShowSymbols, 1);
    EXPECT_EQ(MainMap->ShowNodes, 0);
    EXPECT_TRUE(form.NShowSymbols->isChecked());
    EXPECT_FALSE(form.NShowNodes->isChecked());
}

TEST_F(ViewMenu, EachSwitchFollowsItsItemAndRedraws)
{
    TFormMap& form = Run->Form();
    struct Case {
        const char* Item;
        std::uint8_t TGeoMap::*Switch;
    };
    const Case cases[] = {{"NShowSymbols", &TGeoMap::ShowSymbols},       {"NShowRastrs", &TGeoMap::ShowRastrs},
                          {"NShowPlansBorders", &TGeoMap::ShowPlansBorders}, {"NShowCoordCross", &TGeoMap::ShowCoordCross},
                          {"NShowPlanNom", &TGeoMap::ShowPlanNom},       {"NShowNodes", &TGeoMap::ShowNodes},
                          {"N66", &TGeoMap::UserVectorColourOn}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Item);
        QAction* item = Item(form.NView, c.Item);
        for (int round = 0; round < 2; ++round) {
            MainMap->DrawMode = 99;
            item->trigger();
            EXPECT_EQ(MainMap->*c.Switch, item->isChecked() ? 1 : 0);
            EXPECT_EQ(MainMap->DrawMode, 3);
        }
    }
    Item(form.NView, "NReRender")->trigger();
    EXPECT_EQ(MainMap->DrawMode, 2);
    Item(form.NView, "NShowAll")->trigger();
    EXPECT_EQ(MainMap->DrawMode, 1);
}

TEST_F(ViewMenu, WithoutBordersTheNomenclatureItemRestsWithItsMark)
{
    TFormMap& form = Run->Form();
    form.NShowPlansBorders->trigger();
    EXPECT_FALSE(form.NShowPlansBorders->isChecked());
    EXPECT_FALSE(form.NShowPlanNom->isEnabled());
    EXPECT_TRUE(form.NShowPlanNom->isChecked());
    EXPECT_EQ(MainMap->ShowPlanNom, 1);
    form.NShowPlansBorders->trigger();
    EXPECT_TRUE(form.NShowPlanNom->isEnabled());
}

TEST_F(ViewMenu, ThePaletteButtonsFollowOnlyWhileThePaletteIsShown)
{
    TFormMap& form = Run->Form();
    if (!form.FormInstr1)
        GTEST_SKIP() << "no tool palette in this run";
    // The palette names its buttons as the menu looks for them.
    auto buttonOf = [&](const char* name) {
        auto* b = form.FormInstr1->findChild<TExSpeedButton*>(QLatin1String(name));
        if (!b) {
            b = new TExSpeedButton(form.FormInstr1);
            b->setObjectName(QLatin1String(name));
        }
        b->SetGroupIndex(name[0] == 'b' ? 11 : 9);
        b->SetAllowAllUp(true);
        b->SetDown(false);
        return b;
    };
    TExSpeedButton* hideSymbols = buttonOf("btHideSymbols");
    TExSpeedButton* showPoints = buttonOf("ShowPoints");
    form.FormInstr1->hide();
    form.NShowSymbols->trigger();   // off
    form.NShowNodes->trigger();     // on
    EXPECT_FALSE(hideSymbols->Down());
    EXPECT_FALSE(showPoints->Down());
    EXPECT_EQ(MainMap->ShowSymbols, 0);
    form.FormInstr1->show();
    form.NShowSymbols->trigger();   // on
    form.NShowSymbols->trigger();   // off
    form.NShowNodes->trigger();     // off
    form.NShowNodes->trigger();     // on
    EXPECT_TRUE(hideSymbols->Down());
    EXPECT_TRUE(showPoints->Down());
}

TEST_F(ViewMenu, ColoursChangeOnlyWhenTheDialogIsConfirmed)
{
    TFormMap& form = Run->Form();
    std::deque<std::int32_t> answers;   // -1: cancelled
    std::vector<std::int32_t> presets;
    MapHooks().ChooseColor = [&](std::int32_t& color) {
        presets.push_back(color);
        const std::int32_t answer = answers.front();
        answers.pop_front();
        if (answer < 0)
            return false;
        color = answer;
        return true;
    };
    const std::int32_t background = MainMap->BackColor;
    const std::int32_t vector = MainMap->UserVectorColour;
    answers = {-1, -1};
    Item(form.NView, "NPlanColorSelect")->trigger();
    Item(form.NView, "N67")->trigger();
    EXPECT_EQ(MainMap->BackColor, background);
    EXPECT_EQ(MainMap->UserVectorColour, vector);
    EXPECT_EQ(MainMap->DrawMode, 99) << "a cancelled dialog draws nothing";

    answers = {0x00FF00, 0x123456, 0x0000FF};
    Item(form.NView, "NPlanColorSelect")->trigger();
    EXPECT_EQ(MainMap->BackColor, 0x00FF00);
    EXPECT_EQ(MainMap->DrawMode, 3);
    Item(form.NView, "N67")->trigger();
    EXPECT_EQ(MainMap->UserVectorColour, 0x123456);
    // The background dialog opens with what it showed last; the vector one with the
    // engine's colour.
    Item(form.NView, "NPlanColorSelect")->trigger();
    ASSERT_EQ(presets.size(), 5);
    EXPECT_EQ(presets[1], vector);
    EXPECT_EQ(presets[4], 0x00FF00);
    MainMap->DrawMode = 99;
    Item(form.NView, "NPlanColorDefault")->trigger();
    EXPECT_EQ(MainMap->BackColor, std::int32_t(0x8000000F));
    EXPECT_EQ(MainMap->DrawMode, 3);
}

TEST_F(ViewMenu, ListWindowsWithoutASheet)
{
    TFormMap& form = Run->Form();
    ASSERT_FALSE(MainMap->HasCurrentPage());
    struct Case {
        const char* Item;
        const char* Text;
    };
    const Case cases[] = {
        {"NLayers", "Не создано ни одного листа; для работы со слоями необходим хотя бы один лист"},
        {"NRastrs", "Не создано ни одного листа; для работы с растрами необходим хотя бы один лист"},
        {"NTexts", "Не создано ни одного листа; для работы с текстовыми объектами необходим лист и слой"},
        {"NPoints", "Не создано ни одного листа; для работы с точечными объектами необходим лист и слой"},
        {"NLines", "Не создано ни одного листа; для работы с линейными объектами необходим лист и слой"},
        {"NPolygons", "Не создано ни одного листа; для работы с площадными объектами необходим лист и слой"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Item);
        Run->Messages.clear();
        Item(form.NPlan, c.Item)->trigger();   // a window would hang the test: none opens
        ASSERT_EQ(Run->Messages.size(), 1);
        EXPECT_EQ(Run->Messages[0], QStringLiteral("Листы не созданы!: ") + QString::fromUtf8(c.Text));
    }
    Run->Messages.clear();
    int lines = -1;
    TModalScript script;
    script.Then("TFormPages", [&](QWidget* w) {
        lines = static_cast<TFormPages*>(w)->LB->count();
        Esc(w);
    });
    Item(form.NPlan, "NPages")->trigger();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(lines, 0);
    EXPECT_TRUE(Run->Messages.empty());
}

TEST_F(ViewMenu, HelpAndTransferProgramAreStarted)
{
    TFormMap& form = Run->Form();
    struct TLaunch {
        QString File, Folder;
        int Show;
    };
    std::vector<TLaunch> launched;
    MapHooks().Launch = [&](const QString& file, const QString&, const QString& folder, int show) {
        launched.push_back({file, folder, show});
        return true;
    };
    // The transfer program is installed beside the program.
    QFile transfer(ProgramFolder + QStringLiteral("comport"));
    ASSERT_TRUE(transfer.open(QIODevice::WriteOnly));
    transfer.write("#!/bin/sh\n");
    transfer.close();
    transfer.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    Item(form.NHelp, "N50")->trigger();
    Item(form.NFile, "SDRCOM1")->trigger();
    ASSERT_EQ(launched.size(), 2);
    EXPECT_TRUE(launched[0].File.endsWith(QStringLiteral("Помощь/общие сведения.html")));
    EXPECT_TRUE(QFile::exists(launched[0].File)) << "the page ships with the program";
    EXPECT_TRUE(launched[0].Folder.endsWith(QStringLiteral("Помощь")));
    EXPECT_EQ(launched[0].Show, 2);
    EXPECT_EQ(launched[1].File, ProgramFolder + QStringLiteral("comport"));
    EXPECT_EQ(launched[1].Folder, ProgramFolder);
    EXPECT_EQ(launched[1].Show, 0);
    // The page is code page 1251 and says so.
    QFile page(launched[0].File);
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QByteArray bytes = page.readAll();
    EXPECT_TRUE(bytes.contains("charset=windows-1251"));
    EXPECT_TRUE(bytes.contains("\r\n"));
    EXPECT_TRUE(bytes.contains(EncodeCodePage(QStringLiteral("общие сведения"))));
}

TEST_F(ViewMenu, ASheetAddedRenamedAndHiddenInTheSheetsWindowIsSavedSo)
{
    TFormMap& form = Run->Form();
    std::deque<QString> names = {QStringLiteral("Лист 1"), QStringLiteral("Северный")};
    QStringList asked;
    DialogHooks().InpStr = [&](QString& value, const QString& caption, const QString&) {
        asked << caption;
        value = names.front();
        names.pop_front();
        return mrOk;
    };
    const int mark = static_cast<int>(CommandLog->size());
    const auto press = [](QWidget* w, const char* name) {
        auto* b = w->findChild<QPushButton*>(QLatin1String(name));
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    };
    QStringList shown;
    TModalScript script;
    script.Then("TFormPages", [&](QWidget* w) {
        auto* list = static_cast<TFormPages*>(w)->LB;
        press(w, "btAdd");
        ASSERT_EQ(list->count(), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(list->item(0)).center());
        press(w, "btName");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(list->item(0)).center());
        press(w, "btHide");
        shown << list->item(0)->text();
        SaveGrab(*w, QStringLiteral("list-pages-user"));
        Enter(w);
    });
    Item(form.NPlan, "NPages")->trigger();
    ASSERT_TRUE(script.Done());
    EXPECT_EQ(asked, QStringList({QStringLiteral("Добавление листа"), QStringLiteral("Изменение имени страницы")}));
    EXPECT_EQ(CommandLog->mid(mark),
              QStringList({QStringLiteral("mcNewPage=<Лист 1>"), QStringLiteral("mcSetPageProp=<0><Северный><1>"),
                           QStringLiteral("mcSetPageProp=<0><Северный><0>")}));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("0    северный  скрытый"))) << shown[0].toStdString();

    Run->SaveAsName = Run->Folder() + QStringLiteral("план.500");
    form.btSavePlanClick();
    QFile file(Run->SaveAsName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList saved = DecodeCodePage(file.readAll()).split(QStringLiteral("\r\n"));
    const qsizetype sheet = saved.indexOf(QStringLiteral("{ЛСТ"));
    ASSERT_GE(sheet, 0);
    EXPECT_EQ(saved.value(sheet + 1), QStringLiteral("|имя|Северный"));
    EXPECT_EQ(saved.value(sheet + 2), QStringLiteral("|вид|0"));
}
