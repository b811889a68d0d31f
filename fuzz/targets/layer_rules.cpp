// The layer rules ("Слои/Выбор слоя.wri"), read into the plan the program holds.
#include "FuzzRun.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzStartRun();
    FuzzWriteFile(FuzzProgramFolder() + QStringLiteral("Слои/Выбор слоя.wri"), data, size);
    TFuzzPlan plan = FuzzNewPlan(false);
    try {
        plan.Map->LoadDefLayerForObjects();
    } catch (const std::exception&) {
    }
    return 0;
}
