// The traverse adjustment on its table of texts. The worked traverses come from
// traverse_reference.py beside this file (50-digit arithmetic, written apart from the
// program); run it by hand to see their numbers.
#include "SurveyTestSupport.h"
#include "survey/TraverseTable.h"

#include <gtest/gtest.h>

namespace {

struct RPointRow {
    const char* name;
    const char* g;   // horizontal angle; "" for none
    const char* m;
    const char* s;
    const char* x;   // "" for none
    const char* y;
};

// Fills the point rows 1, 3, 5, … in order and the horizontal distances of the legs
// B→P1 … (rows 4, 6, …).
void Fill(TTraverseTable& t, std::initializer_list<RPointRow> points,
          std::initializer_list<const char*> legs)
{
    int row = 1;
    for (const RPointRow& p : points) {
        t.SetCell(row, 0, p.name);
        t.SetCell(row, 1, p.g);
        t.SetCell(row, 2, p.m);
        t.SetCell(row, 3, p.s);
        t.SetCell(row, 22, p.x);
        t.SetCell(row, 23, p.y);
        row += 2;
    }
    row = 4;
    for (const char* d : legs) {
        t.SetCell(row, 8, d);
        row += 2;
    }
}

// A direction typed into cells 9..11 of a leg row.
void TypeDirection(TTraverseTable& t, int row, const char* g, const char* m, const char* s)
{
    t.SetCell(row, 9, g);
    t.SetCell(row, 10, m);
    t.SetCell(row, 11, s);
}

QStringList Angle(const TTraverseTable& t, int row, int firstCol)
{
    return {t.Cell(row, firstCol), t.Cell(row, firstCol + 1), t.Cell(row, firstCol + 2)};
}

QStringList Cells(const TTraverseTable& t, int row, int firstCol, int lastCol)
{
    QStringList out;
    for (int c = firstCol; c <= lastCol; ++c)
        out << t.Cell(row, c);
    return out;
}

// A, B, P1, P2, C, D of the worked example: closure type 1, n = 2.
TTraverseTable Anchored()
{
    TTraverseTable t(2);
    Fill(t,
         {{"A", "", "", "", "6100500.000", "4300200.000"},
          {"B", "+38", "28", "28", "6100000.000", "4300000.000"},
          {"P1", "-140", "56", "00", "", ""},
          {"P2", "+131", "31", "24", "", ""},
          {"C", "+158", "05", "47", "6100230.560", "4300640.210"},
          {"D", "", "", "", "6100700.000", "4300900.000"}},
         {"242.731", "247.828", "238.369"});
    return t;
}

// n = 4 along one typed direction 10°: every angle 180° but the one at C, which
// decides the misclosure. A and D have no coordinates, so both directions stay typed.
TTraverseTable Straight(const char* cSeconds)
{
    TTraverseTable t(4);
    Fill(t,
         {{"A", "", "", "", "", ""},
          {"B", "180", "0", "0", "1000", "2000"},
          {"P1", "180", "0", "0", "", ""},
          {"P2", "180", "0", "0", "", ""},
          {"P3", "180", "0", "0", "", ""},
          {"P4", "180", "0", "0", "", ""},
          {"C", "180", "0", cSeconds, "1492.404", "2086.824"},
          {"D", "", "", "", "", ""}},
         {"100", "100", "100", "100", "100"});
    TypeDirection(t, 2, "10", "0", "0");
    TypeDirection(t, 14, "10", "0", "0");
    return t;
}

} // namespace

TEST(TraverseTable, RowsFollowThePointsCount)
{
    struct Case { int n, rows; };
    const Case cases[] = {{4, 17}, {1, 11}, {0, 11}, {1000, 2009}, {1001, 2009}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        TTraverseTable t(c.n);
        EXPECT_EQ(t.RowCount(), c.rows);
        EXPECT_EQ(t.Cell(0, 23), "23");
    }
    TTraverseTable t(4);
    t.SetCell(5, 0, "P1");
    t.SetPointsCount(6);
    EXPECT_EQ(t.Cell(5, 0), "P1");
    EXPECT_EQ(t.RowCount(), 21);
}

TEST(TraverseTable, WrittenFormats)
{
    // 3 decimals of the full value: a 7-digit coordinate keeps its millimetres.
    EXPECT_EQ(TTraverseTable::LengthText(6100120.3484L), "6100120.348");
    EXPECT_EQ(TTraverseTable::LengthText(412345.678L), "412345.678");
    EXPECT_EQ(TTraverseTable::LengthText(-0.0004L), "0.000");
    struct Case { Extended deg; QStringList parts; };
    const Case cases[] = {
        {28.5L, {"28", "30", "0"}},
        {-7 / 3600.0L, {"0", "0", "-7"}},
        {-(1 + 2 / 60.0L + 3 / 3600.0L), {"-1", "-2", "-3"}},
        {10 + 59.6L / 3600, {"10", "1", "0"}},   // 59.6″ carries instead of showing 60
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(double(c.deg));
        EXPECT_EQ(TTraverseTable::AngleTexts(c.deg), c.parts);
    }
}

TEST(TraverseTable, WorkedAnchoredTraverse)
{
    TMessages messages;
    TTraverseTable t = Anchored();
    ASSERT_TRUE(t.ComputeTraverse());
    EXPECT_TRUE(messages.Shown.isEmpty());
    const int last = 12;
    EXPECT_EQ(Angle(t, last, 9), (QStringList{"f=0", "0", "7"}));
    EXPECT_EQ(t.Cell(4, 12), "-3\"");
    EXPECT_EQ(t.Cell(6, 12), "-2\"");
    EXPECT_EQ(t.Cell(8, 12), "-2\"");
    EXPECT_EQ(t.Cell(last, 8), "[728.928]");
    EXPECT_EQ(t.Cell(last, 7), " Длина хода ");
    EXPECT_EQ(t.Cell(last, 16), "fx=0.020");
    EXPECT_EQ(t.Cell(last, 17), "fy=0.014");
    EXPECT_EQ(t.Cell(last, 19), "точн.");
    EXPECT_EQ(t.Cell(last, 20), "1:30465");
    EXPECT_EQ(Cells(t, 4, 16, 17), (QStringList{"120.355", "210.791"}));
    EXPECT_EQ(Cells(t, 6, 16, 17), (QStringList{"-40.226", "244.542"}));
    EXPECT_EQ(Cells(t, 8, 16, 17), (QStringList{"150.450", "184.891"}));
    EXPECT_EQ(Cells(t, 5, 22, 23), (QStringList{"6100120.348", "4300210.786"}));
    EXPECT_EQ(Cells(t, 7, 22, 23), (QStringList{"6100080.115", "4300455.323"}));
    EXPECT_EQ(Cells(t, 9, 22, 23), (QStringList{"6100230.560", "4300640.210"}));
    // The closing leg shows the given direction twice, C the computed one.
    EXPECT_EQ(t.Cell(10, 8), "        теор.");
    EXPECT_EQ(t.Cell(9, 8), "        практ.");
    EXPECT_EQ(Angle(t, 10, 9), Angle(t, 10, 13));
    EXPECT_EQ(Angle(t, 2, 9), (QStringList{"201", "48", "5"}));
    EXPECT_EQ(Cells(t, 9, 15, 17), (QStringList{"сум.", "230.580", "640.224"}));
    // The sums of the written increments plus their corrections.
    EXPECT_EQ(Cells(t, 9, 20, 21), (QStringList{"230.559", "640.210"}));
    EXPECT_EQ(Cells(t, 11, 15, 17), (QStringList{"теор.", "230.560", "640.210"}));
}

TEST(TraverseTable, WorkedClosedLoop)
{
    // It leaves B and returns to it: C = B, D = A.
    TMessages messages;
    TTraverseTable t(3);
    Fill(t,
         {{"A", "", "", "", "5240.000", "5010.000"},
          {"B", "+85", "18", "33", "5000.000", "5000.000"},
          {"P1", "-107", "5", "39", "", ""},
          {"P2", "-81", "2", "44", "", ""},
          {"P3", "-94", "6", "41", "", ""},
          {"B", "-163", "3", "27", "5000.000", "5000.000"},
          {"A", "", "", "", "5240.000", "5010.000"}},
         {"310.656", "278.028", "327.888", "319.462"});
    ASSERT_TRUE(t.ComputeTraverse());
    const int last = 14;
    EXPECT_EQ(Angle(t, last, 9), (QStringList{"f=0", "0", "2"}));
    EXPECT_EQ(Cells(t, 4, 12, 12) + Cells(t, 6, 12, 12) + Cells(t, 8, 12, 12) + Cells(t, 10, 12, 12),
              (QStringList{"-1\"", "-1\"", "0\"", "0\""}));
    EXPECT_EQ(Cells(t, 5, 22, 23), (QStringList{"5012.491", "5310.403"}));
    EXPECT_EQ(Cells(t, 7, 22, 23), (QStringList{"4750.245", "5402.750"}));
    EXPECT_EQ(Cells(t, 9, 22, 23), (QStringList{"4690.797", "5080.293"}));
    EXPECT_EQ(t.Cell(last, 20), "1:75029");
    EXPECT_EQ(Cells(t, 11, 22, 23), (QStringList{"5000.000", "5000.000"}));
}

TEST(TraverseTable, AngularCorrectionsGoRoundFromTheFirstAngle)
{
    struct Case { const char* cSeconds; const char* f; QStringList corrections; };
    const Case cases[] = {
        {"7", "7", {"-2\"", "-2\"", "-1\"", "-1\"", "-1\""}},
        {"-5", "-5", {"1\"", "1\"", "1\"", "1\"", "1\""}},
        {"0.4", "0", {"0\"", "0\"", "0\"", "0\"", "0\""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cSeconds);
        TMessages messages;
        TTraverseTable t = Straight(c.cSeconds);
        ASSERT_TRUE(t.ComputeTraverse());
        EXPECT_EQ(t.RowCount(), 17);
        EXPECT_EQ(t.Cell(16, 11), c.f);
        QStringList corrections;
        for (int row = 4; row <= 12; row += 2)
            corrections << t.Cell(row, 12);
        EXPECT_EQ(corrections, c.corrections);
        // Pn→C carries every correction; C→D shows the given direction in both places.
        EXPECT_EQ(Angle(t, 14, 9), (QStringList{"10", "0", "0"}));
        EXPECT_EQ(Angle(t, 14, 13), (QStringList{"10", "0", "0"}));
        EXPECT_EQ(t.Cell(14, 8), "        теор.");
    }
    TMessages messages;
    TTraverseTable t = Straight("7");
    ASSERT_TRUE(t.ComputeTraverse());
    EXPECT_EQ(Angle(t, 12, 9), (QStringList{"10", "0", "0"}));
    EXPECT_EQ(Angle(t, 12, 13), (QStringList{"9", "59", "53"}));
    EXPECT_EQ(Angle(t, 13, 9), (QStringList{"10", "0", "7"}));   // computed C→D at C
}

// Guards the misclosure across north: closing 0°00′05″ against a computed 359°59′58″
// is −7″, not 359°59′53″ and a million seconds of corrections.
TEST(TraverseTable, MisclosureAcrossNorth)
{
    TMessages messages;
    TTraverseTable t(1);
    Fill(t,
         {{"A", "", "", "", "", ""},
          {"B", "180", "0", "0", "0", "0"},
          {"P1", "180", "0", "0", "", ""},
          {"C", "180", "0", "0", "200", "0"},
          {"D", "", "", "", "", ""}},
         {"100", "100"});
    TypeDirection(t, 2, "359", "59", "58");
    TypeDirection(t, 8, "0", "0", "5");
    ASSERT_TRUE(t.ComputeTraverse());
    EXPECT_EQ(Angle(t, 10, 9), (QStringList{"f=0", "0", "-7"}));
    EXPECT_EQ(t.Cell(4, 12), "4\"");
    EXPECT_EQ(t.Cell(6, 12), "3\"");
}

TEST(TraverseTable, TypedDirections)
{
    struct Case {
        bool aHasCoordinates;
        bool typed;
        QStringList row2;   // cells 9..11 after the calculation
        QString message;
    };
    const Case cases[] = {
        // Points give the direction: the typed one is cleared and A→B written.
        {true, true, {"201", "48", "5"}, ""},
        // No points: the typed one is used and stays as typed.
        {false, true, {"201", "48", "5.07"}, ""},
        {false, false, {"", "", ""}, "Проверьте таблицу!|Невозможно определить исходный дир.угол"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row2.join(' ').toStdString());
        TMessages messages;
        TTraverseTable t = Anchored();
        if (!c.aHasCoordinates) {
            t.SetCell(1, 22, "");
            t.SetCell(1, 23, "");
        }
        if (c.typed)
            TypeDirection(t, 2, "201", "48", "5.07");
        EXPECT_EQ(t.ComputeTraverse(), c.message.isEmpty());
        EXPECT_EQ(Angle(t, 2, 9), c.row2);
        EXPECT_EQ(messages.Shown.join('/'), c.message);
    }
}

TEST(TraverseTable, ClosureTypesTwoAndThree)
{
    TMessages messages;
    TTraverseTable two = Anchored();
    two.SetClosureType(2);
    ASSERT_TRUE(two.ComputeTraverse());
    EXPECT_EQ(Cells(two, 11, 22, 23), (QStringList{"", ""}));   // D emptied
    EXPECT_EQ(two.Cell(12, 9), "");
    for (int row = 2; row <= 12; ++row)
        EXPECT_EQ(Cells(two, row, 12, 14), (QStringList{"", "", ""})) << row;
    EXPECT_EQ(two.Cell(10, 15), "");
    EXPECT_FALSE(two.Cell(4, 18).isEmpty());
    EXPECT_TRUE(two.Cell(12, 16).startsWith("fx="));
    EXPECT_TRUE(two.Cell(12, 20).startsWith("1:"));
    EXPECT_EQ(Cells(two, 9, 22, 23), (QStringList{"6100230.560", "4300640.210"}));

    TTraverseTable three = Anchored();
    three.SetClosureType(3);
    ASSERT_TRUE(three.ComputeTraverse());
    EXPECT_EQ(Cells(three, 9, 22, 23), (QStringList{"", ""}));   // C emptied
    for (int row = 4; row <= 6; row += 2) {
        EXPECT_EQ(Cells(three, row, 18, 19), (QStringList{"", ""}));
        EXPECT_EQ(Cells(three, row, 20, 21), Cells(three, row, 16, 17));
    }
    EXPECT_EQ(three.Cell(8, 16), "");   // n legs only
    EXPECT_FALSE(three.Cell(7, 22).isEmpty());
    EXPECT_EQ(Cells(three, 12, 16, 20), (QStringList{"", "", "", "", ""}));
    EXPECT_EQ(Cells(three, 11, 15, 17), (QStringList{"", "", ""}));
    EXPECT_TRUE(messages.Shown.isEmpty());
}

TEST(TraverseTable, HorizontalDistanceFromSlope)
{
    TTraverseTable t(1);
    t.SetCell(4, 7, "100");
    t.SetCell(4, 4, "-2");
    t.SetCell(4, 5, "30");
    t.SetCell(4, 6, "0");
    t.SetCell(6, 7, "");
    t.SetCell(6, 8, "55.5");
    t.ComputeHorizontalDistances();
    EXPECT_EQ(t.Cell(4, 8), "99.905");   // 100 × cos 2.5°
    EXPECT_EQ(t.Cell(6, 8), "55.5");
    t.SetCell(4, 4, "2");
    t.ComputeHorizontalDistances();
    EXPECT_EQ(t.Cell(4, 8), "99.905");
}

TEST(TraverseTable, RightAngleWithZeroDegrees)
{
    TTraverseTable t(1);
    t.SetClosureType(3);
    t.SetCell(3, 1, "-0");
    t.SetCell(3, 2, "30");
    t.SetCell(3, 3, "00");
    ASSERT_TRUE(t.ReadTraverseAngles());
    EXPECT_EQ(t.Angles.at(0), -0.5L);
}

TEST(TraverseTable, RelativeAccuracy)
{
    // Straight north, type 2: ΣDX = the legs, and C lies fx short of it.
    struct Case { const char* leg; const char* xc; const char* accuracy; };
    const Case cases[] = {
        {"1000", "1999.992", "<1:100000"},   // 1/250000
        {"617.28", "1234.460", "1:12346"},   // 1/12345.6
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.accuracy);
        TMessages messages;
        TTraverseTable t(1);
        t.SetClosureType(2);
        Fill(t,
             {{"A", "", "", "", "", ""},
              {"B", "180", "0", "0", "0", "0"},
              {"P1", "180", "0", "0", "", ""},
              {"C", "", "", "", c.xc, "0"}},
             {c.leg, c.leg});
        TypeDirection(t, 2, "0", "0", "0");
        ASSERT_TRUE(t.ComputeTraverse());
        EXPECT_EQ(t.Cell(10, 20), c.accuracy);
    }
}

TEST(TraverseTable, RefusalsNameWhatIsMissing)
{
    const QString end = "Невозможно определить конечный дир.угол";
    const QString first = "Невозможно прочитать координаты начальной точки";
    const QString closing = "Невозможно прочитать координаты конечной точки, возможно некорректно "
                            "заполнены столбцы координат в предпоследней строке";
    const QString legs = "нехватает расстояний либо проложений";
    const QString angles = "некорректный ввод в измеренных углах";
    // typed: A and D without coordinates, both directions typed, so the points are
    // checked on their own.
    struct Case { int row, col; const char* text; QString message; bool typed = false; };
    const Case cases[] = {
        {11, 22, "", end},
        {3, 23, "x", first, true},
        {9, 22, "", closing, true},
        {6, 8, "", legs},
        // Thousand separators are refused by the check, not by the conversion.
        {6, 8, "1 247,828", legs},
        {6, 8, "-.", legs},
        {5, 2, "5.5", angles},
        {5, 3, "", angles},
        {5, 1, "1e3", angles},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TMessages messages;
        TTraverseTable t = Anchored();
        if (c.typed) {
            for (int row : {1, 11})
                for (int col : {22, 23})
                    t.SetCell(row, col, "");
            TypeDirection(t, 2, "1", "1", "1");
            TypeDirection(t, 10, "1", "1", "1");
        }
        t.SetCell(c.row, c.col, c.text);
        EXPECT_FALSE(t.ComputeTraverse());
        EXPECT_EQ(messages.Shown, QStringList{"Проверьте таблицу!|" + c.message});
    }
}

// Guards the division by the traverse length: legs adding up to nothing would spread
// infinities over the table.
TEST(TraverseTable, LegsAddingUpToZeroAreRefused)
{
    TMessages messages;
    TTraverseTable t = Anchored();
    for (int row = 4; row <= 8; row += 2)
        t.SetCell(row, 8, "0");
    EXPECT_FALSE(t.ComputeTraverse());
    EXPECT_EQ(messages.Shown,
              QStringList{"Проверьте таблицу!|нехватает расстояний либо проложений"});
    EXPECT_EQ(t.Cell(5, 22), "");
}

TEST(TraverseTable, ClearingKeepsInputOnly)
{
    TMessages messages;
    TTraverseTable t = Anchored();
    t.SetCell(6, 7, "247.830");   // a slope distance: its horizontal one is computed
    ASSERT_TRUE(t.ComputeTraverse());
    t.ClearComputedCells();
    for (int row = 1; row <= 12; ++row) {
        SCOPED_TRACE(row);
        for (int c = 12; c <= 21; ++c)
            EXPECT_EQ(t.Cell(row, c), "");
        if (row != 1 && row != 3 && row != 9 && row != 11) {
            EXPECT_EQ(Cells(t, row, 22, 23), (QStringList{"", ""}));
        }
    }
    EXPECT_EQ(t.Cell(6, 8), "");
    EXPECT_EQ(t.Cell(4, 8), "242.731");
    EXPECT_EQ(Cells(t, 12, 7, 11), (QStringList{"", "", "", "", ""}));
    EXPECT_EQ(Cells(t, 9, 22, 23), (QStringList{"6100230.560", "4300640.210"}));
}
