// Choosing the layer of a new object by the layer rules, the question when no rule
// applies with the files it writes back, and making the named sheet and layer current.
#include "PlanBuilders.h"

#include "foundation/ServDialogs.h"
#include "platform/CodePage.h"
#include "semantics/codec/SemServices.h"

namespace {

using namespace testplan;

struct RRule {
    const char* Semantics;
    const char* Layer;
};

void SetRules(TDefLayerForObjects& rules, std::initializer_list<RRule> list)
{
    rules.DeleteAll();
    for (const RRule& r : list) {
        rules.AddItem();
        rules.Item->Semantics = QString::fromUtf8(r.Semantics);
        rules.Item->LayerName = QString::fromUtf8(r.Layer);
    }
}

class LayerDetectionTest : public ClassifierFixture {
protected:
    QString RulesPath() const { return Path(QStringLiteral("Слои/Выбор слоя.wri")); }
    QString NamesPath() const { return Path(QStringLiteral("Слои/Слои.wri")); }

    // Two rules, written to the rule file as a save writes them.
    void TwoRules()
    {
        SetRules(Plan().LayerRules, {{"ЗДН/Ф001", "Здания"}, {"ГОР", "Рельеф"}});
        Plan().SaveDefLayerForObjects();
    }

    QString Readable(int lm, const QString& sem) const
    {
        QString text;
        DecodeSem(lm, sem, text);
        return text;
    }

};

}  // namespace

TEST(LayerRules, SplitSemCutsTheItemsAfterTheFourthCharacter)
{
    struct Case {
        const char* Sem;
        QStringList Parts;
    };
    const Case cases[] = {
        {"ЗД", {"ЗД"}},
        {"ЗДН", {"ЗДН"}},
        {"ЗДН/", {"ЗДН"}},
        {"ЗДН/ ", {"ЗДН"}},
        {"ЗДН/Ф001;К012", {"ЗДН", "Ф001", "К012"}},
        {"ЗДН-Ф001;К012", {"ЗДН", "Ф001", "К012"}},          // the fourth character, whatever it is
        {"ЗДН/Ф001;К012 ", {"ЗДН", "Ф001", "К012"}},         // a closing blank dropped
        {"ЗДН/Ф001 ;К012", {"ЗДН", "Ф001 ", "К012"}},        // any other blank kept
        {"ЗДН/Ф001;;К012", {"ЗДН", "Ф001", "", "К012"}},
        {"ЗДН/Ф001;", {"ЗДН", "Ф001"}},
        {"ЗДН/;Ф001", {"ЗДН", "", "Ф001"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Sem);
        QStringList parts{QStringLiteral("old")};
        TGeoMap::SplitSem(QString::fromUtf8(c.Sem), parts);
        EXPECT_EQ(parts, c.Parts);
    }
}

TEST(LayerRules, SelectSemTakesMostEqualPartsThenFewestPartsThenTheLast)
{
    struct Case {
        const char* Name;
        std::initializer_list<RRule> Rules;
        const char* Sem;
        int Index;   // -1: no match
    };
    const Case cases[] = {
        {"a;b shares three parts with the second", {{"ЗДН/a", "A"}, {"ЗДН/a;b", "B"}}, "ЗДН/a;b", 1},
        {"a alone: two each, fewer parts win", {{"ЗДН/a", "A"}, {"ЗДН/a;b", "B"}}, "ЗДН/a", 0},
        {"equal patterns: the later wins", {{"ЗДН/a", "A"}, {"ЗДН/a", "B"}, {"ГОР", "C"}}, "ЗДН/a", 1},
        {"a foreign code never matches by its items", {{"ЗДН/a", "A"}}, "ГОР/a", -1},
        {"three characters match by the code", {{"ГОР", "G"}, {"ЗДН/a;b", "A"}}, "ЗДН", 1},
        {"four characters match by the code", {{"ЗДН/a;b", "A"}, {"ГОР", "G"}}, "ЗДН/", 0},
        {"a closing blank still matches", {{"ЗДН/a;x", "A"}, {"ЗДН/b", "B"}}, "ЗДН/a ", 0},
        {"a blank inside an item spoils it", {{"ЗДН/a;x", "A"}, {"ЗДН/b", "B"}}, "ЗДН/ a", 1},
        {"a rule with items the object lacks can win", {{"ЗДН", "A"}, {"ЗДН/a;b;c", "B"}}, "ЗДН/a;b", 1},
        {"a part twice counts twice", {{"ЗДН/a;b;c", "A"}, {"ЗДН/a;a", "B"}}, "ЗДН/a;a", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TDefLayerForObjects rules;
        SetRules(rules, c.Rules);
        rules.GoLastItem();
        QString sem = QString::fromUtf8(c.Sem);
        int index = 0;
        TGeoMap::SelectSem(&rules, sem, index);
        EXPECT_EQ(index, c.Index);
        if (c.Index < 0) {
            EXPECT_TRUE(sem.isEmpty());
        } else {
            EXPECT_EQ(rules.GetIndex(), c.Index);
            EXPECT_EQ(sem, rules.At(c.Index)->Semantics);
        }
    }
}

TEST(LayerRules, SelectSemWithoutRulesChangesNothing)
{
    TDefLayerForObjects empty;
    for (TDefLayerForObjects* rules : {static_cast<TDefLayerForObjects*>(nullptr), &empty}) {
        QString sem = QStringLiteral("ЗДН/Ф001");
        int index = 5;
        TGeoMap::SelectSem(rules, sem, index);
        EXPECT_EQ(sem, QStringLiteral("ЗДН/Ф001"));
        EXPECT_EQ(index, 5);
    }
}

TEST_F(LayerDetectionTest, AMatchingRuleGivesItsLayerWithoutAQuestion)
{
    TwoRules();
    const QByteArray rules = FileBytes(RulesPath());
    EXPECT_EQ(Plan().DetectLayer(2, QStringLiteral("ЗДН/Ф001;К012;Н003;М001")), QStringLiteral("Здания"));
    EXPECT_EQ(Plan().DetectLayer(1, QStringLiteral("ГОР/Ф011;ИВ150")), QStringLiteral("Рельеф"));
    EXPECT_TRUE(Window.Asked.empty());
    EXPECT_EQ(FileBytes(RulesPath()), rules);
}

TEST_F(LayerDetectionTest, AnAnswerWithAKnownNameBecomesASortedStandardRule)
{
    TwoRules();
    const QByteArray names = FileBytes(NamesPath());
    const QString sem = QStringLiteral("ТОЧ/Ф010;ИН12");
    Window.Answers = {1};
    Window.Texts = {QStringLiteral("Геодезия")};
    EXPECT_EQ(Plan().DetectLayer(0, sem), QStringLiteral("Геодезия"));

    ASSERT_EQ(Window.Asked.size(), 1u);
    EXPECT_EQ(Window.Asked[0].Kind, QStringLiteral("SelStr"));
    EXPECT_EQ(Window.Asked[0].Caption, QStringLiteral("Не получается автоматически определить слой "));
    EXPECT_EQ(Window.Asked[0].Text,
              QStringLiteral("Для объекта \"ТОЧ/Ф010;ИН12\r(") + Readable(0, sem) +
                  QStringLiteral(")\r\" выберите слой из списка либо введите новый и нажмите \"Готово\""));
    EXPECT_EQ(FileBytes(RulesPath()),
              Cp1251Lines({"*", "ГОР", "Рельеф", "*", "ЗДН/Ф001", "Здания", "*", "ТОЧ/Ф010", "Геодезия"}));
    EXPECT_EQ(FileBytes(NamesPath()), names);
    // The rule in memory keeps the object's whole semantics and matches it at once.
    ASSERT_EQ(Plan().LayerRules.GetCount(), 3);
    EXPECT_EQ(Plan().LayerRules.At(2)->Semantics, sem);
    EXPECT_EQ(Plan().DetectLayer(0, sem), QStringLiteral("Геодезия"));
    EXPECT_EQ(Window.Asked.size(), 1u);
}

TEST_F(LayerDetectionTest, ATypedNewNameIsAddedToTheLayerNames)
{
    TwoRules();
    const QStringList namesBefore = Plan().LayerNames;
    Window.Answers = {1, 1};
    Window.Texts = {QStringLiteral("Опоры")};
    EXPECT_EQ(Plan().DetectLayer(0, QStringLiteral("ТОЧ")), QStringLiteral("Опоры"));
    EXPECT_EQ(Plan().LayerNames, namesBefore + QStringList{QStringLiteral("Опоры")});
    EXPECT_EQ(FileBytes(NamesPath()), Cp1251Lines(Plan().LayerNames));
    ASSERT_EQ(Window.Asked.size(), 2u);
    EXPECT_EQ(Window.Asked[1].Kind, QStringLiteral("ShowMsg"));
    EXPECT_EQ(Window.Asked[1].Caption, QStringLiteral("Новый элемент"));
    EXPECT_EQ(Window.Asked[1].Text, QStringLiteral("Добавлен новый слой \"Опоры\""));
    EXPECT_EQ(FileBytes(RulesPath()),
              Cp1251Lines({"*", "ГОР", "Рельеф", "*", "ЗДН/Ф001", "Здания", "*", "ТОЧ", "Опоры"}));
}

TEST_F(LayerDetectionTest, ACancelledQuestionChangesNoFileAndGivesNoLayer)
{
    TwoRules();
    const QByteArray rules = FileBytes(RulesPath());
    const QByteArray names = FileBytes(NamesPath());
    const QStringList namesBefore = Plan().LayerNames;
    // The window held a typed new name when it was cancelled.
    Window.Answers = {2};
    Window.Texts = {QStringLiteral("Опоры")};
    EXPECT_EQ(Plan().DetectLayer(0, QStringLiteral("ТОЧ")), QString());
    ASSERT_EQ(Window.Asked.size(), 2u);
    EXPECT_EQ(Window.Asked[1].Caption, QStringLiteral("Отмена"));
    EXPECT_EQ(Window.Asked[1].Text, QStringLiteral("Ввод отменен"));
    EXPECT_EQ(Plan().LayerNames, namesBefore);
    EXPECT_EQ(Plan().LayerRules.GetCount(), 2);
    EXPECT_EQ(FileBytes(RulesPath()), rules);
    EXPECT_EQ(FileBytes(NamesPath()), names);
}

// Guards against a half-taken answer: a typed name the reference files cannot hold
// raises before any file changes, and neither the names nor the rules keep it.
TEST_F(LayerDetectionTest, ANameTheFilesCannotHoldChangesNothing)
{
    TwoRules();
    const QByteArray rules = FileBytes(RulesPath());
    const QByteArray names = FileBytes(NamesPath());
    const QStringList namesBefore = Plan().LayerNames;
    Window.Answers = {1};
    Window.Texts = {QStringLiteral("Опоры \u2713")};
    EXPECT_TRUE(RaisedBy([&] { Plan().DetectLayer(0, QStringLiteral("ТОЧ")); }).contains(QStringLiteral("1251")));
    EXPECT_EQ(Plan().LayerNames, namesBefore);
    EXPECT_EQ(Plan().LayerRules.GetCount(), 2);
    EXPECT_EQ(FileBytes(RulesPath()), rules);
    EXPECT_EQ(FileBytes(NamesPath()), names);
}

// Guards the selection window's OK with an empty text (index -1): it must not be read
// as a name, nor make a rule with an empty layer.
TEST_F(LayerDetectionTest, ConfirmingAnEmptyNameThroughTheSharedWindowIsACancel)
{
    TwoRules();
    const QByteArray rules = FileBytes(RulesPath());
    QStringList shown;
    TDialogHooks hooks;
    hooks.SelStr = [](const QStringList&, TSelection& selection, const QString&, const QString&) {
        selection.Index = -1;
        selection.Typed.clear();
        return TModalResult(1);
    };
    hooks.ShowMsg = [&](const QString& caption, const QString& text) {
        shown << caption << text;
        return TModalResult(1);
    };
    TScopedDialogHooks scoped(hooks);
    Plan().Services = nullptr;
    EXPECT_EQ(Plan().DetectLayer(1, QStringLiteral("ЛИН")), QString());
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Отмена"), QStringLiteral("Ввод отменен")}));
    EXPECT_EQ(Plan().LayerRules.GetCount(), 2);
    EXPECT_EQ(FileBytes(RulesPath()), rules);
}

TEST_F(LayerDetectionTest, WithoutRulesEveryObjectIsAskedAbout)
{
    SetRules(Plan().LayerRules, {});
    Window.Answers = {1};
    Window.Texts = {QStringLiteral("Рельеф")};
    EXPECT_EQ(Plan().DetectLayer(1, QStringLiteral("ГОР/Ф011")), QStringLiteral("Рельеф"));
    EXPECT_EQ(FileBytes(RulesPath()), Cp1251Lines({"*", "ГОР/Ф011", "Рельеф"}));
}

TEST_F(LayerDetectionTest, SetPage2CreatesAMissingSheetThroughTheJournal)
{
    TGeoMap& m = Plan();
    EXPECT_TRUE(m.SetPage2(QStringLiteral("Лист")));
    EXPECT_TRUE(m.SetPage2(QStringLiteral("Лист 2")));
    // Known now: made current, nothing issued.
    EXPECT_TRUE(m.SetPage2(QStringLiteral("Лист")));
    EXPECT_EQ(m.GetCurrentPage(), 0);
    EXPECT_EQ(*CommandLog, (QStringList{QStringLiteral("mcNewPage=<Лист>"),
                                        QStringLiteral("mcNewPage=<Лист 2>")}));
    // SetPage finds without creating, and leaves the last sheet current on a miss.
    EXPECT_TRUE(m.SetPage(QStringLiteral("Лист")));
    EXPECT_FALSE(m.SetPage(QStringLiteral("лист")));
    EXPECT_EQ(m.GetCurrentPage(), 1);
    EXPECT_EQ(CommandLog->size(), 2);
}

TEST_F(LayerDetectionTest, SetLayerNeedsACurrentSheetAndCreatesTheLayerInIt)
{
    TGeoMap& m = Plan();
    EXPECT_FALSE(m.SetLayer(QStringLiteral("Здания")));
    EXPECT_TRUE(CommandLog->isEmpty());

    m.SetPage2(QStringLiteral("А"));
    m.SetPage2(QStringLiteral("Б"));
    EXPECT_TRUE(m.SetLayer(QStringLiteral("Здания")));
    EXPECT_TRUE(m.SetLayer(QStringLiteral("Рельеф")));
    EXPECT_TRUE(m.SetLayer(QStringLiteral("Здания")));
    EXPECT_EQ(m.GetCurrentLayer(), 0);
    EXPECT_EQ(*CommandLog, (QStringList{QStringLiteral("mcNewPage=<А>"), QStringLiteral("mcNewPage=<Б>"),
                                        QStringLiteral("mcNewLayer=<1><Здания>"),
                                        QStringLiteral("mcNewLayer=<1><Рельеф>")}));
}

TEST_F(LayerDetectionTest, SetLayerDirectAppendsWithoutACommand)
{
    TGeoMap& m = Plan();
    EXPECT_EQ(RaisedBy([&] { m.SetLayerDirect(QStringLiteral("Фора")); }),
              QStringLiteral("Не удалось создать слой"));
    m.Pages.AddItem();
    m.Pages.Item->Name = QStringLiteral("Лист");
    EXPECT_TRUE(m.SetLayerDirect(QStringLiteral("Фора")));
    EXPECT_TRUE(m.SetLayerDirect(QStringLiteral("Общий")));
    EXPECT_TRUE(m.SetLayerDirect(QStringLiteral("Фора")));
    EXPECT_EQ(m.Pages.Item->Layers.GetCount(), 2);
    EXPECT_EQ(m.GetCurrentLayer(), 0);
    EXPECT_TRUE(CommandLog->isEmpty());
    EXPECT_EQ(m.Modified, 0);
}

// Guards the layer files keeping a lone CR inside a line: they are read as every other
// reference file, so a CR alone ends a line like CR LF and LF, and a file mixing them
// reads as one written with CR LF.
TEST_F(LayerDetectionTest, TheLayerFilesEndTheirLinesAtCrLfLfAndALoneCr)
{
    struct Case {
        const char* Name;
        const char* Ends[3];   // the ends of the lines in turn
    };
    const Case cases[] = {
        {"CR LF", {"\r\n", "\r\n", "\r\n"}},
        {"LF", {"\n", "\n", "\n"}},
        {"CR", {"\r", "\r", "\r"}},
        {"mixed", {"\r", "\n", "\r\n"}},
    };
    const auto file = [](std::initializer_list<const char*> lines, const Case& c) {
        QByteArray bytes;
        int k = 0;
        for (const char* line : lines)
            bytes += EncodeCodePage(QString::fromUtf8(line)) + c.Ends[k++ % 3];
        return bytes;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteBytes(NamesPath(), file({"Здания", "Рельеф", "Геодезия"}, c));
        WriteBytes(RulesPath(), file({"*", "ЗДН/Ф001", "Здания", "*", "ГОР", "Рельеф"}, c));
        WriteBytes(Path(QStringLiteral("Слои/слой надписей.wri")), file({"Надписи", "лишняя"}, c));
        TGeoMap plan;
        EXPECT_EQ(plan.LayerNames, (QStringList{"Здания", "Рельеф", "Геодезия"}));
        ASSERT_EQ(plan.LayerRules.GetCount(), 2);
        EXPECT_EQ(plan.LayerRules.At(0)->Semantics, QStringLiteral("ЗДН/Ф001"));
        EXPECT_EQ(plan.LayerRules.At(0)->LayerName, QStringLiteral("Здания"));
        EXPECT_EQ(plan.LayerRules.At(1)->LayerName, QStringLiteral("Рельеф"));
        EXPECT_EQ(plan.CaptionLayerName, QStringLiteral("Надписи"));
    }
}
