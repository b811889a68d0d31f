// The native plan reader: a plan file merged into the plan the program holds.
#include "FuzzRun.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzStartRun();
    FuzzWriteFile(QStringLiteral("fuzz.500"), data, size);
    TFuzzPlan plan = FuzzNewPlan(true);
    FuzzCommandKeepsPlanWhenRefused(*plan.Map, QStringLiteral("mcAddMap=<fuzz.500><New><True><>"));
    return 0;
}
