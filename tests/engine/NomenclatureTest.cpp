// The sheet nomenclature: reading the table (every fault leaves the old one), naming the
// cell of a point for kinds 2 and 3, turning kind-2 names back into squares, and the
// tables of the data folder.
#include "EngineFixture.h"

#include "foundation/StringNum.h"
#include "platform/FileLookup.h"
#include "platform/TextFiles.h"
#include "support/TestHelpers.h"

#include <QFile>
#include <QRegularExpression>
#include <random>

class NomenclatureTest : public EngineFixture {
protected:
    // Writes lines (code page 1251, CR LF) to a file of the run folder; its full name.
    QString File(const QString& name, const QStringList& lines)
    {
        const QString path = Path(name);
        WriteTextFileLines(path, lines);
        return path;
    }

    QString RawFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = Path(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    // Kind 2 with the base square "Т" at (0, 0).
    TGeoMap& Kind2()
    {
        Plan().LoadNomenclatures(File(QStringLiteral("k2.wri"), {"2", "Т", "0 0"}));
        return Plan();
    }

    static QString Table(const TGeoMap& m)
    {
        QString s = QString::number(m.Nomenclatures.Mode);
        for (const auto& n : m.Nomenclatures)
            s += QStringLiteral("|%1 %2 %3").arg(n->SheetName).arg(double(n->Origin.X)).arg(double(n->Origin.Y));
        return s;
    }
};

TEST_F(NomenclatureTest, Kind2CellNames)
{
    TGeoMap& m = Kind2();
    struct Case { Extended x, y; const char* name; };
    const Case cases[] = {
        {1999, 1, "Т-А-1"},
        {1, 1, "Т-В-13"},
        {1000, 1000, "Т-Б-13"},
        {1999, 1999, "Т-Б-4"},
        {999.999L, 1999, "Т-Г-4"},
        {500, 250, "Т-В-6"},
        {1750, 999.999L, "Т-А-4"},
        {1250, 1500, "Т-Б-11"},
        {0, 5, "?"},        // on the base square's edge
        {5, 2000, "?"},
        {-1, 5, "?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << double(c.x) << " " << double(c.y));
        EXPECT_EQ(m.CoordToNomenclature(c.x, c.y), QString::fromUtf8(c.name));
    }
}

TEST_F(NomenclatureTest, OverlappingSquaresNameTheFirstListed)
{
    TGeoMap& m = Plan();
    m.LoadNomenclatures(File(QStringLiteral("a.wri"), {"2", "Т", "0 0", "У", "1000 1000"}));
    EXPECT_EQ(m.CoordToNomenclature(1500, 1500), QStringLiteral("Т-Б-7"));
    EXPECT_EQ(m.CoordToNomenclature(2500, 2500), QStringLiteral("У-Б-7"));
    m.LoadNomenclatures(File(QStringLiteral("b.wri"), {"2", "У", "1000 1000", "Т", "0 0"}));
    EXPECT_EQ(m.CoordToNomenclature(1500, 1500), QStringLiteral("У-В-7"));
}

TEST_F(NomenclatureTest, EmptyTableOrAnotherKind)
{
    TGeoMap& m = Plan();
    EXPECT_EQ(m.CoordToNomenclature(1, 1), QStringLiteral("?"));
    Kind2();
    m.Nomenclatures.Mode = 4;
    EXPECT_EQ(m.CoordToNomenclature(1, 1), QString());
}

TEST_F(NomenclatureTest, Kind2NamesBackToSquares)
{
    TGeoMap& m = Kind2();
    struct Case { const char* name; Extended x1, y1; };
    const Case cases[] = {
        {"Т-Б-16", 1000, 1750},
        {"Т-б-16", 1000, 1750},
        {"Т-А-1", 1750, 0},
        {"Т-В-13", 0, 0},
        {"Т-Г-4", 750, 1750},
        {"Т-а-7", 1500, 500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Extended x1 = -1, y1 = -1, x2 = -1, y2 = -1;
        EXPECT_TRUE(m.NomenclatureToCoord(QString::fromUtf8(c.name), x1, y1, x2, y2));
        EXPECT_EQ(x1, c.x1);
        EXPECT_EQ(y1, c.y1);
        EXPECT_EQ(x2, c.x1 + 250);
        EXPECT_EQ(y2, c.y1 + 250);
    }
}

TEST_F(NomenclatureTest, NamesThatAreNoSquare)
{
    TGeoMap& m = Kind2();
    // Not found: silent, outputs untouched.
    for (const char* name : {"Х-А-1", "Т-Д-1", "Т-A-1" /* Latin A */, "Т", "Т-А", "т-А-1", ""}) {
        SCOPED_TRACE(name);
        Extended x1 = -1, y1 = -1, x2 = -1, y2 = -1;
        EXPECT_FALSE(m.NomenclatureToCoord(QString::fromUtf8(name), x1, y1, x2, y2));
        EXPECT_EQ(x1, -1);
        EXPECT_EQ(y2, -1);
    }
    // A cell other than 1 to 16: zeroes and an error with the name in the trail.
    for (const char* name : {"Т-А-17", "Т-А-0", "Т-А-", "Т-А-01", "Т-А-x"}) {
        SCOPED_TRACE(name);
        ErrorInfo->clear();
        Extended x1 = -1, y1 = -1, x2 = -1, y2 = -1;
        EXPECT_EQ(RaisedBy([&] { m.NomenclatureToCoord(QString::fromUtf8(name), x1, y1, x2, y2); }),
                  QStringLiteral("Не удалось определить координаты по заданной номенклатуре"));
        EXPECT_EQ(x1, 0);
        EXPECT_EQ(y1, 0);
        EXPECT_EQ(x2, 0);
        EXPECT_EQ(y2, 0);
        ASSERT_EQ(ErrorInfo->size(), 3);
        EXPECT_EQ((*ErrorInfo)[0], QStringLiteral("Module name: GeoMap"));
        EXPECT_EQ((*ErrorInfo)[2], QStringLiteral("Argument s=") + QString::fromUtf8(name));
    }
    // A base name holding "-" is named but cannot be turned back.
    m.LoadNomenclatures(File(QStringLiteral("dash.wri"), {"2", "Т-1", "0 0"}));
    EXPECT_EQ(m.CoordToNomenclature(1999, 1), QStringLiteral("Т-1-А-1"));
    Extended x1 = -1, y1 = -1, x2 = -1, y2 = -1;
    EXPECT_FALSE(m.NomenclatureToCoord(QStringLiteral("Т-1-А-1"), x1, y1, x2, y2));
}

TEST_F(NomenclatureTest, RandomPointsTurnBackIntoASquareHoldingThem)
{
    TGeoMap& m = Plan();
    m.LoadNomenclatures(File(QStringLiteral("r.wri"), {"2", "Т", "0 0", "101", "6121500 2345250",
                                                        "102", "-2500,5 -750.25"}));
    std::mt19937_64 random(20241210);
    std::uniform_real_distribution<double> offset(0.0, 2000.0);
    for (int i = 0; i < 3000; ++i) {
        const TNomenclature& base = *m.Nomenclatures.At(i % 3);
        const Extended x = base.Origin.X + offset(random);
        const Extended y = base.Origin.Y + offset(random);
        const QString name = m.CoordToNomenclature(x, y);
        SCOPED_TRACE(name.toStdString());
        Extended x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        ASSERT_TRUE(m.NomenclatureToCoord(name, x1, y1, x2, y2));
        EXPECT_TRUE(x1 <= x && x < x2 && y1 <= y && y < y2)
            << double(x) << " " << double(y) << " in " << double(x1) << " " << double(y1);
    }
}

TEST_F(NomenclatureTest, Kind3CellNamesWithPointsOnTheInnerLines)
{
    TGeoMap& m = Plan();
    m.LoadNomenclatures(File(QStringLiteral("k3.wri"), {"3", "Ч", "0 0"}));
    EXPECT_EQ(m.Nomenclatures.Mode, 3);
    struct Case { Extended x, y; const char* name; };
    const Case cases[] = {
        {1, 1, "Ч-Ж-13"},
        {2999, 1, "Ч-А-1"},
        {1500, 1500, "Ч-Д-7"},
        {2999.9L, 2999.9L, "Ч-В-4"},
        {1, 2999, "Ч-И-16"},
        // On an inner 1000 m line: the third north or east of it.
        {1000, 500, "Ч-Г-15"},
        {500, 1000, "Ч-З-5"},
        {2000, 2000, "Ч-В-13"},
        {1000, 1000, "Ч-Д-13"},
        {0, 5, "?"},
        {3000, 5, "?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << double(c.x) << " " << double(c.y));
        EXPECT_EQ(m.CoordToNomenclature(c.x, c.y), QString::fromUtf8(c.name));
    }
    // Every point inside gets a full cell name.
    const QRegularExpression full(QStringLiteral("^Ч-[А-И]-([1-9]|1[0-6])$"));
    for (int x = 250; x < 3000; x += 250)
        for (int y = 250; y < 3000; y += 250)
            EXPECT_TRUE(full.match(m.CoordToNomenclature(x, y)).hasMatch()) << x << " " << y;
}

// Kind 3 cells carry the letters А to Г too: they must not turn back into kind-2 squares.
TEST_F(NomenclatureTest, Kind3NamesAreNotTurnedBack)
{
    TGeoMap& m = Plan();
    m.LoadNomenclatures(File(QStringLiteral("k3.wri"), {"3", "Ч", "0 0"}));
    for (const char* name : {"Ч-Д-7", "Ч-А-1", "Ч-Г-16"}) {
        SCOPED_TRACE(name);
        Extended x1 = -1, y1 = -1, x2 = -1, y2 = -1;
        EXPECT_FALSE(m.NomenclatureToCoord(QString::fromUtf8(name), x1, y1, x2, y2));
        EXPECT_EQ(x1, -1);
        EXPECT_EQ(y2, -1);
    }
}

TEST_F(NomenclatureTest, LoadingSkipsBlankLinesAndTakesEitherSeparator)
{
    TGeoMap& m = Plan();
    m.LoadNomenclatures(RawFile(QStringLiteral("blank.wri"),
                                "\r\n2\r\n\r\nA\r\n  \r\n1,5 -2.25\r\n\r\nB\r\n3 4\r\n\r\n"));
    EXPECT_EQ(Table(m), QStringLiteral("2|A 1.5 -2.25|B 3 4"));
    EXPECT_EQ(m.Nomenclatures.GetIndex(), 1);
}

// A fault anywhere in the file must leave the table in use as it was: a half-read table
// would name sheets wrongly without a word.
TEST_F(NomenclatureTest, EveryFileFaultLeavesTheOldTable)
{
    TGeoMap& m = Kind2();
    const QString before = Table(m);
    struct Case { const char* what; QByteArray bytes; int line; const char* reason; };
    const Case cases[] = {
        {"kind not a number", "x\r\nA\r\n0 0\r\n", 1, "'x' is not a valid integer value"},
        {"kind 4", "4\r\nA\r\n0 0\r\n", 1, "вид номенклатуры должен быть 2 или 3, а не 4"},
        {"kind 0", "0\r\n", 1, "вид номенклатуры должен быть 2 или 3, а не 0"},
        {"a name without its corner", "2\r\nA\r\n0 0\r\nB\r\n\r\n", 4, "нет строки координат листа B"},
        {"no blank between the numbers", "2\r\nA\r\n1,5\r\n", 3, "Не найден пробел-разделитель чисел в строке"},
        {"a bad first number", "2\r\nA\r\nx 1\r\n", 3, "неверное число в строке координат \"x 1\""},
        {"a bad second number", "2\r\nA\r\n0 0\r\nB\r\n1 y\r\n", 5, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = RawFile(QStringLiteral("bad.wri"), c.bytes);
        const QString message = RaisedBy([&] { m.LoadNomenclatures(path); });
        const QString prefix = QStringLiteral("Ошибка в файле номенклатур ") + path +
                               QStringLiteral(", строка ") + QString::number(c.line) + QStringLiteral(": ");
        EXPECT_TRUE(message.startsWith(prefix)) << message.toStdString();
        if (c.reason)
            EXPECT_EQ(message.mid(prefix.size()), QString::fromUtf8(c.reason));
        EXPECT_EQ(Table(m), before);
    }
    const QString empty = RawFile(QStringLiteral("empty.wri"), "\r\n\r\n");
    EXPECT_EQ(RaisedBy([&] { m.LoadNomenclatures(empty); }),
              QStringLiteral("Файл номенклатур ") + empty + QStringLiteral(" пуст"));
    const QString missing = Path(QStringLiteral("нет.wri"));
    ErrorInfo->clear();
    EXPECT_EQ(RaisedBy([&] { m.LoadNomenclatures(missing); }),
              QStringLiteral("Не найден файл номенклатур ") + missing);
    EXPECT_EQ(ErrorInfo->last(), QStringLiteral("Argument name=") + missing);
    EXPECT_EQ(Table(m), before);
}

// ---- The data folder --------------------------------------------------------------------

class NomenclatureDataTest : public NomenclatureTest {
protected:
    void SetUp() override
    {
        NomenclatureTest::SetUp();
        CopyDataFolder(QStringLiteral("номенклатуры"), Folder());
    }
};

// The default file names the kind-2 table the way the start-up reads it: the program
// folder, "номенклатуры" and the file's one line.
TEST_F(NomenclatureDataTest, DefaultNamesTheKind2Table)
{
    const QStringList lines = ReadTextFileLines(Path(QStringLiteral("номенклатуры/по умолчанию.wri")));
    ASSERT_EQ(lines.size(), 1);
    const QString name = ProgramFolder + QStringLiteral("номенклатуры") + lines[0];
    ASSERT_TRUE(FileExistsIgnoringCase(name)) << name.toStdString();
    Plan().LoadNomenclatures(name);
    EXPECT_EQ(Plan().Nomenclatures.Mode, 2);
    EXPECT_GT(Plan().Nomenclatures.GetCount(), 0);
}

TEST_F(NomenclatureDataTest, Kind2TableCoversTheFixturesAndTheBenchPlans)
{
    TGeoMap& m = Plan();
    m.LoadNomenclatures(Path(QStringLiteral("номенклатуры/Планшеты 2 км.wri")));
    // Every coordinate line of the fixture plans.
    const QRegularExpression pair(QStringLiteral("^\\$?(-?\\d+(?:[,.]\\d+)?) (-?\\d+(?:[,.]\\d+)?)$"));
    int seen = 0;
    for (const char* plan : {"full.500"}) {
        const QStringList lines =
            ReadTextFileLines(QStringLiteral(VELMORA_TEST_FIXTURES "/plans/") + QString::fromUtf8(plan));
        for (const QString& line : lines) {
            const QRegularExpressionMatch match = pair.match(line);
            if (!match.hasMatch())
                continue;
            ++seen;
            const Extended x = StrToFlt(match.captured(1));
            const Extended y = StrToFlt(match.captured(2));
            EXPECT_NE(m.CoordToNomenclature(x, y), QStringLiteral("?")) << line.toStdString();
        }
    }
    EXPECT_GT(seen, 30);
    // The synthetic plans: sheets of 500 m, four to a row, from (410000, 1320000), up to
    // two rows; their corners and points between.
    for (Extended x = 410000; x <= 411000; x += 500.0L / 7)
        for (Extended y = 1320000; y <= 1322000; y += 500.0L / 7)
            EXPECT_NE(m.CoordToNomenclature(x, y), QStringLiteral("?")) << double(x) << " " << double(y);
    EXPECT_NE(m.CoordToNomenclature(411000, 1322000), QStringLiteral("?"));
}

TEST_F(NomenclatureDataTest, Kind3TableReads)
{
    TGeoMap& m = Plan();
    m.LoadNomenclatures(Path(QStringLiteral("номенклатуры/Планшеты 3 км.wri")));
    EXPECT_EQ(m.Nomenclatures.Mode, 3);
    EXPECT_EQ(m.CoordToNomenclature(1, 1), QStringLiteral("301-Д-7"));
    EXPECT_EQ(m.CoordToNomenclature(1000.123L, 2000.457L), QStringLiteral("302-А-7"));
}
