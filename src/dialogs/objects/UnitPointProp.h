// "Точечный объект": one point of the main plan created or edited field by field. On
// "Готово" it issues one command, mcNewPoint for a new point or mcSetPointProp; the move
// button moves the point at once with commands of its own.
#pragma once

#include "dialogs/objects/ObjectEditors.h"
#include "dialogs/objects/ObjectValues.h"
#include "foundation/ui/DialogBase.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QCheckBox;
class QToolButton;
class TAnglePaintBox;
class TExSlider;
class TNumEdit;
class TTextListBox;
class TUserTextsEditor;

// The window on the point at (page, layer, index), a new one when isNew. On 1 the command
// is issued. Page, layer and index are written back whatever the result: a move made in
// the window has already happened. 2 without a window or a main plan.
TModalResult PointPropDlg(int& page, int& layer, int& index, bool isNew);

// The command of the confirmed window: mcSetPointProp for the point at index, or
// mcNewPoint (no index) for a new one. With the all-from-first flag the settings become
// the first alone (KeepFirstUserText). Raises the formatter's message for a text that
// cannot stand in a field.
QString PointCommandParams(bool isNew, int page, int layer, int index, RPointValues values);

class TFormPointProp : public TDialogBase, public TObjectHead {
    Q_OBJECT
public:
    TFormPointProp(const RPointValues& values, bool isNew, int page, int layer, int index,
                   const QString& signName, QWidget* parent = nullptr);

    // The values the controls hold now (the settings list as edited).
    RPointValues Values() const;
    // The command of "Готово", made when it was pressed.
    TMapCommand Command() const { return IsNew ? mcNewPoint : mcSetPointProp; }
    const QString& Params() const { return ConfirmedParams; }

    int Page;
    int Layer;
    int Index;

    TNumEdit* neX;
    TNumEdit* neY;
    TExSlider* ExSlider1;             // precision 0 to 3
    TNumEdit* neAngle;
    TExSlider* ExSlider2;             // whole degrees 0 to 360
    TAnglePaintBox* pbAngle;
    QToolButton* sbCapLineAuto;
    QToolButton* sbCapLineOn;
    QToolButton* sbCapLineOff;
    QLabel* AutotextNum;
    TTextListBox* lbAutoTexts;
    QPushButton* btProp;
    QPushButton* btAdd;
    QPushButton* btDel;
    QCheckBox* cbAllUserTextsFromFirst;
    QPushButton* BitBtn1;             // "Готово"
    QPushButton* BitBtn2;             // "Отмена"

    void eTextChange();
    void ButtonShowFormSemClick();
    void ExSlider1Change();
    void sbChangePageLayerClick();
    void SpeedButton2Click();
    // Builds the command; a text the formatter refuses is shown and the window stays.
    void BitBtn1Click();

private:
    bool IsNew;
    ArrUserTexts UserTexts;
    TUserTextsEditor* Settings;
    QString ConfirmedParams;
};
