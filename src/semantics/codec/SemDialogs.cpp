#include "semantics/codec/SemDialogs.h"

#include <utility>

TSemDialogHooks& SemDialogHooks()
{
    static TSemDialogHooks hooks;
    return hooks;
}

TScopedSemDialogHooks::TScopedSemDialogHooks(TSemDialogHooks hooks)
    : Saved(std::exchange(SemDialogHooks(), std::move(hooks)))
{
}

TScopedSemDialogHooks::~TScopedSemDialogHooks() { SemDialogHooks() = std::move(Saved); }

int SemDlg(int smode, int& lmode, QString& Sem)
{
    const auto& hook = SemDialogHooks().SemDlg;
    if (!hook)
        return 2;
    // Callers read kind and semantics without looking at the result first, so whatever a
    // window leaves in them on any other result must not reach them.
    int kind = lmode;
    QString sem = Sem;
    const int result = hook(smode, kind, sem);
    if (result == 1) {
        lmode = kind;
        Sem = sem;
    }
    return result;
}

bool AddSynDlg(TSemCodec& codec, const QString& folder, int lm, QString& name)
{
    const auto& hook = SemDialogHooks().AddSynDlg;
    return hook ? hook(codec, folder, lm, name) : false;
}

int AddSymbolDlg(const QString& caption, int lm, const QString& key, const QString& materialcodes,
                 const QString& statecodes, int scale, QString& sourcepath, QString& filename)
{
    const auto& hook = SemDialogHooks().AddSymbolDlg;
    return hook ? hook(caption, lm, key, materialcodes, statecodes, scale, sourcepath, filename)
                : 2;
}
