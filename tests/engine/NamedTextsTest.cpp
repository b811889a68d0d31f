// Named texts of stamps and frames read and filled in through text commands, and the
// text search that goes on from where it stopped.
#include "CommandsTest.h"

#include "foundation/ServDialogs.h"

namespace {

class NamedTexts : public CommandsTest {
protected:
    void SetUp() override
    {
        CommandsTest::SetUp();
        Run({"mcNewPage=<Лист1>", "mcNewLayer=<0><Растительность>", "mcNewLayer=<0><Оформление>",
             "mcNewText=<0><1><^A%1><10,126><20,457><450><1,5><><1><Arial><255><2,5><1010><0>",
             "mcNewText=<0><1><^B%2><30><40><0><1><*Основной><0>",
             "mcNewText=<0><1><Исполнитель><50><60><0><1><><0>",
             "mcNewText=<0><1><><50><60><0><1><><0>",
             "mcNewText=<0><0><^A%1><1><1><0><1><><0>"});
        CommandLog->clear();
    }

    QStringList Named(const QString& page, const QString& layer)
    {
        QStringList out{QStringLiteral("старое")};
        Plan().GetNamedTexts(page, layer, out);
        return out;
    }

    // Every value of text i of the stamp layer. (Joined, not through arg(): a text
    // holding "%1" would take the values meant for the placeholders after it.)
    QString TextLine(int i)
    {
        const RGText& t = *Layer(0, 1).Texts.At(i);
        return t.Text + QStringLiteral(" (") + Num(t.Position.X) + QLatin1Char(' ') +
               Num(t.Position.Y) + QStringLiteral(") a") + QString::number(t.Angle) +
               QStringLiteral(" f") + Num(t.SizeFactor) + QStringLiteral(" s") + t.StyleName +
               QStringLiteral(" own ") + Style(t.OwnStyle);
    }

    QStringList TextLines()
    {
        QStringList out;
        for (int i = 0; i < Layer(0, 1).Texts.GetCount(); ++i)
            out << TextLine(i);
        return out;
    }
};

}  // namespace

TEST_F(NamedTexts, ListsTheTextsBeginningWithTheMarkInListOrder)
{
    EXPECT_EQ(Named(QStringLiteral("Лист1"), QStringLiteral("Оформление")),
              QStringList({"^A%1", "^B%2"}));
    EXPECT_EQ(Plan().GetCurrentLayer(), 1);
    // Missing names, letter case included, give an empty list.
    EXPECT_EQ(Named(QStringLiteral("Лист2"), QStringLiteral("Оформление")), QStringList());
    EXPECT_EQ(Named(QStringLiteral("Лист1"), QStringLiteral("оформление")), QStringList());
}

TEST_F(NamedTexts, FillingChangesTheTextOfTheKeyAndKeepsItsPlaceAndStyle)
{
    QStringList expected = TextLines();
    ASSERT_TRUE(expected[0].startsWith(QStringLiteral("^A%1 (10.12")));
    expected[0].replace(0, 4, QStringLiteral("^A%9"));
    Plan().SetNamedTexts(QStringLiteral("Лист1"), QStringLiteral("Оформление"), {"^A%9"});
    // The position to the millimetre: written with two decimals it moved by 4 mm.
    EXPECT_EQ(*CommandLog, QStringList({"mcSetTextProp=<0><1><0><^A%9><10,126><20,457><450><1,50><>"
                                        "<1><Arial><255><2,50><1010><0>"}));
    EXPECT_EQ(TextLines(), expected);
    // The same key on another layer is not touched.
    EXPECT_EQ(Layer(0, 0).Texts.At(0)->Text, QStringLiteral("^A%1"));
}

TEST_F(NamedTexts, NamedStyleGoesBackThroughTheCommandUnchanged)
{
    Plan().SetNamedTexts(QStringLiteral("Лист1"), QStringLiteral("Оформление"), {"^B%Иванов"});
    ASSERT_EQ(CommandLog->size(), 1);
    EXPECT_TRUE(CommandLog->at(0).startsWith(
        QStringLiteral("mcSetTextProp=<0><1><1><^B%Иванов><30,000><40,000><0><1,00><*Основной><0>")))
        << CommandLog->at(0).toStdString();
    EXPECT_EQ(TextLine(1), QStringLiteral("^B%Иванов (30 40) a0 f1 s>Основной own -"));
}

TEST_F(NamedTexts, LinesWithoutKeyOrMatchChangeNothing)
{
    const QString before = Dump();
    struct Case {
        const char* page;
        const char* layer;
        QStringList lines;
    };
    const Case cases[] = {
        {"Лист1", "Оформление", {"^A9", "Исполнитель"}},   // no "%"
        {"Лист1", "Оформление", {"^C%3"}},                 // no such key: nothing made
        {"Лист1", "Оформление", {}},
        {"Лист2", "Оформление", {"^A%9"}},
        {"Лист1", "Подписи", {"^A%9"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layer);
        Plan().SetNamedTexts(QString::fromUtf8(c.page), QString::fromUtf8(c.layer), c.lines);
        EXPECT_EQ(Dump(), before);
        EXPECT_TRUE(CommandLog->isEmpty());
    }
}

TEST_F(NamedTexts, EveryTextOfTheKeyIsSetOnThePlanCalled)
{
    Run("mcNewText=<0><1><^A%старое><70><80><0><1><><0>");
    CommandLog->clear();
    // The main plan is another one: the commands still go to this plan.
    TGeoMap main;
    MainMap = &main;
    Plan().SetNamedTexts(QStringLiteral("Лист1"), QStringLiteral("Оформление"), {"^A%новое", "^B%2"});
    EXPECT_EQ(CommandLog->size(), 3);
    EXPECT_EQ(Layer(0, 1).Texts.At(0)->Text, QStringLiteral("^A%новое"));
    EXPECT_EQ(Layer(0, 1).Texts.At(4)->Text, QStringLiteral("^A%новое"));
    EXPECT_EQ(Layer(0, 1).Texts.At(1)->Text, QStringLiteral("^B%2"));
    EXPECT_EQ(main.GetPagesCount(), 0);
}

TEST_F(NamedTexts, AValueTheCommandCannotCarryIsRefusedBeforeItsText)
{
    const QString before = Dump();
    EXPECT_NE(RaisedBy([&] {
                  Plan().SetNamedTexts(QStringLiteral("Лист1"), QStringLiteral("Оформление"),
                                       {"^A%<9>"});
              }),
              QString());
    EXPECT_EQ(Dump(), before);
    EXPECT_TRUE(CommandLog->isEmpty());
}

// ---- text search ---------------------------------------------------------------------

namespace {

class TextSearch : public CommandsTest {
protected:
    void SetUp() override
    {
        CommandsTest::SetUp();
        Run({"mcNewPage=<A>", "mcNewLayer=<0><a>", "mcNewLayer=<0><b>", "mcNewPage=<B>",
             "mcNewLayer=<1><a>",
             "mcNewText=<0><0><улица Ленина><1><2><0><1><><0>",
             "mcNewText=<0><0><ул. Мира><3><4><0><1><><0>",
             "mcNewText=<0><1><Ленина 5><5><6><0><1><><0>",
             "mcNewText=<1><0><ЛЕНИНА><7><8><0><1><><0>",
             "mcNewText=<1><0><проспект Ленина><9><10><0><1><><0>",
             "mcNewPoint=<1><0><ОТА><0><0><2><0><><0><0>",
             "mcSetPageProp=<1><B><0>"});
        // Texts inside objects are not searched.
        RGPoint& point = *Layer(1, 0).Points.At(0);
        point.InnerTexts.AddItem();
        point.InnerTexts.Item->Text = QStringLiteral("Ленина");
    }

    // "page/layer/text:content@x,y" of each hit, then the result that ended the run.
    QStringList Hits(TGeoMap& map, const QString& str, bool variword, bool varicase, int limit = 10)
    {
        QStringList out;
        int page = -1, lay = -1, obj = -1;
        QString txt;
        Extended x = 0, y = 0;
        int r = map.BeginFindScript(str, page, lay, obj, variword, varicase, txt, x, y);
        while (r == mrYes && out.size() < limit) {
            out << QStringLiteral("%1/%2/%3:%4@%5,%6").arg(page).arg(lay).arg(obj).arg(txt, Num(x), Num(y));
            r = map.NextFindScript(str, page, lay, obj, variword, varicase, txt, x, y);
        }
        out << QString::number(r);
        return out;
    }
};

}  // namespace

TEST_F(TextSearch, ContainedWholeAndCaseFoldedMatches)
{
    struct Case {
        const char* str;
        bool variword, varicase;
        QStringList hits;
    };
    const Case cases[] = {
        {"Ленина", true, false,
         {"0/0/0:улица Ленина@1,2", "0/1/0:Ленина 5@5,6", "1/0/1:проспект Ленина@9,10", "7"}},
        {"Ленина", false, false, {"7"}},   // only contained, never whole
        {"Ленина 5", false, false, {"0/1/0:Ленина 5@5,6", "7"}},
        {"ленина", true, true,
         {"0/0/0:улица Ленина@1,2", "0/1/0:Ленина 5@5,6", "1/0/0:ЛЕНИНА@7,8",
          "1/0/1:проспект Ленина@9,10", "7"}},
        {"ленина", false, true, {"1/0/0:ЛЕНИНА@7,8", "7"}},
        {"ленина", true, false, {"7"}},
        {"", true, false, {"7"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.str);
        EXPECT_EQ(Hits(Plan(), QString::fromUtf8(c.str), c.variword, c.varicase), c.hits);
    }
}

TEST_F(TextSearch, CursorGoesOnAfterEachHitAndBackToTheSheetStartAtTheEnd)
{
    TGeoMap& m = Plan();
    int page = -1, lay = -1, obj = -1;
    QString txt;
    Extended x = 0, y = 0;
    const QString str = QStringLiteral("Ленина");
    EXPECT_EQ(m.BeginFindScript(str, page, lay, obj, true, false, txt, x, y), mrYes);
    EXPECT_EQ(m.NextFindScript(str, page, lay, obj, true, false, txt, x, y), mrYes);
    // The sheet and layer of the hit become current.
    EXPECT_EQ(m.GetCurrentPage(), 0);
    EXPECT_EQ(m.GetCurrentLayer(), 1);
    EXPECT_EQ(m.NextFindScript(str, page, lay, obj, true, false, txt, x, y), mrYes);
    EXPECT_EQ(m.NextFindScript(str, page, lay, obj, true, false, txt, x, y), mrNo);
    EXPECT_EQ(std::make_tuple(m.SearchPage, m.SearchLayer, m.SearchText), std::make_tuple(1, 0, 0));
    // Not found leaves the outputs as they were.
    EXPECT_EQ(txt, QStringLiteral("проспект Ленина"));
    // A further call searches that sheet again from its start.
    EXPECT_EQ(m.NextFindScript(str, page, lay, obj, true, false, txt, x, y), mrYes);
    EXPECT_EQ(std::make_tuple(page, lay, obj), std::make_tuple(1, 0, 1));
}

// The search used to count the sheets of the main plan: a plan with more sheets than
// the main one was searched only in part.
TEST_F(TextSearch, SearchesTheSheetsOfThePlanItIsCalledOn)
{
    TGeoMap main;
    main.Pages.AddItem();
    MainMap = &main;
    EXPECT_EQ(Hits(Plan(), QStringLiteral("проспект"), true, false),
              QStringList({"1/0/1:проспект Ленина@9,10", "7"}));
    EXPECT_EQ(Hits(main, QStringLiteral("проспект"), true, false), QStringList({"7"}));
}
