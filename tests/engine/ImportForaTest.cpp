// The exchange format through the open and add commands: the fixture's records, the
// semantics conversion, node counts, code page 866, the layers, and bad numbers that
// leave the plan as it was.
#include "ImportTest.h"

#include "foundation/GeoServ.h"

namespace {

class ImportFora : public ImportFixture {
protected:
    void OpenFora(const QString& file, const QString& layer = QStringLiteral("Ф"))
    {
        Files.Answers.push_back(1);
        Files.Texts.push_back(QStringLiteral("500"));
        Run(QStringLiteral("mcOpenMap=<%1><Fora><False><%2>").arg(file, layer));
    }
};

TEST_F(ImportFora, TheFixtureOpensWithEveryRecord)
{
    Files.Answers = {1};
    Files.Texts = {QStringLiteral("1000")};
    Run(QStringLiteral("mcOpenMap=<fora.txt><Fora><TRUE><>"));
    EXPECT_EQ(M().MapProp.Scale, 1000);
    EXPECT_EQ(DataFileState, 1);
    ASSERT_EQ(M().Pages.GetCount(), 1);
    // The passport's last line is the information.
    EXPECT_EQ(M().MapProp.Info, QStringLiteral("Исполнитель: Иванов И.И."));
    // The point before any "#SEM" has empty semantics; its question was cancelled.
    EXPECT_EQ(LayerQuestions(), 1);
    const QString sheet = QStringLiteral("fora.txt");
    EXPECT_EQ(LayerNamesOf(sheet), (QStringList{QStringLiteral("Надписи"), QStringLiteral("Фора"),
                                                QStringLiteral("Пикеты"), QStringLiteral("Коммуникации"),
                                                QStringLiteral("Дороги"), QStringLiteral("Здания")}));

    const TGTexts& texts = Layer(sheet, QStringLiteral("Надписи"))->Texts;
    ASSERT_EQ(texts.GetCount(), 2);
    const RGText& street = *texts.At(0);
    EXPECT_EQ(street.Text, QStringLiteral("ул. Лесная"));   // without the line's last character
    EXPECT_POINT(street.Position, 5000.5L, 2000.5L);
    EXPECT_EQ(street.Angle, GeoToWinAngle(RadGrad(0.7853981634L)));   // 45 degrees: 450
    EXPECT_EQ(street.Angle, 450);
    ASSERT_TRUE(street.OwnStyle);
    EXPECT_EQ(street.OwnStyle->FontName, QStringLiteral("bm431"));
    EXPECT_EQ(street.OwnStyle->Color, 0);
    EXPECT_EQ(street.OwnStyle->Size, StrToFlt(QStringLiteral("0.0025")) * 1000);
    EXPECT_EQ(street.OwnStyle->FontStyle, 0);
    EXPECT_EQ(texts.At(1)->Text, QStringLiteral("Дом 5"));
    EXPECT_EQ(texts.At(1)->Angle, 900);

    const TGPoints& unnamed = Layer(sheet, QStringLiteral("Фора"))->Points;
    ASSERT_EQ(unnamed.GetCount(), 1);
    EXPECT_EQ(unnamed.At(0)->Semantics, QString());
    const TGPoints& pickets = Layer(sheet, QStringLiteral("Пикеты"))->Points;
    ASSERT_EQ(pickets.GetCount(), 1);
    EXPECT_EQ(pickets.At(0)->Semantics, QStringLiteral("ПКТ/ИВ12.5"));
    EXPECT_POINT(pickets.At(0)->Position, 5002, 2002);

    const TGLines& guys = Layer(sheet, QStringLiteral("Коммуникации"))->Lines;
    ASSERT_EQ(guys.GetCount(), 1);
    EXPECT_EQ(guys.At(0)->Semantics, QStringLiteral("ОТТ"));
    EXPECT_EQ(guys.At(0)->Nodes.GetCount(), 2);   // the third coordinate line beyond the count
    const TGLines& kerbs = Layer(sheet, QStringLiteral("Дороги"))->Lines;
    ASSERT_EQ(kerbs.GetCount(), 2);
    EXPECT_EQ(kerbs.At(0)->Semantics, QStringLiteral("БРД"));
    EXPECT_EQ(kerbs.At(0)->Nodes.GetCount(), 0);   // count 0
    EXPECT_EQ(kerbs.At(1)->Nodes.GetCount(), 3);
    const RGPolygon& house = *Layer(sheet, QStringLiteral("Здания"))->Polygons.At(0);
    EXPECT_EQ(house.Semantics, QStringLiteral("ЗДН/Ф001;К012"));
    ASSERT_EQ(house.Nodes.GetCount(), 4);
    EXPECT_POINT(house.Nodes.At(3)->Position, 5030, 2020);
}

TEST_F(ImportFora, TheFixtureSavedAndReopenedIsTheSamePlan)
{
    Files.Answers = {1};
    Files.Texts = {QStringLiteral("500")};
    ExpectSameAfterSaveAndReopen(QStringLiteral("mcOpenMap=<fora.txt><Fora><TRUE><>"));
}

TEST(ForaSemantics, ConvSemOverComposesOurCodes)
{
    struct Case {
        const char16_t* In;
        const char16_t* Out;
    };
    const Case cases[] = {
        {u".ПИКЕТ 12.5", u"ПКТ/ИВ12.5"},
        {u"   .ПИКЕТ 101,25 #", u"ПКТ/ИВ101,25"},
        {u".ОТТЯЖКА", u"ОТТ"},
        {u".ОТТЯЖКА/Ф001", u"ОТТ/Ф001"},
        {u".БОРДЮР", u"БРД"},
        {u".БОРДЮР #", u"БРД"},
        {u"ЗДН/Ф001;К012 #", u"ЗДН/Ф001;К012"},
        {u"ЗДН/Ф001#", u"ЗДН/Ф001#"},   // "#" without its blank stays
        {u".ПИКЕТ", u".ПИКЕТ"},        // too short for its conversion
        {u"", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.In).toStdString());
        EXPECT_EQ(TGeoMap::ConvSemOver(QString::fromUtf16(c.In)), QString::fromUtf16(c.Out));
    }
}

TEST_F(ImportFora, TheNodeCountStandsAnywhereInItsHeader)
{
    struct Case {
        const char* Why;
        QString Header;
        int Nodes;
    };
    const Case cases[] = {
        {"right after the word", QStringLiteral("#POLYLINE2"), 2},
        {"after a blank", QStringLiteral("#POLYLINE 2"), 2},
        {"digits spread over the line: one number", QStringLiteral("#POLYLINE 1 x 2"), 12},
        {"zero", QStringLiteral("#POLYLINE 0"), 0},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Why);
        const QString name = QStringLiteral("count%1.txt").arg(++n);
        WriteLines(name, {c.Header, QStringLiteral("1 1"), QStringLiteral("2 2"), QStringLiteral("3 3"),
                          QStringLiteral("4 4")},
                   TCodePage::Cp866);
        OpenFora(name);
        const TGLines& lines = Layer(name, QStringLiteral("Ф"))->Lines;
        ASSERT_EQ(lines.GetCount(), 1);
        EXPECT_EQ(lines.At(0)->Nodes.GetCount(), std::min(c.Nodes, 4));
    }
}

TEST_F(ImportFora, EveryLetterOfCodePage866Reads)
{
    QByteArray caption = "0.002 0 ";
    for (int b = 128; b <= 175; ++b)
        caption.append(static_cast<char>(b));
    for (int b = 224; b <= 241; ++b)
        caption.append(static_cast<char>(b));
    caption.append('|');
    WriteBytes(PlanPath(QStringLiteral("letters.txt")), "#TEXT\r\n" + caption + "\r\n1 1\r\n");
    OpenFora(QStringLiteral("letters.txt"));
    const TGTexts& texts = Layer(QStringLiteral("letters.txt"), QStringLiteral("Ф"))->Texts;
    ASSERT_EQ(texts.GetCount(), 1);
    EXPECT_EQ(texts.At(0)->Text, QStringLiteral("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмноп"
                                                "рстуфхцчшщъыьэюяЁё"));
}

TEST_F(ImportFora, ShortCaptionLinesKeepANewTextsValues)
{
    WriteLines(QStringLiteral("short.txt"),
               {QStringLiteral("#TEXT"), QStringLiteral("0.003"), QStringLiteral("1 1"), QStringLiteral("#TEXT"),
                QStringLiteral("0.003 0 x"), QStringLiteral("2 2")},
               TCodePage::Cp866);
    OpenFora(QStringLiteral("short.txt"));
    const TGTexts& texts = Layer(QStringLiteral("short.txt"), QStringLiteral("Ф"))->Texts;
    ASSERT_EQ(texts.GetCount(), 2);
    EXPECT_EQ(texts.At(0)->Text, QString());
    EXPECT_EQ(texts.At(0)->Angle, 0);
    EXPECT_NEAR(double(texts.At(0)->OwnStyle->Size), 3.0, 1e-12);
    EXPECT_EQ(texts.At(1)->Text, QString());   // its one character was the last
}

TEST_F(ImportFora, ABadNumberEndsTheImportNamingItsLineAndChangesNothing)
{
    struct Case {
        const char* Why;
        QStringList Lines;
        int Line;
        QString Says;
    };
    const Case cases[] = {
        {"a coordinate", {QStringLiteral("#POINT"), QStringLiteral("1 1"), QStringLiteral("#POINT"),
                          QStringLiteral("1 y")},
         4, QStringLiteral("'y' is not a valid floating point value")},
        {"a node count with a separator", {QStringLiteral("#SEM"), QStringLiteral("ОТТ"), QStringLiteral("#POLYLINE 2.0")},
         3, QStringLiteral("'2.0' is not a valid integer value")},
        {"a node count beyond 32 bits", {QStringLiteral("#POLYGON 4294967296")}, 1,
         QStringLiteral("'4294967296' is not a valid integer value")},
        {"a caption size", {QStringLiteral("#TEXT"), QStringLiteral("abc 0 x1"), QStringLiteral("1 1")}, 2,
         QStringLiteral("'abc' is not a valid floating point value")},
    };
    Run(QStringLiteral("mcOpenMap=<full.500><New><True><>"));
    Run(QStringLiteral("mcSetMapInf=<описание плана>"));
    const QByteArray before = Native();
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Why);
        const QString name = QStringLiteral("bad%1.txt").arg(++n);
        WriteLines(name, QStringList{QStringLiteral("#PASSPORT"), QStringLiteral("паспорт")} + c.Lines,
                   TCodePage::Cp866);
        for (const QString& line : {QStringLiteral("mcOpenMap=<%1><Fora><False><Слой>").arg(name),
                                    QStringLiteral("mcAddMap=<%1><Fora><False><Слой>").arg(name)}) {
            SCOPED_TRACE(line.toStdString());
            Files.Answers = {1};
            Files.Texts = {QStringLiteral("2000")};
            const QString message = Fails(line);
            EXPECT_TRUE(message.contains(c.Says)) << message.toStdString();
            EXPECT_TRUE(message.contains(QStringLiteral("сбой в строке %1 файла \"%2\"").arg(c.Line + 2).arg(name)))
                << message.toStdString();
            EXPECT_EQ(Native(), before);
            EXPECT_EQ(M().MapProp.Info, QStringLiteral("описание плана"));
            EXPECT_EQ(M().MapProp.Scale, 500);
        }
    }
}

// Guards against a plan opened from an exchange file without a passport carrying the
// previous plan's description.
TEST_F(ImportFora, AnOpenStartsFromEmptyInformationAndAMergeKeepsItWithoutAPassport)
{
    Run(QStringLiteral("mcOpenMap=<full.500><New><True><>"));
    Run(QStringLiteral("mcSetMapInf=<описание плана>"));
    WriteLines(QStringLiteral("nopass.txt"), {QStringLiteral("#POINT"), QStringLiteral("1 1")}, TCodePage::Cp866);
    Run(QStringLiteral("mcAddMap=<nopass.txt><Fora><False><Слой>"));
    EXPECT_EQ(M().MapProp.Info, QStringLiteral("описание плана"));
    OpenFora(QStringLiteral("nopass.txt"));
    EXPECT_EQ(M().MapProp.Info, QString());
}

TEST_F(ImportFora, AFileWithoutRecordsIsRefused)
{
    Run(QStringLiteral("mcOpenMap=<full.500><New><True><>"));
    const QByteArray before = Native();
    WriteLines(QStringLiteral("empty.txt"), {QStringLiteral("просто текст")}, TCodePage::Cp866);
    Files.Answers = {1};
    Files.Texts = {QStringLiteral("500")};
    EXPECT_TRUE(Fails(QStringLiteral("mcOpenMap=<empty.txt><Fora><False><Слой>"))
                    .contains(QStringLiteral("не является файлом обмена")));
    EXPECT_EQ(Native(), before);
}

}  // namespace
