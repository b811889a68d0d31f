// The import of the exchange format, merged into the plan the program holds; the
// layer questions are cancelled, so each object goes to the import's own layer.
#include "FuzzRun.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzStartRun();
    FuzzWriteFile(QStringLiteral("fuzz.txt"), data, size);
    TFuzzPlan plan = FuzzNewPlan(true);
    FuzzCommandKeepsPlanWhenRefused(*plan.Map, QStringLiteral("mcAddMap=<fuzz.txt><Fora><TRUE><>"));
    return 0;
}
