// The tacheometry window as the surveyor drives it: the grids growing while a cell is
// typed, the layout switches, OK refusing a bad cell, and the import of one station of
// an instrument file. Setting VELMORA_REVIEW_DIR writes both pages, short and full form.
#include "SurveyTestSupport.h"
#include "controls/ExSpeedButton.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ui/NumEdit.h"
#include "mainwindow/file/FileDialogs.h"
#include "platform/Platform.h"
#include "semantics/codec/SemDialogs.h"
#include "survey/tacheo/UnitInputTaheo.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace UnitInputTaheo;

namespace {

QString Cell(const QTableWidget* grid, int r, int c)
{
    const QTableWidgetItem* item = grid->item(r, c);
    return item ? item->text() : QString();
}

// Opens the cell's editor and types text into it keystroke by keystroke, without
// committing; the editor is returned for more.
QLineEdit* TypeInto(QTableWidget* grid, int r, int c, const QString& text)
{
    grid->setCurrentCell(r, c);
    grid->editItem(grid->item(r, c));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!editor)
        return nullptr;
    editor->selectAll();
    QTest::keyClicks(editor, text);
    return editor;
}

void Commit(QLineEdit* editor)
{
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The error boxes shown while it lives; each answers OK. The classifier is scripted too.
class TScript {
public:
    TScript()
    {
        TDialogHooks hooks;
        hooks.MessageDlg = [this](const QString& text, TMsgDlgType) {
            Errors << text;
            return mrOk;
        };
        hooks.SelStr = [this](const QStringList& list, TSelection& selection, const QString& caption,
                              const QString& text) {
            Selections << caption + "|" + text + "|" + list.join(u',');
            selection.Index = StationIndex;
            selection.Typed = StationTyped;
            return StationResult;
        };
        Dialogs = std::make_unique<TScopedDialogHooks>(hooks);
        TSemDialogHooks sem;
        sem.SemDlg = [this](int mode, int& lm, QString& s) {
            SemCalls << QString::number(mode) + "|" + QString::number(lm) + "|" + s;
            s = SemChosen;
            return SemResult;
        };
        Sem = std::make_unique<TScopedSemDialogHooks>(sem);
        SavedOpen = FileDialogHooks().OpenFileName;
        FileDialogHooks().OpenFileName = [this](const QString&, const QString& filter, QString& name) {
            Filters << filter;
            name = FileName;
            return !FileName.isEmpty();
        };
    }
    ~TScript() { FileDialogHooks().OpenFileName = SavedOpen; }

    QStringList Errors, Selections, SemCalls, Filters;
    int StationIndex = 0;
    QString StationTyped;
    int StationResult = mrOk;
    QString SemChosen = QStringLiteral("ДРВ");
    int SemResult = mrOk;
    QString FileName;

private:
    std::unique_ptr<TScopedDialogHooks> Dialogs;
    std::unique_ptr<TScopedSemDialogHooks> Sem;
    std::function<bool(const QString&, const QString&, QString&)> SavedOpen;
};

void Press(TExSpeedButton* b)
{
    QTest::mouseClick(b, Qt::LeftButton);
}

} // namespace

TEST(FormInputTaheo, OpensAsDesigned)
{
    TFormInputTaheo form;
    form.show();
    EXPECT_EQ(form.windowTitle(), "Полярная засечка, тахеометрическая съемка");
    EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheetTaheo);
    for (QTableWidget* g : {form.StringGrid1, form.StringGrid2}) {
        EXPECT_EQ(g->rowCount(), 1);
        EXPECT_EQ(g->columnCount(), 8);
    }
    EXPECT_EQ(Cell(form.StringGrid1, 0, 0), "1");
    EXPECT_EQ(Cell(form.StringGrid1, 0, 4), "+");
    EXPECT_EQ(Cell(form.StringGrid2, 0, 5), "+");
    EXPECT_EQ(Cell(form.StringGrid2, 0, 1), "0");
    EXPECT_EQ(form.NR1->value(), 1);
    EXPECT_EQ(form.NR2->value(), 1);
    EXPECT_TRUE(form.ButtonBetaAngle->Down());
    EXPECT_TRUE(form.PointToSt->Down());
    EXPECT_TRUE(form.sbFull->Down());
    EXPECT_TRUE(form.sbPiket->Down());
    EXPECT_TRUE(form.rbNormal->isChecked());
    EXPECT_EQ(form.SelectOr->currentWidget(), form.Coord);
    // "Вид" belongs to the classic page.
    EXPECT_FALSE(form.LabelView->isVisible());
    EXPECT_FALSE(form.sbShort->isVisible());
    EXPECT_EQ(form.ButtonOpen->toolTip(), "Открыть файл");
    EXPECT_EQ(form.ButtonOk->text(), "OK");
    const RTaheoSettings s = form.Settings();
    EXPECT_TRUE(s.TaheoGrid && s.Full && !s.DirectionAngles && s.OrientByCoord && !s.StationToPoint);
    EXPECT_EQ(s.Objects, toPiket);
    EXPECT_EQ(s.Vertical, vcNormal);
}

// The entry row grows on the first keystroke, and typing into the last column of the
// row before it names and fills it, before the cell is committed.
TEST(FormInputTaheo, GridsGrowWhileTyping)
{
    TFormInputTaheo form;
    form.show();
    QApplication::setActiveWindow(&form);
    QTableWidget* g = form.StringGrid2;

    QLineEdit* editor = TypeInto(g, 0, 0, "9");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(g->rowCount(), 2);
    EXPECT_EQ(form.NR2->value(), 2);
    EXPECT_EQ(Cell(g, 1, 0), "");                       // named only from the last column
    QTest::keyClicks(editor, "9");
    Commit(editor);
    EXPECT_EQ(g->rowCount(), 2);
    EXPECT_EQ(Cell(g, 0, 0), "99");

    editor = TypeInto(g, 0, 7, "1");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(g->rowCount(), 2);
    EXPECT_EQ(Cell(g, 1, 0), "100");
    EXPECT_EQ(Cell(g, 1, 5), "+");
    EXPECT_EQ(Cell(g, 1, 7), "0");
    Commit(editor);

    // Renamed: the next change of that cell names the entry row again.
    g->item(0, 0)->setText("A1");
    editor = TypeInto(g, 0, 7, "2");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(Cell(g, 1, 0), "1");
    Commit(editor);

    // The classic grid in the short form ends at column 3.
    form.PageControl1->setCurrentWidget(form.TabSheetClassic);
    Press(form.sbShort);
    QTableWidget* c = form.StringGrid1;
    editor = TypeInto(c, 0, 3, "5");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(c->rowCount(), 2);
    EXPECT_EQ(form.NR1->value(), 2);
    EXPECT_EQ(Cell(c, 1, 0), "2");
    EXPECT_EQ(Cell(c, 1, 4), "+");
    Commit(editor);
    EXPECT_EQ(form.StringGrid2->rowCount(), 2);   // the other grid untouched
}

TEST(FormInputTaheo, RowCountsAndClearing)
{
    TFormInputTaheo form;
    struct Case { int value, rows; };
    const Case cases[] = {{5, 5}, {0, 1}, {3, 3}, {-1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        form.NR2->setValue(c.value);
        EXPECT_EQ(form.StringGrid2->rowCount(), c.rows);
        EXPECT_EQ(form.NR2->value(), c.rows);
        EXPECT_EQ(form.StringGrid1->rowCount(), 1);
    }
    form.NR1->setValue(4);
    form.StringGrid1->setItem(2, 3, new QTableWidgetItem("7"));
    QTest::mouseClick(form.ClearTable2, Qt::LeftButton);   // either button clears both
    for (QTableWidget* g : {form.StringGrid1, form.StringGrid2}) {
        EXPECT_EQ(g->rowCount(), 1);
        EXPECT_EQ(Cell(g, 0, 0), "1");
    }
    EXPECT_EQ(form.NR1->value(), 1);
}

TEST(FormInputTaheo, AngleKindFormAndPageSwitchTheLayout)
{
    TFormInputTaheo form;
    form.show();
    const auto heading = [&](int c) { return form.StringGrid1->horizontalHeaderItem(c)->text(); };
    EXPECT_TRUE(heading(1).startsWith("ГК"));
    Press(form.ButtonDirAngle);
    EXPECT_TRUE(form.ButtonDirAngle->Down());
    EXPECT_TRUE(heading(1).startsWith("Дир.угол"));
    EXPECT_FALSE(form.SelectOr->isVisible());
    EXPECT_FALSE(form.LabelOr->isVisible());
    EXPECT_TRUE(form.Settings().DirectionAngles);
    Press(form.ButtonBetaAngle);
    EXPECT_TRUE(heading(1).startsWith("ГК"));
    EXPECT_TRUE(form.SelectOr->isVisible());

    form.PageControl1->setCurrentWidget(form.TabSheetClassic);
    EXPECT_TRUE(form.LabelView->isVisible());
    EXPECT_TRUE(form.sbShort->isVisible());
    form.StringGrid1->setItem(0, 6, new QTableWidgetItem("45"));
    const int width = form.StringGrid1->columnWidth(6);
    Press(form.sbShort);
    EXPECT_FALSE(form.Settings().Full);
    EXPECT_FALSE(form.neHst->isVisible());
    EXPECT_FALSE(form.LabelI->isVisible());
    for (int c = 4; c < 8; ++c)
        EXPECT_TRUE(form.StringGrid1->isColumnHidden(c));
    EXPECT_FALSE(form.StringGrid2->isColumnHidden(6));   // the tacheometric grid shows all
    Press(form.sbFull);
    EXPECT_TRUE(form.neHst->isVisible());
    EXPECT_FALSE(form.StringGrid1->isColumnHidden(6));
    EXPECT_EQ(form.StringGrid1->columnWidth(6), width);
    EXPECT_EQ(Cell(form.StringGrid1, 0, 6), "45");

    // The form chosen on the classic page governs the tacheometric grid too.
    Press(form.sbShort);
    form.PageControl1->setCurrentWidget(form.TabSheetTaheo);
    EXPECT_FALSE(form.sbFull->isVisible());
    EXPECT_FALSE(form.Settings().Full);
    EXPECT_TRUE(form.Settings().TaheoGrid);
}

// A bad cell keeps the window open with what was typed; the classifier does not open.
TEST(FormInputTaheo, OkRefusesABadCellAndKeepsTheWindow)
{
    TScript script;
    TFormInputTaheo form;
    form.show();
    form.SetGridRows(form.StringGrid2, {SetDefLine2("1"), SetDefLine2("2"),
                                        {"3", "x", "0", "0", "0", "+", "0", "0"}, SetDefLine2("4")});
    QTest::mouseClick(form.sbPoint, Qt::LeftButton);
    QTest::mouseClick(form.ButtonOk, Qt::LeftButton);
    EXPECT_EQ(script.Errors, QStringList({"Строка 3, столбец 2: \"x\" - не число"}));
    EXPECT_TRUE(script.SemCalls.isEmpty());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(Cell(form.StringGrid2, 2, 1), "x");
    EXPECT_EQ(form.StringGrid2->rowCount(), 4);
}

// Point objects ask the classifier in mode 1 for the point kind; its cancel closes the
// window all the same; pickets never ask.
TEST(FormInputTaheo, OkAsksTheClassifierForObjectsButPickets)
{
    struct Case {
        TExSpeedButton* TFormInputTaheo::*button;
        int semResult;
        const char* call;
    };
    const Case cases[] = {
        {&TFormInputTaheo::sbPiket, mrOk, nullptr},
        {&TFormInputTaheo::sbPoint, mrOk, "1|0|"},
        {&TFormInputTaheo::sbPoint, mrCancel, "1|0|"},
        {&TFormInputTaheo::sbLine, mrCancel, "1|1|"},
        {&TFormInputTaheo::sbPolygon, mrCancel, "1|2|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call ? c.call : "pickets");
        TScript script;
        script.SemResult = c.semResult;
        TFormInputTaheo form;
        form.show();
        form.SetGridRows(form.StringGrid2, {SetDefLine2("1"), SetDefLine2("2"), SetDefLine2("3"),
                                            SetDefLine2("4")});
        QTest::mouseClick(form.*c.button, Qt::LeftButton);
        QTest::mouseClick(form.ButtonOk, Qt::LeftButton);
        EXPECT_EQ(script.SemCalls, c.call ? QStringList({c.call}) : QStringList());
        EXPECT_TRUE(script.Errors.isEmpty());
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), mrOk);
    }
}

TEST(FormInputTaheo, LineNeedsTwoRows)
{
    TScript script;
    TFormInputTaheo form;
    form.show();
    form.SetGridRows(form.StringGrid2, {SetDefLine2("1"), SetDefLine2("2")});
    QTest::mouseClick(form.sbLine, Qt::LeftButton);
    QTest::mouseClick(form.ButtonOk, Qt::LeftButton);
    EXPECT_EQ(script.Errors, QStringList({"Для линейного объекта нужны хотя бы 2 точки"}));
    EXPECT_TRUE(script.SemCalls.isEmpty());
    EXPECT_TRUE(form.isVisible());
}

// ---- Import ----

class TaheoImport2 : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = Dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
};

TEST_F(TaheoImport2, StationOfAFileFillsTheTacheometricGrid)
{
    const QChar saved = DecimalSeparator;
    DecimalSeparator = u'.';
    TScript script;
    script.FileName = QStringLiteral(VELMORA_TEST_FIXTURES "/survey/points_crlf.dc1");
    TFormInputTaheo form;
    form.StringGrid1->setItem(0, 3, new QTableWidgetItem("77"));
    form.EditStantionX->SetFloatValue(12.5L);
    form.ButtonOpenClick();
    EXPECT_EQ(script.Filters, QStringList({"Рез.изм.Sokkia 610 (sdr) (*.sdr);;Рез.изм.Pentax (DC1) (*.dc1)"}));
    EXPECT_EQ(script.Selections,
              QStringList({"Выбор станции|выберите станцию, результаты измерений с которой "
                           "необходимо обработать|S1,Ст2"}));
    EXPECT_TRUE(form.rbZ0->isChecked());
    EXPECT_EQ(form.neI->FloatValue(), 1.55L);
    QTableWidget* g = form.StringGrid2;
    ASSERT_EQ(g->rowCount(), 3);
    EXPECT_EQ(form.NR2->value(), 3);
    const QStringList first = form.GridRows(g)[0];
    EXPECT_EQ(first, QStringList({"2", "10.5", "1300", "120", "15.000", "+", "89", "30.000"}));
    EXPECT_EQ(Cell(g, 1, 0), "12 A");
    EXPECT_EQ(Cell(g, 1, 1), "7,25");
    EXPECT_EQ(Cell(g, 2, 0), "1");
    EXPECT_EQ(Cell(form.StringGrid1, 0, 3), "0");        // both grids start over
    EXPECT_EQ(form.EditStantionX->FloatValue(), 12.5L);  // the station is the user's
    DecimalSeparator = saved;
}

TEST_F(TaheoImport2, NothingIsImportedWithoutAListedStationOrAKnownFile)
{
    const QString sdr = QStringLiteral(VELMORA_TEST_FIXTURES "/survey/two_setups_crlf.sdr");
    const QString noStations = Write("empty.sdr", "00NMSDR33\r\n");
    const QString text = Write("points.txt", "STA S1\r\nPPD 1\r\nRTD 5\r\n");
    struct Case {
        const char* name;
        QString file;
        int result;
        int index;
        const char* typed;
        int selections;
    };
    const Case cases[] = {
        {"dialog cancelled", QString(), mrOk, 0, "", 0},
        {"other extension", text, mrOk, 0, "", 0},
        {"no station", noStations, mrOk, 0, "", 0},
        {"station choice cancelled", sdr, mrCancel, 0, "", 1},
        {"station typed that is not listed", sdr, mrOk, -1, "ST9", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TScript script;
        script.FileName = c.file;
        script.StationResult = c.result;
        script.StationIndex = c.index;
        script.StationTyped = QString::fromUtf8(c.typed);
        TFormInputTaheo form;
        form.SetGridRows(form.StringGrid2, {SetDefLine2("5"), SetDefLine2("6")});
        form.ButtonOpenClick();
        EXPECT_EQ(script.Selections.size(), c.selections);
        EXPECT_EQ(form.StringGrid2->rowCount(), 2);
        EXPECT_EQ(Cell(form.StringGrid2, 0, 0), "5");
        EXPECT_TRUE(form.rbNormal->isChecked());
        EXPECT_TRUE(script.Errors.isEmpty());
    }
}

TEST_F(TaheoImport2, MalformedAngleKeepsTheRowsBeforeIt)
{
    TScript script;
    script.FileName = Write("bad.dc1", "STA S1\r\nPPD 1\r\nRTD 10\r\nRTH 10\r\nPPD 2\r\nRTD 5\r\n"
                                       "RTH 1x\r\n");
    // The message was shown here: its trail must not reach a later crash report.
    const bool hadTrail = bool(ErrorInfo);
    if (!hadTrail)
        ErrorInfo = std::make_unique<QStringList>();
    ErrorInfo->clear();
    TFormInputTaheo form;
    form.ButtonOpenClick();
    EXPECT_TRUE(ErrorInfo->isEmpty()) << ErrorInfo->join(u'|').toStdString();
    if (!hadTrail)
        ErrorInfo.reset();
    EXPECT_EQ(script.Errors,
              QStringList({"Некорректный вид вещественного числа в строковом формате"}));
    EXPECT_EQ(form.StringGrid2->rowCount(), 2);
    EXPECT_EQ(Cell(form.StringGrid2, 0, 0), "1");
    EXPECT_EQ(Cell(form.StringGrid2, 1, 0), "2");
}

// The pictures of both pages in both forms, for a look.
TEST(FormInputTaheo, ReviewPictures)
{
    TFormInputTaheo form;
    form.show();
    form.SetGridRows(form.StringGrid2, {{"1/К5", "123.456", "1500", "45", "30", "+", "92", "15"},
                                        {"2", "87.25", "1500", "120", "12.5", "+", "88", "40"},
                                        SetDefLine2("3")});
    Review(form, "taheo-full-taheo.png");
    form.PageControl1->setCurrentWidget(form.TabSheetClassic);
    form.SetGridRows(form.StringGrid1, {{"1", "45", "30", "123.456", "-", "2", "15", "1500"},
                                        SetDefLine("2")});
    Review(form, "taheo-full-classic.png");
    QTest::mouseClick(form.sbShort, Qt::LeftButton);
    Review(form, "taheo-short-classic.png");
    QTest::mouseClick(form.ButtonDirAngle, Qt::LeftButton);
    QTest::mouseClick(form.sbPolygon, Qt::LeftButton);
    Review(form, "taheo-short-classic-dir.png");
    QTest::mouseClick(form.ButtonBetaAngle, Qt::LeftButton);
    form.SelectOr->setCurrentWidget(form.DirAngle);
    form.PageControl1->setCurrentWidget(form.TabSheetTaheo);
    Review(form, "taheo-short-taheo-dirangle.png");
    SUCCEED();
}
