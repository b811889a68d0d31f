// The point editor and the caption-setting window as a user drives them: the command of
// "Готово" by precision, the caption settings list with its buttons and selection rule,
// "Все настройки по первому элементу", "Отмена", the move, and a text the formatter
// refuses.
#include "ObjectWindowsSupport.h"

#include "controls/ExSlider.h"
#include "controls/TextListBox.h"
#include "dialogs/objects/ObjectEditors.h"
#include "dialogs/objects/UnitChangePageLayer.h"
#include "dialogs/objects/UnitPointProp.h"
#include "dialogs/objects/UnitTextProp.h"
#include "dialogs/objects/UnitUserTextProp.h"
#include "foundation/ui/NumEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <tuple>

namespace {

class PointWindow : public ObjectWindows {
protected:
    void SetUp() override
    {
        ObjectWindows::SetUp();
        Cmd({"mcNewPage=<Лист 1>", "mcNewLayer=<0><Здания>", "mcNewLayer=<0><Дороги>"});
    }

    // The point window on point index of layer 0, step acting on it; the result.
    TModalResult Edit(int index, const std::function<void(QWidget*)>& step, bool isNew = false)
    {
        int page = 0, layer = 0;
        Index = index;
        TModalScript script;
        script.Then("TFormPointProp", step);
        const TModalResult result = PointPropDlg(page, layer, Index, isNew);
        EXPECT_TRUE(script.Done());
        return result;
    }

    // Clicks line i of the settings list with Ctrl, as a user adds it to the selection.
    static void ClickLine(QWidget* w, int i)
    {
        auto* list = Control<TTextListBox>(w, "lbAutoTexts");
        const QRect rect = list->visualItemRect(list->item(i));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, rect.center());
    }

    static QStringList Lines(QWidget* w)
    {
        auto* list = Control<TTextListBox>(w, "lbAutoTexts");
        QStringList lines;
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }

    int Index = 0;
};

const char* const FourSettings =
    "<[{1}{0}{0}{1}{0}][{2}{0}{0}{1}{0}][{3}{0}{0}{1}{0}][{4}{0}{0}{1}{0}]>";

}  // namespace

TEST(CaptionSettings, RulesOfTheList)
{
    struct Case { int selected; bool prop, del; };
    for (const Case& c : {Case{0, false, false}, Case{1, true, true}, Case{3, false, true}}) {
        bool prop = !c.prop, del = !c.del;
        SettingsButtonsState(c.selected, prop, del);
        EXPECT_EQ(prop, c.prop) << c.selected;
        EXPECT_EQ(del, c.del) << c.selected;
    }
    struct Turn { Extended degrees; TWinAngle tenths; };
    for (const Turn& t : {Turn{12.25L, 122}, Turn{12.75L, 128}, Turn{12.36L, 124}, Turn{12.34L, 123}, Turn{-0.05L, 0}})
        EXPECT_EQ(RotationFromDegrees(t.degrees), t.tenths) << double(t.degrees);
    ArrUserTexts texts(4);
    for (int i = 0; i < 4; ++i)
        texts[i].Dx = i;
    DeleteUserTexts(texts, {0, 2});
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Dx, 1);
    EXPECT_EQ(texts[1].Dx, 3);
    KeepFirstUserText(texts);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Dx, 1);
    ArrUserTexts none;
    KeepFirstUserText(none);
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].SizeFactor, 0);
}

TEST_F(PointWindow, GotovoSendsTheCoordinatesByThePrecisionChosen)
{
    Cmd("mcNewPoint=<0><0><ТОЧ/Ф001><10,25><20,40><2><12,5><><0><0>");
    struct Case { int precision; const char* sent; };
    const Case cases[] = {
        {2, "mcSetPointProp=<0><0><0><ТОЧ/Ф001><10,25><20,40><2><12,50><><0><0>"},
        {3, "mcSetPointProp=<0><0><0><ТОЧ/Ф001><10,250><20,400><3><12,50><><0><0>"},
        {0, "mcSetPointProp=<0><0><0><ТОЧ/Ф001><10><20><0><12,50><><0><0>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.precision);
        const int mark = JournalMark();
        EXPECT_EQ(Edit(0, [&c](QWidget* w) {
                      Control<TExSlider>(w, "ExSlider1")->SetValue(c.precision);
                      Control<QPushButton>(w, "BitBtn1")->click();
                  }),
                  mrOk);
        EXPECT_EQ(JournalSince(mark), QStringList{QString::fromUtf8(c.sent)});
    }
}

TEST_F(PointWindow, TheWindowShowsThePoint)
{
    Cmd("mcNewPoint=<0><1><ТОЧ/Ф001><10,123><20,4><3><45,25><[{1,5}{-2}{125}{1,25}{2}]><1><2>");
    int page = 0, layer = 1, index = 0;
    TModalScript script;
    script.Then("TFormPointProp", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Точечный объект"));
        EXPECT_EQ(Control<QLabel>(w, "LPage")->text(), QStringLiteral("Лист 1"));
        EXPECT_EQ(Control<QLabel>(w, "LLayer")->text(), QStringLiteral("Дороги"));
        EXPECT_EQ(Control<QLineEdit>(w, "eText")->text(), QStringLiteral("ТОЧ/Ф001"));
        EXPECT_EQ(Control<QLineEdit>(w, "neX")->text(), QStringLiteral("10,123"));
        EXPECT_EQ(Control<QLineEdit>(w, "neY")->text(), QStringLiteral("20,400"));
        // The stored angle with its fractions, not the slider's whole degrees.
        EXPECT_EQ(Control<QLineEdit>(w, "neAngle")->text(), QStringLiteral("45,25"));
        EXPECT_EQ(Control<TExSlider>(w, "ExSlider2")->Value(), 45);
        EXPECT_EQ(Control<QLabel>(w, "AutotextNum")->text(), QStringLiteral("Всего автоподписей:  0"));
        EXPECT_EQ(Lines(w), QStringList{QStringLiteral("0    [dx=1,50 dy=-2,00 da=12,50 kSz=1,25 v=2]")});
        EXPECT_TRUE(Control<QCheckBox>(w, "cbAllUserTextsFromFirst")->isChecked());
        EXPECT_TRUE(Control<QToolButton>(w, "sbCapLineOff")->isChecked());
        EXPECT_FALSE(Control<QPushButton>(w, "btProp")->isEnabled());
        EXPECT_FALSE(Control<QPushButton>(w, "btDel")->isEnabled());
        SaveWindowPicture(w, QStringLiteral("point-window"));
        Esc(w);
    });
    EXPECT_EQ(PointPropDlg(page, layer, index, false), mrCancel);
}

TEST_F(PointWindow, AllFromFirstSendsTheFirstSettingOrOneOfZeros)
{
    Cmd(QStringLiteral("mcNewPoint=<0><0><ТОЧ><1,00><2,00><2><0><[{7}{0}{0}{1}{0}][{8}{0}{0}{1}{0}][{9}{0}{0}{1}{0}]><0><0>")
            .toUtf8()
            .constData());
    Cmd("mcNewPoint=<0><0><ТОЧ><1,00><2,00><2><0><><0><0>");
    const char* const sent[2] = {"mcSetPointProp=<0><0><0><ТОЧ><1,00><2,00><2><0,00><[{7,00}{0,00}{0}{1,00}{0}]><1><0>",
                                 "mcSetPointProp=<0><0><1><ТОЧ><1,00><2,00><2><0,00><[{0,00}{0,00}{0}{0,00}{0}]><1><0>"};
    for (int i = 0; i < 2; ++i) {
        const int mark = JournalMark();
        Edit(i, [](QWidget* w) {
            Click(w, "cbAllUserTextsFromFirst");
            Enter(w);
        });
        EXPECT_EQ(JournalSince(mark), QStringList{QString::fromUtf8(sent[i])});
    }
}

TEST_F(PointWindow, DeletingLinesZeroAndTwoOfFourKeepsOneAndThree)
{
    Map->StrToComm(QStringLiteral("mcNewPoint=<0><0><ТОЧ><1,00><2,00><2><0>%1<0><0>").arg(QString::fromUtf8(FourSettings)));
    const int mark = JournalMark();
    MessageAnswer = mrCancel;
    Edit(0, [this](QWidget* w) {
        ClickLine(w, 0);
        EXPECT_TRUE(Control<QPushButton>(w, "btProp")->isEnabled());
        ClickLine(w, 2);
        EXPECT_FALSE(Control<QPushButton>(w, "btProp")->isEnabled());
        EXPECT_TRUE(Control<QPushButton>(w, "btDel")->isEnabled());
        Click(w, "btDel");   // declined: nothing goes
        EXPECT_EQ(Lines(w).size(), 4);
        MessageAnswer = mrOk;
        Click(w, "btDel");
        EXPECT_EQ(Lines(w), (QStringList{QStringLiteral("0    [dx=2,00 dy=0,00 da=0,00 kSz=1,00 v=0]"),
                                         QStringLiteral("1    [dx=4,00 dy=0,00 da=0,00 kSz=1,00 v=0]")}));
        EXPECT_FALSE(Control<QPushButton>(w, "btDel")->isEnabled());
        Click(w, "BitBtn1");
    });
    EXPECT_EQ(Messages, QStringList(2, QStringLiteral("Удаление пользовательских настроек автотекста: "
                                                      "2 настроек будет удалено!")));
    EXPECT_EQ(JournalSince(mark),
              QStringList{QStringLiteral("mcSetPointProp=<0><0><0><ТОЧ><1,00><2,00><2><0,00>"
                                         "<[{2,00}{0,00}{0}{1,00}{0}][{4,00}{0,00}{0}{1,00}{0}]><0><0>")});
}

TEST_F(PointWindow, AddAndPropertiesOpenTheSettingWindow)
{
    Cmd("mcNewPoint=<0><0><ТОЧ><1,00><2,00><2><0><[{1}{1}{0}{1}{0}]><0><0>");
    const int mark = JournalMark();
    TModalScript setting;
    // "Добавить": a new setting, its rotation typed, shown on.
    setting.Then("TFormUserTextProp", [](QWidget* w) {
        EXPECT_EQ(Control<QLineEdit>(w, "neKSz")->text(), QStringLiteral("1,00"));
        TypeInto(w, "neX", QStringLiteral("0,5"));
        TypeInto(w, "neAngle", QStringLiteral("12,25"));
        EXPECT_EQ(Control<QLineEdit>(w, "neAngle")->text(), QStringLiteral("12,25"));
        EXPECT_EQ(Control<TExSlider>(w, "ExSlider2")->Value(), 12);
        Click(w, "sbOn");
        SaveWindowPicture(w, QStringLiteral("caption-setting-window"));
        Click(w, "BitBtn1");
    });
    // "Свойства" on the first: closed with the close box, the values still go back.
    setting.Then("TFormUserTextProp", [](QWidget* w) {
        EXPECT_EQ(Control<QLineEdit>(w, "neX")->text(), QStringLiteral("1,000"));
        TypeInto(w, "neAngle", QStringLiteral("-12,34"));
        TypeInto(w, "neKSz", QStringLiteral("2x"));   // the x is refused, 2 stays
        CloseBox(w);
    });
    Edit(0, [](QWidget* w) {
        Click(w, "btAdd");
        ClickLine(w, 0);
        Click(w, "btProp");
        Click(w, "BitBtn1");
    });
    EXPECT_TRUE(setting.Done());
    EXPECT_EQ(JournalSince(mark),
              QStringList{QStringLiteral("mcSetPointProp=<0><0><0><ТОЧ><1,00><2,00><2><0,00>"
                                         "<[{1,00}{1,00}{-123}{2,00}{0}][{0,50}{0,00}{122}{1,00}{1}]><0><0>")});
}

TEST_F(PointWindow, CancelIssuesNothingButAMoveStaysMade)
{
    Cmd({"mcNewPoint=<0><0><ТОЧ><1,00><2,00><2><0><><0><0>", "mcNewPoint=<0><1><ТОЧ><1,00><2,00><2><0><><0><0>"});
    int mark = JournalMark();
    EXPECT_EQ(Edit(0, [](QWidget* w) {
                  TypeInto(w, "neX", QStringLiteral("5"));
                  Click(w, "BitBtn2");
              }),
              mrCancel);
    EXPECT_EQ(JournalSince(mark), QStringList());

    // "Перенести" to the second layer, then "Отмена": the point stays moved and the
    // caller learns its new place.
    mark = JournalMark();
    int page = 0, layer = 0, index = 0;
    TModalScript script;
    script.Then("TFormPointProp", [](QWidget* w) { Click(w, "sbChangePageLayer"); })
        .Then("TFormChangePageLayer", [](QWidget* w) {
            Control<QComboBox>(w, "cbLayer")->setCurrentIndex(1);
            Click(w, "BitBtn1");
        })
        .Then("TFormPointProp", [](QWidget* w) {
            EXPECT_EQ(Control<QLabel>(w, "LLayer")->text(), QStringLiteral("Дороги"));
            Esc(w);
        });
    EXPECT_EQ(PointPropDlg(page, layer, index, false), mrCancel);
    EXPECT_EQ(JournalSince(mark), (QStringList{QStringLiteral("mcNewPoint=<0><1><ТОЧ><1,00><2,00><2><0,00><><0><0>"),
                                              QStringLiteral("mcDelPoint=<0><0><0>")}));
    EXPECT_EQ(layer, 1);
    EXPECT_EQ(index, 1);
}

TEST_F(PointWindow, ANewPointGoesToTheLayerPassed)
{
    const int mark = JournalMark();
    int page = 0, layer = 1, index = 7;
    TModalScript script;
    script.Then("TFormPointProp", [](QWidget* w) {
        EXPECT_FALSE(Control<QPushButton>(w, "sbChangePageLayer")->isEnabled());
        EXPECT_EQ(Control<TExSlider>(w, "ExSlider1")->Value(), 2);
        TypeInto(w, "eText", QStringLiteral("ТОЧ/Ф<1"));
        TypeInto(w, "neX", QStringLiteral("100,5"));
        TypeInto(w, "neAngle", QStringLiteral("30"));
        Click(w, "BitBtn1");   // the "<" cannot stand in a field: said, and the window stays
        EXPECT_TRUE(w->isVisible());
        TypeInto(w, "eText", QStringLiteral("ТОЧ/Ф1"));
        Click(w, "BitBtn1");
    });
    EXPECT_EQ(PointPropDlg(page, layer, index, true), mrOk);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].startsWith(QStringLiteral("Точечный объект: Значение \"ТОЧ/Ф<1\""))) << Messages[0].toStdString();
    EXPECT_EQ(JournalSince(mark), QStringList{QStringLiteral("mcNewPoint=<0><1><ТОЧ/Ф1><100,50><0,00><2><30,00><><0><0>")});
    EXPECT_EQ(layer, 1);
    EXPECT_EQ(index, 7);
}

TEST(ObjectWindowsWithoutHooks, EveryEntryAnswersCancelAndKeepsItsArguments)
{
    TScopedProgramDialogHooks none;
    int page = 1, layer = 2, index = 3;
    Extended dx = 1.5L, dy = 2.5L, size = 3;
    TWinAngle rotation = 45;
    std::uint8_t visibility = 1;
    EXPECT_EQ(PointPropDlg(page, layer, index, false), mrCancel);
    EXPECT_EQ(TextPropDlg(page, layer, index, true), mrCancel);
    EXPECT_EQ(UserTextPropDlg(dx, dy, rotation, size, visibility), mrCancel);
    EXPECT_EQ(ChangeRastrPageDlg(page, index), mrCancel);
    EXPECT_EQ(ChangeTextPageLayerDlg(page, layer, index), mrCancel);
    EXPECT_EQ(ChangePointPageLayerDlg(page, layer, index), mrCancel);
    EXPECT_EQ(ChangeLinePageLayerDlg(page, layer, index), mrCancel);
    EXPECT_EQ(ChangePolygonPageLayerDlg(page, layer, index), mrCancel);
    EXPECT_EQ(std::make_tuple(page, layer, index), std::make_tuple(1, 2, 3));
    EXPECT_EQ(std::make_tuple(dx, dy, size, rotation, visibility),
              std::make_tuple(1.5L, 2.5L, Extended(3), 45, std::uint8_t(1)));
    EXPECT_EQ(MoveKind, mkNone);
}
