// What the survey tests share: readable texts in failure reports and the message
// boxes caught instead of shown.
#pragma once

#include "foundation/ServDialogs.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

// The message boxes shown while it lives, as "caption|text"; each answers "Готово".
class TMessages {
public:
    TMessages()
    {
        TDialogHooks hooks;
        hooks.ShowMsg = [this](const QString& caption, const QString& text) {
            Shown << caption + "|" + text;
            return mrOk;
        };
        Scope = std::make_unique<TScopedDialogHooks>(hooks);
    }
    QStringList Shown;

private:
    std::unique_ptr<TScopedDialogHooks> Scope;
};
