// The tacheometry window on the main window's plan: the commands OK gives for pickets,
// point objects, a line and a polygon, where they go, and what a bad cell or a refused
// sheet name leaves behind.
#include "MainWindowFixture.h"

#include "controls/ExSpeedButton.h"
#include "foundation/ui/NumEdit.h"
#include "semantics/codec/SemDialogs.h"
#include "survey/tacheo/TaheoCreate.h"
#include "survey/tacheo/UnitInputTaheo.h"

#include <QBuffer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest/QTest>
#include <gtest/gtest.h>

using namespace UnitInputTaheo;

namespace {

class Tacheometry : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run.Start();
        SavedSeparator = DecimalSeparator;
        DecimalSeparator = u'.';
        TSemDialogHooks sem;
        sem.SemDlg = [this](int mode, int& lm, QString& s) {
            SemCalls << QStringLiteral("%1|%2|%3").arg(mode).arg(lm).arg(s);
            s = Chosen;
            return mrOk;
        };
        SemScope = std::make_unique<TScopedSemDialogHooks>(sem);
        TDialogHooks hooks = DialogHooks();
        hooks.MessageDlg = [this](const QString& text, TMsgDlgType) {
            Errors << text;
            return mrOk;
        };
        hooks.InpStr = [this](QString& value, const QString& caption, const QString&) {
            SheetQuestions << caption;
            value = SheetAnswer;
            return SheetResult;
        };
        DialogScope = std::make_unique<TScopedDialogHooks>(hooks);
        Before = int(CommandLog->size());
    }
    void TearDown() override { DecimalSeparator = SavedSeparator; }

    // The journal lines since the set-up.
    QStringList Lines() const { return CommandLog->mid(Before); }

    QByteArray Native()
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        MainMap->WriteDataToDevice(buffer);
        return buffer.data();
    }

    // The station (1000, 2000) on the orientation point (1100, 2100), elevation 150,
    // instrument 1.45, with rows on the tacheometric grid; then OK.
    void Ok(TFormInputTaheo& form, const TTaheoRows& rows)
    {
        form.EditStantionX->SetFloatValue(1000);
        form.EditStantionY->SetFloatValue(2000);
        form.PointOr_X->SetFloatValue(1100);
        form.PointOr_Y->SetFloatValue(2100);
        form.neHst->SetFloatValue(150);
        form.neI->SetFloatValue(1.45L);
        form.rbZ0->setChecked(true);
        form.SetGridRows(form.StringGrid2, rows);
        QTest::mouseClick(form.ButtonOk, Qt::LeftButton);
    }

    TMainWindowRun Run;
    QChar SavedSeparator;
    std::unique_ptr<TScopedSemDialogHooks> SemScope;
    std::unique_ptr<TScopedDialogHooks> DialogScope;
    int Before = 0;
    QString Chosen = QStringLiteral("ГОР");
    QStringList SemCalls, Errors, SheetQuestions;
    QString SheetAnswer;
    int SheetResult = mrCancel;
};

// Row (name, S, horizontal angle) with the zenith angle 92°15.0' and V 1500.
QStringList Row(const char* name, const char* s, const char* g, const char* m)
{
    return {QString::fromUtf8(name), s, "1500", g, m, "+", "92", "15.0"};
}

// The worked station: 45°30.0' gives (998.923, 2123.356), H 145.10; 90° and 0° along
// the sides of the square the orientation makes.
const TTaheoRows ThreeRows = {Row("1", "123.456", "45", "30.0"), Row("2/K7", "10", "135", "0"),
                              Row("3", "10", "225", "0"), SetDefLine2("4")};

}  // namespace

TEST_F(Tacheometry, PicketsOneCommandEachOnTheirLayer)
{
    TFormInputTaheo form(&Run.Form());
    form.show();
    Ok(form, ThreeRows);
    EXPECT_TRUE(Errors.isEmpty());
    EXPECT_TRUE(SemCalls.isEmpty());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), mrOk);
    QStringList points;
    for (const QString& line : Lines())
        if (line.startsWith(QStringLiteral("mcNewPoint=")))
            points << line;
    ASSERT_EQ(points.size(), 3) << Lines().join(u'\n').toStdString();
    // Sheet and layer indexes, then the fields of the worked case at precision 2.
    EXPECT_TRUE(points[0].endsWith(
        QStringLiteral("><ПКТ/ИН1;ИВ145.10;><998.92><2123.36><2><0.00><><0><0>")))
        << points[0].toStdString();
    // 135° from the direction 225 is 180: due south, 10 m horizontal before the slope.
    EXPECT_TRUE(points[1].contains(QStringLiteral("><ПКТ/ИН2;ИВ149.56;ИИK7;><990.01><2000.00>")))
        << points[1].toStdString();
    EXPECT_TRUE(points[2].contains(QStringLiteral("><ПКТ/ИН3;ИВ149.56;><1000.00><1990.01>")))
        << points[2].toStdString();
    QString name;
    std::uint8_t visible = 0;
    MainMap->GetLayerProp(TaheoPage, TaheoLayer, name, visible);
    EXPECT_EQ(name, QStringLiteral("Пикеты"));
    // Each point takes the sheet of its own position.
    EXPECT_TRUE(points[0].startsWith(QStringLiteral("mcNewPoint=<0><0>")));
    MainMap->GetPageProp(0, name, visible);
    EXPECT_EQ(name, MainMap->CoordToNomenclature(998.92L, 2123.36L));
}

TEST_F(Tacheometry, PointObjectsTakeTheChosenSemanticsWithTheirOwnHeight)
{
    Run.Form().PointCode = QStringLiteral("ТЧК");
    TFormInputTaheo form(&Run.Form());
    form.show();
    QTest::mouseClick(form.sbPoint, Qt::LeftButton);
    Ok(form, ThreeRows);
    EXPECT_EQ(SemCalls, QStringList({"1|0|ТЧК"}));
    QStringList sems;
    for (const QString& line : Lines())
        if (line.startsWith(QStringLiteral("mcNewPoint=")))
            sems << line.section(u'>', 2, 2).mid(1);
    EXPECT_EQ(sems, QStringList({"ГОР;ИВ145.10;", "ГОР;ИВ149.56;", "ГОР;ИВ149.56;"}));
}

TEST_F(Tacheometry, LineOverFiveRowsEmptiesTheNodeArray)
{
    TFormInputTaheo form(&Run.Form());
    form.show();
    QTest::mouseClick(form.sbLine, Qt::LeftButton);
    Run.Form().LineCode = QStringLiteral("ЛИН");
    Ok(form, {Row("1", "10", "0", "0"), Row("2", "10", "90", "0"), Row("3", "10", "180", "0"),
              Row("4", "10", "270", "0"), Row("5", "123.456", "45", "30.0"), SetDefLine2("6")});
    EXPECT_EQ(SemCalls, QStringList({"1|1|ЛИН"}));
    ASSERT_FALSE(Lines().isEmpty());
    const QString line = Lines().last();
    ASSERT_TRUE(line.startsWith(QStringLiteral("mcNewLine="))) << line.toStdString();
    EXPECT_TRUE(line.contains(QStringLiteral("><ГОР><><0><0.00><2><><[{")));
    EXPECT_EQ(line.count(u'['), 5);
    EXPECT_TRUE(line.endsWith(QStringLiteral("[{998.92}{2123.36}{0}{-1.00}{0}{-1}{0}{0}]>")))
        << line.toStdString();
    EXPECT_TRUE(Run.Form().CreateNodes.empty());
    EXPECT_FALSE(form.isVisible());
}

TEST_F(Tacheometry, PolygonNodesCarryZeroAttributes)
{
    TFormInputTaheo form(&Run.Form());
    form.show();
    QTest::mouseClick(form.sbPolygon, Qt::LeftButton);
    Ok(form, ThreeRows);
    const QString line = Lines().last();
    ASSERT_TRUE(line.startsWith(QStringLiteral("mcNewPolygon="))) << line.toStdString();
    EXPECT_TRUE(line.contains(QStringLiteral("><ГОР><[{998.92}{2123.36}{-1.00}{0}{0}{0}{0}][")));
    EXPECT_TRUE(line.endsWith(QStringLiteral("]><2><><0.00><0.00><><-1>"))) << line.toStdString();
    EXPECT_TRUE(Run.Form().CreateNodes.empty());
}

// A bad cell in the third row: nothing reaches the plan, the window keeps the rows.
TEST_F(Tacheometry, BadCellLeavesThePlanAsItWas)
{
    TFormInputTaheo form(&Run.Form());
    form.show();
    const QByteArray before = Native();
    TTaheoRows rows = ThreeRows;
    rows[2][7] = QStringLiteral("1,5.0");
    Ok(form, rows);
    EXPECT_EQ(Errors, QStringList({"Строка 3, столбец 8: \"1,5.0\" - не число"}));
    EXPECT_TRUE(Lines().isEmpty());
    EXPECT_EQ(Native(), before);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.GridRows(form.StringGrid2), rows);
}

// Outside every sheet of the nomenclature the sheet is "?", made without a question.
TEST_F(Tacheometry, PointOutsideTheNomenclatureGoesToQuestionMark)
{
    TFormInputTaheo form(&Run.Form());
    form.show();
    form.EditStantionY->SetFloatValue(900000);
    form.SetGridRows(form.StringGrid2, {Row("1", "10", "0", "0"), SetDefLine2("2")});
    form.PointOr_X->SetFloatValue(100);
    form.PointOr_Y->SetFloatValue(900000);
    QTest::mouseClick(form.ButtonOk, Qt::LeftButton);
    EXPECT_TRUE(SheetQuestions.isEmpty());
    ASSERT_EQ(Lines().filter(QStringLiteral("mcNewPoint=")).size(), 1);
    QString name;
    std::uint8_t visible = 0;
    MainMap->GetPageProp(TaheoPage, name, visible);
    EXPECT_EQ(name, QStringLiteral("?"));
}

// A nomenclature that names no sheet asks once; Esc there makes nothing and keeps the
// window; a name given sends every row to that sheet without asking again.
TEST_F(Tacheometry, SheetQuestionComesOnceAndItsEscKeepsTheWindow)
{
    MainMap->Nomenclatures.Mode = 5;
    TFormInputTaheo form(&Run.Form());
    form.show();
    const QByteArray before = Native();
    Ok(form, ThreeRows);
    EXPECT_EQ(SheetQuestions, QStringList({"Введите название листа:"}));
    EXPECT_TRUE(Lines().filter(QStringLiteral("mcNewPoint=")).isEmpty());
    EXPECT_EQ(Native(), before);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(Run.Form().DestAutoPage, 1);

    SheetResult = mrOk;
    SheetAnswer = QStringLiteral("Съемка 1");
    QTest::mouseClick(form.ButtonOk, Qt::LeftButton);
    EXPECT_EQ(SheetQuestions.size(), 2);
    EXPECT_EQ(Lines().filter(QStringLiteral("mcNewPoint=")).size(), 3);
    EXPECT_EQ(Run.Form().DestAutoPage, 0);
    QString name;
    std::uint8_t visible = 0;
    MainMap->GetPageProp(TaheoPage, name, visible);
    EXPECT_EQ(name, QStringLiteral("Съемка 1"));
    EXPECT_FALSE(form.isVisible());
}

TEST_F(Tacheometry, OnlyTheEntryRowMakesNothingAndCloses)
{
    TFormInputTaheo form(&Run.Form());
    form.show();
    Ok(form, {SetDefLine2("1")});
    EXPECT_TRUE(Lines().isEmpty());
    EXPECT_TRUE(Errors.isEmpty());
    EXPECT_EQ(form.result(), mrOk);
}
