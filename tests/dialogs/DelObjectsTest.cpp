// Deleting objects by code: the commands the window's choice gives over sheets or over
// layers of one sheet, the classifier choice read out, and the sheet chooser.
#include "MainPlanFixture.h"

#include "dialogs/find/UnitDelObjects.h"
#include "semantics/codec/SemDialogs.h"
#include "semantics/codec/SemServices.h"
#include "support/ModalScript.h"

#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolButton>

namespace {

// Clicks line row of the list, with Ctrl to add it to the selection.
void ClickLine(QWidget* w, const char* list, int row, bool add)
{
    auto* lb = Control<QListWidget>(w, list);
    ASSERT_NE(lb, nullptr);
    ASSERT_LT(row, lb->count());
    const QRect r = lb->visualItemRect(lb->item(row));
    QTest::mouseClick(lb->viewport(), Qt::LeftButton, add ? Qt::ControlModifier : Qt::NoModifier,
                      r.center());
}

QStringList Journal() { return CommandLog ? *CommandLog : QStringList(); }

}  // namespace

TEST(DelObjects, CommandsOfTheChoice)
{
    struct Case {
        const char* Name;
        TDelObjectsChoice Choice;
        QStringList Params;
    };
    const auto choice = [](bool layersPage, std::vector<int> pages, int page, std::vector<int> layers,
                           int kind, const char* text) {
        TDelObjectsChoice c;
        c.LayersPage = layersPage;
        c.Pages = std::move(pages);
        c.Page = page;
        c.Layers = std::move(layers);
        c.Kind = kind;
        c.Text = QString::fromUtf8(text);
        return c;
    };
    const Case cases[] = {
        {"sheets 0 and 2, lines", choice(false, {0, 2}, 1, {3}, 1, "T"),
         {QStringLiteral("<0><-1><0><1><0><T>"), QStringLiteral("<2><-1><0><1><0><T>")}},
        {"layers 3 and 4 of sheet 1, polygons", choice(true, {0}, 1, {3, 4}, 2, "ЗДН"),
         {QStringLiteral("<1><3><0><0><1><ЗДН>"), QStringLiteral("<1><4><0><0><1><ЗДН>")}},
        {"points", choice(false, {1}, -1, {}, 0, "ОТА"), {QStringLiteral("<1><-1><1><0><0><ОТА>")}},
        {"no sheet selected", choice(false, {}, 1, {3}, 0, "T"), {}},
        {"no layer selected", choice(true, {0}, 1, {}, 0, "T"), {}},
        // The engine would read a negative sheet as every sheet of the plan.
        {"layers without a sheet", choice(true, {}, -1, {0}, 0, "T"), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(DelObjectsCommands(c.Choice), c.Params);
    }
}

class DelObjectsWindow : public MainPlanWindows {
protected:
    void SetUp() override
    {
        MainPlanWindows::SetUp();
        // Three sheets; the second with five layers.
        Commands({"mcNewPage=<Лист 1>", "mcNewLayer=<0><Здания>", "mcNewPage=<Лист 2>",
                  "mcNewLayer=<1><Рельеф>", "mcNewLayer=<1><Дороги>", "mcNewLayer=<1><Гидрография>",
                  "mcNewLayer=<1><Растительность>", "mcNewLayer=<1><Подписи>", "mcNewPage=<Лист 3>"});
        Start = Journal().size();
    }

    // The lines issued after the plan was built.
    QStringList Issued() const { return Journal().mid(Start); }

    qsizetype Start = 0;
};

TEST_F(DelObjectsWindow, SelectedSheetsGiveOneCommandEach)
{
    TModalScript script;
    script.Then("TFormDelObjects", [](QWidget* w) {
        EXPECT_EQ(Control<QListWidget>(w, "lbPages")->count(), 3);
        ClickLine(w, "lbPages", 0, false);
        ClickLine(w, "lbPages", 2, true);
        Click(w, "chLines");
        TypeInto(w, "eOld", QStringLiteral("T"));
        SaveWindowPicture(w, QStringLiteral("DelObjects"));
        Enter(w);
    });
    EXPECT_EQ(DelObjectsDlg(), mrOk);
    EXPECT_EQ(Issued(), QStringList({QStringLiteral("mcDelObjects=<0><-1><0><1><0><T>"),
                                     QStringLiteral("mcDelObjects=<2><-1><0><1><0><T>")}));
}

TEST_F(DelObjectsWindow, SelectedLayersOfOneSheetAndTheCloseBox)
{
    TModalScript script;
    script.Then("TFormDelObjects", [](QWidget* w) {
        auto* pages = Control<QTabWidget>(w, "PageControl1");
        pages->setCurrentIndex(1);
        EXPECT_EQ(Control<QListWidget>(w, "lbLayers")->count(), 0) << "empty until a sheet is chosen";
        auto* sheets = Control<QComboBox>(w, "cbPages");
        EXPECT_EQ(sheets->count(), 3);
        sheets->setFocus();
        QTest::keyClick(sheets, Qt::Key_Down);
        QTest::keyClick(sheets, Qt::Key_Down);
        EXPECT_EQ(sheets->currentIndex(), 1);
        EXPECT_EQ(Control<QListWidget>(w, "lbLayers")->count(), 5);
        ClickLine(w, "lbLayers", 3, false);
        ClickLine(w, "lbLayers", 4, true);
        TypeInto(w, "eOld", QStringLiteral("РАС"));
        SaveWindowPicture(w, QStringLiteral("DelObjectsLayers"));
        CloseBox(w);   // the window acts however it is closed
    });
    EXPECT_EQ(DelObjectsDlg(), mrCancel);
    EXPECT_EQ(Issued(), QStringList({QStringLiteral("mcDelObjects=<1><3><1><0><0><РАС>"),
                                     QStringLiteral("mcDelObjects=<1><4><1><0><0><РАС>")}));
}

TEST_F(DelObjectsWindow, NoSelectionIssuesNothing)
{
    TModalScript script;
    script.Then("TFormDelObjects", [](QWidget* w) {
        TypeInto(w, "eOld", QStringLiteral("T"));
        Enter(w);
    });
    EXPECT_EQ(DelObjectsDlg(), mrOk);
    EXPECT_TRUE(Issued().isEmpty());
}

TEST_F(DelObjectsWindow, ClassifierChoiceGoesIntoTheEditAndIsReadOut)
{
    TSemServices semantics;
    semantics.Open();
    int askedKind = -1;
    QString askedSem;
    TSemDialogHooks hooks;
    hooks.SemDlg = [&](int smode, int& lmode, QString& sem) {
        EXPECT_EQ(smode, 1) << "the choice of a work semantics";
        askedKind = lmode;
        askedSem = sem;
        lmode = 2;
        sem = QStringLiteral("ЗДН");
        return mrOk;
    };
    TScopedSemDialogHooks scope(hooks);
    QString readable;
    DecodeSem(2, QStringLiteral("ЗДН"), readable);
    ASSERT_FALSE(readable.isEmpty());
    TModalScript script;
    script.Then("TFormDelObjects", [&](QWidget* w) {
        Click(w, "chPolygons");
        TypeInto(w, "eOld", QStringLiteral("ЗД"));
        Control<QToolButton>(w, "bt1")->click();
        EXPECT_EQ(Control<QLineEdit>(w, "eOld")->text(), QStringLiteral("ЗДН"));
        EXPECT_EQ(Control<QPlainTextEdit>(w, "Memo1")->toPlainText(), readable);
        Esc(w);
    });
    DelObjectsDlg();
    EXPECT_EQ(askedKind, 2);
    EXPECT_EQ(askedSem, QStringLiteral("ЗД"));
}

TEST_F(MainPlanWindows, SelectPageGivesTheChosenSheetOrMinusOne)
{
    struct Case {
        const char* Name;
        int Sheets;
        int Downs;         // Down keys in the list
        bool Cancel;
        TModalResult Result;
        int Sheet;
    };
    const Case cases[] = {
        {"no sheets", 0, 0, false, mrOk, -1},
        {"the first is chosen at the start", 3, 0, false, mrOk, 0},
        {"the third", 3, 2, false, mrOk, 2},
        {"cancelled still gives the choice", 3, 1, true, mrCancel, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        while (Map->GetPagesCount() < c.Sheets)
            Map->DoCommand(mcNewPage, TCommandParams().Text(QStringLiteral("Лист %1").arg(Map->GetPagesCount() + 1)));
        int sheet = 7;
        TModalScript script;
        script.Then("TFormSelectPage", [&c](QWidget* w) {
            auto* box = Control<QComboBox>(w, "ComboBox1");
            box->setFocus();
            for (int i = 0; i < c.Downs; ++i)
                QTest::keyClick(box, Qt::Key_Down);
            if (c.Sheets == 3 && c.Downs == 2)
                SaveWindowPicture(w, QStringLiteral("SelectPage"));
            c.Cancel ? Esc(w) : Enter(w);
        });
        EXPECT_EQ(SelectPageDlg(sheet), c.Result);
        EXPECT_EQ(sheet, c.Sheet);
    }
}
