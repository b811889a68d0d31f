// The scripted modal answers and their deadline.
#include "support/ModalScript.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

QString Described(const QWidget* w)
{
    return QString::fromLatin1(w->metaObject()->className()) + QStringLiteral(" \"") +
           w->windowTitle() + u'"';
}

}  // namespace

TModalScript::TModalScript(int deadlineMs) : DeadlineMs(deadlineMs) {}

TModalScript::~TModalScript()
{
    if (!Done()) {
        ADD_FAILURE() << "the script stopped before step " << Next + 1 << " of " << Steps.size()
                      << ": no window " << Steps[Next].WindowClass << " was shown to it";
    }
}

TModalScript& TModalScript::Then(const char* windowClass, TStep step)
{
    Steps.push_back({windowClass, std::move(step)});
    if (Steps.size() == 1) {
        Waiting.start();
        QTimer::singleShot(0, this, [this] { Poll(); });
    }
    return *this;
}

void TModalScript::Schedule()
{
    QTimer::singleShot(1, this, [this] { Poll(); });
}

void TModalScript::Poll()
{
    QWidget* shown = QApplication::activeModalWidget();
    if (!Done() && shown && shown->inherits(Steps[Next].WindowClass)) {
        const TStep step = Steps[Next].Act;
        ++Next;
        Waiting.restart();
        ReportedStall = false;
        // Polled on inside the step too: a step may open the next window itself.
        Schedule();
        step(shown);
        return;
    }
    if (Waiting.hasExpired(DeadlineMs))
        MissDeadline(shown);
    // Past the last step the script only watches for a window left open.
    if (!Done() || shown)
        Schedule();
}

void TModalScript::MissDeadline(QWidget* shown)
{
    Waiting.restart();
    if (!shown) {
        if (!ReportedStall && !Done())
            ADD_FAILURE() << "no window " << Steps[Next].WindowClass << " within " << DeadlineMs
                          << " ms";
        ReportedStall = true;
        return;
    }
    if (Done())
        ADD_FAILURE() << "the window " << Described(shown).toStdString() << " stayed open "
                      << DeadlineMs << " ms after the script's last step; closed";
    else
        ADD_FAILURE() << "no window " << Steps[Next].WindowClass << " within " << DeadlineMs
                      << " ms, while " << Described(shown).toStdString() << " was shown; closed";
    QPointer<QWidget> window = shown;
    window->close();
    if (window && window->isVisible()) {
        if (auto* dialog = qobject_cast<QDialog*>(window.data()))
            dialog->done(QDialog::Rejected);
        else
            window->hide();
    }
}

void Key(QWidget* window, int key)
{
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, Qt::Key(key));
}
