// The classifier's own modal windows as the core sees them: the classifier window in
// one of its modes, the add-synonym window and the add-sign window. Each is reached
// through a replaceable hook; the windows install theirs, tests install scripted
// answers, and without a hook every routine answers cancel at once.
#pragma once

#include <QString>
#include <functional>

class TSemCodec;

struct TSemDialogHooks {
    // The classifier window shown modally in mode smode (5: make a work semantics for
    // the standard object of Sem). Returns the modal result (2 when cancelled).
    std::function<int(int smode, int& lmode, QString& Sem)> SemDlg;
    // Refills the classifier window's property lists from the standard record under the
    // codec's classifier cursor, before SemDlg opens in mode 5.
    std::function<void()> LoadFKNs02;
    // "Добавить синоним": on OK records the current semantics' sign-selecting form as a
    // code of the chosen synonym in codec.Synonyms[lm], sets name and returns true.
    std::function<bool(TSemCodec& codec, const QString& folder, int lm, QString& name)> AddSynDlg;
    // "Не найден условный знак -добавление": returns 1 on OK with filename (ending in
    // ".wri") and sourcepath (empty when no sign was chosen to copy).
    std::function<int(const QString& caption, int lm, const QString& key,
                      const QString& materialcodes, const QString& statecodes, int scale,
                      QString& sourcepath, QString& filename)>
        AddSymbolDlg;
};

// The one set in force.
TSemDialogHooks& SemDialogHooks();

// Puts a set in force for its lifetime and restores the previous one after.
class TScopedSemDialogHooks {
public:
    explicit TScopedSemDialogHooks(TSemDialogHooks hooks = {});
    ~TScopedSemDialogHooks();
    TScopedSemDialogHooks(const TScopedSemDialogHooks&) = delete;
    TScopedSemDialogHooks& operator=(const TScopedSemDialogHooks&) = delete;

private:
    TSemDialogHooks Saved;
};

// Only on 1 do lmode and Sem receive the window's kind and semantics; on any other result
// both keep the values passed in. Without a window: 2 (cancel), nothing changed.
int SemDlg(int smode, int& lmode, QString& Sem);
// Without a window: false, name untouched.
bool AddSynDlg(TSemCodec& codec, const QString& folder, int lm, QString& name);
// Without a window: 2, sourcepath and filename untouched.
int AddSymbolDlg(const QString& caption, int lm, const QString& key, const QString& materialcodes,
                 const QString& statecodes, int scale, QString& sourcepath, QString& filename);
