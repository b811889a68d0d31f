// The entries of the sign editors and the small classifier windows over their hooks.
#include "editors/EditorDialogs.h"

#include <utility>

TEditorDialogHooks& EditorDialogHooks()
{
    static TEditorDialogHooks hooks;
    return hooks;
}

TScopedEditorDialogHooks::TScopedEditorDialogHooks(TEditorDialogHooks hooks)
    : Saved(std::exchange(EditorDialogHooks(), std::move(hooks)))
{
}

TScopedEditorDialogHooks::~TScopedEditorDialogHooks() { EditorDialogHooks() = std::move(Saved); }

TModalResult SymbolManagerDlg(int scale)
{
    const auto& hook = EditorDialogHooks().SymbolManagerDlg;
    return hook ? hook(scale) : mrCancel;
}

TModalResult EditSymbolDlg(const QString& fileName, int scale, int kind)
{
    const auto& hook = EditorDialogHooks().EditSymbolDlg;
    return hook ? hook(fileName, scale, kind) : mrCancel;
}

TModalResult ChangeSemDlg()
{
    const auto& hook = EditorDialogHooks().ChangeSemDlg;
    return hook ? hook() : mrCancel;
}

TModalResult ChangeHinSemDlg(int& first, int& last, Extended& increment, QString& code)
{
    const auto& hook = EditorDialogHooks().ChangeHinSemDlg;
    return hook ? hook(first, last, increment, code) : mrCancel;
}

TModalResult NewWrkSemDlg(QString& standard, const QString& decoding, QString& name,
                          const QString& caption)
{
    const auto& hook = EditorDialogHooks().NewWrkSemDlg;
    return hook ? hook(standard, decoding, name, caption) : mrCancel;
}

TModalResult SelectMSDlg(QStringList& materials, QStringList& states)
{
    const auto& hook = EditorDialogHooks().SelectMSDlg;
    return hook ? hook(materials, states) : mrCancel;
}
