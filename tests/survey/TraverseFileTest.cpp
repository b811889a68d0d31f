// The traverse table file through the window's two file buttons: the bytes written
// (code page 1251, CR LF, 24 separators a row), the table read back, and the files that
// are refused with a message and leave the table as it was.
#include "SurveyTestSupport.h"
#include "mainwindow/MapHooks.h"
#include "mainwindow/file/FileDialogs.h"
#include "platform/CodePage.h"
#include "survey/UnitTheodolit.h"
#include "survey/traverse/TraverseFile.h"

#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The file dialogs answer with one name; the message boxes of both kinds are kept.
class TraverseFileRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        SavedMap = MapHooks();
        SavedFiles = FileDialogHooks();
        MapHooks().SaveFileName = [this](const QString& title, const QString& filter, QString& name) {
            Titles << title + "|" + filter;
            name = FileName;
            return !FileName.isEmpty();
        };
        FileDialogHooks().OpenFileName = [this](const QString& title, const QString& filter,
                                                QString& name) {
            Titles << title + "|" + filter;
            name = FileName;
            return !FileName.isEmpty();
        };
        TDialogHooks hooks;
        hooks.ShowMsg = [this](const QString& caption, const QString& text) {
            Shown << caption + "|" + text;
            return mrOk;
        };
        hooks.MessageDlg = [this](const QString& text, TMsgDlgType) {
            Shown << text;
            return mrOk;
        };
        Scope = std::make_unique<TScopedDialogHooks>(hooks);
    }
    void TearDown() override
    {
        MapHooks() = SavedMap;
        FileDialogHooks() = SavedFiles;
    }

    QString Path(const char* name) const { return Dir.filePath(QString::fromUtf8(name)); }

    void WriteBytes(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray ReadBytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // A row of the file: the given cells from column 0 on, the rest empty.
    static QByteArray Row(const QStringList& cells)
    {
        QString line;
        for (int c = 0; c < TTraverseTable::ColCount; ++c)
            line += (c < cells.size() ? cells[c] : QString()) + "|";
        return EncodeCodePage(line) + "\r\n";
    }

    QTemporaryDir Dir;
    QString FileName;
    QStringList Titles, Shown;
    TMapHooks SavedMap;
    TFileDialogHooks SavedFiles;
    std::unique_ptr<TScopedDialogHooks> Scope;
};

QString GridCell(const TFormTheodolit& form, int r, int c)
{
    const QTableWidgetItem* item = form.Grid->item(r - 1, c);
    return item ? item->text() : QString();
}

} // namespace

TEST_F(TraverseFileRun, TableIsSavedByteForByteAndOpenedAgain)
{
    TFormTheodolit form;
    ASSERT_EQ(form.Table.PointsCount(), 4);
    form.Table.SetCell(1, 0, QStringLiteral("Пункт А"));
    form.Table.SetCell(1, 22, QStringLiteral("6100500.000"));
    form.Table.SetCell(3, 1, QStringLiteral("+38"));
    form.Table.SetCell(16, 8, QStringLiteral("[1234.5]"));
    form.Table.SetCell(16, 23, QStringLiteral(" "));
    form.TableToGrid();
    FileName = Path("ход.th");
    form.btSavePlanClick();
    EXPECT_EQ(Titles.value(0), QStringLiteral("Сохранить файл хода|таблица теодолитного хода *.th (*.th)"));

    QByteArray expected = "1\r\n";
    for (int r = 1; r <= 16; ++r) {
        QStringList cells;
        for (int c = 0; c < TTraverseTable::ColCount; ++c)
            cells << form.Table.Cell(r, c);
        expected += Row(cells);
    }
    const QByteArray bytes = ReadBytes(FileName);
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(bytes.count("\r\n"), 17);
    EXPECT_TRUE(bytes.contains("\xcf\xf3\xed\xea\xf2 \xc0|"));   // "Пункт А" in code page 1251

    TFormTheodolit other;
    other.PointsCount->setValue(7);
    other.Table.SetCell(2, 5, QStringLiteral("старое"));
    other.btOpenPlanClick();
    EXPECT_EQ(Titles.value(1), QStringLiteral("Открыть файл хода|Таблица теодолитного хода *.th (*.th)"));
    EXPECT_EQ(other.PointsCount->value(), 4);
    ASSERT_EQ(other.Table.RowCount(), 17);
    for (int r = 1; r < 17; ++r)
        for (int c = 0; c < TTraverseTable::ColCount; ++c)
            ASSERT_EQ(other.Table.Cell(r, c), form.Table.Cell(r, c)) << r << " " << c;
    EXPECT_EQ(GridCell(other, 1, 0), QStringLiteral("Пункт А"));
    EXPECT_TRUE(Shown.isEmpty()) << Shown.join("\n").toStdString();

    // Saved again, the file is the same.
    FileName = Path("again.th");
    other.btSavePlanClick();
    EXPECT_EQ(ReadBytes(FileName), expected);
}

TEST_F(TraverseFileRun, LineCountGivesThePointsCount)
{
    struct RCase {
        int lines;       // the first included
        int points;
    };
    for (const RCase& k : {RCase{17, 4}, RCase{18, 4}, RCase{13, 2}, RCase{11, 1}, RCase{5, 1},
                           RCase{1, 1}}) {
        SCOPED_TRACE(k.lines);
        QByteArray bytes = "1\r\n";
        for (int i = 2; i <= k.lines; ++i)
            bytes += Row({QStringLiteral("T%1").arg(i - 1)});
        FileName = Path("count.th");
        WriteBytes(FileName, bytes);
        TFormTheodolit form;
        form.btOpenPlanClick();
        EXPECT_EQ(form.PointsCount->value(), k.points);
        EXPECT_EQ(form.Table.RowCount(), 2 * k.points + 9);
        const int last = form.Table.RowCount() - 1;
        // Each row comes from its line; the lines past the table are not shown.
        for (int r = 1; r <= last; ++r)
            EXPECT_EQ(form.Table.Cell(r, 0), r < k.lines ? QStringLiteral("T%1").arg(r) : QString()) << r;
    }
    EXPECT_TRUE(Shown.isEmpty());
}

TEST_F(TraverseFileRun, FirstLineSwitchesTheClosureTypeBeforeTheRows)
{
    for (const int type : {2, 3, 1}) {
        SCOPED_TRACE(type);
        QByteArray bytes = "  " + QByteArray::number(type) + " rest\r\n";
        for (int i = 2; i <= 11; ++i)
            bytes += Row({QStringLiteral("R%1").arg(i - 1), QString(), QString(), QString(), QString(),
                          QString(), QString(), QString(), QString(), QStringLiteral("12")});
        FileName = Path("type.th");
        WriteBytes(FileName, bytes);
        TFormTheodolit form;
        form.RadioButton2->setChecked(type == 1);
        if (type == 1)
            form.RadioButton1Click();
        form.btOpenPlanClick();
        EXPECT_EQ(form.Table.ClosureType(), type);
        EXPECT_EQ(form.Label2->text(), TFormTheodolit::ClosureNote(type));
        // The closure click empties the computed cells of the table as it stood; the
        // rows come after it, so a computed cell of the file stays.
        EXPECT_EQ(form.Table.Cell(1, 9), QStringLiteral("12"));
    }
    // A number of no closure type keeps the type.
    FileName = Path("seven.th");
    WriteBytes(FileName, "7\r\n" + Row({QStringLiteral("Z")}));
    TFormTheodolit form;
    form.RadioButton3->setChecked(true);
    form.RadioButton1Click();
    form.btOpenPlanClick();
    EXPECT_EQ(form.Table.ClosureType(), 3);
    EXPECT_EQ(form.Table.Cell(1, 0), QStringLiteral("Z"));
}

TEST_F(TraverseFileRun, ShortLineFillsItsCellsAndEmptiesTheRest)
{
    FileName = Path("short.th");
    WriteBytes(FileName, "1\r\nA1||12|tail\r\n");
    TFormTheodolit form;
    for (int c = 0; c < TTraverseTable::ColCount; ++c)
        form.Table.SetCell(1, c, QStringLiteral("old"));
    form.Table.SetCell(5, 3, QStringLiteral("old"));
    form.btOpenPlanClick();
    EXPECT_EQ(form.Table.Cell(1, 0), QStringLiteral("A1"));
    EXPECT_EQ(form.Table.Cell(1, 1), QString());
    EXPECT_EQ(form.Table.Cell(1, 2), QStringLiteral("12"));
    for (int c = 3; c < TTraverseTable::ColCount; ++c)
        EXPECT_EQ(form.Table.Cell(1, c), QString()) << c;
    EXPECT_EQ(form.Table.Cell(5, 3), QString());   // the previous traverse does not show through
    EXPECT_EQ(GridCell(form, 1, 2), QStringLiteral("12"));

    // ParseTableLine itself moves on one row each call.
    TTraverseTable table;
    int row = 2;
    ParseTableLine(table, QStringLiteral("a|b|"), row);
    EXPECT_EQ(row, 3);
    EXPECT_EQ(table.Cell(2, 1), QStringLiteral("b"));
}

TEST_F(TraverseFileRun, BrokenFilesAreRefusedAndChangeNothing)
{
    struct RCase {
        const char* name;
        QByteArray bytes;      // null: no such file
        const char* message;   // the start of the message
    };
    const RCase cases[] = {
        {"letters.th", "один\r\nA|\r\n", "Файл не является таблицей теодолитного хода"},
        {"empty.th", "", "Файл не является таблицей теодолитного хода"},
        {"blank.th", "\r\nA|\r\n", "Файл не является таблицей теодолитного хода"},
        {"missing.th", QByteArray(), "Не удается прочитать файл"},
    };
    for (const RCase& k : cases) {
        SCOPED_TRACE(k.name);
        Shown.clear();
        FileName = Path(k.name);
        if (!k.bytes.isNull())
            WriteBytes(FileName, k.bytes);
        TFormTheodolit form;
        form.PointsCount->setValue(2);
        form.Table.SetCell(1, 0, QStringLiteral("A"));
        form.RadioButton2->setChecked(true);
        form.RadioButton1Click();
        form.btOpenPlanClick();
        ASSERT_EQ(Shown.size(), 1);
        EXPECT_TRUE(Shown[0].startsWith(QString::fromUtf8(k.message))) << Shown[0].toStdString();
        EXPECT_EQ(form.Table.RowCount(), 13);
        EXPECT_EQ(form.Table.Cell(1, 0), QStringLiteral("A"));
        EXPECT_EQ(form.Table.ClosureType(), 2);
    }
    // Cancelled: nothing asked, nothing shown.
    Shown.clear();
    FileName.clear();
    TFormTheodolit form;
    form.btOpenPlanClick();
    form.btSavePlanClick();
    EXPECT_TRUE(Shown.isEmpty());
}

TEST_F(TraverseFileRun, CellThatCannotBeStoredRefusesTheSave)
{
    for (const char* bad : {"P|1", "две\nстроки", "x\r"}) {
        SCOPED_TRACE(bad);
        Shown.clear();
        FileName = Path("refused.th");
        WriteBytes(FileName, "previous");
        TFormTheodolit form;
        form.Table.SetCell(5, 0, QString::fromUtf8(bad));
        form.btSavePlanClick();
        ASSERT_EQ(Shown.size(), 1);
        EXPECT_EQ(Shown[0], QStringLiteral("Проверьте таблицу!|Строка 5, столбец 0: в ячейке стоит знак "
                                           "\"|\" или перевод строки, файл хода не записан"));
        EXPECT_EQ(ReadBytes(FileName), QByteArray("previous"));
    }
    // A character code page 1251 has no place for: the writer's message, no file.
    Shown.clear();
    FileName = Path("greek.th");
    TFormTheodolit form;
    form.Table.SetCell(1, 0, QStringLiteral("Ω"));
    form.btSavePlanClick();
    ASSERT_EQ(Shown.size(), 1);
    EXPECT_FALSE(QFile::exists(FileName));
}
