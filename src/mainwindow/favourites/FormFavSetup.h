// "Настройка избранных объектов": the toolbar of one kind's favourites palette arranged
// line by line, the pictures of the kind's folder offered for it, and the capture of new
// buttons from the plan. Every change is written to "кнопки.txt" at once and the palette
// rebuilt from it. At most one such window exists.
#pragma once

#include "foundation/ui/DialogBase.h"

#include <QPointer>
#include <QStringList>

class QLabel;
class QPushButton;
class TFormMap;
class TTextListBox;

class TFormFavSetup : public TDialogBase {
    Q_OBJECT
public:
    TFormFavSetup(TFormMap& form, QWidget* owner);
    ~TFormFavSetup() override;

    QLabel* Label1;                // "Панель инструментов"
    TTextListBox* TextListBox1;    // the toolbar's lines, "---" or the description
    QLabel* Label2;                // "Доступные кнопки"
    TTextListBox* TextListBox2;    // the pictures of the folder by description
    QPushButton* btnUp;            // "вперед"
    QPushButton* btnDown;          // "назад"
    QPushButton* btnAdd;           // "кнопку добавить"
    QPushButton* Button2;          // "разделитель добавить"
    QPushButton* btnEdit;          // "изменить рисунок"
    QPushButton* btnDel;           // "удалить"
    QPushButton* Button1;          // "обновить панель"
    QPushButton* BitBtn1;          // "Создать кнопку"

    // 0 points, 1 lines, 2 polygons, and the kind's folder word.
    int Kind = 0;
    QString FolderWord;
    // The raw lines behind the two lists: the toolbar's lines and the picture file names.
    QStringList ToolbarLines;
    QStringList PictureFiles;

    // Sets the kind and its folder word and reloads both lists.
    void SetKind(int kind);
    // Both lists from the folder as it is now; an unreadable toolbar file is told to the
    // user and shows an empty toolbar list (the file is not touched).
    void Reload();

    void btnUpClick();
    void btnDownClick();
    void btnAddClick();
    void Button2Click();
    void btnEditClick();
    void btnDelClick();
    void Button1Click();
    // The main window goes to the kind's capture mode; the window hides.
    void BitBtn1Click();

private:
    // Writes the toolbar lines to "кнопки.txt" and rebuilds the kind's palette; the
    // lists show the file afterwards with line selected. A failed write is told to the
    // user and the palette stays as it was.
    void SaveAndRebuild(int line);
    bool ToolbarReadable = true;   // false: the toolbar file could not be read
    TFormMap& Form;                // link, not owned
};

// The one set-up window, or null.
extern QPointer<TFormFavSetup> FormFavSetup;
// A new set-up window of kind, replacing the one that is open, shown.
TFormFavSetup* ShowFavSetup(TFormMap& form, int kind);
