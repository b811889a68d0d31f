// What the survey tests share: readable texts in failure reports, the windows saved
// for review and the message boxes caught instead of shown.
#pragma once

#include "foundation/ServDialogs.h"

#include <QString>
#include <QWidget>
#include <QStringList>
#include <memory>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

// The window's picture saved as name in VELMORA_REVIEW_DIR, when that is set, for a look.
inline void Review(QWidget& w, const char* name)
{
    const QByteArray dir = qgetenv("VELMORA_REVIEW_DIR");
    if (!dir.isEmpty())
        w.grab().save(QString::fromLocal8Bit(dir) + u'/' + QString::fromLatin1(name));
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
