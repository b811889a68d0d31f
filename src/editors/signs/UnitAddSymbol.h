// "Не найден условный знак -добавление" and "Добавление условного знака": a new sign file
// is made from an existing sign file of the same object kind, under a name built from
// the object's semantics and the user's choice of how materials and states bear on the
// sign. The window only names the two files; its callers copy.
#pragma once

#include "foundation/ui/DialogBase.h"

#include <QString>
#include <QStringList>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;
class TSignPreview;

// The kind of sign file at path by its first two lines: a file whose first line is
// "#Условный знак" by its second ("#Точечный" 0, "#Линейный" 1, "#Площадной" 2), any
// other by its first, the older format ("[Рисунок]" 0, "[Начало линии]" 1, "[Углы]" 2).
// -1 for anything else, a file that cannot be read included.
int SignFileKind(const QString& path);

// The readable text of a sign name taken as a semantics of kind lm (0 point, 1 line,
// 2 area); the name itself when there is no classifier or it cannot read the name.
QString ReadableSignName(int lm, const QString& name);

// The window for an object of kind kind (0 point, 1 line, 2 area) whose code is the
// object code, "/" and each Ф, К and Н item followed by ";" ("ПОЗ/Ф010;К010;"), at
// scale 1:scale; states and materials are the object's codes without their letter
// ("010"). Returns 1 after "Готово" with a source sign chosen. Whatever the result,
// newFileName receives the name shown under "Имя файла нового условного знака" (no
// folder) and sourceFile the file of the first chosen line of the source list (empty
// when none is chosen).
TModalResult AddSymbolDlg(const QString& title, int kind, const QString& code, QString& newFileName,
                          QString& sourceFile, int scale, const QStringList& states,
                          const QStringList& materials);

class TFormAddSymbol : public TDialogBase {
    Q_OBJECT
public:
    TFormAddSymbol(int kind, int scale, QWidget* parent);

    // Fills the window for the object: kind text, semantics, the material and state
    // groups, the new name, the folder tree at "Условные знаки" and the scale.
    void Fill(const QString& title, const QString& code, const QStringList& states,
              const QStringList& materials);

    // The name made by the rule from the code and the radio buttons now chosen; empty
    // when the rule refuses it (the reason in Refusal).
    QString MakeSymbolFileName();
    // The folder whose sign files of the kind the source list shows.
    void SetFolder(const QString& folder);
    const QString& Folder() const { return FFolder; }
    // The full file name behind each line of the source list.
    const QStringList& FileNames() const { return FFileNames; }
    // The file of the first chosen line; empty when none.
    QString ChosenSource() const;

    QLabel* StaticText1;            // "тип: …"
    QPlainTextEdit* meSem;          // "Описание"
    QLineEdit* edSem;               // "Семантика объекта"
    QLineEdit* edFN;                // "Имя файла нового условного знака"
    QLineEdit* edScale;             // "Масштаб условного знака"
    QTreeWidget* DirectoryListBox1; // the folders below "Условные знаки"
    QListWidget* ListBox1;          // the sign files of the kind in the folder
    QRadioButton* MNone;            // "нет"
    QRadioButton* MNotUse;          // "Не влияет на знак"
    QRadioButton* MUse;             // "Только следующие:"
    QListWidget* lbM;
    QRadioButton* SNone;
    QRadioButton* SNotUse;
    QRadioButton* SUse;
    QListWidget* lbS;
    TSignPreview* Preview;          // PaintBox1 with TrackBar1
    QPushButton* BitBtn1;           // "Готово"

    QString Refusal;

private:
    void ShowFileName();
    void FolderChosen();
    void SourceChosen();
    void Done();
    void AddFolders(QTreeWidgetItem* parent, const QString& folder);

    int Kind;
    int Scale;
    QString Code;
    QString Semantics;              // S: the code with the materials and states
    QString FFolder;
    QStringList FFileNames;
};
