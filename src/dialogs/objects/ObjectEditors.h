// What the point, line and polygon editors share: the list of user caption settings with
// its three buttons and its selection rule, the sign-editor button, the pause of autosave
// while an editor is open, the small picture of an angle, and the readable decoding of a
// semantics string.
#pragma once

#include "engine/commands/MapCommand.h"
#include "foundation/GeoDataObjects.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/STDserv.h"

#include <QObject>
#include <QWidget>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TTextListBox;

// The selection rule of the settings buttons: none selected disables "Свойства" and
// "Удалить", one enables both, several enable "Удалить" only.
void SettingsButtonsState(int selectedCount, bool& propEnabled, bool& delEnabled);

// Removes the settings at lines (ascending, each within the list); the others keep their
// order.
void DeleteUserTexts(ArrUserTexts& texts, const TSelectedLines& lines);

// "Все настройки по первому элементу": the list becomes its first setting alone, or one
// setting of all zeros when it was empty.
void KeepFirstUserText(ArrUserTexts& texts);

// The rotation of a setting from the degrees shown: tenths, halves to the even tenth
// (12.25 gives 122, 12.75 gives 128).
TWinAngle RotationFromDegrees(Extended degrees);

// The settings list of an editor over its controls; each operation refills the list and
// applies the selection rule. Texts is the editor's own list.
class TUserTextsEditor : public QObject {
    Q_OBJECT
public:
    TUserTextsEditor(ArrUserTexts& texts, TTextListBox* list, QPushButton* prop, QPushButton* add,
                     QPushButton* del, QObject* parent);

    void Refill();
    void UpdateButtons();
    // "Добавить": a new setting (0, 0, 0, 1, 0) opened in its window.
    void Add();
    // "Свойства" and a double click: the first selected setting in its window.
    void Prop();
    // "Удалить": asks, and removes the selected settings only on 1.
    void Del();

private:
    ArrUserTexts& Texts;   // link, not owned
    TTextListBox* List;
    QPushButton* BtProp;
    QPushButton* BtDel;
};

// Stops the main window's autosave for its lifetime; when the last pause in force ends
// it runs again only when autosave is on in the settings. Nothing without a main window.
class TAutosavePause {
public:
    TAutosavePause();
    ~TAutosavePause();
    TAutosavePause(const TAutosavePause&) = delete;
    TAutosavePause& operator=(const TAutosavePause&) = delete;
};

// The sign file an object's sign is kept in: "Условные знаки/<scale>/<kind folder>/<name>.wri"
// below the program folder, kind 0 "Точечные", 1 "Линейные", 2 "Площадные".
QString SignFileName(int scale, int kind, const QString& signName);

// "Редактор У.З.": the sign editor on the object's sign, then the main plan's sign
// library read again and the plan redrawn with every sign rendered anew. Autosave is
// paused meanwhile.
void EditObjectSign(int kind, const QString& signName);

// The scale of the main plan (1:scale); 0 while there is no plan.
int PlanScale();

// The names of sheet page and its layer in the main plan; each left as it was when
// there is no such sheet or layer.
void PlaceNames(int page, int layer, QString& pageName, QString& layerName);

// The head the point, line and polygon windows share (laid out by BuildObjectHead): where
// the object stands ("Лист", "Слой") with the button that moves it, the sign it has with
// the button of the sign editor, and the group "Семантика" with its line, its "..." and
// the decoded text.
struct TObjectHead {
    QLabel* LPage = nullptr;
    QLabel* LLayer = nullptr;
    QPushButton* sbChangePageLayer = nullptr;   // "Перенести"
    QLabel* lbSymbol = nullptr;
    QPushButton* SpeedButton2 = nullptr;        // "Редактор У.З."
    QLineEdit* eText = nullptr;
    QPushButton* ButtonShowFormSem = nullptr;
    QPlainTextEdit* Memo1 = nullptr;

    // Shows the names of the sheet and the layer the object stands on now.
    void ShowPlace(int page, int layer);
};

// The object window's confirmed command issued on the main plan (nothing without one).
void DoMainCommand(TMapCommand command, const QString& params);

// Runs an object window on (page, layer, index) of the main plan: shown modally at the
// centre of the screen, the place written back whatever the result (a move made in the
// window has already happened) and on 1 its command issued.
template <class TForm>
TModalResult RunObjectForm(TForm& form, int& page, int& layer, int& index)
{
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    page = form.Page;
    layer = form.Layer;
    index = form.Index;
    if (result == mrOk)
        DoMainCommand(form.Command(), form.Params());
    return result;
}

// The readable decoding of a semantics string of kind; empty for an empty string or
// while no classifier exists.
QString DecodeSemantics(int kind, const QString& semantics);

// A circle with a radius at an angle: 41 by 41 pixels, black 2-pixel pen. Zero is the
// radius pointing up (Offset -90) or right (Offset 0); it turns clockwise on the screen.
class TAnglePaintBox : public QWidget {
    Q_OBJECT
public:
    TAnglePaintBox(Extended offset, QWidget* parent);
    std::function<Extended()> Angle;   // degrees

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    Extended Offset;
};
