// "Создание объектов по координатам": plan objects from a table of numbered points typed
// in or read from a file, one point object or picket per row, or one line or one polygon
// through all rows, made with the same commands, destination rule and settings as the
// creators on the drawing surface.
#pragma once

#include "foundation/ui/DialogBase.h"

#include <QString>
#include <vector>

class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class TExSpeedButton;

// The fields of a DAT line: leading blanks skipped, then every blank ends a field (two
// blanks leave an empty one); a blank after the fourth field ends the reading. Tabs are
// ordinary characters.
void SplitDatLine(const QString& line, QString& N, QString& X, QString& Y, QString& H);

// The number the spare row offers after a row numbered N: N + 1 when N is a non-empty
// string of the digits 0 to 9, otherwise "1".
QString NextTableNumber(const QString& N);

// One data row as its cells were typed, and its coordinates read.
struct RCoordRow {
    QString N, X, Y, H;
    Extended XValue = 0, YValue = 0, HValue = 0;
};

class TFormCreateCoordObj : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormCreateCoordObj(QWidget* parent = nullptr);

    // "Создавать объекты": one of the four down.
    TExSpeedButton *sbPiket, *sbPoint, *sbLine, *sbPolygon;
    QTabWidget* PageControl1;
    QWidget *TabSheet1, *TabSheet2;   // "N-X-Y", "N-X-Y-H"
    QTableWidget *StringGrid1, *StringGrid2;
    QPushButton* SpeedButton1;   // the Word table
    QPushButton* SpeedButton2;   // "?"
    QPushButton* Button1;        // the DAT file
    QPushButton* ClearTable2;
    QSpinBox* NR;                // the rows of the active grid
    QPushButton* ButtonOk;       // "Готово"

    // Opens the window over the main window and returns its modal result.
    static TModalResult Execute();

    void FormCreate();
    // Row growth and numbering after a cell of grid was edited.
    void StringGrid1SetEditText(QTableWidget* grid, int row, int col);
    // The coordinate cells of row of the active grid := "0".
    void SetDefLine1(int row);
    void ClearTable2Click();
    void NRChange();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void Button1Click();
    // Checks every data row of the active grid, then creates the objects of the kind
    // chosen, draws and closes with 1; a bad row is named and nothing is created.
    void ButtonOkClick();

    // The grid of the active page, and whether it is the page with heights.
    QTableWidget* ActiveGrid() const;
    bool HeightPage() const;
    // The data rows of grid (every row but the spare one), read and checked for the kind
    // chosen; false with error naming the first bad row.
    bool ReadTable(const QTableWidget* grid, std::vector<RCoordRow>& rows, QString& error) const;

    // The creators, each given the checked rows of the active grid.
    void CreatePointsFromTable(const std::vector<RCoordRow>& rows);
    void CreateLineFromTable(const std::vector<RCoordRow>& rows);
    void CreatePolygonFromTable(const std::vector<RCoordRow>& rows);

    // The text of a cell ("" when it was never filled).
    static QString Cell(const QTableWidget* grid, int row, int col);

private:
    void SetCell(QTableWidget* grid, int row, int col, const QString& text);
    // The row count of grid (at least 1), shown by NR when grid is the active one.
    void SetRowCount(QTableWidget* grid, int count);
    void PageChange();
    bool Filling = false;
};

// The window's entry: the palette's "Создание объектов по координатам" opens it.
int CreateCoordObjDlg();
