// "Параметры выбора объектов": the main plan's selection filter (which sheets, which
// layers and which kind of objects a click of the select mode picks) on three pages.
#pragma once

#include "foundation/ui/DialogBase.h"

#include <QStringList>

class QPushButton;
class QRadioButton;
class QTabWidget;
class TExCheckListBox;
class TGeoMap;

class TFormSelectSetup : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormSelectSetup(QWidget* parent = nullptr);

    // The filter of map shown: its radio buttons checked, the sheet and layer lines of
    // map listed and those named in the filter's lists checked.
    void LoadFrom(TGeoMap& map);
    // The controls into the filter of map. With "Все" chosen a name list keeps its old
    // contents, so a later "выбранные" shows the earlier choice.
    void StoreTo(TGeoMap& map) const;

    // The lists are enabled exactly while their "выбранные" is checked.
    void rbPageAllClick();
    void rbPageUserClick();
    void rbPageNomClick();
    void rbLayerAllClick();
    void rbLayerUserClick();

    QTabWidget* PageControl1;
    QRadioButton* rbPageAll;        // "Все"
    QRadioButton* rbPageUser;       // "выбранные"
    QRadioButton* rbPageNom;        // "по текущей номенклатуре м.500"
    TExCheckListBox* clbPages;      // one line per sheet, in sheet order
    QRadioButton* rbLayerAll;
    QRadioButton* rbLayerUser;
    TExCheckListBox* clbLayers;     // one line per layer name
    // The kinds in the filter's order 0 … 5.
    QRadioButton* rbObjAll;         // "Все, исключая растры"
    QRadioButton* rbObjRastrs;
    QRadioButton* rbObjTexts;
    QRadioButton* rbObjPoints;
    QRadioButton* rbObjLines;
    QRadioButton* rbObjPolygons;
    QPushButton* BitBtn1;           // "Готово"

private:
    QStringList PageNames;          // the sheet of each line of clbPages
};

// The window over the main plan's filter: loaded, shown modally, stored back whatever the
// result. 2 without a main plan.
TModalResult RunSelectSetup();
