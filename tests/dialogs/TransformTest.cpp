// The transformation window: the commands of its choice with their reals as entered, one
// drawing after them, nothing on a cancel.
#include "MainPlanFixture.h"

#include "dialogs/find/UnitTransform.h"
#include "support/ModalScript.h"

#include <QComboBox>
#include <QRadioButton>

TEST(Transform, DecimalsThatReadBackTheValue)
{
    TSeparatorScope comma(QLatin1Char(','));
    struct Case {
        Extended Value;
        int Decimals;
    };
    const Case cases[] = {{1, 2},      {0, 2},          {100, 2},     {-50, 2},  {0.9996L, 4},
                          {0.1234L, 4}, {-12.5L, 2},    {1.005L, 3},  {1e-10L, 10},
                          {412345.678L, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(double(c.Value));
        EXPECT_EQ(ReadBackDecimals(c.Value), c.Decimals);
    }
}

TEST(Transform, CommandsOfTheChoice)
{
    TSeparatorScope point(QLatin1Char('.'));
    TTransformChoice whole;
    whole.Dx = 100;
    whole.Dy = -50;
    whole.PageCount = 3;
    EXPECT_EQ(TransformCommands(whole),
              QStringList({QStringLiteral("<0><1.00><100.00><-50.00><0.00><0.00><0.00>"),
                           QStringLiteral("<1><1.00><100.00><-50.00><0.00><0.00><0.00>"),
                           QStringLiteral("<2><1.00><100.00><-50.00><0.00><0.00><0.00>")}));
    TTransformChoice one;
    one.WholePlan = false;
    one.Page = 1;
    one.K = 0.9996L;
    one.Angle = 0.1234L;
    one.Xc = 6121500.25L;
    one.PageCount = 3;
    EXPECT_EQ(TransformCommands(one),
              QStringList({QStringLiteral("<1><0.9996><0.00><0.00><0.1234><6121500.25><0.00>")}));
    one.Page = -1;   // no sheet chosen: the engine leaves the plan alone
    EXPECT_EQ(TransformCommands(one).value(0).left(4), QStringLiteral("<-1>"));
    TTransformChoice none;
    EXPECT_TRUE(TransformCommands(none).isEmpty()) << "a plan without sheets";
}

class TransformWindow : public MainPlanWindows {
protected:
    void SetUp() override
    {
        MainPlanWindows::SetUp();
        Commands({"mcNewPage=<Лист 1>", "mcNewLayer=<0><a>", "mcNewPoint=<0><0><ОТА><1000><2000><2><0><><0><0>",
                  "mcNewPage=<Лист 2>", "mcNewPage=<Лист 3>"});
        Start = CommandLog->size();
    }
    QStringList Issued() const { return CommandLog->mid(Start); }
    TGeoPoint Point() const { return Map->Pages.At(0)->Layers.At(0)->Points.At(0)->Position; }

    qsizetype Start = 0;
};

TEST_F(TransformWindow, WholePlanShiftedSheetBySheetThenDrawnOnce)
{
    TSeparatorScope point(QLatin1Char('.'));
    const int views = Map->MapViews.GetCount();
    TModalScript script;
    script.Then("TFormTransform", [](QWidget* w) {
        EXPECT_TRUE(Control<QRadioButton>(w, "rbAll")->isChecked());
        EXPECT_FALSE(Control<QComboBox>(w, "cbPages")->isEnabled());
        EXPECT_EQ(Control<QLineEdit>(w, "neKScale")->text(), QStringLiteral("1"));
        TypeInto(w, "neDx", QStringLiteral("100"));
        TypeInto(w, "neDy", QStringLiteral("-50"));
        SaveWindowPicture(w, QStringLiteral("Transform"));
        Click(w, "rbAll");   // Enter on a radio button that has the focus still confirms
        Enter(w);
    });
    EXPECT_EQ(TransformDialog(), mrOk);
    EXPECT_EQ(Issued(), QStringList({QStringLiteral("mcTransform=<0><1.00><100.00><-50.00><0.00><0.00><0.00>"),
                                     QStringLiteral("mcTransform=<1><1.00><100.00><-50.00><0.00><0.00><0.00>"),
                                     QStringLiteral("mcTransform=<2><1.00><100.00><-50.00><0.00><0.00><0.00>")}));
    EXPECT_EQ(Map->MapViews.GetCount(), views + 1) << "one drawing that fits the whole plan";
    EXPECT_EQ(Point().X, 1100);
    EXPECT_EQ(Point().Y, 1950);
}

TEST_F(TransformWindow, FactorOfTheChosenSheetReachesThePlanWhole)
{
    // Two decimals would have made the factor 1.00 and left the plan as it was.
    TSeparatorScope comma(QLatin1Char(','));
    TModalScript script;
    script.Then("TFormTransform", [](QWidget* w) {
        Click(w, "rbSel");
        auto* sheets = Control<QComboBox>(w, "cbPages");
        EXPECT_TRUE(sheets->isEnabled());
        sheets->setCurrentIndex(0);
        TypeInto(w, "neKScale", QStringLiteral("0.9996"));
        Enter(w);
    });
    EXPECT_EQ(TransformDialog(), mrOk);
    EXPECT_EQ(Issued(), QStringList({QStringLiteral("mcTransform=<0><0,9996><0,00><0,00><0,00><0,00><0,00>")}));
    EXPECT_NEAR(double(Point().X), 999.6, 1e-9);
    EXPECT_NEAR(double(Point().Y), 1999.2, 1e-9);
}

TEST_F(TransformWindow, CancelIssuesAndDrawsNothing)
{
    const int views = Map->MapViews.GetCount();
    for (const bool closeBox : {false, true}) {
        TModalScript script;
        script.Then("TFormTransform", [closeBox](QWidget* w) {
            TypeInto(w, "neDx", QStringLiteral("100"));
            closeBox ? CloseBox(w) : Esc(w);
        });
        EXPECT_EQ(TransformDialog(), mrCancel);
    }
    EXPECT_TRUE(Issued().isEmpty());
    EXPECT_EQ(Map->MapViews.GetCount(), views);
    EXPECT_EQ(Point().X, 1000);
}

TEST_F(TransformWindow, RefusedFactorStopsTheCommandsAndLeavesThePlan)
{
    TModalScript script;
    script.Then("TFormTransform", [](QWidget* w) {
        TypeInto(w, "neKScale", QStringLiteral("0"));
        Enter(w);
    });
    EXPECT_FALSE(RaisedBy([] { TransformDialog(); }).isEmpty());
    EXPECT_TRUE(Issued().isEmpty());
    EXPECT_EQ(Point().X, 1000);
}
