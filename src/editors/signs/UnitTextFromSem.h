// The caption rule window "Создавать надпись из семантики": which property of an
// object's semantics becomes a caption of its sign, with the texts around the value, the
// text style, the offsets and the placement.
#pragma once

#include "foundation/GeoDataObjectsRefs.h"
#include "foundation/ui/DialogBase.h"

#include <QStringList>
#include <memory>

class QAction;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QToolButton;
class TNumEdit;
class TSymbols;

// Edits rule in place with the text styles of symbols. 1 "Готово" (the rule rewritten
// from the window); 2 "Отмена", Esc or the close box, the rule's style name and own
// style as they were when the window opened (the style window "выбрать" changes them
// while it is open); 0 without a rule, nothing shown.
TModalResult TextFromSemDlg(RSemText* rule, TSymbols& symbols);

// One property kind: its radio button's caption, its code and the name "+" writes
// (empty: "+" changes nothing); HasList: its values come from "Семантика/<code>.wri".
struct TCaptionKind {
    const char16_t* Caption;
    const char16_t* Code;
    const char16_t* Name;
    bool HasList;
};
// The 27 kinds in the window's order: geometric, physical, information, basic.
extern const TCaptionKind CaptionKinds[27];

// The value written for the chosen entry of a kind's list (-1 when none): the entry's
// number, at least two digits ("00" for entry 0 or none), three for "М". stored is the
// rule's value as it was: a negative whole number (any value) stays when no entry is
// chosen, as "00" would name one value.
QString CaptionValueOfEntry(const QString& kind, int entry, int entryCount, const QString& stored);

class TFormTextFromSem : public TDialogBase {
    Q_OBJECT
public:
    TFormTextFromSem(RSemText& rule, TSymbols& symbols, QWidget* parent = nullptr);

    QRadioButton* KindButtons[27];
    QButtonGroup* KindGroup;     // one kind at a time; the id is the index in CaptionKinds
    QComboBox* dop;              // "Дополнительное описание"
    QLineEdit* eFKN;             // the code for "Ф", "К" and "Н"
    QLabel* LFont;               // "Образец шрифта 1234567890"
    QPushButton* Button2;        // "выбрать"
    QLineEdit* BeginText;        // "Текст в начале"
    QToolButton* btAddName;      // "+"
    QLineEdit* sep1;             // "Разделитель"
    QLineEdit* sep2;
    QLineEdit* EndText;          // "Текст в конце"
    QToolButton* SpeedButton1;   // "спец.функции"
    QMenu* PopupMenu1;
    QAction* miLineSize;         // "Линейный размер"
    QAction* miDirAngle;         // "Дирекционный угол и проложение"
    QRadioButton* rbStep;        // 0 "Использовать шаг"
    QRadioButton* rbDist;        // 1 "Использовать смещение"
    QRadioButton* rbLine1;       // 2 "Вставлять в линию, автоповорот"
    QRadioButton* rbLine2;       // 3 "Вставлять в линию, фиксировать"
    QButtonGroup* ModeGroup;     // the id is the placement mode
    TNumEdit* neDx;
    TNumEdit* neDy;
    TNumEdit* neV;               // "Шаг"
    QPushButton* BitBtn1;        // "Готово"
    QPushButton* BitBtn2;        // "Отмена"

    // The code of the chosen kind; empty when none is chosen.
    QString ChosenKind() const;
    // "Готово": closes with 1 when a kind is chosen (with a code for "Ф", "К", "Н"),
    // otherwise says so and stays open.
    void Confirm();
    // Writes the window into the rule (the OK path).
    void WriteBack();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void KindChosen(int index);
    void LoadValueList(const QString& code);
    void ShowSample();

    RSemText& Rule;
    TSymbols& Symbols;   // link, not owned
    QString StoredValue;
    // Dx, Dy and the step are shown rounded; each is written back only once the user
    // has typed into it, so an untouched value keeps its precision.
    bool DxTyped = false;
    bool DyTyped = false;
    bool StepTyped = false;
};
