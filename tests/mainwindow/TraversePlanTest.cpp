// The traverse window's plan buttons over the main window's plan: the points each
// closure type puts there, as journal lines and in the saved plan, and the tables that
// are refused whole.
#include "MainWindowFixture.h"

#include "foundation/StringNum.h"
#include "platform/CodePage.h"
#include "survey/UnitTheodolit.h"

#include <QFile>
#include <QRegularExpression>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace {

class TraversePlanRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.Start();
        TFormMap& form = Run.Form();
        form.DestAutoPage = 0;
        form.DestPageName = QStringLiteral("Лист 1");
        form.DestAutoLayer = 0;
        form.DestLayerName = QStringLiteral("Геодезия");
    }

    // The traverse A, B, P1, P2, C, D with its coordinates, under closure type type.
    static void Fill(TFormTheodolit& w, int type)
    {
        w.PointsCount->setValue(2);
        QRadioButton* const radios[] = {w.RadioButton1, w.RadioButton2, w.RadioButton3};
        radios[type - 1]->setChecked(true);
        w.RadioButton1Click();
        struct RPoint { int row; const char* name; const char* x; const char* y; };
        for (const RPoint& p : {RPoint{1, "A", "6100500.000", "4300200.000"},
                                RPoint{3, "B", "6100000.000", "4300000.000"},
                                RPoint{5, "P1", "6100100.125", "4300240.5"},
                                RPoint{7, "P2", "6100150,25", "4300480.000"},
                                RPoint{9, "C", "6100230.560", "4300640.210"},
                                RPoint{11, "D", "6100700.000", "4300900.000"}}) {
            w.Table.SetCell(p.row, 0, QString::fromUtf8(p.name));
            w.Table.SetCell(p.row, 22, QString::fromUtf8(p.x));
            w.Table.SetCell(p.row, 23, QString::fromUtf8(p.y));
        }
        w.TableToGrid();
    }

    // The journal lines added since the last call.
    QStringList NewLines()
    {
        const QStringList lines = CommandLog->mid(Seen);
        Seen = int(CommandLog->size());
        return lines;
    }

    static QString Point(const char* sem, const char* name, const char* x, const char* y)
    {
        QString line = QStringLiteral("mcNewPoint=<0><0><") + QString::fromUtf8(sem) +
                       QString::fromUtf8(name) + "><" + QString::fromUtf8(x) + "><" +
                       QString::fromUtf8(y) + "><2><0,00><><0><0>";
        return line.replace(QLatin1Char(','), DecimalSeparator);
    }
    static QStringList Points(const QStringList& lines)
    {
        return lines.filter(QRegularExpression(QStringLiteral("^mcNewPoint=")));
    }

    TMainWindowRun Run{[] {
        TMainWindowRun::TOptions o;
        o.CollectMessages = true;
        return o;
    }()};
    int Seen = 0;
};

const char* const Source = "ПУН/Ф011;Н021;ИН";
const char* const Station = "ТОЧ/Ф010;ИН";

} // namespace

TEST_F(TraversePlanRun, SourcePointsByClosureTypeReachTheJournalAndThePlanFile)
{
    const QString a = Point(Source, "A", "6100500,00", "4300200,00");
    const QString b = Point(Source, "B", "6100000,00", "4300000,00");
    const QString c = Point(Source, "C", "6100230,56", "4300640,21");
    const QString d = Point(Source, "D", "6100700,00", "4300900,00");
    struct RCase { int type; QStringList points; };
    const RCase cases[] = {{1, {a, b, c, d}}, {2, {a, b, c}}, {3, {a, b}}};
    for (const RCase& k : cases) {
        SCOPED_TRACE(k.type);
        TFormTheodolit w;
        Fill(w, k.type);
        NewLines();
        MainMap->DrawnCount = -1;
        w.BitBtn1Click();
        const QStringList lines = NewLines();
        EXPECT_EQ(Points(lines), k.points) << lines.join("\n").toStdString();
        EXPECT_GE(MainMap->DrawnCount, 0) << "the plan is redrawn after the points";
    }
    EXPECT_TRUE(Run.Messages.empty());

    TFormTheodolit w;
    Fill(w, 1);
    NewLines();
    w.BitBtn2Click();
    EXPECT_EQ(Points(NewLines()), QStringList({Point(Station, "P1", "6100100,13", "4300240,50"),
                                               Point(Station, "P2", "6100150,25", "4300480,00")}));

    Run.SaveAsName = Run.Folder() + QStringLiteral("ход.500");
    ASSERT_TRUE(Run.Form().SaveAs());
    QFile file(Run.SaveAsName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString plan = DecodeCodePage(file.readAll());
    EXPECT_TRUE(plan.contains(QStringLiteral("Геодезия")));
    EXPECT_TRUE(plan.contains(QStringLiteral("ТОЧ/Ф010;ИНP2")));
    EXPECT_TRUE(plan.contains(QStringLiteral("ПУН/Ф011;Н021;ИНD")));
    EXPECT_TRUE(plan.contains(QStringLiteral("$") + XYtoString2(6100150.25L, 4300480))) << plan.toStdString();
}

TEST_F(TraversePlanRun, TableWithAGapCreatesNothing)
{
    struct RCase {
        const char* what;
        int row, col;
        const char* text;
        bool traverse;          // the traverse points' button, else the source points'
        const char* message;
    };
    const RCase cases[] = {
        {"P2 without X", 7, 22, "", true,
         "Проверьте таблицу: не все координаты вычислены (строка 7 \"P2\")"},
        {"P2 with a letter", 7, 23, "4300480.0a", true,
         "Проверьте таблицу: не все координаты вычислены (строка 7 \"P2\")"},
        {"D without Y", 11, 23, "", false,
         "Проверьте таблицу: не все координаты вычислены (строка 11 \"D\")"},
        {"P1 named with <", 5, 0, "P<1>", true,
         "Проверьте таблицу: название точки в строке 5 содержит недопустимый знак "
         "(\";\", \"<\" или \">\")"},
        {"B named with ;", 3, 0, "B;2", false,
         "Проверьте таблицу: название точки в строке 3 содержит недопустимый знак "
         "(\";\", \"<\" или \">\")"},
    };
    for (const RCase& k : cases) {
        SCOPED_TRACE(k.what);
        Run.Messages.clear();
        TFormTheodolit w;
        Fill(w, 1);
        w.Table.SetCell(k.row, k.col, QString::fromUtf8(k.text));
        NewLines();
        if (k.traverse)
            w.BitBtn2Click();
        else
            w.BitBtn1Click();
        EXPECT_TRUE(NewLines().isEmpty());
        ASSERT_EQ(Run.Messages.size(), 1u);
        EXPECT_EQ(Run.Messages[0], QString::fromUtf8(k.message));
    }
}
