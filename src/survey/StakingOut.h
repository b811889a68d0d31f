// Staking out points from a station: the input of the station and the orientation point,
// and the modeless result list that collects the staked points while the main window's
// inverse-task mode runs. Neither changes the plan.
#pragma once

#include "foundation/ui/DialogBase.h"

#include <QWidget>
#include <functional>

class QPushButton;
class TNumEdit;
class TTextListBox;

// "Обратная геодезическая задача": the station and the orientation point, three decimals,
// "," and "." both accepted. Enter gives 1 and Esc 2 whatever control has the focus.
class TFormInpOGZDialog : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormInpOGZDialog(QWidget* parent = nullptr);

    TNumEdit *neX0, *neY0;     // "Точка стояния"
    TNumEdit *neOrX, *neOrY;   // "Точка ориентирования"
    QPushButton* BitBtn1;      // "Готово"

    // Shows the four values with the window centred on the mouse and kept on the work
    // area, then writes the four edits' values back however it closed (an invalid text
    // counts as 0). The entry InpOGZDialog opens it.
    static TModalResult Execute(Extended& X0, Extended& Y0, Extended& OrX, Extended& OrY);
};

// "Решение обратной геодезической задачи": the staked points, one line each, and a
// button that saves them. Stays on top and lives until its owner goes; closing it only
// hides it.
class TFormOGZList : public QWidget {
    Q_OBJECT
public:
    explicit TFormOGZList(QWidget* owner = nullptr);

    TTextListBox* tlb;
    QPushButton* BitBtn1;   // "сохранить"

    // Asks for a file (no file filter) and writes the list's lines to it in code page
    // 1251, each ended by CR LF, replacing an existing file without a question. Raises
    // when the file cannot be written or a line holds a character the code page lacks;
    // the file is then left as it was.
    void BitBtn1Click();

    // The save dialog: true with fileName set to the user's choice. Replaced by tests;
    // empty, the toolkit's dialog is shown.
    static std::function<bool(QString& fileName)> SaveDialogHook;
};

// The result list the main window adds lines to: the newest made, or null before the
// first and after it is gone.
TFormOGZList* FormOGZList();
// Makes a result list with an empty list, owned by owner (the main window; never null),
// shows it and makes it the one FormOGZList returns. Earlier lists stay open with their
// lines.
TFormOGZList* NewFormOGZList(QWidget* owner);
