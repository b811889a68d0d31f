// The application object: an exception thrown by an event handler stops at notify and
// reaches the crash reporter, which writes the window's picture, and the event loop goes
// on as before.
#include "app/Application.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/GsCatcher.h"
#include "imaging/PictureReaders.h"
#include "support/TestRun.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <new>

namespace {

// A window whose handlers fail as a broken routine would.
class TFailingWindow : public QWidget {
protected:
    void mousePressEvent(QMouseEvent*) override
    {
        throw Exception(QStringLiteral("Нажатие не обработано"));
    }
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw std::bad_alloc();
        return QWidget::event(e);
    }
};

}  // namespace

// An exception leaving an event handler once unwound through Qt's event loop, which
// cannot go on after it.
TEST(Application, ExceptionFromAnEventHandlerReachesTheCatcherAndTheLoopGoesOn)
{
    TTestRun run({QStringLiteral("лицензия.rtf")});
    QStringList boxes;
    TDialogHooks hooks;
    hooks.MessageDlg = [&boxes](const QString& text, TMsgDlgType) {
        boxes.append(text);
        return mrOk;
    };
    TScopedDialogHooks scoped(hooks);
    TFailingWindow window;
    window.setObjectName(QStringLiteral("FormMap"));
    window.resize(150, 90);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    TgsCatcher catcher;
    catcher.SetEnabled(true);
    ErrorInfo->append(QStringLiteral("Module name: UnitMap"));

    // The failing event, then a quit queued behind it: the loop must live to see it.
    QEventLoop loop;
    QCoreApplication::postEvent(&window, new QEvent(QEvent::User));
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    QTimer::singleShot(10000, &loop, [&loop] { loop.exit(1); });
    EXPECT_EQ(loop.exec(), 0);

    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith(QStringLiteral("Ошибка : std::bad_alloc\r")));
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("\rModule name: UnitMap\r\n")));
    const QString base = SessionFolder + QStringLiteral("/Errors/") +
                         QFileInfo(QCoreApplication::applicationFilePath()).fileName() +
                         QStringLiteral("_FormMap_05.03.2024_09.30.00");
    EXPECT_EQ(catcher.ReportPath, base);
    EXPECT_EQ(ReadJpegPicture(base + QStringLiteral(".jpg")).size(), QSize(150, 90));
    EXPECT_TRUE(QFileInfo::exists(base + QStringLiteral(".txt")));
    EXPECT_TRUE(ErrorInfo->isEmpty());

    // Events sent straight to the window pass the same way.
    QTest::mouseClick(&window, Qt::LeftButton);
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_TRUE(boxes[1].startsWith(QStringLiteral("Ошибка : Нажатие не обработано\r")));

    // With no catcher enabled, the plain box tells the error.
    catcher.SetEnabled(false);
    QTest::mouseClick(&window, Qt::LeftButton);
    ASSERT_EQ(boxes.size(), 3);
    EXPECT_EQ(boxes[2], QStringLiteral("Нажатие не обработано"));
}

// A failure outside any event, as in the main window's creation, once left main and
// ended the program with no word to the user.
TEST(Application, FailureOutsideAnyEventIsReportedAndTheProgramEnds)
{
    TTestRun run({QStringLiteral("лицензия.rtf")});
    QStringList boxes;
    TDialogHooks hooks;
    hooks.MessageDlg = [&boxes](const QString& text, TMsgDlgType) {
        boxes.append(text);
        return mrOk;
    };
    TScopedDialogHooks scoped(hooks);
    TgsCatcher catcher;
    catcher.ActiveWindow = [] { return nullptr; };
    catcher.SetEnabled(true);

    EXPECT_EQ(TApplication::RunProgram([] { return 3; }), 3);
    EXPECT_TRUE(boxes.isEmpty());

    ErrorInfo->append(QStringLiteral("Module name: UnitMap"));
    EXPECT_EQ(TApplication::RunProgram([]() -> int {
                  throw Exception(QStringLiteral("Главное окно не создано"));
              }),
              1);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith(QStringLiteral("Ошибка : Главное окно не создано\r")));
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("\rModule name: UnitMap\r\n")));
    EXPECT_TRUE(QFileInfo::exists(catcher.ReportPath + QStringLiteral(".txt")));
    EXPECT_TRUE(ErrorInfo->isEmpty());
}
