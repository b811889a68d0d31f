// "Удаление объектов": the points, lines or polygons whose semantics contains a text, in
// chosen sheets or in chosen layers of one sheet. The window only gathers the choice;
// the main plan finds the objects and asks before it deletes them.
#pragma once

#include "foundation/ProgramDialogs.h"
#include "foundation/ui/DialogBase.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

// The parameter strings of the mcDelObjects commands the choice asks for, in order: one
// per selected sheet (all its layers) on the sheets page, one per selected layer on the
// layers page. None without a selection, and none on the layers page without a sheet,
// which the engine would read as every sheet.
QStringList DelObjectsCommands(const TDelObjectsChoice& choice);

// Shows the window, then issues the commands of what it was left with, whatever the
// result, each asking its own question; returns the window's result. Raises what a
// command raises, the commands before it done.
TModalResult DelObjectsDlg();

class TFormDelObjects : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormDelObjects(QWidget* parent = nullptr);

    // What the window holds now.
    TDelObjectsChoice Choice() const;

    QTabWidget* PageControl1;
    QWidget* tsPages;            // "Поиск в листах"
    QWidget* tsLayers;           // "Поиск в слоях одного листа"
    QListWidget* lbPages;
    QComboBox* cbPages;
    QListWidget* lbLayers;
    QRadioButton* chPoints;      // "Точечные"
    QRadioButton* chLines;       // "Линейные"
    QRadioButton* chPolygons;    // "Площадные"
    QLineEdit* eOld;
    QToolButton* bt1;            // the classifier
    QPlainTextEdit* Memo1;       // the readable semantics
    QPushButton* BitBtn1;        // OK

    void PageControl1Change();
    void cbPagesChange();
    // The classifier on the kind and the text; its choice goes into the edit, read out
    // into the memo.
    void bt1Click();

private:
    int Kind() const;
};

// Shows the window centred on the screen; choice := what it was left with.
TModalResult RunDelObjects(TDelObjectsChoice& choice);
