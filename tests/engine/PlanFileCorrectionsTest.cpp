// The native plan file against crafted and odd input: sections where the format puts
// none, what only a filter switched on writes, and plans that must come back the same
// however often they are saved and opened.
#include "PlanFileTest.h"

namespace {

class PlanFileCorrections : public PlanFileFixture {
protected:
    QStringList Head() const { return {QStringLiteral("FREE VELMORANT"), QStringLiteral("|ВЕР|6")}; }
    // A sheet "A" with a layer "L" around body.
    QStringList InLayer(const QStringList& body) const
    {
        return Head() + QStringList{QStringLiteral("{ЛСТ"), QStringLiteral("|имя|A"), QStringLiteral("{СЛО"),
                                    QStringLiteral("|имя|L")} +
               body + QStringList{QStringLiteral("}СЛО"), QStringLiteral("}ЛСТ")};
    }
};

RGLayer& Layer0(TGeoMap& m) { return *m.Pages.At(0)->Layers.At(0); }

// Guards against the use after free of a text's own style: a second own-style block
// opened inside a section opened inside the first replaced the style the outer block
// went on filling.
TEST_F(PlanFileCorrections, ASectionWhereTheFormatPutsNoneActsOnNothing)
{
    WritePlanFile(QStringLiteral("crafted.500"),
                  InLayer({QStringLiteral("{ТЕК"), QStringLiteral("@t"), QStringLiteral("$1 2"),
                           QStringLiteral("{сти"), QStringLiteral("{ТЕК"), QStringLiteral("{сти"),
                           QStringLiteral("}сти"), QStringLiteral("}ТЕК"), QStringLiteral("|шри|XXXX"),
                           QStringLiteral("|цве|12345"), QStringLiteral("}сти"), QStringLiteral("}ТЕК")}));
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("crafted.500"), true));
    EXPECT_EQ(Files.Messages(),
              QStringList{QStringLiteral("раздел {ТЕК не может стоять в разделе сти! Его строки будут "
                                         "игнорированы\rсбой в строке 11")});
    ASSERT_EQ(Layer0(M()).Texts.GetCount(), 1);
    const RGText& text = *Layer0(M()).Texts.At(0);
    ASSERT_TRUE(text.OwnStyle);
    EXPECT_EQ(text.OwnStyle->FontName, QStringLiteral("XXXX"));
    EXPECT_EQ(text.OwnStyle->Color, 12345);
}

TEST_F(PlanFileCorrections, EachMisplacedSectionIsReportedOnceAndItsLinesIgnored)
{
    struct Case {
        const char* name;
        QStringList body;   // inside the layer, which starts at line 7
        QString message;
    };
    const Case cases[] = {
        {"caption block in a text",
         {QStringLiteral("{ТЕК"), QStringLiteral("@t"), QStringLiteral("{нап"), QStringLiteral("|вид|1"),
          QStringLiteral("}нап"), QStringLiteral("}ТЕК")},
         QStringLiteral("раздел {нап не может стоять в разделе ТЕК! Его строки будут игнорированы\r"
                        "сбой в строке 9")},
        {"inner contour in a line, with a node block inside",
         {QStringLiteral("{ЛИН"), QStringLiteral("@l"), QStringLiteral("$1 1"), QStringLiteral("{ВПО"),
          QStringLiteral("$5 5"), QStringLiteral("{нау"), QStringLiteral("|кри|1"), QStringLiteral("}нау"),
          QStringLiteral("}ВПО"), QStringLiteral("}ЛИН")},
         QStringLiteral("раздел {ВПО не может стоять в разделе ЛИН! Его строки будут игнорированы\r"
                        "сбой в строке 10")},
        {"inner line in a point",
         {QStringLiteral("{ТОЧ"), QStringLiteral("@p"), QStringLiteral("$1 1"), QStringLiteral("[ЛИН"),
          QStringLiteral("@l"), QStringLiteral("$2 2"), QStringLiteral("]ЛИН"), QStringLiteral("}ТОЧ")},
         QStringLiteral("раздел [ЛИН не может стоять в разделе ТОЧ! Его строки будут игнорированы\r"
                        "сбой в строке 10")},
        {"points list in a polygon's node block",
         {QStringLiteral("{ПОЛ"), QStringLiteral("@s"), QStringLiteral("$1 1"), QStringLiteral("{нау"),
          QStringLiteral("{ТОЧ"), QStringLiteral("@p"), QStringLiteral("$2 2"), QStringLiteral("}ТОЧ"),
          QStringLiteral("}нау"), QStringLiteral("}ПОЛ")},
         QStringLiteral("раздел {ТОЧ не может стоять в разделе нау! Его строки будут игнорированы\r"
                        "сбой в строке 11")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Files.Asked.clear();
        WritePlanFile(QStringLiteral("misplaced.500"), InLayer(c.body));
        TGeoMap m;
        m.Services = &Files;
        LoadEverything(m);
        ASSERT_TRUE(m.ReadDataFromFile(QStringLiteral("misplaced.500"), true));
        EXPECT_EQ(Files.Messages(), QStringList{c.message});
        const RGLayer& layer = Layer0(m);
        // The one object of the layer, untouched by the misplaced lines.
        EXPECT_EQ(layer.Texts.GetCount() + layer.Points.GetCount() + layer.Lines.GetCount() +
                      layer.Polygons.GetCount(),
                  1);
        if (layer.Lines.GetCount() > 0) {
            EXPECT_EQ(layer.Lines.At(0)->Nodes.GetCount(), 1);
            EXPECT_EQ(layer.Lines.At(0)->Nodes.At(0)->Curve, 0);
        }
        if (layer.Points.GetCount() > 0)
            EXPECT_EQ(layer.Points.At(0)->InnerTexts.GetCount(), 0);
        if (layer.Polygons.GetCount() > 0)
            EXPECT_EQ(layer.Polygons.At(0)->InnerPoints.GetCount(), 0);
    }
}

// Guards against a filter block written for a FilterOn other than 1, which the reader
// takes as switched on: the raster's look changed after an undo.
TEST_F(PlanFileCorrections, OnlyAFilterSwitchedOnIsWritten)
{
    struct Case {
        std::uint8_t filterOn;
        QString filterName;
        bool written;
    };
    const Case cases[] = {{0, QString(), false}, {1, QString(), true}, {2, QString(), false},
                          {255, QString(), false}, {1, QStringLiteral("серый"), true},
                          {2, QStringLiteral("серый"), false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.filterOn));
        TGeoMap m;
        m.Pages.AddItem();
        m.Pages.Item->Name = QStringLiteral("A");
        m.Pages.Item->Rastrs.AddItem();
        RGRastr& rastr = *m.Pages.Item->Rastrs.Item;
        rastr.FileName = QStringLiteral("r.bmp");
        rastr.FilterOn = c.filterOn;
        rastr.FilterName = c.filterName;
        rastr.Brightness = 10;
        const QString text = DecodeCodePage(Native(m));
        EXPECT_EQ(text.contains(QStringLiteral("{фил")) || text.contains(QStringLiteral("|фил|")), c.written);
    }
}

}  // namespace

namespace {

// A plan large enough to be written in parts on several threads: sheets of many points
// and lines, the lines with node blocks and node points.
void FillLargePlan(TGeoMap& m)
{
    for (int sheet = 0; sheet < 3; ++sheet) {
        m.Pages.AddItem();
        m.Pages.Item->Name = QStringLiteral("лист %1").arg(sheet);
        for (int layer = 0; layer < 2; ++layer) {
            m.Pages.Item->Layers.AddItem();
            RGLayer& l = *m.Pages.Item->Layers.Item;
            l.Name = QStringLiteral("слой %1").arg(layer);
            for (int i = 0; i < 12000; ++i) {
                l.Points.AddItem();
                l.Points.Item->Semantics = QStringLiteral("ТОЧ/%1").arg(i);
                l.Points.Item->Position = GeoPoint(i * 1.37L, sheet * 1000 + i * 0.011L);
            }
            for (int i = 0; i < 300; ++i) {
                l.Lines.AddItem();
                RGLine& line = *l.Lines.Item;
                line.Semantics = QStringLiteral("ЛИН/%1").arg(i);
                line.Precision = static_cast<TPrecision>(i % 4);
                for (int n = 0; n < 60; ++n) {
                    line.Nodes.AddItem();
                    line.Nodes.Item->Position = GeoPoint(i + n * 0.1234L, n - i * 0.5L);
                    if (n % 17 == 0)
                        line.Nodes.Item->TextCounter = n;
                }
            }
        }
    }
}

}  // namespace

// The text written in parts on several threads is the text written line by line.
TEST_F(PlanFileCorrections, ALargePlanWritesTheSameTextOnAnyNumberOfThreads)
{
    TGeoMap m;
    FillLargePlan(m);
    m.Pages.GoItem(1);
    m.DataLines.clear();
    m.WriteDataToFile(QString());
    const QByteArray lineByLine = PlanBytes(m.DataLines);
    const QByteArray inParts = Native(m);
    EXPECT_EQ(inParts + "\r\n", lineByLine);
    EXPECT_EQ(m.Pages.GetIndex(), 1);

    // A value no file can hold, deep in the last sheet: the save raises with it and the
    // old file stays.
    m.Pages.At(2)->Layers.At(1)->Points.At(11000)->Semantics = QStringLiteral("ТОЧ/≈");
    WriteBytes(PlanPath(QStringLiteral("large.500")), "old");
    EXPECT_TRUE(RaisedBy([&] { m.WriteDataToFile(QStringLiteral("large.500")); }).contains(QStringLiteral("≈")));
    EXPECT_EQ(FileBytes(PlanPath(QStringLiteral("large.500"))), QByteArray("old"));
}
