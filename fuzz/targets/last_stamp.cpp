// The last stamp "Последний штамп.wri": its first 18 lines read as at the program's
// start, written as at its end and read again to the same texts.
#include "FuzzRun.h"

#include "mainwindow/UnitMapSetup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzStartRun();
    const QString path = FuzzWriteFile(LastStampFileName, data, size);
    std::array<QString, 18> stamp;
    try {
        ReadLastStampFile(path, stamp);
    } catch (const std::exception&) {
        return 0;
    }
    try {
        WriteLastStampFile(path, stamp);
    } catch (const std::exception&) {
        return 0;   // a text with no place in the code page: refused with its message
    }
    std::array<QString, 18> again;
    try {
        ReadLastStampFile(path, again);
    } catch (const std::exception& e) {
        FuzzFail("the written stamp does not read back", QString::fromUtf8(e.what()));
    }
    if (again != stamp)
        FuzzFail("the stamp does not read back as written", QStringList(stamp.begin(), stamp.end()).join(u'\n'));
    return 0;
}
