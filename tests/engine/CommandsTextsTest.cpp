// Text commands: nine or thirteen fields by the own-style flag, the style name's "*"
// stored as ">", the own style given and taken away, the frame recomputed after a
// change, and silent positions.
#include "CommandsTest.h"

namespace {

class TextCommands : public CommandsTest {
protected:
    void SetUp() override
    {
        CommandsTest::SetUp();
        Run({"mcNewPage=<A>", "mcNewLayer=<0><a>"});
    }

    RGText& Text(int i) { return *Layer(0, 0).Texts.At(i); }
};

}  // namespace

TEST_F(TextCommands, OwnStyleFlagDecidesBetweenNineAndThirteenFields)
{
    Run("mcNewText=<0><0><Улица><10,5><20,25><900><1,5><*Основной><0>");
    Run("mcNewText=<0><0><Дом><1><2><0><1><><1><Arial><255><2,5><1010><0>");
    EXPECT_EQ(Dump(), QStringLiteral("page A v1\n"
                                     " layer a v1\n"
                                     "  text Улица (10.5 20.25) a900 f1.5 s>Основной own - frame0\n"
                                     "  text Дом (1 2) a0 f1 s own Arial/255/2.5/5 frame0\n"));
    EXPECT_EQ(Plan().HasCurrentTextOwnStyle(), true);
    // With the flag set, a twelfth field is not enough.
    ExpectNoChange(QStringLiteral("mcNewText=<0><0><x><1><2><0><1><><1><Arial><255><2,5>"),
                   QStringLiteral("List index out of bounds (12)"));
    ExpectNoChange(QStringLiteral("mcNewText=<0><0><x><1><2><0><1><>"),
                   QStringLiteral("List index out of bounds (8)"));
}

TEST_F(TextCommands, StyleNameKeepsEverythingButItsFirstCharacter)
{
    Run({"mcNewText=<0><0><t><1><2><0><1><><0>", "mcNewText=<0><0><t><1><2><0><1><*><0>",
         "mcNewText=<0><0><t><1><2><0><1><Подписи><0>"});
    EXPECT_EQ(Text(0).StyleName, QString());
    EXPECT_EQ(Text(1).StyleName, QStringLiteral(">"));
    EXPECT_EQ(Text(2).StyleName, QStringLiteral(">одписи"));
}

TEST_F(TextCommands, TextRealsTakeOnlyTheLocalesSeparator)
{
    ExpectNoChange(QStringLiteral("mcNewText=<0><0><t><1.5><2><0><1><><0>"),
                   QStringLiteral("'1.5' is not a valid floating point value"));
    ExpectNoChange(QStringLiteral("mcNewText=<0><0><t><1><2><0><1><><1><Arial><255><2.5><1010>"),
                   QStringLiteral("'2.5' is not a valid floating point value"));
    ExpectNoChange(QStringLiteral("mcNewText=<0><0><t><1><2><9.5><1><><0>"),
                   QStringLiteral("'9.5' is not a valid integer value"));
}

// The own-style flag 0 used to leave an own style in place, so a text could never get
// its named style back once it had a font of its own.
TEST_F(TextCommands, ChangeGivesAndTakesTheOwnStyleAndInvalidatesTheFrame)
{
    Run("mcNewText=<0><0><t><1><2><0><1><*Основной><1><Arial><255><2,5><1010>");
    Text(0).FrameValid = 1;
    Run("mcSetTextProp=<0><0><0><u><3><4><450><2><*Мелкий><0>");
    EXPECT_EQ(Dump(), QStringLiteral("page A v1\n"
                                     " layer a v1\n"
                                     "  text u (3 4) a450 f2 s>Мелкий own - frame0\n"));
    Text(0).FrameValid = 1;
    Run("mcSetTextProp=<0><0><0><u><3><4><450><2><*Мелкий><1><Times><16711680><3><0100><0>");
    EXPECT_EQ(Style(Text(0).OwnStyle), QStringLiteral("Times/16711680/3/2"));
    EXPECT_EQ(Text(0).FrameValid, 0);
    EXPECT_EQ(Plan().GetCurrentLayer(), 0);
}

TEST_F(TextCommands, DeleteAndSwapMoveToTheirText)
{
    Run({"mcNewText=<0><0><t0><1><2><0><1><><0>", "mcNewText=<0><0><t1><1><2><0><1><><0>",
         "mcNewText=<0><0><t2><1><2><0><1><><0>"});
    Run("mcChangeTextOrder=<0><0><0><2>");
    EXPECT_EQ(Text(0).Text, QStringLiteral("t2"));
    EXPECT_EQ(Text(2).Text, QStringLiteral("t0"));
    EXPECT_EQ(Layer(0, 0).Texts.GetIndex(), 2);
    // j past the end swaps nothing; the cursor still went to i.
    ExpectNoChange(QStringLiteral("mcChangeTextOrder=<0><0><1><3>"));
    EXPECT_EQ(Layer(0, 0).Texts.GetIndex(), 1);
    Run("mcDelText=<0><0><1>");
    EXPECT_EQ(Layer(0, 0).Texts.GetCount(), 2);
    EXPECT_EQ(Text(1).Text, QStringLiteral("t0"));
}

TEST_F(TextCommands, MissingPositionsAreSilentAndLaterFieldsUnread)
{
    Run("mcNewText=<0><0><t><1><2><0><1><><0>");
    for (const char* line : {
             "mcNewText=<1><0><t><1><2><0><1><><0>",
             "mcNewText=<0><1><t><bad>",
             "mcNewText=<5>",
             "mcDelText=<0><0><1>",
             "mcDelText=<0><-1><0>",
             "mcSetTextProp=<0><0><1><bad>",
             "mcChangeTextOrder=<0><0><4><x>",
         })
        ExpectNoChange(QString::fromUtf8(line));
    // A plan without sheets fails its first move the same way.
    Run("mcDelPage=<0>");
    ExpectNoChange(QStringLiteral("mcNewText=<0><0><t><1><2><0><1><><0>"));
}
