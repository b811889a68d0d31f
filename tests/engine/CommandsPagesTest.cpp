// Sheet and layer commands through typed lines: what each changes, the order of its
// position tests, which of them is silent and which shows a message quoting the field
// as written, and that value fields are read only once the positions passed.
#include "CommandsTest.h"

namespace {

class PageCommands : public CommandsTest {
protected:
    // Sheet A with layers a1, a2 and rasters r1, r2; sheet B with nothing; sheet C.
    void BuildPlan()
    {
        Run({"mcNewPage=<A>", "mcNewLayer=<0><a1>", "mcNewLayer=<0><a2>",
             "mcNewRastr=<0><r1.bmp><0><0><1><1><1><><100><100><100><100><0>",
             "mcNewRastr=<0><r2.bmp><0><0><1><1><1><><100><100><100><100><0>", "mcNewPage=<B>",
             "mcNewPage=<C>"});
    }
};

}  // namespace

TEST_F(PageCommands, NewSheetsAndLayersAreAppendedVisibleAndCurrent)
{
    Run({"mcNewPage=<Лист>", "mcNewPage=<Лист 2>", "mcNewLayer=<1><Дороги>", "mcNewLayer=<1><Реки>"});
    EXPECT_EQ(Dump(), QStringLiteral("page Лист v1\n"
                                     "page Лист 2 v1\n"
                                     " layer Дороги v1\n"
                                     " layer Реки v1\n"));
    EXPECT_EQ(Plan().GetCurrentPage(), 1);
    EXPECT_EQ(Plan().GetCurrentLayer(), 1);
    EXPECT_EQ(*CommandLog, (QStringList{"mcNewPage=<Лист>", "mcNewPage=<Лист 2>",
                                        "mcNewLayer=<1><Дороги>", "mcNewLayer=<1><Реки>"}));
    EXPECT_EQ(Plan().Modified, 1);
}

// Guards against two sheets, or two layers of one sheet, of one name: the plan file
// tells them by name, so the snapshot of such a plan reopened with the duplicate-name
// question, and undo merged the two or gave up. A name is taken only exactly, letter
// case included, and a sheet or layer may keep its own name.
TEST_F(PageCommands, ANameTakenByAnotherSheetOrLayerOfTheSheetIsRefused)
{
    BuildPlan();
    const struct {
        const char* line;
        const char* message;
    } refused[] = {
        {"mcNewPage=<B>", "Лист с именем \"B\" уже есть"},
        {"mcSetPageProp=<0><C><1>", "Лист с именем \"C\" уже есть"},
        {"mcNewLayer=<0><a1>", "Слой с именем \"a1\" уже есть на листе \"A\""},
        {"mcSetLayerProp=<0><1><a1><0>", "Слой с именем \"a1\" уже есть на листе \"A\""},
    };
    for (const auto& c : refused)
        ExpectNoChange(QString::fromUtf8(c.line), QString::fromUtf8(c.message));
    // A missing position still shows its message before the name is looked at.
    ExpectMessage(QStringLiteral("mcSetPageProp=<5><B><1>"), QStringLiteral("Страница не найдена!"),
                  QStringLiteral("запрошенная на изменение свойств страница №5 не найдена!"));
    ExpectNoChange(QStringLiteral("mcNewLayer=<4><a1>"));

    Run({"mcNewPage=<b>", "mcNewLayer=<0><A1>", "mcNewLayer=<1><a1>", "mcSetPageProp=<0><A><0>",
         "mcSetLayerProp=<0><1><a2><0>"});
    EXPECT_EQ(Page(3).Name, QStringLiteral("b"));
    EXPECT_EQ(Layer(0, 2).Name, QStringLiteral("A1"));
    EXPECT_EQ(Layer(1, 0).Name, QStringLiteral("a1"));
    EXPECT_EQ(Page(0).Visible, 0);
    EXPECT_EQ(Layer(0, 1).Visible, 0);
}

TEST_F(PageCommands, PropertiesRenameAndChooseVisibility)
{
    BuildPlan();
    // 0 hides, 1 shows, any other choice keeps the visibility but still renames.
    Run({"mcSetPageProp=<1><B0><0>", "mcSetPageProp=<2><C2><2>", "mcSetLayerProp=<0><1><a-><0>"});
    EXPECT_EQ(Page(1).Name, QStringLiteral("B0"));
    EXPECT_EQ(Page(1).Visible, 0);
    EXPECT_EQ(Page(2).Name, QStringLiteral("C2"));
    EXPECT_EQ(Page(2).Visible, 1);
    EXPECT_EQ(Layer(0, 1).Name, QStringLiteral("a-"));
    EXPECT_EQ(Layer(0, 1).Visible, 0);
    Run({"mcSetPageProp=<1><B><7>", "mcSetLayerProp=<0><1><a2><1>"});
    EXPECT_EQ(Page(1).Visible, 0);
    EXPECT_EQ(Layer(0, 1).Visible, 1);
}

TEST_F(PageCommands, SwapsLeaveTheCursorOnTheSecondPosition)
{
    BuildPlan();
    Run("mcChangePageOrder=<2><0>");
    EXPECT_EQ(Page(0).Name, QStringLiteral("C"));
    EXPECT_EQ(Page(2).Name, QStringLiteral("A"));
    EXPECT_EQ(Plan().GetCurrentPage(), 0);
    Run("mcChangeLayerOrder=<2><1><0>");
    EXPECT_EQ(Layer(2, 0).Name, QStringLiteral("a2"));
    EXPECT_EQ(Layer(2, 1).Name, QStringLiteral("a1"));
    EXPECT_EQ(Plan().GetCurrentPage(), 2);
    EXPECT_EQ(Plan().GetCurrentLayer(), 0);
    Run("mcChangeRastrOrder=<2><0><1>");
    EXPECT_EQ(Page(2).Rastrs.At(0)->FileName, QStringLiteral("r2.bmp"));
    EXPECT_EQ(Plan().GetCurrentRastr(), 1);
}

TEST_F(PageCommands, DeletionsTakeEverythingBelow)
{
    BuildPlan();
    Run({"mcDelLayer=<0><0>", "mcDelRastr=<0><1>"});
    EXPECT_EQ(Dump(), QStringLiteral("page A v1\n"
                                     " rastr r1.bmp (0 0)-(1 1) v1 loaded0 on-open1 filter  "
                                     "L100 R100 G100 B100 on0 applied0 picture 0x0 0\n"
                                     " layer a2 v1\n"
                                     "page B v1\n"
                                     "page C v1\n"));
    Run("mcDelPage=<0>");
    EXPECT_EQ(Dump(), QStringLiteral("page B v1\npage C v1\n"));
    EXPECT_EQ(Plan().GetCurrentPage(), 0);
}

TEST_F(PageCommands, MissingPositionsShowTheirMessageQuotingTheFieldAsWritten)
{
    BuildPlan();
    struct Case {
        const char* line;
        const char* caption;
        const char* text;
    };
    const Case cases[] = {
        {"mcDelPage=<3>", "Страница не найдена!", "запрошенная на удаление страница №3 не найдена!"},
        {"mcDelPage=<-1>", "Страница не найдена!", "запрошенная на удаление страница №-1 не найдена!"},
        {"mcSetPageProp=< 05><X><1>", "Страница не найдена!",
         "запрошенная на изменение свойств страница № 05 не найдена!"},
        {"mcChangePageOrder=<7><0>", "Страница не найдена!",
         "запрошенная на изменение номера страница №7 не найдена!"},
        {"mcChangePageOrder=<0><+7>", "Неверный номер страницы",
         "номер +7 вне диапазона страниц! (0-3)"},
        {"mcDelLayer=<0><2>", "Cлой не найден!", "запрошенный на удаление слой №2 не найден!"},
        {"mcSetLayerProp=<9><0><X><1>", "Страница не найдена!",
         "для запрошенного на изменение свойств слоя №9 не найдена страница!"},
        {"mcSetLayerProp=<0><2><X><1>", "Слой не найден!",
         "запрошенный на изменение свойств слой №2 не найден!"},
        {"mcChangeLayerOrder=<0><2><0>", "Слой не найден!",
         "запрошенный на изменение номера слой №2 не найден!"},
        {"mcChangeLayerOrder=<0><0><2>", "Неверный номер слоя", "номер 2 вне диапазона слоев! (0-2)"},
        {"mcChangeRastrOrder=<0><5><0>", "Растр не найден!",
         "запрошенный на изменение номера растр (5) не найден!"},
        {"mcChangeRastrOrder=<0><1><2>", "Неверный номер растра",
         "номер 2 вне диапазона растров! (0-2)"},
    };
    for (const Case& c : cases)
        ExpectMessage(QString::fromUtf8(c.line), QString::fromUtf8(c.caption), QString::fromUtf8(c.text));
}

// The deletion of a layer has always shown its caption with a Latin "C"; the other
// layer messages write the Cyrillic letter.
TEST_F(PageCommands, LayerDeletionCaptionBeginsWithALatinC)
{
    BuildPlan();
    Run("mcDelLayer=<0><9>");
    ASSERT_EQ(Window.Asked.size(), 1u);
    EXPECT_EQ(Window.Asked[0].Caption.at(0), QChar(0x0043));
    Run("mcSetLayerProp=<0><9><X><1>");
    ASSERT_EQ(Window.Asked.size(), 2u);
    EXPECT_EQ(Window.Asked[1].Caption.at(0), QChar(0x0421));
}

TEST_F(PageCommands, MissingPositionsOfOtherCommandsAreSilent)
{
    BuildPlan();
    for (const char* line : {
             "mcNewLayer=<3><L>",
             "mcDelLayer=<3><0>",
             "mcSetLayerProp=<1><0><X><1>",        // sheet B has no layers
             "mcChangeLayerOrder=<1><0><0>",
             "mcChangeLayerOrder=<5><0><0>",
             "mcNewRastr=<3><f.bmp><0><0><1><1><1><><100><100><100><100><0>",
             "mcLoadRastr=<1><0>",                 // sheet B has no rasters
             "mcLoadRastr=<0><2>",
             "mcUnLoadRastr=<0><-1>",
             "mcDelRastr=<4><0>",
             "mcSetRastrProp=<0><2><f.bmp><0><0><1><1><1><><100><100><100><100><0>",
             "mcChangeRastrOrder=<1><0><0>",
         })
        ExpectNoChange(QString::fromUtf8(line));
}

TEST_F(PageCommands, PlanWithoutSheetsTakesLayerCommandsSilently)
{
    Run("mcNewLayer=<0><L>");
    ExpectNoChange(QStringLiteral("mcNewLayer=<0><L>"));
    ExpectNoChange(QStringLiteral("mcSetLayerProp=<0><0><X><1>"));
    ExpectNoChange(QStringLiteral("mcChangeLayerOrder=<0><0><0>"));
    ExpectNoChange(QStringLiteral("mcNewRastr=<0><f.bmp><0><0><1><1><1><><100><100><100><100><0>"));
    ExpectMessage(QStringLiteral("mcDelPage=<0>"), QStringLiteral("Страница не найдена!"),
                  QStringLiteral("запрошенная на удаление страница №0 не найдена!"));
    EXPECT_EQ(CommandLog->size(), 6);
}

TEST_F(PageCommands, PositionFieldsConvertBeforeTheTestsValueFieldsAfter)
{
    BuildPlan();
    // A malformed second position raises although the first would have shown a message.
    ExpectNoChange(QStringLiteral("mcChangePageOrder=<9><x>"), QStringLiteral("'x' is not a valid integer value"));
    ExpectNoChange(QStringLiteral("mcChangeLayerOrder=<0><0>"), QStringLiteral("List index out of bounds (2)"));
    // A malformed value behind a missing position is never read.
    ExpectMessage(QStringLiteral("mcSetPageProp=<9><X><bad>"), QStringLiteral("Страница не найдена!"),
                  QStringLiteral("запрошенная на изменение свойств страница №9 не найдена!"));
    ExpectNoChange(QStringLiteral("mcNewLayer=<7>"));
    // Behind a position that exists, it raises before anything changes: the name stays.
    ExpectNoChange(QStringLiteral("mcSetPageProp=<0><X><bad>"), QStringLiteral("'bad' is not a valid integer value"));
    ExpectNoChange(QStringLiteral("mcSetLayerProp=<0><0><X>"), QStringLiteral("List index out of bounds (3)"));
    ExpectNoChange(QStringLiteral("mcNewLayer=<0>"), QStringLiteral("List index out of bounds (1)"));
}
