// The constructions palette's three dialogs driven as a user drives them: their defaults
// and enabling, the checks that keep them open, what they hand back and that they keep
// their inputs from one opening to the next. Setting VELMORA_REVIEW_DIR writes them there
// as PNGs.
#include "SurveyTestSupport.h"
#include "foundation/ui/NumEdit.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"
#include "survey/SurveyDialogs.h"
#include "survey/construct/ConstructDialogs.h"
#include "survey/construct/FormInstr2.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

namespace {

void Click(QWidget* window, const char* name)
{
    Child<QAbstractButton>(window, name)->click();
}

QString Text(QWidget* window, const char* name) { return Child<QLineEdit>(window, name)->text(); }

bool Checked(QWidget* window, const char* name) { return Child<QRadioButton>(window, name)->isChecked(); }

bool Enabled(QWidget* window, const char* name) { return Child<QWidget>(window, name)->isEnabled(); }

class ConstructDialogs : public ::testing::Test {
protected:
    ConstructDialogs() { InstallSurveyWindows(); }

    TScopedSurveyDialogHooks Scope;
    TSeparatorScope Separator{u','};
    TMessages Messages;
};

TEST_F(ConstructDialogs, LinearIntersectionOnEitherSide)
{
    struct Case {
        Extended X2, Y2;
        const char *a, *b;
        const char* side;
        double x, y;
    };
    const Case cases[] = {
        {0, 10, "6", "8", "RadioButton1", 4.8, 3.6},
        {0, 10, "6", "8", "RadioButton2", -4.8, 3.6},
        {5, 0, "3", "4", "RadioButton1", 1.8, -2.4},
        {5, 0, "3,0", "4.0", "RadioButton2", 1.8, 2.4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " " << c.b << " " << c.side);
        TModalScript script;
        script.Then("TFormInp2LinesDialog", [&](QWidget* w) {
            Type(w, "NumEdit1", QString::fromUtf8(c.a));
            Type(w, "NumEdit2", QString::fromUtf8(c.b));
            Click(w, c.side);
            Enter(w);
        });
        Extended x = 0, y = 0;
        EXPECT_EQ(Inp2LinesDialog(x, y, 0, 0, c.X2, c.Y2), mrOk);
        EXPECT_NEAR(double(x), c.x, 1e-9);
        EXPECT_NEAR(double(y), c.y, 1e-9);
        EXPECT_TRUE(script.Done());
    }
    EXPECT_TRUE(Messages.Shown.isEmpty());
}

TEST_F(ConstructDialogs, LinearIntersectionRefusesWhatMakesNoTriangleAndStaysOpen)
{
    struct Case {
        Extended X2;     // the base runs north from (0, 0)
        const char *a, *b;
        const char* message;
    };
    const Case cases[] = {
        {10, "3", "4", "Неверные данные!|Cумма двух расстояний не может быть меньше длины базовой линии!"},
        {5, "2", "9", "Неверные данные!|Расстояния не образуют треугольник с базовой линией!"},
        {5, "0", "5", "Неверные данные!|Расстояния не образуют треугольник с базовой линией!"},
        {0, "3", "3", "Неверные данные!|Расстояния не образуют треугольник с базовой линией!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        Messages.Shown.clear();
        TModalScript script;
        script.Then("TFormInp2LinesDialog", [&](QWidget* w) {
            Type(w, "NumEdit1", QString::fromUtf8(c.a));
            Type(w, "NumEdit2", QString::fromUtf8(c.b));
            Enter(w);
            EXPECT_TRUE(w->isVisible());
            Click(w, "Button1");
            EXPECT_TRUE(w->isVisible());
            Esc(w);
        });
        Extended x = 7, y = 8;
        EXPECT_EQ(Inp2LinesDialog(x, y, 0, 0, c.X2, 0), mrCancel);
        EXPECT_EQ(Messages.Shown, QStringList({QString::fromUtf8(c.message), QString::fromUtf8(c.message)}));
        EXPECT_EQ(std::vector<Extended>({x, y}), std::vector<Extended>({7, 8}));
        EXPECT_TRUE(script.Done());
    }
}

TEST_F(ConstructDialogs, DefaultsAndInputsKeptForTheRun)
{
    // First openings: the defaults.
    TModalScript script;
    script.Then("TFormInp2LinesDialog", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Линейная засечка"));
        EXPECT_EQ(Text(w, "NumEdit1"), QStringLiteral("10"));
        EXPECT_EQ(Text(w, "NumEdit2"), QStringLiteral("10"));
        EXPECT_TRUE(Checked(w, "RadioButton1"));
        Review(*w, "Inp2LinesDialog.png");
        Type(w, "NumEdit1", QStringLiteral("7"));
        Click(w, "RadioButton2");
        Esc(w);
    });
    script.Then("TFormInpSQRDialog", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Прямоугольный объект"));
        for (const char* name : {"RadioButton1", "RadioButton3", "RadioButton5"})
            EXPECT_TRUE(Checked(w, name)) << name;
        EXPECT_EQ(Text(w, "NumEdit2"), QStringLiteral("12,500"));   // the base's length
        EXPECT_EQ(Text(w, "NumEdit1"), QStringLiteral("10,000"));
        EXPECT_FALSE(Enabled(w, "NumEdit1"));
        Click(w, "RadioButton6");
        EXPECT_TRUE(Enabled(w, "NumEdit1"));
        Review(*w, "InpSQRDialog.png");
        Type(w, "NumEdit2", QStringLiteral("3"));
        Click(w, "RadioButton4");
        Esc(w);
    });
    script.Then("TFormInpCircleDialog", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Окружность (многоугольник)"));
        for (const char* name : {"RadioButton1", "RadioButton3", "RadioButton6"})
            EXPECT_TRUE(Checked(w, name)) << name;
        EXPECT_EQ(Text(w, "NumEdit1"), QStringLiteral("10,000"));
        EXPECT_EQ(Text(w, "NumEdit2"), QStringLiteral("0,050"));
        EXPECT_EQ(Text(w, "NumEdit3"), QStringLiteral("10"));
        EXPECT_TRUE(Enabled(w, "NumEdit2"));
        EXPECT_FALSE(Enabled(w, "NumEdit3"));
        Click(w, "RadioButton7");
        EXPECT_FALSE(Enabled(w, "NumEdit2"));
        EXPECT_TRUE(Enabled(w, "NumEdit3"));
        Review(*w, "InpCircleDialog.png");
        Type(w, "NumEdit1", QStringLiteral("4"));
        Esc(w);
    });
    Extended x = 0, y = 0, r = 0;
    std::array<TGeoPoint, 4> corners{};
    int kind = 0, n = 0;
    EXPECT_EQ(Inp2LinesDialog(x, y, 0, 0, 0, 12.5L), mrCancel);
    EXPECT_EQ(InpSQRDialog(corners, kind, 0, 0, 0, 12.5L), mrCancel);
    EXPECT_EQ(InpCircleDialog(x, y, r, kind, n, 0, 0, 0, 12.5L), mrCancel);
    EXPECT_TRUE(script.Done());

    // Second openings: as the user left them, but the rectangle's side on the base is
    // the base's length again.
    TModalScript again;
    again.Then("TFormInp2LinesDialog", [](QWidget* w) {
        EXPECT_EQ(Text(w, "NumEdit1"), QStringLiteral("7"));
        EXPECT_TRUE(Checked(w, "RadioButton2"));
        Esc(w);
    });
    again.Then("TFormInpSQRDialog", [](QWidget* w) {
        EXPECT_EQ(Text(w, "NumEdit2"), QStringLiteral("5,000"));
        EXPECT_TRUE(Checked(w, "RadioButton6"));
        EXPECT_TRUE(Checked(w, "RadioButton4"));
        EXPECT_TRUE(Enabled(w, "NumEdit1"));
        CloseBox(w);
    });
    again.Then("TFormInpCircleDialog", [](QWidget* w) {
        EXPECT_EQ(Text(w, "NumEdit1"), QStringLiteral("4"));
        EXPECT_TRUE(Checked(w, "RadioButton7"));
        Esc(w);
    });
    EXPECT_EQ(Inp2LinesDialog(x, y, 0, 0, 0, 5), mrCancel);
    EXPECT_EQ(InpSQRDialog(corners, kind, 0, 0, 0, 5), mrCancel);
    EXPECT_EQ(InpCircleDialog(x, y, r, kind, n, 0, 0, 0, 5), mrCancel);
    EXPECT_TRUE(again.Done());
    EXPECT_EQ(kind, 0);   // nothing handed back on cancel
}

TEST_F(ConstructDialogs, SquaresAndRectangles)
{
    struct Case {
        const char* side;        // RadioButton1 left, RadioButton2 right
        const char* shape;       // RadioButton5 square, RadioButton6 rectangle
        const char* kind;        // RadioButton3 polygon, RadioButton4 line
        const char* other;       // the rectangle's other side
        std::array<TGeoPoint, 4> corners;
        int kindOut;
    };
    const Case cases[] = {
        {"RadioButton1", "RadioButton5", "RadioButton3", "10", {{{0, 0}, {0, -10}, {10, -10}, {10, 0}}}, ckPolygon},
        {"RadioButton2", "RadioButton5", "RadioButton4", "10", {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}}, ckLine},
        {"RadioButton2", "RadioButton6", "RadioButton3", "2,5", {{{0, 0}, {10, 0}, {10, 2.5L}, {0, 2.5L}}}, ckPolygon},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.side << " " << c.shape << " " << c.kind);
        TModalScript script;
        script.Then("TFormInpSQRDialog", [&](QWidget* w) {
            Click(w, c.side);
            Click(w, c.shape);
            Click(w, c.kind);
            Type(w, "NumEdit1", QString::fromUtf8(c.other));
            Enter(w);
        });
        std::array<TGeoPoint, 4> corners{};
        int kind = 0;
        EXPECT_EQ(InpSQRDialog(corners, kind, 0, 0, 10, 0), mrOk);
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            EXPECT_NEAR(double(corners[i].X), double(c.corners[i].X), 1e-9);
            EXPECT_NEAR(double(corners[i].Y), double(c.corners[i].Y), 1e-9);
        }
        EXPECT_EQ(kind, c.kindOut);
        EXPECT_TRUE(script.Done());
    }
}

TEST_F(ConstructDialogs, RectangleRefusesASideOfZeroSilently)
{
    struct Case {
        const char* shape;
        const char *onBase, *other;
    };
    const Case cases[] = {
        {"RadioButton6", "10", "0"},
        {"RadioButton6", "10", "-2"},
        {"RadioButton5", "0", "10"},    // a base of equal ends gives a side of 0
        {"RadioButton6", "-1", "10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.shape << " " << c.onBase << " " << c.other);
        TModalScript script;
        script.Then("TFormInpSQRDialog", [&](QWidget* w) {
            Click(w, c.shape);
            Type(w, "NumEdit2", QString::fromUtf8(c.onBase));
            Type(w, "NumEdit1", QString::fromUtf8(c.other));
            Enter(w);
            Click(w, "Button1");
            EXPECT_TRUE(w->isVisible());
            Esc(w);
        });
        std::array<TGeoPoint, 4> corners{};
        int kind = 0;
        EXPECT_EQ(InpSQRDialog(corners, kind, 0, 0, 10, 0), mrCancel);
        EXPECT_TRUE(script.Done());
    }
    EXPECT_TRUE(Messages.Shown.isEmpty());
}

TEST_F(ConstructDialogs, CircleCentreRadiusAndSides)
{
    struct Case {
        const char* centre;      // RadioButton1, RadioButton2, RadioButton5
        const char* diameter;    // a button of the base's length, or typed
        const char* rule;        // RadioButton6 tolerance, RadioButton7 sides
        const char* value;       // the tolerance or the number of sides
        const char* kind;
        double xc, yc, r;
        int n, kindOut;
    };
    // The base from (0, 0) to (0, 10).
    const Case cases[] = {
        {"RadioButton1", "10", "RadioButton6", "0,05", "RadioButton3", 0, 0, 5, 22, ckPolygon},
        {"RadioButton2", "Button2", "RadioButton7", "6", "RadioButton4", 0, 10, 5, 6, ckLine},
        {"RadioButton5", "Button3", "RadioButton7", "3", "RadioButton3", 0, 5, 10, 3, ckPolygon},
        {"RadioButton5", "Button4", "RadioButton6", "0,732", "RadioButton3", 0, 5, 2.5, 4, ckPolygon},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.centre << " " << c.diameter << " " << c.value);
        TModalScript script;
        script.Then("TFormInpCircleDialog", [&](QWidget* w) {
            Click(w, c.centre);
            if (QByteArray(c.diameter).startsWith("Button"))
                Click(w, c.diameter);
            else
                Type(w, "NumEdit1", QString::fromUtf8(c.diameter));
            Click(w, c.rule);
            Type(w, QByteArray(c.rule) == "RadioButton6" ? "NumEdit2" : "NumEdit3", QString::fromUtf8(c.value));
            Click(w, c.kind);
            Enter(w);
        });
        Extended xc = 0, yc = 0, r = 0;
        int kind = 0, n = 0;
        EXPECT_EQ(InpCircleDialog(xc, yc, r, kind, n, 0, 0, 0, 10), mrOk);
        EXPECT_NEAR(double(xc), c.xc, 1e-9);
        EXPECT_NEAR(double(yc), c.yc, 1e-9);
        EXPECT_NEAR(double(r), c.r, 1e-9);
        EXPECT_EQ(n, c.n);
        EXPECT_EQ(kind, c.kindOut);
        EXPECT_TRUE(script.Done());
    }
    EXPECT_TRUE(Messages.Shown.isEmpty());
}

TEST_F(ConstructDialogs, CircleRefusesATolerancePastTheRadiusAndTooFewSides)
{
    const QString tolerance = QStringLiteral("Неверные данные!|Точность построения должна быть больше 0 и меньше радиуса (5,000 м)!");
    struct Case {
        const char* rule;
        const char* value;
        QString message;   // empty: refused silently
        const char* diameter = "10";
    };
    const Case cases[] = {
        {"RadioButton6", "0", tolerance},
        {"RadioButton6", "-1", tolerance},
        {"RadioButton6", "5", tolerance},
        {"RadioButton6", "4", QStringLiteral("Неверные данные!|При такой точности построения сторон получается 2, а должно быть от 3 до 100000!")},
        {"RadioButton6", "0,001", QStringLiteral("Неверные данные!|При такой точности построения сторон получается 496729, а должно быть от 3 до 100000!"), "100000000"},
        {"RadioButton7", "2", QStringLiteral("Неверные данные!|Количество сторон должно быть от 3 до 100000!")},
        {"RadioButton7", "100001", QStringLiteral("Неверные данные!|Количество сторон должно быть от 3 до 100000!")},
        {"RadioButton7", "6", QString(), "0"},
        {"RadioButton7", "6", QString(), "-4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rule << " " << c.value << " " << c.diameter);
        Messages.Shown.clear();
        TModalScript script;
        script.Then("TFormInpCircleDialog", [&](QWidget* w) {
            Type(w, "NumEdit1", QString::fromUtf8(c.diameter));
            Click(w, c.rule);
            Type(w, QByteArray(c.rule) == "RadioButton6" ? "NumEdit2" : "NumEdit3", QString::fromUtf8(c.value));
            Enter(w);
            EXPECT_TRUE(w->isVisible());
            Esc(w);
        });
        Extended xc = 1, yc = 2, r = 3;
        int kind = 4, n = 5;
        EXPECT_EQ(InpCircleDialog(xc, yc, r, kind, n, 0, 0, 0, 10), mrCancel);
        EXPECT_EQ(Messages.Shown, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(std::vector<Extended>({xc, yc, r}), std::vector<Extended>({1, 2, 3}));
        EXPECT_EQ(std::vector<int>({kind, n}), std::vector<int>({4, 5}));
        EXPECT_TRUE(script.Done());
    }
}

TEST_F(ConstructDialogs, WithoutWindowsTheEntriesAnswerCancel)
{
    TScopedSurveyDialogHooks none;
    Extended x = 1, y = 2, r = 3;
    int kind = 4, n = 5;
    std::array<TGeoPoint, 4> corners{{{9, 9}, {9, 9}, {9, 9}, {9, 9}}};
    EXPECT_EQ(Inp2LinesDialog(x, y, 0, 0, 0, 10), mrCancel);
    EXPECT_EQ(InpSQRDialog(corners, kind, 0, 0, 0, 10), mrCancel);
    EXPECT_EQ(InpCircleDialog(x, y, r, kind, n, 0, 0, 0, 10), mrCancel);
    EXPECT_EQ(std::vector<Extended>({x, y, r, corners[3].X}), std::vector<Extended>({1, 2, 3, 9}));
    EXPECT_EQ(std::vector<int>({kind, n}), std::vector<int>({4, 5}));
}

TEST(ConstructFigureNodes, AttributesAndTheClosingNodeOfALine)
{
    const std::vector<TGeoPoint> square{{0, 0}, {0, -10}, {10, -10}, {10, 0}};
    const TCreateNodeArr polygon = FigureNodes(square, {0, 0, 1, 1, 0}, false);
    ASSERT_EQ(polygon.size(), 4u);
    for (const RCreateNode& node : polygon)
        EXPECT_EQ(std::vector<int>({node.SegmentType, node.SegmentStyle, node.NodeLine, node.NodePicture, node.Curve}),
                  std::vector<int>({0, 0, 1, 1, 0}));
    const TCreateNodeArr line = FigureNodes(square, {0, 0, 0, 0, 0}, true);
    ASSERT_EQ(line.size(), 5u);
    EXPECT_EQ(line[4].Point.X, line[0].Point.X);
    EXPECT_EQ(line[4].Point.Y, line[0].Point.Y);
    EXPECT_EQ(line[1].NodeLine, 0);
    EXPECT_TRUE(FigureNodes({}, {0, 0, 0, 0, 0}, true).empty());
}

}  // namespace
