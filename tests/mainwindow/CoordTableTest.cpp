// Objects from coordinate tables on the real main window: the commands each kind makes
// from the rows typed into the window, the codes kept for the next object, the mode left
// behind, and a bad row that leaves the plan as it was.
#include "FixtureSetup.h"
#include "MainWindowFixture.h"
#include "SurfaceTestSupport.h"

#include "controls/ExSpeedButton.h"
#include "dialogs/objects/UnitCreateCoordObj.h"
#include "platform/CodePage.h"
#include "semantics/codec/SemDialogs.h"
#include "support/TestHelpers.h"

#include <QFile>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class CoordTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run = std::make_unique<TMainWindowRun>(MessagesKept());
        Run->Start();
        TFormMap& form = Run->Form();
        FixDestination(form, QStringLiteral("Съемка"));
        SemDialogHooks().SemDlg = [this](int, int& lm, QString& sem) {
            Classified << QString::number(lm) + u':' + sem;
            if (!Chosen.isEmpty())
                sem = Chosen;
            return SemResult;
        };
        Before = int(CommandLog->size());
    }

    // The rows typed into the page's grid, then "Готово" clicked.
    void Make(TExSpeedButton* TFormCreateCoordObj::*kind, bool heights, const QStringList& rows)
    {
        TFormCreateCoordObj window(&Run->Form());
        (window.*kind)->SetDown(true);
        window.PageControl1->setCurrentWidget(heights ? window.TabSheet2 : window.TabSheet1);
        QTableWidget* grid = heights ? window.StringGrid2 : window.StringGrid1;
        for (int r = 0; r < rows.size(); ++r) {
            const QStringList cells = rows[r].split(u'|');
            for (int c = 0; c < cells.size(); ++c) {
                if (QTableWidgetItem* item = grid->item(r, c))
                    item->setText(cells[c]);
                else
                    grid->setItem(r, c, new QTableWidgetItem(cells[c]));
            }
        }
        EXPECT_EQ(grid->rowCount(), rows.size() + 1);
        QTest::mouseClick(window.ButtonOk, Qt::LeftButton);
        Result = window.result();
    }

    QStringList Take()
    {
        QStringList made = CommandLog->mid(Before);
        made.removeIf([](const QString& line) { return !line.startsWith(QStringLiteral("mcNew")) ||
                                                       line.startsWith(QStringLiteral("mcNewPage")) ||
                                                       line.startsWith(QStringLiteral("mcNewLayer")); });
        Before = int(CommandLog->size());
        return made;
    }

    QString Saved(const char* name)
    {
        Run->SaveAsName = Run->Folder() + QString::fromUtf8(name);
        EXPECT_TRUE(Run->Form().SaveAs());
        QFile file(Run->SaveAsName);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return DecodeCodePage(file.readAll());
    }

    std::unique_ptr<TMainWindowRun> Run;
    TSeparatorScope Separator{u'.'};
    QStringList Classified;
    QString Chosen;
    int SemResult = mrOk;
    int Result = 0;
    int Before = 0;
};

} // namespace

TEST_F(CoordTable, PicketsAreNumberedByTheirRows)
{
    TFormMap& form = Run->Form();
    form.CreatePrecision = 3;
    Make(&TFormCreateCoordObj::sbPiket, false, {"7|100,1234|200.5", "8|101|201"});
    EXPECT_EQ(Result, mrOk);
    EXPECT_TRUE(Classified.isEmpty());   // pickets need no choice
    const QStringList made = Take();
    ASSERT_EQ(made.size(), 2);
    EXPECT_TRUE(made[0].endsWith(QStringLiteral("<ПКТ/ИН7;><100.123><200.500><3><0.00><><0><0>"))) << made[0].toStdString();
    EXPECT_TRUE(made[1].endsWith(QStringLiteral("<ПКТ/ИН8;><101.000><201.000><3><0.00><><0><0>"))) << made[1].toStdString();
    EXPECT_EQ(form.PointCode, QStringLiteral("ПКТ/ИН8;"));

    Make(&TFormCreateCoordObj::sbPiket, true, {"12|10|20|154.30"});
    const QStringList withHeight = Take();
    ASSERT_EQ(withHeight.size(), 1);
    EXPECT_TRUE(withHeight[0].contains(QStringLiteral("<ПКТ/ИН12;ИВ154.30>"))) << withHeight[0].toStdString();
    EXPECT_TRUE(Run->Messages.empty());
}

TEST_F(CoordTable, PointsTakeTheChosenCodeWithTheirOwnRowsHeight)
{
    TFormMap& form = Run->Form();
    form.PointCode = QStringLiteral("ОТА/ИВ1;");
    Make(&TFormCreateCoordObj::sbPoint, true, {"1|10|20|154.3", "2|11|21|155"});
    EXPECT_EQ(Classified, QStringList(QStringLiteral("0:ОТА/ИВ1;")));
    const QStringList made = Take();
    ASSERT_EQ(made.size(), 2);
    EXPECT_TRUE(made[0].contains(QStringLiteral("<ОТА/ИВ154.3><10.00><20.00>"))) << made[0].toStdString();
    EXPECT_TRUE(made[1].contains(QStringLiteral("<ОТА/ИВ155><11.00><21.00>"))) << made[1].toStdString();
    EXPECT_EQ(form.PointCode, QStringLiteral("ОТА/ИВ1;"));

    // A table with only the spare row makes nothing, though the classifier opens.
    Classified.clear();
    Make(&TFormCreateCoordObj::sbPoint, false, {});
    EXPECT_EQ(Classified.size(), 1);
    // A cancelled classifier makes nothing.
    SemResult = mrCancel;
    Make(&TFormCreateCoordObj::sbPoint, false, {"1|10|20"});
    EXPECT_TRUE(Take().isEmpty());
}

TEST_F(CoordTable, OneLineAndOnePolygonThroughAllRows)
{
    TFormMap& form = Run->Form();
    Chosen = QStringLiteral("ДОР");
    const QStringList rows{"1|10|20", "2|30|40", "3|30|60"};
    Make(&TFormCreateCoordObj::sbLine, false, rows);
    Make(&TFormCreateCoordObj::sbPolygon, false, rows);
    const QStringList made = Take();
    ASSERT_EQ(made.size(), 2);
    EXPECT_TRUE(made[0].endsWith(QStringLiteral("<ДОР><><0><0.00><2><><[{10.00}{20.00}{0}{-1.00}{0}{-1}{0}{0}]"
                                                "[{30.00}{40.00}{0}{-1.00}{0}{-1}{0}{0}][{30.00}{60.00}{0}{-1.00}{0}{-1}{0}{0}]>")))
        << made[0].toStdString();
    // The polygon's automatic captions turned to the absolute angle 0.
    EXPECT_TRUE(made[1].endsWith(QStringLiteral("<ДОР><[{10.00}{20.00}{-1.00}{0}{0}{0}{0}][{30.00}{40.00}{-1.00}{0}{0}{0}{0}]"
                                                "[{30.00}{60.00}{-1.00}{0}{0}{0}{0}]><2><><0.00><0.00><><0>")))
        << made[1].toStdString();
    EXPECT_EQ(Classified, QStringList({QStringLiteral("1:"), QStringLiteral("2:")}));
    EXPECT_EQ(form.LineCode, QStringLiteral("ДОР"));
    EXPECT_EQ(form.PolygonCode, QStringLiteral("ДОР"));
    EXPECT_EQ(form.MouseMode, mmCreatePolygon);
    EXPECT_TRUE(form.CreateNodes.empty());
}

TEST_F(CoordTable, ABadRowLeavesThePlanAsItWas)
{
    RunCommands({"mcNewPage=<1>", "mcNewLayer=<0><Общий>", "mcNewPoint=<0><0><ОТА/ИВ1;><5><5><2><0><><0><0>"});
    const QString before = Saved("до.500");
    Before = int(CommandLog->size());
    Make(&TFormCreateCoordObj::sbPiket, true, {"1|10|20|100", "2|11|21|1,2,3"});
    EXPECT_EQ(Result, 0);   // the window stays open to be mended
    EXPECT_TRUE(Take().isEmpty());
    EXPECT_EQ(QStringList(Run->Messages.begin(), Run->Messages.end()),
              QStringList(QStringLiteral("Ошибка в таблице: Строка 2: H не число: \"1,2,3\"")));
    EXPECT_EQ(Saved("после.500"), before);
}
