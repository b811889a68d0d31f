// The tacheometry computation against cases worked by hand (d = S cos v, h = d tan v,
// X = X0 + d cos a, Y = Y0 + d sin a), the names with their codes, the number check and
// the import of one station into the tacheometric rows.
#include "SurveyTestSupport.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "platform/Platform.h"
#include "survey/tacheo/TaheoCalc.h"

#include <gtest/gtest.h>

using namespace UnitInputTaheo;

namespace {

// The locale's separator for one test.
class TSeparator {
public:
    explicit TSeparator(char c) : Saved(DecimalSeparator) { DecimalSeparator = QLatin1Char(c); }
    ~TSeparator() { DecimalSeparator = Saved; }

private:
    QChar Saved;
};

// A classic row: name, horizontal angle, S, sign, vertical angle, V.
QStringList Classic(const char* name, const char* g, const char* m, const char* s,
                    const char* sign = "+", const char* vg = "0", const char* vm = "0",
                    const char* v = "0")
{
    return {QString::fromUtf8(name), g, m, s, QString::fromUtf8(sign), vg, vm, v};
}

// A tacheometric row: name, S, V, horizontal angle, sign, vertical angle.
QStringList Taheo(const char* name, const char* s, const char* v, const char* g, const char* m,
                  const char* sign, const char* vg, const char* vm)
{
    return {QString::fromUtf8(name), s, v, g, m, QString::fromUtf8(sign), vg, vm};
}

// The rows with the entry row after them.
TTaheoRows WithEntry(TTaheoRows rows)
{
    rows << SetDefLine2(QStringLiteral("9"));
    return rows;
}

// Places texts at their first columns (from 1), padding with blanks.
QString Record(const char* code, std::initializer_list<std::pair<int, const char*>> fields,
               int length = 0)
{
    QString line = QString::fromLatin1(code);
    for (const auto& [column, text] : fields)
        line = line.leftJustified(column - 1, u' ') + QString::fromUtf8(text);
    return line.leftJustified(length, u' ');
}

} // namespace

TEST(TaheoCalc, NewRowsAndTheirNames)
{
    EXPECT_EQ(SetDefLine(QStringLiteral("5")),
              QStringList({"5", "0", "0", "0", "+", "0", "0", "0"}));
    EXPECT_EQ(SetDefLine2(QStringLiteral("5")),
              QStringList({"5", "0", "0", "0", "0", "+", "0", "0"}));
    struct Case { const char* name; const char* next; };
    const Case cases[] = {{"99", "100"}, {"1", "2"}, {"007", "8"}, {"A1", "1"}, {"", "1"},
                          {"12/K", "1"}, {"-3", "1"}, {"99999999999999999999999", "1"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(NextRowName(QString::fromUtf8(c.name)), QString::fromUtf8(c.next));
    }
}

TEST(TaheoCalc, NameAndCodeSplit)
{
    struct Case { const char* name; const char* part; const char* code; };
    const Case cases[] = {
        {"12", "12", ""},
        {"12/K5", "12", "ИИK5;"},
        {"12/забор 1", "12", "ИИзабор;"},
        {"12/", "12", ""},
        {"12/ x", "12", ""},
        {"/K", "", "ИИK;"},
        {"1/a/b", "1", "ИИa/b;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(NamePart(QString::fromUtf8(c.name)), QString::fromUtf8(c.part));
        EXPECT_EQ(CodeItem(QString::fromUtf8(c.name)), QString::fromUtf8(c.code));
    }
}

TEST(TaheoCalc, StrToFltTakesDigitsOneSeparatorAndALeadingSign)
{
    const TSeparator separator(',');
    struct Case { const char* text; bool ok; Extended value; };
    const Case cases[] = {
        {"12.5", true, 12.5L}, {"12,5", true, 12.5L}, {"-3", true, -3}, {"+0.25", true, 0.25L},
        {"7", true, 7}, {".5", true, 0.5L},
        {"", false, 0}, {"-", false, 0}, {".", false, 0}, {"1.2.3", false, 0}, {"1,2.3", false, 0},
        {" 1", false, 0}, {"1 ", false, 0}, {"1e3", false, 0}, {"1-", false, 0}, {"--1", false, 0},
        {"1 000", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        if (c.ok) {
            EXPECT_EQ(StrToFlt(QString::fromUtf8(c.text)), c.value);
            continue;
        }
        try {
            StrToFlt(QString::fromUtf8(c.text));
            ADD_FAILURE() << "accepted";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message, QStringLiteral("Некорректный вид вещественного числа в строковом формате"));
        }
    }
}

TEST(TaheoCalc, StrToFltLeavesItsTrail)
{
    const bool hadTrail = bool(ErrorInfo);
    if (!hadTrail)
        ErrorInfo = std::make_unique<QStringList>();
    const std::uint8_t savedLog = std::exchange(LogArguments, std::uint8_t(1));
    ErrorInfo->clear();
    EXPECT_THROW(StrToFlt(QStringLiteral("1x")), Exception);
    const QString trail = ErrorInfo->join(u'|');
    ErrorInfo->clear();
    LogArguments = savedLog;
    if (!hadTrail)
        ErrorInfo.reset();
    EXPECT_TRUE(trail.contains(QStringLiteral("Module name: UnitInputTaheo|function StrToFlt(const "
                                              "s:string):extended;|Argument s=1x")))
        << trail.toStdString();
}

// Orientation: measured angles from the orientation point or a direction angle, or
// direction angles as typed.
TEST(TaheoCalc, SightDirections)
{
    struct Case {
        const char* name;
        bool direction, byCoord, stationToPoint;
        Extended orX, orY;
        int alphaG;
        Extended alphaM, angle, expected;
    };
    const Case cases[] = {
        // From (100, 0) towards the station (0, 0) runs 180; 180 + 90 - 180.
        {"by point", false, true, false, 100, 0, 0, 0, 90, 90},
        {"by angle, point to station", false, false, false, 0, 0, 0, 0, 90, 270},
        {"by angle, station to point", false, false, true, 0, 0, 0, 0, 90, 90},
        {"by angle with minutes", false, false, false, 0, 0, 10, 30, 200, 30.5L},
        {"direction angles", true, true, false, 100, 0, 0, 0, 123.25L, 123.25L},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RTaheoSettings s;
        s.DirectionAngles = c.direction;
        s.OrientByCoord = c.byCoord;
        s.StationToPoint = c.stationToPoint;
        s.OrX = c.orX;
        s.OrY = c.orY;
        s.AlphaG = c.alphaG;
        s.AlphaM = c.alphaM;
        EXPECT_NEAR(double(SightDirection(c.angle, s)), double(c.expected), 1e-9);
    }
}

// One table of rows through the whole computation. Expected values worked by hand:
// - (0, 0) oriented on (100, 0), 90°00', 10 in the short form lands at (0, 10);
// - S 100, +30°00', V 1500, station 10, instrument 1.5: d = 86.60, h = 50.00, H = 60.00;
// - station (1000, 2000) on (1100, 2100): a0 = 225, 45°30.0' gives a = 90.5;
//   S 123.456, -2°15.0': d = 123.36082, h = -4.84686, H = 150 + 1.45 - 1.5 + h = 145.10314,
//   X = 998.92349, Y = 2123.35612; the same with a zenith angle of 92°15.0';
// - a zenith angle of 90° is a horizontal sight; 350° on the full circle is -10°.
TEST(TaheoCalc, RowsComputedAsWorkedByHand)
{
    const TSeparator separator(',');
    struct Case {
        const char* name;
        bool taheo, full;
        TVerticalCount vertical;
        Extended x0, y0, orX, orY, hst, i;
        QStringList row;
        Extended x, y, h, d;   // d: the horizontal distance from the station
        const char* sem;
    };
    const Case cases[] = {
        {"short form", false, false, vcNormal, 0, 0, 100, 0, 0, 0,
         Classic("1", "90", "0", "10"), 0, 10, 0, 10, "ПКТ/ИН1;"},
        {"full form", false, true, vcNormal, 0, 0, 100, 0, 10, 1.5L,
         Classic("7", "0", "0", "100", "+", "30", "0", "1500"), 86.6025404L, 0, 60, 86.6025404L,
         "ПКТ/ИН7;ИВ60,00;"},
        {"independent, classic", false, true, vcNormal, 1000, 2000, 1100, 2100, 150, 1.45L,
         Classic("3", "45", "30.0", "123.456", "-", "2", "15.0", "1500"), 998.9234874L,
         2123.3561227L, 145.1031402L, 123.3608199L, "ПКТ/ИН3;ИВ145,10;"},
        {"independent, zenith", true, true, vcZenith0, 1000, 2000, 1100, 2100, 150, 1.45L,
         Taheo("3/K1", "123,456", "1500", "45", "30", "+", "92", "15"), 998.9234874L,
         2123.3561227L, 145.1031402L, 123.3608199L, "ПКТ/ИН3;ИВ145,10;ИИK1;"},
        {"zenith 90", true, true, vcZenith0, 0, 0, 100, 0, 0, 0,
         Taheo("4", "25", "0", "0", "0", "+", "90", "0"), 25, 0, 0, 25, "ПКТ/ИН4;ИВ0,00;"},
        {"full circle 350", true, true, vc360, 0, 0, 100, 0, 0, 0,
         Taheo("5", "100", "0", "0", "0", "+", "350", "0"), 98.4807753L, 0, -17.3648178L,
         98.4807753L, "ПКТ/ИН5;ИВ-17,36;"},
        // The full circle and the zenith reading belong to the tacheometric grid only.
        {"classic ignores zenith", false, true, vcZenith0, 0, 0, 100, 0, 0, 0,
         Classic("6", "0", "0", "100", "+", "30", "0", "0"), 86.6025404L, 0, 50, 86.6025404L,
         "ПКТ/ИН6;ИВ50,00;"},
        // The classic grid drops the code after the slash.
        {"classic drops code", false, false, vcNormal, 0, 0, 100, 0, 0, 0,
         Classic("8/K1", "0", "0", "5"), 5, 0, 0, 5, "ПКТ/ИН8;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RTaheoSettings s;
        s.TaheoGrid = c.taheo;
        s.Full = c.full;
        s.Vertical = c.vertical;
        s.X0 = c.x0;
        s.Y0 = c.y0;
        s.OrX = c.orX;
        s.OrY = c.orY;
        s.Hst = c.hst;
        s.I = c.i;
        const auto objects = CalculateObjects(WithEntry({c.row}), s);
        ASSERT_EQ(objects.size(), 1u);
        const RTaheoObject& o = objects[0];
        EXPECT_NEAR(double(o.Position.X), double(c.x), 1e-6);
        EXPECT_NEAR(double(o.Position.Y), double(c.y), 1e-6);
        EXPECT_NEAR(double(o.H), double(c.h), 1e-6);
        const Extended dx = o.Position.X - c.x0, dy = o.Position.Y - c.y0;
        EXPECT_NEAR(std::sqrt(double(dx * dx + dy * dy)), double(c.d), 1e-6);
        EXPECT_EQ(o.Semantics, QString::fromUtf8(c.sem));
    }
}

// Only "-" exactly makes the vertical angle negative.
TEST(TaheoCalc, SignCell)
{
    struct Case { const char* sign; Extended h; };
    const Case cases[] = {{"-", -50}, {"+", 50}, {"–", 50}, {"-1", 50}, {"", 50}, {" -", 50}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sign);
        RTaheoSettings s;
        s.TaheoGrid = false;
        s.DirectionAngles = true;
        const auto objects = CalculateObjects(
            WithEntry({Classic("1", "0", "0", "100", c.sign, "30", "0", "0")}), s);
        ASSERT_EQ(objects.size(), 1u);
        EXPECT_NEAR(double(objects[0].H), double(c.h), 1e-9);
    }
}

TEST(TaheoCalc, SemanticsByObjectKindAndForm)
{
    const TSeparator separator('.');
    const TTaheoRows rows = WithEntry({Taheo("1/K", "10", "0", "0", "0", "+", "10", "0"),
                                       Taheo("2", "20", "0", "0", "0", "+", "10", "0"),
                                       Taheo("3", "30", "0", "0", "0", "+", "0", "0")});
    struct Case {
        TTaheoObjects objects;
        bool full;
        std::vector<const char*> sems;
    };
    const Case cases[] = {
        {toPiket, false, {"ПКТ/ИН1;ИИK;", "ПКТ/ИН2;", "ПКТ/ИН3;"}},
        {toPiket, true, {"ПКТ/ИН1;ИВ1.74;ИИK;", "ПКТ/ИН2;ИВ3.47;", "ПКТ/ИН3;ИВ0.00;"}},
        // Each height item is added to the chosen semantics afresh, never accumulated.
        {toPoint, true, {"ДРВ;ИВ1.74;", "ДРВ;ИВ3.47;", "ДРВ;ИВ0.00;"}},
        {toPoint, false, {"ДРВ", "ДРВ", "ДРВ"}},
        {toLine, true, {"ДРВ", "ДРВ", "ДРВ"}},
        {toPolygon, false, {"ДРВ", "ДРВ", "ДРВ"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.objects) * 10 + c.full);
        RTaheoSettings s;
        s.DirectionAngles = true;
        s.Objects = c.objects;
        s.Full = c.full;
        s.Sem = QStringLiteral("ДРВ");
        const auto objects = CalculateObjects(rows, s);
        ASSERT_EQ(objects.size(), c.sems.size());
        for (size_t i = 0; i < objects.size(); ++i)
            EXPECT_EQ(objects[i].Semantics, QString::fromUtf8(c.sems[i]));
    }
}

TEST(TaheoCalc, OnlyTheEntryRowGivesNothing)
{
    RTaheoSettings s;
    EXPECT_TRUE(CalculateObjects({SetDefLine2(QStringLiteral("1"))}, s).empty());
    EXPECT_TRUE(CalculateObjects({}, s).empty());
}

// Every cell read is checked before anything is returned; the message names the row
// and the column. Cells the form does not read are not checked.
TEST(TaheoCalc, BadCellsAreNamedAndNothingIsReturned)
{
    const QStringList good = Classic("1", "10", "0", "5", "+", "1", "0", "0");
    struct Case {
        const char* name;
        int column;
        const char* text;
        bool full;
        TTaheoObjects objects;
        const char* message;   // empty: accepted
    };
    const Case cases[] = {
        {"empty distance", 3, "", true, toPiket, "Строка 3, столбец 4: \"\" - не число"},
        {"fraction in degrees", 1, "10.5", true, toPiket, "Строка 3, столбец 2: \"10.5\" - не число"},
        {"word in minutes", 2, "abc", true, toPiket, "Строка 3, столбец 3: \"abc\" - не число"},
        {"bad V", 7, "1,5,0", true, toPiket, "Строка 3, столбец 8: \"1,5,0\" - не число"},
        {"bad V, short form", 7, "x", false, toPiket, ""},
        {"vertical degrees, short form", 5, "x", false, toPiket, ""},
        {"semicolon in a picket name", 0, "1;2", true, toPiket,
         "Строка 3: название \"1;2\" не может содержать символы ; < >"},
        {"bracket in a picket name", 0, "a<b", true, toPiket,
         "Строка 3: название \"a<b\" не может содержать символы ; < >"},
        {"semicolon in a point object's name", 0, "1;2", true, toPoint, ""},
        {"out of range", 3, "1e99999", true, toPiket, "Строка 3, столбец 4: \"1e99999\" - не число"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList bad = good;
        bad[c.column] = QString::fromUtf8(c.text);
        RTaheoSettings s;
        s.TaheoGrid = false;
        s.Full = c.full;
        s.Objects = c.objects;
        s.Sem = QStringLiteral("ДРВ");
        const TTaheoRows rows = WithEntry({good, good, bad, good});
        if (!*c.message) {
            EXPECT_EQ(CalculateObjects(rows, s).size(), 4u);
            continue;
        }
        try {
            CalculateObjects(rows, s);
            ADD_FAILURE() << "accepted";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message, QString::fromUtf8(c.message));
        }
    }
    // A chosen semantics that would shift the command fields.
    RTaheoSettings point;
    point.Objects = toPoint;
    point.Sem = QStringLiteral("ДРВ<1>");
    try {
        CalculateObjects({SetDefLine2("1")}, point);
        ADD_FAILURE() << "accepted";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, QStringLiteral("Семантика \"ДРВ<1>\" не может содержать символы < >"));
    }
    // The code after the slash on the tacheometric grid is checked as well.
    RTaheoSettings s;
    try {
        CalculateObjects(WithEntry({Taheo("1/a>b", "1", "0", "0", "0", "+", "0", "0")}), s);
        ADD_FAILURE() << "accepted";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, QStringLiteral("Строка 1: название \"1/a>b\" не может содержать символы ; < >"));
    }
}

TEST(TaheoCalc, LinesNeedTwoRowsAndPolygonsThree)
{
    const QStringList row = Classic("1", "10", "0", "5");
    struct Case { TTaheoObjects objects; int rows; const char* message; };
    const Case cases[] = {
        {toLine, 1, "Для линейного объекта нужны хотя бы 2 точки"},
        {toLine, 2, ""},
        {toPolygon, 2, "Для площадного объекта нужны хотя бы 3 точки"},
        {toPolygon, 3, ""},
        {toPoint, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        RTaheoSettings s;
        s.TaheoGrid = false;
        s.Objects = c.objects;
        TTaheoRows rows;
        for (int i = 0; i < c.rows; ++i)
            rows << row;
        rows = WithEntry(rows);
        if (!*c.message) {
            EXPECT_EQ(CalculateObjects(rows, s).size(), size_t(c.rows));
            continue;
        }
        try {
            CalculateObjects(rows, s);
            ADD_FAILURE() << "accepted";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message, QString::fromUtf8(c.message));
        }
    }
}

// ---- Import ----

TEST(TaheoImport, SdrStationIntoTacheometricRows)
{
    const TSeparator separator('.');
    const QString line02 = Record("02TP", {{5, "ST1"}, {69, "1.450"}}, 75);
    const QString nm = Record("03NM", {{5, "1.700"}}, 20);
    const QString f1 = Record("09F1", {{5, "ST1"}, {21, "P2"}, {37, "30.000"}, {53, "88.2500"},
                                       {69, "120.5000"}, {87, "K12"}});
    const QString f2 = Record("09F1", {{5, "ST1"}, {21, "P3"}, {37, "12.500"}, {53, "91.0000"},
                                       {69, "300.0000"}}, 84);
    const TTotalStationFile file({line02, nm, f1, f2, line02}, TTotalStationFormat::Sdr);
    TTaheoRows rows;
    QString height = QStringLiteral("9");
    ImportStation(file, 0, rows, height);
    EXPECT_EQ(height, QStringLiteral("1.450"));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0], QStringList({"P2/K12", "30.000", "1700", "120", "30.000", "+", "88", "15.000"}));
    EXPECT_EQ(rows[1], QStringList({"P3", "12.500", "1700", "300", "0.000", "+", "91", "0.000"}));
    EXPECT_EQ(rows[2], SetDefLine2(QStringLiteral("1")));

    // The second station has no observation: one default row.
    ImportStation(file, 1, rows, height);
    EXPECT_EQ(rows, TTaheoRows({SetDefLine2(QStringLiteral("1"))}));
}

TEST(TaheoImport, Dc1StationRowsStartFromDefaults)
{
    const TSeparator separator('.');
    const TTotalStationFile file(
        {"STA S1", "INH 1.55", "PPD 1", "RTD 10.5", "RTV 89.5", "RTH 120.25", "PPH 1.3",
         "PPD 2", "RTD 7,25", "RTH 200", "PPD 3", "RTD", "RTV 91"},
        TTotalStationFormat::Dc1);
    TTaheoRows rows;
    QString height;
    ImportStation(file, 0, rows, height);
    EXPECT_EQ(height, QStringLiteral("1.55"));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0], QStringList({"1", "10.5", "1300", "120", "15.000", "+", "89", "30.000"}));
    // No vertical angle and no target height: the row's defaults stay.
    EXPECT_EQ(rows[1], QStringList({"2", "7,25", "0", "200", "0.000", "+", "0", "0"}));
    EXPECT_EQ(rows[2], SetDefLine2(QStringLiteral("3")));
}

TEST(TaheoImport, MalformedAngleStopsAtItsObservation)
{
    const TTotalStationFile file({"STA S1", "PPD 1", "RTD 10", "RTH 10", "PPD 2", "RTD 5",
                                  "RTH 1x", "PPD 3", "RTD 5"},
                                 TTotalStationFormat::Dc1);
    TTaheoRows rows;
    QString height = QStringLiteral("2");
    try {
        ImportStation(file, 0, rows, height);
        ADD_FAILURE() << "accepted";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, QStringLiteral("Некорректный вид вещественного числа в строковом формате"));
    }
    EXPECT_EQ(height, QStringLiteral("2"));   // no INH in the block
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][0], QStringLiteral("1"));
    EXPECT_EQ(rows[1][0], QStringLiteral("2"));
}
