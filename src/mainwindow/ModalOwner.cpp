// The transient parent of every modal window: the window it was opened from.
#include "mainwindow/ModalOwner.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

TModalOwner::TModalOwner(QObject* parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

TModalOwner::~TModalOwner()
{
    qApp->removeEventFilter(this);
}

QWidget* TModalOwner::Opener(const QWidget* shown)
{
    // The modal window whose run opened this one comes first: the active window may still
    // be the one just closed, or none at all until the window manager answers.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != shown && modal->isVisible())
        return modal;
    QWidget* active = QApplication::activeWindow();
    if (active && active != shown && active->isVisible() && active->windowType() != Qt::SplashScreen)
        return active;
    return nullptr;
}

bool TModalOwner::eventFilter(QObject* watched, QEvent* e)
{
    // The show event comes before the window manager is asked to map the window, so the
    // transient parent set here is the one it stacks the window by.
    if (e->type() != QEvent::Show || !watched->isWidgetType())
        return false;
    auto* shown = static_cast<QWidget*>(watched);
    if (!shown->isWindow() || shown->windowModality() == Qt::NonModal)
        return false;
    QWidget* opener = Opener(shown);
    QWindow* handle = shown->windowHandle();
    QWindow* openerHandle = opener ? opener->window()->windowHandle() : nullptr;
    if (!handle || !openerHandle || handle->transientParent() == openerHandle)
        return false;
    // A window kept for the whole run (the classifier) may have been the opener's own
    // opener once: no chain of transient parents may loop.
    for (const QWindow* w = openerHandle; w; w = w->transientParent())
        if (w == handle)
            return false;
    handle->setTransientParent(openerHandle);
    return false;
}
