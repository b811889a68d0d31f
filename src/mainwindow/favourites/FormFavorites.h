// The favourites palette of one object kind: a small stay-on-top toolbar of ready
// semantics, each button a picture taken from the plan. Pressing a button makes its
// name the kind's code for new objects and enters the kind's creation mode; the last
// button opens the set-up window. The tool palette makes one per kind on first use.
#pragma once

#include <QList>
#include <QWidget>

class QButtonGroup;
class QHBoxLayout;
class QToolButton;
class TExSpeedButton;
class TFormMap;

class TFormFavorites : public QWidget {
    Q_OBJECT
public:
    explicit TFormFavorites(TFormMap& form, QWidget* owner);
    ~TFormFavorites() override;

    // The toolbar: the buttons of "кнопки.txt" in the file's order, separators 4 pixels
    // wide, and the designed button ToolButton1 ("Настройка избранных объектов") last.
    QWidget* ToolBar1;
    QToolButton* ToolButton1;
    // 0 points, 1 lines, 2 polygons, and the kind's folder word.
    int Kind = 0;
    QString FolderWord;

    // Builds the toolbar of kind afresh from its folder; called once after creation. An
    // unreadable toolbar file or picture is told to the user and left out; the files
    // stay as they are.
    void Load(int kind);
    // The toolbar's elements in display order: buttons and separators, ToolButton1 last.
    QList<QWidget*> Elements() const;
    // The favourite buttons (ToolButton1 not among them), in display order.
    QList<QToolButton*> Buttons() const;

    // A favourite pressed: it alone stays down, its name becomes the kind's code and,
    // with the kind's creation button up, the kind's creation mode starts with it down.
    void ButtonClick(QToolButton* button);
    // Opens the set-up window of this kind, replacing one that is open.
    void ToolButton1Click();

protected:
    // Showing the palette always starts the kind's creation mode with its button down.
    void showEvent(QShowEvent* e) override;

private:
    void ClearToolBar();
    TExSpeedButton* CreationButton() const;
    TFormMap& Form;   // link, not owned
    QHBoxLayout* Row;
    QButtonGroup* Group;
};

// The factory the tool palette calls through its hook: a palette of kind for owner (the
// main window), loaded; null for a kind outside 0 to 2.
QWidget* NewFormFavorites(int kind, QWidget* owner);
// Frees the kind's palette when it exists and, while the kind's creation button is down,
// makes and shows it anew through the tool palette, so it shows the toolbar as stored.
void RebuildFavorites(int kind);
// Puts the factory into the main window's hooks.
void InstallFavouritesWindows();
