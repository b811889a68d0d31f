// The tacheometry window "Полярная засечка, тахеометрическая съемка": the station, the
// orientation and the observations in one of two grids, typed or imported from a total-
// station file; OK turns every row into plan objects. The computation lives in
// TaheoCalc, the creation in TaheoCreate; the window only reads and fills controls.
#pragma once

#include "foundation/ui/DialogBase.h"
#include "survey/tacheo/TaheoCalc.h"

class QLabel;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QWidget;
class TExSpeedButton;
class TNumEdit;

class TFormInputTaheo : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormInputTaheo(QWidget* parent = nullptr);

    TNumEdit *EditStantionX, *EditStantionY;
    TExSpeedButton *ButtonBetaAngle, *ButtonDirAngle;
    QLabel* LabelOr;                 // "Точка ориентирования"
    QTabWidget* SelectOr;            // pages Coord and DirAngle
    QWidget *Coord, *DirAngle;
    TNumEdit *PointOr_X, *PointOr_Y, *AlphaOr_G, *AlphaOr_m;
    TExSpeedButton *PointToSt, *StToPoint;
    QLabel *LabelHst, *LabelI;
    TNumEdit *neHst, *neI;
    QLabel* LabelView;               // "Вид"
    TExSpeedButton *sbFull, *sbShort;
    TExSpeedButton *sbPiket, *sbPoint, *sbLine, *sbPolygon;
    QTabWidget* PageControl1;
    QWidget *TabSheetClassic, *TabSheetTaheo;
    QTableWidget *StringGrid1, *StringGrid2;
    QSpinBox *NR1, *NR2;
    QPushButton *ClearTable, *ClearTable2;
    TExSpeedButton* ButtonOpen;
    QRadioButton *rbNormal, *rbZ0, *rb360;
    QPushButton* ButtonOk;

    // Opens the window on top in the centre of the screen and returns its modal result;
    // the entry InputTaheoDlg opens it.
    static TModalResult Execute();

    // Both grids back to one default row named "1".
    void ClearTableClick();
    // Row growth and numbering after the text of cell (row, col) of grid became text.
    void StringGridSetEditText(QTableWidget* grid, int row, int col, const QString& text);
    void NR1Change();
    void NR2Change();
    void ButtonDirAngleClick();
    void ButtonBetaAngleClick();
    void sbFullClick();
    void sbShortClick();
    void PageControl1Change();
    void ButtonOkClick();
    void ButtonOpenClick();

    // What the controls say, and the grid of the active page as texts.
    UnitInputTaheo::RTaheoSettings Settings() const;
    UnitInputTaheo::TTaheoRows GridRows(const QTableWidget* grid) const;
    void SetGridRows(QTableWidget* grid, const UnitInputTaheo::TTaheoRows& rows);

private:
    // The grid's last column as it is shown (3 for the classic grid in the short form).
    int LastColumn(const QTableWidget* grid) const;
    void SetCell(QTableWidget* grid, int row, int col, const QString& text);
    // Sets the grid's row count through its spin edit's rule.
    void SetRowCount(QTableWidget* grid, int count);
    void UpdateHeadings();
    bool Filling = false;
};
