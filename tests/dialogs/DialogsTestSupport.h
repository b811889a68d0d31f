// What the tests of the program's windows share: the real windows for a test's span,
// the controls found by name as the user would find them, typing into a field, and
// the pictures saved for review.
#pragma once

#include "dialogs/general/InputDialogs.h"
#include "foundation/ProgramDialogs.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QImage>
#include <QLineEdit>
#include <QProcessEnvironment>
#include <QWidget>
#include <QtTest/QTest>
#include <algorithm>
#include <gtest/gtest.h>

class ProgramWindows : public ::testing::Test {
protected:
    void SetUp() override { InstallProgramDialogWindows(); }
    TScopedProgramDialogHooks Scope;
};

// The control named name in window; fails the test when there is none.
template <class T = QWidget>
T* Control(QWidget* window, const char* name)
{
    T* control = window->findChild<T*>(QLatin1String(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
}

// Keys typed into target one character at a time, Cyrillic included (QTest's own typing
// knows ASCII only).
inline void TypeText(QWidget* target, const QString& text)
{
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, ch.isDigit() ? Qt::Key_0 + ch.digitValue() : 0,
                        Qt::NoModifier, QString(ch));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, press.key(), Qt::NoModifier, QString(ch));
        QApplication::sendEvent(target, &release);
    }
}

// Clicks into the field, selects its text and types text over it.
inline void TypeInto(QWidget* window, const char* name, const QString& text)
{
    auto* edit = Control<QLineEdit>(window, name);
    if (!edit)
        return;
    edit->setFocus();
    edit->selectAll();
    TypeText(edit, text);
}

// A click near the control's left end, where a check box or radio button has its box
// and caption (its middle may lie right of the caption, which takes no click).
inline void Click(QWidget* window, const char* name)
{
    if (auto* control = Control<QWidget>(window, name))
        QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier,
                          QPoint(std::min(10, control->width() / 2), control->height() / 2));
}

// The window's picture under $VELMORA_PNG_DIR (or the temporary folder's velmora-png).
inline QString SaveWindowPicture(QWidget* window, const QString& name)
{
    QString folder = QProcessEnvironment::systemEnvironment().value(QStringLiteral("VELMORA_PNG_DIR"));
    if (folder.isEmpty())
        folder = QDir::tempPath() + QStringLiteral("/velmora-png");
    QDir().mkpath(folder);
    const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    EXPECT_TRUE(window->grab().toImage().save(file)) << file.toStdString();
    return file;
}
