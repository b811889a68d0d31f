// The plan document: construction from the reference folder, the lookups with the
// cursors they leave, the predicates, the layer rule files and the missing-sign list.
#include "PlanBuilders.h"

#include "foundation/ErrorTrail.h"
#include "platform/CodePage.h"
#include "semantics/codec/SemServices.h"
#include "semantics/signs/Symbols.h"

namespace {

using namespace testplan;

void AddRastrs(RGPage& page, int count)
{
    for (int i = 0; i < count; ++i)
        page.Rastrs.AddItem();
}

class GeoMapTest : public EngineFixture {
protected:
    // Sheets "Лист 1" (layers "Здания", "Рельеф" hidden), "Лист 2" (no layers, three
    // rasters), "Лист 1а" hidden (layer "Здания", one raster); the cursor on the last.
    void BuildSheets()
    {
        TGeoMap& m = Plan();
        RGPage& first = AddPage(m, QStringLiteral("Лист 1"));
        AddLayer(first, QStringLiteral("Здания"));
        AddLayer(first, QStringLiteral("Рельеф"), 0);
        RGPage& second = AddPage(m, QStringLiteral("Лист 2"));
        AddRastrs(second, 3);
        RGPage& third = AddPage(m, QStringLiteral("Лист 1а"), 0);
        AddLayer(third, QStringLiteral("Здания"));
        AddRastrs(third, 1);
    }
};

}  // namespace

TEST_F(GeoMapTest, FreshPlanReadsTheReferenceFolderAndStartsEmpty)
{
    TGeoMap& m = Plan();
    EXPECT_EQ(m.UserVectorColour, 255);
    EXPECT_EQ(m.UndoOn, 0);
    EXPECT_EQ(m.NoJournal, 0);
    EXPECT_EQ(m.Modified, 0);
    EXPECT_EQ(m.MapProp.Scale, 0);
    EXPECT_EQ(m.GetPagesCount(), 0);
    EXPECT_EQ(m.HighlightRising, 1);
    EXPECT_EQ(m.Symbols->GetScale(), 0);
    EXPECT_EQ(m.LayerNames.first(), QStringLiteral("Общий"));
    EXPECT_TRUE(m.LayerNames.contains(QStringLiteral("Надписи")));
    EXPECT_EQ(m.CaptionLayerName, QStringLiteral("Надписи"));
    ASSERT_GT(m.LayerRules.GetCount(), 0);
    // Every rule names a layer of the layer-name list.
    for (const auto& rule : m.LayerRules)
        EXPECT_TRUE(m.LayerNames.contains(rule->LayerName)) << rule->LayerName.toStdString();
}

TEST_F(GeoMapTest, AMissingReferenceFileStopsConstruction)
{
    struct Case {
        const char* file;
        const char* message;   // "" : the file error, whose text names the path
    };
    const Case cases[] = {
        {"Слои/Слои.wri", ""},
        {"Слои/Выбор слоя.wri", "Не найден файл  Выбор слоя.wri"},
        {"Слои/слой надписей.wri", "Не найден файл  слой надписей.wri"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        CopyDataFolder(QStringLiteral("Слои"), Folder());
        ASSERT_TRUE(QFile::remove(Path(QString::fromUtf8(c.file))));
        ErrorInfo->clear();
        const QString message = RaisedBy([] { TGeoMap m; });
        if (*c.message)
            EXPECT_EQ(message, QString::fromUtf8(c.message));
        else
            EXPECT_TRUE(message.contains(QStringLiteral("Слои.wri"))) << message.toStdString();
        ASSERT_GE(ErrorInfo->size(), 2);
        EXPECT_EQ(ErrorInfo->at(ErrorInfo->size() - 2), QStringLiteral("Module name: GeoMap"));
        EXPECT_EQ(ErrorInfo->last(), QStringLiteral("Constructor: TGeoMap.Create;"));
    }
}

TEST_F(GeoMapTest, RuleRecordsAreFoundAmongOtherLines)
{
    // Comment lines before, between and after records; the two lines after a "*" are
    // taken whatever they hold; a "*" at the very end starts no rule.
    WriteBytes(Path(QStringLiteral("Слои/Выбор слоя.wri")),
               Cp1251Lines({"Правила выбора слоя", "*", "ЗДН/Ф001", "Здания", "примечание",
                            "", "*", "*", "Странный", "*", "ОТА", "", "хвост", "*", "ПКТ"}));
    WriteBytes(Path(QStringLiteral("Слои/слой надписей.wri")), Cp1251Lines({"Подписи", "Другое"}));
    TGeoMap& m = Plan();
    ASSERT_EQ(m.LayerRules.GetCount(), 3);
    const QStringList expected[] = {{"ЗДН/Ф001", "Здания"}, {"*", "Странный"}, {"ОТА", ""}};
    int i = 0;
    for (const auto& rule : m.LayerRules) {
        EXPECT_EQ(rule->Semantics, expected[i][0]);
        EXPECT_EQ(rule->LayerName, expected[i][1]);
        ++i;
    }
    EXPECT_EQ(m.CaptionLayerName, QStringLiteral("Подписи"));
}

TEST_F(GeoMapTest, SavedRulesAreSortedAndStandard)
{
    CopyDataFolder(QStringLiteral("Семантика"), Folder());
    TSemServices semantics;
    semantics.Open();
    TGeoMap& m = Plan();
    m.LayerRules.DeleteAll();
    const char* const rules[][2] = {
        {"ТОЧ/Ф500;ИВ12.50", "Точки"},
        {"ГОР/Ф011;ИВ150", "Рельеф"},
        {"ОФО/К110", "Оформление"},
        {"гор/Ф011", "Прочее"},      // letter case does not order
        {"ОТА/ИВ123.46", "Рельеф"},
    };
    for (const auto& r : rules) {
        m.LayerRules.AddItem();
        m.LayerRules.Item->Semantics = QString::fromUtf8(r[0]);
        m.LayerRules.Item->LayerName = QString::fromUtf8(r[1]);
    }
    m.SaveDefLayerForObjects();
    EXPECT_EQ(FileBytes(Path(QStringLiteral("Слои/Выбор слоя.wri"))),
              Cp1251Lines({"*", "ГОР/Ф011", "Рельеф", "*", "гор/Ф011", "Прочее", "*", "ОТА",
                           "Рельеф", "*", "ОФО/К110", "Оформление", "*", "ТОЧ/Ф500", "Точки"}));
    // The file reads back in its sorted order.
    m.LoadDefLayerForObjects();
    ASSERT_EQ(m.LayerRules.GetCount(), 5);
    m.LayerRules.GoFirstItem();
    EXPECT_EQ(m.LayerRules.Item->Semantics, QStringLiteral("ГОР/Ф011"));
    m.LayerRules.GoLastItem();
    EXPECT_EQ(m.LayerRules.Item->LayerName, QStringLiteral("Точки"));
}

TEST_F(GeoMapTest, ShippedRuleFileIsInTheOrderASaveWrites)
{
    CopyDataFolder(QStringLiteral("Семантика"), Folder());
    TSemServices semantics;
    semantics.Open();
    const QString path = Path(QStringLiteral("Слои/Выбор слоя.wri"));
    const QByteArray shipped = FileBytes(path);
    TGeoMap& m = Plan();
    m.SaveDefLayerForObjects();
    EXPECT_EQ(FileBytes(path), shipped);
    // Every object of the classifier's work lists finds a layer by the rules.
    for (const auto& works : semantics.Codec.SemWorks) {
        ASSERT_GT(works.GetCount(), 0);
        for (const auto& work : works) {
            const QString code = work->Semantics.left(3);
            bool found = false;
            for (const auto& rule : m.LayerRules)
                found = found || rule->Semantics.left(3) == code;
            EXPECT_TRUE(found) << work->Semantics.toStdString();
        }
    }
}

// Guards against a save that fails half-way: the rule file is the user's, so a rule
// that cannot be written (a character code page 1251 lacks, no classifier to reduce
// the semantics) must raise and leave the file exactly as it was.
TEST_F(GeoMapTest, RuleFileThatCannotBeWrittenStaysAsItWas)
{
    CopyDataFolder(QStringLiteral("Семантика"), Folder());
    const QString path = Path(QStringLiteral("Слои/Выбор слоя.wri"));
    const QByteArray shipped = FileBytes(path);
    TGeoMap& m = Plan();
    m.LayerRules.AddItem();
    m.LayerRules.Item->Semantics = QStringLiteral("ЗДН/Ф001");
    m.LayerRules.Item->LayerName = QStringLiteral("Здания \u2713");
    for (bool classifier : {true, false}) {
        SCOPED_TRACE(classifier);
        std::optional<TSemServices> semantics;
        if (classifier) {
            semantics.emplace();
            semantics->Open();
        }
        const QString message = RaisedBy([&] { m.SaveDefLayerForObjects(); });
        EXPECT_FALSE(message.isEmpty());
        if (classifier) {
            EXPECT_TRUE(message.contains(QStringLiteral("1251"))) << message.toStdString();
        }
        EXPECT_EQ(FileBytes(path), shipped);
    }
}

TEST_F(GeoMapTest, EmptyRuleListWritesAnEmptyFile)
{
    TGeoMap& m = Plan();
    m.LayerRules.DeleteAll();
    m.SaveDefLayerForObjects();
    EXPECT_TRUE(FileBytes(Path(QStringLiteral("Слои/Выбор слоя.wri"))).isEmpty());
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("Слои/Выбор слоя.wri"))));
}

TEST_F(GeoMapTest, SheetLookupsLeaveTheCursorWhereTheSearchStopped)
{
    BuildSheets();
    TGeoMap& m = Plan();
    struct Case {
        const char* name;
        int index;      // expected result
        int cursor;     // sheet current afterwards
    };
    const Case cases[] = {
        {"Лист 2", 1, 1},
        {"Лист 1", 0, 0},
        {"лист 2", -1, 2},    // letter case counts; a miss ends on the last sheet
        {"Лист", -1, 2},
        {"Лист 1а", 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QString::fromUtf8(c.name);
        m.Pages.GoItem(1);
        EXPECT_EQ(m.IndexOfPage(name), c.index);
        EXPECT_EQ(m.GetCurrentPage(), c.cursor);

        m.Pages.GoItem(0);
        int index = 99;
        m.GetPageIndex(name, index);
        EXPECT_EQ(index, c.index);
        EXPECT_EQ(m.GetCurrentPage(), c.cursor);

        m.Pages.GoItem(1);
        std::uint8_t visible = 7;
        m.GetPagePropByName(name, index, visible);
        EXPECT_EQ(index, c.index);
        EXPECT_EQ(visible, c.index < 0 ? 0 : (c.index == 2 ? 0 : 1));
        EXPECT_EQ(m.GetCurrentPage(), c.cursor);

        m.Pages.GoItem(0);
        EXPECT_EQ(m.PageExists(name), c.index >= 0);
        EXPECT_EQ(m.GetCurrentPage(), c.cursor);
    }
}

TEST_F(GeoMapTest, PageExistsOnAnEmptyPlanIsFalse)
{
    TGeoMap& m = Plan();
    EXPECT_FALSE(m.PageExists(QString()));
    EXPECT_EQ(m.GetCurrentPage(), -1);
    int index = 5;
    std::uint8_t visible = 5;
    m.GetPagePropByName(QStringLiteral("x"), index, visible);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(visible, 0);
}

TEST_F(GeoMapTest, PagePropOutOfRangeReportsTheCurrentSheet)
{
    BuildSheets();
    TGeoMap& m = Plan();
    for (int index : {-1, 3, 100}) {
        m.Pages.GoItem(2);
        QString name;
        std::uint8_t visible = 9;
        m.GetPageProp(index, name, visible);
        EXPECT_EQ(name, QStringLiteral("Лист 1а"));
        EXPECT_EQ(visible, 0);
        EXPECT_EQ(m.GetCurrentPage(), 2);
    }
    QString name;
    std::uint8_t visible = 0;
    m.GetPageProp(0, name, visible);
    EXPECT_EQ(name, QStringLiteral("Лист 1"));
    EXPECT_EQ(visible, 1);
    EXPECT_EQ(m.GetCurrentPage(), 0);
}

TEST_F(GeoMapTest, FindPagesCollectsEveryMatchInOrder)
{
    BuildSheets();
    TGeoMap& m = Plan();
    TArrayIntegers indexes{7};
    QStringList names{QStringLiteral("old")};
    EXPECT_FALSE(m.FindPages(QStringLiteral("Карта"), indexes, names));
    EXPECT_TRUE(indexes.empty());
    EXPECT_TRUE(names.isEmpty());
    m.Pages.GoItem(0);
    EXPECT_TRUE(m.FindPages(QStringLiteral("Лист"), indexes, names));
    EXPECT_EQ(indexes, (TArrayIntegers{0, 1, 2}));
    EXPECT_EQ(names, (QStringList{"Лист 1", "Лист 2", "Лист 1а"}));
    EXPECT_EQ(m.GetCurrentPage(), 2);
    EXPECT_TRUE(m.FindPages(QStringLiteral("1"), indexes, names));
    EXPECT_EQ(indexes, (TArrayIntegers{0, 2}));
    EXPECT_FALSE(m.FindPages(QStringLiteral("лист"), indexes, names));
}

TEST_F(GeoMapTest, LayerLookupsMoveToTheSheetAndLeaveTheLayerCursor)
{
    BuildSheets();
    TGeoMap& m = Plan();
    struct Case {
        int page;
        const char* name;
        int index;
        int pageAfter;    // current sheet afterwards
        int layerAfter;   // current layer of that sheet afterwards
    };
    const Case cases[] = {
        {0, "Рельеф", 1, 0, 1},
        {0, "Здания", 0, 0, 0},
        {0, "Дороги", -1, 0, 1},    // a miss ends on the last layer
        {1, "Здания", -1, 1, -1},   // a sheet without layers
        {2, "Здания", 0, 2, 0},
        {5, "Здания", -1, 2, 0},    // no such sheet: the cursor stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QString::fromUtf8(c.name);
        m.Pages.GoItem(2);
        m.Pages.At(0)->Layers.GoItem(0);
        int index = 99;
        m.GetLayerIndex(c.page, name, index);
        EXPECT_EQ(index, c.index);
        EXPECT_EQ(m.GetCurrentPage(), c.pageAfter);
        EXPECT_EQ(m.GetCurrentLayer(), c.layerAfter);

        m.Pages.GoItem(2);
        m.Pages.At(0)->Layers.GoItem(0);
        EXPECT_EQ(m.LayerExists(c.page, name), c.index >= 0);
        EXPECT_EQ(m.GetCurrentPage(), c.pageAfter);
        EXPECT_EQ(m.GetCurrentLayer(), c.layerAfter);

        if (c.page < m.GetPagesCount()) {
            m.Pages.GoItem(c.page);
            m.Pages.At(0)->Layers.GoItem(0);
            EXPECT_EQ(m.GetLayerIndexInCurrentPage(name), c.index);
            EXPECT_EQ(m.GetCurrentLayer(), c.layerAfter);
            m.Pages.At(0)->Layers.GoItem(0);
            EXPECT_EQ(m.LayerExistsInCurrentPage(name), c.index >= 0);
            EXPECT_EQ(m.GetCurrentLayer(), c.layerAfter);
        }
    }
}

TEST_F(GeoMapTest, LayerPropOutOfRangeShowsTheRangeAndSetsNothing)
{
    BuildSheets();
    TGeoMap& m = Plan();
    QString name = QStringLiteral("unchanged");
    std::uint8_t visible = 9;
    m.GetLayerProp(0, 2, name, visible);
    ASSERT_EQ(Window.Asked.size(), 1u);
    EXPECT_EQ(Window.Asked[0].Kind, QStringLiteral("ShowMsg"));
    EXPECT_EQ(Window.Asked[0].Caption, QStringLiteral("Номер запрошенного слоя вне диапазона!"));
    EXPECT_EQ(Window.Asked[0].Text, QStringLiteral("Диапазон слоев для текущей страницы 0-2"));
    EXPECT_EQ(name, QStringLiteral("unchanged"));
    EXPECT_EQ(visible, 9);
    EXPECT_EQ(m.GetCurrentPage(), 0);

    m.GetLayerProp(0, 1, name, visible);
    EXPECT_EQ(name, QStringLiteral("Рельеф"));
    EXPECT_EQ(visible, 0);
    EXPECT_EQ(m.GetCurrentLayer(), 1);

    // A missing sheet or one without layers returns silently.
    m.GetLayerProp(7, 0, name, visible);
    m.GetLayerProp(1, 0, name, visible);
    EXPECT_EQ(Window.Asked.size(), 1u);
    EXPECT_EQ(name, QStringLiteral("Рельеф"));
    EXPECT_EQ(m.GetCurrentPage(), 1);
}

TEST_F(GeoMapTest, RasterLookups)
{
    BuildSheets();
    TGeoMap& m = Plan();
    EXPECT_EQ(m.SelectPageLastRastr(1), 2);
    EXPECT_EQ(m.GetCurrentPage(), 1);
    EXPECT_EQ(m.GetCurrentRastr(), 2);
    EXPECT_EQ(m.SelectPageLastRastr(0), -1);
    EXPECT_EQ(m.GetCurrentPage(), 0);
    EXPECT_EQ(m.SelectPageLastRastr(9), -1);
    EXPECT_EQ(m.GetCurrentPage(), 0);

    EXPECT_TRUE(m.SelectRastr(1, 0));
    EXPECT_EQ(m.GetCurrentRastr(), 0);
    EXPECT_FALSE(m.SelectRastr(1, 3));
    EXPECT_EQ(m.GetCurrentRastr(), 0);
    EXPECT_FALSE(m.SelectRastr(0, 0));

    m.Pages.GoItem(2);
    EXPECT_TRUE(m.HasRastrs());
    EXPECT_EQ(m.GetCurrentPage(), 1);   // stops on the first sheet with a raster
    m.Pages.At(1)->Rastrs.DeleteAll();
    m.Pages.At(2)->Rastrs.DeleteAll();
    m.Pages.GoItem(0);
    EXPECT_FALSE(m.HasRastrs());
    EXPECT_EQ(m.GetCurrentPage(), 2);
}

TEST_F(GeoMapTest, PredicatesFollowTheCursorsDownAndMoveNone)
{
    TGeoMap& m = Plan();
    EXPECT_FALSE(m.HasCurrentPage());
    EXPECT_FALSE(m.HasCurrentPolygonLineNode());
    RGPage& page = AddPage(m, QStringLiteral("Лист"));
    EXPECT_TRUE(m.HasCurrentPage());
    EXPECT_FALSE(m.HasCurrentLayer());
    EXPECT_FALSE(m.HasCurrentRastr());
    RGLayer& layer = AddLayer(page, QStringLiteral("Слой"));
    EXPECT_TRUE(m.HasCurrentLayer());

    layer.Texts.AddItem();
    EXPECT_TRUE(m.HasCurrentText());
    EXPECT_FALSE(m.HasCurrentTextOwnStyle());   // a text without its own style
    layer.Texts.Item->OwnStyle = std::make_unique<TUserStyle>();
    EXPECT_TRUE(m.HasCurrentTextOwnStyle());

    layer.Lines.AddItem();
    RGLine& line = *layer.Lines.Item;
    EXPECT_TRUE(m.HasCurrentLine());
    EXPECT_FALSE(m.HasCurrentLineNode());
    line.Nodes.AddItem();
    EXPECT_FALSE(m.HasCurrentLineNodePoint());
    line.Nodes.Item->NodePoints.AddItem();
    EXPECT_TRUE(m.HasCurrentLineNodePoint());
    EXPECT_FALSE(m.HasCurrentLineNodePointUserText());
    line.Nodes.Item->NodePoints.Item->UserTexts.AddItem();
    EXPECT_TRUE(m.HasCurrentLineNodePointUserText());

    layer.Polygons.AddItem();
    RGPolygon& polygon = *layer.Polygons.Item;
    EXPECT_FALSE(m.HasCurrentIntrPolygon());
    polygon.Holes.AddItem();
    EXPECT_TRUE(m.HasCurrentIntrPolygon());
    EXPECT_FALSE(m.HasCurrentIntrPolygonNode());
    polygon.Holes.Item->Nodes.AddItem();
    EXPECT_TRUE(m.HasCurrentIntrPolygonNode());
    polygon.InnerLines.AddItem();
    polygon.InnerLines.Item->Nodes.AddItem();
    EXPECT_TRUE(m.HasCurrentPolygonLineNode());
    EXPECT_FALSE(m.HasCurrentPolygonLineUserText());
    EXPECT_FALSE(m.HasCurrentPolygonPoint());
    EXPECT_FALSE(m.HasCurrentPointText());

    // Emptying an upper list hides everything below it.
    layer.Polygons.DeleteAll();
    EXPECT_FALSE(m.HasCurrentPolygon());
    EXPECT_FALSE(m.HasCurrentIntrPolygonNode());
    EXPECT_TRUE(m.HasCurrentLineNodePointUserText());
}

TEST_F(GeoMapTest, ScaleGoesToTheSignLibrary)
{
    TGeoMap& m = Plan();
    m.MapProp.Scale = 1000;
    m.PassScaleToSymbols();
    EXPECT_EQ(m.Symbols->GetScale(), 1000);
    std::int32_t scale = 0;
    m.GetScale(scale);
    EXPECT_EQ(scale, 1000);
}

TEST_F(GeoMapTest, MissingSignListIsWrittenIntoTheScaleFolder)
{
    TGeoMap& m = Plan();
    m.Symbols->UnknownSymbols = QStringList{"ЗДН/Ф001;", "ОГР/"};
    m.SaveUnknownSymbols();   // scale 0: nothing
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("Условные знаки"))));
    m.MapProp.Scale = 2000;
    m.PassScaleToSymbols();
    m.SaveUnknownSymbols();
    EXPECT_EQ(FileBytes(Path(QStringLiteral("Условные знаки/2000/неизвестные знаки.wri"))),
              Cp1251Lines({"ЗДН/Ф001;", "ОГР/"}));
}
