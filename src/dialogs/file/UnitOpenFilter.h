// The open filter: what the plan readers take from a file and the semantics they give
// the objects they read. The main window resets it before every read of a plan file,
// so that a file is read whole and unchanged; the window "Фильтр открытия файла" sets
// it for the one read of the filtered open.
#pragma once

#include "foundation/ui/DialogBase.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
struct TOpenFilter;

// Every kind loaded, nothing replaced.
void ResetOpenFilter(TOpenFilter& filter);
// The main plan's filter (nothing without a main plan).
void ResetOpenFilter();

// The main plan's filter in the window; the controls are stored back into it whatever
// the result. 1 "Готово" or Enter, 2 "Отмена" or Esc; 2 without a main plan or window.
TModalResult OpenFilterDlg();

class TFormOpenFilter : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormOpenFilter(const TOpenFilter& filter, QWidget* parent = nullptr);

    // The controls into filter: ticked boxes give 1, others 0; the edits as they stand.
    void StoreTo(TOpenFilter& filter) const;

    QCheckBox* cbRepPoint;
    QLineEdit* edRepPoint;
    QPushButton* Button1;
    QCheckBox* cbRepLine;
    QLineEdit* edRepLine;
    QPushButton* Button2;
    QCheckBox* cbRepPolygon;
    QLineEdit* edRepPolygon;
    QPushButton* Button3;
    QCheckBox* cbLoadRastrs;
    QCheckBox* cbLoadTexts;
    QCheckBox* cbLoadPoints;
    QCheckBox* cbLoadLines;
    QCheckBox* cbLoadPolygons;
    QPushButton* BitBtn1;   // "Готово"
    QPushButton* BitBtn2;   // "Отмена"

private:
    // The classifier in its first mode for kind lm (0 point, 1 line, 2 polygon); what it
    // returns goes into edit whatever its result, and the row's box stays as it is.
    void Choose(int lm, QLineEdit* edit);
};
