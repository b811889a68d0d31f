// The coordinate-table window through its widgets: the DAT line split, the grids' growth
// and numbering as cells are edited, the row spin edit, the Word-table and DAT readers
// and the checks of a table before anything is made.
#include "DialogsTestSupport.h"

#include "controls/ExSpeedButton.h"
#include "dialogs/objects/UnitCreateCoordObj.h"
#include "foundation/ServDialogs.h"
#include "mainwindow/file/FileDialogs.h"
#include "platform/CodePage.h"
#include "support/TestHelpers.h"

#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {

QStringList Rows(const QTableWidget* grid)
{
    QStringList rows;
    for (int r = 0; r < grid->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->columnCount(); ++c)
            cells << TFormCreateCoordObj::Cell(grid, r, c);
        rows << cells.join(u'|');
    }
    return rows;
}

// A cell edited as the grid's editor commits it.
void Edit(QTableWidget* grid, int row, int col, const QString& text)
{
    if (QTableWidgetItem* item = grid->item(row, col))
        item->setText(text);
    else
        grid->setItem(row, col, new QTableWidgetItem(text));
}

class CoordTableWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        TDialogHooks hooks;
        hooks.ShowMsg = [this](const QString& caption, const QString& text) {
            Messages << caption + QStringLiteral(": ") + text;
            return mrOk;
        };
        hooks.MessageDlg = [this](const QString& text, TMsgDlgType) {
            Messages << text;
            return mrOk;
        };
        Scope = std::make_unique<TScopedDialogHooks>(hooks);
        FileDialogHooks().OpenFileName = [this](const QString&, const QString& filter, QString& fileName) {
            Filters << filter;
            fileName = Chosen;
            return !Chosen.isEmpty();
        };
    }
    void TearDown() override { FileDialogHooks().OpenFileName = nullptr; }

    QString File(const char* name, const QByteArray& bytes)
    {
        const QString path = Dir.path() + u'/' + QString::fromUtf8(name);
        WriteBytes(path, bytes);
        return path;
    }

    QTemporaryDir Dir;
    std::unique_ptr<TScopedDialogHooks> Scope;
    QStringList Messages;
    QStringList Filters;
    QString Chosen;
};

} // namespace

TEST(CoordTable, DatLineFields)
{
    struct Case {
        const char* Line;
        const char* Fields;   // N|X|Y|H
    };
    const Case cases[] = {
        {"5 100.12 200.34 150.2", "5|100.12|200.34|150.2"},
        {"5  100.12 200.34 150.2", "5||100.12|200.34"},       // two blanks leave an empty field
        {"   7 1,5 2 3", "7|1,5|2|3"},                          // leading blanks skipped
        {"8 1 2 3 extra field", "8|1|2|3"},                     // after the fourth: ignored
        {"9\t1 2 3", "9\t1|2|3|"},                              // a tab is an ordinary character
        {"10 1", "10|1||"},
        {"", "|||"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Line);
        QString n, x, y, h;
        SplitDatLine(QString::fromUtf8(c.Line), n, x, y, h);
        EXPECT_EQ(QStringList({n, x, y, h}).join(u'|'), QString::fromUtf8(c.Fields));
    }
}

TEST_F(CoordTableWindow, EditingALastCellOffersTheNextNumber)
{
    TFormCreateCoordObj form;
    EXPECT_TRUE(form.sbPoint->Down());
    EXPECT_EQ(Rows(form.StringGrid1), QStringList(QStringLiteral("1|0|0")));
    form.PageControl1->setCurrentWidget(form.TabSheet2);
    QTableWidget* grid = form.StringGrid2;
    EXPECT_EQ(Rows(grid), QStringList(QStringLiteral("1|0|0|0")));

    Edit(grid, 0, 0, QStringLiteral("12"));   // the last row edited: a row appended
    EXPECT_EQ(Rows(grid), QStringList({QStringLiteral("12|0|0|0"), QStringLiteral("|||")}));
    EXPECT_EQ(form.NR->value(), 2);
    Edit(grid, 0, 3, QStringLiteral("150,2"));   // its H: the spare row numbered
    EXPECT_EQ(Rows(grid), QStringList({QStringLiteral("12|0|0|150,2"), QStringLiteral("13|0|0|0")}));
    EXPECT_EQ(form.NR->value(), 2);

    for (const char* n : {"12a", ""}) {
        SCOPED_TRACE(n);
        const int row = grid->rowCount() - 1;
        Edit(grid, row, 0, QString::fromUtf8(n));
        Edit(grid, row, 3, QStringLiteral("1"));
        EXPECT_EQ(Rows(grid).last(), QStringLiteral("1|0|0|0"));
    }
    // Y is the last column of the other page.
    Edit(form.StringGrid1, 0, 0, QStringLiteral("41"));
    Edit(form.StringGrid1, 0, 2, QStringLiteral("5"));
    EXPECT_EQ(Rows(form.StringGrid1).last(), QStringLiteral("42|0|0"));
}

TEST_F(CoordTableWindow, TypingIntoTheGridGrowsIt)
{
    TFormCreateCoordObj form;
    form.show();
    QApplication::setActiveWindow(&form);
    QTableWidget* grid = form.StringGrid1;
    grid->setFocus();
    const auto type = [&](int row, int col, const QString& text) {
        grid->setCurrentCell(row, col);
        QTest::keyClick(grid, Qt::Key_F2);   // the editor over the cell
        QWidget* editor = QApplication::focusWidget();
        ASSERT_NE(editor, grid);
        QTest::keySequence(editor, QKeySequence::SelectAll);
        TypeText(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();   // the grid commits the edit queued
    };
    type(0, 0, QStringLiteral("21"));
    type(0, 1, QStringLiteral("100,5"));
    type(0, 2, QStringLiteral("200"));
    EXPECT_EQ(Rows(grid), QStringList({QStringLiteral("21|100,5|200"), QStringLiteral("22|0|0")}));
    EXPECT_EQ(form.NR->value(), 2);
    // Enter ends a cell's edit, never the window: a table half typed is not made.
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.result(), 0);
}

TEST_F(CoordTableWindow, TheRowCountAndTheClearButtonWorkOnTheActivePage)
{
    TFormCreateCoordObj form;
    form.NR->setValue(4);
    EXPECT_EQ(form.StringGrid1->rowCount(), 4);
    EXPECT_EQ(form.StringGrid2->rowCount(), 1);
    form.NR->setValue(0);   // below 1: one row
    EXPECT_EQ(form.StringGrid1->rowCount(), 1);
    EXPECT_EQ(form.NR->value(), 1);

    form.PageControl1->setCurrentWidget(form.TabSheet2);
    form.NR->setValue(3);
    Edit(form.StringGrid2, 1, 1, QStringLiteral("55"));
    EXPECT_EQ(form.StringGrid2->rowCount(), 3);
    form.PageControl1->setCurrentWidget(form.TabSheet1);
    EXPECT_EQ(form.NR->value(), 1);
    form.PageControl1->setCurrentWidget(form.TabSheet2);
    EXPECT_EQ(form.NR->value(), 3);
    QTest::mouseClick(form.ClearTable2, Qt::LeftButton);
    EXPECT_EQ(Rows(form.StringGrid2), QStringList(QStringLiteral("1|0|0|0")));
    EXPECT_EQ(form.NR->value(), 1);
}

TEST_F(CoordTableWindow, AWordTableFileFillsThreeCellsPerRow)
{
    TFormCreateCoordObj form;
    // Seven lines: two rows; the seventh is ignored. Cells are taken as they are.
    Chosen = File("таблица.txt", EncodeCodePage(QStringLiteral("1\r\n100,5\r\n200\r\nп2\r\n 101\r\n201\r\n3\r\n")));
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
    EXPECT_EQ(Rows(form.StringGrid1), QStringList({QStringLiteral("1|100,5|200"), QStringLiteral("п2| 101|201"),
                                                   QStringLiteral("||")}));
    EXPECT_EQ(form.NR->value(), 3);
    EXPECT_EQ(Filters, QStringList(QStringLiteral("Таблица Word в текст.виде (3кол) (*.txt)")));
    SaveWindowPicture(&form, QStringLiteral("create-coord-obj-word"));

    // A file that cannot be read is said and leaves the table as it was.
    Chosen = Dir.path() + QStringLiteral("/нет.txt");
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
    EXPECT_EQ(form.StringGrid1->rowCount(), 3);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].startsWith(QStringLiteral("Не удается прочитать файл"))) << Messages[0].toStdString();
    // A cancelled choice changes nothing either.
    Chosen.clear();
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
    EXPECT_EQ(form.StringGrid1->rowCount(), 3);

    QTest::mouseClick(form.SpeedButton2, Qt::LeftButton);
    EXPECT_EQ(Messages.last(), QStringLiteral("Информация:: Созданная в Microsoft Word таблица должна состоять "
                                              "из 3-х столбцов, сохранена с применением опции 'текстовый "
                                              "файл,только текст' "));
}

TEST_F(CoordTableWindow, ADatFileFillsTheHeightPage)
{
    TFormCreateCoordObj form;
    Chosen = File("съемка.DAT", EncodeCodePage(QStringLiteral("5 100.12 200.34 150.2\r\n  6 101 201 151 стена\r\n")));
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(Rows(form.StringGrid2), QStringList({QStringLiteral("5|100.12|200.34|150.2"),
                                                   QStringLiteral("6|101|201|151"), QStringLiteral("|||")}));
    form.PageControl1->setCurrentWidget(form.TabSheet2);
    EXPECT_EQ(form.NR->value(), 3);
    form.resize(form.size());
    SaveWindowPicture(&form, QStringLiteral("create-coord-obj"));
}

TEST_F(CoordTableWindow, EveryRowIsCheckedBeforeAnythingIsMade)
{
    TFormCreateCoordObj form;
    form.PageControl1->setCurrentWidget(form.TabSheet2);
    form.sbPiket->SetDown(true);
    QTableWidget* grid = form.StringGrid2;
    const auto table = [&](const QStringList& rows) {
        form.NR->setValue(int(rows.size()) + 1);
        for (int r = 0; r < rows.size(); ++r) {
            const QStringList cells = rows[r].split(u'|');
            for (int c = 0; c < 4; ++c)
                Edit(grid, r, c, cells[c]);
        }
        form.NR->setValue(int(rows.size()) + 1);
    };
    struct Case {
        QStringList Rows;
        const char* Error;   // "" for none
    };
    const Case cases[] = {
        {{"1|10,5|20.25|100"}, ""},
        {{"1|10|20|100", "2|abc|20|100"}, "Строка 2: X не число: \"abc\""},
        {{"1|10||100"}, "Строка 1: Y не число: \"\""},
        {{"1|10|20|1e"}, "Строка 1: H не число: \"1e\""},
        {{"1;2|10|20|100"}, "Строка 1: в номере недопустимы знаки ; < >"},
        {{"<1>|10|20|100"}, "Строка 1: в номере недопустимы знаки ; < >"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Rows.join(u'/').toStdString());
        table(c.Rows);
        std::vector<RCoordRow> rows;
        QString error;
        EXPECT_EQ(form.ReadTable(grid, rows, error), *c.Error == 0);
        EXPECT_EQ(error, QString::fromUtf8(c.Error));
    }
    // A line needs two rows, a polygon three; H does not count for them.
    table({"1|10|20|x", "2|11|21|y"});
    std::vector<RCoordRow> rows;
    QString error;
    form.sbLine->SetDown(true);
    EXPECT_TRUE(form.ReadTable(grid, rows, error)) << error.toStdString();
    form.sbPolygon->SetDown(true);
    EXPECT_FALSE(form.ReadTable(grid, rows, error));
    EXPECT_EQ(error, QStringLiteral("Для создания полигона нужно не менее 3 строк"));

    // "Готово" on a bad table: said, the window stays.
    form.sbPiket->SetDown(true);
    table({"1|10|20|100", "2|abc|20|100"});
    QTest::mouseClick(form.ButtonOk, Qt::LeftButton);
    EXPECT_EQ(Messages, QStringList(QStringLiteral("Ошибка в таблице: Строка 2: X не число: \"abc\"")));
    EXPECT_EQ(form.result(), 0);
}
