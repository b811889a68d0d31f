// Commands on many objects at once: a sheet scaled, shifted and turned with everything on
// it, semantics replaced and objects deleted by a piece of their text over chosen sheets
// and layers, heights shifted by point numbers; and the synonym replacement beside them.
// A refused command leaves the plan's native text as it was.
#include "CommandsTest.h"

#include "engine/file/GeoMapFile.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ServDialogs.h"
#include "semantics/codec/SemServices.h"

#include <QBuffer>
#include <QFileInfo>

namespace {

class BulkCommands : public CommandsTest {
protected:
    void SetUp() override
    {
        CommandsTest::SetUp();
        Run({"mcNewPage=<A>", "mcNewLayer=<0><a>"});
    }

    QByteArray Native()
    {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        WritePlanSnapshot(Plan(), out);
        return out.data();
    }

    // The command raises message (or completes) and leaves the tree and the native
    // text as they were.
    void ExpectPlanKept(const QString& line, const QString& message = QString())
    {
        const QByteArray before = Native();
        ExpectNoChange(line, message);
        EXPECT_EQ(Native(), before) << line.toStdString();
    }

    RGPoint& Point(int page, int layer, int i) { return *Layer(page, layer).Points.At(i); }
    RGText& Text(int page, int layer, int i) { return *Layer(page, layer).Texts.At(i); }

    // The semantics of every layer's own point, "sheet.layer:semantics", in tree order.
    QStringList PointSems()
    {
        QStringList out;
        for (const auto& page : Plan().Pages)
            for (const auto& layer : page->Layers)
                for (const auto& p : layer->Points)
                    out << page->Name + QLatin1Char('.') + layer->Name + QLatin1Char(':') +
                               p->Semantics;
        return out;
    }

    static void ExpectAt(const TGeoPoint& p, Extended x, Extended y)
    {
        EXPECT_NEAR(double(p.X), double(x), 1e-9);
        EXPECT_NEAR(double(p.Y), double(y), 1e-9);
    }
};

// Two sheets of two layers, a point "x" on each layer.
class BulkSelection : public BulkCommands {
protected:
    void SetUp() override
    {
        BulkCommands::SetUp();
        Run({"mcNewLayer=<0><b>", "mcNewPage=<B>", "mcNewLayer=<1><a>", "mcNewLayer=<1><b>"});
        for (const char* layer : {"<0><0>", "<0><1>", "<1><0>", "<1><1>"})
            Run(QStringLiteral("mcNewPoint=%1<x><0><0><2><0><><0><0>").arg(QLatin1String(layer)));
    }
};

}  // namespace

// ---- mcTransform ---------------------------------------------------------------------

TEST_F(BulkCommands, TransformOrderIsScaleShiftThenTurnAboutTheShiftedCentre)
{
    struct Case {
        const char* params;   // k, dx, dy, da, xc, yc
        Extended x, y, outX, outY;
    };
    const Case cases[] = {
        {"<1><10><20><0><0><0>", 1, 2, 11, 22},
        {"<2><1><0><0><0><0>", 3, 4, 7, 8},
        {"<1><0><0><90><0><0>", 100, 0, 0, 100},        // north becomes east
        {"<1><0><0><-90><0><0>", 100, 0, 0, -100},
        {"<2><0><0><180><10><10>", 5, 0, 10, 20},        // (10, 0) turned about (10, 10)
        {"<1><100><0><90><0><0>", 0, 0, 0, 100},         // shifted first, then turned
        {"<1.5><0.5><0,5><0><0><0>", 2, 2, 3.5L, 3.5L},  // either separator
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params);
        Layer(0, 0).Points.DeleteAll();
        Run("mcNewPoint=<0><0><ОТА><0><0><2><30><><0><0>");
        RGPoint& p = Point(0, 0, 0);
        p.Position = GeoPoint(c.x, c.y);
        Run(QStringLiteral("mcTransform=<0>") + QLatin1String(c.params));
        ExpectAt(p.Position, c.outX, c.outY);
        EXPECT_EQ(p.SignAngle, 30);   // a point's sign keeps its angle
        EXPECT_EQ(CommandLog->last(), QStringLiteral("mcTransform=<0>") + QLatin1String(c.params));
    }
}

TEST_F(BulkCommands, TextsTurnWithTheSheetAndComeOutFoldedIntoOneCircle)
{
    struct Case {
        int angle;
        const char* da;
        int out;
    };
    const Case cases[] = {
        {0, "90", 2700},      // eastward turns south
        {900, "90", 0},       // northward turns east
        {0, "-90", 900},
        {450, "0", 450},      // no turn: as it was
        {3650, "0", 50},      // but folded into one circle
        {-100, "0", 3500},
        {905, "0", 905},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        Layer(0, 0).Texts.DeleteAll();
        Run(QStringLiteral("mcNewText=<0><0><t><100><0><%1><1><><0>").arg(c.angle));
        Text(0, 0, 0).FrameValid = 1;
        Run(QStringLiteral("mcTransform=<0><1><0><0><%1><0><0>").arg(QLatin1String(c.da)));
        EXPECT_EQ(Text(0, 0, 0).Angle, c.out);
        // The frame was computed at the old place.
        EXPECT_EQ(Text(0, 0, 0).FrameValid, 0);
    }
}

// A sheet with one of everything; only sheet 0 moves, sheet 1 stays.
TEST_F(BulkCommands, TransformMovesEveryPositionOfTheSheetOnly)
{
    Run({"mcNewRastr=<0><><1><2><3><4><0><><100><100><100><100><0>",
         "mcNewText=<0><0><Улица><10><0><0><1><><0>",
         "mcNewPoint=<0><0><ОТА><20><0><2><45><[{1}{2}{0}{1}{0}]><0><0>",
         "mcNewLine=<0><0><ЛЭП><><0><0><2><><[{30}{0}{0}{-1}{0}{-1}{0}{0}][{30}{10}{0}{-1}{0}{-1}{0}{0}]>",
         "mcNewPolygon=<0><0><ЗДН><[{40}{0}{-1}{0}{0}{0}{0}][{40}{10}{-1}{0}{0}{0}{0}][{50}{10}{-1}{0}{0}{0}{0}]>"
         "<2><><2><3><([{41}{1}{-1}{0}{0}][{41}{2}{-1}{0}{0}][{42}{2}{-1}{0}{0}])><-1>",
         "mcNewPage=<B>", "mcNewLayer=<1><a>", "mcNewPoint=<1><0><ОТА><20><0><2><0><><0><0>"});
    RGLayer& layer = Layer(0, 0);
    // Objects inside objects are made by commands that have no handler yet.
    RGLineNode& node = *layer.Lines.At(0)->Nodes.At(1);
    node.NodePoints.AddItem();
    node.NodePoints.Item->Position = GeoPoint(31, 11);   // stands off its node
    RGPolygon& polygon = *layer.Polygons.At(0);
    polygon.InnerTexts.AddItem();
    polygon.InnerTexts.Item->Position = GeoPoint(45, 5);
    polygon.InnerTexts.Item->FrameValid = 1;
    polygon.InnerPoints.AddItem();
    polygon.InnerPoints.Item->Position = GeoPoint(46, 6);
    polygon.InnerLines.AddItem();
    polygon.InnerLines.Item->Nodes.AddItem();
    polygon.InnerLines.Item->Nodes.Item->Position = GeoPoint(47, 7);
    layer.Points.At(0)->InnerTexts.AddItem();
    layer.Points.At(0)->InnerTexts.Item->Position = GeoPoint(21, 1);
    layer.Lines.At(0)->InnerTexts.AddItem();
    layer.Lines.At(0)->InnerTexts.Item->Position = GeoPoint(32, 2);
    const QString otherSheet = Dump().section(QStringLiteral("page B"), 1);
    Plan().Pages.GoItem(1);

    Run("mcTransform=<0><1><0><0><90><0><0>");   // (x, y) goes to (-y, x)

    const RGRastr& r = *Page(0).Rastrs.At(0);
    ExpectAt(r.BottomLeft, -2, 1);
    ExpectAt(r.TopRight, -4, 3);
    ExpectAt(layer.Texts.At(0)->Position, 0, 10);
    EXPECT_EQ(layer.Texts.At(0)->Angle, 2700);
    const RGPoint& point = *layer.Points.At(0);
    ExpectAt(point.Position, 0, 20);
    EXPECT_EQ(point.SignAngle, 45);
    EXPECT_EQ(point.UserTexts.At(0)->Dx, 1);   // caption offsets are millimetres
    ExpectAt(point.InnerTexts.At(0)->Position, -1, 21);
    const RGLine& line = *layer.Lines.At(0);
    ExpectAt(line.Nodes.At(0)->Position, 0, 30);
    ExpectAt(line.Nodes.At(1)->Position, -10, 30);
    // The point on a node goes where the node goes, not where its own place turns to.
    ExpectAt(node.NodePoints.At(0)->Position, -10, 30);
    ExpectAt(line.InnerTexts.At(0)->Position, -2, 32);
    ExpectAt(polygon.Nodes.At(2)->Position, -10, 50);
    ExpectAt(polygon.Holes.At(0)->Nodes.At(2)->Position, -2, 42);
    // The polygon's own text turns exactly as a layer's text.
    ExpectAt(polygon.InnerTexts.At(0)->Position, -5, 45);
    EXPECT_EQ(polygon.InnerTexts.At(0)->Angle, 2700);
    EXPECT_EQ(polygon.InnerTexts.At(0)->FrameValid, 0);
    ExpectAt(polygon.InnerPoints.At(0)->Position, -6, 46);
    ExpectAt(polygon.InnerLines.At(0)->Nodes.At(0)->Position, -7, 47);
    EXPECT_EQ(polygon.CaptionShift.X, 2);
    EXPECT_EQ(Dump().section(QStringLiteral("page B"), 1), otherSheet);
    EXPECT_EQ(Plan().GetCurrentPage(), 0);
}

TEST_F(BulkCommands, TransformRefusalsLeaveThePlanAsItWas)
{
    Run({"mcNewText=<0><0><Улица><10><0><0><1><><0>",
         "mcNewPoint=<0><0><ОТА><1><2><2><0><><0><0>",
         "mcNewPoint=<0><0><ОТА><1000><2><2><0><><0><0>"});
    // Outside the sheets: done, nothing moved.
    ExpectPlanKept(QStringLiteral("mcTransform=<1><1><10><20><0><0><0>"));
    ExpectPlanKept(QStringLiteral("mcTransform=<-1><1><10><20><0><0><0>"));
    // k = 0 would put the whole sheet onto one point.
    ExpectPlanKept(QStringLiteral("mcTransform=<0><0><10><20><0><0><0>"),
                   QStringLiteral("Преобразование не выполнено: коэффициент масштаба равен нулю, "
                                  "весь лист сошелся бы в одну точку"));
    ExpectPlanKept(QStringLiteral("mcTransform=<0><1><10><x><0><0><0>"),
                   QStringLiteral("Некорректный вид вещественного числа в строковом формате"));
    ExpectPlanKept(QStringLiteral("mcTransform=<0><1><10><20><0><0>"),
                   QStringLiteral("List index out of bounds (6)"));
    // The last point alone overflows: the text and the first point were worked out
    // already, and still stand where they stood.
    const QString huge = QStringLiteral("1") + QString(4930, QLatin1Char('0'));
    ExpectPlanKept(QStringLiteral("mcTransform=<0><%1><0><0><0><0><0>").arg(huge),
                   QStringLiteral("Преобразование не выполнено: координаты листа вышли бы за "
                                  "пределы представимых чисел"));
}

// ---- mcChangeSem ---------------------------------------------------------------------

TEST_F(BulkCommands, ChangeSemReplacesTheFirstOccurrenceAndForgetsTheSign)
{
    Run({"mcNewPoint=<0><0><ОТА/Ф001;Ф001><1><2><2><0><><0><0>",
         "mcNewPoint=<0><0><ДРВ/Ф002><1><2><2><0><><0><0>",
         "mcNewLine=<0><0><ЛЭП/Ф001><><0><0><2><><>",
         "mcNewPolygon=<0><0><ЗДН/Ф001><><2><><0><0><><-1>"});
    RGPolygon& polygon = *Layer(0, 0).Polygons.At(0);
    polygon.InnerPoints.AddItem();
    polygon.InnerPoints.Item->Semantics = QStringLiteral("ОТА/Ф001");
    for (const auto& p : Layer(0, 0).Points)
        p->SignName = QStringLiteral("знак");
    Layer(0, 0).Lines.At(0)->SignName = QStringLiteral("знак");
    polygon.SignName = QStringLiteral("знак");

    Run("mcChangeSem=<0><-1><1><0><1><Ф001><Ф010>");
    EXPECT_EQ(Point(0, 0, 0).Semantics, QStringLiteral("ОТА/Ф010;Ф001"));
    EXPECT_EQ(Point(0, 0, 0).SignName, QString());
    // Not holding the text: untouched, its sign kept.
    EXPECT_EQ(Point(0, 0, 1).Semantics, QStringLiteral("ДРВ/Ф002"));
    EXPECT_EQ(Point(0, 0, 1).SignName, QStringLiteral("знак"));
    // Lines were not chosen.
    EXPECT_EQ(Layer(0, 0).Lines.At(0)->Semantics, QStringLiteral("ЛЭП/Ф001"));
    EXPECT_EQ(Layer(0, 0).Lines.At(0)->SignName, QStringLiteral("знак"));
    EXPECT_EQ(polygon.Semantics, QStringLiteral("ЗДН/Ф010"));
    EXPECT_EQ(polygon.SignName, QString());
    // Objects inside polygons are not visited.
    EXPECT_EQ(polygon.InnerPoints.At(0)->Semantics, QStringLiteral("ОТА/Ф001"));

    // The code itself is text like any other; an empty old text finds nothing.
    Run("mcChangeSem=<0><0><0><1><0><ЛЭП><ЛЭ1>");
    EXPECT_EQ(Layer(0, 0).Lines.At(0)->Semantics, QStringLiteral("ЛЭ1/Ф001"));
    ExpectPlanKept(QStringLiteral("mcChangeSem=<0><-1><1><1><1><><Ф010>"));
    ExpectPlanKept(QStringLiteral("mcChangeSem=<0><-1><1><1><1><ф010><Ф020>"));   // case counts
    ExpectPlanKept(QStringLiteral("mcChangeSem=<0><-1><1><1><да><Ф001><Ф010>"),
                   QStringLiteral("'да' is not a valid integer value"));
    ExpectPlanKept(QStringLiteral("mcChangeSem=<0><-1><1><1><1><Ф001>"),
                   QStringLiteral("List index out of bounds (6)"));
}

// Both text commands choose sheets and layers alike: negative is every one, past the
// last is none.
TEST_F(BulkSelection, SheetAndLayerIndexesChooseAlikeForChangeAndDelete)
{
    struct Case {
        const char* where;   // sheet, layer
        QStringList changed;
    };
    const Case cases[] = {
        {"<-1><-1>", {"A.a", "A.b", "B.a", "B.b"}},
        {"<-5><1>", {"A.b", "B.b"}},
        {"<0><-1>", {"A.a", "A.b"}},
        {"<1><0>", {"B.a"}},
        {"<2><-1>", {}},
        {"<0><2>", {}},
    };
    const QStringList all = {"A.a", "A.b", "B.a", "B.b"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        Run(QStringLiteral("mcChangeSem=%1<1><1><1><x><y>").arg(QLatin1String(c.where)));
        QStringList expected;
        for (const QString& l : all)
            expected << l + (c.changed.contains(l) ? QStringLiteral(":y") : QStringLiteral(":x"));
        EXPECT_EQ(PointSems(), expected);
        Run("mcChangeSem=<-1><-1><1><1><1><y><x>");

        Window.Answers = {1};
        Window.Asked.clear();
        const QByteArray before = Native();
        Run(QStringLiteral("mcDelObjects=%1<1><1><1><x>").arg(QLatin1String(c.where)));
        expected.clear();
        for (const QString& l : all)
            if (!c.changed.contains(l))
                expected << l + QStringLiteral(":x");
        EXPECT_EQ(PointSems(), expected);
        EXPECT_EQ(Window.Asked.size(), c.changed.isEmpty() ? 0u : 1u);
        if (c.changed.isEmpty()) {
            EXPECT_EQ(Native(), before);
        }
        Window.Answers.clear();
        // Back to a point "x" on every layer.
        for (int page = 0; page < 2; ++page)
            for (int layer = 0; layer < 2; ++layer) {
                Layer(page, layer).Points.DeleteAll();
                Run(QStringLiteral("mcNewPoint=<%1><%2><x><0><0><2><0><><0><0>").arg(page).arg(layer));
            }
    }
}

// ---- mcDelObjects --------------------------------------------------------------------

TEST_F(BulkCommands, DelObjectsAsksWithTheFoundAndDeletesExactlyThose)
{
    Run({"mcNewLayer=<0><б>",
         "mcNewPoint=<0><0><ОТА/Ф001><1><2><2><0><><0><0>",
         "mcNewPoint=<0><0><ОТА/Ф001;Ф002><1><2><2><0><><0><0>",
         "mcNewPoint=<0><0><ДРВ/Ф001><1><2><2><0><><0><0>",
         "mcNewPoint=<0><0><ДРВ/Ф003><1><2><2><0><><0><0>",
         "mcNewPoint=<0><0><ОТА/Ф001><1><2><2><0><><0><0>",
         "mcNewLine=<0><1><ЛЭП/Ф001><><0><0><2><><>",
         "mcNewLine=<0><1><ЛЭП/Ф009><><0><0><2><><>",
         "mcNewPolygon=<0><1><ЗДН/Ф001><><2><><0><0><><-1>"});
    Layer(0, 1).Polygons.At(0)->InnerPoints.AddItem();
    Window.Answers = {1};
    Run("mcDelObjects=<0><-1><1><1><1><Ф001>");
    ASSERT_EQ(Window.Asked.size(), 1u);
    EXPECT_EQ(Window.Asked[0].Kind, QStringLiteral("QDelObjects"));
    EXPECT_EQ(Window.Asked[0].Text, QStringLiteral("ОТА/Ф001 [A-a]\n"
                                                   "ОТА/Ф001;Ф002 [A-a]\n"
                                                   "ДРВ/Ф001 [A-a]\n"
                                                   "ОТА/Ф001 [A-a]\n"
                                                   "ЛЭП/Ф001 [A-б]\n"
                                                   "ЗДН/Ф001 [A-б]"));
    // The first three in a row at the head of the list go, as does the last.
    EXPECT_EQ(Dump(), QStringLiteral("page A v1\n"
                                     " layer a v1\n"
                                     "  point ДРВ/Ф003 sign  work  (1 2) p2 a0 first0 leader0 picture 0\n"
                                     " layer б v1\n"
                                     "  line ЛЭП/Ф009 sign  over [] strip 0 0 p2 picture 0\n"));
    EXPECT_EQ(CommandLog->last(), QStringLiteral("mcDelObjects=<0><-1><1><1><1><Ф001>"));
}

TEST_F(BulkCommands, DelObjectsTakesOnlyTheChosenKindsAndAsksOnlyWhenItFinds)
{
    Run({"mcNewPoint=<0><0><ОТА/Ф001><1><2><2><0><><0><0>",
         "mcNewLine=<0><0><ЛЭП/Ф001><><0><0><2><><>",
         "mcNewPolygon=<0><0><ЗДН/Ф001><><2><><0><0><><-1>"});
    // Nothing of the chosen kinds holds the text: no question.
    ExpectPlanKept(QStringLiteral("mcDelObjects=<0><-1><1><1><1><Ф002>"));
    ExpectPlanKept(QStringLiteral("mcDelObjects=<0><-1><0><0><0><Ф001>"));
    ExpectPlanKept(QStringLiteral("mcDelObjects=<0><-1><1><1><1><>"));
    ExpectPlanKept(QStringLiteral("mcDelObjects=<0><-1><1><1><1>"),
                   QStringLiteral("List index out of bounds (5)"));
    Window.Answers = {1};
    Run("mcDelObjects=<0><-1><0><1><0><Ф001>");
    EXPECT_EQ(Layer(0, 0).Points.GetCount(), 1);
    EXPECT_EQ(Layer(0, 0).Lines.GetCount(), 0);
    EXPECT_EQ(Layer(0, 0).Polygons.GetCount(), 1);
}

TEST_F(BulkCommands, DeclinedQuestionDeletesNothing)
{
    Run({"mcNewPoint=<0><0><ОТА/Ф001><1><2><2><0><><0><0>",
         "mcNewPoint=<0><0><ОТА/Ф002><1><2><2><0><><0><0>"});
    const QString before = Dump();
    const QByteArray native = Native();
    for (int answer : {2, 0, 6}) {
        SCOPED_TRACE(answer);
        Window.Answers = {answer};
        Run("mcDelObjects=<-1><-1><1><1><1><ОТА>");
        EXPECT_EQ(Window.Asked.back().Kind, QStringLiteral("QDelObjects"));
        EXPECT_EQ(Dump(), before);
        EXPECT_EQ(Native(), native);
    }
}

// A plan without a window of its own asks through the shared question; with no window
// installed at all the answer is cancel and nothing goes.
TEST_F(BulkCommands, QuestionWithoutAWindowGoesThroughTheSharedHook)
{
    Run({"mcNewPoint=<0><0><ОТА/Ф001><1><2><2><0><><0><0>",
         "mcNewPoint=<0><0><ОТА/Ф002><1><2><2><0><><0><0>"});
    Plan().Services = nullptr;
    {
        const TScopedDialogHooks none;
        Run("mcDelObjects=<-1><-1><1><1><1><Ф001>");
        EXPECT_EQ(Layer(0, 0).Points.GetCount(), 2);
    }
    QStringList asked;
    TDialogHooks hooks;
    hooks.QDelObjects = [&](const QStringList& lines) {
        asked = lines;
        return mrOk;
    };
    const TScopedDialogHooks scope(hooks);
    Run("mcDelObjects=<-1><-1><1><1><1><Ф001>");
    EXPECT_EQ(asked, QStringList({"ОТА/Ф001 [A-a]"}));
    EXPECT_EQ(PointSems(), QStringList({"A.a:ОТА/Ф002"}));
}

// Deleting used to rename the found objects "DELETING" and then sweep every object so
// named: one that already bore the name went with them, and an error between the two
// steps left renamed objects behind.
TEST_F(BulkCommands, ObjectNamedLikeTheOldMarkerSurvives)
{
    Run({"mcNewPoint=<0><0><DELETING><1><2><2><0><><0><0>",
         "mcNewPoint=<0><0><ОТА/Ф001><1><2><2><0><><0><0>",
         "mcNewPoint=<0><0><DELETING><1><2><2><0><><0><0>"});
    Window.Answers = {1};
    Run("mcDelObjects=<-1><-1><1><1><1><Ф001>");
    EXPECT_EQ(PointSems(), QStringList({"A.a:DELETING", "A.a:DELETING"}));
}

// ---- mcChangeHinSem ------------------------------------------------------------------

class HeightShift : public BulkCommands {
protected:
    void SetUp() override
    {
        BulkCommands::SetUp();
        Semantics.emplace();
    }
    void TearDown() override
    {
        BulkCommands::TearDown();
        Semantics.reset();
    }
    std::optional<TSemServices> Semantics;
};

TEST_F(HeightShift, ChoosesPointsByTheirFirstNumberRoundedHalvesToEven)
{
    struct Case {
        const char* semantics;
        const char* after;   // null: unchanged
    };
    const Case cases[] = {
        {"ПКТ/ИН4,5;ИВ10", nullptr},          // 4
        {"ПКТ/ИН4,51;ИВ10", "ПКТ/ИН4,51;ИВ11,50"},
        {"ПКТ/ИН5;ИВ10", "ПКТ/ИН5;ИВ11,50"},
        {"ПКТ/ИН6,5;ИВ10;ИВ20", "ПКТ/ИН6,5;ИВ11,50;ИВ21,50"},   // 6
        {"ПКТ/ИН7;ИН3;ИВ10", "ПКТ/ИН7;ИН3;ИВ11,50"},
        {"ПКТ/ИН7,5;ИВ10", nullptr},          // 8
        {"ПКТ/ИН3;ИН6;ИВ10", nullptr},        // the first number counts
        {"ПКТ/ИВ10", nullptr},                // no number
        {"ОТА/ИН6;ИВ10", nullptr},            // another code
        {"ПК/ИН6;ИВ10", nullptr},
    };
    Run("mcNewPage=<B>");
    Run("mcNewLayer=<1><b>");
    for (const Case& c : cases)
        Run(QStringLiteral("mcNewPoint=<1><0><%1><1><2><2><0><><0><0>").arg(QString::fromUtf8(c.semantics)));
    Run("mcNewLine=<1><0><ПКТ/ИН6;ИВ10><><0><0><2><><>");
    Point(1, 0, 2).SignName = QStringLiteral("знак");

    Run("mcChangeHinSem=<ПКТ><5><7><1.5>");
    for (int i = 0; i < int(std::size(cases)); ++i) {
        SCOPED_TRACE(cases[i].semantics);
        const char* expected = cases[i].after ? cases[i].after : cases[i].semantics;
        EXPECT_EQ(Point(1, 0, i).Semantics, QString::fromUtf8(expected));
    }
    EXPECT_EQ(Layer(1, 0).Lines.At(0)->Semantics, QStringLiteral("ПКТ/ИН6;ИВ10"));
    EXPECT_EQ(Point(1, 0, 2).SignName, QStringLiteral("знак"));
    EXPECT_EQ(CommandLog->last(), QStringLiteral("mcChangeHinSem=<ПКТ><5><7><1.5>"));
    ExpectPlanKept(QStringLiteral("mcChangeHinSem=<ПКТ><5><7><много>"),
                   QStringLiteral("Некорректный вид вещественного числа в строковом формате"));
    ExpectPlanKept(QStringLiteral("mcChangeHinSem=<ПКТ><5><7,5><1>"),
                   QStringLiteral("'7,5' is not a valid integer value"));
}

// ---- ApplySynonyms -------------------------------------------------------------------

class Synonyms : public BulkCommands {
protected:
    void SetUp() override
    {
        BulkCommands::SetUp();
        CopyDataFolder(QStringLiteral("Семантика"), Folder());
        Semantics.emplace();
        Semantics->Open();
    }
    void TearDown() override
    {
        BulkCommands::TearDown();
        Semantics.reset();
    }
    std::optional<TSemServices> Semantics;
};

TEST_F(Synonyms, WorkNamesReplaceSemanticsOfEveryKindOutsideTheJournal)
{
    Run({"mcNewPoint=<0><0><ОТА/Ф001><1><2><2><0><><0><0>",
         "mcNewPoint=<0><0><ДРВ/Ф001><1><2><2><0><><0><0>",
         "mcNewLine=<0><0><ЛЭП/Ф001><><0><0><2><><>",
         "mcNewPolygon=<0><0><ЗДН/Ф001><><2><><0><0><><-1>"});
    RGLayer& layer = Layer(0, 0);
    layer.Points.At(0)->WorkName = QStringLiteral("ОТА/Ф002");
    layer.Points.At(0)->SignName = QStringLiteral("знак");
    layer.Points.At(1)->SignName = QStringLiteral("знак");
    layer.Lines.At(0)->WorkName = QStringLiteral("ЛЭП/Ф002");
    layer.Polygons.At(0)->WorkName = QStringLiteral("ЗДН/Ф002");
    const QString synonyms = Folder() + QStringLiteral("Семантика/ПОЛСИН.wri");
    QFile(synonyms).remove();
    const QStringList journal = *CommandLog;

    Plan().ApplySynonyms();
    EXPECT_EQ(layer.Points.At(0)->Semantics, QStringLiteral("ОТА/Ф002"));
    EXPECT_EQ(layer.Points.At(0)->SignName, QString());
    EXPECT_EQ(layer.Points.At(1)->Semantics, QStringLiteral("ДРВ/Ф001"));
    EXPECT_EQ(layer.Points.At(1)->SignName, QStringLiteral("знак"));
    EXPECT_EQ(layer.Lines.At(0)->Semantics, QStringLiteral("ЛЭП/Ф002"));
    EXPECT_EQ(layer.Polygons.At(0)->Semantics, QStringLiteral("ЗДН/Ф002"));
    EXPECT_EQ(*CommandLog, journal);
    // The synonyms were written back, under the name a new file takes.
    EXPECT_TRUE(QFileInfo::exists(Folder() + QStringLiteral("Семантика/ПОЛСин.wri")));
}

TEST_F(BulkCommands, ApplySynonymsNeedsTheClassifier)
{
    Run("mcNewPoint=<0><0><ОТА/Ф001><1><2><2><0><><0><0>");
    Point(0, 0, 0).WorkName = QStringLiteral("ОТА/Ф002");
    EXPECT_EQ(RaisedBy([&] { Plan().ApplySynonyms(); }),
              QStringLiteral("Классификатор семантики не создан"));
    EXPECT_EQ(Point(0, 0, 0).Semantics, QStringLiteral("ОТА/Ф001"));
}
