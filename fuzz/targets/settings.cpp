// The user's settings file "Настройки.wri" read into the main window and its plan, as at
// the program's start; what was read is written as at its end and read once more: the
// settings a file gives survive a restart unchanged.
#include "FuzzRun.h"
#include "FuzzWindow.h"

#include "mainwindow/UnitMapSetup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzStartWindowRun();
    // One window for the whole run (its making reads the whole library), never freed:
    // at exit it would outlive what it stands on.
    static TFormMap* const form = FuzzNewMainWindow().release();
    TGeoMap& map = *MainMap;
    form->SetDefaults();
    const QString path = FuzzWriteFile(FuzzUserFolder() + SetupFileName, data, size);
    try {
        ReadSetupFile(path, *form, map);
    } catch (const std::exception&) {
        return 0;   // a file that cannot be read: said at the start, nothing set
    }
    const QStringList written = SetupLines(*form, map);
    try {
        WriteSetupFile(path, *form, map);
        ReadSetupFile(path, *form, map);
    } catch (const std::exception& e) {
        FuzzFail("the settings written do not read back", QString::fromUtf8(e.what()));
    }
    const QStringList again = SetupLines(*form, map);
    if (again != written)
        FuzzFail("the settings change over a restart",
                 written.join(u'\n') + QStringLiteral("\n---\n") + again.join(u'\n'));
    return 0;
}
