// Finding a 1:500 sheet: the masked nomenclature inputs, the name composed from its three
// parts with its corners, the name of the sheet holding a point, and the sheet shown
// through a new view of the main plan.
#include "MainPlanFixture.h"

#include "dialogs/find/UnitFindPlanCoord.h"
#include "foundation/ui/MaskEdit.h"
#include "foundation/ui/NumEdit.h"
#include "support/ModalScript.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {

// Base sheet 33 with its south-west corner at X 10000, Y 20000, and base sheet 50 at the
// origin, whose south-western cell has corners of 0.
const QStringList Nomenclature = {QStringLiteral("2"),  QStringLiteral("33"),
                                  QStringLiteral("10000 20000"), QStringLiteral("50"),
                                  QStringLiteral("0 0")};

QString Text(QWidget* w, const char* name) { return Control<QLineEdit>(w, name)->text(); }

QStringList Corners(QWidget* w)
{
    return {Text(w, "NumEdit3"), Text(w, "NumEdit4"), Text(w, "NumEdit5"), Text(w, "NumEdit6")};
}

bool ButtonOn(QWidget* w) { return Control<QPushButton>(w, "Button1")->isEnabled(); }

}  // namespace

TEST(FindSheet, NameComposedWithLeadingZerosDropped)
{
    struct Case {
        const char* Base;
        const char* Letter;
        const char* Cell;
        const char* Name;
    };
    const Case cases[] = {
        {"033", "Б", "05", "33-Б-5"},  {"007", "А", "10", "7-А-10"},  {"33", "Г", "16", "33-Г-16"},
        {"0033", "В", "1", "33-В-1"},  {"101", "А", "05", "101-А-5"}, {"100", "А", "10", "100-А-10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(ComposeNomenclature(QString::fromUtf8(c.Base), QString::fromUtf8(c.Letter),
                                      QString::fromUtf8(c.Cell)),
                  QString::fromUtf8(c.Name));
    }
}

TEST_F(MainPlanWindows, MaskedInputsGiveTheirLiteralsAndUpperCaseLetters)
{
    struct Case {
        const char* Name;
        std::function<TModalResult(QString&)> Entry;
        const char* Window;
        const char* Typed;
        bool Cancel;
        const char* Result;
    };
    const auto mask = [](QString& v) { return InpMaskStrDialog(v, QStringLiteral("Номенклатура"),
                                                               QStringLiteral("Номенклатура планшета")); };
    const auto nom = [](QString& v) { return InpNomStrDialog(v, QStringLiteral("Рамка планшета"),
                                                             QStringLiteral("Номенклатура планшета")); };
    const Case cases[] = {
        {"without dashes", mask, "TFormInpMaskStrDialog", "033б01", false, "033Б01"},
        {"with dashes", nom, "TFormInpNomStrDialog", "033а05", false, "033-А-05"},
        // Cancelling still hands back what was typed, dashes included.
        {"cancelled", nom, "TFormInpNomStrDialog", "101г1", true, "101-Г-1 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QString value;
        TModalScript script;
        script.Then(c.Window, [&c](QWidget* w) {
            auto* edit = Control<TMaskEdit>(w, "MaskEdit1");
            edit->setFocus();
            edit->setCursorPosition(0);
            TypeText(edit, QString::fromUtf8(c.Typed));
            c.Cancel ? Esc(w) : Enter(w);
        });
        EXPECT_EQ(c.Entry(value), c.Cancel ? mrCancel : mrOk);
        EXPECT_EQ(value, QString::fromUtf8(c.Result));
    }
}

TEST_F(MainPlanWindows, MaskedInputShowsTheValueAndItsMessage)
{
    QString value = QStringLiteral("101-Г-16");
    TModalScript script;
    script.Then("TFormInpNomStrDialog", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Рамка планшета"));
        SaveWindowPicture(w, QStringLiteral("InpNomStrDialog"));
        Enter(w);
    });
    EXPECT_EQ(InpNomStrDialog(value, QStringLiteral("Рамка планшета"),
                              QStringLiteral("Введите номенклатуру планшета\rв виде 000-А-00")),
              mrOk);
    EXPECT_EQ(value, QStringLiteral("101-Г-16"));
    value = QStringLiteral("033А01");
    TModalScript second;
    second.Then("TFormInpMaskStrDialog", [](QWidget* w) {
        SaveWindowPicture(w, QStringLiteral("InpMaskStrDialog"));
        Enter(w);
    });
    EXPECT_EQ(InpMaskStrDialog(value, QStringLiteral("Растровый планшет"),
                               QStringLiteral("Номенклатура растрового планшета")),
              mrOk);
    EXPECT_EQ(value, QStringLiteral("033А01"));
}

TEST_F(MainPlanWindows, SheetByNomenclatureShowsCornersAndTheSheet)
{
    LoadNomenclature(Nomenclature);
    TModalScript script;
    script.Then("TFormFindPlanCoord", [this](QWidget* w) {
        EXPECT_FALSE(ButtonOn(w));
        TypeInto(w, "NumEdit1", QStringLiteral("033"));
        Click(w, "SpeedButton2");
        TypeInto(w, "NumEdit2", QStringLiteral("05"));
        EXPECT_EQ(Control<QLabel>(w, "Label1")->text(), QStringLiteral("33-Б-5"));
        // Quarter Б lies 1000 m north and east of the base corner, cell 5 opens its second
        // row from the north.
        EXPECT_EQ(Corners(w), QStringList({QStringLiteral("11500"), QStringLiteral("21000"),
                                           QStringLiteral("11750"), QStringLiteral("21250")}));
        EXPECT_TRUE(ButtonOn(w));
        // Typing over a corner gives the computed corner back.
        TypeInto(w, "NumEdit3", QStringLiteral("7"));
        EXPECT_EQ(Text(w, "NumEdit3"), QStringLiteral("11500"));
        SaveWindowPicture(w, QStringLiteral("FindPlanCoord"));

        const int views = Map->MapViews.GetCount();
        Click(w, "Button1");
        EXPECT_FALSE(ButtonOn(w));
        ASSERT_EQ(Map->MapViews.GetCount(), views + 1);
        const RMapView& v = *Map->MapViews.Item;
        EXPECT_EQ(v.ViewXMin, 11500);
        EXPECT_EQ(v.ViewYMin, 21000);
        EXPECT_EQ(v.ViewXMax, 11750);
        EXPECT_EQ(v.ViewYMax, 21250);
        EXPECT_GT(v.FactorX, 0) << "the view was fitted into the surface";
        EXPECT_TRUE(w->isVisible()) << "the window stays open";
        Click(w, "BitBtn1");
    });
    EXPECT_EQ(FindPlanCoordDlg(), mrOk);
    EXPECT_TRUE(script.Done());
}

TEST_F(MainPlanWindows, SheetByNomenclatureWithoutASheetShowsNothing)
{
    LoadNomenclature(Nomenclature);
    struct Case {
        const char* Name;
        const char* Base;
        const char* Cell;
        bool Cleared;   // the corners emptied; otherwise left as they were
    };
    const Case cases[] = {
        {"cell 0", "33", "0", false},
        {"base 0", "0", "5", false},
        // Outside 1 to 16 the quarters have no cell: quietly nothing, never an error.
        {"cell 17", "33", "17", true},
        {"unknown base", "77", "5", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TModalScript script;
        script.Then("TFormFindPlanCoord", [&](QWidget* w) {
            TypeInto(w, "NumEdit1", QStringLiteral("33"));
            TypeInto(w, "NumEdit2", QStringLiteral("1"));
            ASSERT_TRUE(ButtonOn(w));
            const QStringList before = Corners(w);
            TypeInto(w, "NumEdit1", QString::fromUtf8(c.Base));
            TypeInto(w, "NumEdit2", QString::fromUtf8(c.Cell));
            EXPECT_FALSE(ButtonOn(w));
            EXPECT_EQ(Corners(w), c.Cleared ? QStringList(4, QString()) : before);
            const int views = Map->MapViews.GetCount();
            Click(w, "Button1");
            EXPECT_EQ(Map->MapViews.GetCount(), views);
            Esc(w);
        });
        EXPECT_EQ(FindPlanCoordDlg(), mrCancel);
        EXPECT_TRUE(ErrorInfo->isEmpty());
    }
}

TEST_F(MainPlanWindows, SheetAtTheOriginCanBeShown)
{
    LoadNomenclature(Nomenclature);
    TModalScript script;
    script.Then("TFormFindPlanCoord", [this](QWidget* w) {
        TypeInto(w, "NumEdit1", QStringLiteral("50"));
        Click(w, "SpeedButton3");
        TypeInto(w, "NumEdit2", QStringLiteral("13"));
        EXPECT_EQ(Control<QLabel>(w, "Label1")->text(), QStringLiteral("50-В-13"));
        EXPECT_EQ(Corners(w), QStringList({QStringLiteral("0"), QStringLiteral("0"),
                                           QStringLiteral("250"), QStringLiteral("250")}));
        ASSERT_TRUE(ButtonOn(w));
        Click(w, "Button1");
        EXPECT_EQ(Map->MapViews.Item->ViewXMin, 0);
        EXPECT_EQ(Map->MapViews.Item->ViewYMax, 250);
        Click(w, "BitBtn1");
    });
    EXPECT_EQ(FindPlanCoordDlg(), mrOk);
}

TEST_F(MainPlanWindows, SheetByCoordinatesNamesAndShowsIt)
{
    TSeparatorScope point(QLatin1Char('.'));
    LoadNomenclature(Nomenclature);
    TModalScript script;
    script.Then("TFormFindPlanNom", [this](QWidget* w) {
        TypeInto(w, "ResX", QStringLiteral("11600"));
        EXPECT_FALSE(ButtonOn(w)) << "one coordinate names nothing";
        TypeInto(w, "ResY", QStringLiteral("21100,75"));   // either separator, decimals kept
        EXPECT_EQ(Control<QLabel>(w, "Label1")->text(), QStringLiteral("33-Б-5"));
        ASSERT_TRUE(ButtonOn(w));
        SaveWindowPicture(w, QStringLiteral("FindPlanNom"));
        Click(w, "Button1");
        const RMapView& v = *Map->MapViews.Item;
        EXPECT_EQ(v.ViewXMin, 11500);
        EXPECT_EQ(v.ViewYMin, 21000);
        EXPECT_EQ(v.ViewXMax, 11750);
        EXPECT_EQ(v.ViewYMax, 21250);

        TypeInto(w, "ResX", QStringLiteral("-5000"));
        EXPECT_EQ(Control<QLabel>(w, "Label1")->text(), QStringLiteral("?"));
        EXPECT_FALSE(ButtonOn(w));
        // A table of a kind that names no cells gives an empty name: nothing to show.
        Map->Nomenclatures.Mode = 4;
        TypeInto(w, "ResX", QStringLiteral("11600"));
        EXPECT_EQ(Control<QLabel>(w, "Label1")->text(), QString());
        EXPECT_FALSE(ButtonOn(w));
        Esc(w);
    });
    EXPECT_EQ(FindPlanNomDlg(), mrCancel);
    EXPECT_TRUE(script.Done());
}
