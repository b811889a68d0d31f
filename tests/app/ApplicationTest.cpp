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

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// Qt's own frames are built without unwinding cleanup: when the handler's exception passes
// through QApplication::notify, the copy of the mouse event it made for the widget is never
// freed, nor the guard it held on the window (whose weak-pointer block then outlives it).
// That loss is Qt's, so the leak checker looks away from what the failing window allocates.
struct TQtUnwindLeaks {
#if defined(__SANITIZE_ADDRESS__)
    TQtUnwindLeaks() { __lsan_disable(); }
    ~TQtUnwindLeaks() { __lsan_enable(); }
    TQtUnwindLeaks(const TQtUnwindLeaks&) = delete;
    TQtUnwindLeaks& operator=(const TQtUnwindLeaks&) = delete;
#endif
};

// A window whose handlers fail as a broken routine would.
class TFailingWindow : public QWidget {
protected:
    void mousePressEvent(QMouseEvent*) override
    {
        throw Exception(QStringLiteral("Нажатие не обработано"));
    }
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) {
            // What a guarded routine on the way leaves in the trail.
            ErrorInfo->append(QStringLiteral("Module name: UnitMap"));
            throw std::bad_alloc();
        }
        return QWidget::event(e);
    }
};

// A run with the licence in place whose message boxes are caught in Boxes.
class Application : public ::testing::Test {
protected:
    static TDialogHooks Catching(QStringList& boxes)
    {
        TDialogHooks hooks;
        hooks.MessageDlg = [&boxes](const QString& text, TMsgDlgType) {
            boxes.append(text);
            return mrOk;
        };
        return hooks;
    }

    TTestRun Run{QStringList{QStringLiteral("лицензия.rtf")}};
    QStringList Boxes;
    TScopedDialogHooks Scoped{Catching(Boxes)};
};

}  // namespace

// An exception leaving an event handler once unwound through Qt's event loop, which
// cannot go on after it.
TEST_F(Application, ExceptionFromAnEventHandlerReachesTheCatcherAndTheLoopGoesOn)
{
    [[maybe_unused]] TQtUnwindLeaks qtLeaks;
    TFailingWindow window;
    window.setObjectName(QStringLiteral("FormMap"));
    window.resize(150, 90);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    TgsCatcher catcher;
    catcher.SetEnabled(true);
    // A trail left by a failure handled before the event is stale by the time it comes.
    ErrorInfo->append(QStringLiteral("Module name: Stale"));

    // The failing event, then a quit queued behind it: the loop must live to see it.
    QEventLoop loop;
    QCoreApplication::postEvent(&window, new QEvent(QEvent::User));
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    QTimer::singleShot(10000, &loop, [&loop] { loop.exit(1); });
    EXPECT_EQ(loop.exec(), 0);

    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].startsWith(QStringLiteral("Ошибка : std::bad_alloc\r")));
    EXPECT_TRUE(Boxes[0].contains(QStringLiteral("\rModule name: UnitMap\r\n")));
    EXPECT_FALSE(Boxes[0].contains(QStringLiteral("Stale")));
    const QString base = SessionFolder + QStringLiteral("/Errors/") +
                         QFileInfo(QCoreApplication::applicationFilePath()).fileName() +
                         QStringLiteral("_FormMap_05.03.2024_09.30.00");
    EXPECT_EQ(catcher.ReportPath, base);
    EXPECT_EQ(ReadJpegPicture(base + QStringLiteral(".jpg")).size(), QSize(150, 90));
    EXPECT_TRUE(QFileInfo::exists(base + QStringLiteral(".txt")));
    EXPECT_TRUE(ErrorInfo->isEmpty());

    // Events sent straight to the window pass the same way.
    QTest::mouseClick(&window, Qt::LeftButton);
    ASSERT_EQ(Boxes.size(), 2);
    EXPECT_TRUE(Boxes[1].startsWith(QStringLiteral("Ошибка : Нажатие не обработано\r")));

    // With no catcher enabled, the plain box tells the error.
    catcher.SetEnabled(false);
    QTest::mouseClick(&window, Qt::LeftButton);
    ASSERT_EQ(Boxes.size(), 3);
    EXPECT_EQ(Boxes[2], QStringLiteral("Нажатие не обработано"));
}

// A failure outside any event, as in the main window's creation, once left main and
// ended the program with no word to the user.
TEST_F(Application, FailureOutsideAnyEventIsReportedAndTheProgramEnds)
{
    TgsCatcher catcher;
    catcher.ActiveWindow = [] { return nullptr; };
    catcher.SetEnabled(true);

    EXPECT_EQ(TApplication::RunProgram([] { return 3; }), 3);
    EXPECT_TRUE(Boxes.isEmpty());

    ErrorInfo->append(QStringLiteral("Module name: UnitMap"));
    EXPECT_EQ(TApplication::RunProgram([]() -> int {
                  throw Exception(QStringLiteral("Главное окно не создано"));
              }),
              1);
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].startsWith(QStringLiteral("Ошибка : Главное окно не создано\r")));
    EXPECT_TRUE(Boxes[0].contains(QStringLiteral("\rModule name: UnitMap\r\n")));
    EXPECT_FALSE(Boxes[0].contains(QStringLiteral("Stale")));
    EXPECT_TRUE(QFileInfo::exists(catcher.ReportPath + QStringLiteral(".txt")));
    EXPECT_TRUE(ErrorInfo->isEmpty());
}
