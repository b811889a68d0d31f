// One entry for every test program: a Qt application exists (offscreen under CTest),
// so fonts, images and widgets work as in the program. The program folder is a
// temporary one for the whole process, so that a test starting a run without its own
// folder (see TestRun.h) never writes beside the test programs. The application
// object's own tests run under the program's application object instead of Qt's.
#include "platform/ProgramFolder.h"

#ifdef VELMORA_TEST_APPLICATION
#include "app/Application.h"
using TTestApplication = TApplication;
#else
#include <QApplication>
using TTestApplication = QApplication;
#endif
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TTestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir programFolder;
    if (!programFolder.isValid())
        return 1;
    SetProgramFolder(programFolder.path());
    return RUN_ALL_TESTS();
}
