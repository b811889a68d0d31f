// The "Поиск" menu and the plan-wide commands as the user meets them: a text of the plan
// found and shown in the middle of the window at the sign library's scale, match-case
// rules, the next match and a fresh start; the windows of the plan menu's bulk commands
// with the commands they leave in the journal and the drawing after them.
#include "MainWindowFixture.h"

#include "dialogs/DialogsTestSupport.h"
#include "dialogs/find/FindDialog.h"
#include "editors/EditorDialogs.h"
#include "foundation/ProgramDialogs.h"
#include "support/TestHelpers.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// Sheet A, layer a: texts at their positions; sheet B, layer b: one more.
void BuildTexts()
{
    for (const char* line :
         {"mcNewPage=<A>", "mcNewLayer=<0><a>", "mcNewText=<0><0><ДОМ КИРПИЧНЫЙ><1000><2000><0><1><><0>",
          "mcNewText=<0><0><дом><1300><2600><0><1><><0>", "mcNewText=<0><0><сарай><1100><2100><0><1><><0>",
          "mcNewPage=<B>", "mcNewLayer=<1><b>", "mcNewText=<1><0><Дом><900><2500><0><1><><0>"})
        MainMap->StrToComm(QString::fromUtf8(line));
}

QAction* Item(TFormMap& form, const char* name)
{
    auto* item = form.findChild<QAction*>(QLatin1String(name));
    EXPECT_NE(item, nullptr) << name;
    return item;
}

// "Поиск" → "Надпись": the find window, shown.
TFindDialog& OpenFindWindow(TFormMap& form)
{
    Item(form, "NFindText")->trigger();
    EXPECT_NE(form.FindDialog1, nullptr);
    EXPECT_TRUE(form.FindDialog1->isVisible());
    return *form.FindDialog1;
}

void Search(TFindDialog& find, const QString& sample, bool matchCase)
{
    find.FindText->setFocus();
    find.FindText->selectAll();
    TypeText(find.FindText, sample);
    if (find.MatchCase->isChecked() != matchCase)
        QTest::mouseClick(find.MatchCase, Qt::LeftButton, Qt::NoModifier, QPoint(8, find.MatchCase->height() / 2));
}

void FindNext(TFindDialog& find)
{
    QTest::mouseClick(find.FindNext, Qt::LeftButton);
}

// The plan point in the middle of the surface.
TGeoPoint Centre(TFormMap& form)
{
    const QSize size = form.SurfaceSize();
    Extended x = 0, y = 0;
    MainMap->ScrToGeo(size.height(), size.width() / 2, size.height() / 2, x, y);
    return GeoPoint(x, y);
}

// One pixel of the surface in metres.
Extended Pixel() { return 1 / (MainMap->FactorX * 100); }

void ExpectCentredOn(TFormMap& form, Extended x, Extended y)
{
    const TGeoPoint c = Centre(form);
    EXPECT_NEAR(double(c.X), double(x), double(Pixel())) << "north";
    EXPECT_NEAR(double(c.Y), double(y), double(Pixel())) << "east";
}

}  // namespace

TEST(SearchMenu, ItemsOfTheSearchAndPlanMenus)
{
    TMainWindowRun run;
    TFormMap& form = run.Form();
    QStringList search;
    for (QAction* a : form.NSearch->actions()) {
        search << a->text();
        if (a->menu())
            for (QAction* b : a->menu()->actions())
                search << QStringLiteral("  ") + b->text();
    }
    EXPECT_EQ(search, QStringList({QStringLiteral("Планшет"), QStringLiteral("  по координатам"),
                                   QStringLiteral("  по номенклатуре"), QStringLiteral("Надпись")}));
    QAction* conversions = Item(form, "NConversions");
    ASSERT_NE(conversions, nullptr);
    ASSERT_NE(conversions->menu(), nullptr);
    QStringList items;
    for (QAction* a : conversions->menu()->actions())
        items << a->text();
    EXPECT_EQ(items, QStringList({QStringLiteral("Трансформация"), QStringLiteral("Замена семантики"),
                                  QStringLiteral("Замена неизвестной семантики на синонимы"),
                                  QStringLiteral("Изменение высот отметок с номерами ...")}));
    EXPECT_EQ(Item(form, "N41")->text(), QStringLiteral("Удаление объектов"));
    EXPECT_TRUE(form.NPlan->actions().contains(Item(form, "N41")));
    // The command window stays the plan menu's last item.
    EXPECT_EQ(form.NPlan->actions().last()->objectName(), QStringLiteral("N15"));
}

TEST(SearchMenu, FindTextTwiceCentresEachTextAtTheLibraryScale)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    BuildTexts();
    const int before = MainMap->MapViews.GetCount();
    const RMapView previous = *MainMap->MapViews.Item;

    TFindDialog& find = OpenFindWindow(form);
    Search(find, QStringLiteral("дом"), false);
    SaveGrab(find, QStringLiteral("FindDialog"));
    FindNext(find);
    ExpectCentredOn(form, 1000, 2000);   // "ДОМ КИРПИЧНЫЙ" holds it in capitals
    // The library's scale, give or take the margins the window's extent is fitted into.
    EXPECT_NEAR(MainMap->OutputScale, 500, 25);
    ASSERT_GT(MainMap->MapViews.GetCount(), before);
    // The view shown before is still in the history, as it was.
    const RMapView& kept = *MainMap->MapViews.At(before - 1);
    EXPECT_EQ(kept.ViewXMin, previous.ViewXMin);
    EXPECT_EQ(kept.ViewYMax, previous.ViewYMax);
    EXPECT_EQ(kept.FactorX, previous.FactorX);

    FindNext(find);
    ExpectCentredOn(form, 1300, 2600);
    SaveGrab(form, QStringLiteral("FindTextFound"));
    FindNext(find);
    ExpectCentredOn(form, 900, 2500);   // on the next sheet
    // After the last match nothing moves.
    const int views = MainMap->MapViews.GetCount();
    FindNext(find);
    EXPECT_EQ(MainMap->MapViews.GetCount(), views);
    ExpectCentredOn(form, 900, 2500);
    EXPECT_TRUE(find.isVisible()) << "the window stays open";
}

TEST(SearchMenu, MatchCaseFindsOnlyTheEqualText)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    BuildTexts();
    struct Case {
        const char* Sample;
        bool MatchCase;
        std::vector<std::pair<Extended, Extended>> Found;   // in order
    };
    const Case cases[] = {
        {"дом", false, {{1000, 2000}, {1300, 2600}, {900, 2500}}},
        {"дом", true, {{1300, 2600}}},
        {"Дом", true, {{900, 2500}}},
        {"ДОМ", true, {}},   // a part of a text is not equal to it
        {"САРАЙ", false, {{1100, 2100}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Sample) + (c.MatchCase ? " match case" : ""));
        form.FindDialog1 ? form.FindDialog1->hide() : void();
        TFindDialog& find = OpenFindWindow(form);   // shown again: the search starts anew
        Search(find, QString::fromUtf8(c.Sample), c.MatchCase);
        for (const auto& [x, y] : c.Found) {
            FindNext(find);
            ExpectCentredOn(form, x, y);
        }
        const int views = MainMap->MapViews.GetCount();
        FindNext(find);
        EXPECT_EQ(MainMap->MapViews.GetCount(), views) << "no match more";
    }
}

TEST(SearchMenu, ReopenedFindWindowStartsFromTheFirstText)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    BuildTexts();
    TFindDialog& find = OpenFindWindow(form);
    Search(find, QStringLiteral("дом"), false);
    FindNext(find);
    FindNext(find);
    ExpectCentredOn(form, 1300, 2600);
    QTest::mouseClick(find.Cancel, Qt::LeftButton);
    EXPECT_FALSE(find.isVisible());
    OpenFindWindow(form);
    EXPECT_EQ(find.FindText->text(), QStringLiteral("дом")) << "the sample stays";
    FindNext(find);
    ExpectCentredOn(form, 1000, 2000);
}

TEST(SearchMenu, FindSheetItemsOpenTheirWindows)
{
    TMainWindowRun run;
    run.Start();
    QStringList opened;
    TProgramDialogHooks hooks;
    hooks.FindPlanCoord = [&] { opened << QStringLiteral("по номенклатуре"); return mrOk; };
    hooks.FindPlanNom = [&] { opened << QStringLiteral("по координатам"); return mrOk; };
    TScopedProgramDialogHooks scope(hooks);
    Item(run.Form(), "NFindPlanFromCoord")->trigger();
    Item(run.Form(), "NFindPlanFromNom")->trigger();
    EXPECT_EQ(opened, QStringList({QStringLiteral("по координатам"), QStringLiteral("по номенклатуре")}));
}

TEST(PlanWideCommands, HeightsOfNumberedMarksFromThePresetWindow)
{
    TSeparatorScope point(QLatin1Char('.'));
    TMainWindowRun run;
    run.Start();
    struct Case {
        const char* Name;
        TModalResult Answer;
        Extended Increment;
        QStringList Issued;
    };
    const Case cases[] = {
        {"OK", mrOk, 0.125L, {QStringLiteral("mcChangeHinSem=<ОТА><3><5><0.125>")}},
        {"whole metres", mrOk, 2, {QStringLiteral("mcChangeHinSem=<ОТА><3><5><2.00>")}},
        {"cancelled", mrCancel, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TEditorDialogHooks hooks;
        hooks.ChangeHinSemDlg = [&c](int& first, int& last, Extended& increment, QString& code) {
            EXPECT_EQ(code, QStringLiteral("ОТА"));
            EXPECT_EQ(first, 0);
            EXPECT_EQ(last, 0);
            EXPECT_EQ(increment, 0);
            first = 3;
            last = 5;
            increment = c.Increment;
            return c.Answer;
        };
        TScopedEditorDialogHooks scope(hooks);
        const qsizetype start = CommandLog->size();
        MainMap->DrawMode = 9;
        Item(run.Form(), "N79")->trigger();
        EXPECT_EQ(CommandLog->mid(start), c.Issued);
        EXPECT_EQ(MainMap->DrawMode, c.Answer == mrOk ? 2 : 9);
    }
}

TEST(PlanWideCommands, DeleteByCodeIssuesThenDrawsHoweverClosed)
{
    TMainWindowRun run;
    run.Start();
    for (const char* line : {"mcNewPage=<A>", "mcNewPage=<B>"})
        MainMap->StrToComm(QString::fromUtf8(line));
    for (const TModalResult answer : {mrOk, mrCancel}) {
        SCOPED_TRACE(answer);
        TProgramDialogHooks hooks;
        hooks.DelObjects = [answer](TDelObjectsChoice& choice) {
            choice.Pages = {1};
            choice.Kind = 2;
            choice.Text = QStringLiteral("ЗДН");
            return answer;
        };
        TScopedProgramDialogHooks scope(hooks);
        const qsizetype start = CommandLog->size();
        MainMap->DrawMode = 9;
        Item(run.Form(), "N41")->trigger();
        EXPECT_EQ(CommandLog->mid(start), QStringList({QStringLiteral("mcDelObjects=<1><-1><0><0><1><ЗДН>")}));
        EXPECT_EQ(MainMap->DrawMode, 2);
    }
}

TEST(PlanWideCommands, TransformationThenTheWholePlanDrawn)
{
    TSeparatorScope point(QLatin1Char('.'));
    TMainWindowRun run;
    run.Start();
    for (const char* line : {"mcNewPage=<A>", "mcNewPage=<B>"})
        MainMap->StrToComm(QString::fromUtf8(line));
    TProgramDialogHooks hooks;
    hooks.Transform = [](TTransformChoice& choice) {
        choice.PageCount = 2;
        choice.Dx = 10;
        return mrOk;
    };
    TScopedProgramDialogHooks scope(hooks);
    const qsizetype start = CommandLog->size();
    MainMap->DrawMode = 9;
    Item(run.Form(), "NTransform")->trigger();
    EXPECT_EQ(CommandLog->mid(start),
              QStringList({QStringLiteral("mcTransform=<0><1.00><10.00><0.00><0.00><0.00><0.00>"),
                           QStringLiteral("mcTransform=<1><1.00><10.00><0.00><0.00><0.00><0.00>")}));
    EXPECT_EQ(MainMap->DrawMode, 0);
}

TEST(PlanWideCommands, SemanticsReplacementAndSynonymsDrawAfter)
{
    TMainWindowRun run;
    run.Start();
    int shown = 0;
    TEditorDialogHooks hooks;
    hooks.ChangeSemDlg = [&shown] {
        ++shown;
        return mrCancel;
    };
    TScopedEditorDialogHooks scope(hooks);
    MainMap->DrawMode = 9;
    Item(run.Form(), "NChangeSem")->trigger();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(MainMap->DrawMode, 2) << "drawn also after a cancel";
    MainMap->DrawMode = 9;
    Item(run.Form(), "N74")->trigger();
    EXPECT_EQ(MainMap->DrawMode, 3);
}
