// The tool palette worked as the user works it: clicks on its real buttons, then the
// main window's mode, the buttons that are down, the plan's switches and the journal.
#include "FixtureSetup.h"
#include "SurfaceTestSupport.h"

#include "controls/ExSpeedButton.h"
#include "engine/GeoMap.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/FormNavigator.h"
#include "mainwindow/MapHooks.h"
#include "mainwindow/VclTimer.h"
#include "mainwindow/modes/Creators.h"
#include "support/WidgetEvents.h"

#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QScreen>
#include <QSlider>
#include <gtest/gtest.h>

namespace {

void Click(TExSpeedButton* b, Qt::MouseButton button = Qt::LeftButton) { ClickMiddle(b, button); }

class ToolPalette : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.Start();
        ASSERT_NE(Run.Form().FormInstr1, nullptr);
    }

    TFormMap& Form() { return Run.Form(); }
    TFormInstr1& Palette() { return *Run.Form().FormInstr1; }

    // The eight mode buttons that are down, by name.
    QStringList DownModeButtons()
    {
        QStringList names;
        TFormInstr1& p = Palette();
        for (TExSpeedButton* b : {p.sbSelectView, p.sbSelectObject, p.sbMoveView, p.sbPoint,
                                  p.sbLine, p.sbPolygon, p.sbText, p.sbOtm})
            if (b->Down())
                names << b->objectName();
        return names;
    }

    TMainWindowRun Run;
};

TEST_F(ToolPalette, TwentyButtonsAtTheirPlacesWithTheirHints)
{
    struct Case {
        const char* name;
        int x, y;
        const char* hint;
        int group;
    };
    const Case cases[] = {
        {"sbSelectView", 1, 0, "Выбор вида", 2},
        {"sbAllView", 27, 0, "Весь план в окне", 0},
        {"sbViewIn", 1, 25, "Увеличить в 2 раза", 0},
        {"sbViewOut", 27, 25, "Уменьшить в 2 раза", 0},
        {"sbSelectObject", 1, 51, "Выбор объектов", 2},
        {"sbFormSelectObjectsShow", 27, 51, "Настройка выбора объектов", 0},
        {"sbMoveView", 1, 77, "Перемещение вида", 2},
        {"btLink", 27, 77, "Привязка по точкам", 1},
        {"sbPoint", 1, 103, "Создавать объекты: Точечные", 2},
        {"sbText", 27, 103, "Создать надпись", 2},
        {"sbLine", 1, 128, "Создавать объекты: Линейные", 2},
        {"sbOtm", 27, 128, "Ввод отметки", 2},
        {"sbPolygon", 1, 154, "Создавать объекты: Площадные", 2},
        {"sbInputCoord", 27, 154, "Создание объектов по координатам", 0},
        {"sbNoSem", 1, 179, "Не запрашивать семантику", 500},
        {"sbCreateProp", 27, 179, "Настройка параметров создания объектов", 0},
        {"btHideSymbols", 1, 216, "Не отображать условные знаки", 11},
        {"ShowPoints", 27, 216, "Отображать узлы", 9},
        {"sbInstr2", 1, 242, "Геометрические построения", 65},
        {"sbNavigatorShow", 27, 242, "Панель навигатора", 52},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* b = Palette().findChild<TExSpeedButton*>(QString::fromLatin1(c.name));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->geometry(), QRect(c.x, c.y, 25, 25));
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(c.hint));
        EXPECT_EQ(b->GroupIndex(), c.group);
        // Every button shows something: its glyph or its caption.
        EXPECT_TRUE(!b->Glyph().isNull() || !b->Caption().isEmpty());
    }
    EXPECT_EQ(Palette().sbViewIn->Caption(), QStringLiteral("*2"));
    EXPECT_EQ(Palette().sbViewOut->Caption(), QStringLiteral("/2"));
    EXPECT_EQ(Palette().sbText->Caption(), QStringLiteral("A"));
    // At the screen's right edge, 80 pixels down, above the other windows.
    const int screenWidth = Palette().screen()->geometry().width();
    EXPECT_EQ(Palette().pos(), QPoint(screenWidth - 65, 80));
    EXPECT_TRUE(Palette().windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(Palette().TrackBar1->value(), 220);
}

TEST_F(ToolPalette, ClicksOnTheModeButtonsSetTheModeAndTheButtons)
{
    int settingsPage = -1;
    MapHooks().ObjectDestDlg = [&](int page) {
        settingsPage = page;
        return 1;
    };
    struct Case {
        const char* name;
        TMouseMode downMode;
    };
    const Case cases[] = {{"sbPoint", mmCreatePoint},  {"sbLine", mmCreateLine},
                          {"sbPolygon", mmCreatePolygon}, {"sbOtm", mmCreateOtm},
                          {"sbText", mmCreateText}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* b = Palette().findChild<TExSpeedButton*>(QString::fromLatin1(c.name));
        settingsPage = -1;
        Click(b);
        EXPECT_EQ(Form().MouseMode, c.downMode);
        EXPECT_EQ(DownModeButtons(), QStringList{b->objectName()});
        EXPECT_EQ(settingsPage, b == Palette().sbText ? 3 : -1);
        // Released: back to the zoom rectangle with its button down.
        settingsPage = -1;
        Click(b);
        EXPECT_EQ(Form().MouseMode, mmSelectView);
        EXPECT_EQ(DownModeButtons(), QStringList{QStringLiteral("sbSelectView")});
        EXPECT_EQ(settingsPage, -1);
    }
}

TEST_F(ToolPalette, ReleasingTheZoomButtonRestoresTheModeBefore)
{
    Click(Palette().sbLine);
    ASSERT_EQ(Form().MouseMode, mmCreateLine);
    Click(Palette().sbSelectView);
    EXPECT_EQ(Form().MouseMode, mmSelectView);
    EXPECT_EQ(DownModeButtons(), QStringList{QStringLiteral("sbSelectView")});
    Click(Palette().sbSelectView);
    EXPECT_EQ(Form().MouseMode, mmCreateLine);
    EXPECT_EQ(DownModeButtons(), QStringList{QStringLiteral("sbLine")});
}

TEST_F(ToolPalette, TheMoveButtonPansWhetherItGoesDownOrUp)
{
    Click(Palette().sbMoveView);
    EXPECT_TRUE(Palette().sbMoveView->Down());
    EXPECT_EQ(Form().MouseMode, mmMoveView);
    Click(Palette().sbMoveView);
    EXPECT_FALSE(Palette().sbMoveView->Down());
    EXPECT_EQ(Form().MouseMode, mmMoveView);
}

TEST_F(ToolPalette, ButtonsPressedFromCodeRunNothing)
{
    int windows = 0;
    MapHooks().ObjectDestDlg = [&](int) { return ++windows, 1; };
    Form().SetMouseMode(mmCreateLine, 0, true);
    for (TExSpeedButton* b : {Palette().sbPoint, Palette().sbText, Palette().sbSelectObject}) {
        b->SetDown(true);
        b->SetDown(false);
    }
    Palette().btLink->SetDown(true);
    EXPECT_EQ(Form().MouseMode, mmCreateLine);
    EXPECT_EQ(windows, 0);
    EXPECT_EQ(MainMap->LinkToNodes, 0);
}

TEST_F(ToolPalette, ZoomButtonsHalveAndDoubleTheViewScale)
{
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>",
                 "mcNewPoint=<0><0><ПКТ/ИН1><0><0><2><0><><0><0>",
                 "mcNewPoint=<0><0><ПКТ/ИН2><500><500><2><0><><0><0>"});
    struct Case {
        int view;
        bool in;
        int requested;
    };
    // Halves go to even: 5 × 0.5 asks for 2.
    const Case cases[] = {{5, true, 2}, {7, true, 4}, {1000, true, 500}, {5, false, 10},
                          {1, true, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.view << (c.in ? " in" : " out"));
        Click(Palette().sbAllView);
        MainMap->OutputScale = c.view;
        Click(c.in ? Palette().sbViewIn : Palette().sbViewOut);
        // The plan raises a request below 1 to 1 and draws at what it asked for.
        EXPECT_EQ(MainMap->DisplayScale, std::max(c.requested, 1));
        EXPECT_EQ(MainMap->OutputScale, std::max(c.requested, 1));
    }
}

TEST_F(ToolPalette, SnapAndDisplaySwitches)
{
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>",
                 "mcNewPoint=<0><0><ПКТ/ИН1><100><100><2><0><><0><0>"});
    ExactView(Form(), 1);
    Form().CreateNodes.push_back(RCreateNode{TGeoPoint(120, 130)});
    MainMap->ScreenNodes.DeleteAll();
    Click(Palette().btLink);
    EXPECT_EQ(MainMap->LinkToNodes, 1);
    // The plan's point and the node under construction are both snap candidates.
    EXPECT_GE(MainMap->ScreenNodes.GetCount(), 2);
    Click(Palette().btLink);
    EXPECT_EQ(MainMap->LinkToNodes, 0);

    ASSERT_EQ(MainMap->ShowSymbols, 1);
    Click(Palette().btHideSymbols);
    EXPECT_EQ(MainMap->ShowSymbols, 0);
    Click(Palette().btHideSymbols);
    EXPECT_EQ(MainMap->ShowSymbols, 1);
    Click(Palette().ShowPoints);
    EXPECT_EQ(MainMap->ShowNodes, 1);
    Click(Palette().ShowPoints);
    EXPECT_EQ(MainMap->ShowNodes, 0);
}

TEST_F(ToolPalette, ReleasingTheSelectButtonDropsTheSelection)
{
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>",
                 "mcNewPoint=<0><0><ПКТ/ИН1><100><100><2><0><><0><0>"});
    ExactView(Form(), 1);
    Click(Palette().sbSelectObject);
    ASSERT_EQ(Form().MouseMode, mmSelectObject);
    TSurfaceDriver(Form()).Click(100, 100);
    ASSERT_EQ(MainMap->FoundObjects.GetCount(), 1);
    ASSERT_TRUE(Form().ComboBoxSelectedObjects()->isEnabled());

    Click(Palette().sbSelectObject);
    EXPECT_EQ(MainMap->FoundObjects.GetCount(), 0);
    EXPECT_EQ(Form().ComboBoxSelectedObjects()->count(), 0);
    EXPECT_FALSE(Form().ComboBoxSelectedObjects()->isEnabled());
    EXPECT_EQ(Form().FoundCount->text(), QStringLiteral("0"));
    EXPECT_FALSE(Form().tmSelect->Enabled());
    EXPECT_EQ(Form().MouseMode, mmSelectView);
    EXPECT_EQ(DownModeButtons(), QStringList{QStringLiteral("sbSelectView")});
}

TEST_F(ToolPalette, SettingsButtonsOpenTheirWindows)
{
    QStringList opened;
    MapHooks().SelectSetupDlg = [&] { return opened << QStringLiteral("выбор"), 2; };
    MapHooks().ObjectDestDlg = [&](int page) {
        return opened << QStringLiteral("создание %1").arg(page), 1;
    };
    MapHooks().CreateCoordObjDlg = [&] { return opened << QStringLiteral("координаты"), 2; };
    const TMouseMode before = Form().MouseMode;
    Click(Palette().sbFormSelectObjectsShow);
    Click(Palette().sbCreateProp);
    Click(Palette().sbInputCoord);
    EXPECT_EQ(opened, (QStringList{QStringLiteral("выбор"), QStringLiteral("создание 0"),
                                   QStringLiteral("координаты")}));
    EXPECT_EQ(Form().MouseMode, before);
    // Without the windows the buttons do nothing.
    MapHooks().SelectSetupDlg = nullptr;
    MapHooks().ObjectDestDlg = nullptr;
    MapHooks().CreateCoordObjDlg = nullptr;
    Click(Palette().sbFormSelectObjectsShow);
    Click(Palette().sbCreateProp);
    Click(Palette().sbInputCoord);
    EXPECT_EQ(opened.size(), 3);
}

TEST_F(ToolPalette, SegmentTypeAndStyleCycles)
{
    enum Button { Type, Style };
    struct Case {
        int type, style;
        Button button;
        int newType, newStyle;
    };
    const Case cases[] = {
        {0, 0, Type, 1, 1}, {1, 1, Type, 2, 0}, {2, 0, Type, 0, 0},
        // A hidden style survives any change of the type.
        {0, 2, Type, 1, 2}, {1, 2, Type, 2, 2}, {2, 2, Type, 0, 2},
        {0, 0, Style, 0, 2}, {1, 1, Style, 1, 2}, {1, 2, Style, 1, 1},
        {2, 2, Style, 2, 0}, {0, 2, Style, 0, 0}};
    TFormInstr1& p = Palette();
    Click(p.sbPolygon);
    ASSERT_TRUE(p.pnPolygonProp->isVisible());
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << "," << c.style << " button " << c.button);
        Form().PolygonSegmentType = std::uint8_t(c.type);
        Form().PolygonSegmentStyle = std::uint8_t(c.style);
        Click(c.button == Type ? p.sbSegmType : p.sbSegmStyle);
        EXPECT_EQ(Form().PolygonSegmentType, c.newType);
        EXPECT_EQ(Form().PolygonSegmentStyle, c.newStyle);
        const QImage* types[] = {&p.imSegmMain, &p.imSegmSpec1, &p.imSegmSpec2};
        EXPECT_EQ(p.sbSegmType->Glyph(), *types[c.newType]);
        EXPECT_EQ(p.sbSegmStyle->Glyph(), c.newStyle == 2 ? p.imSegmInvisible : p.imSegmVisible);
    }
}

TEST_F(ToolPalette, PanelShowsTheNodeAttributesAndChecksThePopup)
{
    TFormInstr1& p = Palette();
    auto checked = [&] {
        QStringList items;
        for (QAction* a : Form().PMCreatePolygon->actions())
            if (a->isChecked())
                items << a->text();
        return items;
    };
    Click(p.sbNodePic);
    EXPECT_EQ(Form().PolygonNodePicture, 1);
    EXPECT_EQ(p.sbNodePic->Glyph(), p.imPicOff);
    EXPECT_EQ(checked(), (QStringList{QStringLiteral("Основной сегмент"), QStringLiteral("Видимый сегмент"),
                                      QStringLiteral("Линия к узлу есть"),
                                      QStringLiteral("Рисунок в узле нет")}));
    Click(p.sbNodeLine);
    EXPECT_EQ(Form().PolygonNodeLine, 1);
    EXPECT_EQ(p.sbNodeLine->Glyph(), p.imLineOff);
    EXPECT_TRUE(checked().contains(QStringLiteral("Линия к узлу нет")));
    Click(p.sbNodeLine);
    Click(p.sbNodePic);
    EXPECT_EQ(p.sbNodeLine->Glyph(), p.imLineOn);
    EXPECT_EQ(p.sbNodePic->Glyph(), p.imPicOn);
    // A value outside its set leaves its button and items as they were.
    Form().PolygonNodePicture = 7;
    p.UpdatePolygonPanel();
    EXPECT_EQ(p.sbNodePic->Glyph(), p.imPicOn);
    EXPECT_TRUE(checked().contains(QStringLiteral("Рисунок в узле есть")));
}

TEST_F(ToolPalette, ThePanelGrowsThePaletteInThePolygonModeOnly)
{
    TFormInstr1& p = Palette();
    const int buttonsOnly = p.height();
    Click(p.sbPolygon);
    ASSERT_TRUE(p.pnPolygonProp->isVisible());
    EXPECT_EQ(p.height(), p.pnPolygonProp->geometry().bottom() + 1);
    EXPECT_EQ(p.pnPolygonProp->y(), 270);
    Click(p.sbPolygon);
    EXPECT_FALSE(p.pnPolygonProp->isVisible());
    EXPECT_EQ(p.height(), buttonsOnly);
}

TEST_F(ToolPalette, FocusReturnsToTheMainWindowAndTheFirstTickKeepsTheUsersMode)
{
    TFormInstr1& p = Palette();
    p.FirstActivation = true;
    Form().SetMouseMode(mmCreateLine, 0, true);
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&p, &activate);
    ASSERT_TRUE(p.Timer1->Enabled());
    EXPECT_EQ(p.Timer1->Interval(), 100);
    // While the main window is hidden the timer keeps ticking.
    Form().hide();
    p.Timer1->Fire();
    EXPECT_TRUE(p.Timer1->Enabled());
    EXPECT_EQ(Form().MouseMode, mmCreateLine);
    Form().show();
    p.Timer1->Fire();
    EXPECT_FALSE(p.Timer1->Enabled());
    // The mode the user chose (the click that activated the palette) stays.
    EXPECT_EQ(Form().MouseMode, mmCreateLine);
    EXPECT_FALSE(p.FirstActivation);
    // Later activations only give the focus back.
    Form().SetMouseMode(mmCreateLine, 0, true);
    QCoreApplication::sendEvent(&p, &activate);
    p.Timer1->Fire();
    EXPECT_EQ(Form().MouseMode, mmCreateLine);
}

TEST_F(ToolPalette, OpacitySliderCarriesToTheShownToolWindows)
{
    TFormInstr1& p = Palette();
    Click(p.sbNavigatorShow);
    ASSERT_NE(FormNavigator, nullptr);
    p.TrackBar1->setValue(100);
    EXPECT_DOUBLE_EQ(p.windowOpacity(), 100 / 255.0);
    EXPECT_NEAR(FormNavigator->windowOpacity(), 100 / 255.0, 0.01);
    Click(p.sbNavigatorShow);
    p.TrackBar1->setValue(150);
    EXPECT_NEAR(FormNavigator->windowOpacity(), 100 / 255.0, 0.01) << "a hidden navigator keeps its own";
}

TEST_F(ToolPalette, RightReleaseOverACreationButtonShowsItsFavouritesWhileItIsDown)
{
    std::vector<int> made;
    MapHooks().NewFormFavorites = [&](int kind, QWidget* owner) -> QWidget* {
        made.push_back(kind);
        EXPECT_EQ(owner, &Form());
        return new QWidget(owner, Qt::Tool);
    };
    TFormInstr1& p = Palette();
    p.move(900, 120);
    // Up: made on first use but left hidden.
    Click(p.sbLine, Qt::RightButton);
    ASSERT_NE(p.FormFavorites[1], nullptr);
    EXPECT_FALSE(p.FormFavorites[1]->isVisible());
    EXPECT_FALSE(p.sbLine->Down()) << "the right button does not press it";
    // Down: shown 50 pixels below the palette's top at left 5.
    Click(p.sbLine);
    Click(p.sbLine, Qt::RightButton);
    EXPECT_TRUE(p.FormFavorites[1]->isVisible());
    EXPECT_EQ(p.FormFavorites[1]->pos(), QPoint(5, 170));
    EXPECT_EQ(p.FormFavorites[1]->windowOpacity(), p.windowOpacity());
    ASSERT_TRUE(FavouritesPaletteShown);
    EXPECT_TRUE(FavouritesPaletteShown(1)) << "the creators take the code from it";
    EXPECT_FALSE(FavouritesPaletteShown(0));
    // Another mode button hides it.
    Click(p.sbPoint);
    EXPECT_FALSE(p.FormFavorites[1]->isVisible());
    Click(p.sbPoint, Qt::RightButton);
    Click(p.sbPolygon);
    Click(p.sbPolygon, Qt::RightButton);
    EXPECT_EQ(made, (std::vector<int>{1, 0, 2}));
    EXPECT_EQ(p.FormFavorites[2]->pos(), QPoint(5, 220));
    EXPECT_FALSE(p.FormFavorites[0]->isVisible());
    EXPECT_TRUE(p.FormFavorites[2]->isVisible());
    // Without a favourites window nothing is made.
    MapHooks().NewFormFavorites = nullptr;
    p.FormFavorites[1] = nullptr;
    Click(p.sbLine, Qt::RightButton);
    EXPECT_EQ(p.FormFavorites[1], nullptr);
}

TEST_F(ToolPalette, TheNavigatorButtonMakesItOnceAndTheNavigatorReleasesIt)
{
    TFormInstr1& p = Palette();
    p.move(900, 120);
    Click(p.sbNavigatorShow);
    ASSERT_NE(FormNavigator, nullptr);
    TFormNavigator* navigator = FormNavigator;
    EXPECT_TRUE(navigator->isVisible());
    EXPECT_EQ(navigator->parentWidget(), &Form());
    EXPECT_EQ(Form().ScaleBox, navigator->MapScale);
    EXPECT_EQ(navigator->frameGeometry().right() + 1, p.frameGeometry().left());
    EXPECT_EQ(navigator->frameGeometry().top(), p.frameGeometry().top());
    // The plan writes its scale into the box after a drawing.
    Click(p.sbAllView);
    EXPECT_EQ(navigator->MapScale->currentText(), QString::number(MainMap->OutputScale));
    Click(p.sbNavigatorShow);
    EXPECT_FALSE(navigator->isVisible());
    Click(p.sbNavigatorShow);
    EXPECT_EQ(FormNavigator, navigator);
    // Closing the navigator raises the palette's button.
    navigator->close();
    EXPECT_FALSE(p.sbNavigatorShow->Down());
}

TEST_F(ToolPalette, ClosingThePaletteAsksAsTheMainWindowDoes)
{
    MainMap->DoCommand(mcNewPage, TCommandParams().Text(QStringLiteral("1")));
    Run.ExitAnswer = mrCancel;
    Palette().close();
    EXPECT_EQ(Run.ExitQuestions.size(), 1u);
    EXPECT_TRUE(Palette().isVisible()) << "the cancelled close keeps the palette";
    EXPECT_TRUE(Form().isVisible());
    // "Не сохранять": the main window closes and the palette goes with it.
    Run.ExitAnswer = mrNo;
    Palette().close();
    EXPECT_EQ(Run.ExitQuestions.size(), 2u);
    EXPECT_FALSE(Form().isVisible());
    EXPECT_FALSE(Palette().isVisible());
}

TEST_F(ToolPalette, AsAUserAPolygonWithASpecialSegmentFromThePanel)
{
    FixDestination(Form(), QStringLiteral("Контуры"));
    Form().ShowPolygonPopup = 0;
    MainMap->LinkToNodes = 0;
    TFormInstr1& p = Palette();
    Click(p.sbNoSem);   // the code as it is, no classifier
    Form().PolygonCode = QStringLiteral("ОГР");
    Click(p.sbPolygon);
    TSurfaceDriver mouse(Form());
    const int before = int(CommandLog->size());
    mouse.Click(100, 100);
    Click(p.sbSegmType);   // the next nodes start special segments of type I
    mouse.Click(150, 120);
    mouse.Click(200, 100);
    mouse.Click(200, 100, Qt::RightButton);
    QStringList made;
    for (const QString& line : CommandLog->mid(before))
        if (line.startsWith(QStringLiteral("mcNewPolygon=")))
            made << line;
    ASSERT_EQ(made.size(), 1);
    const QRegularExpression group(QStringLiteral("\\[\\{[^}]*\\}\\{[^}]*\\}\\{[^}]*\\}\\{(\\d)\\}\\{(\\d)\\}"));
    QStringList kinds;
    for (auto it = group.globalMatch(made[0]); it.hasNext();) {
        const auto m = it.next();
        kinds << m.captured(1) + m.captured(2);
    }
    EXPECT_EQ(kinds, (QStringList{QStringLiteral("00"), QStringLiteral("11"), QStringLiteral("11")}));
    EXPECT_EQ(Form().MouseMode, mmCreatePolygon);
    EXPECT_TRUE(p.sbPolygon->Down());
}

TEST_F(ToolPalette, PicturesOfThePaletteWithItsPolygonPanel)
{
    TFormInstr1& p = Palette();
    EXPECT_FALSE(SaveGrab(p, QStringLiteral("palette")).isEmpty());
    Click(p.sbPolygon);
    Form().PolygonSegmentType = 1;
    Form().PolygonSegmentStyle = 2;
    Form().PolygonNodePicture = 1;
    p.UpdatePolygonPanel();
    EXPECT_FALSE(SaveGrab(p, QStringLiteral("palette-polygon")).isEmpty());
    // Every label of the panel fits whole.
    for (QLabel* label : p.pnPolygonProp->findChildren<QLabel*>()) {
        SCOPED_TRACE(label->text().toStdString());
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text().trimmed()), label->width());
    }
}

}  // namespace
