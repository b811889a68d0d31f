// The native plan reader: a plan file opened over the plan the program holds.
#include "FuzzRun.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzStartRun();
    FuzzWriteFile(QStringLiteral("fuzz.500"), data, size);
    TFuzzPlan plan = FuzzNewPlan(true);
    FuzzCommandKeepsPlanWhenRefused(*plan.Map, QStringLiteral("mcOpenMap=<fuzz.500><New><True><>"));
    return 0;
}
