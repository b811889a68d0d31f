// Where new objects go: the sheet by the nomenclature or by name, the layer by the rules
// or by name, and the questions when neither gives one.
#include "MainWindowFixture.h"

#include "support/TestHelpers.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

QString CurrentPageName()
{
    QString name;
    std::uint8_t visible = 0;
    MainMap->GetPageProp(MainMap->GetCurrentPage(), name, visible);
    return name;
}

QString CurrentLayerName()
{
    QString name;
    std::uint8_t visible = 0;
    MainMap->GetLayerProp(MainMap->GetCurrentPage(), MainMap->GetCurrentLayer(), name, visible);
    return name;
}

}  // namespace

TEST(Destination, SheetFromTheNomenclatureAndLayerFromTheRules)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    struct Case {
        Extended X, Y;
        const char* Sem;
        bool AutoPage;
        const char* PageName;   // DestPageName when not automatic
        const char* Sheet;      // expected
        const char* Layer;      // expected
    };
    const QString inside = MainMap->CoordToNomenclature(2000, -2000);
    ASSERT_FALSE(inside.isEmpty());
    ASSERT_NE(inside, QStringLiteral("?"));
    const Case cases[] = {
        {2000, -2000, "ГОР", true, "", nullptr, "Рельеф"},
        {0, 900000, "ГОР", true, "", "?", "Рельеф"},    // outside every sheet: no question
        {0, 900000, "ГРН/Ф001", false, "Мой лист", "Мой лист", "Границы"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Sem);
        form.DestAutoPage = c.AutoPage ? 1 : 0;
        form.DestPageName = QString::fromUtf8(c.PageName);
        int page = -1, layer = -1;
        ASSERT_TRUE(form.ChooseDestination(TGeoPoint(c.X, c.Y), 0, QString::fromUtf8(c.Sem), page, layer));
        EXPECT_EQ(page, MainMap->GetCurrentPage());
        EXPECT_EQ(layer, MainMap->GetCurrentLayer());
        EXPECT_EQ(CurrentPageName(), c.Sheet ? QString::fromUtf8(c.Sheet) : inside);
        EXPECT_EQ(CurrentLayerName(), QString::fromUtf8(c.Layer));
        EXPECT_EQ(form.DestAutoPage, c.AutoPage ? 1 : 0);
    }
    // The same sheet twice is found, not made again.
    const int pages = MainMap->GetPagesCount();
    int page = -1, layer = -1;
    EXPECT_TRUE(form.ChooseDestination(TGeoPoint(0, 900000), 0, QStringLiteral("ГОР"), page, layer));
    EXPECT_EQ(MainMap->GetPagesCount(), pages);
}

TEST(Destination, SheetQuestionRepeatsUntilANameAndEscGivesUp)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    MainMap->Nomenclatures.Mode = 5;   // a table of no known kind gives no name at all
    struct Case {
        std::vector<std::pair<int, const char*>> Answers;   // result, text typed
        bool Made;
        int DestAutoPageAfter;
    };
    const Case cases[] = {
        {{{mrOk, "Лист 7"}}, true, 0},
        {{{mrOk, ""}, {mrOk, ""}, {mrOk, "Лист 8"}}, true, 0},
        // Esc on the question gives up the object instead of asking forever.
        {{{mrOk, ""}, {mrCancel, ""}}, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Answers.size());
        form.DestAutoPage = 1;
        form.DestPageName.clear();
        size_t asked = 0;
        TDialogHooks hooks = DialogHooks();
        hooks.InpStr = [&](QString& value, const QString& caption, const QString&) {
            EXPECT_EQ(caption, QStringLiteral("Введите название листа:"));
            const auto& answer = c.Answers.at(asked++);
            value = QString::fromUtf8(answer.second);
            return answer.first;
        };
        const TScopedDialogHooks scope(hooks);
        const int pages = MainMap->GetPagesCount();
        int page = -1, layer = -1;
        EXPECT_EQ(form.ChooseDestination(TGeoPoint(1, 1), 0, QStringLiteral("ГОР"), page, layer), c.Made);
        EXPECT_EQ(asked, c.Answers.size());
        EXPECT_EQ(form.DestAutoPage, c.DestAutoPageAfter);
        if (c.Made)
            EXPECT_EQ(CurrentPageName(), QString::fromUtf8(c.Answers.back().second));
        else
            EXPECT_EQ(MainMap->GetPagesCount(), pages);
    }
}

TEST(Destination, LayerQuestionTakesANewNameAndItsCancelCreatesNothing)
{
    TMainWindowRun::TOptions options;
    options.CollectMessages = true;
    TMainWindowRun run(options);
    run.Start();
    TFormMap& form = run.Form();
    form.DestAutoPage = 0;
    form.DestPageName = QStringLiteral("Лист");
    // No rule knows this code: the engine asks for the layer.
    const QString sem = QStringLiteral("ЖЖЖ");
    struct Case {
        int Result;
        const char* Typed;
        bool Made;
        const char* Message;
    };
    // Guards the rule that an empty layer name creates nothing: a cancelled question
    // once put the object into a layer without a name, sheet and layer made for it.
    const Case cases[] = {
        {mrCancel, "", false, "Отмена: Ввод отменен"},
        {mrOk, "", false, "Отмена: Ввод отменен"},   // confirmed without a name
        {mrOk, "Новый слой", true, "Новый элемент: Добавлен новый слой \"Новый слой\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Message);
        run.Messages.clear();
        const QStringList journal = *CommandLog;
        int asked = 0;
        TDialogHooks hooks = DialogHooks();
        hooks.SelStr = [&](const QStringList&, TSelection& selection, const QString& caption,
                           const QString&) {
            ++asked;
            EXPECT_EQ(caption, QStringLiteral("Не получается автоматически определить слой "));
            selection.Index = -1;
            selection.Typed = QString::fromUtf8(c.Typed);
            return c.Result;
        };
        const TScopedDialogHooks scope(hooks);
        int page = 5, layer = 5;
        EXPECT_EQ(form.ChooseDestination(TGeoPoint(1, 1), 1, sem, page, layer), c.Made);
        EXPECT_EQ(asked, 1);
        ASSERT_EQ(run.Messages.size(), 1u);
        EXPECT_EQ(run.Messages[0], QString::fromUtf8(c.Message));
        if (!c.Made) {
            EXPECT_EQ(*CommandLog, journal);
            EXPECT_LT(MainMap->IndexOfPage(QStringLiteral("Лист")), 0);
            continue;
        }
        ASSERT_GE(MainMap->IndexOfPage(QStringLiteral("Лист")), 0);
        EXPECT_EQ(CurrentLayerName(), QStringLiteral("Новый слой"));
        EXPECT_EQ(layer, MainMap->GetCurrentLayer());
        EXPECT_EQ(MainMap->Pages.Item->Layers.GetCount(), 1);
    }
    // The answer became a rule: the next object of that code is not asked about.
    int page = -1, layer = -1;
    EXPECT_TRUE(form.ChooseDestination(TGeoPoint(1, 1), 1, sem, page, layer));
    EXPECT_EQ(CurrentLayerName(), QStringLiteral("Новый слой"));

    // An empty layer name set as the destination creates nothing either.
    form.DestAutoLayer = 0;
    form.DestLayerName.clear();
    const QStringList journal = *CommandLog;
    EXPECT_FALSE(form.ChooseDestination(TGeoPoint(1, 1), 1, sem, page, layer));
    EXPECT_EQ(*CommandLog, journal);

    // A layer without a name that a plan already holds (an older file's) survives the
    // plan file.
    MainMap->StrToComm(QStringLiteral("mcNewLayer=<0><>"));
    const int unnamed = MainMap->Pages.Item->Layers.GetIndex();
    MainMap->StrToComm(QStringLiteral("mcNewPoint=<0><%1><ЖЖЖ><1.00><2.00><2><0><><0><0>").arg(unnamed));
    const QString file = QDir(run.Folder()).filePath(QStringLiteral("безымянный.500"));
    MainMap->WriteDataToFile(file);
    TGeoMap back;
    back.Services = MainMap->Services;
    ASSERT_TRUE(back.ReadDataFromFile(file, true));
    const int sheet = back.IndexOfPage(QStringLiteral("Лист"));
    ASSERT_GE(sheet, 0);
    ASSERT_EQ(back.Pages.At(sheet)->Layers.GetCount(), 2);
    EXPECT_EQ(back.Pages.At(sheet)->Layers.At(unnamed)->Name, QString());
    EXPECT_EQ(back.GetPointsCount(sheet, unnamed), 1);
}

TEST(MainWindowStart, AFailingStartStepIsReportedAndTheLaterStepsRun)
{
    TMainWindowRun::TOptions options;
    options.CollectMessages = true;
    // A broken nomenclature file: reported, and the window still comes up whole.
    options.Prepare = [](const QString& program) {
        WriteBytes(program + QStringLiteral("номенклатуры/Планшеты 2 км.wri"), "2\r\nзапись\r\n");
    };
    TMainWindowRun run(options);
    ASSERT_EQ(run.Messages.size(), 1u);
    EXPECT_TRUE(run.Messages[0].startsWith(QStringLiteral("Ошибка запуска: Номенклатура планшетов: ")))
        << run.Messages[0].toStdString();
    EXPECT_EQ(run.Form().Cursors.size(), 30);
    EXPECT_FALSE(run.Form().TextStyleName.isEmpty());
    run.Start();
    EXPECT_EQ(MainMap->MapProp.Scale, 500);
}
