// The nomenclature file, read into the plan the program holds; a file that does not
// read whole leaves the old table.
#include "FuzzRun.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzStartRun();
    const QString path = FuzzWriteFile(QStringLiteral("fuzz-nomenclature.wri"), data, size);
    TFuzzPlan plan = FuzzNewPlan(false);
    try {
        plan.Map->LoadNomenclatures(path);
    } catch (const std::exception&) {
    }
    return 0;
}
