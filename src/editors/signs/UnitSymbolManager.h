// "Менеджер условных знаков": the sign library of one scale as a table, one row per sign
// file of the kind chosen, each drawn on a sample object, with its readable semantics
// and file name. From it sign files are deleted, added from the classifier and an
// existing sign, copied under another semantics and opened in the dialog of their kind.
// Every file operation reloads the whole library of the scale and rebuilds the table.
#pragma once

#include "foundation/ui/DialogBase.h"

#include <QHash>
#include <QImage>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class TSignPreview;
class TSignTableModel;

class TFormSymbolManager : public TDialogBase {
    Q_OBJECT
public:
    // Prepares the preview plan and loads the library of scale 1:scale into it; the
    // table is built for the point signs. Raises what the preview's creation raises.
    TFormSymbolManager(int scale, QWidget* parent);
    ~TFormSymbolManager() override;

    // The whole entry: the window shown modally, the process-wide document state kept
    // whatever the preview did. Returns the modal result (1 "Закрыть", 2 Esc).
    static TModalResult Execute(int scale);

    // The kind by the radio buttons: 0 point, 1 line, 2 area.
    int ShownKind() const;
    // The table for the kind shown: rows, sizes and the count; no row is selected after.
    void Rebuild();
    int RowCount() const;
    // The sign name of row (the library's name, its file name less ".wri").
    QString RowName(int row) const;
    // The readable semantics of the sign name taken as a semantics of the kind.
    QString RowText(int row) const;
    // The sign of row drawn on the sample object at the size of the cell picture (twice
    // the cell for points and lines); rendered once per rebuild.
    QImage RowPicture(int row);
    // The sign file of row: the kind's folder of the scale, the sign name and ".wri".
    QString RowFile(int row) const;
    // The row last selected; -1 when none.
    int SelectedRow() const { return FSelectedRow; }
    void SelectRow(int row);

    void DeleteClick();   // "удалить"
    void AddClick();      // "добавить"
    void CopyClick();     // "копия"
    void EditClick();     // "редактор"

    QRadioButton* rbPoint01;
    QRadioButton* rbLine01;
    QRadioButton* rbPolygon01;
    QTableView* DrawGrid1;
    QPushButton* SpeedButton1;   // "удалить"
    QPushButton* SpeedButton2;   // "добавить"
    QPushButton* SpeedButton3;   // "копия"
    QPushButton* SpeedButton4;   // "редактор"
    QLineEdit* neScale;
    QLabel* Label2;              // the number of signs
    QPushButton* BitBtn1;        // "Закрыть"
    TSignPreview* Preview;       // hidden: gives the cell picture its size

private:
    void Reload();
    // The sample carrying row's sign, drawn at the cell picture's size.
    QImage RenderRow(int row);
    // Copies source into the kind folder of the scale as name, never over an existing
    // file, which is named in a message instead. title heads the messages.
    void CopyInto(const QString& source, int kind, const QString& name, const QString& title);
    // The classifier, then the materials and states; false when either is cancelled.
    // code gets the standard part in the code form ("ПОЗ/Ф010;"), lm the kind chosen.
    bool ChooseSemantics(int& lm, QString& code, QStringList& materials, QStringList& states);

    int Scale;
    int Kind = 0;
    int FSelectedRow = -1;
    bool Rebuilding = false;
    TSignTableModel* Model;
    QHash<int, QImage> Pictures;   // per row of the kind shown
};
