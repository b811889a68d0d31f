// The selection filter's window on the running main window: what it shows of the main
// plan's filter, what it stores back however it closes, and what a click of the select
// mode then finds.
#include "MainWindowFixture.h"
#include "SurfaceTestSupport.h"

#include "controls/ExCheckListBox.h"
#include "controls/ExSpeedButton.h"
#include "dialogs/objects/UnitSelectSetup.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/MapHooks.h"
#include "support/ModalScript.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

template <class T = QWidget>
T* Find(QWidget* w, const char* name)
{
    T* control = w->findChild<T*>(QLatin1String(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
}

// A click on the radio button's circle, its page brought to the front first.
void ClickRadio(QWidget* w, const char* name)
{
    auto* b = Find<QRadioButton>(w, name);
    auto* pages = Find<QTabWidget>(w, "PageControl1");
    pages->setCurrentWidget(b->parentWidget());
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(8, b->height() / 2));
}

// A click in the check cell of line i.
void ClickCheck(QWidget* w, const char* list, int i)
{
    auto* box = Find<TExCheckListBox>(w, list);
    auto* pages = Find<QTabWidget>(w, "PageControl1");
    pages->setCurrentWidget(box->parentWidget());
    const QRect line = box->visualItemRect(box->item(i));
    QTest::mouseClick(box->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(line.left() + 8, line.center().y()));
}

// The lines of a check list as "1" checked, "0" not.
QString Checks(QWidget* w, const char* list)
{
    auto* box = Find<TExCheckListBox>(w, list);
    QString checks;
    for (int i = 0; i < box->count(); ++i)
        checks += box->IsItemChecked(i) ? QLatin1Char('1') : QLatin1Char('0');
    return checks;
}

// The radio buttons of a group as "1" checked, "0" not.
QString Radios(QWidget* w, std::initializer_list<const char*> names)
{
    QString radios;
    for (const char* name : names)
        radios += Find<QRadioButton>(w, name)->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    return radios;
}

const std::initializer_list<const char*> PageRadios{"rbPageAll", "rbPageUser", "rbPageNom"};
const std::initializer_list<const char*> KindRadios{"rbObjAll", "rbObjRastrs", "rbObjTexts",
                                                    "rbObjPoints", "rbObjLines", "rbObjPolygons"};

class SelectSetup : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.Start();
        MapHooks().SelectSetupDlg = [] { return int(RunSelectSetup()); };
        // Two sheets share "Общий"; the second has "Дороги" as well; a point in each layer.
        RunCommands({"mcNewPage=<Север>", "mcNewLayer=<0><Общий>", "mcNewPage=<Юг>",
                     "mcNewLayer=<1><Общий>", "mcNewLayer=<1><Дороги>",
                     "mcNewPoint=<0><0><ПКТ/ИН1;ИВ10><200><300><2><0><><0><0>",
                     "mcNewPoint=<1><0><ПКТ/ИН2;ИВ11><200><300><2><0><><0><0>",
                     "mcNewPoint=<1><1><ПКТ/ИН3;ИВ12><200><300><2><0><><0><0>"});
        ExactView(Run.Form());
    }

    // The number of objects a click of the select mode finds at the three points.
    int ClickFinds()
    {
        TFormMap& form = Run.Form();
        form.SetMouseMode(mmSelectObject, 0, true);
        form.btClearSelectedClick();   // a click on the chosen object would move it
        TPixelMouse{form}.Click(TSurfaceDriver(form).At(200, 300));
        return form.ComboBoxSelectedObjects()->count();
    }

    TMainWindowRun Run;
};

// The palette's "Настройка выбора объектов", clicked; the window's result.
int OpenFromThePalette(TFormMap& form)
{
    int result = -1;
    const auto hook = MapHooks().SelectSetupDlg;
    MapHooks().SelectSetupDlg = [&result, hook] { return result = hook ? hook() : -1; };
    TExSpeedButton* b = form.FormInstr1->sbFormSelectObjectsShow;
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
    MapHooks().SelectSetupDlg = hook;
    return result;
}

TEST_F(SelectSetup, ShowsTheFilterAndEnablesAListOnlyForItsChosenNames)
{
    MainMap->SelectPagesMode = 2;
    MainMap->SelectLayersMode = 1;
    MainMap->SelectLayersList = QStringList{QStringLiteral("Дороги")};
    MainMap->SelectPagesList = QStringList{QStringLiteral("Юг")};
    MainMap->SelectObjectKind = 3;
    TModalScript script;
    script.Then("TFormSelectSetup", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Параметры выбора объектов"));
        EXPECT_EQ(Radios(w, PageRadios), QStringLiteral("001"));
        EXPECT_EQ(Radios(w, {"rbLayerAll", "rbLayerUser"}), QStringLiteral("01"));
        EXPECT_EQ(Radios(w, KindRadios), QStringLiteral("000100"));
        auto* pages = Find<TExCheckListBox>(w, "clbPages");
        ASSERT_EQ(pages->count(), 2);
        EXPECT_TRUE(pages->ItemText(0).startsWith(QStringLiteral("0    СЕВЕР  видимый")))
            << pages->ItemText(0).toStdString();
        // The listed sheet is checked even while the list is not in use.
        EXPECT_EQ(Checks(w, "clbPages"), QStringLiteral("01"));
        EXPECT_FALSE(pages->isEnabled());
        // Each layer name once, first met first.
        auto* layers = Find<TExCheckListBox>(w, "clbLayers");
        ASSERT_EQ(layers->count(), 2);
        EXPECT_EQ(layers->ItemText(0), QStringLiteral("Общий"));
        EXPECT_EQ(layers->ItemText(1), QStringLiteral("Дороги"));
        EXPECT_EQ(Checks(w, "clbLayers"), QStringLiteral("01"));
        EXPECT_TRUE(layers->isEnabled());

        ClickRadio(w, "rbPageUser");
        EXPECT_TRUE(pages->isEnabled());
        ClickRadio(w, "rbPageAll");
        EXPECT_FALSE(pages->isEnabled());
        ClickRadio(w, "rbLayerAll");
        EXPECT_FALSE(layers->isEnabled());
        ClickRadio(w, "rbLayerUser");
        EXPECT_TRUE(layers->isEnabled());
        ClickRadio(w, "rbPageUser");
        ClickCheck(w, "clbPages", 0);
        SaveGrab(*w, QStringLiteral("select-setup-sheets"));
        Find<QTabWidget>(w, "PageControl1")->setCurrentIndex(1);
        SaveGrab(*w, QStringLiteral("select-setup-layers"));
        Find<QTabWidget>(w, "PageControl1")->setCurrentIndex(2);
        SaveGrab(*w, QStringLiteral("select-setup-objects"));
        Enter(w);
    });
    EXPECT_EQ(OpenFromThePalette(Run.Form()), mrOk);
    EXPECT_EQ(MainMap->SelectPagesMode, 1);
    EXPECT_EQ(MainMap->SelectPagesList, (QStringList{QStringLiteral("Север"), QStringLiteral("Юг")}));
}

TEST_F(SelectSetup, StoresTheChoicesHoweverTheWindowCloses)
{
    const std::pair<TModalScript::TStep, TModalResult> closes[] = {
        {Esc, mrCancel},
        {CloseBox, mrCancel},
        {Enter, mrOk},
        {[](QWidget* w) { QTest::mouseClick(Find<QPushButton>(w, "BitBtn1"), Qt::LeftButton); }, mrOk},
    };
    for (const auto& [close, expected] : closes) {
        MainMap->SelectPagesMode = 0;
        MainMap->SelectPagesList.clear();
        MainMap->SelectLayersMode = 0;
        MainMap->SelectLayersList.clear();
        MainMap->SelectObjectKind = 0;
        TModalScript script;
        script.Then("TFormSelectSetup", [close](QWidget* w) {
            ClickRadio(w, "rbPageUser");
            ClickCheck(w, "clbPages", 1);
            ClickRadio(w, "rbLayerUser");
            ClickCheck(w, "clbLayers", 1);
            ClickRadio(w, "rbObjLines");
            close(w);
        });
        EXPECT_EQ(OpenFromThePalette(Run.Form()), expected);
        EXPECT_EQ(MainMap->SelectPagesMode, 1);
        EXPECT_EQ(MainMap->SelectPagesList, QStringList{QStringLiteral("Юг")});
        EXPECT_EQ(MainMap->SelectLayersMode, 1);
        EXPECT_EQ(MainMap->SelectLayersList, QStringList{QStringLiteral("Дороги")});
        EXPECT_EQ(MainMap->SelectObjectKind, 4);
    }
}

TEST_F(SelectSetup, AllKeepsTheNamesForALaterReturnToChosen)
{
    MainMap->SelectPagesMode = 1;
    MainMap->SelectPagesList = QStringList{QStringLiteral("Север")};
    {
        TModalScript script;
        script.Then("TFormSelectSetup", [](QWidget* w) {
            ClickRadio(w, "rbPageAll");
            ClickRadio(w, "rbPageNom");
            ClickRadio(w, "rbObjRastrs");
            Esc(w);
        });
        OpenFromThePalette(Run.Form());
    }
    EXPECT_EQ(MainMap->SelectPagesMode, 2);
    EXPECT_EQ(MainMap->SelectPagesList, QStringList{QStringLiteral("Север")});
    EXPECT_EQ(MainMap->SelectObjectKind, 1);
    TModalScript script;
    script.Then("TFormSelectSetup", [](QWidget* w) {
        ClickRadio(w, "rbPageUser");
        EXPECT_EQ(Checks(w, "clbPages"), QStringLiteral("10"));
        Esc(w);
    });
    OpenFromThePalette(Run.Form());
    EXPECT_EQ(MainMap->SelectPagesMode, 1);
}

TEST_F(SelectSetup, ChosenWithNothingCheckedFindsNothing)
{
    ASSERT_EQ(ClickFinds(), 3);
    TModalScript script;
    script.Then("TFormSelectSetup", [](QWidget* w) {
        ClickRadio(w, "rbPageUser");
        EXPECT_EQ(Checks(w, "clbPages"), QStringLiteral("00"));
        Enter(w);
    });
    OpenFromThePalette(Run.Form());
    EXPECT_EQ(MainMap->SelectPagesMode, 1);
    EXPECT_TRUE(MainMap->SelectPagesList.isEmpty());
    EXPECT_EQ(ClickFinds(), 0);
}

TEST_F(SelectSetup, ASharedLayerNameSelectsItsLayerOnEverySheet)
{
    TModalScript script;
    script.Then("TFormSelectSetup", [](QWidget* w) {
        ClickRadio(w, "rbLayerUser");
        ClickCheck(w, "clbLayers", 0);   // "Общий", of both sheets
        Enter(w);
    });
    OpenFromThePalette(Run.Form());
    EXPECT_EQ(MainMap->SelectLayersList, QStringList{QStringLiteral("Общий")});
    EXPECT_EQ(ClickFinds(), 2);
    // Only the points are chosen; a kind with none here finds nothing.
    MainMap->SelectObjectKind = 3;
    EXPECT_EQ(ClickFinds(), 2);
    MainMap->SelectObjectKind = 4;
    EXPECT_EQ(ClickFinds(), 0);
}

TEST_F(SelectSetup, ARenamedSheetIsNoLongerChecked)
{
    MainMap->SelectPagesMode = 1;
    MainMap->SelectPagesList = QStringList{QStringLiteral("Север")};
    MainMap->Pages.At(0)->Name = QStringLiteral("Север-2");
    TModalScript script;
    script.Then("TFormSelectSetup", [](QWidget* w) {
        EXPECT_EQ(Checks(w, "clbPages"), QStringLiteral("00"));
        Enter(w);
    });
    OpenFromThePalette(Run.Form());
    EXPECT_TRUE(MainMap->SelectPagesList.isEmpty());
}

TEST(SelectSetupWithoutWindow, ThePaletteButtonChangesNothing)
{
    TMainWindowRun run;
    run.Start();
    MapHooks().SelectSetupDlg = nullptr;
    MainMap->SelectPagesMode = 2;
    EXPECT_EQ(OpenFromThePalette(run.Form()), -1);
    EXPECT_EQ(MainMap->SelectPagesMode, 2);
}

}  // namespace
