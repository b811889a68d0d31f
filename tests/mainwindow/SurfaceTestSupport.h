// Helpers of the tests that work the drawing surface at exact pixels: a view record of a
// whole number of metres per pixel from the plan's origin, typed commands, mouse events
// at surface pixels and the canvas as the plan's picture alone leaves it.
#pragma once

#include "MainWindowFixture.h"

#include "platform/Platform.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTest>
#include <initializer_list>
#include <memory>

// Compares two Qt texts so that a failure prints both in full.
#define EXPECT_TEXT_EQ(a, b) EXPECT_EQ((a).toStdString(), (b).toStdString())

// Adds a view record of metresPerPixel metres per surface pixel from the plan's origin:
// pixel (x, y) is the plan point ((H - y - 10) · m, (x - 10) · m).
inline void AddExactView(TFormMap& form, int metresPerPixel = 1)
{
    const QSize size = form.DisplaySurf->size();
    auto view = std::make_unique<RMapView>();
    view->ViewXMin = 0;
    view->ViewYMin = 0;
    view->ViewXMax = size.height() * metresPerPixel;
    view->ViewYMax = size.width() * metresPerPixel;
    view->FactorX = view->FactorY = 0.01L / metresPerPixel;
    MainMap->MapViews.AddItem(std::move(view));
}

// The same view, drawn.
inline void ExactView(TFormMap& form, int metresPerPixel = 1)
{
    AddExactView(form, metresPerPixel);
    const QSize size = form.DisplaySurf->size();
    MainMap->Draw(size.width(), size.height(), 3, ddScreen);
}

inline void RunCommands(std::initializer_list<const char*> commands)
{
    for (const char* c : commands)
        MainMap->StrToComm(QString::fromUtf8(c));
}

// A number written with "," as the decimal separator, in the one in force.
inline QString Decimal(const char* text)
{
    return QString::fromUtf8(text).replace(QLatin1Char(','), DecimalSeparator);
}

// Left-button events at surface pixels; moves carry the buttons and keys held.
struct TPixelMouse {
    TFormMap& Form;

    void Move(QPoint p, Qt::MouseButtons held = Qt::NoButton, Qt::KeyboardModifiers mods = Qt::NoModifier) const
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(p), Form.DisplaySurf->mapToGlobal(QPointF(p)),
                      Qt::NoButton, held, mods);
        QCoreApplication::sendEvent(Form.DisplaySurf, &e);
    }
    void Press(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier) const
    {
        QTest::mousePress(Form.DisplaySurf, Qt::LeftButton, mods, p);
    }
    void Release(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier) const
    {
        QTest::mouseRelease(Form.DisplaySurf, Qt::LeftButton, mods, p);
    }
    void Click(QPoint p) const
    {
        Move(p);
        Press(p);
        Release(p);
    }
};

// The canvas as the plan's picture alone leaves it.
inline QImage PictureOnly(TFormMap& form)
{
    form.PaintBitmap();
    return form.DisplaySurf->Canvas.copy();
}
