// What the survey tests share: readable texts in failure reports, the windows saved
// for review, the message boxes caught instead of shown, and a window's children found
// and typed into by object name.
#pragma once

#include "foundation/ServDialogs.h"
#include "foundation/ui/NumEdit.h"

#include <QString>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
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

// The child of w named name; a failure when there is none.
template <class T>
T* Child(QWidget* w, const char* name)
{
    T* child = w->findChild<T*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// The number field named name emptied and text typed into it key by key.
inline void Type(QWidget* window, const char* name, const QString& text)
{
    auto* e = Child<TNumEdit>(window, name);
    e->setFocus();
    e->selectAll();
    e->del();
    QTest::keyClicks(e, text);
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
