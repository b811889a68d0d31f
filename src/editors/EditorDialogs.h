// What the main window and the object windows open of the sign editors and the small
// classifier windows: the sign manager, the sign dialog of one sign file, the semantics
// replacement and the height change. Each entry is reached through a replaceable hook
// that the window installs once it exists; tests install scripted answers, and without a
// hook an entry opens nothing, answers 2 and leaves its arguments as they were.
#pragma once

#include "foundation/ServDialogs.h"

#include <QString>
#include <QStringList>
#include <functional>

// One member per entry, each receiving the entry's arguments and returning the modal
// result; an empty member means "no window".
struct TEditorDialogHooks {
    std::function<TModalResult(int scale)> SymbolManagerDlg;
    std::function<TModalResult(const QString& fileName, int scale, int kind)> EditSymbolDlg;
    std::function<TModalResult()> ChangeSemDlg;
    std::function<TModalResult(int& first, int& last, Extended& increment, QString& code)>
        ChangeHinSemDlg;
    std::function<TModalResult(QString& standard, const QString& decoding, QString& name,
                               const QString& caption)>
        NewWrkSemDlg;
    std::function<TModalResult(QStringList& materials, QStringList& states)> SelectMSDlg;
};

// The one set in force.
TEditorDialogHooks& EditorDialogHooks();

// Puts a set in force for its lifetime and restores the previous one after.
class TScopedEditorDialogHooks {
public:
    explicit TScopedEditorDialogHooks(TEditorDialogHooks hooks = {});
    ~TScopedEditorDialogHooks();
    TScopedEditorDialogHooks(const TScopedEditorDialogHooks&) = delete;
    TScopedEditorDialogHooks& operator=(const TScopedEditorDialogHooks&) = delete;

private:
    TEditorDialogHooks Saved;
};

// "Менеджер условных знаков" for the sign library of scale 1:scale.
TModalResult SymbolManagerDlg(int scale);

// The sign dialog of kind (0 point, 1 line, 2 polygon) on the sign file fileName (a full
// path) of scale 1:scale. Callers ignore the result; they reload their own plan's sign
// library and redraw.
TModalResult EditSymbolDlg(const QString& fileName, int scale, int kind);

// "Замена семантики объектов" on the main plan; the window gives its own commands.
TModalResult ChangeSemDlg();

// "Изменить высоты объектов в диапазоне...": the number range first to last (both
// included), the height increment and the object code. The window writes all four back
// whatever the result; 1 on OK.
TModalResult ChangeHinSemDlg(int& first, int& last, Extended& increment, QString& code);

// The name of a work object for the standard semantics standard, whose readable text is
// decoding (lines ended by CR). 1 "Готово" with a name, 4 "Выбрать" (back to the choice
// of the standard semantics), 2 Esc; standard and name take the window's texts whatever
// the result.
TModalResult NewWrkSemDlg(QString& standard, const QString& decoding, QString& name,
                          const QString& caption);

// "Добавление свойств": the numbers of the materials and states chosen, three digits
// each ("000" for line 0), in line order; both lists are refilled whatever the result.
TModalResult SelectMSDlg(QStringList& materials, QStringList& states);
