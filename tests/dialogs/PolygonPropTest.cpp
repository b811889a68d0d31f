// The polygon editor, its outer-node window and the inner-contour windows as a user
// drives them: area and perimeter as the contours change, the absolute rotation, the
// holes with their selection rule, curve flags kept, a new polygon, a polygon of fewer
// than three nodes refused.
#include "ObjectWindowsSupport.h"

#include "controls/ExSlider.h"
#include "controls/TextListBox.h"
#include "dialogs/objects/UnitIntrPolygonProp.h"
#include "dialogs/objects/UnitPolygonProp.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <tuple>

namespace {

QStringList ListLines(QWidget* w, const char* name)
{
    auto* list = Control<TTextListBox>(w, name);
    QStringList lines;
    for (int i = 0; list && i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

void ClickLine(QWidget* w, const char* name, int i, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    auto* list = Control<TTextListBox>(w, name);
    const QRect rect = list->visualItemRect(list->item(i));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, mods, rect.center());
}

// A click on line i, then the second press of a double click as the system gives it.
void DoubleClickLine(QWidget* w, const char* name, int i)
{
    ClickLine(w, name, i);
    auto* list = Control<TTextListBox>(w, name);
    const QPoint at = list->visualItemRect(list->item(i)).center();
    const QPoint global = list->viewport()->mapToGlobal(at);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &twice);
    QMouseEvent up(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &up);
}

QString Area(QWidget* w)
{
    return Control<QLabel>(w, "Label9")->text();
}

const char* const Square = "<[{0}{0}{-1}{0}{0}{0}{0}][{10}{0}{-1}{0}{0}{0}{0}][{10}{10}{-1}{0}{0}{0}{0}][{0}{10}{-1}{0}{0}{0}{0}]>";
const char* const SquareSent = "<[{0,00}{0,00}{-1,00}{0}{0}{0}{0}{0}][{10,00}{0,00}{-1,00}{0}{0}{0}{0}{0}]"
                               "[{10,00}{10,00}{-1,00}{0}{0}{0}{0}{0}][{0,00}{10,00}{-1,00}{0}{0}{0}{0}{0}]>";

class PolygonWindow : public ObjectWindows {
protected:
    void SetUp() override
    {
        ObjectWindows::SetUp();
        Cmd({"mcNewPage=<Лист 1>", "mcNewLayer=<0><Здания>"});
    }

    TModalResult Edit(int index, const std::function<void(QWidget*)>& step, bool isNew = false)
    {
        int page = 0, layer = 0;
        TModalScript script;
        script.Then("TFormPolygonProp", step);
        const TModalResult result = PolygonPropDlg(page, layer, index, isNew);
        EXPECT_TRUE(script.Done());
        return result;
    }

    // The square with holes (the field as the command carries it) and a caption angle.
    void SquareWith(const QString& holes, int angle)
    {
        Map->StrToComm(QStringLiteral("mcNewPolygon=<0><0><ЗДН>%1<2><><0><0><%2><%3>")
                           .arg(QString::fromUtf8(Square), holes)
                           .arg(angle));
    }
};

}  // namespace

TEST_F(PolygonWindow, AreaAndPerimeterFollowTheContours)
{
    SquareWith(QStringLiteral("([{2}{2}{-1}{0}{0}][{4}{2}{-1}{0}{0}][{4}{4}{-1}{0}{0}][{2}{4}{-1}{0}{0}])"), 450);
    Map->StrToComm(QString::fromUtf8("mcNewPolygon=<0><0><ЗДН><><2><><1,5><-2><><-1>"));
    const int mark = JournalMark();
    EXPECT_EQ(Edit(0, [](QWidget* w) {
                  EXPECT_EQ(w->windowTitle(), QStringLiteral("Площадной объект"));
                  EXPECT_TRUE(Control<QPushButton>(w, "sbChangePageLayer")->isVisible());
                  EXPECT_EQ(Area(w), QStringLiteral("Площадь полигона=96,000кв.м.; 0,010га; периметр, внешний контур=40,000м"));
                  EXPECT_EQ(ListLines(w, "TLBIntrPolygons"), QStringList{QStringLiteral("0   (число узлов: 4) ")});
                  EXPECT_EQ(ListLines(w, "TLBNodes")[1],
                            QStringLiteral("1   (   10,00     0,00) сдвиг знака нет; тип сегмента основной; "
                                           "стиль сегмента основной; линия к узлу вкл; рисунок в узле вкл"));
                  EXPECT_TRUE(Control<QRadioButton>(w, "rbUsr")->isChecked());
                  EXPECT_EQ(Control<QLineEdit>(w, "neAbsAngle")->text(), QStringLiteral("45,00"));
                  // An empty hole adds nothing and is sent as "()".
                  Click(w, "btAddIntrPolygon");
                  EXPECT_EQ(ListLines(w, "TLBIntrPolygons")[1], QStringLiteral("1   (число узлов: 0) "));
                  EXPECT_TRUE(Area(w).startsWith(QStringLiteral("Площадь полигона=96,000кв.м.")));
                  // A node moved through "Свойства": the figures follow at once.
                  TModalScript node;
                  node.Then("TFormPolygonNodeProp", [](QWidget* n) {
                      TypeInto(n, "neY", QStringLiteral("20"));
                      Click(n, "BitBtn1");
                  });
                  ClickLine(w, "TLBNodes", 2);
                  Click(w, "btNodesProp");
                  EXPECT_TRUE(node.Done());
                  EXPECT_EQ(Area(w), QStringLiteral("Площадь полигона=146,000кв.м.; 0,015га; "
                                                    "периметр, внешний контур=54,142м"));
                  SaveWindowPicture(w, QStringLiteral("polygon-window"));
                  Click(w, "BitBtn1");
              }),
              mrOk);
    EXPECT_EQ(JournalSince(mark),
              QStringList{QStringLiteral("mcSetPolygonProp=<0><0><0><ЗДН><[{0,00}{0,00}{-1,00}{0}{0}{0}{0}{0}]"
                                         "[{10,00}{0,00}{-1,00}{0}{0}{0}{0}{0}][{10,00}{20,00}{-1,00}{0}{0}{0}{0}{0}]"
                                         "[{0,00}{10,00}{-1,00}{0}{0}{0}{0}{0}]><2><><0,00><0,00>"
                                         "<([{2,00}{2,00}{-1,00}{0}{0}{0}][{4,00}{2,00}{-1,00}{0}{0}{0}]"
                                         "[{4,00}{4,00}{-1,00}{0}{0}{0}][{2,00}{4,00}{-1,00}{0}{0}{0}])()><450>")});
    Edit(1, [](QWidget* w) {
        EXPECT_EQ(Area(w), QStringLiteral("Площадь полигона=0,000кв.м.; 0,000га; периметр, внешний контур=0,000м"));
        EXPECT_TRUE(Control<QRadioButton>(w, "rbNo")->isChecked());
        EXPECT_FALSE(Control<QLineEdit>(w, "neAbsAngle")->isEnabled());
        EXPECT_EQ(Control<QLineEdit>(w, "neDxZ")->text(), QStringLiteral("1,50"));
        EXPECT_EQ(Control<QLineEdit>(w, "neDyZ")->text(), QStringLiteral("-2,00"));
        CloseBox(w);
    });
}

TEST_F(PolygonWindow, TheAbsoluteRotation)
{
    SquareWith(QString(), -1);
    struct Case {
        const char* name;
        std::function<void(QWidget*)> act;
        const char* angle;
    };
    const Case cases[] = {
        {"есть at 90 sends east", [](QWidget* w) { Click(w, "rbUsr"); }, "0"},
        {"есть, then нет", [](QWidget* w) {
             Click(w, "rbUsr");
             Click(w, "rbNo");
             EXPECT_EQ(Control<QLineEdit>(w, "neAbsAngle")->text(), QStringLiteral("-1,00"));
         },
         "-1"},
        {"a typed angle", [](QWidget* w) {
             Click(w, "rbUsr");
             TypeInto(w, "neAbsAngle", QStringLiteral("45"));
         },
         "450"},
        {"a negative angle under есть becomes 90", [](QWidget* w) {
             Click(w, "rbUsr");
             TypeInto(w, "neAbsAngle", QStringLiteral("-3"));
             EXPECT_EQ(Control<QLineEdit>(w, "neAbsAngle")->text(), QStringLiteral("90,00"));
         },
         "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int mark = JournalMark();
        Edit(0, [&c](QWidget* w) {
            c.act(w);
            Click(w, "BitBtn1");
        });
        const QStringList sent = JournalSince(mark);
        ASSERT_EQ(sent.size(), 1);
        EXPECT_TRUE(sent[0].endsWith(QStringLiteral("<") + QString::fromUtf8(c.angle) + QStringLiteral(">")))
            << sent[0].toStdString();
        Cmd("mcSetPolygonProp=<0><0><0><ЗДН><[{0}{0}{-1}{0}{0}{0}{0}][{10}{0}{-1}{0}{0}{0}{0}][{10}{10}{-1}{0}{0}{0}{0}]"
            "[{0}{10}{-1}{0}{0}{0}{0}]><2><><0><0><><-1>");
    }
}

// The polygon window used to send its nodes without their curve flags: an OK turned
// every curve straight.
TEST_F(PolygonWindow, CurveFlagsSurviveGotovo)
{
    Cmd("mcNewPolygon=<0><0><ОЗР><[{0}{0}{-1}{0}{0}{0}{0}{1}][{10}{0}{2}{1}{2}{1}{1}{0}][{10}{10}{-1}{0}{0}{0}{0}{1}]><2><><0><0>"
        "<([{2}{2}{-1}{0}{0}{1}][{4}{2}{-1}{0}{0}][{4}{4}{-1}{0}{0}])><-1>");
    const int mark = JournalMark();
    Edit(0, [](QWidget* w) { Click(w, "BitBtn1"); });
    EXPECT_EQ(JournalSince(mark),
              QStringList{QStringLiteral("mcSetPolygonProp=<0><0><0><ОЗР><[{0,00}{0,00}{-1,00}{0}{0}{0}{0}{1}]"
                                         "[{10,00}{0,00}{2,00}{1}{2}{1}{1}{0}][{10,00}{10,00}{-1,00}{0}{0}{0}{0}{1}]><2><>"
                                         "<0,00><0,00><([{2,00}{2,00}{-1,00}{0}{0}{1}][{4,00}{2,00}{-1,00}{0}{0}{0}]"
                                         "[{4,00}{4,00}{-1,00}{0}{0}{0}])><-1>")});
    const RGPolygon* p = Map->Pages.At(0)->Layers.At(0)->Polygons.At(0);
    EXPECT_EQ(std::make_tuple(p->Nodes.At(0)->Curve, p->Nodes.At(2)->Curve, p->Holes.At(0)->Nodes.At(0)->Curve),
              std::make_tuple(std::uint8_t(1), std::uint8_t(1), std::uint8_t(1)));
}

TEST_F(PolygonWindow, ANewPolygonNeedsThreeNodesAndSendsTheRotationZero)
{
    const int mark = JournalMark();
    TModalScript nodes;
    for (const char* y : {"0", "10", "20"})
        nodes.Then("TFormPolygonNodeProp", [y](QWidget* n) {
            EXPECT_TRUE(Control<QCheckBox>(n, "cbPicPosAuto")->isChecked());
            EXPECT_TRUE(Control<QCheckBox>(n, "cbCornerLine")->isChecked());
            TypeInto(n, "neY", QString::fromUtf8(y));
            TypeInto(n, "neX", QString::fromUtf8(y[0] == '1' ? "5" : "0"));
            Click(n, "BitBtn1");
        });
    EXPECT_EQ(Edit(0,
                   [this](QWidget* w) {
                       EXPECT_FALSE(Control<QPushButton>(w, "sbChangePageLayer")->isVisible());
                       EXPECT_TRUE(Control<QRadioButton>(w, "rbUsr")->isChecked());
                       EXPECT_EQ(Control<QLineEdit>(w, "neAbsAngle")->text(), QStringLiteral("90,00"));
                       TypeInto(w, "eText", QStringLiteral("ОЗР"));
                       Click(w, "btNodesAdd");
                       Click(w, "btNodesAdd");
                       Click(w, "BitBtn1");
                       EXPECT_TRUE(w->isVisible());
                       EXPECT_EQ(Messages, QStringList{QStringLiteral(
                                               "Площадной объект: Для площадного объекта нужно не менее 3 узлов")});
                       Click(w, "btNodesAdd");
                       EXPECT_EQ(Area(w).section(QLatin1Char(';'), 0, 0), QStringLiteral("Площадь полигона=50,000кв.м."));
                       Click(w, "BitBtn1");
                   },
                   true),
              mrOk);
    EXPECT_TRUE(nodes.Done());
    EXPECT_EQ(JournalSince(mark),
              QStringList{QStringLiteral("mcNewPolygon=<0><0><ОЗР><[{0,00}{0,00}{-1,00}{0}{0}{0}{0}{0}]"
                                         "[{5,00}{10,00}{-1,00}{0}{0}{0}{0}{0}][{0,00}{20,00}{-1,00}{0}{0}{0}{0}{0}]>"
                                         "<2><><0,00><0,00><><0>")});
}

TEST_F(PolygonWindow, HolesAreAddedOpenedAndDeletedByTheirRule)
{
    SquareWith(QStringLiteral("([{2}{2}{-1}{0}{0}][{4}{2}{-1}{0}{0}][{4}{4}{-1}{0}{0}])()()"), -1);
    const int mark = JournalMark();
    MessageAnswer = mrCancel;
    TModalScript contour;
    // "Добавить" in an empty contour: (0, 0), a fixed shift of 0.
    contour.Then("TFormIntrPolygonProp", [](QWidget* c) {
        EXPECT_EQ(c->windowTitle(), QStringLiteral("Свойство отверстия в полигоне"));
        TModalScript node;
        node.Then("TFormIntrPolygonNodeProp", [](QWidget* n) {
            EXPECT_EQ(n->windowTitle(), QStringLiteral("Узел площадного объекта"));
            EXPECT_EQ(Control<QLineEdit>(n, "neX")->text(), QStringLiteral("0,00"));
            EXPECT_EQ(Control<QLineEdit>(n, "nePicPos")->text(), QStringLiteral("0,00"));
            EXPECT_FALSE(Control<QCheckBox>(n, "cbPicPosAuto")->isChecked());
            EXPECT_TRUE(Control<QLineEdit>(n, "nePicPos")->isEnabled());
            TypeInto(n, "neX", QStringLiteral("7"));
            Click(n, "rbSegmStyleHide");
            Click(n, "cbCornerPic");
            SaveWindowPicture(n, QStringLiteral("hole-node-window"));
            CloseBox(n);
        });
        Click(c, "btNodesAdd");
        EXPECT_TRUE(node.Done());
        EXPECT_EQ(ListLines(c, "TLB"), QStringList{QStringLiteral(
                                           "0   (    7,00     0,00) сдвиг знака 0,00; стиль сегмента скрытый; рисунок в узле выкл")});
        CloseBox(c);
    });
    Edit(0, [this, &contour](QWidget* w) {
        EXPECT_FALSE(Control<QPushButton>(w, "btPropIntrPolygon")->isEnabled());
        EXPECT_FALSE(Control<QPushButton>(w, "btDelIntrPolygon")->isEnabled());
        ClickLine(w, "TLBIntrPolygons", 1);
        EXPECT_TRUE(Control<QPushButton>(w, "btPropIntrPolygon")->isEnabled());
        Click(w, "btPropIntrPolygon");
        EXPECT_EQ(ListLines(w, "TLBIntrPolygons")[1], QStringLiteral("1   (число узлов: 1) "));
        ClickLine(w, "TLBIntrPolygons", 2);
        ClickLine(w, "TLBIntrPolygons", 0, Qt::ControlModifier);
        EXPECT_FALSE(Control<QPushButton>(w, "btPropIntrPolygon")->isEnabled());
        EXPECT_TRUE(Control<QPushButton>(w, "btDelIntrPolygon")->isEnabled());
        Click(w, "btDelIntrPolygon");   // declined
        EXPECT_EQ(ListLines(w, "TLBIntrPolygons").size(), 3);
        EXPECT_TRUE(contour.Done());
        MessageAnswer = mrOk;
        TModalScript emptied;
        // Deleting every node of the first hole leaves it empty.
        emptied.Then("TFormIntrPolygonProp", [](QWidget* c) {
            for (int i = 0; i < 3; ++i) {
                ClickLine(c, "TLB", 0);
                Click(c, "btNodesDel");
            }
            EXPECT_TRUE(ListLines(c, "TLB").isEmpty());
            Click(c, "BitBtn1");
        });
        DoubleClickLine(w, "TLBIntrPolygons", 0);
        EXPECT_TRUE(emptied.Done());
        EXPECT_EQ(ListLines(w, "TLBIntrPolygons")[0], QStringLiteral("0   (число узлов: 0) "));
        EXPECT_TRUE(Area(w).startsWith(QStringLiteral("Площадь полигона=100,000кв.м.")));
        ClickLine(w, "TLBIntrPolygons", 2);
        Click(w, "btDelIntrPolygon");
        Click(w, "BitBtn1");
    });
    EXPECT_EQ(Messages, (QStringList{QStringLiteral("Удаление отверстий полигона: будет удалено: 2"),
                                     QStringLiteral("Удаление узлов отверстия полигона: узлов будет удалено: 1"),
                                     QStringLiteral("Удаление узлов отверстия полигона: узлов будет удалено: 1"),
                                     QStringLiteral("Удаление узлов отверстия полигона: узлов будет удалено: 1"),
                                     QStringLiteral("Удаление отверстий полигона: будет удалено: 1")}));
    EXPECT_EQ(JournalSince(mark),
              QStringList{QStringLiteral("mcSetPolygonProp=<0><0><0><ЗДН>") + QString::fromUtf8(SquareSent) +
                          QStringLiteral("<2><><0,00><0,00><()([{7,00}{0,00}{0,00}{2}{1}{0}])><-1>")});
}

TEST_F(PolygonWindow, TheOuterNodeWindowWritesBackWhateverCloseIt)
{
    Extended x = 1, y = 2, shift = 2.5L;
    std::uint8_t type = 2, style = 1, line = 1, picture = 0;
    TModalScript script;
    script.Then("TFormPolygonNodeProp", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Узел площадного объекта"));
        EXPECT_EQ(Control<QLineEdit>(w, "neX")->text(), QStringLiteral("1,0"));
        EXPECT_EQ(Control<QLineEdit>(w, "nePicPos")->text(), QStringLiteral("2,50"));
        EXPECT_TRUE(Control<QRadioButton>(w, "rbSegmTypeSpecial2")->isChecked());
        EXPECT_TRUE(Control<QRadioButton>(w, "rbSegmStyleSpecial")->isChecked());
        EXPECT_FALSE(Control<QCheckBox>(w, "cbCornerLine")->isChecked());
        EXPECT_TRUE(Control<QCheckBox>(w, "cbCornerPic")->isChecked());
        SaveWindowPicture(w, QStringLiteral("polygon-node-window"));
        Click(w, "cbPicPosAuto");
        EXPECT_FALSE(Control<QLineEdit>(w, "nePicPos")->isEnabled());
        Click(w, "rbSegmTypeMain");
        Click(w, "rbSegmStyleHide");
        Click(w, "cbCornerLine");
        Click(w, "cbCornerPic");
        CloseBox(w);
    });
    EXPECT_EQ(PolygonNodePropDlg(1, x, y, shift, type, style, line, picture), mrCancel);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(std::make_tuple(x, y, shift, int(type), int(style), int(line), int(picture)),
              std::make_tuple(Extended(1), Extended(2), Extended(-1), 0, 2, 0, 1));
}

TEST_F(PolygonWindow, TheContourWindowRunsTheNodeOperations)
{
    ArrPolygonNodes contour(5);
    for (int i = 0; i < 5; ++i)
        contour[i].Position = GeoPoint(i, 0);
    TModalScript script;
    script.Then("TFormIntrPolygonProp", [](QWidget* w) {
        EXPECT_FALSE(Control<QPushButton>(w, "btNodesGoFirst")->isEnabled());
        ClickLine(w, "TLB", 3);
        ClickLine(w, "TLB", 1, Qt::ControlModifier);   // one line at a time here
        EXPECT_TRUE(Control<QPushButton>(w, "btNodesGoFirst")->isEnabled());
        ClickLine(w, "TLB", 3);
        Click(w, "btNodesGoFirst");
        SaveWindowPicture(w, QStringLiteral("hole-window"));
        CloseBox(w);
    });
    IntrPolygonPropDlg(1, contour);
    EXPECT_TRUE(script.Done());
    std::vector<Extended> xs;
    for (const RGPolygonNode& n : contour)
        xs.push_back(n.Position.X);
    EXPECT_EQ(xs, (std::vector<Extended>{3, 1, 2, 0, 4}));
}
