// The drawing surface and the window side of the main plan: the retained canvas, the
// copy of the plan's picture with the overlays paused around it, the status panels,
// progress bars and undo buttons the engine updates; the mouse events go to the handlers
// of modes/UnitMapMouse.cpp.
#include "mainwindow/UnitMap.h"

#include "engine/GeoMap.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QToolButton>

TSurfaceMouse TSurfaceMouse::From(const QMouseEvent& e)
{
    TSurfaceMouse m;
    const Qt::MouseButton button = e.button() != Qt::NoButton ? e.button() : Qt::NoButton;
    m.Button = button == Qt::RightButton ? 1 : button == Qt::MiddleButton ? 2 : 0;
    if (button == Qt::NoButton) {
        const Qt::MouseButtons held = e.buttons();
        m.Held = held != Qt::NoButton;
        m.Button = held & Qt::LeftButton ? 0 : held & Qt::RightButton ? 1 : held & Qt::MiddleButton ? 2 : 0;
    }
    const Qt::KeyboardModifiers mods = e.modifiers();
    m.Shift = (mods & Qt::ShiftModifier ? 1 : 0) | (mods & Qt::AltModifier ? 2 : 0) |
              (mods & Qt::ControlModifier ? 4 : 0);
    const QPoint p = e.position().toPoint();
    m.X = p.x();
    m.Y = p.y();
    return m;
}

TDisplaySurface::TDisplaySurface(TFormMap& form, QWidget* parent) : QWidget(parent), Form(form)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    Canvas = QImage(1, 1, QImage::Format_RGB32);
    Canvas.fill(Qt::white);
}

void TDisplaySurface::paintEvent(QPaintEvent* e)
{
    QPainter painter(this);
    painter.drawImage(e->rect().topLeft(), Canvas, e->rect());
}

void TDisplaySurface::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    QImage canvas(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter(&canvas).drawImage(0, 0, Canvas);
    Canvas = canvas;
    Form.DisplaySurfPaint();
}

void TDisplaySurface::mousePressEvent(QMouseEvent* e) { Form.DisplaySurfMouseDown(TSurfaceMouse::From(*e)); }
void TDisplaySurface::mouseReleaseEvent(QMouseEvent* e) { Form.DisplaySurfMouseUp(TSurfaceMouse::From(*e)); }
void TDisplaySurface::mouseMoveEvent(QMouseEvent* e) { Form.DisplaySurfMouseMove(TSurfaceMouse::From(*e)); }
// A double click arrives as a second press, as the modes expect.
void TDisplaySurface::mouseDoubleClickEvent(QMouseEvent* e) { Form.DisplaySurfMouseDown(TSurfaceMouse::From(*e)); }

bool TFormMap::TakeEventPoints(const TSurfaceMouse& m, TEventPoint& latest, TEventPoint& previous)
{
    if (!MainMap || MainMap->FactorX == 0 || MainMap->FactorY == 0)
        return false;
    Extended x = 0, y = 0;
    MainMap->ScrToGeo(DisplaySurf->height(), m.X, m.Y, x, y);
    previous = latest;
    latest.Screen = QPoint(m.X, m.Y);
    latest.Plan = GeoPoint(x, y);
    return true;
}

bool TFormMap::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this)
        return HandleHotKey(static_cast<QKeyEvent&>(*e));
    return QMainWindow::eventFilter(watched, e);
}

void TFormMap::PaintBitmap()
{
    // The engine's copy: with no picture yet the canvas keeps its bands, and so do
    // their drawn flags.
    if (MainMap)
        MainMap->PaintBitmap();
}

void TFormMap::SetPanelText(TEnginePanel panel, const QString& text)
{
    switch (panel) {
    case TEnginePanel::Command: {
        // Not shown: the main plan's commands are not echoed. A completed one is counted.
        static const QString done = QStringLiteral("] выполнена");
        if (text.endsWith(done)) {
            const qsizetype open = text.indexOf(QLatin1Char('['));
            const qsizetype eq = text.indexOf(QLatin1Char('='), open);
            TMapCommand comm{};
            if (open >= 0 && eq > open && FindMapCommand(text.mid(open + 1, eq - open - 1), comm))
                Unsaved.CommandDone(comm);
        }
        return;
    }
    case TEnginePanel::Scale: return ShowPanelText(0, text);
    case TEnginePanel::Timings: return ShowPanelText(4, text);
    case TEnginePanel::Counts: return ShowPanelText(5, text);
    }
}

void TFormMap::ShowPanelText(int panel, const QString& text)
{
    // The panels keep their widths; a longer text is whole in the hint.
    QLabel* label = StatusPanels[panel];
    label->setText(text);
    label->setToolTip(text);
}

void TFormMap::SetupProgress(TEngineProgressBar bar, const TEngineProgressSetup& setup)
{
    QProgressBar* p = bar == TEngineProgressBar::Reading ? ProgressBar1 : ProgressBar2;
    p->setRange(0, std::max(setup.Maximum, 1));
    p->setValue(0);
    p->setGeometry(setup.At.x(), setup.At.y(), setup.Width > 0 ? setup.Width : DisplaySurf->width(),
                   setup.Height);
    p->show();
}

void TFormMap::SetProgressPosition(TEngineProgressBar bar, int position)
{
    QProgressBar* p = bar == TEngineProgressBar::Reading ? ProgressBar1 : ProgressBar2;
    p->setValue(position);
    if (position >= p->maximum() || position <= 0)
        p->hide();
}

QSize TFormMap::SurfaceSize() const { return DisplaySurf ? DisplaySurf->size() : QSize(); }

void TFormMap::PaintOnSurface(const QImage& picture, QPoint at)
{
    // Only the visible part of the picture (three windows each way) is copied.
    QImage& canvas = DisplaySurf->Canvas;
    QPainter painter(&canvas);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(canvas.rect(), Qt::white);
    const QRect source = QRect(-at, canvas.size()).intersected(picture.rect());
    if (!source.isEmpty())
        painter.drawImage(source.topLeft() + at, picture, source);
    painter.end();
    DisplaySurf->update();
}

void TFormMap::SetUndoEnabled(bool enabled) { UndoButton->setEnabled(enabled); }
void TFormMap::SetRedoEnabled(bool enabled) { RedoButton->setEnabled(enabled); }
