// Set-up steps the main-window fixtures share: a run whose messages are expected, the
// destination of new objects fixed so that no window asks for it, and a classifier that
// records what it was shown and answers as the test says.
#pragma once

#include "MainWindowFixture.h"

#include "semantics/codec/SemDialogs.h"

#include <QStringList>

// The options of a run whose messages are expected: they are kept in Messages.
inline TMainWindowRun::TOptions MessagesKept()
{
    TMainWindowRun::TOptions options;
    options.CollectMessages = true;
    return options;
}

// New objects go to sheet "Лист" and layer layer without the destination window.
inline void FixDestination(TFormMap& form, const QString& layer)
{
    form.DestAutoPage = 0;
    form.DestPageName = QStringLiteral("Лист");
    form.DestAutoLayer = 0;
    form.DestLayerName = layer;
}

// The classifier: each call recorded in calls as "mode|list mode|code shown"; it answers
// result and, when that is mrOk, gives chosen. The three are read at each call.
inline TSemDialogHooks RecordingSemDialog(QStringList& calls, const QString& chosen, const int& result)
{
    TSemDialogHooks sem;
    sem.SemDlg = [&calls, &chosen, &result](int mode, int& lm, QString& s) {
        calls << QStringLiteral("%1|%2|%3").arg(mode).arg(lm).arg(s);
        if (result == mrOk)
            s = chosen;
        return result;
    };
    return sem;
}
