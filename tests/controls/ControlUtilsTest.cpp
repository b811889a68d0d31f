// The windowless routines of the control library: wait cursor, points, texts and
// command-line words.
#include "controls/core/ControlUtils.h"

#include <QCursor>
#include <QGuiApplication>
#include <gtest/gtest.h>

TEST(WaitCursor, NestedPhasesShowOneHourglassAndRestoreOnce)
{
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    BeginWaitCursor();
    BeginWaitCursor();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);

    EndWaitCursor();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);

    EndWaitCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(WaitCursorDepth(), 0);

    EndWaitCursor();  // an unmatched end changes nothing
    EXPECT_EQ(WaitCursorDepth(), 0);
    BeginWaitCursor();
    EXPECT_EQ(WaitCursorDepth(), 1);
    EndWaitCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(WaitCursor, RestoresTheCursorThatWasCurrent)
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
    BeginWaitCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EndWaitCursor();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QGuiApplication::restoreOverrideCursor();
}
