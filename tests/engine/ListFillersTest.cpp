// The list fillers and property getters the windows read the plan through: the exact
// lines, the visibility rules, the invalid positions, and the cursors each leaves.
#include "PlanBuilders.h"

#include "foundation/GeoDataObjectsPicture.h"
#include "foundation/ServDialogs.h"
#include "semantics/codec/SemServices.h"
#include "semantics/signs/Symbols.h"

#include <tuple>

namespace {

using namespace testplan;

RGPoint& AddPoint(RGLayer& layer, const char* sem, Extended x, Extended y)
{
    layer.Points.AddItem();
    layer.Points.Item->Semantics = QString::fromUtf8(sem);
    layer.Points.Item->Position = GeoPoint(x, y);
    return *layer.Points.Item;
}

RGLine& AddLine(RGLayer& layer, const char* sem, int nodes)
{
    layer.Lines.AddItem();
    RGLine& line = *layer.Lines.Item;
    line.Semantics = QString::fromUtf8(sem);
    for (int i = 0; i < nodes; ++i) {
        line.Nodes.AddItem();
        line.Nodes.Item->Position = GeoPoint(i, 2 * i);
    }
    return line;
}

RGPolygon& AddPolygon(RGLayer& layer, const char* sem, int nodes, int holes)
{
    layer.Polygons.AddItem();
    RGPolygon& polygon = *layer.Polygons.Item;
    polygon.Semantics = QString::fromUtf8(sem);
    for (int i = 0; i < nodes; ++i) {
        polygon.Nodes.AddItem();
        polygon.Nodes.Item->Position = GeoPoint(i, i * i);
    }
    for (int h = 0; h < holes; ++h) {
        polygon.Holes.AddItem();
        for (int i = 0; i < 3; ++i) {
            polygon.Holes.Item->Nodes.AddItem();
            polygon.Holes.Item->Nodes.Item->Position = GeoPoint(h, i);
        }
    }
    return polygon;
}

RGText& AddText(RGLayer& layer, const QString& text, Extended x, Extended y, TWinAngle angle)
{
    layer.Texts.AddItem();
    RGText& t = *layer.Texts.Item;
    t.Text = text;
    t.Position = GeoPoint(x, y);
    t.Angle = angle;
    return t;
}

struct RCursors {
    int Page, Layer, Text, Point, Line, Polygon, Rastr;
    bool operator==(const RCursors&) const = default;
};

std::ostream& operator<<(std::ostream& os, const RCursors& c)
{
    return os << "page " << c.Page << " layer " << c.Layer << " text " << c.Text << " point "
              << c.Point << " line " << c.Line << " polygon " << c.Polygon << " raster " << c.Rastr;
}

class ListFillersTest : public ClassifierFixture {
protected:
    QString Readable(int lm, const char* sem) const
    {
        QString text;
        DecodeSem(lm, QString::fromUtf8(sem), text);
        return text;
    }

    // "Склад": 2 rasters, layers "Здания" (3 points, 2 texts), "Рельеф" (2 lines,
    // 1 polygon), "Сад" hidden (2 polygons): 10 objects. "Архив" hidden: layer "Здания".
    // "Двор": layers "Здания", "Пусто".
    void BuildPlan()
    {
        TGeoMap& m = Plan();
        RGPage& store = AddPage(m, QStringLiteral("Склад"));
        store.Rastrs.AddItem();
        store.Rastrs.AddItem();
        RGLayer& houses = AddLayer(store, QStringLiteral("Здания"));
        AddPoint(houses, "ТОЧ", 100, 200);
        AddPoint(houses, "ТОЧ/Ф010", 101.5, 202.25);
        AddPoint(houses, "ТОЧ", 102, 204);
        AddText(houses, QStringLiteral("Склад №1"), 10, 20, 900);
        AddText(houses, QStringLiteral("ул"), 11.5, -3, 0);
        RGLayer& relief = AddLayer(store, QStringLiteral("Рельеф"));
        AddLine(relief, "ГОР/Ф011", 3);
        AddLine(relief, "ГОР/Ф021", 12);
        AddPolygon(relief, "ЗДН/Ф001;К012;Н003", 4, 2);
        RGLayer& garden = AddLayer(store, QStringLiteral("Сад"), 0);
        AddPolygon(garden, "ЗДН/Ф001;К012;Н003", 3, 0);
        AddPolygon(garden, "ЗДН/Ф001;К012;Н003", 3, 0);
        RGPage& archive = AddPage(m, QStringLiteral("Архив"), 0);
        AddLayer(archive, QStringLiteral("Архивный"));
        RGPage& yard = AddPage(m, QStringLiteral("Двор"));
        AddLayer(yard, QStringLiteral("Здания"));
        AddLayer(yard, QStringLiteral("Пусто"));
    }

    // Every cursor down the current sheet and layer.
    RCursors Cursors() const
    {
        RCursors c{-1, -1, -1, -1, -1, -1, -1};
        const TGeoMap& m = *Map;
        c.Page = m.Pages.GetIndex();
        if (!m.Pages.Item)
            return c;
        c.Rastr = m.Pages.Item->Rastrs.GetIndex();
        c.Layer = m.Pages.Item->Layers.GetIndex();
        if (const RGLayer* l = m.Pages.Item->Layers.Item) {
            c.Text = l->Texts.GetIndex();
            c.Point = l->Points.GetIndex();
            c.Line = l->Lines.GetIndex();
            c.Polygon = l->Polygons.GetIndex();
        }
        return c;
    }

    // Every list of the plan back on its first item.
    void ResetCursors()
    {
        TGeoMap& m = Plan();
        for (const auto& page : m.Pages) {
            page->Rastrs.GoFirstItem();
            page->Layers.GoFirstItem();
            for (const auto& layer : page->Layers) {
                layer->Texts.GoFirstItem();
                layer->Points.GoFirstItem();
                layer->Lines.GoFirstItem();
                layer->Polygons.GoFirstItem();
            }
        }
        m.Pages.GoFirstItem();
    }

    TSeparatorScope Separator{QLatin1Char('.')};
};

}  // namespace

TEST_F(ListFillersTest, SheetLineIsPaddedAndCasedByVisibility)
{
    TGeoMap& m = Plan();
    BuildPlan();
    m.Pages.GoItem(2);
    m.Pages.DeleteItem();
    m.Pages.GoItem(1);
    m.Pages.DeleteItem();
    const QString visible = QStringLiteral(
        "0    СКЛАД  видимый ( растров:    2; слоев:    3; объектов:   10 )");
    QStringList lines{QStringLiteral("old")};
    m.GetPagesToListBox(lines);
    EXPECT_EQ(lines, QStringList{visible});
    m.GetPagesToTextListBox(lines);
    EXPECT_EQ(lines, QStringList{visible});

    m.Pages.Item->Visible = 0;
    m.GetPagesToListBox(lines);
    EXPECT_EQ(lines, QStringList{QStringLiteral(
                         "0    склад  скрытый ( растров:    2; слоев:    3; объектов:   10 )")});
}

TEST_F(ListFillersTest, SheetFillersListEverySheetOrTheVisibleOnes)
{
    TGeoMap& m = Plan();
    BuildPlan();
    QStringList lines;
    m.GetPagesToListBox(lines);
    EXPECT_EQ(lines, (QStringList{
        QStringLiteral("0    СКЛАД  видимый ( растров:    2; слоев:    3; объектов:   10 )"),
        QStringLiteral("1    архив  скрытый ( растров:    0; слоев:    1; объектов:    0 )"),
        QStringLiteral("2    ДВОР   видимый ( растров:    0; слоев:    2; объектов:    0 )")}));
    m.GetPagesToCheckListBox(lines);
    EXPECT_EQ(lines, (QStringList{QStringLiteral("Склад"), QStringLiteral("Архив"),
                                  QStringLiteral("Двор")}));
    m.PagesToComboBox(lines);
    EXPECT_EQ(lines, (QStringList{
        QStringLiteral("Склад ( видимый; растров:2; слоев:3; объектов:10)"),
        QStringLiteral("Архив ( скрытый; растров:0; слоев:1; объектов:0)"),
        QStringLiteral("Двор ( видимый; растров:0; слоев:2; объектов:0)")}));
    m.PagesToComboBox2(lines);
    EXPECT_EQ(lines, (QStringList{QStringLiteral("Склад"), QStringLiteral("Двор")}));
}

TEST_F(ListFillersTest, LayerNamesComeOnceAndOnlyFromVisibleSheetsAndLayers)
{
    TGeoMap& m = Plan();
    BuildPlan();
    QStringList lines;
    m.GetLayersNamesToCheckListBox(lines);
    // "Здания" twice among visible sheets, "Сад" hidden, "Архивный" on a hidden sheet.
    EXPECT_EQ(lines, (QStringList{QStringLiteral("Здания"), QStringLiteral("Рельеф"),
                                  QStringLiteral("Пусто")}));
}

TEST_F(ListFillersTest, LayerFillersOfASheet)
{
    TGeoMap& m = Plan();
    BuildPlan();
    QStringList lines;
    m.GetLayersToListBox2(0, lines);
    EXPECT_EQ(lines, (QStringList{
        QStringLiteral("0  ЗДАНИЯ  ( видимый; объектов: текстовых   2, точечных   3, линейных   0, площадных   0  )"),
        QStringLiteral("1  РЕЛЬЕФ  ( видимый; объектов: текстовых   0, точечных   0, линейных   2, площадных   1  )"),
        QStringLiteral("2  сад     ( скрытый; объектов: текстовых   0, точечных   0, линейных   0, площадных   2  )")}));
    m.GetLayersToComboBox(0, lines);
    EXPECT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[2], QStringLiteral(
        "сад   ( скрытый;  объектов: текстовых 0, точечных 0, линейных 0, площадных 2)"));
    m.GetLayersToComboBox2(0, lines);
    EXPECT_EQ(lines, (QStringList{QStringLiteral("Здания"), QStringLiteral("Рельеф")}));
}

TEST_F(ListFillersTest, RasterLineTellsFileStateAndFilter)
{
    TGeoMap& m = Plan();
    RGPage& page = AddPage(m, QStringLiteral("Лист"));
    const QString present = Path(QStringLiteral("Подложка.bmp"));
    WriteBytes(present, QByteArray("BM"));
    page.Rastrs.AddItem();
    page.Rastrs.Item->FileName = present;
    page.Rastrs.Item->Brightness = 100;
    page.Rastrs.Item->Red = 90;
    page.Rastrs.Item->Green = 80;
    page.Rastrs.Item->Blue = 70;
    page.Rastrs.AddItem();
    page.Rastrs.Item->FileName = QStringLiteral("/нет/Скан.jpg");
    page.Rastrs.Item->Visible = 0;
    page.Rastrs.Item->FilterOn = 1;
    QStringList lines;
    m.GetRastrsToListBox(0, lines);
    EXPECT_EQ(lines, (QStringList{
        QStringLiteral("0 ") + present.toUpper() +
            QStringLiteral("   ( найден;видимый; не загружен;фильтр выключен;L100;R90;G80;B70;)"),
        QStringLiteral("1 /нет/скан.jpg   ( не найден;скрытый; не загружен;фильтр включен;L0;R0;G0;B0;)")}));
}

TEST_F(ListFillersTest, TextLinesShowPlanAngleAndStyle)
{
    TGeoMap& m = Plan();
    BuildPlan();
    RGText& own = *m.Pages.At(0)->Layers.At(0)->Texts.At(1);
    own.OwnStyle = std::make_unique<TUserStyle>();
    own.OwnStyle->FontName = QStringLiteral("Liberation Sans");
    own.OwnStyle->Color = 255;
    own.OwnStyle->Size = 2.5L;
    own.OwnStyle->FontStyle = fsBoldBit | fsUnderlineBit;
    m.Pages.At(0)->Layers.At(0)->Texts.At(0)->StyleName = QStringLiteral(">НАДПИСИ");
    QStringList lines;
    m.GetTextsToListBox(0, 0, lines);
    EXPECT_EQ(lines, (QStringList{
        QStringLiteral("0    Склад №1 (   10.00,   20.00) / 0.00  стиль >НАДПИСИ"),
        QStringLiteral("1    ул       (   11.50,   -3.00) /90.00  шрифт Liberation Sans 255 2.50 1010")}));
}

TEST_F(ListFillersTest, RealsTakeTheSystemDecimalSeparator)
{
    TGeoMap& m = Plan();
    BuildPlan();
    RGText& own = *m.Pages.At(0)->Layers.At(0)->Texts.At(1);
    own.OwnStyle = std::make_unique<TUserStyle>();
    own.OwnStyle->FontName = QStringLiteral("Liberation Sans");
    own.OwnStyle->Size = 2.5L;
    const TSeparatorScope comma{QLatin1Char(',')};
    QStringList lines;
    m.GetTextsToListBox(0, 0, lines);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1], QStringLiteral("1    ул       (   11,50,   -3,00) /90,00  шрифт Liberation Sans 0 2,50 0000"));
    m.GetPointsToListBox(0, 0, lines);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(" ( 101,500, 202,250)"))) << lines[1].toStdString();
}

TEST_F(ListFillersTest, ObjectLinesNameTheReadableSemantics)
{
    TGeoMap& m = Plan();
    BuildPlan();
    const QString point = Readable(0, "ТОЧ");
    const QString traverse = Readable(0, "ТОЧ/Ф010");
    const qsizetype w = std::max(point.size(), traverse.size());
    QStringList lines;
    m.GetPointsToListBox(0, 0, lines);
    EXPECT_EQ(lines, (QStringList{
        QStringLiteral("0    ") + point.leftJustified(w) + QStringLiteral(" ( 100.000, 200.000)"),
        QStringLiteral("1    ") + traverse.leftJustified(w) + QStringLiteral(" ( 101.500, 202.250)"),
        QStringLiteral("2    ") + point.leftJustified(w) + QStringLiteral(" ( 102.000, 204.000)")}));

    const QString main = Readable(1, "ГОР/Ф011");
    const QString thick = Readable(1, "ГОР/Ф021");
    const qsizetype lw = std::max(main.size(), thick.size());
    m.GetLinesToListBox(0, 1, lines);
    EXPECT_EQ(lines, (QStringList{
        QStringLiteral("0     ") + main.leftJustified(lw) + QStringLiteral(" ( узлов : 3   )"),
        QStringLiteral("1     ") + thick.leftJustified(lw) + QStringLiteral(" ( узлов : 12  )")}));

    m.GetPolygonsToTextListBox(0, 1, lines);
    EXPECT_EQ(lines, QStringList{QStringLiteral("0     ") + Readable(2, "ЗДН/Ф001;К012;Н003") +
                                 QStringLiteral(" ( узлов : 4   внутренних плигонов 2  )")});
}

// A plan repeats one semantics over thousands of objects: the classifier must be
// consulted once per distinct string, not once per object (each consultation may
// even ask the user).
TEST_F(ListFillersTest, EachDistinctSemanticsIsDecodedOncePerFilling)
{
    TGeoMap& m = Plan();
    RGLayer& layer = AddLayer(AddPage(m, QStringLiteral("Лист")), QStringLiteral("Слой"));
    for (int i = 0; i < 5; ++i) {
        AddPoint(layer, "ПУН", i, i);   // no work record: the classifier asks
        AddPoint(layer, "ТОЧ", i, i);
    }
    const std::uint8_t ask = 1;
    Semantics->AskUnknownWorkSem = &ask;
    int questions = 0;
    TDialogHooks hooks;
    hooks.ShowMsg = [&](const QString&, const QString&) {
        ++questions;
        return TModalResult(1);   // "add it" — then the classifier window is cancelled
    };
    TScopedDialogHooks scoped(hooks);
    QStringList lines;
    m.GetPointsToListBox(0, 0, lines);
    EXPECT_EQ(lines.size(), 10);
    EXPECT_EQ(questions, 1);
}

TEST_F(ListFillersTest, PositionsThatDoNotExistLeaveTheListEmptyAndCountMinusOne)
{
    TGeoMap& m = Plan();
    BuildPlan();
    using TFill = std::function<void(QStringList&)>;
    const std::pair<const char*, TFill> fillers[] = {
        {"layers of sheet 3", [&](QStringList& l) { m.GetLayersToListBox2(3, l); }},
        {"layer combo of sheet -1", [&](QStringList& l) { m.GetLayersToComboBox(-1, l); }},
        {"visible layers of sheet 3", [&](QStringList& l) { m.GetLayersToComboBox2(3, l); }},
        {"rasters of sheet 3", [&](QStringList& l) { m.GetRastrsToListBox(3, l); }},
        {"texts of layer 3", [&](QStringList& l) { m.GetTextsToListBox(0, 3, l); }},
        {"points of sheet 5", [&](QStringList& l) { m.GetPointsToListBox(5, 0, l); }},
        {"lines of layer -1", [&](QStringList& l) { m.GetLinesToListBox(0, -1, l); }},
        {"polygons of layer 9", [&](QStringList& l) { m.GetPolygonsToTextListBox(0, 9, l); }},
    };
    for (const auto& [name, fill] : fillers) {
        SCOPED_TRACE(name);
        QStringList lines{QStringLiteral("old")};
        fill(lines);
        EXPECT_TRUE(lines.isEmpty());
    }
    EXPECT_EQ(m.GetPointsCount(0, 3), -1);
    EXPECT_EQ(m.GetTextsCount(3, 0), -1);
    EXPECT_EQ(m.GetLinesCount(0, -1), -1);
    EXPECT_EQ(m.GetPolygonsCount(-1, 0), -1);
    EXPECT_EQ(m.GetRastrsCount(3), -1);
    EXPECT_EQ(m.GetPointsCount(0, 0), 3);
    EXPECT_EQ(m.GetTextsCount(0, 0), 2);
    EXPECT_EQ(m.GetLinesCount(0, 1), 2);
    EXPECT_EQ(m.GetPolygonsCount(0, 2), 2);
    EXPECT_EQ(m.GetRastrsCount(0), 2);
    // Objects inside polygons are not the layer's own.
    m.Pages.At(0)->Layers.At(1)->Polygons.At(0)->InnerPoints.AddItem();
    EXPECT_EQ(m.GetPointsCount(0, 1), 0);
}

TEST_F(ListFillersTest, EachCallLeavesTheCursorsOnWhatItVisited)
{
    TGeoMap& m = Plan();
    BuildPlan();
    struct Case {
        const char* Name;
        std::function<void()> Call;
        RCursors After;
    };
    QStringList l;
    QString s;
    ArrUserTexts texts;
    const Case cases[] = {
        {"sheets", [&] { m.GetPagesToListBox(l); }, {2, 1, -1, -1, -1, -1, -1}},
        {"sheet names", [&] { m.GetPagesToCheckListBox(l); }, {2, 0, -1, -1, -1, -1, -1}},
        {"layer names", [&] { m.GetLayersNamesToCheckListBox(l); }, {2, 1, -1, -1, -1, -1, -1}},
        {"layers", [&] { m.GetLayersToListBox2(0, l); }, {0, 2, -1, -1, -1, 0, 0}},
        {"rasters", [&] { m.GetRastrsToListBox(0, l); }, {0, 0, 0, 0, -1, -1, 1}},
        {"texts", [&] { m.GetTextsToListBox(0, 0, l); }, {0, 0, 1, 0, -1, -1, 0}},
        {"points", [&] { m.GetPointsToListBox(0, 0, l); }, {0, 0, 0, 2, -1, -1, 0}},
        {"lines", [&] { m.GetLinesToListBox(0, 1, l); }, {0, 1, -1, -1, 1, 0, 0}},
        {"polygons", [&] { m.GetPolygonsToTextListBox(0, 2, l); }, {0, 2, -1, -1, -1, 1, 0}},
        {"missing layer", [&] { m.GetPointsToListBox(2, 5, l); }, {2, 0, -1, -1, -1, -1, -1}},
        {"missing sheet", [&] { m.GetPointsToListBox(7, 0, l); }, {0, 0, 0, 0, -1, -1, 0}},
        {"point symbol", [&] { m.GetPointSymbol(0, 0, 1, s); }, {0, 0, 0, 1, -1, -1, 0}},
        {"line props", [&] {
             QStringList over;
             ArrLineNodes nodes;
             bool strip = false;
             Extended width = 0;
             TPrecision p = 0;
             int captions = 0;
             m.GetLineProp(0, 1, 1, s, texts, strip, width, p, captions, over, nodes);
         }, {0, 1, -1, -1, 1, 0, 0}},
        {"count", [&] { m.GetPolygonsCount(2, 1); }, {2, 1, -1, -1, -1, -1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ResetCursors();
        c.Call();
        EXPECT_EQ(Cursors(), c.After);
    }
}

TEST_F(ListFillersTest, GettersCopyTheObjectOrAssignNothing)
{
    TGeoMap& m = Plan();
    BuildPlan();
    RGPoint& p = *m.Pages.At(0)->Layers.At(0)->Points.At(1);
    p.Precision = 3;
    p.SignAngle = 45.5L;
    p.AutoTexts.AddItem();
    p.UserTexts.AddItem();
    p.UserTexts.Item->Dx = 1.25L;
    p.UserTexts.Item->Show = 2;
    p.AllUserTextsFromFirst = 1;
    p.LeaderLine = 2;
    p.SignName = QStringLiteral("ТОЧ-Ф010");

    QString sem = QStringLiteral("old");
    Extended x = -1, y = -1, angle = -1;
    TPrecision precision = 9;
    int captions = -1;
    ArrUserTexts user(3);
    std::uint8_t fromFirst = 9, leader = 9;
    m.GetPointProp(0, 0, 3, sem, x, y, precision, angle, captions, user, fromFirst, leader);
    EXPECT_EQ(sem, QStringLiteral("old"));
    EXPECT_EQ(user.size(), 3u);
    EXPECT_EQ(leader, 9);
    m.GetPointProp(0, 0, 1, sem, x, y, precision, angle, captions, user, fromFirst, leader);
    EXPECT_EQ(sem, QStringLiteral("ТОЧ/Ф010"));
    EXPECT_EQ(x, 101.5L);
    EXPECT_EQ(y, 202.25L);
    EXPECT_EQ(precision, 3);
    EXPECT_EQ(angle, 45.5L);
    EXPECT_EQ(captions, 1);
    ASSERT_EQ(user.size(), 1u);
    EXPECT_EQ(user[0].Dx, 1.25L);
    EXPECT_EQ(user[0].Show, 2);
    EXPECT_EQ(fromFirst, 1);
    EXPECT_EQ(leader, 2);

    QString sign = QStringLiteral("old");
    m.GetPointSymbol(0, 0, 7, sign);
    m.GetLineSymbol(0, 0, 0, sign);
    m.GetPolygonSymbol(1, 0, 0, sign);
    EXPECT_EQ(sign, QStringLiteral("old"));
    m.GetPointSymbol(0, 0, 1, sign);
    EXPECT_EQ(sign, QStringLiteral("ТОЧ-Ф010"));
    m.GetLineSymbol(0, 1, 0, sign);
    EXPECT_TRUE(sign.isEmpty());   // never rendered
}

TEST_F(ListFillersTest, TextLineAndPolygonGettersOfMissingObjectsAssignNothing)
{
    TGeoMap& m = Plan();
    BuildPlan();
    struct Case {
        const char* Name;
        int Page, Layer, Index;
    };
    const Case cases[] = {
        {"sheet past the last", 3, 0, 0}, {"sheet -1", -1, 1, 0}, {"layer past the last", 0, 3, 0},
        {"object past the last", 0, 1, 9}, {"object -1", 0, 1, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QString text = QStringLiteral("old"), styleName = text, font = text, fontStyle = text;
        Extended x = -1, y = -1, factor = -1, size = -1;
        int rotation = -1, colour = -1;
        bool own = true;
        m.GetTextProp(c.Page, c.Layer, c.Index, text, x, y, rotation, factor, styleName, own,
                      font, colour, size, fontStyle);
        EXPECT_EQ((QStringList{text, styleName, font, fontStyle}), QStringList(4, QStringLiteral("old")));
        EXPECT_EQ(std::make_tuple(x, y, factor, size), std::make_tuple(-1.0L, -1.0L, -1.0L, -1.0L));
        EXPECT_EQ(std::make_tuple(rotation, colour, own), std::make_tuple(-1, -1, true));

        QString sem = QStringLiteral("old");
        ArrUserTexts user(2);
        bool strip = true;
        Extended width = -1;
        TPrecision precision = 9;
        int captions = -1;
        QStringList over{QStringLiteral("caller's")};
        ArrLineNodes lineNodes(3);
        m.GetLineProp(c.Page, c.Layer, c.Index, sem, user, strip, width, precision, captions,
                      over, lineNodes);
        EXPECT_EQ(sem, QStringLiteral("old"));
        EXPECT_EQ(std::make_tuple(user.size(), lineNodes.size()), std::make_tuple(2u, 3u));
        EXPECT_EQ(std::make_tuple(strip, width, precision, captions),
                  std::make_tuple(true, -1.0L, TPrecision(9), -1));
        EXPECT_EQ(over, QStringList{QStringLiteral("caller's")});

        ArrPolygonNodes polygonNodes(4);
        ArrIntrPolygons holes(5);
        Extended dx = -1, dy = -1;
        int angle = -1;
        m.GetPolygonProp(c.Page, c.Layer, c.Index, sem, polygonNodes, precision, user, dx, dy,
                         holes, captions, angle);
        EXPECT_EQ(sem, QStringLiteral("old"));
        EXPECT_EQ(std::make_tuple(polygonNodes.size(), holes.size(), user.size()),
                  std::make_tuple(4u, 5u, 2u));
        EXPECT_EQ(std::make_tuple(dx, dy, angle, captions), std::make_tuple(-1.0L, -1.0L, -1, -1));
    }
}

TEST_F(ListFillersTest, LineGetterLeavesEmptyOverLinesAlone)
{
    TGeoMap& m = Plan();
    BuildPlan();
    RGLine& line = *m.Pages.At(0)->Layers.At(1)->Lines.At(0);
    line.Strip = 1;
    line.StripWidth = 3.5L;
    line.Nodes.At(1)->NodeType = 1;
    line.Nodes.At(1)->NodePoints.AddItem();
    QString sem;
    ArrUserTexts user(2);
    bool strip = false;
    Extended width = 0;
    TPrecision precision = 0;
    int captions = -1;
    QStringList over{QStringLiteral("caller's")};
    ArrLineNodes nodes(7);
    m.GetLineProp(0, 1, 0, sem, user, strip, width, precision, captions, over, nodes);
    EXPECT_EQ(over, QStringList{QStringLiteral("caller's")});
    EXPECT_TRUE(user.empty());
    EXPECT_TRUE(strip);
    EXPECT_EQ(width, 3.5L);
    EXPECT_EQ(captions, 0);
    ASSERT_EQ(nodes.size(), 3u);
    EXPECT_EQ(nodes[1].NodeType, 1);
    EXPECT_EQ(nodes[2].Position.Y, 4);

    line.OverLines = QStringList{QStringLiteral("ЛИН"), QStringLiteral("ГРН")};
    m.GetLineProp(0, 1, 0, sem, user, strip, width, precision, captions, over, nodes);
    EXPECT_EQ(over, line.OverLines);
}

TEST_F(ListFillersTest, PolygonGetterCopiesContoursInOrder)
{
    TGeoMap& m = Plan();
    BuildPlan();
    RGPolygon& polygon = *m.Pages.At(0)->Layers.At(1)->Polygons.At(0);
    polygon.CaptionShift = GeoPoint(1.5L, -2);
    polygon.CaptionAngle = 450;
    polygon.Holes.At(1)->Nodes.At(2)->Position = GeoPoint(7, 8);
    QString sem;
    ArrPolygonNodes nodes;
    TPrecision precision = 0;
    ArrUserTexts user;
    Extended dx = 0, dy = 0;
    ArrIntrPolygons holes(5);
    int captions = -1, angle = 0;
    m.GetPolygonProp(0, 1, 0, sem, nodes, precision, user, dx, dy, holes, captions, angle);
    EXPECT_EQ(nodes.size(), 4u);
    EXPECT_EQ(precision, DefaultPrecision);
    EXPECT_EQ(dx, 1.5L);
    EXPECT_EQ(dy, -2);
    ASSERT_EQ(holes.size(), 2u);
    ASSERT_EQ(holes[1].size(), 3u);
    EXPECT_EQ(holes[1][2].Position.X, 7);
    EXPECT_EQ(captions, 0);
    EXPECT_EQ(angle, 450);
}

TEST_F(ListFillersTest, TextGetterReportsOwnOrNamedStyleInMillimetres)
{
    CopyDataFolder(QStringLiteral("Шрифты"), Folder());
    TGeoMap& m = Plan();
    m.Symbols->LoadTextStyles(500);
    BuildPlan();
    RGText& named = *m.Pages.At(0)->Layers.At(0)->Texts.At(0);
    named.StyleName = QStringLiteral(">НАДПИСИ");
    named.SizeFactor = 1.5L;
    ASSERT_TRUE(m.Symbols->FindStyle(named.StyleName));
    const TGeoTextStyle& style = *m.Symbols->TextStyles.Item;

    QString text, styleName, font, fontStyle;
    Extended x = 0, y = 0, factor = 0, size = 0;
    int rotation = 0, colour = 0;
    bool own = true;
    m.GetTextProp(0, 0, 0, text, x, y, rotation, factor, styleName, own, font, colour, size, fontStyle);
    EXPECT_EQ(text, QStringLiteral("Склад №1"));
    EXPECT_EQ(rotation, 900);
    EXPECT_EQ(factor, 1.5L);
    EXPECT_EQ(styleName, QStringLiteral(">НАДПИСИ"));
    EXPECT_FALSE(own);
    EXPECT_EQ(font, style.FontName);
    EXPECT_EQ(colour, style.Color);
    EXPECT_EQ(size, style.Size);
    EXPECT_EQ(fontStyle, FontStylesToStr(style.FontStyle));

    RGText& ownText = *m.Pages.At(0)->Layers.At(0)->Texts.At(1);
    ownText.OwnStyle = std::make_unique<TUserStyle>();
    ownText.OwnStyle->FontName = QStringLiteral("DejaVu Sans");
    ownText.OwnStyle->Color = 0x00FF00;
    ownText.OwnStyle->Size = 1.75L;
    ownText.OwnStyle->FontStyle = fsItalicBit;
    m.GetTextProp(0, 0, 1, text, x, y, rotation, factor, styleName, own, font, colour, size, fontStyle);
    EXPECT_TRUE(own);
    EXPECT_EQ(font, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(colour, 0x00FF00);
    EXPECT_EQ(size, 1.75L);
    EXPECT_EQ(fontStyle, QStringLiteral("0100"));

    m.GetTextProp(0, 0, 2, text, x, y, rotation, factor, styleName, own, font, colour, size, fontStyle);
    EXPECT_EQ(text, QStringLiteral("ул"));
}

TEST_F(ListFillersTest, RasterGetter)
{
    TGeoMap& m = Plan();
    RGPage& page = AddPage(m, QStringLiteral("Лист"));
    page.Rastrs.AddItem();
    RGRastr& r = *page.Rastrs.Item;
    r.FileName = QStringLiteral("/скан.bmp");
    r.BottomLeft = GeoPoint(1, 2);
    r.TopRight = GeoPoint(3, 4);
    r.Visible = 0;
    r.FilterName = QStringLiteral("серый");
    r.Red = 1;
    r.Green = 2;
    r.Blue = 3;
    r.Brightness = 4;
    r.FilterOn = 1;
    QString path = QStringLiteral("old"), filter;
    std::uint8_t loaded = 7, visible = 7, on = 7;
    TGeoPoint bl, tr;
    int red = 0, green = 0, blue = 0, light = 0;
    m.GetRastrProp(0, 1, path, loaded, bl, tr, visible, filter, red, green, blue, light, on);
    EXPECT_EQ(path, QStringLiteral("old"));
    m.GetRastrProp(0, 0, path, loaded, bl, tr, visible, filter, red, green, blue, light, on);
    EXPECT_EQ(path, QStringLiteral("/скан.bmp"));
    EXPECT_EQ(loaded, 0);
    EXPECT_EQ(bl.Y, 2);
    EXPECT_EQ(tr.X, 3);
    EXPECT_EQ(visible, 0);
    EXPECT_EQ(filter, QStringLiteral("серый"));
    EXPECT_EQ((std::vector<int>{red, green, blue, light}), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(on, 1);
    EXPECT_FALSE(m.RastrLoaded());
}
