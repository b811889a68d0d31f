// The traverse window driven as the surveyor does: typing into the grid, pressing
// "Расчет", switching the closure type and the number of points. Setting
// VELMORA_REVIEW_DIR writes the window before and after "Расчет" there as PNGs.
#include "SurveyTestSupport.h"
#include "controls/ExSpeedButton.h"
#include "survey/UnitTheodolit.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Types text into table row r, column c through the grid's editor and commits it
// with Enter.
void TypeCell(TFormTheodolit& form, int r, int c, const QString& text)
{
    QTableWidget* grid = form.Grid;
    grid->setCurrentCell(r - 1, c);
    grid->editItem(grid->item(r - 1, c));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString GridCell(const TFormTheodolit& form, int r, int c)
{
    const QTableWidgetItem* item = form.Grid->item(r - 1, c);
    return item ? item->text() : QString();
}

// The grid scrolled to its first row first, so that the picture starts there.
void Review(TFormTheodolit& form, const char* name)
{
    if (qgetenv("VELMORA_REVIEW_DIR").isEmpty())
        return;
    form.Grid->scrollToItem(form.Grid->item(0, 0));
    ::Review(form, name);
}

struct RTyped { int r, c; const char* text; };

// The worked traverse A, B, P1, P2, C, D with its field book.
const RTyped FieldBook[] = {
    {1, 0, "A"}, {1, 22, "6100500.000"}, {1, 23, "4300200.000"},
    {3, 0, "B"}, {3, 1, "+38"}, {3, 2, "28"}, {3, 3, "28"},
    {3, 22, "6100000.000"}, {3, 23, "4300000.000"},
    {4, 8, "242.731"},
    {5, 0, "P1"}, {5, 1, "-140"}, {5, 2, "56"}, {5, 3, "00"},
    {6, 8, "247.828"},
    {7, 0, "P2"}, {7, 1, "+131"}, {7, 2, "31"}, {7, 3, "24"},
    {8, 8, "238.369"},
    {9, 0, "C"}, {9, 1, "+158"}, {9, 2, "05"}, {9, 3, "47"},
    {9, 22, "6100230.560"}, {9, 23, "4300640.210"},
    {11, 0, "D"}, {11, 22, "6100700.000"}, {11, 23, "4300900.000"},
};

} // namespace

TEST(FormTheodolit, TypedTraverseIsComputedInTheGrid)
{
    TMessages messages;
    TFormTheodolit form;
    form.show();
    QApplication::setActiveWindow(&form);
    EXPECT_EQ(form.windowTitle(), "Вычисление теодолитного хода");
    EXPECT_EQ(form.Grid->rowCount(), 16);   // rows 1 … 16 of the 17 for four points
    form.PointsCount->setValue(2);
    EXPECT_EQ(form.Grid->rowCount(), 12);
    for (const RTyped& t : FieldBook)
        TypeCell(form, t.r, t.c, t.text);
    EXPECT_EQ(form.Table.Cell(5, 1), "-140");
    Review(form, "theodolit-before.png");

    QTest::mouseClick(form.btDecision, Qt::LeftButton);
    EXPECT_TRUE(messages.Shown.isEmpty());
    EXPECT_EQ(GridCell(form, 5, 22), "6100120.348");
    EXPECT_EQ(GridCell(form, 7, 23), "4300455.323");
    EXPECT_EQ(GridCell(form, 12, 20), "1:30465");
    EXPECT_EQ(GridCell(form, 4, 12), "-3\"");
    Review(form, "theodolit-after.png");

    // "очистить" keeps the field book and drops the results.
    QTest::mouseClick(form.BitBtn3, Qt::LeftButton);
    EXPECT_EQ(GridCell(form, 5, 22), "");
    EXPECT_EQ(GridCell(form, 4, 8), "242.731");
}

TEST(FormTheodolit, ClosureTypeSetsTheNoteAndClears)
{
    TMessages messages;
    TFormTheodolit form;
    form.show();
    EXPECT_EQ(form.Label2->text(), TFormTheodolit::ClosureNote(1));
    EXPECT_TRUE(form.Label2->text().startsWith("Прим.: последняя строка таблицы"));
    form.PointsCount->setValue(2);
    for (const RTyped& t : FieldBook)
        form.Table.SetCell(t.r, t.c, t.text);
    form.TableToGrid();
    QTest::mouseClick(form.btDecision, Qt::LeftButton);
    ASSERT_EQ(GridCell(form, 5, 22), "6100120.348");

    QTest::mouseClick(form.RadioButton3, Qt::LeftButton);
    EXPECT_EQ(form.Table.ClosureType(), 3);
    EXPECT_TRUE(form.Label2->text().startsWith("Прим.: висячий ход безконтрольный"));
    EXPECT_EQ(GridCell(form, 5, 22), "");   // computed cells emptied
    EXPECT_EQ(GridCell(form, 9, 22), "");   // C is not given in an open traverse
    QTest::mouseClick(form.btDecision, Qt::LeftButton);
    EXPECT_FALSE(GridCell(form, 7, 22).isEmpty());
    EXPECT_TRUE(messages.Shown.isEmpty());
}

TEST(FormTheodolit, ButtonsCarryTheirCaptionsAndHints)
{
    TFormTheodolit form;
    EXPECT_EQ(form.btOpenPlan->toolTip(), "Открыть файл хода");
    EXPECT_EQ(form.btSavePlan->toolTip(), "Сохранить файл хода");
    EXPECT_EQ(form.ExSpeedButton1->Caption(), "Sokkia +");
    EXPECT_EQ(form.ExSpeedButton1->toolTip(), "построить ход из файла Sokkia SDR");
    EXPECT_EQ(form.btPrint->toolTip(), "Печать");
    EXPECT_EQ(form.BitBtn2->text(), "Добавить в план  точки хода");
    EXPECT_EQ(form.BitBtn1->text(), "Добавить в план  исходные пункты");
    EXPECT_EQ(form.PointsCount->minimum(), 1);
    EXPECT_EQ(form.PointsCount->maximum(), 1000);
}

TEST(FormTheodolit, RefusalLeavesTheGridAsWritten)
{
    TMessages messages;
    TFormTheodolit form;
    form.show();
    QTest::mouseClick(form.btDecision, Qt::LeftButton);
    EXPECT_EQ(messages.Shown,
              QStringList{"Проверьте таблицу!|Невозможно определить исходный дир.угол"});
}
