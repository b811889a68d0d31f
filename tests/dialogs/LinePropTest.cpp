// The line editor and the line node window as a user drives them: the line shown, the
// command of "Готово" by precision with every node value and origin, the strip and the
// additional lines, the node operations and their selection rule, points attached to
// nodes kept, a line of fewer than two nodes refused, "-> в txt".
#include "ObjectWindowsSupport.h"

#include "controls/ExSlider.h"
#include "controls/TextListBox.h"
#include "dialogs/objects/NodeLists.h"
#include "dialogs/objects/UnitIntrPolygonProp.h"
#include "dialogs/objects/UnitLineProp.h"
#include "dialogs/objects/UnitPolygonProp.h"
#include "foundation/ui/NumEdit.h"
#include "semantics/codec/SemDialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <tuple>

namespace {

// The lines of the list box name.
QStringList ListLines(QWidget* w, const char* name)
{
    auto* list = Control<TTextListBox>(w, name);
    QStringList lines;
    for (int i = 0; list && i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

// The X shown by each node line, in list order.
QStringList ListXs(QWidget* w, const char* name)
{
    QStringList xs;
    for (const QString& line : ListLines(w, name))
        xs << line.section(QLatin1Char('('), 1).simplified().section(QLatin1Char(' '), 0, 0);
    return xs;
}

// A click on line i as the user gives it (with Ctrl to add it to the selection).
void ClickLine(QWidget* w, const char* name, int i, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    auto* list = Control<TTextListBox>(w, name);
    const QRect rect = list->visualItemRect(list->item(i));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, mods, rect.center());
}

// Which of the node buttons are enabled, in the order Свойства, Удалить, Вперед, Назад,
// В начало, В конец, Добавить, Вставить.
QString NodeButtons(QWidget* w)
{
    QString state;
    for (const char* name : {"btNodesProp", "btNodesDel", "btNodesGoUp", "btNodesGoDown", "btNodesGoFirst",
                             "btNodesGoLast", "btNodesAdd", "btNodesInsert"})
        state += Control<QPushButton>(w, name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return state;
}

class LineWindow : public ObjectWindows {
protected:
    void SetUp() override
    {
        ObjectWindows::SetUp();
        Cmd({"mcNewPage=<Лист 1>", "mcNewLayer=<0><Здания>", "mcNewLayer=<0><Дороги>"});
    }

    // The line window on line index of layer 0, step acting on it; the result.
    TModalResult Edit(int index, const std::function<void(QWidget*)>& step, bool isNew = false)
    {
        int page = 0, layer = 0;
        TModalScript script;
        script.Then("TFormLineProp", step);
        const TModalResult result = LinePropDlg(page, layer, index, isNew);
        EXPECT_TRUE(script.Done());
        return result;
    }

    // A line of count nodes at X = 0, 1, 2 ..., Y = 0.
    void LineOf(int count)
    {
        QString nodes;
        for (int i = 0; i < count; ++i)
            nodes += QStringLiteral("[{%1}{0}{0}{-1}{0}{-1}{0}{0}]").arg(i);
        Map->StrToComm(QStringLiteral("mcNewLine=<0><0><ЛИН><><0><0><2><><%1>").arg(nodes));
    }
};

}  // namespace

TEST_F(LineWindow, TheWindowShowsTheLine)
{
    Cmd("mcNewLine=<0><1><ЛЭП><[{1,5}{-2}{125}{1,25}{2}]><1><2,5><2><{ОГР}{БРД}>"
        "<[{0}{0}{0}{-1}{0}{-1}{0}{0}][{3}{4}{1}{2,5}{2}{3}{1}{1}][{3}{0}{0}{-1}{0}{-1}{0}{0}]>");
    int page = 0, layer = 1, index = 0;
    const int mark = JournalMark();
    TModalScript script;
    script.Then("TFormLineProp", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Линейный объект"));
        EXPECT_EQ(Control<QLabel>(w, "LPage")->text(), QStringLiteral("Лист 1"));
        EXPECT_EQ(Control<QLabel>(w, "LLayer")->text(), QStringLiteral("Дороги"));
        EXPECT_EQ(Control<QLineEdit>(w, "eText")->text(), QStringLiteral("ЛЭП"));
        EXPECT_TRUE(Control<QCheckBox>(w, "cbLW")->isChecked());
        EXPECT_TRUE(Control<QLineEdit>(w, "neLW")->isEnabled());
        EXPECT_EQ(Control<QLineEdit>(w, "neLW")->text(), QStringLiteral("2,50"));
        EXPECT_EQ(Control<QPlainTextEdit>(w, "mOverLines")->toPlainText(), QStringLiteral("ОГР\nБРД"));
        EXPECT_EQ(ListLines(w, "TLBUserTexts"), QStringList{QStringLiteral("0    [dx=1,50 dy=-2,00 da=12,50 kSz=1,25 v=2]")});
        EXPECT_EQ(ListLines(w, "TLBNodes"),
                  (QStringList{QStringLiteral("0   (    0,00     0,00) сдвиг знака нет; тип узла    основной; счетчик текста авто"),
                               QStringLiteral("1   (    3,00     4,00) сдвиг знака 2,50; тип узла специальный; счетчик текста 3"),
                               QStringLiteral("2   (    3,00     0,00) сдвиг знака нет; тип узла    основной; счетчик текста авто")}));
        EXPECT_EQ(Control<QLabel>(w, "Label3")->text(), QStringLiteral("Длина контура=9,000м"));
        EXPECT_EQ(NodeButtons(w), QStringLiteral("00000011"));
        // The precision refills the list with its decimals.
        Control<TExSlider>(w, "ExSlider1")->SetValue(3);
        EXPECT_TRUE(ListLines(w, "TLBNodes")[1].startsWith(QStringLiteral("1   (   3,000    4,000)")));
        Control<TExSlider>(w, "ExSlider1")->SetValue(2);
        SaveWindowPicture(w, QStringLiteral("line-window"));
        CloseBox(w);
    });
    EXPECT_EQ(LinePropDlg(page, layer, index, false), mrCancel);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(JournalSince(mark), QStringList()) << "the close box sends nothing";
}

TEST_F(LineWindow, GotovoSendsEveryNodeValueByThePrecisionAndEachNodesOrigin)
{
    Cmd("mcNewLine=<0><0><ЛЭП><><0><0><2><><[{0,4}{0}{0}{-1}{0}{-1}{1}{1}][{3}{4,6}{1}{2,5}{2}{3}{0}{0}]>");
    struct Case { int precision; const char* sent; };
    const Case cases[] = {
        {2, "mcSetLineProp=<0><0><0><ЛЭП><><0><0,00><2><>"
            "<[{0,40}{0,00}{0}{-1,00}{0}{-1}{1}{1}{0}][{3,00}{4,60}{1}{2,50}{2}{3}{0}{0}{1}]>"},
        {0, "mcSetLineProp=<0><0><0><ЛЭП><><0><0,00><0><>"
            "<[{0}{0}{0}{-1,00}{0}{-1}{1}{1}{0}][{3}{5}{1}{2,50}{2}{3}{0}{0}{1}]>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.precision);
        const int mark = JournalMark();
        EXPECT_EQ(Edit(0, [&c](QWidget* w) {
                      Control<TExSlider>(w, "ExSlider1")->SetValue(c.precision);
                      Click(w, "BitBtn1");
                  }),
                  mrOk);
        EXPECT_EQ(JournalSince(mark), QStringList{QString::fromUtf8(c.sent)});
    }
    // The curve and inverted flags are still on the line.
    const RGLineNode* first = Map->Pages.At(0)->Layers.At(0)->Lines.At(0)->Nodes.At(0);
    EXPECT_EQ(std::make_tuple(first->Curve, first->InvertText), std::make_tuple(std::uint8_t(1), std::uint8_t(1)));
}

TEST_F(LineWindow, TheStripWidthAndTheAdditionalLinesAreSentAsShown)
{
    Cmd("mcNewLine=<0><0><ЛИН><><0><0><2><{СТР}><[{0}{0}{0}{-1}{0}{-1}{0}{0}][{1}{0}{0}{-1}{0}{-1}{0}{0}]>");
    QStringList chosen = {QStringLiteral("ОГР"), QStringLiteral("БРД/Ф1")};
    TSemDialogHooks sem;
    int asked = 0;
    sem.SemDlg = [&](int smode, int& lmode, QString& s) {
        ++asked;
        EXPECT_EQ(smode, 1);
        EXPECT_TRUE(s.isEmpty());
        if (chosen.isEmpty())
            return mrCancel;
        lmode = 1;
        s = chosen.takeFirst();
        return mrOk;
    };
    const TScopedSemDialogHooks semScope(sem);
    const int mark = JournalMark();
    Edit(0, [](QWidget* w) {
        Click(w, "cbLW");
        EXPECT_TRUE(Control<QLineEdit>(w, "neLW")->isEnabled());
        TypeInto(w, "neLW", QStringLiteral("3,25"));
        Click(w, "cbLW");
        EXPECT_FALSE(Control<QLineEdit>(w, "neLW")->isEnabled());
        Click(w, "btClearOverLines");
        for (int i = 0; i < 3; ++i)
            Click(w, "btAddOverLine");   // the third is cancelled and adds nothing
        EXPECT_EQ(Control<QPlainTextEdit>(w, "mOverLines")->toPlainText(), QStringLiteral("ОГР\nБРД/Ф1"));
        Click(w, "BitBtn1");
    });
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(JournalSince(mark),
              QStringList{QStringLiteral("mcSetLineProp=<0><0><0><ЛИН><><0><3,25><2><{ОГР}{БРД/Ф1}>"
                                         "<[{0,00}{0,00}{0}{-1,00}{0}{-1}{0}{0}{0}][{1,00}{0,00}{0}{-1,00}{0}{-1}{0}{0}{1}]>")});
}

TEST_F(LineWindow, NodeOperationsFollowTheSelectionRuleAndAskBeforeDeleting)
{
    LineOf(5);
    const int mark = JournalMark();
    MessageAnswer = mrCancel;
    Edit(0, [this](QWidget* w) {
        ClickLine(w, "TLBNodes", 3);
        EXPECT_EQ(NodeButtons(w), QStringLiteral("11111111"));
        Click(w, "btNodesGoFirst");
        EXPECT_EQ(ListXs(w, "TLBNodes"),
                  (QStringList{QStringLiteral("3,00"), QStringLiteral("1,00"), QStringLiteral("2,00"),
                               QStringLiteral("0,00"), QStringLiteral("4,00")}));
        EXPECT_EQ(NodeButtons(w), QStringLiteral("00000011")) << "the refilled list has no selection";
        ClickLine(w, "TLBNodes", 0);
        Click(w, "btNodesGoUp");   // the first has no node before it
        ClickLine(w, "TLBNodes", 4);
        Click(w, "btNodesGoDown");   // nor the last one after it
        ClickLine(w, "TLBNodes", 1);
        ClickLine(w, "TLBNodes", 4, Qt::ControlModifier);
        EXPECT_EQ(NodeButtons(w), QStringLiteral("01000011"));
        Click(w, "btNodesDel");   // declined: all stay
        EXPECT_EQ(ListLines(w, "TLBNodes").size(), 5);
        MessageAnswer = mrOk;
        ClickLine(w, "TLBNodes", 1);
        ClickLine(w, "TLBNodes", 4, Qt::ControlModifier);
        Click(w, "btNodesDel");
        EXPECT_EQ(ListXs(w, "TLBNodes"),
                  (QStringList{QStringLiteral("3,00"), QStringLiteral("2,00"), QStringLiteral("0,00")}));
        EXPECT_EQ(Control<QLabel>(w, "Label3")->text(), QStringLiteral("Длина контура=3,000м"));
        Click(w, "BitBtn1");
    });
    EXPECT_EQ(Messages, QStringList(2, QStringLiteral("Удаление узлов линейного объекта: узлов будет удалено: 2")));
    EXPECT_EQ(JournalSince(mark),
              QStringList{QStringLiteral("mcSetLineProp=<0><0><0><ЛИН><><0><0,00><2><>"
                                         "<[{3,00}{0,00}{0}{-1,00}{0}{-1}{0}{0}{3}][{2,00}{0,00}{0}{-1,00}{0}{-1}{0}{0}{2}]"
                                         "[{0,00}{0,00}{0}{-1,00}{0}{-1}{0}{0}{0}]>")});
}

// The points attached to a node used to go on every "Готово", even with nothing changed.
TEST_F(LineWindow, PointsAttachedToNodesStayThroughGotovoAndInsert)
{
    LineOf(4);
    RGLine& line = *Map->Pages.At(0)->Layers.At(0)->Lines.At(0);
    line.Nodes.At(2)->NodePoints.AddItem();
    line.Nodes.At(2)->NodePoints.Item->Semantics = QStringLiteral("ОПР");
    line.Nodes.At(2)->NodePoints.Item->Position = GeoPoint(2, 0);
    const QString before = NativeText();
    ASSERT_TRUE(before.contains(QStringLiteral("ОПР")));
    EXPECT_EQ(Edit(0, [](QWidget* w) { Click(w, "BitBtn1"); }), mrOk);
    EXPECT_EQ(NativeText(), before);

    // "Вставить" on node 2: the copy opens in the node window and comes before it; the
    // point stays on the node it hung on.
    TModalScript node;
    node.Then("TFormlineNodeProp", [](QWidget* w) {
        EXPECT_EQ(Control<QLineEdit>(w, "neX")->text(), QStringLiteral("2,00"));
        TypeInto(w, "neX", QStringLiteral("1,5"));
        Click(w, "BitBtn1");
    });
    Edit(0, [](QWidget* w) {
        ClickLine(w, "TLBNodes", 2);
        Click(w, "btNodesInsert");
        EXPECT_EQ(ListXs(w, "TLBNodes"), (QStringList{QStringLiteral("0,00"), QStringLiteral("1,00"), QStringLiteral("1,50"),
                                                      QStringLiteral("2,00"), QStringLiteral("3,00")}));
        Click(w, "BitBtn1");
    });
    EXPECT_TRUE(node.Done());
    QString expected = before;
    const QString third = QStringLiteral("$2,00 0,00\n[ТОЧ\n@ОПР");
    ASSERT_TRUE(expected.contains(third)) << expected.toStdString();
    expected.replace(third, QStringLiteral("$1,50 0,00\n") + third);
    EXPECT_EQ(NativeText(), expected);
    EXPECT_EQ(line.Nodes.At(3)->NodePoints.GetCount(), 1);
}

TEST_F(LineWindow, ANewLineNeedsTwoNodes)
{
    const int mark = JournalMark();
    TModalScript node;
    node.Then("TFormlineNodeProp", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Узел линейного объекта"));
        EXPECT_TRUE(Control<QCheckBox>(w, "cbPicPosAuto")->isChecked());
        EXPECT_TRUE(Control<QCheckBox>(w, "cbTxtCntAuto")->isChecked());
        TypeInto(w, "neY", QStringLiteral("5"));
        Click(w, "BitBtn1");
    });
    node.Then("TFormlineNodeProp", [](QWidget* w) { Click(w, "BitBtn1"); });
    int page = 0, layer = 1, index = 0;
    TModalScript script;
    script.Then("TFormLineProp", [this](QWidget* w) {
        EXPECT_FALSE(Control<QPushButton>(w, "sbChangePageLayer")->isEnabled());
        TypeInto(w, "eText", QStringLiteral("ЛИН"));
        Click(w, "btNodesAdd");
        Click(w, "BitBtn1");   // one node: said, and the window stays
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(Messages, QStringList{QStringLiteral("Линейный объект: Для линейного объекта нужно не менее 2 узлов")});
        Click(w, "btNodesAdd");
        Click(w, "BitBtn1");
    });
    EXPECT_EQ(LinePropDlg(page, layer, index, true), mrOk);
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(node.Done());
    EXPECT_EQ(JournalSince(mark),
              QStringList{QStringLiteral("mcNewLine=<0><1><ЛИН><><0><0,00><2><>"
                                         "<[{0,00}{5,00}{0}{-1,00}{0}{-1}{0}{0}][{0,00}{0,00}{0}{-1,00}{0}{-1}{0}{0}]>")});
}

TEST_F(LineWindow, TheNodeWindowWritesBackWhateverCloseIt)
{
    struct Case {
        const char* name;
        std::function<void(QWidget*)> act;
        std::tuple<Extended, Extended, int, Extended, int, int, int> result;   // X Y type shift segment counter inverted
    };
    const Case cases[] = {
        {"automatic boxes unchecked and typed, closed with the close box",
         [](QWidget* w) {
             Click(w, "cbPicPosAuto");
             EXPECT_TRUE(Control<QLineEdit>(w, "nePicPos")->isEnabled());
             TypeInto(w, "nePicPos", QStringLiteral("4,5"));
             Click(w, "cbTxtCntAuto");
             TypeInto(w, "neTxtCnt", QStringLiteral("7"));
             Click(w, "rbNodeSpecial");
             Click(w, "rbSegmSecond");
             Click(w, "cbInv");
             CloseBox(w);
         },
         {Extended(1.25L), Extended(2), 1, Extended(4.5L), 2, 7, 1}},
        {"Авто checked again sets -1", [](QWidget* w) {
             Click(w, "cbPicPosAuto");
             TypeInto(w, "nePicPos", QStringLiteral("4,5"));
             Click(w, "cbPicPosAuto");
             EXPECT_FALSE(Control<QLineEdit>(w, "nePicPos")->isEnabled());
             Click(w, "BitBtn1");
         },
         {Extended(1.25L), Extended(2), 0, Extended(-1), 0, -1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Extended x = 1.25L, y = 2, shift = -1;
        std::uint8_t type = 0, segment = 0, inverted = 0;
        std::int32_t counter = -1;
        TModalScript script;
        script.Then("TFormlineNodeProp", [&c](QWidget* w) {
            EXPECT_EQ(Control<QLineEdit>(w, "neX")->text(), QStringLiteral("1,250"));
            EXPECT_EQ(Control<QLineEdit>(w, "nePicPos")->text(), QStringLiteral("-1,00"));
            EXPECT_FALSE(Control<QLineEdit>(w, "nePicPos")->isEnabled());
            EXPECT_EQ(Control<QLineEdit>(w, "neTxtCnt")->text(), QStringLiteral("-1"));
            EXPECT_TRUE(Control<QRadioButton>(w, "rbNodeMain")->isChecked());
            EXPECT_TRUE(Control<QRadioButton>(w, "rbSegmAuto")->isChecked());
            c.act(w);
        });
        LineNodePropDlg(3, x, y, type, shift, segment, counter, inverted);
        EXPECT_TRUE(script.Done());
        EXPECT_EQ(std::make_tuple(x, y, int(type), shift, int(segment), int(counter), int(inverted)), c.result);
    }
    Extended x = 1, y = 2, shift = 3.5L;
    std::uint8_t type = 1, segment = 1, inverted = 1;
    std::int32_t counter = 4;
    TModalScript script;
    script.Then("TFormlineNodeProp", [](QWidget* w) {
        EXPECT_EQ(Control<QLineEdit>(w, "nePicPos")->text(), QStringLiteral("3,50"));
        EXPECT_FALSE(Control<QCheckBox>(w, "cbPicPosAuto")->isChecked());
        EXPECT_EQ(Control<QLineEdit>(w, "neTxtCnt")->text(), QStringLiteral("4"));
        EXPECT_TRUE(Control<QRadioButton>(w, "rbNodeSpecial")->isChecked());
        EXPECT_TRUE(Control<QRadioButton>(w, "rbSegmFirst")->isChecked());
        EXPECT_TRUE(Control<QCheckBox>(w, "cbInv")->isChecked());
        SaveWindowPicture(w, QStringLiteral("line-node-window"));
        Enter(w);
    });
    EXPECT_EQ(LineNodePropDlg(2, x, y, type, shift, segment, counter, inverted), mrOk);
    EXPECT_EQ(std::make_tuple(shift, counter), std::make_tuple(Extended(3.5L), 4));
}

TEST_F(LineWindow, NodesGoToATextFile)
{
    Cmd("mcNewLine=<0><0><ЛИН><><0><0><1><><[{10,25}{20}{0}{-1}{0}{-1}{0}{0}][{-5}{1234,5}{0}{-1}{0}{-1}{0}{0}]>");
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("линия.txt"));
    NodesSaveDialogHook = [&file](QString& name) {
        name = file;
        return true;
    };
    Edit(0, [](QWidget* w) {
        Click(w, "SpeedButton1");
        CloseBox(w);
    });
    NodesSaveDialogHook = nullptr;
    EXPECT_EQ(FileBytes(file), QByteArray("0      10,3      20,0 \r\n1      -5,0    1234,5 \r\n"));
}

TEST(LineAndPolygonWindowsWithoutHooks, EveryEntryAnswersCancelAndKeepsItsArguments)
{
    TScopedProgramDialogHooks none;
    int page = 1, layer = 2, index = 3;
    EXPECT_EQ(LinePropDlg(page, layer, index, false), mrCancel);
    EXPECT_EQ(PolygonPropDlg(page, layer, index, true), mrCancel);
    EXPECT_EQ(std::make_tuple(page, layer, index), std::make_tuple(1, 2, 3));
    Extended x = 1, y = 2, shift = 3;
    std::uint8_t a = 1, b = 2, c = 1, d = 1;
    std::int32_t counter = 5;
    EXPECT_EQ(LineNodePropDlg(2, x, y, a, shift, b, counter, c), mrCancel);
    EXPECT_EQ(PolygonNodePropDlg(2, x, y, shift, a, b, c, d), mrCancel);
    EXPECT_EQ(IntrPolygonNodePropDlg(2, x, y, shift, b, d), mrCancel);
    ArrPolygonNodes contour(2);
    EXPECT_EQ(IntrPolygonPropDlg(2, contour), mrCancel);
    EXPECT_EQ(std::make_tuple(x, y, shift, a, b, c, d, counter, contour.size()),
              std::make_tuple(Extended(1), Extended(2), Extended(3), std::uint8_t(1), std::uint8_t(2),
                              std::uint8_t(1), std::uint8_t(1), 5, size_t(2)));
}
