// The traverse window: the field book typed into one table, "Расчет" adjusts it in
// place; the file, instrument and plan buttons act on the same table.
#pragma once

#include "foundation/ui/DialogBase.h"
#include "survey/TraverseTable.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class TExSpeedButton;

class TFormTheodolit : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormTheodolit(QWidget* parent = nullptr);

    // The table the grid shows; after changing it directly, call TableToGrid.
    TTraverseTable Table;
    void TableToGrid();

    // Grid row g shows table row g + 1; the table's row 0 (the column numbers) is the
    // grid's heading.
    QTableWidget* Grid = nullptr;
    QSpinBox* PointsCount = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QLabel* Label2 = nullptr;
    TExSpeedButton* btOpenPlan = nullptr;
    TExSpeedButton* btSavePlan = nullptr;
    TExSpeedButton* ExSpeedButton1 = nullptr;
    TExSpeedButton* btPrint = nullptr;
    QPushButton* btDecision = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn1 = nullptr;

    static QString ClosureNote(int type);

    // Opens the window modally over the active window; returns its modal result. The
    // entry TheodolitDlg opens it.
    static TModalResult Execute();

    void btDecisionClick();
    void BitBtn3Click();
    void RadioButton1Click();
    void PointsCountChange();
    void btPrintClick();
    // The table file and the plan output live in traverse/TheodolitFile.cpp, the fill
    // from an SDR file in traverse/TheodolitSdr.cpp.
    void btOpenPlanClick();
    void btSavePlanClick();
    void ExSpeedButton1Click();
    void BitBtn1Click();
    void BitBtn2Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void GridCellChanged(int gridRow, int col);
    bool Filling = false;
};
