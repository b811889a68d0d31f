// The recent-plans list "Последние файлы.wri" of the user folder, read into the file
// menu's history as the main window is made, and written back as it goes.
#include "FuzzRun.h"
#include "FuzzWindow.h"

#include <QCoreApplication>
#include <QEvent>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzStartWindowRun();
    FuzzWriteFile(FuzzUserFolder() + QStringLiteral("Последние файлы.wri"), data, size);
    FuzzNewMainWindow().reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
